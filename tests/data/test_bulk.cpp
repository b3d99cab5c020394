// Set-based changes: counting, renumbering and deleting the rows that hold a value, inside a
// transaction or by themselves.
#include "bulk.h"
#include "storage_fixture.h"

using namespace brix;
using namespace brix::test;

namespace {

class BulkTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        Table t(*db, "T\\Zasoby");
        t.open();
        for (int i = 1; i <= 6; ++i)
            add(t,
                {{"Cis_Vyr", i % 2 ? 5 : 7}, {"Cis_Sklad", QString::number(i)}, {"Mnozstvi", i}});
    }
    const TableDef& zasoby() { return db->table("T\\Zasoby"); }
};

TEST_F(BulkTest, CountsChangesAndDeletesTheRowsOfAValue) {
    EXPECT_EQ(countRows(*db, zasoby(), "cis_vyr", 5), 3);
    EXPECT_EQ(updateRows(*db, zasoby(), "Cis_Vyr", 5, 9), 3);
    EXPECT_EQ(countRows(*db, zasoby(), "Cis_Vyr", 5), 0);
    EXPECT_EQ(countRows(*db, zasoby(), "Cis_Vyr", 9), 3);
    EXPECT_EQ(deleteRows(*db, zasoby(), "Cis_Vyr", 7), 3);
    EXPECT_EQ(countRows(*db, zasoby(), "Cis_Vyr", 9), 3);
    EXPECT_EQ(countRows(*db, zasoby(), "Nic", 9), 0); // a field the table lacks matches nothing
}

TEST_F(BulkTest, ChangesInsideATransactionGoWithItsRollback) {
    Table t(*db, "T\\Zasoby");
    t.open();
    t.first();
    EXPECT_EQ(t.field("Cis_Vyr").asInteger(), 5);
    {
        Database::Transaction tx(*db);
        updateRows(*db, zasoby(), "Cis_Vyr", 5, 8);
        t.refresh(); // a cursor sees the change
        EXPECT_EQ(t.field("Cis_Vyr").asInteger(), 8);
    }
    t.refresh();
    EXPECT_EQ(t.field("Cis_Vyr").asInteger(), 5);
    EXPECT_EQ(countRows(*db, zasoby(), "Cis_Vyr", 8), 0);
}

} // namespace
