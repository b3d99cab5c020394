#include "tisk_seznamu.h"

#include "platform.h"
#include "pravidla.h"
#include "report_source.h"
#include "table.h"
#include "util/nastaveni.h"

#include <QFileInfo>

namespace brix {

TiskSeznamu::TiskSeznamu(Table& table, const QString& sablona)
    : cesta_(CestaSablony(table.database().root(), sablona)),
      zdroj_(std::make_unique<TableReportSource>(table)) {
    sestava_.DataSource = zdroj_.get();
    // The own company's lines come first, as in every print of the system.
    sestava_.Parametry = udajeFirmy().radky();
    sestava_.ReportDirIgnore = false;
    sestava_.setReportDir(table.database().root());
    sestava_.setReportName(cesta_);
    sestava_.OnError = [this](report::TSestava&, int kod) {
        if (kod == report::seNotReady || kod == report::seOutput)
            Platform::current().error(
                QStringLiteral("Sestavu %1 nelze zobrazit ani vytisknout, náhled a tisk sestav "
                               "nejsou v této verzi k dispozici")
                    .arg(QFileInfo(cesta_).fileName()));
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

void TiskniSeznam(Table& table, const QString& sablona) {
    TiskSeznamu tisk(table, sablona);
    tisk.nahled();
}

} // namespace brix
