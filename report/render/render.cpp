#include "render.h"

#include "barcode.h"
#include "fontmetrics.h"
#include "fonts.h"

#include <QDir>
#include <QGlyphRun>
#include <QHash>
#include <QPainterPath>
#include <QRawFont>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace brix::report {

namespace {

int px(double v) {
    return int(std::lround(v));
}

// Pen width in device pixels of a template pen width.
int penPixels(int penWidth, double scale) {
    return std::max(1, px((penWidth - 1) * scale) + 1);
}

// Dash patterns in report units, on and off alternating, by pen style.
const std::vector<double>& dashPattern(int style) {
    static const std::vector<double> kSolid, kDash{18, 6}, kDot{3, 3}, kDashDot{9, 6, 3, 6},
        kDashDotDot{9, 3, 3, 3, 3, 3};
    switch (style) {
    case 1:
        return kDash;
    case 2:
        return kDot;
    case 3:
        return kDashDot;
    case 4:
        return kDashDotDot;
    default:
        return kSolid;
    }
}

// A strip along an axis (an edge of a line element): from `from` to `to` along the axis, at
// `at` across it, `width` pixels thick, solid or dashed from its start.
void strip(QPainter& p, const QColor& color, bool vertical, int at, int width, int from, int to,
           const std::vector<double>& pattern, double scale) {
    auto fill = [&](int a, int b) {
        if (b <= a) return;
        if (vertical)
            p.fillRect(QRect(at, a, width, b - a), color);
        else
            p.fillRect(QRect(a, at, b - a, width), color);
    };
    if (pattern.empty()) {
        fill(from, to);
        return;
    }
    int pos = from;
    for (size_t i = 0; pos < to; i = (i + 1) % pattern.size()) {
        const int len = std::max(1, px(pattern[i] * scale));
        if (i % 2 == 0) fill(pos, std::min(to, pos + len));
        pos += len;
    }
}

QPen shapePen(const QColor& color, int width, int style, double scale) {
    QPen pen(color, width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    const std::vector<double>& pattern = dashPattern(style);
    if (!pattern.empty()) {
        QList<qreal> dashes;
        for (double d : pattern)
            dashes << std::max(1.0, std::round(d * scale)) / width;
        pen.setDashPattern(dashes);
    }
    return pen;
}

// Hatch lines of a fill style over `bounds`, one pixel thick and 8 units apart, laid from the
// page's origin; the painter is clipped to the shape.
void hatch(QPainter& p, const QRectF& bounds, int style, const QColor& color, double scale) {
    const double step = 8 * scale;
    const bool horizontal = style == 2 || style == 6;
    const bool vertical = style == 3 || style == 6;
    const bool forward = style == 4 || style == 7;
    const bool backward = style == 5 || style == 7;
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect b = bounds.toAlignedRect();
    if (horizontal)
        for (int k = int(std::floor(b.top() / step)); k * step <= b.bottom() + 1; ++k)
            p.fillRect(QRect(b.left(), px(k * step), b.width(), 1), color);
    if (vertical)
        for (int k = int(std::floor(b.left() / step)); k * step <= b.right() + 1; ++k)
            p.fillRect(QRect(px(k * step), b.top(), 1, b.height()), color);
    if (forward || backward) {
        QPen pen(color, 0);
        p.setPen(pen);
        const int x0 = b.left() - 1, x1 = b.right() + 1;
        // Forward diagonals fall from left to right (y − x constant), backward ones rise.
        if (forward)
            for (int k = int(std::floor((b.top() - x1) / step)); k * step <= b.bottom() - x0 + 1;
                 ++k) {
                const int c = px(k * step);
                p.drawLine(QPoint(x0, x0 + c), QPoint(x1, x1 + c));
            }
        if (backward)
            for (int k = int(std::floor((b.top() + x0) / step)); k * step <= b.bottom() + x1 + 1;
                 ++k) {
                const int c = px(k * step);
                p.drawLine(QPoint(x0, c - x0), QPoint(x1, c - x1));
            }
    }
}

// Fills a shape's interior in a fill style (0 solid, 1 none, 2 to 7 hatches).
void fillShape(QPainter& p, const QPainterPath& interior, int style, const QColor& color,
               double scale) {
    if (style == 1) return;
    if (style <= 0 || style > 7) {
        p.fillPath(interior, color);
        return;
    }
    p.save();
    p.setClipPath(interior, Qt::IntersectClip);
    hatch(p, interior.boundingRect(), style, color, scale);
    p.restore();
}

// ---- text --------------------------------------------------------------------------------

// The 'head' table of a face's file (its identity: checksums, dates, units).
QByteArray headTable(const QByteArray& file, int faceIndex) {
    auto u32 = [&](qsizetype at) {
        return at + 4 <= file.size() ? qFromBigEndian<quint32>(file.constData() + at) : 0u;
    };
    qsizetype dir = 0;
    if (file.startsWith("ttcf")) dir = u32(12 + 4 * qsizetype(faceIndex));
    const int tables = int(u32(dir + 4) >> 16);
    for (int i = 0; i < tables; ++i) {
        const qsizetype e = dir + 12 + 16 * i;
        if (file.mid(e, 4) == "head") return file.mid(u32(e + 8), u32(e + 12));
    }
    return {};
}

// A raw font of the face. One made through a QFont knows its file, so that a print engine
// embeds it as a font (one made from the file's bytes prints as outlines); it is taken only
// when it is the very face measured (the same 'head' table), else the file's bytes are.
QRawFont makeRawFont(const FontFace& face, double pixelSize) {
    QFont f(face.family());
    f.setBold(face.bold());
    f.setItalic(face.italic());
    f.setStyleStrategy(QFont::NoFontMerging);
    f.setHintingPreference(QFont::PreferNoHinting);
    QRawFont raw = QRawFont::fromFont(f);
    if (raw.isValid() && raw.fontTable("head") == headTable(face.fileData(), face.faceIndex())) {
        raw.setPixelSize(pixelSize);
        return raw;
    }
    return QRawFont(face.file(), pixelSize, QFont::PreferNoHinting);
}

// The faces by size, made once. The cache is never destroyed: font engines must not outlive
// the application's font database, which goes before static objects do.
QRawFont rawFont(const FontFace& face, double pixelSize) {
    thread_local auto* fonts = new QHash<QString, QRawFont>;
    const QString key = face.file() + QLatin1Char('#') + QString::number(face.faceIndex()) +
                        QLatin1Char('@') + QString::number(pixelSize, 'g', 10);
    auto it = fonts->find(key);
    if (it == fonts->end()) it = fonts->insert(key, makeRawFont(face, pixelSize));
    return *it;
}

void drawDecoration(QPainter& p, const QColor& color, double x0, double x1, double baseline,
                    int position, int thickness, double unit) {
    const double t = std::max(1.0, thickness * unit);
    p.fillRect(QRectF(x0, baseline - position * unit - t / 2, x1 - x0, t), color);
}

// One laid-out line with its left edge at x0 and its top at `top` (pixels).
void drawLine(QPainter& p, const TRadek& line, double x0, double top, double scale,
              bool strikeOut) {
    const double baseline = top + line.baseline * scale;
    for (const TFragment& run : line.runs) {
        const FontFace& face = fontFace(run.fontName, run.bold, run.italic);
        const double size = emSize(run.fontSize) * scale;
        const QColor color = templateColor(run.color);
        QVector<quint32> glyphs;
        QVector<QPointF> positions;
        glyphs.reserve(run.text.size());
        positions.reserve(run.text.size());
        for (qsizetype i = 0; i < run.text.size(); ++i) {
            const QChar c = run.text[i];
            if (c.unicode() <= u' ') continue;
            glyphs << face.glyphIndex(c.unicode());
            positions << QPointF(x0 + run.x[size_t(i)] * scale, baseline);
        }
        if (!glyphs.isEmpty()) {
            const QRawFont raw = face.valid() ? rawFont(face, size) : QRawFont();
            if (raw.isValid()) {
                QGlyphRun g;
                g.setRawFont(raw);
                g.setGlyphIndexes(glyphs);
                g.setPositions(positions);
                p.setPen(color);
                p.drawGlyphRun(QPointF(), g);
            } else {
                // No face could be loaded: the nearest font the system has, character by
                // character at the laid-out places.
                QFont f(substituteFontFamily(run.fontName));
                f.setPixelSize(std::max(1, px(size)));
                f.setBold(run.bold);
                f.setItalic(run.italic);
                p.setFont(f);
                p.setPen(color);
                int k = 0;
                for (qsizetype i = 0; i < run.text.size(); ++i)
                    if (run.text[i].unicode() > u' ')
                        p.drawText(positions[k++], QString(run.text[i]));
            }
        }
        if ((run.underline || strikeOut) && !run.text.isEmpty()) {
            const double unit = size / face.unitsPerEm();
            const double from = x0 + run.x.front() * scale;
            const double to = x0 + (run.x.back() +
                                    face.advance(run.text.back().unicode(), emSize(run.fontSize))) *
                                       scale;
            if (run.underline)
                drawDecoration(p, color, from, to, baseline, face.underlinePosition(),
                               face.underlineThickness(), unit);
            if (strikeOut)
                drawDecoration(p, color, from, to, baseline, face.strikeoutPosition(),
                               face.strikeoutThickness(), unit);
        }
    }
}

void drawText(QPainter& p, const TVystPrvek& el, double scale) {
    if (!el.lines || el.lines->lines.empty()) return;
    const TRadky& lines = *el.lines;
    const int first = std::max(0, el.firstLine);
    const int last = std::min(el.lastLine, lines.count() - 1);
    if (first > last) return;
    const bool strikeOut = el.source.fontStyle & StyleStrikeOut;
    const double firstTop = lines.lines[size_t(first)].top;
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing, true);
    if (el.source.angle % 360 != 0) {
        // The single line turned about the element's top-left corner, counter-clockwise.
        p.translate(el.left * scale, el.top * scale);
        p.rotate(-el.source.angle);
        drawLine(p, lines.lines[size_t(first)], 0, 0, scale, strikeOut);
    } else {
        for (int i = first; i <= last; ++i) {
            const TRadek& line = lines.lines[size_t(i)];
            drawLine(p, line, el.left * scale, (el.top + line.top - firstTop) * scale, scale,
                     strikeOut);
        }
    }
    p.restore();
}

void drawFrame(QPainter& p, const QRect& r, int flags) {
    if (r.width() <= 0 || r.height() <= 0) return;
    const QColor black(Qt::black);
    if (flags & FrameLeft) p.fillRect(QRect(r.left(), r.top(), 1, r.height()), black);
    if (flags & FrameTop) p.fillRect(QRect(r.left(), r.top(), r.width(), 1), black);
    if (flags & FrameRight) p.fillRect(QRect(r.right(), r.top(), 1, r.height()), black);
    if (flags & FrameBottom) p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), black);
}

// ---- graphic kinds -----------------------------------------------------------------------

void drawLineElement(QPainter& p, const TSiReportElement& e, const QRect& r, double scale) {
    const int w = penPixels(e.penWidth, scale);
    const QColor color = templateColor(e.penColor);
    const int style = e.effectivePenStyle();
    const std::vector<double>& pattern = dashPattern(style);
    const int L = r.left(), T = r.top(), R = r.left() + r.width(), B = r.top() + r.height();
    if (e.flags & 0x01) strip(p, color, true, L, w, T, B, pattern, scale);
    if (e.flags & 0x02) strip(p, color, false, T, w, L, R, pattern, scale);
    if (e.flags & 0x04) strip(p, color, true, R - w, w, T, B, pattern, scale);
    if (e.flags & 0x08) strip(p, color, false, B - w, w, L, R, pattern, scale);
    if (!(e.flags & 0x70)) return;
    const QRectF s = QRectF(r).adjusted(w / 2.0, w / 2.0, -w / 2.0, -w / 2.0);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(shapePen(color, w, style, scale));
    p.setBrush(Qt::NoBrush);
    if (e.flags & 0x10) p.drawLine(s.bottomLeft(), s.topRight());
    if (e.flags & 0x20) p.drawLine(s.topLeft(), s.bottomRight());
    if (e.flags & 0x40) p.drawEllipse(s);
    p.restore();
}

void drawShape(QPainter& p, const TSiReportElement& e, const QRect& r, double scale) {
    const int w = e.penWidth > 0 ? penPixels(e.penWidth, scale) : 0;
    const QColor fill = templateColor(e.fillColor);
    const QColor pen = templateColor(e.penColor);
    if (e.kind == KindRectangle) {
        // Axis-aligned: whole pixels, the outline inside the rectangle.
        const QRect inner = r.adjusted(w, w, -w, -w);
        QPainterPath interior;
        interior.addRect(inner.isValid() ? QRectF(inner) : QRectF());
        if (inner.isValid()) fillShape(p, interior, e.fillStyle, fill, scale);
        if (w > 0) {
            if (!inner.isValid()) {
                p.fillRect(r, pen);
                return;
            }
            p.fillRect(QRect(r.left(), r.top(), r.width(), w), pen);
            p.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), pen);
            p.fillRect(QRect(r.left(), r.top() + w, w, r.height() - 2 * w), pen);
            p.fillRect(QRect(r.right() - w + 1, r.top() + w, w, r.height() - 2 * w), pen);
        }
        return;
    }
    const QRectF s = QRectF(r).adjusted(w / 2.0, w / 2.0, -w / 2.0, -w / 2.0);
    if (s.width() <= 0 || s.height() <= 0) return;
    QPainterPath path;
    if (e.kind == KindRoundRect) {
        const double corner = std::min(40 * scale, s.height() / 2);
        path.addRoundedRect(s, corner / 2, corner / 2);
    } else {
        path.addEllipse(s);
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    fillShape(p, path, e.fillStyle, fill, scale);
    if (w > 0) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(shapePen(pen, w, 0, scale));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    p.restore();
}

// Where a picture of a natural size goes in its element: natural size at the top (aligned);
// stretched to the element; or, keeping its aspect, the full height (aligned) when it is
// relatively taller than the element, else the full width at the top.
QRectF pictureTarget(const QSizeF& natural, const QRect& r, int alignment, bool stretch,
                     bool aspect) {
    QSizeF size = natural;
    if (aspect && !natural.isEmpty()) {
        if (natural.height() * r.width() > r.height() * natural.width())
            size = QSizeF(natural.width() * r.height() / natural.height(), r.height());
        else
            size = QSizeF(r.width(), natural.height() * r.width() / natural.width());
    } else if (stretch) {
        return QRectF(r);
    }
    double x = r.left();
    if (alignment == AlignRight)
        x = r.left() + r.width() - size.width();
    else if (alignment == AlignCenter)
        x = r.left() + (r.width() - size.width()) / 2;
    return QRectF(QPointF(x, r.top()), size);
}

void drawPicture(QPainter& p, const TVystPrvek& el, const QRect& r, double scale) {
    const std::shared_ptr<const QImage> image = elementPicture(el);
    if (!image || image->isNull() || r.isEmpty()) return;
    const TSiReportElement& e = el.source;
    const QRectF target =
        pictureTarget(QSizeF(image->width() * scale, image->height() * scale), r, e.alignment,
                      e.flags & OptionStretch, e.flags & OptionAspect);
    p.save();
    p.setClipRect(r, Qt::IntersectClip);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(target, *image);
    p.restore();
}

void drawPaintBox(QPainter& p, const TVystPrvek& el, const QRect& r) {
    if (!el.drawing || el.drawingSize.isEmpty() || r.isEmpty()) return;
    p.save();
    p.setClipRect(r, Qt::IntersectClip);
    p.translate(r.topLeft());
    p.scale(double(r.width()) / el.drawingSize.width(),
            double(r.height()) / el.drawingSize.height());
    p.drawPicture(0, 0, *el.drawing);
    p.restore();
}

void drawBarcodeElement(QPainter& p, const TVystPrvek& el, const QRect& r, double scale) {
    const TSiReportElement& e = el.source;
    const BarcodeSymbol symbol =
        encodeBarcode(barcodeType(e.penStyle), e.value.text, e.flags & OptionStretch);
    drawBarcode(p, symbol, r, barcodeModule(scale, e.penWidth), e.angle, e.flags & OptionAspect);
}

} // namespace

QColor templateColor(int bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QRect deviceRect(const TVystPrvek& el, double scale) {
    const int l = px(el.left * scale), t = px(el.top * scale);
    const int r = px((el.left + el.width) * scale), b = px((el.top + el.height) * scale);
    return QRect(l, t, std::max(0, r - l), std::max(0, b - t));
}

void renderElement(QPainter& painter, const TVystPrvek& el, double scale) {
    const TSiReportElement& e = el.source;
    const QRect r = deviceRect(el, scale);
    painter.save();
    if (el.image) {
        drawPicture(painter, el, r, scale);
        drawFrame(painter, r, e.flags);
    } else if (isTextKind(e.kind)) {
        drawText(painter, el, scale);
        drawFrame(painter, r, e.flags);
    } else {
        switch (e.kind) {
        case KindLine:
            drawLineElement(painter, e, r, scale);
            break;
        case KindRectangle:
        case KindRoundRect:
        case KindEllipse:
            drawShape(painter, e, r, scale);
            break;
        case KindPicture:
            drawPicture(painter, el, r, scale);
            break;
        case KindBarcode:
            drawBarcodeElement(painter, el, r, scale);
            break;
        case KindPaintBox:
            drawPaintBox(painter, el, r);
            break;
        default:
            break;
        }
    }
    painter.restore();
}

bool renderPage(QPainter& painter, const TSestVystup& out, int pageIndex, double scale,
                const RenderOptions& options) {
    if (pageIndex < 0 || pageIndex >= out.pageCount()) return false;
    if (options.background && out.background.shown()) {
        if (const auto image = pictureFromFile(out.background.file)) {
            const OutputBackground& b = out.background;
            painter.save();
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter.drawImage(
                QRectF(b.left * scale, b.top * scale, b.width * scale, b.height * scale), *image);
            painter.restore();
        }
    }
    for (const TVystPrvek& el : out.pages[size_t(pageIndex)].elements) {
        if (options.keepGoing && !options.keepGoing()) return false;
        // A picture that fails to draw does not stop the page.
        try {
            renderElement(painter, el, scale);
        } catch (const std::exception&) {
        }
    }
    return true;
}

QImage renderPageImage(const TSestVystup& out, int pageIndex, double scale,
                       const RenderOptions& options) {
    if (pageIndex < 0 || pageIndex >= out.pageCount()) return QImage();
    const QSize size(std::max(1, int(std::ceil(out.printableWidth * scale - 1e-9))),
                     std::max(1, int(std::ceil(out.printableHeight * scale - 1e-9))));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMeter = int(std::lround(100 * scale / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QPainter painter(&image);
    renderPage(painter, out, pageIndex, scale, options);
    return image;
}

bool writePngPages(const TSestVystup& out, const QString& directory, const QString& baseName,
                   int dpi, QStringList* written, QString* error) {
    const double scale = dpi / 100.0;
    const int first = std::max(1, out.firstPage);
    const int last = std::min(out.lastPage, out.pageCount());
    for (int page = first; page <= last; ++page) {
        const QString path =
            QDir(directory).filePath(baseName + QString::number(page) + QStringLiteral(".png"));
        const QImage image = renderPageImage(out, page - 1, scale);
        QSaveFile f(path);
        if (!f.open(QIODevice::WriteOnly) || !image.save(&f, "PNG") || !f.commit()) {
            if (error) *error = QStringLiteral("Soubor \"%1\" se nepodařilo zapsat.").arg(path);
            return false;
        }
        if (written) *written << path;
    }
    return true;
}

} // namespace brix::report
