#include "box_watch.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace brix {

void BoxWatch::watch(QWidget* box) {
    box->installEventFilter(this);
    if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(this);
}

void BoxWatch::onLeave(QWidget* box, std::function<void()> rule) {
    leave_.insert(box, std::move(rule));
    watch(box);
}

void BoxWatch::onF3(QWidget* box, std::function<void()> chooser) {
    f3_.insert(box, std::move(chooser));
    watch(box);
}

void BoxWatch::run(const std::function<void()>& rule) {
    if (running_ || (active_ && !active_())) return;
    running_ = true;
    rule();
    running_ = false;
}

bool BoxWatch::eventFilter(QObject* watched, QEvent* event) {
    QObject* box = watched;
    // An editable combo box's line stands for the combo box.
    if (!leave_.contains(box) && !f3_.contains(box) && box->parent() &&
        qobject_cast<QComboBox*>(box->parent()))
        box = box->parent();
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_F3 && k->modifiers() == Qt::NoModifier && f3_.contains(box)) {
            run(f3_.value(box));
            return true;
        }
    } else if (event->type() == QEvent::FocusOut && leave_.contains(box) && !running_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            QPointer<QObject> guard(box);
            QTimer::singleShot(0, this, [this, guard] {
                if (!guard) return;
                // Focus moving within a box (a combo box to its own line) is not leaving it.
                auto* w = qobject_cast<QWidget*>(guard.data());
                QWidget* now = QApplication::focusWidget();
                if (w && now && (now == w || w->isAncestorOf(now))) return;
                run(leave_.value(guard.data()));
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace brix
