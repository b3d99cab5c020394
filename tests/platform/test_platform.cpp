#include "cashdrawer.h"
#include "machineconfig.h"
#include "platform.h"
#include "qtplatform.h"
#include "scripted.h"
#include "scripted_gtest.h"

#include "codec.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace brix;

namespace {

class QtEnvironment : public testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_platform";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) app_ = new QApplication(argc, argv);
    }

private:
    QApplication* app_ = nullptr;
};

[[maybe_unused]] testing::Environment* const qtEnv =
    testing::AddGlobalTestEnvironment(new QtEnvironment);

// A scripted platform whose failures are collected, for tests of the failures themselves.
struct Collecting : ScriptedPlatform {
    QStringList seen;
    Collecting() {
        setFailureHandler([this](const QString& w) { seen << w; });
    }
};

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

// --- the scripted platform -------------------------------------------------------------------

TEST(ScriptedPlatform, AnswersQuestionsInOrderAndRecordsEveryBox) {
    TestPlatform ui;
    ui.answer(Button::Yes, "smazat", caption::Dotaz).answer(Button::No).answer(Button::Cancel);

    Platform& p = Platform::current();
    EXPECT_TRUE(p.askYesNo("Chceš opravdu smazat větu ?"));
    EXPECT_FALSE(p.askYesNo("Chceš opravdu skončit bez záznamu"));
    EXPECT_EQ(p.askYesNoCancel("Uložit změny?", "Potvrzení"), Button::Cancel);

    ASSERT_EQ(ui.shown().size(), 3);
    EXPECT_EQ(ui.shown()[0].caption, "Dotaz");
    EXPECT_EQ(ui.shown()[0].text, "Chceš opravdu smazat větu ?");
    EXPECT_EQ(ui.shown()[0].buttons, Button::Yes | Button::No);
    EXPECT_EQ(ui.shown()[0].answer, "Ano");
    EXPECT_EQ(ui.shown()[2].caption, "Potvrzení");
    EXPECT_EQ(ui.shown()[2].buttons, Button::Yes | Button::No | Button::Cancel);
    EXPECT_EQ(ui.pendingAnswers(), 0);
}

TEST(ScriptedPlatform, ConvenienceBoxesCarryTheSystemCaptions) {
    TestPlatform ui;
    ui.setOkBoxesAnswered(true);
    Platform& p = Platform::current();
    p.error("Zadané heslo neexistuje");
    p.warning("Faktor množství výrobku");
    p.warning("Byly nalezeny chyby v adresáři X", caption::Varovani);
    p.information("Účet již existuje, zvyšuji číslo");
    p.message("Kontrola dokončena");
    QStringList captions;
    for (const ShownBox& b : ui.shownMessages()) {
        captions << b.caption;
        EXPECT_EQ(b.buttons, Buttons(Button::Ok));
    }
    EXPECT_EQ(captions, (QStringList{"Chyba", "Upozornění", "Varování", "Informace", "Zpráva"}));
    ui.answer(Button::Ok, "opakovat", "Chyba nulování");
    EXPECT_TRUE(p.askOkCancel("Nelze nulovat HlaDL - opakovat?", "Chyba nulování"));
    EXPECT_EQ(ui.shown().back().buttons, Button::Ok | Button::Cancel);
}

TEST(ScriptedPlatform, UnexpectedAndMismatchedBoxesAreFailures) {
    Collecting ui;
    ScopedPlatform use(ui);
    Platform& p = Platform::current();

    // Nothing queued: a failure, and the box is closed as Escape would close it.
    EXPECT_FALSE(p.askYesNo("Neočekávaná otázka"));
    EXPECT_EQ(p.askYesNoCancel("Neočekávaná otázka"), Button::Cancel);
    p.error("Neočekávaná chyba");
    EXPECT_EQ(ui.seen.size(), 3);
    EXPECT_TRUE(ui.seen[0].contains("Neočekávaná otázka"));
    EXPECT_TRUE(ui.seen[0].contains("Ano|Ne"));

    // An answer the box does not offer.
    ui.seen.clear();
    ui.answer(Button::Yes);
    p.error("Chyba v zadání filtru");
    ASSERT_EQ(ui.seen.size(), 1);
    EXPECT_TRUE(ui.seen[0].contains("has no button Ano"));

    // Wrong text or wrong caption.
    ui.seen.clear();
    ui.answer(Button::Yes, "smazat").answer(Button::Yes, {}, caption::Dotaz);
    EXPECT_TRUE(p.askYesNo("Chceš opravdu skončit bez záznamu"));
    EXPECT_TRUE(p.askYesNo("Upravit okraje?", "Potvrzení"));
    EXPECT_EQ(ui.seen.size(), 2);

    // A message box where an input box was expected keeps the input answer for later.
    ui.seen.clear();
    ui.answerInput("12");
    EXPECT_FALSE(p.askYesNo("Otázka navíc"));
    EXPECT_EQ(ui.seen.size(), 1);
    EXPECT_EQ(p.inputBox("Rozsah", "Zadej položku"), "12");
    EXPECT_EQ(ui.seen.size(), 1);

    // Answers left over are reported.
    ui.seen.clear();
    ui.answer(Button::Ok, "Kontrola dokončena");
    ui.verifyAllUsed();
    ASSERT_EQ(ui.seen.size(), 1);
    EXPECT_TRUE(ui.seen[0].contains("Kontrola dokončena"));
    EXPECT_EQ(ui.failures().size(), 8);
}

TEST(ScriptedPlatform, OkBoxesNeedNoAnswerOnlyWhenAllowed) {
    Collecting ui;
    ScopedPlatform use(ui);
    Platform::current().information("Hotovo");
    EXPECT_EQ(ui.seen.size(), 1);
    ui.setOkBoxesAnswered(true);
    Platform::current().information("Hotovo");
    EXPECT_FALSE(Platform::current().askYesNo("Pokračovat?")); // questions still need answers
    EXPECT_EQ(ui.seen.size(), 2);
    EXPECT_EQ(ui.shown().size(), 3);
}

TEST(ScriptedPlatform, AutoAnsweredOkBoxesLeaveQueuedQuestionsAlone) {
    TestPlatform ui;
    ui.setOkBoxesAnswered(true);
    ui.answer(Button::Yes, "Pokračovat").answer(Button::Ok, "Druhá");
    Platform& p = Platform::current();
    p.information("První zpráva"); // answered by itself, the Yes stays queued
    EXPECT_TRUE(p.askYesNo("Pokračovat?"));
    p.information("Druhá zpráva"); // takes the queued OK, whose text it must show
    EXPECT_EQ(ui.pendingAnswers(), 0);
    EXPECT_EQ(ui.shown().size(), 3);
}

TEST(ScriptedPlatform, InputBoxesReturnTheAnswerOrTheDefault) {
    TestPlatform ui;
    Platform& p = Platform::current();
    ui.answerInput("Praha", "Rozsah").cancelInput().cancelInput().answerInput("");

    EXPECT_EQ(p.inputBox("Rozsah", "Zadej město"), "Praha");
    EXPECT_EQ(p.inputBox("OBOR", "Zadejte číslo oboru, nic=Konec", "1"), "1");
    QString value = "beze změny";
    EXPECT_FALSE(p.inputQuery("Filtr", "Zadej číslo dodavatele/název", value, false));
    EXPECT_EQ(value, "beze změny");
    EXPECT_TRUE(p.inputQuery("Filtr", "Zadej číslo dodavatele/název", value, false));
    EXPECT_EQ(value, "");

    ui.answerInput("plova");
    QString word;
    EXPECT_TRUE(p.inputQuery("Pokud chcete nulovat, zadejte heslo", "", word, true));
    EXPECT_TRUE(ui.shown().back().password);

    ASSERT_EQ(ui.shown().size(), 5);
    EXPECT_EQ(ui.shown()[1].preset, "1");
    EXPECT_FALSE(ui.shown()[1].password);
    EXPECT_EQ(ui.shown()[1].kind, ShownBox::Kind::Input);
    EXPECT_EQ(ui.shown()[1].text, "Zadejte číslo oboru, nic=Konec");
    EXPECT_EQ(ui.shown()[1].answer, "Storno");
}

TEST(ScriptedPlatform, FileDialogsTakeTheQueuedPath) {
    TestPlatform ui;
    Platform& p = Platform::current();
    ui.answerFile("/tmp/a.db").answerFile("").answerFile("/tmp/out");
    EXPECT_EQ(p.openFileName("Otevřít", "/tmp", "Tabulky (*.db)"), "/tmp/a.db");
    EXPECT_EQ(p.saveFileName("Uložit", "/tmp", "Text (*.txt)"), "");
    EXPECT_EQ(p.directoryName("Adresář", "/tmp"), "/tmp/out");
    EXPECT_EQ(ui.shown()[1].kind, ShownBox::Kind::SaveFile);
}

TEST(ScriptedPlatform, ModalFormsRunTheHandlerAndReturnTheFormResult) {
    TestPlatform ui;
    Platform& p = Platform::current();

    QDialog form;
    form.setObjectName("TFormulZamestVstup");
    auto* ok = new QPushButton("&Ok", &form);
    QObject::connect(ok, &QPushButton::clicked, &form, [&] {
        if (Platform::current().askYesNo("Uložit?")) form.accept();
    });

    ui.answerModal(
          [&](QDialog& d) {
              EXPECT_TRUE(d.isVisible());
              ok->click();
          },
          "TFormulZamestVstup")
        .answer(Button::Yes, "Uložit");
    EXPECT_EQ(p.execModal(form), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());

    // A handler that leaves the form open: it is closed and counts as cancelled.
    ui.answerModal([](QDialog&) {});
    EXPECT_EQ(p.execModal(form), QDialog::Rejected);
    EXPECT_FALSE(form.isVisible());

    // done(n) passes its code through.
    ui.answerModal([](QDialog& d) { d.done(7); });
    EXPECT_EQ(p.execModal(form), 7);
    EXPECT_EQ(ui.shown().back().kind, ShownBox::Kind::Modal);
    EXPECT_EQ(ui.shown().back().caption, "TFormulZamestVstup");
}

TEST(ScriptedPlatform, UnexpectedModalFormIsRejectedWithoutShowing) {
    Collecting ui;
    ScopedPlatform use(ui);
    QDialog form;
    EXPECT_EQ(Platform::current().execModal(form), QDialog::Rejected);
    EXPECT_FALSE(form.isVisible());
    ASSERT_EQ(ui.seen.size(), 1);
    EXPECT_TRUE(ui.seen[0].contains("QDialog"));
}

TEST(ScriptedPlatform, BusyCursorAndInstallationAreScoped) {
    ScriptedPlatform outer;
    ScopedPlatform useOuter(outer);
    {
        TestPlatform inner;
        EXPECT_EQ(&Platform::current(), &inner);
        {
            BusyCursor busy;
            BusyCursor nested;
            EXPECT_EQ(inner.busyDepth(), 2);
        }
        EXPECT_EQ(inner.busyDepth(), 0);
        EXPECT_EQ(inner.busyCount(), 2);
        Platform::current().beep();
        EXPECT_EQ(inner.beeps(), 1);
    }
    EXPECT_EQ(&Platform::current(), &outer);
    EXPECT_EQ(outer.busyCount(), 0);
}

TEST(ScriptedPlatform, ClipboardKeepsTextAndCustomFormatTogether) {
    TestPlatform ui;
    Platform& p = Platform::current();
    p.setClipboard("Firma s.r.o.", "CF_VUZ", QByteArray("\x01\x02partner", 9));
    EXPECT_EQ(p.clipboardText(), "Firma s.r.o.");
    EXPECT_TRUE(p.clipboardHasFormat("CF_VUZ"));
    EXPECT_FALSE(p.clipboardHasFormat("CF_VUZVyr"));
    EXPECT_EQ(p.clipboardData("CF_VUZ"), QByteArray("\x01\x02partner", 9));
    // Putting plain text alone drops the old custom content.
    p.setClipboard("jen text");
    EXPECT_FALSE(p.clipboardHasFormat("CF_VUZ"));
    EXPECT_TRUE(p.clipboardData("CF_VUZ").isEmpty());
}

TEST(ScriptedPlatform, PrinterSelectionKeepsTheCurrentPrinterOnABadIndex) {
    TestPlatform ui;
    Platform& p = Platform::current();
    ui.setPrinters({{"Laser", "HP LaserJet"},
                    {"Kasa", "Generic Text-Only Printer"},
                    {"Jehličková", "Epson 9-pin"}},
                   0);
    MachineConfig cfg = MachineConfig::defaults();
    cfg.textPrinters = {"jehličková"};
    ui.setMachineConfig(cfg);

    EXPECT_EQ(p.printerNames(), (QStringList{"Laser", "Kasa", "Jehličková"}));
    EXPECT_EQ(p.currentPrinterName(), "Laser");
    EXPECT_TRUE(p.selectPrinter(2));
    EXPECT_FALSE(p.selectPrinter(3));
    EXPECT_FALSE(p.selectPrinter(-1));
    EXPECT_EQ(p.currentPrinterIndex(), 2);
    EXPECT_FALSE(p.isTextPrinter(0));
    EXPECT_TRUE(p.isTextPrinter(1)); // by its driver
    EXPECT_TRUE(p.isTextPrinter(2)); // by the machine configuration, any case
    EXPECT_FALSE(p.isTextPrinter(5));
}

TEST(ScriptedPlatform, NoPrintersMeansNoCurrentPrinter) {
    TestPlatform ui;
    EXPECT_EQ(Platform::current().currentPrinterIndex(), -1);
    EXPECT_EQ(Platform::current().currentPrinterName(), "");
    EXPECT_FALSE(Platform::current().selectPrinter(0));
}

TEST(ScriptedPlatform, PrinterDetailsTurnWithThePaper) {
    TestPlatform ui;
    Platform& p = Platform::current();
    ui.setPrinters({{"Laser", "HP LaserJet"}, {"Kasa", "Obecná nebo jen textová"}}, 0);
    EXPECT_FALSE(p.printerDetails(2).valid());
    PrinterDetails d = p.printerDetails(0);
    EXPECT_EQ(d.name, "Laser");
    EXPECT_EQ(d.driver, "HP LaserJet");
    EXPECT_EQ(d.paper, QSizeF(826, 1169));
    EXPECT_FALSE(d.textOnly);
    EXPECT_TRUE(p.printerDetails(1).textOnly); // the Czech name of the generic text driver

    d.minMargins = QMarginsF(10, 20, 30, 40);
    d.dpiX = 300;
    d.dpiY = 600;
    ui.setPrinterDetails(0, d);
    ASSERT_TRUE(p.setPrinterLandscape(0, true));
    const PrinterDetails turned = p.printerDetails(0);
    EXPECT_TRUE(turned.landscape);
    EXPECT_EQ(turned.paper, QSizeF(1169, 826));
    EXPECT_EQ(turned.minMargins, QMarginsF(20, 30, 40, 10));
    EXPECT_EQ(turned.dpiX, 600);
    EXPECT_EQ(turned.printable(), QSizeF(1169 - 60, 826 - 40));
    ASSERT_TRUE(p.setPrinterLandscape(0, false));
    EXPECT_EQ(p.printerDetails(0).minMargins, d.minMargins);
    EXPECT_FALSE(p.setPrinterLandscape(7, true));
}

TEST(ScriptedPlatform, PropertiesDialogAndJobsAreRecorded) {
    TestPlatform ui;
    Platform& p = Platform::current();
    ui.setPrinters({{"Laser", "HP LaserJet"}}, 0);
    EXPECT_FALSE(p.printerProperties(0)); // no handler: cancelled
    ui.setPrinterPropertiesHandler([](int, PrinterDetails& d) {
        d.paperName = "A5";
        d.paper = QSizeF(584, 826);
        return true;
    });
    EXPECT_TRUE(p.printerProperties(0));
    EXPECT_EQ(p.printerDetails(0).paperName, "A5");

    PrinterDetails d = p.printerDetails(0);
    d.minMargins = QMarginsF(20, 10, 0, 0);
    ui.setPrinterDetails(0, d);
    QString error;
    auto job = p.beginGraphicJob(0, {"Faktura", 2, {}, {}, false}, &error);
    ASSERT_TRUE(job);
    QPainter* painter = job->beginPage();
    ASSERT_TRUE(painter);
    painter->fillRect(QRect(0, 0, 5, 5), Qt::black); // at the printable area's corner
    EXPECT_TRUE(job->endPage());
    ASSERT_TRUE(job->beginPage());
    EXPECT_TRUE(job->endPage());
    EXPECT_TRUE(job->finish());
    job.reset();
    auto jobs = ui.printJobs();
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_EQ(jobs[0].options.jobName, "Faktura");
    EXPECT_EQ(jobs[0].options.copies, 2);
    ASSERT_EQ(jobs[0].pages.size(), 2);
    EXPECT_EQ(jobs[0].pages[0].size(), QSize(584, 826));
    EXPECT_EQ(jobs[0].pages[0].pixelColor(22, 12), QColor(Qt::black));
    EXPECT_EQ(jobs[0].pages[0].pixelColor(18, 12), QColor(Qt::white));
    EXPECT_FALSE(jobs[0].aborted);

    // A job dropped before it ends is aborted; a refused one is not recorded.
    {
        auto dropped = p.beginGraphicJob(0, {"Zrušená", 1, {}, {}, false}, &error);
        ASSERT_TRUE(dropped->beginPage());
    }
    EXPECT_TRUE(ui.printJobs().back().aborted);
    ui.failNextPrintJob("Tiskárna je vypnutá.");
    EXPECT_FALSE(p.printRaw(0, {"Text", 1, {}, {}, false}, "abc", &error));
    EXPECT_EQ(error, "Tiskárna je vypnutá.");
    EXPECT_TRUE(p.printRaw(0, {"Text", 3, {}, {}, false}, "abc\r\n", &error));
    jobs = ui.printJobs();
    ASSERT_EQ(jobs.size(), 3);
    EXPECT_EQ(jobs[2].kind, RecordedPrintJob::Kind::Raw);
    EXPECT_EQ(jobs[2].raw, QByteArray("abc\r\n"));
    EXPECT_EQ(jobs[2].options.copies, 3);
    EXPECT_FALSE(p.printRaw(1, {"Text", 1, {}, {}, false}, "abc", &error));
}

TEST(TextOnlyPrinter, DriverDescriptionsAndConfiguredNames) {
    EXPECT_TRUE(isTextOnlyPrinter({"p", "Generic Text-Only Printer"}, {}));
    EXPECT_TRUE(isTextOnlyPrinter({"p", "Generic text only"}, {}));
    EXPECT_TRUE(isTextOnlyPrinter({"p", "Raw Text Queue"}, {}));
    EXPECT_FALSE(isTextOnlyPrinter({"p", "Generic PostScript Printer"}, {}));
    EXPECT_FALSE(isTextOnlyPrinter({"Textová", ""}, {"Textová 2"}));
    EXPECT_TRUE(isTextOnlyPrinter({"OKI ML", ""}, {"oki ml"}));
}

// --- devices and the opener ------------------------------------------------------------------

TEST(CashDrawer, OperationsGoThroughThePlatformAndFailuresAreIgnored) {
    TestPlatform ui;
    ui.setDrawerResult(false);
    ZasuvkaInit();
    ZasuvkaOtevri();
    EXPECT_EQ(ui.drawerCommands(),
              (QList<DrawerCommand>{DrawerCommand::Init, DrawerCommand::Open}));
    EXPECT_TRUE(ui.shown().isEmpty());
}

TEST(CashDrawer, DeviceReceivesTheCardBytesOrTheConfiguredOnes) {
    QTemporaryDir dir;
    MachineConfig cfg = MachineConfig::defaults();
    cfg.drawerDevice = dir.filePath("drawer");
    QFile(cfg.drawerDevice).open(QIODevice::WriteOnly);

    CashDrawer card(cfg);
    EXPECT_TRUE(card.run(DrawerCommand::Init));
    EXPECT_TRUE(card.run(DrawerCommand::Open));
    EXPECT_EQ(readAll(cfg.drawerDevice), QByteArray("\xAC\x05"));

    ASSERT_TRUE(parseHexBytes("1B 70 00 19 FA", &cfg.drawerOpenBytes));
    cfg.drawerInitBytes.clear(); // nothing to send: counts as done
    QFile(cfg.drawerDevice).remove();
    QFile(cfg.drawerDevice).open(QIODevice::WriteOnly);
    CashDrawer printer(cfg);
    EXPECT_TRUE(printer.run(DrawerCommand::Init));
    EXPECT_TRUE(printer.run(DrawerCommand::Open));
    EXPECT_EQ(readAll(cfg.drawerDevice), QByteArray("\x1B\x70\x00\x19\xFA", 5));
}

TEST(CashDrawer, CharacterDeviceIsWritten) {
    MachineConfig cfg = MachineConfig::defaults();
    cfg.drawerDevice = "/dev/null";
    EXPECT_TRUE(CashDrawer(cfg).run(DrawerCommand::Open));
}

TEST(CashDrawer, UnreachableDeviceOrNoPortsReportsFalse) {
    QTemporaryDir dir;
    MachineConfig cfg = MachineConfig::defaults();
    cfg.drawerDevice = dir.filePath("missing/dir/drawer");
    EXPECT_FALSE(CashDrawer(cfg).run(DrawerCommand::Open));
    cfg.drawerDevice.clear();
    cfg.drawerPorts = false;
    EXPECT_FALSE(CashDrawer(cfg).run(DrawerCommand::Init));
}

TEST(QtPlatform, CashDrawerFollowsItsMachineConfiguration) {
    QTemporaryDir dir;
    MachineConfig cfg = MachineConfig::defaults();
    cfg.drawerDevice = dir.filePath("drawer");
    QtPlatform qt(cfg);
    ScopedPlatform use(qt);
    ZasuvkaOtevri();
    EXPECT_EQ(readAll(cfg.drawerDevice), QByteArray("\x05"));
}

TEST(Opener, ScriptedOpenerRecordsAndQtRefusesAMissingFile) {
    TestPlatform ui;
    ui.setOpenResult(false);
    EXPECT_FALSE(Platform::current().openDocument("/tmp/export.xlsx"));
    EXPECT_EQ(ui.openedDocuments(), QStringList{"/tmp/export.xlsx"});

    QtPlatform qt(MachineConfig::defaults());
    QTemporaryDir dir;
    EXPECT_FALSE(qt.openDocument(dir.filePath("neni.xlsx")));
}

TEST(QtPlatform, ClipboardCarriesCustomFormatBesideText) {
    QtPlatform qt(MachineConfig::defaults());
    qt.setClipboard("Výrobek 123", "CF_VUZVyr", QByteArray("123;Barva", 9));
    EXPECT_EQ(qt.clipboardText(), "Výrobek 123");
    EXPECT_TRUE(qt.clipboardHasFormat("CF_VUZVyr"));
    EXPECT_FALSE(qt.clipboardHasFormat("CF_VUZ"));
    EXPECT_EQ(qt.clipboardData("CF_VUZVyr"), QByteArray("123;Barva"));
}

TEST(QtPlatform, WithoutAScreenBoxesCloseAsWithEscapeInsteadOfWaiting) {
    QtPlatform qt(MachineConfig::defaults());
    EXPECT_EQ(qt.messageBox({"Dotaz", "Pokračovat?", MessageIcon::Question,
                             Button::Yes | Button::No | Button::Cancel}),
              Button::Cancel);
    QString value = "x";
    EXPECT_FALSE(qt.inputQuery("Rozsah", "Zadej město", value, false));
    EXPECT_EQ(value, "x");
    QDialog form;
    EXPECT_EQ(qt.execModal(form), QDialog::Rejected);
    EXPECT_EQ(qt.openFileName("Otevřít", "/tmp", "*"), "");
}

TEST(QtPlatform, PrinterIndexesStayWithinTheSystemList) {
    QtPlatform qt(MachineConfig::defaults());
    const int count = int(qt.printers().size());
    if (count > 0) {
        EXPECT_GE(qt.defaultPrinterIndex(), 0);
        EXPECT_LT(qt.defaultPrinterIndex(), count);
    } else {
        EXPECT_EQ(qt.defaultPrinterIndex(), -1);
    }
    EXPECT_FALSE(qt.selectPrinter(-1));
    EXPECT_FALSE(qt.selectPrinter(count));
    EXPECT_EQ(qt.currentPrinterIndex(), qt.defaultPrinterIndex());
    EXPECT_FALSE(qt.isTextPrinter(count));
}

TEST(QtPlatform, GraphicJobIntoAPdfFileOfTheSystem) {
    QtPlatform qt(MachineConfig::defaults());
    EXPECT_FALSE(qt.printerDetails(int(qt.printers().size())).valid());
    QTemporaryDir dir;
    const QString pdf = dir.filePath("tisk.pdf");
    QString error;
    auto job = qt.beginGraphicJob(-1, {"Zkouška", 1, pdf, QSizeF(826, 1169), true}, &error);
    ASSERT_TRUE(job) << error.toStdString();
    QPainter* painter = job->beginPage();
    ASSERT_TRUE(painter);
    painter->setFont(QFont("Liberation Sans", 20));
    painter->drawText(QPointF(job->dpiX(), job->dpiY()), "Žluťoučký kůň");
    EXPECT_TRUE(job->endPage());
    EXPECT_TRUE(job->finish());
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5) == "%PDF-");
    QProcess p;
    p.start("pdfinfo", {pdf});
    if (p.waitForFinished(20000) && p.exitCode() == 0) {
        const QString info = QString::fromUtf8(p.readAllStandardOutput());
        EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+84[12](\\.\\d+)? x 59[45]")))
            << info.toStdString();
    }
}

TEST(QtPlatform, BusyCursorIsBalanced) {
    QtPlatform qt(MachineConfig::defaults());
    ScopedPlatform use(qt);
    {
        BusyCursor busy;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    qt.popBusyCursor(); // one too many is harmless
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// --- machine configuration -------------------------------------------------------------------

class MachineConfigTest : public testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("conf/brix.ini"); }
    QString log() const { return dir.filePath("brix.log"); }
    QString logText() const { return decode(readAll(log())); }
    void write(const QByteArray& text) {
        QDir().mkpath(dir.filePath("conf"));
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
};

TEST_F(MachineConfigTest, FirstStartWritesTheDefaults) {
    MachineConfig c = MachineConfig::load(path(), log());
    EXPECT_TRUE(QFile::exists(path()));
    EXPECT_FALSE(QFile::exists(log()));
    EXPECT_EQ(c.userName, "SYSDBA");
    EXPECT_EQ(c.password.size(), 9);
    EXPECT_TRUE(c.database.endsWith('/'));
    EXPECT_EQ(c.drawerInitBytes, QByteArray("\xAC"));
    EXPECT_EQ(c.drawerOpenBytes, QByteArray("\x05"));

    MachineConfig again = MachineConfig::load(path(), log());
    EXPECT_EQ(again.database, c.database);
    EXPECT_EQ(again.drawerOpenBytes, c.drawerOpenBytes);
    EXPECT_FALSE(QFile::exists(log()));
}

TEST_F(MachineConfigTest, ValuesAreReadAndEmptyOnesTakeTheirDefaults) {
    write("[Database]\nDatabase=\nUserName=ADMIN\n"
          "[Zasuvka]\nZarizeni=/dev/ttyUSB0\nPorty=false\nOtevri=1B 70 00\n"
          "[Tiskarny]\nTextove=OKI ML| Kasa, přední\n");
    MachineConfig c = MachineConfig::load(path(), log());
    EXPECT_EQ(c.database, MachineConfig::defaults().database);
    EXPECT_EQ(c.userName, "ADMIN");
    EXPECT_EQ(c.password, MachineConfig::defaults().password);
    EXPECT_EQ(c.drawerDevice, "/dev/ttyUSB0");
    EXPECT_FALSE(c.drawerPorts);
    EXPECT_EQ(c.drawerInitBytes, QByteArray("\xAC"));
    EXPECT_EQ(c.drawerOpenBytes, QByteArray("\x1B\x70\x00", 3));
    EXPECT_TRUE(c.isTextPrinterName("oki ml"));
    EXPECT_TRUE(c.isTextPrinterName("Kasa, přední"));
    EXPECT_FALSE(c.isTextPrinterName("Kasa"));
    EXPECT_FALSE(QFile::exists(log()));
}

TEST_F(MachineConfigTest, SaveAndLoadRoundTrip) {
    MachineConfig c = MachineConfig::defaults();
    c.database = "/srv/brix/";
    c.drawerDevice = "/dev/lp0";
    c.drawerPorts = false;
    c.textPrinters = {"Epson LX, kancelář", "Kasa"};
    QDir().mkpath(dir.filePath("conf"));
    ASSERT_TRUE(c.save(path()));
    MachineConfig r = MachineConfig::load(path(), log());
    EXPECT_EQ(r.database, "/srv/brix/");
    EXPECT_EQ(r.drawerDevice, "/dev/lp0");
    EXPECT_FALSE(r.drawerPorts);
    EXPECT_EQ(r.textPrinters, c.textPrinters);
}

TEST_F(MachineConfigTest, BadValuesAreLoggedAndTheRestIsUsed) {
    write("[Database]\nUserName=KASA\n[Zasuvka]\nInit=XYZ\nOtevri=0\nPorty=mozna\n");
    MachineConfig c = MachineConfig::load(path(), log());
    EXPECT_EQ(c.userName, "KASA");
    EXPECT_EQ(c.drawerInitBytes, QByteArray("\xAC"));
    EXPECT_EQ(c.drawerOpenBytes, QByteArray("\x05"));
    EXPECT_TRUE(c.drawerPorts);
    QStringList lines = logText().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    for (const QString& line : lines) {
        EXPECT_TRUE(QRegularExpression(R"(^\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d General error )"
                                       R"(Load_Ini_Value: )")
                        .match(line)
                        .hasMatch())
            << line.toStdString();
    }
    EXPECT_TRUE(lines[0].contains("Zasuvka/Porty"));
    EXPECT_TRUE(lines[1].contains("Zasuvka/Init"));
}

TEST_F(MachineConfigTest, UnusableFileIsLoggedAndDefaultsHold) {
    QDir().mkpath(path()); // a directory where the file should be
    MachineConfig c = MachineConfig::load(path(), log());
    EXPECT_EQ(c.userName, "SYSDBA");
    EXPECT_TRUE(logText().contains("Nelze číst konfiguraci"));

    // The log is appended to, never rewritten.
    MachineConfig::load(path(), log());
    EXPECT_EQ(logText().count("General error"), 2);
}

TEST(MachineConfigHex, ParsesPairsOnly) {
    QByteArray b;
    EXPECT_TRUE(parseHexBytes("ac", &b));
    EXPECT_EQ(b, QByteArray("\xAC"));
    EXPECT_TRUE(parseHexBytes("1b,70, 00", &b));
    EXPECT_EQ(b.size(), 3);
    EXPECT_FALSE(parseHexBytes("1b7", &b));
    EXPECT_FALSE(parseHexBytes("zz", &b));
    EXPECT_EQ(b.size(), 3); // untouched on failure
    EXPECT_EQ(hexBytesText(QByteArray("\x1B\x70", 2)), "1B 70");
}
