#include "database.h"

#include "catalogue.h"
#include "czech.h"
#include "decimal.h"
#include "util/path_resolver.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTime>

#include <sqlite3.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace brix {

namespace {

QByteArray utf8(const QString& s) {
    return s.toUtf8();
}

QString quoted(const QString& id) {
    return QLatin1Char('"') + id + QLatin1Char('"');
}

const char* kDateFormat = "yyyy-MM-dd";

// Stored dates and times are read on every move of a cursor: parse the fixed ISO forms directly.
inline bool digits(const char* p, int count, int& out) {
    int v = 0;
    for (int i = 0; i < count; ++i) {
        if (p[i] < '0' || p[i] > '9') return false;
        v = v * 10 + (p[i] - '0');
    }
    out = v;
    return true;
}

inline void put(char* p, int value, int count) {
    for (int i = count - 1; i >= 0; --i, value /= 10)
        p[i] = char('0' + value % 10);
}

int formatIsoDate(const QDate& d, char* p) { // yyyy-MM-dd
    put(p, d.year(), 4);
    p[4] = '-';
    put(p + 5, d.month(), 2);
    p[7] = '-';
    put(p + 8, d.day(), 2);
    return 10;
}

int formatIsoTime(const QTime& t, char* p) { // hh:mm:ss.zzz
    put(p, t.hour(), 2);
    p[2] = ':';
    put(p + 3, t.minute(), 2);
    p[5] = ':';
    put(p + 6, t.second(), 2);
    p[8] = '.';
    put(p + 9, t.msec(), 3);
    return 12;
}

bool parseIsoDate(const char* p, int n, QDate& out) { // yyyy-MM-dd
    int y, m, d;
    if (!p || n < 10 || p[4] != '-' || p[7] != '-' || !digits(p, 4, y) || !digits(p + 5, 2, m) ||
        !digits(p + 8, 2, d))
        return false;
    out = QDate(y, m, d);
    return out.isValid();
}

bool parseIsoTime(const char* p, int n, QTime& out) { // hh:mm:ss[.zzz]
    int h, m, s, ms = 0;
    if (!p || n < 8 || p[2] != ':' || p[5] != ':' || !digits(p, 2, h) || !digits(p + 3, 2, m) ||
        !digits(p + 6, 2, s))
        return false;
    if (n >= 12 && p[8] == '.' && !digits(p + 9, 3, ms)) return false;
    out = QTime(h, m, s, ms);
    return out.isValid();
}
const char* kTimeFormat = "hh:mm:ss.zzz";
const char* kTimestampFormat = "yyyy-MM-dd hh:mm:ss.zzz";

} // namespace

// ---------------------------------------------------------------- Statement

Statement::Statement(sqlite3* db, const QString& sql) : db_(db) {
    QByteArray s = utf8(sql);
    int rc = sqlite3_prepare_v3(db, s.constData(), int(s.size()), SQLITE_PREPARE_PERSISTENT, &stmt_,
                                nullptr);
    if (rc != SQLITE_OK) {
        QString msg = QString::fromUtf8(sqlite3_errmsg(db));
        stmt_ = nullptr;
        throw StorageError(StorageErrorKind::Other,
                           QStringLiteral("Chybný dotaz SQL: %1").arg(msg));
    }
}

Statement::~Statement() {
    if (stmt_) sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& o) noexcept : db_(o.db_), stmt_(o.stmt_) {
    o.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& o) noexcept {
    if (this != &o) {
        if (stmt_) sqlite3_finalize(stmt_);
        db_ = o.db_;
        stmt_ = o.stmt_;
        o.stmt_ = nullptr;
    }
    return *this;
}

void Statement::bindPlain(int index, const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(stmt_, index);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int(stmt_, index, v.toBool() ? 1 : 0);
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
        sqlite3_bind_int64(stmt_, index, v.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(stmt_, index, v.toDouble());
        break;
    case QMetaType::QDate: {
        char buf[16];
        int n = formatIsoDate(v.toDate(), buf);
        sqlite3_bind_text(stmt_, index, buf, n, SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::QTime: {
        char buf[16];
        int n = formatIsoTime(v.toTime(), buf);
        sqlite3_bind_text(stmt_, index, buf, n, SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::QDateTime: {
        char buf[32];
        QDateTime dt = v.toDateTime();
        int n = formatIsoDate(dt.date(), buf);
        buf[n++] = ' ';
        n += formatIsoTime(dt.time(), buf + n);
        sqlite3_bind_text(stmt_, index, buf, n, SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::QByteArray: {
        QByteArray b = v.toByteArray();
        sqlite3_bind_blob(stmt_, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        QByteArray t = v.toString().toUtf8();
        sqlite3_bind_text(stmt_, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
    }
    }
}

void Statement::bind(int index, const QVariant& v, FieldKind kind) {
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(stmt_, index);
        return;
    }
    switch (kind) {
    case FieldKind::Text:
    case FieldKind::Memo:
    case FieldKind::FormattedMemo: {
        QByteArray t = v.toString().toUtf8();
        sqlite3_bind_text(stmt_, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        break;
    }
    case FieldKind::SmallInt:
    case FieldKind::LongInt:
    case FieldKind::AutoInc:
        sqlite3_bind_int64(stmt_, index, v.toLongLong());
        break;
    case FieldKind::Logical:
        sqlite3_bind_int(stmt_, index, v.toBool() ? 1 : 0);
        break;
    case FieldKind::Float:
    case FieldKind::Money:
        sqlite3_bind_double(stmt_, index, v.toDouble());
        break;
    case FieldKind::Date:
        bindPlain(index, v.toDate());
        break;
    case FieldKind::Time:
        bindPlain(index, v.toTime());
        break;
    case FieldKind::Timestamp:
        bindPlain(index, v.toDateTime());
        break;
    case FieldKind::Blob:
        bindPlain(index, v.toByteArray());
        break;
    }
}

int Statement::parameterIndex(const QString& name) const {
    QByteArray n = utf8(QLatin1Char(':') + name);
    int i = sqlite3_bind_parameter_index(stmt_, n.constData());
    if (i == 0) {
        // Parameter names are case-insensitive in the programs' queries.
        for (int k = 1; k <= sqlite3_bind_parameter_count(stmt_); ++k) {
            const char* pn = sqlite3_bind_parameter_name(stmt_, k);
            if (pn && QString::fromUtf8(pn + 1).compare(name, Qt::CaseInsensitive) == 0) return k;
        }
    }
    return i;
}

int Statement::parameterCount() const {
    return sqlite3_bind_parameter_count(stmt_);
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

bool Statement::step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    int ext = sqlite3_extended_errcode(db_);
    QString msg = QString::fromUtf8(sqlite3_errmsg(db_));
    sqlite3_reset(stmt_);
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED || ext == SQLITE_BUSY)
        throw StorageError(StorageErrorKind::Busy,
                           QStringLiteral("Databáze je používána jiným programem, operaci nelze "
                                          "provést. Zkuste to prosím znovu."));
    throw StorageError(StorageErrorKind::Other, QStringLiteral("Chyba databáze: %1").arg(msg));
}

void Statement::exec() {
    while (step()) {
    }
    sqlite3_reset(stmt_);
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}
QString Statement::columnName(int col) const {
    return QString::fromUtf8(sqlite3_column_name(stmt_, col));
}
QString Statement::columnDeclType(int col) const {
    const char* t = sqlite3_column_decltype(stmt_, col);
    return t ? QString::fromUtf8(t) : QString();
}
bool Statement::isNull(int col) const {
    return sqlite3_column_type(stmt_, col) == SQLITE_NULL;
}
qint64 Statement::columnInt(int col) const {
    return sqlite3_column_int64(stmt_, col);
}
double Statement::columnDouble(int col) const {
    return sqlite3_column_double(stmt_, col);
}
QString Statement::columnText(int col) const {
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    return QString::fromUtf8(t, sqlite3_column_bytes(stmt_, col));
}
QByteArray Statement::columnBlob(int col) const {
    const auto* b = static_cast<const char*>(sqlite3_column_blob(stmt_, col));
    return QByteArray(b, sqlite3_column_bytes(stmt_, col));
}

QVariant Statement::column(int col, FieldKind kind) const {
    int type = sqlite3_column_type(stmt_, col);
    if (type == SQLITE_NULL) return QVariant();
    switch (kind) {
    case FieldKind::Text:
    case FieldKind::Memo:
    case FieldKind::FormattedMemo:
        return columnText(col);
    case FieldKind::SmallInt:
    case FieldKind::LongInt:
    case FieldKind::AutoInc:
        if (type == SQLITE_FLOAT) return QVariant(qint64(std::llround(columnDouble(col))));
        return QVariant(qint64(columnInt(col)));
    case FieldKind::Float:
    case FieldKind::Money:
        return QVariant(columnDouble(col));
    case FieldKind::Logical:
        return QVariant(columnInt(col) != 0);
    case FieldKind::Date:
    case FieldKind::Time:
    case FieldKind::Timestamp: {
        const char* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
        const int n = sqlite3_column_bytes(stmt_, col);
        if (kind == FieldKind::Date) {
            QDate d;
            if (parseIsoDate(p, n, d)) return QVariant(d);
            return QVariant(QDate::fromString(columnText(col), QLatin1String(kDateFormat)));
        }
        if (kind == FieldKind::Time) {
            QTime t;
            if (parseIsoTime(p, n, t)) return QVariant(t);
            return QVariant(QTime::fromString(columnText(col), QStringLiteral("hh:mm:ss")));
        }
        QDate d;
        QTime t;
        if (n >= 19 && parseIsoDate(p, 10, d) && (p[10] == ' ' || p[10] == 'T') &&
            parseIsoTime(p + 11, n - 11, t))
            return QVariant(QDateTime(d, t));
        return QVariant(QDateTime::fromString(columnText(col), Qt::ISODateWithMs));
    }
    case FieldKind::Blob:
        return QVariant(columnBlob(col));
    }
    return QVariant();
}

QVariant Statement::columnPlain(int col) const {
    switch (sqlite3_column_type(stmt_, col)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(columnInt(col)));
    case SQLITE_FLOAT:
        return QVariant(columnDouble(col));
    case SQLITE_TEXT:
        return QVariant(columnText(col));
    case SQLITE_BLOB:
        return QVariant(columnBlob(col));
    default:
        return QVariant();
    }
}

// ---------------------------------------------------------------- value conversions

QString sqlTypeOf(const FieldDef& f) {
    switch (f.kind) {
    case FieldKind::Text:
        return QStringLiteral("VARCHAR(%1) COLLATE CZECH").arg(f.size);
    case FieldKind::SmallInt:
        return QStringLiteral("SMALLINT");
    case FieldKind::LongInt:
        return QStringLiteral("INTEGER");
    case FieldKind::AutoInc:
        return QStringLiteral("AUTOINC INT");
    case FieldKind::Float:
        return QStringLiteral("FLOAT");
    case FieldKind::Money:
        return QStringLiteral("MONEY REAL");
    case FieldKind::Logical:
        return QStringLiteral("BOOL INT");
    case FieldKind::Date:
        return QStringLiteral("DATE TEXT");
    case FieldKind::Time:
        return QStringLiteral("TIME TEXT");
    case FieldKind::Timestamp:
        return QStringLiteral("TIMESTAMP TEXT");
    case FieldKind::Memo:
        return QStringLiteral("MEMO TEXT COLLATE CZECH");
    case FieldKind::FormattedMemo:
        return QStringLiteral("FMTMEMO TEXT COLLATE CZECH");
    case FieldKind::Blob:
        return QStringLiteral("BLOB");
    }
    return QString();
}

FieldKind kindOfDeclType(const QString& declType, bool* known) {
    QString t = declType.toUpper();
    if (known) *known = true;
    if (t.startsWith(QLatin1String("VARCHAR"))) return FieldKind::Text;
    if (t.startsWith(QLatin1String("SMALLINT"))) return FieldKind::SmallInt;
    if (t.startsWith(QLatin1String("AUTOINC"))) return FieldKind::AutoInc;
    if (t.startsWith(QLatin1String("INTEGER"))) return FieldKind::LongInt;
    if (t.startsWith(QLatin1String("FLOAT"))) return FieldKind::Float;
    if (t.startsWith(QLatin1String("MONEY"))) return FieldKind::Money;
    if (t.startsWith(QLatin1String("BOOL"))) return FieldKind::Logical;
    if (t.startsWith(QLatin1String("DATE"))) return FieldKind::Date;
    if (t.startsWith(QLatin1String("TIMESTAMP"))) return FieldKind::Timestamp;
    if (t.startsWith(QLatin1String("TIME"))) return FieldKind::Time;
    if (t.startsWith(QLatin1String("MEMO"))) return FieldKind::Memo;
    if (t.startsWith(QLatin1String("FMTMEMO"))) return FieldKind::FormattedMemo;
    if (t.startsWith(QLatin1String("BLOB"))) return FieldKind::Blob;
    if (known) *known = false;
    return FieldKind::Text;
}

bool storedAtFourPlaces(const FieldDef& f) {
    return (f.kind == FieldKind::Float || f.kind == FieldKind::Money) &&
           f.decimals <= Decimal::kPlaces;
}

double atStoredPlaces(double v, const FieldDef& f) {
    // Past the range of the fixed-point type a value has no four places to keep.
    if (!storedAtFourPlaces(f) || !std::isfinite(v) || std::fabs(v) >= 1e14) return v;
    return Decimal::fromDouble(v).toDouble();
}

QVariant toFieldValue(const QVariant& v, const FieldDef& f) {
    if (!v.isValid() || v.isNull()) return QVariant();
    switch (f.kind) {
    case FieldKind::Text: {
        QString s = v.toString();
        if (f.size > 0 && s.size() > f.size) s.truncate(f.size);
        qsizetype n = s.size();
        while (n > 0 && s[n - 1] == QLatin1Char(' '))
            --n;
        s.truncate(n);
        if (s.isEmpty()) return QVariant();
        return s;
    }
    case FieldKind::Memo:
    case FieldKind::FormattedMemo: {
        QString s = v.toString();
        if (s.isEmpty()) return QVariant();
        return s;
    }
    case FieldKind::SmallInt:
    case FieldKind::LongInt:
    case FieldKind::AutoInc: {
        if (v.typeId() == QMetaType::QString) {
            if (v.toString().trimmed().isEmpty()) return QVariant();
            QString s = withoutDigitGroups(v.toString()).value_or(QStringLiteral("?"));
            bool ok = false;
            qint64 n = s.toLongLong(&ok);
            if (!ok) {
                double d = s.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
                if (!ok)
                    throw StorageError(
                        StorageErrorKind::Other,
                        QStringLiteral("'%1' není platné celé číslo").arg(v.toString()), QString(),
                        f.name);
                n = std::llround(d);
            }
            return QVariant(n);
        }
        if (v.typeId() == QMetaType::Double) return QVariant(qint64(std::llround(v.toDouble())));
        return QVariant(v.toLongLong());
    }
    case FieldKind::Float:
    case FieldKind::Money: {
        double d = 0;
        if (v.typeId() == QMetaType::QString) {
            QString s = v.toString().trimmed();
            if (s.isEmpty()) return QVariant();
            bool ok = false;
            if (auto plain = withoutDigitGroups(s))
                d = plain->replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
            if (!ok || !std::isfinite(d))
                throw StorageError(StorageErrorKind::Other,
                                   QStringLiteral("'%1' není platné číslo").arg(s), QString(),
                                   f.name);
        } else if (v.metaType() == QMetaType::fromType<Decimal>()) {
            d = v.value<Decimal>().toDouble();
        } else {
            d = v.toDouble();
        }
        return QVariant(atStoredPlaces(d, f));
    }
    case FieldKind::Logical:
        if (v.typeId() == QMetaType::QString) {
            QString s = v.toString().trimmed().toUpper();
            if (s.isEmpty()) return QVariant();
            return QVariant(s == QLatin1String("TRUE") || s == QLatin1String("T") ||
                            s == QLatin1String("1") || s == QLatin1String("ANO") ||
                            s == QLatin1String("A") || s == QLatin1String("Y"));
        }
        return QVariant(v.toBool());
    case FieldKind::Date: {
        if (v.typeId() == QMetaType::QDate) return v.toDate().isValid() ? v : QVariant();
        if (v.typeId() == QMetaType::QDateTime) return QVariant(v.toDateTime().date());
        QString s = v.toString().trimmed();
        if (s.isEmpty()) return QVariant();
        QDate d = QDate::fromString(s, QStringLiteral("d.M.yyyy"));
        if (!d.isValid()) d = QDate::fromString(s, QLatin1String(kDateFormat));
        if (!d.isValid())
            throw StorageError(StorageErrorKind::Other,
                               QStringLiteral("'%1' není platné datum").arg(s), QString(), f.name);
        return QVariant(d);
    }
    case FieldKind::Time: {
        if (v.typeId() == QMetaType::QTime) return v;
        if (v.typeId() == QMetaType::QDateTime) return QVariant(v.toDateTime().time());
        QString s = v.toString().trimmed();
        if (s.isEmpty()) return QVariant();
        QTime t = QTime::fromString(s, QStringLiteral("h:mm:ss"));
        if (!t.isValid()) t = QTime::fromString(s, QStringLiteral("h:mm"));
        if (!t.isValid()) t = QTime::fromString(s, QLatin1String(kTimeFormat));
        if (!t.isValid())
            throw StorageError(StorageErrorKind::Other,
                               QStringLiteral("'%1' není platný čas").arg(s), QString(), f.name);
        return QVariant(t);
    }
    case FieldKind::Timestamp: {
        if (v.typeId() == QMetaType::QDateTime) return v;
        if (v.typeId() == QMetaType::QDate) return QVariant(QDateTime(v.toDate(), QTime(0, 0)));
        QString s = v.toString().trimmed();
        if (s.isEmpty()) return QVariant();
        QDateTime t = QDateTime::fromString(s, QStringLiteral("d.M.yyyy h:mm:ss"));
        if (!t.isValid()) t = QDateTime::fromString(s, QStringLiteral("d.M.yyyy"));
        if (!t.isValid()) t = QDateTime::fromString(s, QLatin1String(kTimestampFormat));
        if (!t.isValid()) t = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        if (!t.isValid())
            throw StorageError(StorageErrorKind::Other,
                               QStringLiteral("'%1' není platné datum a čas").arg(s), QString(),
                               f.name);
        return QVariant(t);
    }
    case FieldKind::Blob: {
        QByteArray b = v.toByteArray();
        if (b.isEmpty()) return QVariant();
        return QVariant(b);
    }
    }
    return v;
}

// ---------------------------------------------------------------- Database

namespace {} // namespace

StorageError Database::error(int rc, const QString& what) const {
    QString msg = QString::fromUtf8(sqlite3_errmsg(db_));
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        return StorageError(StorageErrorKind::Busy,
                            QStringLiteral("Databáze je používána jiným programem, operaci nelze "
                                           "provést. Zkuste to prosím znovu."));
    return StorageError(StorageErrorKind::Other, QStringLiteral("%1: %2").arg(what, msg));
}

std::unique_ptr<Database> Database::open(const QString& root, const OpenOptions& options) {
    QDir dir(root);
    if (!dir.exists()) {
        if (!options.create || !QDir().mkpath(root))
            throw StorageError(StorageErrorKind::NotFound,
                               QStringLiteral("Adresář dat %1 neexistuje").arg(root));
    }
    std::unique_ptr<Database> db(new Database());
    db->root_ = QDir(root).absolutePath();
    db->catalogue_ = options.catalogue;
    QString path = db->databasePath();
    if (!options.create && !QFileInfo::exists(path))
        throw StorageError(StorageErrorKind::NotFound,
                           QStringLiteral("V adresáři %1 není databáze brix.sqlite").arg(root));
    int flags =
        SQLITE_OPEN_READWRITE | (options.create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db->db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        QString msg = db->db_ ? QString::fromUtf8(sqlite3_errmsg(db->db_)) : QString();
        throw StorageError(StorageErrorKind::Other,
                           QStringLiteral("Databázi %1 nelze otevřít: %2").arg(path, msg));
    }
    sqlite3_extended_result_codes(db->db_, 0);
    sqlite3_busy_timeout(db->db_, options.busyTimeoutMs);
    czech::registerSqliteFunctions(db->db_);
    {
        Statement mode = db->prepare(QStringLiteral("PRAGMA journal_mode=WAL"));
        db->walMode_ = mode.step() &&
                       mode.columnText(0).compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0;
    }
    db->exec(QStringLiteral("PRAGMA synchronous=FULL"));
    db->exec(QStringLiteral("PRAGMA foreign_keys=OFF"));
    if (options.create) {
        for (const QString& d : Catalogue::dataDirectories() + Catalogue::otherDirectories())
            QDir().mkpath(resolvePath(db->root_, d).path);
    }
    if (options.upgrade) db->upgradeSchema();
    db->checkExternalChanges();
    return db;
}

Database::~Database() {
    if (db_) sqlite3_close_v2(db_);
}

QString Database::databasePath() const {
    return QDir(root_).filePath(QStringLiteral("brix.sqlite"));
}

const Catalogue& Database::catalogue() const {
    return catalogue_ ? *catalogue_ : Catalogue::standard();
}

const TableDef* Database::findTable(const QString& address, const QString& baseDirectory) const {
    if (const TableDef* t = catalogue().find(address, baseDirectory)) return t;
    if (runtimeByAddress_.isEmpty()) return nullptr;
    auto it = runtimeByAddress_.constFind(Catalogue::normalizeAddress(address));
    if (it == runtimeByAddress_.constEnd() && !baseDirectory.isEmpty())
        it = runtimeByAddress_.constFind(
            Catalogue::normalizeAddress(baseDirectory + QLatin1Char('\\') + address));
    return it == runtimeByAddress_.constEnd() ? nullptr : it.value();
}

const TableDef& Database::defineTable(TableDef def) {
    const QString key = Catalogue::normalizeAddress(def.address());
    if (key.isEmpty() || def.fields.isEmpty())
        throw StorageError(StorageErrorKind::Other,
                           QStringLiteral("Tabulku %1 nelze založit").arg(def.address()));
    if (const TableDef* known = findTable(key)) return *known;
    def.sqlName = key;
    def.sqlName.replace(QLatin1Char('\\'), QLatin1Char('_'));
    // Only a missing table or column takes the write lock.
    columnCache_.remove(def.sqlName);
    if (!tableComplete(def, indexColumns())) {
        Transaction tx(*this);
        createOrUpgrade(def);
        tx.commit();
        noteWrite();
    }
    runtimeTables_.push_back(std::make_unique<TableDef>(std::move(def)));
    const TableDef* kept = runtimeTables_.back().get();
    runtimeByAddress_.insert(key, kept);
    return *kept;
}

const TableDef& Database::table(const QString& address, const QString& baseDirectory) const {
    const TableDef* t = findTable(address, baseDirectory);
    if (!t)
        throw StorageError(StorageErrorKind::NotFound,
                           QStringLiteral("Tabulka %1 neexistuje").arg(address), address);
    return *t;
}

void Database::exec(const QString& sql) {
    char* err = nullptr;
    int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        QString msg = err ? QString::fromUtf8(err) : QString();
        sqlite3_free(err);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) throw error(rc, msg);
        throw StorageError(StorageErrorKind::Other, QStringLiteral("Chyba databáze: %1").arg(msg));
    }
}

QStringList Database::physicalColumns(const TableDef& def) const {
    auto it = columnCache_.constFind(def.sqlName);
    if (it != columnCache_.constEnd()) return it.value();
    QStringList cols;
    Statement st(db_, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(def.sqlName)));
    while (st.step())
        cols << st.columnText(1).toLower();
    columnCache_.insert(def.sqlName, cols);
    return cols;
}

bool Database::hasPhysicalColumn(const TableDef& def, const QString& field) const {
    return physicalColumns(def).contains(field.toLower());
}

QHash<QString, QStringList> Database::indexColumns() const {
    QHash<QString, QStringList> indexes;
    Statement st(db_, QStringLiteral("SELECT m.name, i.name FROM sqlite_master AS m, "
                                     "pragma_index_info(m.name) AS i WHERE m.type = 'index' "
                                     "ORDER BY m.name, i.seqno"));
    while (st.step())
        indexes[st.columnText(0)] << st.columnText(1).toLower();
    return indexes;
}

namespace {

QStringList lowered(const QStringList& fields) {
    QStringList out;
    for (const QString& f : fields)
        out << f.toLower();
    return out;
}

// The SQL index of each index of the table (the primary one first) with its fields.
QVector<std::pair<QString, QStringList>> indexesOf(const TableDef& t) {
    QVector<std::pair<QString, QStringList>> out;
    if (!t.primaryKey.isEmpty()) out.push_back({t.sqlName + "__pk", t.primaryKey});
    for (const IndexDef& ix : t.indexes)
        out.push_back({t.sqlName + "__" + ix.name.toLower(), ix.fields});
    return out;
}

} // namespace

bool Database::tableComplete(const TableDef& t, const QHash<QString, QStringList>& indexes) const {
    QStringList existing = physicalColumns(t);
    if (existing.isEmpty()) return false;
    for (const FieldDef& f : t.fields)
        if (!existing.contains(f.name.toLower())) return false;
    // An index of an older root over other fields counts as missing.
    for (const auto& [name, fields] : indexesOf(t)) {
        auto it = indexes.constFind(name);
        if (it == indexes.constEnd() || *it != lowered(fields)) return false;
    }
    return true;
}

bool Database::schemaComplete() const {
    const QHash<QString, QStringList> indexes = indexColumns();
    for (const TableDef& t : catalogue().tables())
        if (!tableComplete(t, indexes)) return false;
    return true;
}

void Database::createOrUpgrade(const TableDef& t) {
    columnCache_.remove(t.sqlName);
    QStringList existing = physicalColumns(t);
    if (existing.isEmpty()) {
        QStringList cols;
        for (const FieldDef& f : t.fields)
            cols << quoted(f.name) + QLatin1Char(' ') + sqlTypeOf(f);
        exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(t.sqlName), cols.join(", ")));
    } else {
        for (const FieldDef& f : t.fields)
            if (!existing.contains(f.name.toLower()))
                exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                         .arg(quoted(t.sqlName), quoted(f.name), sqlTypeOf(f)));
    }
    columnCache_.remove(t.sqlName);
    auto quoteAll = [](const QStringList& fs) {
        QStringList q;
        for (const QString& f : fs)
            q << quoted(f);
        return q.join(", ");
    };
    // An index whose fields the catalogue changed since the root was made is built again.
    const QHash<QString, QStringList> present = indexColumns();
    for (const auto& [name, fields] : indexesOf(t)) {
        auto it = present.constFind(name);
        if (it != present.constEnd() && *it == lowered(fields)) continue;
        if (it != present.constEnd()) exec(QStringLiteral("DROP INDEX %1").arg(quoted(name)));
        exec(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                 .arg(quoted(name), quoted(t.sqlName), quoteAll(fields)));
    }
}

void Database::upgradeSchema() {
    // Only a root that lacks something takes the write lock: a second copy starting while the
    // first one writes must not wait for it.
    if (schemaComplete()) return;
    Transaction tx(*this);
    for (const TableDef& t : catalogue().tables())
        createOrUpgrade(t);
    tx.commit();
}

qint64 Database::changeCount() const {
    return sqlite3_total_changes64(db_);
}

quint64 Database::generation() {
    checkExternalChanges();
    return generation_;
}

// The header of the write-ahead log's index, which every commit rewrites (its change counter
// and last frame), read without a lock from the shared memory SQLite maps for the log. False
// when the database keeps no log in shared memory.
bool Database::walIndexHeader(unsigned char* out) {
    if (!walIndex_ && !noWalIndex_) {
        sqlite3_file* file = nullptr;
        if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
            !file || !file->pMethods || file->pMethods->iVersion < 2 || !file->pMethods->xShmMap) {
            noWalIndex_ = true;
            return false;
        }
        // The first page of the index, as the log itself maps it; not there before the log's
        // first use (then asked again next time).
        volatile void* region = nullptr;
        if (file->pMethods->xShmMap(file, 0, 32768, 0, &region) == SQLITE_OK && region)
            walIndex_ = static_cast<const volatile unsigned char*>(region);
    }
    if (!walIndex_) return false;
    std::atomic_thread_fence(std::memory_order_acquire);
    // Word by word: the region is page-aligned, and this runs before every move of a cursor.
    const auto* words = reinterpret_cast<const volatile std::uint64_t*>(walIndex_);
    for (int i = 0; i < kWalHeaderSize / 8; ++i) {
        const std::uint64_t w = words[i];
        std::memcpy(out + 8 * i, &w, 8);
    }
    return true;
}

void Database::checkExternalChanges() {
    // Holding the write lock, this copy is the only one that can commit.
    if (depth_ > 0) return;
    // PRAGMA data_version decides whether another copy committed, but asking it begins a read
    // transaction, which costs more than reading a row. The log's index header changes with
    // every commit of any copy, so while it is the header seen before the last question nothing
    // was committed since, and the question is skipped. The header is taken before asking: a
    // commit between the two is then seen twice, never missed.
    unsigned char header[kWalHeaderSize];
    const bool peeked = walMode_ && walIndexHeader(header);
    if (peeked && dataVersion_ != -1 && std::memcmp(header, walHeader_, kWalHeaderSize) == 0)
        return;
    if (peeked) std::memcpy(walHeader_, header, kWalHeaderSize);
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, "PRAGMA data_version", -1, &st, nullptr) != SQLITE_OK) return;
    if (sqlite3_step(st) == SQLITE_ROW) {
        qint64 v = sqlite3_column_int64(st, 0);
        if (dataVersion_ != -1 && v != dataVersion_) ++generation_;
        dataVersion_ = v;
    }
    sqlite3_finalize(st);
}

Database::Transaction::Transaction(Database& db) : db_(db), level_(db.depth_) {
    if (level_ == 0) {
        // A cursor's read statement that is still positioned on its row holds a read snapshot;
        // taking the write lock from a snapshot older than another copy's commit fails at once
        // instead of waiting. The row is already loaded, so the statements are reset first.
        for (sqlite3_stmt* s = sqlite3_next_stmt(db_.db_, nullptr); s;
             s = sqlite3_next_stmt(db_.db_, s))
            if (sqlite3_stmt_busy(s) && sqlite3_stmt_readonly(s)) sqlite3_reset(s);
        db_.exec(QStringLiteral("BEGIN IMMEDIATE"));
        ++db_.writeEpoch_;
        // Whatever another copy committed before the lock was taken counts from here on.
        db_.checkExternalChanges();
    } else
        db_.exec(QStringLiteral("SAVEPOINT sp%1").arg(level_));
    ++db_.depth_;
}

Database::Transaction::~Transaction() {
    if (done_) return;
    --db_.depth_;
    ++db_.writeEpoch_;
    try {
        if (level_ == 0)
            db_.exec(QStringLiteral("ROLLBACK"));
        else
            db_.exec(QStringLiteral("ROLLBACK TO sp%1; RELEASE sp%1").arg(level_));
    } catch (...) {
    }
    db_.columnCache_.clear();
    db_.noteWrite();
}

void Database::Transaction::commit() {
    if (done_) return;
    if (level_ == 0)
        db_.exec(QStringLiteral("COMMIT"));
    else
        db_.exec(QStringLiteral("RELEASE sp%1").arg(level_));
    --db_.depth_;
    done_ = true;
}

} // namespace brix
