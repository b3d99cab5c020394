// The system's own catalogue: every table is created and opens, keys and indexes name real
// fields, the stored types the older data needs, keys that take what the documents write, an
// older data root upgraded without loss, and the storage rules between the tables.
#include "storage_fixture.h"

#include <QDate>
#include <QSet>

using namespace brix;
using namespace brix::test;

namespace {

StorageErrorKind postError(Table& t) {
    try {
        t.post();
    } catch (const StorageError& e) {
        return e.kind();
    }
    return StorageErrorKind::Other;
}

StorageErrorKind removeError(Table& t) {
    try {
        t.remove();
    } catch (const StorageError& e) {
        return e.kind();
    }
    return StorageErrorKind::Other;
}

class CatalogueTest : public StorageTest {
protected:
    OpenOptions options() override { return {}; } // the system's own catalogue

    void addProduct(int number) {
        Table p(*db, "Ciselnik\\Vyrobky");
        p.open();
        add(p, {{"Cis_vyr", number},
                {"Nazev", QStringLiteral("Výrobek %1").arg(number)},
                {"Druh_Pol", "S"},
                {"DPH", 21},
                {"Faktor_Bal", 1},
                {"Cis_Firmy", 1}});
    }
};

TEST_F(CatalogueTest, EveryTableIsCreatedAndOpensWithItsFields) {
    const Catalogue& cat = Catalogue::standard();
    QSet<QString> addresses;
    for (const TableDef& def : cat.tables()) {
        SCOPED_TRACE(def.address().toStdString());
        EXPECT_FALSE(addresses.contains(def.sqlName)) << "defined twice";
        addresses.insert(def.sqlName);
        EXPECT_TRUE(Catalogue::dataDirectories().contains(def.directory, Qt::CaseInsensitive));
        QSet<QString> names;
        for (const FieldDef& f : def.fields) {
            EXPECT_FALSE(names.contains(f.name.toLower())) << f.name.toStdString();
            names.insert(f.name.toLower());
            if (f.kind == FieldKind::Text) {
                EXPECT_GT(f.size, 0) << f.name.toStdString();
            }
        }
        for (const QString& k : def.primaryKey)
            EXPECT_TRUE(def.field(k)) << "key " << k.toStdString();
        for (const IndexDef& ix : def.indexes)
            for (const QString& k : ix.fields)
                EXPECT_TRUE(def.field(k)) << ix.name.toStdString() << ": " << k.toStdString();
        if (!def.defaultIndex.isEmpty()) {
            EXPECT_TRUE(def.index(def.defaultIndex));
        }
        for (const DetailRule& r : def.detailRules) {
            const TableDef* d = cat.find(r.detailTable);
            ASSERT_TRUE(d) << r.detailTable.toStdString();
            ASSERT_EQ(r.masterFields.size(), r.detailFields.size());
            for (int i = 0; i < r.masterFields.size(); ++i) {
                EXPECT_TRUE(def.field(r.masterFields[i]));
                EXPECT_TRUE(d->field(r.detailFields[i])) << r.detailFields[i].toStdString();
            }
        }
        for (const ForeignKeyRule& r : def.foreignKeys) {
            const TableDef* m = cat.find(r.refTable);
            ASSERT_TRUE(m);
            EXPECT_TRUE(def.field(r.field));
            EXPECT_TRUE(m->field(r.refField));
        }

        Table t(*db, def.address());
        t.open();
        EXPECT_TRUE(t.isEmpty());
        EXPECT_EQ(t.fieldCount(), def.fields.size());
        for (const IndexDef& ix : def.indexes)
            t.setIndexName(ix.name);
        t.close();
    }
    // The data module's shared tables are all there.
    for (const char* a :
         {"Ciselnik\\Firmy",      "Ciselnik\\Fir_Zapis", "Ciselnik\\Meny",      "Ciselnik\\Skonto",
          "Ciselnik\\obor",       "Ciselnik\\Kod_Ozn1",  "Ciselnik\\Kod_Ozn2",  "Ciselnik\\RabSkup",
          "Ciselnik\\VynSkup",    "Ciselnik\\Sklady",    "Ciselnik\\Stredisko", "Ciselnik\\Clo",
          "Ciselnik\\Druhy_uctu", "Ciselnik\\Cis_uctu",  "Ciselnik\\Cis_rada",  "Ciselnik\\Vyrobky",
          "Ciselnik\\Vyr_Komp",   "Ciselnik\\Vyr_Var",   "Ciselnik\\Cenik_Zak", "Ciselnik\\Zamest",
          "Ciselnik\\Kontrola",   "Nastaven\\Nast_Pr",   "Nastaven\\Moduly",    "Sklady\\SklZas",
          "Sklady\\SklPol"})
        EXPECT_TRUE(cat.find(a)) << a;
}

TEST_F(CatalogueTest, RequiredFieldsAreRefused) {
    Table firms(*db, "Ciselnik\\Firmy");
    firms.open();
    firms.insert();
    firms.field("Cis_firmy").setInteger(1);
    firms.field("Cis_obor").setInteger(3);
    EXPECT_EQ(postError(firms), StorageErrorKind::RequiredFieldMissing); // no short name
    firms.field("Zkr_nazev").setString("Barvy");
    firms.post();
    firms.insert();
    firms.field("Cis_firmy").setInteger(1);
    firms.field("Zkr_nazev").setString("Jiná");
    firms.field("Cis_obor").setInteger(3);
    EXPECT_EQ(postError(firms), StorageErrorKind::KeyViolation);
    firms.cancel();
    EXPECT_EQ(firms.recordCount(), 1);

    Table kinds(*db, "Ciselnik\\Druhy_uctu");
    kinds.open();
    kinds.insert();
    kinds.field("Typ_Uctu").setString("DL");
    EXPECT_EQ(postError(kinds), StorageErrorKind::RequiredFieldMissing);
}

// Older data keeps some numbers in other types; the tables must read them as stored.
TEST_F(CatalogueTest, FieldsKeepTheTypesOlderDataStores) {
    const Catalogue& cat = Catalogue::standard();
    auto kind = [&](const char* table, const char* field) {
        const TableDef* t = cat.find(table);
        EXPECT_TRUE(t) << table;
        const FieldDef* f = t ? t->field(field) : nullptr;
        EXPECT_TRUE(f) << table << "." << field;
        return f ? f->kind : FieldKind::Blob;
    };
    for (const char* f : {"CIS_UCTU", "PORCIS", "CIS_VYR"})
        EXPECT_EQ(kind("Ext_Ucty\\FaVydane\\Pol_Fav", f), FieldKind::Float) << f;
    for (const char* f : {"UJ_CIS", "CIS_FIRMY", "PC_SKONTO", "SPLATNOST", "SKONTO_DNI"})
        EXPECT_EQ(kind("Ext_Ucty\\FaVydane\\Hla_FaV", f), FieldKind::Float) << f;
    for (const char* t : {"Ext_Ucty\\DodListy\\Var_DL", "Pokladna\\Obchod\\VarVyr_PoklO"}) {
        EXPECT_EQ(kind(t, "Cis_Uctu"), FieldKind::Text) << t;
        EXPECT_EQ(cat.find(t)->field("Cis_Uctu")->size, 10);
    }
    for (const char* t : {"Ext_Ucty\\DodListy\\Komp_DL", "Objednav\\Vydane\\Var_ObjV",
                          "Pokladna\\Obchod\\Var_PoklO"})
        EXPECT_EQ(kind(t, "PorCis"), FieldKind::LongInt) << t;
    // Every other item table numbers its items with a small integer.
    for (const TableDef& t : cat.tables())
        if (t.file.startsWith("Pol_") && t.file.compare("Pol_Fav", Qt::CaseInsensitive) != 0) {
            EXPECT_EQ(t.field("PorCis")->kind, FieldKind::SmallInt) << t.file.toStdString();
        }
    // A delivery-note or invoice item table of older data may lack the tariff column.
    EXPECT_TRUE(cat.find("Ext_Ucty\\DodListy\\Pol_DL")->field("cis_celsaz")->optional);
    EXPECT_TRUE(cat.find("Ext_Ucty\\FaVydane\\Pol_Fav")->field("cis_celsaz")->optional);
}

// Each sub-item table takes as many rows per item (and each item table as many items per
// document) as the documents write.
TEST_F(CatalogueTest, KeysTakeEveryRowADocumentWrites) {
    addProduct(7);
    addProduct(8);
    struct Case {
        const char* table;
        std::vector<std::pair<const char*, QVariant>> shared; // the document / item
        const char* varying;                                  // what tells the rows apart
        QVariant first, second;
    };
    const std::vector<Case> cases = {
        {"Banka\\Banka_Pol", {{"Druh_Dokl", "BV"}, {"Cis_Dokl", "12"}}, "PorCis", 1, 2},
        {"Ext_Ucty\\FaPrij\\Pol_FaP", {{"CIS_UCTU", 40}, {"Cis_Vyr", 7}}, "PorCis", 1, 2},
        {"Int_Ucty\\Vydej\\Pol_Vyd", {{"CIS_UCTU", 41}}, "PorCis", 1, 2},
        {"Int_Ucty\\Vydej\\Var_Vyd", {{"Cis_Uctu", 41}, {"PorCis", 1}}, "DbPorCis", 1, 2},
        {"Int_Ucty\\Prijem\\Var_Prij", {{"Cis_Uctu", 42}, {"PorCis", 1}}, "DbPorCis", 1, 2},
        {"Ext_Ucty\\PrijZb\\Var_DLP",
         {{"Cis_Uctu", 43}, {"PorCis", 1}, {"Cis_Vyr", 7}},
         "DbPorCis",
         1,
         2},
        {"Ext_Ucty\\DodListy\\Var_DL",
         {{"Cis_Uctu", "44"}, {"PorCis", 1}, {"Cis_Vyr", 7}, {"Varianta2", "M"}},
         "Varianta1",
         "červená",
         "modrá"},
        {"Pokladna\\Obchod\\VarVyr_PoklO",
         {{"Cis_Uctu", "45"}, {"PorCis", 1}, {"Cis_Vyr", 7}, {"Varianta1", "bílá"}},
         "Varianta2",
         "S",
         "XL"},
        {"Ext_Ucty\\DodListy\\Komp_DL",
         {{"Cis_Uctu", 46}, {"PorCis", 1}, {"Cis_Vyr", 9}},
         "KCisVyr",
         7,
         8},
        {"Pokladna\\Obchod\\Var_PoklO", {{"Cis_Uctu", 47}, {"PorCis", 1}}, "KCisVyr", 7, 8},
        {"Objednav\\Vydane\\Var_ObjV", {{"Cis_Uctu", 48}, {"PorCis", 1}}, "KCisVyr", 7, 8},
        {"Ext_Ucty\\PrijZb\\JCD", {{"Cis_CelSaz", "32081090"}}, "ObjCis", "A-1", "A-2"},
        {"Pokladna\\Obchod\\Stav_Pokl", {{"Cis_Uctu", 49}, {"P_V", "P"}}, "KS", 100, 250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        Table t(*db, c.table);
        t.open();
        for (const QVariant& v : {c.first, c.second}) {
            t.insert();
            for (const auto& [name, value] : c.shared)
                t.field(name).setValue(value);
            t.field(c.varying).setValue(v);
            EXPECT_NO_THROW(t.post());
        }
        EXPECT_EQ(t.recordCount(), 2);
        // A repeated row is still refused where the table has a key.
        if (!t.def().primaryKey.isEmpty()) {
            t.insert();
            for (const auto& [name, value] : c.shared)
                t.field(name).setValue(value);
            t.field(c.varying).setValue(c.second);
            EXPECT_EQ(postError(t), StorageErrorKind::KeyViolation);
            t.cancel();
        }
    }
}

TEST_F(CatalogueTest, ItemsNeedTheirProductAndHeadersKeepTheirItems) {
    addProduct(7);
    for (const char* items : {"Ext_Ucty\\DodListy\\Pol_DL", "Ext_Ucty\\PrijZb\\Pol_DLP",
                              "Ext_Ucty\\FaPrij\\Pol_FaP", "Objednav\\Vydane\\Pol_ObjV"}) {
        SCOPED_TRACE(items);
        Table t(*db, items);
        t.open();
        t.insert();
        t.field("CIS_UCTU").setInteger(1);
        t.field("PorCis").setInteger(1);
        t.field("Cis_Vyr").setInteger(99);
        EXPECT_EQ(postError(t), StorageErrorKind::ForeignKeyViolation);
        t.field("Cis_Vyr").setInteger(7);
        EXPECT_NO_THROW(t.post());
    }
    // Receipt and issue items take any product number: their forms check it.
    Table issue(*db, "Int_Ucty\\Vydej\\Pol_Vyd");
    issue.open();
    add(issue, {{"CIS_UCTU", 1}, {"PorCis", 1}, {"Cis_Vyr", 99}});

    struct Family {
        const char* header;
        const char* items;
    };
    for (const Family& f : {Family{"Ext_Ucty\\DodListy\\Hla_DL", "Ext_Ucty\\DodListy\\Pol_DL"},
                            Family{"Ext_Ucty\\PrijZb\\Hla_DLP", "Ext_Ucty\\PrijZb\\Pol_DLP"},
                            Family{"Int_Ucty\\Vydej\\Hla_Vyd", "Int_Ucty\\Vydej\\Pol_Vyd"}}) {
        SCOPED_TRACE(f.header);
        Table h(*db, f.header);
        h.open();
        h.insert();
        h.field("CIS_UCTU").setInteger(1);
        EXPECT_EQ(postError(h), StorageErrorKind::RequiredFieldMissing); // no state
        h.field("STAV").setString("0");
        h.post();
        EXPECT_EQ(removeError(h), StorageErrorKind::DetailRecordsExist);
        Table i(*db, f.items);
        i.open();
        while (!i.isEmpty()) {
            i.first();
            i.remove();
        }
        h.remove();
        EXPECT_TRUE(h.isEmpty());
    }
    // An item with variant or component rows is kept while they exist.
    Table receiptItems(*db, "Int_Ucty\\Prijem\\Pol_Prij"),
        variants(*db, "Int_Ucty\\Prijem\\Var_Prij");
    receiptItems.open();
    variants.open();
    add(receiptItems, {{"CIS_UCTU", 3}, {"PorCis", 1}});
    add(variants, {{"Cis_Uctu", 3}, {"PorCis", 1}, {"DbPorCis", 1}});
    EXPECT_EQ(removeError(receiptItems), StorageErrorKind::DetailRecordsExist);
    variants.remove();
    receiptItems.remove();
    EXPECT_TRUE(receiptItems.isEmpty());
}

// A data root written by an earlier version: fewer tables, fewer columns.
TEST(CatalogueUpgrade, AnOlderRootGainsWhatIsMissingAndKeepsItsRows) {
    QTemporaryDir dir;
    Catalogue older;
    older.add(Catalogue::define("Ciselnik", "Vyrobky", "Cis_vyr I; Nazev A50; DPH F", "Cis_vyr"));
    older.add(Catalogue::define("Sklady", "SklZas", "Cis_Vyr I; Cis_Sklad A4; SklZas_ks F",
                                "Cis_Vyr;Cis_Sklad"));
    // The ledger's product index was (Cis_Vyr, Cis_Sklad) then.
    older.add(Catalogue::define("Sklady", "SklPol",
                                "Cis_Uctu I; PorCis I; Druh_Uctu A1; Dat_Plneni D; Cis_Vyr I; "
                                "Cis_Sklad A4; Mnozstvi F",
                                "", "CisVyr=Cis_Vyr,Cis_Sklad"));
    {
        auto db = Database::open(dir.path(), {.catalogue = &older});
        Table l(*db, "Sklady\\SklPol");
        l.open();
        const std::pair<const char*, const char*> moves[] = {
            {"A", "2024-03-01"}, {"B", "2024-01-15"}, {"C", "2024-02-10"}};
        for (const auto& [sklad, den] : moves) {
            l.insert();
            l.field("Cis_Vyr").setInteger(2);
            l.field("Cis_Sklad").setString(sklad);
            l.field("Dat_Plneni").setDate(QDate::fromString(den, Qt::ISODate));
            l.post();
        }
        Table p(*db, "Ciselnik\\Vyrobky"), s(*db, "Sklady\\SklZas");
        p.open();
        s.open();
        for (int i = 1; i <= 3; ++i) {
            p.insert();
            p.field("Cis_vyr").setInteger(i);
            p.field("Nazev").setString(QStringLiteral("Barva č. %1").arg(i));
            p.field("DPH").setFloat(21);
            p.post();
            s.insert();
            s.field("Cis_Vyr").setInteger(i);
            s.field("Cis_Sklad").setString("HL");
            s.field("SklZas_ks").setFloat(i * 2.5);
            s.post();
        }
    }
    auto db = Database::open(dir.path());
    Table p(*db, "Ciselnik\\Vyrobky");
    p.open();
    EXPECT_EQ(p.recordCount(), 3);
    EXPECT_EQ(p.fieldCount(), Catalogue::standard().find("Ciselnik\\Vyrobky")->fields.size());
    EXPECT_EQ(p.indexName(), "Obj_Cis"); // products open in order-code order
    p.setIndexName("");
    ASSERT_TRUE(p.findKey({2}));
    EXPECT_EQ(p.field("Nazev").asString(), "Barva č. 2");
    EXPECT_TRUE(p.field("ObjCis").isNull());
    p.setIndexName("Obj_Cis");
    p.edit();
    p.field("ObjCis").setString("B-2");
    p.field("Druh_Pol").setString("S");
    p.field("Faktor_Bal").setInteger(1);
    p.field("Cis_Firmy").setInteger(4);
    p.post();
    Table s(*db, "Sklady\\SklZas");
    s.open();
    ASSERT_TRUE(s.findKey({3, "HL"}));
    EXPECT_DOUBLE_EQ(s.field("SklZas_ks").asFloat(), 7.5);
    for (const TableDef& def : Catalogue::standard().tables()) {
        Table t(*db, def.address());
        t.open();
    }
    // The ledger's product index is built again over the product and the date.
    QStringList fields;
    Statement ix = db->prepare("SELECT name FROM pragma_index_info('sklady_sklpol__cisvyr')");
    while (ix.step())
        fields << ix.columnText(0);
    EXPECT_EQ(fields, QStringList({"Cis_Vyr", "Dat_Plneni"}));
    Table l(*db, "Sklady\\SklPol");
    l.open();
    l.setIndexName("CisVyr");
    QStringList sklady;
    for (l.first(); !l.eof(); l.next())
        sklady << l.field("Cis_Sklad").asString();
    EXPECT_EQ(sklady, QStringList({"B", "C", "A"})); // in the order of the dates
    EXPECT_TRUE(db->schemaComplete());
    // A second opening finds nothing to do and changes nothing.
    db.reset();
    db = Database::open(dir.path());
    Table again(*db, "Sklady\\SklZas");
    again.open();
    EXPECT_EQ(again.recordCount(), 3);
}

} // namespace
