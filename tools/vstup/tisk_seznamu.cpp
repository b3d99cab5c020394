#include "tisk_seznamu.h"

#include "platform.h"
#include "report_source.h"
#include "table.h"
#include "util/nastaveni.h"
#include "util/path_resolver.h"

namespace brix {

QString CestaSablony(const QString& datovyKoren, const QString& jmeno) {
    QString relativni = jmeno.trimmed();
    while (relativni.startsWith(QLatin1Char('\\')) || relativni.startsWith(QLatin1Char('/')))
        relativni.remove(0, 1);
    if (relativni.isEmpty()) return QString();
    return resolvePath(datovyKoren, relativni).path;
}

QString TextChybySestavy(int kod, const QString& sablona) {
    switch (kod) {
    case report::seNoPrinter:
        return QStringLiteral("V systému není nainstalovaná žádná tiskárna.");
    case report::seCancelled:
        return QStringLiteral("Tisk byl přerušen.");
    case report::seLoadTemplate:
        return QStringLiteral("Předlohu %1 nelze načíst.").arg(sablona);
    case report::seBusy:
        return QStringLiteral("Právě probíhá jiný tisk, zkuste to později.");
    case report::seOutput:
    case report::seNotReady:
        return QStringLiteral("Sestavu %1 nelze zobrazit ani vytisknout, náhled a tisk sestav "
                              "nejsou v této verzi k dispozici.")
            .arg(sablona);
    default:
        return QStringLiteral("Sestavu %1 nelze vytisknout (chyba %2).").arg(sablona).arg(kod);
    }
}

TiskSeznamu::TiskSeznamu(Table& table, const QString& sablona)
    : sablona_(sablona), cesta_(CestaSablony(table.database().root(), sablona)),
      zdroj_(std::make_unique<TableReportSource>(table)) {
    sestava_.DataSource = zdroj_.get();
    // The own company's lines come first, as in every print of the system.
    sestava_.Parametry = udajeFirmy().radky();
    sestava_.ReportDirIgnore = false;
    sestava_.setReportDir(table.database().root());
    sestava_.setReportName(cesta_);
    sestava_.OnError = [this](report::TSestava&, int kod) {
        // A missing template has its own message from the report component.
        if (!ohlaseno_ && kod != report::seCancelled && kod != report::seLoadTemplate)
            Platform::current().error(TextChybySestavy(kod, sablona_));
        ohlaseno_ = true;
        return true;
    };
}

TiskSeznamu::~TiskSeznamu() = default;

bool TiskSeznamu::nactiSablonu() {
    if (cesta_.isEmpty()) {
        Platform::current().error(
            QStringLiteral("Není definována cesta a název souboru s předlohou."));
        return false;
    }
    return sestava_.LoadTemplate(false) == report::seOk;
}

int TiskSeznamu::nahled() {
    if (!nactiSablonu()) return report::seLoadTemplate;
    return sestava_.PrintPreview();
}

int TiskniSeznam(Table& table, const QString& sablona) {
    TiskSeznamu tisk(table, sablona);
    return tisk.nahled();
}

} // namespace brix
