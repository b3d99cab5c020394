#include "table.h"

#include "dbase.h"
#include "paradox.h"

#include <QFileInfo>

#include <cmath>

namespace brix::formats {

QString kindName(FieldKind kind) {
    switch (kind) {
    case FieldKind::Text:
        return QStringLiteral("alpha");
    case FieldKind::Short:
        return QStringLiteral("short");
    case FieldKind::Long:
        return QStringLiteral("long");
    case FieldKind::AutoInc:
        return QStringLiteral("autoinc");
    case FieldKind::Float:
        return QStringLiteral("number");
    case FieldKind::Money:
        return QStringLiteral("currency");
    case FieldKind::Bcd:
        return QStringLiteral("bcd");
    case FieldKind::Logical:
        return QStringLiteral("logical");
    case FieldKind::Date:
        return QStringLiteral("date");
    case FieldKind::Time:
        return QStringLiteral("time");
    case FieldKind::Timestamp:
        return QStringLiteral("timestamp");
    case FieldKind::Memo:
        return QStringLiteral("memo");
    case FieldKind::FormattedMemo:
        return QStringLiteral("fmemo");
    case FieldKind::Blob:
        return QStringLiteral("blob");
    case FieldKind::Graphic:
        return QStringLiteral("graphic");
    case FieldKind::Ole:
        return QStringLiteral("ole");
    case FieldKind::Bytes:
        return QStringLiteral("bytes");
    }
    return {};
}

bool isTextKind(FieldKind kind) {
    return kind == FieldKind::Text || kind == FieldKind::Memo || kind == FieldKind::FormattedMemo;
}

bool isBinaryKind(FieldKind kind) {
    return kind == FieldKind::Blob || kind == FieldKind::Graphic || kind == FieldKind::Ole ||
           kind == FieldKind::Bytes;
}

bool isNumberKind(FieldKind kind) {
    switch (kind) {
    case FieldKind::Short:
    case FieldKind::Long:
    case FieldKind::AutoInc:
    case FieldKind::Float:
    case FieldKind::Money:
    case FieldKind::Bcd:
        return true;
    default:
        return false;
    }
}

std::unique_ptr<TableWriter> makeTableWriter(TableFormat format) {
    if (format == TableFormat::Dbase) return std::make_unique<DbaseWriter>();
    return std::make_unique<ParadoxWriter>();
}

std::unique_ptr<TableReader> openTable(const QString& path, const QString& password, QString* error,
                                       bool* passwordRefused) {
    if (passwordRefused) *passwordRefused = false;
    const QString suffix = QFileInfo(path).suffix().toLower();
    std::unique_ptr<TableReader> reader;
    if (suffix == QLatin1String("dbf"))
        reader = std::make_unique<DbaseReader>();
    else if (suffix == QLatin1String("db"))
        reader = std::make_unique<ParadoxReader>();
    else {
        if (error)
            *error = QStringLiteral("Soubor „%1“ není tabulka Paradox (.db) ani DBase (.dbf).")
                         .arg(path);
        return nullptr;
    }
    if (!reader->open(path, password)) {
        if (error) *error = reader->errorString();
        if (passwordRefused) *passwordRefused = reader->passwordRefused();
        return nullptr;
    }
    return reader;
}

QList<FieldDef> exportTargetFields(const QList<FieldDef>& source) {
    QList<FieldDef> target = source;
    for (FieldDef& f : target)
        if (f.kind == FieldKind::AutoInc) f.kind = FieldKind::Long;
    return target;
}

static QString numberText(double v) {
    QString s = QString::number(v, 'g', 15);
    if (s.contains(QLatin1Char('e'))) s = QString::number(v, 'f', 4);
    return s.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString fieldText(const QVariant& value, FieldKind kind) {
    if (value.isNull() || !value.isValid()) return {};
    switch (kind) {
    case FieldKind::Short:
    case FieldKind::Long:
    case FieldKind::AutoInc:
        return QString::number(value.toLongLong());
    case FieldKind::Float:
    case FieldKind::Bcd:
        return numberText(value.toDouble());
    case FieldKind::Money: {
        const double v = std::round(value.toDouble() * 100.0) / 100.0;
        return QString::number(v, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
    }
    case FieldKind::Logical:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldKind::Date:
        return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case FieldKind::Time:
        return value.toTime().toString(QStringLiteral("hh:mm:ss"));
    case FieldKind::Timestamp:
        return value.toDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    case FieldKind::Blob:
    case FieldKind::Graphic:
    case FieldKind::Ole:
    case FieldKind::Bytes:
        return QString::fromLatin1(value.toByteArray().toBase64());
    default:
        return value.toString();
    }
}

} // namespace brix::formats
