// Template reader and writer: any bytes load without a crash, and what is written once reads
// back to the same model and writes the same lines again.

#include "codec.h"
#include "definition.h"
#include "templatefile.h"

#include <cstdint>
#include <cstdlib>

using namespace brix::report;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    QString text = brix::decodeTextFile(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    const QStringList fieldNames{QStringLiteral("Cislo"), QStringLiteral("Nazev"),
                                 QStringLiteral("Cena")};
    const bool withFields = size > 0 && (data[0] & 1);
    const bool detail = size > 0 && (data[0] & 2);

    ReportDefinition first;
    first.isDetail = detail;
    loadDefinition(first, lines, withFields ? &fieldNames : nullptr);
    const TPredloha saved1 = saveDefinition(first);

    ReportDefinition second;
    second.isDetail = detail;
    loadDefinition(second, saved1, withFields ? &fieldNames : nullptr);
    const TPredloha saved2 = saveDefinition(second);
    if (saved1 != saved2) std::abort();

    ReportDefinition third;
    third.isDetail = detail;
    loadDefinition(third, saved2, withFields ? &fieldNames : nullptr);
    if (!second.sameModel(third)) std::abort();
    return 0;
}
