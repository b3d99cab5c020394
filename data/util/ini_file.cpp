#include "ini_file.h"

#include "codec.h"

#include <QDir>
#include <QFileInfo>

namespace brix {

namespace {

// The section name of a "[name]" line, else nullopt.
std::optional<QString> sectionOf(const QString& line) {
    QString t = line.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return std::nullopt;
}

bool isKeyLine(const QString& line, QStringView key, QString* value = nullptr) {
    QString t = line.trimmed();
    if (t.startsWith(QLatin1Char(';'))) return false;
    qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq < 0) return false;
    if (QStringView(t).left(eq).trimmed().compare(key.trimmed(), Qt::CaseInsensitive) != 0)
        return false;
    if (value) {
        QString v = t.mid(eq + 1).trimmed();
        if (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
            v = v.mid(1, v.size() - 2);
        *value = v;
    }
    return true;
}

bool sameName(const QString& a, QStringView b) {
    return QStringView(a).compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

} // namespace

std::optional<QString> iniValue(const QStringList& lines, QStringView section, QStringView key) {
    bool inSection = false;
    for (const QString& line : lines) {
        if (auto s = sectionOf(line)) {
            inSection = sameName(*s, section);
            continue;
        }
        QString value;
        if (inSection && isKeyLine(line, key, &value)) return value;
    }
    return std::nullopt;
}

void setIniValue(QStringList& lines, QStringView section, QStringView key, const QString& value) {
    const QString entry = key.trimmed().toString() + QLatin1Char('=') + value;
    bool inSection = false;
    qsizetype sectionEnd = -1; // index after the last non-blank line of the section
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (auto s = sectionOf(lines[i])) {
            if (inSection) break;
            inSection = sameName(*s, section);
            if (inSection) sectionEnd = i + 1;
            continue;
        }
        if (!inSection) continue;
        if (isKeyLine(lines[i], key)) {
            // The key keeps the spelling the file gave it.
            QString written = lines[i].left(lines[i].indexOf(QLatin1Char('='))).trimmed();
            lines[i] = written + QLatin1Char('=') + value;
            return;
        }
        if (!lines[i].trimmed().isEmpty()) sectionEnd = i + 1;
    }
    if (sectionEnd >= 0) {
        lines.insert(sectionEnd, entry);
        return;
    }
    lines << QLatin1Char('[') + section.trimmed().toString() + QLatin1Char(']') << entry;
}

QString readIniValue(const QString& path, QStringView section, QStringView key,
                     const QString& fallback) {
    QStringList lines;
    if (!readTextLines(path, &lines)) return fallback;
    auto value = iniValue(lines, section, key);
    return value ? *value : fallback;
}

bool writeIniValue(const QString& path, QStringView section, QStringView key, const QString& value,
                   QString* error) {
    QStringList lines;
    if (QFileInfo::exists(path) && !readTextLines(path, &lines, error)) return false;
    setIniValue(lines, section, key, value);
    QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir)) {
        if (error) *error = QStringLiteral("Adresář %1 nelze vytvořit").arg(dir);
        return false;
    }
    return writeTextLines(path, lines, error);
}

} // namespace brix
