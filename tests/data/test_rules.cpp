// Storage rules, transactions, queries, Czech text in SQL, schema upgrade, two processes on one
// data root, and the grid model.
#include "grid_model.h"
#include "query.h"
#include "storage_fixture.h"

#include <QDate>
#include <QDir>

#include <sqlite3.h>

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

class RulesTest : public StorageTest {};

TEST_F(RulesTest, KeyViolationTreatsBlankKeyPartsAsEqual) {
    Table t(*db, "T\\Osoby");
    t.open();
    add(t, {{"Prijmeni", "Novák"}});
    t.insert();
    t.field("Prijmeni").setString("Novák");
    EXPECT_EQ(postError(t), StorageErrorKind::KeyViolation);
    EXPECT_EQ(t.state(), TableState::Insert); // the record stays for correction
    t.field("Jmeno").setString("Jan");
    t.post();
    EXPECT_EQ(t.recordCount(), 2);
    // Changing a record onto another's key is refused too; onto its own key is fine.
    t.edit();
    t.field("Jmeno").clear();
    EXPECT_EQ(postError(t), StorageErrorKind::KeyViolation);
    t.field("Jmeno").setString("Jan");
    t.post();
}

TEST_F(RulesTest, RequiredFieldsForeignKeysAndDetails) {
    Table o(*db, "T\\Osoby"), h(*db, "T\\Hlavicky"), p(*db, "T\\Polozky"), z(*db, "T\\Zasoby");
    for (Table* t : {&o, &h, &p, &z})
        t->open();
    o.insert();
    o.field("Jmeno").setString("bez příjmení");
    EXPECT_EQ(postError(o), StorageErrorKind::RequiredFieldMissing);
    o.cancel();
    EXPECT_TRUE(o.isEmpty());

    add(h, {{"Cis_Uctu", 1}});
    p.insert();
    p.field("Cis_Uctu").setInteger(1);
    p.field("PorCis").setInteger(1);
    p.field("Cis_Vyr").setInteger(42);
    EXPECT_EQ(postError(p), StorageErrorKind::ForeignKeyViolation);
    add(z, {{"Cis_Vyr", 42}, {"Cis_Sklad", "A"}});
    p.post();

    h.first();
    try {
        h.remove();
        ADD_FAILURE() << "a header with items was deleted";
    } catch (const StorageError& e) {
        EXPECT_EQ(e.kind(), StorageErrorKind::DetailRecordsExist);
    }
    EXPECT_EQ(h.recordCount(), 1);
    p.first();
    p.remove();
    h.first();
    h.remove();
    EXPECT_TRUE(h.isEmpty());
}

TEST_F(RulesTest, ErrorHandlersMayRetryOrAbandon) {
    Table t(*db, "T\\Osoby");
    t.open();
    add(t, {{"Prijmeni", "A"}});
    int calls = 0;
    t.onPostError = [&](Table& tab, const StorageError& e) {
        EXPECT_EQ(e.kind(), StorageErrorKind::KeyViolation);
        if (++calls == 1) {
            tab.field("Jmeno").setString("druhý");
            return ErrorAction::Retry;
        }
        return ErrorAction::Abort;
    };
    t.insert();
    t.field("Prijmeni").setString("A");
    t.post();
    EXPECT_EQ(calls, 1);
    t.insert();
    t.field("Prijmeni").setString("A");
    t.field("Jmeno").setString("druhý");
    EXPECT_THROW(t.post(), Abort);
    EXPECT_EQ(calls, 2);
}

TEST_F(RulesTest, TheStandardCatalogueKnowsItsRules) {
    auto real = Database::open(dir.path() + "/real");
    Table items(*real, "Ext_ucty\\DodListy\\pol_dl.DB"), heads(*real, "EXT_UCTY/dodlisty/Hla_DL");
    Table products(*real, "Ciselnik\\Vyrobky");
    for (Table* t : {&items, &heads, &products})
        t->open();
    add(heads, {{"CIS_UCTU", 5}, {"STAV", "0"}});
    items.insert();
    items.field("CIS_UCTU").setInteger(5);
    items.field("PorCis").setInteger(1);
    items.field("Cis_Vyr").setInteger(77);
    EXPECT_EQ(postError(items), StorageErrorKind::ForeignKeyViolation);
    add(products, {{"Cis_vyr", 77},
                   {"Nazev", "Barva bílá"},
                   {"Druh_Pol", "S"},
                   {"DPH", 21},
                   {"Faktor_Bal", 1},
                   {"Cis_Firmy", 1}});
    items.post();
    heads.first();
    EXPECT_THROW(heads.remove(), StorageError);
    EXPECT_THROW(Table(*real, "Ciselnik\\Neni"), StorageError);
}

TEST_F(RulesTest, ATransactionCommitsWholeOrLeavesNothing) {
    Table t(*db, "T\\Osoby");
    t.open();
    add(t, {{"Prijmeni", "Stávající"}});
    try {
        Database::Transaction tx(*db);
        add(t, {{"Prijmeni", "První"}});
        {
            Database::Transaction inner(*db);
            add(t, {{"Prijmeni", "Vnořený"}});
            inner.commit();
        }
        add(t, {{"Prijmeni", "Stávající"}}); // key violation in the middle
        tx.commit();
        ADD_FAILURE() << "no violation";
    } catch (const StorageError& e) {
        EXPECT_EQ(e.kind(), StorageErrorKind::KeyViolation);
    }
    t.cancel();
    t.refresh();
    EXPECT_EQ(column(t, "Prijmeni"), QStringList({"Stávající"}));
    {
        Database::Transaction tx(*db);
        add(t, {{"Prijmeni", "Druhý"}});
        {
            Database::Transaction inner(*db); // rolled back alone
            add(t, {{"Prijmeni", "Zrušený"}});
        }
        tx.commit();
    }
    t.refresh();
    EXPECT_EQ(column(t, "Prijmeni"), QStringList({"Druhý", "Stávající"}));
    EXPECT_FALSE(db->inTransaction());
}

TEST_F(RulesTest, CzechTextInSqlAndIndexes) {
    Table t(*db, "T\\Osoby");
    t.open();
    for (const char* n : {"Chalupa", "Cihla", "Čáp", "Hora", "Zub", "žába", "Šťastný", "Sova",
                          "cibule", "Ďábel", "Dům", "Ír", "Ichor"})
        add(t, {{"Prijmeni", n}});
    Query q(*db, "SELECT Prijmeni, upper(Prijmeni) AS U, lower(Prijmeni) AS L FROM \"T\\Osoby.DB\" "
                 "ORDER BY Prijmeni");
    q.open();
    QStringList order, upper;
    for (q.first(); !q.eof(); q.next()) {
        order << q["Prijmeni"].asString();
        upper << q["U"].asString();
    }
    EXPECT_EQ(order, QStringList({"cibule", "Cihla", "Čáp", "Ďábel", "Dům", "Hora", "Chalupa",
                                  "Ichor", "Ír", "Sova", "Šťastný", "Zub", "žába"}));
    EXPECT_TRUE(upper.contains("ŠŤASTNÝ"));
    EXPECT_TRUE(upper.contains("ŽÁBA"));
    q.setSql("SELECT Prijmeni FROM T\\Osoby WHERE upper(Prijmeni) LIKE :P ORDER BY Prijmeni");
    q.setParam("P", "ČÁ%");
    q.open();
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q["Prijmeni"].asString(), "Čáp");
    q.setSql("SELECT count(*) AS N FROM T\\Osoby WHERE Prijmeni LIKE 'ž%'");
    q.open();
    EXPECT_EQ(q["N"].asInteger(), 1); // like ignores case of Czech letters
}

TEST_F(RulesTest, QueriesResolveTablesAndBindParameters) {
    Table t(*db, "T\\Osoby");
    t.open();
    add(t, {{"Prijmeni", "A"},
            {"Dat_Vystaveni", "01.03.2002"},
            {"Cena_Celk", 10.5},
            {"Cis_firmy", 1}});
    add(t,
        {{"Prijmeni", "B"}, {"Dat_Vystaveni", "01.06.2002"}, {"Cena_Celk", 20}, {"Cis_firmy", 1}});
    add(t,
        {{"Prijmeni", "C"}, {"Dat_Vystaveni", "01.01.2003"}, {"Cena_Celk", 5}, {"Cis_firmy", 2}});
    add(t, {{"Prijmeni", "D'Artagnan"}, {"Cis_firmy", 2}});
    Query q(*db);
    q.setSql(
        "SELECT DISTINCT D.Cis_firmy, SUM(D.Cena_Celk) AS Suma, MAX(D.Dat_Vystaveni) AS Posl "
        "FROM \"t\\osoby.db\" D WHERE (D.Dat_Vystaveni>=:DATUMOD) AND (D.Dat_Vystaveni<=:DATUMDO) "
        "GROUP BY D.Cis_firmy ORDER BY D.Cis_firmy");
    q.setParam("DATUMOD", QDate(2002, 1, 1));
    q.setParam("datumdo", QDate(2002, 12, 31));
    q.open();
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q["Cis_firmy"].asInteger(), 1);
    EXPECT_EQ(q["Suma"].asDecimal().toShortString(), "30,5");
    EXPECT_EQ(q["Posl"].asString(), "2002-06-01"); // an expression has no declared kind
    q.setSql("SELECT Prijmeni FROM Osoby WHERE Prijmeni = :P");
    q.setWorkingDirectory("T");
    q.setParam("P", "D'Artagnan");
    q.open();
    EXPECT_EQ(q.recordCount(), 1);
    q.setSql("SELECT Prijmeni FROM Osoby WHERE Prijmeni = :CHYBI");
    EXPECT_THROW(q.open(), StorageError);
    q.setSql("SELECT * FROM Neexistuje");
    EXPECT_THROW(q.open(), StorageError);
    q.setSql("UPDATE T\\Osoby SET Cis_firmy = :N WHERE Cis_firmy = 2");
    q.setParam("N", 3);
    EXPECT_EQ(q.execute(), 2);
    t.refresh();
    t.last();
    EXPECT_EQ(t.field("Cis_firmy").asInteger(), 3); // a cursor sees what a query changed
    // A string literal that looks like a table stays a string.
    q.setSql("SELECT 'FROM T\\Osoby' AS X FROM T\\Osoby a, T\\Zasoby b");
    q.open();
    EXPECT_EQ(q.recordCount(), 0);
    EXPECT_TRUE(q.translatedSql().contains("'FROM T\\Osoby'"));
}

TEST(Upgrade, AddsTablesColumnsAndIndexesKeepingData) {
    QTemporaryDir dir;
    Catalogue oldCat;
    oldCat.add(Catalogue::define("T", "Karty", "Cis I; Nazev A10", "Cis"));
    Catalogue newCat;
    newCat.add(Catalogue::define("t", "KARTY", "Cis I; Nazev A10; Cena $; cis_celsaz A8?", "Cis",
                                 "Nazev=Nazev"));
    newCat.add(Catalogue::define("T", "Nova", "X I", "X"));
    {
        auto db = Database::open(dir.path(), {.catalogue = &oldCat});
        Table t(*db, "T\\Karty");
        t.open();
        t.insert();
        t.field("Cis").setInteger(1);
        t.field("Nazev").setString("stará");
        t.post();
    }
    {
        // An older data root may lack an optional column: it still reads and writes.
        auto db = Database::open(dir.path(), {.upgrade = false, .catalogue = &newCat});
        Table t(*db, "T\\Karty");
        t.open();
        EXPECT_EQ(t.field("Nazev").asString(), "stará");
        EXPECT_FALSE(t.hasField("cis_celsaz")); // simply absent
        EXPECT_FALSE(t.hasField("Cena"));
    }
    auto db = Database::open(dir.path(), {.catalogue = &newCat});
    Table t(*db, "T\\Karty");
    t.open();
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_EQ(t.field("Nazev").asString(), "stará");
    t.edit();
    t.field("Cena").setFloat(12.5);
    t.field("cis_celsaz").setString("12345678");
    t.post();
    t.setIndexName("Nazev");
    EXPECT_EQ(t.field("Cena").asDecimal().toShortString(), "12,5");
    Table n(*db, "T\\Nova");
    n.open();
    EXPECT_TRUE(n.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).exists("Ext_Ucty/DodListy"));
}

TEST_F(RulesTest, TwoProcessesShareADataRoot) {
    Table t(*db, "T\\Osoby");
    t.open();
    add(t, {{"Prijmeni", "Rodič"}});
    const QString root = dir.path();
    EXPECT_EQ(inChild([&] {
                  auto other = Database::open(root, options());
                  Table c(*other, "T\\Osoby");
                  c.open();
                  if (c.recordCount() != 1) return 1;
                  c.insert();
                  c.field("Prijmeni").setString("Dítě");
                  c.post();
                  return 0;
              }),
              0);
    t.first(); // the other copy's commit is seen on moving
    EXPECT_EQ(column(t, "Prijmeni"), QStringList({"Dítě", "Rodič"}));

    // While this copy holds a write, the other waits for its busy timeout, then gives up cleanly.
    {
        Database::Transaction tx(*db);
        add(t, {{"Prijmeni", "Nepotvrzený"}});
        EXPECT_EQ(inChild([&] {
                      OpenOptions o = options();
                      o.busyTimeoutMs = 200;
                      auto other = Database::open(root, o);
                      Table c(*other, "T\\Osoby");
                      c.open();
                      if (c.recordCount() != 2) return 1; // uncommitted rows are not seen
                      c.insert();
                      c.field("Prijmeni").setString("Čekající");
                      try {
                          c.post();
                      } catch (const StorageError& e) {
                          return e.kind() == StorageErrorKind::Busy ? 0 : 2;
                      }
                      return 3;
                  }),
                  0);
        tx.commit();
    }
    t.refresh();
    EXPECT_EQ(column(t, "Prijmeni"), QStringList({"Dítě", "Nepotvrzený", "Rodič"}));
}

TEST_F(RulesTest, TheGridModelReadsOnlyThePagesShown) {
    Table t(*db, "T\\Zasoby");
    t.open();
    {
        Database::Transaction tx(*db);
        for (int i = 1; i <= 5000; ++i)
            add(t, {{"Cis_Vyr", i}, {"Cis_Sklad", "A"}, {"Mnozstvi", i / 2.0}});
        tx.commit();
    }
    GridModel m(t);
    EXPECT_EQ(m.rowCount(), 5000);
    EXPECT_EQ(m.columnCount(), 3);
    EXPECT_EQ(m.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Cis_Vyr");
    EXPECT_EQ(m.data(m.index(0, 0)).toString(), "1");
    EXPECT_EQ(m.data(m.index(4999, 2)).toString(), "2500");
    EXPECT_EQ(m.data(m.index(2, 2)).toString(), "1,5");
    EXPECT_LE(m.pagesRead(), 2);
    EXPECT_TRUE(m.moveTableTo(1234));
    EXPECT_EQ(t.field("Cis_Vyr").asInteger(), 1235);
    EXPECT_EQ(m.rowOfCurrent(), 1234);
    // The row of the current record is the same from the pages read as from the table.
    const int before = m.pagesRead();
    for (int row : {0, 1, 63, 64, 1234, 4999}) {
        ASSERT_TRUE(m.moveTableTo(row));
        EXPECT_EQ(m.rowOfCurrent(), row);
        EXPECT_EQ(t.currentRowNumber(), row);
    }
    EXPECT_LE(m.pagesRead() - before, 1); // row 1234 and 4999 were read before
    t.first();
    m.reload();
    EXPECT_EQ(m.rowOfCurrent(), 0);
    t.setRange({100}, {199});
    EXPECT_EQ(m.rowCount(), 100);
    EXPECT_EQ(m.data(m.index(0, 0)).toString(), "100");
    m.setColumns({{"Mnozstvi", "Množství", 10}});
    EXPECT_EQ(m.columnCount(), 1);
    EXPECT_EQ(m.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Množství");

    // A field the catalogue shows at two places keeps them; an empty one stays empty.
    Table h(*db, "T\\Hlavicky");
    h.open();
    add(h, {{"Cis_Uctu", 1}, {"Celkem", 297.5}});
    add(h, {{"Cis_Uctu", 2}, {"Celkem", -3229251.0}});
    add(h, {{"Cis_Uctu", 3}});
    GridModel hm(h);
    hm.setColumns({{"Celkem", "Celkem", 10}});
    EXPECT_EQ(hm.data(hm.index(0, 0)).toString(), "297,50");
    EXPECT_EQ(hm.data(hm.index(1, 0)).toString(), "-3229251,00");
    EXPECT_EQ(hm.data(hm.index(2, 0)).toString(), "");
}

} // namespace
