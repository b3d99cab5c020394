#pragma once
// brix-report: the platform of a run without a user, the document outputs and the printing of
// a run, and the list of printers.

#include "platform.h"
#include "qtplatform.h"
#include "sestava.h"

#include <QJsonArray>
#include <QString>

#include <memory>

// Messages of the report engine go to the error output; questions are answered No (nothing is
// created or opened without a user). Printers are the system's.
class ConsolePlatform : public brix::QtPlatform {
public:
    ConsolePlatform();
    brix::Button messageBox(const brix::MessageBox& box) override;
    bool inputQuery(const QString&, const QString&, QString&, bool) override { return false; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString directoryName(const QString&, const QString&) override { return {}; }
    int execModal(QDialog&) override { return 0; }
    void beep() override {}
    void pushBusyCursor() override {}
    void popBusyCursor() override {}
    void setClipboard(const QString&, const QString&, const QByteArray&) override {}
    QString clipboardText() const override { return {}; }
    bool clipboardHasFormat(const QString&) const override { return false; }
    QByteArray clipboardData(const QString&) const override { return {}; }
    bool printerProperties(int) override { return false; }
    bool cashDrawer(brix::DrawerCommand) override { return false; }
    bool openDocument(const QString&) override { return false; }
};

// The document files and the print of a run.
struct RunOutputs {
    QString pdf, rtf, html, emf, wmf;
    QString printer; // a name or an index of `printers`
    int copies = 1;
    QString port;
    bool any() const {
        return !pdf.isEmpty() || !rtf.isEmpty() || !html.isEmpty() || !emf.isEmpty() ||
               !wmf.isEmpty() || !printer.isEmpty();
    }
};

// Takes one option of the outputs ("--pdf FILE" ...): 1 taken, 0 not one of them, -1 a bad
// value (the Czech message in error).
int takeOutputOption(const QString& option, const QString& value, RunOutputs* outputs,
                     QString* error);

// Writes the outputs of the prepared report (its output range) and prints it; the files
// written are appended. The result code of the first that fails (with a Czech message).
int writeOutputs(brix::report::TSestava& report, const RunOutputs& outputs, QJsonArray* files,
                 QString* error);

// "brix-report printers": the printers as JSON.
int listPrinters();

// Whether the arguments ask for something that draws or prints (a GUI application's fonts and
// print support are needed, though never a screen).
bool drawsOrPrints(int argc, char** argv);
