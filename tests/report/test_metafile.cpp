// Page metafiles: enhanced and placeable classic ones are read by the external converters
// (emf2svg-conv, wmf2svg) with the page's texts in the SVG; the header, the units and the
// records that carry text; one file per page.

#include "codec.h"
#include "export_fixture.h"
#include "metafile.h"
#include "report_test_util.h"

#include "scripted_gtest.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>

using namespace brix::report;
using brix::test::runProgram;
using brix::test::runReport;
using brix::test::writeTemp;

namespace {

quint32 u32(const QByteArray& d, qsizetype at) {
    return qFromLittleEndian<quint32>(d.constData() + at);
}
quint16 u16(const QByteArray& d, qsizetype at) {
    return qFromLittleEndian<quint16>(d.constData() + at);
}

// The texts of a converted file in order, joined (a converter may give every character a
// text element of its own), character references decoded. wmf2svg copies the metafile's
// bytes of Windows-1250 into its file as they are.
QString svgText(const QByteArray& svg, bool windows1250 = false) {
    const QString s = windows1250 ? brix::decode(svg) : QString::fromUtf8(svg);
    static const QRegularExpression textElement(
        QStringLiteral("<text[^>]*>\\s*(?:<!\\[CDATA\\[)?(.*?)(?:\\]\\]>)?\\s*</text>"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression entity(QStringLiteral("&#(x?)([0-9A-Fa-f]+);"));
    QString joined;
    for (auto it = textElement.globalMatch(s); it.hasNext();) {
        const QString t = it.next().captured(1);
        joined += t.trimmed().isEmpty() ? QStringLiteral(" ") : t.trimmed();
    }
    QString out;
    qsizetype last = 0;
    for (auto it = entity.globalMatch(joined); it.hasNext();) {
        const auto m = it.next();
        out += joined.mid(last, m.capturedStart() - last);
        const char32_t code = m.captured(2).toUInt(nullptr, m.captured(1).isEmpty() ? 10 : 16);
        out += QString::fromUcs4(&code, 1);
        last = m.capturedEnd();
    }
    out += joined.mid(last);
    out.replace(QLatin1String("&amp;"), QLatin1String("&"));
    out.replace(QLatin1String("&lt;"), QLatin1String("<"));
    out.replace(QLatin1String("&gt;"), QLatin1String(">"));
    out.replace(QLatin1String("&quot;"), QLatin1String("\""));
    return out;
}

} // namespace

TEST(Metafile, EnhancedMetafileIsReadWithItsTexts) {
    brix::TestPlatform ui;
    brix::test::RunReport r = runReport(brix::test::sampleTemplate(), brix::test::sampleData());
    ASSERT_EQ(r.result, seOk);
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    ASSERT_EQ(r.report->ExportEmfPage(b, 0), seOk);
    const QByteArray emf = b.data();
    // The header: its type, the signature, the size of the file, a page of 600 units an inch.
    ASSERT_GT(emf.size(), 108);
    EXPECT_EQ(u32(emf, 0), 1u);
    EXPECT_EQ(u32(emf, 40), 0x464D4520u);
    EXPECT_EQ(u32(emf, 48), quint32(emf.size()));
    const int width = 6 * (1169 - 100); // the printable width at 600 units an inch
    EXPECT_EQ(qint32(u32(emf, 16)), width - 1);
    EXPECT_EQ(qint32(u32(emf, 32)), qRound(width * 2540.0 / 600) - 1); // frame in 0.01 mm
    EXPECT_TRUE(emf.endsWith(QByteArray::fromHex("0e00000014000000000000001000000014000000")));

    QTemporaryDir dir;
    const QString in = writeTemp(dir, "strana.emf", emf);
    const QString out = dir.filePath("strana.svg");
    const auto conv = runProgram(QStringLiteral("emf2svg-conv"), {"-i", in, "-o", out});
    ASSERT_EQ(conv.exitCode, 0) << conv.err.toStdString();
    QFile svg(out);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray svgBytes = svg.readAll();
    const QString text = svgText(svgBytes);
    EXPECT_TRUE(text.contains(brix::test::pangram())) << text.left(600).toStdString();
    EXPECT_TRUE(text.contains(brix::test::marks()));
    EXPECT_TRUE(text.contains(QStringLiteral("Šroub M8 (pozinkovaný)")));
    EXPECT_TRUE(text.contains(QStringLiteral("Strana 1")));
}

TEST(Metafile, PlaceableWindowsMetafileIsReadWithItsTexts) {
    brix::TestPlatform ui;
    brix::test::RunReport r = runReport(brix::test::sampleTemplate(), brix::test::sampleData());
    ASSERT_EQ(r.result, seOk);
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    ASSERT_EQ(r.report->ExportWmfPage(b, 1), seOk);
    const QByteArray wmf = b.data();
    ASSERT_GT(wmf.size(), 40);
    EXPECT_EQ(u32(wmf, 0), 0x9AC6CDD7u);
    EXPECT_EQ(u16(wmf, 10), quint16(6 * (1169 - 100)));
    EXPECT_EQ(u16(wmf, 14), 600); // units per inch
    quint16 sum = 0;
    for (int i = 0; i < 10; ++i)
        sum ^= u16(wmf, 2 * i);
    EXPECT_EQ(u16(wmf, 20), sum);
    EXPECT_EQ(u32(wmf, 22 + 6) * 2, quint32(wmf.size() - 22)); // size in words
    // Text in Windows-1250 with character set 238.
    EXPECT_TRUE(wmf.contains(brix::encode(QStringLiteral("Matice \\ {M8}"))));

    QTemporaryDir dir;
    const QString in = writeTemp(dir, "strana.wmf", wmf);
    const QString out = dir.filePath("strana.svg");
    const auto conv = runProgram(QStringLiteral("wmf2svg"), {"-o", out, in});
    ASSERT_EQ(conv.exitCode, 0) << conv.err.toStdString();
    QFile svg(out);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QString text = svgText(svg.readAll(), true);
    EXPECT_TRUE(text.contains(QStringLiteral("Matice \\ {M8}"))) << text.left(3000).toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Strana 2")));
    EXPECT_TRUE(text.contains(brix::test::pangram())) << text.left(600).toStdString();
}

TEST(Metafile, OneFilePerPageAndNothingOutsideThePages) {
    brix::TestPlatform ui;
    brix::test::RunReport r = runReport(brix::test::sampleTemplate(), brix::test::sampleData());
    QTemporaryDir dir;
    EXPECT_EQ(r.report->ExportWmfFiles(dir.filePath("sestava.wmf")), seOk);
    EXPECT_TRUE(QFile::exists(dir.filePath("sestava1.wmf")));
    EXPECT_TRUE(QFile::exists(dir.filePath("sestava2.wmf")));
    EXPECT_FALSE(QFile::exists(dir.filePath("sestava3.wmf")));
    EXPECT_EQ(r.report->ExportEmfFiles(dir.filePath("strana.emf")), seOk);
    EXPECT_TRUE(QFile::exists(dir.filePath("strana2.emf")));
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    EXPECT_EQ(r.report->ExportEmfPage(b, 2), seOutput);
    EXPECT_TRUE(b.data().isEmpty());
    EXPECT_EQ(r.report->ExportWmfPageFile(dir.filePath("x.wmf"), -1), seOutput);
    EXPECT_FALSE(QFile::exists(dir.filePath("x.wmf")));
}
