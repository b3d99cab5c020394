#pragma once
// The stock of the demo data root: the shop (warehouse 1) keeps every stocked product, the two
// other warehouses part of the assortment.

namespace brix {

class Database;

namespace demo {

// Writes the stock levels of every stocked product in the warehouses and the products' totals
// (inside the caller's transaction).
void NaplnSklad(Database& db);

} // namespace demo
} // namespace brix
