#pragma once
// Errors of the table store. The four storage rules have kinds of their own, so that the data
// module can turn each into its fixed Czech message.

#include <QString>

#include <stdexcept>

namespace brix {

enum class StorageErrorKind {
    KeyViolation,         // a posted record has the primary key of an existing record
    RequiredFieldMissing, // a required field is blank
    ForeignKeyViolation,  // a posted item names a product that does not exist
    DetailRecordsExist,   // a deleted record still has dependent records
    Busy,                 // another copy of the program holds the database longer than we wait
    FilterSyntax,         // a filter expression cannot be read
    NotFound,             // a table, field or index the caller named does not exist
    State,                // the operation does not fit the table's state (edit without a record...)
    RecordChangedByOther, // the stored record changed since this copy began to edit it
    RecordDeletedByOther, // the record being edited was deleted meanwhile
    Other                 // anything the database itself reports
};

class StorageError : public std::runtime_error {
public:
    StorageError(StorageErrorKind kind, const QString& message, const QString& table = QString(),
                 const QString& field = QString(), int position = -1)
        : std::runtime_error(message.toStdString()), kind_(kind), message_(message), table_(table),
          field_(field), position_(position) {}

    StorageErrorKind kind() const { return kind_; }
    const QString& message() const { return message_; } // Czech, for the user
    const QString& table() const { return table_; }     // catalogue address
    const QString& field() const { return field_; }
    int position() const { return position_; } // 0-based position in a filter expression

private:
    StorageErrorKind kind_;
    QString message_;
    QString table_;
    QString field_;
    int position_;
};

// Abandons the current operation silently: the caller has told the user already (or needs not).
class Abort : public std::exception {
public:
    const char* what() const noexcept override { return "operation abandoned"; }
};

} // namespace brix
