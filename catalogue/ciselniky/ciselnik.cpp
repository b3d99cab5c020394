#include "ciselnik.h"

#include "platform.h"

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
                config.columns.push_back({p.pole, QString(p.popisek).remove(QLatin1Char('&')), 0});
    return config;
}

QString textCisla(double v) {
    return QString::number(v, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
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
        case B::Pole: {
            EditBox* e = addField(p.pole, p.popisek, p.napoveda);
            if (p.rozsah) e->setRange(p.rozsah->first, p.rozsah->second);
            if (p.velka) e->setUpperCase(true);
            if (p.format != EditBox::Format::Free) e->setFormat(p.format);
            boxy_.insert(p.pole.toUpper(), e);
            break;
        }
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
            combo->installEventFilter(this);
            if (QLineEdit* e = combo->lineEdit()) {
                if (f.kind() == FieldKind::Text) e->setMaxLength(f.size());
                e->setStatusTip(p.napoveda);
                e->installEventFilter(this);
            }
            form->addRow(p.popisek, combo);
            boxy_.insert(p.pole.toUpper(), combo);
            vlastni_.push_back({f.name(), combo, p.rozsah});
            noteEntryWidget(f.name(), p.popisek, combo);
            break;
        }
        case B::Text: {
            const Field f = table.field(p.pole);
            auto* edit = new EditBox(EditBox::Kind::Text, entryArea());
            edit->setObjectName(QStringLiteral("Edit") + f.name());
            edit->setMaxLength(f.kind() == FieldKind::Text ? f.size() : 20);
            edit->setHint(p.napoveda);
            edit->lineEdit()->installEventFilter(this);
            form->addRow(p.popisek, edit);
            boxy_.insert(p.pole.toUpper(), edit);
            vlastni_.push_back({f.name(), edit, p.rozsah});
            noteEntryWidget(f.name(), p.popisek, edit);
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

void TFormulCiselnik::nactiVlastni() {
    Table& t = table();
    const bool maZaznam = t.hasRecord() || t.state() == TableState::Insert;
    for (const VlastniBox& v : vlastni_) {
        const Field f = t.field(v.pole);
        const bool prazdne = !maZaznam || f.isNull();
        QString text;
        if (!prazdne)
            text = isNumericKind(f.kind()) && !isIntegerKind(f.kind()) ? textCisla(f.asFloat())
                                                                       : f.asString();
        if (auto* combo = qobject_cast<QComboBox*>(v.widget)) {
            if (combo->isEditable()) {
                combo->setCurrentText(text);
            } else {
                int i = combo->findText(text);
                if (i < 0 && !text.isEmpty()) {
                    combo->addItem(text); // a value of an older record stays visible
                    i = combo->count() - 1;
                }
                combo->setCurrentIndex(i);
            }
        } else if (auto* edit = qobject_cast<EditBox*>(v.widget)) {
            edit->setText(text);
        }
    }
}

bool TFormulCiselnik::ulozVlastni() {
    Table& t = table();
    for (const VlastniBox& v : vlastni_) {
        Field f = t.field(v.pole);
        QString text;
        if (auto* combo = qobject_cast<QComboBox*>(v.widget))
            text = combo->currentText();
        else if (auto* edit = qobject_cast<EditBox*>(v.widget))
            text = edit->text();
        if (text.trimmed().isEmpty()) {
            f.clear();
            continue;
        }
        if (isNumericKind(f.kind())) {
            const std::optional<double> n = EditBox::parseNumber(text);
            bool ok = n.has_value();
            if (ok && isIntegerKind(f.kind())) ok = *n == double(qint64(*n));
            QString chyba;
            if (!ok)
                chyba = QStringLiteral("Hodnota \"%1\" není číslo").arg(text.trimmed());
            else if (v.rozsah && (*n < v.rozsah->first || *n > v.rozsah->second))
                chyba = QStringLiteral("Hodnota \"%1\" není v rozsahu %2 až %3")
                            .arg(text.trimmed(), textCisla(v.rozsah->first),
                                 textCisla(v.rozsah->second));
            if (!chyba.isEmpty()) {
                Platform::current().error(chyba);
                focusEntryWidget(v.widget);
                return false;
            }
            if (isIntegerKind(f.kind()))
                f.setInteger(qint64(*n));
            else
                f.setFloat(*n);
        } else {
            f.setString(text.trimmed());
        }
    }
    return true;
}

void TFormulCiselnik::loadEntry() {
    RegisterForm::loadEntry();
    nactiVlastni();
}

bool TFormulCiselnik::storeEntry() {
    const TableState s = table().state();
    if (s == TableState::Edit || s == TableState::Insert) {
        if (!kontrolaVstupu()) return false;
        if (!ulozVlastni()) return false;
    }
    return RegisterForm::storeEntry();
}

} // namespace brix
