#pragma once
// One export of a table into a target directory, as the export dialog and the command line run
// it: a Paradox or dBASE table named after the source, or the text file with its optional field
// list. The caller hands the records one at a time, so the source is never held in memory.

#include "table.h"

#include <functional>

namespace brix::formats {

enum class ExportFormat { Paradox, Dbase, Text };

// Gives the next record of the source; returns false when there is none (or on an error of
// the source, which it reports through *error).
using RecordSource = std::function<bool(Record* record, QString* error)>;
// Called every so many records with the count written so far; return false to stop.
using ExportProgress = std::function<bool(qint64 written)>;

struct ExportResult {
    bool ok = false;
    qint64 records = 0;
    QString path;  // the file written
    QString error; // Czech, when !ok
};

// Exports into `dir` under `name` (the component name of the source, "TableHlaDL"): the table
// "<dir>/<name>.db" or ".dbf" with the source's fields (auto-increment fields become long
// integers that take the copied values), or the text file "<dir>/<name>.txt" whose fields come
// from "<dir>/<name>_Ex.txt" when it exists. A failure returns the error and never ok.
ExportResult exportTable(ExportFormat format, const QString& dir, const QString& name,
                         const QList<FieldDef>& fields, const RecordSource& source,
                         const ExportProgress& progress = {});

} // namespace brix::formats
