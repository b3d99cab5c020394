#pragma once
// The receipt register "Interní příjem zboží na sklad": the common register over the shared
// receipt headers with the commands of its own menus (items, closing, reversal, VAT added to
// the prices, the ranges, prints, import), and the entry form TFormulIPrijVstup it opens
// modally. The rules live in the entry controller (rizeni_dokladu.h), the closing holder
// (uzavreni.h) and prijem.h; this form asks, calls and shows.

#include "formul_iprij_vstup.h"
#include "register.h"

#include <functional>
#include <memory>

class QLabel;

namespace brix {

class CenyDataCis;
class TDataCis;
class VyberVyrobku;

namespace sklad {
class TFormulIPrijUzavri;
}

class TFormulIPrijGrid : public RegisterForm {
    Q_OBJECT
public:
    // `vyber`: the product chooser of the items; `uzivatel`: the logged-in employee's surname
    // when a receipt is made.
    TFormulIPrijGrid(TDataCis& dm, VyberVyrobku& vyber, std::function<QString()> uzivatel,
                     QWidget* parent = nullptr);
    ~TFormulIPrijGrid() override;

    TDataCis& dm() const { return dm_; }
    doklad::RizeniDokladu& rizeni() { return *rizeni_; }
    sklad::TFormulIPrijUzavri& uzavreni() { return *uzavreni_; }
    TFormulIPrijVstup& vstup() { return *vstup_; }
    void setVybery(TFormulIPrijVstup::Vybery v) { vstup_->setVybery(std::move(v)); }

    void openRegister() override;
    void closeRegister() override;

    // ---- commands
    void ClickNovyZaznam();
    void Oprava1Click();
    void MenuClickPolozky();
    void Smazat1Click();
    void MenuUzavi1Click();
    void MenuClickRozsahCisUctu();
    void DatumVystav1Click();
    void MenuRozsahVystavil1Click();
    void Dodaclist1Click();
    void SeznamDL1Click();
    void MenuTiskPolUctyClick();
    void Export1Click();
    void Import1Click();
    void Stornodokladu1Click();
    void PidatkcenDPH1Click();

    void NovyClick() override { ClickNovyZaznam(); }
    void OpravaClick() override { Oprava1Click(); }
    void SmazatClick() override { Smazat1Click(); }
    void exportClick() override { Export1Click(); }

    QAction* MenuPolozky = nullptr;
    QAction* MenuUzavri = nullptr;
    QAction* MenuRozsahCisUctu = nullptr;
    QAction* MenuRozsahDatum = nullptr;
    QAction* MenuRozsahVystavil = nullptr;
    QAction* MenuTiskPrijem = nullptr;
    QAction* MenuTiskSeznam = nullptr;
    QAction* MenuTiskPolozky = nullptr;
    QAction* MenuImport = nullptr;
    QAction* MenuStorno = nullptr;
    QAction* MenuPridatDPH = nullptr;
    QLabel* LabelPoradi = nullptr;

    // The template names of the prints, as the data root holds them (without the suffix).
    static const QString kSablonaPrijmu;
    static const QString kSablonaSeznamu;
    static const QString kSablonaPolozek;

private:
    void otevriVstup(TFormulIPrijVstup::Stranka stranka);
    void obnov();
    // Prints `tabulka` with the template (+ the character-printing suffix); `detail`, when
    // given, is the item detail of every record; `jeden` prints only the current one.
    void tiskni(Table& tabulka, const QString& sablona, Table* detail, bool jeden);

    TDataCis& dm_;
    std::function<QString()> uzivatel_;
    std::unique_ptr<CenyDataCis> ceny_;
    std::unique_ptr<doklad::RizeniDokladu> rizeni_;
    std::unique_ptr<sklad::TFormulIPrijUzavri> uzavreni_;
    std::unique_ptr<TFormulIPrijVstup> vstup_;
};

} // namespace brix
