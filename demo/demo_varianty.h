#pragma once
// The demo's products kept in variants: work gloves in sizes S to XL and overalls in size and
// colour, each variant with its stock, the variants switched on, and two revenue groups whose
// descriptions share their head word with the paints, for the group tree.

#include "database.h"

namespace brix::demo {

// Returns the number of products added.
int NaplnVarianty(Database& db);

} // namespace brix::demo
