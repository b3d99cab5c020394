// Keyed reads: a record by its key, the latest record not after a bound, what a look-up sees of
// later writes, fields an older data root lacks, and blank keys.
#include "key_lookup.h"
#include "storage_fixture.h"

using namespace brix;

namespace {

class KeyLookupTest : public brix::test::StorageTest {
protected:
    OpenOptions options() override { return {}; } // the system's own catalogue
};

TEST_F(KeyLookupTest, FindsByKeyAndTheLatestNotAfterABound) {
    Table meny(*db, "Ciselnik\\Meny");
    meny.open();
    for (const auto& [od, kod, kurs] :
         {std::tuple{QDate(2024, 3, 1), "USD", 23.0}, std::tuple{QDate(2024, 6, 1), "USD", 22.5},
          std::tuple{QDate(2024, 4, 1), "EUR", 25.0}})
        add(meny, {{"Platnost_Od", od}, {"KOD_Meny", kod}, {"Kurs", kurs}, {"Koef", 1.0}});
    KeyLookup platny(*db, "Ciselnik\\Meny", {"KOD_Meny"}, "Platnost_Od", {"Kurs", "Platnost_Od"});
    EXPECT_FALSE(platny.find({"USD", QDate(2024, 2, 29)}));
    ASSERT_TRUE(platny.find({"USD", QDate(2024, 3, 1)}));
    EXPECT_EQ(platny.field(0).asFloat(), 23.0);
    ASSERT_TRUE(platny.find({"USD", QDate(2024, 12, 31)}));
    EXPECT_EQ(platny.field(platny.fieldIndex("platnost_od")).asDate(), QDate(2024, 6, 1));
    EXPECT_FALSE(platny.find({"GBP", QDate(2024, 12, 31)}));
    // A later write is seen by the next find.
    add(meny,
        {{"Platnost_Od", QDate(2024, 9, 1)}, {"KOD_Meny", "USD"}, {"Kurs", 21.0}, {"Koef", 1.0}});
    ASSERT_TRUE(platny.find({"USD", QDate(2024, 12, 31)}));
    EXPECT_EQ(platny.field(0).asFloat(), 21.0);
    // Blank values find nothing; a wrong number of values is an error.
    EXPECT_FALSE(platny.find({"", QDate(2024, 12, 31)}));
    EXPECT_FALSE(platny.find({"USD", QDate()}));
    EXPECT_THROW(platny.find({"USD"}), StorageError);
    EXPECT_THROW(platny.field(0).setFloat(1), StorageError);
}

TEST_F(KeyLookupTest, AllFieldsOrTheNamedOnesAnOlderRootLacksIsLeftOut) {
    Table p(*db, "Ext_Ucty\\FaVydane\\Pol_Fav");
    p.open();
    add(p, {{"CIS_UCTU", 5}, {"PorCis", 1}, {"Cis_Vyr", 7}, {"PC_NettoC", 12.5}});
    add(p, {{"CIS_UCTU", 5}, {"PorCis", 2}, {"Cis_Vyr", 7}, {"PC_NettoC", 30.0}});
    KeyLookup vse(*db, "Ext_Ucty\\FaVydane\\Pol_Fav", {"Cis_Vyr"});
    ASSERT_TRUE(vse.find({7}));
    EXPECT_EQ(vse.fieldCount(), p.fieldCount());
    EXPECT_EQ(vse.field(vse.fieldIndex("PorCis")).asInteger(), 1); // the first written
    p.close();
    db->exec("ALTER TABLE " + db->table("Ext_Ucty\\FaVydane\\Pol_Fav").sqlName +
             " DROP COLUMN cis_celsaz");
    db.reset();
    OpenOptions o;
    o.upgrade = false;
    db = Database::open(dir.path(), o);
    KeyLookup jen(*db, "Ext_Ucty\\FaVydane\\Pol_Fav", {"CIS_UCTU", "PorCis"}, {},
                  {"PC_NettoC", "Cis_celsaz"});
    ASSERT_TRUE(jen.find({5, 2}));
    EXPECT_EQ(jen.fieldIndex("Cis_celsaz"), -1);
    EXPECT_EQ(jen.field(0).asDecimal(), Decimal(30));
    EXPECT_THROW(KeyLookup(*db, "Ext_Ucty\\FaVydane\\Pol_Fav", {"Nic"}), StorageError);
}

} // namespace
