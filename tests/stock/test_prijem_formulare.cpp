// The receipt register and entry form offscreen: a receipt made, filled, closed, reversed and
// closed again through the forms; deleting a receipt with items; leaving an edited item with
// Cancel; the import of receipts from foreign tables; the refusals and messages of closed and
// open receipts; VAT added to the prices; the ranges; the item report's work table.
#include "sklad_fixture.h"

#include "golden_files.h"

#include "formats/table.h"
#include "formul_iprij_grid.h"
#include "formul_iprij_vstup.h"
#include "prijem.h"
#include "rizeni_dokladu.h"
#include "uzavreni.h"
#include "vyber_vyrobku.h"

#include "datagrid.h"
#include "demo.h"
#include "dialogs/criteria_dialogs.h"
#include "editbox.h"
#include "statusbar.h"
#include "util/path_resolver.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>

namespace brix::test {
namespace {

class PrijemFormulareTest : public SkladTest {
protected:
    void SetUp() override {
        SkladTest::SetUp();
        // The forms read the run's settings; the fixture's are the defaults.
        vyber = std::make_unique<VyberVyrobkuBezVolby>(*dm);
        grid =
            std::make_unique<TFormulIPrijGrid>(*dm, *vyber, [] { return QStringLiteral("NOVAK"); });
        grid->openRegister();
        ui.clearShown();
    }
    void TearDown() override {
        grid->closeRegister();
        grid.reset();
        vyber.reset();
        SkladTest::TearDown();
    }

    Table& h() { return *dm->TableHlaPrij; }
    TFormulIPrijVstup& f() { return grid->vstup(); }

    // The boxes' texts, then the box left as the user leaves it.
    static void napis(EditBox* b, const QString& text) { b->setText(text); }

    // "&Nový" with the entry form driven by `kroky`.
    void novy(const std::function<void(TFormulIPrijVstup&)>& kroky) {
        ui.answerModal([&](QDialog&) { kroky(f()); }, QStringLiteral("TFormulIPrijVstup"));
        grid->ClickNovyZaznam();
    }

    // The items page: a new item of the product with the quantity, finished by Enter.
    void polozka(TFormulIPrijVstup& v, const QString& vyrobek, const QString& mnozstvi) {
        v.ClickNovaPol();
        napis(v.EditVyrobek, vyrobek);
        v.ExitVyrobek();
        v.EditMnozstvi->setText(mnozstvi);
        v.ExitMnozstvi();
        v.ClickUlozPol();
    }

    // A receipt of 5 pieces of product 1 and 3 of product 2 at their purchase prices, made
    // through the forms; its number.
    int prijemka() {
        int cislo = 0;
        novy([&](TFormulIPrijVstup& v) {
            napis(v.EditNaSklad, "1");
            v.PrenosSkladu();
            v.ComboDruhCeny->setCurrentText("NC");
            v.ButtonPolozkyClick();
            polozka(v, "1", "5");
            polozka(v, "2", "3");
            cislo = int(h().field("CIS_UCTU").asInteger());
            v.ButtonOkClick();
        });
        return cislo;
    }

    bool najdi(int cislo) {
        if (!h().findKey({cislo})) return false;
        grid->DbGrid1->syncToTable();
        return true;
    }

    QStringList boxy() {
        QStringList out;
        for (const ShownBox& b : ui.shown())
            if (b.kind == ShownBox::Kind::Message) out << b.caption + ": " + b.text;
        return out;
    }

    std::unique_ptr<VyberVyrobkuBezVolby> vyber;
    std::unique_ptr<TFormulIPrijGrid> grid;
};

TEST_F(PrijemFormulareTest, NewItemsCloseReverseCloseThroughTheForms) {
    const int c = prijemka();
    ASSERT_GT(c, 0);
    EXPECT_EQ(stavDokladu(RodinaDokladu::prijemka(), c), "0");
    // The items reserve while open (a receipt lowers the reservation) and the totals follow.
    EXPECT_EQ(zasoba(1, "1").rezervace, Decimal(-5));
    EXPECT_EQ(zasoba(2, "1").rezervace, Decimal(-3));
    ASSERT_TRUE(najdi(c));
    EXPECT_EQ(h().field("Cena_SklCelk").asDecimal(), Decimal(5 * 10 + 3 * 20));
    EXPECT_EQ(h().field("Vystavil").asString(), "NOVAK");
    EXPECT_EQ(kontrola(), QStringList());

    ui.answer(Button::Yes, "Chceš opravdu provést uzavření účtu", "Dotaz");
    grid->MenuUzavi1Click();
    EXPECT_EQ(stavDokladu(RodinaDokladu::prijemka(), c), "2");
    EXPECT_EQ(zasoba(1, "1"), (Stav{Decimal(5), Decimal(50), Decimal()}));
    EXPECT_EQ(denik('P', c), (QStringList{"1 P 1 5 50", "2 P 1 3 60"}));
    EXPECT_EQ(kontrola(), QStringList());

    ui.clearShown();
    ASSERT_TRUE(najdi(c));
    ui.answer(Button::Yes, "Chceš opravdu stornovat pohyby a opravovat příjem zboží ?", "Dotaz");
    grid->Stornodokladu1Click();
    EXPECT_EQ(stavDokladu(RodinaDokladu::prijemka(), c), "S");
    EXPECT_EQ(denik('P', c), QStringList());
    EXPECT_EQ(zasoba(1, "1"), (Stav{Decimal(), Decimal(), Decimal(-5)}));
    EXPECT_EQ(stavPolozky(RodinaDokladu::prijemka(), c, 1), "P");
    EXPECT_EQ(kontrola(), QStringList());

    // A reversed receipt is edited and closed again from the entry form.
    ASSERT_TRUE(najdi(c));
    ui.answerModal(
        [&](QDialog&) {
            f().EditPorCis->setText("1");
            f().EnterPorCis();
            f().EditMnozstvi->setText("6");
            f().ExitMnozstvi();
            f().ClickUlozPol();
            ui.answer(Button::Yes, "Chceš opravdu provést uzavření účtu");
            f().ClickUzavriDoklad();
        },
        "TFormulIPrijVstup");
    grid->MenuClickPolozky();
    EXPECT_EQ(stavDokladu(RodinaDokladu::prijemka(), c), "2");
    EXPECT_EQ(denik('P', c), (QStringList{"1 P 1 6 60", "2 P 1 3 60"}));
    EXPECT_EQ(zasoba(1, "1"), (Stav{Decimal(6), Decimal(60), Decimal()}));
    EXPECT_EQ(kontrola(), QStringList());
}

TEST_F(PrijemFormulareTest, ClosedReceiptsRefuseEditingDeletingAndVatAndOpenOnesRefuseReversal) {
    const int c = prijemka();
    ASSERT_TRUE(najdi(c));
    ui.clearShown();
    ui.answer(Button::Ok, "není uzavřen");
    grid->Stornodokladu1Click();
    ui.answer(Button::Yes, "Chceš opravdu provést uzavření účtu");
    grid->MenuUzavi1Click();
    ASSERT_TRUE(najdi(c));
    ui.answer(Button::Ok, "Storno pohybů");
    grid->Oprava1Click();
    ui.answer(Button::Ok, "Nelze smazat");
    grid->Smazat1Click();
    ui.answer(Button::Ok, "Storno pohybů");
    grid->PidatkcenDPH1Click();
    // "&Položky" shows a closed receipt for viewing.
    ui.answer(Button::Ok, "budete pouze prohlížet");
    ui.answerModal([&](QDialog&) { f().ButtonZrusClick(); }, "TFormulIPrijVstup");
    grid->MenuClickPolozky();
    EXPECT_EQ(boxy(),
              (QStringList{"Upozornění: Tento účet není uzavřen, storno nebude provedeno",
                           "Dotaz: Chceš opravdu provést uzavření účtu",
                           "Varování: Uzavřený účet nelze editovat, použijte funkci \"Storno "
                           "pohybů\"",
                           "Varování: Nelze smazat uzavřený účet",
                           "Varování: Uzavřený účet nelze editovat, použijte funkci \"Storno "
                           "pohybů\"",
                           "Upozornění: Uzavřený účet nelze editovat, budete pouze prohlížet"}));
    EXPECT_TRUE(h().findKey({c}));
    EXPECT_EQ(stavDokladu(RodinaDokladu::prijemka(), c), "2");
}

TEST_F(PrijemFormulareTest, DeletingAReceiptDeletesItsItemsAndGivesBackTheirReservation) {
    const int c = prijemka();
    const int d = prijemka();
    ASSERT_TRUE(najdi(c));
    ui.answer(Button::No, "Chceš opravdu smazat větu ?");
    grid->Smazat1Click();
    EXPECT_TRUE(h().findKey({c}));
    ASSERT_TRUE(najdi(c));
    ui.answer(Button::Yes, "Chceš opravdu smazat větu ?", "Dotaz");
    grid->Smazat1Click();
    EXPECT_FALSE(h().findKey({c}));
    Table& p = kurzor(RodinaDokladu::prijemka().polozky);
    p.setRange({c}, {c});
    p.first();
    EXPECT_FALSE(p.hasRecord());
    // The other receipt still reserves its own.
    EXPECT_EQ(zasoba(1, "1").rezervace, Decimal(-5));
    EXPECT_TRUE(h().findKey({d}));
    EXPECT_EQ(kontrola(), QStringList());
}

TEST_F(PrijemFormulareTest, CancellingAnEditedItemLeavesTheItemTotalsAndReservationAsStored) {
    const int c = prijemka();
    ASSERT_TRUE(najdi(c));
    const Decimal skl = h().field("Cena_SklCelk").asDecimal();
    ui.answerModal(
        [&](QDialog&) {
            f().EditPorCis->setText("1");
            f().EnterPorCis();
            f().EditMnozstvi->setText("8");
            f().ExitMnozstvi();
            EXPECT_EQ(f().LabelSklCenaC->text(), Decimal(8 * 10 + 3 * 20).toString(2));
            // No to the question keeps the form; Yes leaves without the change.
            ui.answer(Button::No, "Chceš opravdu skončit bez záznamu");
            f().ButtonZrusClick();
            EXPECT_TRUE(f().isVisible());
            ui.answer(Button::Yes, "Chceš opravdu skončit bez záznamu");
            f().ButtonZrusClick();
        },
        "TFormulIPrijVstup");
    grid->MenuClickPolozky();
    ASSERT_TRUE(h().findKey({c}));
    EXPECT_EQ(h().field("Cena_SklCelk").asDecimal(), skl);
    EXPECT_EQ(zasoba(1, "1").rezervace, Decimal(-5));
    EXPECT_EQ(kontrola(), QStringList());
}

TEST_F(PrijemFormulareTest, ANewReceiptStepsOverATakenNumberAndKeepsTheEnteredKind) {
    const int c = prijemka();
    novy([&](TFormulIPrijVstup& v) {
        napis(v.EditCisUctu, QString::number(c));
        v.ComboDruh->setCurrentText("PRI");
        ui.answer(Button::Ok, "Účet již existuje, zvyšuji číslo", "Informace");
        v.ExitCisUctu();
        EXPECT_EQ(v.EditCisUctu->text(), QString::number(c + 1));
        EXPECT_TRUE(v.EditCisUctu->isReadOnly());
        EXPECT_EQ(v.ComboDruh->currentText(), "PRI");
        v.ButtonOkClick();
    });
    EXPECT_TRUE(h().findKey({c + 1}));
    EXPECT_EQ(h().field("DRUH").asString(), "PRI");
}

TEST_F(PrijemFormulareTest, AddingVatMultipliesByTheProductsRateAndTheHeaderTotalsFollow) {
    const int c = prijemka();
    ASSERT_TRUE(najdi(c));
    ui.answer(Button::Yes, "Chcete přidat DPH k ceně příjmu?", "Dotaz");
    grid->PidatkcenDPH1Click();
    Table& p = kurzor(RodinaDokladu::prijemka().polozky);
    ASSERT_TRUE(p.findKey({c, 1}));
    // Product 1 has a rate of 21 %: 10 becomes 12.10.
    EXPECT_EQ(p.field("Cena_Skl").asDecimal(), Dec("12.1"));
    EXPECT_EQ(p.field("Cena_SklC").asDecimal(), Dec("60.5"));
    ASSERT_TRUE(h().findKey({c}));
    EXPECT_EQ(h().field("Cena_SklCelk").asDecimal(), Dec("60.5") + Dec("72.6"));
    EXPECT_EQ(kontrola(), QStringList());
}

TEST_F(PrijemFormulareTest, RangesFilterByPeriodAndIssuerAndTheNumberRangeShowsOne) {
    const int c = prijemka();
    prijemka();
    {
        Database::Transaction tr(*db);
        ASSERT_TRUE(h().findKey({c}));
        h().edit();
        h().field("Dat_Vystaveni").setDateTime(QDateTime(QDate(2020, 5, 1), {}));
        h().field("Vystavil").setString("O'Brien");
        h().post();
        tr.commit();
    }
    ui.answerModal(
        [](QDialog& d) {
            auto& o = static_cast<TFormulVyrFiltrTiskS&>(d);
            o.EditDatumOd->setText("1.1.2020");
            o.EditDatumDo->setText("31.12.2020");
            o.ButtonOkClick();
        },
        "FormulVyrFiltrTiskS");
    grid->DatumVystav1Click();
    EXPECT_TRUE(h().filtered());
    EXPECT_EQ(h().recordCount(), 1);
    EXPECT_EQ(grid->StatusBar1->panelText(0), "Filtr zapnut");
    // An apostrophe in the name is a letter of the name.
    ui.answerInput("o'bri", "Rozsah");
    grid->MenuRozsahVystavil1Click();
    EXPECT_EQ(h().recordCount(), 1);
    h().first();
    EXPECT_EQ(h().field("CIS_UCTU").asInteger(), c);
    ui.answerInput(QString::number(c), "Rozsah");
    grid->bezFiltruClick();
    grid->MenuClickRozsahCisUctu();
    EXPECT_EQ(h().recordCount(), 1);
}

TEST_F(PrijemFormulareTest, TheRegisterShowsTotalsAtTwoPlacesAndWholeDatesUncut) {
    const int c = prijemka();
    ASSERT_TRUE(najdi(c));
    DataGrid& g = *grid->DbGrid1;
    GridModel& m = *g.gridModel();
    const int row = m.rowOfCurrent();
    ASSERT_GE(row, 0);
    int checked = 0;
    for (int col = 0; col < m.columnCount(); ++col) {
        const QString field = m.columns()[col].field;
        if (field != "Cena_ZobrCelk" && field != "Dat_Vystaveni" && field != "Dat_Plneni") continue;
        const QString text = m.data(m.index(row, col)).toString();
        if (field == "Cena_ZobrCelk") {
            EXPECT_TRUE(QRegularExpression("^-?\\d+,\\d\\d$").match(text).hasMatch())
                << text.toStdString();
        }
        EXPECT_GE(g.columnWidth(col), g.fontMetrics().horizontalAdvance(text))
            << field.toStdString() << " is cut: " << text.toStdString();
        ++checked;
    }
    EXPECT_EQ(checked, 3);
}

TEST_F(PrijemFormulareTest, EnterFinishesTheLineAndStartsTheNextAndF6SavesWithoutTheEmptyLine) {
    int cislo = 0;
    novy([&](TFormulIPrijVstup& v) {
        v.EditNaSklad->setText("1");
        v.PrenosSkladu();
        v.ComboDruhCeny->setCurrentText("NC");
        v.ButtonPolozkyClick();
        // An item number of 0 is refused.
        v.EditPorCis->setText("0");
        ui.answer(Button::Ok, "Poř.číslo musí být >0", "Chyba");
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(v.EditPorCis->lineEdit(), &enter);
        EXPECT_EQ(v.StatusBar2->panelText(2), " Pol:zákaz");
        v.EditPorCis->setText("1");
        QCoreApplication::sendEvent(v.EditPorCis->lineEdit(), &enter);
        EXPECT_EQ(v.StatusBar2->panelText(2), " Pol:nový");
        EXPECT_TRUE(v.EditMnozstvi->isReadOnly()) << "no product chosen yet";
        v.EditVyrobek->setText("3");
        v.ExitVyrobek();
        EXPECT_FALSE(v.EditMnozstvi->isReadOnly());
        EXPECT_EQ(v.EditNazevPol->text(), "Výrobek 3");
        v.EditMnozstvi->setText("4");
        QCoreApplication::sendEvent(v.EditMnozstvi->lineEdit(), &enter);
        // The line is saved and the next one started under number 2.
        EXPECT_EQ(v.EditPorCis->text(), "2");
        EXPECT_EQ(v.StatusBar2->panelText(2), " Pol:nový");
        cislo = int(h().field("CIS_UCTU").asInteger());
        QKeyEvent f6(QEvent::KeyPress, Qt::Key_F6, Qt::NoModifier);
        QCoreApplication::sendEvent(&v, &f6);
        EXPECT_FALSE(v.isVisible());
    });
    Table& p = kurzor(RodinaDokladu::prijemka().polozky);
    p.setRange({cislo}, {cislo});
    EXPECT_EQ(p.recordCount(), 1) << "the line without a product is not saved";
    EXPECT_EQ(zasoba(3, "1").rezervace, Decimal(-4));
    ASSERT_TRUE(h().findKey({cislo}));
    ASSERT_TRUE(p.findKey({cislo, 1}));
    EXPECT_EQ(p.field("Cena_SklC").asDecimal().toShortString().toStdString(), "120")
        << h().field("Druh_Ceny").asString().toStdString();
    EXPECT_EQ(h().field("Cena_SklCelk").asDecimal(), Decimal(4 * 30));
    EXPECT_EQ(kontrola(), QStringList());
}

TEST_F(PrijemFormulareTest, AWarehouseOfAnotherBranchRepricesTheItemsByTheBranchsRebate) {
    {
        Database::Transaction tr(*db);
        Table g(*db, "Ciselnik\\RabSkup");
        g.open();
        g.insert();
        g.field("Cis_RabSkup").setInteger(1);
        g.field("Rabat1").setFloat(0);
        g.field("Rabat2").setFloat(10);
        g.post();
        Table v(*db, "Ciselnik\\Vyrobky");
        v.setIndexName(QString());
        v.open();
        ASSERT_TRUE(v.findKey({1}));
        v.edit();
        v.field("Cis_RabSkp").setInteger(1);
        v.field("PC_Zakl").setFloat(100);
        v.field("CenaZa").setFloat(1);
        v.post();
        Table s(*db, "Ciselnik\\Sklady");
        s.open();
        for (s.first(); !s.eof() && s.hasRecord(); s.next()) {
            s.edit();
            s.field("Druh_Ceny").setString("VO");
            s.field("Cis_Obor").setInteger(s.field("Cis_Sklad").asString() == "2" ? 2 : 1);
            s.post();
        }
        tr.commit();
    }
    dm->TableVyr->refresh();
    int cislo = 0;
    novy([&](TFormulIPrijVstup& v) {
        v.EditNaSklad->setText("1");
        v.PrenosSkladu();
        EXPECT_EQ(v.ComboDruhCeny->currentText(), "VO");
        v.ButtonPolozkyClick();
        v.ClickNovaPol();
        v.EditVyrobek->setText("1");
        v.ExitVyrobek();
        // The base price of branch 1 has no rebate.
        EXPECT_EQ(v.EditCenaZobr->text(), "100,00");
        v.EditMnozstvi->setText("2");
        v.ExitMnozstvi();
        v.ClickUlozPol();
        cislo = int(h().field("CIS_UCTU").asInteger());
        v.ButtonHlavickaClick();
        v.EditNaSklad->setText("2");
        ui.answer(Button::Yes, "Chcete přepočítat ceny všech položek podle nového oboru ?");
        v.PrenosSkladu();
        v.ButtonOkClick();
    });
    Table& p = kurzor(RodinaDokladu::prijemka().polozky);
    ASSERT_TRUE(p.findKey({cislo, 1}));
    EXPECT_EQ(p.field("Rabat").asDecimal(), Decimal(10));
    EXPECT_EQ(p.field("Cena_Zobr").asDecimal(), Decimal(90));
    EXPECT_EQ(p.field("Cena_ZobrC").asDecimal(), Decimal(180));
    Table& hl = kurzor(RodinaDokladu::prijemka().hlavicka);
    ASSERT_TRUE(hl.findKey({cislo}));
    EXPECT_EQ(hl.field("Cis_Obor").asInteger(), 2);
    EXPECT_EQ(hl.field("Cena_ZobrCelk").asDecimal(), Decimal(180));
}

// ---- import

class ImportPrijemekTest : public PrijemFormulareTest {
protected:
    QString zapis(const QString& jmeno, const QList<formats::FieldDef>& pole,
                  const QList<formats::Record>& zaznamy) {
        const QString cesta = QDir(dir.path()).filePath(jmeno);
        auto w = formats::makeTableWriter(formats::TableFormat::Paradox);
        EXPECT_TRUE(w->open(cesta, pole)) << w->errorString().toStdString();
        for (const formats::Record& r : zaznamy)
            EXPECT_TRUE(w->append(r));
        EXPECT_TRUE(w->close());
        return cesta;
    }
    QString hlavicky() {
        using formats::FieldKind;
        return zapis("imp_hla.db",
                     {{"CIS_UCTU", FieldKind::Long, 0, 0},
                      {"Nazev", FieldKind::Text, 40, 0},
                      {"Dat_Plneni", FieldKind::Date, 0, 0},
                      {"Cena_ZobrCelk", FieldKind::Float, 0, 0},
                      {"Cena_SklCelk", FieldKind::Float, 0, 0}},
                     {{7, "Sklad Brno", QDate(2024, 2, 1), 40.0, 40.0},
                      {8, "Sklad Praha", QDate(2024, 2, 2), 30.0, 30.0}});
    }
    QString polozky() {
        using formats::FieldKind;
        return zapis("imp_pol.db",
                     {{"CIS_UCTU", FieldKind::Long, 0, 0},
                      {"PorCis", FieldKind::Short, 0, 0},
                      {"Cis_Vyr", FieldKind::Long, 0, 0},
                      {"ObjCis", FieldKind::Text, 15, 0},
                      {"Mnozstvi", FieldKind::Float, 0, 0},
                      {"Cena_Skl", FieldKind::Float, 0, 0},
                      {"Cena_SklC", FieldKind::Float, 0, 0},
                      {"Cena_ZobrC", FieldKind::Float, 0, 0},
                      {"Druh_Pol", FieldKind::Text, 1, 0},
                      {"Faktor", FieldKind::Float, 0, 0}},
                     {{7, 1, 1, "OBJ1", 2.0, 10.0, 20.0, 20.0, "S", 1.0},
                      {8, 1, 2, "OBJ2", 1.0, 30.0, 30.0, 30.0, "S", 1.0},
                      {7, 2, 3, "OBJ3", 2.0, 10.0, 20.0, 20.0, "S", 1.0}});
    }
};

TEST_F(ImportPrijemekTest, EachImportedReceiptGetsAFreeNumberItsItemsAndTheirReservations) {
    const int c = prijemka();
    const QString hl = hlavicky(), po = polozky();
    ui.answerFile(hl).answerFile(po);
    grid->Import1Click();
    Table& hla = kurzor(RodinaDokladu::prijemka().hlavicka);
    hla.last();
    const int posledni = int(hla.field("CIS_UCTU").asInteger());
    EXPECT_EQ(posledni, c + 2);
    ASSERT_TRUE(hla.findKey({c + 1}));
    EXPECT_EQ(hla.field("Nazev").asString(), "Sklad Brno");
    EXPECT_EQ(hla.field("STAV").asString(), "0");
    EXPECT_EQ(hla.field("Druh_Ceny").asString(), "NC");
    EXPECT_EQ(hla.field("DRUH").asString(), "PRI");
    Table& p = kurzor(RodinaDokladu::prijemka().polozky);
    p.setRange({c + 1}, {c + 1});
    EXPECT_EQ(p.recordCount(), 2);
    p.setRange({c + 2}, {c + 2});
    EXPECT_EQ(p.recordCount(), 1);
    // Reserved (as a receipt does: minus) besides the receipt made by hand.
    EXPECT_EQ(zasoba(1, "").rezervace + zasoba(1, "1").rezervace, Decimal(-5 - 2));
    EXPECT_EQ(kontrola(), QStringList());
    // The series stands above the imported numbers.
    ui.answerModal([&](QDialog&) { f().ButtonZrusClick(); }, "TFormulIPrijVstup");
    grid->ClickNovyZaznam();
}

TEST_F(ImportPrijemekTest, AnUnreadableTableIsNamedAndNothingIsImported) {
    const QString hl = hlavicky();
    const QString spatna = QDir(dir.path()).filePath("spatna.db");
    {
        QFile f(spatna);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("to neni tabulka");
    }
    ui.answerFile(hl).answerFile(spatna);
    ui.answer(Button::Ok, "spatna.db", "Chyba");
    grid->Import1Click();
    Table& hla = kurzor(RodinaDokladu::prijemka().hlavicka);
    hla.first();
    EXPECT_FALSE(hla.hasRecord());
    // The source files are closed: they can be removed at once.
    EXPECT_TRUE(QFile::remove(hl));
    EXPECT_TRUE(QFile::remove(spatna));
}

TEST_F(ImportPrijemekTest, AnItemOfAMissingProductIsImportedWithoutAReservationAndTheRestHolds) {
    using formats::FieldKind;
    const QString hl = hlavicky();
    const QString po = zapis("imp_pol6.db",
                             {{"CIS_UCTU", FieldKind::Long, 0, 0},
                              {"PorCis", FieldKind::Short, 0, 0},
                              {"Cis_Vyr", FieldKind::Long, 0, 0},
                              {"ObjCis", FieldKind::Text, 15, 0},
                              {"Mnozstvi", FieldKind::Float, 0, 0},
                              {"Druh_Pol", FieldKind::Text, 1, 0}},
                             {{7, 1, 6, "OBJ6", 2.0, "S"}, {8, 1, 2, "OBJ2", 1.0, "S"}});
    ui.answerFile(hl).answerFile(po);
    grid->Import1Click();
    Table& hla = kurzor(RodinaDokladu::prijemka().hlavicka);
    int prijemek = 0;
    for (hla.first(); !hla.eof() && hla.hasRecord(); hla.next())
        ++prijemek;
    EXPECT_EQ(prijemek, 2);
    EXPECT_EQ(zasoba(2, "").rezervace, Decimal(-1));
    EXPECT_EQ(kontrola(), QStringList());
}

// ---- the item report

TEST_F(PrijemFormulareTest, TheItemReportsWorkTableHoldsTheMatchingItemsAndIsDeletedAfterwards) {
    const int c = prijemka();
    const QString prac = QDir(dir.path()).filePath("Prac_Db");
    std::vector<sklad::RadekPolozkyUctu> radky;
    {
        KriteriaPolozky k;
        k.objCis = "OBJ2";
        radky = sklad::PolozkyUctu(*dm, h(), k, "CIS_VYR");
        ASSERT_EQ(radky.size(), 1u);
        EXPECT_EQ(radky[0].cisUctu, c);
        EXPECT_EQ(radky[0].porCis, 2);
        EXPECT_EQ(radky[0].pcNettoC, Decimal(60));
        sklad::PracovniTabulka t(db->root());
        ASSERT_TRUE(t.zapis(radky, "CIS_VYR"));
        EXPECT_TRUE(QFile::exists(t.cesta()));
        QString chyba;
        auto r = formats::openTable(t.cesta(), QString(), &chyba);
        ASSERT_TRUE(r) << chyba.toStdString();
        formats::Record z;
        ASSERT_TRUE(r->next(&z));
        EXPECT_EQ(z[2].toInt(), c);
    }
    EXPECT_TRUE(QDir(prac).entryList({"*.db"}, QDir::Files).isEmpty());
    // Through the register: the work table is gone after the print, whatever it did.
    ui.answerModal([](QDialog& d) { static_cast<TFormulUctyHledejPol&>(d).accept(); },
                   "FormulUctyHledejPol");
    ui.setOkBoxesAnswered(true);
    grid->MenuTiskPolUctyClick();
    EXPECT_TRUE(QDir(prac).entryList({"*.db"}, QDir::Files).isEmpty());
}

// ---- the receipt's print

// The first receipt of the demo printed for a character printer by the report tool, with its
// items as the detail read from the data root. Dates and times of the run are masked; with
// BRIX_UPDATE_GOLDEN set the golden file is written first.
TEST(PrijemkaTisk, TheDemosFirstReceiptPrintsForACharacterPrinterAsTheGoldenText) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString koren = dir.filePath("demo");
    const VysledekDema demo = VytvorDemo(koren);
    ASSERT_TRUE(demo.ok) << demo.chyba.toStdString();
    const QString sablona = resolvePath(koren, u"int_ucty\\Prijem\\tisk_prijz.pts").path;
    ASSERT_TRUE(QFile::exists(sablona)) << sablona.toStdString();
    const QString vystup = dir.filePath("prijemka.txt");
    QProcess p;
    p.start(QStringLiteral(BRIX_REPORT_TOOL),
            {"run", sablona, "--data-root", koren, "--table", "Int_Ucty\\Prijem\\Hla_Prij",
             "--max-records", "1", "--detail", "0=Int_Ucty\\Prijem\\Pol_Prij", "--link",
             "0=CIS_UCTU:CIS_UCTU", "--param", "Barvy a laky Demo s.r.o.", "--text", vystup});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QFile f(vystup);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QString text = QString::fromLatin1(f.readAll());
    text.replace(QRegularExpression("\\d{1,2}\\.\\d{1,2}\\.\\d{4}( \\d{1,2}:\\d{2}(:\\d{2})?)?"),
                 "DD.MM.RRRR");
    const QByteArray bajty = text.toLatin1();
    EXPECT_EQ(bajty, goldenBytes(QStringLiteral(BRIX_SOURCE_DIR "/tests/stock/data/prijemka_z.txt"),
                                 bajty));
}

} // namespace
} // namespace brix::test
