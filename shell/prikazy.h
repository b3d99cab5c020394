#pragma once
// The commands of the main menu and the access rights that switch them on. The menu is built
// from this one table: a form joins the program by giving its command a handler.

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

namespace brix {

// One module code of "Moduly.DB" and the check box of the access-rights form that grants it.
struct ModulPrava {
    QString kod;     // "CISELNIK", "INT_UCTY", ...
    QString popisek; // "Číselník", "Interní pohyby", ...
};
// In the order of the access-rights form (rights are written back in this order).
const QVector<ModulPrava>& ModulyPrav();
bool JeModulPrav(const QString& kod);

// Identifiers of the main-menu commands.
namespace prikaz {
inline const QString Kasa = QStringLiteral("Kasa");
inline const QString Zasuvka = QStringLiteral("Zasuvka");
inline const QString DodaciList = QStringLiteral("DodaciList");
inline const QString FakturaVydana = QStringLiteral("FakturaVydana");
inline const QString Vydejka = QStringLiteral("Vydejka");
inline const QString Prevodka = QStringLiteral("Prevodka");
inline const QString Konec = QStringLiteral("Konec");
inline const QString PrijemOdDodavatele = QStringLiteral("PrijemOdDodavatele");
inline const QString Prijemka = QStringLiteral("Prijemka");
inline const QString ObjVydane = QStringLiteral("ObjVydane");
inline const QString ObjPrijate = QStringLiteral("ObjPrijate");
inline const QString Vyrobky = QStringLiteral("Vyrobky");
inline const QString Firmy = QStringLiteral("Firmy");
inline const QString Obory = QStringLiteral("Obory");
inline const QString Skonto = QStringLiteral("Skonto");
inline const QString RabatniTabulka = QStringLiteral("RabatniTabulka");
inline const QString VynosoveSkupiny = QStringLiteral("VynosoveSkupiny");
inline const QString Meny = QStringLiteral("Meny");
inline const QString CelniSazebnik = QStringLiteral("CelniSazebnik");
inline const QString DruhyUctu = QStringLiteral("DruhyUctu");
inline const QString PrvniCislaUctu = QStringLiteral("PrvniCislaUctu");
inline const QString CiselneRady = QStringLiteral("CiselneRady");
inline const QString Zamestnanci = QStringLiteral("Zamestnanci");
inline const QString Strediska = QStringLiteral("Strediska");
inline const QString Banka = QStringLiteral("Banka");
inline const QString SkladovePolozky = QStringLiteral("SkladovePolozky");
inline const QString NulovaniPromennych = QStringLiteral("NulovaniPromennych");
inline const QString Statistiky = QStringLiteral("Statistiky");
inline const QString KontrolaDatabazi = QStringLiteral("KontrolaDatabazi");
inline const QString Nastaveni = QStringLiteral("Nastaveni");
inline const QString NastaveniFirmy = QStringLiteral("NastaveniFirmy");
inline const QString OAplikaci = QStringLiteral("OAplikaci");
} // namespace prikaz

struct PrikazMenu {
    QString id;
    QString skupina; // caption of its menu ("&Výdej zboží"); a command of the menu bar itself
                     // ("&Banka") has its own caption here and an empty `text`
    QString text;    // caption of the command
    QString pravo;   // module code that enables it at login; empty: usable without a right
    QString zkratka; // key sequence ("Alt+X"), empty for none
    bool skryty = false;
};

// Every command in menu order, groups in the order of the menu bar.
const QVector<PrikazMenu>& PrikazyMenu();
const PrikazMenu* NajdiPrikaz(const QString& id);
// The menu captions in the order of the menu bar.
QStringList SkupinyMenu();

// The commands that the granted module codes switch on (codes that enable no command, and
// unknown codes, add nothing). Commands without a right are not part of the answer.
QSet<QString> PrikazyPovolenePravy(const QSet<QString>& moduly);

} // namespace brix
