#include "cisla_uctu.h"

#include "database.h"
#include "datacis.h"
#include "table.h"

namespace brix {

const QVector<RadaUctu>& RadyPrvnichCisel() {
    static const QVector<RadaUctu> r = {
        {QStringLiteral("EditDL"), QStringLiteral("Dodací list"), QStringLiteral("DL"),
         QStringLiteral("Zadejte číslo DL, které má být aut.zvoleno v novém DL")},
        {QStringLiteral("EditFaV"), QStringLiteral("Faktura vydaná"), QStringLiteral("FV"),
         QStringLiteral("Zadejte číslo FaV, které má být aut.zvoleno v nové FaV ")},
        {QStringLiteral("EditDLP"), QStringLiteral("Příjem zboží"), QStringLiteral("3"),
         QStringLiteral("Zadejte číslo příjmu zboží, které má být aut.zvoleno v novém DLP")},
        {QStringLiteral("EditFaP"), QStringLiteral("Faktura přijatá"), QStringLiteral("4"),
         QStringLiteral("Zadejte číslo FaP, které má být aut.zvoleno v nové FaP")},
        {QStringLiteral("EditV"), QStringLiteral("Výdejka"), QStringLiteral("A"),
         QStringLiteral("Zadejte číslo Výdejky, které má být aut.zvoleno v nové výdejce")},
        {QStringLiteral("EditP"), QStringLiteral("Příjemka"), QStringLiteral("C"),
         QStringLiteral("Zadejte číslo Příjemky, které má být aut.zvoleno v nové příjemce")},
        {QStringLiteral("EditKasaO"), QStringLiteral("Pokl.doklad otevřený"), QStringLiteral("J"),
         QStringLiteral("Zadejte číslo Otevřeného pokl.dokladu, které má být aut.zvoleno v "
                        "novém pokl.dokl.")},
        {QStringLiteral("EditKasaU"), QStringLiteral("Pokl.doklad uzavřený"), QStringLiteral("K"),
         QStringLiteral("Zadejte číslo uzavřeného pokl.dokladu, které má být aut.zvoleno v "
                        "novém uz.pokl.dokladu")},
        {QStringLiteral("EditZalFaV"), QStringLiteral("Zálohová faktura"), QStringLiteral("FZ"),
         QStringLiteral("Zadejte číslo FaV, které má být aut.zvoleno v nové FaV ")},
    };
    return r;
}

namespace {

Table& tabulkaCisUctu(TDataCis& dm) {
    return TDataCis::sdilena(dm.TableCisUctu, QString::fromUtf16(kTabulkaCisUctu));
}

} // namespace

QMap<QString, qint64> NactiPrvniCisla(TDataCis& dm) {
    QMap<QString, qint64> out;
    Table& t = tabulkaCisUctu(dm);
    if (!t.active()) t.open();
    t.cancelRange();
    t.setFiltered(false);
    for (t.first(); !t.eof(); t.next())
        out.insert(t.field(QStringLiteral("Typ_Uctu")).asString().trimmed().toUpper(),
                   t.field(QStringLiteral("PrvCis")).asInteger());
    return out;
}

void UlozPrvniCisla(TDataCis& dm, const QMap<QString, qint64>& cisla) {
    Table& t = tabulkaCisUctu(dm);
    if (!t.active()) t.open();
    t.setIndexName(QString());
    t.cancelRange();
    t.setFiltered(false);
    Database::Transaction tr(dm.database());
    for (const RadaUctu& r : RadyPrvnichCisel()) {
        if (t.findKey({r.typ})) {
            t.edit();
        } else {
            t.insert();
            t.field(QStringLiteral("Typ_Uctu")).setString(r.typ);
            if (t.hasField(QStringLiteral("Popis")))
                t.field(QStringLiteral("Popis")).setString(r.popisek);
        }
        t.field(QStringLiteral("PrvCis")).setInteger(cisla.value(r.typ, 0));
        t.post();
    }
    tr.commit();
}

} // namespace brix
