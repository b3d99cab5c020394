// One export run from a record source into each format, read back through our readers.

#include "codec.h"
#include "formats/export.h"
#include "tools_test_util.h"

#include <QFile>

using namespace brix::formats;
using namespace brix::formats::test;

namespace {

RecordSource sourceOf(const QList<Record>& records, int failAt = -1) {
    auto index = std::make_shared<int>(0);
    return [records, index, failAt](Record* r, QString* error) {
        if (*index == failAt) {
            *error = QStringLiteral("Chyba čtení zdrojové tabulky");
            return false;
        }
        if (*index >= records.size()) return false;
        *r = records[(*index)++];
        return true;
    };
}

} // namespace

TEST(Export, TablesOfEachFormatReadBackWithTheSameRecords) {
    QTemporaryDir dir;
    const QList<FieldDef> fields = everyKindFields();
    const QList<Record> records = everyKindRecords();
    for (ExportFormat format : {ExportFormat::Paradox, ExportFormat::Dbase}) {
        const ExportResult res =
            exportTable(format, dir.filePath("ExportDbf"), "TableVyr", fields, sourceOf(records));
        ASSERT_TRUE(res.ok) << res.error.toStdString();
        EXPECT_EQ(res.records, records.size());
        Table t = readAll(res.path);
        ASSERT_TRUE(t.error.isEmpty()) << t.error.toStdString();
        ASSERT_EQ(t.records.size(), records.size());
        EXPECT_EQ(t.fields[0].kind, FieldKind::Long); // the auto-increment target
        for (int r = 0; r < records.size(); ++r) {
            EXPECT_EQ(t.records[r][0].toInt(), records[r][0].toInt());
            EXPECT_EQ(t.records[r][1], records[r][1]);
            EXPECT_EQ(t.records[r][10], records[r][10]); // memo
        }
    }
    EXPECT_TRUE(QFile::exists(dir.filePath("ExportDbf/TableVyr.db")));
    EXPECT_TRUE(QFile::exists(dir.filePath("ExportDbf/TableVyr.mb")));
    EXPECT_TRUE(QFile::exists(dir.filePath("ExportDbf/TableVyr.dbf")));
    EXPECT_TRUE(QFile::exists(dir.filePath("ExportDbf/TableVyr.dbt")));
}

TEST(Export, TextUsesTheFieldListAndAFailureIsNoSuccess) {
    QTemporaryDir dir;
    const QList<FieldDef> fields = {{"Cis", FieldKind::Long}, {"Nazev", FieldKind::Text, 20}};
    ASSERT_TRUE(brix::writeTextLines(dir.filePath("TableObor_Ex.txt"), {"Nazev;"}));
    ExportResult res = exportTable(ExportFormat::Text, dir.path(), "TableObor", fields,
                                   sourceOf({{1, QStringLiteral("Barvy")}, {2, QVariant()}}));
    ASSERT_TRUE(res.ok) << res.error.toStdString();
    QString text;
    ASSERT_TRUE(brix::readTextFile(res.path, &text));
    EXPECT_EQ(text, QStringLiteral("Nazev;\r\nBarvy;\r\n;\r\n"));

    // The source fails half way: the error comes back, the old text file stays.
    res = exportTable(ExportFormat::Text, dir.path(), "TableObor", fields,
                      sourceOf({{1, QStringLiteral("Jiné")}, {2, QStringLiteral("x")}}, 1));
    EXPECT_FALSE(res.ok);
    EXPECT_EQ(res.error, QStringLiteral("Chyba čtení zdrojové tabulky"));
    ASSERT_TRUE(brix::readTextFile(res.path, &text));
    EXPECT_EQ(text, QStringLiteral("Nazev;\r\nBarvy;\r\n;\r\n"));

    // A writer error (a number too wide for dBASE) is no success either.
    res = exportTable(ExportFormat::Dbase, dir.path(), "TableCena", {{"C", FieldKind::Money}},
                      sourceOf({{1.0}, {1e30}}));
    EXPECT_FALSE(res.ok);
    EXPECT_FALSE(res.error.isEmpty());

    // The user stops a long export.
    QList<Record> many;
    for (int i = 0; i < 2500; ++i)
        many << Record{i, QStringLiteral("x")};
    res = exportTable(ExportFormat::Paradox, dir.path(), "TableVelka", fields, sourceOf(many),
                      [](qint64 written) { return written < 2000; });
    EXPECT_FALSE(res.ok);
    EXPECT_EQ(res.records, 2000);
}
