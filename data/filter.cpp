#include "filter.h"

#include "czech.h"
#include "database.h"
#include "decimal.h"
#include "storage_error.h"

#include <QDate>
#include <QDateTime>
#include <QHash>

#include <cmath>

namespace brix {

QString sqlIdentifier(const QString& name) {
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

void SqlCondition::append(const SqlCondition& other) {
    if (other.sql.isEmpty()) return;
    if (sql.isEmpty())
        sql = other.sql;
    else
        sql = QLatin1Char('(') + sql + QLatin1String(") AND (") + other.sql + QLatin1Char(')');
    params += other.params;
    kinds += other.kinds;
}

namespace {

enum class Tok { End, Ident, Number, String, Op, LParen, RParen };

struct Token {
    Tok type = Tok::End;
    QString text;
    int pos = 0;
};

// One part of the condition with its own parameters, so that parts can be regrouped.
struct Term {
    QString sql;
    QVector<QVariant> params;
    QVector<FieldKind> kinds;
    // An equality an "or" list may gather into an IN list: its left side ("" when it is none).
    QString inLhs;
    bool compound = false; // sql is "(... OR ...)" or "(... AND ...)"
    int andTerms = 1;      // the conditions SQLite sees joined by AND at this term's top

    void add(const QVariant& v, FieldKind k) {
        params << v;
        kinds << k;
    }
};

// SQLite parses a condition with a stack of about a hundred levels and keeps its expression
// tree under a thousand: "a or b or c ..." becomes a balanced tree of depth log2(n) with the
// equalities of one field gathered into IN lists, and the nesting a user may write is bounded.
// SQLite also takes an AND tree apart into its terms and, planning an OR beside them, joins the
// other terms again in a chain: a long AND list is handed to it as one opaque term.
constexpr int kMaxNesting = 16;       // parentheses and "not" within each other
constexpr int kMaxParameters = 30000; // SQLite binds at most 32766
constexpr int kMaxAndTerms = 200;

class Parser {
public:
    Parser(const QString& src, const TableDef& def, const FilterOptions& opt)
        : src_(src), def_(def), opt_(opt) {
        advance();
    }

    SqlCondition parse() {
        Term t = orExpr();
        if (tok_.type != Tok::End)
            fail(tok_.pos, QStringLiteral("nečekaný text '%1'").arg(tok_.text));
        SqlCondition c;
        c.sql = t.sql;
        c.params = t.params;
        c.kinds = t.kinds;
        return c;
    }

private:
    [[noreturn]] void fail(int pos, const QString& what) {
        throw StorageError(
            StorageErrorKind::FilterSyntax,
            QStringLiteral("Chyba ve filtru na pozici %1: %2").arg(pos + 1).arg(what),
            def_.address(), QString(), pos);
    }

    bool isKeyword(const char* kw) const {
        return tok_.type == Tok::Ident &&
               tok_.text.compare(QLatin1String(kw), Qt::CaseInsensitive) == 0;
    }

    void advance() {
        int n = int(src_.size());
        while (i_ < n && src_[i_].isSpace())
            ++i_;
        tok_ = Token();
        tok_.pos = i_;
        if (i_ >= n) return;
        QChar c = src_[i_];
        if (c == QLatin1Char('(')) {
            tok_.type = Tok::LParen;
            tok_.text = c;
            ++i_;
        } else if (c == QLatin1Char(')')) {
            tok_.type = Tok::RParen;
            tok_.text = c;
            ++i_;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QChar q = c;
            ++i_;
            QString s;
            for (;;) {
                if (i_ >= n) fail(tok_.pos, QStringLiteral("neukončený text"));
                if (src_[i_] == q) {
                    if (i_ + 1 < n && src_[i_ + 1] == q) {
                        s += q;
                        i_ += 2;
                        continue;
                    }
                    ++i_;
                    break;
                }
                s += src_[i_++];
            }
            tok_.type = Tok::String;
            tok_.text = s;
        } else if (c.isDigit() || ((c == QLatin1Char('-') || c == QLatin1Char('.')) && i_ + 1 < n &&
                                   src_[i_ + 1].isDigit())) {
            int start = i_++;
            while (i_ < n && (src_[i_].isDigit() || src_[i_] == QLatin1Char('.')))
                ++i_;
            tok_.type = Tok::Number;
            tok_.text = src_.mid(start, i_ - start);
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            int start = i_;
            while (i_ < n && (src_[i_].isLetterOrNumber() || src_[i_] == QLatin1Char('_')))
                ++i_;
            tok_.type = Tok::Ident;
            tok_.text = src_.mid(start, i_ - start);
        } else if (c == QLatin1Char('[')) {
            int start = ++i_;
            while (i_ < n && src_[i_] != QLatin1Char(']'))
                ++i_;
            if (i_ >= n) fail(tok_.pos, QStringLiteral("chybí ]"));
            tok_.type = Tok::Ident;
            tok_.text = src_.mid(start, i_ - start);
            ++i_;
        } else {
            static const char* ops[] = {"<>", "<=", ">=", "!=", "=", "<", ">"};
            for (const char* op : ops) {
                QLatin1String o(op);
                if (QStringView(src_).mid(i_).startsWith(o)) {
                    tok_.type = Tok::Op;
                    tok_.text = o;
                    if (tok_.text == QLatin1String("!=")) tok_.text = QStringLiteral("<>");
                    i_ += int(o.size());
                    return;
                }
            }
            fail(i_, QStringLiteral("neznámý znak '%1'").arg(c));
        }
    }

    // The parts joined by `op` as a balanced tree, each level in parentheses.
    static Term balanced(QVector<Term>& parts, qsizetype from, qsizetype to, const QString& op) {
        if (to - from == 1) return std::move(parts[from]);
        const qsizetype mid = from + (to - from) / 2;
        Term left = balanced(parts, from, mid, op), right = balanced(parts, mid, to, op);
        Term t;
        t.sql = QLatin1Char('(') + left.sql + op + right.sql + QLatin1Char(')');
        t.params = std::move(left.params);
        t.params += right.params;
        t.kinds = std::move(left.kinds);
        t.kinds += right.kinds;
        t.compound = true;
        return t;
    }

    Term orExpr() {
        QVector<Term> parts{andExpr()};
        while (isKeyword("or")) {
            advance();
            parts << andExpr();
        }
        if (parts.size() == 1) return std::move(parts.front());
        // Equalities of one field become one IN list, where the first of them stood.
        QVector<Term> joined;
        QHash<QString, qsizetype> listOf;
        for (Term& t : parts) {
            if (t.inLhs.isEmpty()) {
                joined << std::move(t);
                continue;
            }
            auto it = listOf.constFind(t.inLhs);
            if (it == listOf.constEnd()) {
                listOf.insert(t.inLhs, joined.size());
                joined << std::move(t);
                continue;
            }
            Term& list = joined[*it];
            list.params += t.params;
            list.kinds += t.kinds;
        }
        for (Term& t : joined) {
            if (t.inLhs.isEmpty() || t.params.size() < 2) continue;
            QStringList marks(t.params.size(), QStringLiteral("?"));
            t.sql = t.inLhs + QLatin1String(" IN (") + marks.join(QLatin1String(", ")) +
                    QLatin1Char(')');
        }
        return balanced(joined, 0, joined.size(), QStringLiteral(" OR "));
    }

    Term andExpr() {
        QVector<Term> parts{notExpr()};
        while (isKeyword("and")) {
            advance();
            parts << notExpr();
        }
        if (parts.size() == 1) return std::move(parts.front());
        int terms = 0;
        for (const Term& p : parts)
            terms += p.andTerms;
        Term t = balanced(parts, 0, parts.size(), QStringLiteral(" AND "));
        t.andTerms = terms;
        if (terms > kMaxAndTerms) {
            // Blank and false are the same to a filter, so coalesce changes no answer.
            t.sql = QLatin1String("coalesce(") + t.sql + QLatin1String(", 0)");
            t.andTerms = 1;
        }
        return t;
    }

    // Opens one level of nesting; fails past the limit.
    void nest(int pos) {
        if (++depth_ > kMaxNesting)
            fail(pos, QStringLiteral("příliš mnoho vnořených závorek a negací (nejvýše %1)")
                          .arg(kMaxNesting));
    }

    Term notExpr() {
        if (isKeyword("not")) {
            nest(tok_.pos);
            advance();
            Term inner = notExpr();
            --depth_;
            // A blank comparison is neither true nor false; "not" of it is true.
            Term t;
            t.sql = (inner.compound ? inner.sql : QLatin1Char('(') + inner.sql + QLatin1Char(')')) +
                    QLatin1String(" IS NOT 1");
            t.params = std::move(inner.params);
            t.kinds = std::move(inner.kinds);
            return t;
        }
        if (tok_.type == Tok::LParen) {
            nest(tok_.pos);
            advance();
            Term inner = orExpr();
            if (tok_.type != Tok::RParen) fail(tok_.pos, QStringLiteral("chybí )"));
            advance();
            --depth_;
            return inner; // "(A = 1) or (A = 2)" gathers like "A = 1 or A = 2"
        }
        const int pos = tok_.pos;
        Term t = comparison();
        params_ += int(t.params.size());
        if (params_ > kMaxParameters)
            fail(pos, QStringLiteral("filtr má příliš mnoho podmínek (nejvýše %1 hodnot)")
                          .arg(kMaxParameters));
        return t;
    }

    // "Field op value": a text with the collation of the table, a number of four places on
    // money and quantity fields (compared with the half-units around it, so a stored 0.30000001
    // and a computed 0.1 + 0.2 are both 0.3), a date, a logical value.
    Term comparison() {
        Term t;
        if (tok_.type != Tok::Ident) fail(tok_.pos, QStringLiteral("očekává se název pole"));
        const FieldDef* f = def_.field(tok_.text);
        if (!f) fail(tok_.pos, QStringLiteral("neznámé pole '%1'").arg(tok_.text));
        QString col = sqlIdentifier(f->name);
        advance();
        if (isKeyword("is")) {
            advance();
            bool negate = false;
            if (isKeyword("not")) {
                negate = true;
                advance();
            }
            if (!isKeyword("null")) fail(tok_.pos, QStringLiteral("očekává se null"));
            advance();
            t.sql = col + (negate ? QLatin1String(" IS NOT NULL") : QLatin1String(" IS NULL"));
            return t;
        }
        if (tok_.type != Tok::Op) fail(tok_.pos, QStringLiteral("očekává se operátor porovnání"));
        QString op = tok_.text;
        advance();
        Token value = tok_;
        if (value.type != Tok::String && value.type != Tok::Number && value.type != Tok::Ident)
            fail(value.pos, QStringLiteral("očekává se hodnota"));
        bool isNull = value.type == Tok::Ident && isKeyword("null");
        bool isBool = value.type == Tok::Ident && (isKeyword("true") || isKeyword("false"));
        if (value.type == Tok::Ident && !isNull && !isBool)
            fail(value.pos, QStringLiteral("očekává se hodnota"));
        advance();

        if (isNull) {
            if (op == QLatin1String("="))
                t.sql = col + QLatin1String(" IS NULL");
            else if (op == QLatin1String("<>"))
                t.sql = col + QLatin1String(" IS NOT NULL");
            else
                t.sql = QStringLiteral("0");
            return t;
        }
        QString text = value.text;
        if (isTextKind(f->kind)) return textComparison(col, op, text);
        QVariant bound;
        FieldKind kind = f->kind;
        switch (f->kind) {
        case FieldKind::Logical: {
            QString v = text.trimmed().toUpper();
            if (v == QLatin1String("TRUE") || v == QLatin1String("T") || v == QLatin1String("1"))
                bound = 1;
            else if (v == QLatin1String("FALSE") || v == QLatin1String("F") ||
                     v == QLatin1String("0"))
                bound = 0;
            else
                fail(value.pos, QStringLiteral("'%1' není logická hodnota").arg(text));
            kind = FieldKind::LongInt;
            break;
        }
        case FieldKind::Date:
        case FieldKind::Timestamp: {
            QDate d = QDate::fromString(text.trimmed(), QStringLiteral("d.M.yyyy"));
            if (!d.isValid()) d = QDate::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd"));
            QDateTime dt;
            if (!d.isValid()) {
                dt = QDateTime::fromString(text.trimmed(), QStringLiteral("d.M.yyyy h:mm:ss"));
                if (!dt.isValid()) fail(value.pos, QStringLiteral("'%1' není datum").arg(text));
            }
            if (f->kind == FieldKind::Date) {
                bound = d.isValid() ? d : dt.date();
            } else {
                bound = d.isValid() ? QDateTime(d, QTime(0, 0)) : dt;
            }
            break;
        }
        case FieldKind::Time: {
            QTime tm = QTime::fromString(text.trimmed(), QStringLiteral("h:mm:ss"));
            if (!tm.isValid()) tm = QTime::fromString(text.trimmed(), QStringLiteral("h:mm"));
            if (!tm.isValid()) fail(value.pos, QStringLiteral("'%1' není čas").arg(text));
            bound = tm;
            break;
        }
        case FieldKind::Blob:
            fail(value.pos, QStringLiteral("pole '%1' nelze porovnávat").arg(f->name));
        default: {
            if (isBool) {
                bound = value.text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ? 1 : 0;
                kind = FieldKind::LongInt;
                break;
            }
            bool ok = false;
            QString v = text.trimmed();
            v.replace(QLatin1Char(','), QLatin1Char('.'));
            double d = v.toDouble(&ok);
            if (!ok || !std::isfinite(d))
                fail(value.pos, QStringLiteral("'%1' není číslo").arg(text));
            if (storedAtFourPlaces(*f)) {
                if (auto four = Decimal::parse(v)) return fourPlaces(col, op, *four);
            }
            bound = d;
            kind = FieldKind::Float;
        }
        }
        if (isBool && f->kind != FieldKind::Logical && !isNumericKind(f->kind))
            fail(value.pos, QStringLiteral("'%1' není hodnota pole %2").arg(value.text, f->name));
        t.add(bound, kind);
        if (op == QLatin1String("<>")) {
            t.sql = QStringLiteral("(%1 IS NULL OR %1 <> ?)").arg(col);
        } else {
            t.sql = QStringLiteral("%1 %2 ?").arg(col, op);
            if (op == QLatin1String("=")) t.inLhs = col;
        }
        return t;
    }

    Term textComparison(const QString& col, const QString& op, const QString& text) {
        Term t;
        // A blank text is NULL in the tables.
        if (text.isEmpty()) {
            if (op == QLatin1String("=")) {
                t.sql = col + QLatin1String(" IS NULL");
                return t;
            }
            if (op == QLatin1String("<>")) {
                t.sql = col + QLatin1String(" IS NOT NULL");
                return t;
            }
        }
        bool partial =
            !opt_.noPartialCompare && op == QLatin1String("=") && text.endsWith(QLatin1Char('*'));
        if (partial) {
            QString prefix = text.left(text.size() - 1);
            // "*" alone is any value, a blank one too.
            if (prefix.isEmpty()) {
                t.sql = QStringLiteral("1");
                return t;
            }
            if (opt_.caseInsensitive) {
                const QString folded = prefix.toLower();
                const QString test =
                    QStringLiteral("czech_fold(substr(%1, 1, %2)) = ?").arg(col).arg(prefix.size());
                // The fold decides; a range of the collation that holds every text it can
                // accept only lets an index skip the others.
                const auto range = folded.size() == prefix.size() ? czech::foldedPrefixRange(folded)
                                                                  : std::nullopt;
                if (range) {
                    t.add(range->from, FieldKind::Text);
                    t.add(range->to, FieldKind::Text);
                    t.sql =
                        QStringLiteral("(%1 >= ? COLLATE CZECH AND %1 < ? COLLATE CZECH AND %2)")
                            .arg(col, test);
                } else {
                    t.sql = test;
                }
                t.add(folded, FieldKind::Text);
                return t;
            }
            t.add(prefix, FieldKind::Text);
            t.sql = QStringLiteral("substr(%1, 1, %2) = ?").arg(col).arg(prefix.size());
            return t;
        }
        QString lhs = col;
        QString v = text;
        QString collate;
        if (opt_.caseInsensitive) {
            lhs = QStringLiteral("czech_fold(%1)").arg(col);
            v = text.toLower();
            collate = QStringLiteral(" COLLATE CZECH");
        }
        t.add(v, FieldKind::Text);
        if (op == QLatin1String("<>")) {
            t.sql = QStringLiteral("(%1 IS NULL OR %2 <> ?%3)").arg(col, lhs, collate);
            return t;
        }
        t.sql = QStringLiteral("%1 %2 ?%3").arg(lhs, op, collate);
        if (op == QLatin1String("=")) t.inLhs = lhs + collate;
        return t;
    }

    // v at four places: the stored values that round to it lie in [v - 0.00005, v + 0.00005).
    static Term fourPlaces(const QString& col, const QString& op, Decimal v) {
        Term t;
        const double low = double(v.raw() * 2 - 1) / double(2 * Decimal::kScale);
        const double high = double(v.raw() * 2 + 1) / double(2 * Decimal::kScale);
        if (op == QLatin1String("=")) {
            t.sql = QStringLiteral("(%1 >= ? AND %1 < ?)").arg(col);
            t.add(low, FieldKind::Float);
            t.add(high, FieldKind::Float);
        } else if (op == QLatin1String("<>")) {
            t.sql = QStringLiteral("(%1 IS NULL OR %1 < ? OR %1 >= ?)").arg(col);
            t.add(low, FieldKind::Float);
            t.add(high, FieldKind::Float);
        } else if (op == QLatin1String("<")) {
            t.sql = col + QLatin1String(" < ?");
            t.add(low, FieldKind::Float);
        } else if (op == QLatin1String("<=")) {
            t.sql = col + QLatin1String(" < ?");
            t.add(high, FieldKind::Float);
        } else if (op == QLatin1String(">")) {
            t.sql = col + QLatin1String(" >= ?");
            t.add(high, FieldKind::Float);
        } else {
            t.sql = col + QLatin1String(" >= ?");
            t.add(low, FieldKind::Float);
        }
        return t;
    }

    const QString& src_;
    const TableDef& def_;
    FilterOptions opt_;
    int i_ = 0;
    int depth_ = 0;
    int params_ = 0;
    Token tok_;
};

} // namespace

SqlCondition translateFilter(const QString& expression, const TableDef& table,
                             const FilterOptions& options) {
    if (expression.trimmed().isEmpty()) return SqlCondition();
    Parser p(expression, table, options);
    return p.parse();
}

} // namespace brix
