#pragma once
// Comma-separated values as spreadsheets write them: fields with a comma, a quote or a line
// break are quoted, inner quotes doubled; a quoted field may span lines.
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
