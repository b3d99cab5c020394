#pragma once
// The model a grid shows a table through. It reads only the pages of rows on screen, keeps a few
// of them, and forgets them when the table's records or order change.
#include "table.h"

#include <QAbstractTableModel>
#include <QList>

#include <limits>

namespace brix {

struct GridColumn {
    QString field;
    QString title; // empty = the field name
    int width = 0; // characters; 0 = from the field's size
};

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(Table& table, QObject* parent = nullptr);
    ~GridModel() override;

    Table& table() const { return table_; }
    void setColumns(const QList<GridColumn>& columns); // empty = every field of the table
    const QList<GridColumn>& columns() const { return columns_; }
    int fieldIndexOfColumn(int column) const;
    int columnOfField(const QString& field) const; // -1 when not shown

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    qint64 rowidAt(int row) const; // 0 when outside
    int rowOfCurrent() const;      // the table's current record, -1 when none
    // Moves the table to the record of the row.
    bool moveTableTo(int row);

    void reload(); // the table's records changed: forget everything read
    int pageSize() const { return kPage; }
    int pagesRead() const { return pagesRead_; } // for tests: how much was read

private:
    static constexpr int kPage = 64;
    static constexpr int kKeep = 16;
    struct Page {
        qint64 first = 0;
        QVector<Table::Row> rows;
    };
    const Table::Row* rowAt(int row) const;

    Table& table_;
    QList<GridColumn> columns_;
    QVector<int> fieldIndex_;
    mutable qint64 count_ = -1;
    mutable QList<Page> pages_; // most recently used first
    mutable int pagesRead_ = 0;
    int dataChangedHandler_ = 0, stateHandler_ = 0;
};

} // namespace brix
