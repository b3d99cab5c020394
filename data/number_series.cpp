#include "number_series.h"

#include "util/text_utils.h"

#include <limits>

namespace brix {

namespace {

// The row of the type: the current one when it has the type, else located ignoring case. The
// current record is read again first, so that a number another copy recorded counts.
bool najdiRadu(Table& t, const QString& keyField, const QString& code) {
    if (t.hasRecord()) t.refresh();
    if (t.hasRecord() && OrizniVpravo(t.field(keyField).asString())
                                 .compare(OrizniVpravo(code), Qt::CaseInsensitive) == 0)
        return true;
    LocateOptions o;
    o.caseInsensitive = true;
    return t.locate(keyField, {OrizniVpravo(code)}, o);
}

// A private cursor asks whether a record has the number: the caller's cursor stays put.
class Probe {
public:
    Probe(Table& like, const QString& field)
        : t_(like.database(), like.def().address()), field_(field) {
        t_.open();
    }
    bool has(qint64 value) { return t_.locate(field_, {value}); }

private:
    Table t_;
    QString field_;
};

const QString kTyp = QStringLiteral("Typ_Uctu");
const QString kPrvCis = QStringLiteral("PrvCis");

constexpr qint64 kNejvyssiCislo = std::numeric_limits<qint64>::max();

[[noreturn]] void vycerpana(const QString& rada, const Table& t) {
    throw StorageError(StorageErrorKind::Other,
                       rada + QStringLiteral(" je vyčerpána, další číslo nelze přidělit"),
                       t.def().address());
}

[[noreturn]] void vycerpanaRadaDokladu(const QString& typ, const Table& t) {
    vycerpana(QStringLiteral("Číselná řada dokladů typu ") + OrizniVpravo(typ), t);
}

} // namespace

qint64 DalsiCisloUctu(Table& t, const QString& typ, const QString& /*druh*/, qint64 cislo) {
    if (cislo <= 0) {
        if (!najdiRadu(t, kTyp, typ)) return -1;
        return t.field(kPrvCis).asInteger();
    }
    Database::Transaction tx(t.database());
    if (!najdiRadu(t, kTyp, typ)) return -1;
    t.edit(); // reads the row as it is now, under the write lock
    const qint64 a = t.field(kPrvCis).asInteger();
    if (cislo < a) {
        t.cancel();
        return a;
    }
    if (cislo == kNejvyssiCislo) {
        t.cancel();
        vycerpanaRadaDokladu(typ, t);
    }
    t.field(kPrvCis).setInteger(cislo + 1);
    t.post();
    tx.commit();
    return a;
}

qint64 VolneCisloUctu(Table& t, const QString& typ, const QString& druh, Table* doklady,
                      const std::function<void(qint64)>& obsazeno) {
    Database::Transaction tx(t.database());
    if (!najdiRadu(t, kTyp, typ)) return -1;
    qint64 n = t.field(kPrvCis).asInteger();
    if (doklady) {
        Probe used(*doklady, QStringLiteral("CIS_UCTU"));
        while (used.has(n)) {
            if (n == kNejvyssiCislo) vycerpanaRadaDokladu(typ, t);
            if (obsazeno) obsazeno(n);
            ++n;
        }
    }
    DalsiCisloUctu(t, typ, druh, n);
    tx.commit();
    return n;
}

qint64 CisloZRady(Table& cisRada, Table& vyrobky, const QString& rada) {
    Database::Transaction tx(cisRada.database());
    if (cisRada.hasRecord()) cisRada.refresh();
    if (!(cisRada.hasRecord() && cisRada.field(QStringLiteral("Cis_Rada")).asString() == rada) &&
        !cisRada.locate(QStringLiteral("Cis_Rada"), {rada}))
        return 0;
    cisRada.edit();
    qint64 n = cisRada.field(QStringLiteral("Prvni_Cis")).asInteger();
    Probe used(vyrobky, QStringLiteral("Cis_vyr"));
    do {
        if (n == kNejvyssiCislo) {
            cisRada.cancel();
            vycerpana(QStringLiteral("Číselná řada výrobků ") + OrizniVpravo(rada), cisRada);
        }
        ++n;
    } while (used.has(n));
    cisRada.field(QStringLiteral("Prvni_Cis")).setInteger(n);
    cisRada.post();
    tx.commit();
    return n;
}

} // namespace brix
