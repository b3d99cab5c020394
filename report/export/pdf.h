#pragma once
// The pages of a run as one PDF document, drawn as the preview draws them.
//
// The file: "%PDF-1.3" (1.4 when a picture has transparency), the information dictionary
// first, one resources dictionary shared by the pages, the fonts, the pictures, the catalog,
// the page tree, each page with its content; the cross-reference table of 20-byte entries,
// the trailer and "%%EOF". Lines end in CR LF.
//
// Texts are the faces they were measured with (fontmetrics.h), embedded as subsets of their
// TrueType outlines: Type 0 fonts, Identity-H, the widths of every glyph used and a ToUnicode
// map, so that the text copies and searches as the model has it. Every character stands at its
// laid-out x on its line's baseline. Lines, frames, shapes, hatches, barcodes (vector paths),
// pictures (JPEG files as they are) and paint boxes (as images) come from the renderer through
// a paint device of this writer, at 600 dots per inch.
//
// Compressed streams by default; the plain mode writes every stream uncompressed and binary
// data in hexadecimal, and takes its creation time from a clock, for byte-exact goldens.

#include "definition.h"
#include "output.h"

#include <QByteArray>
#include <QDateTime>

#include <functional>

namespace brix::report {

struct PdfOptions {
    bool compress = true;
    // The creation time; the current time when not set.
    std::function<QDateTime()> clock;
};

// Pages firstPage..lastPage (1-based, limited to the page list).
QByteArray pdfDocument(const TSestVystup& out, const PageSetup& page, int firstPage, int lastPage,
                       const PdfOptions& options = {});

// A PDF number of report units in points, "0.0" (units × 0.72, one decimal, a point).
QByteArray pdfPoints(double units);

} // namespace brix::report
