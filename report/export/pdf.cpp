#include "pdf.h"

#include "pageitems.h"
#include "pdfdocument.h"
#include "vectorpage.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <cmath>
#include <initializer_list>

namespace brix::report {

namespace {

QByteArray num(double v) {
    return pdfNumber(v, 2);
}

// Appends numbers each followed by a space.
void put(QByteArray& o, std::initializer_list<double> values, int decimals = 2) {
    for (double v : values) {
        appendPdfNumber(o, v, decimals);
        o += ' ';
    }
}

void putColor(QByteArray& o, const QColor& c, const char* op) {
    put(o, {c.redF(), c.greenF(), c.blueF()}, 3);
    o += op;
    o += ' ';
}

void putMatrix(QByteArray& o, const QTransform& t) {
    put(o, {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()});
    o += "cm ";
}

// Path construction operators of a path.
void putPath(QByteArray& o, const QPainterPath& p) {
    for (int i = 0; i < p.elementCount(); ++i) {
        const QPainterPath::Element e = p.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            put(o, {e.x, e.y});
            o += "m\n";
            break;
        case QPainterPath::LineToElement:
            put(o, {e.x, e.y});
            o += "l\n";
            break;
        case QPainterPath::CurveToElement: {
            const QPainterPath::Element c2 = p.elementAt(i + 1), to = p.elementAt(i + 2);
            put(o, {e.x, e.y, c2.x, c2.y, to.x, to.y});
            o += "c\n";
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
}

// The JPEG's size and colour components from its frame header; false for a JPEG the PDF
// cannot take as it is (CMYK, or no frame header found).
bool jpegFrame(const QByteArray& d, int* w, int* h, int* components) {
    qsizetype i = 2;
    while (i + 9 < d.size()) {
        if (uchar(d[i]) != 0xFF) return false;
        const uchar marker = uchar(d[i + 1]);
        const int length = (uchar(d[i + 2]) << 8) | uchar(d[i + 3]);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            *h = (uchar(d[i + 5]) << 8) | uchar(d[i + 6]);
            *w = (uchar(d[i + 7]) << 8) | uchar(d[i + 8]);
            *components = uchar(d[i + 9]);
            return *w > 0 && *h > 0 && (*components == 1 || *components == 3);
        }
        i += 2 + length;
    }
    return false;
}

class PdfEngine : public VectorPaintEngine {
public:
    PdfEngine(PdfDocument& doc) : doc_(doc) {}

    void beginPage(const QByteArray& baseTransform) {
        c_.clear();
        c_.reserve(64 * 1024);
        c_ += "q " + baseTransform + " cm\n";
        clipOpen_ = false;
        emittedClip_ = QPainterPath();
        font_ = -1;
        fill_ = QColor();
        render_ = 0;
    }
    QByteArray endPage() {
        closeClip();
        c_ += "Q\n";
        return std::move(c_);
    }

    void modelText(const ModelText& t) override;

protected:
    void path(const QPainterPath& p, const QTransform& t, bool fill, bool stroke) override;
    void image(const QRectF& target, const QImage& im, const QTransform& t,
               const QByteArray& jpeg) override;

private:
    void syncClip();
    void closeClip() {
        if (clipOpen_) c_ += "Q\n";
        clipOpen_ = false;
    }
    void putPen(const QTransform& t);

    PdfDocument& doc_;
    QByteArray c_;
    bool clipOpen_ = false;
    QPainterPath emittedClip_;
    // The text state and fill colour of the page's top level, which the model texts set (the
    // renderer's drawing keeps its state between q and Q).
    int font_ = -1;
    QColor fill_;
    int render_ = 0;
};

void PdfEngine::syncClip() {
    if (clipped()) {
        if (clipOpen_ && emittedClip_ == clipPath()) return;
        closeClip();
        c_ += "q\n";
        putPath(c_, clipPath());
        c_ += clipPath().fillRule() == Qt::OddEvenFill ? "W* n\n" : "W n\n";
        emittedClip_ = clipPath();
        clipOpen_ = true;
    } else {
        closeClip();
    }
}

void PdfEngine::putPen(const QTransform& t) {
    const QPen& p = pen();
    // A cosmetic pen keeps its width in pixels whatever the transform.
    const double scale = std::sqrt(std::abs(t.determinant()));
    double width = p.widthF();
    if (p.isCosmetic() && scale > 0) width /= scale;
    putColor(c_, p.color(), "RG");
    put(c_, {width});
    c_ += "w ";
    c_ += p.capStyle() == Qt::FlatCap ? "0 J " : p.capStyle() == Qt::RoundCap ? "1 J " : "2 J ";
    c_ += p.joinStyle() == Qt::RoundJoin   ? "1 j "
          : p.joinStyle() == Qt::BevelJoin ? "2 j "
                                           : "0 j ";
    if (p.style() != Qt::SolidLine && p.style() != Qt::NoPen) {
        const double unit = std::max(width, p.isCosmetic() ? 1.0 / std::max(scale, 1e-9) : 1.0);
        c_ += '[';
        for (qreal d : p.dashPattern())
            put(c_, {d * unit});
        c_ += "] ";
        put(c_, {p.dashOffset() * unit});
        c_ += "d ";
    }
}

void PdfEngine::path(const QPainterPath& p, const QTransform& t, bool fill, bool stroke) {
    syncClip();
    c_ += "q ";
    if (!t.isIdentity()) putMatrix(c_, t);
    if (fill) putColor(c_, brush().color(), "rg");
    if (stroke) putPen(t);
    c_ += '\n';
    putPath(c_, p);
    const bool evenOdd = p.fillRule() == Qt::OddEvenFill;
    if (fill && stroke)
        c_ += evenOdd ? "B*" : "B";
    else if (fill)
        c_ += evenOdd ? "f*" : "f";
    else
        c_ += "S";
    c_ += " Q\n";
}

void PdfEngine::image(const QRectF& r, const QImage& im, const QTransform& t,
                      const QByteArray& jpeg) {
    int index = -1;
    int w = 0, h = 0, components = 0;
    if (!jpeg.isEmpty() && jpegFrame(jpeg, &w, &h, &components))
        index = doc_.jpeg(jpeg, w, h, components, im.cacheKey());
    else
        index = doc_.image(im, im.cacheKey());
    syncClip();
    c_ += "q ";
    if (!t.isIdentity()) putMatrix(c_, t);
    put(c_, {r.width(), 0, 0, -r.height(), r.left(), r.top() + r.height()});
    c_ += "cm /Im" + QByteArray::number(index) + " Do Q\n";
}

void PdfEngine::modelText(const ModelText& t) {
    if (!t.face || t.chars.empty() || t.em <= 0) return;
    const int font = doc_.font(*t.face);
    if (font < 0) return;
    // Model texts are never clipped.
    closeClip();
    const double a = t.angle * M_PI / 180;
    const double cs = t.angle == 0 ? 1 : std::cos(a), sn = t.angle == 0 ? 0 : std::sin(a);
    // Text space: x along the (turned) baseline, y up; the device has y down.
    double c = t.em * -sn, d = t.em * -cs;
    const double aa = t.em * cs, b = t.em * -sn;
    if (t.fakeItalic) {
        c += aa * 0.21;
        d += b * 0.21;
    }
    const QPointF o = t.origin - t.pivot;
    const QPointF origin(t.pivot.x() + o.x() * cs + o.y() * sn,
                         t.pivot.y() - o.x() * sn + o.y() * cs);
    // The font, the colour and the rendering mode are set only when they change: they stay
    // from one text to the next.
    if (t.color != fill_) {
        putColor(c_, t.color, "rg");
        fill_ = t.color;
    }
    c_ += "BT ";
    if (font != font_) {
        c_ += "/F" + QByteArray::number(font) + " 1 Tf ";
        font_ = font;
    }
    const int render = t.fakeBold ? 2 : 0;
    if (t.fakeBold) {
        putColor(c_, t.color, "RG");
        put(c_, {t.em * 0.03});
        c_ += "w ";
    }
    if (render != render_) {
        c_ += render ? "2 Tr " : "0 Tr ";
        render_ = render;
    }
    put(c_, {aa, b, c, d, origin.x(), origin.y()});
    c_ += "Tm [";
    // Each character at its x: the pen is where the widths so far put it; a difference of half
    // a thousandth of the em or more is moved by a number between the codes.
    static const char kHex[] = "0123456789ABCDEF";
    double pen = 0;
    bool inString = false;
    for (const ModelText::Char& ch : t.chars) {
        const double want = ch.x / t.em * 1000;
        const long long adjust = std::llround(pen - want);
        if (adjust != 0) {
            if (inString) c_ += '>';
            inString = false;
            c_ += ' ';
            c_ += QByteArray::number(adjust);
            c_ += ' ';
            pen -= double(adjust);
        }
        const quint16 code = doc_.code(font, ch.c);
        if (!inString) c_ += '<';
        inString = true;
        const char hex[4] = {kHex[code >> 12], kHex[(code >> 8) & 15], kHex[(code >> 4) & 15],
                             kHex[code & 15]};
        c_.append(hex, 4);
        pen += doc_.width(font, code);
    }
    if (inString) c_ += '>';
    c_ += "] TJ ET\n";
}

} // namespace

QByteArray pdfPoints(double units) {
    const QByteArray s = QByteArray::number(units * 0.72, 'f', 1);
    return s == "-0.0" ? QByteArray("0.0") : s;
}

QByteArray pdfDocument(const TSestVystup& out, const PageSetup& page, int firstPage, int lastPage,
                       const PdfOptions& options) {
    PdfDocument doc(options.compress);
    PdfEngine engine(doc);
    const double paperW = page.landscape ? page.paperHeight : page.paperWidth;
    const double paperH = page.landscape ? page.paperWidth : page.paperHeight;
    const QSizeF media(pdfPoints(paperW).toDouble(), pdfPoints(paperH).toDouble());
    const double k = 0.72 / kVectorScale;
    // Device pixels (y down) from the printable area's corner to points (y up).
    const QByteArray base = pdfNumber(k, 4) + " 0 0 " + pdfNumber(-k, 4) + ' ' +
                            num(page.marginLeft * 0.72) + ' ' +
                            num(media.height() - page.marginTop * 0.72);
    const QSize pixels(int(std::ceil(out.printableWidth * kVectorScale)),
                       int(std::ceil(out.printableHeight * kVectorScale)));
    const PageRange range = pageRange(out, firstPage, lastPage);
    for (int p = range.first; p <= range.last; ++p) {
        VectorPaintDevice device(&engine, pixels, int(100 * kVectorScale));
        engine.beginPage(base);
        QPainter painter(&device);
        drawVectorPage(painter, engine, out, p);
        painter.end();
        doc.addPage(media, engine.endPage());
    }
    const QDateTime created = options.clock ? options.clock() : QDateTime::currentDateTime();
    return doc.finish(created);
}

} // namespace brix::report
