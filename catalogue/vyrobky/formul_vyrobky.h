#pragma once
// The product form "Výrobky": the common register over the shared products with the entry page
// of every product box, its price engine (ceny_vyrobku.h: the form hands it what is typed and
// shows what it computes), the pages without tabs of the recipe ("&Komplet"), the variants
// ("&Varianty", only with VERZETEXTIL), the customer prices ("Zákaznický ceník"), the price
// check ("Kontrola cen") and the note with the picture ("Po&známka"), and the renumbering of
// "&Funkce". The register page's own commands (ranges, trees, bulk changes, labels, the stock
// card) and the product chooser join it through the register's menus; this file keeps the
// pages and their rules.
//
// The pages are in this file's class; their rules without widgets are in vyrobky.h,
// ceny_vyrobku.h and precisluj.h. stranky_vyrobku.cpp builds the pages other than the register
// and the entry page.

#include "box_watch.h"
#include "ceny_vyrobku.h"
#include "register.h"

#include <QHash>
#include <QStringList>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;

namespace brix {

class TDataCis;

class TFormulVyrobky : public RegisterForm {
    Q_OBJECT
public:
    explicit TFormulVyrobky(TDataCis& dm, QWidget* parent = nullptr);
    ~TFormulVyrobky() override;

    // The choosers the entry page opens (F3, "....", an unknown code). Each shows its register
    // as a chooser with the typed text and answers whether a record was chosen; the chosen
    // record is then the current one of the data module's shared table.
    struct Vybery {
        std::function<bool(const QString&)> firma;    // the partner register by name
        std::function<bool(const QString&)> rabSkup;  // rebate groups by number
        std::function<bool(const QString&)> vynSkup;  // revenue groups by number
        std::function<bool(const QString&)> mena;     // currencies by code
        std::function<bool(const QString&)> celSaz;   // the customs tariff by code
        std::function<bool(const QString&)> kodOzn1;  // code designations 1
        std::function<bool(const QString&)> kodOzn2;  // code designations 2
        // The quick product search with the typed key; the chosen product's key (the first
        // column of its row) or nothing.
        std::function<std::optional<QString>(const QString&)> rychleHledani;
    };
    void setVybery(Vybery v) { vybery_ = std::move(v); }
    // PrevodNaTuzemskou of the foreign purchase price (the sales pricing's conversion).
    void setPrevod(std::function<Decimal(const QString&, Decimal, const QDate&)> prevod);

    // ---- opening, closing ----------------------------------------------------------------
    void openRegister() override;
    void closeRegister() override;

    // ---- the register's commands ---------------------------------------------------------
    void NovyClick() override;
    void OpravaClick() override;
    void ButtonZrusClick() override;
    // "&Ok" and F6: the focused box's rule, the excise and divisors' checks, Dat_Zmen, the
    // post; a product that nothing changed is left without a post. False when refused.
    bool saveEntry() override;
    void KompletClick();
    void VariantyClick();
    void CenikClick();
    // "&Funkce" → "&Přečíslování výrobku": the questions, the renumbering, its messages.
    void PrecislovaniClick();

    // ---- the entry page -------------------------------------------------------------------
    void ClickPrepocetPC();
    void ClickKontrolaCen();
    void PoznamkaClick();
    // The events of a box of the price engine (what focus, typing and leaving call).
    void vstupCeny(PoleCeny p);
    void psaniCeny(PoleCeny p);
    void odchodCeny(PoleCeny p);
    // The leaving rules of the other boxes.
    void ExitCisVyr();
    void ExitCisRada();
    void ExitKodMeny();
    void ExitCelniSazba();
    void ExitRabSkup();
    void ExitVynSkup();
    void ExitDodavatel();
    void ExitJednotka(QComboBox* box);
    void ExitKomplet();
    // F3 or "...." in the supplier box.
    void VyberDodavatele();

    // ---- the components page ---------------------------------------------------------------
    // Enter in the key box of a component being inserted or edited.
    void KlicKomponentyEnter();
    void NavratClick(); // "Ná&vrat" of the components and variants pages
    // ---- the customer prices -------------------------------------------------------------
    void NovaCenaClick();
    bool UlozitCenuClick();
    void SmazatCenuClick();
    void ZpetClick();
    // Enter or Tab in the firm box of a customer price.
    void FirmaCenyEnter();
    // ---- the note page -------------------------------------------------------------------
    void NactiObrazekClick();
    void KonecPoznamkyClick();

    // The box of a product field; null when the page has none.
    QWidget* box(const QString& pole) const;
    EditBox* edit(const QString& pole) const;
    QComboBox* seznam(const QString& pole) const;
    CenyVyrobku& ceny() { return *ceny_; }
    const QStringList& jednotky() const { return jednotky_; }
    const QStringList& baleni() const { return baleni_; }
    bool stranka(QWidget* w) const;

    // Menus.
    QMenu* MenuPolozky = nullptr;
    QAction* MenuKomplet = nullptr;
    QAction* MenuVarianty = nullptr;
    QAction* MenuCenik = nullptr;
    QAction* MenuPrecislovani = nullptr;
    // The entry page.
    EditBox* EditDodavatel = nullptr;
    QLabel* LabelStavSkladu = nullptr;
    QLabel* LabelMarzeZMO = nullptr;
    QPushButton* ButtonPrepocetPC = nullptr;
    QPushButton* ButtonKontrolaCen = nullptr;
    QPushButton* ButtonPoznamka = nullptr;
    // The components page.
    QWidget* TabSheetKomplet = nullptr;
    DataGrid* GridKomplet = nullptr;
    Navigator* NavigatorKomplet = nullptr;
    EditBox* EditKlicKomponenty = nullptr;
    EditBox* EditKNazev = nullptr;
    EditBox* EditKStand_Mn = nullptr;
    EditBox* EditKStand_PC = nullptr;
    // The variants page.
    QWidget* TabSheetVarianty = nullptr;
    DataGrid* GridVarianty = nullptr;
    Navigator* NavigatorVarianty = nullptr;
    // The customer prices.
    QWidget* TabSheetCenik = nullptr;
    DataGrid* GridCenik = nullptr;
    EditBox* EditCenikFirma = nullptr;
    EditBox* EditCenikPC = nullptr;
    EditBox* EditCenikPCC = nullptr;
    QPushButton* ButtonNovaCena = nullptr;
    QPushButton* ButtonUlozitCenu = nullptr;
    QPushButton* ButtonSmazatCenu = nullptr;
    QPushButton* ButtonZpet = nullptr;
    // The price check.
    QWidget* TabSheetKontrola = nullptr;
    QLabel* LabelKontrola[5][2] = {};
    QPushButton* ButtonKontrolaOk = nullptr;
    // The note page.
    QWidget* TabSheetPoznamka = nullptr;
    QPlainTextEdit* MemoPoznamka = nullptr;
    QLabel* Obrazek = nullptr;
    QPushButton* ButtonNactiObrazek = nullptr;
    QPushButton* ButtonKonecPoznamky = nullptr;

    void loadEntry() override;

protected:
    void openEntry() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void vytvorRegistr();
    void vytvorVstup();
    void vytvorKomplet();
    void vytvorVarianty();
    void vytvorCenik();
    void vytvorKontrolu();
    void vytvorPoznamku();
    void ukazStranku(QWidget* stranka);
    void naplnSeznamy();
    void ukazCeny();
    void ukazDodavatele(bool zprava);
    void ukazObrazek();
    void stavKomponent();
    void stavCeniku();
    bool ulozKomponentu();
    bool reakce(const ReakceCen& r);
    std::optional<PoleCeny> poleSFokusem() const;
    void zavriCenik();

    TDataCis& dm_;
    std::unique_ptr<CenyVyrobku> ceny_;
    std::function<Decimal(const QString&, Decimal, const QDate&)> prevod_;
    BoxWatch* watch_ = nullptr;
    Vybery vybery_;
    QHash<QString, QWidget*> boxy_;
    QHash<QWidget*, PoleCeny> cenoveBoxy_;
    FieldBinding* komponenty_ = nullptr;
    FieldBinding* varianty_ = nullptr;
    FieldBinding* cenik_ = nullptr;
    std::vector<std::unique_ptr<NavigatorTarget>> cile_;
    QList<Table*> otevrene_;
    QStringList jednotky_, baleni_;
    QString radaCisla_; // the series that gave the new product its number
    bool obrazekZmenen_ = false;
    bool ukazuji_ = false; // boxes being filled by the form, not typed
};

} // namespace brix
