// Code lists, products, partners, employees and number series, settings and access rights, stock
// levels and the stock ledger: the tables every part of the system shares.
#include "catalogue_parts.h"

namespace brix::catalogue_parts {

namespace {

void addCodeLists(Catalogue& c) {
    const QString cis = QStringLiteral("Ciselnik");
    c.add(table(cis, "Skonto",
                "PC_skonto S!; Popis A40; Splatnost S!; Skonto_dni S; Skonto_pr F; Penale F.3; "
                "Odkl_pen S; Zpus_pl A15",
                "PC_skonto"));
    c.add(table(cis, "obor", "Cis_obor S!; Popis A40; Int_popis A40; Poznámka M", "Cis_obor"));
    {
        QString f = "Cis_RabSkup S!; Nazev A40; PoslCisVyr I";
        for (int i = 1; i <= 20; ++i)
            f += QStringLiteral("; Rabat%1 F").arg(i);
        c.add(table(cis, "RabSkup", f, "Cis_RabSkup", "Nazev=Nazev"));
    }
    c.add(table(cis, "VynSkup", "PC_VynSkup S; Popis A40", "PC_VynSkup", "Popis=Popis"));
    c.add(table(cis, "Meny",
                "Platnost_Od D; KOD_Meny A3; KOD_Zeme A6; Nazev A30; Mena A8; Kurs F.3; Zaokr F; "
                "Kurs_EUR F.5; Koef F!",
                "Platnost_Od;KOD_Meny", "Nazev=Nazev; KodMeny=KOD_Meny,Platnost_Od"));
    c.add(table(cis, "Kod_Ozn1", "Kod_Ozn1 A20!; Popis A40; Poznamka M", "Kod_Ozn1"));
    c.add(table(cis, "Kod_Ozn2", "Kod_Ozn2 A15!; Popis A40; Poznamka M", "Kod_Ozn2"));
    c.add(table(cis, "Clo",
                "Cis_celsaz A8!; D_kod A2; Nazev A50; Jednotka A3; Clo $.2; DPH $; Sleva_Eur L; "
                "Sazba_EUR $.2; Poznamka M; Spotr_Dan F",
                "Cis_celsaz"));
    c.add(table(cis, "Druhy_uctu",
                "Typ_Uctu A2; Druh A3!; Popis A30; Druh_ceny A2; ZaokrPol F; ZaokrHla F",
                "Typ_Uctu;Druh"));
    c.add(table(cis, "Sklady",
                "Cis_Sklad A4; Nazev A40; Ulice A40; Mesto A40; PSC A6; Cis_Stred A4; Banka A20; "
                "Ucet A20; Sm_kod A4; Tlf A20; Fax A20; Kontakt A30; Cis_Obor S; Druh_Ceny A2",
                "Cis_Sklad", "Nazev=Nazev"));
    c.add(table(cis, "Stredisko",
                "Stredisko A4; Nazev A40; Ulice A40; Mesto A40; PSC A40; Telefon A40; "
                "Path_Export A40",
                "Stredisko"));
}

void addSeriesEmployeesSettings(Catalogue& c) {
    const QString cis = QStringLiteral("Ciselnik");
    const QString nast = QStringLiteral("Nastaven");
    c.add(table(cis, "Cis_uctu", "Typ_Uctu A2; Popis A30; PrvCis I", "Typ_Uctu"));
    c.add(table(cis, "Cis_rada", "Cis_Rada A2; Prvni_Cis I; Popis A40", "Cis_Rada"));
    // HesloHash: room for a hash of the password beside the upper-cased Heslo.
    c.add(table(cis, "Zamest",
                "PRIJMENI A20; JMENO A25; Narozen D; PROVIZE F.2; DMEZ_PROV F; HMEZ_PROV F; "
                "Poznamka FM; Heslo A20; HesloHash A120",
                "PRIJMENI;JMENO"));
    c.add(table(nast, "Moduly", "Prijmeni A20; Modul A20", "", "Prijmeni=Prijmeni"));
    c.add(table(nast, "Nast_Pr", "Popis A20; Hodnota A20; Boolean L", "", "Popis=Popis"));
    c.add(table(cis, "Kontrola", "HlKlicVyr A15; Popis_Chyby A80; Spat_Hodn A20; Spr_Hodn A20"));
}

void addPartners(Catalogue& c) {
    const QString cis = QStringLiteral("Ciselnik");
    TableDef t = table(
        cis, "Firmy",
        "Cis_firmy I!; Zkr_nazev A15!; ICO A10; DIC A20; Platce_DPH L; Nazev A40; Jmeno A40; "
        "Ulice A40; Mesto A40; PSC A6; Tlf1 A20; Tlf2 A20; Tlf3 A20; Kontakt1 A30; Kontakt2 A30; "
        "Kontakt3 A30; Fax A20; PC_Skonto S; Cis_obor S!; Cinnost A20; Dealer A20; Druh A1; "
        "Ozn_nap A6; Poznamka M; Kod_Meny A3; Zpus_platby A15; Zast_dodavek L; Max_dluh F; "
        "Oblast A30; Stav_Dluhu F; Mail_Box A30; Uc_jednotka L; Hosp_smlouva A15; "
        "Bank_Ucet A20; Bank_Kod A4; Var_TiskDL A2; Var_TiskFa A2",
        "Cis_firmy", "NazevF=Nazev; Zkr_NazevF=Zkr_nazev; ICOF=ICO; MestF=Mesto");
    t.defaultIndex = QStringLiteral("NazevF");
    c.add(t);
    TableDef z = table(cis, "Fir_Zapis",
                       "Por_Cis +; Cis_Firmy I!; Datum D; Ucastnici A60; Popis A60; Poznamka M",
                       "Por_Cis", "CisFirmy=Cis_Firmy");
    z.defaultIndex = QStringLiteral("CisFirmy");
    c.add(z);
}

void addProducts(Catalogue& c) {
    const QString cis = QStringLiteral("Ciselnik");
    TableDef t = table(
        cis, "Vyrobky",
        "Cis_vyr I!; Nazev A40; NazCizJaz A40; Kod_Ozn1 A20; Kod_Ozn2 A15; Kod_Ozn3 A15; "
        "EAN13 A13; SKP A15; Druh_Pol A1!; DPH F!; Cis_RabSkp S; PC_Vynskup S; Vaha F; "
        "MinZas F; DruhMn A10; Obj_Mn A10; CenaZa F; Baleni_dod A10; Faktor_Bal S!; "
        "Cis_Firmy I!; NC_Netto F; NC_Zahr F; Min_Marze F; PC_Min F; Kalk_Prir F; PC_Zakl F; "
        "Cis_Sklad A4; Obj_Cis_Dod A15; MO_Marze F; MO_Cena F; Druh_Komplet A1; Cis_CelSaz A8; "
        "Sleva_EUR L; NC_MnRab1 F; NC_Rab1 F; PC_MnRab1 F; PC_Rab1 F; Pc_MnRab2 F; PC_Rab2 F; "
        "PC_MnRab3 F; PC_Rab3 F; Ozn_Nap A6; Dat_Zmen @; Cis_Rada A2; SklZas_Ks F; SklZas_Kc F; "
        "Objednano F; Rezervace F; DisponMn F; Dat_Invent @; Poc_Mnoz F; Poc_Cena $; "
        "Posl_Zmena @; ObjCis A15; Kod_Meny A3; Poznamka M; Obrazek B; Objem F; Spotr_Dan F.3",
        "Cis_vyr",
        "Kod_Ozn=Kod_Ozn1,Kod_Ozn2,Nazev; NazevVyr=Nazev; Obj_Cis=ObjCis; VynSkup=PC_Vynskup");
    t.defaultIndex = QStringLiteral("Obj_Cis");
    c.add(t);
    c.add(table(cis, "Vyr_Komp",
                "Cis_Vyr I; KCisVyr I; KObjCis A15; KNazev A40; KStand_Mn F; KStand_PC F",
                "Cis_Vyr;KCisVyr"));
    c.add(table(cis, "Vyr_Var",
                "Cis_Vyr I; Varianta1 A10; Varianta2 A10; SklZas_ks $; Rezervace $; Posl_Zmena @",
                "Cis_Vyr;Varianta1;Varianta2"));
    TableDef z = table(cis, "Cenik_Zak", "Cis_Vyr I; Cis_Firmy I; PC_ZAKL $; PC_ZAKLC $", "",
                       "CisVyr=Cis_Vyr");
    z.defaultIndex = QStringLiteral("CisVyr");
    c.add(z);
}

void addStock(Catalogue& c) {
    const QString skl = QStringLiteral("Sklady");
    // One row per product and warehouse; (ObjCis, Cis_Sklad) identifies it too.
    c.add(table(skl, "SklZas",
                "Cis_Vyr I!; ObjCis A15; Cis_Sklad A4; Rezervace F; Objednano F; SklZas_ks F; "
                "SklZas_kc F; Dat_Invent D; Poc_Mnoz F; Poc_Cena F; Posl_Zmena @",
                "Cis_Vyr;Cis_Sklad", "ObjCis=ObjCis,Cis_Sklad; CisVyr=Cis_Vyr"));
    // No key: a transfer item writes two records with the same document and item number.
    TableDef t = table(skl, "SklPol",
                       "Cis_Uctu I; PorCis I; Druh_Uctu A1; Dat_Plneni D; P_V A1; Cis_Vyr I; "
                       "Cis_Sklad A4; Mnozstvi F; SklCena F.2; PCena F.2",
                       "", "CisUctu=Druh_Uctu,Cis_Uctu,PorCis; CisVyr=Cis_Vyr,Dat_Plneni");
    t.defaultIndex = QStringLiteral("CisUctu");
    c.add(t);
}

} // namespace

void addShared(Catalogue& c) {
    addCodeLists(c);
    addSeriesEmployeesSettings(c);
    addPartners(c);
    addProducts(c);
    addStock(c);
}

} // namespace brix::catalogue_parts
