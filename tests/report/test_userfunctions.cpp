#include "listresolver.h"
#include "userfunctions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace brix::report;

namespace {

// Runs the function list over records of one numeric field (nullopt: a null value) with the
// resets of a report: all at the start, level `groupLevel` before each record that starts a new
// group. Gives the value text shown after every record.
struct ReportRun {
    TListFunkci functions;
    ListResolver resolver;

    ReportRun() { resolver.functions = &functions; }

    void setRecord(std::optional<double> v, const QString& group = QString()) {
        resolver.fields = {
            {QStringLiteral("Skupina"), TCalcType{TCalcType::Text, 0, group, false}},
            {QStringLiteral("Hodnota"),
             TCalcType{TCalcType::Number, v.value_or(0), v ? QString::number(*v) : QString(), !v}},
        };
    }
};

TRadekFunkce numberFunction(int aggregation, const QString& expression = QStringLiteral("#2")) {
    TRadekFunkce f;
    f.name = QStringLiteral("F");
    f.expression = expression;
    f.aggregation = aggregation;
    return f;
}

} // namespace

TEST(UserFunctions, Aggregations) {
    struct Case {
        int aggregation;
        std::vector<double> expected; // value after each of the records 2, 4, 9, 1
    };
    const double sd2 = std::sqrt(2.0);
    const double sd3 = std::sqrt((4 + 16 + 81 - 15.0 * 15 / 3) / 2);
    const double sd4 = std::sqrt((4 + 16 + 81 + 1 - 16.0 * 16 / 4) / 3);
    const Case cases[] = {
        {TRadekFunkce::None, {2, 4, 9, 1}},
        {TRadekFunkce::Count, {1, 2, 3, 4}},
        {TRadekFunkce::Sum, {2, 6, 15, 16}},
        {TRadekFunkce::Average, {2, 3, 5, 4}},
        {TRadekFunkce::Minimum, {2, 2, 2, 1}},
        {TRadekFunkce::Maximum, {2, 4, 9, 9}},
        {TRadekFunkce::StdDeviation, {NAN, sd2, sd3, sd4}},
        {TRadekFunkce::RelStdDeviation, {NAN, sd2 * 2 / 6, sd3 * 3 / 15, sd4 * 4 / 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.aggregation);
        ReportRun run;
        run.functions.items.push_back(numberFunction(c.aggregation));
        run.functions.reset(-1);
        const double values[] = {2, 4, 9, 1};
        for (int i = 0; i < 4; ++i) {
            run.setRecord(values[i]);
            run.functions.evaluateAll(&run.resolver);
            const TCalcType& v = run.functions[0].value;
            if (std::isnan(c.expected[size_t(i)])) {
                EXPECT_TRUE(v.isEmpty());
                EXPECT_EQ(run.functions.valueText(0), QString());
            } else {
                EXPECT_NEAR(v.number, c.expected[size_t(i)], 1e-12);
                EXPECT_EQ(v.type, TCalcType::Number);
            }
        }
    }
}

TEST(UserFunctions, SumResetPerGroup) {
    // Sum of field 2 over group 1 (reset level 2): the footer shows the group's sum, the next
    // group starts again.
    ReportRun run;
    TRadekFunkce f = numberFunction(TRadekFunkce::Sum);
    f.resetLevel = TRadekFunkce::ResetFirstGroup;
    run.functions.items.push_back(f);
    TRadekFunkce all = numberFunction(TRadekFunkce::Sum);
    all.name = QStringLiteral("Celkem");
    run.functions.items.push_back(all);
    run.functions.reset(-1);
    const std::vector<std::pair<QString, double>> records{{"A", 10}, {"A", 5}, {"B", 1},
                                                          {"B", 2},  {"B", 3}, {"C", 7}};
    QStringList footers;
    QString previous = records[0].first;
    for (const auto& [group, value] : records) {
        if (group != previous) {
            footers << run.functions.valueText(0); // group footer before the reset
            run.functions.reset(TRadekFunkce::ResetFirstGroup);
            previous = group;
        }
        run.setRecord(value, group);
        run.functions.evaluateAll(&run.resolver);
    }
    footers << run.functions.valueText(0);
    EXPECT_EQ(footers, (QStringList{"15,00", "6,00", "7,00"}));
    EXPECT_EQ(run.functions.valueText(1), QStringLiteral("28,00"));
    // Page-level resets do not touch group or report functions.
    run.functions.reset(TRadekFunkce::ResetPage);
    run.setRecord(1, "C");
    run.functions.evaluateAll(&run.resolver);
    EXPECT_EQ(run.functions.valueText(0), QStringLiteral("8,00"));
    EXPECT_EQ(run.functions.valueText(1), QStringLiteral("29,00"));
}

TEST(UserFunctions, NullValues) {
    for (const bool skip : {true, false}) {
        SCOPED_TRACE(skip);
        ReportRun run;
        run.functions.items.push_back(numberFunction(TRadekFunkce::Average));
        run.functions.items.push_back(numberFunction(TRadekFunkce::Count));
        run.functions.items.push_back(numberFunction(TRadekFunkce::None));
        run.functions.setSkipNulls(skip);
        run.functions.reset(-1);
        for (std::optional<double> v :
             {std::optional<double>(2), std::optional<double>(), std::optional<double>(4)}) {
            run.setRecord(v);
            run.functions.evaluateAll(&run.resolver);
        }
        EXPECT_EQ(run.functions[0].value.number, skip ? 3 : 2);
        EXPECT_EQ(run.functions[1].value.number, skip ? 2 : 3);
        run.setRecord(std::nullopt);
        run.functions.evaluateAll(&run.resolver);
        // A null value prints empty only when nulls are skipped.
        EXPECT_EQ(run.functions.valueText(2), skip ? QString() : QStringLiteral("0,00"));
    }
}

TEST(UserFunctions, InitialValuesTextAndErrors) {
    ReportRun run;
    TRadekFunkce start = numberFunction(TRadekFunkce::Maximum);
    start.initialValue = QStringLiteral("100");
    TRadekFunkce text;
    text.name = QStringLiteral("Nazev");
    text.type = TRadekFunkce::TextType;
    text.expression = QStringLiteral("UPPER(#1) + '-' + @1");
    text.initialValue = QStringLiteral("x");
    TRadekFunkce broken = numberFunction(TRadekFunkce::None, QStringLiteral("1/0"));
    TRadekFunkce prior = numberFunction(TRadekFunkce::None, QStringLiteral("@Nazev"));
    run.functions.items = {start, text, broken, prior};
    run.functions.reset(-1);
    // Before any evaluation the reset is pending; the first evaluation applies it.
    run.setRecord(5, QStringLiteral("ab"));
    run.functions.evaluateAll(&run.resolver);
    EXPECT_EQ(run.functions[0].value.number, 5); // first value taken, not the initial 100
    EXPECT_EQ(run.functions[1].value.text, QStringLiteral("AB-5"));
    EXPECT_EQ(run.functions[1].value.type, TCalcType::Text);
    EXPECT_EQ(run.functions.valueText(1), QStringLiteral("AB-5"));
    EXPECT_TRUE(run.functions[2].value.isEmpty()); // an error gives an empty value
    EXPECT_EQ(run.functions.valueText(2), QString());
    EXPECT_EQ(run.functions[3].value.text, QStringLiteral("AB-5")); // sees this record's value

    // The initial value is the value until the first record after a reset; a text that is not
    // a number gives an empty value.
    TListFunkci only;
    TRadekFunkce f = numberFunction(TRadekFunkce::Minimum);
    f.initialValue = QStringLiteral("abc");
    only.items.push_back(f);
    only.reset(-1);
    evaluateFunction(only[0], nullptr);
    EXPECT_TRUE(only[0].value.isEmpty());

    EXPECT_EQ(run.functions.indexOf(u"nazev"), 1);
    EXPECT_EQ(run.functions.indexOf(u"neni"), -1);
    EXPECT_EQ(run.functions.valueText(9), QString());
}

TEST(UserFunctions, NumberFormats) {
    TRadekFunkce f;
    f.value = TCalcType{TCalcType::Number, -1234567.125, QString(), false};
    auto shown = [&](int format, int digits, int decimals) {
        f.numberFormat = format;
        f.totalDigits = digits;
        f.decimals = decimals;
        return f.valueText();
    };
    EXPECT_EQ(shown(0, 15, 2), QStringLiteral("-1234567,125"));
    EXPECT_EQ(shown(0, 4, 0), QStringLiteral("-1,235E6"));
    EXPECT_EQ(shown(1, 4, 2), QStringLiteral("-1,235E+06"));
    EXPECT_EQ(shown(2, 15, 2), QStringLiteral("-1234567,13"));
    EXPECT_EQ(shown(2, 15, 0), QStringLiteral("-1234567"));
    EXPECT_EQ(shown(3, 15, 1), QStringLiteral("-1\u00A0234\u00A0567,1"));
    EXPECT_EQ(shown(4, 15, 2), QStringLiteral("-1\u00A0234\u00A0567,13 Kč"));
    EXPECT_EQ(shown(7, 15, 2), QStringLiteral("-1234567,13")); // unknown format: fixed
    f.value.number = 0.5;
    EXPECT_EQ(shown(2, 15, 0), QStringLiteral("1")); // a tie rounds away from zero
    f.value.number = -0.001;
    EXPECT_EQ(shown(2, 15, 2), QStringLiteral("0,00"));
    EXPECT_EQ(TRadekFunkce().listText(), QString());
    f.name = QStringLiteral("Soucet");
    f.description = QStringLiteral("Součet");
    EXPECT_EQ(f.listText(), QStringLiteral("Soucet - Součet"));
}
