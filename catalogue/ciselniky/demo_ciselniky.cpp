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
        double kursEur;
    };
    const Kurs kursy[] = {
        {QDate(rok - 1, 1, 1), "CZK", "CZ", "Česká republika", "koruna", 1, 1, 1, 0.03984},
        {QDate(rok - 1, 1, 1), "EUR", "EMU", "Evropská měnová unie", "euro", 24.725, 1, 0.01, 1},
        {QDate(rok - 1, 1, 1), "USD", "USA", "Spojené státy", "dolar", 22.368, 1, 0.01, 0.90481},
        {QDate(rok - 1, 7, 1), "EUR", "EMU", "Evropská měnová unie", "euro", 25.025, 1, 0.01, 1},
        {QDate(rok - 1, 7, 1), "USD", "USA", "Spojené státy", "dolar", 23.136, 1, 0.01, 0.92452},
        {QDate(rok, 1, 1), "EUR", "EMU", "Evropská měnová unie", "euro", 25.2, 1, 0.01, 1},
        {QDate(rok, 1, 1), "USD", "USA", "Spojené státy", "dolar", 23.1, 1, 0.01, 0.91667},
        {QDate(rok, 1, 1), "HUF", "H", "Maďarsko", "forint", 6.315, 100, 1, 0.00251},
        {QDate(rok, 4, 1), "EUR", "EMU", "Evropská měnová unie", "euro", 24.93, 1, 0.01, 1},
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
    // The rate to the euro of the records the demo wrote first.
    if (t.findKey({QDate(rok, 1, 1), QStringLiteral("CZK")})) {
        t.edit();
        t.field(QStringLiteral("Kurs_EUR")).setValue(0.03968);
        t.field(QStringLiteral("Zaokr")).setValue(1.0);
        t.post();
    }
}

void obory(Database& db) {
    Table t(db, QStringLiteral("Ciselnik\\obor"));
    t.open();
    const char* interni[] = {"Koncoví zákazníci", "Stavební firmy", "Malíři a natěrači",
                             "Truhlárny",         "Autoservisy",    "Obce a školy",
                             "Ostatní služby"};
    for (int i = 0; i < int(std::size(interni)); ++i)
        if (t.findKey({i + 1})) {
            t.edit();
            t.field(QStringLiteral("Int_popis")).setValue(QString::fromUtf8(interni[i]));
            t.post();
        }
    doplnZaznam(t, {8},
                {{"Popis", QStringLiteral("Velkoobchod a přeprodej")},
                 {"Int_popis", QStringLiteral("Překupníci")}},
                {{"Cis_obor", 8}});
}

void rabatniSkupiny(Database& db) {
    Table t(db, QStringLiteral("Ciselnik\\RabSkup"));
    t.open();
    // Tinting pastes and mixed colours: no rebate for end customers, most for resellers.
    QVariantList rabaty;
    for (int obor = 1; obor <= 20; ++obor)
        rabaty << (obor == 1 ? 0.0 : obor == 8 ? 15.0 : obor <= 7 ? 5.0 + obor : 0.0);
    if (!t.findKey({4})) {
        t.insert();
        t.field(QStringLiteral("Cis_RabSkup")).setInteger(4);
        t.field(QStringLiteral("Nazev")).setString(QStringLiteral("Tónované barvy na zakázku"));
        for (int obor = 1; obor <= 20; ++obor)
            t.field(QStringLiteral("Rabat%1").arg(obor)).setValue(rabaty[obor - 1]);
        t.post();
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

    Table t(db, QStringLiteral("Ciselnik\\Sklady"));
    t.open();
    struct Sklad {
        const char* cislo;
        const char* nazev;
        const char* stred;
        int obor;
        const char* cena;
        const char* tlf;
        const char* kontakt;
    };
    const Sklad sklady[] = {
        {"1", "Prodejna Kolín", "PRO", 1, "MO", "321 712 345", "Jana Nováková"},
        {"2", "Velkoobchodní sklad Kolín", "VEL", 8, "VO", "321 712 350", "Petr Dvořák"},
        {"3", "Pobočka Kutná Hora", "PRO", 1, "MO", "327 512 118", "Marie Svobodová"},
    };
    for (const Sklad& k : sklady)
        doplnZaznam(t, {QString::fromLatin1(k.cislo)},
                    {{"Nazev", QString::fromUtf8(k.nazev)},
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
    doplnZaznam(t, {QStringLiteral("32081090")},
                {{"D_kod", QStringLiteral("00")},
                 {"Sleva_Eur", true},
                 {"Sazba_EUR", 50.0},
                 {"Poznamka", QStringLiteral("Preference pro zboží původem z EU")}},
                {{"Cis_celsaz", QStringLiteral("32081090")}});
    doplnZaznam(t, {QStringLiteral("38140090")},
                {{"Spotr_Dan", 0.0}, {"D_kod", QStringLiteral("90")}},
                {{"Cis_celsaz", QStringLiteral("38140090")}});
    doplnZaznam(t, {QStringLiteral("96034090")},
                {{"Nazev", QStringLiteral("Malířské štětky a podobné kartáče")},
                 {"Jednotka", QStringLiteral("NAR")},
                 {"Clo", 3.7},
                 {"DPH", 21.0},
                 {"Sleva_Eur", false}},
                {{"Cis_celsaz", QStringLiteral("96034090")}});
    doplnZaznam(t, {QStringLiteral("39191080")},
                {{"Nazev", QStringLiteral("Samolepicí pásky z plastů, v kotoučích")},
                 {"Jednotka", QStringLiteral("MTK")},
                 {"Clo", 6.5},
                 {"DPH", 21.0},
                 {"Sleva_Eur", false}},
                {{"Cis_celsaz", QStringLiteral("39191080")}});
}

void kodovaOznaceni(Database& db) {
    Table t(db, QStringLiteral("Ciselnik\\Kod_Ozn2"));
    t.open();
    doplnZaznam(t, {QStringLiteral("EXT")},
                {{"Poznamka", QStringLiteral("Odolné povětrnosti, UV a vlhkosti")}},
                {{"Kod_Ozn2", QStringLiteral("EXT")}});
    doplnZaznam(t, {QStringLiteral("INT")},
                {{"Poznamka", QStringLiteral("Pro vnitřní prostory, omyvatelné")}},
                {{"Kod_Ozn2", QStringLiteral("INT")}});
}

} // namespace

void NaplnCiselnikyDemo(Database& db) {
    meny(db);
    obory(db);
    rabatniSkupiny(db);
    druhyUctu(db);
    skladyAStrediska(db);
    celniSazebnik(db);
    kodovaOznaceni(db);
}

} // namespace brix
