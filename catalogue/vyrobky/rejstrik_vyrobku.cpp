#include "rejstrik_vyrobku.h"

#include "ceny_vyrobku.h"
#include "codec.h"
#include "datacis.h"
#include "dialogs/filter_db.h"
#include "query.h"
#include "storage_error.h"
#include "util/numeric.h"
#include "util/path_resolver.h"
#include "util/text_utils.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <sqlite3.h>

namespace brix {

namespace {

const QString kCisVyr = QStringLiteral("Cis_vyr");

QString hodnotaRozsahu(const QString& v, bool textove) {
    return textove ? filtr::literal(v) : v.trimmed();
}

} // namespace

QString PodminkaRozsahu(const QString& pole, bool textovePole, const QString& od,
                        const std::optional<QString>& doHodnota, bool prefix) {
    QString prvni = od;
    if (prefix && textovePole && !prvni.isEmpty()) prvni += QLatin1Char('*');
    const bool maOd = !od.trimmed().isEmpty();
    if (doHodnota) {
        const bool maDo = !doHodnota->trimmed().isEmpty();
        QString s;
        if (maOd) s = pole + QLatin1String(" >=") + hodnotaRozsahu(prvni, textovePole);
        if (maDo) {
            if (!s.isEmpty()) s += QLatin1String(" and ");
            s += pole + QLatin1String(" <=") + hodnotaRozsahu(*doHodnota, textovePole);
        }
        return s;
    }
    if (!maOd) return QString();
    return pole + QLatin1String(" = ") + hodnotaRozsahu(prvni, textovePole);
}

std::optional<qint64> DodavatelFiltru(Database& db, const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    bool cislo = false;
    const qint64 n = t.toLongLong(&cislo);
    if (cislo) return n;
    // substr() has no collation of its own: the comparison is binary, so case counts.
    Query q(db,
            QStringLiteral("SELECT Cis_firmy FROM Firmy WHERE substr(Nazev, 1, length(:Zacatek)) "
                           "= :Zacatek ORDER BY Nazev LIMIT 1"),
            QStringLiteral("Ciselnik"));
    q.setParam(QStringLiteral("Zacatek"), text);
    q.open();
    if (q.isEmpty()) return std::nullopt;
    q.first();
    return q.field(0).asInteger();
}

QString PodminkaDodavatele(qint64 cisFirmy) {
    return QStringLiteral("Cis_Firmy=") + QString::number(cisFirmy);
}

UzelStromu StromVynosovychSkupin(Database& db) {
    UzelStromu koren{QStringLiteral("Vše"), QString(), {}};
    Table t(db, QStringLiteral("Ciselnik\\VynSkup"));
    t.open();
    QString predchozi;
    bool prvni = true;
    for (t.first(); !t.eof(); t.next()) {
        const QString popis = t.field(QStringLiteral("Popis")).asString();
        const qsizetype mezera = popis.indexOf(QLatin1Char(' '));
        const QString hlava = mezera < 0 ? popis : popis.left(mezera);
        const QString zbytek = mezera < 0 ? popis : popis.mid(mezera + 1);
        if (prvni || hlava != predchozi) koren.deti.push_back({hlava, QString(), {}});
        prvni = false;
        predchozi = hlava;
        const QString cislo = t.field(QStringLiteral("PC_VynSkup")).asString();
        koren.deti.back().deti.push_back(
            {cislo + QLatin1String(" - ") + zbytek, QStringLiteral("PC_VynSkup = ") + cislo, {}});
    }
    return koren;
}

UzelStromu StromKodovychOznaceni(Database& db) {
    UzelStromu koren{QStringLiteral("Vše"), QString(), {}};
    // The products in the "Kod_Ozn" order give each Kod_Ozn1 as one run; its distinct values
    // in that order are the runs.
    Query q(db,
            QStringLiteral("SELECT Kod_Ozn1 FROM Vyrobky WHERE Kod_Ozn1 IS NOT NULL "
                           "GROUP BY Kod_Ozn1 ORDER BY Kod_Ozn1"),
            QStringLiteral("Ciselnik"));
    q.open();
    for (q.first(); !q.eof(); q.next()) {
        const QString kod = q.field(0).asString().left(40);
        koren.deti.push_back({kod, QStringLiteral("Kod_Ozn1 = ") + filtr::literal(kod), {}});
    }
    return koren;
}

std::vector<qint64> KliceVyrobku(Table& pohled) {
    std::vector<qint64> cisla;
    const Table::Bookmark b = pohled.bookmark();
    const int i = pohled.fieldIndex(kCisVyr);
    for (pohled.first(); !pohled.eof(); pohled.next())
        cisla.push_back(pohled.fieldValue(i).toLongLong());
    if (b) pohled.gotoBookmark(b);
    return cisla;
}

namespace {

// The products' own columns are written by key with prepared statements: a change of many
// products costs one statement step each. Posl_Zmena is stamped as every post of a product
// stamps it; DisponMn does not depend on the columns these changes write.
QString casZmeny() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
}

QVariant textPole(const TableDef& def, const QString& pole, const QString& text) {
    const FieldDef* f = def.field(pole);
    const QString t = OrizniVpravo(f && f->size > 0 ? text.left(f->size) : text);
    return t.isEmpty() ? QVariant() : QVariant(t);
}

} // namespace

VysledekZmeny HromadnaZmenaKodu(Database& db, const std::vector<qint64>& cisla,
                                const QString& kod) {
    VysledekZmeny v;
    try {
        const TableDef& def = db.table(QStringLiteral("Ciselnik\\Vyrobky"));
        Database::Transaction tr(db);
        Statement st = db.prepare(
            QStringLiteral("UPDATE \"%1\" SET Kod_Ozn1 = ?, Posl_Zmena = ? WHERE Cis_vyr = ?")
                .arg(def.sqlName));
        const QVariant hodnota = textPole(def, QStringLiteral("Kod_Ozn1"), kod);
        const QString cas = casZmeny();
        for (qint64 c : cisla) {
            st.bindPlain(1, hodnota);
            st.bindPlain(2, cas);
            st.bindPlain(3, c);
            st.exec();
            v.zmeneno += sqlite3_changes(db.handle()) > 0 ? 1 : 0;
            st.reset();
        }
        db.noteWrite();
        tr.commit();
        v.ok = true;
    } catch (const StorageError& e) {
        db.noteWrite();
        v.zmeneno = 0;
        v.chyba = e.message();
    }
    return v;
}

QString Format82(Decimal d) {
    return QStringLiteral("%1").arg(d.toString(2), 8);
}

VysledekDPH PrepocetDPH(Database& db, const std::vector<qint64>& cisla) {
    VysledekDPH v;
    try {
        const TableDef& def = db.table(QStringLiteral("Ciselnik\\Vyrobky"));
        Database::Transaction tr(db);
        Statement cti = db.prepare(QStringLiteral("SELECT DPH, MO_Cena, NC_Netto, Faktor_Bal, "
                                                  "CenaZa, MO_Marze, ObjCis FROM \"%1\" WHERE "
                                                  "Cis_vyr = ?")
                                       .arg(def.sqlName));
        Statement pis = db.prepare(QStringLiteral("UPDATE \"%1\" SET DPH = 19, MO_Cena = ?, "
                                                  "Posl_Zmena = ? WHERE Cis_vyr = ?")
                                       .arg(def.sqlName));
        const QString cas = casZmeny();
        const auto castka = [&](int sloupec) {
            return Decimal::fromDouble(cti.columnDouble(sloupec));
        };
        for (qint64 c : cisla) {
            cti.bindPlain(1, c);
            if (!cti.step()) {
                cti.reset();
                continue;
            }
            const Decimal dph = castka(0);
            if (dph != Decimal(22)) {
                cti.reset();
                continue;
            }
            const Decimal stara = castka(1);
            const std::optional<Decimal> nova =
                ceny::UrciMOCenu(castka(2), castka(3), castka(4), castka(5), Decimal(19));
            const QString objCis = OrizniVpravo(cti.columnText(6));
            cti.reset();
            pis.bindPlain(1, nova.value_or(stara).toDouble());
            pis.bindPlain(2, cas);
            pis.bindPlain(3, c);
            pis.exec();
            pis.reset();
            v.radkyLogu << objCis + QLatin1Char(';') + Format82(dph) + Format82(stara) +
                               QLatin1Char(';') + Format82(nova.value_or(stara));
            ++v.zmeneno;
        }
        db.noteWrite();
        tr.commit();
        v.ok = true;
    } catch (const StorageError& e) {
        db.noteWrite();
        v.zmeneno = 0;
        v.radkyLogu.clear();
        v.chyba = e.message();
    }
    return v;
}

bool ZapisLogDPH(const QString& korenDat, const QStringList& radky) {
    QSaveFile f(QDir(korenDat).filePath(QStringLiteral("Vyr_NC.log")));
    if (!f.open(QIODevice::WriteOnly)) return false;
    QString text;
    for (const QString& r : radky)
        text += r + QLatin1String("\r\n");
    f.write(encode(text));
    return f.commit();
}

DotazVyrSQL SestavDotazVyrSQL(const QString& klicovePole, const QString& klic, const QString& nazev,
                              const QString& kodOzn1, const QString& kodOzn2) {
    DotazVyrSQL d;
    // A typed "%", "_" or the escape character stands for itself.
    const auto vzor = [](const QString& text) {
        QString t = text.toUpper();
        t.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        t.replace(QLatin1Char('%'), QLatin1String("\\%"));
        t.replace(QLatin1Char('_'), QLatin1String("\\_"));
        return QVariant(t + QLatin1Char('%'));
    };
    const QString escape = QStringLiteral(" escape '\\'");
    QStringList podminky;
    if (!klic.isEmpty()) {
        if (klicovePole.compare(kCisVyr, Qt::CaseInsensitive) == 0) {
            podminky << klicovePole + QLatin1String(" = :SQLKlicVyr");
            d.parametry.emplace_back(QStringLiteral("SQLKlicVyr"), TextNaCislo(klic));
        } else {
            podminky << QLatin1String("upper(") + klicovePole +
                            QLatin1String(") like :SQLKlicVyr") + escape;
            d.parametry.emplace_back(QStringLiteral("SQLKlicVyr"), vzor(klic));
        }
    }
    const std::pair<const QString&, const char*> boxy[] = {
        {nazev, "Nazev:SQLNazev"}, {kodOzn1, "Kod_Ozn1:SQLKO1"}, {kodOzn2, "Kod_Ozn2:SQLKO2"}};
    for (const auto& [text, popis] : boxy) {
        if (text.isEmpty()) continue;
        const QStringList p = QString::fromLatin1(popis).split(QLatin1Char(':'));
        podminky << QLatin1String("upper(") + p[0] + QLatin1String(") like :") + p[1] + escape;
        d.parametry.emplace_back(p[1], vzor(text));
    }
    d.sql = QLatin1String("SELECT ") + klicovePole +
            QLatin1String(", Nazev, Kod_Ozn1, Kod_Ozn2, Kod_Ozn3, Druh_Pol, DPH, MinZas, DruhMn, "
                          "CenaZa, Cis_Firmy, PC_Zakl, Dat_Zmen, MO_Cena, SklZas_Ks, SklZas_Kc, "
                          "Objednano, Rezervace, DisponMn\nFROM Vyrobky\n");
    if (!podminky.isEmpty())
        d.sql +=
            QLatin1String("WHERE ") + podminky.join(QLatin1String(" and ")) + QLatin1Char('\n');
    d.sql += QLatin1String(" ORDER BY ") + klicovePole;
    return d;
}

std::optional<int> PocetNalepek(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n <= 0) return std::nullopt;
    return n;
}

} // namespace brix
