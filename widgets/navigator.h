#pragma once

// The navigator: a row of buttons that move through and edit the records of a cursor.  It works
// on the small NavigatorTarget interface; a storage cursor joins through an adapter that
// forwards the operations and calls notifyChanged() whenever the cursor's state or position
// changes.

#include <QWidget>

#include <functional>

class QToolButton;

namespace brix {

enum class RecordState { Inactive, Browse, Edit, Insert };

class Navigator;

class NavigatorTarget {
public:
    virtual ~NavigatorTarget();

    virtual RecordState state() const = 0;
    // At the first / past the last record; both when there are no records.
    virtual bool isBof() const = 0;
    virtual bool isEof() const = 0;
    virtual bool isEmpty() const = 0;
    virtual bool canModify() const { return true; }

    // The operations may throw std::exception; the navigator shows its text as an error box.
    virtual void first() = 0;
    virtual void prior() = 0;
    virtual void next() = 0;
    virtual void last() = 0;
    virtual void insert() = 0;
    virtual void edit() = 0;
    virtual void post() = 0;
    virtual void cancel() = 0;
    virtual void remove() = 0;
    virtual void refresh() = 0;

    // Tells every navigator on this target to update its buttons.
    void notifyChanged();

private:
    friend class Navigator;
    QList<Navigator*> navigators_;
};

class Navigator : public QWidget {
    Q_OBJECT
public:
    enum Action { First, Prior, Next, Last, Insert, Remove, Edit, Post, Cancel, Refresh };
    Q_ENUM(Action)
    static constexpr int kActionCount = 10;

    explicit Navigator(QWidget* parent = nullptr);
    ~Navigator() override;

    void setTarget(NavigatorTarget* target);
    NavigatorTarget* target() const { return target_; }

    // Which buttons are shown (all by default).
    void setVisibleActions(const QList<Action>& actions);
    // Own captions, e.g. "&Nová" for Insert in an item navigator.
    void setCaption(Action a, const QString& caption);
    QString caption(Action a) const;
    // Czech default captions and hints.
    static QString defaultCaption(Action a);
    static QString defaultHint(Action a);

    // Remove asks "Chceš opravdu smazat větu ?" first (on by default).
    void setConfirmRemove(bool on) { confirmRemove_ = on; }
    // Called before an action; returning false drops it.
    void setBeforeAction(std::function<bool(Action)> hook) { before_ = std::move(hook); }
    // Moving and inserting stay enabled while a record is edited, for a navigator whose
    // before-action hook saves (or cancels) the record first (an entry page's navigator).
    void setMovesWhileEditing(bool on) {
        movesWhileEditing_ = on;
        updateButtons();
    }

    // Disables every button whatever the target's state (a closed document's items).
    void setLocked(bool locked);

    bool isActionEnabled(Action a) const;
    QToolButton* button(Action a) const { return buttons_[a]; }

    // Runs an action as its button would (no-op when disabled); false when it did not run or
    // the target reported an error.
    bool trigger(Action a);

public slots:
    void updateButtons();

signals:
    // After an action has run without error.
    void actionDone(brix::Navigator::Action a);

private:
    friend class NavigatorTarget;
    bool enabledFor(Action a) const;

    NavigatorTarget* target_ = nullptr;
    QToolButton* buttons_[kActionCount] = {};
    bool confirmRemove_ = true;
    bool locked_ = false;
    bool movesWhileEditing_ = false;
    std::function<bool(Action)> before_;
};

} // namespace brix
