#pragma once
// What the pricing tests share: decimals written as text, rate records kept in memory, and a
// data root with the data module for the adapter.
#include "datacis_fixture.h"
#include "meny.h"

#include <map>

namespace brix {
inline void PrintTo(const Decimal& d, std::ostream* os) {
    *os << d.toShortString(QLatin1Char('.')).toStdString();
}
} // namespace brix

namespace brix::test {

// "12.3456" as a decimal; a malformed text fails the test.
inline Decimal D(const char* text) {
    auto v = Decimal::parse(QString::fromLatin1(text));
    EXPECT_TRUE(v.has_value()) << text;
    return v.value_or(Decimal());
}

// Rate records in memory, found by the same rule as the table: the latest Platnost_Od not
// after the date.
class KurzyVPameti : public KurzovniListek {
public:
    void pridej(const char* kod, QDate od, const char* kurs, const char* koef = "1",
                const char* zaokr = "0.01", const char* kursEur = "0") {
        KursMeny k;
        k.KOD_Meny = QString::fromLatin1(kod);
        k.Platnost_Od = od;
        k.Kurs = D(kurs);
        k.Koef = D(koef);
        k.Zaokr = D(zaokr);
        k.Kurs_EUR = D(kursEur);
        zaznamy_[{k.KOD_Meny, od}] = k;
    }
    std::optional<KursMeny> kurs(const QString& kod, const QDate& datum) override {
        ++dotazu;
        std::optional<KursMeny> nalezeny;
        for (const auto& [klic, k] : zaznamy_)
            if (klic.first == kod && klic.second <= datum) nalezeny = k;
        return nalezeny;
    }
    int dotazu = 0;

private:
    std::map<std::pair<QString, QDate>, KursMeny> zaznamy_;
};

} // namespace brix::test
