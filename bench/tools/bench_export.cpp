// Exporting 100,000 records of a typical document header to each export format. The baseline
// writes the same records' text with plain QFile, to show what the formats add on top.

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

} // namespace

BENCHMARK(BM_Baseline_PlainText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Export_Paradox)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Export_Dbase)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Export_Text)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Export_Xlsx)->Unit(benchmark::kMillisecond)->Iterations(3);
