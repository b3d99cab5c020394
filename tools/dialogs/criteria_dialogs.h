#pragma once
// The small dialogs the registers ask their criteria with: the item criteria of the item
// reports, the total-price range and the period.

#include "field.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLineEdit;
class QPushButton;

namespace brix {

class EditBox;
class Table;

// ---------------------------------------------------------------- item criteria

// The seven criteria; an empty one is skipped.
struct KriteriaPolozky {
    QString objCis;  // ObjCis begins with it (the box gives it in upper case)
    QString cisVyr;  // Cis_Vyr as text equals it
    QString ko1;     // Kod_Ozn1 begins with it
    QString ko2;     // Kod_Ozn2 begins with it
    QString nazev;   // Nazev begins with it
    QString druhPol; // Druh_Pol begins with it
    QString vynSkup; // the revenue group of the item's product, as text, equals it

    bool empty() const;
};

// The revenue group (PC_Vynskup as text) of the product with this order code; nullopt when no
// product has it.
using VynosovaSkupina = std::function<std::optional<QString>(const QString& objCis)>;

// Looks the product up by OBJCIS in a private cursor of the product table, so that the shared
// product table does not move.
VynosovaSkupina vynosovaSkupinaZTabulky(Table& vyrobky);

// Whether the current item matches: every non-empty criterion holds, tested in order and
// stopping at the first that fails; comparisons are case-sensitive. A field the item lacks
// fails its criterion; without a look-up the revenue-group criterion fails.
bool polozkaVyhovuje(const KriteriaPolozky& k, const RecordSource& polozka,
                     const VynosovaSkupina& vynosovaSkupina = {});

class TFormulUctyHledejPol : public QDialog {
    Q_OBJECT
public:
    explicit TFormulUctyHledejPol(QWidget* parent = nullptr);

    KriteriaPolozky kriteria() const;

    QLineEdit* EditObjCis = nullptr;
    QLineEdit* EditCisVyr = nullptr;
    QLineEdit* EditKO1 = nullptr;
    QLineEdit* EditKO2 = nullptr;
    QLineEdit* EditNazev = nullptr;
    QLineEdit* EditDruh_Pol = nullptr;
    QLineEdit* EditVynSkup = nullptr;
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonZrus = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QLineEdit*> edits_;
};

// ---------------------------------------------------------------- price range

class TFormulFiltrCena : public QDialog {
    Q_OBJECT
public:
    explicit TFormulFiltrCena(QWidget* parent = nullptr);

    // The entries as typed (the register builds its filter from them).
    QString cenaOd() const;
    QString cenaDo() const;
    // "field >= 'od' and field <= 'do'"; a blank entry drops its bound.
    QString filtr(const QString& field) const;

    EditBox* EditCenaOd = nullptr;
    EditBox* EditCenaDo = nullptr;
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonZrus = nullptr;

    // Closes with OK when both entries are numbers or blank; else the error is shown and the
    // focus goes to the entry.
    void ButtonOkClick();

protected:
    void showEvent(QShowEvent* e) override;
};

// ---------------------------------------------------------------- period

// The period dialog. The dates confirmed last are remembered for the rest of the run and
// offered the next time (first "01.01.2002" - "31.12.2002").
class TFormulVyrFiltrTiskS : public QDialog {
    Q_OBJECT
public:
    explicit TFormulVyrFiltrTiskS(QWidget* parent = nullptr);

    QString datumOd() const;
    QString datumDo() const;
    std::optional<QDate> od() const;
    std::optional<QDate> doDne() const;
    // "field >= 'od' and field <= 'do'"; a blank entry drops its bound.
    QString filtr(const QString& field) const;

    EditBox* EditDatumOd = nullptr;
    EditBox* EditDatumDo = nullptr;
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonZrus = nullptr;

    // Closes with OK when both entries are dates or blank, and remembers them.
    void ButtonOkClick();

    // Back to the first dates (for a new run, and for tests).
    static void zapomenObdobi();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Shown modally; true on OK with the entries in *od / *do_ as typed.
bool zadejObdobi(QWidget* parent, QString* od, QString* do_);
bool zadejCenu(QWidget* parent, QString* od, QString* do_);

} // namespace brix
