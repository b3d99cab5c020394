// Exporting 100,000 records of a typical document header to each export format. The baseline
// writes the same records' text with plain QFile, to show what the formats add on top.

#include "export/table_export.h"
#include "formats/dbase.h"
#include "formats/paradox.h"
#include "formats/text_export.h"
#include "formats/xlsx_export.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

using namespace brix::formats;

namespace {

constexpr int kRecords = 100000;

QList<FieldDef> headerFields() {
    return {{"CIS_UCTU", FieldKind::AutoInc},     {"DRUH", FieldKind::Text, 3},
            {"Nazev_Fi", FieldKind::Text, 40},    {"Cis_Firmy", FieldKind::Long},
            {"PorCis", FieldKind::Short},         {"Cena_Celk", FieldKind::Money},
            {"Kurs", FieldKind::Float},           {"Platba", FieldKind::Logical},
            {"Vystaveno", FieldKind::Date},       {"Cas", FieldKind::Time},
            {"Posl_Zmena", FieldKind::Timestamp}, {"Poznamka", FieldKind::Memo, 10}};
}

Record recordAt(int i) {
    const QDate day = QDate(2026, 1, 1).addDays(i % 365);
    return {i + 1,
            QStringLiteral("DL"),
            QStringLiteral("Železářství Příbram s.r.o. %1").arg(i % 1000),
            1000 + i % 500,
            i % 30 + 1,
            (i % 100000) * 1.25,
            25.125,
            i % 2 == 0,
            day,
            QTime(8, 0).addSecs(i % 36000),
            QDateTime(day, QTime(12, 30, 15)),
            i % 10 == 0 ? QVariant(QStringLiteral("Doručit zadním vchodem, zvonek č. %1").arg(i))
                        : QVariant()};
}

void runExport(benchmark::State& state, TableWriter& writer, const QString& name) {
    QTemporaryDir dir;
    const QList<FieldDef> fields = headerFields();
    QList<Record> records;
    records.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i)
        records << recordAt(i);
    for (auto _ : state) {
        if (!writer.open(dir.filePath(name), fields)) state.SkipWithError("open");
        for (const Record& r : records)
            if (!writer.append(r)) state.SkipWithError("append");
        if (!writer.close()) state.SkipWithError("close");
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_Baseline_PlainText(benchmark::State& state) {
    QTemporaryDir dir;
    QList<Record> records;
    for (int i = 0; i < kRecords; ++i)
        records << recordAt(i);
    for (auto _ : state) {
        QFile f(dir.filePath("plain.txt"));
        f.open(QIODevice::WriteOnly);
        for (const Record& r : records) {
            QByteArray line;
            for (const QVariant& v : r)
                line += v.toString().toUtf8() + ';';
            f.write(line + "\r\n");
        }
    }
}

void BM_Export_Paradox(benchmark::State& state) {
    ParadoxWriter w;
    runExport(state, w, "TableHlaDL.db");
}
void BM_Export_Dbase(benchmark::State& state) {
    DbaseWriter w;
    runExport(state, w, "TableHlaDL.dbf");
}
void BM_Export_Text(benchmark::State& state) {
    TextExportWriter w;
    runExport(state, w, "TableHlaDL.txt");
}
void BM_Export_Xlsx(benchmark::State& state) {
    XlsxWriter w(XlsxWriter::Layout::Table);
    runExport(state, w, "TableHlaDL.xlsx");
}

// The whole path of the export dialog: 100,000 delivery-note headers of a data root read
// through the storage engine's cursor and written in each format.
struct DataRoot {
    QTemporaryDir dir;
    std::unique_ptr<brix::Database> db;
    std::unique_ptr<brix::Table> table;
    DataRoot() {
        db = brix::Database::open(dir.path());
        table = std::make_unique<brix::Table>(*db, QStringLiteral("Ext_Ucty\\DodListy\\Hla_DL"));
        table->open();
        brix::Database::Transaction tx(*db);
        for (int i = 0; i < kRecords; ++i) {
            const Record r = recordAt(i);
            table->insert();
            table->field(QStringLiteral("Cis_Uctu")).setValue(i + 1);
            table->field(QStringLiteral("Druh")).setValue(r[1]);
            table->field(QStringLiteral("Nazev")).setValue(r[2]);
            table->field(QStringLiteral("Cis_Firmy")).setValue(r[3]);
            table->field(QStringLiteral("Cena_Celk")).setValue(r[5]);
            table->field(QStringLiteral("Kurs")).setValue(r[6]);
            table->field(QStringLiteral("Datum_Obj")).setValue(r[8]);
            table->field(QStringLiteral("STAV")).setValue(QStringLiteral("U"));
            table->post();
        }
        tx.commit();
    }
};

DataRoot& dataRoot() {
    static DataRoot root;
    return root;
}

void runTableExport(benchmark::State& state, brix::exporting::Format format) {
    DataRoot& root = dataRoot();
    QTemporaryDir out;
    for (auto _ : state) {
        const auto r = brix::exporting::exportTables(format, out.path(), *root.table);
        if (!r.ok || r.masterRecords != kRecords) state.SkipWithError("export");
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_ExportTable_Paradox(benchmark::State& state) {
    runTableExport(state, brix::exporting::Format::Paradox);
}
void BM_ExportTable_Dbase(benchmark::State& state) {
    runTableExport(state, brix::exporting::Format::Dbase);
}
void BM_ExportTable_Text(benchmark::State& state) {
    runTableExport(state, brix::exporting::Format::Text);
}
void BM_ExportTable_Xlsx(benchmark::State& state) {
    DataRoot& root = dataRoot();
    QTemporaryDir out;
    for (auto _ : state) {
        QString error;
        if (brix::exporting::exportWorkbook(*root.table, out.path(), &error).isEmpty())
            state.SkipWithError("workbook");
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

} // namespace

BENCHMARK(BM_Baseline_PlainText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Export_Paradox)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Export_Dbase)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Export_Text)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Export_Xlsx)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportTable_Paradox)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportTable_Dbase)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportTable_Text)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportTable_Xlsx)->Unit(benchmark::kMillisecond)->Iterations(3);
