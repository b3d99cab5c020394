#include "prijem.h"

#include "database.h"
#include "datacis.h"
#include "dialogs/criteria_dialogs.h"
#include "number_series.h"
#include "table.h"
#include "util/path_resolver.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <map>

namespace brix::sklad {

namespace {

const QString kTypPrijemky = QStringLiteral("C");

// A source record's value of the field, found by name ignoring case; null without the field.
class ZdrojovyZaznam {
public:
    ZdrojovyZaznam(const QList<formats::FieldDef>& pole, const formats::Record& zaznam)
        : pole_(pole), zaznam_(zaznam) {}
    QVariant operator[](const QString& nazev) const {
        for (int i = 0; i < pole_.size() && i < zaznam_.size(); ++i)
            if (pole_[i].name.compare(nazev, Qt::CaseInsensitive) == 0) return zaznam_[i];
        return QVariant();
    }

private:
    const QList<formats::FieldDef>& pole_;
    const formats::Record& zaznam_;
};

// The text a number field of a foreign table stands for ("12" for 12.0): what the item's
// CIS_UCTU is compared by.
QString klicovyText(const QVariant& v) {
    if (v.isNull()) return QString();
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (ok && v.typeId() != QMetaType::QString) return QString::number(qint64(d));
    return v.toString().trimmed();
}

void nastav(Table& t, const QString& pole, const QVariant& hodnota) {
    const int i = t.fieldIndex(pole);
    if (i >= 0 && !hodnota.isNull()) t.setFieldValue(i, hodnota);
}

struct Zdroj {
    QList<formats::FieldDef> pole;
    std::vector<formats::Record> zaznamy;
};

// Reads the whole table; false with the message naming it.
bool nacti(const QString& cesta, Zdroj& z, QString* chyba) {
    QString duvod;
    // The reader closes the file when it goes, whatever came of the reading.
    if (std::unique_ptr<formats::TableReader> reader =
            formats::openTable(cesta, QString(), &duvod)) {
        z.pole = reader->fields();
        formats::Record r;
        while (reader->next(&r))
            z.zaznamy.push_back(r);
        duvod = reader->errorString();
    }
    if (duvod.isEmpty()) return true;
    *chyba = QStringLiteral("Tabulku \"%1\" nelze načíst: %2")
                 .arg(QDir::toNativeSeparators(cesta), duvod);
    return false;
}

} // namespace

VysledekImportu ImportPrijemek(TDataCis& dm, const QString& hlavicky, const QString& polozky,
                               const QString& druh) {
    VysledekImportu out;
    Zdroj h, p;
    if (!nacti(hlavicky, h, &out.chyba) || !nacti(polozky, p, &out.chyba)) return out;
    const QList<formats::FieldDef>& fieldsH = h.pole;
    const QList<formats::FieldDef>& fieldsP = p.pole;
    // The items of each imported number, in the order they were read.
    std::multimap<QString, const formats::Record*> podleCisla;
    for (const formats::Record& r : p.zaznamy)
        podleCisla.insert(
            {klicovyText(ZdrojovyZaznam(fieldsP, r)[QStringLiteral("CIS_UCTU")]), &r});

    Database& db = dm.database();
    Table& hlav = TDataCis::sdilena(dm.TableHlaPrij, RodinaDokladu::prijemka().hlavicka);
    Table& pol = TDataCis::sdilena(dm.TablePolPrij, RodinaDokladu::prijemka().polozky);
    Table& rady = TDataCis::sdilena(dm.TableCisUctu, QStringLiteral("Ciselnik\\CisUctu"));
    Table existujici(db, RodinaDokladu::prijemka().hlavicka);
    existujici.setIndexName(QString());
    existujici.open();
    for (Table* t : {&hlav, &pol, &rady})
        if (!t->active()) t->open();

    static const char* const kPolePolozky[] = {
        "PorCis",    "ObjCis",     "Cis_Vyr",  "Nazev",     "Mnozstvi", "DruhMn",     "DPH",
        "Cena_Zobr", "Cena_ZobrC", "Cena_Skl", "Cena_SklC", "Druh_Pol", "Druh_Kompl", "Faktor"};
    for (const formats::Record& zaznam : h.zaznamy) {
        const ZdrojovyZaznam zh(fieldsH, zaznam);
        // A failure rolls this receipt back and leaves the shared cursors as stored.
        struct Zrus {
            Table& h;
            Table& p;
            bool hotovo = false;
            ~Zrus() {
                if (hotovo) return;
                if (p.state() != TableState::Browse) p.cancel();
                if (h.state() != TableState::Browse) h.cancel();
            }
        } zrus{hlav, pol};
        Database::Transaction tr(db);
        existujici.refresh();
        int cislo = int(DalsiCisloUctu(rady, kTypPrijemky, druh, -1));
        if (cislo <= 0) cislo = 1;
        while (existujici.findKey({cislo}))
            ++cislo;
        DalsiCisloUctu(rady, kTypPrijemky, druh, cislo);
        hlav.insert();
        hlav.field(QStringLiteral("CIS_UCTU")).setInteger(cislo);
        nastav(hlav, QStringLiteral("Nazev"), zh[QStringLiteral("Nazev")]);
        nastav(hlav, QStringLiteral("Dat_Plneni"), zh[QStringLiteral("Dat_Plneni")]);
        nastav(hlav, QStringLiteral("Cena_ZobrCelk"), zh[QStringLiteral("Cena_ZobrCelk")]);
        nastav(hlav, QStringLiteral("Cena_SklCelk"), zh[QStringLiteral("Cena_SklCelk")]);
        hlav.field(QStringLiteral("STAV")).setString(QStringLiteral("0"));
        hlav.field(QStringLiteral("DRUH")).setString(druh);
        hlav.field(QStringLiteral("Druh_Ceny")).setString(QStringLiteral("NC"));
        hlav.post();
        int polozek = 0;
        Decimal sklSoucet, zobrSoucet;
        const QString puvodni = klicovyText(zh[QStringLiteral("CIS_UCTU")]);
        auto [od, po] = podleCisla.equal_range(puvodni);
        for (auto it = od; it != po; ++it) {
            const ZdrojovyZaznam zp(fieldsP, *it->second);
            pol.insert();
            pol.field(QStringLiteral("CIS_UCTU")).setInteger(cislo);
            for (const char* pole : kPolePolozky)
                nastav(pol, QString::fromLatin1(pole), zp[QString::fromLatin1(pole)]);
            pol.field(QStringLiteral("Stav")).setString(QStringLiteral("P"));
            // The item table's rules reserve the item's quantity as it is posted.
            pol.post();
            sklSoucet += castkaPole(pol, QStringLiteral("Cena_SklC"));
            zobrSoucet += castkaPole(pol, QStringLiteral("Cena_ZobrC"));
            ++polozek;
        }
        // The header's totals are the sums of its items, whatever the other system's header
        // said (a closing checks them against each other).
        if (hlav.findKey({cislo}) &&
            (castkaPole(hlav, QStringLiteral("Cena_SklCelk")) != sklSoucet ||
             castkaPole(hlav, QStringLiteral("Cena_ZobrCelk")) != zobrSoucet)) {
            hlav.edit();
            hlav.field(QStringLiteral("Cena_SklCelk")).setDecimal(sklSoucet);
            hlav.field(QStringLiteral("Cena_ZobrCelk")).setDecimal(zobrSoucet);
            hlav.post();
        }
        tr.commit();
        zrus.hotovo = true;
        ++out.prijemek;
        out.polozek += polozek;
        out.cisla.push_back(cislo);
    }
    return out;
}

// ---- the item report --------------------------------------------------------------------------

QList<formats::FieldDef> PolePolozekUctu(const QString& klicVyrobku) {
    using formats::FieldKind;
    return {{QStringLiteral("NazevFi"), FieldKind::Text, 20, 0},
            {QStringLiteral("Dat_Pln"), FieldKind::Date, 0, 0},
            {QStringLiteral("Cis_Uctu"), FieldKind::Long, 0, 0},
            {QStringLiteral("Stav"), FieldKind::Text, 1, 0},
            {QStringLiteral("PorCis"), FieldKind::Long, 0, 0},
            {klicVyrobku, FieldKind::Text, 15, 0},
            {QStringLiteral("Nazev"), FieldKind::Text, 40, 0},
            {QStringLiteral("Mnozstvi"), FieldKind::Float, 0, 0},
            {QStringLiteral("Druh_Pol"), FieldKind::Text, 15, 0},
            {QStringLiteral("PC_Zakl"), FieldKind::Money, 0, 0},
            {QStringLiteral("Rabat"), FieldKind::Money, 0, 0},
            {QStringLiteral("PC_NettoC"), FieldKind::Money, 0, 0}};
}

std::vector<RadekPolozkyUctu> PolozkyUctu(TDataCis& dm, Table& hlavicky,
                                          const KriteriaPolozky& kriteria,
                                          const QString& klicVyrobku) {
    std::vector<RadekPolozkyUctu> out;
    Table polozky(dm.database(), RodinaDokladu::prijemka().polozky);
    polozky.setIndexName(QString());
    polozky.open();
    Table vyrobky(dm.database(), QStringLiteral("Ciselnik\\Vyrobky"));
    vyrobky.open();
    const VynosovaSkupina skupina = vynosovaSkupinaZTabulky(vyrobky);
    const Table::Bookmark zalozka = hlavicky.hasRecord() ? hlavicky.bookmark() : 0;
    for (hlavicky.first(); !hlavicky.eof() && hlavicky.hasRecord(); hlavicky.next()) {
        const qint64 cislo = cisloPole(hlavicky, QStringLiteral("CIS_UCTU"));
        polozky.setRange({cislo, 1}, {cislo, 9999});
        for (polozky.first(); !polozky.eof() && polozky.hasRecord(); polozky.next()) {
            if (!polozkaVyhovuje(kriteria, polozky, skupina)) continue;
            RadekPolozkyUctu r;
            r.nazevFi = textPole(hlavicky, QStringLiteral("Nazev")).left(20);
            r.datPln = hlavicky.field(QStringLiteral("Dat_Plneni")).asDate();
            r.cisUctu = cislo;
            r.stav = textPole(polozky, QStringLiteral("Stav"));
            r.porCis = int(cisloPole(polozky, QStringLiteral("PorCis")));
            r.klic = textPole(polozky, klicVyrobku);
            r.nazev = textPole(polozky, QStringLiteral("Nazev"));
            r.mnozstvi = castkaPole(polozky, QStringLiteral("Mnozstvi"));
            r.druhPol = textPole(polozky, QStringLiteral("Druh_Pol"));
            r.pcZakl = castkaPole(polozky, QStringLiteral("Cena_Zobr"));
            r.pcNettoC = castkaPole(polozky, QStringLiteral("Cena_ZobrC"));
            out.push_back(std::move(r));
        }
    }
    if (zalozka) hlavicky.gotoBookmark(zalozka);
    return out;
}

PracovniTabulka::PracovniTabulka(const QString& datovyKoren) {
    const QString adresar = resolvePath(datovyKoren, QStringLiteral("Prac_Db")).path;
    QDir().mkpath(adresar);
    do {
        const quint32 n = 1000000 + QRandomGenerator::global()->bounded(1000000);
        cesta_ = QDir(adresar).filePath(QString::number(n) + QStringLiteral(".db"));
    } while (QFile::exists(cesta_));
}

PracovniTabulka::~PracovniTabulka() {
    QFile::remove(cesta_);
}

bool PracovniTabulka::zapis(const std::vector<RadekPolozkyUctu>& radky,
                            const QString& klicVyrobku) {
    auto w = formats::makeTableWriter(formats::TableFormat::Paradox);
    if (!w->open(cesta_, PolePolozekUctu(klicVyrobku))) {
        chyba_ = w->errorString();
        return false;
    }
    for (const RadekPolozkyUctu& r : radky) {
        const formats::Record z = {r.nazevFi,
                                   r.datPln,
                                   int(r.cisUctu),
                                   r.stav,
                                   r.porCis,
                                   r.klic,
                                   r.nazev,
                                   r.mnozstvi.toDouble(),
                                   r.druhPol,
                                   r.pcZakl.toDouble(),
                                   0.0,
                                   r.pcNettoC.toDouble()};
        if (!w->append(z)) {
            chyba_ = w->errorString();
            w->abandon();
            return false;
        }
    }
    if (!w->close()) {
        chyba_ = w->errorString();
        return false;
    }
    return true;
}

} // namespace brix::sklad
