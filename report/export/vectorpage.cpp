#include "vectorpage.h"

#include "render.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>

#include <cmath>

namespace brix::report {

namespace {

// The bytes of a picture file when it is a JPEG (kept as it is in the files).
QByteArray jpegBytes(const QString& path) {
    if (path.isEmpty()) return {};
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QByteArray bytes = f.readAll();
    if (!bytes.startsWith("\xFF\xD8\xFF")) return {};
    return bytes;
}

// The application's drawing of a paint box as an image of its canvas.
QImage paintBoxImage(const TVystPrvek& el) {
    if (!el.drawing || el.drawingSize.isEmpty()) return {};
    QImage image(el.drawingSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawPicture(0, 0, *el.drawing);
    return image;
}

// Whether the renderer draws more of a text element than its characters: a frame side, an
// underline or a strike-out.
bool needsRenderer(const TVystPrvek& el) {
    if (el.source.flags & (FrameLeft | FrameTop | FrameRight | FrameBottom)) return true;
    if (el.source.fontStyle & (StyleUnderline | StyleStrikeOut)) return true;
    if (!el.lines) return false;
    for (const TRadek& line : el.lines->lines)
        for (const TFragment& run : line.runs)
            if (run.underline) return true;
    return false;
}

} // namespace

std::vector<ModelText> elementTexts(const TVystPrvek& el, double scale) {
    std::vector<ModelText> out;
    if (!el.lines || el.lines->lines.empty()) return out;
    const TRadky& lines = *el.lines;
    const int first = std::max(0, el.firstLine);
    const int last = std::min(el.lastLine, lines.count() - 1);
    if (first > last) return out;
    const double firstTop = lines.lines[size_t(first)].top;
    const bool turned = el.source.angle % 360 != 0;
    const QPointF pivot(el.left * scale, el.top * scale);
    for (int i = first; i <= (turned ? first : last); ++i) {
        const TRadek& line = lines.lines[size_t(i)];
        const double top = turned ? el.top : el.top + line.top - firstTop;
        const double baseline = (top + line.baseline) * scale;
        for (const TFragment& run : line.runs) {
            ModelText t;
            t.face = &fontFace(run.fontName, run.bold, run.italic);
            t.fakeBold = run.bold && !t.face->bold();
            t.fakeItalic = run.italic && !t.face->italic();
            t.fontName = run.fontName;
            t.em = emSize(run.fontSize) * scale;
            t.color = templateColor(run.color);
            t.angle = turned ? el.source.angle : 0;
            t.pivot = pivot;
            bool firstChar = true;
            for (qsizetype k = 0; k < run.text.size(); ++k) {
                QChar c = run.text[k];
                if (c.unicode() < u' ') continue;
                char32_t code = c.unicode();
                if (c.isHighSurrogate() && k + 1 < run.text.size() &&
                    run.text[k + 1].isLowSurrogate())
                    code = QChar::surrogateToUcs4(c, run.text[k + 1]);
                const double x = (el.left + run.x[size_t(k)]) * scale;
                if (firstChar) {
                    t.origin = QPointF(x, baseline);
                    firstChar = false;
                }
                t.chars.push_back({code, x - t.origin.x()});
                if (code > 0xFFFF) ++k;
            }
            if (!t.chars.empty()) out.push_back(std::move(t));
        }
    }
    return out;
}

bool drawVectorPage(QPainter& painter, VectorPaintEngine& engine, const TSestVystup& out,
                    int pageIndex, double scale) {
    if (pageIndex < 0 || pageIndex >= out.pageCount()) return false;
    if (out.background.shown())
        if (const auto image = pictureFromFile(out.background.file)) {
            const OutputBackground& b = out.background;
            engine.setJpeg(image->cacheKey(), jpegBytes(b.file));
            painter.drawImage(
                QRectF(b.left * scale, b.top * scale, b.width * scale, b.height * scale), *image);
        }
    for (const TVystPrvek& el : out.pages[size_t(pageIndex)].elements) {
        const int kind = el.source.kind;
        if (el.image || kind == KindPicture) {
            const auto image = elementPicture(el);
            if (image && !el.image) engine.setJpeg(image->cacheKey(), jpegBytes(el.pictureFile));
            renderElement(painter, el, scale);
        } else if (kind == KindPaintBox) {
            const QImage image = paintBoxImage(el);
            const QRect r = deviceRect(el, scale);
            if (!image.isNull() && !r.isEmpty()) painter.drawImage(QRectF(r), image);
        } else if (isTextKind(kind)) {
            // Frames, underlines and strike-outs from the renderer; the characters as text.
            if (needsRenderer(el)) {
                engine.setDropGlyphRuns(true);
                renderElement(painter, el, scale);
                engine.setDropGlyphRuns(false);
            }
            for (const ModelText& t : elementTexts(el, scale))
                engine.modelText(t);
        } else {
            renderElement(painter, el, scale);
        }
    }
    return true;
}

} // namespace brix::report
