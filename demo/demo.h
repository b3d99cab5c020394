#pragma once
// A demo data root for trying the system: a paint shop with its products (paints, thinners,
// tools) and prices, partners, three warehouses with stock, the code lists and employees.

#include <QString>

namespace brix {

inline constexpr char16_t kDemoSpravce[] = u"SPRAVCE";
inline constexpr char16_t kDemoHeslo[] = u"brix";

struct VysledekDema {
    bool ok = false;
    QString chyba; // Czech text when not ok
    int vyrobku = 0;
    int firem = 0;
    int skladu = 0;
};

// Creates the demo data root in `koren` (made when missing). A directory that already holds a
// data root is refused and left as it is. Everything is written in one transaction.
VysledekDema VytvorDemo(const QString& koren);

} // namespace brix
