#pragma once

// Two panels the forms lay out with: one the user resizes by dragging its edge, one that slides
// open and shut along an edge.

#include <QFrame>

class QPropertyAnimation;

namespace brix {

// A panel with a grip along one edge; dragging it changes the panel's width (left/right edge)
// or height (top/bottom edge) within the minimum and maximum extent.
class ResizablePanel : public QFrame {
    Q_OBJECT
public:
    explicit ResizablePanel(Qt::Edge edge = Qt::RightEdge, QWidget* parent = nullptr);

    Qt::Edge edge() const { return edge_; }
    void setEdge(Qt::Edge edge);
    void setExtentLimits(int minimum, int maximum);
    int minimumExtent() const { return min_; }
    int maximumExtent() const { return max_; }
    // Width or height, depending on the edge.
    int extent() const;
    void setExtent(int extent);
    static constexpr int kGrip = 5;

signals:
    void extentChanged(int extent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool horizontal() const { return edge_ == Qt::LeftEdge || edge_ == Qt::RightEdge; }
    bool onGrip(const QPoint& pos) const;

    Qt::Edge edge_;
    int min_ = 20;
    int max_ = 2000;
    bool dragging_ = false;
    QPoint dragStart_;
    int extentAtStart_ = 0;
};

// A panel that slides open from and shut towards one edge of its place.  Shut, it takes no
// room and is hidden.  duration 0 slides at once.
class SlidingPanel : public QFrame {
    Q_OBJECT
public:
    explicit SlidingPanel(Qt::Orientation orientation = Qt::Horizontal, QWidget* parent = nullptr);

    // The width (horizontal) or height (vertical) when open; 0: the contents' size hint.
    void setOpenExtent(int extent) { openExtent_ = extent; }
    void setDuration(int ms) { duration_ = ms; }
    bool isOpen() const { return open_; }
    bool isSliding() const;

public slots:
    void slideOpen();
    void slideShut();
    void toggle();

signals:
    void opened();
    void shut();

private:
    int targetExtent() const;
    void animateTo(int extent);
    void finished();

    Qt::Orientation orientation_;
    int openExtent_ = 0;
    int duration_ = 150;
    bool open_ = false;
    QPropertyAnimation* animation_ = nullptr;
};

} // namespace brix
