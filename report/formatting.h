#pragma once
// Number and date texts of the report engine. Everything here follows the Czech locale,
// whatever locale the process runs under: decimal comma, no-break space between thousands,
// "." and ":" as date and time separators, Czech month and day names.

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>

namespace brix::report {

// The fixed locale of every report text.
const QLocale& reportLocale();

// The report engine's lenient reading of a number text. A point or a comma (the first one)
// is the decimal separator, leading spaces are skipped, a minus sign may stand first; any other
// text, and an empty one, reads as 0.
double lenientNumber(QStringView text);
// The same, but tells whether the text was a number at all.
std::optional<double> lenientNumberIfAny(QStringView text);

// The general text form of a number: up to 15 significant digits, trailing zeros removed,
// decimal comma, scientific notation for very large and very small values.
QString generalText(double v);

// Number formats of user functions.
enum class FloatFormat { General = 0, Exponent = 1, Fixed = 2, Number = 3, Currency = 4 };
// A number in the given format: precision is the count of significant digits (1 to 15), digits
// the decimals for Fixed, Number and Currency and the least exponent digits for General and
// Exponent.
QString floatToText(double v, FloatFormat format, int precision, int digits);

// A number through a format picture: 0 a digit, # an optional digit, "." the decimal separator,
// "," thousands grouping, E+ / E- an exponent, quoted text literal, up to three sections
// separated by ";" for positive, negative and zero values. An empty picture gives the general
// form.
QString formatNumberPicture(double v, QStringView picture);

// Day numbers (days since 30 December 1899, time as fraction) and calendar values.
double dayNumber(QDate date, int msecsOfDay = 0);
// False when the day number lies outside the years 1 to 9999 (or is not finite).
bool splitDayNumber(double v, QDate* date, int* msecsOfDay);

// A day number through a date-time picture: d dd ddd dddd, m mm mmm mmmm, yy yyyy, h hh,
// n nn, s ss, z zzz, t tt c, "/" and ":" the locale's separators, quoted text literal; "m"
// right after an hour stands for minutes. An empty picture gives the date and, when there is
// one, the time. Gives nullopt for a day number outside the calendar.
std::optional<QString> formatDateTimePicture(double v, QStringView picture);

// Rounds half to the even neighbour.
double roundHalfEven(double v);
// A double to int for counts and positions; values out of range saturate, NaN gives 0.
int clampToInt(double v);

} // namespace brix::report
