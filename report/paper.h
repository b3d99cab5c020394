#pragma once
// Paper formats and the rules that put a report's page on a printer's sheet.
//
// The format list is the 18 built-in formats followed by the user's own, which live in the
// report engine's INI file ("SestDLL.ini", section "FormatyPapiru"). A format found for a size
// that has none is appended as "uživ. formát" but written to the file only once the user has
// confirmed it. The built-in formats never change.
//
// Sizes are hundredths of an inch. A page setup stores its paper upright; landscape turns it.

#include "definition.h"

#include <QMarginsF>
#include <QSizeF>
#include <QString>

#include <vector>

namespace brix::report {

struct TFormatPapiru {
    QString name; // at most 31 characters
    int width = 0, height = 0;
    bool confirmed = true; // false: appended by a search, not yet written to the file
};

constexpr int kFormatNameLength = 31;
inline const QString kUserFormatName = QStringLiteral("uživ. formát");

class TListFormatu {
public:
    // The built-in formats only.
    TListFormatu();

    std::vector<TFormatPapiru> items;

    static int builtInCount();
    bool isBuiltIn(int index) const { return index >= 0 && index < builtInCount(); }
    int count() const { return int(items.size()); }

    // The built-in formats followed by the user formats of the INI file. A missing file or
    // section gives the built-in ones only; a line that cannot be read a 0 × 0 format.
    void load(const QString& iniPath);
    // Writes the confirmed user formats into the INI file, keeping its other lines; the file
    // is written whole or not at all. False with a Czech error text.
    bool save(const QString& iniPath, QString* error = nullptr) const;

    // The first format whose width and height are both within 1 % of the size; when none is,
    // an unconfirmed "uživ. formát" of that size is appended. Gives its index.
    int find(int width, int height);
    // The format at index becomes one the file keeps.
    void confirm(int index);

    // Takes what the format dialog gave: the name (cut to 31 characters) and the sizes; a size
    // that is not a number or not above 0 keeps the old value. Built-in formats do not change.
    // False when nothing could be stored.
    bool store(int index, const QString& name, const QString& width, const QString& height);
};

// One user format as the INI file holds it: the name (in double quotes, quotes doubled, when
// it holds a comma or begins with a quote), a comma, the width, a comma, the height.
QString formatLine(const TFormatPapiru& f);
TFormatPapiru parseFormatLine(const QString& line);

// The report's paper as printed: width and height turned for landscape.
QSizeF reportPaper(const PageSetup& page);
// The report's margins as QMarginsF (left, top, right, bottom).
QMarginsF reportMargins(const PageSetup& page);

// Whether a report page needs the oversized-page choice on a sheet: it exceeds the sheet by
// more than 1 % in width or in height.
bool pageExceedsSheet(const QSizeF& page, const QSizeF& sheet);

// Every margin at least the printer's unprintable offset on its side. Without a printer the
// check passes: there is nothing to compare with.
bool marginsFitPrinter(const PageSetup& page, const QMarginsF* printerMinimum);
// The page setup with each margin raised to the printer's minimum.
PageSetup marginsRaisedToPrinter(const PageSetup& page, const QMarginsF& printerMinimum);

// How an oversized page goes on the printer's sheets.
enum class OversizeMode {
    Cut,    // "Oříznout tiskovou sestavu": one sheet at 100 %, the rest cut off
    Reduce, // "Zmenšit měřítko tisku": one sheet at the reduced scale
    Tile,   // "Tisknout na více listů": 100 % on several sheets
};

struct SheetPlan {
    OversizeMode mode = OversizeMode::Cut;
    int percent = 100;           // scale of the page on the sheet
    int columns = 1, rows = 1;   // sheets across and down per page
    double stepX = 0, stepY = 0; // offset of the page from one sheet to the next
};

// The scale that fits the page on the sheet, whole per cent: min(sheet width × 100 / page
// width, sheet height × 100 / page height).
int reducedPercent(const QSizeF& page, const QSizeF& sheet);

// Sheets across (or down): 1, and one more while the part of the page not yet covered exceeds
// 1 % of the sheet; each further sheet covers the sheet less the margins on both sides.
// 0 when the sheet less the margins leaves nothing (the page cannot be tiled).
int tileCount(double page, double sheet, double marginBefore, double marginAfter);

// The plan for the mode; a tiling that cannot be done (see tileCount) gives nullopt-like
// columns = rows = 0.
SheetPlan planSheets(OversizeMode mode, const QSizeF& page, const QSizeF& sheet,
                     const QMarginsF& margins);

} // namespace brix::report
