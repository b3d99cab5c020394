#pragma once
// The stock invariants, checked over a whole data root. The tests call the checker after every
// step of their random sequences, the benchmarks after their runs, and the administrator runs
// it as `brix-db stock-check ROOT`. What it checks:
//
// 1. The stock level of a product in a warehouse (SklZas_ks, SklZas_kc) is the sum of its
//    ledger records, + for goods in and - for goods out, exact to the four places.
// 2. A product's totals (SklZas_Ks, SklZas_Kc, Rezervace) are the sums of its stock levels, and
//    its DisponMn is SklZas_Ks - Rezervace.
// 3. With reservations on, the reservation of a stock level is what the unposted stock items
//    of open documents reserve there (incoming documents less, outgoing more).
// 4. A closed document has one ledger record per movement of each posted stock item (two for a
//    transfer item) and no other; an open or reversed one has none, and all its items are
//    unposted. A closed document with a follow-up has it, with a copy of every item; a reversed
//    one has it reversed and empty.
// 5. A header's totals are the sums of its items.
// 6. The number series of each family offers a number above every document it has.

#include "rodiny.h"

#include <QStringList>

#include <memory>

namespace brix {
class Database;
}

namespace brix::sklad {

struct NastaveniKontroly {
    bool rezervace = true; // REZERVACE: reservations are kept
    QString klicVyrobku = QStringLiteral("CIS_VYR");
};

// The checker keeps its cursors between runs (the tests run it after every step).
class KontrolorSkladu {
public:
    explicit KontrolorSkladu(Database& db);
    ~KontrolorSkladu();
    // The differences found, one Czech line each; empty when every invariant holds.
    QStringList proved(const NastaveniKontroly& nastaveni);

    struct Kurzory;

private:
    Database& db_;
    std::unique_ptr<Kurzory> kurzory_;
};

QStringList KontrolaSkladu(Database& db, const NastaveniKontroly& nastaveni);
// The same with the data root's own settings (REZERVACE of "Nast_Pr.DB").
QStringList KontrolaSkladu(Database& db);

} // namespace brix::sklad
