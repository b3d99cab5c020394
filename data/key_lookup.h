#pragma once
// One record read by its key through a prepared statement: for the look-ups a computation makes
// for every item it prices (a product, a rebate group, a customer's price, a rate record), where
// a cursor's navigation, events and order would only cost time. A look-up has no current
// position that anybody sees and changes nothing; each find() runs its statement afresh, so it
// sees every commit, and reads the record into a buffer at once, holding no read open between
// calls. Key values are bound, never spliced into the SQL.

#include "database.h"
#include "field.h"

#include <QStringList>
#include <QVector>

namespace brix {

class KeyLookup : public RecordSource {
public:
    // The records of `address` whose `keyFields` equal the values find() is given. With
    // `boundField`, find() takes one value more, a bound, and answers the record with the
    // largest `boundField` not after it ("the latest valid at a date"; a blank one is never
    // within the bound); without it, of several records with the key the first written.
    // `fields` are the fields read (empty: all the table has; a field an older data root lacks
    // is left out). Throws StorageError for an unknown table or field.
    KeyLookup(Database& db, const QString& address, const QStringList& keyFields,
              const QString& boundField = QString(), const QStringList& fields = {});

    // The first record with these key values (and bound); false when none. A blank key value
    // finds nothing.
    bool find(const QVariantList& values);
    bool hasRecord() const { return hasRecord_; }

    // ---- RecordSource: the fields of the record found (read only)
    int fieldCount() const override { return int(fields_.size()); }
    const FieldDef& fieldDef(int index) const override { return fields_[index]; }
    int fieldIndex(const QString& name) const override;
    QVariant fieldValue(int index) const override { return buf_[index]; }
    void setFieldValue(int index, const QVariant& value) override;
    QString sourceName() const override { return address_; }
    Field field(int index) { return Field(this, index); }

private:
    Database& db_;
    QString address_;
    QVector<FieldDef> fields_;
    QVector<FieldDef> keys_; // the key fields, then the bound field
    Statement st_;
    QVector<QVariant> buf_;
    bool hasRecord_ = false;
};

} // namespace brix
