#include "navigator.h"

#include "decimal.h"
#include "platform.h"
#include "storage_error.h"

#include <QHBoxLayout>
#include <QToolButton>

#include <exception>

namespace brix {

NavigatorTarget::~NavigatorTarget() {
    for (Navigator* n : navigators_) {
        n->target_ = nullptr;
        n->updateButtons();
    }
}

void NavigatorTarget::notifyChanged() {
    // A navigator may drop the target while updating; iterate over a copy.
    const QList<Navigator*> navigators = navigators_;
    for (Navigator* n : navigators)
        n->updateButtons();
}

QString Navigator::defaultCaption(Action a) {
    switch (a) {
    case First:
        return QStringLiteral("První");
    case Prior:
        return QStringLiteral("Předchozí");
    case Next:
        return QStringLiteral("Další");
    case Last:
        return QStringLiteral("Poslední");
    case Insert:
        return QStringLiteral("Vložit");
    case Remove:
        return QStringLiteral("Smazat");
    case Edit:
        return QStringLiteral("Opravit");
    case Post:
        return QStringLiteral("Uložit");
    case Cancel:
        return QStringLiteral("Zrušit");
    case Refresh:
        return QStringLiteral("Obnovit");
    }
    return {};
}

QString Navigator::defaultHint(Action a) {
    switch (a) {
    case First:
        return QStringLiteral("První věta");
    case Prior:
        return QStringLiteral("Předchozí věta");
    case Next:
        return QStringLiteral("Další věta");
    case Last:
        return QStringLiteral("Poslední věta");
    case Insert:
        return QStringLiteral("Vložit novou větu");
    case Remove:
        return QStringLiteral("Smazat větu");
    case Edit:
        return QStringLiteral("Opravit větu");
    case Post:
        return QStringLiteral("Uložit změny");
    case Cancel:
        return QStringLiteral("Zrušit změny");
    case Refresh:
        return QStringLiteral("Obnovit data");
    }
    return {};
}

Navigator::Navigator(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    for (int i = 0; i < kActionCount; ++i) {
        auto a = Action(i);
        auto* b = new QToolButton(this);
        b->setText(defaultCaption(a));
        b->setToolTip(defaultHint(a));
        b->setStatusTip(defaultHint(a));
        b->setFocusPolicy(Qt::NoFocus);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        connect(b, &QToolButton::clicked, this, [this, a] { trigger(a); });
        layout->addWidget(b);
        buttons_[i] = b;
    }
    layout->addStretch();
    updateButtons();
}

Navigator::~Navigator() {
    if (target_) target_->navigators_.removeAll(this);
}

void Navigator::setTarget(NavigatorTarget* target) {
    if (target_ == target) return;
    if (target_) target_->navigators_.removeAll(this);
    target_ = target;
    if (target_) target_->navigators_ << this;
    updateButtons();
}

void Navigator::setVisibleActions(const QList<Action>& actions) {
    for (int i = 0; i < kActionCount; ++i)
        buttons_[i]->setVisible(actions.contains(Action(i)));
}

void Navigator::setCaption(Action a, const QString& caption) {
    buttons_[a]->setText(caption);
}

QString Navigator::caption(Action a) const {
    return buttons_[a]->text();
}

void Navigator::setLocked(bool locked) {
    locked_ = locked;
    updateButtons();
}

bool Navigator::enabledFor(Action a) const {
    if (locked_ || !target_) return false;
    RecordState st = target_->state();
    bool editing = st == RecordState::Edit || st == RecordState::Insert;
    bool modify = target_->canModify();
    // Moves and inserts: in browse state, or while editing when the hook saves first.
    const bool browse =
        st == RecordState::Browse || (editing && movesWhileEditing_ && a >= First && a <= Insert);
    switch (a) {
    // Moving while a record is being edited would have to post or drop it silently; the user
    // saves or cancels first.
    case First:
    case Prior:
        return browse && !target_->isBof();
    case Next:
    case Last:
        return browse && !target_->isEof();
    case Insert:
        return browse && modify;
    case Remove:
    case Edit:
        return browse && modify && !target_->isEmpty();
    case Post:
    case Cancel:
        return editing;
    case Refresh:
        return browse;
    }
    return false;
}

bool Navigator::isActionEnabled(Action a) const {
    return buttons_[a]->isEnabled();
}

void Navigator::updateButtons() {
    for (int i = 0; i < kActionCount; ++i)
        buttons_[i]->setEnabled(enabledFor(Action(i)));
}

bool Navigator::trigger(Action a) {
    if (!enabledFor(a)) return false;
    if (before_ && !before_(a)) return false;
    if (a == Remove && confirmRemove_ &&
        !Platform::current().askYesNo(QStringLiteral("Chceš opravdu smazat větu ?")))
        return false;
    bool ok = true;
    try {
        switch (a) {
        case First:
            target_->first();
            break;
        case Prior:
            target_->prior();
            break;
        case Next:
            target_->next();
            break;
        case Last:
            target_->last();
            break;
        case Insert:
            target_->insert();
            break;
        case Remove:
            target_->remove();
            break;
        case Edit:
            target_->edit();
            break;
        case Post:
            target_->post();
            break;
        case Cancel:
            target_->cancel();
            break;
        case Refresh:
            target_->refresh();
            break;
        }
    } catch (const DivisionByZero&) {
        ok = false;
        Platform::current().error(QString::fromUtf16(kDeleniNulou));
    } catch (const Abort&) {
        // The table has told the user already (its own message of a refused key, say).
        ok = false;
    } catch (const std::exception& e) {
        ok = false;
        Platform::current().error(QString::fromUtf8(e.what()));
    }
    updateButtons();
    if (ok) emit actionDone(a);
    return ok;
}

} // namespace brix
