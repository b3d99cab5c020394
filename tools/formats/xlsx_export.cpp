#include "xlsx_export.h"

#include "codec.h"

#include <QDir>
#include <QFile>

#include <xlsxwriter.h>

#include <cmath>

namespace brix::formats {

QString columnLetters(int n) {
    QString letters;
    while (n > 0) {
        const int rest = (n - 1) % 26;
        letters.prepend(QChar(u'A' + rest));
        n = (n - 1) / 26;
    }
    return letters;
}

bool readSpreadsheetFieldList(const QString& path, QStringList* names, QString* error) {
    names->clear();
    if (!QFile::exists(path)) return true;
    QStringList lines;
    if (!brix::readTextLines(path, &lines, error)) return false;
    for (const QString& line : lines)
        if (!line.trimmed().isEmpty()) *names << line.trimmed();
    return true;
}

QString uniqueWorkbookPath(const QString& dir, const QString& base) {
    QDir d(dir);
    QString path = d.filePath(base + QStringLiteral(".xlsx"));
    for (int k = 2; QFile::exists(path); ++k)
        path = d.filePath(QStringLiteral("%1_%2.xlsx").arg(base).arg(k));
    return path;
}

XlsxWriter::~XlsxWriter() {
    if (workbook_) workbook_close(workbook_);
}

bool XlsxWriter::open(const QString& path, const QList<FieldDef>& fields) {
    error_.clear();
    if (workbook_) close();
    if (fields.isEmpty()) {
        error_ = QStringLiteral("Tabulka nemá žádná pole k exportu.");
        return false;
    }
    if (fields.size() > 16384) {
        error_ = QStringLiteral("Sešit pojme nejvýše 16384 sloupců.");
        return false;
    }
    fields_ = fields;
    path_ = path;
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    const QByteArray file = QFile::encodeName(path);
    workbook_ = workbook_new_opt(file.constData(), &options);
    if (!workbook_) {
        error_ = QStringLiteral("Nelze vytvořit sešit „%1“.").arg(path);
        return false;
    }
    sheet_ = workbook_add_worksheet(workbook_, nullptr);
    numberFormat_ = workbook_add_format(workbook_);
    format_set_num_format(numberFormat_, "0.00");
    textFormat_ = workbook_add_format(workbook_);
    format_set_num_format(textFormat_, "@");
    row_ = layout_ == Layout::Dataset ? 0 : 1;
    for (int i = 0; i < fields.size(); ++i) {
        const QString label = i < labels_.size() ? labels_[i] : fields[i].name;
        worksheet_write_string(sheet_, row_, lxw_col_t(i), label.toUtf8().constData(), nullptr);
    }
    ++row_;
    return true;
}

bool XlsxWriter::append(const Record& record) {
    if (!workbook_) {
        error_ = QStringLiteral("Sešit není otevřený.");
        return false;
    }
    if (row_ >= LXW_ROW_MAX) {
        error_ = QStringLiteral("Sešit pojme nejvýše %1 řádků.").arg(LXW_ROW_MAX);
        return false;
    }
    for (int i = 0; i < fields_.size(); ++i) {
        const QVariant v = i < record.size() ? record[i] : QVariant();
        const FieldKind kind = fields_[i].kind;
        const bool number =
            kind == FieldKind::Float || kind == FieldKind::Money || kind == FieldKind::Bcd;
        if (layout_ != Layout::TableWithFieldList && number) {
            if (v.isNull() || !v.isValid()) continue;
            const double d = std::round(v.toDouble() * 100.0) / 100.0;
            if (!std::isfinite(d)) continue;
            worksheet_write_number(sheet_, row_, lxw_col_t(i), d, numberFormat_);
            continue;
        }
        const QString text = fieldText(v, kind).trimmed();
        if (text.isEmpty()) {
            if (layout_ == Layout::TableWithFieldList)
                worksheet_write_blank(sheet_, row_, lxw_col_t(i), textFormat_);
            continue;
        }
        worksheet_write_string(sheet_, row_, lxw_col_t(i), text.toUtf8().constData(),
                               layout_ == Layout::TableWithFieldList ? textFormat_ : nullptr);
    }
    ++row_;
    return true;
}

bool XlsxWriter::close() {
    if (!workbook_) return error_.isEmpty();
    const lxw_error rc = workbook_close(workbook_);
    workbook_ = nullptr;
    sheet_ = nullptr;
    if (rc != LXW_NO_ERROR) {
        error_ = QStringLiteral("Sešit „%1“ nelze zapsat: %2")
                     .arg(path_, QString::fromUtf8(lxw_strerror(rc)));
        return false;
    }
    return error_.isEmpty();
}

} // namespace brix::formats
