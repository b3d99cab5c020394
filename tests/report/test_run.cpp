// Report runs laid out into character-grid text, compared byte for byte with golden files under
// tests/report/data/golden (BRIX_UPDATE_GOLDEN=1 rewrites them; check every change by eye).

#include "bridge.h"
#include "codec.h"
#include "report_test_util.h"
#include "sestava.h"
#include "templatefile.h"

#include "scripted_gtest.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

using namespace brix::report;
using brix::Button;
using brix::Codepage;

namespace {

QString goldenPath(const QString& name) {
    return QStringLiteral(BRIX_SOURCE_DIR "/tests/report/data/golden/") + name +
           QStringLiteral(".txt");
}

void expectGolden(const QString& name, const QByteArray& bytes, Codepage cp = Codepage::Cp1250) {
    const QByteArray expected = brix::test::goldenBytes(goldenPath(name), bytes);
    EXPECT_EQ(brix::decode(bytes, cp).toStdString(), brix::decode(expected, cp).toStdString())
        << name.toStdString();
    EXPECT_TRUE(bytes == expected) << name.toStdString() << ": bytes differ";
}

// A text element in a 10-characters-per-inch font (12 points): 10 units a character.
QString el(const QString& section, int kind, const QString& ref, int left, int top, int width,
           const QString& text = QString(), int alignFlags = 0, int style = 0, int height = 17) {
    QString t = text;
    t.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QStringList{section,
                       QString::number(kind),
                       ref,
                       QString::number(left),
                       QString::number(top),
                       QString::number(width),
                       QString::number(height),
                       QStringLiteral("Courier New"),
                       QStringLiteral("12"),
                       QStringLiteral("0"),
                       QString::number(style),
                       QString::number(alignFlags),
                       QStringLiteral("0"),
                       QStringLiteral("238"),
                       QLatin1Char('"') + t + QLatin1Char('"'),
                       QStringLiteral("0"),
                       QStringLiteral("0"),
                       QStringLiteral("0")}
        .join(QLatin1Char(','));
}
QString label(const QString& s, int left, int top, int width, const QString& text, int align = 0) {
    return el(s, KindLabel, QStringLiteral("0"), left, top, width, text, align);
}
QString field(const QString& s, const QString& name, int left, int top, int width, int align = 0) {
    return el(s, KindField, name, left, top, width, QString(), align);
}
QString variable(const QString& s, int var, int left, int top, int width, const QString& format,
                 int align = 0) {
    return el(s, KindVariable, QString::number(var), left, top, width, format, align);
}
QString function(const QString& s, const QString& name, int left, int top, int width) {
    return el(s, KindFunction, name, left, top, width, QString(), AlignRight);
}

// A character-grid template (6 lines per inch, a line is 16.67 units) on a page of the height,
// without margins; sections: report header, page header, body, report footer, page footer as
// {visible, height, flags}.
struct Sec {
    int visible = 1, height = 17, flags = 0;
};
QStringList page(int height, Sec rh, Sec ph, Sec body, Sec rf, Sec pf, int columns = 1) {
    QStringList t{QStringLiteral("I,0,\"Zkouška\""), QStringLiteral("I,1,5,42,5"),
                  QStringLiteral("I,2,0,800,%1,0,0,0,0,%2,0").arg(height).arg(columns)};
    const Sec secs[] = {rh, ph, body, rf, pf};
    for (int i = 0; i < 5; ++i)
        t << QStringLiteral("I,3,%1,%2,%3,%4")
                 .arg(i)
                 .arg(secs[i].visible)
                 .arg(secs[i].height)
                 .arg(secs[i].flags);
    t << QStringLiteral("I,6,1,10,17,0,0,0,0");
    return t;
}
const Sec kOff{0, 0, 0};

ListBridge csvData(const QString& text) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.csv"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
    f.close();
    ListBridge b;
    QString error;
    EXPECT_TRUE(readCsvBridge(path, &b, &error)) << error.toStdString();
    return b;
}

QString products(int n) {
    QString csv = QStringLiteral("Cislo:I,Nazev,Cena:$\n");
    for (int i = 1; i <= n; ++i)
        csv += QStringLiteral("%1,Výrobek %1,%2\n").arg(i).arg(i * 12.5, 0, 'f', 2);
    return csv;
}

// The product list: report header, a two-line page header, a body of three columns, a report
// footer and a page footer with the page number (and the total when asked).
QStringList productList(int height, bool total) {
    QStringList t = page(height, {}, {1, 34, 0}, {}, {}, {});
    t << label(QStringLiteral("Z"), 0, 0, 400, QStringLiteral("SEZNAM ZBOŽÍ"))
      << label(QStringLiteral("H"), 0, 0, 100, QStringLiteral("Číslo"), AlignRight)
      << label(QStringLiteral("H"), 120, 0, 300, QStringLiteral("Název"))
      << label(QStringLiteral("H"), 500, 0, 200, QStringLiteral("Cena"), AlignRight)
      << label(QStringLiteral("H"), 0, 17, 700, QString(70, QLatin1Char('-')))
      << field(QStringLiteral("T"), QStringLiteral("Cislo"), 0, 0, 100, AlignRight)
      << field(QStringLiteral("T"), QStringLiteral("Nazev"), 120, 0, 300)
      << field(QStringLiteral("T"), QStringLiteral("Cena"), 500, 0, 200, AlignRight)
      << label(QStringLiteral("K"), 0, 0, 300, QStringLiteral("Konec seznamu"))
      << variable(QStringLiteral("P"), VarPageNumber, 0, 0, 100, QStringLiteral("Strana %d"));
    if (total)
        t << variable(QStringLiteral("P"), VarTotalPages, 90, 0, 100, QStringLiteral("z %d"));
    return t;
}

QByteArray runText(const QStringList& lines, TBridge* data,
                   const std::function<void(TSestava&)>& setup = {}, int expected = seOk) {
    TSestava r;
    r.IsStored = true;
    r.setPredloha(lines);
    r.DataSource = data;
    if (setup) setup(r);
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    EXPECT_EQ(r.PrintTextToStream(b), expected);
    return b.data();
}

} // namespace

TEST(ReportRun, ListOverThreePagesWithHeaderAndFooter) {
    ListBridge data = csvData(products(30));
    const QByteArray text = runText(productList(300, false), &data);
    expectGolden(QStringLiteral("list_three_pages"), text);
    // Every page but the last writes all its 18 rows; the position of the data is restored.
    EXPECT_EQ(text.count("\r\n"), 18 * 3);
    EXPECT_EQ(data.current(), 0);
}

TEST(ReportRun, NestedGroupsWithCountersAndFooterSums) {
    ListBridge data = csvData(QStringLiteral("Firma,Druh,Nazev,Cena:$\n"
                                             "Alfa,Barvy,Email bílý,100\n"
                                             "Alfa,Barvy,Email černý,120.5\n"
                                             "Alfa,Ředidla,Ředidlo S6006,45\n"
                                             "Beta,Barvy,Lazura dub,210\n"
                                             "Beta,Laky,Lak lesklý,99.9\n"
                                             "Beta,Laky,Lak matný,80\n"
                                             "Beta,Laky,Lak polomatný,85\n"));
    QStringList t = page(900, {}, kOff, {}, {}, kOff);
    t << QStringLiteral("I,4,0,\"#Firma\",1,17,1,17,0")
      << QStringLiteral("I,4,1,\"#Druh\",1,17,1,17,0")
      << QStringLiteral("F,0,SumDruh,\"Součet druhu\",0,\"0\",3,\"#Cena\",2,15,2,2")
      << QStringLiteral("F,1,SumFirma,\"Součet firmy\",0,\"0\",2,\"#Cena\",2,15,2,2")
      << QStringLiteral("F,2,Celkem,\"Celkem\",0,\"0\",0,\"#Cena\",2,15,2,2")
      << label(QStringLiteral("Z"), 0, 0, 400, QStringLiteral("PRODEJ PODLE FIREM"))
      << variable(QStringLiteral("S0"), 6, 0, 0, 100, QStringLiteral("%d."))
      << field(QStringLiteral("S0"), QStringLiteral("Firma"), 40, 0, 300)
      << variable(QStringLiteral("S1"), 8, 40, 0, 60, QStringLiteral("%d)"))
      << field(QStringLiteral("S1"), QStringLiteral("Druh"), 80, 0, 300)
      << variable(QStringLiteral("T"), 7, 80, 0, 40, QStringLiteral("%d"), AlignRight)
      << field(QStringLiteral("T"), QStringLiteral("Nazev"), 130, 0, 300)
      << field(QStringLiteral("T"), QStringLiteral("Cena"), 430, 0, 100, AlignRight)
      << variable(QStringLiteral("T"), VarRowNumber, 560, 0, 40, QStringLiteral("#%d"))
      << label(QStringLiteral("U1"), 80, 0, 100, QStringLiteral("Celkem"))
      << field(QStringLiteral("U1"), QStringLiteral("Nazev"), 180, 0, 250)
      << function(QStringLiteral("U1"), QStringLiteral("SumDruh"), 430, 0, 100)
      << label(QStringLiteral("U0"), 40, 0, 100, QStringLiteral("Firma"))
      << field(QStringLiteral("U0"), QStringLiteral("Firma"), 100, 0, 100)
      << label(QStringLiteral("U0"), 200, 0, 200, QStringLiteral("celkem"))
      << function(QStringLiteral("U0"), QStringLiteral("SumFirma"), 430, 0, 100)
      << label(QStringLiteral("K"), 0, 0, 200, QStringLiteral("Celkem"))
      << function(QStringLiteral("K"), QStringLiteral("Celkem"), 430, 0, 100);
    expectGolden(QStringLiteral("nested_groups"), runText(t, &data));
}

TEST(ReportRun, VariableHeightMemoContinuesBelowThePageHeader) {
    QString memo;
    for (int i = 1; i <= 24; ++i)
        memo += QStringLiteral("Věta číslo %1 poznámky. ").arg(i);
    ListBridge data = csvData(QStringLiteral("Cislo:I,Poznamka\n1,Krátká poznámka.\n2,\"") +
                              memo.trimmed() + QStringLiteral("\"\n3,Další krátká.\n"));
    QStringList t = page(300, kOff, {}, {1, 34, 0}, kOff, {});
    t << label(QStringLiteral("H"), 0, 0, 400, QStringLiteral("Poznámky k dokladům"))
      << field(QStringLiteral("T"), QStringLiteral("Cislo"), 0, 0, 50, AlignRight)
      << el(QStringLiteral("T"), KindField, QStringLiteral("Poznamka"), 100, 0, 300, QString(),
            TextVariableHeight)
      << label(QStringLiteral("T"), 100, 17, 300, QStringLiteral("-- konec --"))
      << variable(QStringLiteral("P"), VarPageNumber, 0, 0, 100, QStringLiteral("Strana %d"));
    expectGolden(QStringLiteral("memo_across_pages"), runText(t, &data));
}

TEST(ReportRun, TotalPagesOnEveryPageAlsoWithAPageRange) {
    ListBridge data = csvData(products(30));
    expectGolden(QStringLiteral("total_pages"), runText(productList(300, true), &data));
    // Printing only page 2 still lays out every page, so the total is right.
    int pages = 0;
    const QByteArray range = runText(productList(300, true), &data, [&](TSestava& r) {
        r.StartPage = 2;
        r.EndPage = 2;
        r.AfterPrint = [&](TSestava& s) { pages = s.output.pageCount(); };
    });
    expectGolden(QStringLiteral("total_pages_range"), range);
    EXPECT_EQ(pages, 3);
    // Without the total the run stops once the page after the range would start.
    const QByteArray first = runText(productList(300, false), &data, [&](TSestava& r) {
        r.EndPage = 1;
        r.AfterPrint = [&](TSestava& s) { pages = s.output.pageCount(); };
    });
    EXPECT_EQ(pages, 2);
    EXPECT_TRUE(first.contains("Strana 1"));
    EXPECT_FALSE(first.contains("Strana 2"));
}

namespace {

std::unique_ptr<LinkedListBridge> linked(const QString& csv, const QString& detailField,
                                         TSestavaTyp* master, const QString& masterField) {
    ListBridge rows = csvData(csv);
    auto b = std::make_unique<LinkedListBridge>();
    b->columns = rows.columns;
    b->allRows = rows.rows;
    for (size_t c = 0; c < b->columns.size(); ++c)
        if (b->columns[c].name == detailField) b->linkField = int(c);
    b->masterValue = [master, masterField] {
        return master->reference(ReferenceResolver::kFieldBase +
                                 master->dataFieldIndex(masterField));
    };
    return b;
}

const char* kOrders = "Cislo:I,Odberatel\n101,Barvy Novák\n102,Stavby Dvořák\n103,Malíř Kos\n";
const char* kItems = "Doklad:I,Polozka:I,Nazev,Mnozstvi:N\n"
                     "101,1,Email bílý,2\n101,2,Míchaný odstín,1\n"
                     "103,1,Štětec,5\n";
const char* kParts = "Polozka:I,Doklad:I,Slozka\n2,101,Báze A\n2,101,Pigment žlutý\n";

QStringList ordersTemplate() {
    QStringList t = page(600, {}, kOff, {1, 51, 0}, {}, kOff);
    t << label(QStringLiteral("Z"), 0, 0, 300, QStringLiteral("DOKLADY"))
      << field(QStringLiteral("T"), QStringLiteral("Cislo"), 0, 0, 50)
      << field(QStringLiteral("T"), QStringLiteral("Odberatel"), 60, 0, 300)
      << el(QStringLiteral("T"), KindDetail, QStringLiteral("0"), 0, 17, 700)
      << label(QStringLiteral("T"), 0, 34, 300, QStringLiteral("=="))
      << label(QStringLiteral("K"), 0, 0, 300, QStringLiteral("Konec dokladů"));
    // Detail 0: the items, with its own detail 0 (the components of a mixed item).
    QStringList d = page(600, {1, 17, 0}, kOff, {1, 34, 0}, {1, 17, 0}, kOff);
    d.removeFirst(); // no description
    d << label(QStringLiteral("Z"), 40, 0, 300, QStringLiteral("Položky:"))
      << field(QStringLiteral("T"), QStringLiteral("Polozka"), 40, 0, 30, AlignRight)
      << field(QStringLiteral("T"), QStringLiteral("Nazev"), 80, 0, 300)
      << field(QStringLiteral("T"), QStringLiteral("Mnozstvi"), 380, 0, 60, AlignRight)
      << el(QStringLiteral("T"), KindDetail, QStringLiteral("0"), 0, 17, 700)
      << label(QStringLiteral("K"), 40, 0, 300, QStringLiteral("(konec položek)"));
    QStringList dd = page(600, kOff, kOff, {}, kOff, kOff);
    dd.removeFirst();
    dd << label(QStringLiteral("T"), 100, 0, 20, QStringLiteral("-"))
       << field(QStringLiteral("T"), QStringLiteral("Slozka"), 120, 0, 300);
    for (const QString& l : dd)
        d << QStringLiteral("D0,") + l;
    for (const QString& l : d)
        t << QStringLiteral("D0,") + l;
    return t;
}

} // namespace

TEST(ReportRun, DetailInsideTheBodyAndADetailInsideADetail) {
    ListBridge orders = csvData(QString::fromUtf8(kOrders));
    TSestava r;
    r.IsStored = true;
    r.DataSource = &orders;
    TSestDetail items, parts;
    items.setMasterSestava(&r);
    parts.setMasterSestava(&items);
    auto itemData =
        linked(QString::fromUtf8(kItems), QStringLiteral("Doklad"), &r, QStringLiteral("Cislo"));
    // The components belong to an item of a document: linked by the item number here.
    auto partData = linked(QString::fromUtf8(kParts), QStringLiteral("Polozka"), &items,
                           QStringLiteral("Polozka"));
    items.DataSource = itemData.get();
    parts.DataSource = partData.get();
    r.setPredloha(ordersTemplate());
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    ASSERT_EQ(r.PrintTextToStream(b), seOk);
    expectGolden(QStringLiteral("details"), b.data());

    // Saving puts the details' lines (with the nested one) back in their "D" lines.
    const TPredloha saved = r.linesWithDetails();
    EXPECT_TRUE(saved.contains(QStringLiteral("D0,D0,") +
                               field(QStringLiteral("T"), QStringLiteral("Slozka"), 120, 0, 300)));
}

TEST(ReportRun, TwoColumnsAndAGroupChangeClosesARow) {
    QString csv = QStringLiteral("Druh,Nazev\n");
    for (int i = 1; i <= 5; ++i)
        csv += QStringLiteral("Barvy,Barva %1\n").arg(i);
    for (int i = 1; i <= 12; ++i)
        csv += QStringLiteral("Laky,Lak %1\n").arg(i);
    ListBridge data = csvData(csv);
    QStringList t = page(300, kOff, {}, {}, kOff, {}, 2);
    t << QStringLiteral("I,4,0,\"#Druh\",1,17,0,0,0")
      << label(QStringLiteral("H"), 0, 0, 400, QStringLiteral("Ve dvou sloupcích"))
      << field(QStringLiteral("S0"), QStringLiteral("Druh"), 0, 0, 300)
      << variable(QStringLiteral("T"), 5, 0, 0, 50, QStringLiteral("%d."), AlignRight)
      << field(QStringLiteral("T"), QStringLiteral("Nazev"), 60, 0, 300)
      << variable(QStringLiteral("P"), VarPageNumber, 0, 0, 100, QStringLiteral("Strana %d"));
    expectGolden(QStringLiteral("columns"), runText(t, &data));
}

TEST(ReportRun, FooterToBottom) {
    ListBridge data = csvData(products(3));
    QStringList t = productList(300, false);
    t.replace(t.indexOf(QStringLiteral("I,3,3,1,17,0")), QStringLiteral("I,3,3,1,17,2"));
    expectGolden(QStringLiteral("footer_to_bottom"), runText(t, &data));
}

TEST(ReportRun, EmptyDataPrintsOneEmptyBodyAndAllFooters) {
    ListBridge data = csvData(QStringLiteral("Firma,Nazev,Cena:$\n"));
    QStringList t = page(300, {}, kOff, {}, {}, kOff);
    t << QStringLiteral("I,4,0,\"#Firma\",1,17,1,17,0")
      << QStringLiteral("F,0,Suma,\"Suma\",0,\"0\",2,\"#Cena\",2,15,2,2")
      << label(QStringLiteral("Z"), 0, 0, 300, QStringLiteral("Začátek"))
      << label(QStringLiteral("S0"), 0, 0, 100, QStringLiteral("Firma:"))
      << field(QStringLiteral("S0"), QStringLiteral("Firma"), 100, 0, 200)
      << label(QStringLiteral("T"), 0, 0, 100, QStringLiteral("["))
      << field(QStringLiteral("T"), QStringLiteral("Nazev"), 10, 0, 200)
      << label(QStringLiteral("T"), 210, 0, 10, QStringLiteral("]"))
      << label(QStringLiteral("U0"), 0, 0, 100, QStringLiteral("Součet"))
      << function(QStringLiteral("U0"), QStringLiteral("Suma"), 200, 0, 100)
      << label(QStringLiteral("K"), 0, 0, 300, QStringLiteral("Konec"));
    expectGolden(QStringLiteral("empty_data"), runText(t, &data));
}

TEST(ReportRun, MaxRecordsOne) {
    ListBridge data = csvData(products(30));
    expectGolden(QStringLiteral("max_records_one"),
                 runText(productList(300, false), &data, [](TSestava& r) { r.MaxRecords = 1; }));
}

TEST(ReportRun, SecondRunWhileOneRunsIsBusy) {
    brix::TestPlatform ui;
    ListBridge data = csvData(products(3));
    TSestava second;
    second.IsStored = true;
    second.setPredloha(productList(300, false));
    second.DataSource = &data;
    QList<int> errors;
    second.OnError = [&](TSestava&, int code) {
        errors << code;
        return true;
    };
    int inner = -1, innerPreview = -1, innerPrint = -1;
    const QByteArray text = runText(productList(300, false), &data, [&](TSestava& r) {
        r.BeforePrint = [&](TSestava&) {
            EXPECT_TRUE(TSestava::busy());
            QBuffer b;
            b.open(QIODevice::WriteOnly);
            inner = second.PrintTextToStream(b);
            EXPECT_TRUE(b.data().isEmpty());
            innerPreview = second.PrintPreview();
            innerPrint = second.PrintOn(0);
        };
    });
    EXPECT_EQ(inner, seBusy);
    EXPECT_EQ(innerPreview, seBusy);
    EXPECT_EQ(innerPrint, seBusy);
    EXPECT_EQ(errors, (QList<int>{seBusy, seBusy, seBusy}));
    EXPECT_TRUE(text.contains("Konec seznamu"));
    // The flag is cleared when the run ends.
    EXPECT_FALSE(TSestava::busy());
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    EXPECT_EQ(second.PrintTextToStream(b), seOk);
    EXPECT_EQ(b.data(), text);
}

namespace {

QByteArray sentenceIn(TSestLanguage language) {
    QStringList t = page(100, {1, 51, 0}, kOff, kOff, kOff, kOff);
    t << label(QStringLiteral("Z"), 0, 0, 700,
               QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy"))
      << label(QStringLiteral("Z"), 0, 17, 700, QStringLiteral("„Zboží“ – § 5 € ×"))
      << label(QStringLiteral("Z"), 0, 34, 700, QStringLiteral("ŘÍŠE ĎÁBLŮ Ó Ú Ě Ň Ť"));
    ListBridge none;
    return runText(t, &none, [&](TSestava& r) { r.ExportLanguage = language; });
}

} // namespace

TEST(ReportRun, CodePages) {
    const QByteArray cp1250 = sentenceIn(slCP1250);
    const QByteArray cp852 = sentenceIn(slCP852);
    const QByteArray kam = sentenceIn(slCP867);
    const QByteArray ascii = sentenceIn(slASCII);
    expectGolden(QStringLiteral("codepage_1250"), cp1250, Codepage::Cp1250);
    expectGolden(QStringLiteral("codepage_852"), cp852, Codepage::Cp852);
    expectGolden(QStringLiteral("codepage_kamenicky"), kam, Codepage::Kamenicky);
    expectGolden(QStringLiteral("codepage_ascii"), ascii, Codepage::Ascii);
    EXPECT_EQ(sentenceIn(slUndefined), cp1250);

    const QString sentence = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy");
    const QString capitals = QStringLiteral("ŘÍŠE ĎÁBLŮ Ó Ú Ě Ň Ť");
    const QList<QByteArray> lines = ascii.split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QByteArray("Prilis zlutoucky kun upel dabelske ody\r"));
    EXPECT_EQ(lines[1], QByteArray("\"Zbozi\" - ? 5 ? x\r"));
    EXPECT_EQ(lines[2], QByteArray("RISE DABLU O U E N T\r"));
    // The Czech letters come back unchanged from each code page; the typographic quotes and the
    // dash become their plain forms, and nothing is written that the code page does not hold.
    const std::pair<QByteArray, Codepage> pages[] = {
        {cp1250, Codepage::Cp1250}, {cp852, Codepage::Cp852}, {kam, Codepage::Kamenicky}};
    for (const auto& [bytes, cp] : pages) {
        const QString back = brix::decode(bytes, cp);
        EXPECT_TRUE(back.startsWith(sentence)) << back.toStdString();
        EXPECT_TRUE(back.contains(capitals)) << back.toStdString();
        EXPECT_FALSE(back.contains(QChar(0xFFFD))) << back.toStdString();
        if (cp == Codepage::Cp1250) continue; // it holds the quotes, the dash and the sign
        EXPECT_TRUE(back.contains(QStringLiteral("\"Zboží\" - "))) << back.toStdString();
    }
    EXPECT_TRUE(
        brix::decode(cp1250, Codepage::Cp1250).contains(QStringLiteral("„Zboží“ – § 5 € ×")));
    EXPECT_NE(cp852, cp1250);
    EXPECT_NE(kam, cp852);
}

TEST(ReportRun, OverlappingTextsInTheGrid) {
    QStringList t = page(100, {1, 34, 0}, kOff, kOff, kOff, kOff);
    t << label(QStringLiteral("Z"), 0, 0, 200, QStringLiteral("AAAA    B"))
      << label(QStringLiteral("Z"), 0, 0, 200, QStringLiteral("xxxxxxxxxxxxx"))
      << label(QStringLiteral("Z"), 0, 17, 200, QStringLiteral("CC   D"))
      << el(QStringLiteral("Z"), KindLabel, QStringLiteral("0"), 0, 17, 200,
            QStringLiteral("yyyyyyyy"), 0, StyleBold);
    ListBridge none;
    const QByteArray text = runText(t, &none);
    // In one layer the first text keeps its cells and the later fills only the gaps; a later
    // layer (bold) also fills only the gaps.
    EXPECT_EQ(text, QByteArray("AAAAxxxxBxxxx\r\nCCyyyDyy\r\n"));
}

TEST(ReportComponent, FailedTemplateSaveKeepsTheOldTemplate) {
    brix::TestPlatform ui;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("seznam.pts"));
    const TPredloha old = productList(300, false);
    ASSERT_TRUE(brix::writeTextLines(path, old));
    QFile oldFile(path);
    ASSERT_TRUE(oldFile.open(QIODevice::ReadOnly));
    const QByteArray oldBytes = oldFile.readAll();
    oldFile.close();

    TSestava r;
    r.ReportDirIgnore = false;
    r.setReportDir(dir.path());
    r.setReportName(QStringLiteral("seznam"));
    ListBridge none;
    r.DataSource = &none;
    ASSERT_EQ(r.LoadTemplate(false), seOk);
    QList<int> errors;
    r.OnError = [&](TSestava&, int code) {
        errors << code;
        return true;
    };
    // A template far larger than the old one, written while files may not grow beyond 8 kB:
    // the backup copy can be made, the new template cannot.
    for (int i = 0; i < 200; ++i)
        r.definition.section(Body).elements.push_back(r.definition.section(Body).elements[0]);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 8192;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int failed = r.SaveTemplate();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(failed, seSaveTemplate) << QFileInfo(path).size();
    EXPECT_EQ(errors, QList<int>{seSaveTemplate});
    EXPECT_TRUE(ui.shownMessages().isEmpty()); // the error event took the failure
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), oldBytes);
    QFile bak(dir.filePath(QStringLiteral("seznam.BAK")));
    ASSERT_TRUE(bak.open(QIODevice::ReadOnly));
    EXPECT_EQ(bak.readAll(), oldBytes);
    // No temporary file is left beside the template.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);

    // Without the limit the new template replaces the old one and the backup holds the old.
    EXPECT_EQ(r.SaveTemplate(), seOk);
    QStringList lines;
    ASSERT_TRUE(brix::readTextLines(path, &lines));
    EXPECT_EQ(lines.size(), old.size() + 200 + 2); // I,5 and I,7 are always written
    ASSERT_TRUE(bak.seek(0));
    EXPECT_EQ(bak.readAll(), oldBytes);
}

TEST(ReportComponent, TextFileIsWrittenWholeOrNotAtAll) {
    QTemporaryDir dir;
    ListBridge data = csvData(products(300));
    TSestava r;
    r.IsStored = true;
    r.setPredloha(productList(300, false));
    r.DataSource = &data;
    const QString out = dir.filePath(QStringLiteral("lpt.txt"));
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int shortWrite = r.PrintTextToFile(out);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(shortWrite, seOutput);
    EXPECT_FALSE(QFileInfo::exists(out));

    // "Přerušit" while writing: 3 and no file.
    int records = 0;
    r.OnProgress = [&](TSestavaTyp&, int record) {
        records = std::max(records, record);
        return record >= 0;
    };
    EXPECT_EQ(r.PrintTextToFile(out), seCancelled);
    EXPECT_EQ(records, 300); // the run itself went through
    EXPECT_FALSE(QFileInfo::exists(out));
    r.OnProgress = {};
    EXPECT_EQ(r.PrintTextToFile(out), seOk);
    EXPECT_EQ(QFileInfo(out).size(), r.textOutput().size());
    EXPECT_GT(QFileInfo(out).size(), 4096);
}

TEST(ReportComponent, FormOperationsWithoutPreviewAndPrinterCannotBeDone) {
    brix::TestPlatform ui;
    QTemporaryDir dir;
    ASSERT_TRUE(
        brix::writeTextLines(dir.filePath(QStringLiteral("tisk_dl.pts")), productList(300, false)));
    ListBridge data = csvData(products(3));
    TSestava r;
    r.ReportDirIgnore = false;
    r.setReportDir(dir.path());
    r.setReportName(QStringLiteral("tisk_dl.txt"));
    EXPECT_EQ(r.ReportName(), QStringLiteral("tisk_dl.pts"));
    r.DataSource = &data;
    r.Parametry << QStringLiteral("Firma s.r.o.");
    r.PrintCopies = 2;
    r.TiskJedenZaznam = true;
    QList<int> errors;
    QStringList events;
    r.OnError = [&](TSestava&, int code) {
        errors << code;
        return true;
    };
    r.BeforePreview = [&](TSestava&) { events << QStringLiteral("BeforePreview"); };
    r.AfterPreview = [&](TSestava&) { events << QStringLiteral("AfterPreview"); };

    EXPECT_EQ(r.PrintPreview(), seNotReady);
    EXPECT_EQ(errors, QList<int>{seNotReady});
    EXPECT_EQ(events, (QStringList{"BeforePreview", "AfterPreview"}));
    // The pages were prepared: one record only, two copies asked for.
    EXPECT_EQ(r.output.pageCount(), 1);
    EXPECT_EQ(r.output.copies, 2);

    ui.setPrinters({}, -1);
    ui.answer(Button::Ok, QStringLiteral("V systému není nainstalovaná žádná tiskárna."),
              QStringLiteral("Varování"));
    EXPECT_EQ(r.Print(), seNoPrinter);
    ui.setPrinters({{QStringLiteral("Kancelář"), QStringLiteral("Laser")}}, 0);
    EXPECT_EQ(r.Print(), seNotReady);
    EXPECT_EQ(r.PrintOn(0), seNotReady);
    EXPECT_EQ(r.Edit(), seNotReady);
    EXPECT_EQ(errors, (QList<int>{seNotReady, seNoPrinter, seNotReady, seNotReady, seNotReady}));
    EXPECT_FALSE(TSestava::busy());

    // A missing template: the message, 4, and no output.
    errors.clear();
    r.setReportName(QStringLiteral("neni"));
    ui.answer(Button::Ok, QStringLiteral("Nebyl nalezen soubor s předlohou tiskové sestavy"),
              QStringLiteral("Chyba"));
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    EXPECT_EQ(r.PrintTextToStream(b), seLoadTemplate);
    EXPECT_TRUE(b.data().isEmpty());
    EXPECT_EQ(errors, QList<int>{seLoadTemplate});

    // No data source: not ready.
    errors.clear();
    TSestava bare;
    bare.setReportName(QStringLiteral("x"));
    bare.OnError = r.OnError;
    ui.answer(Button::Ok, QStringLiteral("Není definován zdroj dat."), QStringLiteral("Chyba"));
    EXPECT_EQ(bare.PrintTextToStream(b), seNotReady);
    EXPECT_EQ(errors, QList<int>{seNotReady});
}

TEST(ReportComponent, ClosingThePreviewOrTheDesignerIsNoError) {
    brix::TestPlatform ui;
    ListBridge data = csvData(products(3));
    TSestava r;
    r.IsStored = true;
    r.setPredloha(productList(300, false));
    r.DataSource = &data;
    QList<int> errors;
    r.OnError = [&](TSestava&, int code) {
        errors << code;
        return true;
    };
    int shownPages = 0;
    int answer = 1;
    r.previewWindow = [&](TSestava& s, const PreviewRequest&) {
        EXPECT_TRUE(TSestava::busy());
        shownPages = s.output.pageCount();
        return answer;
    };
    EXPECT_EQ(r.PrintPreview(), 1);
    answer = 0;
    EXPECT_EQ(r.PrintPreview(), 0);
    EXPECT_EQ(shownPages, 1);
    bool edited = false;
    r.designerWindow = [&](TSestava&) { edited = true; };
    EXPECT_EQ(r.Edit(), seCancelled);
    EXPECT_TRUE(edited);
    EXPECT_TRUE(errors.isEmpty());
    // A preparation that fails still raises the event and opens no window.
    shownPages = 0;
    r.DataSource = nullptr;
    ui.answer(Button::Ok, QStringLiteral("Není definován zdroj dat."));
    EXPECT_EQ(r.PrintPreview(), seNotReady);
    EXPECT_EQ(shownPages, 0);
    EXPECT_EQ(errors, QList<int>{seNotReady});
}

// ---- the command-line run ---------------------------------------------------------------

#include "database.h"
#include "report_source.h"
#include "table.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

struct Tool {
    int exitCode = -1;
    QJsonObject json;
    QString err;
};

Tool runTool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(BRIX_REPORT_TOOL), QStringList{QStringLiteral("run")} + args);
    EXPECT_TRUE(p.waitForFinished(20000));
    return Tool{p.exitCode(), QJsonDocument::fromJson(p.readAllStandardOutput()).object(),
                QString::fromUtf8(p.readAllStandardError())};
}

void writeUtf8(const QString& path, const QString& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(ReportCli, CsvWithNestedDetails) {
    QTemporaryDir dir;
    const QString tpl = dir.filePath(QStringLiteral("doklady.pts"));
    ASSERT_TRUE(brix::writeTextLines(tpl, ordersTemplate()));
    writeUtf8(dir.filePath(QStringLiteral("hla.csv")), QString::fromUtf8(kOrders));
    writeUtf8(dir.filePath(QStringLiteral("pol.csv")), QString::fromUtf8(kItems));
    writeUtf8(dir.filePath(QStringLiteral("slo.csv")), QString::fromUtf8(kParts));
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    const Tool t =
        runTool({tpl, "--csv", dir.filePath("hla.csv"), "--detail", "0=" + dir.filePath("pol.csv"),
                 "--link", "0=Cislo:Doklad", "--detail", "0.0=" + dir.filePath("slo.csv"), "--link",
                 "0.0=Polozka:Polozka", "--text", out});
    EXPECT_EQ(t.exitCode, 0) << t.err.toStdString();
    EXPECT_EQ(t.json.value("result").toInt(-1), 0);
    EXPECT_EQ(t.json.value("pages").toInt(), 1);
    QFile golden(goldenPath(QStringLiteral("details")));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(readAll(out), golden.readAll());

    // A link without its data, a detail of a missing detail, a link field that is not there.
    EXPECT_EQ(
        runTool({tpl, "--csv", dir.filePath("hla.csv"), "--link", "0=Cislo:Doklad", "--text", out})
            .exitCode,
        2);
    EXPECT_EQ(
        runTool({tpl, "--csv", dir.filePath("hla.csv"), "--detail",
                 "1.0=" + dir.filePath("slo.csv"), "--link", "1.0=Polozka:Polozka", "--text", out})
            .exitCode,
        2);
    const Tool noField =
        runTool({tpl, "--csv", dir.filePath("hla.csv"), "--detail", "0=" + dir.filePath("pol.csv"),
                 "--link", "0=Cislo:Neni", "--text", out});
    EXPECT_EQ(noField.exitCode, 2);
    EXPECT_TRUE(noField.err.contains(QStringLiteral("nemá sloupec \"Neni\"")));
}

TEST(ReportCli, PagesCodePageAndFailures) {
    QTemporaryDir dir;
    const QString tpl = dir.filePath(QStringLiteral("seznam.pts"));
    ASSERT_TRUE(brix::writeTextLines(tpl, productList(300, true)));
    const QString csv = dir.filePath(QStringLiteral("vyr.csv"));
    writeUtf8(csv, products(30));
    const QString out = dir.filePath(QStringLiteral("out.txt"));

    Tool t = runTool({tpl, "--csv", csv, "--text", out, "--pages", "2-2"});
    EXPECT_EQ(t.exitCode, 0) << t.err.toStdString();
    EXPECT_EQ(t.json.value("pages").toInt(), 3);
    EXPECT_EQ(t.json.value("printed").toInt(), 1);
    QFile golden(goldenPath(QStringLiteral("total_pages_range")));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(readAll(out), golden.readAll());

    t = runTool({tpl, "--csv", csv, "--text", out, "--codepage", "852", "--param", "x"});
    EXPECT_EQ(t.exitCode, 0);
    EXPECT_TRUE(readAll(out).contains("V\xEC"
                                      "robek 30")); // ý is 0xEC in code page 852

    t = runTool({tpl, "--csv", csv, "--text", out, "--max-records", "1"});
    EXPECT_EQ(t.json.value("pages").toInt(), 1);
    QFile one(goldenPath(QStringLiteral("max_records_one")));
    ASSERT_TRUE(one.open(QIODevice::ReadOnly));
    EXPECT_EQ(brix::decode(readAll(out))
                  .replace(QStringLiteral("Strana 1 z 1"), QStringLiteral("Strana 1")),
              brix::decode(one.readAll()));

    // A template that is not there: result 4, exit 1, the message on the error output.
    t = runTool({dir.filePath("neni.pts"), "--csv", csv, "--text", out});
    EXPECT_EQ(t.exitCode, 1);
    EXPECT_EQ(t.json.value("result").toInt(), seLoadTemplate);
    EXPECT_TRUE(t.err.contains(QStringLiteral("Nebyl nalezen soubor s předlohou tiskové sestavy")));

    // Output that cannot be written: 6.
    t = runTool({tpl, "--csv", csv, "--text", dir.filePath("chybi/out.txt")});
    EXPECT_EQ(t.exitCode, 1);
    EXPECT_EQ(t.json.value("result").toInt(), seOutput);

    // Bad input: a clear Czech message and exit 2.
    writeUtf8(dir.filePath("bad.csv"), QStringLiteral("Cislo:I,Datum:D\n1,31.02.2026\n"));
    t = runTool({tpl, "--csv", dir.filePath("bad.csv"), "--text", out});
    EXPECT_EQ(t.exitCode, 2);
    EXPECT_TRUE(t.err.contains(QStringLiteral("neodpovídá jeho typu"))) << t.err.toStdString();
    EXPECT_EQ(runTool({tpl, "--csv", csv, "--text", out, "--codepage", "437"}).exitCode, 2);
    EXPECT_EQ(runTool({tpl, "--csv", csv, "--text", out, "--pages", "3-1"}).exitCode, 2);
    EXPECT_EQ(runTool({tpl, "--csv", csv}).exitCode, 2);
    EXPECT_EQ(runTool({tpl, "--text", out}).exitCode, 2);
}

TEST(ReportCli, DataRootTableWithFilterAndIndex) {
    QTemporaryDir dir;
    {
        auto db = brix::Database::open(dir.path());
        brix::Table t(*db, QStringLiteral("Ciselnik\\Sklady"));
        t.open();
        const char* rows[][3] = {{"01", "Sklad Zlín", "Zlín"},
                                 {"02", "Hlavní sklad", "Brno"},
                                 {"03", "Areál Řečkovice", "Brno"},
                                 {"04", "Prodejna", "Praha"}};
        for (const auto& r : rows) {
            t.insert();
            t.field(QStringLiteral("Cis_Sklad")).setValue(QString::fromUtf8(r[0]));
            t.field(QStringLiteral("Nazev")).setValue(QString::fromUtf8(r[1]));
            t.field(QStringLiteral("Mesto")).setValue(QString::fromUtf8(r[2]));
            t.post();
        }
    }
    QStringList tpl = page(300, kOff, kOff, {}, {}, kOff);
    tpl << field(QStringLiteral("T"), QStringLiteral("Cis_Sklad"), 0, 0, 40)
        << field(QStringLiteral("T"), QStringLiteral("Nazev"), 50, 0, 300)
        << field(QStringLiteral("T"), QStringLiteral("Mesto"), 350, 0, 200)
        << label(QStringLiteral("K"), 0, 0, 100, QStringLiteral("Konec"));
    const QString tplPath = dir.filePath(QStringLiteral("sklady.pts"));
    ASSERT_TRUE(brix::writeTextLines(tplPath, tpl));
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    Tool t = runTool({tplPath, "--data-root", dir.path(), "--table", "ciselnik/sklady.db",
                      "--filter", "Mesto = 'Brno'", "--index", "Nazev", "--text", out});
    EXPECT_EQ(t.exitCode, 0) << t.err.toStdString();
    EXPECT_EQ(brix::decode(readAll(out)).toStdString(),
              std::string("03   Areál Řečkovice               Brno\r\n"
                          "02   Hlavní sklad                  Brno\r\n"
                          "Konec\r\n"));
    EXPECT_EQ(runTool({tplPath, "--data-root", dir.filePath("neni"), "--table", "Ciselnik\\Sklady",
                       "--text", out})
                  .exitCode,
              2);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("neni")));
    t = runTool({tplPath, "--data-root", dir.path(), "--table", "Ciselnik\\Neni", "--text", out});
    EXPECT_EQ(t.exitCode, 2);
    EXPECT_FALSE(t.err.isEmpty());
    t = runTool({tplPath, "--data-root", dir.path(), "--table", "Ciselnik\\Sklady", "--filter",
                 "Mesto = ", "--text", out});
    EXPECT_EQ(t.exitCode, 2);
}

namespace {

// The pages of character-grid text of 18 rows a page, each page's rows without trailing
// empty ones.
std::vector<QStringList> pagesOf(const QByteArray& text) {
    QStringList rows = brix::decode(text).split(QStringLiteral("\r\n"));
    if (!rows.isEmpty() && rows.back().isEmpty()) rows.removeLast();
    std::vector<QStringList> pages;
    for (qsizetype i = 0; i < rows.size(); i += 18) {
        QStringList p = rows.mid(i, 18);
        while (!p.isEmpty() && p.back().isEmpty())
            p.removeLast();
        pages.push_back(p);
    }
    return pages;
}

QStringList groupedList(bool newPage) {
    QStringList t = page(300, {}, {1, 17, 0}, {}, {}, {});
    t << QStringLiteral("I,4,0,\"#Druh\",1,17,0,0,%1").arg(newPage ? 1 : 0)
      << label(QStringLiteral("Z"), 0, 0, 300, QStringLiteral("Začátek"))
      << label(QStringLiteral("H"), 0, 0, 300, QStringLiteral("Hlavička"))
      << field(QStringLiteral("S0"), QStringLiteral("Druh"), 0, 0, 300)
      << field(QStringLiteral("T"), QStringLiteral("Nazev"), 20, 0, 300)
      << label(QStringLiteral("K"), 0, 0, 300, QStringLiteral("Konec"))
      << variable(QStringLiteral("P"), VarPageNumber, 0, 0, 100, QStringLiteral("Strana %d"));
    return t;
}

const char* kKinds =
    "Druh,Nazev\nBarvy,Email\nBarvy,Lazura\nLaky,Lak\nTmely,Tmel 1\nTmely,Tmel 2\n";

} // namespace

TEST(ReportRun, PageBreakFlagsAndSectionEvents) {
    ListBridge data = csvData(QString::fromUtf8(kKinds));
    // A group with the new-page flag: a new page at each change, none before the first header.
    auto pages = pagesOf(runText(groupedList(true), &data));
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0], (QStringList{"Začátek", "Hlavička", "Barvy", "  Email", "  Lazura", "", "",
                                     "", "", "", "", "", "", "", "", "", "", "Strana 1"}));
    EXPECT_EQ(pages[1].mid(0, 3), (QStringList{"Hlavička", "Laky", "  Lak"}));
    EXPECT_EQ(pages[1].back(), QStringLiteral("Strana 2"));
    EXPECT_EQ(pages[2].mid(0, 5),
              (QStringList{"Hlavička", "Tmely", "  Tmel 1", "  Tmel 2", "Konec"}));

    // One body per page.
    QStringList perPage = groupedList(false);
    perPage.replace(perPage.indexOf(QStringLiteral("I,3,2,1,17,0")),
                    QStringLiteral("I,3,2,1,17,1"));
    pages = pagesOf(runText(perPage, &data));
    ASSERT_EQ(pages.size(), 5u);
    for (size_t p = 0; p < 5; ++p) {
        EXPECT_EQ(pages[p].back(), QStringLiteral("Strana %1").arg(p + 1));
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Hlavička")));
    }
    EXPECT_TRUE(pages[4].contains(QStringLiteral("  Tmel 2")));

    // A break after the report header: the header alone on page 1 (with the page footer).
    QStringList afterHeader = groupedList(false);
    afterHeader.replace(afterHeader.indexOf(QStringLiteral("I,3,0,1,17,0")),
                        QStringLiteral("I,3,0,1,17,1"));
    pages = pagesOf(runText(afterHeader, &data));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].first(), QStringLiteral("Začátek"));
    EXPECT_FALSE(pages[0].contains(QStringLiteral("Hlavička")));
    EXPECT_EQ(pages[1].mid(0, 2), (QStringList{"Hlavička", "Barvy"}));
    EXPECT_EQ(pages[1].back(), QStringLiteral("Strana 2"));

    // The section event: skipping every group header, and NewPage before the report footer.
    QList<int> codes;
    pages = pagesOf(runText(groupedList(false), &data, [&](TSestava& r) {
        r.OnTiskOddilu = [&](TSestavaTyp& s, int code, bool& print) {
            codes << code;
            if (code == groupHeaderCode(0)) print = false;
            if (code == ReportFooter) s.NewPage();
        };
    }));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].mid(0, 3), (QStringList{"Začátek", "Hlavička", "  Email"}));
    EXPECT_EQ(pages[1].mid(0, 2), (QStringList{"Hlavička", "Konec"}));
    EXPECT_EQ(codes.count(Body), 5);
    EXPECT_EQ(codes.count(groupHeaderCode(0)), 3);
    EXPECT_EQ(codes.first(), ReportHeader);
}

TEST(ReportRun, OneRecordNullsEventsAndCancel) {
    ListBridge data = csvData(QString::fromUtf8(kKinds));
    // Only the current record of the data.
    data.step(sdNext);
    data.step(sdNext);
    auto pages =
        pagesOf(runText(groupedList(false), &data, [](TSestava& r) { r.TiskJedenZaznam = true; }));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].mid(0, 5), (QStringList{"Začátek", "Hlavička", "Laky", "  Lak", "Konec"}));
    EXPECT_EQ(data.current(), 2);

    // "Přerušit" during the run: 3 and no output.
    data.step(sdFirst);
    const QByteArray cancelled = runText(
        groupedList(false), &data,
        [](TSestava& r) { r.OnProgress = [](TSestavaTyp&, int record) { return record < 3; }; },
        seCancelled);
    EXPECT_TRUE(cancelled.isEmpty());

    // Null values: a function skips them and prints empty when nulls are allowed.
    ListBridge nums = csvData(QStringLiteral("Cena:N,Pozn\n10,a\n,b\n20,c\n"));
    QStringList t = page(300, kOff, kOff, {}, {}, kOff);
    t << QStringLiteral("F,0,Prumer,\"Průměr\",0,\"0\",0,\"#Cena\",3,15,2,2")
      << field(QStringLiteral("T"), QStringLiteral("Cena"), 0, 0, 100, AlignRight)
      << function(QStringLiteral("K"), QStringLiteral("Prumer"), 0, 0, 100);
    pages = pagesOf(runText(t, &nums, [](TSestava& r) { r.AllowNullValues = true; }));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0], (QStringList{"        10", "", "        20", "     15,00"}));

    // Event mode: the application supplies the names and the values of each record.
    TSestava r;
    r.IsStored = true;
    r.setPredloha(groupedList(false));
    r.SetFieldNames({QStringLiteral("Druh"), QStringLiteral("Nazev")});
    int row = 0;
    const QStringList names{QStringLiteral("Šroub"), QStringLiteral("Matice")};
    r.OnStepData = [&](TSestavaD&, TStepDir dir) {
        row = dir == sdFirst ? 0 : row + 1;
        return row < names.size() ? 0 : int(srEnd);
    };
    r.OnGetData = [&](TSestavaD& s) {
        s.values = QStringList{QStringLiteral("Spojovací"), names.value(row)};
    };
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    ASSERT_EQ(r.PrintTextToStream(b), seOk);
    pages = pagesOf(b.data());
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].mid(0, 6),
              (QStringList{"Začátek", "Hlavička", "Spojovací", "  Šroub", "  Matice", "Konec"}));
}

TEST(ReportComponent, TemplateNameAndClosedTable) {
    brix::TestPlatform ui;
    QTemporaryDir dir;
    TSestava r;
    r.setReportName(QStringLiteral("tisk"));
    EXPECT_EQ(r.ReportName(), QStringLiteral("tisk.pts"));
    r.setReportName(QStringLiteral("a.b"));
    EXPECT_EQ(r.ReportName(), QStringLiteral("a.pts"));

    // With ReportDirIgnore the template is looked for in the program's directory.
    QDir(dir.path()).mkpath(QStringLiteral("prog/ext_ucty/dodlisty"));
    QDir(dir.path()).mkpath(QStringLiteral("jinde"));
    const QString prog = dir.filePath(QStringLiteral("prog"));
    ASSERT_TRUE(brix::writeTextLines(prog + QStringLiteral("/ext_ucty/dodlisty/tisk_dl.pts"),
                                     groupedList(false)));
    r.programDir = prog;
    r.setReportDir(dir.filePath(QStringLiteral("jinde")));
    r.setReportName(QStringLiteral("ext_ucty\\dodlisty\\tisk_dl"));
    EXPECT_EQ(r.LoadTemplate(false), seOk);
    EXPECT_EQ(r.definition.groups.size(), 1u);
    r.ReportDirIgnore = false;
    ui.answer(Button::Ok, QStringLiteral("Nebyl nalezen soubor s předlohou"),
              QStringLiteral("Chyba"));
    EXPECT_EQ(r.LoadTemplate(false), seLoadTemplate);
    r.ReportDirIgnore = true;

    // A closed table: No gives 8; Yes opens it for the run and closes it again.
    auto db = brix::Database::open(dir.filePath(QStringLiteral("data")));
    {
        brix::Table t(*db, QStringLiteral("Ciselnik\\Sklady"));
        t.open();
        t.insert();
        t.field(QStringLiteral("Cis_Sklad")).setValue(QStringLiteral("01"));
        t.field(QStringLiteral("Nazev")).setValue(QStringLiteral("Hlavní"));
        t.post();
    }
    brix::Table sklady(*db, QStringLiteral("Ciselnik\\Sklady"));
    brix::TableReportSource source(sklady);
    r.DataSource = &source;
    r.IsStored = true;
    QStringList tpl = page(300, kOff, kOff, {}, kOff, kOff);
    tpl << field(QStringLiteral("T"), QStringLiteral("Nazev"), 0, 0, 300);
    r.setPredloha(tpl);
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    ui.answer(Button::No, QStringLiteral("Připojená tabulka není aktivní. Zkusit otevřít?"),
              QStringLiteral("Potvrzení"));
    EXPECT_EQ(r.PrintTextToStream(b), seNotReady);
    EXPECT_TRUE(b.data().isEmpty());
    ui.answer(Button::Yes, QStringLiteral("Připojená tabulka není aktivní."));
    EXPECT_EQ(r.PrintTextToStream(b), seOk);
    EXPECT_EQ(b.data(), QByteArray("Hlavn\xED\r\n"));
    EXPECT_FALSE(sklady.active());
    // An open table stays open and keeps its position.
    sklady.open();
    sklady.first();
    b.buffer().clear();
    b.seek(0);
    EXPECT_EQ(r.PrintTextToStream(b), seOk);
    EXPECT_TRUE(sklady.active());
    EXPECT_TRUE(sklady.hasRecord());
}

// ---- text layout and the grid writer ------------------------------------------------------

namespace {

TSiReportElement textElement(int width, int flags = 0, int size = 12, int align = AlignLeft,
                             const QString& font = QStringLiteral("Courier New")) {
    TSiReportElement e;
    e.kind = KindLabel;
    e.width = width;
    e.height = 17;
    e.fontName = font;
    e.fontSize = size;
    e.textFlags = flags;
    e.alignment = align;
    return e;
}

QStringList lineTexts(const TSiReportElement& e, const QString& text) {
    QStringList out;
    const auto lines = layoutText(e, text, LayoutContext{true, 100.0 / 6});
    for (const TRadek& l : lines->lines)
        out << l.text();
    return out;
}

// One page of the given elements, each laid out and placed at (left, top).
QByteArray gridOf(const std::vector<std::tuple<TSiReportElement, QString, int, int>>& items) {
    TSestVystup out;
    out.printableHeight = 100;
    out.printableWidth = 3000;
    for (const auto& [e, text, left, top] : items) {
        TVystPrvek v;
        v.source = e;
        v.left = left;
        v.top = top;
        v.width = e.width;
        v.height = e.height;
        v.lines = layoutText(e, text, LayoutContext{true, 100.0 / 6});
        v.lastLine = v.lines->count() - 1;
        out.place(0, v);
    }
    return textGridOutput(out, 1, 1);
}

} // namespace

TEST(TextLayout, WrappingTabsAndSingleLines) {
    // 10 characters in 100 units; a multi-line text breaks after the last space.
    EXPECT_EQ(lineTexts(textElement(100, TextMultiLine), QStringLiteral("jedna dva tři čtyři")),
              (QStringList{"jedna dva", "tři čtyři"}));
    // Without a space the line breaks at the character.
    EXPECT_EQ(lineTexts(textElement(50, TextMultiLine), QStringLiteral("abcdefghijkl")),
              (QStringList{"abcde", "fghij", "kl"}));
    // LF ends a line, CR is ignored; a single-line element stops at its first LF or its width.
    EXPECT_EQ(lineTexts(textElement(100, TextMultiLine), QStringLiteral("a\r\nb\n\nc")),
              (QStringList{"a", "b", "", "c"}));
    EXPECT_EQ(lineTexts(textElement(100), QStringLiteral("první\ndruhý")), QStringList{"první"});
    EXPECT_EQ(lineTexts(textElement(50), QStringLiteral("abcdefgh")), QStringList{"abcde"});
    // A tab moves to the next half inch: 5 characters at 10 cpi.
    EXPECT_EQ(gridOf({{textElement(300), QStringLiteral("ab\tc\td"), 0, 0}}),
              QByteArray("ab   c    d\r\n"));
}

TEST(TextLayout, PitchesAlignmentAndTheGridEdge) {
    // 12 points 10 cpi, 9 or 10 points 12 cpi, 8 points 17 cpi; "Roman" printer fonts by name.
    EXPECT_EQ(pitchOfFontSize(12), 10);
    EXPECT_EQ(pitchOfFontSize(10), 12);
    EXPECT_EQ(pitchOfFontSize(9), 12);
    EXPECT_EQ(pitchOfFontSize(8), 17);
    EXPECT_EQ(printerFontPitch(QStringLiteral("Roman 17cpi")), 17);
    EXPECT_EQ(printerFontPitch(QStringLiteral("Arial")), 0);
    // A right-aligned 12-point text in a 100-unit element ending at 250 ends at column 25.
    EXPECT_EQ(gridOf({{textElement(100, 0, 12, AlignRight), QStringLiteral("123"), 150, 0}}),
              QByteArray("                      123\r\n"));
    // Centred: a text laid out narrower (its character spacing) than the grid can hold loses
    // characters on both sides.
    TSiReportElement narrow = textElement(40, 0, 12, AlignCenter);
    narrow.spacing = 5;
    EXPECT_EQ(gridOf({{textElement(40, 0, 12, AlignCenter), QStringLiteral("ab"), 0, 0},
                      {narrow, QStringLiteral("123456"), 0, 17}}),
              QByteArray(" ab\r\n2345\r\n"));
    // At 17 cpi a 100-unit element holds 17 characters.
    EXPECT_EQ(gridOf({{textElement(100, 0, 8), QString(30, QLatin1Char('x')), 0, 0}}),
              QByteArray(QByteArray(17, 'x') + "\r\n"));
    // A text that would end beyond column 255 is dropped.
    EXPECT_EQ(gridOf({{textElement(100), QStringLiteral("pryč"), 2500, 0},
                      {textElement(100), QStringLiteral("zde"), 2400, 17}}),
              QByteArray("\r\n" + QByteArray(240, ' ') + "zde\r\n"));
    // Justified lines widen their spaces to the full width, the paragraph's last stays.
    EXPECT_EQ(gridOf({{textElement(100, TextMultiLine | TextJustify),
                       QStringLiteral("aa bb cc dddd e"), 0, 0}}),
              QByteArray("aa  bb  cc\r\ndddd e\r\n"));
}

TEST(ReportRun, DetailContinuesBelowTheMastersPageHeader) {
    QString items = QStringLiteral("Doklad:I,Polozka:I,Nazev\n");
    for (int i = 1; i <= 25; ++i)
        items += QStringLiteral("1,%1,Věc %1\n").arg(i);
    items += QStringLiteral("2,1,Jiná\n");
    ListBridge orders = csvData(QStringLiteral("Cislo:I,Odberatel\n1,Novák\n2,Dvořák\n"));
    QStringList t = page(300, {}, {}, {1, 34, 0}, {}, {});
    t << label(QStringLiteral("Z"), 0, 0, 300, QStringLiteral("DOKLADY"))
      << label(QStringLiteral("H"), 0, 0, 300, QStringLiteral("Hlavička strany"))
      << variable(QStringLiteral("P"), VarPageNumber, 0, 0, 300, QStringLiteral("Strana %d"))
      << field(QStringLiteral("T"), QStringLiteral("Cislo"), 0, 0, 50)
      << field(QStringLiteral("T"), QStringLiteral("Odberatel"), 60, 0, 300)
      << el(QStringLiteral("T"), KindDetail, QStringLiteral("0"), 0, 17, 700)
      << label(QStringLiteral("K"), 0, 0, 300, QStringLiteral("Konec"));
    const QStringList d{
        QStringLiteral("I,3,0,1,17,0"),
        QStringLiteral("I,3,2,1,17,0"),
        QStringLiteral("I,3,3,1,17,0"),
        label(QStringLiteral("Z"), 40, 0, 300, QStringLiteral("Položky:")),
        field(QStringLiteral("T"), QStringLiteral("Polozka"), 40, 0, 30, AlignRight),
        field(QStringLiteral("T"), QStringLiteral("Nazev"), 80, 0, 300),
        label(QStringLiteral("K"), 40, 0, 300, QStringLiteral("(konec)"))};
    for (const QString& l : d)
        t << QStringLiteral("D0,") + l;
    TSestava r;
    r.IsStored = true;
    r.DataSource = &orders;
    TSestDetail detail;
    detail.setMasterSestava(&r);
    auto itemData = linked(items, QStringLiteral("Doklad"), &r, QStringLiteral("Cislo"));
    detail.DataSource = itemData.get();
    r.setPredloha(t);
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    ASSERT_EQ(r.PrintTextToStream(b), seOk);
    expectGolden(QStringLiteral("detail_across_pages"), b.data());
}
