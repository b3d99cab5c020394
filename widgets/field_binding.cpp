#include "field_binding.h"

#include "platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace brix {

namespace {

// A number as a text box shows it: as many places as it needs, decimal comma.
QString numberText(const QVariant& v, FieldKind kind) {
    if (v.isNull()) return {};
    if (isIntegerKind(kind)) return QString::number(v.toLongLong());
    return QString::number(v.toDouble(), 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString shownText(Table& t, int field) {
    const FieldDef& f = t.fieldDef(field);
    const QVariant v = t.fieldValue(field);
    if (v.isNull()) return {};
    if (isNumericKind(f.kind)) return numberText(v, f.kind);
    return t.field(field).asString();
}

bool hasItemData(const QComboBox* c) {
    for (int i = 0; i < c->count(); ++i)
        if (c->itemData(i).isValid()) return true;
    return false;
}

} // namespace

EditBox::Kind FieldBinding::boxKind(FieldKind k) {
    switch (k) {
    case FieldKind::SmallInt:
    case FieldKind::LongInt:
    case FieldKind::AutoInc:
        return EditBox::Kind::Integer;
    case FieldKind::Float:
        return EditBox::Kind::Number;
    case FieldKind::Money:
        return EditBox::Kind::Money;
    case FieldKind::Date:
        return EditBox::Kind::Date;
    default:
        return EditBox::Kind::Text;
    }
}

EditBox* FieldBinding::makeEditBox(const FieldDef& f, QWidget* parent) {
    auto* box = new EditBox(boxKind(f.kind), parent);
    box->setObjectName(QStringLiteral("Edit") + f.name);
    if (f.kind == FieldKind::Text) box->setMaxLength(f.size);
    if (f.kind == FieldKind::Float && f.decimals >= 0) box->setDecimals(f.decimals);
    return box;
}

void FieldBinding::add(const QString& field, QWidget* box) {
    const Field f = table_.field(field); // throws when the table has no such field
    bindings_.push_back({f.index(), box});
}

QWidget* FieldBinding::box(const QString& field) const {
    const int i = table_.fieldIndex(field);
    for (const Binding& b : bindings_)
        if (b.field == i) return b.widget;
    return nullptr;
}

void FieldBinding::load() {
    const bool has = table_.hasRecord() || table_.state() == TableState::Insert;
    for (const Binding& b : bindings_) {
        const FieldDef& def = table_.fieldDef(b.field);
        const QVariant v = has ? table_.fieldValue(b.field) : QVariant();
        if (auto* box = qobject_cast<EditBox*>(b.widget)) {
            if (v.isNull())
                box->setValue(QVariant());
            else if (box->kind() == EditBox::Kind::Text && isNumericKind(def.kind))
                box->setText(numberText(v, def.kind));
            else if (box->kind() == EditBox::Kind::Money)
                box->setValue(QVariant::fromValue(table_.field(b.field).asDecimal()));
            else
                box->setValue(v);
        } else if (auto* combo = qobject_cast<QComboBox*>(b.widget)) {
            const QString text = has ? shownText(table_, b.field) : QString();
            int i = text.isEmpty() ? -1 : combo->findData(text);
            if (i < 0) i = combo->findText(text);
            if (i >= 0) {
                combo->setCurrentIndex(i);
            } else if (combo->isEditable()) {
                combo->setCurrentIndex(-1);
                combo->setCurrentText(text);
            } else if (!text.isEmpty()) {
                combo->addItem(text, hasItemData(combo) ? QVariant(text) : QVariant());
                combo->setCurrentIndex(combo->count() - 1); // an older record's value stays
            } else {
                combo->setCurrentIndex(-1);
            }
        } else if (auto* check = qobject_cast<QCheckBox*>(b.widget)) {
            check->setChecked(v.toBool());
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(b.widget)) {
            memo->setPlainText(v.toString());
        } else if (auto* label = qobject_cast<QLabel*>(b.widget)) {
            label->setText(has ? shownText(table_, b.field) : QString());
        }
    }
    keepAsLoaded();
}

void FieldBinding::keepAsLoaded() {
    loaded_.clear();
    for (const Binding& b : bindings_)
        loaded_ << shown(b.widget);
}

QString FieldBinding::shown(const QWidget* box) {
    if (auto* e = qobject_cast<const EditBox*>(box)) return e->text();
    if (auto* c = qobject_cast<const QComboBox*>(box)) return c->currentText();
    if (auto* c = qobject_cast<const QCheckBox*>(box)) return c->isChecked() ? "1" : "0";
    if (auto* m = qobject_cast<const QPlainTextEdit*>(box)) return m->toPlainText();
    return {};
}

bool FieldBinding::modified() const {
    for (int i = 0; i < bindings_.size(); ++i)
        if (i >= loaded_.size() || shown(bindings_[i].widget) != loaded_[i]) return true;
    return false;
}

bool FieldBinding::textValue(const Binding& b, const QString& text, QVariant* value) const {
    const FieldDef& f = table_.fieldDef(b.field);
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        *value = QVariant();
        return true;
    }
    if (!isNumericKind(f.kind)) {
        *value = t;
        return true;
    }
    const std::optional<double> n = EditBox::parseNumber(t);
    bool ok = n.has_value();
    if (ok && isIntegerKind(f.kind)) ok = *n == double(qint64(*n));
    if (!ok) {
        Platform::current().error(QStringLiteral("Hodnota \"%1\" není číslo").arg(t));
        return false;
    }
    *value = isIntegerKind(f.kind) ? QVariant(qint64(*n)) : QVariant(*n);
    return true;
}

bool FieldBinding::store() {
    if (table_.state() != TableState::Edit && table_.state() != TableState::Insert) return true;
    // Every box is read before anything is stored, so that a refused box stores nothing.
    QVector<QVariant> values(bindings_.size());
    for (int i = 0; i < bindings_.size(); ++i) {
        const Binding& b = bindings_[i];
        const FieldDef& def = table_.fieldDef(b.field);
        if (auto* box = qobject_cast<EditBox*>(b.widget)) {
            if (box->kind() == EditBox::Kind::Text && isNumericKind(def.kind)) {
                if (!textValue(b, box->text(), &values[i])) {
                    box->lineEdit()->setFocus();
                    return false;
                }
            } else {
                if (!box->check()) return false;
                values[i] = box->value();
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(b.widget)) {
            QString text = combo->currentText();
            const int ci = combo->currentIndex();
            if (ci >= 0 && combo->itemText(ci) == text && combo->itemData(ci).isValid())
                text = combo->itemData(ci).toString();
            if (!textValue(b, text, &values[i])) {
                combo->setFocus();
                return false;
            }
        } else if (auto* check = qobject_cast<QCheckBox*>(b.widget)) {
            values[i] = check->isChecked();
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(b.widget)) {
            values[i] = memo->toPlainText();
        }
    }
    for (int i = 0; i < bindings_.size(); ++i) {
        const Binding& b = bindings_[i];
        if (qobject_cast<QLabel*>(b.widget)) continue;
        Field f = table_.field(b.field);
        const QVariant& v = values[i];
        if (v.metaType() == QMetaType::fromType<Decimal>())
            f.setDecimal(v.value<Decimal>());
        else
            f.setValue(v);
    }
    return true;
}

} // namespace brix
