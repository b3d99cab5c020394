#include "expression.h"
#include "formatting.h"
#include "listresolver.h"

#include <gtest/gtest.h>

#include <QDate>

#include <cmath>

using namespace brix::report;

namespace {

ListResolver makeResolver() {
    ListResolver r;
    r.fields = {
        {QStringLiteral("Cena"), TCalcType{TCalcType::Number, 20, QStringLiteral("20"), false}},
        {QStringLiteral("Nazev"), TCalcType{TCalcType::Text, 0, QStringLiteral("Šroub M8"), false}},
        {QStringLiteral("Datum"),
         TCalcType{TCalcType::Untyped,
                   dayNumber(QDate(2026, 12, 9), 13 * 3600000 + 5 * 60000 + 7000),
                   QStringLiteral("09.12.2026"), false}},
        {QStringLiteral("Nic"), TCalcType{TCalcType::Number, 0, QString(), true}},
        {QStringLiteral("Kod"), TCalcType{TCalcType::Text, 5, QStringLiteral("5"), false}},
    };
    r.parameters = {QStringLiteral("12,5"), QStringLiteral("Brno")};
    r.variables = {TCalcType{TCalcType::Number, 7, QStringLiteral("7"), false}};
    return r;
}

struct Case {
    const char* expr;
    int type;
    double number;
    const char* text;
};

void expectValues(const std::vector<Case>& cases) {
    const ListResolver r = makeResolver();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expr);
        const EvalResult res = evaluate(QString::fromUtf8(c.expr), &r);
        ASSERT_TRUE(res.ok()) << "error " << res.error << " at " << res.position;
        EXPECT_EQ(res.value.type, c.type);
        if (!std::isnan(c.number)) {
            EXPECT_NEAR(res.value.number, c.number, 1e-9);
        }
        if (c.text) {
            EXPECT_EQ(res.value.text, QString::fromUtf8(c.text));
        }
    }
}

} // namespace

TEST(Expression, LiteralsAndReferences) {
    expectValues({
        {"1.50", 1, 1.5, "1.50"},
        {"2E3", 1, 2000, "2E3"},
        {"1.5e-2", 1, 0.015, "1.5e-2"},
        {"'12,5'", 2, 12.5, "12,5"},
        {"'abc'", 2, 0, "abc"},
        {"[1,2]", 5, 0, "1,2"},
        {"#1", 1, 20, "20"},
        {"#Nazev", 2, 0, "Šroub M8"},
        {"#nazev", 2, 0, "Šroub M8"},
        {"&1", 2, 12.5, "12,5"},
        {"&2", 2, 0, "Brno"},
        {"%1", 1, 7, "7"},
        {"#9", 0, 0, ""}, // outside the field list: empty
        {"#0", 0, 0, ""}, // item 0 does not exist
        {"&3", 0, 0, ""},
        {"  ", 0, 0, ""}, // an empty text is an empty value
        {"", 0, 0, ""},
    });
}

TEST(Expression, Operators) {
    expectValues({
        {"'10' + 5", 1, 15, "105"},   {"'a' + 'b'", 2, 0, "ab"},
        {"7 - 10", 1, -3, "-3"},      {"3 * 2.5", 1, 7.5, "7,5"},
        {"7 / 2", 1, 3.5, "3,5"},     {"2 ^ 10", 1, 1024, "1024"},
        {"0 ^ 2", 1, 0, "0"},         {"0 ^ 0", 1, 1, "1"},
        {"(-2) ^ 3", 1, -8, "-8"},    {"(-2) ^ 2", 1, 4, "4"},
        {"-(3)", 1, -3, "-3"},        {"'abc' = 'ABC'", 1, 0, "0"},
        {"'abc' = 'abc'", 1, 1, "1"}, {"5 = '5'", 1, 1, "1"},
        {"'5.0' = '5'", 1, 0, "0"}, // two texts compare as texts
        {"'5.0' = 5", 1, 1, "1"},     {"1 <> 2", 1, 1, "1"},
        {"'a' <> 'a'", 1, 0, "0"},    {"1 < 2", 1, 1, "1"},
        {"2 > 1", 1, 1, "1"},         {"2 <= 2", 1, 1, "1"},
        {"1 >= 2", 1, 0, "0"},        {"NOT 0", 1, 1, "1"},
        {"NOT 0.5", 1, 0, "0"},       {"NOT (-1)", 1, 1, "1"}, // a negative number is not true
        {"1 AND 0", 1, 0, "0"},       {"1 and 2", 1, 1, "1"},
        {"0 OR 3", 1, 1, "1"},        {"-1 OR 0", 1, 0, "0"},
    });
}

TEST(Expression, Precedence) {
    expectValues({
        {"2^3^2", 1, 64, "64"}, // left to right
        {"1 + 2 * 3", 1, 7, nullptr},
        {"(1 + 2) * 3", 1, 9, nullptr},
        {"2 * 3 ^ 2", 1, 18, nullptr},
        {"-2 ^ 2", 1, 4, nullptr}, // unary minus binds tighter than ^
        {"10 - 4 - 3", 1, 3, nullptr},
        {"12 / 3 / 2", 1, 2, nullptr},
        {"1 + 1 = 2", 1, 1, nullptr},
        {"1 = 1 AND 0", 1, 0, nullptr}, // AND binds tighter than =: 1 = (1 AND 0)
        {"NOT 1 = 0", 1, 1, nullptr},   // (NOT 1) = 0
        {"1 OR 0 AND 0", 1, 1, nullptr},
        {"1 < 2 = 1", 1, 1, nullptr},
        {"3 IN [3] + 1", 1, 0, nullptr}, // 3 IN ([3] + 1), the list text "31"
        {"ABS(-2) * 3", 1, 6, nullptr},
        {"-ABS(2)", 1, -2, nullptr},
        {"MAX(1, 2 + 3) - 1", 1, 4, nullptr},
    });
}

TEST(Expression, InLists) {
    ListResolver r = makeResolver();
    auto in = [&](const char* e) {
        const EvalResult res = evaluate(QString::fromUtf8(e), &r);
        EXPECT_TRUE(res.ok()) << e;
        return res.value.number;
    };
    EXPECT_EQ(in("#Cena IN [10,20,'x']"), 1);
    EXPECT_EQ(in("#Cena IN [10, 20]"), 1); // " 20" reads as the number 20
    EXPECT_EQ(in("#Cena IN [10,21]"), 0);
    EXPECT_EQ(in("'x' IN [10,20,'x']"), 1);
    EXPECT_EQ(in("'Brno' IN [Praha,Brno]"), 1);
    EXPECT_EQ(in("'Brn' IN [Praha,Brno]"), 0);
    EXPECT_EQ(in("12.5 IN [&1]"), 1);
    EXPECT_EQ(in("7 IN [1,%1]"), 1);
    EXPECT_EQ(in("'Šroub M8' IN [#2]"), 1);
    EXPECT_EQ(in("0 IN [00]"), 0); // a number of 0 never matches, only the same text
    EXPECT_EQ(in("0 IN [0]"), 1);
    EXPECT_EQ(in("'' IN []"), 0);
    EXPECT_EQ(in("'' IN [a,]"), 1); // the empty item after the last comma
}

TEST(Expression, NullPropagation) {
    const ListResolver r = makeResolver();
    auto null = [&](const char* e) {
        const EvalResult res = evaluate(QString::fromUtf8(e), &r);
        EXPECT_TRUE(res.ok()) << e;
        return res.value.null;
    };
    EXPECT_TRUE(null("#Nic + 1"));
    EXPECT_TRUE(null("1 = #Nic"));
    EXPECT_TRUE(null("NOT #Nic"));
    EXPECT_TRUE(null("-#Nic"));
    EXPECT_FALSE(null("ISNULL(#Nic)"));
    EXPECT_TRUE(null("ABS(#Nic)"));
    EXPECT_FALSE(null("ABS(1)"));
    EXPECT_TRUE(null("MAX(1, #Nic)"));    // MAX follows both arguments
    EXPECT_TRUE(null("IIF(1, 2, #Nic)")); // IIF all three
    EXPECT_TRUE(null("LEFT('ab', #Nic)"));
    EXPECT_FALSE(null("&1 + %1")); // parameters and variables are never null
    EXPECT_EQ(evaluate(u"ISNULL(#Nic)", &r).value.number, 1);
    EXPECT_EQ(evaluate(u"ISNULL(#Cena)", &r).value.number, 0);
}

TEST(Expression, ErrorCodesAndPositions) {
    const ListResolver r = makeResolver();
    struct E {
        const char* expr;
        int error;
        int position;
    };
    const E cases[] = {
        {"#Neni", ErrUnknownName, 0},
        {"1 + @Neni", ErrUnknownName, 4},
        {"&Brno", ErrUnknownName, 0},
        {"%x", ErrUnknownName, 0},
        {"# 1", ErrUnknownName, 0},
        {"FOO(1)", ErrUnknownName, 0},
        {"1 + XYZ", ErrUnknownName, 4},
        {"1 $ 2", ErrSyntax, 2},
        {"2*-3", ErrSyntax, 2},
        {"2--3", ErrSyntax, 2},
        {"* 2", ErrSyntax, 0},
        {"+2", ErrSyntax, 0},
        {"1 2", ErrSyntax, 2},
        {"1 (2)", ErrSyntax, 2},
        {"NOT -1 + 1", ErrSyntax, 4},
        {"1 +", ErrSyntax, 3},
        {"ABS 1", ErrSyntax, 4},
        {"()", ErrSyntax, 1},
        {"ABS()", ErrSyntax, 4},
        {"1 = ž", ErrSyntax, 4},
        {"1 ) ", ErrUnmatchedClose, 2},
        {"(1 + 2", ErrUnclosedParen, 6},
        {"ABS(1", ErrUnclosedParen, 5},
        {"1/0", ErrArithmetic, 1},
        {"1/(2-2)", ErrArithmetic, 1},
        {"0^-1", ErrSyntax, 2}, // a minus after an operator
        {"0^(-1)", ErrArithmetic, 1},
        {"(-8)^0.5", ErrArithmetic, 4},
        {"LOG(0)", ErrArithmetic, 0},
        {"1 + ASIN(2)", ErrArithmetic, 4},
        {"ACOS(-1.5)", ErrArithmetic, 0},
        {"COTG(0)", ErrArithmetic, 0},
        {"12abc", ErrBadNumber, 2},
        {"1E123", ErrBadNumber, 4},
        {"1E", ErrBadNumber, 1},
        {"MAX(1)", ErrArgumentCount, 5},
        {"IIF(1,2)", ErrArgumentCount, 7},
        {"1, 2", ErrComma, 1},
        {"ABS(1, 2)", ErrComma, 5},
        {"MAX((1, 2), 3)", ErrComma, 6},
        {"'abc", ErrUnterminatedText, 0},
        {"1 + 'abc", ErrUnterminatedText, 4},
        {"1 IN [1,2", ErrUnterminatedList, 5},
    };
    for (const E& c : cases) {
        SCOPED_TRACE(c.expr);
        const EvalResult res = evaluate(QString::fromUtf8(c.expr), &r);
        EXPECT_EQ(res.error, c.error);
        EXPECT_EQ(res.position, c.position);
        EXPECT_TRUE(evaluateText(QString::fromUtf8(c.expr), &r).isEmpty());
    }
}

TEST(Expression, StackLimit) {
    QString deep =
        QString(39, QLatin1Char('(')) + QStringLiteral("1") + QString(39, QLatin1Char(')'));
    EXPECT_TRUE(evaluate(deep, nullptr).ok());
    QString tooDeep =
        QString(41, QLatin1Char('(')) + QStringLiteral("1") + QString(41, QLatin1Char(')'));
    const EvalResult res = evaluate(tooDeep, nullptr);
    EXPECT_EQ(res.error, ErrTooComplex);
    EXPECT_EQ(res.position, 40);
    // Forty operands waiting for their operators.
    QString sum;
    for (int i = 0; i < 45; ++i)
        sum += QStringLiteral("1+(");
    sum += QStringLiteral("1") + QString(45, QLatin1Char(')'));
    EXPECT_EQ(evaluate(sum, nullptr).error, ErrTooComplex);
    // A long flat sum reduces as it goes and is fine.
    QStringList terms(200, QStringLiteral("1"));
    EXPECT_EQ(evaluate(terms.join(QLatin1Char('+')), nullptr).value.number, 200);
}

TEST(Expression, MathFunctions) {
    expectValues({
        {"ABS(-2.5)", 1, 2.5, "2,5"},
        {"INT(-2.7)", 1, -2, "-2"},
        {"INT(2.7)", 1, 2, "2"},
        {"SGN(-3)", 1, -1, "-1"},
        {"SGN(0)", 1, 0, "0"},
        {"SGN(0.1)", 1, 1, "1"},
        {"MAX(3, 7)", 1, 7, "7"},
        {"MIN(3, 7)", 1, 3, "3"},
        {"MAX('9', '10')", 1, 10, "10"},
        {"ROUND(2.5)", 1, 2, "2"},
        {"ROUND(3.5)", 1, 4, "4"},
        {"ROUND(-2.5)", 1, -2, "-2"},
        {"ROUND(2.51)", 1, 3, "3"},
        {"SIN(0)", 1, 0, "0"},
        {"COS(0)", 1, 1, "1"},
        {"TAN(0)", 1, 0, "0"},
        {"COTG(1)", 1, 1 / std::tan(1.0), nullptr},
        {"EXP(0)", 1, 1, "1"},
        {"LOG(EXP(2))", 1, 2, "2"},
        {"ASIN(1)", 1, M_PI / 2, nullptr},
        {"ACOS(1)", 1, 0, "0"},
        {"ATAN(1)", 1, M_PI / 4, nullptr},
        {"ACOTG(1)", 1, M_PI / 4, nullptr},
        {"NUMTOSTR(1/3)", 2, 1.0 / 3, "0,333333333333333"},
        {"NUMTOSTR(0.1 + 0.2)", 2, 0.3, "0,3"},
        {"NUMTOSTR(1E20)", 2, 1e20, "1E20"},
        {"NUMTOSTR(0.00001)", 2, 1e-5, "0,00001"},
        {"NUMTOSTR(-1.5E-7)", 2, -1.5e-7, "-1,5E-7"},
        {"STRTONUM('-5')", 1, -5, "-5"},
        {"STRTONUM(' 3.25')", 1, 3.25, " 3.25"},
        {"STRTONUM('1 000')", 1, 0, "1 000"},
        {"STRTONUM('x')", 1, 0, "x"},
    });
}

TEST(Expression, TextFunctions) {
    expectValues({
        {"LEFT('abcdef', 2.5)", 2, 0, "ab"}, // round half to even
        {"LEFT('abc', 10)", 2, 0, "abc"},
        {"LEFT('abc', -1)", 2, 0, ""},
        {"RIGHT('abcdef', 2)", 2, 0, "ef"},
        {"RIGHT('12345', 3)", 2, 345, "345"},
        {"SUBSTR('abcdef', 2, 3)", 2, 0, "bcd"},
        {"SUBSTR('abcdef', 5, 10)", 2, 0, "ef"},
        {"SUBSTR('abcdef', 0, 2)", 2, 0, "ab"},
        {"SUBSTR('abcdef', 9, 2)", 2, 0, ""},
        {"UPPER('příliš žluťoučký kůň')", 2, 0, "PŘÍLIŠ ŽLUŤOUČKÝ KŮŇ"},
        {"LOWER('ĎÁBELSKÉ ÓDY')", 2, 0, "ďábelské ódy"},
        {"UPPER(#1)", 2, 20, "20"}, // the number stays
        {"LTRIM('  12 ')", 2, 0, "12 "},
        {"RTRIM('  12 ')", 2, 12, "  12"}, // leading spaces do not stop the number
        {"ALLTRIM('  12 ')", 2, 12, "12"},
        {"ALLTRIM('')", 2, 0, ""},
        {"CHR(65)", 2, 65, "A"},
        {"CHR(154)", 2, 154, "š"}, // the code page of the system
        {"CHR(0)", 2, 0, ""},
        {"CHR(256)", 2, 256, ""},
        {"ORD('A')", 1, 65, "65"},
        {"ORD('Ž')", 1, 142, "142"},
        {"ORD('')", 1, 0, "0"},
        {"LENGTH('kůň')", 1, 3, ""},
        {"LENGTH('')", 1, 0, ""},
        {"POS('bc', 'abcd')", 1, 2, ""},
        {"POS('x', 'abcd')", 1, 0, ""},
        {"POS('', 'abcd')", 1, 0, ""},
        {"IIF(1, 'a', 'b')", 2, 0, "a"},
        {"IIF(0, 'a', 'b')", 2, 0, "b"},
        {"IIF(-1, 'a', 2)", 1, 2, "2"},
        {"IIF(1, 'a', 2)", 1, 0, "a"},
    });
}

TEST(Expression, FormatPictures) {
    expectValues({
        {"FORMAT(1234.5, '#,##0.00')", 2, 1234.5, "1\u00A0234,50"},
        {"FORMAT(1234567.891, '#,##0.0')", 2, 1234567.891, "1\u00A0234\u00A0567,9"},
        {"FORMAT(0.5, '0.00')", 2, 0.5, "0,50"},
        {"FORMAT(0.5, '#.##')", 2, 0.5, ",5"},
        {"FORMAT(5, '0.##')", 2, 5, "5"},
        {"FORMAT(7, '000')", 2, 7, "007"},
        {"FORMAT(-3, '0.0')", 2, -3, "-3,0"},
        {"FORMAT(-3, '0.0;(0.0)')", 2, -3, "(3,0)"},
        {"FORMAT(0, '0.0;(0.0);\"nula\"')", 2, 0, "nula"},
        {"FORMAT(-0.001, '0.00;-0.00;nic')", 2, -0.001, "nic"},
        {"FORMAT(12.5, '0.00 \"Kč\"')", 2, 12.5, "12,50 Kč"},
        {"FORMAT(1234.5, '0.00E+00')", 2, 1234.5, "1,23E+03"},
        {"FORMAT(0.00012, '0.0E-0')", 2, 0.00012, "1,2E-4"},
        {"FORMAT(2.5, '')", 2, 2.5, "2,5"},
    });
}

TEST(Expression, DateFunctions) {
    expectValues({
        {"YEAR(#Datum)", 1, 2026, "2026"},
        {"MONTH(#Datum)", 1, 12, "12"},
        {"DAY(#Datum)", 1, 9, "9"},
        {"HOUR(#Datum)", 1, 13, "13"},
        {"MINUTE(#Datum)", 1, 5, "5"},
        {"SECOND(#Datum)", 1, 7, "7"},
        {"YEAR(0)", 1, 1899, "1899"},
        {"DAY(1)", 1, 31, "31"},
        {"FORMATDT(#Datum, 'dd.mm.yyyy')", 2, NAN, "09.12.2026"},
        {"FORMATDT(#Datum, 'd/m/yy')", 2, NAN, "9.12.26"},
        {"FORMATDT(#Datum, 'hh:nn:ss')", 2, NAN, "13:05:07"},
        {"FORMATDT(#Datum, 'h:mm')", 2, NAN, "13:05"}, // m after an hour is minutes
        {"FORMATDT(#Datum, 'd. mmmm yyyy')", 2, NAN, "9. prosinec 2026"},
        {"FORMATDT(#Datum, 'dddd')", 2, NAN, "středa"},
        {"FORMATDT(#Datum, '\"den\" d')", 2, NAN, "den 9"},
        {"FORMATDT(#Datum, '')", 2, NAN, "9.12.2026 13:05:07"},
        {"FORMATDT(46365, '')", 2, 46365, "9.12.2026"},
    });
    const ListResolver r = makeResolver();
    EXPECT_EQ(evaluate(u"YEAR(1E9)", &r).error, ErrArithmetic);
    EXPECT_EQ(evaluate(u"FORMATDT(-1E9, 'd')", &r).error, ErrArithmetic);
    // Before the epoch the time still counts from midnight of the day.
    EXPECT_EQ(evaluate(u"HOUR(-1.25)", &r).value.number, 6);
    EXPECT_EQ(evaluate(u"DAY(-1.25)", &r).value.number, 29);
}

TEST(Expression, CzechLocaleWhateverTheProcessLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(evaluate(u"NUMTOSTR(2.5)", nullptr).value.text, QStringLiteral("2,5"));
    EXPECT_EQ(evaluate(u"FORMAT(1000, '#,##0.00')", nullptr).value.text,
              QStringLiteral("1\u00A0000,00"));
    EXPECT_EQ(evaluate(u"FORMATDT(46365, 'mmmm')", nullptr).value.text, QStringLiteral("prosinec"));
    EXPECT_EQ(evaluate(u"UPPER('čaj')", nullptr).value.text, QStringLiteral("ČAJ"));
    QLocale::setDefault(saved);
}

TEST(Expression, LenientNumbers) {
    EXPECT_EQ(lenientNumber(u"12,5"), 12.5);
    EXPECT_EQ(lenientNumber(u"12.5"), 12.5);
    EXPECT_EQ(lenientNumber(u"   7"), 7);
    EXPECT_EQ(lenientNumber(u"-5"), -5);
    EXPECT_EQ(lenientNumber(u"-0,5"), -0.5);
    EXPECT_EQ(lenientNumber(u",5"), 0.5);
    EXPECT_EQ(lenientNumber(u"5-"), 0);
    EXPECT_EQ(lenientNumber(u"1.2.3"), 0);
    EXPECT_EQ(lenientNumber(u"7 "), 0);
    EXPECT_EQ(lenientNumber(u"1e5"), 0);
    EXPECT_EQ(lenientNumber(u""), 0);
    EXPECT_EQ(lenientNumber(u"-"), 0);
    EXPECT_FALSE(lenientNumberIfAny(u"abc"));
    EXPECT_TRUE(lenientNumberIfAny(u"0"));
}

TEST(Expression, PictureAndBarcodeLists) {
    const ListResolver r = makeResolver();
    EXPECT_EQ(
        itemList(u"'logo, nové.bmp',#2,&2,%1,obr.png", &r),
        (QStringList{QStringLiteral("logo, nové.bmp"), QStringLiteral("Šroub M8"),
                     QStringLiteral("Brno"), QStringLiteral("%1"), QStringLiteral("obr.png")}));
    EXPECT_EQ(itemList(u"", &r), QStringList());
    EXPECT_EQ(itemList(u"'neukončený", &r), QStringList{QStringLiteral("neukončený")});
    EXPECT_EQ(itemList(u"#Neni,a", &r),
              (QStringList{QStringLiteral("#Neni"), QStringLiteral("a")}));
    const QList<TCalcType> items = listItems(u"10, 20,x", &r);
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[1].number, 20);
    EXPECT_EQ(items[1].text, QStringLiteral(" 20"));
    EXPECT_EQ(builtinFunctions().size(), 40);
}
