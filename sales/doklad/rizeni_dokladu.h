#pragma once
// The entry controller of a document: everything an entry form does with its header and items,
// without widgets. The form gathers what the user typed, calls the controller and shows what
// it answers; every question and message goes through the platform layer.
//
// One controller for every family, configured by the family's traits (VlastnostiDokladu): its
// tables and number series, how an item is priced from its product, how its line totals follow
// from the boxes and which header totals sum which item fields. Stock receipts and issues
// configure it here; the other families add traits, not a copy of a step.
//
// Promises:
// - An item saved or deleted is one transaction with its reservation (the data module's rules
//   of the item table), its variant lines and the header's totals.
// - The header's totals move by the item's change only (the remembered totals of the item as it
//   entered edit), and the header check (KontrolaHlavicky) finds them equal to the sums of the
//   items; a second check finds nothing.
// - A new header's number is checked against the stored ones when it is first saved, inside
//   the transaction that saves it and records it in the number series: a number another
//   workstation took meanwhile is stepped over.
// - Leaving the quantity box only shows the available quantity; the reservation follows the
//   item when it is saved.

#include "rodiny.h"
#include "util/nastaveni.h"
#include "vyber_vyrobku.h"
#include "zasoby.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace brix {

class CenyDataCis;
class TDataCis;
class Table;

namespace doklad {

class RizeniDokladu;

// The item boxes as the user typed them (an empty or unreadable text counts 0).
struct PoleVstupu {
    QString mnozstvi, cenaZobr, rabat, cenaSkl;
};

// What makes a family's documents their own in the entry form.
struct VlastnostiDokladu {
    const sklad::RodinaDokladu* rodina = nullptr; // tables, number series, posting
    QString typUctu;                              // its document kinds and number series
    // The item's prices once its product is current in TableVyr and copied into the item: the
    // base price of the header's price type, the rebate, the display and the stock price.
    std::function<void(RizeniDokladu&)> cenaZVyrobku;
    // The line totals of the item current in `polozka` from the boxes (PrepocetPolozky).
    std::function<void(RizeniDokladu&, Table& polozka, const PoleVstupu&)> prepocetPolozky;
    // The item fields the product fills in, field of the item and field of the product.
    std::vector<std::pair<QString, QString>> poleVyrobku;

    // Stock receipts ("C") and issues and transfers ("A").
    static const VlastnostiDokladu& prijemka();
    static const VlastnostiDokladu& vydejka();
};

// The texts of the controller, shown through the platform layer.
namespace texty {
inline const QString UcetExistuje = QStringLiteral("Účet již existuje, zvyšuji číslo");
inline const QString NelzeUlozit = QStringLiteral("Nejsou splněny podmínky pro uložení dokladu");
inline const QString MaPolozky = QStringLiteral("Tento účet má položky, nelze vytvořit nový účet");
inline const QString PorCisKladne = QStringLiteral("Poř.číslo musí být >0");
inline const QString SmazatPolozku = QStringLiteral("Chceš opravdu smazat položku");
inline const QString SkoncitBezZaznamu = QStringLiteral("Chceš opravdu skončit bez záznamu");
inline const QString Precislovat = QStringLiteral("Opravdu chceš přečíslovat položky");
inline const QString UzavrenyUcet =
    QStringLiteral("Uzavřený účet nelze editovat, použijte funkci \"Storno pohybů\"");
} // namespace texty

class RizeniDokladu {
public:
    // `dm` owns the header and item cursors the form shows; `ceny` prices by type; `vyber`
    // brings products; `nastaveni` are the program settings (ZaokrCen, Zaokr_SklKar,
    // AutPrecislPol, _HlKlicVyr) and `posilani` the stock settings.
    RizeniDokladu(TDataCis& dm, const VlastnostiDokladu& vlastnosti, CenyDataCis& ceny,
                  VyberVyrobku& vyber, const NastaveniProgramu& nastaveni,
                  const sklad::NastaveniPohybu& posilani);
    ~RizeniDokladu();
    RizeniDokladu(const RizeniDokladu&) = delete;
    RizeniDokladu& operator=(const RizeniDokladu&) = delete;

    TDataCis& dm() const { return dm_; }
    const VlastnostiDokladu& vlastnosti() const { return v_; }
    const NastaveniProgramu& nastaveni() const { return n_; }
    const sklad::NastaveniPohybu& posilani() const { return posilani_; }
    CenyDataCis& ceny() const { return ceny_; }
    Table& hlavicka() const { return *h_; }
    Table& polozky() const { return *p_; }

    // ---- header
    // The kind of new documents (the first kind of the family's type, set by the register).
    void setVychoziDruh(const QString& druh) { vychoziDruh_ = druh; }
    const QString& vychoziDruh() const { return vychoziDruh_; }
    // The first kind of the family's type; empty when there is none.
    QString prvniDruh() const;
    // "&Nový" of the register: a new header in insert with the next number of the series (when
    // it has one), the issuer, state "0" and today's dates; its number stays editable.
    void ZalozHlavicku(const QString& vystavil);
    bool cisloEditovatelne() const { return cisloEditovatelne_; }
    void setCisloEditovatelne(bool on) { cisloEditovatelne_ = on; }
    // The number typed into the header in insert: a taken number steps on (one message each), a
    // gap below it is reported, the header is made again with the kind kept (the default kind
    // when none was entered). False when items of another document hold the number.
    bool NovaHlavicka();
    // The rounding steps of the header's kind; false (steps 0.1, message) without the kind.
    bool NastavZaokrouhleni();
    Decimal krokPolozky() const { return krokPolozky_; }
    Decimal krokHlavicky() const { return krokHlavicky_; }
    // Saves the document: the new-header step while the number is editable, an item in edit
    // (cancelled while it has no product yet), the header, the number recorded in the series.
    bool UlozDoklad();
    // The header's totals against the sums of the items; on Yes to the question the header
    // takes the sums. True when they agree afterwards.
    bool KontrolaHlavicky();
    // The form is closed: with Cancel and an item in edit the question, then the item
    // cancelled and the header saved when its totals changed (else cancelled); the header
    // check. False when the user stays.
    bool FormDeactivate(bool zrusit);
    bool hlavickaZmenena() const { return hlavickaZmenena_; }
    // The document is closed ("2").
    bool uzavren() const;

    // ---- items
    enum class Rezim { Prohlizeni, Nova, Oprava };
    Rezim rezim() const { return rezim_; }
    // Last item number + 1.
    int dalsiPorCis() const;
    enum class PorCisVysledek { Chyba, Oprava, Nova };
    // Enter in the item number box: an existing item goes into edit, another number starts a
    // new item; 0 or less is refused.
    PorCisVysledek KeyPressPorCis(int porCis);
    // A new item with the number (an item in edit is saved first).
    void VlozPolozku(int porCis);
    // Puts the current item into edit.
    bool OpravPolozku();
    // The product of the text into the current item, priced; false when none was chosen.
    bool NactiVyrobek(const QString& text, bool poKlici);
    // The base price of the header's price type into the current item.
    void NactiCenu();
    void PrepocetPolozky(const PoleVstupu& pole);
    // Moves the header's totals by the item's change since it was remembered.
    void PrepocetHlavicky();
    // The boxes left: the quantity, the display price, the rebate, the stock price.
    void vstupDoMnozstvi();
    void opustenoMnozstvi(const PoleVstupu& pole);
    void opustenaCenaZobr(const PoleVstupu& pole);
    void opustenyRabat(const PoleVstupu& pole);
    void opustenaCenaSkl(const PoleVstupu& pole);
    // "U&ložit": the item with its reservation and the header's totals, one transaction.
    bool ClickUlozPol(const PoleVstupu& pole);
    // "&Smazat" after its question; an item being inserted is cancelled.
    bool ClickSmazatPol();
    // "&Zruš": the item as it was stored (a new one dropped) and the totals with it.
    void ZrusPolozku();
    // SklZas_ks - Rezervace of the item's product in the item's warehouse, 0 without a row.
    Decimal SpoctiDisponMn();
    // "&Přečíslování"; false when nothing was done.
    bool ButtonPrecislujClick();
    // The current item re-priced by the rebate of the header's branch (the header took over a
    // warehouse of another branch): its product found by the item's main product key, the
    // display price lowered by the rebate at the item step, the item saved with
    // the header's totals. False when the product is not found (said so) or nothing was saved.
    bool PrecenPodleOboru();
    // "Přidat k ceně DPH" of the current document: every item's prices by its product's VAT
    // rate, line totals and header totals with them, one transaction. False on a closed one.
    bool PridejDPH();

private:
    void pamatujPolozku();
    void zapisSoucty();
    bool ulozPolozkuAHlavicku();
    void prvniUlozeniHlavicky(QStringList& zpravy);
    PoleVstupu poleZPolozky() const;
    int prvniVolneCislo(int od, QStringList* zpravy) const;
    bool existujeDoklad(int cislo) const;
    Table& soukroma(const QString& adresa) const;

    TDataCis& dm_;
    const VlastnostiDokladu& v_;
    CenyDataCis& ceny_;
    VyberVyrobku& vyber_;
    const NastaveniProgramu& n_;
    sklad::NastaveniPohybu posilani_;
    Table* h_ = nullptr;
    Table* p_ = nullptr;
    Decimal krokPolozky_ = Decimal::fromRaw(1000);
    Decimal krokHlavicky_ = Decimal::fromRaw(1000);
    QString vychoziDruh_;
    bool cisloEditovatelne_ = false;
    bool hlavickaZmenena_ = false;
    Rezim rezim_ = Rezim::Prohlizeni;
    Decimal puvodniMnozstvi_;
    std::map<QString, Decimal> puvodni_; // item field -> its total as remembered
    std::unique_ptr<sklad::KontextPohybu> kontext_;
    mutable std::map<QString, std::unique_ptr<Table>> soukrome_;
};

// ---- the stock families' item rules (Part of the traits, used by them)

// The line totals of a stock document's item from its boxes: the display price at the item
// step, both lines by the quantity; for "MO", "VO" and "NC" divided by the factor (its whole
// part; 0 makes both lines 0), "IP" prices per unit; the display line at the item step.
// `krokDeleni` is the step of the division, `zaokrouhlitSklad` rounds the stock line at the
// item step at the end too.
void PrepocetPolozkySkladu(Table& polozka, const PoleVstupu& pole, const QString& druhCeny,
                           Decimal krokPolozky, Decimal krokDeleni, bool zaokrouhlitSklad);

} // namespace doklad
} // namespace brix
