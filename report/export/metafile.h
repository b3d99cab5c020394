#pragma once
// A page as a metafile: enhanced (EMF) or classic placeable (WMF), 600 units per inch, the page
// (printable width × 6 by printable height × 6 units) drawn as the preview draws it.
//
// Texts are text records: EMF with UTF-16 characters, WMF in Windows-1250 with character set
// 238, each with the advance of every character so that the characters stand at their
// laid-out x. Shapes, hatches and barcodes are polygons, pictures device-independent bitmaps
// (transparency laid on white). Clipping is applied to the polygons themselves, so that every
// player shows the same.

#include "output.h"

#include <QByteArray>

namespace brix::report {

enum class MetafileKind { Emf, Wmf };

// Page pageIndex (0-based); an empty array for an index outside the page list.
QByteArray pageMetafile(const TSestVystup& out, int pageIndex, MetafileKind kind);

} // namespace brix::report
