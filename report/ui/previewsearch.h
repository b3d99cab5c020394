#pragma once
// Searching the text of a report's pages, as the preview's "Hledat v textu..." does: the lines
// of every text element in placement order, page by page from a starting page on, ignoring
// case (Czech letters too). Nothing here knows widgets.

#include "output.h"

#include <QRectF>
#include <QString>

namespace brix::report {

struct TextHit {
    int page = -1; // 0-based; -1: nothing found
    int element = 0;
    int line = 0;
    int start = 0; // first character of the hit in the line's text
    int length = 0;
    // Where the hit's characters are on the page (report units, from the printable area).
    QRectF rect;
    bool found() const { return page >= 0; }
};

// The first occurrence of text at or after page `fromPage`, or after the hit `after` when it is
// given and found (the next search goes on from there). Empty text finds nothing.
TextHit findText(const TSestVystup& out, const QString& text, int fromPage,
                 const TextHit* after = nullptr);

} // namespace brix::report
