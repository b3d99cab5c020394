#pragma once
// The header totals of a document: the three VAT buckets (rate 0, rates 1 to 9, rates 10 and
// above) with their VAT, the totals, the foreign total, the weight and the rounding difference.
//
// Invariants:
// - The header of an open document is a function of its items alone: SoucetDokladu keeps the
//   sum of the line amounts per whole-number VAT rate (and the foreign and weight sums), and
//   hlavicka() derives every header field from those sums. The incremental update moves one
//   item's share from its old to its new values and derives the header again; the full check
//   loads the sums from all items and derives it the same way. So the two always agree, no VAT
//   depends on the order the items were entered or edited in, and a check of a header written
//   by either is silent.
// - A bucket's VAT is the sum over its rates of (base x rate), divided by 100 and raised to the
//   next 0.10 away from zero (an exact tenth stays); with one rate in the bucket this is the
//   VAT of the bucket's base at that rate. The zero bucket never carries VAT.
// - The cash sale of retail prices sums amounts including VAT: per rate t the VAT is
//   A - A / (100 + t) x 100, and a bucket's base is its amount rounded up to 0.10 less its VAT.
// - Where the family rounds its total, the difference to the header step (HPKU_Kc) goes into the
//   bucket of the largest base (in magnitude, among the buckets that hold items; ties go to the
//   bucket of the higher rates), split into a base and a VAT share of t / (100 + t) at 0.01,
//   t being the bucket's rate of the largest base.
// KontrolaHlavicky is the checker: it compares a stored header with what the sums give.

#include "polozka.h"
#include "popis_dokladu.h"

#include <QString>

#include <utility>
#include <vector>

namespace brix {

struct HodnotyHlavicky {
    Decimal Zaklad0, DPH0, Zaklad1, DPH1, Zaklad2, DPH2, Zaklad, DPH, Cena_Celk;
    Decimal Cena_Cizi, Hmotnost, HPKU_Kc;
    friend bool operator==(const HodnotyHlavicky&, const HodnotyHlavicky&) = default;
};

// The bucket of a whole-number rate: 0 for 0, 1 below 10, 2 for 10 and above.
int kosSazby(int sazba);

// The VAT of a base at a rate: base x rate / 100 raised to the next 0.10 away from zero.
Decimal DPHZakladu(Decimal zaklad, int sazba);

// Whether a document of the family with this price type sums amounts including VAT (the cash
// sale of retail prices).
bool castkySDPH(const PopisDokladu& popis, DruhCeny druh);

// The sums of an open document's items.
class SoucetDokladu {
public:
    explicit SoucetDokladu(const PopisDokladu& popis, bool castkySDPH = false);

    const PopisDokladu& popis() const { return *popis_; }
    bool castkySDPH() const { return castkySDPH_; }

    void vynuluj();
    void pridej(const PodilPolozky& podil);
    void odeber(const PodilPolozky& podil);

    // PrepocetHlavicky: the item's share moves from `puvodni` (the previous-line memory; zero
    // for a new item) to `nova` (zero for an item deleted or a new one cancelled); the header
    // follows. The caller remembers `nova` as the item's previous values.
    HodnotyHlavicky PrepocetHlavicky(const PodilPolozky& puvodni, const PodilPolozky& nova,
                                     Decimal krokHlavicky);

    // The header these sums give, rounded to the header step where the family rounds.
    HodnotyHlavicky hlavicka(Decimal krokHlavicky) const;

    // The sums per whole-number rate in the order of the rates; rates summing to 0 are left out.
    const std::vector<std::pair<int, Decimal>>& sazby() const { return sazby_; }
    Decimal cizi() const { return cizi_; }
    Decimal hmotnost() const { return hmotnost_; }

private:
    void posun(int sazba, Decimal castka);

    const PopisDokladu* popis_;
    bool castkySDPH_;
    std::vector<std::pair<int, Decimal>> sazby_;
    Decimal cizi_, hmotnost_;
};

struct VysledekKontroly {
    HodnotyHlavicky spravne; // what a repair writes
    bool rozdil = false;     // the stored header differs from it
    QString text;            // the differences, worded for the question
};

// The full check: the stored header against the header of the items' sums. The texts follow the
// family's check: base, VAT and total (and, where the family compares them, the foreign total
// and the weight), each with the right value and ", opravit ?"; a difference only in the split
// between the buckets or in the rounding difference is worded on its own; " Zaokrouhlovací
// rozdíl" follows when the right header holds one. Numbers are written as short as they are,
// with a decimal comma.
VysledekKontroly KontrolaHlavicky(const SoucetDokladu& zPolozek, const HodnotyHlavicky& ulozena,
                                  Decimal krokHlavicky);

} // namespace brix
