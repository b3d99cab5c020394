#pragma once
// Prices in batch: the items a document of a family would get for lines of product keys and
// quantities, with the header totals, without writing a document. Each line is priced as an
// entry form prices it: the product chosen (NactiVyrobek), the quantity left (the quantity
// rebate and the net price), the item saved (the foreign price of the net price), the line
// amounts and the incremental header. The header is a new document's: the kind's price type
// and steps, the customer's class and currency (or the one given), the rebate by the rebate
// group, the first warehouse. Messages go through the platform
// layer as they arise; for each item the steps of its price are described ("why this price").

#include "ceny_datacis.h"

#include <QDate>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace brix {

struct ZadaniNabidky {
    const PopisDokladu* popis = nullptr;
    QString druh;                // the document kind (DRUH)
    std::optional<qint64> firma; // the customer (Cis_firmy)
    std::optional<QString> mena; // the currency; without it the customer's
    QDate datum;                 // issue and supply
};

struct RadekNabidky {
    int radek = 0; // the line of the file, for messages
    QString klic;  // the product key (the setting _HlKlicVyr)
    Decimal mnozstvi;
};

struct PolozkaNabidky {
    int porCis = 0;
    QString klic;
    PolozkaCeny polozka;
    QStringList postup; // how its price came about
};

struct VysledekNabidky {
    HlavickaProCeny hlavicka;
    KrokyDokladu kroky;
    HodnotyHlavicky soucty;
    std::vector<PolozkaNabidky> polozky;
    QStringList chyby; // lines that could not be priced, "řádek N: ..."
};

VysledekNabidky Nabidka(CenyDataCis& ceny, const ZadaniNabidky& zadani,
                        const std::vector<RadekNabidky>& radky,
                        const std::function<void(const PolozkaNabidky&)>& poPolozce = {});

} // namespace brix
