#pragma once
// The product's price of a price type (CenaVyrobkuDleDruhu): the unit price in the domestic
// currency, the purchase price in the product's currency where that is the document's, and the
// number of units the price is for. Every sales and stock document takes its base price here.
//
// "NC" purchase price: with foreign prices on and a currency given, the product's own currency
// gives the foreign price NC_Zahr (the domestic price stays 0), another currency the domestic
// NC_Netto; without them NC_Netto. For Faktor_Bal units.
// "MO" retail price without VAT: MO_Cena / (DPH + 100), then x 100, rounded down to the step;
// for CenaZa units. A rate of -100 gives 0 instead of a division by zero.
// "VO" wholesale price PC_Zakl, for CenaZa units.
// "IP" average stock price: stock value / stock quantity while the quantity is above zero, else
// the unit purchase price; rounded to the step; for one unit.
// Any other type is refused ("Nepovolený druh ceny") and prices 0 for one unit.

#include "zaznamy.h"
#include "zpravy.h"

#include <QStringList>

namespace brix {

struct CenaDleDruhu {
    Decimal cena;     // domestic unit price
    Decimal ciziCena; // foreign unit price ("NC" in the product's currency)
    Decimal faktor = Decimal(1);
};

// `zasoba` is read for "IP" only (null: no stock and no purchase price). `kodMeny` is the
// document's currency (blank: domestic). A step of 0 rounds "MO" with the warning of rounding
// down and leaves its price unrounded. With `postup` each step of the price is described there.
CenaDleDruhu CenaVyrobkuDleDruhu(const Vyrobek& vyrobek, DruhCeny druh, const QString& kodMeny,
                                 Decimal krok, bool zahrMeny, const ZasobaProCenu* zasoba,
                                 ZpravyCeny& zpravy, QStringList* postup = nullptr);

} // namespace brix
