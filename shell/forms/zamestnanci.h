#pragma once
// The employee register "Vstup zaměstnanců a dealerů", its entry form and the access-rights
// form "Přístupy", all on the data module's shared tables `TableZamest` and `TableModul`.

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

    // The current record into the fields; "Příjmení" gets the focus. The password field stays
    // empty: the stored password is a hash, and an empty field keeps it.
    void nacti();
    // "&Ok": the fields into the record, the password (when one was typed) as its hash, post;
    // closes with OK. A refused save (a password another employee has, a storage rule) keeps
    // the form open with the record in edit.
    void ButtonOkClick();
    // "&Zruš": cancels the insert or edit and closes.
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
    QString puvodniPrijmeni_;
};

// The access rights of the employee current in the register.
class TFormulZamestPristup : public QDialog {
    Q_OBJECT
public:
    explicit TFormulZamestPristup(TDataCis& dm, QWidget* parent = nullptr);

    // Clears every box and checks those of the employee's rights.
    void nacti();
    // "&OK": the employee's rights become the checked boxes; closes with OK.
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
};

class TFormulZamestGrid : public RegisterForm {
    Q_OBJECT
public:
    // `spravce`: the logged-in user manages users ("&Přístupy" is enabled).
    TFormulZamestGrid(TDataCis& dm, bool spravce, QWidget* parent = nullptr);

    static RegisterConfig konfigurace();

    // "F&unkce" → "&Přístupy" on the current employee.
    void PristupyClick();

    QAction* MenuPristupy = nullptr;
    TFormulZamestVstup* vstup() const { return vstup_; }

protected:
    // "&Nový" and "&Oprava" open the employee entry form; what it leaves in edit is cancelled.
    void openEntry() override;

private:
    TDataCis& dm_;
    TFormulZamestVstup* vstup_ = nullptr;
};

} // namespace brix
