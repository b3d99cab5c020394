#pragma once
// Comma-separated values as spreadsheets write them (RFC 4180): fields with a comma, a quote, a
// line break or a semicolon are quoted, inner quotes doubled; a quoted field may span lines. A
// record of one blank field is written as "" so that it is not taken for an empty line.
#include <QString>
#include <QStringList>

namespace brix {

QString csvField(const QString& value);
QString csvLine(const QStringList& values); // without the line end

class CsvReader {
public:
    explicit CsvReader(const QString& text, QChar separator = QLatin1Char(','));
    // Reads the next record; false at the end. `line` is the 1-based line the record starts on.
    bool next(QStringList& fields, int* line = nullptr);
    bool malformed() const { return malformed_; } // a quote left open at the end

private:
    QString text_;
    QChar sep_;
    qsizetype pos_ = 0;
    int line_ = 1;
    bool malformed_ = false;
};

} // namespace brix
