#include "czech.h"

#include <sqlite3.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace brix::czech {

QString upper(const QString& s) {
    return s.toUpper();
}
QString lower(const QString& s) {
    return s.toLower();
}

namespace {

// Primary letters of the Czech alphabet; "ch" is one letter between h and i.
enum : int {
    kA = 1,
    kB,
    kC,
    kCcaron,
    kD,
    kE,
    kF,
    kG,
    kH,
    kCH,
    kI,
    kJ,
    kK,
    kL,
    kM,
    kN,
    kO,
    kP,
    kQ,
    kR,
    kRcaron,
    kS,
    kScaron,
    kT,
    kU,
    kV,
    kW,
    kX,
    kY,
    kZ,
    kZcaron
};

struct Weight {
    int primary = 0;
    unsigned char secondary = 0; // accent
    unsigned char tertiary = 0;  // 1 for upper case
};

constexpr int kLetterBase = 1000;
constexpr int kDigitBase = 500;

int asciiLetter(char c) {
    static const int order[26] = {kA, kB, kC, kD, kE, kF, kG, kH, kI, kJ, kK, kL, kM,
                                  kN, kO, kP, kQ, kR, kS, kT, kU, kV, kW, kX, kY, kZ};
    return order[c - 'a'];
}

// Weights of the code points below 0x250 (Latin letters with their accents), built once.
struct LatinTable {
    std::array<Weight, 0x250> w;
    LatinTable() {
        for (int cp = 0; cp < 0x250; ++cp) {
            Weight& x = w[cp];
            if (cp >= 'a' && cp <= 'z') {
                x.primary = kLetterBase + asciiLetter(char(cp)) * 2;
            } else if (cp >= 'A' && cp <= 'Z') {
                x.primary = kLetterBase + asciiLetter(char(cp - 'A' + 'a')) * 2;
                x.tertiary = 1;
            } else if (cp >= '0' && cp <= '9') {
                x.primary = kDigitBase + (cp - '0');
            } else if (cp < 0x80) {
                x.primary = cp; // blanks and punctuation before digits and letters
            } else {
                QChar ch(cp);
                QString dec = ch.decomposition();
                QChar base =
                    (!dec.isEmpty() && ch.decompositionTag() == QChar::Canonical) ? dec[0] : ch;
                char16_t b = base.toLower().unicode();
                if (b >= 'a' && b <= 'z') {
                    x.primary = kLetterBase + asciiLetter(char(b)) * 2;
                    x.secondary = static_cast<unsigned char>(10 + (cp & 0x7f));
                    x.tertiary = ch.isUpper() ? 1 : 0;
                } else {
                    x.primary = 100000 + cp;
                }
            }
        }
        auto set = [&](char16_t lowerCp, char16_t upperCp, int primary, int secondary) {
            for (char16_t cp : {lowerCp, upperCp}) {
                w[cp].primary = kLetterBase + primary * 2;
                w[cp].secondary = static_cast<unsigned char>(secondary);
                w[cp].tertiary = cp == upperCp ? 1 : 0;
            }
        };
        // Letters of their own.
        set(u'č', u'Č', kCcaron, 0);
        set(u'ř', u'Ř', kRcaron, 0);
        set(u'š', u'Š', kScaron, 0);
        set(u'ž', u'Ž', kZcaron, 0);
        // Accents that only break ties, in the order of Czech and Slovak dictionaries.
        set(u'á', u'Á', kA, 1);
        set(u'ä', u'Ä', kA, 2);
        set(u'ď', u'Ď', kD, 1);
        set(u'é', u'É', kE, 1);
        set(u'ě', u'Ě', kE, 2);
        set(u'í', u'Í', kI, 1);
        set(u'ĺ', u'Ĺ', kL, 1);
        set(u'ľ', u'Ľ', kL, 2);
        set(u'ň', u'Ň', kN, 1);
        set(u'ó', u'Ó', kO, 1);
        set(u'ô', u'Ô', kO, 2);
        set(u'ö', u'Ö', kO, 3);
        set(u'ŕ', u'Ŕ', kR, 1);
        set(u'ť', u'Ť', kT, 1);
        set(u'ú', u'Ú', kU, 1);
        set(u'ů', u'Ů', kU, 2);
        set(u'ü', u'Ü', kU, 3);
        set(u'ý', u'Ý', kY, 1);
    }
};

const LatinTable& latin() {
    static const LatinTable t;
    return t;
}

// Decodes one UTF-8 character; malformed bytes are taken one by one.
inline char32_t nextCodePoint(const unsigned char*& p, const unsigned char* end) {
    unsigned char c = *p++;
    if (c < 0x80) return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra == 0 || end - p < extra) return c;
    char32_t cp = c & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) return c;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    p += extra;
    return cp;
}

using Weights = std::vector<Weight>;

void weigh(const unsigned char* p, const unsigned char* end, Weights& out) {
    const LatinTable& t = latin();
    out.clear();
    while (p < end) {
        char32_t cp = nextCodePoint(p, end);
        Weight w;
        if (cp < 0x250)
            w = t.w[cp];
        else
            w.primary = 100000 + int(cp);
        if ((cp == 'c' || cp == 'C') && p < end && (*p == 'h' || *p == 'H')) {
            w.primary = kLetterBase + kCH * 2;
            w.tertiary = cp == 'C' ? 1 : 0;
            ++p;
        }
        out.push_back(w);
    }
}

bool isAscii(const unsigned char* p, int n) {
    for (int i = 0; i < n; ++i)
        if (p[i] >= 0x80) return false;
    return true;
}

} // namespace

int compareUtf8(const char* a, int lenA, const char* b, int lenB) {
    const auto* pa = reinterpret_cast<const unsigned char*>(a);
    const auto* pb = reinterpret_cast<const unsigned char*>(b);
    thread_local Weights wa, wb;
    weigh(pa, pa + lenA, wa);
    weigh(pb, pb + lenB, wb);
    size_t n = std::min(wa.size(), wb.size());
    for (size_t i = 0; i < n; ++i)
        if (wa[i].primary != wb[i].primary) return wa[i].primary < wb[i].primary ? -1 : 1;
    if (wa.size() != wb.size()) return wa.size() < wb.size() ? -1 : 1;
    for (size_t i = 0; i < n; ++i)
        if (wa[i].secondary != wb[i].secondary) return wa[i].secondary < wb[i].secondary ? -1 : 1;
    for (size_t i = 0; i < n; ++i)
        if (wa[i].tertiary != wb[i].tertiary) return wa[i].tertiary < wb[i].tertiary ? -1 : 1;
    // Different texts never collate equal.
    int m = std::memcmp(a, b, size_t(std::min(lenA, lenB)));
    if (m != 0) return m < 0 ? -1 : 1;
    return lenA == lenB ? 0 : (lenA < lenB ? -1 : 1);
}

int compare(const QString& a, const QString& b) {
    QByteArray ua = a.toUtf8(), ub = b.toUtf8();
    return compareUtf8(ua.constData(), int(ua.size()), ub.constData(), int(ub.size()));
}

namespace {

// ASCII texts are compared letter by letter without building weights, unless a "c" comes up
// before the texts differ (it may start "ch"); then, and for any other text, the full rule.
bool compareAscii(const unsigned char* a, int la, const unsigned char* b, int lb, int* result) {
    const LatinTable& t = latin();
    int n = std::min(la, lb);
    for (int i = 0; i < n; ++i) {
        unsigned char ca = a[i], cb = b[i];
        if (ca >= 0x80 || cb >= 0x80 || (ca | 0x20) == 'c' || (cb | 0x20) == 'c') return false;
        int pa = t.w[ca].primary, pb = t.w[cb].primary;
        if (pa != pb) {
            *result = pa < pb ? -1 : 1;
            return true;
        }
    }
    for (int i = n; i < la; ++i)
        if (a[i] >= 0x80) return false;
    for (int i = n; i < lb; ++i)
        if (b[i] >= 0x80) return false;
    if (la != lb) {
        *result = la < lb ? -1 : 1;
        return true;
    }
    for (int i = 0; i < n; ++i) {
        int ta = t.w[a[i]].tertiary, tb = t.w[b[i]].tertiary;
        if (ta != tb) {
            *result = ta < tb ? -1 : 1;
            return true;
        }
    }
    int m = std::memcmp(a, b, size_t(n));
    *result = m < 0 ? -1 : m > 0 ? 1 : 0;
    return true;
}

int collate(void*, int lenA, const void* a, int lenB, const void* b) {
    const auto* pa = static_cast<const unsigned char*>(a);
    const auto* pb = static_cast<const unsigned char*>(b);
    int r;
    if (compareAscii(pa, lenA, pb, lenB, &r)) return r;
    return compareUtf8(static_cast<const char*>(a), lenA, static_cast<const char*>(b), lenB);
}

QString argText(sqlite3_value* v) {
    const unsigned char* t = sqlite3_value_text(v);
    int n = sqlite3_value_bytes(v);
    return QString::fromUtf8(reinterpret_cast<const char*>(t), n);
}

void resultText(sqlite3_context* ctx, const QString& s) {
    QByteArray u = s.toUtf8();
    sqlite3_result_text(ctx, u.constData(), int(u.size()), SQLITE_TRANSIENT);
}

// The case maps of the Latin letters (code points below 0x250), each as Qt maps that character
// in a whole text; 0 where the map gives more than one character. A text made of these alone
// is mapped here without building a QString; any other text goes through Qt.
struct CaseTable {
    std::array<char16_t, 0x250> lower{}, upper{};
    CaseTable() {
        for (char16_t cp = 0; cp < 0x250; ++cp) {
            const QString one{QChar(cp)};
            const QString l = one.toLower(), u = one.toUpper();
            lower[cp] = l.size() == 1 ? l[0].unicode() : 0;
            upper[cp] = u.size() == 1 ? u[0].unicode() : 0;
        }
    }
};

const CaseTable& caseTable() {
    static const CaseTable t;
    return t;
}

// Maps well-formed UTF-8 of Latin letters into out; false for any other text (malformed bytes
// included), which the caller then maps through Qt, so that both ways give the same result.
bool mapLatin(const unsigned char* p, int n, bool toUpper, std::u16string& out) {
    const auto& map = toUpper ? caseTable().upper : caseTable().lower;
    out.clear();
    const unsigned char* end = p + n;
    while (p < end) {
        char32_t cp = *p++;
        if (cp >= 0x80) {
            if ((cp & 0xE0) != 0xC0 || p == end || (*p & 0xC0) != 0x80) return false;
            cp = ((cp & 0x1F) << 6) | (*p++ & 0x3F);
            if (cp < 0x80 || cp >= 0x250) return false;
        }
        const char16_t m = map[cp];
        if (m == 0 && cp != 0) return false;
        out.push_back(m);
    }
    return true;
}

void resultUtf16(sqlite3_context* ctx, const std::u16string& s) {
    std::string u;
    u.reserve(s.size() + 8);
    for (char16_t c : s) {
        if (c < 0x80) {
            u.push_back(char(c));
        } else if (c < 0x800) {
            u.push_back(char(0xC0 | (c >> 6)));
            u.push_back(char(0x80 | (c & 0x3F)));
        } else {
            u.push_back(char(0xE0 | (c >> 12)));
            u.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            u.push_back(char(0x80 | (c & 0x3F)));
        }
    }
    sqlite3_result_text(ctx, u.data(), int(u.size()), SQLITE_TRANSIENT);
}

void mapCase(sqlite3_context* ctx, sqlite3_value* arg, bool toUpper) {
    if (sqlite3_value_type(arg) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const auto* t = sqlite3_value_text(arg);
    int n = sqlite3_value_bytes(arg);
    if (isAscii(t, n)) {
        thread_local std::string s;
        s.assign(reinterpret_cast<const char*>(t), size_t(n));
        for (char& c : s)
            if (toUpper ? (c >= 'a' && c <= 'z') : (c >= 'A' && c <= 'Z'))
                c = char(toUpper ? c - 32 : c + 32);
        return sqlite3_result_text(ctx, s.data(), n, SQLITE_TRANSIENT);
    }
    thread_local std::u16string mapped;
    if (mapLatin(t, n, toUpper, mapped)) return resultUtf16(ctx, mapped);
    const QString s = argText(arg);
    resultText(ctx, toUpper ? s.toUpper() : s.toLower());
}

void fnUpper(sqlite3_context* ctx, int, sqlite3_value** argv) {
    mapCase(ctx, argv[0], true);
}

void fnLower(sqlite3_context* ctx, int, sqlite3_value** argv) {
    mapCase(ctx, argv[0], false);
}

// A text read through its lowering: ASCII bytes lowered on the fly, or mapped characters.
struct AsciiLowered {
    const unsigned char* p;
    qsizetype n;
    qsizetype size() const { return n; }
    char16_t operator[](qsizetype i) const {
        const unsigned char c = p[i];
        return c >= 'A' && c <= 'Z' ? char16_t(c + 32) : char16_t(c);
    }
};
struct Utf16Text {
    const char16_t* p;
    qsizetype n;
    qsizetype size() const { return n; }
    char16_t operator[](qsizetype i) const { return p[i]; }
};

// LIKE ignoring case for Czech letters too; % any run, _ one character, optional escape.
template <class Pattern, class Text>
bool likeMatch(const Pattern& pat, qsizetype pi, const Text& s, qsizetype si, char16_t esc) {
    while (pi < pat.size()) {
        const char16_t pc = pat[pi];
        if (esc && pc == esc && pi + 1 < pat.size()) {
            if (si >= s.size() || s[si] != pat[pi + 1]) return false;
            pi += 2;
            ++si;
            continue;
        }
        if (pc == u'%') {
            while (pi < pat.size() && pat[pi] == u'%')
                ++pi;
            if (pi == pat.size()) return true;
            for (qsizetype k = si; k <= s.size(); ++k)
                if (likeMatch(pat, pi, s, k, esc)) return true;
            return false;
        }
        if (si >= s.size()) return false;
        if (pc != u'_' && pc != s[si]) return false;
        ++pi;
        ++si;
    }
    return si == s.size();
}

void fnLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    QChar esc;
    if (argc == 3 && sqlite3_value_type(argv[2]) != SQLITE_NULL) {
        const auto* b = sqlite3_value_text(argv[2]);
        if (sqlite3_value_bytes(argv[2]) == 1 && b[0] < 0x80) {
            esc = QChar(char16_t(b[0])); // a one-byte escape, as it mostly is
        } else {
            QString e = argText(argv[2]);
            if (e.size() != 1) {
                sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
                return;
            }
            esc = e[0];
        }
    }
    // Both sides lowered as Qt lowers them: ASCII on the fly, other Latin texts by the table,
    // anything else through Qt.
    const char16_t e = esc.unicode();
    const auto* p = sqlite3_value_text(argv[0]);
    const int np = sqlite3_value_bytes(argv[0]);
    const auto* t = sqlite3_value_text(argv[1]);
    const int nt = sqlite3_value_bytes(argv[1]);
    if (isAscii(p, np) && isAscii(t, nt)) {
        const bool m = likeMatch(AsciiLowered{p, np}, 0, AsciiLowered{t, nt}, 0, e);
        return sqlite3_result_int(ctx, m ? 1 : 0);
    }
    thread_local std::u16string pat, text;
    if (mapLatin(p, np, false, pat) && mapLatin(t, nt, false, text)) {
        const bool m = likeMatch(Utf16Text{pat.data(), qsizetype(pat.size())}, 0,
                                 Utf16Text{text.data(), qsizetype(text.size())}, 0, e);
        return sqlite3_result_int(ctx, m ? 1 : 0);
    }
    const QString lp = argText(argv[0]).toLower();
    const QString ls = argText(argv[1]).toLower();
    const bool m =
        likeMatch(Utf16Text{reinterpret_cast<const char16_t*>(lp.utf16()), lp.size()}, 0,
                  Utf16Text{reinterpret_cast<const char16_t*>(ls.utf16()), ls.size()}, 0, e);
    sqlite3_result_int(ctx, m ? 1 : 0);
}

// A lowered character c is "plain" when every character whose lowering is c alone has the
// primary weight of c in the collation (and, for the "c" and "h" of "ch", is its capital): then
// a text that folds to a run of plain characters has that run's primary weights.
struct PlainTable {
    std::array<bool, 0x250> plain{};
    PlainTable() {
        const LatinTable& t = latin();
        for (char16_t c = 0; c < 0x250; ++c)
            plain[c] = caseTable().lower[c] == c && t.w[c].primary < 100000;
        for (char32_t x = 0; x <= 0x10FFFF; ++x) {
            const char32_t c = QChar::toLower(x);
            if (c == x || c >= 0x250 || !plain[c]) continue;
            // The whole-text lowering may give more than one character (then x cannot match
            // one character of a prefix).
            if (QString::fromUcs4(&x, 1).toLower() != QString(QChar(char16_t(c)))) continue;
            const bool same = x < 0x250 && t.w[x].primary == t.w[c].primary &&
                              (x < 0x80 || (c != 'c' && c != 'h'));
            if (!same) plain[c] = false;
        }
    }
};

} // namespace

std::optional<CollationRange> foldedPrefixRange(const QString& loweredPrefix) {
    static const PlainTable plainTable;
    const LatinTable& t = latin();
    // The plain start of the prefix; a "c" at its end may begin "ch" in the text, a letter
    // of its own, so it is left out.
    qsizetype n = 0;
    while (n < loweredPrefix.size() && loweredPrefix[n].unicode() < 0x250 &&
           plainTable.plain[loweredPrefix[n].unicode()])
        ++n;
    if (n > 0 && loweredPrefix[n - 1] == QLatin1Char('c')) --n;
    if (n == 0) return std::nullopt;
    // A text that starts with these letters ("ch" is one) weighs as they do there and has
    // more after the last but one: it sorts after the letters before the last, and before
    // those letters followed by the character weighing next above the last.
    const QString plain = loweredPrefix.left(n);
    const qsizetype last =
        n >= 2 && plain[n - 2] == QLatin1Char('c') && plain[n - 1] == QLatin1Char('h') ? n - 2
                                                                                       : n - 1;
    const int weight = last == n - 2 ? kLetterBase + kCH * 2 : t.w[plain[last].unicode()].primary;
    int best = 0;
    char16_t next = 0;
    for (char16_t g = 1; g < 0x250; ++g) {
        if (g == 'h' || g == 'H') continue; // after a "c" it would join it
        const int p = t.w[g].primary;
        if (p > weight && (best == 0 || p < best)) {
            best = p;
            next = g;
        }
    }
    if (next == 0) return std::nullopt;
    return CollationRange{plain.left(last), plain.left(last) + QChar(next)};
}

void registerSqliteFunctions(sqlite3* db) {
    sqlite3_create_collation(db, "CZECH", SQLITE_UTF8, nullptr, collate);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "upper", 1, flags, nullptr, fnUpper, nullptr, nullptr);
    sqlite3_create_function(db, "lower", 1, flags, nullptr, fnLower, nullptr, nullptr);
    sqlite3_create_function(db, "czech_fold", 1, flags, nullptr, fnLower, nullptr, nullptr);
    sqlite3_create_function(db, "like", 2, flags, nullptr, fnLike, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, flags, nullptr, fnLike, nullptr, nullptr);
}

} // namespace brix::czech
