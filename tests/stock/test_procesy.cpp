// Copies of the program on one data root: a copy killed at any instant of a closing, correction
// or reversal leaves a sound database with no half-posted document; two copies closing
// documents at the same time never share a number nor lose a stock update. The copies are this
// test binary started again as a child (PotomekSkladu, which runs only when told to).
#include "sklad_fixture.h"

#include "query.h"

#include <QElapsedTimer>

#include <csignal>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace brix::test {
namespace {

const RodinaDokladu& P = RodinaDokladu::prijemka();
const RodinaDokladu& V = RodinaDokladu::vydejka();
const RodinaDokladu& Z = RodinaDokladu::dodavka();

// ---- the child ---------------------------------------------------------------------------------

// What a child does on the data root its environment names.
class Potomek {
public:
    explicit Potomek(const QString& koren) {
        db = Database::open(koren);
        dm = std::make_unique<TDataCis>(*db);
        InstalujPravidlaSkladovychDokladu(*dm, [] { return NastaveniPohybu(); });
        kontext = std::make_unique<KontextPohybu>(*db, NastaveniPohybu());
        doklady = std::make_unique<Doklady>(*dm);
    }

    bool uzavri(const RodinaDokladu& r, int c) {
        Table h(*db, r.hlavicka);
        h.open();
        if (!h.findKey({c})) return false;
        return Zauctovani(*kontext, r).uzavri(c, stavHlavicky(h)).ok();
    }

    int doklad(const RodinaDokladu& r, bool prevod, std::mt19937& rng, int polozek) {
        const int c = doklady->novy(r, prevod, QString::number(rng() % 3 + 1));
        for (int i = 1; i <= polozek; ++i)
            doklady->uloz(r, c,
                          pol(i, rng() % 4 + 1, QString::number(rng() % 3 + 1),
                              Decimal(int(rng() % 9) + 1), Decimal::fromRaw(rng() % 500000),
                              Decimal::fromRaw(rng() % 500000)));
        return c;
    }

    // Until it is killed: documents made and closed, closed again, reversed, changed and closed
    // again.
    [[noreturn]] void havaruj(unsigned seed) {
        std::mt19937 rng(seed);
        std::vector<std::pair<const RodinaDokladu*, int>> uzavrene;
        std::cout << "start" << std::endl;
        for (;;) {
            const int volba = int(rng() % 10);
            if (volba < 4 || uzavrene.empty()) {
                const RodinaDokladu& r = volba % 3 == 0 ? P : volba % 3 == 1 ? V : Z;
                const int c = doklad(r, volba == 1, rng, int(rng() % 20) + 1);
                if (uzavri(r, c)) uzavrene.push_back({&r, c});
                continue;
            }
            // Every state between the transactions is one the users can leave behind: a
            // reversed document is changed and closed again, a closed issue is closed again.
            const auto [r, c] = uzavrene[rng() % uzavrene.size()];
            if (r->storno) {
                Zauctovani(*kontext, *r).stornuj(c);
                doklady->zmen(*r, c, 1,
                              [&](Table& t) { t.field("Mnozstvi").setInteger(int(rng() % 9)); });
            }
            uzavri(*r, c);
        }
    }

    std::unique_ptr<Database> db;
    std::unique_ptr<TDataCis> dm;
    std::unique_ptr<KontextPohybu> kontext;
    std::unique_ptr<Doklady> doklady;
};

TEST(PotomekSkladu, Pracuj) {
    const QString ukol = qEnvironmentVariable("BRIX_SKLAD_POTOMEK");
    if (ukol.isEmpty()) GTEST_SKIP() << "runs only as the child of the process tests";
    ScriptedPlatform ui;
    ui.setOkBoxesAnswered(true);
    ScopedPlatform pouzij(ui);
    Potomek p(qEnvironmentVariable("BRIX_SKLAD_KOREN"));
    const unsigned seed = qEnvironmentVariable("BRIX_SKLAD_SEED").toUInt();
    if (ukol == QLatin1String("havarie")) p.havaruj(seed);
    // "soubeh": receipts and issues, each closed at once.
    std::mt19937 rng(seed);
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(p.uzavri(P, p.doklad(P, false, rng, 3)));
        ASSERT_TRUE(p.uzavri(V, p.doklad(V, i % 4 == 0, rng, 2)));
    }
}

// ---- the parent --------------------------------------------------------------------------------

struct Proces {
    pid_t pid = -1;
    int vystup = -1; // the child's standard output
};

Proces spust(const QString& ukol, const QString& koren, unsigned seed) {
    int roura[2];
    EXPECT_EQ(pipe(roura), 0);
    posix_spawn_file_actions_t akce;
    posix_spawn_file_actions_init(&akce);
    posix_spawn_file_actions_adddup2(&akce, roura[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&akce, roura[0]);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    env.push_back("BRIX_SKLAD_POTOMEK=" + ukol.toStdString());
    env.push_back("BRIX_SKLAD_KOREN=" + koren.toStdString());
    env.push_back("BRIX_SKLAD_SEED=" + std::to_string(seed));
    std::vector<char*> envp;
    for (std::string& s : env)
        envp.push_back(s.data());
    envp.push_back(nullptr);
    std::string exe = "/proc/self/exe", filtr = "--gtest_filter=PotomekSkladu.Pracuj";
    char* argv[] = {exe.data(), filtr.data(), nullptr};
    Proces p;
    EXPECT_EQ(posix_spawn(&p.pid, exe.c_str(), &akce, nullptr, argv, envp.data()), 0);
    posix_spawn_file_actions_destroy(&akce);
    close(roura[1]);
    p.vystup = roura[0];
    return p;
}

// Waits for the child's "start" line.
bool cekejNaStart(const Proces& p) {
    std::string radek;
    char c;
    while (read(p.vystup, &c, 1) == 1) {
        if (c == '\n') {
            if (radek == "start") return true;
            radek.clear();
        } else {
            radek += c;
        }
    }
    return false;
}

int dokonci(Proces& p) {
    int stav = 0;
    waitpid(p.pid, &stav, 0);
    close(p.vystup);
    return stav;
}

class Procesy : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        auto db = Database::open(dir.path());
        pripravKoren(*db);
    }
    void zkontroluj(const QString& kdy) {
        auto db = Database::open(dir.path());
        Query q(*db, "PRAGMA integrity_check");
        q.open();
        EXPECT_EQ(q.field(0).asString(), "ok") << kdy.toStdString();
        const QStringList rozdily = KontrolaSkladu(*db);
        EXPECT_EQ(rozdily, QStringList()) << kdy.toStdString();
    }
    QTemporaryDir dir{QDir(QStringLiteral("/dev/shm")).exists()
                          ? QStringLiteral("/dev/shm/brix-procesy-XXXXXX")
                          : QDir::tempPath() + QStringLiteral("/brix-procesy-XXXXXX")};
};

TEST_F(Procesy, ACopyKilledAtAnyInstantLeavesNoHalfPostedDocument) {
    std::mt19937 rng(std::random_device{}());
    int posledniDoklady = 0;
    for (int pokus = 1; pokus <= 100; ++pokus) {
        Proces p = spust("havarie", dir.path(), unsigned(rng()));
        ASSERT_TRUE(cekejNaStart(p)) << "pokus " << pokus;
        usleep(useconds_t(rng() % 150000));
        kill(p.pid, SIGKILL);
        const int stav = dokonci(p);
        ASSERT_TRUE(WIFSIGNALED(stav)) << "pokus " << pokus;
        zkontroluj(QStringLiteral("pokus %1").arg(pokus));
        if (HasFailure()) return;
    }
    // The children did work: documents were closed.
    auto db = Database::open(dir.path());
    Query q(*db, "SELECT count(*) FROM \"Sklady\\SklPol\"");
    q.open();
    posledniDoklady = int(q.field(0).asInteger());
    EXPECT_GT(posledniDoklady, 100);
}

TEST_F(Procesy, TwoCopiesClosingAtOnceShareNoNumberAndLoseNoUpdate) {
    Proces a = spust("soubeh", dir.path(), 1);
    Proces b = spust("soubeh", dir.path(), 2);
    EXPECT_EQ(dokonci(a), 0);
    EXPECT_EQ(dokonci(b), 0);
    zkontroluj(QStringLiteral("po souběhu"));
    auto db = Database::open(dir.path());
    for (const RodinaDokladu* r : {&P, &V}) {
        Query q(*db, QStringLiteral("SELECT count(*), count(DISTINCT CIS_UCTU), min(STAV), "
                                    "max(STAV) FROM \"%1\"")
                         .arg(r->hlavicka));
        q.open();
        EXPECT_EQ(q.field(0).asInteger(), 400);
        EXPECT_EQ(q.field(1).asInteger(), 400);
        EXPECT_EQ(q.field(2).asString(), "2");
        EXPECT_EQ(q.field(3).asString(), "2");
    }
}

} // namespace
} // namespace brix::test
