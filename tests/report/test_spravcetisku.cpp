// The print manager: the family's templates by prefix, the check of the chosen file before each
// command, editing, previewing, a new template's name, templates from elsewhere, a window
// without a directory and Escape.

#include "codec.h"
#include "platform.h"
#include "preview_fixture.h"
#include "printing.h"
#include "scripted_gtest.h"
#include "spravcetisku.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace brix;
using namespace brix::report;

namespace {

class SpravceTiskuTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::guiApp();
        ASSERT_TRUE(QDir(root.path()).mkdir(QStringLiteral("Ciselnik")));
        dir = root.filePath(QStringLiteral("Ciselnik"));
        write(QStringLiteral("PrSko_B.pts"), QStringLiteral("Skonta podle čísla"));
        write(QStringLiteral("prsko_a.PTS"), QStringLiteral("Skonta podle popisu"));
        write(QStringLiteral("PrObor_X.pts"), QStringLiteral("Obory"));
        write(QStringLiteral("PrSko_c.txt"), QStringLiteral("Není předloha"));
        write(QStringLiteral("PrSkoZ.pts"), QStringLiteral("Jiná rodina"));
        data = test::previewData(30);
    }

    void write(const QString& name, const QString& description, const QString& in = {}) {
        QStringList lines = test::previewTemplate();
        lines[0] = QStringLiteral("I,0,\"%1\"").arg(description);
        ASSERT_TRUE(writeTextLines(QDir(in.isEmpty() ? dir : in).filePath(name), lines));
    }

    // A manager as a code-list register sets it up: the data root, the data, directory, prefix.
    void setUp(TFormSpravceTisku& f) {
        f.Sestava1.ReportDirIgnore = false;
        f.Sestava1.setReportDir(root.path());
        f.Sestava1.DataSource = data.get();
        f.Sestava1.previewWindow = [this](TSestava& s, const PreviewRequest&) {
            previewed << s.ReportName();
            pages = s.output.pageCount();
            return 1;
        };
        f.Sestava1.designerWindow = [this](TSestava& s) {
            edited << s.ReportName();
            editedFile = s.fullFileName();
        };
        f.Adresar = QStringLiteral("ciselnik\\");
        f.Prefix = QStringLiteral("PrSko_");
    }

    // Opens the manager through the platform; work runs in the shown window.
    int open(TFormSpravceTisku& f, const std::function<void(TFormSpravceTisku&)>& work) {
        ui.answerModal(
            [&](QDialog& d) {
                auto& w = dynamic_cast<TFormSpravceTisku&>(d);
                QApplication::setActiveWindow(&w);
                work(w);
            },
            QStringLiteral("FormSpravceTisku"));
        return f.spust();
    }

    static QStringList column(const TFormSpravceTisku& f, int c) {
        QStringList out;
        for (int i = 0; i < f.ListSestavy->topLevelItemCount(); ++i)
            out << f.ListSestavy->topLevelItem(i)->text(c);
        return out;
    }

    TestPlatform ui;
    QTemporaryDir root;
    QString dir;
    std::unique_ptr<ListBridge> data;
    QStringList previewed, edited;
    QString editedFile;
    int pages = 0;
};

TEST_F(SpravceTiskuTest, ListsTheFamilyByFileNameWithDescriptions) {
    TFormSpravceTisku f;
    setUp(f);
    open(f, [&](TFormSpravceTisku& w) {
        EXPECT_EQ(column(w, 0), (QStringList{"prsko_a.PTS", "PrSko_B.pts"}));
        EXPECT_EQ(column(w, 1), (QStringList{"Skonta podle popisu", "Skonta podle čísla"}));
        EXPECT_EQ(QFileInfo(w.chosenFile()).fileName(), "prsko_a.PTS");
        w.reject();
    });
    // Closing clears the directory and the prefix.
    EXPECT_TRUE(f.Adresar.isEmpty());
    EXPECT_TRUE(f.Prefix.isEmpty());
}

TEST_F(SpravceTiskuTest, PreviewPrintAndEditTakeTheChosenTemplate) {
    TFormSpravceTisku f;
    setUp(f);
    QList<int> errors;
    f.Sestava1.OnError = [&](TSestava&, int code) {
        errors << code;
        return true;
    };
    open(f, [&](TFormSpravceTisku& w) {
        ASSERT_TRUE(w.choose(QDir(dir).filePath(QStringLiteral("PrSko_B.pts"))));
        w.ButtonPreview->click();
        EXPECT_EQ(previewed, QStringList{"ciselnik\\PrSko_B.pts"});
        EXPECT_EQ(pages, 1);
        EXPECT_EQ(w.Sestava1.definition.description, "Skonta podle čísla");
        w.ButtonOprav->click();
        EXPECT_EQ(edited, QStringList{"ciselnik\\PrSko_B.pts"});
        EXPECT_EQ(QFileInfo(editedFile).canonicalFilePath(),
                  QFileInfo(QDir(dir).filePath("PrSko_B.pts")).canonicalFilePath());
        // Print on a system without printers: the component's warning.
        ui.answer(Button::Ok, QStringLiteral("V systému není nainstalovaná žádná tiskárna."),
                  QStringLiteral("Varování"));
        w.ButtonTiskni->click();
        w.reject();
    });
    EXPECT_EQ(errors, QList<int>{seNoPrinter});
}

TEST_F(SpravceTiskuTest, AMissingFileIsReportedAndNothingIsDone) {
    TFormSpravceTisku f;
    setUp(f);
    open(f, [&](TFormSpravceTisku& w) {
        ASSERT_TRUE(w.choose(QDir(dir).filePath(QStringLiteral("PrSko_B.pts"))));
        ASSERT_TRUE(QFile::remove(QDir(dir).filePath(QStringLiteral("PrSko_B.pts"))));
        for (QPushButton* b :
             {w.ButtonPreview, w.ButtonOprav, w.ButtonTiskni, w.ButtonTiskDoSouboru}) {
            ui.answer(Button::Ok, QStringLiteral("Soubor: PrSko_B.pts neexistuje"),
                      QStringLiteral("Chyba"));
            b->click();
        }
        w.reject();
    });
    EXPECT_TRUE(previewed.isEmpty());
    EXPECT_TRUE(edited.isEmpty());
}

TEST_F(SpravceTiskuTest, ANewTemplateIsNamedInsideTheDirectory) {
    TFormSpravceTisku f;
    setUp(f);
    open(f, [&](TFormSpravceTisku& w) {
        // Nothing typed, or only spaces: nothing happens.
        ui.answerInput(QString(), QStringLiteral("Název sestavy"));
        w.ButtonNovy->click();
        EXPECT_EQ(ui.shown().back().text, "Jméno souboru s novou sestavou");
        ui.answerInput(QStringLiteral("   "));
        w.NovyClick();
        ui.cancelInput();
        w.NovyClick();
        EXPECT_TRUE(edited.isEmpty());
        // Trailing spaces go; the designer offers to create the file.
        ui.answerInput(QStringLiteral("Test  "));
        ui.answer(Button::Yes, QStringLiteral("PrSko_Test.pts\". Založit nový?"),
                  QStringLiteral("Potvrzení"));
        w.NovyClick();
        EXPECT_EQ(edited, QStringList{"ciselnik\\PrSko_Test.pts"});
        EXPECT_TRUE(QFileInfo(QDir(dir).filePath(QStringLiteral("PrSko_Test.pts"))).isFile());
        EXPECT_TRUE(column(w, 0).contains("PrSko_Test.pts"));
        EXPECT_EQ(QFileInfo(w.chosenFile()).fileName(), "PrSko_Test.pts");
        // A typed extension is not doubled.
        ui.answerInput(QStringLiteral("Druhy.PTS"));
        ui.answer(Button::No, QStringLiteral("PrSko_Druhy.pts"));
        w.NovyClick();
        EXPECT_EQ(edited.size(), 1) << "declined: no designer";
        // Names that would leave the directory or that no file carries.
        for (const QString& bad :
             {QStringLiteral("../Ven"), QStringLiteral("a\\b"), QStringLiteral(".."),
              QStringLiteral("x..y"), QStringLiteral("c:soubor"), QStringLiteral("a*b"),
              QStringLiteral("a?b"), QStringLiteral("\"x\"")}) {
            ui.answerInput(bad);
            ui.answer(Button::Ok, QStringLiteral("Jméno sestavy obsahuje nepovolené znaky."),
                      QStringLiteral("Chyba"));
            w.NovyClick();
        }
        EXPECT_EQ(edited.size(), 1);
        w.reject();
    });
    EXPECT_FALSE(QFileInfo::exists(root.filePath(QStringLiteral("Ven.pts"))));
}

TEST_F(SpravceTiskuTest, TemplatesFromElsewhereKeepTheirFullPath) {
    QTemporaryDir other;
    write(QStringLiteral("Jina.pts"), QStringLiteral("Odjinud"), other.path());
    TFormSpravceTisku f;
    setUp(f);
    open(f, [&](TFormSpravceTisku& w) {
        ui.answerFile(QDir(other.path()).filePath(QStringLiteral("Jina.pts")));
        w.ButtonDalsi->click();
        EXPECT_EQ(ui.shown().back().text, QFileInfo(dir).absoluteFilePath());
        EXPECT_EQ(column(w, 1).last(), "Odjinud");
        w.ButtonPreview->click();
        // A file of the directory outside the family: its name, relative to the data root.
        ui.answerFile(QDir(dir).filePath(QStringLiteral("PrObor_X.pts")));
        w.DalsiClick();
        EXPECT_EQ(column(w, 0).last(), "PrObor_X.pts");
        w.PreviewClick();
        // Cancelled: nothing added.
        ui.answerFile(QString());
        w.DalsiClick();
        EXPECT_EQ(w.ListSestavy->topLevelItemCount(), 4);
        w.reject();
    });
    ASSERT_EQ(previewed.size(), 2);
    EXPECT_EQ(QFileInfo(previewed[0]).canonicalFilePath(),
              QFileInfo(QDir(other.path()).filePath("Jina.pts")).canonicalFilePath());
    EXPECT_EQ(previewed[1], "ciselnik\\PrObor_X.pts");
}

// "Tisk do souboru": the program's printer, the file "LPT.TXT" under the data root.
TEST_F(SpravceTiskuTest, PrintingToTheFileWritesLptTxtUnderTheDataRoot) {
    const QString lpt = root.filePath(QStringLiteral("LPT.TXT"));
    TFormSpravceTisku f;
    setUp(f);
    installPrinting(f.Sestava1);
    ui.setPrinters({{QStringLiteral("Kancelář"), QStringLiteral("HP LaserJet 4")},
                    {QStringLiteral("Pokladna"), QStringLiteral("Generic / Text Only")}},
                   0);
    f.Tiskarna = 1;
    QList<int> errors;
    f.Sestava1.OnError = [&](TSestava&, int code) {
        errors << code;
        return true;
    };
    open(f, [&](TFormSpravceTisku& w) {
        ASSERT_TRUE(w.choose(QDir(dir).filePath(QStringLiteral("PrSko_B.pts"))));
        ui.answer(Button::Ok, QStringLiteral("Sestava byla uložena v souboru \"LPT.TXT\""),
                  QStringLiteral("Zpráva"));
        w.ButtonTiskDoSouboru->click();
        QFile file(lpt);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), w.Sestava1.textOutput());
        EXPECT_EQ(w.Sestava1.definition.description, "Skonta podle čísla");
        file.close();
        // A graphic printer writes the file as PDF.
        w.Tiskarna = 0;
        ui.answer(Button::Ok, QStringLiteral("LPT.TXT"), QStringLiteral("Zpráva"));
        w.TiskDoSouboruClick();
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.read(5), "%PDF-");
        file.close();
        // A file that cannot be written is the component's error, and no success is claimed.
        ASSERT_TRUE(QFile::remove(lpt));
        ASSERT_TRUE(QDir(root.path()).mkdir(QStringLiteral("LPT.TXT")));
        w.TiskDoSouboruClick();
        EXPECT_EQ(errors, QList<int>{seOutput});
        w.reject();
    });
    EXPECT_TRUE(ui.printJobs().isEmpty());
}

TEST_F(SpravceTiskuTest, WithoutADirectoryTheWindowSaysSoAndCloses) {
    TFormSpravceTisku f;
    setUp(f);
    f.Adresar.clear();
    ui.answer(Button::Ok,
              QStringLiteral("Pro správce tisku není určena cesta, funkce nebude dokončena "),
              QStringLiteral("Chyba"));
    EXPECT_EQ(f.spust(), QDialog::Rejected);
    EXPECT_TRUE(f.Prefix.isEmpty());
}

TEST_F(SpravceTiskuTest, EscapeBeepsAndCloses) {
    TFormSpravceTisku f;
    setUp(f);
    bool open_ = true;
    EXPECT_EQ(open(f,
                   [&](TFormSpravceTisku& w) {
                       QTest::keyClick(w.ListSestavy, Qt::Key_Escape);
                       open_ = w.isVisible();
                   }),
              QDialog::Rejected);
    EXPECT_FALSE(open_);
    EXPECT_EQ(ui.beeps(), 1);
}

} // namespace
