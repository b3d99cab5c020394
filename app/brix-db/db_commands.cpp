#include "db_commands.h"

#include "catalogue.h"
#include "codec.h"
#include "console.h"
#include "csv.h"
#include "database.h"
#include "datacis.h"
#include "kontrola_skladu.h"
#include "nabidka.h"
#include "query.h"
#include "table.h"
#include "util/nastaveni.h"

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
                     "  brix-db migrate OLD_ROOT NEW_ROOT\n"
                     "  brix-db price ROOT --type DL|FV|J|OP --kind DRUH [--customer N]\n"
                     "                [--currency KOD] [--date D] LINES.csv\n"
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
    return loadCsv(*db, a[1], QString::fromUtf8(f.readAll()), a[2], out, err);
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

// ---- price: the items and header totals a document would get -----------------------------

QString cislo(Decimal d) {
    return d.toShortString(QLatin1Char('.'));
}

// "dd.mm.yyyy" or "yyyy-mm-dd".
QDate datum(const QString& text) {
    QDate d = QDate::fromString(text, QStringLiteral("d.M.yyyy"));
    if (!d.isValid()) d = QDate::fromString(text, Qt::ISODate);
    return d;
}

int cmdPrice(const QStringList& a, QTextStream& out, QTextStream& err) {
    if (a.size() < 2) throw Usage{};
    const QString root = a[0];
    ZadaniNabidky zadani;
    zadani.datum = QDate::currentDate();
    QString soubor;
    for (int i = 1; i < a.size(); ++i) {
        const QString& o = a[i];
        const bool hodnota = i + 1 < a.size();
        if (o == QLatin1String("--type") && hodnota) {
            const QString typ = a[++i].toUpper();
            static const QStringList typy = {"DL", "FV", "J", "OP"};
            if (!typy.contains(typ))
                throw Usage{QStringLiteral("Neznámý druh dokladu %1").arg(a[i])};
            zadani.popis = popisDokladuTypu(typ);
        } else if (o == QLatin1String("--kind") && hodnota) {
            zadani.druh = a[++i];
        } else if (o == QLatin1String("--customer") && hodnota) {
            bool ok = false;
            const qint64 n = a[++i].toLongLong(&ok);
            if (!ok) throw Usage{QStringLiteral("Číslo zákazníka není číslo: %1").arg(a[i])};
            zadani.firma = n;
        } else if (o == QLatin1String("--currency") && hodnota) {
            zadani.mena = a[++i];
        } else if (o == QLatin1String("--date") && hodnota) {
            zadani.datum = datum(a[++i]);
            if (!zadani.datum.isValid()) throw Usage{QStringLiteral("Neplatné datum %1").arg(a[i])};
        } else if (!o.startsWith(QLatin1String("--")) && soubor.isEmpty()) {
            soubor = o;
        } else {
            throw Usage{QStringLiteral("Neznámá volba %1").arg(o)};
        }
    }
    if (!zadani.popis || zadani.druh.isEmpty() || soubor.isEmpty()) throw Usage{};

    QFile f(soubor);
    if (!f.open(QIODevice::ReadOnly)) {
        err << "Soubor " << soubor << " nelze otevřít.\n";
        return 1;
    }
    // Lines "key;quantity"; empty lines are skipped.
    std::vector<RadekNabidky> radky;
    bool chyba = false;
    CsvReader csv(QString::fromUtf8(f.readAll()), QLatin1Char(';'));
    QStringList pole;
    int radek = 0;
    while (csv.next(pole, &radek)) {
        if (pole.size() == 1 && pole[0].trimmed().isEmpty()) continue;
        const std::optional<Decimal> q =
            pole.size() == 2 ? Decimal::parse(pole[1]) : std::optional<Decimal>();
        if (!q) {
            err << soubor << ", řádek " << radek << ": očekává se klíč výrobku;množství.\n";
            chyba = true;
            continue;
        }
        radky.push_back({radek, pole[0].trimmed(), *q});
    }

    auto db = Database::open(root, {.create = false});
    nactiNastaveni(db->root(), nastaveniProgramu());
    // Messages go to the error output as they arise.
    ConsolePlatform platforma([&err](const QString& radek) {
        err << radek << '\n';
        err.flush();
    });
    ScopedPlatform pouzij(platforma);
    TDataCis dm(*db);
    CenyDataCis ceny(dm);
    const PopisDokladu& popis = *zadani.popis;

    out << csvLine({"PorCis", "Klic", "Nazev", "Mnozstvi", "DruhMn", "DPH", "PC_Zakl", "Rabat",
                    "PC_Netto", "Faktor", "PC_NettoC", "Cena_Cizi", "Cena_CiziC"})
        << "\r\n";
    const VysledekNabidky v = Nabidka(ceny, zadani, radky, [&](const PolozkaNabidky& p) {
        const PolozkaCeny& x = p.polozka;
        out << csvLine({QString::number(p.porCis), p.klic, x.Nazev, cislo(x.Mnozstvi), x.DruhMn,
                        cislo(x.DPH), cislo(x.PC_Zakl), cislo(x.Rabat), cislo(x.PC_Netto),
                        cislo(x.Faktor), cislo(x.PC_NettoC), cislo(x.Cena_Cizi),
                        cislo(x.Cena_CiziC)})
            << "\r\n";
        // Why this price.
        err << p.porCis << ' ' << p.klic << ": " << p.postup.join(QStringLiteral("; ")) << '\n';
    });
    for (const QString& c : v.chyby)
        err << soubor << ", " << c << ".\n";

    // The header totals by the family's field names.
    const PoleHlavicky& n = popis.pole;
    const HodnotyHlavicky& s = v.soucty;
    const std::pair<QString, Decimal> soucty[] = {
        {n.Zaklad0, s.Zaklad0},     {n.DPH0, s.DPH0},         {n.Zaklad1, s.Zaklad1},
        {n.DPH1, s.DPH1},           {n.Zaklad2, s.Zaklad2},   {n.DPH2, s.DPH2},
        {n.Zaklad, s.Zaklad},       {n.DPH, s.DPH},           {n.Cena_Celk, s.Cena_Celk},
        {n.Cena_Cizi, s.Cena_Cizi}, {n.Hmotnost, s.Hmotnost}, {n.HPKU_Kc, s.HPKU_Kc},
    };
    QStringList nazvy, hodnoty;
    for (const auto& [nazev, hodnota] : soucty)
        if (!nazev.isEmpty()) {
            nazvy << nazev;
            hodnoty << cislo(hodnota);
        }
    out << "\r\n" << csvLine(nazvy) << "\r\n" << csvLine(hodnoty) << "\r\n";
    return chyba || !v.chyby.isEmpty() ? 1 : 0;
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

int loadCsv(Database& db, const QString& table, const QString& text, const QString& fileName,
            QTextStream& out, QTextStream& err) {
    Table t(db, table);
    t.open();
    CsvReader csv(text);
    QStringList header, cells;
    int line = 0;
    if (!csv.next(header, &line)) {
        err << fileName << ": soubor je prázdný.\n";
        return 1;
    }
    QVector<int> target;
    for (const QString& h : header) {
        int fi = t.fieldIndex(h.trimmed());
        if (fi < 0) {
            err << fileName << ", řádek " << line << ": tabulka " << t.def().address()
                << " nemá pole " << h << ".\n";
            return 1;
        }
        target << fi;
    }
    int count = 0;
    Database::Transaction tx(db);
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
            err << fileName << ", řádek " << line << ": " << e.message() << '\n'
                << "Ze souboru nebylo uloženo nic.\n";
            return 1;
        }
        ++count;
    }
    if (csv.malformed()) {
        err << fileName << ", řádek " << line << ": neukončené uvozovky.\n"
            << "Ze souboru nebylo uloženo nic.\n";
        return 1;
    }
    tx.commit();
    out << "Uloženo záznamů: " << count << '\n';
    return 0;
}

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
        if (cmd == QLatin1String("price")) return cmdPrice(rest, out, err);
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
