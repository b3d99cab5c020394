// The declared references: every one of them finds the records that use a record, one count per
// using table; a record whose referenced values another record shares is used by nobody.
#include "references.h"
#include "storage_fixture.h"

using namespace brix;

namespace {

class ReferencesTest : public test::StorageTest {
protected:
    OpenOptions options() override { return {}; } // the system's catalogue

    // A value of the field's kind, different from the last ones; a text of at most `chars`.
    QVariant value(const FieldDef& f, int chars = 20) {
        ++counter;
        switch (f.kind) {
        case FieldKind::Text:
        case FieldKind::Memo:
        case FieldKind::FormattedMemo:
            return QString::number(counter, 36)
                .toUpper()
                .right(f.size ? std::min(chars, f.size) : chars);
        case FieldKind::Logical:
            return false;
        case FieldKind::Date:
            return QDate(2024, 1, 1).addDays(counter);
        case FieldKind::Time:
        case FieldKind::Timestamp:
        case FieldKind::Blob:
            return {};
        default:
            return counter;
        }
    }
    // Inserts a record with every required and key field filled, then `values`; answers its
    // rowid.
    qint64 insert(Table& t, const QList<std::pair<QString, QVariant>>& values) {
        t.insert();
        for (int i = 0; i < t.fieldCount(); ++i) {
            const FieldDef& f = t.fieldDef(i);
            const bool key = t.def().primaryKey.contains(f.name, Qt::CaseInsensitive);
            if ((f.required || key) && f.kind != FieldKind::AutoInc) t.field(i).setValue(value(f));
        }
        for (const auto& [name, v] : values)
            t.field(name).setValue(v);
        t.post();
        return t.bookmark();
    }
    static qint64 countOf(const QList<Usage>& usages, const QString& what) {
        for (const Usage& u : usages)
            if (u.what == what) return u.count;
        return 0;
    }

    int counter = 0;
};

TEST_F(ReferencesTest, EveryDeclaredReferenceCountsTheRecordsThatNameARecord) {
    ASSERT_GT(references().size(), 40);
    for (const Reference& r : references()) {
        SCOPED_TRACE((r.table + " <- " + r.user + " " + r.userFields.join(',')).toStdString());
        // Every declared name is a field of the catalogue.
        const TableDef& rt = db->table(r.table);
        const TableDef& ut = db->table(r.user);
        ASSERT_EQ(r.fields.size(), r.userFields.size());
        for (int i = 0; i < r.fields.size(); ++i) {
            ASSERT_NE(rt.field(r.fields[i]), nullptr) << r.fields[i].toStdString();
            ASSERT_NE(ut.field(r.userFields[i]), nullptr) << r.userFields[i].toStdString();
        }
        if (!r.whenField.isEmpty()) {
            ASSERT_NE(rt.field(r.whenField), nullptr);
        }
        Table referenced(*db, r.table), user(*db, r.user);
        referenced.open();
        user.open();
        QList<std::pair<QString, QVariant>> keys;
        for (int i = 0; i < r.fields.size(); ++i) // a value both fields can hold
            keys.push_back({r.fields[i], value(*rt.field(r.fields[i]),
                                               std::max(ut.field(r.userFields[i])->size, 1))});
        if (!r.whenField.isEmpty()) keys.push_back({r.whenField, r.whenValue});
        const qint64 row = insert(referenced, keys);
        EXPECT_EQ(countOf(usagesOf(referenced), r.what), 0);

        // Two users name it: both are counted by the one query of their table.
        QList<std::pair<QString, QVariant>> naming;
        for (int i = 0; i < r.fields.size(); ++i)
            naming.push_back({r.userFields[i], referenced.field(r.fields[i]).value()});
        insert(user, naming);
        const qint64 second = insert(user, naming);
        ASSERT_TRUE(referenced.gotoBookmark(row));
        EXPECT_EQ(countOf(usagesOf(referenced), r.what), 2);
        EXPECT_TRUE(inUseMessage(usagesOf(referenced)).contains(r.what + QStringLiteral(": 2")));

        ASSERT_TRUE(user.gotoBookmark(second));
        user.remove();
        ASSERT_TRUE(referenced.gotoBookmark(row));
        EXPECT_EQ(countOf(usagesOf(referenced), r.what), 1);
        for (user.first(); !user.isEmpty();)
            user.remove();
        ASSERT_TRUE(referenced.gotoBookmark(row));
        EXPECT_TRUE(usagesOf(referenced).isEmpty());
        referenced.remove();
    }
}

TEST_F(ReferencesTest, ARecordWhoseValuesAnotherSharesIsUsedByNobody) {
    // Another rate of the same currency: the partners still find their currency.
    Table meny(*db, "Ciselnik\\Meny"), firmy(*db, "Ciselnik\\Firmy");
    meny.open();
    firmy.open();
    const qint64 stary = insert(meny, {{"KOD_Meny", "EUR"}, {"Platnost_Od", QDate(2023, 1, 1)}});
    const qint64 novy = insert(meny, {{"KOD_Meny", "EUR"}, {"Platnost_Od", QDate(2024, 1, 1)}});
    insert(firmy, {{"Kod_Meny", "EUR"}});
    ASSERT_TRUE(meny.gotoBookmark(stary));
    EXPECT_TRUE(usagesOf(meny).isEmpty());
    meny.remove();
    ASSERT_TRUE(meny.gotoBookmark(novy));
    EXPECT_EQ(usagesOf(meny).size(), 1); // the last rate of EUR is used

    // Namesake employees: the documents name the surname, which the other still bears.
    Table zamest(*db, "Ciselnik\\Zamest"), dl(*db, "Ext_Ucty\\DodListy\\Hla_DL");
    zamest.open();
    dl.open();
    const qint64 jan = insert(zamest, {{"PRIJMENI", "NOVÁK"}, {"JMENO", "Jan"}});
    insert(zamest, {{"PRIJMENI", "NOVÁK"}, {"JMENO", "Petr"}});
    insert(dl, {{"CIS_UCTU", 1}, {"Vystavil", "NOVÁK"}});
    ASSERT_TRUE(zamest.gotoBookmark(jan));
    EXPECT_TRUE(usagesOf(zamest).isEmpty());

    // A document kind is named by the documents of its own type only.
    Table druhy(*db, "Ciselnik\\Druhy_uctu");
    druhy.open();
    insert(dl, {{"CIS_UCTU", 2}, {"DRUH", "ZAK"}});
    const qint64 fv = insert(druhy, {{"Typ_Uctu", "FV"}, {"Druh", "ZAK"}});
    EXPECT_TRUE(usagesOf(druhy).isEmpty());
    insert(druhy, {{"Typ_Uctu", "DL"}, {"Druh", "ZAK"}});
    const QList<Usage> u = usagesOf(druhy);
    ASSERT_EQ(u.size(), 1);
    EXPECT_EQ(u.front().what, "dodací listy");
    EXPECT_EQ(u.front().count, 1);
    ASSERT_TRUE(druhy.gotoBookmark(fv));
    EXPECT_TRUE(usagesOf(druhy).isEmpty());
}

TEST_F(ReferencesTest, BlankValuesNameNothingAndTheMessageListsEachUser) {
    Table sklady(*db, "Ciselnik\\Sklady"), zas(*db, "Sklady\\SklZas"), pol(*db, "Sklady\\SklPol");
    sklady.open();
    zas.open();
    pol.open();
    insert(sklady, {}); // no number: nothing can name it
    insert(zas, {{"Cis_Vyr", 1}});
    EXPECT_TRUE(usagesOf(sklady).isEmpty());
    insert(sklady, {{"Cis_Sklad", "2"}});
    insert(zas, {{"Cis_Vyr", 2}, {"Cis_Sklad", "2"}});
    for (int i = 0; i < 3; ++i)
        insert(pol, {{"Cis_Sklad", "2"}, {"Cis_Vyr", 2}});
    EXPECT_EQ(inUseMessage(usagesOf(sklady)), "Záznam nelze smazat, používají jej jiné záznamy:\n"
                                              "zásoby skladu: 1\nskladové pohyby: 3");
    EXPECT_TRUE(inUseMessage({}).isEmpty());
}

} // namespace
