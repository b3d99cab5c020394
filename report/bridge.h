#pragma once
// The data interface of the report engine. A report reaches its data only through a bridge:
// the storage engine's adapter presents a cursor through it, the list bridge serves rows held
// in memory (batch runs, tests).

#include "calctype.h"

#include <QImage>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace brix::report {

// Step directions.
enum TStepDir { sdFirst = 0, sdPrior = 1, sdNext = 2, sdLast = 3 };
// Step result bits: at the beginning of the data, past the last record; 0 = on a record.
enum TStepResultBits { srBegin = 1, srEnd = 2 };
using TStepResult = int;

// Field type codes of the data contract.
enum TFieldTypeS {
    ftUnknown = 0,
    ftString = 1,
    ftSmallint = 2,
    ftInteger = 3,
    ftWord = 4,
    ftBoolean = 5,
    ftFloat = 6,
    ftCurrency = 7,
    ftBCD = 8,
    ftDate = 9,
    ftTime = 10,
    ftDateTime = 11,
    ftAutoInc = 14,
    ftBlob = 15,
    ftMemo = 16,
    ftGraphic = 17,
    ftFmtMemo = 18,
    ftTypedBinary = 21,
    ftWideString = 24,
    ftLargeint = 25,
};
// Expression type of a field's values: 2 text, 1 number, 0 other.
int calcTypeOfField(int fieldType);
bool isMemoFieldType(int fieldType);

class TBridge {
public:
    virtual ~TBridge() = default;

    // Whether the data is open; open() tries to open it (false when it cannot).
    virtual bool active() const = 0;
    virtual bool open() { return active(); }
    virtual void close() {}

    virtual int fieldCount() const = 0;
    virtual QString fieldName(int index) const = 0;
    virtual QString fieldLabel(int index) const { return fieldName(index); }
    virtual int fieldType(int index) const = 0;
    virtual int alignment(int index) const; // numbers right, else left
    virtual int displayWidth(int index) const {
        Q_UNUSED(index);
        return 10;
    }
    virtual QString displayText(int index) const = 0;
    virtual double number(int index) const = 0;
    virtual bool isNull(int index) const = 0;
    virtual QString memoText(int index) const { return displayText(index); }
    // The picture of a graphic field or an image blob; null when the field holds none.
    virtual QImage picture(int index) const {
        Q_UNUSED(index);
        return QImage();
    }

    // Moves and returns the begin/end bits.
    virtual TStepResult step(TStepDir dir) = 0;

    // The current position, remembered before a run and restored after it.
    virtual void rememberPosition() {}
    virtual void restorePosition() {}
};

// Rows held in memory, every value given as a typed value.
class ListBridge : public TBridge {
public:
    struct Column {
        QString name;
        int type = ftString;
        QString label;
    };
    std::vector<Column> columns;
    std::vector<std::vector<TCalcType>> rows;
    // Pictures of graphic fields by row and column.
    QMap<QPair<int, int>, QImage> pictures;

    bool active() const override { return true; }
    int fieldCount() const override { return int(columns.size()); }
    QString fieldName(int index) const override;
    QString fieldLabel(int index) const override;
    int fieldType(int index) const override;
    QString displayText(int index) const override;
    double number(int index) const override;
    bool isNull(int index) const override;
    QImage picture(int index) const override;
    TStepResult step(TStepDir dir) override;
    void rememberPosition() override { saved_ = current_; }
    void restorePosition() override { current_ = saved_; }
    int current() const { return current_; }

private:
    const TCalcType* value(int index) const;
    int current_ = 0;
    int saved_ = 0;
};

// Rows of a detail that belong to the current master record: on every step to the first record
// the rows whose link field equals the master's value are chosen (numbers compare as numbers,
// anything else as trimmed text).
class LinkedListBridge : public ListBridge {
public:
    std::vector<std::vector<TCalcType>> allRows;
    int linkField = -1;
    // The master's current value of its link field.
    std::function<TCalcType()> masterValue;

    TStepResult step(TStepDir dir) override;
};

// Reads a UTF-8 CSV file whose header cells are "Name" or "Name:TYPE" (A text, N number,
// I integer, $ money, D date dd.mm.yyyy, L logical; an empty cell is null; "." decimal point).
// False with a Czech error text on a file that cannot be read or a cell that does not fit.
bool readCsvBridge(const QString& path, ListBridge* out, QString* error);

} // namespace brix::report
