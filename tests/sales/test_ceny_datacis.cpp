// The engine over the data module with the scripted platform: the messages of item pricing with
// their captions, the kind's steps, headers and items read and written by the family's fields,
// the full check with its question answered Yes and No, and the excise surcharge record.
#include "ceny_datacis.h"
#include "ceny_fixture.h"

#include "datacis.h"
#include "util/nastaveni.h"

using namespace brix;
using brix::test::D;

namespace {

class CenyDataCisTest : public brix::test::DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        add(*dm->TableDruhUctu, {{"Typ_Uctu", "DL"},
                                 {"Druh", "DL1"},
                                 {"Druh_ceny", "VO"},
                                 {"ZaokrPol", 0.1},
                                 {"ZaokrHla", 1.0}});
        add(*dm->TableDruhUctu, {{"Typ_Uctu", "FV"},
                                 {"Druh", "FV1"},
                                 {"Druh_ceny", "MO"},
                                 {"ZaokrPol", 0.01},
                                 {"ZaokrHla", 0.1}});
        add(*dm->TableDruhUctu, {{"Typ_Uctu", "3"},
                                 {"Druh", "PZ1"},
                                 {"Druh_ceny", "NC"},
                                 {"ZaokrPol", 0.01},
                                 {"ZaokrHla", 0.01}});
        Table& rab = *dm->TableRabSkup;
        rab.open();
        rab.insert();
        rab.field("Cis_RabSkup").setInteger(1);
        for (int n = 1; n <= 20; ++n)
            rab.field(QStringLiteral("Rabat%1").arg(n)).setFloat(n * 2);
        rab.post();
        add(*dm->TableVyr, {{"Cis_vyr", 1001},
                            {"ObjCis", "BS-1"},
                            {"Nazev", "Email bílý"},
                            {"DPH", 21.0},
                            {"PC_Zakl", 125.45},
                            {"CenaZa", 1.0},
                            {"Faktor_Bal", 1},
                            {"Cis_RabSkp", 1},
                            {"PC_MnRab1", 10.0},
                            {"PC_Rab1", 5.0},
                            {"Vaha", 0.9},
                            {"Objem", 0.7},
                            {"Spotr_Dan", 12.345},
                            {"Cis_CelSaz", "32081090"},
                            {"Cis_Firmy", 1}});
        add(*dm->TableVyr, {{"Cis_vyr", 1002},
                            {"ObjCis", "BS-2"},
                            {"Nazev", "Ředidlo"},
                            {"DPH", 12.0},
                            {"PC_Zakl", 40.0},
                            {"CenaZa", 1.0},
                            {"Faktor_Bal", 1},
                            {"Cis_RabSkp", 9},
                            {"Cis_Firmy", 1}});
        add(*dm->TCenik_ZAK, {{"Cis_Vyr", 1002}, {"Cis_Firmy", 12}, {"PC_ZAKL", 35.0}});
        dm->TCenik_ZAK->close();
    }

    // An open delivery note of the customer 12 in class 3 with two items priced by the engine.
    void dodaciList(CenyDataCis& ceny) {
        Table& h = *dm->TableHlaDL;
        add(h, {{"CIS_UCTU", 5},
                {"DRUH", "DL1"},
                {"STAV", "0"},
                {"Cis_Firmy", 12},
                {"Cis_Obor", 3},
                {"Zp_Rabat", "RS"},
                {"Dat_Vystav", QDateTime(QDate(2024, 7, 10), QTime(0, 0))},
                {"Dat_Pln", QDateTime(QDate(2024, 7, 10), QTime(0, 0))}});
        h.edit();
        const KrokyDokladu kroky = ceny.NastavZaokrouhleni(dl, h);
        h.post();
        HlavickaProCeny hp = ceny.ctiHlavickuProCeny(dl, h);
        Table& p = *dm->TablePolDL;
        p.open();
        int porCis = 0;
        for (const char* klic : {"1001", "1002"}) {
            ASSERT_TRUE(dm->NajdiVyrobek(klic));
            PolozkaCeny pol;
            ceny.NactiVyrobek(dl, hp, pol, kroky);
            ceny.ZmenaMnozstvi(dl, pol, hp, klic, Decimal(), D("12"), kroky);
            ceny.PredUlozenimPolozky(dl, pol, hp, klic, D("12"), kroky);
            p.insert();
            p.field("PorCis").setInteger(++porCis);
            p.field("Stav").setString("P");
            ceny.zapisPolozku(p, pol);
            p.post();
        }
    }

    const PopisDokladu& dl = popisDokladu(RodinaDokladu::DodaciList);
};

TEST_F(CenyDataCisTest, ItemPricingReadsGroupsAndCustomerPricesWithoutMovingTheSharedTables) {
    CenyDataCis ceny(*dm);
    dodaciList(ceny);
    Table& p = *dm->TablePolDL;
    p.first();
    PolozkaCeny a = ceny.ctiPolozku(p);
    // 6 % of class 3 and 5 % from 10 pieces: 125.4 x 0.89 = 111.606 -> 111.61 -> 111.6.
    EXPECT_EQ(a.Rabat, D("11"));
    EXPECT_EQ(a.PC_Netto, D("111.6"));
    EXPECT_EQ(a.PC_NettoC, D("1339.2"));
    EXPECT_EQ(a.JHmotnost, D("0.9"));
    EXPECT_EQ(a.Cis_celsaz, "32081090");
    p.next();
    PolozkaCeny b = ceny.ctiPolozku(p);
    // The customer's price of 35 with no rebate; its group 9 does not exist.
    EXPECT_EQ(b.PC_Zakl, D("35"));
    EXPECT_EQ(b.Rabat, Decimal());
    EXPECT_EQ(b.PC_NettoC, D("420"));
    EXPECT_EQ(boxes(), QStringList{"Varování: Rabatní skupina \"9\" nenalezena"});
    EXPECT_FALSE(dm->TableRabSkup->active() && dm->TableRabSkup->hasRecord() &&
                 dm->TableRabSkup->field("Cis_RabSkup").asInteger() != 1);
    EXPECT_FALSE(dm->TCenik_ZAK->active());
}

TEST_F(CenyDataCisTest, AProductMissingAtQuantityRebateTimeGivesZero) {
    CenyDataCis ceny(*dm);
    EXPECT_EQ(ceny.MnozstevniRabat(dl, "1001", D("10")), D("5"));
    EXPECT_EQ(ceny.MnozstevniRabat(dl, "4711", D("10")), Decimal());
    EXPECT_EQ(boxes(), QStringList{"Varování: Výrobek nenalezen, nelze určit množstevní rabat"});
}

TEST_F(CenyDataCisTest, KindsGiveTheStepsAndAnEmptyPriceTypeTakesTheKinds) {
    CenyDataCis ceny(*dm);
    Table& h = *dm->TableHlaDL;
    add(h, {{"CIS_UCTU", 1}, {"DRUH", "DL1"}, {"STAV", "0"}});
    h.edit();
    KrokyDokladu k = ceny.NastavZaokrouhleni(dl, h);
    EXPECT_EQ(k.polozky, D("0.1"));
    EXPECT_EQ(k.hlavicky, D("1"));
    EXPECT_EQ(k.zaokrCen, D("0.01"));
    EXPECT_EQ(h.field("Druh_Ceny").asString(), "VO");
    h.field("DRUH").setString("XX");
    k = ceny.NastavZaokrouhleni(dl, h);
    h.post();
    EXPECT_EQ(k.polozky, D("0.1"));
    EXPECT_EQ(k.hlavicky, D("0.1"));
    // The invoice finds its kind by DruhFa and says the short message.
    const PopisDokladu& fv = popisDokladu(RodinaDokladu::FakturaVydana);
    Table& f = *dm->TableHlaFaV;
    add(f, {{"CIS_UCTU", 1}, {"DRUH", "FV1"}, {"STAV", "0"}});
    EXPECT_EQ(ceny.NastavZaokrouhleni(fv, f).hlavicky, D("0.1"));
    f.edit();
    f.field("DruhFa").setString("FZ");
    f.post();
    ceny.NastavZaokrouhleni(fv, f);
    // Goods received take the first kind of their type, whatever DRUH says.
    EXPECT_EQ(ceny.druhUctu(popisDokladu(RodinaDokladu::PrijemZbozi), "ZZZ")->Druh_ceny, "NC");
    EXPECT_EQ(boxes(), (QStringList{"Chyba: Neexistující druh, nelze nastavit zaokrouhlení",
                                    "Chyba: Neexistující DRUH"}));
}

TEST_F(CenyDataCisTest, HeadersAreReadAndWrittenByTheFamilysFields) {
    CenyDataCis ceny(*dm);
    const PopisDokladu& fv = popisDokladu(RodinaDokladu::FakturaVydana);
    HodnotyHlavicky hodnoty;
    hodnoty.Zaklad2 = hodnoty.Zaklad = D("100");
    hodnoty.DPH2 = hodnoty.DPH = D("21");
    hodnoty.Cena_Celk = D("121");
    hodnoty.Cena_Cizi = D("4.84");
    hodnoty.Hmotnost = D("12.5");
    hodnoty.HPKU_Kc = D("0.3");
    Table& f = *dm->TableHlaFaV;
    add(f, {{"CIS_UCTU", 7}, {"STAV", "0"}});
    f.edit();
    ceny.zapisHodnotyHlavicky(fv, f, hodnoty);
    f.post();
    EXPECT_EQ(f.field("CENA_CIZI").asDecimal(), D("4.84"));
    EXPECT_EQ(f.field("Hmotnost").asDecimal(), D("12.5"));
    EXPECT_EQ(ceny.ctiHodnotyHlavicky(fv, f), hodnoty);
    // The cash sale has no foreign total, weight or rounding-difference field.
    const PopisDokladu& j = popisDokladu(RodinaDokladu::Pokladna);
    Table& k = *dm->TableHlaPoklO;
    add(k, {{"CIS_UCTU", 7}, {"STAV", "0"}, {"Prij_Vydej", "P"}, {"Druh_Ceny", "NC"}});
    k.edit();
    ceny.zapisHodnotyHlavicky(j, k, hodnoty);
    k.post();
    HodnotyHlavicky bez = hodnoty;
    bez.Cena_Cizi = bez.Hmotnost = bez.HPKU_Kc = Decimal();
    EXPECT_EQ(ceny.ctiHodnotyHlavicky(j, k), bez);
    EXPECT_EQ(ceny.ctiHlavickuProCeny(j, k).druhCeny, DruhCeny::VO);
}

TEST_F(CenyDataCisTest, VerboseCheckAsksAndOnlyYesRepairs) {
    CenyDataCis ceny(*dm);
    dodaciList(ceny);
    Table& h = *dm->TableHlaDL;
    h.refresh();
    ui.clearShown();
    // 1339.2 x 21 % = 281.232 -> 281.3; 420 x 12 % = 50.4: 1759.2 + 331.7 = 2090.9 -> 2091.
    ui.answer(Button::No, "Nesprávný základ v hlavičce,správně :1759,2", "Chyba");
    EXPECT_FALSE(ceny.KontrolaHlavicky(dl, h, dm->TablePolDL, D("1"), true));
    EXPECT_EQ(h.field("Zaklad").asDecimal(), Decimal());
    EXPECT_TRUE(h.field("HPKU_Kc").isNull());
    ui.answer(Button::Yes, "Zaokrouhlovací rozdíl", "Chyba");
    EXPECT_TRUE(ceny.KontrolaHlavicky(dl, h, dm->TablePolDL, D("1"), true));
    EXPECT_EQ(h.state(), TableState::Browse);
    EXPECT_EQ(h.field("Cena_Celk").asDecimal(), D("2091"));
    EXPECT_EQ(h.field("HPKU_Kc").asDecimal(), D("0.1"));
    EXPECT_EQ(h.field("DPH").asDecimal() + h.field("Zaklad").asDecimal(), D("2091"));
    // A second check has nothing to say.
    EXPECT_TRUE(ceny.KontrolaHlavicky(dl, h, dm->TablePolDL, D("1"), true));
    EXPECT_EQ(ui.shownMessages().size(), 2);
}

TEST_F(CenyDataCisTest, QuietCheckRepairsWithoutAQuestionGoodsReceivedAlwaysAsk) {
    CenyDataCis ceny(*dm);
    dodaciList(ceny);
    Table& h = *dm->TableHlaDL;
    h.refresh();
    ui.clearShown();
    EXPECT_TRUE(ceny.KontrolaHlavicky(dl, h, dm->TablePolDL, D("1"), false));
    EXPECT_EQ(h.field("Cena_Celk").asDecimal(), D("2091"));
    EXPECT_TRUE(ui.shownMessages().isEmpty());

    const PopisDokladu& dlp = popisDokladu(RodinaDokladu::PrijemZbozi);
    Table& g = *dm->TableHlaDLP;
    add(g, {{"CIS_UCTU", 3}, {"STAV", "0"}});
    add(*dm->TablePolDLP,
        {{"CIS_UCTU", 3}, {"PorCis", 1}, {"Cis_Vyr", 1001}, {"PC_NettoC", 100.0}, {"DPH", 21.0}});
    ui.answer(Button::Yes, "Nesprávný základ v hlavičce,správně :100, opravit ?\n", "Chyba");
    EXPECT_TRUE(ceny.KontrolaHlavicky(dlp, g, dm->TablePolDLP, D("0.01"), false));
    EXPECT_EQ(g.field("Cena_Celk").asDecimal(), D("121"));
}

TEST_F(CenyDataCisTest, ExciseSurchargeIsAppendedAndAFailureCancelsOnlyIt) {
    CenyDataCis ceny(*dm);
    const PrirazkaSD s{QStringLiteral("32081090"), D("2.1"), D("12.345"), D("8.6")};
    EXPECT_TRUE(ceny.pridejPrirazku(dl, 5, 1, s));
    // The same item twice: a key violation, cancelled without a message.
    EXPECT_FALSE(ceny.pridejPrirazku(dl, 5, 1, s));
    EXPECT_FALSE(ceny.pridejPrirazku(popisDokladu(RodinaDokladu::FakturaVydana), 5, 1, s));
    Table& prir = *dm->TPrirDL;
    prir.setMaster(nullptr, {}, {});
    prir.open();
    EXPECT_EQ(prir.recordCount(), 1);
    EXPECT_EQ(prir.field("Druh_Prir").asString(), "SD");
    EXPECT_EQ(prir.field("Druh_Vypoctu").asString(), "CO");
    EXPECT_EQ(prir.field("CCena").asDecimal(), D("8.6"));
    EXPECT_TRUE(prir.field("Zobrazeni").asBoolean());
    EXPECT_TRUE(ui.shownMessages().isEmpty());
}

TEST_F(CenyDataCisTest, TheItemsMemoryTakesTheWholePartOfTheRate) {
    CenyDataCis ceny(*dm);
    Table& p = *dm->TablePolDL;
    add(p, {{"CIS_UCTU", 9},
            {"PorCis", 1},
            {"Cis_Vyr", 1001},
            {"PC_NettoC", 80.0},
            {"DPH", 10.5},
            {"Mnozstvi", 2.0},
            {"JHmotnost", 0.9}});
    p.edit();
    const PodilPolozky pamet = podilZPuvodnich(dm->PuvodniHodnotyPolozky(p));
    const PodilPolozky polozka = ceny.ctiPolozku(p).podil();
    p.cancel();
    EXPECT_EQ(pamet.sazba, 10);
    EXPECT_EQ(pamet.sazba, polozka.sazba);
    EXPECT_EQ(pamet.castka, polozka.castka);
    EXPECT_EQ(pamet.hmotnost, D("1.8"));
}

} // namespace
