#include "time_zone.h"

#include <QFile>
#include <QtGlobal>

#include <ctime>

namespace brix {

void settleLocalTimeZone() {
    if (qEnvironmentVariableIsEmpty("TZ") && QFile::exists(QStringLiteral("/etc/localtime")))
        qputenv("TZ", ":/etc/localtime");
    tzset();
}

} // namespace brix
