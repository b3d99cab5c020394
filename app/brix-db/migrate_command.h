#pragma once
// `brix-db migrate OLD_ROOT NEW_ROOT`: a legacy data root of Paradox tables into a new or empty
// data root (tools/migration/migration.h), with progress and the summary on the terminal.

#include <QStringList>
#include <QTextStream>

namespace brix::admin {

// `args` are the words after "migrate". Returns 0 when migrated, 1 when refused or failed (the
// new root stays as it was), 2 on wrong arguments.
int runMigrateCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace brix::admin
