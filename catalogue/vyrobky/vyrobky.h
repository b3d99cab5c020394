#pragma once
// The look-ups of the product form that need no widgets: a component by the product key, the
// supplier by name, the code lists a box must name, one customer price per customer, the price
// engine's sources over a data root, and the picture kinds the note page shows. Every look-up
// reads through a private cursor or a query, so that the shared tables stay where the user left
// them.

#include "ceny_vyrobku.h"
#include "database.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace brix {

class Table;

// The product key field of the setting _HlKlicVyr: "Cis_vyr" or "ObjCis".
QString KlicVyrobku();

// A product found for a component line.
struct Komponenta {
    qint64 cisVyr = 0;
    QString objCis;
    QString nazev;
    Decimal pcZakl;
};
// The products whose key field equals the typed key (":SQLKlicVyr": the text in upper case
// under the order-code key, the whole number under the number key), in key order; the first of
// them. Nothing for a key that is no whole number under the number key.
std::optional<Komponenta> NajdiKomponentu(Database& db, const QString& klicovePole,
                                          const QString& text);

// The partner of exactly this name, ignoring case; its number.
std::optional<qint64> FirmaDleNazvu(Database& db, const QString& nazev);
// The name of the partner; nullopt when there is none.
std::optional<QString> NazevFirmy(Database& db, qint64 cisFirmy);
// Whether a record with this value exists: the rebate group, the revenue group, the partner.
bool ExistujeZaznam(Database& db, const QString& tabulka, const QString& pole,
                    const QVariant& hodnota);
// Whether the currency exists in "Meny", ignoring case; its code as written there.
std::optional<QString> MenaDleKodu(Database& db, const QString& kod);

// The customs tariff of a code, the code compared as text ignoring case (a code with leading
// zeros is itself, not a number).
std::optional<TarifCla> TarifDleKodu(Database& db, const QString& kod);
// NajdiNejnRabat: the highest of Rabat1 … Rabat20 of the rebate group; 0 without it.
Decimal NejvyssiRabatSkupiny(Database& db, int skupina);

// A second price for the same product and customer: whether another row of "Cenik_Zak" than
// `kromeRadku` (a bookmark, 0 for none) has them.
bool ExistujeCenaZakaznika(Database& db, qint64 cisVyr, qint64 cisFirmy, qint64 kromeRadku);
inline constexpr char16_t kCenaZakaznikaExistuje[] = u"Cena pro tohoto zákazníka již existuje";

// The sources of the price engine over a data root; the conversion and the question as given.
ZdrojeCen ZdrojeCenZDat(Database& db,
                        std::function<Decimal(const QString&, Decimal, const QDate&)> prevod,
                        std::function<bool(const QString&)> otazka);

// A picture as loaded from its file: a metafile (EMF, WMF) is kept as it is and shown as a
// placeholder; other kinds are decoded by the image readers.
bool JeMetasoubor(const QByteArray& data);

// The check digit of an EAN-13 code from its first twelve digits; -1 for other text.
int KontrolniCisliceEAN13(const QString& dvanactCislic);
bool PlatnyEAN13(const QString& kod);

} // namespace brix
