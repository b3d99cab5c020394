#include "key_lookup.h"

#include "filter.h"
#include "storage_error.h"

namespace brix {

namespace {

const FieldDef& fieldOf(const TableDef& def, const QString& name) {
    const int i = def.fieldIndex(name);
    if (i < 0)
        throw StorageError(
            StorageErrorKind::NotFound,
            QStringLiteral("Pole %1 v tabulce %2 neexistuje").arg(name, def.address()),
            def.address(), name);
    return def.fields[i];
}

} // namespace

KeyLookup::KeyLookup(Database& db, const QString& address, const QStringList& keyFields,
                     const QString& boundField, const QStringList& fields)
    : db_(db) {
    const TableDef& def = db.table(address);
    address_ = def.address();
    const QStringList present = db.physicalColumns(def);
    if (fields.isEmpty()) {
        for (const FieldDef& f : def.fields)
            if (present.contains(f.name.toLower())) fields_.push_back(f);
    } else {
        // A field an older data root lacks is left out (fieldIndex answers -1 for it).
        for (const QString& name : fields) {
            const FieldDef& f = fieldOf(def, name);
            if (present.contains(f.name.toLower())) fields_.push_back(f);
        }
    }
    QStringList columns, conditions;
    for (const FieldDef& f : fields_)
        columns << sqlIdentifier(f.name);
    for (const QString& name : keyFields) {
        keys_.push_back(fieldOf(def, name));
        conditions << sqlIdentifier(keys_.back().name) + QLatin1String(" = ?");
    }
    // Of several records with the key, the first written.
    QString order = QStringLiteral(" ORDER BY rowid");
    if (!boundField.isEmpty()) {
        keys_.push_back(fieldOf(def, boundField));
        const QString b = sqlIdentifier(keys_.back().name);
        conditions << b + QLatin1String(" <= ?");
        order = QLatin1String(" ORDER BY ") + b + QLatin1String(" DESC");
    }
    QString sql = QLatin1String("SELECT ") + columns.join(QLatin1String(", ")) +
                  QLatin1String(" FROM ") + sqlIdentifier(def.sqlName);
    if (!conditions.isEmpty()) sql += QLatin1String(" WHERE ") + conditions.join(" AND ");
    st_ = db.prepare(sql + order + QLatin1String(" LIMIT 1"));
    buf_.resize(fields_.size());
}

bool KeyLookup::find(const QVariantList& values) {
    hasRecord_ = false;
    if (values.size() != keys_.size())
        throw StorageError(StorageErrorKind::Other,
                           QStringLiteral("Hledání v tabulce %1 potřebuje %2 hodnot klíče")
                               .arg(address_)
                               .arg(keys_.size()),
                           address_);
    st_.reset();
    for (int i = 0; i < keys_.size(); ++i) {
        const QVariant v = toFieldValue(values[i], keys_[i]);
        if (v.isNull()) return false;
        st_.bind(i + 1, v, keys_[i].kind);
    }
    if (st_.step()) {
        for (int i = 0; i < fields_.size(); ++i)
            buf_[i] = st_.column(i, fields_[i].kind);
        hasRecord_ = true;
    }
    st_.reset();
    return hasRecord_;
}

int KeyLookup::fieldIndex(const QString& name) const {
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void KeyLookup::setFieldValue(int, const QVariant&) {
    throw StorageError(StorageErrorKind::State,
                       QStringLiteral("Výsledek hledání v tabulce %1 nelze měnit").arg(address_),
                       address_);
}

} // namespace brix
