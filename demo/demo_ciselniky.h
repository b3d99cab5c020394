#pragma once
// The code lists of the demo data root: payment terms, fields of business, rebate and revenue
// groups, currency rates on several validity dates, the code designations 2, the customs
// tariff, the warehouses and cost centres, and the wholesale and rounded document kinds. The
// code designations 1 and the number series follow the demo's assortment and are written
// with it.

namespace brix {

class Database;

// Fills the code lists of `db` (inside the caller's transaction). Records that exist already
// (the first warehouse and the document kinds of every new data root) are completed, never
// duplicated.
void NaplnCiselnikyDemo(Database& db);

} // namespace brix
