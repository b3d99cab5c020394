#pragma once
// Step rounding of money, prices and quantities, the price after a rebate, and the lenient
// conversions of typed text into numbers.

#include "decimal.h"

#include <QString>

namespace brix {

// The warning shown by ZaokrouhliDolu and ZaokrouhliNahoru for a step of zero.
inline constexpr char16_t kChybnyKrokZaokrouhleni[] =
    u"Nespravne zaokrouhleni-0.00, spravne 0.01;0.1;1";

// Rounds x to a multiple of the step s, half-way cases toward zero:
// sign(x) * s * trunc(|x| / s + 0.499). A step of 0 means 0.1. A quotient whose fraction is
// 0.501 or less goes down (1.25 -> 1.2 with s = 0.1), one above 0.501 goes up (1.2502 -> 1.3).
// A negative step rounds as its magnitude.
void ZaokrouhliKrok(Decimal& x, Decimal s);

// Rounds x toward zero to a multiple of s: sign(x) * s * trunc(|x| / s). A step of 0 shows the
// warning kChybnyKrokZaokrouhleni ("Varování") and leaves x unchanged.
void ZaokrouhliDolu(Decimal& x, Decimal s);

// Rounds x away from zero to a multiple of s once the quotient's fraction is more than 0.001:
// sign(x) * s * trunc(|x| / s + 0.999), the exact sum of one staying down. A step of 0 shows
// the warning and leaves x unchanged.
void ZaokrouhliNahoru(Decimal& x, Decimal s);

// The base price p after the rebate r (percent), rounded by ZaokrouhliKrok to the step s:
// p * (100 - r) / 100 is taken to four places (half to even) and then rounded to the step.
Decimal CenaPoSleve(Decimal s, Decimal r, Decimal p);

// Typed text as money: decimal comma (or point); 0 when the text is empty, blank or malformed.
Decimal TextNaCastku(QStringView text);

// Typed text as a whole number; 0 when it is empty, blank, not a whole number or out of range.
int TextNaCislo(QStringView text);

} // namespace brix
