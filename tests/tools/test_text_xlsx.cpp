// The text export, the spreadsheet workbooks and the read command.

#include "codec.h"
#include "formats/dbase.h"
#include "formats/paradox.h"
#include "formats/read_command.h"
#include "formats/text_export.h"
#include "formats/xlsx_export.h"
#include "tools_test_util.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace brix::formats;
using namespace brix::formats::test;

namespace {

QString textExport(const QString& path, const QList<FieldDef>& fields, const QList<Record>& rows,
                   const QStringList& fieldList = {}, QString* error = nullptr) {
    TextExportWriter w;
    w.setFieldList(fieldList);
    if (!writeAll(w, path, fields, rows)) {
        if (error) *error = w.errorString();
        return {};
    }
    return brix::decode(readBytes(path));
}

// One part of the workbook, through the unzip program of the machine.
QString workbookPart(const QString& path, const QString& part) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, part});
    if (!unzip.waitForFinished(10000)) return {};
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

// The first sheet as the spreadsheet application shows it, converted to CSV by it (headless),
// or empty when it is not installed.
QString openedInSpreadsheet(const QString& path) {
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty()) return {};
    QTemporaryDir out, profile;
    QProcess p;
    p.start(office,
            {QStringLiteral("-env:UserInstallation=file://") + profile.path(),
             QStringLiteral("--headless"), QStringLiteral("--convert-to"),
             // Comma, quote, UTF-8, from line 1, cells as shown.
             QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true"),
             QStringLiteral("--outdir"), out.path(), path});
    if (!p.waitForFinished(120000)) return {};
    const QString csv = out.filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".csv"));
    return QString::fromUtf8(readBytes(csv));
}

// The XML of the cell at `ref` ("BA2") of a sheet, or empty.
QString cell(const QString& sheet, const QString& ref) {
    const QRegularExpression re(QStringLiteral("<c r=\"%1\"[^>]*(/>|>.*?</c>)").arg(ref));
    return re.match(sheet).captured(0);
}

const QList<FieldDef> kFields = {{"ObjCis", FieldKind::Text, 15},
                                 {"Nazev", FieldKind::Text, 30},
                                 {"Cena", FieldKind::Money},
                                 {"Mnozstvi", FieldKind::Float},
                                 {"Datum", FieldKind::Date}};

} // namespace

TEST(TextExport, LayoutCzechTextAndQuotingOfSemicolonsAndLineBreaks) {
    QTemporaryDir dir;
    const QString path = textExportPath(dir.path(), "TableVyr");
    EXPECT_EQ(path, dir.filePath("TableVyr.txt"));
    const QString text = textExport(
        path, kFields,
        {{QStringLiteral("007"), QStringLiteral("Šroub; pozinkovaný"), 12.5, 2.25,
          QDate(2026, 12, 9)},
         {QStringLiteral("8"), QStringLiteral("Dvě\r\nřádky \"v uvozovkách\""), QVariant(), -0.5,
          QVariant()},
         {QStringLiteral("9"), QStringLiteral("Obyčejný \"text\""), 1.0, 3.0, QDate(2000, 1, 1)}});
    EXPECT_EQ(text, QStringLiteral("ObjCis;Nazev;Cena;Mnozstvi;Datum;\r\n"
                                   "007;\"Šroub; pozinkovaný\";12,50;2,25;09.12.2026;\r\n"
                                   "8;\"Dvě\r\nřádky \"\"v uvozovkách\"\"\";;-0,5;;\r\n"
                                   "9;Obyčejný \"text\";1,00;3;01.01.2000;\r\n"));
    // Windows-1250 on disk.
    EXPECT_TRUE(readBytes(path).contains(brix::encode(QStringLiteral("Šroub"))));
}

TEST(TextExport, EmptyMasterFieldListAndUnknownField) {
    QTemporaryDir dir;
    const QString path = textExportPath(dir.path(), "TableHlaDL");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents that must go\r\n");
    old.close();
    EXPECT_EQ(textExport(path, kFields, {}),
              QStringLiteral("ObjCis;Nazev;Cena;Mnozstvi;Datum;\r\n"));

    const QString listPath = textExportFieldListPath(dir.path(), "TableHlaDL");
    EXPECT_EQ(listPath, dir.filePath("TableHlaDL_Ex.txt"));
    ASSERT_TRUE(brix::writeTextLines(listPath, {";Datum;;nazev;;", "Cena;ignored line"}));
    QStringList list;
    ASSERT_TRUE(readTextExportFieldList(listPath, &list, nullptr));
    EXPECT_EQ(list, (QStringList{"Datum", "nazev"}));
    EXPECT_EQ(textExport(path, kFields,
                         {{QStringLiteral("1"), QStringLiteral("A"), 1.0, 1.0, QDate(2026, 1, 2)}},
                         list),
              QStringLiteral("Datum;Nazev;\r\n02.01.2026;A;\r\n"));

    QStringList none;
    EXPECT_TRUE(readTextExportFieldList(dir.filePath("missing_Ex.txt"), &none, nullptr));
    EXPECT_TRUE(none.isEmpty());

    // A listed field the table lacks fails the export and keeps the previous file.
    const QByteArray before = readBytes(path);
    QString error;
    EXPECT_TRUE(textExport(path, kFields, {}, {"Nazev", "Neni"}, &error).isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("Neni")));
    EXPECT_EQ(readBytes(path), before);
}

TEST(Xlsx, ColumnLetters) {
    EXPECT_EQ(columnLetters(1), QStringLiteral("A"));
    EXPECT_EQ(columnLetters(26), QStringLiteral("Z"));
    EXPECT_EQ(columnLetters(27), QStringLiteral("AA"));
    EXPECT_EQ(columnLetters(52), QStringLiteral("AZ"));
    EXPECT_EQ(columnLetters(53), QStringLiteral("BA"));
    EXPECT_EQ(columnLetters(702), QStringLiteral("ZZ"));
    EXPECT_EQ(columnLetters(703), QStringLiteral("AAA"));
    EXPECT_EQ(columnLetters(0), QString());
}

TEST(Xlsx, DatasetLayoutLabelsFromRowOneNumbersAsNumbersTextsAsText) {
    QTemporaryDir dir;
    const QString path = uniqueWorkbookPath(dir.path(), "Export");
    XlsxWriter w(XlsxWriter::Layout::Dataset);
    QList<FieldDef> fields = kFields;
    for (int i = int(fields.size()); i < 53; ++i)
        fields << FieldDef{QStringLiteral("F%1").arg(i + 1), FieldKind::Money};
    w.setLabels({"Obj. číslo", "Název"});
    Record row = {QStringLiteral("007 "), QStringLiteral("Šroub <M8> & matice"), 12.345, 2.0,
                  QDate(2026, 12, 9)};
    for (int i = int(row.size()); i < 53; ++i)
        row << double(i);
    ASSERT_TRUE(writeAll(w, path, fields, {row}));
    EXPECT_NE(uniqueWorkbookPath(dir.path(), "Export"), path);

    const QString sheet = workbookPart(path, "xl/worksheets/sheet1.xml");
    ASSERT_FALSE(sheet.isEmpty());
    EXPECT_TRUE(cell(sheet, "A1").contains(QStringLiteral("Obj. číslo")));
    EXPECT_TRUE(cell(sheet, "C1").contains(QStringLiteral(">Cena<")));
    EXPECT_TRUE(cell(sheet, "BA1").contains(QStringLiteral(">F53<")));
    EXPECT_TRUE(cell(sheet, "A2").contains(QStringLiteral("<t>007</t>")));
    EXPECT_TRUE(cell(sheet, "B2").contains(QStringLiteral("Šroub &lt;M8&gt; &amp; matice")));
    EXPECT_TRUE(cell(sheet, "C2").contains(QStringLiteral("<v>12.35</v>")));
    EXPECT_TRUE(cell(sheet, "D2").contains(QStringLiteral("<v>2</v>")));
    EXPECT_TRUE(cell(sheet, "E2").contains(QStringLiteral("09.12.2026")));
    EXPECT_TRUE(cell(sheet, "BA2").contains(QStringLiteral("<v>52</v>")));
    // Money and floats show their two places: a price of 297.50 is not shown as 298.
    const QString styles = workbookPart(path, "xl/styles.xml");
    EXPECT_TRUE(styles.contains(QStringLiteral("formatCode=\"0.00\"")));
    EXPECT_FALSE(styles.contains(QStringLiteral("formatCode=\"0\"")));
    // The spreadsheet application shows the price with its two places.
    const QString shown = openedInSpreadsheet(path);
    if (shown.isEmpty()) GTEST_SKIP() << "no spreadsheet application to open the workbook";
    const QStringList shownRow = shown.split(QLatin1Char('\n')).value(1).split(QLatin1Char(','));
    EXPECT_EQ(shownRow.value(2), QStringLiteral("12.35")) << shown.toStdString();
    EXPECT_EQ(shownRow.value(3), QStringLiteral("2.00")) << shown.toStdString();
}

TEST(Xlsx, TableLayoutWithAndWithoutFieldList) {
    QTemporaryDir dir;
    const Record row = {QStringLiteral("0042"), QStringLiteral("Hřebík"), 1234.5, QVariant(),
                        QDate(2026, 1, 2)};
    const QString plain = dir.filePath("plain.xlsx");
    XlsxWriter w(XlsxWriter::Layout::Table);
    ASSERT_TRUE(writeAll(w, plain, kFields, {row}));
    QString sheet = workbookPart(plain, "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(cell(sheet, "A1").isEmpty());
    EXPECT_TRUE(cell(sheet, "A2").contains(QStringLiteral(">ObjCis<")));
    EXPECT_TRUE(cell(sheet, "A3").contains(QStringLiteral("<t>0042</t>")));
    EXPECT_TRUE(cell(sheet, "C3").contains(QStringLiteral("<v>1234.5</v>")));
    EXPECT_TRUE(cell(sheet, "D3").isEmpty());
    QString styles = workbookPart(plain, "xl/styles.xml");
    EXPECT_TRUE(styles.contains(QStringLiteral("formatCode=\"0.00\"")));
    EXPECT_FALSE(styles.contains(QStringLiteral("0,00")));

    const QString listed = dir.filePath("listed.xlsx");
    XlsxWriter wl(XlsxWriter::Layout::TableWithFieldList);
    ASSERT_TRUE(writeAll(wl, listed, kFields, {row}));
    sheet = workbookPart(listed, "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(cell(sheet, "C3").contains(QStringLiteral("1234,5")));
    EXPECT_FALSE(cell(sheet, "C3").contains(QStringLiteral("<v>")));
    styles = workbookPart(listed, "xl/styles.xml");
    EXPECT_TRUE(styles.contains(QStringLiteral("formatCode=\"@\"")));

    ASSERT_TRUE(brix::writeTextLines(dir.filePath("Cenik_Ex.txt"), {"Nazev", "", "  ", "Cena"}));
    QStringList names;
    ASSERT_TRUE(readSpreadsheetFieldList(dir.filePath("Cenik_Ex.txt"), &names, nullptr));
    EXPECT_EQ(names, (QStringList{"Nazev", "Cena"}));

    XlsxWriter none;
    EXPECT_FALSE(none.open(dir.filePath("none.xlsx"), {}));
}

// Texts with a quote, a comma or a line break are quoted, inner quotes doubled, as RFC 4180
// readers expect; Python's csv module reads the output back to the same fields.
TEST(ReadCommand, CsvQuotesWhatRfc4180Quotes) {
    QTemporaryDir dir;
    const QString path = dir.filePath("q.db");
    const QList<Record> rows = {{QStringLiteral("a,b"), QStringLiteral("řekl \"ne\"")},
                                {QStringLiteral("dvě\r\nřádky"), QVariant()},
                                {QVariant(), QVariant()},
                                {QStringLiteral("prostý"), QStringLiteral("x;y")}};
    ParadoxWriter w;
    ASSERT_TRUE(writeAll(w, path, {{"A", FieldKind::Memo, 20}, {"B", FieldKind::Text, 20}}, rows));
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(runReadCommand({path}, o, e), 0);
    EXPECT_EQ(out, QStringLiteral("A,B\n\"a,b\",\"řekl \"\"ne\"\"\"\n\"dvě\r\nřádky\",\n,\n"
                                  "prostý,\"x;y\"\n"));

    QProcess python;
    python.start(
        QStringLiteral("python3"),
        {QStringLiteral("-c"),
         QStringLiteral("import csv,sys,json; sys.stdin.reconfigure(newline='', encoding='utf-8');"
                        "sys.stdout.reconfigure(encoding='utf-8');"
                        "print(json.dumps(list(csv.reader(sys.stdin)), ensure_ascii=False))")});
    if (!python.waitForStarted(5000)) GTEST_SKIP() << "python3 is not installed";
    python.write(out.toUtf8());
    python.closeWriteChannel();
    ASSERT_TRUE(python.waitForFinished(10000));
    EXPECT_EQ(
        QString::fromUtf8(python.readAllStandardOutput()).trimmed(),
        QStringLiteral(R"([["A", "B"], ["a,b", "řekl \"ne\""], ["dvě\r\nřádky", ""], ["", ""], )"
                       R"(["prostý", "x;y"]])"));
}

TEST(ReadCommand, CsvAndSchemaOfOurTablesAndTheFixtures) {
    QTemporaryDir dir;
    const QString path = dir.filePath("TableVyr.db");
    ParadoxWriter w;
    ASSERT_TRUE(writeAll(w, path, everyKindFields(), everyKindRecords()));
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(runReadCommand({path}, o, e), 0) << err.toStdString();
    const QStringList lines = out.split('\n');
    EXPECT_EQ(lines[0], QStringLiteral("Cis_Vyr,Nazev,PorCis,Cis_Firmy,Kurs,Cena,Platba,Vystaveno,"
                                       "Cas,Posl_Zmena,Poznamka,Popis,Obrazek"));
    EXPECT_EQ(lines[1], QStringLiteral("1,Šroub M8 ěščřžýáíé,1,1200,25.125,1234.5678,true,"
                                       "09.12.2026,13:45:30,09.12.2026 08:01:02,Krátká,"
                                       "Formátovaná poznámka,AAEC"));
    EXPECT_EQ(lines[3], QStringLiteral("3,,,,,,,,,,,,"));

    out.clear();
    ASSERT_EQ(runReadCommand({path, "--schema"}, o, e), 0);
    EXPECT_TRUE(out.startsWith(QStringLiteral("name,type,size,decimals\nCis_Vyr,autoinc,0,0\n"
                                              "Nazev,alpha,30,0\n")));

    // A blank record of a one-column table is "", not an empty line that CSV readers skip.
    out.clear();
    ASSERT_EQ(runReadCommand({fixture("fields/timestamp.db")}, o, e), 0);
    EXPECT_EQ(out, QStringLiteral("Timestamp\n\"\"\n01.02.2020 01:00:01\n"));

    err.clear();
    EXPECT_EQ(runReadCommand({dir.filePath("missing.dbf")}, o, e), 1);
    EXPECT_FALSE(err.isEmpty());
    EXPECT_EQ(runReadCommand({}, o, e), 2);
    EXPECT_EQ(runReadCommand({path, "--bogus"}, o, e), 2);
    EXPECT_EQ(runReadCommand({dir.filePath("x.csv")}, o, e), 1);
}
