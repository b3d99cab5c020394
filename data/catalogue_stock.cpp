// Stock receipts ("Int_Ucty\Prijem") and stock issues and transfers ("Int_Ucty\Vydej"): header,
// items and the variant lines of an item.
#include "catalogue_parts.h"

namespace brix::catalogue_parts {

namespace {

// The header fields receipts and issues share; the receipt's types serve both.
const char* const kInternalHeader =
    "CIS_UCTU I!; STAV A1!; DRUH A3; Vystavil A20; Var_Symbol A12; Dat_Vystaveni @; "
    "Dat_Plneni @; Dat_Uct @; Prenos A1; Ozn_Obj A20; Zakazka A20; Cis_Doklad A6; Odkaz A10; "
    "Hlavicka B; Paticka B; Cena_ZobrCelk F.2; Cena_SklCelk F.2; Druh_Ceny A2; Cis_Obor S; "
    "Cis_Sklad A4; Nazev A40; Ulice A40; Mesto A40; PSC A6; Telefon A30";

// Item fields; `money` is the kind of the quantities and prices ("F" receipts, "$" issues).
QString internalItem(const QString& money) {
    return QStringLiteral(
               "CIS_UCTU I; PorCis S; Text L; Cis_Vyr I; ObjCis A15; Kod_Ozn1 A15; Kod_Ozn2 A15; "
               "Kod_Ozn3 A15; Nazev A40; Cis_Sklad A4; Mnozstvi %1.2; DruhMn A10; "
               "Zakl_Cena_Zobr F; Rabat F; Cena_Zobr %1.2; Cena_ZobrC %1.2; Cena_Skl %1.2; "
               "Cena_SklC %1.2; Stav A1; Druh_Pol A1; Druh_Kompl A1; Faktor %1; Poznamka M; "
               "DPH %1")
        .arg(money);
}

// Several variant lines per item, told apart by their line number within the item.
const char* const kVariantLines = "Cis_Uctu I; PorCis S; DbPorCis S; Cis_Vyr I; Varianta1 A10; "
                                  "Varianta2 A10; Mnozstvi F";
const char* const kVariantKey = "Cis_Uctu;PorCis;DbPorCis";

void addFamily(Catalogue& c, const QString& dir, const QString& header, const QString& headerFields,
               const QString& items, const QString& itemFields, const QString& variants) {
    TableDef h = table(dir, header, headerFields, "CIS_UCTU");
    hasDetails(h, dir + "\\" + items, "CIS_UCTU", "CIS_UCTU");
    c.add(h);
    TableDef p = table(dir, items, itemFields, "CIS_UCTU;PorCis");
    hasDetails(p, dir + "\\" + variants, "CIS_UCTU;PorCis", "Cis_Uctu;PorCis");
    c.add(p);
    c.add(table(dir, variants, kVariantLines, kVariantKey));
}

} // namespace

void addStockDocuments(Catalogue& c) {
    addFamily(c, QStringLiteral("Int_Ucty\\Prijem"), "Hla_Prij",
              QString::fromLatin1(kInternalHeader) + "; Stredisko A4", "Pol_Prij",
              internalItem("F"), "Var_Prij");
    // An issue names the target warehouse of a transfer besides its source.
    addFamily(c, QStringLiteral("Int_Ucty\\Vydej"), "Hla_Vyd",
              QString::fromLatin1(kInternalHeader) +
                  "; Druh_Dokl A1; Na_Sklad A4; NazevU A40; UliceU A40; PSCU A6; MestoU A40",
              "Pol_Vyd", internalItem("$"), "Var_Vyd");
}

} // namespace brix::catalogue_parts
