// Migrating a legacy data root of 10,000 products and 100,000 stock-ledger records, against
// the baseline of `brix-db load` of the same records from CSV files into the same tables. The
// migration must run at least half as fast as the load (time at most twice the load's).

#include "database.h"
#include "db_commands.h"
#include "formats/paradox.h"
#include "migration/migration.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>

using namespace brix;
namespace fmt = brix::formats;

namespace {

constexpr int kProducts = 10000;
constexpr int kLedger = 100000;

const QList<fmt::FieldDef> kProductFields = {
    {"Cis_vyr", fmt::FieldKind::Long},      {"Nazev", fmt::FieldKind::Text, 40},
    {"Druh_Pol", fmt::FieldKind::Text, 1},  {"DPH", fmt::FieldKind::Float},
    {"Faktor_Bal", fmt::FieldKind::Short},  {"Cis_Firmy", fmt::FieldKind::Long},
    {"NC_Netto", fmt::FieldKind::Float},    {"MO_Cena", fmt::FieldKind::Float},
    {"ObjCis", fmt::FieldKind::Text, 15},   {"DruhMn", fmt::FieldKind::Text, 10},
    {"Cis_Sklad", fmt::FieldKind::Text, 4}, {"Posl_Zmena", fmt::FieldKind::Timestamp}};

const QList<fmt::FieldDef> kLedgerFields = {
    {"Cis_Uctu", fmt::FieldKind::Long},     {"PorCis", fmt::FieldKind::Long},
    {"Druh_Uctu", fmt::FieldKind::Text, 1}, {"Dat_Plneni", fmt::FieldKind::Date},
    {"P_V", fmt::FieldKind::Text, 1},       {"Cis_Vyr", fmt::FieldKind::Long},
    {"Cis_Sklad", fmt::FieldKind::Text, 4}, {"Mnozstvi", fmt::FieldKind::Float},
    {"SklCena", fmt::FieldKind::Float},     {"PCena", fmt::FieldKind::Float}};

fmt::Record product(int i) {
    return {i + 1,
            QStringLiteral("Barva syntetická odstín %1").arg(i),
            QStringLiteral("S"),
            21.0,
            1 + i % 6,
            1000 + i % 50,
            80.0 + i % 300,
            199.5 + i % 700,
            QStringLiteral("OBJ-%1").arg(i, 6, 10, QLatin1Char('0')),
            QStringLiteral("ks"),
            QString::number(1 + i % 3),
            QDateTime(QDate(2019, 1, 1).addDays(i % 1000), QTime(10, 15, 30))};
}

fmt::Record ledger(int i) {
    return {1 + i / 5,
            1 + i % 5,
            QString(QChar(u"DKZPV"[i % 5])),
            QDate(2019, 1, 1).addDays(i % 1500),
            QString(QChar(i % 5 < 2 ? u'V' : u'P')),
            1 + i % kProducts,
            QString::number(1 + i % 3),
            double(1 + i % 20),
            12.5 + i % 100,
            19.9 + i % 200};
}

// The value as a CSV cell the load reads back to the same value.
QString cell(const QVariant& v) {
    if (v.typeId() == QMetaType::QDate) return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    if (v.typeId() == QMetaType::Double) return QString::number(v.toDouble(), 'g', 15);
    return v.toString();
}

// The legacy root and the same records as CSV files, made once.
struct Data {
    QTemporaryDir dir;
    QString oldRoot, productsCsv, ledgerCsv;

    template <typename Make>
    void write(const QString& table, const QString& csv, const QList<fmt::FieldDef>& fields, int n,
               Make make) {
        QDir().mkpath(QFileInfo(table).absolutePath());
        fmt::ParadoxWriter w;
        w.open(table, fields);
        QFile f(csv);
        f.open(QIODevice::WriteOnly);
        QTextStream out(&f);
        QStringList names;
        for (const fmt::FieldDef& d : fields)
            names << d.name;
        out << names.join(QLatin1Char(',')) << '\n';
        for (int i = 0; i < n; ++i) {
            const fmt::Record r = make(i);
            w.append(r);
            QStringList cells;
            for (const QVariant& v : r)
                cells << cell(v);
            out << cells.join(QLatin1Char(',')) << '\n';
        }
        w.close();
    }

    Data() {
        oldRoot = dir.filePath("stara");
        productsCsv = dir.filePath("vyrobky.csv");
        ledgerCsv = dir.filePath("sklpol.csv");
        write(oldRoot + "/CISELNIK/VYROBKY.DB", productsCsv, kProductFields, kProducts, product);
        write(oldRoot + "/SKLADY/SKLPOL.DB", ledgerCsv, kLedgerFields, kLedger, ledger);
    }
};

Data& data() {
    static Data d;
    return d;
}

QString readAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

// A new data root for each run, made outside the measured time.
template <typename Run> void onNewRoot(benchmark::State& state, Run run) {
    Data& d = data();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString root = d.dir.filePath(QStringLiteral("nova%1").arg(++round));
        auto db = Database::open(root);
        state.ResumeTiming();
        if (!run(*db)) state.SkipWithError("failed");
        state.PauseTiming();
        db.reset();
        QDir(root).removeRecursively();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * (kProducts + kLedger));
}

void BM_Baseline_LoadCsv(benchmark::State& state) {
    onNewRoot(state, [](Database& db) {
        QString out, err;
        QTextStream o(&out), e(&err);
        return admin::loadCsv(db, QStringLiteral("Ciselnik\\Vyrobky"), readAll(data().productsCsv),
                              QStringLiteral("vyrobky.csv"), o, e) == 0 &&
               admin::loadCsv(db, QStringLiteral("Sklady\\SklPol"), readAll(data().ledgerCsv),
                              QStringLiteral("sklpol.csv"), o, e) == 0;
    });
}

void BM_Migrate(benchmark::State& state) {
    onNewRoot(state, [](Database& db) {
        const migration::Result r = migration::migrateDataRoot(data().oldRoot, db);
        return r.ok && r.records() == kProducts + kLedger;
    });
}

} // namespace

BENCHMARK(BM_Baseline_LoadCsv)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Migrate)->Unit(benchmark::kMillisecond)->Iterations(3);
