// The rules the data module hangs on the document tables and the framework the document families
// build their own on: defaults of new documents, remembered item values, cascades before a
// header or an item is deleted, the marked-records filter of the registers and the state text
// of the status bars.
#include "datacis_fixture.h"

#include "table_rules.h"

using namespace brix;
using brix::test::DataModuleTest;

namespace {

class HandlersTest : public DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        for (int c : {1, 2, 3})
            add(*dm->TableVyr,
                {{"Cis_vyr", c}, {"ObjCis", QString("P-%1").arg(c)}, {"Cis_Firmy", 1}});
    }
    qint64 rows(const QString& address) {
        Table t(*db, address);
        t.open();
        return t.recordCount();
    }
};

TEST_F(HandlersTest, NewDocumentsStartWithTheirDefaults) {
    Table& dl = *dm->TableHlaDL;
    dl.open();
    dl.insert();
    for (const char* f : {"Zaklad0", "DPH0", "Zaklad1", "DPH1", "Zaklad2", "DPH2"}) {
        EXPECT_FALSE(dl.field(f).isNull()) << f;
        EXPECT_EQ(dl.field(f).asDecimal(), Decimal()) << f;
    }
    EXPECT_EQ(dl.field("PC_Skonto").asInteger(), 1);
    EXPECT_EQ(dl.field("Zp_Rabat").asString(), "RS");
    dl.field("CIS_UCTU").setInteger(1);
    dl.field("STAV").setString("0");
    dl.post();
    Table& pol = *dm->TablePolDL;
    pol.open();
    pol.insert();
    EXPECT_FALSE(pol.field("Cena_Cizi").isNull());
    pol.cancel();
    for (Table* h : {dm->TableHlaFaV, dm->TableHlaDLP}) {
        h->open();
        h->insert();
        EXPECT_FALSE(h->field("Platba").isNull()) << h->def().file.toStdString();
        EXPECT_FALSE(h->field("Platba").asBoolean());
        h->cancel();
    }
}

TEST_F(HandlersTest, ItemsRememberTheirValuesOnEditAndZeroOnInsert) {
    add(*dm->TableHlaDL, {{"CIS_UCTU", 1}, {"STAV", "0"}});
    Table& pol = *dm->TablePolDL;
    add(pol, {{"PorCis", 1},
              {"Cis_Vyr", 1},
              {"Mnozstvi", 3.0},
              {"JHmotnost", 2.5},
              {"PC_NettoC", 121.5},
              {"Cena_CiziC", 4.75},
              {"DPH", 21.0}});
    pol.edit();
    const PuvodniHodnoty& v = dm->PuvodniHodnotyPolozky(pol);
    EXPECT_EQ(v.PC_NettoC, Decimal::fromRaw(1215000));
    EXPECT_EQ(v.Cena_CiziC, Decimal::fromRaw(47500));
    EXPECT_EQ(v.Hmotnost, Decimal::fromRaw(75000)); // 3 x 2.5
    EXPECT_EQ(v.DPH, 21);
    // Changing the row does not touch what was remembered.
    pol.field("PC_NettoC").setFloat(10);
    EXPECT_EQ(dm->PuvodniHodnotyPolozky(pol).PC_NettoC, Decimal::fromRaw(1215000));
    pol.post();
    pol.insert();
    EXPECT_EQ(dm->PuvodniHodnotyPolozky(pol).PC_NettoC, Decimal());
    EXPECT_EQ(dm->PuvodniHodnotyPolozky(pol).DPH, 0);
    pol.cancel();

    // Stock receipts remember their stock and shown prices; cash sales their quantity.
    add(*dm->TableHlaPrij, {{"CIS_UCTU", 1}, {"STAV", "0"}});
    add(*dm->TablePolPrij,
        {{"PorCis", 1}, {"Cis_Vyr", 1}, {"Cena_SklC", 50.0}, {"Cena_ZobrC", 60.0}});
    dm->TablePolPrij->edit();
    EXPECT_EQ(dm->PuvodniHodnotyPolozky(*dm->TablePolPrij).Cena_SklC, Decimal(50));
    EXPECT_EQ(dm->PuvodniHodnotyPolozky(*dm->TablePolPrij).Cena_ZobrC, Decimal(60));
    dm->TablePolPrij->cancel();
    add(*dm->TableHlaPoklO, {{"CIS_UCTU", 1}, {"STAV", "0"}, {"Prij_Vydej", "V"}});
    add(*dm->TablePolPoklO, {{"PorCis", 1}, {"Cis_Vyr", 1}, {"Mnozstvi", 2.0}, {"DPH", 12.0}});
    dm->TablePolPoklO->edit();
    EXPECT_EQ(dm->PuvodniHodnotyPolozky(*dm->TablePolPoklO).Mnozstvi, Decimal(2));
    EXPECT_EQ(dm->PuvodniHodnotyPolozky(*dm->TablePolPoklO).DPH, 12);
    // Each table has its own set; a table without remembered values answers zero.
    EXPECT_EQ(dm->PuvodniHodnotyPolozky(pol).PC_NettoC, Decimal());
    EXPECT_EQ(dm->PuvodniHodnotyPolozky(*dm->TableVyr).PC_NettoC, Decimal());
    for (Table* t :
         {dm->TablePolFaV, dm->TablePolDLP, dm->TablePolObjV, dm->TPolObjP, dm->TablePolVyd})
        EXPECT_NE(&dm->PuvodniHodnotyPolozky(*t), &dm->PuvodniHodnotyPolozky(*dm->TableVyr))
            << t->def().file.toStdString();
}

TEST_F(HandlersTest, HeaderCascadeRunsEachItemsOwnRules) {
    // An invoice family configured as its issue does: items from the first, each zeroed and
    // its surcharges deleted before it goes.
    Table& h = *dm->TableHlaFaV;
    Table& pol = *dm->TablePolFaV;
    Table& prir = *dm->TPrirFaV;
    QList<int> seen;     // the items deleted, in order
    QList<double> taken; // their remembered net amounts
    kaskadaPredSmazanimHlavicky(h, pol, ZpusobMazaniPolozek::OdPrvnihoEdit);
    predSmazanim(pol, [&](Table& p) {
        seen << int(p.field("PORCIS").asInteger());
        EXPECT_EQ(p.state(), TableState::Edit);
        vynulujPole(p, {"DPH", "PC_NETTOC", "CENA_CIZIC", "JHmotnost"});
        EXPECT_EQ(p.field("PC_NETTOC").asDecimal(), Decimal());
        taken << dm->PuvodniHodnotyPolozky(p).PC_NettoC.toDouble();
        smazPodrizene(p, prir, "CIS_UCTU;PORCIS", "Cis_Uctu;PorCis");
    });
    for (int doc : {1, 2}) {
        add(h, {{"CIS_UCTU", doc}, {"STAV", "2"}});
        for (int i = 1; i <= 3; ++i) {
            add(pol, {{"PORCIS", i}, {"CIS_VYR", 1}, {"PC_NETTOC", 100.0 * i}});
            add(prir, {{"Druh_Prir", "SD"}, {"CCena", 1.0}});
        }
    }
    ASSERT_TRUE(h.locate("CIS_UCTU", {1}));
    pol.close();
    prir.close(); // a closed item cursor is opened for the cascade and closed again
    h.remove();
    EXPECT_EQ(seen, (QList<int>{1, 2, 3}));
    EXPECT_EQ(taken, (QList<double>{100, 200, 300}));
    EXPECT_FALSE(pol.active());
    EXPECT_TRUE(boxes().isEmpty()) << boxes().join('\n').toStdString();
    EXPECT_EQ(rows("Ext_Ucty\\FaVydane\\Hla_FaV"), 1);
    EXPECT_EQ(rows("Ext_Ucty\\FaVydane\\Pol_Fav"), 3); // invoice 2 keeps its items
    EXPECT_EQ(rows("Ext_Ucty\\FaVydane\\Prir_FaV"), 3);
}

TEST_F(HandlersTest, HeaderCascadeWithoutEditDeletesWithoutAsking) {
    // Stock receipts: the items are deleted as they are, so the header's question never comes.
    Table& h = *dm->TableHlaPrij;
    Table& pol = *dm->TablePolPrij;
    QList<TableState> states;
    kaskadaPredSmazanimHlavicky(h, pol, ZpusobMazaniPolozek::Smazat);
    predSmazanim(pol, [&](Table& p) { states << p.state(); });
    add(h, {{"CIS_UCTU", 5}, {"STAV", "0"}});
    add(pol, {{"PorCis", 1}, {"Cis_Vyr", 1}});
    add(*dm->TablePolVarPrij, {{"DbPorCis", 1}, {"Cis_Vyr", 1}});
    add(pol, {{"PorCis", 2}, {"Cis_Vyr", 2}});
    h.remove();
    EXPECT_EQ(states, (QList<TableState>{TableState::Browse, TableState::Browse}));
    EXPECT_TRUE(boxes().isEmpty()) << boxes().join('\n').toStdString();
    EXPECT_EQ(rows("Int_Ucty\\Prijem\\Pol_Prij"), 0);
    EXPECT_EQ(rows("Int_Ucty\\Prijem\\Var_Prij"), 0);
}

TEST_F(HandlersTest, ComponentTablesDropTheirRangeAndIndexOnCloseAndOpen) {
    Table& komp = *dm->TablePolVarDL;
    komp.setMaster(nullptr, {}, {});
    komp.open();
    for (int i = 1; i <= 3; ++i)
        add(komp, {{"Cis_Uctu", i}, {"PorCis", 1}, {"Cis_Vyr", 1}, {"KCisVyr", 2}});
    komp.setRange({2}, {2});
    EXPECT_EQ(komp.recordCount(), 1);
    komp.close();
    komp.open();
    EXPECT_FALSE(komp.hasRange());
    EXPECT_EQ(komp.recordCount(), 3);
    EXPECT_EQ(komp.indexName(), ""); // the key begins with Cis_Uctu
}

TEST_F(HandlersTest, RegistersShowOnlyTheMarkedRecords) {
    Table& vyr = *dm->TableVyr;
    int repaints = 0;
    const int counting = vyr.onDataChanged.add([&](Table&) { ++repaints; });
    dm->filtrOznacenych(vyr, "ObjCis", {"P-1", "P-3"});
    EXPECT_TRUE(vyr.filtered());
    QStringList shown;
    for (vyr.first(); !vyr.eof(); vyr.next())
        shown << vyr.field("ObjCis").asString();
    EXPECT_EQ(shown, (QStringList{"P-1", "P-3"}));
    EXPECT_EQ(vyr.recordCount(), 2);
    EXPECT_GE(repaints, 1);
    // A number key of the partners, compared as text.
    add(*dm->TableFir, {{"Cis_firmy", 10}, {"Zkr_nazev", "A"}, {"Cis_obor", 1}});
    add(*dm->TableFir, {{"Cis_firmy", 11}, {"Zkr_nazev", "B"}, {"Cis_obor", 1}});
    dm->filtrOznacenych(*dm->TableFir, "Cis_firmy", {"11"});
    dm->TableFir->first();
    EXPECT_EQ(dm->TableFir->field("Cis_firmy").asInteger(), 11);
    EXPECT_EQ(dm->TableFir->recordCount(), 1);
    zrusFiltrOznacenych(vyr);
    EXPECT_EQ(vyr.recordCount(), 3);
    vyr.onDataChanged.remove(counting); // the count dies with this test, the table lives on
}

TEST_F(HandlersTest, StatusBarFollowsTheTableState) {
    Table& zeme = *dm->TableZeme;
    QStringList written;
    const int id = pripojStavovyText(zeme, 1, [&](int panel, const QString& text) {
        written << QString::number(panel) + ":" + text;
    });
    zeme.open();
    zeme.insert();
    zeme.field("Platnost_Od").setDate(QDate(2024, 1, 1));
    zeme.field("KOD_Meny").setString("EUR");
    zeme.post();
    zeme.edit();
    zeme.cancel();
    odpojStavovyText(zeme, id); // the form is gone: nothing more is written
    zeme.close();
    written.removeDuplicates();
    EXPECT_EQ(written, (QStringList{"1:Jiný stav", "1:Prohlížení", "1:Insert", "1:Edit"}));
}

TEST_F(HandlersTest, InvoiceItemsWithoutCustomsNumberStillWork) {
    dm.reset();
    db->exec("ALTER TABLE " + db->table("Ext_Ucty\\FaVydane\\Pol_Fav").sqlName +
             " DROP COLUMN CIS_CELSAZ");
    db.reset();
    OpenOptions o;
    o.upgrade = false;
    db = Database::open(dir.path(), o);
    dm = std::make_unique<TDataCis>(*db);
    EXPECT_FALSE(dm->TablePolFaV->hasField("CIS_CELSAZ"));
    EXPECT_TRUE(dm->TablePolDL->hasField("Cis_celsaz"));
    EXPECT_FALSE(dm->TablePolFaV->active());
    add(*dm->TableHlaFaV, {{"CIS_UCTU", 1}, {"STAV", "2"}});
    add(*dm->TablePolFaV, {{"PORCIS", 1}, {"CIS_VYR", 1}});
    EXPECT_EQ(dm->TablePolFaV->recordCount(), 1);
    EXPECT_TRUE(boxes().isEmpty()) << boxes().join('\n').toStdString();
}

TEST_F(HandlersTest, StockFiguresIgnoreAFilterAFormLeftOnTheStockTable) {
    Table& zas = *dm->TableSklZas;
    add(zas, {{"Cis_Vyr", 1}, {"Cis_Sklad", "1"}, {"SklZas_ks", 8.0}});
    add(zas, {{"Cis_Vyr", 1}, {"Cis_Sklad", "2"}, {"SklZas_ks", 2.0}});
    zas.setFilter("Cis_Sklad = '2'");
    zas.setFiltered(true);
    ZasobaVyrobkuVysledek z = dm->ZasobaVyrobku(1, "1");
    EXPECT_TRUE(z.nalezeno);
    EXPECT_EQ(z.zasobaKs, Decimal(8));
    zas.setFiltered(false);
    zas.setRange({2}, {2});
    z = dm->ZasobaVyrobku(1, "2");
    EXPECT_TRUE(z.nalezeno);
    EXPECT_EQ(z.zasobaKs, Decimal(2));
}

} // namespace
