#include "metafile.h"

#include "codec.h"
#include "fonts.h"
#include "vectorpage.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QtEndian>

#include <cmath>
#include <map>
#include <optional>

namespace brix::report {

namespace {

// ---- little-endian record building -------------------------------------------------------

struct Bytes {
    QByteArray d;
    void u8(quint8 v) { d.append(char(v)); }
    void u16(quint16 v) {
        u8(quint8(v & 0xFF));
        u8(quint8(v >> 8));
    }
    void i16(qint16 v) { u16(quint16(v)); }
    void u32(quint32 v) {
        u16(quint16(v & 0xFFFF));
        u16(quint16(v >> 16));
    }
    void i32(qint32 v) { u32(quint32(v)); }
    void f32(float v) {
        quint32 u;
        std::memcpy(&u, &v, 4);
        u32(u);
    }
    void raw(const QByteArray& b) { d += b; }
    void pad(int to) {
        while (d.size() % to)
            d.append('\0');
    }
};

qint16 clamp16(double v) {
    return qint16(std::clamp<long>(std::lround(v), -32768, 32767));
}
qint32 round32(double v) {
    return qint32(std::lround(v));
}

quint32 colorRef(const QColor& c) {
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

// A device-independent bitmap: 24 bits, rows bottom-up, transparency laid on white.
QByteArray dib(const QImage& source, int* width, int* height) {
    QImage im(source.size(), QImage::Format_RGB888);
    im.fill(Qt::white);
    {
        QPainter p(&im);
        p.drawImage(0, 0, source);
    }
    *width = im.width();
    *height = im.height();
    Bytes b;
    b.u32(40);
    b.i32(im.width());
    b.i32(im.height());
    b.u16(1);
    b.u16(24);
    b.u32(0); // BI_RGB
    const int stride = (im.width() * 3 + 3) / 4 * 4;
    b.u32(quint32(stride * im.height()));
    b.i32(23622); // 600 dots per inch
    b.i32(23622);
    b.u32(0);
    b.u32(0);
    for (int y = im.height() - 1; y >= 0; --y) {
        const uchar* line = im.constScanLine(y);
        for (int x = 0; x < im.width(); ++x) {
            b.u8(line[3 * x + 2]);
            b.u8(line[3 * x + 1]);
            b.u8(line[3 * x]);
        }
        b.pad(1);
        for (int k = im.width() * 3; k < stride; ++k)
            b.u8(0);
    }
    return b.d;
}

// The face name a metafile gives its text: the template's font without its script suffix, the
// text printers' fonts as "Courier New".
QString faceName(const QString& templateName) {
    QString n = templateName.trimmed();
    stripScriptSuffix(&n);
    if (printerFont(n)) n = QStringLiteral("Courier New");
    return n.isEmpty() ? QStringLiteral("Arial") : n;
}

// The object table of a player: a new object takes the lowest free index. A replaced object
// is deleted only once its successor is selected, so that no selected object is ever deleted.
class ObjectTable {
public:
    explicit ObjectTable(int first) : first_(first) {}
    int take() {
        int i = first_;
        while (i < int(used_.size()) && used_[size_t(i)])
            ++i;
        if (i >= int(used_.size())) used_.resize(size_t(i) + 1, false);
        used_[size_t(i)] = true;
        return i;
    }
    void release(int i) {
        if (i >= 0 && i < int(used_.size())) used_[size_t(i)] = false;
    }
    int size() const { return int(used_.size()); }

private:
    int first_;
    std::vector<bool> used_;
};

// ---- the engine common to both kinds: everything as device polygons -------------------------

struct FontKey {
    QString name;
    int height, escapement, weight;
    bool italic;
    auto operator<=>(const FontKey&) const = default;
};

class MetafileEngine : public VectorPaintEngine {
public:
    void modelText(const ModelText& t) override {
        if (t.chars.empty() || t.em <= 0) return;
        FontKey key{faceName(t.fontName), int(std::lround(t.em)),
                    int(std::lround(t.angle * 10)) % 3600,
                    (t.face && t.face->bold()) || t.fakeBold ? 700 : 400,
                    (t.face && t.face->italic()) || t.fakeItalic};
        const double a = t.angle * M_PI / 180;
        const QPointF o = t.origin - t.pivot;
        const QPointF origin(t.pivot.x() + o.x() * std::cos(a) + o.y() * std::sin(a),
                             t.pivot.y() - o.x() * std::sin(a) + o.y() * std::cos(a));
        textRecord(key, t, origin);
    }

protected:
    // The characters of a run as UTF-16 with the advance of each in whole units (the second
    // half of a surrogate pair advances 0): each character lands at its laid-out x.
    static void textAndAdvances(const ModelText& t, QString* text, std::vector<int>* dx) {
        double start = 0;
        for (size_t i = 0; i < t.chars.size(); ++i) {
            const char32_t c = t.chars[i].c;
            const double next = i + 1 < t.chars.size()
                                    ? t.chars[i + 1].x
                                    : t.chars[i].x + (t.face ? t.face->advance(c, t.em) : 0);
            dx->push_back(int(std::lround(next) - std::lround(start)));
            start = next;
            if (c > 0xFFFF) {
                *text += QChar::highSurrogate(c);
                *text += QChar::lowSurrogate(c);
                dx->push_back(0);
            } else {
                *text += QChar(char16_t(c));
            }
        }
    }
    // Whether the text colour differs from the one set last (then it is the one set).
    bool textColorChanges(const QColor& c) {
        if (textColor_ && *textColor_ == colorRef(c)) return false;
        textColor_ = colorRef(c);
        return true;
    }

    virtual void polygons(const QList<QPolygonF>& polys, const QColor& color, bool winding) = 0;
    virtual void polyline(const QPolygonF& line, const QColor& color, int width) = 0;
    virtual void bitmap(const QRectF& target, const QImage& image) = 0;
    virtual void textRecord(const FontKey& font, const ModelText& t, QPointF origin) = 0;

    void path(const QPainterPath& p, const QTransform& t, bool fill, bool stroke) override {
        const QPainterPath device = t.map(p);
        if (fill) {
            QPainterPath area = device;
            if (clipped()) area = area.intersected(clipPath());
            const QList<QPolygonF> polys = area.toFillPolygons();
            if (!polys.isEmpty())
                polygons(polys, brush().color(), area.fillRule() == Qt::WindingFill);
        }
        if (!stroke) return;
        const double scale = std::sqrt(std::abs(t.determinant()));
        double width = pen().widthF();
        if (!pen().isCosmetic()) width *= scale;
        width = std::max(1.0, width);
        if (!clipped() && pen().style() == Qt::SolidLine) {
            for (const QPolygonF& line : device.toSubpathPolygons())
                polyline(line, pen().color(), int(std::lround(width)));
            return;
        }
        // Dashed or clipped: the pen's outline as an area.
        QPainterPathStroker stroker;
        stroker.setWidth(width);
        stroker.setCapStyle(pen().capStyle());
        stroker.setJoinStyle(pen().joinStyle());
        if (pen().style() != Qt::SolidLine) {
            QList<qreal> dashes = pen().dashPattern();
            const double unit = pen().isCosmetic() ? 1.0 : std::max(1.0, pen().widthF()) * scale;
            for (qreal& d : dashes)
                d = d * unit / width;
            stroker.setDashPattern(dashes);
        }
        QPainterPath outline = stroker.createStroke(device);
        outline.setFillRule(Qt::WindingFill);
        if (clipped()) outline = outline.intersected(clipPath());
        const QList<QPolygonF> polys = outline.toFillPolygons();
        if (!polys.isEmpty()) polygons(polys, pen().color(), true);
    }

    void image(const QRectF& target, const QImage& im, const QTransform& t,
               const QByteArray&) override {
        QRectF r = t.mapRect(target);
        QImage picture = im;
        if (clipped()) {
            // Pictures are clipped to their element's rectangle: the part of the picture inside.
            const QRectF c = clipPath().boundingRect().intersected(r);
            if (c.isEmpty()) return;
            if (c != r) {
                const double sx = im.width() / r.width(), sy = im.height() / r.height();
                const QRect part(int(std::floor((c.left() - r.left()) * sx)),
                                 int(std::floor((c.top() - r.top()) * sy)),
                                 std::max(1, int(std::lround(c.width() * sx))),
                                 std::max(1, int(std::lround(c.height() * sy))));
                picture = im.copy(part);
                r = c;
            }
        }
        bitmap(r, picture);
    }

private:
    std::optional<quint32> textColor_;
};

// ---- EMF --------------------------------------------------------------------------------------

class EmfWriter : public MetafileEngine {
public:
    explicit EmfWriter(QSize size) : size_(size) {}

    QByteArray finish() {
        record(14, [](Bytes& b) { // EMR_EOF
            b.u32(0);
            b.u32(16);
            b.u32(20);
        });
        Bytes h;
        h.u32(1); // EMR_HEADER
        h.u32(108);
        h.i32(0);
        h.i32(0);
        h.i32(size_.width() - 1);
        h.i32(size_.height() - 1);
        // The frame in hundredths of a millimetre: 600 units an inch.
        h.i32(0);
        h.i32(0);
        h.i32(round32(size_.width() * 2540.0 / 600) - 1);
        h.i32(round32(size_.height() * 2540.0 / 600) - 1);
        h.u32(0x464D4520);
        h.u32(0x10000);
        h.u32(quint32(108 + body_.d.size()));
        h.u32(quint32(records_ + 1));
        h.u16(quint16(std::max(1, table_.size())));
        h.u16(0);
        h.u32(0);
        h.u32(0);
        h.u32(0);
        // The reference device is the page itself: one pixel a unit.
        h.i32(size_.width());
        h.i32(size_.height());
        h.i32(round32(size_.width() * 25.4 / 600));
        h.i32(round32(size_.height() * 25.4 / 600));
        h.u32(0);
        h.u32(0);
        h.u32(0);
        h.i32(round32(size_.width() * 25400.0 / 600));
        h.i32(round32(size_.height() * 25400.0 / 600));
        return h.d + body_.d;
    }

    void start() {
        record(17, [](Bytes& b) { b.u32(1); });  // EMR_SETMAPMODE MM_TEXT
        record(18, [](Bytes& b) { b.u32(1); });  // EMR_SETBKMODE TRANSPARENT
        record(22, [](Bytes& b) { b.u32(24); }); // EMR_SETTEXTALIGN TA_BASELINE
    }

protected:
    void polygons(const QList<QPolygonF>& polys, const QColor& color, bool winding) override {
        selectBrush(color);
        selectNullPen();
        if (winding != winding_) {
            winding_ = winding;
            record(19, [&](Bytes& b) { b.u32(winding ? 2 : 1); }); // EMR_SETPOLYFILLMODE
        }
        quint32 total = 0;
        for (const QPolygonF& p : polys)
            total += quint32(p.size());
        const QRect bounds = boundsOf(polys);
        record(91, [&](Bytes& b) { // EMR_POLYPOLYGON16
            rectl(b, bounds);
            b.u32(quint32(polys.size()));
            b.u32(total);
            for (const QPolygonF& p : polys)
                b.u32(quint32(p.size()));
            for (const QPolygonF& p : polys)
                for (const QPointF& pt : p) {
                    b.i16(clamp16(pt.x()));
                    b.i16(clamp16(pt.y()));
                }
        });
    }

    void polyline(const QPolygonF& line, const QColor& color, int width) override {
        if (line.size() < 2) return;
        selectPen(color, width);
        record(87, [&](Bytes& b) { // EMR_POLYLINE16
            rectl(b, boundsOf({line}));
            b.u32(quint32(line.size()));
            for (const QPointF& pt : line) {
                b.i16(clamp16(pt.x()));
                b.i16(clamp16(pt.y()));
            }
        });
    }

    void bitmap(const QRectF& target, const QImage& image) override {
        int w = 0, h = 0;
        const QByteArray bits = dib(image, &w, &h);
        const QRect r = target.toRect();
        record(81, [&](Bytes& b) { // EMR_STRETCHDIBITS
            rectl(b, r);
            b.i32(r.left());
            b.i32(r.top());
            b.i32(0);
            b.i32(0);
            b.i32(w);
            b.i32(h);
            b.u32(80);
            b.u32(40);
            b.u32(120);
            b.u32(quint32(bits.size() - 40));
            b.u32(0);          // DIB_RGB_COLORS
            b.u32(0x00CC0020); // SRCCOPY
            b.i32(r.width());
            b.i32(r.height());
            b.raw(bits);
        });
    }

    void textRecord(const FontKey& font, const ModelText& t, QPointF origin) override {
        selectFont(font);
        if (textColorChanges(t.color))
            record(24, [&](Bytes& b) { b.u32(colorRef(t.color)); }); // EMR_SETTEXTCOLOR
        QString text;
        std::vector<int> dx;
        textAndAdvances(t, &text, &dx);
        const quint32 n = quint32(text.size());
        const quint32 stringBytes = (n * 2 + 3) / 4 * 4;
        record(84, [&](Bytes& b) { // EMR_EXTTEXTOUTW
            rectl(b, QRect(int(origin.x()), int(origin.y() - t.em), int(t.em * n), int(t.em)));
            b.u32(1); // GM_COMPATIBLE
            b.f32(0);
            b.f32(0);
            b.i32(round32(origin.x()));
            b.i32(round32(origin.y()));
            b.u32(n);
            b.u32(76);
            b.u32(0);
            b.i32(0);
            b.i32(0);
            b.i32(-1);
            b.i32(-1);
            b.u32(76 + stringBytes);
            for (QChar c : text)
                b.u16(c.unicode());
            b.pad(4);
            for (int v : dx)
                b.i32(v);
        });
    }

private:
    template <typename F> void record(quint32 type, F fill) {
        Bytes b;
        b.u32(type);
        b.u32(0);
        fill(b);
        b.pad(4);
        qToLittleEndian<quint32>(quint32(b.d.size()), b.d.data() + 4);
        body_.raw(b.d);
        ++records_;
    }
    static void rectl(Bytes& b, const QRect& r) {
        b.i32(r.left());
        b.i32(r.top());
        b.i32(r.right());
        b.i32(r.bottom());
    }
    static QRect boundsOf(const QList<QPolygonF>& polys) {
        QRectF r;
        for (const QPolygonF& p : polys)
            r = r.united(p.boundingRect());
        return r.toAlignedRect();
    }

    void selectNullPen() {
        if (pen_ == kNull) return;
        pen_ = kNull;
        record(37, [](Bytes& b) { b.u32(0x80000008); }); // NULL_PEN
    }
    // Creates an object into a free handle, selects it and deletes the one it replaces.
    template <typename F> void replace(int& current, quint32 type, F fill) {
        const int h = table_.take();
        record(type, [&](Bytes& b) {
            b.u32(quint32(h));
            fill(b);
        });
        record(37, [&](Bytes& b) { b.u32(quint32(h)); }); // EMR_SELECTOBJECT
        if (current > 0) {
            const int old = current;
            record(40, [&](Bytes& b) { b.u32(quint32(old)); }); // EMR_DELETEOBJECT
            table_.release(old);
        }
        current = h;
    }
    void selectBrush(const QColor& c) {
        const quint32 ref = colorRef(c);
        if (brush_ == ref) return;
        replace(brushHandle_, 39, [&](Bytes& b) { // EMR_CREATEBRUSHINDIRECT
            b.u32(0);
            b.u32(ref);
            b.u32(0);
        });
        brush_ = ref;
    }
    void selectPen(const QColor& c, int width) {
        const qint64 key = qint64(colorRef(c)) | (qint64(width) << 24);
        if (pen_ == key) return;
        replace(penHandle_, 38, [&](Bytes& b) { // EMR_CREATEPEN
            b.u32(0);                           // PS_SOLID
            b.i32(width);
            b.i32(0);
            b.u32(colorRef(c));
        });
        pen_ = key;
    }
    void selectFont(const FontKey& key) {
        if (font_ && *font_ == key) return;
        replace(fontHandle_, 82, [&](Bytes& b) { // EMR_EXTCREATEFONTINDIRECTW
            b.i32(-key.height);
            b.i32(0);
            b.i32(key.escapement);
            b.i32(key.escapement);
            b.i32(key.weight);
            b.u8(key.italic ? 1 : 0);
            b.u8(0);
            b.u8(0);
            b.u8(238); // central European
            b.u8(0);
            b.u8(0);
            b.u8(0);
            b.u8(0);
            for (int i = 0; i < 32; ++i)
                b.u16(i < key.name.size() && i < 31 ? key.name[i].unicode() : 0);
        });
        font_ = key;
    }

    static constexpr qint64 kNull = -1;
    QSize size_;
    Bytes body_;
    quint32 records_ = 0;
    ObjectTable table_{1};
    int brushHandle_ = 0, penHandle_ = 0, fontHandle_ = 0;
    qint64 brush_ = -2, pen_ = -2;
    std::optional<FontKey> font_;
    bool winding_ = false;
};

// ---- WMF --------------------------------------------------------------------------------------

class WmfWriter : public MetafileEngine {
public:
    explicit WmfWriter(QSize size) : size_(size) {}

    void start() {
        record(0x0103, [](Bytes& b) { b.u16(8); }); // META_SETMAPMODE MM_ANISOTROPIC
        record(0x020B, [](Bytes& b) {               // META_SETWINDOWORG
            b.i16(0);
            b.i16(0);
        });
        record(0x020C, [&](Bytes& b) { // META_SETWINDOWEXT
            b.i16(clamp16(size_.height()));
            b.i16(clamp16(size_.width()));
        });
        record(0x0102, [](Bytes& b) { b.u16(1); });  // META_SETBKMODE TRANSPARENT
        record(0x012E, [](Bytes& b) { b.u16(24); }); // META_SETTEXTALIGN TA_BASELINE
        // A null pen for areas, made once and kept in slot 0.
        table_.take();
        record(0x02FA, [](Bytes& b) { // META_CREATEPENINDIRECT PS_NULL
            b.u16(5);
            b.i16(0);
            b.i16(0);
            b.u32(0);
        });
    }

    QByteArray finish() {
        record(0, [](Bytes&) {}); // META_EOF
        Bytes h;
        h.u16(1);
        h.u16(9);
        h.u16(0x0300);
        h.u32(quint32((18 + body_.d.size()) / 2));
        h.u16(quint16(std::max(1, table_.size())));
        h.u32(maxRecord_);
        h.u16(0);
        Bytes p;
        p.u32(0x9AC6CDD7);
        p.u16(0);
        p.i16(0);
        p.i16(0);
        p.i16(clamp16(size_.width()));
        p.i16(clamp16(size_.height()));
        p.u16(600);
        p.u32(0);
        quint16 sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= qFromLittleEndian<quint16>(p.d.constData() + 2 * i);
        p.u16(sum);
        return p.d + h.d + body_.d;
    }

protected:
    void polygons(const QList<QPolygonF>& polys, const QColor& color, bool winding) override {
        selectNullPen();
        selectBrush(color);
        if (winding != winding_) {
            winding_ = winding;
            record(0x0106, [&](Bytes& b) { b.u16(winding ? 2 : 1); }); // META_SETPOLYFILLMODE
        }
        // A record holds at most 32767 points; larger sets go in parts.
        QList<QPolygonF> part;
        int points = 0;
        auto flush = [&] {
            if (part.isEmpty()) return;
            record(0x0538, [&](Bytes& b) { // META_POLYPOLYGON
                b.u16(quint16(part.size()));
                for (const QPolygonF& p : part)
                    b.u16(quint16(p.size()));
                for (const QPolygonF& p : part)
                    for (const QPointF& pt : p) {
                        b.i16(clamp16(pt.x()));
                        b.i16(clamp16(pt.y()));
                    }
            });
            part.clear();
            points = 0;
        };
        for (const QPolygonF& p : polys) {
            if (p.size() > 16000) continue;
            if (points + p.size() > 16000) flush();
            part << p;
            points += int(p.size());
        }
        flush();
    }

    void polyline(const QPolygonF& line, const QColor& color, int width) override {
        if (line.size() < 2 || line.size() > 16000) return;
        selectPen(color, width);
        record(0x0325, [&](Bytes& b) { // META_POLYLINE
            b.i16(qint16(line.size()));
            for (const QPointF& pt : line) {
                b.i16(clamp16(pt.x()));
                b.i16(clamp16(pt.y()));
            }
        });
    }

    void bitmap(const QRectF& target, const QImage& image) override {
        int w = 0, h = 0;
        const QByteArray bits = dib(image, &w, &h);
        const QRect r = target.toRect();
        record(0x0F43, [&](Bytes& b) { // META_STRETCHDIB
            b.u32(0x00CC0020);
            b.u16(0);
            b.i16(clamp16(h));
            b.i16(clamp16(w));
            b.i16(0);
            b.i16(0);
            b.i16(clamp16(r.height()));
            b.i16(clamp16(r.width()));
            b.i16(clamp16(r.top()));
            b.i16(clamp16(r.left()));
            b.raw(bits);
        });
    }

    void textRecord(const FontKey& font, const ModelText& t, QPointF origin) override {
        selectFont(font);
        if (textColorChanges(t.color))
            record(0x0209, [&](Bytes& b) { b.u32(colorRef(t.color)); }); // META_SETTEXTCOLOR
        QString text;
        std::vector<int> dx;
        textAndAdvances(t, &text, &dx);
        // Windows-1250 has no characters beyond the first plane.
        for (QChar& c : text)
            if (c.isSurrogate()) c = QLatin1Char('?');
        const QByteArray bytes = encode(text, Codepage::Cp1250);
        if (bytes.size() != text.size()) return;
        record(0x0A32, [&](Bytes& b) { // META_EXTTEXTOUT
            b.i16(clamp16(origin.y()));
            b.i16(clamp16(origin.x()));
            b.i16(qint16(bytes.size()));
            b.u16(0);
            b.raw(bytes);
            b.pad(2);
            for (int v : dx)
                b.i16(clamp16(v));
        });
    }

private:
    template <typename F> void record(quint16 function, F fill) {
        Bytes b;
        b.u32(0);
        b.u16(function);
        fill(b);
        b.pad(2);
        const quint32 words = quint32(b.d.size() / 2);
        qToLittleEndian<quint32>(words, b.d.data());
        maxRecord_ = std::max(maxRecord_, words);
        body_.raw(b.d);
    }
    void select(int index) {
        record(0x012D, [&](Bytes& b) { b.u16(quint16(index)); }); // META_SELECTOBJECT
    }
    // Creates an object into the lowest free slot, selects it and deletes the one it replaces.
    template <typename F> void replace(int& current, quint16 function, F fill) {
        const int slot = table_.take();
        record(function, fill);
        select(slot);
        if (current >= 0) {
            const int old = current;
            record(0x01F0, [&](Bytes& b) { b.u16(quint16(old)); }); // META_DELETEOBJECT
            table_.release(old);
        }
        current = slot;
    }
    void selectNullPen() {
        if (penSelected_ == kNullPen) return;
        select(kNullPen);
        penSelected_ = kNullPen;
    }
    void selectBrush(const QColor& c) {
        const quint32 ref = colorRef(c);
        if (brush_ == ref) return;
        replace(brushSlot_, 0x02FC, [&](Bytes& b) { // META_CREATEBRUSHINDIRECT
            b.u16(0);
            b.u32(ref);
            b.u16(0);
        });
        brush_ = ref;
    }
    void selectPen(const QColor& c, int width) {
        const qint64 key = qint64(colorRef(c)) | (qint64(width) << 24);
        if (pen_ == key) {
            if (penSelected_ != penSlot_) {
                select(penSlot_);
                penSelected_ = penSlot_;
            }
            return;
        }
        replace(penSlot_, 0x02FA, [&](Bytes& b) { // META_CREATEPENINDIRECT
            b.u16(0);
            b.i16(clamp16(width));
            b.i16(0);
            b.u32(colorRef(c));
        });
        penSelected_ = penSlot_;
        pen_ = key;
    }
    void selectFont(const FontKey& key) {
        if (font_ && *font_ == key) return;
        replace(fontSlot_, 0x02FB, [&](Bytes& b) { // META_CREATEFONTINDIRECT
            b.i16(clamp16(-key.height));
            b.i16(0);
            b.i16(qint16(key.escapement));
            b.i16(qint16(key.escapement));
            b.i16(qint16(key.weight));
            b.u8(key.italic ? 1 : 0);
            b.u8(0);
            b.u8(0);
            b.u8(238); // central European: the text is Windows-1250
            b.u8(0);
            b.u8(0);
            b.u8(0);
            b.u8(0);
            QByteArray name = encode(key.name, Codepage::Cp1250).left(31);
            name.append(QByteArray(32 - name.size(), '\0'));
            b.raw(name);
        });
        font_ = key;
    }

    static constexpr int kNullPen = 0;
    QSize size_;
    Bytes body_;
    quint32 maxRecord_ = 3;
    ObjectTable table_{0};
    int brushSlot_ = -1, penSlot_ = -1, fontSlot_ = -1, penSelected_ = -1;
    qint64 brush_ = -2, pen_ = -2;
    std::optional<FontKey> font_;
    bool winding_ = false;
};

template <typename Writer> QByteArray drawInto(const TSestVystup& out, int pageIndex) {
    const QSize size(std::max(1, int(std::ceil(out.printableWidth * kVectorScale))),
                     std::max(1, int(std::ceil(out.printableHeight * kVectorScale))));
    Writer w(size);
    w.start();
    VectorPaintDevice device(&w, size, int(100 * kVectorScale));
    QPainter painter(&device);
    drawVectorPage(painter, w, out, pageIndex);
    painter.end();
    return w.finish();
}

} // namespace

QByteArray pageMetafile(const TSestVystup& out, int pageIndex, MetafileKind kind) {
    if (pageIndex < 0 || pageIndex >= out.pageCount()) return {};
    return kind == MetafileKind::Emf ? drawInto<EmfWriter>(out, pageIndex)
                                     : drawInto<WmfWriter>(out, pageIndex);
}

} // namespace brix::report
