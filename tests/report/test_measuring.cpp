// How text is measured: graphic templates by the design advances of the substituted faces
// (checked against Qt's own font engine on the same files), fixed advances for the character
// grid, printer fonts and character spacing, and the grid writer's columns for measured lines.

#include "bridge.h"
#include "codec.h"
#include "fontmetrics.h"
#include "output.h"
#include "sestava.h"

#include "gui_app.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRawFont>

using namespace brix::report;

namespace {

const LayoutContext kGraphic{false, 100.0 / 6};
const LayoutContext kCharacterGrid{true, 100.0 / 6};

TSiReportElement text(const QString& font, int size, int width, int flags = 0, int style = 0) {
    TSiReportElement e;
    e.kind = KindLabel;
    e.fontName = font;
    e.fontSize = size;
    e.fontStyle = style;
    e.width = width;
    e.height = 17;
    e.textFlags = flags;
    return e;
}

std::vector<double> positions(const TSiReportElement& e, const QString& s,
                              const LayoutContext& ctx) {
    std::vector<double> x;
    const auto lines = layoutText(e, s, ctx);
    for (const TRadek& l : lines->lines)
        for (const TFragment& f : l.runs)
            x.insert(x.end(), f.x.begin(), f.x.end());
    return x;
}

// The positions Qt's font engine gives the same face, unhinted, scaled to 100 units per inch
// (asked at one pixel per font unit, where its advances are whole numbers).
std::vector<double> qtPositions(const QString& font, int size, bool bold, bool italic,
                                const QString& s) {
    brix::test::guiApp();
    const FontFace& face = fontFace(font, bold, italic);
    QRawFont raw(face.file(), face.unitsPerEm(), QFont::PreferNoHinting);
    EXPECT_TRUE(raw.isValid()) << face.file().toStdString();
    const QList<quint32> glyphs = raw.glyphIndexesForString(s);
    const QList<QPointF> adv = raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
    std::vector<double> x;
    double at = 0;
    for (const QPointF& a : adv) {
        x.push_back(at * emSize(size) / face.unitsPerEm());
        at += a.x();
    }
    return x;
}

QStringList lineTexts(const TSiReportElement& e, const QString& s, const LayoutContext& ctx) {
    QStringList out;
    const auto lines = layoutText(e, s, ctx);
    for (const TRadek& l : lines->lines)
        out << l.text();
    return out;
}

QByteArray gridOf(const TSiReportElement& e, const QString& s, const LayoutContext& ctx) {
    TSestVystup out;
    out.printableHeight = 100;
    out.printableWidth = 3000;
    TVystPrvek v;
    v.source = e;
    v.width = e.width;
    v.height = e.height;
    v.lines = layoutText(e, s, ctx);
    v.lastLine = v.lines->count() - 1;
    out.place(0, v);
    return textGridOutput(out, 1, 1);
}

} // namespace

TEST(TextMeasuring, GraphicTemplatesMeasureByTheDesignAdvancesOfTheFace) {
    const QString pangram = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy – „§ 5 €“");
    struct Case {
        const char* font;
        int size;
        int style;
    };
    for (const Case& c :
         {Case{"Arial", 12, 0}, Case{"Arial CE", 9, StyleBold},
          Case{"Times New Roman", 14, StyleItalic},
          Case{"Times New Roman", 10, StyleBold | StyleItalic}, Case{"Courier New", 11, 0}}) {
        SCOPED_TRACE(c.font);
        TSiReportElement e = text(QString::fromLatin1(c.font), c.size, 5000, 0, c.style);
        const std::vector<double> got = positions(e, pangram, kGraphic);
        const std::vector<double> want =
            qtPositions(QString::fromLatin1(c.font), c.size, c.style & StyleBold,
                        c.style & StyleItalic, pangram);
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < got.size(); ++i)
            ASSERT_NEAR(got[i], want[i], 1e-9) << i;
    }
    // The faces are the metric-compatible ones and the style picks its own file.
    EXPECT_EQ(fontFace(QStringLiteral("Arial"), false, false).family(),
              QStringLiteral("Liberation Sans"));
    EXPECT_TRUE(fontFace(QStringLiteral("Arial"), true, false).bold());
    EXPECT_TRUE(fontFace(QStringLiteral("Times New Roman"), false, true).italic());
    EXPECT_EQ(fontFace(QStringLiteral("Courier New"), false, false).family(),
              QStringLiteral("Liberation Mono"));
    // Courier New is 0.6 em wide (to a ten-thousandth): 12 points are 10 units, as on the
    // character grid.
    EXPECT_NEAR(
        positions(text(QStringLiteral("Courier New"), 12, 500), QStringLiteral("ab"), kGraphic)[1],
        10.0, 0.01);
}

TEST(TextMeasuring, CharacterGridPrinterFontsAndSpacingKeepTheFixedAdvance) {
    const QString s = QStringLiteral("WiWi");
    EXPECT_EQ(positions(text(QStringLiteral("Arial"), 12, 500), s, kCharacterGrid),
              (std::vector<double>{0, 10, 20, 30}));
    const std::vector<double> roman =
        positions(text(QStringLiteral("Roman 17cpi"), 12, 500), s, kGraphic);
    ASSERT_EQ(roman.size(), 4u);
    EXPECT_NEAR(roman[3], 3 * 100.0 / 17, 1e-9);
    TSiReportElement spaced = text(QStringLiteral("Arial"), 12, 500);
    spaced.spacing = 7;
    EXPECT_EQ(positions(spaced, s, kGraphic), (std::vector<double>{0, 7, 14, 21}));
    EXPECT_FALSE(layoutText(spaced, s, kGraphic)->measured);
    EXPECT_TRUE(layoutText(text(QStringLiteral("Arial"), 12, 500), s, kGraphic)->measured);
}

TEST(TextMeasuring, MeasuredLinesBreakWhereTheirWidthEnds) {
    // Twenty narrow letters fit a 100-unit element in Arial (about 3.7 units each at 12
    // points), where the fixed advance held ten.
    const QString narrow(20, QLatin1Char('i'));
    EXPECT_EQ(lineTexts(text(QStringLiteral("Arial"), 12, 100), narrow, kGraphic),
              QStringList{narrow});
    EXPECT_EQ(lineTexts(text(QStringLiteral("Arial"), 12, 100), narrow, kCharacterGrid),
              QStringList{QString(10, QLatin1Char('i'))});
    // Wide capitals take more than the fixed advance: 100 units hold six W (15.7 each).
    EXPECT_EQ(lineTexts(text(QStringLiteral("Arial"), 12, 100, TextMultiLine),
                        QStringLiteral("WWWWWWWW"), kGraphic),
              (QStringList{"WWWWWW", "WW"}));
    // A break after the last space that fits.
    EXPECT_EQ(lineTexts(text(QStringLiteral("Arial"), 10, 100, TextMultiLine),
                        QStringLiteral("Příliš žluťoučký kůň úpěl"), kGraphic),
              (QStringList{"Příliš žluťoučký", "kůň úpěl"}));
    // Justified lines end at the element's right edge.
    TSiReportElement j = text(QStringLiteral("Arial"), 10, 100, TextMultiLine | TextJustify);
    const auto lines = layoutText(j, QStringLiteral("aa bb cc dd ee ff gg hh ii"), kGraphic);
    ASSERT_GE(lines->count(), 2);
    const TFragment& first = lines->lines[0].runs.back();
    const FontFace& face = fontFace(QStringLiteral("Arial"), false, false);
    EXPECT_NEAR(first.x.back() + face.advance(first.text.back().unicode(), emSize(10)), 100, 1e-6);
}

TEST(TextMeasuring, TheGridPutsMeasuredCharactersInConsecutiveColumns) {
    // Narrow and wide letters alike take one column each; the gap of a tab reaches the column
    // of its stop (half an inch: 5 columns at 10 cpi).
    EXPECT_EQ(gridOf(text(QStringLiteral("Arial"), 12, 300), QStringLiteral("iWiW x"), kGraphic),
              QByteArray("iWiW x\r\n"));
    EXPECT_EQ(gridOf(text(QStringLiteral("Arial"), 12, 300), QStringLiteral("ab\tc\td"), kGraphic),
              QByteArray("ab   c    d\r\n"));
    // Justified gaps wider than a space become several spaces; the last line stays.
    EXPECT_EQ(gridOf(text(QStringLiteral("Arial"), 12, 100, TextMultiLine | TextJustify),
                     QStringLiteral("aa bb cc dddd eeee"), kGraphic),
              QByteArray("aa  bb  cc\r\ndddd eeee\r\n"));
}

// A graphic list laid out by measured widths into the character grid: names of narrow letters
// keep more characters than the fixed advance allowed, and no character overlaps another.
TEST(TextMeasuring, GraphicListIntoTheCharacterGrid) {
    const QString font = QStringLiteral("Arial");
    auto el = [&](const char* sec, int kind, const char* ref, int left, int width, int align,
                  const QString& t, int flags = 0) {
        return QStringLiteral("%1,%2,%3,%4,0,%5,17,%6,10,0,0,%7,0,238,\"%8\",0,0,0")
            .arg(QLatin1String(sec))
            .arg(kind)
            .arg(QLatin1String(ref))
            .arg(left)
            .arg(width)
            .arg(font)
            .arg(align | flags)
            .arg(t);
    };
    TSestava r;
    r.IsStored = true;
    r.setPredloha({QStringLiteral("I,0,\"Seznam\""), QStringLiteral("I,1,5,42,5"),
                   QStringLiteral("I,2,0,826,300,0,0,0,0,1,0"), QStringLiteral("I,3,0,1,17,0"),
                   QStringLiteral("I,3,1,1,17,0"), QStringLiteral("I,3,2,1,17,0"),
                   QStringLiteral("I,3,3,0,0,0"), QStringLiteral("I,3,4,0,0,0"),
                   QStringLiteral("I,6,0,8,8,0,1,0,0"),
                   el("Z", 1, "0", 0, 400, AlignCenter, QStringLiteral("SEZNAM VÝROBKŮ")),
                   el("H", 1, "0", 0, 60, AlignRight, QStringLiteral("Číslo")),
                   el("H", 1, "0", 80, 150, AlignLeft, QStringLiteral("Název")),
                   el("H", 1, "0", 240, 100, AlignRight, QStringLiteral("Cena")),
                   el("T", 2, "Cislo", 0, 60, AlignRight, QString()),
                   el("T", 2, "Nazev", 80, 150, AlignLeft, QString()),
                   el("T", 2, "Cena", 240, 100, AlignRight, QString())});
    ListBridge data;
    data.columns = {{QStringLiteral("Cislo"), ftInteger, {}},
                    {QStringLiteral("Nazev"), ftString, {}},
                    {QStringLiteral("Cena"), ftCurrency, {}}};
    const QStringList names{QStringLiteral("Štětec plochý 50 mm"),
                            QStringLiteral("WWW MMM ŠŠŠ ŽŽŽ ÓÓÓ WWW"),
                            QStringLiteral("lití illit lilií fíl jíl lilt illi lit"),
                            QStringLiteral("Ředidlo C 6000, 1 l")};
    for (int i = 0; i < names.size(); ++i)
        data.rows.push_back(
            {TCalcType::ofNumber(i + 1, QString::number(i + 1)), TCalcType::ofText(names[i], 0),
             TCalcType::ofNumber(10 * i + 0.5, QStringLiteral("%1,50").arg(10 * i))});
    r.DataSource = &data;
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    ASSERT_EQ(r.PrintTextToStream(out), seOk);
    const QString path =
        QStringLiteral(BRIX_SOURCE_DIR "/tests/report/data/golden/graphic_list.txt");
    if (qEnvironmentVariableIsSet("BRIX_UPDATE_GOLDEN")) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(out.data());
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(brix::decode(out.data()).toStdString(), brix::decode(f.readAll()).toStdString());
}
