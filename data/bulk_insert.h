#pragma once
// Copying whole tables into a data root from elsewhere (the migration of a legacy data root):
// records are written as they come, without the cursor's storage rules, since the source kept
// its own keys and the copy must take its records as they are stored. Every value still passes
// through the field kinds' normalisation (a text cut to its size, money to four places, a date
// as its ISO text). The caller holds the transaction.

#include "database.h"

namespace brix {

class BulkInsert {
public:
    // Prepares the insert of the columns the table really has. Throws StorageError.
    BulkInsert(Database& db, const TableDef& def);
    ~BulkInsert();
    BulkInsert(const BulkInsert&) = delete;
    BulkInsert& operator=(const BulkInsert&) = delete;

    // One record: a value per field of the table definition, in its order (null = blank; a
    // field the table lacks is skipped). Throws StorageError.
    void insert(const QVector<QVariant>& values);
    qint64 inserted() const { return inserted_; }

private:
    Database& db_;
    const TableDef& def_;
    QVector<int> columns_; // field index of each bound column
    Statement insert_;
    qint64 inserted_ = 0;
};

// The number of records of a table, whatever a cursor would show. Throws StorageError.
qint64 countRecords(Database& db, const TableDef& def);
// Removes every record of a table, inside the caller's transaction. Throws StorageError.
void deleteAllRecords(Database& db, const TableDef& def);

} // namespace brix
