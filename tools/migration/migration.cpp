#include "migration.h"

#include "bulk_insert.h"
#include "catalogue.h"
#include "codec.h"
#include "database.h"
#include "formats/table.h"
#include "util/path_resolver.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <cmath>
#include <memory>

namespace brix::migration {

namespace fmt = brix::formats;

namespace {

// The code lists a new data root starts with (the document kinds, the first numbers, the
// warehouse, the settings rows): the old root's rows replace them.
const QStringList kVychoziTabulky = {
    QStringLiteral("ciselnik\\druhy_uctu"), QStringLiteral("ciselnik\\cis_uctu"),
    QStringLiteral("ciselnik\\sklady"), QStringLiteral("nastaven\\nast_pr")};

// Detail lines of one kind per table in the protocol; the rest are counted.
constexpr int kDetailLimit = 100;

enum class Problem { None, Cut, UnreadableDate, Unfit };

bool isDateKind(FieldKind k) {
    return k == FieldKind::Date || k == FieldKind::Timestamp;
}

bool isIntegerSource(fmt::FieldKind k) {
    return k == fmt::FieldKind::Short || k == fmt::FieldKind::Long || k == fmt::FieldKind::AutoInc;
}

bool isNumberSource(fmt::FieldKind k) {
    return isIntegerSource(k) || k == fmt::FieldKind::Float || k == fmt::FieldKind::Money ||
           k == fmt::FieldKind::Bcd;
}

bool isDateSource(fmt::FieldKind k) {
    return k == fmt::FieldKind::Date || k == fmt::FieldKind::Timestamp || k == fmt::FieldKind::Time;
}

// A value read from text by the storage's own reading of the field kind; nullopt when it does
// not read.
std::optional<QVariant> parsed(const QString& text, const FieldDef& to) {
    try {
        return toFieldValue(text, to);
    } catch (const StorageError&) {
        return std::nullopt;
    }
}

// The value of an old field for a field of the catalogue. What does not fit is blank (or cut,
// for a text) and named by *problem.
QVariant convert(const QVariant& v, fmt::FieldKind from, const FieldDef& to, Problem* problem) {
    *problem = Problem::None;
    if (!v.isValid() || v.isNull()) return {};
    const auto unfit = [&] {
        *problem = isDateKind(to.kind) ? Problem::UnreadableDate : Problem::Unfit;
        return QVariant();
    };
    const bool binary = fmt::isBinaryKind(from);
    switch (to.kind) {
    case FieldKind::Text:
    case FieldKind::Memo:
    case FieldKind::FormattedMemo: {
        if (binary) return unfit();
        QString s = fmt::isTextKind(from) ? v.toString() : fmt::fieldText(v, from);
        if (to.kind != FieldKind::Text) return s;
        qsizetype n = s.size();
        while (n > 0 && s[n - 1] == QLatin1Char(' '))
            --n;
        s.truncate(n);
        if (to.size > 0 && s.size() > to.size) {
            *problem = Problem::Cut;
            s.truncate(to.size);
        }
        return s;
    }
    case FieldKind::SmallInt:
    case FieldKind::LongInt:
    case FieldKind::AutoInc: {
        qint64 n = 0;
        if (isIntegerSource(from)) {
            n = v.toLongLong();
        } else if (isNumberSource(from)) {
            const double d = v.toDouble();
            if (!std::isfinite(d) || std::fabs(d) > 9e15 || d != std::round(d)) return unfit();
            n = qint64(d);
        } else if (from == fmt::FieldKind::Logical) {
            n = v.toBool() ? 1 : 0;
        } else if (fmt::isTextKind(from)) {
            const auto p = parsed(v.toString(), to);
            if (!p) return unfit();
            if (p->isNull()) return {};
            n = p->toLongLong();
            if (QString::number(n) != v.toString().trimmed()) return unfit(); // "12,5", "1e3"
        } else {
            return unfit();
        }
        if (to.kind == FieldKind::SmallInt && (n < -32768 || n > 32767)) return unfit();
        return n;
    }
    case FieldKind::Float:
    case FieldKind::Money: {
        if (isNumberSource(from)) {
            const double d = v.toDouble();
            return std::isfinite(d) ? QVariant(d) : unfit();
        }
        if (fmt::isTextKind(from)) {
            const auto p = parsed(v.toString(), to);
            return p ? *p : unfit();
        }
        return unfit();
    }
    case FieldKind::Logical:
        if (from == fmt::FieldKind::Logical) return v.toBool();
        if (isNumberSource(from)) return v.toDouble() != 0;
        if (fmt::isTextKind(from)) {
            const auto p = parsed(v.toString(), to);
            return p ? *p : unfit();
        }
        return unfit();
    case FieldKind::Date:
    case FieldKind::Time:
    case FieldKind::Timestamp: {
        if (isDateSource(from)) {
            if (to.kind == FieldKind::Date && from == fmt::FieldKind::Time) return unfit();
            if (to.kind == FieldKind::Time && from == fmt::FieldKind::Date) return unfit();
            return toFieldValue(v, to);
        }
        if (fmt::isTextKind(from)) {
            const auto p = parsed(v.toString(), to);
            return p ? *p : unfit();
        }
        return unfit();
    }
    case FieldKind::Blob:
        if (binary) return v.toByteArray();
        if (fmt::isTextKind(from)) return brix::encode(v.toString());
        return unfit();
    }
    return unfit();
}

QString shown(const QVariant& v, fmt::FieldKind kind) {
    if (fmt::isBinaryKind(kind)) return QStringLiteral("(%1 bajtů)").arg(v.toByteArray().size());
    QString s = fmt::fieldText(v, kind);
    if (s.size() > 60) s = s.left(60) + QStringLiteral("…");
    return s.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

// A table found in the old root, opened.
struct Source {
    const TableDef* def = nullptr; // the catalogue's (or the run-time definition below)
    std::optional<TableDef> extra; // a table the system makes at run time
    QString relative;              // the old file, relative to the old root
    QString directory, file;       // as the catalogue spells them
    std::unique_ptr<fmt::TableReader> reader;
};

// A file of a catalogue directory to copy.
struct CopiedFile {
    QString relative; // as the target spells it
    QByteArray bytes;
};

bool copiedSuffix(const QString& name) {
    const QString s = QFileInfo(name).suffix().toLower();
    return s == QLatin1String("txt") || s == QLatin1String("ini") || s == QLatin1String("pts");
}

class Migration {
public:
    Migration(const QString& oldRoot, Database& db, const Options& o)
        : old_(QDir(oldRoot).absolutePath()), db_(db), options_(o) {}

    Result run();

private:
    bool checkTarget();
    bool scan();
    bool openSource(Source& s);
    bool readFiles();
    bool copyTable(Source& s, int number, TableResult& r, QStringList& protocol);
    void writeFiles();
    void writeProtocol(const QStringList& tableLines);
    bool fail(const QString& message) {
        result_.error = message;
        return false;
    }

    QString old_;
    Database& db_;
    const Options& options_;
    Result result_;
    std::vector<Source> sources_;
    QList<CopiedFile> files_;
    qint64 total_ = 0, done_ = 0;
    QDateTime started_ = QDateTime::currentDateTime();
};

bool Migration::checkTarget() {
    const QString root = db_.root();
    if (QDir(root).absolutePath() == old_)
        return fail(QStringLiteral("Nová datová složka je totožná se starou."));
    const ResolvedPath protocol = resolvePath(root, kProtokol);
    if (protocol.exists)
        return fail(QStringLiteral("Do datové složky „%1“ už byla data převedena (protokol %2). "
                                   "Druhý převod by záznamy zdvojil, proto se nespustí.")
                        .arg(QDir::toNativeSeparators(root), kProtokol));
    for (const TableDef& t : db_.catalogue().tables()) {
        if (kVychoziTabulky.contains(Catalogue::normalizeAddress(t.address()))) continue;
        const qint64 n = countRecords(db_, t);
        if (n > 0)
            return fail(QStringLiteral("Datová složka „%1“ už obsahuje data (tabulka %2: %3 "
                                       "záznamů). Data se převádějí jen do nové nebo prázdné "
                                       "datové složky.")
                            .arg(QDir::toNativeSeparators(root), t.address())
                            .arg(n));
    }
    return true;
}

bool Migration::openSource(Source& s) {
    const QString path = QDir(old_).filePath(s.relative);
    QString error;
    bool refused = false;
    // A protected table opens with the table password; another password is asked for.
    for (const QString& password : {QString(), kHesloTabulek}) {
        s.reader = fmt::openTable(path, password, &error, &refused);
        if (s.reader || !refused) break;
    }
    while (!s.reader && refused && options_.askPassword) {
        const QString password = options_.askPassword(path);
        if (password.isEmpty()) break;
        s.reader = fmt::openTable(path, password, &error, &refused);
    }
    if (!s.reader)
        return fail(QStringLiteral("Tabulku %1 nelze převést: %2").arg(s.relative, error));
    total_ += s.reader->recordCount();
    return true;
}

bool Migration::scan() {
    const QStringList directories = Catalogue::dataDirectories() + Catalogue::otherDirectories();
    QSet<QString> found;
    for (const QString& directory : directories) {
        const ResolvedPath dir = resolvePath(old_, directory);
        if (!dir.exists || !dir.isDir) continue;
        const QString relativeDir = QDir(old_).relativeFilePath(dir.path);
        const QStringList entries = QDir(dir.path).entryList(QDir::Files, QDir::Name);
        for (const QString& name : entries) {
            const QFileInfo fi(name);
            const QString relative = relativeDir + QLatin1Char('/') + name;
            if (copiedSuffix(name)) {
                files_.push_back({directory + QLatin1Char('/') + name, {}});
                continue;
            }
            if (fi.suffix().compare(QLatin1String("db"), Qt::CaseInsensitive) != 0) continue;
            Source s;
            s.relative = relative;
            s.directory = directory;
            s.file = fi.completeBaseName();
            s.def = db_.catalogue().find(directory + QLatin1Char('\\') + s.file);
            if (!s.def && options_.extraTable) s.extra = options_.extraTable(directory, s.file);
            if (!s.def && !s.extra) {
                result_.unknownTables << relative;
                continue;
            }
            if (s.def) {
                if (found.contains(s.def->sqlName)) {
                    result_.unknownTables << relative; // a second spelling of one table
                    continue;
                }
                found.insert(s.def->sqlName);
            }
            sources_.push_back(std::move(s));
        }
    }
    for (const TableDef& t : db_.catalogue().tables())
        if (!found.contains(t.sqlName)) result_.missingTables << t.address();
    // The INI files beside the tables, in the root itself (the report engine's).
    for (const QString& name : QDir(old_).entryList(QDir::Files, QDir::Name))
        if (QFileInfo(name).suffix().compare(QLatin1String("ini"), Qt::CaseInsensitive) == 0)
            files_.push_back({name, {}});
    for (Source& s : sources_)
        if (!openSource(s)) return false;
    return true;
}

bool Migration::readFiles() {
    for (CopiedFile& f : files_) {
        const QString path = resolvedFilePath(old_, f.relative);
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            return fail(
                QStringLiteral("Soubor %1 nelze přečíst: %2").arg(f.relative, in.errorString()));
        f.bytes = in.readAll();
    }
    return true;
}

bool Migration::copyTable(Source& s, int number, TableResult& r, QStringList& protocol) {
    const TableDef& def = s.def ? *s.def : db_.defineTable(*s.extra);
    r.address = def.address();
    r.file = s.relative;
    if (kVychoziTabulky.contains(Catalogue::normalizeAddress(def.address())))
        deleteAllRecords(db_, def);
    fmt::TableReader& reader = *s.reader;
    const QList<fmt::FieldDef>& sourceFields = reader.fields();
    QVector<int> sourceOf(def.fields.size(), -1);
    for (int i = 0; i < sourceFields.size(); ++i) {
        const int target = def.fieldIndex(sourceFields[i].name);
        if (target < 0 || sourceOf[target] >= 0)
            r.unknownFields << sourceFields[i].name;
        else
            sourceOf[target] = i;
    }
    QStringList details;
    for (const QString& f : r.unknownFields)
        details << QStringLiteral("  pole %1 katalog nezná, nepřevedeno").arg(f);
    for (int i = 0; i < def.fields.size(); ++i)
        if (sourceOf[i] < 0)
            details << QStringLiteral("  pole %1 ve staré tabulce není, zůstává prázdné")
                           .arg(def.fields[i].name);

    QVector<int> keyFields;
    for (const QString& k : def.primaryKey)
        keyFields << def.fieldIndex(k);
    QSet<QString> keys;
    BulkInsert insert(db_, def);
    Progress p;
    p.table = def.address();
    p.tableNumber = number;
    p.tables = int(sources_.size());
    p.tableTotal = reader.recordCount();
    p.total = total_;
    int lines = 0;
    const auto detail = [&](const QString& line) {
        if (++lines <= kDetailLimit) details << line;
    };

    // The progress after `read` records of the table; false when it cancels the migration.
    const auto reported = [&](qint64 read) {
        if (!options_.progress) return true;
        p.tableDone = read;
        p.done = done_;
        if (options_.progress(p)) return true;
        result_.cancelled = true;
        return fail(QStringLiteral("Převod byl přerušen; nová datová složka zůstala beze změny."));
    };

    fmt::Record record;
    QVector<QVariant> values(def.fields.size());
    qint64 n = 0;
    while (reader.next(&record)) {
        ++n;
        ++done_;
        const QList<int> unreadable = reader.unreadableFields();
        for (int i = 0; i < def.fields.size(); ++i) {
            const int si = sourceOf[i];
            values[i] = QVariant();
            if (si < 0) continue;
            const FieldDef& f = def.fields[i];
            if (unreadable.contains(si)) {
                if (isDateKind(f.kind)) {
                    ++r.unreadableDates;
                    detail(QStringLiteral("  věta %1, pole %2: nečitelné datum, ponecháno prázdné")
                               .arg(n)
                               .arg(f.name));
                } else {
                    ++r.unfitValues;
                    detail(QStringLiteral("  věta %1, pole %2: nečitelná hodnota, ponecháno "
                                          "prázdné")
                               .arg(n)
                               .arg(f.name));
                }
                continue;
            }
            Problem problem;
            values[i] = convert(record.value(si), sourceFields[si].kind, f, &problem);
            switch (problem) {
            case Problem::None:
                break;
            case Problem::Cut:
                ++r.cutTexts;
                detail(QStringLiteral("  věta %1, pole %2: text delší než %3 znaků zkrácen na "
                                      "„%4“")
                           .arg(n)
                           .arg(f.name)
                           .arg(f.size)
                           .arg(values[i].toString()));
                break;
            case Problem::UnreadableDate:
                ++r.unreadableDates;
                detail(QStringLiteral("  věta %1, pole %2: nečitelné datum „%3“, ponecháno "
                                      "prázdné")
                           .arg(n)
                           .arg(f.name, shown(record.value(si), sourceFields[si].kind)));
                break;
            case Problem::Unfit:
                ++r.unfitValues;
                detail(QStringLiteral("  věta %1, pole %2: hodnotu „%3“ nelze do pole převést, "
                                      "ponecháno prázdné")
                           .arg(n)
                           .arg(f.name, shown(record.value(si), sourceFields[si].kind)));
                break;
            }
        }
        if (!keyFields.isEmpty()) {
            QStringList parts;
            for (int k : keyFields) {
                const QVariant v = toFieldValue(values[k], def.fields[k]);
                parts << (v.isNull() ? QStringLiteral("\x1e") : v.toString());
            }
            const QString key = parts.join(QChar(0x1f));
            if (keys.contains(key)) {
                ++r.skipped;
                parts.replaceInStrings(QStringLiteral("\x1e"), QString());
                detail(QStringLiteral("  věta %1: klíč %2 už měla dřívější věta, vynechána")
                           .arg(n)
                           .arg(parts.join(QStringLiteral(", "))));
                continue;
            }
            keys.insert(key);
        }
        insert.insert(values);
        ++r.records;
        if (n % 256 == 0 && !reported(n)) return false;
    }
    if (!reader.errorString().isEmpty())
        return fail(
            QStringLiteral("Tabulku %1 nelze převést: %2").arg(s.relative, reader.errorString()));
    if (lines > kDetailLimit)
        details << QStringLiteral("  … a dalších %1 nálezů").arg(lines - kDetailLimit);
    protocol << QStringLiteral("%1 (%2): %3 záznamů").arg(r.address, r.file).arg(r.records);
    protocol << details;
    return reported(n);
}

void Migration::writeFiles() {
    for (const CopiedFile& f : files_) {
        const ResolvedPath target = resolvePath(db_.root(), f.relative);
        if (!target.ok()) {
            result_.fileErrors << QStringLiteral("%1: %2").arg(f.relative, target.error);
            continue;
        }
        QDir().mkpath(QFileInfo(target.path).absolutePath());
        QSaveFile out(target.path);
        if (!out.open(QIODevice::WriteOnly) || out.write(f.bytes) != f.bytes.size() ||
            !out.commit()) {
            result_.fileErrors << QStringLiteral("%1: %2").arg(f.relative, out.errorString());
            continue;
        }
        result_.copiedFiles << f.relative;
    }
}

void Migration::writeProtocol(const QStringList& tableLines) {
    QStringList lines;
    lines << QStringLiteral("Převod dat ze staré datové složky")
          << QStringLiteral("Stará složka: %1").arg(QDir::toNativeSeparators(old_))
          << QStringLiteral("Nová složka: %1").arg(QDir::toNativeSeparators(db_.root()))
          << QStringLiteral("Začátek: %1")
                 .arg(started_.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")))
          << QStringLiteral("Konec: %1")
                 .arg(QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")))
          << QString();
    lines << tableLines << QString();
    if (!result_.unknownTables.isEmpty()) {
        lines << QStringLiteral("Tabulky, které katalog nezná (nepřevedeny):");
        for (const QString& t : result_.unknownTables)
            lines << QStringLiteral("  ") + t;
    }
    if (!result_.missingTables.isEmpty()) {
        lines << QStringLiteral("Tabulky katalogu, které ve staré složce nejsou (zůstávají "
                                "prázdné nebo výchozí):");
        for (const QString& t : result_.missingTables)
            lines << QStringLiteral("  ") + t;
    }
    lines << QStringLiteral("Zkopírované soubory:");
    for (const QString& f : result_.copiedFiles)
        lines << QStringLiteral("  ") + f;
    for (const QString& f : result_.fileErrors)
        lines << QStringLiteral("  nelze zapsat ") + f;
    lines << QString() << result_.summary();
    result_.protocolPath = resolvedFilePath(db_.root(), kProtokol);
    QString error;
    if (!writeTextLines(result_.protocolPath, lines, &error)) result_.fileErrors << error;
}

Result Migration::run() {
    if (!QFileInfo(old_).isDir()) {
        fail(QStringLiteral("Stará datová složka „%1“ neexistuje.")
                 .arg(QDir::toNativeSeparators(old_)));
        return result_;
    }
    try {
        if (!checkTarget() || !scan() || !readFiles()) return result_;
        if (sources_.empty()) {
            fail(QStringLiteral("Ve složce „%1“ není žádná tabulka katalogu; nejde o starou "
                                "datovou složku.")
                     .arg(QDir::toNativeSeparators(old_)));
            return result_;
        }
        QStringList tableLines;
        {
            Database::Transaction tx(db_);
            int number = 0;
            for (Source& s : sources_) {
                TableResult r;
                if (!copyTable(s, ++number, r, tableLines)) return result_;
                result_.tables << r;
            }
            tx.commit();
        }
        result_.ok = true;
        writeFiles();
        writeProtocol(tableLines);
    } catch (const StorageError& e) {
        result_.tables.clear();
        result_.ok = false;
        fail(QStringLiteral("Převod se nezdařil, nová datová složka zůstala beze změny: %1")
                 .arg(e.message()));
    }
    return result_;
}

} // namespace

namespace {

template <typename T> qint64 total(const QList<TableResult>& tables, T TableResult::*count) {
    qint64 n = 0;
    for (const TableResult& t : tables)
        n += t.*count;
    return n;
}

} // namespace

qint64 Result::records() const {
    return total(tables, &TableResult::records);
}

qint64 Result::cutTexts() const {
    return total(tables, &TableResult::cutTexts);
}

qint64 Result::unreadableDates() const {
    return total(tables, &TableResult::unreadableDates);
}

qint64 Result::unfitValues() const {
    return total(tables, &TableResult::unfitValues);
}

qint64 Result::skipped() const {
    return total(tables, &TableResult::skipped);
}

int Result::unknownFields() const {
    int n = 0;
    for (const TableResult& t : tables)
        n += int(t.unknownFields.size());
    return n;
}

QStringList Result::summary() const {
    QStringList lines;
    for (const TableResult& t : tables)
        lines << QStringLiteral("  %1: %2 záznamů").arg(t.address).arg(t.records);
    lines
        << QStringLiteral("Převedeno %1 záznamů v %2 tabulkách.").arg(records()).arg(tables.size());
    lines << QStringLiteral("Zkrácené texty: %1, nečitelná data: %2, nepřevoditelné hodnoty: %3, "
                            "vynechané věty: %4.")
                 .arg(cutTexts())
                 .arg(unreadableDates())
                 .arg(unfitValues())
                 .arg(skipped());
    QStringList fields;
    for (const TableResult& t : tables)
        for (const QString& f : t.unknownFields)
            fields << t.address + QLatin1Char('.') + f;
    lines << QStringLiteral("Neznámá pole: %1%2")
                 .arg(fields.size())
                 .arg(fields.isEmpty() ? QString()
                                       : QStringLiteral(" (%1)").arg(fields.join(", ")));
    lines << QStringLiteral("Neznámé tabulky: %1%2")
                 .arg(unknownTables.size())
                 .arg(unknownTables.isEmpty()
                          ? QString()
                          : QStringLiteral(" (%1)").arg(unknownTables.join(", ")));
    lines << QStringLiteral("Zkopírováno souborů: %1.").arg(copiedFiles.size());
    for (const QString& e : fileErrors)
        lines << QStringLiteral("Nelze zapsat: %1").arg(e);
    if (!protocolPath.isEmpty())
        lines << QStringLiteral("Protokol: %1").arg(QDir::toNativeSeparators(protocolPath));
    return lines;
}

Result migrateDataRoot(const QString& oldRoot, Database& target, const Options& options) {
    Migration m(oldRoot, target, options);
    return m.run();
}

} // namespace brix::migration
