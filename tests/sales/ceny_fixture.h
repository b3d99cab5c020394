#pragma once
// What the pricing tests share: decimals written as text, rate records kept in memory, and a
// data root with the data module for the adapter.
#include "datacis_fixture.h"
#include "hlavicka.h"
#include "meny.h"
#include "polozka.h"

#include <map>

namespace brix {
inline void PrintTo(const Decimal& d, std::ostream* os) {
    *os << d.toShortString(QLatin1Char('.')).toStdString();
}
inline void PrintTo(const HodnotyHlavicky& h, std::ostream* os) {
    auto c = [](Decimal d) { return d.toShortString(QLatin1Char('.')).toStdString(); };
    *os << "{Z0 " << c(h.Zaklad0) << " D0 " << c(h.DPH0) << " Z1 " << c(h.Zaklad1) << " D1 "
        << c(h.DPH1) << " Z2 " << c(h.Zaklad2) << " D2 " << c(h.DPH2) << " Z " << c(h.Zaklad)
        << " D " << c(h.DPH) << " C " << c(h.Cena_Celk) << " cizi " << c(h.Cena_Cizi) << " m "
        << c(h.Hmotnost) << " HPKU " << c(h.HPKU_Kc) << "}";
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

// The price sources of item pricing in memory.
class ZdrojVPameti : public ZdrojCen {
public:
    KurzyVPameti kurzy;
    std::map<int, RabatniSkupina> skupiny;
    std::map<std::pair<qint64, qint64>, CenaZakaznika> ceniky;
    std::map<qint64, ZasobaProCenu> zasoby;

    // A group whose class n has the rebate rabat(n).
    template <class F> void skupina(int cislo, F rabat) {
        RabatniSkupina s;
        s.Cis_RabSkup = cislo;
        for (int n = 1; n <= 20; ++n)
            s.Rabat[n - 1] = rabat(n);
        skupiny[cislo] = s;
    }
    std::optional<KursMeny> kurs(const QString& kod, const QDate& datum) override {
        return kurzy.kurs(kod, datum);
    }
    std::optional<RabatniSkupina> rabatniSkupina(int cislo) override {
        auto it = skupiny.find(cislo);
        if (it == skupiny.end()) return std::nullopt;
        return it->second;
    }
    std::optional<CenaZakaznika> cenaZakaznika(qint64 cisVyr, qint64 cisFirmy) override {
        auto it = ceniky.find({cisVyr, cisFirmy});
        if (it == ceniky.end()) return std::nullopt;
        return it->second;
    }
    ZasobaProCenu zasoba(qint64 cisVyr, const QString&) override {
        auto it = zasoby.find(cisVyr);
        return it == zasoby.end() ? ZasobaProCenu() : it->second;
    }
};

// The texts of the messages, "caption: text".
inline QStringList texty(const ZpravyCeny& zpravy) {
    QStringList out;
    for (const ZpravaCeny& z : zpravy) {
        const TextZpravyCeny t = textZpravy(z);
        out << t.titulek + QStringLiteral(": ") + t.text;
    }
    return out;
}

} // namespace brix::test
