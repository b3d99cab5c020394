#pragma once
// Czech text rules for the table store: case mapping and the collation of Czech dictionaries
// (ch after h; č, ř, š, ž after c, r, s, z; accents and case only break ties).

#include <QString>

struct sqlite3;

namespace brix::czech {

QString upper(const QString& s);
QString lower(const QString& s);

// <0, 0, >0 like strcmp, on UTF-8 bytes.
int compareUtf8(const char* a, int lenA, const char* b, int lenB);
int compare(const QString& a, const QString& b);

// Registers on the connection: collation CZECH, functions upper(), lower(), like() (both two- and
// three-argument forms) and czech_fold() (the case-folded form used for comparisons that ignore
// case).
void registerSqliteFunctions(sqlite3* db);

} // namespace brix::czech
