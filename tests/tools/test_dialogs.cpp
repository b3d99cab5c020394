// The field chooser and the criteria dialogs offscreen: the remembered choice, the item match
// with its product look-up, and the keyboard and remembered dates of the period dialog.
#include "../data/storage_fixture.h"
#include "dialogs/criteria_dialogs.h"
#include "dialogs/field_chooser.h"
#include "editbox.h"
#include "scripted_gtest.h"

#include "qt_app.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace brix;

namespace {

using test::app;

const Catalogue& itemCatalogue() {
    static const Catalogue c = [] {
        Catalogue c;
        c.add(Catalogue::define("Ext_Ucty", "Pol_Vyd",
                                "Cis_Uctu I!; PorCis S!; ObjCis A20; Cis_Vyr I; Kod_Ozn1 A10; "
                                "Kod_Ozn2 A10; Nazev A40; Druh_Pol A1",
                                "Cis_Uctu;PorCis"));
        c.add(Catalogue::define("Ciselnik", "Vyrobky", "Cis_vyr I!; ObjCis A20; PC_Vynskup S",
                                "Cis_vyr", "ObjCis=ObjCis"));
        return c;
    }();
    return c;
}

void press(QWidget* w, int k) {
    QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

class DialogsTest : public test::StorageTest {
protected:
    OpenOptions options() override {
        OpenOptions o;
        o.catalogue = &itemCatalogue();
        return o;
    }
    void SetUp() override {
        app();
        StorageTest::SetUp();
        pol = std::make_unique<Table>(*db, "Ext_Ucty\\Pol_Vyd");
        pol->open();
        add(*pol, {{"Cis_Uctu", 1},
                   {"PorCis", 1},
                   {"ObjCis", "BAR-100"},
                   {"Cis_Vyr", 10},
                   {"Kod_Ozn1", "RAL9010"},
                   {"Nazev", "Barva bílá"},
                   {"Druh_Pol", "Z"}});
        add(*pol, {{"Cis_Uctu", 1},
                   {"PorCis", 2},
                   {"ObjCis", "RED-5"},
                   {"Cis_Vyr", 105},
                   {"Nazev", "Ředidlo"},
                   {"Druh_Pol", "Z"}});
        add(*pol, {{"Cis_Uctu", 1},
                   {"PorCis", 3},
                   {"ObjCis", "NEZNAMY"},
                   {"Cis_Vyr", 1},
                   {"Nazev", "barva"},
                   {"Druh_Pol", "S"}});
        vyr = std::make_unique<Table>(*db, "Ciselnik\\Vyrobky");
        vyr->open();
        add(*vyr, {{"Cis_vyr", 10}, {"ObjCis", "BAR-100"}, {"PC_Vynskup", 3}});
        add(*vyr, {{"Cis_vyr", 105}, {"ObjCis", "RED-5"}, {"PC_Vynskup", 7}});
    }
    // The order numbers of the items that match.
    QStringList matching(const KriteriaPolozky& k) {
        QStringList out;
        auto look = vynosovaSkupinaZTabulky(*vyr);
        for (pol->first(); !pol->eof(); pol->next())
            if (polozkaVyhovuje(k, *pol, look)) out << pol->field("ObjCis").asString();
        return out;
    }
    std::unique_ptr<Table> pol, vyr;
};

} // namespace

TEST_F(DialogsTest, ItemCriteriaMatchEveryNonEmptyOneCaseSensitively) {
    EXPECT_EQ(matching({}), (QStringList{"BAR-100", "RED-5", "NEZNAMY"}));
    KriteriaPolozky k;
    k.nazev = "Barva";
    EXPECT_EQ(matching(k), QStringList{"BAR-100"}); // "barva" differs in case
    k = {};
    k.cisVyr = "10"; // equals as text, not begins with
    EXPECT_EQ(matching(k), QStringList{"BAR-100"});
    k = {};
    k.druhPol = "Z";
    k.ko1 = "RAL";
    EXPECT_EQ(matching(k), QStringList{"BAR-100"}); // a blank Kod_Ozn1 does not begin with it
    k = {};
    k.vynSkup = "7";
    EXPECT_EQ(matching(k), QStringList{"RED-5"});
    // An item whose order code finds no product fails the revenue group, and the shared
    // product cursor does not move.
    vyr->last();
    k.vynSkup = "3";
    EXPECT_EQ(matching(k), QStringList{"BAR-100"});
    EXPECT_EQ(vyr->field("Cis_vyr").asInteger(), 105);
    EXPECT_FALSE(polozkaVyhovuje(k, *pol, {})); // no look-up at all
}

TEST_F(DialogsTest, ItemCriteriaDialogUpperCasesTheOrderCodeAndMovesOnEnter) {
    TestPlatform ui;
    TFormulUctyHledejPol d;
    EXPECT_EQ(d.windowTitle(), "Hledání položky účtu");
    EXPECT_TRUE(d.kriteria().empty());
    d.show();
    d.EditObjCis->setFocus();
    QApplication::processEvents();
    d.EditObjCis->setText("");
    // Typed text (textEdited), not a programmatic set.
    for (QChar c : QStringLiteral("bar-1")) {
        QKeyEvent e(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(d.EditObjCis, &e);
    }
    EXPECT_EQ(d.EditObjCis->text(), "BAR-1");
    EXPECT_EQ(matching(d.kriteria()), QStringList{"BAR-100"});
    press(d.EditObjCis, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(d.EditCisVyr->hasFocus());
    EXPECT_TRUE(d.isVisible()); // Enter is swallowed, not a default button
    press(d.EditCisVyr, Qt::Key_Escape);
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_FALSE(d.isVisible());
}

TEST_F(DialogsTest, FieldChooserRemembersTheChoiceOnlyOnOk) {
    TestPlatform ui;
    const DataSource src{"DS_PolVyd", pol.get()};
    const QString file = "Nastaven\\VyberPol.txt";
    {
        TFormVyberPol d;
        ASSERT_TRUE(d.setDataSource(src));
        d.setFileName(file);
        ASSERT_GE(d.ListBoxTable->count(), 8);
        EXPECT_EQ(d.ListBoxTable->item(0)->text(), "Cis_Uctu");
        d.show();
        EXPECT_EQ(d.windowTitle(), "Jméno zdroje dat :DS_PolVyd");
        EXPECT_EQ(d.ListBoxVyber->count(), 0); // no file yet: an empty choice
        d.ListBoxTableDblClick(6);             // Nazev
        d.ListBoxTableDblClick(2);             // ObjCis
        d.ListBoxTableDblClick(6);             // duplicates are allowed
        d.ListBoxVyberDblClick(0);
        EXPECT_EQ(d.chosenFields(), (QStringList{"ObjCis", "Nazev"}));
        d.reject(); // cancelled: nothing is written
        EXPECT_FALSE(QFile::exists(d.filePath()));
        EXPECT_FALSE(d.filePath().isEmpty());
    }
    QStringList chosen;
    ui.answerModal([](QDialog& d) {
        auto& f = static_cast<TFormVyberPol&>(d);
        f.ListBoxTableDblClick(2);
        f.ListBoxTableDblClick(3);
        f.ButtonOkClick();
    });
    ASSERT_TRUE(vyberPolozky(nullptr, src, file, &chosen));
    EXPECT_EQ(chosen, (QStringList{"ObjCis", "Cis_Vyr"}));
    // The next time the choice comes back from the file.
    ui.answerModal([](QDialog& d) {
        auto& f = static_cast<TFormVyberPol&>(d);
        EXPECT_EQ(f.chosenFields(), (QStringList{"ObjCis", "Cis_Vyr"}));
        f.reject();
    });
    EXPECT_FALSE(vyberPolozky(nullptr, src, file, &chosen));
    // A data source without a table is refused before anything is shown.
    ui.answer(Button::Ok, {}, caption::Chyba);
    TFormVyberPol d;
    EXPECT_FALSE(d.setDataSource(DataSource{"DS_Nic", nullptr}));
}

TEST_F(DialogsTest, PriceAndPeriodDialogsCheckTheirEntriesAndRememberThePeriod) {
    TestPlatform ui;
    {
        TFormulFiltrCena c;
        c.EditCenaOd->setText("100,50");
        c.EditCenaDo->setText("");
        EXPECT_EQ(c.filtr("Cena_Celk"), "Cena_Celk >= '100.5000'");
        c.EditCenaDo->setText("abc");
        ui.answer(Button::Ok, {}, caption::Chyba);
        c.ButtonOkClick();
        EXPECT_NE(c.result(), QDialog::Accepted);
    }
    TFormulVyrFiltrTiskS::zapomenObdobi();
    QString od, do_;
    ui.answerModal([](QDialog& d) {
        auto& p = static_cast<TFormulVyrFiltrTiskS&>(d);
        EXPECT_EQ(p.datumOd(), "01.01.2002");
        EXPECT_EQ(p.datumDo(), "31.12.2002");
        p.EditDatumOd->setText("01.03.2026");
        p.EditDatumDo->setText("31.03.2026");
        p.ButtonOkClick();
    });
    ASSERT_TRUE(zadejObdobi(nullptr, &od, &do_));
    EXPECT_EQ(od + "-" + do_, "01.03.2026-31.03.2026");
    // The next dialog of the run starts with those dates; Escape in a date entry cancels and
    // an invalid date keeps the dialog open.
    TFormulVyrFiltrTiskS p;
    EXPECT_EQ(p.datumOd(), "01.03.2026");
    EXPECT_EQ(p.filtr("Dat_Vystaveni"),
              "Dat_Vystaveni >= '01.03.2026' and Dat_Vystaveni <= '31.03.2026'");
    p.EditDatumDo->setText("32.13.2026");
    ui.answer(Button::Ok, {}, caption::Chyba);
    p.ButtonOkClick();
    EXPECT_NE(p.result(), QDialog::Accepted);
    p.show();
    press(p.EditDatumOd->lineEdit(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(p.EditDatumDo->lineEdit()->hasFocus());
    press(p.EditDatumDo->lineEdit(), Qt::Key_Escape);
    EXPECT_EQ(p.result(), QDialog::Rejected);
    TFormulVyrFiltrTiskS::zapomenObdobi();
}
