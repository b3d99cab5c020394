#include "demo_firmy.h"

#include "database.h"
#include "demo_zaklad.h"

namespace brix::demo {

namespace {

struct Firma {
    const char* nazev;
    const char* zkratka;
    const char* ulice;
    const char* mesto;
    const char* psc;
};

const Firma kFirmy[] = {
    {"Barvy a laky Hostivař s.r.o.", "BL Hostivař", "Průmyslová 1472/11", "Praha 10", "10200"},
    {"Colorlak Staré Město a.s.", "Colorlak", "Tovární 1197", "Staré Město", "68603"},
    {"Severochema družstvo", "Severochema", "Vůbec 22", "Liberec", "46001"},
    {"Den Braven Czech s.r.o.", "Den Braven", "Zahradní 1357", "Úvaly", "25082"},
    {"Stavebniny Dufek s.r.o.", "Dufek", "Brněnská 45", "Jihlava", "58601"},
    {"Malířství Novotný", "Novotný", "Husova 12", "Kolín", "28002"},
    {"Železářství U Zlatého klíče", "Zlatý klíč", "Náměstí Míru 8", "Tábor", "39001"},
    {"Stavby Horák a syn s.r.o.", "Horák", "Lipová 221", "Písek", "39701"},
    {"Nátěry Šťastný", "Šťastný", "Komenského 901", "Plzeň", "30100"},
    {"Dřevovýroba Kučera", "Kučera", "Pod Lesem 3", "Humpolec", "39601"},
    {"Autolakovna Dvořák", "Dvořák", "Nádražní 77", "Pardubice", "53002"},
    {"Bytové družstvo Lípa", "BD Lípa", "Sadová 1020", "Hradec Králové", "50002"},
    {"Obec Řevnice", "Řevnice", "Mníšecká 1", "Řevnice", "25230"},
    {"Stavební firma Černý s.r.o.", "Černý", "Polní 54", "České Budějovice", "37001"},
    {"Truhlářství Procházka", "Procházka", "Luční 18", "Benešov", "25601"},
    {"Malby a nátěry Veselý", "Veselý", "Jiráskova 344", "Kladno", "27201"},
    {"Zámečnictví Pokorný", "Pokorný", "Kovářská 9", "Mladá Boleslav", "29301"},
    {"Domov seniorů Slunce", "DS Slunce", "Zahradní 600", "Nymburk", "28802"},
    {"Fasády Krejčí s.r.o.", "Krejčí", "Okružní 1780", "Brno", "61600"},
    {"Hobby centrum Beroun", "Hobby Beroun", "Plzeňská 2110", "Beroun", "26601"},
    {"Základní škola Husova", "ZŠ Husova", "Husova 1", "Kutná Hora", "28401"},
    {"Tesařství Marek", "Marek", "Za Humny 7", "Sedlčany", "26401"},
    {"Interiéry Kratochvíl", "Kratochvíl", "Masarykova 412", "Olomouc", "77900"},
    {"Renovace oken Beneš", "Beneš", "Okenní 5", "Rakovník", "26901"},
    {"Správa budov Ostrava a.s.", "SB Ostrava", "Nádražní 3001", "Ostrava", "70200"},
    {"Stavitelství Fiala", "Fiala", "Školní 66", "Příbram", "26101"},
    {"Lakýrnictví Sedláček", "Sedláček", "Dlouhá 90", "Zlín", "76001"},
    {"Farnost sv. Jakuba", "Farnost", "Kostelní 2", "Kouřim", "28161"},
    {"Penzion U Vltavy", "U Vltavy", "Nábřeží 15", "Český Krumlov", "38101"},
    {"Jan Zelenka - řemeslné práce", "Zelenka", "Topolová 28", "Čáslav", "28601"},
    {"Autoservis Růžička", "Růžička", "Průmyslová 4", "Vlašim", "25801"},
    {"Hotel Zlatá Hvězda", "Zlatá Hvězda", "Náměstí 40", "Třeboň", "37901"},
};

} // namespace

int NaplnFirmy(Database& db) {
    Table t(db, QStringLiteral("Ciselnik\\Firmy"));
    t.open();
    int cislo = 1;
    for (const Firma& f : kFirmy) {
        const bool dodavatel = cislo <= 4;
        pridej(t, {{"Cis_firmy", cislo},
                   {"Nazev", QString::fromUtf8(f.nazev)},
                   {"Zkr_nazev", QString::fromUtf8(f.zkratka)},
                   {"ICO", QStringLiteral("%1").arg(25000000 + cislo * 137911 % 9999999, 8, 10,
                                                    QLatin1Char('0'))},
                   {"DIC", QStringLiteral("CZ%1").arg(25000000 + cislo * 137911 % 9999999, 8, 10,
                                                      QLatin1Char('0'))},
                   {"Ulice", QString::fromUtf8(f.ulice)},
                   {"Mesto", QString::fromUtf8(f.mesto)},
                   {"PSC", QString::fromUtf8(f.psc)},
                   {"Uc_jednotka", true},
                   {"Cis_obor", dodavatel ? 1 : 2 + cislo % 6},
                   {"PC_skonto", 1 + cislo % 3}});
        ++cislo;
    }
    return int(t.recordCount());
}

} // namespace brix::demo
