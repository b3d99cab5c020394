#include "formatting.h"

#include <QTime>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace brix::report {

namespace {

const QChar kDecimal = QLatin1Char(',');
const QChar kGroup = QChar(0x00A0);
const QDate kEpoch(1899, 12, 30);
constexpr qint64 kMsecsPerDay = 86400000;

// The significant digits of |v| rounded to `precision` digits, and the position of the
// decimal point relative to them (value = 0.d1d2d3... * 10^point).
struct Digits {
    bool negative = false;
    QString digits; // no trailing zeros unless `keepZeros`
    int point = 0;
};

Digits decompose(double v, int precision, bool keepZeros) {
    Digits d;
    d.negative = std::signbit(v) && v != 0.0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, std::fabs(v));
    // buf is "d.ddddde+XX"
    QString s = QString::fromLatin1(buf);
    const int e = s.indexOf(QLatin1Char('e'));
    QString mant = s.left(e);
    mant.remove(QLatin1Char('.'));
    const int exp10 = s.mid(e + 1).toInt();
    if (!keepZeros) {
        while (mant.size() > 1 && mant.endsWith(QLatin1Char('0')))
            mant.chop(1);
    }
    d.digits = mant;
    d.point = exp10 + 1;
    if (v == 0.0) {
        d.point = 1;
        d.negative = false;
    }
    return d;
}

QString groupDigits(const QString& intPart) {
    QString out;
    const int n = intPart.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += kGroup;
        out += intPart[i];
    }
    return out;
}

QString exponentText(int exp, int minDigits, bool forcePlus) {
    QString s = QString::number(std::abs(exp));
    while (s.size() < minDigits)
        s.prepend(QLatin1Char('0'));
    if (exp < 0)
        s.prepend(QLatin1Char('-'));
    else if (forcePlus)
        s.prepend(QLatin1Char('+'));
    return QLatin1Char('E') + s;
}

QString scientific(const Digits& d, int minExpDigits, bool forcePlus) {
    QString out;
    if (d.negative) out += QLatin1Char('-');
    out += d.digits.left(1);
    if (d.digits.size() > 1) {
        out += kDecimal;
        out += d.digits.mid(1);
    }
    out += exponentText(d.point - 1, minExpDigits, forcePlus);
    return out;
}

// Fixed notation with `decimals` places; an exact tie rounds away from zero, as amounts are
// rounded on paper.
QString fixedText(double v, int decimals, bool grouped) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", decimals + 25, std::fabs(v));
    QString s = QString::fromLatin1(buf);
    const int dot = s.indexOf(QLatin1Char('.'));
    QString digits = s.left(dot) + s.mid(dot + 1, decimals);
    const int intLen = dot;
    if (s[dot + 1 + decimals] >= QLatin1Char('5')) {
        int k = digits.size() - 1;
        while (k >= 0) {
            if (digits[k] == QLatin1Char('9')) {
                digits[k] = QLatin1Char('0');
                --k;
            } else {
                digits[k] = QChar(digits[k].unicode() + 1);
                break;
            }
        }
        if (k < 0) digits.prepend(QLatin1Char('1'));
    }
    const int newIntLen = intLen + (digits.size() - (intLen + decimals));
    const QString intPart = digits.left(newIntLen);
    const QString frac = digits.mid(newIntLen);
    bool allZero = true;
    for (QChar c : digits)
        if (c != QLatin1Char('0')) allZero = false;
    QString out;
    if (std::signbit(v) && !allZero) out += QLatin1Char('-');
    out += grouped ? groupDigits(intPart) : intPart;
    if (!frac.isEmpty()) {
        out += kDecimal;
        out += frac;
    }
    return out;
}

int clampRange(int v, int lo, int hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

} // namespace

const QLocale& reportLocale() {
    static const QLocale locale = [] {
        QLocale l(QLocale::Czech, QLocale::Czechia);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return locale;
}

std::optional<double> lenientNumberIfAny(QStringView text) {
    int i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    QStringView t = text.mid(i);
    if (t.isEmpty()) return std::nullopt;
    QByteArray ascii;
    ascii.reserve(t.size());
    bool separator = false;
    bool digit = false;
    for (int k = 0; k < t.size(); ++k) {
        const QChar c = t[k];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            ascii += char(c.unicode());
            digit = true;
        } else if ((c == QLatin1Char('.') || c == QLatin1Char(',')) && !separator) {
            ascii += '.';
            separator = true;
        } else if (c == QLatin1Char('-') && k == 0) {
            ascii += '-';
        } else {
            return std::nullopt;
        }
    }
    if (!digit) return std::nullopt;
    bool ok = false;
    const double v = QByteArray(ascii).toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v == 0.0 ? 0.0 : v;
}

double lenientNumber(QStringView text) {
    return lenientNumberIfAny(text).value_or(0.0);
}

double roundHalfEven(double v) {
    if (!std::isfinite(v)) return v;
    double r = std::nearbyint(v); // default rounding mode: to nearest, ties to even
    return r == 0.0 ? 0.0 : r;
}

int clampToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (v <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return int(v);
}

QString generalText(double v) {
    return floatToText(v, FloatFormat::General, 15, 0);
}

QString floatToText(double v, FloatFormat format, int precision, int digits) {
    if (std::isnan(v)) return QStringLiteral("NAN");
    if (std::isinf(v)) return v > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    precision = clampRange(precision, 1, 15);
    switch (format) {
    case FloatFormat::General: {
        if (v == 0.0) return QStringLiteral("0");
        const Digits d = decompose(v, precision, false);
        if (d.point > precision || d.point < -4)
            return scientific(d, clampRange(digits, 0, 4), false);
        QString out;
        if (d.negative) out += QLatin1Char('-');
        if (d.point <= 0) {
            out += QLatin1Char('0');
            out += kDecimal;
            out += QString(-d.point, QLatin1Char('0'));
            out += d.digits;
        } else {
            QString intPart = d.digits.left(d.point);
            while (intPart.size() < d.point)
                intPart += QLatin1Char('0');
            out += intPart;
            if (d.digits.size() > d.point) {
                out += kDecimal;
                out += d.digits.mid(d.point);
            }
        }
        return out;
    }
    case FloatFormat::Exponent:
        return scientific(decompose(v, precision, true), clampRange(digits, 0, 4), true);
    case FloatFormat::Fixed:
    case FloatFormat::Number:
    case FloatFormat::Currency: {
        digits = clampRange(digits, 0, 18);
        if (v != 0.0) {
            const Digits d = decompose(v, precision, false);
            if (d.point > precision) return floatToText(v, FloatFormat::General, precision, 0);
            // Round to the significant digits first, then to the decimals.
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.*e", precision - 1, v);
            v = std::strtod(buf, nullptr);
        }
        QString s = fixedText(v, digits, format != FloatFormat::Fixed);
        if (format == FloatFormat::Currency) s += QStringLiteral(" Kč");
        return s;
    }
    }
    return QString();
}

// ---- number pictures ----

namespace {

struct PictureSection {
    QString prefix;    // literal text before the first placeholder
    QString suffix;    // literal text after the last placeholder
    int intPlaces = 0; // 0 and # before the decimal point
    int minInt = 0;    // from the first 0 before the point
    int maxDec = 0;    // 0 and # after the point
    int minDec = 0;    // up to the last 0 after the point
    bool hasPoint = false;
    bool grouped = false;
    bool hasExponent = false;
    bool expPlus = false;
    int expDigits = 0;
    bool anyPlaceholder = false;
};

QStringList splitSections(QStringView picture) {
    QStringList sections;
    QString cur;
    QChar quote;
    for (QChar c : picture) {
        if (!quote.isNull()) {
            cur += c;
            if (c == quote) quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            cur += c;
        } else if (c == QLatin1Char(';')) {
            sections << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    sections << cur;
    return sections;
}

PictureSection parseSection(const QString& s) {
    PictureSection p;
    bool afterPoint = false;
    bool seenPlaceholder = false;
    bool seenZeroBeforePoint = false;
    bool inExponent = false;
    QString literal; // pending literal text
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            int j = s.indexOf(c, i + 1);
            if (j < 0) j = s.size();
            literal += s.mid(i + 1, j - i - 1);
            i = j;
            continue;
        }
        if (inExponent) {
            if (c == QLatin1Char('0')) {
                if (p.expDigits < 4) ++p.expDigits;
                continue;
            }
            inExponent = false;
        }
        if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (!seenPlaceholder) {
                p.prefix = literal;
                seenPlaceholder = true;
            }
            literal.clear();
            p.anyPlaceholder = true;
            if (afterPoint) {
                if (p.maxDec >= 30) continue;
                ++p.maxDec;
                if (c == QLatin1Char('0')) p.minDec = p.maxDec;
            } else {
                if (p.intPlaces >= 30) continue;
                ++p.intPlaces;
                if (c == QLatin1Char('0')) seenZeroBeforePoint = true;
                if (seenZeroBeforePoint) ++p.minInt;
            }
        } else if (c == QLatin1Char('.') && seenPlaceholder && !afterPoint && !p.hasExponent) {
            afterPoint = true;
            p.hasPoint = true;
        } else if (c == QLatin1Char('.') && !seenPlaceholder && !afterPoint) {
            // A leading point: the picture has no integer placeholders.
            p.prefix = literal;
            literal.clear();
            seenPlaceholder = true;
            afterPoint = true;
            p.hasPoint = true;
        } else if (c == QLatin1Char(',') && seenPlaceholder && !afterPoint) {
            p.grouped = true;
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && seenPlaceholder &&
                   i + 1 < s.size() &&
                   (s[i + 1] == QLatin1Char('+') || s[i + 1] == QLatin1Char('-'))) {
            p.hasExponent = true;
            p.expPlus = s[i + 1] == QLatin1Char('+');
            ++i;
            inExponent = true;
            literal.clear();
        } else {
            literal += c;
        }
    }
    if (seenPlaceholder)
        p.suffix = literal;
    else
        p.prefix = literal;
    return p;
}

QString applySection(const PictureSection& p, double v, bool withMinus) {
    if (!p.anyPlaceholder) return (withMinus ? QStringLiteral("-") : QString()) + p.prefix;
    const double a = std::fabs(v);
    QString body;
    if (p.hasExponent) {
        const int intDigits = std::clamp(p.intPlaces, 1, 15);
        int exp = 0;
        double mant = 0.0;
        if (a != 0.0) {
            exp = int(std::floor(std::log10(a))) - (intDigits - 1);
            mant = a / std::pow(10.0, exp);
            if (!std::isfinite(mant) || mant == 0.0) return generalText(v);
            // Rounding may carry into one more integer digit.
            char buf[400];
            std::snprintf(buf, sizeof buf, "%.*f", p.maxDec, mant);
            if (std::strtod(buf, nullptr) >= std::pow(10.0, intDigits)) {
                ++exp;
                mant /= 10.0;
            }
        }
        QString m = fixedText(mant, p.maxDec, false);
        // Optional decimals are dropped from the end down to the least count.
        if (p.maxDec > p.minDec) {
            int dec = m.indexOf(kDecimal);
            if (dec >= 0) {
                int keep = m.size();
                while (keep > dec + 1 + p.minDec && m[keep - 1] == QLatin1Char('0'))
                    --keep;
                m.truncate(keep);
                if (m.endsWith(kDecimal)) m.chop(1);
            }
        }
        body = m + exponentText(exp, p.expDigits, p.expPlus);
    } else {
        QString s = fixedText(a, p.maxDec, false);
        const int dec = s.indexOf(kDecimal);
        QString intPart = dec < 0 ? s : s.left(dec);
        QString frac = dec < 0 ? QString() : s.mid(dec + 1);
        while (frac.size() > p.minDec && frac.endsWith(QLatin1Char('0')))
            frac.chop(1);
        if (intPart == QLatin1String("0") && p.minInt == 0) intPart.clear();
        while (intPart.size() < p.minInt)
            intPart.prepend(QLatin1Char('0'));
        if (p.grouped) intPart = groupDigits(intPart);
        body = intPart;
        if (!frac.isEmpty()) {
            body += kDecimal;
            body += frac;
        }
        if (body.isEmpty()) body = QStringLiteral("0");
    }
    QString out = p.prefix;
    if (withMinus) out.prepend(QLatin1Char('-'));
    out += body;
    out += p.suffix;
    return out;
}

} // namespace

QString formatNumberPicture(double v, QStringView picture) {
    if (!std::isfinite(v)) return generalText(v);
    if (picture.trimmed().isEmpty()) return generalText(v);
    const QStringList sections = splitSections(picture);
    const PictureSection first = parseSection(sections[0]);
    // The value rounded as the first section shows it decides whether it counts as zero.
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", first.hasExponent ? 15 : first.maxDec, std::fabs(v));
    const bool zero = std::strtod(buf, nullptr) == 0.0;
    if (zero && sections.size() >= 3 && !sections[2].isEmpty())
        return applySection(parseSection(sections[2]), 0.0, false);
    if (!zero && v < 0) {
        if (sections.size() >= 2 && !sections[1].isEmpty())
            return applySection(parseSection(sections[1]), v, false);
        return applySection(first, v, true);
    }
    return applySection(first, zero ? 0.0 : v, false);
}

// ---- dates ----

double dayNumber(QDate date, int msecsOfDay) {
    const double days = double(kEpoch.daysTo(date));
    const double frac = double(msecsOfDay) / double(kMsecsPerDay);
    // Before the epoch the time still counts forward from midnight (the fraction is absolute).
    return days < 0 ? days - frac : days + frac;
}

bool splitDayNumber(double v, QDate* date, int* msecsOfDay) {
    // 1.1.0001 is -693593, 31.12.9999 is 2958465.
    if (!std::isfinite(v) || v < -693594.0 || v >= 2958466.0) return false;
    const double whole = std::trunc(v);
    qint64 ms = std::llround(std::fabs(v - whole) * double(kMsecsPerDay));
    if (ms >= kMsecsPerDay) ms = kMsecsPerDay - 1;
    const QDate d = kEpoch.addDays(qint64(whole));
    if (!d.isValid() || d.year() < 1 || d.year() > 9999) return false;
    if (date) *date = d;
    if (msecsOfDay) *msecsOfDay = int(ms);
    return true;
}

std::optional<QString> formatDateTimePicture(double v, QStringView picture) {
    QDate date;
    int ms = 0;
    if (!splitDayNumber(v, &date, &ms)) return std::nullopt;
    const QTime time = QTime::fromMSecsSinceStartOfDay(ms);
    const QLocale& loc = reportLocale();
    auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    auto shortDate = [&] {
        return QStringLiteral("%1.%2.%3").arg(date.day()).arg(date.month()).arg(date.year());
    };
    auto longTime = [&] {
        return QStringLiteral("%1:%2:%3")
            .arg(time.hour())
            .arg(two(time.minute()), two(time.second()));
    };
    if (picture.isEmpty()) {
        QString s = shortDate();
        if (ms != 0) s += QLatin1Char(' ') + longTime();
        return s;
    }
    QString out;
    bool lastWasHour = false;
    const int n = picture.size();
    for (int i = 0; i < n;) {
        const QChar c = picture[i];
        const QChar lc = c.toLower();
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            int j = i + 1;
            while (j < n && picture[j] != c)
                ++j;
            out += picture.mid(i + 1, j - i - 1);
            i = j < n ? j + 1 : n;
            continue;
        }
        int run = 1;
        while (i + run < n && picture[i + run].toLower() == lc)
            ++run;
        if (lc == QLatin1Char('d')) {
            if (run == 1)
                out += QString::number(date.day());
            else if (run == 2)
                out += two(date.day());
            else if (run == 3)
                out += loc.dayName(date.dayOfWeek(), QLocale::ShortFormat);
            else if (run == 4)
                out += loc.standaloneDayName(date.dayOfWeek(), QLocale::LongFormat);
            else if (run == 5)
                out += shortDate();
            else
                out += QStringLiteral("%1. %2 %3")
                           .arg(date.day())
                           .arg(loc.monthName(date.month(), QLocale::LongFormat))
                           .arg(date.year());
            lastWasHour = false;
        } else if (lc == QLatin1Char('m')) {
            if (lastWasHour && run <= 2) {
                out += run == 1 ? QString::number(time.minute()) : two(time.minute());
            } else if (run == 1) {
                out += QString::number(date.month());
            } else if (run == 2) {
                out += two(date.month());
            } else if (run == 3) {
                out += loc.standaloneMonthName(date.month(), QLocale::ShortFormat);
            } else {
                out += loc.standaloneMonthName(date.month(), QLocale::LongFormat);
            }
            lastWasHour = false;
        } else if (lc == QLatin1Char('y')) {
            if (run <= 2)
                out += two(date.year() % 100);
            else
                out += QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
            lastWasHour = false;
        } else if (lc == QLatin1Char('h')) {
            out += run == 1 ? QString::number(time.hour()) : two(time.hour());
            lastWasHour = true;
        } else if (lc == QLatin1Char('n')) {
            out += run == 1 ? QString::number(time.minute()) : two(time.minute());
            lastWasHour = false;
        } else if (lc == QLatin1Char('s')) {
            out += run == 1 ? QString::number(time.second()) : two(time.second());
            lastWasHour = false;
        } else if (lc == QLatin1Char('z')) {
            out += run >= 3 ? QStringLiteral("%1").arg(time.msec(), 3, 10, QLatin1Char('0'))
                            : QString::number(time.msec());
            lastWasHour = false;
        } else if (lc == QLatin1Char('t')) {
            out += run == 1 ? QStringLiteral("%1:%2").arg(time.hour()).arg(two(time.minute()))
                            : longTime();
            lastWasHour = false;
        } else if (lc == QLatin1Char('c') && run == 1) {
            out += shortDate();
            if (ms != 0) out += QLatin1Char(' ') + longTime();
            lastWasHour = false;
        } else if (c == QLatin1Char('/')) {
            out += QString(run, QLatin1Char('.'));
        } else {
            // ":" is the locale's time separator, which is ":" itself; other characters
            // are copied.
            out += picture.mid(i, run);
        }
        i += run;
    }
    return out;
}

} // namespace brix::report
