#include "references.h"

#include "catalogue.h"
#include "filter.h"

#include <algorithm>
#include <iterator>

namespace brix {

namespace {

// "A;B" -> {"A", "B"}
QStringList names(const char* list) {
    QStringList out;
    for (const QString& n : QString::fromUtf8(list).split(QLatin1Char(';'), Qt::SkipEmptyParts))
        out << n.trimmed();
    return out;
}

Reference ref(const char* table, const char* fields, const char* user, const char* userFields,
              const char* what, const char* whenField = "", const char* whenValue = "") {
    return {QString::fromUtf8(table),    names(fields),           QString::fromUtf8(user),
            names(userFields),           QString::fromUtf8(what), QString::fromUtf8(whenField),
            QString::fromUtf8(whenValue)};
}

// The document tables, with the words the messages use for them.
struct Doklady {
    const char* tabulka;
    const char* co;
};
const Doklady kHlavicky[] = {
    {"Ext_Ucty\\DodListy\\Hla_DL", "dodací listy"},
    {"Ext_Ucty\\FaVydane\\Hla_FaV", "faktury vydané"},
    {"Ext_Ucty\\PrijZb\\Hla_DLP", "příjmy od dodavatelů"},
    {"Ext_Ucty\\FaPrij\\Hla_FaP", "faktury přijaté"},
    {"Int_Ucty\\Prijem\\Hla_Prij", "příjemky"},
    {"Int_Ucty\\Vydej\\Hla_Vyd", "výdejky a převodky"},
    {"Pokladna\\Obchod\\Hla_PokO", "otevřené pokladní doklady"},
    {"Pokladna\\Obchod\\Hla_PokU", "uzavřené pokladní doklady"},
    {"Objednav\\Vydane\\Hla_OvjV", "vydané objednávky"},
    {"Objednav\\Prijate\\Hla_OvjP", "přijaté objednávky"},
};
const Doklady kPolozky[] = {
    {"Ext_Ucty\\DodListy\\Pol_DL", "položky dodacích listů"},
    {"Ext_Ucty\\FaVydane\\Pol_Fav", "položky faktur vydaných"},
    {"Ext_Ucty\\PrijZb\\Pol_DLP", "položky příjmů od dodavatelů"},
    {"Ext_Ucty\\FaPrij\\Pol_FaP", "položky faktur přijatých"},
    {"Int_Ucty\\Prijem\\Pol_Prij", "položky příjemek"},
    {"Int_Ucty\\Vydej\\Pol_Vyd", "položky výdejek a převodek"},
    {"Pokladna\\Obchod\\Pol_pokO", "položky otevřených pokladních dokladů"},
    {"Pokladna\\Obchod\\Pol_pokU", "položky uzavřených pokladních dokladů"},
    {"Objednav\\Vydane\\Pol_ObjV", "položky vydaných objednávek"},
    {"Objednav\\Prijate\\Pol_ObjP", "položky přijatých objednávek"},
};
// The document type of each header table, in the order of kHlavicky.
const char* const kTypy[] = {"DL", "FV", "3", "4", "C", "A", "J", "K", "OV", "OP"};

QList<Reference> declare() {
    const char* firmy = "Ciselnik\\Firmy";
    const char* vyrobky = "Ciselnik\\Vyrobky";
    const char* sklady = "Ciselnik\\Sklady";
    QList<Reference> r{
        ref("Ciselnik\\obor", "Cis_obor", firmy, "Cis_obor", "firmy"),
        ref("Ciselnik\\obor", "Cis_obor", sklady, "Cis_Obor", "sklady"),
        ref("Ciselnik\\Skonto", "PC_skonto", firmy, "PC_Skonto", "firmy"),
        ref("Ciselnik\\RabSkup", "Cis_RabSkup", vyrobky, "Cis_RabSkp", "výrobky"),
        ref("Ciselnik\\VynSkup", "PC_VynSkup", vyrobky, "PC_Vynskup", "výrobky"),
        ref("Ciselnik\\Kod_Ozn1", "Kod_Ozn1", vyrobky, "Kod_Ozn1", "výrobky"),
        ref("Ciselnik\\Kod_Ozn2", "Kod_Ozn2", vyrobky, "Kod_Ozn2", "výrobky"),
        ref("Ciselnik\\Clo", "Cis_celsaz", vyrobky, "Cis_CelSaz", "výrobky"),
        ref("Ciselnik\\Cis_rada", "Cis_Rada", vyrobky, "Cis_Rada", "výrobky"),
        ref("Ciselnik\\Stredisko", "Stredisko", sklady, "Cis_Stred", "sklady"),
        ref("Ciselnik\\Stredisko", "Stredisko", "Int_Ucty\\Prijem\\Hla_Prij", "Stredisko",
            "příjemky"),
        ref("Ciselnik\\Meny", "KOD_Meny", firmy, "Kod_Meny", "firmy"),
        ref("Ciselnik\\Meny", "KOD_Meny", vyrobky, "Kod_Meny", "výrobky"),
        ref(sklady, "Cis_Sklad", "Sklady\\SklZas", "Cis_Sklad", "zásoby skladu"),
        ref(sklady, "Cis_Sklad", "Sklady\\SklPol", "Cis_Sklad", "skladové pohyby"),
        ref(sklady, "Cis_Sklad", vyrobky, "Cis_Sklad", "výrobky"),
        ref(sklady, "Cis_Sklad", "Int_Ucty\\Vydej\\Hla_Vyd", "Na_Sklad", "výdejky a převodky"),
        ref(firmy, "Cis_firmy", vyrobky, "Cis_Firmy", "výrobky"),
        ref(firmy, "Cis_firmy", "Ciselnik\\Cenik_Zak", "Cis_Firmy", "ceníky zákazníků"),
        ref(vyrobky, "Cis_vyr", "Sklady\\SklZas", "Cis_Vyr", "zásoby skladu"),
        ref(vyrobky, "Cis_vyr", "Sklady\\SklPol", "Cis_Vyr", "skladové pohyby"),
        ref(vyrobky, "Cis_vyr", "Ciselnik\\Vyr_Komp", "KCisVyr", "složení jiných výrobků"),
    };
    // Headers: the currency, the warehouse, the partner, the employee who issued them and the
    // document kind of their type, where the header carries the field.
    const Catalogue& c = Catalogue::standard();
    auto carries = [&](const char* tabulka, const char* pole) {
        const TableDef* t = c.find(QString::fromUtf8(tabulka));
        return t && t->field(QString::fromUtf8(pole));
    };
    for (size_t i = 0; i < std::size(kHlavicky); ++i) {
        const Doklady& d = kHlavicky[i];
        if (carries(d.tabulka, "Kod_Meny"))
            r << ref("Ciselnik\\Meny", "KOD_Meny", d.tabulka, "Kod_Meny", d.co);
        if (carries(d.tabulka, "Cis_Sklad"))
            r << ref(sklady, "Cis_Sklad", d.tabulka, "Cis_Sklad", d.co);
        if (carries(d.tabulka, "Cis_Firmy"))
            r << ref(firmy, "Cis_firmy", d.tabulka, "Cis_Firmy", d.co);
        if (carries(d.tabulka, "Vystavil"))
            r << ref("Ciselnik\\Zamest", "PRIJMENI", d.tabulka, "Vystavil", d.co);
        r << ref("Ciselnik\\Druhy_uctu", "Druh", d.tabulka, "DRUH", d.co, "Typ_Uctu", kTypy[i]);
    }
    // Items: the warehouse and the product.
    for (const Doklady& d : kPolozky) {
        r << ref(sklady, "Cis_Sklad", d.tabulka, "Cis_Sklad", d.co);
        r << ref(vyrobky, "Cis_vyr", d.tabulka, "Cis_Vyr", d.co);
    }
    return r;
}

bool sameTable(const Database& db, const QString& address, const TableDef& def) {
    const TableDef* t = db.findTable(address);
    return t && t->sqlName == def.sqlName;
}

QVariant valueOf(Table& t, const QString& field) {
    const int i = t.fieldIndex(field);
    return i < 0 ? QVariant() : t.fieldValue(i);
}

// Another record of the table has the values the users name: they still find what they name.
bool sharedByAnother(Table& t, const QStringList& fields) {
    Database& db = t.database();
    QStringList parts;
    QList<std::pair<QVariant, FieldKind>> values;
    for (const QString& f : fields) {
        const FieldDef* def = t.def().field(f);
        if (!def || !db.hasPhysicalColumn(t.def(), def->name)) return false;
        parts << sqlIdentifier(def->name) + QStringLiteral(" = ?");
        values.push_back({valueOf(t, f), def->kind});
    }
    Statement st =
        db.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2 AND rowid <> ? LIMIT 1")
                       .arg(sqlIdentifier(t.def().sqlName), parts.join(QLatin1String(" AND "))));
    int n = 1;
    for (const auto& [v, k] : values)
        st.bind(n++, v, k);
    st.bind(n, t.bookmark(), FieldKind::LongInt);
    return st.step();
}

} // namespace

const QList<Reference>& references() {
    static const QList<Reference> r = declare();
    return r;
}

QList<Usage> usagesOf(Table& table) {
    QList<Usage> out;
    if (!table.active() || !table.hasRecord()) return out;
    Database& db = table.database();
    const TableDef& def = table.def();

    // The references that name this record, grouped by the using table.
    struct Group {
        const TableDef* user = nullptr;
        QString what;
        QStringList conditions;
        QList<std::pair<QVariant, FieldKind>> values;
    };
    QList<Group> groups;
    QStringList sharedFields;
    for (const Reference& r : references()) {
        if (!sameTable(db, r.table, def)) continue;
        if (!r.whenField.isEmpty() && valueOf(table, r.whenField)
                                              .toString()
                                              .trimmed()
                                              .compare(r.whenValue, Qt::CaseInsensitive) != 0)
            continue;
        const TableDef* user = db.findTable(r.user);
        if (!user) continue;
        QStringList parts;
        QList<std::pair<QVariant, FieldKind>> values;
        bool usable = true;
        for (int i = 0; i < r.fields.size() && usable; ++i) {
            const QVariant v = valueOf(table, r.fields[i]);
            const FieldDef* uf = user->field(r.userFields.value(i));
            // A blank value names nothing; a column an older data root lacks holds nothing.
            usable = !v.isNull() && uf && db.hasPhysicalColumn(*user, uf->name);
            if (!usable) break;
            parts << sqlIdentifier(uf->name) + QStringLiteral(" = ?");
            values.push_back({v, uf->kind});
        }
        if (!usable) continue;
        if (sharedFields.isEmpty()) {
            sharedFields = r.fields;
            if (!r.whenField.isEmpty()) sharedFields << r.whenField;
        }
        auto g = std::find_if(groups.begin(), groups.end(),
                              [&](const Group& x) { return x.user == user; });
        if (g == groups.end()) {
            groups.push_back({user, r.what, {}, {}});
            g = groups.end() - 1;
        }
        g->conditions << QLatin1Char('(') + parts.join(QLatin1String(" AND ")) + QLatin1Char(')');
        g->values += values;
    }
    if (groups.isEmpty() || sharedByAnother(table, sharedFields)) return out;

    for (const Group& g : groups) {
        Statement st = db.prepare(
            QStringLiteral("SELECT count(*) FROM %1 WHERE %2")
                .arg(sqlIdentifier(g.user->sqlName), g.conditions.join(QLatin1String(" OR "))));
        int n = 1;
        for (const auto& [v, k] : g.values)
            st.bind(n++, v, k);
        const qint64 count = st.step() ? st.columnInt(0) : 0;
        if (count > 0) out.push_back({g.what, count});
    }
    return out;
}

QString inUseMessage(const QList<Usage>& usages) {
    if (usages.isEmpty()) return {};
    QStringList lines;
    for (const Usage& u : usages)
        lines << QStringLiteral("%1: %2").arg(u.what).arg(u.count);
    return QStringLiteral("Záznam nelze smazat, používají jej jiné záznamy:\n") +
           lines.join(QLatin1Char('\n'));
}

} // namespace brix
