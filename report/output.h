#pragma once
// The output of a report run: pages of positioned output elements, the layout of element text
// into lines (wrapping, tabs, justification, the rich-text subset of memo fields), and the
// character-grid writer of text printers and plain-text files.
// Positions are hundredths of an inch from the top-left of the printable area.

#include "codec.h"
#include "definition.h"

#include <QByteArray>
#include <QImage>
#include <QPicture>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

namespace brix::report {

// Code page of text output.
enum TSestLanguage { slUndefined = 0, slASCII = 1, slCP867 = 2, slCP852 = 3, slCP1250 = 4 };
Codepage codepageOf(TSestLanguage language);

// One run of equally styled characters of a laid-out line.
struct TFragment {
    QString text;
    std::vector<double> x; // position of each character from the element's left edge
    QString fontName;
    int fontSize = 10;
    int color = 0;
    int charset = 0;
    bool bold = false, underline = false, italic = false;
    // "%d %d %d %d %s": character set, bold, underline, italic and font name.
    QString fontKey() const;
};

// A laid-out line. The x of its characters are final: from the element's left edge, with the
// line moved by the element's alignment (`offset`), tab gaps and justified spaces included.
struct TRadek {
    std::vector<TFragment> runs;
    double top = 0;      // offset within the element
    double height = 0;   // line height
    double baseline = 0; // offset of the baseline from the line's top
    double width = 0;    // from the line's first character to the end of its last
    double offset = 0;   // the shift of a right-aligned or centred line
    QString text() const;
};

struct TRadky {
    std::vector<TRadek> lines;
    // Laid out by the design advances of the faces (graphic templates), not by a fixed advance.
    bool measured = false;
    // Total height of lines first..last.
    double height(int first, int last) const;
    int count() const { return int(lines.size()); }
};

// Characters per inch of a text of the given point size on a text printer: above 10 points 10,
// 9 or 10 points 12, 8 points or less 17.
int pitchOfFontSize(int points);
// Characters per inch of a "Roman 10cpi" style printer font, 0 for any other font.
int printerFontPitch(const QString& fontName);

// How element text is measured. Graphic templates measure every character by the design
// advance of its style's face (fontmetrics.h) at 100 units per inch. Character-grid templates,
// the text printers' "Roman" fonts and a positive character spacing give every character one
// fixed advance: the spacing, else 100 / cpi of the printer font or of the point size.
// Line height: the character grid's line height in character-grid templates, else the point
// size at 100 units per inch with the usual 20 % leading.
struct LayoutContext {
    bool characterGrid = false;
    double gridLineHeight = 100.0 / 6;
};
// The fixed advance of an element's characters (spacing, else 100 / cpi).
double characterAdvance(const TSiReportElement& e);
double lineHeightOf(const TSiReportElement& e, const LayoutContext& ctx, int fontSize);

// Lays out the element's value text in the element's width: CR ignored; LF ends a line of a
// multi-line element and ends a single-line element's text; TAB moves to the next half inch
// (or the rich text's own tab stops); a line too wide breaks after its last space, or at the
// character without one; a single-line element shows only what fits its width. Justified
// elements widen the spaces of every line but a paragraph's last. With the RTF flag the text
// is read as rich text (fonts, colours, bold, italic, underline, sizes, paragraphs, tabs).
std::shared_ptr<TRadky> layoutText(const TSiReportElement& e, const QString& text,
                                   const LayoutContext& ctx);

// Styled characters of a rich text (exposed for tests): the plain text with LF for paragraph
// breaks and TAB for tabs, and a fragment per style change (x left empty).
std::vector<TFragment> parseRichText(const QString& rtf, const TSiReportElement& base,
                                     std::vector<double>* tabStops = nullptr);

// An element placed on a page. Texts carry their laid-out lines; a barcode its content (the
// first item of its list, evaluated at placement) in `source.value.text`; a picture element the
// file it resolved to; a data picture (a graphic field) its image; a paint box the drawing the
// application made on a canvas of `drawingSize` (scale × width by scale × height units).
struct TVystPrvek {
    TSiReportElement source;
    double left = 0, top = 0, width = 0, height = 0;
    std::shared_ptr<TRadky> lines;
    int firstLine = 0, lastLine = -1; // the lines this part shows
    QString pictureFile;
    std::shared_ptr<const QImage> image;
    std::shared_ptr<const QPicture> drawing;
    QSize drawingSize;
};

// The picture an element shows: its data picture, else the picture of its file (each file is
// read once and shared); null when there is none or the file does not load.
std::shared_ptr<const QImage> elementPicture(const TVystPrvek& element);
std::shared_ptr<const QImage> pictureFromFile(const QString& path);

// The background picture of the pages, stretched into its rectangle (page units, from the
// top-left of the printable area) when printed.
struct OutputBackground {
    QString file;
    double left = 0, top = 0, width = 0, height = 0;
    bool print = false;
    bool shown() const { return print && !file.isEmpty(); }
};

struct TStranaPrvku {
    std::vector<TVystPrvek> elements;
};

class TSestVystup {
public:
    std::vector<TStranaPrvku> pages;
    // Page cursor of the run.
    int pageIndex = 0;
    double y = 0;
    int column = 1;
    double columnOffset = 0;
    double printableHeight = 0, printableWidth = 0;
    // Output range (1-based pages), copies and code page.
    int firstPage = 1, lastPage = 9999;
    int copies = 1;
    TSestLanguage language = slUndefined;
    int lineSpacing = 0; // 0, 1, 2: 6, 4, 3 lines per inch
    OutputBackground background;
    bool cancelled = false;

    void clear();
    int pageCount() const { return int(pages.size()); }
    // The page of the index, created with the pages before it when beyond the last.
    TStranaPrvku& page(int index);
    // Element pointer stays valid only until the next placement on that page.
    TVystPrvek& place(int pageIndex, TVystPrvek element);
};

int linesPerInch(int lineSpacingCode);

// The pages first..last (1-based, limited to the page list) as character-grid text in the
// output's code page: one grid row per line of the line spacing, 24 layers per row (three
// pitches by eight font variants) merged on output, CR LF after each row, every page but the
// last with all its rows, the last up to its last non-empty row.
QByteArray textGridOutput(const TSestVystup& out, int firstPage, int lastPage);
// The output range of the output itself.
QByteArray textGridOutput(const TSestVystup& out);

} // namespace brix::report
