// The number series: the document-type series of "Cis_uctu" and the product series of
// "Cis_rada", alone and drawn by two copies of the program at once.
#include "datacis_fixture.h"
#include "number_series.h"

#include <QFile>
#include <QSet>

#include <limits>
#include <sys/wait.h>
#include <unistd.h>

namespace brix::test {
namespace {

class NumberSeriesTest : public DataModuleTest {
protected:
    Table& series() {
        Table& t = *dm->TableCisUctu;
        if (!t.active()) t.open();
        return t;
    }
    qint64 prvCis(const QString& typ) {
        Table probe(*db, "Ciselnik\\Cis_uctu");
        probe.open();
        EXPECT_TRUE(probe.locate("Typ_Uctu", {typ}));
        return probe.field("PrvCis").asInteger();
    }
};

TEST_F(NumberSeriesTest, RecordingNeverLowersTheSeries) {
    add(series(), {{"Typ_Uctu", "DL"}, {"PrvCis", 100}});
    add(series(), {{"Typ_Uctu", "FV"}, {"PrvCis", 7}});
    EXPECT_EQ(DalsiCisloUctu(series(), "DL", "", 0), 100); // a query changes nothing
    EXPECT_EQ(prvCis("DL"), 100);
    EXPECT_EQ(DalsiCisloUctu(series(), "DL", "", 100), 100);
    EXPECT_EQ(prvCis("DL"), 101);
    EXPECT_EQ(DalsiCisloUctu(series(), "DL", "", 95), 101);
    EXPECT_EQ(prvCis("DL"), 101);
    EXPECT_EQ(DalsiCisloUctu(series(), "dl", "", 150), 101); // the type ignores case
    EXPECT_EQ(prvCis("DL"), 151);
    EXPECT_EQ(prvCis("FV"), 7); // other series untouched
    EXPECT_EQ(DalsiCisloUctu(series(), "OV", "", 0), -1);
    EXPECT_EQ(DalsiCisloUctu(series(), "OV", "", 5), -1);
}

TEST_F(NumberSeriesTest, FreeNumberStepsPastTakenDocuments) {
    add(series(), {{"Typ_Uctu", "DL"}, {"PrvCis", 10}});
    Table hla(*db, "Ext_Ucty\\DodListy\\Hla_DL");
    hla.open();
    add(hla, {{"CIS_UCTU", 10}, {"STAV", "0"}});
    add(hla, {{"CIS_UCTU", 11}, {"STAV", "0"}});
    QList<qint64> stepped;
    EXPECT_EQ(VolneCisloUctu(series(), "DL", "", &hla, [&](qint64 n) { stepped << n; }), 12);
    EXPECT_EQ(stepped, QList<qint64>({10, 11}));
    EXPECT_EQ(prvCis("DL"), 13);
}

TEST_F(NumberSeriesTest, ProductSeriesStepsPastExistingProducts) {
    Table rada(*db, "Ciselnik\\Cis_rada");
    Table vyr(*db, "Ciselnik\\Vyrobky");
    add(rada, {{"Cis_Rada", "01"}, {"Prvni_Cis", 5000}});
    add(vyr, {{"Cis_Vyr", 5001},
              {"Nazev", "Email bílý"},
              {"Druh_Pol", "S"},
              {"DPH", 21.0},
              {"Faktor_Bal", 1},
              {"Cis_Firmy", 1}});
    add(vyr, {{"Cis_Vyr", 5002},
              {"Nazev", "Email černý"},
              {"Druh_Pol", "S"},
              {"DPH", 21.0},
              {"Faktor_Bal", 1},
              {"Cis_Firmy", 1}});
    EXPECT_EQ(CisloZRady(rada, vyr, "01"), 5003);
    rada.refresh();
    EXPECT_EQ(rada.field("Prvni_Cis").asInteger(), 5003);
    EXPECT_EQ(CisloZRady(rada, vyr, "99"), 0);
}

// Past 2,147,483,647 a series goes on; at the end of the 64-bit range it refuses, in Czech,
// and changes nothing.
TEST_F(NumberSeriesTest, SeriesGoOnPastThirtyTwoBitsAndRefuseAtTheirEnd) {
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    add(series(), {{"Typ_Uctu", "DL"}, {"PrvCis", 2147483647}});
    EXPECT_EQ(DalsiCisloUctu(series(), "DL", "", 2147483647), 2147483647);
    EXPECT_EQ(DalsiCisloUctu(series(), "DL", "", 0), 2147483648LL);
    EXPECT_EQ(DalsiCisloUctu(series(), "DL", "", kMax - 1), 2147483648LL);
    EXPECT_EQ(DalsiCisloUctu(series(), "DL", "", 0), kMax);
    auto refusal = [](const std::function<void()>& draw) {
        try {
            draw();
        } catch (const StorageError& e) {
            return e.message();
        }
        return QStringLiteral("nic");
    };
    EXPECT_EQ(refusal([&] { DalsiCisloUctu(series(), "DL", "", kMax); }),
              "Číselná řada dokladů typu DL je vyčerpána, další číslo nelze přidělit");
    EXPECT_EQ(series().state(), TableState::Browse);
    Table hla(*db, "Ext_Ucty\\DodListy\\Hla_DL");
    hla.open();
    add(hla, {{"CIS_UCTU", kMax}, {"STAV", "0"}});
    EXPECT_EQ(refusal([&] { VolneCisloUctu(series(), "DL", "", &hla); }),
              "Číselná řada dokladů typu DL je vyčerpána, další číslo nelze přidělit");
    EXPECT_EQ(DalsiCisloUctu(series(), "DL", "", 0), kMax);

    Table rada(*db, "Ciselnik\\Cis_rada");
    rada.open();
    Table vyr(*db, "Ciselnik\\Vyrobky");
    vyr.open();
    add(rada, {{"Cis_Rada", "01"}, {"Prvni_Cis", 2147483647}});
    EXPECT_EQ(CisloZRady(rada, vyr, "01"), 2147483648LL);
    rada.edit();
    rada.field("Prvni_Cis").setInteger(kMax - 1);
    rada.post();
    add(vyr, {{"Cis_Vyr", kMax},
              {"Nazev", "Poslední"},
              {"Druh_Pol", "S"},
              {"DPH", 21.0},
              {"Faktor_Bal", 1},
              {"Cis_Firmy", 1}});
    EXPECT_EQ(refusal([&] { CisloZRady(rada, vyr, "01"); }),
              "Číselná řada výrobků 01 je vyčerpána, další číslo nelze přidělit");
    rada.refresh();
    EXPECT_EQ(rada.field("Prvni_Cis").asInteger(), kMax - 1);
}

// Two copies of the program draw 500 numbers each from one series at the same time.
TEST_F(NumberSeriesTest, TwoProcessesNeverDrawTheSameNumber) {
    add(series(), {{"Typ_Uctu", "FV"}, {"PrvCis", 1}});
    const QString root = dir.path();
    auto draw = [&](const QString& out) {
        pid_t pid = fork();
        if (pid != 0) return pid;
        int rc = 0;
        try {
            OpenOptions o;
            o.busyTimeoutMs = 20000;
            auto other = Database::open(root, o);
            Table t(*other, "Ciselnik\\Cis_uctu");
            t.open();
            QFile f(out);
            if (!f.open(QIODevice::WriteOnly)) _exit(3);
            for (int i = 0; i < 500; ++i) {
                const qint64 n = VolneCisloUctu(t, "FV", "", nullptr);
                if (n <= 0) rc = 2;
                f.write(QByteArray::number(n) + '\n');
            }
        } catch (const std::exception& e) {
            QFile err(out + ".err");
            if (err.open(QIODevice::WriteOnly)) err.write(e.what());
            rc = 1;
        } catch (...) {
            rc = 1;
        }
        _exit(rc);
    };
    const pid_t a = draw(root + "/a.txt"), b = draw(root + "/b.txt");
    int sa = 0, sb = 0;
    waitpid(a, &sa, 0);
    waitpid(b, &sb, 0);
    for (const char* name : {"/a.txt.err", "/b.txt.err"}) {
        QFile err(root + name);
        if (err.open(QIODevice::ReadOnly)) ADD_FAILURE() << err.readAll().toStdString();
    }
    ASSERT_TRUE(WIFEXITED(sa) && WEXITSTATUS(sa) == 0);
    ASSERT_TRUE(WIFEXITED(sb) && WEXITSTATUS(sb) == 0);
    QSet<int> numbers;
    int count = 0, highest = 0;
    for (const char* name : {"/a.txt", "/b.txt"}) {
        QFile f(root + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        for (const QByteArray& line : f.readAll().split('\n')) {
            if (line.isEmpty()) continue;
            ++count;
            numbers.insert(line.toInt());
            highest = std::max(highest, line.toInt());
        }
    }
    EXPECT_EQ(count, 1000);
    EXPECT_EQ(numbers.size(), 1000);
    EXPECT_GT(prvCis("FV"), highest);
}

} // namespace
} // namespace brix::test
