#pragma once
// Records that other records use. The references between the catalogue's tables are declared
// here once: a code-list record, a partner, a product or an employee that other records name is
// not deleted while they do. Every register asks usagesOf() before it deletes a record.
//
// A record is in use when a record of a using table has the record's referenced values; one
// SQL query per using table counts them. A record whose referenced values another record of its
// own table shares (another rate of the same currency, a namesake employee) is used by nobody:
// the users still find what they name.

#include "table.h"

namespace brix {

struct Reference {
    QString table;          // the referenced table (catalogue address)
    QStringList fields;     // its fields the users name
    QString user;           // the table whose records name it
    QStringList userFields; // the naming fields there, in the order of `fields`
    QString what;           // the users, in Czech, for the message ("firmy")
    // Only a referenced record whose field `whenField` holds `whenValue` (a document kind of the
    // type "DL" is named by delivery notes only); empty: every record.
    QString whenField, whenValue;
};

// Every declared reference.
const QList<Reference>& references();

struct Usage {
    QString what; // the users, as the reference names them
    qint64 count = 0;
};

// How many records of each using table name the current record of `table` (only tables that
// do, in the order of the declarations). Columns an older data root lacks count nothing.
// Throws StorageError.
QList<Usage> usagesOf(Table& table);

// The refusal a register shows: where the record is used and how often; empty without usage.
QString inUseMessage(const QList<Usage>& usages);

} // namespace brix
