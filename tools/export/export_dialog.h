#pragma once
// The export dialog: target directory, data format, the master table and optionally the items
// of each of its records. The work is done on "&OK".
#include "export/table_export.h"
#include "table.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace brix {

class TFormulExportDat : public QDialog {
    Q_OBJECT
public:
    explicit TFormulExportDat(QWidget* parent = nullptr);

    QLineEdit* EditCesta = nullptr;
    QRadioButton* RadioParadox = nullptr;
    QRadioButton* RadioDbase = nullptr;
    QRadioButton* RadioText = nullptr;

    // Attaches the master and checks it; false (with the message shown) when it cannot be
    // exported, and the dialog then does no work.
    bool setMaster(Table* master);
    void setDetail(Table* detail) { detail_ = detail; }
    // The names the files of the master and detail are written under (the components' names);
    // empty: made from the table's file name.
    void setNames(const QString& master, const QString& detail = {}) { names_ = {master, detail}; }
    Table* master() const { return master_; }
    // The target directory: a relative path lies under the data root of the master.
    QString targetDirectory() const;

    // Exports, then says what was written, where and how many records, and closes with OK. A
    // failed export shows why and keeps the dialog open.
    void ButtonOkClick();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    Table* master_ = nullptr;
    Table* detail_ = nullptr;
    exporting::Names names_;
};

// Writes the records of `t` as a workbook under "Prac_Db" of its data root and opens it with the
// desktop's application for it; when nothing opens it, says so with the file's path. Returns the
// file written (empty on failure).
QString ExportDoTabulky(Table& t);

} // namespace brix
