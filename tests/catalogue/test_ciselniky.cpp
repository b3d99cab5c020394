#include "ciselniky_fixture.h"
#include "codec.h"
#include "hlavni_okno.h"
#include "pravidla.h"
#include "preview.h"
#include "prikazy.h"
#include "propojeni.h"
#include "reportwindows.h"
#include "spravcetisku.h"
#include "util/path_resolver.h"
#include "vstup/register_tools.h"
#include "vstup/tisk_seznamu.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace brix;
using brix::test::CiselnikyTest;

namespace {

class QtEnvironment : public testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_catalogue";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }
};

[[maybe_unused]] testing::Environment* const qtEnv =
    testing::AddGlobalTestEnvironment(new QtEnvironment);

QStringList captions(const QList<QAction*>& actions) {
    QStringList out;
    for (QAction* a : actions)
        if (!a->isSeparator()) out << a->text();
    return out;
}

void activate(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

} // namespace

// What each list has of its own in the common shape: caption, order, "&Hledej" items, the
// list print's template and the print manager's prefix.
TEST_F(CiselnikyTest, EveryListHasItsCaptionOrderSearchPrintAndPrintManager) {
    struct Ocekavani {
        std::function<std::unique_ptr<TFormulCiselnik>()> vytvor;
        QString caption;
        QString order;
        QStringList hledej;
        QString sablona; // with the run's suffix
        QString prefix;
    };
    const QString z = ZnTiskPripona();
    nastaveniProgramu().ZnTisk = true;
    const QList<Ocekavani> seznamy{
        {[&] { return std::make_unique<TFormulSkonto>(*dm->TableSkonto); },
         "Platební podmínky",
         "PC_SKONTO",
         {"&Císlo skonta"},
         "ciselnik\\SkontoSezn" + z + ".pts",
         "PrSko_"},
        {[&] { return std::make_unique<TFormulObor>(*dm->TableObor); },
         "Obory činnosti",
         "CIS_OBOR",
         {"&Císlo oboru"},
         "ciselnik\\OborSezn" + z + ".pts",
         "PrObor_"},
        {[&] { return std::make_unique<TFormulRabSkup>(*dm->TableRabSkup); },
         "Rabatní skupiny",
         "CIS_RABSKUP",
         {"&Název"},
         "ciselnik\\RabSkupSezn" + z + ".pts",
         "PrRabSk_"},
        {[&] { return std::make_unique<TFormulVynSkup>(*dm->TableVynSkup); },
         "Výnosové skupiny",
         "PC_VYNSKUP",
         {"&Císlo výn.skup."},
         "ciselnik\\VynSkupSezn" + z + ".pts",
         "PrVS_"},
        {[&] { return std::make_unique<TFormulZeme>(*dm->TableZeme); },
         "Měny",
         "PLATNOST_OD;KOD_MENY",
         {"&Název"},
         "ciselnik\\ZemeSezn" + z + ".pts",
         "PrMena_"},
        {[&] { return std::make_unique<TFormulKodOzn1>(*dm->TableKodOzn1); },
         "Kódové označení 1",
         "KOD_OZN1",
         {},
         {},
         "PrKO1_"},
        {[&] { return std::make_unique<TFormulKodOzn2>(*dm->TableKodOzn2); },
         "Kódové označení 2",
         "KOD_OZN2",
         {},
         {},
         "PrKO2_"},
        {[&] { return std::make_unique<TFormulCelSaz>(*dm->TableClo); },
         "Vstup celního sazebníku",
         "CIS_CELSAZ",
         {"&Celní číslo"},
         "ciselnik\\CloSeznamZ.pts",
         {}},
        {[&] { return std::make_unique<TFormulDruhUctu>(*dm->TableDruhUctu, dm->TableCisUctu); },
         "Vstup druhu účtu",
         "TYP_UCTU;DRUH",
         {"&Typ účtu"},
         "ciselnik\\CisUctuSezn" + z + ".pts",
         {}},
        {[&] { return std::make_unique<TFormulSklad>(*dm->TableSklady); },
         "Sklady",
         "CIS_SKLAD",
         {"&Název"},
         "ciselnik\\SkladSezn" + z + ".pts",
         {}},
        {[&] { return std::make_unique<TFormulStredGrid>(*dm->TableStred); },
         "Vstup středisek",
         "STREDISKO",
         {"&Středisko"},
         "\\ciselnik\\StredSezn" + z + ".pts",
         "PrStred_"},
    };
    for (const Ocekavani& o : seznamy) {
        auto f = o.vytvor();
        SCOPED_TRACE(o.caption.toStdString());
        EXPECT_EQ(f->windowTitle(), o.caption);
        f->openRegister();
        EXPECT_EQ(f->table().indexFields().join(';').toUpper(), o.order);
        EXPECT_EQ(f->MenuHledej ? captions(f->MenuHledej->actions()) : QStringList(), o.hledej);
        QStringList tisk;
        f->hooks().print = [&](RegisterForm&, const QString& p) { tisk << p; };
        f->hooks().printManager = [&](RegisterForm&, const QString& d, const QString& p) {
            tisk << d + p;
        };
        for (int i = 0; i < f->printActions.size(); ++i)
            f->printActions[i]->trigger();
        if (f->MenuTiskovySpravce) f->MenuTiskovySpravce->trigger();
        QStringList ocekavano;
        if (!o.sablona.isEmpty()) ocekavano << o.sablona;
        if (!o.prefix.isEmpty()) ocekavano << "Ciselnik\\" + o.prefix;
        EXPECT_EQ(tisk, ocekavano);
        f->closeRegister();
        EXPECT_FALSE(f->table().active());
    }
}

TEST_F(CiselnikyTest, EnterMovesBetweenBoxesExceptInTheRebateGroups) {
    TFormulSkonto skonto(*dm->TableSkonto);
    TFormulRabSkup rab(*dm->TableRabSkup);
    for (TFormulCiselnik* f :
         {static_cast<TFormulCiselnik*>(&skonto), static_cast<TFormulCiselnik*>(&rab)}) {
        activate(*f);
        f->openRegister();
        f->NovyClick();
        QLineEdit* prvni = f->editBox(f == &rab ? "Cis_RabSkup" : "PC_skonto")->lineEdit();
        ASSERT_TRUE(prvni->hasFocus());
        key(prvni, Qt::Key_Return);
        EXPECT_EQ(prvni->hasFocus(), f == &rab);
        EXPECT_TRUE(f->entryShown());
        f->ButtonZrusClick();
        f->closeRegister();
        f->hide();
    }
    // The twenty rebates each have a box of their own.
    for (int i = 1; i <= 20; ++i)
        EXPECT_NE(rab.editBox(QStringLiteral("Rabat%1").arg(i)), nullptr) << i;
    EXPECT_EQ(rab.box("PoslCisVyr"), nullptr); // shown in the grid only
}

TEST_F(CiselnikyTest, CurrenciesAreKeyedByValidityDateAndCode) {
    TFormulZeme f(*dm->TableZeme);
    Table& t = f.table();
    f.openRegister();
    auto nova = [&](const char* od, const char* kod, const char* kurs) {
        f.NovyClick();
        f.editBox("Platnost_Od")->setText(od);
        f.editBox("KOD_Meny")->setText(kod);
        f.editBox("Nazev")->setText("Evropská měnová unie");
        if (kurs) f.editBox("Kurs")->setText(kurs);
        f.ButtonOkClick();
    };
    // A new record's defaults.
    f.NovyClick();
    EXPECT_EQ(f.editBox("Kurs")->numberValue(), 1.0);
    EXPECT_EQ(f.editBox("Zaokr")->numberValue(), 0.1);
    EXPECT_EQ(f.editBox("Koef")->numberValue(), 1.0);
    f.ButtonZrusClick();

    nova("1.7.2024", "EUR", "25,025");
    nova("1.1.2024", "EUR", "24,725");
    nova("1.1.2024", "USD", nullptr);
    EXPECT_FALSE(f.entryShown());
    EXPECT_EQ(t.recordCount(), 3);

    // The same currency on the same date is refused with the list's message; the typed
    // record stays for correction.
    ui.answer(Button::Ok,
              "Položka s tímto kódem a datem platnosti již existuje, položka nebude uložena",
              caption::Chyba);
    nova("1.1.2024", "EUR", "30");
    EXPECT_TRUE(f.entryShown());
    EXPECT_EQ(t.state(), TableState::Insert);
    EXPECT_EQ(f.editBox("Kurs")->text(), "30");
    f.editBox("Platnost_Od")->setText("1.1.2025");
    f.ButtonOkClick();
    EXPECT_FALSE(f.entryShown());
    EXPECT_EQ(t.recordCount(), 4);

    // In the order of validity and code.
    QStringList poradi;
    for (t.first(); !t.eof(); t.next())
        poradi << t.field("Platnost_Od").asDate().toString("yyyy-MM") + " " +
                      t.field("KOD_Meny").asString() + " " + t.field("Kurs").asString();
    EXPECT_EQ(poradi, (QStringList{"2024-01 EUR 24,725", "2024-01 USD 1", "2024-07 EUR 25,025",
                                   "2025-01 EUR 30"}));
}

TEST_F(CiselnikyTest, CustomsTariffDefaultsListsKeysAndItsTemplate) {
    TFormulCelSaz f(*dm->TableClo);
    Table& t = f.table();
    f.openRegister();
    EXPECT_TRUE(f.MenuNovy->shortcut().isEmpty()); // "&Nový" has no F5 here
    f.NovyClick();
    EXPECT_EQ(f.seznam("Jednotka")->currentText(), "NAR");
    EXPECT_EQ(f.seznam("DPH")->currentText(), "22");
    EXPECT_FALSE(qobject_cast<QCheckBox*>(f.box("Sleva_Eur"))->isChecked());
    EXPECT_FALSE(f.seznam("Jednotka")->isEditable());
    QStringList jednotky;
    for (int i = 0; i < f.seznam("Jednotka")->count(); ++i)
        jednotky << f.seznam("Jednotka")->itemText(i);
    EXPECT_EQ(jednotky, (QStringList{"NAR", "UNS", "TNN", "MTQ", "NPR", "MTR", "MTK", ""}));

    // The additional code takes a value outside its list; F6 saves.
    f.editBox("Cis_celsaz")->setText("32091000");
    f.editBox("Nazev")->setText("Nátěrové barvy akrylové");
    f.seznam("D_kod")->setCurrentText("55");
    f.seznam("DPH")->setCurrentText("5");
    key(f.editBox("Nazev")->lineEdit(), Qt::Key_F6);
    EXPECT_FALSE(f.entryShown());
    ASSERT_TRUE(t.locate("Cis_celsaz", {"32091000"}));
    EXPECT_EQ(t.field("D_kod").asString(), "55");
    EXPECT_EQ(t.field("DPH").asFloat(), 5.0);
    EXPECT_EQ(t.field("Jednotka").asString(), "NAR");

    // A VAT rate that is not a number is said so and nothing is lost.
    f.OpravaClick();
    EXPECT_EQ(f.seznam("D_kod")->currentText(), "55");
    f.seznam("DPH")->setCurrentText("dvacet");
    ui.answer(Button::Ok, "\"dvacet\" není číslo", caption::Chyba);
    f.ButtonOkClick();
    EXPECT_TRUE(f.entryShown());
    EXPECT_EQ(f.seznam("DPH")->currentText(), "dvacet");
    // Escape asks with the list's own question.
    ui.answer(Button::Yes, "Chceš opravdu skončit bez záznamu ?", caption::Dotaz);
    key(f.editBox("Nazev")->lineEdit(), Qt::Key_Escape);
    EXPECT_FALSE(f.entryShown());
    EXPECT_EQ(t.field("DPH").asFloat(), 5.0);

    // The list's template follows the character-print setting as it is now.
    QStringList sablony;
    f.hooks().print = [&](RegisterForm&, const QString& p) { sablony << p; };
    nastaveniProgramu().ZnTisk = true;
    f.tiskItem(0);
    nastaveniProgramu().ZnTisk = false;
    f.tiskItem(0);
    EXPECT_EQ(sablony, (QStringList{"ciselnik\\CloSeznamZ.pts", "ciselnik\\CloSeznam.pts"}));
}

TEST_F(CiselnikyTest, WarehouseFieldOfBusinessIsAWholeNumberFrom1To20) {
    TFormulSklad f(*dm->TableSklady);
    Table& t = f.table();
    f.openRegister();
    f.NovyClick();
    f.editBox("Cis_Sklad")->setText("5");
    f.editBox("Nazev")->setText("Sklad Nymburk");
    struct Pripad {
        const char* obor;
        const char* zprava;
    };
    for (const Pripad& p :
         {Pripad{"0", "Obor smí být v rozsahu 1..20"}, Pripad{"21", "Obor smí být v rozsahu 1..20"},
          Pripad{"300", "Obor smí být v rozsahu 1..20"},
          Pripad{"-3", "Obor smí být v rozsahu 1..20"},
          Pripad{"x", "Obotr smí být v rozsahu 1..20"}, Pripad{"", "Obotr smí být v rozsahu 1..20"},
          Pripad{"7,5", "Obotr smí být v rozsahu 1..20"},
          Pripad{"99999999999", "Obotr smí být v rozsahu 1..20"}}) {
        SCOPED_TRACE(p.obor);
        f.editBox("Cis_Obor")->setText(p.obor);
        ui.answer(Button::Ok, p.zprava, caption::Chyba);
        f.ButtonOkClick();
        EXPECT_TRUE(f.entryShown());
        EXPECT_EQ(t.state(), TableState::Insert);
        EXPECT_EQ(f.editBox("Nazev")->text(), "Sklad Nymburk");
    }
    EXPECT_EQ(t.recordCount(), 0);
    // Escape in the box of its own asks as in the others.
    ui.answer(Button::No, "Chceš opravdu skončit bez záznamu", caption::Dotaz);
    key(f.editBox("Cis_Obor")->lineEdit(), Qt::Key_Escape);
    EXPECT_TRUE(f.entryShown());
    f.editBox("Cis_Obor")->setText("20");
    f.seznam("Druh_Ceny")->setCurrentText("VO");
    f.ButtonOkClick();
    EXPECT_FALSE(f.entryShown());
    ASSERT_EQ(t.recordCount(), 1);
    EXPECT_EQ(t.field("Cis_Obor").asInteger(), 20);
    EXPECT_EQ(t.field("Druh_Ceny").asString(), "VO");

    // Editing shows the stored number; 1 is the lowest allowed.
    f.OpravaClick();
    EXPECT_EQ(f.editBox("Cis_Obor")->text(), "20");
    EXPECT_EQ(f.seznam("Druh_Ceny")->currentText(), "VO");
    f.editBox("Cis_Obor")->setText(" 1 ");
    f.ButtonOkClick();
    EXPECT_EQ(t.field("Cis_Obor").asInteger(), 1);

    // The cost-centre box's chooser fills the key.
    f.setVyberStrediska([](QString& klic) {
        klic = "VEL";
        return true;
    });
    f.OpravaClick();
    emit f.editBox("Cis_Stred")->chooserRequested();
    EXPECT_EQ(f.editBox("Cis_Stred")->text(), "VEL");
    f.ButtonOkClick();
    EXPECT_EQ(t.field("Cis_Stred").asString(), "VEL");
}

TEST_F(CiselnikyTest, CodeDesignationsHaveTheirOwnMenus) {
    TFormulKodOzn1 f(*dm->TableKodOzn1);
    add(*dm->TableKodOzn1, {{"Kod_Ozn1", "BAR-INT"}, {"Popis", "Barvy interiérové"}});
    add(*dm->TableKodOzn1, {{"Kod_Ozn1", "BAR-EXT"}, {"Popis", "Barvy exteriérové"}});
    f.openRegister();
    // "&Hledej" is itself the search command; "&Třídění" has the code; "&Tisk" only the
    // print manager.
    ASSERT_NE(f.MenuHledejItem, nullptr);
    EXPECT_EQ(f.MenuHledej, nullptr);
    EXPECT_TRUE(captions(f.MainMenu->actions()).contains("&Hledej"));
    ASSERT_NE(f.MenuTrideni, nullptr);
    EXPECT_EQ(f.MenuTrideni->title(), "&Třídění");
    EXPECT_EQ(captions(f.MenuTrideni->actions()), QStringList{"&Kódové označení"});
    ASSERT_NE(f.MenuTisk, nullptr);
    EXPECT_EQ(captions(f.MenuTisk->actions()), QStringList{"&Tiskový správce"});

    f.MenuHledejItem->trigger();
    EXPECT_EQ(f.searchField().toUpper(), "KOD_OZN1");
    f.EditHledej->setText("bar-e");
    f.EditHledejExit();
    EXPECT_EQ(f.table().field("Popis").asString(), "Barvy exteriérové");

    TFormulKodOzn2 f2(*dm->TableKodOzn2);
    EXPECT_EQ(f2.MenuHledej, nullptr);
    EXPECT_EQ(f2.MenuHledejItem, nullptr);
    EXPECT_EQ(f2.editBox("Kod_Ozn2")->maxLength(), 15); // the width of the product's field
}

TEST_F(CiselnikyTest, FieldsOfBusinessNoteBoxAndNumber) {
    TFormulObor f(*dm->TableObor);
    activate(f);
    f.openRegister();
    f.NovyClick();
    f.editBox("Cis_obor")->setText("21");
    f.editBox("Popis")->setText("Lakovny");
    ui.answer(Button::Ok, "Číslo oboru smí být v rozsahu 1..20", caption::Chyba);
    f.ButtonOkClick();
    EXPECT_TRUE(f.entryShown());
    f.editBox("Cis_obor")->setText("9");

    // In the note box Escape asks as in the other boxes and F6 saves.
    auto* memo = qobject_cast<QPlainTextEdit*>(f.box(QStringLiteral("Poznámka")));
    ASSERT_NE(memo, nullptr);
    memo->setFocus();
    memo->setPlainText("Lakovny nábytku\nspolupráce od roku 2020");
    ui.answer(Button::No, "Chceš opravdu skončit bez záznamu", caption::Dotaz);
    key(memo, Qt::Key_Escape);
    EXPECT_TRUE(f.entryShown());
    key(memo, Qt::Key_F6);
    EXPECT_FALSE(f.entryShown());
    ASSERT_TRUE(f.table().locate("Cis_obor", {9}));
    EXPECT_EQ(f.table().field(QStringLiteral("Poznámka")).asString(),
              "Lakovny nábytku\nspolupráce od roku 2020");

    // The number is the key: a second 9 gets the list's message.
    f.NovyClick();
    f.editBox("Cis_obor")->setText("9");
    ui.answer(Button::Ok, "Položka s tímto číslem oboru již existuje", caption::Chyba);
    f.ButtonOkClick();
    EXPECT_TRUE(f.entryShown());
    f.ButtonZrusClick();
    f.hide();
}

TEST_F(CiselnikyTest, DocumentKindsListsKeyAndNumberSeries) {
    TFormulDruhUctu f(*dm->TableDruhUctu, dm->TableCisUctu);
    Table& t = f.table();
    f.openRegister();
    f.NovyClick();
    QComboBox* typ = f.seznam("Typ_Uctu");
    ASSERT_NE(typ, nullptr);
    EXPECT_FALSE(typ->isEditable());
    QStringList typy;
    for (int i = 0; i < typ->count(); ++i)
        typy << typ->itemText(i);
    EXPECT_EQ(typy, (QStringList{"3", "4", "A", "C", "DL", "FV", "FZ", "J", "K", "OP", "OV"}));
    EXPECT_EQ(typ->statusTip(),
              "DL,FV,3-DLP,4-FaP,A-Výdejka,C-Prijemka,J-Kasa,K-Kasa uz.,OV;OP;FZ-zál.fav");
    EXPECT_EQ(f.seznam("Druh_ceny")->statusTip(),
              "MO-maloobchodní, VO - velkoobchodní, IP-interní pohyb, NC-nák.ceny");

    // The kind is required.
    typ->setCurrentText("DL");
    ui.answer(Button::Ok, "Prosím zadejte povinné položky", caption::Chyba);
    f.ButtonOkClick();
    EXPECT_TRUE(f.entryShown());
    f.editBox("Druh")->setText("DLV");
    f.seznam("Druh_ceny")->setCurrentText("VO");
    f.editBox("ZaokrHla")->setText("1");
    f.ButtonOkClick();
    EXPECT_FALSE(f.entryShown());
    EXPECT_EQ(t.field("Typ_Uctu").asString(), "DL");
    EXPECT_EQ(t.field("Druh_ceny").asString(), "VO");

    f.NovyClick();
    f.seznam("Typ_Uctu")->setCurrentText("DL");
    f.editBox("Druh")->setText("DLV");
    ui.answer(Button::Ok, "Typ účtu s tímto druhem již existuje", caption::Chyba);
    f.ButtonOkClick();
    EXPECT_TRUE(f.entryShown());
    f.ButtonZrusClick();

    // The number series of the document types.
    add(*dm->TableCisUctu, {{"Typ_Uctu", "DL"}, {"PrvCis", 120}});
    EXPECT_EQ(f.DalsiCisloUctu("DL", "DLV", 0), 120);
    EXPECT_EQ(f.DalsiCisloUctu("DL", "DLV", 120), 120);
    EXPECT_EQ(f.DalsiCisloUctu("DL", "DLV", 0), 121);
    EXPECT_EQ(f.DalsiCisloUctu("XX", "", 0), -1);
    EXPECT_FALSE(dm->TableCisUctu->active());
}

TEST_F(CiselnikyTest, CostCentresHaveFilterInTheMenuBar) {
    TFormulStredGrid f(*dm->TableStred);
    f.openRegister();
    EXPECT_EQ(f.MenuFiltr, nullptr);
    ASSERT_NE(f.MenuFiltrHlavni, nullptr);
    EXPECT_TRUE(f.MainMenu->actions().contains(f.MenuFiltrHlavni));
    int volano = 0;
    f.hooks().filterDialog = [&](RegisterForm&) { ++volano; };
    f.MenuFiltrHlavni->trigger();
    EXPECT_EQ(volano, 1);
    f.NovyClick();
    EXPECT_FALSE(f.MenuFiltrHlavni->isEnabled()); // a register menu: off while entering
    f.ButtonZrusClick();
    EXPECT_TRUE(f.MenuFiltrHlavni->isEnabled());
}

// Search texts are values: an apostrophe, "%" or "_" find exactly what they say.
TEST_F(CiselnikyTest, SearchTextWithApostropheOrPercentFindsWhatItSays) {
    Table& s = *dm->TableSklady;
    add(s, {{"Cis_Sklad", "1"}, {"Nazev", "Sklad 50 m2"}});
    add(s, {{"Cis_Sklad", "2"}, {"Nazev", "Sklad 5% slevy"}});
    add(s, {{"Cis_Sklad", "3"}, {"Nazev", "O'Neill a syn"}});
    add(s, {{"Cis_Sklad", "4"}, {"Nazev", "Sklad_A"}});
    add(s, {{"Cis_Sklad", "5"}, {"Nazev", "SkladBA"}});
    TFormulSklad f(s);
    f.openRegister();
    auto najdi = [&](const char* text) {
        f.EditHledej->setText(text);
        f.EditHledejExit();
        return s.field("Cis_Sklad").asString();
    };
    EXPECT_EQ(najdi("sklad 5%"), "2");
    EXPECT_EQ(najdi("o'n"), "3");
    EXPECT_EQ(najdi("SKLAD_"), "4");
    EXPECT_EQ(najdi("sklad 5"), "1");
    EXPECT_EQ(najdi("%"), "1") << "nothing begins with %, nothing moves";
    EXPECT_EQ(najdi("'"), "1");
    EXPECT_EQ(najdi("sklad%a"), "1");

    // A chooser opened with such a text positions on it and returns it.
    f.closeRegister();
    s.open();
    f.setChooserMode(true, "O'N", "Nazev");
    ui.answerModal([&](QDialog&) { key(f.DbGrid1, Qt::Key_Return); }, "TFormulSklad");
    EXPECT_EQ(f.showRegister(), QDialog::Accepted);
    EXPECT_EQ(s.field("Cis_Sklad").asString(), "3");
    EXPECT_TRUE(s.active()); // the caller's table stays open
}

// The list print: the template name resolves under the data root whatever its spelling, and
// the list goes to the report component.
TEST_F(CiselnikyTest, ListPrintFindsItsTemplateUnderTheDataRoot) {
    const QString root = db->root();
    const QString adresar = resolvedFilePath(root, QStringLiteral("Ciselnik"));
    ASSERT_TRUE(QDir().mkpath(adresar));
    // As a new data root gets it: in the system's code page.
    QFile src(QStringLiteral(BRIX_SOURCE_DIR "/dataroot/ciselnik/StredSeznz.pts"));
    ASSERT_TRUE(src.open(QIODevice::ReadOnly));
    const QString cil = adresar + "/STREDSEZNZ.PTS";
    ASSERT_TRUE(writeTextFile(cil, QString::fromUtf8(src.readAll())));
    EXPECT_EQ(CestaSablony(root, "\\ciselnik\\StredSeznz.pts"), cil);
    EXPECT_EQ(CestaSablony(root, "/CISELNIK/stredseznz.pts"), cil);
    EXPECT_EQ(CestaSablony(root, "ciselnik\\StredSeznz.pts"), cil);
    EXPECT_EQ(CestaSablony(root, "..\\ciselnik\\StredSeznz.pts"), QString());

    add(*dm->TableStred, {{"Stredisko", "PRO"}, {"Nazev", "Prodejna"}});
    TiskSeznamu tisk(*dm->TableStred, "\\ciselnik\\StredSeznz.pts");
    EXPECT_EQ(tisk.cesta(), cil);
    ASSERT_TRUE(tisk.nactiSablonu());
    EXPECT_EQ(tisk.sestava().definition.description, "Seznam středisek");

    // Through the register, with the program's register tools and report windows: the list
    // in the preview.
    const RegisterHooks predtim = RegisterHooks::global();
    InstalujNastrojeRegistru();
    report::installReportWindows();
    TFormulStredGrid f(*dm->TableStred);
    f.openRegister();
    ui.answerModal(
        [](QDialog& d) {
            auto& nahled = dynamic_cast<report::TFormSestP&>(d);
            EXPECT_EQ(nahled.pageCount(), 1);
            EXPECT_TRUE(report::findText(nahled.report().output, "Prodejna", 0).found());
            nahled.ZavritClick();
        },
        "FormSestP");
    f.tiskItem(0);
    report::uninstallReportWindows();
    // A list whose template is missing says so.
    TFormulSkonto skonto(*dm->TableSkonto);
    skonto.openRegister();
    ui.answer(Button::Ok, "Nebyl nalezen soubor s předlohou tiskové sestavy", caption::Chyba);
    skonto.tiskItem(0);
    RegisterHooks::global() = predtim;
}

// "&Tiskový správce" of a code list: the shipped templates of its family, previewed over the
// register's table with the own company's lines first.
TEST_F(CiselnikyTest, PrintManagerOfACodeListPreviewsItsShippedTemplates) {
    const QString root = db->root();
    const QString adresar = resolvedFilePath(root, QStringLiteral("Ciselnik"));
    ASSERT_TRUE(QDir().mkpath(adresar));
    for (const QString name : {"PrKO1_Seznam.pts", "PrKO1_Seznamz.pts", "PrKO2_Seznam.pts"}) {
        QFile src(QStringLiteral(BRIX_SOURCE_DIR "/dataroot/ciselnik/") + name);
        ASSERT_TRUE(src.open(QIODevice::ReadOnly));
        ASSERT_TRUE(writeTextFile(adresar + "/" + name, QString::fromUtf8(src.readAll())));
    }
    add(*dm->TableKodOzn1, {{"Kod_Ozn1", "RAL9010"}, {"Popis", "Bílá čistá"}});
    add(*dm->TableKodOzn1, {{"Kod_Ozn1", "RAL3020"}, {"Popis", "Dopravní červená"}});
    udajeFirmy().Nazev = QStringLiteral("Barvy Laky Kolín s.r.o.");

    const RegisterHooks predtim = RegisterHooks::global();
    InstalujNastrojeRegistru();
    report::installReportWindows();
    TFormulKodOzn1 f(*dm->TableKodOzn1);
    f.openRegister();
    ASSERT_TRUE(f.MenuTiskovySpravce);
    int nahled = -1;
    ui.answerModal(
        [&](QDialog& d) {
            auto& s = dynamic_cast<report::TFormSpravceTisku&>(d);
            ASSERT_EQ(s.ListSestavy->topLevelItemCount(), 2);
            EXPECT_EQ(s.ListSestavy->topLevelItem(0)->text(0), "PrKO1_Seznam.pts");
            EXPECT_EQ(s.ListSestavy->topLevelItem(1)->text(0), "PrKO1_Seznamz.pts");
            EXPECT_EQ(s.ListSestavy->topLevelItem(0)->text(1), "Seznam kódových označení 1");
            ui.answerModal(
                [&](QDialog& p) {
                    auto& w = dynamic_cast<report::TFormSestP&>(p);
                    const report::TSestVystup& out = w.report().output;
                    EXPECT_EQ(w.pageCount(), 1);
                    EXPECT_TRUE(report::findText(out, "Dopravní červená", 0).found());
                    EXPECT_TRUE(report::findText(out, "RAL9010", 0).found());
                    EXPECT_EQ(w.report().Parametry.value(0), "Barvy Laky Kolín s.r.o.");
                    w.ZavritClick();
                },
                "FormSestP");
            s.ButtonPreview->click();
            nahled = 1;
            QTest::keyClick(s.ListSestavy, Qt::Key_Escape);
        },
        "FormSpravceTisku");
    f.MenuTiskovySpravce->trigger();
    EXPECT_EQ(nahled, 1);
    EXPECT_EQ(ui.beeps(), 1);
    f.closeRegister();
    report::uninstallReportWindows();
    RegisterHooks::global() = predtim;
}

// Every command of "&Číselníky" that is a code list opens its form, in normal mode, once the
// right CISELNIK is granted; none without it.
TEST_F(CiselnikyTest, MainMenuOpensEveryCodeListWithTheRightAndNoneWithout) {
    TFormMenu menu;
    TCiselniky& c = PropojCiselniky(menu, *dm, [&](const QString& id, std::function<void()> f) {
        menu.nastavObsluhu(id, std::move(f));
    });
    EXPECT_EQ(&c.dataCis(), dm.get()); // the run's data module
    const QList<std::pair<QString, QString>> prikazy{
        {prikaz::Obory, "TFormulObor"},
        {prikaz::Skonto, "TFormulSkonto"},
        {prikaz::RabatniTabulka, "TFormulRabSkup"},
        {prikaz::VynosoveSkupiny, "TFormulVynSkup"},
        {prikaz::Meny, "TFormulZeme"},
        {prikaz::CelniSazebnik, "TFormulCelSaz"},
        {prikaz::DruhyUctu, "TFormulDruhUctu"},
        {prikaz::Strediska, "TFormulStredGrid"},
    };
    for (const auto& [id, _] : prikazy) {
        EXPECT_FALSE(menu.pouzitelny(id)) << id.toStdString();
        menu.spustPrikaz(id); // nothing opens
    }
    EXPECT_TRUE(ui.shown().isEmpty());
    menu.povolPrava({"CISELNIK"});

    // "&Měny" shows its form in normal mode even after another form used it as a chooser.
    dm->TableZeme->open();
    dm->TableZeme->setFilter("KOD_Meny = 'EUR'");
    dm->TableZeme->setFiltered(true);
    c.zeme().setChooserMode(true);

    for (const auto& [id, jmeno] : prikazy) {
        SCOPED_TRACE(id.toStdString());
        EXPECT_TRUE(menu.pouzitelny(id));
        RegisterForm* shown = nullptr;
        ui.answerModal(
            [&](QDialog& d) {
                shown = qobject_cast<RegisterForm*>(&d);
                ASSERT_NE(shown, nullptr);
                EXPECT_FALSE(shown->chooserMode());
                EXPECT_TRUE(shown->table().active());
                EXPECT_FALSE(shown->table().filtered());
                key(shown->DbGrid1, Qt::Key_Escape);
            },
            jmeno);
        menu.akce(id)->trigger();
        ASSERT_NE(shown, nullptr);
        EXPECT_FALSE(shown->table().active()); // closed again with the form
    }
    // The forms live for the run: a second use shows the same form.
    TFormulObor* obor = &c.obor();
    ui.answerModal([&](QDialog& d) { EXPECT_EQ(&d, obor); }, "TFormulObor");
    menu.spustPrikaz(prikaz::Obory);
    EXPECT_EQ(ui.beeps(), int(prikazy.size()));
}
