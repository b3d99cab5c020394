#pragma once
// The settings form "Nastavení proměnných" and the own-company form.

#include "editbox.h"
#include "util/nastaveni.h"

#include <QDialog>
#include <QVector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace brix {

class TFormulNastaveni : public QDialog {
    Q_OBJECT
public:
    // Reads "nastaven\nast_pr.txt" of the data root into the values of the run and the controls.
    explicit TFormulNastaveni(const QString& datovyKoren, QWidget* parent = nullptr);

    StavNacteni stavNacteni() const { return stav_; }

    void zobrazPole(const PoleNastaveni& p);
    PoleNastaveni pole() const;
    // "&OK": the controls into the values, the file rewritten, closed with OK; stays open with
    // the box in error focused when a value does not convert or a copy count is below 1.
    void ButtonOkClick();

    QRadioButton* RadioCislaVyrobku = nullptr;
    QRadioButton* RadioObjCisla = nullptr;
    QCheckBox *CheckVarTisku = nullptr, *CheckKontrolaSkladu = nullptr, *CheckZahrMeny = nullptr,
              *CheckPoklZasuvka = nullptr, *CheckVyrSQL = nullptr, *CheckZnTisk = nullptr,
              *CheckPrecislovani = nullptr, *CheckTiskObr = nullptr, *CheckKomplet = nullptr,
              *CheckPrenosUzivatele = nullptr;
    QLineEdit *EditZaokrCen = nullptr, *EditZaokrSklKar = nullptr, *EditDLVar = nullptr,
              *EditFaVVar = nullptr, *EditPoklOVar = nullptr, *EditSazbyDPH = nullptr;
    // Copies of a print: 1 at least.
    EditBox *EditFaVPocet = nullptr, *EditDLPocet = nullptr;
    QComboBox* ComboTiskarna = nullptr;

private:
    QString koren_;
    StavNacteni stav_ = StavNacteni::Chybi;
    int tiskarna_ = 1; // kept when the index is not in the printer list
};

class TFormulUdajeFirmy : public QDialog {
    Q_OBJECT
public:
    // Reads "Nastaven\Nastaven.txt" into the data of the run and the fields.
    explicit TFormulUdajeFirmy(const QString& datovyKoren, QWidget* parent = nullptr);

    void nacti();
    UdajeFirmy udaje() const;
    // Saves and closes; a PSČ or IČO of a wrong shape is refused with the focus in its box (a
    // wrong IČO check digit is only a warning).
    void ButtonOkClick();

    QVector<EditBox*> Pole; // the twelve fields in the order of the file

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QString koren_;
};

} // namespace brix
