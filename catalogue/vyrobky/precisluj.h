#pragma once
// Renumbering a product ("&Přečíslování výrobku"): the product and every row that names it, in
// every catalogue table with a Cis_Vyr or KCisVyr field (stock levels, the ledger, recipes both
// ways, variants, customer prices, every item and sub-item table), take the new number.
//
// Promises: one transaction, all or nothing; each table is changed by one set-based update; a
// number in use, by a product or by rows of any of those tables (rows left behind by a product
// that is gone), is refused before anything changes; afterwards no row names the old number and
// every table has as many rows as before.

#include "database.h"

#include <QVector>

namespace brix {

class Table;

// A field that names a product by its number.
struct OdkazNaVyrobek {
    const TableDef* tabulka = nullptr;
    QString pole;
};
// Every field named Cis_Vyr or KCisVyr of the catalogue of `db`, the product table excepted.
QVector<OdkazNaVyrobek> OdkazyNaVyrobek(const Database& db);

enum class StavPrecislovani {
    Hotovo,   // renumbered
    Stejne,   // the same number: nothing to do
    Prazdne,  // no number given
    Neplatne, // not a whole number from 1 to 9999999
    Obsazene, // the number is in use
    Chyba     // the storage refused; everything as before
};

struct VysledekPrecislovani {
    StavPrecislovani stav = StavPrecislovani::Chyba;
    QString zprava; // what the user is told (empty when the table's handler has told already)
    QString titulek;
    qint64 radku = 0; // rows renumbered besides the product
};

inline constexpr char16_t kOtazkaPrecislovat[] = u"Chcete opravdu přečíslovat tento výrobek ?";
inline constexpr char16_t kNoveCisloVyrobku[] = u"Nové číslo výrobku";
inline constexpr char16_t kCisloMusiteZadat[] = u"Číslo musíte zadat, funkce nebude provedena";
inline constexpr char16_t kCisloVyrobkuVRozsahu[] =
    u"Číslo výrobku v rozsahu 1-9999999 musí být jedinečné";

// Renumbers the current product of `vyrobky` (a cursor in browse state on "Ciselnik\Vyrobky")
// to the number the user answered. The cursor stays on the product (with its new number, or
// its old one after a refusal).
VysledekPrecislovani PrecislujVyrobek(Table& vyrobky, const QString& odpoved);

} // namespace brix
