// Renumbering a product: the refusals of the answer and of a number in use, and random rows in
// every table that names products, after which no row names the old number and every count and
// total is as before; a failure injected at any table leaves everything as it was.
#include "bulk.h"
#include "ciselniky_fixture.h"
#include "precisluj.h"

#include <QRandomGenerator>

using namespace brix;

namespace {

class PrecislujTest : public test::CiselnikyTest {
protected:
    void SetUp() override {
        CiselnikyTest::SetUp();
        vyr = dm->TableVyr;
        vyr->open();
        for (int c : {5, 6, 7})
            add(*vyr, {{"Cis_vyr", c},
                       {"Nazev", QString("Výrobek %1").arg(c)},
                       {"Cis_Firmy", 1},
                       {"Druh_Pol", "S"},
                       {"DPH", 21},
                       {"Faktor_Bal", 1}});
        vyr->setIndexName(QString());
    }
    void TearDown() override {
        vyr->close();
        CiselnikyTest::TearDown();
    }

    // Random rows in every referencing table: product numbers among 5, 6 and 7 (the first row
    // of each table names 5 when `aspon5`), the other key fields of each row distinct.
    void naplnOdkazy(QRandomGenerator& rnd, bool aspon5 = false) {
        qint64 citac = 1;
        for (const OdkazNaVyrobek& o : OdkazyNaVyrobek(*db)) {
            const TableDef& t = *o.tabulka;
            const int n = int(rnd.bounded(aspon5 ? 1 : 0, 6));
            for (int i = 0; i < n; ++i) {
                QStringList pole, hodnoty;
                QVariantList v;
                for (const FieldDef& f : t.fields) {
                    const QString jmeno = f.name.toLower();
                    QVariant h;
                    if (jmeno == "cis_vyr" || jmeno == "kcisvyr")
                        h = qint64(aspon5 && i == 0 ? 5 : 5 + rnd.bounded(3));
                    else if (t.primaryKey.contains(f.name, Qt::CaseInsensitive) || f.required ||
                             jmeno == "mnozstvi" || jmeno == "sklzas_ks")
                        h = isTextKind(f.kind)          ? QVariant(QString("K%1").arg(citac))
                            : f.kind == FieldKind::Date ? QVariant("2024-01-01")
                                                        : QVariant(citac);
                    else
                        continue;
                    ++citac;
                    pole << sqlIdentifier(f.name);
                    hodnoty << "?";
                    v << h;
                }
                Statement st = db->prepare(
                    QString("INSERT INTO %1 (%2) VALUES (%3)")
                        .arg(sqlIdentifier(t.sqlName), pole.join(", "), hodnoty.join(", ")));
                for (int k = 0; k < v.size(); ++k)
                    st.bindPlain(k + 1, v[k]);
                st.exec();
            }
        }
    }
    // Per referencing field and product number: the rows and the total of the quantity; per
    // table: the rows and the quantity's total.
    QMap<QString, double> snimek() {
        QMap<QString, double> out;
        auto jedno = [&](const QString& sql) {
            Statement st = db->prepare(sql);
            st.step();
            return st.columnDouble(0);
        };
        for (const OdkazNaVyrobek& o : OdkazyNaVyrobek(*db)) {
            const QString t = sqlIdentifier(o.tabulka->sqlName);
            const QString klic = o.tabulka->address() + "." + o.pole;
            const FieldDef* mn = o.tabulka->field("SklZas_ks");
            if (!mn) mn = o.tabulka->field("Mnozstvi");
            out[o.tabulka->address() + "#rows"] = jedno("SELECT count(*) FROM " + t);
            if (mn)
                out[o.tabulka->address() + "#total"] =
                    jedno(QString("SELECT total(%1) FROM %2").arg(sqlIdentifier(mn->name), t));
            for (int c : {5, 6, 7, 50}) {
                out[klic + QString("@%1").arg(c)] = double(countRows(*db, *o.tabulka, o.pole, c));
                if (mn)
                    out[klic + QString("@%1$").arg(c)] =
                        jedno(QString("SELECT total(%1) FROM %2 WHERE %3 = %4")
                                  .arg(sqlIdentifier(mn->name), t, sqlIdentifier(o.pole))
                                  .arg(c));
            }
        }
        return out;
    }
    // The snapshot with what 5 had moved to 50.
    static QMap<QString, double> presun(QMap<QString, double> s) {
        for (auto it = s.begin(); it != s.end(); ++it)
            if (it.key().endsWith("@5") || it.key().endsWith("@5$")) {
                QString k = it.key();
                k.replace("@5", "@50");
                s[k] = it.value();
                it.value() = 0;
            }
        return s;
    }

    Table* vyr = nullptr;
};

} // namespace

TEST_F(PrecislujTest, TheAnswerIsCheckedBeforeAnythingChanges) {
    ASSERT_TRUE(vyr->findKey({5}));
    EXPECT_EQ(PrecislujVyrobek(*vyr, "  ").stav, StavPrecislovani::Prazdne);
    EXPECT_EQ(PrecislujVyrobek(*vyr, "  ").zprava, "Číslo musíte zadat, funkce nebude provedena");
    for (const char* spatne : {"abc", "0", "-3", "10000000", "12.5", "1e3"}) {
        const VysledekPrecislovani v = PrecislujVyrobek(*vyr, spatne);
        EXPECT_EQ(v.stav, StavPrecislovani::Neplatne) << spatne;
        EXPECT_EQ(v.zprava, "Číslo výrobku v rozsahu 1-9999999 musí být jedinečné");
    }
    EXPECT_EQ(PrecislujVyrobek(*vyr, "5").stav, StavPrecislovani::Stejne);
    const VysledekPrecislovani obsazene = PrecislujVyrobek(*vyr, "6");
    EXPECT_EQ(obsazene.stav, StavPrecislovani::Chyba);
    EXPECT_EQ(obsazene.zprava,
              "Položka s tímto číslem výrobku již existuje, položka nebude uložena");
    // Rows of a product that is gone keep their number from being taken.
    add(*dm->TableSklZas, {{"Cis_Vyr", 44}, {"Cis_Sklad", "1"}, {"SklZas_ks", 3}});
    const VysledekPrecislovani sirotek = PrecislujVyrobek(*vyr, "44");
    EXPECT_EQ(sirotek.stav, StavPrecislovani::Obsazene);
    EXPECT_TRUE(sirotek.zprava.contains("Sklady\\SklZas"));
    EXPECT_EQ(vyr->field("Cis_vyr").asInteger(), 5);
    EXPECT_EQ(vyr->recordCount(), 3);
}

TEST_F(PrecislujTest, EveryReferenceMovesAndNothingElseChanges) {
    QRandomGenerator rnd(1966);
    for (int beh = 0; beh < 5; ++beh) {
        SCOPED_TRACE(beh);
        naplnOdkazy(rnd);
        const QMap<QString, double> pred = snimek();
        ASSERT_TRUE(vyr->findKey({5}));
        const VysledekPrecislovani v = PrecislujVyrobek(*vyr, "50");
        ASSERT_EQ(v.stav, StavPrecislovani::Hotovo) << v.zprava.toStdString();
        EXPECT_EQ(vyr->field("Cis_vyr").asInteger(), 50);
        EXPECT_FALSE(vyr->findKey({5}));
        EXPECT_EQ(snimek(), presun(pred));
        double presunuto = 0;
        for (auto it = pred.begin(); it != pred.end(); ++it)
            if (it.key().endsWith("@5")) presunuto += it.value();
        EXPECT_EQ(double(v.radku), presunuto);
        // Back, so that the next round starts from 5 again.
        ASSERT_TRUE(vyr->findKey({50}));
        ASSERT_EQ(PrecislujVyrobek(*vyr, "5").stav, StavPrecislovani::Hotovo);
        EXPECT_EQ(snimek(), pred);
    }
}

TEST_F(PrecislujTest, AFailureAtAnyTableLeavesEverythingAsItWas) {
    QRandomGenerator rnd(7);
    naplnOdkazy(rnd, true);
    const QMap<QString, double> pred = snimek();
    for (const OdkazNaVyrobek& o : OdkazyNaVyrobek(*db)) {
        SCOPED_TRACE(o.tabulka->address().toStdString());
        db->exec(QString("CREATE TRIGGER selhani BEFORE UPDATE ON %1 BEGIN SELECT RAISE(ABORT, "
                         "'disk je plný'); END")
                     .arg(sqlIdentifier(o.tabulka->sqlName)));
        ASSERT_TRUE(vyr->findKey({5}));
        const VysledekPrecislovani v = PrecislujVyrobek(*vyr, "50");
        EXPECT_EQ(v.stav, StavPrecislovani::Chyba);
        EXPECT_TRUE(v.zprava.contains("disk je plný")) << v.zprava.toStdString();
        EXPECT_EQ(vyr->field("Cis_vyr").asInteger(), 5);
        EXPECT_EQ(vyr->state(), TableState::Browse);
        EXPECT_EQ(snimek(), pred);
        db->exec("DROP TRIGGER selhani");
    }
    // A failure at the product itself too.
    db->exec("CREATE TRIGGER selhani BEFORE UPDATE ON ciselnik_vyrobky BEGIN SELECT RAISE(ABORT, "
             "'disk je plný'); END");
    ASSERT_TRUE(vyr->findKey({5}));
    ui.answer(Button::Ok, "disk je plný");
    EXPECT_EQ(PrecislujVyrobek(*vyr, "50").stav, StavPrecislovani::Chyba);
    EXPECT_EQ(snimek(), pred);
    EXPECT_EQ(vyr->field("Cis_vyr").asInteger(), 5);
}
