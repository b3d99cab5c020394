#pragma once
// A scan-line barcode reader for the tests: the widths of the dark and light runs of one row
// (or column) of a drawn barcode, read back into the content as a scanner would.
//
// The EAN and UPC sets are the standards' tables written out here; the 2/5 codes are read by
// their bar weights (1, 2, 4, 7 and parity), MSI by its binary digits, PostNet by its weights
// (7, 4, 2, 1, 0). The character patterns of Code 39, Code 93, Code 128 and Codabar are taken
// from symbols of single characters (zbarimg checks those tables against its own); the reader
// checks the frames, gaps, check characters, shifts and sets and the full-ASCII pairs itself.

#include <QImage>
#include <QString>

#include <vector>

namespace brix::test {

// The standards' EAN/UPC sets: odd (L), even (G) and right-hand (R) digits as modules.
extern const char* const kStandardEanL[10];
extern const char* const kStandardEanG[10];
extern const char* const kStandardEanR[10];
// Parities of the left half of EAN 13 by its first digit, of UPC-E (number system 0) by its
// check digit, and of the supplements.
extern const char* const kStandardEan13Parity[10];
extern const char* const kStandardUpceParity[10];
extern const char* const kStandardSupp5Parity[10];
extern const char* const kStandardSupp2Parity[4];

// Runs of a scan line between its first and last dark pixel, dark first: dark, light, dark ...
std::vector<int> rowRuns(const QImage& image, int y);
// A column read from the bottom up (a barcode turned by 90° starts at the bottom).
std::vector<int> columnRuns(const QImage& image, int x);

// The content of a symbology read from the runs, drawn with a narrow module of `module`
// pixels; empty when the runs are not a valid symbol. The check characters of Code 93 and
// Code 128 are verified and left out; check digits of numeric codes are part of the digits
// read; a Code 39 check character is read as data (withoutCode39Check verifies it).
QString decodeRuns(int symbology, const std::vector<int>& runs, int module);

QString withoutCode39Check(const QString& chars);

// PostNet: full and short bars are told apart by a row through the upper part (only full bars
// reach it) and one through the lower part (every bar).
QString decodePostNet(const std::vector<int>& upperRow, const std::vector<int>& lowerRow);

} // namespace brix::test
