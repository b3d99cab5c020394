#pragma once
// The expression language of report templates: tokenizer and evaluator with an operator and an
// operand stack, the built-in functions, references to parameters, fields, user functions and
// system variables, and the comma-separated item lists of pictures, barcodes and IN.

#include "calctype.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace brix::report {

// Answers the references of an expression. The running report implements it; codes are
// kParameterBase + n, kFieldBase + n, kFunctionBase + n and kVariableBase + n with n 0-based.
// A reference outside its list gives an empty value of type 0.
class ReferenceResolver {
public:
    static constexpr int kParameterBase = 2000;
    static constexpr int kFieldBase = 4000;
    static constexpr int kFunctionBase = 6000;
    static constexpr int kVariableBase = 8000;

    virtual ~ReferenceResolver() = default;
    virtual TCalcType reference(int code) const = 0;
    // Position of a field or user function by name, ignoring case; -1 when absent.
    virtual int fieldIndex(QStringView name) const {
        Q_UNUSED(name);
        return -1;
    }
    virtual int functionIndex(QStringView name) const {
        Q_UNUSED(name);
        return -1;
    }
};

enum ExpressionError {
    ErrNone = 0,
    ErrUnknownName = 1,
    ErrSyntax = 2,
    ErrTooComplex = 3,
    ErrUnmatchedClose = 4,
    ErrUnclosedParen = 5,
    ErrArithmetic = 6,
    ErrBadNumber = 7,
    ErrArgumentCount = 10,
    ErrComma = 11,
    ErrUnterminatedText = 12,
    ErrUnterminatedList = 13,
};

struct EvalResult {
    TCalcType value;
    int error = ErrNone;
    // 0-based index of the character at which the error was found.
    int position = 0;
    bool ok() const { return error == ErrNone; }
};

// Most operators and most operands stacked at once.
constexpr int kMaxStack = 40;

EvalResult evaluate(QStringView expression, const ReferenceResolver* resolver);
// The result's text, or an empty text on any error (group expressions).
QString evaluateText(QStringView expression, const ReferenceResolver* resolver);

// The items of a comma-separated list: 'text' literals, references, or plain text up to the
// next comma (its number the lenient reading). With `variables` false a % item is plain text
// (picture and barcode lists).
QList<TCalcType> listItems(QStringView list, const ReferenceResolver* resolver,
                           bool variables = true);
// The texts of a picture or barcode list.
QStringList itemList(QStringView list, const ReferenceResolver* resolver);

struct BuiltinFunction {
    int number; // 1 to 40
    const char* name;
    int arguments;
};
// The 40 built-in functions in number order.
const QList<BuiltinFunction>& builtinFunctions();

} // namespace brix::report
