#pragma once
// The oversized-page dialog "Taliv - možnosti tisku": the report's page and the printer's
// sheet, a drawing of the sheets, and how to print: cut to the sheet, reduced to it, or on
// several sheets (offered only when the sheet less the margins leaves room). The printer's
// paper can be turned and its properties changed; the sizes follow.

#include "paper.h"
#include "printing.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;

namespace brix::report {

class SheetDrawing;

class TFormTalivReportZoom : public QDialog {
    Q_OBJECT
public:
    TFormTalivReportZoom(int printerIndex, const PageSetup& page, QWidget* parent = nullptr);

    // The plan of the chosen option (after "Tisknout").
    SheetPlan plan() const;
    OversizeMode mode() const;

    QLabel* LabelSestava = nullptr; // "%d x %d" of the report's page
    QLabel* LabelMedium = nullptr;  // "%d x %d" of the printer's sheet
    QLabel* LabelMeritko = nullptr; // "%d %%" of the reduced scale
    QRadioButton* RadioOriznout = nullptr;
    QRadioButton* RadioZmensit = nullptr;
    QRadioButton* RadioListy = nullptr;
    QPushButton* ButtonOtocit = nullptr;
    QPushButton* ButtonTiskarna = nullptr;
    QPushButton* ButtonTisknout = nullptr;
    QPushButton* ButtonStorno = nullptr;

    // Re-reads the printer's sheet and shows the sizes, the scale and the options.
    void refresh();

private:
    int printer_;
    PageSetup page_;
    QSizeF sheet_;
    SheetDrawing* drawing_ = nullptr;
};

// The chooser of oversized pages that asks the dialog (through the platform's modal run).
OversizeChooser zoomDialogChooser(QWidget* parent = nullptr);

// Printing with the dialogs of this library, as the component's printer output.
void installPrintingWithDialogs(TSestava& report, QWidget* parent = nullptr);

} // namespace brix::report
