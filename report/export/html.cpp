#include "html.h"

#include "codec.h"
#include "pageitems.h"

#include <QFileInfo>

#include <cmath>

namespace brix::report {

namespace {

QByteArray px(double v) {
    return QByteArray::number(qlonglong(std::lround(v))) + "px";
}

QByteArray colorText(int color) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%2.2x%2.2x%2.2x", redOf(color), greenOf(color), blueOf(color));
    return buf;
}

QByteArray box(double top, double left, double width, double height) {
    return "position: absolute; top: " + px(top) + "; left: " + px(left) + "; width: " + px(width) +
           "; height: " + px(height) + ";";
}

// The frame sides of the flags in the order top, right, bottom, left.
QByteArray borders(int flags, const QByteArray& value) {
    QByteArray b;
    if (flags & FrameTop) b += " border-top: " + value + ';';
    if (flags & FrameRight) b += " border-right: " + value + ';';
    if (flags & FrameBottom) b += " border-bottom: " + value + ';';
    if (flags & FrameLeft) b += " border-Left: " + value + ';';
    return b;
}

const QByteArray kThinFrame = "1px solid #000000";

QByteArray lineStyle(int penStyle) {
    if (penStyle == 1 || penStyle == 3) return "dashed";
    if (penStyle == 2 || penStyle == 4) return "dotted";
    return "solid";
}

class HtmlWriter {
public:
    HtmlWriter(const TStranaPrvku& page, const QString& pictureFile, const ElementImage& draw)
        : page_(page), pictureFile_(pictureFile), draw_(draw) {}
    HtmlPage write();

private:
    void text(const TVystPrvek& e);
    void line(const TVystPrvek& e);
    void shape(const TVystPrvek& e);
    void picture(const TVystPrvek& e, int number);
    QByteArray fontStyle(const TSiReportElement& s, const RunFace& face) const;

    const TStranaPrvku& page_;
    QString pictureFile_;
    const ElementImage& draw_;
    HtmlPage result_;
    QByteArray& b_ = result_.html;
};

HtmlPage HtmlWriter::write() {
    b_ += "<HTML> <HEAD> <TITLE> </TITLE>\n";
    b_ += "<META NAME=\"Creator\" CONTENT=\"TalivReportGenerator\">\n";
    b_ += "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1250\">\n";
    b_ += "</HEAD> <BODY BGCOLOR = \"#FFFFFF\"><PRE>\n";
    int number = 0;
    for (const TVystPrvek& e : page_.elements) {
        ++number;
        const int kind = e.source.kind;
        if (isTextKind(kind))
            text(e);
        else if (kind == KindLine)
            line(e);
        else if (kind == KindRectangle || kind == KindRoundRect || kind == KindEllipse)
            shape(e);
        else if (kind == KindPicture || kind == KindBarcode || kind == KindPaintBox || e.image)
            picture(e, number);
    }
    b_ += "</PRE></BODY> </HTML>\n";
    return std::move(result_);
}

QByteArray HtmlWriter::fontStyle(const TSiReportElement& s, const RunFace& face) const {
    return " font: " + QByteArray::number(face.points) + "pt " + htmlEscape(face.family) +
           "; color: " + colorText(s.fontColor) + "\">";
}

void HtmlWriter::text(const TVystPrvek& e) {
    const TSiReportElement& s = e.source;
    TFragment plain;
    plain.fontName = s.fontName;
    plain.fontSize = s.fontSize;
    plain.bold = s.fontStyle & StyleBold;
    plain.italic = s.fontStyle & StyleItalic;
    plain.underline = s.fontStyle & StyleUnderline;
    const RunFace face = runFace(plain, s);
    QByteArray alignOpen;
    if (!s.hasFlag(TextJustify)) {
        if (s.alignment == AlignRight) alignOpen = "<p align=\"right\">";
        if (s.alignment == AlignCenter) alignOpen = "<p align=\"center\">";
    }
    QByteArray open, close;
    if (face.bold) open += "<b>";
    if (face.underline) open += "<u>";
    if (face.italic) open += "<i>";
    if (face.strikeOut) open += "<strike>";
    if (face.strikeOut) close += "</strike>";
    if (face.italic) close += "</i>";
    if (face.underline) close += "</u>";
    if (face.bold) close += "</b>";
    QByteArray spacing;
    if (s.spacing > 0)
        spacing = " letter-spacing: " + px(s.spacing - face.points * 11.0 / 16) + ';';

    const std::vector<PlacedLine> lines = visibleLines(e);
    if (lines.size() <= 1) {
        const QString t = lines.empty() ? QString() : lines[0].line->text();
        b_ += "<DIV STYLE=\"" + box(e.top, e.left, e.width, e.height) + spacing +
              borders(s.flags, kThinFrame) + fontStyle(s, face) + alignOpen + open + htmlEscape(t) +
              close + "</DIV>\n";
        return;
    }
    for (const PlacedLine& l : lines) {
        // Every space after the first of the line is a fixed one.
        const QString t = l.line->text();
        const qsizetype first = t.indexOf(QLatin1Char(' '));
        QByteArray escaped = htmlEscape(QStringView(t).left(first < 0 ? t.size() : first + 1));
        if (first >= 0) escaped += htmlEscape(QStringView(t).mid(first + 1)).replace(" ", "&nbsp;");
        b_ += "<DIV STYLE=\"" + box(l.top, e.left, e.width, l.line->height) + spacing +
              fontStyle(s, face) + alignOpen + open + escaped + close + "</DIV>\n";
    }
    b_ += "<DIV STYLE=\"" + box(e.top, e.left, e.width, e.height) + borders(s.flags, kThinFrame) +
          " font: 0pt\"></DIV>\n";
}

void HtmlWriter::line(const TVystPrvek& e) {
    const TSiReportElement& s = e.source;
    const QByteArray value =
        px(s.penWidth) + ' ' + lineStyle(s.effectivePenStyle()) + ' ' + colorText(s.penColor);
    b_ += "<DIV STYLE=\"font: 0pt; " + box(e.top, e.left, e.width, e.height) +
          borders(s.flags, value) + "\"></DIV>\n";
}

void HtmlWriter::shape(const TVystPrvek& e) {
    const TSiReportElement& s = e.source;
    // Fill style 1 ("prázdné") leaves the shape unfilled.
    const QByteArray fill = s.fillStyle == 1 ? QByteArray("transparent") : colorText(s.fillColor);
    b_ += "<DIV STYLE=\"font: 0pt; background-color: " + fill + "; " +
          box(e.top, e.left, e.width, e.height);
    if (s.penWidth > 0)
        b_ += borders(FrameLeft | FrameTop | FrameRight | FrameBottom,
                      px(s.penWidth) + " solid " + colorText(s.penColor));
    b_ += "\"></DIV>\n";
}

void HtmlWriter::picture(const TVystPrvek& e, int number) {
    if (!draw_) return;
    const QImage image = draw_(e);
    if (image.isNull()) return;
    const QString name =
        QFileInfo(replaceExtension(pictureFile_, QStringLiteral("%1.bmp").arg(number))).fileName();
    result_.bitmaps.emplace_back(name, image);
    const QByteArray frame =
        e.source.kind == KindPicture ? borders(e.source.flags, kThinFrame) : QByteArray();
    b_ += "<DIV STYLE=\"font: 0pt; " + box(e.top, e.left, e.width, e.height) + frame +
          "\"><IMG SRC=\"" + htmlEscape(name) + "\" ALT=\"\"></DIV>\n";
}

} // namespace

QString replaceExtension(const QString& fileName, const QString& replacement) {
    const qsizetype sep =
        std::max(fileName.lastIndexOf(QLatin1Char('/')), fileName.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return (dot > sep ? fileName.left(dot) : fileName) + replacement;
}

QByteArray htmlEscape(QStringView text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case '&':
            out += "&amp;";
            continue;
        case '<':
            out += "&lt;";
            continue;
        case '>':
            out += "&gt;";
            continue;
        default:
            break;
        }
        if (c.unicode() < 128 || canEncode(c, Codepage::Cp1250)) {
            out += encode(QStringView(&c, 1), Codepage::Cp1250);
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += "&#" + QByteArray::number(QChar::surrogateToUcs4(c, text[i + 1])) + ';';
            ++i;
        } else {
            out += "&#" + QByteArray::number(int(c.unicode())) + ';';
        }
    }
    return out;
}

HtmlPage htmlPage(const TSestVystup& out, int pageIndex, const QString& pictureFile,
                  const ElementImage& draw) {
    if (pageIndex < 0 || pageIndex >= out.pageCount()) return {};
    HtmlWriter w(out.pages[size_t(pageIndex)], pictureFile, draw);
    return w.write();
}

} // namespace brix::report
