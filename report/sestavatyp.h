#pragma once
// The report as the run sees it: the abstract report with its definition, parameters, output
// pages and run (`TSestavaTyp`), the report over a data bridge or over events (`TSestavaD`) and
// the sub-report of a master record (`TSestDetail`). Nothing here shows a message or knows the
// platform layer: the component that forms call (`TSestava`, sestava.h) builds on it.

#include "bridge.h"
#include "definition.h"
#include "expression.h"
#include "output.h"

#include <QDateTime>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace brix::report {

// Result codes of every report operation.
enum TSestError {
    seOk = 0,
    seNoPrinter = 2,
    seCancelled = 3,
    seLoadTemplate = 4,
    seSaveTemplate = 5,
    seOutput = 6,
    seBusy = 7,
    seNotReady = 8,
};

class TSestDetail;

// System variables of a run.
enum SystemVariable {
    VarPrintDate = 0,
    VarPrintTime = 1,
    VarRowNumber = 2,
    VarPageNumber = 3,
    VarTotalPages = 4,
    VarFirstGroup = 5, // 5 + 2g row within group g, 6 + 2g number of group g
};
// Czech names of the variables of a report with the given number of groups.
QStringList variableNames(int groupCount, bool detail);

class TSestavaTyp : public ReferenceResolver {
public:
    TSestavaTyp();
    ~TSestavaTyp() override;
    TSestavaTyp(const TSestavaTyp&) = delete;
    TSestavaTyp& operator=(const TSestavaTyp&) = delete;

    ReportDefinition definition;
    QStringList Parametry;
    TSestVystup output;
    QStringList fieldNames, fieldLabels;
    QStringList values; // event mode: the current record's values as texts

    int MaxRecords = 0;
    bool TiskJedenZaznam = false;
    bool AllowNullValues = false;
    int StartPage = 1, EndPage = 9999;
    int PrintCopies = 1;
    TSestLanguage ExportLanguage = slUndefined;

    // After the user functions were evaluated for a record.
    std::function<void(TSestavaTyp&)> OnVypoctiFunkce;
    // Before a section prints (the section code); clearing the flag skips the section.
    std::function<void(TSestavaTyp&, int, bool&)> OnTiskOddilu;
    // Progress: the record number when a record starts, 0 before every section, -1 between
    // the parts of a text file being written; false stops the run or the writing as the
    // "Přerušit" button does.
    std::function<bool(TSestavaTyp&, int)> OnProgress;
    // Draws paint box `index` (the element's reference) on a canvas of width by height units
    // (the element's size times its scale 1 to 6, at scale × 100 units per inch). Called when
    // the paint box is placed; the drawing is kept with the page.
    std::function<void(TSestavaTyp&, int index, int width, int height, QPainter&)> OnPaintBox;

    // ---- the data contract (neutral here; the data reports implement it)
    virtual int dataFieldCount() const { return 0; }
    virtual QString dataFieldName(int index) const { return QString::number(index); }
    virtual int dataFieldIndex(QStringView name) const;
    virtual QString dataFieldLabel(int index) const;
    virtual int dataFieldType(int index) const;
    virtual int dataAlignment(int index) const;
    virtual int dataDisplayWidth(int index) const;
    virtual QString dataDisplayText(int index) const;
    virtual double dataNumber(int index) const;
    virtual bool dataIsNull(int index) const;
    virtual QString dataMemoText(int index) const;
    virtual QImage dataPicture(int index) const;
    virtual TStepResult dataStep(TStepDir dir);
    virtual void getData() {}

    // ---- references of expressions
    TCalcType reference(int code) const override;
    int fieldIndex(QStringView name) const override { return dataFieldIndex(name); }
    int functionIndex(QStringView name) const override;

    // The next section that prints starts on a new page (from OnTiskOddilu).
    void NewPage() { forcedBreak_ = true; }
    // Stops the running report at its next check; the run gives 3.
    void cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }
    // The run's page number, row number, counters (values of the system variables).
    double variableValue(int index) const;
    QString variableText(int index, const QString& format = QString()) const;

    std::vector<TSestDetail*>& details() { return details_; }
    // The template lines of the definition with the current lines of every attached detail
    // (and of the details inside them) put back into its "D" lines.
    TPredloha linesWithDetails();
    virtual bool isDetail() const { return false; }
    // Directory of the template file (pictures are looked for there).
    virtual QString templateDirectory() const;

    // The run of a master: lays the data into the output pages. Gives 0, or 3 when cancelled.
    int runReport();

protected:
    friend class TSestDetail;
    struct Cursor {
        int page = 0;
        double y = 0;
    };

    TSestavaTyp* root();
    const TSestavaTyp* root() const;
    // One run; a detail starts at the master's cursor and reports where it ended.
    int run(bool newRun);
    void resetRunState();
    void refreshValues(int exceptSection, int exceptSection2 = -1);
    void evaluateFunctions();
    bool stopped() const;

    double pageHeight() const;
    double pageWidth() const;
    double pageFooterHeight() const;
    double pageHeaderHeight() const; // what a continuation page leaves above
    double spaceLeft() const;
    // Starts the pages up to index p: footers of the pages left, headers of the pages opened.
    void ensurePage(int p);
    void pageBreak();
    void printPageHeaderOn(int page);
    void printPageFooterOn(int page);
    void printPageHeaderAt(double y);

    void printSection(int code);
    void printElements(const TOddilSestavy& s, const std::vector<const TSiReportElement*>& els,
                       int page, double y);
    void placeElement(const TSiReportElement& e, int page, double y);
    Cursor printGrowingText(const TSiReportElement& e, int page, double y);
    Cursor runDetail(const TSiReportElement& e, int page, double y);
    QString elementText(const TSiReportElement& e) const;
    // The picture of a data field element on a graphic field or an image blob.
    std::shared_ptr<const QImage> fieldPicture(const TSiReportElement& e) const;
    void paintBox(const TSiReportElement& e, TVystPrvek& v);
    // A picture file named by a template: inside the template's directory when it is there.
    QString pictureFilePath(const QString& name) const;
    // The background of the pages: the template's rectangle (a width or height of 0 is the
    // paper's) and, when the template has its own, its file and print flag.
    OutputBackground backgroundOf(const Background& b) const;
    void bodyStep();
    void closeColumnRow();
    void finish(bool newRun);
    void snapToGrid();
    LayoutContext layoutContext() const;
    bool templateShowsTotalPages() const;

    std::vector<TSestDetail*> details_;
    // Run state.
    QDateTime timestamp_;
    int rowNumber_ = 1;
    int pageNumber_ = 1;
    bool stop_ = false;
    bool forcedBreak_ = false;
    bool firstRecord_ = true;
    int recordCount_ = 0;
    bool cancelled_ = false;
    bool newRun_ = true;
    bool headerOnFirstPage_ = true;
    int startedPage_ = 0;
    bool limitByEndPage_ = true;
    struct TotalPagesRef {
        int page;
        size_t index;
    };
    std::vector<TotalPagesRef> totalPages_;
    bool totalPagesKnown_ = false;
    std::vector<bool> footerDone_;
    TSestavaTyp* master_ = nullptr;
    TSestVystup* out_ = &output;
};

// A report over a data bridge, or over events when OnGetData is assigned.
class TSestavaD : public TSestavaTyp {
public:
    TBridge* DataSource = nullptr;
    std::function<void(TSestavaD&)> OnGetData;
    std::function<TStepResult(TSestavaD&, TStepDir)> OnStepData;
    std::function<void(TSestavaD&, int, int&)> OnGetDataType;
    std::function<void(TSestavaD&, int, int&)> OnGetAlignment;

    bool eventMode() const { return bool(OnGetData); }
    void SetFieldNames(const QStringList& names) { fieldNames = names; }
    void SetFieldLabels(const QStringList& labels) { fieldLabels = labels; }

    int dataFieldCount() const override;
    QString dataFieldName(int index) const override;
    QString dataFieldLabel(int index) const override;
    int dataFieldType(int index) const override;
    int dataAlignment(int index) const override;
    int dataDisplayWidth(int index) const override;
    QString dataDisplayText(int index) const override;
    double dataNumber(int index) const override;
    bool dataIsNull(int index) const override;
    QString dataMemoText(int index) const override;
    QImage dataPicture(int index) const override;
    TStepResult dataStep(TStepDir dir) override;
    void getData() override;

protected:
    // The component checks readiness (it may ask to open a closed table) and marks the tables it
    // opened; they are closed again after the operation.
    friend class TSestava;
    void takeFieldNames();
    void closeOpenedTables();
    bool openedByReport_ = false;
};

class TSestDetail : public TSestavaD {
public:
    ~TSestDetail() override;
    QString Popis;
    TSestavaTyp* MasterSestava() const { return master_; }
    // Moves the detail from its old master's list to the end of the new one's.
    void setMasterSestava(TSestavaTyp* master);
    bool isDetail() const override { return true; }
    // Loads the detail's own lines (the master hands them over).
    void loadLines(const TPredloha& lines);
    QString templateDirectory() const override;
};

} // namespace brix::report
