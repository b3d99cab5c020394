#include <gtest/gtest.h>

#include <QFile>
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
