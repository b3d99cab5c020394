#pragma once
// The value record of the expression language: every operand, result, element value and
// user-function value carries a type, a number, a text and a null flag.

#include <QString>

namespace brix::report {

struct TCalcType {
    enum Type { Untyped = 0, Number = 1, Text = 2, List = 5 };

    int type = Untyped;
    // Dates and times are day numbers: whole days since 30 December 1899, time as the fraction.
    double number = 0.0;
    QString text;
    bool null = false;

    static TCalcType ofNumber(double v, const QString& text, bool isNull = false) {
        return TCalcType{Number, v, text, isNull};
    }
    static TCalcType ofText(const QString& text, double v, bool isNull = false) {
        return TCalcType{Text, v, text, isNull};
    }
    bool isEmpty() const { return type == Untyped && number == 0.0 && text.isEmpty(); }

    friend bool operator==(const TCalcType&, const TCalcType&) = default;
};

} // namespace brix::report
