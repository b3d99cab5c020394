#pragma once
// The messages of the pricing engine. The engine never shows a box: each rule that has something
// to say appends a ZpravaCeny (what happened and the values it names) and goes on with the value
// the rule gives. The adapter shows them, in order, through the platform layer. Every Czech text
// and caption of pricing is in zpravy.cpp and nowhere else.

#include <QDate>
#include <QString>

#include <vector>

namespace brix {

enum class DruhZpravyCeny {
    NepovolenyDruhCeny,       // a price type other than NC, MO, VO, IP
    NeexistujiciDruh,         // the document kind is not in the kinds table
    NeexistujiciDRUH,         // the same, worded as the issued invoice words it
    OborMimoRozsah,           // the customer class is outside 1..20 (hodnota: the class)
    RabatniSkupinaNenalezena, // the product's rebate group does not exist (hodnota: the group)
    VyrobekNenalezenRabat,    // no product to take the quantity rebate from
    SpecialniMnozstevniRabat, // the second tier's rebate is -100 or less
    RabatStoProcent,          // the base price cannot follow from a net price at rebate 100
    NulovyKoef,               // a rate record with Koef 0 (mena, datum)
    NulovyKursEUR,            // a rate record with Kurs_EUR 0 on the euro route (mena, datum)
    NulovyKursEura,           // the euro's own rate is 0 on the euro route (datum)
    NulovyKrokZaokrouhleni,   // rounding down or up with a step of 0
};

struct ZpravaCeny {
    DruhZpravyCeny druh;
    QString hodnota; // the class, the group or the currency the text names
    QDate datum;     // the date of a rate
};

using ZpravyCeny = std::vector<ZpravaCeny>;

// The box of a message: its caption and its text.
struct TextZpravyCeny {
    QString titulek;
    QString text;
};

TextZpravyCeny textZpravy(const ZpravaCeny& zprava);

} // namespace brix
