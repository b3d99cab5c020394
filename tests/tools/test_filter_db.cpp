// The filter database and the filter-join dialog: the saved filters of a data source in their
// own table, applying an expression with its options, joining a range filter, the form offscreen.
#include "../data/storage_fixture.h"
#include "dialogs/filter_forms.h"
#include "grid_model.h"
#include "scripted_gtest.h"

#include "qt_app.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QTest>

using namespace brix;

namespace {

using test::app;

class FilterDbTest : public test::StorageTest {
protected:
    void SetUp() override {
        app();
        StorageTest::SetUp();
        osoby = std::make_unique<Table>(*db, "T\\Osoby");
        osoby->open();
        add(*osoby, {{"Prijmeni", "O'Neil"}, {"Jmeno", "Pat"}, {"Mesto", "Brno"}});
        add(*osoby, {{"Prijmeni", "Čermák"}, {"Jmeno", "Jan"}, {"Mesto", "Praha"}});
        add(*osoby, {{"Prijmeni", "Novák"}, {"Jmeno", "Petr"}, {"Mesto", "Brno \"Sever\""}});
        add(*osoby, {{"Prijmeni", "Dvořák"}, {"Jmeno", "Karel"}, {"Mesto", "Praha"}});
    }
    bool sqlTableExists(const QString& name) {
        Statement st = db->prepare(
            QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?"));
        st.bindPlain(1, name);
        return st.step();
    }
    std::unique_ptr<Table> osoby;
};

TEST_F(FilterDbTest, FilterTableIsCreatedOnFirstUseAndKeepsItsFilters) {
    EXPECT_EQ(filtr::filterTableAddress("DS_Vyrob"), "Filtr\\FDS_Vyrob");
    EXPECT_TRUE(filtr::filterTableAddress("DS Vyrob; drop").isEmpty());
    EXPECT_THROW(filtr::openFilterTable(*db, "x'y"), StorageError);
    EXPECT_FALSE(sqlTableExists("filtr_fds_osoby"));
    EXPECT_EQ(db->findTable("Filtr\\FDS_Osoby"), nullptr);
    {
        auto f = filtr::openFilterTable(*db, "DS_Osoby");
        EXPECT_TRUE(sqlTableExists("filtr_fds_osoby"));
        EXPECT_TRUE(f->isEmpty());
        add(*f, {{"Popis", "Mesto = 'Brno'"},
                 {"Mala_Velka", filtr::logicalText(true)},
                 {"Hledat_Cele", filtr::logicalText(false)}});
    }
    // Another connection to the same root finds the table and its record.
    auto db2 = Database::open(dir.path(), options());
    auto f2 = filtr::openFilterTable(*db2, "DS_Osoby");
    f2->first();
    EXPECT_EQ(f2->field("Popis").asString(), "Mesto = 'Brno'");
    EXPECT_EQ(f2->field("Mala_Velka").asString(), "True");
    EXPECT_EQ(f2->field("Hledat_Cele").asString(), "False");
    // Addressed like any table, in any spelling; one data source's filters are not another's.
    EXPECT_NE(db2->findTable("filtr/fds_osoby.db"), nullptr);
    auto other = filtr::openFilterTable(*db2, "DS_Zasoby");
    EXPECT_TRUE(other->isEmpty());
}

TEST_F(FilterDbTest, ExpressionIsAppliedWithItsOptionsAndAnEmptyOneRemovesTheFilter) {
    TestPlatform ui;
    ASSERT_TRUE(filtr::applyExpression(*osoby, "Prijmeni = 'čer*'", false, false));
    EXPECT_TRUE(osoby->filtered());
    EXPECT_EQ(column(*osoby, "Prijmeni"), QStringList{"Čermák"});
    // Case-sensitive: the lower-case text finds nothing.
    ASSERT_TRUE(filtr::applyExpression(*osoby, "Prijmeni = 'čer*'", true, false));
    EXPECT_TRUE(column(*osoby, "Prijmeni").isEmpty());
    // No partial comparison: the star is a character.
    ASSERT_TRUE(filtr::applyExpression(*osoby, "Prijmeni = 'čer*'", false, true));
    EXPECT_TRUE(column(*osoby, "Prijmeni").isEmpty());
    filtr::applyPartialOption(*osoby, false);
    EXPECT_EQ(column(*osoby, "Prijmeni"), QStringList{"Čermák"});
    filtr::applyCaseOption(*osoby, true);
    EXPECT_TRUE(column(*osoby, "Prijmeni").isEmpty());

    ASSERT_TRUE(filtr::applyExpression(*osoby, "  ", false, false));
    EXPECT_FALSE(osoby->filtered());
    EXPECT_TRUE(osoby->filter().isEmpty());
    EXPECT_EQ(column(*osoby, "Prijmeni").size(), 4);
    EXPECT_TRUE(ui.shown().isEmpty());
}

TEST_F(FilterDbTest, UnreadableExpressionIsReportedAndTheOldFilterStays) {
    TestPlatform ui;
    ASSERT_TRUE(filtr::applyExpression(*osoby, "Mesto = 'Praha'", false, false));
    ui.answer(Button::Ok, "Chyba ve filtru", caption::Chyba);
    EXPECT_FALSE(filtr::applyExpression(*osoby, "Mesto = = 'Brno'", true, true));
    EXPECT_TRUE(osoby->filtered());
    EXPECT_EQ(osoby->filter(), "Mesto = 'Praha'");
    EXPECT_TRUE(osoby->filterOptions().caseInsensitive);
    EXPECT_EQ(column(*osoby, "Prijmeni"), (QStringList{"Čermák", "Dvořák"}));
    ui.answer(Button::Ok, "Neznamy", caption::Chyba);
    EXPECT_FALSE(filtr::applyExpression(*osoby, "Neznamy = 1", false, false));
    EXPECT_EQ(osoby->filter(), "Mesto = 'Praha'");
}

TEST_F(FilterDbTest, UserTextInARangeStaysAValue) {
    TestPlatform ui;
    EXPECT_EQ(filtr::rangeExpression("Prijmeni", "", " "), "");
    EXPECT_EQ(filtr::rangeExpression("Prijmeni", "A", ""), "Prijmeni >= 'A'");
    // An apostrophe is part of the value, and so is a quote and the rest of the text.
    QString e = filtr::rangeExpression("Prijmeni", "O'Neil", "O'Neil");
    ASSERT_TRUE(filtr::applyExpression(*osoby, e, false, false));
    EXPECT_EQ(column(*osoby, "Prijmeni"), QStringList{"O'Neil"});
    e = filtr::rangeExpression("Mesto", "Brno \"Sever\"", "Brno \"Sever\"");
    ASSERT_TRUE(filtr::applyExpression(*osoby, e, false, false));
    EXPECT_EQ(column(*osoby, "Prijmeni"), QStringList{"Novák"});
    e = filtr::rangeExpression("Prijmeni", "x' or Prijmeni <> '", "");
    ASSERT_TRUE(filtr::applyExpression(*osoby, e, false, false));
    EXPECT_TRUE(column(*osoby, "Prijmeni").isEmpty());
}

TEST_F(FilterDbTest, JoiningAsksOnlyWhenAFilterIsOn) {
    TestPlatform ui;
    // No filter on: the new expression alone, no dialog.
    EXPECT_EQ(pripojFiltr(*osoby, "Mesto = 'Brno'"), "Mesto = 'Brno'");
    osoby->setFilter("Jmeno = 'P*'");
    EXPECT_EQ(pripojFiltr(*osoby, "Mesto = 'Brno'"), "Mesto = 'Brno'"); // text but off
    EXPECT_TRUE(ui.shown().isEmpty());

    ASSERT_TRUE(zapniRozsah(nullptr, *osoby, "Jmeno = 'P*'"));
    EXPECT_TRUE(osoby->filterOptions().caseInsensitive);
    EXPECT_EQ(column(*osoby, "Prijmeni"), (QStringList{"Novák", "O'Neil"}));

    auto choose = [&](QRadioButton* TfrmPripojFiltr::*radio) {
        ui.answerModal(
            [radio](QDialog& d) {
                auto& j = static_cast<TfrmPripojFiltr&>(d);
                EXPECT_EQ(j.windowTitle(), "Dialog");
                EXPECT_EQ(j.LabelTabulka->text(), "Osoby");
                EXPECT_TRUE(j.RadioA->isChecked());
                (j.*radio)->setChecked(true);
                j.ButtonOk->click();
            },
            "frmPripojFiltr");
    };
    choose(&TfrmPripojFiltr::RadioA);
    EXPECT_EQ(pripojFiltr(*osoby, "Mesto = 'Brno'"), "(Jmeno = 'P*') and (Mesto = 'Brno')");
    choose(&TfrmPripojFiltr::RadioNovy);
    EXPECT_EQ(pripojFiltr(*osoby, "Mesto = 'Brno'"), "Mesto = 'Brno'");
    choose(&TfrmPripojFiltr::RadioNebo);
    EXPECT_EQ(pripojFiltr(*osoby, "Mesto = 'Praha'"), "(Jmeno = 'P*') or (Mesto = 'Praha')");

    // And through the range command: the joined filter is on.
    choose(&TfrmPripojFiltr::RadioA);
    ASSERT_TRUE(zapniRozsah(nullptr, *osoby, "Mesto = 'brno'"));
    EXPECT_EQ(column(*osoby, "Prijmeni"), QStringList{"O'Neil"});
}

TEST_F(FilterDbTest, CancelKeepsTheOldFilter) {
    TestPlatform ui;
    ASSERT_TRUE(filtr::applyExpression(*osoby, "Mesto = 'Praha'", true, false));
    ui.answerModal([](QDialog& d) { static_cast<TfrmPripojFiltr&>(d).ButtonCancel->click(); });
    bool cancelled = false;
    EXPECT_EQ(pripojFiltr(*osoby, "Jmeno = 'Jan'", nullptr, &cancelled), "Mesto = 'Praha'");
    EXPECT_TRUE(cancelled);
    ui.answerModal([](QDialog& d) { d.reject(); });
    EXPECT_TRUE(zapniRozsah(nullptr, *osoby, "Jmeno = 'Jan'"));
    EXPECT_EQ(osoby->filter(), "Mesto = 'Praha'");
    EXPECT_FALSE(osoby->filterOptions().caseInsensitive); // options untouched as well
    EXPECT_EQ(column(*osoby, "Prijmeni"), (QStringList{"Čermák", "Dvořák"}));
    // A range without bounds changes nothing and asks nothing.
    EXPECT_TRUE(zapniRozsah(nullptr, *osoby, filtr::rangeExpression("Mesto", "", "")));
    EXPECT_EQ(osoby->filter(), "Mesto = 'Praha'");
}

TEST_F(FilterDbTest, DataSourceCheck) {
    TestPlatform ui;
    ui.answer(Button::Ok, "Není definován zdroj dat", caption::Chyba);
    EXPECT_FALSE(checkDataSource(nullptr));
    ui.answer(Button::Ok, "Ke zdroji dat není připojena žádná tabulka.", caption::Chyba);
    DataSource empty{"DS_X", nullptr};
    EXPECT_FALSE(checkDataSource(&empty, true));
    EXPECT_TRUE(ui.shown().back().text.endsWith('.'));

    osoby->close();
    DataSource ds{"DS_Osoby", osoby.get()};
    ui.answer(Button::No, "Připojená tabulka není aktivní. Zkusit otevřít?", caption::Dotaz);
    EXPECT_FALSE(checkDataSource(&ds)); // silently
    EXPECT_FALSE(osoby->active());
    ui.answer(Button::Yes, "Zkusit otevřít?");
    EXPECT_TRUE(checkDataSource(&ds));
    EXPECT_TRUE(osoby->active());
    EXPECT_EQ(ui.shown().size(), 4);

    // The form without a data source lists no fields and does nothing on "&Provést".
    TfmFilterFrmObec form;
    ui.answer(Button::Ok, "Ke zdroji dat není připojena žádná tabulka");
    EXPECT_FALSE(form.setDataSource(empty));
    EXPECT_EQ(form.ListPolozky->count(), 0);
    form.MemoPopis->setPlainText("Mesto = 'Brno'");
    form.ButtonProvestClick();
    EXPECT_FALSE(osoby->filtered());
}

TEST_F(FilterDbTest, FormWritesStoresAndAppliesFilters) {
    TestPlatform ui;
    osoby->addCalculatedField({"Vypocet", FieldKind::Text, 10});
    ui.answerModal(
        [&](QDialog& d) {
            auto& f = static_cast<TfmFilterFrmObec&>(d);
            EXPECT_EQ(f.windowTitle(), "Databáze filtrů");
            ASSERT_NE(f.filterTable(), nullptr); // created on first use, shown
            EXPECT_TRUE(f.filterTable()->isEmpty());
            QStringList fields;
            for (int i = 0; i < f.ListPolozky->count(); ++i)
                fields << f.ListPolozky->item(i)->text();
            EXPECT_EQ(fields.first(), "Cena_Celk"); // sorted
            EXPECT_TRUE(fields.contains("Prijmeni"));
            EXPECT_FALSE(fields.contains("Vypocet")); // a filter cannot name it
            EXPECT_EQ(f.ListOperatory->item(2)->text(), "= ");

            // An operator cannot start the expression.
            f.OperatoryDblClick(">=");
            EXPECT_TRUE(f.MemoPopis->toPlainText().isEmpty());
            EXPECT_EQ(f.filterTable()->state(), TableState::Browse);
            f.PolozkyDblClick("Mesto");
            f.OperatoryDblClick("= ");
            EXPECT_EQ(f.MemoPopis->toPlainText(), "Mesto = ");
            f.MemoPopis->setPlainText("Mesto = 'praha'");
            EXPECT_EQ(f.filterTable()->state(), TableState::Insert);
            f.CheckMalaVelka->click();
            f.ButtonProvestClick();
            EXPECT_TRUE(osoby->filtered());
            EXPECT_TRUE(column(*osoby, "Prijmeni").isEmpty()); // case-sensitive
            f.CheckMalaVelka->click();                         // applied at once
            EXPECT_EQ(column(*osoby, "Prijmeni"), (QStringList{"Čermák", "Dvořák"}));
            f.ButtonUlozitClick();
            EXPECT_EQ(f.filterTable()->state(), TableState::Browse);
            EXPECT_EQ(f.filterTable()->recordCount(), 1);

            // A second filter, saved; a third left unsaved is not kept by closing.
            f.NovyFiltr();
            EXPECT_TRUE(f.MemoPopis->toPlainText().isEmpty());
            f.MemoPopis->setPlainText("Prijmeni = 'O''Neil'");
            f.CheckHledatCele->click();
            f.ButtonProvestClick();
            EXPECT_EQ(column(*osoby, "Prijmeni"), QStringList{"O'Neil"});
            f.ButtonUlozitClick();
            f.NovyFiltr();
            f.MemoPopis->setPlainText("Jmeno = 'Pat'");
            f.ButtonZrusit->click();
        },
        "fmFilterFrmObec");
    EXPECT_TRUE(spustFiltr(nullptr, *osoby, "DS_Osoby"));
    EXPECT_EQ(osoby->filter(), "Prijmeni = 'O''Neil'");

    // Reopened: the saved filters with their options; moving in the grid shows each; an empty
    // expression removes the filter; "&Smazat" deletes without asking.
    ui.answerModal([&](QDialog& d) {
        auto& f = static_cast<TfmFilterFrmObec&>(d);
        ASSERT_EQ(f.filterTable()->recordCount(), 2);
        EXPECT_EQ(f.MemoPopis->toPlainText(), "Mesto = 'praha'");
        EXPECT_FALSE(f.CheckMalaVelka->isChecked());
        EXPECT_FALSE(f.CheckHledatCele->isChecked());
        f.GridFiltry->setCurrentIndex(f.GridFiltry->model()->index(1, 0));
        EXPECT_EQ(f.MemoPopis->toPlainText(), "Prijmeni = 'O''Neil'");
        EXPECT_TRUE(f.CheckHledatCele->isChecked());
        EXPECT_EQ(f.filterTable()->field("Hledat_Cele").asString(), "True");
        f.ButtonSmazatClick();
        EXPECT_EQ(f.filterTable()->recordCount(), 1);
        EXPECT_EQ(f.MemoPopis->toPlainText(), "Mesto = 'praha'");
        f.NovyFiltr();
        f.ButtonProvestClick(); // empty memo
        EXPECT_FALSE(osoby->filtered());
        d.reject(); // the empty new record is not kept
    });
    EXPECT_FALSE(spustFiltr(nullptr, *osoby, "DS_Osoby"));
    EXPECT_TRUE(osoby->filter().isEmpty());
    auto f = filtr::openFilterTable(*db, "DS_Osoby");
    EXPECT_EQ(f->recordCount(), 1);
    EXPECT_TRUE(ui.shownMessages().isEmpty());
}

// Every row of the filter table, every column, as stored.
QStringList dump(Database& db, const QString& sqlTable) {
    QStringList rows;
    Statement st = db.prepare(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(sqlTable));
    while (st.step()) {
        QStringList row;
        for (int c = 0; c < st.columnCount(); ++c)
            row << (st.isNull(c) ? QStringLiteral("<null>") : st.columnText(c));
        rows << row.join(QLatin1Char('|'));
    }
    return rows;
}

TEST_F(FilterDbTest, CancellingLeavesTheStoredFiltersExactlyAsTheyWere) {
    TestPlatform ui;
    {
        auto f = filtr::openFilterTable(*db, "DS_Osoby");
        add(*f, {{"Popis", "Mesto = 'Brno'"},
                 {"Mala_Velka", filtr::logicalText(false)},
                 {"Hledat_Cele", filtr::logicalText(false)}});
    }
    const QStringList before = dump(*db, "filtr_fds_osoby");
    ASSERT_EQ(before.size(), 1);
    for (int how = 0; how < 2; ++how) {
        ui.answerModal(
            [&](QDialog& d) {
                auto& f = static_cast<TfmFilterFrmObec&>(d);
                // The expression and both options of the stored filter edited, a new one begun.
                f.MemoPopis->setPlainText("Mesto = 'Praha'");
                f.CheckMalaVelka->click();
                f.CheckHledatCele->click();
                f.ButtonProvestClick();
                if (how == 1) {
                    // Another filter begun: the edited one is not saved behind the user's back.
                    ui.answer(Button::No, "Uložit změny filtru?", caption::Dotaz);
                    f.NovyFiltr();
                    f.MemoPopis->setPlainText("Jmeno = 'Jan'");
                }
                if (how == 0)
                    f.ButtonZrusit->click();
                else
                    QTest::keyClick(&f, Qt::Key_Escape);
            },
            "fmFilterFrmObec");
        spustFiltr(nullptr, *osoby, "DS_Osoby");
        EXPECT_EQ(dump(*db, "filtr_fds_osoby"), before) << how;
    }
    // What was applied stays applied: only the stored filters are left alone.
    EXPECT_EQ(osoby->filter(), "Mesto = 'Praha'");
}

TEST_F(FilterDbTest, FieldsShowTheGridsCaptionsAndTheDialogOpensBesideTheRegister) {
    TestPlatform ui;
    QWidget okno;
    okno.setGeometry(0, 40, 120, 300);
    okno.show();
    ui.answerModal(
        [&](QDialog& d) {
            auto& f = static_cast<TfmFilterFrmObec&>(d);
            QListWidgetItem* mesto = nullptr;
            for (int i = 0; i < f.ListPolozky->count(); ++i)
                if (TfmFilterFrmObec::fieldOfItem(f.ListPolozky->item(i)) == "Mesto")
                    mesto = f.ListPolozky->item(i);
            ASSERT_NE(mesto, nullptr);
            EXPECT_EQ(mesto->text(), "Mesto – Město");
            f.PolozkyDblClick(TfmFilterFrmObec::fieldOfItem(mesto));
            EXPECT_EQ(f.MemoPopis->toPlainText(), "Mesto"); // the name goes into the expression
            EXPECT_FALSE(d.frameGeometry().intersects(okno.frameGeometry()))
                << d.frameGeometry().x() << " " << d.frameGeometry().width() << " "
                << okno.frameGeometry().right() << " "
                << QGuiApplication::primaryScreen()->availableGeometry().width();
            d.reject();
        },
        "fmFilterFrmObec");
    spustFiltr(&okno, *osoby, "DS_Osoby", {{"MESTO", "Město"}});
}

TEST_F(FilterDbTest, GridKeysStartANewFilter) {
    TestPlatform ui;
    TfmFilterFrmObec form;
    ASSERT_TRUE(form.setDataSource({"DS_Osoby", osoby.get()}));
    form.show();
    ASSERT_NE(form.filterTable(), nullptr);
    QTest::keyClick(form.GridFiltry, Qt::Key_Insert);
    EXPECT_EQ(form.filterTable()->state(), TableState::Insert);
    form.MemoPopis->setPlainText("Jmeno = 'Jan'");
    form.ButtonUlozitClick();
    QTest::keyClick(form.GridFiltry, Qt::Key_Down); // below the last one
    EXPECT_EQ(form.filterTable()->state(), TableState::Insert);
    form.hide();
    EXPECT_EQ(form.filterTable(), nullptr);
    EXPECT_EQ(filtr::openFilterTable(*db, "DS_Osoby")->recordCount(), 1);
}

} // namespace
