#include "rtf.h"

#include "codec.h"
#include "pageitems.h"

#include <cmath>
#include <map>
#include <set>
#include <tuple>

namespace brix::report {

namespace {

// "\fnil\fcharset238 Arial;": the style digits of the font key do not make a table entry.
QByteArray fontEntry(const RunFace& face, int charset) {
    return "\\fnil\\fcharset" + QByteArray::number(charset) + ' ' + rtfEscape(face.family) + ';';
}

using ColorKey = std::tuple<int, int, int>;
ColorKey colorKey(int color) {
    return {redOf(color), greenOf(color), blueOf(color)};
}

class RtfWriter {
public:
    RtfWriter(const TSestVystup& out, const PageSetup& page, PageRange range)
        : out_(out), page_(page), range_(range) {}

    QByteArray write(const RtfOptions& options);

private:
    void collectTables();
    void text(const TVystPrvek& e);
    void line(const TVystPrvek& e);
    void shape(const TVystPrvek& e);
    void lineShape(double x1, double y1, double x2, double y2, bool flipV,
                   const TSiReportElement& s);
    // Drawing shapes are placed from the margins' corner.
    QByteArray shapeBox(double left, double top, double right, double bottom) const;

    const TSestVystup& out_;
    const PageSetup& page_;
    PageRange range_;
    std::map<QByteArray, int> fonts_;
    std::map<ColorKey, int> colors_;
    QByteArray b_;
};

void RtfWriter::collectTables() {
    std::set<QByteArray> fonts;
    std::set<ColorKey> colors;
    for (int p = range_.first; p <= range_.last; ++p)
        for (const TVystPrvek& e : out_.pages[size_t(p)].elements) {
            if (!isTextKind(e.source.kind)) continue;
            for (const PlacedLine& l : visibleLines(e))
                for (const TFragment& run : l.line->runs) {
                    fonts.insert(fontEntry(runFace(run, e.source), run.charset));
                    colors.insert(colorKey(run.color));
                }
        }
    int n = 0;
    for (const QByteArray& f : fonts)
        fonts_[f] = n++;
    n = 0;
    for (const ColorKey& c : colors)
        colors_[c] = n++;
}

QByteArray RtfWriter::write(const RtfOptions& options) {
    collectTables();
    b_ += "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deftab720";
    b_ += "{\\fonttbl";
    for (const auto& [entry, n] : fonts_)
        b_ += "{\\f" + QByteArray::number(n) + entry + '}';
    b_ += "}";
    b_ += "{\\colortbl";
    for (const auto& [c, n] : colors_)
        b_ += "\\red" + QByteArray::number(std::get<0>(c)) + "\\green" +
              QByteArray::number(std::get<1>(c)) + "\\blue" + QByteArray::number(std::get<2>(c)) +
              ';';
    b_ += "}";
    b_ += "{\\info{\\doccomm Produced by: TALIV Report Generator (" +
          rtfEscape(options.producerAddress) + ")}}";
    const int w = page_.landscape ? page_.paperHeight : page_.paperWidth;
    const int h = page_.landscape ? page_.paperWidth : page_.paperHeight;
    b_ += "\\viewkind1\\paperw" + QByteArray::number(toTwips(w)) + "\\paperh" +
          QByteArray::number(toTwips(h)) + "\\margl" +
          QByteArray::number(toTwips(page_.marginLeft)) + "\\margr" +
          QByteArray::number(toTwips(page_.marginRight)) + "\\margt" +
          QByteArray::number(toTwips(page_.marginTop * 0.8)) + "\\margb" +
          QByteArray::number(toTwips(page_.marginBottom * 0.8)) +
          (page_.landscape ? "\\lndscpsxn" : "") + "\\headery0\\footery0\r\n";
    for (int p = range_.first; p <= range_.last; ++p) {
        b_ += "{";
        for (const TVystPrvek& e : out_.pages[size_t(p)].elements) {
            const int kind = e.source.kind;
            if (isTextKind(kind))
                text(e);
            else if (kind == KindLine)
                line(e);
            else if (kind == KindRectangle || kind == KindRoundRect || kind == KindEllipse)
                shape(e);
            else
                continue;
            b_ += "\r\n";
        }
        b_ += p < range_.last ? "\\par\\page}\r\n" : "\\par}\r\n";
    }
    b_ += "}";
    return b_;
}

void RtfWriter::text(const TVystPrvek& e) {
    const TSiReportElement& s = e.source;
    const int align = s.hasFlag(TextJustify) ? 3 : s.alignment;
    static const char* const kAlign[] = {"\\ql", "\\qr", "\\qc", "\\qj"};
    for (const PlacedLine& l : visibleLines(e)) {
        b_ += "\\par\\pard";
        if (s.flags & FrameTop) b_ += "\\brdrt\\brdrs\\brdrw20 ";
        if (s.flags & FrameLeft) b_ += "\\brdrl\\brdrs\\brdrw20 ";
        if (s.flags & FrameBottom) b_ += "\\brdrb\\brdrs\\brdrw20 ";
        if (s.flags & FrameRight) b_ += "\\brdrr\\brdrs\\brdrw20 ";
        b_ += "\\pvpg\\phpg\\absw" + QByteArray::number(toTwips(e.width)) + "\\absh" +
              QByteArray::number(-toTwips(e.height)) + "\\posy" +
              QByteArray::number(toTwips(l.top + page_.marginTop)) + "\\posx" +
              QByteArray::number(toTwips(e.left + page_.marginLeft));
        for (const TFragment& run : l.line->runs) {
            const RunFace face = runFace(run, s);
            b_ += "\\f" + QByteArray::number(fonts_[fontEntry(face, run.charset)]) + "\\cf" +
                  QByteArray::number(colors_[colorKey(run.color)]) + "\\fs" +
                  QByteArray::number(face.points * 2) + ' ';
            QByteArray open, close;
            if (face.bold) open += "\\b";
            if (face.underline) open += "\\ul";
            if (face.italic) open += "\\i";
            open += kAlign[align >= 0 && align <= 3 ? align : 0];
            if (face.italic) close += "\\i0";
            if (face.underline) close += "\\ul0";
            if (face.bold) close += "\\b0";
            b_ += open + ' ' + rtfEscape(run.text) + close;
        }
    }
}

QByteArray RtfWriter::shapeBox(double left, double top, double right, double bottom) const {
    return "{\\shp{\\*\\shpinst\\shpleft" + QByteArray::number(toTwips(left)) + "\\shptop" +
           QByteArray::number(toTwips(top)) + "\\shpright" + QByteArray::number(toTwips(right)) +
           "\\shpbottom" + QByteArray::number(toTwips(bottom)) + "\\shpbxmargin\\shpbymargin";
}

void RtfWriter::lineShape(double x1, double y1, double x2, double y2, bool flipV,
                          const TSiReportElement& s) {
    b_ += shapeBox(x1, y1, x2, y2);
    b_ += "{\\sp{\\sn shapeType}{\\sv 20}}";
    if (flipV) b_ += "{\\sp{\\sn fFlipV}{\\sv 1}}";
    const int style = s.effectivePenStyle();
    if (style >= 1 && style <= 4)
        b_ += "{\\sp{\\sn lineDashing}{\\sv " + QByteArray::number(style) + "}}";
    b_ += "{\\sp{\\sn lineColor}{\\sv " + QByteArray::number(s.penColor) + "}}";
    b_ += "{\\sp{\\sn lineWidth}{\\sv " + QByteArray::number(s.penWidth * 9144) + "}}}}";
}

void RtfWriter::line(const TVystPrvek& e) {
    const TSiReportElement& s = e.source;
    const double l = e.left, t = e.top, r = e.left + e.width, b = e.top + e.height;
    b_ += "\\par\\pard";
    if (s.flags & FrameTop) lineShape(l, t, r, t, false, s);
    if (s.flags & FrameLeft) lineShape(l, t, l, b, false, s);
    if (s.flags & FrameBottom) lineShape(l, b, r, b, false, s);
    if (s.flags & FrameRight) lineShape(r, t, r, b, false, s);
    // The rising diagonal: a box from top-left to bottom-right, turned upside down.
    if (s.flags & 0x10) lineShape(l, t, r, b, true, s);
    if (s.flags & 0x20) lineShape(l, t, r, b, false, s);
    if (s.flags & 0x40) {
        b_ += shapeBox(l, t, r, b);
        b_ += "{\\sp{\\sn shapeType}{\\sv 3}}";
        const int style = s.effectivePenStyle();
        if (style >= 1 && style <= 4)
            b_ += "{\\sp{\\sn lineDashing}{\\sv " + QByteArray::number(style) + "}}";
        b_ += "{\\sp{\\sn fillOpacity}{\\sv 0}}}}";
    }
}

void RtfWriter::shape(const TVystPrvek& e) {
    const TSiReportElement& s = e.source;
    const int type = s.kind == KindRectangle ? 1 : s.kind == KindRoundRect ? 2 : 3;
    b_ += "\\par\\pard";
    b_ += shapeBox(e.left, e.top, e.left + e.width, e.top + e.height);
    b_ += "{\\sp{\\sn shapeType}{\\sv " + QByteArray::number(type) + "}}";
    // Fill style 1 ("prázdné") is no fill at all, not a white one.
    if (s.fillStyle == 1)
        b_ += "{\\sp{\\sn fFilled}{\\sv 0}}";
    else
        b_ += "{\\sp{\\sn fillColor}{\\sv " + QByteArray::number(s.fillColor) + "}}";
    if (s.penWidth > 0)
        b_ += "{\\sp{\\sn lineColor}{\\sv " + QByteArray::number(s.penColor) +
              "}}{\\sp{\\sn lineWidth}{\\sv " + QByteArray::number(s.penWidth * 9144) + "}}";
    else
        b_ += "{\\sp{\\sn fLine}{\\sv 0}}";
    b_ += "{\\sp{\\sn fBehindDocument}{\\sv 1}}}}";
}

} // namespace

int toTwips(double units) {
    const double t = std::floor(std::abs(units) * 14.4 + 1e-7);
    return int(units < 0 ? -t : t);
}

QByteArray rtfEscape(QStringView text) {
    QByteArray out;
    out.reserve(text.size());
    static const char kHex[] = "0123456789abcdef";
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\t') {
            out += "\\tab ";
        } else if (u < 32) {
            continue;
        } else if (u < 128) {
            if (u == '\\' || u == '{' || u == '}') out += '\\';
            out += char(u);
        } else if (canEncode(c, Codepage::Cp1250)) {
            const QByteArray byte = encode(QStringView(&c, 1), Codepage::Cp1250);
            const auto v = static_cast<unsigned char>(byte.at(0));
            out += "\\'";
            out += kHex[v >> 4];
            out += kHex[v & 15];
        } else {
            out += "\\u" + QByteArray::number(int(static_cast<int16_t>(u))) + '?';
        }
    }
    return out;
}

QByteArray rtfDocument(const TSestVystup& out, const PageSetup& page, int firstPage, int lastPage,
                       const RtfOptions& options) {
    RtfWriter w(out, page, pageRange(out, firstPage, lastPage));
    return w.write(options);
}

} // namespace brix::report
