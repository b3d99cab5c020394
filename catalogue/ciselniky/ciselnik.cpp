#include "ciselnik.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace brix {

namespace {

RegisterConfig sloupce(RegisterConfig config, const QList<PoleCiselniku>& pole) {
    if (config.columns.isEmpty())
        for (const PoleCiselniku& p : pole)
            if (p.vMrizce && p.box != PoleCiselniku::Box::Memo)
                config.columns.push_back({p.pole, p.popisek, 0});
    return config;
}

} // namespace

TFormulCiselnik::TFormulCiselnik(const QString& jmeno, Table& table, RegisterConfig config,
                                 QList<PoleCiselniku> pole, QWidget* parent)
    : RegisterForm(table, sloupce(std::move(config), pole), parent), pole_(std::move(pole)) {
    setObjectName(jmeno);
    // The bound boxes live in the form layout at the top of the entry area; the list boxes of
    // this form join it in the order of the fields.
    auto* form = qobject_cast<QFormLayout*>(entryArea()->layout()->itemAt(0)->layout());
    for (const PoleCiselniku& p : pole_) {
        using B = PoleCiselniku::Box;
        switch (p.box) {
        case B::Pole:
            boxy_.insert(p.pole.toUpper(), addField(p.pole, p.popisek, p.napoveda));
            break;
        case B::Memo:
            boxy_.insert(p.pole.toUpper(), addMemo(p.pole, p.popisek, p.napoveda));
            break;
        case B::Zaskrtnuti:
            boxy_.insert(p.pole.toUpper(), addCheck(p.pole, p.popisek, p.napoveda));
            break;
        case B::Seznam:
        case B::SeznamAJine: {
            const Field f = table.field(p.pole);
            auto* combo = new QComboBox(entryArea());
            combo->setObjectName(QStringLiteral("Combo") + f.name());
            combo->setEditable(p.box == B::SeznamAJine);
            combo->addItems(p.seznam);
            combo->setStatusTip(p.napoveda);
            combo->setToolTip(p.napoveda);
            if (QLineEdit* e = combo->lineEdit()) {
                if (f.kind() == FieldKind::Text) e->setMaxLength(f.size());
                e->setStatusTip(p.napoveda);
            }
            form->addRow(p.popisek, combo);
            boxy_.insert(p.pole.toUpper(), combo);
            bindWidget(f.name(), combo);
            break;
        }
        case B::Text: {
            const Field f = table.field(p.pole);
            auto* edit = new EditBox(EditBox::Kind::Text, entryArea());
            edit->setObjectName(QStringLiteral("Edit") + f.name());
            edit->setMaxLength(f.kind() == FieldKind::Text ? f.size() : 20);
            edit->setHint(p.napoveda);
            form->addRow(p.popisek, edit);
            boxy_.insert(p.pole.toUpper(), edit);
            bindWidget(f.name(), edit);
            break;
        }
        case B::JenMrizka:
            break;
        }
    }
}

QWidget* TFormulCiselnik::box(const QString& pole) const {
    return boxy_.value(pole.toUpper());
}

EditBox* TFormulCiselnik::editBox(const QString& pole) const {
    return qobject_cast<EditBox*>(box(pole));
}

QComboBox* TFormulCiselnik::seznam(const QString& pole) const {
    return qobject_cast<QComboBox*>(box(pole));
}

bool TFormulCiselnik::storeEntry() {
    const TableState s = table().state();
    if ((s == TableState::Edit || s == TableState::Insert) && !kontrolaVstupu()) return false;
    return RegisterForm::storeEntry();
}

} // namespace brix
