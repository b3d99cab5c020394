#include "filter.h"

#include "storage_error.h"

#include <QDate>
#include <QDateTime>

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

class Parser {
public:
    Parser(const QString& src, const TableDef& def, const FilterOptions& opt)
        : src_(src), def_(def), opt_(opt) {
        advance();
    }

    SqlCondition parse() {
        SqlCondition c;
        c.sql = orExpr(c);
        if (tok_.type != Tok::End)
            fail(tok_.pos, QStringLiteral("nečekaný text '%1'").arg(tok_.text));
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

    QString orExpr(SqlCondition& c) {
        QString left = andExpr(c);
        while (isKeyword("or")) {
            advance();
            QString right = andExpr(c);
            left = QLatin1Char('(') + left + QLatin1String(" OR ") + right + QLatin1Char(')');
        }
        return left;
    }

    QString andExpr(SqlCondition& c) {
        QString left = notExpr(c);
        while (isKeyword("and")) {
            advance();
            QString right = notExpr(c);
            left = QLatin1Char('(') + left + QLatin1String(" AND ") + right + QLatin1Char(')');
        }
        return left;
    }

    QString notExpr(SqlCondition& c) {
        if (isKeyword("not")) {
            advance();
            return QLatin1String("NOT coalesce(") + notExpr(c) + QLatin1String(", 0)");
        }
        if (tok_.type == Tok::LParen) {
            advance();
            QString inner = orExpr(c);
            if (tok_.type != Tok::RParen) fail(tok_.pos, QStringLiteral("chybí )"));
            advance();
            return QLatin1Char('(') + inner + QLatin1Char(')');
        }
        return comparison(c);
    }

    QString comparison(SqlCondition& c) {
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
            return col + (negate ? QLatin1String(" IS NOT NULL") : QLatin1String(" IS NULL"));
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
            if (op == QLatin1String("=")) return col + QLatin1String(" IS NULL");
            if (op == QLatin1String("<>")) return col + QLatin1String(" IS NOT NULL");
            return QStringLiteral("0");
        }
        QString text = value.text;
        if (isTextKind(f->kind)) {
            // A blank text is NULL in the tables.
            if (text.isEmpty()) {
                if (op == QLatin1String("=")) return col + QLatin1String(" IS NULL");
                if (op == QLatin1String("<>")) return col + QLatin1String(" IS NOT NULL");
            }
            bool partial = !opt_.noPartialCompare && op == QLatin1String("=") &&
                           text.endsWith(QLatin1Char('*'));
            if (partial) {
                QString prefix = text.left(text.size() - 1);
                if (prefix.isEmpty()) return col + QLatin1String(" IS NOT NULL");
                if (opt_.caseInsensitive) {
                    c.add(prefix.toLower(), FieldKind::Text);
                    return QStringLiteral("czech_fold(substr(%1, 1, %2)) = ?")
                        .arg(col)
                        .arg(prefix.size());
                }
                c.add(prefix, FieldKind::Text);
                return QStringLiteral("substr(%1, 1, %2) = ?").arg(col).arg(prefix.size());
            }
            QString lhs = col;
            QString v = text;
            QString collate;
            if (opt_.caseInsensitive) {
                lhs = QStringLiteral("czech_fold(%1)").arg(col);
                v = text.toLower();
                collate = QStringLiteral(" COLLATE CZECH");
            }
            c.add(v, FieldKind::Text);
            if (op == QLatin1String("<>"))
                return QStringLiteral("(%1 IS NULL OR %2 <> ?%3)").arg(col, lhs, collate);
            return QStringLiteral("%1 %2 ?%3").arg(lhs, op, collate);
        }
        QVariant bound;
        FieldKind kind = f->kind;
        switch (f->kind) {
        case FieldKind::Logical: {
            QString t = text.trimmed().toUpper();
            if (t == QLatin1String("TRUE") || t == QLatin1String("T") || t == QLatin1String("1"))
                bound = 1;
            else if (t == QLatin1String("FALSE") || t == QLatin1String("F") ||
                     t == QLatin1String("0"))
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
            QTime t = QTime::fromString(text.trimmed(), QStringLiteral("h:mm:ss"));
            if (!t.isValid()) t = QTime::fromString(text.trimmed(), QStringLiteral("h:mm"));
            if (!t.isValid()) fail(value.pos, QStringLiteral("'%1' není čas").arg(text));
            bound = t;
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
            QString t = text.trimmed();
            t.replace(QLatin1Char(','), QLatin1Char('.'));
            double d = t.toDouble(&ok);
            if (!ok) fail(value.pos, QStringLiteral("'%1' není číslo").arg(text));
            bound = d;
            kind = FieldKind::Float;
        }
        }
        if (isBool && f->kind != FieldKind::Logical && !isNumericKind(f->kind))
            fail(value.pos, QStringLiteral("'%1' není hodnota pole %2").arg(value.text, f->name));
        c.add(bound, kind);
        if (op == QLatin1String("<>")) return QStringLiteral("(%1 IS NULL OR %1 <> ?)").arg(col);
        return QStringLiteral("%1 %2 ?").arg(col, op);
    }

    const QString& src_;
    const TableDef& def_;
    FilterOptions opt_;
    int i_ = 0;
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
