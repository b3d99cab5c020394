// The desktop's printers: the system's print queues through Qt's print support, raw jobs
// through the CUPS library.

#include "qtplatform.h"

#include <QApplication>
#include <QDebug>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cups/cups.h>

#include <algorithm>

namespace brix {

namespace {

QSizeF toUnits(const QSizeF& inches) {
    return inches * 100.0;
}

// The margins of a printer set to the smallest it can print, so that the painter's origin is
// the printable area's corner. (The print device computes them for the orientation set.)
void useMinimumMargins(QPrinter& printer) {
    const QPageLayout l = printer.pageLayout();
    printer.setPageMargins(l.minimumMargins(), l.units());
}

class QtGraphicJob : public GraphicJob {
public:
    explicit QtGraphicJob(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer)) {}
    ~QtGraphicJob() override {
        if (painter_.isActive()) abort();
    }
    QPainter* beginPage() override {
        if (!started_) {
            started_ = true;
            if (!painter_.begin(printer_.get())) return nullptr;
            return &painter_;
        }
        if (!painter_.isActive() || !printer_->newPage()) return nullptr;
        return &painter_;
    }
    bool endPage() override { return painter_.isActive(); }
    bool finish() override {
        if (!started_) {
            // A document without pages: nothing to hand over.
            return true;
        }
        const bool ok = painter_.isActive() && painter_.end();
        return ok && printer_->printerState() != QPrinter::Error;
    }
    void abort() override {
        if (painter_.isActive()) {
            printer_->abort();
            painter_.end();
        }
    }
    int dpiX() const override { return printer_->resolution(); }
    int dpiY() const override { return printer_->resolution(); }

private:
    std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
    bool started_ = false;
};

} // namespace

void QtPlatform::applyPaper(QPrinter& printer) const {
    const auto it = papers_.find(printer.printerName());
    if (it != papers_.end()) {
        printer.setPageSize(it->second.size);
        printer.setPageOrientation(it->second.orientation);
    }
    useMinimumMargins(printer);
}

PrinterDetails QtPlatform::printerDetails(int index) const {
    const QList<PrinterInfo> all = printers();
    if (index < 0 || index >= all.size()) return {};
    const QPrinterInfo info = QPrinterInfo::printerInfo(all[index].name);
    if (info.isNull()) return {};
    QPrinter printer(info, QPrinter::HighResolution);
    applyPaper(printer);
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Inch);
    PrinterDetails d;
    d.name = info.printerName();
    d.driver = info.makeAndModel();
    d.location = info.location();
    d.dpiX = d.dpiY = printer.resolution();
    d.paperName = layout.pageSize().name();
    d.paper = toUnits(layout.fullRect(QPageLayout::Inch).size());
    const QMarginsF m = layout.minimumMargins();
    d.minMargins = QMarginsF(m.left() * 100, m.top() * 100, m.right() * 100, m.bottom() * 100);
    d.landscape = layout.orientation() == QPageLayout::Landscape;
    d.multipleCopies = printer.supportsMultipleCopies();
    d.textOnly = isTextOnlyPrinter(all[index], machineConfig().textPrinters);
    return d;
}

bool QtPlatform::setPrinterLandscape(int index, bool landscape) {
    const QList<PrinterInfo> all = printers();
    if (index < 0 || index >= all.size()) return false;
    const QPrinterInfo info = QPrinterInfo::printerInfo(all[index].name);
    if (info.isNull()) return false;
    QPrinter printer(info, QPrinter::HighResolution);
    applyPaper(printer);
    papers_[info.printerName()] = {printer.pageLayout().pageSize(),
                                   landscape ? QPageLayout::Landscape : QPageLayout::Portrait};
    return true;
}

bool QtPlatform::printerProperties(int index) {
    const QList<PrinterInfo> all = printers();
    if (index < 0 || index >= all.size()) return false;
    const QPrinterInfo info = QPrinterInfo::printerInfo(all[index].name);
    if (info.isNull()) return false;
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        qWarning().noquote() << "Brix: no screen for the printer properties of" << all[index].name;
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    applyPaper(printer);
    QPageSetupDialog dlg(&printer, QApplication::activeWindow());
    dlg.setWindowTitle(QStringLiteral("Vlastnosti tiskárny %1").arg(info.printerName()));
    if (dlg.exec() != QDialog::Accepted) return false;
    papers_[info.printerName()] = {printer.pageLayout().pageSize(),
                                   printer.pageLayout().orientation()};
    return true;
}

std::unique_ptr<GraphicJob> QtPlatform::beginGraphicJob(int index, const PrintJobOptions& options,
                                                        QString* error) {
    std::unique_ptr<QPrinter> printer;
    if (!options.outputFile.isEmpty()) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(options.outputFile);
        if (!options.paper.isEmpty()) {
            const QSizeF inches = options.paper / 100.0;
            const QSizeF portrait(std::min(inches.width(), inches.height()),
                                  std::max(inches.width(), inches.height()));
            printer->setPageSize(QPageSize(portrait, QPageSize::Inch));
        }
        printer->setPageOrientation(options.landscape ? QPageLayout::Landscape
                                                      : QPageLayout::Portrait);
        printer->setPageMargins(QMarginsF(0, 0, 0, 0));
    } else {
        const QList<PrinterInfo> all = printers();
        const QPrinterInfo info = index >= 0 && index < all.size()
                                      ? QPrinterInfo::printerInfo(all[index].name)
                                      : QPrinterInfo();
        if (info.isNull()) {
            if (error) *error = QStringLiteral("Tiskárna není k dispozici.");
            return nullptr;
        }
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        applyPaper(*printer);
    }
    printer->setFullPage(false);
    printer->setDocName(options.jobName);
    printer->setCopyCount(std::max(1, options.copies));
    return std::make_unique<QtGraphicJob>(std::move(printer));
}

bool QtPlatform::printRaw(int index, const PrintJobOptions& options, const QByteArray& data,
                          QString* error) {
    const QList<PrinterInfo> all = printers();
    if (index < 0 || index >= all.size()) {
        if (error) *error = QStringLiteral("Tiskárna není k dispozici.");
        return false;
    }
    const QByteArray queue = all[index].name.toUtf8();
    const QByteArray title = options.jobName.toUtf8();
    cups_option_t* cupsOptions = nullptr;
    int optionCount = 0;
    if (options.copies > 1)
        optionCount = cupsAddOption("copies", QByteArray::number(options.copies).constData(),
                                    optionCount, &cupsOptions);
    auto failed = [&](int job) {
        if (error)
            *error = QStringLiteral("Tiskárna %1 úlohu nepřijala: %2")
                         .arg(all[index].name, QString::fromUtf8(cupsLastErrorString()));
        if (job > 0) cupsCancelJob(queue.constData(), job);
        cupsFreeOptions(optionCount, cupsOptions);
        return false;
    };
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.constData(), title.constData(),
                                  optionCount, cupsOptions);
    if (job <= 0) return failed(0);
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), job, title.constData(),
                          CUPS_FORMAT_RAW, 1) != HTTP_STATUS_CONTINUE)
        return failed(job);
    if (!data.isEmpty() && cupsWriteRequestData(CUPS_HTTP_DEFAULT, data.constData(),
                                                size_t(data.size())) != HTTP_STATUS_CONTINUE)
        return failed(job);
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData()) > IPP_STATUS_OK_EVENTS_COMPLETE)
        return failed(0);
    cupsFreeOptions(optionCount, cupsOptions);
    return true;
}

} // namespace brix
