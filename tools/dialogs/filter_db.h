#pragma once
// The filter database without widgets: the saved filters of a data source in their own table
// under "Filtr", the way an expression is written from the field and operator lists, applying
// an expression with its two options, and joining a new range filter to the one already on.

#include "data_source.h"

#include <memory>
#include <optional>

namespace brix {

namespace filtr {

// Status-bar text of a register whose table is filtered.
inline const QString kFiltrZapnut = QStringLiteral("Filtr zapnut");

// "Filtr\F" + the source name ("DS_Vyrob" gives "Filtr\FDS_Vyrob"). Empty when the name cannot
// name a table (empty, or other than letters, digits and '_').
QString filterTableAddress(const QString& sourceName);
// Popis memo (the expression), Mala_Velka and Hledat_Cele (the texts "True" / "False").
TableDef filterTableDef(const QString& sourceName);
// The definition of the saved-filter table a data root keeps as `file` ("FDS_Vyrob") in
// `directory` ("Filtr", any case); nullopt for any other table.
std::optional<TableDef> savedFilterTable(const QString& directory, const QString& file);
// The saved filters of the data source, opened; the table is created on first use. Throws
// StorageError.
std::unique_ptr<Table> openFilterTable(Database& db, const QString& sourceName);

// The stored form of the two options.
QString logicalText(bool on);
bool logicalValue(const QString& text);

// The field list "Polož&ky": the table's own fields (those a filter can name), sorted.
QStringList fieldNames(const Table& table);
// The operator list "&Operators".
const QStringList& operators();
// A field name appended to the expression (a blank first unless it is empty).
QString appendField(const QString& expression, const QString& field);
// An operator appended after a blank; an operator cannot start an expression.
QString appendOperator(const QString& expression, const QString& op);

// "&Provést": a non-empty expression becomes the table's filter and is switched on with the
// options (reset, then case-sensitive when caseSensitive, no partial comparison when
// noPartial); an empty one clears the filter and switches it off. An expression that cannot be
// read, or a table that refuses it, is reported ("Chyba") and leaves the table's filter as it
// was. True when it was applied.
bool applyExpression(Table& table, const QString& expression, bool caseSensitive, bool noPartial);
// The options clicked on their own apply at once to the table's current filter.
void applyCaseOption(Table& table, bool caseSensitive);
void applyPartialOption(Table& table, bool noPartial);

// How a new range filter joins the filter that is on.
enum class JoinKind { And, Alone, Or };
QString joinTexts(const QString& current, const QString& added, JoinKind kind);

// A text literal of the filter language: what the user typed, quoted so that an apostrophe or
// a quote in it is part of the value and nothing else.
QString literal(const QString& value);
// "field >= 'low' and field <= 'high'" with both bounds as literals; a blank bound drops its
// condition; both blank give "".
QString rangeExpression(const QString& field, const QString& low, const QString& high);

} // namespace filtr
} // namespace brix
