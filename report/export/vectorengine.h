#pragma once
// A paint device whose engine turns what a QPainter draws into the primitives of a vector file
// (PDF, enhanced and classic metafiles), so that the pages of those files are drawn by the
// renderer itself, as the preview draws them.
//
// The engine keeps the painter's state in device pixels: the transform, the pen, the brush and
// the clip as one path (intersections and replacements applied as QPainter asks). Texts of the
// page model do not come through the painter: the page walker (vectorpage.h) hands them to
// `modelText` with every character at its laid-out x, so that the file can carry them as
// text. Glyph runs the renderer draws for those elements are dropped (`setDropGlyphRuns`).

#include "fontmetrics.h"

#include <QBrush>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QTransform>

#include <vector>

namespace brix::report {

// A run of characters of the page model as a vector file writes it. Positions are device
// pixels; the characters stand at `origin` plus their x along the baseline, the whole run
// turned by `angle` degrees counter-clockwise about `pivot`.
struct ModelText {
    const FontFace* face = nullptr;
    bool fakeBold = false, fakeItalic = false; // the face lacks the style the run asks for
    QString fontName;                          // the template's font name (metafiles name it)
    double em = 0;                             // the em in pixels
    QColor color;
    QPointF origin;
    double angle = 0;
    QPointF pivot;
    struct Char {
        char32_t c;
        double x;
    };
    std::vector<Char> chars;
};

class VectorPaintEngine : public QPaintEngine {
public:
    VectorPaintEngine();

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override;
    void drawPath(const QPainterPath& path) override;
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
    void drawRects(const QRectF* rects, int count) override;
    void drawLines(const QLineF* lines, int count) override;
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override;
    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                   Qt::ImageConversionFlags flags) override;
    void drawTextItem(const QPointF& p, const QTextItem& textItem) override;
    Type type() const override { return QPaintEngine::User; }

    void setDropGlyphRuns(bool on) { dropGlyphRuns_ = on; }
    // A JPEG file's bytes for the picture of the cache key, written as they are.
    void setJpeg(qint64 cacheKey, const QByteArray& bytes) {
        jpegKey_ = cacheKey;
        jpeg_ = bytes;
    }
    virtual void modelText(const ModelText& text) = 0;

protected:
    // The primitives, all in device pixels with the transform given (the state's world
    // transform at the time): fill and/or stroke a path, draw a picture into a rectangle.
    virtual void path(const QPainterPath& path, const QTransform& t, bool fill, bool stroke) = 0;
    virtual void image(const QRectF& target, const QImage& image, const QTransform& t,
                       const QByteArray& jpeg) = 0;

    const QPen& pen() const { return pen_; }
    const QBrush& brush() const { return brush_; }
    bool clipped() const { return clipOn_; }
    const QPainterPath& clipPath() const { return clip_; } // device pixels

private:
    void clipTo(const QPainterPath& devicePath, Qt::ClipOperation op);

    QPen pen_;
    QBrush brush_;
    QTransform transform_;
    QPainterPath clip_;
    bool clipOn_ = false;
    bool dropGlyphRuns_ = false;
    qint64 jpegKey_ = 0;
    QByteArray jpeg_;
};

// The device of a page: its size in pixels at a resolution.
class VectorPaintDevice : public QPaintDevice {
public:
    VectorPaintDevice(VectorPaintEngine* engine, QSize pixels, int dpi)
        : engine_(engine), size_(pixels), dpi_(dpi) {}
    QPaintEngine* paintEngine() const override { return engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    VectorPaintEngine* engine_;
    QSize size_;
    int dpi_;
};

// The characters of a text a QPainter was asked to draw, placed by the face's advances.
ModelText textOfItem(const QPointF& p, const QTextItem& item, const QTransform& t, int dpi);

} // namespace brix::report
