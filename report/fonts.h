#pragma once
// Font names of templates and the installed faces that stand in for them.

#include <QString>

#include <optional>

namespace brix::report {

// The installed family for a template's font name: Arial, Times New Roman and Courier New
// (also with their " CE" and other script suffixes) map to the metric-compatible Liberation
// faces; the text printers' "Roman" fonts map to the mono face. Other names are returned as
// they are.
QString substituteFontFamily(const QString& templateName);

// Removes a script suffix (" CE", " Greek", " TUR", " Baltic", " CYR") from a template's font
// name; gives the character set it stands for (238, 161, 162, 186, 204), or nullopt when the
// name had none.
std::optional<int> stripScriptSuffix(QString* name);

// The built-in fixed-pitch fonts of a text printer ("Roman 10cpi", "Roman 12cpi",
// "Roman 17cpi").
struct PrinterFont {
    int cpi;          // 10, 12 or 17
    int pointSize;    // shown on screen as Courier New at this size
    double charWidth; // 100 / cpi hundredths of an inch
};
std::optional<PrinterFont> printerFont(const QString& templateName);

} // namespace brix::report
