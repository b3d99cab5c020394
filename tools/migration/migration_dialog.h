#pragma once
// The migration of a legacy data root as the program offers it on its first start: the old
// directory chosen, the migration run with a progress dialog that can cancel it, and the
// summary (or the reason it was not done) shown afterwards.

class QWidget;

namespace brix {

class Database;

// "Převést data ze staré datové složky…": true when the data were migrated into `db`.
bool runMigrationDialog(Database& db, QWidget* parent = nullptr);

} // namespace brix
