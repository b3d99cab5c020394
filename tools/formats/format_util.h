#pragma once
// Helpers shared by the table file readers and writers.

#include "codec.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace brix::formats::detail {

// The path with the extension added unless it has it already (in any case).
QString withSuffix(const QString& path, const QString& suffix);
// The companion file with another extension (a memo file), found whatever the case of its
// extension; the path to create when there is none.
QString companion(const QString& path, const QString& suffix);

// The code page of a foreign table's texts: one of ours, or Latin-1 for the Western ones.
enum class TextCodepage { Cp1250, Cp852, Kamenicky, Latin1 };

inline QString decodeText(QByteArrayView bytes, TextCodepage cp) {
    switch (cp) {
    case TextCodepage::Cp1250:
        return brix::decode(bytes, brix::Codepage::Cp1250);
    case TextCodepage::Cp852:
        return brix::decode(bytes, brix::Codepage::Cp852);
    case TextCodepage::Kamenicky:
        return brix::decode(bytes, brix::Codepage::Kamenicky);
    case TextCodepage::Latin1:
        return QString::fromLatin1(bytes.data(), bytes.size());
    }
    return {};
}

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
