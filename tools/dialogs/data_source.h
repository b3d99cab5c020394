#pragma once
// A data source: the name a form knows a table by ("DS_Vyrob") and the table it shows. The
// generic tools are attached to one and check it before they work on it.

#include "table.h"

namespace brix {

struct DataSource {
    QString name; // the component name; the filter table of the source is "Filtr\F" + name
    Table* table = nullptr;
};

// The check of an attached data source: none at all, none with a table, a closed table (asked
// whether to open it; No fails silently). Each failure but the silent one is shown as an error.
// fullStop: the first two texts end with a full stop (the export dialog, the document check).
bool checkDataSource(const DataSource* source, bool fullStop = false);

// The name a data source of `table` has when its form does not give one: "DS_" + the file name.
QString defaultSourceName(const Table& table);

} // namespace brix
