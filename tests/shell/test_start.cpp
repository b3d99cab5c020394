// The run of the program: start-up on a data root, the login at the first showing of the main
// window, the commands the rights enable, the first start, the demo data root and the settings.
#include "aplikace.h"
#include "demo.h"
#include "formats/paradox.h"
#include "hlavni_okno.h"
#include "nastaveni_form.h"
#include "prihlaseni_dlg.h"
#include "prikazy.h"
#include "shell_fixture.h"
#include "tools_test_util.h"
#include "util/nastaveni.h"
#include "zamestnanci.h"

#include <QAction>
#include <QCheckBox>
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
    prihlas(QStringLiteral("TAJNE"));
    Aplikace app(dir.path(), {"brix"});
    ASSERT_TRUE(app.spust());
    EXPECT_EQ(PrihlasenyUzivatel(), QStringLiteral("VEDOUCÍ"));
    for (const PrikazMenu& p : PrikazyMenu())
        EXPECT_TRUE(app.hlavniOkno()->povolenoPravem(p.id)) << p.id.toStdString();
    app.hlavniOkno()->close();
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
