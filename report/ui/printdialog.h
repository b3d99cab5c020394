#pragma once
// The print dialog of the preview (`TSestPrintDlg`): the printer with its driver and place, its
// properties and printing to a file; the page range, copies, the current page only, one record
// only; the template of the print (the templates of the shown one's directory by description),
// editing it and keeping it as the default form; the background. "&Tisk" accepts, "&Náhled"
// ends with PreviewResult (the preview shows the chosen template), "Storno" rejects.

#include "previewprint.h"
#include "sestava.h"

#include <QComboBox>
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace brix::report {

// The printers of the platform; the current one chosen.
class TComboBoxPrinter : public QComboBox {
    Q_OBJECT
public:
    explicit TComboBoxPrinter(QWidget* parent = nullptr);
    void fill();
    int printerIndex() const { return currentIndex(); }
};

// The templates of a directory by their description; the item's data is the file.
class TComboBoxPredloha : public QComboBox {
    Q_OBJECT
public:
    explicit TComboBoxPredloha(QWidget* parent = nullptr);
    // The templates of the directory, the current file chosen (added first when the directory
    // does not hold it, under the caption; an empty file stands for a stored template).
    void fill(const QString& directory, const QString& currentFile, const QString& caption);
    QString chosenFile() const;
};

class TSestPrintDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int PreviewResult = 2;

    explicit TSestPrintDlg(TSestava& report, QWidget* parent = nullptr);

    TPrintDialogTyp settings() const;

    void ButtonTiskClick();
    void ButtonNahledClick();
    void ButtonVlastnostiClick();
    void ButtonUpravitClick();

    TComboBoxPrinter* ComboPrinter = nullptr;
    QLabel* LabelTyp = nullptr;
    QLabel* LabelKde = nullptr;
    QPushButton* ButtonVlastnosti = nullptr;
    QCheckBox* CheckSoubor = nullptr;
    QSpinBox* EditOd = nullptr;
    QSpinBox* EditDo = nullptr;
    QSpinBox* EditKopie = nullptr;
    QCheckBox* CheckAktualni = nullptr;
    QCheckBox* CheckJedenZaznam = nullptr;
    TComboBoxPredloha* ComboPredloha = nullptr;
    QPushButton* ButtonUpravit = nullptr;
    QCheckBox* CheckVychozi = nullptr;
    QCheckBox* CheckPozadi = nullptr;
    QPushButton* ButtonTisk = nullptr;
    QPushButton* ButtonNahled = nullptr;
    QPushButton* ButtonStorno = nullptr;

private:
    void printerChanged();
    void fillTemplates(const QString& chosen);
    // Stores the default form when asked; false after saying why it could not be stored.
    bool storeDefault();

    TSestava& report_;
};

} // namespace brix::report
