#pragma once
// dBASE IV tables: the .dbf file with its .dbt memo file, Windows-1250 text.
//
// Kinds written: text as C (at most 254 characters), short and long integers as N(6,0) and
// N(11,0), floats as F(20,6) (or the field's places), money as N(20,4), BCD as N(20,places),
// logicals as L, dates as D, times and timestamps as C(8) "hh:mm:ss" and C(19)
// "dd.mm.yyyy hh:mm:ss", memos, formatted memos and binary fields as M. Field names have at most
// ten characters: names that shorten to the same one get digits at their end, and the mapping of
// every renamed field is written beside the table into "<table>_names.txt".

#include "format_util.h"
#include "table.h"

#include <QFile>
#include <QStringList>

namespace brix::formats {

// The dBASE names of fields: each cut to ten characters, clashes (ignoring case) resolved by
// replacing the last characters with "1", "2", ...
QStringList dbaseFieldNames(const QStringList& names);

class DbaseWriter : public TableWriter {
public:
    ~DbaseWriter() override;
    // `path` names the .dbf file (the extension is added when missing).
    bool open(const QString& path, const QList<FieldDef>& fields) override;
    bool append(const Record& record) override;
    bool close() override;

    struct Column {
        QByteArray name;
        char type = 'C';
        int length = 0;
        int decimals = 0;
        FieldKind kind = FieldKind::Text;
    };

private:
    bool fail(const QString& message);
    bool writeMemo(const QByteArray& data, QByteArray* pointer);

    QFile dbf_;
    QFile dbt_;
    QList<Column> columns_;
    QList<FieldDef> fields_;
    int recordSize_ = 1;
    quint32 records_ = 0;
    quint32 nextMemoBlock_ = 1;
    bool hasMemo_ = false;
    QByteArray buffer_;
};

class DbaseReader : public TableReader {
public:
    bool open(const QString& path, const QString& password = {}) override;
    bool next(Record* record) override;

private:
    QVariant memo(const QByteArray& pointer, FieldKind kind);

    struct Column {
        char type = 'C';
        int offset = 0;
        int length = 0;
        int decimals = 0;
    };
    QFile dbf_;
    QFile dbt_;
    QList<Column> columns_;
    int recordSize_ = 0;
    int memoBlockSize_ = 512;
    bool dbaseIvMemo_ = true;
    qint64 index_ = 0;
    detail::TextCodec codec_;
    QString path_;
};

} // namespace brix::formats
