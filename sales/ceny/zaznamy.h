#pragma once
// The value records the pricing engine computes with: the price fields of a product, a rebate
// group, a customer's agreed price, a product's stock figures and a document kind. The engine
// reads nothing else; the adapter fills them from the tables, tests write them directly.

#include "decimal.h"

#include <QString>

#include <array>
#include <optional>

namespace brix {

// The price type of a document ("Druh_Ceny").
enum class DruhCeny { NC, MO, VO, IP, Nepovoleny };

// "NC", "MO", "VO", "IP" (trailing blanks cut); any other text is Nepovoleny.
DruhCeny druhCeny(QStringView text);
QString textDruhuCeny(DruhCeny druh);

// The fields of a product ("Vyrobky") the pricing reads.
struct Vyrobek {
    qint64 Cis_Vyr = 0;
    QString ObjCis;
    QString Nazev;
    QString NazCizJaz;
    QString Kod_Ozn1, Kod_Ozn2, Kod_Ozn3;
    QString DruhMn;
    QString Druh_Pol;
    QString Kod_Meny; // the currency of NC_Zahr
    QString Cis_CelSaz;
    QString Poznamka;
    Decimal Vaha;
    Decimal DPH;
    std::optional<int> Cis_RabSkp; // blank: no group
    Decimal NC_Netto, NC_Zahr;
    Decimal Faktor_Bal; // the stock quantity NC_Netto is for
    Decimal MO_Cena;    // retail price including VAT, for CenaZa units
    Decimal PC_Zakl;    // wholesale price, for CenaZa units
    Decimal CenaZa;
    Decimal PC_MnRab1, PC_Rab1, Pc_MnRab2, PC_Rab2, PC_MnRab3, PC_Rab3; // sale quantity tiers
    Decimal NC_MnRab1, NC_Rab1;                                         // purchase tier
    Decimal Objem;
    Decimal Spotr_Dan; // excise duty per unit of Objem
};

// A rebate group ("RabSkup"): the rebate of each customer class 1..20.
struct RabatniSkupina {
    int Cis_RabSkup = 0;
    std::array<Decimal, 20> Rabat{};
};

// The price a customer agreed for a product ("Cenik_Zak").
struct CenaZakaznika {
    Decimal PC_ZAKL;  // in the domestic currency
    Decimal PC_ZAKLC; // in the foreign currency
};

// What the average stock price ("IP") is taken from: the product's stock quantity and value in
// the warehouse and its unit purchase price (ZasobaVyrobku).
struct ZasobaProCenu {
    Decimal zasobaKs;
    Decimal zasobaKc;
    Decimal jednotkovaNakupniCena;
};

// A document kind ("Druhy_uctu").
struct DruhUctu {
    QString Druh_ceny;
    Decimal ZaokrPol; // step of item prices and line amounts
    Decimal ZaokrHla; // step of the document total
};

} // namespace brix
