// The variant dialog offscreen: the attach checks, a row per variant however many, the amounts
// shown again on reopening, Ok saving with the total, Cancel and Escape leaving everything.
#include "sklad_fixture.h"

#include "formul_var_vyr_ks.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brix::test {
namespace {

class QtProstredi : public testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_stock";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }
};
[[maybe_unused]] testing::Environment* const qtProstredi =
    testing::AddGlobalTestEnvironment(new QtProstredi);

class FormulVariantTest : public SkladTest {
protected:
    void SetUp() override {
        SkladTest::SetUp();
        Table t(*db, QString::fromUtf16(varianty::kVarianty));
        t.open();
        for (int i = 0; i < pocet; ++i) {
            t.insert();
            t.field("Cis_Vyr").setInteger(1);
            t.field("Varianta1").setString(QStringLiteral("V%1").arg(i, 2, 10, QLatin1Char('0')));
            t.field("SklZas_ks").setDecimal(Decimal(10));
            t.post();
        }
        radky = std::make_unique<Table>(*db, QString::fromUtf16(varianty::kRadkyDL));
        radky->open();
        zdroj = {"DS_VarDL", radky.get()};
        form = std::make_unique<TFormulVarVyrKS>(*dm);
        ASSERT_TRUE(form->PripojZdroj(&zdroj));
        form->setPolozka({"120", 1, 1});
    }
    void TearDown() override {
        form.reset();
        radky.reset();
        SkladTest::TearDown();
    }
    // Shows the dialog, types the texts into its boxes and ends it by `konec`.
    int zadej(const QStringList& texty, std::function<void(TFormulVarVyrKS&)> konec) {
        ui.answerModal([&](QDialog&) {
            for (int i = 0; i < texty.size(); ++i)
                form->boxy[i]->setText(texty[i]);
            konec(*form);
        });
        form->show();
        const int r = Platform::current().execModal(*form);
        form->hide();
        return r;
    }
    Decimal sklad(const QString& v) {
        Table t(*db, QString::fromUtf16(varianty::kVarianty));
        t.open();
        EXPECT_TRUE(t.findKey({1, v, QString()}));
        return t.field("SklZas_ks").asDecimal();
    }
    int pocetRadku() {
        radky->refresh();
        return int(radky->recordCount());
    }

    int pocet = 60;
    std::unique_ptr<Table> radky;
    DataSource zdroj;
    std::unique_ptr<TFormulVarVyrKS> form;
};

TEST_F(FormulVariantTest, AttachChecksTheSource) {
    TFormulVarVyrKS f(*dm);
    ui.answer(Button::Ok, "Není definován zdroj dat.", "Chyba");
    EXPECT_FALSE(f.PripojZdroj(nullptr));
    DataSource prazdny{"DS_X", nullptr};
    ui.answer(Button::Ok, "Ke zdroji dat není připojena žádná tabulka.", "Chyba");
    EXPECT_FALSE(f.PripojZdroj(&prazdny));
    Table zavrena(*db, QString::fromUtf16(varianty::kRadkyPokladny));
    DataSource z{"DS_Y", &zavrena};
    ui.answer(Button::Yes, "Připojená tabulka není aktivní. Zkusit otevřít?", "Dotaz");
    EXPECT_TRUE(f.PripojZdroj(&z));
    EXPECT_TRUE(zavrena.active());
    ui.verifyAllUsed();
}

TEST_F(FormulVariantTest, EveryVariantHasARowAndOkSavesThemAll) {
    QStringList texty;
    for (int i = 0; i < pocet; ++i)
        texty << (i % 2 ? "1" : (i == 58 ? "1,5" : ""));
    EXPECT_EQ(zadej(texty,
                    [](TFormulVarVyrKS& f) {
                        EXPECT_EQ(f.boxy.size(), 60);
                        EXPECT_EQ(f.skladLabels[0]->text(), "10,00");
                        f.ButtonOk->click();
                    }),
              QDialog::Accepted);
    EXPECT_EQ(form->celkem(), Dec("31.5"));
    EXPECT_EQ(pocetRadku(), 31);
    EXPECT_EQ(sklad("V59"), Decimal(9));
    EXPECT_EQ(sklad("V58"), Dec("8.5"));
    EXPECT_TRUE(form->boxy.isEmpty()); // the rows go with the closing

    // Reopened: the saved amounts are in their boxes; Cancel leaves lines and stock.
    EXPECT_EQ(zadej({},
                    [](TFormulVarVyrKS& f) {
                        EXPECT_EQ(f.boxy[1]->text(), "1,00");
                        EXPECT_EQ(f.boxy[58]->text(), "1,50");
                        EXPECT_TRUE(f.boxy[0]->text().isEmpty());
                        f.boxy[1]->setText("7");
                        f.ButtonZrus->click();
                    }),
              QDialog::Rejected);
    EXPECT_EQ(form->celkem(), Decimal());
    EXPECT_EQ(pocetRadku(), 31);
    EXPECT_EQ(sklad("V01"), Decimal(9));
}

TEST_F(FormulVariantTest, EscapeAsksAndEnterSaves) {
    ui.answerModal([&](QDialog&) {
        form->boxy[0]->setText("2");
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(form->boxy[0], &esc);
        EXPECT_EQ(form->result(), 0);
        EXPECT_FALSE(form->boxy.isEmpty());
        QApplication::sendEvent(form->boxy[0], &esc);
    });
    ui.answer(Button::No, "Chceš opravdu skončit bez záznamu", "Dotaz");
    ui.answer(Button::Yes, "Chceš opravdu skončit bez záznamu", "Dotaz");
    form->show();
    EXPECT_EQ(Platform::current().execModal(*form), QDialog::Rejected);
    form->hide();
    EXPECT_EQ(ui.beeps(), 2);
    EXPECT_EQ(pocetRadku(), 0);
    EXPECT_EQ(zadej({"2", "x", "5"},
                    [](TFormulVarVyrKS& f) {
                        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                        QApplication::sendEvent(f.boxy[2], &enter);
                    }),
              QDialog::Accepted);
    EXPECT_EQ(form->celkem(), Decimal(7));
    EXPECT_EQ(pocetRadku(), 2);
    ui.verifyAllUsed();
}

} // namespace
} // namespace brix::test
