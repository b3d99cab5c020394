#include "tisk_seznamu.h"

#include "dialogs/filter_forms.h"
#include "export/export_dialog.h"
#include "platform.h"
#include "register.h"
#include "report_source.h"
#include "sestava.h"
#include "table.h"
#include "util/nastaveni.h"

namespace brix {

void PripravSestavuSeznamu(report::TSestava& s, const QString& datovyKoren,
                           const QString& sablona) {
    s.ReportDirIgnore = false;
    s.setReportDir(datovyKoren);
    s.setReportName(sablona);
    s.Parametry = udajeFirmy().radky();
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
        return QStringLiteral("Výstup sestavy %1 nelze zapsat.").arg(sablona);
    case report::seNotReady:
        return QStringLiteral("Sestavu %1 nelze připravit k tisku.").arg(sablona);
    default:
        return QStringLiteral("Sestavu %1 nelze vytisknout (chyba %2).").arg(sablona).arg(kod);
    }
}

int TiskSeznamu(Table& tabulka, const QString& datovyKoren, const QString& sablona) {
    report::TSestava s;
    PripravSestavuSeznamu(s, datovyKoren, sablona);
    TableReportSource zdroj(tabulka);
    s.DataSource = &zdroj;
    bool ohlaseno = false;
    s.OnError = [&](report::TSestava&, int kod) {
        if (!ohlaseno && kod != report::seCancelled)
            Platform::current().error(TextChybySestavy(kod, sablona));
        ohlaseno = true;
        return true;
    };
    return s.PrintPreview();
}

void NastavHakyRegistru(const QString& datovyKoren) {
    RegisterHooks& h = RegisterHooks::global();
    h.print = [datovyKoren](RegisterForm& r, const QString& sablona) {
        TiskSeznamu(r.table(), datovyKoren, sablona);
    };
    h.exportTable = [](RegisterForm& r) {
        TFormulExportDat dlg(&r);
        if (dlg.setMaster(&r.table())) Platform::current().execModal(dlg);
    };
    h.filterDialog = [](RegisterForm& r) { spustFiltr(&r, r.table()); };
}

} // namespace brix
