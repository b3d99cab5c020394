#include "popis_dokladu.h"

#include <array>

namespace brix {

namespace {

// The header fields of the sales documents in the delivery note's spelling.
PoleHlavicky poleDodacihoListu() {
    PoleHlavicky p;
    p.Druh_Ceny = QStringLiteral("Druh_Ceny");
    p.Mena = QStringLiteral("Kod_Meny");
    p.Dat_Vystav = QStringLiteral("Dat_Vystav");
    p.Dat_Pln = QStringLiteral("Dat_Pln");
    p.Zp_Rabat = QStringLiteral("Zp_Rabat");
    p.Rabat = QStringLiteral("Rabat");
    p.Cis_Obor = QStringLiteral("Cis_Obor");
    p.Cis_Firmy = QStringLiteral("Cis_Firmy");
    p.Cis_Sklad = QStringLiteral("Cis_Sklad");
    p.Kurs = QStringLiteral("Kurs");
    p.DRUH = QStringLiteral("DRUH");
    p.Zaklad0 = QStringLiteral("Zaklad0");
    p.DPH0 = QStringLiteral("DPH0");
    p.Zaklad1 = QStringLiteral("Zaklad1");
    p.DPH1 = QStringLiteral("DPH1");
    p.Zaklad2 = QStringLiteral("Zaklad2");
    p.DPH2 = QStringLiteral("DPH2");
    p.Zaklad = QStringLiteral("Zaklad");
    p.DPH = QStringLiteral("DPH");
    p.Cena_Celk = QStringLiteral("Cena_Celk");
    p.Cena_Cizi = QStringLiteral("Cena_Cizi");
    p.Hmotnost = QStringLiteral("Hmotnost_Celk");
    p.HPKU_Kc = QStringLiteral("HPKU_Kc");
    return p;
}

PopisDokladu dodaciList() {
    PopisDokladu d;
    d.rodina = RodinaDokladu::DodaciList;
    d.typUctu = QStringLiteral("DL");
    d.nazevRodiny = QStringLiteral("Dodací list");
    d.hlavicka = QStringLiteral("Ext_Ucty\\DodListy\\Hla_DL");
    d.polozky = QStringLiteral("Ext_Ucty\\DodListy\\Pol_DL");
    d.prirazky = QStringLiteral("Ext_Ucty\\DodListy\\Prir_DL");
    d.hledaniDruhu = HledaniDruhu::TypADruh;
    d.nazevPolozky = NazevPolozky::CeskyNeboCizi;
    d.prirazkaACenik = true;
    d.rabat = RabatPriVyberu::SkupinaNeboPevny;
    d.radek = {true,
               true,
               DeleniFaktorem::MOaVO,
               KrokRadku::Polozky,
               KrokRadku::Polozky,
               CiziRadek::KrokCizi};
    d.kontrola = {true, false, false, QStringLiteral("Chyba"), QString()};
    d.pole = poleDodacihoListu();
    return d;
}

PopisDokladu fakturaVydana() {
    PopisDokladu d;
    d.rodina = RodinaDokladu::FakturaVydana;
    d.typUctu = QStringLiteral("FV");
    d.nazevRodiny = QStringLiteral("Faktura vydaná");
    d.hlavicka = QStringLiteral("Ext_Ucty\\FaVydane\\Hla_FaV");
    d.polozky = QStringLiteral("Ext_Ucty\\FaVydane\\Pol_Fav");
    d.hledaniDruhu = HledaniDruhu::TypZHlavicky;
    d.chybaDruhuVelka = true;
    d.rabat = RabatPriVyberu::SkupinaJinakPevny;
    d.radek = {true,
               true,
               DeleniFaktorem::Vzdy,
               KrokRadku::ZaokrCen,
               KrokRadku::Polozky,
               CiziRadek::KrokCizi};
    d.kontrola = {true, true, false, QStringLiteral("Chyba"), QString()};
    // The invoice's header is written in capitals, its weight is Hmotnost.
    PoleHlavicky& p = d.pole;
    p = poleDodacihoListu();
    p.Druh_Ceny = QStringLiteral("DRUH_CENY");
    p.Mena = QStringLiteral("KOD_MENY");
    p.Dat_Vystav = QStringLiteral("DAT_VYSTAV");
    p.Dat_Pln = QStringLiteral("DAT_PLN");
    p.Cis_Firmy = QStringLiteral("CIS_FIRMY");
    p.Cis_Sklad = QString();
    p.Kurs = QStringLiteral("KURS");
    p.TypDruhu = QStringLiteral("DruhFa");
    p.Zaklad0 = QStringLiteral("ZAKLAD0");
    p.DPH0 = QStringLiteral("DPH0");
    p.Zaklad1 = QStringLiteral("ZAKLAD1");
    p.DPH1 = QStringLiteral("DPH1");
    p.Zaklad2 = QStringLiteral("ZAKLAD2");
    p.DPH2 = QStringLiteral("DPH2");
    p.Zaklad = QStringLiteral("ZAKLAD");
    p.DPH = QStringLiteral("DPH");
    p.Cena_Celk = QStringLiteral("CENA_CELK");
    p.Cena_Cizi = QStringLiteral("CENA_CIZI");
    p.Hmotnost = QStringLiteral("Hmotnost");
    p.HPKU_Kc = QStringLiteral("HPKU_KC");
    return d;
}

PopisDokladu pokladna() {
    PopisDokladu d;
    d.rodina = RodinaDokladu::Pokladna;
    d.typUctu = QStringLiteral("J");
    d.nazevRodiny = QStringLiteral("Prodej za hotové");
    d.hlavicka = QStringLiteral("Pokladna\\Obchod\\Hla_PokO");
    d.polozky = QStringLiteral("Pokladna\\Obchod\\Pol_pokO");
    d.hledaniDruhu = HledaniDruhu::TypADruh;
    d.oborNoveHlavicky = 1;
    d.druhCenyMOneboVO = true;
    d.krokCenyDesetina = true;
    d.cenaMOsDPH = true;
    d.rabat = RabatPriVyberu::SkupinaJinakPevny;
    d.krokNetta = KrokNetta::Desetina;
    d.ciziZNetta = false;
    d.radek = {true,
               true,
               DeleniFaktorem::Vzdy,
               KrokRadku::ZaokrCen,
               KrokRadku::ZaokrCenNeboDesetina,
               CiziRadek::Zadny};
    d.kontrola = {true, false, false, QStringLiteral("Chyba"), QString()};
    // No currency, no foreign total, no weight, no rounding-difference field.
    PoleHlavicky& p = d.pole;
    p = poleDodacihoListu();
    p.Mena = QString();
    p.Dat_Vystav = QStringLiteral("Dat_Vystaveni");
    p.Dat_Pln = QStringLiteral("Dat_Plneni");
    p.Cis_Sklad = QStringLiteral("Cis_SKlad");
    p.Cena_Cizi = QString();
    p.Hmotnost = QString();
    p.HPKU_Kc = QString();
    return d;
}

PopisDokladu objednavkaPrijata() {
    PopisDokladu d;
    d.rodina = RodinaDokladu::ObjednavkaPrijata;
    d.typUctu = QStringLiteral("OP");
    d.nazevRodiny = QStringLiteral("Objednávka přijatá");
    d.hlavicka = QStringLiteral("Objednav\\Prijate\\Hla_OvjP");
    d.polozky = QStringLiteral("Objednav\\Prijate\\Pol_ObjP");
    d.hledaniDruhu = HledaniDruhu::JenDruh;
    d.rabat = RabatPriVyberu::Nulovy;
    d.krokNetta = KrokNetta::Zadny;
    d.radek = {
        false,           false, DeleniFaktorem::MOVOaNC, KrokRadku::ZaokrCen, KrokRadku::Polozky,
        CiziRadek::Zadny};
    d.kontrola = {false, false, false, QStringLiteral("Chyba"), QString()};
    // The currency is Cis_Zeme, the foreign total Cena_CiziC; no weight, no rounding difference.
    PoleHlavicky& p = d.pole;
    p = poleDodacihoListu();
    p.Mena = QStringLiteral("Cis_Zeme");
    p.Dat_Vystav = QStringLiteral("Dat_Vystaveni");
    p.Dat_Pln = QStringLiteral("Dat_Plneni");
    p.Zp_Rabat = QString();
    p.Rabat = QString();
    p.Cis_Obor = QString();
    p.Cis_Sklad = QString();
    p.Cena_Cizi = QStringLiteral("Cena_CiziC");
    p.Hmotnost = QString();
    p.HPKU_Kc = QString();
    return d;
}

// The purchase side shares these fields.
PoleHlavicky poleNakupu(const char* mena, const char* cizi) {
    PoleHlavicky p = poleDodacihoListu();
    p.Mena = QString::fromLatin1(mena);
    p.Dat_Vystav = QStringLiteral("Dat_Vystaveni");
    p.Dat_Pln = QStringLiteral("Dat_Plneni");
    p.Zp_Rabat = QString();
    p.Rabat = QString();
    p.Cis_Obor = QString();
    p.Cena_Cizi = QString::fromLatin1(cizi);
    p.Hmotnost = QString();
    p.HPKU_Kc = QString(); // the goods received's HPKU_Kc is its cash amount
    return p;
}

PopisDokladu prijemZbozi() {
    PopisDokladu d;
    d.rodina = RodinaDokladu::PrijemZbozi;
    d.typUctu = QStringLiteral("3");
    d.nazevRodiny = QStringLiteral("Příjem zboží");
    d.hlavicka = QStringLiteral("Ext_Ucty\\PrijZb\\Hla_DLP");
    d.polozky = QStringLiteral("Ext_Ucty\\PrijZb\\Pol_DLP");
    d.hledaniDruhu = HledaniDruhu::PrvniTypu;
    d.chybaDruhuVelka = true;
    d.rabat = RabatPriVyberu::Nulovy;
    d.krokNetta = KrokNetta::Zadny;
    d.ciziZNetta = false;
    d.ciziNCPresKurs = true;
    d.poznamkaVyrobku = false;
    d.mnozstevniRabat = MnozstevniRabatDruh::Nakupni;
    d.radek = {false,
               true,
               DeleniFaktorem::MOVOaNC,
               KrokRadku::Polozky,
               KrokRadku::ZaokrCen,
               CiziRadek::DeleniPolozky};
    d.kontrola = {false, false, true, QStringLiteral("Chyba"), QStringLiteral("\n")};
    d.upravy = {false, false, true, false, false, false};
    d.pole = poleNakupu("Kod_Meny", "Cena_Cizi");
    return d;
}

PopisDokladu objednavkaVydana() {
    PopisDokladu d;
    d.rodina = RodinaDokladu::ObjednavkaVydana;
    d.typUctu = QStringLiteral("OV");
    d.nazevRodiny = QStringLiteral("Objednávka vydaná");
    d.hlavicka = QStringLiteral("Objednav\\Vydane\\Hla_OvjV");
    d.polozky = QStringLiteral("Objednav\\Vydane\\Pol_ObjV");
    d.hledaniDruhu = HledaniDruhu::JenDruh;
    d.nazevPolozky = NazevPolozky::CiziSMenou;
    d.poznamkaVyrobku = false;
    d.rabat = RabatPriVyberu::Nulovy;
    d.krokNetta = KrokNetta::Zadny;
    d.ciziZNetta = false;
    d.mnozstevniRabat = MnozstevniRabatDruh::Nakupni;
    d.radek = {false,
               false,
               DeleniFaktorem::MOVOaNC,
               KrokRadku::ZaokrCen,
               KrokRadku::ZaokrCen,
               CiziRadek::KrokCizi};
    d.kontrola = {false, false, true, QStringLiteral("Dotaz"), QString()};
    d.upravy = {true, false, false, true, true, false};
    d.pole = poleNakupu("Cis_Zeme", "Cena_CiziC");
    d.pole.Cis_Sklad = QString();
    return d;
}

const std::array<PopisDokladu, 6>& popisy() {
    static const std::array<PopisDokladu, 6> p = {dodaciList(),  fakturaVydana(),
                                                  pokladna(),    objednavkaPrijata(),
                                                  prijemZbozi(), objednavkaVydana()};
    return p;
}

} // namespace

const PopisDokladu& popisDokladu(RodinaDokladu rodina) {
    return popisy()[static_cast<size_t>(rodina)];
}

const PopisDokladu* popisDokladuTypu(const QString& typUctu) {
    for (const PopisDokladu& p : popisy())
        if (p.typUctu.compare(typUctu.trimmed(), Qt::CaseInsensitive) == 0) return &p;
    return nullptr;
}

} // namespace brix
