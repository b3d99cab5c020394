#include "bulk.h"

#include "filter.h"

#include <sqlite3.h>

namespace brix {

namespace {

// The field's definition when the SQL table has its column; null otherwise.
const FieldDef* column(const Database& db, const TableDef& t, const QString& field) {
    const FieldDef* f = t.field(field);
    if (!f || !db.hasPhysicalColumn(t, f->name)) return nullptr;
    return f;
}

qint64 run(Database& db, const QString& sql, const QVector<QPair<QVariant, FieldKind>>& values) {
    Statement st = db.prepare(sql);
    for (int i = 0; i < values.size(); ++i)
        st.bind(i + 1, values[i].first, values[i].second);
    st.exec();
    const qint64 n = sqlite3_changes64(db.handle());
    db.noteWrite();
    return n;
}

} // namespace

qint64 countRows(Database& db, const TableDef& t, const QString& field, const QVariant& value) {
    const FieldDef* f = column(db, t, field);
    if (!f) return 0;
    Statement st = db.prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = ?")
                                  .arg(sqlIdentifier(t.sqlName), sqlIdentifier(f->name)));
    st.bind(1, value, f->kind);
    return st.step() ? st.columnInt(0) : 0;
}

qint64 updateRows(Database& db, const TableDef& t, const QString& field, const QVariant& from,
                  const QVariant& to) {
    const FieldDef* f = column(db, t, field);
    if (!f) return 0;
    return run(db,
               QStringLiteral("UPDATE %1 SET %2 = ? WHERE %2 = ?")
                   .arg(sqlIdentifier(t.sqlName), sqlIdentifier(f->name)),
               {{to, f->kind}, {from, f->kind}});
}

qint64 deleteRows(Database& db, const TableDef& t, const QString& field, const QVariant& value) {
    const FieldDef* f = column(db, t, field);
    if (!f) return 0;
    return run(db,
               QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                   .arg(sqlIdentifier(t.sqlName), sqlIdentifier(f->name)),
               {{value, f->kind}});
}

} // namespace brix
