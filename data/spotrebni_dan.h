#pragma once
// The excise duty of a delivery-note item: its surcharge rows of the kind "SD" in "Prir_DL" carry
// the duty of the item's quantity of the product. The pricing and closing code calls this when
// an item's product or quantity changes; the product is read by its number, wherever the shared
// product table stands.

#include "database.h"
#include "decimal.h"

namespace brix {

struct SpotrebniDan {
    Decimal mnozstvi; // Objem x the item's quantity, to 0.01
    Decimal jCena;    // Spotr_Dan of the product
    Decimal cCena;    // Spotr_Dan x Objem, to 0.01
};

// The duty of `mnozstviPolozky` of a product with volume `objem` and duty `spotrDan` per unit of
// volume; the roundings are ZaokrouhliKrok to 0.01.
SpotrebniDan SpotrebniDanPolozky(Decimal objem, Decimal spotrDan, Decimal mnozstviPolozky);

// Writes the duty of `mnozstvi` of product `cisVyr` into every "SD" surcharge row of the item
// (`cisUctu`, `porCis`) of "Ext_Ucty\DodListy\Prir_DL", in one transaction, through cursors of
// its own (a cursor that shows the rows sees them on its next move or refresh). Answers the rows
// written: 0 when the item has none or the product does not exist (the rows keep their values).
int PrepocetSpotrebniDane(Database& db, qint64 cisUctu, qint64 porCis, qint64 cisVyr,
                          Decimal mnozstvi);

} // namespace brix
