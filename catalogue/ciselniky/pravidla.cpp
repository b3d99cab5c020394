#include "pravidla.h"

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

} // namespace brix
