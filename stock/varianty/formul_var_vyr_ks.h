#pragma once
// The variant dialog "KS variant" of a delivery-note or cash-sale item: a row per variant of the
// item's product with its stock and a box for the pieces the item takes, in a scrolling area
// (every variant, however many). "&Ok" or Enter saves the lines (UlozVariantyPolozky) and
// closes with the total, "&Zruš" closes with 0, Escape asks first.

#include "dialogs/data_source.h"
#include "varianty.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QGridLayout;

namespace brix {

class TDataCis;

class TFormulVarVyrKS : public QDialog {
    Q_OBJECT
public:
    explicit TFormulVarVyrKS(TDataCis& dm, QWidget* parent = nullptr);

    // The item's variant lines (Var_DL or VarVyr_PoklO) as the data source, checked: none, none
    // with a table, a closed table (opened on Yes). False when it cannot be used.
    bool PripojZdroj(const DataSource* zdroj);
    // The item whose variants the dialog shows when it is next shown.
    void setPolozka(const PolozkaVariant& p) { polozka_ = p; }

    // The rows of the item's product with the amounts of its lines; the first box focused.
    void nacti();
    // The sum of what the boxes give (a text that is no number counts 0).
    Decimal spoctiCelkem() const;
    Decimal celkem() const { return celkem_; }

    void OkClick();
    void ZrusClick();

    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonZrus = nullptr;
    QScrollArea* Oblast = nullptr;
    QList<QLineEdit*> boxy;
    QList<QLabel*> skladLabels;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void zrusRadky();

    TDataCis& dm_;
    DataSource zdroj_;
    bool pripojen_ = false;
    PolozkaVariant polozka_;
    std::vector<RadekVarianty> radky_;
    QWidget* obsah_ = nullptr;
    QGridLayout* mrizka_ = nullptr;
    Decimal celkem_;
};

} // namespace brix
