#include "demo_varianty.h"

#include "demo_zaklad.h"
#include "table.h"

#include <QDateTime>

namespace brix::demo {

int NaplnVarianty(Database& db) {
    Table nast(db, QStringLiteral("Nastaven\\Nast_Pr"));
    nast.open();
    if (nast.locate(QStringLiteral("Popis"), {QStringLiteral("VERZETEXTIL")}))
        nast.edit();
    else
        nast.insert();
    nast.field(QStringLiteral("Popis")).setString(QStringLiteral("VERZETEXTIL"));
    nast.field(QStringLiteral("Boolean")).setBoolean(true);
    nast.post();

    Table vs(db, QStringLiteral("Ciselnik\\VynSkup"));
    vs.open();
    for (const auto& [cislo, popis] :
         {std::pair{5, "Barvy syntetické"}, std::pair{6, "Barvy disperzní"},
          std::pair{7, "Pracovní oděvy"}})
        if (!vs.findKey({cislo}))
            pridej(vs, {{"PC_VynSkup", cislo}, {"Popis", QString::fromUtf8(popis)}});

    Table vyr(db, QStringLiteral("Ciselnik\\Vyrobky"));
    vyr.open();
    // The synthetic and the dispersion paints into their own groups of the head word "Barvy".
    for (vyr.first(); !vyr.eof(); vyr.next()) {
        const QString kod = vyr.field(QStringLiteral("Kod_Ozn1")).asString().trimmed();
        const int skupina = kod == QLatin1String("SYNTETIKA")  ? 5
                            : kod == QLatin1String("DISPERZE") ? 6
                                                               : 0;
        if (!skupina || vyr.field(QStringLiteral("PC_Vynskup")).asInteger() == skupina) continue;
        vyr.edit();
        vyr.field(QStringLiteral("PC_Vynskup")).setInteger(skupina);
        vyr.post();
    }

    const QDateTime ted = QDateTime::currentDateTime();
    struct Oblek {
        int cislo;
        const char* objCis;
        const char* nazev;
        double nc;
    };
    const Oblek obleky[] = {{9001, "OD-0001", "Pracovní rukavice", 38.0},
                            {9002, "OD-0002", "Montérky lacl", 420.0}};
    for (const Oblek& o : obleky)
        pridej(vyr, {{"Cis_vyr", o.cislo},
                     {"ObjCis", QString::fromLatin1(o.objCis)},
                     {"Nazev", QString::fromUtf8(o.nazev)},
                     {"Druh_Pol", QStringLiteral("S")},
                     {"DPH", 21.0},
                     {"DruhMn", QStringLiteral("ks")},
                     {"CenaZa", 1.0},
                     {"Faktor_Bal", 1},
                     {"NC_Netto", o.nc},
                     {"PC_Zakl", zaokrouhli(o.nc * 1.25, 0.1)},
                     {"MO_Cena", zaokrouhli(o.nc * 1.25 * 1.2 * 1.21, 1)},
                     {"MO_Marze", 20.0},
                     {"PC_Vynskup", 7},
                     {"Kod_Ozn1", QStringLiteral("ODEVY")},
                     {"Cis_Firmy", 1},
                     {"Dat_Zmen", ted}});

    Table var(db, QStringLiteral("Ciselnik\\Vyr_Var"));
    var.open();
    const auto varianta = [&](int vyrobek, const QString& v1, const QString& v2, double sklad) {
        pridej(var, {{"Cis_Vyr", vyrobek},
                     {"Varianta1", v1},
                     {"Varianta2", v2},
                     {"SklZas_ks", sklad},
                     {"Rezervace", 0.0},
                     {"Posl_Zmena", ted}});
    };
    int n = 0;
    for (const char* v : {"S", "M", "L", "XL"})
        varianta(9001, QString::fromLatin1(v), {}, 20 + 5 * n++);
    n = 0;
    for (const char* v : {"48", "50", "52", "54"})
        for (const char* barva : {"modrá", "zelená"})
            varianta(9002, QString::fromLatin1(v), QString::fromUtf8(barva), 3 + n++ % 4);
    return int(std::size(obleky));
}

} // namespace brix::demo
