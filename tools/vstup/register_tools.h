#pragma once
// What the program installs into every register at start: "&Tisk" prints the list through the
// report component, "&Tiskový správce" opens the print manager, "&Funkce" → "&Export" opens the
// export dialog on the register's table, "&Rozsah" → "&Filtr" the filter database of its data
// source, and storage errors show the tables' fixed messages.

namespace brix {

void InstalujNastrojeRegistru();

} // namespace brix
