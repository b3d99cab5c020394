// The storage engine against raw SQLite doing the same work in the same process: a full scan
// of a ledger-shaped table in index order, key seeks, and inserts in one transaction.
#include "database.h"
#include "table.h"

#include <QDate>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <random>

using namespace brix;

namespace {

constexpr int kRows = 1000000;
constexpr int kItemsPerDocument = 10;

struct Ledger {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    QString sqlName;

    Ledger() {
        db = Database::open(dir.path());
        sqlName = db->table("Sklady\\SklPol").sqlName;
        Database::Transaction tx(*db);
        Statement st = db->prepare(
            QStringLiteral(
                "INSERT INTO \"%1\" (Cis_Uctu, PorCis, Druh_Uctu, Dat_Plneni, P_V, Cis_Vyr, "
                "Cis_Sklad, Mnozstvi, SklCena, PCena) VALUES (?,?,?,?,?,?,?,?,?,?)")
                .arg(sqlName));
        std::mt19937 rnd(7);
        for (int i = 0; i < kRows; ++i) {
            int doc = i / kItemsPerDocument;
            st.bindPlain(1, doc + 1);
            st.bindPlain(2, i % kItemsPerDocument + 1);
            st.bindPlain(3, QStringLiteral("DPRV").mid(doc % 4, 1));
            st.bindPlain(4, QDate(2020, 1, 1).addDays(doc % 1500).toString(Qt::ISODate));
            st.bindPlain(5, doc % 2 ? QStringLiteral("P") : QStringLiteral("V"));
            st.bindPlain(6, int(rnd() % 20000) + 1);
            st.bindPlain(7, QStringLiteral("S%1").arg(doc % 3));
            st.bindPlain(8, double(rnd() % 1000) / 4);
            st.bindPlain(9, double(rnd() % 100000) / 100);
            st.bindPlain(10, double(rnd() % 100000) / 100);
            st.exec();
            st.reset();
        }
        tx.commit();
    }
};

Ledger& ledger() {
    static Ledger l;
    return l;
}

void BM_ScanCursor(benchmark::State& state) {
    Ledger& l = ledger();
    for (auto _ : state) {
        Table t(*l.db, "Sklady\\SklPol");
        t.open();
        double sum = 0;
        qint64 n = 0;
        Field m = t.field("Mnozstvi");
        for (t.first(); !t.eof(); t.next()) {
            sum += m.asFloat();
            ++n;
        }
        benchmark::DoNotOptimize(sum);
        if (n != kRows) state.SkipWithError("wrong count");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_ScanRaw(benchmark::State& state) {
    Ledger& l = ledger();
    const QByteArray sql =
        QStringLiteral(
            "SELECT rowid, Cis_Uctu, PorCis, Druh_Uctu, Dat_Plneni, P_V, Cis_Vyr, Cis_Sklad, "
            "Mnozstvi, SklCena, PCena FROM \"%1\" ORDER BY Druh_Uctu, Cis_Uctu, PorCis")
            .arg(l.sqlName)
            .toUtf8();
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(l.db->handle(), sql.constData(), -1, &st, nullptr);
        double sum = 0;
        qint64 n = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            // Read every column as the cursor does, into values a program can keep.
            QVariant row[11];
            for (int c = 0; c < 11; ++c) {
                switch (sqlite3_column_type(st, c)) {
                case SQLITE_INTEGER:
                    row[c] = qint64(sqlite3_column_int64(st, c));
                    break;
                case SQLITE_FLOAT:
                    row[c] = sqlite3_column_double(st, c);
                    break;
                case SQLITE_TEXT:
                    row[c] =
                        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                          sqlite3_column_bytes(st, c));
                    break;
                default:
                    break;
                }
            }
            sum += row[8].toDouble();
            ++n;
        }
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(sum);
        if (n != kRows) state.SkipWithError("wrong count");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_SeekCursor(benchmark::State& state) {
    Ledger& l = ledger();
    Table t(*l.db, "Sklady\\SklPol");
    t.open();
    std::mt19937 rnd(11);
    for (auto _ : state) {
        int doc = int(rnd() % (kRows / kItemsPerDocument));
        QVariantList key{QStringLiteral("DPRV").mid(doc % 4, 1), doc + 1,
                         int(rnd() % kItemsPerDocument) + 1};
        if (!t.findKey(key)) state.SkipWithError("key not found");
        benchmark::DoNotOptimize(t.field("Mnozstvi").asFloat());
    }
}

void BM_SeekRaw(benchmark::State& state) {
    Ledger& l = ledger();
    const QByteArray sql =
        QStringLiteral("SELECT rowid, * FROM \"%1\" WHERE Druh_Uctu = ? AND Cis_Uctu = ? "
                       "AND PorCis = ? ORDER BY Druh_Uctu, Cis_Uctu, PorCis LIMIT 1")
            .arg(l.sqlName)
            .toUtf8();
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(l.db->handle(), sql.constData(), -1, &st, nullptr);
    std::mt19937 rnd(11);
    for (auto _ : state) {
        int doc = int(rnd() % (kRows / kItemsPerDocument));
        QByteArray druh = QStringLiteral("DPRV").mid(doc % 4, 1).toUtf8();
        sqlite3_bind_text(st, 1, druh.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(st, 2, doc + 1);
        sqlite3_bind_int64(st, 3, int(rnd() % kItemsPerDocument) + 1);
        if (sqlite3_step(st) != SQLITE_ROW) state.SkipWithError("key not found");
        benchmark::DoNotOptimize(sqlite3_column_double(st, 8));
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
}

constexpr int kInserts = 100000;

void clearTarget(Database& db, const QString& sqlName) {
    db.exec(QStringLiteral("DELETE FROM \"%1\"").arg(sqlName));
}

void BM_InsertCursor(benchmark::State& state) {
    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    const QString name = db->table("Sklady\\SklPol").sqlName;
    for (auto _ : state) {
        state.PauseTiming();
        clearTarget(*db, name);
        state.ResumeTiming();
        Table t(*db, "Sklady\\SklPol");
        t.open();
        Field cis = t.field("Cis_Uctu"), por = t.field("PorCis"), druh = t.field("Druh_Uctu"),
              dat = t.field("Dat_Plneni"), pv = t.field("P_V"), vyr = t.field("Cis_Vyr"),
              skl = t.field("Cis_Sklad"), mn = t.field("Mnozstvi"), cena = t.field("SklCena"),
              pc = t.field("PCena");
        const QDate day(2024, 3, 1);
        Database::Transaction tx(*db);
        for (int i = 0; i < kInserts; ++i) {
            t.insert();
            cis.setInteger(i / 10 + 1);
            por.setInteger(i % 10 + 1);
            druh.setString(QStringLiteral("D"));
            dat.setDate(day);
            pv.setString(QStringLiteral("V"));
            vyr.setInteger(i % 5000 + 1);
            skl.setString(QStringLiteral("S1"));
            mn.setFloat(i % 7 + 0.5);
            cena.setFloat(12.5);
            pc.setFloat(15.25);
            t.post();
        }
        tx.commit();
    }
    state.SetItemsProcessed(state.iterations() * kInserts);
}

void BM_InsertRaw(benchmark::State& state) {
    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    const QString name = db->table("Sklady\\SklPol").sqlName;
    const QByteArray sql =
        QStringLiteral("INSERT INTO \"%1\" (Cis_Uctu, PorCis, Druh_Uctu, Dat_Plneni, P_V, "
                       "Cis_Vyr, Cis_Sklad, Mnozstvi, SklCena, PCena) "
                       "VALUES (?,?,?,?,?,?,?,?,?,?)")
            .arg(name)
            .toUtf8();
    for (auto _ : state) {
        state.PauseTiming();
        clearTarget(*db, name);
        state.ResumeTiming();
        sqlite3_exec(db->handle(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db->handle(), sql.constData(), -1, &st, nullptr);
        for (int i = 0; i < kInserts; ++i) {
            sqlite3_bind_int64(st, 1, i / 10 + 1);
            sqlite3_bind_int64(st, 2, i % 10 + 1);
            sqlite3_bind_text(st, 3, "D", 1, SQLITE_STATIC);
            sqlite3_bind_text(st, 4, "2024-03-01", 10, SQLITE_STATIC);
            sqlite3_bind_text(st, 5, "V", 1, SQLITE_STATIC);
            sqlite3_bind_int64(st, 6, i % 5000 + 1);
            sqlite3_bind_text(st, 7, "S1", 2, SQLITE_STATIC);
            sqlite3_bind_double(st, 8, i % 7 + 0.5);
            sqlite3_bind_double(st, 9, 12.5);
            sqlite3_bind_double(st, 10, 15.25);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_exec(db->handle(), "COMMIT", nullptr, nullptr, nullptr);
    }
    state.SetItemsProcessed(state.iterations() * kInserts);
}

BENCHMARK(BM_ScanRaw)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScanCursor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SeekRaw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SeekCursor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InsertRaw)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_InsertCursor)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
