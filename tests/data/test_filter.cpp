// The filter language as the programs write it, the options, the per-record callback, and user
// text that must stay a value.
#include "filter.h"
#include "storage_fixture.h"

using namespace brix;
using namespace brix::test;

namespace {

class FilterTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        t = std::make_unique<Table>(*db, "T\\Osoby");
        t->open();
        add(*t, {{"Prijmeni", "NOVAK"},
                 {"Cis_firmy", 12},
                 {"Nazev", "abcde"},
                 {"Mesto", "Praha"},
                 {"Dat_Vystaveni", "01.01.2002"},
                 {"Cena_Celk", 100},
                 {"Platba", true},
                 {"SklZas_Ks", 0},
                 {"Stav", "2"}});
        add(*t, {{"Prijmeni", "Novák"},
                 {"Cis_firmy", 7},
                 {"Nazev", "abc"},
                 {"Mesto", "*"},
                 {"Dat_Vystaveni", "31.12.2002"},
                 {"Cena_Celk", 200.5},
                 {"Platba", false},
                 {"SklZas_Ks", 3},
                 {"Stav", "1"}});
        add(*t, {{"Prijmeni", "O'Brien"},
                 {"Cis_firmy", 7},
                 {"Nazev", "xabc"},
                 {"Mesto", "Ústí \"n. L.\""},
                 {"Dat_Vystaveni", "01.01.2003"},
                 {"Cena_Celk", 150},
                 {"SklZas_Ks", -1}});
        add(*t, {{"Prijmeni", "100%"},
                 {"Nazev", "Čokoláda"},
                 {"Mesto", "Čáslav"},
                 {"Dat_Vystaveni", "15.06.2002"}});
    }
    QStringList names(const QString& expr, FilterOptions o = {}) {
        t->setFilterOptions(o);
        t->setFilter(expr);
        t->setFiltered(true);
        QStringList out = column(*t, "Prijmeni");
        t->setFiltered(false);
        return out;
    }
    std::unique_ptr<Table> t;
};

TEST_F(FilterTest, ComparesFieldsWithValuesOfEveryKind) {
    EXPECT_EQ(names("Prijmeni ='NOVAK'"), QStringList({"NOVAK"}));
    EXPECT_EQ(names("CIS_FIRMY=12"), QStringList({"NOVAK"}));
    EXPECT_EQ(names("CIS_FIRMY=7 AND Mesto='*'"), QStringList({"Novák", "O'Brien"}));
    EXPECT_EQ(names("Cis_firmy = '7'"),
              QStringList({"Novák", "O'Brien"}));         // text on an integer field
    EXPECT_EQ(names("Stav = 2"), QStringList({"NOVAK"})); // number on a text field
    EXPECT_EQ(names("Dat_Vystaveni >='01.01.2002'and Dat_Vystaveni <='31.12.2002'"),
              QStringList({"100%", "NOVAK", "Novák"}));
    EXPECT_EQ(names("Cena_Celk >=100and Cena_Celk <=200"), QStringList({"NOVAK", "O'Brien"}));
    EXPECT_EQ(names("(Platba = False or Platba is null)"),
              QStringList({"100%", "Novák", "O'Brien"}));
    EXPECT_EQ(names("(SklZas_Ks <> null and SklZas_Ks<>0)"), QStringList({"Novák", "O'Brien"}));
    EXPECT_EQ(names("Cis_firmy <> 7"), QStringList({"100%", "NOVAK"})); // blank is not 7
    EXPECT_EQ(names("(Cis_firmy = 12) or (Nazev = \"xabc\")"), QStringList({"NOVAK", "O'Brien"}));
    EXPECT_EQ(names("(Cis_firmy = 7) and not (Cena_Celk > 180)"), QStringList({"O'Brien"}));
    EXPECT_EQ(names("((Cis_firmy = 7) and ((Cena_Celk < 180) or (Stav = '1')))"),
              QStringList({"Novák", "O'Brien"}));
    EXPECT_EQ(names("Cis_firmy is not null and Prijmeni <> 'NOVAK'"),
              QStringList({"Novák", "O'Brien"}));
    EXPECT_EQ(names("Mesto = null"), QStringList());
    EXPECT_EQ(names(""), QStringList({"100%", "NOVAK", "Novák", "O'Brien"}));
}

TEST_F(FilterTest, PartialCompareAndCaseOptions) {
    EXPECT_EQ(names("Nazev ='abc*'"), QStringList({"NOVAK", "Novák"}));
    EXPECT_EQ(names("Mesto= '*'"), QStringList({"100%", "NOVAK", "Novák", "O'Brien"}));
    FilterOptions exact;
    exact.noPartialCompare = true;
    EXPECT_EQ(names("Nazev ='abc*'", exact), QStringList());
    EXPECT_EQ(names("Mesto= '*'", exact), QStringList({"Novák"}));
    FilterOptions ci;
    ci.caseInsensitive = true;
    EXPECT_EQ(names("Prijmeni ='novak'", ci), QStringList({"NOVAK"}));
    EXPECT_EQ(names("Prijmeni ='NOVÁK'", ci), QStringList({"Novák"})); // accents still count
    EXPECT_EQ(names("Nazev = 'čo*'", ci), QStringList({"100%"}));      // Czech letters fold too
    EXPECT_EQ(names("Nazev = 'čo*'"), QStringList());
}

TEST_F(FilterTest, UserTextStaysAValue) {
    EXPECT_EQ(names("Prijmeni = 'O''Brien'"), QStringList({"O'Brien"}));
    EXPECT_EQ(names("Prijmeni = \"O'Brien\""), QStringList({"O'Brien"}));
    EXPECT_EQ(names("Mesto = 'Ústí \"n. L.\"'"), QStringList({"O'Brien"}));
    EXPECT_EQ(names("Prijmeni = '100%'"), QStringList({"100%"}));
    EXPECT_EQ(names("Prijmeni = '1%*'"), QStringList());   // '%' is no wildcard
    EXPECT_EQ(names("Prijmeni = '_OVAK'"), QStringList()); // nor is '_'
    EXPECT_EQ(names("Prijmeni = 'x'' or 1=1 --'"), QStringList());
}

TEST_F(FilterTest, ASyntaxErrorHasItsPositionAndLeavesTheFilterOff) {
    struct Case {
        const char* expr;
        int position;
    };
    for (Case c :
         {Case{"Prijmeni = ", 11}, Case{"Prijmeni 'x'", 9}, Case{"(Cis_firmy = 1", 14},
          Case{"Nic = 1", 0}, Case{"Prijmeni = 'abc", 11}, Case{"Cis_firmy = 1 andd x = 2", 14},
          Case{"Cis_firmy = 'x'", 12}, Case{"Dat_Vystaveni = '32.01.2002'", 16}}) {
        t->setFilter(QString::fromUtf8(c.expr));
        try {
            t->setFiltered(true);
            ADD_FAILURE() << "accepted: " << c.expr;
        } catch (const StorageError& e) {
            EXPECT_EQ(e.kind(), StorageErrorKind::FilterSyntax) << c.expr;
            EXPECT_EQ(e.position(), c.position) << c.expr;
        }
        EXPECT_FALSE(t->filtered());
        EXPECT_EQ(t->recordCount(), 4);
    }
}

TEST_F(FilterTest, CallbackAndExpressionTogetherAndWithRanges) {
    t->setFilterCallback([](Table& tab) { return tab.field("Cena_Celk").asFloat() > 120; });
    t->setFilter("Cis_firmy = 7");
    t->setFiltered(true);
    EXPECT_EQ(column(*t, "Prijmeni"), QStringList({"Novák", "O'Brien"}));
    EXPECT_EQ(t->recordCount(), 2);
    t->setFilter("");
    t->setFiltered(true);
    EXPECT_EQ(column(*t, "Prijmeni"), QStringList({"Novák", "O'Brien"}));
    t->setFilterCallback({});
    t->setFilter("Cena_Celk > 120");
    t->setRange({"N"}, {"Nz"});
    EXPECT_EQ(column(*t, "Prijmeni"), QStringList({"Novák"}));
    t->last();
    t->prior();
    EXPECT_TRUE(t->bof());
    EXPECT_FALSE(t->locate("Prijmeni", {"O'Brien"})); // outside the range
}

} // namespace
