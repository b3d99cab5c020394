// The product register's commands without widgets: range conditions and what they show, the
// supplier filter, the group trees, the bulk code and VAT changes on the view as it stood, the
// quick search's query, and the one chooser service of the entry forms.
#include "ciselniky_fixture.h"

#include "codec.h"
#include "dialogs/filter_db.h"
#include "query.h"
#include "rejstrik_vyrobku.h"
#include "volba_vyrobku.h"

#include <QFile>

namespace brix::test {
namespace {

class RejstrikVyrobkuTest : public CiselnikyTest {
protected:
    void SetUp() override {
        CiselnikyTest::SetUp();
        vyr = std::make_unique<Table>(*db, "Ciselnik\\Vyrobky");
        vyr->open();
        vyr->setIndexName(QString());
    }
    void TearDown() override {
        vyr.reset();
        CiselnikyTest::TearDown();
    }
    void vyrobek(qint64 c, const QString& nazev, const QString& kod = QString(), int dph = 21,
                 int firma = 0) {
        vyr->insert();
        vyr->field("Cis_vyr").setInteger(c);
        vyr->field("ObjCis").setString(QStringLiteral("OBJ%1").arg(c));
        vyr->field("Nazev").setString(nazev);
        vyr->field("Druh_Pol").setString("S");
        if (!kod.isEmpty()) vyr->field("Kod_Ozn1").setString(kod);
        vyr->field("DPH").setInteger(dph);
        vyr->field("NC_Netto").setInteger(100);
        vyr->field("Faktor_Bal").setInteger(1);
        vyr->field("CenaZa").setInteger(1);
        vyr->field("MO_Marze").setInteger(10);
        vyr->field("MO_Cena").setFloat(134.2);
        vyr->field("Cis_Firmy").setInteger(firma ? firma : 1);
        vyr->post();
    }
    // The product numbers the table shows under `filtr`.
    std::vector<qint64> ukazuje(const QString& filtr, bool prefix) {
        EXPECT_TRUE(filtr::applyExpression(*vyr, filtr, false, !prefix)) << filtr.toStdString();
        std::vector<qint64> c = KliceVyrobku(*vyr);
        vyr->setFiltered(false);
        std::sort(c.begin(), c.end());
        return c;
    }
    std::unique_ptr<Table> vyr;
};

TEST_F(RejstrikVyrobkuTest, RangeConditionsAndWhatTheyShow) {
    EXPECT_EQ(PodminkaRozsahu("NAZEV", true, "bar", std::nullopt, true), "NAZEV = 'bar*'");
    EXPECT_EQ(PodminkaRozsahu("PC_VYNSKUP", false, "5", QString(), false), "PC_VYNSKUP >=5");
    EXPECT_EQ(PodminkaRozsahu("PC_VYNSKUP", false, "5", "9", false),
              "PC_VYNSKUP >=5 and PC_VYNSKUP <=9");
    EXPECT_EQ(PodminkaRozsahu("PC_VYNSKUP", false, "", "9", false), "PC_VYNSKUP <=9");
    EXPECT_EQ(PodminkaRozsahu("NAZEV", true, "", std::nullopt, true), "");
    // A number key matches the number exactly, whatever the prefix option.
    EXPECT_EQ(PodminkaRozsahu("Cis_vyr", false, "12", std::nullopt, true), "Cis_vyr = 12");
    // An apostrophe is part of the value.
    EXPECT_EQ(PodminkaRozsahu("KOD_OZN1", true, "O'Neil", std::nullopt, true),
              "KOD_OZN1 = 'O''Neil*'");

    vyrobek(1, "Barva bílá", "O'Neil");
    vyrobek(2, "BARVA černá", "O'Neil2");
    vyrobek(3, "Lak bar", "X");
    vyrobek(12, "Ředidlo", "Y");
    vyrobek(120, "Tmel", "Y");
    EXPECT_EQ(ukazuje(PodminkaRozsahu("NAZEV", true, "bar", std::nullopt, true), true),
              (std::vector<qint64>{1, 2}));
    EXPECT_EQ(ukazuje(PodminkaRozsahu("KOD_OZN1", true, "O'Neil", std::nullopt, true), true),
              (std::vector<qint64>{1, 2}));
    EXPECT_EQ(ukazuje(PodminkaRozsahu("KOD_OZN1", true, "o'neil", std::nullopt, false), false),
              (std::vector<qint64>{1}));
    EXPECT_EQ(ukazuje(PodminkaRozsahu("Cis_vyr", false, "12", std::nullopt, true), true),
              (std::vector<qint64>{12}));
    EXPECT_EQ(ukazuje(PodminkaRozsahu("Cis_vyr", false, "3", QString(), false), false),
              (std::vector<qint64>{3, 12, 120}));
}

TEST_F(RejstrikVyrobkuTest, SupplierByNumberOrCaseSensitiveNamePrefix) {
    Table fir(*db, "Ciselnik\\Firmy");
    add(fir, {{"Cis_firmy", 7}, {"Zkr_nazev", "a"}, {"Cis_obor", 1}, {"Nazev", "abc stavby"}});
    add(fir, {{"Cis_firmy", 8}, {"Zkr_nazev", "b"}, {"Cis_obor", 1}, {"Nazev", "Abc obchod"}});
    EXPECT_EQ(DodavatelFiltru(*db, " 15 "), 15);
    EXPECT_EQ(DodavatelFiltru(*db, "Abc"), 8);
    EXPECT_EQ(DodavatelFiltru(*db, "abc"), 7);
    EXPECT_EQ(DodavatelFiltru(*db, "ABC"), std::nullopt);
    EXPECT_EQ(DodavatelFiltru(*db, "'; DROP"), std::nullopt);
    EXPECT_EQ(PodminkaDodavatele(8), "Cis_Firmy=8");
    vyrobek(1, "A", "", 21, 8);
    vyrobek(2, "B", "", 21, 7);
    EXPECT_EQ(ukazuje(PodminkaDodavatele(*DodavatelFiltru(*db, "Abc")), false),
              std::vector<qint64>{1});
}

QStringList strom(const UzelStromu& u, int uroven = 0) {
    QStringList s{QString(uroven * 2, ' ') + u.text +
                  (u.filtr.isEmpty() ? "" : " [" + u.filtr + "]")};
    for (const UzelStromu& d : u.deti)
        s << strom(d, uroven + 1);
    return s;
}

TEST_F(RejstrikVyrobkuTest, TreesOfGroupsAndCodes) {
    Table vs(*db, "Ciselnik\\VynSkup");
    add(vs, {{"PC_VynSkup", 1}, {"Popis", "Barvy syntetické"}});
    add(vs, {{"PC_VynSkup", 2}, {"Popis", "Barvy disperzní"}});
    add(vs, {{"PC_VynSkup", 3}, {"Popis", "Laky"}});
    add(vs, {{"PC_VynSkup", 4}, {"Popis", "Barvy ostatní"}});
    EXPECT_EQ(strom(StromVynosovychSkupin(*db)),
              (QStringList{"Vše", "  Barvy", "    1 - syntetické [PC_VynSkup = 1]",
                           "    2 - disperzní [PC_VynSkup = 2]", "  Laky",
                           "    3 - Laky [PC_VynSkup = 3]", "  Barvy",
                           "    4 - ostatní [PC_VynSkup = 4]"}));

    vyrobek(1, "A", "zelená");
    vyrobek(2, "B", "O'Neil");
    vyrobek(3, "C", "čáp");
    vyrobek(4, "D", "O'Neil");
    vyrobek(5, "E");
    vyrobek(6, "F", QString(15, 'x'));
    EXPECT_EQ(strom(StromKodovychOznaceni(*db)),
              (QStringList{"Vše", "  čáp [Kod_Ozn1 = 'čáp']", "  O'Neil [Kod_Ozn1 = 'O''Neil']",
                           "  " + QString(15, 'x') + " [Kod_Ozn1 = '" + QString(15, 'x') + "']",
                           "  zelená [Kod_Ozn1 = 'zelená']"}));
    // The leaf's filter finds its products, the apostrophe included.
    EXPECT_EQ(ukazuje("Kod_Ozn1 = 'O''Neil'", false), (std::vector<qint64>{2, 4}));
}

TEST_F(RejstrikVyrobkuTest, BulkCodeChangeReachesTheViewAsItStood) {
    for (int i = 1; i <= 30; ++i)
        vyrobek(i, "V", i % 3 ? "A" : "Z");
    ASSERT_TRUE(filtr::applyExpression(*vyr, "Kod_Ozn1 = 'A'", false, true));
    const std::vector<qint64> cisla = KliceVyrobku(*vyr);
    ASSERT_EQ(cisla.size(), 20u);
    const VysledekZmeny v = HromadnaZmenaKodu(*db, cisla, "B'1");
    ASSERT_TRUE(v.ok) << v.chyba.toStdString();
    EXPECT_EQ(v.zmeneno, 20);
    vyr->setFiltered(false);
    for (vyr->first(); !vyr->eof(); vyr->next()) {
        const qint64 c = vyr->field("Cis_vyr").asInteger();
        EXPECT_EQ(vyr->field("Kod_Ozn1").asString(), c % 3 ? "B'1" : "Z") << c;
    }
}

TEST_F(RejstrikVyrobkuTest, FailedBulkChangeChangesNothing) {
    for (int i = 1; i <= 5; ++i)
        vyrobek(i, "V", "A", 22);
    db->exec(QStringLiteral("CREATE TEMP TRIGGER chyba BEFORE UPDATE ON main.%1 WHEN "
                            "new.Cis_vyr = 4 BEGIN SELECT RAISE(ABORT, 'vynucená chyba'); END")
                 .arg(db->catalogue().find("Ciselnik\\Vyrobky")->sqlName));
    const VysledekZmeny z = HromadnaZmenaKodu(*db, {1, 2, 3, 4, 5}, "B");
    EXPECT_FALSE(z.ok);
    EXPECT_TRUE(z.chyba.contains("vynucená chyba"));
    const VysledekDPH d = PrepocetDPH(*db, {1, 2, 3, 4, 5});
    EXPECT_FALSE(d.ok);
    EXPECT_TRUE(d.radkyLogu.isEmpty());
    Query q(*db, "SELECT count(*) FROM Vyrobky WHERE Kod_Ozn1 = 'A' AND DPH = 22", "Ciselnik");
    q.open();
    EXPECT_EQ(q.field(0).asInteger(), 5);
}

TEST_F(RejstrikVyrobkuTest, VatChangeTouchesOnlyRate22AndLogsIt) {
    vyrobek(1, "A", "", 22);
    vyrobek(2, "B", "", 21);
    vyrobek(3, "C", "", 22);
    vyrobek(4, "D", "", 19);
    // A pack factor of 0 keeps the retail price.
    vyr->findKey({3});
    vyr->edit();
    vyr->field("Faktor_Bal").setInteger(0);
    vyr->post();
    const VysledekDPH v = PrepocetDPH(*db, KliceVyrobku(*vyr));
    ASSERT_TRUE(v.ok);
    EXPECT_EQ(v.zmeneno, 2);
    EXPECT_EQ(v.radkyLogu,
              (QStringList{"OBJ1;   22,00  134,20;  130,90", "OBJ3;   22,00  134,20;  134,20"}));
    for (auto [c, dph, mo] : {std::tuple{1, 19, "130.9"}, std::tuple{2, 21, "134.2"},
                              std::tuple{3, 19, "134.2"}, std::tuple{4, 19, "134.2"}}) {
        ASSERT_TRUE(vyr->findKey({c}));
        EXPECT_EQ(vyr->field("DPH").asInteger(), dph) << c;
        EXPECT_EQ(vyr->field("MO_Cena").asDecimal(), *Decimal::parse(QString(mo))) << c;
    }
    ASSERT_TRUE(ZapisLogDPH(dir.path(), v.radkyLogu));
    QFile f(dir.filePath("Vyr_NC.log"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("OBJ1;   22,00  134,20;  130,90\r\n"
                                      "OBJ3;   22,00  134,20;  134,20\r\n"));
}

TEST_F(RejstrikVyrobkuTest, QuickSearchQuery) {
    const DotazVyrSQL d = SestavDotazVyrSQL("ObjCis", "ob", "ab", "", "x_%");
    EXPECT_EQ(d.sql, "SELECT ObjCis, Nazev, Kod_Ozn1, Kod_Ozn2, Kod_Ozn3, Druh_Pol, DPH, MinZas, "
                     "DruhMn, CenaZa, Cis_Firmy, PC_Zakl, Dat_Zmen, MO_Cena, SklZas_Ks, SklZas_Kc, "
                     "Objednano, Rezervace, DisponMn\nFROM Vyrobky\nWHERE upper(ObjCis) like "
                     ":SQLKlicVyr escape '\\' and upper(Nazev) like :SQLNazev escape '\\' and "
                     "upper(Kod_Ozn2) like :SQLKO2 escape '\\'\n ORDER BY ObjCis");
    ASSERT_EQ(d.parametry.size(), 3u);
    EXPECT_EQ(d.parametry[0], (std::pair<QString, QVariant>{"SQLKlicVyr", "OB%"}));
    EXPECT_EQ(d.parametry[1], (std::pair<QString, QVariant>{"SQLNazev", "AB%"}));
    EXPECT_EQ(d.parametry[2], (std::pair<QString, QVariant>{"SQLKO2", "X\\_\\%%"}));
    const DotazVyrSQL n = SestavDotazVyrSQL("Cis_vyr", "12", "", "", "");
    EXPECT_TRUE(n.sql.contains("WHERE Cis_vyr = :SQLKlicVyr\n ORDER BY Cis_vyr"));
    EXPECT_EQ(n.parametry[0].second, 12);

    vyrobek(5, "abeceda");
    vyrobek(3, "ABC");
    vyrobek(4, "Aberace");
    vyrobek(2, "a%b");
    vyrobek(1, "axb");
    const auto spust = [&](const DotazVyrSQL& dotaz) {
        Query q(*db, dotaz.sql, "Ciselnik");
        for (const auto& [jmeno, hodnota] : dotaz.parametry)
            q.setParam(jmeno, hodnota);
        q.open();
        std::vector<qint64> c;
        for (q.first(); !q.eof(); q.next())
            c.push_back(q.field(0).asInteger());
        return c;
    };
    EXPECT_EQ(spust(SestavDotazVyrSQL("Cis_vyr", "", "ab", "", "")),
              (std::vector<qint64>{3, 4, 5}));
    EXPECT_EQ(spust(SestavDotazVyrSQL("Cis_vyr", "", "a%", "", "")), std::vector<qint64>{2});
    EXPECT_EQ(spust(SestavDotazVyrSQL("Cis_vyr", "", "", "", "")),
              (std::vector<qint64>{1, 2, 3, 4, 5}));
    EXPECT_EQ(spust(SestavDotazVyrSQL("Cis_vyr", "4", "", "", "")), std::vector<qint64>{4});
}

TEST_F(RejstrikVyrobkuTest, OneChooserForEveryEntryForm) {
    vyrobek(1, "Rukavice");
    vyrobek(2, "Kombinéza");
    vyr->close();
    dm->TableVyr->open();
    int rychle = 0, vyber = 0;
    std::optional<QString> klicRychle;
    bool vybrano = false;
    VolbaVyrobku volba(*dm, {[&](const QString& text, bool poKlici) {
                                 ++rychle;
                                 EXPECT_EQ(text, poKlici ? "9" : "xyz");
                                 return klicRychle;
                             },
                             [&](bool poNazvu, const QString& text) {
                                 ++vyber;
                                 EXPECT_TRUE(poNazvu);
                                 EXPECT_EQ(text, "xyz");
                                 if (vybrano) dm->NajdiVyrobek("2");
                                 return vybrano;
                             }});
    // Found as typed: no chooser.
    EXPECT_TRUE(volba.NajdiNeboVyberVyrobek("1", true));
    EXPECT_TRUE(volba.NajdiNeboVyberVyrobek("kombinéza", false));
    EXPECT_EQ(dm->TableVyr->field("Cis_vyr").asInteger(), 2);
    EXPECT_EQ(rychle + vyber, 0);
    // Not found: the quick search, its key made current; cancel is false.
    klicRychle = "1";
    EXPECT_TRUE(volba.NajdiNeboVyberVyrobek("9", true));
    EXPECT_EQ(dm->TableVyr->field("Cis_vyr").asInteger(), 1);
    klicRychle.reset();
    EXPECT_FALSE(volba.NajdiNeboVyberVyrobek("9", true));
    EXPECT_EQ(rychle, 2);
    // Without the quick search the register chooses, by name for a name.
    nastaveniProgramu().OkVyrSQL = false;
    EXPECT_FALSE(volba.NajdiNeboVyberVyrobek("xyz", false));
    vybrano = true;
    EXPECT_TRUE(volba.NajdiNeboVyberVyrobek("xyz", false));
    EXPECT_EQ(dm->TableVyr->field("Cis_vyr").asInteger(), 2);
    EXPECT_EQ(vyber, 2);
    dm->TableVyr->close();
}

TEST(PocetNalepek, OnlyAWholeNumberAboveZeroPrints) {
    EXPECT_EQ(PocetNalepek("48"), 48);
    EXPECT_EQ(PocetNalepek(" 3 "), 3);
    EXPECT_EQ(PocetNalepek("x"), std::nullopt);
    EXPECT_EQ(PocetNalepek("0"), std::nullopt);
    EXPECT_EQ(PocetNalepek("-2"), std::nullopt);
}

} // namespace
} // namespace brix::test
