#pragma once
// The login dialog and the first-start dialog that creates the first administrator.

#include <QDialog>
#include <QSet>

class QLineEdit;
class QPushButton;

namespace brix {

class TDataCis;

class TPasswordDlg : public QDialog {
    Q_OBJECT
public:
    explicit TPasswordDlg(TDataCis& dm, QWidget* parent = nullptr);

    QLineEdit* Password = nullptr;

    // "OK": finds the employee of the typed password; closes with OK when found, else shows
    // "Zadané heslo neexistuje" and stays open with the password focused.
    void OKBtnClick();

    // After a successful login.
    const QString& prijmeni() const { return prijmeni_; }
    const QSet<QString>& moduly() const { return moduly_; }

private:
    TDataCis& dm_;
    QString prijmeni_;
    QSet<QString> moduly_;
};

// Asked when the data root has no employee yet.
class TFormulPrvniStart : public QDialog {
    Q_OBJECT
public:
    explicit TFormulPrvniStart(TDataCis& dm, QWidget* parent = nullptr);

    QLineEdit* EditPrijmeni = nullptr;
    QLineEdit* EditHeslo = nullptr;
    QLineEdit* EditHesloZnovu = nullptr;
    QPushButton* ButtonPrevod = nullptr;

    void ButtonOkClick();
    // "Převést data ze staré datové složky…": the old program's data instead of a new
    // administrator; the dialog closes when they brought employees along.
    void ButtonPrevodClick();

private:
    TDataCis& dm_;
};

} // namespace brix
