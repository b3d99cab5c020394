#pragma once
// The document families that move stock, each described once: its letter in the ledger, its
// number series, its tables, the item fields the posting reads, how one item becomes movements
// (one for a receipt or an issue item, two for a transfer item), whether a closed document is
// corrected by closing it again or reversed, and the follow-up document its closing makes.
//
// The posting engine (zauctovani.h), the reservations (zasoby.h), the item check and the
// invariant checker (kontrola_skladu.h) read only this description: a further family (delivery
// notes, cash sales with their components) is a further description, never a copy of the
// posting code.

#include "decimal.h"
#include "field.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace brix::sklad {

// P_V of a ledger record: goods in ("P") or out ("V").
enum class Smer { Prijem, Vydej };
QString textSmeru(Smer smer);
int znamenko(Smer smer); // +1 in, -1 out

// How the stock value of a movement is found when it is posted.
enum class Oceneni {
    Pevne,  // the value given (receipt: stock unit price x quantity; transfer target)
    Vydej,  // the value given rounded to the stock-card step; the whole stock value when the
            // movement takes exactly the quantity in stock
    Dodavka // goods received: the line value, with stock below zero taken out at its average
};

// One movement of an item: what it does to the stock level of (product, warehouse) and the
// ledger record it leaves.
struct Pohyb {
    qint64 cisVyr = 0;
    QString objCis; // for a stock level the movement creates
    QString sklad;
    Smer smer = Smer::Prijem;
    Decimal mnozstvi;
    Oceneni oceneni = Oceneni::Pevne;
    Decimal hodnota;           // by oceneni: the value, the issue value, the line value
    Decimal jednotkovaHodnota; // the unit value a correction takes when the old record has none
    Decimal pCena;             // PCena: the line total at the document's own price
    Decimal rezervace;         // what the item reserves here while it is open, signed
};

// A message the posting has for the user, shown after the commit.
struct Zprava {
    QString caption;
    QString text;
    friend bool operator==(const Zprava&, const Zprava&) = default;
};

// The settings a posting reads.
struct NastaveniPohybu {
    bool rezervace = true;                           // REZERVACE of "Nast_Pr.DB"
    Decimal krokSkladKarty = Decimal::fromRaw(100);  // Zaokr_SklKar
    bool kontrolaSkladu = true;                      // OkKontrolaSkladu: the item check runs
    QString klicVyrobku = QStringLiteral("CIS_VYR"); // _HlKlicVyr: the product key field
};

// The follow-up document a closing makes by copying the header and every item field by field,
// by equal field names (goods received into a received invoice).
struct Navaznost {
    QString hlavicka;       // "Ext_Ucty\FaPrij\Hla_FaP"
    QString polozky;        // "Ext_Ucty\FaPrij\Pol_FaP"
    QString typUctu;        // its number series ("4")
    QString poleOdkazu;     // the header field that keeps its number ("Cis_Doklad")
    QString poleZnacky;     // a logical header field set once it exists ("Faktura"); may be empty
    QString poleOdkazuZpet; // its field that keeps the document's number ("CIS_Doklad")
};

// How the item check before closing (KontrolaPolozky) treats the family's items.
struct KontrolaRodiny {
    bool podleKlice = true; // the product is found by the main product key (else by CIS_VYR)
    enum class Neshoda {
        OpravitCislo, // a product number that differs is offered for correction
        HlasitCislo,  // ... only reported
        HlasitObjCis  // the order code that differs is reported
    } neshoda = Neshoda::OpravitCislo;
    QString caption = QStringLiteral("Varování"); // of its messages
};

struct RodinaDokladu {
    QChar druhUctu;           // Druh_Uctu of its ledger records: 'P', 'V', 'Z'
    Smer smer = Smer::Prijem; // the direction of its ordinary items
    QString typUctu;          // Typ_Uctu of its number series
    QString hlavicka;         // header table
    QString polozky;          // item table (CIS_UCTU;PorCis)
    QString varianty;         // variant lines of an item (Cis_Uctu;PorCis)
    QString poleCeny;         // the item's line total at the document's price, into PCena
    // The sum check before closing: header total field and the item field it sums.
    std::vector<std::pair<QString, QString>> soucty;
    bool oprava = false; // closing a closed document corrects it
    bool storno = false; // a closed document can be reversed
    // The movements of an item (empty for an item that moves no stock: text lines, items that
    // are not stock items). `hlavicka` may be null (a header not saved yet): what depends on it
    // then takes its defaults. `zpravy`, when given, receives what the closing has to say
    // (a packing factor of zero).
    std::function<std::vector<Pohyb>(const RecordSource* hlavicka, const RecordSource& polozka,
                                     const NastaveniPohybu& nastaveni, std::vector<Zprava>* zpravy)>
        pohyby;
    std::optional<Navaznost> navaznost;
    KontrolaRodiny kontrola;

    // The stock receipt, the issue and transfer, the goods received.
    static const RodinaDokladu& prijemka();
    static const RodinaDokladu& vydejka();
    static const RodinaDokladu& dodavka();
    // The family whose ledger letter this is; null for a letter no family here posts.
    static const RodinaDokladu* podlePismene(QChar druhUctu);
    static const std::vector<const RodinaDokladu*>& vsechny();
};

// ---- reading the records the families share

QString textPole(const RecordSource& r, const QString& pole);   // blank and missing: ""
Decimal castkaPole(const RecordSource& r, const QString& pole); // blank and missing: 0
qint64 cisloPole(const RecordSource& r, const QString& pole);   // blank and missing: 0
// The item has not been posted yet (Stav "P").
bool neuctovana(const RecordSource& polozka);
// The item is a stock item (Druh_Pol "S").
bool skladova(const RecordSource& polozka);
// A transfer (Druh_Dokl "P" of an issue header).
bool jePrevodka(const RecordSource* hlavicka);

} // namespace brix::sklad
