#include "prikazy.h"

namespace brix {

const QVector<ModulPrava>& ModulyPrav() {
    static const QVector<ModulPrava> m = {
        {QStringLiteral("CISELNIK"), QStringLiteral("Číselník")},
        {QStringLiteral("INT_UCTY"), QStringLiteral("Interní pohyby")},
        {QStringLiteral("DL"), QStringLiteral("Dodací list")},
        {QStringLiteral("DLP"), QStringLiteral("Příjem zboží")},
        {QStringLiteral("FAV"), QStringLiteral("Faktura vydaná")},
        {QStringLiteral("FAP"), QStringLiteral("Faktura přijatá")},
        {QStringLiteral("OBJV"), QStringLiteral("Objednávka vydaná")},
        {QStringLiteral("OBJP"), QStringLiteral("Objednávka přijatá")},
        {QStringLiteral("KASA"), QStringLiteral("Kasa")},
        {QStringLiteral("SERVIS"), QStringLiteral("Servis")},
        {QStringLiteral("SPRAVCE"), QStringLiteral("Správce uživatelů")},
    };
    return m;
}

bool JeModulPrav(const QString& kod) {
    for (const ModulPrava& m : ModulyPrav())
        if (m.kod == kod) return true;
    return false;
}

const QVector<PrikazMenu>& PrikazyMenu() {
    static const QVector<PrikazMenu> p = [] {
        const QString vydej = QStringLiteral("&Výdej zboží");
        const QString prijem = QStringLiteral("&Příjem zboží");
        const QString obj = QStringLiteral("&Objednávky");
        const QString cis = QStringLiteral("&Číselníky");
        const QString servis = QStringLiteral("&Servis");
        const QString CIS = QStringLiteral("CISELNIK");
        const QString SER = QStringLiteral("SERVIS");
        using namespace prikaz;
        return QVector<PrikazMenu>{
            {Kasa, vydej, QStringLiteral("&Kasa-výdej za hotové"), QStringLiteral("KASA"), {}},
            {Zasuvka, vydej, QStringLiteral("&Otevři pokl.zásuvku"), {}, {}},
            {DodaciList, vydej, QStringLiteral("&Dodací list"), QStringLiteral("DL"), {}},
            {FakturaVydana, vydej, QStringLiteral("&Faktura vydaná"), QStringLiteral("FAV"), {}},
            {Vydejka, vydej, QStringLiteral("&Výdejka"), QStringLiteral("INT_UCTY"), {}},
            {Prevodka, vydej, QStringLiteral("Převodka"), {}, {}},
            {Konec, vydej, QStringLiteral("Ko&nec"), {}, QStringLiteral("Alt+X")},
            {PrijemOdDodavatele,
             prijem,
             QStringLiteral("&Příjem od dodavatele"),
             QStringLiteral("DLP"),
             {}},
            {Prijemka, prijem, QStringLiteral("Příje&mka"), QStringLiteral("INT_UCTY"), {}},
            {ObjVydane, obj, QStringLiteral("&Vydané"), QStringLiteral("OBJV"), {}},
            {ObjPrijate, obj, QStringLiteral("&Přijaté"), QStringLiteral("OBJP"), {}},
            {Vyrobky, cis, QStringLiteral("&Výrobky"), CIS, {}},
            {Firmy, cis, QStringLiteral("&Firmy"), CIS, {}},
            {Obory, cis, QStringLiteral("&Obory"), CIS, {}},
            {Skonto, cis, QStringLiteral("&Skonto"), CIS, {}},
            {RabatniTabulka, cis, QStringLiteral("&Rabatní tabulka"), CIS, {}},
            {VynosoveSkupiny, cis, QStringLiteral("Vý&nosové skupiny"), CIS, {}},
            {Meny, cis, QStringLiteral("&Měny"), CIS, {}},
            {CelniSazebnik, cis, QStringLiteral("&Celní sazebník"), CIS, {}},
            {DruhyUctu, cis, QStringLiteral("&Druhy účtů"), CIS, {}},
            {PrvniCislaUctu, cis, QStringLiteral("&První čísla účtů"), CIS, {}},
            {CiselneRady, cis, QStringLiteral("Čís&elné řady"), CIS, {}},
            {Zamestnanci, cis, QStringLiteral("&Zaměstnanci"), CIS, {}},
            {Strediska, cis, QStringLiteral("S&třediska"), CIS, {}, true},
            {Banka, QStringLiteral("&Banka"), {}, {}, {}},
            {SkladovePolozky, servis, QStringLiteral("&Skladové položky"), SER, {}},
            {NulovaniPromennych, servis, QStringLiteral("&Nulování proměnných"), SER, {}},
            {Statistiky, servis, QStringLiteral("Stat&istiky"), SER, {}},
            {KontrolaDatabazi, servis, QStringLiteral("Kontrola databází"), SER, {}},
            {Nastaveni, servis, QStringLiteral("N&astavení"), SER, {}},
            {NastaveniFirmy, servis, QStringLiteral("Nas&tavení firmy"), SER, {}},
            {OAplikaci, servis, QStringLiteral("&O aplikaci"), SER, {}},
        };
    }();
    return p;
}

const PrikazMenu* NajdiPrikaz(const QString& id) {
    for (const PrikazMenu& p : PrikazyMenu())
        if (p.id == id) return &p;
    return nullptr;
}

QStringList SkupinyMenu() {
    QStringList s;
    for (const PrikazMenu& p : PrikazyMenu())
        if (!s.contains(p.skupina)) s << p.skupina;
    return s;
}

QSet<QString> PrikazyPovolenePravy(const QSet<QString>& moduly) {
    QSet<QString> out;
    for (const PrikazMenu& p : PrikazyMenu())
        if (!p.pravo.isEmpty() && moduly.contains(p.pravo)) out.insert(p.id);
    return out;
}

} // namespace brix
