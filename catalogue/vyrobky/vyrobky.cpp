#include "vyrobky.h"

#include "query.h"
#include "table.h"
#include "util/nastaveni.h"
#include "util/text_utils.h"

#include <algorithm>

namespace brix {

namespace {

// A private cursor on a catalogue table of the data root; null when the root lacks it.
std::unique_ptr<Table> kurzor(Database& db, const QString& adresa) {
    if (!db.findTable(adresa)) return nullptr;
    auto t = std::make_unique<Table>(db, adresa);
    t->open();
    return t;
}

bool najdi(Table& t, const QString& pole, const QVariant& hodnota, bool velikost = false) {
    LocateOptions o;
    o.caseInsensitive = !velikost;
    return t.locate(pole, {hodnota}, o);
}

} // namespace

QString KlicVyrobku() {
    return nastaveniProgramu().hledaniDleCislaVyrobku() ? QStringLiteral("Cis_vyr")
                                                        : QStringLiteral("ObjCis");
}

std::optional<Komponenta> NajdiKomponentu(Database& db, const QString& klicovePole,
                                          const QString& text) {
    const bool dleCisla = klicovePole.compare(QLatin1String("Cis_vyr"), Qt::CaseInsensitive) == 0;
    QVariant parametr;
    if (dleCisla) {
        bool ok = false;
        const qint64 n = text.trimmed().toLongLong(&ok);
        if (!ok) return std::nullopt;
        parametr = n;
    } else {
        parametr = OrizniVpravo(text).toUpper();
    }
    const QString klic = dleCisla ? QStringLiteral("Cis_Vyr") : QStringLiteral("ObjCis");
    Query q(db,
            QStringLiteral("SELECT %1, Nazev, Cis_Vyr, PC_Zakl, ObjCis FROM Vyrobky WHERE %1 = "
                           ":SQLKlicVyr ORDER BY %1")
                .arg(klic),
            QStringLiteral("Ciselnik"));
    q.setParam(QStringLiteral("SQLKlicVyr"), parametr);
    q.open();
    if (q.isEmpty()) return std::nullopt;
    q.first();
    Komponenta k;
    k.cisVyr = q.field(QStringLiteral("Cis_Vyr")).asInteger();
    k.objCis = q.field(QStringLiteral("ObjCis")).asString();
    k.nazev = q.field(QStringLiteral("Nazev")).asString();
    k.pcZakl = q.field(QStringLiteral("PC_Zakl")).asDecimal();
    return k;
}

std::optional<qint64> FirmaDleNazvu(Database& db, const QString& nazev) {
    const QString n = OrizniVpravo(nazev);
    auto t = kurzor(db, QStringLiteral("Ciselnik\\Firmy"));
    if (n.isEmpty() || !t || !najdi(*t, QStringLiteral("Nazev"), n)) return std::nullopt;
    return t->field(QStringLiteral("Cis_firmy")).asInteger();
}

std::optional<QString> NazevFirmy(Database& db, qint64 cisFirmy) {
    auto t = kurzor(db, QStringLiteral("Ciselnik\\Firmy"));
    if (!t) return std::nullopt;
    t->setIndexName(QString());
    if (!t->findKey({cisFirmy})) return std::nullopt;
    return t->field(QStringLiteral("Nazev")).asString();
}

bool ExistujeZaznam(Database& db, const QString& tabulka, const QString& pole,
                    const QVariant& hodnota) {
    auto t = kurzor(db, tabulka);
    return t && !hodnota.isNull() && najdi(*t, pole, hodnota);
}

std::optional<QString> MenaDleKodu(Database& db, const QString& kod) {
    auto t = kurzor(db, QStringLiteral("Ciselnik\\Meny"));
    if (!t || kod.trimmed().isEmpty() || !najdi(*t, QStringLiteral("KOD_Meny"), kod.trimmed()))
        return std::nullopt;
    return t->field(QStringLiteral("KOD_Meny")).asString();
}

std::optional<TarifCla> TarifDleKodu(Database& db, const QString& kod) {
    auto t = kurzor(db, QStringLiteral("Ciselnik\\Clo"));
    if (!t || kod.trimmed().isEmpty() || !najdi(*t, QStringLiteral("Cis_celsaz"), kod.trimmed()))
        return std::nullopt;
    TarifCla c;
    c.Clo = t->field(QStringLiteral("Clo")).asDecimal();
    c.Sleva_Eur = t->field(QStringLiteral("Sleva_Eur")).asBoolean();
    c.Sazba_EUR = t->field(QStringLiteral("Sazba_EUR")).asDecimal();
    c.Spotr_Dan = t->field(QStringLiteral("Spotr_Dan")).asDecimal();
    return c;
}

Decimal NejvyssiRabatSkupiny(Database& db, int skupina) {
    auto t = kurzor(db, QStringLiteral("Ciselnik\\RabSkup"));
    if (!t) return Decimal();
    t->setIndexName(QString());
    if (!t->findKey({skupina})) return Decimal();
    Decimal g;
    for (int i = 1; i <= 20; ++i) {
        const int f = t->fieldIndex(QStringLiteral("Rabat%1").arg(i));
        if (f >= 0) g = std::max(g, t->field(f).asDecimal());
    }
    return g;
}

bool ExistujeCenaZakaznika(Database& db, qint64 cisVyr, qint64 cisFirmy, qint64 kromeRadku) {
    Query q(db,
            QStringLiteral("SELECT count(*) AS Pocet FROM Cenik_Zak WHERE Cis_Vyr = :VYR AND "
                           "Cis_Firmy = :FIRMA AND rowid <> :RADEK"),
            QStringLiteral("Ciselnik"));
    q.setParam(QStringLiteral("VYR"), cisVyr);
    q.setParam(QStringLiteral("FIRMA"), cisFirmy);
    q.setParam(QStringLiteral("RADEK"), kromeRadku);
    q.open();
    q.first();
    return !q.isEmpty() && q.field(QStringLiteral("Pocet")).asInteger() > 0;
}

ZdrojeCen ZdrojeCenZDat(Database& db,
                        std::function<Decimal(const QString&, Decimal, const QDate&)> prevod,
                        std::function<bool(const QString&)> otazka) {
    ZdrojeCen z;
    z.nejvyssiRabat = [&db](int skupina) { return NejvyssiRabatSkupiny(db, skupina); };
    z.tarif = [&db](const QString& kod) { return TarifDleKodu(db, kod); };
    z.prevod = std::move(prevod);
    z.otazka = std::move(otazka);
    return z;
}

bool JeMetasoubor(const QByteArray& data) {
    // EMF: a header record of type 1 with " EMF" at offset 40; WMF: the placeable key or a
    // standard header.
    if (data.size() >= 44 && data.mid(40, 4) == QByteArrayLiteral(" EMF")) return true;
    if (data.startsWith(QByteArray::fromHex("d7cdc69a"))) return true;
    return data.size() >= 4 && (data.startsWith(QByteArray::fromHex("01000900")) ||
                                data.startsWith(QByteArray::fromHex("02000900")));
}

int KontrolniCisliceEAN13(const QString& d) {
    if (d.size() != 12) return -1;
    int soucet = 0;
    for (int i = 0; i < 12; ++i) {
        if (!d[i].isDigit() || d[i].unicode() > '9') return -1;
        soucet += (d[i].unicode() - '0') * (i % 2 ? 3 : 1);
    }
    return (10 - soucet % 10) % 10;
}

bool PlatnyEAN13(const QString& kod) {
    return kod.size() == 13 && KontrolniCisliceEAN13(kod.left(12)) == kod[12].unicode() - '0';
}

} // namespace brix
