// Renumbering a product named by 100,000 ledger rows and 10,000 delivery-note items, against
// raw SQLite doing the same updates over the same tables in one transaction; "Název obsahuje"
// from the first of 100,000 partners to the last by name, against a raw SQLite search in the
// same order.
#include "database.h"
#include "firmy.h"
#include "precisluj.h"
#include "table.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace brix;

namespace {

constexpr int kRadkuDeniku = 100000;
constexpr int kPolozek = 10000;
constexpr int kFirem = 100000;

struct Data {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    qint64 cislo = 1; // the product's number now

    Data() {
        db = Database::open(dir.path());
        db->exec(QStringLiteral("PRAGMA synchronous=OFF"));
        Database::Transaction tx(*db);
        const QString vyr = db->table(QStringLiteral("Ciselnik\\Vyrobky")).sqlName;
        db->exec(QStringLiteral("INSERT INTO \"%1\" (Cis_vyr, ObjCis, Nazev, Druh_Pol, DPH, "
                                "Faktor_Bal, Cis_Firmy) VALUES (1, 'A1', 'Email bílý', 'S', 21, "
                                "1, 1), (5, 'A5', 'Lak', 'S', 21, 1, 1)")
                     .arg(vyr));
        Statement den = db->prepare(
            QStringLiteral("INSERT INTO \"%1\" (Cis_Uctu, PorCis, Druh_Uctu, P_V, Cis_Vyr, "
                           "Cis_Sklad, Mnozstvi) VALUES (?, ?, 'P', 'P', ?, '1', 1)")
                .arg(db->table(QStringLiteral("Sklady\\SklPol")).sqlName));
        for (int i = 0; i < kRadkuDeniku; ++i) {
            den.bindPlain(1, i / 10);
            den.bindPlain(2, i % 10);
            den.bindPlain(3, i % 20 ? 1 : 5); // a few rows of another product stay as they are
            den.step();
            den.reset();
        }
        Statement pol = db->prepare(
            QStringLiteral("INSERT INTO \"%1\" (CIS_UCTU, PorCis, Cis_Vyr, Nazev, Mnozstvi) "
                           "VALUES (?, ?, 1, 'Email bílý', 2)")
                .arg(db->table(QStringLiteral("Ext_Ucty\\DodListy\\Pol_DL")).sqlName));
        for (int i = 0; i < kPolozek; ++i) {
            pol.bindPlain(1, i / 10);
            pol.bindPlain(2, i % 10);
            pol.step();
            pol.reset();
        }
        Statement fir =
            db->prepare(QStringLiteral("INSERT INTO \"%1\" (Cis_firmy, Zkr_nazev, Nazev, Cis_obor) "
                                       "VALUES (?, ?, ?, 1)")
                            .arg(db->table(QStringLiteral("Ciselnik\\Firmy")).sqlName));
        for (int i = 1; i <= kFirem; ++i) {
            fir.bindPlain(1, i);
            fir.bindPlain(2, QStringLiteral("F%1").arg(i));
            // Names in number order; the last one alone holds "Žlutý kůň".
            fir.bindPlain(
                3, i == kFirem
                       ? QStringLiteral("Zz %1 Žlutý kůň s.r.o.").arg(i)
                       : QStringLiteral("Firma %1 barvy a laky").arg(i, 6, 10, QLatin1Char('0')));
            fir.step();
            fir.reset();
        }
        tx.commit();
    }
};

Data& data() {
    static Data d;
    return d;
}

void BM_RenumberProduct(benchmark::State& state) {
    Data& d = data();
    Table vyr(*d.db, QStringLiteral("Ciselnik\\Vyrobky"));
    vyr.setIndexName(QString());
    vyr.open();
    for (auto _ : state) {
        const qint64 nove = d.cislo == 1 ? 2 : 1;
        if (!vyr.findKey({d.cislo})) state.SkipWithError("the product is missing");
        const VysledekPrecislovani v = PrecislujVyrobek(vyr, QString::number(nove));
        if (v.stav != StavPrecislovani::Hotovo || v.radku != kRadkuDeniku * 19 / 20 + kPolozek)
            state.SkipWithError("not renumbered");
        d.cislo = nove;
    }
}

void BM_RenumberProductRaw(benchmark::State& state) {
    Data& d = data();
    sqlite3* h = d.db->handle();
    // The same updates as the renumbering: the product, then every table naming products.
    QList<QByteArray> sql;
    sql << QStringLiteral("UPDATE \"%1\" SET Cis_vyr = ?1 WHERE Cis_vyr = ?2")
               .arg(d.db->table(QStringLiteral("Ciselnik\\Vyrobky")).sqlName)
               .toUtf8();
    for (const OdkazNaVyrobek& o : OdkazyNaVyrobek(*d.db))
        sql << QStringLiteral("UPDATE \"%1\" SET \"%2\" = ?1 WHERE \"%2\" = ?2")
                   .arg(o.tabulka->sqlName, o.pole)
                   .toUtf8();
    std::vector<sqlite3_stmt*> st(sql.size());
    for (int i = 0; i < sql.size(); ++i)
        if (sqlite3_prepare_v2(h, sql[i].constData(), -1, &st[i], nullptr) != SQLITE_OK)
            state.SkipWithError(sqlite3_errmsg(h));
    for (auto _ : state) {
        const qint64 nove = d.cislo == 1 ? 2 : 1;
        sqlite3_exec(h, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        qint64 radku = 0;
        for (sqlite3_stmt* s : st) {
            sqlite3_bind_int64(s, 1, nove);
            sqlite3_bind_int64(s, 2, d.cislo);
            sqlite3_step(s);
            radku += sqlite3_changes(h);
            sqlite3_reset(s);
        }
        sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr);
        if (radku != 1 + kRadkuDeniku * 19 / 20 + kPolozek) state.SkipWithError("not renumbered");
        d.cislo = nove;
    }
    for (sqlite3_stmt* s : st)
        sqlite3_finalize(s);
}

void BM_NameContainsLastPartner(benchmark::State& state) {
    Table fir(*data().db, QStringLiteral("Ciselnik\\Firmy"));
    fir.setIndexName(QStringLiteral("NazevF"));
    fir.open();
    for (auto _ : state) {
        fir.first();
        if (!NazevObsahuje(fir, QStringLiteral("žlutý KŮŇ")) ||
            fir.field(QStringLiteral("Cis_firmy")).asInteger() != kFirem)
            state.SkipWithError("the last partner was not found");
    }
}

// The same search in raw SQLite: from the first partner by name, the first whose name holds
// the text.
void BM_NameContainsLastPartnerRaw(benchmark::State& state) {
    sqlite3* h = data().db->handle();
    const QByteArray sql =
        QStringLiteral("SELECT rowid, * FROM \"%1\" WHERE instr(Nazev, ?) > 0 ORDER BY Nazev "
                       "LIMIT 1")
            .arg(data().db->table(QStringLiteral("Ciselnik\\Firmy")).sqlName)
            .toUtf8();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(h, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
        state.SkipWithError(sqlite3_errmsg(h));
    const QByteArray text = QStringLiteral("Žlutý kůň").toUtf8();
    for (auto _ : state) {
        sqlite3_bind_text(st, 1, text.constData(), int(text.size()), SQLITE_STATIC);
        if (sqlite3_step(st) != SQLITE_ROW || sqlite3_column_int64(st, 1) != kFirem)
            state.SkipWithError("the last partner was not found");
        benchmark::DoNotOptimize(sqlite3_column_text(st, 2));
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
}

} // namespace

BENCHMARK(BM_RenumberProductRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenumberProduct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NameContainsLastPartnerRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NameContainsLastPartner)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
