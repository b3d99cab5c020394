// The common register over a code list of 100,000 rows: opening it and painting its first
// screen, and a prefix search (ignoring case) that finds the last row. The baselines are the
// same reads done with raw SQLite in the same process.
#include "catalogue.h"
#include "database.h"
#include "register.h"
#include "scripted.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace brix;

namespace {

constexpr int kRows = 100000;

const Catalogue& catalogue() {
    static const Catalogue c = [] {
        Catalogue c;
        c.add(Catalogue::define("Ciselnik", "Polozky",
                                "Cislo I!; Nazev A40; Popis A40; Cena $; Platnost D", "Cislo",
                                "Nazev=Nazev"));
        return c;
    }();
    return c;
}

struct CodeList {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    QString sqlName;

    CodeList() {
        OpenOptions o;
        o.catalogue = &catalogue();
        db = Database::open(dir.path(), o);
        sqlName = db->table("Ciselnik\\Polozky").sqlName;
        Database::Transaction tx(*db);
        Statement st = db->prepare(
            QStringLiteral("INSERT INTO \"%1\" (Cislo, Nazev, Popis, Cena) VALUES (?,?,?,?)")
                .arg(sqlName));
        for (int i = 0; i < kRows; ++i) {
            st.bindPlain(1, i + 1);
            st.bindPlain(2, QStringLiteral("Položka č. %1").arg(i + 1, 6, 10, QLatin1Char('0')));
            st.bindPlain(3, QStringLiteral("Šroubek, matice a podložka %1").arg(i % 97));
            st.bindPlain(4, (i % 1000) * 1.25);
            st.step();
            st.reset();
        }
        tx.commit();
    }
};

CodeList& data() {
    static CodeList d;
    return d;
}

RegisterConfig config() {
    RegisterConfig c;
    c.caption = QStringLiteral("Položky");
    c.order = QStringLiteral("Cislo");
    c.searchItems = {{QStringLiteral("&Název"), QStringLiteral("Nazev")}};
    return c;
}

void BM_OpenFirstScreen(benchmark::State& state) {
    ScriptedPlatform ui;
    ScopedPlatform use(ui);
    Table table(*data().db, QStringLiteral("Ciselnik\\Polozky"));
    for (auto _ : state) {
        RegisterForm reg(table, config());
        reg.addField(QStringLiteral("Cislo"), QStringLiteral("Číslo"));
        reg.addField(QStringLiteral("Nazev"), QStringLiteral("Název"));
        reg.resize(800, 600);
        reg.openRegister();
        reg.show();
        QImage screen = reg.grab().toImage(); // paints the grid's first screen
        benchmark::DoNotOptimize(screen.bits());
        reg.closeRegister();
        reg.hide();
    }
}

void BM_OpenFirstScreenRaw(benchmark::State& state) {
    sqlite3* h = data().db->handle();
    const QByteArray count =
        QStringLiteral("SELECT count(*) FROM \"%1\"").arg(data().sqlName).toUtf8();
    const QByteArray page = QStringLiteral("SELECT rowid, * FROM \"%1\" ORDER BY Cislo LIMIT 64")
                                .arg(data().sqlName)
                                .toUtf8();
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(h, count.constData(), -1, &st, nullptr);
        sqlite3_step(st);
        benchmark::DoNotOptimize(sqlite3_column_int64(st, 0));
        sqlite3_finalize(st);
        sqlite3_prepare_v2(h, page.constData(), -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            benchmark::DoNotOptimize(sqlite3_column_text(st, 2));
        sqlite3_finalize(st);
    }
}

void BM_PrefixSearchLastRow(benchmark::State& state) {
    ScriptedPlatform ui;
    ScopedPlatform use(ui);
    Table table(*data().db, QStringLiteral("Ciselnik\\Polozky"));
    RegisterForm reg(table, config());
    reg.openRegister();
    reg.setSearchField(QStringLiteral("Nazev"));
    const QString text = QStringLiteral("POLOŽKA Č. 100000");
    for (auto _ : state) {
        table.first();
        reg.EditHledej->setText(text);
        reg.EditHledejExit();
        if (table.field(QStringLiteral("Cislo")).asInteger() != kRows)
            state.SkipWithError("the last row was not found");
    }
    reg.closeRegister();
}

void BM_PrefixSearchLastRowRaw(benchmark::State& state) {
    sqlite3* h = data().db->handle();
    const QByteArray sql =
        QStringLiteral("SELECT rowid, * FROM \"%1\" WHERE lower(substr(Nazev, 1, "
                       "17)) = ? ORDER BY Cislo LIMIT 1")
            .arg(data().sqlName)
            .toUtf8();
    const QByteArray text = QStringLiteral("položka č. 100000").toUtf8();
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(h, sql.constData(), -1, &st, nullptr);
        sqlite3_bind_text(st, 1, text.constData(), int(text.size()), SQLITE_STATIC);
        if (sqlite3_step(st) != SQLITE_ROW) state.SkipWithError("not found");
        sqlite3_finalize(st);
    }
}

} // namespace

BENCHMARK(BM_OpenFirstScreenRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFirstScreen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrefixSearchLastRowRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrefixSearchLastRow)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    data(); // the table is built once, outside the measured runs
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
