#include "export_dialog.h"

#include "export/table_export.h"
#include "platform.h"
#include "util/path_resolver.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <climits>

namespace brix {

TFormulExportDat::TFormulExportDat(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormulExportDat"));
    setWindowTitle(QStringLiteral("Export dat"));
    auto* lay = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    EditCesta = new QLineEdit(QStringLiteral("ExportDbf\\"), this);
    // Room for a directory path, not only the default's few letters.
    EditCesta->setMinimumWidth(EditCesta->fontMetrics().averageCharWidth() * 40);
    form->addRow(QStringLiteral("Cesta exportu :"), EditCesta);
    lay->addLayout(form);
    auto* group = new QGroupBox(QStringLiteral("Formát dat"), this);
    auto* gl = new QVBoxLayout(group);
    RadioParadox = new QRadioButton(QStringLiteral("Paradox"), group);
    RadioDbase = new QRadioButton(QStringLiteral("DBase IV"), group);
    RadioText = new QRadioButton(QStringLiteral("Textový soubor"), group);
    RadioParadox->setChecked(true);
    gl->addWidget(RadioParadox);
    gl->addWidget(RadioDbase);
    gl->addWidget(RadioText);
    lay->addWidget(group);
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    auto* cancel = buttons->addButton(QStringLiteral("&Zruš"), QDialogButtonBox::RejectRole);
    ok->setObjectName(QStringLiteral("ButtonOk"));
    cancel->setObjectName(QStringLiteral("ButtonZrus"));
    connect(ok, &QPushButton::clicked, this, [this] { ButtonOkClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    lay->addWidget(buttons);
}

bool TFormulExportDat::setMaster(Table* master) {
    master_ = nullptr;
    if (!master) {
        Platform::current().error(QStringLiteral("Není zadán zdroj dat."));
        return false;
    }
    if (!master->active()) {
        Platform::current().error(
            QStringLiteral("Tabulka %1 není otevřena.").arg(master->def().address()));
        return false;
    }
    master_ = master;
    return true;
}

QString TFormulExportDat::targetDirectory() const {
    QString dir = EditCesta->text().trimmed();
    if (dir.isEmpty()) dir = QStringLiteral("ExportDbf\\");
    QString unix = QString(dir).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isAbsolutePath(unix) || !master_) return unix;
    return resolvePath(master_->database().root(), dir).path;
}

void TFormulExportDat::ButtonOkClick() {
    if (!master_) {
        accept();
        return;
    }
    exporting::Format f = RadioDbase->isChecked()  ? exporting::Format::Dbase
                          : RadioText->isChecked() ? exporting::Format::Text
                                                   : exporting::Format::Paradox;
    const qint64 total = master_->recordCount();
    QProgressDialog progress(QStringLiteral("Probíhá export dat..."), QStringLiteral("&Zruš"), 0,
                             int(qMin<qint64>(total, INT_MAX)), this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    exporting::Result r;
    {
        BusyCursor busy;
        r = exporting::exportTables(
            f, targetDirectory(), *master_, detail_,
            [&](qint64 n) {
                progress.setValue(int(qMin<qint64>(n, INT_MAX)));
                return !progress.wasCanceled();
            },
            names_);
    }
    progress.reset();
    if (!r.ok) {
        // Nothing was written as asked: the dialog stays for another directory or format.
        Platform::current().error(r.error);
        EditCesta->setFocus();
        return;
    }
    QStringList lines;
    lines << QStringLiteral("Export dat je hotov.")
          << QStringLiteral("Záznamů: %1 do souboru %2")
                 .arg(r.masterRecords)
                 .arg(QDir::toNativeSeparators(r.files.value(0)));
    if (detail_ && r.files.size() > 1)
        lines << QStringLiteral("Položek: %1 do souboru %2")
                     .arg(r.detailRecords)
                     .arg(QDir::toNativeSeparators(r.files.value(1)));
    Platform::current().information(lines.join(QLatin1Char('\n')));
    accept();
}

void TFormulExportDat::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(e);
}

QString ExportDoTabulky(Table& t) {
    if (t.fieldCount() == 0) return QString();
    const QString dir = resolvePath(t.database().root(), u"Prac_Db").path;
    QString error;
    QString path;
    {
        BusyCursor busy;
        path = exporting::exportWorkbook(t, dir, &error);
    }
    if (path.isEmpty()) {
        Platform::current().error(error);
        return QString();
    }
    if (!Platform::current().openDocument(path))
        Platform::current().error(
            QStringLiteral("Sešit %1 byl uložen, ale žádná aplikace jej neotevřela.").arg(path));
    return path;
}

} // namespace brix
