#pragma once
// The field chooser: the user picks fields of a table in the order wanted (duplicates allowed)
// and the choice is remembered in a text file, one field name a line.

#include "data_source.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace brix {

// The remembered choice: the lines of the file, blank lines dropped; empty when the file does
// not exist. False (with a Czech error text) when it exists but cannot be read.
bool nactiVyberPolozek(const QString& path, QStringList* fields, QString* error = nullptr);
// Replaces the file with the choice; false with a Czech error text.
bool ulozVyberPolozek(const QString& path, const QStringList& fields, QString* error = nullptr);

class TFormVyberPol : public QDialog {
    Q_OBJECT
public:
    explicit TFormVyberPol(QWidget* parent = nullptr);

    // Checks the data source and fills ListBoxTable; false when the check fails.
    bool setDataSource(const DataSource& source);
    // The remembered-choice file: a path of the system relative to the data root of the
    // attached table (or an absolute one).
    void setFileName(const QString& fileName);
    QString fileName() const { return fileName_; }
    // Where the file really is.
    QString filePath() const;

    QStringList chosenFields() const;

    QListWidget* ListBoxTable = nullptr;
    QListWidget* ListBoxVyber = nullptr;
    QLabel* LabelSoubor = nullptr;
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonZrus = nullptr;

    void ListBoxTableDblClick(int row);
    void ListBoxVyberDblClick(int row);
    // Saves the choice and closes with OK; a file that cannot be written is reported and the
    // dialog stays open.
    void ButtonOkClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    DataSource source_;
    QString fileName_;
};

// The chooser on the data source with its remembered-choice file, shown modally. True when the
// choice was saved; *chosen then holds it.
bool vyberPolozky(QWidget* parent, const DataSource& source, const QString& fileName,
                  QStringList* chosen = nullptr);

} // namespace brix
