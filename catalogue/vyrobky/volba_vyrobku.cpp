#include "volba_vyrobku.h"

#include "datacis.h"
#include "util/nastaveni.h"

namespace brix {

bool VolbaVyrobku::NajdiNeboVyberVyrobek(const QString& text, bool poKlici) {
    if (najdi(text, poKlici)) return true;
    if (nastaveniProgramu().OkVyrSQL && d_.rychleHledani) {
        const std::optional<QString> klic = d_.rychleHledani(text, poKlici);
        return klic && dm_.NajdiVyrobek(*klic);
    }
    return d_.vyberVyrobek && d_.vyberVyrobek(!poKlici, text);
}

} // namespace brix
