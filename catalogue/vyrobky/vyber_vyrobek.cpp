#include "vyber_vyrobek.h"

#include "datacis.h"
#include "formul_vyr_sql.h"
#include "formul_vyrobky.h"
#include "platform.h"
#include "storage_error.h"
#include "util/nastaveni.h"
#include "vyrobky.h"

#include <QLineEdit>

namespace brix {

bool VyberVyrobek(TFormulVyrobky& form, TDataCis& dm, bool poNazvu, const QString& text) {
    Table& vyr = form.table();
    QList<Table*> otevrene;
    QString poradi;
    bool vybrano = false;
    try {
        if (!vyr.active()) vyr.open();
        poradi = vyr.indexName();
        for (Table* t : {dm.TableRabSkup, dm.TableClo, dm.TableZeme})
            if (t && !t->active()) {
                t->open();
                otevrene << t;
            }
        vyr.cancelRange();
        vyr.setFiltered(false);
        const QString klic = KlicVyrobku();
        const bool dleCisla = nastaveniProgramu().hledaniDleCislaVyrobku();
        vyr.setIndexName(poNazvu    ? QStringLiteral("NazevVyr")
                         : dleCisla ? QStringLiteral("Kod_Ozn")
                                    : QStringLiteral("Obj_Cis"));
        form.setChooserMode(true, text, poNazvu ? QStringLiteral("Nazev") : klic);
        vybrano = form.showRegister() == QDialog::Accepted;
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
    }
    form.setChooserMode(false);
    try {
        // The caller's order; the chosen product stays current.
        if (vyr.active()) {
            const Table::Bookmark b = vyr.bookmark();
            vyr.setIndexName(poradi);
            if (b) vyr.gotoBookmark(b);
        }
        for (Table* t : otevrene)
            t->close();
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
    }
    return vybrano;
}

TFormulVyrSQL& FormulVyrSQL(TFormulVyrobky& form, TDataCis& dm) {
    if (auto* f = form.findChild<TFormulVyrSQL*>()) return *f;
    return *new TFormulVyrSQL(dm.database(), &form);
}

std::unique_ptr<VolbaVyrobku> VolbaVyrobkuFormulari(TFormulVyrobky& form, TDataCis& dm) {
    VolbaVyrobku::Dialogy d;
    d.rychleHledani = [&form, &dm](const QString& text, bool poKlici) {
        return RychleHledaniVyrobku(FormulVyrSQL(form, dm), text, poKlici);
    };
    d.vyberVyrobek = [&form, &dm](bool poNazvu, const QString& text) {
        return VyberVyrobek(form, dm, poNazvu, text);
    };
    return std::make_unique<VolbaVyrobku>(dm, std::move(d));
}

} // namespace brix
