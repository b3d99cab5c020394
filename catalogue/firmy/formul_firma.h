#pragma once
// The partner register: customers, suppliers and prospects on the common register, with the
// entry page of every partner field and its look-ups, the meeting-notes page ("&Zápisy"), the
// clipboard buttons and the partner chooser of the product and document forms. The partner
// table is the data module's shared cursor, so that a chosen partner stays current for the
// caller; the form's rules without widgets are in firmy.h.

#include "box_watch.h"
#include "register.h"

#include <QStringList>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace brix {

class TDataCis;

class TFormulFirma : public RegisterForm {
    Q_OBJECT
public:
    explicit TFormulFirma(TDataCis& dm, QWidget* parent = nullptr);
    ~TFormulFirma() override;

    // The choosers of the code lists the entry page opens with F3. Each shows its register as a
    // chooser and answers whether a record was chosen; the chosen record is then the current
    // one of the data module's shared table.
    struct Vybery {
        std::function<bool()> skonto;                 // payment terms
        std::function<bool()> obor;                   // fields of business
        std::function<bool()> zamestnanec;            // by surname, no search text
        std::function<bool(const QString& kod)> mena; // search column KOD_Meny, the code typed
    };
    void setVybery(Vybery v) { vybery_ = std::move(v); }

    // The partner chooser: the partner table in the order "NazevF" (opened when closed), the
    // search field Nazev with `text`, shown modally; true when a partner was chosen (it is the
    // current record of the shared partner table).
    bool VyberFirmu(const QString& text);

    void openRegister() override;
    void closeRegister() override;
    void NovyClick() override;
    void SmazatClick() override;
    void rozsahItem(int item) override;

    // "Název obsahuje", "&Rozsah" → "&Název", "&Město", "Označené věty".
    void NazevObsahujeClick();
    void RozsahNazevClick();
    void RozsahMestoClick();
    void OznaceneVetyClick();
    // The leaving rules of the currency and region boxes.
    void ExitMena();
    void ExitOblast();
    // "&C" and "&V".
    void SchrankaKopirujClick();
    void SchrankaVlozClick();
    // The choosers of the entry page (F3).
    void VyberSkonto();
    void VyberObor();
    void VyberDealer();
    void VyberMenu();

    // "&Funkce" → "&Zápisy": the notes page; "&Konec" posts a pending note and shows the
    // register.
    void ZapisyClick();
    void KonecZapisuClick();
    bool zapisyShown() const;

    // The number "&Nový" offers next (kept in "ciselnik\nastavfi.txt").
    qint64 nabizeneCislo() const { return nabizene_; }
    const QStringList& oblasti() const { return oblasti_; }

    EditBox* box(const QString& pole) const;
    QComboBox* seznam(const QString& pole) const;

    QLabel* LabelIndex = nullptr; // the name of the current order
    QAction* MenuNazevObsahuje = nullptr;
    QAction* MenuOznaceneVety = nullptr;
    QAction* MenuZapisy = nullptr;
    QPushButton* ButtonKopiruj = nullptr; // "&C"
    QPushButton* ButtonVloz = nullptr;    // "&V"
    QLabel* LabelStavDluhu = nullptr;

    // The notes page.
    QWidget* TabSheetZapisy = nullptr;
    QLabel* LabelFirma = nullptr;
    DataGrid* GridZapisy = nullptr;
    Navigator* NavigatorZapisy = nullptr;
    QPushButton* ButtonKonec = nullptr;
    EditBox* EditDatum = nullptr;
    EditBox* EditUcastnici = nullptr;
    EditBox* EditPopis = nullptr;
    QWidget* MemoZapis = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void vytvorVstup();
    void vytvorZapisy();
    void naplnSeznamy();
    void ukazPoradi(const QString& popis);
    void stavZapisu();
    bool ulozZapis();
    void zrusZapisAKonec();
    void otevri(Table* t);

    TDataCis& dm_;
    Table& zapisy_;
    FieldBinding zapisyBinding_;
    std::unique_ptr<NavigatorTarget> zapisyTarget_;
    BoxWatch* watch_ = nullptr;
    Vybery vybery_;
    QHash<QString, QWidget*> boxy_;
    QList<Table*> otevrene_; // the tables this form opened and closes again
    QStringList oblasti_;
    qint64 nabizene_ = 1;
};

} // namespace brix
