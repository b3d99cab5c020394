#include "migration_dialog.h"

#include "dialogs/filter_db.h"
#include "dialogs/table_password.h"
#include "migration.h"
#include "platform.h"

#include <QApplication>
#include <QDir>
#include <QProgressDialog>

namespace brix {

bool runMigrationDialog(Database& db, QWidget* parent) {
    Platform& p = Platform::current();
    const QString old = p.directoryName(QStringLiteral("Stará datová složka"), QDir::homePath());
    if (old.isEmpty()) return false;

    QProgressDialog progress(QStringLiteral("Převádím data ze staré datové složky…"),
                             QStringLiteral("&Zruš"), 0, 1000, parent);
    progress.setWindowTitle(QStringLiteral("Převod dat"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setMinimumWidth(420);
    progress.setValue(0);

    migration::Options options;
    options.progress = [&](const migration::Progress& s) {
        progress.setLabelText(QStringLiteral("Převádím tabulku %1 (%2 z %3)…")
                                  .arg(s.table)
                                  .arg(s.tableNumber)
                                  .arg(s.tables));
        progress.setValue(s.total > 0 ? int(s.done * 1000 / s.total) : 1000);
        QApplication::processEvents();
        return !progress.wasCanceled();
    };
    options.askPassword = askTablePassword;
    options.extraTable = filtr::savedFilterTable;
    migration::Result r;
    {
        BusyCursor busy;
        r = migration::migrateDataRoot(old, db, options);
    }
    progress.close();
    if (!r.ok) {
        if (r.cancelled)
            p.information(r.error);
        else
            p.error(r.error);
        return false;
    }
    // The totals; the table by table counts are in the protocol.
    QStringList totals = r.summary();
    totals.removeIf([](const QString& line) { return line.startsWith(QLatin1String("  ")); });
    p.information(QStringLiteral("Data ze složky %1 byla převedena.\n\n%2")
                      .arg(QDir::toNativeSeparators(old), totals.join(QLatin1Char('\n'))));
    return true;
}

} // namespace brix
