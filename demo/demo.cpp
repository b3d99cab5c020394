#include "demo.h"

#include "database.h"
#include "datacis.h"
#include "demo_ciselniky.h"
#include "koren.h"
#include "prihlaseni.h"
#include "prikazy.h"
#include "storage_error.h"
#include "table.h"
#include "util/nastaveni.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace brix {

namespace {

void nastav(Table& t, const QString& pole, const QVariant& hodnota) {
    if (t.hasField(pole)) t.field(pole).setValue(hodnota);
}

// Appends one record, setting the fields the table has.
void pridej(Table& t, std::initializer_list<std::pair<const char*, QVariant>> pole) {
    t.insert();
    for (const auto& [nazev, hodnota] : pole)
        nastav(t, QString::fromLatin1(nazev), hodnota);
    t.post();
}

double zaokrouhli(double v, double krok) {
    return std::round(v / krok) * krok;
}

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

struct Skupina {
    const char* nazev;
    const char* kod;     // order-code prefix
    const char* kodOzn1; // code designation
    int vynosova;        // revenue group
    int rabatova;        // rebate group
};

struct ZdrojVyrobku {
    QString nazev;
    QString jednotka;
    double nakupni; // purchase price excl. VAT
    int skupina;    // index into kSkupiny
    int dodavatel;  // partner number
};

const Skupina kSkupiny[] = {
    {"Barvy syntetické", "BS", "SYNTETIKA", 1, 1}, {"Barvy disperzní", "BD", "DISPERZE", 1, 1},
    {"Laky a lazury", "LL", "LAKY", 2, 1},         {"Ředidla a čističe", "RE", "REDIDLA", 3, 2},
    {"Nářadí malířské", "NM", "NARADI", 4, 3},     {"Doplňky a tmely", "DT", "DOPLNKY", 4, 3},
};

QVector<ZdrojVyrobku> sortiment() {
    QVector<ZdrojVyrobku> v;
    const QStringList barvy = {"bílá",  "černá", "červená",     "modrá",        "zelená",
                               "žlutá", "hnědá", "šedá světlá", "slonová kost", "okrová"};
    const struct {
        const char* nazev;
        int skupina;
        double cenaZaLitr;
        int dodavatel;
    } typy[] = {
        {"Email syntetický lesklý", 0, 210, 2},
        {"Email syntetický matný", 0, 215, 2},
        {"Barva na kov 3v1", 0, 290, 3},
        {"Akrylát fasádní", 1, 95, 1},
        {"Latex interiérový omyvatelný", 1, 80, 1},
    };
    const struct {
        const char* text;
        double litru;
    } baleni[] = {{"0,75 l", 0.75}, {"2,5 l", 2.5}, {"9 l", 9}};
    for (const auto& t : typy)
        for (const QString& barva : barvy)
            for (const auto& b : baleni) {
                // Facade paints come in their larger packs only.
                if (t.skupina == 1 && b.litru < 1) continue;
                v.push_back({QStringLiteral("%1 %2 %3")
                                 .arg(QString::fromUtf8(t.nazev), barva, QString::fromUtf8(b.text)),
                             QStringLiteral("ks"),
                             zaokrouhli(t.cenaZaLitr * b.litru * (b.litru > 5 ? 0.85 : 1.0), 1),
                             t.skupina, t.dodavatel});
            }
    const QStringList odstiny = {"bezbarvý", "ořech", "teak", "mahagon", "palisandr", "dub"};
    for (const QString& o : odstiny)
        for (const auto& b : baleni) {
            v.push_back(
                {QStringLiteral("Lazura tenkovrstvá %1 %2").arg(o, QString::fromUtf8(b.text)),
                 QStringLiteral("ks"), zaokrouhli(250 * b.litru, 1), 2, 1});
            v.push_back({QStringLiteral("Lak na parkety %1 %2").arg(o, QString::fromUtf8(b.text)),
                         QStringLiteral("ks"), zaokrouhli(320 * b.litru, 1), 2, 2});
        }
    const struct {
        const char* nazev;
        double cena;
    } redidla[] = {{"Ředidlo S 6006", 45},         {"Ředidlo S 6300", 52},
                   {"Ředidlo C 6000 nitro", 58},   {"Ředidlo technické", 38},
                   {"Aceton technický", 62},       {"Toluen", 70},
                   {"Lakový benzín", 48},          {"Odstraňovač starých nátěrů", 140},
                   {"Odmašťovač univerzální", 85}, {"Čistič štětců", 76}};
    const struct {
        const char* text;
        double litru;
    } lahve[] = {{"0,7 l", 0.7}, {"4 l", 4}, {"9 l", 9}};
    for (const auto& r : redidla)
        for (const auto& l : lahve)
            v.push_back(
                {QStringLiteral("%1 %2").arg(QString::fromUtf8(r.nazev), QString::fromUtf8(l.text)),
                 QStringLiteral("ks"), zaokrouhli(r.cena * l.litru / 0.7 * 0.6, 1), 3, 3});
    const struct {
        const char* nazev;
        double cena;
    } naradi[] = {{"Štětec plochý 25 mm", 28},
                  {"Štětec plochý 50 mm", 42},
                  {"Štětec plochý 75 mm", 58},
                  {"Štětec kulatý 30 mm", 39},
                  {"Štětec radiátorový", 35},
                  {"Štětka malířská", 145},
                  {"Váleček malířský 18 cm", 89},
                  {"Váleček malířský 25 cm", 109},
                  {"Váleček lakýrnický 10 cm", 45},
                  {"Mini váleček s držákem 5 cm", 32},
                  {"Teleskopická tyč 1-2 m", 239},
                  {"Malířská mřížka", 25},
                  {"Vanička na barvu", 49},
                  {"Špachtle nerez 60 mm", 55},
                  {"Špachtle nerez 100 mm", 69},
                  {"Hladítko nerez", 129},
                  {"Stěrka gumová", 39},
                  {"Škrabka na sklo", 59},
                  {"Drátěný kartáč", 45},
                  {"Brusný papír P80", 9},
                  {"Brusný papír P120", 9},
                  {"Brusný papír P180", 9},
                  {"Brusná houba", 24}};
    for (const auto& n : naradi)
        v.push_back({QString::fromUtf8(n.nazev), QStringLiteral("ks"), n.cena, 4, 4});
    const struct {
        const char* nazev;
        const char* mj;
        double cena;
    } doplnky[] = {{"Páska malířská 19 mm x 50 m", "ks", 32},
                   {"Páska malířská 38 mm x 50 m", "ks", 55},
                   {"Zakrývací fólie 4 x 5 m", "ks", 29},
                   {"Zakrývací fólie s páskou", "ks", 65},
                   {"Tmel akrylátový bílý 310 ml", "ks", 48},
                   {"Tmel silikonový sanitární", "ks", 95},
                   {"Sádra modelářská 1 kg", "kg", 22},
                   {"Penetrace hloubková 1 l", "l", 75},
                   {"Penetrace hloubková 5 l", "ks", 310},
                   {"Tónovací pasta žlutá", "ks", 39},
                   {"Tónovací pasta červená", "ks", 39},
                   {"Tónovací pasta modrá", "ks", 39},
                   {"Tónovací pasta černá", "ks", 39},
                   {"Rukavice nitrilové", "pár", 12},
                   {"Respirátor FFP2", "ks", 19}};
    for (const auto& d : doplnky)
        v.push_back({QString::fromUtf8(d.nazev), QString::fromUtf8(d.mj), d.cena, 5, 4});
    return v;
}

// The code lists that follow from the assortment: the code designations 1 of the product
// groups and their number series. The other code lists are the catalogue's demo.
void vyplnCiselniky(Database& db) {
    {
        Table t1(db, QStringLiteral("Ciselnik\\Kod_Ozn1"));
        t1.open();
        for (const Skupina& s : kSkupiny)
            pridej(t1, {{"Kod_Ozn1", QString::fromLatin1(s.kodOzn1)},
                        {"Popis", QString::fromUtf8(s.nazev)}});
    }
    {
        Table t(db, QStringLiteral("Ciselnik\\Cis_rada"));
        t.open();
        int i = 0;
        for (const Skupina& s : kSkupiny)
            pridej(t, {{"Cis_Rada", QString::fromLatin1(s.kod)},
                       {"Prvni_Cis", 1000 * (++i) + 0},
                       {"Popis", QString::fromUtf8(s.nazev)}});
    }
}

} // namespace

VysledekDema VytvorDemo(const QString& koren) {
    VysledekDema v;
    if (QFileInfo::exists(QDir(koren).filePath(QStringLiteral("brix.sqlite")))) {
        v.chyba = QStringLiteral("Adresář %1 již obsahuje data, ukázková data do něj nelze "
                                 "vytvořit.")
                      .arg(QDir::toNativeSeparators(koren));
        return v;
    }
    try {
        PripravaKorene p = PripravDatovyKoren(koren);
        Database& db = *p.db;
        Database::Transaction tr(db);

        {
            Table t(db, QStringLiteral("Ciselnik\\Firmy"));
            t.open();
            int cislo = 1;
            for (const Firma& f : kFirmy) {
                const bool dodavatel = cislo <= 4;
                pridej(t, {{"Cis_firmy", cislo},
                           {"Nazev", QString::fromUtf8(f.nazev)},
                           {"Zkr_nazev", QString::fromUtf8(f.zkratka)},
                           {"ICO", QStringLiteral("%1").arg(25000000 + cislo * 137911 % 9999999, 8,
                                                            10, QLatin1Char('0'))},
                           {"DIC", QStringLiteral("CZ%1").arg(25000000 + cislo * 137911 % 9999999,
                                                              8, 10, QLatin1Char('0'))},
                           {"Ulice", QString::fromUtf8(f.ulice)},
                           {"Mesto", QString::fromUtf8(f.mesto)},
                           {"PSC", QString::fromUtf8(f.psc)},
                           {"Uc_jednotka", true},
                           {"Cis_obor", dodavatel ? 1 : 2 + cislo % 6},
                           {"PC_skonto", 1 + cislo % 3}});
                ++cislo;
            }
            v.firem = int(t.recordCount());
        }
        vyplnCiselniky(db);
        NaplnCiselnikyDemo(db);
        {
            Table t(db, QStringLiteral("Ciselnik\\Sklady"));
            t.open();
            v.skladu = int(t.recordCount());
        }
        {
            Table vyr(db, QStringLiteral("Ciselnik\\Vyrobky"));
            vyr.open();
            Table zas(db, QStringLiteral("Sklady\\SklZas"));
            zas.open();
            const QVector<ZdrojVyrobku> zdroj = sortiment();
            QVector<int> citac(std::size(kSkupiny), 0);
            const QDateTime ted = QDateTime::currentDateTime();
            for (int i = 0; i < zdroj.size(); ++i) {
                const ZdrojVyrobku& z = zdroj[i];
                const Skupina& s = kSkupiny[z.skupina];
                const int cislo = 1000 * (z.skupina + 1) + (++citac[z.skupina]);
                const QString objCis = QStringLiteral("%1-%2")
                                           .arg(QString::fromLatin1(s.kod))
                                           .arg(citac[z.skupina], 4, 10, QLatin1Char('0'));
                const double nc = z.nakupni;
                const double vo = zaokrouhli(nc * 1.25, 0.1);
                const double mo = zaokrouhli(vo * 1.2 * 1.21, 1);
                // Stock in the warehouses: the shop keeps everything, the others part of it.
                double celkemKs = 0, celkemKc = 0;
                for (int sklad = 1; sklad <= 3; ++sklad) {
                    if (sklad == 2 && i % 3 == 0) continue;
                    if (sklad == 3 && i % 2 == 1) continue;
                    const double ks = double((i * 7 + sklad * 13) % 40 + (sklad == 2 ? 20 : 2));
                    const double kc = zaokrouhli(ks * nc, 0.01);
                    celkemKs += ks;
                    celkemKc += kc;
                    pridej(zas, {{"Cis_Vyr", cislo},
                                 {"ObjCis", objCis},
                                 {"Cis_Sklad", QString::number(sklad)},
                                 {"SklZas_ks", ks},
                                 {"SklZas_kc", kc},
                                 {"Rezervace", 0.0},
                                 {"Objednano", 0.0},
                                 {"Poc_Mnoz", ks},
                                 {"Poc_Cena", kc},
                                 {"Dat_Invent", QDate(ted.date().year(), 1, 1)}});
                }
                pridej(vyr, {{"Cis_vyr", cislo},
                             {"ObjCis", objCis},
                             {"Nazev", z.nazev},
                             {"Druh_Pol", QStringLiteral("S")},
                             {"DPH", 21.0},
                             {"DruhMn", z.jednotka},
                             {"CenaZa", 1.0},
                             {"Faktor_Bal", 1},
                             {"NC_Netto", nc},
                             {"PC_Zakl", vo},
                             {"MO_Cena", mo},
                             {"MO_Marze", 20.0},
                             {"Kalk_Prir", 25.0},
                             {"Cis_RabSkp", s.rabatova},
                             {"PC_Vynskup", s.vynosova},
                             {"Kod_Ozn1", QString::fromLatin1(s.kodOzn1)},
                             {"Kod_Ozn2", QStringLiteral("UNI")},
                             {"Cis_Firmy", z.dodavatel},
                             {"Cis_Rada", QString::fromLatin1(s.kod)},
                             {"MinZas", 5.0},
                             {"SklZas_Ks", celkemKs},
                             {"SklZas_Kc", celkemKc},
                             {"Rezervace", 0.0},
                             {"Objednano", 0.0},
                             {"DisponMn", celkemKs},
                             {"Dat_Zmen", ted}});
            }
            v.vyrobku = int(vyr.recordCount());
            // The product series continue after the numbers given out.
            Table rady(db, QStringLiteral("Ciselnik\\Cis_rada"));
            rady.open();
            for (int s = 0; s < int(std::size(kSkupiny)); ++s)
                if (rady.findKey({QString::fromLatin1(kSkupiny[s].kod)})) {
                    rady.edit();
                    rady.field(QStringLiteral("Prvni_Cis")).setInteger(1000 * (s + 1) + citac[s]);
                    rady.post();
                }
        }
        {
            // Employees: the administrator with every right, a shop assistant and a storeman.
            struct {
                const char16_t* prijmeni;
                const char* jmeno;
                const char16_t* heslo;
                QSet<QString> prava;
            } lide[] = {
                {kDemoSpravce, "Správce", kDemoHeslo, {}},
                {u"NOVÁKOVÁ", "Jana", u"prodej", {"KASA", "DL", "FAV", "OBJP", "CISELNIK"}},
                {u"DVOŘÁK", "Petr", u"sklad", {"INT_UCTY", "DLP", "OBJV", "CISELNIK"}},
            };
            for (const ModulPrava& m : ModulyPrav())
                lide[0].prava.insert(m.kod);
            TDataCis dm(db);
            Table& z = *dm.TableZamest;
            z.open();
            for (const auto& l : lide) {
                z.insert();
                z.field(QStringLiteral("PRIJMENI")).setString(QString::fromUtf16(l.prijmeni));
                nastav(z, QStringLiteral("JMENO"), QString::fromUtf8(l.jmeno));
                nastav(z, QStringLiteral("PROVIZE"), 0.0);
                if (!UlozZamestnance(dm, QString::fromUtf16(l.heslo), QString())) {
                    v.chyba = QStringLiteral("Zaměstnance nelze uložit.");
                    return v;
                }
                UlozPrava(dm, QString::fromUtf16(l.prijmeni), l.prava);
            }
            z.close();
        }
        tr.commit();

        UdajeFirmy f;
        f.Nazev = QStringLiteral("Barvy Laky Kolín s.r.o.");
        f.ObchodniJmeno = QStringLiteral("BARVY LAKY KOLÍN");
        f.Ulice = QStringLiteral("Kutnohorská 55");
        f.Mesto = QStringLiteral("Kolín");
        f.PSC = QStringLiteral("280 02");
        f.ICO = QStringLiteral("27145631");
        f.DIC = QStringLiteral("CZ27145631");
        f.Banka = QStringLiteral("Komerční banka Kolín");
        f.Ucet = QStringLiteral("123456789/0100");
        f.Telefon = QStringLiteral("321 712 345");
        f.Fax = QStringLiteral("321 712 346");
        f.CisloRegistrace = QStringLiteral("OR Městský soud v Praze, oddíl C, vložka 98765");
        if (!ulozUdajeFirmy(koren, f)) {
            v.chyba = QStringLiteral("Údaje firmy nelze zapsat.");
            return v;
        }
        v.ok = true;
    } catch (const StorageError& e) {
        v.chyba = e.message();
    }
    return v;
}

} // namespace brix
