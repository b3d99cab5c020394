#pragma once
// Printing the pages a preview shows, with what the print dialog chose (`TPrintDialogTyp`):
// the printer (or a file through the port "FILE:"), the page range or the current page, the
// copies, the background; and another template or one record only, which need a run of their
// own: the report is run for the print and then gets the preview's pages back. The printer
// layer (the component's printerOutput) decides between character and graphic printing.
// Nothing here knows widgets.

#include "sestava.h"

#include <QString>

#include <optional>

namespace brix::report {

// The settings of the print dialog.
struct TPrintDialogTyp {
    int printerIndex = -1;
    bool printToFile = false;
    int firstPage = 1, lastPage = 1; // 1-based
    int copies = 1;
    bool currentPageOnly = false;
    bool oneRecord = false;
    // The chosen template file; empty: the one the preview shows.
    QString templateFile;
    bool setAsDefault = false;
    bool printBackground = false;
};

// What a report's run depends on and what it produced, put aside while another template or a
// one-record run is prepared: the template (name, lines, stored flag, description), the
// single-record flag and the pages.
class RunState {
public:
    explicit RunState(TSestava& report);
    // Puts everything back unless dropped; the pages too unless keepPages().
    ~RunState();
    RunState(const RunState&) = delete;
    RunState& operator=(const RunState&) = delete;

    // The template and the single-record flag of a new run.
    void apply(const QString& templateFile, bool oneRecord);
    // The pages of the new run stay in the report when the rest is put back.
    void keepPages() { keepPages_ = true; }
    // Nothing is put back: the new template and its pages stay.
    void forget() { forget_ = true; }
    const QString& reportName() const { return reportName_; }

private:
    TSestava& report_;
    QString reportName_;
    TPredloha lines_;
    bool stored_;
    QString popis_;
    bool oneRecord_;
    TSestVystup output_;
    bool keepPages_ = false;
    bool forget_ = false;
};

// The file of the template a preview shows (its default form or its own file); empty for a
// stored template.
QString shownTemplateFile(const TSestava& report);
// Whether the settings need a run of their own: one record only, or another template.
bool needsOwnRun(const TSestava& report, const TPrintDialogTyp& settings);
// The range check of the dialog: 1 <= first <= last <= pages (a run of its own is not limited
// by the preview's pages).
bool pageRangeValid(const TPrintDialogTyp& settings, int pageCount, bool ownRun);

// Prints from the preview: BeforePrintPreview; the run of its own when needed; the range (or
// the current page, from 0) and the copies on the pages; the printer, job name "Tisková
// sestava"; the pages, range and description put back; AfterPrintPreview. Gives the printer
// layer's result, the run's when it failed, 8 without a printer layer.
int printFromPreview(TSestava& report, const TPrintDialogTyp& settings, int currentPage);

// Edits a template the print dialog chose (empty: the shown one) through the component's
// designer; the shown template and its pages stay. Gives the edit's result.
int editChosenTemplate(TSestava& report, const QString& templateFile);

// The job name of printing from the preview.
inline const QString kPreviewJobName = QStringLiteral("Tisková sestava");

} // namespace brix::report
