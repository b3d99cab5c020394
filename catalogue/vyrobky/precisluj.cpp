#include "precisluj.h"

#include "bulk.h"
#include "catalogue.h"
#include "storage_messages.h"
#include "table.h"

namespace brix {

namespace {

const QString kVyrobky = QStringLiteral("Ciselnik\\Vyrobky");

VysledekPrecislovani vysledek(StavPrecislovani stav, const QString& zprava = {},
                              const QString& titulek = QStringLiteral("Chyba")) {
    VysledekPrecislovani v;
    v.stav = stav;
    v.zprava = zprava;
    v.titulek = titulek;
    return v;
}

// The message of a storage error: the table's own one when it has it.
VysledekPrecislovani chybaUlozeni(const StorageError& e, const Table& vyrobky) {
    if (const std::optional<StorageMessage> m = storageErrorMessage(e, vyrobky))
        return vysledek(StavPrecislovani::Chyba, m->text, m->caption);
    return vysledek(StavPrecislovani::Chyba, e.message());
}

} // namespace

QVector<OdkazNaVyrobek> OdkazyNaVyrobek(const Database& db) {
    QVector<OdkazNaVyrobek> out;
    const TableDef* vyrobky = db.findTable(kVyrobky);
    for (const TableDef& t : db.catalogue().tables()) {
        if (&t == vyrobky) continue;
        for (const FieldDef& f : t.fields)
            if (f.name.compare(QLatin1String("Cis_Vyr"), Qt::CaseInsensitive) == 0 ||
                f.name.compare(QLatin1String("KCisVyr"), Qt::CaseInsensitive) == 0)
                out.push_back({&t, f.name});
    }
    return out;
}

VysledekPrecislovani PrecislujVyrobek(Table& vyr, const QString& odpoved) {
    const QString text = odpoved.trimmed();
    if (text.isEmpty())
        return vysledek(StavPrecislovani::Prazdne, QString::fromUtf16(kCisloMusiteZadat));
    bool ok = false;
    const qint64 nove = text.toLongLong(&ok);
    if (!ok || nove < 1 || nove > 9999999)
        return vysledek(StavPrecislovani::Neplatne, QString::fromUtf16(kCisloVyrobkuVRozsahu));
    if (!vyr.hasRecord() || vyr.state() != TableState::Browse)
        return vysledek(StavPrecislovani::Chyba);
    const qint64 stare = vyr.field(QStringLiteral("Cis_vyr")).asInteger();
    if (nove == stare) return vysledek(StavPrecislovani::Stejne);

    Database& db = vyr.database();
    const QVector<OdkazNaVyrobek> odkazy = OdkazyNaVyrobek(db);
    try {
        // A number in use: by a product (the key rule's message) or by rows of a product gone.
        if (countRows(db, vyr.def(), QStringLiteral("Cis_vyr"), nove) > 0)
            return chybaUlozeni(StorageError(StorageErrorKind::KeyViolation,
                                             QStringLiteral("Záznam s tímto klíčem již existuje"),
                                             vyr.def().address()),
                                vyr);
        for (const OdkazNaVyrobek& o : odkazy)
            if (countRows(db, *o.tabulka, o.pole, nove) > 0)
                return vysledek(StavPrecislovani::Obsazene,
                                QStringLiteral("Číslo výrobku %1 již uvádějí záznamy tabulky %2, "
                                               "výrobek nebude přečíslován")
                                    .arg(nove)
                                    .arg(o.tabulka->address()));
    } catch (const StorageError& e) {
        return chybaUlozeni(e, vyr);
    }

    VysledekPrecislovani v = vysledek(StavPrecislovani::Hotovo, {}, {});
    try {
        Database::Transaction tx(db);
        vyr.edit();
        vyr.field(QStringLiteral("Cis_vyr")).setInteger(nove);
        vyr.post();
        for (const OdkazNaVyrobek& o : odkazy)
            v.radku += updateRows(db, *o.tabulka, o.pole, stare, nove);
        tx.commit();
    } catch (const StorageError& e) {
        v = chybaUlozeni(e, vyr);
    } catch (const Abort&) {
        v = vysledek(StavPrecislovani::Chyba); // the table's handler has told the user
    }
    // The cursor shows what is stored: the new number, or the old one after the rollback; its
    // details (components, variants, customer prices) follow it.
    try {
        if (vyr.state() != TableState::Browse) vyr.cancel();
        vyr.refresh();
    } catch (const StorageError&) {
    }
    return v;
}

} // namespace brix
