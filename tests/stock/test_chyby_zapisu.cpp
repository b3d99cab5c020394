// A storage failure at any write of a closing, correction or reversal leaves every table as it
// was: the failure is injected by temporary triggers that make the k-th write of the run fail,
// for every k until the operation goes through.
#include "sklad_fixture.h"

#include "catalogue.h"
#include "query.h"

namespace brix::test {
namespace {

const RodinaDokladu& P = RodinaDokladu::prijemka();
const RodinaDokladu& V = RodinaDokladu::vydejka();
const RodinaDokladu& Z = RodinaDokladu::dodavka();

// Makes the k-th write (insert, update or delete of any table of the root) fail; 0 fails none.
// Made once per connection.
class VynucenaChyba {
public:
    explicit VynucenaChyba(Database& db) : db_(db) {
        db.exec("CREATE TEMP TABLE brix_chyba(n INTEGER, k INTEGER)");
        db.exec("INSERT INTO brix_chyba VALUES (0, 0)");
        for (const TableDef& t : db.catalogue().tables())
            for (const char* akce : {"INSERT", "UPDATE", "DELETE"})
                db.exec(QStringLiteral("CREATE TEMP TRIGGER chyba_%1_%2 BEFORE %2 ON main.%1 "
                                       "BEGIN UPDATE brix_chyba SET n = n + 1; "
                                       "SELECT RAISE(ABORT, 'vynucená chyba zápisu') "
                                       "WHERE (SELECT n = k FROM brix_chyba); END")
                            .arg(t.sqlName, QString::fromLatin1(akce)));
    }
    // The triggers stay with the connection; a k of 0 never fires.
    void priZapisu(int k) {
        db_.exec(QStringLiteral("UPDATE brix_chyba SET n = 0, k = %1").arg(k));
    }

private:
    Database& db_;
};

// Every record of every table, as text.
QString obsah(Database& db) {
    QString out;
    for (const TableDef& t : db.catalogue().tables()) {
        Query q(db, QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(t.address()));
        q.open();
        for (q.first(); !q.eof(); q.next()) {
            out += t.sqlName + QLatin1Char(':');
            for (int i = 0; i < q.fieldCount(); ++i)
                out += q.field(i).asString() + QLatin1Char('|');
            out += QLatin1Char('\n');
        }
    }
    return out;
}

class ChybyZapisu : public SkladTest {
protected:
    void TearDown() override {
        chyba_.reset();
        SkladTest::TearDown();
    }
    // Runs the operation with a failure at its 1st, 2nd, ... write until it goes through; each
    // failed run must leave every table as it was and say so.
    void kazdyZapis(const std::function<VysledekPohybu()>& akce, const QString& textSelhani) {
        const QString pred = obsah(*db);
        int k = 1;
        if (!chyba_) chyba_ = std::make_unique<VynucenaChyba>(*db);
        {
            VynucenaChyba& chyba = *chyba_;
            for (;; ++k) {
                ASSERT_LT(k, 2000) << "the operation never went through";
                chyba.priZapisu(k);
                const VysledekPohybu v = akce();
                if (v.ok()) break;
                ASSERT_EQ(v.vysledek, Vysledek::ChybaUlozeni) << "zápis " << k;
                ASSERT_EQ(v.zpravy.size(), 2u);
                ASSERT_TRUE(v.zpravy[0].text.contains("vynucená chyba zápisu"))
                    << "zápis " << k << ": " << v.zpravy[0].text.toStdString() << " "
                    << (v.chyba ? v.chyba->table().toStdString() : std::string());
                EXPECT_EQ(v.zpravy[1], (Zprava{"Chyba", textSelhani}));
                chyba.priZapisu(0);
                ASSERT_EQ(obsah(*db), pred) << "zápis " << k;
            }
            chyba.priZapisu(0);
        }
        EXPECT_GT(k, 3);
        EXPECT_EQ(kontrola(), QStringList());
    }
    std::unique_ptr<VynucenaChyba> chyba_;
    const QString kUzavreni = "Uzavření nebylo provedeno, doklad ani sklad se nezměnily.";
    const QString kStorno = "Storno nebylo provedeno, doklad ani sklad se nezměnily.";

    int prijemka() {
        const int c = doklady->novy(P);
        doklady->uloz(P, c, pol(1, 1, "1", Decimal(10), Decimal(5), Decimal(6)));
        doklady->uloz(P, c, pol(2, 2, "2", Decimal(3), Dec("1.5"), Decimal(2)));
        doklady->uloz(P, c, pol(3, 5, "2", Decimal(1), Decimal(1), Decimal(1)));
        return c;
    }
};

TEST_F(ChybyZapisu, ReceiptClosing) {
    const int c = prijemka();
    kazdyZapis([&] { return Zauctovani(*kontext, P).uzavri(c, "0"); }, kUzavreni);
    EXPECT_EQ(stavDokladu(P, c), "2");
}

TEST_F(ChybyZapisu, ReceiptCorrection) {
    const int c = prijemka();
    ASSERT_TRUE(uzavri(P, c).ok());
    doklady->zmen(P, c, 1, [](Table& t) { t.field("Mnozstvi").setInteger(4); });
    doklady->zmen(P, c, 2, [](Table& t) { t.field("Mnozstvi").setInteger(7); });
    kazdyZapis([&] { return Zauctovani(*kontext, P).uzavri(c, "2"); }, kUzavreni);
    EXPECT_EQ(zasoba(1, "1").ks, Decimal(4));
}

TEST_F(ChybyZapisu, ReceiptReversal) {
    const int c = prijemka();
    ASSERT_TRUE(uzavri(P, c).ok());
    kazdyZapis([&] { return Zauctovani(*kontext, P).stornuj(c); }, kStorno);
    EXPECT_EQ(stavDokladu(P, c), "S");
}

TEST_F(ChybyZapisu, TransferClosingAndCorrection) {
    const int p = prijemka();
    ASSERT_TRUE(uzavri(P, p).ok());
    const int c = doklady->novy(V, true, "3");
    doklady->uloz(V, c, pol(1, 1, "1", Decimal(4), Decimal(5), Decimal(6)));
    doklady->uloz(V, c, pol(2, 2, "2", Decimal(3), Dec("1.5"), Decimal(2)));
    kazdyZapis([&] { return Zauctovani(*kontext, V).uzavri(c, "0"); }, kUzavreni);
    doklady->zmen(V, c, 1, [](Table& t) { t.field("Mnozstvi").setInteger(1); });
    kazdyZapis([&] { return Zauctovani(*kontext, V).uzavri(c, "2"); }, kUzavreni);
    EXPECT_EQ(zasoba(1, "3").ks, Decimal(1));
}

TEST_F(ChybyZapisu, GoodsReceivedClosingAndReversal) {
    const int c = doklady->novy(Z);
    doklady->uloz(Z, c, pol(1, 1, "1", Decimal(10), Decimal(5)));
    doklady->uloz(Z, c, pol(2, 2, "3", Decimal(2), Dec("3.3")));
    kazdyZapis([&] { return Zauctovani(*kontext, Z).uzavri(c, "0"); }, kUzavreni);
    kazdyZapis([&] { return Zauctovani(*kontext, Z).stornuj(c); }, kStorno);
    kazdyZapis([&] { return Zauctovani(*kontext, Z).uzavri(c, "S"); }, kUzavreni);
}

} // namespace
} // namespace brix::test
