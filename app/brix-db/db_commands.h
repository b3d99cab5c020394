#pragma once
// The administrator's commands on a data root; each returns the process exit code.
#include <QStringList>
#include <QTextStream>

namespace brix {
class Database;
}

namespace brix::admin {

int run(const QStringList& args, QTextStream& out, QTextStream& err);

// `load`: the records of CSV `text` (a header of field names, then one record per line) into
// `table`, in one transaction: all of them, or none when a line is refused (its line number and
// the reason on `err`). `fileName` names the text in the messages. Returns the exit code;
// throws StorageError when the table does not exist.
int loadCsv(Database& db, const QString& table, const QString& text, const QString& fileName,
            QTextStream& out, QTextStream& err);

} // namespace brix::admin
