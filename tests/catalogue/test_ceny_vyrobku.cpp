// The price engine of the product form: the five computations, every leaving rule, "Přepočet PC"
// and the price check, the zero divisors, the save checks, and random event sequences after
// which the prices are on their steps and the retail markup agrees with the retail price.
#include "ceny_vyrobku.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace brix {
inline void PrintTo(const Decimal& d, std::ostream* os) {
    *os << d.toString(4).toStdString();
}
} // namespace brix

using namespace brix;
using P = PoleCeny;

namespace {

std::string t(Decimal x) {
    return x.toString(4).toStdString();
}

Decimal d(const char* text) {
    return *Decimal::parse(QString::fromLatin1(text));
}

// An engine with scripted look-ups: group rebates, tariffs, one currency, answers to the
// questions.
class CenyTest : public ::testing::Test {
protected:
    CenyVyrobku engine(Decimal s = d("0.01")) {
        ZdrojeCen z;
        z.nejvyssiRabat = [this](int skupina) { return rabaty.value(skupina); };
        z.tarif = [this](const QString& kod) -> std::optional<TarifCla> {
            if (!tarify.contains(kod)) return std::nullopt;
            return tarify.value(kod);
        };
        z.prevod = [this](const QString& mena, Decimal castka, const QDate& den) {
            prevody << mena + "@" + den.toString(Qt::ISODate);
            return mena == "EUR" ? castka * d("25.000") : Decimal();
        };
        z.otazka = [this](const QString& text) {
            otazky << text;
            return odpovedi.isEmpty() ? false : odpovedi.takeFirst();
        };
        z.dnes = [] { return QDate(2024, 3, 15); };
        return CenyVyrobku(z, s, {Decimal(21), Decimal(12), Decimal(0)});
    }
    // A product of NC 100 for one unit, retail markup 20 at 21 %, wholesale markup 25.
    static void zaklad(CenyVyrobku& c) {
        c.nastav(P::NC_Netto, Decimal(100));
        c.nastav(P::Faktor_Bal, Decimal(1));
        c.nastav(P::CenaZa, Decimal(1));
        c.nastav(P::DPH, Decimal(21));
        c.nastav(P::Kalk_Prir, Decimal(25));
        c.nastav(P::PC_Zakl, Decimal(125));
        c.nastav(P::MO_Marze, Decimal(20));
        c.nastav(P::MO_Cena, d("145.2"));
    }
    // Enter, type, leave: what a user does in one box.
    static ReakceCen zadej(CenyVyrobku& c, P p, std::optional<Decimal> v) {
        c.vstup(p);
        c.psani(p, v);
        return c.odchod(p);
    }

    QHash<int, Decimal> rabaty;
    QHash<QString, TarifCla> tarify;
    QList<bool> odpovedi;
    QStringList otazky, prevody;
};

} // namespace

TEST_F(CenyTest, TheFiveComputationsRoundEachOnItsStep) {
    EXPECT_EQ(ceny::CenaVOzPrirazky(Decimal(100), Decimal(1), Decimal(1), Decimal(25), d("0.01")),
              Decimal(125));
    EXPECT_EQ(ceny::PrirazkaVOzCeny(Decimal(130), Decimal(100), Decimal(1), Decimal(1)),
              Decimal(30));
    // The retail price goes to 0.1 whatever the price step: 100 × 1.2 × 1.19 = 142.80.
    EXPECT_EQ(ceny::UrciMOCenu(Decimal(100), Decimal(1), Decimal(1), Decimal(20), Decimal(19)),
              d("142.8"));
    EXPECT_EQ(ceny::UrciMOCenu(d("33.33"), Decimal(1), Decimal(1), Decimal(20), Decimal(21)),
              d("48.4")); // 48.3952 → 48.4
    EXPECT_EQ(ceny::MarzeMOzCeny(d("142.8"), Decimal(100), Decimal(1), Decimal(1), Decimal(19)),
              Decimal(20));
    EXPECT_EQ(ceny::MinimalniPC(Decimal(80), Decimal(4), Decimal(10), Decimal(10), d("0.1")),
              Decimal(220));
    // A quotient whose fraction is exactly half a step goes down (the added 0.499): 25 / 20 of
    // a price of 1.25 at step 0.1 is 1.2; 1.26 is 1.3.
    EXPECT_EQ(ceny::CenaVOzPrirazky(d("1.25"), Decimal(1), Decimal(1), Decimal(0), d("0.1")),
              d("1.2"));
    EXPECT_EQ(ceny::CenaVOzPrirazky(d("1.26"), Decimal(1), Decimal(1), Decimal(0), d("0.1")),
              d("1.3"));
    // Per pack factor and price quantity: NC 250 for a pack of 10, prices for 5 units.
    EXPECT_EQ(ceny::CenaVOzPrirazky(Decimal(250), Decimal(10), Decimal(5), Decimal(40), d("0.01")),
              Decimal(175));
    // The margin of the retail price, only shown: (145.2 / 1.21 − 100) / 145.2 = 13.77 %.
    EXPECT_EQ(ceny::MarzeZMO(d("145.2"), Decimal(100), Decimal(21)), d("13.77"));
    EXPECT_EQ(ceny::MarzeZMO(Decimal(0), Decimal(100), Decimal(21)), d("-999.99"));
    EXPECT_EQ(ceny::MarzeZMO(d("145.2"), Decimal(0), Decimal(21)), Decimal(999));
}

TEST_F(CenyTest, DutyRateIsTruncatedAndTheForeignPriceBecomesTheDomesticOne) {
    TarifCla t{d("4.5"), true, Decimal(33), Decimal(2)};
    EXPECT_EQ(ceny::SazbaCla(t), d("3.01")); // 3.015 truncated, not rounded
    EXPECT_EQ(ceny::SazbaCla({d("4.5"), false, Decimal(33), {}}), d("4.5"));

    // A tariff code with leading zeros is found as the text it is.
    tarify.insert("03208100", t);
    CenyVyrobku c = engine();
    zaklad(c);
    c.setKodMeny("EUR");
    c.setCelniSazba("03208100");
    odpovedi = {true};
    EXPECT_FALSE(c.vstup(P::NC_Zahr).fokus);
    c.psani(P::NC_Zahr, Decimal(4));
    const ReakceCen r = c.odchod(P::NC_Zahr);
    // 4 EUR × 25 = 100; × (100 + 3.01) / 100 + 2 = 105.01.
    EXPECT_EQ(c.cislo(P::NC_Netto), d("105.01"));
    EXPECT_EQ(prevody, QStringList({"EUR@2024-03-15"}));
    // The purchase price changed: its own rule follows, question and all.
    ASSERT_EQ(otazky.size(), 1);
    EXPECT_EQ(r.fokus, P::PC_Min);
    EXPECT_EQ(c.cislo(P::PC_Zakl), d("131.26"));

    // An empty foreign price converts nothing: only the excise remains.
    c.nastav(P::NC_Zahr, std::nullopt);
    odpovedi = {true};
    c.odchod(P::NC_Zahr);
    EXPECT_EQ(c.cislo(P::NC_Netto), Decimal(2));
    // Without a currency, entering the foreign price moves on to the purchase price.
    c.setKodMeny("");
    EXPECT_EQ(c.vstup(P::NC_Zahr).fokus, P::NC_Netto);
    // Leaving the tariff box takes its excise; an unknown code says so.
    c.nastav(P::Spotr_Dan, std::nullopt);
    EXPECT_TRUE(c.odchodCelniSazby());
    EXPECT_EQ(c.hodnota(P::Spotr_Dan), Decimal(2));
    c.setCelniSazba("3208100");
    EXPECT_FALSE(c.odchodCelniSazby());
}

// The edge cases of the markup, wholesale and minimum price boxes.
TEST_F(CenyTest, LeavingTheWholesaleAndMinimumPriceBoxes) {
    CenyVyrobku c = engine();
    zaklad(c);
    c.nastav(P::PC_Zakl, Decimal(0));
    c.vstup(P::Kalk_Prir);
    c.odchod(P::Kalk_Prir);
    EXPECT_EQ(c.cislo(P::PC_Zakl), Decimal(125));
    zadej(c, P::PC_Zakl, Decimal(130));
    EXPECT_EQ(c.cislo(P::Kalk_Prir), Decimal(30));
    // An unchanged markup keeps a price up to 0.1 away from its own; further away it replaces it.
    c.nastav(P::Kalk_Prir, Decimal(25));
    c.nastav(P::PC_Zakl, d("125.05"));
    c.vstup(P::Kalk_Prir);
    c.odchod(P::Kalk_Prir);
    EXPECT_EQ(c.cislo(P::PC_Zakl), d("125.05"));
    c.nastav(P::PC_Zakl, d("125.2"));
    c.vstup(P::Kalk_Prir);
    c.odchod(P::Kalk_Prir);
    EXPECT_EQ(c.cislo(P::PC_Zakl), Decimal(125));
    c.nastav(P::PC_Zakl, d("125.05")); // a changed markup always sets the price
    zadej(c, P::Kalk_Prir, Decimal(25));
    EXPECT_EQ(c.cislo(P::PC_Zakl), d("125.05"));
    zadej(c, P::Kalk_Prir, d("25.01"));
    EXPECT_EQ(c.cislo(P::PC_Zakl), d("125.01"));

    // The minimum price from the minimum markup, and back; a 0 price is filled in and the
    // markup then keeps its value up to the rounding of the price.
    zadej(c, P::Min_Marze, d("12.5"));
    EXPECT_EQ(c.cislo(P::PC_Min), d("112.5"));
    zadej(c, P::PC_Min, d("118.004"));
    EXPECT_EQ(c.cislo(P::PC_Min), Decimal(118));
    EXPECT_EQ(c.cislo(P::Min_Marze), Decimal(18));
    zadej(c, P::PC_Min, Decimal(0));
    EXPECT_EQ(c.cislo(P::PC_Min), Decimal(118));
    EXPECT_EQ(c.cislo(P::Min_Marze), Decimal(18));
    c.nastav(P::NC_Netto, Decimal(0)); // no purchase price, no markup
    zadej(c, P::PC_Min, Decimal(50));
    EXPECT_EQ(c.cislo(P::Min_Marze), Decimal(0));
}

TEST_F(CenyTest, PurchasePriceAsksWhetherPricesOrMarkupsFollow) {
    CenyVyrobku c = engine();
    zaklad(c);
    c.nastav(P::Min_Marze, Decimal(10));
    odpovedi = {true};
    ReakceCen r = zadej(c, P::NC_Netto, Decimal(200));
    ASSERT_EQ(otazky, QStringList({QString::fromUtf16(kOtazkaPrepocetNC)}));
    EXPECT_EQ(r.fokus, P::PC_Min);
    EXPECT_TRUE(r.vybrat);
    EXPECT_EQ(c.cislo(P::PC_Min), Decimal(220));
    EXPECT_EQ(c.cislo(P::PC_Zakl), Decimal(250)); // the markups kept
    EXPECT_EQ(c.cislo(P::MO_Cena), d("290.4"));   // 200 × 1.2 × 1.21
    odpovedi = {false};
    zadej(c, P::NC_Netto, Decimal(242));
    EXPECT_EQ(c.cislo(P::PC_Zakl), Decimal(250)); // the prices kept
    EXPECT_EQ(c.cislo(P::Kalk_Prir), d("3.31"));
    EXPECT_EQ(c.cislo(P::MO_Cena), d("290.4"));
    EXPECT_EQ(c.cislo(P::MO_Marze), d("-0.83"));
}

// The retail boxes: a typed markup sets the price, the price sets the markup (999 for a price
// of 0). Leaving the VAT rate keeps the retail price and puts its markup (never the margin) into
// MO_Marze, so that the next "Ano" to the purchase price question keeps the retail price.
TEST_F(CenyTest, RetailMarkupAlwaysHoldsTheMarkupAlsoAfterAChangedRate) {
    CenyVyrobku c = engine();
    zaklad(c);
    c.vstup(P::MO_Marze);
    c.odchod(P::MO_Marze); // not typed: nothing
    EXPECT_EQ(c.cislo(P::MO_Cena), d("145.2"));
    zadej(c, P::MO_Marze, Decimal(20)); // typed the same value: nothing
    EXPECT_EQ(c.cislo(P::MO_Cena), d("145.2"));
    zadej(c, P::MO_Marze, Decimal(30));
    EXPECT_EQ(c.cislo(P::MO_Cena), d("157.3"));
    zadej(c, P::MO_Cena, d("145.2"));
    EXPECT_EQ(c.cislo(P::MO_Marze), Decimal(20));
    zadej(c, P::MO_Cena, Decimal(0));
    EXPECT_EQ(c.cislo(P::MO_Marze), Decimal(999));
    zadej(c, P::MO_Cena, d("145.2"));

    ReakceCen r = zadej(c, P::DPH, Decimal(12));
    EXPECT_TRUE(r.zprava.isEmpty());
    EXPECT_EQ(c.cislo(P::MO_Cena), d("145.2"));
    EXPECT_EQ(c.cislo(P::MO_Marze), d("29.64")); // 145.2 / 1.12 / 100 − 1
    EXPECT_EQ(c.marzeZMO(), d("20.42"));         // (129.6429 − 100) / 145.2
    odpovedi = {true};
    zadej(c, P::NC_Netto, Decimal(100));
    EXPECT_EQ(c.cislo(P::MO_Cena), d("145.2")); // not lowered
    // An unchanged rate changes nothing.
    c.nastav(P::MO_Marze, Decimal(50));
    zadej(c, P::DPH, Decimal(12));
    EXPECT_EQ(c.cislo(P::MO_Marze), Decimal(50));
    // A rate outside the list is said and stays as typed; the markup follows it.
    r = zadej(c, P::DPH, Decimal(19));
    EXPECT_EQ(r.zprava, QString::fromUtf16(kPolozkaZeSeznamu));
    EXPECT_TRUE(r.pip);
    EXPECT_EQ(c.cislo(P::DPH), Decimal(19));
    EXPECT_EQ(c.cislo(P::MO_Marze), d("22.02"));
    // A changed rate with no retail price, or no purchase price: 999.
    c.nastav(P::MO_Cena, Decimal(0));
    zadej(c, P::DPH, Decimal(21));
    EXPECT_EQ(c.cislo(P::MO_Marze), Decimal(999));
    EXPECT_EQ(c.marzeZMO(), d("-999.99"));
    c.nastav(P::MO_Cena, d("145.2"));
    c.nastav(P::NC_Netto, Decimal(0));
    zadej(c, P::DPH, Decimal(12));
    EXPECT_EQ(c.cislo(P::MO_Marze), Decimal(999));
}

// A pack factor or price quantity of 0 divides nothing: a price keeps its value, a percentage
// becomes 0 (999 for the retail markup without a purchase price). Saving with either not above
// 0 is refused.
TEST_F(CenyTest, ZeroPackFactorOrPriceQuantityKeepsPricesAndZeroesPercentages) {
    for (P nula : {P::Faktor_Bal, P::CenaZa}) {
        SCOPED_TRACE(nazevPoleCeny(nula).toStdString());
        CenyVyrobku c = engine();
        zaklad(c);
        c.nastav(P::PC_Min, Decimal(111));
        c.nastav(nula, std::nullopt); // an empty box counts 0
        // A price with the price quantity 0 is 0 (nothing is divided by it); without a pack
        // factor it cannot be computed and stays.
        zadej(c, P::Kalk_Prir, Decimal(40));
        EXPECT_EQ(c.cislo(P::PC_Zakl), nula == P::Faktor_Bal ? Decimal(125) : Decimal(0));
        zadej(c, P::PC_Zakl, Decimal(140));
        EXPECT_EQ(c.cislo(P::Kalk_Prir), Decimal(0));
        zadej(c, P::MO_Cena, d("160.5"));
        EXPECT_EQ(c.cislo(P::MO_Marze), Decimal(0));
        zadej(c, P::MO_Marze, Decimal(35));
        EXPECT_EQ(c.cislo(P::MO_Cena), nula == P::Faktor_Bal ? d("160.5") : Decimal(0));
        zadej(c, P::Min_Marze, Decimal(5));
        EXPECT_EQ(c.cislo(P::PC_Min), nula == P::Faktor_Bal ? Decimal(111) : Decimal(0));
        zadej(c, P::PC_Min, Decimal(0));
        EXPECT_EQ(c.cislo(P::Min_Marze), Decimal(0));
        odpovedi = {true, false};
        zadej(c, P::NC_Netto, Decimal(90));
        zadej(c, P::NC_Netto, Decimal(0));
        EXPECT_EQ(c.cislo(P::MO_Marze), Decimal(999));
        odpovedi = {true};
        c.nastav(P::NC_Netto, Decimal(90));
        c.nastav(P::PC_Min, Decimal(100));
        c.PrepocetPC();
        EXPECT_EQ(c.cislo(P::Kalk_Prir), Decimal(0));
        EXPECT_EQ(c.cislo(P::MO_Marze), Decimal(0));
        ReakceCen r = c.kontrolaUlozeni(std::nullopt);
        EXPECT_TRUE(r.odmitnuto);
        EXPECT_EQ(r.zprava, QString::fromUtf16(kFaktorACenaZa));
        EXPECT_EQ(r.fokus, nula);
        c.nastav(nula, Decimal(-1));
        EXPECT_TRUE(c.kontrolaUlozeni(std::nullopt).odmitnuto);
    }
}

// G is the group's highest rebate, Q the highest quantity rebate typed; R = G + Q.
TEST_F(CenyTest, RecomputingThePriceAgainstTheHighestRebates) {
    rabaty.insert(4, Decimal(10));
    CenyVyrobku c = engine();
    zaklad(c);
    c.setRabatovaSkupina(4);
    c.nastav(P::PC_Min, Decimal(170));
    c.nastav(P::PC_Rab1, Decimal(3));
    c.nastav(P::PC_Rab2, Decimal(5));
    c.nastav(P::PC_Rab3, Decimal(0));
    odpovedi = {false};
    c.PrepocetPC(); // No: nothing
    EXPECT_EQ(c.cislo(P::PC_Zakl), Decimal(125));
    odpovedi = {true};
    EXPECT_FALSE(c.PrepocetPC().odmitnuto);
    EXPECT_EQ(otazky.last(), QString::fromUtf16(kOtazkaPrepocetPC));
    EXPECT_EQ(c.cislo(P::PC_Zakl), Decimal(200)); // 170 × 100 / 85
    EXPECT_EQ(c.cislo(P::Kalk_Prir), Decimal(100));
    EXPECT_EQ(c.cislo(P::MO_Cena), Decimal(242)); // 200 × 1.21, at the price step
    EXPECT_EQ(c.cislo(P::MO_Marze), Decimal(100));

    const KontrolaCen k = c.ClickKontrolaCen();
    EXPECT_EQ(k.voCena, Decimal(200));
    EXPECT_EQ(k.moCena, Decimal(200));
    EXPECT_EQ(k.maxRabat, Decimal(10));
    EXPECT_EQ(k.maxMnRabat, Decimal(5));
    EXPECT_EQ(k.nejnizsiVO, Decimal(170));
    EXPECT_FALSE(k.voPodMinimem);
    c.nastav(P::PC_Zakl, Decimal(199));
    c.nastav(P::MO_Cena, d("245.9")); // 203.2231 → 203.2
    const KontrolaCen k2 = c.ClickKontrolaCen();
    EXPECT_EQ(k2.moCena, d("203.2"));
    EXPECT_EQ(k2.nejnizsiVO, d("169.15"));
    EXPECT_TRUE(k2.voPodMinimem);
    EXPECT_EQ(k2.nejnizsiMO, d("172.72"));
    EXPECT_FALSE(k2.moPodMinimem);

    // R of 100 or more changes nothing and says why.
    rabaty.insert(4, Decimal(95));
    odpovedi = {true};
    const ReakceCen r = c.PrepocetPC();
    EXPECT_TRUE(r.odmitnuto);
    EXPECT_EQ(r.zprava, QString::fromUtf16(kSlevyNad100));
    EXPECT_EQ(c.cislo(P::PC_Zakl), Decimal(199));
    // No rebate group: G is 0.
    c.setRabatovaSkupina(std::nullopt);
    EXPECT_EQ(c.NajdiNejnRabat(), Decimal(0));
}

TEST_F(CenyTest, SavingRunsTheFocusedBoxsRuleAndRefusesExciseWithoutVolume) {
    CenyVyrobku c = engine();
    zaklad(c);
    c.vstup(P::PC_Zakl);
    c.psani(P::PC_Zakl, Decimal(150));
    ReakceCen r = c.kontrolaUlozeni(P::PC_Zakl);
    EXPECT_FALSE(r.odmitnuto);
    EXPECT_EQ(c.cislo(P::Kalk_Prir), Decimal(50));
    c.psani(P::DPH, Decimal(12)); // the VAT box has no rule of saving
    c.kontrolaUlozeni(P::DPH);
    EXPECT_EQ(c.cislo(P::MO_Marze), Decimal(20));
    c.nastav(P::Spotr_Dan, Decimal(0)); // filled, even with 0
    r = c.kontrolaUlozeni(std::nullopt);
    EXPECT_TRUE(r.odmitnuto);
    EXPECT_EQ(r.zprava, QString::fromUtf16(kSpotrDanBezObjemu));
    c.nastav(P::Objem, d("0.75"));
    EXPECT_FALSE(c.kontrolaUlozeni(std::nullopt).odmitnuto);
}

// Random boxes typed and left, with pack factors, price quantities and purchase prices of 0 and
// below: nothing throws, the prices stay on their steps, and with F, CZ, NC and MO_Cena not 0
// the retail markup and price agree after every leaving rule.
TEST_F(CenyTest, RandomEventSequencesKeepStepsAndTheRetailRelation) {
    QRandomGenerator rnd(20240315);
    const Decimal kroky[] = {d("0.01"), d("0.1"), Decimal(1)};
    rabaty.insert(1, Decimal(12));
    rabaty.insert(2, Decimal(40));
    tarify.insert("32081090", {d("6.5"), true, Decimal(50), d("1.5")});
    int kontrol = 0;
    for (int beh = 0; beh < 300; ++beh) {
        const Decimal s = kroky[rnd.bounded(3)];
        CenyVyrobku c = engine(s);
        zaklad(c);
        c.setRabatovaSkupina(int(rnd.bounded(3)));
        c.setKodMeny(rnd.bounded(2) ? "EUR" : "");
        c.setCelniSazba(rnd.bounded(2) ? "32081090" : "");
        // After "Přepočet PC" the retail price is on S, else on 0.1.
        const Decimal krokMO = std::max(s, d("0.1"));
        auto cena = [&](int horni) { // a typed price on the step S
            const qint64 n = qint64(rnd.bounded(quint64(horni) * Decimal::kScale / s.raw()));
            return Decimal::fromRaw(n * s.raw());
        };
        for (int krok = 0; krok < 40; ++krok) {
            odpovedi = {rnd.bounded(2) == 1};
            const int udalost = int(rnd.bounded(12));
            const Decimal znamenko = rnd.bounded(8) == 0 ? Decimal(-1) : Decimal(1);
            switch (udalost) {
            case 0:
                zadej(c, P::NC_Netto,
                      rnd.bounded(6) == 0 ? Decimal(0)
                                          : Decimal::fromRaw(rnd.bounded(1, 20000000)) * znamenko);
                break;
            case 1:
                zadej(c, P::Faktor_Bal, Decimal(int(rnd.bounded(0, 25))) * znamenko);
                break;
            case 2: {
                const Decimal cz[] = {Decimal(0), Decimal(1), d("2.5"), Decimal(10), d("0.5")};
                zadej(c, P::CenaZa, cz[rnd.bounded(5)] * znamenko);
                break;
            }
            case 3: {
                const Decimal sazby[] = {Decimal(21), Decimal(12), Decimal(0), Decimal(5)};
                zadej(c, P::DPH, sazby[rnd.bounded(4)]);
                break;
            }
            case 4:
                zadej(c, P::Kalk_Prir, Decimal(int(rnd.bounded(-50, 300))));
                break;
            case 5:
                zadej(c, P::PC_Zakl, cena(5000));
                break;
            case 6:
                zadej(c, P::MO_Marze, Decimal(int(rnd.bounded(-50, 300))));
                break;
            case 7:
                zadej(c, P::MO_Cena, Decimal::fromRaw(qint64(rnd.bounded(0, 60000)) * 1000));
                break;
            case 8:
                zadej(c, P::Min_Marze, Decimal(int(rnd.bounded(0, 60))));
                break;
            case 9:
                zadej(c, P::PC_Min, cena(3000));
                break;
            case 10:
                zadej(c, P::NC_Zahr, Decimal(int(rnd.bounded(0, 400))));
                break;
            case 11:
                c.nastav(P::PC_Rab1, Decimal(int(rnd.bounded(0, 30))));
                c.nastav(P::PC_Rab2, Decimal(int(rnd.bounded(0, 70))));
                c.PrepocetPC();
                break;
            }
            const auto naKroku = [](Decimal x, Decimal st) { return x.raw() % st.raw() == 0; };
            ASSERT_TRUE(naKroku(c.cislo(P::PC_Zakl), s)) << t(c.cislo(P::PC_Zakl));
            ASSERT_TRUE(naKroku(c.cislo(P::PC_Min), s)) << t(c.cislo(P::PC_Min));
            ASSERT_TRUE(naKroku(c.cislo(P::MO_Cena), std::min(s, d("0.1"))))
                << t(c.cislo(P::MO_Cena));
            if (const auto soulad = c.kontrolaSouladuMO(krokMO)) {
                ++kontrol;
                ASSERT_LE(soulad->rozdil, soulad->mez)
                    << "run " << beh << " step " << krok << ": NC " << t(c.cislo(P::NC_Netto))
                    << " F " << t(c.cislo(P::Faktor_Bal)) << " CZ " << t(c.cislo(P::CenaZa))
                    << " D " << t(c.cislo(P::DPH)) << " MO " << t(c.cislo(P::MO_Cena)) << " markup "
                    << t(c.cislo(P::MO_Marze));
            }
        }
    }
    EXPECT_GT(kontrol, 3000); // the relation was checked often, not skipped
}
