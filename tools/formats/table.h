#pragma once
// A table as the export and the foreign-table readers see it: a list of fields and a stream of
// records. The model knows nothing of the storage engine; callers translate their cursors into
// it record by record, so an export of any size needs one record in memory at a time.

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTime>
#include <QVariant>

#include <memory>

namespace brix::formats {

// The kinds of field of the table catalogue, and the few more that foreign tables carry.
enum class FieldKind {
    Text,          // QString, at most `size` characters
    Short,         // int, 16 bits
    Long,          // int, 32 bits
    AutoInc,       // int, 32 bits, numbered by the table
    Float,         // double
    Money,         // double (the fixed-point caller converts)
    Bcd,           // double; `decimals` places
    Logical,       // bool
    Date,          // QDate
    Time,          // QTime
    Timestamp,     // QDateTime
    Memo,          // QString
    FormattedMemo, // QString (the bytes of the formatted text in the table's code page)
    Blob,          // QByteArray
    Graphic,       // QByteArray
    Ole,           // QByteArray
    Bytes,         // QByteArray of at most `size` bytes
};

struct FieldDef {
    QString name;
    FieldKind kind = FieldKind::Text;
    int size = 0;     // characters of a text, bytes of a byte field, memo leader; else 0
    int decimals = 0; // places of a number where the format keeps them
};

// One value per field, in field order. A null QVariant is a blank field.
using Record = QList<QVariant>;

// The English designation of a kind ("alpha", "long", "memo", ...), used by schema listings.
QString kindName(FieldKind kind);
bool isTextKind(FieldKind kind);   // Text, Memo, FormattedMemo
bool isBinaryKind(FieldKind kind); // Blob, Graphic, Ole, Bytes
bool isNumberKind(FieldKind kind); // Short, Long, AutoInc, Float, Money, Bcd

// Writes a table record by record. open() creates the files (replacing old ones), append()
// adds a record, close() completes the files; each returns false with a Czech errorString().
class TableWriter {
public:
    virtual ~TableWriter() = default;
    virtual bool open(const QString& path, const QList<FieldDef>& fields) = 0;
    virtual bool append(const Record& record) = 0;
    virtual bool close() = 0;
    // Ends a failed export: the files are closed; a text file is not put in place at all.
    virtual void abandon() { close(); }
    QString errorString() const { return error_; }

protected:
    QString error_;
};

// Reads a table record by record. next() returns false at the end and on an error; a non-empty
// errorString() tells the two apart.
class TableReader {
public:
    virtual ~TableReader() = default;
    virtual bool open(const QString& path, const QString& password = {}) = 0;
    virtual bool next(Record* record) = 0;
    const QList<FieldDef>& fields() const { return fields_; }
    qint64 recordCount() const { return recordCount_; }
    QString errorString() const { return error_; }
    // Whether open() refused a table protected by a password because none or a wrong one was
    // given (errorString() says which); asking the user again may help.
    bool passwordRefused() const { return passwordRefused_; }
    // The fields of the record last read whose stored value could not be read (a date outside
    // the years 1 to 9999, a time past midnight): they are given as blank.
    const QList<int>& unreadableFields() const { return unreadable_; }

protected:
    QList<FieldDef> fields_;
    qint64 recordCount_ = 0;
    QString error_;
    bool passwordRefused_ = false;
    QList<int> unreadable_;
};

enum class TableFormat { Paradox, Dbase };

std::unique_ptr<TableWriter> makeTableWriter(TableFormat format);
// A reader chosen by the file's extension (".db" Paradox, ".dbf" dBASE), opened; nullptr with
// a Czech message in *error when the file cannot be read (*passwordRefused tells whether it was
// for want of the right password).
std::unique_ptr<TableReader> openTable(const QString& path, const QString& password, QString* error,
                                       bool* passwordRefused = nullptr);

// The fields of an export target made from the source's fields: the same names and kinds, the
// text sizes kept; an auto-increment field becomes a plain long integer, so the target takes the
// copied numbers instead of numbering its records anew.
QList<FieldDef> exportTargetFields(const QList<FieldDef>& source);

// The value of a field as the text export and the spreadsheet write it: dates dd.mm.yyyy,
// times hh:mm:ss, numbers with the decimal comma, logicals "True"/"False", blank as "".
QString fieldText(const QVariant& value, FieldKind kind);

} // namespace brix::formats
