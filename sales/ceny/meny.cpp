#include "meny.h"

#include "util/numeric.h"

namespace brix {

namespace {

const Decimal kSetina = Decimal::fromRaw(Decimal::kScale / 100);

const QString& euro() {
    static const QString e = QStringLiteral("EUR");
    return e;
}

// The euro's record for the euro route, or nothing (its absence converts to 0 silently, as a
// missing record does; a euro Kurs of 0 is said).
std::optional<KursMeny> kursEura(KurzovniListek& kurzy, const QDate& datum, ZpravyCeny& zpravy) {
    std::optional<KursMeny> eur = kurzy.kurs(euro(), datum);
    if (eur && eur->Kurs.isZero()) {
        zpravy.push_back({DruhZpravyCeny::NulovyKursEura, euro(), datum});
        return std::nullopt;
    }
    return eur;
}

} // namespace

Decimal PrevodNaTuzemskou(KurzovniListek& kurzy, const QString& kod, Decimal castka,
                          const QDate& datum, ZpravyCeny& zpravy) {
    const std::optional<KursMeny> k = kurzy.kurs(kod, datum);
    if (!k) return Decimal();
    if (k->Kurs > Decimal()) {
        if (k->Koef.isZero()) {
            zpravy.push_back({DruhZpravyCeny::NulovyKoef, kod, datum});
            return Decimal();
        }
        return castka * k->Kurs / k->Koef;
    }
    if (k->Kurs_EUR.isZero()) {
        zpravy.push_back({DruhZpravyCeny::NulovyKursEUR, kod, datum});
        return Decimal();
    }
    const std::optional<KursMeny> eur = kursEura(kurzy, datum, zpravy);
    if (!eur) return Decimal();
    Decimal eura = castka / k->Kurs_EUR;
    ZaokrouhliKrok(eura, kSetina);
    return eura * eur->Kurs;
}

Decimal PrevodNaCiziMenu(KurzovniListek& kurzy, const QString& kod, Decimal castka,
                         const QDate& datum, ZpravyCeny& zpravy) {
    const std::optional<KursMeny> k = kurzy.kurs(kod, datum);
    if (!k) return Decimal();
    Decimal vysledek;
    if (k->Kurs > Decimal()) {
        if (k->Koef.isZero()) {
            zpravy.push_back({DruhZpravyCeny::NulovyKoef, kod, datum});
            return Decimal();
        }
        vysledek = castka / k->Kurs * k->Koef;
    } else {
        if (k->Kurs_EUR.isZero()) {
            zpravy.push_back({DruhZpravyCeny::NulovyKursEUR, kod, datum});
            return Decimal();
        }
        const std::optional<KursMeny> eur = kursEura(kurzy, datum, zpravy);
        if (!eur) return Decimal();
        Decimal eura = castka / eur->Kurs;
        ZaokrouhliKrok(eura, kSetina);
        vysledek = eura * k->Kurs_EUR;
    }
    ZaokrouhliKrok(vysledek, k->Zaokr);
    return vysledek;
}

Decimal ZaokrouhleniMeny(KurzovniListek& kurzy, const QString& kod, const QDate& datum) {
    const std::optional<KursMeny> k = kurzy.kurs(kod, datum);
    return k && k->Zaokr > Decimal() ? k->Zaokr : Decimal();
}

} // namespace brix
