// The oversized-page dialog offscreen: the sizes it shows, the reduced scale, the options and
// when tiling is offered, turning the printer's paper, the printer's properties, and the
// answers it gives the printing.

#include "report_test_util.h"
#include "talivzoom.h"

#include "scripted_gtest.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace brix::report;

namespace {

PageSetup skladany() {
    PageSetup p;
    p.paperWidth = 1500;
    p.paperHeight = 1200;
    return p;
}

} // namespace

TEST(TalivZoom, ShowsThePageTheSheetAndTheReducedScale) {
    brix::test::guiApp();
    brix::TestPlatform ui;
    ui.setPrinters({{"Laser", "HP LaserJet"}}, 0);
    TFormTalivReportZoom dlg(0, skladany());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Taliv - možnosti tisku"));
    EXPECT_EQ(dlg.LabelSestava->text(), QStringLiteral("1500 x 1200"));
    EXPECT_EQ(dlg.LabelMedium->text(), QStringLiteral("826 x 1169"));
    EXPECT_EQ(dlg.LabelMeritko->text(), QStringLiteral("55 %"));
    EXPECT_TRUE(dlg.RadioZmensit->isChecked());
    EXPECT_EQ(dlg.plan().percent, 55);
    dlg.RadioListy->setChecked(true);
    EXPECT_EQ(dlg.plan().columns, 2);
    EXPECT_EQ(dlg.plan().rows, 2);
    dlg.RadioOriznout->setChecked(true);
    EXPECT_EQ(dlg.plan().percent, 100);
    EXPECT_EQ(dlg.plan().columns, 1);

    // Turned paper: 1169 wide, 826 high.
    dlg.ButtonOtocit->click();
    EXPECT_TRUE(brix::Platform::current().printerDetails(0).landscape);
    EXPECT_EQ(dlg.LabelMedium->text(), QStringLiteral("1169 x 826"));
    EXPECT_EQ(dlg.LabelMeritko->text(), QStringLiteral("68 %")); // 826 × 100 / 1200
}

TEST(TalivZoom, TilingIsNotOfferedWhenTheMarginsFillTheSheet) {
    brix::test::guiApp();
    brix::TestPlatform ui;
    ui.setPrinters({{"Laser", "HP LaserJet"}}, 0);
    PageSetup wide = skladany();
    wide.marginLeft = wide.marginRight = 420; // 840 of the sheet's 826
    TFormTalivReportZoom dlg(0, wide);
    EXPECT_FALSE(dlg.RadioListy->isEnabled());
    dlg.RadioListy->setChecked(true);
    EXPECT_EQ(dlg.mode(), OversizeMode::Reduce);

    // A wider sheet from the printer's properties makes room again.
    ui.setPrinterPropertiesHandler([](int, brix::PrinterDetails& d) {
        d.paper = QSizeF(1169, 1652);
        return true;
    });
    dlg.ButtonTiskarna->click();
    EXPECT_EQ(dlg.LabelMedium->text(), QStringLiteral("1169 x 1652"));
    EXPECT_TRUE(dlg.RadioListy->isEnabled());
}

TEST(TalivZoom, TheChooserAnswersWithThePlanOrCancels) {
    brix::test::guiApp();
    brix::TestPlatform ui;
    ui.setPrinters({{"Laser", "HP LaserJet"}}, 0);
    const OversizeChooser choose = zoomDialogChooser();
    ui.answerModal(
        [](QDialog& d) {
            auto& dlg = static_cast<TFormTalivReportZoom&>(d);
            dlg.RadioListy->setChecked(true);
            dlg.ButtonTisknout->click();
        },
        QStringLiteral("FormTalivReportZoom"));
    const std::optional<SheetPlan> tiled = choose(OversizeQuestion{0, skladany()});
    ASSERT_TRUE(tiled);
    EXPECT_EQ(tiled->mode, OversizeMode::Tile);
    EXPECT_EQ(tiled->columns * tiled->rows, 4);

    ui.answerModal([](QDialog& d) { static_cast<TFormTalivReportZoom&>(d).ButtonStorno->click(); });
    EXPECT_FALSE(choose(OversizeQuestion{0, skladany()}));
}
