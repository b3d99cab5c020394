#pragma once
// How an entry form comes to a product for an item: by the text typed into its product box
// (the product key of the setting _HlKlicVyr) or its name box, and when no product has it, the
// product chooser opens with the text. The controller is handed one; the product register and
// the quick search of the catalogue provide the chooser.

#include <QString>

namespace brix {

class TDataCis;

class VyberVyrobku {
public:
    virtual ~VyberVyrobku() = default;
    // The product of the text: by the product key when `poKlici`, else the first product whose
    // name equals the text ignoring case; when there is none the chooser opens with the text.
    // True when a product is current in TableVyr; false when nothing was chosen.
    virtual bool NajdiNeboVyberVyrobek(const QString& text, bool poKlici) = 0;
};

// Finds by key (NajdiVyrobek) or by name, without a chooser: a text no product has finds
// nothing.
class VyberVyrobkuBezVolby : public VyberVyrobku {
public:
    explicit VyberVyrobkuBezVolby(TDataCis& dm) : dm_(dm) {}
    bool NajdiNeboVyberVyrobek(const QString& text, bool poKlici) override;

protected:
    // The product of the text as typed, positioned in TableVyr; false when none has it.
    bool najdi(const QString& text, bool poKlici);
    TDataCis& dm_;
};

} // namespace brix
