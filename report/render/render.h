#pragma once
// Drawing the pages of a report run on a QPainter: the preview, graphic printing, page images
// and the file writers that rasterise (paint boxes) all draw through here.
//
// A page is drawn at a scale s in device pixels per report unit (hundredths of an inch); the
// painter's origin is the top-left corner of the printable area and its transform may only move
// it (a printer's margins). Rules, in device pixels:
// - Every element rectangle is rounded to whole pixels: left = round(left × s), right =
//   round((left + width) × s), likewise top and bottom.
// - Texts are glyph runs of the faces they were measured with (fontmetrics.h), each character
//   at its laid-out x, on the line's baseline. A non-zero angle turns the first line about the
//   element's top-left corner, counter-clockwise. Frame sides are one pixel wide, inside the
//   rectangle.
// - Lines and shapes have pens of round((pen width − 1) × s) + 1 pixels lying inside the
//   rectangle (the shape shrunk by half the pen). Dashes are measured in report units: dash
//   18 on 6 off, dot 3 on 3 off, dash-dot 9 6 3 6, dash-dot-dot 9 3 3 3 3 3.
// - Hatches are one pixel thick and 8 units apart at every scale, laid from the page's origin
//   so neighbouring shapes line up; between the lines the shape stays unpainted.
// - A picture's natural size is one unit per pixel of the picture; every picture is clipped to
//   its element.
// Nothing here knows the platform layer or widgets.

#include "output.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QStringList>

#include <functional>

namespace brix::report {

struct RenderOptions {
    // Draw the background picture when the output prints it.
    bool background = true;
    // Asked before every element; false stops the drawing after the current element.
    std::function<bool()> keepGoing;
};

// Draws page `pageIndex` (0-based). False when the index is outside the page list (nothing is
// drawn) or the drawing was stopped.
bool renderPage(QPainter& painter, const TSestVystup& out, int pageIndex, double scale,
                const RenderOptions& options = {});
// Draws one element.
void renderElement(QPainter& painter, const TVystPrvek& element, double scale);

// An element's rectangle in device pixels at the scale.
QRect deviceRect(const TVystPrvek& element, double scale);
// A 0xBBGGRR colour of a template.
QColor templateColor(int bgr);

// A page as an image of the printable area at the scale, on white, marked with the resolution
// (100 × scale dots per inch). A null image for a page outside the list.
QImage renderPageImage(const TSestVystup& out, int pageIndex, double scale,
                       const RenderOptions& options = {});

// The pages of the output range as PNG files at `dpi` dots per inch, named `baseName` followed
// by the page number from 1 and ".png" in the directory. Each file is written whole or not at
// all. False with a Czech message on the first page that cannot be written.
bool writePngPages(const TSestVystup& out, const QString& directory, const QString& baseName,
                   int dpi, QStringList* written, QString* error);

} // namespace brix::report
