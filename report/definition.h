#pragma once
// The in-memory report definition: page setup, the five fixed sections and two per group,
// groups, user functions, elements, and the lines of attached detail templates.
// Coordinates and sizes are hundredths of an inch.

#include "calctype.h"
#include "userfunctions.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <vector>

namespace brix::report {

// The template as an ordered list of text lines.
using TPredloha = QStringList;

enum SectionCode {
    ReportHeader = 0, // "Z"
    PageHeader = 1,   // "H"
    Body = 2,         // "T"
    ReportFooter = 3, // "K"
    PageFooter = 4,   // "P"
    FirstGroupSection = 5,
};
constexpr int groupHeaderCode(int g) {
    return 2 * g + 5;
}
constexpr int groupFooterCode(int g) {
    return 2 * g + 6;
}
// Czech name of a section kind ("Začátek sestavy", "Začátek skupiny", ...).
QString sectionName(int code);

enum ElementKind {
    KindLabel = 1,
    KindField = 2,
    KindFieldLabel = 3,
    KindParameter = 4,
    KindVariable = 5,
    KindFunction = 6,
    KindLine = 7,
    KindRectangle = 8,
    KindRoundRect = 9,
    KindEllipse = 10,
    KindPicture = 11,
    KindBarcode = 12,
    KindPaintBox = 13,
    KindDetail = 15,
};
// Czech name the designer shows for an element kind, "Neznámý" for any other.
QString elementKindName(int kind);
bool isTextKind(int kind);    // 1 to 6
bool isGraphicKind(int kind); // 7 to 13

// Text flags (together with the alignment in bits 0 and 1).
enum TextFlag {
    TextRtf = 0x08,
    TextMultiLine = 0x10,
    TextJustify = 0x20,
    TextVariableHeight = 0x40
};
// Frame and option flags.
enum FrameFlag {
    FrameLeft = 0x01,
    FrameTop = 0x02,
    FrameRight = 0x04,
    FrameBottom = 0x08,
    OptionStretch = 0x10, // stretch picture / barcode check digit
    OptionAspect = 0x20,  // keep picture aspect / print barcode text
};
enum Alignment { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };
enum FontStyle { StyleBold = 1, StyleItalic = 2, StyleUnderline = 4, StyleStrikeOut = 8 };

// Colours are 0xBBGGRR values. The 16-colour palette of the designer.
struct PaletteColor {
    int value;
    const char* name; // Czech name
};
const PaletteColor* palette(); // 16 entries
// Colour of a template number: 0 to 15 the palette, anything else the raw value.
int colorFromFile(int stored);
// The number written for a colour: its palette index, else the raw value.
int colorToFile(int color);

constexpr int kWhite = 0xFFFFFF;

struct TSiReportElement {
    int kind = KindLabel;
    int reference = 0;
    QString referenceName; // kinds 2, 3 and 6 tracking by name
    int left = 0, top = 0, width = 0, height = 0;
    // Text kinds.
    QString fontName;
    int fontSize = 0; // points
    int fontColor = 0;
    int fontStyle = 0;
    int charset = 0;
    int alignment = AlignLeft;
    int textFlags = 0; // every bit of the field except the alignment
    int flags = 0;     // frame and option flags
    QString text;
    int spacing = 0;
    int angle = 0;
    int reserved = 0; // kept as read
    // Graphic kinds.
    int penWidth = 1;
    int penColor = 0;
    int penStyle = 0; // barcode: symbology index
    int fillColor = kWhite;
    int fillStyle = 0; // paint box: oversampling factor 1 to 6
    // Run state.
    TCalcType value;
    QString picturePath;

    bool tracksByName() const { return !referenceName.isEmpty(); }
    bool hasFlag(int textFlag) const { return (textFlags & textFlag) != 0; }
    // A line wider than 1 is always drawn solid.
    int effectivePenStyle() const { return kind == KindLine && penWidth > 1 ? 0 : penStyle; }

    friend bool operator==(const TSiReportElement&, const TSiReportElement&) = default;
};

struct TOddilSestavy {
    int code = 0;
    int height = 0;
    bool visible = true;
    int flags = 0; // the section's flags of line I,3 (fixed sections), every bit kept
    std::vector<TSiReportElement> elements;
    // Copied from the page setup when the section is loaded.
    int columns = 1;
    int columnGap = 0;

    friend bool operator==(const TOddilSestavy&, const TOddilSestavy&) = default;
};

struct TPolSkup {
    int number = 0; // g, from 0
    QString expression;
    bool newPage = false;
    // Run state (Part of the report run).
    QString previousValue;
    bool changed = false;
    int rowInGroup = 1;
    int groupCounter = 1;

    int headerSection() const { return groupHeaderCode(number); }
    int footerSection() const { return groupFooterCode(number); }
    // "Skupina 1" for group 0.
    QString caption() const { return QStringLiteral("Skupina %1").arg(number + 1); }
};

struct TemplateVersion {
    int major = 5, minor = 42, release = 5;
    friend bool operator==(const TemplateVersion&, const TemplateVersion&) = default;
};

struct PageSetup {
    bool landscape = false;
    bool allowOrientationChange = false;
    int paperWidth = 826;
    int paperHeight = 1169;
    int marginLeft = 50, marginRight = 50, marginTop = 70, marginBottom = 70;
    int columns = 1;
    int columnGap = 0;
    friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

struct GridSettings {
    bool characterGrid = false; // grid type 1: text printers
    int gridX = 8, gridY = 8;
    int lineSpacing = 0; // 0, 1, 2: 6, 4, 3 lines per inch
    int pitch = 1;       // 0, 1, 2: 10, 12, 17 characters per inch
    bool showGrid = false;
    bool snapToGrid = false;
    // Character cell of the character grid, hundredths of an inch.
    double charWidth() const;
    double lineHeight() const;
    friend bool operator==(const GridSettings&, const GridSettings&) = default;
};

struct Background {
    bool own = false;
    bool print = false;
    bool partialPage = false;
    int left = 0, top = 0, width = 0, height = 0; // 0 width / height: the paper's
    QString fileName;
    friend bool operator==(const Background&, const Background&) = default;
};

class ReportDefinition {
public:
    ReportDefinition();

    // The lines last read or written.
    TPredloha lines;
    std::vector<TOddilSestavy> sections; // five fixed, then header and footer per group
    std::vector<TPolSkup> groups;        // outermost first
    TListFunkci functions;
    // The lines of each detail's own template by detail number, without their "D n," prefix.
    // The report component hands them to its attached details; lines of details that are not
    // attached stay here and are written back unchanged.
    QMap<int, TPredloha> detailTemplates;
    QString description;
    TemplateVersion version;
    PageSetup page;
    GridSettings grid;
    Background background;
    int infoValue5 = 0; // line I,5, kept as read
    // A detail template skips page headers and footers and the page setup.
    bool isDetail = false;

    // Removes elements, groups with their sections, functions, detail lines and the lines.
    void clearContent();
    // Appends a group with its two sections; returns its number.
    int addGroup(const QString& expression = QString());
    TOddilSestavy& section(int code) { return sections[size_t(code)]; }
    const TOddilSestavy& section(int code) const { return sections[size_t(code)]; }
    int sectionCount() const { return int(sections.size()); }

    // Flags of line I,3.
    bool breakAfterHeader() const { return sections[ReportHeader].flags & 1; }
    bool noFirstPageHeader() const { return sections[PageHeader].flags & 1; }
    bool bodyPerPage() const { return sections[Body].flags & 1; }
    bool breakBeforeFooter() const { return sections[ReportFooter].flags & 1; }
    bool footerToBottom() const { return sections[ReportFooter].flags & 2; }
    bool noLastPageFooter() const { return sections[PageFooter].flags & 1; }
    void setSectionFlag(int code, int bit, bool on);

    // The definition itself without run state.
    bool sameModel(const ReportDefinition& o) const;
};

} // namespace brix::report
