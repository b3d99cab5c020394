#pragma once
// The text export: one line of field names, then one line per record, every value followed by
// ";", in Windows-1250 with CR LF line ends. A value holding ";", a line break or starting with
// a double quote is written in double quotes with its inner quotes doubled, so that it cannot
// shift the columns; every other value is written as it is.

#include "table.h"

#include <QSaveFile>
#include <QStringList>

namespace brix::formats {

// The file names of a text export of `name` into the directory `dir` ("<dir><name>.txt") and of
// its optional field list ("<dir><name>_Ex.txt").
QString textExportPath(const QString& dir, const QString& name);
QString textExportFieldListPath(const QString& dir, const QString& name);

// The field list of a text export: the first line of the file split at ";", empty pieces
// dropped. A missing file gives an empty list and true; an unreadable one false and *error.
bool readTextExportFieldList(const QString& path, QStringList* names, QString* error);

// One value as the text export writes it (quoted only when it has to be).
QString textExportValue(const QString& value);

class TextExportWriter : public TableWriter {
public:
    ~TextExportWriter() override;
    // The exported fields, in order, by name (case-insensitive); empty: all fields.
    void setFieldList(const QStringList& names) { fieldList_ = names; }
    // Fails with a message naming the field when a listed field is not among `fields`.
    bool open(const QString& path, const QList<FieldDef>& fields) override;
    bool append(const Record& record) override;
    bool close() override;
    void abandon() override;

private:
    bool writeLine(const QStringList& values);

    QStringList fieldList_;
    QList<int> columns_;
    QList<FieldKind> kinds_;
    QSaveFile file_;
    QByteArray buffer_;
};

} // namespace brix::formats
