#pragma once
// A cursor of the storage engine presented through the report engine's data interface. The
// report steps the cursor itself; the position it had before a run is restored afterwards.

#include "bridge.h"
#include "table.h"

namespace brix {

class TableReportSource : public report::TBridge {
public:
    explicit TableReportSource(Table& table) : table_(table) {}

    Table& table() const { return table_; }

    bool active() const override { return table_.active(); }
    bool open() override;
    void close() override;

    int fieldCount() const override { return table_.fieldCount(); }
    QString fieldName(int index) const override;
    int fieldType(int index) const override;
    int displayWidth(int index) const override;
    QString displayText(int index) const override;
    double number(int index) const override;
    bool isNull(int index) const override;
    QString memoText(int index) const override;
    // The image a blob field holds (any format Qt reads: PNG, JPEG, BMP, ...).
    QImage picture(int index) const override;
    report::TStepResult step(report::TStepDir dir) override;
    void rememberPosition() override;
    void restorePosition() override;

    // The data contract's type code of a field kind.
    static int typeCode(FieldKind kind);

private:
    bool valid(int index) const { return index >= 0 && index < table_.fieldCount(); }
    Table& table_;
    Table::Bookmark saved_ = 0;
    bool savedEof_ = true;
};

} // namespace brix
