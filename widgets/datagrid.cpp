#include "datagrid.h"

#include "codec.h"

#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>

namespace brix {

namespace {

// Paints marked rows in the highlight colour even when they are not selected.
class MarkDelegate : public QStyledItemDelegate {
public:
    explicit MarkDelegate(DataGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!grid_->gridModel() || grid_->markedBookmarks().isEmpty()) return;
        if (grid_->isMarked(grid_->gridModel()->rowidAt(index.row()))) {
            option->backgroundBrush = option->palette.highlight().color().lighter(160);
            option->font.setBold(true);
        }
    }

private:
    DataGrid* grid_;
};

int charsOfField(const FieldDef& f) {
    switch (f.kind) {
    case FieldKind::Text:
        return qBound(4, f.size, 40);
    case FieldKind::Date:
        return 10;
    case FieldKind::Logical:
        return 5;
    case FieldKind::Memo:
        return 20;
    default:
        return 10;
    }
}

// The widest text of a date or time field as the grid shows it; empty for other kinds.
QString sampleOfField(const FieldDef& f) {
    switch (f.kind) {
    case FieldKind::Date:
        return QStringLiteral("00.00.0000");
    case FieldKind::Time:
        return QStringLiteral("00:00:00");
    case FieldKind::Timestamp:
        return QStringLiteral("00.00.0000 00:00:00");
    default:
        return QString();
    }
}

} // namespace

DataGrid::DataGrid(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new MarkDelegate(this));
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int logical) {
        setSearchColumn(logical);
        emit searchColumnChosen(logical);
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { updateLockedGeometry(); });
}

DataGrid::~DataGrid() {
    if (table_ && scrollHandler_) table_->afterScroll.remove(scrollHandler_);
}

void DataGrid::setTable(Table* table) {
    if (table_ && scrollHandler_) table_->afterScroll.remove(scrollHandler_);
    scrollHandler_ = 0;
    delete model_;
    model_ = nullptr;
    table_ = table;
    marked_.clear();
    if (!table_) {
        setModel(nullptr);
        return;
    }
    model_ = new GridModel(*table_, this);
    setModel(model_);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        applyWidths();
        syncToTable();
    });
    scrollHandler_ = table_->afterScroll.add([this](Table&) {
        if (!syncing_) syncToTable();
    });
    applyWidths();
    updateLockedView();
}

void DataGrid::setColumns(const QList<GridColumn>& columns) {
    if (!model_) return;
    model_->setColumns(columns);
    if (searchColumn_ >= model_->columnCount()) searchColumn_ = -1;
    applyWidths();
    updateLockedView();
}

QList<GridColumn> DataGrid::parseLayout(const QString& text) {
    QList<GridColumn> out;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty()) continue;
        int semi = line.indexOf(QLatin1Char(';'));
        QString field = (semi < 0 ? line : line.left(semi)).trimmed();
        if (field.isEmpty()) continue;
        bool ok = false;
        int width = semi < 0 ? -1 : line.mid(semi + 1).trimmed().toInt(&ok);
        // Pixel widths are kept as negative numbers below -1 so that applyWidths can tell them
        // from character widths; 0 pixels hides the column.
        GridColumn c{field, QString(), ok ? (width <= 0 ? -1 : -(width + 1)) : 0};
        out.push_back(c);
    }
    return out;
}

bool DataGrid::loadLayout(const QString& path) {
    if (!model_ || !QFile::exists(path)) return false;
    QString text;
    if (!readTextFile(path, &text)) return false;
    QList<GridColumn> cols;
    for (const GridColumn& c : parseLayout(text))
        if (table_->hasField(c.field)) cols.push_back(c);
    if (cols.isEmpty()) return false;
    setColumns(cols);
    return true;
}

void DataGrid::applyWidths() {
    if (!model_) return;
    const int ch = fontMetrics().averageCharWidth();
    const QList<GridColumn>& cols = model_->columns();
    for (int i = 0; i < cols.size(); ++i) {
        int w = cols[i].width;
        if (w == -1) {
            setColumnHidden(i, true);
            continue;
        }
        setColumnHidden(i, false);
        int px;
        if (w < -1) {
            px = -w - 1;
        } else {
            int fi = model_->fieldIndexOfColumn(i);
            int chars = w > 0 ? w : (fi >= 0 ? charsOfField(table_->fieldDef(fi)) : 10);
            px = chars * ch + 12;
            // Dates and times are as wide as their digits (wider than an average letter).
            const QString sample =
                fi >= 0 && w == 0 ? sampleOfField(table_->fieldDef(fi)) : QString();
            if (!sample.isEmpty()) px = fontMetrics().horizontalAdvance(sample) + 12;
            // The caption is never cut: the column is at least as wide as its title.
            px = qMax(px, titleWidth(columnTitle(i)));
        }
        setColumnWidth(i, px);
    }
    updateLockedView();
}

int DataGrid::titleWidth(const QString& title) const {
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
    return horizontalHeader()->fontMetrics().horizontalAdvance(title) + 2 * margin + 8;
}

QString DataGrid::columnTitle(int column) const {
    if (!model_ || column < 0 || column >= model_->columnCount()) return QString();
    return model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

void DataGrid::setSearchColumn(int column) {
    if (!model_ || column < 0 || column >= model_->columnCount()) column = -1;
    searchColumn_ = column;
}

QString DataGrid::searchField() const {
    if (!model_ || searchColumn_ < 0) return QString();
    return model_->columns().value(searchColumn_).field;
}

void DataGrid::toggleMark(int row) {
    if (!model_) return;
    qint64 id = model_->rowidAt(row);
    if (!id) return;
    if (!marked_.remove(id)) marked_.insert(id);
    viewport()->update();
    if (lockedView_) lockedView_->viewport()->update();
    emit marksChanged();
}

void DataGrid::clearMarks() {
    if (marked_.isEmpty()) return;
    marked_.clear();
    viewport()->update();
    emit marksChanged();
}

QList<qint64> DataGrid::markedBookmarks() const {
    QList<qint64> out(marked_.begin(), marked_.end());
    std::sort(out.begin(), out.end());
    return out;
}

void DataGrid::syncToTable() {
    if (!model_ || !table_ || !table_->active() || syncing_) return;
    if (table_->state() != TableState::Browse) return;
    syncing_ = true;
    int row = model_->rowOfCurrent();
    if (row >= 0) {
        int col = currentIndex().isValid() ? currentIndex().column() : 0;
        while (col < model_->columnCount() - 1 && isColumnHidden(col))
            ++col;
        QModelIndex idx = model_->index(row, col);
        selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect |
                                                   QItemSelectionModel::Rows);
        QTableView::scrollTo(idx);
    }
    syncing_ = false;
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (syncing_ || !model_ || !current.isValid() || current.row() == previous.row()) return;
    if (!table_ || table_->state() != TableState::Browse) return;
    syncing_ = true;
    try {
        model_->moveTableTo(current.row());
    } catch (const std::exception&) {
        // The row went away under us (another copy deleted it): the next reload shows it.
    }
    syncing_ = false;
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
    const bool plain =
        event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        emit recordActivated();
        return;
    }
    if (plain && event->key() == Qt::Key_Escape) {
        emit escapePressed();
        return;
    }
    if (marking_ && plain && event->key() == Qt::Key_Space && currentIndex().isValid()) {
        toggleMark(currentIndex().row());
        return;
    }
    QTableView::keyPressEvent(event);
}

void DataGrid::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    if (marking_ && (event->modifiers() & Qt::ControlModifier)) {
        QModelIndex idx = indexAt(event->position().toPoint());
        if (idx.isValid()) toggleMark(idx.row());
    }
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QModelIndex idx = indexAt(event->position().toPoint());
    if (idx.isValid())
        emit recordActivated();
    else
        QTableView::mouseDoubleClickEvent(event);
}

// --- locked columns: a second view over the same model and selection lies over the first
// columns and scrolls only up and down.

void DataGrid::setLockedColumns(int n) {
    locked_ = qMax(0, n);
    updateLockedView();
}

void DataGrid::updateLockedView() {
    if (locked_ == 0 || !model_) {
        if (lockedView_) lockedView_->hide();
        return;
    }
    if (!lockedView_) {
        lockedView_ = new QTableView(this);
        lockedView_->setFocusPolicy(Qt::NoFocus);
        lockedView_->verticalHeader()->hide();
        lockedView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        lockedView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        lockedView_->setSelectionBehavior(QAbstractItemView::SelectRows);
        lockedView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        lockedView_->setItemDelegate(new MarkDelegate(this));
        lockedView_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        lockedView_->setVerticalScrollMode(verticalScrollMode());
        viewport()->stackUnder(lockedView_);
        connect(lockedView_->verticalScrollBar(), &QAbstractSlider::valueChanged,
                verticalScrollBar(), &QAbstractSlider::setValue);
        connect(verticalScrollBar(), &QAbstractSlider::valueChanged,
                lockedView_->verticalScrollBar(), &QAbstractSlider::setValue);
        connect(lockedView_->horizontalHeader(), &QHeaderView::sectionClicked, this,
                [this](int logical) {
                    setSearchColumn(logical);
                    emit searchColumnChosen(logical);
                });
    }
    if (lockedView_->model() != model_) {
        lockedView_->setModel(model_);
        lockedView_->setSelectionModel(selectionModel());
    }
    lockedView_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    for (int c = 0; c < model_->columnCount(); ++c) {
        lockedView_->setColumnHidden(c, c >= locked_ || isColumnHidden(c));
        lockedView_->setColumnWidth(c, columnWidth(c));
    }
    lockedView_->show();
    updateLockedGeometry();
}

void DataGrid::updateLockedGeometry() {
    // Explicitly hidden only: before the window shows, the overlay is not visible yet and still
    // needs its geometry, or it keeps the default size of a new view.
    if (!lockedView_ || lockedView_->isHidden() || !model_) return;
    int width = 0;
    for (int c = 0; c < qMin(locked_, model_->columnCount()); ++c) {
        if (!isColumnHidden(c)) width += columnWidth(c);
        lockedView_->setColumnWidth(c, columnWidth(c));
    }
    lockedView_->setGeometry(frameWidth(), frameWidth(), width,
                             viewport()->height() + horizontalHeader()->height());
}

void DataGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    updateLockedGeometry();
}

QModelIndex DataGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    QModelIndex current = QTableView::moveCursor(action, modifiers);
    if (locked_ > 0 && lockedView_ && action == MoveLeft && current.column() >= locked_) {
        int lockedWidth = lockedView_->width();
        if (visualRect(current).topLeft().x() < lockedWidth) {
            int delta = visualRect(current).topLeft().x() - lockedWidth;
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() + delta);
        }
    }
    return current;
}

void DataGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (locked_ > 0 && index.column() < locked_) {
        // Locked columns are always visible: only scroll up and down.
        int column = horizontalHeader()->logicalIndexAt(lockedView_ ? lockedView_->width() : 0);
        QTableView::scrollTo(model_->index(index.row(), column < 0 ? index.column() : column),
                             hint);
        return;
    }
    QTableView::scrollTo(index, hint);
}

} // namespace brix
