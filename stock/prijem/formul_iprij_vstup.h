#pragma once
// The receipt entry form "Intení příjem zboží": a header page and an items page without tabs,
// thin over the document entry controller (rizeni_dokladu.h) configured for receipts and the
// closing holder (uzavreni.h). The form moves what the user typed into the controller, calls
// it and shows what it answers; every rule of numbers, prices, totals, reservations and
// closing is the controller's or the posting engine's.

#include "field_binding.h"
#include "rizeni_dokladu.h"

#include <QDialog>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTextEdit;

namespace brix {

class DataGrid;
class EditBox;
class NavigatorTarget;
class StatusBar;

namespace sklad {
class TFormulIPrijUzavri;
}

class TFormulIPrijVstup : public QDialog {
    Q_OBJECT
public:
    // The code-list choosers the form opens (F3, "....", an unknown warehouse): each shows its
    // list with the typed text and answers whether a record was chosen; the chosen record is
    // then the current one of the data module's shared table (TableDruhUctu, TableZamest,
    // TableSklady).
    struct Vybery {
        std::function<bool(const QString&)> druh;
        std::function<bool(const QString&)> zamestnanec;
        std::function<bool(const QString&)> sklad;
    };

    TFormulIPrijVstup(doklad::RizeniDokladu& rizeni, sklad::TFormulIPrijUzavri& uzavreni,
                      QWidget* parent = nullptr);
    ~TFormulIPrijVstup() override;

    void setVybery(Vybery v) { vybery_ = std::move(v); }

    enum class Stranka { Hlavicka, Polozky };
    // Shows the header (in insert or edit, or a closed one to look at) on the page; the number
    // box is open while the controller's number is editable.
    void otevri(Stranka stranka);
    Stranka stranka() const;

    // ---- header page
    void ExitCisUctu();  // the number box left: the new-header step
    void ExitDruh();     // the kind chosen: its rounding
    void PrenosSkladu(); // the "Na sklad" box left
    void ButtonPolozkyClick();
    void ButtonOkClick();
    void ButtonZrusClick();
    void ClickUzavriDoklad();
    // ---- items page
    void EnterPorCis(); // KeyPressPorCis
    void ExitVyrobek(); // the product box left with text: NactiVyrobek
    void ExitNazev();   // the name box left with text while the key is CIS_VYR
    void EnterMnozstvi();
    void ExitMnozstvi();
    void ExitCenaZobr();
    void ExitRabat();
    void ExitCenaSkl();
    void ClickNovaPol();
    void ClickOpravPol();
    void ClickUlozPol();
    void ClickSmazatPol();
    void ClickZrusPol();
    void ButtonPrecislujClick();
    void ButtonHlavickaClick();
    // F3 or "...." in the product box.
    void VyberVyrobku();

    // Header page.
    QStackedWidget* PageControl = nullptr;
    QWidget* TabSheetHlavicka = nullptr;
    QWidget* TabSheetPolozky = nullptr;
    EditBox* EditCisUctu = nullptr;
    QComboBox* ComboDruh = nullptr;
    QLabel* LabelPopisDruhu = nullptr;
    QComboBox* ComboVystavil = nullptr;
    EditBox* EditDatVystaveni = nullptr;
    EditBox* EditDatPlneni = nullptr;
    EditBox* EditNaSklad = nullptr;
    EditBox* EditNazev = nullptr;
    EditBox* EditUlice = nullptr;
    EditBox* EditPSC = nullptr;
    EditBox* EditMesto = nullptr;
    EditBox* EditTelefon = nullptr;
    EditBox* EditVarSymbol = nullptr;
    EditBox* EditZakazka = nullptr;
    EditBox* EditOdkaz = nullptr;
    EditBox* EditOznObj = nullptr;
    QComboBox* ComboDruhCeny = nullptr;
    QTextEdit* EditHlavicka = nullptr;
    QPushButton* ButtonUzavreni = nullptr;
    QPushButton* ButtonPolozky = nullptr;
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonZrus = nullptr;
    StatusBar* StatusBar1 = nullptr;
    // Items page.
    EditBox* EditPorCis = nullptr;
    QLabel* LabelVyrobek = nullptr;
    EditBox* EditVyrobek = nullptr;
    QPushButton* ButtonHledejVyr = nullptr;
    EditBox* EditNazevPol = nullptr;
    EditBox* EditKodOzn1 = nullptr;
    EditBox* EditKodOzn2 = nullptr;
    QComboBox* ComboSkladPol = nullptr;
    EditBox* EditMJ = nullptr;
    EditBox* EditMnozstvi = nullptr;
    EditBox* EditCenaZobr = nullptr;
    EditBox* EditRabat = nullptr;
    EditBox* EditCenaSkl = nullptr;
    QLabel* LabelDisponMn = nullptr;
    QLabel* LabelSklCenaC = nullptr;
    QLabel* LabelZobrCenaC = nullptr;
    DataGrid* GridPolozky = nullptr;
    QPushButton* ButtonNovaPol = nullptr;
    QPushButton* ButtonSmazatPol = nullptr;
    QPushButton* ButtonOpravPol = nullptr;
    QPushButton* ButtonUlozPol = nullptr;
    QPushButton* ButtonZrusPol = nullptr;
    QPushButton* ButtonPrecisluj = nullptr;
    QPushButton* ButtonHlavicka = nullptr;
    QPushButton* ButtonUzavreniPol = nullptr;
    QPushButton* ButtonOkPol = nullptr;
    StatusBar* StatusBar2 = nullptr;

public slots:
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void stavbaHlavicky();
    void stavbaPolozek();
    void nactiHlavicku();
    bool ulozHlavickuZBoxu();
    void nactiPolozku();
    bool ulozPolozkuZBoxu();
    doklad::PoleVstupu pole() const;
    void ukazSoucty();
    void ukazRezim();
    void ukazDisponibilni();
    void nactiDruhy();
    void nactiZamestnance();
    void nactiSklady();
    bool ulozDoklad();
    void zvyrazniPopisDruhu();
    QString poleKlice() const;

    doklad::RizeniDokladu& r_;
    sklad::TFormulIPrijUzavri& uzavreni_;
    Vybery vybery_;
    FieldBinding hlavicka_;
    FieldBinding polozka_;
    // What the status bars say of the header's and the item's state.
    std::unique_ptr<NavigatorTarget> cilHlavicky_;
    std::unique_ptr<NavigatorTarget> cilPolozek_;
    bool rusi_ = false;     // the form is being cancelled: leaving boxes does nothing
    bool zavira_ = false;   // done() is running
    bool uzavreno_ = false; // closed with the closing: no header step on leaving
};

} // namespace brix
