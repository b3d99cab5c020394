#include "paper.h"

#include "codec.h"
#include "util/ini_file.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace brix::report {

namespace {

struct BuiltIn {
    const char* name;
    int width, height;
};

// The names as the formats have always been called, including their odd spacing.
const BuiltIn kBuiltIn[] = {
    {"Uživat. (210 x 297 mm)", 826, 1169},    {"Skládaný (8.5 x 12\")", 850, 1200},
    {"Skládaný (15 x 12\")", 1500, 1200},     {"Letter (8.5 x 11\")", 850, 1100},
    {"Legal (8.5 x 14\")", 850, 1400},        {"Executive (7.25 x 10.5\")", 725, 1050},
    {"A2 (420 x 594 mm)", 1652, 2338},        {"A3 (297 x 420 mm)", 1169, 1652},
    {"A4 (210 x 297 mm)", 826, 1169},         {"A5 (148.5 x 210 mm)", 584, 826},
    {"A6 (105 x 148.5mm)", 413, 584},         {"B5 (182 x 257 mm)", 716, 1011},
    {"Obálka (162 x 114 mm)", 637, 433},      {"Obálka (220 x 110 mm)", 866, 433},
    {"Obálka (228 x 162 mm)", 896, 637},      {"Obálka otoč.(114 x 162 mm)", 433, 637},
    {"Obálka otoč.(110 x 220 mm)", 433, 866}, {"Obálka otoč.(162 x 228 mm)", 637, 896},
};

const QString kSection = QStringLiteral("FormatyPapiru");
const QString kCountKey = QStringLiteral("PocetFormatu");
constexpr int kNameReadLength = 48;

bool within1Percent(int given, int format) {
    return 0.99 * format <= given && given <= 1.01 * format;
}

// A size typed by the user: a whole number above 0 (a decimal comma or point is rounded).
bool parseSize(const QString& text, int* value) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d) || std::lround(d) <= 0 || d > 100000) return false;
    *value = int(std::lround(d));
    return true;
}

} // namespace

TListFormatu::TListFormatu() {
    for (const BuiltIn& b : kBuiltIn)
        items.push_back({QString::fromUtf8(b.name), b.width, b.height, true});
}

int TListFormatu::builtInCount() {
    return int(std::size(kBuiltIn));
}

QString formatLine(const TFormatPapiru& f) {
    QString name = f.name;
    if (name.contains(QLatin1Char(',')) || name.startsWith(QLatin1Char('"')))
        name = QLatin1Char('"') + name.replace(QLatin1String("\""), QLatin1String("\"\"")) +
               QLatin1Char('"');
    return QStringLiteral("%1,%2,%3").arg(name).arg(f.width).arg(f.height);
}

TFormatPapiru parseFormatLine(const QString& line) {
    TFormatPapiru f;
    QString name;
    qsizetype i = 0;
    if (line.startsWith(QLatin1Char('"'))) {
        // Quoted: runs to the next quote that is not doubled; commas inside belong to the name.
        for (i = 1; i < line.size(); ++i) {
            if (line[i] == QLatin1Char('"')) {
                if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                    name += QLatin1Char('"');
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
            name += line[i];
        }
        while (i < line.size() && line[i] != QLatin1Char(','))
            ++i;
    } else {
        while (i < line.size() && line[i] != QLatin1Char(','))
            name += line[i++];
    }
    f.name = name.left(kNameReadLength).left(kFormatNameLength).trimmed();
    const QStringList sizes = line.mid(i + 1).split(QLatin1Char(','));
    f.width = sizes.value(0).trimmed().toInt();
    f.height = sizes.value(1).trimmed().toInt();
    if (f.width < 0) f.width = 0;
    if (f.height < 0) f.height = 0;
    return f;
}

void TListFormatu::load(const QString& iniPath) {
    *this = TListFormatu();
    QStringList lines;
    if (iniPath.isEmpty() || !QFileInfo(iniPath).isFile() || !readTextLines(iniPath, &lines))
        return;
    const int n = iniValue(lines, kSection, kCountKey).value_or(QString()).trimmed().toInt();
    for (int k = 1; k <= n && k <= 10000; ++k) {
        const auto value = iniValue(lines, kSection, QStringLiteral("Format%1").arg(k));
        TFormatPapiru f = value ? parseFormatLine(*value) : TFormatPapiru{};
        if (f.name.isEmpty()) f.name = kUserFormatName;
        items.push_back(f);
    }
}

bool TListFormatu::save(const QString& iniPath, QString* error) const {
    QStringList lines;
    if (QFileInfo(iniPath).isFile() && !readTextLines(iniPath, &lines, error)) return false;
    int n = 0;
    for (int i = builtInCount(); i < count(); ++i) {
        if (!items[size_t(i)].confirmed) continue;
        ++n;
        setIniValue(lines, kSection, QStringLiteral("Format%1").arg(n),
                    formatLine(items[size_t(i)]));
    }
    setIniValue(lines, kSection, kCountKey, QString::number(n));
    return writeTextLines(iniPath, lines, error);
}

int TListFormatu::find(int width, int height) {
    for (int i = 0; i < count(); ++i) {
        const TFormatPapiru& f = items[size_t(i)];
        if (within1Percent(width, f.width) && within1Percent(height, f.height)) return i;
    }
    items.push_back({kUserFormatName, width, height, false});
    return count() - 1;
}

void TListFormatu::confirm(int index) {
    if (index >= 0 && index < count()) items[size_t(index)].confirmed = true;
}

bool TListFormatu::store(int index, const QString& name, const QString& width,
                         const QString& height) {
    if (index < 0 || index >= count() || isBuiltIn(index)) return false;
    TFormatPapiru& f = items[size_t(index)];
    const QString n = name.trimmed().left(kFormatNameLength);
    if (!n.isEmpty()) f.name = n;
    int v = 0;
    if (parseSize(width, &v)) f.width = v;
    if (parseSize(height, &v)) f.height = v;
    return true;
}

QSizeF reportPaper(const PageSetup& page) {
    return page.landscape ? QSizeF(page.paperHeight, page.paperWidth)
                          : QSizeF(page.paperWidth, page.paperHeight);
}

QMarginsF reportMargins(const PageSetup& page) {
    return QMarginsF(page.marginLeft, page.marginTop, page.marginRight, page.marginBottom);
}

bool pageExceedsSheet(const QSizeF& page, const QSizeF& sheet) {
    return page.width() > 1.01 * sheet.width() || page.height() > 1.01 * sheet.height();
}

bool marginsFitPrinter(const PageSetup& page, const QMarginsF* printerMinimum) {
    if (!printerMinimum) return true;
    const QMarginsF& m = *printerMinimum;
    // The offsets are whole hundredths of an inch once converted.
    return page.marginLeft >= std::ceil(m.left() - 1e-6) &&
           page.marginTop >= std::ceil(m.top() - 1e-6) &&
           page.marginRight >= std::ceil(m.right() - 1e-6) &&
           page.marginBottom >= std::ceil(m.bottom() - 1e-6);
}

PageSetup marginsRaisedToPrinter(const PageSetup& page, const QMarginsF& m) {
    PageSetup p = page;
    p.marginLeft = std::max(p.marginLeft, int(std::ceil(m.left() - 1e-6)));
    p.marginTop = std::max(p.marginTop, int(std::ceil(m.top() - 1e-6)));
    p.marginRight = std::max(p.marginRight, int(std::ceil(m.right() - 1e-6)));
    p.marginBottom = std::max(p.marginBottom, int(std::ceil(m.bottom() - 1e-6)));
    return p;
}

int reducedPercent(const QSizeF& page, const QSizeF& sheet) {
    if (page.width() <= 0 || page.height() <= 0) return 100;
    const double p =
        std::min(sheet.width() * 100 / page.width(), sheet.height() * 100 / page.height());
    return std::max(1, int(p));
}

int tileCount(double page, double sheet, double marginBefore, double marginAfter) {
    const double step = sheet - marginBefore - marginAfter;
    if (sheet <= 0) return 0;
    int n = 1;
    double uncovered = page - sheet;
    if (uncovered <= 0.01 * sheet) return n;
    if (step <= 0) return 0;
    while (uncovered > 0.01 * sheet) {
        ++n;
        uncovered -= step;
    }
    return n;
}

SheetPlan planSheets(OversizeMode mode, const QSizeF& page, const QSizeF& sheet,
                     const QMarginsF& margins) {
    SheetPlan plan;
    plan.mode = mode;
    switch (mode) {
    case OversizeMode::Cut:
        break;
    case OversizeMode::Reduce:
        plan.percent = reducedPercent(page, sheet);
        break;
    case OversizeMode::Tile:
        plan.columns = tileCount(page.width(), sheet.width(), margins.left(), margins.right());
        plan.rows = tileCount(page.height(), sheet.height(), margins.top(), margins.bottom());
        if (plan.columns == 0 || plan.rows == 0) plan.columns = plan.rows = 0;
        plan.stepX = sheet.width() - margins.left() - margins.right();
        plan.stepY = sheet.height() - margins.top() - margins.bottom();
        break;
    }
    return plan;
}

} // namespace brix::report
