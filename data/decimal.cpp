#include "decimal.h"

#include <QLocale>

#include <cmath>

namespace brix {

namespace {

// num / den rounded half to even.
std::int64_t divRoundEven(__int128 num, __int128 den) {
    if (den < 0) {
        num = -num;
        den = -den;
    }
    __int128 q = num / den;
    __int128 r = num % den;
    if (r < 0) r = -r;
    __int128 twice = r * 2;
    bool negative = num < 0;
    if (twice > den || (twice == den && (q % 2 != 0))) q += negative ? -1 : 1;
    return static_cast<std::int64_t>(q);
}

} // namespace

namespace {

bool isGroupBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QChar(0xA0) || c == QChar(0x202F);
}

bool isAsciiDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

} // namespace

std::optional<QString> withoutDigitGroups(QStringView text) {
    const QStringView t = text.trimmed();
    qsizetype blanks = 0;
    for (QChar c : t)
        if (isGroupBlank(c)) ++blanks;
    if (blanks == 0) return t.toString();
    // The digits of the whole part, after an optional sign.
    qsizetype start = 0;
    if (start < t.size() && (t[start] == QLatin1Char('-') || t[start] == QLatin1Char('+'))) ++start;
    qsizetype end = start;
    while (end < t.size() && (isAsciiDigit(t[end]) || isGroupBlank(t[end])))
        ++end;
    // Every blank must lie in the whole part, which is groups of three after the first.
    QString out = t.left(start).toString();
    qsizetype group = 0, groups = 0;
    for (qsizetype i = start; i < end; ++i) {
        if (isGroupBlank(t[i])) {
            if (group == 0 || (groups > 0 && group != 3) || group > 3) return std::nullopt;
            ++groups;
            group = 0;
            --blanks;
            continue;
        }
        ++group;
        out += t[i];
    }
    if (blanks != 0 || group != 3) return std::nullopt;
    out += t.mid(end);
    return out;
}

Decimal Decimal::fromDouble(double v) {
    if (!std::isfinite(v)) return Decimal();
    // A double that is the nearest one to a value of four places is that value: its shortest
    // text has at most four places. Only a speed-up; the text below decides the others.
    if (std::fabs(v) < 9e11) {
        const double scaled = std::nearbyint(v * double(kScale));
        if (scaled / double(kScale) == v) return fromRaw(static_cast<std::int64_t>(scaled));
    }
    // The shortest decimal text of the double is what it was meant to be (0.1 is 0.1, not
    // 0.1000000000000000055...); round that text, not the binary value.
    auto parsed = parse(QString::number(v, 'g', QLocale::FloatingPointShortest));
    return parsed ? *parsed : Decimal();
}

std::optional<Decimal> Decimal::parse(QStringView typed) {
    const std::optional<QString> plain = withoutDigitGroups(typed);
    if (!plain) return std::nullopt;
    const QStringView text(*plain);
    qsizetype i = 0, n = text.size();
    while (i < n && text[i].isSpace())
        ++i;
    while (n > i && text[n - 1].isSpace())
        --n;
    if (i >= n) return std::nullopt;
    bool negative = false;
    if (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    __int128 mantissa = 0;
    int fracDigits = 0;
    bool seenPoint = false, seenDigit = false;
    int exponent = 0;
    for (; i < n; ++i) {
        QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            seenDigit = true;
            if (mantissa < (__int128(1) << 100)) {
                mantissa = mantissa * 10 + (c.unicode() - '0');
                if (seenPoint) ++fracDigits;
            } else if (!seenPoint) {
                return std::nullopt; // too large
            }
        } else if ((c == QLatin1Char(',') || c == QLatin1Char('.')) && !seenPoint) {
            seenPoint = true;
        } else if ((c == QLatin1Char('e') || c == QLatin1Char('E')) && seenDigit) {
            bool ok = false;
            exponent = text.mid(i + 1, n - i - 1).toInt(&ok);
            if (!ok || exponent > 30 || exponent < -30) return std::nullopt;
            break;
        } else {
            return std::nullopt;
        }
    }
    if (!seenDigit) return std::nullopt;
    int shift = kPlaces - fracDigits + exponent;
    std::int64_t raw;
    if (shift >= 0) {
        for (int k = 0; k < shift; ++k)
            mantissa *= 10;
        if (mantissa > __int128(INT64_MAX)) return std::nullopt;
        raw = static_cast<std::int64_t>(mantissa);
    } else {
        __int128 den = 1;
        for (int k = 0; k < -shift; ++k)
            den *= 10;
        raw = divRoundEven(mantissa, den);
    }
    return fromRaw(negative ? -raw : raw);
}

QString Decimal::toString(int places, QChar separator) const {
    if (places < 0) places = 0;
    if (places > kPlaces) places = kPlaces;
    std::int64_t div = 1;
    for (int k = 0; k < kPlaces - places; ++k)
        div *= 10;
    std::int64_t a = raw_ < 0 ? -raw_ : raw_;
    std::int64_t scaled = (a + div / 2) / div; // half away from zero
    std::int64_t unit = 1;
    for (int k = 0; k < places; ++k)
        unit *= 10;
    QString s = QString::number(scaled / unit);
    if (places > 0)
        s += separator + QStringLiteral("%1").arg(scaled % unit, places, 10, QLatin1Char('0'));
    if (raw_ < 0 && scaled != 0) s.prepend(QLatin1Char('-'));
    return s;
}

QString Decimal::toShortString(QChar separator) const {
    QString s = toString(kPlaces, separator);
    if (s.contains(separator)) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(separator)) s.chop(1);
    }
    return s;
}

Decimal operator*(Decimal a, Decimal b) {
    return Decimal::fromRaw(divRoundEven(__int128(a.raw_) * b.raw_, Decimal::kScale));
}

Decimal operator/(Decimal a, Decimal b) {
    if (b.raw_ == 0) throw DivisionByZero();
    return Decimal::fromRaw(divRoundEven(__int128(a.raw_) * Decimal::kScale, b.raw_));
}

} // namespace brix
