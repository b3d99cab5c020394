#include "pdf.h"

#include "pageitems.h"
#include "pdfdocument.h"
#include "vectorpage.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <cmath>

namespace brix::report {

namespace {

QByteArray num(double v) {
    return pdfNumber(v, 2);
}

QByteArray colorOp(const QColor& c, const char* op) {
    return pdfNumber(c.redF(), 3) + ' ' + pdfNumber(c.greenF(), 3) + ' ' + pdfNumber(c.blueF(), 3) +
           ' ' + op;
}

QByteArray matrix(const QTransform& t) {
    return num(t.m11()) + ' ' + num(t.m12()) + ' ' + num(t.m21()) + ' ' + num(t.m22()) + ' ' +
           num(t.dx()) + ' ' + num(t.dy());
}

// Path construction operators of a path.
QByteArray pathOps(const QPainterPath& p) {
    QByteArray o;
    for (int i = 0; i < p.elementCount(); ++i) {
        const QPainterPath::Element e = p.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            o += num(e.x) + ' ' + num(e.y) + " m\n";
            break;
        case QPainterPath::LineToElement:
            o += num(e.x) + ' ' + num(e.y) + " l\n";
            break;
        case QPainterPath::CurveToElement: {
            const QPainterPath::Element c2 = p.elementAt(i + 1), to = p.elementAt(i + 2);
            o += num(e.x) + ' ' + num(e.y) + ' ' + num(c2.x) + ' ' + num(c2.y) + ' ' + num(to.x) +
                 ' ' + num(to.y) + " c\n";
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    return o;
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
        c_ = "q " + baseTransform + " cm\n";
        clipOpen_ = false;
        emittedClip_ = QPainterPath();
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
    QByteArray penOps(const QTransform& t) const;

    PdfDocument& doc_;
    QByteArray c_;
    bool clipOpen_ = false;
    QPainterPath emittedClip_;
};

void PdfEngine::syncClip() {
    if (clipped()) {
        if (clipOpen_ && emittedClip_ == clipPath()) return;
        closeClip();
        c_ += "q\n" + pathOps(clipPath()) +
              (clipPath().fillRule() == Qt::OddEvenFill ? "W* n\n" : "W n\n");
        emittedClip_ = clipPath();
        clipOpen_ = true;
    } else {
        closeClip();
    }
}

QByteArray PdfEngine::penOps(const QTransform& t) const {
    const QPen& p = pen();
    // A cosmetic pen keeps its width in pixels whatever the transform.
    const double scale = std::sqrt(std::abs(t.determinant()));
    double width = p.widthF();
    if (p.isCosmetic() && scale > 0) width /= scale;
    QByteArray o = colorOp(p.color(), "RG") + ' ' + num(width) + " w ";
    o += p.capStyle() == Qt::FlatCap ? "0 J " : p.capStyle() == Qt::RoundCap ? "1 J " : "2 J ";
    o += p.joinStyle() == Qt::RoundJoin ? "1 j " : p.joinStyle() == Qt::BevelJoin ? "2 j " : "0 j ";
    if (p.style() != Qt::SolidLine && p.style() != Qt::NoPen) {
        const double unit = std::max(width, p.isCosmetic() ? 1.0 / std::max(scale, 1e-9) : 1.0);
        QByteArray dash = "[";
        for (qreal d : p.dashPattern())
            dash += num(d * unit) + ' ';
        o += dash.trimmed() + "] " + num(p.dashOffset() * unit) + " d ";
    }
    return o;
}

void PdfEngine::path(const QPainterPath& p, const QTransform& t, bool fill, bool stroke) {
    syncClip();
    QByteArray o = "q ";
    if (!t.isIdentity()) o += matrix(t) + " cm ";
    if (fill) o += colorOp(brush().color(), "rg") + ' ';
    if (stroke) o += penOps(t);
    o += '\n' + pathOps(p);
    const bool evenOdd = p.fillRule() == Qt::OddEvenFill;
    if (fill && stroke)
        o += evenOdd ? "B*" : "B";
    else if (fill)
        o += evenOdd ? "f*" : "f";
    else
        o += "S";
    c_ += o + " Q\n";
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
    QByteArray o = "q ";
    if (!t.isIdentity()) o += matrix(t) + " cm ";
    o += num(r.width()) + " 0 0 " + num(-r.height()) + ' ' + num(r.left()) + ' ' +
         num(r.top() + r.height()) + " cm /Im" + QByteArray::number(index) + " Do Q\n";
    c_ += o;
}

void PdfEngine::modelText(const ModelText& t) {
    if (!t.face || t.chars.empty() || t.em <= 0) return;
    const int font = doc_.font(*t.face);
    if (font < 0) return;
    // Model texts are never clipped.
    closeClip();
    const double a = t.angle * M_PI / 180;
    const double cs = std::cos(a), sn = std::sin(a);
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
    QByteArray s = "BT /F" + QByteArray::number(font) + " 1 Tf " + colorOp(t.color, "rg") + ' ';
    if (t.fakeBold) s += colorOp(t.color, "RG") + ' ' + num(t.em * 0.03) + " w 2 Tr ";
    s += num(aa) + ' ' + num(b) + ' ' + num(c) + ' ' + num(d) + ' ' + num(origin.x()) + ' ' +
         num(origin.y()) + " Tm [";
    // Each character at its x: the pen is where the widths so far put it; a difference of half
    // a thousandth of the em or more is moved by a number between the codes.
    double pen = 0;
    bool inString = false;
    for (const ModelText::Char& ch : t.chars) {
        const double want = ch.x / t.em * 1000;
        const long long adjust = std::llround(pen - want);
        if (adjust != 0) {
            if (inString) s += '>';
            inString = false;
            s += ' ' + QByteArray::number(adjust) + ' ';
            pen -= double(adjust);
        }
        const quint16 code = doc_.code(font, ch.c);
        if (!inString) s += '<';
        inString = true;
        s += QByteArray::number(code, 16).rightJustified(4, '0').toUpper();
        pen += doc_.width(font, code);
    }
    if (inString) s += '>';
    s += "] TJ ET\n";
    c_ += s;
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
    const QByteArray base = num(k) + " 0 0 " + num(-k) + ' ' + num(page.marginLeft * 0.72) + ' ' +
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
