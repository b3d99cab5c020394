#pragma once
// The variant quantities of a delivery-note or cash-sale item without widgets: which products
// keep variants, the rows the variant dialog shows, saving what was typed into the item's
// variant lines with the variant stock following, and giving a line back (stock up, line gone),
// which the item deletions of both families use too.

#include "database.h"
#include "decimal.h"
#include "table.h"

#include <QString>

#include <optional>
#include <vector>

namespace brix {

class TDataCis;

namespace varianty {

inline constexpr char16_t kVarianty[] = u"Ciselnik\\Vyr_Var";
inline constexpr char16_t kRadkyDL[] = u"Ext_Ucty\\DodListy\\Var_DL";
inline constexpr char16_t kRadkyPokladny[] = u"Pokladna\\Obchod\\VarVyr_PoklO";

} // namespace varianty

// A product keeps variants: VERZETEXTIL is on and the product has a record in "Vyr_Var". What
// an item's quantity box asks before it opens the variant dialog.
bool MaVarianty(Database& db, qint64 cisVyr);
bool MaVarianty(Database& db, qint64 cisVyr, bool verzeTextil);

// The item the variant lines belong to.
struct PolozkaVariant {
    QString cisUctu; // the document number, as the line tables keep it (text)
    int porCis = 0;
    qint64 cisVyr = 0; // the item's product
};

// One row of the dialog: a variant of the product with its stock and the amount of the item's
// existing line ("" without one).
struct RadekVarianty {
    QString varianta1;
    QString varianta2;
    Decimal sklad;
    QString mnozstvi;
};
// Every variant of the product in key order, with the amounts of the item's lines in `radky`
// (the address of Var_DL or VarVyr_PoklO). Read through private cursors.
std::vector<RadekVarianty> NactiRadkyVariant(Database& db, const QString& radky,
                                             const PolozkaVariant& polozka);

// The amount a box's text gives: a decimal number with comma or point, 0 for a text that is no
// number. The item's quantity is the sum of these over the boxes, which is exactly what the
// lines take.
Decimal MnozstviVarianty(const QString& text);

// What was typed for one variant.
struct ZadaniVarianty {
    QString varianta1;
    QString varianta2;
    QString text;
};
struct VysledekVariant {
    bool ok = false;
    Decimal celkem; // the item's new quantity, the sum of its new lines
    QString chyba;  // the storage message when the save failed
};
// Saves the item's variant lines in one transaction: every existing line of the item is given
// back (VratRadekVarianty) and every non-zero amount becomes a new line, lowering its variant's
// stock when the variant exists. A failure at any write leaves lines and stock as they were and
// returns the storage message. `radky` is the address of the line table.
VysledekVariant UlozVariantyPolozky(Database& db, const QString& radky,
                                    const PolozkaVariant& polozka,
                                    const std::vector<ZadaniVarianty>& zadani);

// Gives the current line of `radky` back: its variant's SklZas_ks goes up by the line's
// Mnozstvi (a missing variant is created with that stock) and the line is deleted. The caller
// holds the transaction.
void VratRadekVarianty(Table& radky);
// Gives back every line of the item (Cis_Uctu, PorCis) in the line table `radky`.
void VratVariantyPolozky(Database& db, const QString& radky, const QString& cisUctu, int porCis);

// The item deletions of delivery notes and cash sales give their variant lines back before the
// item goes.
void InstalujVraceniVariant(TDataCis& dm);

} // namespace brix
