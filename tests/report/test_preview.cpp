// The preview window: pages, keys and panels, "Zobrazit stránku ...", zoom and the drawing of
// the sheet, every save against the component's own exports, a failed save, search, the
// designer's and the application's commands, the busy flag, and the progress window.

#include "platform.h"
#include "preview.h"
#include "preview_fixture.h"
#include "previewfiles.h"
#include "progress.h"
#include "render.h"
#include "scripted_gtest.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace brix;
using namespace brix::report;
using brix::test::previewReport;
using brix::test::recordsForPages;

namespace {

// Opens the report's preview through the platform; work runs in the shown window.
int withPreview(TestPlatform& ui, TSestava& r, const std::function<void(TFormSestP&)>& work,
                const PreviewRequest& request = {}) {
    r.previewWindow = showPreviewWindow;
    ui.answerModal(
        [&](QDialog& d) {
            auto& w = dynamic_cast<TFormSestP&>(d);
            QApplication::setActiveWindow(&w);
            EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
            work(w);
        },
        QStringLiteral("FormSestP"));
    return r.PreviewEx(request);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString panels(const TFormSestP& w) {
    return w.PanelAktualni->text() + QStringLiteral(" | ") + w.PanelCelkem->text();
}

TEST(Preview, ButtonsKeysAndPanelsMoveWithinThePages) {
    TestPlatform ui;
    auto r = previewReport(recordsForPages(3));
    const int result = withPreview(ui, *r.report, [&](TFormSestP& w) {
        EXPECT_EQ(w.windowTitle(), "Prohlížení sestavy před tiskem");
        ASSERT_EQ(w.pageCount(), 3);
        EXPECT_EQ(panels(w), "Aktuální stránka: 1 | Celkem stran: 3");
        EXPECT_FALSE(w.ActionPrvni->isEnabled());
        EXPECT_FALSE(w.ActionPredchozi->isEnabled());
        w.ActionDalsi->trigger();
        EXPECT_EQ(panels(w), "Aktuální stránka: 2 | Celkem stran: 3");
        QTest::keyClick(&w, Qt::Key_PageDown);
        EXPECT_EQ(w.currentPage(), 2);
        EXPECT_FALSE(w.ActionDalsi->isEnabled());
        EXPECT_FALSE(w.ActionPosledni->isEnabled());
        QTest::keyClick(&w, Qt::Key_PageDown); // nothing past the last page
        EXPECT_EQ(w.currentPage(), 2);
        QTest::keyClick(&w, Qt::Key_PageUp);
        EXPECT_EQ(w.currentPage(), 1);
        QTest::keyClick(&w, Qt::Key_Home, Qt::ControlModifier);
        EXPECT_EQ(w.currentPage(), 0);
        QTest::keyClick(&w, Qt::Key_End, Qt::ControlModifier);
        EXPECT_EQ(panels(w), "Aktuální stránka: 3 | Celkem stran: 3");
        w.ActionPrvni->trigger();
        EXPECT_EQ(w.currentPage(), 0);
        w.ActionPosledni->trigger();
        w.ActionPredchozi->trigger();
        EXPECT_EQ(w.currentPage(), 1);
        // The keys work with the focus in the page's scroll box too.
        w.ScrollBox->setFocus();
        QTest::keyClick(w.ScrollBox, Qt::Key_PageDown);
        EXPECT_EQ(w.currentPage(), 2);
        // The commands are in the menu and on the tool bar, with their hints.
        EXPECT_EQ(w.ActionStranka->text(), "Zobrazit stránku ...");
        EXPECT_EQ(w.ActionTisk->text(), "Tisk náhledu...");
        EXPECT_EQ(w.ActionZavrit->toolTip(), "Zavřít náhled");
        EXPECT_FALSE(w.ActionOprava->isVisible());
        EXPECT_FALSE(w.ActionVlastni->isVisible());
        w.ActionZavrit->trigger();
    });
    EXPECT_EQ(result, 1);

    // A long report: the last page key goes to page 170.
    auto big = previewReport(recordsForPages(170));
    withPreview(ui, *big.report, [&](TFormSestP& w) {
        ASSERT_EQ(w.pageCount(), 170);
        QTest::keyClick(&w, Qt::Key_End, Qt::ControlModifier);
        EXPECT_EQ(panels(w), "Aktuální stránka: 170 | Celkem stran: 170");
        QTest::keyClick(&w, Qt::Key_PageUp);
        EXPECT_EQ(w.currentPage(), 168);
        // Escape is a close without the confirming command.
        QTest::keyClick(&w, Qt::Key_Escape);
    });
}

TEST(Preview, PageAnswerShowsTheNearestPageAndIgnoresAnythingElse) {
    TestPlatform ui;
    auto r = previewReport(recordsForPages(3));
    withPreview(ui, *r.report, [&](TFormSestP& w) {
        ui.answerInput(QStringLiteral("99"), QStringLiteral("Výběr stránky"));
        w.ActionStranka->trigger();
        EXPECT_EQ(w.currentPage(), 2);
        EXPECT_EQ(ui.shown().back().text, "Stránka číslo:");
        EXPECT_EQ(ui.shown().back().preset, "1");
        ui.answerInput(QStringLiteral("2"));
        w.StrankaClick();
        EXPECT_EQ(w.currentPage(), 1);
        ui.answerInput(QStringLiteral("0"));
        w.StrankaClick();
        EXPECT_EQ(w.currentPage(), 0);
        w.setCurrentPage(2);
        ui.answerInput(QStringLiteral("-4"));
        w.StrankaClick();
        EXPECT_EQ(w.currentPage(), 0);
        w.setCurrentPage(1);
        ui.answerInput(QStringLiteral("x"));
        w.StrankaClick();
        EXPECT_EQ(w.currentPage(), 1);
        ui.answerInput(QStringLiteral(" 3 "));
        w.StrankaClick();
        EXPECT_EQ(w.currentPage(), 2);
        ui.cancelInput();
        w.StrankaClick();
        EXPECT_EQ(w.currentPage(), 2);
        w.ZavritClick();
    });
}

TEST(Preview, ZoomTakesTheNearestStepAndScalesTheWholeSheet) {
    TestPlatform ui;
    EXPECT_EQ(previewZooms()[size_t(nearestZoomIndex(90))], 83);
    EXPECT_EQ(previewZooms()[size_t(nearestZoomIndex(1000))], 300);
    EXPECT_EQ(previewZooms()[size_t(nearestZoomIndex(0))], 32);
    auto r = previewReport(recordsForPages(3));
    PreviewRequest request;
    request.zoom = 90;
    request.state = PreviewRequest::State::Normal;
    withPreview(
        ui, *r.report,
        [&](TFormSestP& w) {
            EXPECT_EQ(w.zoom(), 83);
            EXPECT_EQ(w.ComboZoom->currentText(), "83 %");
            EXPECT_TRUE(w.ZoomActions[5]->isChecked());
            EXPECT_EQ(w.ComboZoom->toolTip(), "Zobrazení v měřítku [%]");
            // The sheet is the paper at the zoom.
            EXPECT_EQ(w.Sheet->sheetRect().size(), QSize(686, 970));
            w.ZoomActions[9]->trigger();
            EXPECT_EQ(w.zoom(), 200);
            EXPECT_EQ(w.Sheet->sheetRect().size(), QSize(1652, 2338));
            EXPECT_EQ(w.ComboZoom->currentText(), "200 %");
            w.ComboZoom->setCurrentIndex(0);
            emit w.ComboZoom->activated(0);
            EXPECT_EQ(w.zoom(), 32);
            EXPECT_TRUE(w.ZoomActions[0]->isChecked());
            w.ZavritClick();
        },
        request);
    // A landscape page lies on its side.
    auto wide = previewReport(10, true);
    withPreview(ui, *wide.report, [&](TFormSestP& w) {
        EXPECT_EQ(w.zoom(), 100);
        EXPECT_EQ(w.Sheet->sheetRect().size(), QSize(1169, 826));
        w.ZavritClick();
    });
}

// The sheet shows the renderer's page at the margins, white on the grey desk.
TEST(Preview, TheSheetIsTheRenderedPageAtTheMargins) {
    TestPlatform ui;
    auto r = previewReport(recordsForPages(3));
    withPreview(ui, *r.report, [&](TFormSestP& w) {
        w.setZoomIndex(nearestZoomIndex(50));
        w.setCurrentPage(1);
        const QImage shown = w.Sheet->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect sheet = w.Sheet->sheetRect();
        EXPECT_EQ(shown.pixel(sheet.left() - 8, sheet.top() + 10), qRgb(128, 128, 128));
        EXPECT_EQ(shown.pixel(sheet.left() + 3, sheet.top() + 3), qRgb(255, 255, 255));
        const QImage page =
            renderPageImage(r.report->output, 1, 0.5).convertToFormat(QImage::Format_RGB32);
        const QPoint origin = sheet.topLeft() + QPoint(25, 35); // margins 50 and 70 at 50 %
        int dark = 0, differ = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) < 128) ++dark;
                if (page.pixel(x, y) != shown.pixel(origin + QPoint(x, y))) ++differ;
            }
        EXPECT_GT(dark, 500);
        EXPECT_EQ(differ, 0);
        w.ZavritClick();
    });
}

TEST(Preview, EverySaveWritesWhatTheComponentExports) {
    TestPlatform ui;
    QTemporaryDir dir;
    auto r = previewReport(recordsForPages(3));
    r.report->pdfOptions.clock = [] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)); };
    const QString base = dir.filePath(QStringLiteral("sestava"));
    withPreview(ui, *r.report, [&](TFormSestP& w) {
        w.setCurrentPage(1);
        auto save = [&](PreviewSave kind, const QString& answer) {
            ui.answerFile(answer);
            w.SaveActions[int(kind)]->trigger();
            EXPECT_EQ(ui.shown().back().caption, "Výběr souboru");
        };
        // A name without an extension gets the kind's.
        save(PreviewSave::Text, base);
        save(PreviewSave::Rtf, base);
        save(PreviewSave::Pdf, base);
        save(PreviewSave::MetafilePage, base + ".emf");
        save(PreviewSave::MetafilePage, base);
        save(PreviewSave::MetafilePages, dir.filePath(QStringLiteral("vse.wmf")));
        save(PreviewSave::MetafilePages, dir.filePath(QStringLiteral("vse.emf")));
        save(PreviewSave::HtmlPage, base);
        save(PreviewSave::HtmlPages, dir.filePath(QStringLiteral("web.html")));
        // A cancelled dialog writes nothing.
        ui.answerFile(QString());
        w.SaveActions[int(PreviewSave::Text)]->trigger();
        w.ZavritClick();
    });
    TSestava& s = *r.report;
    EXPECT_EQ(readAll(base + ".txt"), s.textOutput());
    QBuffer rtf;
    rtf.open(QIODevice::WriteOnly);
    ASSERT_EQ(s.ExportRtf(rtf), seOk); // prepares again: the same pages
    EXPECT_EQ(readAll(base + ".rtf"), rtf.data());
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    ASSERT_EQ(s.ExportPdf(pdf), seOk);
    EXPECT_EQ(readAll(base + ".pdf"), pdf.data());
    QBuffer emf, wmf;
    emf.open(QIODevice::WriteOnly);
    wmf.open(QIODevice::WriteOnly);
    ASSERT_EQ(s.ExportEmfPage(emf, 1), seOk);
    ASSERT_EQ(s.ExportWmfPage(wmf, 1), seOk);
    EXPECT_EQ(readAll(base + ".emf"), emf.data());
    EXPECT_EQ(readAll(base + ".wmf"), wmf.data()); // the default extension: classic
    for (int page = 1; page <= 3; ++page) {
        QBuffer classic, enhanced;
        classic.open(QIODevice::WriteOnly);
        enhanced.open(QIODevice::WriteOnly);
        ASSERT_EQ(s.ExportWmfPage(classic, page - 1), seOk);
        ASSERT_EQ(s.ExportEmfPage(enhanced, page - 1), seOk);
        EXPECT_EQ(readAll(dir.filePath(QStringLiteral("vse%1.wmf").arg(page))), classic.data());
        EXPECT_EQ(readAll(dir.filePath(QStringLiteral("vse%1.emf").arg(page))), enhanced.data());
        QBuffer html;
        html.open(QIODevice::WriteOnly);
        ASSERT_EQ(
            s.ExportHtmlPage(html, dir.path(), page - 1, QStringLiteral("web%1_.bmp").arg(page)),
            seOk);
        EXPECT_EQ(readAll(dir.filePath(QStringLiteral("web%1.html").arg(page))), html.data());
    }
    QBuffer html;
    html.open(QIODevice::WriteOnly);
    ASSERT_EQ(s.ExportHtmlPage(html, dir.path(), 1, QStringLiteral("sestava.html")), seOk);
    EXPECT_EQ(readAll(base + ".html"), html.data());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("vse4.wmf"))));
    EXPECT_EQ(numberedFileName(QStringLiteral("/a/report.wmf"), 2), "/a/report2.wmf");
}

TEST(Preview, AFailedSaveLeavesNoFileAndSaysSo) {
    TestPlatform ui;
    QTemporaryDir dir;
    auto r = previewReport(recordsForPages(3));
    // The second page's file cannot be written: a directory has its name.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("report2.wmf")));
    // A place no file can be written to: below a file.
    const QString blocked = dir.filePath(QStringLiteral("soubor"));
    {
        QFile f(blocked);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    // A read-only directory (root writes there anyway; then the other cases say enough).
    const QString readOnly = dir.filePath(QStringLiteral("jen_cteni"));
    ASSERT_TRUE(QDir().mkpath(readOnly));
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool canWrite = QFile(readOnly + "/x").open(QIODevice::WriteOnly);
    QFile::remove(readOnly + "/x");
    withPreview(ui, *r.report, [&](TFormSestP& w) {
        auto failing = [&](PreviewSave kind, const QString& file) {
            ui.answerFile(file);
            ui.answer(Button::Ok, QStringLiteral("Výstupní soubor se nepodařilo uložit."),
                      QStringLiteral("Chyba"));
            w.UlozClick(int(kind));
        };
        failing(PreviewSave::MetafilePages, dir.filePath(QStringLiteral("report.wmf")));
        failing(PreviewSave::HtmlPages, blocked + "/web.html");
        failing(PreviewSave::Text, blocked + "/sestava.txt");
        failing(PreviewSave::Pdf, blocked + "/sestava.pdf");
        if (!canWrite) {
            failing(PreviewSave::Rtf, readOnly + "/sestava.rtf");
            failing(PreviewSave::HtmlPage, readOnly + "/sestava.html");
        }
        w.ZavritClick();
    });
    QFile::setPermissions(readOnly,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // Nothing is left of the saves: the first page's file was removed again.
    QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    left.sort();
    EXPECT_EQ(left, (QStringList{"jen_cteni", "report2.wmf", "soubor"}));
    EXPECT_TRUE(QDir(readOnly).isEmpty());
}

TEST(Preview, SearchFindsTextIgnoringCaseAndGoesOnWithF3) {
    TestPlatform ui;
    auto r = previewReport(recordsForPages(3));
    withPreview(ui, *r.report, [&](TFormSestP& w) {
        // Czech letters in another case; the hit's page is shown and the hit marked.
        ui.answerInput(QStringLiteral("ŠROUB m8"), QStringLiteral("Hledání"));
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
        EXPECT_EQ(ui.shown().back().text, "Hledaný text:");
        EXPECT_EQ(w.currentPage(), 0);
        ASSERT_TRUE(w.lastHit().found());
        const QRect mark = w.Sheet->markRect();
        EXPECT_FALSE(mark.isEmpty());
        // The mark covers the name's column of the first body row.
        const QRect sheet = w.Sheet->sheetRect();
        EXPECT_NEAR(mark.left() - sheet.left(), 50 + 120, 3);
        EXPECT_GT(mark.width(), 30);
        // From the current page on: "Výrobek 11" of page 1 is passed over, records 110 to 114
        // of the last page are found one after another.
        w.setCurrentPage(1);
        ui.answerInput(QStringLiteral("výrobek 11"));
        w.HledatClick();
        EXPECT_EQ(w.currentPage(), 2);
        QList<int> elements{w.lastHit().element};
        for (int i = 0; i < 4; ++i) {
            if (i % 2)
                QTest::keyClick(&w, Qt::Key_F3);
            else
                w.HledatDalsiClick();
            elements << w.lastHit().element;
            EXPECT_EQ(w.currentPage(), 2);
        }
        for (int i = 1; i < elements.size(); ++i)
            EXPECT_LT(elements[i - 1], elements[i]);
        // Past the last one: the message, and nothing marked.
        ui.answer(Button::Ok, QStringLiteral("Hledaný text nebyl nalezen"),
                  QStringLiteral("Informace"));
        QTest::keyClick(&w, Qt::Key_F3);
        EXPECT_FALSE(w.lastHit().found());
        EXPECT_TRUE(w.Sheet->markRect().isEmpty());
        ui.answerInput(QStringLiteral("neexistuje"));
        ui.answer(Button::Ok, QStringLiteral("Hledaný text nebyl nalezen"));
        w.HledatClick();
        w.ZavritClick();
    });
}

TEST(Preview, FromTheDesignerTheWindowOffersTheWayBack) {
    TestPlatform ui;
    auto r = previewReport(10);
    PreviewRequest fromDesigner;
    fromDesigner.fromDesigner = true;
    EXPECT_EQ(withPreview(
                  ui, *r.report,
                  [&](TFormSestP& w) {
                      EXPECT_TRUE(w.ActionOprava->isVisible());
                      EXPECT_EQ(w.ActionOprava->toolTip(), "Návrat k opravě předlohy...");
                      EXPECT_EQ(w.ActionZavrit->toolTip(), "Ukončit opravu předlohy");
                      w.ActionOprava->trigger();
                  },
                  fromDesigner),
              0);
    EXPECT_EQ(withPreview(
                  ui, *r.report, [&](TFormSestP& w) { w.ActionZavrit->trigger(); }, fromDesigner),
              1);
    // Outside the designer the way back does nothing.
    EXPECT_EQ(withPreview(ui, *r.report,
                          [&](TFormSestP& w) {
                              w.OpravaClick();
                              EXPECT_TRUE(w.isVisible());
                              w.close();
                          }),
              0);
}

TEST(Preview, TheCustomCommandGetsTheShownPage) {
    TestPlatform ui;
    auto r = previewReport(recordsForPages(3));
    QList<int> pages;
    r.report->OnPreviewCustomEvent = [&](TSestava&, int page) { pages << page; };
    r.report->PreviewCustomCaption = QStringLiteral("Odeslat e-mailem");
    withPreview(ui, *r.report, [&](TFormSestP& w) {
        EXPECT_TRUE(w.ActionVlastni->isVisible());
        EXPECT_EQ(w.ActionVlastni->text(), "Odeslat e-mailem");
        w.ActionVlastni->trigger();
        w.PosledniClick();
        w.ActionVlastni->trigger();
        w.ZavritClick();
    });
    EXPECT_EQ(pages, (QList<int>{0, 2}));
}

TEST(Preview, AnotherPreviewWhileOneIsOpenGives7) {
    TestPlatform ui;
    auto r = previewReport(10);
    auto other = previewReport(10);
    int inner = -1;
    QList<int> errors;
    other.report->OnError = [&](TSestava&, int code) {
        errors << code;
        return true;
    };
    withPreview(ui, *r.report, [&](TFormSestP& w) {
        inner = other.report->PrintPreview();
        w.ZavritClick();
    });
    EXPECT_EQ(inner, seBusy);
    EXPECT_EQ(errors, QList<int>{seBusy});
    EXPECT_FALSE(TSestava::busy());
}

// The progress window of a long run: "Přerušit" gives 3 and no preview opens.
TEST(Preview, CancellingTheProgressWindowGives3AndNoWindow) {
    TestPlatform ui;
    auto r = previewReport(20000);
    r.report->previewWindow = showPreviewWindow;
    r.report->progressWindow = showProgressWindow;
    QString caption, text;
    int clicked = 0;
    // The user presses the button while the run is under way: the run's own progress, not a
    // wall-clock timer, decides when, so a fast machine cannot finish before the press.
    r.report->OnProgress = [&](TSestavaTyp&, int record) {
        if (clicked || record < 50) return true;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<TFormPrubehTisku*>(w); p && p->isVisible()) {
                caption = p->windowTitle();
                text = p->LabelText->text();
                p->ButtonPrerusit->click();
                ++clicked;
                break;
            }
        return true;
    };
    EXPECT_EQ(r.report->PrintPreview(), seCancelled);
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(caption, "Informace");
    EXPECT_TRUE(text.startsWith("Připravuji tisk položky číslo: ")) << text.toStdString();
    EXPECT_LT(r.report->output.pageCount(), 400) << "the run stopped early";
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<TFormPrubehTisku*>(w)) << "the window is gone";
    // Without a cancel the run ends and the window goes.
    auto small = previewReport(100);
    small.report->progressWindow = showProgressWindow;
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    EXPECT_EQ(small.report->PrintTextToStream(b), seOk);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<TFormPrubehTisku*>(w));
}

} // namespace
