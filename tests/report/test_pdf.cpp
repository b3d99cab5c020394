// The PDF document of a run, checked by the external tools: qpdf finds its structure sound,
// pdftotext gives back the model's text (the Czech pangram, quotes, dashes, € and § in three
// families and styles), pdffonts lists every font embedded, subset and with a Unicode map, a
// barcode page drawn by pdftoppm decodes back; and a plain-mode golden fixes the frame.

#include "export_fixture.h"
#include "pdf.h"
#include "render.h"
#include "report_test_util.h"

#include "scripted_gtest.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace brix::report;
using brix::test::runProgram;
using brix::test::runReport;
using brix::test::writeTemp;

namespace {

QDateTime fixedClock() {
    return QDateTime(QDate(2026, 3, 14), QTime(15, 9, 26));
}

QByteArray pdfOf(brix::test::RunReport& r, bool compress = true) {
    r.report->pdfOptions.compress = compress;
    r.report->pdfOptions.clock = fixedClock;
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    EXPECT_EQ(r.report->ExportPdf(b), seOk);
    return b.data();
}

// The three families in four styles, each line the pangram or the marks.
QStringList fontsTemplate() {
    QStringList t{QStringLiteral("I,0,\"Písma\""),
                  QStringLiteral("I,1,5,42,5"),
                  QStringLiteral("I,2,0,826,1169,50,50,70,70,1,0"),
                  QStringLiteral("I,3,0,1,900,0"),
                  QStringLiteral("I,3,1,0,0,0"),
                  QStringLiteral("I,3,2,0,0,0"),
                  QStringLiteral("I,3,3,0,0,0"),
                  QStringLiteral("I,3,4,0,0,0"),
                  QStringLiteral("I,6,0,8,8,0,1,0,0")};
    const QStringList families{"Arial", "Times New Roman", "Courier New"};
    int top = 0;
    for (const QString& family : families)
        for (int style = 0; style < 4; ++style) {
            t << brix::test::textLine("Z", 1, "0", 0, top, 700, 24, family, 11, 0, style, 0, 0,
                                      brix::test::pangram());
            top += 30;
            t << brix::test::textLine("Z", 1, "0", 0, top, 700, 24, family, 11, 0, style, 0, 0,
                                      brix::test::marks());
            top += 30;
        }
    return t;
}

} // namespace

TEST(Pdf, QpdfFindsTheDocumentSoundInBothModes) {
    brix::TestPlatform ui;
    brix::test::RunReport r = runReport(brix::test::sampleTemplate(), brix::test::sampleData());
    ASSERT_EQ(r.result, seOk);
    QTemporaryDir dir;
    for (bool compress : {true, false}) {
        const QString path = writeTemp(dir, compress ? "z.pdf" : "plain.pdf", pdfOf(r, compress));
        const auto check = runProgram(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
        EXPECT_EQ(check.exitCode, 0) << check.out.toStdString() << check.err.toStdString();
        EXPECT_TRUE(check.err.isEmpty()) << check.err.toStdString();
    }
}

TEST(Pdf, TextOfThreeFamiliesInFourStylesReadsBackAsTheModel) {
    brix::TestPlatform ui;
    brix::test::RunReport r = runReport(fontsTemplate(), QStringLiteral("A:A\nx\n"));
    ASSERT_EQ(r.result, seOk);
    QTemporaryDir dir;
    const QString path = writeTemp(dir, "fonts.pdf", pdfOf(r));
    const auto text = runProgram(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-raw"), QStringLiteral("-enc"),
                                  QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    QStringList lines = QString::fromUtf8(text.out).split(QLatin1Char('\n'));
    for (QString& l : lines)
        l = l.trimmed();
    lines.removeAll(QString());
    lines.removeAll(QStringLiteral("\f"));
    QStringList expected;
    for (int i = 0; i < 12; ++i)
        expected << brix::test::pangram() << brix::test::marks();
    EXPECT_EQ(lines, expected);

    const auto fonts = runProgram(QStringLiteral("pdffonts"), {path});
    ASSERT_EQ(fonts.exitCode, 0);
    QStringList rows = QString::fromUtf8(fonts.out).split(QLatin1Char('\n'));
    rows = rows.mid(2);
    rows.removeAll(QString());
    EXPECT_EQ(rows.size(), 12) << fonts.out.toStdString();
    for (const QString& row : rows) {
        // name type encoding emb sub uni object ID
        EXPECT_TRUE(row.contains(QRegularExpression(
            "^[A-Z]{6}\\+Liberation\\S+\\s+CID TrueType\\s+Identity-H\\s+yes yes yes")))
            << row.toStdString();
    }
}

TEST(Pdf, PlainModeGoldenOfALandscapePage) {
    brix::TestPlatform ui;
    QStringList t = brix::test::sampleTemplate();
    brix::test::RunReport r = runReport(t, brix::test::sampleData());
    ASSERT_EQ(r.result, seOk);
    r.report->output.lastPage = 1;
    const QByteArray pdf = pdfOf(r, false);
    brix::test::expectGoldenFile(QStringLiteral("export_sample_plain.pdf"), pdf);
    EXPECT_TRUE(pdf.startsWith("%PDF-1.3\r\n1 0 obj\r\n<<\r\n/Producer (TALIV ReportGenerator "
                               "version 5.42.5)\r\n/CreationDate (D:20260314150926)\r\n"));
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 841.7 594.7]"));
    EXPECT_TRUE(pdf.endsWith("%%EOF"));
    // Every cross-reference entry points at its object.
    const qsizetype xref = pdf.lastIndexOf("\r\nxref\r\n") + 2;
    const qsizetype start = pdf.lastIndexOf("startxref\r\n") + 11;
    EXPECT_EQ(pdf.mid(start, pdf.indexOf('\r', start) - start).toLongLong(), xref);
    const QList<QByteArray> entries = pdf.mid(xref).split('\n');
    const int count = entries[1].split(' ')[1].trimmed().toInt();
    for (int i = 1; i < count; ++i) {
        const QByteArray e = entries[size_t(2 + i)];
        ASSERT_EQ(e.size(), 19) << i; // 20 bytes with the LF split off
        const qsizetype at = e.left(10).toLongLong();
        EXPECT_TRUE(pdf.mid(at).startsWith(QByteArray::number(i) + " 0 obj\r\n")) << i;
    }
}

TEST(Pdf, BarcodePageDrawnByPdftoppmDecodesBack) {
    brix::TestPlatform ui;
    QStringList t{QStringLiteral("I,0,\"Štítky\""),
                  QStringLiteral("I,1,5,42,5"),
                  QStringLiteral("I,2,0,826,1169,50,50,70,70,1,0"),
                  QStringLiteral("I,3,0,1,300,0"),
                  QStringLiteral("I,3,1,0,0,0"),
                  QStringLiteral("I,3,2,0,0,0"),
                  QStringLiteral("I,3,3,0,0,0"),
                  QStringLiteral("I,3,4,0,0,0"),
                  QStringLiteral("I,6,0,8,8,0,1,0,0")};
    // EAN 13 of twelve digits with the check digit computed, bar width "2,00", with its text.
    t << QStringLiteral("Z,12,0,50,50,300,100,,16,0,14,48,16777215,0,\"590123412345\",0,0,0");
    brix::test::RunReport r = runReport(t, QStringLiteral("A:A\nx\n"));
    ASSERT_EQ(r.result, seOk);
    QTemporaryDir dir;
    const QByteArray pdf = pdfOf(r);
    // Bars are vector paths, not a picture.
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));
    const QString path = writeTemp(dir, "ean.pdf", pdf);
    const auto ppm =
        runProgram(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
                    QStringLiteral("-singlefile"), path, dir.filePath(QStringLiteral("ean"))});
    ASSERT_EQ(ppm.exitCode, 0) << ppm.err.toStdString();
    const auto scan =
        runProgram(QStringLiteral("zbarimg"),
                   {QStringLiteral("--quiet"), dir.filePath(QStringLiteral("ean.png"))});
    EXPECT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(scan.out).trimmed(), QStringLiteral("EAN-13:5901234123457"));
}

TEST(Pdf, PagesLookAsTheRendererDrawsThem) {
    brix::TestPlatform ui;
    brix::test::RunReport r = runReport(brix::test::sampleTemplate(), brix::test::sampleData());
    ASSERT_EQ(r.result, seOk);
    QTemporaryDir dir;
    const QString path = writeTemp(dir, "s.pdf", pdfOf(r));
    // The part of page 1 that holds its elements, at the PDF's own 600 dots per inch: 1000 by
    // 200 units from the printable area's corner (the margins 50 and 70).
    const int w = 6000, h = 1200;
    const auto ppm = runProgram(QStringLiteral("pdftoppm"),
                                {"-r", "600", "-f", "1", "-l", "1", "-x", "300", "-y", "420", "-W",
                                 QString::number(w), "-H", QString::number(h), "-png",
                                 "-singlefile", path, dir.filePath("s")});
    ASSERT_EQ(ppm.exitCode, 0);
    const QImage pdfPage(dir.filePath(QStringLiteral("s.png")));
    ASSERT_EQ(pdfPage.size(), QSize(w, h));
    QImage preview(w, h, QImage::Format_RGB32);
    preview.fill(Qt::white);
    {
        QPainter p(&preview);
        renderPage(p, r.report->output, 0, 6.0);
    }
    // The same ink, pixel for pixel, but for the edges of antialiased glyphs and lines: a pixel
    // inked in one image and not in the other counts when the other has no ink next to it.
    auto ink = [](const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 160; };
    auto inkNear = [&](const QImage& img, int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (ink(img, std::clamp(x + dx, 0, w - 1), std::clamp(y + dy, 0, h - 1)))
                    return true;
        return false;
    };
    int inkPdf = 0, inkPreview = 0, apart = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool a = ink(pdfPage, x, y), b = ink(preview, x, y);
            inkPdf += a;
            inkPreview += b;
            if (a != b && !inkNear(a ? preview : pdfPage, x, y)) ++apart;
        }
    EXPECT_GT(inkPreview, 100000);
    EXPECT_NEAR(inkPdf, inkPreview, inkPreview / 20);
    EXPECT_LT(apart, inkPreview / 100) << inkPdf << " " << inkPreview;
}

TEST(Pdf, JpegPicturesAreKeptAsTheyAreAndTransparencyIsAMask) {
    brix::TestPlatform ui;
    QTemporaryDir dir;
    QImage photo(64, 32, QImage::Format_RGB32);
    photo.fill(QColor(200, 30, 30));
    ASSERT_TRUE(photo.save(dir.filePath(QStringLiteral("foto.jpg")), "JPEG", 90));
    QImage logo(20, 20, QImage::Format_ARGB32);
    logo.fill(Qt::transparent);
    QPainter(&logo).fillRect(QRect(5, 5, 10, 10), Qt::blue);
    ASSERT_TRUE(logo.save(dir.filePath(QStringLiteral("logo.png"))));
    QStringList t{QStringLiteral("I,0,\"Obrázky\""), QStringLiteral("I,1,5,42,5"),
                  QStringLiteral("I,2,0,826,1169,50,50,70,70,1,0"),
                  QStringLiteral("I,3,0,1,200,0"), QStringLiteral("I,3,1,0,0,0"),
                  QStringLiteral("I,3,2,0,0,0"),   QStringLiteral("I,3,3,0,0,0"),
                  QStringLiteral("I,3,4,0,0,0"),   QStringLiteral("I,6,0,8,8,0,1,0,0")};
    t << QStringLiteral("Z,11,0,0,0,64,32,,1,0,0,0,16777215,1,\"%1\",0,0,0")
             .arg(dir.filePath(QStringLiteral("foto.jpg")));
    t << QStringLiteral("Z,11,0,100,0,20,20,,1,0,0,0,16777215,1,\"%1\",0,0,0")
             .arg(dir.filePath(QStringLiteral("logo.png")));
    brix::test::RunReport r = runReport(t, QStringLiteral("A:A\nx\n"));
    ASSERT_EQ(r.result, seOk);
    const QByteArray pdf = pdfOf(r);
    QFile jpeg(dir.filePath(QStringLiteral("foto.jpg")));
    ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.contains(jpeg.readAll())); // the file's bytes, not re-encoded
    EXPECT_TRUE(pdf.contains("/Filter /DCTDecode"));
    EXPECT_TRUE(pdf.contains("/SMask "));
    EXPECT_TRUE(pdf.startsWith("%PDF-1.4\r\n")); // soft masks came with 1.4
    const QString path = writeTemp(dir, "obrazky.pdf", pdf);
    const auto check = runProgram(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
}
