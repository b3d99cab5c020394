// Saving the variant lines of an item with 50 variants over lines saved before (every line
// given back, 50 new ones, the stock of each variant moved), against raw SQLite doing the same
// writes in one transaction.
#include "database.h"
#include "table.h"
#include "util/time_zone.h"
#include "varianty.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace brix;

namespace {

constexpr int kVariant = 50;

struct Data {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    std::vector<ZadaniVarianty> zadani;

    Data() {
        db = Database::open(dir.path());
        db->exec(QStringLiteral("PRAGMA synchronous=OFF"));
        Database::Transaction tx(*db);
        Table v(*db, QString::fromUtf16(varianty::kVarianty));
        v.open();
        for (qint64 vyr : {1, 2})
            for (int i = 0; i < kVariant; ++i) {
                v.insert();
                v.field(QStringLiteral("Cis_Vyr")).setInteger(vyr);
                v.field(QStringLiteral("Varianta1"))
                    .setString(QStringLiteral("V%1").arg(i, 2, 10, QLatin1Char('0')));
                v.field(QStringLiteral("Varianta2")).setString(QStringLiteral("modrá"));
                v.field(QStringLiteral("SklZas_ks")).setDecimal(Decimal(1000000));
                v.post();
            }
        tx.commit();
        for (int i = 0; i < kVariant; ++i)
            zadani.push_back({QStringLiteral("V%1").arg(i, 2, 10, QLatin1Char('0')),
                              QStringLiteral("modrá"), QStringLiteral("1,5")});
    }
};

Data& data() {
    static Data d;
    return d;
}

void BM_VariantSave50(benchmark::State& state) {
    const QString radky = QString::fromUtf16(varianty::kRadkyDL);
    const PolozkaVariant p{QStringLiteral("1000001"), 1, 1};
    UlozVariantyPolozky(*data().db, radky, p, data().zadani);
    for (auto _ : state) {
        const VysledekVariant v = UlozVariantyPolozky(*data().db, radky, p, data().zadani);
        if (!v.ok) state.SkipWithError("not saved");
    }
}

void BM_VariantSave50Raw(benchmark::State& state) {
    Database& db = *data().db;
    sqlite3* h = db.handle();
    const QString radky = db.table(QString::fromUtf16(varianty::kRadkyDL)).sqlName;
    const QString var = db.table(QString::fromUtf16(varianty::kVarianty)).sqlName;
    const QByteArray vyber =
        QStringLiteral("SELECT Cis_Vyr, Varianta1, Varianta2, Mnozstvi, "
                       "rowid FROM \"%1\" WHERE Cis_Uctu = 'R1' AND PorCis = 1")
            .arg(radky)
            .toUtf8();
    const QByteArray pohyb = QStringLiteral("UPDATE \"%1\" SET SklZas_ks = SklZas_ks + ?, "
                                            "Posl_Zmena = ? WHERE Cis_Vyr = ? AND Varianta1 = ? "
                                            "AND Varianta2 = ?")
                                 .arg(var)
                                 .toUtf8();
    const QByteArray smaz =
        QStringLiteral("DELETE FROM \"%1\" WHERE rowid = ?").arg(radky).toUtf8();
    const QByteArray vloz = QStringLiteral("INSERT INTO \"%1\" (Cis_Uctu, PorCis, Cis_Vyr, "
                                           "Varianta1, Varianta2, Mnozstvi) VALUES "
                                           "('R1', 1, 2, ?, ?, 1.5)")
                                .arg(radky)
                                .toUtf8();
    std::vector<QByteArray> v1;
    for (const ZadaniVarianty& z : data().zadani)
        v1.push_back(z.varianta1.toUtf8());
    const QByteArray v2 = QStringLiteral("modrá").toUtf8();
    for (auto _ : state) {
        Database::Transaction tx(db);
        sqlite3_stmt *s = nullptr, *u = nullptr, *d = nullptr, *i = nullptr;
        sqlite3_prepare_v2(h, vyber.constData(), -1, &s, nullptr);
        sqlite3_prepare_v2(h, pohyb.constData(), -1, &u, nullptr);
        sqlite3_prepare_v2(h, smaz.constData(), -1, &d, nullptr);
        sqlite3_prepare_v2(h, vloz.constData(), -1, &i, nullptr);
        while (sqlite3_step(s) == SQLITE_ROW) {
            sqlite3_bind_double(u, 1, sqlite3_column_double(s, 3));
            sqlite3_bind_text(u, 2, "2026-12-10 12:00:00.000", -1, SQLITE_STATIC);
            sqlite3_bind_int64(u, 3, sqlite3_column_int64(s, 0));
            sqlite3_bind_text(u, 4, reinterpret_cast<const char*>(sqlite3_column_text(s, 1)), -1,
                              SQLITE_TRANSIENT);
            sqlite3_bind_text(u, 5, reinterpret_cast<const char*>(sqlite3_column_text(s, 2)), -1,
                              SQLITE_TRANSIENT);
            sqlite3_step(u);
            sqlite3_reset(u);
            sqlite3_bind_int64(d, 1, sqlite3_column_int64(s, 4));
            sqlite3_step(d);
            sqlite3_reset(d);
        }
        for (const QByteArray& v : v1) {
            sqlite3_bind_text(i, 1, v.constData(), -1, SQLITE_STATIC);
            sqlite3_bind_text(i, 2, v2.constData(), -1, SQLITE_STATIC);
            sqlite3_step(i);
            sqlite3_reset(i);
            sqlite3_bind_double(u, 1, -1.5);
            sqlite3_bind_text(u, 2, "2026-12-10 12:00:00.000", -1, SQLITE_STATIC);
            sqlite3_bind_int64(u, 3, 2);
            sqlite3_bind_text(u, 4, v.constData(), -1, SQLITE_STATIC);
            sqlite3_bind_text(u, 5, v2.constData(), -1, SQLITE_STATIC);
            sqlite3_step(u);
            sqlite3_reset(u);
        }
        for (sqlite3_stmt* st : {s, u, d, i})
            sqlite3_finalize(st);
        tx.commit();
    }
}

} // namespace

BENCHMARK(BM_VariantSave50Raw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VariantSave50)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    brix::settleLocalTimeZone();
    benchmark::Initialize(&argc, argv);
    data();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
