#include "entry_state.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

namespace brix {

QStringList EntryState::valuesOf(const QWidget* root) {
    QStringList out;
    if (!root) return out;
    for (const QWidget* w : root->findChildren<const QWidget*>()) {
        // A combo box's own line edit is read through the combo box.
        if (qobject_cast<const QComboBox*>(w->parentWidget())) continue;
        if (auto* e = qobject_cast<const QLineEdit*>(w))
            out << e->text();
        else if (auto* m = qobject_cast<const QPlainTextEdit*>(w))
            out << m->toPlainText();
        else if (auto* c = qobject_cast<const QComboBox*>(w))
            out << c->currentText();
        else if (auto* b = qobject_cast<const QAbstractButton*>(w); b && b->isCheckable())
            out << (b->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    }
    return out;
}

void EntryState::take(const QWidget* root) {
    values_ = valuesOf(root);
}

bool EntryState::changed(const QWidget* root) const {
    return valuesOf(root) != values_;
}

} // namespace brix
