#include "table_export.h"

#include "formats/xlsx_export.h"

#include <QDir>

namespace brix::exporting {

namespace {

formats::FieldKind targetKind(FieldKind k) {
    switch (k) {
    case FieldKind::Text:
        return formats::FieldKind::Text;
    case FieldKind::SmallInt:
        return formats::FieldKind::Short;
    case FieldKind::LongInt:
        return formats::FieldKind::Long;
    case FieldKind::AutoInc:
        return formats::FieldKind::AutoInc;
    case FieldKind::Float:
        return formats::FieldKind::Float;
    case FieldKind::Money:
        return formats::FieldKind::Money;
    case FieldKind::Logical:
        return formats::FieldKind::Logical;
    case FieldKind::Date:
        return formats::FieldKind::Date;
    case FieldKind::Time:
        return formats::FieldKind::Time;
    case FieldKind::Timestamp:
        return formats::FieldKind::Timestamp;
    case FieldKind::Memo:
        return formats::FieldKind::Memo;
    case FieldKind::FormattedMemo:
        return formats::FieldKind::FormattedMemo;
    case FieldKind::Blob:
        return formats::FieldKind::Blob;
    }
    return formats::FieldKind::Text;
}

formats::Record record(const Table& t) {
    formats::Record r;
    r.reserve(t.fieldCount());
    for (int i = 0; i < t.fieldCount(); ++i)
        r.push_back(t.fieldValue(i));
    return r;
}

// Puts a cursor back where it was, whatever happens in between.
struct KeepPosition {
    Table& t;
    Table::Bookmark b;
    explicit KeepPosition(Table& table) : t(table), b(table.bookmark()) {}
    ~KeepPosition() {
        try {
            if (b) t.gotoBookmark(b);
        } catch (...) {
        }
    }
};

} // namespace

QList<formats::FieldDef> targetFields(const Table& t) {
    QList<formats::FieldDef> out;
    for (int i = 0; i < t.fieldCount(); ++i) {
        const FieldDef& f = t.fieldDef(i);
        out.push_back({f.name, targetKind(f.kind),
                       isTextKind(f.kind) && f.kind == FieldKind::Text ? f.size : 0, f.decimals});
    }
    return out;
}

QString componentName(const TableDef& t) {
    QString n = t.file;
    n.remove(QLatin1Char('_'));
    if (!n.isEmpty()) n[0] = n[0].toUpper();
    return QStringLiteral("Table") + n;
}

Result exportTables(Format format, const QString& dir, Table& master, Table* detail,
                    const Progress& progress, const Names& names) {
    Result res;
    if (!QDir().mkpath(dir)) {
        res.error = QStringLiteral("Adresář %1 nelze vytvořit.").arg(dir);
        return res;
    }
    KeepPosition keep(master);
    const QString name = names.master.isEmpty() ? componentName(master.def()) : names.master;
    if (format == Format::Text) {
        master.first();
        formats::RecordSource source = [&](formats::Record* r, QString*) {
            if (master.eof()) return false;
            *r = record(master);
            master.next();
            return true;
        };
        formats::ExportResult r = formats::exportTable(
            formats::ExportFormat::Text, dir, name, targetFields(master), source,
            progress ? formats::ExportProgress([&](qint64 n) { return progress(n); })
                     : formats::ExportProgress());
        res.ok = r.ok;
        res.masterRecords = r.records;
        res.error = r.error;
        if (r.ok) res.files << r.path;
        return res;
    }
    const formats::TableFormat tf =
        format == Format::Paradox ? formats::TableFormat::Paradox : formats::TableFormat::Dbase;
    const QString ext = format == Format::Paradox ? QStringLiteral(".db") : QStringLiteral(".dbf");
    auto mw = formats::makeTableWriter(tf);
    std::unique_ptr<formats::TableWriter> dw;
    const QString mpath = QDir(dir).filePath(name + ext);
    auto fail = [&](formats::TableWriter* w) {
        res.error = w->errorString();
        mw->abandon();
        if (dw) dw->abandon();
        return res;
    };
    if (!mw->open(mpath, formats::exportTargetFields(targetFields(master)))) {
        res.error = mw->errorString();
        return res;
    }
    QString dpath;
    if (detail) {
        dw = formats::makeTableWriter(tf);
        dpath = QDir(dir).filePath(
            (names.detail.isEmpty() ? componentName(detail->def()) : names.detail) + ext);
        if (!dw->open(dpath, formats::exportTargetFields(targetFields(*detail))))
            return fail(dw.get());
    }
    try {
        for (master.first(); !master.eof(); master.next()) {
            if (!mw->append(record(master))) return fail(mw.get());
            ++res.masterRecords;
            if (detail) {
                for (detail->first(); !detail->eof(); detail->next()) {
                    if (!dw->append(record(*detail))) return fail(dw.get());
                    ++res.detailRecords;
                }
            }
            if (progress && res.masterRecords % 500 == 0 && !progress(res.masterRecords)) {
                res.error = QStringLiteral("Export byl přerušen.");
                mw->abandon();
                if (dw) dw->abandon();
                return res;
            }
        }
    } catch (const StorageError& e) {
        res.error = e.message();
        mw->abandon();
        if (dw) dw->abandon();
        return res;
    }
    if (!mw->close()) return fail(mw.get());
    if (dw && !dw->close()) return fail(dw.get());
    res.files << mpath;
    if (detail) res.files << dpath;
    res.ok = true;
    return res;
}

QString exportWorkbook(Table& t, const QString& dir, QString* error) {
    QDir().mkpath(dir);
    KeepPosition keep(t);
    formats::XlsxWriter w;
    const QString path = formats::uniqueWorkbookPath(dir, componentName(t.def()));
    if (!w.open(path, targetFields(t))) {
        *error = w.errorString();
        return QString();
    }
    for (t.first(); !t.eof(); t.next()) {
        if (!w.append(record(t))) {
            *error = w.errorString();
            w.abandon();
            return QString();
        }
    }
    if (!w.close()) {
        *error = w.errorString();
        return QString();
    }
    return path;
}

} // namespace brix::exporting
