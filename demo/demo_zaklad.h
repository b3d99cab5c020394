#pragma once
// What every stage of the demo data root uses to write its records.

#include "table.h"

#include <QString>
#include <QVariant>

#include <cmath>
#include <initializer_list>
#include <utility>

namespace brix::demo {

// Sets the field when the table has it (older or narrower layouts skip it).
inline void nastav(Table& t, const QString& pole, const QVariant& hodnota) {
    if (t.hasField(pole)) t.field(pole).setValue(hodnota);
}

// Appends one record, setting the fields the table has.
inline void pridej(Table& t, std::initializer_list<std::pair<const char*, QVariant>> pole) {
    t.insert();
    for (const auto& [nazev, hodnota] : pole)
        nastav(t, QString::fromUtf8(nazev), hodnota);
    t.post();
}

inline double zaokrouhli(double v, double krok) {
    return std::round(v / krok) * krok;
}

} // namespace brix::demo
