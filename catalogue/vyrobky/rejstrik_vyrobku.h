#pragma once
// The register page of the products without widgets: the range conditions of "&Rozsah", the
// supplier filter, the group trees, the bulk code change, the VAT-rate change with its log, the
// quick product search's query and the label steps. The page hands them what the user typed
// and shows what they give; every value reaches a filter as a literal, every text a query as a
// bound parameter.

#include "database.h"
#include "decimal.h"
#include "table.h"

#include <QString>
#include <QVariant>

#include <optional>
#include <utility>
#include <vector>

namespace brix {

class TDataCis;

// ---- "&Rozsah" -----------------------------------------------------------------------------
// The condition of a range on `pole`: with `doHodnota` (a "to" box was asked) "f >=from and
// f <=to", an empty "to" dropping the upper bound and an empty "from" the lower; without it
// "f = value". A text field's values are literals of the filter language; a prefix range
// appends "*" to the first value of a text field (a number matches exactly). Both values
// empty give "".
QString PodminkaRozsahu(const QString& pole, bool textovePole, const QString& od,
                        const std::optional<QString>& doHodnota, bool prefix);

// ---- "&Dodavatel" ---------------------------------------------------------------------------
// The partner of the answer: a whole number is the partner number itself, any other text the
// first partner (by name) whose Nazev begins with it, case-sensitive. nullopt when none has it.
std::optional<qint64> DodavatelFiltru(Database& db, const QString& text);
inline constexpr char16_t kFirmaNenalezena[] = u"Nenalezena firma s tímto názvem, opakujte hledání";
QString PodminkaDodavatele(qint64 cisFirmy);

// ---- the group tree -------------------------------------------------------------------------
struct UzelStromu {
    QString text;
    QString filtr; // a leaf's filter; empty for "Vše" and the head words
    std::vector<UzelStromu> deti;
};
// "Vše" with the revenue groups under their head words: the first word of Popis (the whole
// text when it has no blank) opens a head node when it differs from the previous group's; the
// leaf is "number - rest" and filters "PC_VynSkup = number".
UzelStromu StromVynosovychSkupin(Database& db);
// "Vše" with a leaf for every distinct Kod_Ozn1 of the products in the "Kod_Ozn" order (up to
// 40 characters), filtering "Kod_Ozn1 = 'text'".
UzelStromu StromKodovychOznaceni(Database& db);

// ---- many products at once ------------------------------------------------------------------
struct VysledekZmeny {
    bool ok = false;
    int zmeneno = 0;
    QString chyba; // the storage message of a failure
};
// The product numbers of the register's view (its range and filter as they are), in its order;
// the cursor is left on the record it was on.
std::vector<qint64> KliceVyrobku(Table& pohled);
// Kod_Ozn1 := kod for each of the products, one transaction through a private cursor with the
// products' rules; a failure changes none of them.
VysledekZmeny HromadnaZmenaKodu(Database& db, const std::vector<qint64>& cisla, const QString& kod);

// "Přepočet DPH a MO ceny 19%": of the products, those with DPH exactly 22 get DPH 19 and
// MO_Cena recomputed from their purchase price, pack factor, price quantity and markup (a
// product whose pack factor or price quantity is 0 keeps its MO_Cena); one transaction. The
// log lines "ObjCis;   22,00  121,00;  117,80" are returned for the caller to write after the
// commit.
struct VysledekDPH : VysledekZmeny {
    QStringList radkyLogu;
};
VysledekDPH PrepocetDPH(Database& db, const std::vector<qint64>& cisla);
// "%8.2f" with the decimal comma.
QString Format82(Decimal d);
// Writes "Vyr_NC.log" in the data root (Windows-1250, CR LF), replacing it. False when it
// cannot be written.
bool ZapisLogDPH(const QString& korenDat, const QStringList& radky);
inline constexpr char16_t kOtazkaDPH[] = u"Chcete přepočítat DPH 22% na 19% a znovu určit MO cenu?";
inline constexpr char16_t kZmenaDPHDokoncena[] =
    u"Změna dokončena, proveďte kontrolu výrobku s nastavením přepočítat MO/VO přirážku";

// ---- the quick product search ---------------------------------------------------------------
struct DotazVyrSQL {
    QString sql;
    std::vector<std::pair<QString, QVariant>> parametry;
};
// The query of the four boxes: the key field's condition (a whole number under the number key,
// else the text in upper case + "%"), "like" conditions for the name and code boxes; "%" and
// "_" typed match themselves. Four empty boxes list every product by key.
DotazVyrSQL SestavDotazVyrSQL(const QString& klicovePole, const QString& klic, const QString& nazev,
                              const QString& kodOzn1, const QString& kodOzn2);

// ---- labels ---------------------------------------------------------------------------------
// The label count typed: a whole number above 0, else nothing is printed.
std::optional<int> PocetNalepek(const QString& text);
inline constexpr char16_t kBezEAN13[] = u"Výrobek nemá vyplněný čárový kód EAN13";

} // namespace brix
