#pragma once
// Reading and writing one field of the current record of a table or a query.

#include "decimal.h"
#include "tabledef.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QVariant>

namespace brix {

// What a field reads from: a table cursor or a query result.
class RecordSource {
public:
    virtual ~RecordSource() = default;
    virtual int fieldCount() const = 0;
    virtual const FieldDef& fieldDef(int index) const = 0;
    virtual int fieldIndex(const QString& name) const = 0; // -1 when absent
    virtual QVariant fieldValue(int index) const = 0;
    virtual void setFieldValue(int index, const QVariant& value) = 0; // throws when read-only
    virtual QString sourceName() const = 0;
};

// A value as the user sees it (see Field::asString).
QString displayText(const QVariant& value, FieldKind kind);

class Field {
public:
    Field(RecordSource* source, int index) : src_(source), i_(index) {}

    const FieldDef& def() const { return src_->fieldDef(i_); }
    const QString& name() const { return def().name; }
    FieldKind kind() const { return def().kind; }
    int size() const { return def().size; }
    int index() const { return i_; }

    QVariant value() const { return src_->fieldValue(i_); }
    bool isNull() const { return value().isNull(); }

    // Text of the value as the user sees it: numbers with a decimal comma (a float with as many
    // places as it needs), dates dd.mm.yyyy, logical "True" / "False", blank as "".
    QString asString() const;
    qint64 asInteger() const;  // blank 0; a float rounded
    double asFloat() const;    // blank 0
    Decimal asDecimal() const; // blank 0; a float rounded half to even to four places
    bool asBoolean() const;    // blank false
    QDate asDate() const;
    QTime asTime() const;
    QDateTime asDateTime() const;
    QByteArray asBytes() const;

    // Assigns (the record must be in edit or insert). Text is cut to the field's size; an empty
    // text is blank. Throws StorageError when the value does not fit the kind.
    void setValue(const QVariant& v) { src_->setFieldValue(i_, v); }
    void setString(const QString& s) { setValue(s); }
    void setInteger(qint64 v) { setValue(v); }
    void setFloat(double v) { setValue(v); }
    void setDecimal(Decimal v) { setValue(v.toDouble()); }
    void setBoolean(bool v) { setValue(v); }
    void setDate(const QDate& d) { setValue(d); }
    void setDateTime(const QDateTime& d) { setValue(d); }
    void clear() { setValue(QVariant()); }

private:
    RecordSource* src_;
    int i_;
};

} // namespace brix
