#pragma once
// The paper-format dialog "Formát papíru": name, width and height of one format of the list.
// Built-in formats are shown read-only.

#include "paper.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace brix::report {

class TDlgFormatPapiru : public QDialog {
    Q_OBJECT
public:
    explicit TDlgFormatPapiru(QWidget* parent = nullptr);

    // Shows the format; editable false makes every field read-only.
    void setFormat(const TFormatPapiru& format, bool editable);
    bool editable() const { return editable_; }

    QLineEdit* EditNazev = nullptr;
    QLineEdit* EditSirka = nullptr;
    QLineEdit* EditVyska = nullptr;
    QPushButton* ButtonKonec = nullptr; // confirms
    QPushButton* ButtonZpet = nullptr;  // goes back without a change

private:
    bool editable_ = true;
};

// Opens the dialog for format index of the list (through the platform's modal execution);
// editable is also false for a built-in format. On "Konec" the list takes the name and the
// sizes (a size that is not a number above 0 keeps its value). True when confirmed.
bool EditFormat(TListFormatu& list, int index, bool editable, QWidget* parent = nullptr);

} // namespace brix::report
