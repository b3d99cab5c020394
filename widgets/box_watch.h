#pragma once

// The leaving rules and chooser keys of the boxes of an entry page. A rule runs when the focus
// leaves its box for another control of the window (not when a popup, a message box or another
// window takes it), after the focus change has finished, so that the rule may open a chooser
// or a message and put the focus back. F3 in a watched box runs its chooser. One rule runs at a
// time: a rule that moves the focus does not start another one.

#include <QHash>
#include <QObject>

#include <functional>

class QWidget;

namespace brix {

class BoxWatch : public QObject {
    Q_OBJECT
public:
    explicit BoxWatch(QObject* parent = nullptr) : QObject(parent) {}

    // The rule of leaving `box` (for an edit box, its line; for a combo box, the box).
    void onLeave(QWidget* box, std::function<void()> rule);
    // F3 in `box` (an edit box's own chooser button and F3 need no watch).
    void onF3(QWidget* box, std::function<void()> chooser);
    // Rules run only while this answers true (the entry page shown, the record in edit).
    void setActive(std::function<bool()> active) { active_ = std::move(active); }
    bool running() const { return running_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(QWidget* box);
    void run(const std::function<void()>& rule);

    QHash<QObject*, std::function<void()>> leave_, f3_;
    std::function<bool()> active_;
    bool running_ = false;
};

} // namespace brix
