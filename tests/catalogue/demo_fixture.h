#pragma once
// A demo data root made once for a test suite, opened afresh with its own company for each test.
#include "database.h"
#include "demo.h"
#include "scripted_gtest.h"
#include "util/nastaveni.h"

#include <QTemporaryDir>

#include <memory>

namespace brix::test {

class DemoKorenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        demo_ = new QTemporaryDir;
        ASSERT_TRUE(demo_->isValid());
        VysledekDema v = VytvorDemo(demo_->path() + "/koren");
        ASSERT_TRUE(v.ok) << v.chyba.toStdString();
    }
    static void TearDownTestSuite() {
        delete demo_;
        demo_ = nullptr;
    }
    void SetUp() override {
        db = Database::open(koren());
        ASSERT_EQ(nactiUdajeFirmy(koren(), udajeFirmy()), StavNacteni::Nacteno);
    }
    void TearDown() override {
        udajeFirmy() = UdajeFirmy();
        db.reset();
    }
    static QString koren() { return demo_->path() + "/koren"; }

    std::unique_ptr<Database> db;
    TestPlatform ui;

private:
    static inline QTemporaryDir* demo_ = nullptr;
};

} // namespace brix::test
