// The excise duty of a delivery-note item: computed from the product named by its number,
// written into the item's "SD" surcharge rows only.
#include "datacis_fixture.h"

#include "spotrebni_dan.h"

using namespace brix;
using brix::test::DataModuleTest;

namespace {

class SpotrebniDanTest : public DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        add(*dm->TableVyr,
            {{"Cis_vyr", 2}, {"Cis_Firmy", 1}, {"Objem", 0.7}, {"Spotr_Dan", 285.4}});
        add(*dm->TableVyr, {{"Cis_vyr", 3}, {"Cis_Firmy", 1}, {"Objem", 2}, {"Spotr_Dan", 10}});
        Table prir(*db, "Ext_Ucty\\DodListy\\Prir_DL");
        prir.open();
        add(prir, {{"Cis_Uctu", 1}, {"PorCis", 1}, {"Druh_Prir", "SD"}, {"Mnozstvi", 0.0}});
        add(prir, {{"Cis_Uctu", 1}, {"PorCis", 2}, {"Druh_Prir", "OB"}, {"Mnozstvi", 9.0}});
        add(prir, {{"Cis_Uctu", 2}, {"PorCis", 1}, {"Druh_Prir", "SD"}, {"Mnozstvi", 4.0}});
    }
    // "Mnozstvi/JCena/CCena" of the surcharge of item (cisUctu, porCis).
    QString prirazka(int cisUctu, int porCis) {
        Table t(*db, "Ext_Ucty\\DodListy\\Prir_DL");
        t.open();
        if (!t.findKey({cisUctu, porCis})) return QStringLiteral("není");
        return t.field("Mnozstvi").asString() + "/" + t.field("JCena").asString() + "/" +
               t.field("CCena").asString();
    }
};

TEST_F(SpotrebniDanTest, TheDutyFollowsTheQuantityInHundredths) {
    const SpotrebniDan d = SpotrebniDanPolozky(Decimal::fromRaw(7000), Decimal::fromRaw(2854000),
                                               Decimal(5) + Decimal::fromRaw(3330));
    EXPECT_EQ(d.mnozstvi, Decimal::fromRaw(37300)); // 0.7 x 5.333 = 3.7331
    EXPECT_EQ(d.jCena, Decimal::fromRaw(2854000));
    EXPECT_EQ(d.cCena, Decimal::fromRaw(1997800)); // 285.4 x 0.7 = 199.78
}

// The shared product table stands on another product: the duty is still the one of the
// product the item names.
TEST_F(SpotrebniDanTest, TheProductIsTakenByItsNumberNotByTheCursor) {
    ASSERT_TRUE(dm->TableVyr->locate("Cis_vyr", {3}));
    EXPECT_EQ(PrepocetSpotrebniDane(*db, 1, 1, 2, Decimal(5) + Decimal::fromRaw(3330)), 1);
    EXPECT_EQ(prirazka(1, 1), "3,73/285,4/199,78");
    EXPECT_EQ(dm->TableVyr->field("Cis_vyr").asInteger(), 3); // not moved
    EXPECT_EQ(prirazka(1, 2), "9//");                         // not an excise surcharge
    EXPECT_EQ(prirazka(2, 1), "4//");                         // another document's item

    EXPECT_EQ(PrepocetSpotrebniDane(*db, 1, 1, 3, Decimal(3)), 1);
    EXPECT_EQ(prirazka(1, 1), "6/10/20");
    // A product that does not exist leaves the surcharge as it was.
    EXPECT_EQ(PrepocetSpotrebniDane(*db, 1, 1, 99, Decimal(3)), 0);
    EXPECT_EQ(prirazka(1, 1), "6/10/20");
}

} // namespace
