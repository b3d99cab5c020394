#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct Output {
    int exitCode = -1;
    QString out;
    QString err;
};

Output runTool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(BRIX_REPORT_TOOL), args);
    EXPECT_TRUE(p.waitForFinished(20000));
    return Output{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()).trimmed(),
                  QString::fromUtf8(p.readAllStandardError())};
}

QString samplePath() {
    return QStringLiteral(BRIX_SOURCE_DIR "/tests/report/data/sample.pts");
}

} // namespace

TEST(Cli, Eval) {
    Output o = runTool({"eval", "'10' + #Cena", "--field", "Cena:N=5"});
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.out, QStringLiteral(R"({"type":1,"number":15,"text":"105","null":false})"));

    o = runTool({"eval", "UPPER(#Jmeno) + &2", "--field", "Jmeno:A=žába \"x\"", "--param", "a",
                 "--param", "!"});
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.out, QStringLiteral(R"({"type":2,"number":0,"text":"ŽÁBA \"X\"!","null":false})"));

    o = runTool({"eval", "YEAR(#D) + #M", "--field", "D:D=09.12.2026", "--field", "M:$=1,50"});
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_TRUE(o.out.contains(QStringLiteral("\"number\":2027.5"))) << o.out.toStdString();

    o = runTool({"eval", "#X + 1", "--field", "X:I="});
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_TRUE(o.out.endsWith(QStringLiteral("\"null\":true}")));

    o = runTool({"eval", "#L AND 1", "--field", "L:L=ano"});
    EXPECT_TRUE(o.out.contains(QStringLiteral("\"number\":1,")));

    o = runTool({"eval", "1 + (2"});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(o.out, QStringLiteral(R"({"error":5,"position":6})"));

    EXPECT_EQ(runTool({"eval", "1", "--field", "Bad"}).exitCode, 2);
    EXPECT_EQ(runTool({"eval", "1", "--field", "X:Q=1"}).exitCode, 2);
    EXPECT_EQ(runTool({"eval", "1", "--field", "X:N=abc"}).exitCode, 2);
    EXPECT_EQ(runTool({"eval", "1", "--field", "X:D=31.02.2026"}).exitCode, 2);
    EXPECT_EQ(runTool({"eval", "1", "--bogus"}).exitCode, 2);
    EXPECT_EQ(runTool({"eval"}).exitCode, 2);
    EXPECT_EQ(runTool({}).exitCode, 2);
}

TEST(Cli, RoundtripAndDescribe) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.pts");
    const QString b = dir.filePath("b.pts");
    ASSERT_EQ(runTool({"roundtrip", samplePath(), a}).exitCode, 0);
    ASSERT_EQ(runTool({"roundtrip", a, b}).exitCode, 0);
    QFile fa(a), fb(b);
    ASSERT_TRUE(fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly));
    EXPECT_EQ(fa.readAll(), fb.readAll());
    const Output missing = runTool({"roundtrip", dir.filePath("neni.pts"), b});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(missing.err.isEmpty());

    const Output d = runTool({"describe", samplePath()});
    ASSERT_EQ(d.exitCode, 0);
    const QJsonObject root = QJsonDocument::fromJson(d.out.toUtf8()).object();
    EXPECT_EQ(root["description"].toString(), QStringLiteral("Dodací list, \"vzor\" 1"));
    EXPECT_EQ(root["version"].toArray().size(), 3);
    EXPECT_EQ(root["page"].toObject()["paperHeight"].toInt(), 1169);
    const QJsonArray sections = root["sections"].toArray();
    ASSERT_EQ(sections.size(), 9);
    const QJsonObject body = sections[2].toObject();
    EXPECT_EQ(body["kind"].toString(), QStringLiteral("T"));
    EXPECT_EQ(body["elementCount"].toInt(), 4);
    const QJsonObject field = body["elements"].toArray()[0].toObject();
    EXPECT_EQ(field["kind"].toInt(), 2);
    EXPECT_EQ(field["referenceName"].toString(), QStringLiteral("Nazev"));
    EXPECT_EQ(field["rect"].toArray(), (QJsonArray{10, 0, 300, 18}));
    EXPECT_EQ(sections[6].toObject()["kind"].toString(), QStringLiteral("U0"));
    const QJsonArray groups = root["groups"].toArray();
    ASSERT_EQ(groups.size(), 2);
    EXPECT_TRUE(groups[0].toObject()["newPage"].toBool());
    const QJsonArray functions = root["functions"].toArray();
    ASSERT_EQ(functions.size(), 2);
    EXPECT_EQ(functions[0].toObject()["resetLevel"].toInt(), 2);
    EXPECT_EQ(root["details"].toArray().size(), 2);
}

TEST(Cli, BarcodeAsJson) {
    Output o = runTool({"barcode", "ean13", "590123412345", "--check"});
    ASSERT_EQ(o.exitCode, 0) << o.err.toStdString();
    QJsonObject j = QJsonDocument::fromJson(o.out.toUtf8()).object();
    EXPECT_EQ(j["symbology"].toInt(), 14);
    EXPECT_EQ(j["name"].toString(), QStringLiteral("EAN 13"));
    EXPECT_EQ(j["text"].toString(), QStringLiteral("5901234123457"));
    EXPECT_TRUE(j["encodable"].toBool());
    EXPECT_EQ(j["width"].toInt(), 95);
    EXPECT_TRUE(j["modules"].toString().startsWith(QStringLiteral("101")));
    // By index and by name with spaces and dashes; without --check the digits stay.
    o = runTool({"barcode", "16", "4252619"});
    EXPECT_EQ(QJsonDocument::fromJson(o.out.toUtf8()).object()["text"].toString(),
              QStringLiteral("4252619"));
    o = runTool({"barcode", "UPC-E0", "425261", "--check"});
    EXPECT_EQ(QJsonDocument::fromJson(o.out.toUtf8()).object()["text"].toString(),
              QStringLiteral("4252614"));
    o = runTool({"barcode", "PostNet", "12345"});
    j = QJsonDocument::fromJson(o.out.toUtf8()).object();
    EXPECT_EQ(j["text"].toString(), QStringLiteral("123455"));
    EXPECT_TRUE(j["modules"].toString().contains(QLatin1Char('s')));
    // A content no set carries: exit 1; an unknown symbology: exit 2 with the names.
    o = runTool({"barcode", "code 128b", "Žluťoučký"});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_FALSE(QJsonDocument::fromJson(o.out.toUtf8()).object()["encodable"].toBool());
    o = runTool({"barcode", "qr", "x"});
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_TRUE(o.err.contains(QStringLiteral("Codebar"))) << o.err.toStdString();
    EXPECT_EQ(runTool({"barcode", "ean13"}).exitCode, 2);
}

TEST(Cli, RunWritesPageImages) {
    QTemporaryDir dir;
    const QString csv = dir.filePath("data.csv");
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Kod\n590123412345\n");
    f.close();
    const QString png = dir.filePath("obrazy");
    Output o = runTool({"run", samplePath(), "--csv", csv, "--png", png, "--dpi", "50"});
    ASSERT_EQ(o.exitCode, 0) << o.err.toStdString();
    const QJsonObject j = QJsonDocument::fromJson(o.out.toUtf8()).object();
    const QJsonArray files = j["files"].toArray();
    ASSERT_EQ(files.size(), j["printed"].toInt());
    ASSERT_FALSE(files.isEmpty());
    EXPECT_TRUE(files[0].toString().endsWith(QStringLiteral("sample1.png")));
    const QImage page(files[0].toString());
    ASSERT_FALSE(page.isNull());
    // The printable area of A4 less its margins at 50 dots per inch.
    EXPECT_NEAR(page.width(), (826 - 50 - 50) / 2.0, 1);
    EXPECT_NEAR(page.dotsPerMeterX(), 50 / 0.0254, 1);
    EXPECT_EQ(runTool({"run", samplePath(), "--csv", csv, "--png", png, "--dpi", "0"}).exitCode, 2);
}
