#include "migrate_command.h"

#include "database.h"
#include "dialogs/filter_db.h"
#include "koren.h"
#include "migration/migration.h"
#include "storage_error.h"

#include <QDir>
#include <QFileInfo>

namespace brix::admin {

int runMigrateCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 2) {
        err << "Použití: brix-db migrate STARA_SLOZKA NOVA_SLOZKA\n";
        return 2;
    }
    const QString oldRoot = QDir(args[0]).absolutePath(), newRoot = QDir(args[1]).absolutePath();
    if (!QFileInfo(oldRoot).isDir()) {
        err << "Stará datová složka " << QDir::toNativeSeparators(oldRoot) << " neexistuje.\n";
        return 1;
    }
    try {
        // The new root as the program prepares it on its first start; what the old root has
        // replaces its starting code lists.
        PripravaKorene koren = PripravDatovyKoren(newRoot);
        migration::Options options;
        int lastTable = 0, lastPercent = -1;
        options.progress = [&](const migration::Progress& p) {
            if (p.tableNumber != lastTable) {
                lastTable = p.tableNumber;
                out << '[' << p.tableNumber << '/' << p.tables << "] " << p.table << '\n';
            }
            const int percent = p.total > 0 ? int(p.done * 10 / p.total) * 10 : 100;
            if (percent != lastPercent && p.tableDone > 0) {
                lastPercent = percent;
                out << "  " << percent << " %\n";
            }
            out.flush();
            return true;
        };
        options.extraTable = filtr::savedFilterTable;
        const migration::Result r = migration::migrateDataRoot(oldRoot, *koren.db, options);
        if (!r.ok) {
            err << r.error << '\n';
            return 1;
        }
        out << "Převedeno do " << QDir::toNativeSeparators(newRoot) << ":\n";
        for (const QString& line : r.summary())
            out << line << '\n';
        return 0;
    } catch (const StorageError& e) {
        err << "Chyba: " << e.message() << '\n';
        return 1;
    }
}

} // namespace brix::admin
