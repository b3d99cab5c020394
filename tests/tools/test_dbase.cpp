// dBASE IV tables we write read back; the file carries the layout other programs expect.

#include "codec.h"
#include "formats/dbase.h"
#include "tools_test_util.h"

#include <QFile>

using namespace brix::formats;
using namespace brix::formats::test;

TEST(DbaseRoundTrip, EveryKindCzechTextMemosAndBlanks) {
    QTemporaryDir dir;
    const QString path = dir.filePath("TableVyr.dbf");
    DbaseWriter w;
    ASSERT_TRUE(writeAll(w, path, everyKindFields(), everyKindRecords()))
        << w.errorString().toStdString();

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(quint8(bytes[0]), 0x8B);  // dBASE IV with a memo file
    EXPECT_EQ(quint8(bytes[29]), 0xC8); // Windows-1250
    EXPECT_EQ(quint8(bytes[4]), 4);
    EXPECT_EQ(bytes.back(), char(0x1A));
    QByteArray types;
    for (int i = 0; i < everyKindFields().size(); ++i)
        types += bytes[32 + 32 * i + 11];
    EXPECT_EQ(types, QByteArray("NCNNFNLDCCMMM"));
    // Czech text is stored in Windows-1250.
    EXPECT_TRUE(bytes.contains(brix::encode(QStringLiteral("Šroub M8 ěščřžýáíé"))));

    Table t = readAll(path);
    ASSERT_TRUE(t.error.isEmpty()) << t.error.toStdString();
    ASSERT_EQ(t.records.size(), 4);
    EXPECT_EQ(t.fields[1].name, QStringLiteral("Nazev"));
    EXPECT_EQ(t.fields[1].size, 30);
    const QList<Record> want = everyKindRecords();
    for (int r = 0; r < want.size(); ++r) {
        const Record& got = t.records[r];
        const Record& w = want[r];
        SCOPED_TRACE(r);
        EXPECT_EQ(got[0].toInt(), w[0].toInt());
        EXPECT_EQ(got[1], w[1]);
        if (w[2].isNull()) {
            for (int i = 1; i < w.size(); ++i)
                EXPECT_TRUE(got[i].isNull()) << i;
            continue;
        }
        EXPECT_EQ(got[2].toInt(), w[2].toInt());
        EXPECT_EQ(got[3].toInt(), w[3].toInt());
        EXPECT_DOUBLE_EQ(got[4].toDouble(), w[4].toDouble());
        EXPECT_DOUBLE_EQ(got[5].toDouble(), w[5].toDouble());
        EXPECT_EQ(got[6].toBool(), w[6].toBool());
        EXPECT_FALSE(got[6].isNull());
        EXPECT_EQ(got[7].toDate(), w[7].toDate());
        EXPECT_EQ(got[8].toString(), w[8].toTime().toString("hh:mm:ss"));
        EXPECT_EQ(got[9].toString(), w[9].toDateTime().toString("dd.MM.yyyy hh:mm:ss"));
        EXPECT_EQ(got[10].toString(), w[10].toString());
        EXPECT_EQ(got[11].toString(), w[11].toString());
    }
}

TEST(DbaseRoundTrip, EmptyTableAndTableWithoutMemos) {
    QTemporaryDir dir;
    DbaseWriter w;
    ASSERT_TRUE(writeAll(w, dir.filePath("TableHlaDL"), everyKindFields(), {}));
    Table t = readAll(dir.filePath("TableHlaDL.dbf"));
    EXPECT_TRUE(t.error.isEmpty());
    EXPECT_EQ(t.fields.size(), everyKindFields().size());
    EXPECT_TRUE(t.records.isEmpty());

    ASSERT_TRUE(writeAll(w, dir.filePath("plain.dbf"), {{"A", FieldKind::Text, 5}},
                         {{QStringLiteral("ab")}}));
    EXPECT_FALSE(QFile::exists(dir.filePath("plain.dbt")));
    t = readAll(dir.filePath("plain.dbf"));
    ASSERT_EQ(t.records.size(), 1);
    EXPECT_EQ(t.records[0][0].toString(), QStringLiteral("ab"));
}

TEST(DbaseNames, LongNamesThatClashGetDigitsAndAMappingFile) {
    EXPECT_EQ(dbaseFieldNames({"Cena_CiziC", "Cena_CiziCelk", "Cena_CiziCelkem", "Kratke"}),
              (QStringList{"Cena_CiziC", "Cena_Cizi1", "Cena_Cizi2", "Kratke"}));
    EXPECT_EQ(dbaseFieldNames({"ABCDEFGHIJK", "abcdefghijL"}),
              (QStringList{"ABCDEFGHIJ", "abcdefghi1"}));

    QTemporaryDir dir;
    DbaseWriter w;
    const QList<FieldDef> fields = {{"Zaklad_Celkem", FieldKind::Money},
                                    {"Zaklad_Celkem_DPH", FieldKind::Money},
                                    {"Cis", FieldKind::Long}};
    ASSERT_TRUE(writeAll(w, dir.filePath("TableHlaFaV.dbf"), fields, {{1.5, 2.5, 3}}));
    Table t = readAll(dir.filePath("TableHlaFaV.dbf"));
    ASSERT_EQ(t.fields.size(), 3);
    EXPECT_EQ(t.fields[0].name, QStringLiteral("Zaklad_Cel"));
    EXPECT_EQ(t.fields[1].name, QStringLiteral("Zaklad_Ce1"));
    EXPECT_EQ(t.fields[2].name, QStringLiteral("Cis"));
    EXPECT_DOUBLE_EQ(t.records[0][1].toDouble(), 2.5);
    QStringList lines;
    ASSERT_TRUE(brix::readTextLines(dir.filePath("TableHlaFaV_names.txt"), &lines));
    EXPECT_EQ(lines, (QStringList{"Zaklad_Cel;Zaklad_Celkem", "Zaklad_Ce1;Zaklad_Celkem_DPH"}));

    // A later export without long names leaves no stale mapping behind.
    ASSERT_TRUE(writeAll(w, dir.filePath("TableHlaFaV.dbf"), {{"Cis", FieldKind::Long}}, {}));
    EXPECT_FALSE(QFile::exists(dir.filePath("TableHlaFaV_names.txt")));
}

TEST(DbaseErrors, ValuesTooWideAndMissingFilesAreReported) {
    QTemporaryDir dir;
    DbaseWriter w;
    ASSERT_TRUE(w.open(dir.filePath("a.dbf"), {{"Cena", FieldKind::Money}}));
    EXPECT_FALSE(w.append({1e20}));
    EXPECT_TRUE(w.errorString().contains(QStringLiteral("nevejde")));
    EXPECT_FALSE(w.close());

    ASSERT_TRUE(writeAll(w, dir.filePath("m.dbf"), {{"Pozn", FieldKind::Memo}},
                         {{QStringLiteral("poznámka")}}));
    ASSERT_TRUE(QFile::remove(dir.filePath("m.dbt")));
    Table t = readAll(dir.filePath("m.dbf"));
    EXPECT_TRUE(t.error.contains(QStringLiteral("Chybí soubor poznámek")));

    t = readAll(dir.filePath("none.dbf"));
    EXPECT_TRUE(t.error.contains(QStringLiteral("Nelze otevřít")));

    QFile junk(dir.filePath("junk.dbf"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a table");
    junk.close();
    t = readAll(junk.fileName());
    EXPECT_TRUE(t.error.contains(QStringLiteral("není platná tabulka DBase")));
}

// A table of an older program: dBASE III with its memo file ended by 0x1A 0x1A, code page 852,
// a deleted record and a logical of "?".
TEST(DbaseForeign, DbaseThreeMemosCodePage852AndDeletedRecords) {
    QTemporaryDir dir;
    QByteArray head(32, '\0');
    head[0] = char(0x83);
    head[4] = 3;
    head[8] = char(32 + 3 * 32 + 1);
    head[10] = char(1 + 10 + 1 + 10);
    head[29] = 0x64;
    auto field = [](const char* name, char type, int len) {
        QByteArray d(32, '\0');
        memcpy(d.data(), name, strlen(name));
        d[11] = type;
        d[16] = char(len);
        return d;
    };
    QByteArray dbf = head + field("JMENO", 'C', 10) + field("OK", 'L', 1) + field("POZN", 'M', 10) +
                     QByteArray(1, 0x0D);
    const QByteArray zlutoucky = brix::encode(QStringLiteral("Žluťoučký"), brix::Codepage::Cp852);
    dbf += ' ' + zlutoucky.leftJustified(10, ' ') + 'T' + QByteArray("         1");
    dbf += '*' + QByteArray("smazaný  ").leftJustified(10, ' ') + 'F' + QByteArray(10, ' ');
    dbf += ' ' + QByteArray("Kun").leftJustified(10, ' ') + '?' + QByteArray(10, ' ');
    dbf += char(0x1A);
    QFile f(dir.filePath("STARA.DBF"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(dbf);
    f.close();
    QByteArray dbt(512, '\0');
    dbt += brix::encode(QStringLiteral("Poznámka ve 852"), brix::Codepage::Cp852) + "\x1a\x1a";
    QFile m(dir.filePath("STARA.DBT"));
    ASSERT_TRUE(m.open(QIODevice::WriteOnly));
    m.write(dbt);
    m.close();

    Table t = readAll(dir.filePath("STARA.DBF"));
    ASSERT_TRUE(t.error.isEmpty()) << t.error.toStdString();
    ASSERT_EQ(t.records.size(), 2);
    EXPECT_EQ(t.records[0][0].toString(), QStringLiteral("Žluťoučký"));
    EXPECT_EQ(t.records[0][1].toBool(), true);
    EXPECT_EQ(t.records[0][2].toString(), QStringLiteral("Poznámka ve 852"));
    EXPECT_TRUE(t.records[1][1].isNull());
    EXPECT_TRUE(t.records[1][2].isNull());
}

// The language driver byte names the code page of the texts: the Western DOS and Windows ones
// are not read as Latin-1.
TEST(DbaseForeign, TextsFollowTheLanguageDriver) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cp.dbf");
    for (const auto& [driver, bytes, text] :
         {std::tuple{0x01, QByteArray::fromHex("829ae1"), QStringLiteral("éÜß")},
          std::tuple{0x02, QByteArray::fromHex("829a9b"), QStringLiteral("éÜø")},
          std::tuple{0x03, QByteArray::fromHex("80e99f"), QStringLiteral("€éŸ")},
          std::tuple{0x64, QByteArray::fromHex("e69ffd"), QStringLiteral("Ščř")},
          std::tuple{0xC8, QByteArray::fromHex("8ae8f8"), QStringLiteral("Ščř")},
          std::tuple{0x00, QByteArray::fromHex("8ae8f8"), QStringLiteral("Ščř")}}) {
        DbaseWriter w;
        ASSERT_TRUE(writeAll(w, path, {{"Nazev", FieldKind::Text, 10}}, {{QStringLiteral("x")}}));
        QByteArray file = readBytes(path);
        file[29] = char(driver);
        const int headerSize = detail::le16(file.constData() + 8);
        file.replace(headerSize + 1, int(bytes.size()), bytes);
        ASSERT_TRUE(writeBytes(path, file));
        Table t = readAll(path);
        ASSERT_EQ(t.records.size(), 1) << t.error.toStdString();
        EXPECT_EQ(t.records[0][0].toString(), text) << driver;
    }
}

TEST(DbaseErrors, RandomDamageIsSurvived) {
    QTemporaryDir dir;
    const QString path = dir.filePath("t.dbf");
    DbaseWriter w;
    ASSERT_TRUE(writeAll(w, path, everyKindFields(), everyKindRecords()));
    QFile dbf(path), dbt(dir.filePath("t.dbt"));
    ASSERT_TRUE(dbf.open(QIODevice::ReadOnly) && dbt.open(QIODevice::ReadOnly));
    const QByteArray fBytes = dbf.readAll(), tBytes = dbt.readAll();
    dbf.close();
    dbt.close();
    quint32 seed = 777;
    auto rnd = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8); };
    for (int round = 0; round < 300; ++round) {
        QByteArray f = fBytes, t = tBytes;
        for (int k = 0; k < 4; ++k) {
            if (round % 2)
                f[rnd() % f.size()] = char(rnd());
            else
                t[rnd() % t.size()] = char(rnd());
        }
        ASSERT_TRUE(dbf.open(QIODevice::WriteOnly | QIODevice::Truncate));
        dbf.write(f);
        dbf.close();
        ASSERT_TRUE(dbt.open(QIODevice::WriteOnly | QIODevice::Truncate));
        dbt.write(t);
        dbt.close();
        Table table = readAll(path);
        EXPECT_LE(table.records.size(), 255);
    }
}
