// Paradox tables: the tables of other programs read right, ours read back unchanged.

#include "codec.h"
#include "formats/paradox.h"
#include "tools_test_util.h"

#include <QFile>

using namespace brix::formats;
using namespace brix::formats::test;

TEST(ParadoxFixtures, MemosAndFormattedMemos) {
    Table memo = readAll(fixture("fields/memo.db"));
    ASSERT_TRUE(memo.error.isEmpty()) << memo.error.toStdString();
    ASSERT_EQ(memo.records.size(), 2);
    EXPECT_EQ(memo.fields[1].kind, FieldKind::Memo);
    EXPECT_EQ(memo.records[0][0].toInt(), 1);
    EXPECT_EQ(memo.records[0][1].toString().size(), 555);
    EXPECT_TRUE(memo.records[0][1].toString().startsWith("0123456789"));
    EXPECT_EQ(memo.records[1][0].toInt(), 2);
    EXPECT_EQ(memo.records[1][1].toString(), QStringLiteral("01234567890\n"));

    Table fmemo = readAll(fixture("fields/fmemo.db"));
    ASSERT_TRUE(fmemo.error.isEmpty()) << fmemo.error.toStdString();
    ASSERT_EQ(fmemo.records.size(), 2);
    EXPECT_EQ(fmemo.fields[1].kind, FieldKind::FormattedMemo);
    EXPECT_EQ(fmemo.records[0][1].toString().size(), 169);
    EXPECT_EQ(fmemo.records[1][1].toString().size(), 726);
}

TEST(ParadoxFixtures, NumbersDatesAndBlanks) {
    Table bcd = readAll(fixture("fields/bcd.db"));
    ASSERT_TRUE(bcd.error.isEmpty()) << bcd.error.toStdString();
    ASSERT_EQ(bcd.records.size(), 3);
    EXPECT_EQ(bcd.fields[0].kind, FieldKind::Bcd);
    EXPECT_DOUBLE_EQ(bcd.records[0][0].toDouble(), 1.23);
    EXPECT_DOUBLE_EQ(bcd.records[0][1].toDouble(), 1.0);
    EXPECT_DOUBLE_EQ(bcd.records[0][2].toDouble(), 0.123);
    EXPECT_DOUBLE_EQ(bcd.records[1][0].toDouble(), -1.23);
    EXPECT_DOUBLE_EQ(bcd.records[1][1].toDouble(), -1.0);
    EXPECT_DOUBLE_EQ(bcd.records[1][2].toDouble(), -0.123);
    EXPECT_DOUBLE_EQ(bcd.records[2][0].toDouble(), 0.0);
    EXPECT_FALSE(bcd.records[2][0].isNull());
    EXPECT_TRUE(bcd.records[2][1].isNull());
    EXPECT_DOUBLE_EQ(bcd.records[2][2].toDouble(), 0.9999);

    Table ts = readAll(fixture("fields/timestamp.db"));
    ASSERT_EQ(ts.records.size(), 2);
    EXPECT_TRUE(ts.records[0][0].isNull());
    EXPECT_EQ(ts.records[1][0].toDateTime(), QDateTime(QDate(2020, 2, 1), QTime(1, 0, 1)));

    Table lg = readAll(fixture("fields/long.db"));
    ASSERT_EQ(lg.records.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(lg.records[i][0].toInt(), i + 1);
    EXPECT_EQ(lg.records[0][1].toInt(), 1);
    EXPECT_EQ(lg.records[1][1].toInt(), 2);
    EXPECT_TRUE(lg.records[2][1].isNull());

    Table tm = readAll(fixture("fields/time.db"));
    ASSERT_EQ(tm.records.size(), 3);
    EXPECT_EQ(tm.records[0][0].toTime(), QTime(1, 0, 1));
    EXPECT_TRUE(tm.records[1][0].isNull());
}

TEST(ParadoxFixtures, EveryOtherTableReadsWhole) {
    const char* files[] = {"db/CUSTOMER.DB",  "db/ORDERS.DB",        "db/AREACODE.DB",
                           "db/AREACODES.DB", "db/CONTACTS.DB",      "db/DECIMAL.DB",
                           "db/GENERAL.DB",   "db/HERCULES.DB",      "db/ROMAN8.db",
                           "db/SERVER.DB",    "fields/date35.db",    "fields/date4.db",
                           "fields/date5.db", "fields/date7.db",     "fields/logical.db",
                           "fields/bytes.db", "fields/graphic240.db"};
    for (const char* f : files) {
        auto reader = openTable(fixture(f), {}, nullptr);
        ASSERT_TRUE(reader) << f;
        qint64 n = 0;
        Record r;
        while (reader->next(&r)) {
            EXPECT_EQ(r.size(), reader->fields().size());
            ++n;
        }
        EXPECT_TRUE(reader->errorString().isEmpty()) << f << reader->errorString().toStdString();
        EXPECT_EQ(n, reader->recordCount()) << f;
        EXPECT_GT(reader->fields().size(), 0) << f;
    }
}

TEST(ParadoxCodePages, ATableOfHpRoman8ReadsRight) {
    ParadoxReader r;
    ASSERT_TRUE(r.open(fixture("db/ROMAN8.db"))) << r.errorString().toStdString();
    Record rec;
    ASSERT_TRUE(r.next(&rec));
    EXPECT_EQ(rec[0].toString(), QStringLiteral("Š½ƒ¶"));
    EXPECT_EQ(r.codePage(), 0); // named by its language driver only
}

// The texts of a table are decoded by the code page its header names, else by its language
// driver, else as Windows-1250.
TEST(ParadoxCodePages, TextsFollowTheCodePageOfTheHeader) {
    struct Case {
        int codePage;
        const char* driver;
        QByteArray bytes;
        QString text;
        int expectedCodePage;
    };
    const QList<Case> cases = {
        {1250, "ascii", QByteArray::fromHex("8ae8f8"), QStringLiteral("Ščř"), 1250},
        {852, "ascii", QByteArray::fromHex("e69ffd"), QStringLiteral("Ščř"), 852},
        {895, "ascii", brix::encode(u"Ščř", brix::Codepage::Kamenicky), QStringLiteral("Ščř"), 895},
        {437, "ascii", QByteArray::fromHex("829ae1"), QStringLiteral("éÜß"), 437},
        {850, "ascii", QByteArray::fromHex("829a9b"), QStringLiteral("éÜø"), 850},
        {1252, "ascii", QByteArray::fromHex("80e99f"), QStringLiteral("€éŸ"), 1252},
        {0, "ascii", QByteArray::fromHex("829ae1"), QStringLiteral("éÜß"), 437},
        {0, "cskamen", brix::encode(u"Ščř", brix::Codepage::Kamenicky), QStringLiteral("Ščř"), 895},
        {0, "BLROM800", QByteArray::fromHex("ebf8bef4"), QStringLiteral("Š½ƒ¶"), 0},
        {0, "", QByteArray::fromHex("8ae8f8"), QStringLiteral("Ščř"), 1250},
        {0, "unknown", QByteArray::fromHex("8ae8f8"), QStringLiteral("Ščř"), 1250},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("cp.db");
    for (const Case& c : cases) {
        ParadoxWriter w;
        ASSERT_TRUE(writeAll(w, path, {{"Nazev", FieldKind::Text, 10}}, {{QStringLiteral("x")}}));
        QByteArray file = readBytes(path);
        const int headerSize = detail::le16(file.constData() + 2);
        detail::putLe16(file.data() + 0x6A, quint32(c.codePage));
        // The sort order follows the field name and number: "Nazev\0" and two bytes.
        const int sortOrder = int(file.indexOf(QByteArray("Nazev\0", 6), 0x78)) + 6 + 2;
        ASSERT_EQ(file.mid(sortOrder, 6), QByteArray("ascii\0", 6));
        const QByteArray driver = QByteArray(c.driver).leftJustified(8, '\0');
        file.replace(sortOrder, 8, driver);
        file.replace(headerSize + 6, int(c.bytes.size()), c.bytes);
        ASSERT_TRUE(writeBytes(path, file));
        ParadoxReader r;
        ASSERT_TRUE(r.open(path)) << r.errorString().toStdString();
        Record rec;
        ASSERT_TRUE(r.next(&rec));
        EXPECT_EQ(rec[0].toString(), c.text) << c.codePage << " " << c.driver;
        EXPECT_EQ(r.codePage(), c.expectedCodePage) << c.codePage << " " << c.driver;
    }
}
