#include "zpravy.h"

#include "util/numeric.h"

namespace brix {

namespace {

const QString kChyba = QStringLiteral("Chyba");
const QString kUpozorneni = QStringLiteral("Upozornění");
const QString kVarovani = QStringLiteral("Varování");

QString vUvozovkach(const QString& s) {
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString nepouzitelnyKurs(const QString& mena, const QDate& datum, const QString& pole) {
    return QStringLiteral("Kurs měny %1 platný k %2 nelze použít (%3 je 0), převedená částka je 0")
        .arg(mena, datum.toString(QStringLiteral("dd.MM.yyyy")), pole);
}

} // namespace

TextZpravyCeny textZpravy(const ZpravaCeny& z) {
    switch (z.druh) {
    case DruhZpravyCeny::NepovolenyDruhCeny:
        return {kUpozorneni, QStringLiteral("Nepovolený druh ceny")};
    case DruhZpravyCeny::NeexistujiciDruh:
        return {kChyba, QStringLiteral("Neexistující druh, nelze nastavit zaokrouhlení")};
    case DruhZpravyCeny::NeexistujiciDRUH:
        return {kChyba, QStringLiteral("Neexistující DRUH")};
    case DruhZpravyCeny::OborMimoRozsah:
        return {kVarovani, QStringLiteral("Obor ") + vUvozovkach(z.hodnota) +
                               QStringLiteral(" mimo rozsah (1-20)")};
    case DruhZpravyCeny::RabatniSkupinaNenalezena:
        return {kVarovani, QStringLiteral("Rabatní skupina ") + vUvozovkach(z.hodnota) +
                               QStringLiteral(" nenalezena")};
    case DruhZpravyCeny::VyrobekNenalezenRabat:
        return {kVarovani, QStringLiteral("Výrobek nenalezen, nelze určit množstevní rabat")};
    case DruhZpravyCeny::SpecialniMnozstevniRabat:
        return {kUpozorneni, QStringLiteral("Výrobek má speciální množstevní rabat")};
    case DruhZpravyCeny::RabatStoProcent:
        return {kUpozorneni, QStringLiteral("Při rabatu 100 % nelze určit základní cenu")};
    case DruhZpravyCeny::NulovyKoef:
        return {kUpozorneni, nepouzitelnyKurs(z.hodnota, z.datum, QStringLiteral("Koef"))};
    case DruhZpravyCeny::NulovyKursEUR:
        return {kUpozorneni, nepouzitelnyKurs(z.hodnota, z.datum, QStringLiteral("Kurs_EUR"))};
    case DruhZpravyCeny::NulovyKursEura:
        return {kUpozorneni,
                nepouzitelnyKurs(QStringLiteral("EUR"), z.datum, QStringLiteral("Kurs"))};
    case DruhZpravyCeny::NulovyKrokZaokrouhleni:
        return {kVarovani, QString::fromUtf16(kChybnyKrokZaokrouhleni)};
    }
    return {};
}

} // namespace brix
