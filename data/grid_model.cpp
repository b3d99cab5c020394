#include "grid_model.h"

#include "decimal.h"

namespace brix {

GridModel::GridModel(Table& table, QObject* parent) : QAbstractTableModel(parent), table_(table) {
    setColumns({});
    dataChangedHandler_ = table_.onDataChanged.add([this](Table&) { reload(); });
    stateHandler_ = table_.afterPost.add([this](Table&) { reload(); });
}

GridModel::~GridModel() {
    table_.onDataChanged.remove(dataChangedHandler_);
    table_.afterPost.remove(stateHandler_);
}

void GridModel::setColumns(const QList<GridColumn>& columns) {
    beginResetModel();
    columns_ = columns;
    if (columns_.isEmpty())
        for (const FieldDef& f : table_.def().fields)
            columns_.push_back({f.name, QString(), 0});
    fieldIndex_.clear();
    for (const GridColumn& c : columns_)
        fieldIndex_.push_back(table_.fieldIndex(c.field));
    pages_.clear();
    count_ = -1;
    endResetModel();
}

int GridModel::fieldIndexOfColumn(int column) const {
    return column >= 0 && column < fieldIndex_.size() ? fieldIndex_[column] : -1;
}

int GridModel::columnOfField(const QString& field) const {
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].field.compare(field, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int GridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !table_.active()) return 0;
    if (count_ < 0) count_ = table_.recordCount();
    return int(qMin<qint64>(count_, std::numeric_limits<int>::max()));
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

const Table::Row* GridModel::rowAt(int row) const {
    if (row < 0 || !table_.active()) return nullptr;
    const qint64 first = (row / kPage) * qint64(kPage);
    for (int i = 0; i < pages_.size(); ++i) {
        if (pages_[i].first == first) {
            if (i) pages_.move(i, 0);
            const Page& p = pages_.front();
            return row - first < p.rows.size() ? &p.rows[int(row - first)] : nullptr;
        }
    }
    Page p{first, table_.fetchRows(first, kPage)};
    ++pagesRead_;
    pages_.prepend(std::move(p));
    while (pages_.size() > kKeep)
        pages_.removeLast();
    const Page& front = pages_.front();
    return row - first < front.rows.size() ? &front.rows[int(row - first)] : nullptr;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    int fi = fieldIndexOfColumn(index.column());
    if (fi < 0) return QVariant();
    if (role == Qt::TextAlignmentRole) {
        FieldKind k = table_.fieldDef(fi).kind;
        return isNumericKind(k) ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                                : QVariant(int(Qt::AlignLeft | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) return QVariant();
    const Table::Row* r = rowAt(index.row());
    if (!r || fi >= r->values.size()) return QVariant();
    if (role == Qt::EditRole) return r->values[fi];
    const FieldDef& f = table_.fieldDef(fi);
    const QVariant& v = r->values[fi];
    // Amounts the catalogue shows at fixed places keep them ("297,50", not "297,5").
    if ((f.kind == FieldKind::Float || f.kind == FieldKind::Money) && f.decimals >= 0 &&
        !v.isNull())
        return Decimal::fromDouble(v.toDouble()).toString(f.decimals);
    return displayText(v, f.kind);
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= columns_.size()) return QVariant();
    return columns_[section].title.isEmpty() ? columns_[section].field : columns_[section].title;
}

qint64 GridModel::rowidAt(int row) const {
    const Table::Row* r = rowAt(row);
    return r ? r->rowid : 0;
}

int GridModel::rowOfCurrent() const {
    // The pages read hold the rows in the table's order: a browsed record found there has its
    // row without a count of the records before it (the grid asks on every move and reset).
    // With nothing read yet, the record is most often the first one (a table just opened,
    // ordered or filtered), which one row read tells.
    const qint64 id = table_.bookmark();
    if (id && table_.active() && table_.state() == TableState::Browse) {
        if (pages_.isEmpty()) {
            const QVector<Table::Row> first = table_.fetchRows(0, 1);
            if (!first.isEmpty() && first.front().rowid == id) return 0;
        }
        for (const Page& p : pages_)
            for (int i = 0; i < p.rows.size(); ++i)
                if (p.rows[i].rowid == id) return int(p.first + i);
    }
    qint64 n = table_.currentRowNumber();
    return n < 0 ? -1 : int(n);
}

bool GridModel::moveTableTo(int row) {
    qint64 id = rowidAt(row);
    return id && table_.gotoRowid(id);
}

void GridModel::reload() {
    beginResetModel();
    pages_.clear();
    count_ = -1;
    endResetModel();
}

} // namespace brix
