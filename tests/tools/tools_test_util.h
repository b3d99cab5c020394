#pragma once
// Helpers of the format tests: writing a table from a list of records and reading one back.

#include "codec.h"
#include "formats/format_util.h"
#include "formats/paradox_cipher.h"
#include "formats/table.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
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
    return QStringLiteral(BRIX_SOURCE_DIR "/tests/tools/data/paradox/") + relative;
}

inline QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Protects a Paradox table our writer made with a password, as the programs that protect
// tables do: the key into the extended header, every data block and the whole memo file
// enciphered.
inline bool encipherTable(const QString& dbPath, const QString& password) {
    QByteArray db = readBytes(dbPath);
    if (db.size() < 0x78) return false;
    const quint32 key = cipher::passwordChecksum(brix::encode(password));
    const int headerSize = detail::le16(db.constData() + 2);
    const int blockSize = quint8(db[5]) * 1024;
    detail::putLe32(db.data() + 0x5C, key);
    for (int n = 1; headerSize + qint64(n) * blockSize <= db.size(); ++n)
        cipher::encipherBlock(db.data() + headerSize + qint64(n - 1) * blockSize, blockSize, key,
                              n);
    if (!writeBytes(dbPath, db)) return false;
    const QString mbPath = detail::companion(dbPath, QStringLiteral("mb"));
    if (!QFile::exists(mbPath)) return true;
    QByteArray mb = readBytes(mbPath);
    cipher::encipherMemo(mb.data(), mb.size() / cipher::kChunk * cipher::kChunk, key);
    return writeBytes(mbPath, mb);
}

} // namespace brix::formats::test

namespace brix::formats::test {

// A table of every kind the catalogue uses, with Czech texts, blanks and memos of every length.
inline QList<FieldDef> everyKindFields() {
    return {{"Cis_Vyr", FieldKind::AutoInc},   {"Nazev", FieldKind::Text, 30},
            {"PorCis", FieldKind::Short},      {"Cis_Firmy", FieldKind::Long},
            {"Kurs", FieldKind::Float},        {"Cena", FieldKind::Money},
            {"Platba", FieldKind::Logical},    {"Vystaveno", FieldKind::Date},
            {"Cas", FieldKind::Time},          {"Posl_Zmena", FieldKind::Timestamp},
            {"Poznamka", FieldKind::Memo, 20}, {"Popis", FieldKind::FormattedMemo},
            {"Obrazek", FieldKind::Blob}};
}

inline QList<Record> everyKindRecords() {
    const QString czech = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy ČŘŽŠĚ");
    QByteArray binary;
    for (int i = 0; i < 3000; ++i)
        binary.append(char(i % 256));
    return {
        {1, QStringLiteral("Šroub M8 ěščřžýáíé"), 1, 1200, 25.125, 1234.5678, true,
         QDate(2026, 12, 9), QTime(13, 45, 30), QDateTime(QDate(2026, 12, 9), QTime(8, 1, 2)),
         QStringLiteral("Krátká"), QStringLiteral("Formátovaná poznámka"), QByteArray("\0\1\2", 3)},
        {2, QStringLiteral("Hřebík"), -5, -70000, -0.5, -12.34, false, QDate(1999, 1, 31),
         QTime(0, 0, 0), QDateTime(QDate(1901, 3, 4), QTime(23, 59, 59)), czech.repeated(40),
         czech.repeated(200), binary},
        {3, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
         QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
        {4, QStringLiteral("007"), 0, 0, 0.0, 0.0, false, QDate(1, 1, 1), QTime(12, 0),
         QDateTime(QDate(2000, 2, 29), QTime(0, 0)), czech + QStringLiteral("\r\nřádek 2"),
         QStringLiteral("x"), QByteArray(1, 'x')},
    };
}

} // namespace brix::formats::test
