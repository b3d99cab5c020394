// HTML pages of a run: the goldens of the sample's two pages, the code page and the numeric
// references of characters outside it, multi-line texts, pictures as bitmaps beside the page,
// and the file names of the page series.

#include "codec.h"
#include "export_fixture.h"
#include "html.h"
#include "report_test_util.h"

#include "scripted_gtest.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

using namespace brix::report;
using brix::test::runReport;

TEST(Html, SamplePagesMatchTheirGoldens) {
    brix::TestPlatform ui;
    brix::test::RunReport r = runReport(brix::test::sampleTemplate(), brix::test::sampleData());
    ASSERT_EQ(r.result, seOk);
    QTemporaryDir dir;
    for (int page = 0; page < 2; ++page) {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        ASSERT_EQ(r.report->ExportHtmlPage(b, dir.path(), page, QStringLiteral("obr.bmp")), seOk);
        brix::test::expectGoldenFile(QStringLiteral("export_sample_%1.html").arg(page + 1),
                                     b.data());
        const QString html = brix::decode(b.data());
        EXPECT_TRUE(
            html.startsWith("<HTML> <HEAD> <TITLE> </TITLE>\n<META NAME=\"Creator\" "
                            "CONTENT=\"TalivReportGenerator\">\n<META HTTP-EQUIV=\"Content-Type\" "
                            "CONTENT=\"text/html; charset=windows-1250\">\n</HEAD>"));
        EXPECT_TRUE(html.endsWith("</PRE></BODY> </HTML>\n"));
    }
    QBuffer outside;
    outside.open(QIODevice::WriteOnly);
    EXPECT_EQ(r.report->ExportHtmlPage(outside, dir.path(), 2, QStringLiteral("obr.bmp")),
              seOutput);
}

TEST(Html, TextOutsideTheCodePageBecomesNumericReferences) {
    EXPECT_EQ(htmlEscape(u"a < b & c > d"), QByteArray("a &lt; b &amp; c &gt; d"));
    EXPECT_EQ(htmlEscape(u"Žluť € „x“"), QByteArray("\x8elu\x9d \x80 \x84x\x93"));
    EXPECT_EQ(htmlEscape(u"Ωβ"), QByteArray("&#937;&#946;"));
    EXPECT_EQ(htmlEscape(QString::fromUtf8("\xF0\x9F\x98\x80")), QByteArray("&#128512;"));
    EXPECT_EQ(replaceExtension(QStringLiteral("a.b/obr.bmp"), QStringLiteral("3.bmp")),
              QStringLiteral("a.b/obr3.bmp"));
    EXPECT_EQ(replaceExtension(QStringLiteral("a.b/obr"), QStringLiteral("_.bmp")),
              QStringLiteral("a.b/obr_.bmp"));
}

TEST(Html, PicturesAreBitmapsBesideThePageNamedBare) {
    brix::TestPlatform ui;
    QTemporaryDir dir;
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("logo.png"))));
    QStringList t{QStringLiteral("I,0,\"Obrázky\""),
                  QStringLiteral("I,1,5,42,5"),
                  QStringLiteral("I,2,0,826,1169,50,50,70,70,1,0"),
                  QStringLiteral("I,3,0,1,100,0"),
                  QStringLiteral("I,3,1,0,0,0"),
                  QStringLiteral("I,3,2,0,0,0"),
                  QStringLiteral("I,3,3,0,0,0"),
                  QStringLiteral("I,3,4,0,0,0"),
                  QStringLiteral("I,6,0,8,8,0,1,0,0")};
    t << brix::test::textLine("Z", 1, "0", 0, 0, 100, 20, "Arial", 10, 0, 0, 0, 0, "Logo:");
    t << QStringLiteral("Z,11,0,120,0,60,30,,1,0,0,15,16777215,1,\"%1\",0,0,0")
             .arg(dir.filePath(QStringLiteral("logo.png")));
    brix::test::RunReport r = runReport(t, QStringLiteral("A:A\nx\n"));
    ASSERT_EQ(r.result, seOk);
    const QString out = dir.filePath(QStringLiteral("html"));
    QDir().mkpath(out);
    ASSERT_EQ(
        r.report->ExportHtmlFiles(out, QStringLiteral("strana.html"), QStringLiteral("obr.bmp")),
        seOk);
    QFile f(QDir(out).filePath(QStringLiteral("strana1.html")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString html = brix::decode(f.readAll());
    // Element 2 of page 1: the picture name's extension replaced by the page and "_", then by
    // the element's number; the IMG names the bare file beside the page.
    EXPECT_TRUE(html.contains(QStringLiteral(
        "<DIV STYLE=\"font: 0pt; position: absolute; top: 0px; left: 120px; width: 60px; "
        "height: 30px; border-top: 1px solid #000000; border-right: 1px solid #000000; "
        "border-bottom: 1px solid #000000; border-Left: 1px solid #000000;\"><IMG "
        "SRC=\"obr1_2.bmp\" ALT=\"\"></DIV>")))
        << html.toStdString();
    const QImage bmp(QDir(out).filePath(QStringLiteral("obr1_2.bmp")));
    ASSERT_FALSE(bmp.isNull());
    EXPECT_EQ(bmp.size(), QSize(60, 30));
    EXPECT_EQ(bmp.pixelColor(20, 10), QColor(Qt::red)); // natural size, at the top left
    EXPECT_EQ(bmp.pixelColor(50, 25), QColor(Qt::white));
}
