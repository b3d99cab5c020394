// Rights that hold: without SPRAVCE an employee changes only his own record, the last
// administrator keeps his right, a surname that carries rights is not taken unawares, and
// passwords have at least four characters.
#include "prihlaseni_dlg.h"
#include "prikazy.h"
#include "shell_fixture.h"
#include "zamestnanci.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace brix;
using namespace brix::test;

namespace {

class PravaTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        otevri();
        ASSERT_TRUE(pridejZamestnance("SPRÁVCOVÁ", "tajne1", "Eva"));
        ASSERT_TRUE(pridejZamestnance("NOVÁKOVÁ", "prodej", "Jana"));
        ASSERT_TRUE(pridejZamestnance("DVOŘÁK", "sklad1", "Petr"));
        UlozPrava(*dm, "SPRÁVCOVÁ", {"CISELNIK", kPravoSpravce});
        UlozPrava(*dm, "NOVÁKOVÁ", {"CISELNIK", "KASA"});
        dm->TableZamest->close();
    }
    void prihlasen(const QString& prijmeni, const QString& jmeno) {
        PrihlasenyUzivatel() = prijmeni;
        PrihlasenyJmeno() = jmeno;
    }
    void na(const QString& prijmeni) {
        ASSERT_TRUE(dm->TableZamest->locate("PRIJMENI", {prijmeni}));
    }
    QString jmenoZaznamu(const QString& prijmeni) {
        Table z(*db, QString::fromUtf16(kTabulkaZamest));
        z.open();
        return z.locate("PRIJMENI", {prijmeni}) ? z.field("JMENO").asString() : QString();
    }
};

TEST_F(PravaTest, AClerkIsRefusedOnAnothersRecordAndMayChangeHisOwnAndHisPassword) {
    prihlasen("NOVÁKOVÁ", "Jana");
    TFormulZamestGrid reg(*dm, false);
    reg.openRegister();
    EXPECT_FALSE(reg.MenuPristupy->isEnabled());

    ui.answer(Button::Ok, "Nového zaměstnance může zapsat jen správce uživatelů", caption::Chyba);
    reg.NovyClick();
    EXPECT_EQ(dm->TableZamest->state(), TableState::Browse);
    // The administrator's record: no entry form, so no new password for it.
    na("SPRÁVCOVÁ");
    ui.answer(Button::Ok, "Opravit lze jen vlastní záznam", caption::Chyba);
    reg.OpravaClick();
    EXPECT_EQ(dm->TableZamest->state(), TableState::Browse);
    ui.answer(Button::Ok, "Zaměstnance může smazat jen správce uživatelů", caption::Chyba);
    reg.SmazatClick();
    EXPECT_EQ(dm->TableZamest->recordCount(), 3);

    // Her own record: a new password, and a surname that carries nobody's rights.
    na("NOVÁKOVÁ");
    ui.answerModal(
        [&](QDialog& d) {
            auto& f = static_cast<TFormulZamestVstup&>(d);
            // The administrator's surname would bring the administrator's rights.
            f.EditPrijmeni->setText("SPRÁVCOVÁ");
            ui.answer(Button::Ok, "může zaměstnanci dát jen správce uživatelů", caption::Chyba);
            f.ButtonOkClick();
            EXPECT_EQ(dm->TableZamest->state(), TableState::Edit);
            f.EditPrijmeni->setText("SVOBODOVÁ");
            f.EditHeslo->setText("nove-heslo");
            f.ButtonOkClick();
            EXPECT_EQ(f.result(), QDialog::Accepted);
        },
        "FormulZamestVstup");
    reg.OpravaClick();
    reg.closeRegister();
    EXPECT_EQ(NajdiZamestnancePodleHesla(*dm, "NOVE-HESLO"), QStringLiteral("SVOBODOVÁ"));
    EXPECT_EQ(NactiPrava(*dm, "SVOBODOVÁ"), (QSet<QString>{"CISELNIK", "KASA"}));
    EXPECT_EQ(NactiPrava(*dm, "SPRÁVCOVÁ"), (QSet<QString>{"CISELNIK", kPravoSpravce}));
    EXPECT_EQ(PrihlasenyUzivatel(), "SVOBODOVÁ"); // the run follows her new surname
    EXPECT_EQ(NajdiZamestnancePodleHesla(*dm, "tajne1"), QStringLiteral("SPRÁVCOVÁ"));
}

TEST_F(PravaTest, TheLastAdministratorKeepsTheRightAndNobodyDeletesHimselfOrHer) {
    prihlasen("SPRÁVCOVÁ", "Eva");
    TFormulZamestGrid reg(*dm, true);
    reg.openRegister();
    na("SPRÁVCOVÁ");
    // Deleting the logged-in employee, who is also the last administrator.
    ui.answer(Button::Ok, "Přihlášeného zaměstnance nelze smazat", caption::Chyba);
    reg.SmazatClick();
    // Unticking the right in "Přístupy".
    ui.answerModal(
        [&](QDialog& d) {
            auto& f = static_cast<TFormulZamestPristup&>(d);
            f.box(kPravoSpravce)->setChecked(false);
            ui.answer(Button::Ok, "nelze odebrat poslednímu správci", caption::Chyba);
            f.ButtonOkClick();
            EXPECT_NE(f.result(), QDialog::Accepted);
            f.box("SERVIS")->setChecked(true);
            f.box(kPravoSpravce)->setChecked(true);
            f.ButtonOkClick();
            EXPECT_EQ(f.result(), QDialog::Accepted);
        },
        "FormulZamestPristup");
    reg.PristupyClick();
    EXPECT_TRUE(NactiPrava(*dm, "SPRÁVCOVÁ").contains(kPravoSpravce));
    EXPECT_TRUE(NactiPrava(*dm, "SPRÁVCOVÁ").contains("SERVIS"));

    // Logged in as somebody else, the last administrator still cannot be deleted.
    prihlasen("DVOŘÁK", "Petr");
    na("SPRÁVCOVÁ");
    ui.answer(Button::Ok, "posledním správcem uživatelů", caption::Chyba);
    reg.SmazatClick();
    EXPECT_EQ(dm->TableZamest->recordCount(), 3);
    EXPECT_EQ(PocetSpravcu(*dm), 1);

    // With a second administrator the first may lose the right, and then be deleted.
    UlozPrava(*dm, "DVOŘÁK", {kPravoSpravce});
    EXPECT_EQ(PocetSpravcu(*dm), 2);
    EXPECT_FALSE(OdmitnutiZmenyPrav(*dm, "SPRÁVCOVÁ", {"CISELNIK"}));
    EXPECT_TRUE(OdmitnutiZmenyPrav(*dm, "DVOŘÁK", {}) == std::nullopt);
    na("SPRÁVCOVÁ");
    ui.answer(Button::Yes, "Chceš opravdu smazat větu ?", caption::Dotaz);
    reg.SmazatClick();
    EXPECT_EQ(dm->TableZamest->recordCount(), 2);
    EXPECT_TRUE(OdmitnutiZmenyPrav(*dm, "DVOŘÁK", {}).has_value());
    reg.closeRegister();
}

TEST_F(PravaTest, ANamesakeIsToldOfTheRightsHeWouldGetAndMayCancel) {
    prihlasen("SPRÁVCOVÁ", "Eva");
    TFormulZamestGrid reg(*dm, true);
    reg.openRegister();
    ui.answerModal(
        [&](QDialog& d) {
            auto& f = static_cast<TFormulZamestVstup&>(d);
            f.EditPrijmeni->setText("Nováková");
            f.EditJmeno->setText("Lenka");
            f.EditHeslo->setText("lenka1");
            ui.answer(Button::No,
                      "získá přístupová práva zaměstnanců s příjmením NOVÁKOVÁ (Číselník, Kasa)",
                      caption::Dotaz);
            f.ButtonOkClick();
            EXPECT_EQ(dm->TableZamest->state(), TableState::Insert); // nothing saved, all kept
            EXPECT_EQ(f.EditJmeno->text(), "Lenka");
            ui.answer(Button::Yes, "s příjmením NOVÁKOVÁ", caption::Dotaz);
            f.ButtonOkClick();
            EXPECT_EQ(f.result(), QDialog::Accepted);
        },
        "FormulZamestVstup");
    reg.NovyClick();
    EXPECT_EQ(NajdiZamestnancePodleHesla(*dm, "lenka1"), QStringLiteral("Nováková"));

    // A rename onto a surname with rights asks too; keeping one's own surname does not.
    na("DVOŘÁK");
    ui.answerModal(
        [&](QDialog& d) {
            auto& f = static_cast<TFormulZamestVstup&>(d);
            f.EditJmeno->setText("Pavel");
            f.ButtonOkClick(); // no question
            EXPECT_EQ(f.result(), QDialog::Accepted);
        },
        "FormulZamestVstup");
    reg.OpravaClick();
    EXPECT_EQ(jmenoZaznamu("DVOŘÁK"), "Pavel");
    EXPECT_TRUE(OtazkaJmenovcu(*dm, "NOVÁKOVÁ", "nováková").isEmpty());
    EXPECT_TRUE(OtazkaJmenovcu(*dm, "SPRÁVCOVÁ", "DVOŘÁK").contains("Správce uživatelů"));
    EXPECT_TRUE(OtazkaJmenovcu(*dm, "KOVÁŘ", "DVOŘÁK").isEmpty());
    reg.closeRegister();
}

TEST_F(PravaTest, PasswordsHaveAtLeastFourCharactersAndTheLoginButtonsAreCzech) {
    Table& z = *dm->TableZamest;
    z.open();
    z.insert();
    z.field("PRIJMENI").setString("KRÁTKÝ");
    ui.answer(Button::Ok, "Heslo musí mít nejméně 4 znaky", caption::Chyba);
    EXPECT_FALSE(UlozZamestnance(*dm, "abc", QString()));
    EXPECT_EQ(z.state(), TableState::Insert);
    EXPECT_TRUE(UlozZamestnance(*dm, "abcd", QString()));
    z.close();

    ui.answer(Button::Ok, "Heslo musí mít nejméně 4 znaky", caption::Chyba);
    EXPECT_FALSE(VytvorSpravce(*dm, "VEDOUCÍ", "123", "123"));

    TPasswordDlg login(*dm);
    QStringList tlacitka;
    for (QAbstractButton* b : login.findChild<QDialogButtonBox*>()->buttons())
        tlacitka << b->text();
    EXPECT_EQ(tlacitka, (QStringList{"OK", "&Zruš"}));
}

} // namespace

namespace {

// The employee entry form saves as the registers do: a record another copy changed meanwhile
// is reported, and the user's values are kept and saved when he says so.
TEST_F(PravaTest, AnEmployeeChangedMeanwhileIsReportedAndSavedAsTypedWhenAsked) {
    prihlasen("SPRÁVCOVÁ", "Eva");
    TFormulZamestGrid reg(*dm, true);
    reg.openRegister();
    na("DVOŘÁK");
    ui.answerModal(
        [&](QDialog& d) {
            auto& f = static_cast<TFormulZamestVstup&>(d);
            f.EditJmeno->setText("Pavel");
            {
                Table jiny(*db, QString::fromUtf16(kTabulkaZamest));
                jiny.open();
                ASSERT_TRUE(jiny.locate("PRIJMENI", {"DVOŘÁK"}));
                jiny.edit();
                jiny.field("Poznamka").setString("skladník od ledna");
                jiny.post();
            }
            ui.answer(Button::Cancel, "Záznam mezitím změnil jiný uživatel", caption::Dotaz);
            f.ButtonOkClick();
            EXPECT_NE(f.result(), QDialog::Accepted);
            EXPECT_EQ(f.EditJmeno->text(), "Pavel");
            ui.answer(Button::No, "změnil jiný uživatel", caption::Dotaz);
            f.ButtonOkClick();
            EXPECT_EQ(f.MemoPoznamka->toPlainText(), "skladník od ledna"); // reloaded
            EXPECT_EQ(f.EditJmeno->text(), "Petr");
            f.EditJmeno->setText("Pavel");
            f.ButtonOkClick(); // nobody in between now
            EXPECT_EQ(f.result(), QDialog::Accepted);
        },
        "FormulZamestVstup");
    reg.OpravaClick();
    reg.closeRegister();
    EXPECT_EQ(jmenoZaznamu("DVOŘÁK"), "Pavel");
}

} // namespace
