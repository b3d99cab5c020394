// brix-report: checks and converts report templates and evaluates expressions without the user
// interface.
//   brix-report roundtrip IN.pts OUT.pts
//   brix-report describe IN.pts
//   brix-report eval "EXPRESSION" [--field NAME:TYPE=VALUE]... [--param VALUE]...

#include "decimal.h"
#include "definition.h"
#include "expression.h"
#include "formatting.h"
#include "listresolver.h"
#include "templatefile.h"

#include <QCoreApplication>
#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>

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

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("roundtrip") && args.size() == 2)
        return roundtrip(args[0], args[1]);
    if (command == QLatin1String("describe") && args.size() == 1) return describe(args[0]);
    if (command == QLatin1String("eval") && !args.isEmpty()) return eval(args);
    return usage();
}
