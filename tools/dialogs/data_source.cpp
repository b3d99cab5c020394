#include "data_source.h"

#include "platform.h"

namespace brix {

bool checkDataSource(const DataSource* source, bool fullStop) {
    Platform& ui = Platform::current();
    const QString end = fullStop ? QStringLiteral(".") : QString();
    if (!source) {
        ui.error(QStringLiteral("Není definován zdroj dat") + end);
        return false;
    }
    if (!source->table) {
        ui.error(QStringLiteral("Ke zdroji dat není připojena žádná tabulka") + end);
        return false;
    }
    if (source->table->active()) return true;
    if (!ui.askYesNo(QStringLiteral("Připojená tabulka není aktivní. Zkusit otevřít?")))
        return false;
    try {
        source->table->open();
    } catch (const StorageError&) {
        // Reported below with the fixed text.
    }
    if (!source->table->active()) {
        ui.error(QStringLiteral("Připojenou tabulku se nepodařilo otevřít."));
        return false;
    }
    return true;
}

QString defaultSourceName(const Table& table) {
    return QStringLiteral("DS_") + table.def().file;
}

} // namespace brix
