#include "reportwindows.h"

#include "preview.h"
#include "progress.h"
#include "sestava.h"

namespace brix::report {

void installReportWindows() {
    ReportWindows& w = TSestava::installedWindows();
    w.preview = showPreviewWindow;
    w.progress = showProgressWindow;
}

void uninstallReportWindows() {
    TSestava::installedWindows() = ReportWindows();
}

} // namespace brix::report
