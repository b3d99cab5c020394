#include "demo_vyrobky.h"

#include "ceny_vyrobku.h"
#include "database.h"
#include "demo_zaklad.h"
#include "storage_error.h"
#include "util/nastaveni.h"

#include <QDateTime>
#include <QHash>
#include <QStringList>
#include <QVector>

#include <iterator>

namespace brix::demo {

namespace {

struct Skupina {
    const char* nazev;
    const char* kod;     // order-code prefix
    const char* kodOzn1; // code designation
    int vynosova;        // revenue group
    int rabatova;        // rebate group
    int prirazka;        // the wholesale markup over the purchase price, in per cent
};

struct ZdrojVyrobku {
    QString nazev;
    QString jednotka;
    double nakupni;            // purchase price excl. VAT
    int skupina;               // index into kSkupiny
    int dodavatel;             // partner number
    bool snizenaSazba = false; // the second VAT rate of the settings, not the first
    // A paint mixed to order: its recipe, component names with the quantity per unit.
    QVector<QPair<QString, double>> recept = {};
};

const Skupina kSkupiny[] = {
    {"Barvy syntetické", "BS", "SYNTETIKA", 1, 1, 25},
    {"Barvy disperzní", "BD", "DISPERZE", 1, 1, 22},
    {"Laky a lazury", "LL", "LAKY", 2, 1, 25},
    {"Ředidla a čističe", "RE", "REDIDLA", 3, 2, 20},
    {"Nářadí malířské", "NM", "NARADI", 4, 3, 35},
    {"Doplňky a tmely", "DT", "DOPLNKY", 4, 3, 30},
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
        bool snizena;
    } doplnky[] = {{"Páska malířská 19 mm x 50 m", "ks", 32, false},
                   {"Páska malířská 38 mm x 50 m", "ks", 55, false},
                   {"Zakrývací fólie 4 x 5 m", "ks", 29, false},
                   {"Zakrývací fólie s páskou", "ks", 65, false},
                   {"Tmel akrylátový bílý 310 ml", "ks", 48, false},
                   {"Tmel silikonový sanitární", "ks", 95, false},
                   {"Sádra modelářská 1 kg", "kg", 22, false},
                   {"Penetrace hloubková 1 l", "l", 75, false},
                   {"Penetrace hloubková 5 l", "ks", 310, false},
                   {"Tónovací pasta žlutá", "ks", 39, true},
                   {"Tónovací pasta červená", "ks", 39, true},
                   {"Tónovací pasta modrá", "ks", 39, true},
                   {"Tónovací pasta černá", "ks", 39, true},
                   {"Rukavice nitrilové", "pár", 12, true},
                   {"Respirátor FFP2", "ks", 19, true}};
    for (const auto& d : doplnky)
        v.push_back({QString::fromUtf8(d.nazev), QString::fromUtf8(d.mj), d.cena, 5, 4, d.snizena});
    // Facade paints tinted to order: the white base with the pastes of the shade; bought at what
    // their components cost.
    const struct {
        const char* nazev;
        QVector<QPair<QString, double>> recept;
    } tonovane[] = {
        {"Akrylát fasádní tónovaný pískový 9 l",
         {{"Akrylát fasádní bílá 9 l", 1},
          {"Tónovací pasta žlutá", 2},
          {"Tónovací pasta červená", 0.5}}},
        {"Akrylát fasádní tónovaný šedomodrý 9 l",
         {{"Akrylát fasádní bílá 9 l", 1},
          {"Tónovací pasta modrá", 1.5},
          {"Tónovací pasta černá", 0.5}}},
        {"Latex interiérový tónovaný meruňkový 2,5 l",
         {{"Latex interiérový omyvatelný bílá 2,5 l", 1},
          {"Tónovací pasta žlutá", 1},
          {"Tónovací pasta červená", 0.5}}},
    };
    for (const auto& t : tonovane) {
        double nakupni = 0;
        for (const auto& [nazev, mnozstvi] : t.recept)
            for (const ZdrojVyrobku& z : v)
                if (z.nazev == nazev) nakupni += z.nakupni * mnozstvi;
        v.push_back({QString::fromUtf8(t.nazev), QStringLiteral("ks"), zaokrouhli(nakupni, 1), 1, 1,
                     false, t.recept});
    }
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

// The prices of a product as its entry page would compute them from the purchase price: the
// wholesale price from the group's markup (1), the retail price from its markup (3), the
// minimum price from a minimum markup (5); one unit per pack and price unit.
struct Ceny {
    Decimal nc, prirazka, vo, dph, moMarze, mo, minMarze, pcMin;
};

Ceny ceny(const ZdrojVyrobku& z, const Skupina& s, const NastaveniProgramu& nastaveni) {
    const Decimal jedna(1);
    const Decimal krok = nastaveni.ZaokrCen;
    Ceny c;
    c.nc = Decimal::fromDouble(z.nakupni);
    c.prirazka = Decimal(s.prirazka);
    c.vo = ceny::CenaVOzPrirazky(c.nc, jedna, jedna, c.prirazka, krok).value_or(Decimal());
    const QVector<Decimal>& sazby = nastaveni.SazbyDPH;
    c.dph = z.snizenaSazba && sazby.size() > 1 ? sazby[1] : sazby.value(0);
    // The shop sells at retail a fifth above the wholesale price.
    c.moMarze = Decimal(s.prirazka + 20 + s.prirazka / 5);
    c.mo = ceny::UrciMOCenu(c.nc, jedna, jedna, c.moMarze, c.dph).value_or(Decimal());
    c.minMarze = Decimal(s.prirazka / 2);
    c.pcMin = ceny::MinimalniPC(c.nc, jedna, jedna, c.minMarze, krok).value_or(Decimal());
    return c;
}

} // namespace

// A valid EAN-13 of the shop's own numbering: the country prefix 859, a firm code and the
// product number, then the check digit.
QString Ean13Vyrobku(qint64 cislo) {
    const QString zaklad = QStringLiteral("8591234%1").arg(cislo, 5, 10, QLatin1Char('0'));
    int soucet = 0;
    for (int i = 0; i < 12; ++i)
        soucet += (zaklad[i].unicode() - '0') * (i % 2 ? 3 : 1);
    return zaklad + QChar(u'0' + (10 - soucet % 10) % 10);
}

int NaplnVyrobky(Database& db) {
    vyplnCiselniky(db);
    Table vyr(db, QStringLiteral("Ciselnik\\Vyrobky"));
    vyr.open();
    const QVector<ZdrojVyrobku> zdroj = sortiment();
    QVector<int> citac(std::size(kSkupiny), 0);
    const QDateTime ted = QDateTime::currentDateTime();
    NastaveniProgramu nastaveni;
    nactiNastaveni(db.root(), nastaveni);
    struct Slozka {
        int cislo;
        QString objCis;
        Decimal cena;
    };
    QHash<QString, Slozka> podleNazvu;
    for (const ZdrojVyrobku& z : zdroj) {
        const Skupina& s = kSkupiny[z.skupina];
        const int cislo = 1000 * (z.skupina + 1) + (++citac[z.skupina]);
        const QString objCis = QStringLiteral("%1-%2")
                                   .arg(QString::fromLatin1(s.kod))
                                   .arg(citac[z.skupina], 4, 10, QLatin1Char('0'));
        const Ceny c = ceny(z, s, nastaveni);
        pridej(vyr, {{"Cis_vyr", cislo},
                     {"ObjCis", objCis},
                     {"Nazev", z.nazev},
                     {"Druh_Pol", QStringLiteral("S")},
                     {"DPH", c.dph.toDouble()},
                     {"DruhMn", z.jednotka},
                     {"CenaZa", 1.0},
                     {"Faktor_Bal", 1},
                     {"EAN13", Ean13Vyrobku(cislo)},
                     {"NC_Netto", c.nc.toDouble()},
                     {"PC_Zakl", c.vo.toDouble()},
                     {"MO_Cena", c.mo.toDouble()},
                     {"MO_Marze", c.moMarze.toDouble()},
                     {"Kalk_Prir", c.prirazka.toDouble()},
                     {"Min_Marze", c.minMarze.toDouble()},
                     {"PC_Min", c.pcMin.toDouble()},
                     {"Cis_RabSkp", s.rabatova},
                     {"PC_Vynskup", s.vynosova},
                     {"Kod_Ozn1", QString::fromLatin1(s.kodOzn1)},
                     {"Kod_Ozn2", QStringLiteral("UNI")},
                     {"Cis_Firmy", z.dodavatel},
                     {"Cis_Rada", QString::fromLatin1(s.kod)},
                     {"MinZas", 5.0},
                     {"SklZas_Ks", 0.0},
                     {"SklZas_Kc", 0.0},
                     {"Rezervace", 0.0},
                     {"Objednano", 0.0},
                     {"DisponMn", 0.0},
                     {"Dat_Zmen", ted}});
        podleNazvu.insert(z.nazev, {cislo, objCis, c.vo});
    }
    // The recipes of the paints mixed to order, each component at its wholesale price.
    Table komp(db, QStringLiteral("Ciselnik\\Vyr_Komp"));
    komp.open();
    for (const ZdrojVyrobku& z : zdroj)
        for (const auto& [nazev, mnozstvi] : z.recept) {
            if (!podleNazvu.contains(nazev))
                throw StorageError(
                    StorageErrorKind::Other,
                    QStringLiteral("Složka receptu %1 není v sortimentu.").arg(nazev));
            const Slozka& k = podleNazvu[nazev];
            pridej(komp, {{"Cis_Vyr", podleNazvu[z.nazev].cislo},
                          {"KCisVyr", k.cislo},
                          {"KObjCis", k.objCis},
                          {"KNazev", nazev},
                          {"KStand_Mn", mnozstvi},
                          {"KStand_PC", k.cena.toDouble()}});
        }
    // The product series continue after the numbers given out.
    Table rady(db, QStringLiteral("Ciselnik\\Cis_rada"));
    rady.open();
    for (int s = 0; s < int(std::size(kSkupiny)); ++s)
        if (rady.findKey({QString::fromLatin1(kSkupiny[s].kod)})) {
            rady.edit();
            rady.field(QStringLiteral("Prvni_Cis")).setInteger(1000 * (s + 1) + citac[s]);
            rady.post();
        }
    return int(vyr.recordCount());
}

} // namespace brix::demo
