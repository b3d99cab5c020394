// Delivery notes, issued invoices, cash sales with the cash balance, and customer orders.
#include "catalogue_parts.h"

namespace brix::catalogue_parts {

namespace {

// Surcharges of an item (excise duty); one per item.
const char* const kSurcharges = "Cis_Uctu I; PorCis S; Druh_Prir A2; Popis A40; Druh_Vypoctu A2; "
                                "Mnozstvi F; JCena F; CCena F; Zobrazeni L";
// Components of a mixed item.
const char* const kComponents = "Cis_Uctu I; PorCis I; Cis_Vyr I; KCisVyr I; KObjCis A15; "
                                "KNazev A40; KMnozstvi F; KCena F; KCena_C F";
// Variant quantities of an item; the document number is kept as text, wide enough for every
// number a document can have (older data roots kept 6 characters and cut longer numbers).
const char* const kVariants = "Cis_Uctu A10; PorCis S; Cis_Vyr I; Varianta1 A10; Varianta2 A10; "
                              "Mnozstvi $.2";
const char* const kVariantKey = "Cis_Uctu;PorCis;Cis_Vyr;Varianta1;Varianta2";

void addDeliveryNotes(Catalogue& c) {
    const QString dl = QStringLiteral("Ext_Ucty\\DodListy");
    TableDef h = table(
        dl, "Hla_DL",
        "CIS_UCTU I; DRUH A3; Druh_Ceny A2; STAV A1!; Prenos A1; HS A10; Odkaz A10; Platba L; "
        "Zaplaceno F; Penale F; Dat_Uct @; Paticka M; HPKU L; Kurs F; Zaklad0 F.2; DPH0 F.2; "
        "Zaklad1 F.2; DPH1 F.2; Zaklad2 F.2; DPH2 F.2; Zaklad F.2; DPH F.2; Cena_Celk F.2; "
        "HPKU_Kc F; Cena_Cizi F; Hmotnost_Celk F; Ozn_Obj A20; Datum_Obj D; Zakazka A20; "
        "Cis_Firmy I; Zkr_Nazev A15; Nazev A40; Jmeno A40; Ulice A40; Mesto A40; PSC A6; "
        "ICO A12; DIC A20; Telefon1 A15; UCET A20; Banka A30; Sm_Kod A6; UJ_Cis I; UJ_Naz1 A40; "
        "UJ_Naz2 A40; UJ_Ulice A40; UJ_Mesto A40; UJ_PSC A6; Cis_Obor S; PC_Skonto S; "
        "Splatnost S; Skonto_dni S; Skonto_pr F; Zpus_Pl A15; Dat_Vystav @; Dat_Pln @; "
        "Dat_Splatn @; Vystavil A20; Dealer A10; Hlavicka M; Zpus_Dopr A20; Kod_Meny A3; "
        "Zp_Rabat A2; Rabat F; Var_TiskDL A2; Var_TiskFa A2; Cis_Sklad A4; Faktura L; "
        "Cis_Doklad I",
        "CIS_UCTU");
    hasDetails(h, dl + "\\Pol_DL", "CIS_UCTU", "CIS_UCTU");
    c.add(h);
    // Cis_celsaz is missing in older data; the table works without it.
    TableDef p = table(dl, "Pol_DL",
                       "CIS_UCTU I!; PorCis S; Cis_Vyr I; ObjCis A15; Text L; Kod_Ozn1 A15; "
                       "Kod_Ozn2 A15; Kod_Ozn3 A15; Nazev A40; Cis_Sklad A4; Mnozstvi F; "
                       "DruhMn A10; DPH F; PC_Zakl F; Rabat F; PC_Netto F; PC_NettoC F; Stav A1; "
                       "Druh_Pol A1; Druh_Kompl A1; Faktor F; Poznamka M; Cena_Cizi F.4; "
                       "Cena_CiziC F; JHmotnost F; Cis_celsaz A14?",
                       "CIS_UCTU;PorCis");
    productMustExist(p);
    hasDetails(p, dl + "\\Komp_DL", "CIS_UCTU;PorCis", "Cis_Uctu;PorCis");
    c.add(p);
    c.add(table(dl, "Komp_DL", kComponents, "Cis_Uctu;PorCis;Cis_Vyr;KCisVyr"));
    c.add(table(dl, "Var_DL", kVariants, kVariantKey));
    c.add(table(dl, "Prir_DL", kSurcharges, "Cis_Uctu;PorCis"));
}

void addIssuedInvoices(Catalogue& c) {
    const QString fv = QStringLiteral("Ext_Ucty\\FaVydane");
    // The fields a closed delivery note copies by name, with the numbers older data keeps as
    // floating point (UJ_CIS, CIS_FIRMY, PC_SKONTO, SPLATNOST, SKONTO_DNI).
    c.add(table(
        fv, "Hla_FaV",
        "CIS_UCTU I; STAV A1; DAT_VYSTAV @; DAT_PLN @; DAT_SPLATN @; DAT_UCT @; PRENOS A1; "
        "KURS F; CENA_CELK F.2; DPH F.2; ZAKLAD F.2; HS A10; OZN_OBJ A20; UJ_CIS F; "
        "UJ_NAZ1 A40; UJ_NAZ2 A40; UJ_ULICE A40; UJ_MESTO A40; UJ_PSC A6; ZAKAZKA A20; "
        "CIS_FIRMY F; ICO A12; DIC A20; NAZEV A40; JMENO A40; ULICE A40; MESTO A40; PSC A6; "
        "UCET A20; BANKA A30; SM_KOD A6; ZPUS_PL A15; PC_SKONTO F; SPLATNOST F; SKONTO_DNI F; "
        "SKONTO_PR F; PENALE F; HPKU L; PLATBA L; HPKU_KC F; ZAPLACENO F; ODKAZ A10; "
        "ZAKLAD0 F.2; DPH0 F.2; ZAKLAD1 F.2; DPH1 F.2; ZAKLAD2 F.2; DPH2 F.2; ZPUS_DOPR A20; "
        "DEALER A10; TELEFON1 A15; HLAVICKA M; PATICKA M; DRUH_CENY A2; DRUH A3; VYSTAVIL A20; "
        "KOD_MENY A3; CENA_CIZI F; Var_TiskFa A2; Rabat F; Zp_Rabat A2; Cis_Obor S; "
        "Datum_Obj D; ZKR_NAZEV A15; DruhFa A2; CIS_DOKLAD I; Datum_Zaplac D; Hmotnost F",
        "CIS_UCTU"));
    // Older data keeps the document, item and product numbers as floating point.
    c.add(table(fv, "Pol_Fav",
                "CIS_UCTU F; PORCIS F; TEXT L; CIS_VYR F; OBJCIS A15; VARIANTA1 A6; "
                "VARIANTA2 A6; KOD_OZN1 A15; KOD_OZN2 A15; KOD_OZN3 A15; NAZEV A40; "
                "CIS_SKLAD A4; MNOZSTVI F; DRUHMN A10; DPH F; PC_ZAKL F; RABAT F; PC_NETTO F; "
                "PC_NETTOC F; STAV A1; DRUH_POL A1; DRUH_KOMPL A1; FAKTOR F; POZNAMKA M; "
                "CENA_CIZI F.4; CENA_CIZIC F; JHmotnost F; CIS_CELSAZ A14?",
                "CIS_UCTU;PORCIS"));
    c.add(table(fv, "Prir_FaV", kSurcharges, "Cis_Uctu;PorCis"));
}

void addCashSales(Catalogue& c) {
    const QString po = QStringLiteral("Pokladna\\Obchod");
    c.add(table(po, "Hla_PokO",
                "CIS_UCTU I; STAV A1!; Dat_Vystaveni @; Dat_Plneni @; Dat_Uct @; Prenos A1; "
                "Kurs F; Cena_Celk F; DPH F; Zaklad F; Zaklad0 F; DPH0 F; Zaklad1 F; DPH1 F; "
                "Zaklad2 F; DPH2 F; Cis_Firmy I; ICO A12; DIC A20; Nazev A40; Mesto A40; "
                "Jmeno A40; Ulice A40; PSC A6; Zakazka A20; Cis_Doklad I; Cis_Obor S; DRUH A3; "
                "Vystavil A20; Prij_Vydej A1!; Zp_Rabat A2; Rabat F; Druh_Ceny A2; Kod_Meny A3; "
                "Cis_SKlad A4",
                "CIS_UCTU"));
    const QString item = QStringLiteral(
        "CIS_UCTU I; PorCis S; Text L; Cis_Vyr I; Varianta1 A10; Varianta2 A10; Kod_Ozn1 A15; "
        "Kod_Ozn2 A15; Kod_Ozn3 A15; Nazev A40; Cis_Sklad A4; Mnozstvi F; DruhMn A10; DPH F; "
        "PC_Zakl %1; Rabat F; PC_Netto %1; PC_NettoC %1; Stav A1; Druh_Pol A1; Druh_Kompl A1; "
        "Faktor F; Poznamka M; ObjCis A15");
    c.add(table(po, "Pol_pokO", item.arg("F"), "CIS_UCTU;PorCis"));
    c.add(table(po, "Var_PoklO", kComponents, "Cis_Uctu;PorCis;KCisVyr"));
    c.add(table(po, "VarVyr_PoklO", kVariants, kVariantKey));
    c.add(table(po, "Hla_PokU",
                "CIS_UCTU I; DRUH A3; STAV A1; Prij_Vydej A1!; Vystavil A20; Dat_Vystaveni @; "
                "Dat_Plneni @; Dat_Uct @; Prenos A1; Cis_Zeme S; Kurs $; Cena_Celk $; DPH $; "
                "Zaklad $; DPH0 $; DPH1 $; DPH2 $; Zaklad0 $; Zaklad1 $; Zaklad2 $; Zakazka A20; "
                "Cis_Doklad I; Cis_Firmy I; ICO A12; DIC A20; Nazev A40; Mesto A40; PSC A6; "
                "MO_Ceny L; Cis_Obor S; Cis_Sklad A4",
                "CIS_UCTU"));
    c.add(table(po, "Pol_pokU", item.arg("$"), "CIS_UCTU;PorCis"));
    // No key: the balance is the last record written, and a document closed again after its
    // reversal writes a second record with the same number.
    c.add(table(po, "Stav_Pokl", "Cis_Uctu I; Datum D; P_V A1; Cena_Celk $; KS $", "",
                "Dat_CisU=Datum,Cis_Uctu"));
}

void addCustomerOrders(Catalogue& c) {
    const QString op = QStringLiteral("Objednav\\Prijate");
    c.add(table(
        op, "Hla_OvjP",
        "CIS_UCTU I; DRUH A3; STAV A1; Druh_Ceny A2; Vystavil A20; Var_Symbol A12; "
        "Dat_Vystaveni @; Dat_Plneni @; Dat_Splatnost @; Dat_Uct @; Prenos A1; Cis_Zeme A3; "
        "Kurs $; Cena_Celk $; DPH $; Zaklad $; Cena_CiziC F; Hosp_smlouva A10; Ozn_Obj A20; "
        "Cis_UcetJedn I; UcJedn_Cis I; UcJedn_Naz1 A40; UcJedn_Naz2 A40; UcJedn_Ulice A40; "
        "UcJedn_Mesto A40; UcJedn_PSC A6; Zakazka A20; Cis_Doklad A6; Cis_Firmy I; ICO A12; "
        "DIC A20; Nazev A40; Jmeno A40; Ulice A40; Mesto A40; PSC A6; Telefon1 A15; UCET A20; "
        "Banka A30; Sm_Kod A6; Zpus_Pl A15; PC_Skonto S; Splatnost S; Skonto_dni S; "
        "Skonto_pr $; Penale $; HPKU L; Platba L; Faktura L; HPKU_Kc $; Zaplaceno $; "
        "Odkaz A10; Zaklad0 $; Zaklad1 $; Zaklad2 $; DPH0 $; DPH1 $; DPH2 $; Hlavicka M; "
        "Paticka M",
        "CIS_UCTU"));
    c.add(table(op, "Pol_ObjP",
                "CIS_UCTU I; PorCis S; Cis_Vyr I; ObjCis A15; Kod_Ozn1 A15; Kod_Ozn2 A15; "
                "Kod_Ozn3 A15; Nazev A40; Cis_Sklad A4; Mnozstvi F; DruhMn A10; DPH F; Rabat F; "
                "Stav A1; Druh_Pol A1; Druh_Kompl A1; Faktor F; Poznamka M; PC_Netto F; "
                "PC_Zakl F; PC_NettoC F; Cena_Cizi F; Cena_CiziC F",
                "CIS_UCTU;PorCis"));
}

} // namespace

void addSalesDocuments(Catalogue& c) {
    addDeliveryNotes(c);
    addIssuedInvoices(c);
    addCashSales(c);
    addCustomerOrders(c);
}

} // namespace brix::catalogue_parts
