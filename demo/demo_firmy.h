#pragma once
// The partners of the demo data root: suppliers of paints, thinners and tools, and customers
// (shops, craftsmen, building firms, institutions).

namespace brix {

class Database;

namespace demo {

// Writes the partners (inside the caller's transaction); answers how many there are.
int NaplnFirmy(Database& db);

} // namespace demo
} // namespace brix
