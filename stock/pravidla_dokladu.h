#pragma once
// The data module's rules of the tables of the stock-moving documents (receipts, issues and
// transfers, goods received), installed once on the module's shared cursors:
//
// - a header that is deleted first deletes its items, each through the shared item cursor so
//   that its own rules run;
// - an item that is saved moves its reservation from what its stored record reserved to what it
//   reserves now (a changed quantity, product or warehouse);
// - an item that is deleted gives its reservation back, drops its variant lines and zeroes its
//   line totals (so that the entry form takes it out of the header totals).
//
// The reservation writes happen in the caller's transaction: a form saving or deleting an item,
// or deleting a header with its items, wraps that in one Database::Transaction.

#include "rodiny.h"

#include <functional>

namespace brix {
class TDataCis;
}

namespace brix::sklad {

class KontextPohybu;

// The posting settings of this run: REZERVACE of the settings table, Zaokr_SklKar,
// OkKontrolaSkladu and the product key of the settings file, as they stand now.
NastaveniPohybu NastaveniPohybuBehu();

// `nastaveni` gives the settings at the moment of each save or delete (the run reads them at
// login). Called once per data module, when it is created.
void InstalujPravidlaSkladovychDokladu(TDataCis& dm, std::function<NastaveniPohybu()> nastaveni);

} // namespace brix::sklad
