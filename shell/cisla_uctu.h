#pragma once
// The first numbers of the document series ("Cis_uctu"): the nine types the first-numbers form
// sets, reading their numbers and writing them back.

#include <QMap>
#include <QString>
#include <QVector>

#include <optional>

namespace brix {

class TDataCis;

inline constexpr char16_t kTabulkaCisUctu[] = u"Ciselnik\\Cis_uctu";

struct RadaUctu {
    QString pole;    // the form's field: "EditDL"
    QString popisek; // its label: "Dodací list"
    QString typ;     // `Typ_Uctu`: "DL"
    QString napoveda;
};
// In the order of the form; the rows are written in this order.
const QVector<RadaUctu>& RadyPrvnichCisel();

// `PrvCis` of every row of the shared table `TableCisUctu` (opened when closed, its range and
// filter removed), by `Typ_Uctu` (upper case).
QMap<QString, qint64> NactiPrvniCisla(TDataCis& dm);
// Writes `PrvCis` of the nine types (a missing value stores 0), inserting missing rows, in one
// transaction, through the shared table.
void UlozPrvniCisla(TDataCis& dm, const QMap<QString, qint64>& cisla);

} // namespace brix
