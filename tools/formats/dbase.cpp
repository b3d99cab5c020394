#include "dbase.h"

#include "format_util.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <cmath>

namespace brix::formats {

using namespace detail;

namespace {

constexpr int kMemoBlock = 512;
constexpr char kLanguageCp1250 = char(0xC8); // language driver of Windows-1250 (Eastern Europe)

// The code page of the language driver byte of the header; 0 (Windows-1250) for none or one
// not listed.
int codePageOfDriver(quint8 driver) {
    switch (driver) {
    case 0x01:
        return 437;
    case 0x02:
        return 850;
    case 0x03:
    case 0x57:
        return 1252;
    case 0x64:
        return 852;
    case 0x65:
        return 866;
    case 0xC9:
        return 1251;
    default:
        return 0;
    }
}

DbaseWriter::Column columnFor(const FieldDef& f) {
    DbaseWriter::Column c;
    c.kind = f.kind;
    switch (f.kind) {
    case FieldKind::Text:
        c.type = 'C';
        c.length = std::clamp(f.size, 1, 254);
        break;
    case FieldKind::Short:
        c.type = 'N';
        c.length = 6;
        break;
    case FieldKind::Long:
    case FieldKind::AutoInc:
        c.type = 'N';
        c.length = 11;
        break;
    case FieldKind::Float:
        c.type = 'F';
        c.length = 20;
        c.decimals = f.decimals > 0 ? std::min(f.decimals, 15) : 6;
        break;
    case FieldKind::Money:
        c.type = 'N';
        c.length = 20;
        c.decimals = 4;
        break;
    case FieldKind::Bcd:
        c.type = 'N';
        c.length = 20;
        c.decimals = std::clamp(f.decimals, 0, 15);
        break;
    case FieldKind::Logical:
        c.type = 'L';
        c.length = 1;
        break;
    case FieldKind::Date:
        c.type = 'D';
        c.length = 8;
        break;
    case FieldKind::Time:
        c.type = 'C';
        c.length = 8;
        break;
    case FieldKind::Timestamp:
        c.type = 'C';
        c.length = 19;
        break;
    default:
        c.type = 'M';
        c.length = 10;
        break;
    }
    return c;
}

} // namespace

QStringList dbaseFieldNames(const QStringList& names) {
    QStringList result;
    QSet<QString> used;
    for (const QString& name : names) {
        QString candidate = name.left(10);
        for (int k = 1; used.contains(candidate.toUpper()); ++k) {
            const QString digits = QString::number(k);
            candidate = name.left(10 - digits.size()) + digits;
        }
        used.insert(candidate.toUpper());
        result << candidate;
    }
    return result;
}

DbaseWriter::~DbaseWriter() {
    if (dbf_.isOpen()) close();
}

bool DbaseWriter::fail(const QString& message) {
    error_ = message;
    return false;
}

bool DbaseWriter::open(const QString& path, const QList<FieldDef>& fields) {
    error_.clear();
    const QString dbfPath = withSuffix(path, QStringLiteral("dbf"));
    fields_ = fields;
    columns_.clear();
    recordSize_ = 1;
    records_ = 0;
    nextMemoBlock_ = 1;
    hasMemo_ = false;

    QStringList names;
    for (const FieldDef& f : fields)
        names << f.name;
    const QStringList shortNames = dbaseFieldNames(names);
    QStringList mapping;
    for (int i = 0; i < fields.size(); ++i) {
        Column c = columnFor(fields[i]);
        c.name = brix::encode(shortNames[i]).left(10);
        if (shortNames[i] != names[i]) mapping << shortNames[i] + QLatin1Char(';') + names[i];
        hasMemo_ = hasMemo_ || c.type == 'M';
        recordSize_ += c.length;
        columns_ << c;
    }
    if (recordSize_ > 65535) return fail(QStringLiteral("Věta tabulky DBase je příliš dlouhá."));

    // The names of the renamed fields, beside the table; a stale list of an earlier export goes.
    const QFileInfo fi(dbfPath);
    const QString namesPath =
        fi.absoluteDir().filePath(fi.completeBaseName() + QStringLiteral("_names.txt"));
    if (!mapping.isEmpty()) {
        QString err;
        if (!brix::writeTextLines(namesPath, mapping, &err)) return fail(err);
    } else if (QFile::exists(namesPath)) {
        QFile::remove(namesPath);
    }

    dbf_.setFileName(dbfPath);
    if (!dbf_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(
            QStringLiteral("Nelze vytvořit soubor „%1“: %2").arg(dbfPath, dbf_.errorString()));

    QByteArray header(32 + 32 * columns_.size() + 1, '\0');
    for (int i = 0; i < columns_.size(); ++i) {
        char* d = header.data() + 32 + 32 * i;
        const Column& c = columns_[i];
        memcpy(d, c.name.constData(), size_t(c.name.size()));
        d[11] = c.type;
        d[16] = char(c.length);
        d[17] = char(c.decimals);
    }
    header[header.size() - 1] = 0x0D;
    if (dbf_.write(header) != header.size())
        return fail(
            QStringLiteral("Nelze zapsat soubor „%1“: %2").arg(dbfPath, dbf_.errorString()));

    const QString dbtPath =
        fi.absoluteDir().filePath(fi.completeBaseName() + QStringLiteral(".dbt"));
    if (hasMemo_) {
        dbt_.setFileName(dbtPath);
        if (!dbt_.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return fail(
                QStringLiteral("Nelze vytvořit soubor „%1“: %2").arg(dbtPath, dbt_.errorString()));
        QByteArray head(kMemoBlock, '\0');
        const QByteArray base = brix::encode(fi.completeBaseName()).left(8);
        memcpy(head.data() + 8, base.constData(), size_t(base.size()));
        head[18] = 0x02;
        head[19] = 0x01;
        putLe16(head.data() + 20, kMemoBlock);
        if (dbt_.write(head) != head.size())
            return fail(
                QStringLiteral("Nelze zapsat soubor „%1“: %2").arg(dbtPath, dbt_.errorString()));
    } else if (QFile::exists(dbtPath)) {
        QFile::remove(dbtPath);
    }
    buffer_.reserve(recordSize_ * 256);
    return true;
}

bool DbaseWriter::writeMemo(const QByteArray& data, QByteArray* pointer) {
    QByteArray block(8, '\0');
    block[0] = char(0xFF);
    block[1] = char(0xFF);
    block[2] = 0x08;
    putLe32(block.data() + 4, quint32(data.size() + 8));
    block += data;
    const int blocks = (int(block.size()) + kMemoBlock - 1) / kMemoBlock;
    block.resize(blocks * kMemoBlock, '\0');
    if (dbt_.write(block) != block.size())
        return fail(QStringLiteral("Nelze zapsat soubor „%1“: %2")
                        .arg(dbt_.fileName(), dbt_.errorString()));
    *pointer = QByteArray::number(nextMemoBlock_).rightJustified(10, ' ');
    nextMemoBlock_ += quint32(blocks);
    return true;
}

bool DbaseWriter::append(const Record& record) {
    if (!dbf_.isOpen()) return fail(QStringLiteral("Tabulka DBase není otevřená."));
    const qsizetype start = buffer_.size();
    buffer_.append(' ');
    for (int i = 0; i < columns_.size(); ++i) {
        const Column& c = columns_[i];
        const QVariant v = i < record.size() ? record[i] : QVariant();
        QByteArray cell;
        if (!v.isNull() && v.isValid()) {
            switch (c.type) {
            case 'C':
                if (c.kind == FieldKind::Time)
                    cell = v.toTime().toString(QStringLiteral("hh:mm:ss")).toLatin1();
                else if (c.kind == FieldKind::Timestamp)
                    cell =
                        v.toDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")).toLatin1();
                else
                    cell = brix::encode(v.toString()).left(c.length);
                cell = cell.leftJustified(c.length, ' ', true);
                break;
            case 'N':
            case 'F': {
                if (c.decimals == 0 && c.kind != FieldKind::Float)
                    cell = QByteArray::number(v.toLongLong());
                else {
                    const double d = v.toDouble();
                    if (!std::isfinite(d))
                        return fail(
                            QStringLiteral("Pole %1: hodnota není číslo.").arg(fields_[i].name));
                    cell = QByteArray::number(d, 'f', c.decimals);
                }
                if (cell.size() > c.length)
                    return fail(QStringLiteral("Hodnota %1 pole %2 se nevejde do %3 znaků.")
                                    .arg(QString::fromLatin1(cell), fields_[i].name)
                                    .arg(c.length));
                cell = cell.rightJustified(c.length, ' ');
                break;
            }
            case 'L':
                cell = v.toBool() ? "T" : "F";
                break;
            case 'D': {
                const QDate d = v.toDate();
                cell = d.isValid() ? d.toString(QStringLiteral("yyyyMMdd")).toLatin1()
                                   : QByteArray(8, ' ');
                break;
            }
            case 'M': {
                const QByteArray data =
                    isBinaryKind(c.kind) ? v.toByteArray() : brix::encode(v.toString());
                if (data.isEmpty())
                    cell = QByteArray(10, ' ');
                else if (!writeMemo(data, &cell)) {
                    buffer_.truncate(start);
                    return false;
                }
                break;
            }
            }
        }
        if (cell.isEmpty()) cell = QByteArray(c.length, ' ');
        buffer_.append(cell);
    }
    ++records_;
    if (buffer_.size() >= recordSize_ * 255) {
        if (dbf_.write(buffer_) != buffer_.size())
            return fail(QStringLiteral("Nelze zapsat soubor „%1“: %2")
                            .arg(dbf_.fileName(), dbf_.errorString()));
        buffer_.clear();
    }
    return true;
}

bool DbaseWriter::close() {
    if (!dbf_.isOpen()) return error_.isEmpty();
    bool ok = error_.isEmpty();
    buffer_.append(char(0x1A));
    if (dbf_.write(buffer_) != buffer_.size())
        ok = fail(QStringLiteral("Nelze zapsat soubor „%1“: %2")
                      .arg(dbf_.fileName(), dbf_.errorString()));
    buffer_.clear();
    char head[32] = {};
    head[0] = hasMemo_ ? char(0x8B) : char(0x03);
    const QDate today = QDate::currentDate();
    head[1] = char(today.year() - 1900);
    head[2] = char(today.month());
    head[3] = char(today.day());
    putLe32(head + 4, records_);
    putLe16(head + 8, quint32(32 + 32 * columns_.size() + 1));
    putLe16(head + 10, quint32(recordSize_));
    head[29] = kLanguageCp1250;
    if (!dbf_.seek(0) || dbf_.write(head, 32) != 32)
        ok = fail(QStringLiteral("Nelze zapsat soubor „%1“: %2")
                      .arg(dbf_.fileName(), dbf_.errorString()));
    dbf_.close();
    if (dbt_.isOpen()) {
        char next[4];
        putLe32(next, nextMemoBlock_);
        if (!dbt_.seek(0) || dbt_.write(next, 4) != 4)
            ok = fail(QStringLiteral("Nelze zapsat soubor „%1“: %2")
                          .arg(dbt_.fileName(), dbt_.errorString()));
        dbt_.close();
    }
    return ok;
}

// ---------------------------------------------------------------------------------------------

bool DbaseReader::open(const QString& path, const QString&) {
    error_.clear();
    fields_.clear();
    columns_.clear();
    index_ = 0;
    path_ = path;
    dbf_.setFileName(path);
    if (!dbf_.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("Nelze otevřít soubor „%1“: %2").arg(path, dbf_.errorString());
        return false;
    }
    const QByteArray head = dbf_.read(32);
    const auto bad = [&] {
        error_ = QStringLiteral("Soubor „%1“ není platná tabulka DBase.").arg(path);
        dbf_.close();
        return false;
    };
    if (head.size() < 32) return bad();
    const quint8 version = quint8(head[0]);
    if ((version & 0x07) != 0x03 && version != 0x30 && version != 0x31) return bad();
    recordCount_ = le32(head.constData() + 4);
    const int headerSize = le16(head.constData() + 8);
    recordSize_ = le16(head.constData() + 10);
    codec_ = TextCodec::forCodePage(codePageOfDriver(quint8(head[29])));
    if (headerSize < 33 || recordSize_ < 1) return bad();
    const QByteArray desc = dbf_.read(headerSize - 32);
    int offset = 1;
    bool hasMemo = false;
    for (int pos = 0; pos + 32 <= desc.size() && desc[pos] != 0x0D; pos += 32) {
        const char* d = desc.constData() + pos;
        Column c;
        c.type = d[11];
        c.length = quint8(d[16]);
        c.decimals = quint8(d[17]);
        c.offset = offset;
        offset += c.length;
        FieldDef f;
        f.name = codec_.decode(QByteArrayView(d, qstrnlen(d, 11)));
        switch (c.type) {
        case 'C':
            f.kind = FieldKind::Text, f.size = c.length;
            break;
        case 'N':
        case 'F':
            if (c.decimals == 0 && c.length <= 11 && c.type == 'N')
                f.kind = FieldKind::Long;
            else
                f.kind = FieldKind::Float, f.size = c.length, f.decimals = c.decimals;
            break;
        case 'L':
            f.kind = FieldKind::Logical;
            break;
        case 'D':
            f.kind = FieldKind::Date;
            break;
        case 'M':
            f.kind = FieldKind::Memo, hasMemo = true;
            break;
        default:
            f.kind = FieldKind::Text, f.size = c.length;
            break;
        }
        fields_ << f;
        columns_ << c;
    }
    if (fields_.isEmpty() || offset > recordSize_) return bad();
    if (!dbf_.seek(headerSize)) return bad();
    if (hasMemo) {
        dbt_.setFileName(companion(path, QStringLiteral("dbt")));
        if (!dbt_.open(QIODevice::ReadOnly)) {
            error_ = QStringLiteral("Chybí soubor poznámek „%1“ k tabulce.").arg(dbt_.fileName());
            dbf_.close();
            return false;
        }
        const QByteArray mh = dbt_.read(32);
        dbaseIvMemo_ = version == 0x8B || version == 0x8E || version == 0x7B;
        memoBlockSize_ = 512;
        if (dbaseIvMemo_ && mh.size() >= 22) {
            const int bs = le16(mh.constData() + 20);
            if (bs >= 64) memoBlockSize_ = bs;
        }
    }
    return true;
}

QVariant DbaseReader::memo(const QByteArray& pointer, FieldKind) {
    bool ok = false;
    const qint64 block = pointer.trimmed().toLongLong(&ok);
    if (!ok || block <= 0) return {};
    if (!dbt_.seek(block * memoBlockSize_)) return {};
    QByteArray data;
    const QByteArray head = dbt_.peek(8);
    if (head.size() == 8 && quint8(head[0]) == 0xFF && quint8(head[1]) == 0xFF && head[2] == 0x08) {
        const quint32 len = le32(head.constData() + 4);
        dbt_.read(8);
        if (len < 8 || qint64(len) > dbt_.size()) return {};
        data = dbt_.read(len - 8);
    } else {
        // dBASE III memo: up to the end marker.
        while (!dbt_.atEnd()) {
            const QByteArray chunk = dbt_.read(512);
            const int end = chunk.indexOf("\x1a\x1a");
            if (end >= 0) {
                data += chunk.left(end);
                break;
            }
            data += chunk;
        }
    }
    if (data.isEmpty()) return {};
    return codec_.decode(data);
}

bool DbaseReader::next(Record* record) {
    for (;;) {
        if (index_ >= recordCount_) return false;
        const QByteArray raw = dbf_.read(recordSize_);
        if (raw.size() < recordSize_) {
            if (!raw.isEmpty() && raw[0] != 0x1A)
                error_ = QStringLiteral("Tabulka „%1“ je poškozená (neúplná věta).").arg(path_);
            return false;
        }
        ++index_;
        if (raw[0] == '*') continue;
        record->resize(columns_.size());
        for (int i = 0; i < columns_.size(); ++i) {
            const Column& c = columns_[i];
            const QByteArray cell = QByteArray::fromRawData(raw.constData() + c.offset, c.length);
            QVariant v;
            switch (fields_[i].kind) {
            case FieldKind::Text: {
                int n = int(cell.size());
                while (n > 0 && (cell[n - 1] == ' ' || cell[n - 1] == '\0'))
                    --n;
                if (n > 0) v = codec_.decode(QByteArrayView(cell.constData(), n));
                break;
            }
            case FieldKind::Long: {
                bool ok = false;
                const qint64 n = cell.trimmed().toLongLong(&ok);
                if (ok) v = (n >= INT32_MIN && n <= INT32_MAX) ? QVariant(int(n)) : QVariant(n);
                break;
            }
            case FieldKind::Float: {
                bool ok = false;
                const double d = cell.trimmed().toDouble(&ok);
                if (ok) v = d;
                break;
            }
            case FieldKind::Logical: {
                const char ch = cell.isEmpty() ? ' ' : cell[0];
                if (ch == 'T' || ch == 't' || ch == 'Y' || ch == 'y') v = true;
                if (ch == 'F' || ch == 'f' || ch == 'N' || ch == 'n') v = false;
                break;
            }
            case FieldKind::Date: {
                const QDate d =
                    QDate::fromString(QString::fromLatin1(cell), QStringLiteral("yyyyMMdd"));
                if (d.isValid()) v = d;
                break;
            }
            case FieldKind::Memo:
                v = memo(cell, FieldKind::Memo);
                break;
            default:
                break;
            }
            (*record)[i] = v;
        }
        return true;
    }
}

} // namespace brix::formats
