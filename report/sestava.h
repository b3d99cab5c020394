#pragma once
// The report component that forms call (`TSestava`): the template file (name, directory,
// loading and saving), the readiness check with its questions, and the operations (text
// output, preview, print, designer) with their events, their result codes and their messages
// through the platform layer. The report it runs is in sestavatyp.h.

#include "sestavatyp.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <functional>

namespace brix::report {

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

    QString fullFileName() const;
    QString templateDirectory() const override;
    bool ready();
    int LoadTemplate(bool createAllowed);
    int SaveTemplate();
    int Prepare();

    // The windows of the user-interface layer. The preview window shows the prepared pages and
    // gives 1 when closed with its confirming command, else 0; the designer session edits the
    // template and always ends with 3. Without them (and without a graphic printer driver) the
    // operations cannot be done: they give 8 and raise the error event.
    std::function<int(TSestava&)> previewWindow;
    std::function<void(TSestava&)> designerWindow;
    std::function<int(TSestava&, int printerIndex)> printerOutput;

    int PrintTextToStream(QIODevice& stream);
    int PrintTextToFile(const QString& fileName);
    int PrintPreview();
    int Print();
    int PrintOn(int printerIndex);
    int Edit();
    // The text of the last run's output range in the code page.
    QByteArray textOutput() const { return textGridOutput(output); }

    // Whether a print or preview of any report is running.
    static bool busy();

private:
    // Readiness of the report's data and of every detail's; may ask to open a closed table.
    static bool dataReady(TSestavaD& report);
    int fail(int code);
    TPredloha predloha_;
    QString reportName_;
    QString reportDir_ = QStringLiteral("./");
    QString reportAlias_;
};

} // namespace brix::report
