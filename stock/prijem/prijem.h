#pragma once
// What the receipt register does without widgets: the import of receipts from a header table
// and an item table of another system, and the work table of the item report.
//
// Promises:
// - Each imported receipt is one transaction: its header (a number no stored receipt has,
//   recorded in the number series), its items and their reservations commit together or not
//   at all. Receipts imported before a failure stay.
// - Both source tables are read through readers that close their files when they go, whatever
//   happens; a table that cannot be read is named in the message.
// - The item report's work table lives under "Prac_Db" of the data root only while the report
//   runs: PracovniTabulka deletes its file whatever happens.

#include "decimal.h"
#include "formats/table.h"
#include "rodiny.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace brix {
class TDataCis;
class Table;
struct KriteriaPolozky;
} // namespace brix

namespace brix::sklad {

// ---- import

struct VysledekImportu {
    int prijemek = 0;       // receipts written
    int polozek = 0;        // items written with them
    QString chyba;          // what stopped the import (empty when it ran through)
    std::vector<int> cisla; // the numbers the imported receipts got, in order
};

// Imports every header of `hlavicky` with its items of `polozky` (matched by CIS_UCTU) as new
// open receipts of kind `druh`, price type "NC"; a header's totals are the sums of the items it
// got. The item table's rules
// reserve each item's quantity as it is saved (while REZERVACE is on).
VysledekImportu ImportPrijemek(TDataCis& dm, const QString& hlavicky, const QString& polozky,
                               const QString& druh);

// ---- the item report's work table

// One row of the item report.
struct RadekPolozkyUctu {
    QString nazevFi; // the header's Nazev
    QDate datPln;    // the header's Dat_Plneni
    qint64 cisUctu = 0;
    QString stav;
    int porCis = 0;
    QString klic; // the main product key's value
    QString nazev;
    Decimal mnozstvi;
    QString druhPol;
    Decimal pcZakl;   // Cena_Zobr
    Decimal pcNettoC; // Cena_ZobrC
};

// The rows of every receipt `hlavicky` shows (its filter and range as they are; its position is
// kept) and every item of it that matches `kriteria`, in header then item order. `klicVyrobku`
// is the main product key field (_HlKlicVyr).
std::vector<RadekPolozkyUctu> PolozkyUctu(TDataCis& dm, Table& hlavicky,
                                          const KriteriaPolozky& kriteria,
                                          const QString& klicVyrobku);

// A Paradox work table under "Prac_Db" of the data root, named by a fresh number (1000000 plus
// a random number below 1000000, drawn again while such a file exists); deleted with its
// object.
class PracovniTabulka {
public:
    explicit PracovniTabulka(const QString& datovyKoren);
    ~PracovniTabulka();
    PracovniTabulka(const PracovniTabulka&) = delete;
    PracovniTabulka& operator=(const PracovniTabulka&) = delete;

    // Writes the rows (fields of the item report; the key field named `klicVyrobku`); false with
    // chyba() when the file cannot be written.
    bool zapis(const std::vector<RadekPolozkyUctu>& radky, const QString& klicVyrobku);
    const QString& cesta() const { return cesta_; }
    const QString& chyba() const { return chyba_; }

private:
    QString cesta_;
    QString chyba_;
};

// The fields of the item report's work table.
QList<formats::FieldDef> PolePolozekUctu(const QString& klicVyrobku);

} // namespace brix::sklad
