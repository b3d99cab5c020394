#include "printdialog.h"

#include "platform.h"
#include "templatefile.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace brix::report {

namespace {

bool samePath(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath(), cb = QFileInfo(b).canonicalFilePath();
    return !ca.isEmpty() ? ca == cb
                         : QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

QLabel* buddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

} // namespace

// ---- choosers -------------------------------------------------------------------------------

TComboBoxPrinter::TComboBoxPrinter(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("ComboPrinter"));
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

void TComboBoxPrinter::fill() {
    clear();
    Platform& ui = Platform::current();
    addItems(ui.printerNames());
    setCurrentIndex(ui.currentPrinterIndex());
}

TComboBoxPredloha::TComboBoxPredloha(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("ComboPredloha"));
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    setMinimumContentsLength(30);
}

void TComboBoxPredloha::fill(const QString& directory, const QString& currentFile,
                             const QString& caption) {
    clear();
    int chosen = -1;
    if (!directory.isEmpty()) {
        for (const TSouborPredlohy& t : listTemplates(directory, QStringLiteral("*"))) {
            if (chosen < 0 && !currentFile.isEmpty() && samePath(t.path, currentFile))
                chosen = count();
            addItem(t.caption, t.path);
        }
    }
    if (chosen < 0) {
        insertItem(0, caption, currentFile);
        chosen = 0;
    }
    setCurrentIndex(chosen);
}

QString TComboBoxPredloha::chosenFile() const {
    return currentData().toString();
}

// ---- the dialog -----------------------------------------------------------------------------

TSestPrintDlg::TSestPrintDlg(TSestava& report, QWidget* parent) : QDialog(parent), report_(report) {
    setObjectName(QStringLiteral("SestPrintDlg"));
    setWindowTitle(QStringLiteral("Tisk"));
    auto* l = new QVBoxLayout(this);

    auto* tiskarna = new QGroupBox(QStringLiteral("Tiskárna"), this);
    auto* tg = new QGridLayout(tiskarna);
    ComboPrinter = new TComboBoxPrinter(tiskarna);
    ButtonVlastnosti = new QPushButton(QStringLiteral("&Vlastnosti..."), tiskarna);
    ButtonVlastnosti->setObjectName(QStringLiteral("ButtonVlastnosti"));
    LabelTyp = new QLabel(tiskarna);
    LabelTyp->setObjectName(QStringLiteral("LabelTyp"));
    LabelKde = new QLabel(tiskarna);
    LabelKde->setObjectName(QStringLiteral("LabelKde"));
    CheckSoubor = new QCheckBox(QStringLiteral("Tisknout do &souboru"), tiskarna);
    CheckSoubor->setObjectName(QStringLiteral("CheckSoubor"));
    tg->addWidget(buddyLabel(QStringLiteral("Ná&zev:"), ComboPrinter, tiskarna), 0, 0);
    tg->addWidget(ComboPrinter, 0, 1);
    tg->addWidget(ButtonVlastnosti, 0, 2);
    tg->addWidget(new QLabel(QStringLiteral("Typ:"), tiskarna), 1, 0);
    tg->addWidget(LabelTyp, 1, 1, 1, 2);
    tg->addWidget(new QLabel(QStringLiteral("Kde:"), tiskarna), 2, 0);
    tg->addWidget(LabelKde, 2, 1);
    tg->addWidget(CheckSoubor, 2, 2);
    tg->setColumnStretch(1, 1);
    l->addWidget(tiskarna);

    auto* rozsah = new QGroupBox(QStringLiteral("Rozsah stránek:"), this);
    auto* rg = new QGridLayout(rozsah);
    const int pages = std::max(1, report.output.pageCount());
    EditOd = new QSpinBox(rozsah);
    EditOd->setObjectName(QStringLiteral("EditOd"));
    EditDo = new QSpinBox(rozsah);
    EditDo->setObjectName(QStringLiteral("EditDo"));
    for (QSpinBox* s : {EditOd, EditDo})
        s->setRange(1, 99999);
    EditOd->setValue(1);
    EditDo->setValue(pages);
    EditKopie = new QSpinBox(rozsah);
    EditKopie->setObjectName(QStringLiteral("EditKopie"));
    EditKopie->setRange(1, 999);
    EditKopie->setValue(std::max(1, report.PrintCopies));
    CheckAktualni = new QCheckBox(QStringLiteral("Tisknout &aktuální stránku"), rozsah);
    CheckAktualni->setObjectName(QStringLiteral("CheckAktualni"));
    CheckJedenZaznam = new QCheckBox(QStringLiteral("Tisknout pouze &jeden záznam"), rozsah);
    CheckJedenZaznam->setObjectName(QStringLiteral("CheckJedenZaznam"));
    CheckJedenZaznam->setChecked(report.TiskJedenZaznam);
    rg->addWidget(buddyLabel(QStringLiteral("&Od stránky:"), EditOd, rozsah), 0, 0);
    rg->addWidget(EditOd, 0, 1);
    rg->addWidget(buddyLabel(QStringLiteral("&Do stránky:"), EditDo, rozsah), 1, 0);
    rg->addWidget(EditDo, 1, 1);
    rg->addWidget(buddyLabel(QStringLiteral("&Počet kopií:"), EditKopie, rozsah), 2, 0);
    rg->addWidget(EditKopie, 2, 1);
    rg->addWidget(CheckAktualni, 0, 2);
    rg->addWidget(CheckJedenZaznam, 1, 2);
    rg->setColumnStretch(2, 1);
    l->addWidget(rozsah);

    auto* formular = new QGroupBox(QStringLiteral("Tiskový formulář:"), this);
    auto* fg = new QGridLayout(formular);
    ComboPredloha = new TComboBoxPredloha(formular);
    ButtonUpravit = new QPushButton(QStringLiteral("&Upravit..."), formular);
    ButtonUpravit->setObjectName(QStringLiteral("ButtonUpravit"));
    CheckVychozi = new QCheckBox(QStringLiteral("Nastavit jako výchozí &formulář"), formular);
    CheckVychozi->setObjectName(QStringLiteral("CheckVychozi"));
    CheckVychozi->setEnabled(!report.ReportName().isEmpty());
    fg->addWidget(buddyLabel(QStringLiteral("Náz&ev:"), ComboPredloha, formular), 0, 0);
    fg->addWidget(ComboPredloha, 0, 1);
    fg->addWidget(ButtonUpravit, 0, 2);
    fg->addWidget(CheckVychozi, 1, 1, 1, 2);
    fg->setColumnStretch(1, 1);
    l->addWidget(formular);

    CheckPozadi = new QCheckBox(QStringLiteral("Tisknout pozadí"), this);
    CheckPozadi->setObjectName(QStringLiteral("CheckPozadi"));
    CheckPozadi->setChecked(report.output.background.print);
    l->addWidget(CheckPozadi);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    ButtonTisk = new QPushButton(QStringLiteral("&Tisk"), this);
    ButtonTisk->setObjectName(QStringLiteral("ButtonTisk"));
    ButtonTisk->setDefault(true);
    ButtonNahled = new QPushButton(QStringLiteral("&Náhled"), this);
    ButtonNahled->setObjectName(QStringLiteral("ButtonNahled"));
    ButtonStorno = new QPushButton(QStringLiteral("Storno"), this);
    ButtonStorno->setObjectName(QStringLiteral("ButtonStorno"));
    buttons->addWidget(ButtonTisk);
    buttons->addWidget(ButtonNahled);
    buttons->addWidget(ButtonStorno);
    l->addLayout(buttons);

    connect(ComboPrinter, &QComboBox::currentIndexChanged, this, &TSestPrintDlg::printerChanged);
    connect(ButtonVlastnosti, &QPushButton::clicked, this, &TSestPrintDlg::ButtonVlastnostiClick);
    connect(CheckAktualni, &QCheckBox::toggled, this, [this](bool on) {
        EditOd->setEnabled(!on);
        EditDo->setEnabled(!on);
    });
    connect(ButtonUpravit, &QPushButton::clicked, this, &TSestPrintDlg::ButtonUpravitClick);
    connect(ButtonTisk, &QPushButton::clicked, this, &TSestPrintDlg::ButtonTiskClick);
    connect(ButtonNahled, &QPushButton::clicked, this, &TSestPrintDlg::ButtonNahledClick);
    connect(ButtonStorno, &QPushButton::clicked, this, &QDialog::reject);

    ComboPrinter->fill();
    printerChanged();
    fillTemplates(shownTemplateFile(report));
    ComboPrinter->setFocus();
}

void TSestPrintDlg::fillTemplates(const QString& chosen) {
    const QString shown = shownTemplateFile(report_);
    const QString dir =
        !shown.isEmpty() ? QFileInfo(shown).absolutePath() : report_.templateDirectory();
    ComboPredloha->fill(dir, chosen,
                        chosen.isEmpty() || samePath(chosen, shown) ? report_.Popis
                                                                    : QFileInfo(chosen).fileName());
}

void TSestPrintDlg::printerChanged() {
    const PrinterDetails d = Platform::current().printerDetails(ComboPrinter->printerIndex());
    LabelTyp->setText(d.driver);
    LabelKde->setText(d.location);
    ButtonVlastnosti->setEnabled(d.valid());
}

TPrintDialogTyp TSestPrintDlg::settings() const {
    TPrintDialogTyp s;
    s.printerIndex = ComboPrinter->printerIndex();
    s.printToFile = CheckSoubor->isChecked();
    s.firstPage = EditOd->value();
    s.lastPage = EditDo->value();
    s.copies = EditKopie->value();
    s.currentPageOnly = CheckAktualni->isChecked();
    s.oneRecord = CheckJedenZaznam->isChecked();
    s.templateFile = ComboPredloha->chosenFile();
    s.setAsDefault = CheckVychozi->isChecked();
    s.printBackground = CheckPozadi->isChecked();
    return s;
}

bool TSestPrintDlg::storeDefault() {
    const TPrintDialogTyp s = settings();
    if (!s.setAsDefault || s.templateFile.isEmpty()) return true;
    QString error;
    if (report_.setDefaultForm(s.templateFile, &error)) return true;
    Platform::current().error(error);
    return false;
}

void TSestPrintDlg::ButtonTiskClick() {
    const TPrintDialogTyp s = settings();
    if (!pageRangeValid(s, report_.output.pageCount(), needsOwnRun(report_, s))) {
        Platform::current().error(QStringLiteral("Rozsah stránek není správný."));
        (CheckAktualni->isChecked() ? static_cast<QWidget*>(CheckAktualni) : EditOd)->setFocus();
        return;
    }
    if (storeDefault()) accept();
}

void TSestPrintDlg::ButtonNahledClick() {
    if (storeDefault()) done(PreviewResult);
}

void TSestPrintDlg::ButtonVlastnostiClick() {
    Platform::current().printerProperties(ComboPrinter->printerIndex());
    printerChanged();
}

void TSestPrintDlg::ButtonUpravitClick() {
    const QString chosen = ComboPredloha->chosenFile();
    editChosenTemplate(report_, chosen);
    // The description may have changed.
    fillTemplates(chosen);
}

} // namespace brix::report
