#pragma once
// The register page's own commands of the product form: the ranges and the supplier filter of
// "&Rozsah", the marked records, the group trees of "&Hledej", the bulk code change, the
// VAT-rate change, the copy of the last code designation (F4) and the export with the supplier
// fields. They join the form's menus when the form is made; the rules are in
// rejstrik_vyrobku.h.

#include <QObject>
#include <QString>

class QAction;
class QTreeWidget;
class QTreeWidgetItem;

namespace brix {

class TDataCis;
class TFormulVyrobky;
struct UzelStromu;

class RejstrikVyrobku : public QObject {
    Q_OBJECT
public:
    RejstrikVyrobku(TFormulVyrobky& form, TDataCis& dm);

    // "&Rozsah" on a field: the input boxes ("Rozsah", and "Rozsah do" with a "to" value), the
    // condition joined to the filter by the filter database's join dialog.
    void RozsahVyrobku(const QString& pole, bool textove, bool sDo, bool prefix);
    void DodavatelClick();
    void OznaceneVetyClick();
    // The trees: the code designations or the revenue groups shown beside the grid; "&Bez
    // stromu" hides it and focuses the grid.
    void StromSkupin(bool kody);
    void BezStromu();
    void KliknutiStromu(QTreeWidgetItem* uzel);
    void KopieKoduClick();
    void HromadnaZmenaClick();
    void PrepocetDPHClick();
    void ExportClick();
    // After the register opened outside chooser mode: the search column ObjCis and the tree of
    // the revenue groups shown.
    void PoOtevreni();

    QTreeWidget* Strom = nullptr;
    QAction* MenuDodavatel = nullptr;
    QAction* MenuOznacene = nullptr;
    QAction* MenuKopieKodu = nullptr;
    QAction* MenuHromadnaZmena = nullptr;
    QAction* MenuPrepocetDPH = nullptr;

private:
    void ukazFiltr();
    void obnov();

    TFormulVyrobky& f_;
    TDataCis& dm_;
};

} // namespace brix
