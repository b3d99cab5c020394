#include "barcode.h"

#include "fonts.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace brix::report {

namespace {

const std::array<TBCdata, kBarcodeTypeCount> kTable{{
    {"2/5 interleaved", true}, {"2/5 industrial", true}, {"2/5 matrix", true}, {"Code 39", false},
    {"Code 39 Full", false},   {"Code 128A", false},     {"Code 128B", false}, {"Code 128C", true},
    {"Code 93", false},        {"Code 93 Full", false},  {"MSI", true},        {"PostNet", true},
    {"Codebar", false},        {"EAN 8", true},          {"EAN 13", true},     {"UPC-A", true},
    {"UPC-E0", true},          {"UPC-E1", true},         {"UPC Supp2", true},  {"UPC Supp5", true},
}};

const std::array<Zvetseni, 36> kZvetseni{{
    {"0,50", 4},  {"0,63", 5},  {"0,75", 6},   {"0,88", 7},   {"1,00", 8},    {"1,13", 9},
    {"1,25", 10}, {"1,38", 11}, {"1,50", 12},  {"1,63", 13},  {"1,75", 14},   {"1,88", 15},
    {"2,00", 16}, {"2,25", 18}, {"2,50", 20},  {"2,75", 22},  {"3,00", 24},   {"3,25", 26},
    {"3,50", 28}, {"3,75", 30}, {"4,00", 32},  {"4,25", 34},  {"4,50", 36},   {"4,75", 38},
    {"5,00", 40}, {"5,50", 44}, {"6,00", 48},  {"6,50", 52},  {"7,00", 56},   {"7,50", 60},
    {"8,00", 64}, {"9,00", 72}, {"10,00", 80}, {"12,00", 96}, {"14,00", 112}, {"16,00", 128},
}};

// ---- character tables of the standards ----------------------------------------------------

// Two of five: the wide elements of each digit (weights 1, 2, 4, 7 and parity).
const char* const k2of5[10] = {"00110", "10001", "01001", "11000", "00101",
                               "10100", "01100", "00011", "10010", "01010"};

// Code 39: characters in value order, and the wide elements of each (bar, space, ... bar).
constexpr std::string_view kCode39Chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
const char* const kCode39[44] = {
    "000110100", "100100001", "001100001", "101100000", "000110001", "100110000", "001110000",
    "000100101", "100100100", "001100100", "100001001", "001001001", "101001000", "000011001",
    "100011000", "001011000", "000001101", "100001100", "001001100", "000011100", "100000011",
    "001000011", "101000010", "000010011", "100010010", "001010010", "000000111", "100000110",
    "001000110", "000010110", "110000001", "011000001", "111000000", "010010001", "110010000",
    "011010000", "010000101", "110000100", "011000100", "010101000", "010100010", "010001010",
    "000101010",
    "010010100", // the start and stop character "*"
};

// Code 93: the 43 characters and the four shifts ($) (%) (/) (+) in value order, as widths of
// bar, space, bar, space, bar, space; then the start and stop character.
constexpr std::string_view kCode93Chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
const char* const kCode93[48] = {
    "131112", "111213", "111312", "111411", "121113", "121212", "121311", "111114",
    "131211", "141111", "211113", "211212", "211311", "221112", "221211", "231111",
    "112113", "112212", "112311", "122112", "132111", "111123", "111222", "111321",
    "121122", "131121", "212112", "212211", "211122", "211221", "221121", "222111",
    "112122", "112221", "122121", "123111", "121131", "311112", "311211", "321111",
    "112131", "113121", "211131", "121221", "312111", "311121", "122211",
    "111141", // start and stop
};

// Code 128: values 0 to 105 as widths of bar, space, bar, space, bar, space; 106 the stop.
const char* const kCode128[107] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312",  "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122",  "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122",  "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123",  "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331",  "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311",  "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411",  "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412",  "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",  "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211",  "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113",  "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "2331112",
};
constexpr int k128Shift = 98, k128CodeC = 99, k128CodeB = 100, k128CodeA = 101;
constexpr int k128StartA = 103, k128StartB = 104, k128StartC = 105, k128Stop = 106;

// Codabar: the characters and the wide elements of each (bar, space, ... bar).
constexpr std::string_view kCodabarChars = "0123456789-$:/.+ABCD";
const char* const kCodabar[20] = {
    "0000011", "0000110", "0001001", "1100000", "0010010", "1000010", "0100001",
    "0100100", "0110000", "1001000", "0001100", "0011000", "1000101", "1010001",
    "1010100", "0010101", "0011010", "0101001", "0001011", "0001110",
};

// EAN and UPC: the odd (L), even (G) and right-hand (R) sets as modules, and the parities.
const char* const kEanL[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                               "0110001", "0101111", "0111011", "0110111", "0001011"};
const char* const kEanG[10] = {"0100111", "0110011", "0011011", "0100001", "0011101",
                               "0111001", "0000101", "0010001", "0001001", "0010111"};
const char* const kEanR[10] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                               "1001110", "1010000", "1000100", "1001000", "1110100"};
// EAN 13: parity of the left half by the first digit.
const char* const kEan13Parity[10] = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                                      "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};
// UPC-E number system 0 by the check digit (number system 1 is the inverse).
const char* const kUpceParity[10] = {"GGGLLL", "GGLGLL", "GGLLGL", "GGLLLG", "GLGGLL",
                                     "GLLGGL", "GLLLGG", "GLGLGL", "GLGLLG", "GLLGLG"};
// The 5-digit supplement by its parity digit.
const char* const kSupp5Parity[10] = {"GGLLL", "GLGLL", "GLLGL", "GLLLG", "LGGLL",
                                      "LLGGL", "LLLGG", "LGLGL", "LGLLG", "LLGLG"};
const char* const kSupp2Parity[4] = {"LL", "LG", "GL", "GG"};

// PostNet: full (1) and short (0) bars of each digit.
const char* const kPostNet[10] = {"11000", "00011", "00101", "00110", "01001",
                                  "01010", "01100", "10001", "10010", "10100"};

// ---- building the elements ---------------------------------------------------------------

class Builder {
public:
    std::vector<BarElement> elements;
    void add(BarElement::Kind kind, int width) { elements.push_back({kind, std::uint8_t(width)}); }
    // Widths alternating bar, space, bar ...
    void widths(std::string_view w) {
        bool bar = true;
        for (char c : w) {
            add(bar ? BarElement::Bar : BarElement::Space, c - '0');
            bar = !bar;
        }
    }
    // Narrow (0) and wide (1) elements alternating bar, space, bar ...
    void narrowWide(std::string_view w) {
        bool bar = true;
        for (char c : w) {
            add(bar ? BarElement::Bar : BarElement::Space, c == '1' ? 2 : 1);
            bar = !bar;
        }
    }
    // Modules: runs of "1" are bars, of "0" spaces.
    void modules(std::string_view m) {
        for (char c : m) {
            const BarElement::Kind k = c == '1' ? BarElement::Bar : BarElement::Space;
            if (!elements.empty() && elements.back().kind == k && elements.back().width < 4)
                ++elements.back().width;
            else
                add(k, 1);
        }
    }
};

bool allDigits(const QString& s) {
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}
int digit(QChar c) {
    return c.unicode() - u'0';
}

int fixedLength(int type) {
    switch (type) {
    case bcEAN8:
        return 8;
    case bcEAN13:
        return 13;
    case bcUPCA:
        return 12;
    case bcUPCE0:
    case bcUPCE1:
        return 7;
    case bcUPCSupp5:
        return 5;
    case bcUPCSupp2:
        return 2;
    default:
        return 0;
    }
}

// Weighted modulo 10 with weights 3 and 1 from the rightmost digit.
int mod10Weighted3(const QString& digits) {
    int sum = 0;
    bool three = true;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        sum += digit(digits[i]) * (three ? 3 : 1);
        three = !three;
    }
    return (10 - sum % 10) % 10;
}

// ---- encoders --------------------------------------------------------------------------

void encodeEanDigits(Builder& b, const QString& digits, std::string_view parity) {
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const int d = digit(digits[i]);
        const char p = parity[size_t(i)];
        b.modules(p == 'L' ? kEanL[d] : p == 'G' ? kEanG[d] : kEanR[d]);
    }
}

bool encodeEan(Builder& b, int type, const QString& t) {
    if (type == bcEAN13) {
        b.modules("101");
        encodeEanDigits(b, t.mid(1, 6), kEan13Parity[digit(t[0])]);
        b.modules("01010");
        encodeEanDigits(b, t.mid(7, 6), "RRRRRR");
        b.modules("101");
    } else if (type == bcEAN8 || type == bcUPCA) {
        const qsizetype half = t.size() / 2;
        b.modules("101");
        encodeEanDigits(b, t.left(half), std::string_view("LLLLLL").substr(0, size_t(half)));
        b.modules("01010");
        encodeEanDigits(b, t.mid(half), std::string_view("RRRRRR").substr(0, size_t(half)));
        b.modules("101");
    } else if (type == bcUPCE0 || type == bcUPCE1) {
        std::string parity = kUpceParity[digit(t[6])];
        if (type == bcUPCE1)
            for (char& c : parity)
                c = c == 'L' ? 'G' : 'L';
        b.modules("101");
        encodeEanDigits(b, t.left(6), parity);
        b.modules("010101");
    } else {
        const std::string_view parity = type == bcUPCSupp5
                                            ? std::string_view(kSupp5Parity[supplement5Parity(t)])
                                            : std::string_view(kSupp2Parity[t.toInt() % 4]);
        b.modules("1011");
        for (qsizetype i = 0; i < t.size(); ++i) {
            if (i > 0) b.modules("01");
            const int d = digit(t[i]);
            b.modules(parity[size_t(i)] == 'L' ? kEanL[d] : kEanG[d]);
        }
    }
    return true;
}

bool encode2of5(Builder& b, int type, const QString& t) {
    if (type == bc2of5Interleaved) {
        b.narrowWide("0000");
        for (qsizetype i = 0; i + 1 < t.size(); i += 2) {
            const char* bars = k2of5[digit(t[i])];
            const char* spaces = k2of5[digit(t[i + 1])];
            for (int k = 0; k < 5; ++k) {
                b.add(BarElement::Bar, bars[k] == '1' ? 2 : 1);
                b.add(BarElement::Space, spaces[k] == '1' ? 2 : 1);
            }
        }
        b.narrowWide("100");
    } else if (type == bc2of5Industrial) {
        // Only the bars carry the digits; every space is narrow.
        auto bars = [&](std::string_view w) {
            for (char c : w) {
                b.add(BarElement::Bar, c == '1' ? 2 : 1);
                b.add(BarElement::Space, 1);
            }
        };
        bars("110");
        for (QChar c : t)
            bars(k2of5[digit(c)]);
        bars("101");
        b.elements.pop_back();
    } else {
        // Matrix: three bars and two spaces a digit, a narrow space between digits.
        b.narrowWide("10000");
        b.add(BarElement::Space, 1);
        for (QChar c : t) {
            b.narrowWide(k2of5[digit(c)]);
            b.add(BarElement::Space, 1);
        }
        b.narrowWide("10000");
    }
    return true;
}

// The characters of a full-ASCII Code 39 for one character 0 to 127 (the pairs of the
// standard's table: $ and a letter for control characters, / % + for the rest).
QString code39FullAscii(int c) {
    auto pair = [](char shift, int letter) { return QString(QLatin1Char(shift)) + QChar(letter); };
    if (c == 0) return QStringLiteral("%U");
    if (c <= 26) return pair('$', 'A' + c - 1);
    if (c <= 31) return pair('%', 'A' + c - 27);
    if (c == ' ' || c == '-' || c == '.' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))
        return QString(QChar(c));
    if (c <= 44) return pair('/', 'A' + c - 33);
    if (c == '/') return QStringLiteral("/O");
    if (c == ':') return QStringLiteral("/Z");
    if (c <= 63) return pair('%', 'F' + c - 59);
    if (c == '@') return QStringLiteral("%V");
    if (c <= 95) return pair('%', 'K' + c - 91);
    if (c == '`') return QStringLiteral("%W");
    if (c <= 122) return pair('+', 'A' + c - 97);
    return pair('%', 'P' + c - 123);
}

// Code 39 and Code 93 values of a text; false when a character has none.
bool valuesOf(std::string_view chars, const QString& t, std::vector<int>* values) {
    for (QChar c : t) {
        const size_t v = c.unicode() < 128 ? chars.find(char(c.unicode())) : std::string_view::npos;
        if (v == std::string_view::npos) return false;
        values->push_back(int(v));
    }
    return true;
}

bool encodeCode39(Builder& b, int type, const QString& t, bool check) {
    QString chars;
    if (type == bcCode39Full) {
        for (QChar c : t) {
            if (c.unicode() > 127) return false;
            chars += code39FullAscii(c.unicode());
        }
    } else {
        chars = t;
    }
    std::vector<int> values;
    if (!valuesOf(kCode39Chars, chars, &values)) return false;
    if (check) {
        int sum = 0;
        for (int v : values)
            sum += v;
        values.push_back(sum % 43);
    }
    b.narrowWide(kCode39[43]);
    for (int v : values) {
        b.add(BarElement::Space, 1);
        b.narrowWide(kCode39[v]);
    }
    b.add(BarElement::Space, 1);
    b.narrowWide(kCode39[43]);
    return true;
}

bool encodeCode93(Builder& b, int type, const QString& t) {
    std::vector<int> values;
    for (QChar c : t) {
        const int u = c.unicode();
        if (u > 127) return false;
        if (type == bcCode93 || kCode93Chars.find(char(u)) != std::string_view::npos) {
            if (!valuesOf(kCode93Chars, QString(c), &values)) return false;
            continue;
        }
        // Full ASCII: the Code 39 pairs with the four shift characters of Code 93.
        const QString pair = code39FullAscii(u);
        const int shift = pair[0] == u'$' ? 43 : pair[0] == u'%' ? 44 : pair[0] == u'/' ? 45 : 46;
        values.push_back(shift);
        values.push_back(int(kCode93Chars.find(char(pair[1].unicode()))));
    }
    auto checkOf = [&](int maxWeight) {
        int sum = 0, weight = 1;
        for (auto it = values.rbegin(); it != values.rend(); ++it) {
            sum += *it * weight;
            weight = weight == maxWeight ? 1 : weight + 1;
        }
        return sum % 47;
    };
    values.push_back(checkOf(20));
    values.push_back(checkOf(15));
    b.widths(kCode93[47]);
    for (int v : values)
        b.widths(kCode93[v]);
    b.widths(kCode93[47]);
    b.add(BarElement::Bar, 1); // termination bar
    return true;
}

int code128Value(int set, int c) {
    if (set == k128StartA) return c < 32 ? c + 64 : c <= 95 ? c - 32 : -1;
    return c >= 32 && c <= 127 ? c - 32 : -1;
}

bool encodeCode128(Builder& b, int type, const QString& t) {
    std::vector<int> values;
    if (type == bcCode128C) {
        values.push_back(k128StartC);
        qsizetype i = 0;
        for (; i + 1 < t.size(); i += 2)
            values.push_back(digit(t[i]) * 10 + digit(t[i + 1]));
        // An odd digit left over goes in set B.
        if (i < t.size()) {
            values.push_back(k128CodeB);
            values.push_back(code128Value(k128StartB, t[i].unicode()));
        }
    } else {
        int set = type == bcCode128A ? k128StartA : k128StartB;
        values.push_back(set);
        for (qsizetype i = 0; i < t.size(); ++i) {
            const int c = t[i].unicode();
            if (c > 127) return false;
            const int here = code128Value(set, c);
            if (here >= 0) {
                values.push_back(here);
                continue;
            }
            const int other = set == k128StartA ? k128StartB : k128StartA;
            // Two or more characters of the other set switch to it; one is shifted.
            const bool run = i + 1 < t.size() && t[i + 1].unicode() < 128 &&
                             code128Value(set, t[i + 1].unicode()) < 0;
            if (run) {
                values.push_back(other == k128StartB ? k128CodeB : k128CodeA);
                set = other;
            } else {
                values.push_back(k128Shift);
            }
            values.push_back(code128Value(other, c));
        }
    }
    int sum = values[0];
    for (size_t i = 1; i < values.size(); ++i)
        sum += int(i) * values[i];
    values.push_back(sum % 103);
    values.push_back(k128Stop);
    for (int v : values)
        b.widths(kCode128[v]);
    return true;
}

bool encodeCodabar(Builder& b, const QString& t) {
    for (qsizetype i = 0; i < t.size(); ++i) {
        const size_t v = t[i].unicode() < 128 ? kCodabarChars.find(char(t[i].unicode()))
                                              : std::string_view::npos;
        // Start and stop letters only at the ends.
        if (v == std::string_view::npos || (v >= 16) != (i == 0 || i == t.size() - 1)) return false;
        if (i > 0) b.add(BarElement::Space, 1);
        b.narrowWide(kCodabar[v]);
    }
    return t.size() >= 2;
}

void encodeMsi(Builder& b, const QString& t) {
    b.modules("110");
    for (QChar c : t) {
        const int d = digit(c);
        for (int bit = 3; bit >= 0; --bit)
            b.modules((d >> bit) & 1 ? "110" : "100");
    }
    b.modules("1001");
}

void encodePostNet(Builder& b, const QString& t) {
    b.add(BarElement::Bar, 1);
    for (QChar c : t)
        for (const char* p = kPostNet[digit(c)]; *p; ++p) {
            b.add(BarElement::Space, 1);
            b.add(*p == '1' ? BarElement::Bar : BarElement::ShortBar, 1);
        }
    b.add(BarElement::Space, 1);
    b.add(BarElement::Bar, 1);
}

} // namespace

const std::array<TBCdata, kBarcodeTypeCount>& barcodeTable() {
    return kTable;
}

int barcodeType(int index) {
    return index >= 0 && index < kBarcodeTypeCount ? index : bcEAN13;
}

const std::array<Zvetseni, 36>& zvetseniTable() {
    return kZvetseni;
}

QString zvetseniText(int value) {
    for (const Zvetseni& z : kZvetseni)
        if (z.value == value) return QString::fromLatin1(z.text);
    return QStringLiteral("1,00");
}

int zvetseniValue(const QString& text) {
    for (const Zvetseni& z : kZvetseni)
        if (text.trimmed() == QLatin1String(z.text)) return z.value;
    return -1;
}

int eanCheckDigit(const QString& digits) {
    return mod10Weighted3(digits);
}

QString upceToUpca(int numberSystem, const QString& s) {
    const QString ns = QString::number(numberSystem);
    switch (digit(s[5])) {
    case 0:
    case 1:
    case 2:
        return ns + s.left(2) + s[5] + QStringLiteral("0000") + s.mid(2, 3);
    case 3:
        return ns + s.left(3) + QStringLiteral("00000") + s.mid(3, 2);
    case 4:
        return ns + s.left(4) + QStringLiteral("00000") + s[4];
    default:
        return ns + s.left(5) + QStringLiteral("0000") + s[5];
    }
}

int upceCheckDigit(int numberSystem, const QString& sixDigits) {
    return eanCheckDigit(upceToUpca(numberSystem, sixDigits));
}

int supplement5Parity(const QString& d) {
    int sum = 0;
    for (qsizetype i = 0; i < d.size(); ++i)
        sum += digit(d[i]) * (i % 2 == 0 ? 3 : 9);
    return sum % 10;
}

int msiCheckDigit(const QString& digits) {
    int sum = 0;
    bool twice = true;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        int d = digit(digits[i]) * (twice ? 2 : 1);
        sum += d / 10 + d % 10;
        twice = !twice;
    }
    return (10 - sum % 10) % 10;
}

int postnetCheckDigit(const QString& digits) {
    int sum = 0;
    for (QChar c : digits)
        sum += digit(c);
    return (10 - sum % 10) % 10;
}

QString prepareBarcode(int type, const QString& content, bool checkDigit) {
    type = barcodeType(type);
    QString t = content;
    if (kTable[size_t(type)].numericOnly) {
        t = t.trimmed();
        for (QChar& c : t)
            if (c < u'0' || c > u'9') c = u'0';
    }
    if (const int n = fixedLength(type)) {
        // Supplements carry no check digit: their digits stay data.
        const bool check = checkDigit && type != bcUPCSupp2 && type != bcUPCSupp5;
        const int data = check ? n - 1 : n;
        if (check && t.size() >= n) t = t.right(n).left(data);
        t = t.size() >= data ? t.right(data) : t.rightJustified(data, u'0');
        if (check) {
            const int d = type == bcUPCE0 || type == bcUPCE1
                              ? upceCheckDigit(type == bcUPCE1 ? 1 : 0, t.left(6))
                              : eanCheckDigit(t);
            t += QChar(u'0' + d);
        }
        return t;
    }
    switch (type) {
    case bc2of5Interleaved:
    case bc2of5Industrial:
    case bc2of5Matrix:
        if (checkDigit) t += QChar(u'0' + mod10Weighted3(t));
        if (type == bc2of5Interleaved && t.size() % 2) t.prepend(u'0');
        break;
    case bcMSI:
        if (checkDigit) t += QChar(u'0' + msiCheckDigit(t));
        break;
    case bcPostNet:
        t += QChar(u'0' + postnetCheckDigit(t));
        break;
    case bcCode39:
    case bcCode93:
        t = t.toUpper();
        break;
    case bcCodabar: {
        t = t.toUpper();
        auto startStop = [](QChar c) { return c >= u'A' && c <= u'D'; };
        if (t.isEmpty() || !startStop(t.front())) t.prepend(u'A');
        if (t.size() < 2 || !startStop(t.back())) t += u'B';
        break;
    }
    default:
        break;
    }
    return t;
}

BarcodeSymbol encodeBarcode(int type, const QString& content, bool checkDigit) {
    BarcodeSymbol s;
    s.type = barcodeType(type);
    s.text = prepareBarcode(s.type, content, checkDigit);
    Builder b;
    bool ok = true;
    switch (s.type) {
    case bc2of5Interleaved:
    case bc2of5Industrial:
    case bc2of5Matrix:
        ok = !s.text.isEmpty() && encode2of5(b, s.type, s.text);
        break;
    case bcCode39:
    case bcCode39Full:
        ok = encodeCode39(b, s.type, s.text, checkDigit);
        break;
    case bcCode128A:
    case bcCode128B:
    case bcCode128C:
        ok = encodeCode128(b, s.type, s.text);
        break;
    case bcCode93:
    case bcCode93Full:
        ok = encodeCode93(b, s.type, s.text);
        break;
    case bcMSI:
        encodeMsi(b, s.text);
        break;
    case bcPostNet:
        encodePostNet(b, s.text);
        break;
    case bcCodabar:
        ok = encodeCodabar(b, s.text);
        break;
    default:
        ok = allDigits(s.text) && encodeEan(b, s.type, s.text);
        break;
    }
    s.encodable = ok;
    if (ok) s.elements = std::move(b.elements);
    return s;
}

int barcodeModule(double scale, int value) {
    return std::max(1, int(std::lround(scale * value / 6.0)));
}

std::array<int, 5> barWidths(int type, int module) {
    const double ratio = barcodeType(type) == bc2of5Matrix ? 2.25 : 2.0;
    const int w2 = int(std::lround(module * ratio));
    return {0, module, w2, w2 * 3 / 2, 2 * w2};
}

int barcodeWidth(const BarcodeSymbol& symbol, int module) {
    const std::array<int, 5> w = barWidths(symbol.type, module);
    int x = 0;
    for (const BarElement& e : symbol.elements)
        x += w[e.width];
    return x;
}

QString moduleString(const BarcodeSymbol& symbol) {
    const std::array<int, 5> w = barWidths(symbol.type, 1);
    QString s;
    for (const BarElement& e : symbol.elements)
        s += QString(w[e.width], e.kind == BarElement::Space ? u'0'
                                 : e.kind == BarElement::Bar ? u'1'
                                                             : u's');
    return s;
}

std::vector<BarRect> barRects(const BarcodeSymbol& symbol, int module, int height) {
    const std::array<int, 5> w = barWidths(symbol.type, module);
    const int shortHeight = int(std::lround(height * 2.0 / 5.0));
    std::vector<BarRect> rects;
    int x = 0;
    for (const BarElement& e : symbol.elements) {
        if (e.kind == BarElement::Bar)
            rects.push_back({QRect(x, 0, w[e.width], height), false});
        else if (e.kind == BarElement::ShortBar)
            rects.push_back({QRect(x, height - shortHeight, w[e.width], shortHeight), true});
        x += w[e.width];
    }
    return rects;
}

QTransform barcodeTransform(QPointF origin, int angle) {
    QTransform t;
    t.translate(origin.x(), origin.y());
    // Counter-clockwise on the page, whose y axis points down.
    t.rotate(-angle);
    return t;
}

void drawBarcode(QPainter& painter, const BarcodeSymbol& symbol, const QRect& element, int module,
                 int angle, bool printText) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QFont font(substituteFontFamily(QStringLiteral("Arial")));
    font.setPixelSize(std::max(1, 3 * module));
    if (!symbol.encodable) {
        // A crossed frame with the content: nothing that a scanner could read as other data.
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::NoBrush);
        const QRect r = element.adjusted(0, 0, -1, -1);
        painter.drawRect(r);
        painter.drawLine(r.topLeft(), r.bottomRight());
        painter.drawLine(r.bottomLeft(), r.topRight());
        font.setPixelSize(std::max(8, 3 * module));
        painter.setFont(font);
        // The text covers the cross, never the frame.
        painter.setClipRect(element.adjusted(1, 1, -1, -1), Qt::IntersectClip);
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(Qt::white);
        painter.drawText(element, Qt::AlignCenter | Qt::TextDontClip, symbol.text);
        painter.restore();
        return;
    }
    painter.setTransform(barcodeTransform(element.topLeft(), angle), true);
    for (const BarRect& r : barRects(symbol, module, element.height()))
        painter.fillRect(r.rect, Qt::black);
    painter.restore();
    if (printText) {
        painter.save();
        painter.setFont(font);
        painter.setPen(Qt::black);
        const QFontMetrics fm(font);
        const QRect box(element.topLeft(), QSize(fm.horizontalAdvance(symbol.text), fm.height()));
        painter.fillRect(box, Qt::white);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, symbol.text);
        painter.restore();
    }
}

} // namespace brix::report
