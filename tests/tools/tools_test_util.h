#pragma once
// Helpers of the format tests: writing a table from a list of records and reading one back.

#include "table.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace brix::formats::test {

inline bool writeAll(TableWriter& w, const QString& path, const QList<FieldDef>& fields,
                     const QList<Record>& records) {
    if (!w.open(path, fields)) return false;
    for (const Record& r : records)
        if (!w.append(r)) return false;
    return w.close();
}

struct Table {
    QList<FieldDef> fields;
    QList<Record> records;
    QString error;
};

inline Table readAll(const QString& path, const QString& password = {}) {
    Table t;
    auto reader = openTable(path, password, &t.error);
    if (!reader) return t;
    t.fields = reader->fields();
    Record r;
    while (reader->next(&r))
        t.records << r;
    t.error = reader->errorString();
    return t;
}

inline QString fixture(const QString& relative) {
    return QStringLiteral(BRIX_SHARED_DIR "/fixtures/paradox/") + relative;
}

} // namespace brix::formats::test
