#pragma once
// A fresh data root for the stock tests: the tables a new root starts with, warehouses 1 to 3,
// products 1 to 5 (5 is not a stock item; 6 does not exist), the data module with the rules of
// the stock documents, a scripted platform, and helpers that write documents the way the entry
// forms do (each item saved in one transaction through the shared cursors, the header's totals
// following).
#include "database.h"
#include "datacis.h"
#include "kontrola_skladu.h"
#include "koren.h"
#include "pravidla_dokladu.h"
#include "scripted_gtest.h"
#include "storage_fixture.h"
#include "table.h"
#include "util/nastaveni.h"
#include "zauctovani.h"

#include <QDate>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace brix::test {

using namespace brix::sklad;

inline Decimal Dec(const char* text) {
    return *Decimal::parse(QString::fromLatin1(text));
}

// Fast writes: the tests do not need every commit on the disk platter.
inline void rychleZapisy(Database& db) {
    db.exec(QStringLiteral("PRAGMA synchronous=OFF"));
}

// A data root prepared for stock work, for the tests and the child processes.
inline void pripravKoren(Database& db) {
    NaplnVychoziTabulky(db);
    Database::Transaction tr(db);
    Table sklady(db, QStringLiteral("Ciselnik\\Sklady"));
    sklady.open();
    for (const char* s : {"2", "3"}) {
        sklady.insert();
        sklady.field(QStringLiteral("Cis_Sklad")).setString(QString::fromLatin1(s));
        sklady.field(QStringLiteral("Nazev")).setString(QStringLiteral("Sklad ") + s);
        sklady.post();
    }
    Table vyr(db, QStringLiteral("Ciselnik\\Vyrobky"));
    vyr.open();
    for (int i = 1; i <= 5; ++i) {
        vyr.insert();
        vyr.field(QStringLiteral("Cis_vyr")).setInteger(i);
        vyr.field(QStringLiteral("ObjCis")).setString(QStringLiteral("OBJ%1").arg(i));
        vyr.field(QStringLiteral("Nazev")).setString(QStringLiteral("Výrobek %1").arg(i));
        vyr.field(QStringLiteral("Druh_Pol")).setString(i == 5 ? "T" : "S");
        vyr.field(QStringLiteral("DPH")).setFloat(21);
        vyr.field(QStringLiteral("Faktor_Bal")).setInteger(1);
        vyr.field(QStringLiteral("Cis_Firmy")).setInteger(1);
        vyr.field(QStringLiteral("NC_Netto")).setFloat(10 * i);
        vyr.field(QStringLiteral("DruhMn")).setString(QStringLiteral("ks"));
        vyr.post();
    }
    Table firmy(db, QStringLiteral("Ciselnik\\Firmy"));
    firmy.open();
    firmy.insert();
    firmy.field(QStringLiteral("Cis_firmy")).setInteger(1);
    firmy.field(QStringLiteral("Zkr_nazev")).setString(QStringLiteral("DODAVATEL"));
    firmy.field(QStringLiteral("Nazev")).setString(QStringLiteral("Dodavatel s.r.o."));
    firmy.field(QStringLiteral("Cis_obor")).setInteger(1);
    firmy.post();
    tr.commit();
}

// What a document item holds.
struct Polozka {
    int porCis = 1;
    qint64 cisVyr = 1;
    QString sklad = QStringLiteral("1");
    Decimal mnozstvi = Decimal(1);
    Decimal cenaSkl;  // receipt and issue: Cena_Skl; goods received: PC_Netto
    Decimal cenaZobr; // Cena_Zobr
    Decimal faktor = Decimal(1);
    QString druhPol; // empty: "S" for products 1 to 4 and 6, "T" for 5
};

inline Polozka pol(int porCis, qint64 cisVyr, const QString& sklad, Decimal mnozstvi,
                   Decimal cenaSkl, Decimal cenaZobr = {}, Decimal faktor = Decimal(1)) {
    Polozka p;
    p.porCis = porCis;
    p.cisVyr = cisVyr;
    p.sklad = sklad;
    p.mnozstvi = mnozstvi;
    p.cenaSkl = cenaSkl;
    p.cenaZobr = cenaZobr;
    p.faktor = faktor;
    return p;
}

// Writes documents through the data module's shared cursors, as the entry forms do.
class Doklady {
public:
    Doklady(TDataCis& dm) : dm_(dm) {}

    Table& hlavicky(const RodinaDokladu& r) { return otevrena(*dm_.tabulka(r.hlavicka)); }
    Table& polozky(const RodinaDokladu& r) { return otevrena(*dm_.tabulka(r.polozky)); }

    // A new open header numbered from the series; `prevod` makes an issue a transfer to
    // warehouse `naSklad`.
    int novy(const RodinaDokladu& r, bool prevod = false, const QString& naSklad = "2",
             const QString& druhCeny = "NC") {
        Table& rady = otevrena(*dm_.TableCisUctu);
        Table& h = hlavicky(r);
        Database::Transaction tr(dm_.database());
        int cislo = int(DalsiCislo(rady, r.typUctu));
        while (h.findKey({cislo}))
            ++cislo;
        h.insert();
        h.field(QStringLiteral("CIS_UCTU")).setInteger(cislo);
        h.field(QStringLiteral("STAV")).setString(QStringLiteral("0"));
        h.field(QStringLiteral("DRUH"))
            .setString(r.druhUctu == 'P'   ? "PRI"
                       : r.druhUctu == 'V' ? (prevod ? "PRE" : "VYD")
                                           : "DLP");
        h.field(QStringLiteral("Dat_Plneni")).setDateTime(QDateTime(QDate(2024, 3, 15), {}));
        h.field(QStringLiteral("Druh_Ceny")).setString(druhCeny);
        h.field(QStringLiteral("Cis_Sklad")).setString(QStringLiteral("1"));
        if (r.druhUctu == 'V') {
            h.field(QStringLiteral("Druh_Dokl")).setString(prevod ? "P" : "V");
            if (prevod) h.field(QStringLiteral("Na_Sklad")).setString(naSklad);
        }
        if (r.druhUctu == 'Z') h.field(QStringLiteral("Cis_Firmy")).setInteger(1);
        h.post();
        zaznamenej(rady, r.typUctu, cislo);
        tr.commit();
        return cislo;
    }

    // Saves the item (new or changed) in one transaction; the header totals follow.
    void uloz(const RodinaDokladu& r, int cisUctu, const Polozka& p) {
        Table& h = hlavicky(r);
        Table& t = polozky(r);
        Database::Transaction tr(dm_.database());
        ASSERT_TRUE(h.findKey({cisUctu}));
        if (t.findKey({cisUctu, p.porCis}))
            t.edit();
        else {
            t.insert();
            t.field(QStringLiteral("PorCis")).setInteger(p.porCis);
            t.field(QStringLiteral("Stav")).setString(QStringLiteral("P"));
        }
        napln(r, t, p);
        t.post();
        prepoctiHlavicku(r, cisUctu);
        tr.commit();
    }

    // Changes fields of a stored item the way a user would change its boxes.
    void zmen(const RodinaDokladu& r, int cisUctu, int porCis,
              const std::function<void(Table&)>& zmena) {
        Table& h = hlavicky(r);
        Table& t = polozky(r);
        Database::Transaction tr(dm_.database());
        ASSERT_TRUE(h.findKey({cisUctu}));
        ASSERT_TRUE(t.findKey({cisUctu, porCis}));
        t.edit();
        zmena(t);
        t.post();
        prepoctiHlavicku(r, cisUctu);
        tr.commit();
    }

    void smaz(const RodinaDokladu& r, int cisUctu, int porCis) {
        Table& h = hlavicky(r);
        Table& t = polozky(r);
        Database::Transaction tr(dm_.database());
        ASSERT_TRUE(h.findKey({cisUctu}));
        ASSERT_TRUE(t.findKey({cisUctu, porCis}));
        t.remove();
        prepoctiHlavicku(r, cisUctu);
        tr.commit();
    }

    void smazDoklad(const RodinaDokladu& r, int cisUctu) {
        Table& h = hlavicky(r);
        Database::Transaction tr(dm_.database());
        ASSERT_TRUE(h.findKey({cisUctu}));
        h.remove();
        tr.commit();
    }

    // The header's totals from its items, as the entry forms keep them.
    void prepoctiHlavicku(const RodinaDokladu& r, int cisUctu) {
        Table& h = hlavicky(r);
        Table& t = polozky(r);
        ASSERT_TRUE(h.findKey({cisUctu}));
        std::vector<Decimal> soucty(r.soucty.size());
        for (t.first(); !t.eof() && t.hasRecord(); t.next())
            for (size_t i = 0; i < soucty.size(); ++i)
                soucty[i] += t.field(r.soucty[i].second).asDecimal();
        h.edit();
        for (size_t i = 0; i < soucty.size(); ++i)
            h.field(r.soucty[i].first).setDecimal(soucty[i]);
        h.post();
    }

    static void napln(const RodinaDokladu& r, Table& t, const Polozka& p) {
        t.field(QStringLiteral("Cis_Vyr")).setInteger(p.cisVyr);
        t.field(QStringLiteral("ObjCis")).setString(QStringLiteral("OBJ%1").arg(p.cisVyr));
        t.field(QStringLiteral("Cis_Sklad")).setString(p.sklad);
        t.field(QStringLiteral("Mnozstvi")).setDecimal(p.mnozstvi);
        t.field(QStringLiteral("Faktor")).setDecimal(p.faktor);
        t.field(QStringLiteral("Druh_Pol"))
            .setString(!p.druhPol.isEmpty() ? p.druhPol
                       : p.cisVyr == 5      ? "T"
                                            : "S");
        if (r.druhUctu == 'Z') {
            t.field(QStringLiteral("PC_Netto")).setDecimal(p.cenaSkl);
            t.field(QStringLiteral("PC_NettoC")).setDecimal(p.cenaSkl * p.mnozstvi);
        } else {
            t.field(QStringLiteral("Cena_Skl")).setDecimal(p.cenaSkl);
            t.field(QStringLiteral("Cena_SklC")).setDecimal(p.cenaSkl * p.mnozstvi);
            t.field(QStringLiteral("Cena_Zobr")).setDecimal(p.cenaZobr);
            t.field(QStringLiteral("Cena_ZobrC")).setDecimal(p.cenaZobr * p.mnozstvi);
        }
    }

    static qint64 DalsiCislo(Table& rady, const QString& typ) {
        rady.refresh();
        LocateOptions o;
        o.caseInsensitive = true;
        if (!rady.locate(QStringLiteral("Typ_Uctu"), {typ}, o)) return 1;
        return rady.field(QStringLiteral("PrvCis")).asInteger();
    }
    static void zaznamenej(Table& rady, const QString& typ, int cislo) {
        LocateOptions o;
        o.caseInsensitive = true;
        if (!rady.locate(QStringLiteral("Typ_Uctu"), {typ}, o)) return;
        rady.edit();
        if (rady.field(QStringLiteral("PrvCis")).asInteger() <= cislo) {
            rady.field(QStringLiteral("PrvCis")).setInteger(cislo + 1);
            rady.post();
        } else {
            rady.cancel();
        }
    }

private:
    static Table& otevrena(Table& t) {
        if (!t.active()) t.open();
        return t;
    }
    TDataCis& dm_;
};

class SkladTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        db = Database::open(dir.path());
        rychleZapisy(*db);
        pripravKoren(*db);
        ui.setOkBoxesAnswered(true);
        nastaveniProgramu() = NastaveniProgramu();
        dm = std::make_unique<TDataCis>(*db);
        InstalujPravidlaSkladovychDokladu(*dm, [this] { return nastaveni; });
        kontext = std::make_unique<KontextPohybu>(*db, nastaveni);
        doklady = std::make_unique<Doklady>(*dm);
    }
    void TearDown() override {
        kontrolor.reset();
        kurzory.clear();
        doklady.reset();
        kontext.reset();
        dm.reset();
        db.reset();
        nastaveniProgramu() = NastaveniProgramu();
    }

    void setRezervace(bool on) {
        nastaveni.rezervace = on;
        kontext->setNastaveni(nastaveni);
    }

    VysledekPohybu uzavri(const RodinaDokladu& r, int cis) {
        Table& h = kurzor(r.hlavicka);
        EXPECT_TRUE(h.findKey({cis}));
        return Zauctovani(*kontext, r).uzavri(cis, stavHlavicky(h));
    }
    VysledekPohybu stornuj(const RodinaDokladu& r, int cis) {
        return Zauctovani(*kontext, r).stornuj(cis);
    }

    QStringList kontrola() {
        NastaveniKontroly n;
        n.rezervace = nastaveni.rezervace;
        if (!kontrolor) kontrolor = std::make_unique<KontrolorSkladu>(*db);
        return kontrolor->proved(n);
    }

    struct Stav {
        Decimal ks, kc, rezervace;
        bool operator==(const Stav&) const = default;
    };
    Stav zasoba(qint64 cisVyr, const QString& sklad) {
        Stav s;
        kontext->stavZasoby(cisVyr, sklad, &s.ks, &s.kc, &s.rezervace);
        return s;
    }
    Stav vyrobek(qint64 cisVyr) {
        Table& v = kurzor(QStringLiteral("Ciselnik\\Vyrobky"));
        EXPECT_TRUE(v.findKey({cisVyr}));
        return {v.field(QStringLiteral("SklZas_Ks")).asDecimal(),
                v.field(QStringLiteral("SklZas_Kc")).asDecimal(),
                v.field(QStringLiteral("Rezervace")).asDecimal()};
    }
    // The ledger records of a document: "P_V sklad množství hodnota" each.
    QStringList denik(QChar druh, int cis) {
        Table t(*db, QStringLiteral("Sklady\\SklPol"));
        t.setIndexName(QStringLiteral("CisUctu"));
        t.open();
        t.setRange({QString(druh), cis}, {QString(druh), cis});
        QStringList out;
        for (t.first(); !t.eof() && t.hasRecord(); t.next())
            out << QStringLiteral("%1 %2 %3 %4 %5")
                       .arg(t.field(QStringLiteral("PorCis")).asInteger())
                       .arg(t.field(QStringLiteral("P_V")).asString(),
                            t.field(QStringLiteral("Cis_Sklad")).asString(),
                            t.field(QStringLiteral("Mnozstvi")).asDecimal().toShortString(),
                            t.field(QStringLiteral("SklCena")).asDecimal().toShortString());
        return out;
    }
    QString stavPolozky(const RodinaDokladu& r, int cis, int porCis) {
        Table& t = kurzor(r.polozky);
        EXPECT_TRUE(t.findKey({cis, porCis}));
        return t.field(QStringLiteral("Stav")).asString();
    }
    QString stavDokladu(const RodinaDokladu& r, int cis) {
        Table& t = kurzor(r.hlavicka);
        EXPECT_TRUE(t.findKey({cis}));
        return t.field(QStringLiteral("STAV")).asString();
    }
    QStringList texty(const VysledekPohybu& v) {
        QStringList out;
        for (const Zprava& z : v.zpravy)
            out << z.caption + ": " + z.text;
        return out;
    }

    // In memory where the system has a memory file system: the tests write a lot.
    QTemporaryDir dir{QDir(QStringLiteral("/dev/shm")).exists()
                          ? QStringLiteral("/dev/shm/brix-stock-XXXXXX")
                          : QDir::tempPath() + QStringLiteral("/brix-stock-XXXXXX")};
    std::unique_ptr<Database> db;
    TestPlatform ui;
    NastaveniPohybu nastaveni;
    std::unique_ptr<TDataCis> dm;
    std::unique_ptr<KontextPohybu> kontext;
    std::unique_ptr<Doklady> doklady;
    std::unique_ptr<KontrolorSkladu> kontrolor;
    std::map<QString, std::unique_ptr<Table>> kurzory;

    // A cursor of the test's own, kept for the test, in primary order and refreshed.
    Table& kurzor(const QString& adresa) {
        auto& t = kurzory[adresa];
        if (!t) {
            t = std::make_unique<Table>(*db, adresa);
            t->setIndexName(QString());
        }
        if (!t->active()) t->open();
        t->cancelRange();
        t->refresh();
        return *t;
    }
};

} // namespace brix::test
