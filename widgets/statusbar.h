#pragma once

// The status bar of registers and entry forms: numbered panels (0 is the first) that show the
// state of a table (StavovyText), the hint of the focused box and the filter state.

#include "navigator.h"

#include <QPointer>
#include <QStatusBar>

class QLabel;

namespace brix {

// The text of a table state: "Prohlížení", "Edit", "Insert", or "Jiný stav".
QString StavovyText(RecordState state);

class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusBar(int panels = 1, QWidget* parent = nullptr);

    void setPanelCount(int count);
    int panelCount() const { return int(panels_.size()); }
    // Width in pixels; 0 lets the panel take the remaining room.
    void setPanelWidth(int panel, int width);
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);

    void showState(int panel, RecordState state) { setPanelText(panel, StavovyText(state)); }
    // "Filtr zapnut" (or the given text) while filtering is on, empty while it is off.
    void showFilter(int panel, bool on, const QString& text = QStringLiteral("Filtr zapnut"));
    // From now on the panel shows the hint of the focused control among the bar's siblings
    // (its status tip, or that of the nearest parent that has one); -1 stops it.
    void showHintsIn(int panel);
    int hintPanel() const { return hintPanel_; }

private:
    void focusChanged(QWidget* old, QWidget* now);

    QList<QLabel*> panels_;
    int hintPanel_ = -1;
};

} // namespace brix
