// The header totals: the VAT of a bucket, the buckets of the rates, a bucket of two rates in
// every edit order, a rate change, the rounding difference and its bucket, the cash sale of
// retail prices, and the full check with its texts and its repair.
#include "ceny_fixture.h"

#include "hlavicka.h"

#include <algorithm>

using namespace brix;
using brix::test::D;

namespace {

PodilPolozky podil(const char* castka, int sazba, const char* cizi = "0",
                   const char* hmotnost = "0") {
    return {D(castka), D(cizi), D(hmotnost), sazba};
}

TEST(DPHKose, RaisedToTheNextTenthAwayFromZeroAnExactTenthStays) {
    EXPECT_EQ(DPHZakladu(D("100.01"), 22), D("22.1"));
    EXPECT_EQ(DPHZakladu(D("-100.01"), 22), D("-22.1"));
    EXPECT_EQ(DPHZakladu(D("100"), 22), D("22"));
    EXPECT_EQ(DPHZakladu(D("33.33"), 22), D("7.4"));
    EXPECT_EQ(DPHZakladu(D("100"), 5), D("5"));
    EXPECT_EQ(DPHZakladu(D("0.0001"), 21), D("0.1"));
    EXPECT_EQ(DPHZakladu(D("1000"), 0), Decimal());
    EXPECT_EQ(kosSazby(0), 0);
    EXPECT_EQ(kosSazby(1), 1);
    EXPECT_EQ(kosSazby(9), 1);
    EXPECT_EQ(kosSazby(10), 2);
    EXPECT_EQ(kosSazby(21), 2);
}

class Hlavicka : public ::testing::Test {
protected:
    const PopisDokladu& dl = popisDokladu(RodinaDokladu::DodaciList);
    const Decimal desetina = D("0.1");
};

TEST_F(Hlavicka, EachRateGoesToItsBucket) {
    SoucetDokladu s(dl);
    s.pridej(podil("50", 0));
    s.pridej(podil("100", 5));
    s.pridej(podil("10", 9));
    s.pridej(podil("200", 21, "8", "3.5"));
    s.pridej(podil("20", 10, "0.5", "1"));
    const HodnotyHlavicky h = s.hlavicka(D("0.01"));
    EXPECT_EQ(h.Zaklad0, D("50"));
    EXPECT_EQ(h.DPH0, Decimal());
    EXPECT_EQ(h.Zaklad1, D("110"));
    EXPECT_EQ(h.DPH1, D("5.9")); // 5 + 0.9
    EXPECT_EQ(h.Zaklad2, D("220"));
    EXPECT_EQ(h.DPH2, D("44")); // 42 + 2
    EXPECT_EQ(h.Zaklad, D("380"));
    EXPECT_EQ(h.DPH, D("49.9"));
    EXPECT_EQ(h.Cena_Celk, D("429.9"));
    EXPECT_EQ(h.Cena_Cizi, D("8.5"));
    EXPECT_EQ(h.Hmotnost, D("4.5"));
    EXPECT_EQ(h.HPKU_Kc, Decimal());
}

TEST_F(Hlavicka, ABucketOfTwoRatesHasTheSameVatInEveryEditOrder) {
    // 12 % and 21 % share the bucket: (100.01 x 12 + 55.55 x 21) / 100 = 23.6667 -> 23.7. The
    // VAT of the bucket's total at the rate of the item touched last would be 32.7 or 18.7.
    const PodilPolozky a = podil("100.01", 12), b = podil("55.55", 21);
    const PodilPolozky a0 = podil("90", 21);            // a first saved at another amount and rate
    using Krok = std::pair<PodilPolozky, PodilPolozky>; // from, to
    const std::vector<std::vector<Krok>> poradi = {
        {{{}, a}, {{}, b}},
        {{{}, b}, {{}, a}},
        {{{}, a0}, {{}, b}, {a0, a}},
        {{{}, b}, {{}, a0}, {a0, a}},
        {{{}, a0}, {a0, a}, {{}, b}},
        {{{}, b}, {{}, a}, {a, a0}, {a0, a}},
        {{{}, a}, {{}, b}, {b, {}}, {{}, b}},
    };
    SoucetDokladu zPolozek(dl);
    zPolozek.pridej(a);
    zPolozek.pridej(b);
    for (const auto& kroky : poradi) {
        SoucetDokladu s(dl);
        HodnotyHlavicky h;
        for (const auto& [z, na] : kroky)
            h = s.PrepocetHlavicky(z, na, D("0.01"));
        EXPECT_EQ(h.DPH2, D("23.7"));
        EXPECT_EQ(h, zPolozek.hlavicka(D("0.01")));
    }
}

TEST_F(Hlavicka, ARateChangeMovesTheAmountBetweenBucketsAndRecomputesBoth) {
    const Decimal setina = D("0.01");
    SoucetDokladu s(dl);
    s.PrepocetHlavicky({}, podil("100", 5), setina);
    HodnotyHlavicky h = s.PrepocetHlavicky({}, podil("100.01", 22), setina);
    EXPECT_EQ(h.DPH1, D("5"));
    EXPECT_EQ(h.DPH2, D("22.1"));
    h = s.PrepocetHlavicky(podil("100", 5), podil("100", 22), setina);
    EXPECT_EQ(h.Zaklad1, Decimal());
    EXPECT_EQ(h.DPH1, Decimal());
    EXPECT_EQ(h.Zaklad2, D("200.01"));
    EXPECT_EQ(h.DPH2, D("44.1"));
    // Deleting an item: its share moves to nothing.
    h = s.PrepocetHlavicky(podil("100", 22), {}, setina);
    EXPECT_EQ(h.Zaklad2, D("100.01"));
    EXPECT_EQ(h.DPH2, D("22.1"));
    EXPECT_EQ(h.Cena_Celk, D("122.11"));
}

TEST_F(Hlavicka, RoundingDifferenceGoesIntoTheLargestBucketWithItsVatShare) {
    SoucetDokladu s(dl);
    s.pridej(podil("100.4", 21));
    s.pridej(podil("3", 0));
    // 103.4 + 21.1 = 124.5 -> 124 at the step 1: -0.5, of which -0.5 x 21 / 121 = -0.09 is VAT.
    const HodnotyHlavicky h = s.hlavicka(D("1"));
    EXPECT_EQ(h.HPKU_Kc, D("-0.5"));
    EXPECT_EQ(h.Zaklad2, D("99.99"));
    EXPECT_EQ(h.DPH2, D("21.01"));
    EXPECT_EQ(h.Zaklad0, D("3"));
    EXPECT_EQ(h.Zaklad, D("102.99"));
    EXPECT_EQ(h.DPH, D("21.01"));
    EXPECT_EQ(h.Cena_Celk, D("124"));
}

TEST_F(Hlavicka, RoundingDifferenceInTiesAndReturnsGoesToABucketThatHasABase) {
    // Equal bases in buckets 0 and 1, none in 2: 205 rounds to 200 at the step 10, and the
    // difference goes into bucket 1 with -5 x 5 / 105 = -0.24 of VAT.
    SoucetDokladu s(dl);
    s.pridej(podil("100", 0));
    s.pridej(podil("100", 5));
    HodnotyHlavicky h = s.hlavicka(D("10"));
    EXPECT_EQ(h.HPKU_Kc, D("-5"));
    EXPECT_EQ(h.Zaklad2, Decimal());
    EXPECT_EQ(h.DPH2, Decimal());
    EXPECT_EQ(h.Zaklad0, D("100"));
    EXPECT_EQ(h.DPH1, D("4.76"));
    EXPECT_EQ(h.Zaklad1, D("95.24"));
    EXPECT_EQ(h.Cena_Celk, D("200"));
    // A return: bucket 2 is the largest in magnitude, though below the small bucket 0.
    SoucetDokladu vratka(dl);
    vratka.pridej(podil("-100.4", 21));
    vratka.pridej(podil("10", 0));
    h = vratka.hlavicka(D("1"));
    // -100.4 + 10 - 21.1 = -111.5 -> -111: +0.5 into bucket 2.
    EXPECT_EQ(h.HPKU_Kc, D("0.5"));
    EXPECT_EQ(h.Zaklad0, D("10"));
    EXPECT_EQ(h.Zaklad2, D("-99.99"));
    EXPECT_EQ(h.DPH2, D("-21.01"));
    EXPECT_EQ(h.Cena_Celk, D("-111"));
    // An empty document has nothing to round.
    EXPECT_EQ(SoucetDokladu(dl).hlavicka(D("10")), HodnotyHlavicky());
}

TEST_F(Hlavicka, OrdersAndThePurchaseSideHaveNoRoundingDifference) {
    for (RodinaDokladu r : {RodinaDokladu::ObjednavkaPrijata, RodinaDokladu::PrijemZbozi,
                            RodinaDokladu::ObjednavkaVydana}) {
        SoucetDokladu s(popisDokladu(r));
        s.pridej(podil("100.4", 21));
        const HodnotyHlavicky h = s.hlavicka(D("10"));
        EXPECT_EQ(h.HPKU_Kc, Decimal());
        EXPECT_EQ(h.Cena_Celk, D("121.5"));
    }
}

TEST_F(Hlavicka, CashSaleOfRetailPricesTakesVatOutOfTheAmounts) {
    const PopisDokladu& j = popisDokladu(RodinaDokladu::Pokladna);
    ASSERT_TRUE(castkySDPH(j, DruhCeny::MO));
    ASSERT_FALSE(castkySDPH(j, DruhCeny::VO));
    ASSERT_FALSE(castkySDPH(dl, DruhCeny::MO));
    // A 122.00 item at 22 % is sold for 122.00: 100 base and 22 VAT.
    SoucetDokladu jeden(j, true);
    jeden.pridej(podil("122", 22));
    HodnotyHlavicky h = jeden.hlavicka(D("1"));
    EXPECT_EQ(h.Zaklad2, D("100"));
    EXPECT_EQ(h.DPH2, D("22"));
    EXPECT_EQ(h.Cena_Celk, D("122"));
    // Bucket 1: 105 - 105 / 105 x 100 = 5 VAT. Bucket 2 of 21 % and 12 %: 151.8 - 125.45 and
    // 56 - 50, 32.35 VAT; base 207.8 - 32.35. The total 312.8 rounds to 313: 0.2 into bucket 2,
    // 0.2 x 21 / 121 = 0.03 of it VAT.
    SoucetDokladu s(j, true);
    s.pridej(podil("105", 5));
    s.pridej(podil("151.8", 21));
    s.pridej(podil("56", 12));
    h = s.hlavicka(D("1"));
    EXPECT_EQ(h.Zaklad1, D("100"));
    EXPECT_EQ(h.DPH1, D("5"));
    EXPECT_EQ(h.DPH2, D("32.38"));
    EXPECT_EQ(h.Zaklad2, D("175.62"));
    EXPECT_EQ(h.HPKU_Kc, D("0.2"));
    EXPECT_EQ(h.Cena_Celk, D("313"));
    // A bucket's amount is rounded up to 0.1 before its VAT is taken out.
    SoucetDokladu nahoru(j, true);
    nahoru.pridej(podil("10.01", 21));
    h = nahoru.hlavicka(D("0.01"));
    EXPECT_EQ(h.DPH2, D("1.74"));    // 10.01 - 0.0827 x 100
    EXPECT_EQ(h.Zaklad2, D("8.36")); // 10.1 - 1.74
    EXPECT_EQ(h.Cena_Celk, D("10.1"));
}

// ---- the full check ------------------------------------------------------------------------

TEST_F(Hlavicka, CheckOfAHeaderTheSumsGiveIsSilent) {
    SoucetDokladu s(dl);
    s.pridej(podil("100.4", 21));
    const HodnotyHlavicky h = s.hlavicka(D("1"));
    const VysledekKontroly k = KontrolaHlavicky(s, h, D("1"));
    EXPECT_FALSE(k.rozdil);
    EXPECT_EQ(k.text, QString());
    EXPECT_EQ(k.spravne, h);
}

TEST_F(Hlavicka, CheckWordsEachDifferenceAndTheRoundingDifference) {
    SoucetDokladu s(dl);
    s.pridej(podil("100.4", 21));
    HodnotyHlavicky ulozena; // a header never totalled
    VysledekKontroly k = KontrolaHlavicky(s, ulozena, D("1"));
    EXPECT_TRUE(k.rozdil);
    EXPECT_EQ(k.text, "Nesprávný základ v hlavičce,správně :99,99, opravit ?"
                      "Nesprávné DPH v hlavičce, správně:21,01, opravit ?"
                      "Nesprávná cena celkem, správně :121, opravit ? Zaokrouhlovací rozdíl");
    // After the repair the check is silent.
    EXPECT_FALSE(KontrolaHlavicky(s, k.spravne, D("1")).rozdil);
    // Right totals in the wrong buckets.
    ulozena = k.spravne;
    std::swap(ulozena.Zaklad1, ulozena.Zaklad2);
    std::swap(ulozena.DPH1, ulozena.DPH2);
    k = KontrolaHlavicky(s, ulozena, D("1"));
    EXPECT_TRUE(k.rozdil);
    EXPECT_EQ(k.text, "Nesprávné rozdělení základu a DPH podle sazeb v hlavičce, opravit ? "
                      "Zaokrouhlovací rozdíl");
    // A stale rounding difference alone.
    ulozena = k.spravne;
    ulozena.HPKU_Kc = D("0.3");
    EXPECT_TRUE(KontrolaHlavicky(s, ulozena, D("1")).rozdil);
}

TEST_F(Hlavicka, InvoiceAlsoComparesTheForeignTotalAndTheWeight) {
    const PopisDokladu& fv = popisDokladu(RodinaDokladu::FakturaVydana);
    SoucetDokladu s(fv);
    s.pridej(podil("100", 21, "4.2", "12.5"));
    HodnotyHlavicky ulozena = s.hlavicka(D("1"));
    ulozena.Cena_Cizi = D("4");
    ulozena.Hmotnost = D("12");
    VysledekKontroly k = KontrolaHlavicky(s, ulozena, D("1"));
    EXPECT_EQ(k.text, "Nesprávná cena celkem:4,2, opravit ?"
                      "Nesprávná hmotnost v hlavičce,správně :12,5, opravit ?");
    // The delivery note does not compare them.
    SoucetDokladu d(dl);
    d.pridej(podil("100", 21, "4.2", "12.5"));
    EXPECT_FALSE(KontrolaHlavicky(d, ulozena, D("1")).rozdil);
}

TEST_F(Hlavicka, GoodsReceivedPutEachDifferenceOnALineOfItsOwn) {
    const PopisDokladu& dlp = popisDokladu(RodinaDokladu::PrijemZbozi);
    SoucetDokladu s(dlp);
    s.pridej(podil("100", 21));
    const VysledekKontroly k = KontrolaHlavicky(s, HodnotyHlavicky(), D("1"));
    EXPECT_EQ(k.text, "Nesprávný základ v hlavičce,správně :100, opravit ?\n"
                      "Nesprávné DPH v hlavičce, správně:21, opravit ?\n"
                      "Nesprávná cena celkem, správně :121, opravit ?");
    EXPECT_TRUE(dlp.kontrola.vzdyPtat);
    EXPECT_EQ(popisDokladu(RodinaDokladu::ObjednavkaVydana).kontrola.titulekOtazky, "Dotaz");
}

} // namespace
