#include "previewprint.h"

#include <QFileInfo>

#include <algorithm>

namespace brix::report {

RunState::RunState(TSestava& report)
    : report_(report), reportName_(report.ReportName()), lines_(report.Predloha()),
      stored_(report.IsStored), popis_(report.Popis), oneRecord_(report.TiskJedenZaznam),
      output_(std::move(report.output)) {
    // The moved-from pages are cleared: the new run starts from nothing.
    report.output = TSestVystup();
}

RunState::~RunState() {
    if (forget_) return;
    if (!keepPages_) report_.output = std::move(output_);
    report_.IsStored = stored_;
    report_.TiskJedenZaznam = oneRecord_;
    report_.setReportName(reportName_);
    report_.setPredloha(lines_);
    report_.Popis = popis_;
}

void RunState::apply(const QString& templateFile, bool oneRecord) {
    if (!templateFile.isEmpty()) {
        report_.IsStored = false;
        report_.setReportName(QFileInfo(templateFile).absoluteFilePath());
    }
    report_.TiskJedenZaznam = report_.TiskJedenZaznam || oneRecord;
}

QString shownTemplateFile(const TSestava& report) {
    if (report.IsStored || report.OnNactiPredlohu) return QString();
    return report.printFileName();
}

namespace {

bool sameFile(const QString& a, const QString& b) {
    const QFileInfo fa(a), fb(b);
    const QString ca = fa.canonicalFilePath(), cb = fb.canonicalFilePath();
    if (!ca.isEmpty() && !cb.isEmpty()) return ca == cb;
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

} // namespace

bool needsOwnRun(const TSestava& report, const TPrintDialogTyp& settings) {
    if (settings.oneRecord && !report.TiskJedenZaznam) return true;
    return !settings.templateFile.isEmpty() &&
           !sameFile(settings.templateFile, shownTemplateFile(report));
}

bool pageRangeValid(const TPrintDialogTyp& s, int pageCount, bool ownRun) {
    if (s.currentPageOnly) return true;
    if (s.firstPage < 1 || s.firstPage > s.lastPage) return false;
    return ownRun || s.lastPage <= pageCount;
}

int editChosenTemplate(TSestava& report, const QString& templateFile) {
    if (templateFile.isEmpty() || sameFile(templateFile, shownTemplateFile(report)))
        return report.Edit();
    RunState shown(report);
    shown.apply(templateFile, false);
    return report.Edit();
}

int printFromPreview(TSestava& report, const TPrintDialogTyp& s, int currentPage) {
    if (!report.printerOutput) return seNotReady;
    if (report.BeforePrintPreview) report.BeforePrintPreview(report);
    int result = seOk;
    {
        std::optional<RunState> own;
        if (needsOwnRun(report, s)) {
            own.emplace(report);
            own->apply(s.templateFile, s.oneRecord);
            result = report.Prepare();
        }
        if (result == seOk) {
            TSestVystup& out = report.output;
            const int firstPage = out.firstPage, lastPage = out.lastPage, copies = out.copies;
            const bool background = out.background.print;
            const QString popis = report.Popis;
            if (s.currentPageOnly) {
                const int page = std::clamp(currentPage, 0, std::max(0, out.pageCount() - 1)) + 1;
                out.firstPage = out.lastPage = page;
            } else {
                out.firstPage = s.firstPage;
                out.lastPage = std::min(s.lastPage, out.pageCount());
            }
            out.copies = std::max(1, s.copies);
            out.background.print = s.printBackground;
            report.Popis = kPreviewJobName;
            result = report.printerOutput(report, s.printerIndex,
                                          s.printToFile ? QStringLiteral("FILE:") : QString());
            report.Popis = popis;
            out.firstPage = firstPage;
            out.lastPage = lastPage;
            out.copies = copies;
            out.background.print = background;
        }
    }
    if (report.AfterPrintPreview) report.AfterPrintPreview(report);
    return result;
}

} // namespace brix::report
