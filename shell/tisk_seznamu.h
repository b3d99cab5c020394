#pragma once
// Printing a register's list through the report component, and the hooks every register of the
// program uses for printing, exporting and the filter database.

#include <QString>

namespace brix {

class Table;
namespace report {
class TSestava;
}

// Prepares the report of a list: the template `sablona` (relative to the data root, as
// "ciselnik\ZamestSeznz.pts") and the own-company lines as its first parameters.
void PripravSestavuSeznamu(report::TSestava& s, const QString& datovyKoren, const QString& sablona);

// Prints the list: preview when the user prints to the screen. A report that cannot run
// reports why (caption "Chyba"). Answers the report's result code (0 when it printed).
int TiskSeznamu(Table& tabulka, const QString& datovyKoren, const QString& sablona);

// The Czech text of a report result code that is not 0.
QString TextChybySestavy(int kod, const QString& sablona);

// Installs RegisterHooks::global(): list prints on the data root, the export dialog and the
// filter database.
void NastavHakyRegistru(const QString& datovyKoren);

} // namespace brix
