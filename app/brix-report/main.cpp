// brix-report: checks and converts report templates and evaluates expressions without the user
// interface.
//   brix-report roundtrip IN.pts OUT.pts
//   brix-report describe IN.pts
//   brix-report eval "EXPRESSION" [--field NAME:TYPE=VALUE]... [--param VALUE]...
//   brix-report run TEMPLATE.pts (--csv FILE.csv | --data-root ROOT --table PATH [--filter EXPR]
//       [--index NAME]) [--detail N=(FILE.csv|TABLE) --link N=MASTERFIELD:DETAILFIELD]...
//       [--param TEXT]... [--max-records N] [--text OUT.txt]
//       [--codepage 1250|852|kamenicky|ascii] [--pages FROM-TO] [--png DIR [--dpi N]]
//       [--pdf OUT.pdf] [--rtf OUT.rtf] [--html OUT.html] [--emf OUT.emf] [--wmf OUT.wmf]
//       [--print PRINTER [--copies N] [--port FILE]]
//   brix-report barcode SYMBOLOGY CONTENT [--check]
//   brix-report templates DIR PREFIX [--data-root ROOT]
//   brix-report printers

#include "barcode.h"
#include "console.h"
#include "database.h"
#include "decimal.h"
#include "definition.h"
#include "expression.h"
#include "formatting.h"
#include "listresolver.h"
#include "outputs.h"
#include "platform.h"
#include "render.h"
#include "report_source.h"
#include "sestava.h"
#include "storage_error.h"
#include "table.h"
#include "templatefile.h"
#include "util/path_resolver.h"
#include "util/time_zone.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>
#include <map>
#include <memory>
#include <string_view>

using namespace brix::report;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

void printErr(const QString& s) {
    std::fputs(s.toUtf8().constData(), stderr);
    std::fputs("\n", stderr);
}
void printOut(const QString& s) {
    std::fputs(s.toUtf8().constData(), stdout);
    std::fputs("\n", stdout);
}

int usage() {
    printErr(QStringLiteral(
        "Použití:\n"
        "  brix-report roundtrip VSTUP.pts VÝSTUP.pts\n"
        "  brix-report describe VSTUP.pts\n"
        "  brix-report eval \"VÝRAZ\" [--field JMÉNO:TYP=HODNOTA]... [--param HODNOTA]...\n"
        "  brix-report run PŘEDLOHA.pts (--csv SOUBOR.csv | --data-root KOŘEN --table CESTA\n"
        "      [--filter VÝRAZ] [--index JMÉNO]) [--detail N=SOUBOR.csv|TABULKA\n"
        "      --link N=POLOŽKA_HLAVNÍ:POLOŽKA_DETAILU]... [--param TEXT]... [--max-records N]\n"
        "      [--text VÝSTUP.txt] [--codepage 1250|852|kamenicky|ascii] [--pages OD-DO]\n"
        "      [--png ADRESÁŘ [--dpi N]] [--pdf VÝSTUP.pdf] [--rtf VÝSTUP.rtf]\n"
        "      [--html VÝSTUP.html] [--emf VÝSTUP.emf] [--wmf VÝSTUP.wmf]\n"
        "      [--print TISKÁRNA [--copies N] [--port SOUBOR]]\n"
        "  brix-report barcode SYMBOLOGIE OBSAH [--check]\n"
        "  brix-report templates ADRESÁŘ PREFIX [--data-root KOŘEN]\n"
        "  brix-report printers\n"
        "Typy položek: A text, N číslo, I celé číslo, $ peníze, D datum dd.mm.rrrr, L logická."));
    return kExitUsage;
}

int roundtrip(const QString& in, const QString& out) {
    ReportDefinition def;
    QString error;
    if (!loadTemplateFile(in, def, &error)) {
        printErr(error);
        return kExitFailed;
    }
    if (!saveTemplateFile(out, def, &error)) {
        printErr(error);
        return kExitFailed;
    }
    return kExitOk;
}

QString sectionLetter(int code) {
    static const char kLetters[] = "ZHTKP";
    if (code < FirstGroupSection) return QString(QLatin1Char(kLetters[code]));
    return QStringLiteral("%1%2").arg(code % 2 == 1 ? 'S' : 'U').arg((code - 5) / 2);
}

int describe(const QString& in) {
    ReportDefinition def;
    QString error;
    if (!loadTemplateFile(in, def, &error)) {
        printErr(error);
        return kExitFailed;
    }
    QJsonObject root;
    root[QStringLiteral("description")] = def.description;
    root[QStringLiteral("version")] =
        QJsonArray{def.version.major, def.version.minor, def.version.release};
    const PageSetup& p = def.page;
    root[QStringLiteral("page")] = QJsonObject{
        {QStringLiteral("landscape"), p.landscape},
        {QStringLiteral("allowOrientationChange"), p.allowOrientationChange},
        {QStringLiteral("paperWidth"), p.paperWidth},
        {QStringLiteral("paperHeight"), p.paperHeight},
        {QStringLiteral("marginLeft"), p.marginLeft},
        {QStringLiteral("marginRight"), p.marginRight},
        {QStringLiteral("marginTop"), p.marginTop},
        {QStringLiteral("marginBottom"), p.marginBottom},
        {QStringLiteral("columns"), p.columns},
        {QStringLiteral("columnGap"), p.columnGap},
    };
    QJsonArray sections;
    for (const TOddilSestavy& s : def.sections) {
        QJsonArray elements;
        for (const TSiReportElement& e : s.elements) {
            QJsonObject el{{QStringLiteral("kind"), e.kind},
                           {QStringLiteral("reference"), e.reference},
                           {QStringLiteral("rect"), QJsonArray{e.left, e.top, e.width, e.height}}};
            if (e.tracksByName()) el[QStringLiteral("referenceName")] = e.referenceName;
            elements.append(el);
        }
        sections.append(QJsonObject{{QStringLiteral("code"), s.code},
                                    {QStringLiteral("kind"), sectionLetter(s.code)},
                                    {QStringLiteral("name"), sectionName(s.code)},
                                    {QStringLiteral("height"), s.height},
                                    {QStringLiteral("visible"), s.visible},
                                    {QStringLiteral("elementCount"), int(s.elements.size())},
                                    {QStringLiteral("elements"), elements}});
    }
    root[QStringLiteral("sections")] = sections;
    QJsonArray groups;
    for (const TPolSkup& g : def.groups)
        groups.append(QJsonObject{{QStringLiteral("number"), g.number},
                                  {QStringLiteral("expression"), g.expression},
                                  {QStringLiteral("newPage"), g.newPage}});
    root[QStringLiteral("groups")] = groups;
    QJsonArray functions;
    for (const TRadekFunkce& f : def.functions.items)
        functions.append(QJsonObject{{QStringLiteral("name"), f.name},
                                     {QStringLiteral("type"), f.type},
                                     {QStringLiteral("resetLevel"), f.resetLevel},
                                     {QStringLiteral("aggregation"), f.aggregation},
                                     {QStringLiteral("expression"), f.expression}});
    root[QStringLiteral("functions")] = functions;
    QJsonArray details;
    for (auto it = def.detailTemplates.cbegin(); it != def.detailTemplates.cend(); ++it)
        details.append(QJsonObject{{QStringLiteral("number"), it.key()},
                                   {QStringLiteral("lines"), int(it.value().size())}});
    root[QStringLiteral("details")] = details;
    std::fputs(QJsonDocument(root).toJson(QJsonDocument::Indented).constData(), stdout);
    return kExitOk;
}

// A JSON scalar as text.
QString json(const QJsonValue& v) {
    const QByteArray a = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(a.mid(1, a.size() - 2));
}

bool parseField(const QString& arg, ListResolver::Field* out, QString* error) {
    const qsizetype eq = arg.indexOf(QLatin1Char('='));
    const qsizetype colon = eq < 0 ? -1 : arg.lastIndexOf(QLatin1Char(':'), eq);
    if (eq < 0 || colon <= 0 || eq - colon != 2) {
        *error = QStringLiteral("Položka \"%1\" nemá tvar JMÉNO:TYP=HODNOTA.").arg(arg);
        return false;
    }
    out->name = arg.left(colon);
    const QChar type = arg[colon + 1].toUpper();
    const QString value = arg.mid(eq + 1);
    TCalcType& v = out->value;
    if (value.isEmpty()) {
        v = TCalcType{type == QLatin1Char('A')                                 ? TCalcType::Text
                      : (type == QLatin1Char('D') || type == QLatin1Char('L')) ? TCalcType::Untyped
                                                                               : TCalcType::Number,
                      0.0, QString(), true};
        if (QStringLiteral("ANI$DL").contains(type)) return true;
    }
    bool ok = false;
    switch (type.unicode()) {
    case 'A':
        v = TCalcType{TCalcType::Text, lenientNumber(value), value, false};
        return true;
    case 'N': {
        QString t = value;
        t.replace(QLatin1Char(','), QLatin1Char('.'));
        const double d = t.toDouble(&ok);
        if (ok) {
            v = TCalcType{TCalcType::Number, d, generalText(d), false};
            return true;
        }
        break;
    }
    case 'I': {
        const qlonglong n = value.toLongLong(&ok);
        if (ok) {
            v = TCalcType{TCalcType::Number, double(n), QString::number(n), false};
            return true;
        }
        break;
    }
    case '$': {
        const auto d = brix::Decimal::parse(value);
        if (d) {
            v = TCalcType{TCalcType::Number, d->toDouble(),
                          floatToText(d->toDouble(), FloatFormat::Currency, 15, 2), false};
            return true;
        }
        break;
    }
    case 'D': {
        const QDate d = QDate::fromString(value, QStringLiteral("d.M.yyyy"));
        if (d.isValid()) {
            v = TCalcType{TCalcType::Untyped, dayNumber(d), value, false};
            return true;
        }
        break;
    }
    case 'L': {
        const QString l = value.toLower();
        const bool yes = QStringList{"1", "t", "true", "a", "ano", "y", "yes"}.contains(l);
        const bool no = QStringList{"0", "f", "false", "n", "ne", "no"}.contains(l);
        if (yes || no) {
            v = TCalcType{TCalcType::Untyped, yes ? 1.0 : 0.0,
                          yes ? QStringLiteral("Ano") : QStringLiteral("Ne"), false};
            return true;
        }
        break;
    }
    default:
        *error = QStringLiteral("Neznámý typ položky \"%1\" (povolené jsou A, N, I, $, D, L).")
                     .arg(type);
        return false;
    }
    *error =
        QStringLiteral("Hodnota \"%1\" položky %2 neodpovídá jejímu typu.").arg(value, out->name);
    return false;
}

int eval(const QStringList& args) {
    ListResolver resolver;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if ((a == QLatin1String("--field") || a == QLatin1String("--param")) &&
            i + 1 < args.size()) {
            const QString& value = args[++i];
            if (a == QLatin1String("--param")) {
                resolver.parameters << value;
                continue;
            }
            ListResolver::Field f;
            QString error;
            if (!parseField(value, &f, &error)) {
                printErr(error);
                return kExitUsage;
            }
            resolver.fields << f;
        } else {
            printErr(QStringLiteral("Neznámý nebo neúplný argument \"%1\".").arg(a));
            return usage();
        }
    }
    const EvalResult r = evaluate(args[0], &resolver);
    if (!r.ok()) {
        printOut(QStringLiteral("{\"error\":%1,\"position\":%2}").arg(r.error).arg(r.position));
        return kExitFailed;
    }
    printOut(QStringLiteral("{\"type\":%1,\"number\":%2,\"text\":%3,\"null\":%4}")
                 .arg(r.value.type)
                 .arg(json(r.value.number), json(r.value.text),
                      r.value.null ? QStringLiteral("true") : QStringLiteral("false")));
    return kExitOk;
}

struct DetailSpec {
    QString file;
    QString masterField, detailField;
    std::unique_ptr<TSestDetail> report;
    std::unique_ptr<LinkedListBridge> data;
};

// "0" or "0.1" (detail 1 of detail 0): the path of numbers, empty when malformed.
std::vector<int> detailPath(const QString& text) {
    std::vector<int> path;
    for (const QString& part : text.split(QLatin1Char('.'))) {
        bool ok = false;
        const int n = part.toInt(&ok);
        if (!ok || n < 0 || n > 99) return {};
        path.push_back(n);
    }
    return path;
}

// The records of a table of the data root as rows of typed values, in its primary order.
bool readTableBridge(brix::Database& db, const QString& address, ListBridge* out, QString* error) {
    try {
        brix::Table t(db, address);
        t.setIndexName(QString());
        t.open();
        brix::TableReportSource source(t);
        for (int i = 0; i < source.fieldCount(); ++i)
            out->columns.push_back({source.fieldName(i), source.fieldType(i), source.fieldName(i)});
        for (t.first(); !t.eof() && t.hasRecord(); t.next()) {
            std::vector<TCalcType> row;
            for (int i = 0; i < source.fieldCount(); ++i) {
                const bool null = source.isNull(i);
                row.push_back(
                    calcTypeOfField(source.fieldType(i)) == 1
                        ? TCalcType::ofNumber(source.number(i), source.displayText(i), null)
                        : TCalcType::ofText(source.displayText(i), 0, null));
            }
            out->rows.push_back(std::move(row));
        }
    } catch (const brix::StorageError& e) {
        *error = e.message();
        return false;
    }
    return true;
}

int runReport(const QStringList& args) {
    QString templatePath, csv, dataRoot, tablePath, filter, index, textOut, pngDir;
    int dpi = 100;
    QString codepage = QStringLiteral("1250");
    QStringList params;
    int fromPage = 1, toPage = 9999, maxRecords = 0;
    std::map<std::vector<int>, DetailSpec> details;
    RunOutputs outputs;
    auto bad = [](const QString& text) {
        printErr(text);
        return kExitUsage;
    };
    templatePath = args.value(0);
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (i + 1 >= args.size())
            return bad(QStringLiteral("Argument \"%1\" nemá hodnotu.").arg(a));
        const QString v = args[++i];
        QString optionError;
        if (const int taken = takeOutputOption(a, v, &outputs, &optionError); taken != 0) {
            if (taken < 0) return bad(optionError);
        } else if (a == QLatin1String("--csv")) {
            csv = v;
        } else if (a == QLatin1String("--data-root")) {
            dataRoot = v;
        } else if (a == QLatin1String("--table")) {
            tablePath = v;
        } else if (a == QLatin1String("--filter")) {
            filter = v;
        } else if (a == QLatin1String("--index")) {
            index = v;
        } else if (a == QLatin1String("--param")) {
            params << v;
        } else if (a == QLatin1String("--text")) {
            textOut = v;
        } else if (a == QLatin1String("--png")) {
            pngDir = v;
        } else if (a == QLatin1String("--dpi")) {
            bool ok = false;
            dpi = v.toInt(&ok);
            if (!ok || dpi < 10 || dpi > 2400)
                return bad(
                    QStringLiteral("Rozlišení \"%1\" není celé číslo od 10 do 2400.").arg(v));
        } else if (a == QLatin1String("--codepage")) {
            codepage = v.toLower();
        } else if (a == QLatin1String("--max-records")) {
            bool ok = false;
            maxRecords = v.toInt(&ok);
            if (!ok || maxRecords < 0)
                return bad(QStringLiteral("Počet vět \"%1\" není nezáporné celé číslo.").arg(v));
        } else if (a == QLatin1String("--pages")) {
            const QStringList p = v.split(QLatin1Char('-'));
            bool ok1 = false, ok2 = false;
            if (p.size() == 2) {
                fromPage = p[0].toInt(&ok1);
                toPage = p[1].toInt(&ok2);
            }
            if (!ok1 || !ok2 || fromPage < 1 || toPage < fromPage)
                return bad(QStringLiteral("Rozsah stran \"%1\" nemá tvar OD-DO.").arg(v));
        } else if (a == QLatin1String("--detail") || a == QLatin1String("--link")) {
            const qsizetype eq = v.indexOf(QLatin1Char('='));
            const std::vector<int> path = eq > 0 ? detailPath(v.left(eq)) : std::vector<int>{};
            if (path.empty())
                return bad(QStringLiteral("Detail \"%1\" nemá tvar N=HODNOTA.").arg(v));
            DetailSpec& d = details[path];
            if (a == QLatin1String("--detail")) {
                d.file = v.mid(eq + 1);
            } else {
                const QStringList f = v.mid(eq + 1).split(QLatin1Char(':'));
                if (f.size() != 2 || f[0].isEmpty() || f[1].isEmpty())
                    return bad(
                        QStringLiteral("Vazba \"%1\" nemá tvar N=POLOŽKA_HLAVNÍ:POLOŽKA_DETAILU.")
                            .arg(v));
                d.masterField = f[0];
                d.detailField = f[1];
            }
        } else {
            return bad(QStringLiteral("Neznámý argument \"%1\".").arg(a));
        }
    }
    if (templatePath.isEmpty() || (textOut.isEmpty() && pngDir.isEmpty() && !outputs.any()) ||
        (csv.isEmpty() == dataRoot.isEmpty()) || (!dataRoot.isEmpty() && tablePath.isEmpty()))
        return usage();
    static const std::map<QString, TSestLanguage> kCodepages{{QStringLiteral("1250"), slCP1250},
                                                             {QStringLiteral("852"), slCP852},
                                                             {QStringLiteral("kamenicky"), slCP867},
                                                             {QStringLiteral("ascii"), slASCII}};
    const auto cp = kCodepages.find(codepage);
    if (cp == kCodepages.end())
        return bad(QStringLiteral("Neznámá kódová stránka \"%1\" (1250, 852, kamenicky, ascii).")
                       .arg(codepage));

    // Messages of the report engine go to the error output; questions are answered No.
    brix::ConsolePlatform console(printErr);
    brix::ScopedPlatform usePlatform(console);
    TSestava report;
    report.ReportDirIgnore = false;
    report.setReportDir(QString());
    report.setReportName(QFileInfo(templatePath).absoluteFilePath());
    report.Parametry = params;
    report.StartPage = fromPage;
    report.EndPage = toPage;
    report.MaxRecords = maxRecords;
    report.ExportLanguage = cp->second;
    // Ports naming files are relative to the data root, else to the current directory.
    report.programDir = dataRoot.isEmpty() ? QDir::currentPath() : QDir(dataRoot).absolutePath();

    ListBridge csvData;
    std::unique_ptr<brix::Database> db;
    std::unique_ptr<brix::Table> table;
    std::unique_ptr<brix::TableReportSource> tableData;
    QString error;
    if (!csv.isEmpty()) {
        if (!readCsvBridge(csv, &csvData, &error)) return bad(error);
        report.DataSource = &csvData;
    } else {
        try {
            brix::OpenOptions options;
            options.create = false;
            options.upgrade = false;
            db = brix::Database::open(dataRoot, options);
            table = std::make_unique<brix::Table>(*db, tablePath);
            if (!index.isEmpty()) table->setIndexName(index);
            table->open();
            if (!filter.isEmpty()) {
                table->setFilter(filter);
                table->setFiltered(true);
            }
        } catch (const brix::StorageError& e) {
            return bad(e.message());
        }
        tableData = std::make_unique<brix::TableReportSource>(*table);
        report.DataSource = tableData.get();
    }

    // Details in the order of their numbers; a number left out gets a detail without records.
    for (auto& [path, spec] : details) {
        if (spec.file.isEmpty())
            return bad(
                QStringLiteral("Vazba detailu %1 nemá soubor s daty (--detail).").arg(path.back()));
        if (spec.masterField.isEmpty())
            return bad(QStringLiteral("Detail %1 nemá vazbu na hlavní sestavu (--link).")
                           .arg(path.back()));
    }
    std::vector<std::unique_ptr<TSestDetail>> fillers;
    std::vector<std::unique_ptr<ListBridge>> fillerData;
    for (auto& [path, spec] : details) {
        TSestavaTyp* master = &report;
        std::vector<int> prefix;
        for (size_t k = 0; k + 1 < path.size(); ++k) {
            prefix.push_back(path[k]);
            const auto it = details.find(prefix);
            if (it == details.end())
                return bad(QStringLiteral("Detail %1 nemá nadřízený detail.").arg(path.back()));
            master = it->second.report.get();
        }
        while (int(master->details().size()) < path.back()) {
            fillers.push_back(std::make_unique<TSestDetail>());
            fillerData.push_back(std::make_unique<ListBridge>());
            fillers.back()->DataSource = fillerData.back().get();
            fillers.back()->setMasterSestava(master);
        }
        ListBridge rows;
        if (!dataRoot.isEmpty() &&
            !spec.file.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
            // A table of the data root: its records are read whole, the link picks the master's.
            if (!readTableBridge(*db, spec.file, &rows, &error)) return bad(error);
        } else if (!readCsvBridge(spec.file, &rows, &error)) {
            return bad(error);
        }
        spec.data = std::make_unique<LinkedListBridge>();
        spec.data->columns = rows.columns;
        spec.data->allRows = std::move(rows.rows);
        for (size_t c = 0; c < spec.data->columns.size(); ++c)
            if (spec.data->columns[c].name.compare(spec.detailField, Qt::CaseInsensitive) == 0)
                spec.data->linkField = int(c);
        if (spec.data->linkField < 0)
            return bad(QStringLiteral("Soubor \"%1\" nemá sloupec \"%2\".")
                           .arg(spec.file, spec.detailField));
        // The master's field names are taken when the run prepares: resolved by name then.
        const QString masterField = spec.masterField;
        spec.data->masterValue = [master, masterField] {
            const int n = master->dataFieldIndex(masterField);
            return n < 0 ? TCalcType{} : master->reference(ReferenceResolver::kFieldBase + n);
        };
        spec.report = std::make_unique<TSestDetail>();
        spec.report->DataSource = spec.data.get();
        spec.report->setMasterSestava(master);
    }

    // The text output runs the report; without it the report is only prepared. Every other
    // output draws the pages of that run.
    int result = textOut.isEmpty() ? report.Prepare() : report.PrintTextToFile(textOut);
    QJsonArray files;
    if (result == seOk && !pngDir.isEmpty()) {
        QStringList written;
        if (!QDir().mkpath(pngDir) ||
            !writePngPages(report.output, pngDir, QFileInfo(templatePath).completeBaseName(), dpi,
                           &written, &error)) {
            printErr(error.isEmpty()
                         ? QStringLiteral("Adresář \"%1\" se nepodařilo vytvořit.").arg(pngDir)
                         : error);
            result = seOutput;
        }
        for (const QString& f : written)
            files.append(f);
    }
    if (result == seOk && outputs.any()) {
        result = writeOutputs(report, outputs, &files, &error);
        if (result != seOk) printErr(error);
    }
    const int printed =
        result == seOk ? std::max(0, report.output.lastPage - report.output.firstPage + 1) : 0;
    QJsonObject summary{{QStringLiteral("result"), result},
                        {QStringLiteral("pages"), report.output.pageCount()},
                        {QStringLiteral("printed"), printed}};
    if (!files.isEmpty()) summary[QStringLiteral("files")] = files;
    std::fputs(QJsonDocument(summary).toJson(QJsonDocument::Compact).constData(), stdout);
    std::fputs("\n", stdout);
    return result == seOk ? kExitOk : kExitFailed;
}

// The symbology of a command-line name: its index, or its name in the table ignoring case,
// spaces and dashes ("ean13", "UPC-E0", "code 128c"); -1 when there is none.
int symbologyOf(const QString& text) {
    bool isNumber = false;
    const int n = text.toInt(&isNumber);
    if (isNumber) return n >= 0 && n < kBarcodeTypeCount ? n : -1;
    auto plain = [](QString s) {
        s.remove(QLatin1Char(' '));
        s.remove(QLatin1Char('-'));
        return s.toLower();
    };
    for (int i = 0; i < kBarcodeTypeCount; ++i)
        if (plain(QString::fromLatin1(barcodeTable()[size_t(i)].name)) == plain(text)) return i;
    return -1;
}

int barcode(const QStringList& args) {
    const bool check = args.size() == 3 && args[2] == QLatin1String("--check");
    if (args.size() != 2 && !check) return usage();
    const int type = symbologyOf(args[0]);
    if (type < 0) {
        QStringList names;
        for (const TBCdata& d : barcodeTable())
            names << QString::fromLatin1(d.name);
        printErr(QStringLiteral("Neznámá symbologie \"%1\". Známé jsou: %2.")
                     .arg(args[0], names.join(QStringLiteral(", "))));
        return kExitUsage;
    }
    const BarcodeSymbol symbol = encodeBarcode(type, args[1], check);
    QJsonObject out{
        {QStringLiteral("symbology"), type},
        {QStringLiteral("name"), QString::fromLatin1(barcodeTable()[size_t(type)].name)},
        {QStringLiteral("text"), symbol.text},
        {QStringLiteral("encodable"), symbol.encodable},
        {QStringLiteral("modules"), moduleString(symbol)},
        {QStringLiteral("width"), barcodeWidth(symbol, 1)}};
    std::fputs(QJsonDocument(out).toJson(QJsonDocument::Compact).constData(), stdout);
    std::fputs("\n", stdout);
    return symbol.encodable ? kExitOk : kExitFailed;
}

// The print manager's list of a family: the templates of the directory (under the data root,
// any case, when one is given) whose names begin with the prefix, by file name.
int templates(const QStringList& args) {
    QString root;
    QStringList rest;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--data-root") && i + 1 < args.size())
            root = args[++i];
        else
            rest << args[i];
    }
    if (rest.size() != 2) return usage();
    QString directory = rest[0];
    directory.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!root.isEmpty()) {
        const brix::ResolvedPath p = brix::resolvePath(root, directory);
        if (!p.ok()) {
            printErr(p.error);
            return kExitUsage;
        }
        directory = p.path;
    }
    if (!QFileInfo(directory).isDir()) {
        printErr(QStringLiteral("Adresář \"%1\" neexistuje.").arg(rest[0]));
        return kExitFailed;
    }
    QJsonArray list;
    for (const TSouborPredlohy& t : listTemplates(directory, rest[1] + QLatin1Char('*')))
        list.append(QJsonObject{{QStringLiteral("file"), QFileInfo(t.path).fileName()},
                                {QStringLiteral("description"), t.description}});
    const QJsonObject out{{QStringLiteral("directory"), QDir(directory).absolutePath()},
                          {QStringLiteral("templates"), list}};
    std::fputs(QJsonDocument(out).toJson(QJsonDocument::Compact).constData(), stdout);
    std::fputs("\n", stdout);
    return kExitOk;
}

} // namespace

int main(int argc, char** argv) {
    brix::settleLocalTimeZone();
    // Drawing pages needs the font database of a GUI application, though never a screen.
    const bool draws = drawsOrPrints(argc, argv);
    if (draws && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app = draws ? std::make_unique<QGuiApplication>(argc, argv)
                                                  : std::make_unique<QCoreApplication>(argc, argv);
    QStringList args = app->arguments().mid(1);
    if (args.isEmpty()) return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("roundtrip") && args.size() == 2)
        return roundtrip(args[0], args[1]);
    if (command == QLatin1String("describe") && args.size() == 1) return describe(args[0]);
    if (command == QLatin1String("eval") && !args.isEmpty()) return eval(args);
    if (command == QLatin1String("run") && !args.isEmpty()) return runReport(args);
    if (command == QLatin1String("barcode") && !args.isEmpty()) return barcode(args);
    if (command == QLatin1String("templates") && !args.isEmpty()) return templates(args);
    if (command == QLatin1String("printers") && args.isEmpty()) return listPrinters();
    return usage();
}
