#include "field_chooser.h"

#include "codec.h"
#include "platform.h"
#include "util/path_resolver.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace brix {

bool nactiVyberPolozek(const QString& path, QStringList* fields, QString* error) {
    fields->clear();
    if (!QFileInfo::exists(path)) return true;
    QStringList lines;
    if (!readTextLines(path, &lines, error)) return false;
    for (const QString& line : lines) {
        QString name = line.trimmed();
        if (!name.isEmpty()) *fields << name;
    }
    return true;
}

bool ulozVyberPolozek(const QString& path, const QStringList& fields, QString* error) {
    QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error) *error = QStringLiteral("Adresář %1 nelze založit").arg(info.absolutePath());
        return false;
    }
    return writeTextLines(path, fields, error);
}

TFormVyberPol::TFormVyberPol(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormVyberPol"));
    setWindowTitle(QStringLiteral("Výběr Položek z tabulky :"));
    auto* lay = new QVBoxLayout(this);
    auto* lists = new QGridLayout;
    ListBoxTable = new QListWidget(this);
    ListBoxTable->setObjectName(QStringLiteral("ListBoxTable"));
    ListBoxVyber = new QListWidget(this);
    ListBoxVyber->setObjectName(QStringLiteral("ListBoxVyber"));
    lists->addWidget(ListBoxTable, 0, 0);
    lists->addWidget(ListBoxVyber, 0, 1);
    lay->addLayout(lists, 1);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("Jméno souboru:"), this));
    LabelSoubor = new QLabel(this);
    LabelSoubor->setTextFormat(Qt::PlainText);
    fileRow->addWidget(LabelSoubor, 1);
    lay->addLayout(fileRow);
    auto* box = new QDialogButtonBox(this);
    ButtonOk = box->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ButtonZrus = box->addButton(QStringLiteral("&Zruš"), QDialogButtonBox::RejectRole);
    ButtonOk->setAutoDefault(false);
    ButtonZrus->setAutoDefault(false);
    lay->addWidget(box);
    connect(ListBoxTable, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { ListBoxTableDblClick(ListBoxTable->row(item)); });
    connect(ListBoxVyber, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { ListBoxVyberDblClick(ListBoxVyber->row(item)); });
    connect(ButtonOk, &QPushButton::clicked, this, [this] { ButtonOkClick(); });
    connect(ButtonZrus, &QPushButton::clicked, this, &QDialog::reject);
    resize(460, 380);
}

bool TFormVyberPol::setDataSource(const DataSource& source) {
    source_ = DataSource();
    ListBoxTable->clear();
    if (!checkDataSource(&source)) return false;
    source_ = source;
    for (int i = 0; i < source.table->fieldCount(); ++i)
        ListBoxTable->addItem(source.table->fieldDef(i).name);
    return true;
}

void TFormVyberPol::setFileName(const QString& fileName) {
    fileName_ = fileName;
    LabelSoubor->setText(fileName);
}

QString TFormVyberPol::filePath() const {
    if (fileName_.isEmpty()) return QString();
    QString unix = QString(fileName_).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isAbsolutePath(unix)) return unix;
    const QString root = source_.table ? source_.table->database().root() : QDir::currentPath();
    return resolvedFilePath(root, fileName_);
}

QStringList TFormVyberPol::chosenFields() const {
    QStringList out;
    for (int i = 0; i < ListBoxVyber->count(); ++i)
        out << ListBoxVyber->item(i)->text();
    return out;
}

void TFormVyberPol::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    QString name = source_.name;
    if (name.isEmpty() && source_.table) name = defaultSourceName(*source_.table);
    setWindowTitle(QStringLiteral("Jméno zdroje dat :") + name);
    ListBoxVyber->clear();
    const QString path = filePath();
    if (path.isEmpty()) return;
    QStringList fields;
    QString error;
    if (!nactiVyberPolozek(path, &fields, &error)) {
        Platform::current().error(error);
        return;
    }
    ListBoxVyber->addItems(fields);
}

void TFormVyberPol::ListBoxTableDblClick(int row) {
    if (QListWidgetItem* item = ListBoxTable->item(row)) ListBoxVyber->addItem(item->text());
}

void TFormVyberPol::ListBoxVyberDblClick(int row) {
    delete ListBoxVyber->takeItem(row);
}

void TFormVyberPol::ButtonOkClick() {
    const QString path = filePath();
    if (path.isEmpty()) {
        Platform::current().error(QStringLiteral("Není zadáno jméno souboru pro výběr položek"));
        return;
    }
    QString error;
    if (!ulozVyberPolozek(path, chosenFields(), &error)) {
        Platform::current().error(error);
        return;
    }
    accept();
}

bool vyberPolozky(QWidget* parent, const DataSource& source, const QString& fileName,
                  QStringList* chosen) {
    TFormVyberPol form(parent);
    if (!form.setDataSource(source)) return false;
    form.setFileName(fileName);
    if (Platform::current().execModal(form) != QDialog::Accepted) return false;
    if (chosen) *chosen = form.chosenFields();
    return true;
}

} // namespace brix
