// The main window and every register and dialog of the shell and the code lists on a screen of
// 1366 x 768: each window fits the screen, shows its whole menu, and no menu entry, column
// caption or text of a box is cut (measured with the font's metrics). Set BRIX_SCREENSHOTS to a
// directory to keep a picture of every window.
#include "aplikace.h"
#include "cis_rada_form.h"
#include "cisla_uctu_form.h"
#include "demo.h"
#include "dialogs/filter_forms.h"
#include "export/export_dialog.h"
#include "formulare.h"
#include "hlavni_okno.h"
#include "nastaveni_form.h"
#include "prihlaseni_dlg.h"
#include "propojeni.h"
#include "shell_fixture.h"
#include "zamestnanci.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>

using namespace brix;
using namespace brix::test;

namespace {

// The text as drawn: without the mnemonic marks.
QString shown(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

bool inStatusBar(const QWidget* w) {
    for (const QWidget* p = w; p; p = p->parentWidget())
        if (qobject_cast<const QStatusBar*>(p)) return true;
    return false;
}

// Every text of the window that does not fit where it is drawn.
QStringList cutTexts(QWidget& window) {
    QStringList out;
    const QString name = window.objectName();
    auto report = [&](const QWidget* w, const QString& text, int need, int have) {
        out << QStringLiteral("%1/%2 \"%3\": %4 px needed, %5 px there")
                   .arg(name, QString::fromLatin1(w->metaObject()->className()), text)
                   .arg(need)
                   .arg(have);
    };
    // The window on the screen.
    const QRect screen = window.screen()->availableGeometry();
    if (!screen.contains(window.frameGeometry()))
        out << QStringLiteral("%1: the window (%2 x %3) does not fit the screen")
                   .arg(name)
                   .arg(window.frameGeometry().width())
                   .arg(window.frameGeometry().height());
    if (window.width() < window.minimumSizeHint().width() ||
        window.height() < window.minimumSizeHint().height())
        out << QStringLiteral("%1: smaller than its contents need").arg(name);

    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || w->window() != &window) continue;
        if (auto* bar = qobject_cast<QMenuBar*>(w)) {
            // The whole menu shows: no entry behind the overflow button.
            for (QToolButton* b : bar->findChildren<QToolButton*>())
                if (b->isVisibleTo(bar)) out << name + QStringLiteral(": the menu bar overflows");
            for (QAction* a : bar->actions())
                if (a->isVisible() && !bar->rect().contains(bar->actionGeometry(a)))
                    report(bar, shown(a->text()), bar->actionGeometry(a).right(), bar->width());
            continue;
        }
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->wordWrap() || label->text().isEmpty() || inStatusBar(label) ||
                label->textFormat() == Qt::RichText)
                continue;
            const QString t = shown(label->text());
            const int need = label->fontMetrics().horizontalAdvance(t);
            if (need > label->contentsRect().width())
                report(label, t, need, label->contentsRect().width());
            continue;
        }
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (button->text().isEmpty() || qobject_cast<QToolButton*>(button)) continue;
            // The button's own measure of its text, frame and indicator.
            const int need = button->sizeHint().width();
            if (need > button->width())
                report(button, shown(button->text()), need, button->width());
            continue;
        }
        if (auto* group = qobject_cast<QGroupBox*>(w)) {
            const int need = group->fontMetrics().horizontalAdvance(shown(group->title())) + 16;
            if (need > group->width()) report(group, group->title(), need, group->width());
            continue;
        }
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < combo->count(); ++i) {
                const int need = combo->fontMetrics().horizontalAdvance(combo->itemText(i)) + 24;
                if (need > combo->width()) report(combo, combo->itemText(i), need, combo->width());
            }
            continue;
        }
        if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                const int need = tabs->fontMetrics().horizontalAdvance(shown(tabs->tabText(i)));
                if (need > tabs->tabRect(i).width())
                    report(tabs, tabs->tabText(i), need, tabs->tabRect(i).width());
            }
            continue;
        }
        if (auto* list = qobject_cast<QListWidget*>(w)) {
            for (int i = 0; i < list->count(); ++i) {
                const int need = list->fontMetrics().horizontalAdvance(list->item(i)->text());
                if (need > list->viewport()->width())
                    report(list, list->item(i)->text(), need, list->viewport()->width());
            }
            continue;
        }
        if (auto* view = qobject_cast<QTableView*>(w)) {
            QHeaderView* h = view->horizontalHeader();
            if (!h->isVisibleTo(&window) || !view->model()) continue;
            const int margin = h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
            for (int c = 0; c < view->model()->columnCount(); ++c) {
                if (view->isColumnHidden(c)) continue;
                const QString t = view->model()->headerData(c, Qt::Horizontal).toString();
                const int need = h->fontMetrics().horizontalAdvance(t) + 2 * margin;
                if (need > h->sectionSize(c)) report(view, t, need, h->sectionSize(c));
            }
        }
    }
    return out;
}

// Shows the window, lets it lay itself out, keeps a picture when asked, and measures it.
QStringList look(QWidget& window, const QString& picture) {
    window.show();
    QApplication::processEvents();
    const QString dir = qEnvironmentVariable("BRIX_SCREENSHOTS");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        window.grab().save(QDir(dir).filePath(picture + QStringLiteral(".png")));
    } else {
        window.grab(); // painted once, so that drawing faults show too
    }
    return cutTexts(window);
}

// Every menu of a menu bar, opened: its entries are not cut either.
QStringList lookAtMenus(QMenuBar& bar) {
    QStringList out;
    for (QAction* a : bar.actions()) {
        QMenu* m = a->menu();
        if (!m || !a->isVisible()) continue;
        m->popup(bar.mapToGlobal(bar.actionGeometry(a).bottomLeft()));
        QApplication::processEvents();
        for (QAction* item : m->actions()) {
            if (!item->isVisible() || item->isSeparator()) continue;
            const QRect r = m->actionGeometry(item);
            const int need = m->fontMetrics().horizontalAdvance(shown(item->text()));
            if (need > r.width() || !m->rect().contains(r))
                out << QStringLiteral("menu %1: \"%2\" is cut")
                           .arg(shown(a->text()), shown(item->text()));
        }
        m->hide();
    }
    return out;
}

class LayoutTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ui.setOkBoxesAnswered(true);
        const VysledekDema v = VytvorDemo(dir.path());
        ASSERT_TRUE(v.ok) << v.chyba.toStdString();
        resetRun();
        otevri();
        udajeFirmy().Nazev = QStringLiteral("Barvy a laky Kolín, s.r.o.");
    }
    void expectNothingCut(const QStringList& cut) {
        EXPECT_TRUE(cut.isEmpty()) << cut.join(QLatin1Char('\n')).toStdString();
    }
    // A register on its register page and on its entry page (a new record), then closed.
    void lookAtRegister(RegisterForm& r) {
        SCOPED_TRACE(r.objectName().toStdString());
        r.openRegister();
        expectNothingCut(look(r, r.objectName()));
        expectNothingCut(lookAtMenus(*r.MainMenu));
        if (r.MenuNovy->isEnabled()) {
            r.NovyClick();
            if (r.entryShown()) {
                expectNothingCut(look(r, r.objectName() + QStringLiteral("-vstup")));
                r.EscapeEntry(); // nothing typed: no question
            }
        }
        r.hide();
        r.closeRegister();
    }
};

TEST_F(LayoutTest, MainWindowShowsItsWholeMenuAndStatusLine) {
    ASSERT_EQ(QGuiApplication::primaryScreen()->size(), QSize(kSirkaObrazovky, kVyskaObrazovky));
    ui.answerModal(
        [](QDialog& d) {
            auto& dlg = static_cast<TPasswordDlg&>(d);
            dlg.Password->setText(QString::fromUtf16(kDemoHeslo));
            dlg.OKBtnClick();
        },
        QStringLiteral("PasswordDlg"));
    dm.reset();
    db.reset();
    Aplikace app(dir.path(), {"brix"});
    ASSERT_TRUE(app.spust());
    TFormMenu& m = *app.hlavniOkno();
    expectNothingCut(look(m, QStringLiteral("hlavni-okno")));
    expectNothingCut(lookAtMenus(*m.menuBar()));
    // Small, as it should be: a line of menu, the product panel and the status line, which
    // shows who works, for whom and where, whole.
    EXPECT_LT(m.height(), 200);
    for (QLabel* l : {m.LabelUzivatel, m.LabelFirma, m.LabelKoren}) {
        EXPECT_FALSE(l->text().isEmpty());
        EXPECT_GE(l->width(), l->fontMetrics().horizontalAdvance(l->text()))
            << l->text().toStdString();
    }
    EXPECT_TRUE(m.LabelKoren->text().endsWith(QDir::toNativeSeparators(dir.path())));
    m.close();
}

TEST_F(LayoutTest, EveryCodeListRegisterFitsTheScreenWithNothingCut) {
    QWidget okno;
    TCiselniky c(okno, *dm);
    QList<RegisterForm*> registry{&c.skonto(),   &c.obor(),    &c.rabSkup(), &c.vynSkup(),
                                  &c.zeme(),     &c.kodOzn1(), &c.kodOzn2(), &c.celSaz(),
                                  &c.druhUctu(), &c.sklad(),   &c.stred()};
    for (RegisterForm* r : registry)
        lookAtRegister(*r);
    // The employee register enters through a form of its own (measured with the dialogs).
    TFormulZamestGrid zamestnanci(*dm, true);
    ui.answerModal([](QDialog& d) { d.reject(); }, QStringLiteral("FormulZamestVstup"));
    lookAtRegister(zamestnanci);
    TFormulCis_Rada rady(*dm);
    lookAtRegister(rady);
}

TEST_F(LayoutTest, DialogsOfTheShellFitWithNothingCut) {
    TFormulCisUctu cisla(*dm);
    expectNothingCut(look(cisla, QStringLiteral("prvni-cisla")));
    cisla.hide();
    TFormulNastaveni nastaveni(dir.path());
    expectNothingCut(look(nastaveni, QStringLiteral("nastaveni")));
    TFormulUdajeFirmy firma(dir.path());
    expectNothingCut(look(firma, QStringLiteral("firma")));
    TPasswordDlg heslo(*dm);
    expectNothingCut(look(heslo, QStringLiteral("heslo")));
    TFormulPrvniStart prvni(*dm);
    expectNothingCut(look(prvni, QStringLiteral("prvni-start")));
    dm->TableZamest->open();
    TFormulZamestPristup pristupy(*dm);
    expectNothingCut(look(pristupy, QStringLiteral("pristupy")));
    TFormulZamestVstup vstup(*dm);
    vstup.nacti();
    expectNothingCut(look(vstup, QStringLiteral("zamestnanec")));
    TFormulExportDat exportDat;
    expectNothingCut(look(exportDat, QStringLiteral("export")));
    TfmFilterFrmObec filtr;
    ASSERT_TRUE(filtr.setDataSource({QStringLiteral("DS_Zamest"),
                                     dm->TableZamest,
                                     {{"PRIJMENI", "Příjmení"}, {"POZNAMKA", "Poznámka"}}}));
    expectNothingCut(look(filtr, QStringLiteral("filtr")));
    filtr.hide();
    TfrmPripojFiltr pripojeni(QStringLiteral("Zamest"), QStringLiteral("PRIJMENI = 'NOVÁKOVÁ'"));
    expectNothingCut(look(pripojeni, QStringLiteral("pripojeni-filtru")));
    dm->TableZamest->close();
}

} // namespace
