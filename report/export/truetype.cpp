#include "truetype.h"

#include <QtEndian>

#include <algorithm>
#include <map>

namespace brix::report {

namespace {

constexpr quint32 tag(const char (&t)[5]) {
    return (quint32(quint8(t[0])) << 24) | (quint32(quint8(t[1])) << 16) |
           (quint32(quint8(t[2])) << 8) | quint32(quint8(t[3]));
}

quint16 u16(const QByteArray& d, qsizetype at) {
    if (at < 0 || at + 2 > d.size()) return 0;
    return qFromBigEndian<quint16>(d.constData() + at);
}
quint32 u32(const QByteArray& d, qsizetype at) {
    if (at < 0 || at + 4 > d.size()) return 0;
    return qFromBigEndian<quint32>(d.constData() + at);
}
void put16(QByteArray& d, qsizetype at, quint16 v) {
    if (at >= 0 && at + 2 <= d.size()) qToBigEndian<quint16>(v, d.data() + at);
}
void put32(QByteArray& d, qsizetype at, quint32 v) {
    if (at >= 0 && at + 4 <= d.size()) qToBigEndian<quint32>(v, d.data() + at);
}
void append16(QByteArray& d, quint16 v) {
    d.append(char(v >> 8)).append(char(v & 0xFF));
}
void append32(QByteArray& d, quint32 v) {
    append16(d, quint16(v >> 16));
    append16(d, quint16(v & 0xFFFF));
}

quint32 checksum(const QByteArray& d) {
    quint32 sum = 0;
    const qsizetype n = (d.size() + 3) / 4;
    for (qsizetype i = 0; i < n; ++i) {
        quint32 v = 0;
        for (int k = 0; k < 4; ++k) {
            const qsizetype at = i * 4 + k;
            v = (v << 8) | (at < d.size() ? quint8(d[at]) : 0);
        }
        sum += v;
    }
    return sum;
}

// Flags of a composite glyph's component.
constexpr quint16 kArgsAreWords = 0x0001;
constexpr quint16 kHaveScale = 0x0008;
constexpr quint16 kMoreComponents = 0x0020;
constexpr quint16 kHaveXYScale = 0x0040;
constexpr quint16 kHaveTwoByTwo = 0x0080;

// Calls f(offset of the glyph index) for every component of a composite glyph.
template <typename F> void forEachComponent(const QByteArray& glyph, F f) {
    if (glyph.size() < 10 || qint16(u16(glyph, 0)) >= 0) return;
    qsizetype at = 10;
    for (int guard = 0; guard < 1000; ++guard) {
        if (at + 4 > glyph.size()) return;
        const quint16 flags = u16(glyph, at);
        f(at + 2);
        at += 4 + ((flags & kArgsAreWords) ? 4 : 2);
        if (flags & kHaveScale)
            at += 2;
        else if (flags & kHaveXYScale)
            at += 4;
        else if (flags & kHaveTwoByTwo)
            at += 8;
        if (!(flags & kMoreComponents)) return;
    }
}

} // namespace

TrueTypeFile::TrueTypeFile(const QByteArray& data, int faceIndex) : data_(data) {
    qsizetype dir = 0;
    if (u32(data_, 0) == tag("ttcf")) {
        const quint32 count = u32(data_, 8);
        if (faceIndex < 0 || quint32(faceIndex) >= count) return;
        dir = u32(data_, 12 + 4 * faceIndex);
    }
    const quint32 version = u32(data_, dir);
    if (version != 0x00010000 && version != tag("true")) return;
    const int numTables = u16(data_, dir + 4);
    for (int i = 0; i < numTables; ++i) {
        const qsizetype e = dir + 12 + 16 * i;
        Table t{u32(data_, e + 8), u32(data_, e + 12)};
        if (qsizetype(t.offset) + qsizetype(t.length) > data_.size()) return;
        tables_.emplace_back(u32(data_, e), t);
    }
    const QByteArray head = table(tag("head"));
    const QByteArray maxp = table(tag("maxp"));
    const QByteArray hhea = table(tag("hhea"));
    const QByteArray loca = table(tag("loca"));
    if (head.size() < 54 || maxp.size() < 6 || hhea.size() < 36 || loca.isEmpty() ||
        table(tag("glyf")).isEmpty() || table(tag("hmtx")).isEmpty())
        return;
    numGlyphs_ = u16(maxp, 4);
    numHMetrics_ = std::max<int>(1, u16(hhea, 34));
    longLoca_ = qint16(u16(head, 50)) == 1;
    loca_.resize(size_t(numGlyphs_) + 1);
    for (int g = 0; g <= numGlyphs_; ++g)
        loca_[size_t(g)] = longLoca_ ? u32(loca, 4 * g) : quint32(u16(loca, 2 * g)) * 2;
    valid_ = numGlyphs_ > 0;
}

QByteArray TrueTypeFile::table(quint32 t) const {
    for (const auto& [name, entry] : tables_)
        if (name == t) return data_.mid(entry.offset, entry.length);
    return {};
}

QByteArray TrueTypeFile::glyphData(unsigned glyph) const {
    if (glyph >= unsigned(numGlyphs_)) return {};
    const quint32 from = loca_[glyph], to = loca_[glyph + 1];
    if (to <= from) return {};
    for (const auto& [name, entry] : tables_)
        if (name == tag("glyf")) {
            if (to > entry.length) return {};
            return data_.mid(entry.offset + from, to - from);
        }
    return {};
}

QByteArray TrueTypeFile::subset(const std::vector<unsigned>& asked) const {
    if (!valid_) return {};
    // The glyph list: 0, the glyphs asked for, then the components they need (each once).
    std::vector<unsigned> source{0};
    for (unsigned g : asked)
        source.push_back(g < unsigned(numGlyphs_) ? g : 0);
    std::map<unsigned, unsigned> componentNumber;
    std::vector<QByteArray> glyphs;
    for (size_t i = 0; i < source.size() && source.size() < 0xFFFF; ++i) {
        QByteArray g = glyphData(source[i]);
        forEachComponent(g, [&](qsizetype at) {
            const unsigned c = u16(g, at);
            auto it = componentNumber.find(c);
            if (it == componentNumber.end()) {
                it = componentNumber.emplace(c, unsigned(source.size())).first;
                source.push_back(c < unsigned(numGlyphs_) ? c : 0);
            }
            put16(g, at, quint16(it->second));
        });
        glyphs.push_back(std::move(g));
    }
    const quint16 count = quint16(glyphs.size());

    QByteArray glyf, loca, hmtx;
    const QByteArray srcHmtx = table(tag("hmtx"));
    for (size_t i = 0; i < glyphs.size(); ++i) {
        append32(loca, quint32(glyf.size()));
        glyf += glyphs[i];
        while (glyf.size() % 4)
            glyf.append('\0');
        const unsigned g = source[i];
        const unsigned m = std::min<unsigned>(g, unsigned(numHMetrics_ - 1));
        const quint16 advance = u16(srcHmtx, 4 * m);
        const quint16 lsb = g < unsigned(numHMetrics_)
                                ? u16(srcHmtx, 4 * g + 2)
                                : u16(srcHmtx, 4 * numHMetrics_ + 2 * (g - numHMetrics_));
        append16(hmtx, advance);
        append16(hmtx, lsb);
    }
    append32(loca, quint32(glyf.size()));

    QByteArray head = table(tag("head"));
    put32(head, 8, 0);  // checkSumAdjustment, set below
    put16(head, 50, 1); // long offsets
    QByteArray hhea = table(tag("hhea"));
    put16(hhea, 34, count);
    QByteArray maxp = table(tag("maxp"));
    put16(maxp, 4, count);
    // A post table without glyph names.
    QByteArray post = table(tag("post")).left(32);
    if (post.size() < 32) post = QByteArray(32, '\0');
    put32(post, 0, 0x00030000);

    std::vector<std::pair<quint32, QByteArray>> out{
        {tag("OS/2"), table(tag("OS/2"))},
        {tag("cvt "), table(tag("cvt "))},
        {tag("fpgm"), table(tag("fpgm"))},
        {tag("glyf"), glyf},
        {tag("head"), head},
        {tag("hhea"), hhea},
        {tag("hmtx"), hmtx},
        {tag("loca"), loca},
        {tag("maxp"), maxp},
        {tag("post"), post},
        {tag("prep"), table(tag("prep"))},
    };
    out.erase(
        std::remove_if(out.begin(), out.end(), [](const auto& t) { return t.second.isEmpty(); }),
        out.end());
    std::sort(out.begin(), out.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });

    const quint16 numTables = quint16(out.size());
    quint16 entrySelector = 0;
    while ((2u << entrySelector) <= numTables)
        ++entrySelector;
    const quint16 searchRange = quint16(16u << entrySelector);
    QByteArray file;
    append32(file, 0x00010000);
    append16(file, numTables);
    append16(file, searchRange);
    append16(file, entrySelector);
    append16(file, quint16(numTables * 16 - searchRange));
    quint32 offset = 12 + 16 * numTables;
    qsizetype headAt = -1;
    for (const auto& [t, bytes] : out) {
        append32(file, t);
        append32(file, checksum(bytes));
        append32(file, offset);
        append32(file, quint32(bytes.size()));
        if (t == tag("head")) headAt = offset;
        offset += quint32((bytes.size() + 3) / 4 * 4);
    }
    for (const auto& [t, bytes] : out) {
        file += bytes;
        while (file.size() % 4)
            file.append('\0');
    }
    put32(file, headAt + 8, 0xB1B0AFBAu - checksum(file));
    return file;
}

} // namespace brix::report
