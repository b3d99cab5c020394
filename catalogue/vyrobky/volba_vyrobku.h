#pragma once
// The one product chooser of every item entry form: the product of the typed text, and when
// no product has it, the quick product search (setting OkVyrSQL) or the product register as a
// chooser. The dialogs are handed in; the product form provides the real ones
// (VolbaVyrobkuFormulari), the tests scripted ones.

#include "vyber_vyrobku.h"

#include <QString>

#include <functional>
#include <optional>

namespace brix {

class VolbaVyrobku : public VyberVyrobkuBezVolby {
public:
    struct Dialogy {
        // The quick search with its key box (poKlici) or name box preset with the text; the
        // chosen product's key, nothing on cancel.
        std::function<std::optional<QString>(const QString& text, bool poKlici)> rychleHledani;
        // VyberVyrobek(poNazvu, text): true when a product was chosen, then current in TableVyr.
        std::function<bool(bool poNazvu, const QString& text)> vyberVyrobek;
    };
    VolbaVyrobku(TDataCis& dm, Dialogy dialogy)
        : VyberVyrobkuBezVolby(dm), d_(std::move(dialogy)) {}

    // NajdiVyrobek or the name as typed; else the chooser of the setting. True when a product is
    // current in TableVyr; false on cancel.
    bool NajdiNeboVyberVyrobek(const QString& text, bool poKlici) override;

private:
    Dialogy d_;
};

} // namespace brix
