#pragma once
// What the document writers (RTF, HTML, PDF, metafiles) read alike from an output page: the
// visible lines of an element at their place on the page, the face a run is written in, and
// the parts of a colour. Positions are report units (hundredths of an inch) from the top-left
// of the printable area, as in the page model.

#include "output.h"

#include <QString>

#include <vector>

namespace brix::report {

// The face of a run as documents name it: the template's font name, the text printers'
// "Roman" fonts as "Courier New" at their own point size.
struct RunFace {
    QString family;
    int points = 10;
    bool bold = false, italic = false, underline = false, strikeOut = false;
};
RunFace runFace(const TFragment& run, const TSiReportElement& source);

// A visible line of an element: the line and its top on the page (the element's top plus the
// line's offset from the first line the element shows).
struct PlacedLine {
    const TRadek* line = nullptr;
    double top = 0;
};
std::vector<PlacedLine> visibleLines(const TVystPrvek& element);

// The red, green and blue bytes of a 0xBBGGRR colour.
inline int redOf(int color) {
    return color & 0xFF;
}
inline int greenOf(int color) {
    return (color >> 8) & 0xFF;
}
inline int blueOf(int color) {
    return (color >> 16) & 0xFF;
}

// The pages first..last (1-based) of the output limited to its page list, as 0-based indexes.
struct PageRange {
    int first = 0, last = -1;
    bool empty() const { return last < first; }
};
PageRange pageRange(const TSestVystup& out, int firstPage, int lastPage);

} // namespace brix::report
