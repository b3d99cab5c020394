#include "panels.h"

#include <QMouseEvent>
#include <QPropertyAnimation>

#include <algorithm>

namespace brix {

// --- ResizablePanel --------------------------------------------------------------------------

ResizablePanel::ResizablePanel(Qt::Edge edge, QWidget* parent) : QFrame(parent), edge_(edge) {
    setFrameShape(QFrame::StyledPanel);
    setMouseTracking(true);
}

void ResizablePanel::setEdge(Qt::Edge edge) {
    edge_ = edge;
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setExtent(extent());
}

void ResizablePanel::setExtentLimits(int minimum, int maximum) {
    min_ = std::max(0, minimum);
    max_ = std::max(min_, maximum);
    setExtent(extent());
}

int ResizablePanel::extent() const {
    return horizontal() ? width() : height();
}

void ResizablePanel::setExtent(int value) {
    int e = std::clamp(value, min_, max_);
    if (horizontal())
        setFixedWidth(e);
    else
        setFixedHeight(e);
    emit extentChanged(e);
}

bool ResizablePanel::onGrip(const QPoint& pos) const {
    switch (edge_) {
    case Qt::LeftEdge:
        return pos.x() < kGrip;
    case Qt::RightEdge:
        return pos.x() >= width() - kGrip;
    case Qt::TopEdge:
        return pos.y() < kGrip;
    case Qt::BottomEdge:
        return pos.y() >= height() - kGrip;
    }
    return false;
}

void ResizablePanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onGrip(event->position().toPoint())) {
        dragging_ = true;
        dragStart_ = event->globalPosition().toPoint();
        extentAtStart_ = extent();
        event->accept();
        return;
    }
    QFrame::mousePressEvent(event);
}

void ResizablePanel::mouseMoveEvent(QMouseEvent* event) {
    QPoint pos = event->position().toPoint();
    if (!dragging_) {
        if (onGrip(pos))
            setCursor(horizontal() ? Qt::SizeHorCursor : Qt::SizeVerCursor);
        else
            unsetCursor();
        QFrame::mouseMoveEvent(event);
        return;
    }
    QPoint delta = event->globalPosition().toPoint() - dragStart_;
    int d = horizontal() ? delta.x() : delta.y();
    // Dragging the far edge outwards grows the panel; dragging the near edge outwards too.
    if (edge_ == Qt::LeftEdge || edge_ == Qt::TopEdge) d = -d;
    setExtent(extentAtStart_ + d);
    event->accept();
}

void ResizablePanel::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_ && event->button() == Qt::LeftButton) {
        dragging_ = false;
        event->accept();
        return;
    }
    QFrame::mouseReleaseEvent(event);
}

// --- SlidingPanel ----------------------------------------------------------------------------

SlidingPanel::SlidingPanel(Qt::Orientation orientation, QWidget* parent)
    : QFrame(parent), orientation_(orientation) {
    animation_ = new QPropertyAnimation(
        this, orientation == Qt::Horizontal ? "maximumWidth" : "maximumHeight", this);
    connect(animation_, &QPropertyAnimation::finished, this, &SlidingPanel::finished);
    if (orientation_ == Qt::Horizontal)
        setMaximumWidth(0);
    else
        setMaximumHeight(0);
    QFrame::setVisible(false);
}

bool SlidingPanel::isSliding() const {
    return animation_->state() == QAbstractAnimation::Running;
}

int SlidingPanel::targetExtent() const {
    if (openExtent_ > 0) return openExtent_;
    QSize hint = sizeHint();
    return orientation_ == Qt::Horizontal ? hint.width() : hint.height();
}

void SlidingPanel::animateTo(int extent) {
    animation_->stop();
    int now = orientation_ == Qt::Horizontal ? maximumWidth() : maximumHeight();
    if (now >= QWIDGETSIZE_MAX) now = orientation_ == Qt::Horizontal ? width() : height();
    if (duration_ <= 0) {
        if (orientation_ == Qt::Horizontal)
            setMaximumWidth(extent);
        else
            setMaximumHeight(extent);
        finished();
        return;
    }
    animation_->setDuration(duration_);
    animation_->setStartValue(now);
    animation_->setEndValue(extent);
    animation_->start();
}

void SlidingPanel::slideOpen() {
    if (open_ && !isSliding()) return;
    open_ = true;
    if (orientation_ == Qt::Horizontal && maximumWidth() > targetExtent()) setMaximumWidth(0);
    if (orientation_ == Qt::Vertical && maximumHeight() > targetExtent()) setMaximumHeight(0);
    QFrame::setVisible(true);
    animateTo(targetExtent());
}

void SlidingPanel::slideShut() {
    if (!open_ && !isSliding()) return;
    open_ = false;
    animateTo(0);
}

void SlidingPanel::toggle() {
    if (open_)
        slideShut();
    else
        slideOpen();
}

void SlidingPanel::finished() {
    if (open_) {
        emit opened();
    } else {
        QFrame::setVisible(false);
        emit shut();
    }
}

} // namespace brix
