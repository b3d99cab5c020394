// Closing a receipt of 100 items (stock levels, product totals, ledger records, item states,
// the header), correcting it by closing it again, each against raw SQLite doing the same reads
// and writes in one transaction; and an item saved through the entry controller (the item, its
// reservation and the header's totals in one transaction).
#include "ceny_datacis.h"
#include "database.h"
#include "datacis.h"
#include "koren.h"
#include "pravidla_dokladu.h"
#include "rizeni_dokladu.h"
#include "table.h"
#include "util/nastaveni.h"
#include "zauctovani.h"

#include <QDate>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace brix;
using brix::sklad::KontextPohybu;
using brix::sklad::NastaveniPohybu;
using brix::sklad::Zauctovani;
using Rodina = brix::sklad::RodinaDokladu;

namespace {

constexpr int kPolozek = 100;
constexpr int kPrijemka = 1;

struct Data {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    NastaveniPohybu nastaveni;

    Data() {
        db = Database::open(dir.path());
        db->exec(QStringLiteral("PRAGMA synchronous=OFF"));
        NaplnVychoziTabulky(*db);
        Database::Transaction tx(*db);
        Table firmy(*db, QStringLiteral("Ciselnik\\Firmy"));
        firmy.open();
        firmy.insert();
        firmy.field(QStringLiteral("Cis_firmy")).setInteger(1);
        firmy.field(QStringLiteral("Zkr_nazev")).setString(QStringLiteral("DODAVATEL"));
        firmy.field(QStringLiteral("Nazev")).setString(QStringLiteral("Dodavatel s.r.o."));
        firmy.field(QStringLiteral("Cis_obor")).setInteger(1);
        firmy.post();
        Table vyr(*db, QStringLiteral("Ciselnik\\Vyrobky"));
        vyr.open();
        for (int i = 1; i <= kPolozek; ++i) {
            vyr.insert();
            vyr.field(QStringLiteral("Cis_vyr")).setInteger(i);
            vyr.field(QStringLiteral("ObjCis")).setString(QStringLiteral("OBJ%1").arg(i));
            vyr.field(QStringLiteral("Nazev")).setString(QStringLiteral("Výrobek %1").arg(i));
            vyr.field(QStringLiteral("Druh_Pol")).setString(QStringLiteral("S"));
            vyr.field(QStringLiteral("DPH")).setFloat(21);
            vyr.field(QStringLiteral("NC_Netto")).setFloat(10);
            vyr.field(QStringLiteral("Faktor_Bal")).setInteger(1);
            vyr.field(QStringLiteral("Cis_Firmy")).setInteger(1);
            vyr.field(QStringLiteral("DruhMn")).setString(QStringLiteral("ks"));
            vyr.post();
        }
        const Rodina& r = Rodina::prijemka();
        Table h(*db, r.hlavicka);
        h.open();
        h.insert();
        h.field(QStringLiteral("CIS_UCTU")).setInteger(kPrijemka);
        h.field(QStringLiteral("STAV")).setString(QStringLiteral("0"));
        h.field(QStringLiteral("DRUH")).setString(QStringLiteral("PRI"));
        h.field(QStringLiteral("Druh_Ceny")).setString(QStringLiteral("NC"));
        h.field(QStringLiteral("Cis_Sklad")).setString(QStringLiteral("1"));
        h.field(QStringLiteral("Dat_Plneni")).setDateTime(QDateTime(QDate(2024, 3, 15), {}));
        h.field(QStringLiteral("Cena_SklCelk")).setDecimal(Decimal(50 * kPolozek));
        h.field(QStringLiteral("Cena_ZobrCelk")).setDecimal(Decimal(50 * kPolozek));
        h.post();
        Table p(*db, r.polozky);
        p.open();
        for (int i = 1; i <= kPolozek; ++i) {
            p.insert();
            p.field(QStringLiteral("CIS_UCTU")).setInteger(kPrijemka);
            p.field(QStringLiteral("PorCis")).setInteger(i);
            p.field(QStringLiteral("Cis_Vyr")).setInteger(i);
            p.field(QStringLiteral("ObjCis")).setString(QStringLiteral("OBJ%1").arg(i));
            p.field(QStringLiteral("Cis_Sklad")).setString(QStringLiteral("1"));
            p.field(QStringLiteral("Mnozstvi")).setDecimal(Decimal(5));
            p.field(QStringLiteral("Cena_Skl")).setDecimal(Decimal(10));
            p.field(QStringLiteral("Cena_SklC")).setDecimal(Decimal(50));
            p.field(QStringLiteral("Cena_Zobr")).setDecimal(Decimal(10));
            p.field(QStringLiteral("Cena_ZobrC")).setDecimal(Decimal(50));
            p.field(QStringLiteral("Faktor")).setDecimal(Decimal(1));
            p.field(QStringLiteral("Druh_Pol")).setString(QStringLiteral("S"));
            p.field(QStringLiteral("Stav")).setString(QStringLiteral("P"));
            p.post();
        }
        tx.commit();
    }
};

Data& data() {
    static Data d;
    return d;
}

QString stav() {
    Table h(*data().db, Rodina::prijemka().hlavicka);
    h.open();
    h.findKey({kPrijemka});
    return h.field(QStringLiteral("STAV")).asString();
}

void BM_ReceiptClose100(benchmark::State& state) {
    KontextPohybu k(*data().db, data().nastaveni);
    Zauctovani z(k, Rodina::prijemka());
    for (auto _ : state) {
        state.PauseTiming();
        if (stav() == QLatin1String("2")) z.stornuj(kPrijemka);
        const QString s = stav();
        state.ResumeTiming();
        if (!z.uzavri(kPrijemka, s).ok()) state.SkipWithError("not closed");
    }
}

void BM_ReceiptCorrect100(benchmark::State& state) {
    KontextPohybu k(*data().db, data().nastaveni);
    Zauctovani z(k, Rodina::prijemka());
    if (stav() != QLatin1String("2")) z.uzavri(kPrijemka, stav());
    for (auto _ : state)
        if (!z.uzavri(kPrijemka, QStringLiteral("2")).ok()) state.SkipWithError("not corrected");
}

// Raw SQLite: the statements of a closing, prepared once per run as the engine's cursors are.
struct Raw {
    sqlite3* h;
    QString hla, pol, zas, vyr, den;
    explicit Raw(Database& db)
        : h(db.handle()), hla(db.table(Rodina::prijemka().hlavicka).sqlName),
          pol(db.table(Rodina::prijemka().polozky).sqlName),
          zas(db.table(QStringLiteral("Sklady\\SklZas")).sqlName),
          vyr(db.table(QStringLiteral("Ciselnik\\Vyrobky")).sqlName),
          den(db.table(QStringLiteral("Sklady\\SklPol")).sqlName) {}
    sqlite3_stmt* prepare(const QString& sql) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(h, sql.toUtf8().constData(), -1, &s, nullptr);
        return s;
    }
};

void BM_ReceiptClose100Raw(benchmark::State& state) {
    Database& db = *data().db;
    Raw r(db);
    sqlite3_stmt* hlavicka = r.prepare(
        QStringLiteral("SELECT STAV, Dat_Plneni FROM \"%1\" WHERE CIS_UCTU = ?").arg(r.hla));
    sqlite3_stmt* polozky =
        r.prepare(QStringLiteral("SELECT PorCis, Cis_Vyr, ObjCis, Cis_Sklad, Mnozstvi, Cena_Skl, "
                                 "Faktor, Cena_ZobrC, Druh_Pol, Stav, rowid FROM \"%1\" WHERE "
                                 "CIS_UCTU = ? ORDER BY PorCis")
                      .arg(r.pol));
    sqlite3_stmt* vyrobek = r.prepare(
        QStringLiteral("SELECT SklZas_Ks, SklZas_Kc, Rezervace FROM \"%1\" WHERE Cis_vyr = ?")
            .arg(r.vyr));
    sqlite3_stmt* zasoba =
        r.prepare(QStringLiteral("SELECT SklZas_ks, SklZas_kc, Rezervace, rowid FROM \"%1\" "
                                 "WHERE Cis_Vyr = ? AND Cis_Sklad = ?")
                      .arg(r.zas));
    sqlite3_stmt* zasobaZapis =
        r.prepare(QStringLiteral("UPDATE \"%1\" SET SklZas_ks = ?, SklZas_kc = ?, Rezervace = ?, "
                                 "Posl_Zmena = ? WHERE rowid = ?")
                      .arg(r.zas));
    sqlite3_stmt* vyrobekZapis = r.prepare(
        QStringLiteral("UPDATE \"%1\" SET SklZas_Ks = ?, SklZas_Kc = ?, Rezervace = ? WHERE "
                       "Cis_vyr = ?")
            .arg(r.vyr));
    sqlite3_stmt* denik = r.prepare(
        QStringLiteral("INSERT INTO \"%1\" (Cis_Uctu, PorCis, Druh_Uctu, Dat_Plneni, P_V, "
                       "Cis_Vyr, Cis_Sklad, Mnozstvi, SklCena, PCena) VALUES (?, ?, 'X', ?, "
                       "'P', ?, ?, ?, ?, ?)")
            .arg(r.den));
    sqlite3_stmt* polozkaZapis =
        r.prepare(QStringLiteral("UPDATE \"%1\" SET Stav = 'V' WHERE rowid = ?").arg(r.pol));
    sqlite3_stmt* hlavickaZapis =
        r.prepare(QStringLiteral("UPDATE \"%1\" SET STAV = '2' WHERE CIS_UCTU = ?").arg(r.hla));
    sqlite3_stmt* uklid =
        r.prepare(QStringLiteral("DELETE FROM \"%1\" WHERE Druh_Uctu = 'X'").arg(r.den));
    // The stock rows exist after the first closing of the engine's benchmark; make sure.
    {
        KontextPohybu k(db, data().nastaveni);
        Zauctovani z(k, Rodina::prijemka());
        if (stav() != QLatin1String("2")) z.uzavri(kPrijemka, stav());
    }
    for (auto _ : state) {
        Database::Transaction tx(db);
        sqlite3_bind_int(hlavicka, 1, kPrijemka);
        sqlite3_step(hlavicka);
        const QByteArray datum(reinterpret_cast<const char*>(sqlite3_column_text(hlavicka, 1)));
        sqlite3_reset(hlavicka);
        sqlite3_bind_int(polozky, 1, kPrijemka);
        while (sqlite3_step(polozky) == SQLITE_ROW) {
            const qint64 cisVyr = sqlite3_column_int64(polozky, 1);
            const QByteArray sklad(reinterpret_cast<const char*>(sqlite3_column_text(polozky, 3)));
            const double q = sqlite3_column_double(polozky, 4);
            const double f = sqlite3_column_double(polozky, 6);
            const double v = sqlite3_column_double(polozky, 5) / (f != 0 ? f : 1) * q;
            sqlite3_bind_int64(vyrobek, 1, cisVyr);
            sqlite3_step(vyrobek);
            const double vks = sqlite3_column_double(vyrobek, 0);
            const double vkc = sqlite3_column_double(vyrobek, 1);
            const double vrez = sqlite3_column_double(vyrobek, 2);
            sqlite3_reset(vyrobek);
            sqlite3_bind_int64(zasoba, 1, cisVyr);
            sqlite3_bind_text(zasoba, 2, sklad.constData(), -1, SQLITE_STATIC);
            sqlite3_step(zasoba);
            const double ks = sqlite3_column_double(zasoba, 0);
            const double kc = sqlite3_column_double(zasoba, 1);
            const double rez = sqlite3_column_double(zasoba, 2);
            const qint64 radek = sqlite3_column_int64(zasoba, 3);
            sqlite3_reset(zasoba);
            sqlite3_bind_double(zasobaZapis, 1, ks + q);
            sqlite3_bind_double(zasobaZapis, 2, kc + v);
            sqlite3_bind_double(zasobaZapis, 3, rez + q);
            sqlite3_bind_text(zasobaZapis, 4, "2026-12-11 12:00:00.000", -1, SQLITE_STATIC);
            sqlite3_bind_int64(zasobaZapis, 5, radek);
            sqlite3_step(zasobaZapis);
            sqlite3_reset(zasobaZapis);
            sqlite3_bind_double(vyrobekZapis, 1, vks + q);
            sqlite3_bind_double(vyrobekZapis, 2, vkc + v);
            sqlite3_bind_double(vyrobekZapis, 3, vrez + q);
            sqlite3_bind_int64(vyrobekZapis, 4, cisVyr);
            sqlite3_step(vyrobekZapis);
            sqlite3_reset(vyrobekZapis);
            sqlite3_bind_int(denik, 1, kPrijemka);
            sqlite3_bind_int(denik, 2, sqlite3_column_int(polozky, 0));
            sqlite3_bind_text(denik, 3, datum.constData(), -1, SQLITE_STATIC);
            sqlite3_bind_int64(denik, 4, cisVyr);
            sqlite3_bind_text(denik, 5, sklad.constData(), -1, SQLITE_STATIC);
            sqlite3_bind_double(denik, 6, q);
            sqlite3_bind_double(denik, 7, v);
            sqlite3_bind_double(denik, 8, sqlite3_column_double(polozky, 7));
            sqlite3_step(denik);
            sqlite3_reset(denik);
            sqlite3_bind_int64(polozkaZapis, 1, sqlite3_column_int64(polozky, 10));
            sqlite3_step(polozkaZapis);
            sqlite3_reset(polozkaZapis);
        }
        sqlite3_reset(polozky);
        sqlite3_bind_int(hlavickaZapis, 1, kPrijemka);
        sqlite3_step(hlavickaZapis);
        sqlite3_reset(hlavickaZapis);
        tx.commit();
        state.PauseTiming();
        sqlite3_step(uklid);
        sqlite3_reset(uklid);
        state.ResumeTiming();
    }
    for (sqlite3_stmt* s : {hlavicka, polozky, vyrobek, zasoba, zasobaZapis, vyrobekZapis, denik,
                            polozkaZapis, hlavickaZapis, uklid})
        sqlite3_finalize(s);
}

void BM_ReceiptCorrect100Raw(benchmark::State& state) {
    Database& db = *data().db;
    Raw r(db);
    {
        KontextPohybu k(db, data().nastaveni);
        Zauctovani z(k, Rodina::prijemka());
        if (stav() != QLatin1String("2")) z.uzavri(kPrijemka, stav());
    }
    sqlite3_stmt* hlavicka = r.prepare(
        QStringLiteral("SELECT STAV, Dat_Plneni FROM \"%1\" WHERE CIS_UCTU = ?").arg(r.hla));
    sqlite3_stmt* polozky = r.prepare(
        QStringLiteral("SELECT PorCis, Cis_Vyr, Cis_Sklad, Mnozstvi, Cena_ZobrC, rowid FROM "
                       "\"%1\" WHERE CIS_UCTU = ? ORDER BY PorCis")
            .arg(r.pol));
    sqlite3_stmt* zaznam = r.prepare(
        QStringLiteral("SELECT Mnozstvi, SklCena, rowid FROM \"%1\" WHERE Druh_Uctu = 'P' AND "
                       "Cis_Uctu = ? AND PorCis = ?")
            .arg(r.den));
    sqlite3_stmt* zasoba =
        r.prepare(QStringLiteral("SELECT SklZas_ks, SklZas_kc, rowid FROM \"%1\" WHERE Cis_Vyr = "
                                 "? AND Cis_Sklad = ?")
                      .arg(r.zas));
    sqlite3_stmt* zasobaZapis = r.prepare(
        QStringLiteral("UPDATE \"%1\" SET SklZas_ks = ?, SklZas_kc = ?, Posl_Zmena = ? WHERE "
                       "rowid = ?")
            .arg(r.zas));
    sqlite3_stmt* zaznamZapis = r.prepare(
        QStringLiteral("UPDATE \"%1\" SET Mnozstvi = ?, SklCena = ?, PCena = ?, Dat_Plneni = ? "
                       "WHERE rowid = ?")
            .arg(r.den));
    sqlite3_stmt* polozkaZapis =
        r.prepare(QStringLiteral("UPDATE \"%1\" SET Stav = 'V' WHERE rowid = ?").arg(r.pol));
    // The product's totals follow the correction.
    sqlite3_stmt* vyrobek = r.prepare(
        QStringLiteral("SELECT SklZas_Ks, SklZas_Kc FROM \"%1\" WHERE Cis_vyr = ?").arg(r.vyr));
    sqlite3_stmt* vyrobekZapis =
        r.prepare(QStringLiteral("UPDATE \"%1\" SET SklZas_Ks = ?, SklZas_Kc = ? WHERE Cis_vyr = ?")
                      .arg(r.vyr));
    for (auto _ : state) {
        Database::Transaction tx(db);
        sqlite3_bind_int(hlavicka, 1, kPrijemka);
        sqlite3_step(hlavicka);
        const QByteArray datum(reinterpret_cast<const char*>(sqlite3_column_text(hlavicka, 1)));
        sqlite3_reset(hlavicka);
        sqlite3_bind_int(polozky, 1, kPrijemka);
        while (sqlite3_step(polozky) == SQLITE_ROW) {
            const qint64 cisVyr = sqlite3_column_int64(polozky, 1);
            const QByteArray sklad(reinterpret_cast<const char*>(sqlite3_column_text(polozky, 2)));
            const double q = sqlite3_column_double(polozky, 3);
            sqlite3_bind_int(zaznam, 1, kPrijemka);
            sqlite3_bind_int(zaznam, 2, sqlite3_column_int(polozky, 0));
            sqlite3_step(zaznam);
            const double stareQ = sqlite3_column_double(zaznam, 0);
            const double staraV = sqlite3_column_double(zaznam, 1);
            const qint64 radekZaznamu = sqlite3_column_int64(zaznam, 2);
            sqlite3_reset(zaznam);
            const double n = stareQ != 0 ? staraV / stareQ * q : 0;
            sqlite3_bind_int64(zasoba, 1, cisVyr);
            sqlite3_bind_text(zasoba, 2, sklad.constData(), -1, SQLITE_STATIC);
            sqlite3_step(zasoba);
            const double ks = sqlite3_column_double(zasoba, 0);
            const double kc = sqlite3_column_double(zasoba, 1);
            const qint64 radek = sqlite3_column_int64(zasoba, 2);
            sqlite3_reset(zasoba);
            sqlite3_bind_double(zasobaZapis, 1, ks + q - stareQ);
            sqlite3_bind_double(zasobaZapis, 2, kc + n - staraV);
            sqlite3_bind_text(zasobaZapis, 3, "2026-12-11 12:00:00.000", -1, SQLITE_STATIC);
            sqlite3_bind_int64(zasobaZapis, 4, radek);
            sqlite3_step(zasobaZapis);
            sqlite3_reset(zasobaZapis);
            sqlite3_bind_int64(vyrobek, 1, cisVyr);
            sqlite3_step(vyrobek);
            const double vks = sqlite3_column_double(vyrobek, 0);
            const double vkc = sqlite3_column_double(vyrobek, 1);
            sqlite3_reset(vyrobek);
            sqlite3_bind_double(vyrobekZapis, 1, vks + q - stareQ);
            sqlite3_bind_double(vyrobekZapis, 2, vkc + n - staraV);
            sqlite3_bind_int64(vyrobekZapis, 3, cisVyr);
            sqlite3_step(vyrobekZapis);
            sqlite3_reset(vyrobekZapis);
            sqlite3_bind_double(zaznamZapis, 1, q);
            sqlite3_bind_double(zaznamZapis, 2, n);
            sqlite3_bind_double(zaznamZapis, 3, sqlite3_column_double(polozky, 4));
            sqlite3_bind_text(zaznamZapis, 4, datum.constData(), -1, SQLITE_STATIC);
            sqlite3_bind_int64(zaznamZapis, 5, radekZaznamu);
            sqlite3_step(zaznamZapis);
            sqlite3_reset(zaznamZapis);
            sqlite3_bind_int64(polozkaZapis, 1, sqlite3_column_int64(polozky, 5));
            sqlite3_step(polozkaZapis);
            sqlite3_reset(polozkaZapis);
        }
        sqlite3_reset(polozky);
        tx.commit();
    }
    for (sqlite3_stmt* s : {hlavicka, polozky, zaznam, zasoba, zasobaZapis, zaznamZapis,
                            polozkaZapis, vyrobek, vyrobekZapis})
        sqlite3_finalize(s);
}

// One item of an open receipt saved through the entry controller: its quantity changed, the
// reservation moved, the header's totals with it.
void BM_ReceiptItemSave(benchmark::State& state) {
    Database& db = *data().db;
    // A receipt of its own, open, with one item.
    const int cislo = 2;
    {
        Database::Transaction tx(db);
        Table h(db, Rodina::prijemka().hlavicka);
        h.open();
        if (!h.findKey({cislo})) {
            h.insert();
            h.field(QStringLiteral("CIS_UCTU")).setInteger(cislo);
            h.field(QStringLiteral("STAV")).setString(QStringLiteral("0"));
            h.field(QStringLiteral("DRUH")).setString(QStringLiteral("PRI"));
            h.field(QStringLiteral("Druh_Ceny")).setString(QStringLiteral("NC"));
            h.field(QStringLiteral("Cis_Sklad")).setString(QStringLiteral("1"));
            h.post();
        }
        tx.commit();
    }
    TDataCis dm(db);
    NastaveniPohybu n = data().nastaveni;
    sklad::InstalujPravidlaSkladovychDokladu(dm, [n] { return n; });
    CenyDataCis ceny(dm);
    VyberVyrobkuBezVolby vyber(dm);
    NastaveniProgramu program;
    doklad::RizeniDokladu r(dm, doklad::VlastnostiDokladu::prijemka(), ceny, vyber, program, n);
    for (Table* t : {dm.TableHlaPrij, dm.TablePolPrij, dm.TableVyr, dm.TableCisUctu})
        t->open();
    dm.TableHlaPrij->findKey({cislo});
    dm.TableHlaPrij->edit();
    if (!dm.TablePolPrij->findKey({cislo, 1})) {
        r.VlozPolozku(1);
        r.NactiVyrobek(QStringLiteral("1"), true);
        r.ClickUlozPol(
            {QStringLiteral("5"), QStringLiteral("10"), QString(), QStringLiteral("10")});
    }
    int i = 0;
    for (auto _ : state) {
        dm.TablePolPrij->findKey({cislo, 1});
        r.OpravPolozku();
        const QString q = QString::number(5 + (++i % 2));
        if (!r.ClickUlozPol({q, QStringLiteral("10"), QString(), QStringLiteral("10")}))
            state.SkipWithError("not saved");
        dm.TableHlaPrij->edit();
    }
}

} // namespace

BENCHMARK(BM_ReceiptClose100Raw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReceiptClose100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReceiptCorrect100Raw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReceiptCorrect100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReceiptItemSave)->Unit(benchmark::kMillisecond);
