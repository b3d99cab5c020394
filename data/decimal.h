#pragma once
// Fixed-point number of four decimal places: money, prices, rates and quantities.
// Exact to the ten-thousandth; arithmetic never goes through binary floating point.

#include <QString>

#include <compare>
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace brix {

// A quotient with a zero divisor. Never silent: a price or stock formula that meets it says so
// (the caller catches it and shows its own Czech message, or checks the divisor first).
class DivisionByZero : public std::domain_error {
public:
    DivisionByZero() : std::domain_error("Decimal division by zero") {}
};

// What the user is told when a computation of the common forms meets a zero divisor that the
// form's own checks let through (a form with a message of its own shows that one instead).
inline constexpr char16_t kDeleniNulou[] =
    u"Výpočet nelze dokončit, protože by se dělilo nulou. Zkontrolujte zadané hodnoty.";

// A typed number with the blanks that separate the thousands of its whole part dropped
// ("1 000 000,50" -> "1000000,50"; a blank, a no-break space or a narrow no-break space between
// groups of three digits, the first group of one to three). Blanks around the number are
// trimmed. A blank anywhere else ("12 5", "1 0000,5", "- 5", "1,000 5") makes it no number:
// nullopt. The rest of the text is left for the caller to read.
std::optional<QString> withoutDigitGroups(QStringView text);

class Decimal {
public:
    static constexpr int kPlaces = 4;
    static constexpr std::int64_t kScale = 10000;

    constexpr Decimal() = default;
    constexpr Decimal(int v) : raw_(std::int64_t(v) * kScale) {}
    constexpr Decimal(long long v) : raw_(std::int64_t(v) * kScale) {}

    static constexpr Decimal fromRaw(std::int64_t raw) {
        Decimal d;
        d.raw_ = raw;
        return d;
    }
    // Nearest value of four places; an exact tie rounds to the even last place.
    static Decimal fromDouble(double v);
    // "12,5", "-3.25", " 1 000,50 ": decimal comma or point, blanks only as thousands
    // separators (see withoutDigitGroups: "12 5" is not a number). More than four places are
    // rounded half to even. Empty or malformed text gives nullopt.
    static std::optional<Decimal> parse(QStringView text);

    constexpr std::int64_t raw() const { return raw_; }
    double toDouble() const { return double(raw_) / double(kScale); }
    // Whole part towards zero.
    constexpr std::int64_t truncated() const { return raw_ / kScale; }
    // Text with the given number of places (rounded half away from zero) and the decimal separator.
    QString toString(int places = 2, QChar separator = QLatin1Char(',')) const;
    // Text with as few places as the value needs (at least none), decimal comma.
    QString toShortString(QChar separator = QLatin1Char(',')) const;

    constexpr bool isZero() const { return raw_ == 0; }
    constexpr Decimal abs() const { return fromRaw(raw_ < 0 ? -raw_ : raw_); }

    constexpr Decimal operator-() const { return fromRaw(-raw_); }
    constexpr Decimal& operator+=(Decimal o) {
        raw_ += o.raw_;
        return *this;
    }
    constexpr Decimal& operator-=(Decimal o) {
        raw_ -= o.raw_;
        return *this;
    }
    Decimal& operator*=(Decimal o) { return *this = *this * o; }
    Decimal& operator/=(Decimal o) { return *this = *this / o; }

    friend constexpr Decimal operator+(Decimal a, Decimal b) { return fromRaw(a.raw_ + b.raw_); }
    friend constexpr Decimal operator-(Decimal a, Decimal b) { return fromRaw(a.raw_ - b.raw_); }
    // Product and quotient rounded to four places, half to even. Division by zero throws
    // DivisionByZero.
    friend Decimal operator*(Decimal a, Decimal b);
    friend Decimal operator/(Decimal a, Decimal b);

    friend constexpr bool operator==(Decimal a, Decimal b) = default;
    friend constexpr std::strong_ordering operator<=>(Decimal a, Decimal b) = default;

private:
    std::int64_t raw_ = 0;
};

} // namespace brix
