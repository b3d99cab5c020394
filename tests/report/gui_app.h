#pragma once
// The one application object of the report tests, made by the first test that draws, asks
// Qt's font engine or shows a window (a QApplication, so that the dialogs' tests can run in
// the same binary).
#include <QApplication>

namespace brix::test {

inline QGuiApplication& guiApp() {
    static int argc = 1;
    static char name[] = "test_report";
    static char* argv[] = {name, nullptr};
    static QApplication* a = qApp ? nullptr : new QApplication(argc, argv);
    return a ? *a : *static_cast<QGuiApplication*>(QCoreApplication::instance());
}

} // namespace brix::test
