#include "qtplatform.h"

#include "cashdrawer.h"

#include <QApplication>
#include <QClipboard>
#include <QDebug>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinterInfo>
#include <QPushButton>
#include <QUrl>

#include <map>

namespace brix {

namespace {

QWidget* dialogParent() {
    return QApplication::activeWindow();
}

// Without a screen nobody can answer a modal window; rather than hang, the window counts as
// closed with Escape.  (Tests install the scripted platform instead.)
bool headless(const QString& what) {
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) return false;
    qWarning().noquote() << "Brix: no screen for" << what;
    return true;
}

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::ButtonRole qtRole(Button b) {
    switch (b) {
    case Button::Ok:
    case Button::Yes:
        return QMessageBox::AcceptRole;
    case Button::No:
        return QMessageBox::NoRole;
    case Button::Cancel:
    case Button::Abort:
        return QMessageBox::RejectRole;
    default:
        return QMessageBox::ActionRole;
    }
}

} // namespace

QtPlatform::QtPlatform() = default;

QtPlatform::QtPlatform(MachineConfig config) : configLoaded_(true), config_(std::move(config)) {}

const MachineConfig& QtPlatform::machineConfig() const {
    if (!configLoaded_) {
        config_ = MachineConfig::loadDefault();
        configLoaded_ = true;
    }
    return config_;
}

QRect QtPlatform::formGeometry(const QString& form) const {
    return machineConfig().formGeometry.value(form);
}

void QtPlatform::setFormGeometry(const QString& form, const QRect& geometry) {
    machineConfig();
    if (!geometry.isValid() || config_.formGeometry.value(form) == geometry) return;
    config_.formGeometry.insert(form, geometry);
    // A configuration that cannot be written only forgets the place for the next run.
    MachineConfig::saveFormGeometry(config_.path, form, geometry);
}

Button QtPlatform::messageBox(const MessageBox& box) {
    if (headless(QStringLiteral("box [%1] %2").arg(box.caption, box.text)))
        return box.escapeAnswer();
    QMessageBox mb(qtIcon(box.icon), box.caption, box.text, QMessageBox::NoButton, dialogParent());
    std::map<QAbstractButton*, Button> answers;
    QList<Button> all = buttonList(box.buttons);
    if (all.isEmpty()) all << Button::Ok;
    Button def = box.defaultButton == Button::None ? all.first() : box.defaultButton;
    Button esc = box.escapeAnswer();
    for (Button b : all) {
        QPushButton* pb = mb.addButton(buttonText(b), qtRole(b));
        answers[pb] = b;
        if (b == def) mb.setDefaultButton(pb);
        if (b == esc) mb.setEscapeButton(pb);
    }
    mb.exec();
    auto it = answers.find(mb.clickedButton());
    return it == answers.end() ? esc : it->second;
}

bool QtPlatform::inputQuery(const QString& cap, const QString& prompt, QString& value,
                            bool password) {
    if (headless(QStringLiteral("input box [%1] %2").arg(cap, prompt))) return false;
    QInputDialog dlg(dialogParent());
    dlg.setWindowTitle(cap);
    dlg.setLabelText(prompt);
    dlg.setTextValue(value);
    dlg.setTextEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
    dlg.setOkButtonText(buttonText(Button::Ok));
    dlg.setCancelButtonText(buttonText(Button::Cancel));
    if (dlg.exec() != QDialog::Accepted) return false;
    value = dlg.textValue();
    return true;
}

QString QtPlatform::openFileName(const QString& cap, const QString& dir, const QString& filter) {
    if (headless(cap)) return {};
    return QFileDialog::getOpenFileName(dialogParent(), cap, dir, filter);
}

QString QtPlatform::saveFileName(const QString& cap, const QString& dir, const QString& filter) {
    if (headless(cap)) return {};
    return QFileDialog::getSaveFileName(dialogParent(), cap, dir, filter);
}

QString QtPlatform::directoryName(const QString& cap, const QString& dir) {
    if (headless(cap)) return {};
    return QFileDialog::getExistingDirectory(dialogParent(), cap, dir);
}

int QtPlatform::execModal(QDialog& form) {
    if (headless(form.objectName().isEmpty() ? form.windowTitle() : form.objectName()))
        return QDialog::Rejected;
    return form.exec();
}

void QtPlatform::beep() {
    QApplication::beep();
}

void QtPlatform::pushBusyCursor() {
    ++busyDepth_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtPlatform::popBusyCursor() {
    if (busyDepth_ == 0) return;
    --busyDepth_;
    QApplication::restoreOverrideCursor();
}

QString QtPlatform::clipboardMimeType(const QString& format) {
    return QStringLiteral("application/x-brix-") + format.toLower();
}

void QtPlatform::setClipboard(const QString& plainText, const QString& format,
                              const QByteArray& data) {
    auto* mime = new QMimeData;
    mime->setText(plainText);
    if (!format.isEmpty()) mime->setData(clipboardMimeType(format), data);
    QApplication::clipboard()->setMimeData(mime);
}

QString QtPlatform::clipboardText() const {
    return QApplication::clipboard()->text();
}

bool QtPlatform::clipboardHasFormat(const QString& format) const {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    return mime && mime->hasFormat(clipboardMimeType(format));
}

QByteArray QtPlatform::clipboardData(const QString& format) const {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    return mime ? mime->data(clipboardMimeType(format)) : QByteArray();
}

QList<PrinterInfo> QtPlatform::printers() const {
    QList<PrinterInfo> out;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        out << PrinterInfo{info.printerName(), info.makeAndModel()};
    return out;
}

int QtPlatform::defaultPrinterIndex() const {
    QString name = QPrinterInfo::defaultPrinterName();
    QList<PrinterInfo> all = printers();
    for (int i = 0; i < all.size(); ++i)
        if (all[i].name == name) return i;
    return all.isEmpty() ? -1 : 0;
}

bool QtPlatform::selectPrinter(int index) {
    QList<PrinterInfo> all = printers();
    if (index < 0 || index >= all.size()) return false;
    if (QPrinterInfo::printerInfo(all[index].name).isNull()) return false;
    selectedPrinter_ = all[index].name;
    return true;
}

int QtPlatform::currentPrinterIndex() const {
    QList<PrinterInfo> all = printers();
    for (int i = 0; i < all.size(); ++i)
        if (!selectedPrinter_.isEmpty() && all[i].name == selectedPrinter_) return i;
    return defaultPrinterIndex();
}

bool QtPlatform::cashDrawer(DrawerCommand command) {
    return CashDrawer(machineConfig()).run(command);
}

bool QtPlatform::openDocument(const QString& path) {
    if (!QFileInfo::exists(path)) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

} // namespace brix
