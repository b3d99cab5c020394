#include "output.h"

#include "fontmetrics.h"
#include "fonts.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace brix::report {

Codepage codepageOf(TSestLanguage language) {
    switch (language) {
    case slASCII:
        return Codepage::Ascii;
    case slCP867:
        return Codepage::Kamenicky;
    case slCP852:
        return Codepage::Cp852;
    default:
        return Codepage::Cp1250;
    }
}

QString TFragment::fontKey() const {
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(charset)
        .arg(bold ? 1 : 0)
        .arg(underline ? 1 : 0)
        .arg(italic ? 1 : 0)
        .arg(fontName);
}

QString TRadek::text() const {
    QString s;
    for (const TFragment& f : runs)
        s += f.text;
    return s;
}

double TRadky::height(int first, int last) const {
    if (first > last || first < 0 || last >= count()) return 0;
    return lines[size_t(last)].top + lines[size_t(last)].height - lines[size_t(first)].top;
}

int pitchOfFontSize(int points) {
    if (points > 10) return 10;
    if (points >= 9) return 12;
    return 17;
}

int printerFontPitch(const QString& fontName) {
    if (!fontName.startsWith(QLatin1String("Roman "), Qt::CaseInsensitive)) return 0;
    if (fontName.contains(QLatin1String("17"))) return 17;
    if (fontName.contains(QLatin1String("12"))) return 12;
    return 10;
}

namespace {

int pitchOf(const QString& fontName, int fontSize) {
    const int p = printerFontPitch(fontName);
    return p ? p : pitchOfFontSize(fontSize);
}

double advanceOf(const TSiReportElement& e, const QString& fontName, int fontSize) {
    if (e.spacing > 0) return e.spacing;
    return 100.0 / pitchOf(fontName, fontSize);
}

// How the characters of one style advance: by the design advances of the style's face, or by
// one fixed advance.
struct Advance {
    const FontFace* face = nullptr;
    double em = 0;
    double fixed = 0;
    double of(QChar c) const { return face ? face->advance(c.unicode(), em) : fixed; }
};

Advance advanceFor(const TSiReportElement& e, const TFragment& style, const LayoutContext& ctx) {
    Advance a;
    if (ctx.characterGrid || e.spacing > 0 || printerFontPitch(style.fontName)) {
        a.fixed = advanceOf(e, style.fontName, style.fontSize);
        return a;
    }
    a.face = &fontFace(style.fontName, style.bold, style.italic);
    a.em = emSize(style.fontSize);
    return a;
}

// A character with its style (index into the style list).
struct StyledChar {
    QChar ch;
    int style;
};

constexpr double kDefaultTab = 50.0; // 720 twips
constexpr double kEpsilon = 1e-6;

} // namespace

double characterAdvance(const TSiReportElement& e) {
    return advanceOf(e, e.fontName, e.fontSize);
}

double lineHeightOf(const TSiReportElement& e, const LayoutContext& ctx, int fontSize) {
    if (ctx.characterGrid) return ctx.gridLineHeight;
    int points = fontSize > 0 ? fontSize : 10;
    if (const int p = printerFontPitch(e.fontName)) points = p == 17 ? 8 : p == 12 ? 10 : 11;
    return points * 100.0 / 72.0 * 1.2;
}

// ---- rich text --------------------------------------------------------------------------

namespace {

struct RtfState {
    int font = 0;
    int size = 0; // points
    int color = 0;
    bool bold = false, italic = false, underline = false;
    int skip = 0; // inside a destination that is not text
};

int cp1250Char(int byte) {
    const char c = char(byte);
    return decode(QByteArrayView(&c, 1), Codepage::Cp1250).at(0).unicode();
}

} // namespace

std::vector<TFragment> parseRichText(const QString& rtf, const TSiReportElement& base,
                                     std::vector<double>* tabStops) {
    std::vector<TFragment> out;
    QMap<int, QString> fonts;
    std::vector<int> colors; // 0xBBGGRR
    std::vector<RtfState> stack;
    RtfState st;
    st.size = base.fontSize > 0 ? base.fontSize : 10;
    st.color = base.fontColor;
    st.bold = base.fontStyle & StyleBold;
    st.italic = base.fontStyle & StyleItalic;
    st.underline = base.fontStyle & StyleUnderline;
    // Destination kinds: 0 text, 1 font table, 2 colour table, 3 ignored.
    int dest = 0;
    std::vector<int> destStack;
    QString fontNameBuf;
    int fontNumber = 0;
    int red = 0, green = 0, blue = 0;
    bool colorGiven = false; // the colour-table entry so far names a colour (else "auto")
    int unicodeSkip = 1, pendingSkip = 0;

    auto put = [&](QChar c) {
        if (pendingSkip > 0) {
            --pendingSkip;
            return;
        }
        if (dest == 1) {
            if (c == QLatin1Char(';')) {
                fonts[fontNumber] = fontNameBuf.trimmed();
                fontNameBuf.clear();
            } else {
                fontNameBuf += c;
            }
            return;
        }
        if (dest == 2) {
            if (c == QLatin1Char(';')) {
                // Entry n of the table is "\cfn"; an entry without a colour is the automatic
                // one, the element's own colour.
                colors.push_back(colorGiven ? red | (green << 8) | (blue << 16) : base.fontColor);
                red = green = blue = 0;
                colorGiven = false;
            }
            return;
        }
        if (dest != 0) return;
        const QString name = fonts.value(st.font, base.fontName);
        if (out.empty() || out.back().fontName != name || out.back().fontSize != st.size ||
            out.back().color != st.color || out.back().bold != st.bold ||
            out.back().italic != st.italic || out.back().underline != st.underline) {
            TFragment f;
            f.fontName = name;
            f.fontSize = st.size;
            f.color = st.color;
            f.charset = base.charset;
            f.bold = st.bold;
            f.italic = st.italic;
            f.underline = st.underline;
            out.push_back(f);
        }
        out.back().text += c;
    };

    const qsizetype n = rtf.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = rtf[i];
        if (c == QLatin1Char('{')) {
            stack.push_back(st);
            destStack.push_back(dest);
            continue;
        }
        if (c == QLatin1Char('}')) {
            if (dest == 1 && !fontNameBuf.trimmed().isEmpty()) {
                fonts[fontNumber] = fontNameBuf.trimmed().remove(QLatin1Char(';'));
                fontNameBuf.clear();
            }
            if (!stack.empty()) {
                st = stack.back();
                stack.pop_back();
                dest = destStack.back();
                destStack.pop_back();
            }
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) continue;
        if (c != QLatin1Char('\\')) {
            put(c);
            continue;
        }
        if (++i >= n) break;
        const QChar d = rtf[i];
        if (d == QLatin1Char('\\') || d == QLatin1Char('{') || d == QLatin1Char('}')) {
            put(d);
            continue;
        }
        if (d == QLatin1Char('\'')) {
            const int code = rtf.mid(i + 1, 2).toInt(nullptr, 16);
            i += 2;
            put(QChar(cp1250Char(code)));
            continue;
        }
        if (d == QLatin1Char('*')) {
            dest = 3;
            continue;
        }
        if (d == QLatin1Char('~')) {
            put(QChar(0x00A0));
            continue;
        }
        if (d == QLatin1Char('-') || d == QLatin1Char('_')) continue;
        if (!d.isLetter()) continue;
        // Control word with an optional numeric parameter and one space delimiter.
        qsizetype j = i;
        while (j < n && rtf[j].isLetter() && rtf[j].unicode() < 128)
            ++j;
        const QString word = rtf.mid(i, j - i);
        bool hasNum = false;
        int num = 0;
        qsizetype k = j;
        if (k < n && (rtf[k] == QLatin1Char('-') || rtf[k].isDigit())) {
            ++k;
            while (k < n && rtf[k].isDigit())
                ++k;
            num = rtf.mid(j, k - j).toInt(&hasNum);
        }
        i = k;
        if (i < n && rtf[i] == QLatin1Char(' ')) {
        } else {
            --i;
        }
        if (word == QLatin1String("fonttbl")) {
            dest = 1;
        } else if (word == QLatin1String("colortbl")) {
            dest = 2;
        } else if (word == QLatin1String("stylesheet") || word == QLatin1String("info") ||
                   word == QLatin1String("pict") || word == QLatin1String("header") ||
                   word == QLatin1String("footer") || word == QLatin1String("generator")) {
            dest = 3;
        } else if (word == QLatin1String("f")) {
            if (dest == 1)
                fontNumber = num;
            else
                st.font = num;
        } else if (word == QLatin1String("red")) {
            red = num;
            colorGiven = true;
        } else if (word == QLatin1String("green")) {
            green = num;
            colorGiven = true;
        } else if (word == QLatin1String("blue")) {
            blue = num;
            colorGiven = true;
        } else if (dest != 0) {
            continue;
        } else if (word == QLatin1String("b")) {
            st.bold = !hasNum || num != 0;
        } else if (word == QLatin1String("i")) {
            st.italic = !hasNum || num != 0;
        } else if (word == QLatin1String("ul")) {
            st.underline = !hasNum || num != 0;
        } else if (word == QLatin1String("ulnone")) {
            st.underline = false;
        } else if (word == QLatin1String("plain")) {
            st.bold = st.italic = st.underline = false;
            st.size = base.fontSize > 0 ? base.fontSize : 10;
            st.color = base.fontColor;
        } else if (word == QLatin1String("fs")) {
            if (num > 0) st.size = (num + 1) / 2;
        } else if (word == QLatin1String("cf")) {
            st.color = num >= 0 && size_t(num) < colors.size() ? colors[size_t(num)]
                       : num == 0                              ? base.fontColor
                                                               : st.color;
        } else if (word == QLatin1String("par") || word == QLatin1String("line")) {
            put(QLatin1Char('\n'));
        } else if (word == QLatin1String("tab")) {
            put(QLatin1Char('\t'));
        } else if (word == QLatin1String("tx")) {
            if (tabStops && num > 0) tabStops->push_back(num / 1440.0 * 100.0);
        } else if (word == QLatin1String("uc")) {
            unicodeSkip = std::max(0, num);
        } else if (word == QLatin1String("u")) {
            put(QChar(ushort(num < 0 ? num + 65536 : num)));
            pendingSkip = unicodeSkip;
        } else if (word == QLatin1String("emdash")) {
            put(QChar(0x2014));
        } else if (word == QLatin1String("endash")) {
            put(QChar(0x2013));
        } else if (word == QLatin1String("bullet")) {
            put(QChar(0x2022));
        } else if (word == QLatin1String("lquote")) {
            put(QChar(0x2018));
        } else if (word == QLatin1String("rquote")) {
            put(QChar(0x2019));
        } else if (word == QLatin1String("ldblquote")) {
            put(QChar(0x201C));
        } else if (word == QLatin1String("rdblquote")) {
            put(QChar(0x201D));
        }
    }
    return out;
}

// ---- layout ------------------------------------------------------------------------------

std::shared_ptr<TRadky> layoutText(const TSiReportElement& e, const QString& text,
                                   const LayoutContext& ctx) {
    auto result = std::make_shared<TRadky>();
    std::vector<TFragment> styles; // text of each style is not used below
    std::vector<StyledChar> chars;
    std::vector<double> tabs;
    if (e.hasFlag(TextRtf) && text.trimmed().startsWith(QLatin1String("{\\rtf"))) {
        const std::vector<TFragment> runs = parseRichText(text, e, &tabs);
        for (const TFragment& f : runs) {
            styles.push_back(f);
            styles.back().text.clear();
            for (QChar c : f.text)
                chars.push_back({c, int(styles.size()) - 1});
        }
    } else {
        TFragment f;
        f.fontName = e.fontName;
        f.fontSize = e.fontSize;
        f.color = e.fontColor;
        f.charset = e.charset;
        f.bold = e.fontStyle & StyleBold;
        f.italic = e.fontStyle & StyleItalic;
        f.underline = e.fontStyle & StyleUnderline;
        styles.push_back(f);
        chars.reserve(size_t(text.size()));
        for (QChar c : text)
            chars.push_back({c, 0});
    }
    std::sort(tabs.begin(), tabs.end());
    const bool multi =
        e.hasFlag(TextMultiLine) || e.hasFlag(TextVariableHeight) || e.hasFlag(TextRtf);
    const double width = std::max(0, e.width);
    std::vector<Advance> advance(styles.size());
    for (size_t s = 0; s < styles.size(); ++s)
        advance[s] = advanceFor(e, styles[s], ctx);
    result->measured = !advance.empty() && advance[0].face;

    struct Placed {
        QChar ch;
        int style;
        double x;
    };
    struct Line {
        std::vector<Placed> chars;
        bool paragraphEnd = true;
    };
    std::vector<Line> lines(1);
    double x = 0;
    auto nextTab = [&](double from) {
        for (double t : tabs)
            if (t > from + kEpsilon) return t;
        const double last = tabs.empty() ? 0 : tabs.back();
        const double k = std::floor((from - last) / kDefaultTab + kEpsilon) + 1;
        return last + k * kDefaultTab;
    };
    auto relayout = [&](Line& l) {
        double px = 0;
        for (Placed& p : l.chars) {
            p.x = px;
            px = p.ch == QLatin1Char('\t') ? nextTab(px) : px + advance[size_t(p.style)].of(p.ch);
        }
        return px;
    };
    bool stopped = false;
    for (const StyledChar& sc : chars) {
        if (stopped) break;
        if (sc.ch == QLatin1Char('\r')) continue;
        if (sc.ch == QLatin1Char('\n')) {
            if (!multi) break;
            lines.back().paragraphEnd = true;
            lines.emplace_back();
            x = 0;
            continue;
        }
        const double adv =
            sc.ch == QLatin1Char('\t') ? nextTab(x) - x : advance[size_t(sc.style)].of(sc.ch);
        if (x + adv > width + kEpsilon && !lines.back().chars.empty()) {
            if (!multi) break;
            Line& cur = lines.back();
            // Break after the last space of the line, else at this character.
            int lastSpace = -1;
            for (int k = int(cur.chars.size()) - 1; k >= 0; --k)
                if (cur.chars[size_t(k)].ch == QLatin1Char(' ')) {
                    lastSpace = k;
                    break;
                }
            Line next;
            if (lastSpace >= 0 && sc.ch != QLatin1Char(' ')) {
                next.chars.assign(cur.chars.begin() + lastSpace + 1, cur.chars.end());
                cur.chars.resize(size_t(lastSpace + 1));
            }
            cur.paragraphEnd = false;
            while (!cur.chars.empty() && cur.chars.back().ch == QLatin1Char(' '))
                cur.chars.pop_back();
            lines.push_back(std::move(next));
            x = relayout(lines.back());
            if (sc.ch == QLatin1Char(' ') && lines.back().chars.empty()) continue;
        }
        const double a =
            sc.ch == QLatin1Char('\t') ? nextTab(x) - x : advance[size_t(sc.style)].of(sc.ch);
        lines.back().chars.push_back({sc.ch, sc.style, x});
        x += a;
    }
    if (lines.size() == 1 && lines[0].chars.empty()) return result;

    const bool justify = e.hasFlag(TextJustify);
    double top = 0;
    for (Line& l : lines) {
        if (justify && !l.paragraphEnd && !l.chars.empty()) {
            const Placed& lastChar = l.chars.back();
            const double end = lastChar.x + advance[size_t(lastChar.style)].of(lastChar.ch);
            int spaces = 0;
            for (const Placed& p : l.chars)
                spaces += p.ch == QLatin1Char(' ');
            if (spaces > 0 && end < width) {
                const double extra = (width - end) / spaces;
                double shift = 0;
                for (Placed& p : l.chars) {
                    p.x += shift;
                    if (p.ch == QLatin1Char(' ')) shift += extra;
                }
            }
        }
        TRadek r;
        r.top = top;
        if (!l.chars.empty()) {
            const Placed& last = l.chars.back();
            r.width = last.ch == QLatin1Char('\t')
                          ? nextTab(last.x)
                          : last.x + advance[size_t(last.style)].of(last.ch);
        }
        // Right and centred lines move by what their width leaves of the element's; justified
        // elements are not aligned (their last lines stay left).
        if (!justify && e.alignment == AlignRight)
            r.offset = width - r.width;
        else if (!justify && e.alignment == AlignCenter)
            r.offset = (width - r.width) / 2;
        for (Placed& p : l.chars)
            p.x += r.offset;
        int maxSize = 0;
        for (const Placed& p : l.chars) {
            const TFragment& st = styles[size_t(p.style)];
            maxSize = std::max(maxSize, st.fontSize);
            if (r.runs.empty() || r.runs.back().fontName != st.fontName ||
                r.runs.back().fontSize != st.fontSize || r.runs.back().color != st.color ||
                r.runs.back().bold != st.bold || r.runs.back().italic != st.italic ||
                r.runs.back().underline != st.underline) {
                r.runs.push_back(st);
                r.runs.back().text.clear();
                r.runs.back().x.clear();
            }
            r.runs.back().text += p.ch;
            r.runs.back().x.push_back(p.x);
        }
        if (maxSize == 0) maxSize = styles.empty() ? e.fontSize : styles[0].fontSize;
        r.height = lineHeightOf(e, ctx, maxSize);
        r.baseline = r.height * 0.8;
        top += r.height;
        result->lines.push_back(std::move(r));
    }
    return result;
}

// ---- pictures ----------------------------------------------------------------------------

std::shared_ptr<const QImage> pictureFromFile(const QString& path) {
    struct Entry {
        QDateTime modified;
        std::shared_ptr<const QImage> image;
    };
    static std::mutex mutex;
    static QHash<QString, Entry> cache;
    if (path.isEmpty()) return nullptr;
    const QFileInfo info(path);
    const QString key = info.absoluteFilePath();
    const QDateTime modified = info.lastModified();
    std::lock_guard lock(mutex);
    auto it = cache.find(key);
    if (it != cache.end() && it->modified == modified) return it->image;
    QImage image(key);
    auto shared = image.isNull() ? nullptr : std::make_shared<const QImage>(std::move(image));
    cache.insert(key, Entry{modified, shared});
    return shared;
}

std::shared_ptr<const QImage> elementPicture(const TVystPrvek& element) {
    if (element.image) return element.image;
    return pictureFromFile(element.pictureFile);
}

// ---- output pages ------------------------------------------------------------------------

void TSestVystup::clear() {
    pages.clear();
    background = OutputBackground();
    pageIndex = 0;
    y = 0;
    column = 1;
    columnOffset = 0;
    cancelled = false;
}

TStranaPrvku& TSestVystup::page(int index) {
    if (index < 0) index = 0;
    if (size_t(index) >= pages.size()) pages.resize(size_t(index) + 1);
    return pages[size_t(index)];
}

TVystPrvek& TSestVystup::place(int index, TVystPrvek element) {
    TStranaPrvku& p = page(index);
    p.elements.push_back(std::move(element));
    return p.elements.back();
}

int linesPerInch(int code) {
    return code == 1 ? 4 : code == 2 ? 3 : 6;
}

// ---- character grid ----------------------------------------------------------------------

namespace {

constexpr int kLayers = 24;
constexpr int kMaxColumn = 255;
constexpr char16_t kUnset = 0;

int pitchSlot(int cpi) {
    return cpi == 10 ? 0 : cpi == 12 ? 1 : 2;
}

struct GridRow {
    QString layers[kLayers];
    void write(int layer, int column, QStringView text) {
        QString& l = layers[layer];
        if (l.size() < column + text.size()) l.resize(column + text.size(), QChar(kUnset));
        // The first text written to a cell keeps it; a later one fills only the gaps (cells
        // never written and the spaces of earlier texts).
        for (qsizetype i = 0; i < text.size(); ++i) {
            QChar& cell = l[column + i];
            if (cell == QChar(kUnset) || (cell == QLatin1Char(' ') && text[i] != QLatin1Char(' ')))
                cell = text[i];
        }
    }
    QString merged() const {
        QString row;
        for (const QString& l : layers) {
            if (row.size() < l.size()) row.resize(l.size(), QLatin1Char(' '));
            for (qsizetype i = 0; i < l.size(); ++i)
                if (row[i] == QLatin1Char(' ') && l[i] != QChar(kUnset)) row[i] = l[i];
        }
        while (!row.isEmpty() && row.back() == QLatin1Char(' '))
            row.chop(1);
        return row;
    }
};

// The line's characters in the grid's columns. Fixed-advance lines keep the cell of each
// character (its position in cells of the element's advance). Measured lines put their
// characters in consecutive columns: after a tab the column of the tab stop, after a space as
// many columns as the space is wide (at least one), so justified gaps stay visible.
QString gridLineText(const TRadek& line, int cpi, bool measured, double cell) {
    // The grid aligns the texts itself: positions from the line's own start.
    const double offset = line.offset;
    QString s;
    bool afterTab = false, afterSpace = false;
    double spaceX = 0;
    int spaceColumn = 0;
    for (const TFragment& f : line.runs)
        for (qsizetype i = 0; i < f.text.size(); ++i) {
            const QChar c = f.text[i];
            const double x = f.x[size_t(i)] - offset;
            int col = int(s.size());
            if (!measured)
                col = int(std::lround(x / cell));
            else if (afterTab)
                col = int(std::lround(x * cpi / 100.0));
            else if (afterSpace)
                col = spaceColumn + std::max(1, int(std::lround((x - spaceX) * cpi / 100.0)));
            while (s.size() < col)
                s += QLatin1Char(' ');
            afterTab = c == QLatin1Char('\t');
            afterSpace = c == QLatin1Char(' ');
            if (afterTab) continue;
            if (afterSpace) {
                spaceX = x;
                spaceColumn = int(s.size());
            }
            s += c;
        }
    return s;
}

} // namespace

QByteArray textGridOutput(const TSestVystup& out, int firstPage, int lastPage) {
    QByteArray bytes;
    const int lpi = linesPerInch(out.lineSpacing);
    const int rows = std::max(1, int(std::floor(out.printableHeight * lpi / 100.0 + kEpsilon)));
    firstPage = std::max(1, firstPage);
    lastPage = std::min(lastPage, out.pageCount());
    const Codepage cp = codepageOf(out.language);
    for (int p = firstPage; p <= lastPage; ++p) {
        if (out.cancelled) break;
        std::vector<GridRow> grid(static_cast<size_t>(rows));
        for (const TVystPrvek& el : out.pages[size_t(p - 1)].elements) {
            if (!el.lines || !isTextKind(el.source.kind)) continue;
            const TSiReportElement& s = el.source;
            const int cpi = pitchOf(s.fontName, s.fontSize);
            const int layer = pitchSlot(cpi) * 8 + (s.fontStyle & 7);
            const int start = int(std::lround(el.left * cpi / 100.0));
            const int widthChars = int(std::lround(el.width * cpi / 100.0));
            if (start < 0 || start + widthChars > kMaxColumn || widthChars <= 0) continue;
            const int align = s.hasFlag(TextJustify) ? AlignLeft : s.alignment;
            const double firstTop =
                el.firstLine < el.lines->count() ? el.lines->lines[size_t(el.firstLine)].top : 0.0;
            const int last = std::min(el.lastLine, el.lines->count() - 1);
            for (int i = std::max(0, el.firstLine); i <= last; ++i) {
                const TRadek& line = el.lines->lines[size_t(i)];
                const int row = int(std::lround((el.top + line.top - firstTop) * lpi / 100.0));
                if (row < 0 || row >= rows) continue;
                QString t = gridLineText(line, cpi, el.lines->measured,
                                         s.spacing > 0 ? s.spacing : 100.0 / cpi);
                int col = start;
                if (align == AlignRight) {
                    if (t.size() > widthChars) t.truncate(widthChars);
                    col = int(std::lround((el.left + el.width) * cpi / 100.0)) - int(t.size());
                } else if (align == AlignCenter) {
                    if (t.size() > widthChars) {
                        const qsizetype cut = t.size() - widthChars;
                        t = t.mid(cut / 2, widthChars);
                    }
                    col = start + (widthChars - int(t.size())) / 2;
                } else if (t.size() > widthChars) {
                    t.truncate(widthChars);
                }
                grid[size_t(row)].write(layer, std::max(0, col), t);
            }
        }
        int count = rows;
        if (p == lastPage) {
            count = 0;
            for (int r = 0; r < rows; ++r)
                if (!grid[size_t(r)].merged().isEmpty()) count = r + 1;
        }
        for (int r = 0; r < count; ++r) {
            bytes += encode(grid[size_t(r)].merged(), cp);
            bytes += "\r\n";
        }
    }
    return bytes;
}

QByteArray textGridOutput(const TSestVystup& out) {
    return textGridOutput(out, out.firstPage, out.lastPage);
}

} // namespace brix::report
