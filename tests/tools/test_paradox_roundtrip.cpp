// Paradox tables we write read back with the same fields and records.

#include "formats/paradox.h"
#include "tools_test_util.h"

#include <QFile>

using namespace brix::formats;
using namespace brix::formats::test;

TEST(ParadoxRoundTrip, EveryKindCzechTextMemosAndBlanks) {
    QTemporaryDir dir;
    const QString path = dir.filePath("TableVyr.db");
    ParadoxWriter w;
    ASSERT_TRUE(writeAll(w, path, everyKindFields(), everyKindRecords()))
        << w.errorString().toStdString();
    ASSERT_TRUE(QFile::exists(dir.filePath("TableVyr.mb")));

    ParadoxReader r;
    ASSERT_TRUE(r.open(path)) << r.errorString().toStdString();
    EXPECT_EQ(r.codePage(), 1250);
    EXPECT_EQ(r.recordCount(), 4);
    const QList<FieldDef> expected = everyKindFields();
    ASSERT_EQ(r.fields().size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(r.fields()[i].name, expected[i].name);
        EXPECT_EQ(r.fields()[i].kind, expected[i].kind) << i;
    }
    EXPECT_EQ(r.fields()[1].size, 30);
    EXPECT_EQ(r.fields()[10].size, 20);

    const QList<Record> records = everyKindRecords();
    Record got;
    for (const Record& want : records) {
        ASSERT_TRUE(r.next(&got)) << r.errorString().toStdString();
        for (int i = 0; i < want.size(); ++i) {
            if (want[i].isNull())
                EXPECT_TRUE(got[i].isNull()) << "field " << i;
            else
                EXPECT_EQ(got[i], want[i]) << "field " << i << " record " << want[0].toInt();
        }
    }
    EXPECT_FALSE(r.next(&got));
    EXPECT_TRUE(r.errorString().isEmpty());
}

TEST(ParadoxRoundTrip, ManyBlocksAndManyMemosKeepTheirOrder) {
    QTemporaryDir dir;
    const QString path = dir.filePath("TablePolDL.db");
    const QList<FieldDef> fields = {{"PorCis", FieldKind::Long},
                                    {"Nazev", FieldKind::Text, 200},
                                    {"Poznamka", FieldKind::Memo, 10}};
    ParadoxWriter w;
    ASSERT_TRUE(w.open(path, fields));
    const int n = 5000;
    for (int i = 0; i < n; ++i)
        ASSERT_TRUE(w.append({i, QStringLiteral("Položka č. %1").arg(i),
                              QStringLiteral("Poznámka %1 ").arg(i).repeated(1 + i % 40)}));
    ASSERT_TRUE(w.close()) << w.errorString().toStdString();

    Table t = readAll(path);
    ASSERT_TRUE(t.error.isEmpty()) << t.error.toStdString();
    ASSERT_EQ(t.records.size(), n);
    for (int i = 0; i < n; ++i) {
        ASSERT_EQ(t.records[i][0].toInt(), i);
        ASSERT_EQ(t.records[i][1].toString(), QStringLiteral("Položka č. %1").arg(i));
        ASSERT_EQ(t.records[i][2].toString(),
                  QStringLiteral("Poznámka %1 ").arg(i).repeated(1 + i % 40));
    }
}

TEST(ParadoxRoundTrip, EmptyTableKeepsItsFields) {
    QTemporaryDir dir;
    const QString path = dir.filePath("TableHlaDL.db");
    ParadoxWriter w;
    ASSERT_TRUE(writeAll(w, path, everyKindFields(), {}));
    Table t = readAll(path);
    EXPECT_TRUE(t.error.isEmpty());
    EXPECT_EQ(t.fields.size(), everyKindFields().size());
    EXPECT_TRUE(t.records.isEmpty());
}

TEST(ParadoxRoundTrip, AutoIncrementTargetTakesTheCopiedNumbers) {
    QTemporaryDir dir;
    const QList<FieldDef> target = exportTargetFields(everyKindFields());
    EXPECT_EQ(target[0].kind, FieldKind::Long);
    EXPECT_EQ(target[1].size, 30);
    const QString path = dir.filePath("TableFir_Zapis.db");
    ParadoxWriter w;
    ASSERT_TRUE(writeAll(w, path, {target[0], target[1]},
                         {{17, QStringLiteral("a")}, {3, QStringLiteral("b")}, {250, QVariant()}}));
    Table t = readAll(path);
    ASSERT_EQ(t.records.size(), 3);
    EXPECT_EQ(t.fields[0].kind, FieldKind::Long);
    EXPECT_EQ(t.records[0][0].toInt(), 17);
    EXPECT_EQ(t.records[1][0].toInt(), 3);
    EXPECT_EQ(t.records[2][0].toInt(), 250);
}

TEST(ParadoxReaderErrors, DamagedFilesGiveAMessage) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.db");
    ParadoxWriter w;
    QList<Record> records;
    for (int i = 0; i < 2000; ++i)
        records << Record{i, QStringLiteral("text %1").arg(i)};
    ASSERT_TRUE(writeAll(w, path, {{"Id", FieldKind::Long}, {"T", FieldKind::Text, 100}}, records));

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const QByteArray whole = f.readAll();
    // A chain that points back at its first block must end with an error, not loop for ever.
    QByteArray looped = whole;
    looped[2048] = 1;
    looped[2049] = 0;
    f.seek(0);
    f.write(looped);
    f.close();
    Table t = readAll(path);
    EXPECT_FALSE(t.error.isEmpty());

    // A file cut short.
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(whole.left(3000));
    f.close();
    t = readAll(path);
    EXPECT_FALSE(t.error.isEmpty());
    EXPECT_LT(t.records.size(), 2000);

    // Not a table at all.
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("just some text that is not a table");
    f.close();
    t = readAll(path);
    EXPECT_TRUE(t.error.contains(QStringLiteral("není platná tabulka Paradox")));
}

TEST(ParadoxWriterErrors, NumbersOutOfRangeAreRefusedNotWrapped) {
    QTemporaryDir dir;
    ParadoxWriter w;
    ASSERT_TRUE(w.open(dir.filePath("r.db"), {{"S", FieldKind::Short}, {"L", FieldKind::Long}}));
    EXPECT_TRUE(w.append({-32767, 2147483647}));
    EXPECT_FALSE(w.append({70000, 1}));
    EXPECT_TRUE(w.errorString().contains(QStringLiteral("mimo rozsah")));
    EXPECT_FALSE(w.append({1, qint64(1) << 40}));
}

// Damaged bytes anywhere in a table and its memo file end in records or a message, never in a
// crash or a hang.
TEST(ParadoxReaderErrors, RandomDamageIsSurvived) {
    QTemporaryDir dir;
    const QString path = dir.filePath("t.db");
    ParadoxWriter w;
    ASSERT_TRUE(writeAll(w, path, everyKindFields(), everyKindRecords()));
    QFile db(path), mb(dir.filePath("t.mb"));
    ASSERT_TRUE(db.open(QIODevice::ReadOnly) && mb.open(QIODevice::ReadOnly));
    const QByteArray dbBytes = db.readAll(), mbBytes = mb.readAll();
    db.close();
    mb.close();
    quint32 seed = 12345;
    auto rnd = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8); };
    for (int round = 0; round < 300; ++round) {
        QByteArray d = dbBytes, m = mbBytes;
        for (int k = 0; k < 4; ++k) {
            if (round % 2)
                d[rnd() % d.size()] = char(rnd());
            else
                m[rnd() % m.size()] = char(rnd());
        }
        ASSERT_TRUE(db.open(QIODevice::WriteOnly | QIODevice::Truncate));
        db.write(d);
        db.close();
        ASSERT_TRUE(mb.open(QIODevice::WriteOnly | QIODevice::Truncate));
        mb.write(m);
        mb.close();
        Table t = readAll(path);
        EXPECT_LE(t.records.size(), 70000);
    }
}
