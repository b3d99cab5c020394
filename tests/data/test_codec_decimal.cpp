#include "codec.h"
#include "decimal.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>

#include <random>

using namespace brix;

namespace {
const QString kPangram = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy");
const QString kUpper = QStringLiteral("PŘÍLIŠ ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓDY");
} // namespace

TEST(Codec, CzechRoundTripsInEveryCzechCodePage) {
    for (Codepage cp : {Codepage::Cp1250, Codepage::Cp852, Codepage::Kamenicky}) {
        for (const QString& s : {kPangram, kUpper}) {
            QByteArray bytes = encode(s, cp);
            EXPECT_EQ(bytes.size(), s.size());
            EXPECT_EQ(decode(bytes, cp), s) << int(cp);
        }
    }
}

TEST(Codec, KnownBytePositions) {
    // A few well-known positions: š in 1250 is 0x9A, in 852 0xE7, in Kamenický 0xA8.
    EXPECT_EQ(encode(u"š", Codepage::Cp1250), QByteArray("\x9A"));
    EXPECT_EQ(encode(u"š", Codepage::Cp852), QByteArray("\xE7"));
    EXPECT_EQ(encode(u"š", Codepage::Kamenicky), QByteArray("\xA8"));
    EXPECT_EQ(encode(u"Č", Codepage::Kamenicky), QByteArray("\x80"));
    EXPECT_EQ(encode(u"ů", Codepage::Cp1250), QByteArray("\xF9"));
}

TEST(Codec, MissingCharactersGetNearestEquivalentNeverStrayBytes) {
    EXPECT_EQ(encode(kPangram, Codepage::Ascii),
              QByteArray("Prilis zlutoucky kun upel dabelske ody"));
    // Typographic quotes and dashes: kept in 1250, substituted where the page lacks them.
    EXPECT_EQ(encode(u"„a“ – b", Codepage::Cp1250), QByteArray("\x84"
                                                               "a\x93 \x96 b"));
    EXPECT_EQ(encode(u"„a“ – b", Codepage::Cp852), QByteArray("\"a\" - b"));
    EXPECT_EQ(encode(u"„a“ – b", Codepage::Ascii), QByteArray("\"a\" - b"));
    // § exists in 1250 and 852 and Kamenický, not in ASCII.
    EXPECT_EQ(encode(u"§", Codepage::Ascii), QByteArray("?"));
    EXPECT_EQ(decode(encode(u"§", Codepage::Kamenicky), Codepage::Kamenicky), QStringLiteral("§"));
    // Something no page has.
    EXPECT_EQ(encode(u"€漢", Codepage::Cp852), QByteArray("??"));
    for (Codepage cp : {Codepage::Cp852, Codepage::Kamenicky, Codepage::Ascii}) {
        QByteArray b = encode(u"„“–§€…", cp);
        EXPECT_EQ(b.size(), 6);
        QString back = decode(b, cp);
        EXPECT_FALSE(back.contains(QChar(0xFFFD)));
    }
}

TEST(Codec, TextFilesWindows1250CrLfAndUtf8Bom) {
    QTemporaryDir dir;
    QString path = dir.filePath("a.txt");
    ASSERT_TRUE(writeTextLines(path, {kPangram, QStringLiteral("KLÍČ=hodnota")}));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray raw = f.readAll();
    f.close();
    EXPECT_EQ(raw, encode(kPangram) + "\r\n" + encode(u"KLÍČ=hodnota") + "\r\n");
    QStringList lines;
    ASSERT_TRUE(readTextLines(path, &lines));
    EXPECT_EQ(lines, QStringList({kPangram, QStringLiteral("KLÍČ=hodnota")}));

    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xEF\xBB\xBF" + kPangram.toUtf8() + "\nb\n");
    f.close();
    ASSERT_TRUE(readTextLines(path, &lines));
    EXPECT_EQ(lines, QStringList({kPangram, QStringLiteral("b")}));

    QString err;
    EXPECT_FALSE(readTextLines(dir.filePath("missing.txt"), &lines, &err));
    EXPECT_TRUE(err.contains("missing.txt"));
}

TEST(Decimal, ParseAcceptsCommaPointSignAndRoundsHalfEven) {
    EXPECT_EQ(Decimal::parse(u"12,5")->raw(), 125000);
    EXPECT_EQ(Decimal::parse(u"-3.25")->raw(), -32500);
    EXPECT_EQ(Decimal::parse(u" 1 000,50 ")->raw(), 10005000);
    EXPECT_EQ(Decimal::parse(u"0,00005")->raw(), 0);  // tie to even
    EXPECT_EQ(Decimal::parse(u"0,00015")->raw(), 2);  // tie to even
    EXPECT_EQ(Decimal::parse(u"0,000151")->raw(), 2); // above the tie
    EXPECT_EQ(Decimal::parse(u"1e3")->raw(), 10000000);
    EXPECT_FALSE(Decimal::parse(u""));
    EXPECT_FALSE(Decimal::parse(u"1,2,3"));
    EXPECT_FALSE(Decimal::parse(u"abc"));
    EXPECT_FALSE(Decimal::parse(u"-"));
    // Blanks are thousands separators only: groups of three after the first.
    EXPECT_EQ(Decimal::parse(u"1 000 000")->raw(), 10000000000);
    EXPECT_EQ(Decimal::parse(u"-12\u00a0345,5")->raw(), -123455000); // no-break space
    EXPECT_EQ(Decimal::parse(u"999 999,9999")->raw(), 9999999999);
    for (const char16_t* slip :
         {u"12 5", u"1 0000,5", u"1000 000", u"1  000", u"- 5", u"1,000 5", u"1 000,5 0", u"1 00"})
        EXPECT_FALSE(Decimal::parse(slip)) << QString::fromUtf16(slip).toStdString();
}

TEST(Decimal, FromDoubleUsesTheIntendedDecimalValue) {
    EXPECT_EQ(Decimal::fromDouble(0.1).raw(), 1000);
    EXPECT_EQ(Decimal::fromDouble(1.005).raw(), 10050);
    EXPECT_EQ(Decimal::fromDouble(2.00005).raw(), 20000); // half to even
    EXPECT_EQ(Decimal::fromDouble(2.00015).raw(), 20002);
    EXPECT_EQ(Decimal::fromDouble(-2.00015).raw(), -20002);
    EXPECT_EQ(Decimal::fromDouble(123456789.1234).raw(), 1234567891234);
    // Values of four places take a shorter way than the text; both must agree everywhere.
    std::mt19937_64 rnd(5);
    for (int i = 0; i < 100000; ++i) {
        const std::int64_t raw = std::int64_t(rnd() % 20000000000000ULL) - 10000000000000LL;
        const double fourPlaces = double(raw) / 10000.0;
        const double any = fourPlaces + double(std::int64_t(rnd() % 2001) - 1000) * 1e-9;
        for (double v : {fourPlaces, any}) {
            const auto byText =
                Decimal::parse(QString::number(v, 'g', QLocale::FloatingPointShortest));
            ASSERT_TRUE(byText);
            ASSERT_EQ(Decimal::fromDouble(v), *byText) << v;
        }
    }
}

TEST(Decimal, ArithmeticIsExact) {
    Decimal sum;
    for (int i = 0; i < 1000; ++i)
        sum += Decimal::parse(u"0,1").value();
    EXPECT_EQ(sum, Decimal(100));
    EXPECT_EQ(Decimal::parse(u"1,5").value() * Decimal::parse(u"2,25").value(),
              Decimal::parse(u"3,375").value());
    EXPECT_EQ((Decimal(1) / Decimal(3)).raw(), 3333);
    EXPECT_EQ((Decimal(2) / Decimal(3)).raw(), 6667);
    EXPECT_THROW(Decimal(5) / Decimal(0), DivisionByZero);
    Decimal d(5);
    EXPECT_THROW(d /= Decimal(0), DivisionByZero);
    EXPECT_EQ(d, Decimal(5)); // the value divided stays as it was
    EXPECT_LT(Decimal(-1), Decimal(0));
}

TEST(Decimal, TextForms) {
    EXPECT_EQ(Decimal::parse(u"1234,5").value().toString(2), QStringLiteral("1234,50"));
    EXPECT_EQ(Decimal::parse(u"0,005").value().toString(2), QStringLiteral("0,01"));
    EXPECT_EQ(Decimal::parse(u"-0,004").value().toString(2), QStringLiteral("0,00"));
    EXPECT_EQ(Decimal::parse(u"-2,5").value().toString(0), QStringLiteral("-3"));
    EXPECT_EQ(Decimal::parse(u"2,5000").value().toShortString(), QStringLiteral("2,5"));
    EXPECT_EQ(Decimal(7).toShortString(QLatin1Char('.')), QStringLiteral("7"));
}
