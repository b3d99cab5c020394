#pragma once
// A data source: the name a form knows a table by ("DS_Vyrob") and the table it shows. The
// generic tools are attached to one and check it before they work on it.

#include "table.h"

#include <QHash>

namespace brix {

struct DataSource {
    DataSource() = default;
    DataSource(QString name_, Table* table_, QHash<QString, QString> captions_ = {})
        : name(std::move(name_)), table(table_), captions(std::move(captions_)) {}

    QString name; // the component name; the filter table of the source is "Filtr\F" + name
    Table* table = nullptr;
    // The captions the form shows its fields under (its grid's column titles), by field name in
    // upper case; fields without one are known by their names.
    QHash<QString, QString> captions;
};

// The check of an attached data source: none at all, none with a table, a closed table (asked
// whether to open it; No fails silently). Each failure but the silent one is shown as an error.
// fullStop: the first two texts end with a full stop (the export dialog, the document check).
bool checkDataSource(const DataSource* source, bool fullStop = false);

// The name a data source of `table` has when its form does not give one: "DS_" + the file name.
QString defaultSourceName(const Table& table);

} // namespace brix
