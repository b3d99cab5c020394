#pragma once
// Migrating a legacy data root: the Paradox tables of an old data root (the directories of the
// table catalogue, directory and file names in any case, ".DB" with their ".MB" memo files,
// the protected ones opened with the table password) become the tables of a new data root, and
// the text files, INI files and templates of those directories are copied as they are.
//
// Promises:
// - All or nothing: every table is read and checked before anything is written, the records go
//   in one transaction, and a damaged table, a cancel or any other failure leaves the new root
//   as it was. Files are copied after the commit.
// - Fields are matched by name. What does not fit is counted and listed in the protocol
//   "migrace.log" in the new root: a field or table the catalogue does not know (not copied),
//   a text longer than its field (cut), an unreadable date (left blank), another value that
//   does not convert (left blank), a record whose key an earlier one had (left out).
// - Values are copied as stored, employees' passwords included: a plain one stays plain until
//   the employee's first login turns it into a hash.
// - Only a new or empty data root is filled, and only once: a root holding data of its own, or
//   one with a protocol of an earlier migration, is refused, so that no record is doubled. The
//   code lists a new data root starts with are replaced by the old root's where it has them.

#include "tabledef.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace brix {
class Database;
}

namespace brix::migration {

// The table password of the employee, rights and settings tables of a legacy data root.
inline const QString kHesloTabulek = QStringLiteral("418265");
// The protocol in the new root.
inline const QString kProtokol = QStringLiteral("migrace.log");

struct Progress {
    QString table;        // the catalogue address being copied
    int tableNumber = 0;  // 1-based
    int tables = 0;       // tables to copy
    qint64 tableDone = 0; // records of this table read so far
    qint64 tableTotal = 0;
    qint64 done = 0; // records of all tables read so far
    qint64 total = 0;
};

struct Options {
    // Called as the records go; false cancels the migration (nothing is kept).
    std::function<bool(const Progress&)> progress;
    // Asked for the password of a protected table that the table password does not open; an
    // empty answer gives up.
    std::function<QString(const QString& path)> askPassword;
    // The definition of a table the catalogue does not hold but the system makes at run time
    // (the saved filters of "Filtr"), by directory and file name; nullopt when there is none.
    std::function<std::optional<TableDef>(const QString& directory, const QString& file)>
        extraTable;
};

struct TableResult {
    QString address;     // the catalogue address
    QString file;        // the old file, relative to the old root
    qint64 records = 0;  // copied
    qint64 skipped = 0;  // left out for a key an earlier record had
    qint64 cutTexts = 0; // texts cut to their field's size
    qint64 unreadableDates = 0;
    qint64 unfitValues = 0; // other values that did not convert, left blank
    QStringList unknownFields;
};

struct Result {
    bool ok = false;
    bool cancelled = false;
    QString error; // Czech, when not ok
    QList<TableResult> tables;
    QStringList unknownTables; // old table files no catalogue table matches (relative paths)
    QStringList missingTables; // catalogue tables the old root does not have
    QStringList copiedFiles;   // relative paths in the new root
    QStringList fileErrors;    // files that could not be copied after the commit
    QString protocolPath;

    qint64 records() const;
    qint64 cutTexts() const;
    qint64 unreadableDates() const;
    qint64 unfitValues() const;
    qint64 skipped() const;
    int unknownFields() const;
    // The summary for the terminal and the closing message: the tables with their record
    // counts, the totals of what did not fit, the protocol.
    QStringList summary() const;
};

// Migrates the data root `oldRoot` into `target` (opened on the new root). Never throws: a
// failure is the result's error.
Result migrateDataRoot(const QString& oldRoot, Database& target, const Options& options = {});

} // namespace brix::migration
