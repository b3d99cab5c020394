#include "outputs.h"

#include "codec.h"
#include "html.h"
#include "printing.h"
#include "rtf.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <string_view>

using namespace brix::report;

namespace {

void printErr(const QString& s) {
    std::fputs(s.toUtf8().constData(), stderr);
    std::fputs("\n", stderr);
}

QString pageFile(const QString& file, int page, const char* extension) {
    return replaceExtension(file, QStringLiteral("%1%2").arg(page).arg(QLatin1String(extension)));
}

// The printer of a name (ignoring case) or an index; -1 when there is none such.
int printerOf(const QString& text) {
    const QList<brix::PrinterInfo> printers = brix::Platform::current().printers();
    for (int i = 0; i < printers.size(); ++i)
        if (printers[i].name.compare(text, Qt::CaseInsensitive) == 0) return i;
    bool number = false;
    const int n = text.toInt(&number);
    return number && n >= 0 && n < printers.size() ? n : -1;
}

} // namespace

ConsolePlatform::ConsolePlatform() : QtPlatform() {}

brix::Button ConsolePlatform::messageBox(const brix::MessageBox& box) {
    printErr(box.caption.isEmpty() ? box.text : box.caption + QStringLiteral(": ") + box.text);
    return box.escapeAnswer();
}

int takeOutputOption(const QString& a, const QString& v, RunOutputs* o, QString* error) {
    if (a == QLatin1String("--pdf"))
        o->pdf = v;
    else if (a == QLatin1String("--rtf"))
        o->rtf = v;
    else if (a == QLatin1String("--html"))
        o->html = v;
    else if (a == QLatin1String("--emf"))
        o->emf = v;
    else if (a == QLatin1String("--wmf"))
        o->wmf = v;
    else if (a == QLatin1String("--print"))
        o->printer = v;
    else if (a == QLatin1String("--port"))
        o->port = v;
    else if (a == QLatin1String("--copies")) {
        bool ok = false;
        o->copies = v.toInt(&ok);
        if (!ok || o->copies < 1 || o->copies > 999) {
            *error = QStringLiteral("Počet kopií \"%1\" není celé číslo od 1 do 999.").arg(v);
            return -1;
        }
    } else {
        return 0;
    }
    return 1;
}

int writeOutputs(TSestava& report, const RunOutputs& o, QJsonArray* files, QString* error) {
    const TSestVystup& out = report.output;
    const int first = std::max(1, out.firstPage);
    const int last = std::min(out.lastPage, out.pageCount());
    auto failed = [&](const QString& path) {
        *error = QStringLiteral("Soubor \"%1\" se nepodařilo zapsat.").arg(path);
        return seOutput;
    };
    if (!o.pdf.isEmpty()) {
        if (report.ExportPdfFile(QString(), o.pdf) != seOk) return failed(o.pdf);
        files->append(o.pdf);
    }
    if (!o.rtf.isEmpty()) {
        // The run is there already: the document of its pages, not a second run.
        const QByteArray rtf = rtfDocument(out, report.definition.page, out.firstPage, out.lastPage,
                                           report.rtfOptions);
        if (!brix::writeFileWhole(o.rtf, rtf)) return failed(o.rtf);
        files->append(o.rtf);
    }
    for (int page = first; page <= last; ++page) {
        if (!o.html.isEmpty()) {
            const QString html = pageFile(o.html, page, ".html");
            const QString pictures =
                replaceExtension(QFileInfo(o.html).fileName(), QStringLiteral("%1_.bmp").arg(page));
            if (report.ExportHtmlPageFile(QFileInfo(html).absolutePath(),
                                          QFileInfo(html).fileName(), page - 1, pictures) != seOk)
                return failed(html);
            files->append(html);
        }
        if (!o.emf.isEmpty()) {
            const QString emf = pageFile(o.emf, page, ".emf");
            if (report.ExportEmfPageFile(emf, page - 1) != seOk) return failed(emf);
            files->append(emf);
        }
        if (!o.wmf.isEmpty()) {
            const QString wmf = pageFile(o.wmf, page, ".wmf");
            if (report.ExportWmfPageFile(wmf, page - 1) != seOk) return failed(wmf);
            files->append(wmf);
        }
    }
    if (!o.printer.isEmpty()) {
        const int printer = printerOf(o.printer);
        if (printer < 0 && portKind(o.port) == PortKind::Printer) {
            *error = QStringLiteral("Tiskárna \"%1\" není v systému.").arg(o.printer);
            return seNoPrinter;
        }
        report.output.copies = o.copies;
        // Nobody to ask: an oversized page is printed reduced to the sheet.
        PrintHooks hooks;
        hooks.oversize = [](const OversizeQuestion& q) -> std::optional<SheetPlan> {
            const QSizeF sheet = brix::Platform::current().printerDetails(q.printerIndex).paper;
            return planSheets(OversizeMode::Reduce, reportPaper(q.page), sheet, QMarginsF());
        };
        const int result = printPrepared(report, printer, o.port, hooks);
        if (result != seOk) {
            *error = QStringLiteral("Tisk na tiskárně \"%1\" se nepodařil.").arg(o.printer);
            return result;
        }
        if (portKind(o.port) == PortKind::File)
            files->append(QDir(report.programDir).filePath(o.port));
    }
    return seOk;
}

int listPrinters() {
    ConsolePlatform console;
    brix::ScopedPlatform use(console);
    QJsonArray list;
    const QList<brix::PrinterInfo> printers = console.printers();
    const int standard = console.defaultPrinterIndex();
    for (int i = 0; i < printers.size(); ++i) {
        const brix::PrinterDetails d = console.printerDetails(i);
        list.append(QJsonObject{
            {QStringLiteral("index"), i},
            {QStringLiteral("name"), printers[i].name},
            {QStringLiteral("driver"), d.driver},
            {QStringLiteral("location"), d.location},
            {QStringLiteral("default"), i == standard},
            {QStringLiteral("textOnly"), console.isTextPrinter(i)},
            {QStringLiteral("dpi"), QJsonArray{d.dpiX, d.dpiY}},
            {QStringLiteral("paper"), d.paperName},
            {QStringLiteral("size"), QJsonArray{qRound(d.paper.width()), qRound(d.paper.height())}},
            {QStringLiteral("margins"),
             QJsonArray{qRound(d.minMargins.left()), qRound(d.minMargins.top()),
                        qRound(d.minMargins.right()), qRound(d.minMargins.bottom())}},
            {QStringLiteral("landscape"), d.landscape},
            {QStringLiteral("copies"), d.multipleCopies}});
    }
    std::fputs(QJsonDocument(list).toJson(QJsonDocument::Compact).constData(), stdout);
    std::fputs("\n", stdout);
    return 0;
}

bool drawsOrPrints(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--png" || a == "--pdf" || a == "--html" || a == "--emf" || a == "--wmf" ||
            a == "--print" || (i == 1 && a == "printers"))
            return true;
    }
    return false;
}
