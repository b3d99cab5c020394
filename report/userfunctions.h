#pragma once
// User functions of a template ("F" lines): an expression evaluated for every record, with an
// optional aggregation and a reset level.

#include "calctype.h"
#include "formatting.h"

#include <QString>

#include <vector>

namespace brix::report {

class ReferenceResolver;

struct TRadekFunkce {
    enum Type { NumberType = 0, TextType = 1 };
    enum Aggregation {
        None = 0,
        Count = 1,
        Sum = 2,
        Average = 3,
        Minimum = 4,
        Maximum = 5,
        StdDeviation = 6,
        RelStdDeviation = 7
    };
    // Reset levels: 0 start of the report, 1 every page, g + 2 every change of group g.
    enum ResetLevel { ResetReport = 0, ResetPage = 1, ResetFirstGroup = 2 };

    QString name;
    QString description;
    int type = NumberType;
    QString expression;
    QString initialValue = QStringLiteral("0");
    int resetLevel = ResetReport;
    int aggregation = None;
    int totalDigits = 15;
    int decimals = 2;
    int numberFormat = int(FloatFormat::Fixed);

    // Run state.
    TCalcType value;
    int count = 0;
    double sum = 0.0;
    double sumOfSquares = 0.0;
    bool resetPending = false;
    bool skipNulls = false;

    bool isText() const { return type == TextType; }
    // The text a function element shows.
    QString valueText() const;
    // "name - description" as the designer lists it.
    QString listText() const;

    // The definition without the run state.
    bool sameDefinition(const TRadekFunkce& o) const;
};

class TListFunkci {
public:
    std::vector<TRadekFunkce> items;

    int size() const { return int(items.size()); }
    bool empty() const { return items.empty(); }
    void clear() { items.clear(); }
    TRadekFunkce& operator[](int i) { return items[size_t(i)]; }
    const TRadekFunkce& operator[](int i) const { return items[size_t(i)]; }

    // Appends a function with the default name "Funkce" + its number.
    TRadekFunkce& append();
    // Marks for reset the functions of the level; -1 marks all.
    void reset(int level);
    // Evaluates every function for the current record, in list order; the resolver sees the
    // values already computed for this record.
    void evaluateAll(const ReferenceResolver* resolver);
    void setSkipNulls(bool skip);
    // Position by name ignoring case, -1 when absent.
    int indexOf(QStringView name) const;
    QString valueText(int index) const;
    // The value of @n as an operand.
    TCalcType operand(int index) const;
};

// One evaluation step of a single function (exposed for tests).
void evaluateFunction(TRadekFunkce& f, const ReferenceResolver* resolver);

} // namespace brix::report
