#include "codec.h"
#include "definition.h"
#include "fonts.h"
#include "listresolver.h"
#include "templatefile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace brix::report;

namespace {

QString samplePath() {
    return QStringLiteral(BRIX_SOURCE_DIR "/tests/report/data/sample.pts");
}

ReportDefinition loadSample(const QStringList* fields = nullptr) {
    ReportDefinition def;
    QString error;
    EXPECT_TRUE(loadTemplateFile(samplePath(), def, &error, fields)) << error.toStdString();
    return def;
}

ReportDefinition fromLines(const QStringList& lines, const QStringList* fields = nullptr) {
    ReportDefinition def;
    loadDefinition(def, lines, fields);
    return def;
}

// The line of the first element of a section, as written.
QString writtenLine(ReportDefinition& def, const QString& prefix) {
    for (const QString& l : saveDefinition(def))
        if (l.startsWith(prefix)) return l;
    return QString();
}

} // namespace

TEST(TemplateFile, FieldReading) {
    EXPECT_EQ(splitTemplateLine(u"a,b,,c"), (QStringList{"a", "b", "", "c"}));
    EXPECT_EQ(splitTemplateLine(u"a,"), (QStringList{"a", ""}));
    EXPECT_EQ(splitTemplateLine(u"\"x, \"\"y\"\"\",2"), (QStringList{"x, \"y\"", "2"}));
    EXPECT_EQ(splitTemplateLine(u"\"\",1"), (QStringList{"", "1"}));
    // A quoted field without its closing quote runs to the end of the line.
    EXPECT_EQ(splitTemplateLine(u"1,\"open, still"), (QStringList{"1", "open, still"}));
    // Text between a closing quote and the next comma is dropped.
    EXPECT_EQ(splitTemplateLine(u"\"a\"junk,b"), (QStringList{"a", "b"}));
    // A quote inside an unquoted field is ordinary text.
    EXPECT_EQ(splitTemplateLine(u"a\"b,c"), (QStringList{"a\"b", "c"}));

    EXPECT_EQ(templateInt(u"-13"), -13);
    EXPECT_EQ(templateInt(u" 7 "), 7);
    EXPECT_EQ(templateInt(u"+4"), 4);
    EXPECT_EQ(templateInt(u"", 8), 8);
    EXPECT_EQ(templateInt(u"1x", 8), 8);
    EXPECT_EQ(templateInt(u"99999999999", 3), 3);
}

TEST(TemplateFile, SampleModel) {
    const QStringList fields{"Cislo", "Nazev", "Cena"};
    ReportDefinition def = loadSample(&fields);
    EXPECT_EQ(def.description, QStringLiteral("Dodací list, \"vzor\" 1"));
    EXPECT_EQ(def.version, (TemplateVersion{5, 42, 5}));
    EXPECT_FALSE(def.page.landscape);
    EXPECT_TRUE(def.page.allowOrientationChange);
    EXPECT_EQ(def.page.paperWidth, 826);
    EXPECT_EQ(def.page.marginTop, 70);
    EXPECT_EQ(def.infoValue5, 7);
    EXPECT_TRUE(def.breakAfterHeader());
    EXPECT_FALSE(def.noFirstPageHeader());
    EXPECT_TRUE(def.breakBeforeFooter());
    EXPECT_TRUE(def.footerToBottom());
    EXPECT_TRUE(def.noLastPageFooter());
    EXPECT_TRUE(def.background.own);
    EXPECT_TRUE(def.background.partialPage);
    EXPECT_EQ(def.background.fileName, QStringLiteral("pozadi.bmp"));

    ASSERT_EQ(def.groups.size(), 2u);
    EXPECT_EQ(def.sectionCount(), 9);
    EXPECT_EQ(def.groups[0].expression, QStringLiteral("#Firma"));
    EXPECT_TRUE(def.groups[0].newPage);
    EXPECT_FALSE(def.groups[1].newPage);
    EXPECT_EQ(def.section(groupHeaderCode(0)).height, 30);
    EXPECT_FALSE(def.section(groupFooterCode(1)).visible);
    // The S1 line stands before the group's I,4 line and still lands in its header.
    ASSERT_EQ(def.section(groupHeaderCode(1)).elements.size(), 1u);
    EXPECT_EQ(def.section(groupHeaderCode(1)).elements[0].text,
              QStringLiteral("Skupina \"vnitřní\", hlava"));
    EXPECT_EQ(def.section(groupFooterCode(0)).elements.size(), 1u);

    ASSERT_EQ(def.functions.size(), 2);
    const TRadekFunkce& f = def.functions[0];
    EXPECT_EQ(f.name, QStringLiteral("Soucet"));
    EXPECT_EQ(f.description, QStringLiteral("Součet ceny"));
    EXPECT_EQ(f.resetLevel, 2);
    EXPECT_EQ(f.aggregation, TRadekFunkce::Sum);
    EXPECT_EQ(f.expression, QStringLiteral("#Cena*#Mnozstvi"));

    const TSiReportElement& title = def.section(ReportHeader).elements[0];
    EXPECT_EQ(title.fontName, QStringLiteral("Times New Roman"));
    EXPECT_EQ(title.fontSize, 14);        // -20 hundredths of an inch
    EXPECT_EQ(title.fontColor, 0xFF0000); // palette 12, blue
    EXPECT_EQ(title.alignment, AlignCenter);
    EXPECT_TRUE(title.hasFlag(TextJustify)); // 34: centre and block alignment
    EXPECT_FALSE(title.hasFlag(TextMultiLine));
    EXPECT_EQ(title.flags, 15);
    EXPECT_EQ(title.spacing, 2);
    EXPECT_EQ(title.reserved, 99);

    const auto& body = def.section(Body).elements;
    ASSERT_EQ(body.size(), 4u);
    EXPECT_EQ(body[0].referenceName, QStringLiteral("Nazev"));
    EXPECT_EQ(body[0].reference, 1);
    EXPECT_EQ(body[0].fontColor, 0x808080); // raw value of a palette colour
    EXPECT_EQ(body[1].reference, 2);
    EXPECT_EQ(body[2].kind, KindFunction);
    EXPECT_EQ(body[2].reference, 0); // the function "Soucet"
    EXPECT_EQ(body[3].kind, KindDetail);
    EXPECT_EQ(body[3].width, 600);

    const auto& footer = def.section(ReportFooter).elements;
    ASSERT_EQ(footer.size(), 4u);
    EXPECT_EQ(footer[0].penWidth, 2);
    EXPECT_EQ(footer[0].penColor, 0x0000FF);
    EXPECT_EQ(footer[0].fillColor, 12345678); // above 15: raw
    EXPECT_EQ(footer[0].fillStyle, 1);
    EXPECT_EQ(footer[1].effectivePenStyle(), 0); // a wide line is solid
    EXPECT_EQ(footer[1].penStyle, 2);
    EXPECT_EQ(footer[2].text, QStringLiteral("C:\\obrazky\\logo.bmp"));
    EXPECT_EQ(footer[3].text, QStringLiteral("#Cislo"));
    EXPECT_EQ(footer[3].angle, 90);
    EXPECT_EQ(footer[3].reserved, 5);

    const TSiReportElement& pageFont = def.section(PageFooter).elements[0];
    EXPECT_EQ(pageFont.fontName, QStringLiteral("Roman 12cpi"));

    const TSiReportElement& groupLabel = def.section(groupHeaderCode(1)).elements[0];
    EXPECT_EQ(groupLabel.fontName, QStringLiteral("Arial"));
    EXPECT_EQ(groupLabel.charset, 238);

    ASSERT_EQ(def.detailTemplates.size(), 2);
    EXPECT_EQ(
        def.detailTemplates[0],
        (QStringList{"I,0,\"Položky\"", "T,2,0,10,0,100,18,Arial,10,0,0,0,0,238,\"\",0,0,0"}));
    EXPECT_EQ(def.detailTemplates[3].size(), 1);
}

TEST(TemplateFile, SaveOrderAndRoundTrip) {
    ReportDefinition def = loadSample();
    const TPredloha first = saveDefinition(def);
    ASSERT_GE(first.size(), 12);
    const QStringList expectedStart{"I,0,\"Dodací list, \"\"vzor\"\" 1\"",
                                    "I,1,5,42,5",
                                    "I,2,2,826,1169,50,50,70,70,1,0",
                                    "I,3,0,1,120,1",
                                    "I,3,1,1,80,0",
                                    "I,3,2,1,20,0",
                                    "I,3,3,1,60,3",
                                    "I,3,4,1,40,1",
                                    "I,4,0,\"#Firma\",1,30,1,25,1",
                                    "I,4,1,\"#Druh\",1,20,0,0,0",
                                    "I,5,7",
                                    "I,6,0,8,8,0,1,1,0",
                                    "I,7,1,0,1,0,0,0,0,pozadi.bmp"};
    EXPECT_EQ(first.mid(0, expectedStart.size()), expectedStart);
    // Functions, then Z H T K P, then each group's S and U, then the details.
    QString order;
    for (const QString& l : first.mid(expectedStart.size()))
        order += l.section(QLatin1Char(','), 0, 0) + QLatin1Char(' ');
    EXPECT_EQ(order, QStringLiteral("F F Z H T T T T K K K K P U0 S1 D0 D0 D3 "));
    // Element lines in their written form.
    EXPECT_TRUE(first.contains(
        "Z,1,0,10,10,400,30,Times New Roman,14,12,1,34,15,238,\"Příliš žluťoučký kůň\",2,0,99"));
    EXPECT_TRUE(first.contains("T,2,Nazev,10,0,300,18,Courier New,10,7,0,16,0,238,\"\",0,0,0"));
    EXPECT_TRUE(first.contains("T,15,0,0,20,600,20"));
    EXPECT_TRUE(first.contains("K,8,0,10,10,500,40,,2,9,0,15,12345678,1"));
    EXPECT_TRUE(first.contains("K,11,0,520,10,80,40,,1,0,0,48,15,0,\"logo.bmp\""));
    EXPECT_TRUE(first.contains("K,12,0,10,60,200,50,,2,0,4,48,15,0,\"#Cislo\",0,90,5"));
    EXPECT_TRUE(
        first.contains("D3,T,1,0,0,0,50,18,Arial,10,0,0,0,0,238,\"cizí, \"\"detail\"\"\",0,0,0"));

    ReportDefinition again = fromLines(first);
    EXPECT_TRUE(again.sameModel(fromLines(first)));
    EXPECT_EQ(saveDefinition(again), first);
    EXPECT_EQ(again.lines, first);
}

TEST(TemplateFile, FileIsWindows1250WithCrLf) {
    QTemporaryDir dir;
    ReportDefinition def = loadSample();
    const QString out = dir.filePath("out.pts");
    ASSERT_TRUE(saveTemplateFile(out, def));
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("I,0,\"Dodac\xED list"));
    EXPECT_TRUE(bytes.contains("I,1,5,42,5\r\nI,2,"));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    // The same file with LF line ends reads the same.
    QByteArray lf = bytes;
    lf.replace("\r\n", "\n");
    QFile g(dir.filePath("lf.pts"));
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write(lf);
    g.close();
    ReportDefinition a, b;
    ASSERT_TRUE(loadTemplateFile(out, a));
    ASSERT_TRUE(loadTemplateFile(g.fileName(), b));
    EXPECT_TRUE(a.sameModel(b));
    QString error;
    EXPECT_FALSE(loadTemplateFile(dir.filePath("neni.pts"), a, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(TemplateFile, CommasAndQuotesSurviveRoundTrips) {
    ReportDefinition def;
    def.description = QStringLiteral("Faktura, \"kopie\", 2\"");
    def.groups.clear();
    def.addGroup(QStringLiteral("IIF(#1 = 'a,b', \"x\", 'y')"));
    TRadekFunkce& f = def.functions.append();
    f.name = QStringLiteral("Jméno, s čárkou");
    f.description = QStringLiteral("\"popis\"");
    f.initialValue = QStringLiteral("1,5");
    f.expression = QStringLiteral("'a,\"b\"' + #2");
    TSiReportElement e;
    e.kind = KindLabel;
    e.fontName = QStringLiteral("\"Divné, písmo");
    e.text = QStringLiteral("\",\"\",,\"");
    def.section(Body).elements.push_back(e);
    def.background.fileName = QStringLiteral("a,b.bmp");
    def.detailTemplates[1] << QStringLiteral(
        "T,1,0,0,0,10,10,Arial,10,0,0,0,0,0,\"a,\"\"b\",0,0,0");

    TPredloha lines = saveDefinition(def);
    for (int round = 0; round < 4; ++round) {
        ReportDefinition next = fromLines(lines);
        EXPECT_EQ(next.description, def.description);
        EXPECT_EQ(next.groups[0].expression, def.groups[0].expression);
        EXPECT_TRUE(next.functions[0].sameDefinition(def.functions[0]));
        EXPECT_EQ(next.section(Body).elements[0], e);
        EXPECT_EQ(next.background.fileName, def.background.fileName);
        EXPECT_EQ(next.detailTemplates, def.detailTemplates);
        const TPredloha again = saveDefinition(next);
        EXPECT_EQ(again, lines);
        lines = again;
    }
}

TEST(TemplateFile, NamedReferences) {
    const QStringList lines{
        "F,0,Celkem,\"\",0,\"0\",0,\"#3\",2,15,2,2",
        "T,2,Cena,0,0,10,10,Arial,10,0,0,0,0,0,\"\",0,0,0",
        "T,3,cena,0,0,10,10,Arial,10,0,0,0,0,0,\"\",0,0,0",
        "T,2,Neni,0,0,10,10,Arial,10,0,0,0,0,0,\"\",0,0,0",
        "T,2,7,0,0,10,10,Arial,10,0,0,0,0,0,\"\",0,0,0",
        "T,6,CELKEM,0,0,10,10,Arial,10,0,0,0,0,0,\"\",0,0,0",
        "T,6,Jina,0,0,10,10,Arial,10,0,0,0,0,0,\"\",0,0,0",
        "T,4,Nazev,0,0,10,10,Arial,10,0,0,0,0,0,\"\",0,0,0",
    };
    const QStringList order1{"Cislo", "Cena", "Nazev"};
    const QStringList order2{"Cena", "Nazev", "Cislo"};
    ReportDefinition a = fromLines(lines, &order1);
    const auto& ea = a.section(Body).elements;
    EXPECT_EQ(ea[0].reference, 1);
    EXPECT_EQ(ea[1].reference, 1); // ignoring case
    EXPECT_EQ(ea[2].reference, 0); // missing: field 0, name kept
    EXPECT_EQ(ea[2].referenceName, QStringLiteral("Neni"));
    EXPECT_EQ(ea[3].reference, 0); // outside the field list
    EXPECT_EQ(ea[4].reference, 0);
    EXPECT_TRUE(ea[4].tracksByName());
    EXPECT_EQ(ea[5].referenceName, QStringLiteral("Jina"));
    EXPECT_EQ(ea[6].reference, 0); // a parameter reference is a number only
    EXPECT_FALSE(ea[6].tracksByName());

    ReportDefinition b = fromLines(lines, &order2);
    EXPECT_EQ(b.section(Body).elements[0].reference, 0);
    // The names survive a save, the missing one included.
    const TPredloha saved = saveDefinition(a);
    EXPECT_TRUE(saved.contains("T,2,Neni,0,0,10,10,Arial,10,0,0,0,0,0,\"\",0,0,0"));
    EXPECT_TRUE(saved.contains("T,6,CELKEM,0,0,10,10,Arial,10,0,0,0,0,0,\"\",0,0,0"));
    EXPECT_TRUE(saved.contains("T,2,0,0,0,10,10,Arial,10,0,0,0,0,0,\"\",0,0,0"));
    // Without field names nothing is limited: the index stays.
    EXPECT_EQ(fromLines(lines).section(Body).elements[3].reference, 7);
}

TEST(TemplateFile, OldVersionShiftsVariables) {
    auto variableRef = [](const QString& version, int ref) {
        ReportDefinition d = fromLines(
            {version, QStringLiteral("T,5,%1,0,0,10,10,Arial,10,0,0,0,0,0,\"\",0,0,0").arg(ref)});
        return d.section(Body).elements[0].reference;
    };
    EXPECT_EQ(variableRef("I,1,1,0,2", 4), 5);
    EXPECT_EQ(variableRef("I,1,1,0,2", 3), 3);
    EXPECT_EQ(variableRef("I,1,0,9,0", 6), 7);
    EXPECT_EQ(variableRef("I,1,1,0,3", 4), 4);
    EXPECT_EQ(variableRef("I,1,2,0,1", 4), 4);
    EXPECT_EQ(variableRef("I,1,5,42,5", 4), 4);
    // Once written, the template carries the current version and is not shifted again.
    ReportDefinition d = fromLines({"I,1,1,0,2", "T,5,4,0,0,10,10,Arial,10,0,0,0,0,0,\"\",0,0,0"});
    ReportDefinition again = fromLines(saveDefinition(d));
    EXPECT_EQ(again.section(Body).elements[0].reference, 5);
}

TEST(TemplateFile, PageSetupAndGrid) {
    ReportDefinition d;
    d.page.paperWidth = 1000;
    d.page.paperHeight = 2000;
    // Version major 0: no paper size in the line, the current one stays.
    loadDefinition(d, {"I,1,0,0,0", "I,2,1,11,12,13,14,0,5"});
    EXPECT_TRUE(d.page.landscape);
    EXPECT_FALSE(d.page.allowOrientationChange);
    EXPECT_EQ(d.page.paperWidth, 1000);
    EXPECT_EQ(d.page.paperHeight, 2000);
    EXPECT_EQ(d.page.marginLeft, 11);
    EXPECT_EQ(d.page.marginBottom, 14);
    EXPECT_EQ(d.page.columns, 1); // 0 columns is one column
    EXPECT_EQ(d.page.columnGap, 5);

    ReportDefinition e = fromLines({"I,2,3,700,900,1,2,3,4,2,30,99", "I,6,1,0,0,1,2,1,1"});
    EXPECT_TRUE(e.page.landscape);
    EXPECT_TRUE(e.page.allowOrientationChange);
    EXPECT_EQ(e.page.columns, 2);
    EXPECT_EQ(e.section(Body).columns, 2);
    EXPECT_EQ(e.section(Body).columnGap, 30);
    EXPECT_TRUE(e.grid.characterGrid);
    EXPECT_EQ(e.grid.gridX, 6);  // 17 cpi
    EXPECT_EQ(e.grid.gridY, 25); // 4 lines per inch
    EXPECT_EQ(writtenLine(e, "I,2"), QStringLiteral("I,2,3,700,900,1,2,3,4,2,30"));

    ReportDefinition g = fromLines({"I,6,3,0,-4,0,,1,0"});
    EXPECT_FALSE(g.grid.characterGrid);
    EXPECT_EQ(g.grid.gridX, 8);
    EXPECT_EQ(g.grid.gridY, 8);
    EXPECT_EQ(g.grid.pitch, 1);
    EXPECT_EQ(writtenLine(g, "I,6"), QStringLiteral("I,6,0,8,8,0,1,1,0"));

    // A detail ignores the page setup and has no page header or footer elements.
    ReportDefinition detail;
    detail.isDetail = true;
    loadDefinition(detail,
                   {"I,2,1,100,100,1,1,1,1,1,0", "H,1,0,0,0,10,10,Arial,10,0,0,0,0,0,\"x\",0,0,0",
                    "P,1,0,0,0,10,10,Arial,10,0,0,0,0,0,\"x\",0,0,0",
                    "T,1,0,0,0,10,10,Arial,10,0,0,0,0,0,\"x\",0,0,0"});
    EXPECT_FALSE(detail.page.landscape);
    EXPECT_EQ(detail.page.paperWidth, 826);
    EXPECT_TRUE(detail.section(PageHeader).elements.empty());
    EXPECT_TRUE(detail.section(PageFooter).elements.empty());
    EXPECT_EQ(detail.section(Body).elements.size(), 1u);
}

TEST(TemplateFile, LenientReadingNeverRejects) {
    const QStringList lines{
        "",
        "X",
        "Q,1,2,3",
        "i,0,\"lower case is unknown\"",
        "I,99,1",
        "I,x,\"not a line number\"",
        "I,3,9,1,1,1",
        "S5,1,0,0,0,10,10,Arial,10,0,0,0,0,0,\"no such group\",0,0,0",
        "Sx,1,0,0,0,10,10,Arial,10,0,0,0,0,0,\"no number\",0,0,0",
        "Dx,I,0,\"not a detail\"",
        "D,I,0,\"not a detail\"",
        "T,abc,def,1x,,3,4",
        "F",
        "F,0,,\"\",x,\"\",y,\"\",z,q,r,9",
        "T,13,0,0,0,10,10,,-5,0,0,0,0,9",
        "K,8,0,0,0,10,10,,2,0,0,0",
        "I,0,\"Popis",
    };
    ReportDefinition d = fromLines(lines);
    EXPECT_EQ(d.description, QStringLiteral("Popis"));
    EXPECT_TRUE(d.groups.empty());
    EXPECT_TRUE(d.detailTemplates.isEmpty());
    const auto& body = d.section(Body).elements;
    ASSERT_EQ(body.size(), 2u);
    EXPECT_EQ(body[0].kind, 0); // unknown kind, kept with the text layout
    EXPECT_EQ(body[0].left, 0);
    EXPECT_EQ(body[0].width, 3);
    EXPECT_EQ(elementKindName(body[0].kind), QStringLiteral("Neznámý"));
    EXPECT_EQ(body[1].kind, KindPaintBox);
    EXPECT_EQ(body[1].penWidth, 1);  // negative pen width
    EXPECT_EQ(body[1].fillStyle, 6); // oversampling clamped to 1..6
    const TSiReportElement& rect = d.section(ReportFooter).elements[0];
    EXPECT_EQ(rect.fillColor, kWhite); // missing fill colour: white
    ASSERT_EQ(d.functions.size(), 1);  // a lone "F" is shorter than two characters
    const TRadekFunkce& f = d.functions[0];
    EXPECT_EQ(f.name, QStringLiteral("Funkce1"));
    EXPECT_EQ(f.initialValue, QString());
    EXPECT_EQ(f.type, 0);
    EXPECT_EQ(f.totalDigits, 15);
    EXPECT_EQ(f.decimals, 2);
    EXPECT_EQ(f.numberFormat, 2); // 9 is above 4

    ReportDefinition again = fromLines(saveDefinition(d));
    EXPECT_TRUE(again.sameModel(d));
}

TEST(TemplateFile, LoadingClearsThePreviousContent) {
    ReportDefinition d = loadSample();
    loadDefinition(d, {"I,0,\"nová\"", "T,1,0,0,0,10,10,Arial,10,0,0,0,0,0,\"x\",0,0,0"});
    EXPECT_EQ(d.description, QStringLiteral("nová"));
    EXPECT_TRUE(d.groups.empty());
    EXPECT_EQ(d.sectionCount(), 5);
    EXPECT_TRUE(d.functions.empty());
    EXPECT_TRUE(d.detailTemplates.isEmpty());
    EXPECT_TRUE(d.section(ReportFooter).elements.empty());
    EXPECT_EQ(d.section(Body).elements.size(), 1u);
    EXPECT_EQ(d.lines.size(), 2);
}

TEST(TemplateFile, ColoursAndFonts) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(colorFromFile(i), palette()[i].value);
        EXPECT_EQ(colorToFile(palette()[i].value), i);
    }
    EXPECT_EQ(colorFromFile(16), 16);
    EXPECT_EQ(colorToFile(16), 16);
    EXPECT_EQ(colorToFile(0x123456), 0x123456);
    EXPECT_EQ(colorFromFile(-16777211), -16777211);

    ReportDefinition d = fromLines({
        "T,1,0,0,0,10,10,Arial CE,-100,0,0,0,0,0,\"\",0,0,0",
        "T,1,0,0,0,10,10,Times New Roman Greek,10,0,0,0,0,0,\"\",0,0,0",
        "T,1,0,0,0,10,10,Courier New TUR,10,0,0,0,0,0,\"\",0,0,0",
        "T,1,0,0,0,10,10,Arial Baltic,10,0,0,0,0,0,\"\",0,0,0",
        "T,1,0,0,0,10,10,Arial CYR,10,0,0,0,0,1,\"\",0,0,0",
        "T,1,0,0,0,10,10,Tahoma,10,0,0,0,0,1,\"\",0,0,0",
    });
    const auto& el = d.section(Body).elements;
    EXPECT_EQ(el[0].fontName, QStringLiteral("Arial"));
    EXPECT_EQ(el[0].charset, 238);
    EXPECT_EQ(el[0].fontSize, 72); // one inch
    EXPECT_EQ(el[1].charset, 161);
    EXPECT_EQ(el[1].fontName, QStringLiteral("Times New Roman"));
    EXPECT_EQ(el[2].charset, 162);
    EXPECT_EQ(el[3].charset, 186);
    EXPECT_EQ(el[4].charset, 204);
    EXPECT_EQ(el[5].charset, 1);
    EXPECT_EQ(el[5].fontName, QStringLiteral("Tahoma"));

    EXPECT_EQ(substituteFontFamily("Arial"), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(substituteFontFamily("Arial CE"), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(substituteFontFamily("times new roman"), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(substituteFontFamily("Courier New CE"), QStringLiteral("Liberation Mono"));
    EXPECT_EQ(substituteFontFamily("Roman 17cpi"), QStringLiteral("Liberation Mono"));
    EXPECT_EQ(substituteFontFamily("DejaVu Sans"), QStringLiteral("DejaVu Sans"));
    const auto pf = printerFont("Roman 17cpi");
    ASSERT_TRUE(pf);
    EXPECT_EQ(pf->cpi, 17);
    EXPECT_EQ(pf->pointSize, 8);
    EXPECT_EQ(printerFont("Roman 12cpi")->pointSize, 10);
    EXPECT_EQ(printerFont("Roman 10cpi")->pointSize, 11);
    EXPECT_FALSE(printerFont("Arial"));
}

TEST(TemplateFile, DescriptionAndTemplateList) {
    QTemporaryDir dir;
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write("b_faktura.pts", "I,1,5,42,5\r\nI,0,\"Faktura, \"\"kopie\"\"\"\r\nI,0,\"druh\xE1\"\r\n");
    write("a_bez.PTS", "I,1,5,42,5\r\nT,1,0,0,0,1,1,Arial,1,0,0,0,0,0,\"\",0,0,0\r\n");
    write("c_dl.pts", "I,0,\"Dodac\xED list\"\n");
    write("poznamka.txt", "I,0,\"jiný\"\r\n");
    EXPECT_EQ(readTemplateDescription(dir.filePath("b_faktura.pts")),
              QStringLiteral("Faktura, \"kopie\""));
    EXPECT_EQ(readTemplateDescription(dir.filePath("a_bez.PTS")), QString());
    EXPECT_EQ(readTemplateDescription(dir.filePath("neni.pts")), QString());

    const QList<TSouborPredlohy> all = listTemplates(dir.path(), QStringLiteral("*.txt"));
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(all[0].caption, QStringLiteral("a_bez.PTS"));
    EXPECT_EQ(all[1].caption, QStringLiteral("Faktura, \"kopie\""));
    EXPECT_EQ(all[2].caption, QStringLiteral("Dodací list"));
    EXPECT_EQ(all[2].path, dir.filePath("c_dl.pts"));
    const QList<TSouborPredlohy> some = listTemplates(dir.path(), QStringLiteral("b_*"));
    ASSERT_EQ(some.size(), 1);
}

TEST(TemplateFile, PictureCandidates) {
    ListResolver r;
    r.fields = {{QStringLiteral("Obrazek"),
                 TCalcType{TCalcType::Text, 0, QStringLiteral("vyr17.bmp"), false}}};
    EXPECT_EQ(pictureCandidates(QStringLiteral("#Obrazek,'logo, 2.bmp',/abs/x.png,, "),
                                QStringLiteral("/data/sestavy"), &r),
              (QStringList{"vyr17.bmp", "/data/sestavy/vyr17.bmp", "logo, 2.bmp",
                           "/data/sestavy/logo, 2.bmp", "/abs/x.png"}));
    EXPECT_TRUE(pictureCandidates(QString(), QStringLiteral("/d"), &r).isEmpty());
}
