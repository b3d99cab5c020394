// The price of a price type: each type's source and factor, the order of operations of the
// retail price, the step, the "IP" price from the stock figures, a refused type; and the
// adapter on the product current in the shared product table.
#include "ceny_datacis.h"
#include "ceny_fixture.h"

#include "datacis.h"
#include "util/nastaveni.h"

using namespace brix;
using brix::test::D;

namespace {

Vyrobek vyrobek() {
    Vyrobek v;
    v.Cis_Vyr = 7;
    v.DPH = D("21");
    v.MO_Cena = D("100");
    v.PC_Zakl = D("70.55");
    v.CenaZa = D("10");
    v.NC_Netto = D("48.3");
    v.NC_Zahr = D("1.9");
    v.Kod_Meny = QStringLiteral("EUR");
    v.Faktor_Bal = D("4");
    return v;
}

class CenaDleDruhuTest : public ::testing::Test {
protected:
    CenaDleDruhu cena(DruhCeny druh, const char* krok = "0.01", const QString& mena = {},
                      bool zahrMeny = false, const ZasobaProCenu* zasoba = nullptr) {
        return CenaVyrobkuDleDruhu(v, druh, mena, D(krok), zahrMeny, zasoba, zpravy);
    }
    Vyrobek v = vyrobek();
    ZpravyCeny zpravy;
};

TEST_F(CenaDleDruhuTest, RetailPriceDividesByTheRateFirstThenMultipliesAndRoundsDown) {
    // 100 / 121 = 0.8264 at four places, x 100 = 82.64; the exact 82.6446 would give 82.644.
    EXPECT_EQ(cena(DruhCeny::MO, "0.001").cena, D("82.64"));
    EXPECT_EQ(cena(DruhCeny::MO, "0.1").cena, D("82.6"));
    EXPECT_EQ(cena(DruhCeny::MO).faktor, D("10"));
    v.MO_Cena = D("122");
    v.DPH = D("22");
    EXPECT_EQ(cena(DruhCeny::MO, "1").cena, D("100"));
    EXPECT_TRUE(zpravy.empty());
}

TEST_F(CenaDleDruhuTest, RetailPriceAtRateMinusHundredIsZeroAndAZeroStepIsSaid) {
    v.DPH = D("-100");
    EXPECT_EQ(cena(DruhCeny::MO).cena, Decimal());
    EXPECT_TRUE(zpravy.empty());
    v.DPH = D("21");
    EXPECT_EQ(cena(DruhCeny::MO, "0").cena, D("82.64"));
    ASSERT_EQ(zpravy.size(), 1u);
    EXPECT_EQ(textZpravy(zpravy[0]).text, "Nespravne zaokrouhleni-0.00, spravne 0.01;0.1;1");
    EXPECT_EQ(textZpravy(zpravy[0]).titulek, "Varování");
}

TEST_F(CenaDleDruhuTest, WholesaleAndPurchasePricesWithTheirFactors) {
    const CenaDleDruhu vo = cena(DruhCeny::VO, "1");
    EXPECT_EQ(vo.cena, D("70.55")); // not rounded
    EXPECT_EQ(vo.faktor, D("10"));
    const CenaDleDruhu nc = cena(DruhCeny::NC);
    EXPECT_EQ(nc.cena, D("48.3"));
    EXPECT_EQ(nc.ciziCena, Decimal());
    EXPECT_EQ(nc.faktor, D("4"));
}

TEST_F(CenaDleDruhuTest, PurchasePriceInTheProductsOwnCurrencyIsTheForeignPrice) {
    const CenaDleDruhu vlastni = cena(DruhCeny::NC, "0.01", "EUR", true);
    EXPECT_EQ(vlastni.cena, Decimal());
    EXPECT_EQ(vlastni.ciziCena, D("1.9"));
    EXPECT_EQ(vlastni.faktor, D("4"));
    const CenaDleDruhu jina = cena(DruhCeny::NC, "0.01", "USD", true);
    EXPECT_EQ(jina.cena, D("48.3"));
    EXPECT_EQ(jina.ciziCena, Decimal());
    // Foreign prices off, or no currency: the domestic price.
    EXPECT_EQ(cena(DruhCeny::NC, "0.01", "EUR", false).cena, D("48.3"));
    EXPECT_EQ(cena(DruhCeny::NC, "0.01", "   ", true).cena, D("48.3"));
}

TEST_F(CenaDleDruhuTest, StockPriceIsValueOverQuantityElseTheUnitPurchasePrice) {
    // 1234.5 / 10 = 123.45: exactly half a step rounds down.
    ZasobaProCenu z{D("10"), D("1234.5"), D("40")};
    CenaDleDruhu ip = cena(DruhCeny::IP, "0.1", {}, false, &z);
    EXPECT_EQ(ip.cena, D("123.4"));
    EXPECT_EQ(ip.faktor, D("1"));
    z.zasobaKc = D("1234.502");
    EXPECT_EQ(cena(DruhCeny::IP, "0.1", {}, false, &z).cena, D("123.5"));
    z.zasobaKs = Decimal();
    EXPECT_EQ(cena(DruhCeny::IP, "0.1", {}, false, &z).cena, D("40"));
    z.zasobaKs = D("-2");
    EXPECT_EQ(cena(DruhCeny::IP, "0.1", {}, false, &z).cena, D("40"));
    EXPECT_EQ(cena(DruhCeny::IP, "0.1").cena, Decimal());
}

TEST_F(CenaDleDruhuTest, AnotherTypeIsRefusedWithZeroPriceForOneUnit) {
    for (const char* typ : {"XX", "", "mo"}) {
        zpravy.clear();
        const CenaDleDruhu r = cena(druhCeny(QString::fromLatin1(typ)));
        EXPECT_EQ(r.cena, Decimal());
        EXPECT_EQ(r.faktor, D("1"));
        ASSERT_EQ(zpravy.size(), 1u) << typ;
        EXPECT_EQ(textZpravy(zpravy[0]).text, "Nepovolený druh ceny");
        EXPECT_EQ(textZpravy(zpravy[0]).titulek, "Upozornění");
    }
    EXPECT_EQ(druhCeny(u"VO  "), DruhCeny::VO);
}

// ---- the adapter -----------------------------------------------------------------------

class CenaDleDruhuDataCis : public brix::test::DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        add(*dm->TableVyr, {{"Cis_vyr", 1},
                            {"ObjCis", "A-1"},
                            {"Nazev", "Email bílý"},
                            {"DPH", 21.0},
                            {"MO_Cena", 242.0},
                            {"PC_Zakl", 150.0},
                            {"CenaZa", 1.0},
                            {"NC_Netto", 120.0},
                            {"NC_Zahr", 4.8},
                            {"Kod_Meny", "EUR"},
                            {"Faktor_Bal", 4.0},
                            {"Cis_Firmy", 7}});
        add(*dm->TableVyr, {{"Cis_vyr", 2},
                            {"ObjCis", "B-2"},
                            {"Nazev", "Ředidlo"},
                            {"NC_Netto", 50.0},
                            {"Faktor_Bal", 0.0},
                            {"Cis_Firmy", 7}});
        add(*dm->TableSklZas,
            {{"Cis_Vyr", 1}, {"Cis_Sklad", "S1"}, {"SklZas_ks", 8.0}, {"SklZas_Kc", 250.0}});
    }
};

TEST_F(CenaDleDruhuDataCis, PricesTheProductCurrentInTheSharedTable) {
    CenyDataCis ceny(*dm);
    ASSERT_TRUE(dm->NajdiVyrobek("1"));
    EXPECT_EQ(ceny.CenaVyrobkuDleDruhu("MO", {}, D("0.1"), "S1").cena, D("200"));
    EXPECT_EQ(ceny.CenaVyrobkuDleDruhu("VO", {}, D("0.1"), "S1").cena, D("150"));
    // 250 / 8 = 31.25, half a step down.
    EXPECT_EQ(ceny.CenaVyrobkuDleDruhu("IP", {}, D("0.1"), "S1").cena, D("31.2"));
    // No stock row in S2: the unit purchase price 120 / 4.
    EXPECT_EQ(ceny.CenaVyrobkuDleDruhu("IP", {}, D("0.1"), "S2").cena, D("30"));
    nastaveniProgramu().ZahrMeny = true;
    EXPECT_EQ(ceny.CenaVyrobkuDleDruhu("NC", "EUR", D("0.1"), "S1").ciziCena, D("4.8"));
    EXPECT_TRUE(ui.shownMessages().isEmpty());
    EXPECT_EQ(ceny.CenaVyrobkuDleDruhu("XY", {}, D("0.1"), "S1").cena, Decimal());
    EXPECT_EQ(boxes(), QStringList{"Upozornění: Nepovolený druh ceny"});
}

TEST_F(CenaDleDruhuDataCis, StockPriceShowsTheStockLookupsMessages) {
    CenyDataCis ceny(*dm);
    ASSERT_TRUE(dm->NajdiVyrobek("2"));
    EXPECT_EQ(ceny.CenaVyrobkuDleDruhu("IP", {}, D("0.1"), "S1").cena, D("50"));
    EXPECT_EQ(boxes(), QStringList{"Upozornění: Faktor množství výrobku \"2\" je nulový"});
}

} // namespace
