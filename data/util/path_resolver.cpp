#include "path_resolver.h"

#include <QDir>
#include <QFileInfo>

namespace brix {

namespace {

// The entry of dir whose name equals name ignoring case; empty when there is none.
QString matchEntry(const QString& dir, const QString& name) {
    if (QFileInfo::exists(dir + QLatin1Char('/') + name)) return name;
    const QStringList entries = QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return entry;
    return QString();
}

} // namespace

ResolvedPath resolvePath(const QString& root, QStringView systemPath) {
    ResolvedPath result;
    QString text = systemPath.toString();
    bool absolute = text.startsWith(QLatin1Char('/'));
    text.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = text.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part == QLatin1String("..") || part.contains(QLatin1Char(':'))) {
            result.error = QStringLiteral("Cesta %1 vede mimo datový adresář").arg(text);
            return result;
        }
    }

    QString current = absolute ? QStringLiteral("/") : QDir::cleanPath(root);
    if (current.isEmpty()) current = QStringLiteral(".");
    bool existing = QFileInfo(current).isDir();
    for (const QString& part : parts) {
        if (part == QLatin1String(".")) continue;
        QString name;
        if (existing && QFileInfo(current).isDir()) name = matchEntry(current, part);
        if (name.isEmpty()) {
            existing = false;
            name = part;
        }
        if (!current.endsWith(QLatin1Char('/'))) current += QLatin1Char('/');
        current += name;
    }
    QFileInfo info(current);
    result.path = current;
    result.exists = existing && info.exists();
    result.isDir = result.exists && info.isDir();
    return result;
}

QString resolvedFilePath(const QString& root, QStringView systemPath) {
    return resolvePath(root, systemPath).path;
}

} // namespace brix
