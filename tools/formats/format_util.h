#pragma once
// Helpers shared by the table file readers and writers.

#include "codec.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <memory>

#include <cstdint>

namespace brix::formats::detail {

// The path with the extension added unless it has it already (in any case).
QString withSuffix(const QString& path, const QString& suffix);
// The companion file with another extension (a memo file), found whatever the case of its
// extension; the path to create when there is none.
QString companion(const QString& path, const QString& suffix);

// How the texts of a foreign table are decoded. The Czech code pages (Windows-1250, 852,
// Kamenický) go through the system's own codecs; the others a table may name (437, 850, 1252,
// HP Roman-8, ...) through Qt's converters. A table that names no code page, or one that
// cannot be decoded, is read as Windows-1250.
class TextCodec {
public:
    TextCodec() = default; // Windows-1250
    // By the number of a code page (437, 852, 1250, ...; 867 and 895 are Kamenický).
    static TextCodec forCodePage(int codePage);
    // By the name a converter knows ("hp-roman8", "IBM437").
    static TextCodec forName(const char* name);

    QString decode(QByteArrayView bytes) const;
    // The code page the texts are decoded by; 0 for one known only by its name.
    int codePage() const { return codePage_; }

private:
    brix::Codepage own_ = brix::Codepage::Cp1250;
    std::shared_ptr<QStringDecoder> other_; // when set, instead of own_
    int codePage_ = 1250;
};

inline quint16 le16(const char* p) {
    return quint16(quint8(p[0]) | (quint8(p[1]) << 8));
}
inline quint32 le32(const char* p) {
    return quint32(quint8(p[0])) | (quint32(quint8(p[1])) << 8) | (quint32(quint8(p[2])) << 16) |
           (quint32(quint8(p[3])) << 24);
}
inline void putLe16(char* p, quint32 v) {
    p[0] = char(v & 0xff);
    p[1] = char((v >> 8) & 0xff);
}
inline void putLe32(char* p, quint32 v) {
    for (int i = 0; i < 4; ++i)
        p[i] = char((v >> (8 * i)) & 0xff);
}

} // namespace brix::formats::detail
