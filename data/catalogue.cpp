#include "catalogue.h"
#include "catalogue_parts.h"

#include <QRegularExpression>

namespace brix {

QString fieldKindName(FieldKind kind) {
    switch (kind) {
    case FieldKind::Text:
        return QStringLiteral("text");
    case FieldKind::SmallInt:
        return QStringLiteral("smallint");
    case FieldKind::LongInt:
        return QStringLiteral("longint");
    case FieldKind::AutoInc:
        return QStringLiteral("autoinc");
    case FieldKind::Float:
        return QStringLiteral("float");
    case FieldKind::Money:
        return QStringLiteral("money");
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
        return QStringLiteral("fmtmemo");
    case FieldKind::Blob:
        return QStringLiteral("blob");
    }
    return QString();
}

bool isTextKind(FieldKind k) {
    return k == FieldKind::Text || k == FieldKind::Memo || k == FieldKind::FormattedMemo;
}
bool isIntegerKind(FieldKind k) {
    return k == FieldKind::SmallInt || k == FieldKind::LongInt || k == FieldKind::AutoInc;
}
bool isNumericKind(FieldKind k) {
    return isIntegerKind(k) || k == FieldKind::Float || k == FieldKind::Money;
}

int TableDef::fieldIndex(const QString& name) const {
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

const FieldDef* TableDef::field(const QString& name) const {
    int i = fieldIndex(name);
    return i < 0 ? nullptr : &fields[i];
}

const IndexDef* TableDef::index(const QString& name) const {
    for (const IndexDef& ix : indexes)
        if (ix.name.compare(name, Qt::CaseInsensitive) == 0) return &ix;
    return nullptr;
}

QString Catalogue::normalizeAddress(const QString& address) {
    QString a = address.trimmed().toLower();
    a.replace(QLatin1Char('/'), QLatin1Char('\\'));
    while (a.startsWith(QLatin1String(".\\")))
        a.remove(0, 2);
    while (a.startsWith(QLatin1Char('\\')))
        a.remove(0, 1);
    a.replace(QLatin1String("\\.\\"), QLatin1String("\\"));
    while (a.contains(QLatin1String("\\\\")))
        a.replace(QLatin1String("\\\\"), QLatin1String("\\"));
    if (a.endsWith(QLatin1String(".db"))) a.chop(3);
    return a;
}

QStringList Catalogue::dataDirectories() {
    return {QStringLiteral("Banka"),
            QStringLiteral("Ciselnik"),
            QStringLiteral("Ext_Ucty\\DodListy"),
            QStringLiteral("Ext_Ucty\\FaPrij"),
            QStringLiteral("Ext_Ucty\\FaVydane"),
            QStringLiteral("Ext_Ucty\\PrijZb"),
            QStringLiteral("Filtr"),
            QStringLiteral("Int_Ucty\\Prijem"),
            QStringLiteral("Int_Ucty\\Vydej"),
            QStringLiteral("Nastaven"),
            QStringLiteral("Pokladna\\Obchod"),
            QStringLiteral("Objednav\\Prijate"),
            QStringLiteral("Objednav\\Vydane"),
            QStringLiteral("Sklady")};
}

QStringList Catalogue::otherDirectories() {
    return {QStringLiteral("ExportDbf"), QStringLiteral("Prac_Db"), QStringLiteral("Reporty")};
}

const TableDef* Catalogue::find(const QString& address, const QString& baseDirectory) const {
    QString a = normalizeAddress(address);
    auto it = byAddress_.constFind(a);
    if (it != byAddress_.constEnd()) return &tables_[it.value()];
    if (!baseDirectory.isEmpty()) {
        it = byAddress_.constFind(normalizeAddress(baseDirectory + QLatin1Char('\\') + address));
        if (it != byAddress_.constEnd()) return &tables_[it.value()];
    }
    return nullptr;
}

void Catalogue::add(TableDef def) {
    QString key = normalizeAddress(def.address());
    def.sqlName = key;
    def.sqlName.replace(QLatin1Char('\\'), QLatin1Char('_'));
    byAddress_.insert(key, int(tables_.size()));
    tables_.push_back(std::move(def));
}

static QStringList splitList(const QString& s, QChar sep) {
    QStringList out;
    for (const QString& part : s.split(sep, Qt::SkipEmptyParts)) {
        QString t = part.trimmed();
        if (!t.isEmpty()) out << t;
    }
    return out;
}

TableDef Catalogue::define(const QString& directory, const QString& file, const QString& fields,
                           const QString& primaryKey, const QString& indexes) {
    TableDef t;
    t.directory = directory;
    t.file = file;
    static const QRegularExpression re(
        QStringLiteral("^(\\S+)\\s+(A|S|I|\\+|F|\\$|L|D|T|@|M|FM|B)(\\d*)(?:\\.(\\d+))?([!?]*)$"));
    for (const QString& spec : splitList(fields, QLatin1Char(';'))) {
        auto m = re.match(spec);
        Q_ASSERT_X(m.hasMatch(), "Catalogue::define", qPrintable(spec));
        if (!m.hasMatch()) continue;
        FieldDef f;
        f.name = m.captured(1);
        const QString k = m.captured(2);
        static const QHash<QString, FieldKind> kinds = {
            {"A", FieldKind::Text},    {"S", FieldKind::SmallInt},
            {"I", FieldKind::LongInt}, {"+", FieldKind::AutoInc},
            {"F", FieldKind::Float},   {"$", FieldKind::Money},
            {"L", FieldKind::Logical}, {"D", FieldKind::Date},
            {"T", FieldKind::Time},    {"@", FieldKind::Timestamp},
            {"M", FieldKind::Memo},    {"FM", FieldKind::FormattedMemo},
            {"B", FieldKind::Blob}};
        f.kind = kinds.value(k);
        f.size = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
        if (!m.captured(4).isEmpty()) f.decimals = m.captured(4).toInt();
        f.required = m.captured(5).contains(QLatin1Char('!'));
        f.optional = m.captured(5).contains(QLatin1Char('?'));
        t.fields.push_back(f);
    }
    t.primaryKey = splitList(primaryKey, QLatin1Char(';'));
    // "Name=FieldA,FieldB; Other=FieldC"
    for (const QString& ix : splitList(indexes, QLatin1Char(';'))) {
        int eq = ix.indexOf(QLatin1Char('='));
        if (eq < 0) continue;
        t.indexes.push_back({ix.left(eq).trimmed(), splitList(ix.mid(eq + 1), QLatin1Char(','))});
    }
    return t;
}

namespace catalogue_parts {

void productMustExist(TableDef& t) {
    t.foreignKeys.push_back({QStringLiteral("Cis_Vyr"), QStringLiteral("Ciselnik\\Vyrobky"),
                             QStringLiteral("Cis_vyr")});
}

void hasDetails(TableDef& t, const QString& detail, const QString& masterFields,
                const QString& detailFields) {
    t.detailRules.push_back(
        {detail, masterFields.split(QLatin1Char(';')), detailFields.split(QLatin1Char(';'))});
}

} // namespace catalogue_parts

namespace {

using namespace catalogue_parts;

Catalogue build() {
    Catalogue c;
    addShared(c);
    addStockDocuments(c);
    addSalesDocuments(c);
    addPurchasingDocuments(c);
    return c;
}

} // namespace

const Catalogue& Catalogue::standard() {
    static const Catalogue c = build();
    return c;
}

} // namespace brix
