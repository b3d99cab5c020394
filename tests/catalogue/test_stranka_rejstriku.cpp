// The product register page offscreen: the range and supplier commands with their boxes, the
// trees and their clicks, the bulk change on a view filtered by the changed field, the VAT
// change, the quick search form and the register as the chooser of the entry forms.
#include "ciselniky_fixture.h"

#include "codec.h"
#include "datagrid.h"
#include "formul_vyr_sql.h"
#include "formul_vyrobky.h"
#include "grid_model.h"
#include "hlavni_okno.h"
#include "koren.h"
#include "propojeni.h"
#include "query.h"
#include "sestava.h"
#include "statusbar.h"
#include "stranka_rejstriku.h"
#include "util/nastaveni.h"
#include "vyber_vyrobek.h"
#include "vyrobky.h"

#include <QAction>
#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

namespace brix::test {
namespace {

class StrankaRejstrikuTest : public CiselnikyTest {
protected:
    void SetUp() override {
        CiselnikyTest::SetUp();
        Table fir(*db, "Ciselnik\\Firmy");
        add(fir,
            {{"Cis_firmy", 7}, {"Zkr_nazev", "a"}, {"Cis_obor", 1}, {"Nazev", "Barvy s.r.o."}});
        Table vs(*db, "Ciselnik\\VynSkup");
        add(vs, {{"PC_VynSkup", 1}, {"Popis", "Barvy syntetické"}});
        add(vs, {{"PC_VynSkup", 2}, {"Popis", "Laky"}});
        add(vs, {{"PC_VynSkup", 3}, {"Popis", "Barvy disperzní"}});
        Table vyr(*db, "Ciselnik\\Vyrobky");
        const char* nazvy[] = {"Barva bílá", "barva modrá", "Lak čirý", "Ředidlo", "Tmel"};
        for (int i = 1; i <= 5; ++i)
            add(vyr, {{"Cis_vyr", i},
                      {"ObjCis", QStringLiteral("OBJ%1").arg(i)},
                      {"Nazev", QString::fromUtf8(nazvy[i - 1])},
                      {"Kod_Ozn1", i <= 2 ? "O'Neil" : "K"},
                      {"Druh_Pol", "S"},
                      {"DPH", i % 2 ? 22 : 21},
                      {"NC_Netto", 100},
                      {"Faktor_Bal", 1},
                      {"CenaZa", 1},
                      {"MO_Marze", 10},
                      {"MO_Cena", 134.2},
                      {"PC_VynSkup", i},
                      {"Cis_Firmy", i == 3 ? 7 : 1}});
        form = std::make_unique<TFormulVyrobky>(*dm);
        stranka = form->findChild<RejstrikVyrobku*>();
        ASSERT_TRUE(stranka);
        form->openRegister();
    }
    void TearDown() override {
        form->closeRegister();
        form.reset();
        CiselnikyTest::TearDown();
    }
    std::vector<qint64> ukazuje() {
        std::vector<qint64> c;
        Table& t = form->table();
        for (t.first(); !t.eof(); t.next())
            c.push_back(t.field("Cis_vyr").asInteger());
        std::sort(c.begin(), c.end());
        return c;
    }
    QString panel() const { return form->StatusBar1->panelText(2); }

    std::unique_ptr<TFormulVyrobky> form;
    RejstrikVyrobku* stranka = nullptr;
};

TEST_F(StrankaRejstrikuTest, RangesFilterAndShowTheirCondition) {
    ui.answerInput("bar", "Rozsah");
    stranka->RozsahVyrobku("NAZEV", true, false, true);
    EXPECT_EQ(ukazuje(), (std::vector<qint64>{1, 2}));
    EXPECT_EQ(panel(), "Filtr :NAZEV = 'bar*'");
    ui.verifyAllUsed();

    form->bezFiltruClick();
    ui.answerInput("3", "Rozsah");
    ui.answerInput("", "Rozsah do");
    stranka->RozsahVyrobku("PC_VYNSKUP", false, true, false);
    EXPECT_EQ(ukazuje(), (std::vector<qint64>{3, 4, 5}));
    EXPECT_EQ(panel(), "Filtr :PC_VYNSKUP >=3");

    // Cancel in the first box leaves the filter as it was.
    ui.cancelInput("Rozsah");
    stranka->RozsahVyrobku("NAZEV", true, false, true);
    EXPECT_EQ(ukazuje(), (std::vector<qint64>{3, 4, 5}));
    ui.verifyAllUsed();
}

TEST_F(StrankaRejstrikuTest, SupplierByNumberOrName) {
    ui.answerInput("Barvy", "Filtr");
    stranka->DodavatelClick();
    EXPECT_EQ(ukazuje(), std::vector<qint64>{3});
    EXPECT_EQ(panel(), "Filtr :Cis_Firmy=7");
    ui.answerInput("barvy", "Filtr");
    ui.answer(Button::Ok, "Nenalezena firma s tímto názvem, opakujte hledání", "Informace");
    stranka->DodavatelClick();
    EXPECT_EQ(ukazuje(), (std::vector<qint64>{1, 2, 3, 4, 5}));
    ui.answerInput("1", "Filtr");
    stranka->DodavatelClick();
    EXPECT_EQ(ukazuje(), (std::vector<qint64>{1, 2, 4, 5}));
    ui.verifyAllUsed();
}

TEST_F(StrankaRejstrikuTest, TreeLeavesFilterAndAllRemovesIt) {
    // Opened as the register: searched by the order code, the revenue groups' tree shown.
    EXPECT_EQ(form->searchField(), "ObjCis");
    EXPECT_FALSE(stranka->Strom->isHidden());
    EXPECT_EQ(stranka->Strom->topLevelItem(0)->text(0), "Vše");
    stranka->StromSkupin(false);
    QTreeWidgetItem* vse = stranka->Strom->topLevelItem(0);
    ASSERT_TRUE(vse);
    ASSERT_EQ(vse->childCount(), 3); // Barvy, Laky, Barvy again
    EXPECT_EQ(vse->child(2)->text(0), "Barvy");
    stranka->KliknutiStromu(vse->child(2)->child(0));
    EXPECT_EQ(ukazuje(), std::vector<qint64>{3});
    EXPECT_EQ(panel(), "Filtr :PC_VynSkup = 3");
    stranka->KliknutiStromu(vse);
    EXPECT_EQ(ukazuje().size(), 5u);
    EXPECT_EQ(panel(), "");

    stranka->StromSkupin(true);
    vse = stranka->Strom->topLevelItem(0);
    ASSERT_EQ(vse->childCount(), 2);
    EXPECT_EQ(vse->child(1)->text(0), "O'Neil");
    stranka->KliknutiStromu(vse->child(1));
    EXPECT_EQ(ukazuje(), (std::vector<qint64>{1, 2}));
    stranka->BezStromu();
    EXPECT_TRUE(stranka->Strom->isHidden());
}

TEST_F(StrankaRejstrikuTest, BulkChangeOnAViewFilteredByTheChangedField) {
    stranka->StromSkupin(true);
    stranka->KliknutiStromu(stranka->Strom->topLevelItem(0)->child(0)); // "K": 3, 4, 5
    ui.answerInput("NOVY", "Kódové označení-rozkopírovat dle filtru");
    stranka->HromadnaZmenaClick();
    ui.verifyAllUsed();
    Query q(*db, "SELECT Cis_vyr FROM Vyrobky WHERE Kod_Ozn1 = 'NOVY' ORDER BY Cis_vyr",
            "Ciselnik");
    q.open();
    EXPECT_EQ(q.recordCount(), 3);
}

// After a change of many products the product and its component are where they were.
TEST_F(StrankaRejstrikuTest, BulkChangesRestoreTheProductAndItsComponent) {
    Table& komp = *dm->TableVyrKomp;
    ASSERT_TRUE(komp.active());
    ASSERT_TRUE(form->table().locate("Cis_vyr", {4}));
    for (int k : {1, 2, 5}) {
        komp.insert();
        komp.field("KCisVyr").setInteger(k);
        komp.field("KStand_Mn").setFloat(1);
        komp.post();
    }
    ASSERT_TRUE(komp.locate("KCisVyr", {2}));
    ui.answerInput("NOVY", "Kódové označení-rozkopírovat dle filtru");
    stranka->HromadnaZmenaClick();
    EXPECT_EQ(form->table().field("Cis_vyr").asInteger(), 4);
    EXPECT_EQ(komp.field("Cis_Vyr").asInteger(), 4);
    EXPECT_EQ(komp.field("KCisVyr").asInteger(), 2);
    ASSERT_TRUE(komp.locate("KCisVyr", {5}));
    ui.answer(Button::Yes, "Chcete přepočítat DPH 22% na 19%");
    ui.answer(Button::Ok, "Změna dokončena");
    stranka->PrepocetDPHClick();
    EXPECT_EQ(form->table().field("Cis_vyr").asInteger(), 4);
    EXPECT_EQ(komp.field("KCisVyr").asInteger(), 5);
    ui.verifyAllUsed();
}

TEST_F(StrankaRejstrikuTest, VatChangeWritesItsLogAfterTheCommit) {
    ui.answer(Button::Yes, "Chcete přepočítat DPH 22% na 19% a znovu určit MO cenu?", "Dotaz");
    ui.answer(Button::Ok, "Změna dokončena", "Upozornění");
    stranka->PrepocetDPHClick();
    ui.verifyAllUsed();
    QFile f(dir.filePath("Vyr_NC.log"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    // In the view's order (code designation, name).
    EXPECT_EQ(f.readAll(), QByteArray("OBJ3;   22,00  134,20;  130,90\r\n"
                                      "OBJ5;   22,00  134,20;  130,90\r\n"
                                      "OBJ1;   22,00  134,20;  130,90\r\n"));
    Query q(*db, "SELECT count(*) FROM Vyrobky WHERE DPH = 21", "Ciselnik");
    q.open();
    EXPECT_EQ(q.field(0).asInteger(), 2);
}

TEST_F(StrankaRejstrikuTest, QuickSearchReadsRowsAsShown) {
    TFormulVyrSQL q(*db);
    q.priprav();
    q.EditNazev->setText("bar");
    q.OkClick();
    EXPECT_EQ(q.query().rowCount(), 2);
    EXPECT_EQ(q.vybranyKlic(), "1");
    // The answer of the form: the current row's key.
    ui.answerModal([](QDialog& d) {
        auto& f = static_cast<TFormulVyrSQL&>(d);
        f.GridVyr->setCurrentIndex(f.query().index(1, 0));
        f.accept();
    });
    EXPECT_EQ(RychleHledaniVyrobku(q, "bar", false), "2");
    ui.answerModal([](QDialog& d) { d.reject(); });
    EXPECT_EQ(RychleHledaniVyrobku(q, "1", true), std::nullopt);
    EXPECT_FALSE(q.query().active());
    ui.verifyAllUsed();
}

TEST_F(StrankaRejstrikuTest, ChooserByNameAndEscapeRestoresTheCallersOrder) {
    form->closeRegister();
    Table& vyr = *dm->TableVyr;
    vyr.open();
    vyr.setIndexName("VynSkup");
    ui.answerModal([](QDialog& d) {
        auto& f = static_cast<TFormulVyrobky&>(d);
        EXPECT_TRUE(f.findChild<RejstrikVyrobku*>()->Strom->isHidden());
        EXPECT_EQ(f.table().indexName(), "NazevVyr");
        EXPECT_EQ(f.searchField(), "Nazev");
        f.reject();
    });
    EXPECT_FALSE(VyberVyrobek(*form, *dm, true, "lak"));
    EXPECT_EQ(vyr.indexName(), "VynSkup");
    ui.answerModal([](QDialog& d) {
        auto& f = static_cast<TFormulVyrobky&>(d);
        EXPECT_TRUE(f.table().locate("Cis_vyr", {4}));
        f.accept();
    });
    EXPECT_TRUE(VyberVyrobek(*form, *dm, false, "4"));
    EXPECT_EQ(vyr.field("Cis_vyr").asInteger(), 4);
    EXPECT_EQ(vyr.indexName(), "VynSkup");
    ui.verifyAllUsed();
    form->openRegister();
}

TEST_F(StrankaRejstrikuTest, StockCardShowsItsProductUpToTheLastDateOnly) {
    Table l(*db, "Sklady\\SklPol");
    const auto pohyb = [&](int vyr, QDate den, int uctu) {
        add(l, {{"Cis_Uctu", uctu},
                {"PorCis", 1},
                {"Druh_Uctu", "K"},
                {"Dat_Plneni", den},
                {"P_V", "P"},
                {"Cis_Vyr", vyr},
                {"Cis_Sklad", "1"},
                {"Mnozstvi", 1}});
    };
    pohyb(2, QDate(2024, 5, 1), 1);
    pohyb(2, QDate(2100, 12, 31), 2);
    pohyb(2, QDate(2101, 1, 1), 3); // after the card's last day
    pohyb(1, QDate(2024, 5, 1), 4);
    pohyb(3, QDate(2024, 5, 1), 5);
    ASSERT_TRUE(form->table().locate("Cis_vyr", {2}));
    std::vector<qint64> ucty;
    ui.answerModal(
        [&](QDialog& d) {
            auto& karta = static_cast<RegisterForm&>(d);
            EXPECT_EQ(karta.windowTitle(), "FormSklPol");
            EXPECT_FALSE(karta.MenuNovy->isEnabled());
            EXPECT_FALSE(karta.MenuOprava->isEnabled());
            EXPECT_FALSE(karta.MenuSmazat->isEnabled());
            Table& t = karta.table();
            EXPECT_EQ(t.indexName(), "CisVyr");
            GridModel* m = karta.DbGrid1->gridModel();
            ASSERT_EQ(m->columnCount(), 11);
            EXPECT_EQ(m->columns()[6].field, "Dat_Plneni");
            EXPECT_TRUE(karta.DbGrid1->isColumnHidden(0));
            for (t.first(); !t.eof(); t.next())
                ucty.push_back(t.field("Cis_Uctu").asInteger());
            // Enter on a row does not open it for editing.
            karta.gridActivated();
            EXPECT_EQ(t.state(), TableState::Browse);
            d.reject();
        },
        "SkladovaKarta");
    stranka->PohybyClick();
    ui.verifyAllUsed();
    EXPECT_EQ(ucty, (std::vector<qint64>{1, 2}));
    EXPECT_EQ(form->table().field("Cis_vyr").asInteger(), 2);
}

TEST_F(StrankaRejstrikuTest, StockLevelGridFollowsTheCurrentProduct) {
    Table z(*db, "Sklady\\SklZas");
    add(z, {{"Cis_Vyr", 1}, {"Cis_Sklad", "1"}, {"SklZas_ks", 4}, {"SklZas_kc", 297.5}});
    add(z, {{"Cis_Vyr", 1}, {"Cis_Sklad", "2"}, {"SklZas_ks", 1}});
    add(z, {{"Cis_Vyr", 3}, {"Cis_Sklad", "1"}, {"SklZas_ks", 9}});
    EXPECT_TRUE(stranka->GridZasoby->isHidden());
    stranka->MenuZasoby->trigger();
    EXPECT_TRUE(stranka->MenuZasoby->isChecked());
    EXPECT_FALSE(stranka->GridZasoby->isHidden());
    EXPECT_EQ(stranka->GridZasoby->height(), 65);
    GridModel* m = stranka->GridZasoby->gridModel();
    ASSERT_TRUE(m);
    ASSERT_TRUE(form->table().locate("Cis_vyr", {1}));
    EXPECT_EQ(m->rowCount(), 2);
    auto* penize = static_cast<QStyledItemDelegate*>(stranka->GridZasoby->itemDelegateForColumn(3));
    ASSERT_TRUE(penize);
    EXPECT_EQ(penize->displayText(m->data(m->index(0, 3)), QLocale()), "297,50");
    ASSERT_TRUE(form->table().locate("Cis_vyr", {3}));
    EXPECT_EQ(m->rowCount(), 1);
    EXPECT_EQ(m->data(m->index(0, 2)).toString(), "9");
    ASSERT_TRUE(form->table().locate("Cis_vyr", {2}));
    EXPECT_EQ(m->rowCount(), 0);

    // Closed and opened again it comes back, linked to the product.
    form->closeRegister();
    form->openRegister();
    EXPECT_FALSE(stranka->GridZasoby->isHidden());
    EXPECT_EQ(stranka->GridZasoby->height(), 75);
    ASSERT_TRUE(form->table().locate("Cis_vyr", {1}));
    EXPECT_EQ(stranka->GridZasoby->gridModel()->rowCount(), 2);
    stranka->MenuZasoby->trigger();
    EXPECT_TRUE(stranka->GridZasoby->isHidden());
}

TEST_F(StrankaRejstrikuTest, GridShowsMoneyWithTwoPlacesAndCaptionsUnderALayout) {
    const auto text = [&](const QString& pole) {
        GridModel* m = form->DbGrid1->gridModel();
        const int c = m->columnOfField(pole);
        EXPECT_GE(c, 0) << pole.toStdString();
        const QModelIndex i = m->index(m->rowOfCurrent(), c);
        QAbstractItemDelegate* d = form->DbGrid1->itemDelegateForColumn(c);
        const QVariant v = m->data(i);
        return d ? static_cast<QStyledItemDelegate*>(d)->displayText(v, QLocale()) : v.toString();
    };
    const auto titul = [&](const QString& pole) {
        GridModel* m = form->DbGrid1->gridModel();
        return m->headerData(m->columnOfField(pole), Qt::Horizontal, Qt::DisplayRole).toString();
    };
    ASSERT_TRUE(form->table().locate("Cis_vyr", {1}));
    EXPECT_EQ(text("MO_Cena"), "134,20");
    EXPECT_EQ(text("NC_Netto"), "100,00");
    EXPECT_EQ(text("CenaZa"), "1"); // a quantity keeps its own places
    EXPECT_EQ(titul("PC_Vynskup"), "VS");
    EXPECT_EQ(titul("DisponMn"), "Množství");
    EXPECT_EQ(form->StatusBar1->panelText(0), "Formulář výrobky");

    form->closeRegister();
    QDir(dir.path()).mkpath("Ciselnik");
    QFile f(dir.filePath("Ciselnik/Vyrobky_Grid.csv"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Nazev;120\r\nDruhMn;30\r\nMO_Cena;60\r\n");
    f.close();
    form->openRegister();
    EXPECT_EQ(form->DbGrid1->gridModel()->columnCount(), 3);
    EXPECT_EQ(titul("DruhMn"), "MJ");
    ASSERT_TRUE(form->table().locate("Cis_vyr", {1}));
    EXPECT_EQ(text("MO_Cena"), "134,20");
    EXPECT_EQ(form->DbGrid1->itemDelegateForColumn(0), nullptr);
}

TEST_F(StrankaRejstrikuTest, MarkedRecordsOnlyAndBackToAll) {
    form->DbGrid1->toggleMark(0);
    form->DbGrid1->toggleMark(2);
    const std::vector<qint64> oznacene = [&] {
        std::vector<qint64> c;
        Table t(*db, "Ciselnik\\Vyrobky");
        t.open();
        for (qint64 b : form->DbGrid1->markedBookmarks())
            if (t.gotoBookmark(b)) c.push_back(t.field("Cis_vyr").asInteger());
        std::sort(c.begin(), c.end());
        return c;
    }();
    ASSERT_EQ(oznacene.size(), 2u);
    stranka->MenuOznacene->trigger();
    EXPECT_EQ(ukazuje(), oznacene);
    EXPECT_EQ(panel(), "Filtr : Označené věty");
    form->MenuBezFiltru->trigger();
    EXPECT_EQ(ukazuje().size(), 5u);
    EXPECT_EQ(panel(), "");
}

// A search for what no product has asks its question, keeps the record and the box's text; F4
// copies the last posted code designation into the current product.
TEST_F(StrankaRejstrikuTest, SearchNotFoundAndF4) {
    ASSERT_TRUE(form->table().locate("Cis_vyr", {3}));
    form->setSearchField("Nazev");
    form->EditHledej->setText("zzz");
    ui.answer(Button::No, "Neexistující výrobek pro hledání", "Dotaz");
    form->EditHledejExit();
    ui.verifyAllUsed();
    EXPECT_EQ(form->table().field("Cis_vyr").asInteger(), 3);
    EXPECT_EQ(form->EditHledej->text(), "zzz");
    form->EditHledej->setText("ŘED");
    form->EditHledejExit();
    EXPECT_EQ(form->table().field("Cis_vyr").asInteger(), 4);

    // The last product posted had "O'Neil"; F4 on product 4 gives it that code and posts it.
    ASSERT_TRUE(form->table().locate("Cis_vyr", {1}));
    form->table().edit();
    form->table().field("Kod_Ozn1").setString("Z-9");
    form->table().post();
    ASSERT_TRUE(form->table().locate("Cis_vyr", {4}));
    EXPECT_EQ(stranka->MenuKopieKodu->shortcut(), QKeySequence(Qt::Key_F4));
    stranka->MenuKopieKodu->trigger();
    Table t(*db, "Ciselnik\\Vyrobky");
    t.open();
    ASSERT_TRUE(t.locate("Cis_vyr", {4}));
    EXPECT_EQ(t.field("Kod_Ozn1").asString(), "Z-9");
    EXPECT_EQ(form->table().state(), TableState::Browse);

    // "Index" names the order: under the number key the code designations' on opening, then
    // each item of "Tří&dění".
    ASSERT_TRUE(nastaveniProgramu().hledaniDleCislaVyrobku());
    EXPECT_EQ(stranka->LabelIndex->text(), "Kod_Ozn1;Kod_Ozn2;Nazev");
    form->sortActions[1]->trigger();
    EXPECT_EQ(stranka->LabelIndex->text(), KlicVyrobku());
    ASSERT_EQ(form->sortActions.size(), 4);
    form->sortActions[3]->trigger();
    EXPECT_EQ(stranka->LabelIndex->text(), "Výnos.skupina");
    form->sortActions[0]->trigger();
    EXPECT_EQ(stranka->LabelIndex->text(), "Kod_Ozn1;Kod_Ozn2;Nazev");
    EXPECT_EQ(form->table().indexFields().join(';').toUpper(), "KOD_OZN1;KOD_OZN2;NAZEV");

    // F3 in the grid opens "&Hledej".
    form->show();
    form->DbGrid1->setFocus();
    QTest::keyClick(form->DbGrid1, Qt::Key_F3);
    EXPECT_TRUE(form->MenuHledej->isVisible());
    form->MenuHledej->hide();
    form->hide();
}

// "Čárový kód": N data steps of the current product; nothing for a count that is no whole
// number above 0, nor without a bar code.
TEST_F(StrankaRejstrikuTest, LabelsPrintTheCountAskedAndNothingElse) {
    ASSERT_GT(ZapisVychoziSoubory(dir.path()), 0);
    ASSERT_TRUE(form->table().locate("Cis_vyr", {1}));
    form->table().edit();
    form->table().field("EAN13").setString("8594001234567");
    form->table().post();
    QStringList vytisteno;
    stranka->TiskniNalepky = [&](report::TSestava& s) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        const int v = s.PrintTextToStream(out);
        vytisteno << decode(out.data());
        return v;
    };
    ui.answerInput("5", "Počet nálepek :");
    stranka->MenuCarovyKod->trigger();
    ASSERT_EQ(vytisteno.size(), 1);
    EXPECT_EQ(vytisteno[0].count("Barva bílá"), 5);
    EXPECT_EQ(vytisteno[0].count("134,20"), 5);
    for (const char* spatne : {"x", "0", "-3"}) {
        ui.answerInput(spatne, "Počet nálepek :");
        stranka->CarovyKodClick();
    }
    ui.cancelInput("Počet nálepek :");
    stranka->CarovyKodClick();
    EXPECT_EQ(vytisteno.size(), 1);
    ui.verifyAllUsed();

    // 50 labels fill a sheet of 48 and two of the next.
    ui.answerInput("50", "Počet nálepek :");
    stranka->CarovyKodClick();
    ASSERT_EQ(vytisteno.size(), 2);
    EXPECT_EQ(vytisteno[1].count("Barva bílá"), 50);

    ASSERT_TRUE(form->table().locate("Cis_vyr", {2}));
    ui.answer(Button::Ok, "Výrobek nemá vyplněný čárový kód EAN13");
    stranka->CarovyKodClick();
    EXPECT_EQ(vytisteno.size(), 2);
    ui.verifyAllUsed();
}

// The quick search is made with the code lists when the settings switch it on, not otherwise.
TEST_F(StrankaRejstrikuTest, QuickSearchFormMadeAtStartOnlyWhenSwitchedOn) {
    const bool predtim = nastaveniProgramu().OkVyrSQL;
    for (const bool zapnuto : {true, false}) {
        nastaveniProgramu().OkVyrSQL = zapnuto;
        TFormMenu menu;
        TCiselniky& c = PropojCiselniky(menu, *dm, [](const QString&, std::function<void()>) {});
        EXPECT_EQ(c.vyrobky().findChild<TFormulVyrSQL*>() != nullptr, zapnuto);
    }
    nastaveniProgramu().OkVyrSQL = predtim;
}

} // namespace
} // namespace brix::test
