#include "db_commands.h"

#include "catalogue.h"
#include "codec.h"
#include "csv.h"
#include "database.h"
#include "kontrola_skladu.h"
#include "query.h"
#include "table.h"

#include "export/table_export.h"
#include "formats/read_command.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace brix::admin {

namespace {

const char* kUsage = "Použití:\n"
                     "  brix-db init ROOT\n"
                     "  brix-db tables ROOT\n"
                     "  brix-db dump ROOT TABLE [--index NAME] [--range LOW HIGH] [--filter EXPR]\n"
                     "                          [--case-insensitive] [--partial]\n"
                     "  brix-db sql ROOT \"QUERY\" [--param NAME=VALUE]...\n"
                     "  brix-db load ROOT TABLE FILE.csv\n"
                     "  brix-db export ROOT TABLE --format paradox|dbase|text|xlsx DIR\n"
                     "  brix-db read FILE [--password P] [--schema]\n"
                     "  brix-db stock-check ROOT\n"
                     "Hodnoty složených klíčů rozsahu se oddělují středníkem.\n";

struct Usage {
    QString message;
};

QVariantList keyValues(const QString& text) {
    QVariantList v;
    for (const QString& part : text.split(QLatin1Char(';')))
        v << part;
    return v;
}

// A parameter typed on the command line: a date, a whole or a decimal number, else a text.
QVariant paramValue(const QString& text) {
    static const QRegularExpression date(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})$"));
    static const QRegularExpression whole(QStringLiteral("^-?\\d{1,18}$"));
    static const QRegularExpression decimal(QStringLiteral("^-?\\d+[.,]\\d+$"));
    if (auto m = date.match(text); m.hasMatch()) {
        QDate d(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
        if (d.isValid()) return d;
    }
    if (whole.match(text).hasMatch()) return text.toLongLong();
    if (decimal.match(text).hasMatch())
        return QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    return text;
}

void printRecord(QTextStream& out, RecordSource& src) {
    QStringList cells;
    for (int i = 0; i < src.fieldCount(); ++i)
        cells << Field(&src, i).asString();
    out << csvLine(cells) << "\r\n";
}

void printHeader(QTextStream& out, RecordSource& src) {
    QStringList names;
    for (int i = 0; i < src.fieldCount(); ++i)
        names << src.fieldDef(i).name;
    out << csvLine(names) << "\r\n";
}

int cmdInit(const QStringList& a, QTextStream& out) {
    if (a.size() != 1) throw Usage{};
    auto db = Database::open(a[0]);
    out << "Datový adresář " << db->root() << " je připraven.\n";
    return 0;
}

int cmdTables(const QStringList& a, QTextStream& out) {
    if (a.size() != 1) throw Usage{};
    auto db = Database::open(a[0], {.create = false});
    for (const TableDef& t : db->catalogue().tables()) {
        Table tab(*db, t.address());
        tab.open();
        out << t.address() << '\t' << tab.recordCount() << '\n';
    }
    return 0;
}

int cmdDump(const QStringList& a, QTextStream& out) {
    if (a.size() < 2) throw Usage{};
    auto db = Database::open(a[0], {.create = false});
    Table t(*db, a[1]);
    QString index, filter, low, high;
    bool range = false;
    FilterOptions opt;
    opt.noPartialCompare = true;
    for (int i = 2; i < a.size(); ++i) {
        const QString& o = a[i];
        if (o == QLatin1String("--index") && i + 1 < a.size())
            index = a[++i];
        else if (o == QLatin1String("--filter") && i + 1 < a.size())
            filter = a[++i];
        else if (o == QLatin1String("--range") && i + 2 < a.size()) {
            low = a[++i];
            high = a[++i];
            range = true;
        } else if (o == QLatin1String("--case-insensitive"))
            opt.caseInsensitive = true;
        else if (o == QLatin1String("--partial"))
            opt.noPartialCompare = false;
        else
            throw Usage{QStringLiteral("Neznámá volba %1").arg(o)};
    }
    t.open();
    if (!index.isEmpty()) t.setIndexName(index);
    if (range) t.setRange(keyValues(low), keyValues(high));
    if (!filter.isEmpty()) {
        t.setFilterOptions(opt);
        t.setFilter(filter);
        t.setFiltered(true);
    }
    printHeader(out, t);
    for (t.first(); !t.eof(); t.next())
        printRecord(out, t);
    return 0;
}

int cmdSql(const QStringList& a, QTextStream& out) {
    if (a.size() < 2) throw Usage{};
    auto db = Database::open(a[0], {.create = false});
    Query q(*db, a[1]);
    for (int i = 2; i < a.size(); ++i) {
        if (a[i] != QLatin1String("--param") || i + 1 >= a.size())
            throw Usage{QStringLiteral("Neznámá volba %1").arg(a[i])};
        QString p = a[++i];
        int eq = p.indexOf(QLatin1Char('='));
        if (eq <= 0) throw Usage{QStringLiteral("Parametr má tvar NAME=VALUE: %1").arg(p)};
        q.setParam(p.left(eq), paramValue(p.mid(eq + 1)));
    }
    static const QRegularExpression select(QStringLiteral("^\\s*(select|with)\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (!select.match(a[1]).hasMatch()) {
        int n = q.execute();
        out << "Změněno záznamů: " << n << '\n';
        return 0;
    }
    q.open();
    printHeader(out, q);
    for (q.first(); !q.eof(); q.next())
        printRecord(out, q);
    return 0;
}

int cmdLoad(const QStringList& a, QTextStream& out, QTextStream& err) {
    if (a.size() != 3) throw Usage{};
    auto db = Database::open(a[0], {.create = false});
    QFile f(a[2]);
    if (!f.open(QIODevice::ReadOnly)) {
        err << "Soubor " << a[2] << " nelze otevřít.\n";
        return 1;
    }
    QString text = QString::fromUtf8(f.readAll());
    Table t(*db, a[1]);
    t.open();
    CsvReader csv(text);
    QStringList header, cells;
    int line = 0;
    if (!csv.next(header, &line)) {
        err << a[2] << ": soubor je prázdný.\n";
        return 1;
    }
    QVector<int> target;
    for (const QString& h : header) {
        int fi = t.fieldIndex(h.trimmed());
        if (fi < 0) {
            err << a[2] << ", řádek " << line << ": tabulka " << t.def().address() << " nemá pole "
                << h << ".\n";
            return 1;
        }
        target << fi;
    }
    int count = 0;
    Database::Transaction tx(*db);
    while (csv.next(cells, &line)) {
        if (cells.size() == 1 && cells[0].isEmpty()) continue; // an empty line
        try {
            if (cells.size() != header.size())
                throw StorageError(StorageErrorKind::Other,
                                   QStringLiteral("počet hodnot (%1) neodpovídá záhlaví (%2)")
                                       .arg(cells.size())
                                       .arg(header.size()));
            t.insert();
            for (int i = 0; i < cells.size(); ++i)
                t.setFieldValue(target[i], cells[i]);
            t.post();
        } catch (const StorageError& e) {
            if (t.state() != TableState::Browse) t.cancel();
            err << a[2] << ", řádek " << line << ": " << e.message() << '\n'
                << "Ze souboru nebylo uloženo nic.\n";
            return 1;
        }
        ++count;
    }
    if (csv.malformed()) {
        err << a[2] << ", řádek " << line << ": neukončené uvozovky.\n"
            << "Ze souboru nebylo uloženo nic.\n";
        return 1;
    }
    tx.commit();
    out << "Uloženo záznamů: " << count << '\n';
    return 0;
}

int cmdExport(const QStringList& a, QTextStream& out, QTextStream& err) {
    if (a.size() != 5 || a[2] != QLatin1String("--format")) throw Usage{};
    auto db = Database::open(a[0], {.create = false});
    Table t(*db, a[1]);
    t.open();
    const QString format = a[3].toLower(), dir = a[4];
    QDir().mkpath(dir);
    if (format == QLatin1String("xlsx")) {
        QString error;
        QString path = exporting::exportWorkbook(t, dir, &error);
        if (path.isEmpty()) {
            err << "Chyba: " << error << '\n';
            return 1;
        }
        out << "Exportováno záznamů: " << t.recordCount() << " do " << path << '\n';
        return 0;
    }
    exporting::Format f;
    if (format == QLatin1String("paradox"))
        f = exporting::Format::Paradox;
    else if (format == QLatin1String("dbase"))
        f = exporting::Format::Dbase;
    else if (format == QLatin1String("text"))
        f = exporting::Format::Text;
    else
        throw Usage{QStringLiteral("Neznámý formát %1").arg(a[3])};
    exporting::Result r = exporting::exportTables(f, dir, t);
    if (!r.ok) {
        err << "Chyba: " << r.error << '\n';
        return 1;
    }
    out << "Exportováno záznamů: " << r.masterRecords << " do " << r.files.value(0) << '\n';
    return 0;
}

// The stock invariants of the data root: each difference on a line of its own, exit 1 when
// there is one.
int cmdStockCheck(const QStringList& a, QTextStream& out) {
    if (a.size() != 1) throw Usage{};
    auto db = Database::open(a[0], {.create = false, .upgrade = false});
    const QStringList rozdily = sklad::KontrolaSkladu(*db);
    for (const QString& r : rozdily)
        out << r << '\n';
    if (rozdily.isEmpty()) {
        out << "Sklad je v pořádku.\n";
        return 0;
    }
    out << "Nalezeno rozdílů: " << rozdily.size() << '\n';
    return 1;
}

} // namespace

int run(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.isEmpty()) {
        err << kUsage;
        return 2;
    }
    const QString cmd = args[0];
    const QStringList rest = args.mid(1);
    try {
        if (cmd == QLatin1String("init")) return cmdInit(rest, out);
        if (cmd == QLatin1String("tables")) return cmdTables(rest, out);
        if (cmd == QLatin1String("dump")) return cmdDump(rest, out);
        if (cmd == QLatin1String("sql")) return cmdSql(rest, out);
        if (cmd == QLatin1String("load")) return cmdLoad(rest, out, err);
        if (cmd == QLatin1String("export")) return cmdExport(rest, out, err);
        if (cmd == QLatin1String("read")) return formats::runReadCommand(rest, out, err);
        if (cmd == QLatin1String("stock-check")) return cmdStockCheck(rest, out);
        err << "Neznámý příkaz " << cmd << ".\n" << kUsage;
        return 2;
    } catch (const Usage& u) {
        if (!u.message.isEmpty()) err << u.message << '\n';
        err << kUsage;
        return 2;
    } catch (const StorageError& e) {
        err << "Chyba: " << e.message() << '\n';
        return 1;
    }
}

} // namespace brix::admin
