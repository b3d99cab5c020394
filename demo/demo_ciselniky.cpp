#include "demo_ciselniky.h"

#include "database.h"
#include "table.h"

#include <QDate>

#include <utility>

namespace brix {

namespace {

using Hodnoty = std::initializer_list<std::pair<const char*, QVariant>>;

// The record with this key is completed with the values, or appended with key and values.
void doplnZaznam(Table& t, const QVariantList& klic, Hodnoty hodnoty, Hodnoty klicovaPole) {
    if (t.findKey(klic)) {
        t.edit();
    } else {
        t.insert();
        for (const auto& [pole, hodnota] : klicovaPole)
            t.field(QString::fromUtf8(pole)).setValue(hodnota);
    }
    for (const auto& [pole, hodnota] : hodnoty)
        if (t.hasField(QString::fromUtf8(pole))) t.field(QString::fromUtf8(pole)).setValue(hodnota);
    t.post();
}

void skonto(Database& db) {
    Table t(db, QStringLiteral("Ciselnik\\Skonto"));
    t.open();
    doplnZaznam(t, {1},
                {{"Popis", QStringLiteral("Hotově")},
                 {"Splatnost", 0},
                 {"Zpus_pl", QStringLiteral("HOTOVĚ")}},
                {{"PC_skonto", 1}});
    doplnZaznam(t, {2},
                {{"Popis", QStringLiteral("Převodem 14 dní")},
                 {"Splatnost", 14},
                 {"Zpus_pl", QStringLiteral("PŘEVODEM")}},
                {{"PC_skonto", 2}});
    doplnZaznam(t, {3},
                {{"Popis", QStringLiteral("Převodem 30 dní, 2 % do 10 dní")},
                 {"Splatnost", 30},
                 {"Skonto_dni", 10},
                 {"Skonto_pr", 2.0},
                 {"Penale", 0.05},
                 {"Zpus_pl", QStringLiteral("PŘEVODEM")}},
                {{"PC_skonto", 3}});
    doplnZaznam(t, {4},
                {{"Popis", QStringLiteral("Dobírka")},
                 {"Splatnost", 0},
                 {"Zpus_pl", QStringLiteral("DOBÍRKA")}},
                {{"PC_skonto", 4}});
}

void meny(Database& db) {
    Table t(db, QStringLiteral("Ciselnik\\Meny"));
    t.open();
    const int rok = QDate::currentDate().year();
    struct Kurs {
        QDate od;
        const char* kod;
        const char* zeme;
        const char* nazev;
        const char* mena;
        double kurs;
        double koef;
        double zaokr;
        QVariant kursEur;
    };
    const Kurs kursy[] = {
        {QDate(rok - 1, 1, 1), "CZK", "CZ", "Česká republika", "koruna", 1, 1, 1, 0.03984},
        {QDate(rok - 1, 1, 1), "EUR", "EMU", "Evropská měnová unie", "euro", 24.725, 1, 0.01, 1.0},
        {QDate(rok - 1, 1, 1), "USD", "USA", "Spojené státy", "dolar", 22.368, 1, 0.01, 0.90481},
        {QDate(rok - 1, 7, 1), "EUR", "EMU", "Evropská měnová unie", "euro", 25.025, 1, 0.01, 1.0},
        {QDate(rok - 1, 7, 1), "USD", "USA", "Spojené státy", "dolar", 23.136, 1, 0.01, 0.92452},
        {QDate(rok, 1, 1), "CZK", "CZ", "Česká republika", "koruna", 1, 1, 1, 0.03968},
        {QDate(rok, 1, 1), "EUR", "EMU", "Evropská měnová unie", "euro", 25.2, 1, 0.01, 1.0},
        {QDate(rok, 1, 1), "USD", "USA", "Spojené státy", "dolar", 23.1, 1, 0.01, 0.91667},
        {QDate(rok, 1, 1), "PLN", "PL", "Polsko", "zlotý", 5.8, 1, 0.1, QVariant()},
        {QDate(rok, 1, 1), "HUF", "H", "Maďarsko", "forint", 6.315, 100, 1, 0.00251},
        {QDate(rok, 4, 1), "EUR", "EMU", "Evropská měnová unie", "euro", 24.93, 1, 0.01, 1.0},
        {QDate(rok, 4, 1), "USD", "USA", "Spojené státy", "dolar", 22.815, 1, 0.01, 0.91516},
    };
    for (const Kurs& k : kursy)
        doplnZaznam(t, {k.od, QString::fromLatin1(k.kod)},
                    {{"KOD_Zeme", QString::fromLatin1(k.zeme)},
                     {"Nazev", QString::fromUtf8(k.nazev)},
                     {"Mena", QString::fromUtf8(k.mena)},
                     {"Kurs", k.kurs},
                     {"Koef", k.koef},
                     {"Zaokr", k.zaokr},
                     {"Kurs_EUR", k.kursEur}},
                    {{"Platnost_Od", k.od}, {"KOD_Meny", QString::fromLatin1(k.kod)}});
}

void obory(Database& db) {
    Table t(db, QStringLiteral("Ciselnik\\obor"));
    t.open();
    const std::pair<const char*, const char*> obory[] = {
        {"Maloobchod", "Koncoví zákazníci"},
        {"Stavebnictví", "Stavební firmy"},
        {"Malířství a natěračství", "Malíři a natěrači"},
        {"Truhlářství", "Truhlárny"},
        {"Autolakovny", "Autoservisy"},
        {"Veřejná správa", "Obce a školy"},
        {"Služby", "Ostatní služby"},
        {"Velkoobchod a přeprodej", "Překupníci"},
    };
    int cislo = 0;
    for (const auto& [popis, interni] : obory) {
        ++cislo;
        doplnZaznam(
            t, {cislo},
            {{"Popis", QString::fromUtf8(popis)}, {"Int_popis", QString::fromUtf8(interni)}},
            {{"Cis_obor", cislo}});
    }
}

void rabatniSkupiny(Database& db) {
    Table t(db, QStringLiteral("Ciselnik\\RabSkup"));
    t.open();
    auto skupina = [&t](int cislo, const QString& nazev, auto rabat) {
        if (t.findKey({cislo})) return;
        t.insert();
        t.field(QStringLiteral("Cis_RabSkup")).setInteger(cislo);
        t.field(QStringLiteral("Nazev")).setString(nazev);
        for (int obor = 1; obor <= 20; ++obor)
            t.field(QStringLiteral("Rabat%1").arg(obor)).setValue(rabat(obor));
        t.post();
    };
    // Paints, thinners and tools: the rebate grows with the field of business up to the tenth.
    const char* nazvy[] = {"Barvy a laky", "Ředidla", "Nářadí a doplňky"};
    for (int s = 0; s < 3; ++s)
        skupina(s + 1, QString::fromUtf8(nazvy[s]),
                [s](int obor) { return double(qMin(obor, 10) * (s == 1 ? 1 : 2)); });
    // Tinting pastes and mixed colours: no rebate for end customers, most for resellers.
    skupina(4, QStringLiteral("Tónované barvy na zakázku"), [](int obor) {
        return obor == 1 ? 0.0 : obor == 8 ? 15.0 : obor <= 7 ? 5.0 + obor : 0.0;
    });
}

void vynosoveSkupiny(Database& db) {
    Table t(db, QStringLiteral("Ciselnik\\VynSkup"));
    t.open();
    // The paints themselves are in the groups of the same head word that follow the others
    // (demo_varianty.cpp), so that the group tree shows one "Barvy" node with two leaves.
    const char* nazvy[] = {"Nátěrové hmoty", "Laky a lazury", "Ředidla", "Nářadí a doplňky"};
    int cislo = 0;
    for (const char* n : nazvy) {
        ++cislo;
        doplnZaznam(t, {cislo}, {{"Popis", QString::fromUtf8(n)}}, {{"PC_VynSkup", cislo}});
    }
}

void druhyUctu(Database& db) {
    Table t(db, QStringLiteral("Ciselnik\\Druhy_uctu"));
    t.open();
    struct Druh {
        const char* typ;
        const char* druh;
        const char* popis;
        const char* cena;
        double zaokrPol;
        double zaokrHla;
    };
    const Druh druhy[] = {
        {"DL", "DLV", "Dodací list velkoobchod", "VO", 0.01, 0.01},
        {"DL", "DLM", "Dodací list maloobchod", "MO", 0.1, 1},
        {"FV", "FVV", "Faktura velkoobchod", "VO", 0.01, 1},
        {"FZ", "ZAL", "Zálohová faktura na zakázku", "VO", 0.01, 1},
        {"3", "DLZ", "Příjem zboží ze zahraničí", "NC", 0.01, 0.01},
        {"4", "FAZ", "Faktura přijatá ze zahraničí", "NC", 0.01, 0.01},
        {"A", "VYI", "Výdejka do spotřeby", "IP", 0.01, 0.01},
        {"C", "PRV", "Příjemka z výroby (tónování)", "IP", 0.01, 0.01},
        {"J", "KAV", "Pokladna velkoobchod", "VO", 0.1, 1},
        {"OV", "OVZ", "Objednávka u zahraničního dodavatele", "NC", 0.01, 0.01},
        {"OP", "OPV", "Objednávka odběratele velkoobchod", "VO", 0.01, 1},
    };
    for (const Druh& d : druhy)
        doplnZaznam(
            t, {QString::fromLatin1(d.typ), QString::fromLatin1(d.druh)},
            {{"Popis", QString::fromUtf8(d.popis)},
             {"Druh_ceny", QString::fromLatin1(d.cena)},
             {"ZaokrPol", d.zaokrPol},
             {"ZaokrHla", d.zaokrHla}},
            {{"Typ_Uctu", QString::fromLatin1(d.typ)}, {"Druh", QString::fromLatin1(d.druh)}});
}

void skladyAStrediska(Database& db) {
    Table s(db, QStringLiteral("Ciselnik\\Stredisko"));
    s.open();
    doplnZaznam(s, {QStringLiteral("PRO")},
                {{"Nazev", QStringLiteral("Prodejna")},
                 {"Ulice", QStringLiteral("Kutnohorská 55")},
                 {"Mesto", QStringLiteral("Kolín")},
                 {"PSC", QStringLiteral("280 02")},
                 {"Telefon", QStringLiteral("321 712 345")},
                 {"Path_Export", QStringLiteral("ExportDbf\\Prodejna\\")}},
                {{"Stredisko", QStringLiteral("PRO")}});
    doplnZaznam(s, {QStringLiteral("VEL")},
                {{"Nazev", QStringLiteral("Velkoobchod")},
                 {"Ulice", QStringLiteral("Průmyslová 880")},
                 {"Mesto", QStringLiteral("Kolín")},
                 {"PSC", QStringLiteral("280 02")},
                 {"Telefon", QStringLiteral("321 712 350")},
                 {"Path_Export", QStringLiteral("ExportDbf\\Velkoobchod\\")}},
                {{"Stredisko", QStringLiteral("VEL")}});

    // The first warehouse is the one every new data root has; the demo completes it.
    Table t(db, QStringLiteral("Ciselnik\\Sklady"));
    t.open();
    struct Sklad {
        const char* cislo;
        const char* nazev;
        const char* ulice;
        const char* mesto;
        const char* psc;
        const char* stred;
        int obor;
        const char* cena;
        const char* tlf;
        const char* kontakt;
    };
    const Sklad sklady[] = {
        {"1", "Prodejna Kolín", "Kutnohorská 55", "Kolín", "28002", "PRO", 1, "MO", "321 712 345",
         "Jana Nováková"},
        {"2", "Velkoobchodní sklad Kolín", "Průmyslová 880", "Kolín", "28002", "VEL", 8, "VO",
         "321 712 350", "Petr Dvořák"},
        {"3", "Pobočka Kutná Hora", "Masarykova 17", "Kutná Hora", "28401", "PRO", 1, "MO",
         "327 512 118", "Marie Svobodová"},
    };
    for (const Sklad& k : sklady)
        doplnZaznam(t, {QString::fromLatin1(k.cislo)},
                    {{"Nazev", QString::fromUtf8(k.nazev)},
                     {"Ulice", QString::fromUtf8(k.ulice)},
                     {"Mesto", QString::fromUtf8(k.mesto)},
                     {"PSC", QString::fromLatin1(k.psc)},
                     {"Cis_Stred", QString::fromLatin1(k.stred)},
                     {"Cis_Obor", k.obor},
                     {"Druh_Ceny", QString::fromLatin1(k.cena)},
                     {"Tlf", QString::fromLatin1(k.tlf)},
                     {"Kontakt", QString::fromUtf8(k.kontakt)},
                     {"Banka", QStringLiteral("Komerční banka")},
                     {"Ucet", QStringLiteral("123456789")},
                     {"Sm_kod", QStringLiteral("0100")}},
                    {{"Cis_Sklad", QString::fromLatin1(k.cislo)}});
}

void celniSazebnik(Database& db) {
    Table t(db, QStringLiteral("Ciselnik\\Clo"));
    t.open();
    struct Sazba {
        const char* cislo;
        const char* nazev;
        const char* jednotka;
        double clo;
    };
    const Sazba sazby[] = {
        {"32081090", "Nátěrové barvy a laky na bázi polyesterů", "NAR", 6.5},
        {"32091000", "Nátěrové barvy na bázi akrylových polymerů", "NAR", 6.5},
        {"38140090", "Organická rozpouštědla a ředidla", "NAR", 6.5},
        {"96034010", "Malířské štětce a válečky", "NAR", 3.7},
        {"96034090", "Malířské štětky a podobné kartáče", "NAR", 3.7},
        {"39191080", "Samolepicí pásky z plastů, v kotoučích", "MTK", 6.5},
    };
    for (const Sazba& z : sazby)
        doplnZaznam(t, {QString::fromLatin1(z.cislo)},
                    {{"Nazev", QString::fromUtf8(z.nazev)},
                     {"Jednotka", QString::fromLatin1(z.jednotka)},
                     {"Clo", z.clo},
                     {"DPH", 21.0}},
                    {{"Cis_celsaz", QString::fromLatin1(z.cislo)}});
    doplnZaznam(t, {QStringLiteral("32081090")},
                {{"D_kod", QStringLiteral("00")},
                 {"Sleva_Eur", true},
                 {"Sazba_EUR", 50.0},
                 {"Poznamka", QStringLiteral("Preference pro zboží původem z EU")}},
                {});
    doplnZaznam(t, {QStringLiteral("38140090")},
                {{"Spotr_Dan", 0.0}, {"D_kod", QStringLiteral("90")}}, {});
    for (const char* cislo : {"96034090", "39191080"})
        doplnZaznam(t, {QString::fromLatin1(cislo)}, {{"Sleva_Eur", false}}, {});
}

void kodovaOznaceni2(Database& db) {
    Table t(db, QStringLiteral("Ciselnik\\Kod_Ozn2"));
    t.open();
    const char* kody[][3] = {
        {"INT", "Interiér", "Pro vnitřní prostory, omyvatelné"},
        {"EXT", "Exteriér", "Odolné povětrnosti, UV a vlhkosti"},
        {"UNI", "Univerzální", nullptr},
    };
    for (const auto& k : kody)
        doplnZaznam(t, {QString::fromLatin1(k[0])},
                    {{"Popis", QString::fromUtf8(k[1])},
                     {"Poznamka", k[2] ? QVariant(QString::fromUtf8(k[2])) : QVariant()}},
                    {{"Kod_Ozn2", QString::fromLatin1(k[0])}});
}

} // namespace

void NaplnCiselnikyDemo(Database& db) {
    skonto(db);
    obory(db);
    rabatniSkupiny(db);
    vynosoveSkupiny(db);
    meny(db);
    kodovaOznaceni2(db);
    celniSazebnik(db);
    skladyAStrediska(db);
    druhyUctu(db);
}

} // namespace brix
