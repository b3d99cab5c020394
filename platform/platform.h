#pragma once

// The platform layer: every message box, question, input box, file dialog, modal form,
// clipboard access, printer choice, cash-drawer write and document opening of the program goes
// through the one current Platform.  The program installs a QtPlatform at start; tests install
// a ScriptedPlatform that answers from a queue and records what was shown.

#include "machineconfig.h"
#include "printer.h"

#include <QByteArray>
#include <QFlags>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QDialog;

namespace brix {

// Captions of the system's message boxes.
namespace caption {
inline const QString Chyba = QStringLiteral("Chyba");
inline const QString Upozorneni = QStringLiteral("Upozornění");
inline const QString Varovani = QStringLiteral("Varování");
inline const QString Dotaz = QStringLiteral("Dotaz");
inline const QString Informace = QStringLiteral("Informace");
inline const QString Zprava = QStringLiteral("Zpráva");
} // namespace caption

enum class MessageIcon { None, Error, Warning, Question, Information };

enum class Button : unsigned {
    None = 0,
    Ok = 0x01,
    Cancel = 0x02,
    Yes = 0x04,
    No = 0x08,
    Abort = 0x10,
    Retry = 0x20,
    Ignore = 0x40,
};
Q_DECLARE_FLAGS(Buttons, Button)
Q_DECLARE_OPERATORS_FOR_FLAGS(Buttons)

// Czech text of a button ("Ano", "Ne", "Storno", ...).
QString buttonText(Button b);
// The buttons of a set in the order a box shows them.
QList<Button> buttonList(Buttons buttons);
// "Ano|Ne" style description, used in records and failure texts.
QString describeButtons(Buttons buttons);

struct MessageBox {
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::None;
    Buttons buttons = Button::Ok;
    Button defaultButton = Button::None; // None: the first of the buttons
    // The answer when the box is closed without a button (Escape, the window's close button):
    // Cancel if offered, else No, else the only button.
    Button escapeAnswer() const;
};

enum class DrawerCommand { Init, Open };

// The printer list as the platform sees it.
struct PrinterInfo {
    QString name;
    QString makeAndModel; // the driver's description where the system knows it
};

// A printer counts as text-only when the machine configuration names it as such, or when its
// driver is a generic text-only one (the description names "text-only"/"text only"/"raw text",
// or is the Czech "Obecná nebo jen textová").
bool isTextOnlyPrinter(const PrinterInfo& printer, const QStringList& configuredTextPrinters);

class Platform {
public:
    virtual ~Platform();

    // The process-wide platform.  When none was installed, a QtPlatform is made on first use.
    static Platform& current();
    // Installs p as the current platform (not owned); nullptr goes back to the default one.
    // Returns the previously installed platform (nullptr when it was the default).
    static Platform* install(Platform* p);

    // --- boxes -----------------------------------------------------------------------------
    virtual Button messageBox(const MessageBox& box) = 0;

    // Caption "Chyba", button OK.
    void error(const QString& text);
    // Caption "Upozornění" (or another caption), button OK.
    void warning(const QString& text, const QString& cap = caption::Upozorneni);
    // Caption "Informace" (or another caption), button OK.
    void information(const QString& text, const QString& cap = caption::Informace);
    // Caption "Zpráva", button OK.
    void message(const QString& text);
    // Yes/No question, caption "Dotaz" unless given; true on Yes.  Escape counts as No.
    bool askYesNo(const QString& text, const QString& cap = caption::Dotaz,
                  Button defaultButton = Button::Yes);
    // OK/Cancel question; true on OK.  Escape counts as Cancel.
    bool askOkCancel(const QString& text, const QString& cap = caption::Dotaz);
    // Yes/No/Cancel question; returns the button.  Escape counts as Cancel.
    Button askYesNoCancel(const QString& text, const QString& cap = caption::Dotaz);

    // Input box: false when cancelled (value untouched), else value holds the answer.
    virtual bool inputQuery(const QString& cap, const QString& prompt, QString& value,
                            bool password = false) = 0;
    // Input box that returns its default when cancelled.
    QString inputBox(const QString& cap, const QString& prompt, const QString& defaultValue = {});

    // File dialogs; an empty result means the user cancelled.  filter: "Tabulky (*.db);;Vše (*)".
    virtual QString openFileName(const QString& cap, const QString& dir, const QString& filter) = 0;
    virtual QString saveFileName(const QString& cap, const QString& dir, const QString& filter) = 0;
    virtual QString directoryName(const QString& cap, const QString& dir) = 0;

    // Runs a form modally and returns its result code (QDialog::Accepted / Rejected / done(n)).
    virtual int execModal(QDialog& form) = 0;

    // --- feedback --------------------------------------------------------------------------
    virtual void beep() = 0;
    // Hourglass cursor; use BusyCursor rather than these.
    virtual void pushBusyCursor() = 0;
    virtual void popBusyCursor() = 0;

    // --- clipboard -------------------------------------------------------------------------
    // Puts a plain-text form and, when format is not empty, the same content in the named
    // custom format ("CF_VUZ") onto the clipboard in one step.
    virtual void setClipboard(const QString& plainText, const QString& format = {},
                              const QByteArray& data = {}) = 0;
    virtual QString clipboardText() const = 0;
    virtual bool clipboardHasFormat(const QString& format) const = 0;
    // The content in the custom format; empty when the clipboard does not hold it.
    virtual QByteArray clipboardData(const QString& format) const = 0;

    // --- printers --------------------------------------------------------------------------
    virtual QList<PrinterInfo> printers() const = 0;
    QStringList printerNames() const;
    // Index of the system's default printer in printers(), -1 when there is none.
    virtual int defaultPrinterIndex() const = 0;
    // Makes printer index the current one; false when the index is out of range or the printer
    // cannot be used.  The current printer stays as it was on failure.
    virtual bool selectPrinter(int index) = 0;
    // The current printer: the selected one, else the default.  -1 when there is no printer.
    virtual int currentPrinterIndex() const = 0;
    QString currentPrinterName() const;
    bool isTextPrinter(int index) const;

    // The details of printer index with the paper and orientation last set for it; invalid
    // (empty name) when the index is out of range.
    virtual PrinterDetails printerDetails(int index) const;
    // Turns the paper of printer index; false when the index is out of range.
    virtual bool setPrinterLandscape(int index, bool landscape);
    // The printer's properties dialog; true when confirmed. What it changed (paper,
    // orientation) holds for the later jobs of this program.
    virtual bool printerProperties(int index);
    // Starts a graphic job on printer index, or with options.outputFile a PDF file written by
    // the system's print support (then the index may be -1). Null with a Czech error text when
    // it cannot start.
    virtual std::unique_ptr<GraphicJob> beginGraphicJob(int index, const PrintJobOptions& options,
                                                        QString* error);
    // Sends data unchanged to the queue of printer index as one job. False with a Czech error
    // text when the queue did not take it.
    virtual bool printRaw(int index, const PrintJobOptions& options, const QByteArray& data,
                          QString* error);

    // --- devices ---------------------------------------------------------------------------
    // One cash-drawer command; false when it did not reach the drawer.
    virtual bool cashDrawer(DrawerCommand command) = 0;
    // Opens a file (an exported spreadsheet, a document) in the desktop's application for it;
    // false when the file does not exist or nothing opens it.
    virtual bool openDocument(const QString& path) = 0;

    // --- configuration ---------------------------------------------------------------------
    virtual const MachineConfig& machineConfig() const = 0;
};

// Hourglass cursor for the lifetime of the object.
class BusyCursor {
public:
    BusyCursor() : platform_(Platform::current()) { platform_.pushBusyCursor(); }
    ~BusyCursor() { platform_.popBusyCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Platform& platform_;
};

// Installs a platform for the lifetime of the object, then puts back the previous one.
class ScopedPlatform {
public:
    explicit ScopedPlatform(Platform& p) : previous_(Platform::install(&p)) {}
    ~ScopedPlatform() { Platform::install(previous_); }
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
    Platform* previous_;
};

// The cash drawer's two operations.  A drawer that cannot be reached is ignored.
void ZasuvkaInit();
void ZasuvkaOtevri();

} // namespace brix
