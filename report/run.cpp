// The report run: records, groups, counters, sections with their growing zones and strips,
// page breaks, columns, details inside the master's body and the finish with the total pages.

#include "formatting.h"
#include "listresolver.h"
#include "sestavatyp.h"
#include "templatefile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <map>

namespace brix::report {

namespace {

constexpr double kEpsilon = 1e-6;

// A format with one integer placeholder ("%d", "%3d", "%-3d", "%.3d"; "%%" a percent sign).
QString formatInteger(const QString& format, qlonglong n) {
    QString out;
    bool used = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c != QLatin1Char('%') || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        if (format[i + 1] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        const bool left = j < format.size() && format[j] == QLatin1Char('-');
        if (left) ++j;
        int width = 0, precision = -1;
        while (j < format.size() && format[j].isDigit())
            width = width * 10 + format[j++].digitValue();
        if (j < format.size() && format[j] == QLatin1Char('.')) {
            precision = 0;
            ++j;
            while (j < format.size() && format[j].isDigit())
                precision = precision * 10 + format[j++].digitValue();
        }
        if (j < format.size() && (format[j] == QLatin1Char('d') || format[j] == QLatin1Char('D')) &&
            !used) {
            QString digits = QString::number(std::llabs(n));
            if (precision > 0) digits = digits.rightJustified(precision, QLatin1Char('0'));
            if (n < 0) digits.prepend(QLatin1Char('-'));
            out += left ? digits.leftJustified(width) : digits.rightJustified(width);
            used = true;
            i = j;
            continue;
        }
        out += c;
    }
    return out;
}

bool isGrowing(const TSiReportElement& e, bool body) {
    if (isTextKind(e.kind)) return e.hasFlag(TextVariableHeight);
    return body && e.kind == KindDetail;
}

// Lines that start inside the element's height (at least the first).
int visibleLineCount(const TRadky& lines, double height) {
    int n = 0;
    for (const TRadek& l : lines.lines) {
        if (n > 0 && l.top >= height - kEpsilon) break;
        ++n;
    }
    return n;
}

} // namespace

QStringList variableNames(int groupCount, bool detail) {
    QStringList names{QStringLiteral("Datum tisku"), QStringLiteral("Čas tisku"),
                      QStringLiteral("Pořadové číslo řádku")};
    if (!detail) names << QStringLiteral("Číslo strany");
    names << QStringLiteral("Celkový počet stran");
    for (int g = 0; g < groupCount; ++g)
        names << QStringLiteral("Číslo řádku ve skupině %1").arg(g + 1)
              << QStringLiteral("Číslo skupiny %1").arg(g + 1);
    return names;
}

TSestavaTyp* TSestavaTyp::root() {
    TSestavaTyp* r = this;
    while (r->master_)
        r = r->master_;
    return r;
}

const TSestavaTyp* TSestavaTyp::root() const {
    const TSestavaTyp* r = this;
    while (r->master_)
        r = r->master_;
    return r;
}

bool TSestavaTyp::stopped() const {
    const TSestavaTyp* r = root();
    return r->stop_ || r->cancelled_ || stop_ || cancelled_;
}

// ---- variables and references ----------------------------------------------------------

double TSestavaTyp::variableValue(int index) const {
    const TSestavaTyp* r = root();
    switch (index) {
    case VarPrintDate:
    case VarPrintTime:
        return dayNumber(r->timestamp_.date(), r->timestamp_.time().msecsSinceStartOfDay());
    case VarRowNumber:
        return rowNumber_;
    case VarPageNumber:
        return r->pageNumber_;
    case VarTotalPages:
        return r->newRun_ && r->totalPagesKnown_ ? r->output.pageCount() : 0;
    default:
        break;
    }
    const int g = (index - VarFirstGroup) / 2;
    if (index < VarFirstGroup || g >= int(definition.groups.size())) return 0;
    const TPolSkup& grp = definition.groups[size_t(g)];
    return (index - VarFirstGroup) % 2 == 0 ? grp.rowInGroup : grp.groupCounter;
}

QString TSestavaTyp::variableText(int index, const QString& format) const {
    const double v = variableValue(index);
    if (index == VarPrintDate || index == VarPrintTime) {
        const QDateTime& t = root()->timestamp_;
        if (!format.isEmpty()) return formatDateTimePicture(v, format).value_or(QString());
        return index == VarPrintDate ? t.date().toString(QStringLiteral("d.M.yyyy"))
                                     : t.time().toString(QStringLiteral("H:mm:ss"));
    }
    const qlonglong n = std::llround(v);
    return format.isEmpty() ? QString::number(n) : formatInteger(format, n);
}

TCalcType TSestavaTyp::reference(int code) const {
    if (code >= kVariableBase) {
        const int n = code - kVariableBase;
        if (n >= 5 + 2 * int(definition.groups.size())) return {};
        return TCalcType::ofNumber(variableValue(n), variableText(n));
    }
    if (code >= kFunctionBase) {
        const int n = code - kFunctionBase;
        if (n >= definition.functions.size()) return {};
        return definition.functions.operand(n);
    }
    if (code >= kFieldBase) {
        const int n = code - kFieldBase;
        if (n >= dataFieldCount()) return {};
        const int t = dataFieldType(n);
        return TCalcType{calcTypeOfField(t), dataNumber(n),
                         isMemoFieldType(t) ? dataMemoText(n) : dataDisplayText(n), dataIsNull(n)};
    }
    const int n = code - kParameterBase;
    if (n < 0 || n >= Parametry.size()) return {};
    return ListResolver::parameterValue(Parametry[n]);
}

int TSestavaTyp::functionIndex(QStringView name) const {
    return definition.functions.indexOf(name);
}

// ---- values ------------------------------------------------------------------------------

void TSestavaTyp::refreshValues(int except, int except2) {
    for (TOddilSestavy& s : definition.sections) {
        if (s.code == except || s.code == except2) continue;
        for (TSiReportElement& e : s.elements) {
            const int n = e.reference;
            if (e.kind == KindField) {
                if (n < 0 || n >= dataFieldCount()) {
                    e.value = {};
                    continue;
                }
                const int t = dataFieldType(n);
                e.value = TCalcType{calcTypeOfField(t), dataNumber(n),
                                    isMemoFieldType(t) ? dataMemoText(n) : dataDisplayText(n),
                                    dataIsNull(n)};
            } else if (e.kind == KindFieldLabel) {
                e.value = TCalcType::ofText(
                    n >= 0 && n < dataFieldCount() ? dataFieldLabel(n) : QString(), 0.0);
            }
        }
    }
}

void TSestavaTyp::evaluateFunctions() {
    definition.functions.evaluateAll(this);
    if (OnVypoctiFunkce) OnVypoctiFunkce(*this);
}

QString TSestavaTyp::elementText(const TSiReportElement& e) const {
    switch (e.kind) {
    case KindLabel:
        return e.text;
    case KindField:
        if (AllowNullValues && e.value.null) return QString();
        return e.value.text;
    case KindFieldLabel:
        return e.value.text;
    case KindParameter:
        return e.reference >= 0 && e.reference < Parametry.size() ? Parametry[e.reference]
                                                                  : QString();
    case KindVariable:
        return variableText(e.reference, e.text);
    case KindFunction:
        return e.reference >= 0 && e.reference < definition.functions.size()
                   ? definition.functions.valueText(e.reference)
                   : QString();
    default:
        return QString();
    }
}

// ---- page geometry -----------------------------------------------------------------------

double TSestavaTyp::pageHeight() const {
    const PageSetup& p = root()->definition.page;
    return (p.landscape ? p.paperWidth : p.paperHeight) - p.marginTop - p.marginBottom;
}

double TSestavaTyp::pageWidth() const {
    const PageSetup& p = root()->definition.page;
    return (p.landscape ? p.paperHeight : p.paperWidth) - p.marginLeft - p.marginRight;
}

double TSestavaTyp::pageFooterHeight() const {
    const TOddilSestavy& f = root()->definition.section(PageFooter);
    return f.visible ? f.height : 0;
}

double TSestavaTyp::pageHeaderHeight() const {
    const TOddilSestavy& h = root()->definition.section(PageHeader);
    return h.visible ? h.height : 0;
}

double TSestavaTyp::spaceLeft() const {
    return pageHeight() - pageFooterHeight() - out_->y;
}

LayoutContext TSestavaTyp::layoutContext() const {
    const ReportDefinition& d = root()->definition;
    return LayoutContext{d.grid.characterGrid, d.grid.lineHeight()};
}

void TSestavaTyp::snapToGrid() {
    const GridSettings& g = root()->definition.grid;
    if (!g.characterGrid) return;
    const double lh = g.lineHeight();
    out_->y = std::round(out_->y / lh - kEpsilon) * lh;
}

void TSestavaTyp::printPageHeaderOn(int page) {
    TSestavaTyp* r = root();
    r->forcedBreak_ = false;
    r->out_->page(page);
    const TOddilSestavy& h = r->definition.section(PageHeader);
    if (!h.visible || r->stopped()) return;
    bool print = true;
    if (r->OnTiskOddilu) r->OnTiskOddilu(*r, PageHeader, print);
    if (!print) return;
    const double saved = r->out_->columnOffset;
    r->out_->columnOffset = 0;
    for (const TSiReportElement& e : h.elements)
        r->placeElement(e, page, e.top);
    r->out_->columnOffset = saved;
}

void TSestavaTyp::printPageFooterOn(int page) {
    TSestavaTyp* r = root();
    if (size_t(page) < r->footerDone_.size() && r->footerDone_[size_t(page)]) return;
    if (r->footerDone_.size() <= size_t(page)) r->footerDone_.resize(size_t(page) + 1, false);
    r->footerDone_[size_t(page)] = true;
    const TOddilSestavy& f = r->definition.section(PageFooter);
    if (!f.visible) return;
    bool print = true;
    if (r->OnTiskOddilu) r->OnTiskOddilu(*r, PageFooter, print);
    if (!print) return;
    const double top = pageHeight() - f.height;
    const double saved = r->out_->columnOffset;
    r->out_->columnOffset = 0;
    for (const TSiReportElement& e : f.elements)
        r->placeElement(e, page, top + e.top);
    r->out_->columnOffset = saved;
}

void TSestavaTyp::ensurePage(int p) {
    TSestavaTyp* r = root();
    while (r->startedPage_ < p) {
        printPageFooterOn(r->startedPage_);
        ++r->pageNumber_;
        ++r->startedPage_;
        printPageHeaderOn(r->startedPage_);
    }
}

void TSestavaTyp::pageBreak() {
    ensurePage(out_->pageIndex + 1);
    ++out_->pageIndex;
    out_->y = pageHeaderHeight();
    out_->column = 1;
    out_->columnOffset = 0;
    forcedBreak_ = false;
}

// ---- placing -----------------------------------------------------------------------------

QString TSestavaTyp::pictureFilePath(const QString& name) const {
    if (name.isEmpty() || !QFileInfo(name).isRelative()) return name;
    const QString dir = templateDirectory();
    if (!dir.isEmpty()) {
        const QString inside = QDir(dir).filePath(name);
        if (QFileInfo(inside).isFile()) return inside;
    }
    return name;
}

std::shared_ptr<const QImage> TSestavaTyp::fieldPicture(const TSiReportElement& e) const {
    const int n = e.reference;
    if (n < 0 || n >= dataFieldCount()) return nullptr;
    const int type = dataFieldType(n);
    if (type != ftGraphic && type != ftBlob && type != ftTypedBinary) return nullptr;
    QImage image = dataPicture(n);
    if (image.isNull()) return nullptr;
    return std::make_shared<const QImage>(std::move(image));
}

void TSestavaTyp::paintBox(const TSiReportElement& e, TVystPrvek& v) {
    const int scale = std::clamp(e.fillStyle, 1, 6);
    v.drawingSize = QSize(scale * std::max(0, e.width), scale * std::max(0, e.height));
    if (!OnPaintBox || v.drawingSize.isEmpty()) return;
    auto picture = std::make_shared<QPicture>();
    {
        QPainter painter(picture.get());
        painter.setClipRect(QRect(QPoint(), v.drawingSize));
        OnPaintBox(*this, e.reference, v.drawingSize.width(), v.drawingSize.height(), painter);
    }
    picture->setBoundingRect(QRect(QPoint(), v.drawingSize));
    v.drawing = std::move(picture);
}

void TSestavaTyp::placeElement(const TSiReportElement& e, int page, double y) {
    if (e.kind == KindDetail) return;
    TVystPrvek v;
    v.source = e;
    v.left = out_->columnOffset + e.left;
    v.top = y;
    v.width = e.width;
    v.height = e.height;
    if (e.kind == KindField && (v.image = fieldPicture(e))) {
        // A data picture: the field's image instead of its text.
    } else if (isTextKind(e.kind)) {
        const QString text = elementText(e);
        v.source.value.text = text;
        v.lines = layoutText(e, text, layoutContext());
        const bool all = e.hasFlag(TextVariableHeight) && root()->definition.page.columns <= 1;
        v.lastLine = all ? v.lines->count() - 1 : visibleLineCount(*v.lines, e.height) - 1;
        v.lastLine = std::min(v.lastLine, v.lines->count() - 1);
    } else if (e.kind == KindPicture) {
        // The first candidate that loads as a picture.
        const QStringList candidates = pictureCandidates(e.text, templateDirectory(), this);
        for (const QString& c : candidates)
            if (QFileInfo(c).isFile() && pictureFromFile(c)) {
                v.pictureFile = c;
                break;
            }
    } else if (e.kind == KindBarcode) {
        // The content is the first item of the element's list, as it is when placed.
        v.source.value = TCalcType::ofText(itemList(e.text, this).value(0), 0);
    } else if (e.kind == KindPaintBox) {
        paintBox(e, v);
    }
    TSestavaTyp* r = root();
    TStranaPrvku& p = out_->page(page);
    if (e.kind == KindVariable && e.reference == VarTotalPages)
        r->totalPages_.push_back({page, p.elements.size()});
    p.elements.push_back(std::move(v));
}

TSestavaTyp::Cursor TSestavaTyp::printGrowingText(const TSiReportElement& e, int page, double y) {
    const QString text = elementText(e);
    auto lines = layoutText(e, text, layoutContext());
    const double limitOf = pageHeight() - pageFooterHeight();
    auto part = [&](int pg, double top, int first, int last, double height) {
        TVystPrvek v;
        v.source = e;
        v.source.value.text = text;
        v.left = out_->columnOffset + e.left;
        v.top = top;
        v.width = e.width;
        v.height = height;
        v.lines = lines;
        v.firstLine = first;
        v.lastLine = last;
        out_->page(pg).elements.push_back(std::move(v));
    };
    const int count = lines->count();
    if (visibleLineCount(*lines, e.height) >= count) {
        part(page, y, 0, count - 1, e.height);
        return {page, y + e.height};
    }
    const double need = std::max<double>(e.height, lines->height(0, count - 1));
    if (y + need <= limitOf + kEpsilon) {
        part(page, y, 0, count - 1, need);
        return {page, y + need};
    }
    int first = 0;
    int pg = page;
    double top = y;
    while (first < count) {
        int last = first - 1;
        const double base = lines->lines[size_t(first)].top;
        while (last + 1 < count) {
            const TRadek& l = lines->lines[size_t(last + 1)];
            if (top + l.top - base + l.height > limitOf + kEpsilon) break;
            ++last;
        }
        // A line taller than a whole page still goes on a page of its own.
        if (last < first && top <= pageHeaderHeight() + kEpsilon) last = first;
        if (last >= first) {
            const double h = lines->height(first, last);
            part(pg, top, first, last, h);
            first = last + 1;
            if (first >= count) return {pg, top + h};
        }
        ensurePage(pg + 1);
        ++pg;
        top = pageHeaderHeight();
    }
    return {pg, top};
}

TSestavaTyp::Cursor TSestavaTyp::runDetail(const TSiReportElement& e, int page, double y) {
    if (e.reference < 0 || size_t(e.reference) >= details_.size()) return {page, y};
    TSestDetail* d = details_[size_t(e.reference)];
    d->out_ = out_;
    const double savedOffset = out_->columnOffset;
    const int savedColumn = out_->column;
    out_->pageIndex = page;
    out_->y = y;
    d->run(false);
    Cursor end{out_->pageIndex, out_->y};
    out_->columnOffset = savedOffset;
    out_->column = savedColumn;
    return end;
}

void TSestavaTyp::printElements(const TOddilSestavy& s,
                                const std::vector<const TSiReportElement*>& els, int page,
                                double y) {
    Q_UNUSED(s);
    for (const TSiReportElement* e : els)
        placeElement(*e, page, y + e->top);
}

// ---- sections ----------------------------------------------------------------------------

void TSestavaTyp::printSection(int code) {
    TSestavaTyp* r = root();
    if (r->OnProgress && !r->OnProgress(*r, 0)) r->cancelled_ = true;
    if (stopped()) return;
    TOddilSestavy& s = definition.section(code);
    if (!s.visible) return;
    bool print = true;
    if (OnTiskOddilu) OnTiskOddilu(*this, code, print);
    if (!print) return;
    const bool noBreak = (code == ReportHeader && newRun_) ||
                         (code == ReportFooter && root()->definition.noLastPageFooter());
    if (!noBreak && (forcedBreak_ || r->forcedBreak_ || s.height > spaceLeft() + kEpsilon)) {
        pageBreak();
        if (stopped()) return;
    }
    const bool body = code == Body;
    const int columns = isDetail() ? 1 : std::max(1, definition.page.columns);
    const bool multiColumn = body && columns > 1;

    // Zones of growing elements by their top edge, and the strips between them.
    std::map<int, std::vector<const TSiReportElement*>> zones; // top -> growing elements
    std::vector<const TSiReportElement*> fixed;
    for (const TSiReportElement& e : s.elements) {
        if (!multiColumn && isGrowing(e, body))
            zones[e.top].push_back(&e);
        else
            fixed.push_back(&e);
    }
    int page = out_->pageIndex;
    double baseY = out_->y;
    if (zones.empty()) {
        printElements(s, fixed, page, baseY);
    } else {
        std::vector<int> bottoms; // exclusive bottom of each zone
        std::vector<std::vector<const TSiReportElement*>> zoneElements;
        for (auto& [top, els] : zones) {
            int b = top;
            for (const TSiReportElement* e : els)
                b = std::max(b, e->top + e->height);
            if (!bottoms.empty()) b = std::max(b, bottoms.back());
            bottoms.push_back(b);
            zoneElements.push_back(els);
        }
        const size_t zoneCount = bottoms.size();
        for (size_t r0 = 0; r0 <= zoneCount; ++r0) {
            const double start = r0 == 0 ? 0 : bottoms[r0 - 1];
            const double end = r0 < zoneCount ? bottoms[r0] : std::max<double>(s.height, start);
            std::vector<const TSiReportElement*> strip;
            for (const TSiReportElement* e : fixed)
                if (e->top >= start - kEpsilon &&
                    (r0 == zoneCount ? true : e->top < end - kEpsilon))
                    strip.push_back(e);
            const double stripHeight = end - start;
            if (pageHeight() - pageFooterHeight() - (baseY + start) < stripHeight - kEpsilon &&
                baseY + start > pageHeaderHeight() + kEpsilon) {
                ensurePage(page + 1);
                ++page;
                baseY = pageHeaderHeight() - start;
            }
            printElements(s, strip, page, baseY);
            if (r0 == zoneCount) break;
            Cursor far{page, baseY + end};
            for (const TSiReportElement* g : zoneElements[r0]) {
                const Cursor c = g->kind == KindDetail ? runDetail(*g, page, baseY + g->top)
                                                       : printGrowingText(*g, page, baseY + g->top);
                if (c.page > far.page || (c.page == far.page && c.y > far.y)) far = c;
            }
            page = far.page;
            baseY = far.y - end;
        }
    }
    out_->pageIndex = page;
    if (multiColumn) {
        const int width = (int(pageWidth()) + definition.page.columnGap) / columns;
        if (out_->column < columns) {
            ++out_->column;
            out_->columnOffset += width;
            return;
        }
        out_->column = 1;
        out_->columnOffset = 0;
        out_->y = baseY + s.height;
    } else if (code != PageFooter) {
        out_->y = baseY + s.height;
    }
    snapToGrid();
}

void TSestavaTyp::closeColumnRow() {
    if (out_->column <= 1) return;
    out_->column = 1;
    out_->columnOffset = 0;
    out_->y += definition.section(Body).height;
    snapToGrid();
}

// ---- the run -----------------------------------------------------------------------------

void TSestavaTyp::resetRunState() {
    rowNumber_ = 1;
    if (!master_) {
        pageNumber_ = 1;
        startedPage_ = 0;
        footerDone_.clear();
        totalPages_.clear();
        totalPagesKnown_ = false;
        stop_ = false;
    }
    forcedBreak_ = false;
    firstRecord_ = true;
    recordCount_ = 0;
    for (TPolSkup& g : definition.groups) {
        g.previousValue = evaluateText(g.expression, this);
        g.changed = false;
        g.rowInGroup = 1;
        g.groupCounter = 1;
    }
}

bool TSestavaTyp::templateShowsTotalPages() const {
    for (const TOddilSestavy& s : definition.sections)
        for (const TSiReportElement& e : s.elements)
            if (e.kind == KindVariable && e.reference == VarTotalPages) return true;
    for (const TSestDetail* d : details_)
        if (d->templateShowsTotalPages()) return true;
    return false;
}

void TSestavaTyp::bodyStep() {
    int changedFrom = -1;
    std::vector<QString> current(definition.groups.size());
    for (size_t g = 0; g < definition.groups.size(); ++g) {
        current[g] = evaluateText(definition.groups[g].expression, this);
        if (changedFrom < 0 && current[g] != definition.groups[g].previousValue)
            changedFrom = int(g);
    }
    for (size_t g = 0; g < definition.groups.size(); ++g)
        definition.groups[g].changed = changedFrom >= 0 && int(g) >= changedFrom;
    const TOddilSestavy& body = definition.section(Body);
    double need = body.visible ? body.height : 0;
    bool breakWanted = false;
    if (changedFrom >= 0) {
        closeColumnRow();
        for (int g = int(definition.groups.size()) - 1; g >= changedFrom; --g) {
            const TPolSkup& grp = definition.groups[size_t(g)];
            printSection(grp.footerSection());
            definition.functions.reset(g + TRadekFunkce::ResetFirstGroup);
            if (grp.newPage) breakWanted = true;
            const TOddilSestavy& h = definition.section(grp.headerSection());
            if (h.visible) need += h.height;
        }
    }
    if (!isDetail() && definition.bodyPerPage()) breakWanted = true;
    if (out_->column == 1 && spaceLeft() < need - kEpsilon) breakWanted = true;
    if (breakWanted) printPageFooterOn(out_->pageIndex);
    ++rowNumber_;
    for (size_t g = 0; g < definition.groups.size(); ++g) {
        TPolSkup& grp = definition.groups[g];
        grp.previousValue = current[g];
        ++grp.rowInGroup;
        if (grp.changed) {
            grp.rowInGroup = 1;
            if (int(g) > changedFrom)
                grp.groupCounter = 1;
            else
                ++grp.groupCounter;
        }
    }
    refreshValues(ReportHeader, ReportFooter);
    if (breakWanted) definition.functions.reset(TRadekFunkce::ResetPage);
    evaluateFunctions();
    if (breakWanted) {
        closeColumnRow();
        pageBreak();
    }
    for (TPolSkup& grp : definition.groups)
        if (grp.changed) {
            printSection(grp.headerSection());
            grp.changed = false;
        }
    TSestavaTyp* r = root();
    if (r->limitByEndPage_ && r->EndPage < out_->pageIndex + 1) r->stop_ = true;
}

int TSestavaTyp::runReport() {
    if (master_) return seNotReady;
    out_ = &output;
    return run(true);
}

int TSestavaTyp::run(bool newRun) {
    newRun_ = newRun;
    TSestavaTyp* r = root();
    if (newRun) {
        cancelled_ = false;
        timestamp_ = QDateTime::currentDateTime();
        limitByEndPage_ = !templateShowsTotalPages();
    }
    TStepResult stepResult = 0;
    if (TiskJedenZaznam)
        getData();
    else
        stepResult = dataStep(sdFirst);
    if (!newRun && (stepResult & srEnd)) return seOk;
    if (newRun) {
        output.clear();
        output.printableHeight = pageHeight();
        output.printableWidth = pageWidth();
        output.page(0);
    }
    if (r->OnProgress && !r->OnProgress(*r, newRun ? 1 : r->recordCount_ + 1)) r->cancelled_ = true;
    resetRunState();
    definition.functions.setSkipNulls(AllowNullValues);
    definition.functions.reset(-1);
    refreshValues(ReportFooter);
    evaluateFunctions();

    printSection(ReportHeader);
    const TOddilSestavy& rh = definition.section(ReportHeader);
    if (newRun && rh.visible && definition.breakAfterHeader()) {
        if (!stopped()) {
            refreshValues(ReportFooter);
            pageBreak();
        }
    } else if (newRun && !definition.noFirstPageHeader() &&
               definition.section(PageHeader).visible) {
        const double h = definition.section(PageHeader).height;
        printPageHeaderAt(out_->y);
        out_->y += h;
        snapToGrid();
    }
    if (!stopped())
        for (const TPolSkup& g : definition.groups)
            printSection(g.headerSection());

    bool first = true;
    do {
        if (!first) {
            bodyStep();
        } else {
            const TOddilSestavy& b = definition.section(Body);
            if (b.visible && spaceLeft() < b.height - kEpsilon) pageBreak();
        }
        first = false;
        printSection(Body);
        firstRecord_ = false;
        ++recordCount_;
        if (TiskJedenZaznam) break;
        if (MaxRecords > 0 && recordCount_ >= MaxRecords) break;
        stepResult = dataStep(sdNext);
        if (newRun && stepResult == 0 && r->OnProgress && !r->OnProgress(*r, recordCount_ + 1))
            r->cancelled_ = true;
    } while (!stopped() && stepResult == 0);

    if (!r->cancelled_) {
        closeColumnRow();
        for (int g = int(definition.groups.size()) - 1; g >= 0; --g)
            printSection(definition.groups[size_t(g)].footerSection());
    }
    const TOddilSestavy& rf = definition.section(ReportFooter);
    if (newRun && rf.visible && definition.breakBeforeFooter() && !stopped()) pageBreak();
    refreshValues(ReportHeader);
    if (!r->cancelled_) finish(newRun);
    const bool wasCancelled = r->cancelled_;
    if (newRun) {
        output.firstPage = StartPage;
        output.lastPage = std::min(EndPage, output.pageCount());
        output.copies = PrintCopies;
        output.language = ExportLanguage;
        output.lineSpacing = definition.grid.lineSpacing;
        output.background = backgroundOf(definition.background);
        output.pageIndex = 0;
        output.cancelled = wasCancelled;
    }
    return wasCancelled ? seCancelled : seOk;
}

OutputBackground TSestavaTyp::backgroundOf(const Background& b) const {
    const PageSetup& p = definition.page;
    OutputBackground out;
    out.left = b.left;
    out.top = b.top;
    out.width = b.width > 0 ? b.width : (p.landscape ? p.paperHeight : p.paperWidth);
    out.height = b.height > 0 ? b.height : (p.landscape ? p.paperWidth : p.paperHeight);
    // Without its own background the component's decides (sestava.h).
    if (b.own) {
        out.file = pictureFilePath(b.fileName);
        out.print = b.print;
    }
    return out;
}

void TSestavaTyp::printPageHeaderAt(double y) {
    const TOddilSestavy& h = definition.section(PageHeader);
    forcedBreak_ = false;
    bool print = true;
    if (OnTiskOddilu) OnTiskOddilu(*this, PageHeader, print);
    if (!print) return;
    for (const TSiReportElement& e : h.elements)
        placeElement(e, out_->pageIndex, y + e.top);
}

void TSestavaTyp::finish(bool newRun) {
    const TOddilSestavy& rf = definition.section(ReportFooter);
    if (rf.visible && !stopped()) {
        if (newRun && definition.footerToBottom()) {
            const double line =
                pageHeight() - rf.height - (definition.noLastPageFooter() ? 0 : pageFooterHeight());
            if (out_->y > line + kEpsilon) pageBreak();
            out_->y = line;
            forcedBreak_ = false;
        }
        printSection(ReportFooter);
    }
    if (!newRun) return;
    if (!definition.noLastPageFooter()) printPageFooterOn(std::max(startedPage_, out_->pageIndex));
    totalPagesKnown_ = true;
    const int n = output.pageCount();
    for (const TotalPagesRef& ref : totalPages_) {
        TVystPrvek& v = output.pages[size_t(ref.page)].elements[ref.index];
        const QString text = variableText(VarTotalPages, v.source.text);
        v.source.value = TCalcType::ofNumber(n, text);
        v.lines = layoutText(v.source, text, layoutContext());
        v.firstLine = 0;
        v.lastLine = visibleLineCount(*v.lines, v.source.height) - 1;
    }
}

} // namespace brix::report
