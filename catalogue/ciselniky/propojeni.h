#pragma once
// The code lists of the program: one form per list, created when first needed and kept for
// the run (other forms open them as choosers), over the data module's shared tables; and the
// commands of the main menu's "&Číselníky" that show them.

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace brix {

class TDataCis;
class RegisterForm;
class TFormulCelSaz;
class TFormulFirma;
class TFormulVyrobky;
class TFormulDruhUctu;
class TFormulKodOzn1;
class TFormulKodOzn2;
class TFormulObor;
class TFormulRabSkup;
class TFormulSklad;
class TFormulSkonto;
class TFormulStredGrid;
class TFormulVynSkup;
class TFormulZeme;

class TCiselniky : public QObject {
    Q_OBJECT
public:
    // `okno`: the main window, parent of the forms; `dm`: the run's data module, whose shared
    // tables the forms show.
    TCiselniky(QWidget& okno, TDataCis& dm);
    ~TCiselniky() override;

    // The one instance of the run (null before PropojCiselniky).
    static TCiselniky* instance();

    TDataCis& dataCis();
    TFormulSkonto& skonto();
    TFormulObor& obor();
    TFormulRabSkup& rabSkup();
    TFormulVynSkup& vynSkup();
    TFormulZeme& zeme();
    TFormulKodOzn1& kodOzn1();
    TFormulKodOzn2& kodOzn2();
    TFormulCelSaz& celSaz();
    TFormulDruhUctu& druhUctu();
    TFormulSklad& sklad();
    TFormulStredGrid& stred();
    TFormulFirma& firmy();
    TFormulVyrobky& vyrobky();

    // The employee register as a chooser (by surname, no search text); the shell, which owns
    // that register, sets it. Without it the dealer box has no chooser.
    void setVyberZamestnance(std::function<bool()> vyber) { vyberZamestnance_ = std::move(vyber); }

    // Shows a code list as a chooser with a search text in a search column; true when a record
    // was chosen (the current record of the list's shared table).
    static bool vyber(RegisterForm& f, const QString& text = {}, const QString& pole = {});

private:
    template <class F, class... A> F& form(std::unique_ptr<F>& slot, A&&... args);

    QWidget& okno_;
    TDataCis& dm_;
    std::unique_ptr<TFormulSkonto> skonto_;
    std::unique_ptr<TFormulObor> obor_;
    std::unique_ptr<TFormulRabSkup> rabSkup_;
    std::unique_ptr<TFormulVynSkup> vynSkup_;
    std::unique_ptr<TFormulZeme> zeme_;
    std::unique_ptr<TFormulKodOzn1> kodOzn1_;
    std::unique_ptr<TFormulKodOzn2> kodOzn2_;
    std::unique_ptr<TFormulCelSaz> celSaz_;
    std::unique_ptr<TFormulDruhUctu> druhUctu_;
    std::unique_ptr<TFormulSklad> sklad_;
    std::unique_ptr<TFormulStredGrid> stred_;
    std::unique_ptr<TFormulFirma> firmy_;
    std::unique_ptr<TFormulVyrobky> vyrobky_;
    std::function<bool()> vyberZamestnance_;
};

// Gives a main-menu command (an id of shell/prikazy.h) its handler.
using NastavObsluhu = std::function<void(const QString& prikaz, std::function<void()> obsluha)>;

// Creates the run's code lists as a child of the main window and wires the "&Číselníky"
// commands "&Výrobky", "&Firmy", "&Obory", "&Skonto", "&Rabatní tabulka", "Vý&nosové skupiny",
// "&Měny", "&Celní sazebník", "&Druhy účtů" and "S&třediska" to show their forms modally (in
// normal mode). The fields of business and the partner register, then the revenue groups and
// the product form are created at once; the other lists when first needed.
TCiselniky& PropojCiselniky(QWidget& hlavniOkno, TDataCis& dm, const NastavObsluhu& nastav);

} // namespace brix
