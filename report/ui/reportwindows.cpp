#include "reportwindows.h"

#include "preview.h"
#include "printing.h"
#include "progress.h"
#include "sestava.h"
#include "talivzoom.h"

#include <QApplication>

namespace brix::report {

void installReportWindows() {
    ReportWindows& w = TSestava::installedWindows();
    w.preview = showPreviewWindow;
    w.progress = showProgressWindow;
    w.printer = [](TSestava& r, int printerIndex, const QString& port) {
        return printPrepared(r, printerIndex, port,
                             PrintHooks{zoomDialogChooser(QApplication::activeWindow())});
    };
}

void uninstallReportWindows() {
    TSestava::installedWindows() = ReportWindows();
}

} // namespace brix::report
