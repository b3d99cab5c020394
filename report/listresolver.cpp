#include "listresolver.h"

#include "formatting.h"

namespace brix::report {

TCalcType ListResolver::parameterValue(const QString& text) {
    return TCalcType{TCalcType::Text, lenientNumber(text), text, false};
}

TCalcType ListResolver::reference(int code) const {
    if (code >= kVariableBase) {
        const int n = code - kVariableBase;
        if (n < variables.size()) {
            TCalcType v = variables[n];
            v.type = TCalcType::Number;
            v.null = false;
            return v;
        }
    } else if (code >= kFunctionBase) {
        const int n = code - kFunctionBase;
        if (functions && n < functions->size()) return functions->operand(n);
    } else if (code >= kFieldBase) {
        const int n = code - kFieldBase;
        if (n < fields.size()) return fields[n].value;
    } else if (code >= kParameterBase) {
        const int n = code - kParameterBase;
        if (n < parameters.size()) return parameterValue(parameters[n]);
    }
    return TCalcType{};
}

int ListResolver::fieldIndex(QStringView name) const {
    for (int i = 0; i < fields.size(); ++i)
        if (QStringView(fields[i].name).compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int ListResolver::functionIndex(QStringView name) const {
    return functions ? functions->indexOf(name) : -1;
}

} // namespace brix::report
