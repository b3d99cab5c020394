#pragma once
// One data root: a directory with the SQLite database brix.sqlite (one SQL table per catalogue
// table) and the catalogue's directories for text files, settings and templates.

#include "storage_error.h"
#include "tabledef.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>

#include <map>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace brix {

class Catalogue;

// A prepared statement; finalized when destroyed.
class Statement {
public:
    Statement() = default;
    Statement(sqlite3* db, const QString& sql); // throws StorageError
    ~Statement();
    Statement(Statement&& o) noexcept;
    Statement& operator=(Statement&& o) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool isValid() const { return stmt_ != nullptr; }
    sqlite3_stmt* handle() const { return stmt_; }

    // Binds a value as a field of the kind stores it (1-based index).
    void bind(int index, const QVariant& value, FieldKind kind);
    // Binds a plain value: text, integer, real, blob, null by the variant's type.
    void bindPlain(int index, const QVariant& value);
    int parameterIndex(const QString& name) const; // ":NAME" without the colon; 0 when absent
    int parameterCount() const;
    void reset();

    bool step(); // true while a row is there; throws StorageError
    void exec(); // steps to the end

    int columnCount() const;
    QString columnName(int col) const;
    QString columnDeclType(int col) const;
    bool isNull(int col) const;
    qint64 columnInt(int col) const;
    double columnDouble(int col) const;
    QString columnText(int col) const;
    QByteArray columnBlob(int col) const;
    // The column read as a field of this kind (null for NULL).
    QVariant column(int col, FieldKind kind) const;
    // The column by its stored type (null, integer, real, text, blob).
    QVariant columnPlain(int col) const;

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

// Conversions between values of the field kinds and what SQLite keeps.
// An assigned value as the field keeps it: text cut to its size, blank as null, typed numbers
// read (blanks only between thousands), money, prices, rates and quantities at four places.
// Throws StorageError when the value does not fit the kind.
QVariant toFieldValue(const QVariant& v, const FieldDef& f);
// Float and money fields keep four places (a field declared with more keeps what it is given).
bool storedAtFourPlaces(const FieldDef& f);
double atStoredPlaces(double v, const FieldDef& f);
QString sqlTypeOf(const FieldDef& f);
FieldKind kindOfDeclType(const QString& declType, bool* known = nullptr);

struct OpenOptions {
    bool create = true;  // create the database and the directories when absent
    bool upgrade = true; // add missing tables, columns and indexes
    int busyTimeoutMs = 5000;
    const Catalogue* catalogue = nullptr; // the tables the root holds; null = the system's own
};

class Database {
public:
    // Opens (and by default creates or upgrades) the data root. Throws StorageError.
    static std::unique_ptr<Database> open(const QString& root, const OpenOptions& options = {});
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& root() const { return root_; }
    QString databasePath() const;
    sqlite3* handle() const { return db_; }
    const Catalogue& catalogue() const;

    // The catalogue table addressed as the programs address it: directory and file name,
    // any capitalisation, backslash or slash, extension optional; `baseDirectory` is the
    // directory a bare file name is relative to. Throws StorageError (NotFound).
    const TableDef& table(const QString& address, const QString& baseDirectory = QString()) const;
    const TableDef* findTable(const QString& address,
                              const QString& baseDirectory = QString()) const;

    // A table the catalogue does not hold, defined while the program runs (the saved filters of
    // a data source): the definition is kept for the life of this connection, found by table()
    // and findTable() like a catalogue table, and its SQL table, columns and indexes are created
    // when missing. An address the catalogue or an earlier call already defines answers that
    // definition. Throws StorageError.
    const TableDef& defineTable(TableDef def);

    // Columns the SQL table really has (an older data root may lack some), lower-cased.
    QStringList physicalColumns(const TableDef& def) const;
    bool hasPhysicalColumn(const TableDef& def, const QString& field) const;

    void exec(const QString& sql);
    Statement prepare(const QString& sql) const { return Statement(db_, sql); }

    // Brings the SQL schema up to the catalogue: missing tables, columns and indexes, and every
    // index whose fields differ from the catalogue's (an older root's) built again.
    void upgradeSchema();
    bool schemaComplete() const; // every table, column and index of the catalogue is there

    // A change counter: every write through this connection moves it, and so does a commit of
    // another copy of the program, which each call looks for (outside a transaction: inside one
    // this copy holds the write lock and nobody else can commit). Cursors read their rows again
    // when it has moved, so no cursor serves rows older than a commit it could see.
    quint64 generation();
    void noteWrite() { ++generation_; }

    // The transaction: the outermost one takes the write lock at once (so a busy database is
    // noticed before anything is done); nested ones are savepoints. Destroyed without commit(),
    // everything done inside it is rolled back.
    class Transaction {
    public:
        explicit Transaction(Database& db);
        ~Transaction();
        void commit();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;

    private:
        Database& db_;
        int level_;
        bool done_ = false;
    };
    bool inTransaction() const { return depth_ > 0; }
    // Changes with every write lock taken and every rollback (also to a savepoint): while it and
    // the connection's change count stay, a row read under the lock is still as it was read.
    quint64 writeEpoch() const { return writeEpoch_; }
    qint64 changeCount() const;
    // Rows written through cursors: a counter per table (its place stays for the connection's
    // life) and the rows in all. Rows written otherwise (plain statements) are the connection's
    // change count less these: while that and a table's counter stay, so do its rows.
    quint64* writeCounter(const QString& sqlName) { return &tableWrites_[sqlName]; }
    void noteCursorWrite(quint64* counter, qint64 rows) {
        ++*counter;
        cursorChanges_ += rows;
    }
    qint64 otherChanges() const { return changeCount() - cursorChanges_; }

    // Czech message for a failed SQLite call.
    StorageError error(int rc, const QString& what) const;

private:
    static constexpr int kWalHeaderSize = 96; // the two copies of the index header
    Database() = default;
    void checkExternalChanges();
    bool walIndexHeader(unsigned char* out);
    // Fields of each SQL index, lower-cased, by index name.
    QHash<QString, QStringList> indexColumns() const;
    bool tableComplete(const TableDef& t, const QHash<QString, QStringList>& indexes) const;
    void createOrUpgrade(const TableDef& t); // inside a transaction

    QString root_;
    const Catalogue* catalogue_ = nullptr;
    sqlite3* db_ = nullptr;
    int depth_ = 0;
    quint64 generation_ = 1;
    quint64 writeEpoch_ = 1;
    std::map<QString, quint64> tableWrites_;
    qint64 cursorChanges_ = 0;
    qint64 dataVersion_ = -1;
    // The shared-memory index of the write-ahead log, and its header as last seen.
    const volatile unsigned char* walIndex_ = nullptr;
    bool noWalIndex_ = false;
    bool walMode_ = false;
    unsigned char walHeader_[kWalHeaderSize] = {};
    mutable QHash<QString, QStringList> columnCache_;
    std::vector<std::unique_ptr<TableDef>> runtimeTables_;
    QHash<QString, const TableDef*> runtimeByAddress_;
    friend class Transaction;
};

} // namespace brix
