#pragma once
// The filter database form and the filter-join dialog, and the calls a register makes:
//
//   "&Rozsah" -> "&Filtr":   bool on = spustFiltr(this, table, "DS_Skonto");
//   a range command:        bool on = zapniRozsah(this, table, filtr::rangeExpression(...));
//   then the register shows filtr::kFiltrZapnut (or clears the panel) by the result.

#include "filter_db.h"

#include <QDialog>

#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace brix {

class GridModel;

// The filter database of one data source: the saved filters in a grid, the expression of the
// current one with its two options, the field and operator lists, "&Provést".
class TfmFilterFrmObec : public QDialog {
    Q_OBJECT
public:
    explicit TfmFilterFrmObec(QWidget* parent = nullptr);
    ~TfmFilterFrmObec() override;

    // Attaches the data source: checks it and fills the field list (each field with its caption
    // beside it; the item's data is the name that goes into the expression). false (the form
    // has no table to filter) when the check fails.
    bool setDataSource(const DataSource& source);
    Table* dataset() const { return source_.table; }
    // The saved filters while the form is shown; null otherwise.
    Table* filterTable() const { return filters_.get(); }

    QTableView* GridFiltry = nullptr;
    QPlainTextEdit* MemoPopis = nullptr;
    QCheckBox* CheckMalaVelka = nullptr;  // "Rozeznávat velká-malá"
    QCheckBox* CheckHledatCele = nullptr; // "Neporovnávat částečné"
    QListWidget* ListPolozky = nullptr;
    QListWidget* ListOperatory = nullptr;
    QPushButton* ButtonProvest = nullptr;
    QPushButton* ButtonUlozit = nullptr;
    QPushButton* ButtonSmazat = nullptr;
    QPushButton* ButtonZrusit = nullptr;

    void PolozkyDblClick(const QString& field);
    void OperatoryDblClick(const QString& op);
    void ButtonProvestClick();
    void CheckMalaVelkaClick();
    void CheckHledatCeleClick();
    void ButtonUlozitClick();
    void ButtonSmazatClick();
    // The field name an item of "Polož&ky" stands for.
    static QString fieldOfItem(const QListWidgetItem* item);
    // A new saved filter (Insert in the grid, or Down below the last one).
    void NovyFiltr();

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openFilters();
    void closeFilters();
    void showRecord(); // the current filter record into the memo and the check boxes
    // Before another filter is shown or begun: an edited one is saved or dropped as the user
    // says ("Uložit změny filtru?"); false when he stays with it.
    bool settlePending();
    bool beginEdit(); // the current filter record into edit (a new one when there is none)
    void memoEdited();
    void setOption(const QString& field, bool on);
    bool guarded(const std::function<void()>& op); // storage errors shown as "Chyba"

    DataSource source_;
    std::unique_ptr<Table> filters_;
    std::unique_ptr<GridModel> model_;
    QList<std::pair<TableEvent*, int>> handlers_;
    bool loading_ = false;
};

// Asks how a new filter joins the one on the table: "&A zároveň", "&Nový filtr samostatně",
// "N&ebo".
class TfrmPripojFiltr : public QDialog {
    Q_OBJECT
public:
    TfrmPripojFiltr(const QString& tableName, const QString& currentFilter,
                    QWidget* parent = nullptr);

    QLabel* LabelTabulka = nullptr;
    QLabel* LabelFiltr = nullptr;
    QRadioButton* RadioA = nullptr;
    QRadioButton* RadioNovy = nullptr;
    QRadioButton* RadioNebo = nullptr;
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonCancel = nullptr;

    filtr::JoinKind joinKind() const;
};

// The filter text to set when `added` narrows the table: `added` itself when the table's filter
// is off or empty; otherwise the join dialog decides, and Cancel keeps the current text (and
// sets *cancelled).
QString pripojFiltr(Table& table, const QString& added, QWidget* parent = nullptr,
                    bool* cancelled = nullptr);

// A range command: joins `added` to the table's filter, sets the result and switches it on
// ignoring case. Cancel in the join dialog, or an empty `added`, leave the filter as it is. A
// filter that cannot be read is reported and the old one stays. True when the table is
// filtered afterwards.
bool zapniRozsah(QWidget* parent, Table& table, const QString& added);

// The filter database on the table of a register, shown modally beside the register's window
// (not over its grid). sourceName: the component name of its data source (empty: "DS_" + the
// table's file name); captions: the grid's column titles by field name in upper case. True
// when the table is filtered afterwards.
bool spustFiltr(QWidget* parent, Table& table, const QString& sourceName = QString(),
                const QHash<QString, QString>& captions = {});

} // namespace brix
