#include "vectorengine.h"

#include <QPixmap>
#include <QTextItem>

#include <cmath>

namespace brix::report {

VectorPaintEngine::VectorPaintEngine() : QPaintEngine(AllFeatures) {}

void VectorPaintEngine::updateState(const QPaintEngineState& state) {
    const DirtyFlags flags = state.state();
    if (flags & DirtyTransform) transform_ = state.transform();
    if (flags & DirtyPen) pen_ = state.pen();
    if (flags & DirtyBrush) brush_ = state.brush();
    if (flags & DirtyClipEnabled) clipOn_ = state.isClipEnabled() && !clip_.isEmpty();
    if (flags & DirtyClipPath) clipTo(transform_.map(state.clipPath()), state.clipOperation());
    if (flags & DirtyClipRegion) {
        QPainterPath p;
        p.addRegion(state.clipRegion());
        clipTo(transform_.map(p), state.clipOperation());
    }
}

void VectorPaintEngine::clipTo(const QPainterPath& p, Qt::ClipOperation op) {
    switch (op) {
    case Qt::NoClip:
        clip_ = QPainterPath();
        clipOn_ = false;
        return;
    case Qt::ReplaceClip:
        clip_ = p;
        break;
    case Qt::IntersectClip:
        clip_ = clipOn_ ? clip_.intersected(p) : p;
        break;
    }
    clipOn_ = true;
    if (clip_.isEmpty()) {
        // Everything is clipped away: an empty rectangle keeps it so.
        clip_ = QPainterPath();
        clip_.addRect(QRectF(0, 0, 0, 0));
    }
}

void VectorPaintEngine::drawPath(const QPainterPath& p) {
    const bool fill = brush_.style() != Qt::NoBrush && brush_.color().alpha() > 0;
    const bool stroke = pen_.style() != Qt::NoPen && pen_.color().alpha() > 0;
    if (fill || stroke) path(p, transform_, fill, stroke);
}

void VectorPaintEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) {
    if (count < 2) return;
    QPainterPath p;
    p.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    p.moveTo(points[0]);
    for (int i = 1; i < count; ++i)
        p.lineTo(points[i]);
    if (mode != PolylineMode) p.closeSubpath();
    const bool fill =
        mode != PolylineMode && brush_.style() != Qt::NoBrush && brush_.color().alpha() > 0;
    const bool stroke = pen_.style() != Qt::NoPen && pen_.color().alpha() > 0;
    if (fill || stroke) path(p, transform_, fill, stroke);
}

void VectorPaintEngine::drawRects(const QRectF* rects, int count) {
    QPainterPath p;
    for (int i = 0; i < count; ++i)
        p.addRect(rects[i]);
    drawPath(p);
}

void VectorPaintEngine::drawLines(const QLineF* lines, int count) {
    if (pen_.style() == Qt::NoPen || pen_.color().alpha() == 0) return;
    QPainterPath p;
    for (int i = 0; i < count; ++i) {
        p.moveTo(lines[i].p1());
        p.lineTo(lines[i].p2());
    }
    path(p, transform_, false, true);
}

void VectorPaintEngine::drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) {
    drawImage(r, pm.toImage(), sr, Qt::AutoColor);
}

void VectorPaintEngine::drawImage(const QRectF& r, const QImage& im, const QRectF& sr,
                                  Qt::ImageConversionFlags) {
    if (im.isNull() || r.isEmpty()) return;
    const bool whole = sr.toAlignedRect() == im.rect();
    const QByteArray jpeg = whole && im.cacheKey() == jpegKey_ ? jpeg_ : QByteArray();
    image(r, whole ? im : im.copy(sr.toAlignedRect()), transform_, jpeg);
}

void VectorPaintEngine::drawTextItem(const QPointF& p, const QTextItem& item) {
    if (dropGlyphRuns_ || item.text().isEmpty()) return;
    ModelText t =
        textOfItem(p, item, transform_, paintDevice() ? paintDevice()->logicalDpiY() : 600);
    t.color = pen_.color();
    modelText(t);
}

ModelText textOfItem(const QPointF& p, const QTextItem& item, const QTransform& tr, int dpi) {
    const QFont f = item.font();
    ModelText t;
    const bool bold = f.weight() >= QFont::DemiBold;
    t.face = &fontFace(f.family(), bold, f.italic());
    t.fakeBold = bold && !t.face->bold();
    t.fakeItalic = f.italic() && !t.face->italic();
    t.fontName = f.family();
    const double size = f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * dpi / 72.0;
    // The painter's transform: its scale enlarges the text, its rotation turns it.
    const double scale = std::sqrt(std::abs(tr.determinant()));
    t.em = size * scale;
    t.origin = tr.map(p);
    t.pivot = t.origin;
    t.angle = -std::atan2(tr.m12(), tr.m11()) * 180 / M_PI;
    double x = 0;
    const QList<uint> ucs = item.text().toUcs4();
    for (uint c : ucs) {
        t.chars.push_back({char32_t(c), x});
        x += t.face->advance(char32_t(c), t.em);
    }
    return t;
}

int VectorPaintDevice::metric(PaintDeviceMetric m) const {
    switch (m) {
    case PdmWidth:
        return size_.width();
    case PdmHeight:
        return size_.height();
    case PdmWidthMM:
        return int(std::lround(size_.width() * 25.4 / dpi_));
    case PdmHeightMM:
        return int(std::lround(size_.height() * 25.4 / dpi_));
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return dpi_;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    default:
        return 0;
    }
}

} // namespace brix::report
