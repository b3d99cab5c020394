#pragma once
// The one QApplication of the tools tests, made by the first test that needs widgets.
#include <QApplication>

namespace brix::test {

inline QApplication& app() {
    static int argc = 1;
    static char name[] = "test_tools";
    static char* argv[] = {name, nullptr};
    static QApplication* a = qApp ? nullptr : new QApplication(argc, argv);
    return a ? *a : *static_cast<QApplication*>(QCoreApplication::instance());
}

} // namespace brix::test
