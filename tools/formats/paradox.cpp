#include "paradox.h"

#include "format_util.h"
#include "paradox_cipher.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <cstring>

namespace brix::formats {

using namespace detail;

namespace {

// Field types of the file.
enum : quint8 {
    PxAlpha = 0x01,
    PxDate = 0x02,
    PxShort = 0x03,
    PxLong = 0x04,
    PxCurrency = 0x05,
    PxNumber = 0x06,
    PxLogical = 0x09,
    PxMemo = 0x0C,
    PxBlob = 0x0D,
    PxFmtMemo = 0x0E,
    PxOle = 0x0F,
    PxGraphic = 0x10,
    PxTime = 0x14,
    PxTimestamp = 0x15,
    PxAutoInc = 0x16,
    PxBcd = 0x17,
    PxBytes = 0x18,
};

constexpr int kVersion = 0x0B;       // the layout of versions 5 and 7 without the long table name
constexpr int kTableNameLength = 79; // 261 in files of version 7 with long names
constexpr int kMemoBlock = 4096;
constexpr int kMemoFirstParagraph = 0x150 / 16; // after the 64 entries of a suballocated block
constexpr int kMemoSuballocLimit = 2048;
constexpr qint64 kJulianOfDayZero = 1721425; // day 1 of the file is 1 January of the year 1
constexpr double kMsPerDay = 86400000.0;

// Integers are stored big-endian with the sign bit flipped, so that they sort as bytes; all
// zero bytes are a blank.
void putInt(char* p, qint64 v, int bytes) {
    quint64 u = quint64(v) ^ (quint64(1) << (8 * bytes - 1));
    for (int i = bytes - 1; i >= 0; --i) {
        p[i] = char(u & 0xff);
        u >>= 8;
    }
}

bool isBlank(const char* p, int n) {
    for (int i = 0; i < n; ++i)
        if (p[i]) return false;
    return true;
}

qint64 getInt(const char* p, int bytes) {
    quint64 u = 0;
    for (int i = 0; i < bytes; ++i)
        u = (u << 8) | quint8(p[i]);
    u ^= quint64(1) << (8 * bytes - 1);
    if (bytes < 8 && (u & (quint64(1) << (8 * bytes - 1)))) u |= ~quint64(0) << (8 * bytes);
    return qint64(u);
}

// Doubles: big-endian, the sign bit set for positive values, all bits inverted for negative.
void putDouble(char* p, double d) {
    quint64 u;
    std::memcpy(&u, &d, 8);
    if (u & (quint64(1) << 63))
        u = ~u;
    else
        u |= quint64(1) << 63;
    for (int i = 7; i >= 0; --i) {
        p[i] = char(u & 0xff);
        u >>= 8;
    }
}

double getDouble(const char* p) {
    quint64 u = 0;
    for (int i = 0; i < 8; ++i)
        u = (u << 8) | quint8(p[i]);
    if (u & (quint64(1) << 63))
        u &= ~(quint64(1) << 63);
    else
        u = ~u;
    double d;
    std::memcpy(&d, &u, 8);
    return d;
}

// BCD: a byte of sign (0x80 positive), a set bit 0x40 and the places, then 32 digits of which
// the last `places` are the fraction; the digits of a negative number are inverted.
void putBcd(char* p, double v, int places) {
    const bool negative = v < 0;
    QByteArray digits = QByteArray::number(std::fabs(v), 'f', places);
    digits.replace('.', "");
    digits = digits.right(32).rightJustified(32, '0');
    p[0] = char((negative ? 0x00 : 0x80) | 0x40 | (places & 0x3f));
    for (int i = 0; i < 16; ++i) {
        int hi = digits[2 * i] - '0', lo = digits[2 * i + 1] - '0';
        if (negative) hi = 15 - hi, lo = 15 - lo;
        p[1 + i] = char((hi << 4) | lo);
    }
}

double getBcd(const char* p, int fieldPlaces) {
    const bool negative = !(quint8(p[0]) & 0x80);
    int places = quint8(p[0]) & 0x3f;
    if (places == 0 && fieldPlaces > 0) places = fieldPlaces;
    QByteArray digits;
    digits.reserve(33);
    for (int i = 0; i < 32; ++i) {
        int nib = (quint8(p[1 + i / 2]) >> (i % 2 ? 0 : 4)) & 0x0f;
        if (negative) nib = 15 - nib;
        if (nib > 9) nib = 0; // writers leave noise behind the significant digits
        digits.append(char('0' + nib));
    }
    if (places > 0) digits.insert(32 - std::min(places, 32), '.');
    const double v = digits.toDouble();
    return negative ? -v : v;
}

// The code page of a table that names none in its header but only its language driver (the
// name of its sort order, after the field names).
int codePageOfDriver(const QByteArray& name) {
    static const struct {
        const char* name;
        int codePage;
    } drivers[] = {
        {"ascii", 437},     {"intl", 437},      {"swedfin", 437}, {"intl850", 850},
        {"nordan", 865},    {"nordan40", 865},  {"czech", 852},   {"cskamen", 895},
        {"hun852dc", 852},  {"polish", 852},    {"slovene", 852}, {"ANSII850", 1252},
        {"DBWINUS0", 1252}, {"DBWINWE0", 1252}, {"china", 936},
    };
    for (const auto& d : drivers)
        if (name.compare(d.name, Qt::CaseInsensitive) == 0) return d.codePage;
    return 0;
}

TextCodec codecOf(int codePage, const QByteArray& driver) {
    if (codePage != 0) return TextCodec::forCodePage(codePage);
    // HP Roman-8 has no number the header could hold.
    if (driver.compare("BLROM800", Qt::CaseInsensitive) == 0)
        return TextCodec::forName("hp-roman8");
    return TextCodec::forCodePage(codePageOfDriver(driver));
}

// Dates the system can keep and show: the years 1 to 9999.
bool inCalendar(const QDate& d) {
    return d.isValid() && d.year() >= 1 && d.year() <= 9999;
}

ParadoxWriter::Column columnFor(const FieldDef& f) {
    ParadoxWriter::Column c;
    c.kind = f.kind;
    switch (f.kind) {
    case FieldKind::Text:
        c.type = PxAlpha, c.size = std::clamp(f.size, 1, 255);
        break;
    case FieldKind::Short:
        c.type = PxShort, c.size = 2;
        break;
    case FieldKind::Long:
        c.type = PxLong, c.size = 4;
        break;
    case FieldKind::AutoInc:
        c.type = PxAutoInc, c.size = 4;
        break;
    case FieldKind::Float:
        c.type = PxNumber, c.size = 8;
        break;
    case FieldKind::Money:
        c.type = PxCurrency, c.size = 8;
        break;
    case FieldKind::Bcd:
        c.type = PxBcd, c.size = 17, c.decimals = std::clamp(f.decimals, 0, 32);
        break;
    case FieldKind::Logical:
        c.type = PxLogical, c.size = 1;
        break;
    case FieldKind::Date:
        c.type = PxDate, c.size = 4;
        break;
    case FieldKind::Time:
        c.type = PxTime, c.size = 4;
        break;
    case FieldKind::Timestamp:
        c.type = PxTimestamp, c.size = 8;
        break;
    case FieldKind::Memo:
        c.type = PxMemo, c.leader = f.size > 0 ? std::min(f.size, 240) : 10;
        c.size = c.leader + 10;
        break;
    case FieldKind::FormattedMemo:
        c.type = PxFmtMemo, c.size = 10;
        break;
    case FieldKind::Blob:
        c.type = PxBlob, c.size = 10;
        break;
    case FieldKind::Graphic:
        c.type = PxGraphic, c.size = 10;
        break;
    case FieldKind::Ole:
        c.type = PxOle, c.size = 10;
        break;
    case FieldKind::Bytes:
        c.type = PxBytes, c.size = std::clamp(f.size, 1, 255);
        break;
    }
    return c;
}

} // namespace

// ---------------------------------------------------------------------------------------------

ParadoxWriter::~ParadoxWriter() {
    if (db_.isOpen()) close();
}

bool ParadoxWriter::fail(const QString& message) {
    error_ = message;
    return false;
}

bool ParadoxWriter::open(const QString& path, const QList<FieldDef>& fields) {
    error_.clear();
    fields_ = fields;
    columns_.clear();
    recordSize_ = 0;
    blocks_ = 0;
    records_ = 0;
    autoInc_ = 0;
    blockRecords_ = 0;
    memoEnd_ = 0;
    memoEntries_ = 0;
    memoBlock_.clear();
    bool hasBlobs = false;
    if (fields.isEmpty()) return fail(QStringLiteral("Tabulka Paradox musí mít aspoň jedno pole."));
    if (fields.size() > 255)
        return fail(QStringLiteral("Tabulka Paradox může mít nejvýše 255 polí."));
    int namesLength = 0;
    for (const FieldDef& f : fields) {
        Column c = columnFor(f);
        hasBlobs = hasBlobs || (c.type >= PxMemo && c.type <= PxGraphic);
        recordSize_ += c.size;
        namesLength += int(brix::encode(f.name).left(25).size()) + 1;
        columns_ << c;
    }
    blockSize_ = 4096;
    while (blockSize_ - 6 < recordSize_ && blockSize_ < 32768)
        blockSize_ *= 2;
    if (blockSize_ - 6 < recordSize_)
        return fail(
            QStringLiteral("Věta tabulky Paradox je příliš dlouhá (%1 bajtů).").arg(recordSize_));
    const int used = 0x78 + 2 * int(fields.size()) + 4 + 4 * int(fields.size()) + kTableNameLength +
                     namesLength + 2 * int(fields.size()) + 6;
    headerSize_ = (used + 0x7ff) / 0x800 * 0x800;

    const QString dbPath = withSuffix(path, QStringLiteral("db"));
    db_.setFileName(dbPath);
    if (!db_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(
            QStringLiteral("Nelze vytvořit soubor „%1“: %2").arg(dbPath, db_.errorString()));
    if (db_.write(QByteArray(headerSize_, '\0')) != headerSize_)
        return fail(QStringLiteral("Nelze zapsat soubor „%1“: %2").arg(dbPath, db_.errorString()));
    const QString mbPath = QFileInfo(dbPath).absoluteDir().filePath(
        QFileInfo(dbPath).completeBaseName() + QStringLiteral(".mb"));
    if (hasBlobs) {
        mb_.setFileName(mbPath);
        if (!mb_.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return fail(
                QStringLiteral("Nelze vytvořit soubor „%1“: %2").arg(mbPath, mb_.errorString()));
        QByteArray head(kMemoBlock, '\0');
        head[0] = 0; // header block
        putLe16(head.data() + 1, 1);
        if (mb_.write(head) != head.size())
            return fail(
                QStringLiteral("Nelze zapsat soubor „%1“: %2").arg(mbPath, mb_.errorString()));
        memoEnd_ = kMemoBlock;
    } else if (QFile::exists(mbPath)) {
        QFile::remove(mbPath);
    }
    block_ = QByteArray(blockSize_, '\0');
    return true;
}

bool ParadoxWriter::flushMemoBlock() {
    if (memoBlock_.isEmpty()) return true;
    if (!mb_.seek(memoBlockOffset_) || mb_.write(memoBlock_) != memoBlock_.size())
        return fail(
            QStringLiteral("Nelze zapsat soubor „%1“: %2").arg(mb_.fileName(), mb_.errorString()));
    memoBlock_.clear();
    return true;
}

bool ParadoxWriter::writeBlob(const QByteArray& data, char* slot, const Column& c) {
    const int len = int(data.size());
    std::memcpy(slot, data.constData(), size_t(std::min(len, c.leader)));
    char* ptr = slot + c.leader;
    putLe32(ptr + 4, quint32(len));
    if (c.type == PxMemo && len <= c.leader) return true; // wholly in the record
    quint32 offset = 0;
    if (len <= kMemoSuballocLimit) {
        const int paragraphs = std::max(1, (len + 15) / 16);
        if (memoBlock_.isEmpty() || memoEntries_ == 64 ||
            memoParagraph_ + paragraphs > kMemoBlock / 16) {
            if (!flushMemoBlock()) return false;
            memoBlock_ = QByteArray(kMemoBlock, '\0');
            memoBlock_[0] = 3;
            putLe16(memoBlock_.data() + 1, 1);
            memoBlockOffset_ = memoEnd_;
            memoEnd_ += kMemoBlock;
            memoEntries_ = 0;
            memoParagraph_ = kMemoFirstParagraph;
        }
        char* entry = memoBlock_.data() + 12 + 5 * memoEntries_;
        entry[0] = char(memoParagraph_);
        entry[1] = char(paragraphs);
        putLe16(entry + 2, 1);
        entry[4] = char(len % 16);
        std::memcpy(memoBlock_.data() + memoParagraph_ * 16, data.constData(), size_t(len));
        offset = quint32(memoBlockOffset_) | quint32(memoEntries_);
        ++memoEntries_;
        memoParagraph_ += paragraphs;
    } else {
        const int chunks = (len + 9 + kMemoBlock - 1) / kMemoBlock;
        QByteArray big(chunks * kMemoBlock, '\0');
        big[0] = 2;
        putLe16(big.data() + 1, quint32(chunks));
        putLe32(big.data() + 3, quint32(len));
        putLe16(big.data() + 7, 1);
        std::memcpy(big.data() + 9, data.constData(), size_t(len));
        if (memoEnd_ + big.size() > qint64(0xFFFFFF00))
            return fail(
                QStringLiteral("Soubor poznámek „%1“ by přesáhl 4 GB.").arg(mb_.fileName()));
        if (!mb_.seek(memoEnd_) || mb_.write(big) != big.size())
            return fail(QStringLiteral("Nelze zapsat soubor „%1“: %2")
                            .arg(mb_.fileName(), mb_.errorString()));
        offset = quint32(memoEnd_) | 0xFF;
        memoEnd_ += big.size();
    }
    putLe32(ptr, offset);
    putLe16(ptr + 8, 1);
    return true;
}

bool ParadoxWriter::flushBlock() {
    if (blockRecords_ == 0) return true;
    ++blocks_;
    putLe16(block_.data(), 0); // the next block is linked when it comes
    putLe16(block_.data() + 2, quint32(blocks_ > 1 ? blocks_ - 1 : 0));
    putLe16(block_.data() + 4, quint32((blockRecords_ - 1) * recordSize_));
    if (blocks_ > 1) {
        // Link the previous block to this one.
        char next[2];
        putLe16(next, quint32(blocks_));
        if (!db_.seek(headerSize_ + qint64(blocks_ - 2) * blockSize_) || db_.write(next, 2) != 2)
            return fail(QStringLiteral("Nelze zapsat soubor „%1“: %2")
                            .arg(db_.fileName(), db_.errorString()));
    }
    if (!db_.seek(headerSize_ + qint64(blocks_ - 1) * blockSize_) ||
        db_.write(block_) != block_.size())
        return fail(
            QStringLiteral("Nelze zapsat soubor „%1“: %2").arg(db_.fileName(), db_.errorString()));
    block_.fill('\0');
    blockRecords_ = 0;
    return true;
}

bool ParadoxWriter::append(const Record& record) {
    if (!db_.isOpen()) return fail(QStringLiteral("Tabulka Paradox není otevřená."));
    if (blocks_ >= 65535) return fail(QStringLiteral("Tabulka Paradox je plná."));
    char* rec = block_.data() + 6 + blockRecords_ * recordSize_;
    char* p = rec;
    for (int i = 0; i < columns_.size(); ++i) {
        const Column& c = columns_[i];
        const QVariant v = i < record.size() ? record[i] : QVariant();
        std::memset(p, 0, size_t(c.size));
        if (!v.isNull() && v.isValid()) {
            switch (c.type) {
            case PxAlpha: {
                const QByteArray b = brix::encode(v.toString()).left(c.size);
                std::memcpy(p, b.constData(), size_t(b.size()));
                break;
            }
            case PxBytes: {
                const QByteArray b = v.toByteArray().left(c.size);
                std::memcpy(p, b.constData(), size_t(b.size()));
                break;
            }
            case PxShort:
            case PxLong:
            case PxAutoInc: {
                const qint64 wide = v.toLongLong();
                const qint64 limit = c.type == PxShort ? 32767 : 2147483647;
                if (wide > limit || wide < -limit)
                    return fail(QStringLiteral("Hodnota %1 pole %2 je mimo rozsah celého čísla.")
                                    .arg(wide)
                                    .arg(fields_[i].name));
                if (c.type != PxAutoInc) {
                    putInt(p, wide, c.size);
                    break;
                }
                const qint32 n = qint32(wide);
                putInt(p, n, 4);
                autoInc_ = std::max(autoInc_, n);
                break;
            }
            case PxNumber:
            case PxCurrency:
                putDouble(p, v.toDouble());
                break;
            case PxBcd:
                putBcd(p, v.toDouble(), c.decimals);
                break;
            case PxLogical:
                p[0] = char(v.toBool() ? 0x81 : 0x80);
                break;
            case PxDate: {
                const QDate d = v.toDate();
                if (d.isValid()) putInt(p, d.toJulianDay() - kJulianOfDayZero, 4);
                break;
            }
            case PxTime: {
                const QTime t = v.toTime();
                if (t.isValid()) putInt(p, t.msecsSinceStartOfDay(), 4);
                break;
            }
            case PxTimestamp: {
                const QDateTime dt = v.toDateTime();
                if (dt.isValid())
                    putDouble(p, double(dt.date().toJulianDay() - kJulianOfDayZero) * kMsPerDay +
                                     dt.time().msecsSinceStartOfDay());
                break;
            }
            default: {
                const QByteArray data =
                    isBinaryKind(c.kind) ? v.toByteArray() : brix::encode(v.toString());
                if (!data.isEmpty() && !writeBlob(data, p, c)) return false;
                break;
            }
            }
        }
        p += c.size;
    }
    ++records_;
    if (++blockRecords_ * recordSize_ + recordSize_ > blockSize_ - 6) return flushBlock();
    return true;
}

bool ParadoxWriter::close() {
    if (!db_.isOpen()) return error_.isEmpty();
    bool ok = error_.isEmpty() && flushBlock();
    if (mb_.isOpen()) {
        ok = flushMemoBlock() && ok;
        mb_.close();
    }
    const int n = int(columns_.size());
    QByteArray h(headerSize_, '\0');
    char* d = h.data();
    putLe16(d + 0x00, quint32(recordSize_));
    putLe16(d + 0x02, quint32(headerSize_));
    d[0x04] = 2; // data file without a primary index
    d[0x05] = char(blockSize_ / 1024);
    putLe32(d + 0x06, records_);
    putLe16(d + 0x0A, quint32(blocks_));
    putLe16(d + 0x0C, quint32(blocks_));
    putLe16(d + 0x0E, blocks_ > 0 ? 1 : 0);
    putLe16(d + 0x10, quint32(blocks_));
    putLe16(d + 0x21, quint32(n));
    putLe32(d + 0x25, 0xff00ff00u);
    d[0x39] = char(kVersion);
    putLe16(d + 0x3A, quint32(blocks_));
    d[0x3E] = 0x1f;
    d[0x3F] = 0x0f;
    putLe32(d + 0x49, quint32(autoInc_));
    d[0x56] = 0x20;
    d[0x58] = char(kVersion);
    d[0x59] = 0x01;
    d[0x5A] = char(kVersion);
    d[0x5B] = 0x01;
    putLe32(d + 0x60, quint32(QDateTime::currentSecsSinceEpoch()));
    putLe16(d + 0x64, quint32(n + 1));
    putLe16(d + 0x66, quint32(127 + 4 * n));
    putLe16(d + 0x6A, 1250);
    d[0x6C] = 0x01;
    d[0x6D] = 0x01;
    putLe16(d + 0x6E, quint32(127 + 6 * n));
    putLe16(d + 0x70, 1);
    int pos = 0x78;
    for (const Column& c : columns_) {
        d[pos++] = char(c.type);
        d[pos++] = char(c.type == PxBcd ? c.decimals : c.size);
    }
    pos += 4 + 4 * n; // pointers of a running program
    const QByteArray tableName =
        brix::encode(QFileInfo(db_.fileName()).fileName()).left(kTableNameLength - 1);
    std::memcpy(d + pos, tableName.constData(), size_t(tableName.size()));
    pos += kTableNameLength;
    for (const FieldDef& f : fields_) {
        const QByteArray name = brix::encode(f.name).left(25);
        std::memcpy(d + pos, name.constData(), size_t(name.size()));
        pos += int(name.size()) + 1;
    }
    for (int i = 0; i < n; ++i) {
        putLe16(d + pos, quint32(i + 1));
        pos += 2;
    }
    std::memcpy(d + pos, "ascii", 5);
    pos += 6;
    putLe16(d + 0x51, quint32(pos));
    if (!db_.seek(0) || db_.write(h) != h.size())
        ok = fail(
            QStringLiteral("Nelze zapsat soubor „%1“: %2").arg(db_.fileName(), db_.errorString()));
    db_.close();
    return ok;
}

// ---------------------------------------------------------------------------------------------

bool ParadoxReader::open(const QString& path, const QString& password) {
    error_.clear();
    passwordRefused_ = false;
    key_ = 0;
    recordsRead_ = 0;
    fields_.clear();
    columns_.clear();
    path_ = path;
    blockRecords_ = blockIndex_ = 0;
    visited_.clear();
    db_.setFileName(path);
    if (!db_.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("Nelze otevřít soubor „%1“: %2").arg(path, db_.errorString());
        return false;
    }
    const auto bad = [&] {
        error_ = QStringLiteral("Soubor „%1“ není platná tabulka Paradox.").arg(path);
        db_.close();
        return false;
    };
    const QByteArray head = db_.read(0x78);
    if (head.size() < 0x58) return bad();
    const char* h = head.constData();
    recordSize_ = le16(h);
    headerSize_ = le16(h + 2);
    const int fileType = quint8(h[4]);
    blockSize_ = quint8(h[5]) * 1024;
    recordCount_ = le32(h + 6);
    fileBlocks_ = le16(h + 0x0C);
    nextBlock_ = le16(h + 0x0E);
    const int numFields = le16(h + 0x21);
    version_ = quint8(h[0x39]);
    if ((fileType != 0 && fileType != 2) || recordSize_ <= 0 || numFields <= 0 ||
        blockSize_ < 1024 || blockSize_ > 32768 || headerSize_ < 0x58)
        return bad();
    const bool dataHeader = version_ >= 5;
    if (dataHeader && head.size() < 0x78) return bad();
    // The key of a protected table: at 0x25 in the old layout; the newer one keeps a marker
    // there and the key in its extended header (some writers put the key in both places).
    quint32 key = le32(h + 0x25);
    if (dataHeader && key == 0xFF00FF00u) key = le32(h + 0x5C);
    const int namedCodePage = dataHeader ? le16(h + 0x6A) : 0;
    if (key != 0) {
        const auto refuse = [&](const QString& message) {
            error_ = message;
            passwordRefused_ = true;
            db_.close();
            return false;
        };
        if (password.isEmpty())
            return refuse(QStringLiteral("Tabulka „%1“ je chráněna heslem; bez hesla ji nelze "
                                         "přečíst.")
                              .arg(path));
        if (cipher::passwordChecksum(brix::encode(password)) != key)
            return refuse(QStringLiteral("Heslo tabulky „%1“ není správné.").arg(path));
        // Whole chunks only: a protected table's blocks are deciphered 256 bytes at a time.
        if (blockSize_ % cipher::kChunk != 0) return bad();
        key_ = key;
    }
    if (!db_.seek(0)) return bad();
    const QByteArray header = db_.read(headerSize_);
    if (header.size() < headerSize_) return bad();
    int pos = dataHeader ? 0x78 : 0x58;
    if (pos + 2 * numFields > header.size()) return bad();
    int offset = 0;
    for (int i = 0; i < numFields; ++i) {
        Column c;
        c.type = quint8(header[pos + 2 * i]);
        const int sizeByte = quint8(header[pos + 2 * i + 1]);
        c.size = c.type == PxBcd ? 17 : sizeByte;
        c.offset = offset;
        offset += c.size;
        FieldDef f;
        switch (c.type) {
        case PxAlpha:
            f.kind = FieldKind::Text, f.size = c.size;
            break;
        case PxDate:
            f.kind = FieldKind::Date;
            break;
        case PxShort:
            f.kind = FieldKind::Short;
            break;
        case PxLong:
            f.kind = FieldKind::Long;
            break;
        case PxCurrency:
            f.kind = FieldKind::Money;
            break;
        case PxNumber:
            f.kind = FieldKind::Float;
            break;
        case PxLogical:
            f.kind = FieldKind::Logical;
            break;
        case PxMemo:
            f.kind = FieldKind::Memo, f.size = c.size - 10;
            break;
        case PxBlob:
            f.kind = FieldKind::Blob, f.size = c.size - 10;
            break;
        case PxFmtMemo:
            f.kind = FieldKind::FormattedMemo, f.size = c.size - 10;
            break;
        case PxOle:
            f.kind = FieldKind::Ole, f.size = c.size - 10;
            break;
        case PxGraphic:
            f.kind = FieldKind::Graphic, f.size = c.size - 10;
            break;
        case PxTime:
            f.kind = FieldKind::Time;
            break;
        case PxTimestamp:
            f.kind = FieldKind::Timestamp;
            break;
        case PxAutoInc:
            f.kind = FieldKind::AutoInc;
            break;
        case PxBcd:
            f.kind = FieldKind::Bcd, f.decimals = sizeByte;
            break;
        case PxBytes:
            f.kind = FieldKind::Bytes, f.size = c.size;
            break;
        default:
            error_ =
                QStringLiteral("Tabulka „%1“ má pole neznámého typu %2.").arg(path).arg(c.type);
            db_.close();
            return false;
        }
        if (c.size <= 0 || (f.size < 0)) return bad();
        if (c.type >= PxMemo && c.type <= PxGraphic && c.size < 10) return bad();
        fields_ << f;
        columns_ << c;
    }
    if (offset != recordSize_) return bad();
    pos += 2 * numFields + 4 + 4 * numFields + (version_ >= 0x0C ? 261 : kTableNameLength);
    QList<QByteArray> names;
    for (int i = 0; i < numFields; ++i) {
        if (pos >= header.size()) return bad();
        const int end = int(header.indexOf('\0', pos));
        if (end < 0) return bad();
        names << header.mid(pos, end - pos);
        pos = end + 1;
    }
    // After the names: the field numbers, then the name of the sort order (language driver).
    QByteArray driver;
    pos += 2 * numFields;
    if (dataHeader && pos < header.size()) {
        const int end = int(header.indexOf('\0', pos));
        if (end > pos) driver = header.mid(pos, std::min(end - pos, 32));
    }
    codec_ = codecOf(namedCodePage, driver);
    codePage_ = codec_.codePage();
    for (int i = 0; i < numFields; ++i)
        fields_[i].name = codec_.decode(names[i]);
    bool hasBlobs = false;
    for (const Column& c : columns_)
        hasBlobs = hasBlobs || (c.type >= PxMemo && c.type <= PxGraphic);
    if (hasBlobs) {
        mb_.setFileName(companion(path, QStringLiteral("mb")));
        if (!mb_.open(QIODevice::ReadOnly)) {
            error_ = QStringLiteral("Chybí soubor poznámek „%1“ k tabulce.").arg(mb_.fileName());
            db_.close();
            return false;
        }
    }
    if (recordCount_ == 0) nextBlock_ = 0;
    return true;
}

bool ParadoxReader::loadBlock(int number) {
    if (visited_.size() < 65536) visited_.fill(false, 65536);
    if (number <= 0 || number > 65535 || visited_[number] ||
        !db_.seek(headerSize_ + qint64(number - 1) * blockSize_)) {
        error_ = QStringLiteral("Tabulka „%1“ je poškozená (chybný řetěz bloků).").arg(path_);
        return false;
    }
    visited_[number] = true;
    block_ = db_.read(blockSize_);
    if (key_ != 0) {
        if (block_.size() < blockSize_) {
            error_ =
                QStringLiteral("Tabulka „%1“ je poškozená (chybí blok %2).").arg(path_).arg(number);
            return false;
        }
        cipher::decipherBlock(block_.data(), blockSize_, key_, number);
    }
    if (block_.size() < 6) {
        error_ =
            QStringLiteral("Tabulka „%1“ je poškozená (chybí blok %2).").arg(path_).arg(number);
        return false;
    }
    nextBlock_ = le16(block_.constData());
    const qint16 last = qint16(le16(block_.constData() + 4));
    blockRecords_ = last < 0 ? 0 : last / recordSize_ + 1;
    if (6 + qint64(blockRecords_) * recordSize_ > block_.size()) {
        error_ = QStringLiteral("Tabulka „%1“ je poškozená (blok %2).").arg(path_).arg(number);
        return false;
    }
    blockIndex_ = 0;
    return true;
}

QByteArray ParadoxReader::readMemo(qint64 pos, qint64 length) {
    if (pos < 0 || length <= 0) return {};
    if (key_ == 0) {
        if (!mb_.seek(pos)) return {};
        return mb_.read(length);
    }
    // The memo file is enciphered whole, in chunks counted from its start.
    const qint64 from = pos / cipher::kChunk * cipher::kChunk;
    const qint64 to = (pos + length + cipher::kChunk - 1) / cipher::kChunk * cipher::kChunk;
    if (!mb_.seek(from)) return {};
    QByteArray span = mb_.read(to - from);
    const qint64 whole = span.size() / cipher::kChunk * cipher::kChunk;
    cipher::decipherMemo(span.data(), whole, key_);
    span.truncate(whole);
    return span.mid(pos - from, length);
}

QByteArray ParadoxReader::blob(const char* p, int size, int leader, bool* ok) {
    *ok = true;
    const char* ptr = p + leader;
    const quint32 offset = le32(ptr);
    const quint32 length = le32(ptr + 4);
    if (length == 0) return {};
    if (mb_.isOpen() && qint64(length) > mb_.size()) {
        *ok = false;
        return {};
    }
    if (offset == 0 || (offset & 0xFFFFFF00u) == 0) {
        if (length <= quint32(leader)) return QByteArray(p, int(length));
        *ok = false;
        return {};
    }
    Q_UNUSED(size);
    const qint64 blockStart = offset & 0xFFFFFF00u;
    const int index = int(offset & 0xFF);
    const QByteArray head = readMemo(blockStart, 12 + 64 * 5);
    if (head.size() < 9) {
        *ok = false;
        return {};
    }
    if (index == 0xFF) {
        if (head[0] != 2) {
            *ok = false;
            return {};
        }
        QByteArray data = readMemo(blockStart + 9, length);
        if (quint32(data.size()) != length) *ok = false;
        return data;
    }
    if (head[0] != 3 || head.size() < 12 + 5 * (index + 1)) {
        *ok = false;
        return {};
    }
    const int paragraph = quint8(head[12 + 5 * index]);
    QByteArray data = readMemo(blockStart + 16 * paragraph, length);
    if (quint32(data.size()) != length) *ok = false;
    return data;
}

QVariant ParadoxReader::value(const char* p, int field) {
    const Column& c = columns_[field];
    const FieldDef& f = fields_[field];
    switch (c.type) {
    case PxAlpha: {
        const int n = int(qstrnlen(p, size_t(c.size)));
        if (n == 0) return {};
        return codec_.decode(QByteArrayView(p, n));
    }
    case PxBytes:
        if (isBlank(p, c.size)) return {};
        return QByteArray(p, c.size);
    case PxShort:
        if (isBlank(p, 2)) return {};
        return int(getInt(p, 2));
    case PxLong:
    case PxAutoInc:
        if (isBlank(p, 4)) return {};
        return int(getInt(p, 4));
    case PxNumber:
    case PxCurrency:
        if (isBlank(p, 8)) return {};
        return getDouble(p);
    case PxBcd:
        if (quint8(p[0]) == 0) return {};
        return getBcd(p, f.decimals);
    case PxLogical:
        if (p[0] == 0) return {};
        return quint8(p[0]) == 0x81;
    case PxDate: {
        if (isBlank(p, 4)) return {};
        const QDate d = QDate::fromJulianDay(getInt(p, 4) + kJulianOfDayZero);
        if (!inCalendar(d)) return unreadable(field);
        return d;
    }
    case PxTime: {
        if (isBlank(p, 4)) return {};
        const QTime t = QTime::fromMSecsSinceStartOfDay(int(getInt(p, 4)));
        if (!t.isValid()) return unreadable(field);
        return t;
    }
    case PxTimestamp: {
        if (isBlank(p, 8)) return {};
        const double ms = getDouble(p);
        if (!std::isfinite(ms) || std::fabs(ms) > 1e18) return unreadable(field);
        const qint64 whole = qint64(std::llround(ms));
        const qint64 days = whole / 86400000;
        const int msOfDay = int(whole % 86400000);
        const QDate d = QDate::fromJulianDay(days + kJulianOfDayZero);
        const QTime t = QTime::fromMSecsSinceStartOfDay(msOfDay);
        if (!inCalendar(d) || !t.isValid()) return unreadable(field);
        return QDateTime(d, t);
    }
    default: {
        bool ok = true;
        const QByteArray data = blob(p, c.size, c.size - 10, &ok);
        if (!ok && error_.isEmpty())
            error_ = QStringLiteral("Tabulka „%1“: poznámku pole %2 nelze přečíst ze souboru „%3“.")
                         .arg(path_, f.name, mb_.fileName());
        if (data.isEmpty()) return {};
        if (isBinaryKind(f.kind)) return data;
        return codec_.decode(data);
    }
    }
}

QVariant ParadoxReader::unreadable(int field) {
    unreadable_ << field;
    return {};
}

bool ParadoxReader::next(Record* record) {
    unreadable_.clear();
    while (blockIndex_ >= blockRecords_) {
        if (!error_.isEmpty()) return false;
        if (nextBlock_ == 0) {
            // The chain ends: it must have held the records the header counts, or the table is
            // damaged (a block header or the count itself) and what was read is not all of it.
            if (recordsRead_ != recordCount_)
                error_ = QStringLiteral("Tabulka „%1“ je poškozená (záhlaví uvádí %2 vět, bloky "
                                        "jich obsahují %3).")
                             .arg(path_)
                             .arg(recordCount_)
                             .arg(recordsRead_);
            return false;
        }
        if (!loadBlock(nextBlock_)) return false;
    }
    const char* p = block_.constData() + 6 + blockIndex_ * recordSize_;
    ++blockIndex_;
    ++recordsRead_;
    record->resize(columns_.size());
    for (int i = 0; i < columns_.size(); ++i)
        (*record)[i] = value(p + columns_[i].offset, i);
    return error_.isEmpty();
}

} // namespace brix::formats
