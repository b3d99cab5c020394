#pragma once
// The rules of the partner register that need no form: the partner number offered to a new
// partner, the search by a part of the name, the name range, deleting a partner with its
// meeting notes, and the clipboard record "CF_VUZ" with its plain-text form.
//
// Promises: a partner is deleted together with its notes or not at all; reading a clipboard
// record never reads past its end, whatever its length bytes say.

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

namespace brix {

class Table;
class Database;

// A partner number lies in 1 .. 9999999.
inline constexpr qint64 kNejvyssiCisloFirmy = 9999999;
inline constexpr char16_t kCisloFirmyMimoRozsah[] = u"Číslo firmy musí být v rozsahu 1-9999999";
bool PlatneCisloFirmy(const QVariant& cislo);

// The number "&Nový" offers: `nabizene` (at least 1), stepped past every partner number in use
// (read through a private cursor, so that `firmy` stays where it is).
qint64 DalsiCisloFirmy(Table& firmy, qint64 nabizene);

// "Název obsahuje": from the current partner onward (the current one included) in the current
// order, the first whose name contains the text, both compared ignoring case, becomes current;
// one search in the storage layer. None: false, and the table stands at its last partner.
bool NazevObsahuje(Table& firmy, const QString& text);

// "&Rozsah" → "&Název": the table in the order of the index on Nazev, limited to the names that
// begin with the answer in that index's order (every continuation, "ž" included); the last
// partner of the range current. An empty answer leaves the order without a range.
void RozsahNazvuFirem(Table& firmy, const QString& odpoved);

// Deletes the current partner and its meeting notes in one transaction. A refused deletion
// (StorageError, or Abort after the table's handler spoke) leaves both as they were.
void SmazFirmu(Table& firmy, Table& zapisy);

// Whether the currency code exists in "Meny" as written (case counts).
bool ExistujeMena(Database& db, const QString& kod);

// ---- the clipboard record of one partner -----------------------------------------------------

inline constexpr char kFormatSchrankyFirmy[] = "CF_VUZ";
inline constexpr int kDelkaSchrankyFirmy = 287;

// The nine values of the record, in its order.
struct SchrankaFirmy {
    QString Nazev, Jmeno, Ulice, Mesto, Tlf1, Fax, PSC, ICO, DIC;

    // From the current partner of `firmy`, into the partner being edited there (only the nine
    // fields, each cut to its size).
    static SchrankaFirmy zFirmy(Table& firmy);
    void doFirmy(Table& firmy) const;
};

// 287 bytes: each value as a length byte and a zero-filled buffer of Windows-1250 characters
// (40, 40, 40, 40, 40, 40, 6, 12, 20); a longer value is cut to its buffer.
QByteArray ZaznamSchrankyFirmy(const SchrankaFirmy& f);
// The plain-text form put beside it (lines end in CR LF).
QString TextSchrankyFirmy(const SchrankaFirmy& f);
// The values of a record; nullopt for data shorter than a record. A length byte larger than its
// buffer counts as the buffer's size; trailing blanks and zero bytes are dropped.
std::optional<SchrankaFirmy> CtiSchrankuFirmy(const QByteArray& data);

} // namespace brix
