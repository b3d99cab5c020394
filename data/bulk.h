#pragma once
// Set-based changes of many rows of one table: the rows whose field holds a value are counted,
// given another value or deleted by one statement the storage layer writes, with the value
// bound as the field's kind. Inside an open transaction each call is part of it; outside one it
// is a transaction by itself. Cursors on the table see the change on their next move or refresh.
// A field the SQL table lacks (an older data root) matches no row.

#include "database.h"

namespace brix {

qint64 countRows(Database& db, const TableDef& table, const QString& field, const QVariant& value);
// Answers the number of rows changed.
qint64 updateRows(Database& db, const TableDef& table, const QString& field, const QVariant& from,
                  const QVariant& to);
// Answers the number of rows deleted.
qint64 deleteRows(Database& db, const TableDef& table, const QString& field, const QVariant& value);

} // namespace brix
