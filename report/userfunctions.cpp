#include "userfunctions.h"

#include "expression.h"

#include <cmath>

namespace brix::report {

QString TRadekFunkce::valueText() const {
    if (skipNulls && value.null) return QString();
    if (isText()) return value.text;
    if (value.isEmpty()) return QString();
    int format = numberFormat;
    if (format < 0 || format > 4) format = int(FloatFormat::Fixed);
    return floatToText(value.number, FloatFormat(format), totalDigits, decimals);
}

QString TRadekFunkce::listText() const {
    return description.isEmpty() ? name : name + QStringLiteral(" - ") + description;
}

bool TRadekFunkce::sameDefinition(const TRadekFunkce& o) const {
    return name == o.name && description == o.description && type == o.type &&
           expression == o.expression && initialValue == o.initialValue &&
           resetLevel == o.resetLevel && aggregation == o.aggregation &&
           totalDigits == o.totalDigits && decimals == o.decimals && numberFormat == o.numberFormat;
}

namespace {

TCalcType initialOf(const TRadekFunkce& f) {
    const auto n = lenientNumberIfAny(f.initialValue);
    if (!n) return TCalcType{};
    return TCalcType{f.isText() ? TCalcType::Text : TCalcType::Number, *n, f.initialValue, false};
}

TCalcType numberValue(const TRadekFunkce& f, double v, bool null) {
    return TCalcType{f.isText() ? TCalcType::Text : TCalcType::Number, v, generalText(v), null};
}

} // namespace

void evaluateFunction(TRadekFunkce& f, const ReferenceResolver* resolver) {
    if (f.resetPending) {
        f.value = initialOf(f);
        f.count = 0;
        f.sum = 0.0;
        f.sumOfSquares = 0.0;
        f.resetPending = false;
    }
    TCalcType computed;
    const EvalResult r = evaluate(f.expression, resolver);
    if (r.ok()) computed = r.value;
    const bool skip = f.skipNulls && computed.null;
    const double x = computed.number;
    auto typed = [&](TCalcType v) {
        if (!v.isEmpty()) v.type = f.isText() ? TCalcType::Text : TCalcType::Number;
        return v;
    };
    switch (f.aggregation) {
    case TRadekFunkce::Count:
        if (!skip) ++f.count;
        f.value = numberValue(f, f.count, false);
        break;
    case TRadekFunkce::Sum:
        if (!skip) {
            ++f.count;
            f.sum += x;
        }
        f.value = numberValue(f, f.sum, false);
        break;
    case TRadekFunkce::Average:
        if (!skip) {
            ++f.count;
            f.sum += x;
        }
        f.value = numberValue(f, f.count > 0 ? f.sum / f.count : f.sum, false);
        break;
    case TRadekFunkce::Minimum:
    case TRadekFunkce::Maximum:
        if (!skip) {
            ++f.count;
            const bool better =
                f.aggregation == TRadekFunkce::Minimum ? x < f.value.number : x > f.value.number;
            if (f.count == 1 || better) f.value = typed(computed);
        }
        break;
    case TRadekFunkce::StdDeviation:
    case TRadekFunkce::RelStdDeviation:
        if (!skip) {
            ++f.count;
            f.sum += x;
            f.sumOfSquares += x * x;
        }
        if (f.count > 1) {
            const double n = f.count;
            const double var = std::max(0.0, (f.sumOfSquares - f.sum * f.sum / n) / (n - 1));
            double dev = std::sqrt(var);
            bool empty = false;
            if (f.aggregation == TRadekFunkce::RelStdDeviation) {
                if (f.sum != 0.0)
                    dev = dev * n / f.sum;
                else
                    empty = true;
            }
            f.value = empty || !std::isfinite(dev) ? TCalcType{} : numberValue(f, dev, false);
        } else {
            f.value = TCalcType{};
        }
        break;
    default: // no aggregation
        ++f.count;
        f.value = typed(computed);
        break;
    }
    if (!std::isfinite(f.value.number)) f.value = TCalcType{};
}

TRadekFunkce& TListFunkci::append() {
    TRadekFunkce f;
    f.name = QStringLiteral("Funkce%1").arg(items.size() + 1);
    f.description = f.name;
    items.push_back(f);
    return items.back();
}

void TListFunkci::reset(int level) {
    for (TRadekFunkce& f : items)
        if (level == -1 || f.resetLevel == level) f.resetPending = true;
}

void TListFunkci::evaluateAll(const ReferenceResolver* resolver) {
    for (TRadekFunkce& f : items)
        evaluateFunction(f, resolver);
}

void TListFunkci::setSkipNulls(bool skip) {
    for (TRadekFunkce& f : items)
        f.skipNulls = skip;
}

int TListFunkci::indexOf(QStringView name) const {
    for (int i = 0; i < size(); ++i)
        if (QStringView(items[size_t(i)].name).compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QString TListFunkci::valueText(int index) const {
    if (index < 0 || index >= size()) return QString();
    return items[size_t(index)].valueText();
}

TCalcType TListFunkci::operand(int index) const {
    if (index < 0 || index >= size()) return TCalcType{};
    const TRadekFunkce& f = items[size_t(index)];
    TCalcType v = f.value;
    v.type = f.isText() ? TCalcType::Text : TCalcType::Number;
    return v;
}

} // namespace brix::report
