#include "numeric.h"

#include "message_hook.h"

#include <cstdint>
#include <limits>

namespace brix {

namespace {

Decimal clamped(__int128 raw) {
    constexpr __int128 hi = std::numeric_limits<std::int64_t>::max();
    constexpr __int128 lo = std::numeric_limits<std::int64_t>::min();
    if (raw > hi) raw = hi;
    if (raw < lo) raw = lo;
    return Decimal::fromRaw(static_cast<std::int64_t>(raw));
}

// trunc(a / s + thousandths / 1000) for a >= 0 and s > 0, computed exactly. When the sum is
// exactly a whole number it counts as lying just below it, so that the constants 0.499 and 0.999
// never round a quotient up on their own (0.501 + 0.499 stays down).
__int128 wholeSteps(__int128 a, __int128 s, int thousandths) {
    __int128 num = a * 1000 + __int128(thousandths) * s;
    __int128 den = s * 1000;
    __int128 k = num / den;
    if (thousandths > 0 && k > 0 && num % den == 0) --k;
    return k;
}

// sign(x) * |s| * trunc(|x| / |s| + thousandths / 1000); s must not be zero.
void roundToStep(Decimal& x, Decimal s, int thousandths) {
    __int128 a = x.raw();
    bool negative = a < 0;
    if (negative) a = -a;
    __int128 step = s.raw();
    if (step < 0) step = -step;
    __int128 r = wholeSteps(a, step, thousandths) * step;
    x = clamped(negative ? -r : r);
}

void warnZeroStep() {
    showMessage(MessageKind::Warning, QStringLiteral("Varování"),
                QString::fromUtf16(kChybnyKrokZaokrouhleni));
}

} // namespace

void ZaokrouhliKrok(Decimal& x, Decimal s) {
    if (s.isZero()) s = Decimal::fromRaw(Decimal::kScale / 10);
    roundToStep(x, s, 499);
}

void ZaokrouhliDolu(Decimal& x, Decimal s) {
    if (s.isZero()) {
        warnZeroStep();
        return;
    }
    roundToStep(x, s, 0);
}

void ZaokrouhliNahoru(Decimal& x, Decimal s) {
    if (s.isZero()) {
        warnZeroStep();
        return;
    }
    roundToStep(x, s, 999);
}

Decimal CenaPoSleve(Decimal s, Decimal r, Decimal p) {
    // p * (100 - r) / 100 in one exact step, rounded half to even to four places.
    __int128 num = __int128(p.raw()) * (__int128(100) * Decimal::kScale - r.raw());
    __int128 den = __int128(100) * Decimal::kScale;
    __int128 q = num / den;
    __int128 rem = num % den;
    if (rem < 0) rem = -rem;
    if (rem * 2 > den || (rem * 2 == den && q % 2 != 0)) q += num < 0 ? -1 : 1;
    Decimal cena = clamped(q);
    ZaokrouhliKrok(cena, s);
    return cena;
}

Decimal TextNaCastku(QStringView text) {
    auto value = Decimal::parse(text);
    return value ? *value : Decimal();
}

int TextNaCislo(QStringView text) {
    bool ok = false;
    int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

} // namespace brix
