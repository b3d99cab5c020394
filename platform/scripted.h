#pragma once

// The platform for tests: it answers boxes, input boxes, file dialogs and modal forms from a
// queue filled by the test, records every one that was shown, and reports a failure for a box
// that nobody expected, an answer that does not fit its box, and answers left over at the end.
//
//   ScriptedPlatform ui;
//   ScopedPlatform use(ui);
//   ui.answer(Button::Yes, "smazat");          // the next box must mention "smazat"
//   register.deleteRecord();
//   EXPECT_EQ(ui.shown().back().caption, "Dotaz");

#include "platform.h"

#include <QImage>
#include <QMap>

#include <deque>
#include <functional>

namespace brix {

struct ShownBox {
    enum class Kind { Message, Input, OpenFile, SaveFile, Directory, Modal };
    Kind kind = Kind::Message;
    QString caption;       // window title; for a modal form its objectName or class
    QString text;          // message text, input prompt, start directory, form title
    Buttons buttons;       // message boxes only
    QString answer;        // the button's text, the typed value or the chosen file
    QString preset;        // input boxes: the value offered
    bool password = false; // input boxes that hide what is typed
};

// A print job the scripted platform took: graphic pages as images of the whole paper at the
// printer's resolution (the painter's origin at the printable area), raw jobs as their bytes.
struct RecordedPrintJob {
    enum class Kind { Graphic, Raw };
    Kind kind = Kind::Graphic;
    int printer = -1;
    QString printerName;
    PrintJobOptions options;
    QList<QImage> pages;
    QByteArray raw;
    bool finished = false; // ended and handed to the printer
    bool aborted = false;
};

class ScriptedPlatform : public Platform {
public:
    using FailureHandler = std::function<void(const QString&)>;
    using FormHandler = std::function<void(QDialog&)>;

    ScriptedPlatform();
    // Reports answers that were never used.
    ~ScriptedPlatform() override;

    // --- the script ------------------------------------------------------------------------
    // The next message box is answered with b.  When textContains / cap are given, the box
    // must show that text (a part of it) and that caption.
    ScriptedPlatform& answer(Button b, const QString& textContains = {}, const QString& cap = {});
    // The next input box is confirmed with value, or cancelled.
    ScriptedPlatform& answerInput(const QString& value, const QString& cap = {});
    ScriptedPlatform& cancelInput(const QString& cap = {});
    // The next open/save/directory dialog returns path (empty: cancelled).
    ScriptedPlatform& answerFile(const QString& path);
    // The next modal form is handed to handler while shown; the form's result (accept(),
    // reject(), done(n)) is what execModal returns, Rejected when the handler leaves it open.
    // formName, when given, must be the form's objectName or class name.
    ScriptedPlatform& answerModal(FormHandler handler, const QString& formName = {});

    // Boxes with only an OK button need no answer in the queue (they are still recorded).
    void setOkBoxesAnswered(bool on) { okBoxesAnswered_ = on; }
    // Called on every scripting failure; the default records it and prints a warning.  Must
    // not throw (it is also called from the destructor).
    void setFailureHandler(FailureHandler handler) { onFailure_ = std::move(handler); }

    // --- what happened ---------------------------------------------------------------------
    const QList<ShownBox>& shown() const { return shown_; }
    QList<ShownBox> shownMessages() const;
    void clearShown() { shown_.clear(); }
    const QStringList& failures() const { return failures_; }
    int pendingAnswers() const { return int(script_.size()); }
    // Reports the unused answers now and drops them.
    void verifyAllUsed();

    int beeps() const { return beeps_; }
    int busyDepth() const { return busyDepth_; }
    int busyCount() const { return busyCount_; }

    // --- devices ---------------------------------------------------------------------------
    // The printers; each gets default details (A4 portrait at 100 dots per inch, no
    // unprintable offsets, copies by the driver, text-only by its driver description).
    void setPrinters(const QList<PrinterInfo>& printers, int defaultIndex);
    void setPrinterDetails(int index, const PrinterDetails& details);
    // The properties dialog: the handler may change the details and answers whether it was
    // confirmed; without one the dialog counts as cancelled.
    void setPrinterPropertiesHandler(std::function<bool(int, PrinterDetails&)> handler) {
        onProperties_ = std::move(handler);
    }
    // The next job fails to start (graphic) or is refused (raw) with this message.
    void failNextPrintJob(const QString& message) { failJob_ = message; }
    QList<RecordedPrintJob> printJobs() const { return {jobs_.begin(), jobs_.end()}; }
    void clearPrintJobs() { jobs_.clear(); }
    void setDrawerResult(bool ok) { drawerResult_ = ok; }
    const QList<DrawerCommand>& drawerCommands() const { return drawer_; }
    void setOpenResult(bool ok) { openResult_ = ok; }
    const QStringList& openedDocuments() const { return opened_; }
    void setMachineConfig(const MachineConfig& config) { config_ = config; }

    // --- Platform --------------------------------------------------------------------------
    Button messageBox(const MessageBox& box) override;
    bool inputQuery(const QString& cap, const QString& prompt, QString& value,
                    bool password) override;
    QString openFileName(const QString& cap, const QString& dir, const QString& filter) override;
    QString saveFileName(const QString& cap, const QString& dir, const QString& filter) override;
    QString directoryName(const QString& cap, const QString& dir) override;
    int execModal(QDialog& form) override;

    void beep() override { ++beeps_; }
    void pushBusyCursor() override;
    void popBusyCursor() override;

    void setClipboard(const QString& plainText, const QString& format,
                      const QByteArray& data) override;
    QString clipboardText() const override { return clipText_; }
    bool clipboardHasFormat(const QString& format) const override;
    QByteArray clipboardData(const QString& format) const override;

    QList<PrinterInfo> printers() const override { return printers_; }
    int defaultPrinterIndex() const override { return defaultPrinter_; }
    bool selectPrinter(int index) override;
    int currentPrinterIndex() const override;
    PrinterDetails printerDetails(int index) const override;
    bool setPrinterLandscape(int index, bool landscape) override;
    bool printerProperties(int index) override;
    std::unique_ptr<GraphicJob> beginGraphicJob(int index, const PrintJobOptions& options,
                                                QString* error) override;
    bool printRaw(int index, const PrintJobOptions& options, const QByteArray& data,
                  QString* error) override;

    bool cashDrawer(DrawerCommand command) override;
    bool openDocument(const QString& path) override;

    const MachineConfig& machineConfig() const override { return config_; }

private:
    struct Step {
        ShownBox::Kind kind;
        Button button = Button::None;
        QString text;    // message: expected part of the text; input: the answer; file: path
        QString caption; // expected caption / form name
        bool cancel = false;
        FormHandler form;
    };

    void fail(const QString& what);
    // Takes the front step when it is of kind; false (after reporting a failure) otherwise.
    bool takeStep(ShownBox::Kind kind, const QString& what, Step* step);
    QString fileDialog(ShownBox::Kind kind, const QString& cap, const QString& dir);

    std::deque<Step> script_;
    QList<ShownBox> shown_;
    QStringList failures_;
    FailureHandler onFailure_;
    bool okBoxesAnswered_ = false;

    int beeps_ = 0;
    int busyDepth_ = 0;
    int busyCount_ = 0;
    QString clipText_;
    QMap<QString, QByteArray> clipFormats_;
    QList<PrinterInfo> printers_;
    QList<PrinterDetails> details_;
    std::function<bool(int, PrinterDetails&)> onProperties_;
    QString failJob_;
    std::deque<RecordedPrintJob> jobs_; // a running job keeps a reference to its record
    int defaultPrinter_ = -1;
    int selectedPrinter_ = -1;
    bool drawerResult_ = true;
    QList<DrawerCommand> drawer_;
    bool openResult_ = true;
    QStringList opened_;
    MachineConfig config_;
};

} // namespace brix
