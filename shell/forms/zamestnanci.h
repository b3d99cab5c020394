#pragma once
// The employee register "Vstup zaměstnanců a dealerů", its entry form and the access-rights
// form "Přístupy", all on the data module's shared tables `TableZamest` and `TableModul`.

#include "entry_state.h"
#include "register.h"

#include <QDialog>
#include <QHash>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

namespace brix {

class TDataCis;

// The entry form of one employee: works on the record the register put into insert or edit.
class TFormulZamestVstup : public QDialog {
    Q_OBJECT
public:
    explicit TFormulZamestVstup(TDataCis& dm, QWidget* parent = nullptr);

    // The logged-in employee holds SPRAVCE: he may give any surname (after the question when
    // it carries rights); without it a surname with rights is refused.
    void nastavSpravce(bool spravce) { spravce_ = spravce; }
    // The current record into the fields; "Příjmení" gets the focus. The password field stays
    // empty: the stored password is a hash, and an empty field keeps it.
    void nacti();
    // "&Ok": the fields into the record, the password (when one was typed) as its hash, post;
    // closes with OK. A refused save (a password too short or not usable, a surname with
    // rights, a storage rule) keeps the form open with the record in edit and the field in
    // error focused.
    void ButtonOkClick();
    // "&Zruš", like Escape: an unchanged record closes at once, a changed one after the
    // question; the insert or edit is cancelled.
    void ButtonZrusClick();

    QTabWidget* PageControl = nullptr;
    EditBox* EditPrijmeni = nullptr;
    EditBox* EditJmeno = nullptr;
    EditBox* EditNarozen = nullptr;
    EditBox* EditProvize = nullptr;
    QPlainTextEdit* MemoPoznamka = nullptr;
    QLineEdit* EditHeslo = nullptr;
    StatusBar* StatusBar1 = nullptr;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool ukladani() const;
    void zrus();

    TDataCis& dm_;
    QString puvodniPrijmeni_, puvodniJmeno_;
    bool spravce_ = false;
    EntryState stav_;
};

// The access rights of the employee current in the register.
class TFormulZamestPristup : public QDialog {
    Q_OBJECT
public:
    explicit TFormulZamestPristup(TDataCis& dm, QWidget* parent = nullptr);

    // Clears every box and checks those of the employee's rights.
    void nacti();
    // "&OK": the employee's rights become the checked boxes; closes with OK. Taking SPRAVCE from
    // the last employees who hold it is refused and the form stays open.
    void ButtonOkClick();

    QCheckBox* box(const QString& kod) const { return boxy_.value(kod); }
    const QString& prijmeni() const { return prijmeni_; }

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    TDataCis& dm_;
    QHash<QString, QCheckBox*> boxy_;
    QString prijmeni_;
    EntryState stav_;
};

class TFormulZamestGrid : public RegisterForm {
    Q_OBJECT
public:
    // `spravce`: the logged-in user manages users ("&Přístupy" is enabled, every record may be
    // changed); without it only his own record may.
    TFormulZamestGrid(TDataCis& dm, bool spravce, QWidget* parent = nullptr);
    void nastavSpravce(bool spravce);
    bool spravce() const { return spravce_; }

    static RegisterConfig konfigurace();

    // "F&unkce" → "&Přístupy" on the current employee.
    void PristupyClick();
    // Without SPRAVCE: "&Nový" and "&Smazat" are refused, "&Oprava" of another employee too;
    // the last administrator and the logged-in employee are not deleted.
    void NovyClick() override;
    void OpravaClick() override;
    void SmazatClick() override;

    QAction* MenuPristupy = nullptr;
    TFormulZamestVstup* vstup() const { return vstup_; }

protected:
    // "&Nový" and "&Oprava" open the employee entry form; what it leaves in edit is cancelled.
    void openEntry() override;

private:
    TDataCis& dm_;
    TFormulZamestVstup* vstup_ = nullptr;
    bool spravce_ = false;
};

} // namespace brix
