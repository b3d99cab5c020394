#pragma once
// The list print of a code list: the template name of the "&Tisk" item found under the data
// root, the register's table as the report's data and the own company's lines as its first
// parameters, shown through the report component.

#include "sestava.h"

#include <memory>

namespace brix {

class Table;
class TableReportSource;

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
    // report component is shown (caption "Chyba").
    int nahled();

private:
    QString cesta_;
    std::unique_ptr<TableReportSource> zdroj_;
    report::TSestava sestava_;
};

// "&Tisk" → a list item of a code list: the template and the table through TiskSeznamu.
void TiskniSeznam(Table& table, const QString& sablona);

} // namespace brix
