#include "templatefile.h"

#include "codec.h"
#include "fonts.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace brix::report {

QStringList splitTemplateLine(QStringView line) {
    QStringList out;
    const int n = line.size();
    int i = 0;
    while (true) {
        if (i < n && line[i] == QLatin1Char('"')) {
            QString field;
            int j = i + 1;
            while (true) {
                const int q = int(line.indexOf(QLatin1Char('"'), j));
                if (q < 0) { // no closing quote: the field runs to the end of the line
                    field += line.mid(j);
                    j = n;
                    break;
                }
                field += line.mid(j, q - j);
                if (q + 1 < n && line[q + 1] == QLatin1Char('"')) {
                    field += QLatin1Char('"');
                    j = q + 2;
                    continue;
                }
                j = q + 1;
                break;
            }
            out << field;
            // Anything between the closing quote and the next comma is dropped.
            const int c = int(line.indexOf(QLatin1Char(','), std::min(j, n)));
            if (c < 0) break;
            i = c + 1;
        } else {
            const int c = int(line.indexOf(QLatin1Char(','), i));
            if (c < 0) {
                out << line.mid(i).toString();
                break;
            }
            out << line.mid(i, c - i).toString();
            i = c + 1;
        }
    }
    return out;
}

int templateInt(QStringView field, int fallback) {
    const QStringView t = field.trimmed();
    if (t.isEmpty() || t.size() > 12) return fallback;
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok, 10);
    if (!ok || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return fallback;
    return int(v);
}

namespace {

int intField(const QStringList& f, int index, int fallback = 0) {
    return index < f.size() ? templateInt(f[index], fallback) : fallback;
}
QString textField(const QStringList& f, int index) {
    return index < f.size() ? f[index] : QString();
}
bool isInteger(QStringView s) {
    return templateInt(s, 1) == templateInt(s, 2);
}

// Where line breaks cannot live: a field is one text line.
QString oneLine(QString s) {
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}
QString quoted(const QString& s) {
    QString t = oneLine(s);
    t.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + t + QLatin1Char('"');
}
// A field written without quotes, unless it holds a comma or begins with a quote.
QString bare(const QString& s) {
    if (s.contains(QLatin1Char(',')) || s.startsWith(QLatin1Char('"'))) return quoted(s);
    return oneLine(s);
}
QString num(int v) {
    return QString::number(v);
}

void readInfoLine(ReportDefinition& def, const QStringList& f, QHash<int, int>& groupOfNumber) {
    switch (intField(f, 1, -1)) {
    case 0:
        def.description = textField(f, 2);
        break;
    case 1:
        def.version.major = intField(f, 2);
        def.version.minor = intField(f, 3);
        def.version.release = intField(f, 4);
        break;
    case 2: {
        if (def.isDetail) break;
        PageSetup& p = def.page;
        const int o = intField(f, 2);
        p.landscape = (o & 1) != 0;
        p.allowOrientationChange = o > 1;
        int k = 3;
        if (def.version.major > 0) {
            p.paperWidth = intField(f, 3, p.paperWidth);
            p.paperHeight = intField(f, 4, p.paperHeight);
            k = 5;
        }
        p.marginLeft = intField(f, k, p.marginLeft);
        p.marginRight = intField(f, k + 1, p.marginRight);
        p.marginTop = intField(f, k + 2, p.marginTop);
        p.marginBottom = intField(f, k + 3, p.marginBottom);
        p.columns = std::max(1, intField(f, k + 4, 1));
        p.columnGap = intField(f, k + 5, 0);
        break;
    }
    case 3: {
        const int code = intField(f, 2, -1);
        if (code < 0 || code >= FirstGroupSection) break;
        TOddilSestavy& s = def.section(code);
        s.visible = intField(f, 3) != 0;
        s.height = intField(f, 4);
        s.flags = intField(f, 5);
        break;
    }
    case 4: {
        const int number = intField(f, 2);
        int g = groupOfNumber.value(number, -1);
        if (g < 0) {
            g = def.addGroup();
            groupOfNumber.insert(number, g);
        }
        TPolSkup& group = def.groups[size_t(g)];
        group.expression = textField(f, 3);
        TOddilSestavy& header = def.section(group.headerSection());
        TOddilSestavy& footer = def.section(group.footerSection());
        header.visible = intField(f, 4) != 0;
        header.height = intField(f, 5);
        footer.visible = intField(f, 6) != 0;
        footer.height = intField(f, 7);
        group.newPage = intField(f, 8) != 0;
        break;
    }
    case 5:
        def.infoValue5 = intField(f, 2);
        break;
    case 6: {
        GridSettings& g = def.grid;
        g.characterGrid = intField(f, 2) == 1;
        g.gridX = intField(f, 3, 8);
        g.gridY = intField(f, 4, 8);
        if (g.gridX <= 0) g.gridX = 8;
        if (g.gridY <= 0) g.gridY = 8;
        g.lineSpacing = intField(f, 5);
        g.pitch = intField(f, 6, 1);
        g.showGrid = intField(f, 7) != 0;
        g.snapToGrid = intField(f, 8) != 0;
        if (g.characterGrid) {
            g.gridX = int(std::lround(g.charWidth()));
            g.gridY = int(std::lround(g.lineHeight()));
        }
        break;
    }
    case 7: {
        Background& b = def.background;
        b.own = intField(f, 2) != 0;
        b.print = intField(f, 3) != 0;
        b.partialPage = intField(f, 4) != 0;
        b.left = intField(f, 5);
        b.top = intField(f, 6);
        b.width = intField(f, 7);
        b.height = intField(f, 8);
        b.fileName = textField(f, 9);
        break;
    }
    default:
        break; // unknown information lines are ignored
    }
}

void readFunctionLine(ReportDefinition& def, const QStringList& f) {
    TRadekFunkce& fn = def.functions.append();
    const QString name = textField(f, 2);
    if (!name.isEmpty()) fn.name = name;
    fn.description = textField(f, 3);
    fn.type = intField(f, 4);
    if (f.size() > 5) fn.initialValue = f[5];
    fn.resetLevel = intField(f, 6);
    fn.expression = textField(f, 7);
    fn.aggregation = intField(f, 8);
    fn.totalDigits = intField(f, 9, 15);
    fn.decimals = intField(f, 10, 2);
    fn.numberFormat = intField(f, 11, 2);
    if (fn.numberFormat < 0 || fn.numberFormat > 4) fn.numberFormat = 2;
}

TSiReportElement readElement(const ReportDefinition& def, const QStringList& f,
                             const QStringList* fieldNames) {
    TSiReportElement e;
    e.kind = intField(f, 1);
    const QString ref = textField(f, 2);
    if (isInteger(ref)) {
        e.reference = templateInt(ref);
        if ((e.kind == KindField || e.kind == KindFieldLabel) && fieldNames &&
            (e.reference < 0 || e.reference >= fieldNames->size()))
            e.reference = 0;
    } else if (!ref.isEmpty() && !ref[0].isDigit() &&
               (e.kind == KindField || e.kind == KindFieldLabel || e.kind == KindFunction)) {
        e.referenceName = ref;
        int index = -1;
        if (e.kind == KindFunction) {
            index = def.functions.indexOf(ref);
        } else if (fieldNames) {
            for (int i = 0; i < fieldNames->size(); ++i)
                if (fieldNames->at(i).compare(ref, Qt::CaseInsensitive) == 0) {
                    index = i;
                    break;
                }
        }
        e.reference = std::max(0, index);
    }
    e.left = intField(f, 3);
    e.top = intField(f, 4);
    e.width = intField(f, 5);
    e.height = intField(f, 6);
    if (e.kind == KindDetail) return e;
    if (isGraphicKind(e.kind)) {
        e.penWidth = intField(f, 8);
        if (e.penWidth < 0) e.penWidth = 1;
        e.penColor = colorFromFile(intField(f, 9));
        e.penStyle = intField(f, 10);
        e.flags = intField(f, 11);
        e.fillColor = colorFromFile(intField(f, 12, 15));
        e.fillStyle = intField(f, 13);
        if (e.kind == KindPaintBox) e.fillStyle = std::clamp(e.fillStyle, 1, 6);
        if (e.kind == KindPicture || e.kind == KindBarcode) e.text = textField(f, 14);
        if (e.kind == KindBarcode) {
            e.spacing = intField(f, 15);
            e.angle = intField(f, 16);
            e.reserved = intField(f, 17);
        }
        return e;
    }
    // Text kinds, and kinds this version does not know, keep every field of the text layout.
    e.fontName = textField(f, 7);
    e.charset = intField(f, 13);
    if (const auto cs = stripScriptSuffix(&e.fontName)) e.charset = *cs;
    const qint64 size = intField(f, 8);
    e.fontSize = size < 0 ? int(-size * 72 / 100) : int(size);
    e.fontColor = colorFromFile(intField(f, 9));
    e.fontStyle = intField(f, 10);
    const int af = intField(f, 11);
    e.alignment = af & 3;
    e.textFlags = af & ~3;
    e.flags = intField(f, 12);
    e.text = textField(f, 14);
    e.spacing = intField(f, 15);
    e.angle = intField(f, 16);
    e.reserved = intField(f, 17);
    if (e.kind == KindVariable && def.version.major <= 1 && def.version.release < 3 &&
        e.reference > 3)
        ++e.reference; // the total-pages variable was inserted at index 4
    return e;
}

QString pictureFileName(const QString& text) {
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('\'')) ||
        text.startsWith(QLatin1Char('#')) || text.startsWith(QLatin1Char('&')) ||
        text.startsWith(QLatin1Char('@')))
        return text;
    const qsizetype cut =
        std::max({text.lastIndexOf(QLatin1Char('\\')), text.lastIndexOf(QLatin1Char('/')),
                  text.lastIndexOf(QLatin1Char(':'))});
    return text.mid(cut + 1);
}

QString elementLine(const QString& section, const TSiReportElement& e) {
    QStringList f;
    f << section << num(e.kind);
    const bool byName =
        (e.kind == KindField || e.kind == KindFieldLabel || e.kind == KindFunction) &&
        e.tracksByName() && !e.referenceName[0].isDigit() && !isInteger(e.referenceName);
    f << (byName ? bare(e.referenceName) : num(e.reference));
    f << num(e.left) << num(e.top) << num(e.width) << num(e.height);
    if (e.kind == KindDetail) return f.join(QLatin1Char(','));
    if (isGraphicKind(e.kind)) {
        f << QString() << num(e.penWidth) << num(colorToFile(e.penColor)) << num(e.penStyle)
          << num(e.flags) << num(colorToFile(e.fillColor)) << num(e.fillStyle);
        if (e.kind == KindPicture) f << quoted(pictureFileName(e.text));
        if (e.kind == KindBarcode)
            f << quoted(e.text) << num(e.spacing) << num(e.angle) << num(e.reserved);
        return f.join(QLatin1Char(','));
    }
    f << bare(e.fontName) << num(e.fontSize) << num(colorToFile(e.fontColor)) << num(e.fontStyle)
      << num(e.alignment | e.textFlags) << num(e.flags) << num(e.charset) << quoted(e.text)
      << num(e.spacing) << num(e.angle) << num(e.reserved);
    return f.join(QLatin1Char(','));
}

} // namespace

void loadDefinition(ReportDefinition& def, const TPredloha& lines, const QStringList* fieldNames) {
    def.clearContent();
    def.description.clear();
    std::vector<QStringList> info, functions;
    std::vector<std::pair<QChar, QStringList>> elementLines;
    for (const QString& line : lines) {
        if (line.size() < 2) continue;
        const QChar c = line[0];
        switch (c.unicode()) {
        case 'I':
            info.push_back(splitTemplateLine(line));
            break;
        case 'F':
            functions.push_back(splitTemplateLine(line));
            break;
        case 'Z':
        case 'H':
        case 'T':
        case 'K':
        case 'P':
        case 'S':
        case 'U':
            elementLines.emplace_back(c, splitTemplateLine(line));
            break;
        case 'D': {
            const qsizetype comma = line.indexOf(QLatin1Char(','));
            const QStringView first = QStringView(line).left(comma < 0 ? line.size() : comma);
            const QStringView digits = first.mid(1);
            if (digits.isEmpty() || digits.size() > 9 ||
                !std::all_of(digits.begin(), digits.end(),
                             [](QChar d) { return d.isDigit() && d.unicode() < 128; }))
                break;
            def.detailTemplates[digits.toInt()] << (comma < 0 ? QString() : line.mid(comma + 1));
            break;
        }
        default:
            break; // unknown letters are ignored
        }
    }
    QHash<int, int> groupOfNumber;
    for (const QStringList& f : info)
        readInfoLine(def, f, groupOfNumber);
    for (TOddilSestavy& s : def.sections) {
        s.columns = def.page.columns;
        s.columnGap = def.page.columnGap;
    }
    for (const QStringList& f : functions)
        readFunctionLine(def, f);
    for (const auto& [letter, f] : elementLines) {
        int code = -1;
        switch (letter.unicode()) {
        case 'Z':
            code = ReportHeader;
            break;
        case 'H':
            code = def.isDetail ? -1 : PageHeader;
            break;
        case 'T':
            code = Body;
            break;
        case 'K':
            code = ReportFooter;
            break;
        case 'P':
            code = def.isDetail ? -1 : PageFooter;
            break;
        default: {
            const QString token = f.value(0).mid(1);
            const int number = token.isEmpty() || !token[0].isDigit() ? -1 : templateInt(token, -1);
            const int g = groupOfNumber.value(number, -1);
            if (g >= 0) code = letter == QLatin1Char('S') ? groupHeaderCode(g) : groupFooterCode(g);
        }
        }
        if (code < 0) continue;
        def.section(code).elements.push_back(readElement(def, f, fieldNames));
    }
    def.lines = lines;
}

TPredloha saveDefinition(ReportDefinition& def) {
    TPredloha out;
    def.version = TemplateVersion{5, 42, 5};
    out << QStringLiteral("I,0,") + quoted(def.description);
    out << QStringLiteral("I,1,5,42,5");
    const PageSetup& p = def.page;
    out << QStringList{QStringLiteral("I,2"),
                       num((p.landscape ? 1 : 0) + (p.allowOrientationChange ? 2 : 0)),
                       num(p.paperWidth),
                       num(p.paperHeight),
                       num(p.marginLeft),
                       num(p.marginRight),
                       num(p.marginTop),
                       num(p.marginBottom),
                       num(p.columns),
                       num(p.columnGap)}
               .join(QLatin1Char(','));
    for (int code = 0; code < FirstGroupSection; ++code) {
        const TOddilSestavy& s = def.section(code);
        out << QStringLiteral("I,3,%1,%2,%3,%4")
                   .arg(code)
                   .arg(s.visible ? 1 : 0)
                   .arg(s.height)
                   .arg(s.flags);
    }
    for (size_t g = 0; g < def.groups.size(); ++g) {
        const TPolSkup& group = def.groups[g];
        const TOddilSestavy& h = def.section(groupHeaderCode(int(g)));
        const TOddilSestavy& f = def.section(groupFooterCode(int(g)));
        out << QStringList{QStringLiteral("I,4"),
                           num(int(g)),
                           quoted(group.expression),
                           num(h.visible ? 1 : 0),
                           num(h.height),
                           num(f.visible ? 1 : 0),
                           num(f.height),
                           num(group.newPage ? 1 : 0)}
                   .join(QLatin1Char(','));
    }
    out << QStringLiteral("I,5,%1").arg(def.infoValue5);
    const GridSettings& gr = def.grid;
    out << QStringList{QStringLiteral("I,6"),
                       num(gr.characterGrid ? 1 : 0),
                       num(gr.gridX),
                       num(gr.gridY),
                       num(gr.lineSpacing),
                       num(gr.pitch),
                       num(gr.showGrid ? 1 : 0),
                       num(gr.snapToGrid ? 1 : 0)}
               .join(QLatin1Char(','));
    const Background& b = def.background;
    out << QStringList{QStringLiteral("I,7"), num(b.own ? 1 : 0),
                       num(b.print ? 1 : 0),  num(b.partialPage ? 1 : 0),
                       num(b.left),           num(b.top),
                       num(b.width),          num(b.height),
                       bare(b.fileName)}
               .join(QLatin1Char(','));
    for (int i = 0; i < def.functions.size(); ++i) {
        const TRadekFunkce& fn = def.functions[i];
        out << QStringList{QStringLiteral("F"), num(i),
                           bare(fn.name),       quoted(fn.description),
                           num(fn.type),        quoted(fn.initialValue),
                           num(fn.resetLevel),  quoted(fn.expression),
                           num(fn.aggregation), num(fn.totalDigits),
                           num(fn.decimals),    num(fn.numberFormat)}
                   .join(QLatin1Char(','));
    }
    static const char kLetters[] = "ZHTKP";
    for (int code = 0; code < FirstGroupSection; ++code)
        for (const TSiReportElement& e : def.section(code).elements)
            out << elementLine(QString(QLatin1Char(kLetters[code])), e);
    for (size_t g = 0; g < def.groups.size(); ++g) {
        for (const TSiReportElement& e : def.section(groupHeaderCode(int(g))).elements)
            out << elementLine(QStringLiteral("S%1").arg(g), e);
        for (const TSiReportElement& e : def.section(groupFooterCode(int(g))).elements)
            out << elementLine(QStringLiteral("U%1").arg(g), e);
    }
    for (auto it = def.detailTemplates.cbegin(); it != def.detailTemplates.cend(); ++it)
        for (const QString& line : it.value())
            out << QStringLiteral("D%1,").arg(it.key()) + line;
    def.lines = out;
    return out;
}

bool loadTemplateFile(const QString& path, ReportDefinition& def, QString* error,
                      const QStringList* fieldNames) {
    QStringList lines;
    if (!readTextLines(path, &lines, error)) return false;
    loadDefinition(def, lines, fieldNames);
    return true;
}

bool saveTemplateFile(const QString& path, ReportDefinition& def, QString* error) {
    return writeTextLines(path, saveDefinition(def), error);
}

QStringList pictureCandidates(const QString& elementText, const QString& templateDirectory,
                              const ReferenceResolver* resolver) {
    QStringList out;
    for (const QString& item : itemList(elementText, resolver)) {
        if (item.trimmed().isEmpty()) continue;
        out << item;
        if (!templateDirectory.isEmpty() && QFileInfo(item).isRelative())
            out << QDir(templateDirectory).filePath(item);
    }
    return out;
}

QString readTemplateDescription(const QString& path) {
    QStringList lines;
    if (!readTextLines(path, &lines)) return QString();
    for (const QString& line : lines) {
        if (line.size() < 2 || line[0] != QLatin1Char('I')) continue;
        const QStringList f = splitTemplateLine(line);
        if (intField(f, 1, -1) == 0) return textField(f, 2);
    }
    return QString();
}

QList<TSouborPredlohy> listTemplates(const QString& directory, const QString& mask) {
    QString pattern = mask.isEmpty() ? QStringLiteral("*") : mask;
    const qsizetype slash =
        std::max(pattern.lastIndexOf(QLatin1Char('/')), pattern.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = pattern.lastIndexOf(QLatin1Char('.'));
    if (dot > slash) pattern.truncate(dot);
    pattern += QStringLiteral(".pts");
    if (slash >= 0) pattern = pattern.mid(slash + 1);
    QDir dir(directory);
    const QFileInfoList files =
        dir.entryInfoList({pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    QList<TSouborPredlohy> out;
    for (const QFileInfo& fi : files) {
        const QString description = readTemplateDescription(fi.filePath());
        out.append(TSouborPredlohy{
            fi.filePath(), description.isEmpty() ? fi.fileName() : description, description});
    }
    return out;
}

} // namespace brix::report
