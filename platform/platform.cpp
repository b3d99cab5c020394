#include "platform.h"

#include "qtplatform.h"

#include <algorithm>

namespace brix {

namespace {
Platform* g_installed = nullptr;
} // namespace

QString buttonText(Button b) {
    switch (b) {
    case Button::Ok:
        return QStringLiteral("OK");
    case Button::Cancel:
        return QStringLiteral("Storno");
    case Button::Yes:
        return QStringLiteral("Ano");
    case Button::No:
        return QStringLiteral("Ne");
    case Button::Abort:
        return QStringLiteral("Přerušit");
    case Button::Retry:
        return QStringLiteral("Opakovat");
    case Button::Ignore:
        return QStringLiteral("Ignorovat");
    case Button::None:
        break;
    }
    return {};
}

QList<Button> buttonList(Buttons buttons) {
    QList<Button> out;
    for (Button b : {Button::Yes, Button::No, Button::Ok, Button::Cancel, Button::Abort,
                     Button::Retry, Button::Ignore})
        if (buttons.testFlag(b)) out << b;
    return out;
}

QString describeButtons(Buttons buttons) {
    QStringList names;
    for (Button b : buttonList(buttons))
        names << buttonText(b);
    return names.join(QLatin1Char('|'));
}

Button MessageBox::escapeAnswer() const {
    if (buttons.testFlag(Button::Cancel)) return Button::Cancel;
    if (buttons.testFlag(Button::No)) return Button::No;
    if (buttons.testFlag(Button::Abort)) return Button::Abort;
    QList<Button> all = buttonList(buttons);
    return all.size() == 1 ? all.first() : Button::None;
}

bool isTextOnlyPrinter(const PrinterInfo& printer, const QStringList& configuredTextPrinters) {
    for (const QString& name : configuredTextPrinters)
        if (name.compare(printer.name, Qt::CaseInsensitive) == 0) return true;
    QString model = printer.makeAndModel.toLower();
    return model.contains(QLatin1String("text-only")) ||
           model.contains(QLatin1String("text only")) ||
           model.contains(QLatin1String("raw text")) ||
           model.contains(QStringLiteral("jen textová"));
}

Platform::~Platform() {
    if (g_installed == this) g_installed = nullptr;
}

Platform& Platform::current() {
    if (g_installed) return *g_installed;
    static QtPlatform fallback;
    return fallback;
}

Platform* Platform::install(Platform* p) {
    Platform* previous = g_installed;
    g_installed = p;
    return previous;
}

void Platform::error(const QString& text) {
    messageBox({caption::Chyba, text, MessageIcon::Error, Button::Ok});
}

void Platform::warning(const QString& text, const QString& cap) {
    messageBox({cap, text, MessageIcon::Warning, Button::Ok});
}

void Platform::information(const QString& text, const QString& cap) {
    messageBox({cap, text, MessageIcon::Information, Button::Ok});
}

void Platform::message(const QString& text) {
    messageBox({caption::Zprava, text, MessageIcon::Information, Button::Ok});
}

bool Platform::askYesNo(const QString& text, const QString& cap, Button defaultButton) {
    return messageBox({cap, text, MessageIcon::Question, Button::Yes | Button::No,
                       defaultButton}) == Button::Yes;
}

bool Platform::askOkCancel(const QString& text, const QString& cap) {
    return messageBox({cap, text, MessageIcon::Question, Button::Ok | Button::Cancel}) ==
           Button::Ok;
}

Button Platform::askYesNoCancel(const QString& text, const QString& cap) {
    return messageBox(
        {cap, text, MessageIcon::Question, Button::Yes | Button::No | Button::Cancel});
}

QString Platform::inputBox(const QString& cap, const QString& prompt, const QString& defaultValue) {
    QString value = defaultValue;
    if (!inputQuery(cap, prompt, value)) return defaultValue;
    return value;
}

QStringList Platform::printerNames() const {
    QStringList names;
    for (const PrinterInfo& p : printers())
        names << p.name;
    return names;
}

QString Platform::currentPrinterName() const {
    int i = currentPrinterIndex();
    QList<PrinterInfo> all = printers();
    return i >= 0 && i < all.size() ? all[i].name : QString();
}

bool Platform::isTextPrinter(int index) const {
    QList<PrinterInfo> all = printers();
    if (index < 0 || index >= all.size()) return false;
    return isTextOnlyPrinter(all[index], machineConfig().textPrinters);
}

GraphicJob::~GraphicJob() = default;

QSizeF PrinterDetails::printable() const {
    return QSizeF(std::max(0.0, paper.width() - minMargins.left() - minMargins.right()),
                  std::max(0.0, paper.height() - minMargins.top() - minMargins.bottom()));
}

// A platform without printing support knows no printer details and starts no job.
PrinterDetails Platform::printerDetails(int) const {
    return {};
}

bool Platform::setPrinterLandscape(int, bool) {
    return false;
}

bool Platform::printerProperties(int) {
    return false;
}

std::unique_ptr<GraphicJob> Platform::beginGraphicJob(int, const PrintJobOptions&, QString* error) {
    if (error) *error = QStringLiteral("Tisk není v tomto prostředí k dispozici.");
    return nullptr;
}

bool Platform::printRaw(int, const PrintJobOptions&, const QByteArray&, QString* error) {
    if (error) *error = QStringLiteral("Tisk není v tomto prostředí k dispozici.");
    return false;
}

void ZasuvkaInit() {
    Platform::current().cashDrawer(DrawerCommand::Init);
}

void ZasuvkaOtevri() {
    Platform::current().cashDrawer(DrawerCommand::Open);
}

} // namespace brix
