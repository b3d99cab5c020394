#include "read_command.h"

#include "csv.h"
#include "table.h"

namespace brix::formats {

namespace {

QString csvValue(const QVariant& v, FieldKind kind) {
    if (v.isNull() || !v.isValid()) return {};
    switch (kind) {
    case FieldKind::Float:
    case FieldKind::Money:
    case FieldKind::Bcd:
        return QString::number(v.toDouble(), 'g', 15);
    case FieldKind::Logical:
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return fieldText(v, kind);
    }
}

} // namespace

int runReadCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    QString file;
    QString password;
    bool schema = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--schema"))
            schema = true;
        else if (a == QLatin1String("--password") && i + 1 < args.size())
            password = args[++i];
        else if (a.startsWith(QLatin1String("--password=")))
            password = a.mid(11);
        else if (!a.startsWith(QLatin1String("--")) && file.isEmpty())
            file = a;
        else {
            err << QStringLiteral("Neznámý parametr „%1“.").arg(a) << Qt::endl;
            err << QStringLiteral("Použití: read SOUBOR [--password HESLO] [--schema]") << Qt::endl;
            return 2;
        }
    }
    if (file.isEmpty()) {
        err << QStringLiteral("Použití: read SOUBOR [--password HESLO] [--schema]") << Qt::endl;
        return 2;
    }
    QString error;
    bool passwordRefused = false;
    auto reader = openTable(file, password, &error, &passwordRefused);
    if (!reader) {
        err << error << Qt::endl;
        return passwordRefused ? 2 : 1;
    }
    out.setEncoding(QStringConverter::Utf8);
    const QList<FieldDef>& fields = reader->fields();
    if (schema) {
        out << "name,type,size,decimals\n";
        for (const FieldDef& f : fields)
            out << csvLine({f.name, kindName(f.kind), QString::number(f.size),
                            QString::number(f.decimals)})
                << '\n';
        out.flush();
        return 0;
    }
    QStringList header;
    for (const FieldDef& f : fields)
        header << f.name;
    out << csvLine(header) << '\n';
    Record record;
    while (reader->next(&record)) {
        QStringList cells;
        cells.reserve(fields.size());
        for (int i = 0; i < fields.size(); ++i)
            cells << csvValue(record.value(i), fields[i].kind);
        out << csvLine(cells) << '\n';
    }
    out.flush();
    if (!reader->errorString().isEmpty()) {
        err << reader->errorString() << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace brix::formats
