#pragma once
// Code pages of the system's text files and of the text printers.
// Windows-1250 is the code page of every settings file, template and text export;
// CP852 and Kamenický serve the character printers; ASCII drops the diacritics.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace brix {

enum class Codepage { Cp1250, Cp852, Kamenicky, Ascii };

// Bytes of the code page to Unicode. Bytes without a character give U+FFFD.
QString decode(QByteArrayView bytes, Codepage cp = Codepage::Cp1250);

// Unicode to bytes of the code page. A character the code page lacks becomes its nearest
// equivalent of one byte (the letter without its accent, a straight quote for a typographic
// one, a hyphen for a dash) or '?' where there is none; never a stray byte.
QByteArray encode(QStringView text, Codepage cp = Codepage::Cp1250);

// Whether the code page holds the character as it is.
bool canEncode(QChar ch, Codepage cp);

// The text of a system text file: UTF-8 when it starts with the byte-order mark, else Windows-1250.
QString decodeTextFile(const QByteArray& bytes);

// Reads a text file of the system; false with a Czech error text when it cannot be read.
bool readTextFile(const QString& path, QString* text, QString* error = nullptr);
// The lines of a text file, CR LF or LF; a last empty line is dropped.
bool readTextLines(const QString& path, QStringList* lines, QString* error = nullptr);

// Writes text in Windows-1250 with CR LF line ends (LF in the text become CR LF). The file is
// written beside the target and renamed over it, so a failed write leaves the old file.
bool writeTextFile(const QString& path, const QString& text, QString* error = nullptr);
bool writeTextLines(const QString& path, const QStringList& lines, QString* error = nullptr);
// Writes bytes the same way: the file appears, or is replaced, only when all of them were
// written.
bool writeFileWhole(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace brix
