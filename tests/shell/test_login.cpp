// Login, passwords, employees and their access rights, through the data module's shared tables
// and the forms of the employee register.
#include "cis_rada_form.h"
#include "cisla_uctu.h"
#include "cisla_uctu_form.h"
#include "editbox.h"
#include "prihlaseni_dlg.h"
#include "prikazy.h"
#include "sestava.h"
#include "shell_fixture.h"
#include "vstup/register_tools.h"
#include "vstup/tisk_seznamu.h"
#include "zamestnanci.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

using namespace brix;
using namespace brix::test;

namespace {

[[maybe_unused]] testing::Environment* const qtEnv =
    testing::AddGlobalTestEnvironment(new QtEnvironment);

class LoginTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        otevri();
        ASSERT_TRUE(pridejZamestnance(QStringLiteral("NOVÁKOVÁ"), QStringLiteral("prodej")));
        ASSERT_TRUE(pridejZamestnance(QStringLiteral("DVOŘÁK"), QStringLiteral("Sklad")));
        UlozPrava(*dm, QStringLiteral("NOVÁKOVÁ"),
                  {QStringLiteral("KASA"), QStringLiteral("DL"), QStringLiteral("CISELNIK")});
        UlozPrava(*dm, QStringLiteral("DVOŘÁK"), {QStringLiteral("INT_UCTY")});
        dm->TableZamest->close();
    }
    // Positions the shared employee table on the surname.
    void naZamestnance(const QString& prijmeni) {
        Table& z = *dm->TableZamest;
        if (!z.active()) z.open();
        ASSERT_TRUE(z.locate(QStringLiteral("PRIJMENI"), {prijmeni}));
    }
    QString ulozenyHash(const QString& prijmeni) {
        Table z(*db, QString::fromUtf16(kTabulkaZamest));
        z.open();
        EXPECT_TRUE(z.locate(QStringLiteral("PRIJMENI"), {prijmeni}));
        return z.field(QStringLiteral("HesloHash")).asString();
    }
};

TEST_F(LoginTest, PasswordIsCaseInsensitiveAndWrongOrEmptyPasswordsLogNobodyIn) {
    EXPECT_EQ(NajdiZamestnancePodleHesla(*dm, QStringLiteral("PRODEJ")),
              QStringLiteral("NOVÁKOVÁ"));
    EXPECT_EQ(NajdiZamestnancePodleHesla(*dm, QStringLiteral("sklad")), QStringLiteral("DVOŘÁK"));
    EXPECT_EQ(NajdiZamestnancePodleHesla(*dm, QStringLiteral("prodejx")), std::nullopt);
    EXPECT_EQ(NajdiZamestnancePodleHesla(*dm, QString()), std::nullopt);
    // An employee without a password is no way in for an empty password either.
    ASSERT_TRUE(pridejZamestnance(QStringLiteral("HOST"), QString()));
    dm->TableZamest->close();
    EXPECT_EQ(NajdiZamestnancePodleHesla(*dm, QString()), std::nullopt);
    // Nothing in the table holds a password in readable form.
    EXPECT_FALSE(ulozenyHash(QStringLiteral("NOVÁKOVÁ")).contains(QStringLiteral("PRODEJ")));
    EXPECT_TRUE(JeHashHesla(ulozenyHash(QStringLiteral("NOVÁKOVÁ"))));
    // The search left the shared table as it found it: closed.
    EXPECT_FALSE(dm->TableZamest->active());
}

TEST_F(LoginTest, LoginDialogRefusesAWrongPasswordAndAcceptsTheRightOneInAnyCase) {
    TPasswordDlg dlg(*dm);
    dlg.Password->setText(QStringLiteral("spatne"));
    ui.answer(Button::Ok, QStringLiteral("Zadané heslo neexistuje"), QStringLiteral("Chyba"));
    dlg.OKBtnClick();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_TRUE(PrihlasenyUzivatel().isEmpty());
    dlg.Password->setText(QString());
    ui.answer(Button::Ok, QStringLiteral("Zadané heslo neexistuje"));
    dlg.OKBtnClick();
    EXPECT_TRUE(PrihlasenyUzivatel().isEmpty());

    dlg.Password->setText(QStringLiteral("prodej"));
    dlg.OKBtnClick();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(PrihlasenyUzivatel(), QStringLiteral("NOVÁKOVÁ"));
    EXPECT_EQ(dlg.moduly(), (QSet<QString>{"KASA", "DL", "CISELNIK"}));
}

TEST_F(LoginTest, LegacyPlainPasswordLogsInAndIsReplacedByItsHash) {
    {
        Table z(*db, QString::fromUtf16(kTabulkaZamest));
        z.open();
        z.insert();
        z.field(QStringLiteral("PRIJMENI")).setString(QStringLiteral("STARÝ"));
        z.field(QStringLiteral("Heslo")).setString(QStringLiteral("PUVODNI"));
        z.post();
    }
    EXPECT_EQ(NajdiZamestnancePodleHesla(*dm, QStringLiteral("puvodni")), QStringLiteral("STARÝ"));
    Table z(*db, QString::fromUtf16(kTabulkaZamest));
    z.open();
    ASSERT_TRUE(z.locate(QStringLiteral("PRIJMENI"), {QStringLiteral("STARÝ")}));
    EXPECT_TRUE(z.field(QStringLiteral("Heslo")).asString().isEmpty());
    EXPECT_TRUE(
        OverHeslo(QStringLiteral("Puvodni"), z.field(QStringLiteral("HesloHash")).asString()));
    // And it still logs in afterwards, now through the hash.
    EXPECT_EQ(NajdiZamestnancePodleHesla(*dm, QStringLiteral("PUVODNI")), QStringLiteral("STARÝ"));
}

TEST_F(LoginTest, RightsAreStoredPerSurnameAndFapEnablesNoCommand) {
    UlozPrava(*dm, QStringLiteral("dvořák"), {QStringLiteral("FAP"), QStringLiteral("NEZNAMY")});
    // Stored under the surname in upper case; a code outside the form's list is dropped.
    EXPECT_EQ(NactiPrava(*dm, QStringLiteral("DVOŘÁK")), QSet<QString>{"FAP"});
    EXPECT_TRUE(PrikazyPovolenePravy({QStringLiteral("FAP")}).isEmpty());
    // The other employee's rights are untouched.
    EXPECT_EQ(NactiPrava(*dm, QStringLiteral("NOVÁKOVÁ")).size(), 3);
    // An apostrophe in a surname is a letter, not a way into the filter.
    UlozPrava(*dm, QStringLiteral("O'NEIL"), {QStringLiteral("DL")});
    EXPECT_EQ(NactiPrava(*dm, QStringLiteral("O'NEIL")), QSet<QString>{"DL"});
    EXPECT_EQ(NactiPrava(*dm, QStringLiteral("NOVÁKOVÁ")).size(), 3);
    EXPECT_FALSE(dm->TableModul->active());
}

TEST_F(LoginTest, AccessRightsFormShowsAndSavesTheCurrentEmployeesRights) {
    naZamestnance(QStringLiteral("NOVÁKOVÁ"));
    TFormulZamestPristup f(*dm);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Přístupy"));
    f.box(QStringLiteral("SERVIS"))->setChecked(true); // cleared when the form loads
    f.nacti();
    EXPECT_EQ(f.prijmeni(), QStringLiteral("NOVÁKOVÁ"));
    EXPECT_TRUE(f.box(QStringLiteral("KASA"))->isChecked());
    EXPECT_FALSE(f.box(QStringLiteral("SERVIS"))->isChecked());
    EXPECT_EQ(f.box(QStringLiteral("FAP"))->text(), QStringLiteral("Faktura přijatá"));

    f.box(QStringLiteral("FAP"))->setChecked(true);
    f.box(QStringLiteral("KASA"))->setChecked(false);
    f.ButtonOkClick();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(NactiPrava(*dm, QStringLiteral("NOVÁKOVÁ")),
              (QSet<QString>{"DL", "CISELNIK", "FAP"}));

    // Saving with no box checked removes every right of the employee, and only hers.
    f.nacti();
    for (const ModulPrava& m : ModulyPrav())
        f.box(m.kod)->setChecked(false);
    f.ButtonOkClick();
    EXPECT_TRUE(NactiPrava(*dm, QStringLiteral("NOVÁKOVÁ")).isEmpty());
    EXPECT_EQ(NactiPrava(*dm, QStringLiteral("DVOŘÁK")), QSet<QString>{"INT_UCTY"});
}

TEST_F(LoginTest, AccessRightsCommandNeedsTheManagersRight) {
    TFormulZamestGrid bezPrava(*dm, false);
    EXPECT_FALSE(bezPrava.MenuPristupy->isEnabled());
    EXPECT_EQ(bezPrava.MenuFunkce->title(), QStringLiteral("F&unkce"));
    bezPrava.openRegister();
    bezPrava.PristupyClick(); // no form: the script has no answer for one
    bezPrava.closeRegister();

    TFormulZamestGrid spravce(*dm, true);
    spravce.openRegister();
    ASSERT_TRUE(dm->TableZamest->locate(QStringLiteral("PRIJMENI"), {QStringLiteral("DVOŘÁK")}));
    ui.answerModal(
        [](QDialog& d) {
            auto& f = static_cast<TFormulZamestPristup&>(d);
            EXPECT_TRUE(f.box(QStringLiteral("INT_UCTY"))->isChecked());
            f.box(QStringLiteral("SPRAVCE"))->setChecked(true);
            f.ButtonOkClick();
        },
        QStringLiteral("FormulZamestPristup"));
    spravce.PristupyClick();
    spravce.closeRegister();
    EXPECT_EQ(NactiPrava(*dm, QStringLiteral("DVOŘÁK")), (QSet<QString>{"INT_UCTY", "SPRAVCE"}));
}

TEST_F(LoginTest, RegisterOpensInSurnameOrderAndClosesItsTable) {
    TFormulZamestGrid reg(*dm, true);
    EXPECT_EQ(reg.windowTitle(), QStringLiteral("Vstup zaměstnanců a dealerů"));
    reg.openRegister();
    EXPECT_EQ(dm->TableZamest->indexFields().value(0).toUpper(), QStringLiteral("PRIJMENI"));
    dm->TableZamest->first();
    EXPECT_EQ(dm->TableZamest->field(QStringLiteral("PRIJMENI")).asString(),
              QStringLiteral("DVOŘÁK"));
    EXPECT_EQ(reg.DbGrid1->gridModel()->rowCount(), 2);
    reg.closeRegister();
    EXPECT_FALSE(dm->TableZamest->active());
    // It can be opened again in the same run.
    reg.openRegister();
    EXPECT_TRUE(dm->TableZamest->active());
    reg.closeRegister();
}

TEST_F(LoginTest, NewEmployeeThroughTheEntryFormAndADuplicatePasswordRefused) {
    TFormulZamestGrid reg(*dm, true);
    reg.openRegister();
    ui.answerModal(
        [&](QDialog& d) {
            auto& f = static_cast<TFormulZamestVstup&>(d);
            EXPECT_EQ(f.PageControl->tabText(0), QStringLiteral("Vstup"));
            EXPECT_EQ(f.EditHeslo->echoMode(), QLineEdit::Password);
            f.EditPrijmeni->setText(QStringLiteral("KOVÁŘ"));
            f.EditJmeno->setText(QStringLiteral("Jan"));
            f.EditProvize->setText(QStringLiteral("2,5"));
            f.EditHeslo->setText(QStringLiteral("PRODEJ")); // Nováková's
            // Refused without saying that somebody else has it.
            ui.answer(Button::Ok, QStringLiteral("Toto heslo nelze použít, zadejte jiné heslo."),
                      QStringLiteral("Chyba"));
            f.ButtonOkClick();
            EXPECT_NE(f.result(), QDialog::Accepted);
            EXPECT_EQ(dm->TableZamest->state(), TableState::Insert); // nothing lost
            f.EditHeslo->setText(QStringLiteral("kovar"));
            f.ButtonOkClick();
        },
        QStringLiteral("FormulZamestVstup"));
    reg.NovyClick();
    EXPECT_EQ(dm->TableZamest->state(), TableState::Browse);
    reg.closeRegister();
    EXPECT_EQ(NajdiZamestnancePodleHesla(*dm, QStringLiteral("KOVAR")), QStringLiteral("KOVÁŘ"));
    EXPECT_EQ(NajdiZamestnancePodleHesla(*dm, QStringLiteral("prodej")),
              QStringLiteral("NOVÁKOVÁ"));
}

TEST_F(LoginTest, EditingKeepsAnUntypedPasswordAndRenamingMovesTheRights) {
    TFormulZamestGrid reg(*dm, true);
    reg.openRegister();
    ASSERT_TRUE(dm->TableZamest->locate(QStringLiteral("PRIJMENI"), {QStringLiteral("NOVÁKOVÁ")}));
    const QString hash = ulozenyHash(QStringLiteral("NOVÁKOVÁ"));
    ui.answerModal(
        [](QDialog& d) {
            auto& f = static_cast<TFormulZamestVstup&>(d);
            EXPECT_EQ(f.EditPrijmeni->text(), QStringLiteral("NOVÁKOVÁ"));
            EXPECT_TRUE(f.EditHeslo->text().isEmpty()); // the stored password is not shown
            f.EditPrijmeni->setText(QStringLiteral("SVOBODOVÁ"));
            f.ButtonOkClick();
        },
        QStringLiteral("FormulZamestVstup"));
    reg.OpravaClick();
    reg.closeRegister();
    EXPECT_EQ(ulozenyHash(QStringLiteral("SVOBODOVÁ")), hash);
    EXPECT_EQ(NajdiZamestnancePodleHesla(*dm, QStringLiteral("prodej")),
              QStringLiteral("SVOBODOVÁ"));
    EXPECT_EQ(NactiPrava(*dm, QStringLiteral("SVOBODOVÁ")),
              (QSet<QString>{"KASA", "DL", "CISELNIK"}));
    EXPECT_TRUE(NactiPrava(*dm, QStringLiteral("NOVÁKOVÁ")).isEmpty());
}

TEST_F(LoginTest, CancelledEntryAndDeletedEmployee) {
    TFormulZamestGrid reg(*dm, true);
    reg.openRegister();
    ASSERT_TRUE(dm->TableZamest->locate(QStringLiteral("PRIJMENI"), {QStringLiteral("DVOŘÁK")}));
    ui.answerModal(
        [&](QDialog& d) {
            auto& f = static_cast<TFormulZamestVstup&>(d);
            f.EditPrijmeni->setText(QStringLiteral("JINÝ"));
            ui.answer(Button::Yes, QStringLiteral("Chceš opravdu skončit bez záznamu?"),
                      QStringLiteral("Dotaz"));
            f.ButtonZrusClick();
        },
        QStringLiteral("FormulZamestVstup"));
    reg.OpravaClick();
    EXPECT_EQ(dm->TableZamest->state(), TableState::Browse);
    EXPECT_EQ(dm->TableZamest->field(QStringLiteral("PRIJMENI")).asString(),
              QStringLiteral("DVOŘÁK"));

    ui.answer(Button::Yes, QStringLiteral("Chceš opravdu smazat větu ?"), QStringLiteral("Dotaz"));
    reg.SmazatClick();
    reg.closeRegister();
    EXPECT_EQ(NajdiZamestnancePodleHesla(*dm, QStringLiteral("sklad")), std::nullopt);
    EXPECT_TRUE(NactiPrava(*dm, QStringLiteral("DVOŘÁK")).isEmpty());
    EXPECT_EQ(NactiPrava(*dm, QStringLiteral("NOVÁKOVÁ")).size(), 3);
}

TEST_F(LoginTest, SameSurnameAndNameIsRefusedWithTheTablesMessage) {
    TFormulZamestGrid reg(*dm, true);
    reg.openRegister();
    ui.answerModal(
        [&](QDialog& d) {
            auto& f = static_cast<TFormulZamestVstup&>(d);
            f.EditPrijmeni->setText(QStringLiteral("DVOŘÁK"));
            ui.answer(Button::Yes, QStringLiteral("s příjmením DVOŘÁK"), QStringLiteral("Dotaz"));
            ui.answer(Button::Ok, QStringLiteral("Zaměstnanec s tímto jménem a příjmením"));
            f.ButtonOkClick();
            EXPECT_EQ(dm->TableZamest->state(), TableState::Insert);
            ui.answer(Button::Yes, QStringLiteral("bez záznamu?"));
            f.ButtonZrusClick();
        },
        QStringLiteral("FormulZamestVstup"));
    reg.NovyClick();
    reg.closeRegister();
}

TEST_F(LoginTest, ListPrintsAndPrintManagerNameTheirTemplates) {
    QStringList tisky;
    TFormulZamestGrid reg(*dm, true);
    reg.hooks().print = [&](RegisterForm&, const QString& p) { tisky << p; };
    reg.hooks().printManager = [&](RegisterForm&, const QString& d, const QString& p) {
        tisky << d + p;
    };
    reg.openRegister();
    reg.tiskItem(0);
    reg.tiskovySpravceClick();
    reg.closeRegister();

    TFormulCis_Rada rady(*dm);
    rady.hooks().print = [&](RegisterForm&, const QString& p) { tisky << p; };
    rady.openRegister();
    rady.tiskItem(0);
    nastaveniProgramu().ZnTisk = false;
    rady.tiskItem(0);
    rady.closeRegister();
    EXPECT_EQ(tisky, (QStringList{"ciselnik\\ZamestSeznz.pts", "Ciselnik\\PrZam_",
                                  "ciselnik\\CisRadaSeznZ.pts", "ciselnik\\CisRadaSezn.pts"}));
}

TEST_F(LoginTest, NumberSeriesRegisterKeepsARefusedSeriesInEdit) {
    TFormulCis_Rada reg(*dm);
    EXPECT_EQ(reg.windowTitle(), QStringLiteral("Číselné řady"));
    EXPECT_EQ(reg.MenuHledej->title(), QStringLiteral("&Hledat"));
    reg.openRegister();
    reg.NovyClick();
    reg.EditCis_Rada->setText(QStringLiteral("BA"));
    reg.EditPopis->setText(QStringLiteral("Barvy"));
    reg.EditPrvni_Cis->setText(QStringLiteral("5000"));
    reg.ButtonOkClick();
    EXPECT_FALSE(reg.entryShown());
    EXPECT_EQ(dm->TableCis_Rada->recordCount(), 1);

    reg.NovyClick();
    reg.EditCis_Rada->setText(QStringLiteral("BA"));
    ui.answer(Button::Ok, QStringLiteral("Položka s tímto označením řady"));
    reg.ButtonOkClick(); // refused by the key rule, not a crash
    EXPECT_TRUE(reg.entryShown());
    EXPECT_EQ(dm->TableCis_Rada->state(), TableState::Insert);
    reg.EditCis_Rada->setText(QStringLiteral("RE"));
    reg.ButtonOkClick();
    EXPECT_FALSE(reg.entryShown());
    reg.closeRegister();
    EXPECT_FALSE(dm->TableCis_Rada->active());
    Table t(*db, QStringLiteral("Ciselnik\\Cis_rada"));
    t.open();
    ASSERT_TRUE(t.findKey({QStringLiteral("BA")}));
    EXPECT_EQ(t.field(QStringLiteral("Prvni_Cis")).asInteger(), 5000);
    EXPECT_TRUE(t.findKey({QStringLiteral("RE")}));
}

TEST(Verbose, OnlyTheFirstArgumentSpelledVerboseInAnyCase) {
    EXPECT_TRUE(JeVerbose({"brix", "VERBOSE"}));
    EXPECT_TRUE(JeVerbose({"brix", "Verbose"}));
    EXPECT_FALSE(JeVerbose({"brix", "verbosex"}));
    EXPECT_FALSE(JeVerbose({"brix", "x", "verbose"}));
    EXPECT_FALSE(JeVerbose({"brix"}));
}

} // namespace

namespace {

TEST_F(LoginTest, ListReportFindsItsTemplateUnderTheDataRootAndCarriesTheOwnCompany) {
    // The new data root has the list template; the name the register gives finds it whatever
    // its spelling.
    const QString soubor = QDir(dir.path()).filePath(QStringLiteral("Ciselnik/ZamestSeznz.pts"));
    ASSERT_TRUE(QFileInfo(soubor).isFile());
    udajeFirmy().Nazev = QStringLiteral("Barvy Laky Kolín s.r.o.");
    TiskSeznamu tisk(*dm->TableZamest, QStringLiteral("\\CISELNIK\\zamestSEZNZ.pts"));
    report::TSestava& s = tisk.sestava();
    EXPECT_EQ(QFileInfo(s.fullFileName()).canonicalFilePath(),
              QFileInfo(soubor).canonicalFilePath());
    ASSERT_FALSE(s.Parametry.isEmpty());
    EXPECT_EQ(s.Parametry.front(), QStringLiteral("Barvy Laky Kolín s.r.o."));

    // The program's print hook tells the user when the report cannot run.
    InstalujNastrojeRegistru();
    TFormulZamestGrid reg(*dm, true);
    reg.openRegister();
    ui.answer(Button::Ok, QStringLiteral("ciselnik\\ZamestSeznz.pts"), QStringLiteral("Chyba"));
    reg.tiskItem(0);
    reg.closeRegister();
    RegisterHooks::global() = RegisterHooks();
}

} // namespace

namespace {

TEST_F(LoginTest, EntryFormRefusesABlankSurnameShowsHintsAndSavesOnF6) {
    TFormulZamestGrid reg(*dm, true);
    reg.openRegister();
    ui.answerModal(
        [&](QDialog& d) {
            auto& f = static_cast<TFormulZamestVstup&>(d);
            f.EditJmeno->setText(QStringLiteral("Bez příjmení"));
            f.EditHeslo->setText(QStringLiteral("nikdo"));
            ui.answer(Button::Ok, QStringLiteral("Zadejte příjmení zaměstnance"),
                      QStringLiteral("Chyba"));
            f.ButtonOkClick();
            EXPECT_EQ(dm->TableZamest->state(), TableState::Insert);
            f.EditHeslo->setFocus();
            QApplication::processEvents();
            EXPECT_EQ(f.StatusBar1->panelText(0),
                      QStringLiteral("Heslo je kódované, pod tímto se zaměstnanec přihlašuje do "
                                     "systému "));
            f.EditPrijmeni->setText(QStringLiteral("MALÁ"));
            QKeyEvent f6(QEvent::KeyPress, Qt::Key_F6, Qt::NoModifier);
            QApplication::sendEvent(f.EditPrijmeni->lineEdit(), &f6);
            EXPECT_EQ(f.result(), QDialog::Accepted);
        },
        QStringLiteral("FormulZamestVstup"));
    reg.NovyClick();
    reg.closeRegister();
    EXPECT_EQ(NajdiZamestnancePodleHesla(*dm, QStringLiteral("NIKDO")), QStringLiteral("MALÁ"));
}

} // namespace

namespace {

TEST_F(LoginTest, FirstNumbersFormWritesTheNineSeriesThroughTheSharedTable) {
    {
        Table t(*db, QString::fromUtf16(kTabulkaCisUctu));
        t.open();
        ASSERT_TRUE(t.findKey({QStringLiteral("FZ")}));
        t.remove(); // a missing row is created on saving
        ASSERT_TRUE(t.findKey({QStringLiteral("DL")}));
        t.edit();
        t.field(QStringLiteral("PrvCis")).setInteger(100);
        t.post();
    }
    TFormulCisUctu f(*dm);
    ui.answerModal(
        [&](QDialog& d) {
            auto& form = static_cast<TFormulCisUctu&>(d);
            EXPECT_EQ(form.pole(QStringLiteral("DL"))->text(), QStringLiteral("100"));
            form.pole(QStringLiteral("FV"))->setText(QStringLiteral("2500"));
            // A missing or a zero first number is refused and nothing is written.
            form.pole(QStringLiteral("FZ"))->setText(QString());
            ui.answer(Button::Ok, QStringLiteral("Zadejte první číslo pro Zálohová faktura"),
                      QStringLiteral("Chyba"));
            form.ButtonOkClick();
            EXPECT_NE(form.result(), QDialog::Accepted);
            EXPECT_FALSE(NactiPrvniCisla(*dm).contains(QStringLiteral("FZ")));
            form.pole(QStringLiteral("FZ"))->setText(QStringLiteral("0"));
            ui.answer(Button::Ok, QStringLiteral("není v rozsahu 1 až"), QStringLiteral("Chyba"));
            form.ButtonOkClick();
            EXPECT_NE(form.result(), QDialog::Accepted);
            form.pole(QStringLiteral("FZ"))->setText(QStringLiteral("7"));
            form.ButtonOkClick();
        },
        QStringLiteral("FormulCisUctu"));
    EXPECT_EQ(Platform::current().execModal(f), QDialog::Accepted);
    EXPECT_FALSE(dm->TableCisUctu->active()); // closed with the form
    const QMap<QString, qint64> c = NactiPrvniCisla(*dm);
    EXPECT_EQ(c.value(QStringLiteral("DL")), 100);
    EXPECT_EQ(c.value(QStringLiteral("FV")), 2500);
    ASSERT_TRUE(c.contains(QStringLiteral("FZ")));
    EXPECT_EQ(c.value(QStringLiteral("FZ")), 7);
    EXPECT_EQ(TFormulCisUctu::sablonaSeznamu(), QStringLiteral("ciselnik\\CisUctuSeznZ.pts"));
}

} // namespace

namespace {

TEST_F(LoginTest, RegisterFilterAndExportOpenTheirDialogsOnTheSharedTable) {
    InstalujNastrojeRegistru();
    TFormulZamestGrid reg(*dm, true);
    reg.openRegister();
    QString tabulka;
    ui.answerModal([&](QDialog& d) {
        tabulka = d.objectName() + QLatin1Char(' ') + d.metaObject()->className();
        d.reject();
    });
    reg.filtrClick();
    EXPECT_TRUE(tabulka.contains(QStringLiteral("Filter"), Qt::CaseInsensitive))
        << tabulka.toStdString();
    EXPECT_FALSE(dm->TableZamest->filtered());
    tabulka.clear();
    ui.answerModal([&](QDialog& d) {
        tabulka = d.metaObject()->className();
        d.reject();
    });
    reg.exportClick();
    EXPECT_EQ(tabulka, QStringLiteral("brix::TFormulExportDat"));
    reg.closeRegister();
    RegisterHooks::global() = RegisterHooks();
}

} // namespace
