#pragma once
// The pricing engine over the data module: the value records the engine computes with are read
// through TDataCis (the product, the rebate group, the customer price, the rate records, the
// document kind, a document's header and items), and its messages are shown through the
// platform layer. The shared cursors the forms show are not moved by a look-up: rates, groups,
// customer prices and products by key are read by prepared keyed reads (KeyLookup), kinds and
// the items a check walks through private cursors (a conversion keeps the position of "Meny").
// Only najdiVyrobek positions the shared product table, as the forms expect.

#include "cena_dle_druhu.h"
#include "hlavicka.h"
#include "meny.h"
#include "polozka.h"
#include "popis_dokladu.h"
#include "zaznamy.h"
#include "zpravy.h"

#include <map>
#include <memory>

namespace brix {

class RecordSource;
class TDataCis;
class Table;
struct PuvodniHodnoty;
struct TableDef;

// Shows the messages in order, each in its box with its caption and one OK button.
void UkazZpravyCeny(const ZpravyCeny& zpravy);

// The previous-line memory of an item table as an item's share of the header.
PodilPolozky podilZPuvodnich(const PuvodniHodnoty& puvodni);

class CenyDataCis : public ZdrojCen {
public:
    explicit CenyDataCis(TDataCis& dm);
    ~CenyDataCis() override;
    CenyDataCis(const CenyDataCis&) = delete;
    CenyDataCis& operator=(const CenyDataCis&) = delete;

    TDataCis& dataModul() const { return dm_; }

    // ---- rates
    // The rate record by an index seek on (KOD_Meny, Platnost_Od): the last record of the
    // currency whose Platnost_Od is not after the date. Nothing for a blank code or date, or
    // when the data root has no "Meny".
    std::optional<KursMeny> kurs(const QString& kod, const QDate& datum) override;

    // The conversions of meny.h with their messages shown.
    Decimal PrevodNaTuzemskou(const QString& kod, Decimal castka, const QDate& datum);
    Decimal PrevodNaCiziMenu(const QString& kod, Decimal castka, const QDate& datum);
    Decimal ZaokrouhleniMeny(const QString& kod, const QDate& datum);

    // ---- the other sources of item pricing
    std::optional<RabatniSkupina> rabatniSkupina(int cislo) override;
    std::optional<CenaZakaznika> cenaZakaznika(qint64 cisVyr, qint64 cisFirmy) override;
    // ZasobaVyrobku of the product in the warehouse, its messages shown.
    ZasobaProCenu zasoba(qint64 cisVyr, const QString& sklad) override;

    // ---- products
    // The product of the current record of `vyrobky` (a cursor over "Vyrobky"); the empty
    // record when it has none.
    Vyrobek ctiVyrobek(Table& vyrobky);
    // NajdiVyrobek: the product with this key (the setting _HlKlicVyr), current in TableVyr.
    std::optional<Vyrobek> najdiVyrobek(const QString& klic);
    // The product whose key field (the setting _HlKlicVyr) equals the key (trailing blanks cut,
    // a product number a whole number), read by a keyed read that moves no cursor.
    std::optional<Vyrobek> vyrobekDleKlice(const QString& klic);

    // The price of the type for the product current in TableVyr (NajdiVyrobek positions it),
    // with the setting ZahrMeny; for "IP" the stock figures of the product in `sklad` are read
    // through ZasobaVyrobku with its messages. The messages are shown.
    CenaDleDruhu CenaVyrobkuDleDruhu(const QString& druhCeny, const QString& kodMeny, Decimal krok,
                                     const QString& sklad);

    // ---- item pricing with the messages shown (the engine's rules of polozka.h)
    // The product current in TableVyr (or the one given) into the item, with the setting
    // ZahrMeny.
    VysledekNacteni NactiVyrobek(const PopisDokladu& popis, HlavickaProCeny& hlavicka,
                                 PolozkaCeny& polozka, const KrokyDokladu& kroky,
                                 QStringList* postup = nullptr);
    VysledekNacteni NactiVyrobek(const PopisDokladu& popis, const Vyrobek& vyrobek,
                                 HlavickaProCeny& hlavicka, PolozkaCeny& polozka,
                                 const KrokyDokladu& kroky, QStringList* postup = nullptr);
    // The quantity rebate of the product found by the item's key (vyrobekDleKlice; 0 and the
    // warning when there is none).
    Decimal MnozstevniRabat(const PopisDokladu& popis, const QString& klic, Decimal q);
    void ZmenaMnozstvi(const PopisDokladu& popis, PolozkaCeny& polozka,
                       const HlavickaProCeny& hlavicka, const QString& klic, Decimal q0, Decimal q1,
                       const KrokyDokladu& kroky, QStringList* postup = nullptr);
    void RucniZmenaCeny(const PopisDokladu& popis, RucniZmena zmena, PolozkaCeny& polozka,
                        const HlavickaProCeny& hlavicka, const KrokyDokladu& kroky);
    // An item saved whose quantity was q0 when its box was entered (the product by the key).
    void PredUlozenimPolozky(const PopisDokladu& popis, PolozkaCeny& polozka,
                             const HlavickaProCeny& hlavicka, const QString& klic, Decimal q0,
                             const KrokyDokladu& kroky);

    // ---- documents of a family
    // The document kind: by the family's way (HledaniDruhu) from the header's DRUH and type.
    std::optional<DruhUctu> druhUctu(const PopisDokladu& popis, const QString& druh,
                                     const QString& typ = QString());
    // The kind of the header's current record.
    std::optional<DruhUctu> druhUctu(const PopisDokladu& popis, Table& hlavicka);
    // NastavZaokrouhleni: the steps of the header's kind (its message shown when there is none),
    // ZaokrCen from the settings and the foreign step of the header's currency at the date of
    // supply. An empty Druh_Ceny takes the kind's when the header is being edited.
    KrokyDokladu NastavZaokrouhleni(const PopisDokladu& popis, Table& hlavicka);

    // The values of the header's current record the item rules read (the family's price type,
    // its currency with blanks cut, ...).
    HlavickaProCeny ctiHlavickuProCeny(const PopisDokladu& popis, Table& hlavicka);
    HodnotyHlavicky ctiHodnotyHlavicky(const PopisDokladu& popis, Table& hlavicka);
    // Writes the totals into the header (in edit or insert): every field the family names and
    // the table has; with `jenOprava` only the fields a check repairs.
    void zapisHodnotyHlavicky(const PopisDokladu& popis, Table& hlavicka,
                              const HodnotyHlavicky& hodnoty, bool jenOprava = false);

    // The item of the current record of an item table, and back (in edit or insert); fields the
    // table lacks are skipped (Cis_celsaz of older data, the weight of the cash sale).
    PolozkaCeny ctiPolozku(Table& polozky);
    void zapisPolozku(Table& polozky, const PolozkaCeny& polozka);

    // The sums of the items of the header's current document, read through a private cursor.
    SoucetDokladu nactiSoucet(const PopisDokladu& popis, Table& hlavicka);

    // KontrolaHlavicky over the tables: a pending item of `polozky` is posted, the items are
    // summed, and a header that differs from what they give is repaired: silently, or after the
    // question (Yes/No) where the family always asks or `verbose` is on; No changes nothing.
    // True when the header is right afterwards.
    bool KontrolaHlavicky(const PopisDokladu& popis, Table& hlavicka, Table* polozky,
                          Decimal krokHlavicky, bool verbose);

    // Appends the excise surcharge of an item through a private cursor; a failure cancels only
    // this record and is not reported (false).
    bool pridejPrirazku(const PopisDokladu& popis, qint64 cisUctu, int porCis,
                        const PrirazkaSD& prirazka);

private:
    struct Cteni;
    struct PoleVyrobku;
    struct PolePolozky;
    Cteni& cteni();
    Table& soukromy(const QString& adresa, const QString& index = QString());
    const PolePolozky& polePolozky(const Table& t);
    static Vyrobek vyrobekZeZaznamu(RecordSource& zaznam, const PoleVyrobku& pole);

    TDataCis& dm_;
    std::unique_ptr<Cteni> cteni_;
    std::unique_ptr<PoleVyrobku> poleVyrobku_, poleLookupVyrobku_;
    std::map<const TableDef*, std::unique_ptr<PolePolozky>> polePolozek_;
    std::map<QString, std::unique_ptr<Table>> soukrome_;
};

} // namespace brix
