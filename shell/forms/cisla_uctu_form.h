#pragma once
// The first-numbers form "První čísla účtů": the number each document type offers next.

#include "entry_state.h"

#include <QDialog>
#include <QHash>

class QAction;

namespace brix {

class TDataCis;
class EditBox;
class StatusBar;

class TFormulCisUctu : public QDialog {
    Q_OBJECT
public:
    explicit TFormulCisUctu(TDataCis& dm, QWidget* parent = nullptr);

    // Shows the numbers of the rows of "Cis_uctu"; fields of types without a row keep their text.
    void nactiCisla();
    // "&Ok": writes the nine numbers and closes with OK. A box without a whole number of at
    // least 1 is reported, gets the focus and nothing is written.
    void ButtonOkClick();
    // "&Tisk" → "&Seznam čísel účtů": "ciselnik\CisUctuSeznZ.pts" while character printing is on.
    static QString sablonaSeznamu();

    EditBox* pole(const QString& typ) const { return pole_.value(typ); }
    QAction* MenuTiskSeznam = nullptr;
    QAction* MenuExport = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    // The table is closed when the form closes.
    void hideEvent(QHideEvent* e) override;

private:
    TDataCis& dm_;
    QHash<QString, EditBox*> pole_;
    StatusBar* status_ = nullptr;
    EntryState stav_;
};

} // namespace brix
