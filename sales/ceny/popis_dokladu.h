#pragma once
// One description per document family of how its items are priced and its header totalled:
// which price type and step it passes to the price by type, where its currency stands, how an
// item is named, whether the excise surcharge and the customer's prices apply, how the rebate
// is taken, how a line amount is rounded and divided by the factor, what the full check adds,
// and the names of its header fields. The pricing rules exist once (polozka.h, hlavicka.h) and
// read these values; no family has a copy of a rule.

#include <QString>

namespace brix {

enum class RodinaDokladu {
    DodaciList,        // "DL", delivery note: the reference
    FakturaVydana,     // "FV", issued invoice
    Pokladna,          // "J", cash sale
    ObjednavkaPrijata, // "OP", customer order
    PrijemZbozi,       // "3", goods received from a supplier
    ObjednavkaVydana,  // "OV", purchase order
};

// How the document kind of the rounding steps is found in "Druhy_uctu".
enum class HledaniDruhu {
    TypADruh,     // by the family's type and the header's DRUH
    TypZHlavicky, // by the type in a header field (the invoice's DruhFa, "FV" when blank) and DRUH
    JenDruh,      // by DRUH alone
    PrvniTypu,    // the first kind of the family's type, whatever DRUH says
};

// The name an item takes from its product.
enum class NazevPolozky {
    Cesky,         // Nazev
    CeskyNeboCizi, // NazCizJaz in a foreign document when Czech names were declined
    CiziSMenou,    // NazCizJaz whenever the document has a currency
};

// The rebate an item takes when its product is chosen.
enum class RabatPriVyberu {
    SkupinaNeboPevny,  // "RS" the rebate group, "PS" the header's Rabat, else unchanged
    SkupinaJinakPevny, // "RS" the rebate group, any other value the header's Rabat
    Nulovy,            // 0, and the net price is the base price
};

// The step of the net price when the product is chosen.
enum class KrokNetta { Polozky, Desetina, Zadny };

enum class MnozstevniRabatDruh {
    Prodejni, // the three sale tiers PC_MnRab1..3 / PC_Rab1..3
    Nakupni,  // the purchase tier NC_MnRab1 / NC_Rab1
};

// The price types whose line amount is divided by the item's factor.
enum class DeleniFaktorem { MOaVO, MOVOaNC, Vzdy };
enum class KrokRadku {
    Polozky,              // the item step of the document kind
    ZaokrCen,             // the setting ZaokrCen
    ZaokrCenNeboDesetina, // ZaokrCen, 0.1 in a document of "MO" prices
};
// The foreign line amount.
enum class CiziRadek {
    Zadny,         // not computed
    KrokCizi,      // divided by the factor whenever it is not 0, at the foreign step
    DeleniPolozky, // divided for the dividing price types, at the item step, not rounded again
};

// The line amounts (PrepocetPolozky).
struct PravidloRadku {
    bool zaokrouhlitZaklad = true; // PC_Zakl at the item step first
    bool zaokrouhlitNetto = true;  // PC_Netto at the item step first
    DeleniFaktorem deleni = DeleniFaktorem::MOaVO;
    KrokRadku krokDeleni = KrokRadku::Polozky;
    KrokRadku konecnyKrok = KrokRadku::Polozky;
    CiziRadek cizi = CiziRadek::KrokCizi;
};

// What a full check (KontrolaHlavicky) adds and how it asks.
struct PravidloKontroly {
    bool zaokrouhlovaciRozdil = true; // the rounding difference to the header step
    bool ciziAHmotnost = false;       // also compares the foreign total and the weight
    bool vzdyPtat = false;            // asks before every repair (else only in verbose mode)
    QString titulekOtazky;            // caption of the question
    QString oddelovac;                // between the texts of the differences
};

// How a price box left by the user recomputes the others (the manual edits).
struct RucniUpravy {
    bool ciziPriZakladu = true; // PC_Zakl left: also the foreign price from the net price
    bool ciziPriRabatu = true;  // Rabat left: the same
    bool ciziPresKurs = false;  // Cena_Cizi left: PC_Netto = header Kurs x Cena_Cizi
    bool ulozeniZeCizi = false; // saving an item takes PC_Zakl from its foreign price first
    bool ulozeniRabatu = true;  // saving an item adjusts its rebate by the quantity rebate
    bool ulozeniCizi = true;    // ... and takes the foreign price from the net price
};

// The header fields a family names; an empty name: the family's header has no such field.
struct PoleHlavicky {
    QString Druh_Ceny, Mena, Dat_Vystav, Dat_Pln, Zp_Rabat, Rabat, Cis_Obor, Cis_Firmy, Cis_Sklad,
        Kurs, DRUH, TypDruhu;
    QString Zaklad0, DPH0, Zaklad1, DPH1, Zaklad2, DPH2, Zaklad, DPH, Cena_Celk;
    QString Cena_Cizi, Hmotnost, HPKU_Kc;
};

struct PopisDokladu {
    RodinaDokladu rodina;
    QString typUctu;     // "DL", "FV", "J", "OP", "3", "OV"
    QString nazevRodiny; // as the tools name the family
    QString hlavicka;    // the header table's address
    QString polozky;     // the item table's address
    QString prirazky;    // the surcharge table's address (empty: none)

    HledaniDruhu hledaniDruhu = HledaniDruhu::TypADruh;
    bool chybaDruhuVelka = false; // "Neexistující DRUH" instead of the longer message

    int oborNoveHlavicky = 0;      // the customer class of a new header (0: the customer's)
    bool druhCenyMOneboVO = false; // passes "MO" for an "MO" header, else "VO" (cash sale)
    bool krokCenyDesetina = false; // passes 0.1 as the step of the price by type
    bool cenaMOsDPH = false;       // the "MO" unit price is MO_Cena itself, lines include VAT
    NazevPolozky nazevPolozky = NazevPolozky::Cesky;
    bool poznamkaVyrobku = true; // the item takes the product's note
    bool prirazkaACenik = false; // the excise surcharge and the customer's prices
    RabatPriVyberu rabat = RabatPriVyberu::SkupinaNeboPevny;
    KrokNetta krokNetta = KrokNetta::Polozky;
    bool ciziZNetta = true;      // the foreign price from the net price, at the foreign step
    bool ciziNCPresKurs = false; // "NC" in the product's currency: PC_Netto = Kurs x foreign
    MnozstevniRabatDruh mnozstevniRabat = MnozstevniRabatDruh::Prodejni;
    PravidloRadku radek;
    PravidloKontroly kontrola;
    RucniUpravy upravy;
    PoleHlavicky pole;

    bool maMenu() const { return !pole.Mena.isEmpty(); }
};

// The description of a family.
const PopisDokladu& popisDokladu(RodinaDokladu rodina);
// By the document type ("DL", "FV", "J", "OP", "3", "OV"; case ignored); null for another.
const PopisDokladu* popisDokladuTypu(const QString& typUctu);

} // namespace brix
