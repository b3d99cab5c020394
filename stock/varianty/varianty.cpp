#include "varianty.h"

#include "datacis.h"
#include "storage_error.h"
#include "table_rules.h"
#include "util/numeric.h"
#include "util/text_utils.h"

#include <QDateTime>

namespace brix {

namespace {

const QString kCisVyr = QStringLiteral("Cis_Vyr");
const QString kVar1 = QStringLiteral("Varianta1");
const QString kVar2 = QStringLiteral("Varianta2");
const QString kSklad = QStringLiteral("SklZas_ks");
const QString kMnozstvi = QStringLiteral("Mnozstvi");

QString text(Table& t, const QString& pole) {
    return OrizniVpravo(t.field(pole).asString());
}

// The line table limited to one item's lines.
void jenPolozka(Table& radky, const QString& cisUctu, int porCis) {
    radky.setRange({cisUctu, porCis}, {cisUctu, porCis});
    radky.first();
}

// The variant's stock moved by `zmena` through `var` (a cursor of "Vyr_Var" in its key order);
// a missing variant is created with `zmena` as its stock when `vytvorit`, else left missing.
void pohybVarianty(Table& var, qint64 cisVyr, const QString& v1, const QString& v2, Decimal zmena,
                   bool vytvorit) {
    if (var.findKey({cisVyr, v1, v2})) {
        var.edit();
        var.field(kSklad).setDecimal(var.field(kSklad).asDecimal() + zmena);
    } else {
        if (!vytvorit) return;
        var.insert();
        var.field(kCisVyr).setInteger(cisVyr);
        var.field(kVar1).setString(v1);
        var.field(kVar2).setString(v2);
        var.field(kSklad).setDecimal(zmena);
    }
    var.field(QStringLiteral("Posl_Zmena")).setValue(QDateTime::currentDateTime());
    var.post();
}

void vratRadek(Table& radky, Table& var) {
    pohybVarianty(var, radky.field(kCisVyr).asInteger(), text(radky, kVar1), text(radky, kVar2),
                  radky.field(kMnozstvi).asDecimal(), true);
    radky.remove();
}

void vratPolozku(Table& r, Table& var, const QString& cisUctu, int porCis) {
    jenPolozka(r, cisUctu, porCis);
    while (!r.isEmpty()) {
        vratRadek(r, var);
        r.first();
    }
}

} // namespace

bool MaVarianty(Database& db, qint64 cisVyr, bool verzeTextil) {
    if (!verzeTextil) return false;
    Table var(db, QString::fromUtf16(varianty::kVarianty));
    var.open();
    var.setRange({cisVyr}, {cisVyr});
    var.first();
    return !var.isEmpty();
}

bool MaVarianty(Database& db, qint64 cisVyr) {
    return MaVarianty(db, cisVyr, nastaveniTabulky().VERZETEXTIL);
}

std::vector<RadekVarianty> NactiRadkyVariant(Database& db, const QString& radky,
                                             const PolozkaVariant& polozka) {
    std::vector<RadekVarianty> vysledek;
    Table var(db, QString::fromUtf16(varianty::kVarianty));
    var.open();
    var.setRange({polozka.cisVyr}, {polozka.cisVyr});
    Table r(db, radky);
    r.open();
    for (var.first(); !var.eof(); var.next()) {
        RadekVarianty v;
        v.varianta1 = text(var, kVar1);
        v.varianta2 = text(var, kVar2);
        v.sklad = var.field(kSklad).asDecimal();
        if (r.findKey({polozka.cisUctu, polozka.porCis, polozka.cisVyr, v.varianta1, v.varianta2}))
            v.mnozstvi = r.field(kMnozstvi).asDecimal().toString(2);
        vysledek.push_back(std::move(v));
    }
    return vysledek;
}

Decimal MnozstviVarianty(const QString& text) {
    return TextNaCastku(text);
}

void VratRadekVarianty(Table& radky) {
    Table var(radky.database(), QString::fromUtf16(varianty::kVarianty));
    var.open();
    vratRadek(radky, var);
}

void VratVariantyPolozky(Database& db, const QString& radky, const QString& cisUctu, int porCis) {
    Table r(db, radky);
    r.open();
    Table var(db, QString::fromUtf16(varianty::kVarianty));
    var.open();
    vratPolozku(r, var, cisUctu, porCis);
}

VysledekVariant UlozVariantyPolozky(Database& db, const QString& radky,
                                    const PolozkaVariant& polozka,
                                    const std::vector<ZadaniVarianty>& zadani) {
    VysledekVariant v;
    try {
        Database::Transaction tr(db);
        Table r(db, radky);
        r.open();
        Table var(db, QString::fromUtf16(varianty::kVarianty));
        var.open();
        vratPolozku(r, var, polozka.cisUctu, polozka.porCis);
        r.cancelRange();
        for (const ZadaniVarianty& z : zadani) {
            const Decimal mnozstvi = MnozstviVarianty(z.text);
            if (mnozstvi.isZero()) continue;
            const QString v1 = OrizniVpravo(z.varianta1), v2 = OrizniVpravo(z.varianta2);
            r.insert();
            r.field(QStringLiteral("Cis_Uctu")).setString(polozka.cisUctu);
            r.field(QStringLiteral("PorCis")).setInteger(polozka.porCis);
            r.field(kCisVyr).setInteger(polozka.cisVyr);
            r.field(kVar1).setString(v1);
            r.field(kVar2).setString(v2);
            r.field(kMnozstvi).setDecimal(mnozstvi);
            r.post();
            pohybVarianty(var, polozka.cisVyr, v1, v2, -mnozstvi, false);
            v.celkem += mnozstvi;
        }
        tr.commit();
        v.ok = true;
    } catch (const StorageError& e) {
        v.celkem = Decimal();
        v.chyba = e.message();
    }
    return v;
}

void InstalujVraceniVariant(TDataCis& dm) {
    const std::pair<Table*, Table*> rodiny[] = {{dm.TablePolDL, dm.TPolVarVyrDL},
                                                {dm.TablePolPoklO, dm.Tabla_VarVyr_PoklO}};
    for (const auto& [polozky, radky] : rodiny) {
        if (!polozky || !radky) continue;
        const QString adresa = radky->def().address();
        predSmazanim(*polozky, [adresa](Table& p) {
            if (!p.hasRecord()) return;
            VratVariantyPolozky(p.database(), adresa,
                                OrizniVpravo(p.field(QStringLiteral("CIS_UCTU")).asString()),
                                int(p.field(QStringLiteral("PorCis")).asInteger()));
        });
    }
}

} // namespace brix
