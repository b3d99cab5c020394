// The invariant checker finds each kind of difference a damaged data root can have, and
// brix-db stock-check reports them with exit code 1.
#include "db_commands.h"
#include "demo.h"
#include "sklad_fixture.h"

namespace brix::test {
namespace {

const RodinaDokladu& P = RodinaDokladu::prijemka();
const RodinaDokladu& V = RodinaDokladu::vydejka();
const RodinaDokladu& Z = RodinaDokladu::dodavka();

class KontrolaSkladuTest : public SkladTest {
protected:
    void SetUp() override {
        SkladTest::SetUp();
        prijemka = doklady->novy(P);
        doklady->uloz(P, prijemka, pol(1, 1, "1", Decimal(10), Decimal(5), Decimal(6)));
        ASSERT_TRUE(uzavri(P, prijemka).ok());
        vydejka = doklady->novy(V);
        doklady->uloz(V, vydejka, pol(1, 1, "1", Decimal(3), Decimal(5), Decimal(6)));
        dodavka = doklady->novy(Z);
        doklady->uloz(Z, dodavka, pol(1, 2, "2", Decimal(4), Decimal(2)));
        ASSERT_TRUE(uzavri(Z, dodavka).ok());
        ASSERT_EQ(kontrola(), QStringList());
    }
    // One change made behind the engine's back must be found, and the message names it.
    void najde(const QString& sql, const QString& cast) {
        db->exec(sql);
        const QStringList r = kontrola();
        ASSERT_FALSE(r.isEmpty()) << sql.toStdString();
        EXPECT_TRUE(r.join("\n").contains(cast)) << r.join("\n").toStdString();
    }
    int prijemka = 0, vydejka = 0, dodavka = 0;
};

TEST_F(KontrolaSkladuTest, StockLevelDifferentFromItsLedger) {
    najde("UPDATE sklady_sklzas SET sklzas_ks = 11 WHERE cis_vyr = 1 AND cis_sklad = '1'",
          "množství 11, součet pohybů 10");
}

TEST_F(KontrolaSkladuTest, StockValueOffByATenThousandth) {
    najde("UPDATE sklady_sklzas SET sklzas_kc = 50.0001 WHERE cis_vyr = 1", "hodnota 50,0001");
}

TEST_F(KontrolaSkladuTest, LedgerRecordWithoutItsStockLevel) {
    najde("DELETE FROM sklady_sklzas WHERE cis_vyr = 2", "chybí");
}

TEST_F(KontrolaSkladuTest, ProductTotalsDifferentFromItsRows) {
    najde("UPDATE ciselnik_vyrobky SET sklzas_kc = 1 WHERE cis_vyr = 1",
          "Výrobek 1: zásoba 1 Kč, součet skladů 50");
}

TEST_F(KontrolaSkladuTest, AvailableQuantityThatIsNotStockLessReservation) {
    najde("UPDATE ciselnik_vyrobky SET disponmn = 99 WHERE cis_vyr = 1",
          "disponibilní množství 99");
}

TEST_F(KontrolaSkladuTest, ReservationThatOpenDocumentsDoNotMake) {
    najde("UPDATE sklady_sklzas SET rezervace = 0 WHERE cis_vyr = 1 AND cis_sklad = '1'",
          "rezervace 0, otevřené doklady 3");
}

TEST_F(KontrolaSkladuTest, ClosedDocumentMissingALedgerRecord) {
    najde("DELETE FROM sklady_sklpol WHERE druh_uctu = 'P'", "chybí pohyb položka 1 P");
}

TEST_F(KontrolaSkladuTest, OpenDocumentWithAPostedItem) {
    najde(QStringLiteral("UPDATE int_ucty_vydej_pol_vyd SET stav = 'V'"),
          "otevřený doklad má zaúčtovanou položku 1");
}

TEST_F(KontrolaSkladuTest, LedgerRecordOfADocumentThatDoesNotExist) {
    najde(QStringLiteral("DELETE FROM int_ucty_prijem_hla_prij"), "neexistuje, v deníku má 1");
}

TEST_F(KontrolaSkladuTest, ReceivedInvoiceWithoutTheItemCopy) {
    najde("DELETE FROM ext_ucty_faprij_pol_fap", "položky navazujícího dokladu");
}

TEST_F(KontrolaSkladuTest, HeaderTotalsThatAreNotTheItemSums) {
    najde("UPDATE int_ucty_vydej_hla_vyd SET cena_sklcelk = 14", "Cena_SklCelk 14");
}

TEST_F(KontrolaSkladuTest, NumberSeriesOfferingATakenNumber) {
    najde("UPDATE ciselnik_cis_uctu SET prvcis = 1 WHERE typ_uctu = 'A'",
          "Číselná řada A nabízí 1");
}

TEST_F(KontrolaSkladuTest, StockCheckCommandListsTheDifferencesAndFails) {
    QString out, err;
    QTextStream o(&out), e(&err);
    dm.reset();
    kontext.reset();
    EXPECT_EQ(admin::run({"stock-check", dir.path()}, o, e), 0);
    o.flush();
    EXPECT_TRUE(out.contains("Sklad je v pořádku.")) << out.toStdString();
    db->exec("UPDATE sklady_sklzas SET sklzas_ks = 11 WHERE cis_vyr = 1 AND cis_sklad = '1'");
    out.clear();
    EXPECT_EQ(admin::run({"stock-check", dir.path()}, o, e), 1);
    o.flush();
    EXPECT_TRUE(out.contains("množství 11, součet pohybů 10")) << out.toStdString();
    EXPECT_TRUE(out.contains("Nalezeno rozdílů: "));
}

} // namespace
} // namespace brix::test

namespace brix::test {
namespace {

// The demo's stock enters through closed opening receipts; besides them an open receipt
// reserves and a reversed one waits. The whole root passes the check.
TEST(DemoSkladu, DemoStockEntersThroughReceiptsAndPassesTheCheck) {
    QTemporaryDir dir;
    TestPlatform ui;
    ui.setOkBoxesAnswered(true);
    ASSERT_TRUE(VytvorDemo(dir.path()).ok);
    auto db = Database::open(dir.path());
    EXPECT_EQ(KontrolaSkladu(*db), QStringList());
    Table h(*db, RodinaDokladu::prijemka().hlavicka);
    h.open();
    QStringList stavy;
    for (h.first(); !h.eof() && h.hasRecord(); h.next())
        stavy << h.field("STAV").asString();
    EXPECT_EQ(stavy, (QStringList{"2", "2", "2", "0", "S"}));
    Table zas(*db, QStringLiteral("Sklady\\SklZas"));
    zas.open();
    int rezervuje = 0;
    for (zas.first(); !zas.eof() && zas.hasRecord(); zas.next())
        if (!zas.field("Rezervace").asDecimal().isZero()) ++rezervuje;
    EXPECT_EQ(rezervuje, 5);
}

} // namespace
} // namespace brix::test
