#include "query.h"

#include "catalogue.h"

#include <sqlite3.h>

namespace brix {

namespace {

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('\\') ||
           c == QLatin1Char('/') || c == QLatin1Char('.') || c == QLatin1Char('$');
}

// Words that end a list of tables.
bool endsTableList(const QString& upperWord) {
    static const QStringList words = {"WHERE",     "GROUP", "ORDER", "HAVING", "UNION",   "LIMIT",
                                      "ON",        "USING", "SET",   "VALUES", "SELECT",  "EXCEPT",
                                      "INTERSECT", "LEFT",  "RIGHT", "INNER",  "OUTER",   "CROSS",
                                      "NATURAL",   "FULL",  "JOIN",  "AS",     "DEFAULT", "WINDOW"};
    return words.contains(upperWord);
}

QString quotedSql(const QString& id) {
    QString s = id;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

} // namespace

QString translateTableNames(const QString& sql, const Database& db,
                            const QString& workingDirectory) {
    QString out;
    out.reserve(sql.size() + 32);
    const int n = int(sql.size());
    int i = 0;
    // expect: the next name is a table; inList: a comma brings another table (FROM a, b)
    bool expect = false, inList = false, afterTable = false;
    int listDepth = 0, depth = 0;
    auto tableName = [&](const QString& address) -> QString {
        const TableDef* t = db.findTable(address, workingDirectory);
        if (!t && !workingDirectory.isEmpty()) t = db.findTable(address);
        if (!t)
            throw StorageError(StorageErrorKind::NotFound,
                               QStringLiteral("Tabulka %1 neexistuje").arg(address), address);
        return quotedSql(t->sqlName);
    };
    while (i < n) {
        QChar c = sql[i];
        if (c.isSpace()) {
            out += c;
            ++i;
            continue;
        }
        if (c == QLatin1Char('\'')) { // string literal, '' inside
            int j = i + 1;
            while (j < n) {
                if (sql[j] == QLatin1Char('\'')) {
                    if (j + 1 < n && sql[j + 1] == QLatin1Char('\'')) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += sql.mid(i, j + 1 - i);
            i = j + 1;
            expect = false;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            int j = sql.indexOf(QLatin1Char('\n'), i);
            if (j < 0) j = n;
            out += sql.mid(i, j - i);
            i = j;
            continue;
        }
        if (c == QLatin1Char('"')) {
            int j = sql.indexOf(QLatin1Char('"'), i + 1);
            if (j < 0) j = n - 1;
            QString inner = sql.mid(i + 1, j - i - 1);
            if (expect) {
                out += tableName(inner);
                expect = false;
                afterTable = true;
            } else {
                out += sql.mid(i, j + 1 - i);
            }
            i = j + 1;
            continue;
        }
        if (isWordChar(c)) {
            int j = i;
            while (j < n && isWordChar(sql[j]))
                ++j;
            QString word = sql.mid(i, j - i);
            QString upper = word.toUpper();
            i = j;
            if (upper == QLatin1String("FROM")) {
                out += word;
                expect = true;
                inList = true;
                listDepth = depth;
                afterTable = false;
                continue;
            }
            if (upper == QLatin1String("JOIN") || upper == QLatin1String("INTO") ||
                upper == QLatin1String("UPDATE")) {
                out += word;
                expect = true;
                inList = upper == QLatin1String("JOIN") ? inList : false;
                afterTable = false;
                continue;
            }
            if (expect && !word.startsWith(QLatin1Char(':')) && !endsTableList(upper)) {
                out += tableName(word);
                expect = false;
                afterTable = true;
                continue;
            }
            if (inList && endsTableList(upper) && upper != QLatin1String("AS") &&
                upper != QLatin1String("JOIN") && upper != QLatin1String("LEFT") &&
                upper != QLatin1String("INNER") && upper != QLatin1String("OUTER") &&
                upper != QLatin1String("CROSS") && upper != QLatin1String("NATURAL") &&
                upper != QLatin1String("RIGHT") && upper != QLatin1String("FULL"))
                inList = false;
            expect = false;
            out += word;
            continue;
        }
        if (c == QLatin1Char('(')) {
            ++depth;
            expect = false; // FROM (SELECT ...)
        } else if (c == QLatin1Char(')')) {
            if (depth == listDepth) inList = false;
            --depth;
        } else if (c == QLatin1Char(',')) {
            if (inList && depth == listDepth && afterTable) expect = true;
        } else if (c == QLatin1Char(':')) {
            // a parameter: copy the name through
            int j = i + 1;
            while (j < n && (sql[j].isLetterOrNumber() || sql[j] == QLatin1Char('_')))
                ++j;
            out += sql.mid(i, j - i);
            i = j;
            continue;
        } else if (c == QLatin1Char(';')) {
            inList = false;
            expect = false;
        }
        out += c;
        ++i;
    }
    return out;
}

Query::Query(Database& db, const QString& sql, const QString& workingDirectory)
    : db_(db), sql_(sql), workDir_(workingDirectory) {}

void Query::setSql(const QString& sql) {
    close();
    sql_ = sql;
}

QString Query::translatedSql() const {
    return translateTableNames(sql_, db_, workDir_);
}

void Query::setParam(const QString& name, const QVariant& value) {
    QString key = name.startsWith(QLatin1Char(':')) ? name.mid(1) : name;
    params_.insert(key.toUpper(), value);
}

Statement Query::prepareBound() {
    Statement st = db_.prepare(translatedSql());
    const int count = st.parameterCount();
    for (int p = 1; p <= count; ++p) {
        const char* raw = sqlite3_bind_parameter_name(st.handle(), p);
        QString name = raw ? QString::fromUtf8(raw).mid(1).toUpper() : QString();
        auto it = params_.constFind(name);
        if (name.isEmpty() || it == params_.constEnd())
            throw StorageError(StorageErrorKind::NotFound,
                               QStringLiteral("Parametr %1 dotazu nemá hodnotu")
                                   .arg(name.isEmpty() ? QStringLiteral("?") : name));
        st.bindPlain(p, it.value());
    }
    return st;
}

void Query::open() {
    close();
    Statement st = prepareBound();
    const int cols = st.columnCount();
    fields_.resize(cols);
    QVector<bool> known(cols, false);
    for (int c = 0; c < cols; ++c) {
        FieldDef& f = fields_[c];
        f.name = st.columnName(c);
        QString decl = st.columnDeclType(c);
        bool k = false;
        f.kind = kindOfDeclType(decl, &k);
        known[c] = k && !decl.isEmpty();
        int open = decl.indexOf(QLatin1Char('('));
        if (open >= 0)
            f.size = decl.mid(open + 1, decl.indexOf(QLatin1Char(')')) - open - 1).toInt();
    }
    // Columns without a declared type (sums, expressions) take the type of their first value.
    QVector<bool> typed = known;
    while (st.step()) {
        QVector<QVariant> row(cols);
        for (int c = 0; c < cols; ++c) {
            if (!typed[c] && !st.isNull(c)) {
                switch (sqlite3_column_type(st.handle(), c)) {
                case SQLITE_INTEGER:
                    fields_[c].kind = FieldKind::LongInt;
                    break;
                case SQLITE_FLOAT:
                    fields_[c].kind = FieldKind::Float;
                    break;
                case SQLITE_BLOB:
                    fields_[c].kind = FieldKind::Blob;
                    break;
                default:
                    fields_[c].kind = FieldKind::Memo;
                    break;
                }
                typed[c] = true;
            }
            if (typed[c]) {
                row[c] = st.column(c, fields_[c].kind);
            } else {
                row[c] = QVariant();
            }
        }
        rows_.push_back(std::move(row));
    }
    // An untyped column whose first values were blank: read the rest plainly.
    for (int c = 0; c < cols; ++c)
        if (!known[c])
            for (auto& row : rows_)
                if (row[c].isValid() && fields_[c].kind == FieldKind::LongInt &&
                    row[c].typeId() == QMetaType::Double)
                    fields_[c].kind = FieldKind::Float;
    active_ = true;
    first();
}

void Query::close() {
    active_ = false;
    rows_.clear();
    fields_.clear();
    pos_ = 0;
    eof_ = bof_ = true;
}

int Query::execute() {
    close();
    Statement st = prepareBound();
    st.exec();
    db_.noteWrite();
    return sqlite3_changes(db_.handle());
}

void Query::first() {
    pos_ = 0;
    bof_ = true;
    eof_ = rows_.isEmpty();
}

void Query::next() {
    bof_ = false;
    if (pos_ + 1 < rows_.size())
        ++pos_;
    else
        eof_ = true;
}

void Query::prior() {
    eof_ = false;
    if (pos_ > 0)
        --pos_;
    else
        bof_ = true;
}

void Query::last() {
    // As with a table: after the last record, eof is true.
    pos_ = rows_.isEmpty() ? 0 : int(rows_.size()) - 1;
    eof_ = true;
    bof_ = rows_.isEmpty();
}

int Query::fieldIndex(const QString& name) const {
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant Query::fieldValue(int index) const {
    if (rows_.isEmpty() || index < 0 || index >= fields_.size()) return QVariant();
    return rows_[pos_][index];
}

void Query::setFieldValue(int, const QVariant&) {
    throw StorageError(StorageErrorKind::State, QStringLiteral("Výsledek dotazu nelze měnit"),
                       sourceName());
}

Field Query::field(const QString& name) {
    int i = fieldIndex(name);
    if (i < 0)
        throw StorageError(StorageErrorKind::NotFound,
                           QStringLiteral("Pole %1 ve výsledku dotazu neexistuje").arg(name),
                           sourceName(), name);
    return Field(this, i);
}

} // namespace brix
