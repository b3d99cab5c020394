#pragma once
// The stock of the demo data root: the shop (warehouse 1) keeps every stocked product, the two
// other warehouses part of the assortment. The stock enters as it does in a shop that starts
// with the system: an opening receipt per warehouse, closed through the posting engine, so
// that the ledger, the stock levels and the products' totals agree. Besides them an open
// receipt reserves its goods, and a reversed one waits for its correction.

namespace brix {

class Database;

namespace demo {

// The receipts, posted inside the caller's transaction.
void NaplnSklad(Database& db);

} // namespace demo
} // namespace brix
