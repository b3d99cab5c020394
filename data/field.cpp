#include "field.h"

#include <QLocale>

#include <cmath>

namespace brix {

QString Field::asString() const {
    return displayText(value(), kind());
}

QString displayText(const QVariant& v, FieldKind kind) {
    if (v.isNull()) return QString();
    switch (kind) {
    case FieldKind::Float:
    case FieldKind::Money: {
        QString s = QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
        if (s.contains(QLatin1Char('e')))
            s = Decimal::fromDouble(v.toDouble()).toShortString(QLatin1Char('.'));
        s.replace(QLatin1Char('.'), QLatin1Char(','));
        return s;
    }
    case FieldKind::Logical:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldKind::Date:
        return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case FieldKind::Time:
        return v.toTime().toString(QStringLiteral("hh:mm:ss"));
    case FieldKind::Timestamp:
        return v.toDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    default:
        return v.toString();
    }
}

qint64 Field::asInteger() const {
    QVariant v = value();
    if (v.isNull()) return 0;
    if (v.typeId() == QMetaType::Double) return std::llround(v.toDouble());
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        qint64 n = v.toString().trimmed().toLongLong(&ok);
        return ok ? n : 0;
    }
    return v.toLongLong();
}

double Field::asFloat() const {
    QVariant v = value();
    if (v.isNull()) return 0;
    if (v.typeId() == QMetaType::QString) {
        QString s = v.toString().trimmed();
        s.replace(QLatin1Char(','), QLatin1Char('.'));
        return s.toDouble();
    }
    return v.toDouble();
}

Decimal Field::asDecimal() const {
    QVariant v = value();
    if (v.isNull()) return Decimal();
    if (v.typeId() == QMetaType::QString) return Decimal::parse(v.toString()).value_or(Decimal());
    if (isIntegerKind(kind()) || v.typeId() == QMetaType::LongLong)
        return Decimal(static_cast<long long>(v.toLongLong()));
    return Decimal::fromDouble(v.toDouble());
}

bool Field::asBoolean() const {
    QVariant v = value();
    return !v.isNull() && v.toBool();
}

QDate Field::asDate() const {
    QVariant v = value();
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().date();
    return v.toDate();
}

QTime Field::asTime() const {
    QVariant v = value();
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().time();
    return v.toTime();
}

QDateTime Field::asDateTime() const {
    QVariant v = value();
    if (v.typeId() == QMetaType::QDate) return QDateTime(v.toDate(), QTime(0, 0));
    return v.toDateTime();
}

QByteArray Field::asBytes() const {
    return value().toByteArray();
}

} // namespace brix
