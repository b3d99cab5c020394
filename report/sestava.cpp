#include "sestava.h"

#include "codec.h"
#include "platform.h"
#include "templatefile.h"
#include "util/ini_file.h"
#include "util/path_resolver.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace brix::report {

namespace {

// One process-wide flag guards printing and preview.
bool g_busy = false;

class BusyGuard {
public:
    BusyGuard() { g_busy = true; }
    ~BusyGuard() { g_busy = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;
};

const QString kDefaultFormsSection = QStringLiteral("VychoziFormulare");

} // namespace

ProgressWindow::~ProgressWindow() = default;

// The progress window of the outermost preparation or text output: made when it starts, asked
// after the component's own progress handler, closed when it ends.
class TSestava::ProgressScope {
public:
    explicit ProgressScope(TSestava& report) : report_(report) {
        if (report.progress_ || !report.progressWindow) return;
        window_ = report.progressWindow(report);
        if (!window_) return;
        report.progress_ = this;
        previous_ = report.OnProgress;
        report.OnProgress = [this](TSestavaTyp& r, int record) {
            if (previous_ && !previous_(r, record)) return false;
            return window_->progress(record);
        };
    }
    ~ProgressScope() {
        if (report_.progress_ != this) return;
        report_.OnProgress = std::move(previous_);
        report_.progress_ = nullptr;
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    TSestava& report_;
    std::unique_ptr<ProgressWindow> window_;
    std::function<bool(TSestavaTyp&, int)> previous_;
};

// ---- TSestava ----------------------------------------------------------------------------

ReportWindows& TSestava::installedWindows() {
    static ReportWindows windows;
    return windows;
}

TSestava::TSestava() {
    programDir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    const ReportWindows& w = installedWindows();
    previewWindow = w.preview;
    designerWindow = w.designer;
    printerOutput = w.printer;
    progressWindow = w.progress;
}

TSestava::~TSestava() = default;

bool TSestava::busy() {
    return g_busy;
}

int TSestava::fail(int code) {
    if (code != seOk && OnError) OnError(*this, code);
    return code;
}

void TSestava::setPredloha(const TPredloha& lines) {
    predloha_ = lines;
    definition.isDetail = false;
    loadDefinition(definition, lines, &fieldNames);
    if (!definition.description.isEmpty()) Popis = definition.description;
    for (size_t i = 0; i < details_.size(); ++i)
        details_[i]->loadLines(definition.detailTemplates.value(int(i)));
    if (OnSetPredloha) OnSetPredloha(*this);
}

void TSestava::setReportName(const QString& name) {
    if (name.isEmpty()) {
        reportName_.clear();
        return;
    }
    // The extension is always ".pts": "tisk" and "a.b" become "tisk.pts" and "a.pts".
    QString n = name;
    const qsizetype sep =
        std::max(n.lastIndexOf(QLatin1Char('/')), n.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = n.lastIndexOf(QLatin1Char('.'));
    if (dot > sep) n.truncate(dot);
    reportName_ = n + QStringLiteral(".pts");
}

void TSestava::setReportDir(const QString& dir) {
    reportDir_ = dir;
    if (!dir.isEmpty()) {
        if (!dir.endsWith(QLatin1Char('/')) && !dir.endsWith(QLatin1Char('\\')))
            reportDir_ += QLatin1Char('/');
        reportAlias_.clear();
    }
}

void TSestava::setReportAlias(const QString& alias) {
    reportAlias_ = alias;
    if (!alias.isEmpty()) reportDir_.clear();
}

QString TSestava::fullFileName() const {
    if (reportName_.isEmpty()) return QString();
    QString name = reportName_;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QFileInfo(name).isAbsolute()) return resolvedFilePath(QStringLiteral("/"), name);
    const QString base = templateBaseDir();
    const QString resolved = resolvedFilePath(base, name);
    return resolved.isEmpty() ? QDir(base).filePath(name) : resolved;
}

QString TSestava::templateBaseDir() const {
    // Aliases of a database session do not exist here; an alias counts as unset.
    return ReportDirIgnore
               ? programDir
               : QDir(reportDir_.isEmpty() ? QStringLiteral(".") : reportDir_).absolutePath();
}

namespace {

// A file name of the component: absolute as it is, else under the base directory (any case).
QString underBase(const QString& base, QString name) {
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.isEmpty()) return QString();
    if (QFileInfo(name).isAbsolute()) return name;
    const QString resolved = resolvedFilePath(base, name);
    return resolved.isEmpty() ? QDir(base).filePath(name) : resolved;
}

} // namespace

QString TSestava::iniFilePath() const {
    return underBase(programDir.isEmpty() ? QDir::currentPath() : programDir, IniFileName);
}

QString TSestava::defaultForm() const {
    const QString ini = iniFilePath();
    if (reportName_.isEmpty() || ini.isEmpty() || !QFileInfo(ini).isFile()) return QString();
    return readIniValue(ini, kDefaultFormsSection, reportName_, QString()).trimmed();
}

bool TSestava::setDefaultForm(const QString& file, QString* error) {
    if (reportName_.isEmpty()) return false;
    // Kept relative to the base directory when it lies inside it, so that the data root may move.
    const QString base = QDir(templateBaseDir()).absolutePath();
    QString value = QFileInfo(file).absoluteFilePath();
    const QString relative = QDir(base).relativeFilePath(value);
    if (!relative.startsWith(QLatin1String("..")) && !QFileInfo(relative).isAbsolute())
        value = relative;
    return writeIniValue(iniFilePath(), kDefaultFormsSection, reportName_, value, error);
}

QString TSestava::printFileName() const {
    const QString form = defaultForm();
    if (!form.isEmpty()) {
        const QString path = underBase(templateBaseDir(), form);
        if (QFileInfo(path).isFile()) return path;
    }
    return fullFileName();
}

QString TSestava::templateDirectory() const {
    const QString f = fullFileName();
    return f.isEmpty() ? QString() : QFileInfo(f).absolutePath();
}

bool TSestava::ready() {
    if (!dataReady(*this)) return false;
    if (predloha_.isEmpty() && !IsStored && !OnNactiPredlohu && fullFileName().isEmpty()) {
        Platform::current().error(
            QStringLiteral("Není definována cesta a název souboru s předlohou."));
        return false;
    }
    return true;
}

int TSestava::LoadTemplate(bool createAllowed) {
    if (OnNactiPredlohu) {
        OnNactiPredlohu(*this);
        return seOk;
    }
    if (IsStored) {
        setPredloha(predloha_);
        return seOk;
    }
    // A print or preview takes the default form of the name; editing the name's own file.
    const QString path = createAllowed ? fullFileName() : printFileName();
    QStringList lines;
    int result = seOk;
    if (path.isEmpty() || !QFileInfo(path).isFile() || !readTextLines(path, &lines)) {
        lines.clear();
        Platform& ui = Platform::current();
        if (createAllowed) {
            MessageBox box;
            box.caption = QStringLiteral("Potvrzení");
            box.text = QStringLiteral(
                           "Nebyl nalezen soubor s předlohou tiskové sestavy \"%1\". Založit nový?")
                           .arg(path);
            box.icon = MessageIcon::Question;
            box.buttons = Button::Yes | Button::No;
            if (ui.messageBox(box) == Button::Yes) {
                if (!writeTextLines(path, {}))
                    ui.error(QStringLiteral("Soubor s předlohou se nepodařilo vytvořit. \"%1\"")
                                 .arg(path));
            } else {
                result = seLoadTemplate;
            }
        } else {
            ui.error(QStringLiteral("Nebyl nalezen soubor s předlohou tiskové sestavy \"%1\"")
                         .arg(path));
            result = seLoadTemplate;
        }
    }
    setPredloha(lines);
    return result;
}

int TSestava::SaveTemplate() {
    if (OnUlozPredlohu) return fail(OnUlozPredlohu(*this) ? seOk : seSaveTemplate);
    const TPredloha lines = linesWithDetails();
    if (IsStored) {
        predloha_ = lines;
        return seOk;
    }
    const QString path = fullFileName();
    bool ok = !path.isEmpty();
    if (ok && QFileInfo(path).isFile()) {
        // The backup is a copy: the old template stays until the new one has been written.
        const QFileInfo fi(path);
        const QString bak = fi.dir().filePath(fi.completeBaseName() + QStringLiteral(".BAK"));
        QFile::remove(bak);
        ok = QFile::copy(path, bak);
    }
    // Written to a temporary file beside the template and renamed over it only when every byte
    // was written: a failed write leaves the old template.
    if (ok) ok = writeTextLines(path, lines);
    if (!ok) {
        if (!OnError)
            Platform::current().error(QStringLiteral("Soubor s předlohou se nepodařilo uložit."));
        return fail(seSaveTemplate);
    }
    predloha_ = lines;
    return seOk;
}

int TSestava::Prepare() {
    if (!ready()) return fail(seNotReady);
    if (!eventMode() && DataSource) DataSource->rememberPosition();
    for (TSestDetail* d : details_)
        if (!d->eventMode() && d->DataSource) d->DataSource->rememberPosition();
    takeFieldNames();
    int result = LoadTemplate(false);
    if (result == seOk) {
        for (TSestDetail* d : details_)
            d->AllowNullValues = AllowNullValues;
        {
            ProgressScope progress(*this);
            result = runReport();
        }
        // Without a background of its own the template shows the component's.
        if (!definition.background.own) {
            output.background.file = pictureFilePath(Background);
            output.background.print = PrintBackground;
        }
    }
    for (TSestDetail* d : details_)
        if (!d->eventMode() && d->DataSource) d->DataSource->restorePosition();
    if (!eventMode() && DataSource) DataSource->restorePosition();
    closeOpenedTables();
    return fail(result);
}

int TSestava::PrintTextToStream(QIODevice& stream) {
    if (g_busy) return fail(seBusy);
    BusyGuard guard;
    if (BeforePrint) BeforePrint(*this);
    int result = Prepare();
    if (result == seOk) {
        const QByteArray bytes = textOutput();
        if (stream.write(bytes) != bytes.size()) result = fail(seOutput);
    }
    if (AfterPrint) AfterPrint(*this);
    return result;
}

int TSestava::PrintTextToFile(const QString& fileName) {
    if (g_busy) return fail(seBusy);
    BusyGuard guard;
    ProgressScope progress(*this);
    if (BeforePrint) BeforePrint(*this);
    int result = Prepare();
    if (result == seOk) {
        QSaveFile f(fileName);
        const QByteArray bytes = textOutput();
        // Unbuffered, so that a short write (a full disk) shows in the count written; the file
        // appears only when all of it was written.
        bool ok = f.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        // Written in steps so that a long output can be stopped.
        constexpr qsizetype kStep = 64 * 1024;
        for (qsizetype pos = 0; ok && pos < bytes.size(); pos += kStep) {
            if (OnProgress && !OnProgress(*this, -1)) {
                f.cancelWriting();
                result = fail(seCancelled);
                break;
            }
            const qsizetype n = std::min(kStep, bytes.size() - pos);
            ok = f.write(bytes.constData() + pos, n) == n;
        }
        if (result == seOk) {
            if (ok) ok = f.commit();
            if (!ok) result = fail(seOutput);
        }
    }
    if (AfterPrint) AfterPrint(*this);
    return result;
}

int TSestava::PrintPreview() {
    return PreviewEx(PreviewRequest());
}

int TSestava::PreviewEx(const PreviewRequest& request) {
    if (g_busy) return fail(seBusy);
    BusyGuard guard;
    if (BeforePreview) BeforePreview(*this);
    int result = Prepare(); // a failed preparation has raised the error event already
    if (result == seOk) {
        // Closing the preview, confirmed or not, is no failure: 1 or 0 without the error event.
        result = previewWindow ? (previewWindow(*this, request) == 1 ? 1 : 0) : fail(seNotReady);
    }
    if (AfterPreview) AfterPreview(*this);
    return result;
}

int TSestava::Print() {
    if (Platform::current().printers().isEmpty()) {
        Platform::current().warning(QStringLiteral("V systému není nainstalovaná žádná tiskárna."),
                                    QStringLiteral("Varování"));
        return fail(seNoPrinter);
    }
    return PrintOn(Platform::current().currentPrinterIndex());
}

int TSestava::PrintOn(int printerIndex) {
    return PrintEx(printerIndex, QString());
}

int TSestava::PrintEx(int printerIndex, const QString& port) {
    if (g_busy) return fail(seBusy);
    BusyGuard guard;
    if (BeforePrint) BeforePrint(*this);
    int result = Prepare();
    if (result == seOk)
        result = printerOutput ? fail(printerOutput(*this, printerIndex, port)) : fail(seNotReady);
    if (AfterPrint) AfterPrint(*this);
    return result;
}

int TSestava::whileBusy(const std::function<int()>& work) {
    if (g_busy) return fail(seBusy);
    BusyGuard guard;
    return work();
}

int TSestava::Edit() {
    if (BeforeEdit) BeforeEdit(*this);
    int result = seNotReady;
    if (ready() && designerWindow) {
        takeFieldNames();
        result = LoadTemplate(true);
        if (result == seOk) {
            designerWindow(*this);
            // A designer session has no confirming close: it ends with 3, which is no failure.
            result = seCancelled;
        } else {
            fail(result);
        }
    } else {
        fail(result);
    }
    closeOpenedTables();
    if (AfterEdit) AfterEdit(*this);
    return result;
}

bool TSestava::dataReady(TSestavaD& report) {
    if (!report.eventMode()) {
        Platform& ui = Platform::current();
        if (!report.DataSource) {
            ui.error(QStringLiteral("Není definován zdroj dat."));
            return false;
        }
        if (!report.DataSource->active()) {
            MessageBox box;
            box.caption = QStringLiteral("Potvrzení");
            box.text = QStringLiteral("Připojená tabulka není aktivní. Zkusit otevřít?");
            box.icon = MessageIcon::Question;
            box.buttons = Button::Yes | Button::No;
            if (ui.messageBox(box) != Button::Yes) return false;
            if (!report.DataSource->open() || !report.DataSource->active()) {
                ui.error(QStringLiteral("Připojenou tabulku se nepodařilo otevřít."));
                return false;
            }
            report.openedByReport_ = true;
        }
    }
    for (TSestDetail* d : report.details())
        if (!dataReady(*d)) return false;
    return true;
}

} // namespace brix::report
