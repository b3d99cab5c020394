// Item pricing: the product chosen into an item in every family's way, the quantity rebate and
// leaving the quantity, the manual price edits, the line amounts with their steps and factors,
// the item save and the rounding steps of a document kind.
#include "ceny_fixture.h"

#include "hlavicka.h"
#include "polozka.h"

using namespace brix;
using brix::test::D;
using brix::test::texty;
using brix::test::ZdrojVPameti;

namespace {

const QDate kVystaveni(2024, 7, 10);
const QDate kPlneni(2024, 7, 15);

Vyrobek email() {
    Vyrobek v;
    v.Cis_Vyr = 1001;
    v.ObjCis = QStringLiteral("BS-0001");
    v.Nazev = QStringLiteral("Email syntetický bílý");
    v.NazCizJaz = QStringLiteral("Synthetic enamel white");
    v.Kod_Ozn1 = QStringLiteral("SYNTETIKA");
    v.Kod_Ozn2 = QStringLiteral("UNI");
    v.DruhMn = QStringLiteral("ks");
    v.Druh_Pol = QStringLiteral("S");
    v.Cis_CelSaz = QStringLiteral("32081090");
    v.Poznamka = QStringLiteral("Ředit S 6006");
    v.Vaha = D("0.9");
    v.DPH = D("21");
    v.Cis_RabSkp = 1;
    v.NC_Netto = D("100.36");
    v.Faktor_Bal = D("1");
    v.MO_Cena = D("151.8");
    v.PC_Zakl = D("125.45");
    v.CenaZa = D("1");
    v.Kod_Meny = QStringLiteral("EUR");
    v.NC_Zahr = D("4");
    return v;
}

class PolozkaTest : public ::testing::Test {
protected:
    void SetUp() override {
        zdroj.skupina(1, [](int obor) { return Decimal(obor * 2); });
        zdroj.kurzy.pridej("EUR", QDate(2024, 7, 1), "25");
        zdroj.kurzy.pridej("EUR", QDate(2024, 7, 12), "25.5");
        hlavicka.druhCeny = DruhCeny::VO;
        hlavicka.Zp_Rabat = QStringLiteral("RS");
        hlavicka.Cis_Obor = 3;
        hlavicka.Cis_Firmy = 12;
        hlavicka.Dat_Vystav = kVystaveni;
        hlavicka.Dat_Pln = kPlneni;
        hlavicka.Cis_Sklad = QStringLiteral("S1");
        kroky.polozky = D("0.1");
        kroky.hlavicky = D("1");
        kroky.cizi = D("0.01");
        kroky.zaokrCen = D("0.01");
    }
    VysledekNacteni nacti(RodinaDokladu rodina, bool zahrMeny = false) {
        return NactiVyrobek(popisDokladu(rodina), v, hlavicka, p, kroky, zahrMeny, zdroj, zpravy);
    }

    Vyrobek v = email();
    ZdrojVPameti zdroj;
    HlavickaProCeny hlavicka;
    KrokyDokladu kroky;
    PolozkaCeny p;
    ZpravyCeny zpravy;
};

TEST_F(PolozkaTest, DeliveryNoteTakesNamesCodesPriceRebateAndNetPrice) {
    const VysledekNacteni r = nacti(RodinaDokladu::DodaciList);
    EXPECT_EQ(p.Nazev, "Email syntetický bílý");
    EXPECT_EQ(p.Cis_Vyr, 1001);
    EXPECT_EQ(p.ObjCis, "BS-0001");
    EXPECT_EQ(p.Kod_Ozn1, "SYNTETIKA");
    EXPECT_EQ(p.DruhMn, "ks");
    EXPECT_EQ(p.JHmotnost, D("0.9"));
    EXPECT_EQ(p.Cis_Sklad, "S1");
    EXPECT_EQ(p.Cis_celsaz, "32081090");
    EXPECT_EQ(p.Poznamka, "Ředit S 6006");
    EXPECT_EQ(p.DPH, D("21"));
    EXPECT_EQ(p.Druh_Pol, "S");
    EXPECT_EQ(p.Faktor, D("1"));
    // Class 3 of group 1: 6 %. 125.45 x 94 / 100 = 117.923 -> 117.9 at the item step; the base
    // price is then rounded at the item step too, half a step down: 125.4.
    EXPECT_EQ(p.Rabat, D("6"));
    EXPECT_EQ(p.PC_Netto, D("117.9"));
    EXPECT_EQ(p.PC_Zakl, D("125.4"));
    EXPECT_EQ(p.PC_NettoC, Decimal());
    EXPECT_FALSE(r.oborZmenen);
    EXPECT_FALSE(r.prirazka.has_value());
    EXPECT_TRUE(zpravy.empty());
}

TEST_F(PolozkaTest, LeavingTheQuantityAddsTheRebateAndRoundsTheNetPriceTwice) {
    v.PC_MnRab1 = D("10");
    v.PC_Rab1 = D("5");
    nacti(RodinaDokladu::DodaciList);
    // 6 - 0 + 5 = 11 %: 125.4 x 89 / 100 = 111.606 -> 111.61 at ZaokrCen, then 111.6 at the item
    // step; the line 12 x 111.6.
    ZmenaMnozstvi(popisDokladu(RodinaDokladu::DodaciList), p, hlavicka, &v, Decimal(), D("12"),
                  kroky, zpravy);
    EXPECT_EQ(p.Rabat, D("11"));
    EXPECT_EQ(p.PC_Netto, D("111.6"));
    EXPECT_EQ(p.PC_NettoC, D("1339.2"));
    // Back below the threshold: the quantity rebate goes, the group's stays.
    ZmenaMnozstvi(popisDokladu(RodinaDokladu::DodaciList), p, hlavicka, &v, D("12"), D("9.99"),
                  kroky, zpravy);
    EXPECT_EQ(p.Rabat, D("6"));
    EXPECT_EQ(p.PC_Netto, D("117.9"));
    // A product missing at this time: rebate 0 with the warning, the net price recomputed.
    p.Rabat = D("7");
    ZmenaMnozstvi(popisDokladu(RodinaDokladu::DodaciList), p, hlavicka, nullptr, D("9.99"), D("20"),
                  kroky, zpravy);
    EXPECT_EQ(p.Rabat, D("7"));
    EXPECT_EQ(p.PC_Netto, D("116.6")); // 125.4 x 0.93 = 116.622
    EXPECT_EQ(texty(zpravy),
              QStringList{"Varování: Výrobek nenalezen, nelze určit množstevní rabat"});
}

TEST_F(PolozkaTest, AClassOutsideOneToTwentyBecomesOneWithItsWarning) {
    for (int obor : {0, 21}) {
        hlavicka.Cis_Obor = obor;
        zpravy.clear();
        const VysledekNacteni r = nacti(RodinaDokladu::DodaciList);
        EXPECT_TRUE(r.oborZmenen);
        EXPECT_EQ(hlavicka.Cis_Obor, 1);
        EXPECT_EQ(p.Rabat, D("2")); // RABAT1
        EXPECT_EQ(texty(zpravy), QStringList{QStringLiteral("Varování: Obor \"%1\" mimo rozsah "
                                                            "(1-20)")
                                                 .arg(obor)});
    }
    hlavicka.Cis_Obor.reset();
    zpravy.clear();
    nacti(RodinaDokladu::FakturaVydana);
    EXPECT_EQ(texty(zpravy), QStringList{"Varování: Obor \"\" mimo rozsah (1-20)"});
}

TEST_F(PolozkaTest, AMissingRebateGroupGivesNoRebate) {
    v.Cis_RabSkp = 9;
    nacti(RodinaDokladu::DodaciList);
    EXPECT_EQ(p.Rabat, Decimal());
    EXPECT_EQ(p.PC_Netto, D("125.4"));
    v.Cis_RabSkp.reset();
    nacti(RodinaDokladu::Pokladna);
    EXPECT_EQ(texty(zpravy), (QStringList{"Varování: Rabatní skupina \"9\" nenalezena",
                                          "Varování: Rabatní skupina \"\" nenalezena"}));
}

TEST_F(PolozkaTest, RebateModesOfTheColumns) {
    hlavicka.Zp_Rabat = QStringLiteral("PS");
    hlavicka.Rabat = D("10");
    nacti(RodinaDokladu::DodaciList);
    EXPECT_EQ(p.Rabat, D("10"));
    // Another mode leaves the delivery note's rebate as the item had it ...
    hlavicka.Zp_Rabat = QStringLiteral("XX");
    p.Rabat = D("3");
    nacti(RodinaDokladu::DodaciList);
    EXPECT_EQ(p.Rabat, D("3"));
    // ... while the invoice and the cash sale take the header's.
    nacti(RodinaDokladu::FakturaVydana);
    EXPECT_EQ(p.Rabat, D("10"));
    nacti(RodinaDokladu::Pokladna);
    EXPECT_EQ(p.Rabat, D("10"));
    // The orders and goods received price without rebate: the net price is the base price
    // (goods received then round the net price alone at the item step).
    hlavicka.Zp_Rabat = QStringLiteral("RS");
    for (RodinaDokladu r : {RodinaDokladu::ObjednavkaPrijata, RodinaDokladu::ObjednavkaVydana,
                            RodinaDokladu::PrijemZbozi}) {
        nacti(r);
        EXPECT_EQ(p.Rabat, Decimal());
        EXPECT_EQ(p.PC_Zakl, D("125.45"));
        EXPECT_EQ(p.PC_Netto, r == RodinaDokladu::PrijemZbozi ? D("125.4") : D("125.45"));
    }
    EXPECT_TRUE(zpravy.empty());
}

TEST_F(PolozkaTest, ACustomersPriceZeroesTheRebateAndTheModeAppliesAgain) {
    zdroj.ceniky[{1001, 12}] = {D("110"), D("4.2")};
    hlavicka.Zp_Rabat = QStringLiteral("PS");
    hlavicka.Rabat = D("10");
    nacti(RodinaDokladu::DodaciList);
    EXPECT_EQ(p.PC_Zakl, D("110"));
    EXPECT_EQ(p.Rabat, D("10"));
    EXPECT_EQ(p.PC_Netto, D("99"));
    hlavicka.Zp_Rabat = QStringLiteral("XX");
    nacti(RodinaDokladu::DodaciList);
    EXPECT_EQ(p.Rabat, Decimal());
    EXPECT_EQ(p.PC_Netto, D("110"));
    // Only the delivery note has customers' prices; another customer has none.
    nacti(RodinaDokladu::FakturaVydana);
    EXPECT_EQ(p.PC_Zakl, D("125.4"));
    hlavicka.Cis_Firmy = 13;
    nacti(RodinaDokladu::DodaciList);
    EXPECT_EQ(p.PC_Zakl, D("125.4"));
}

TEST_F(PolozkaTest, ExciseSurchargeIsForOneUnitAtTheItemStep) {
    v.Objem = D("0.7");
    v.Spotr_Dan = D("12.345");
    p.Mnozstvi = D("3");
    const VysledekNacteni r = nacti(RodinaDokladu::DodaciList);
    ASSERT_TRUE(r.prirazka.has_value());
    EXPECT_EQ(r.prirazka->Popis, "32081090");
    EXPECT_EQ(r.prirazka->Mnozstvi, D("2.1"));
    EXPECT_EQ(r.prirazka->JCena, D("12.345"));
    EXPECT_EQ(r.prirazka->CCena, D("8.6")); // 8.6415, not times the quantity
    EXPECT_FALSE(nacti(RodinaDokladu::FakturaVydana).prirazka.has_value());
}

TEST_F(PolozkaTest, ForeignDocumentsHaveNoVatAndForeignPrices) {
    hlavicka.Kod_Meny = QStringLiteral("EUR");
    hlavicka.Zp_Rabat = QStringLiteral("PS");
    hlavicka.Rabat = D("10");
    hlavicka.ceskeNazvy = false;
    nacti(RodinaDokladu::DodaciList, true);
    EXPECT_EQ(p.DPH, Decimal());
    EXPECT_EQ(p.Nazev, "Synthetic enamel white");
    // 125.45 x 0.9 = 112.905 -> 112.9; 112.9 / 25 = 4.516 -> 4.52 at the foreign step.
    EXPECT_EQ(p.PC_Netto, D("112.9"));
    EXPECT_EQ(p.Cena_Cizi, D("4.52"));
    // The invoice names items by their Czech name.
    nacti(RodinaDokladu::FakturaVydana, true);
    EXPECT_EQ(p.Nazev, "Email syntetický bílý");
    // The purchase order names them in the foreign language whenever it has a currency.
    nacti(RodinaDokladu::ObjednavkaVydana, true);
    EXPECT_EQ(p.Nazev, "Synthetic enamel white");
    // Foreign prices off: no foreign price, the customer's domestic price would apply, no VAT.
    p.Cena_Cizi = Decimal();
    nacti(RodinaDokladu::DodaciList, false);
    EXPECT_EQ(p.Cena_Cizi, Decimal());
    EXPECT_EQ(p.DPH, Decimal());
    EXPECT_TRUE(zpravy.empty());
}

TEST_F(PolozkaTest, PurchasePriceInTheProductsCurrency) {
    hlavicka.Kod_Meny = QStringLiteral("EUR");
    hlavicka.druhCeny = DruhCeny::NC;
    hlavicka.Zp_Rabat = QString();
    hlavicka.Kurs = D("25.123");
    // 4 EUR at 25 = 100 for base and net; the foreign price follows the net price again.
    nacti(RodinaDokladu::DodaciList, true);
    EXPECT_EQ(p.PC_Zakl, D("100"));
    EXPECT_EQ(p.PC_Netto, D("100"));
    EXPECT_EQ(p.Cena_Cizi, D("4"));
    // Goods received take the header's rate: 25.123 x 4 = 100.492 -> 100.5.
    nacti(RodinaDokladu::PrijemZbozi, true);
    EXPECT_EQ(p.PC_Netto, D("100.5"));
    EXPECT_EQ(p.PC_Zakl, D("100.5"));
    EXPECT_EQ(p.Cena_Cizi, D("4"));
    // Another currency: the domestic purchase price converted.
    hlavicka.Kod_Meny = QStringLiteral("USD");
    zdroj.kurzy.pridej("USD", QDate(2024, 1, 1), "20");
    nacti(RodinaDokladu::DodaciList, true);
    EXPECT_EQ(p.PC_Netto, D("100.4"));
    EXPECT_EQ(p.Cena_Cizi, D("5.02"));
}

TEST_F(PolozkaTest, CashSaleSellsAtTheRetailPriceWithVatOrTheWholesalePrice) {
    hlavicka.druhCeny = druhCenyDokladu(popisDokladu(RodinaDokladu::Pokladna), u"MO");
    ASSERT_EQ(hlavicka.druhCeny, DruhCeny::MO);
    p.Mnozstvi = D("3");
    nacti(RodinaDokladu::Pokladna);
    // The retail price itself; 6 % off at 0.1: 151.8 x 0.94 = 142.692 -> 142.7; the line at 0.1.
    EXPECT_EQ(p.PC_Zakl, D("151.8"));
    EXPECT_EQ(p.PC_Netto, D("142.7"));
    EXPECT_EQ(p.PC_NettoC, D("428.1"));
    // Any other type of the header sells wholesale, rounded at 0.1 and the line at ZaokrCen.
    hlavicka.druhCeny = druhCenyDokladu(popisDokladu(RodinaDokladu::Pokladna), u"NC");
    ASSERT_EQ(hlavicka.druhCeny, DruhCeny::VO);
    nacti(RodinaDokladu::Pokladna);
    EXPECT_EQ(p.PC_Netto, D("117.9"));
    EXPECT_EQ(p.PC_NettoC, D("353.7"));
}

TEST_F(PolozkaTest, StockPriceOfTheItemsWarehouse) {
    hlavicka.druhCeny = DruhCeny::IP;
    hlavicka.Zp_Rabat = QString();
    zdroj.zasoby[1001] = {D("4"), D("401.2"), D("95")};
    nacti(RodinaDokladu::DodaciList);
    EXPECT_EQ(p.PC_Zakl, D("100.3"));
    EXPECT_EQ(p.Faktor, D("1"));
}

// ---- quantity rebates ------------------------------------------------------------------

TEST_F(PolozkaTest, QuantityRebateTiers) {
    const PopisDokladu& dl = popisDokladu(RodinaDokladu::DodaciList);
    v.PC_MnRab1 = D("10");
    v.PC_Rab1 = D("5");
    EXPECT_EQ(MnozstevniRabat(dl, &v, D("9.99"), zpravy), Decimal());
    EXPECT_EQ(MnozstevniRabat(dl, &v, D("10"), zpravy), D("5"));
    v.Pc_MnRab2 = D("20");
    v.PC_Rab2 = D("8");
    v.PC_MnRab3 = D("50");
    v.PC_Rab3 = D("12");
    EXPECT_EQ(MnozstevniRabat(dl, &v, D("25"), zpravy), D("8"));
    EXPECT_EQ(MnozstevniRabat(dl, &v, D("50"), zpravy), D("12"));
    EXPECT_TRUE(zpravy.empty());
    // A second tier of -100 or less is special: the first tier's rebate stays.
    v.PC_Rab2 = D("-100");
    EXPECT_EQ(MnozstevniRabat(dl, &v, D("60"), zpravy), D("5"));
    EXPECT_EQ(MnozstevniRabat(dl, &v, D("15"), zpravy), D("5"));
    EXPECT_EQ(texty(zpravy), QStringList{"Upozornění: Výrobek má speciální množstevní rabat"});
    // The purchase side has one tier of its own.
    v.NC_MnRab1 = D("10");
    v.NC_Rab1 = D("3");
    const PopisDokladu& dlp = popisDokladu(RodinaDokladu::PrijemZbozi);
    EXPECT_EQ(MnozstevniRabat(dlp, &v, D("60"), zpravy), D("3"));
    EXPECT_EQ(MnozstevniRabat(dlp, &v, D("9"), zpravy), Decimal());
    zpravy.clear();
    EXPECT_EQ(MnozstevniRabat(dl, nullptr, D("60"), zpravy), Decimal());
    EXPECT_EQ(texty(zpravy),
              QStringList{"Varování: Výrobek nenalezen, nelze určit množstevní rabat"});
}

TEST_F(PolozkaTest, RaisingTheQuantityAcrossTheThresholdAddsToWhateverRebateTheItemHad) {
    v.PC_MnRab1 = D("10");
    v.PC_Rab1 = D("5");
    p.PC_Zakl = D("200");
    p.Rabat = D("2.5");
    ZmenaMnozstvi(popisDokladu(RodinaDokladu::ObjednavkaPrijata), p, hlavicka, &v, D("5"), D("12"),
                  kroky, zpravy);
    EXPECT_EQ(p.Rabat, D("7.5"));
    EXPECT_EQ(p.PC_Netto, D("185"));
}

// ---- manual edits ------------------------------------------------------------------------

TEST_F(PolozkaTest, BasePriceFromANetPriceDividesFirst) {
    const PopisDokladu& dl = popisDokladu(RodinaDokladu::DodaciList);
    kroky.zaokrCen = D("0.001");
    kroky.polozky = D("0.001");
    p.PC_Netto = D("1");
    p.Rabat = D("3");
    // 1 / 97 = 0.0103 at four places, x 100 = 1.03 (the exact 1.0309 would give 1.031).
    RucniZmenaCeny(dl, RucniZmena::PC_Netto, p, hlavicka, kroky, zdroj, zpravy);
    EXPECT_EQ(p.PC_Zakl, D("1.03"));
    // At a rebate of 100 the base price stays.
    p.Rabat = D("100");
    p.PC_Netto = D("0");
    RucniZmenaCeny(dl, RucniZmena::PC_Netto, p, hlavicka, kroky, zdroj, zpravy);
    EXPECT_EQ(p.PC_Zakl, D("1.03"));
    EXPECT_EQ(texty(zpravy), QStringList{"Upozornění: Při rabatu 100 % nelze určit základní cenu"});
}

TEST_F(PolozkaTest, BaseOrRebateLeftGivesTheNetPriceAndTheForeignPrice) {
    const PopisDokladu& dl = popisDokladu(RodinaDokladu::DodaciList);
    hlavicka.Kod_Meny = QStringLiteral("EUR");
    p.PC_Zakl = D("99.9");
    p.Rabat = D("12.5");
    RucniZmenaCeny(dl, RucniZmena::Rabat, p, hlavicka, kroky, zdroj, zpravy);
    EXPECT_EQ(p.PC_Netto, D("87.4")); // 87.4125 at ZaokrCen, then the item step
    EXPECT_EQ(p.Cena_Cizi, D("3.5")); // 87.41 / 25 (at Dat_Vystav)
    // The purchase order converts when its base price is left, not its rebate.
    const PopisDokladu& ov = popisDokladu(RodinaDokladu::ObjednavkaVydana);
    p.Cena_Cizi = Decimal();
    RucniZmenaCeny(ov, RucniZmena::Rabat, p, hlavicka, kroky, zdroj, zpravy);
    EXPECT_EQ(p.Cena_Cizi, Decimal());
    RucniZmenaCeny(ov, RucniZmena::PC_Zakl, p, hlavicka, kroky, zdroj, zpravy);
    EXPECT_EQ(p.Cena_Cizi, D("3.5"));
}

TEST_F(PolozkaTest, ForeignPriceLeftConvertsAtTheDateOfSupply) {
    hlavicka.Kod_Meny = QStringLiteral("EUR");
    p.Cena_Cizi = D("4");
    p.Rabat = D("15");
    kroky.polozky = D("0.0001");
    // At 25.5 (valid from 12 July): 102, base 102 / 85 x 100 = 120 (not rounded).
    RucniZmenaCeny(popisDokladu(RodinaDokladu::FakturaVydana), RucniZmena::Cena_Cizi, p, hlavicka,
                   kroky, zdroj, zpravy);
    EXPECT_EQ(p.PC_Netto, D("102"));
    EXPECT_EQ(p.PC_Zakl, D("120"));
    // Goods received at the header's rate, base = net.
    hlavicka.Kurs = D("25.25");
    RucniZmenaCeny(popisDokladu(RodinaDokladu::PrijemZbozi), RucniZmena::Cena_Cizi, p, hlavicka,
                   kroky, zdroj, zpravy);
    EXPECT_EQ(p.PC_Netto, D("101"));
    EXPECT_EQ(p.PC_Zakl, D("101"));
    // Without a currency the foreign price changes nothing.
    hlavicka.Kod_Meny.clear();
    p.Cena_Cizi = D("9");
    RucniZmenaCeny(popisDokladu(RodinaDokladu::DodaciList), RucniZmena::Cena_Cizi, p, hlavicka,
                   kroky, zdroj, zpravy);
    EXPECT_EQ(p.PC_Netto, D("101"));
    EXPECT_TRUE(zpravy.empty());
}

// ---- line amounts ------------------------------------------------------------------------

struct Radek {
    RodinaDokladu rodina;
    DruhCeny druh;
    const char* mnozstvi;
    const char* netto;
    const char* faktor;
    const char* cizi;
    const char* castka;     // PC_NettoC
    const char* ciziCastka; // Cena_CiziC
};

TEST_F(PolozkaTest, LineAmountsOfEveryColumn) {
    kroky.polozky = D("0.1");
    kroky.zaokrCen = D("0.01");
    kroky.cizi = D("0.01");
    const Radek radky[] = {
        // Delivery note: "MO" and "VO" divide by the factor at the item step; the foreign line
        // divides whenever the factor is not 0, at the foreign step.
        {RodinaDokladu::DodaciList, DruhCeny::VO, "10", "48.3", "4", "1.93", "120.7", "4.82"},
        {RodinaDokladu::DodaciList, DruhCeny::NC, "10", "48.3", "4", "1.93", "483", "4.82"},
        {RodinaDokladu::DodaciList, DruhCeny::VO, "3", "10", "0", "2", "0", "0"},
        // A factor below 1 divides too.
        {RodinaDokladu::DodaciList, DruhCeny::MO, "3", "10", "0.5", "2", "60", "12"},
        // Invoice: always divided, at ZaokrCen, then the item step.
        {RodinaDokladu::FakturaVydana, DruhCeny::NC, "10", "48.3", "4", "0", "120.7", "0"},
        {RodinaDokladu::FakturaVydana, DruhCeny::IP, "7", "3.3", "3", "0", "7.7", "0"},
        // Cash sale: at ZaokrCen, and 0.1 at the end in retail prices; no foreign line.
        {RodinaDokladu::Pokladna, DruhCeny::VO, "7", "3.3", "3", "0", "7.7", "-1"},
        {RodinaDokladu::Pokladna, DruhCeny::MO, "7", "3.3", "3", "0", "7.7", "-1"},
        {RodinaDokladu::Pokladna, DruhCeny::VO, "1", "0.126", "1", "0", "0.1", "-1"},
        {RodinaDokladu::Pokladna, DruhCeny::MO, "1", "1.26", "1", "0", "1.3", "-1"},
        // Customer order: "MO", "VO", "NC" at ZaokrCen, unit prices not rounded, no foreign line.
        {RodinaDokladu::ObjednavkaPrijata, DruhCeny::NC, "10", "48.33", "4", "9", "120.8", "-1"},
        {RodinaDokladu::ObjednavkaPrijata, DruhCeny::IP, "10", "48.33", "4", "9", "483.3", "-1"},
        // Goods received: at the item step, the foreign line too; ZaokrCen at the end.
        {RodinaDokladu::PrijemZbozi, DruhCeny::NC, "10", "48.33", "4", "1.93", "120.7", "4.8"},
        {RodinaDokladu::PrijemZbozi, DruhCeny::IP, "3", "0.333", "4", "0.333", "0.9", "0.999"},
        // Purchase order: ZaokrCen; the foreign line at the foreign step for every type.
        {RodinaDokladu::ObjednavkaVydana, DruhCeny::IP, "3", "0.333", "4", "1.93", "1", "1.45"},
        {RodinaDokladu::ObjednavkaVydana, DruhCeny::VO, "10", "48.33", "0", "1.93", "0", "0"},
    };
    for (const Radek& r : radky) {
        PolozkaCeny p;
        p.Mnozstvi = D(r.mnozstvi);
        p.PC_Netto = p.PC_Zakl = D(r.netto);
        p.Faktor = D(r.faktor);
        p.Cena_Cizi = D(r.cizi);
        p.Cena_CiziC = D("-1");
        PrepocetPolozky(popisDokladu(r.rodina), r.druh, p, kroky);
        const std::string pripad = popisDokladu(r.rodina).typUctu.toStdString() + " " +
                                   textDruhuCeny(r.druh).toStdString() + " " + r.mnozstvi + " x " +
                                   r.netto + " / " + r.faktor;
        EXPECT_EQ(p.PC_NettoC, D(r.castka)) << pripad;
        EXPECT_EQ(p.Cena_CiziC, D(r.ciziCastka)) << pripad;
    }
}

TEST_F(PolozkaTest, LineAmountsFromTheEditBoxes) {
    const PopisDokladu& dl = popisDokladu(RodinaDokladu::DodaciList);
    PolozkaCeny p;
    p.Faktor = D("1");
    PrepocetPolozky(dl, DruhCeny::VO, p, TextyPolozky{"12,5", "10,05", "10,0502", "abc"}, kroky);
    EXPECT_EQ(p.Mnozstvi, D("12.5"));
    EXPECT_EQ(p.PC_Zakl, D("10"));      // half a step rounds down
    EXPECT_EQ(p.PC_Netto, D("10.1"));   // beyond half rounds up
    EXPECT_EQ(p.PC_NettoC, D("126.2")); // 126.25: half a step down
    EXPECT_EQ(p.Cena_Cizi, Decimal());
    PrepocetPolozky(dl, DruhCeny::VO, p, TextyPolozky{"", " ", "", ""}, kroky);
    EXPECT_EQ(p.Mnozstvi, Decimal());
    EXPECT_EQ(p.PC_NettoC, Decimal());
}

TEST_F(PolozkaTest, SavingAnItemAdjustsItsRebateByTheQuantityRebate) {
    v.PC_MnRab1 = D("10");
    v.PC_Rab1 = D("5");
    hlavicka.Kod_Meny = QStringLiteral("EUR");
    p.PC_Zakl = D("200");
    p.Rabat = D("1");
    p.Mnozstvi = D("10");
    p.Faktor = D("1");
    PredUlozenimPolozky(popisDokladu(RodinaDokladu::DodaciList), p, hlavicka, &v, D("4"), kroky,
                        zdroj, zpravy);
    EXPECT_EQ(p.Rabat, D("6"));
    EXPECT_EQ(p.PC_Netto, D("188"));
    EXPECT_EQ(p.Cena_Cizi, D("7.52"));
    EXPECT_EQ(p.PC_NettoC, D("1880"));
    // The purchase order takes the base price from the foreign price at the date of supply.
    p.Cena_Cizi = D("8");
    p.Rabat = D("0");
    PredUlozenimPolozky(popisDokladu(RodinaDokladu::ObjednavkaVydana), p, hlavicka, &v, D("10"),
                        kroky, zdroj, zpravy);
    EXPECT_EQ(p.PC_Zakl, D("204"));
    EXPECT_EQ(p.PC_Netto, D("204"));
    EXPECT_EQ(p.Cena_Cizi, D("8"));
}

// ---- rounding steps ------------------------------------------------------------------------

TEST_F(PolozkaTest, RoundingStepsFromTheDocumentKind) {
    KrokyDokladu k;
    const DruhUctu druh{QStringLiteral("MO"), D("1"), D("10")};
    NastaveniZaokrouhleni n =
        NastavZaokrouhleni(popisDokladu(RodinaDokladu::DodaciList), druh, {}, k, zpravy);
    EXPECT_TRUE(n.druhNalezen);
    EXPECT_EQ(n.druhCeny, "MO");
    EXPECT_EQ(k.polozky, D("1"));
    EXPECT_EQ(k.hlavicky, D("10"));
    n = NastavZaokrouhleni(popisDokladu(RodinaDokladu::DodaciList), druh, "VO", k, zpravy);
    EXPECT_EQ(n.druhCeny, "VO");
    EXPECT_TRUE(zpravy.empty());
    n = NastavZaokrouhleni(popisDokladu(RodinaDokladu::DodaciList), std::nullopt, "VO", k, zpravy);
    EXPECT_FALSE(n.druhNalezen);
    EXPECT_EQ(k.polozky, D("0.1"));
    EXPECT_EQ(k.hlavicky, D("0.1"));
    NastavZaokrouhleni(popisDokladu(RodinaDokladu::FakturaVydana), std::nullopt, "VO", k, zpravy);
    EXPECT_EQ(texty(zpravy), (QStringList{"Chyba: Neexistující druh, nelze nastavit zaokrouhlení",
                                          "Chyba: Neexistující DRUH"}));
    zdroj.kurzy.pridej("HUF", QDate(2024, 1, 1), "6.315", "100", "1");
    zdroj.kurzy.pridej("XNU", QDate(2024, 1, 1), "6", "1", "0");
    EXPECT_EQ(KrokCiziMeny(zdroj, "HUF", kPlneni), D("1"));
    EXPECT_EQ(KrokCiziMeny(zdroj, "XNU", kPlneni), D("0.1"));
    EXPECT_EQ(KrokCiziMeny(zdroj, "", kPlneni), D("0.1"));
}

} // namespace
