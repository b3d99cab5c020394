// Two copies of the program on one data root: copy A edits a payment term in its register while
// copy B, a process of its own, changes the same record and later deletes it. A's "&Ok" reports
// each case and loses nothing the user typed. Copy B is this test program run again with only the
// disabled test below, told by the environment what to do.
#include "ciselniky_fixture.h"

#include <QCoreApplication>
#include <QProcess>

using namespace brix;
using namespace brix::test;

namespace {

const char* const kKoren = "BRIX_DRUHA_KOPIE_KOREN";
const char* const kAkce = "BRIX_DRUHA_KOPIE_AKCE"; // "zmen:<popis>" or "smaz"

// Copy B: opens the data root, and in the payment terms' register changes the description of
// term 1 or deletes it, as a user would.
TEST(DruhaKopie, DISABLED_ZmeniNeboSmazePlatebniPodminku) {
    const QString koren = qEnvironmentVariable(kKoren);
    if (koren.isEmpty()) GTEST_SKIP() << "run by TwoCopies only";
    const QString akce = qEnvironmentVariable(kAkce);
    auto db = Database::open(koren);
    TDataCis dm(*db);
    TestPlatform ui;
    TFormulSkonto f(*dm.TableSkonto);
    f.openRegister();
    ASSERT_TRUE(dm.TableSkonto->locate("PC_skonto", {1}));
    if (akce.startsWith("zmen:")) {
        f.OpravaClick();
        f.editBox("Popis")->setText(akce.mid(5));
        f.ButtonOkClick();
        EXPECT_FALSE(f.entryShown());
    } else {
        ui.answer(Button::Yes, "Chceš opravdu smazat větu ?", caption::Dotaz);
        f.SmazatClick();
        EXPECT_FALSE(dm.TableSkonto->locate("PC_skonto", {1}));
    }
    f.closeRegister();
}

class TwoCopiesTest : public CiselnikyTest {
protected:
    // Runs copy B and waits for it; true when it did what it was told.
    bool kopieB(const QString& akce) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kKoren, dir.path());
        env.insert(kAkce, akce);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.setProgram(QCoreApplication::applicationFilePath());
        p.setArguments({"--gtest_also_run_disabled_tests",
                        "--gtest_filter=DruhaKopie.DISABLED_ZmeniNeboSmazePlatebniPodminku"});
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start();
        if (!p.waitForFinished(120000)) return false;
        const QByteArray out = p.readAll();
        EXPECT_EQ(p.exitCode(), 0) << out.constData();
        return p.exitCode() == 0 && out.contains("[  PASSED  ] 1 test");
    }
    QString ulozenyPopis() {
        Table t(*db, "Ciselnik\\Skonto");
        t.open();
        return t.locate("PC_skonto", {1}) ? t.field("Popis").asString() : QStringLiteral("<není>");
    }
};

TEST_F(TwoCopiesTest, EditsOfAnotherCopyAreReportedOnOkAndNothingTypedIsLost) {
    add(*dm->TableSkonto, {{"PC_skonto", 1}, {"Popis", "Hotově"}, {"Splatnost", 0}});
    TFormulSkonto a(*dm->TableSkonto);
    a.openRegister();
    EditBox* popis = a.editBox("Popis");
    ASSERT_TRUE(dm->TableSkonto->locate("PC_skonto", {1}));
    a.OpravaClick();
    popis->setText("Hotově v pokladně");

    // B changes the record: A is told, keeps its values, and chooses to go on editing.
    ASSERT_TRUE(kopieB("zmen:Hotově při převzetí"));
    ui.answer(Button::Cancel, "Záznam mezitím změnil jiný uživatel", caption::Dotaz);
    a.ButtonOkClick();
    EXPECT_TRUE(a.entryShown());
    EXPECT_EQ(popis->text(), "Hotově v pokladně");
    EXPECT_EQ(ulozenyPopis(), "Hotově při převzetí"); // B's change stands until A decides

    // A saves its values as they are.
    ui.answer(Button::Yes, "Záznam mezitím změnil jiný uživatel", caption::Dotaz);
    a.ButtonOkClick();
    EXPECT_FALSE(a.entryShown());
    EXPECT_EQ(ulozenyPopis(), "Hotově v pokladně");

    // A edits again; B changes it once more, and A takes B's record instead.
    ASSERT_TRUE(dm->TableSkonto->locate("PC_skonto", {1}));
    a.OpravaClick();
    popis->setText("Hotově, A");
    ASSERT_TRUE(kopieB("zmen:Hotově, B"));
    ui.answer(Button::No, "změnil jiný uživatel", caption::Dotaz);
    a.ButtonOkClick();
    EXPECT_TRUE(a.entryShown());
    EXPECT_EQ(popis->text(), "Hotově, B");

    // B deletes it while A edits: A is told and puts it back with the values on screen.
    popis->setText("Hotově, A znovu");
    ASSERT_TRUE(kopieB("smaz"));
    ui.answer(Button::Cancel, "Záznam mezitím smazal jiný uživatel", caption::Dotaz);
    a.ButtonOkClick();
    EXPECT_TRUE(a.entryShown());
    EXPECT_EQ(popis->text(), "Hotově, A znovu");
    EXPECT_EQ(ulozenyPopis(), "<není>");
    ui.answer(Button::Yes, "Záznam mezitím smazal jiný uživatel", caption::Dotaz);
    a.ButtonOkClick();
    EXPECT_FALSE(a.entryShown());
    EXPECT_EQ(ulozenyPopis(), "Hotově, A znovu");
    a.closeRegister();
}

} // namespace
