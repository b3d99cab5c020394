#pragma once
// The settings form "Nastavení proměnných" and the own-company form.

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
    // "&OK": the controls into the values, the file rewritten, closed with OK; stays open when
    // a value does not convert.
    void ButtonOkClick();

    QRadioButton* RadioCislaVyrobku = nullptr;
    QRadioButton* RadioObjCisla = nullptr;
    QCheckBox *CheckVarTisku = nullptr, *CheckKontrolaSkladu = nullptr, *CheckZahrMeny = nullptr,
              *CheckPoklZasuvka = nullptr, *CheckVyrSQL = nullptr, *CheckZnTisk = nullptr,
              *CheckPrecislovani = nullptr, *CheckTiskObr = nullptr, *CheckKomplet = nullptr,
              *CheckPrenosUzivatele = nullptr;
    QLineEdit *EditZaokrCen = nullptr, *EditZaokrSklKar = nullptr, *EditDLVar = nullptr,
              *EditFaVVar = nullptr, *EditFaVPocet = nullptr, *EditDLPocet = nullptr,
              *EditPoklOVar = nullptr, *EditSazbyDPH = nullptr;
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
    void ButtonOkClick();

    QVector<QLineEdit*> Pole; // the twelve fields in the order of the file

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QString koren_;
};

} // namespace brix
