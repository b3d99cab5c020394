#include "pravidla.h"

#include "util/path_resolver.h"

namespace brix {

std::optional<int> OborSkladu(const QString& text, QString* zprava) {
    bool ok = false;
    const int obor = text.trimmed().toInt(&ok, 10);
    QString chyba;
    if (!ok)
        chyba = QStringLiteral("Obotr smí být v rozsahu 1..20");
    else if (obor < 1 || obor > kPocetOboru)
        chyba = QStringLiteral("Obor smí být v rozsahu 1..20");
    if (zprava) *zprava = chyba;
    if (!chyba.isEmpty()) return std::nullopt;
    return obor;
}

QString SablonaCelnihoSazebniku(bool znTisk) {
    return znTisk ? QStringLiteral("ciselnik\\CloSeznamZ.pts")
                  : QStringLiteral("ciselnik\\CloSeznam.pts");
}

QString CestaSablony(const QString& datovyKoren, const QString& jmeno) {
    // The names are relative to the data root even when written with a leading backslash.
    QString relativni = jmeno.trimmed();
    while (relativni.startsWith(QLatin1Char('\\')) || relativni.startsWith(QLatin1Char('/')))
        relativni.remove(0, 1);
    if (relativni.isEmpty()) return QString();
    return resolvePath(datovyKoren, relativni).path;
}

} // namespace brix
