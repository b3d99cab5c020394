#pragma once
// Conversions between the domestic currency and a foreign one by the rate records of "Meny".
//
// The record of a currency at a date is the one with the latest Platnost_Od not after the date
// (a record valid from the date itself is used on that date). A currency without such a record
// converts to 0. A currency whose Kurs is not positive converts through the euro: its Kurs_EUR
// units make one euro, and the euro's own record at the same date gives the domestic amount.
// Every product and quotient is taken to four places in the order the rule states it; no
// conversion divides by zero: a record with Koef 0, a Kurs_EUR of 0 or a euro Kurs of 0 converts
// to 0 and says so with the currency and the date.

#include "decimal.h"
#include "zpravy.h"

#include <QDate>
#include <QString>

#include <optional>

namespace brix {

// One record of "Meny".
struct KursMeny {
    QDate Platnost_Od;
    QString KOD_Meny;
    Decimal Kurs; // domestic amount for Koef units of the currency
    Decimal Koef;
    Decimal Zaokr;    // rounding step of amounts in this currency
    Decimal Kurs_EUR; // units of this currency per euro
};

// Where the rate records come from: the adapter seeks them on the index (KOD_Meny,
// Platnost_Od) of the table; tests keep them in memory.
class KurzovniListek {
public:
    virtual ~KurzovniListek() = default;
    // The record of the currency `kod` with the latest Platnost_Od not after `datum`.
    virtual std::optional<KursMeny> kurs(const QString& kod, const QDate& datum) = 0;
};

// The domestic amount of `castka` units of the currency at the date (not rounded on the direct
// route; on the euro route the euro amount is rounded to 0.01 first).
Decimal PrevodNaTuzemskou(KurzovniListek& kurzy, const QString& kod, Decimal castka,
                          const QDate& datum, ZpravyCeny& zpravy);

// The amount of the currency for the domestic `castka` at the date, rounded to the currency's
// step (ZaokrouhliKrok: a step of 0 means 0.1).
Decimal PrevodNaCiziMenu(KurzovniListek& kurzy, const QString& kod, Decimal castka,
                         const QDate& datum, ZpravyCeny& zpravy);

// The rounding step of the currency at the date when it is greater than zero, else 0.
Decimal ZaokrouhleniMeny(KurzovniListek& kurzy, const QString& kod, const QDate& datum);

} // namespace brix
