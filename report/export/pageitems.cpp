#include "pageitems.h"

#include "fonts.h"

#include <algorithm>

namespace brix::report {

RunFace runFace(const TFragment& run, const TSiReportElement& source) {
    RunFace f;
    f.family = run.fontName.isEmpty() ? source.fontName : run.fontName;
    f.points = run.fontSize > 0 ? run.fontSize : (source.fontSize > 0 ? source.fontSize : 10);
    if (const auto printer = printerFont(f.family)) {
        f.family = QStringLiteral("Courier New");
        f.points = printer->pointSize;
    }
    if (f.family.trimmed().isEmpty()) f.family = QStringLiteral("Arial");
    f.bold = run.bold;
    f.italic = run.italic;
    f.underline = run.underline;
    // Rich text carries no strike-out of its own; plain text takes the element's.
    f.strikeOut = (source.fontStyle & StyleStrikeOut) != 0;
    return f;
}

std::vector<PlacedLine> visibleLines(const TVystPrvek& e) {
    std::vector<PlacedLine> out;
    if (!e.lines) return out;
    const int first = std::max(0, e.firstLine);
    const int last = std::min(e.lastLine, e.lines->count() - 1);
    if (first > last) return out;
    const double firstTop = e.lines->lines[size_t(first)].top;
    for (int i = first; i <= last; ++i) {
        const TRadek& line = e.lines->lines[size_t(i)];
        out.push_back({&line, e.top + line.top - firstTop});
    }
    return out;
}

PageRange pageRange(const TSestVystup& out, int firstPage, int lastPage) {
    PageRange r;
    r.first = std::max(1, firstPage) - 1;
    r.last = std::min(lastPage, out.pageCount()) - 1;
    return r;
}

} // namespace brix::report
