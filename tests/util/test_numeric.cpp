#include "test_support.h"
#include "util/numeric.h"

#include <gtest/gtest.h>

#include <limits>

using namespace brix;

namespace {

Decimal d(const char* text) {
    auto v = Decimal::parse(QString::fromLatin1(text));
    EXPECT_TRUE(v.has_value()) << text;
    return v.value_or(Decimal());
}

Decimal krok(const char* x, const char* s) {
    Decimal v = d(x);
    ZaokrouhliKrok(v, d(s));
    return v;
}

Decimal dolu(const char* x, const char* s) {
    Decimal v = d(x);
    ZaokrouhliDolu(v, d(s));
    return v;
}

Decimal nahoru(const char* x, const char* s) {
    Decimal v = d(x);
    ZaokrouhliNahoru(v, d(s));
    return v;
}

} // namespace

TEST(ZaokrouhliKrok, HalfWayGoesTowardZeroAndJustAboveGoesAway) {
    EXPECT_EQ(krok("1.25", "0.1"), d("1.2"));
    EXPECT_EQ(krok("1.26", "0.1"), d("1.3"));
    EXPECT_EQ(krok("-1.25", "0.1"), d("-1.2"));
    EXPECT_EQ(krok("-1.26", "0.1"), d("-1.3"));
    EXPECT_EQ(krok("2.5", "1"), d("2"));
    EXPECT_EQ(krok("2.51", "1"), d("3"));
    EXPECT_EQ(krok("0.05", "0.1"), d("0"));
    EXPECT_EQ(krok("0.0502", "0.1"), d("0.1"));
    EXPECT_EQ(krok("-0.0502", "0.1"), d("-0.1"));
}

TEST(ZaokrouhliKrok, CutOffLiesAboveAFractionOf0501) {
    // Quotient fractions 0.5, 0.501 stay down; 0.5011 and 0.502 go up (step 1: x is the quotient).
    EXPECT_EQ(krok("7.5", "1"), d("7"));
    EXPECT_EQ(krok("7.5009", "1"), d("7"));
    EXPECT_EQ(krok("7.501", "1"), d("7"));
    EXPECT_EQ(krok("7.5011", "1"), d("8"));
    EXPECT_EQ(krok("-7.501", "1"), d("-7"));
    EXPECT_EQ(krok("-7.5011", "1"), d("-8"));
    // Step 0.1: quotient 0.501 (x = 0.0501) stays, 0.502 goes.
    EXPECT_EQ(krok("0.0501", "0.1"), d("0"));
    EXPECT_EQ(krok("0.0499", "0.1"), d("0"));
    // Step 0.05: 0.125 is 2.5 steps, 0.1251 is 2.502 steps.
    EXPECT_EQ(krok("0.125", "0.05"), d("0.1"));
    EXPECT_EQ(krok("0.1251", "0.05"), d("0.15"));
}

TEST(ZaokrouhliKrok, ExactMultiplesStayAndSmallValuesGoToZero) {
    // Multiples that binary floating point cannot hold exactly.
    EXPECT_EQ(krok("0.3", "0.1"), d("0.3"));
    EXPECT_EQ(krok("-0.7", "0.1"), d("-0.7"));
    EXPECT_EQ(krok("123.45", "0.01"), d("123.45"));
    EXPECT_EQ(krok("0", "0.1"), d("0"));
    EXPECT_EQ(krok("0.0001", "1"), d("0"));
    EXPECT_EQ(krok("-0.0001", "0.01"), d("0"));
}

TEST(ZaokrouhliKrok, StepZeroMeansOneTenthWithoutMessage) {
    MessageRecorder recorder;
    for (const char* x : {"1.25", "1.26", "-1.26", "0.0502", "99.99", "0"})
        EXPECT_EQ(krok(x, "0"), krok(x, "0.1")) << x;
    EXPECT_TRUE(recorder.messages.empty());
}

TEST(ZaokrouhliKrok, NegativeStepRoundsAsItsMagnitude) {
    for (const char* x : {"1.25", "1.26", "-1.26", "3.14159"})
        EXPECT_EQ(krok(x, "-0.1"), krok(x, "0.1")) << x;
}

TEST(ZaokrouhliKrok, HugeValuesDoNotOverflow) {
    Decimal v = Decimal::fromRaw(std::numeric_limits<std::int64_t>::max());
    ZaokrouhliKrok(v, Decimal(1));
    EXPECT_GT(v, Decimal(0));
    EXPECT_LE(v.raw(), std::numeric_limits<std::int64_t>::max());
    Decimal w = Decimal::fromRaw(std::numeric_limits<std::int64_t>::min() + 1);
    ZaokrouhliKrok(w, Decimal(1000));
    EXPECT_LT(w, Decimal(0));
}

TEST(ZaokrouhliDolu, CutsTowardZero) {
    EXPECT_EQ(dolu("-2.99", "1"), d("-2"));
    EXPECT_EQ(dolu("2.99", "1"), d("2"));
    EXPECT_EQ(dolu("1.239", "0.01"), d("1.23"));
    EXPECT_EQ(dolu("0.3", "0.1"), d("0.3"));
    EXPECT_EQ(dolu("2", "1"), d("2"));
    EXPECT_EQ(dolu("0.9999", "1"), d("0"));
    EXPECT_EQ(dolu("-0.9999", "1"), d("0"));
}

TEST(ZaokrouhliNahoru, GoesAwayFromZeroAboveAFractionOf0001) {
    EXPECT_EQ(nahoru("-2.01", "1"), d("-3"));
    EXPECT_EQ(nahoru("2.0005", "1"), d("2"));
    EXPECT_EQ(nahoru("2.002", "1"), d("3"));
    EXPECT_EQ(nahoru("2.001", "1"), d("2"));
    EXPECT_EQ(nahoru("2.0011", "1"), d("3"));
    EXPECT_EQ(nahoru("-2.001", "1"), d("-2"));
    EXPECT_EQ(nahoru("-2.0011", "1"), d("-3"));
    EXPECT_EQ(nahoru("3", "1"), d("3"));
    EXPECT_EQ(nahoru("0.3", "0.1"), d("0.3"));
    EXPECT_EQ(nahoru("1.2101", "0.1"), d("1.3"));
    EXPECT_EQ(nahoru("1.2001", "0.1"), d("1.2"));
    EXPECT_EQ(nahoru("0", "0.1"), d("0"));
}

TEST(ZaokrouhliDoluNahoru, StepZeroWarnsAndKeepsTheValue) {
    MessageRecorder recorder;
    EXPECT_EQ(nahoru("5", "0"), d("5"));
    EXPECT_EQ(dolu("-2.99", "0"), d("-2.99"));
    ASSERT_EQ(recorder.messages.size(), 2u);
    for (const RecordedMessage& m : recorder.messages) {
        EXPECT_EQ(m.kind, MessageKind::Warning);
        EXPECT_EQ(m.caption, QStringLiteral("Varování"));
        EXPECT_EQ(m.text, QStringLiteral("Nespravne zaokrouhleni-0.00, spravne 0.01;0.1;1"));
    }
}

TEST(CenaPoSleve, RebateThenStep) {
    EXPECT_EQ(CenaPoSleve(d("0.1"), d("12.5"), d("99.9")), d("87.4"));
    EXPECT_EQ(CenaPoSleve(d("0.01"), d("0"), d("123.45")), d("123.45"));
    EXPECT_EQ(CenaPoSleve(d("0.01"), d("100"), d("123.45")), d("0"));
    EXPECT_EQ(CenaPoSleve(d("0"), d("12.5"), d("99.9")), d("87.4"));
    EXPECT_EQ(CenaPoSleve(d("0.1"), d("12.5"), d("-99.9")), d("-87.4"));
    // 10 * 0.75 = 7.5 exactly half: toward zero.
    EXPECT_EQ(CenaPoSleve(d("1"), d("25"), d("10")), d("7"));
    // A surcharge (negative rebate).
    EXPECT_EQ(CenaPoSleve(d("0.01"), d("-10"), d("10")), d("11"));
}

TEST(TextNaCastku, CzechCommaPointAndNothingElse) {
    EXPECT_EQ(TextNaCastku(u"  "), Decimal());
    EXPECT_EQ(TextNaCastku(u""), Decimal());
    EXPECT_EQ(TextNaCastku(u"12,5"), d("12.5"));
    EXPECT_EQ(TextNaCastku(u"12.5"), d("12.5"));
    EXPECT_EQ(TextNaCastku(u"-3,25   "), d("-3.25"));
    EXPECT_EQ(TextNaCastku(u"abc"), Decimal());
    EXPECT_EQ(TextNaCastku(u"12,5x"), Decimal());
    EXPECT_EQ(TextNaCastku(u"1,2,3"), Decimal());
}

TEST(TextNaCislo, WholeNumbersOnly) {
    EXPECT_EQ(TextNaCislo(u"  "), 0);
    EXPECT_EQ(TextNaCislo(u"12"), 12);
    EXPECT_EQ(TextNaCislo(u"12   "), 12);
    EXPECT_EQ(TextNaCislo(u"-7"), -7);
    EXPECT_EQ(TextNaCislo(u"12,5"), 0);
    EXPECT_EQ(TextNaCislo(u"abc"), 0);
    EXPECT_EQ(TextNaCislo(u"99999999999"), 0);
}
