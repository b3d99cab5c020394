#pragma once
// Printing the prepared pages of a report on a printer of the platform (installed as the
// component's `printerOutput`, so that `PrintEx` and `PrintOn` print through it).
//
// - The printer of the index, else the system's default one. A text printer (its driver is a
//   generic text-only one) gets the character grid of the output range in the report's code
//   page as one raw job; any other printer a graphic job drawn by the renderer at the
//   printer's resolution, each page at its margins from the paper's edge, named by `Popis`.
// - Copies: asked of the driver when it prints them, else the whole job is sent once per copy.
// - A page more than 1 % larger than the printer's sheet asks how to print it (cut, reduced or
//   on several sheets); no answer cancels the printing.
// - A port that names a file (relative to the data root, the component's `programDir`) gets the
//   grid's bytes of a text printer or the PDF of a graphic one, written whole or not at all;
//   "FILE:" asks for the file; a device port ("LPT1:", "COM2:", "PRN") prints on the printer.
// - `OnProgress` is asked between pages and elements; false aborts the job (nothing printed)
//   and gives 3.
// Results: 0, 2 (no printer), 3 (cancelled), 6 (the printer or the file did not take it).

#include "paper.h"
#include "sestava.h"

#include <QSizeF>

#include <functional>
#include <optional>

namespace brix::report {

// The question of an oversized page: the printer, the report's page setup.
struct OversizeQuestion {
    int printerIndex = -1;
    PageSetup page;
};
// The answer: how the pages go on the sheets; nullopt cancels the printing. The chooser may
// turn the printer's paper or change its properties before it answers.
using OversizeChooser = std::function<std::optional<SheetPlan>(const OversizeQuestion&)>;

struct PrintHooks {
    // Without a chooser an oversized page prints cut to the sheet.
    OversizeChooser oversize;
};

// Prints the report's prepared pages (the output range, the report's copies).
int printPrepared(TSestava& report, int printerIndex, const QString& port,
                  const PrintHooks& hooks = {});

// Sets the report's printerOutput to printPrepared with the hooks.
void installPrinting(TSestava& report, PrintHooks hooks = {});

// The printer a print goes to: the index when it is one, else the default; -1 without any.
int printerToUse(int printerIndex);

// Whether the printer (an invalid index: the default one) prints in character mode.
bool TextPrinterTest(int printerIndex);

// The margin check of the report settings: every margin at least the printer's unprintable
// offset on its side. Without a printer the check passes.
bool MarginCheck(const PageSetup& page, int printerIndex);

// What a port means.
enum class PortKind { Printer, AskFile, File };
PortKind portKind(const QString& port);

} // namespace brix::report
