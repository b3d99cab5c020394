#pragma once
// Draws an output page on a vector engine (PDF, metafiles) as the preview draws it: the
// background, then every element in placement order through the renderer, at 600 dots per
// inch. Texts of the model go to the engine as text with each character at its laid-out x
// (the renderer's glyphs of them are dropped, its frames and underlines kept); a JPEG picture
// keeps its file's bytes; a paint box becomes an image of the application's drawing.

#include "output.h"
#include "vectorengine.h"

namespace brix::report {

// Pixels per report unit of the vector files: 600 dots per inch.
constexpr double kVectorScale = 6.0;

// The model texts of an element as the renderer places them (every visible line, or the
// first line turned about the element's top-left corner), in device pixels at the scale.
std::vector<ModelText> elementTexts(const TVystPrvek& element, double scale);

// Draws page pageIndex (0-based) with a painter on the engine's device; false for an index
// outside the page list.
bool drawVectorPage(QPainter& painter, VectorPaintEngine& engine, const TSestVystup& out,
                    int pageIndex, double scale = kVectorScale);

} // namespace brix::report
