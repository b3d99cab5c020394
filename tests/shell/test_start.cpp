// The run of the program: start-up on a data root, the login at the first showing of the main
// window, the commands the rights enable, the first start, the demo data root and the settings.
#include "aplikace.h"
#include "cis_rada_form.h"
#include "demo.h"
#include "formats/paradox.h"
#include "formul_var_vyr_ks.h"
#include "hlavni_okno.h"
#include "nastaveni_form.h"
#include "o_aplikaci.h"
#include "prihlaseni_dlg.h"
#include "prikazy.h"
#include "shell_fixture.h"
#include "tools_test_util.h"
#include "util/nastaveni.h"
#include "zamestnanci.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace brix;
using namespace brix::test;

namespace {

class StartTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ui.setOkBoxesAnswered(true);
    }
    void demo() {
        const VysledekDema v = VytvorDemo(dir.path());
        ASSERT_TRUE(v.ok) << v.chyba.toStdString();
        resetRun();
    }
    void prihlas(const QString& heslo) {
        ui.answerModal(
            [heslo](QDialog& d) {
                auto& dlg = static_cast<TPasswordDlg&>(d);
                dlg.Password->setText(heslo);
                dlg.OKBtnClick();
            },
            QStringLiteral("PasswordDlg"));
    }
    // Adds an employee to the data root before the program starts.
    void pridejPredStartem(const QString& prijmeni, const QString& heslo,
                           const QSet<QString>& prava) {
        auto d = Database::open(dir.path());
        TDataCis m(*d);
        m.TableZamest->open();
        m.TableZamest->insert();
        m.TableZamest->field(QStringLiteral("PRIJMENI")).setString(prijmeni);
        ASSERT_TRUE(UlozZamestnance(m, heslo, QString()));
        UlozPrava(m, prijmeni, prava);
    }
};

TEST_F(StartTest, LowerCasePasswordLogsInAndVerboseIsReadFromTheCommandLine) {
    demo();
    prihlas(QStringLiteral("brix"));
    Aplikace app(dir.path(), {"brix", "VERBOSE"});
    ASSERT_TRUE(app.spust());
    EXPECT_TRUE(Verbose());
    EXPECT_EQ(PrihlasenyUzivatel(), QString::fromUtf16(kDemoSpravce));
    EXPECT_TRUE(app.nastPrNacten());
    ASSERT_NE(app.datovyModul(), nullptr);
    EXPECT_EQ(TDataCis::instance(), app.datovyModul());
    EXPECT_FALSE(app.datovyModul()->TableZamest->active()); // closed again after the login
    // The administrator has every right: every wired command bound to a right is usable.
    TFormMenu* m = app.hlavniOkno();
    for (const PrikazMenu& p : PrikazyMenu())
        EXPECT_TRUE(m->povolenoPravem(p.id)) << p.id.toStdString();
    for (const QString& id : {prikaz::Zamestnanci, prikaz::CiselneRady, prikaz::PrvniCislaUctu,
                              prikaz::Nastaveni, prikaz::NastaveniFirmy})
        EXPECT_TRUE(m->pouzitelny(id)) << id.toStdString();
    EXPECT_TRUE(app.formularZamestnancu()->MenuPristupy->isEnabled());
    m->close();
}

TEST_F(StartTest, StartUpMakesTheVariantDialogOnTheDataModuleBeforeTheLogin) {
    demo();
    TFormulVarVyrKS* priPrihlaseni = nullptr;
    Aplikace app(dir.path(), {"brix"});
    ui.answerModal(
        [&](QDialog& d) {
            priPrihlaseni = app.formularVariant();
            auto& dlg = static_cast<TPasswordDlg&>(d);
            dlg.Password->setText(QStringLiteral("brix"));
            dlg.OKBtnClick();
        },
        QStringLiteral("PasswordDlg"));
    ASSERT_TRUE(app.spust());
    ASSERT_NE(priPrihlaseni, nullptr);
    EXPECT_EQ(app.formularVariant(), priPrihlaseni); // one dialog for the whole run
    EXPECT_EQ(priPrihlaseni->windowTitle(), QStringLiteral("KS variant"));
    EXPECT_FALSE(priPrihlaseni->isVisible());
    app.hlavniOkno()->close();
}

TEST_F(StartTest, FirstArgumentThatOnlyBeginsWithVerboseDoesNotSetTheFlag) {
    demo();
    prihlas(QStringLiteral("BRIX"));
    Aplikace app(dir.path(), {"brix", "verbosex", "verbose"});
    ASSERT_TRUE(app.spust());
    EXPECT_FALSE(Verbose());
    app.hlavniOkno()->close();
}

TEST_F(StartTest, EmployeeWithoutRightsGetsOnlyTheCommandsWithoutARight) {
    demo();
    pridejPredStartem(QStringLiteral("HOST"), QStringLiteral("host"), {});
    prihlas(QStringLiteral("host"));
    Aplikace app(dir.path(), {"brix"});
    ASSERT_TRUE(app.spust());
    TFormMenu* m = app.hlavniOkno();
    for (const PrikazMenu& p : PrikazyMenu()) {
        if (p.pravo.isEmpty()) continue;
        EXPECT_FALSE(m->povolenoPravem(p.id)) << p.id.toStdString();
        EXPECT_FALSE(m->akce(p.id)->isEnabled()) << p.id.toStdString();
    }
    QStringList volne;
    for (const PrikazMenu& p : PrikazyMenu())
        if (m->povolenoPravem(p.id)) volne << (p.text.isEmpty() ? p.skupina : p.text);
    EXPECT_EQ(volne, (QStringList{"&Otevři pokl.zásuvku", "Převodka", "Ko&nec", "&Banka"}));
    EXPECT_TRUE(m->pouzitelny(prikaz::Zasuvka));
    EXPECT_TRUE(m->pouzitelny(prikaz::Konec));
    EXPECT_FALSE(app.formularZamestnancu()->MenuPristupy->isEnabled());
    // The drawer opens from the menu (the new data root has no drawer to initialise at start).
    m->spustPrikaz(prikaz::Zasuvka);
    EXPECT_EQ(ui.drawerCommands(), QList<DrawerCommand>{DrawerCommand::Open});
    // Without a drawer the command says so once, then only beeps.
    ui.setDrawerResult(false);
    ui.clearShown();
    m->spustPrikaz(prikaz::Zasuvka);
    m->spustPrikaz(prikaz::Zasuvka);
    ASSERT_EQ(ui.shownMessages().size(), 1);
    EXPECT_TRUE(ui.shownMessages().front().text.contains(QStringLiteral("zásuvka není")));
    EXPECT_EQ(ui.beeps(), 1);
    // A command whose form is not built yet says so, the same way for every such command.
    ui.clearShown();
    m->spustPrikaz(prikaz::Prevodka);
    m->spustPrikaz(prikaz::Banka);
    ASSERT_EQ(ui.shownMessages().size(), 2);
    for (const ShownBox& b : ui.shownMessages())
        EXPECT_EQ(b.text, QStringLiteral("Připravuje se"));
    // "Ko&nec" closes the main window.
    m->show();
    m->spustPrikaz(prikaz::Konec);
    EXPECT_FALSE(m->isVisible());
}

TEST_F(StartTest, FapRightIsKeptButEnablesNothing) {
    demo();
    pridejPredStartem(QStringLiteral("ÚČETNÍ"), QStringLiteral("faktury"), {"FAP"});
    prihlas(QStringLiteral("faktury"));
    Aplikace app(dir.path(), {"brix"});
    ASSERT_TRUE(app.spust());
    for (const PrikazMenu& p : PrikazyMenu())
        if (!p.pravo.isEmpty()) {
            EXPECT_FALSE(app.hlavniOkno()->povolenoPravem(p.id));
        }
    EXPECT_EQ(NactiPrava(*app.datovyModul(), QStringLiteral("ÚČETNÍ")), QSet<QString>{"FAP"});
    app.hlavniOkno()->close();
}

TEST_F(StartTest, CancelledLoginEndsTheProgramBeforeTheSettingsTableIsRead) {
    demo();
    {
        auto d = Database::open(dir.path());
        Table t(*d, QStringLiteral("Nastaven\\Nast_Pr"));
        t.open();
        t.insert();
        t.field(QStringLiteral("Popis")).setString(QStringLiteral("TITLE"));
        t.field(QStringLiteral("Hodnota")).setString(QStringLiteral("Barvy Kolín"));
        t.post();
    }
    ui.answerModal([](QDialog& d) { d.reject(); }, QStringLiteral("PasswordDlg"));
    Aplikace app(dir.path(), {"brix"});
    EXPECT_FALSE(app.spust());
    EXPECT_FALSE(app.nastPrNacten());
    EXPECT_FALSE(nastaveniTabulky().maTitle);
    EXPECT_FALSE(priponaZnakovehoTisku().urcena());
    EXPECT_FALSE(app.hlavniOkno()->isVisible());
    EXPECT_TRUE(PrihlasenyUzivatel().isEmpty());

    // With a login the same row gives the main window its caption.
    resetRun();
    prihlas(QStringLiteral("brix"));
    Aplikace znovu(dir.path(), {"brix"});
    ASSERT_TRUE(znovu.spust());
    EXPECT_EQ(znovu.hlavniOkno()->windowTitle(), QStringLiteral("Barvy Kolín"));
    znovu.hlavniOkno()->close();
}

TEST_F(StartTest, FirstStartOnAnEmptyDirectoryLeadsToAWorkingLogin) {
    ui.answerModal(
        [&](QDialog& d) {
            auto& f = static_cast<TFormulPrvniStart&>(d);
            f.EditPrijmeni->setText(QStringLiteral("VEDOUCÍ"));
            f.EditHeslo->setText(QStringLiteral("tajne"));
            f.EditHesloZnovu->setText(QStringLiteral("tajnee"));
            f.ButtonOkClick();
            EXPECT_NE(f.result(), QDialog::Accepted);
            EXPECT_TRUE(zpravy().join('|').contains(QStringLiteral("Zadaná hesla se neshodují")));
            f.EditHesloZnovu->setText(QStringLiteral("tajne"));
            f.ButtonOkClick();
        },
        QStringLiteral("FormulPrvniStart"));
    // Then the own company; it may be left for later.
    ui.answerModal([](QDialog& d) { d.reject(); }, QStringLiteral("FormulUdajeFirmy"));
    prihlas(QStringLiteral("TAJNE"));
    Aplikace app(dir.path(), {"brix"});
    ASSERT_TRUE(app.spust());
    EXPECT_EQ(PrihlasenyUzivatel(), QStringLiteral("VEDOUCÍ"));
    for (const PrikazMenu& p : PrikazyMenu())
        EXPECT_TRUE(app.hlavniOkno()->povolenoPravem(p.id)) << p.id.toStdString();
    // No file was missing on the way: the new data root had its settings before any form.
    EXPECT_EQ(zpravy(),
              QStringList{QStringLiteral("Chyba: Zadaná hesla se neshodují, zadejte je znovu.")});
    // The home currency is there.
    Table meny(*app.databaze(), QStringLiteral("Ciselnik\\Meny"));
    meny.open();
    ASSERT_TRUE(meny.locate(QStringLiteral("KOD_Meny"), {QStringLiteral("CZK")}));
    EXPECT_EQ(meny.field(QStringLiteral("Koef")).asFloat(), 1.0);
    app.hlavniOkno()->close();
}

TEST_F(StartTest, FirstStartAsksForTheOwnCompanyAndTheStatusLineShowsWhoWorksWhere) {
    ui.answerModal(
        [&](QDialog& d) {
            auto& f = static_cast<TFormulPrvniStart&>(d);
            f.EditHeslo->setText(QStringLiteral("abc"));
            f.EditHesloZnovu->setText(QStringLiteral("abc"));
            f.ButtonOkClick(); // too short
            EXPECT_NE(f.result(), QDialog::Accepted);
            f.EditHeslo->setText(QStringLiteral("start"));
            f.EditHesloZnovu->setText(QStringLiteral("start"));
            f.ButtonOkClick();
        },
        QStringLiteral("FormulPrvniStart"));
    ui.answerModal(
        [](QDialog& d) {
            auto& f = static_cast<TFormulUdajeFirmy&>(d);
            f.Pole[0]->setText(QStringLiteral("Barvy Kolín s.r.o."));
            f.ButtonOkClick();
        },
        QStringLiteral("FormulUdajeFirmy"));
    prihlas(QStringLiteral("start"));
    Aplikace app(dir.path(), {"brix"});
    ASSERT_TRUE(app.spust());
    EXPECT_TRUE(zpravy().join('|').contains(QStringLiteral("nejméně 4 znaky")));
    TFormMenu* m = app.hlavniOkno();
    EXPECT_EQ(m->LabelUzivatel->text(), QStringLiteral("Uživatel: SPRAVCE"));
    EXPECT_EQ(m->LabelFirma->text(), QStringLiteral("Firma: Barvy Kolín s.r.o."));
    EXPECT_EQ(m->LabelKoren->text(),
              QStringLiteral("Data: ") + QDir::toNativeSeparators(dir.path()));
    EXPECT_EQ(udajeFirmy().Nazev, QStringLiteral("Barvy Kolín s.r.o."));
    m->close();
}

// Instead of a new administrator the first start takes over the old program's data root: its
// employees log in with their old passwords and its own-company file is the one in use.
TEST_F(StartTest, FirstStartMigratesTheOldDataRootAndItsEmployeeLogsIn) {
    using K = formats::FieldKind;
    QTemporaryDir stary;
    QDir().mkpath(stary.filePath("CISELNIK"));
    QDir().mkpath(stary.filePath("NASTAVEN"));
    formats::ParadoxWriter w;
    ASSERT_TRUE(formats::test::writeAll(
        w, stary.filePath("CISELNIK/ZAMEST.DB"),
        {{"PRIJMENI", K::Text, 20}, {"JMENO", K::Text, 25}, {"Heslo", K::Text, 20}},
        {{QStringLiteral("NOVÁK"), QStringLiteral("Jan"), QStringLiteral("TAJNE")}}));
    ASSERT_TRUE(formats::test::encipherTable(stary.filePath("CISELNIK/ZAMEST.DB"), "418265"));
    ASSERT_TRUE(formats::test::writeAll(w, stary.filePath("NASTAVEN/MODULY.DB"),
                                        {{"Prijmeni", K::Text, 20}, {"Modul", K::Text, 20}},
                                        {{QStringLiteral("NOVÁK"), QStringLiteral("DL")}}));
    ASSERT_TRUE(formats::test::encipherTable(stary.filePath("NASTAVEN/MODULY.DB"), "418265"));
    ASSERT_TRUE(writeTextLines(stary.filePath("NASTAVEN/Nastaven.txt"),
                               {QStringLiteral("Barvy Hořice s.r.o.")}));

    ui.answerModal(
        [&](QDialog& d) {
            auto& f = static_cast<TFormulPrvniStart&>(d);
            EXPECT_EQ(f.ButtonPrevod->text(),
                      QStringLiteral("Převést data ze staré datové složky…"));
            f.ButtonPrevodClick();
        },
        QStringLiteral("FormulPrvniStart"));
    ui.answerFile(stary.path());
    prihlas(QStringLiteral("tajne"));
    Aplikace app(dir.path(), {"brix"});
    ASSERT_TRUE(app.spust());
    EXPECT_EQ(PrihlasenyUzivatel(), QStringLiteral("NOVÁK"));
    EXPECT_TRUE(app.hlavniOkno()->povolenoPravem(prikaz::DodaciList));
    EXPECT_FALSE(app.hlavniOkno()->povolenoPravem(prikaz::Vyrobky));
    EXPECT_EQ(udajeFirmy().Nazev, QStringLiteral("Barvy Hořice s.r.o."));
    EXPECT_TRUE(zpravy().join('|').contains(QStringLiteral("byla převedena")));
    EXPECT_TRUE(QFileInfo::exists(QDir(dir.path()).filePath("migrace.log")));
    app.hlavniOkno()->close();
}

TEST_F(StartTest, CancelledFirstStartEndsTheProgramWithoutAnEmployee) {
    ui.answerModal([](QDialog& d) { d.reject(); }, QStringLiteral("FormulPrvniStart"));
    {
        Aplikace app(dir.path(), {"brix"});
        EXPECT_FALSE(app.spust());
    }
    auto d = Database::open(dir.path());
    Table z(*d, QString::fromUtf16(kTabulkaZamest));
    z.open();
    EXPECT_TRUE(z.isEmpty());
}

TEST_F(StartTest, EmployeeRegisterOpensFromTheMainMenu) {
    demo();
    prihlas(QStringLiteral("prodej")); // Nováková: code lists, but not user management
    Aplikace app(dir.path(), {"brix"});
    ASSERT_TRUE(app.spust());
    ui.answerModal(
        [](QDialog& d) {
            auto& r = static_cast<TFormulZamestGrid&>(d);
            EXPECT_EQ(r.windowTitle(), QStringLiteral("Vstup zaměstnanců a dealerů"));
            EXPECT_EQ(r.DbGrid1->gridModel()->rowCount(), 3);
            EXPECT_FALSE(r.MenuPristupy->isEnabled());
        },
        QStringLiteral("FormulZamestGrid"));
    app.hlavniOkno()->spustPrikaz(prikaz::Zamestnanci);
    EXPECT_FALSE(app.datovyModul()->TableZamest->active());
    ui.answerModal([](QDialog& d) { EXPECT_EQ(d.windowTitle(), QStringLiteral("Číselné řady")); },
                   QStringLiteral("FormulCis_Rada"));
    app.hlavniOkno()->spustPrikaz(prikaz::CiselneRady);
    EXPECT_FALSE(app.datovyModul()->TableCis_Rada->active());
    app.hlavniOkno()->close();
}

TEST_F(StartTest, DemoDataRootHoldsACatalogueWithConsistentStock) {
    const VysledekDema v = VytvorDemo(dir.path());
    ASSERT_TRUE(v.ok);
    EXPECT_GE(v.vyrobku, 200);
    EXPECT_GE(v.firem, 30);
    EXPECT_EQ(v.skladu, 3);
    auto d = Database::open(dir.path());
    // Every product's total stock is the sum of its stock levels in the warehouses.
    QHash<qint64, double> soucty;
    QSet<QString> sklady;
    Table zas(*d, QStringLiteral("Sklady\\SklZas"));
    zas.open();
    int radku = 0;
    for (zas.first(); !zas.eof(); zas.next(), ++radku) {
        soucty[zas.field(QStringLiteral("Cis_Vyr")).asInteger()] +=
            zas.field(QStringLiteral("SklZas_ks")).asDecimal().toDouble();
        sklady.insert(zas.field(QStringLiteral("Cis_Sklad")).asString());
    }
    EXPECT_GT(radku, v.vyrobku);
    EXPECT_EQ(sklady, (QSet<QString>{"1", "2", "3"}));
    Table vyr(*d, QStringLiteral("Ciselnik\\Vyrobky"));
    vyr.open();
    for (vyr.first(); !vyr.eof(); vyr.next()) {
        const qint64 c = vyr.field(QStringLiteral("Cis_vyr")).asInteger();
        EXPECT_DOUBLE_EQ(vyr.field(QStringLiteral("SklZas_Ks")).asDecimal().toDouble(), soucty[c])
            << c;
    }
    // The documented passwords log in.
    TDataCis m(*d);
    EXPECT_EQ(NajdiZamestnancePodleHesla(m, QString::fromUtf16(kDemoHeslo)),
              QString::fromUtf16(kDemoSpravce));
    EXPECT_EQ(NajdiZamestnancePodleHesla(m, QStringLiteral("sklad")), QStringLiteral("DVOŘÁK"));
    // A second demo into the same directory is refused and changes nothing.
    const VysledekDema znovu = VytvorDemo(dir.path());
    EXPECT_FALSE(znovu.ok);
    EXPECT_FALSE(znovu.chyba.isEmpty());
}

TEST_F(StartTest, SettingsSurviveARoundTripThroughTheSettingsForm) {
    otevri();
    {
        TFormulNastaveni f(dir.path());
        f.RadioObjCisla->setChecked(true);
        f.CheckZnTisk->setChecked(false);
        f.CheckZahrMeny->setChecked(true);
        f.EditZaokrCen->setText(QStringLiteral("0,05"));
        f.EditDLPocet->setText(QStringLiteral("3"));
        f.EditDLVar->setText(QStringLiteral("B"));
        f.ButtonOkClick();
        EXPECT_EQ(f.result(), QDialog::Accepted);
    }
    EXPECT_FALSE(nastaveniProgramu().ZnTisk);
    nastaveniProgramu() = NastaveniProgramu();
    TFormulNastaveni znovu(dir.path());
    EXPECT_TRUE(znovu.RadioObjCisla->isChecked());
    EXPECT_FALSE(znovu.RadioCislaVyrobku->isChecked());
    EXPECT_FALSE(znovu.CheckZnTisk->isChecked());
    EXPECT_TRUE(znovu.CheckZahrMeny->isChecked());
    EXPECT_EQ(znovu.EditDLPocet->text(), QStringLiteral("3"));
    EXPECT_EQ(znovu.EditDLVar->text(), QStringLiteral("B"));
    const NastaveniProgramu& n = nastaveniProgramu();
    EXPECT_EQ(n.HlKlicVyr.toUpper(), QStringLiteral("OBJCIS"));
    EXPECT_FALSE(n.hledaniDleCislaVyrobku());
    EXPECT_FALSE(n.ZnTisk);
    EXPECT_TRUE(n.ZahrMeny);
    EXPECT_EQ(n.ZaokrCen, Decimal::fromRaw(500));
    EXPECT_EQ(n.DL_POCET_TISKU, 3);
    EXPECT_EQ(n.DLVar, QStringLiteral("B"));
}

} // namespace

namespace {

TEST_F(StartTest, AboutBoxIsAlwaysAWindowOfItsOwn) {
    TFormMenu menu;
    TAboutBox about(&menu);
    EXPECT_TRUE(about.isWindow());
    about.nastavSplash(true);
    EXPECT_TRUE(about.isWindow());
    EXPECT_EQ(about.windowType(), Qt::SplashScreen);
    EXPECT_EQ(about.height(), 180);
    EXPECT_TRUE(about.OKButton->isHidden());
    // Back from the splash it is a dialog again, never a child drawn inside the main window.
    about.nastavSplash(false);
    EXPECT_TRUE(about.isWindow());
    EXPECT_EQ(about.windowType(), Qt::Dialog);
    EXPECT_EQ(about.height(), 240);
    EXPECT_FALSE(about.OKButton->isHidden());
}

} // namespace

namespace {

TEST_F(StartTest, CopyCountsTheOwnCompanysShapesAndSeriesCodesAreCheckedWhereTyped) {
    ui.setOkBoxesAnswered(false);
    otevri();
    {
        TFormulNastaveni f(dir.path());
        f.EditDLPocet->setText(QStringLiteral("0"));
        ui.answer(Button::Ok, QStringLiteral("není v rozsahu 1 až 999"), caption::Chyba);
        f.ButtonOkClick();
        EXPECT_NE(f.result(), QDialog::Accepted);
        f.EditDLPocet->setText(QString());
        ui.answer(Button::Ok, QStringLiteral("Zadejte počet kopií"), caption::Chyba);
        f.ButtonOkClick();
        EXPECT_NE(f.result(), QDialog::Accepted);
        f.EditDLPocet->setText(QStringLiteral("2"));
        f.ButtonOkClick();
        EXPECT_EQ(f.result(), QDialog::Accepted);
        EXPECT_EQ(nastaveniProgramu().DL_POCET_TISKU, 2);
    }
    {
        TFormulUdajeFirmy f(dir.path());
        f.Pole[4]->setText(QStringLiteral("280 0"));
        ui.answer(Button::Ok, QStringLiteral("PSČ \"280 0\" musí mít pět číslic"), caption::Chyba);
        f.ButtonOkClick();
        EXPECT_NE(f.result(), QDialog::Accepted);
        f.Pole[4]->setText(QStringLiteral("280 02"));
        f.Pole[5]->setText(QStringLiteral("1234"));
        ui.answer(Button::Ok, QStringLiteral("IČO \"1234\" musí mít osm číslic"), caption::Chyba);
        f.ButtonOkClick();
        EXPECT_NE(f.result(), QDialog::Accepted);
        f.Pole[5]->setText(QStringLiteral("00006947"));
        f.ButtonOkClick();
        EXPECT_EQ(f.result(), QDialog::Accepted);
        EXPECT_EQ(udajeFirmy().ICO, QStringLiteral("00006947"));
    }
    TFormulCis_Rada rady(*dm);
    EXPECT_TRUE(rady.EditCis_Rada->upperCase());
    auto* form = rady.entryArea()->findChild<QFormLayout*>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(qobject_cast<QLabel*>(form->labelForField(rady.EditCis_Rada))->text(),
              QStringLiteral("Číselná řada"));
}

} // namespace
