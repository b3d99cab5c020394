#pragma once
// The cursor over one catalogue table: the current record, navigation in the order of an
// index (always by seeking on the index, never by reading the table into memory), key ranges,
// filters, locate, bookmarks, master-detail links, calculated fields, and editing with the
// notifications the data module hangs its rules on.
//
// What another copy of the program commits is seen on the next move, refresh or query: no read
// outlives the move that made it (rows read ahead are kept, never an open statement, and are
// thrown away when the database's change counter moved), and a post in Edit reads the stored
// record again inside its write transaction (ConflictPolicy).

#include "database.h"
#include "field.h"
#include "filter.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace brix {

class Table;

enum class TableState { Inactive, Browse, Edit, Insert };

using TableHandler = std::function<void(Table&)>;

// A list of handlers; each add() answers an id for remove().
class TableEvent {
public:
    int add(TableHandler h);
    void remove(int id);
    bool empty() const { return handlers_.empty(); }
    void fire(Table& t) const;

private:
    std::vector<std::pair<int, TableHandler>> handlers_;
    int next_ = 1;
};

// What a post or delete error handler decides.
enum class ErrorAction { Fail, Abort, Retry };
using TableErrorHandler = std::function<ErrorAction(Table&, const StorageError&)>;

// What post() in Edit does when the stored record changed since edit() began: another copy of
// the program or another cursor of this one wrote it, or deleted it.
enum class ConflictPolicy {
    // Fields this edit did not assign take the stored values, so another copy's change of an
    // untouched field survives. A deleted record fails with RecordDeletedByOther. The default,
    // for every edit the program makes itself.
    Merge,
    // Any difference between the stored record and the record as edit() read it fails with
    // RecordChangedByOther, a deleted one with RecordDeletedByOther; nothing is written. For the
    // entry forms, which then ask the user.
    Detect,
    // The buffer is written as it is; a deleted record is inserted again ("save as it is").
    Overwrite
};

struct LocateOptions {
    bool caseInsensitive = false;
    bool partialKey = false;  // a text value matches the beginning of the field
    bool contains = false;    // a text value matches anywhere in the field
    bool fromCurrent = false; // the search starts at the current record (which may match)
};

class Table : public RecordSource {
public:
    // `address` as Database::table takes it. Throws StorageError when the table is unknown.
    Table(Database& db, const QString& address, const QString& baseDirectory = QString());
    ~Table() override;
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    Database& database() const { return db_; }
    const TableDef& def() const { return def_; }
    QString sourceName() const override { return def_.address(); }

    // ---- open / close
    void open();
    void close();
    bool active() const { return state_ != TableState::Inactive; }
    TableState state() const { return state_; }

    // ---- fields (the catalogue's fields the SQL table has, then the calculated ones)
    int fieldCount() const override { return int(fields_.size()); }
    const FieldDef& fieldDef(int index) const override { return fields_[index]; }
    int fieldIndex(const QString& name) const override;
    QVariant fieldValue(int index) const override;
    void setFieldValue(int index, const QVariant& value) override;
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    Field field(int index) { return Field(this, index); }
    Field field(const QString& name); // throws StorageError (NotFound)
    Field operator[](const QString& name) { return field(name); }
    bool isCalculated(int index) const { return index >= physicalCount_; }
    // Adds a calculated field (before open); onCalcFields gives it its value for each record.
    void addCalculatedField(const FieldDef& def);

    // ---- navigation
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool hasRecord() const { return hasRecord_; }
    qint64 recordCount();
    // Whether the view (range, master, filter) holds any record, whatever the cursor stands on.
    bool isEmpty();
    // Re-reads the current record and drops what was read ahead (sees other cursors' posts).
    void refresh();
    // Writes the buffers to disk; every commit is durable already, so this only checkpoints.
    void flush();

    // ---- index
    void setIndexName(const QString& name); // "" = primary; throws when unknown
    QString indexName() const { return indexName_; }
    // By field list "A;B": the index whose fields are exactly these (case-insensitive).
    void setIndexFieldNames(const QString& fields);
    QStringList indexFields() const { return orderFields_; }
    // The last index whose field list, upper-cased, begins with `prefix` ("CIS_UCTU").
    bool setIndexStartingWith(const QString& prefix);

    // ---- keys and ranges on the current index
    bool findKey(const QVariantList& values);     // exact, on the first values.size() fields
    void findNearest(const QVariantList& values); // first record >= values (else last, eof)
    // Restricts the records to those whose first index fields lie between low and high
    // (inclusive, compared field by field; fewer values than fields cover the leading fields).
    void setRange(const QVariantList& low, const QVariantList& high);
    void cancelRange();
    bool hasRange() const { return rangeSet_; }

    // ---- filtering
    // The filter text applies while filtered is on. Switching on an expression that cannot be
    // read throws StorageError (FilterSyntax) and leaves the filter off.
    void setFilter(const QString& expression);
    QString filter() const { return filterText_; }
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }
    void setFilterOptions(const FilterOptions& options);
    FilterOptions filterOptions() const { return filterOptions_; }
    // A per-record test applied, like the expression, while filtered is on.
    void setFilterCallback(std::function<bool(Table&)> accept);

    // ---- locate: the first record in the current order whose fields ("A;B") have the values
    bool locate(const QString& fields, const QVariantList& values,
                const LocateOptions& options = {});

    // ---- bookmarks
    using Bookmark = qint64;
    Bookmark bookmark() const { return hasRecord_ ? rowid_ : 0; }
    bool gotoBookmark(Bookmark b);
    bool bookmarkValid(Bookmark b);

    // ---- master-detail: this table shows only the rows whose detailFields equal the master's
    // current masterFields, and a new row gets those values.
    void setMaster(Table* master, const QString& masterFields, const QString& detailFields);
    Table* master() const { return master_; }

    // ---- editing
    // post() in Edit reads the stored record inside its write transaction and settles a change
    // by another copy by this policy. A failed post leaves the record in Edit with its values.
    void setConflictPolicy(ConflictPolicy policy) { conflictPolicy_ = policy; }
    ConflictPolicy conflictPolicy() const { return conflictPolicy_; }
    void insert();
    void append() { insert(); }
    void edit();
    void post();
    void cancel();
    void remove(); // delete the current record
    bool modified() const { return modified_; }

    // ---- notifications
    TableEvent afterOpen, beforeClose, afterClose;
    TableEvent beforeInsert, onNewRecord, afterInsert;
    TableEvent beforeEdit, afterEdit;
    TableEvent beforePost, afterPost;
    TableEvent beforeCancel, afterCancel;
    TableEvent beforeDelete, afterDelete;
    TableEvent afterScroll;   // the current record changed
    TableEvent onCalcFields;  // give the calculated fields their values
    TableEvent onStateChange; // browse / edit / insert / inactive
    TableEvent onDataChanged; // the set or the order of the records changed (grids re-read)
    TableErrorHandler onPostError, onDeleteError;

    // ---- for the grid model: records of the current order without moving the cursor
    struct Row {
        qint64 rowid = 0;
        QVector<QVariant> values;
    };
    QVector<Row> fetchRows(qint64 offset, int limit);
    // Position (0-based) of the current record in the current order; -1 without one.
    qint64 currentRowNumber();
    // Makes the record with this rowid current (false when it is not among the visible records).
    bool gotoRowid(qint64 rowid) { return gotoBookmark(rowid); }

private:
    struct Stream;
    struct KeepRecord;
    void requireActive(const char* what) const;
    void checkBrowse(); // posts a pending edit, as moving off a record does
    void setState(TableState s);
    const QString& selectList() const;
    SqlCondition baseCondition();
    void invalidate();
    void invalidateFilterCache();
    void checkFilterSql();
    void loadRow(Statement& st);
    // The calculated fields of the record in the buffer; `clear` blanks them first.
    void calculate(bool clear);
    bool stepAccepted(Statement& st);
    void clearBuffer();
    void currentChanged();
    void masterChanged();
    Statement& cached(const QString& sql);
    // The reads of this cursor by their shape: the kind of read and its condition. The text of
    // each is built and prepared once, until the order changes or the cursor closes.
    enum class Read : char {
        First = 'F',    // the first row in the order
        FirstAll = 'f', // the rows in the order, for a record callback to judge
        Batch = 'B',    // a batch of rows forward, its size bound last
        BatchBack = 'b',
        Any = 'A',   // whether a row is there
        Rows = 'R',  // the rows unordered, for a record callback to judge
        Count = 'C', // how many rows
    };
    Statement& read(Read kind, const QString& where);
    // A statement of this cursor's own, prepared on first use.
    Statement& prepared(std::shared_ptr<Statement>& slot, const std::function<QString()>& sql);
    void orderChanged();
    const SqlCondition& rangeCondition();
    void bindAll(Statement& st, const SqlCondition& c, int from = 1);
    bool seekFirst(const SqlCondition& extra);
    void openStream(bool forward, bool fromCurrent);
    void fillStream();
    bool streamNext(); // the next record of the stream the filter accepts, into the buffer
    void doPost();
    void doDelete();
    bool readStored(qint64 rowid, QVector<QVariant>& values);
    bool sameRecord(const QVector<QVariant>& stored) const;
    void settleConflict();
    bool rowExists(const TableDef& t, const QStringList& fields, const QVector<QVariant>& values,
                   qint64 exceptRowid, std::shared_ptr<Statement>* slot = nullptr);
    // The rows after (before) the current one in the current order; `inclusive` takes the
    // current row too.
    SqlCondition afterCurrent(bool forward, bool inclusive = false) const;
    SqlCondition afterRow(bool forward, const QVector<QVariant>& key, qint64 rowid,
                          bool inclusive = false) const;
    QVector<SqlCondition> continuation(bool forward, const QVector<QVariant>& key,
                                       qint64 rowid) const;
    SqlCondition keyCompare(const QStringList& fields, const QVariantList& values,
                            bool greaterEq) const;
    FieldKind kindOf(const QString& field) const;

    Database& db_;
    const TableDef& def_;
    QVector<FieldDef> fields_;
    int physicalCount_ = 0;
    TableState state_ = TableState::Inactive;

    QVector<QVariant> buf_, saved_;
    // The record as edit() read it, and which fields this edit assigned since.
    QVector<QVariant> original_;
    QVector<bool> assigned_;
    ConflictPolicy conflictPolicy_ = ConflictPolicy::Merge;
    qint64 rowid_ = 0, savedRowid_ = 0;
    bool hasRecord_ = false, savedHasRecord_ = false;
    bool eof_ = true, bof_ = true, modified_ = false, inCalc_ = false;

    QString indexName_;
    QStringList orderFields_;

    bool rangeSet_ = false;
    QVariantList rangeLow_, rangeHigh_;

    QString filterText_;
    bool filtered_ = false;
    FilterOptions filterOptions_;
    SqlCondition filterSql_;
    std::function<bool(Table&)> filterCallback_;

    Table* master_ = nullptr;
    QStringList masterFields_, detailFields_;
    std::vector<Table*> details_;

    std::unique_ptr<Stream> stream_;
    quint64 streamGeneration_ = 0;
    QHash<QString, std::shared_ptr<Statement>> statements_;
    QString selectList_, insertSql_, updateSql_;

    // Built once: the quoted table and order fields, the order clauses, the range's condition,
    // the master's condition text, findKey's conditions by the shape of the key given.
    QString tableSql_;
    QStringList orderSql_;
    QString orderForward_, orderBack_;
    SqlCondition rangeCondition_;
    bool rangeConditionValid_ = false;
    QString masterSql_;
    bool masterSqlValid_ = false;
    QHash<quint32, QString> keySql_;
    QHash<int, QString> equalRangeSql_;
    QHash<QByteArray, std::shared_ptr<Statement>> updates_;            // by the fields written
    std::map<Read, QHash<QString, std::shared_ptr<Statement>>> reads_; // by kind, by condition
    std::shared_ptr<Statement> insertSt_, updateSt_, storedSt_, deleteSt_, keyTakenSt_[2];
    std::vector<std::shared_ptr<Statement>> foreignSt_;
    mutable QHash<QString, int> fieldIndexCache_;
    struct RecentName {
        const QChar* text = nullptr;
        qsizetype size = 0;
        QString name; // holds the text, so that its place is not reused while it is here
        int index = -1;
    };
    static constexpr int kRecentNames = 64;
    mutable RecentName recentNames_[kRecentNames];
    // The write lock's epoch and the connection's change count when edit() read the record
    // under the lock (epoch 0: read without it).
    // What a record read under the write lock depends on: the lock's epoch (0: read without it),
    // the rows written other than through cursors, the writes of this table's cursors.
    struct ReadStamp {
        quint64 epoch = 0;
        qint64 otherChanges = 0;
        quint64 tableWrites = 0;
    };
    ReadStamp stampNow() const;
    bool stillAsRead(const ReadStamp& s) const;
    ReadStamp editStamp_; // when edit() took the record
    ReadStamp loadStamp_; // when a single-record read loaded the buffer
    quint64* writes_ = nullptr;
    bool loadedUnderLock() const;
};

} // namespace brix
