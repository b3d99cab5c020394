#pragma once
// The assortment of the demo data root: paints, lacquers and glazes in colours and packs,
// thinners, painters' tools and sundries, in six product groups with their code designations
// and number series, priced from the purchase price as the product form prices them.

#include <QString>

namespace brix {

class Database;

namespace demo {

// Writes the products with their code designations 1 and number series (inside the caller's
// transaction), without stock; answers how many products there are.
int NaplnVyrobky(Database& db);

// The product's EAN-13 in the shop's own numbering (country prefix 859), with its check digit.
QString Ean13Vyrobku(qint64 cislo);

} // namespace demo
} // namespace brix
