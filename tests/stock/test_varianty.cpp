// The variant quantities of delivery-note and cash-sale items: the rows of the dialog, saving
// the lines with the variant stock, the item's total, a failure at any write, and the item
// deletion giving its lines back.
#include "sklad_fixture.h"

#include "query.h"
#include "varianty.h"

#include <QRandomGenerator>

#include <map>

namespace brix::test {
namespace {

const QString DL = QString::fromUtf16(varianty::kRadkyDL);
const QString PO = QString::fromUtf16(varianty::kRadkyPokladny);

class VariantyTest : public SkladTest {
protected:
    void SetUp() override {
        SkladTest::SetUp();
        InstalujVraceniVariant(*dm);
    }
    // Variant (v1, v2) of product `vyr` with its stock.
    void varianta(qint64 vyr, const QString& v1, const QString& v2, const char* sklad) {
        Table t(*db, QString::fromUtf16(varianty::kVarianty));
        t.open();
        t.insert();
        t.field("Cis_Vyr").setInteger(vyr);
        t.field("Varianta1").setString(v1);
        t.field("Varianta2").setString(v2);
        t.field("SklZas_ks").setDecimal(Dec(sklad));
        t.post();
    }
    Decimal sklad(qint64 vyr, const QString& v1, const QString& v2) {
        Table t(*db, QString::fromUtf16(varianty::kVarianty));
        t.open();
        if (!t.findKey({vyr, v1, v2})) return Decimal(-999999);
        return t.field("SklZas_ks").asDecimal();
    }
    // The item's lines as "v1/v2=amount", in key order.
    QStringList radky(const QString& tabulka, const QString& cisUctu, int porCis) {
        Table t(*db, tabulka);
        t.open();
        t.setRange({cisUctu, porCis}, {cisUctu, porCis});
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out << t.field("Varianta1").asString() + "/" + t.field("Varianta2").asString() + "=" +
                       t.field("Mnozstvi").asDecimal().toString(2);
        return out;
    }
    std::vector<ZadaniVarianty> zadani(const std::vector<RadekVarianty>& r,
                                       const QStringList& texty) {
        std::vector<ZadaniVarianty> z;
        for (size_t i = 0; i < r.size(); ++i)
            z.push_back({r[i].varianta1, r[i].varianta2, i < size_t(texty.size()) ? texty[i] : ""});
        return z;
    }
};

TEST_F(VariantyTest, ProductHasVariantsOnlyWithTheSettingOn) {
    varianta(1, "S", "", "5");
    EXPECT_TRUE(MaVarianty(*db, 1, true));
    EXPECT_FALSE(MaVarianty(*db, 1, false));
    EXPECT_FALSE(MaVarianty(*db, 2, true));
}

TEST_F(VariantyTest, SaveTakesTheTypedAmountsAndReopeningShowsThem) {
    varianta(1, "L", "", "10");
    varianta(1, "M", "", "10");
    varianta(1, "S", "", "10");
    varianta(2, "M", "", "10");
    const PolozkaVariant p{"42", 1, 1};
    auto r = NactiRadkyVariant(*db, DL, p);
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].varianta1, "L");
    EXPECT_EQ(r[2].varianta1, "S");
    EXPECT_EQ(r[0].sklad, Decimal(10));
    EXPECT_TRUE(r[0].mnozstvi.isEmpty());

    VysledekVariant v = UlozVariantyPolozky(*db, DL, p, zadani(r, {"2", "", "5"}));
    ASSERT_TRUE(v.ok) << v.chyba.toStdString();
    EXPECT_EQ(v.celkem, Decimal(7));
    EXPECT_EQ(radky(DL, "42", 1), (QStringList{"L/=2,00", "S/=5,00"}));
    EXPECT_EQ(sklad(1, "L", ""), Decimal(8));
    EXPECT_EQ(sklad(1, "M", ""), Decimal(10));
    EXPECT_EQ(sklad(1, "S", ""), Decimal(5));

    // Reopened: the saved amounts; saved again, the stock ends as if only the new ones were
    // taken.
    r = NactiRadkyVariant(*db, DL, p);
    EXPECT_EQ(r[0].mnozstvi, "2,00");
    EXPECT_TRUE(r[1].mnozstvi.isEmpty());
    EXPECT_EQ(r[2].mnozstvi, "5,00");
    v = UlozVariantyPolozky(*db, DL, p, zadani(r, {"", "3", "5,00"}));
    ASSERT_TRUE(v.ok);
    EXPECT_EQ(v.celkem, Decimal(8));
    EXPECT_EQ(sklad(1, "L", ""), Decimal(10));
    EXPECT_EQ(sklad(1, "M", ""), Decimal(7));
    EXPECT_EQ(sklad(1, "S", ""), Decimal(5));
    EXPECT_EQ(sklad(2, "M", ""), Decimal(10));
}

TEST_F(VariantyTest, TotalIsWhatTheLinesTake) {
    varianta(1, "S", "modrá", "10");
    varianta(1, "S", "černá", "10");
    varianta(1, "XL", "modrá", "10");
    const PolozkaVariant p{"7", 2, 1};
    const auto r = NactiRadkyVariant(*db, PO, p);
    ASSERT_EQ(r.size(), 3u);
    // A decimal amount counts in the total as in its line; a text that is no number in neither.
    const VysledekVariant v = UlozVariantyPolozky(*db, PO, p, zadani(r, {"1,5", "x", "0.25"}));
    ASSERT_TRUE(v.ok);
    EXPECT_EQ(v.celkem, Dec("1.75"));
    EXPECT_EQ(radky(PO, "7", 2).size(), 2);
    Decimal soucet;
    for (const RadekVarianty& rv : NactiRadkyVariant(*db, PO, p))
        soucet += MnozstviVarianty(rv.mnozstvi);
    EXPECT_EQ(soucet, v.celkem);
}

TEST_F(VariantyTest, ReturnedLineOfAMissingVariantCreatesIt) {
    varianta(1, "S", "", "10");
    const PolozkaVariant p{"1234567", 3, 1};
    auto r = NactiRadkyVariant(*db, DL, p);
    ASSERT_TRUE(UlozVariantyPolozky(*db, DL, p, zadani(r, {"4"})).ok);
    // A document number of seven digits is kept whole.
    EXPECT_EQ(radky(DL, "1234567", 3), QStringList{"S/=4,00"});
    Query(*db, "DELETE FROM \"Ciselnik\\Vyr_Var\"").execute();
    ASSERT_TRUE(UlozVariantyPolozky(*db, DL, p, {}).ok);
    EXPECT_EQ(sklad(1, "S", ""), Decimal(4));
    EXPECT_TRUE(radky(DL, "1234567", 3).isEmpty());
}

// Random saves over several items of two documents: every variant's stock is its start less
// the sum of its lines, every item's total the sum of its lines.
TEST_F(VariantyTest, RandomSavesKeepStockAndTotals) {
    QRandomGenerator rnd(20261210);
    std::map<QString, Decimal> start;
    for (int i = 0; i < 60; ++i) {
        const QString v1 = QStringLiteral("V%1").arg(i, 2, 10, QLatin1Char('0'));
        const QString v2 = i % 3 == 0 ? QString() : QStringLiteral("B%1").arg(i % 3);
        varianta(1, v1, v2, "100");
        start[v1 + "/" + v2] = Decimal(100);
    }
    const QStringList texty = {"", "", "1", "2", "0", "1,5", "0.25", "abc", " 3 ", "-1", "10"};
    std::map<std::pair<QString, int>, Decimal> celkem;
    for (int kolo = 0; kolo < 40; ++kolo) {
        const PolozkaVariant p{kolo % 2 ? "100" : "1000001", int(rnd.bounded(1, 5)), 1};
        const auto r = NactiRadkyVariant(*db, DL, p);
        ASSERT_EQ(r.size(), 60u);
        QStringList t;
        for (int i = 0; i < 60; ++i)
            t << texty[rnd.bounded(int(texty.size()))];
        const VysledekVariant v = UlozVariantyPolozky(*db, DL, p, zadani(r, t));
        ASSERT_TRUE(v.ok);
        Decimal ocekavano;
        for (const QString& s : t)
            ocekavano += MnozstviVarianty(s);
        EXPECT_EQ(v.celkem, ocekavano);
        celkem[{p.cisUctu, p.porCis}] = v.celkem;
    }
    std::map<QString, Decimal> vzato;
    std::map<std::pair<QString, int>, Decimal> polozky;
    Table t(*db, DL);
    t.open();
    for (t.first(); !t.eof(); t.next()) {
        const Decimal m = t.field("Mnozstvi").asDecimal();
        vzato[t.field("Varianta1").asString() + "/" + t.field("Varianta2").asString()] += m;
        polozky[{t.field("Cis_Uctu").asString(), int(t.field("PorCis").asInteger())}] += m;
    }
    for (const auto& [k, s] : start) {
        const QStringList v = k.split('/');
        EXPECT_EQ(sklad(1, v[0], v[1]), s - vzato[k]) << k.toStdString();
    }
    for (const auto& [k, c] : celkem)
        EXPECT_EQ(polozky[k], c) << k.first.toStdString();
}

// Every k-th write fails in turn: lines and stock stay as they were, the storage message comes
// back, until the save goes through.
TEST_F(VariantyTest, FailureAtAnyWriteLeavesEverything) {
    for (const char* v : {"S", "M", "L"})
        varianta(1, v, "", "10");
    const PolozkaVariant p{"55", 1, 1};
    ASSERT_TRUE(
        UlozVariantyPolozky(*db, DL, p, zadani(NactiRadkyVariant(*db, DL, p), {"1", "2", "3"})).ok);
    db->exec("CREATE TEMP TABLE chyba(n INTEGER, k INTEGER)");
    db->exec("INSERT INTO chyba VALUES (0, 0)");
    for (const QString& t : {QString::fromUtf16(varianty::kVarianty), DL})
        for (const char* akce : {"INSERT", "UPDATE", "DELETE"})
            db->exec(QStringLiteral("CREATE TEMP TRIGGER chyba_%1_%2 BEFORE %2 ON main.%1 BEGIN "
                                    "UPDATE chyba SET n = n + 1; SELECT RAISE(ABORT, 'vynucená "
                                    "chyba') WHERE (SELECT n = k FROM chyba); END")
                         .arg(db->catalogue().find(t)->sqlName, QString::fromLatin1(akce)));
    const auto pred = [&] {
        QStringList s = radky(DL, "55", 1);
        for (const char* v : {"S", "M", "L"})
            s << sklad(1, v, "").toString(2);
        return s;
    }();
    int k = 1;
    for (;; ++k) {
        ASSERT_LT(k, 100);
        db->exec(QStringLiteral("UPDATE chyba SET n = 0, k = %1").arg(k));
        const VysledekVariant v =
            UlozVariantyPolozky(*db, DL, p, zadani(NactiRadkyVariant(*db, DL, p), {"", "4", "1"}));
        if (v.ok) break;
        EXPECT_TRUE(v.chyba.contains("vynucená chyba")) << v.chyba.toStdString();
        QStringList po = radky(DL, "55", 1);
        for (const char* var : {"S", "M", "L"})
            po << sklad(1, var, "").toString(2);
        ASSERT_EQ(po, pred) << "zápis " << k;
    }
    EXPECT_GT(k, 6);
    EXPECT_EQ(radky(DL, "55", 1), (QStringList{"M/=4,00", "S/=1,00"}));
    EXPECT_EQ(sklad(1, "L", ""), Decimal(10));
    EXPECT_EQ(sklad(1, "S", ""), Decimal(9));
}

// Deleting a delivery-note or cash-sale item gives its variant lines back.
TEST_F(VariantyTest, DeletedItemGivesItsLinesBack) {
    varianta(1, "S", "", "10");
    for (Table* polozky : {dm->TablePolDL, dm->TablePolPoklO}) {
        const bool dl = polozky == dm->TablePolDL;
        const QString radkyTab = dl ? DL : PO;
        Table& hlavicka = *(dl ? dm->TableHlaDL : dm->TableHlaPoklO);
        hlavicka.open();
        hlavicka.insert();
        hlavicka.field("CIS_UCTU").setInteger(9);
        hlavicka.field("STAV").setString("P");
        if (!dl) hlavicka.field("Prij_Vydej").setString("V");
        hlavicka.post();
        polozky->open();
        polozky->insert();
        polozky->field("CIS_UCTU").setInteger(9);
        polozky->field("PorCis").setInteger(1);
        polozky->field("Cis_Vyr").setInteger(1);
        polozky->post();
        const PolozkaVariant p{"9", 1, 1};
        ASSERT_TRUE(UlozVariantyPolozky(*db, radkyTab, p,
                                        zadani(NactiRadkyVariant(*db, radkyTab, p), {"3"}))
                        .ok);
        EXPECT_EQ(sklad(1, "S", ""), Decimal(7));
        ASSERT_TRUE(polozky->findKey({9, 1}));
        polozky->remove();
        EXPECT_EQ(sklad(1, "S", ""), Decimal(10));
        EXPECT_TRUE(radky(radkyTab, "9", 1).isEmpty());
        polozky->close();
        hlavicka.close();
    }
}

} // namespace
} // namespace brix::test
