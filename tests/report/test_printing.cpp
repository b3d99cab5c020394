// Printing the prepared pages on the scripted printers: text printers get the grid's bytes as
// one raw job, graphic ones the pages at their margins; the range, copies by the driver or by
// repeating the job, the oversized page's choice, cancelling, ports naming files, no printer;
// and the desktop's graphic job into a PDF file of the system read back by pdftotext.

#include "codec.h"
#include "export_fixture.h"
#include "printing.h"
#include "qtplatform.h"
#include "report_test_util.h"

#include "scripted_gtest.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace brix::report;
using brix::PrinterDetails;
using brix::RecordedPrintJob;
using brix::test::runReport;

namespace {

// Three pages of the sample, each with a frame at the printable area's corner.
brix::test::RunReport threePages() {
    QStringList t = brix::test::sampleTemplate();
    t << brix::test::textLine("T", 1, "0", 0, 0, 10, 10, "Arial", 8, 0, 0, 0, 15, "");
    brix::test::RunReport r = runReport(t, QStringLiteral("Nazev:A\nPrvní\nDruhý\nTřetí\n"));
    EXPECT_EQ(r.result, seOk);
    EXPECT_EQ(r.report->output.pageCount(), 3);
    installPrinting(*r.report);
    return r;
}

void twoPrinters(brix::TestPlatform& ui, bool copiesByDriver) {
    ui.setPrinters({{"Laser", "HP LaserJet"}, {"Pokladna", "Generic / Text Only"}}, 0);
    for (int i = 0; i < 2; ++i) {
        PrinterDetails d = brix::Platform::current().printerDetails(i);
        d.multipleCopies = copiesByDriver;
        d.paper = QSizeF(1169, 826); // A4 turned, as the sample's page
        d.landscape = true;
        d.minMargins = QMarginsF(20, 10, 20, 10);
        d.dpiX = d.dpiY = 50;
        ui.setPrinterDetails(i, d);
    }
}

bool dark(const QImage& img, int x, int y) {
    return qGray(img.pixel(x, y)) < 128;
}

// Dark within a pixel of the place (a scaled line falls on either pixel).
bool darkNear(const QImage& img, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dark(img, x + dx, y + dy)) return true;
    return false;
}

} // namespace

TEST(Printing, TextPrinterGetsTheGridOfTheRangeAsOneRawJob) {
    brix::TestPlatform ui;
    twoPrinters(ui, true);
    brix::test::RunReport r = threePages();
    r.report->StartPage = 2;
    r.report->EndPage = 3;
    r.report->PrintCopies = 3;
    r.report->ExportLanguage = slCP852;
    ASSERT_EQ(r.report->PrintOn(1), seOk);
    const auto jobs = ui.printJobs();
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_EQ(jobs[0].kind, RecordedPrintJob::Kind::Raw);
    EXPECT_EQ(jobs[0].printerName, "Pokladna");
    EXPECT_EQ(jobs[0].options.jobName, "Zkouška exportu"); // the template's description
    EXPECT_EQ(jobs[0].options.copies, 3);
    EXPECT_EQ(jobs[0].raw, textGridOutput(r.report->output, 2, 3));
    EXPECT_TRUE(jobs[0].raw.contains(brix::encode(u"Druhý", brix::Codepage::Cp852)));
    EXPECT_FALSE(jobs[0].raw.contains(brix::encode(u"První", brix::Codepage::Cp852)));

    // A driver without copies gets the job once per copy.
    twoPrinters(ui, false);
    ui.clearPrintJobs();
    ASSERT_EQ(r.report->PrintOn(1), seOk);
    ASSERT_EQ(ui.printJobs().size(), 3);
    for (const RecordedPrintJob& j : ui.printJobs()) {
        EXPECT_EQ(j.options.copies, 1);
        EXPECT_EQ(j.raw, textGridOutput(r.report->output, 2, 3));
    }
}

TEST(Printing, GraphicPrinterGetsThePagesOfTheRangeAtTheirMargins) {
    brix::TestPlatform ui;
    twoPrinters(ui, true);
    brix::test::RunReport r = threePages();
    r.report->StartPage = 2;
    r.report->PrintCopies = 2;
    ASSERT_EQ(r.report->PrintOn(0), seOk);
    auto jobs = ui.printJobs();
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_EQ(jobs[0].kind, RecordedPrintJob::Kind::Graphic);
    EXPECT_EQ(jobs[0].options.jobName, "Zkouška exportu"); // the template's description
    EXPECT_EQ(jobs[0].options.copies, 2);
    EXPECT_TRUE(jobs[0].finished);
    EXPECT_FALSE(jobs[0].aborted);
    ASSERT_EQ(jobs[0].pages.size(), 2); // pages 2 and 3
    // The corner frame stands at the margins (50, 70) from the paper's edge: 25, 35 pixels.
    const QImage& page = jobs[0].pages[0];
    EXPECT_EQ(page.size(), QSize(585, 413));
    EXPECT_TRUE(dark(page, 25, 36));
    EXPECT_TRUE(dark(page, 27, 35));
    EXPECT_FALSE(dark(page, 23, 36));
    EXPECT_FALSE(dark(page, 27, 33));

    // Without copies by the driver: the whole document once per copy.
    twoPrinters(ui, false);
    ui.clearPrintJobs();
    ASSERT_EQ(r.report->PrintOn(0), seOk);
    jobs = ui.printJobs();
    ASSERT_EQ(jobs.size(), 2);
    for (const RecordedPrintJob& j : jobs) {
        EXPECT_EQ(j.options.copies, 1);
        EXPECT_EQ(j.pages.size(), 2);
    }
}

TEST(Printing, CancellingAbortsTheJob) {
    brix::TestPlatform ui;
    twoPrinters(ui, true);
    brix::test::RunReport r = threePages();
    int asked = 0;
    r.report->OnProgress = [&](TSestavaTyp&, int step) { return step != -1 || ++asked < 20; };
    EXPECT_EQ(r.report->PrintOn(0), seCancelled);
    const auto jobs = ui.printJobs();
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_TRUE(jobs[0].aborted);
    EXPECT_LT(jobs[0].pages.size(), 3);

    asked = 1000;
    ui.clearPrintJobs();
    EXPECT_EQ(r.report->PrintOn(1), seCancelled);
    EXPECT_TRUE(ui.printJobs().isEmpty());
}

TEST(Printing, OversizedPageIsCutReducedOrTiledAsChosen) {
    brix::TestPlatform ui;
    ui.setPrinters({{"Laser", "HP LaserJet"}}, 0);
    QStringList t = brix::test::sampleTemplate();
    t[2] = QStringLiteral("I,2,0,1500,1200,50,50,70,70,1,0"); // "Skládaný (15 x 12")"
    brix::test::RunReport r = runReport(t, QStringLiteral("Nazev:A\nJeden\n"));
    ASSERT_EQ(r.result, seOk);
    std::optional<SheetPlan> answer;
    int asked = 0;
    installPrinting(*r.report, PrintHooks{[&](const OversizeQuestion& q) {
        ++asked;
        EXPECT_EQ(q.printerIndex, 0);
        EXPECT_EQ(q.page.paperWidth, 1500);
        return answer;
    }});
    // No answer: nothing printed.
    EXPECT_EQ(r.report->PrintOn(0), seCancelled);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(ui.printJobs().isEmpty());

    const QSizeF page(1500, 1200), sheet(826, 1169);
    answer = planSheets(OversizeMode::Tile, page, sheet, QMarginsF(50, 70, 50, 70));
    ASSERT_EQ(r.report->PrintOn(0), seOk);
    ASSERT_EQ(ui.printJobs().size(), 1);
    EXPECT_EQ(ui.printJobs()[0].pages.size(), 4); // 2 × 2 sheets

    ui.clearPrintJobs();
    answer = planSheets(OversizeMode::Reduce, page, sheet, QMarginsF());
    ASSERT_EQ(r.report->PrintOn(0), seOk);
    ASSERT_EQ(ui.printJobs()[0].pages.size(), 1);
    // At 55 % the report header's frame (700 units wide from the margin 50) ends at 413.
    const QImage p = ui.printJobs()[0].pages[0];
    EXPECT_TRUE(darkNear(p, 200, int(70 * 0.55)));
    EXPECT_FALSE(darkNear(p, 420, int(70 * 0.55)));

    // An A4 page on an A4 printer is not oversized.
    asked = 0;
    t[2] = QStringLiteral("I,2,0,826,1169,50,50,70,70,1,0");
    brix::test::RunReport a4 = runReport(t, QStringLiteral("Nazev:A\nJeden\n"));
    installPrinting(*a4.report, PrintHooks{[&](const OversizeQuestion&) {
        ++asked;
        return std::optional<SheetPlan>();
    }});
    EXPECT_EQ(a4.report->PrintOn(0), seOk);
    EXPECT_EQ(asked, 0);
}

TEST(Printing, PortsNamingFilesGetTheGridOrThePdf) {
    brix::TestPlatform ui;
    twoPrinters(ui, true);
    brix::test::RunReport r = threePages();
    QTemporaryDir root;
    r.report->programDir = root.path();
    ASSERT_EQ(r.report->PrintEx(1, QStringLiteral("LPT.TXT")), seOk);
    QFile text(root.filePath(QStringLiteral("LPT.TXT")));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll(), textGridOutput(r.report->output));
    ASSERT_EQ(r.report->PrintEx(0, QStringLiteral("tisk\\sestava.pdf")), seOk + 6); // no folder
    QDir(root.path()).mkdir(QStringLiteral("tisk"));
    ASSERT_EQ(r.report->PrintEx(0, QStringLiteral("tisk\\sestava.pdf")), seOk);
    QFile pdf(root.filePath(QStringLiteral("tisk/sestava.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(8) == "%PDF-1.3");
    EXPECT_TRUE(ui.printJobs().isEmpty());

    // "FILE:" asks for the file; a device port prints on the printer.
    ui.answerFile(root.filePath(QStringLiteral("zvolený.txt")));
    ASSERT_EQ(r.report->PrintEx(1, QStringLiteral("FILE:")), seOk);
    EXPECT_TRUE(QFile::exists(root.filePath(QStringLiteral("zvolený.txt"))));
    ui.answerFile(QString());
    EXPECT_EQ(r.report->PrintEx(1, QStringLiteral("FILE:")), seCancelled);
    ASSERT_EQ(r.report->PrintEx(1, QStringLiteral("LPT1:")), seOk);
    EXPECT_EQ(ui.printJobs().size(), 1);
    EXPECT_EQ(portKind(QStringLiteral("com2")), PortKind::Printer);
    EXPECT_EQ(portKind(QStringLiteral("LPT.TXT")), PortKind::File);
}

TEST(Printing, WithoutPrintersOnlyFilesArePrintedAndTheMarginCheckPasses) {
    brix::TestPlatform ui;
    brix::test::RunReport r = threePages();
    QTemporaryDir root;
    r.report->programDir = root.path();
    EXPECT_EQ(r.report->PrintOn(0), seNoPrinter);
    EXPECT_EQ(r.report->PrintEx(-1, QStringLiteral("out.pdf")), seOk);
    EXPECT_TRUE(QFile::exists(root.filePath(QStringLiteral("out.pdf"))));
    EXPECT_FALSE(TextPrinterTest(0));

    PageSetup page; // margins 50, 50, 70, 70
    EXPECT_TRUE(MarginCheck(page, -1));
    twoPrinters(ui, true);
    EXPECT_TRUE(MarginCheck(page, 0));
    PrinterDetails d = brix::Platform::current().printerDetails(0);
    d.minMargins = QMarginsF(60, 10, 20, 10);
    ui.setPrinterDetails(0, d);
    EXPECT_FALSE(MarginCheck(page, 0));
    EXPECT_FALSE(MarginCheck(page, 7)); // an invalid index checks the default printer
    EXPECT_TRUE(TextPrinterTest(1));
    EXPECT_FALSE(TextPrinterTest(0));
}

namespace {

// The desktop platform printing into a PDF file of the system instead of a queue.
class PdfFilePrinter : public brix::QtPlatform {
public:
    explicit PdfFilePrinter(QString file)
        : QtPlatform(brix::MachineConfig::defaults()), file_(std::move(file)) {}
    QList<brix::PrinterInfo> printers() const override { return {{"Soubor", "PDF"}}; }
    int defaultPrinterIndex() const override { return 0; }
    PrinterDetails printerDetails(int) const override {
        PrinterDetails d;
        d.name = "Soubor";
        d.paper = QSizeF(1169, 826);
        d.dpiX = d.dpiY = 1200;
        d.multipleCopies = true;
        return d;
    }
    std::unique_ptr<brix::GraphicJob> beginGraphicJob(int, const brix::PrintJobOptions& o,
                                                      QString* error) override {
        brix::PrintJobOptions file = o;
        file.outputFile = file_;
        file.paper = QSizeF(826, 1169);
        file.landscape = true;
        return QtPlatform::beginGraphicJob(-1, file, error);
    }
    brix::Button messageBox(const brix::MessageBox& box) override {
        ADD_FAILURE() << "box: " << box.text.toStdString();
        return box.escapeAnswer();
    }

private:
    QString file_;
};

} // namespace

TEST(Printing, DesktopJobIntoAPdfFileReadsBackAsTheModel) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("tisk.pdf"));
    PdfFilePrinter desktop(file);
    brix::ScopedPlatform use(desktop);
    brix::test::RunReport r = threePages();
    r.report->EndPage = 1;
    ASSERT_EQ(r.report->PrintOn(0), seOk);
    const auto text = brix::test::runProgram(QStringLiteral("pdftotext"),
                                             {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                              QStringLiteral("UTF-8"), file, QStringLiteral("-")});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    const QString s = QString::fromUtf8(text.out);
    EXPECT_TRUE(s.contains(brix::test::pangram())) << s.toStdString();
    EXPECT_TRUE(s.contains(QStringLiteral("První")));
    EXPECT_TRUE(s.contains(QStringLiteral("Strana 1")));
}
