// The product register over 100,000 products: its first screen, a prefix search to the last
// row, a name range, the chooser with a text, the quick search "ab", the code tree, and the
// bulk code and VAT changes over the view of one code designation (1,000 products). Each
// baseline is the same work done with raw SQLite in the same process.
#include "database.h"
#include "datacis.h"
#include "formul_vyr_sql.h"
#include "formul_vyrobky.h"
#include "grid_model.h"
#include "rejstrik_vyrobku.h"
#include "scripted.h"
#include "stranka_rejstriku.h"
#include "table.h"
#include "vyber_vyrobek.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace brix;

namespace {

constexpr int kVyrobku = 100000;
constexpr int kKodu = 100; // 1,000 products a code designation

struct Data {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDataCis> dm;
    QString vyrobky;

    Data() {
        db = Database::open(dir.path());
        db->exec(QStringLiteral("PRAGMA synchronous=OFF"));
        vyrobky = db->table(QStringLiteral("Ciselnik\\Vyrobky")).sqlName;
        Database::Transaction tx(*db);
        Statement st = db->prepare(
            QStringLiteral(
                "INSERT INTO \"%1\" (Cis_vyr, ObjCis, Nazev, Kod_Ozn1, Kod_Ozn2, "
                "Druh_Pol, DPH, NC_Netto, Faktor_Bal, CenaZa, MO_Marze, MO_Cena, "
                "PC_Zakl, Cis_Firmy, PC_VynSkup) VALUES (?,?,?,?,?,'S',?,?,1,1,10,?,?,1,?)")
                .arg(vyrobky));
        const char* slova[] = {"Abeceda", "Barva", "Lak", "Ředidlo", "Tmel", "Štětec", "Abraziv"};
        for (int i = 1; i <= kVyrobku; ++i) {
            st.bindPlain(1, i);
            st.bindPlain(2, QStringLiteral("OBJ%1").arg(i, 6, 10, QLatin1Char('0')));
            st.bindPlain(3, QStringLiteral("%1 %2").arg(QString::fromUtf8(slova[i % 7])).arg(i));
            st.bindPlain(4, QStringLiteral("KOD%1").arg(i % kKodu, 3, 10, QLatin1Char('0')));
            st.bindPlain(5, QStringLiteral("K2-%1").arg(i % 13));
            st.bindPlain(6, i % 3 ? 21 : 22);
            st.bindPlain(7, 100 + i % 50);
            st.bindPlain(8, 134.2);
            st.bindPlain(9, 120.0);
            st.bindPlain(10, i % 40);
            st.step();
            st.reset();
        }
        tx.commit();
        dm = std::make_unique<TDataCis>(*db);
    }
};

Data& data() {
    static Data d;
    return d;
}

void krok(sqlite3* h, const QByteArray& sql, benchmark::State& state) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(h, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
        state.SkipWithError(sqlite3_errmsg(h));
    // Every column of every row is read, as a grid or a query reads its rows.
    const int sloupcu = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < sloupcu; ++c)
            benchmark::DoNotOptimize(sqlite3_column_text(st, c));
    sqlite3_finalize(st);
}

void BM_FirstScreen(benchmark::State& state) {
    ScriptedPlatform ui;
    ScopedPlatform use(ui);
    TFormulVyrobky form(*data().dm);
    form.resize(1000, 600);
    for (auto _ : state) {
        form.openRegister();
        form.show();
        QImage screen = form.grab().toImage();
        benchmark::DoNotOptimize(screen.bits());
        form.closeRegister();
        form.hide();
    }
}

void BM_FirstScreenRaw(benchmark::State& state) {
    sqlite3* h = data().db->handle();
    const QByteArray count =
        QStringLiteral("SELECT count(*) FROM \"%1\"").arg(data().vyrobky).toUtf8();
    const QByteArray page = QStringLiteral("SELECT rowid, * FROM \"%1\" ORDER BY Kod_Ozn1, "
                                           "Kod_Ozn2, Nazev LIMIT 64")
                                .arg(data().vyrobky)
                                .toUtf8();
    for (auto _ : state) {
        krok(h, count, state);
        krok(h, page, state);
    }
}

// What the register's grid reads of the table for its first screen, the same work as the raw
// baseline: the table opened in the register's order, the count, every column of a screen.
void BM_FirstScreenData(benchmark::State& state) {
    Table& t = *data().dm->TableVyr;
    for (auto _ : state) {
        t.setIndexFieldNames(QStringLiteral("Kod_Ozn1;Kod_Ozn2;Nazev"));
        t.open();
        GridModel m(t);
        const int radku = std::min(m.rowCount(), 64);
        for (int r = 0; r < radku; ++r)
            for (int c = 0; c < m.columnCount(); ++c)
                benchmark::DoNotOptimize(m.data(m.index(r, c)));
        t.close();
    }
}

void BM_PrefixSearchLastRow(benchmark::State& state) {
    ScriptedPlatform ui;
    ScopedPlatform use(ui);
    TFormulVyrobky form(*data().dm);
    form.openRegister();
    form.setSearchField(QStringLiteral("ObjCis"));
    for (auto _ : state) {
        form.table().first();
        form.EditHledej->setText(QStringLiteral("obj100000"));
        form.EditHledejExit();
        if (form.table().field(QStringLiteral("Cis_vyr")).asInteger() != kVyrobku)
            state.SkipWithError("the last product was not found");
    }
    form.closeRegister();
}

void BM_NameRange(benchmark::State& state) {
    ScriptedPlatform ui;
    ScopedPlatform use(ui);
    TFormulVyrobky form(*data().dm);
    form.resize(1000, 600);
    form.openRegister();
    form.show();
    auto* stranka = form.findChild<RejstrikVyrobku*>();
    for (auto _ : state) {
        ui.answerInput(QStringLiteral("tmel 99"), QStringLiteral("Rozsah"));
        stranka->RozsahVyrobku(QStringLiteral("NAZEV"), true, false, true);
        QImage screen = form.grab().toImage();
        benchmark::DoNotOptimize(screen.bits());
        form.bezFiltruClick();
    }
    form.closeRegister();
}

void BM_ChooserWithText(benchmark::State& state) {
    ScriptedPlatform ui;
    ScopedPlatform use(ui);
    TFormulVyrobky form(*data().dm);
    form.resize(1000, 600);
    for (auto _ : state) {
        ui.answerModal([](QDialog& d) {
            QImage screen = d.grab().toImage();
            benchmark::DoNotOptimize(screen.bits());
            d.accept();
        });
        if (!VyberVyrobek(form, *data().dm, true, QStringLiteral("štětec 9999")))
            state.SkipWithError("nothing chosen");
    }
    data().dm->TableVyr->close();
}

void BM_QuickSearchAb(benchmark::State& state) {
    ScriptedPlatform ui;
    ScopedPlatform use(ui);
    QVyr q(*data().db);
    for (auto _ : state) {
        q.open(SestavDotazVyrSQL(QStringLiteral("Cis_vyr"), QString(), QStringLiteral("ab"),
                                 QString(), QString()));
        for (int r = 0; r < 30; ++r)
            benchmark::DoNotOptimize(q.data(q.index(r, 1)));
        q.close();
    }
}

void BM_QuickSearchAbRaw(benchmark::State& state) {
    sqlite3* h = data().db->handle();
    const QByteArray count = QStringLiteral("SELECT count(*) FROM \"%1\" WHERE upper(Nazev) "
                                            "like 'AB%' escape '\\'")
                                 .arg(data().vyrobky)
                                 .toUtf8();
    const QByteArray page =
        QStringLiteral("SELECT Cis_vyr, Nazev, Kod_Ozn1, Kod_Ozn2, Kod_Ozn3, "
                       "Druh_Pol, DPH, MinZas, DruhMn, CenaZa, Cis_Firmy, "
                       "PC_Zakl, Dat_Zmen, MO_Cena, SklZas_Ks, SklZas_Kc, "
                       "Objednano, Rezervace, DisponMn FROM \"%1\" WHERE "
                       "upper(Nazev) like 'AB%' escape '\\' ORDER BY Cis_vyr LIMIT 64")
            .arg(data().vyrobky)
            .toUtf8();
    for (auto _ : state) {
        krok(h, count, state);
        krok(h, page, state);
    }
}

void BM_CodeTree(benchmark::State& state) {
    for (auto _ : state) {
        const UzelStromu u = StromKodovychOznaceni(*data().db);
        if (u.deti.size() != size_t(kKodu)) state.SkipWithError("wrong tree");
    }
}

std::vector<qint64> pohledKodu(int kod) {
    std::vector<qint64> c;
    for (int i = kod ? kod : kKodu; i <= kVyrobku; i += kKodu)
        c.push_back(i);
    return c;
}

void BM_BulkCodeChange(benchmark::State& state) {
    const std::vector<qint64> cisla = pohledKodu(7);
    int n = 0;
    for (auto _ : state) {
        const VysledekZmeny v =
            HromadnaZmenaKodu(*data().db, cisla, QStringLiteral("KOD%1").arg(n++ % 2 ? 7 : 107));
        if (!v.ok || v.zmeneno != int(cisla.size())) state.SkipWithError("not changed");
    }
}

void BM_BulkCodeChangeRaw(benchmark::State& state) {
    const std::vector<qint64> cisla = pohledKodu(8);
    sqlite3* h = data().db->handle();
    const QByteArray sql =
        QStringLiteral("UPDATE \"%1\" SET Kod_Ozn1 = ?, Posl_Zmena = ? WHERE Cis_vyr = ?")
            .arg(data().vyrobky)
            .toUtf8();
    int n = 0;
    for (auto _ : state) {
        Database::Transaction tx(*data().db);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(h, sql.constData(), -1, &st, nullptr);
        const QByteArray kod = (n++ % 2 ? "KOD008" : "KOD108");
        for (qint64 c : cisla) {
            sqlite3_bind_text(st, 1, kod.constData(), -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 2, "2026-12-10 12:00:00.000", -1, SQLITE_STATIC);
            sqlite3_bind_int64(st, 3, c);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        tx.commit();
    }
}

void BM_VatChange(benchmark::State& state) {
    const std::vector<qint64> cisla = pohledKodu(9);
    sqlite3* h = data().db->handle();
    const QByteArray zpet = QStringLiteral("UPDATE \"%1\" SET DPH = 22 WHERE Cis_vyr % 100 = 9")
                                .arg(data().vyrobky)
                                .toUtf8();
    for (auto _ : state) {
        state.PauseTiming();
        sqlite3_exec(h, zpet.constData(), nullptr, nullptr, nullptr);
        state.ResumeTiming();
        const VysledekDPH v = PrepocetDPH(*data().db, cisla);
        if (!v.ok || v.zmeneno != int(cisla.size())) state.SkipWithError("not changed");
    }
}

void BM_VatChangeRaw(benchmark::State& state) {
    const std::vector<qint64> cisla = pohledKodu(11);
    sqlite3* h = data().db->handle();
    const QByteArray cti = QStringLiteral("SELECT DPH, MO_Cena, NC_Netto, Faktor_Bal, CenaZa, "
                                          "MO_Marze, ObjCis FROM \"%1\" WHERE Cis_vyr = ?")
                               .arg(data().vyrobky)
                               .toUtf8();
    const QByteArray pis =
        QStringLiteral("UPDATE \"%1\" SET DPH = 19, MO_Cena = ?, Posl_Zmena = ? WHERE Cis_vyr = ?")
            .arg(data().vyrobky)
            .toUtf8();
    for (auto _ : state) {
        Database::Transaction tx(*data().db);
        sqlite3_stmt *c = nullptr, *p = nullptr;
        sqlite3_prepare_v2(h, cti.constData(), -1, &c, nullptr);
        sqlite3_prepare_v2(h, pis.constData(), -1, &p, nullptr);
        for (qint64 k : cisla) {
            sqlite3_bind_int64(c, 1, k);
            if (sqlite3_step(c) == SQLITE_ROW) {
                const double mo = sqlite3_column_double(c, 2) * 1.1 * 1.19;
                sqlite3_bind_double(p, 1, mo);
                sqlite3_bind_text(p, 2, "2026-12-10 12:00:00.000", -1, SQLITE_STATIC);
                sqlite3_bind_int64(p, 3, k);
                sqlite3_step(p);
                sqlite3_reset(p);
            }
            sqlite3_reset(c);
        }
        sqlite3_finalize(c);
        sqlite3_finalize(p);
        tx.commit();
    }
}

} // namespace

BENCHMARK(BM_FirstScreenRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstScreen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstScreenData)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrefixSearchLastRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NameRange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChooserWithText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickSearchAbRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickSearchAb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodeTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BulkCodeChangeRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BulkCodeChange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VatChangeRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VatChange)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    data(); // the products are written once, outside the measured runs
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
