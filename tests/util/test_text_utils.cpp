#include "test_support.h"
#include "util/text_utils.h"

#include <gtest/gtest.h>

#include <set>

using namespace brix;

TEST(OrizniVpravo, DropsTrailingBlanksAndNulsOnly) {
    EXPECT_EQ(OrizniVpravo(QStringView(u"  ab \0 \0", 8)), QStringLiteral("  ab"));
    EXPECT_EQ(OrizniVpravo(u"a\t"), QStringLiteral("a\t"));
    EXPECT_EQ(OrizniVpravo(u"   "), QString());
    EXPECT_EQ(OrizniVpravo(u"čš "), QStringLiteral("čš"));
}

TEST(DoplnMezery, BlanksUpToTheWidth) {
    EXPECT_EQ(DoplnMezery(u"abc", 5), QStringLiteral("  "));
    EXPECT_EQ(DoplnMezery(u"abcde", 5), QString());
    EXPECT_EQ(DoplnMezery(u"abcdef", 5), QString());
    EXPECT_EQ(DoplnMezery(u"", 3), QStringLiteral("   "));
    EXPECT_EQ(DoplnMezery(u"žluť", 6), QStringLiteral("  "));
    EXPECT_EQ(DoplnMezery(u"a", -4), QString());
}

TEST(PrevodDosTextu, ReplacesTheTableAndKeepsEveryOtherByte) {
    const std::pair<int, int> table[] = {
        {0x82, 0xE9}, {0x85, 0xF9}, {0x87, 0xE8}, {0x88, 0xEC}, {0x9F, 0xE8}, {0xA0, 0xE1},
        {0xA1, 0xED}, {0xA7, 0x9E}, {0xA9, 0xF8}, {0xAC, 0xC8}, {0xD8, 0xEC}, {0xE6, 0x8A},
        {0xE7, 0x9A}, {0xEC, 0xFD}, {0xFC, 0xF8}, {0xFD, 0xF8},
    };
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    QByteArray out = PrevodDosTextu(all);
    ASSERT_EQ(out.size(), 256);
    for (int i = 0; i < 256; ++i) {
        int expected = i;
        for (auto [from, to] : table)
            if (from == i) expected = to;
        EXPECT_EQ(static_cast<unsigned char>(out[i]), expected) << i;
    }
    // "Čeština" from a DOS file: Č = 0xAC, š = 0xE7.
    EXPECT_EQ(PrevodDosTextu(QByteArray("\xAC"
                                        "e\xE7tina")),
              QByteArray("\xC8"
                         "e\x9Atina"));
}

TEST(PocetDniVMesici, MonthLengthsAndEveryFourthYearLeap) {
    const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(PocetDniVMesici(2001, m), lengths[m - 1]) << m;
    EXPECT_EQ(PocetDniVMesici(2004, 2), 29);
    EXPECT_EQ(PocetDniVMesici(2000, 2), 29);
    EXPECT_EQ(PocetDniVMesici(1900, 2), 29); // no century exception
    EXPECT_EQ(PocetDniVMesici(2100, 2), 29);
    EXPECT_EQ(PocetDniVMesici(2003, 2), 28);
    EXPECT_EQ(PocetDniVMesici(2004, 3), 31);
    EXPECT_EQ(PocetDniVMesici(2004, 0), 0);
    EXPECT_EQ(PocetDniVMesici(2004, 13), 0);
}

TEST(PocetDni, FromTheFirstOfTheStartMonthToTheEndInclusive) {
    EXPECT_EQ(PocetDni(QDate(2000, 1, 1), QDate(2000, 12, 31)), 366);
    EXPECT_EQ(PocetDni(QDate(2004, 1, 15), QDate(2004, 1, 20)), 20);
    EXPECT_EQ(PocetDni(QDate(2001, 2, 1), QDate(2001, 3, 10)), 38);
    EXPECT_EQ(PocetDni(QDate(2003, 12, 1), QDate(2004, 1, 31)), 62);
    // The start's day does not count.
    EXPECT_EQ(PocetDni(QDate(2001, 2, 28), QDate(2001, 3, 10)), 38);
    // 1900 counts as a leap year, 2001 does not.
    EXPECT_EQ(PocetDni(QDate(1900, 2, 1), QDate(1900, 3, 1)), 30);
    EXPECT_EQ(PocetDni(QDate(2001, 2, 1), QDate(2001, 3, 1)), 29);
    EXPECT_EQ(PocetDni(QDate(1900, 1, 1), QDate(1900, 12, 31)), 366);
    // Several years.
    EXPECT_EQ(PocetDni(QDate(2001, 1, 1), QDate(2003, 12, 31)), 3 * 365);
}

TEST(PocetDni, EndBeforeStartGivesTheEndDay) {
    EXPECT_EQ(PocetDni(QDate(2005, 3, 1), QDate(2004, 6, 17)), 17);
    EXPECT_EQ(PocetDni(QDate(2005, 9, 1), QDate(2005, 3, 17)), 17);
    EXPECT_EQ(PocetDni(QDate(), QDate(2005, 3, 17)), 0);
}

TEST(NazevPracovniTabulky, SevenDigitsAndSkipsTakenNames) {
    std::set<QString> asked;
    int calls = 0;
    QString name = NazevPracovniTabulky([&](const QString& n) {
        asked.insert(n);
        return ++calls <= 5; // the first five names drawn are taken
    });
    EXPECT_EQ(calls, 6);
    EXPECT_EQ(name.size(), 7);
    bool ok = false;
    long long value = name.toLongLong(&ok);
    EXPECT_TRUE(ok);
    EXPECT_GE(value, 1000000);
    EXPECT_LE(value, 2000000);
    EXPECT_TRUE(asked.count(name));
}

TEST(PlatneICO, CheckDigitOfTheFirstSevenIncludingTheTwoSpecialRemainders) {
    EXPECT_TRUE(PlatneICO(u"00006947")); // remainder 4: 11 - 4
    EXPECT_TRUE(PlatneICO(u"25596721")); // remainder 10: 1
    EXPECT_TRUE(PlatneICO(u"00000001")); // remainder 0: 1
    EXPECT_TRUE(PlatneICO(u"00000060")); // remainder 1: 0
    EXPECT_FALSE(PlatneICO(u"00006940"));
    EXPECT_FALSE(PlatneICO(u"00000061"));
    EXPECT_FALSE(PlatneICO(u"0006947")); // seven digits
    EXPECT_FALSE(PlatneICO(u"0000694a"));
    EXPECT_FALSE(PlatneICO(u""));
}

TEST(PlatnePSC, FiveDigitsWithOneBlankAfterTheThird) {
    EXPECT_TRUE(PlatnePSC(u"11000"));
    EXPECT_TRUE(PlatnePSC(u"280 02"));
    EXPECT_FALSE(PlatnePSC(u"28 002"));
    EXPECT_FALSE(PlatnePSC(u"2800"));
    EXPECT_FALSE(PlatnePSC(u"280 0a"));
    EXPECT_FALSE(PlatnePSC(u"280  02"));
}
