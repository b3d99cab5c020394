#include "db_commands.h"
#include "migrate_command.h"
#include "util/time_zone.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    brix::settleLocalTimeZone();
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    QTextStream out(stdout), err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    if (!args.isEmpty() && args[0] == QLatin1String("migrate"))
        return brix::admin::runMigrateCommand(args.mid(1), out, err);
    return brix::admin::run(args, out, err);
}
