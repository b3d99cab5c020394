#pragma once
// The report component that forms call (`TSestava`): the template file (name, directory,
// loading and saving), the readiness check with its questions, and the operations (text
// output, preview, print, designer) with their events, their result codes and their messages
// through the platform layer. The report it runs is in sestavatyp.h.

#include "pdf.h"
#include "rtf.h"
#include "sestavatyp.h"

#include <QIODevice>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace brix::report {

class FileSeries;
class TSestava;

// How the preview window opens (PreviewEx): its rectangle, placement and state, the zoom in per
// cent (the nearest of the window's steps is taken) and whether the designer opened it.
struct PreviewRequest {
    enum class Position { Default, Designed, ScreenCenter };
    enum class State { Normal, Minimized, Maximized };
    QRect rect; // Designed: the window's place and size; empty: the window's own size
    Position position = Position::Default;
    int zoom = 100;
    State state = State::Maximized;
    // From the designer the closing command ends the template editing as well, and the window
    // offers to go back to the designer (its result 0).
    bool fromDesigner = false;
};

// The progress window of a preparation: it exists while the run lays out the records and
// answers every progress report (the record number when a record starts, 0 before every
// section, -1 between the parts of a text file); false when the user has cancelled.
class ProgressWindow {
public:
    virtual ~ProgressWindow();
    virtual bool progress(int record) = 0;
};

// The windows of the user-interface layer that every report component made from now on gets
// (the program installs them at start; a batch run has none).
struct ReportWindows {
    std::function<int(TSestava&, const PreviewRequest&)> preview;
    std::function<void(TSestava&)> designer;
    std::function<int(TSestava&, int printerIndex, const QString& port)> printer;
    std::function<std::unique_ptr<ProgressWindow>(TSestava&)> progress;
};

class TSestava : public TSestavaD {
public:
    TSestava();
    ~TSestava() override;

    QString Popis = QStringLiteral("Tisková úloha TALIV");
    QString IniFileName = QStringLiteral("SestDLL.ini");
    bool IsStored = false;
    bool ReportDirIgnore = true;
    bool PrintBackground = false;
    QString Background;

    // The template lines; setting them reloads the definition.
    const TPredloha& Predloha() const { return predloha_; }
    void setPredloha(const TPredloha& lines);
    QString ReportName() const { return reportName_; }
    void setReportName(const QString& name); // the extension is forced to ".pts"
    QString ReportDir() const { return reportDir_; }
    void setReportDir(const QString& dir); // a trailing separator is added; clears the alias
    QString ReportAlias() const { return reportAlias_; }
    void setReportAlias(const QString& alias); // clears the directory; aliases are not resolved
    // The directory of the program; ReportDirIgnore looks for templates there.
    QString programDir;

    std::function<bool(TSestava&)> OnUlozPredlohu;
    std::function<bool(TSestava&)> OnNactiPredlohu;
    std::function<void(TSestava&)> OnSetPredloha;
    std::function<bool(TSestava&, int)> OnError;
    std::function<void(TSestava&)> BeforePrint, AfterPrint, BeforePreview, AfterPreview, BeforeEdit,
        AfterEdit;
    // Around printing started from the preview window.
    std::function<void(TSestava&)> BeforePrintPreview, AfterPrintPreview;
    // The preview's custom command (shown only when assigned) with the index of the page shown
    // (from 0); its caption and hint.
    std::function<void(TSestava&, int actualPage)> OnPreviewCustomEvent;
    QString PreviewCustomCaption = QStringLiteral("Vlastní funkce");

    QString fullFileName() const;
    // The report engine's INI file (IniFileName, in the program's directory, the data root):
    // the user's paper formats (TListFormatu::load) live there.
    QString iniFilePath() const;
    QString templateDirectory() const override;
    bool ready();
    int LoadTemplate(bool createAllowed);
    int SaveTemplate();
    int Prepare();

    // The windows of the user-interface layer, taken from installedWindows() when the
    // component is made. The preview window shows the prepared pages and gives 1 when closed
    // with its confirming command, else 0; the designer session edits the template and always
    // ends with 3. Without them (and without a graphic printer driver) the operations cannot be
    // done: they give 8 and raise the error event. The progress window, when there is one,
    // shows every preparation and lets the user cancel it (3).
    std::function<int(TSestava&, const PreviewRequest&)> previewWindow;
    std::function<void(TSestava&)> designerWindow;
    // Printing of the prepared pages on a printer (the printer layer installs it, printing.h):
    // the printer index and the port ("" the printer itself, else a device or a file).
    std::function<int(TSestava&, int printerIndex, const QString& port)> printerOutput;
    std::function<std::unique_ptr<ProgressWindow>(TSestava&)> progressWindow;
    static ReportWindows& installedWindows();

    int PrintTextToStream(QIODevice& stream);
    int PrintTextToFile(const QString& fileName);
    // PreviewEx at 100 %, maximised.
    int PrintPreview();
    int PreviewEx(const PreviewRequest& request);
    int Print();
    int PrintOn(int printerIndex);
    int PrintEx(int printerIndex, const QString& port);

    // ---- document exports (sestava_export.cpp) -------------------------------------------
    // Page indexes count from 0; a page outside the last run's pages writes nothing and gives
    // 6. The RTF exports and the "Files" forms prepare the report first; the others write the
    // pages of the last run. Files are written whole or not at all; a failed write gives 6.
    // The forms that take a directory and a file name write the file in that directory.
    int ExportRtf(QIODevice& stream);
    int ExportRtfFile(const QString& directory, const QString& fileName);
    // One page as HTML; the bitmaps of its pictures go into the directory, named after the
    // picture file (its extension replaced by the element's number and ".bmp").
    int ExportHtmlPage(QIODevice& stream, const QString& directory, int pageIndex,
                       const QString& pictureFile);
    int ExportHtmlPageFile(const QString& directory, const QString& fileName, int pageIndex,
                           const QString& pictureFile);
    // One HTML file per page: the name's extension replaced by the page number (from 1) and
    // ".html", the page's pictures named after the picture name with its extension replaced by
    // the page number and "_.bmp".
    int ExportHtmlFiles(const QString& directory, const QString& htmlFile,
                        const QString& pictureFile);
    int ExportPdf(QIODevice& stream);
    int ExportPdfFile(const QString& directory, const QString& fileName);
    int ExportEmfPage(QIODevice& stream, int pageIndex);
    int ExportWmfPage(QIODevice& stream, int pageIndex);
    int ExportEmfPageFile(const QString& fileName, int pageIndex);
    int ExportWmfPageFile(const QString& fileName, int pageIndex);
    // One file per page of the output range: the name's extension replaced by the page number
    // (from 1) and ".emf" or ".wmf".
    int ExportEmfFiles(const QString& fileName);
    int ExportWmfFiles(const QString& fileName);
    PdfOptions pdfOptions;
    RtfOptions rtfOptions;
    int Edit();

    // The default form of the template name: a file chosen in the print dialog ("Nastavit jako
    // výchozí formulář") and kept in the INI file (section "VychoziFormulare", the key is the
    // template name the form set). Previews and prints of that name take the file while it
    // exists; editing keeps the name's own file. Relative names are under the template base
    // directory. The INI file is iniFilePath().
    QString defaultForm() const;
    bool setDefaultForm(const QString& file, QString* error = nullptr);
    // The template file a print or preview reads: the default form, else fullFileName().
    QString printFileName() const;
    // The directory relative template names start from (ReportDir, or the program's own
    // directory when ReportDirIgnore).
    QString templateBaseDir() const;

    // The text of the last run's output range in the code page.
    QByteArray textOutput() const { return textGridOutput(output); }

    // Whether a print or preview of any report is running.
    static bool busy();

private:
    // Readiness of the report's data and of every detail's; may ask to open a closed table.
    static bool dataReady(TSestavaD& report);
    int fail(int code);
    // Runs work with the busy flag set; 7 when a print or preview is already running.
    int whileBusy(const std::function<int()>& work);
    int exportMetafile(QIODevice& stream, int pageIndex, bool emf);
    // Reports progress to the progress window for its lifetime (the outermost one only).
    class ProgressScope;
    ProgressScope* progress_ = nullptr;
    int exportMetafileFiles(const QString& fileName, bool emf);
    // Prepares, then writes every page of the output range (numbered from 1) as a file of the
    // series; 6 and nothing left of the series when a page fails.
    int exportPageFiles(const std::function<bool(int, FileSeries&)>& writePage);
    TPredloha predloha_;
    QString reportName_;
    QString reportDir_ = QStringLiteral("./");
    QString reportAlias_;
};

} // namespace brix::report
