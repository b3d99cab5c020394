#include "demo_sklad.h"

#include "database.h"
#include "datacis.h"
#include "demo.h"
#include "demo_zaklad.h"
#include "number_series.h"
#include "pravidla_dokladu.h"
#include "zauctovani.h"

#include <QDate>

namespace brix::demo {

namespace {

struct Vyrobek {
    QVariant cislo;
    QString objCis, nazev, kodOzn1, kodOzn2, jednotka;
    double nakupni;
};

struct Radek {
    const Vyrobek* vyrobek;
    double mnozstvi;
};

// A receipt into the warehouse, saved item by item as the entry form saves it (each item's
// reservation follows it), with its header totals; answers its number.
int prijemka(TDataCis& dm, Table& sklad, const QDate& datum, const QString& text,
             const std::vector<Radek>& radky) {
    Table& h = *dm.TableHlaPrij;
    Table& p = *dm.TablePolPrij;
    const int cislo = DalsiCisloUctu(*dm.TableCisUctu, QStringLiteral("C"), "PRI", -1);
    h.insert();
    nastav(h, QStringLiteral("CIS_UCTU"), cislo);
    nastav(h, QStringLiteral("STAV"), QStringLiteral("0"));
    nastav(h, QStringLiteral("DRUH"), QStringLiteral("PRI"));
    nastav(h, QStringLiteral("Vystavil"), QString::fromUtf16(kDemoSpravce));
    nastav(h, QStringLiteral("Dat_Vystaveni"), QDateTime(datum, QTime(8, 0)));
    nastav(h, QStringLiteral("Dat_Plneni"), QDateTime(datum, QTime(8, 0)));
    nastav(h, QStringLiteral("Druh_Ceny"), QStringLiteral("NC"));
    nastav(h, QStringLiteral("Hlavicka"), text.toUtf8());
    const QString cisSklad = sklad.field(QStringLiteral("Cis_Sklad")).asString();
    nastav(h, QStringLiteral("Cis_Sklad"), cisSklad);
    for (const char* pole : {"Nazev", "Ulice", "Mesto", "PSC"})
        nastav(h, QString::fromLatin1(pole), sklad.field(QString::fromLatin1(pole)).value());
    nastav(h, QStringLiteral("Telefon"), sklad.field(QStringLiteral("Tlf")).value());
    h.post();
    DalsiCisloUctu(*dm.TableCisUctu, QStringLiteral("C"), "PRI", cislo);
    Decimal skl, zobr;
    int porCis = 0;
    for (const Radek& r : radky) {
        const Decimal q = Decimal::fromDouble(r.mnozstvi);
        const Decimal cena = Decimal::fromDouble(r.vyrobek->nakupni);
        p.insert();
        nastav(p, QStringLiteral("PorCis"), ++porCis);
        nastav(p, QStringLiteral("Stav"), QStringLiteral("P"));
        nastav(p, QStringLiteral("Cis_Vyr"), r.vyrobek->cislo);
        nastav(p, QStringLiteral("ObjCis"), r.vyrobek->objCis);
        nastav(p, QStringLiteral("Nazev"), r.vyrobek->nazev);
        nastav(p, QStringLiteral("Kod_Ozn1"), r.vyrobek->kodOzn1);
        nastav(p, QStringLiteral("Kod_Ozn2"), r.vyrobek->kodOzn2);
        nastav(p, QStringLiteral("DruhMn"), r.vyrobek->jednotka);
        nastav(p, QStringLiteral("Cis_Sklad"), cisSklad);
        nastav(p, QStringLiteral("Druh_Pol"), QStringLiteral("S"));
        nastav(p, QStringLiteral("Faktor"), 1);
        nastav(p, QStringLiteral("Mnozstvi"), q.toDouble());
        nastav(p, QStringLiteral("Zakl_Cena_Zobr"), cena.toDouble());
        nastav(p, QStringLiteral("Rabat"), 0);
        nastav(p, QStringLiteral("Cena_Zobr"), cena.toDouble());
        nastav(p, QStringLiteral("Cena_ZobrC"), (q * cena).toDouble());
        nastav(p, QStringLiteral("Cena_Skl"), cena.toDouble());
        nastav(p, QStringLiteral("Cena_SklC"), (q * cena).toDouble());
        p.post();
        skl += q * cena;
        zobr += q * cena;
    }
    h.edit();
    nastav(h, QStringLiteral("Cena_SklCelk"), skl.toDouble());
    nastav(h, QStringLiteral("Cena_ZobrCelk"), zobr.toDouble());
    h.post();
    return cislo;
}

// Posts through the engine; a refusal or failure stops the demo.
void proved(const sklad::VysledekPohybu& v) {
    if (v.ok()) return;
    throw StorageError(StorageErrorKind::Other, v.zpravy.empty()
                                                    ? QStringLiteral("Příjemku nelze uzavřít.")
                                                    : v.zpravy.back().text);
}

} // namespace

void NaplnSklad(Database& db) {
    TDataCis dm(db);
    sklad::InstalujPravidlaSkladovychDokladu(dm, [] { return sklad::NastaveniPohybu(); });
    sklad::KontextPohybu kontext(db, sklad::NastaveniPohybu());
    const sklad::RodinaDokladu& rodina = sklad::RodinaDokladu::prijemka();

    std::vector<Vyrobek> vyrobky;
    {
        Table vyr(db, QStringLiteral("Ciselnik\\Vyrobky"));
        vyr.setIndexName(QString());
        vyr.open();
        for (vyr.first(); !vyr.eof(); vyr.next())
            vyrobky.push_back({vyr.field(QStringLiteral("Cis_vyr")).value(),
                               vyr.field(QStringLiteral("ObjCis")).asString(),
                               vyr.field(QStringLiteral("Nazev")).asString(),
                               vyr.field(QStringLiteral("Kod_Ozn1")).asString(),
                               vyr.field(QStringLiteral("Kod_Ozn2")).asString(),
                               vyr.field(QStringLiteral("DruhMn")).asString(),
                               vyr.field(QStringLiteral("NC_Netto")).asFloat()});
    }
    for (Table* t : {dm.TableHlaPrij, dm.TablePolPrij, dm.TableCisUctu, dm.TableSklady})
        t->open();
    Table& sklady = *dm.TableSklady;
    const QDate zacatekRoku(QDate::currentDate().year(), 1, 1);

    // The opening stock of each warehouse: the shop keeps every product, the two others part of
    // the assortment.
    for (int sklad = 1; sklad <= 3; ++sklad) {
        if (!sklady.findKey({QString::number(sklad)})) continue;
        std::vector<Radek> radky;
        for (size_t i = 0; i < vyrobky.size(); ++i) {
            if (sklad == 2 && i % 3 == 0) continue;
            if (sklad == 3 && i % 2 == 1) continue;
            radky.push_back(
                {&vyrobky[i], double((int(i) * 7 + sklad * 13) % 40 + (sklad == 2 ? 20 : 2))});
        }
        const int c =
            prijemka(dm, sklady, zacatekRoku, QStringLiteral("Počáteční stav skladu"), radky);
        proved(sklad::Zauctovani(kontext, rodina).uzavri(c, QStringLiteral("0")));
    }
    if (vyrobky.size() < 6 || !sklady.findKey({QStringLiteral("1")})) return;
    const QDate dnes = QDate::currentDate();
    // A receipt still open: its goods are expected and reserved.
    prijemka(dm, sklady, dnes, QStringLiteral("Vrácené zboží z akce"),
             {{&vyrobky[0], 4}, {&vyrobky[1], 2}, {&vyrobky[5], 10}});
    // A receipt closed and reversed: open again for its correction.
    if (!sklady.findKey({QStringLiteral("2")})) return;
    const int storno = prijemka(dm, sklady, dnes, QStringLiteral("Přeskladnění - oprava"),
                                {{&vyrobky[2], 6}, {&vyrobky[4], 12}});
    proved(sklad::Zauctovani(kontext, rodina).uzavri(storno, QStringLiteral("0")));
    proved(sklad::Zauctovani(kontext, rodina).stornuj(storno));
    for (Table* t : {dm.TableHlaPrij, dm.TablePolPrij, dm.TableCisUctu, dm.TableSklady})
        t->close();
}

} // namespace brix::demo
