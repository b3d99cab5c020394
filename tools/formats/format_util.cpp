#include "format_util.h"

#include <QDir>
#include <QFileInfo>

namespace brix::formats::detail {

QString withSuffix(const QString& path, const QString& suffix) {
    QFileInfo fi(path);
    if (fi.suffix().compare(suffix, Qt::CaseInsensitive) == 0) return path;
    return path + QLatin1Char('.') + suffix;
}

QString companion(const QString& path, const QString& suffix) {
    QFileInfo fi(path);
    const QString base = fi.completeBaseName();
    QDir dir = fi.absoluteDir();
    for (const QString& e : dir.entryList(QDir::Files)) {
        QFileInfo ei(e);
        if (ei.completeBaseName() == base && ei.suffix().compare(suffix, Qt::CaseInsensitive) == 0)
            return dir.filePath(e);
    }
    return dir.filePath(base + QLatin1Char('.') + suffix);
}

} // namespace brix::formats::detail
