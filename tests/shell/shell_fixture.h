#pragma once
// A fresh data root per test with the data module, a scripted platform and the state of the run
// reset; passwords are hashed with few iterations to keep the tests quick.
#include "database.h"
#include "datacis.h"
#include "heslo.h"
#include "koren.h"
#include "prihlaseni.h"
#include "scripted_gtest.h"
#include "table.h"
#include "util/message_hook.h"
#include "util/nastaveni.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace brix::test {

// The forms of the shell are tried on the smallest screen the shop has: 1366 x 768. Under the
// offscreen platform the screen is configured so; another platform keeps its own screen.
inline constexpr int kSirkaObrazovky = 1366;
inline constexpr int kVyskaObrazovky = 768;

class QtEnvironment : public testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_shell";
        static char* argv[] = {name, nullptr};
        if (QApplication::instance()) return;
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        if (platform.isEmpty() || platform == "offscreen") {
            static QTemporaryDir config;
            const QString path = config.filePath(QStringLiteral("screen.json"));
            QFile f(path);
            if (f.open(QIODevice::WriteOnly))
                f.write(QStringLiteral("{\"screens\": [{\"name\": \"brix\", \"x\": 0, \"y\": 0, "
                                       "\"width\": %1, \"height\": %2, \"logicalDpi\": 96, "
                                       "\"logicalBaseDpi\": 96, \"dpr\": 1.0}]}")
                            .arg(kSirkaObrazovky)
                            .arg(kVyskaObrazovky)
                            .toUtf8());
            f.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(path));
        }
        new QApplication(argc, argv);
    }
};

// Resets what one run of the program keeps between its forms.
inline void resetRun() {
    PrihlasenyUzivatel().clear();
    Verbose() = false;
    nastaveniProgramu() = NastaveniProgramu();
    nastaveniTabulky() = NastaveniTabulky();
    udajeFirmy() = UdajeFirmy();
    priponaZnakovehoTisku() = PriponaZnakovehoTisku();
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        iterace = NastavPocetIteraci(1000);
        resetRun();
        // Messages of the data helpers go to the scripted platform, as in the program.
        setMessageHook([this](MessageKind, const QString& cap, const QString& text) {
            MessageBox box;
            box.caption = cap;
            box.text = text;
            box.buttons = Button::Ok;
            ui.messageBox(box);
        });
    }
    void TearDown() override {
        setMessageHook({});
        dm.reset();
        db.reset();
        NastavPocetIteraci(iterace);
        resetRun();
    }
    // A new data root with its module.
    void otevri() {
        PripravaKorene p = PripravDatovyKoren(dir.path());
        db = std::move(p.db);
        dm = std::make_unique<TDataCis>(*db);
    }
    // Adds an employee through the shared table, as the entry form saves one.
    bool pridejZamestnance(const QString& prijmeni, const QString& heslo,
                           const QString& jmeno = QString()) {
        Table& z = *dm->TableZamest;
        if (!z.active()) z.open();
        z.insert();
        z.field(QStringLiteral("PRIJMENI")).setString(prijmeni);
        if (!jmeno.isEmpty()) z.field(QStringLiteral("JMENO")).setString(jmeno);
        const bool ok = UlozZamestnance(*dm, heslo, QString());
        if (!ok) z.cancel();
        return ok;
    }
    QStringList zpravy() const {
        QStringList out;
        for (const ShownBox& b : ui.shownMessages())
            out << b.caption + QStringLiteral(": ") + b.text;
        return out;
    }

    QTemporaryDir dir;
    TestPlatform ui;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDataCis> dm;
    int iterace = 0;
};

} // namespace brix::test
