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
#include <QTemporaryDir>

#include <memory>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace brix::test {

class QtEnvironment : public testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_shell";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
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
