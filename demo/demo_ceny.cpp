#include "demo_ceny.h"

#include "ceny_vyrobku.h"
#include "database.h"
#include "demo_vyrobky.h"
#include "demo_zaklad.h"
#include "table.h"
#include "util/nastaveni.h"

#include <QRegularExpression>

#include <cmath>
#include <vector>

namespace brix::demo {

namespace {

// The numbers of the products of a code designation 1, in number order.
std::vector<qint64> vyrobkySkupiny(Table& vyr, const char* kodOzn1) {
    std::vector<qint64> cisla;
    for (vyr.first(); !vyr.eof() && vyr.hasRecord(); vyr.next())
        if (vyr.field(QStringLiteral("Kod_Ozn1")).asString() == QLatin1String(kodOzn1))
            cisla.push_back(vyr.field(QStringLiteral("Cis_vyr")).asInteger());
    return cisla;
}

// Tiers: threshold and rebate of up to three tiers.
struct Stupne {
    double mn1, rab1, mn2, rab2, mn3, rab3;
};

int mnozstevniRabaty(Table& vyr) {
    int n = 0;
    auto nastavStupne = [&](qint64 cislo, const Stupne& s) {
        if (!vyr.findKey({cislo})) return;
        vyr.edit();
        nastav(vyr, QStringLiteral("PC_MnRab1"), s.mn1);
        nastav(vyr, QStringLiteral("PC_Rab1"), s.rab1);
        nastav(vyr, QStringLiteral("Pc_MnRab2"), s.mn2);
        nastav(vyr, QStringLiteral("PC_Rab2"), s.rab2);
        nastav(vyr, QStringLiteral("PC_MnRab3"), s.mn3);
        nastav(vyr, QStringLiteral("PC_Rab3"), s.rab3);
        vyr.post();
        ++n;
    };
    // Enamels: 3 % from 6 cans, 5 % from 12, 8 % from 24.
    const std::vector<qint64> emaily = vyrobkySkupiny(vyr, "SYNTETIKA");
    for (size_t i = 0; i < emaily.size() && i < 8; ++i)
        nastavStupne(emaily[i], {6, 3, 12, 5, 24, 8});
    // Brushes and rollers by the dozen; one product with a special rebate agreed by hand.
    const std::vector<qint64> naradi = vyrobkySkupiny(vyr, "NARADI");
    for (size_t i = 0; i < naradi.size() && i < 3; ++i)
        nastavStupne(naradi[i], {12, 5, 0, 0, 0, 0});
    if (naradi.size() > 3) nastavStupne(naradi[3], {10, 4, 50, -100, 0, 0});
    return n;
}

// The thinners: the volume from the pack in the name ("... 4 l"), the excise duty of mineral
// solvents per litre, and their customs tariff.
int redidla(Table& vyr) {
    static const QRegularExpression baleni(QStringLiteral("(\\d+(?:,\\d+)?) l$"));
    int n = 0;
    for (qint64 cislo : vyrobkySkupiny(vyr, "REDIDLA")) {
        if (!vyr.findKey({cislo})) continue;
        const QRegularExpressionMatch m =
            baleni.match(vyr.field(QStringLiteral("Nazev")).asString());
        if (!m.hasMatch()) continue;
        const double litru = m.captured(1).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
        vyr.edit();
        nastav(vyr, QStringLiteral("Objem"), litru);
        nastav(vyr, QStringLiteral("Spotr_Dan"), 12.84);
        nastav(vyr, QStringLiteral("Cis_CelSaz"), QStringLiteral("38140090"));
        vyr.post();
        ++n;
    }
    return n;
}

// A customer in Slovakia invoiced in euros, numbered after the partners there are.
int zakaznikEUR(Database& db) {
    Table fir(db, QStringLiteral("Ciselnik\\Firmy"));
    fir.setIndexName(QString());
    fir.open();
    fir.last();
    const int cislo =
        fir.hasRecord() ? int(fir.field(QStringLiteral("Cis_firmy")).asInteger()) + 1 : 1;
    pridej(fir, {{"Cis_firmy", cislo},
                 {"Nazev", QStringLiteral("Farby Trnava s.r.o.")},
                 {"Zkr_nazev", QStringLiteral("Farby Trnava")},
                 {"ICO", QStringLiteral("36254791")},
                 {"DIC", QStringLiteral("SK2020187652")},
                 {"Ulice", QStringLiteral("Hlavná 12")},
                 {"Mesto", QStringLiteral("Trnava")},
                 {"PSC", QStringLiteral("91701")},
                 {"Uc_jednotka", true},
                 {"Cis_obor", 8},
                 {"PC_skonto", 2},
                 {"Kod_Meny", QStringLiteral("EUR")},
                 {"Druh", QStringLiteral("O")},
                 {"Platce_DPH", true},
                 {"Tlf1", QStringLiteral("+421 33 551 2040")},
                 {"Kontakt1", QStringLiteral("Ing. Peter Kováč")},
                 {"Mail_Box", QStringLiteral("objednavky@farbytrnava.sk")},
                 {"Dealer", QStringLiteral("NOVÁKOVÁ")},
                 {"Max_dluh", 40000.0},
                 {"Zpus_platby", QStringLiteral("PŘEVODEM")}});
    return cislo;
}

// Agreed prices: a builder's merchant, a painter and the euro customer, each on a few products
// a little below the wholesale price (in euros for the euro customer too).
int cenyZakazniku(Database& db, Table& vyr, int eurZakaznik) {
    Table cenik(db, QStringLiteral("Ciselnik\\Cenik_Zak"));
    cenik.open();
    const std::vector<qint64> disperze = vyrobkySkupiny(vyr, "DISPERZE");
    const std::vector<qint64> laky = vyrobkySkupiny(vyr, "LAKY");
    const std::vector<qint64> redidla = vyrobkySkupiny(vyr, "REDIDLA");
    struct Zakaznik {
        int firma;
        const std::vector<qint64>* vyrobky;
        double sleva; // below the wholesale price
    };
    const Zakaznik zakaznici[] = {
        {5, &disperze, 0.08}, {6, &laky, 0.05}, {eurZakaznik, &redidla, 0.1}};
    int n = 0;
    for (const Zakaznik& z : zakaznici)
        for (size_t i = 0; i < z.vyrobky->size() && i < 5; ++i) {
            const qint64 cislo = (*z.vyrobky)[i];
            if (!vyr.findKey({cislo})) continue;
            const double vo = vyr.field(QStringLiteral("PC_Zakl")).asFloat();
            const double cena = zaokrouhli(vo * (1 - z.sleva), 0.1);
            pridej(cenik, {{"Cis_Vyr", cislo},
                           {"Cis_Firmy", z.firma},
                           {"PC_ZAKL", cena},
                           {"PC_ZAKLC", zaokrouhli(cena / 25.0, 0.01)}});
            ++n;
        }
    return n;
}

// Every product's prices as its entry page keeps them: a markup that does not give the stored
// wholesale or retail price is computed from the price (the price stays), a product without a
// minimum price gets one at half its markup, one without an EAN-13 gets the shop's own.
int cenyDleFormulare(Table& vyr, const NastaveniProgramu& nastaveni) {
    const Decimal krok = nastaveni.ZaokrCen;
    int n = 0;
    for (vyr.first(); !vyr.eof() && vyr.hasRecord(); vyr.next()) {
        auto d = [&](const char* pole) { return vyr.field(QString::fromLatin1(pole)).asDecimal(); };
        const Decimal nc = d("NC_Netto"), f = d("Faktor_Bal"), cz = d("CenaZa"), dph = d("DPH");
        if (nc.isZero() || f.isZero() || cz.isZero()) continue;
        bool zmena = false;
        vyr.edit();
        Decimal prirazka = d("Kalk_Prir");
        if (ceny::CenaVOzPrirazky(nc, f, cz, prirazka, krok) != d("PC_Zakl")) {
            prirazka = ceny::PrirazkaVOzCeny(d("PC_Zakl"), nc, f, cz);
            vyr.field(QStringLiteral("Kalk_Prir")).setDecimal(prirazka);
            // The wholesale price as the markup gives it (a cent off at most).
            if (const std::optional<Decimal> vo = ceny::CenaVOzPrirazky(nc, f, cz, prirazka, krok))
                vyr.field(QStringLiteral("PC_Zakl")).setDecimal(*vo);
            zmena = true;
        }
        if (ceny::UrciMOCenu(nc, f, cz, d("MO_Marze"), dph) != d("MO_Cena")) {
            const Decimal marze = ceny::MarzeMOzCeny(d("MO_Cena"), nc, f, cz, dph);
            vyr.field(QStringLiteral("MO_Marze")).setDecimal(marze);
            if (const std::optional<Decimal> mo = ceny::UrciMOCenu(nc, f, cz, marze, dph))
                vyr.field(QStringLiteral("MO_Cena")).setDecimal(*mo);
            zmena = true;
        }
        if (d("PC_Min").isZero()) {
            const Decimal minMarze = Decimal::fromDouble(std::floor(prirazka.toDouble() / 2));
            vyr.field(QStringLiteral("Min_Marze")).setDecimal(minMarze);
            vyr.field(QStringLiteral("PC_Min"))
                .setDecimal(ceny::MinimalniPC(nc, f, cz, minMarze, krok).value_or(Decimal()));
            zmena = true;
        }
        if (vyr.field(QStringLiteral("EAN13")).asString().isEmpty()) {
            vyr.field(QStringLiteral("EAN13"))
                .setString(Ean13Vyrobku(vyr.field(QStringLiteral("Cis_vyr")).asInteger()));
            zmena = true;
        }
        if (zmena) {
            vyr.post();
            ++n;
        } else {
            vyr.cancel();
        }
    }
    return n;
}

} // namespace

CenyDema NaplnCeny(Database& db) {
    CenyDema c;
    Table vyr(db, QStringLiteral("Ciselnik\\Vyrobky"));
    vyr.setIndexName(QString());
    vyr.open();
    NastaveniProgramu nastaveni;
    nactiNastaveni(db.root(), nastaveni);
    c.dorovnanychCen = cenyDleFormulare(vyr, nastaveni);
    c.mnozstevnichRabatu = mnozstevniRabaty(vyr);
    c.redidel = redidla(vyr);
    c.zakaznikEUR = zakaznikEUR(db);
    c.cenZakazniku = cenyZakazniku(db, vyr, c.zakaznikEUR);
    return c;
}

} // namespace brix::demo
