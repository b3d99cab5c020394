#include "report_source.h"

#include "codec.h"
#include "formatting.h"
#include "storage_error.h"

namespace brix {

using report::TStepDir;
using report::TStepResult;

bool TableReportSource::open() {
    try {
        table_.open();
    } catch (const StorageError&) {
        return false;
    }
    return table_.active();
}

void TableReportSource::close() {
    table_.close();
}

QString TableReportSource::fieldName(int index) const {
    return valid(index) ? table_.fieldDef(index).name : QString::number(index);
}

int TableReportSource::typeCode(FieldKind kind) {
    switch (kind) {
    case FieldKind::Text:
        return report::ftString;
    case FieldKind::SmallInt:
        return report::ftSmallint;
    case FieldKind::LongInt:
        return report::ftInteger;
    case FieldKind::AutoInc:
        return report::ftAutoInc;
    case FieldKind::Float:
        return report::ftFloat;
    case FieldKind::Money:
        return report::ftCurrency;
    case FieldKind::Logical:
        return report::ftBoolean;
    case FieldKind::Date:
        return report::ftDate;
    case FieldKind::Time:
        return report::ftTime;
    case FieldKind::Timestamp:
        return report::ftDateTime;
    case FieldKind::Memo:
        return report::ftMemo;
    case FieldKind::FormattedMemo:
        return report::ftFmtMemo;
    case FieldKind::Blob:
        return report::ftBlob;
    }
    return report::ftUnknown;
}

int TableReportSource::fieldType(int index) const {
    return valid(index) ? typeCode(table_.fieldDef(index).kind) : report::ftUnknown;
}

int TableReportSource::displayWidth(int index) const {
    if (!valid(index)) return 10;
    const FieldDef& d = table_.fieldDef(index);
    return d.kind == FieldKind::Text && d.size > 0 ? d.size : 10;
}

QString TableReportSource::displayText(int index) const {
    if (!valid(index) || !table_.hasRecord()) return QString();
    try {
        return table_.field(index).asString();
    } catch (const StorageError&) {
        return QString();
    }
}

double TableReportSource::number(int index) const {
    if (!valid(index) || !table_.hasRecord()) return 0;
    try {
        const Field f = table_.field(index);
        if (f.isNull()) return 0;
        switch (f.kind()) {
        case FieldKind::SmallInt:
        case FieldKind::LongInt:
        case FieldKind::AutoInc:
            return double(f.asInteger());
        case FieldKind::Float:
            return f.asFloat();
        case FieldKind::Money:
            return f.asDecimal().toDouble();
        case FieldKind::Logical:
            return f.asBoolean() ? 1 : 0;
        case FieldKind::Date:
            return report::dayNumber(f.asDate());
        case FieldKind::Time:
            return f.asTime().msecsSinceStartOfDay() / 86400000.0;
        case FieldKind::Timestamp: {
            const QDateTime t = f.asDateTime();
            return report::dayNumber(t.date(), t.time().msecsSinceStartOfDay());
        }
        case FieldKind::Text:
            return report::lenientNumber(f.asString());
        default:
            return 0;
        }
    } catch (const StorageError&) {
        return 0;
    }
}

bool TableReportSource::isNull(int index) const {
    if (!valid(index) || !table_.hasRecord()) return false;
    try {
        return table_.field(index).isNull();
    } catch (const StorageError&) {
        return false;
    }
}

QString TableReportSource::memoText(int index) const {
    if (!valid(index) || !table_.hasRecord()) return QString();
    try {
        const Field f = table_.field(index);
        if (f.kind() == FieldKind::Blob) return decode(f.asBytes());
        return f.asString();
    } catch (const StorageError&) {
        return QString();
    }
}

QImage TableReportSource::picture(int index) const {
    if (!valid(index) || !table_.hasRecord() || table_.fieldDef(index).kind != FieldKind::Blob)
        return QImage();
    try {
        const Field f = table_.field(index);
        return f.isNull() ? QImage() : QImage::fromData(f.asBytes());
    } catch (const StorageError&) {
        return QImage();
    }
}

TStepResult TableReportSource::step(TStepDir dir) {
    try {
        switch (dir) {
        case report::sdFirst:
            table_.first();
            break;
        case report::sdLast:
            table_.last();
            break;
        case report::sdNext:
            table_.next();
            break;
        case report::sdPrior:
            table_.prior();
            break;
        }
    } catch (const StorageError&) {
        return report::srBegin | report::srEnd;
    }
    TStepResult r = 0;
    if (!table_.hasRecord()) return report::srBegin | report::srEnd;
    if (table_.bof() && dir == report::sdPrior) r |= report::srBegin;
    if (table_.eof() && dir != report::sdPrior) r |= report::srEnd;
    if (dir == report::sdFirst || dir == report::sdLast) r = 0;
    return r;
}

void TableReportSource::rememberPosition() {
    saved_ = table_.active() ? table_.bookmark() : 0;
    savedEof_ = !table_.active() || !table_.hasRecord();
}

void TableReportSource::restorePosition() {
    if (!table_.active() || savedEof_) return;
    try {
        if (table_.bookmarkValid(saved_)) table_.gotoBookmark(saved_);
    } catch (const StorageError&) {
    }
}

} // namespace brix
