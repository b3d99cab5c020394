#include "spravcetisku.h"

#include "platform.h"
#include "templatefile.h"
#include "util/path_resolver.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace brix::report {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kExtraRole = Qt::UserRole + 1;

// Characters no file name of the system may hold (the data root may be shared with Windows
// copies of the program).
bool forbiddenCharacter(QChar c) {
    return c.unicode() < 32 || QStringLiteral("<>:\"/\\|?*").contains(c);
}

} // namespace

TFormSpravceTisku::TFormSpravceTisku(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormSpravceTisku"));
    setWindowTitle(QStringLiteral("Tiskový správce"));
    auto* l = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    ListSestavy = new QTreeWidget(this);
    ListSestavy->setObjectName(QStringLiteral("ListSestavy"));
    ListSestavy->setColumnCount(2);
    ListSestavy->setHeaderLabels({QStringLiteral("Soubor"), QStringLiteral("Popis")});
    ListSestavy->setRootIsDecorated(false);
    ListSestavy->setSelectionMode(QAbstractItemView::SingleSelection);
    ListSestavy->setAllColumnsShowFocus(true);
    ListSestavy->header()->setStretchLastSection(true);
    ListSestavy->setMinimumSize(460, 260);
    auto* label = new QLabel(QStringLiteral("Sestava :"), this);
    label->setBuddy(ListSestavy);
    left->addWidget(label);
    left->addWidget(ListSestavy, 1);
    l->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto button = [this, right](const QString& caption, const char* name, auto slot) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        right->addWidget(b);
        return b;
    };
    right->addSpacing(label->sizeHint().height());
    ButtonOprav = button(QStringLiteral("&Oprav"), "ButtonOprav", &TFormSpravceTisku::OpravClick);
    ButtonPreview =
        button(QStringLiteral("&Preview"), "ButtonPreview", &TFormSpravceTisku::PreviewClick);
    ButtonTiskni =
        button(QStringLiteral("&Tiskni"), "ButtonTiskni", &TFormSpravceTisku::TiskniClick);
    ButtonNovy = button(QStringLiteral("&Nový"), "ButtonNovy", &TFormSpravceTisku::NovyClick);
    ButtonDalsi =
        button(QStringLiteral("Další sestavy"), "ButtonDalsi", &TFormSpravceTisku::DalsiClick);
    ButtonTiskDoSouboru = button(QStringLiteral("Tisk do souboru"), "ButtonTiskDoSouboru",
                                 &TFormSpravceTisku::TiskDoSouboruClick);
    right->addStretch();
    l->addLayout(right);
    connect(ListSestavy, &QTreeWidget::itemDoubleClicked, this, &TFormSpravceTisku::PreviewClick);
}

TFormSpravceTisku::~TFormSpravceTisku() {
    // The detail leaves its master before either goes.
    if (SestDetail1.MasterSestava()) SestDetail1.setMasterSestava(nullptr);
}

void TFormSpravceTisku::setDetailSource(TBridge* source) {
    SestDetail1.DataSource = source;
    SestDetail1.setMasterSestava(source ? &Sestava1 : nullptr);
}

QString TFormSpravceTisku::directoryPath() const {
    QString dir = Adresar.trimmed();
    if (dir.isEmpty()) return QString();
    dir.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QFileInfo(dir).isAbsolute()) return QFileInfo(dir).isDir() ? dir : QString();
    const ResolvedPath p = resolvePath(Sestava1.templateBaseDir(), dir);
    return p.exists && p.isDir ? p.path : QString();
}

QTreeWidgetItem* TFormSpravceTisku::addEntry(const QString& path, const QString& description,
                                             bool extra) {
    // A file of the directory is named by its name, whether the list found it or the user.
    const QString dir = directoryPath();
    if (extra && !dir.isEmpty() &&
        QFileInfo(path).absolutePath().compare(QFileInfo(dir).absoluteFilePath(),
                                               Qt::CaseInsensitive) == 0)
        extra = false;
    auto* item = new QTreeWidgetItem(ListSestavy);
    item->setText(0, extra ? QDir::toNativeSeparators(path) : QFileInfo(path).fileName());
    item->setText(1, description);
    item->setData(0, kPathRole, path);
    item->setData(0, kExtraRole, extra);
    return item;
}

void TFormSpravceTisku::refresh() {
    const QString chosen = chosenFile();
    ListSestavy->clear();
    const QString dir = directoryPath();
    if (!dir.isEmpty())
        for (const TSouborPredlohy& t : listTemplates(dir, Prefix + QLatin1Char('*')))
            addEntry(t.path, t.description, false);
    for (const QString& path : extra_)
        addEntry(path, readTemplateDescription(path), true);
    ListSestavy->resizeColumnToContents(0);
    if (chosen.isEmpty() || !choose(chosen))
        ListSestavy->setCurrentItem(ListSestavy->topLevelItem(0));
}

QString TFormSpravceTisku::chosenFile() const {
    const QTreeWidgetItem* item = ListSestavy->currentItem();
    return item && item->isSelected() ? item->data(0, kPathRole).toString() : QString();
}

bool TFormSpravceTisku::choose(const QString& fileName) {
    const QString wanted = QFileInfo(fileName).absoluteFilePath();
    for (int i = 0; i < ListSestavy->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = ListSestavy->topLevelItem(i);
        const QString path = QFileInfo(item->data(0, kPathRole).toString()).absoluteFilePath();
        if (path.compare(wanted, Qt::CaseInsensitive) == 0) {
            ListSestavy->setCurrentItem(item);
            return true;
        }
    }
    return false;
}

int TFormSpravceTisku::spust() {
    int result = QDialog::Rejected;
    if (Adresar.trimmed().isEmpty()) {
        Platform::current().error(
            QStringLiteral("Pro správce tisku není určena cesta, funkce nebude dokončena "));
    } else {
        refresh();
        result = Platform::current().execModal(*this);
    }
    Adresar.clear();
    Prefix.clear();
    return result;
}

void TFormSpravceTisku::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Platform::current().beep();
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFormSpravceTisku::checkSelection() {
    const QList<QTreeWidgetItem*> items = ListSestavy->selectedItems();
    if (items.isEmpty()) return false;
    bool ok = true;
    for (const QTreeWidgetItem* item : items) {
        if (QFileInfo(item->data(0, kPathRole).toString()).isFile()) continue;
        Platform::current().error(QStringLiteral("Soubor: ") + item->text(0) +
                                  QStringLiteral(" neexistuje"));
        ok = false;
    }
    return ok;
}

bool TFormSpravceTisku::takeChosen() {
    if (!checkSelection()) return false;
    const QTreeWidgetItem* item = ListSestavy->currentItem();
    const QString path = item->data(0, kPathRole).toString();
    if (item->data(0, kExtraRole).toBool()) {
        Sestava1.setReportName(path);
    } else {
        QString dir = Adresar;
        if (!dir.endsWith(QLatin1Char('\\')) && !dir.endsWith(QLatin1Char('/')))
            dir += QLatin1Char('\\');
        Sestava1.setReportName(dir + QFileInfo(path).fileName());
    }
    return true;
}

void TFormSpravceTisku::OpravClick() {
    if (!takeChosen()) return;
    const QString file = chosenFile();
    Sestava1.Edit();
    refresh();
    choose(file);
}

void TFormSpravceTisku::PreviewClick() {
    if (takeChosen()) Sestava1.PrintPreview();
}

void TFormSpravceTisku::TiskniClick() {
    if (takeChosen()) Sestava1.Print();
}

QString TFormSpravceTisku::newTemplateFile(const QString& typed, QString* reason) const {
    QString name = typed;
    while (!name.isEmpty() && name.back().isSpace())
        name.chop(1);
    if (name.trimmed().isEmpty()) return QString();
    if (name.endsWith(QLatin1String(".pts"), Qt::CaseInsensitive)) name.chop(4);
    const bool forbidden =
        name.isEmpty() || name.contains(QLatin1String("..")) ||
        std::any_of(name.begin(), name.end(), [](QChar c) { return forbiddenCharacter(c); });
    if (forbidden) {
        if (reason) *reason = QStringLiteral("Jméno sestavy obsahuje nepovolené znaky.");
        return QString();
    }
    QString dir = Adresar;
    if (!dir.endsWith(QLatin1Char('\\')) && !dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('\\');
    return dir + Prefix + name + QStringLiteral(".pts");
}

void TFormSpravceTisku::NovyClick() {
    Platform& ui = Platform::current();
    QString typed;
    if (!ui.inputQuery(QStringLiteral("Název sestavy"),
                       QStringLiteral("Jméno souboru s novou sestavou"), typed))
        return;
    QString reason;
    const QString name = newTemplateFile(typed, &reason);
    if (name.isEmpty()) {
        if (!reason.isEmpty()) ui.error(reason);
        return;
    }
    Sestava1.setReportName(name);
    // The designer offers to create the file.
    Sestava1.Edit();
    refresh();
    choose(Sestava1.fullFileName());
}

void TFormSpravceTisku::DalsiClick() {
    const QString file =
        Platform::current().openFileName(QStringLiteral("Další sestavy"), directoryPath(),
                                         QStringLiteral("tiskové sestavy (*.pts)"));
    if (file.isEmpty()) return;
    // The full path: a file of another directory is found again by the commands.
    const QString path = QFileInfo(file).absoluteFilePath();
    if (!choose(path)) {
        extra_ << path;
        refresh();
        choose(path);
    }
}

void TFormSpravceTisku::TiskDoSouboruClick() {
    if (!takeChosen()) return;
    const QString port = QDir(Sestava1.templateBaseDir()).filePath(textFileName());
    if (Sestava1.PrintEx(Tiskarna, port) == seOk)
        Platform::current().information(
            QStringLiteral("Sestava byla uložena v souboru \"%1\"").arg(textFileName()),
            caption::Zprava);
}

} // namespace brix::report
