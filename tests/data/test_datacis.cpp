// The data module: its shared cursors, finding products and partners, the stock figures of a
// product, the rules of the central tables and the employee-delete cascade.
#include "datacis_fixture.h"

#include "czech.h"

#include <QDateTime>

using namespace brix;
using brix::test::DataModuleTest;

namespace {

class DataCisTest : public DataModuleTest {
protected:
    void addProducts() {
        add(*dm->TableVyr, {{"Cis_vyr", 1},
                            {"ObjCis", "A-1"},
                            {"Nazev", "Barva bílá"},
                            {"NC_Netto", 120.0},
                            {"Faktor_Bal", 4.0},
                            {"Cis_Firmy", 7}});
        add(*dm->TableVyr, {{"Cis_vyr", 2},
                            {"ObjCis", "B-2"},
                            {"Nazev", "Ředidlo"},
                            {"NC_Netto", 50.0},
                            {"Faktor_Bal", 0.0},
                            {"Cis_Firmy", 7}});
        add(*dm->TableVyr, {{"Cis_vyr", 3},
                            {"ObjCis", "C-3"},
                            {"Nazev", "Doprava"},
                            {"Druh_Pol", "N"},
                            {"Cis_Firmy", 7},
                            {"NC_Netto", 10.0}});
    }
};

TEST_F(DataCisTest, EverySharedTableIsACursorClosedAfterCreation) {
    for (Table* t : {dm->TableFir, dm->TableVyr, dm->TableSklZas, dm->TableSklPol, dm->TableZamest,
                     dm->TableModul, dm->TableNast_Prgm, dm->TableCisUctu, dm->TableCis_Rada,
                     dm->TableDruhUctu, dm->TableZeme, dm->TableClo, dm->TableHlaDL, dm->TablePolDL,
                     dm->TablePolVarDL}) {
        ASSERT_NE(t, nullptr);
    }
    EXPECT_EQ(dm->TableFir->def().file, "Firmy");
    EXPECT_EQ(dm->TableSklZas->def().file, "SklZas");
    EXPECT_EQ(dm->tabulka("ciselnik/VYROBKY.db"), dm->TableVyr);
    for (Table* t : dm->tabulky())
        EXPECT_FALSE(t->active()) << t->def().address().toStdString();
    EXPECT_FALSE(dm->ExportDodavatele);
    EXPECT_EQ(TDataCis::instance(), dm.get());
    EXPECT_EQ(dm->TablePolDL->master(), dm->TableHlaDL);
    EXPECT_EQ(dm->TableVyrKomp->master(), dm->TableVyr);
}

TEST_F(DataCisTest, OlderItemsWithoutCustomsNumberStillWork) {
    dm.reset();
    db->exec("ALTER TABLE " + db->table("Ext_Ucty\\DodListy\\Pol_DL").sqlName +
             " DROP COLUMN cis_celsaz");
    db.reset();
    OpenOptions o;
    o.upgrade = false;
    db = Database::open(dir.path(), o);
    dm = std::make_unique<TDataCis>(*db);
    EXPECT_FALSE(dm->TablePolDL->hasField("cis_celsaz"));
    EXPECT_FALSE(dm->TablePolDL->active());
    add(*dm->TableVyr, {{"Cis_vyr", 1}, {"ObjCis", "A-1"}, {"Cis_Firmy", 7}});
    add(*dm->TableHlaDL, {{"CIS_UCTU", 10}, {"STAV", "0"}});
    add(*dm->TablePolDL, {{"PorCis", 1}, {"Cis_Vyr", 1}, {"Mnozstvi", 2.0}});
    EXPECT_EQ(dm->TablePolDL->recordCount(), 1);
    EXPECT_TRUE(boxes().isEmpty()) << boxes().join('\n').toStdString();
}

TEST_F(DataCisTest, NajdiVyrobekByNumber) {
    addProducts();
    Table& vyr = *dm->TableVyr;
    EXPECT_TRUE(dm->NajdiVyrobek("2   "));
    EXPECT_EQ(vyr.field("ObjCis").asString(), "B-2");
    // An empty key finds nothing and leaves the table where it is.
    const auto here = vyr.bookmark();
    EXPECT_FALSE(dm->NajdiVyrobek("   "));
    EXPECT_EQ(vyr.bookmark(), here);
    // The current product is found without moving; a key that is no number finds nothing.
    EXPECT_TRUE(dm->NajdiVyrobek("2"));
    EXPECT_EQ(vyr.bookmark(), here);
    EXPECT_FALSE(dm->NajdiVyrobek("B-2"));
    EXPECT_FALSE(dm->NajdiVyrobek("99"));
    // On the product-number index the key is sought on the index.
    vyr.setIndexName("");
    EXPECT_TRUE(dm->NajdiVyrobek("3"));
    EXPECT_EQ(vyr.field("Nazev").asString(), "Doprava");
}

TEST_F(DataCisTest, NajdiVyrobekByOrderCode) {
    addProducts();
    nastaveniProgramu().HlKlicVyr = "OBJCIS";
    Table& vyr = *dm->TableVyr;
    vyr.setIndexName("NazevVyr"); // not the order-code index: located ignoring case
    EXPECT_TRUE(dm->NajdiVyrobek("c-3 "));
    EXPECT_EQ(vyr.field("Cis_vyr").asInteger(), 3);
    vyr.setIndexName("Obj_Cis");
    EXPECT_TRUE(dm->NajdiVyrobek("A-1  "));
    EXPECT_EQ(vyr.field("Cis_vyr").asInteger(), 1);
    EXPECT_FALSE(dm->NajdiVyrobek("1"));
}

TEST_F(DataCisTest, NajdiFirmuIgnoresCaseAndTrailingBlanks) {
    add(*dm->TableFir, {{"Cis_firmy", 1},
                        {"Zkr_nazev", "F1"},
                        {"Cis_obor", 1},
                        {"Nazev", "Barvy O'Brien s.r.o."}});
    add(*dm->TableFir,
        {{"Cis_firmy", 2}, {"Zkr_nazev", "F2"}, {"Cis_obor", 1}, {"Nazev", "Čechova Žlutá"}});
    EXPECT_TRUE(dm->NajdiFirmu("barvy o'brien S.R.O.  "));
    EXPECT_EQ(dm->TableFir->field("Cis_firmy").asInteger(), 1);
    EXPECT_TRUE(dm->NajdiFirmu("ČECHOVA ŽLUTÁ"));
    EXPECT_EQ(dm->TableFir->field("Cis_firmy").asInteger(), 2);
    EXPECT_FALSE(dm->NajdiFirmu(""));
    EXPECT_EQ(dm->TableFir->field("Cis_firmy").asInteger(), 2);
    EXPECT_FALSE(dm->NajdiFirmu("Neznámá"));
}

TEST_F(DataCisTest, ZasobaVyrobkuAnswersWhatItFoundAndShowsNothing) {
    addProducts();
    add(*dm->TableSklZas, {{"Cis_Vyr", 1},
                           {"Cis_Sklad", "1"},
                           {"SklZas_ks", 8.0},
                           {"SklZas_kc", 240.0},
                           {"Rezervace", 3.0},
                           {"Objednano", 5.0}});
    dm->TableSklZas->close();
    // A stock row: all four figures and the unit price of a stocked product.
    ZasobaVyrobkuVysledek z = dm->ZasobaVyrobku(1, "1");
    EXPECT_TRUE(z.nalezeno);
    EXPECT_TRUE(z.vyrobekExistuje);
    EXPECT_EQ(z.jednotkovaNakupniCena, Decimal(30));
    EXPECT_EQ(z.zasobaKs, Decimal(8));
    EXPECT_EQ(z.zasobaKc, Decimal(240));
    EXPECT_EQ(z.rezervace, Decimal(3));
    EXPECT_EQ(z.objednano, Decimal(5));
    EXPECT_FALSE(UpozorneniZasoby(z));
    // No stock row in this warehouse: not found, figures 0, the unit price still there.
    z = dm->ZasobaVyrobku(1, "2");
    EXPECT_FALSE(z.nalezeno);
    EXPECT_EQ(z.jednotkovaNakupniCena, Decimal(30));
    EXPECT_EQ(z.zasobaKs, Decimal());
    EXPECT_EQ(z.rezervace, Decimal());
    // A packing factor of 0: the purchase price unchanged, and the warning for the caller.
    z = dm->ZasobaVyrobku(2, "1");
    EXPECT_FALSE(z.nalezeno);
    EXPECT_EQ(z.jednotkovaNakupniCena, Decimal(50));
    EXPECT_EQ(UpozorneniZasoby(z), "Faktor množství výrobku \"2\" je nulový");
    nastaveniProgramu().HlKlicVyr = "OBJCIS";
    EXPECT_EQ(UpozorneniZasoby(dm->ZasobaVyrobku(2, "1")),
              "Faktor množství výrobku \"B-2\" je nulový");
    // Not a stocked product: no unit price.
    z = dm->ZasobaVyrobku(3, "1");
    EXPECT_EQ(z.jednotkovaNakupniCena, Decimal());
    EXPECT_TRUE(z.vyrobekExistuje);
    EXPECT_FALSE(UpozorneniZasoby(z));
    // No such product.
    z = dm->ZasobaVyrobku(77, "1");
    EXPECT_FALSE(z.nalezeno);
    EXPECT_FALSE(z.vyrobekExistuje);
    EXPECT_EQ(UpozorneniZasoby(z), "Nenalezen výrobek číslo 77");
    EXPECT_TRUE(boxes().isEmpty()); // the data module shows nothing itself
    // An open stock table on its key is positioned on the row.
    dm->TableSklZas->open();
    dm->TableSklZas->last();
    EXPECT_TRUE(dm->ZasobaVyrobku(1, "1").nalezeno);
    EXPECT_EQ(dm->TableSklZas->field("Cis_Sklad").asString(), "1");
}

TEST_F(DataCisTest, ProductRules) {
    Table& vyr = *dm->TableVyr;
    vyr.open();
    vyr.insert();
    EXPECT_EQ(vyr.field("Druh_Pol").asString(), "S");
    EXPECT_EQ(vyr.field("DPH").asInteger(), 22);
    EXPECT_EQ(vyr.field("DruhMn").asString(), "ks");
    EXPECT_EQ(vyr.field("CenaZa").asInteger(), 1);
    EXPECT_EQ(vyr.field("Faktor_Bal").asInteger(), 1);
    EXPECT_FALSE(vyr.modified()); // defaults alone do not make the record changed
    vyr.field("Cis_vyr").setInteger(5);
    vyr.field("SklZas_Ks").setFloat(10);
    vyr.field("Rezervace").setFloat(2.5);
    vyr.field("Kod_Ozn1").setString("KX");
    vyr.field("Cis_Firmy").setInteger(7);
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    vyr.post();
    EXPECT_EQ(vyr.field("DisponMn").asDecimal(), Decimal::fromRaw(75000));
    EXPECT_GE(vyr.field("Posl_Zmena").asDateTime(), before);
    EXPECT_EQ(dm->PoslKodOzn1, "KX");

    add(*dm->TableFir, {{"Cis_firmy", 1}, {"Zkr_nazev", "F1"}, {"Cis_obor", 1}});
    EXPECT_TRUE(dm->TableFir->field("Uc_jednotka").asBoolean());
    add(*dm->TableZeme, {{"Platnost_Od", QDate(2024, 1, 1)}, {"KOD_Meny", "EUR"}});
    EXPECT_EQ(dm->TableZeme->field("Zaokr").asDecimal(), Decimal::fromRaw(1000));
    EXPECT_EQ(dm->TableZeme->field("Koef").asInteger(), 1);
    add(*dm->TableClo, {{"Cis_celsaz", "3208"}});
    EXPECT_EQ(dm->TableClo->field("Jednotka").asString(), "NAR");
    EXPECT_FALSE(dm->TableClo->field("Sleva_Eur").asBoolean());
    EXPECT_FALSE(dm->TableClo->field("Sleva_Eur").isNull());

    // A price-list row takes the current product; its partner name is calculated.
    add(*dm->TableFir,
        {{"Cis_firmy", 2}, {"Zkr_nazev", "F2"}, {"Cis_obor", 1}, {"Nazev", "Malíř Dvořák"}});
    vyr.first();
    add(*dm->TCenik_ZAK, {{"Cis_Firmy", 2}, {"PC_ZAKL", 99.0}});
    EXPECT_EQ(dm->TCenik_ZAK->field("Cis_Vyr").asInteger(), 5);
    dm->TCenik_ZAK->first();
    EXPECT_EQ(dm->TCenik_ZAK->field("NazevF").asString(), "Malíř Dvořák");
}

TEST_F(DataCisTest, SupplierFieldsOnlyWhileExporting) {
    add(*dm->TableFir, {{"Cis_firmy", 7},
                        {"Zkr_nazev", "F7"},
                        {"Cis_obor", 1},
                        {"Nazev", "Dodavatel a.s."},
                        {"ICO", "12345678"},
                        {"Ulice", "Dlouhá 1"},
                        {"Mesto", "Brno"},
                        {"PSC", "60200"}});
    add(*dm->TableVyr, {{"Cis_vyr", 1}, {"ObjCis", "A-1"}, {"Cis_Firmy", 7}});
    add(*dm->TableVyr, {{"Cis_vyr", 2}, {"ObjCis", "B-2"}, {"Cis_Firmy", 8}});
    Table& vyr = *dm->TableVyr;
    vyr.close();
    vyr.open();
    EXPECT_EQ(vyr.field("NAZEV_FI").asString(), "");
    EXPECT_TRUE(boxes().isEmpty());
    dm->ExportDodavatele = true;
    vyr.close();
    vyr.open();
    vyr.setIndexName("");
    vyr.first();
    EXPECT_EQ(vyr.field("NAZEV_FI").asString(), "Dodavatel a.s.");
    EXPECT_EQ(vyr.field("ICO").asString(), "12345678");
    EXPECT_EQ(vyr.field("ADRESA").asString(), "Dlouhá 1");
    EXPECT_EQ(vyr.field("PSC").asString(), "60200");
    vyr.next();
    EXPECT_TRUE(boxes().contains("Upozornění: Výrobek B-2 nemá vyplněný existujícího dodavatele"))
        << boxes().join('\n').toStdString();
    // The partners are read through a cursor of their own: the shared one is not filtered.
    EXPECT_FALSE(dm->TableFir->active() && dm->TableFir->filtered());
}

TEST_F(DataCisTest, StockRulesStampTheChange) {
    add(*dm->TableSklZas, {{"Cis_Vyr", 1}, {"Cis_Sklad", "1"}});
    EXPECT_FALSE(dm->TableSklZas->field("Posl_Zmena").isNull());
}

TEST_F(DataCisTest, DeletingAnEmployeeDeletesItsRights) {
    add(*dm->TableZamest, {{"PRIJMENI", "O'Neill"}, {"JMENO", "Jan"}});
    add(*dm->TableZamest, {{"PRIJMENI", "Řezáč"}, {"JMENO", "Petr"}});
    for (const char* m : {"DL", "FV", "SKLAD"})
        add(*dm->TableModul, {{"Prijmeni", "O'NEILL"}, {"Modul", m}});
    add(*dm->TableModul, {{"Prijmeni", "ŘEZÁČ"}, {"Modul", "DL"}});
    add(*dm->TableModul, {{"Prijmeni", "O'NEILLOVÁ"}, {"Modul", "DL"}});
    dm->TableModul->close();

    Table& z = *dm->TableZamest;
    ASSERT_TRUE(z.locate("PRIJMENI", {"O'Neill"}));
    z.remove();
    EXPECT_FALSE(dm->TableModul->active());
    Table moduly(*db, "Nastaven\\Moduly");
    moduly.open();
    QStringList left;
    for (moduly.first(); !moduly.eof(); moduly.next())
        left << moduly.field("Prijmeni").asString() + "/" + moduly.field("Modul").asString();
    left.sort();
    EXPECT_EQ(left, (QStringList{"O'NEILLOVÁ/DL", "ŘEZÁČ/DL"}));

    // The rights table opened by a form with a filter is left closed, without range or filter.
    dm->TableModul->open();
    dm->TableModul->setFilter("Modul = 'DL'");
    dm->TableModul->setFiltered(true);
    ASSERT_TRUE(z.locate("PRIJMENI", {"Řezáč"}));
    z.remove();
    EXPECT_FALSE(dm->TableModul->active());
    EXPECT_FALSE(dm->TableModul->filtered());
    EXPECT_FALSE(dm->TableModul->hasRange());
    dm->TableModul->open();
    EXPECT_EQ(dm->TableModul->recordCount(), 1);
    EXPECT_TRUE(boxes().isEmpty());

    // Rights are keyed by the surname: while another employee bears it, they stay.
    add(z, {{"PRIJMENI", "Novák"}, {"JMENO", "Jan"}});
    add(z, {{"PRIJMENI", "Novák"}, {"JMENO", "Petr"}});
    add(*dm->TableModul, {{"Prijmeni", "NOVÁK"}, {"Modul", "FV"}});
    ASSERT_TRUE(z.locate("JMENO", {"Jan"}));
    z.remove();
    dm->TableModul->open();
    EXPECT_EQ(dm->TableModul->recordCount(), 2);
    ASSERT_TRUE(z.locate("JMENO", {"Petr"}));
    z.remove();
    dm->TableModul->open();
    EXPECT_EQ(dm->TableModul->recordCount(), 1);
}

TEST_F(DataCisTest, SettingsTableRows) {
    Table& t = *dm->TableNast_Prgm;
    NastaveniTabulky n = nactiNastaveniTabulky(t);
    EXPECT_TRUE(n.REZERVACE);
    EXPECT_FALSE(n.VERZETEXTIL);
    EXPECT_FALSE(n.maTitle);
    EXPECT_FALSE(t.active());
    add(t, {{"Popis", "REZERVACE"}, {"Boolean", false}});
    add(t, {{"Popis", "VerzeTextil"}, {"Boolean", true}});
    add(t, {{"Popis", "TITLE"}, {"Hodnota", "Barvy Novák"}});
    add(t, {{"Popis", "JINE"}, {"Boolean", true}});
    n = nactiNastaveniTabulky(t);
    EXPECT_FALSE(n.REZERVACE);
    EXPECT_TRUE(n.VERZETEXTIL);
    EXPECT_TRUE(n.maTitle);
    EXPECT_EQ(n.TITLE, "Barvy Novák");
    EXPECT_TRUE(t.active()); // it was open before the reading
}

} // namespace
