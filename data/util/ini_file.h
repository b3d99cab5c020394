#pragma once
// The small INI files of the system ("[SETUP]" / "CESTA=ExportDbf\"), read and written as the
// Windows profile functions do: sections and keys ignore case, blanks around keys and values are
// dropped, a value in matching double quotes loses them, lines starting with ";" are comments.
// Backslashes are kept as they are (no escaping), and every other line of the file survives a
// change of one value.

#include <QString>
#include <QStringList>

#include <optional>

namespace brix {

// The value of key in section; nullopt when the section or the key is missing.
std::optional<QString> iniValue(const QStringList& lines, QStringView section, QStringView key);

// Sets key in section: the value of its line is replaced (the key keeps its spelling), or a line is
// added at the end of the section, or the section is added at the end of the file.
void setIniValue(QStringList& lines, QStringView section, QStringView key, const QString& value);

// Reads one value of an INI file (Windows-1250); fallback when the file, the section or the key
// is missing.
QString readIniValue(const QString& path, QStringView section, QStringView key,
                     const QString& fallback);

// Writes one value into an INI file, keeping the rest of it; creates the file and its directory
// when missing. False with a Czech error text when it cannot be written.
bool writeIniValue(const QString& path, QStringView section, QStringView key, const QString& value,
                   QString* error = nullptr);

} // namespace brix
