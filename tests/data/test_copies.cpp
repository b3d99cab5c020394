// Two copies of the program on one data root (a forked child process with a connection of its
// own is the other copy): what each copy sees of the other's commits, and what a post in Edit
// does when the other copy changed or deleted the record meanwhile, under each conflict policy.
#include "query.h"
#include "scripted_gtest.h"
#include "storage_fixture.h"
#include "storage_messages.h"

using namespace brix;
using namespace brix::test;

namespace {

class CopiesTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        Table t(*db, "T\\Osoby");
        t.open();
        add(t, {{"Prijmeni", "Novák"}, {"Jmeno", "Jan"}, {"Mesto", "Praha"}, {"Cis_firmy", 12}});
        add(t, {{"Prijmeni", "Veselý"}, {"Jmeno", "Petr"}, {"Mesto", "Brno"}, {"Cis_firmy", 7}});
    }

    // The other copy: opens the data root, runs `work` on Novák's record, commits.
    int otherCopy(const std::function<void(Table&)>& work) {
        const QString root = dir.path();
        return inChild([&] {
            auto other = Database::open(root, options());
            Table c(*other, "T\\Osoby");
            c.open();
            if (!c.findKey({"Novák", "Jan"})) return 1;
            work(c);
            return 0;
        });
    }
    void otherSets(const char* field, const QVariant& value) {
        ASSERT_EQ(otherCopy([&](Table& c) {
                      c.edit();
                      c.field(field).setValue(value);
                      c.post();
                  }),
                  0);
    }
    void otherDeletes() {
        ASSERT_EQ(otherCopy([](Table& c) { c.remove(); }), 0);
    }

    // Novák's record as stored now, read through a cursor of its own: "Mesto/Cis_firmy".
    QString stored() {
        Table r(*db, "T\\Osoby");
        r.open();
        if (!r.findKey({"Novák", "Jan"})) return QStringLiteral("smazán");
        return r.field("Mesto").asString() + "/" + r.field("Cis_firmy").asString();
    }

    StorageErrorKind failedPost(Table& t) {
        try {
            t.post();
        } catch (const StorageError& e) {
            return e.kind();
        }
        ADD_FAILURE() << "the post was not refused";
        return StorageErrorKind::Other;
    }

    // This copy's cursor, in Edit on Novák with a new town typed.
    void beginEdit(Table& t, ConflictPolicy policy) {
        t.setConflictPolicy(policy);
        t.open();
        ASSERT_TRUE(t.findKey({"Novák", "Jan"}));
        t.edit();
        t.field("Mesto").setString("Plzeň");
    }
};

// A cursor that has walked part of a table holds nothing open: the other copy's commit is seen
// on its next move, on refresh, by a query and by a new cursor, and its edit of another field
// keeps the other copy's change.
TEST_F(CopiesTest, AWalkingCursorSeesTheOtherCopysCommitOnItsNextMove) {
    Table a(*db, "T\\Osoby");
    a.open();
    for (int i = 0; i < 40; ++i)
        add(a, {{"Prijmeni", QStringLiteral("Řezník%1").arg(i, 2, 10, QLatin1Char('0'))},
                {"Mesto", "Kolín"}});
    a.first(); // Novák
    a.next();  // Řezník00; the rows after it are read ahead
    ASSERT_EQ(a.field("Prijmeni").asString(), "Řezník00");
    const QString root = dir.path();
    ASSERT_EQ(inChild([&] {
                  auto other = Database::open(root, options());
                  Table c(*other, "T\\Osoby");
                  c.open();
                  Database::Transaction tx(*other);
                  for (c.first(); !c.eof(); c.next()) {
                      c.edit();
                      c.field("Mesto").setString("Louny");
                      c.post();
                  }
                  tx.commit();
                  return 0;
              }),
              0);
    a.next();
    EXPECT_EQ(a.field("Prijmeni").asString(), "Řezník01");
    EXPECT_EQ(a.field("Mesto").asString(), "Louny");
    a.prior();
    EXPECT_EQ(a.field("Mesto").asString(), "Louny");

    ASSERT_EQ(otherCopy([](Table& c) {
                  c.edit();
                  c.field("Mesto").setString("Most");
                  c.post();
              }),
              0);
    Query q(*db, "SELECT Mesto FROM \"T\\Osoby\" WHERE Prijmeni = :P");
    q.setParam("P", "Novák");
    q.open();
    EXPECT_EQ(q.field("Mesto").asString(), "Most");
    Table fresh(*db, "T\\Osoby");
    fresh.open();
    EXPECT_EQ(fresh.field("Mesto").asString(), "Most");
    a.first();
    EXPECT_EQ(a.field("Mesto").asString(), "Most");

    otherSets("Cis_firmy", 99);
    a.refresh();
    EXPECT_EQ(a.field("Cis_firmy").asInteger(), 99);
    otherSets("Mesto", "Beroun");
    a.edit();
    a.field("Cis_firmy").setInteger(5);
    a.post();
    EXPECT_EQ(stored(), "Beroun/5");
}

// Rows read ahead before the other copy's commit are not served inside a transaction begun after
// it.
TEST_F(CopiesTest, ATransactionSeesWhatWasCommittedBeforeItBegan) {
    Table a(*db, "T\\Osoby");
    a.open(); // Novák, Veselý read ahead
    ASSERT_EQ(otherCopy([](Table& c) {
                  c.findKey({"Veselý", "Petr"});
                  c.edit();
                  c.field("Mesto").setString("Zlín");
                  c.post();
              }),
              0);
    Database::Transaction tx(*db);
    a.next();
    EXPECT_EQ(a.field("Mesto").asString(), "Zlín");
    tx.commit();
}

TEST_F(CopiesTest, MergeKeepsTheOtherCopysChangeOfAnUntouchedField) {
    Table t(*db, "T\\Osoby");
    EXPECT_EQ(t.conflictPolicy(), ConflictPolicy::Merge); // every edit of the program's own
    beginEdit(t, ConflictPolicy::Merge);
    otherSets("Cis_firmy", 99);
    t.post();
    EXPECT_EQ(stored(), "Plzeň/99");
    EXPECT_EQ(t.field("Cis_firmy").asInteger(), 99); // the buffer shows the merged record

    // A field both copies assigned keeps this copy's value.
    t.edit();
    t.field("Mesto").setString("Cheb");
    otherSets("Mesto", "Aš");
    t.post();
    EXPECT_EQ(stored(), "Cheb/99");
}

TEST_F(CopiesTest, MergeRefusesARecordDeletedMeanwhileAndKeepsTheEdit) {
    Table t(*db, "T\\Osoby");
    beginEdit(t, ConflictPolicy::Merge);
    otherDeletes();
    EXPECT_EQ(failedPost(t), StorageErrorKind::RecordDeletedByOther);
    EXPECT_EQ(t.state(), TableState::Edit);
    EXPECT_EQ(t.field("Mesto").asString(), "Plzeň");
    EXPECT_EQ(stored(), "smazán"); // nothing written back
    EXPECT_EQ(t.recordCount(), 1);
}

TEST_F(CopiesTest, DetectRefusesAChangedOrDeletedRecordAndWritesNothing) {
    Table t(*db, "T\\Osoby");
    beginEdit(t, ConflictPolicy::Detect);
    otherSets("Cis_firmy", 99);
    EXPECT_EQ(failedPost(t), StorageErrorKind::RecordChangedByOther);
    EXPECT_EQ(t.state(), TableState::Edit);
    EXPECT_EQ(t.field("Mesto").asString(), "Plzeň"); // the user's values stay
    EXPECT_EQ(stored(), "Praha/99");

    otherDeletes();
    EXPECT_EQ(failedPost(t), StorageErrorKind::RecordDeletedByOther);
    EXPECT_EQ(t.state(), TableState::Edit);
    EXPECT_EQ(stored(), "smazán");

    // "Save as it is": the user's record comes back whole.
    t.setConflictPolicy(ConflictPolicy::Overwrite);
    t.post();
    EXPECT_EQ(t.state(), TableState::Browse);
    EXPECT_EQ(stored(), "Plzeň/12");
    EXPECT_EQ(t.recordCount(), 2);
}

TEST_F(CopiesTest, DetectPostsWhenNobodyElseWroteTheRecord) {
    Table t(*db, "T\\Osoby");
    beginEdit(t, ConflictPolicy::Detect);
    ASSERT_EQ(otherCopy([](Table& c) { // the other copy writes another record
                  c.findKey({"Veselý", "Petr"});
                  c.edit();
                  c.field("Mesto").setString("Ostrava");
                  c.post();
              }),
              0);
    t.post();
    EXPECT_EQ(stored(), "Plzeň/12");
}

TEST_F(CopiesTest, OverwriteWritesTheBufferOverTheOtherCopysChange) {
    Table t(*db, "T\\Osoby");
    beginEdit(t, ConflictPolicy::Overwrite);
    otherSets("Cis_firmy", 99);
    t.post();
    EXPECT_EQ(stored(), "Plzeň/12");
}

// The other copy deletes the last record and inserts another, which takes the free row number:
// a post of the deleted record must neither merge into nor overwrite the new one.
TEST_F(CopiesTest, ARecordInsertedInADeletedRecordsRowIsNotTakenForIt) {
    for (ConflictPolicy policy : {ConflictPolicy::Merge, ConflictPolicy::Overwrite}) {
        SCOPED_TRACE(int(policy));
        Table t(*db, "T\\Osoby");
        t.setConflictPolicy(policy);
        t.open();
        ASSERT_TRUE(t.findKey({"Veselý", "Petr"})); // the last row written
        t.edit();
        t.field("Mesto").setString("Plzeň");
        const QString root = dir.path();
        ASSERT_EQ(inChild([&] {
                      auto other = Database::open(root, options());
                      Table c(*other, "T\\Osoby");
                      c.open();
                      if (!c.findKey({"Veselý", "Petr"})) return 1;
                      const Table::Bookmark row = c.bookmark();
                      c.remove();
                      c.insert();
                      c.field("Prijmeni").setString("Zelený");
                      c.field("Mesto").setString("Tábor");
                      c.post();
                      return c.bookmark() == row ? 0 : 2; // the row number was taken again
                  }),
                  0);
        if (policy == ConflictPolicy::Merge) {
            EXPECT_EQ(failedPost(t), StorageErrorKind::RecordDeletedByOther);
            t.cancel();
        } else {
            t.post(); // inserted again beside the new record
        }
        Table r(*db, "T\\Osoby");
        r.open();
        ASSERT_TRUE(r.findKey({"Zelený"}));
        EXPECT_EQ(r.field("Mesto").asString(), "Tábor");
        EXPECT_EQ(r.findKey({"Veselý", "Petr"}), policy == ConflictPolicy::Overwrite);
        // Back to the two records of the start for the next policy.
        r.findKey({"Zelený"});
        r.remove();
        if (!r.findKey({"Veselý", "Petr"}))
            add(r, {{"Prijmeni", "Veselý"}, {"Jmeno", "Petr"}, {"Mesto", "Brno"}});
    }
}

TEST_F(CopiesTest, TwoCursorsOfOneCopyMergeLikeTwoCopies) {
    Table a(*db, "T\\Osoby"), b(*db, "T\\Osoby");
    beginEdit(a, ConflictPolicy::Merge);
    b.open();
    ASSERT_TRUE(b.findKey({"Novák", "Jan"}));
    b.edit();
    b.field("Cis_firmy").setInteger(5);
    b.post();
    a.post();
    EXPECT_EQ(stored(), "Plzeň/5");
}

// Inside one write transaction a record edited and posted is not read twice, but only while
// nothing was written since it was read: a write by another cursor of this copy in between, or a
// rollback to a savepoint, is still settled by the policy.
TEST_F(CopiesTest, InsideATransactionAWriteBetweenEditAndPostIsStillSettled) {
    {
        Database::Transaction tx(*db);
        Table a(*db, "T\\Osoby"), b(*db, "T\\Osoby");
        beginEdit(a, ConflictPolicy::Detect);
        b.open();
        ASSERT_TRUE(b.findKey({"Novák", "Jan"}));
        b.edit();
        b.field("Cis_firmy").setInteger(5);
        b.post();
        EXPECT_EQ(failedPost(a), StorageErrorKind::RecordChangedByOther);
        a.cancel();
        beginEdit(a, ConflictPolicy::Merge);
        b.edit();
        b.field("Cis_firmy").setInteger(6);
        b.post();
        a.post();
        tx.commit();
    }
    EXPECT_EQ(stored(), "Plzeň/6");
    {
        // Writes to another table leave the record as read; a plain statement on its table, or
        // another cursor's write found on the next read, do not.
        Database::Transaction tx(*db);
        Table a(*db, "T\\Osoby"), z(*db, "T\\Zasoby");
        beginEdit(a, ConflictPolicy::Detect);
        z.open();
        add(z, {{"Cis_Vyr", 1}, {"Cis_Sklad", "1"}});
        db->exec(QStringLiteral("UPDATE %1 SET Cis_firmy = 7")
                     .arg(sqlIdentifier(db->table("T\\Osoby").sqlName)));
        EXPECT_EQ(failedPost(a), StorageErrorKind::RecordChangedByOther);
        a.cancel();
        Table b(*db, "T\\Osoby");
        b.open();
        ASSERT_TRUE(a.findKey({"Novák", "Jan"}));
        ASSERT_TRUE(b.findKey({"Novák", "Jan"}));
        b.edit();
        b.field("Cis_firmy").setInteger(9);
        b.post();
        ASSERT_TRUE(a.findKey({"Novák", "Jan"})); // read again, not the buffer of before
        EXPECT_EQ(a.field("Cis_firmy").asInteger(), 9);
        a.edit();
        a.field("Mesto").setString("Plzeň");
        add(z, {{"Cis_Vyr", 2}, {"Cis_Sklad", "1"}});
        a.post();
        tx.commit();
    }
    EXPECT_EQ(stored(), "Plzeň/9");
    {
        Database::Transaction tx(*db);
        Table a(*db, "T\\Osoby");
        a.setConflictPolicy(ConflictPolicy::Detect);
        a.open();
        {
            Database::Transaction inner(*db);
            Table b(*db, "T\\Osoby");
            b.open();
            ASSERT_TRUE(b.findKey({"Novák", "Jan"}));
            b.edit();
            b.field("Mesto").setString("Kolín");
            b.post();
            ASSERT_TRUE(a.findKey({"Novák", "Jan"}));
            a.edit(); // reads "Kolín", which the rollback below takes back
        }             // rolled back
        a.field("Cis_firmy").setInteger(8);
        EXPECT_EQ(failedPost(a), StorageErrorKind::RecordChangedByOther);
    }
    EXPECT_EQ(stored(), "Plzeň/9");
}

// An edit that keeps its key and references is not refused for them; one that changes them is
// checked as before, also inside a transaction.
TEST_F(CopiesTest, AnEditIsCheckedForTheKeyAndReferencesItChanges) {
    Table z(*db, "T\\Zasoby"), p(*db, "T\\Polozky");
    z.open();
    p.open();
    add(z, {{"Cis_Vyr", 1}, {"Cis_Sklad", "1"}});
    add(p, {{"Cis_Uctu", 1}, {"PorCis", 1}, {"Cis_Vyr", 1}});
    add(p, {{"Cis_Uctu", 1}, {"PorCis", 2}, {"Cis_Vyr", 1}});
    Database::Transaction tx(*db);
    ASSERT_TRUE(p.findKey({1, 2}));
    p.edit();
    p.field("Mnozstvi").setFloat(3);
    p.post();
    p.edit();
    p.field("PorCis").setInteger(1);
    EXPECT_EQ(failedPost(p), StorageErrorKind::KeyViolation);
    p.field("PorCis").setInteger(2);
    p.field("Cis_Vyr").setInteger(9);
    EXPECT_EQ(failedPost(p), StorageErrorKind::ForeignKeyViolation);
    p.cancel();
    tx.commit();
    ASSERT_TRUE(p.findKey({1, 2}));
    EXPECT_EQ(p.field("Mnozstvi").asFloat(), 3);
    EXPECT_EQ(p.field("Cis_Vyr").asInteger(), 1);
}

TEST_F(CopiesTest, TheDataModuleTellsTheUserAndKeepsTheRecordInEdit) {
    TestPlatform ui;
    Table t(*db, "T\\Osoby");
    installStorageErrorHandlers(t);
    beginEdit(t, ConflictPolicy::Detect);
    otherSets("Cis_firmy", 99);
    ui.answer(Button::Ok, "Záznam mezitím změnil jiný uživatel", "Upozornění");
    EXPECT_THROW(t.post(), Abort);
    otherDeletes();
    ui.answer(Button::Ok, "Záznam mezitím smazal jiný uživatel", "Upozornění");
    EXPECT_THROW(t.post(), Abort);
    EXPECT_EQ(t.state(), TableState::Edit);
    EXPECT_EQ(t.field("Mesto").asString(), "Plzeň");
}

} // namespace
