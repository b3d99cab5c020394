#include "demo_sklad.h"

#include "database.h"
#include "demo_zaklad.h"

#include <QDate>

namespace brix::demo {

void NaplnSklad(Database& db) {
    Table vyr(db, QStringLiteral("Ciselnik\\Vyrobky"));
    vyr.open();
    Table zas(db, QStringLiteral("Sklady\\SklZas"));
    zas.open();
    const QDate zacatekRoku(QDate::currentDate().year(), 1, 1);
    int i = 0;
    for (vyr.first(); !vyr.eof(); vyr.next(), ++i) {
        const QVariant cislo = vyr.field(QStringLiteral("Cis_vyr")).value();
        const QString objCis = vyr.field(QStringLiteral("ObjCis")).asString();
        const double nc = vyr.field(QStringLiteral("NC_Netto")).asFloat();
        double celkemKs = 0, celkemKc = 0;
        for (int sklad = 1; sklad <= 3; ++sklad) {
            if (sklad == 2 && i % 3 == 0) continue;
            if (sklad == 3 && i % 2 == 1) continue;
            const double ks = double((i * 7 + sklad * 13) % 40 + (sklad == 2 ? 20 : 2));
            const double kc = zaokrouhli(ks * nc, 0.01);
            celkemKs += ks;
            celkemKc += kc;
            pridej(zas, {{"Cis_Vyr", cislo},
                         {"ObjCis", objCis},
                         {"Cis_Sklad", QString::number(sklad)},
                         {"SklZas_ks", ks},
                         {"SklZas_kc", kc},
                         {"Rezervace", 0.0},
                         {"Objednano", 0.0},
                         {"Poc_Mnoz", ks},
                         {"Poc_Cena", kc},
                         {"Dat_Invent", zacatekRoku}});
        }
        vyr.edit();
        nastav(vyr, QStringLiteral("SklZas_Ks"), celkemKs);
        nastav(vyr, QStringLiteral("SklZas_Kc"), celkemKc);
        nastav(vyr, QStringLiteral("DisponMn"), celkemKs);
        vyr.post();
    }
}

} // namespace brix::demo
