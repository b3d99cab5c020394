#include "barcode_decoder.h"

#include "barcode.h"

#include <QHash>

#include <cmath>
#include <map>
#include <set>

namespace brix::test {

using namespace brix::report;

const char* const kStandardEanL[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                       "0110001", "0101111", "0111011", "0110111", "0001011"};
const char* const kStandardEanG[10] = {"0100111", "0110011", "0011011", "0100001", "0011101",
                                       "0111001", "0000101", "0010001", "0001001", "0010111"};
const char* const kStandardEanR[10] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                                       "1001110", "1010000", "1000100", "1001000", "1110100"};

const char* const kStandardEan13Parity[10] = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                                              "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};
const char* const kStandardUpceParity[10] = {"GGGLLL", "GGLGLL", "GGLLGL", "GGLLLG", "GLGGLL",
                                             "GLLGGL", "GLLLGG", "GLGLGL", "GLGLLG", "GLLGLG"};
const char* const kStandardSupp5Parity[10] = {"GGLLL", "GLGLL", "GLLGL", "GLLLG", "LGGLL",
                                              "LLGGL", "LLLGG", "LGLGL", "LGLLG", "LLGLG"};
const char* const kStandardSupp2Parity[4] = {"LL", "LG", "GL", "GG"};

namespace {

bool darkAt(const QImage& img, int x, int y) {
    return qGray(img.pixel(x, y)) < 128;
}

std::vector<int> runsOf(const std::vector<bool>& line) {
    std::vector<int> runs;
    size_t first = 0, last = line.size();
    while (first < line.size() && !line[first])
        ++first;
    while (last > first && !line[last - 1])
        --last;
    for (size_t i = first; i < last;) {
        size_t j = i;
        while (j < last && line[j] == line[i])
            ++j;
        runs.push_back(int(j - i));
        i = j;
    }
    return runs;
}

// Widths in modules (1 to 4).
std::vector<int> modules(const std::vector<int>& runs, int module) {
    std::vector<int> m;
    for (int r : runs)
        m.push_back(int(std::lround(double(r) / module)));
    return m;
}

// Narrow (0) or wide (1) elements for a wide width of `wide` pixels.
std::vector<int> narrowWide(const std::vector<int>& runs, int module, int wide) {
    std::vector<int> w;
    for (int r : runs)
        w.push_back(2 * r > module + wide ? 1 : 0);
    return w;
}

QString moduleText(const std::vector<int>& widths, size_t from, size_t count, bool startDark) {
    QString s;
    bool dark = startDark;
    for (size_t i = from; i < from + count; ++i) {
        s += QString(widths[i], dark ? u'1' : u'0');
        dark = !dark;
    }
    return s;
}

bool equalRuns(const std::vector<int>& m, size_t at, std::initializer_list<int> expected) {
    if (at + expected.size() > m.size()) return false;
    size_t i = at;
    for (int e : expected)
        if (m[i++] != e) return false;
    return true;
}

// ---- EAN and UPC ------------------------------------------------------------------------

// A digit of the left half: its value and parity ('L' or 'G'); -1 when none matches.
int leftDigit(const QString& mods, char* parity) {
    for (int d = 0; d < 10; ++d) {
        if (mods == QLatin1String(kStandardEanL[d])) {
            *parity = 'L';
            return d;
        }
        if (mods == QLatin1String(kStandardEanG[d])) {
            *parity = 'G';
            return d;
        }
    }
    return -1;
}
int rightDigit(const QString& mods) {
    for (int d = 0; d < 10; ++d)
        if (mods == QLatin1String(kStandardEanR[d])) return d;
    return -1;
}

bool validEanCheck(const QString& digits) {
    int sum = 0;
    for (qsizetype i = 0; i < digits.size(); ++i)
        sum += (digits[i].unicode() - u'0') * ((digits.size() - i) % 2 == 0 ? 3 : 1);
    return sum % 10 == 0;
}

QString decodeEan(int type, const std::vector<int>& m) {
    const int half = type == bcEAN8 ? 4 : 6;
    if (m.size() != size_t(3 + 8 * half + 5 + 3)) return {};
    if (!equalRuns(m, 0, {1, 1, 1}) || !equalRuns(m, 3 + 4 * half, {1, 1, 1, 1, 1}) ||
        !equalRuns(m, m.size() - 3, {1, 1, 1}))
        return {};
    QString digits, parity;
    for (int i = 0; i < half; ++i) {
        char p = 0;
        const int d = leftDigit(moduleText(m, size_t(3 + 4 * i), 4, false), &p);
        if (d < 0) return {};
        digits += QChar(u'0' + d);
        parity += QLatin1Char(p);
    }
    for (int i = 0; i < half; ++i) {
        const int d = rightDigit(moduleText(m, size_t(3 + 4 * half + 5 + 4 * i), 4, true));
        if (d < 0) return {};
        digits += QChar(u'0' + d);
    }
    if (type == bcEAN13) {
        int first = -1;
        for (int d = 0; d < 10; ++d)
            if (parity == QLatin1String(kStandardEan13Parity[d])) first = d;
        if (first < 0) return {};
        digits.prepend(QChar(u'0' + first));
    } else if (parity != QString(half, u'L')) {
        return {};
    }
    return validEanCheck(digits) ? digits : QString();
}

// UPC-E: six digits whose parities give the number system and the check digit.
QString decodeUpce(int type, const std::vector<int>& m) {
    if (m.size() != 3 + 24 + 6 || !equalRuns(m, 0, {1, 1, 1}) ||
        !equalRuns(m, 27, {1, 1, 1, 1, 1, 1}))
        return {};
    QString digits, parity;
    for (int i = 0; i < 6; ++i) {
        char p = 0;
        const int d = leftDigit(moduleText(m, size_t(3 + 4 * i), 4, false), &p);
        if (d < 0) return {};
        digits += QChar(u'0' + d);
        parity += QLatin1Char(p);
    }
    // Number system 0: even (G) parity where the check digit's pattern says so.
    const char* const* kNs0 = kStandardUpceParity;
    for (int check = 0; check < 10; ++check) {
        QString inverse = QString::fromLatin1(kNs0[check]);
        for (QChar& c : inverse)
            c = c == u'L' ? u'G' : u'L';
        const bool ns0 = parity == QLatin1String(kNs0[check]);
        const bool ns1 = parity == inverse;
        if ((ns0 && type == bcUPCE0) || (ns1 && type == bcUPCE1))
            return digits + QChar(u'0' + check);
    }
    return {};
}

QString decodeSupplement(int type, const std::vector<int>& m) {
    const int n = type == bcUPCSupp5 ? 5 : 2;
    if (m.size() != size_t(3 + 4 * n + 2 * (n - 1)) || !equalRuns(m, 0, {1, 1, 2})) return {};
    QString digits, parity;
    size_t at = 3;
    for (int i = 0; i < n; ++i) {
        if (i > 0) {
            if (!equalRuns(m, at, {1, 1})) return {};
            at += 2;
        }
        char p = 0;
        const int d = leftDigit(moduleText(m, at, 4, false), &p);
        if (d < 0) return {};
        digits += QChar(u'0' + d);
        parity += QLatin1Char(p);
        at += 4;
    }
    // The parities carry the supplement's check: value mod 4, or weights 3 and 9.
    QString want;
    if (n == 2) {
        want = QString::fromLatin1(kStandardSupp2Parity[digits.toInt() % 4]);
    } else {
        int sum = 0;
        for (int i = 0; i < 5; ++i)
            sum += (digits[i].unicode() - u'0') * (i % 2 == 0 ? 3 : 9);
        want = QString::fromLatin1(kStandardSupp5Parity[sum % 10]);
    }
    return parity == want ? digits : QString();
}

// ---- 2/5, MSI -------------------------------------------------------------------------

// A digit of five narrow/wide elements by the weights 1, 2, 4, 7 (0 is 4 + 7); -1 unless
// exactly two are wide.
int twoOfFive(const std::vector<int>& w, size_t at, size_t stride) {
    static const int kWeights[4] = {1, 2, 4, 7};
    int wide = 0, value = 0;
    for (int k = 0; k < 5; ++k) {
        if (w[at + size_t(k) * stride]) {
            ++wide;
            if (k < 4) value += kWeights[k];
        }
    }
    if (wide != 2) return -1;
    if (value == 11) return 0;
    return value <= 9 ? value : -1;
}

QString decode2of5(int type, const std::vector<int>& runs, int module) {
    const int wide = int(std::lround(module * (type == bc2of5Matrix ? 2.25 : 2.0)));
    const std::vector<int> w = narrowWide(runs, module, wide);
    QString digits;
    auto isSeq = [&](size_t at, std::initializer_list<int> e) {
        if (at + e.size() > w.size()) return false;
        size_t i = at;
        for (int v : e)
            if (w[i++] != v) return false;
        return true;
    };
    if (type == bc2of5Interleaved) {
        if (!isSeq(0, {0, 0, 0, 0}) || !isSeq(w.size() - 3, {1, 0, 0})) return {};
        const size_t body = w.size() - 7;
        if (body % 10) return {};
        for (size_t at = 4; at + 10 <= w.size() - 3; at += 10) {
            const int a = twoOfFive(w, at, 2), b = twoOfFive(w, at + 1, 2);
            if (a < 0 || b < 0) return {};
            digits += QChar(u'0' + a);
            digits += QChar(u'0' + b);
        }
    } else if (type == bc2of5Industrial) {
        // Bars only; every space narrow.
        std::vector<int> bars;
        for (size_t i = 0; i < w.size(); ++i) {
            if (i % 2 == 1 && w[i]) return {};
            if (i % 2 == 0) bars.push_back(w[i]);
        }
        if (bars.size() < 6 || (bars.size() - 6) % 5) return {};
        if (!(bars[0] && bars[1] && !bars[2]) ||
            !(bars[bars.size() - 3] && !bars[bars.size() - 2] && bars.back()))
            return {};
        for (size_t at = 3; at + 5 <= bars.size() - 3; at += 5) {
            const int d = twoOfFive(bars, at, 1);
            if (d < 0) return {};
            digits += QChar(u'0' + d);
        }
    } else {
        // Matrix: start and stop "wide bar, four narrow"; each digit five elements and a gap.
        if (w.size() < 11 || (w.size() - 11) % 6) return {};
        if (!isSeq(0, {1, 0, 0, 0, 0, 0}) || !isSeq(w.size() - 5, {1, 0, 0, 0, 0})) return {};
        for (size_t at = 6; at + 6 <= w.size() - 5; at += 6) {
            const int d = twoOfFive(w, at, 1);
            if (d < 0 || w[at + 5]) return {};
            digits += QChar(u'0' + d);
        }
    }
    return digits;
}

QString decodeMsi(const std::vector<int>& runs, int module) {
    const std::vector<int> m = modules(runs, module);
    if (m.size() < 5 || !equalRuns(m, 0, {2, 1}) || !equalRuns(m, m.size() - 3, {1, 2, 1}))
        return {};
    const size_t bits = (m.size() - 5) / 2;
    if ((m.size() - 5) % 2 || bits % 4) return {};
    QString digits;
    for (size_t d = 0; d < bits / 4; ++d) {
        int value = 0;
        for (size_t b = 0; b < 4; ++b) {
            const size_t at = 2 + 2 * (4 * d + b);
            const bool one = m[at] == 2 && m[at + 1] == 1;
            const bool zero = m[at] == 1 && m[at + 1] == 2;
            if (!one && !zero) return {};
            value = value * 2 + (one ? 1 : 0);
        }
        if (value > 9) return {};
        digits += QChar(u'0' + value);
    }
    return digits;
}

// ---- Code 39, Code 93, Code 128, Codabar ------------------------------------------------

// A pattern of width classes as a key.
QString key(const std::vector<int>& widths, size_t at, size_t n) {
    QString k;
    for (size_t i = at; i < at + n && i < widths.size(); ++i)
        k += QChar(u'0' + widths[i]);
    return k;
}
QString key(const std::vector<BarElement>& e, size_t at, size_t n) {
    QString k;
    for (size_t i = at; i < at + n && i < e.size(); ++i)
        k += QChar(u'0' + e[i].width);
    return k;
}

// The data characters of full-ASCII Code 39 pairs: $, %, / and + with a letter.
QString fullAscii(const QString& pairs, bool* ok) {
    QString out;
    *ok = true;
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        const QChar c = pairs[i];
        if (c != u'$' && c != u'%' && c != u'/' && c != u'+') {
            out += c;
            continue;
        }
        if (++i >= pairs.size()) {
            *ok = false;
            return {};
        }
        const int l = pairs[i].unicode();
        int v = -1;
        if (c == u'$' && l >= 'A' && l <= 'Z') v = l - 'A' + 1;
        if (c == u'+' && l >= 'A' && l <= 'Z') v = l - 'A' + 'a';
        if (c == u'/' && l >= 'A' && l <= 'L') v = l - 'A' + '!';
        if (c == u'/' && l == 'O') v = '/';
        if (c == u'/' && l == 'Z') v = ':';
        if (c == u'%') {
            if (l >= 'A' && l <= 'E') v = l - 'A' + 27;
            if (l >= 'F' && l <= 'J') v = l - 'F' + ';';
            if (l >= 'K' && l <= 'O') v = l - 'K' + '[';
            if (l >= 'P' && l <= 'T') v = l - 'P' + '{';
            if (l == 'U') v = 0;
            if (l == 'V') v = '@';
            if (l == 'W') v = '`';
        }
        if (v < 0) {
            *ok = false;
            return {};
        }
        out += QChar(v);
    }
    return out;
}

const QString kCode39Chars = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%");

QString decodeCode39(int type, const std::vector<int>& runs, int module) {
    // The patterns of the characters, from one-character symbols: start, gap, the character.
    static const QHash<QString, QChar> patterns = [] {
        QHash<QString, QChar> p;
        for (QChar c : kCode39Chars) {
            const BarcodeSymbol s = encodeBarcode(bcCode39, QString(c), false);
            p.insert(key(s.elements, 10, 9), c);
            p.insert(key(s.elements, 0, 9), u'*');
        }
        return p;
    }();
    std::vector<int> w = narrowWide(runs, module, 2 * module);
    for (int& v : w)
        ++v;
    if ((w.size() + 1) % 10) return {};
    QString chars;
    for (size_t at = 0; at < w.size(); at += 10) {
        if (at + 9 < w.size() && w[at + 9] != 1) return {};
        const auto it = patterns.find(key(w, at, 9));
        if (it == patterns.end()) return {};
        chars += *it;
    }
    if (chars.size() < 2 || chars.front() != u'*' || chars.back() != u'*') return {};
    chars = chars.mid(1, chars.size() - 2);
    if (type == bcCode39Full) {
        bool ok = false;
        chars = fullAscii(chars, &ok);
        if (!ok) return {};
    }
    return chars;
}

QString decodeCode93(int type, const std::vector<int>& runs, int module) {
    // Values 0 to 42 from one-character symbols, the four shifts from full-ASCII symbols of
    // characters that need them (a control character, "!", a letter in lower case, "\x7f").
    static const std::map<QString, int> patterns = [] {
        std::map<QString, int> p;
        for (int v = 0; v < 43; ++v) {
            const BarcodeSymbol s = encodeBarcode(bcCode93, QString(kCode39Chars[v]), false);
            p[key(s.elements, 6, 6)] = v;
            p[key(s.elements, 0, 6)] = 47; // start and stop
        }
        const std::pair<char, int> shifts[] = {{'\x01', 43}, {'\x1b', 44}, {'!', 45}, {'a', 46}};
        for (auto [c, v] : shifts)
            p[key(encodeBarcode(bcCode93Full, QString(QChar(c)), false).elements, 6, 6)] = v;
        return p;
    }();
    const std::vector<int> m = modules(runs, module);
    if (m.size() < 19 || (m.size() - 1) % 6 || m.back() != 1) return {};
    std::vector<int> values;
    for (size_t at = 0; at + 6 < m.size(); at += 6) {
        const auto it = patterns.find(key(m, at, 6));
        if (it == patterns.end()) return {};
        values.push_back(it->second);
    }
    if (values.size() < 4 || values.front() != 47 || values.back() != 47) return {};
    values = std::vector<int>(values.begin() + 1, values.end() - 1);
    auto check = [&](size_t count, int maxWeight) {
        int sum = 0, weight = 1;
        for (size_t i = count; i-- > 0;) {
            sum += values[i] * weight;
            weight = weight == maxWeight ? 1 : weight + 1;
        }
        return sum % 47;
    };
    const size_t n = values.size() - 2;
    if (values[n] != check(n, 20) || values[n + 1] != check(n + 1, 15)) return {};
    // Full ASCII: a shift and a letter stand for one character; the native $ % / + for
    // themselves.
    QString out;
    for (size_t i = 0; i < n; ++i) {
        const int v = values[i];
        if (v < 43) {
            out += kCode39Chars[v];
            continue;
        }
        if (type != bcCode93Full || i + 1 >= n || values[i + 1] >= 43) return {};
        bool ok = false;
        out += fullAscii(QString(QLatin1Char("$%/+"[v - 43])) + kCode39Chars[values[++i]], &ok);
        if (!ok) return {};
    }
    return out;
}

QString decodeCode128(const std::vector<int>& runs, int module) {
    // Patterns of every value our symbols use: 0 to 99 from set C pairs, the starts, the stop,
    // SHIFT (98) and CODE A (101) and CODE B (100) from symbols that need them.
    static const std::map<QString, int> patterns = [] {
        std::map<QString, int> p;
        for (int v = 0; v < 100; ++v) {
            const BarcodeSymbol s = encodeBarcode(
                bcCode128C, QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')), false);
            p[key(s.elements, 0, 6)] = 105;
            p[key(s.elements, 6, 6)] = v;
            p[key(s.elements, s.elements.size() - 7, 7)] = 106;
        }
        p[key(encodeBarcode(bcCode128C, QStringLiteral("1"), false).elements, 6, 6)] = 100;
        p[key(encodeBarcode(bcCode128A, QStringLiteral("A"), false).elements, 0, 6)] = 103;
        p[key(encodeBarcode(bcCode128B, QStringLiteral("A"), false).elements, 0, 6)] = 104;
        p[key(encodeBarcode(bcCode128A, QStringLiteral("a"), false).elements, 6, 6)] = 98;
        p[key(encodeBarcode(bcCode128B, QStringLiteral("\x01\x02"), false).elements, 6, 6)] = 101;
        return p;
    }();
    const std::vector<int> m = modules(runs, module);
    if (m.size() < 25 || (m.size() - 7) % 6) return {};
    std::vector<int> values;
    for (size_t at = 0; at + 7 < m.size(); at += 6) {
        const auto it = patterns.find(key(m, at, 6));
        values.push_back(it == patterns.end() ? -1 : it->second);
    }
    if (patterns.count(key(m, m.size() - 7, 7)) == 0) return {};
    if (values.size() < 2 || values[0] < 103) return {};
    // The check character: start + Σ position × value, modulo 103.
    int sum = values[0];
    for (size_t i = 1; i + 1 < values.size(); ++i) {
        if (values[i] < 0) return {};
        sum += int(i) * values[i];
    }
    if (values.back() >= 0 && values.back() != sum % 103) return {};
    int set = values[0];
    QString out;
    bool shifted = false;
    for (size_t i = 1; i + 1 < values.size(); ++i) {
        const int v = values[i];
        const int current = shifted ? (set == 103 ? 104 : 103) : set;
        shifted = false;
        if (current == 105) {
            if (v < 100)
                out += QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
            else if (v == 100)
                set = 104;
            else if (v == 101)
                set = 103;
            else
                return {};
            continue;
        }
        if (v == 98) {
            shifted = true;
        } else if (v == 100 && current == 103) {
            set = 104;
        } else if (v == 101 && current == 104) {
            set = 103;
        } else if (v == 99) {
            set = 105;
        } else if (v < 96) {
            out += QChar(current == 103 ? (v < 64 ? v + 32 : v - 64) : v + 32);
        } else {
            return {};
        }
    }
    return out;
}

QString decodeCodabar(const std::vector<int>& runs, int module) {
    static const QHash<QString, QChar> patterns = [] {
        QHash<QString, QChar> p;
        for (QChar c : QStringLiteral("0123456789-$:/.+")) {
            const BarcodeSymbol s = encodeBarcode(bcCodabar, QStringLiteral("A%1B").arg(c), false);
            p.insert(key(s.elements, 8, 7), c);
        }
        for (QChar c : QStringLiteral("ABCD")) {
            const BarcodeSymbol s = encodeBarcode(bcCodabar, QStringLiteral("%1%1").arg(c), false);
            p.insert(key(s.elements, 0, 7), c);
        }
        return p;
    }();
    std::vector<int> w = narrowWide(runs, module, 2 * module);
    for (int& v : w)
        ++v;
    if ((w.size() + 1) % 8) return {};
    QString chars;
    for (size_t at = 0; at < w.size(); at += 8) {
        if (at + 7 < w.size() && w[at + 7] != 1) return {};
        const auto it = patterns.find(key(w, at, 7));
        if (it == patterns.end()) return {};
        chars += *it;
    }
    return chars;
}

} // namespace

// Code 39 data characters followed by their modulo-43 check character; empty when it fails.
QString withoutCode39Check(const QString& chars) {
    if (chars.isEmpty()) return {};
    int sum = 0;
    for (qsizetype i = 0; i + 1 < chars.size(); ++i)
        sum += int(kCode39Chars.indexOf(chars[i]));
    return kCode39Chars.indexOf(chars.back()) == sum % 43 ? chars.chopped(1) : QString();
}

std::vector<int> rowRuns(const QImage& image, int y) {
    std::vector<bool> line;
    for (int x = 0; x < image.width(); ++x)
        line.push_back(darkAt(image, x, y));
    return runsOf(line);
}

std::vector<int> columnRuns(const QImage& image, int x) {
    std::vector<bool> line;
    for (int y = image.height() - 1; y >= 0; --y)
        line.push_back(darkAt(image, x, y));
    return runsOf(line);
}

QString decodeRuns(int type, const std::vector<int>& runs, int module) {
    if (runs.empty()) return {};
    switch (type) {
    case bcEAN8:
    case bcEAN13:
    case bcUPCA:
        return decodeEan(type, modules(runs, module));
    case bcUPCE0:
    case bcUPCE1:
        return decodeUpce(type, modules(runs, module));
    case bcUPCSupp2:
    case bcUPCSupp5:
        return decodeSupplement(type, modules(runs, module));
    case bc2of5Interleaved:
    case bc2of5Industrial:
    case bc2of5Matrix:
        return decode2of5(type, runs, module);
    case bcMSI:
        return decodeMsi(runs, module);
    case bcCode39:
    case bcCode39Full:
        return decodeCode39(type, runs, module);
    case bcCode93:
    case bcCode93Full:
        return decodeCode93(type, runs, module);
    case bcCode128A:
    case bcCode128B:
    case bcCode128C:
        return decodeCode128(runs, module);
    case bcCodabar:
        return decodeCodabar(runs, module);
    default:
        return {};
    }
}

QString decodePostNet(const std::vector<int>& upperRow, const std::vector<int>& lowerRow) {
    // Left edges of the bars of each row, both measured from the first (full) frame bar.
    auto barStarts = [](const std::vector<int>& runs) {
        std::vector<int> starts;
        int x = 0;
        for (size_t i = 0; i < runs.size(); ++i) {
            if (i % 2 == 0) starts.push_back(x);
            x += runs[i];
        }
        return starts;
    };
    const std::vector<int> all = barStarts(lowerRow);
    const std::vector<int> fullStarts = barStarts(upperRow);
    const std::set<int> full(fullStarts.begin(), fullStarts.end());
    if (all.size() < 2 || (all.size() - 2) % 5 || !full.count(all.front()) ||
        !full.count(all.back()))
        return {};
    static const int kWeights[5] = {7, 4, 2, 1, 0};
    QString digits;
    int sum = 0;
    for (size_t at = 1; at + 5 < all.size(); at += 5) {
        int value = 0, count = 0;
        for (int k = 0; k < 5; ++k)
            if (full.count(all[at + size_t(k)])) {
                value += kWeights[k];
                ++count;
            }
        if (count != 2) return {};
        if (value == 11) value = 0;
        if (value > 9) return {};
        digits += QChar(u'0' + value);
        sum += value;
    }
    // The last digit is the check: the digits add up to a multiple of ten.
    return sum % 10 == 0 ? digits : QString();
}

} // namespace brix::test
