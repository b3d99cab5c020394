#include "text_export.h"

#include "codec.h"

#include <QDir>
#include <QFile>

namespace brix::formats {

QString textExportPath(const QString& dir, const QString& name) {
    return QDir(dir).filePath(name + QStringLiteral(".txt"));
}

QString textExportFieldListPath(const QString& dir, const QString& name) {
    return QDir(dir).filePath(name + QStringLiteral("_Ex.txt"));
}

bool readTextExportFieldList(const QString& path, QStringList* names, QString* error) {
    names->clear();
    if (!QFile::exists(path)) return true;
    QStringList lines;
    if (!brix::readTextLines(path, &lines, error)) return false;
    if (lines.isEmpty()) return true;
    for (const QString& piece : lines.first().split(QLatin1Char(';'), Qt::SkipEmptyParts))
        *names << piece;
    return true;
}

QString textExportValue(const QString& value) {
    if (!value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('\n')) &&
        !value.contains(QLatin1Char('\r')) && !value.startsWith(QLatin1Char('"')))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

TextExportWriter::~TextExportWriter() {
    if (file_.isOpen()) file_.cancelWriting();
}

bool TextExportWriter::open(const QString& path, const QList<FieldDef>& fields) {
    error_.clear();
    columns_.clear();
    kinds_.clear();
    QStringList header;
    if (fieldList_.isEmpty()) {
        for (int i = 0; i < fields.size(); ++i) {
            columns_ << i;
            header << fields[i].name;
        }
    } else {
        for (const QString& name : fieldList_) {
            int found = -1;
            for (int i = 0; i < fields.size() && found < 0; ++i)
                if (fields[i].name.compare(name.trimmed(), Qt::CaseInsensitive) == 0) found = i;
            if (found < 0) {
                error_ = QStringLiteral("Pole „%1“ nebylo nalezeno.").arg(name.trimmed());
                return false;
            }
            columns_ << found;
            header << fields[found].name;
        }
    }
    for (int c : columns_)
        kinds_ << fields[c].kind;
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly)) {
        error_ = QStringLiteral("Nelze vytvořit soubor „%1“: %2").arg(path, file_.errorString());
        return false;
    }
    buffer_.clear();
    return writeLine(header);
}

bool TextExportWriter::writeLine(const QStringList& values) {
    QString line;
    for (const QString& v : values) {
        line += textExportValue(v);
        line += QLatin1Char(';');
    }
    line += QStringLiteral("\r\n");
    buffer_ += brix::encode(line);
    if (buffer_.size() > 1 << 16) {
        if (file_.write(buffer_) != buffer_.size()) {
            error_ = QStringLiteral("Nelze zapsat soubor „%1“: %2")
                         .arg(file_.fileName(), file_.errorString());
            return false;
        }
        buffer_.clear();
    }
    return true;
}

bool TextExportWriter::append(const Record& record) {
    if (!file_.isOpen()) {
        error_ = QStringLiteral("Textový soubor exportu není otevřený.");
        return false;
    }
    QStringList values;
    values.reserve(columns_.size());
    for (int i = 0; i < columns_.size(); ++i) {
        const int c = columns_[i];
        values << fieldText(c < record.size() ? record[c] : QVariant(), kinds_[i]);
    }
    return writeLine(values);
}

void TextExportWriter::abandon() {
    if (file_.isOpen()) file_.cancelWriting();
    buffer_.clear();
}

bool TextExportWriter::close() {
    if (!file_.isOpen()) return error_.isEmpty();
    if (!error_.isEmpty()) {
        file_.cancelWriting();
        return false;
    }
    if (file_.write(buffer_) != buffer_.size() || !file_.commit()) {
        error_ = QStringLiteral("Nelze zapsat soubor „%1“: %2")
                     .arg(file_.fileName(), file_.errorString());
        if (file_.isOpen()) file_.cancelWriting();
        return false;
    }
    buffer_.clear();
    return true;
}

} // namespace brix::formats
