// The export dialog offscreen: preset directory and format, the work on OK, errors shown, Escape.
#include "export/export_dialog.h"
#include "scripted_gtest.h"

#include "qt_app.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace brix;

namespace {

using test::app;

TEST(ExportDialog, ExportsOnOkIntoTheDataRootAndReportsFailures) {
    app();
    TestPlatform ui;
    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    Table t(*db, "Ciselnik\\Sklady");
    t.open();
    t.insert();
    t.field("Cis_Sklad").setString("HL");
    t.field("Nazev").setString("Hlavní; sklad");
    t.post();

    TFormulExportDat d;
    EXPECT_EQ(d.EditCesta->text(), "ExportDbf\\");
    EXPECT_TRUE(d.RadioParadox->isChecked());
    ASSERT_TRUE(d.setMaster(&t));
    d.EditCesta->setText("exportdbf\\");
    d.RadioText->setChecked(true);
    // What was written, where, and how many records.
    ui.answer(Button::Ok,
              "Záznamů: 1 do souboru " +
                  QDir::toNativeSeparators(dir.path() + "/ExportDbf/TableSklady.txt"),
              "Informace");
    d.findChild<QPushButton*>("ButtonOk")->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    // The existing directory "ExportDbf" is found whatever the spelling.
    QFile f(dir.path() + "/ExportDbf/TableSklady.txt");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith("Cis_Sklad;Nazev;"));
    EXPECT_TRUE(text.contains("\"Hlavn\xed; sklad\";")); // Windows-1250, quoted for its ";"

    // A target that cannot be written: the error is shown and the dialog stays open.
    QFile blocker(dir.path() + "/soubor");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TFormulExportDat d2;
    d2.setMaster(&t);
    d2.EditCesta->setText(dir.path() + "/soubor/pod");
    d2.RadioDbase->setChecked(true);
    ui.answer(Button::Ok, {}, "Chyba");
    d2.ButtonOkClick();
    EXPECT_NE(d2.result(), QDialog::Accepted);
    ASSERT_FALSE(ui.shown().isEmpty());
    EXPECT_EQ(ui.shown().back().caption, "Chyba");
    // Corrected, the same dialog exports: the default directory is made under the data root
    // when the data root has none, and the file is named as the form gives it.
    ASSERT_TRUE(QDir(dir.path() + "/ExportDbf").removeRecursively());
    d2.EditCesta->setText("ExportDbf\\");
    d2.setNames("TableSklady", {});
    ui.answer(Button::Ok, "TableSklady.dbf", "Informace");
    d2.ButtonOkClick();
    EXPECT_EQ(d2.result(), QDialog::Accepted);
    EXPECT_TRUE(QFile::exists(dir.path() + "/ExportDbf/TableSklady.dbf"));

    // No master: the check says so and OK does nothing.
    TFormulExportDat d3;
    Table closed(*db, "Ciselnik\\Sklady");
    ui.answer(Button::Ok, "není otevřena", "Chyba");
    EXPECT_FALSE(d3.setMaster(&closed));
    d3.show();
    QTest::keyClick(&d3, Qt::Key_Escape);
    EXPECT_EQ(d3.result(), QDialog::Rejected);
}

TEST(ExportDialog, FilesAreNamedAfterTheTablesComponent) {
    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    EXPECT_EQ(exporting::componentName(db->table("Ciselnik\\obor")), "TableObor");
    EXPECT_EQ(exporting::componentName(db->table("Ext_Ucty\\DodListy\\Hla_DL")), "TableHlaDL");
}

TEST(ExportDialog, WorkbookIsOpenedOrItsPathReported) {
    app();
    TestPlatform ui;
    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    Table t(*db, "Ciselnik\\Sklady");
    t.open();
    QString path = ExportDoTabulky(t);
    ASSERT_FALSE(path.isEmpty());
    EXPECT_TRUE(path.startsWith(dir.path() + "/Prac_Db/"));
    EXPECT_EQ(ui.openedDocuments(), QStringList({path}));
    ui.setOpenResult(false);
    ui.answer(Button::Ok, "TableSklady_2.xlsx", "Chyba");
    EXPECT_TRUE(ExportDoTabulky(t).endsWith("TableSklady_2.xlsx"));
}

} // namespace
