#pragma once
// What the boxes of an entry page show, taken when a record is loaded into them, so that Escape
// and "&Zruš" know whether anything was typed since: an unchanged record closes without a
// question, a changed one asks first.

#include <QStringList>

class QWidget;

namespace brix {

class EntryState {
public:
    // Remembers the texts, choices and ticks of every box under root.
    void take(const QWidget* root);
    // Something under root shows another value than when take() was called.
    bool changed(const QWidget* root) const;

    static QStringList valuesOf(const QWidget* root);

private:
    QStringList values_;
};

} // namespace brix
