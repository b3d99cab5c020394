#include "demo_firmy.h"

#include "database.h"
#include "demo_zaklad.h"

#include <QDate>

namespace brix::demo {

namespace {

struct Firma {
    const char* nazev;
    const char* zkratka;
    const char* ulice;
    const char* mesto;
    const char* psc;
    const char* oblast;
    char druh;           // 'D' supplier, 'O' customer, 'P' prospect
    const char* kontakt; // the main contact person
    const char* dealer;  // the surname of the employee who looks after the partner
    double maxDluh;      // 0: no limit kept
    double stavDluhu;
};

// Partners 1-4 supply the shop, the last one from abroad in euros; the rest buy from it or may.
const Firma kFirmy[] = {
    {"Barvy a laky Hostivař s.r.o.", "BL Hostivař", "Průmyslová 1472/11", "Praha 10", "10200",
     "Praha", 'D', "Ing. Karel Vrba", "DVOŘÁK", 0, 0},
    {"Moravské barvy Staré Město a.s.", "Moravské barvy", "Tovární 1197", "Staré Město", "68603",
     "Zlínský kraj", 'D', "Alena Hrubá", "DVOŘÁK", 0, 0},
    {"Chemie Sever družstvo", "Chemie Sever", "Vůbec 22", "Liberec", "46001", "Liberecký kraj", 'D',
     "Milan Šimek", "DVOŘÁK", 0, 0},
    {"Tmely a lepidla Úvaly s.r.o.", "Tmely Úvaly", "Zahradní 1357", "Úvaly", "25082",
     "Středočeský kraj", 'D', "Petra Malá", "DVOŘÁK", 0, 0},
    {"Stavebniny Dufek s.r.o.", "Dufek", "Brněnská 45", "Jihlava", "58601", "Kraj Vysočina", 'O',
     "Josef Dufek", "NOVÁKOVÁ", 150000, 48210.5},
    {"Malířství Novotný", "Novotný", "Husova 12", "Kolín", "28002", "Středočeský kraj", 'O',
     "Pavel Novotný", "NOVÁKOVÁ", 30000, 6352.4},
    {"Železářství U Zlatého klíče", "Zlatý klíč", "Náměstí Míru 8", "Tábor", "39001",
     "Jihočeský kraj", 'O', "Marie Kubíková", "NOVÁKOVÁ", 80000, 21480},
    {"Stavby Horák a syn s.r.o.", "Horák", "Lipová 221", "Písek", "39701", "Jihočeský kraj", 'O',
     "Tomáš Horák", "NOVÁKOVÁ", 200000, 0},
    {"Nátěry Šťastný", "Šťastný", "Komenského 901", "Plzeň", "30100", "Plzeňský kraj", 'O',
     "Luboš Šťastný", "NOVÁKOVÁ", 20000, 1815},
    {"Dřevovýroba Kučera", "Kučera", "Pod Lesem 3", "Humpolec", "39601", "Kraj Vysočina", 'O',
     "Jiří Kučera", "NOVÁKOVÁ", 0, 0},
    {"Autolakovna Dvořák", "Dvořák", "Nádražní 77", "Pardubice", "53002", "Pardubický kraj", 'O',
     "Martin Dvořák", "NOVÁKOVÁ", 50000, 12600},
    {"Bytové družstvo Lípa", "BD Lípa", "Sadová 1020", "Hradec Králové", "50002",
     "Královéhradecký kraj", 'O', "Eva Svobodová", "NOVÁKOVÁ", 0, 0},
    {"Obec Řevnice", "Řevnice", "Mníšecká 1", "Řevnice", "25230", "Středočeský kraj", 'O',
     "Ing. Hana Pešková", "NOVÁKOVÁ", 0, 0},
    {"Stavební firma Černý s.r.o.", "Černý", "Polní 54", "České Budějovice", "37001",
     "Jihočeský kraj", 'O', "Roman Černý", "NOVÁKOVÁ", 120000, 74390},
    {"Truhlářství Procházka", "Procházka", "Luční 18", "Benešov", "25601", "Středočeský kraj", 'O',
     "Václav Procházka", "NOVÁKOVÁ", 25000, 0},
    {"Malby a nátěry Veselý", "Veselý", "Jiráskova 344", "Kladno", "27201", "Středočeský kraj", 'O',
     "Ondřej Veselý", "NOVÁKOVÁ", 15000, 4260},
    {"Zámečnictví Pokorný", "Pokorný", "Kovářská 9", "Mladá Boleslav", "29301", "Středočeský kraj",
     'O', "Karel Pokorný", "NOVÁKOVÁ", 0, 0},
    {"Domov seniorů Slunce", "DS Slunce", "Zahradní 600", "Nymburk", "28802", "Středočeský kraj",
     'O', "Bc. Lenka Říhová", "NOVÁKOVÁ", 0, 0},
    {"Fasády Krejčí s.r.o.", "Krejčí", "Okružní 1780", "Brno", "61600", "Jihomoravský kraj", 'O',
     "David Krejčí", "NOVÁKOVÁ", 100000, 35120},
    {"Hobby centrum Beroun", "Hobby Beroun", "Plzeňská 2110", "Beroun", "26601", "Středočeský kraj",
     'O', "Simona Marková", "NOVÁKOVÁ", 60000, 9980},
    {"Základní škola Husova", "ZŠ Husova", "Husova 1", "Kutná Hora", "28401", "Středočeský kraj",
     'O', "Mgr. Jana Holá", "NOVÁKOVÁ", 0, 0},
    {"Tesařství Marek", "Marek", "Za Humny 7", "Sedlčany", "26401", "Středočeský kraj", 'O',
     "Stanislav Marek", "NOVÁKOVÁ", 10000, 0},
    {"Interiéry Kratochvíl", "Kratochvíl", "Masarykova 412", "Olomouc", "77900", "Olomoucký kraj",
     'O', "Adam Kratochvíl", "NOVÁKOVÁ", 40000, 0},
    // Deliveries stopped: the debt ran over its limit.
    {"Renovace oken Beneš", "Beneš", "Okenní 5", "Rakovník", "26901", "Středočeský kraj", 'O',
     "Vladimír Beneš", "NOVÁKOVÁ", 20000, 27345},
    {"Správa budov Ostrava a.s.", "SB Ostrava", "Nádražní 3001", "Ostrava", "70200",
     "Moravskoslezský kraj", 'O', "Ing. Petr Kolář", "NOVÁKOVÁ", 250000, 118400},
    {"Stavitelství Fiala", "Fiala", "Školní 66", "Příbram", "26101", "Středočeský kraj", 'O',
     "Radek Fiala", "NOVÁKOVÁ", 50000, 0},
    {"Lakýrnictví Sedláček", "Sedláček", "Dlouhá 90", "Zlín", "76001", "Zlínský kraj", 'O',
     "Michal Sedláček", "NOVÁKOVÁ", 30000, 2490},
    {"Farnost sv. Jakuba", "Farnost", "Kostelní 2", "Kouřim", "28161", "Středočeský kraj", 'P',
     "P. Antonín Vlk", "NOVÁKOVÁ", 0, 0},
    {"Penzion U Vltavy", "U Vltavy", "Nábřeží 15", "Český Krumlov", "38101", "Jihočeský kraj", 'P',
     "Irena Vltavská", "NOVÁKOVÁ", 0, 0},
    {"Jan Zelenka - řemeslné práce", "Zelenka", "Topolová 28", "Čáslav", "28601",
     "Středočeský kraj", 'O', "Jan Zelenka", "NOVÁKOVÁ", 10000, 0},
    {"Autoservis Růžička", "Růžička", "Průmyslová 4", "Vlašim", "25801", "Středočeský kraj", 'O',
     "Lukáš Růžička", "NOVÁKOVÁ", 0, 0},
    {"Hotel Zlatá Hvězda", "Zlatá Hvězda", "Náměstí 40", "Třeboň", "37901", "Jihočeský kraj", 'P',
     "Kateřina Hvězdová", "NOVÁKOVÁ", 0, 0},
    // A supplier abroad, invoicing in euros.
    {"Farbenwerk Elbtal GmbH", "Farbenwerk", "Industriestraße 14", "Dresden", "01099", "", 'D',
     "Jürgen Hoffmann", "DVOŘÁK", 0, 0},
};

constexpr int kEurDodavatel = 33;
constexpr int kZastaveneDodavky = 24;

struct Zapis {
    int firma;
    int predDny; // days before today
    const char* ucastnici;
    const char* popis;
    const char* poznamka;
};

const Zapis kZapisy[] = {
    {1, 40, "Vrba, Dvořák", "Roční smlouva o dodávkách", "Skonto 2 % při platbě do 10 dnů."},
    {1, 6, "Vrba, Dvořák", "Nové odstíny fasádních barev", "Vzorkovník pošlou do konce měsíce."},
    {33, 21, "Hoffmann, Dvořák", "Dodací lhůty z Drážďan",
     "Dodávky jednou za 14 dní, platba v EUR."},
    {5, 12, "Dufek, Nováková", "Zásobování stavby v Jihlavě", "Týdenní odběry disperzních barev."},
    {14, 30, "Černý, Nováková", "Upomínka po splatnosti", "Slíbil zaplatit do 15. dne."},
    {24, 9, "Beneš, Nováková", "Zastavení dodávek", "Dodávky až po úhradě dluhu."},
    {28, 3, "P. Vlk", "Oprava fasády kostela", "Zájem o nabídku silikátových barev."},
};

QString ico(int cislo) {
    return QStringLiteral("%1").arg(25000000 + cislo * 137911 % 9999999, 8, 10, QLatin1Char('0'));
}

} // namespace

int NaplnFirmy(Database& db) {
    Table t(db, QStringLiteral("Ciselnik\\Firmy"));
    t.open();
    int cislo = 1;
    for (const Firma& f : kFirmy) {
        const bool dodavatel = f.druh == 'D';
        const bool eur = cislo == kEurDodavatel;
        const QString firma = QString::fromUtf8(f.nazev);
        const bool pravnicka =
            firma.contains(QLatin1String("s.r.o.")) || firma.contains(QLatin1String("a.s.")) ||
            firma.contains(QLatin1String("GmbH")) || firma.contains(QLatin1String("družstvo"));
        const QString tlf = eur ? QStringLiteral("+49 351 %1").arg(400100 + cislo * 37)
                                : QStringLiteral("%1 %2 %3")
                                      .arg(300 + cislo * 17 % 400)
                                      .arg(100 + cislo * 53 % 900)
                                      .arg(100 + cislo * 71 % 900);
        pridej(t, {{"Cis_firmy", cislo},
                   {"Nazev", firma},
                   {"Jmeno", firma.toUpper().left(40)},
                   {"Zkr_nazev", QString::fromUtf8(f.zkratka)},
                   {"ICO", eur ? QString() : ico(cislo)},
                   {"DIC", eur ? QStringLiteral("DE281734590") : QStringLiteral("CZ") + ico(cislo)},
                   {"Platce_DPH", eur || pravnicka || cislo % 3 != 0},
                   {"Ulice", QString::fromUtf8(f.ulice)},
                   {"Mesto", QString::fromUtf8(f.mesto)},
                   {"PSC", QString::fromUtf8(f.psc)},
                   {"Oblast", QString::fromUtf8(f.oblast)},
                   {"Tlf1", tlf},
                   {"Tlf2", cislo % 4 == 0 ? QStringLiteral("602 %1 %2")
                                                 .arg(100 + cislo * 29 % 900)
                                                 .arg(100 + cislo * 43 % 900)
                                           : QString()},
                   {"Fax",
                    pravnicka && !eur ? tlf.left(tlf.size() - 1) + QLatin1Char('9') : QString()},
                   {"Kontakt1", QString::fromUtf8(f.kontakt)},
                   {"Mail_Box", QStringLiteral("info@firma%1.cz").arg(cislo)},
                   {"Uc_jednotka", true},
                   {"Druh", QString(QLatin1Char(f.druh))},
                   {"Dealer", QString::fromUtf8(f.dealer)},
                   {"Cinnost", dodavatel ? QStringLiteral("výroba barev")
                                         : QStringLiteral("stavební a malířské práce")},
                   {"Kod_Meny", eur ? QStringLiteral("EUR") : QString()},
                   {"Zpus_platby",
                    cislo % 5 == 0 ? QStringLiteral("hotově") : QStringLiteral("převodem")},
                   {"Max_dluh", f.maxDluh},
                   {"Stav_Dluhu", f.stavDluhu},
                   {"Zast_dodavek", cislo == kZastaveneDodavky},
                   {"Bank_Ucet", eur ? QString() : QStringLiteral("%1").arg(1900000000 + cislo)},
                   {"Bank_Kod", eur ? QString() : QStringLiteral("0100")},
                   {"Poznamka", cislo == kZastaveneDodavky
                                    ? QStringLiteral("Dluh přes limit, dodávky zastaveny.")
                                    : QString()},
                   {"Cis_obor", dodavatel ? 1 : 2 + cislo % 6},
                   {"PC_skonto", 1 + cislo % 3}});
        ++cislo;
    }

    Table z(db, QStringLiteral("Ciselnik\\Fir_Zapis"));
    z.open();
    for (const Zapis& n : kZapisy)
        pridej(z, {{"Cis_Firmy", n.firma},
                   {"Datum", QDate::currentDate().addDays(-n.predDny)},
                   {"Ucastnici", QString::fromUtf8(n.ucastnici)},
                   {"Popis", QString::fromUtf8(n.popis)},
                   {"Poznamka", QString::fromUtf8(n.poznamka)}});
    return int(t.recordCount());
}

} // namespace brix::demo
