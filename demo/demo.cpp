#include "demo.h"

#include "database.h"
#include "datacis.h"
#include "demo_ceny.h"
#include "demo_ciselniky.h"
#include "demo_firmy.h"
#include "demo_sklad.h"
#include "demo_vyrobky.h"
#include "demo_zaklad.h"
#include "koren.h"
#include "prihlaseni.h"
#include "prikazy.h"
#include "storage_error.h"
#include "table.h"
#include "util/nastaveni.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace brix {

VysledekDema VytvorDemo(const QString& koren) {
    VysledekDema v;
    if (QFileInfo::exists(QDir(koren).filePath(QStringLiteral("brix.sqlite")))) {
        v.chyba = QStringLiteral("Adresář %1 již obsahuje data, ukázková data do něj nelze "
                                 "vytvořit.")
                      .arg(QDir::toNativeSeparators(koren));
        return v;
    }
    try {
        PripravaKorene p = PripravDatovyKoren(koren);
        Database& db = *p.db;
        Database::Transaction tr(db);

        v.firem = demo::NaplnFirmy(db);
        NaplnCiselnikyDemo(db);
        v.vyrobku = demo::NaplnVyrobky(db);
        demo::NaplnCeny(db);
        demo::NaplnSklad(db);
        {
            Table t(db, QStringLiteral("Ciselnik\\Sklady"));
            t.open();
            v.skladu = int(t.recordCount());
        }
        {
            // Employees: the administrator with every right, a shop assistant and a storeman.
            struct {
                const char16_t* prijmeni;
                const char* jmeno;
                const char16_t* heslo;
                QSet<QString> prava;
            } lide[] = {
                {kDemoSpravce, "Správce", kDemoHeslo, {}},
                {u"NOVÁKOVÁ", "Jana", u"prodej", {"KASA", "DL", "FAV", "OBJP", "CISELNIK"}},
                {u"DVOŘÁK", "Petr", u"sklad", {"INT_UCTY", "DLP", "OBJV", "CISELNIK"}},
            };
            for (const ModulPrava& m : ModulyPrav())
                lide[0].prava.insert(m.kod);
            TDataCis dm(db);
            Table& z = *dm.TableZamest;
            z.open();
            for (const auto& l : lide) {
                z.insert();
                z.field(QStringLiteral("PRIJMENI")).setString(QString::fromUtf16(l.prijmeni));
                demo::nastav(z, QStringLiteral("JMENO"), QString::fromUtf8(l.jmeno));
                demo::nastav(z, QStringLiteral("PROVIZE"), 0.0);
                if (!UlozZamestnance(dm, QString::fromUtf16(l.heslo), QString())) {
                    v.chyba = QStringLiteral("Zaměstnance nelze uložit.");
                    return v;
                }
                UlozPrava(dm, QString::fromUtf16(l.prijmeni), l.prava);
            }
            z.close();
        }
        tr.commit();

        UdajeFirmy f;
        f.Nazev = QStringLiteral("Barvy Laky Kolín s.r.o.");
        f.ObchodniJmeno = QStringLiteral("BARVY LAKY KOLÍN");
        f.Ulice = QStringLiteral("Kutnohorská 55");
        f.Mesto = QStringLiteral("Kolín");
        f.PSC = QStringLiteral("280 02");
        f.ICO = QStringLiteral("27145631");
        f.DIC = QStringLiteral("CZ27145631");
        f.Banka = QStringLiteral("Komerční banka Kolín");
        f.Ucet = QStringLiteral("123456789/0100");
        f.Telefon = QStringLiteral("321 712 345");
        f.Fax = QStringLiteral("321 712 346");
        f.CisloRegistrace = QStringLiteral("OR Městský soud v Praze, oddíl C, vložka 98765");
        if (!ulozUdajeFirmy(koren, f)) {
            v.chyba = QStringLiteral("Údaje firmy nelze zapsat.");
            return v;
        }
        v.ok = true;
    } catch (const StorageError& e) {
        v.chyba = e.message();
    }
    return v;
}

} // namespace brix
