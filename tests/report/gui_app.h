#pragma once
// The one QGuiApplication of the report tests, made by the first test that draws or asks Qt's
// font engine.
#include <QGuiApplication>

namespace brix::test {

inline QGuiApplication& guiApp() {
    static int argc = 1;
    static char name[] = "test_report";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* a = qApp ? nullptr : new QGuiApplication(argc, argv);
    return a ? *a : *static_cast<QGuiApplication*>(QCoreApplication::instance());
}

} // namespace brix::test
