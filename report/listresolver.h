#pragma once
// A reference resolver over plain lists: named fields with their values, parameter texts, a
// user-function list and system-variable values. Serves batch evaluation, the tests and any
// caller that has its values at hand.

#include "expression.h"
#include "userfunctions.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace brix::report {

class ListResolver : public ReferenceResolver {
public:
    struct Field {
        QString name;
        TCalcType value;
    };

    QList<Field> fields;
    QStringList parameters;
    const TListFunkci* functions = nullptr;
    QList<TCalcType> variables;

    TCalcType reference(int code) const override;
    int fieldIndex(QStringView name) const override;
    int functionIndex(QStringView name) const override;

    // A parameter's value: the text, its lenient number, type 2, never null.
    static TCalcType parameterValue(const QString& text);
};

} // namespace brix::report
