#pragma once
// Opening a foreign table (Paradox or dBASE) that the user chose, with the password of a
// protected one asked for through the platform's input box: what the import dialogs call.

#include "formats/table.h"

#include <memory>

namespace brix {

// The input box for the password of a protected table ("Heslo tabulky"); the typed password,
// empty when cancelled.
QString askTablePassword(const QString& path);

// The table opened for reading. A protected one asks for its password until it is the right
// one or the box is cancelled; a wrong one is said ("Chyba") before it asks again. Any other
// reason the table cannot be read is shown ("Chyba"). nullptr when it was not opened.
std::unique_ptr<formats::TableReader> openForeignTable(const QString& path);

} // namespace brix
