#include "sestava.h"

#include "codec.h"
#include "formatting.h"
#include "platform.h"
#include "templatefile.h"
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

} // namespace

// ---- TSestavaTyp -------------------------------------------------------------------------

TSestavaTyp::TSestavaTyp() = default;

TSestavaTyp::~TSestavaTyp() {
    for (TSestDetail* d : details_)
        d->master_ = nullptr;
}

int TSestavaTyp::dataFieldIndex(QStringView name) const {
    for (int i = 0; i < fieldNames.size(); ++i)
        if (fieldNames[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QString TSestavaTyp::dataFieldLabel(int index) const {
    return index >= 0 && index < fieldLabels.size() ? fieldLabels[index] : QString();
}

int TSestavaTyp::dataFieldType(int) const {
    return ftUnknown;
}
int TSestavaTyp::dataAlignment(int) const {
    return AlignLeft;
}
int TSestavaTyp::dataDisplayWidth(int) const {
    return 10;
}

QString TSestavaTyp::dataDisplayText(int index) const {
    if (index >= 0 && index < values.size()) return values[index];
    return QStringLiteral("Položka ?");
}

double TSestavaTyp::dataNumber(int) const {
    return 0;
}
bool TSestavaTyp::dataIsNull(int) const {
    return false;
}
QString TSestavaTyp::dataMemoText(int index) const {
    return dataDisplayText(index);
}
TStepResult TSestavaTyp::dataStep(TStepDir) {
    return srBegin | srEnd;
}

QString TSestavaTyp::templateDirectory() const {
    return QString();
}

// ---- TSestavaD ---------------------------------------------------------------------------

int TSestavaD::dataFieldCount() const {
    if (eventMode() || !DataSource) return int(fieldNames.size());
    return DataSource->fieldCount();
}

QString TSestavaD::dataFieldName(int index) const {
    if (eventMode() || !DataSource)
        return index >= 0 && index < fieldNames.size() ? fieldNames[index] : QString::number(index);
    return DataSource->fieldName(index);
}

QString TSestavaD::dataFieldLabel(int index) const {
    if (eventMode() || !DataSource) return TSestavaTyp::dataFieldLabel(index);
    return DataSource->fieldLabel(index);
}

int TSestavaD::dataFieldType(int index) const {
    int t = eventMode() || !DataSource ? int(ftString) : DataSource->fieldType(index);
    if (OnGetDataType) OnGetDataType(const_cast<TSestavaD&>(*this), index, t);
    return t;
}

int TSestavaD::dataAlignment(int index) const {
    int a = eventMode() || !DataSource ? int(AlignLeft) : DataSource->alignment(index);
    if (OnGetAlignment) OnGetAlignment(const_cast<TSestavaD&>(*this), index, a);
    return a;
}

int TSestavaD::dataDisplayWidth(int index) const {
    if (eventMode() || !DataSource) return 10;
    return DataSource->displayWidth(index);
}

QString TSestavaD::dataDisplayText(int index) const {
    if (eventMode() || !DataSource) return TSestavaTyp::dataDisplayText(index);
    if (index < 0 || index >= DataSource->fieldCount()) return QString();
    return DataSource->displayText(index);
}

double TSestavaD::dataNumber(int index) const {
    if (eventMode() || !DataSource)
        return index >= 0 && index < values.size() ? lenientNumber(values[index]) : 0.0;
    if (index < 0 || index >= DataSource->fieldCount()) return 0;
    return DataSource->number(index);
}

bool TSestavaD::dataIsNull(int index) const {
    if (eventMode() || !DataSource) return false;
    if (index < 0 || index >= DataSource->fieldCount()) return false;
    return DataSource->isNull(index);
}

QString TSestavaD::dataMemoText(int index) const {
    if (eventMode() || !DataSource) return dataDisplayText(index);
    if (index < 0 || index >= DataSource->fieldCount()) return QString();
    return DataSource->memoText(index);
}

TStepResult TSestavaD::dataStep(TStepDir dir) {
    TStepResult r = srBegin | srEnd;
    if (OnStepData)
        r = OnStepData(*this, dir);
    else if (DataSource && !eventMode())
        r = DataSource->step(dir);
    getData();
    return r;
}

void TSestavaD::getData() {
    if (OnGetData) OnGetData(*this);
}

bool TSestavaD::dataReady() {
    if (!eventMode()) {
        Platform& ui = Platform::current();
        if (!DataSource) {
            ui.error(QStringLiteral("Není definován zdroj dat."));
            return false;
        }
        if (!DataSource->active()) {
            MessageBox box;
            box.caption = QStringLiteral("Potvrzení");
            box.text = QStringLiteral("Připojená tabulka není aktivní. Zkusit otevřít?");
            box.icon = MessageIcon::Question;
            box.buttons = Button::Yes | Button::No;
            if (ui.messageBox(box) != Button::Yes) return false;
            if (!DataSource->open() || !DataSource->active()) {
                ui.error(QStringLiteral("Připojenou tabulku se nepodařilo otevřít."));
                return false;
            }
            openedByReport_ = true;
        }
    }
    for (TSestDetail* d : details_)
        if (!d->dataReady()) return false;
    return true;
}

void TSestavaD::takeFieldNames() {
    if (!eventMode() && DataSource) {
        fieldNames.clear();
        fieldLabels.clear();
        for (int i = 0; i < DataSource->fieldCount(); ++i) {
            fieldNames << DataSource->fieldName(i);
            fieldLabels << DataSource->fieldLabel(i);
        }
    }
    for (TSestDetail* d : details_)
        d->takeFieldNames();
}

void TSestavaD::closeOpenedTables() {
    if (openedByReport_ && DataSource) DataSource->close();
    openedByReport_ = false;
    for (TSestDetail* d : details_)
        d->closeOpenedTables();
}

// ---- TSestava ----------------------------------------------------------------------------

TSestava::TSestava() {
    programDir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
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
    // Aliases of a database session do not exist here; an alias counts as unset.
    const QString base =
        ReportDirIgnore
            ? programDir
            : QDir(reportDir_.isEmpty() ? QStringLiteral(".") : reportDir_).absolutePath();
    const QString resolved = resolvedFilePath(base, name);
    return resolved.isEmpty() ? QDir(base).filePath(name) : resolved;
}

QString TSestava::templateDirectory() const {
    const QString f = fullFileName();
    return f.isEmpty() ? QString() : QFileInfo(f).absolutePath();
}

bool TSestava::ready() {
    if (!dataReady()) return false;
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
    const QString path = fullFileName();
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
        result = runReport();
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
    if (g_busy) return fail(seBusy);
    BusyGuard guard;
    if (BeforePreview) BeforePreview(*this);
    int result = Prepare(); // a failed preparation has raised the error event already
    if (result == seOk) {
        // Closing the preview, confirmed or not, is no failure: 1 or 0 without the error event.
        result = previewWindow ? (previewWindow(*this) == 1 ? 1 : 0) : fail(seNotReady);
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
    if (g_busy) return fail(seBusy);
    BusyGuard guard;
    if (BeforePrint) BeforePrint(*this);
    int result = Prepare();
    if (result == seOk)
        result = printerOutput ? fail(printerOutput(*this, printerIndex)) : fail(seNotReady);
    if (AfterPrint) AfterPrint(*this);
    return result;
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

// ---- TSestDetail -------------------------------------------------------------------------

TSestDetail::~TSestDetail() {
    setMasterSestava(nullptr);
}

void TSestDetail::setMasterSestava(TSestavaTyp* master) {
    if (master_) {
        auto& list = master_->details_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    master_ = master;
    if (master_) master_->details_.push_back(this);
}

void TSestDetail::loadLines(const TPredloha& lines) {
    definition.isDetail = true;
    loadDefinition(definition, lines, &fieldNames);
    if (!definition.description.isEmpty()) Popis = definition.description;
    // A detail inside this detail takes its lines from this detail's own "D" lines.
    for (size_t i = 0; i < details_.size(); ++i)
        details_[i]->loadLines(definition.detailTemplates.value(int(i)));
}

TPredloha TSestavaTyp::linesWithDetails() {
    for (size_t i = 0; i < details_.size(); ++i)
        definition.detailTemplates[int(i)] = details_[i]->linesWithDetails();
    return saveDefinition(definition);
}

QString TSestDetail::templateDirectory() const {
    return master_ ? master_->templateDirectory() : QString();
}

} // namespace brix::report
