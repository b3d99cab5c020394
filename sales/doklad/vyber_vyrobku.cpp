#include "vyber_vyrobku.h"

#include "datacis.h"
#include "util/text_utils.h"

namespace brix {

bool VyberVyrobkuBezVolby::najdi(const QString& text, bool poKlici) {
    if (poKlici) return dm_.NajdiVyrobek(text);
    const QString nazev = OrizniVpravo(text);
    if (nazev.isEmpty() || !dm_.TableVyr) return false;
    Table& vyr = *dm_.TableVyr;
    if (!vyr.active()) vyr.open();
    LocateOptions o;
    o.caseInsensitive = true;
    return vyr.locate(QStringLiteral("Nazev"), {nazev}, o);
}

bool VyberVyrobkuBezVolby::NajdiNeboVyberVyrobek(const QString& text, bool poKlici) {
    return najdi(text, poKlici);
}

} // namespace brix
