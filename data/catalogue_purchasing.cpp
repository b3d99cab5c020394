// Goods received from suppliers with their customs lines, received invoices, purchase orders and
// bank statements.
#include "catalogue_parts.h"

namespace brix::catalogue_parts {

namespace {

// Header fields of goods received that the received invoice shares; `kind` is the size of DRUH.
QString receivedHeader(int kind) {
    return QStringLiteral(
               "CIS_UCTU I; STAV A1!; Druh_Ceny A2; Dat_Vystaveni @; Dat_Plneni @; "
               "Dat_Splatnost @; Dat_Uct @; Prenos A1; Kurs F; Cena_Celk F.2; DPH F.2; "
               "Zaklad F.2; Hosp_smlouva A10; Ozn_Obj A20; Cis_UcetJedn I; UcJedn_Naz1 A40; "
               "UcJedn_Naz2 A40; UcJedn_Ulice A40; UcJedn_Mesto A40; UcJedn_PSC A6; "
               "Zakazka A20; Cis_Doklad A6; Cis_Firmy I; ICO A12; DIC A20; Nazev A40; Jmeno A40; "
               "Ulice A40; Mesto A40; PSC A6; UCET A20; Banka A30; Sm_Kod A6; Zpus_Pl A15; "
               "PC_Skonto S; Splatnost S; Skonto_dni S; Skonto_pr F; Penale F; HPKU L; Platba L; "
               "Faktura L; HPKU_Kc F.2; Zaplaceno F.2; Odkaz A10; Var_Symbol A12; Hlavicka B; "
               "Paticka B; UcJedn_Cis I; Telefon1 A15; Zaklad0 F.2; Zaklad1 F.2; Zaklad2 F.2; "
               "DPH0 F.2; DPH1 F.2; DPH2 F.2; DRUH A%1; Cena_Cizi F; Kod_Meny A3; Vystavil A20; "
               "Ozn_Nap A6; Text A60; Cis_Sklad A4")
        .arg(kind);
}

const char* const kReceivedItem =
    "CIS_UCTU I; PorCis S; Text L; Cis_Vyr I; Kod_Ozn1 A15; Kod_Ozn2 A15; Kod_Ozn3 A15; "
    "Nazev A40; Cis_Sklad A4; Mnozstvi F; DruhMn A10; DPH F; PC_Zakl F; Rabat F; PC_Netto F.2; "
    "PC_NettoC F.2; Cena_Cizi F; Cena_CiziC F; Stav A1; Druh_Pol A1; Druh_Kompl A1; Faktor F; "
    "Poznamka M; ObjCis A15";

void addGoodsReceived(Catalogue& c) {
    const QString dir = QStringLiteral("Ext_Ucty\\PrijZb");
    TableDef h = table(dir, "Hla_DLP", receivedHeader(3), "CIS_UCTU");
    hasDetails(h, dir + "\\Pol_DLP", "CIS_UCTU", "CIS_UCTU");
    c.add(h);
    TableDef p = table(dir, "Pol_DLP", kReceivedItem, "CIS_UCTU;PorCis");
    productMustExist(p);
    c.add(p);
    c.add(table(dir, "Var_DLP",
                "Cis_Uctu I; PorCis S; DbPorCis S; Cis_Vyr I!; Varianta1 A10; Varianta2 A10; "
                "Mnozstvi F",
                "Cis_Uctu;PorCis;DbPorCis"));
    // One row per customs tariff and order code (the delivery-note summary leaves the order
    // code blank and so has one row per tariff).
    c.add(table(dir, "JCD",
                "Cis_CelSaz A8; ObjCis A15; D_Kod A2; Nazev A50; Jednotka A3; Clo F; DPH F; "
                "Cena_Cizi F; Cena F; Mnozstvi F; Vaha F",
                "Cis_CelSaz;ObjCis"));
}

void addReceivedInvoices(Catalogue& c) {
    const QString dir = QStringLiteral("Ext_Ucty\\FaPrij");
    c.add(table(dir, "Hla_FaP", receivedHeader(1) + "; Cis_Zeme S", "CIS_UCTU"));
    TableDef p =
        table(dir, "Pol_FaP", QString::fromLatin1(kReceivedItem) + "; Varianta1 A6; Varianta2 A6",
              "CIS_UCTU;PorCis");
    productMustExist(p);
    c.add(p);
}

void addPurchaseOrders(Catalogue& c) {
    const QString dir = QStringLiteral("Objednav\\Vydane");
    c.add(table(
        dir, "Hla_OvjV",
        "CIS_UCTU I; DRUH A3; STAV A1!; Druh_Ceny A2; Var_Symbol A12; Dat_Vystaveni @; "
        "Dat_Plneni @; Dat_Splatnost @; Dat_Uct @; Prenos A1; Kurs F; Cena_Celk F; DPH F; "
        "Zaklad F; Hosp_smlouva A10; Ozn_Obj A20; Cis_UcetJedn I; UcJedn_Cis I; "
        "UcJedn_Naz1 A40; UcJedn_Naz2 A40; UcJedn_Ulice A40; UcJedn_Mesto A40; UcJedn_PSC A6; "
        "Zakazka A20; Cis_Doklad A6; Cis_Firmy I; ICO A12; DIC A20; Nazev A40; Jmeno A40; "
        "Ulice A40; Mesto A40; PSC A6; Telefon1 A15; UCET A20; Banka A30; Sm_Kod A6; "
        "Zpus_Pl A15; PC_Skonto S; Splatnost S; Skonto_dni S; Skonto_pr F; Penale F; HPKU L; "
        "Platba L; Faktura L; HPKU_Kc F; Zaplaceno F; Odkaz A10; Zaklad0 F; Zaklad1 F; "
        "Zaklad2 F; DPH0 F; DPH1 F; DPH2 F; Hlavicka B; Paticka B; Vystavil A20; Cena_CiziC F; "
        "Cis_Zeme A3; Var_Tisk A2",
        "CIS_UCTU"));
    TableDef p = table(dir, "Pol_ObjV",
                       "CIS_UCTU I; PorCis S; Text L; Cis_Vyr I; ObjCis A15; Kod_Ozn1 A15; "
                       "Kod_Ozn2 A15; Kod_Ozn3 A15; Nazev A40; Cis_Sklad A4; Mnozstvi F; "
                       "DruhMn A10; DPH F; PC_Zakl F; Rabat F; PC_Netto F; PC_NettoC F; Stav A1; "
                       "Druh_Pol A1; Druh_Kompl A1; Faktor F; Poznamka M; Cena_Cizi F; "
                       "Cena_CiziC F",
                       "CIS_UCTU;PorCis");
    productMustExist(p);
    c.add(p);
    // Components of an item, one line per component product.
    c.add(table(dir, "Var_ObjV",
                "Cis_Uctu I; PorCis I; Cis_Vyr I; KCisVyr I; KObjCis A15; KNazev A40; "
                "KMnozstvi F; KCena F; KCena_C F",
                "Cis_Uctu;PorCis;KCisVyr"));
}

void addBankStatements(Catalogue& c) {
    const QString dir = QStringLiteral("Banka");
    c.add(table(dir, "Banka_Hlav",
                "Druh_Dokl A3; Cis_Dokl A10; Datum D; Popis A40; Kredit $; Debet $; Datum_Uc D; "
                "Status I",
                "Druh_Dokl;Cis_Dokl", "Doklad=Druh_Dokl,Cis_Dokl"));
    // Many items per statement, numbered within it.
    c.add(table(dir, "Banka_Pol",
                "Druh_Dokl A3; Cis_Dokl A10; PorCis I; Datum D; P_V A1; Popis A40; "
                "Var_Symbol A12; Odkaz A10; Cena $; DPH F; Ucet A20; Banka A6; Firma A10; "
                "Firma_Nazev A40; Status I",
                "Druh_Dokl;Cis_Dokl;PorCis"));
}

} // namespace

void addPurchasingDocuments(Catalogue& c) {
    addGoodsReceived(c);
    addReceivedInvoices(c);
    addPurchaseOrders(c);
    addBankStatements(c);
}

} // namespace brix::catalogue_parts
