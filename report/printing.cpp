#include "printing.h"

#include "codec.h"
#include "pdf.h"
#include "platform.h"
#include "render.h"

#include <QDir>
#include <QPainter>
#include <QRegularExpression>

namespace brix::report {

namespace {

QString portFile(const TSestava& r, const QString& port) {
    QString p = port;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir(r.programDir.isEmpty() ? QDir::currentPath() : r.programDir).filePath(p);
}

// A job of pages on one printer: every page of the range, each on its sheets.
class GraphicPrint {
public:
    GraphicPrint(TSestava& r, int printer, const SheetPlan& plan)
        : r_(r), printer_(printer), plan_(plan) {}

    // One job of the document; copies asked of the driver. 0, 3 or 6.
    int job(int copies) {
        Platform& ui = Platform::current();
        QString error;
        std::unique_ptr<GraphicJob> job =
            ui.beginGraphicJob(printer_, PrintJobOptions{r_.Popis, copies, {}, {}, false}, &error);
        if (!job) return seOutput;
        const PrinterDetails details = ui.printerDetails(printer_);
        const TSestVystup& out = r_.output;
        const PageSetup& page = r_.definition.page;
        const int first = std::max(1, out.firstPage);
        const int last = std::min(out.lastPage, out.pageCount());
        RenderOptions options;
        options.keepGoing = [this] { return keepGoing(); };
        for (int p = first; p <= last; ++p)
            for (int row = 0; row < plan_.rows; ++row)
                for (int col = 0; col < plan_.columns; ++col) {
                    if (!keepGoing()) {
                        job->abort();
                        return seCancelled;
                    }
                    QPainter* painter = job->beginPage();
                    if (!painter) {
                        job->abort();
                        return seOutput;
                    }
                    const double sx = job->dpiX() / 100.0, sy = job->dpiY() / 100.0;
                    const double s = sx * plan_.percent / 100.0;
                    painter->save();
                    // The painter's origin is the printable area's corner; the page stands at
                    // its margins from the paper's edge, shifted by the sheet's part of it. A
                    // reduced page is drawn at the reduced scale (its lines stay one pixel).
                    painter->translate(-details.minMargins.left() * sx,
                                       -details.minMargins.top() * sy);
                    painter->scale(1, sy / sx);
                    painter->translate((page.marginLeft - col * plan_.stepX) * s,
                                       (page.marginTop - row * plan_.stepY) * s);
                    const bool drawn = renderPage(*painter, out, p - 1, s, options);
                    painter->restore();
                    job->endPage();
                    if (!drawn) {
                        job->abort();
                        return seCancelled;
                    }
                }
        return job->finish() ? seOk : seOutput;
    }

private:
    bool keepGoing() { return !r_.OnProgress || r_.OnProgress(r_, -1); }

    TSestava& r_;
    int printer_;
    SheetPlan plan_;
};

int printText(TSestava& r, int printer, PortKind kind, const QString& file) {
    const QByteArray bytes = textGridOutput(r.output);
    if (r.OnProgress && !r.OnProgress(r, -1)) return seCancelled;
    if (kind != PortKind::Printer) return writeFileWhole(file, bytes) ? seOk : seOutput;
    Platform& ui = Platform::current();
    const int copies = std::max(1, r.output.copies);
    const bool byDriver = ui.printerDetails(printer).multipleCopies;
    for (int n = 0; n < (byDriver ? 1 : copies); ++n) {
        if (n > 0 && r.OnProgress && !r.OnProgress(r, -1)) return seCancelled;
        QString error;
        if (!ui.printRaw(printer, PrintJobOptions{r.Popis, byDriver ? copies : 1, {}, {}, false},
                         bytes, &error))
            return seOutput;
    }
    return seOk;
}

int printGraphic(TSestava& r, int printer, const PrintHooks& hooks) {
    Platform& ui = Platform::current();
    SheetPlan plan;
    const PrinterDetails details = ui.printerDetails(printer);
    if (pageExceedsSheet(reportPaper(r.definition.page), details.paper) && hooks.oversize) {
        const std::optional<SheetPlan> chosen =
            hooks.oversize(OversizeQuestion{printer, r.definition.page});
        if (!chosen) return seCancelled;
        plan = *chosen;
        if (plan.columns < 1 || plan.rows < 1) return seCancelled;
    }
    GraphicPrint print(r, printer, plan);
    // A driver that prints one copy gets the document once per copy.
    const int copies = std::max(1, r.output.copies);
    const bool byDriver = details.multipleCopies;
    int result = seOk;
    for (int n = 0; result == seOk && n < (byDriver ? 1 : copies); ++n)
        result = print.job(byDriver ? copies : 1);
    return result;
}

} // namespace

PortKind portKind(const QString& port) {
    const QString p = port.trimmed();
    if (p.isEmpty()) return PortKind::Printer;
    if (p.compare(QLatin1String("FILE:"), Qt::CaseInsensitive) == 0) return PortKind::AskFile;
    static const QRegularExpression device(QStringLiteral("^(LPT|COM|USB)\\d*:?$|^PRN:?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    return device.match(p).hasMatch() ? PortKind::Printer : PortKind::File;
}

int printerToUse(int printerIndex) {
    Platform& ui = Platform::current();
    const int count = int(ui.printers().size());
    if (printerIndex >= 0 && printerIndex < count) return printerIndex;
    return count > 0 ? ui.defaultPrinterIndex() : -1;
}

bool TextPrinterTest(int printerIndex) {
    const int p = printerToUse(printerIndex);
    return p >= 0 && Platform::current().isTextPrinter(p);
}

bool MarginCheck(const PageSetup& page, int printerIndex) {
    const int p = printerToUse(printerIndex);
    const PrinterDetails d = p >= 0 ? Platform::current().printerDetails(p) : PrinterDetails{};
    return marginsFitPrinter(page, d.valid() ? &d.minMargins : nullptr);
}

int printPrepared(TSestava& r, int printerIndex, const QString& port, const PrintHooks& hooks) {
    const int printer = printerToUse(printerIndex);
    PortKind kind = portKind(port);
    QString file;
    if (kind == PortKind::AskFile) {
        file = Platform::current().saveFileName(QStringLiteral("Výběr souboru"), r.programDir,
                                                QStringLiteral("Všechny soubory (*.*)"));
        if (file.isEmpty()) return seCancelled;
    } else if (kind == PortKind::File) {
        file = portFile(r, port);
    }
    // Without a printer only a file can be written: the grid of a character-grid template,
    // else the PDF.
    if (printer < 0 && kind == PortKind::Printer) return seNoPrinter;
    const bool text =
        printer >= 0 ? Platform::current().isTextPrinter(printer) : r.definition.grid.characterGrid;
    if (text) return printText(r, printer, kind, file);
    if (kind != PortKind::Printer) {
        const QByteArray pdf = pdfDocument(r.output, r.definition.page, r.output.firstPage,
                                           r.output.lastPage, r.pdfOptions);
        return writeFileWhole(file, pdf) ? seOk : seOutput;
    }
    return printGraphic(r, printer, hooks);
}

void installPrinting(TSestava& report, PrintHooks hooks) {
    report.printerOutput = [hooks](TSestava& r, int printerIndex, const QString& port) {
        return printPrepared(r, printerIndex, port, hooks);
    };
}

} // namespace brix::report
