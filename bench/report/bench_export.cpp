// The document writers on the 10,000-record list in its graphic variant with a price sum in the
// report footer (targets: run and PDF under 1 s; run and RTF under 1 s; our PDF writer at least
// twice as fast as QPdfWriter drawing the same pages through the renderer, and a smaller
// file), against baselines run in the same process: the run alone and QPdfWriter.

#include "list_fixture.h"
#include "pdf.h"
#include "render.h"
#include "rtf.h"
#include "sestava.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

using namespace brix::report;
using namespace brix::report::bench;

namespace {

// The graphic list with the sum of the prices in the report footer.
TPredloha pricedListTemplate() {
    TPredloha t = graphicListTemplate();
    t << QStringLiteral("F,0,Soucet,\"Součet cen\",0,\"0\",0,\"#Cena\",2,15,2,2");
    t << textElement("K", 6, "Soucet", 500, 0, 200, QString(), 1, "Arial");
    return t;
}

struct PricedList {
    ListBridge data = listData();
    TSestava report;
    PricedList() {
        report.IsStored = true;
        report.setPredloha(pricedListTemplate());
        report.DataSource = &data;
    }
};

PricedList& preparedList() {
    static PricedList l;
    static const int prepared = l.report.Prepare();
    (void)prepared;
    return l;
}

void BM_RunPricedList(benchmark::State& state) {
    PricedList l;
    for (auto _ : state)
        if (l.report.Prepare() != seOk) state.SkipWithError("run failed");
    state.counters["pages"] = l.report.output.pageCount();
}
BENCHMARK(BM_RunPricedList)->Unit(benchmark::kMillisecond);

void BM_RunPricedListToPdf(benchmark::State& state) {
    PricedList l;
    qsizetype bytes = 0;
    for (auto _ : state) {
        if (l.report.Prepare() != seOk) state.SkipWithError("run failed");
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        if (l.report.ExportPdf(b) != seOk) state.SkipWithError("PDF failed");
        bytes = b.data().size();
    }
    state.counters["pages"] = l.report.output.pageCount();
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_RunPricedListToPdf)->Unit(benchmark::kMillisecond);

void BM_RunPricedListToRtf(benchmark::State& state) {
    PricedList l;
    qsizetype bytes = 0;
    for (auto _ : state) {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        if (l.report.ExportRtf(b) != seOk) state.SkipWithError("RTF failed");
        bytes = b.data().size();
    }
    state.counters["pages"] = l.report.output.pageCount();
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_RunPricedListToRtf)->Unit(benchmark::kMillisecond);

// The writers alone on the pages of one run.
void BM_PdfWriterOfThePages(benchmark::State& state) {
    PricedList& l = preparedList();
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray pdf = pdfDocument(l.report.output, l.report.definition.page, 1, 9999);
        bytes = pdf.size();
    }
    state.counters["pages"] = l.report.output.pageCount();
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_PdfWriterOfThePages)->Unit(benchmark::kMillisecond);

void BM_BaselineQPdfWriterOfThePages(benchmark::State& state) {
    PricedList& l = preparedList();
    const PageSetup& page = l.report.definition.page;
    qsizetype bytes = 0;
    for (auto _ : state) {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        {
            QPdfWriter w(&b);
            w.setResolution(600);
            w.setPageSize(QPageSize(QSizeF(page.paperWidth / 100.0, page.paperHeight / 100.0),
                                    QPageSize::Inch));
            w.setPageMargins(QMarginsF(0, 0, 0, 0));
            QPainter p(&w);
            for (int i = 0; i < l.report.output.pageCount(); ++i) {
                if (i > 0) w.newPage();
                p.save();
                p.translate(page.marginLeft * 6.0, page.marginTop * 6.0);
                renderPage(p, l.report.output, i, 6.0);
                p.restore();
            }
        }
        bytes = b.data().size();
    }
    state.counters["pages"] = l.report.output.pageCount();
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_BaselineQPdfWriterOfThePages)->Unit(benchmark::kMillisecond);

void BM_RtfWriterOfThePages(benchmark::State& state) {
    PricedList& l = preparedList();
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray rtf = rtfDocument(l.report.output, l.report.definition.page, 1, 9999);
        bytes = rtf.size();
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_RtfWriterOfThePages)->Unit(benchmark::kMillisecond);

} // namespace
