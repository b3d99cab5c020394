// brix: the program. Options (the rest of the command line goes to the program as it is):
//   --data-root DIR   work on the data root DIR (default: the current directory)
//   --demo DIR        create a demo data root in DIR and end
#include "aplikace.h"
#include "demo.h"
#include "machineconfig.h"
#include "platform.h"
#include "qtplatform.h"
#include "util/time_zone.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

int main(int argc, char* argv[]) {
    brix::settleLocalTimeZone();
    // The machine configuration comes first, before the application and any form.
    brix::MachineConfig config = brix::MachineConfig::loadDefault();

    QString koren = QDir::currentPath();
    QString demo;
    QStringList zbytek;
    zbytek << QString::fromLocal8Bit(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if ((a == QLatin1String("--data-root") || a == QLatin1String("--demo")) && i + 1 < argc) {
            (a == QLatin1String("--demo") ? demo : koren) = QString::fromLocal8Bit(argv[++i]);
        } else {
            zbytek << a;
        }
    }

    if (!demo.isEmpty()) {
        QCoreApplication core(argc, argv);
        const brix::VysledekDema v = brix::VytvorDemo(QDir(demo).absolutePath());
        if (!v.ok) {
            std::fprintf(stderr, "%s\n", v.chyba.toLocal8Bit().constData());
            return 1;
        }
        std::printf("Ukázková data: %s (%d výrobků, %d firem, %d sklady). Správce %s, heslo "
                    "%s.\n",
                    QDir::toNativeSeparators(QDir(demo).absolutePath()).toLocal8Bit().constData(),
                    v.vyrobku, v.firem, v.skladu,
                    QString::fromUtf16(brix::kDemoSpravce).toLocal8Bit().constData(),
                    QString::fromUtf16(brix::kDemoHeslo).toLocal8Bit().constData());
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("brix"));
    // Qt's own dialogs (the file dialog, the shortcut names) in Czech, where the system has them.
    QTranslator qtCesky;
    if (qtCesky.load(QStringLiteral("qtbase_cs"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtCesky);
    brix::QtPlatform platforma(config);
    brix::ScopedPlatform pouzij(platforma);

    brix::Aplikace aplikace(QDir(koren).absolutePath(), zbytek);
    if (!aplikace.spust()) return 0;
    return app.exec();
}
