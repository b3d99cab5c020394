#pragma once
// The list of the report benchmarks: 10,000 products (number, name, price) with a page header,
// a page footer with the page number and the total pages, and a report footer; on the
// character grid, and in a graphic variant in Arial and Times New Roman.

#include "bridge.h"
#include "definition.h"

#include <QString>

namespace brix::report::bench {

constexpr int kListRecords = 10000;

inline ListBridge listData() {
    ListBridge b;
    b.columns = {{QStringLiteral("Cislo"), ftInteger, {}},
                 {QStringLiteral("Nazev"), ftString, {}},
                 {QStringLiteral("Cena"), ftCurrency, {}}};
    for (int i = 1; i <= kListRecords; ++i) {
        const double price = i * 1.25;
        b.rows.push_back({TCalcType::ofNumber(i, QString::number(i)),
                          TCalcType::ofText(QStringLiteral("Výrobek číslo %1").arg(i), 0),
                          TCalcType::ofNumber(price, QString::number(price, 'f', 2))});
    }
    return b;
}

inline QString textElement(const char* section, int kind, const char* ref, int left, int top,
                           int width, const QString& text, int align,
                           const char* font = "Courier New") {
    return QStringLiteral("%1,%2,%3,%4,%5,%6,17,%9,12,0,0,%7,0,238,\"%8\",0,0,0")
        .arg(QLatin1String(section))
        .arg(kind)
        .arg(QLatin1String(ref))
        .arg(left)
        .arg(top)
        .arg(width)
        .arg(align)
        .arg(text, QLatin1String(font));
}

inline TPredloha listTemplate() {
    return TPredloha{QStringLiteral("I,0,\"Seznam výrobků\""),
                     QStringLiteral("I,1,5,42,5"),
                     QStringLiteral("I,2,0,826,1169,50,50,70,70,1,0"),
                     QStringLiteral("I,3,0,1,17,0"),
                     QStringLiteral("I,3,1,1,34,0"),
                     QStringLiteral("I,3,2,1,17,0"),
                     QStringLiteral("I,3,3,1,17,0"),
                     QStringLiteral("I,3,4,1,17,0"),
                     QStringLiteral("I,6,1,10,17,0,0,0,0"),
                     textElement("Z", 1, "0", 0, 0, 400, QStringLiteral("SEZNAM VÝROBKŮ"), 0),
                     textElement("H", 1, "0", 0, 0, 100, QStringLiteral("Číslo"), 1),
                     textElement("H", 1, "0", 120, 0, 300, QStringLiteral("Název"), 0),
                     textElement("H", 1, "0", 500, 0, 200, QStringLiteral("Cena"), 1),
                     textElement("T", 2, "Cislo", 0, 0, 100, QString(), 1),
                     textElement("T", 2, "Nazev", 120, 0, 300, QString(), 0),
                     textElement("T", 2, "Cena", 500, 0, 200, QString(), 1),
                     textElement("P", 5, "3", 0, 0, 100, QStringLiteral("Strana %d"), 0),
                     textElement("P", 5, "4", 90, 0, 100, QStringLiteral("z %d"), 0),
                     textElement("K", 1, "0", 0, 0, 300, QStringLiteral("Konec seznamu"), 0)};
}

// The list on the graphic grid, its texts in Arial and Times New Roman.
inline TPredloha graphicListTemplate() {
    TPredloha t = listTemplate();
    for (QString& line : t) {
        if (line.startsWith(QLatin1String("I,6,"))) line = QStringLiteral("I,6,0,8,8,0,1,0,0");
        line.replace(QLatin1String(",Courier New,"), line.startsWith(QLatin1String("T,2,Nazev"))
                                                         ? QStringLiteral(",Times New Roman,")
                                                         : QStringLiteral(",Arial,"));
    }
    return t;
}

} // namespace brix::report::bench
