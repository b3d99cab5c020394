#include "register_tools.h"

#include "datacis.h"
#include "dialogs/filter_forms.h"
#include "export/export_dialog.h"
#include "platform.h"
#include "register.h"
#include "storage_messages.h"
#include "tisk_seznamu.h"

namespace brix {

void InstalujNastrojeRegistru() {
    RegisterHooks& h = RegisterHooks::global();
    h.print = [](RegisterForm& r, const QString& sablona) { TiskniSeznam(r.table(), sablona); };
    h.printManager = [](RegisterForm& r, const QString& adresar, const QString& prefix) {
        OtevriSpravceTisku(r.table(), adresar, prefix, &r);
    };
    h.exportTable = [](RegisterForm& r) {
        TFormulExportDat dialog(&r);
        if (!dialog.setMaster(&r.table())) return; // the check has said why
        // The files are named after the table's component, as the forms know it.
        if (const TDataCis* dm = TDataCis::instance())
            dialog.setNames(dm->jmenoKomponenty(r.table()));
        Platform::current().execModal(dialog);
    };
    h.filterDialog = [](RegisterForm& r) {
        QHash<QString, QString> captions;
        for (int c = 0; c < r.DbGrid1->gridModel()->columnCount(); ++c)
            captions.insert(r.DbGrid1->gridModel()->columns()[c].field.toUpper(),
                            r.DbGrid1->columnTitle(c));
        spustFiltr(&r, r.table(), r.config().sourceName, captions);
    };
    h.storageError = [](RegisterForm* r, const StorageError& e) {
        if (r)
            reportPostError(r->table(), e);
        else
            Platform::current().error(e.message());
    };
}

} // namespace brix
