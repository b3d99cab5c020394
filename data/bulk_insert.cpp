#include "bulk_insert.h"

#include "filter.h"

namespace brix {

BulkInsert::BulkInsert(Database& db, const TableDef& def) : db_(db), def_(def) {
    const QStringList physical = db.physicalColumns(def);
    QStringList cols, marks;
    for (int i = 0; i < def.fields.size(); ++i) {
        if (!physical.contains(def.fields[i].name.toLower())) continue;
        columns_ << i;
        cols << sqlIdentifier(def.fields[i].name);
        marks << QStringLiteral("?");
    }
    insert_ = db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                             .arg(sqlIdentifier(def.sqlName), cols.join(QLatin1String(", ")),
                                  marks.join(QLatin1String(", "))));
}

BulkInsert::~BulkInsert() {
    if (inserted_ > 0) db_.noteWrite();
}

void BulkInsert::insert(const QVector<QVariant>& values) {
    for (int c = 0; c < columns_.size(); ++c) {
        const FieldDef& f = def_.fields[columns_[c]];
        insert_.bind(c + 1, toFieldValue(values.value(columns_[c]), f), f.kind);
    }
    insert_.exec();
    ++inserted_;
}

qint64 countRecords(Database& db, const TableDef& def) {
    Statement st =
        db.prepare(QStringLiteral("SELECT count(*) FROM %1").arg(sqlIdentifier(def.sqlName)));
    st.step();
    return st.columnInt(0);
}

void deleteAllRecords(Database& db, const TableDef& def) {
    db.prepare(QStringLiteral("DELETE FROM %1").arg(sqlIdentifier(def.sqlName))).exec();
    db.noteWrite();
}

} // namespace brix
