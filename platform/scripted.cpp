#include "scripted.h"

#include <QDebug>
#include <QDialog>
#include <QPainter>

#include <cmath>

namespace brix {

namespace {

QString kindName(ShownBox::Kind kind) {
    switch (kind) {
    case ShownBox::Kind::Message:
        return QStringLiteral("message box");
    case ShownBox::Kind::Input:
        return QStringLiteral("input box");
    case ShownBox::Kind::OpenFile:
        return QStringLiteral("open-file dialog");
    case ShownBox::Kind::SaveFile:
        return QStringLiteral("save-file dialog");
    case ShownBox::Kind::Directory:
        return QStringLiteral("directory dialog");
    case ShownBox::Kind::Modal:
        return QStringLiteral("modal form");
    }
    return {};
}

bool isFileKind(ShownBox::Kind kind) {
    return kind == ShownBox::Kind::OpenFile || kind == ShownBox::Kind::SaveFile ||
           kind == ShownBox::Kind::Directory;
}

} // namespace

ScriptedPlatform::ScriptedPlatform() {
    config_ = MachineConfig::defaults();
    config_.drawerPorts = false;
}

ScriptedPlatform::~ScriptedPlatform() {
    verifyAllUsed();
}

void ScriptedPlatform::fail(const QString& what) {
    failures_ << what;
    if (onFailure_)
        onFailure_(what);
    else
        qWarning().noquote() << "ScriptedPlatform:" << what;
}

void ScriptedPlatform::verifyAllUsed() {
    while (!script_.empty()) {
        const Step& s = script_.front();
        QString detail = s.kind == ShownBox::Kind::Message
                             ? QStringLiteral(" (%1, \"%2\")").arg(buttonText(s.button), s.text)
                             : QStringLiteral(" (\"%1\")").arg(s.text);
        fail(QStringLiteral("expected %1 was never shown").arg(kindName(s.kind)) + detail);
        script_.pop_front();
    }
}

ScriptedPlatform& ScriptedPlatform::answer(Button b, const QString& textContains,
                                           const QString& cap) {
    script_.push_back({ShownBox::Kind::Message, b, textContains, cap, false, {}});
    return *this;
}

ScriptedPlatform& ScriptedPlatform::answerInput(const QString& value, const QString& cap) {
    script_.push_back({ShownBox::Kind::Input, Button::Ok, value, cap, false, {}});
    return *this;
}

ScriptedPlatform& ScriptedPlatform::cancelInput(const QString& cap) {
    script_.push_back({ShownBox::Kind::Input, Button::Cancel, {}, cap, true, {}});
    return *this;
}

ScriptedPlatform& ScriptedPlatform::answerFile(const QString& path) {
    // The kind is checked loosely: any of the three file dialogs takes a file answer.
    script_.push_back({ShownBox::Kind::OpenFile, Button::None, path, {}, path.isEmpty(), {}});
    return *this;
}

ScriptedPlatform& ScriptedPlatform::answerModal(FormHandler handler, const QString& formName) {
    script_.push_back(
        {ShownBox::Kind::Modal, Button::None, {}, formName, false, std::move(handler)});
    return *this;
}

bool ScriptedPlatform::takeStep(ShownBox::Kind kind, const QString& what, Step* step) {
    if (script_.empty()) {
        fail(QStringLiteral("unexpected %1: %2").arg(kindName(kind), what));
        return false;
    }
    const Step& front = script_.front();
    bool fits = front.kind == kind || (isFileKind(front.kind) && isFileKind(kind));
    if (!fits) {
        fail(QStringLiteral("unexpected %1 (%2) while a %3 was expected")
                 .arg(kindName(kind), what, kindName(front.kind)));
        return false;
    }
    *step = front;
    script_.pop_front();
    return true;
}

QList<ShownBox> ScriptedPlatform::shownMessages() const {
    QList<ShownBox> out;
    for (const ShownBox& b : shown_)
        if (b.kind == ShownBox::Kind::Message) out << b;
    return out;
}

Button ScriptedPlatform::messageBox(const MessageBox& box) {
    ShownBox record{ShownBox::Kind::Message, box.caption, box.text, box.buttons, {}, {}, false};
    QString what =
        QStringLiteral("[%1] \"%2\" (%3)").arg(box.caption, box.text, describeButtons(box.buttons));
    Button result = box.escapeAnswer();

    bool onlyOk = box.buttons == Buttons(Button::Ok);
    // With OK boxes answered, an OK box takes a queued answer only when that answer is OK:
    // a queued Yes waits for the question it was meant for.
    bool queuedForIt = !script_.empty() && script_.front().kind == ShownBox::Kind::Message &&
                       script_.front().button == Button::Ok;
    Step step;
    if (onlyOk && okBoxesAnswered_ && !queuedForIt) {
        result = Button::Ok;
    } else if (takeStep(ShownBox::Kind::Message, what, &step)) {
        if (!step.text.isEmpty() && !box.text.contains(step.text))
            fail(QStringLiteral("box %1 does not show \"%2\"").arg(what, step.text));
        if (!step.caption.isEmpty() && box.caption != step.caption)
            fail(QStringLiteral("box %1 is not captioned \"%2\"").arg(what, step.caption));
        if (!box.buttons.testFlag(step.button))
            fail(QStringLiteral("box %1 has no button %2").arg(what, buttonText(step.button)));
        else
            result = step.button;
    }
    record.answer = buttonText(result);
    shown_ << record;
    return result;
}

bool ScriptedPlatform::inputQuery(const QString& cap, const QString& prompt, QString& value,
                                  bool password) {
    ShownBox record{
        ShownBox::Kind::Input, cap, prompt, Button::Ok | Button::Cancel, {}, value, password};
    Step step;
    bool ok = false;
    if (takeStep(ShownBox::Kind::Input, QStringLiteral("[%1] \"%2\"").arg(cap, prompt), &step)) {
        if (!step.caption.isEmpty() && step.caption != cap)
            fail(QStringLiteral("input box [%1] is not captioned \"%2\"").arg(cap, step.caption));
        if (!step.cancel) {
            value = step.text;
            ok = true;
        }
    }
    record.answer = ok ? value : buttonText(Button::Cancel);
    shown_ << record;
    return ok;
}

QString ScriptedPlatform::fileDialog(ShownBox::Kind kind, const QString& cap, const QString& dir) {
    ShownBox record{kind, cap, dir, {}, {}, {}, false};
    Step step;
    QString path;
    if (takeStep(kind, QStringLiteral("[%1] %2").arg(cap, dir), &step)) path = step.text;
    record.answer = path;
    shown_ << record;
    return path;
}

QString ScriptedPlatform::openFileName(const QString& cap, const QString& dir,
                                       const QString& /*filter*/) {
    return fileDialog(ShownBox::Kind::OpenFile, cap, dir);
}

QString ScriptedPlatform::saveFileName(const QString& cap, const QString& dir,
                                       const QString& /*filter*/) {
    return fileDialog(ShownBox::Kind::SaveFile, cap, dir);
}

QString ScriptedPlatform::directoryName(const QString& cap, const QString& dir) {
    return fileDialog(ShownBox::Kind::Directory, cap, dir);
}

int ScriptedPlatform::execModal(QDialog& form) {
    QString name = form.objectName().isEmpty() ? QString::fromLatin1(form.metaObject()->className())
                                               : form.objectName();
    ShownBox record{ShownBox::Kind::Modal, name, form.windowTitle(), {}, {}, {}, false};
    Step step;
    int result = QDialog::Rejected;
    if (takeStep(ShownBox::Kind::Modal, name, &step)) {
        if (!step.caption.isEmpty() && step.caption != form.objectName() &&
            step.caption != QLatin1String(form.metaObject()->className()))
            fail(QStringLiteral("modal form %1 is not \"%2\"").arg(name, step.caption));
        form.setResult(QDialog::Rejected);
        form.show();
        if (step.form) step.form(form);
        result = form.result();
        if (form.isVisible()) {
            form.hide();
            result = QDialog::Rejected;
        }
    }
    record.answer = QString::number(result);
    shown_ << record;
    return result;
}

void ScriptedPlatform::pushBusyCursor() {
    ++busyDepth_;
    ++busyCount_;
}

void ScriptedPlatform::popBusyCursor() {
    if (busyDepth_ == 0) {
        fail(QStringLiteral("hourglass cursor restored more often than set"));
        return;
    }
    --busyDepth_;
}

void ScriptedPlatform::setClipboard(const QString& plainText, const QString& format,
                                    const QByteArray& data) {
    clipText_ = plainText;
    clipFormats_.clear();
    if (!format.isEmpty()) clipFormats_.insert(format.toUpper(), data);
}

bool ScriptedPlatform::clipboardHasFormat(const QString& format) const {
    return clipFormats_.contains(format.toUpper());
}

QByteArray ScriptedPlatform::clipboardData(const QString& format) const {
    return clipFormats_.value(format.toUpper());
}

namespace {

// A graphic job painting each page into an image of the whole paper; the record is filled as
// the job goes.
class ScriptedGraphicJob : public GraphicJob {
public:
    ScriptedGraphicJob(RecordedPrintJob* record, const PrinterDetails& details)
        : record_(record), details_(details) {}
    ~ScriptedGraphicJob() override {
        if (!record_->finished) abort();
    }
    QPainter* beginPage() override {
        if (painter_.isActive()) endPage();
        const QSize pixels(int(std::lround(details_.paper.width() * dpiX() / 100.0)),
                           int(std::lround(details_.paper.height() * dpiY() / 100.0)));
        page_ = QImage(pixels, QImage::Format_RGB32);
        page_.fill(Qt::white);
        if (!painter_.begin(&page_)) return nullptr;
        painter_.translate(details_.minMargins.left() * dpiX() / 100.0,
                           details_.minMargins.top() * dpiY() / 100.0);
        return &painter_;
    }
    bool endPage() override {
        if (!painter_.isActive()) return false;
        painter_.end();
        record_->pages << page_;
        return true;
    }
    bool finish() override {
        if (painter_.isActive()) endPage();
        record_->finished = true;
        return true;
    }
    void abort() override {
        if (painter_.isActive()) painter_.end();
        record_->aborted = true;
        record_->finished = true; // closed, but nothing was printed
    }
    int dpiX() const override { return std::max(1, details_.dpiX); }
    int dpiY() const override { return std::max(1, details_.dpiY); }

private:
    RecordedPrintJob* record_;
    PrinterDetails details_;
    QImage page_;
    QPainter painter_;
};

} // namespace

void ScriptedPlatform::setPrinters(const QList<PrinterInfo>& printers, int defaultIndex) {
    printers_ = printers;
    details_.clear();
    for (const PrinterInfo& p : printers) {
        PrinterDetails d;
        d.name = p.name;
        d.driver = p.makeAndModel;
        d.location = QStringLiteral("usb://") + p.name;
        d.dpiX = d.dpiY = 100;
        d.paperName = QStringLiteral("A4");
        d.paper = QSizeF(826, 1169);
        d.multipleCopies = true;
        details_ << d;
    }
    defaultPrinter_ = defaultIndex >= 0 && defaultIndex < printers.size() ? defaultIndex : -1;
    selectedPrinter_ = -1;
}

bool ScriptedPlatform::selectPrinter(int index) {
    if (index < 0 || index >= printers_.size()) return false;
    selectedPrinter_ = index;
    return true;
}

int ScriptedPlatform::currentPrinterIndex() const {
    return selectedPrinter_ >= 0 ? selectedPrinter_ : defaultPrinter_;
}

void ScriptedPlatform::setPrinterDetails(int index, const PrinterDetails& details) {
    if (index < 0 || index >= details_.size()) {
        fail(QStringLiteral("printer %1 does not exist").arg(index));
        return;
    }
    details_[index] = details;
    if (details_[index].name.isEmpty()) details_[index].name = printers_[index].name;
}

PrinterDetails ScriptedPlatform::printerDetails(int index) const {
    if (index < 0 || index >= details_.size()) return {};
    PrinterDetails d = details_[index];
    d.textOnly = isTextOnlyPrinter(printers_[index], config_.textPrinters);
    return d;
}

bool ScriptedPlatform::setPrinterLandscape(int index, bool landscape) {
    if (index < 0 || index >= details_.size()) return false;
    PrinterDetails& d = details_[index];
    if (d.landscape != landscape) {
        d.landscape = landscape;
        d.paper.transpose();
        // The unprintable edges turn with the paper (counter-clockwise).
        const QMarginsF m = d.minMargins;
        d.minMargins = landscape ? QMarginsF(m.top(), m.right(), m.bottom(), m.left())
                                 : QMarginsF(m.bottom(), m.left(), m.top(), m.right());
        std::swap(d.dpiX, d.dpiY);
    }
    return true;
}

bool ScriptedPlatform::printerProperties(int index) {
    if (index < 0 || index >= details_.size()) return false;
    shown_ << ShownBox{ShownBox::Kind::Modal,
                       QStringLiteral("printerProperties"),
                       details_[index].name,
                       {},
                       {},
                       {},
                       false};
    if (!onProperties_) return false;
    PrinterDetails d = details_[index];
    if (!onProperties_(index, d)) return false;
    details_[index] = d;
    return true;
}

std::unique_ptr<GraphicJob>
ScriptedPlatform::beginGraphicJob(int index, const PrintJobOptions& options, QString* error) {
    PrinterDetails d = printerDetails(index);
    if (!options.outputFile.isEmpty()) {
        d = PrinterDetails{};
        d.name = options.outputFile;
        d.dpiX = d.dpiY = 100;
        d.paper = options.paper.isEmpty() ? QSizeF(826, 1169) : options.paper;
        if (options.landscape && d.paper.width() < d.paper.height()) d.paper.transpose();
    } else if (!d.valid()) {
        if (error) *error = QStringLiteral("Tiskárna není k dispozici.");
        return nullptr;
    }
    if (!failJob_.isEmpty()) {
        if (error) *error = failJob_;
        failJob_.clear();
        return nullptr;
    }
    RecordedPrintJob job;
    job.kind = RecordedPrintJob::Kind::Graphic;
    job.printer = index;
    job.printerName = d.name;
    job.options = options;
    jobs_.push_back(job);
    return std::make_unique<ScriptedGraphicJob>(&jobs_.back(), d);
}

bool ScriptedPlatform::printRaw(int index, const PrintJobOptions& options, const QByteArray& data,
                                QString* error) {
    if (index < 0 || index >= printers_.size()) {
        if (error) *error = QStringLiteral("Tiskárna není k dispozici.");
        return false;
    }
    if (!failJob_.isEmpty()) {
        if (error) *error = failJob_;
        failJob_.clear();
        return false;
    }
    RecordedPrintJob job;
    job.kind = RecordedPrintJob::Kind::Raw;
    job.printer = index;
    job.printerName = printers_[index].name;
    job.options = options;
    job.raw = data;
    job.finished = true;
    jobs_.push_back(job);
    return true;
}

bool ScriptedPlatform::cashDrawer(DrawerCommand command) {
    drawer_ << command;
    return drawerResult_;
}

bool ScriptedPlatform::openDocument(const QString& path) {
    opened_ << path;
    return openResult_;
}

} // namespace brix
