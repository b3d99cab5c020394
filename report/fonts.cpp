#include "fonts.h"

namespace brix::report {

namespace {

struct Substitute {
    const char* name;
    const char* family;
};

// One table for every face the templates name.
const Substitute kSubstitutes[] = {
    {"Arial", "Liberation Sans"},         {"Helvetica", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"}, {"Times New Roman", "Liberation Serif"},
    {"Times", "Liberation Serif"},        {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
};

struct Suffix {
    const char* text;
    int charset;
};
const Suffix kSuffixes[] = {
    {" CE", 238}, {" Greek", 161}, {" TUR", 162}, {" Baltic", 186}, {" CYR", 204},
};

} // namespace

std::optional<int> stripScriptSuffix(QString* name) {
    std::optional<int> charset;
    bool again = true;
    while (again) {
        again = false;
        for (const Suffix& s : kSuffixes) {
            const QString suffix = QString::fromLatin1(s.text);
            const qsizetype at = name->indexOf(suffix);
            if (at >= 0) {
                name->remove(at, suffix.size());
                charset = s.charset;
                again = true;
            }
        }
    }
    return charset;
}

std::optional<PrinterFont> printerFont(const QString& templateName) {
    if (!templateName.startsWith(QLatin1String("Roman "))) return std::nullopt;
    int cpi = 10;
    if (templateName.contains(QLatin1String("12")))
        cpi = 12;
    else if (templateName.contains(QLatin1String("17")))
        cpi = 17;
    const int points = cpi == 12 ? 10 : (cpi == 17 ? 8 : 11);
    return PrinterFont{cpi, points, 100.0 / cpi};
}

QString substituteFontFamily(const QString& templateName) {
    QString name = templateName.trimmed();
    stripScriptSuffix(&name);
    if (printerFont(name)) name = QStringLiteral("Courier New");
    for (const Substitute& s : kSubstitutes)
        if (name.compare(QLatin1String(s.name), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(s.family);
    return templateName;
}

} // namespace brix::report
