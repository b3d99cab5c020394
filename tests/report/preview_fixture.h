#pragma once
// Reports for the tests of the report windows: a product list on the graphic grid (report
// header, page header, a body of number, name and price, page footer "Strana %d") over rows in
// memory, with as many pages as asked (one record more than fits on each page before the last).

#include "bridge.h"
#include "export_fixture.h"
#include "sestava.h"

#include <memory>

namespace brix::test {

// Landscape turns the paper; bodyPerPage puts each record on a page of its own.
inline QStringList previewTemplate(bool landscape = false) {
    QStringList t{QStringLiteral("I,0,\"Seznam zboží\""),
                  QStringLiteral("I,1,5,42,5"),
                  QStringLiteral("I,2,%1,826,1169,50,50,70,70,1,0").arg(landscape ? 1 : 0),
                  QStringLiteral("I,3,0,1,30,0"),
                  QStringLiteral("I,3,1,1,30,0"),
                  QStringLiteral("I,3,2,1,20,0"),
                  QStringLiteral("I,3,3,1,20,0"),
                  QStringLiteral("I,3,4,1,30,0"),
                  QStringLiteral("I,6,0,8,8,0,1,0,0")};
    t << textLine("Z", 1, "0", 0, 0, 500, 25, "Arial", 14, 0, 1, 0, 0,
                  QStringLiteral("SEZNAM ZBOŽÍ"));
    t << textLine("H", 1, "0", 0, 0, 100, 20, "Arial", 10, 0, 1, 1, 8, QStringLiteral("Číslo"));
    t << textLine("H", 1, "0", 120, 0, 300, 20, "Arial", 10, 0, 1, 0, 8, QStringLiteral("Název"));
    t << textLine("H", 1, "0", 500, 0, 200, 20, "Arial", 10, 0, 1, 1, 8, QStringLiteral("Cena"));
    t << textLine("T", 2, "Cislo", 0, 0, 100, 18, "Arial", 10, 0, 0, 1, 0, QString());
    t << textLine("T", 2, "Nazev", 120, 0, 300, 18, "Times New Roman", 10, 0, 0, 0, 0, QString());
    t << textLine("T", 2, "Cena", 500, 0, 200, 18, "Arial", 10, 0, 0, 1, 0, QString());
    t << textLine("K", 1, "0", 0, 0, 300, 18, "Arial", 10, 0, 2, 0, 0,
                  QStringLiteral("Konec seznamu"));
    t << textLine("P", 5, "3", 0, 5, 200, 18, "Arial", 8, 0, 0, 0, 0, QStringLiteral("Strana %d"));
    return t;
}

// Rows "Výrobek n" (the first "Šroub M8") with prices.
inline std::unique_ptr<report::ListBridge> previewData(int records) {
    auto b = std::make_unique<report::ListBridge>();
    b->columns = {{QStringLiteral("Cislo"), report::ftInteger, {}},
                  {QStringLiteral("Nazev"), report::ftString, {}},
                  {QStringLiteral("Cena"), report::ftCurrency, {}}};
    for (int i = 1; i <= records; ++i) {
        const double price = i * 1.25;
        b->rows.push_back(
            {report::TCalcType::ofNumber(i, QString::number(i)),
             report::TCalcType::ofText(
                 i == 1 ? QStringLiteral("Šroub M8") : QStringLiteral("Výrobek %1").arg(i), 0),
             report::TCalcType::ofNumber(price, QString::number(price, 'f', 2))});
    }
    return b;
}

// Records for a list of that many pages (two or more): 46 records on the first page (below the
// report header), 48 on each further one, 20 and the report footer on the last.
inline int recordsForPages(int pages) {
    return 46 + 48 * (pages - 2) + 20;
}

struct PreviewReport {
    std::unique_ptr<report::ListBridge> data;
    std::unique_ptr<report::TSestava> report = std::make_unique<report::TSestava>();
};

inline PreviewReport previewReport(int records, bool landscape = false) {
    guiApp();
    PreviewReport r;
    r.data = previewData(records);
    r.report->IsStored = true;
    r.report->setPredloha(previewTemplate(landscape));
    r.report->DataSource = r.data.get();
    return r;
}

} // namespace brix::test
