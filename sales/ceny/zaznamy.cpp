#include "zaznamy.h"

#include "util/text_utils.h"

namespace brix {

DruhCeny druhCeny(QStringView text) {
    const QString t = OrizniVpravo(text);
    if (t == QLatin1String("NC")) return DruhCeny::NC;
    if (t == QLatin1String("MO")) return DruhCeny::MO;
    if (t == QLatin1String("VO")) return DruhCeny::VO;
    if (t == QLatin1String("IP")) return DruhCeny::IP;
    return DruhCeny::Nepovoleny;
}

QString textDruhuCeny(DruhCeny druh) {
    switch (druh) {
    case DruhCeny::NC:
        return QStringLiteral("NC");
    case DruhCeny::MO:
        return QStringLiteral("MO");
    case DruhCeny::VO:
        return QStringLiteral("VO");
    case DruhCeny::IP:
        return QStringLiteral("IP");
    case DruhCeny::Nepovoleny:
        break;
    }
    return {};
}

} // namespace brix
