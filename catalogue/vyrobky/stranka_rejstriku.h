#pragma once
// The register page's own commands of the product form: the ranges and the supplier filter of
// "&Rozsah", the marked records, the group trees of "&Hledej", the bulk code change, the
// VAT-rate change, the copy of the last code designation (F4) and the export with the supplier
// fields. They join the form's menus when the form is made; the rules are in
// rejstrik_vyrobku.h.

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace brix {

namespace report {
class TSestava;
}

// The labels of one product: the template "ciselnik\Car_Kod.pts" under the data root in event
// mode, with the fields EAN13, Nazev and MO_Cena (the product's values: the bar code, the name,
// the retail price with two places), over N data steps of that one product.
void NastavNalepky(report::TSestava& sestava, const QString& korenDat, const QStringList& hodnoty,
                   int pocet);

class DataGrid;
class Table;
class TDataCis;
class TFormulVyrobky;
struct UzelStromu;

class RejstrikVyrobku : public QObject {
    Q_OBJECT
public:
    RejstrikVyrobku(TFormulVyrobky& form, TDataCis& dm);
    ~RejstrikVyrobku() override;

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
    // "Pohyby &sklad.karty": the ledger of the current product, ordered by product and date up
    // to 31.12.2100, in the browse form without editing; the ledger is closed afterwards.
    void PohybyClick();
    // "Zobrazit skladové zásoby": the stock levels of the current product below the grid
    // (height 65), or hidden again.
    void ZasobyClick(bool ukaz);
    // "&Tisk" → "&Tiskový správce": the templates "Ciselnik\PrVy*" over the products.
    void TiskovySpravceClick();
    // "&Tisk" → "Čárový kód": the count asked ("48" offered), N labels of the current product;
    // nothing without its EAN13 (told) or for a count that is not a whole number above 0.
    void CarovyKodClick();
    // What prints the prepared labels; the preview unless a test replaces it.
    std::function<int(report::TSestava&)> TiskniNalepky;
    // After the register opened outside chooser mode: the search column ObjCis and the tree of
    // the revenue groups shown.
    void PoOtevreni();

    QTreeWidget* Strom = nullptr;
    QAction* MenuDodavatel = nullptr;
    QAction* MenuOznacene = nullptr;
    QAction* MenuKopieKodu = nullptr;
    QAction* MenuHromadnaZmena = nullptr;
    QAction* MenuPrepocetDPH = nullptr;
    QAction* MenuPohyby = nullptr;
    QAction* MenuZasoby = nullptr;
    QAction* MenuTiskovySpravce = nullptr;
    QAction* MenuCarovyKod = nullptr;
    // "Index": the name of the current order.
    QLabel* LabelIndex = nullptr;
    // The stock levels of the current product, over a cursor of its own linked to the product.
    DataGrid* GridZasoby = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The current product and component, restored after a change of many products.
    struct Pozice {
        qint64 vyrobek = 0;
        qint64 komponenta = 0;
    };
    Pozice pozice() const;
    void obnovPozici(const Pozice& p);
    void ukazFiltr();
    void obnov();
    void upravSloupce();
    void ukazZasoby(int vyska);
    void skryjZasoby();

    TFormulVyrobky& f_;
    TDataCis& dm_;
    Table* vyrobky_;
    std::unique_ptr<Table> zasoby_;
    int zavreniVyrobku_ = 0;
};

} // namespace brix
