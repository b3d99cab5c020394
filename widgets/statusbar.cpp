#include "statusbar.h"

#include <QApplication>
#include <QLabel>

namespace brix {

QString StavovyText(RecordState state) {
    switch (state) {
    case RecordState::Browse:
        return QStringLiteral("Prohlížení");
    case RecordState::Edit:
        return QStringLiteral("Edit");
    case RecordState::Insert:
        return QStringLiteral("Insert");
    case RecordState::Inactive:
        break;
    }
    return QStringLiteral("Jiný stav");
}

StatusBar::StatusBar(int panels, QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    setPanelCount(panels);
    connect(qApp, &QApplication::focusChanged, this, &StatusBar::focusChanged);
}

void StatusBar::setPanelCount(int count) {
    count = std::max(count, 0);
    while (panels_.size() > count) {
        QLabel* l = panels_.takeLast();
        removeWidget(l);
        delete l;
    }
    while (panels_.size() < count) {
        auto* l = new QLabel(this);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        // A long hint is cut at the panel's edge; it never widens the window.
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        l->setMinimumWidth(0);
        addWidget(l, 1);
        panels_ << l;
    }
    if (hintPanel_ >= count) hintPanel_ = -1;
}

void StatusBar::setPanelWidth(int panel, int width) {
    if (panel < 0 || panel >= panels_.size()) return;
    QLabel* l = panels_[panel];
    removeWidget(l);
    if (width > 0) {
        l->setFixedWidth(width);
    } else {
        l->setMinimumWidth(0);
        l->setMaximumWidth(QWIDGETSIZE_MAX);
    }
    insertWidget(panel, l, width > 0 ? 0 : 1);
    l->show();
}

QString StatusBar::panelText(int panel) const {
    return panel >= 0 && panel < panels_.size() ? panels_[panel]->text() : QString();
}

void StatusBar::setPanelText(int panel, const QString& text) {
    if (panel < 0) return;
    if (panel >= panels_.size()) setPanelCount(panel + 1);
    panels_[panel]->setText(text);
    panels_[panel]->setToolTip(text);
}

void StatusBar::showFilter(int panel, bool on, const QString& text) {
    setPanelText(panel, on ? text : QString());
}

void StatusBar::showHintsIn(int panel) {
    hintPanel_ = panel;
    if (panel >= panels_.size()) setPanelCount(panel + 1);
    if (panel >= 0) focusChanged(nullptr, QApplication::focusWidget());
}

void StatusBar::focusChanged(QWidget*, QWidget* now) {
    // Only the controls beside the bar: a page with its own bar keeps its own hints.
    QWidget* area = parentWidget() ? parentWidget() : window();
    if (hintPanel_ < 0 || !now || !(area == now || area->isAncestorOf(now))) return;
    QString hint;
    for (QWidget* w = now; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (!w->statusTip().isEmpty()) {
            hint = w->statusTip();
            break;
        }
    }
    setPanelText(hintPanel_, hint);
}

} // namespace brix
