// "brix-db price" on a fixed data root: the priced items and the header totals of each family
// as CSV, the messages and the steps of each price on the error output, compared byte for byte
// with golden files under tests/sales/data/golden (BRIX_UPDATE_GOLDEN=1 rewrites them; check
// every change by eye).
#include "ceny_fixture.h"
#include "golden_files.h"

#include "datacis.h"
#include "db_commands.h"
#include "util/nastaveni.h"

#include <QDir>
#include <QFile>

using namespace brix;

namespace {

QString goldenPath(const QString& name) {
    return QStringLiteral(BRIX_SOURCE_DIR "/tests/sales/data/golden/") + name;
}

void expectGolden(const QString& name, const QByteArray& bytes) {
    EXPECT_EQ(QString::fromUtf8(test::goldenBytes(goldenPath(name), bytes)),
              QString::fromUtf8(bytes))
        << name.toStdString();
}

class PrikazCeny : public brix::test::DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        naplnKoren();
        QDir(dir.path()).mkpath(QStringLiteral("Nastaven"));
        QFile nast(dir.path() + QStringLiteral("/Nastaven/nast_pr.txt"));
        ASSERT_TRUE(nast.open(QIODevice::WriteOnly));
        nast.write("_HlKlicVyr=Cis_Vyr\r\nZahrMeny=True\r\nZaokrCen=0,01\r\n");
        nast.close();
        QFile radky(dir.path() + QStringLiteral("/radky.csv"));
        ASSERT_TRUE(radky.open(QIODevice::WriteOnly));
        radky.write("1001;12\n1002;1\n4002;3\n5004;60\n6001;25\n7001;2\n9999;1\nabc\n1001;-2\n");
        radky.close();
        for (Table* t : dm->tabulky())
            if (t->active()) t->close();
    }

    void naplnKoren() {
        const struct {
            const char* typ;
            const char* druh;
            const char* cena;
            double polozky, hlavicka;
        } druhy[] = {{"DL", "DLV", "VO", 0.01, 1},
                     {"FV", "FVV", "VO", 0.01, 1},
                     {"J", "KAM", "MO", 0.1, 1},
                     {"OP", "OPN", "NC", 0.01, 1}};
        for (const auto& d : druhy)
            add(*dm->TableDruhUctu, {{"Typ_Uctu", d.typ},
                                     {"Druh", d.druh},
                                     {"Druh_ceny", d.cena},
                                     {"ZaokrPol", d.polozky},
                                     {"ZaokrHla", d.hlavicka}});
        add(*dm->TableZeme, {{"Platnost_Od", QDate(2024, 1, 1)},
                             {"KOD_Meny", "EUR"},
                             {"Kurs", 25.2},
                             {"Koef", 1.0},
                             {"Zaokr", 0.01},
                             {"Kurs_EUR", 1.0}});
        add(*dm->TableZeme, {{"Platnost_Od", QDate(2024, 7, 1)},
                             {"KOD_Meny", "EUR"},
                             {"Kurs", 25.0},
                             {"Koef", 1.0},
                             {"Zaokr", 0.01},
                             {"Kurs_EUR", 1.0}});
        add(*dm->TableZeme, {{"Platnost_Od", QDate(2024, 1, 1)},
                             {"KOD_Meny", "SKK"},
                             {"Kurs", 0.0},
                             {"Koef", 1.0},
                             {"Zaokr", 0.1},
                             {"Kurs_EUR", 30.126}});
        Table& rab = *dm->TableRabSkup;
        rab.open();
        for (int s = 1; s <= 2; ++s) {
            rab.insert();
            rab.field("Cis_RabSkup").setInteger(s);
            for (int n = 1; n <= 20; ++n)
                rab.field(QStringLiteral("Rabat%1").arg(n)).setFloat(n * (3 - s));
            rab.post();
        }
        add(*dm->TableSklady, {{"Cis_Sklad", "S1"}, {"Nazev", "Sklad Kolín"}});
        const struct {
            int cislo;
            const char* nazev;
            int obor;
            const char* mena;
        } firmy[] = {{5, "Stavebniny Dufek s.r.o.", 3, ""},
                     {33, "Farby Trnava s.r.o.", 8, "EUR"},
                     {40, "Obchod Senica", 21, "SKK"}};
        for (const auto& f : firmy)
            add(*dm->TableFir, {{"Cis_firmy", f.cislo},
                                {"Nazev", QString::fromUtf8(f.nazev)},
                                {"Zkr_nazev", QString::fromUtf8(f.nazev).left(15)},
                                {"Cis_obor", f.obor},
                                {"Kod_Meny", f.mena}});
        auto vyrobek = [this](std::initializer_list<std::pair<const char*, QVariant>> pole) {
            add(*dm->TableVyr, pole);
        };
        vyrobek({{"Cis_vyr", 1001},
                 {"Nazev", "Email bílý 0,75 l"},
                 {"NazCizJaz", "Email biely"},
                 {"DPH", 21.0},
                 {"PC_Zakl", 197.5},
                 {"MO_Cena", 287.0},
                 {"CenaZa", 1.0},
                 {"NC_Netto", 158.0},
                 {"Faktor_Bal", 1},
                 {"Cis_RabSkp", 1},
                 {"Vaha", 0.9},
                 {"PC_MnRab1", 6.0},
                 {"PC_Rab1", 3.0},
                 {"Pc_MnRab2", 12.0},
                 {"PC_Rab2", 5.0},
                 {"PC_MnRab3", 24.0},
                 {"PC_Rab3", 8.0},
                 {"Cis_Firmy", 1}});
        vyrobek({{"Cis_vyr", 1002},
                 {"Nazev", "Email bílý 9 l"},
                 {"DPH", 21.0},
                 {"PC_Zakl", 2008.8},
                 {"MO_Cena", 2916.0},
                 {"CenaZa", 1.0},
                 {"NC_Netto", 1607.0},
                 {"Faktor_Bal", 1},
                 {"Cis_RabSkp", 1},
                 {"Vaha", 10.2},
                 {"Cis_Firmy", 1}});
        vyrobek({{"Cis_vyr", 4002},
                 {"Nazev", "Ředidlo S 6006 4 l"},
                 {"DPH", 21.0},
                 {"PC_Zakl", 192.5},
                 {"MO_Cena", 279.0},
                 {"CenaZa", 1.0},
                 {"NC_Netto", 154.0},
                 {"Faktor_Bal", 1},
                 {"Cis_RabSkp", 2},
                 {"Objem", 4.0},
                 {"Spotr_Dan", 12.84},
                 {"Cis_CelSaz", "38140090"},
                 {"Vaha", 3.6},
                 {"Cis_Firmy", 3}});
        vyrobek({{"Cis_vyr", 5004},
                 {"Nazev", "Štětec kulatý 30 mm"},
                 {"DPH", 12.0},
                 {"PC_Zakl", 48.8},
                 {"MO_Cena", 63.0},
                 {"CenaZa", 1.0},
                 {"NC_Netto", 39.0},
                 {"Faktor_Bal", 1},
                 {"Cis_RabSkp", 2},
                 {"PC_MnRab1", 10.0},
                 {"PC_Rab1", 4.0},
                 {"Pc_MnRab2", 50.0},
                 {"PC_Rab2", -100.0},
                 {"Cis_Firmy", 4}});
        vyrobek({{"Cis_vyr", 6001},
                 {"Nazev", "Brusný papír P120 (10 ks)"},
                 {"DPH", 21.0},
                 {"PC_Zakl", 90.0},
                 {"MO_Cena", 130.0},
                 {"CenaZa", 10.0},
                 {"NC_Netto", 60.0},
                 {"Faktor_Bal", 10},
                 {"Cis_RabSkp", 3},
                 {"Cis_Firmy", 4}});
        vyrobek({{"Cis_vyr", 7001},
                 {"Nazev", "Kniha Malujeme doma"},
                 {"DPH", 0.0},
                 {"PC_Zakl", 150.0},
                 {"MO_Cena", 150.0},
                 {"CenaZa", 1.0},
                 {"NC_Netto", 110.0},
                 {"Faktor_Bal", 1},
                 {"Cis_RabSkp", 2},
                 {"Cis_Firmy", 4}});
        add(*dm->TCenik_ZAK, {{"Cis_Vyr", 1002}, {"Cis_Firmy", 5}, {"PC_ZAKL", 1850.0}});
        add(*dm->TCenik_ZAK,
            {{"Cis_Vyr", 4002}, {"Cis_Firmy", 33}, {"PC_ZAKL", 170.0}, {"PC_ZAKLC", 6.8}});
    }

    // Runs the command; its exit code.
    int cena(QStringList argumenty, QByteArray& vystup, QByteArray& chyby) {
        argumenty.prepend(dir.path());
        argumenty.prepend(QStringLiteral("price"));
        argumenty << dir.path() + QStringLiteral("/radky.csv");
        QString o, e;
        QTextStream out(&o), err(&e);
        const int rc = admin::run(argumenty, out, err);
        out.flush();
        err.flush();
        vystup = o.toUtf8();
        chyby = e.replace(dir.path(), QStringLiteral("ROOT")).toUtf8();
        return rc;
    }
};

TEST_F(PrikazCeny, EachFamilyPricesTheLinesAsItsEntryFormWould) {
    const struct {
        const char* jmeno;
        QStringList argumenty;
    } pripady[] = {
        {"price_dl", {"--type", "DL", "--kind", "DLV", "--customer", "5", "--date", "10.07.2024"}},
        {"price_dl_skk",
         {"--type", "DL", "--kind", "DLV", "--customer", "40", "--date", "2024-07-10"}},
        {"price_fv_eur",
         {"--type", "FV", "--kind", "FVV", "--customer", "33", "--date", "10.07.2024"}},
        {"price_j_mo", {"--type", "J", "--kind", "KAM", "--date", "10.07.2024"}},
        {"price_op_nc",
         {"--type", "OP", "--kind", "OPN", "--customer", "5", "--currency", "EUR", "--date",
          "30.06.2024"}},
    };
    for (const auto& p : pripady) {
        QByteArray vystup, chyby;
        // Unknown products and malformed lines are said and make the exit code 1.
        EXPECT_EQ(cena(p.argumenty, vystup, chyby), 1) << p.jmeno;
        expectGolden(QString::fromLatin1(p.jmeno) + QStringLiteral(".csv"), vystup);
        expectGolden(QString::fromLatin1(p.jmeno) + QStringLiteral(".txt"), chyby);
    }
    EXPECT_TRUE(ui.shownMessages().isEmpty());
}

TEST_F(PrikazCeny, UsageErrorsAreSaid) {
    QByteArray vystup, chyby;
    EXPECT_EQ(cena({"--type", "DLP", "--kind", "X"}, vystup, chyby), 2);
    EXPECT_TRUE(chyby.startsWith("Neznámý druh dokladu DLP\n"));
    EXPECT_EQ(cena({"--type", "DL"}, vystup, chyby), 2);
    EXPECT_EQ(cena({"--type", "DL", "--kind", "DLV", "--date", "31.02.2024"}, vystup, chyby), 2);
    EXPECT_TRUE(chyby.startsWith("Neplatné datum 31.02.2024\n"));
}

} // namespace
