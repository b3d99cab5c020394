#pragma once
// Barcodes of report elements: the twenty linear symbologies, the magnification table, the
// preparation of the content with its check digits, the encoding into bars and spaces, their
// widths in device pixels, and the drawing (the renderer draws with it; the file writers take
// the same bars as rectangles).
//
// Promises:
// - `TBCdata` and the magnification table are the only tables of symbologies and bar widths.
// - An index outside the table is "EAN 13".
// - The elements of a symbol follow the symbology's published standard; a content that no set
//   of the symbology can carry gives no bars (`encodable` false) and is drawn as a thin crossed
//   frame with the content as text, never as bars that would scan as other data.
// Qt Gui only; nothing here knows the report's definition.

#include <QPolygonF>
#include <QRect>
#include <QString>
#include <QTransform>

#include <array>
#include <cstdint>
#include <vector>

class QPainter;

namespace brix::report {

enum TBarcodeType {
    bc2of5Interleaved = 0,
    bc2of5Industrial = 1,
    bc2of5Matrix = 2,
    bcCode39 = 3,
    bcCode39Full = 4,
    bcCode128A = 5,
    bcCode128B = 6,
    bcCode128C = 7,
    bcCode93 = 8,
    bcCode93Full = 9,
    bcMSI = 10,
    bcPostNet = 11,
    bcCodabar = 12,
    bcEAN8 = 13,
    bcEAN13 = 14,
    bcUPCA = 15,
    bcUPCE0 = 16,
    bcUPCE1 = 17,
    bcUPCSupp2 = 18,
    bcUPCSupp5 = 19,
};
constexpr int kBarcodeTypeCount = 20;

// An entry of the symbology table: its name and whether it carries digits only.
struct TBCdata {
    const char* name;
    bool numericOnly;
};
const std::array<TBCdata, kBarcodeTypeCount>& barcodeTable();
// The symbology of a stored index: the index itself, or "EAN 13" outside the table.
int barcodeType(int index);

// The magnification table ("Zvětšení"): the text shown and the stored bar-width value
// (magnification × 8; value v is a narrow module of v / 600 inch).
struct Zvetseni {
    const char* text;
    int value;
};
const std::array<Zvetseni, 36>& zvetseniTable();
// The text of a stored value, "1,00" when no entry has it.
QString zvetseniText(int value);
// The value of a text of the table, -1 when the table has no such text.
int zvetseniValue(const QString& text);

// The content prepared for its symbology: numeric-only symbologies keep digits (every other
// character becomes "0", spaces around are removed); fixed-length ones come to their length;
// check digits are computed where the symbology or the flag asks for them. The check
// characters of Code 39 (modulo 43), Code 128 and Code 93 belong to the symbol, not the text.
QString prepareBarcode(int type, const QString& content, bool checkDigit);

// The check digits (exposed for tests): EAN and UPC modulo 10 with weights 3 and 1 from the
// rightmost data digit; UPC-E over its UPC-A expansion; the 5-digit supplement's parity digit
// (weights 3 and 9); MSI's Luhn modulo 10; PostNet's complement to a multiple of ten.
int eanCheckDigit(const QString& digits);
int upceCheckDigit(int numberSystem, const QString& sixDigits);
QString upceToUpca(int numberSystem, const QString& sixDigits); // eleven digits
int supplement5Parity(const QString& fiveDigits);
int msiCheckDigit(const QString& digits);
int postnetCheckDigit(const QString& digits);

// A bar or a space of a width class 1 to 4 (w1 .. w4).
struct BarElement {
    enum Kind : std::uint8_t { Space, Bar, ShortBar };
    Kind kind;
    std::uint8_t width;
    friend bool operator==(const BarElement&, const BarElement&) = default;
};

struct BarcodeSymbol {
    int type = bcEAN13;
    QString text; // the prepared content
    std::vector<BarElement> elements;
    bool encodable = true;
};
// Prepares and encodes a content (the first item of the element's list).
BarcodeSymbol encodeBarcode(int type, const QString& content, bool checkDigit);

// The narrow module in device pixels at a drawing scale of `scale` pixels per report unit for
// a stored bar-width value: round(scale × value / 6), at least 1.
int barcodeModule(double scale, int value);
// Widths in pixels of w1 .. w4 (index 1 .. 4) for a module: w1 the module, w2 = round(module ×
// ratio), w3 = w2 × 3 / 2, w4 = 2 × w2; the ratio is 2.25 for "2/5 matrix", else 2.
std::array<int, 5> barWidths(int type, int module);
// The symbol's width in pixels.
int barcodeWidth(const BarcodeSymbol& symbol, int module);
// The symbol at module 1 as a text: "1" per module of a full bar, "s" of a short bar, "0" of a
// space.
QString moduleString(const BarcodeSymbol& symbol);

// A bar as the writers draw it: a rectangle in pixels in the element's own frame (origin its
// top-left corner, before rotation). Short bars are two fifths of the height on the bottom edge.
struct BarRect {
    QRect rect;
    bool shortBar = false;
};
std::vector<BarRect> barRects(const BarcodeSymbol& symbol, int module, int height);
// From the element's own frame to the page: rotation by the angle in degrees, counter-clockwise
// on the page, about the element's top-left corner `origin`.
QTransform barcodeTransform(QPointF origin, int angle);

// Draws the symbol into the element's rectangle (device pixels): black bars from the left edge,
// rotated; with `printText` the prepared content in Arial of 3 × module pixels at the top-left
// corner, black on white, not rotated. A symbol that is not encodable is a crossed frame with
// its content as text.
void drawBarcode(QPainter& painter, const BarcodeSymbol& symbol, const QRect& element, int module,
                 int angle, bool printText);

} // namespace brix::report
