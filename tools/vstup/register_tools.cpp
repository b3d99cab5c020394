#include "register_tools.h"

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
        Platform::current().execModal(dialog);
    };
    h.filterDialog = [](RegisterForm& r) { spustFiltr(&r, r.table(), r.config().sourceName); };
    h.storageError = [](RegisterForm* r, const StorageError& e) {
        if (r)
            reportPostError(r->table(), e);
        else
            Platform::current().error(e.message());
    };
}

} // namespace brix
