#pragma once
// The filter language of the tables: comparisons of fields with values joined by and / or / not,
// as the programs write them ("Nazev ='abc*'", "Dat_Vystaveni >='01.01.2002'and ...",
// "(SklZas_Ks <> null and SklZas_Ks<>0)"). An expression becomes an SQL condition whose values
// are all bound parameters: no text of the user ever becomes SQL text.

#include "tabledef.h"

#include <QVariant>
#include <QVector>

namespace brix {

struct FilterOptions {
    bool caseInsensitive = false;  // texts compare ignoring case (Czech letters too)
    bool noPartialCompare = false; // a trailing '*' is an ordinary character, not "starts with"
};

struct SqlCondition {
    QString sql; // "" means no condition
    QVector<QVariant> params;
    QVector<FieldKind> kinds;

    void add(const QVariant& value, FieldKind kind) {
        params.push_back(value);
        kinds.push_back(kind);
    }
    void append(const SqlCondition& other); // " AND "-joined
};

// Translates the expression for the table; `hasColumn` tells which catalogue fields the SQL table
// really has. Throws StorageError (FilterSyntax) with the 0-based position of the fault.
SqlCondition translateFilter(const QString& expression, const TableDef& table,
                             const FilterOptions& options);

// Quoted SQL identifier.
QString sqlIdentifier(const QString& name);

} // namespace brix
