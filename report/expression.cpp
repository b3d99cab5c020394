#include "expression.h"

#include "codec.h"
#include "formatting.h"

#include <QDate>
#include <QTime>

#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

namespace brix::report {

namespace {

enum Func {
    FAbs = 1,
    FInt,
    FSgn,
    FMax,
    FMin,
    FIif,
    FLeft,
    FRight,
    FSubstr,
    FUpper,
    FLower,
    FLtrim,
    FRtrim,
    FAlltrim,
    FFormat,
    FSin,
    FCos,
    FTan,
    FCotg,
    FExp,
    FLog,
    FAsin,
    FAcos,
    FAtan,
    FAcotg,
    FChr,
    FOrd,
    FLength,
    FPos,
    FIsnull,
    FYear,
    FMonth,
    FDay,
    FHour,
    FMinute,
    FSecond,
    FFormatdt,
    FStrtonum,
    FNumtostr,
    FRound
};

const QList<BuiltinFunction> kFunctions = {
    {FAbs, "ABS", 1},           {FInt, "INT", 1},           {FSgn, "SGN", 1},
    {FMax, "MAX", 2},           {FMin, "MIN", 2},           {FIif, "IIF", 3},
    {FLeft, "LEFT", 2},         {FRight, "RIGHT", 2},       {FSubstr, "SUBSTR", 3},
    {FUpper, "UPPER", 1},       {FLower, "LOWER", 1},       {FLtrim, "LTRIM", 1},
    {FRtrim, "RTRIM", 1},       {FAlltrim, "ALLTRIM", 1},   {FFormat, "FORMAT", 2},
    {FSin, "SIN", 1},           {FCos, "COS", 1},           {FTan, "TAN", 1},
    {FCotg, "COTG", 1},         {FExp, "EXP", 1},           {FLog, "LOG", 1},
    {FAsin, "ASIN", 1},         {FAcos, "ACOS", 1},         {FAtan, "ATAN", 1},
    {FAcotg, "ACOTG", 1},       {FChr, "CHR", 1},           {FOrd, "ORD", 1},
    {FLength, "LENGTH", 1},     {FPos, "POS", 2},           {FIsnull, "ISNULL", 1},
    {FYear, "YEAR", 1},         {FMonth, "MONTH", 1},       {FDay, "DAY", 1},
    {FHour, "HOUR", 1},         {FMinute, "MINUTE", 1},     {FSecond, "SECOND", 1},
    {FFormatdt, "FORMATDT", 2}, {FStrtonum, "STRTONUM", 1}, {FNumtostr, "NUMTOSTR", 1},
    {FRound, "ROUND", 1},
};

// Binary operators and their precedence levels.
enum Operator {
    OpEq,
    OpNe,
    OpLt,
    OpGt,
    OpLe,
    OpGe,
    OpIn,
    OpAdd,
    OpSub,
    OpOr,
    OpMul,
    OpDiv,
    OpAnd,
    OpPow,
    OpNeg,
    OpNot
};

int precedence(int op) {
    switch (op) {
    case OpEq:
    case OpNe:
    case OpLt:
    case OpGt:
    case OpLe:
    case OpGe:
    case OpIn:
        return 1;
    case OpAdd:
    case OpSub:
    case OpOr:
        return 2;
    case OpMul:
    case OpDiv:
    case OpAnd:
        return 3;
    case OpPow:
        return 4;
    default:
        return 5;
    }
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
bool isAsciiLetter(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}
bool isWordChar(QChar c) {
    return isAsciiLetter(c) || c == QLatin1Char('@');
}
bool isNameStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}
bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}
bool isSpace(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
}
bool isPrefix(QChar c) {
    return c == QLatin1Char('#') || c == QLatin1Char('&') || c == QLatin1Char('@') ||
           c == QLatin1Char('%');
}

TCalcType truth(bool b, bool null) {
    return TCalcType{TCalcType::Number, b ? 1.0 : 0.0,
                     b ? QStringLiteral("1") : QStringLiteral("0"), null};
}
TCalcType numeric(double v, bool null) {
    if (v == 0.0) v = 0.0; // no negative zero
    return TCalcType{TCalcType::Number, v, generalText(v), null};
}
TCalcType textual(const QString& s, double number, bool null) {
    return TCalcType{TCalcType::Text, number, s, null};
}

struct Failure {
    int error;
    int position;
};

// A reference token at `pos`: gives the resolver code or a failure. `end` receives the index
// after the token.
std::optional<int> referenceCode(QStringView s, int pos, const ReferenceResolver* r, int* end,
                                 bool* unknown) {
    *unknown = false;
    const QChar prefix = s[pos];
    int base = 0;
    switch (prefix.unicode()) {
    case '#':
        base = ReferenceResolver::kFieldBase;
        break;
    case '&':
        base = ReferenceResolver::kParameterBase;
        break;
    case '@':
        base = ReferenceResolver::kFunctionBase;
        break;
    default:
        base = ReferenceResolver::kVariableBase;
        break;
    }
    int i = pos + 1;
    const int n = s.size();
    if (i < n && isDigit(s[i])) {
        int v = 0;
        int k = 0;
        while (i < n && k < 3 && isDigit(s[i])) {
            v = v * 10 + (s[i].unicode() - '0');
            ++i;
            ++k;
        }
        *end = i;
        return v == 0 ? -1 : base + v - 1; // item 0 is outside every list
    }
    if ((prefix == QLatin1Char('#') || prefix == QLatin1Char('@')) && i < n && isNameStart(s[i])) {
        const int start = i;
        while (i < n && isNameChar(s[i]))
            ++i;
        *end = i;
        const QStringView name = s.mid(start, i - start);
        const int idx = !r                           ? -1
                        : prefix == QLatin1Char('#') ? r->fieldIndex(name)
                                                     : r->functionIndex(name);
        if (idx < 0) {
            *unknown = true;
            return std::nullopt;
        }
        return base + idx;
    }
    *end = i;
    *unknown = true;
    return std::nullopt;
}

TCalcType resolve(const ReferenceResolver* r, int code) {
    return r && code >= 0 ? r->reference(code) : TCalcType{};
}

bool anyNull(const std::vector<TCalcType>& a) {
    for (const auto& v : a)
        if (v.null) return true;
    return false;
}

// Evaluates a built-in function; gives an arithmetic failure as nullopt.
std::optional<TCalcType> callFunction(int f, const std::vector<TCalcType>& a) {
    const bool null0 = a[0].null;
    const double x = a[0].number;
    auto num = [&](double v) -> std::optional<TCalcType> {
        if (!std::isfinite(v)) return std::nullopt;
        return numeric(v, null0);
    };
    auto text = [&](const QString& s, bool null) { return textual(s, lenientNumber(s), null); };
    auto isTrimmed = [](QChar c) { return c.unicode() <= 32; };
    switch (f) {
    case FAbs:
        return num(std::fabs(x));
    case FInt:
        return num(std::trunc(x));
    case FSgn:
        return num(x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0));
    case FMax:
    case FMin: {
        const bool first = f == FMax ? a[0].number >= a[1].number : a[0].number <= a[1].number;
        return numeric(first ? a[0].number : a[1].number, anyNull(a));
    }
    case FIif: {
        const TCalcType& pick = x > 0 ? a[1] : a[2];
        const bool bothText = a[1].type == TCalcType::Text && a[2].type == TCalcType::Text;
        return TCalcType{bothText ? TCalcType::Text : TCalcType::Number, pick.number, pick.text,
                         anyNull(a)};
    }
    case FLeft:
    case FRight: {
        const QString& s = a[0].text;
        const int k = std::max(0, clampToInt(roundHalfEven(a[1].number)));
        return text(f == FLeft ? s.left(k) : s.right(k), anyNull(a));
    }
    case FSubstr: {
        const QString& s = a[0].text;
        int from = clampToInt(roundHalfEven(a[1].number));
        const int count = clampToInt(roundHalfEven(a[2].number));
        if (from < 1) from = 1;
        QString r;
        if (count > 0 && from <= s.size())
            r = s.mid(from - 1, std::min<qsizetype>(count, s.size() - (from - 1)));
        return text(r, anyNull(a));
    }
    case FUpper:
        return textual(reportLocale().toUpper(a[0].text), x, null0);
    case FLower:
        return textual(reportLocale().toLower(a[0].text), x, null0);
    case FLtrim:
    case FRtrim:
    case FAlltrim: {
        QString s = a[0].text;
        if (f != FRtrim) {
            int i = 0;
            while (i < s.size() && isTrimmed(s[i]))
                ++i;
            s.remove(0, i);
        }
        if (f != FLtrim) {
            int j = s.size();
            while (j > 0 && isTrimmed(s[j - 1]))
                --j;
            s.truncate(j);
        }
        return text(s, null0);
    }
    case FFormat:
        return textual(formatNumberPicture(x, a[1].text), x, anyNull(a));
    case FSin:
        return num(std::sin(x));
    case FCos:
        return num(std::cos(x));
    case FTan: {
        const double c = std::cos(x);
        if (c == 0.0) return std::nullopt;
        return num(std::sin(x) / c);
    }
    case FCotg: {
        const double sn = std::sin(x);
        if (sn == 0.0) return std::nullopt;
        return num(std::cos(x) / sn);
    }
    case FExp:
        return num(std::exp(x));
    case FLog:
        if (!(x > 0)) return std::nullopt;
        return num(std::log(x));
    case FAsin:
    case FAcos:
        if (!(x >= -1.0 && x <= 1.0)) return std::nullopt;
        return num(f == FAsin ? std::asin(x) : std::acos(x));
    case FAtan:
        return num(std::atan(x));
    case FAcotg:
        return num(std::numbers::pi / 2 - std::atan(x));
    case FChr: {
        const int code = clampToInt(roundHalfEven(x));
        QString s;
        if (code >= 1 && code <= 255) {
            const char byte = char(code);
            s = decode(QByteArrayView(&byte, 1), Codepage::Cp1250);
        }
        return textual(s, x, null0);
    }
    case FOrd: {
        double code = 0;
        if (!a[0].text.isEmpty()) {
            const QByteArray b = encode(QStringView(a[0].text).left(1), Codepage::Cp1250);
            code = b.isEmpty() ? 0 : double(quint8(b[0]));
        }
        return numeric(code, null0);
    }
    case FLength:
        return TCalcType{TCalcType::Number, double(a[0].text.size()), QString(), null0};
    case FPos: {
        const QString& s = a[0].text;
        const int p = s.isEmpty() ? 0 : int(a[1].text.indexOf(s)) + 1;
        return TCalcType{TCalcType::Number, double(p), QString(), anyNull(a)};
    }
    case FIsnull:
        return TCalcType{TCalcType::Number, null0 ? 1.0 : 0.0, QString(), false};
    case FYear:
    case FMonth:
    case FDay:
    case FHour:
    case FMinute:
    case FSecond: {
        QDate d;
        int ms = 0;
        if (!splitDayNumber(x, &d, &ms)) return std::nullopt;
        const QTime t = QTime::fromMSecsSinceStartOfDay(ms);
        int v = 0;
        switch (f) {
        case FYear:
            v = d.year();
            break;
        case FMonth:
            v = d.month();
            break;
        case FDay:
            v = d.day();
            break;
        case FHour:
            v = t.hour();
            break;
        case FMinute:
            v = t.minute();
            break;
        default:
            v = t.second();
            break;
        }
        return TCalcType{TCalcType::Number, double(v), QString::number(v), null0};
    }
    case FFormatdt: {
        const auto s = formatDateTimePicture(x, a[1].text);
        if (!s) return std::nullopt;
        return textual(*s, x, anyNull(a));
    }
    case FStrtonum:
        return TCalcType{TCalcType::Number, lenientNumber(a[0].text), a[0].text, null0};
    case FNumtostr:
        return textual(generalText(x), x, null0);
    case FRound:
        return num(roundHalfEven(x));
    }
    return std::nullopt;
}

struct OpEntry {
    enum Kind { Binary, Unary, Paren, FuncParen } kind;
    int op = 0;       // operator, or function number
    int position = 0; // where it stands in the text
    int arguments = 1;
};

class Evaluator {
public:
    Evaluator(QStringView s, const ReferenceResolver* r) : s_(s), r_(r) {}
    EvalResult run();

private:
    enum Prev { Start, Operand, BinaryOp, UnaryOp, OpenParen, Comma };

    bool pushOperand(TCalcType v, int pos);
    bool pushOp(OpEntry e);
    bool reduceOne();
    bool reduceWhile(int minPrecedence);
    bool binary(int op, int pos);
    bool fail(int error, int pos) {
        if (!failure_) failure_ = Failure{error, pos};
        return false;
    }

    QStringView s_;
    const ReferenceResolver* r_;
    std::vector<TCalcType> operands_;
    std::vector<OpEntry> ops_;
    std::optional<Failure> failure_;
};

bool Evaluator::pushOperand(TCalcType v, int pos) {
    if (int(operands_.size()) >= kMaxStack) return fail(ErrTooComplex, pos);
    operands_.push_back(std::move(v));
    return true;
}

bool Evaluator::pushOp(OpEntry e) {
    if (int(ops_.size()) >= kMaxStack) return fail(ErrTooComplex, e.position);
    ops_.push_back(e);
    return true;
}

bool Evaluator::binary(int op, int pos) {
    if (operands_.size() < 2) return fail(ErrSyntax, pos);
    TCalcType b = std::move(operands_.back());
    operands_.pop_back();
    TCalcType a = std::move(operands_.back());
    operands_.pop_back();
    const bool null = a.null || b.null;
    TCalcType r;
    switch (op) {
    case OpEq:
    case OpNe: {
        const bool eq = (a.type == TCalcType::Text && b.type == TCalcType::Text)
                            ? a.text == b.text
                            : a.number == b.number;
        r = truth(op == OpEq ? eq : !eq, null);
        break;
    }
    case OpLt:
        r = truth(a.number < b.number, null);
        break;
    case OpGt:
        r = truth(a.number > b.number, null);
        break;
    case OpLe:
        r = truth(a.number <= b.number, null);
        break;
    case OpGe:
        r = truth(a.number >= b.number, null);
        break;
    case OpIn: {
        bool found = false;
        for (const TCalcType& item : listItems(b.text, r_, true)) {
            if (item.text == a.text || (item.number != 0.0 && item.number == a.number)) {
                found = true;
                break;
            }
        }
        r = truth(found, null);
        break;
    }
    case OpAnd:
        r = truth(a.number > 0 && b.number > 0, null);
        break;
    case OpOr:
        r = truth(a.number > 0 || b.number > 0, null);
        break;
    case OpAdd: {
        const double v = a.number + b.number;
        if (!std::isfinite(v)) return fail(ErrArithmetic, pos);
        const bool texts = a.type == TCalcType::Text && b.type == TCalcType::Text;
        r = TCalcType{texts ? TCalcType::Text : TCalcType::Number, v == 0.0 ? 0.0 : v,
                      a.text + b.text, null};
        break;
    }
    case OpSub:
    case OpMul:
    case OpDiv:
    case OpPow: {
        double v = 0;
        if (op == OpSub) {
            v = a.number - b.number;
        } else if (op == OpMul) {
            v = a.number * b.number;
        } else if (op == OpDiv) {
            if (b.number == 0.0) return fail(ErrArithmetic, pos);
            v = a.number / b.number;
        } else {
            const double x = a.number;
            const double y = b.number;
            if (x == 0.0) {
                if (y < 0) return fail(ErrArithmetic, pos);
                v = y == 0.0 ? 1.0 : 0.0;
            } else if (x < 0 && y != std::trunc(y)) {
                return fail(ErrArithmetic, pos);
            } else {
                v = std::pow(x, y);
            }
        }
        if (!std::isfinite(v)) return fail(ErrArithmetic, pos);
        r = numeric(v, null);
        break;
    }
    default:
        return fail(ErrSyntax, pos);
    }
    operands_.push_back(std::move(r));
    return true;
}

bool Evaluator::reduceOne() {
    const OpEntry e = ops_.back();
    ops_.pop_back();
    if (e.kind == OpEntry::Unary) {
        if (operands_.empty()) return fail(ErrSyntax, e.position);
        TCalcType& a = operands_.back();
        if (e.op == OpNeg)
            a = numeric(-a.number, a.null);
        else
            a = truth(!(a.number > 0), a.null);
        return true;
    }
    return binary(e.op, e.position);
}

bool Evaluator::reduceWhile(int minPrecedence) {
    while (!ops_.empty()) {
        const OpEntry& top = ops_.back();
        if (top.kind == OpEntry::Paren || top.kind == OpEntry::FuncParen) return true;
        if (precedence(top.op) < minPrecedence) return true;
        if (!reduceOne()) return false;
    }
    return true;
}

EvalResult Evaluator::run() {
    const int n = s_.size();
    Prev prev = Start;
    int i = 0;
    bool any = false;
    auto result = [&]() {
        EvalResult res;
        res.error = failure_->error;
        res.position = failure_->position;
        return res;
    };
    auto openParenIndex = [&]() -> int {
        for (int k = int(ops_.size()) - 1; k >= 0; --k)
            if (ops_[size_t(k)].kind == OpEntry::Paren ||
                ops_[size_t(k)].kind == OpEntry::FuncParen)
                return k;
        return -1;
    };
    auto binaryOp = [&](int op, int pos) -> bool {
        if (prev != Operand) return fail(ErrSyntax, pos);
        if (!reduceWhile(precedence(op))) return false;
        if (!pushOp(OpEntry{OpEntry::Binary, op, pos, 0})) return false;
        prev = BinaryOp;
        return true;
    };
    auto operand = [&](TCalcType v, int pos) -> bool {
        if (prev == Operand) return fail(ErrSyntax, pos);
        if (!pushOperand(std::move(v), pos)) return false;
        prev = Operand;
        return true;
    };

    while (i < n) {
        const QChar c = s_[i];
        if (isSpace(c)) {
            ++i;
            continue;
        }
        any = true;
        const int pos = i;
        if (isDigit(c)) {
            while (i < n && isDigit(s_[i]))
                ++i;
            if (i < n && s_[i] == QLatin1Char('.')) {
                ++i;
                while (i < n && isDigit(s_[i]))
                    ++i;
            }
            if (i < n && (s_[i] == QLatin1Char('E') || s_[i] == QLatin1Char('e'))) {
                int j = i + 1;
                if (j < n && (s_[j] == QLatin1Char('+') || s_[j] == QLatin1Char('-'))) ++j;
                int k = 0;
                while (j + k < n && isDigit(s_[j + k]))
                    ++k;
                if (k == 0) {
                    fail(ErrBadNumber, j < n ? j : i);
                    return result();
                }
                if (k > 2) {
                    fail(ErrBadNumber, j + 2);
                    return result();
                }
                i = j + k;
            }
            if (i < n && isWordChar(s_[i])) {
                fail(ErrBadNumber, i);
                return result();
            }
            const QString literal = s_.mid(pos, i - pos).toString();
            bool ok = false;
            const double v = literal.toLatin1().toDouble(&ok);
            if (!ok || !std::isfinite(v)) {
                fail(ErrBadNumber, pos);
                return result();
            }
            if (!operand(TCalcType{TCalcType::Number, v, literal, false}, pos)) return result();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('[')) {
            const QChar close = c == QLatin1Char('\'') ? QLatin1Char('\'') : QLatin1Char(']');
            const int end = int(s_.indexOf(close, i + 1));
            if (end < 0) {
                fail(c == QLatin1Char('\'') ? ErrUnterminatedText : ErrUnterminatedList, pos);
                return result();
            }
            const QString inner = s_.mid(i + 1, end - i - 1).toString();
            i = end + 1;
            TCalcType v = c == QLatin1Char('\'') ? textual(inner, lenientNumber(inner), false)
                                                 : TCalcType{TCalcType::List, 0.0, inner, false};
            if (!operand(std::move(v), pos)) return result();
            continue;
        }
        if (isPrefix(c)) {
            int end = i;
            bool unknown = false;
            const auto code = referenceCode(s_, i, r_, &end, &unknown);
            if (!code) {
                fail(ErrUnknownName, pos);
                return result();
            }
            i = end;
            if (!operand(resolve(r_, *code), pos)) return result();
            continue;
        }
        if (isAsciiLetter(c)) {
            while (i < n && isWordChar(s_[i]))
                ++i;
            const QString word = s_.mid(pos, i - pos).toString().toUpper();
            bool ok = true;
            if (word == QLatin1String("AND"))
                ok = binaryOp(OpAnd, pos);
            else if (word == QLatin1String("OR"))
                ok = binaryOp(OpOr, pos);
            else if (word == QLatin1String("IN"))
                ok = binaryOp(OpIn, pos);
            else if (word == QLatin1String("NOT")) {
                if (prev == Operand)
                    ok = fail(ErrSyntax, pos);
                else if ((ok = pushOp(OpEntry{OpEntry::Unary, OpNot, pos, 0})))
                    prev = UnaryOp;
            } else {
                const BuiltinFunction* fn = nullptr;
                for (const BuiltinFunction& b : kFunctions)
                    if (word == QLatin1String(b.name)) fn = &b;
                if (!fn) {
                    fail(ErrUnknownName, pos);
                    return result();
                }
                if (prev == Operand) {
                    fail(ErrSyntax, pos);
                    return result();
                }
                int j = i;
                while (j < n && isSpace(s_[j]))
                    ++j;
                if (j >= n || s_[j] != QLatin1Char('(')) {
                    fail(ErrSyntax, j);
                    return result();
                }
                ok = pushOp(OpEntry{OpEntry::FuncParen, fn->number, pos, 1});
                i = j + 1;
                prev = OpenParen;
            }
            if (!ok) return result();
            continue;
        }
        ++i;
        bool ok = true;
        switch (c.unicode()) {
        case '(':
            if (prev == Operand)
                ok = fail(ErrSyntax, pos);
            else if ((ok = pushOp(OpEntry{OpEntry::Paren, 0, pos, 0})))
                prev = OpenParen;
            break;
        case ')': {
            const int k = openParenIndex();
            if (k < 0) {
                ok = fail(ErrUnmatchedClose, pos);
                break;
            }
            if (prev != Operand) {
                ok = fail(ErrSyntax, pos);
                break;
            }
            if (!reduceWhile(0)) {
                ok = false;
                break;
            }
            const OpEntry paren = ops_.back();
            ops_.pop_back();
            if (paren.kind == OpEntry::FuncParen) {
                const BuiltinFunction& fn = kFunctions[paren.op - 1];
                if (paren.arguments != fn.arguments) {
                    ok = fail(ErrArgumentCount, pos);
                    break;
                }
                if (int(operands_.size()) < fn.arguments) {
                    ok = fail(ErrSyntax, pos);
                    break;
                }
                std::vector<TCalcType> args(operands_.end() - fn.arguments, operands_.end());
                operands_.resize(operands_.size() - size_t(fn.arguments));
                auto v = callFunction(fn.number, args);
                if (!v) {
                    ok = fail(ErrArithmetic, paren.position);
                    break;
                }
                operands_.push_back(std::move(*v));
            }
            prev = Operand;
            break;
        }
        case ',': {
            const int k = openParenIndex();
            if (k < 0 || ops_[size_t(k)].kind != OpEntry::FuncParen ||
                ops_[size_t(k)].arguments >= kFunctions[ops_[size_t(k)].op - 1].arguments) {
                ok = fail(ErrComma, pos);
                break;
            }
            if (prev != Operand) {
                ok = fail(ErrSyntax, pos);
                break;
            }
            if (!reduceWhile(0)) {
                ok = false;
                break;
            }
            ++ops_.back().arguments;
            prev = Comma;
            break;
        }
        case '-':
            if (prev == Operand)
                ok = binaryOp(OpSub, pos);
            else if (prev == Start || prev == OpenParen || prev == Comma) {
                if ((ok = pushOp(OpEntry{OpEntry::Unary, OpNeg, pos, 0}))) prev = UnaryOp;
            } else
                ok = fail(ErrSyntax, pos);
            break;
        case '+':
            ok = binaryOp(OpAdd, pos);
            break;
        case '*':
            ok = binaryOp(OpMul, pos);
            break;
        case '/':
            ok = binaryOp(OpDiv, pos);
            break;
        case '^':
            ok = binaryOp(OpPow, pos);
            break;
        case '=':
            ok = binaryOp(OpEq, pos);
            break;
        case '<':
            if (i < n && s_[i] == QLatin1Char('>')) {
                ++i;
                ok = binaryOp(OpNe, pos);
            } else if (i < n && s_[i] == QLatin1Char('=')) {
                ++i;
                ok = binaryOp(OpLe, pos);
            } else
                ok = binaryOp(OpLt, pos);
            break;
        case '>':
            if (i < n && s_[i] == QLatin1Char('=')) {
                ++i;
                ok = binaryOp(OpGe, pos);
            } else
                ok = binaryOp(OpGt, pos);
            break;
        default:
            ok = fail(ErrSyntax, pos);
        }
        if (!ok) return result();
    }
    if (!any) return EvalResult{};
    if (openParenIndex() >= 0) {
        fail(ErrUnclosedParen, n);
        return result();
    }
    if (prev != Operand) {
        fail(ErrSyntax, n);
        return result();
    }
    if (!reduceWhile(0)) return result();
    if (operands_.size() != 1) {
        fail(ErrSyntax, n);
        return result();
    }
    EvalResult res;
    res.value = std::move(operands_.back());
    return res;
}

} // namespace

EvalResult evaluate(QStringView expression, const ReferenceResolver* resolver) {
    Evaluator e(expression, resolver);
    return e.run();
}

QString evaluateText(QStringView expression, const ReferenceResolver* resolver) {
    const EvalResult r = evaluate(expression, resolver);
    return r.ok() ? r.value.text : QString();
}

QList<TCalcType> listItems(QStringView list, const ReferenceResolver* resolver, bool variables) {
    QList<TCalcType> items;
    const int n = list.size();
    if (n == 0) return items;
    int i = 0;
    auto skipToComma = [&](int from) {
        const int c = int(list.indexOf(QLatin1Char(','), from));
        return c < 0 ? n : c;
    };
    while (true) {
        int end = 0;
        if (i < n && list[i] == QLatin1Char('\'')) {
            int close = int(list.indexOf(QLatin1Char('\''), i + 1));
            if (close < 0) close = n;
            const QString t = list.mid(i + 1, close - i - 1).toString();
            items.append(textual(t, lenientNumber(t), false));
            end = skipToComma(std::min(close + 1, n));
        } else if (i < n && isPrefix(list[i]) && (variables || list[i] != QLatin1Char('%'))) {
            int after = i;
            bool unknown = false;
            const auto code = referenceCode(list, i, resolver, &after, &unknown);
            end = skipToComma(after);
            if (code) {
                items.append(resolve(resolver, *code));
            } else {
                const QString t = list.mid(i, end - i).toString();
                items.append(textual(t, lenientNumber(t), false));
            }
        } else {
            end = skipToComma(i);
            const QString t = list.mid(i, end - i).toString();
            const bool number = !t.isEmpty() && isDigit(t[0]);
            items.append(TCalcType{number ? TCalcType::Number : TCalcType::Text, lenientNumber(t),
                                   t, false});
        }
        if (end >= n) break;
        i = end + 1;
    }
    return items;
}

QStringList itemList(QStringView list, const ReferenceResolver* resolver) {
    QStringList out;
    for (const TCalcType& v : listItems(list, resolver, false))
        out << v.text;
    return out;
}

const QList<BuiltinFunction>& builtinFunctions() {
    return kFunctions;
}

} // namespace brix::report
