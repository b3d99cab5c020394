#include "platform.h"

#include "qtplatform.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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

QRect Platform::formGeometry(const QString&) const {
    return {};
}

void Platform::setFormGeometry(const QString&, const QRect&) {}

namespace {

QRect availableFor(const QWidget* w, const QPoint& at) {
    QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen && w) screen = w->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// The frame the window manager draws around a window: the window's own once it is shown, else
// that of another window on screen, else a usual one.
QMargins frameOf(const QWidget& w) {
    auto of = [](const QWidget* x) {
        const QRect f = x->frameGeometry(), g = x->geometry();
        return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                        f.bottom() - g.bottom());
    };
    if (w.isVisible()) return of(&w);
    for (const QWidget* t : QApplication::topLevelWidgets())
        if (t->isVisible() && t->isWindow() && t->windowType() != Qt::Popup &&
            t->windowType() != Qt::ToolTip && t->windowType() != Qt::SplashScreen)
            return of(t);
    return QMargins(4, 28, 4, 4);
}

// The rectangle moved (and, when larger, shrunk) into the area.
QRect fitted(QRect r, const QRect& area) {
    if (area.isEmpty()) return r;
    r.setWidth(std::min(r.width(), area.width()));
    r.setHeight(std::min(r.height(), area.height()));
    if (r.right() > area.right()) r.moveRight(area.right());
    if (r.bottom() > area.bottom()) r.moveBottom(area.bottom());
    if (r.left() < area.left()) r.moveLeft(area.left());
    if (r.top() < area.top()) r.moveTop(area.top());
    return r;
}

} // namespace

bool restoreFormGeometry(QWidget& window) {
    const QString name = window.objectName();
    if (name.isEmpty()) return false;
    const QRect kept = Platform::current().formGeometry(name);
    if (!kept.isValid()) return false;
    QRect r = fitted(kept, availableFor(&window, kept.center()) - frameOf(window));
    r.setWidth(std::max(r.width(), window.minimumWidth()));
    r.setHeight(std::max(r.height(), window.minimumHeight()));
    window.setGeometry(r);
    return true;
}

void rememberFormGeometry(const QWidget& window) {
    if (window.objectName().isEmpty() || !window.geometry().isValid()) return;
    Platform::current().setFormGeometry(window.objectName(), window.geometry());
}

void placeForm(QWidget& window, QSize size, const QWidget* over) {
    const QPoint centre = over ? over->geometry().center()
                               : availableFor(&window, window.geometry().center()).center();
    const QRect area = availableFor(over ? over : &window, centre) - frameOf(window);
    size = size.expandedTo(window.minimumSize());
    QRect r(QPoint(0, 0), size);
    r.moveCenter(centre);
    window.setGeometry(fitted(r, area));
}

void placeBeside(QWidget& window, const QWidget& other) {
    const QRect frame = other.frameGeometry();
    const QRect area = availableFor(&other, frame.center()) - frameOf(window);
    // The window's own frame is not known before it is shown: take that of the other one.
    const int left = other.geometry().left() - frame.left();
    const int top = other.geometry().top() - frame.top();
    const QSize size = window.size().expandedTo(window.sizeHint());
    const int outerWidth = size.width() + 2 * left;
    QRect r(QPoint(0, 0), size);
    r.moveTop(frame.top() + top);
    const int rightRoom = area.right() - frame.right(), leftRoom = frame.left() - area.left();
    if (outerWidth <= rightRoom) {
        r.moveLeft(frame.right() + 1 + left);
    } else if (outerWidth <= leftRoom) {
        r.moveRight(frame.left() - 1 - left);
    } else if (frame.bottom() + size.height() + top <= area.bottom()) {
        r.moveLeft(frame.left() + left);
        r.moveTop(frame.bottom() + 1 + top);
    } else if (rightRoom >= leftRoom) {
        // No room anywhere: against the screen's edge on the roomier side, covering as little
        // of the other window as it can.
        r.moveRight(area.right());
    } else {
        r.moveLeft(area.left());
    }
    window.setGeometry(fitted(r, area));
}

bool ZasuvkaInit() {
    return Platform::current().cashDrawer(DrawerCommand::Init);
}

bool ZasuvkaOtevri() {
    return Platform::current().cashDrawer(DrawerCommand::Open);
}

} // namespace brix
