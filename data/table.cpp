#include "table.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <sqlite3.h>

namespace brix {

// ---------------------------------------------------------------- TableEvent

int TableEvent::add(TableHandler h) {
    handlers_.emplace_back(next_, std::move(h));
    return next_++;
}

void TableEvent::remove(int id) {
    for (auto it = handlers_.begin(); it != handlers_.end(); ++it)
        if (it->first == id) {
            handlers_.erase(it);
            return;
        }
}

void TableEvent::fire(Table& t) const {
    // A handler may add or remove handlers; fire the ones present when the event came.
    auto copy = handlers_;
    for (auto& [id, h] : copy)
        h(t);
}

// ---------------------------------------------------------------- Table

// The rows a cursor reads ahead in its order. A move takes them a batch at a time and resets
// its statement at once: no read outlives the move that made it, so this connection never holds
// a read snapshot between moves and every move can see another copy's commit. A cursor that
// finds the change counter moved throws its rows away and reads on from its current record.
struct Table::Stream {
    bool forward = true;
    bool exhausted = false;   // the last read found no rows beyond those held
    SqlCondition base;        // range, master and filter
    QVector<qint64> rowids;   // the rows read and not served yet, from `next`
    QVector<QVariant> values; // physicalCount_ values a row
    int next = 0;
    int batch = 8;         // rows the next read asks for; grows while the cursor keeps walking
    bool haveLast = false; // the last row read, where the next read goes on from
    QVector<QVariant> lastKey;
    qint64 lastRowid = 0;
};

namespace {

QString q(const QString& id) {
    return sqlIdentifier(id);
}

QStringList splitFields(const QString& s) {
    QStringList out;
    for (const QString& p : s.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        QString t = p.trimmed();
        if (!t.isEmpty()) out << t;
    }
    return out;
}

// The shape of "field = value": 0 an equality, 1 a blank, 2 the range of a value kept at four
// places.
enum EqualityShape : quint32 { Equal = 0, Blank = 1, FourPlaces = 2 };

EqualityShape equalityShape(const FieldDef& f, const QVariant& v) {
    if (v.isNull()) return Blank;
    if (storedAtFourPlaces(f) && std::fabs(v.toDouble()) < 1e14) return FourPlaces;
    return Equal;
}

// "field = value" for locate and findKey; money, prices and quantities compare at four places
// (the stored values that round to the value), as the filters do. Without `parts` only the
// parameters are added (the condition's text is known).
void addEquality(QStringList* parts, SqlCondition& c, const FieldDef& f, const QVariant& v) {
    const QString col = parts ? sqlIdentifier(f.name) : QString();
    switch (equalityShape(f, v)) {
    case Blank:
        if (parts) *parts << col + QLatin1String(" IS NULL");
        return;
    case FourPlaces: {
        const std::int64_t raw = Decimal::fromDouble(v.toDouble()).raw();
        if (parts) *parts << QStringLiteral("(%1 >= ? AND %1 < ?)").arg(col);
        c.add(double(raw * 2 - 1) / double(2 * Decimal::kScale), FieldKind::Float);
        c.add(double(raw * 2 + 1) / double(2 * Decimal::kScale), FieldKind::Float);
        return;
    }
    case Equal:
        if (parts) *parts << col + QLatin1String(" = ?");
        c.add(v, f.kind);
        return;
    }
}

StorageError stateError(const QString& table, const QString& what) {
    return StorageError(StorageErrorKind::State, what, table);
}

// The texts the user sees are the data module's (storage_messages.cpp); these name the table.
StorageError deletedByOther(const QString& table) {
    return StorageError(StorageErrorKind::RecordDeletedByOther,
                        QStringLiteral("Záznam tabulky %1 mezitím smazal jiný uživatel").arg(table),
                        table);
}

StorageError changedByOther(const QString& table) {
    return StorageError(StorageErrorKind::RecordChangedByOther,
                        QStringLiteral("Záznam tabulky %1 mezitím změnil jiný uživatel").arg(table),
                        table);
}

} // namespace

Table::Table(Database& db, const QString& address, const QString& baseDirectory)
    : db_(db), def_(db.table(address, baseDirectory)) {
    QStringList present = db_.physicalColumns(def_);
    for (const FieldDef& f : def_.fields)
        if (present.contains(f.name.toLower())) fields_.push_back(f);
    physicalCount_ = int(fields_.size());
    buf_.resize(fields_.size());
    // The statements every post uses, built once.
    QStringList cols, marks, sets;
    for (int i = 0; i < physicalCount_; ++i) {
        cols << q(fields_[i].name);
        marks << QStringLiteral("?");
        sets << q(fields_[i].name) + QLatin1String(" = ?");
    }
    selectList_ = QStringLiteral("rowid");
    for (int i = 0; i < physicalCount_; ++i)
        selectList_ += QLatin1String(", ") + q(fields_[i].name);
    insertSql_ =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(q(def_.sqlName), cols.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
    updateSql_ = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                     .arg(q(def_.sqlName), sets.join(QLatin1String(", ")));
    indexName_ = def_.defaultIndex;
    if (indexName_.isEmpty())
        orderFields_ = def_.primaryKey;
    else
        orderFields_ = def_.index(indexName_)->fields;
    tableSql_ = q(def_.sqlName);
    writes_ = db_.writeCounter(def_.sqlName);
    orderChanged();
}

Table::ReadStamp Table::stampNow() const {
    if (!db_.inTransaction()) return {};
    return {db_.writeEpoch(), db_.otherChanges(), *writes_};
}

// Under the same write lock (no other copy writes while it holds) nothing was written on this
// connection since the stamp to this table, nor by a plain statement.
bool Table::stillAsRead(const ReadStamp& s) const {
    return s.epoch != 0 && db_.inTransaction() && s.epoch == db_.writeEpoch() &&
           s.tableWrites == *writes_ && s.otherChanges == db_.otherChanges();
}

void Table::orderChanged() {
    orderSql_.clear();
    QStringList forward, back;
    for (const QString& f : orderFields_) {
        orderSql_ << q(f);
        forward << orderSql_.back();
        back << orderSql_.back() + QLatin1String(" DESC");
    }
    forward << QStringLiteral("rowid");
    back << QStringLiteral("rowid DESC");
    orderForward_ = forward.join(QLatin1String(", "));
    orderBack_ = back.join(QLatin1String(", "));
    reads_.clear();
    keySql_.clear();
    equalRangeSql_.clear();
    rangeConditionValid_ = false;
}

Table::~Table() {
    for (Table* d : details_)
        d->master_ = nullptr;
    if (master_) {
        auto& v = master_->details_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
}

int Table::fieldIndex(const QString& name) const {
    // Callers name fields by literals, whose text stays where it is: a name met at the same
    // place before is the same name (checked, as a place may be reused by another text).
    RecentName& recent = recentNames_[(quintptr(name.constData()) >> 4) % kRecentNames];
    if (recent.text == name.constData() && recent.size == name.size() && recent.name == name)
        return recent.index;
    int found = -1;
    const auto it = fieldIndexCache_.constFind(name);
    if (it != fieldIndexCache_.cend()) {
        found = it.value();
    } else {
        for (int i = 0; i < fields_.size() && found < 0; ++i)
            if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0) found = i;
        if (fieldIndexCache_.size() < 1024) fieldIndexCache_.insert(name, found);
    }
    recent = {name.constData(), name.size(), name, found};
    return found;
}

Field Table::field(const QString& name) {
    int i = fieldIndex(name);
    if (i < 0)
        throw StorageError(
            StorageErrorKind::NotFound,
            QStringLiteral("Pole %1 v tabulce %2 neexistuje").arg(name, def_.address()),
            def_.address(), name);
    return Field(this, i);
}

QVariant Table::fieldValue(int index) const {
    if (index < 0 || index >= buf_.size()) return QVariant();
    return buf_[index];
}

void Table::setFieldValue(int index, const QVariant& value) {
    if (index < 0 || index >= fields_.size()) return;
    if (isCalculated(index)) {
        buf_[index] = value;
        return;
    }
    if (state_ != TableState::Edit && state_ != TableState::Insert)
        throw stateError(def_.address(),
                         QStringLiteral("Tabulka %1 není v režimu úprav").arg(def_.address()));
    buf_[index] = toFieldValue(value, fields_[index]);
    modified_ = true;
    if (index < assigned_.size()) assigned_[index] = true;
}

void Table::addCalculatedField(const FieldDef& def) {
    fields_.push_back(def);
    buf_.resize(fields_.size());
    fieldIndexCache_.clear();
    for (RecentName& r : recentNames_)
        r = RecentName();
}

void Table::requireActive(const char* what) const {
    if (state_ == TableState::Inactive)
        throw stateError(def_.address(), QStringLiteral("Tabulka %1 není otevřena (%2)")
                                             .arg(def_.address(), QLatin1String(what)));
}

void Table::setState(TableState s) {
    if (state_ == s) return;
    state_ = s;
    onStateChange.fire(*this);
}

void Table::checkBrowse() {
    if (state_ == TableState::Edit || state_ == TableState::Insert) {
        if (modified_)
            post();
        else
            cancel();
    }
}

FieldKind Table::kindOf(const QString& field) const {
    int i = fieldIndex(field);
    return i < 0 ? FieldKind::Text : fields_[i].kind;
}

const QString& Table::selectList() const {
    return selectList_;
}

void Table::invalidate() {
    stream_.reset();
}

std::shared_ptr<Statement> cachedStatement(QHash<QString, std::shared_ptr<Statement>>& cache,
                                           Database& db, const QString& sql) {
    auto it = cache.find(sql);
    if (it != cache.end()) return it.value();
    if (cache.size() > 64) cache.clear();
    auto st = std::make_shared<Statement>(db.prepare(sql));
    cache.insert(sql, st);
    return st;
}

Statement& Table::cached(const QString& sql) {
    auto st = cachedStatement(statements_, db_, sql);
    st->reset();
    return *st;
}

Statement& Table::prepared(std::shared_ptr<Statement>& slot, const std::function<QString()>& sql) {
    if (!slot) slot = std::make_shared<Statement>(db_.prepare(sql()));
    slot->reset();
    return *slot;
}

Statement& Table::read(Read kind, const QString& where) {
    auto& reads = reads_[kind];
    auto it = reads.find(where);
    if (it == reads.end()) {
        const QString w = where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where;
        const QString rows = QStringLiteral("SELECT %1 FROM %2%3").arg(selectList_, tableSql_, w);
        QString sql;
        switch (kind) {
        case Read::First:
            sql = rows + QLatin1String(" ORDER BY ") + orderForward_ + QLatin1String(" LIMIT 1");
            break;
        case Read::FirstAll:
            sql = rows + QLatin1String(" ORDER BY ") + orderForward_;
            break;
        case Read::Batch:
            sql = rows + QLatin1String(" ORDER BY ") + orderForward_ + QLatin1String(" LIMIT ?");
            break;
        case Read::BatchBack:
            sql = rows + QLatin1String(" ORDER BY ") + orderBack_ + QLatin1String(" LIMIT ?");
            break;
        case Read::Any:
            sql = QStringLiteral("SELECT 1 FROM %1%2 LIMIT 1").arg(tableSql_, w);
            break;
        case Read::Rows:
            sql = rows;
            break;
        case Read::Count:
            sql = QStringLiteral("SELECT count(*) FROM %1%2").arg(tableSql_, w);
            break;
        }
        if (reads.size() > 128) reads.clear();
        it = reads.insert(where, std::make_shared<Statement>(db_.prepare(sql)));
    }
    it.value()->reset();
    return *it.value();
}

void Table::bindAll(Statement& st, const SqlCondition& c, int from) {
    for (int i = 0; i < c.params.size(); ++i)
        st.bind(from + i, c.params[i], c.kinds[i]);
}

SqlCondition Table::keyCompare(const QStringList& fields, const QVariantList& values,
                               bool greaterEq) const {
    // Lexicographic comparison of (fields) with (values); blanks come first, as in the index.
    SqlCondition c;
    int n = int(std::min(fields.size(), values.size()));
    if (n == 0) return c;
    std::function<QString(int)> build = [&](int i) -> QString {
        QString col = q(fields[i]);
        const QVariant& v = values[i];
        bool last = i == n - 1;
        FieldKind k = kindOf(fields[i]);
        if (greaterEq) {
            if (v.isNull())
                return last ? QStringLiteral("1")
                            : QStringLiteral("(%1 IS NOT NULL OR %2)").arg(col, build(i + 1));
            if (last) {
                c.add(v, k);
                return col + QLatin1String(" >= ?");
            }
            c.add(v, k);
            c.add(v, k);
            QString rest = build(i + 1);
            return QStringLiteral("(%1 > ? OR (%1 = ? AND %2))").arg(col, rest);
        }
        if (v.isNull())
            return last ? col + QLatin1String(" IS NULL")
                        : QStringLiteral("(%1 IS NULL AND %2)").arg(col, build(i + 1));
        if (last) {
            c.add(v, k);
            return QStringLiteral("(%1 <= ? OR %1 IS NULL)").arg(col);
        }
        c.add(v, k);
        c.add(v, k);
        QString rest = build(i + 1);
        return QStringLiteral("(%1 < ? OR %1 IS NULL OR (%1 = ? AND %2))").arg(col, rest);
    };
    c.sql = build(0);
    return c;
}

SqlCondition Table::afterCurrent(bool forward, bool inclusive) const {
    QVector<QVariant> vals;
    for (const QString& f : orderFields_)
        vals << buf_[fieldIndex(f)];
    return afterRow(forward, vals, rowid_, inclusive);
}

SqlCondition Table::afterRow(bool forward, const QVector<QVariant>& vals, qint64 rowid,
                             bool inclusive) const {
    SqlCondition c;
    bool anyNull = false;
    for (const QVariant& v : vals)
        anyNull = anyNull || v.isNull();
    // A row value comparison is NULL at a blank; blanks sort first, so that only loses rows
    // before the given one going forward, never rows after it.
    if (!anyNull && forward) {
        QStringList cols, marks;
        for (int i = 0; i < orderFields_.size(); ++i) {
            cols << orderSql_[i];
            marks << QStringLiteral("?");
            c.add(vals[i], kindOf(orderFields_[i]));
        }
        cols << QStringLiteral("rowid");
        marks << QStringLiteral("?");
        c.add(rowid, FieldKind::LongInt);
        c.sql = QStringLiteral("(%1) %2%3 (%4)")
                    .arg(cols.join(QLatin1String(", ")),
                         forward ? QLatin1String(">") : QLatin1String("<"),
                         inclusive ? QLatin1String("=") : QLatin1String(""),
                         marks.join(QLatin1String(", ")));
        return c;
    }
    // With blanks in the key: spelled out, blanks first.
    std::function<QString(int)> build = [&](int i) -> QString {
        if (i == orderFields_.size()) {
            c.add(rowid, FieldKind::LongInt);
            return QStringLiteral("rowid %1%2 ?")
                .arg(forward ? QLatin1String(">") : QLatin1String("<"),
                     inclusive ? QLatin1String("=") : QLatin1String(""));
        }
        const QString& col = orderSql_[i];
        const QVariant& v = vals[i];
        FieldKind k = kindOf(orderFields_[i]);
        if (forward) {
            if (v.isNull()) return QStringLiteral("(%1 IS NOT NULL OR %2)").arg(col, build(i + 1));
            c.add(v, k);
            c.add(v, k);
            QString rest = build(i + 1);
            return QStringLiteral("(%1 > ? OR (%1 = ? AND %2))").arg(col, rest);
        }
        if (v.isNull()) return QStringLiteral("(%1 IS NULL AND %2)").arg(col, build(i + 1));
        c.add(v, k);
        c.add(v, k);
        QString rest = build(i + 1);
        return QStringLiteral("(%1 < ? OR %1 IS NULL OR (%1 = ? AND %2))").arg(col, rest);
    };
    c.sql = build(0);
    return c;
}

const SqlCondition& Table::rangeCondition() {
    if (rangeConditionValid_) return rangeCondition_;
    SqlCondition c;
    if (rangeSet_) {
        int n = int(std::min<qsizetype>(orderFields_.size(),
                                        std::max(rangeLow_.size(), rangeHigh_.size())));
        bool equal = rangeLow_ == rangeHigh_;
        for (const QVariant& v : rangeLow_)
            equal = equal && !v.isNull();
        if (equal) {
            SqlCondition e;
            for (int i = 0; i < n; ++i)
                e.add(rangeLow_[i], kindOf(orderFields_[i]));
            QString& sql = equalRangeSql_[n];
            if (sql.isEmpty()) {
                QStringList parts;
                for (int i = 0; i < n; ++i)
                    parts << orderSql_[i] + QLatin1String(" = ?");
                sql = parts.join(QLatin1String(" AND "));
            }
            e.sql = sql;
            c.append(e);
        } else {
            if (!rangeLow_.isEmpty()) c.append(keyCompare(orderFields_, rangeLow_, true));
            if (!rangeHigh_.isEmpty()) c.append(keyCompare(orderFields_, rangeHigh_, false));
        }
    }
    rangeCondition_ = c;
    rangeConditionValid_ = true;
    return rangeCondition_;
}

SqlCondition Table::baseCondition() {
    SqlCondition c = rangeCondition();
    if (master_) {
        SqlCondition m;
        bool none = !master_->active() || !master_->hasRecord_;
        for (int i = 0; !none && i < detailFields_.size(); ++i) {
            int mi = master_->fieldIndex(masterFields_[i]);
            QVariant v = mi < 0 ? QVariant() : master_->buf_[mi];
            if (v.isNull()) {
                none = true;
                break;
            }
            m.add(v, kindOf(detailFields_[i]));
        }
        if (none) {
            m = SqlCondition();
            m.sql = QStringLiteral("0");
        } else {
            if (!masterSqlValid_) {
                QStringList parts;
                for (const QString& f : detailFields_)
                    parts << q(f) + QLatin1String(" = ?");
                masterSql_ = parts.join(QLatin1String(" AND "));
                masterSqlValid_ = true;
            }
            m.sql = masterSql_;
        }
        c.append(m);
    }
    if (filtered_) c.append(filterSql_);
    return c;
}

void Table::loadRow(Statement& st) {
    rowid_ = st.columnInt(0);
    for (int i = 0; i < physicalCount_; ++i)
        buf_[i] = st.column(i + 1, fields_[i].kind);
    hasRecord_ = true;
    loadStamp_ = stampNow();
    calculate(true);
}

// The record in the buffer was read under the write lock this connection holds and nothing was
// written on it since (no other copy writes while the lock holds): it is stored as it was read.
bool Table::loadedUnderLock() const {
    return hasRecord_ && stillAsRead(loadStamp_);
}

void Table::calculate(bool clear) {
    if (physicalCount_ == fields_.size()) return;
    if (clear)
        for (int i = physicalCount_; i < fields_.size(); ++i)
            buf_[i] = QVariant();
    inCalc_ = true;
    try {
        onCalcFields.fire(*this);
    } catch (...) {
        inCalc_ = false;
        throw;
    }
    inCalc_ = false;
}

// While a cursor reads rows into its buffer only to judge them (a record callback, counting,
// asking for any record): its statement is reset however the reading ends (an open statement
// pins the connection's read snapshot), and its record is put back unless the row read is kept,
// also when a record callback or a calculated field throws.
struct Table::KeepRecord {
    Table& t;
    Statement& st;
    QVector<QVariant> buf;
    qint64 rowid;
    bool has;
    ReadStamp stamp;
    bool restore = true;
    KeepRecord(Table& table, Statement& statement)
        : t(table), st(statement), buf(table.buf_), rowid(table.rowid_), has(table.hasRecord_),
          stamp(table.loadStamp_) {}
    KeepRecord(const KeepRecord&) = delete;
    KeepRecord& operator=(const KeepRecord&) = delete;
    ~KeepRecord() {
        st.reset();
        if (!restore) return;
        t.buf_ = std::move(buf);
        t.rowid_ = rowid;
        t.hasRecord_ = has;
        t.loadStamp_ = stamp;
    }
};

bool Table::stepAccepted(Statement& st) {
    if (!filtered_ || !filterCallback_) {
        if (!st.step()) return false;
        loadRow(st);
        return true;
    }
    KeepRecord keep(*this, st);
    while (st.step()) {
        loadRow(st);
        if (filterCallback_(*this)) {
            keep.restore = false;
            return true;
        }
    }
    return false;
}

void Table::clearBuffer() {
    loadStamp_ = ReadStamp();
    for (QVariant& v : buf_)
        v = QVariant();
    rowid_ = 0;
    hasRecord_ = false;
}

void Table::openStream(bool forward, bool fromCurrent) {
    stream_ = std::make_unique<Stream>();
    stream_->forward = forward;
    stream_->base = baseCondition();
    if (fromCurrent && hasRecord_) {
        stream_->haveLast = true;
        for (const QString& f : orderFields_)
            stream_->lastKey << buf_[fieldIndex(f)];
        stream_->lastRowid = rowid_;
    }
    streamGeneration_ = db_.generation();
}

// Where a read goes on after the row with these key values and rowid, as conditions that each
// pick a stretch of the index, in the order of the index. Forward without blanks one row-value
// comparison does. A blank has no "greater than" in SQL, and an OR of the cases would make
// SQLite read past the index: each case is asked by itself instead (blanks sort first, so after
// a blank comes "not blank", and going back from a value come the smaller ones, then blanks).
QVector<SqlCondition> Table::continuation(bool forward, const QVector<QVariant>& key,
                                          qint64 rowid) const {
    bool anyNull = false;
    for (const QVariant& v : key)
        anyNull = anyNull || v.isNull();
    if (!anyNull && forward) return {afterRow(forward, key, rowid)};
    QVector<SqlCondition> out;
    auto prefix = [&](int n) { // the first n key fields equal to the key's
        SqlCondition c;
        QStringList parts;
        for (int i = 0; i < n; ++i) {
            const QString& col = orderSql_[i];
            if (key[i].isNull()) {
                parts << col + QLatin1String(" IS NULL");
            } else {
                parts << col + QLatin1String(" = ?");
                c.add(key[i], kindOf(orderFields_[i]));
            }
        }
        c.sql = parts.join(QLatin1String(" AND "));
        return c;
    };
    auto with = [](SqlCondition c, const QString& sql, const QVariant& v, FieldKind k) {
        SqlCondition e;
        e.sql = sql;
        if (v.isValid()) e.add(v, k);
        c.append(e);
        return c;
    };
    const int n = int(orderFields_.size());
    out << with(prefix(n), forward ? QStringLiteral("rowid > ?") : QStringLiteral("rowid < ?"),
                rowid, FieldKind::LongInt);
    for (int i = n - 1; i >= 0; --i) {
        const QString& col = orderSql_[i];
        const FieldKind k = kindOf(orderFields_[i]);
        if (forward) {
            if (key[i].isNull())
                out << with(prefix(i), col + QLatin1String(" IS NOT NULL"), QVariant(), k);
            else
                out << with(prefix(i), col + QLatin1String(" > ?"), key[i], k);
        } else if (!key[i].isNull()) {
            out << with(prefix(i), col + QLatin1String(" < ?"), key[i], k);
            out << with(prefix(i), col + QLatin1String(" IS NULL"), QVariant(), k);
        }
    }
    return out;
}

void Table::fillStream() {
    Stream& s = *stream_;
    const QVector<SqlCondition> parts = s.haveLast ? continuation(s.forward, s.lastKey, s.lastRowid)
                                                   : QVector<SqlCondition>{SqlCondition()};
    s.rowids.clear();
    s.values.clear();
    s.rowids.reserve(s.batch);
    s.values.reserve(qsizetype(s.batch) * physicalCount_);
    s.next = 0;
    for (const SqlCondition& part : parts) {
        const int wanted = s.batch - int(s.rowids.size());
        if (wanted <= 0) break;
        SqlCondition c = s.base;
        c.append(part);
        Statement& st = read(s.forward ? Read::Batch : Read::BatchBack, c.sql);
        bindAll(st, c);
        st.bind(int(c.params.size()) + 1, wanted, FieldKind::LongInt);
        while (st.step()) {
            s.rowids << st.columnInt(0);
            for (int i = 0; i < physicalCount_; ++i)
                s.values << st.column(i + 1, fields_[i].kind);
        }
        st.reset();
    }
    const int read = int(s.rowids.size());
    s.exhausted = read < s.batch;
    if (read > 0) {
        s.haveLast = true;
        s.lastRowid = s.rowids.back();
        s.lastKey.clear();
        const qsizetype row = qsizetype(read - 1) * physicalCount_;
        for (const QString& f : orderFields_)
            s.lastKey << s.values[row + fieldIndex(f)];
    }
    s.batch = std::min(s.batch * 4, 512);
}

bool Table::streamNext() {
    loadStamp_ = ReadStamp(); // rows of a batch may be older than the last write
    Stream& s = *stream_;
    const bool callback = filtered_ && filterCallback_;
    QVector<QVariant> keep;
    qint64 keepRowid = rowid_;
    bool keepHas = hasRecord_;
    if (callback) keep = buf_;
    for (;;) {
        if (s.next >= s.rowids.size()) {
            if (s.exhausted) break;
            fillStream();
            if (s.rowids.isEmpty()) break;
        }
        const qsizetype row = qsizetype(s.next) * physicalCount_;
        rowid_ = s.rowids[s.next++];
        for (int i = 0; i < physicalCount_; ++i)
            buf_[i].swap(s.values[row + i]); // the row served is dropped with the batch
        hasRecord_ = true;
        calculate(true);
        if (!callback || filterCallback_(*this)) return true;
    }
    if (callback) {
        buf_ = keep;
        rowid_ = keepRowid;
        hasRecord_ = keepHas;
    }
    return false;
}

void Table::currentChanged() {
    afterScroll.fire(*this);
    for (Table* d : details_)
        d->masterChanged();
}

void Table::masterChanged() {
    if (!active()) return;
    checkBrowse();
    invalidate();
    first();
    onDataChanged.fire(*this);
}

void Table::open() {
    if (active()) return;
    eof_ = bof_ = true;
    hasRecord_ = false;
    modified_ = false;
    state_ = TableState::Browse;
    first();
    afterOpen.fire(*this);
    onStateChange.fire(*this);
    onDataChanged.fire(*this);
}

void Table::close() {
    if (!active()) return;
    if (state_ == TableState::Edit || state_ == TableState::Insert) cancel();
    beforeClose.fire(*this);
    invalidate();
    statements_.clear();
    reads_.clear();
    updates_.clear();
    for (auto* st :
         {&insertSt_, &updateSt_, &storedSt_, &deleteSt_, &keyTakenSt_[0], &keyTakenSt_[1]})
        st->reset();
    foreignSt_.clear();
    clearBuffer();
    eof_ = bof_ = true;
    state_ = TableState::Inactive;
    afterClose.fire(*this);
    onStateChange.fire(*this);
    onDataChanged.fire(*this);
    for (Table* d : details_)
        d->masterChanged();
}

void Table::first() {
    requireActive("first");
    checkBrowse();
    openStream(true, false);
    if (streamNext()) {
        eof_ = false;
        bof_ = true;
    } else {
        clearBuffer();
        eof_ = bof_ = true;
    }
    currentChanged();
}

void Table::last() {
    requireActive("last");
    checkBrowse();
    openStream(false, false);
    if (streamNext()) {
        eof_ = true;
        bof_ = false;
    } else {
        clearBuffer();
        eof_ = bof_ = true;
    }
    currentChanged();
}

void Table::next() {
    requireActive("next");
    checkBrowse();
    if (!hasRecord_) {
        eof_ = true;
        return;
    }
    bool valid = stream_ && stream_->forward && streamGeneration_ == db_.generation();
    if (!valid) openStream(true, true);
    if (streamNext()) {
        eof_ = bof_ = false;
        currentChanged();
    } else {
        eof_ = true;
    }
}

void Table::prior() {
    requireActive("prior");
    checkBrowse();
    if (!hasRecord_) {
        bof_ = true;
        return;
    }
    bool valid = stream_ && !stream_->forward && streamGeneration_ == db_.generation();
    if (!valid) openStream(false, true);
    if (streamNext()) {
        eof_ = bof_ = false;
        currentChanged();
    } else {
        bof_ = true;
    }
}

bool Table::isEmpty() {
    if (!active()) return true;
    if (state_ == TableState::Insert) return false;
    // The view, not the cursor: a posted record may have left the filter or range it stands on.
    SqlCondition c = baseCondition();
    if (!(filtered_ && filterCallback_)) {
        Statement& st = read(Read::Any, c.sql);
        bindAll(st, c);
        const bool any = st.step();
        st.reset();
        return !any;
    }
    Statement& st = read(Read::Rows, c.sql);
    bindAll(st, c);
    KeepRecord keep(*this, st);
    bool any = false;
    while (!any && st.step()) {
        loadRow(st);
        any = filterCallback_(*this);
    }
    return !any;
}

qint64 Table::recordCount() {
    requireActive("recordCount");
    SqlCondition c = baseCondition();
    if (filtered_ && filterCallback_) {
        Statement& st = read(Read::Rows, c.sql);
        bindAll(st, c);
        KeepRecord keep(*this, st);
        qint64 n = 0;
        while (st.step()) {
            loadRow(st);
            if (filterCallback_(*this)) ++n;
        }
        return n;
    }
    Statement& st = read(Read::Count, c.sql);
    bindAll(st, c);
    qint64 n = st.step() ? st.columnInt(0) : 0;
    st.reset();
    return n;
}

bool Table::seekFirst(const SqlCondition& extra) {
    SqlCondition c = baseCondition();
    c.append(extra);
    const bool limit = !(filtered_ && filterCallback_);
    Statement& st = read(limit ? Read::First : Read::FirstAll, c.sql);
    bindAll(st, c);
    bool found = false;
    try {
        found = stepAccepted(st);
    } catch (...) {
        st.reset(); // a calculated field of the row read threw
        throw;
    }
    st.reset();
    if (found) {
        invalidate();
        eof_ = bof_ = false;
        currentChanged();
    }
    return found;
}

void Table::refresh() {
    requireActive("refresh");
    checkBrowse();
    invalidate();
    if (hasRecord_) {
        SqlCondition c;
        c.sql = QStringLiteral("rowid = ?");
        c.add(rowid_, FieldKind::LongInt);
        if (!seekFirst(c)) {
            openStream(true, true);
            if (streamNext()) {
                eof_ = bof_ = false;
                invalidate();
                currentChanged();
            } else {
                last();
            }
        }
    } else {
        first();
    }
    onDataChanged.fire(*this);
}

void Table::flush() {
    // Every commit is written through (synchronous FULL); nothing is held back in memory.
}

void Table::setIndexName(const QString& name) {
    QStringList fields;
    if (name.isEmpty()) {
        fields = def_.primaryKey;
    } else {
        const IndexDef* ix = def_.index(name);
        if (!ix)
            throw StorageError(
                StorageErrorKind::NotFound,
                QStringLiteral("Index %1 tabulky %2 neexistuje").arg(name, def_.address()),
                def_.address());
        fields = ix->fields;
    }
    if (active()) checkBrowse();
    indexName_ = name.isEmpty() ? QString() : def_.index(name)->name;
    orderFields_ = fields;
    orderChanged();
    rangeSet_ = false;
    invalidate();
    if (active()) onDataChanged.fire(*this);
}

void Table::setIndexFieldNames(const QString& fieldList) {
    QStringList want = splitFields(fieldList);
    auto same = [&](const QStringList& have) {
        if (have.size() != want.size()) return false;
        for (int i = 0; i < have.size(); ++i)
            if (have[i].compare(want[i], Qt::CaseInsensitive) != 0) return false;
        return true;
    };
    if (same(def_.primaryKey)) return setIndexName(QString());
    for (const IndexDef& ix : def_.indexes)
        if (same(ix.fields)) return setIndexName(ix.name);
    throw StorageError(
        StorageErrorKind::NotFound,
        QStringLiteral("Tabulka %1 nemá index podle %2").arg(def_.address(), fieldList),
        def_.address());
}

bool Table::setIndexStartingWith(const QString& prefix) {
    QString p = prefix.toUpper();
    QString found;
    bool any = false;
    auto starts = [&](const QStringList& fs) {
        return fs.join(QLatin1Char(';')).toUpper().startsWith(p);
    };
    if (!def_.primaryKey.isEmpty() && starts(def_.primaryKey)) {
        found.clear();
        any = true;
    }
    for (const IndexDef& ix : def_.indexes)
        if (starts(ix.fields)) {
            found = ix.name;
            any = true;
        }
    if (any) setIndexName(found);
    return any;
}

bool Table::findKey(const QVariantList& values) {
    requireActive("findKey");
    checkBrowse();
    if (values.size() > orderFields_.size())
        throw StorageError(
            StorageErrorKind::Other,
            QStringLiteral("Klíč má více hodnot než index tabulky %1").arg(def_.address()),
            def_.address());
    // The condition's text by the shape of the key: how many values, which blank, which compared
    // at four places.
    QVariantList vals;
    quint32 shape = quint32(values.size());
    for (int i = 0; i < values.size(); ++i) {
        const FieldDef& f = fields_[fieldIndex(orderFields_[i])];
        vals << toFieldValue(values[i], f);
        if (i < 12) shape |= quint32(equalityShape(f, vals.back())) << (8 + 2 * i);
    }
    // The record in the buffer, read under this write lock with nothing written since, is the one
    // record of its primary key.
    if (state_ == TableState::Browse && loadedUnderLock() && !(filtered_ && filterCallback_) &&
        vals.size() == def_.primaryKey.size() && orderFields_ == def_.primaryKey) {
        bool same = true;
        for (int i = 0; same && i < vals.size(); ++i) {
            const int fi = fieldIndex(orderFields_[i]);
            same = fi >= 0 && !vals[i].isNull() && buf_[fi] == vals[i];
        }
        if (same) {
            invalidate();
            eof_ = bof_ = false;
            currentChanged();
            return true;
        }
    }
    const bool shaped = values.size() <= 12;
    const auto known = shaped ? keySql_.constFind(shape) : keySql_.cend();
    const bool have = known != keySql_.cend();
    SqlCondition c;
    QStringList parts;
    for (int i = 0; i < vals.size(); ++i)
        addEquality(have ? nullptr : &parts, c, fields_[fieldIndex(orderFields_[i])], vals[i]);
    if (have) {
        c.sql = known.value();
    } else {
        c.sql = parts.join(QLatin1String(" AND "));
        if (shaped) keySql_.insert(shape, c.sql);
    }
    return seekFirst(c);
}

void Table::findNearest(const QVariantList& values) {
    requireActive("findNearest");
    checkBrowse();
    QVariantList vals;
    for (int i = 0; i < values.size() && i < orderFields_.size(); ++i)
        vals << toFieldValue(values[i], fields_[fieldIndex(orderFields_[i])]);
    if (!seekFirst(keyCompare(orderFields_, vals, true))) {
        last();
        eof_ = true;
    }
}

void Table::setRange(const QVariantList& low, const QVariantList& high) {
    if (active()) checkBrowse();
    rangeLow_.clear();
    rangeHigh_.clear();
    for (int i = 0; i < low.size() && i < orderFields_.size(); ++i)
        rangeLow_ << toFieldValue(low[i], def_.fields[def_.fieldIndex(orderFields_[i])]);
    for (int i = 0; i < high.size() && i < orderFields_.size(); ++i)
        rangeHigh_ << toFieldValue(high[i], def_.fields[def_.fieldIndex(orderFields_[i])]);
    rangeSet_ = true;
    rangeConditionValid_ = false;
    invalidate();
    if (active()) {
        first();
        onDataChanged.fire(*this);
    }
}

void Table::cancelRange() {
    if (!rangeSet_) return;
    if (active()) checkBrowse();
    rangeSet_ = false;
    rangeConditionValid_ = false;
    invalidate();
    if (active()) {
        first();
        onDataChanged.fire(*this);
    }
}

void Table::setFilter(const QString& expression) {
    filterText_ = expression;
    if (filtered_) setFiltered(true);
}

void Table::setFiltered(bool on) {
    if (active()) checkBrowse();
    if (on) {
        try {
            filterSql_ = translateFilter(filterText_, def_, filterOptions_);
            checkFilterSql();
        } catch (...) {
            filtered_ = false;
            filterSql_ = SqlCondition();
            invalidate();
            if (active()) {
                first();
                onDataChanged.fire(*this);
            }
            throw;
        }
    } else {
        filterSql_ = SqlCondition();
    }
    filtered_ = on;
    invalidate();
    if (active()) {
        first();
        onDataChanged.fire(*this);
    }
}

// The translation keeps within what SQLite can run; should SQLite still refuse the condition,
// the user hears of it as a fault of the filter, when it is switched on.
void Table::checkFilterSql() {
    if (filterSql_.sql.isEmpty()) return;
    try {
        Statement st = db_.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2 LIMIT 0")
                                       .arg(q(def_.sqlName), filterSql_.sql));
    } catch (const StorageError& e) {
        throw StorageError(
            StorageErrorKind::FilterSyntax,
            QStringLiteral("Chyba ve filtru na pozici 1: filtr nelze použít (%1)").arg(e.message()),
            def_.address(), QString(), 0);
    }
}

void Table::setFilterOptions(const FilterOptions& options) {
    filterOptions_ = options;
    if (filtered_) setFiltered(true);
}

void Table::setFilterCallback(std::function<bool(Table&)> accept) {
    filterCallback_ = std::move(accept);
    if (filtered_) {
        invalidate();
        if (active()) {
            first();
            onDataChanged.fire(*this);
        }
    }
}

namespace {

// "[pP][oO]*" for "po": a GLOB pattern of the texts that begin with s in any case, or empty when
// some character of s has case forms a character class cannot hold (then no pattern is used).
QString caseInsensitiveGlob(const QString& s) {
    QString out;
    for (QChar ch : s) {
        if (ch.isSurrogate() || ch.unicode() >= 0x250) return QString();
        const QString lo = QString(ch).toLower(), up = QString(ch).toUpper();
        if (lo.size() != 1 || up.size() != 1) return QString();
        if (lo != up)
            out += QLatin1Char('[') + lo + up + QLatin1Char(']');
        else if (ch == QLatin1Char('*') || ch == QLatin1Char('?') || ch == QLatin1Char('['))
            out += QLatin1Char('[') + ch + QLatin1Char(']');
        else
            out += ch;
    }
    return out + QLatin1Char('*');
}

} // namespace

bool Table::locate(const QString& fieldList, const QVariantList& values,
                   const LocateOptions& options) {
    requireActive("locate");
    checkBrowse();
    QStringList names = splitFields(fieldList);
    SqlCondition c;
    QStringList parts;
    for (int i = 0; i < names.size(); ++i) {
        int fi = fieldIndex(names[i]);
        if (fi < 0 || isCalculated(fi))
            throw StorageError(
                StorageErrorKind::NotFound,
                QStringLiteral("Pole %1 v tabulce %2 neexistuje").arg(names[i], def_.address()),
                def_.address(), names[i]);
        const FieldDef& f = fields_[fi];
        QString col = q(f.name);
        QVariant raw = i < values.size() ? values[i] : QVariant();
        if (isTextKind(f.kind)) {
            QString s = raw.toString();
            if (s.isEmpty()) {
                parts << col + QLatin1String(" IS NULL");
                continue;
            }
            if (options.caseInsensitive) s = s.toLower();
            QString lhs =
                options.caseInsensitive ? QStringLiteral("czech_fold(%1)") : QStringLiteral("%1");
            if (options.partialKey && !options.contains && options.caseInsensitive) {
                // The built-in GLOB with both cases of each letter picks the candidates without a
                // call into our functions per record; the Czech fold then decides. (A GLOB that
                // begins with "*" costs more per record than the fold itself.)
                QString pattern = caseInsensitiveGlob(s);
                if (!pattern.isEmpty()) {
                    parts << col + QLatin1String(" GLOB ?");
                    c.add(pattern, FieldKind::Text);
                }
            }
            if (options.contains)
                parts << QStringLiteral("instr(%1, ?) > 0").arg(lhs.arg(col));
            else if (options.partialKey)
                parts << lhs.arg(QStringLiteral("substr(%1, 1, %2)").arg(col).arg(s.size())) +
                             QLatin1String(" = ?");
            else
                parts << lhs.arg(col) + QLatin1String(" = ?");
            c.add(s, FieldKind::Text);
            continue;
        }
        addEquality(&parts, c, f, toFieldValue(raw, f));
    }
    c.sql = parts.join(QLatin1String(" AND "));
    // The current record or one after it in the current order: one range on the order's index
    // (an OR with the current rowid would gather and sort every candidate).
    if (options.fromCurrent && hasRecord_) c.append(afterCurrent(true, true));
    return seekFirst(c);
}

bool Table::gotoBookmark(Bookmark b) {
    requireActive("gotoBookmark");
    checkBrowse();
    if (b <= 0) return false;
    SqlCondition c;
    c.sql = QStringLiteral("rowid = ?");
    c.add(b, FieldKind::LongInt);
    return seekFirst(c);
}

bool Table::bookmarkValid(Bookmark b) {
    requireActive("bookmarkValid");
    Statement& st = cached(QStringLiteral("SELECT 1 FROM %1 WHERE rowid = ?").arg(q(def_.sqlName)));
    st.bind(1, b, FieldKind::LongInt);
    bool ok = st.step();
    st.reset();
    return ok;
}

void Table::setMaster(Table* master, const QString& masterFields, const QString& detailFields) {
    if (master_) {
        auto& v = master_->details_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    master_ = master;
    masterFields_ = splitFields(masterFields);
    detailFields_ = splitFields(detailFields);
    masterSqlValid_ = false;
    if (master_) master_->details_.push_back(this);
    invalidate();
    if (active()) {
        first();
        onDataChanged.fire(*this);
    }
}

void Table::insert() {
    requireActive("insert");
    checkBrowse();
    beforeInsert.fire(*this);
    saved_ = buf_;
    savedRowid_ = rowid_;
    savedHasRecord_ = hasRecord_;
    for (QVariant& v : buf_)
        v = QVariant();
    rowid_ = 0;
    hasRecord_ = false;
    invalidate();
    setState(TableState::Insert);
    if (master_ && master_->active()) {
        for (int i = 0; i < detailFields_.size(); ++i) {
            int di = fieldIndex(detailFields_[i]);
            int mi = master_->fieldIndex(masterFields_[i]);
            if (di >= 0 && mi >= 0) buf_[di] = toFieldValue(master_->buf_[mi], fields_[di]);
        }
    }
    onNewRecord.fire(*this);
    modified_ = false;
    afterInsert.fire(*this);
}

void Table::edit() {
    requireActive("edit");
    if (state_ == TableState::Edit || state_ == TableState::Insert) return;
    if (!hasRecord_)
        throw stateError(def_.address(),
                         QStringLiteral("Tabulka %1 neobsahuje žádný záznam").arg(def_.address()));
    beforeEdit.fire(*this);
    // Edit the record as it is now, not as it was read.
    QVector<QVariant> stored;
    if (loadedUnderLock())
        stored = QVector<QVariant>(buf_.begin(), buf_.begin() + physicalCount_);
    else if (!readStored(rowid_, stored) || !sameRecord(stored))
        throw deletedByOther(def_.address());
    for (int i = 0; i < physicalCount_; ++i)
        buf_[i] = stored[i];
    editStamp_ = stampNow();
    calculate(true);
    original_ = stored;
    assigned_.fill(false, physicalCount_);
    saved_ = buf_;
    savedRowid_ = rowid_;
    savedHasRecord_ = true;
    modified_ = false;
    setState(TableState::Edit);
    afterEdit.fire(*this);
}

bool Table::rowExists(const TableDef& t, const QStringList& fields, const QVector<QVariant>& values,
                      qint64 exceptRowid, std::shared_ptr<Statement>* slot) {
    SqlCondition c;
    for (int i = 0; i < fields.size(); ++i) {
        const FieldDef* f = t.field(fields[i]);
        c.add(values[i], f ? f->kind : FieldKind::Text);
    }
    if (exceptRowid > 0) c.add(exceptRowid, FieldKind::LongInt);
    auto sql = [&] {
        QStringList parts;
        for (const QString& f : fields)
            parts << q(f) + QLatin1String(" IS ?");
        if (exceptRowid > 0) parts << QStringLiteral("rowid <> ?");
        return QStringLiteral("SELECT 1 FROM %1 WHERE %2 LIMIT 1")
            .arg(q(t.sqlName), parts.join(QLatin1String(" AND ")));
    };
    Statement& st = slot ? prepared(*slot, sql) : cached(sql());
    bindAll(st, c);
    bool found = st.step();
    st.reset();
    return found;
}

bool Table::readStored(qint64 rowid, QVector<QVariant>& values) {
    Statement& st = prepared(storedSt_, [&] {
        return QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(selectList_, tableSql_);
    });
    st.bind(1, rowid, FieldKind::LongInt);
    const bool found = st.step();
    if (found) {
        values.resize(physicalCount_);
        for (int i = 0; i < physicalCount_; ++i)
            values[i] = st.column(i + 1, fields_[i].kind);
    }
    st.reset();
    return found;
}

// A deleted row's rowid may be taken by the next record inserted: the row read back is the same
// record only when its primary key is still the key of the record in the buffer (as edit() read
// it). A table without a key has nothing else to tell it by.
bool Table::sameRecord(const QVector<QVariant>& stored) const {
    const QVector<QVariant>& mine = original_.isEmpty() ? buf_ : original_;
    for (const QString& k : def_.primaryKey) {
        const int i = fieldIndex(k);
        if (i >= 0 && i < physicalCount_ && stored[i] != mine[i]) return false;
    }
    return true;
}

// Inside the write transaction of a post in Edit: the stored record against the one edit()
// read, by the conflict policy. Throws when the post must not go on; for Overwrite of a deleted
// record the post becomes an insert (rowid_ 0).
void Table::settleConflict() {
    // Nothing was written on this connection since edit() read the record under this write lock,
    // and no other copy writes while the lock holds: the record is stored as edit() read it.
    if (stillAsRead(editStamp_) && original_.size() == physicalCount_) {
        if (conflictPolicy_ == ConflictPolicy::Merge)
            for (int i = 0; i < physicalCount_; ++i)
                if (!assigned_.value(i)) buf_[i] = original_[i];
        return;
    }
    QVector<QVariant> stored;
    const bool exists = readStored(rowid_, stored) && sameRecord(stored);
    switch (conflictPolicy_) {
    case ConflictPolicy::Overwrite:
        if (!exists) rowid_ = 0;
        return;
    case ConflictPolicy::Detect:
        if (!exists) throw deletedByOther(def_.address());
        if (stored != original_) throw changedByOther(def_.address());
        return;
    case ConflictPolicy::Merge:
        if (!exists) throw deletedByOther(def_.address());
        for (int i = 0; i < physicalCount_; ++i)
            if (!assigned_.value(i)) buf_[i] = stored[i];
        original_ = stored; // what the write below changes
        return;
    }
}

void Table::doPost() {
    // One write statement needs no savepoint of its own inside a transaction that is already open.
    std::optional<Database::Transaction> tx;
    if (!db_.inTransaction()) tx.emplace(db_);
    const qint64 rowidBefore = rowid_;
    struct KeepRowid { // a failed post leaves the record as it was
        qint64& rowid;
        qint64 before;
        bool done = false;
        ~KeepRowid() {
            if (!done) rowid = before;
        }
    } keep{rowid_, rowidBefore};
    if (state_ == TableState::Edit) settleConflict();
    const bool inserting = state_ == TableState::Insert || rowid_ == 0;
    for (int i = 0; i < physicalCount_; ++i) {
        const FieldDef& f = fields_[i];
        if (f.required && f.kind != FieldKind::AutoInc && buf_[i].isNull())
            throw StorageError(StorageErrorKind::RequiredFieldMissing,
                               QStringLiteral("Pole %1 musí být vyplněno").arg(f.name),
                               def_.address(), f.name);
    }
    for (int i = 0; i < physicalCount_; ++i) {
        if (fields_[i].kind != FieldKind::AutoInc || !buf_[i].isNull()) continue;
        Statement& st = cached(QStringLiteral("SELECT ifnull(max(%1), 0) + 1 FROM %2")
                                   .arg(q(fields_[i].name), q(def_.sqlName)));
        st.step();
        buf_[i] = QVariant(qint64(st.columnInt(0)));
        st.reset();
    }
    // A record that keeps the key and the references it was stored with needs no check of them.
    const bool stored = !inserting && original_.size() == physicalCount_;
    auto unchanged = [&](int i) { return stored && buf_[i] == original_[i]; };
    if (!def_.primaryKey.isEmpty()) {
        QVector<QVariant> key;
        bool same = true;
        for (const QString& k : def_.primaryKey) {
            const int i = fieldIndex(k);
            key << buf_[i];
            same = same && unchanged(i);
        }
        if (!same && rowExists(def_, def_.primaryKey, key, inserting ? 0 : rowid_,
                               &keyTakenSt_[inserting ? 0 : 1]))
            throw StorageError(StorageErrorKind::KeyViolation,
                               QStringLiteral("Záznam s tímto klíčem již existuje"),
                               def_.address());
    }
    foreignSt_.resize(size_t(def_.foreignKeys.size()));
    for (qsizetype n = 0; n < def_.foreignKeys.size(); ++n) {
        const ForeignKeyRule& fk = def_.foreignKeys[n];
        int fi = fieldIndex(fk.field);
        if (fi < 0 || buf_[fi].isNull() || unchanged(fi)) continue;
        const TableDef& ref = db_.table(fk.refTable);
        if (!rowExists(ref, {fk.refField}, {buf_[fi]}, 0, &foreignSt_[size_t(n)]))
            throw StorageError(
                StorageErrorKind::ForeignKeyViolation,
                QStringLiteral("Hodnota pole %1 chybí v tabulce %2").arg(fk.field, ref.address()),
                def_.address(), fk.field);
    }
    if (inserting) {
        Statement& st = prepared(insertSt_, [&] { return insertSql_; });
        for (int i = 0; i < physicalCount_; ++i)
            st.bind(i + 1, buf_[i], fields_[i].kind);
        st.exec();
        db_.noteCursorWrite(writes_, sqlite3_changes64(db_.handle()));
        rowid_ = sqlite3_last_insert_rowid(db_.handle());
    } else if (conflictPolicy_ == ConflictPolicy::Overwrite || !stored) {
        // The buffer over whatever is stored.
        Statement& st = prepared(updateSt_, [&] { return updateSql_; });
        for (int i = 0; i < physicalCount_; ++i)
            st.bind(i + 1, buf_[i], fields_[i].kind);
        st.bind(physicalCount_ + 1, rowid_, FieldKind::LongInt);
        st.exec();
        db_.noteCursorWrite(writes_, sqlite3_changes64(db_.handle()));
    } else {
        // Only the fields that differ from the stored record: the indexes of the others stay.
        QByteArray changed(physicalCount_, '0');
        bool any = false;
        for (int i = 0; i < physicalCount_; ++i)
            if (!unchanged(i)) {
                changed[i] = '1';
                any = true;
            }
        if (any) {
            if (updates_.size() > 64 && !updates_.contains(changed)) updates_.clear();
            Statement& st = prepared(updates_[changed], [&] {
                QStringList sets;
                for (int i = 0; i < physicalCount_; ++i)
                    if (changed[i] == '1') sets << q(fields_[i].name) + QLatin1String(" = ?");
                return QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                    .arg(tableSql_, sets.join(QLatin1String(", ")));
            });
            int n = 0;
            for (int i = 0; i < physicalCount_; ++i)
                if (changed[i] == '1') st.bind(++n, buf_[i], fields_[i].kind);
            st.bind(n + 1, rowid_, FieldKind::LongInt);
            st.exec();
            db_.noteCursorWrite(writes_, sqlite3_changes64(db_.handle()));
        }
    }
    if (tx) tx->commit();
    keep.done = true;
}

void Table::post() {
    requireActive("post");
    if (state_ != TableState::Edit && state_ != TableState::Insert) return;
    beforePost.fire(*this);
    for (;;) {
        try {
            doPost();
            break;
        } catch (const StorageError& e) {
            if (!onPostError) throw;
            ErrorAction a = onPostError(*this, e);
            if (a == ErrorAction::Retry) continue;
            if (a == ErrorAction::Abort) throw Abort();
            throw;
        }
    }
    db_.noteWrite();
    hasRecord_ = true;
    modified_ = false;
    original_.clear();
    assigned_.clear();
    invalidate();
    calculate(false);
    setState(TableState::Browse);
    eof_ = bof_ = false;
    afterPost.fire(*this);
    onDataChanged.fire(*this);
    currentChanged();
}

void Table::cancel() {
    if (state_ != TableState::Edit && state_ != TableState::Insert) return;
    beforeCancel.fire(*this);
    original_.clear();
    assigned_.clear();
    buf_ = saved_;
    rowid_ = savedRowid_;
    hasRecord_ = savedHasRecord_;
    modified_ = false;
    invalidate();
    setState(TableState::Browse);
    afterCancel.fire(*this);
}

void Table::doDelete() {
    std::optional<Database::Transaction> tx;
    if (!db_.inTransaction()) tx.emplace(db_);
    for (const DetailRule& rule : def_.detailRules) {
        const TableDef& detail = db_.table(rule.detailTable);
        QVector<QVariant> vals;
        bool blank = false;
        for (const QString& mf : rule.masterFields) {
            int mi = fieldIndex(mf);
            QVariant v = mi < 0 ? QVariant() : buf_[mi];
            blank = blank || v.isNull();
            vals << v;
        }
        if (blank) continue;
        if (rowExists(detail, rule.detailFields, vals, 0))
            throw StorageError(
                StorageErrorKind::DetailRecordsExist,
                QStringLiteral("Záznam má podřízené záznamy v tabulce %1").arg(detail.address()),
                def_.address());
    }
    Statement& st = prepared(
        deleteSt_, [&] { return QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(tableSql_); });
    st.bind(1, rowid_, FieldKind::LongInt);
    st.exec();
    db_.noteCursorWrite(writes_, sqlite3_changes64(db_.handle()));
    if (tx) tx->commit();
}

void Table::remove() {
    requireActive("delete");
    if (state_ == TableState::Insert) {
        cancel();
        return;
    }
    if (!hasRecord_)
        throw stateError(def_.address(),
                         QStringLiteral("Tabulka %1 neobsahuje žádný záznam").arg(def_.address()));
    beforeDelete.fire(*this);
    // A handler that settles the error and asks for a retry gets a few tries; one that cannot
    // settle it does not keep the program retrying for ever.
    constexpr int kMaxRetries = 3;
    for (int retries = 0;; ++retries) {
        try {
            doDelete();
            break;
        } catch (const StorageError& e) {
            if (!onDeleteError || retries >= kMaxRetries) throw;
            ErrorAction a = onDeleteError(*this, e);
            if (a == ErrorAction::Retry) continue;
            if (a == ErrorAction::Abort) throw Abort();
            throw;
        }
    }
    db_.noteWrite();
    modified_ = false;
    original_.clear();
    assigned_.clear();
    if (state_ == TableState::Edit) setState(TableState::Browse);
    // The record after the deleted one becomes current; after the last one, the one before.
    openStream(true, true);
    if (streamNext()) {
        eof_ = bof_ = false;
    } else {
        openStream(false, true);
        if (streamNext()) {
            eof_ = true;
            bof_ = false;
        } else {
            clearBuffer();
            eof_ = bof_ = true;
        }
    }
    invalidate();
    afterDelete.fire(*this);
    onDataChanged.fire(*this);
    currentChanged();
}

QVector<Table::Row> Table::fetchRows(qint64 offset, int limit) {
    QVector<Row> rows;
    if (!active() || limit <= 0) return rows;
    SqlCondition c = baseCondition();
    bool callback = filtered_ && filterCallback_;
    QString sql =
        QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4%5")
            .arg(selectList(), q(def_.sqlName),
                 c.sql.isEmpty() ? QString() : QStringLiteral(" WHERE ") + c.sql, orderForward_,
                 callback ? QString()
                          : QStringLiteral(" LIMIT %1 OFFSET %2").arg(limit).arg(offset));
    Statement& st = cached(sql);
    bindAll(st, c);
    KeepRecord keep(*this, st);
    qint64 skipped = 0;
    while (st.step()) {
        loadRow(st);
        if (callback) {
            if (!filterCallback_(*this)) continue;
            if (skipped++ < offset) continue;
        }
        rows.push_back({rowid_, buf_});
        if (rows.size() >= limit) break;
    }
    return rows;
}

qint64 Table::currentRowNumber() {
    if (!active() || !hasRecord_ || state_ == TableState::Insert) return -1;
    SqlCondition c = baseCondition();
    if (filtered_ && filterCallback_) {
        qint64 n = 0;
        for (qint64 off = 0;; off += 500) {
            QVector<Row> rows = fetchRows(off, 500);
            for (const Row& r : rows) {
                if (r.rowid == rowid_) return n;
                ++n;
            }
            if (rows.size() < 500) return -1;
        }
    }
    c.append(afterCurrent(false));
    Statement& st = read(Read::Count, c.sql);
    bindAll(st, c);
    qint64 n = st.step() ? st.columnInt(0) : -1;
    st.reset();
    return n;
}

} // namespace brix
