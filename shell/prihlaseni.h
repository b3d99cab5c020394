#pragma once
// Login, the employees' passwords and their access rights ("Zamest.DB", "Moduly.DB"), and the
// state of the run that every form reads: the logged-in employee and the verbose flag.

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace brix {

class TDataCis;

inline constexpr char16_t kTabulkaZamest[] = u"Ciselnik\\Zamest";
inline constexpr char16_t kTabulkaModuly[] = u"Nastaven\\Moduly";

// The surname of the logged-in employee (set once, at login).
QString& PrihlasenyUzivatel();
// True when the first argument after the program's name, in lower case, is "verbose".
bool JeVerbose(const QStringList& argumenty);
bool& Verbose();

// The employee whose password this is: the first in the order of the shared employee table
// whose stored hash matches (case-insensitive), or whose old plain `Heslo` equals it ignoring
// case; such a plain password is replaced by its hash on the spot. An empty password logs
// nobody in. Answers the employee's `PRIJMENI`. The table is opened for the search and closed
// again when it was closed. Throws StorageError.
std::optional<QString> NajdiZamestnancePodleHesla(TDataCis& dm, const QString& heslo);

// The module codes granted to the surname (rows of "Moduly.DB" with `Prijmeni` = the surname in
// upper case), read through the shared rights table.
QSet<QString> NactiPrava(TDataCis& dm, const QString& prijmeni);
// Replaces the rights of the surname by `moduly` (in the order of the access-rights form; codes
// outside it are dropped), in one transaction. An empty set removes every right.
void UlozPrava(TDataCis& dm, const QString& prijmeni, const QSet<QString>& moduly);
// Rights follow an employee who changes surname; when another employee still bears the old
// surname, the new one gets a copy.
void PrejmenujPrava(TDataCis& dm, const QString& stary, const QString& novy);

// Saves the employee record being inserted or edited in the shared employee table. A non-empty
// `noveHeslo` replaces the password (hash in `HesloHash`, `Heslo` left empty); an empty one
// keeps the stored password. Refuses (false, message shown, nothing posted) a password that
// another employee already has. The record's rights move with a changed surname
// (`puvodniPrijmeni`: the surname when editing began, empty for a new employee). A post the
// storage rules refuse has shown its message and answers false; the record stays in edit.
bool UlozZamestnance(TDataCis& dm, const QString& noveHeslo, const QString& puvodniPrijmeni);

// Whether any employee exists (a data root without one needs its first administrator).
bool MaZamestnance(TDataCis& dm);
// Creates the first administrator with every right. False with a message when the surname or
// the password is empty or the two passwords differ.
bool VytvorSpravce(TDataCis& dm, const QString& prijmeni, const QString& heslo,
                   const QString& hesloZnovu);

} // namespace brix
