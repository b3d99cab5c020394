#pragma once
// The posting engine: closing, correction on re-closing and reversal of a stock document, the
// same code for every family (rodiny.h). No dialog is shown here; the closing holders
// (uzavreni.h) ask their questions before they call it and show its messages after it returns.
//
// Promises:
// - A closing, correction or reversal commits whole or leaves nothing: one write transaction,
//   rolled back on any storage failure.
// - The header is read again under the write lock; when its state is no longer the state the
//   caller's questions were asked about, nothing is written.
// - After a closing each posted stock item has its ledger record (two for a transfer item), its
//   stock level and its product's totals moved by the same quantity and value, and no longer
//   reserves; an item whose product is missing is left unposted ("P") and reported.
// - A correction takes each item's old records out of their stock levels and posts the item
//   anew at the old unit value times the new quantity; product totals follow.
// - A reversal takes every ledger record of the document out again, so that closing and
//   reversing restores every stock level and product total exactly, and the items reserve
//   again.

#include "rodiny.h"
#include "storage_error.h"
#include "zasoby.h"

#include <optional>

namespace brix::sklad {

enum class Vysledek {
    Provedeno,   // done; zpravy hold what the posting had to say
    Nenalezen,   // the document does not exist
    ZmenenyStav, // its state is not the one the caller saw: nothing written
    JizUzavren,  // re-closing a family that has no correction: refused
    NeniUzavren, // reversing a document that is not closed: nothing written
    BezStorna,   // the family has no reversal
    ChybiRada,   // no number series for the follow-up document: nothing written
    ChybaUlozeni // a storage failure: everything rolled back
};

struct VysledekPohybu {
    Vysledek vysledek = Vysledek::Provedeno;
    bool oprava = false; // the closing ran as a correction
    // What to show, in order: the posting's messages after a commit, or why nothing was done.
    std::vector<Zprava> zpravy;
    std::vector<int> neuctovane; // items left unposted (their product is missing)
    int cisloNavazneho = 0;      // the follow-up document's number
    std::optional<StorageError> chyba;

    bool ok() const { return vysledek == Vysledek::Provedeno; }
};

// The received value of goods received: q pieces of line value p into stock of k pieces valued
// c. Stock at or above zero takes the line value as it is; a return (q < 0) its line value
// rounded to the step; stock below zero is first made up at its own average value and only the
// rest at the line value, rounded to the step.
Decimal PrijmiPolozkuDodavky(Decimal k, Decimal c, Decimal q, Decimal p, Decimal krok);

// The state of a header as the families compare it: "" and "0" are the same (open).
QString stavHlavicky(const RecordSource& hlavicka);

class Zauctovani {
public:
    Zauctovani(KontextPohybu& kontext, const RodinaDokladu& rodina);

    // Closes the document, or corrects it when it is closed already and the family corrects.
    // `ocekavanyStav` is the header state the caller's questions were about.
    VysledekPohybu uzavri(int cisUctu, const QString& ocekavanyStav);
    // Reverses a closed document.
    VysledekPohybu stornuj(int cisUctu);

private:
    struct Doklad;
    void uzavreni(Doklad& d, VysledekPohybu& v);
    void oprava(Doklad& d, VysledekPohybu& v);
    void storno(Doklad& d, VysledekPohybu& v);
    bool zauctujPolozku(Doklad& d, VysledekPohybu& v);
    Decimal zauctujPohyb(const Pohyb& p, bool bezRezervace);
    void zapisDoDeniku(Doklad& d, const Pohyb& p, Decimal hodnota, Table* zaznam);
    bool cisloNavazneho(Doklad& d, VysledekPohybu& v, int* cislo);
    void vytvorNavazny(Doklad& d, int cislo);
    void stornujNavazny(Doklad& d, VysledekPohybu& v);
    VysledekPohybu proved(int cisUctu, const std::function<void(Doklad&, VysledekPohybu&)>& akce,
                          const QString& textSelhani);

    KontextPohybu& k_;
    const RodinaDokladu& r_;
};

} // namespace brix::sklad
