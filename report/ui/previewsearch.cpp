#include "previewsearch.h"

#include <algorithm>

namespace brix::report {

namespace {

// The x of each character of a line (from the element's left edge) and the end of the last.
struct LineGeometry {
    std::vector<double> x;
    double end = 0;
};

LineGeometry geometryOf(const TRadek& line) {
    LineGeometry g;
    for (const TFragment& f : line.runs)
        for (qsizetype i = 0; i < f.text.size(); ++i)
            g.x.push_back(i < qsizetype(f.x.size()) ? f.x[size_t(i)]
                                                    : (g.x.empty() ? 0.0 : g.x.back()));
    g.end = g.x.empty() ? line.offset : g.x.front() + line.width;
    return g;
}

QRectF hitRect(const TVystPrvek& el, int lineIndex, int start, int length) {
    const TRadky& lines = *el.lines;
    const TRadek& line = lines.lines[size_t(lineIndex)];
    const LineGeometry g = geometryOf(line);
    const auto xAt = [&](int i) {
        return i < int(g.x.size()) ? g.x[size_t(i)] : std::max(g.end, g.x.empty() ? 0 : g.x.back());
    };
    const double from = xAt(start);
    const double to = std::max(from, xAt(start + length));
    const int first = std::max(0, el.firstLine);
    const double firstTop = first < lines.count() ? lines.lines[size_t(first)].top : 0.0;
    return QRectF(el.left + from, el.top + line.top - firstTop, to - from, line.height);
}

} // namespace

TextHit findText(const TSestVystup& out, const QString& text, int fromPage, const TextHit* after) {
    TextHit hit;
    if (text.isEmpty()) return hit;
    const bool resume = after && after->found();
    const int firstPage = resume ? after->page : std::max(0, fromPage);
    for (int p = firstPage; p < out.pageCount(); ++p) {
        const std::vector<TVystPrvek>& elements = out.pages[size_t(p)].elements;
        const bool samePage = resume && p == after->page;
        for (int e = samePage ? after->element : 0; e < int(elements.size()); ++e) {
            const TVystPrvek& el = elements[size_t(e)];
            if (!el.lines) continue;
            const bool sameElement = samePage && e == after->element;
            const int last = std::min(el.lastLine, el.lines->count() - 1);
            for (int l = std::max(0, sameElement ? after->line : el.firstLine); l <= last; ++l) {
                const QString lineText = el.lines->lines[size_t(l)].text();
                const int from = sameElement && l == after->line ? after->start + 1 : 0;
                const qsizetype at = lineText.indexOf(text, from, Qt::CaseInsensitive);
                if (at < 0) continue;
                hit.page = p;
                hit.element = e;
                hit.line = l;
                hit.start = int(at);
                hit.length = int(text.size());
                hit.rect = hitRect(el, l, hit.start, hit.length);
                return hit;
            }
        }
    }
    return hit;
}

} // namespace brix::report
