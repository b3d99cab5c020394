// Expression evaluator, item lists, user functions and the number and date pictures: any text
// evaluates or fails with a code and a position inside the text, never crashes.

#include "expression.h"
#include "formatting.h"
#include "listresolver.h"
#include "userfunctions.h"

#include <cstdint>
#include <cstdlib>

using namespace brix::report;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));

    TListFunkci functions;
    for (int agg = 0; agg <= 7; ++agg) {
        TRadekFunkce& f = functions.append();
        f.expression = text;
        f.aggregation = agg;
        f.type = agg == 1 ? 1 : 0;
        f.numberFormat = agg % 5;
        f.totalDigits = agg * 3;
        f.decimals = agg;
    }
    ListResolver r;
    r.fields = {
        {QStringLiteral("Cena"), TCalcType{1, 20.5, QStringLiteral("20,5"), false}},
        {QStringLiteral("Nazev"), TCalcType{2, 0, QStringLiteral("Žluťoučký kůň"), false}},
        {QStringLiteral("Datum"), TCalcType{0, 46365.75, QStringLiteral("09.12.2026"), false}},
        {QStringLiteral("Prazdne"), TCalcType{1, 0, QString(), true}}};
    r.parameters = {QStringLiteral("12,5"), QStringLiteral("text")};
    r.functions = &functions;
    r.variables = {TCalcType{1, 46365.5, QStringLiteral("9.12.2026"), false},
                   TCalcType{1, 3, QStringLiteral("3"), false}};

    const EvalResult res = evaluate(text, &r);
    if (!res.ok() && (res.position < 0 || res.position > text.size())) std::abort();
    evaluateText(text, &r);
    listItems(text, &r, true);
    itemList(text, &r);

    functions.reset(-1);
    functions.setSkipNulls(size % 2 == 1);
    for (int record = 0; record < 3; ++record) {
        functions.evaluateAll(&r);
        for (int i = 0; i < functions.size(); ++i)
            functions.valueText(i);
    }

    const double values[] = {0.0, -1234.5678, 1e300, 46365.75, -0.5, 1e-320};
    for (double v : values) {
        formatNumberPicture(v, text);
        formatDateTimePicture(v, text);
    }
    lenientNumber(text);
    return 0;
}
