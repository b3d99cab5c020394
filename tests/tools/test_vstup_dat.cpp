// The browse-and-entry form offscreen: search and range items answered by tag, the range
// values kept as values, selection mode, the entry page, and the tools every register gets at
// start (export dialog, filter database, the storage messages of the tables' own handlers).
#include "../data/storage_fixture.h"
#include "export/export_dialog.h"
#include "grid_model.h"
#include "scripted_gtest.h"
#include "storage_messages.h"
#include "vstup/register_tools.h"
#include "vstup/vstup_dat.h"

#include "qt_app.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

using namespace brix;

namespace {

using test::app;

const Catalogue& vstupCatalogue() {
    static const Catalogue c = [] {
        Catalogue c;
        c.add(Catalogue::define("Banka", "Ucty",
                                "Cislo A20!; Nazev A40; Kod_Banky A4; Zustatek $; Poznamka M",
                                "Cislo", "Nazev=Nazev"));
        TableDef h = Catalogue::define("T", "Hla_Vyd", "Cis_Uctu I!; Popis A20", "Cis_Uctu");
        h.detailRules.push_back({"T\\Pol_Vyd", {"Cis_Uctu"}, {"Cis_Uctu"}});
        c.add(h);
        c.add(Catalogue::define("T", "Pol_Vyd", "Cis_Uctu I!; PorCis S!; Mnozstvi F",
                                "Cis_Uctu;PorCis"));
        return c;
    }();
    return c;
}

// A derived form as the bank-statement form is one: its own answers to the two questions.
class FormUcty : public TFrmVstupDat {
public:
    explicit FormUcty(Table& t)
        : TFrmVstupDat(t, "Účty", {{"&Název", 1}, {"&Číslo účtu", 2}},
                       {{"&Název", 1},
                        {"Začátek &čísla", 2},
                        {"&Prázdný zůstatek", 3},
                        {"Zůstatek &nad", 4},
                        {"&Banka", 5}}) {
        cislo = addField("Cislo", "Číslo účtu", "Číslo bankovního účtu");
        nazev = addField("Nazev", "Název", "Název účtu");
        kod = addField("Kod_Banky", "Kód banky");
    }
    QString NazevHledanePolozky(int tag) const override {
        return tag == 1 ? "NAZEV" : tag == 2 ? "cislo" : QString();
    }
    QString PrefixFiltru(int tag) const override {
        switch (tag) {
        case 1:
            return "Nazev = \"";
        case 2:
            return "Cislo = \"";
        case 3:
            return "Zustatek =";
        case 4:
            return "Zustatek > ";
        case 5:
            return "Kod_Banky = ";
        }
        return TFrmVstupDat::PrefixFiltru(tag);
    }
    EditBox* cislo = nullptr;
    EditBox* nazev = nullptr;
    EditBox* kod = nullptr;
};

class VstupDatTest : public test::StorageTest {
protected:
    OpenOptions options() override {
        OpenOptions o;
        o.catalogue = &vstupCatalogue();
        return o;
    }
    void SetUp() override {
        app();
        StorageTest::SetUp();
        ucty = std::make_unique<Table>(*db, "Banka\\Ucty");
        ucty->open();
        add(*ucty, {{"Cislo", "19-2000145399"},
                    {"Nazev", "Provozní"},
                    {"Kod_Banky", "0800"},
                    {"Zustatek", 15230.5}});
        add(*ucty, {{"Cislo", "2400112233"},
                    {"Nazev", "Spořicí \"Plus\""},
                    {"Kod_Banky", "2010"},
                    {"Zustatek", 0}});
        add(*ucty,
            {{"Cislo", "1234"}, {"Nazev", "O'Brien"}, {"Kod_Banky", "0100"}, {"Zustatek", 800}});
        ucty->close();
    }
    QStringList visible() { return column(*ucty, "Nazev"); }
    std::unique_ptr<Table> ucty;
};

QAction* actionNamed(QMenu* m, const QString& caption) {
    for (QAction* a : m->actions())
        if (a->text() == caption) return a;
    return nullptr;
}

} // namespace

TEST_F(VstupDatTest, OpensUnfilteredOnTheFirstColumnWithItsMenus) {
    TestPlatform ui;
    ucty->open();
    ucty->setFilter("Zustatek > 100");
    ucty->setFiltered(true);
    FormUcty f(*ucty);
    f.openRegister();
    EXPECT_FALSE(ucty->filtered());
    EXPECT_EQ(f.DbGrid1->gridModel()->rowCount(), 3);
    EXPECT_EQ(f.searchField(), "Cislo"); // the first grid column, not the first "&Hledej" item
    EXPECT_EQ(f.LabelTrideni->text(), "Cislo");
    EXPECT_TRUE(f.StatusBar1->panelText(0).isEmpty());
    ASSERT_NE(f.MenuIndex, nullptr);
    EXPECT_EQ(f.MenuIndex->title(), "&Index");
    EXPECT_EQ(f.config().printManagerPrefix, "TiskDat_");
    ASSERT_NE(f.MenuRozsah, nullptr);
    EXPECT_NE(actionNamed(f.MenuRozsah, "&Bez filtru"), nullptr);
    EXPECT_NE(actionNamed(f.MenuRozsah, "&Filtr"), nullptr);
    // The base form prints and exports nothing by itself.
    f.tiskovySpravceClick();
    f.exportClick();
    EXPECT_TRUE(ui.shown().isEmpty());
    f.closeRegister();
    EXPECT_FALSE(ucty->active());
}

TEST_F(VstupDatTest, SearchItemsAreAnsweredByTagAndTheBaseAnswerFindsNothing) {
    TestPlatform ui;
    FormUcty f(*ucty);
    f.openRegister();
    f.hledejItem(0); // tag 1 answers "NAZEV": compared in upper case
    EXPECT_EQ(f.searchField(), "Nazev");
    EXPECT_TRUE(f.searchFor(f.searchField(), "spoř"));
    EXPECT_EQ(ucty->field("Cislo").asString(), "2400112233");
    // A blank search box does not move the record pointer.
    EXPECT_FALSE(f.searchFor(f.searchField(), "   "));
    EXPECT_EQ(ucty->field("Cislo").asString(), "2400112233");
    f.closeRegister();

    // A form that does not answer: the base's name matches no column, searching does nothing.
    TFrmVstupDat base(*ucty, "Základ", {{"&Hledej", 1}}, {{"&Rozsah", 1}});
    base.openRegister();
    EXPECT_EQ(base.NazevHledanePolozky(1), "Neni zmenen nazev hledaci polozky");
    EXPECT_EQ(base.PrefixFiltru(1), "Definujte Nazev");
    base.hledejItem(0);
    EXPECT_TRUE(base.searchField().isEmpty());
    base.EditHledej->setText("Pro");
    base.EditHledejExit();
    EXPECT_EQ(ucty->field("Cislo").asString(), "1234"); // still on the first record
    base.closeRegister();
}

TEST_F(VstupDatTest, RangeItemsFilterByPrefixAndValueAndKeepTypedQuotesAsText) {
    TestPlatform ui;
    FormUcty f(*ucty);
    f.openRegister();

    ui.answerInput("Spořicí \"Plus\"", "Zadejte položku Nazev = \"");
    f.rozsahItem(0);
    EXPECT_TRUE(ucty->filtered());
    EXPECT_EQ(visible(), QStringList{"Spořicí \"Plus\""});
    EXPECT_EQ(f.StatusBar1->panelText(0), "Filtr :Nazev = \"Spořicí \"\"Plus\"\"\"");

    // Tag 3 filters without asking.
    f.rozsahItem(2);
    EXPECT_EQ(ucty->filter(), "Zustatek = 0");
    EXPECT_EQ(visible(), QStringList{"Spořicí \"Plus\""});

    // Cancelling the input box leaves the table unfiltered (the filter went off first).
    ui.cancelInput();
    f.rozsahItem(3);
    EXPECT_FALSE(ucty->filtered());
    EXPECT_TRUE(f.StatusBar1->panelText(0).isEmpty());

    // A number with a decimal comma; an empty answer leaves the filter off.
    ui.answerInput("799,5");
    f.rozsahItem(3);
    EXPECT_EQ(visible(), (QStringList{"O'Brien", "Provozní"}));
    ui.answerInput("");
    f.rozsahItem(3);
    EXPECT_FALSE(ucty->filtered());

    // Tag 5 encloses the value in single quotes; an apostrophe in it stays a character.
    ui.answerInput("0100");
    f.rozsahItem(4);
    EXPECT_EQ(visible(), QStringList{"O'Brien"});
    ui.answerInput("01' or Kod_Banky <> '");
    f.rozsahItem(4);
    EXPECT_TRUE(visible().isEmpty());

    // An untagged value that is no literal becomes a text instead of filter syntax.
    EXPECT_EQ(TFrmVstupDat::hodnotaRozsahu(4, "100 or Zustatek < 0"), "'100 or Zustatek < 0'");
    EXPECT_EQ(TFrmVstupDat::hodnotaRozsahu(4, "'01.01.2002'"), "'01.01.2002'");
    EXPECT_EQ(TFrmVstupDat::hodnotaRozsahu(2, "AB*"), "AB*\"");

    f.bezFiltruClick();
    EXPECT_FALSE(ucty->filtered());
    EXPECT_TRUE(ucty->filter().isEmpty());
    f.closeRegister();
    EXPECT_EQ(ui.pendingAnswers(), 0);
}

TEST_F(VstupDatTest, SelectionModeClosesWithOkAndLeavesTheTableOpen) {
    TestPlatform ui;
    ucty->open();
    FormUcty f(*ucty);
    f.setSelectionMode(true);
    ui.answerModal([&](QDialog&) {
        ASSERT_TRUE(ucty->locate("Cislo", {"1234"}));
        f.DbGrid1->syncToTable();
        f.gridActivated();
    });
    EXPECT_EQ(f.showRegister(), QDialog::Accepted);
    EXPECT_TRUE(ucty->active());
    EXPECT_EQ(ucty->field("Nazev").asString(), "O'Brien");
}

TEST_F(VstupDatTest, EntryPageDisablesTheBrowseMenusAndEnterMovesOn) {
    TestPlatform ui;
    FormUcty f(*ucty);
    f.openRegister();
    f.OpravaClick();
    ASSERT_TRUE(f.entryShown());
    EXPECT_FALSE(f.MenuIndex->menuAction()->isEnabled());
    EXPECT_FALSE(f.MenuTisk->menuAction()->isEnabled());
    EXPECT_FALSE(f.MenuRozsah->menuAction()->isEnabled());
    EXPECT_TRUE(f.ButtonOk->isEnabled());
    ASSERT_NE(f.Navigator1, nullptr);
    f.nazev->setText("Provozní 2");
    ui.answer(Button::Yes, "Chceš opravdu skončit bez záznamu", caption::Dotaz);
    f.EscapeEntry();
    EXPECT_FALSE(f.entryShown());
    EXPECT_TRUE(f.MenuIndex->menuAction()->isEnabled());
    EXPECT_EQ(ucty->state(), TableState::Browse);

    ui.answer(Button::No, "Chceš opravdu smazat větu ?", caption::Dotaz);
    f.SmazatClick();
    EXPECT_EQ(ucty->recordCount(), 3);
    ui.answer(Button::Yes, "Chceš opravdu smazat větu ?", caption::Dotaz);
    f.SmazatClick();
    EXPECT_EQ(ucty->recordCount(), 2);
    f.closeRegister();
}

TEST_F(VstupDatTest, InstalledToolsExportAndSettleStorageErrorsOfTheTablesHandlers) {
    TestPlatform ui;
    InstalujNastrojeRegistru();
    struct Reset {
        ~Reset() { RegisterHooks::global() = RegisterHooks(); }
    } reset;

    // "&Export" opens the export dialog on the register's table.
    FormUcty f(*ucty);
    f.openRegister();
    QString master;
    ui.answerModal(
        [&](QDialog& d) {
            auto* e = qobject_cast<TFormulExportDat*>(&d);
            ASSERT_NE(e, nullptr);
            master = e->master() ? e->master()->sourceName() : QString();
            EXPECT_TRUE(e->RadioParadox->isChecked());
        },
        "FormulExportDat");
    f.RegisterForm::exportClick();
    EXPECT_EQ(master.toLower(), "banka\\ucty");
    f.closeRegister();

    // A table whose errors its own handlers settle: a key violation on "&Ok" shows the message
    // once and the record stays in insert; a header with items asks before deleting them.
    Table hla(*db, "T\\Hla_Vyd"), pol(*db, "T\\Pol_Vyd");
    hla.open();
    pol.open();
    add(hla, {{"Cis_Uctu", 1}, {"Popis", "první"}});
    add(hla, {{"Cis_Uctu", 2}, {"Popis", "druhý"}});
    add(pol, {{"Cis_Uctu", 1}, {"PorCis", 1}, {"Mnozstvi", 3}});
    pol.close();
    hla.close();
    installStorageErrorHandlers(hla);
    RegisterConfig c;
    c.caption = "Výdejky";
    RegisterForm r(hla, c);
    EditBox* cis = r.addField("Cis_Uctu", "Číslo");
    r.openRegister();
    r.NovyClick();
    cis->setText("2");
    ui.answer(Button::Ok, {}, caption::Chyba);
    r.ButtonOkClick();
    EXPECT_TRUE(r.entryShown());
    EXPECT_EQ(hla.state(), TableState::Insert);
    ui.answer(Button::Yes, "Chceš opravdu skončit bez záznamu?", caption::Dotaz);
    r.ButtonZrusClick();

    ASSERT_TRUE(hla.locate("Cis_Uctu", {1}));
    ui.answer(Button::Yes, "Chceš opravdu smazat větu ?");
    ui.answer(Button::No, "Smazat tento záznam včetně položek ?", caption::Dotaz);
    r.SmazatClick();
    EXPECT_EQ(hla.recordCount(), 2);
    ui.answer(Button::Yes, "Chceš opravdu smazat větu ?");
    ui.answer(Button::Yes, "Smazat tento záznam včetně položek ?", caption::Dotaz);
    r.SmazatClick();
    EXPECT_EQ(hla.recordCount(), 1);
    pol.open();
    EXPECT_EQ(pol.recordCount(), 0);
    r.closeRegister();
    EXPECT_EQ(ui.pendingAnswers(), 0);
}
