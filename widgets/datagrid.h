#pragma once

// The data grid of registers: a table view over a cursor's GridModel that follows the cursor's
// current record, lets a click on a column title choose the search column, marks rows (several
// at once), keeps the first columns in place while the rest scroll, and takes its columns and
// widths from a layout file ("field;width" per line).

#include "grid_model.h"

#include <QSet>
#include <QTableView>

namespace brix {

class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    // The grid shows the table through a model of its own.
    void setTable(Table* table);
    Table* table() const { return table_; }
    GridModel* gridModel() const { return model_; }

    // Columns and widths (characters; 0 from the field's size, a negative width hides it).
    void setColumns(const QList<GridColumn>& columns);
    // "field;width" lines (width in pixels, 0 hides the column); empty lines and lines without
    // a field name are skipped.
    static QList<GridColumn> parseLayout(const QString& text);
    // Replaces the columns by the layout file's when it exists and names at least one column.
    bool loadLayout(const QString& path);
    int columnWidthOf(int column) const { return columnWidth(column); }

    // The first n columns stay in place while the others scroll sideways.
    void setLockedColumns(int n);
    int lockedColumns() const { return locked_; }

    // The search column, -1 when none; a click on a title sets it.
    int searchColumn() const { return searchColumn_; }
    void setSearchColumn(int column);
    QString searchField() const;
    QString columnTitle(int column) const;
    // Pixels a column needs to show a title whole.
    int titleWidth(const QString& title) const;

    // Marked rows: Space or Ctrl+click toggles the current row's mark when on.
    void setMarkingEnabled(bool on) { marking_ = on; }
    bool markingEnabled() const { return marking_; }
    bool isMarked(qint64 bookmark) const { return marked_.contains(bookmark); }
    void toggleMark(int row);
    void clearMarks();
    QList<qint64> markedBookmarks() const;

    // Shows the table's current record as the grid's current row.
    void syncToTable();

signals:
    void searchColumnChosen(int column);
    void recordActivated(); // Enter or a double click
    void escapePressed();
    void marksChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

private:
    void applyWidths();
    void updateLockedView();
    void updateLockedGeometry();

    Table* table_ = nullptr;
    GridModel* model_ = nullptr;
    QTableView* lockedView_ = nullptr;
    int locked_ = 0;
    int searchColumn_ = -1;
    bool marking_ = false;
    bool syncing_ = false;
    QSet<qint64> marked_;
    int scrollHandler_ = 0;
};

} // namespace brix
