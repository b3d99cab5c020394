#include "codec.h"
#include "export_fixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// The print manager's list for batch scripts: the family's files by name with descriptions,
// the directory found under the data root whatever its spelling.
TEST(Cli, TemplatesListsAFamilyAsTheManagerDoes) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("Ciselnik")));
    auto write = [&](const QString& name, const QByteArray& firstLine) {
        QFile f(root.filePath(QStringLiteral("Ciselnik/") + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(firstLine + "\r\nI,1,5,42,5\r\n");
    };
    write(QStringLiteral("PrSko_B.pts"), "I,0,\"Skonta \x9a\x9d\""); // "šť" in Windows-1250
    write(QStringLiteral("prsko_a.PTS"), "I,1,5,42,5");
    write(QStringLiteral("PrObor_X.pts"), "I,0,\"Obory\"");
    Output o = runTool({"templates", "CISELNIK\\", "PrSko_", "--data-root", root.path()});
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(o.out.toUtf8()).object();
    const QJsonArray list = json.value("templates").toArray();
    ASSERT_EQ(list.size(), 2) << o.out.toStdString();
    EXPECT_EQ(list[0].toObject().value("file").toString(), "prsko_a.PTS");
    EXPECT_EQ(list[0].toObject().value("description").toString(), "");
    EXPECT_EQ(list[1].toObject().value("file").toString(), "PrSko_B.pts");
    EXPECT_EQ(list[1].toObject().value("description").toString(), "Skonta šť");
    EXPECT_TRUE(json.value("directory").toString().endsWith("/Ciselnik"));
    // Without a data root the directory is as given.
    o = runTool({"templates", root.filePath(QStringLiteral("Ciselnik")), "PrObor_"});
    EXPECT_EQ(QJsonDocument::fromJson(o.out.toUtf8()).object().value("templates").toArray().size(),
              1);
    EXPECT_EQ(runTool({"templates", "Neni", "PrSko_", "--data-root", root.path()}).exitCode, 1);
    EXPECT_EQ(runTool({"templates", "..\\ven", "Pr", "--data-root", root.path()}).exitCode, 2);
    EXPECT_EQ(runTool({"templates", "Ciselnik"}).exitCode, 2);
}

namespace {

// The sample template of the export tests as a file, its data as CSV.
void writeSample(const QTemporaryDir& dir) {
    ASSERT_TRUE(brix::writeTextLines(dir.filePath("vzor.pts"), brix::test::sampleTemplate()));
    QFile csv(dir.filePath("data.csv"));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write(brix::test::sampleData().toUtf8());
}

} // namespace

TEST(Cli, RunWritesEveryDocumentOutputAtOnce) {
    QTemporaryDir dir;
    writeSample(dir);
    const Output o =
        runTool({"run", dir.filePath("vzor.pts"), "--csv", dir.filePath("data.csv"), "--text",
                 dir.filePath("vzor.txt"), "--pdf", dir.filePath("vzor.pdf"), "--rtf",
                 dir.filePath("vzor.rtf"), "--html", dir.filePath("vzor.html"), "--emf",
                 dir.filePath("vzor.emf"), "--wmf", dir.filePath("vzor.wmf")});
    ASSERT_EQ(o.exitCode, 0) << o.err.toStdString();
    const QJsonObject summary = QJsonDocument::fromJson(o.out.toUtf8()).object();
    EXPECT_EQ(summary["result"].toInt(), 0);
    EXPECT_EQ(summary["pages"].toInt(), 2);
    QStringList files;
    for (const QJsonValue& f : summary["files"].toArray())
        files << QFileInfo(f.toString()).fileName();
    EXPECT_EQ(files, (QStringList{"vzor.pdf", "vzor.rtf", "vzor1.html", "vzor1.emf", "vzor1.wmf",
                                  "vzor2.html", "vzor2.emf", "vzor2.wmf"}));
    for (const QString& f : files)
        EXPECT_GT(QFileInfo(dir.filePath(f)).size(), 100) << f.toStdString();
    QFile pdf(dir.filePath("vzor.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().endsWith("%%EOF"));
    EXPECT_TRUE(QFile::exists(dir.filePath("vzor.txt")));
}

TEST(Cli, PrintersAndPrinting) {
    const Output list = runTool({"printers"});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    const QJsonDocument printers = QJsonDocument::fromJson(list.out.toUtf8());
    ASSERT_TRUE(printers.isArray()) << list.out.toStdString();
    for (const QJsonValue& p : printers.array()) {
        EXPECT_TRUE(p.toObject().contains("name"));
        EXPECT_TRUE(p.toObject().contains("driver"));
        EXPECT_TRUE(p.toObject().contains("textOnly"));
    }

    QTemporaryDir dir;
    writeSample(dir);
    const QStringList run{"run", dir.filePath("vzor.pts"), "--csv", dir.filePath("data.csv")};
    Output o = runTool(run + QStringList{"--print", "Neexistující tiskárna"});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_TRUE(o.err.contains("Tiskárna \"Neexistující tiskárna\" není v systému."))
        << o.err.toStdString();
    EXPECT_EQ(runTool(run + QStringList{"--print", "x", "--copies", "0"}).exitCode, 2);
    // Without a printer a port naming a file still gets the print: the PDF of a graphic
    // template.
    o = runTool(
        run + QStringList{"--print", "Neexistující tiskárna", "--port", dir.filePath("tisk.pdf")});
    ASSERT_EQ(o.exitCode, 0) << o.err.toStdString();
    QFile pdf(dir.filePath("tisk.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
}
