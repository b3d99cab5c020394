// The administrator's tool on a real data root: loading all or nothing, dumping in cursor order.
#include "db_commands.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int rc;
    QString out, err;
};

Outcome run(const QStringList& args) {
    QString o, e;
    QTextStream out(&o), err(&e);
    int rc = brix::admin::run(args, out, err);
    out.flush();
    err.flush();
    return {rc, o, e};
}

void write(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

TEST(Admin, LoadsAllOrNothingAndDumpsAsTheCursorReads) {
    QTemporaryDir dir;
    const QString root = dir.path() + "/root";
    ASSERT_EQ(run({"init", root}).rc, 0);
    write(dir.path() + "/sklady.csv", "Cis_Sklad,Nazev,Mesto\n"
                                      "HL,Hlavní sklad,Praha\n"
                                      "CH1,\"Chrudim, \"\"U nádraží\"\"\",Chrudim\n"
                                      "C1,Čáslav,Čáslav\n"
                                      "H2,Hradec,\"Hradec\nKrálové\"\n");
    Outcome r = run({"load", root, "Ciselnik\\Sklady", dir.path() + "/sklady.csv"});
    ASSERT_EQ(r.rc, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Uloženo záznamů: 4\n");

    // A duplicate key on line 3 of the second file: nothing of that file is stored.
    write(dir.path() + "/dalsi.csv", "Cis_Sklad,Nazev\nZ1,Zlín\nHL,Znovu\nZ2,Znojmo\n");
    r = run({"load", root, "ciselnik/sklady.db", dir.path() + "/dalsi.csv"});
    EXPECT_EQ(r.rc, 1);
    EXPECT_TRUE(r.err.contains("řádek 3")) << r.err.toStdString();
    write(dir.path() + "/spatne.csv", "Cis_Sklad,Neni\nZ1,x\n");
    EXPECT_EQ(run({"load", root, "Ciselnik\\Sklady", dir.path() + "/spatne.csv"}).rc, 1);

    r = run({"dump", root, "Ciselnik\\Sklady", "--index", "Nazev"});
    ASSERT_EQ(r.rc, 0);
    QStringList lines = r.out.split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].startsWith("Cis_Sklad,Nazev,Ulice,Mesto"));
    EXPECT_TRUE(lines[1].startsWith("C1,Čáslav"));
    EXPECT_TRUE(lines[2].startsWith("HL,"));
    EXPECT_TRUE(lines[3].startsWith("H2,Hradec,,\"Hradec\nKrálové\""));
    EXPECT_TRUE(lines[4].startsWith("CH1,\"Chrudim, \"\"U nádraží\"\"\""));

    r = run({"dump", root, "Ciselnik\\Sklady", "--range", "D", "I"});
    EXPECT_EQ(r.out.count("\r\n"), 4); // header, H2, HL, CH1: "ch" sorts after "h"
    r = run({"dump", root, "Ciselnik\\Sklady", "--filter", "Nazev = 'h*'", "--case-insensitive",
             "--partial"});
    EXPECT_EQ(r.out.count("\r\n"), 3);
    r = run({"dump", root, "Ciselnik\\Sklady", "--filter", "Nazev = 'h*'", "--case-insensitive"});
    EXPECT_EQ(r.out.count("\r\n"), 1); // without --partial the star is a character
    r = run({"dump", root, "Ciselnik\\Sklady", "--filter", "Nazev = "});
    EXPECT_EQ(r.rc, 1);
    EXPECT_TRUE(r.err.startsWith("Chyba:"));

    r = run({"sql", root,
             "SELECT Nazev FROM \"Ciselnik\\Sklady.DB\" WHERE Mesto LIKE :M ORDER BY Nazev",
             "--param", "M=č%"});
    EXPECT_EQ(r.out, "Nazev\r\nČáslav\r\n");
    r = run({"tables", root});
    EXPECT_TRUE(r.out.contains("Ciselnik\\Sklady\t4\n"));
    EXPECT_EQ(run({"dump", dir.path() + "/nic", "Ciselnik\\Sklady"}).rc, 1);

    // Exported tables read back with the same records, Czech text and quoted values intact.
    const QString out = dir.path() + "/export";
    for (const char* format : {"paradox", "dbase"}) {
        r = run({"export", root, "Ciselnik\\Sklady", "--format", format, out});
        ASSERT_EQ(r.rc, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith("Exportováno záznamů: 4")) << r.out.toStdString();
        QString file =
            out + (QString(format) == "paradox" ? "/TableSklady.db" : "/TableSklady.dbf");
        r = run({"read", file});
        ASSERT_EQ(r.rc, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains("Čáslav")) << format;
        EXPECT_TRUE(r.out.contains("\"Chrudim, \"\"U nádraží\"\"\"")) << r.out.toStdString();
        EXPECT_EQ(r.out.count('\n') - r.out.count("Hradec\n"), 5) << r.out.toStdString();
    }
    r = run({"export", root, "Ciselnik\\Sklady", "--format", "xlsx", out});
    EXPECT_EQ(r.rc, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(out + "/TableSklady.xlsx"));
    EXPECT_EQ(run({"export", root, "Ciselnik\\Sklady", "--format", "lotus", out}).rc, 2);
    EXPECT_EQ(run({"bogus"}).rc, 2);
}

} // namespace
