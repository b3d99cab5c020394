#pragma once
// Small text and date helpers shared by the forms: trimming, padding, the DOS Czech byte
// conversion, month lengths and period lengths, and names of work tables.

#include <QByteArray>
#include <QDate>
#include <QString>

#include <functional>

namespace brix {

// The text without trailing blanks and NUL characters.
QString OrizniVpravo(QStringView text);

// (width - length of text) blanks; empty when the text is at least width long.
QString DoplnMezery(QStringView text, int width);

// Replaces the Czech letters of a DOS file by their Windows-1250 bytes (é ů č ě á í ž ř Č Š š ý
// of the DOS pages); every other byte is kept. Works on the raw bytes, before decoding.
QByteArray PrevodDosTextu(QByteArrayView bytes);

// Days of the month (1-12) of the year; February has 29 days in every year divisible by 4,
// centuries included, as the stored evaluations count them. 0 for a month out of range.
int PocetDniVMesici(int rok, int mesic);

// Length of the period of the minimum-stock evaluation: from the first day of the start's month
// to the end date inclusive, months counted by PocetDniVMesici. An end in an earlier year gives
// its day of the month. 0 when a date is invalid.
int PocetDni(QDate zacatek, QDate konec);

// A random seven-digit name for a work table: drawn again while obsazeno(name) is true. Without
// a predicate a name is taken when "<name>.db" exists in the current directory (any case).
// Empty only when a million draws found every name taken.
QString NazevPracovniTabulky(const std::function<bool(const QString&)>& obsazeno = {});

// An IČO of eight digits whose last digit is the check digit of the first seven (weights 8 down
// to 2, the remainder of the sum by 11 subtracted from 11, 10 written as 0 and 11 as 1).
bool PlatneICO(QStringView ico);
// A PSČ: five digits, with one blank after the third allowed ("110 00" or "11000").
bool PlatnePSC(QStringView psc);

} // namespace brix
