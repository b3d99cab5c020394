#include "spotrebni_dan.h"

#include "table.h"
#include "util/numeric.h"
#include "util/text_utils.h"

namespace brix {

namespace {

const Decimal kSetina = Decimal::fromRaw(Decimal::kScale / 100);

Decimal decimalOf(Table& t, const QString& name) {
    const int i = t.fieldIndex(name);
    return i < 0 ? Decimal() : t.field(i).asDecimal();
}

void setIfPresent(Table& t, const QString& name, Decimal v) {
    const int i = t.fieldIndex(name);
    if (i >= 0) t.field(i).setDecimal(v);
}

} // namespace

SpotrebniDan SpotrebniDanPolozky(Decimal objem, Decimal spotrDan, Decimal mnozstviPolozky) {
    SpotrebniDan d;
    d.mnozstvi = objem * mnozstviPolozky;
    ZaokrouhliKrok(d.mnozstvi, kSetina);
    d.jCena = spotrDan;
    d.cCena = spotrDan * objem;
    ZaokrouhliKrok(d.cCena, kSetina);
    return d;
}

int PrepocetSpotrebniDane(Database& db, qint64 cisUctu, qint64 porCis, qint64 cisVyr,
                          Decimal mnozstvi) {
    Database::Transaction tx(db);
    Table vyr(db, QStringLiteral("Ciselnik\\Vyrobky"));
    vyr.open();
    if (!vyr.locate(QStringLiteral("Cis_vyr"), {cisVyr})) return 0;
    const SpotrebniDan dan =
        SpotrebniDanPolozky(decimalOf(vyr, QStringLiteral("Objem")),
                            decimalOf(vyr, QStringLiteral("Spotr_Dan")), mnozstvi);
    Table prir(db, QStringLiteral("Ext_Ucty\\DodListy\\Prir_DL"));
    prir.open();
    prir.setRange({cisUctu, porCis}, {cisUctu, porCis});
    int zapsano = 0;
    for (prir.first(); !prir.eof() && prir.hasRecord(); prir.next()) {
        if (OrizniVpravo(prir.field(QStringLiteral("Druh_Prir")).asString()) != QLatin1String("SD"))
            continue;
        prir.edit();
        setIfPresent(prir, QStringLiteral("Mnozstvi"), dan.mnozstvi);
        setIfPresent(prir, QStringLiteral("JCena"), dan.jCena);
        setIfPresent(prir, QStringLiteral("CCena"), dan.cCena);
        prir.post();
        ++zapsano;
    }
    tx.commit();
    return zapsano;
}

} // namespace brix
