#pragma once
// SQL queries over the tables of a data root. The text is the programs' own local SQL: tables are
// named by their catalogue addresses ("Sklady\SklPol.DB", "Vyrobky" relative to a working
// directory), parameters are ":NAME" and always bound. The result is read like a table: first,
// next, eof, fields by name.
#include "database.h"
#include "field.h"

#include <QHash>
#include <QVector>

namespace brix {

class Query : public RecordSource {
public:
    explicit Query(Database& db, const QString& sql = QString(),
                   const QString& workingDirectory = QString());

    void setSql(const QString& sql);
    QString sql() const { return sql_; }
    // The directory bare table names are relative to ("Ciselnik" for "FROM Vyrobky").
    void setWorkingDirectory(const QString& dir) { workDir_ = dir; }
    // The SQL text the database runs (table names translated), for diagnostics.
    QString translatedSql() const;

    void setParam(const QString& name, const QVariant& value); // name without the colon
    QVariant param(const QString& name) const { return params_.value(name.toUpper()); }
    void clearParams() { params_.clear(); }

    void open(); // runs a SELECT and reads its rows
    void close();
    bool active() const { return active_; }
    int execute(); // runs any other statement; returns the number of changed rows

    void first();
    void next();
    void prior();
    void last();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool isEmpty() const { return rows_.isEmpty(); }
    qint64 recordCount() const { return rows_.size(); }
    int recNo() const { return pos_; } // 0-based

    int fieldCount() const override { return int(fields_.size()); }
    const FieldDef& fieldDef(int index) const override { return fields_[index]; }
    int fieldIndex(const QString& name) const override;
    QVariant fieldValue(int index) const override;
    void setFieldValue(int index, const QVariant& value) override; // throws: results are read-only
    QString sourceName() const override { return QStringLiteral("SQL"); }

    Field field(int index) { return Field(this, index); }
    Field field(const QString& name); // throws StorageError (NotFound)
    Field operator[](const QString& name) { return field(name); }

private:
    Statement prepareBound();

    Database& db_;
    QString sql_, workDir_;
    QHash<QString, QVariant> params_;
    QVector<FieldDef> fields_;
    QVector<QVector<QVariant>> rows_;
    int pos_ = 0;
    bool active_ = false, eof_ = true, bof_ = true;
};

// Replaces the table addresses after FROM, JOIN, INTO, UPDATE (and in FROM lists) with the SQL
// tables of the catalogue; string literals, identifiers of columns and parameters stay as they are.
QString translateTableNames(const QString& sql, const Database& db,
                            const QString& workingDirectory);

} // namespace brix
