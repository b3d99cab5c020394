#pragma once
// A fresh data root with the system's own catalogue, the data module and a scripted platform.
#include "datacis.h"
#include "scripted_gtest.h"
#include "storage_fixture.h"
#include "util/nastaveni.h"

namespace brix::test {

class DataModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        db = Database::open(dir.path());
        ui.setOkBoxesAnswered(true);
        nastaveniProgramu() = NastaveniProgramu();
        dm = std::make_unique<TDataCis>(*db);
    }
    void TearDown() override {
        dm.reset();
        db.reset();
        nastaveniProgramu() = NastaveniProgramu();
    }
    // Appends one record: field names and values in pairs.
    static void add(Table& t, std::initializer_list<std::pair<const char*, QVariant>> values) {
        if (!t.active()) t.open();
        t.insert();
        for (const auto& [name, value] : values)
            t.field(QString::fromUtf8(name)).setValue(value);
        t.post();
    }
    // The texts of the message boxes shown so far, "caption: text".
    QStringList boxes() const {
        QStringList out;
        for (const ShownBox& b : ui.shownMessages())
            out << b.caption + QStringLiteral(": ") + b.text;
        return out;
    }

    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    TestPlatform ui;
    std::unique_ptr<TDataCis> dm;
};

} // namespace brix::test
