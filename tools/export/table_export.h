#pragma once
// Copies a table of the data root, and optionally the items of each of its records, into a
// Paradox or dBASE table or a text file, or writes it as a spreadsheet workbook.
#include "formats/export.h"
#include "table.h"

#include <functional>

namespace brix::exporting {

enum class Format { Paradox, Dbase, Text };

// The target fields of a cursor's fields.
QList<formats::FieldDef> targetFields(const Table& t);
// The name a table is exported under when its form gives none: "Table" + the file name without
// underscores, with a capital first letter ("Ext_Ucty\DodListy\Hla_DL" -> "TableHlaDL",
// "Ciselnik\obor" -> "TableObor").
QString componentName(const TableDef& t);

struct Result {
    bool ok = false;
    qint64 masterRecords = 0, detailRecords = 0;
    QStringList files;
    QString error; // Czech, when !ok
};

// Called with the master records written so far; false stops the export (reported as failed).
using Progress = std::function<bool(qint64 written)>;

// The file names of an export (without extension); empty: componentName() of the table.
struct Names {
    QString master, detail;
};

// Exports `master` from its first record; with `detail` (a cursor linked to the master) the
// items of every master record go into a second table. The text format writes the master only.
// The cursors' positions are restored afterwards.
Result exportTables(Format format, const QString& dir, Table& master, Table* detail = nullptr,
                    const Progress& progress = {}, const Names& names = {});

// Writes the records of `t` as a workbook in `dir` ("<component name>.xlsx", numbered when it
// exists): labels in the first row, values from the second. Returns the file, or an empty text
// with *error.
QString exportWorkbook(Table& t, const QString& dir, QString* error);

} // namespace brix::exporting
