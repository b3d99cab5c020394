#pragma once
// Spreadsheet exports written as .xlsx workbooks.
//
// Two layouts:
// - Dataset: row 1 the labels, from row 2 one row per record; floating-point and money values
//   rounded to two decimals as numbers with the number format "0.00" (a format "0" would show
//   a price of 297.50 as 298), other values as trimmed text.
// - Table: row 2 the labels, from row 3 one row per record. Without a field list floating-point
//   and money values are numbers of two decimals with the format "0.00", other values trimmed
//   text; with a field list every cell is trimmed text in a cell of the text format "@".
// Texts are always written as text cells, so leading zeros survive.

#include "table.h"

#include <QStringList>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace brix::formats {

// Spreadsheet column letters of the 1-based column n: 1 → "A", 26 → "Z", 27 → "AA",
// 53 → "BA", 702 → "ZZ", 703 → "AAA". Empty for n < 1.
QString columnLetters(int n);

// The field list of the table layout: one field name per line, empty lines skipped. A missing
// file gives an empty list and true.
bool readSpreadsheetFieldList(const QString& path, QStringList* names, QString* error);

// A file name in `dir` that does not exist yet: "<base>.xlsx", else "<base>_2.xlsx", ...
QString uniqueWorkbookPath(const QString& dir, const QString& base);

class XlsxWriter : public TableWriter {
public:
    enum class Layout { Dataset, Table, TableWithFieldList };

    explicit XlsxWriter(Layout layout = Layout::Dataset) : layout_(layout) {}
    ~XlsxWriter() override;
    // The labels of the first row, one per field; the field names when not given.
    void setLabels(const QStringList& labels) { labels_ = labels; }
    bool open(const QString& path, const QList<FieldDef>& fields) override;
    bool append(const Record& record) override;
    bool close() override;

private:
    Layout layout_;
    QStringList labels_;
    QList<FieldDef> fields_;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* numberFormat_ = nullptr;
    lxw_format* textFormat_ = nullptr;
    quint32 row_ = 0;
    QString path_;
};

} // namespace brix::formats
