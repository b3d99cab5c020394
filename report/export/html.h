#pragma once
// One output page as HTML: every element an absolutely placed DIV (pixels = report units,
// without the margins), texts in their font and colour, lines and shapes as borders and
// backgrounds, pictures, barcodes and paint boxes as bitmap files beside the HTML file. The
// text is Windows-1250, as the META line says; a character outside it is a numeric reference.

#include "output.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <vector>

namespace brix::report {

// Draws one element into an image of its size (one pixel a report unit); a null image when the
// element shows nothing.
using ElementImage = std::function<QImage(const TVystPrvek&)>;

struct HtmlPage {
    QByteArray html;
    // The bitmaps of the page's pictures by their file name (no directory).
    std::vector<std::pair<QString, QImage>> bitmaps;
};

// Page pageIndex (0-based) of the output; pictureFile names the bitmaps: element n's bitmap is
// that name with its extension replaced by n and ".bmp". Without a drawer, picture elements
// are left out. An index outside the page list gives an empty page (html empty).
HtmlPage htmlPage(const TSestVystup& out, int pageIndex, const QString& pictureFile,
                  const ElementImage& draw = {});

// A name with its extension replaced: ("a/obr.bmp", "3.bmp") -> "a/obr3.bmp".
QString replaceExtension(const QString& fileName, const QString& replacement);

// "&", "<" and ">" as entities, characters outside Windows-1250 as "&#N;".
QByteArray htmlEscape(QStringView text);

} // namespace brix::report
