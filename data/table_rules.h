#pragma once
// The rules the data module hangs on its shared tables, one function per kind of rule. Each
// attaches to the cursor's notifications; a document family configures its tables by calling
// them once, when the data module is created (one call per rule).

#include "decimal.h"
#include "table.h"

#include <QSet>
#include <QVariant>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace brix {

// ---- defaults on insert: field := value when a new record is begun (fields the table lacks
// are skipped, so an older data root still inserts).
void vychoziHodnoty(Table& table, std::vector<std::pair<QString, QVariant>> values);

// ---- before / after post
void predUlozenim(Table& table, TableHandler effect);
void poUlozeni(Table& table, TableHandler effect);
// After every post the table's buffers are written to disk.
void zapisPoUlozeni(Table& table);
// Before post the timestamp field := now.
void casZmenyPredUlozenim(Table& table, const QString& field = QStringLiteral("Posl_Zmena"));

// ---- remembered item values: taken from the row when it enters edit, zero for a new row. The
// entry forms take the item's old share out of the header totals with them.
enum class HodnotaPolozky { PC_NettoC, Cena_CiziC, Hmotnost, DPH, Mnozstvi, Cena_SklC, Cena_ZobrC };
struct PuvodniHodnoty {
    Decimal PC_NettoC;
    Decimal Cena_CiziC;
    Decimal Hmotnost; // Mnozstvi x JHmotnost
    int DPH = 0;      // the VAT rate as a whole number
    Decimal Mnozstvi;
    Decimal Cena_SklC;
    Decimal Cena_ZobrC;
};
// The values live in `store`, owned by the data module.
void zapamatujHodnotyPolozky(Table& items, std::vector<HodnotaPolozky> which,
                             std::shared_ptr<PuvodniHodnoty> store);

// ---- cascades before a header is deleted
enum class ZpusobMazaniPolozek {
    EditAKSmazat,  // while the items have rows: put the current item into edit and delete it
    OdPrvnihoEdit, // from the first item, while not at the end: edit and delete
    Smazat         // while the items have rows: delete the current item
};
// `items` is the header's detail cursor (linked to it); each item deletion runs the item's own
// rules. A closed item cursor is opened for the cascade and closed again.
void kaskadaPredSmazanimHlavicky(Table& header, Table& items, ZpusobMazaniPolozek how);

// ---- before an item is deleted: the steps run in order.
void predSmazanim(Table& table, TableHandler step);
// Deletes every row of `detail` that belongs to the current row of `item` (by the given
// fields, "Cis_Uctu;PorCis" of the detail = "CIS_UCTU;PorCis" of the item), through `detail`
// itself, so that its own rules run. A closed detail is opened and closed again.
void smazPodrizene(Table& item, Table& detail, const QString& itemFields,
                   const QString& detailFields);
// Sets the fields to zero (the item is put into edit first when it is browsed).
void vynulujPole(Table& item, const QStringList& fields);

// ---- after open / before close: after open any key range is cancelled; before close the
// index becomes the last one whose field list begins with CIS_UCTU.
void rozsahAIndexDokladu(Table& table);

// ---- calculated fields: the field is added to the cursor (unless the table has it) and
// `compute` gives the calculated fields their values for each record.
void vypocitanaPole(Table& table, const std::vector<FieldDef>& fields, TableHandler compute);

// ---- marked records of a register: while set, the table accepts a record only if the value
// of `keyField` is among the marked keys (compared as text without trailing blanks).
void filtrOznacenych(Table& table, const QString& keyField, const QSet<QString>& marked);
void zrusFiltrOznacenych(Table& table);

// ---- the state text of a form's status bar
QString StavovyText(TableState state); // "Prohlížení", "Edit", "Insert", "Jiný stav"
// Writes the state text of the table into panel `panel` whenever the state changes (and once at
// once); answers an id for odpojStavovyText, which the form calls when it is destroyed.
int pripojStavovyText(Table& table, int panel,
                      std::function<void(int panel, const QString& text)> write);
void odpojStavovyText(Table& table, int id);

} // namespace brix
