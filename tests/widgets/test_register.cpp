#include "register.h"
#include "scripted_gtest.h"
#include "storage_fixture.h"
#include "util/nastaveni.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

using namespace brix;

namespace {

const Catalogue& codeListCatalogue() {
    static const Catalogue c = [] {
        Catalogue c;
        c.add(Catalogue::define("Ciselnik", "Skonto",
                                "PC_skonto S!; Popis A40; Splatnost S; Skonto_pr F; Zpus_pl A15; "
                                "Platnost D; Poznamka M",
                                "PC_skonto", "Popis=Popis"));
        c.add(Catalogue::define("Ciselnik", "Sklady", "Cis A4!; Nazev A40!; Mesto A40; Obor S",
                                "Cis"));
        return c;
    }();
    return c;
}

void key(QWidget* w, int k) {
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

class RegisterTest : public test::StorageTest {
protected:
    OpenOptions options() override {
        OpenOptions o;
        o.catalogue = &codeListCatalogue();
        return o;
    }
    void SetUp() override {
        StorageTest::SetUp();
        table = std::make_unique<Table>(*db, "Ciselnik\\Skonto");
        table->open();
        int n = 1;
        for (const char* popis : {"Čokoláda hořká", "čaj zelený", "Čokoláda mléčná", "Káva",
                                  "O'Brien \"Irish\"", "Chléb"})
            add(*table,
                {{"PC_skonto", n++}, {"Popis", QString::fromUtf8(popis)}, {"Splatnost", n * 7}});
        table->close();
    }
    RegisterConfig skontoConfig() {
        RegisterConfig c;
        c.caption = "Platební podmínky";
        c.order = "PC_skonto";
        c.columns = {
            {"PC_skonto", "Poř.číslo", 0}, {"Popis", "Popis", 0}, {"Splatnost", "Splatnost", 0}};
        c.searchItems = {{"&Císlo skonta", "PC_skonto"}, {"&Popis", "Popis"}};
        c.sortItems = {{"&Popis", "Popis"}};
        c.rangeItems = {{"&Popis", "Popis", RangeItem::Kind::Equals, {}, {}},
                        {"&Začátek popisu", "Popis", RangeItem::Kind::StartsWith, {}, {}},
                        {"&Splatnost", "Splatnost", RangeItem::Kind::Between, {}, {}},
                        {"&Dlouhá splatnost", "", RangeItem::Kind::Fixed, {}, "Splatnost > 30"}};
        c.printItems = {{"&Seznam plat.podm.", "ciselnik\\SkontoSezn", {}}};
        c.printManagerPrefix = "PrSko_";
        return c;
    }
    // A register with the boxes of the payment terms.
    std::unique_ptr<RegisterForm> makeRegister(RegisterConfig c) {
        auto r = std::make_unique<RegisterForm>(*table, std::move(c));
        cislo = r->addField("PC_skonto", "Poř.číslo", "Pořadové číslo platební podmínky");
        popis = r->addField("Popis", "Popis", "Popis platební podmínky");
        splatnost = r->addField("Splatnost", "Splatnost", "Dny splatnosti");
        return r;
    }
    QString current() { return table->field("Popis").asString(); }

    std::unique_ptr<Table> table;
    EditBox* cislo = nullptr;
    EditBox* popis = nullptr;
    EditBox* splatnost = nullptr;
};

} // namespace

TEST_F(RegisterTest, OpensInItsOrderWithoutRangeOrFilterAndClosesTheTable) {
    TestPlatform ui;
    table->open();
    table->setIndexName("Popis");
    table->setFilter("Splatnost > 20");
    table->setFiltered(true);
    auto reg = makeRegister(skontoConfig());
    reg->openRegister();
    EXPECT_EQ(table->indexFields(), QStringList{"PC_skonto"});
    EXPECT_FALSE(table->filtered());
    EXPECT_EQ(reg->DbGrid1->gridModel()->rowCount(), 6);
    EXPECT_EQ(reg->LabelTrideni->text(), "Poř.číslo"); // the first search item
    EXPECT_FALSE(reg->entryShown());
    EXPECT_EQ(reg->MenuNovy->shortcut(), QKeySequence(Qt::Key_F5));
    // Every register can switch its filter off.
    ASSERT_NE(reg->MenuBezFiltru, nullptr);
    reg->applyFilter("Splatnost > 20");
    EXPECT_EQ(reg->StatusBar1->panelText(0), "Filtr zapnut");
    reg->MenuBezFiltru->trigger();
    EXPECT_FALSE(table->filtered());
    EXPECT_EQ(reg->StatusBar1->panelText(0), "");
    reg->closeRegister();
    EXPECT_FALSE(table->active());
}

TEST_F(RegisterTest, NewRecordThroughTheEntryPageWithMenusDisabled) {
    TestPlatform ui;
    auto reg = makeRegister(skontoConfig());
    reg->openRegister();
    reg->NovyClick();
    ASSERT_TRUE(reg->entryShown());
    EXPECT_EQ(table->state(), TableState::Insert);
    EXPECT_FALSE(reg->browseMenusEnabled());
    EXPECT_FALSE(reg->MenuNovy->isEnabled());
    EXPECT_FALSE(reg->MenuTisk->menuAction()->isEnabled());
    EXPECT_FALSE(reg->MenuFunkce->menuAction()->isEnabled());
    EXPECT_TRUE(reg->ButtonOk->isEnabled());
    // A second "&Nový" while entering does nothing.
    reg->NovyClick();
    EXPECT_EQ(table->state(), TableState::Insert);

    EXPECT_EQ(popis->maxLength(), 40); // the field's size
    cislo->setText("7");
    popis->setText("Převodem");
    splatnost->setText("14");
    reg->ButtonOkClick();
    EXPECT_FALSE(reg->entryShown());
    EXPECT_TRUE(reg->browseMenusEnabled());
    EXPECT_EQ(table->state(), TableState::Browse);
    EXPECT_EQ(table->recordCount(), 7);
    EXPECT_EQ(current(), "Převodem");
    EXPECT_EQ(table->field("Splatnost").asInteger(), 14);
}

TEST_F(RegisterTest, KeyViolationOnOkShowsTheMessageAndKeepsTheInsert) {
    TestPlatform ui;
    auto reg = makeRegister(skontoConfig());
    reg->openRegister();
    reg->show();
    QApplication::setActiveWindow(reg.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(reg.get()));
    reg->NovyClick();
    cislo->setText("1");
    popis->setText("Duplicitní");
    reg->ButtonOk->setFocus(); // as a click leaves it
    ui.answer(Button::Ok, "již existuje", caption::Chyba);
    reg->ButtonOkClick();
    EXPECT_TRUE(reg->entryShown());
    EXPECT_EQ(table->state(), TableState::Insert);
    EXPECT_EQ(popis->text(), "Duplicitní");
    EXPECT_TRUE(cislo->lineEdit()->hasFocus()); // the key in error, whatever had the focus
    // Corrected, the same record saves.
    cislo->setText("8");
    reg->ButtonOkClick();
    EXPECT_FALSE(reg->entryShown());
    EXPECT_EQ(table->recordCount(), 7);
}

TEST_F(RegisterTest, RequiredFieldsAreMarkedAndTheMessageNamesTheMissingOnes) {
    TestPlatform ui;
    Table sklady(*db, "Ciselnik\\Sklady");
    RegisterConfig c;
    c.caption = "Sklady";
    RegisterForm reg(sklady, c);
    EditBox* cis = reg.addField("Cis", "Číslo skladu");
    EditBox* nazev = reg.addField("Nazev", "&Název");
    EditBox* mesto = reg.addField("Mesto", "Město");
    auto label = [&](QWidget* w) {
        auto* form = qobject_cast<QFormLayout*>(reg.entryArea()->layout()->itemAt(0)->layout());
        return form->labelForField(w);
    };
    EXPECT_TRUE(label(cis)->font().bold());
    EXPECT_TRUE(label(nazev)->font().bold());
    EXPECT_FALSE(label(mesto)->font().bold());
    reg.show();
    QApplication::setActiveWindow(&reg);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&reg));
    reg.openRegister();
    reg.NovyClick();
    mesto->setText("Kolín");
    ui.answer(Button::Ok, "Prosím zadejte povinné položky: Číslo skladu, Název", caption::Chyba);
    reg.ButtonOkClick();
    EXPECT_EQ(sklady.state(), TableState::Insert);
    EXPECT_TRUE(cis->lineEdit()->hasFocus());
    EXPECT_EQ(mesto->text(), "Kolín");
    cis->setText("1");
    ui.answer(Button::Ok, "Prosím zadejte povinné položky: Název", caption::Chyba);
    reg.ButtonOkClick();
    EXPECT_TRUE(nazev->lineEdit()->hasFocus());
    nazev->setText("Hlavní");
    reg.ButtonOkClick();
    EXPECT_FALSE(reg.entryShown());
    EXPECT_EQ(sklady.recordCount(), 1);
    reg.closeRegister();
}

TEST_F(RegisterTest, SmallIntegerBoxesTakeTheFieldsRangeAndRefuseWithTheFocusBack) {
    TestPlatform ui;
    auto reg = makeRegister(skontoConfig());
    reg->show();
    QApplication::setActiveWindow(reg.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(reg.get()));
    reg->openRegister();
    reg->NovyClick();
    cislo->setText("9");
    splatnost->setText("40000");
    reg->ButtonOk->setFocus();
    ui.answer(Button::Ok, "Hodnota \"40000\" není v rozsahu -32768 až 32767", caption::Chyba);
    reg->ButtonOkClick();
    EXPECT_EQ(table->state(), TableState::Insert);
    EXPECT_TRUE(splatnost->lineEdit()->hasFocus());
    EXPECT_EQ(splatnost->text(), "40000");
    ui.answer(Button::Yes, "bez záznamu", caption::Dotaz);
    reg->ButtonZrusClick();
    reg->closeRegister();
}

TEST_F(RegisterTest, OpensAtASizeThatShowsItsColumnsAndRemembersWhereItWasLeft) {
    TestPlatform ui;
    RegisterConfig c = skontoConfig();
    {
        auto reg = makeRegister(c);
        reg->setObjectName("TFormulSkontoTest");
        reg->openRegister();
        int columns = 0;
        for (int i = 0; i < reg->DbGrid1->gridModel()->columnCount(); ++i)
            columns += reg->DbGrid1->columnWidth(i);
        EXPECT_GT(reg->DbGrid1->width(), columns);
        EXPECT_GE(reg->width(), reg->MainMenu->sizeHint().width());
        reg->setGeometry(40, 50, 700, 500);
        reg->accept();
        reg->closeRegister();
    }
    auto again = makeRegister(c);
    again->setObjectName("TFormulSkontoTest");
    again->openRegister();
    EXPECT_EQ(again->geometry(), QRect(40, 50, 700, 500));
    again->closeRegister();
}

TEST_F(RegisterTest, StorageErrorsGoThroughTheHookWhenOneIsSet) {
    TestPlatform ui;
    QStringList seen;
    RegisterHooks::global().storageError = [&](RegisterForm*, const StorageError& e) {
        seen << e.message();
    };
    auto reg = makeRegister(skontoConfig());
    reg->openRegister();
    reg->NovyClick();
    cislo->setText("2");
    reg->ButtonOkClick();
    RegisterHooks::global().storageError = nullptr;
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen[0].contains("existuje"));
    EXPECT_EQ(table->state(), TableState::Insert);
}

TEST_F(RegisterTest, EscapeOnAChangedRecordAsksNoKeepsTheEditsYesRestores) {
    TestPlatform ui;
    auto reg = makeRegister(skontoConfig());
    reg->openRegister();
    ASSERT_TRUE(table->locate("PC_skonto", {4}));
    reg->OpravaClick();
    ASSERT_TRUE(reg->entryShown());
    EXPECT_EQ(popis->text(), "Káva");
    popis->setText("Káva zrnková");

    ui.answer(Button::No, "Chceš opravdu skončit bez záznamu?", caption::Dotaz);
    key(popis->lineEdit(), Qt::Key_Escape);
    EXPECT_TRUE(reg->entryShown());
    EXPECT_EQ(table->state(), TableState::Edit);
    EXPECT_EQ(popis->text(), "Káva zrnková");

    // "&Zruš" asks the same question.
    ui.answer(Button::No, "Chceš opravdu skončit bez záznamu?", caption::Dotaz);
    reg->ButtonZrusClick();
    EXPECT_TRUE(reg->entryShown());
    ui.answer(Button::Yes, "Chceš opravdu skončit bez záznamu?", caption::Dotaz);
    key(popis->lineEdit(), Qt::Key_Escape);
    EXPECT_FALSE(reg->entryShown());
    EXPECT_EQ(table->state(), TableState::Browse);
    EXPECT_EQ(current(), "Káva");
    table->refresh();
    EXPECT_EQ(current(), "Káva");

    // F6 saves; the Escape question's text is the register's.
    RegisterConfig c = skontoConfig();
    c.escapeQuestion = "Chceš opravdu skončit bez záznamu ?";
    reg->closeRegister();
    auto other = makeRegister(c);
    other->openRegister();
    table->locate("PC_skonto", {4});
    other->OpravaClick();
    popis->setText("Káva turecká");
    ui.answer(Button::No, "bez záznamu ?");
    key(popis->lineEdit(), Qt::Key_Escape);
    key(popis->lineEdit(), Qt::Key_F6);
    EXPECT_FALSE(other->entryShown());
    EXPECT_EQ(current(), "Káva turecká");
}

TEST_F(RegisterTest, EscapeAndCancelLeaveAnUnchangedRecordWithoutAQuestion) {
    TestPlatform ui; // any box would fail the test
    auto reg = makeRegister(skontoConfig());
    reg->openRegister();
    ASSERT_TRUE(table->locate("PC_skonto", {4}));
    reg->OpravaClick();
    key(popis->lineEdit(), Qt::Key_Escape);
    EXPECT_FALSE(reg->entryShown());
    EXPECT_EQ(table->state(), TableState::Browse);
    // A new record nothing was typed into is dropped by "&Zruš" as quietly.
    reg->NovyClick();
    ASSERT_EQ(table->state(), TableState::Insert);
    reg->ButtonZrusClick();
    EXPECT_FALSE(reg->entryShown());
    EXPECT_EQ(table->recordCount(), 6);
    // Typing and deleting it again is no change either.
    reg->OpravaClick();
    popis->setText("Kávička");
    popis->setText("Káva");
    reg->ButtonZrusClick();
    EXPECT_FALSE(reg->entryShown());
    reg->closeRegister();
}

TEST_F(RegisterTest, EnterMovesBetweenBoxesUnlessTheRegisterSaysOtherwise) {
    TestPlatform ui;
    for (bool moves : {true, false}) {
        RegisterConfig c = skontoConfig();
        c.enterMovesBetweenBoxes = moves;
        auto reg = makeRegister(c);
        reg->show();
        QApplication::setActiveWindow(reg.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(reg.get()));
        reg->openRegister();
        reg->OpravaClick();
        ASSERT_TRUE(cislo->lineEdit()->hasFocus());
        key(cislo->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(popis->lineEdit()->hasFocus(), moves);
        EXPECT_TRUE(reg->entryShown()); // Enter never presses "&Ok"
        EXPECT_EQ(reg->StatusBar2->panelText(0),
                  moves ? "Popis platební podmínky" : "Pořadové číslo platební podmínky");
        reg->ButtonZrusClick();
        reg->closeRegister();
        reg->hide();
    }
}

TEST_F(RegisterTest, DeleteAsksFirst) {
    TestPlatform ui;
    auto reg = makeRegister(skontoConfig());
    reg->openRegister();
    table->locate("PC_skonto", {3});
    ui.answer(Button::No, "Chceš opravdu smazat větu ?", caption::Dotaz);
    reg->SmazatClick();
    EXPECT_EQ(table->recordCount(), 6);
    ui.answer(Button::Yes, "Chceš opravdu smazat větu ?", caption::Dotaz);
    reg->SmazatClick();
    EXPECT_EQ(table->recordCount(), 5);
    EXPECT_FALSE(table->locate("PC_skonto", {3}));
}

TEST_F(RegisterTest, SearchFindsTheFirstMatchInTheCurrentOrderIgnoringCzechCase) {
    TestPlatform ui;
    auto reg = makeRegister(skontoConfig());
    reg->openRegister();
    reg->hledejItem(1);
    EXPECT_EQ(reg->LabelTrideni->text(), "Popis");
    EXPECT_EQ(reg->DbGrid1->searchColumn(), 1);

    table->last();
    reg->EditHledej->setText("čo");
    reg->EditHledejExit();
    EXPECT_EQ(current(), "Čokoláda hořká"); // first in the order of PC_skonto
    EXPECT_EQ(reg->DbGrid1->currentIndex().row(), 0);

    reg->EditHledej->setText("ČOKOLÁDA M");
    reg->EditHledejExit();
    EXPECT_EQ(current(), "Čokoláda mléčná");
    EXPECT_EQ(reg->DbGrid1->currentIndex().row(), 2);

    reg->EditHledej->setText("o'brien \"i");
    reg->EditHledejExit();
    EXPECT_EQ(current(), "O'Brien \"Irish\"");

    // Not found and blank texts never move.
    for (const char* text : {"xyz", "", "   ", "%", "_"}) {
        reg->EditHledej->setText(text);
        reg->EditHledejExit();
        EXPECT_EQ(current(), "O'Brien \"Irish\"") << text;
    }

    // In the order of Popis the first "č" is "čaj" ("ch" sorts after "h").
    reg->tridItem(0);
    reg->EditHledej->setText("č");
    reg->EditHledejExit();
    EXPECT_EQ(current(), "čaj zelený");
    reg->EditHledej->setText("ch");
    reg->EditHledejExit();
    EXPECT_EQ(current(), "Chléb");

    // A number column compares the whole number; a text that is not a number finds nothing.
    reg->setSearchField("PC_skonto");
    reg->EditHledej->setText("4");
    reg->EditHledejExit();
    EXPECT_EQ(current(), "Káva");
    reg->EditHledej->setText("x");
    reg->EditHledejExit();
    EXPECT_EQ(current(), "Káva");

    // A click on a column title chooses the search column and clears the search text; the box
    // of a number column takes only a number.
    reg->EditHledej->setText("Káva");
    emit reg->DbGrid1->horizontalHeader()->sectionClicked(2);
    EXPECT_EQ(reg->searchField(), "Splatnost");
    EXPECT_EQ(reg->LabelTrideni->text(), "Splatnost");
    EXPECT_EQ(reg->EditHledej->text(), "");
    QTest::keyClicks(reg->EditHledej, "2x8");
    EXPECT_EQ(reg->EditHledej->text(), "28");
    emit reg->DbGrid1->horizontalHeader()->sectionClicked(1);
    QTest::keyClicks(reg->EditHledej, "Kava 2");
    EXPECT_EQ(reg->EditHledej->text(), "Kava 2");
}

TEST_F(RegisterTest, NotFoundDoesWhatTheRegisterSays) {
    TestPlatform ui;
    RegisterConfig c = skontoConfig();
    c.notFound = NotFoundAction::Message;
    auto reg = makeRegister(c);
    reg->openRegister();
    reg->setSearchField("Popis");
    reg->EditHledej->setText("nic");
    ui.answer(Button::Ok, "nebyl nalezen", caption::Informace);
    reg->EditHledejExit();
}

TEST_F(RegisterTest, ChooserReturnsARecordLeavingOrderAndFilterAlone) {
    TestPlatform ui;
    table->open();
    table->setIndexName("Popis");
    table->setFilter("Splatnost >= 21");
    table->setFiltered(true);
    auto reg = makeRegister(skontoConfig());
    reg->setChooserMode(true, "čo", "Popis");
    ui.answerModal([&](QDialog&) {
        EXPECT_EQ(current(), "Čokoláda mléčná"); // hořká is filtered out
        key(reg->DbGrid1, Qt::Key_Return);
    });
    EXPECT_EQ(reg->showRegister(), QDialog::Accepted);
    EXPECT_TRUE(table->active());
    EXPECT_TRUE(table->filtered());
    EXPECT_EQ(table->filter(), "Splatnost >= 21");
    EXPECT_EQ(table->indexName(), "Popis");
    EXPECT_EQ(current(), "Čokoláda mléčná");

    // Escape closes with a beep and Cancel.
    auto again = makeRegister(skontoConfig());
    again->setChooserMode(true);
    ui.answerModal([&](QDialog&) { key(again->DbGrid1, Qt::Key_Escape); });
    EXPECT_EQ(again->showRegister(), QDialog::Rejected);
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_TRUE(table->active());
}

TEST_F(RegisterTest, EnterInTheGridEditsOutsideChooserMode) {
    TestPlatform ui;
    auto reg = makeRegister(skontoConfig());
    reg->openRegister();
    reg->DbGrid1->setCurrentIndex(reg->DbGrid1->gridModel()->index(3, 1));
    EXPECT_EQ(current(), "Káva");
    key(reg->DbGrid1, Qt::Key_Return);
    EXPECT_TRUE(reg->entryShown());
    EXPECT_EQ(table->state(), TableState::Edit);
    EXPECT_EQ(popis->text(), "Káva");
}

TEST_F(RegisterTest, RangeValuesAreLiteralsAndAnEmptyBoundDropsItsCondition) {
    TestPlatform ui;
    auto reg = makeRegister(skontoConfig());
    reg->openRegister();

    ui.answerInput("O'Brien \"Irish\"", "Zadejte položku &Popis");
    reg->rozsahItem(0);
    EXPECT_TRUE(table->filtered());
    EXPECT_EQ(table->recordCount(), 1);
    EXPECT_EQ(current(), "O'Brien \"Irish\"");
    EXPECT_EQ(reg->StatusBar1->panelText(0), "Filtr zapnut");

    ui.answerInput("čokoláda");
    reg->rozsahItem(1);
    EXPECT_EQ(table->recordCount(), 0) << "starts-with is case-sensitive as the filter is";
    ui.answerInput("Čokoláda");
    reg->rozsahItem(1);
    EXPECT_EQ(table->recordCount(), 2);

    // Cancelled or empty: the filter is off.
    ui.cancelInput();
    reg->rozsahItem(0);
    EXPECT_FALSE(table->filtered());
    EXPECT_EQ(reg->StatusBar1->panelText(0), "");
    ui.answerInput("");
    reg->rozsahItem(0);
    EXPECT_FALSE(table->filtered());

    // Splatnost is 14, 21, ... 49: only an upper bound.
    ui.answerInput("").answerInput("30");
    reg->rozsahItem(2);
    EXPECT_EQ(table->recordCount(), 3);
    ui.answerInput("28").answerInput("");
    reg->rozsahItem(2);
    EXPECT_EQ(table->recordCount(), 4);
    ui.answerInput("").answerInput("");
    reg->rozsahItem(2);
    EXPECT_FALSE(table->filtered());
    // Not a number: said so, no filter.
    ui.answerInput("deset").answerInput("");
    ui.answer(Button::Ok, "deset", caption::Chyba);
    reg->rozsahItem(2);
    EXPECT_FALSE(table->filtered());

    // A fixed range asks nothing.
    reg->rozsahItem(3);
    EXPECT_EQ(table->recordCount(), 3);
    EXPECT_EQ(ui.pendingAnswers(), 0);
}

TEST_F(RegisterTest, PrintExportAndPrintManagerGoThroughHooks) {
    TestPlatform ui;
    auto reg = makeRegister(skontoConfig());
    reg->openRegister();
    // The template carries the run's suffix of character printing.
    const QString templ = "ciselnik\\SkontoSezn" + ZnTiskPripona() + ".pts";
    ui.answer(Button::Ok, "Sestavu " + templ + " nelze vytisknout", caption::Chyba);
    reg->tiskItem(0);

    QStringList calls;
    reg->hooks().print = [&](RegisterForm&, const QString& path) { calls << path; };
    reg->hooks().printManager = [&](RegisterForm&, const QString& dir, const QString& prefix) {
        calls << dir + prefix;
    };
    RegisterHooks::global().exportTable = [&](RegisterForm& r) {
        calls << r.table().def().address();
    };
    reg->tiskItem(0);
    reg->tiskovySpravceClick();
    reg->exportClick();
    RegisterHooks::global().exportTable = nullptr;
    EXPECT_EQ(calls, (QStringList{templ, "Ciselnik\\PrSko_", "Ciselnik\\Skonto"}));

    // A register without export has no "&Export".
    RegisterConfig c = skontoConfig();
    c.exportItem = false;
    c.printItems.clear();
    c.printManagerPrefix.clear();
    auto bare = makeRegister(c);
    EXPECT_EQ(bare->MenuExport, nullptr);
    EXPECT_EQ(bare->MenuTisk, nullptr);
    EXPECT_FALSE(bare->MenuFunkce->menuAction()->isVisible());
}

TEST_F(RegisterTest, OwnCheckOnOkRefusesAndKeepsTheEntry) {
    TestPlatform ui;
    RegisterConfig c = skontoConfig();
    c.checkBeforeSave = [](RegisterForm& r) {
        if (r.table().field("Splatnost").asInteger() > 0) return true;
        Platform::current().error("Splatnost musí být kladná");
        return false;
    };
    c.afterNew = [](RegisterForm& r) { r.table().field("Splatnost").setInteger(30); };
    auto reg = makeRegister(c);
    reg->openRegister();
    reg->NovyClick();
    EXPECT_EQ(splatnost->text(), "30");
    cislo->setText("9");
    splatnost->setText("0");
    ui.answer(Button::Ok, "kladná");
    reg->ButtonOkClick();
    EXPECT_TRUE(reg->entryShown());
    EXPECT_EQ(table->state(), TableState::Insert);
}

// A hook that computes with a zero divisor is told to the user and loses nothing: the entry
// stays open with its values, nothing is written.
TEST_F(RegisterTest, ADivisionByZeroInAHookIsShownAndTheEntryStays) {
    TestPlatform ui;
    RegisterConfig c = skontoConfig();
    c.checkBeforeSave = [](RegisterForm& r) {
        const Decimal dni = r.table().field("Splatnost").asDecimal();
        return Decimal(30) / dni > Decimal(); // the form's own check forgot the zero
    };
    auto reg = makeRegister(c);
    reg->openRegister();
    table->beforePost.add([](Table& t) {
        (void)(Decimal(100) / t.field("Skonto_pr").asDecimal()); // a handler forgot it too
    });
    reg->NovyClick();
    cislo->setText("9");
    splatnost->setText("0");
    ui.answer(Button::Ok, "dělilo nulou", caption::Chyba);
    reg->ButtonOkClick();
    EXPECT_TRUE(reg->entryShown());
    EXPECT_EQ(table->state(), TableState::Insert);
    EXPECT_EQ(splatnost->text(), "0");

    splatnost->setText("14");
    ui.answer(Button::Ok, "dělilo nulou", caption::Chyba);
    reg->ButtonOkClick();
    EXPECT_EQ(table->state(), TableState::Insert);
    EXPECT_EQ(splatnost->text(), "14");
    ui.answer(Button::Yes, "skončit bez záznamu", caption::Dotaz);
    reg->ButtonZrusClick();
    EXPECT_FALSE(table->findKey({9})); // nothing was written
    ui.verifyAllUsed();
}

// The entry navigator saves as "&Ok" does before it moves: the list's check can refuse (the
// record and what was typed stay), an accepted record is posted, and the record reached is
// edited on the page with its own values.
TEST_F(RegisterTest, EntryNavigatorSavesThroughOkAndEditsTheRecordItReaches) {
    TestPlatform ui;
    RegisterConfig c = skontoConfig();
    c.entryNavigator = true;
    c.checkBeforeSave = [](RegisterForm& r) {
        if (r.table().field("Splatnost").asInteger() > 0) return true;
        Platform::current().error("Splatnost musí být kladná");
        return false;
    };
    auto reg = makeRegister(c);
    reg->openRegister();
    table->first();
    reg->OpravaClick();
    const QString first = current();
    EXPECT_FALSE(reg->binding().modified());
    splatnost->setText("0");
    EXPECT_TRUE(reg->binding().modified());
    ui.answer(Button::Ok, "kladná");
    EXPECT_FALSE(reg->Navigator1->trigger(Navigator::Next));
    EXPECT_EQ(current(), first);
    EXPECT_EQ(splatnost->text(), "0");
    EXPECT_EQ(table->state(), TableState::Edit);

    splatnost->setText("45");
    ASSERT_TRUE(reg->Navigator1->trigger(Navigator::Next));
    EXPECT_NE(current(), first);
    EXPECT_EQ(table->state(), TableState::Edit);
    EXPECT_EQ(popis->text(), current());
    EXPECT_FALSE(reg->binding().modified());
    ASSERT_TRUE(reg->Navigator1->trigger(Navigator::Prior));
    EXPECT_EQ(current(), first);
    EXPECT_EQ(table->field("Splatnost").asInteger(), 45);
    reg->ButtonZrusClick();
    reg->closeRegister();
}

TEST_F(RegisterTest, OpeningErrorIsShownAndTheRegisterStays) {
    TestPlatform ui;
    RegisterConfig c = skontoConfig();
    c.order = "Neexistuje";
    c.openErrorNotice = "Opište číslo chyby a kontaktujte Velmarka";
    auto reg = makeRegister(c);
    ui.answer(Button::Ok, "Opište číslo chyby", caption::Chyba);
    ui.answer(Button::Ok, {}, caption::Chyba);
    reg->openRegister();
    EXPECT_TRUE(reg->isOpen());
}

// --- the grid ----------------------------------------------------------------------------------

TEST_F(RegisterTest, GridLayoutMarksAndLockedColumns) {
    TestPlatform ui;
    EXPECT_EQ(DataGrid::parseLayout("Popis;120\n\n;40\nSplatnost;0\nPC_skonto\n").size(), 3);

    QFile f(dir.path() + "/Ciselnik/Skonto_Grid.csv");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Popis;150\r\nNeni;20\r\nSplatnost;0\r\n");
    f.close();
    RegisterConfig c = skontoConfig();
    c.layoutFile = "ciselnik\\skonto_grid.csv";
    c.markRows = true;
    c.lockedColumns = 1;
    auto reg = makeRegister(c);
    reg->openRegister();
    GridModel* m = reg->DbGrid1->gridModel();
    ASSERT_EQ(m->columnCount(), 2); // unknown fields are skipped
    EXPECT_EQ(m->columns()[0].field, "Popis");
    EXPECT_EQ(reg->DbGrid1->columnWidth(0), 150);
    EXPECT_TRUE(reg->DbGrid1->isColumnHidden(1));

    reg->DbGrid1->setCurrentIndex(m->index(1, 0));
    key(reg->DbGrid1, Qt::Key_Space);
    reg->DbGrid1->setCurrentIndex(m->index(4, 0));
    key(reg->DbGrid1, Qt::Key_Space);
    ASSERT_EQ(reg->DbGrid1->markedBookmarks().size(), 2);
    key(reg->DbGrid1, Qt::Key_Space);
    ASSERT_EQ(reg->DbGrid1->markedBookmarks().size(), 1);
    ASSERT_TRUE(table->gotoBookmark(reg->DbGrid1->markedBookmarks()[0]));
    EXPECT_EQ(current(), "čaj zelený");
    EXPECT_EQ(reg->DbGrid1->lockedColumns(), 1);
    // The locked columns' overlay covers exactly those columns, over the grid's whole height,
    // also when the grid got its size before the window was shown.
    reg->resize(700, 500);
    reg->show();
    QApplication::processEvents();
    QTableView* over = nullptr;
    for (QTableView* v : reg->DbGrid1->findChildren<QTableView*>(Qt::FindDirectChildrenOnly))
        if (v->isVisible()) over = v;
    ASSERT_TRUE(over);
    EXPECT_EQ(over->width(), 150);
    EXPECT_EQ(over->height(),
              reg->DbGrid1->viewport()->height() + reg->DbGrid1->horizontalHeader()->height());
}

TEST_F(RegisterTest, SearchTextWithPatternCharactersFindsWhatItSays) {
    TestPlatform ui;
    table->open();
    add(*table, {{"PC_skonto", 20}, {"Popis", "Sleva [*?] 5%"}});
    add(*table, {{"PC_skonto", 21}, {"Popis", "Sleva xx 5%"}});
    auto reg = makeRegister(skontoConfig());
    reg->openRegister();
    reg->setSearchField("Popis");
    reg->EditHledej->setText("SLEVA [*?]");
    reg->EditHledejExit();
    EXPECT_EQ(table->field("PC_skonto").asInteger(), 20);
    reg->EditHledej->setText("sleva ?x");
    reg->EditHledejExit();
    EXPECT_EQ(table->field("PC_skonto").asInteger(), 20) << "? is no wildcard";
    reg->EditHledej->setText("sleva x");
    reg->EditHledejExit();
    EXPECT_EQ(table->field("PC_skonto").asInteger(), 21);
}

// Another cursor (as another copy would) changes or deletes the record while the register edits
// it: "&Ok" says so, keeps the typed values and lets the user save them, reload or go on.
TEST_F(RegisterTest, ARecordChangedOrDeletedMeanwhileIsNotOverwrittenUnasked) {
    TestPlatform ui;
    auto reg = makeRegister(skontoConfig());
    reg->openRegister();
    Table jiny(*db, "Ciselnik\\Skonto");
    jiny.open();
    auto zmen = [&](const QString& popis) {
        ASSERT_TRUE(jiny.locate("PC_skonto", {4}));
        jiny.edit();
        jiny.field("Popis").setString(popis);
        jiny.post();
    };
    ASSERT_TRUE(table->locate("PC_skonto", {4}));
    reg->OpravaClick();
    popis->setText("Káva naše");
    zmen("Káva jejich");

    ui.answer(Button::Cancel, "Záznam mezitím změnil jiný uživatel", caption::Dotaz);
    reg->ButtonOkClick();
    EXPECT_TRUE(reg->entryShown());
    EXPECT_EQ(table->state(), TableState::Edit);
    EXPECT_EQ(popis->text(), "Káva naše"); // nothing typed is lost

    ui.answer(Button::No, "změnil jiný uživatel", caption::Dotaz);
    reg->ButtonOkClick();
    EXPECT_TRUE(reg->entryShown());
    EXPECT_EQ(table->state(), TableState::Edit);
    EXPECT_EQ(popis->text(), "Káva jejich"); // reloaded as stored now, still in edit

    popis->setText("Káva naše");
    zmen("Káva jejich podruhé");
    ui.answer(Button::Yes, "změnil jiný uživatel", caption::Dotaz);
    reg->ButtonOkClick();
    EXPECT_FALSE(reg->entryShown());
    jiny.refresh();
    EXPECT_EQ(jiny.field("Popis").asString(), "Káva naše");

    // Deleted meanwhile: Yes puts it back with the values on screen, No lets it go.
    for (bool zpet : {true, false}) {
        ASSERT_TRUE(table->locate("PC_skonto", {4}));
        reg->OpravaClick();
        popis->setText(zpet ? "Káva vrácená" : "Káva pryč");
        ASSERT_TRUE(jiny.locate("PC_skonto", {4}));
        jiny.remove();
        ui.answer(zpet ? Button::Yes : Button::No, "Záznam mezitím smazal jiný uživatel",
                  caption::Dotaz);
        reg->ButtonOkClick();
        EXPECT_FALSE(reg->entryShown());
        EXPECT_EQ(table->state(), TableState::Browse);
        Table kontrola(*db, "Ciselnik\\Skonto");
        kontrola.open();
        EXPECT_EQ(kontrola.locate("PC_skonto", {4}), zpet);
        if (zpet) {
            EXPECT_EQ(kontrola.field("Popis").asString(), "Káva vrácená");
        }
    }
    // A save with nobody in between asks nothing, and the cursor merges again afterwards.
    ASSERT_TRUE(table->locate("PC_skonto", {1}));
    reg->OpravaClick();
    popis->setText("Čokoláda");
    reg->ButtonOkClick();
    EXPECT_FALSE(reg->entryShown());
    EXPECT_EQ(table->conflictPolicy(), ConflictPolicy::Merge);
    reg->closeRegister();
}
