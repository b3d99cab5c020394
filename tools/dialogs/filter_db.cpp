#include "filter_db.h"

#include "catalogue.h"
#include "czech.h"
#include "platform.h"

#include <QRegularExpression>

#include <algorithm>

namespace brix::filtr {

QString filterTableAddress(const QString& sourceName) {
    static const QRegularExpression re(QStringLiteral("^[A-Za-z0-9_]+$"));
    if (!re.match(sourceName).hasMatch()) return QString();
    return QStringLiteral("Filtr\\F") + sourceName;
}

TableDef filterTableDef(const QString& sourceName) {
    return Catalogue::define(QStringLiteral("Filtr"), QStringLiteral("F") + sourceName,
                             QStringLiteral("Popis M; Mala_Velka A5; Hledat_Cele A5"));
}

std::optional<TableDef> savedFilterTable(const QString& directory, const QString& file) {
    if (Catalogue::normalizeAddress(directory) != QLatin1String("filtr") ||
        !file.startsWith(QLatin1Char('F'), Qt::CaseInsensitive) ||
        filterTableAddress(file.mid(1)).isEmpty())
        return std::nullopt;
    return filterTableDef(file.mid(1));
}

std::unique_ptr<Table> openFilterTable(Database& db, const QString& sourceName) {
    const QString address = filterTableAddress(sourceName);
    if (address.isEmpty())
        throw StorageError(StorageErrorKind::NotFound,
                           QStringLiteral("Zdroj dat '%1' nemá platné jméno").arg(sourceName));
    db.defineTable(filterTableDef(sourceName));
    auto t = std::make_unique<Table>(db, address);
    t->open();
    return t;
}

QString logicalText(bool on) {
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

bool logicalValue(const QString& text) {
    return text.trimmed().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

QStringList fieldNames(const Table& table) {
    QStringList names;
    for (int i = 0; i < table.fieldCount(); ++i)
        if (!table.isCalculated(i)) names << table.fieldDef(i).name;
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return czech::compare(a, b) < 0; });
    return names;
}

const QStringList& operators() {
    static const QStringList ops{QStringLiteral(">"),   QStringLiteral("<"),  QStringLiteral("= "),
                                 QStringLiteral(">="),  QStringLiteral("<="), QStringLiteral("<>"),
                                 QStringLiteral("AND"), QStringLiteral("OR"), QStringLiteral("("),
                                 QStringLiteral(")")};
    return ops;
}

QString appendField(const QString& expression, const QString& field) {
    if (expression.isEmpty()) return field;
    return expression + QLatin1Char(' ') + field;
}

QString appendOperator(const QString& expression, const QString& op) {
    if (expression.isEmpty()) return expression;
    return expression + QLatin1Char(' ') + op;
}

namespace {

// Switches the table's filter to text / options / on, or reports why it cannot and puts the
// previous state back.
bool setFilterState(Table& table, const QString& text, const FilterOptions& options, bool on) {
    const QString oldText = table.filter();
    const FilterOptions oldOptions = table.filterOptions();
    const bool oldOn = table.filtered();
    try {
        if (on) translateFilter(text, table.def(), options); // read it before touching anything
        table.setFiltered(false);
        table.setFilterOptions(options);
        table.setFilter(text);
        table.setFiltered(on);
        return true;
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
    }
    try {
        table.setFiltered(false);
        table.setFilterOptions(oldOptions);
        table.setFilter(oldText);
        if (oldOn) table.setFiltered(true);
    } catch (const StorageError&) {
        // The old filter was readable when it was set; nothing more can be done.
    }
    return false;
}

} // namespace

bool applyExpression(Table& table, const QString& expression, bool caseSensitive, bool noPartial) {
    if (expression.trimmed().isEmpty())
        return setFilterState(table, QString(), table.filterOptions(), false);
    FilterOptions options;
    options.caseInsensitive = !caseSensitive;
    options.noPartialCompare = noPartial;
    return setFilterState(table, expression, options, true);
}

void applyCaseOption(Table& table, bool caseSensitive) {
    FilterOptions options = table.filterOptions();
    options.caseInsensitive = !caseSensitive;
    setFilterState(table, table.filter(), options, table.filtered());
}

void applyPartialOption(Table& table, bool noPartial) {
    FilterOptions options = table.filterOptions();
    options.noPartialCompare = noPartial;
    setFilterState(table, table.filter(), options, table.filtered());
}

QString joinTexts(const QString& current, const QString& added, JoinKind kind) {
    switch (kind) {
    case JoinKind::And:
        return QLatin1Char('(') + current + QLatin1String(") and (") + added + QLatin1Char(')');
    case JoinKind::Or:
        return QLatin1Char('(') + current + QLatin1String(") or (") + added + QLatin1Char(')');
    case JoinKind::Alone:
        break;
    }
    return added;
}

QString literal(const QString& value) {
    QString v = value;
    v.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

QString rangeExpression(const QString& field, const QString& low, const QString& high) {
    QStringList parts;
    if (!low.trimmed().isEmpty()) parts << field + QLatin1String(" >= ") + literal(low.trimmed());
    if (!high.trimmed().isEmpty()) parts << field + QLatin1String(" <= ") + literal(high.trimmed());
    return parts.join(QLatin1String(" and "));
}

} // namespace brix::filtr
