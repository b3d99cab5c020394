// Currency conversions: both directions on the direct and the euro route, a Koef other than 1,
// rates that cannot be used, the currency's step, and the adapter's rate record on both sides
// of each validity date.
#include "ceny_datacis.h"
#include "ceny_fixture.h"

#include "datacis.h"

using namespace brix;
using brix::test::D;
using brix::test::KurzyVPameti;

namespace {

const QDate kDatum(2024, 7, 10);

class Meny : public ::testing::Test {
protected:
    void SetUp() override {
        kurzy.pridej("USD", QDate(2024, 1, 1), "22.815");
        kurzy.pridej("HUF", QDate(2024, 1, 1), "6.315", "100", "1");
        kurzy.pridej("EUR", QDate(2024, 1, 1), "25.2", "1", "0.01", "1");
        // A currency tied to the euro: no rate of its own.
        kurzy.pridej("SKK", QDate(2024, 1, 1), "0", "1", "0.1", "30.126");
    }
    KurzyVPameti kurzy;
    ZpravyCeny zpravy;
};

TEST_F(Meny, DirectRouteMultipliesByKursOverKoef) {
    EXPECT_EQ(PrevodNaTuzemskou(kurzy, "USD", D("100"), kDatum, zpravy), D("2281.5"));
    // 1000 forints at 6.315 per 100 forints.
    EXPECT_EQ(PrevodNaTuzemskou(kurzy, "HUF", D("1000"), kDatum, zpravy), D("63.15"));
    // Not rounded on the direct route.
    EXPECT_EQ(PrevodNaTuzemskou(kurzy, "USD", D("0.3333"), kDatum, zpravy), D("7.6042"));
    EXPECT_TRUE(zpravy.empty());
}

TEST_F(Meny, DirectRouteToForeignDividesThenRoundsToTheCurrencysStep) {
    // 1000 / 22.815 = 43.8308 at four places, then the step 0.01.
    EXPECT_EQ(PrevodNaCiziMenu(kurzy, "USD", D("1000"), kDatum, zpravy), D("43.83"));
    // 63.16 / 6.315 = 10.0016 x 100 = 1000.16, step 1.
    EXPECT_EQ(PrevodNaCiziMenu(kurzy, "HUF", D("63.16"), kDatum, zpravy), D("1000"));
    EXPECT_EQ(PrevodNaCiziMenu(kurzy, "HUF", D("63.5"), kDatum, zpravy), D("1006"));
    EXPECT_TRUE(zpravy.empty());
}

TEST_F(Meny, EuroRouteBothWays) {
    // 1000 / 30.126 = 33.1939 -> 33.19 euro, x 25.2.
    EXPECT_EQ(PrevodNaTuzemskou(kurzy, "SKK", D("1000"), kDatum, zpravy), D("836.388"));
    // 1000 / 25.2 = 39.6825 -> 39.68 euro, x 30.126 = 1195.3997, step 0.1.
    EXPECT_EQ(PrevodNaCiziMenu(kurzy, "SKK", D("1000"), kDatum, zpravy), D("1195.4"));
    EXPECT_TRUE(zpravy.empty());
}

TEST_F(Meny, NoRecordConvertsToZero) {
    EXPECT_EQ(PrevodNaTuzemskou(kurzy, "GBP", D("100"), kDatum, zpravy), Decimal());
    EXPECT_EQ(PrevodNaCiziMenu(kurzy, "GBP", D("100"), kDatum, zpravy), Decimal());
    // Before the first record of the currency.
    EXPECT_EQ(PrevodNaTuzemskou(kurzy, "USD", D("100"), QDate(2023, 12, 31), zpravy), Decimal());
    // The euro route without a euro record.
    KurzyVPameti bezEura;
    bezEura.pridej("SKK", QDate(2024, 1, 1), "0", "1", "0.1", "30.126");
    EXPECT_EQ(PrevodNaTuzemskou(bezEura, "SKK", D("1000"), kDatum, zpravy), Decimal());
    EXPECT_EQ(PrevodNaCiziMenu(bezEura, "SKK", D("1000"), kDatum, zpravy), Decimal());
    EXPECT_TRUE(zpravy.empty());
}

TEST_F(Meny, ZeroRatesConvertToZeroAndSaySoWithCurrencyAndDate) {
    kurzy.pridej("XKO", QDate(2024, 1, 1), "10", "0");
    kurzy.pridej("XEU", QDate(2024, 1, 1), "0", "1", "0.1", "0");
    EXPECT_EQ(PrevodNaTuzemskou(kurzy, "XKO", D("100"), kDatum, zpravy), Decimal());
    EXPECT_EQ(PrevodNaCiziMenu(kurzy, "XKO", D("100"), kDatum, zpravy), Decimal());
    EXPECT_EQ(PrevodNaTuzemskou(kurzy, "XEU", D("100"), kDatum, zpravy), Decimal());
    EXPECT_EQ(PrevodNaCiziMenu(kurzy, "XEU", D("100"), kDatum, zpravy), Decimal());
    KurzyVPameti nulaEura;
    nulaEura.pridej("EUR", QDate(2024, 1, 1), "0");
    nulaEura.pridej("SKK", QDate(2024, 1, 1), "0", "1", "0.1", "30.126");
    EXPECT_EQ(PrevodNaTuzemskou(nulaEura, "SKK", D("100"), kDatum, zpravy), Decimal());
    EXPECT_EQ(PrevodNaCiziMenu(nulaEura, "SKK", D("100"), kDatum, zpravy), Decimal());
    ASSERT_EQ(zpravy.size(), 6u);
    EXPECT_EQ(textZpravy(zpravy[0]).text,
              "Kurs měny XKO platný k 10.07.2024 nelze použít (Koef je 0), převedená částka je 0");
    EXPECT_EQ(textZpravy(zpravy[0]).titulek, "Upozornění");
    EXPECT_EQ(zpravy[1].druh, DruhZpravyCeny::NulovyKoef);
    EXPECT_EQ(textZpravy(zpravy[2]).text, "Kurs měny XEU platný k 10.07.2024 nelze použít "
                                          "(Kurs_EUR je 0), převedená částka je 0");
    EXPECT_EQ(zpravy[3].druh, DruhZpravyCeny::NulovyKursEUR);
    EXPECT_EQ(textZpravy(zpravy[4]).text, "Kurs měny EUR platný k 10.07.2024 nelze použít "
                                          "(Kurs je 0), převedená částka je 0");
    EXPECT_EQ(zpravy[5].druh, DruhZpravyCeny::NulovyKursEura);
}

TEST_F(Meny, ZaokrouhleniMenyIsTheStepWhenPositive) {
    kurzy.pridej("XNU", QDate(2024, 1, 1), "1", "1", "0");
    kurzy.pridej("XZA", QDate(2024, 1, 1), "1", "1", "-1");
    EXPECT_EQ(ZaokrouhleniMeny(kurzy, "HUF", kDatum), D("1"));
    EXPECT_EQ(ZaokrouhleniMeny(kurzy, "USD", kDatum), D("0.01"));
    EXPECT_EQ(ZaokrouhleniMeny(kurzy, "XNU", kDatum), Decimal());
    EXPECT_EQ(ZaokrouhleniMeny(kurzy, "XZA", kDatum), Decimal());
    EXPECT_EQ(ZaokrouhleniMeny(kurzy, "GBP", kDatum), Decimal());
}

// ---- the adapter over a data root ----------------------------------------------------------

class MenyDataCis : public brix::test::DataModuleTest {
protected:
    void kurs(const char* kod, QDate od, double kurs, double koef = 1, double zaokr = 0.01,
              QVariant kursEur = QVariant()) {
        add(*dm->TableZeme, {{"Platnost_Od", od},
                             {"KOD_Meny", kod},
                             {"Kurs", kurs},
                             {"Koef", koef},
                             {"Zaokr", zaokr},
                             {"Kurs_EUR", kursEur}});
    }
};

TEST_F(MenyDataCis, TheLatestRecordNotAfterTheDateOnBothSidesOfEachValidityDate) {
    kurs("USD", QDate(2024, 3, 1), 23.0);
    kurs("USD", QDate(2024, 6, 1), 22.5);
    kurs("EUR", QDate(2024, 6, 15), 25.0); // another currency between them in date order
    kurs("USD", QDate(2023, 1, 1), 21.0, 1, 0.01);
    CenyDataCis ceny(*dm);
    const struct {
        QDate datum;
        const char* castka; // 100 USD in the domestic currency
    } pripady[] = {
        {QDate(2022, 12, 31), "0"},   {QDate(2023, 1, 1), "2100"},  {QDate(2024, 2, 29), "2100"},
        {QDate(2024, 3, 1), "2300"},  {QDate(2024, 5, 31), "2300"}, {QDate(2024, 6, 1), "2250"},
        {QDate(2024, 7, 10), "2250"},
    };
    for (const auto& p : pripady)
        EXPECT_EQ(ceny.PrevodNaTuzemskou("USD", D("100"), p.datum), D(p.castka))
            << p.datum.toString(Qt::ISODate).toStdString();
    EXPECT_EQ(ceny.kurs("USD", QDate(2024, 7, 10))->Platnost_Od, QDate(2024, 6, 1));
    EXPECT_EQ(ceny.kurs("USD ", QDate(2024, 3, 1))->Kurs, D("23"));
    EXPECT_FALSE(ceny.kurs("EUR", QDate(2024, 6, 14)).has_value());
    EXPECT_FALSE(ceny.kurs("", QDate(2024, 6, 14)).has_value());
    EXPECT_FALSE(ceny.kurs("USD", QDate()).has_value());
    EXPECT_TRUE(ui.shownMessages().isEmpty());
}

TEST_F(MenyDataCis, ConversionsKeepThePositionOfTheSharedRates) {
    kurs("EUR", QDate(2024, 1, 1), 25.2, 1, 0.01, 1.0);
    kurs("SKK", QDate(2024, 1, 1), 0, 1, 0.1, 30.126);
    kurs("USD", QDate(2024, 1, 1), 22.815);
    Table& meny = *dm->TableZeme;
    meny.first();
    meny.next();
    const QString kde = meny.field("KOD_Meny").asString();
    CenyDataCis ceny(*dm);
    EXPECT_EQ(ceny.PrevodNaCiziMenu("SKK", D("1000"), kDatum), D("1195.4"));
    EXPECT_EQ(ceny.PrevodNaTuzemskou("USD", D("100"), kDatum), D("2281.5"));
    EXPECT_EQ(ceny.ZaokrouhleniMeny("SKK", kDatum), D("0.1"));
    EXPECT_EQ(meny.field("KOD_Meny").asString(), kde);
    EXPECT_EQ(meny.indexName(), QString());
}

TEST_F(MenyDataCis, AnUnusableRateIsShownWithItsCaption) {
    kurs("XKO", QDate(2024, 1, 1), 10, 0);
    CenyDataCis ceny(*dm);
    EXPECT_EQ(ceny.PrevodNaCiziMenu("XKO", D("100"), kDatum), Decimal());
    EXPECT_EQ(boxes(), QStringList{"Upozornění: Kurs měny XKO platný k 10.07.2024 nelze použít "
                                   "(Koef je 0), převedená částka je 0"});
}

} // namespace
