#include "codec.h"

#include "codec_tables.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>

#include <array>

namespace brix {

namespace {

const char16_t* upperHalf(Codepage cp) {
    switch (cp) {
    case Codepage::Cp1250:
        return codec_tables::kCp1250;
    case Codepage::Cp852:
        return codec_tables::kCp852;
    case Codepage::Kamenicky:
        return codec_tables::kKamenicky;
    case Codepage::Ascii:
        return nullptr;
    }
    return nullptr;
}

struct ReverseTable {
    QHash<char16_t, char> map;
};

const ReverseTable& reverse(Codepage cp) {
    static const std::array<ReverseTable, 4> tables = [] {
        std::array<ReverseTable, 4> t;
        for (int c = 0; c < 3; ++c) {
            const char16_t* half = upperHalf(static_cast<Codepage>(c));
            for (int i = 0; i < 128; ++i)
                if (half[i] != 0xFFFD) t[c].map.insert(half[i], static_cast<char>(0x80 + i));
        }
        return t;
    }();
    return tables[static_cast<int>(cp)];
}

// One-byte stand-ins for characters that a code page may lack.
char16_t substitute(char16_t ch) {
    switch (ch) {
    case 0x201E: // „
    case 0x201C: // “
    case 0x201D: // ”
    case 0x00AB: // «
    case 0x00BB: // »
        return u'"';
    case 0x201A: // ‚
    case 0x2018: // ‘
    case 0x2019: // ’
    case 0x2039:
    case 0x203A:
        return u'\'';
    case 0x2013: // –
    case 0x2014: // —
    case 0x2212: // minus
    case 0x00AD: // soft hyphen
        return u'-';
    case 0x00A0: // no-break space
        return u' ';
    case 0x2026: // …
        return u'.';
    case 0x00D7: // ×
        return u'x';
    case 0x2022: // •
        return u'*';
    default:
        return 0;
    }
}

bool encodeOne(char16_t ch, Codepage cp, char* out) {
    if (ch < 0x80) {
        *out = static_cast<char>(ch);
        return true;
    }
    if (cp == Codepage::Ascii) return false;
    auto it = reverse(cp).map.constFind(ch);
    if (it == reverse(cp).map.constEnd()) return false;
    *out = it.value();
    return true;
}

} // namespace

QString decode(QByteArrayView bytes, Codepage cp) {
    QString out;
    out.resize(bytes.size());
    const char16_t* t = upperHalf(cp);
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80)
            d[i] = QChar(b);
        else
            d[i] = t ? QChar(t[b - 0x80]) : QChar(0xFFFD);
    }
    return out;
}

bool canEncode(QChar ch, Codepage cp) {
    char c;
    return encodeOne(ch.unicode(), cp, &c);
}

QByteArray encode(QStringView text, Codepage cp) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t ch = text[i].unicode();
        char c;
        if (encodeOne(ch, cp, &c)) {
            out.append(c);
            continue;
        }
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size()) ++i; // one '?' for the pair
        char16_t sub = substitute(ch);
        if (sub && encodeOne(sub, cp, &c)) {
            out.append(c);
            continue;
        }
        // The letter without its diacritics: the first character of the canonical decomposition.
        QString dec = QChar(ch).decomposition();
        if (!dec.isEmpty() && QChar(ch).decompositionTag() == QChar::Canonical &&
            encodeOne(dec[0].unicode(), cp, &c)) {
            out.append(c);
            continue;
        }
        out.append('?');
    }
    return out;
}

QString decodeTextFile(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
    return decode(bytes, Codepage::Cp1250);
}

bool readTextFile(const QString& path, QString* text, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Soubor %1 nelze otevřít: %2").arg(path, f.errorString());
        return false;
    }
    *text = decodeTextFile(f.readAll());
    return true;
}

bool readTextLines(const QString& path, QStringList* lines, QString* error) {
    QString text;
    if (!readTextFile(path, &text, error)) return false;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    *lines = text.split(QLatin1Char('\n'));
    if (!lines->isEmpty() && lines->last().isEmpty()) lines->removeLast();
    return true;
}

bool writeTextFile(const QString& path, const QString& text, QString* error) {
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalized.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return writeFileWhole(path, encode(normalized, Codepage::Cp1250), error);
}

bool writeFileWhole(const QString& path, const QByteArray& bytes, QString* error) {
    // Written beside the file and renamed over it only when every byte was written; unbuffered,
    // so that a short write (a full disk, a file size limit) shows in the count written and the
    // old file stays.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error) *error = QStringLiteral("Soubor %1 nelze zapsat: %2").arg(path, f.errorString());
        return false;
    }
    if (f.write(bytes) != bytes.size() || !f.flush()) {
        if (error) *error = QStringLiteral("Soubor %1 nelze zapsat: %2").arg(path, f.errorString());
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (error) *error = QStringLiteral("Soubor %1 nelze zapsat: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

bool writeTextLines(const QString& path, const QStringList& lines, QString* error) {
    QString text;
    for (const QString& l : lines) {
        text += l;
        text += QLatin1String("\r\n");
    }
    return writeTextFile(path, text, error);
}

} // namespace brix
