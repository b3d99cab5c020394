// The filter language as the programs write it, the options, the per-record callback, and user
// text that must stay a value.
#include "czech.h"
#include "filter.h"
#include "query.h"
#include "storage_fixture.h"

#include <functional>

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

TEST_F(FilterTest, StarAloneMatchesEveryRecordBlankOnesToo) {
    add(*t, {{"Prijmeni", "Bez města"}});
    EXPECT_EQ(names("Mesto = '*'").size(), 5);
    FilterOptions ci;
    ci.caseInsensitive = true;
    EXPECT_EQ(names("Mesto = '*'", ci).size(), 5);
    EXPECT_EQ(names("not Mesto = '*'"), QStringList());
    EXPECT_EQ(names("Mesto = 'P*'"), QStringList({"NOVAK"}));
}

// A price computed as 0.1 + 0.2 is stored as 0.3; a value some other writer left with more
// places is still 0.3 to a filter, a key and a locate.
TEST_F(FilterTest, MoneyAndQuantitiesCompareAtFourPlaces) {
    add(*t, {{"Prijmeni", "Součet"}, {"Cena_Celk", 0.1 + 0.2}, {"SklZas_Ks", 0.00004}});
    EXPECT_EQ(names("Cena_Celk = 0.3"), QStringList({"Součet"}));
    EXPECT_EQ(names("SklZas_Ks = 0"), QStringList({"NOVAK", "Součet"}));
    db->exec("UPDATE t_osoby SET Cena_Celk = 0.30000001, SklZas_Ks = 2.99996 "
             "WHERE Prijmeni = 'Součet'");
    EXPECT_EQ(names("Cena_Celk = 0.3"), QStringList({"Součet"}));
    EXPECT_EQ(names("Cena_Celk = '0,3'"), QStringList({"Součet"}));
    EXPECT_EQ(names("Cena_Celk <> 0.3 and Cena_Celk < 120"), QStringList({"NOVAK"}));
    EXPECT_EQ(names("Cena_Celk <= 0.3"), QStringList({"Součet"}));
    EXPECT_EQ(names("Cena_Celk < 0.3"), QStringList());
    EXPECT_EQ(names("SklZas_Ks >= 3"), QStringList({"Novák", "Součet"}));
    EXPECT_EQ(names("SklZas_Ks > 3"), QStringList());
    EXPECT_EQ(names("Cena_Celk = 0.3 or Cena_Celk = 150 or Cena_Celk = 7"),
              QStringList({"O'Brien", "Součet"}));
    EXPECT_TRUE(t->locate("Cena_Celk", {0.3}));
    EXPECT_EQ(t->field("Prijmeni").asString(), "Součet");
    EXPECT_TRUE(t->locate("SklZas_Ks", {3}));
    EXPECT_EQ(t->field("Prijmeni").asString(), "Novák");
    // Assigned values keep four places, half to even.
    t->edit();
    t->field("Cena_Celk").setFloat(1.00005);
    t->field("SklZas_Ks").setString("1 000,00015");
    t->post();
    Query q(*db, "SELECT Cena_Celk, SklZas_Ks FROM \"T\\Osoby\" WHERE Prijmeni = 'Novák'");
    q.open();
    EXPECT_EQ(q.field("Cena_Celk").asFloat(), 1.0);
    EXPECT_EQ(q.field("SklZas_Ks").asFloat(), 1000.0002);
}

// A prefix that ignores case is first narrowed to a range of the collation (so that an index
// can skip the rest) and then decided by the fold; the narrowing must never lose a text that
// the fold alone accepts: "ch" is a letter after "h", a Kelvin sign folds to "k" yet sorts
// elsewhere, accented capitals weigh apart from their small letters.
TEST_F(FilterTest, APrefixIgnoringCaseFindsWhatTheFoldAloneFinds) {
    const QStringList nazvy = {"ch",         "Ch",       "CH",
                               "cH",         "c",        "C",
                               "chata",      "Chata",    "CHATA",
                               "cena",       "Cihla",    "hora",
                               "Hrad",       "ich",      "icH",
                               "ic",         "Čáslav",   "čas",
                               "Čas",        "cas",      "Ústí",
                               "ústa",       "Usti",     "À la",
                               "à la",       "Ångström", "\u212Bngstrom",
                               "\u212Aarel", "Karel",    "kARel",
                               "99 lahví",   "9",        "100%",
                               "O'Brien",    "o'brien",  "'uvozeno",
                               "ß",          "SS",       "ǅ",
                               "ǆ",          "İstanbul", "istanbul",
                               "Σίγμα",      "σ",        " mezera",
                               "žula",       "Žula",     "zz",
                               "Tmel 99",    "tmel 990", "TMEL 9",
                               "tmel 9a",    "tmel 9:",  "tmelx"};
    db->exec("DELETE FROM t_osoby");
    int n = 0;
    for (const QString& nazev : nazvy)
        add(*t, {{"Prijmeni", QStringLiteral("R%1").arg(++n)}, {"Nazev", nazev}});
    add(*t, {{"Prijmeni", QStringLiteral("Prazdny")}}); // a blank name

    FilterOptions ci;
    ci.caseInsensitive = true;
    auto sloupec = [&](const QString& vyraz) {
        QStringList out = names(vyraz, ci);
        out.sort();
        return out;
    };
    // The condition as it was: the fold of the first characters alone.
    auto foldem = [&](const QString& prefix) {
        Statement st = db->prepare(QStringLiteral("SELECT Prijmeni FROM t_osoby WHERE "
                                                  "czech_fold(substr(Nazev, 1, %1)) = ?")
                                       .arg(prefix.size()));
        st.bindPlain(1, prefix.toLower());
        QStringList out;
        while (st.step())
            out << st.columnText(0);
        out.sort();
        return out;
    };
    QSet<QString> predpony;
    for (const QString& nazev : nazvy)
        for (qsizetype k = 1; k <= nazev.size(); ++k)
            for (const QString& p :
                 {nazev.left(k), nazev.left(k).toUpper(), nazev.left(k).toLower()})
                predpony.insert(p);
    for (const QString p : {"k", "tmel 9", "tmel 99", "z", "ž", "ch", "c", "h"})
        predpony.insert(p);
    for (QString p : predpony) {
        const QString literal = p.replace(QLatin1Char('\''), QLatin1String("''"));
        const QString original = QString(p).replace(QLatin1String("''"), QLatin1String("'"));
        EXPECT_EQ(sloupec(QStringLiteral("Nazev = '%1*'").arg(literal)), foldem(original))
            << original.toStdString();
    }
    // The fold of the table store maps Latin texts by its own table: the same as Qt does.
    for (const QString& nazev : nazvy) {
        Statement st = db->prepare(QStringLiteral("SELECT upper(?1), lower(?1), czech_fold(?1), "
                                                  "?1 like ?2"));
        st.bindPlain(1, nazev);
        st.bindPlain(2, nazev.toUpper());
        ASSERT_TRUE(st.step());
        EXPECT_EQ(st.columnText(0), nazev.toUpper()) << nazev.toStdString();
        EXPECT_EQ(st.columnText(1), nazev.toLower()) << nazev.toStdString();
        EXPECT_EQ(st.columnText(2), nazev.toLower()) << nazev.toStdString();
        // "ß" is "SS" in capitals, and "ss" is not "ß"
        const bool stejne = nazev.toUpper().toLower() == nazev.toLower();
        EXPECT_EQ(st.columnText(3), stejne ? QStringLiteral("1") : QStringLiteral("0"))
            << nazev.toStdString();
    }
    // The narrowing is really there for plain prefixes, and stays away where it cannot be sure.
    EXPECT_TRUE(czech::foldedPrefixRange(QStringLiteral("tmel 99")).has_value());
    EXPECT_TRUE(czech::foldedPrefixRange(QStringLiteral("ch")).has_value());
    EXPECT_FALSE(czech::foldedPrefixRange(QStringLiteral("c")).has_value());
    EXPECT_FALSE(czech::foldedPrefixRange(QStringLiteral("k")).has_value());
}

// Marked records and lists of product numbers: hundreds or thousands of terms stay within
// what SQLite parses (IN lists, a balanced tree) and find what they list.
TEST_F(FilterTest, FiltersOfThousandsOfTermsWork) {
    {
        Database::Transaction tx(*db);
        for (int i = 1; i <= 3000; ++i)
            add(*t, {{"Prijmeni", QStringLiteral("P%1").arg(i)}, {"Cis_firmy", 1000 + i}});
        tx.commit();
    }
    auto list = [](int n, const QString& term, const QString& joint) {
        QStringList parts;
        for (int i = 1; i <= n; ++i)
            parts << term.arg(i);
        return parts.join(joint);
    };
    // 7, 7, 12 and 1001 to 2500
    EXPECT_EQ(names(list(2500, "Cis_firmy = %1", " or ")).size(), 1503);
    // "12" and 1100 to 1999
    EXPECT_EQ(names(list(2500, "(Cis_firmy = 1%1)", " or ")).size(), 901);
    QStringList numbers;
    for (int i = 1; i <= 3000; i += 3)
        numbers << QStringLiteral("Cis_firmy=%1").arg(1000 + i);
    EXPECT_EQ(names(numbers.join(" or ")).size(), 1000);
    EXPECT_EQ(names(list(2000, "Prijmeni = 'P%1'", " or ")).size(), 2000);
    FilterOptions ci;
    ci.caseInsensitive = true;
    EXPECT_EQ(names(list(150, "Prijmeni = 'p%1'", " or "), ci).size(), 150);
    // Mixed terms that no IN list can take, and long "and" chains.
    EXPECT_EQ(names(list(1200, "(Cis_firmy > %1 and Prijmeni <> 'x')", " or ")).size(), 3003);
    EXPECT_EQ(names(list(1200, "Cis_firmy <> %1", " and ")).size(), 2801);
    EXPECT_EQ(names("(Prijmeni = 'P300' or Prijmeni = 'NOVAK') and " +
                    list(1200, "Cis_firmy <> %1", " and "))
                  .size(),
              1);
    EXPECT_EQ(names(list(800, "Cena_Celk = %1", " or ")).size(), 2); // 100 and 150
    // The deepest nesting allowed around a long list.
    QString deep = numbers.join(" or ");
    for (int i = 0; i < 4; ++i) // sixteen levels
        deep = "not (not (" + deep + "))";
    EXPECT_EQ(names(deep).size(), 1000);
}

TEST_F(FilterTest, TooDeepOrTooLongAFilterIsAFilterErrorWithItsPosition) {
    QString deep = "Cis_firmy = 1";
    for (int i = 0; i < 17; ++i)
        deep = "(" + deep + ")";
    QStringList many;
    for (int i = 0; i < 30001; ++i)
        many << QStringLiteral("Cis_firmy=%1").arg(i % 10);
    const QString tooMany = many.join(" or ");
    struct Case {
        QString expr;
        int position;
    };
    for (const Case& c : {Case{deep, 16}, Case{QString("not ").repeated(17) + "Stav = '1'", 64},
                          Case{tooMany, int(tooMany.lastIndexOf("Cis_firmy"))}}) {
        t->setFilter(c.expr);
        try {
            t->setFiltered(true);
            ADD_FAILURE() << "accepted: " << c.expr.left(40).toStdString();
        } catch (const StorageError& e) {
            EXPECT_EQ(e.kind(), StorageErrorKind::FilterSyntax);
            EXPECT_EQ(e.position(), c.position) << e.message().toStdString();
        }
        EXPECT_FALSE(t->filtered());
    }
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

// Random expressions, most of them made by the grammar from fields, operators and values of
// every kind, some of them damaged by a stray word: switching the filter on and walking the
// records either works or fails with a filter error and a position inside the text, never with
// an error of SQLite or of another kind.
TEST_F(FilterTest, AnyTextIsAFilterOrAFilterError) {
    const QStringList fields = {"Prijmeni",  "Cis_firmy", "Nazev",     "Mesto", "Dat_Vystaveni",
                                "Cena_Celk", "Platba",    "SklZas_Ks", "Stav",  "Neznama"};
    const QStringList ops = {"=", "<>", "<", ">", "<=", ">="};
    const QStringList values = {
        "'x'",     "'No*'", "'*'",          "''",           "\"O'Brien\"",
        "12",      "-0.3",  "1e400",        "'0,3'",        "null",
        "blank",   "true",  "'31.12.2002'", "'32.13.2002'", "9223372036854775808",
        "'1 000'", "Mesto", "'a''b*'"};
    const QStringList noise = {"'", "\"", "*", "?", ":P", ";",   "--", "/*",  "[",
                               "%", "\\", ",", "(", ")",  "and", "or", "not", "="};
    std::uint32_t seed = 20261210;
    auto rnd = [&](qsizetype n) {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 8) % std::uint32_t(n));
    };
    std::function<QString(int)> expr = [&](int depth) -> QString {
        switch (depth > 3 ? 0 : rnd(5)) {
        case 1:
            return expr(depth + 1) + (rnd(2) ? " and " : " or ") + expr(depth + 1);
        case 2:
            return "not " + expr(depth + 1);
        case 3:
            return "(" + expr(depth + 1) + ")";
        default:
            return fields[rnd(fields.size())] + ops[rnd(ops.size())] + values[rnd(values.size())];
        }
    };
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        QString text = expr(0);
        if (rnd(3) == 0) text.insert(rnd(text.size() + 1), noise[rnd(noise.size())]);
        FilterOptions o;
        o.caseInsensitive = rnd(2);
        o.noPartialCompare = rnd(4) == 0;
        t->setFilterOptions(o);
        t->setFilter(text);
        try {
            t->setFiltered(true);
            column(*t, "Prijmeni");
            ++accepted;
        } catch (const StorageError& e) {
            ASSERT_EQ(e.kind(), StorageErrorKind::FilterSyntax)
                << text.toStdString() << ": " << e.message().toStdString();
            EXPECT_GE(e.position(), 0) << text.toStdString();
            EXPECT_LE(e.position(), text.size()) << text.toStdString();
        }
        t->setFiltered(false);
    }
    EXPECT_GT(accepted, 500); // most of them are filters
}
