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

// The surname of the logged-in employee (set once, at login) and the first name of the record
// the login found; together they name the employee's own record.
QString& PrihlasenyUzivatel();
QString& PrihlasenyJmeno();
// Whether the employee record (surname, first name) is the logged-in employee's own.
bool JePrihlaseny(const QString& prijmeni, const QString& jmeno);
// True when the first argument after the program's name, in lower case, is "verbose".
bool JeVerbose(const QStringList& argumenty);
bool& Verbose();

// The employee whose password this is: the first in the order of the shared employee table
// whose stored hash matches (case-insensitive), or whose old plain `Heslo` equals it ignoring
// case; such a plain password is replaced by its hash on the spot. An empty password logs
// nobody in. Answers the employee's `PRIJMENI`. The table is opened for the search and closed
// again when it was closed. Throws StorageError. `jmeno`, when given, gets the first name.
std::optional<QString> NajdiZamestnancePodleHesla(TDataCis& dm, const QString& heslo,
                                                  QString* jmeno = nullptr);

// The module codes granted to the surname (rows of "Moduly.DB" with `Prijmeni` = the surname in
// upper case), read through the shared rights table.
QSet<QString> NactiPrava(TDataCis& dm, const QString& prijmeni);
// Replaces the rights of the surname by `moduly` (in the order of the access-rights form; codes
// outside it are dropped), in one transaction. An empty set removes every right.
void UlozPrava(TDataCis& dm, const QString& prijmeni, const QSet<QString>& moduly);
// Rights follow an employee who changes surname; when another employee still bears the old
// surname, the new one gets a copy.
void PrejmenujPrava(TDataCis& dm, const QString& stary, const QString& novy);

// Passwords have at least this many characters.
inline constexpr int kMinDelkaHesla = 4;

// Saves the employee record being inserted or edited in the shared employee table. A non-empty
// `noveHeslo` replaces the password (hash in `HesloHash`, `Heslo` left empty); an empty one
// keeps the stored password. Refuses (false, message shown, nothing posted) a password shorter
// than kMinDelkaHesla and one that another employee already has; the refusal does not say that
// somebody else has it. The record's rights move with a changed surname
// (`puvodniPrijmeni`: the surname when editing began, empty for a new employee). A post the
// storage rules refuse has shown its message and answers false; the record stays in edit.
// `hesloOdmitnuto`, when given, tells whether it was the password that was refused.
bool UlozZamestnance(TDataCis& dm, const QString& noveHeslo, const QString& puvodniPrijmeni,
                     bool* hesloOdmitnuto = nullptr);

// ---- who may change what --------------------------------------------------------------------
// The employee register is open to everyone (other forms choose employees from it); without the
// right SPRAVCE an employee may change only his own record. A data root always keeps an
// employee with SPRAVCE. Each check answers the Czech refusal, or nothing when it is allowed.

inline const QString kPravoSpravce = QStringLiteral("SPRAVCE");

std::optional<QString> OdmitnutiNovehoZamestnance(bool spravce);
std::optional<QString> OdmitnutiOpravyZamestnance(bool spravce, const QString& prijmeni,
                                                  const QString& jmeno);
// The record of (prijmeni, jmeno) is to be deleted: not without SPRAVCE, not the logged-in
// employee, not the last employee holding SPRAVCE.
std::optional<QString> OdmitnutiSmazaniZamestnance(TDataCis& dm, bool spravce,
                                                   const QString& prijmeni, const QString& jmeno);
// The rights of the surname are to become `moduly`: SPRAVCE is not taken from the last employees
// holding it.
std::optional<QString> OdmitnutiZmenyPrav(TDataCis& dm, const QString& prijmeni,
                                          const QSet<QString>& moduly);
// How many employees hold SPRAVCE (through their surname).
int PocetSpravcu(TDataCis& dm);

// Rights are kept by surname: an employee who is saved under a surname that already carries
// rights (a new one, or a renamed one) gets them. The question to ask first, or nothing when the
// surname carries no rights or is the employee's own. `puvodniPrijmeni`: empty for a new one.
QString OtazkaJmenovcu(TDataCis& dm, const QString& prijmeni, const QString& puvodniPrijmeni);
// Without SPRAVCE nobody takes a surname that carries rights: the refusal, or nothing.
std::optional<QString> OdmitnutiPrijmeni(TDataCis& dm, bool spravce, const QString& prijmeni,
                                         const QString& puvodniPrijmeni);

// Whether any employee exists (a data root without one needs its first administrator).
bool MaZamestnance(TDataCis& dm);
// Creates the first administrator with every right. False with a message when the surname or
// the password is empty, the password is too short or the two passwords differ.
bool VytvorSpravce(TDataCis& dm, const QString& prijmeni, const QString& heslo,
                   const QString& hesloZnovu);

} // namespace brix
