#pragma once
// The closing holders: the closing, correction and reversal of a document as the user starts
// them, with every question and check asked before anything is written (the closing question,
// the item check, the sum check, the supplier whose deliveries are stopped), then the posting
// engine's one transaction (zauctovani.h), then the messages it collected. They show no window
// of their own; their boxes go through the platform layer.

#include "rodiny.h"
#include "zasoby.h"
#include "zauctovani.h"

#include <memory>

namespace brix {
class TDataCis;
}

namespace brix::sklad {

// A finding of the item check.
struct NalezKontroly {
    enum class Druh {
        Chybi,        // the product is not in the product list
        JineCislo,    // the product found by the key has another number than the item
        JineObjCis,   // ... another order code
        MaloNaSklade, // not enough in stock
    } druh;
    Zprava zprava;
    qint64 spravneCislo = 0; // JineCislo: the product's number
    bool otazka = false;     // the finding is a question whose Yes corrects the item
};

// The item check before closing (KontrolaPolozky) of the current item: what is wrong with it.
// The product is looked up through the data module (its product cursor moves to it).
std::vector<NalezKontroly> KontrolaPolozky(TDataCis& dm, KontextPohybu& kontext,
                                           const RodinaDokladu& rodina,
                                           const RecordSource& polozka);

class UzavreniDokladu {
public:
    UzavreniDokladu(TDataCis& dm, const RodinaDokladu& rodina, NastaveniPohybu nastaveni);
    virtual ~UzavreniDokladu();

    KontextPohybu& kontext() { return *kontext_; }
    void setNastaveni(const NastaveniPohybu& n) { kontext_->setNastaveni(n); }
    // What the last closing or reversal answered (for the forms and the tests).
    const VysledekPohybu& posledni() const { return posledni_; }

protected:
    // The closing as the user starts it; true when it was done.
    bool uzavri(int cisUctu);
    // The reversal after the user's confirmation; true when it was done.
    bool stornuj(int cisUctu);
    // Checks of the family on the header: before the closing question, and after it.
    virtual bool predOtazkou(Table& hlavicka);
    virtual bool predUzavrenim(Table& hlavicka);
    void ukaz(const std::vector<Zprava>& zpravy);

    TDataCis& dm_;
    const RodinaDokladu& rodina_;
    std::unique_ptr<KontextPohybu> kontext_;
    VysledekPohybu posledni_;

private:
    bool spolecnyZacatek(Table& hlavicka, int cisUctu);
};

class TFormulIPrijUzavri : public UzavreniDokladu {
public:
    TFormulIPrijUzavri(TDataCis& dm, NastaveniPohybu nastaveni);
    bool UzavriPrijemku(int cisUctu) { return uzavri(cisUctu); }
    bool StornoPrijemky(int cisUctu) { return stornuj(cisUctu); }
};

class TFormulIVydUzavri : public UzavreniDokladu {
public:
    TFormulIVydUzavri(TDataCis& dm, NastaveniPohybu nastaveni);
    // `prevod`: the register is in transfer mode; a document of the other mode is refused.
    bool UzavriVydejku(int cisUctu, bool prevod);

private:
    bool predOtazkou(Table& hlavicka) override;
    bool prevod_ = false;
};

class TFormulDLPUzavri : public UzavreniDokladu {
public:
    TFormulDLPUzavri(TDataCis& dm, NastaveniPohybu nastaveni);
    bool UzavriDodavku(int cisUctu) { return uzavri(cisUctu); }
    bool StornoDodavky(int cisUctu) { return stornuj(cisUctu); }

private:
    bool predUzavrenim(Table& hlavicka) override;
};

} // namespace brix::sklad
