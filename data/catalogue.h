#pragma once
// The table catalogue: every table of the system, defined once, with its directory, fields,
// keys, indexes and storage rules.

#include "tabledef.h"

#include <QHash>

namespace brix {

class Catalogue {
public:
    static const Catalogue& standard();

    const QVector<TableDef>& tables() const { return tables_; }
    // See Database::table for the forms of an address.
    const TableDef* find(const QString& address, const QString& baseDirectory = QString()) const;

    // "Ext_ucty/DodListy\\Hla_DL.db" -> "ext_ucty\\dodlisty\\hla_dl".
    static QString normalizeAddress(const QString& address);
    // The data directories in the order the database check visits them.
    static QStringList dataDirectories();
    // Directories a data root has besides them (exports, work tables, reports).
    static QStringList otherDirectories();

    // Builds a table from a compact field list, for the catalogue and for tests:
    // "Name A40!; Count S; Price $; Id +" — A<n> text of n, S small int, I long int, +
    // auto-increment, F float, $ money, L logical, D date, T time, @ timestamp, M memo, FM
    // formatted memo, B blob;
    // "!" required, "?" may be absent in older data, ".n" decimals shown.
    static TableDef define(const QString& directory, const QString& file, const QString& fields,
                           const QString& primaryKey = QString(),
                           const QString& indexes = QString());
    void add(TableDef def);

private:
    QVector<TableDef> tables_;
    QHash<QString, int> byAddress_;
};

} // namespace brix
