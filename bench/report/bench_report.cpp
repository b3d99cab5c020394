// Template loading and saving (target: a template of 2,000 element lines loads and saves in
// under 20 ms) and expression evaluation, against baselines run in the same process: splitting
// the same lines at commas, and summing the same values in plain C++. Drawing one page of the
// 10,000-record list in a graphic variant into an image at scale 1 (target: under 50 ms and at
// most 1.5 times QPainter's drawText of the same strings at the same places). The preview
// window's sheet painting the busiest page of that list, the next page, and a page of 40
// pictures and barcodes at 100 % (target: under 50 ms each and at most 1.2 times the renderer
// drawing the same sheet into an image in the same run). The shared machine's cache and clock
// favour whichever runs second: compare with --benchmark_enable_random_interleaving=true.

#include "bridge.h"
#include "codec.h"
#include "definition.h"
#include "expression.h"
#include "fontmetrics.h"
#include "fonts.h"
#include "list_fixture.h"
#include "listresolver.h"
#include "paper.h"
#include "preview.h"
#include "render.h"
#include "sestava.h"
#include "templatefile.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

using namespace brix::report;
using namespace brix::report::bench;

namespace {

TPredloha bigTemplate() {
    TPredloha lines{QStringLiteral("I,0,\"Velká sestava, \"\"test\"\"\""),
                    QStringLiteral("I,1,5,42,5"), QStringLiteral("I,2,0,826,1169,50,50,70,70,1,0"),
                    QStringLiteral("I,4,0,\"#Firma\",1,30,1,25,1"),
                    QStringLiteral("F,0,Soucet,\"Součet\",0,\"0\",2,\"#3*#4\",2,15,2,2")};
    static const char* kSections[] = {"Z", "H", "T", "K", "P", "S0", "U0"};
    for (int i = 0; i < 2000; ++i) {
        const QString s = QString::fromLatin1(kSections[i % 7]);
        switch (i % 4) {
        case 0:
            lines << QStringLiteral("%1,1,0,%2,%3,200,18,Arial CE,10,0,1,34,15,238,"
                                    "\"Popis položky, \"\"%2\"\"\",0,0,0")
                         .arg(s)
                         .arg(i % 700)
                         .arg(i % 90);
            break;
        case 1:
            lines << QStringLiteral("%1,2,Nazev,%2,%3,300,18,Courier New,-13,8421504,0,16,0,238,"
                                    "\"\",0,0,0")
                         .arg(s)
                         .arg(i % 700)
                         .arg(i % 90);
            break;
        case 2:
            lines << QStringLiteral("%1,8,0,%2,%3,500,40,,2,9,0,15,12345678,1")
                         .arg(s)
                         .arg(i % 700)
                         .arg(i % 90);
            break;
        default:
            lines << QStringLiteral("%1,6,Soucet,%2,%3,100,18,Arial,10,0,2,1,0,238,\"\",0,0,0")
                         .arg(s)
                         .arg(i % 700)
                         .arg(i % 90);
        }
    }
    return lines;
}

void BM_BaselineSplitLines(benchmark::State& state) {
    const TPredloha lines = bigTemplate();
    for (auto _ : state) {
        qsizetype n = 0;
        for (const QString& l : lines)
            n += l.split(QLatin1Char(',')).size();
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_BaselineSplitLines)->Unit(benchmark::kMillisecond);

void BM_LoadTemplate(benchmark::State& state) {
    const TPredloha lines = bigTemplate();
    const QStringList fields{"Cislo", "Nazev", "Cena", "Mnozstvi"};
    for (auto _ : state) {
        ReportDefinition def;
        loadDefinition(def, lines, &fields);
        benchmark::DoNotOptimize(def.sections.data());
    }
}
BENCHMARK(BM_LoadTemplate)->Unit(benchmark::kMillisecond);

void BM_SaveTemplate(benchmark::State& state) {
    ReportDefinition def;
    loadDefinition(def, bigTemplate());
    for (auto _ : state)
        benchmark::DoNotOptimize(saveDefinition(def));
}
BENCHMARK(BM_SaveTemplate)->Unit(benchmark::kMillisecond);

// The whole round: read the file, build the definition, write it back to a file.
void BM_LoadSaveFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.pts"));
    const QString out = dir.filePath(QStringLiteral("out.pts"));
    brix::writeTextLines(in, bigTemplate());
    for (auto _ : state) {
        ReportDefinition def;
        loadTemplateFile(in, def);
        saveTemplateFile(out, def);
    }
}
BENCHMARK(BM_LoadSaveFile)->Unit(benchmark::kMillisecond);

ListResolver recordResolver() {
    ListResolver r;
    r.fields = {{QStringLiteral("Cislo"), TCalcType{1, 17, QStringLiteral("17"), false}},
                {QStringLiteral("Nazev"), TCalcType{2, 0, QStringLiteral("Šroub M8"), false}},
                {QStringLiteral("Cena"), TCalcType{1, 12.5, QStringLiteral("12,5"), false}},
                {QStringLiteral("Mnozstvi"), TCalcType{1, 4, QStringLiteral("4"), false}}};
    return r;
}

void BM_BaselineArithmetic(benchmark::State& state) {
    volatile double price = 12.5, qty = 4, code = 17;
    for (auto _ : state) {
        double v = price * qty * 1.21 + (code > 10 ? 1 : 0);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_BaselineArithmetic);

void BM_EvaluateExpression(benchmark::State& state) {
    const ListResolver r = recordResolver();
    const QString e = QStringLiteral("#Cena * #Mnozstvi * 1.21 + IIF(#1 > 10, 1, 0)");
    for (auto _ : state)
        benchmark::DoNotOptimize(evaluate(e, &r));
}
BENCHMARK(BM_EvaluateExpression);

void BM_EvaluateTextExpression(benchmark::State& state) {
    const ListResolver r = recordResolver();
    const QString e = QStringLiteral("UPPER(LEFT(#Nazev, 5)) + ' ' + FORMAT(#Cena, '#,##0.00')");
    for (auto _ : state)
        benchmark::DoNotOptimize(evaluate(e, &r));
}
BENCHMARK(BM_EvaluateTextExpression);

// A run of 10,000 records of a three-column list with page header and footer into character-grid
// text (target: under 1 s), against formatting the same rows into text directly.
void BM_BaselineFormatRows(benchmark::State& state) {
    const ListBridge data = listData();
    for (auto _ : state) {
        QByteArray out;
        for (const auto& row : data.rows)
            out += brix::encode(QStringLiteral("%1  %2%3\r\n")
                                    .arg(row[0].text, 10)
                                    .arg(row[1].text, -38)
                                    .arg(row[2].text, 20));
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_BaselineFormatRows)->Unit(benchmark::kMillisecond);

void BM_RunListToText(benchmark::State& state) {
    ListBridge data = listData();
    TSestava report;
    report.IsStored = true;
    report.setPredloha(listTemplate());
    report.DataSource = &data;
    qsizetype bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        if (report.PrintTextToStream(buffer) != seOk) state.SkipWithError("run failed");
        bytes = buffer.data().size();
    }
    state.counters["pages"] = report.output.pageCount();
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_RunListToText)->Unit(benchmark::kMillisecond);

// A page of the body in the middle of the run.
struct GraphicPage {
    ListBridge data = listData();
    TSestava report;
    int page = 0;
    GraphicPage() {
        report.IsStored = true;
        report.setPredloha(graphicListTemplate());
        report.DataSource = &data;
        report.Prepare();
        page = report.output.pageCount() / 2;
    }
    QImage blank() const {
        QImage img(int(report.output.printableWidth), int(report.output.printableHeight),
                   QImage::Format_RGB32);
        img.fill(Qt::white);
        return img;
    }
};

GraphicPage& graphicPage() {
    static GraphicPage p;
    return p;
}

// The run of the graphic variant, its texts measured by the faces' advances.
void BM_RunGraphicList(benchmark::State& state) {
    ListBridge data = listData();
    TSestava report;
    report.IsStored = true;
    report.setPredloha(graphicListTemplate());
    report.DataSource = &data;
    for (auto _ : state)
        if (report.Prepare() != seOk) state.SkipWithError("run failed");
    state.counters["pages"] = report.output.pageCount();
}
BENCHMARK(BM_RunGraphicList)->Unit(benchmark::kMillisecond);

void BM_BaselineDrawTextOfAPage(benchmark::State& state) {
    GraphicPage& g = graphicPage();
    const TStranaPrvku& page = g.report.output.pages[size_t(g.page)];
    // The same strings at the same baselines in the same faces, the fonts made beforehand.
    struct Text {
        QFont font;
        QPointF at;
        QString text;
    };
    std::vector<Text> texts;
    for (const TVystPrvek& el : page.elements) {
        if (!el.lines) continue;
        for (int i = el.firstLine; i <= el.lastLine; ++i) {
            const TRadek& line = el.lines->lines[size_t(i)];
            for (const TFragment& run : line.runs) {
                QFont f(substituteFontFamily(run.fontName));
                f.setPixelSize(int(emSize(run.fontSize)));
                texts.push_back(
                    {f, QPointF(el.left + run.x.front(), el.top + line.top + line.baseline),
                     run.text});
            }
        }
    }
    QImage img = g.blank();
    for (auto _ : state) {
        QPainter p(&img);
        p.setPen(Qt::black);
        for (const Text& t : texts) {
            p.setFont(t.font);
            p.drawText(t.at, t.text);
        }
    }
    state.counters["texts"] = double(texts.size());
}
BENCHMARK(BM_BaselineDrawTextOfAPage)->Unit(benchmark::kMillisecond);

void BM_RenderPageIntoImage(benchmark::State& state) {
    GraphicPage& g = graphicPage();
    QImage img = g.blank();
    for (auto _ : state) {
        QPainter p(&img);
        renderPage(p, g.report.output, g.page, 1.0);
    }
    state.counters["pages"] = g.report.output.pageCount();
}
BENCHMARK(BM_RenderPageIntoImage)->Unit(benchmark::kMillisecond);

// ---- the preview window ------------------------------------------------------------------

int busiestPage(const TSestVystup& out) {
    int best = 0;
    for (int i = 1; i < out.pageCount(); ++i)
        if (out.pages[size_t(i)].elements.size() > out.pages[size_t(best)].elements.size())
            best = i;
    return best;
}

// The renderer alone: the sheet into an image of the paper at 100 %, white, the page at its
// margins (what the preview shows of it, without the desk around).
void renderIntoImage(benchmark::State& state, const TSestava& report, int page) {
    const TSestVystup& out = report.output;
    const PageSetup& setup = report.definition.page;
    const QSizeF paper = reportPaper(setup);
    QImage img(int(std::lround(paper.width())), int(std::lround(paper.height())),
               QImage::Format_RGB32);
    for (auto _ : state) {
        img.fill(Qt::white);
        QPainter p(&img);
        p.translate(std::lround(setup.marginLeft), std::lround(setup.marginTop));
        renderPage(p, out, page, 1.0);
    }
    state.counters["elements"] = double(out.pages[size_t(page)].elements.size());
}

// The preview's sheet painting the whole page (desk, sheet and page) at 100 %; with next, a
// different page every time.
void paintInPreview(benchmark::State& state, TSestava& report, int page, bool next) {
    PreviewRequest request;
    request.state = PreviewRequest::State::Normal;
    TFormSestP window(report, request);
    window.setCurrentPage(page);
    PreviewSheet& sheet = *window.Sheet;
    sheet.resize(sheet.sizeHint());
    // The format of a window's backing store on a 24-bit screen.
    QImage img(sheet.size(), QImage::Format_RGB32);
    int shown = page;
    for (auto _ : state) {
        if (next) {
            shown = (shown + 1) % window.pageCount();
            window.setCurrentPage(shown);
        }
        // As a window paints it: the sheet is opaque, nothing is drawn beneath it.
        sheet.render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    }
    state.counters["elements"] = double(report.output.pages[size_t(page)].elements.size());
}

void BM_RenderBusiestListPageIntoImage(benchmark::State& state) {
    GraphicPage& g = graphicPage();
    renderIntoImage(state, g.report, busiestPage(g.report.output));
}
BENCHMARK(BM_RenderBusiestListPageIntoImage)->Unit(benchmark::kMillisecond);

void BM_PreviewBusiestListPage(benchmark::State& state) {
    GraphicPage& g = graphicPage();
    paintInPreview(state, g.report, busiestPage(g.report.output), false);
}
BENCHMARK(BM_PreviewBusiestListPage)->Unit(benchmark::kMillisecond);

void BM_PreviewNextListPage(benchmark::State& state) {
    GraphicPage& g = graphicPage();
    paintInPreview(state, g.report, busiestPage(g.report.output), true);
}
BENCHMARK(BM_PreviewNextListPage)->Unit(benchmark::kMillisecond);

// One page of 20 photographs (stretched, aspect kept) and 20 barcodes.
struct PicturePage {
    QTemporaryDir dir;
    ListBridge data;
    TSestava report;
    PicturePage() {
        QImage photo(400, 300, QImage::Format_RGB32);
        QPainter p(&photo);
        for (int y = 0; y < 300; y += 10)
            for (int x = 0; x < 400; x += 10)
                p.fillRect(x, y, 10, 10, QColor::fromHsv((x + y) % 360, 200, 220));
        p.end();
        const QString file = dir.filePath(QStringLiteral("foto.png"));
        photo.save(file);
        TPredloha t{QStringLiteral("I,0,\"Obrázky a kódy\""),
                    QStringLiteral("I,1,5,42,5"),
                    QStringLiteral("I,2,0,826,1169,50,50,70,70,1,0"),
                    QStringLiteral("I,3,0,1,1000,0"),
                    QStringLiteral("I,3,1,0,0,0"),
                    QStringLiteral("I,3,2,0,0,0"),
                    QStringLiteral("I,3,3,0,0,0"),
                    QStringLiteral("I,3,4,0,0,0"),
                    QStringLiteral("I,6,0,8,8,0,1,0,0")};
        for (int i = 0; i < 20; ++i) {
            const int x = (i % 4) * 180, y = (i / 4) * 200;
            t << QStringLiteral("Z,11,0,%1,%2,170,90,,1,0,0,48,16777215,0,\"%3\"")
                     .arg(x)
                     .arg(y)
                     .arg(file);
            t << QStringLiteral("Z,12,0,%1,%2,170,80,,1,0,%3,48,16777215,0,"
                                "\"'8594000%4'\",0,0,0")
                     .arg(x)
                     .arg(y + 100)
                     .arg(i % 2 ? 14 : 0)
                     .arg(100000 + i);
        }
        report.IsStored = true;
        report.setPredloha(t);
        report.DataSource = &data;
        report.Prepare();
    }
};

PicturePage& picturePage() {
    static PicturePage p;
    return p;
}

void BM_RenderPicturePageIntoImage(benchmark::State& state) {
    renderIntoImage(state, picturePage().report, 0);
}
BENCHMARK(BM_RenderPicturePageIntoImage)->Unit(benchmark::kMillisecond);

void BM_PreviewPicturePage(benchmark::State& state) {
    paintInPreview(state, picturePage().report, 0, false);
}
BENCHMARK(BM_PreviewPicturePage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
