#pragma once
// The rules of the code lists that need no form: the warehouse's field-of-business check and
// the template of the customs-tariff list.

#include <QString>

#include <optional>

namespace brix {

// The text of a warehouse's "Obor" box read as a whole number 1 .. 20. Not a number (blank,
// letters, a fraction): "Obotr smí být v rozsahu 1..20"; a number outside the range: "Obor smí
// být v rozsahu 1..20". The message is put into `zprava`; nullopt then.
std::optional<int> OborSkladu(const QString& text, QString* zprava);

// The field of business of a partner or a warehouse selects one of the rebate columns
// Rabat1 .. Rabat20 of the rebate groups.
inline constexpr int kPocetOboru = 20;

// The customs-tariff list: "ciselnik\CloSeznamZ.pts" while character printing is set on,
// else "ciselnik\CloSeznam.pts".
QString SablonaCelnihoSazebniku(bool znTisk);

} // namespace brix
