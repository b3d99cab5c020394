#pragma once
// Czech text rules for the table store: case mapping and the collation of Czech dictionaries
// (ch after h; č, ř, š, ž after c, r, s, z; accents and case only break ties).

#include <QString>

#include <optional>

struct sqlite3;

namespace brix::czech {

QString upper(const QString& s);
QString lower(const QString& s);

// <0, 0, >0 like strcmp, on UTF-8 bytes.
int compareUtf8(const char* a, int lenA, const char* b, int lenB);
int compare(const QString& a, const QString& b);

// Bounds [from, to) in the CZECH collation that hold every text whose first characters, lowered,
// are `loweredPrefix` (as many characters as it has). Only a narrowing: the bounds also hold
// texts that do not start so, and the fold of the text stays the judge. Nothing when no sound
// bounds are known (a first character that other characters fold to yet sort elsewhere).
struct CollationRange {
    QString from, to;
};
std::optional<CollationRange> foldedPrefixRange(const QString& loweredPrefix);

// Registers on the connection: collation CZECH, functions upper(), lower(), like() (both two- and
// three-argument forms) and czech_fold() (the case-folded form used for comparisons that ignore
// case).
void registerSqliteFunctions(sqlite3* db);

} // namespace brix::czech
