#pragma once
// The run of the program: start-up in its fixed order, the first showing of the main window
// with the login, and the wiring of the main menu's commands to their forms.

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

namespace brix {

class Database;
class TDataCis;
class TAboutBox;
class TFormulZamestGrid;
class TFormMenu;
class TFormulNastaveni;
class TFormulUdajeFirmy;
class TFormulVarVyrKS;

class Aplikace {
public:
    // `argumenty`: the program's name and the arguments left after the data-root options.
    Aplikace(const QString& datovyKoren, const QStringList& argumenty);
    ~Aplikace();
    Aplikace(const Aplikace&) = delete;
    Aplikace& operator=(const Aplikace&) = delete;

    // Start-up up to the main window on screen after a successful login. False when the
    // program is to end (the login or the first-start dialog was cancelled, the data root
    // could not be opened; the reason was shown).
    bool spust();

    TFormMenu* hlavniOkno() const { return menu_.get(); }
    Database* databaze() const { return db_.get(); }
    // The data module: the one owner of the shared tables (null before start-up created it).
    TDataCis* datovyModul() const { return dm_.get(); }
    // The employee register, shared: other forms open it as a chooser.
    TFormulZamestGrid* formularZamestnancu() const { return zamestnanci_.get(); }
    TFormulNastaveni* formularNastaveni() const { return nastaveni_.get(); }
    // The variant dialog "KS variant", shared by the item entry of delivery notes and cash
    // sales; made at start-up, right after the data module it works on.
    TFormulVarVyrKS* formularVariant() const { return varianty_.get(); }
    bool nastPrNacten() const { return nastPrNacten_; }
    const QString& datovyKoren() const { return koren_; }

private:
    // `splash`: hidden while the first start asks for the administrator and the own company.
    bool vytvorSdileneFormulare(QWidget* splash);
    bool prvniZobrazeni();
    void propojPrikazy();
    void obnovStav();

    QString koren_;
    QStringList argumenty_;
    std::unique_ptr<TFormMenu> menu_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<TDataCis> dm_;
    std::unique_ptr<TFormulNastaveni> nastaveni_;
    std::unique_ptr<TFormulZamestGrid> zamestnanci_;
    std::unique_ptr<TFormulUdajeFirmy> udajeFirmy_;
    std::unique_ptr<TFormulVarVyrKS> varianty_;
    std::unique_ptr<Database> pripraveno_; // the data root made ready before any form
    bool novyKoren_ = false;
    bool nastPrNacten_ = false;
    bool zasuvkaHlasena_ = false;
};

// Shows the messages of the data and settings helpers through the platform layer.
void PropojZpravySPlatformou();

} // namespace brix
