// The RTF document of a run: the sample's golden, the page ends, the shared font entries, the
// escaping of Windows-1250 and of characters outside it, shapes, and the text read back by the
// rich-text reader of memo fields.

#include "codec.h"
#include "export_fixture.h"
#include "report_test_util.h"
#include "rtf.h"

#include "scripted_gtest.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

using namespace brix::report;
using brix::test::runReport;

namespace {

QByteArray sampleRtf() {
    brix::test::RunReport r = runReport(brix::test::sampleTemplate(), brix::test::sampleData());
    EXPECT_EQ(r.result, seOk);
    EXPECT_EQ(r.report->output.pageCount(), 2);
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    EXPECT_EQ(r.report->ExportRtf(b), seOk);
    return b.data();
}

// The lines of the model's text elements, in placement order.
QStringList modelLines(const TSestVystup& out) {
    QStringList lines;
    for (const TStranaPrvku& p : out.pages)
        for (const TVystPrvek& e : p.elements) {
            if (!e.lines) continue;
            for (int i = std::max(0, e.firstLine); i <= e.lastLine && i < e.lines->count(); ++i)
                lines << e.lines->lines[size_t(i)].text();
        }
    return lines;
}

} // namespace

TEST(Rtf, SampleDocumentMatchesItsGolden) {
    brix::TestPlatform ui;
    const QByteArray rtf = sampleRtf();
    brix::test::expectGoldenFile(QStringLiteral("export_sample.rtf"), rtf);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1250\\deff0\\deftab720{\\fonttbl"));
    // Landscape: the paper turned, the top and bottom margins at 80 %.
    EXPECT_TRUE(rtf.contains("\\viewkind1\\paperw16833\\paperh11894\\margl720\\margr720"
                             "\\margt806\\margb806\\lndscpsxn\\headery0\\footery0\r\n"));
    // Two pages: the first ends with a page break, the last without.
    EXPECT_EQ(rtf.count("\\par\\page}"), 1);
    EXPECT_TRUE(rtf.endsWith("\\par}\r\n}"));
    // Arial bold and Arial regular share one entry of the font table.
    EXPECT_EQ(rtf.count("\\fcharset238 Arial;"), 1);
    EXPECT_TRUE(rtf.contains("{\\doccomm Produced by: TALIV Report Generator ("));
}

TEST(Rtf, ShapesFillsAndTheRisingDiagonal) {
    brix::TestPlatform ui;
    const QByteArray rtf = sampleRtf();
    // Fill style 1 is no fill, not a white one.
    EXPECT_TRUE(rtf.contains("{\\sp{\\sn shapeType}{\\sv 2}}{\\sp{\\sn fFilled}{\\sv 0}}"));
    // The pen of width 2 in EMU; a shape without a pen has no line.
    EXPECT_TRUE(rtf.contains("{\\sp{\\sn lineWidth}{\\sv 18288}}"));
    EXPECT_TRUE(rtf.contains("{\\sp{\\sn fLine}{\\sv 0}}"));
    // The diagonal from bottom-left to top-right is the box turned upside down.
    EXPECT_TRUE(rtf.contains("\\shpleft4320\\shptop864\\shpright6048\\shpbottom1728"
                             "\\shpbxmargin\\shpbymargin{\\sp{\\sn shapeType}{\\sv 20}}"
                             "{\\sp{\\sn fFlipV}{\\sv 1}}{\\sp{\\sn lineDashing}{\\sv 1}}"));
    EXPECT_TRUE(rtf.contains("{\\sp{\\sn shapeType}{\\sv 3}}{\\sp{\\sn lineDashing}{\\sv 1}}"
                             "{\\sp{\\sn fillOpacity}{\\sv 0}}"));
}

TEST(Rtf, TextIsEscapedForWindows1250) {
    EXPECT_EQ(rtfEscape(u"a\\b{c}"), QByteArray("a\\\\b\\{c\\}"));
    EXPECT_EQ(rtfEscape(u"Řež €"), QByteArray("\\'d8e\\'9e \\'80"));
    EXPECT_EQ(rtfEscape(u"x\ty\r\n"), QByteArray("x\\tab y"));
    // Outside Windows-1250: the character's code with a question mark for old readers.
    EXPECT_EQ(rtfEscape(u"Ωβ"), QByteArray("\\u937?\\u946?"));
    EXPECT_EQ(rtfEscape(QString::fromUtf8("\xF0\x9F\x98\x80")), QByteArray("\\u-10179?\\u-8704?"));
    EXPECT_EQ(toTwips(826), 11894);
    EXPECT_EQ(toTwips(7), 100);
    EXPECT_EQ(toTwips(-20), -288);
}

TEST(Rtf, ReadBackGivesTheModelsText) {
    brix::TestPlatform ui;
    brix::test::RunReport r = runReport(brix::test::sampleTemplate(), brix::test::sampleData());
    ASSERT_EQ(r.result, seOk);
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    ASSERT_EQ(r.report->ExportRtf(b), seOk);
    TSiReportElement base;
    base.fontName = QStringLiteral("Arial");
    base.fontSize = 10;
    const QString rtf = brix::decode(b.data());
    QString text;
    const std::vector<TFragment> runs = parseRichText(rtf, base);
    for (const TFragment& f : runs)
        text += f.text;
    // The colours come back with their runs (the table counts from 0).
    for (const TFragment& f : runs) {
        if (f.text.contains(QStringLiteral("Šroub"))) {
            EXPECT_EQ(f.color, 0x0000FF);
        }
        if (f.text.contains(QStringLiteral("Uvozovky"))) {
            EXPECT_EQ(f.color, 0x008000);
        }
    }
    QStringList read = text.split(QLatin1Char('\n'));
    read.removeAll(QString());
    const QStringList model = modelLines(r.report->output);
    EXPECT_EQ(read, model);
    EXPECT_TRUE(model.contains(brix::test::marks()));
    EXPECT_TRUE(model.contains(QStringLiteral("Matice \\ {M8}")));
}

TEST(Rtf, ColourTableEntriesCountFromZeroAndAnEmptyOneIsTheElementsColour) {
    TSiReportElement base;
    base.fontName = QStringLiteral("Arial");
    base.fontSize = 10;
    base.fontColor = 0x808080;
    const std::vector<TFragment> runs =
        parseRichText(QStringLiteral("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0"
                                     "\\blue0;}\\cf1 A\\cf2 B\\cf0 C}"),
                      base);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].text, QStringLiteral("A"));
    EXPECT_EQ(runs[0].color, 0x0000FF);
    EXPECT_EQ(runs[1].color, 0x000000);
    EXPECT_EQ(runs[2].color, 0x808080);
}

TEST(Rtf, FileIsWrittenWholeOrNotAtAll) {
    brix::TestPlatform ui;
    brix::test::RunReport r = runReport(brix::test::sampleTemplate(), brix::test::sampleData());
    QTemporaryDir dir;
    EXPECT_EQ(r.report->ExportRtfFile(dir.path(), QStringLiteral("sestava.rtf")), seOk);
    QFile f(dir.filePath(QStringLiteral("sestava.rtf")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().endsWith("\\par}\r\n}"));
    int errors = 0;
    r.report->OnError = [&](TSestava&, int code) {
        EXPECT_EQ(code, seOutput);
        ++errors;
        return true;
    };
    EXPECT_EQ(r.report->ExportRtfFile(dir.filePath(QStringLiteral("neni")),
                                      QStringLiteral("sestava.rtf")),
              seOutput);
    EXPECT_EQ(errors, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("neni/sestava.rtf"))));
}
