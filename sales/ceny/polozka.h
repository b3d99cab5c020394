#pragma once
// The item of a document as pricing sees it, and the rules that fill and recompute it: the
// product chosen (NactiVyrobek), the quantity rebate (MnozstevniRabat) and leaving the
// quantity, the manual price edits, the line amounts (PrepocetPolozky) and the item save. Each
// rule works on values and reads the family's description (popis_dokladu.h) for what differs.
//
// Fixed point of four places: every product and quotient is taken to four places in the order
// the rule states it (the base price from a net price: PC_Netto / (100 - Rabat), then x 100).
// No rule divides by zero: a rebate of 100 keeps the base price and says so, a factor of 0
// gives the line amount 0, and any other factor divides (also one between 0 and 1).

#include "cena_dle_druhu.h"
#include "meny.h"
#include "popis_dokladu.h"
#include "zaznamy.h"
#include "zpravy.h"

#include <QDate>
#include <QStringList>

#include <optional>

namespace brix {

// One item's share of the header totals: what the previous-line memory holds.
struct PodilPolozky {
    Decimal castka;   // the line amount PC_NettoC
    Decimal cizi;     // the foreign line amount Cena_CiziC
    Decimal hmotnost; // JHmotnost x Mnozstvi
    int sazba = 0;    // the VAT rate as an integer
};

// The fields of an item pricing reads and writes.
struct PolozkaCeny {
    qint64 Cis_Vyr = 0;
    QString ObjCis, Nazev, Kod_Ozn1, Kod_Ozn2, Kod_Ozn3, DruhMn, Cis_Sklad, Druh_Pol, Poznamka,
        Cis_celsaz;
    Decimal Mnozstvi, DPH, PC_Zakl, Rabat, PC_Netto, PC_NettoC, Faktor, Cena_Cizi, Cena_CiziC,
        JHmotnost;

    PodilPolozky podil() const;
};

// What the item rules read from the header.
struct HlavickaProCeny {
    DruhCeny druhCeny = DruhCeny::Nepovoleny; // the type the family passes (see druhCenyDokladu)
    QString Zp_Rabat;
    Decimal Rabat;
    std::optional<int> Cis_Obor;
    std::optional<qint64> Cis_Firmy;
    QString Kod_Meny; // the document's currency, blanks cut; empty: domestic
    QDate Dat_Vystav, Dat_Pln;
    QString Cis_Sklad;
    Decimal Kurs;
    bool ceskeNazvy = true; // the answer to "Chceš použít české názvy"
};

// The price type a family passes for the header's Druh_Ceny.
DruhCeny druhCenyDokladu(const PopisDokladu& popis, QStringView druhCenyHlavicky);

// The rounding steps of an open document.
struct KrokyDokladu {
    Decimal polozky = Decimal::fromRaw(100);   // item step; ZaokrCen until the kind is known
    Decimal hlavicky = Decimal::fromRaw(1000); // header step
    Decimal cizi = Decimal::fromRaw(1000);     // foreign step
    Decimal zaokrCen = Decimal::fromRaw(100);  // the setting ZaokrCen
};

// NastavZaokrouhleni: the steps from the document kind. Without a kind both steps are 0.1 and
// the family's message is added; an empty Druh_Ceny takes the kind's (answered in druhCeny).
struct NastaveniZaokrouhleni {
    bool druhNalezen = false;
    QString druhCeny; // the header's Druh_Ceny after the rule
};
NastaveniZaokrouhleni NastavZaokrouhleni(const PopisDokladu& popis,
                                         const std::optional<DruhUctu>& druh,
                                         const QString& druhCenyHlavicky, KrokyDokladu& kroky,
                                         ZpravyCeny& zpravy);
// The foreign step: the currency's step at the date of supply when greater than zero, else 0.1.
Decimal KrokCiziMeny(KurzovniListek& kurzy, const QString& kod, const QDate& datPln);

// Where NactiVyrobek finds what is not the product itself.
class ZdrojCen : public KurzovniListek {
public:
    virtual std::optional<RabatniSkupina> rabatniSkupina(int cislo) = 0;
    virtual std::optional<CenaZakaznika> cenaZakaznika(qint64 cisVyr, qint64 cisFirmy) = 0;
    // The stock figures of the product for the "IP" price.
    virtual ZasobaProCenu zasoba(qint64 cisVyr, const QString& sklad) = 0;
};

// The excise-duty surcharge of a delivery-note item ("SD", "CO", shown).
struct PrirazkaSD {
    QString Popis;    // the tariff code
    Decimal Mnozstvi; // Objem x item quantity at the item step
    Decimal JCena;    // Spotr_Dan
    Decimal CCena;    // Spotr_Dan x Objem at the item step: for one unit of the item
};

struct VysledekNacteni {
    bool oborZmenen = false; // the header's Cis_Obor became 1
    std::optional<PrirazkaSD> prirazka;
};

// The item from the product (NactiVyrobek without finding the product): names and codes, the
// excise surcharge, VAT, the price by type, the foreign price, the customer's price, the
// rebate, the net price, the foreign price of the net price, and the line amounts. The header's
// Cis_Obor may change (clamped to 1 with its warning).
VysledekNacteni NactiVyrobek(const PopisDokladu& popis, const Vyrobek& vyrobek,
                             HlavickaProCeny& hlavicka, PolozkaCeny& polozka,
                             const KrokyDokladu& kroky, bool zahrMeny, ZdrojCen& zdroj,
                             ZpravyCeny& zpravy, QStringList* postup = nullptr);

// The quantity rebate of the product at quantity q: the family's tiers (sale or purchase). No
// product: the warning and 0.
Decimal MnozstevniRabat(const PopisDokladu& popis, const Vyrobek* vyrobek, Decimal q,
                        ZpravyCeny& zpravy, QStringList* postup = nullptr);

// Leaving the quantity (q0 when its box was entered, q1 now): Rabat - rebate(q0) + rebate(q1),
// the net price at ZaokrCen, and the line amounts.
void ZmenaMnozstvi(const PopisDokladu& popis, PolozkaCeny& polozka, const HlavickaProCeny& hlavicka,
                   const Vyrobek* vyrobek, Decimal q0, Decimal q1, const KrokyDokladu& kroky,
                   ZpravyCeny& zpravy, QStringList* postup = nullptr);

// A price box left by the user: its rule, then the line amounts.
enum class RucniZmena { PC_Zakl, Rabat, PC_Netto, Cena_Cizi };
void RucniZmenaCeny(const PopisDokladu& popis, RucniZmena zmena, PolozkaCeny& polozka,
                    const HlavickaProCeny& hlavicka, const KrokyDokladu& kroky,
                    KurzovniListek& kurzy, ZpravyCeny& zpravy);

// The line amounts from the item's values.
void PrepocetPolozky(const PopisDokladu& popis, DruhCeny druh, PolozkaCeny& polozka,
                     const KrokyDokladu& kroky);

// The texts of the item's edit boxes: an empty or unreadable text counts as 0.
struct TextyPolozky {
    QString Mnozstvi, PC_Zakl, PC_Netto, Cena_Cizi;
};
// The line amounts from the edit boxes (their values are taken into the item first).
void PrepocetPolozky(const PopisDokladu& popis, DruhCeny druh, PolozkaCeny& polozka,
                     const TextyPolozky& texty, const KrokyDokladu& kroky);

// Saving an item whose quantity was q0 when its box was entered: the family's adjustments
// (the foreign price into the base price, the quantity rebate, the foreign price of the net
// price) and the line amounts.
void PredUlozenimPolozky(const PopisDokladu& popis, PolozkaCeny& polozka,
                         const HlavickaProCeny& hlavicka, const Vyrobek* vyrobek, Decimal q0,
                         const KrokyDokladu& kroky, KurzovniListek& kurzy, ZpravyCeny& zpravy);

} // namespace brix
