// The product form's entry page offscreen: a new product with the first VAT rate, Escape that
// leaves nothing, a save refused for a zero pack factor that keeps the product in insert, the
// prices shown with two places, the unit lists read and written back, and the variants left
// closed without VERZETEXTIL.
#include "ciselniky_fixture.h"

#include "ceny_vyrobku.h"
#include "formul_vyrobky.h"
#include "navigator.h"
#include "util/path_resolver.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace brix::test {
namespace {

class FormulVyrobkyTest : public CiselnikyTest {
protected:
    void SetUp() override {
        CiselnikyTest::SetUp();
        Table fir(*db, "Ciselnik\\Firmy");
        add(fir,
            {{"Cis_firmy", 7}, {"Zkr_nazev", "a"}, {"Cis_obor", 1}, {"Nazev", "Barvy s.r.o."}});
        Table vyr(*db, "Ciselnik\\Vyrobky");
        add(vyr, {{"Cis_vyr", 1},
                  {"ObjCis", "OBJ1"},
                  {"Nazev", "Email bílý"},
                  {"Druh_Pol", "S"},
                  {"DPH", 21},
                  {"NC_Netto", 245.9},
                  {"Faktor_Bal", 1},
                  {"CenaZa", 1},
                  {"Kalk_Prir", 21},
                  {"PC_Zakl", 297.5},
                  {"MO_Marze", 50},
                  {"MO_Cena", 446.3},
                  {"Cis_Firmy", 7}});
        const QString cis = resolvedFilePath(dir.path(), QStringLiteral("Ciselnik"));
        QDir().mkpath(cis);
        QFile mj(cis + "/DruhMn.txt");
        ASSERT_TRUE(mj.open(QIODevice::WriteOnly));
        mj.write("ks\r\nkg\r\n");
    }
    // Types into a price box as the user does (the engine hears each edit).
    void pis(TFormulVyrobky& f, const char* pole, const QString& text) {
        QLineEdit* e = f.edit(QString::fromLatin1(pole))->lineEdit();
        e->selectAll();
        QTest::keyClicks(e, text);
    }
};

TEST_F(FormulVyrobkyTest, NewProductEscapeAndARefusedSave) {
    TFormulVyrobky f(*dm);
    f.openRegister();
    f.NovyClick();
    ASSERT_TRUE(f.entryShown());
    EXPECT_EQ(f.table().state(), TableState::Insert);
    EXPECT_EQ(f.table().field("DPH").asDecimal(), Decimal(21)); // the first rate of SazbyDPH
    EXPECT_TRUE(f.edit("Cis_vyr")->isEnabled());
    // Escape with nothing typed leaves without a question.
    f.EscapeEntry();
    EXPECT_FALSE(f.entryShown());
    EXPECT_EQ(f.table().recordCount(), 1);

    // With something typed Escape asks, and No stays.
    f.NovyClick();
    f.edit("Cis_vyr")->setText("77");
    QTest::keyClicks(f.edit("Nazev")->lineEdit(), "Lak lesky");
    ui.answer(Button::No, "Chceš opravdu skončit bez záznamu", "Dotaz");
    f.EscapeEntry();
    EXPECT_TRUE(f.entryShown());
    // A zero pack factor is refused on saving; the product stays in insert with what was typed.
    pis(f, "NC_Netto", "100");
    pis(f, "Faktor_Bal", "0");
    pis(f, "CenaZa", "1");
    ui.answer(Button::Ok, QString::fromUtf16(kFaktorACenaZa));
    EXPECT_FALSE(f.saveEntry());
    EXPECT_EQ(f.table().state(), TableState::Insert);
    EXPECT_EQ(f.edit("Nazev")->text(), "Lak lesky");
    EXPECT_EQ(f.table().recordCount(), 1);
    // Yes leaves nothing behind.
    ui.answer(Button::Yes, "Chceš opravdu skončit bez záznamu", "Dotaz");
    f.EscapeEntry();
    EXPECT_FALSE(f.entryShown());
    EXPECT_EQ(f.table().recordCount(), 1);
    f.closeRegister();
}

// An existing product on the entry page: money with two places (the stored 297.5 shows as
// "297,50"), the number and the series closed, the stock shown read-only.
TEST_F(FormulVyrobkyTest, PricesShowTwoPlacesAndTheNumberIsClosedForEditing) {
    TFormulVyrobky f(*dm);
    f.openRegister();
    ASSERT_TRUE(f.table().locate("Cis_vyr", {1}));
    f.OpravaClick();
    ASSERT_TRUE(f.entryShown());
    EXPECT_EQ(f.edit("PC_Zakl")->text(), "297,50");
    EXPECT_EQ(f.edit("NC_Netto")->text(), "245,90");
    EXPECT_FALSE(f.edit("Cis_vyr")->isEnabled());
    EXPECT_FALSE(f.seznam("Cis_Rada")->isEnabled());
    EXPECT_EQ(f.EditDodavatel->text(), "Barvy s.r.o.");
    // The supplier's number beside the name is shown whole, not clipped by a narrow box.
    f.resize(1366, 700);
    f.show();
    QApplication::processEvents();
    EditBox* cislo = f.edit("Cis_Firmy");
    ASSERT_TRUE(cislo);
    EXPECT_EQ(cislo->text(), "7");
    EXPECT_GE(cislo->lineEdit()->width(), cislo->lineEdit()->minimumSizeHint().width());
    EXPECT_GE(cislo->width(), cislo->minimumSizeHint().width());
    f.cancelEntry();
    f.closeRegister();
}

// The unit lists are the file's lines; a unit added on the form is written back on closing.
// Without VERZETEXTIL the variants' table stays closed and the command is hidden.
TEST_F(FormulVyrobkyTest, UnitListsRoundTripAndVariantsStayClosedWithoutTheSetting) {
    TFormulVyrobky f(*dm);
    f.openRegister();
    EXPECT_EQ(f.jednotky(), (QStringList{"ks", "kg"}));
    EXPECT_FALSE(f.MenuVarianty->isVisible());
    EXPECT_FALSE(dm->TableVyrVar && dm->TableVyrVar->active());
    ASSERT_TRUE(f.table().locate("Cis_vyr", {1}));
    f.OpravaClick();
    QComboBox* mj = f.seznam("DruhMn");
    ASSERT_TRUE(mj);
    mj->setCurrentText("bal");
    ui.answer(Button::Yes, "Položka ještě neexistuje, vytvořit ?");
    f.ExitJednotka(mj);
    EXPECT_TRUE(f.jednotky().contains("bal"));
    f.cancelEntry();
    f.closeRegister();
    QFile mjSoubor(resolvedFilePath(dir.path(), QStringLiteral("Ciselnik\\DruhMn.txt")));
    ASSERT_TRUE(mjSoubor.open(QIODevice::ReadOnly));
    EXPECT_TRUE(mjSoubor.readAll().contains("bal"));
}

// The recipe page under the order-code key: a component typed in small letters is found, an
// unknown key is told and leaves the line open, and the same component twice is refused with
// the table's message while the first line stays.
TEST_F(FormulVyrobkyTest, RecipeComponentsByOrderCodeInAnyCaseAndNoTwice) {
    Table vyr(*db, "Ciselnik\\Vyrobky");
    add(vyr, {{"Cis_vyr", 2},
              {"ObjCis", "PASTA-Z"},
              {"Nazev", "Tónovací pasta žlutá"},
              {"Druh_Pol", "S"},
              {"DPH", 21},
              {"Cis_Firmy", 7},
              {"NC_Netto", 39},
              {"PC_Zakl", 47.2},
              {"Faktor_Bal", 1},
              {"CenaZa", 1}});
    nastaveniProgramu().HlKlicVyr = QStringLiteral("OBJCIS");
    TFormulVyrobky f(*dm);
    f.openRegister();
    ASSERT_TRUE(f.table().locate("Cis_vyr", {1}));
    f.KompletClick();
    Table& komp = *dm->TableVyrKomp;
    auto radek = [&](const QString& klic) {
        EXPECT_TRUE(f.NavigatorKomplet->trigger(Navigator::Insert));
        f.EditKlicKomponenty->setText(klic);
        f.KlicKomponentyEnter();
    };
    ui.answer(Button::Ok, "Nenalezen výrobek, hledej nebo zadej znovu");
    radek("nic-takoveho");
    ASSERT_FALSE(ui.shown().isEmpty());
    EXPECT_EQ(ui.shown().last().text, "Nenalezen výrobek, hledej nebo zadej znovu");
    EXPECT_EQ(komp.state(), TableState::Insert);
    f.EditKlicKomponenty->setText("pasta-z");
    f.KlicKomponentyEnter();
    EXPECT_EQ(komp.field("KCisVyr").asInteger(), 2);
    EXPECT_EQ(komp.field("KNazev").asString(), "Tónovací pasta žlutá");
    EXPECT_EQ(komp.field("KStand_PC").asDecimal(), Decimal::fromDouble(47.2));
    f.EditKStand_Mn->setText("0,5");
    EXPECT_TRUE(f.NavigatorKomplet->trigger(Navigator::Post));
    EXPECT_EQ(komp.recordCount(), 1);

    radek("PASTA-Z");
    f.EditKStand_Mn->setText("1");
    ui.clearShown();
    // One box, the table's own; nothing after it.
    ui.answer(Button::Ok,
              "Položka s kombinací těchto čísel výrobků již existuje, položka nebude uložena",
              "Chyba");
    EXPECT_FALSE(f.NavigatorKomplet->trigger(Navigator::Post));
    EXPECT_EQ(ui.shown().size(), 1);
    komp.cancel();
    komp.refresh();
    EXPECT_EQ(komp.recordCount(), 1);
    komp.first();
    EXPECT_EQ(komp.field("KStand_Mn").asDecimal(), Decimal::fromDouble(0.5));
    f.closeRegister();
}

} // namespace
} // namespace brix::test
