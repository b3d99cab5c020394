#include "bridge.h"

#include "csv.h"
#include "decimal.h"
#include "formatting.h"

#include <QFile>

namespace brix::report {

int calcTypeOfField(int t) {
    switch (t) {
    case ftString:
    case ftWideString:
    case ftMemo:
    case ftFmtMemo:
        return TCalcType::Text;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftAutoInc:
    case ftLargeint:
        return TCalcType::Number;
    default:
        return TCalcType::Untyped;
    }
}

bool isMemoFieldType(int t) {
    return t == ftMemo || t == ftFmtMemo || t == ftBlob;
}

int TBridge::alignment(int index) const {
    return calcTypeOfField(fieldType(index)) == TCalcType::Number ? 1 : 0;
}

QString ListBridge::fieldName(int index) const {
    if (index < 0 || index >= fieldCount()) return QString::number(index);
    return columns[size_t(index)].name;
}

QString ListBridge::fieldLabel(int index) const {
    if (index < 0 || index >= fieldCount()) return QString();
    const Column& c = columns[size_t(index)];
    return c.label.isEmpty() ? c.name : c.label;
}

int ListBridge::fieldType(int index) const {
    if (index < 0 || index >= fieldCount()) return ftUnknown;
    return columns[size_t(index)].type;
}

const TCalcType* ListBridge::value(int index) const {
    if (current_ < 0 || size_t(current_) >= rows.size()) return nullptr;
    const auto& row = rows[size_t(current_)];
    if (index < 0 || size_t(index) >= row.size()) return nullptr;
    return &row[size_t(index)];
}

QString ListBridge::displayText(int index) const {
    const TCalcType* v = value(index);
    return v ? v->text : QString();
}

double ListBridge::number(int index) const {
    const TCalcType* v = value(index);
    return v ? v->number : 0.0;
}

bool ListBridge::isNull(int index) const {
    const TCalcType* v = value(index);
    return v && v->null;
}

QImage ListBridge::picture(int index) const {
    return pictures.value(qMakePair(current_, index));
}

TStepResult ListBridge::step(TStepDir dir) {
    const int n = int(rows.size());
    if (n == 0) {
        current_ = 0;
        return srBegin | srEnd;
    }
    switch (dir) {
    case sdFirst:
        current_ = 0;
        break;
    case sdLast:
        current_ = n - 1;
        break;
    case sdNext:
        if (current_ >= n - 1) {
            current_ = n - 1;
            return srEnd;
        }
        ++current_;
        break;
    case sdPrior:
        if (current_ <= 0) {
            current_ = 0;
            return srBegin;
        }
        --current_;
        break;
    }
    return 0;
}

TStepResult LinkedListBridge::step(TStepDir dir) {
    if (dir == sdFirst || dir == sdLast) {
        rows.clear();
        if (masterValue && linkField >= 0) {
            const TCalcType key = masterValue();
            for (const auto& row : allRows) {
                if (size_t(linkField) >= row.size()) continue;
                const TCalcType& v = row[size_t(linkField)];
                if (v.null || key.null) continue;
                const bool match = v.type != TCalcType::Text && key.type != TCalcType::Text
                                       ? v.number == key.number
                                       : v.text.trimmed() == key.text.trimmed();
                if (match) rows.push_back(row);
            }
        }
    }
    return ListBridge::step(dir);
}

namespace {

bool parseCell(const QString& cell, int type, TCalcType* v) {
    if (cell.isEmpty()) {
        *v = TCalcType{calcTypeOfField(type), 0.0, QString(), true};
        return true;
    }
    bool ok = false;
    switch (type) {
    case ftString:
        *v = TCalcType{TCalcType::Text, lenientNumber(cell), cell, false};
        return true;
    case ftFloat: {
        const double d = cell.toDouble(&ok);
        if (!ok) return false;
        *v = TCalcType{TCalcType::Number, d, generalText(d), false};
        return true;
    }
    case ftInteger: {
        const qlonglong n = cell.toLongLong(&ok);
        if (!ok) return false;
        *v = TCalcType{TCalcType::Number, double(n), QString::number(n), false};
        return true;
    }
    case ftCurrency: {
        const auto d = Decimal::parse(cell);
        if (!d) return false;
        *v = TCalcType{TCalcType::Number, d->toDouble(),
                       floatToText(d->toDouble(), FloatFormat::Fixed, 15, 2), false};
        return true;
    }
    case ftDate: {
        const QDate d = QDate::fromString(cell, QStringLiteral("d.M.yyyy"));
        if (!d.isValid()) return false;
        *v = TCalcType{TCalcType::Untyped, dayNumber(d), d.toString(QStringLiteral("dd.MM.yyyy")),
                       false};
        return true;
    }
    case ftBoolean: {
        const QString l = cell.toLower();
        const bool yes = QStringList{"1", "t", "true", "a", "ano", "y", "yes"}.contains(l);
        const bool no = QStringList{"0", "f", "false", "n", "ne", "no"}.contains(l);
        if (!yes && !no) return false;
        *v = TCalcType{TCalcType::Untyped, yes ? 1.0 : 0.0,
                       yes ? QStringLiteral("Ano") : QStringLiteral("Ne"), false};
        return true;
    }
    default:
        return false;
    }
}

} // namespace

bool readCsvBridge(const QString& path, ListBridge* out, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("Soubor \"%1\" nelze přečíst.").arg(path);
        return false;
    }
    QString text = QString::fromUtf8(f.readAll());
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    CsvReader reader(text);
    QStringList cells;
    out->columns.clear();
    out->rows.clear();
    if (!reader.next(cells)) {
        if (error) *error = QStringLiteral("Soubor \"%1\" nemá řádek se jmény sloupců.").arg(path);
        return false;
    }
    for (const QString& h : cells) {
        ListBridge::Column c;
        const qsizetype colon = h.lastIndexOf(QLatin1Char(':'));
        c.name = colon > 0 ? h.left(colon).trimmed() : h.trimmed();
        const QString t = colon > 0 ? h.mid(colon + 1).trimmed().toUpper() : QStringLiteral("A");
        static const QString kTypes = QStringLiteral("ANI$DL");
        static const int kCodes[] = {ftString, ftFloat, ftInteger, ftCurrency, ftDate, ftBoolean};
        const qsizetype k = t.size() == 1 ? kTypes.indexOf(t) : -1;
        if (k < 0) {
            if (error)
                *error =
                    QStringLiteral("Neznámý typ sloupce \"%1\" (povolené jsou A, N, I, $, D, L).")
                        .arg(h);
            return false;
        }
        c.type = kCodes[k];
        out->columns.push_back(c);
    }
    int line = 0;
    while (reader.next(cells, &line)) {
        if (cells.size() == 1 && cells[0].isEmpty()) continue;
        std::vector<TCalcType> row(out->columns.size());
        for (size_t i = 0; i < out->columns.size(); ++i) {
            const QString cell = qsizetype(i) < cells.size() ? cells[qsizetype(i)] : QString();
            if (!parseCell(cell, out->columns[i].type, &row[i])) {
                if (error)
                    *error = QStringLiteral(
                                 "Hodnota \"%1\" sloupce %2 na řádku %3 neodpovídá jeho typu.")
                                 .arg(cell, out->columns[i].name)
                                 .arg(line);
                return false;
            }
        }
        out->rows.push_back(std::move(row));
    }
    if (reader.malformed()) {
        if (error)
            *error = QStringLiteral("Soubor \"%1\" končí neuzavřenými uvozovkami.").arg(path);
        return false;
    }
    return true;
}

} // namespace brix::report
