#include "csv.h"

namespace brix {

QString csvField(const QString& value) {
    bool quote = false;
    for (QChar c : value)
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\n') ||
            c == QLatin1Char('\r') || c == QLatin1Char(';')) {
            quote = true;
            break;
        }
    if (!quote) return value;
    QString s = value;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString csvLine(const QStringList& values) {
    // One blank field would make an empty line, which readers skip instead of reading a record.
    if (values.size() == 1 && values[0].isEmpty()) return QStringLiteral("\"\"");
    QString out;
    for (int i = 0; i < values.size(); ++i) {
        if (i) out += QLatin1Char(',');
        out += csvField(values[i]);
    }
    return out;
}

CsvReader::CsvReader(const QString& text, QChar separator) : text_(text), sep_(separator) {
    if (text_.startsWith(QChar(0xFEFF))) text_.remove(0, 1);
}

bool CsvReader::next(QStringList& fields, int* line) {
    fields.clear();
    const qsizetype n = text_.size();
    if (pos_ >= n) return false;
    if (line) *line = line_;
    QString cur;
    bool quoted = false, wasQuoted = false;
    while (pos_ < n) {
        QChar c = text_[pos_];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (pos_ + 1 < n && text_[pos_ + 1] == QLatin1Char('"')) {
                    cur += c;
                    pos_ += 2;
                    continue;
                }
                quoted = false;
                ++pos_;
                continue;
            }
            if (c == QLatin1Char('\n')) ++line_;
            cur += c;
            ++pos_;
            continue;
        }
        if (c == QLatin1Char('"') && cur.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
            ++pos_;
            continue;
        }
        if (c == sep_) {
            fields << cur;
            cur.clear();
            wasQuoted = false;
            ++pos_;
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && pos_ + 1 < n && text_[pos_ + 1] == QLatin1Char('\n'))
                ++pos_;
            ++pos_;
            ++line_;
            fields << cur;
            return true;
        }
        cur += c;
        ++pos_;
    }
    if (quoted) malformed_ = true;
    fields << cur;
    return true;
}

} // namespace brix
