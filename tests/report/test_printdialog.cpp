// The print dialog of the preview: its defaults, the printer's driver and place, the properties
// dialog, the range check, editing and previewing another template, the default form, and
// printing from the preview on scripted graphic and text printers.

#include "codec.h"
#include "platform.h"
#include "preview.h"
#include "preview_fixture.h"
#include "printdialog.h"
#include "printing.h"
#include "reportwindows.h"
#include "scripted_gtest.h"
#include "talivzoom.h"
#include "util/ini_file.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace brix;
using namespace brix::report;

namespace {

// A list of 3 pages whose template is a file among others of its directory.
class PrintDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::guiApp();
        write(QStringLiteral("seznam.pts"), QStringLiteral("Seznam zboží"), false);
        write(QStringLiteral("naSirku.pts"), QStringLiteral("Seznam na šířku"), true);
        data = test::previewData(test::recordsForPages(3));
        report.DataSource = data.get();
        report.ReportDirIgnore = false;
        report.setReportDir(dir.path());
        report.setReportName(QStringLiteral("seznam"));
        report.programDir = dir.path();
        report.previewWindow = showPreviewWindow;
        installPrinting(report);
        ui.setPrinters({{QStringLiteral("Kancelář"), QStringLiteral("HP LaserJet 4")},
                        {QStringLiteral("Pokladna"), QStringLiteral("Generic / Text Only")}},
                       0);
    }

    void write(const QString& name, const QString& description, bool landscape) {
        QStringList lines = test::previewTemplate(landscape);
        lines[0] = QStringLiteral("I,0,\"%1\"").arg(description);
        ASSERT_TRUE(writeTextLines(QDir(dir.path()).filePath(name), lines));
    }

    // The preview of the report; work runs in the shown window.
    int preview(const std::function<void(TFormSestP&)>& work) {
        ui.answerModal([&](QDialog& d) { work(dynamic_cast<TFormSestP&>(d)); },
                       QStringLiteral("FormSestP"));
        return report.PrintPreview();
    }
    // The print dialog of the window; work runs in it.
    void printDialog(TFormSestP& w, const std::function<void(TSestPrintDlg&)>& work) {
        ui.answerModal([&](QDialog& d) { work(dynamic_cast<TSestPrintDlg&>(d)); },
                       QStringLiteral("SestPrintDlg"));
        w.TiskClick();
    }

    TestPlatform ui;
    QTemporaryDir dir;
    std::unique_ptr<ListBridge> data;
    TSestava report;
};

TEST_F(PrintDialogTest, DefaultsFollowThePreviewAndThePrinter) {
    report.PrintCopies = 3;
    preview([&](TFormSestP& w) {
        w.setCurrentPage(1);
        printDialog(w, [&](TSestPrintDlg& d) {
            EXPECT_EQ(d.ComboPrinter->count(), 2);
            EXPECT_EQ(d.ComboPrinter->currentText(), "Kancelář");
            EXPECT_EQ(d.LabelTyp->text(), "HP LaserJet 4");
            EXPECT_EQ(d.LabelKde->text(), "usb://Kancelář");
            d.ComboPrinter->setCurrentIndex(1);
            EXPECT_EQ(d.LabelTyp->text(), "Generic / Text Only");
            EXPECT_EQ(d.LabelKde->text(), "usb://Pokladna");
            EXPECT_EQ(d.EditOd->value(), 1);
            EXPECT_EQ(d.EditDo->value(), 3);
            EXPECT_EQ(d.EditKopie->value(), 3);
            EXPECT_FALSE(d.CheckAktualni->isChecked());
            EXPECT_EQ(d.CheckAktualni->text(), "Tisknout &aktuální stránku");
            // The templates of the directory by description, the shown one chosen.
            ASSERT_EQ(d.ComboPredloha->count(), 2);
            EXPECT_EQ(d.ComboPredloha->itemText(0), "Seznam na šířku");
            EXPECT_EQ(d.ComboPredloha->currentText(), "Seznam zboží");
            const TPrintDialogTyp s = d.settings();
            EXPECT_EQ(s.printerIndex, 1);
            EXPECT_FALSE(s.printToFile);
            EXPECT_FALSE(needsOwnRun(report, s));
            // Properties: the platform's dialog; what it changed shows.
            ui.setPrinterPropertiesHandler([](int, PrinterDetails& p) {
                p.location = QStringLiteral("LPT1:");
                return true;
            });
            d.ButtonVlastnosti->click();
            EXPECT_EQ(ui.shown().back().caption, "printerProperties");
            EXPECT_EQ(d.LabelKde->text(), "LPT1:");
            d.ButtonStorno->click();
        });
        w.ZavritClick();
    });
}

TEST_F(PrintDialogTest, APageRangeOutsideThePagesIsRefusedAndTheDialogStays) {
    preview([&](TFormSestP& w) {
        printDialog(w, [&](TSestPrintDlg& d) {
            auto refused = [&](int from, int to) {
                d.EditOd->setValue(from);
                d.EditDo->setValue(to);
                ui.answer(Button::Ok, QStringLiteral("Rozsah stránek není správný."),
                          QStringLiteral("Chyba"));
                d.ButtonTisk->click();
                EXPECT_TRUE(d.isVisible()) << from << "-" << to;
            };
            refused(3, 2);
            refused(2, 4);
            refused(4, 5);
            // The current page needs no range.
            d.CheckAktualni->setChecked(true);
            EXPECT_FALSE(d.EditOd->isEnabled());
            EXPECT_TRUE(pageRangeValid(d.settings(), 3, false));
            d.CheckAktualni->setChecked(false);
            d.EditOd->setValue(1);
            d.EditDo->setValue(3);
            EXPECT_TRUE(pageRangeValid(d.settings(), 3, false));
            d.reject();
        });
        w.ZavritClick();
    });
}

TEST_F(PrintDialogTest, AnotherTemplateIsEditedOrPreviewedAndTheShownOneComesBack) {
    QStringList edited;
    report.designerWindow = [&](TSestava& s) { edited << QFileInfo(s.fullFileName()).fileName(); };
    preview([&](TFormSestP& w) {
        ASSERT_EQ(w.pageCount(), 3);
        printDialog(w, [&](TSestPrintDlg& d) {
            d.ComboPredloha->setCurrentIndex(0);
            d.ButtonUpravit->click();
            EXPECT_EQ(edited, QStringList{"naSirku.pts"});
            // The preview's template and pages are its own again.
            EXPECT_EQ(report.ReportName(), "seznam.pts");
            EXPECT_EQ(report.definition.description, "Seznam zboží");
            EXPECT_EQ(report.output.pageCount(), 3);
            EXPECT_EQ(d.ComboPredloha->currentText(), "Seznam na šířku");
            d.ButtonNahled->click();
        });
        // The chosen template is shown: landscape, its own pages.
        EXPECT_EQ(report.definition.description, "Seznam na šířku");
        EXPECT_TRUE(report.definition.page.landscape);
        EXPECT_GT(w.pageCount(), 3);
        EXPECT_EQ(w.currentPage(), 0);
        EXPECT_EQ(w.Sheet->sheetRect().size(), QSize(1169, 826));
        w.ZavritClick();
    });
    // Closing puts back the template the form set.
    EXPECT_EQ(report.ReportName(), "seznam.pts");
    EXPECT_EQ(report.definition.description, "Seznam zboží");
}

TEST_F(PrintDialogTest, TheDefaultFormIsKeptForTheTemplateName) {
    preview([&](TFormSestP& w) {
        printDialog(w, [&](TSestPrintDlg& d) {
            d.ComboPredloha->setCurrentIndex(0);
            d.CheckVychozi->setChecked(true);
            d.ButtonNahled->click();
        });
        w.ZavritClick();
    });
    const QString ini = QDir(dir.path()).filePath(QStringLiteral("SestDLL.ini"));
    EXPECT_EQ(readIniValue(ini, u"VychoziFormulare", u"seznam.pts", QString()), "naSirku.pts");
    // A later print of the name takes the default form while it exists.
    TSestava later;
    later.DataSource = data.get();
    later.ReportDirIgnore = false;
    later.setReportDir(dir.path());
    later.setReportName(QStringLiteral("seznam.pts"));
    later.programDir = dir.path();
    ASSERT_EQ(later.Prepare(), seOk);
    EXPECT_EQ(later.definition.description, "Seznam na šířku");
    // Editing keeps the name's own file.
    EXPECT_EQ(QFileInfo(later.fullFileName()).fileName(), "seznam.pts");
    ASSERT_TRUE(QFile::remove(QDir(dir.path()).filePath(QStringLiteral("naSirku.pts"))));
    ASSERT_EQ(later.Prepare(), seOk);
    EXPECT_EQ(later.definition.description, "Seznam zboží");
}

TEST_F(PrintDialogTest, TheRangeAndCopiesPrintOnTheChosenPrinterAsOneJob) {
    QStringList events;
    report.BeforePrintPreview = [&](TSestava& r) {
        events << QStringLiteral("before %1").arg(r.output.pageCount());
    };
    report.AfterPrintPreview = [&](TSestava&) { events << QStringLiteral("after"); };
    preview([&](TFormSestP& w) {
        printDialog(w, [&](TSestPrintDlg& d) {
            d.EditOd->setValue(2);
            d.EditDo->setValue(3);
            d.EditKopie->setValue(2);
            d.ButtonTisk->click();
        });
        // The current page only.
        w.setCurrentPage(1);
        printDialog(w, [&](TSestPrintDlg& d) {
            d.CheckAktualni->setChecked(true);
            d.ButtonTisk->click();
        });
        EXPECT_EQ(w.pageCount(), 3);
        w.ZavritClick();
    });
    EXPECT_EQ(events, (QStringList{"before 3", "after", "before 3", "after"}));
    const QList<RecordedPrintJob> jobs = ui.printJobs();
    ASSERT_EQ(jobs.size(), 2);
    EXPECT_EQ(jobs[0].kind, RecordedPrintJob::Kind::Graphic);
    EXPECT_EQ(jobs[0].printer, 0);
    EXPECT_EQ(jobs[0].options.jobName, "Tisková sestava");
    EXPECT_EQ(jobs[0].options.copies, 2);
    ASSERT_EQ(jobs[0].pages.size(), 2);
    EXPECT_TRUE(jobs[0].finished);
    ASSERT_EQ(jobs[1].pages.size(), 1);
    EXPECT_EQ(jobs[1].options.copies, 1);
    EXPECT_EQ(jobs[1].pages[0], jobs[0].pages[0]) << "page 2 both times";
    EXPECT_NE(jobs[0].pages[0], jobs[0].pages[1]);
    // The report is as it was: its range, copies and description.
    EXPECT_EQ(report.output.firstPage, 1);
    EXPECT_EQ(report.output.copies, 1);
    EXPECT_EQ(report.Popis, "Seznam zboží");
}

TEST_F(PrintDialogTest, ATextPrinterGetsTheCharacterGridOfTheRange) {
    preview([&](TFormSestP& w) {
        printDialog(w, [&](TSestPrintDlg& d) {
            d.ComboPrinter->setCurrentIndex(1);
            d.EditOd->setValue(2);
            d.EditDo->setValue(3);
            d.ButtonTisk->click();
        });
        w.ZavritClick();
    });
    const QList<RecordedPrintJob> jobs = ui.printJobs();
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_EQ(jobs[0].kind, RecordedPrintJob::Kind::Raw);
    EXPECT_EQ(jobs[0].printerName, "Pokladna");
    EXPECT_EQ(jobs[0].options.jobName, "Tisková sestava");
    EXPECT_EQ(jobs[0].raw, textGridOutput(report.output, 2, 3));
    EXPECT_FALSE(jobs[0].raw.isEmpty());
}

TEST_F(PrintDialogTest, OneRecordOrAnotherTemplateRunForThePrintAndThePreviewKeepsItsPages) {
    preview([&](TFormSestP& w) {
        printDialog(w, [&](TSestPrintDlg& d) {
            d.CheckJedenZaznam->setChecked(true);
            d.EditDo->setValue(1);
            d.ButtonTisk->click();
        });
        EXPECT_EQ(w.pageCount(), 3);
        EXPECT_EQ(report.output.pageCount(), 3);
        EXPECT_FALSE(report.TiskJedenZaznam);
        // Another template: its own run, the range not bound to the shown pages.
        printDialog(w, [&](TSestPrintDlg& d) {
            d.ComboPredloha->setCurrentIndex(0);
            d.EditOd->setValue(4);
            d.EditDo->setValue(4);
            d.ButtonTisk->click();
        });
        EXPECT_EQ(w.pageCount(), 3);
        EXPECT_EQ(report.definition.description, "Seznam zboží");
        w.ZavritClick();
    });
    const QList<RecordedPrintJob> jobs = ui.printJobs();
    ASSERT_EQ(jobs.size(), 2);
    ASSERT_EQ(jobs[0].pages.size(), 1);
    // One record: the header, one body row and the footer, far less ink than a full page.
    const QImage& one = jobs[0].pages[0];
    int dark = 0;
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x)
            dark += qGray(one.pixel(x, y)) < 128;
    EXPECT_GT(dark, 100);
    // The landscape template's page 4, on a sheet turned for it.
    ASSERT_EQ(jobs[1].pages.size(), 1);
}

TEST_F(PrintDialogTest, ToAFileTheGraphicPrinterWritesPdfAndTheTextPrinterTheGrid) {
    const QString pdf = QDir(dir.path()).filePath(QStringLiteral("tisk.pdf"));
    const QString txt = QDir(dir.path()).filePath(QStringLiteral("tisk.txt"));
    preview([&](TFormSestP& w) {
        printDialog(w, [&](TSestPrintDlg& d) {
            d.CheckSoubor->setChecked(true);
            ui.answerFile(pdf);
            d.ButtonTisk->click();
        });
        printDialog(w, [&](TSestPrintDlg& d) {
            d.ComboPrinter->setCurrentIndex(1);
            d.CheckSoubor->setChecked(true);
            d.EditOd->setValue(3);
            ui.answerFile(txt);
            d.ButtonTisk->click();
        });
        // A cancelled file dialog prints nothing and says nothing.
        printDialog(w, [&](TSestPrintDlg& d) {
            d.CheckSoubor->setChecked(true);
            ui.answerFile(QString());
            d.ButtonTisk->click();
        });
        w.ZavritClick();
    });
    EXPECT_TRUE(ui.printJobs().isEmpty());
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(5), "%PDF-");
    QFile t(txt);
    ASSERT_TRUE(t.open(QIODevice::ReadOnly));
    EXPECT_EQ(t.readAll(), textGridOutput(report.output, 3, 3));
}

TEST_F(PrintDialogTest, AJobThePrinterRefusesIsReported) {
    preview([&](TFormSestP& w) {
        ui.failNextPrintJob(QStringLiteral("Tiskárna je vypnutá."));
        printDialog(w, [&](TSestPrintDlg& d) {
            ui.answer(Button::Ok, QStringLiteral("Sestavu se nepodařilo vytisknout."),
                      QStringLiteral("Chyba"));
            d.ButtonTisk->click();
        });
        w.ZavritClick();
    });
}

// The windows the program installs at start: a component made afterwards previews in the
// window, prints from it on the platform's printer and asks about a page larger than the sheet.
TEST_F(PrintDialogTest, TheProgramsWindowsPrintFromThePreviewAndAskAboutALargerPage) {
    installReportWindows();
    TSestava r;
    uninstallReportWindows();
    ASSERT_TRUE(r.printerOutput);
    r.DataSource = data.get();
    r.programDir = dir.path();
    r.IsStored = true;
    r.setPredloha(test::previewTemplate(true));
    bool asked = false;
    ui.answerModal(
        [&](QDialog& d) {
            auto& w = dynamic_cast<TFormSestP&>(d);
            printDialog(w, [&](TSestPrintDlg& p) {
                p.EditOd->setValue(1);
                p.EditDo->setValue(1);
                // A landscape page on the portrait sheet of the office printer.
                ui.answerModal(
                    [&](QDialog& z) {
                        auto& zoom = dynamic_cast<TFormTalivReportZoom&>(z);
                        asked = true;
                        zoom.RadioZmensit->setChecked(true);
                        zoom.ButtonTisknout->click();
                    },
                    QStringLiteral("FormTalivReportZoom"));
                p.ButtonTisk->click();
            });
            w.ZavritClick();
        },
        QStringLiteral("FormSestP"));
    EXPECT_EQ(r.PrintPreview(), 1);
    EXPECT_TRUE(asked);
    const QList<RecordedPrintJob> jobs = ui.printJobs();
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_EQ(jobs[0].kind, RecordedPrintJob::Kind::Graphic);
    EXPECT_EQ(jobs[0].options.jobName, "Tisková sestava");
    EXPECT_EQ(jobs[0].pages.size(), 1);
    // Uninstalled: components made later have no windows.
    TSestava later;
    EXPECT_FALSE(later.printerOutput);
    EXPECT_FALSE(later.previewWindow);
}

TEST_F(PrintDialogTest, WithoutPrintersThePrintCommandWarns) {
    ui.setPrinters({}, -1);
    preview([&](TFormSestP& w) {
        ui.answer(Button::Ok, QStringLiteral("V systému není nainstalovaná žádná tiskárna."),
                  QStringLiteral("Varování"));
        w.ActionTisk->trigger();
        w.ZavritClick();
    });
}

} // namespace
