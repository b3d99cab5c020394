#include "tisk_seznamu.h"

#include "platform.h"
#include "report_source.h"
#include "spravcetisku.h"
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
        return QStringLiteral("Výstup sestavy %1 se nepodařilo vytvořit.").arg(sablona);
    case report::seNotReady:
        return QStringLiteral("Sestavu %1 nelze připravit: chybí data, předloha nebo okno pro "
                              "její zobrazení či úpravu.")
            .arg(sablona);
    default:
        return QStringLiteral("Sestavu %1 nelze vytisknout (chyba %2).").arg(sablona).arg(kod);
    }
}

bool OhlasChybuSestavy(int kod, const QString& sablona) {
    // A cancel needs no word; a missing template has its own message from the component.
    if (kod == report::seOk || kod == report::seCancelled || kod == report::seLoadTemplate)
        return false;
    Platform::current().error(TextChybySestavy(kod, sablona));
    return true;
}

void NastavSestavuRegistru(report::TSestava& sestava, Table& table, report::TBridge* zdroj) {
    sestava.DataSource = zdroj;
    // The own company's lines come first, as in every print of the system.
    sestava.Parametry = udajeFirmy().radky();
    // Template names, the report engine's INI file and printed files are under the data root.
    sestava.ReportDirIgnore = false;
    sestava.setReportDir(table.database().root());
    sestava.programDir = table.database().root();
}

TiskSeznamu::TiskSeznamu(Table& table, const QString& sablona)
    : sablona_(sablona), cesta_(CestaSablony(table.database().root(), sablona)),
      zdroj_(std::make_unique<TableReportSource>(table)) {
    NastavSestavuRegistru(sestava_, table, zdroj_.get());
    sestava_.setReportName(cesta_);
    sestava_.OnError = [this](report::TSestava&, int kod) {
        if (!ohlaseno_) ohlaseno_ = OhlasChybuSestavy(kod, sablona_);
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

int OtevriSpravceTisku(Table& table, const QString& adresar, const QString& prefix,
                       QWidget* parent) {
    report::TFormSpravceTisku spravce(parent);
    TableReportSource zdroj(table);
    NastavSestavuRegistru(spravce.Sestava1, table, &zdroj);
    spravce.Sestava1.OnError = [](report::TSestava& s, int kod) {
        OhlasChybuSestavy(kod, s.ReportName());
        return true;
    };
    spravce.Adresar = adresar;
    spravce.Prefix = prefix;
    spravce.Tiskarna = nastaveniProgramu().Tiskarna;
    return spravce.spust();
}

} // namespace brix
