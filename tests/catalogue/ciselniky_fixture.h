#pragma once
// A fresh data root with the system's catalogue, the data module and a scripted platform that
// fails the test on any box it was not told to expect.
#include "datacis.h"
#include "formulare.h"
#include "scripted_gtest.h"
#include "storage_fixture.h"
#include "util/nastaveni.h"

#include <QApplication>
#include <QKeyEvent>

namespace brix::test {

class CiselnikyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        db = Database::open(dir.path());
        nastaveniProgramu() = NastaveniProgramu();
        dm = std::make_unique<TDataCis>(*db);
    }
    void TearDown() override {
        dm.reset();
        db.reset();
        nastaveniProgramu() = NastaveniProgramu();
    }
    static void add(Table& t, std::initializer_list<std::pair<const char*, QVariant>> values) {
        add(t, QList<std::pair<const char*, QVariant>>(values));
    }
    static void add(Table& t, const QList<std::pair<const char*, QVariant>>& values) {
        const bool open = t.active();
        if (!open) t.open();
        t.insert();
        for (const auto& [name, value] : values)
            t.field(QString::fromUtf8(name)).setValue(value);
        t.post();
        if (!open) t.close();
    }
    static void key(QWidget* w, int k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    }

    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    TestPlatform ui;
    std::unique_ptr<TDataCis> dm;
};

} // namespace brix::test
