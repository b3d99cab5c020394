#pragma once
// The list print of a register: the template name of its "&Tisk" item found under the data
// root, the register's table as the report's data and the own company's lines as its first
// parameters, shown through the report component. Every register of the program prints so.

#include "sestava.h"

#include <memory>

class QWidget;

namespace brix {

class Table;
class TableReportSource;

// The template's file under the data root: the names are relative to it even when written with
// a leading backslash, and their capitalisation does not matter. Empty when the name is empty
// or leads out of the data root.
QString CestaSablony(const QString& datovyKoren, const QString& jmeno);

// The Czech text of a report result code that is not 0.
QString TextChybySestavy(int kod, const QString& sablona);
// Shows the text of a failed report operation (caption "Chyba"); a cancel and a missing template
// (which the component has reported) show nothing. True when something was shown.
bool OhlasChybuSestavy(int kod, const QString& sablona);

// A report component of a register: the table as its data, the own company's lines first among
// its parameters, template names, its INI file and printed files relative to the data root.
void NastavSestavuRegistru(report::TSestava& sestava, Table& table, report::TBridge* zdroj);

class TiskSeznamu {
public:
    // `sablona`: the template name as the register gives it ("ciselnik\SkontoSeznz.pts").
    TiskSeznamu(Table& table, const QString& sablona);
    ~TiskSeznamu();

    // The template's file under the data root (empty when the name leads out of it).
    const QString& cesta() const { return cesta_; }
    report::TSestava& sestava() { return sestava_; }

    // Loads the template; a missing template has been reported (false).
    bool nactiSablonu();
    // The preview with its print command; answers the report's result code. A failure of the
    // report component is shown once (caption "Chyba").
    int nahled();

private:
    QString sablona_;
    QString cesta_;
    std::unique_ptr<TableReportSource> zdroj_;
    report::TSestava sestava_;
    bool ohlaseno_ = false;
};

// "&Tisk" → a list item: the template and the table through TiskSeznamu.
int TiskniSeznam(Table& table, const QString& sablona);

// "&Tisk" → "&Tiskový správce": the print manager of the templates adresar + prefix + "*.pts"
// (adresar relative to the data root, any case) over the table, "Tisk do souboru" on the
// settings' printer. Gives the window's result.
int OtevriSpravceTisku(Table& table, const QString& adresar, const QString& prefix,
                       QWidget* parent = nullptr);

} // namespace brix
