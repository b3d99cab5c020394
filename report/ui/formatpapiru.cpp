#include "formatpapiru.h"

#include "platform.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace brix::report {

TDlgFormatPapiru::TDlgFormatPapiru(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgFormatPapiru"));
    setWindowTitle(QStringLiteral("Formát papíru"));
    auto* l = new QVBoxLayout(this);
    auto* f = new QFormLayout;
    EditNazev = new QLineEdit(this);
    EditNazev->setObjectName(QStringLiteral("EditNazev"));
    EditNazev->setMaxLength(kFormatNameLength);
    EditNazev->setMinimumWidth(EditNazev->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 20);
    EditSirka = new QLineEdit(this);
    EditSirka->setObjectName(QStringLiteral("EditSirka"));
    EditVyska = new QLineEdit(this);
    EditVyska->setObjectName(QStringLiteral("EditVyska"));
    f->addRow(QStringLiteral("Název formátu:"), EditNazev);
    f->addRow(QStringLiteral("Šířka papíru:"), EditSirka);
    f->addRow(QStringLiteral("Výška papíru:"), EditVyska);
    l->addLayout(f);
    auto* b = new QHBoxLayout;
    b->addStretch();
    ButtonKonec = new QPushButton(QStringLiteral("Konec"), this);
    ButtonKonec->setObjectName(QStringLiteral("ButtonKonec"));
    ButtonKonec->setDefault(true);
    ButtonZpet = new QPushButton(QStringLiteral("Zpět"), this);
    ButtonZpet->setObjectName(QStringLiteral("ButtonZpet"));
    b->addWidget(ButtonKonec);
    b->addWidget(ButtonZpet);
    l->addLayout(b);
    connect(ButtonKonec, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonZpet, &QPushButton::clicked, this, &QDialog::reject);
}

void TDlgFormatPapiru::setFormat(const TFormatPapiru& format, bool editable) {
    editable_ = editable;
    EditNazev->setText(format.name);
    EditSirka->setText(QString::number(format.width));
    EditVyska->setText(QString::number(format.height));
    for (QLineEdit* e : {EditNazev, EditSirka, EditVyska})
        e->setReadOnly(!editable);
    (editable ? EditNazev : static_cast<QWidget*>(ButtonKonec))->setFocus();
}

bool EditFormat(TListFormatu& list, int index, bool editable, QWidget* parent) {
    if (index < 0 || index >= list.count()) return false;
    editable = editable && !list.isBuiltIn(index);
    TDlgFormatPapiru dlg(parent);
    dlg.setFormat(list.items[size_t(index)], editable);
    if (Platform::current().execModal(dlg) != QDialog::Accepted) return false;
    if (editable)
        list.store(index, dlg.EditNazev->text(), dlg.EditSirka->text(), dlg.EditVyska->text());
    return true;
}

} // namespace brix::report
