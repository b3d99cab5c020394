#pragma once
// What the demo data root's code lists hold beyond the basic records the demo writes first:
// currency rates on several validity dates, the details of the warehouses and cost centres,
// the wholesale and rounded document kinds, more customs-tariff numbers and the notes of the
// code designations.

namespace brix {

class Database;

// Adds to the code lists of `db` (inside the caller's transaction). Records that exist already
// are completed, never duplicated.
void NaplnCiselnikyDemo(Database& db);

} // namespace brix
