#pragma once
// Login, the employees' passwords and their access rights ("Zamest.DB", "Moduly.DB"), and the
// state of the run that every form reads: the logged-in employee and the verbose flag.

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace brix {

class Database;
class Table;

inline constexpr char16_t kTabulkaZamest[] = u"Ciselnik\\Zamest";
inline constexpr char16_t kTabulkaModuly[] = u"Nastaven\\Moduly";
inline constexpr char16_t kTabulkaNastPr[] = u"Nastaven\\Nast_Pr";

// The surname of the logged-in employee (set once, at login).
QString& PrihlasenyUzivatel();
// True when the first argument after the program's name, in lower case, is "verbose".
bool JeVerbose(const QStringList& argumenty);
bool& Verbose();

// The employee whose password this is: the first in the order of the table whose stored hash
// matches (case-insensitive), or whose old plain `Heslo` equals it ignoring case; such a plain
// password is replaced by its hash on the spot. An empty password logs nobody in. Answers the
// employee's `PRIJMENI`. Throws StorageError.
std::optional<QString> NajdiZamestnancePodleHesla(Database& db, const QString& heslo);

// The module codes granted to the surname (rows of "Moduly.DB" with `Prijmeni` = the surname in
// upper case).
QSet<QString> NactiPrava(Database& db, const QString& prijmeni);
// Replaces the rights of the surname by `moduly` (in the order of the access-rights form; codes
// outside it are dropped), in one transaction. An empty set removes every right.
void UlozPrava(Database& db, const QString& prijmeni, const QSet<QString>& moduly);
// Rights follow an employee who changes surname; when another employee still bears the old
// surname, the new one gets a copy.
void PrejmenujPrava(Database& db, const QString& stary, const QString& novy);
// Removes the rights of a surname no employee bears any more.
void SmazPravaBezZamestnance(Database& db, const QString& prijmeni);

// Saves the employee record being inserted or edited in `zamest` (a cursor on "Zamest.DB").
// A non-empty `noveHeslo` replaces the password (hash in `HesloHash`, `Heslo` left empty); an
// empty one keeps the stored password. Refuses (false, message shown, nothing posted) a password
// that another employee already has. The record's rights move with a changed surname
// (`puvodniPrijmeni`: the surname when editing began, empty for a new employee).
// Post errors propagate as StorageError.
bool UlozZamestnance(Table& zamest, const QString& noveHeslo, const QString& puvodniPrijmeni);

// Whether any employee exists (a data root without one needs its first administrator).
bool MaZamestnance(Database& db);
// Creates the first administrator with every right. False with a message when the surname or
// the password is empty or the two passwords differ.
bool VytvorSpravce(Database& db, const QString& prijmeni, const QString& heslo,
                   const QString& hesloZnovu);

// The rows of "Nast_Pr.DB" the main window applies when first shown.
struct RadkyNastPr {
    bool REZERVACE = true;
    bool VERZETEXTIL = false;
    std::optional<QString> TITLE;
};
RadkyNastPr NactiRadkyNastPr(Database& db);
RadkyNastPr& radkyNastPr(); // the values of this run

} // namespace brix
