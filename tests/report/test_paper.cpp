// Paper formats: the built-in list, the user formats of the INI file, finding a format for a
// size, the format dialog, and the rules that fit a report page on a printer's sheet.

#include "codec.h"
#include "formatpapiru.h"
#include "paper.h"
#include "report_test_util.h"
#include "sestava.h"

#include "scripted_gtest.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace brix::report;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(PaperFormats, BuiltInFormatsKeepTheirNamesAndSizes) {
    const TListFormatu list;
    ASSERT_EQ(list.count(), 18);
    EXPECT_EQ(list.items[0].name, QStringLiteral("Uživat. (210 x 297 mm)"));
    EXPECT_EQ(list.items[1].name, QStringLiteral("Skládaný (8.5 x 12\")"));
    EXPECT_EQ(list.items[10].name, QStringLiteral("A6 (105 x 148.5mm)"));
    EXPECT_EQ(list.items[15].name, QStringLiteral("Obálka otoč.(114 x 162 mm)"));
    EXPECT_EQ(list.items[2].width, 1500);
    EXPECT_EQ(list.items[14].height, 637);
}

TEST(PaperFormats, FindTakesTheFirstFormatWithinOnePercent) {
    TListFormatu list;
    EXPECT_EQ(list.find(827, 1170), 0); // "Uživat." before A4
    EXPECT_EQ(list.find(1500, 1200), 2);
    EXPECT_EQ(list.find(843, 1110), 3); // Letter, 0.99 × 850 ≤ 843 and 1110 ≤ 1.01 × 1100
    EXPECT_EQ(list.count(), 18);
    // Outside every format: appended, but not confirmed.
    const int k = list.find(1000, 500);
    EXPECT_EQ(k, 18);
    EXPECT_EQ(list.items[18].name, kUserFormatName);
    EXPECT_FALSE(list.items[18].confirmed);
    EXPECT_EQ(list.find(1000, 500), 18); // found the second time, not appended again
}

TEST(PaperFormats, UserFormatsRoundTripThroughTheIniFile) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("SestDLL.ini"));
    // Other sections and keys of the file survive.
    ASSERT_TRUE(
        brix::writeTextLines(ini, {"[Navrh]", "Mrizka=1", "[FormatyPapiru]", "PocetFormatu=0"}));
    TListFormatu list;
    list.load(ini);
    list.items.push_back({QStringLiteral("Štítek, malý \"A\""), 300, 200, true});
    list.items.push_back({QStringLiteral("Páska"), 320, 5000, true});
    list.find(999, 111); // unconfirmed: not written
    ASSERT_TRUE(list.save(ini));

    const QString text = brix::decode(fileBytes(ini));
    EXPECT_TRUE(text.contains(QStringLiteral("Mrizka=1")));
    EXPECT_TRUE(text.contains(QStringLiteral("PocetFormatu=2\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Format1=\"Štítek, malý \"\"A\"\"\",300,200\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Format2=Páska,320,5000\r\n")));
    EXPECT_TRUE(fileBytes(ini).contains("P\xe1ska")); // Windows-1250

    for (int round = 0; round < 2; ++round) {
        TListFormatu again;
        again.load(ini);
        ASSERT_EQ(again.count(), 20);
        EXPECT_EQ(again.items[18].name, QStringLiteral("Štítek, malý \"A\""));
        EXPECT_EQ(again.items[18].width, 300);
        EXPECT_EQ(again.items[19].height, 5000);
        ASSERT_TRUE(again.save(ini));
    }
    // Once confirmed, the found format is kept.
    TListFormatu withFound;
    withFound.load(ini);
    const int k = withFound.find(999, 111);
    withFound.confirm(k);
    ASSERT_TRUE(withFound.save(ini));
    TListFormatu reread;
    reread.load(ini);
    ASSERT_EQ(reread.count(), 21);
    EXPECT_EQ(reread.items[20].name, kUserFormatName);
}

TEST(PaperFormats, TheReportsIniFileIsFoundInTheDataRootIgnoringCase) {
    QTemporaryDir root;
    ASSERT_TRUE(
        brix::writeTextLines(root.filePath(QStringLiteral("sestdll.INI")),
                             {"[FormatyPapiru]", "PocetFormatu=1", "Format1=Páska,300,900"}));
    TSestava report;
    report.programDir = root.path();
    TListFormatu list;
    list.load(report.iniFilePath());
    ASSERT_EQ(list.count(), 19);
    EXPECT_EQ(list.items[18].name, QStringLiteral("Páska"));
}

TEST(PaperFormats, UnreadableLinesGiveEmptyFormatsAndLongNamesAreCut) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("SestDLL.ini"));
    ASSERT_TRUE(
        brix::writeTextLines(ini, {"[FormatyPapiru]", "PocetFormatu=4", "Format1=Bez rozměrů",
                                   "Format2=Velmi dlouhý název formátu, který se nevejde,100,200",
                                   "Format4=\"Neuzavřený,100,200"}));
    TListFormatu list;
    list.load(ini);
    ASSERT_EQ(list.count(), 22);
    EXPECT_EQ(list.items[18].name, QStringLiteral("Bez rozměrů"));
    EXPECT_EQ(list.items[18].width, 0);
    EXPECT_EQ(list.items[19].name, QStringLiteral("Velmi dlouhý název formátu"));
    EXPECT_EQ(list.items[19].width, 0);              // the rest of the name is not a number
    EXPECT_EQ(list.items[20].name, kUserFormatName); // Format3 is missing
    EXPECT_EQ(list.items[20].width, 0);
    EXPECT_EQ(list.items[21].name, QStringLiteral("Neuzavřený,100,200"));

    EXPECT_EQ(
        parseFormatLine(QStringLiteral("%1,10,20").arg(QString(40, QLatin1Char('x')))).name.size(),
        31);
    // A missing file gives the built-in formats.
    TListFormatu none;
    none.load(dir.filePath(QStringLiteral("neni.ini")));
    EXPECT_EQ(none.count(), 18);
}

TEST(PaperFormats, StoreKeepsOldSizesForBadInputAndNeverChangesBuiltIns) {
    TListFormatu list;
    const int k = list.find(500, 700);
    EXPECT_TRUE(
        list.store(k, QStringLiteral("  Účtenka  "), QStringLiteral("abc"), QStringLiteral("-5")));
    EXPECT_EQ(list.items[size_t(k)].name, QStringLiteral("Účtenka"));
    EXPECT_EQ(list.items[size_t(k)].width, 500);
    EXPECT_EQ(list.items[size_t(k)].height, 700);
    EXPECT_TRUE(list.store(k, QString(), QStringLiteral("320,4"), QStringLiteral("0")));
    EXPECT_EQ(list.items[size_t(k)].name, QStringLiteral("Účtenka"));
    EXPECT_EQ(list.items[size_t(k)].width, 320);
    EXPECT_EQ(list.items[size_t(k)].height, 700);
    EXPECT_FALSE(
        list.store(8, QStringLiteral("Moje A4"), QStringLiteral("1"), QStringLiteral("1")));
    EXPECT_EQ(list.items[8].name, QStringLiteral("A4 (210 x 297 mm)"));
}

TEST(PaperFormats, TheFormatDialogEditsUserFormatsOnly) {
    brix::test::guiApp();
    brix::TestPlatform ui;
    TListFormatu list;
    const int k = list.find(400, 600);
    ui.answerModal(
        [](QDialog& d) {
            auto& dlg = static_cast<TDlgFormatPapiru&>(d);
            EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Formát papíru"));
            EXPECT_FALSE(dlg.EditNazev->isReadOnly());
            EXPECT_EQ(dlg.EditSirka->text(), QStringLiteral("400"));
            dlg.EditNazev->setText(QStringLiteral("Vizitka"));
            dlg.EditSirka->setText(QStringLiteral("350"));
            dlg.EditVyska->setText(QStringLiteral("x"));
            dlg.ButtonKonec->click();
        },
        QStringLiteral("DlgFormatPapiru"));
    EXPECT_TRUE(EditFormat(list, k, true));
    EXPECT_EQ(list.items[size_t(k)].name, QStringLiteral("Vizitka"));
    EXPECT_EQ(list.items[size_t(k)].width, 350);
    EXPECT_EQ(list.items[size_t(k)].height, 600);

    // "Zpět" changes nothing.
    ui.answerModal([](QDialog& d) {
        auto& dlg = static_cast<TDlgFormatPapiru&>(d);
        dlg.EditSirka->setText(QStringLiteral("111"));
        dlg.ButtonZpet->click();
    });
    EXPECT_FALSE(EditFormat(list, k, true));
    EXPECT_EQ(list.items[size_t(k)].width, 350);

    // A built-in format is shown read-only even when asked to edit.
    ui.answerModal([](QDialog& d) {
        auto& dlg = static_cast<TDlgFormatPapiru&>(d);
        EXPECT_TRUE(dlg.EditNazev->isReadOnly());
        EXPECT_TRUE(dlg.EditVyska->isReadOnly());
        EXPECT_EQ(dlg.EditNazev->text(), QStringLiteral("A4 (210 x 297 mm)"));
        dlg.ButtonKonec->click();
    });
    EXPECT_TRUE(EditFormat(list, 8, true));
    EXPECT_EQ(list.items[8].width, 826);
}

TEST(PaperOnSheet, OnlyAPageOverOnePercentLargerNeedsTheChoice) {
    const QSizeF a4(826, 1169);
    EXPECT_FALSE(pageExceedsSheet(a4, a4));
    EXPECT_FALSE(pageExceedsSheet(QSizeF(834, 1180), a4)); // within 1 %
    EXPECT_TRUE(pageExceedsSheet(QSizeF(835, 1169), a4));
    EXPECT_TRUE(pageExceedsSheet(QSizeF(1500, 1200), a4));
    EXPECT_FALSE(pageExceedsSheet(QSizeF(584, 826), a4)); // smaller pages print as they are

    PageSetup landscape;
    landscape.landscape = true;
    EXPECT_EQ(reportPaper(landscape), QSizeF(1169, 826));
    EXPECT_TRUE(pageExceedsSheet(reportPaper(landscape), a4));
}

TEST(PaperOnSheet, ReducingAndTilingAWidePage) {
    const QSizeF page(1500, 1200), a4(826, 1169);
    EXPECT_EQ(reducedPercent(page, a4), 55);
    const SheetPlan tile = planSheets(OversizeMode::Tile, page, a4, QMarginsF(50, 70, 50, 70));
    EXPECT_EQ(tile.columns, 2); // 1500 - 826 = 674 left, the second sheet covers 726
    EXPECT_EQ(tile.rows, 2);    // 1200 - 1169 = 31 > 11.69
    EXPECT_DOUBLE_EQ(tile.stepX, 726);
    EXPECT_DOUBLE_EQ(tile.stepY, 1029);
    EXPECT_EQ(tileCount(1169, 1169, 70, 70), 1);
    EXPECT_EQ(tileCount(1180, 1169, 70, 70), 1); // 11 < 1 % of the sheet
    EXPECT_EQ(tileCount(3000, 826, 50, 50), 4);  // 826 + 3 × 726 covers 3004
    EXPECT_EQ(tileCount(3012, 826, 50, 50), 4);  // 8 left is within 1 % of the sheet
    EXPECT_EQ(tileCount(3020, 826, 50, 50), 5);
}

TEST(PaperOnSheet, TilingIsImpossibleWhenTheMarginsFillTheSheet) {
    // Margins as wide as the sheet would need endless sheets: the option is not offered.
    EXPECT_EQ(tileCount(1500, 826, 413, 413), 0);
    EXPECT_EQ(tileCount(1500, 826, 500, 500), 0);
    const SheetPlan p = planSheets(OversizeMode::Tile, QSizeF(1500, 1200), QSizeF(826, 1169),
                                   QMarginsF(413, 70, 413, 70));
    EXPECT_EQ(p.columns, 0);
    EXPECT_EQ(p.rows, 0);
}

TEST(PaperOnSheet, MarginsAgainstThePrinter) {
    PageSetup page;                                // margins 50, 50, 70, 70
    EXPECT_TRUE(marginsFitPrinter(page, nullptr)); // no printer: nothing to blame
    const QMarginsF small(25, 25, 25, 25), wide(60.2, 25, 25, 80);
    EXPECT_TRUE(marginsFitPrinter(page, &small));
    EXPECT_FALSE(marginsFitPrinter(page, &wide));
    const PageSetup raised = marginsRaisedToPrinter(page, wide);
    EXPECT_EQ(raised.marginLeft, 61);
    EXPECT_EQ(raised.marginRight, 50);
    EXPECT_EQ(raised.marginTop, 70);
    EXPECT_EQ(raised.marginBottom, 80);
    EXPECT_TRUE(marginsFitPrinter(raised, &wide));
}
