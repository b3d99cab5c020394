// Template loading and saving (target: a template of 2,000 element lines loads and saves in
// under 20 ms) and expression evaluation, against baselines run in the same process: splitting
// the same lines at commas, and summing the same values in plain C++. Drawing one page of the
// 10,000-record list in a graphic variant into an image at scale 1 (target: under 50 ms and at
// most 1.5 times QPainter's drawText of the same strings at the same places).

#include "bridge.h"
#include "codec.h"
#include "definition.h"
#include "expression.h"
#include "fontmetrics.h"
#include "fonts.h"
#include "listresolver.h"
#include "render.h"
#include "sestava.h"
#include "templatefile.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

using namespace brix::report;

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
constexpr int kListRecords = 10000;

ListBridge listData() {
    ListBridge b;
    b.columns = {{QStringLiteral("Cislo"), ftInteger, {}},
                 {QStringLiteral("Nazev"), ftString, {}},
                 {QStringLiteral("Cena"), ftCurrency, {}}};
    for (int i = 1; i <= kListRecords; ++i) {
        const double price = i * 1.25;
        b.rows.push_back({TCalcType::ofNumber(i, QString::number(i)),
                          TCalcType::ofText(QStringLiteral("Výrobek číslo %1").arg(i), 0),
                          TCalcType::ofNumber(price, QString::number(price, 'f', 2))});
    }
    return b;
}

QString textElement(const char* section, int kind, const char* ref, int left, int top, int width,
                    const QString& text, int align, const char* font = "Courier New") {
    return QStringLiteral("%1,%2,%3,%4,%5,%6,17,%9,12,0,0,%7,0,238,\"%8\",0,0,0")
        .arg(QLatin1String(section))
        .arg(kind)
        .arg(QLatin1String(ref))
        .arg(left)
        .arg(top)
        .arg(width)
        .arg(align)
        .arg(text, QLatin1String(font));
}

TPredloha listTemplate() {
    return TPredloha{QStringLiteral("I,0,\"Seznam výrobků\""),
                     QStringLiteral("I,1,5,42,5"),
                     QStringLiteral("I,2,0,826,1169,50,50,70,70,1,0"),
                     QStringLiteral("I,3,0,1,17,0"),
                     QStringLiteral("I,3,1,1,34,0"),
                     QStringLiteral("I,3,2,1,17,0"),
                     QStringLiteral("I,3,3,1,17,0"),
                     QStringLiteral("I,3,4,1,17,0"),
                     QStringLiteral("I,6,1,10,17,0,0,0,0"),
                     textElement("Z", 1, "0", 0, 0, 400, QStringLiteral("SEZNAM VÝROBKŮ"), 0),
                     textElement("H", 1, "0", 0, 0, 100, QStringLiteral("Číslo"), 1),
                     textElement("H", 1, "0", 120, 0, 300, QStringLiteral("Název"), 0),
                     textElement("H", 1, "0", 500, 0, 200, QStringLiteral("Cena"), 1),
                     textElement("T", 2, "Cislo", 0, 0, 100, QString(), 1),
                     textElement("T", 2, "Nazev", 120, 0, 300, QString(), 0),
                     textElement("T", 2, "Cena", 500, 0, 200, QString(), 1),
                     textElement("P", 5, "3", 0, 0, 100, QStringLiteral("Strana %d"), 0),
                     textElement("P", 5, "4", 90, 0, 100, QStringLiteral("z %d"), 0),
                     textElement("K", 1, "0", 0, 0, 300, QStringLiteral("Konec seznamu"), 0)};
}

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

// The list on the graphic grid, its texts in Arial and Times New Roman.
TPredloha graphicListTemplate() {
    TPredloha t = listTemplate();
    for (QString& line : t) {
        if (line.startsWith(QLatin1String("I,6,"))) line = QStringLiteral("I,6,0,8,8,0,1,0,0");
        line.replace(QLatin1String(",Courier New,"), line.startsWith(QLatin1String("T,2,Nazev"))
                                                         ? QStringLiteral(",Times New Roman,")
                                                         : QStringLiteral(",Arial,"));
    }
    return t;
}

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

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
