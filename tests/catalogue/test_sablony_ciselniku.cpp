// The list templates a new data root starts with, run over the demo data root, and the demo's
// code lists.
#include "ciselniky_fixture.h"
#include "codec.h"
#include "demo_fixture.h"
#include "pravidla.h"
#include "templatefile.h"
#include "vstup/tisk_seznamu.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QRegularExpression>

using namespace brix;

namespace {

const QString kZdroj = QStringLiteral(BRIX_SOURCE_DIR "/dataroot");

struct Seznam {
    QString sablona; // without suffix and ".pts"
    QString tabulka;
    QString nadpis;
    QString hodnota; // a value of the demo data that the list shows
};

const QList<Seznam>& seznamy() {
    static const QList<Seznam> s{
        {"ciselnik\\SkontoSezn", "Ciselnik\\Skonto", "Seznam platebních podmínek",
         "Převodem 14 dní"},
        {"ciselnik\\OborSezn", "Ciselnik\\obor", "Seznam oborů činnosti", "Stavebnictví"},
        {"ciselnik\\RabSkupSezn", "Ciselnik\\RabSkup", "Seznam rabatních skupin", "Ředidla"},
        {"ciselnik\\VynSkupSezn", "Ciselnik\\VynSkup", "Seznam výnosových skupin", "Laky a lazury"},
        {"ciselnik\\ZemeSezn", "Ciselnik\\Meny", "Seznam měn a kursů", "Spojené státy"},
        {"ciselnik\\CloSezna", "Ciselnik\\Clo", "Seznam čísel celního sazebníku", "32081090"},
        {"ciselnik\\CisUctuSezn", "Ciselnik\\Druhy_uctu", "Seznam druhů účtů",
         "Dodací list velkoobchod"},
        {"ciselnik\\SkladSezn", "Ciselnik\\Sklady", "Seznam skladů", "Prodejna Kolín"},
        {"ciselnik\\StredSezn", "Ciselnik\\Stredisko", "Seznam středisek", "Velkoobchod"},
        {"ciselnik\\PrKO1_Seznam", "Ciselnik\\Kod_Ozn1", "Seznam kódových označení 1", "SYNTETIKA"},
        {"ciselnik\\PrKO2_Seznam", "Ciselnik\\Kod_Ozn2", "Seznam kódových označení 2", "Interiér"},
        {"ciselnik\\ZamestSezn", "Ciselnik\\Zamest", "Seznam zaměstnanců", "NOVÁKOVÁ"},
        {"ciselnik\\CisRadaSezn", "Ciselnik\\Cis_rada", "Seznam číselných řad", "Barvy disperzní"},
    };
    return s;
}

// The graphic and the character-printer file of a list.
QStringList soubory(const Seznam& s) {
    if (s.sablona.endsWith("CloSezna"))
        return {SablonaCelnihoSazebniku(false), SablonaCelnihoSazebniku(true)};
    return {s.sablona + ".pts", s.sablona + "z.pts"};
}

class SablonyTest : public test::DemoKorenTest {};

// The list printed through the register's list print as the text printer gets it.
void tiskni(Table& t, const QString& soubor, QString& text) {
    TiskSeznamu tisk(t, soubor);
    ASSERT_FALSE(tisk.cesta().isEmpty());
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    ASSERT_EQ(tisk.sestava().PrintTextToStream(out), report::seOk);
    text = decode(out.data());
}

} // namespace

// Every list of the code-list forms has both its templates among the files of a new data
// root, and each loads with every field it shows resolved against its table.
TEST_F(SablonyTest, EveryListTemplateLoadsWithItsFields) {
    for (const Seznam& s : seznamy()) {
        Table t(*db, s.tabulka);
        QStringList pole;
        for (int i = 0; i < t.fieldCount(); ++i)
            pole << t.fieldDef(i).name;
        const QStringList f = soubory(s);
        for (int v = 0; v < 2; ++v) {
            SCOPED_TRACE(f[v].toStdString());
            ASSERT_TRUE(QFileInfo(CestaSablony(kZdroj, f[v])).isFile());
            // As the data root has it, in the system's code page.
            const QString cesta = CestaSablony(koren(), f[v]);
            ASSERT_TRUE(QFileInfo(cesta).isFile());
            report::ReportDefinition def;
            QString chyba;
            ASSERT_TRUE(report::loadTemplateFile(cesta, def, &chyba, &pole)) << chyba.toStdString();
            EXPECT_EQ(def.description, s.nadpis);
            EXPECT_EQ(def.grid.characterGrid, v == 1);
            int polozek = 0;
            for (const report::TOddilSestavy& o : def.sections)
                for (const report::TSiReportElement& e : o.elements)
                    if (e.kind == report::KindField) {
                        ++polozek;
                        ASSERT_TRUE(e.tracksByName());
                        EXPECT_TRUE(pole.contains(e.referenceName, Qt::CaseInsensitive))
                            << e.referenceName.toStdString();
                        EXPECT_EQ(pole.indexOf(QRegularExpression(
                                      "^" + QRegularExpression::escape(e.referenceName) + "$",
                                      QRegularExpression::CaseInsensitiveOption)),
                                  e.reference);
                    }
            EXPECT_GE(polozek, 2);
        }
    }
}

// Each list printed over the demo data: title, own company, column heads, the records, "Strana
// n z N" and the date of printing; in the code page of the data root's files.
TEST_F(SablonyTest, ListsPrintTheDemoData) {
    const QString dnes = QDate::currentDate().toString("d.M.yyyy");
    for (const Seznam& s : seznamy()) {
        for (const QString& soubor : soubory(s)) {
            SCOPED_TRACE(soubor.toStdString());
            Table t(*db, s.tabulka);
            t.open();
            QString text;
            ASSERT_NO_FATAL_FAILURE(tiskni(t, soubor, text));
            EXPECT_TRUE(text.contains(s.nadpis));
            EXPECT_TRUE(text.contains("Barvy Laky Kolín s.r.o."));
            EXPECT_TRUE(text.contains(QRegularExpression("Strana +1 z +1\\b")));
            EXPECT_TRUE(text.contains("Vytištěno:"));
            EXPECT_TRUE(text.contains(dnes));
            EXPECT_TRUE(text.contains(s.hodnota)) << text.toStdString();
            // One line per record below the heads.
            EXPECT_GE(text.count("\r\n"), int(t.recordCount()) + 4);
        }
    }
}

// The product register's print-manager lists: the price list by revenue group and the stock
// list, graphic and character variant, money with two places on every product line.
TEST_F(SablonyTest, ProductListsOfThePrintManagerShowMoneyWithTwoPlaces) {
    struct Sestava {
        QString soubor, nadpis;
        int penez; // money columns per product line
    };
    const QList<Sestava> sestavy{
        {"ciselnik\\PrVy_Cenik", "Ceník výrobků podle výnosových skupin", 2},
        {"ciselnik\\PrVy_Zasoby", "Stav zásob výrobků", 1}};
    for (const Sestava& s : sestavy)
        for (const QString& varianta : {QString(), QStringLiteral("z")}) {
            const QString soubor = s.soubor + varianta + ".pts";
            SCOPED_TRACE(soubor.toStdString());
            Table t(*db, "Ciselnik\\Vyrobky");
            t.setIndexName("VynSkup");
            t.open();
            t.setRange({2}, {3});
            QString text;
            ASSERT_NO_FATAL_FAILURE(tiskni(t, soubor, text));
            EXPECT_TRUE(text.contains(s.nadpis)) << text.toStdString();
            int radku = 0;
            for (const QString& r : text.split("\r\n")) {
                if (!r.startsWith("LL-") && !r.startsWith("RE-")) continue;
                ++radku;
                // The line ends with its money columns, each with two places.
                const QRegularExpression konec(
                    QStringLiteral("( +\\d+,\\d\\d){%1} *$").arg(s.penez));
                EXPECT_TRUE(r.contains(konec)) << r.toStdString();
            }
            EXPECT_EQ(radku, int(t.recordCount()));
            if (s.penez == 2) {
                EXPECT_TRUE(text.contains(QRegularExpression("Výnosová skupina +2\\b")))
                    << text.toStdString();
                EXPECT_TRUE(text.contains(QRegularExpression("Výnosová skupina +3\\b")));
            } else {
                EXPECT_TRUE(text.contains(QRegularExpression("Celkem +\\d+,\\d\\d\\b")))
                    << text.toStdString();
            }
        }
}

// The demo's code lists: rates on several dates, document kinds for every type, warehouses
// with their field of business and cost centre.
TEST_F(SablonyTest, DemoCodeListsAreFilledForWork) {
    Table meny(*db, "Ciselnik\\Meny");
    meny.open();
    QHash<QString, QSet<QDate>> data;
    for (meny.first(); !meny.eof(); meny.next()) {
        data[meny.field("KOD_Meny").asString()].insert(meny.field("Platnost_Od").asDate());
        EXPECT_GT(meny.field("Kurs").asFloat(), 0);
        EXPECT_GT(meny.field("Koef").asFloat(), 0);
    }
    EXPECT_GE(data["EUR"].size(), 3);
    EXPECT_GE(data["USD"].size(), 3);
    EXPECT_GE(data["CZK"].size(), 2);

    Table druhy(*db, "Ciselnik\\Druhy_uctu");
    druhy.open();
    QHash<QString, int> podleTypu;
    for (druhy.first(); !druhy.eof(); druhy.next()) {
        ++podleTypu[druhy.field("Typ_Uctu").asString()];
        EXPECT_FALSE(druhy.field("Druh_ceny").asString().isEmpty());
        EXPECT_FALSE(druhy.field("ZaokrHla").isNull());
    }
    for (const char* typ : {"3", "4", "A", "C", "DL", "FV", "FZ", "J", "K", "OP", "OV"})
        EXPECT_GE(podleTypu.value(typ), 1) << typ;

    Table sklady(*db, "Ciselnik\\Sklady");
    sklady.open();
    Table strediska(*db, "Ciselnik\\Stredisko");
    strediska.open();
    EXPECT_EQ(sklady.recordCount(), 3);
    EXPECT_EQ(strediska.recordCount(), 2);
    for (sklady.first(); !sklady.eof(); sklady.next()) {
        QString zprava;
        EXPECT_TRUE(OborSkladu(sklady.field("Cis_Obor").asString(), &zprava).has_value());
        EXPECT_TRUE(strediska.findKey({sklady.field("Cis_Stred").asString()}));
    }

    Table rab(*db, "Ciselnik\\RabSkup");
    rab.open();
    EXPECT_GE(rab.recordCount(), 4);
    ASSERT_TRUE(rab.findKey({4}));
    EXPECT_EQ(rab.field("Rabat1").asFloat(), 0.0);
    EXPECT_EQ(rab.field("Rabat8").asFloat(), 15.0);
}
