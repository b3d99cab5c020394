// Barcodes: the tables, the preparation with its check digits (published examples), EAN and
// UPC modules against the standards' tables, every symbology drawn by the renderer and read
// back from a row (and from a column at 90°) by the scan-line reader, zbarimg on the codes it
// knows, module widths, PostNet's short bars, the printed text and contents no set carries.

#include "barcode.h"
#include "barcode_decoder.h"
#include "output.h"
#include "render.h"

#include "gui_app.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace brix::report;
using brix::test::columnRuns;
using brix::test::decodePostNet;
using brix::test::decodeRuns;
using brix::test::rowRuns;

namespace {

// A barcode element of the symbology with the bar-width value, drawn at the scale with a quiet
// zone around it; `at` receives its rectangle in pixels.
QImage drawn(int type, const QString& content, bool check, int value, double scale, int angle = 0,
             bool text = false, QRect* at = nullptr) {
    brix::test::guiApp();
    const BarcodeSymbol symbol = encodeBarcode(type, content, check);
    const int module = barcodeModule(scale, value);
    const double width = std::max(100, barcodeWidth(symbol, module)) / scale + 1;
    const double height = 60;
    TVystPrvek v;
    v.source.kind = KindBarcode;
    v.source.penStyle = type;
    v.source.penWidth = value;
    v.source.flags = (check ? OptionStretch : 0) | (text ? OptionAspect : 0);
    v.source.angle = angle;
    v.source.value.text = content;
    const double margin = 30;
    v.left = margin;
    v.top = angle == 90 ? margin + width : margin;
    v.width = width;
    v.height = height;
    const QSize size =
        angle == 90 ? QSize(int((2 * margin + height) * scale), int((2 * margin + width) * scale))
                    : QSize(int((2 * margin + width) * scale), int((2 * margin + height) * scale));
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    renderElement(p, v, scale);
    if (at) *at = deviceRect(v, scale);
    return img;
}

// The standards' module string of an EAN 13, EAN 8 or UPC-A number.
QString standardEan(const QString& d) {
    using namespace brix::test;
    QString s = QStringLiteral("101");
    const bool ean13 = d.size() == 13;
    const QString left = ean13 ? d.mid(1, 6) : d.left(d.size() / 2);
    const QString right = ean13 ? d.mid(7) : d.mid(d.size() / 2);
    for (qsizetype i = 0; i < left.size(); ++i) {
        const int v = left[i].digitValue();
        const bool even = ean13 && kStandardEan13Parity[d[0].digitValue()][i] == 'G';
        s += QLatin1String(even ? kStandardEanG[v] : kStandardEanL[v]);
    }
    s += QStringLiteral("01010");
    for (QChar c : right)
        s += QLatin1String(kStandardEanR[c.digitValue()]);
    return s + QStringLiteral("101");
}

QString standardAddOn(const QString& d, const char* parity) {
    using namespace brix::test;
    QString s = QStringLiteral("1011");
    for (qsizetype i = 0; i < d.size(); ++i) {
        if (i > 0) s += QStringLiteral("01");
        const int v = d[i].digitValue();
        s += QLatin1String(parity[i] == 'G' ? kStandardEanG[v] : kStandardEanL[v]);
    }
    return s;
}

struct Case {
    int type;
    const char* content;
    bool check;
    const char* read; // what the symbol carries
};

// Every symbology with contents that use its sets, shifts, check digits and padding.
const Case kCases[] = {
    {bc2of5Interleaved, "12345", true, "123457"},
    {bc2of5Interleaved, "9876", false, "9876"},
    {bc2of5Industrial, "12345", true, "123457"},
    {bc2of5Matrix, "8675309", false, "8675309"},
    {bcCode39, "Brix-2024 $/+%", false, "BRIX-2024 $/+%"},
    {bcCode39Full, "brix@example.cz\t!", false, "brix@example.cz\t!"},
    {bcCode128A,
     "ABC\x01"
     "defg",
     false,
     "ABC\x01"
     "defg"},
    {bcCode128A, "PART-1a", false, "PART-1a"},
    {bcCode128B, "Kolin, Hradec 2", false, "Kolin, Hradec 2"},
    {bcCode128B, "'Hello' \x02\x03world", false, "'Hello' \x02\x03world"},
    {bcCode128C, "1234567", false, "1234567"},
    {bcCode93, "CODE 93", false, "CODE 93"},
    {bcCode93Full, "Hello+World $5", false, "Hello+World $5"},
    {bcMSI, "1234567", true, "12345674"},
    {bcCodabar, "31117013206375", false, "A31117013206375B"},
    {bcCodabar, "c40156d", false, "C40156D"},
    {bcEAN8, "9638507", true, "96385074"},
    {bcEAN13, "590123412345", true, "5901234123457"},
    {bcEAN13, "4006381333931", false, "4006381333931"},
    {bcUPCA, "03600029145", true, "036000291452"},
    {bcUPCE0, "425261", true, "4252614"},
    {bcUPCE1, "425261", true, "4252611"},
    {bcUPCSupp2, "12", true, "12"},
    {bcUPCSupp5, "52495", true, "52495"},
};

QString read(int type, const std::vector<int>& runs, int module, bool check) {
    QString t = decodeRuns(type, runs, module);
    if (type == bcCode39 && check) t = brix::test::withoutCode39Check(t);
    return t;
}

} // namespace

TEST(Barcode, TablesAndMagnifications) {
    ASSERT_EQ(barcodeTable().size(), 20u);
    EXPECT_STREQ(barcodeTable()[0].name, "2/5 interleaved");
    EXPECT_STREQ(barcodeTable()[12].name, "Codebar");
    EXPECT_STREQ(barcodeTable()[19].name, "UPC Supp5");
    EXPECT_FALSE(barcodeTable()[bcCode128B].numericOnly);
    EXPECT_TRUE(barcodeTable()[bcCode128C].numericOnly);
    // An index outside the table is EAN 13.
    EXPECT_EQ(barcodeType(20), bcEAN13);
    EXPECT_EQ(barcodeType(-1), bcEAN13);
    // Each value is its magnification times 8, and the texts and values find each other.
    ASSERT_EQ(zvetseniTable().size(), 36u);
    for (const Zvetseni& z : zvetseniTable()) {
        SCOPED_TRACE(z.text);
        EXPECT_EQ(z.value,
                  std::lround(QString::fromLatin1(z.text).replace(',', '.').toDouble() * 8));
        EXPECT_EQ(zvetseniValue(QString::fromLatin1(z.text)), z.value);
        EXPECT_EQ(zvetseniText(z.value), QString::fromLatin1(z.text));
    }
    EXPECT_EQ(zvetseniValue(QStringLiteral("2,25")), 18);
    EXPECT_EQ(zvetseniText(18), QStringLiteral("2,25"));
    EXPECT_EQ(zvetseniText(17), QStringLiteral("1,00"));
    EXPECT_EQ(zvetseniValue(QStringLiteral("2,2")), -1);
}

TEST(Barcode, PreparationAndCheckDigits) {
    struct Prep {
        int type;
        const char* content;
        bool check;
        const char* prepared;
    };
    for (const Prep& p : {
             // Short EAN/UPC with the flag: padded to one digit less, the check appended.
             Prep{bcEAN13, "590123412345", true, "5901234123457"},
             Prep{bcEAN13, "12A4", false, "0000000001204"},
             Prep{bcEAN13, "12A4", true, "0000000012041"},
             // All the digits: the last is replaced; more: the last digits are kept.
             Prep{bcEAN13, "5901234123450", true, "5901234123457"},
             Prep{bcEAN13, "995901234123450", true, "5901234123457"},
             Prep{bcEAN13, " 12-34 ", false, "0000000012034"},
             Prep{bcEAN8, "1234567", true, "12345670"},
             Prep{bcUPCA, "03600029145", true, "036000291452"},
             // UPC-E: six digits and the check of the UPC-A expansion (042100005264).
             Prep{bcUPCE0, "425261", true, "4252614"},
             Prep{bcUPCE0, "4252619", true, "4252614"},
             Prep{bcUPCE1, "425261", true, "4252611"},
             Prep{bcUPCE0, "4252619", false, "4252619"},
             // Supplements carry no check digit.
             Prep{bcUPCSupp5, "52495", true, "52495"},
             Prep{bcUPCSupp2, "5", true, "05"},
             // 2/5: the check with the flag, interleaved then padded to an even count.
             Prep{bc2of5Interleaved, "123", false, "0123"},
             Prep{bc2of5Interleaved, "12", true, "0123"},
             Prep{bc2of5Industrial, "12345", true, "123457"},
             Prep{bcMSI, "1234567", true, "12345674"},
             Prep{bcMSI, "1234567", false, "1234567"},
             Prep{bcPostNet, "12345", false, "123455"},
             Prep{bcCodabar, "1234", false, "A1234B"},
             Prep{bcCodabar, "c12d", false, "C12D"},
             Prep{bcCodabar, "A12", false, "A12B"},
             Prep{bcCode39, "code39", true, "CODE39"},
             Prep{bcCode128C, " 12 34x ", false, "120340"},
         }) {
        SCOPED_TRACE(testing::Message() << p.type << " " << p.content);
        EXPECT_EQ(prepareBarcode(p.type, QString::fromLatin1(p.content), p.check),
                  QString::fromLatin1(p.prepared));
    }
    // Code 93's published example: "CODE 93" carries the check characters E and 0.
    const BarcodeSymbol s = encodeBarcode(bcCode93, QStringLiteral("CODE 93"), false);
    const BarcodeSymbol withChecks = encodeBarcode(bcCode93, QStringLiteral("CODE 93E0"), false);
    const std::vector<BarElement> a(s.elements.begin(), s.elements.end() - 7);
    const std::vector<BarElement> b(withChecks.elements.begin(),
                                    withChecks.elements.begin() + a.size());
    EXPECT_EQ(a, b);
}

TEST(Barcode, EanAndUpcModulesEqualTheStandardsTables) {
    using namespace brix::test;
    for (const char* d : {"4006381333931", "5901234123457", "0000000000000", "9780201379624"})
        EXPECT_EQ(moduleString(encodeBarcode(bcEAN13, QString::fromLatin1(d), false)),
                  standardEan(QString::fromLatin1(d)))
            << d;
    EXPECT_EQ(moduleString(encodeBarcode(bcEAN8, QStringLiteral("96385074"), false)),
              standardEan(QStringLiteral("96385074")));
    EXPECT_EQ(moduleString(encodeBarcode(bcUPCA, QStringLiteral("036000291452"), false)),
              standardEan(QStringLiteral("036000291452")));
    // UPC-E 0 425261, check 4: parities of check digit 4 in number system 0; in number system
    // 1 the inverse.
    QString upce = QStringLiteral("101");
    QString upce1 = QStringLiteral("101");
    const QString six = QStringLiteral("425261");
    for (int i = 0; i < 6; ++i) {
        const int v = six[i].digitValue();
        const bool even = kStandardUpceParity[4][i] == 'G';
        upce += QLatin1String(even ? kStandardEanG[v] : kStandardEanL[v]);
        const bool even1 = kStandardUpceParity[1][i] != 'G';
        upce1 += QLatin1String(even1 ? kStandardEanG[v] : kStandardEanL[v]);
    }
    EXPECT_EQ(moduleString(encodeBarcode(bcUPCE0, QStringLiteral("4252614"), false)),
              upce + QStringLiteral("010101"));
    EXPECT_EQ(moduleString(encodeBarcode(bcUPCE1, QStringLiteral("4252611"), false)),
              upce1 + QStringLiteral("010101"));
    // Supplements: 12 is 0 modulo 4; 52495 has the parity digit 1 (3 × 14 + 9 × 11 = 141).
    EXPECT_EQ(moduleString(encodeBarcode(bcUPCSupp2, QStringLiteral("12"), false)),
              standardAddOn(QStringLiteral("12"), kStandardSupp2Parity[0]));
    EXPECT_EQ(moduleString(encodeBarcode(bcUPCSupp2, QStringLiteral("07"), false)),
              standardAddOn(QStringLiteral("07"), kStandardSupp2Parity[3]));
    EXPECT_EQ(moduleString(encodeBarcode(bcUPCSupp5, QStringLiteral("52495"), false)),
              standardAddOn(QStringLiteral("52495"), kStandardSupp5Parity[1]));
}

TEST(Barcode, EveryBarcodeReadsBackFromARowAndFromAColumnAtNinetyDegrees) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << barcodeTable()[size_t(c.type)].name << " " << c.content);
        for (double scale : {1.5, 3.0}) {
            const int module = barcodeModule(scale, 16);
            QRect r;
            QImage img =
                drawn(c.type, QString::fromLatin1(c.content), c.check, 16, scale, 0, false, &r);
            EXPECT_EQ(read(c.type, rowRuns(img, r.center().y()), module, c.check),
                      QString::fromLatin1(c.read))
                << "scale " << scale;
            // Turned by 90°: the bars rise from the top-left corner.
            img = drawn(c.type, QString::fromLatin1(c.content), c.check, 16, scale, 90, false, &r);
            EXPECT_EQ(read(c.type, columnRuns(img, r.left() + r.height() / 2), module, c.check),
                      QString::fromLatin1(c.read));
        }
    }
    // PostNet by its full and short bars.
    for (double scale : {1.5, 3.0}) {
        QRect r;
        const QImage img =
            drawn(bcPostNet, QStringLiteral("12345"), false, 16, scale, 0, false, &r);
        EXPECT_EQ(decodePostNet(rowRuns(img, r.top() + r.height() / 5),
                                rowRuns(img, r.bottom() - r.height() / 10)),
                  QStringLiteral("123455"));
    }
}

TEST(Barcode, ZbarimgReadsThePngsOfTheCodesItKnows) {
    const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    ASSERT_FALSE(zbarimg.isEmpty()) << "zbar-tools (scripts/deps.sh) is not installed";
    QTemporaryDir dir;
    struct Z {
        int type;
        const char* content;
        bool check;
        const char* zbar; // zbar gives UPC as EAN 13 and Code 39 without full ASCII
    };
    for (const Z& z :
         {Z{bcEAN13, "590123412345", true, "5901234123457"}, Z{bcEAN8, "9638507", true, "96385074"},
          Z{bcUPCA, "03600029145", true, "0036000291452"},
          Z{bcUPCE0, "425261", true, "0042100005264"}, Z{bcUPCSupp2, "12", false, "12"},
          Z{bcUPCSupp5, "52495", false, "52495"}, Z{bcCode39, "Brix-2024", false, "BRIX-2024"},
          Z{bcCode39Full, "Brix@x.cz", false, "B+R+I+X%V+X.+C+Z"},
          Z{bcCode93, "CODE 93", false, "CODE 93"},
          Z{bcCode93Full, "Hello+World", false, "Hello+World"},
          Z{bcCode128A, "PART-1a", false, "PART-1a"},
          Z{bcCode128B, "Hello World!", false, "Hello World!"},
          Z{bcCode128C, "1234567", false, "1234567"},
          Z{bcCodabar, "31117013206375", false, "A31117013206375B"},
          Z{bc2of5Interleaved, "12345", true, "123457"}}) {
        SCOPED_TRACE(barcodeTable()[size_t(z.type)].name);
        const QString file = dir.filePath(QStringLiteral("%1.png").arg(z.type));
        ASSERT_TRUE(drawn(z.type, QString::fromLatin1(z.content), z.check, 8, 3).save(file));
        QProcess p;
        p.start(zbarimg,
                {QStringLiteral("--raw"), QStringLiteral("-q"), QStringLiteral("-Sean2.enable"),
                 QStringLiteral("-Sean5.enable"), QStringLiteral("-Scodabar.enable"),
                 QStringLiteral("-Scode93.enable"), QStringLiteral("-Si25.enable"), file});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()).trimmed(),
                  QString::fromLatin1(z.zbar));
    }
}

TEST(Barcode, ModuleWidthsAtEveryScale) {
    // round(s × value / 6): under one pixel is one pixel, large modules are kept.
    EXPECT_EQ(barcodeModule(1, 8), 1);
    EXPECT_EQ(barcodeModule(0.32, 8), 1);
    EXPECT_EQ(barcodeModule(6, 8), 8);
    EXPECT_EQ(barcodeModule(12, 128), 256);
    EXPECT_EQ(barWidths(bcCode128B, 3), (std::array<int, 5>{0, 3, 6, 9, 12}));
    EXPECT_EQ(barWidths(bc2of5Matrix, 4), (std::array<int, 5>{0, 4, 9, 13, 18}));
    // At 32 % of a screen (s = 0.32) an EAN 13 is 95 pixels wide, not 760.
    const BarcodeSymbol s = encodeBarcode(bcEAN13, QStringLiteral("5901234123457"), false);
    EXPECT_EQ(barcodeWidth(s, barcodeModule(0.32, 8)), 95);
    QRect r;
    const QImage img = drawn(bcEAN13, QStringLiteral("5901234123457"), false, 8, 12, 0, false, &r);
    const std::vector<int> runs = rowRuns(img, r.center().y());
    int width = 0;
    for (int w : runs)
        width += w;
    EXPECT_EQ(width, 95 * 16);
    EXPECT_EQ(read(bcEAN13, runs, 16, false), QStringLiteral("5901234123457"));
}

TEST(Barcode, PostNetShortBarsStandOnTheBottomEdge) {
    QRect r;
    const QImage img = drawn(bcPostNet, QStringLiteral("1"), false, 16, 3, 0, false, &r);
    // "1" is short, short, short, full, full after the full frame bar.
    const int module = barcodeModule(3, 16);
    const int firstShort = r.left() + 2 * module; // frame bar, space
    const int shortTop = r.top() + r.height() - int(std::lround(r.height() * 2.0 / 5.0));
    EXPECT_EQ(qGray(img.pixel(firstShort, r.bottom())), 0);
    EXPECT_EQ(qGray(img.pixel(firstShort, shortTop)), 0);
    EXPECT_EQ(qGray(img.pixel(firstShort, shortTop - 1)), 255);
    EXPECT_EQ(qGray(img.pixel(r.left(), r.top())), 0);
}

TEST(Barcode, PrintedTextAndContentsNoSetCarries) {
    // The text stands at the top-left corner on white, over the bars; the bars still read
    // below it.
    QRect r;
    QImage img = drawn(bcEAN13, QStringLiteral("590123412345"), true, 16, 3, 0, true, &r);
    const int module = barcodeModule(3, 16);
    int dark = 0, white = 0;
    for (int y = r.top(); y < r.top() + 3 * module; ++y)
        for (int x = r.left(); x < r.left() + 6 * module; ++x)
            (qGray(img.pixel(x, y)) < 128 ? dark : white)++;
    EXPECT_GT(dark, 0);
    EXPECT_GT(white, dark);
    EXPECT_EQ(read(bcEAN13, rowRuns(img, r.bottom() - 2), module, false),
              QStringLiteral("5901234123457"));
    // Czech letters are in no set of Code 128 or Code 39: a crossed frame, no bars.
    for (int type : {bcCode128B, bcCode39, bcCode93Full, bcCode39Full}) {
        const BarcodeSymbol s = encodeBarcode(type, QStringLiteral("Žluťoučký"), false);
        EXPECT_FALSE(s.encodable) << type;
        EXPECT_TRUE(s.elements.empty());
        img = drawn(type, QStringLiteral("Žluťoučký"), false, 16, 3, 0, false, &r);
        EXPECT_TRUE(decodeRuns(type, rowRuns(img, r.center().y()), module).isEmpty());
        EXPECT_LT(qGray(img.pixel(r.left(), r.center().y())), 128);
        EXPECT_LT(qGray(img.pixel(r.right(), r.center().y())), 128);
        EXPECT_LT(qGray(img.pixel(r.center().x(), r.top())), 128);
        // The diagonals cross in the middle.
        const int x = r.left() + r.width() / 4, y = r.top() + r.height() / 4;
        int near = 0;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                near += qGray(img.pixel(x + dx, y + dy)) < 128;
        EXPECT_GT(near, 0);
    }
    // A start or stop letter inside a Codabar content has no place either.
    EXPECT_FALSE(encodeBarcode(bcCodabar, QStringLiteral("12A34"), false).encodable);
    EXPECT_TRUE(encodeBarcode(bcCode39, QStringLiteral("abc"), false).encodable);
}
