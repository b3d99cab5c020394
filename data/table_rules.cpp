#include "table_rules.h"

#include "util/text_utils.h"

#include <QDateTime>

namespace brix {

namespace {

bool editing(const Table& t) {
    return t.state() == TableState::Edit || t.state() == TableState::Insert;
}

Decimal decimalOf(Table& t, const char* name) {
    int i = t.fieldIndex(QString::fromLatin1(name));
    return i < 0 ? Decimal() : t.field(i).asDecimal();
}

// Opens a closed cursor for the scope and closes it again.
class OpenForScope {
public:
    explicit OpenForScope(Table& t) : t_(t), wasOpen_(t.active()) {
        if (!wasOpen_) t_.open();
    }
    ~OpenForScope() {
        if (!wasOpen_ && t_.active()) t_.close();
    }

private:
    Table& t_;
    bool wasOpen_;
};

} // namespace

void vychoziHodnoty(Table& table, std::vector<std::pair<QString, QVariant>> values) {
    table.onNewRecord.add([values = std::move(values)](Table& t) {
        for (const auto& [name, value] : values) {
            int i = t.fieldIndex(name);
            if (i >= 0) t.setFieldValue(i, value);
        }
    });
}

void predUlozenim(Table& table, TableHandler effect) {
    table.beforePost.add(std::move(effect));
}

void poUlozeni(Table& table, TableHandler effect) {
    table.afterPost.add(std::move(effect));
}

void zapisPoUlozeni(Table& table) {
    table.afterPost.add([](Table& t) { t.flush(); });
}

void casZmenyPredUlozenim(Table& table, const QString& field) {
    table.beforePost.add([field](Table& t) {
        int i = t.fieldIndex(field);
        if (i >= 0) t.setFieldValue(i, QDateTime::currentDateTime());
    });
}

void zapamatujHodnotyPolozky(Table& items, std::vector<HodnotaPolozky> which,
                             std::shared_ptr<PuvodniHodnoty> store) {
    items.afterInsert.add([store](Table&) { *store = PuvodniHodnoty(); });
    items.afterEdit.add([which = std::move(which), store](Table& t) {
        PuvodniHodnoty v;
        for (HodnotaPolozky h : which) {
            switch (h) {
            case HodnotaPolozky::PC_NettoC:
                v.PC_NettoC = decimalOf(t, "PC_NettoC");
                break;
            case HodnotaPolozky::Cena_CiziC:
                v.Cena_CiziC = decimalOf(t, "Cena_CiziC");
                break;
            case HodnotaPolozky::Hmotnost:
                v.Hmotnost = decimalOf(t, "Mnozstvi") * decimalOf(t, "JHmotnost");
                break;
            case HodnotaPolozky::DPH:
                // The whole part, as the header totals take the rate (10.5 % is 10 %).
                v.DPH = int(decimalOf(t, "DPH").truncated());
                break;
            case HodnotaPolozky::Mnozstvi:
                v.Mnozstvi = decimalOf(t, "Mnozstvi");
                break;
            case HodnotaPolozky::Cena_SklC:
                v.Cena_SklC = decimalOf(t, "Cena_SklC");
                break;
            case HodnotaPolozky::Cena_ZobrC:
                v.Cena_ZobrC = decimalOf(t, "Cena_ZobrC");
                break;
            }
        }
        *store = v;
    });
}

void kaskadaPredSmazanimHlavicky(Table& header, Table& items, ZpusobMazaniPolozek how) {
    header.beforeDelete.add([&items, how](Table&) {
        OpenForScope open(items);
        switch (how) {
        case ZpusobMazaniPolozek::EditAKSmazat:
            items.first();
            while (!items.isEmpty()) {
                items.edit();
                items.remove();
            }
            break;
        case ZpusobMazaniPolozek::OdPrvnihoEdit:
            items.first();
            while (!items.eof() && items.hasRecord()) {
                items.edit();
                items.remove();
            }
            break;
        case ZpusobMazaniPolozek::Smazat:
            items.first();
            while (!items.isEmpty())
                items.remove();
            break;
        }
    });
}

void predSmazanim(Table& table, TableHandler step) {
    table.beforeDelete.add(std::move(step));
}

void smazPodrizene(Table& item, Table& detail, const QString& itemFields,
                   const QString& detailFields) {
    const QStringList from = itemFields.split(QLatin1Char(';'));
    QVariantList values;
    for (const QString& f : from) {
        QVariant v = item.fieldValue(item.fieldIndex(f));
        if (v.isNull()) return; // a row without its number has no dependents
        values << v;
    }
    OpenForScope open(detail);
    // A filter another form left on the shared detail would hide some of the rows: they are
    // deleted all the same, and the filter is put back afterwards.
    struct FilterBack {
        Table& t;
        bool on;
        ~FilterBack() {
            if (on && t.active()) t.setFiltered(true);
        }
    } back{detail, detail.filtered()};
    if (back.on) detail.setFiltered(false);
    if (detail.master() == &item) {
        detail.first();
        while (!detail.isEmpty())
            detail.remove();
    } else {
        while (detail.locate(detailFields, values))
            detail.remove();
    }
}

void vynulujPole(Table& item, const QStringList& fields) {
    if (!editing(item)) item.edit();
    for (const QString& f : fields) {
        int i = item.fieldIndex(f);
        if (i >= 0) item.setFieldValue(i, 0);
    }
}

void rozsahAIndexDokladu(Table& table) {
    table.afterOpen.add([](Table& t) {
        if (t.hasRange()) t.cancelRange();
    });
    table.beforeClose.add([](Table& t) { t.setIndexStartingWith(QStringLiteral("CIS_UCTU")); });
}

void vypocitanaPole(Table& table, const std::vector<FieldDef>& fields, TableHandler compute) {
    for (const FieldDef& f : fields)
        if (!table.hasField(f.name)) table.addCalculatedField(f);
    table.onCalcFields.add(std::move(compute));
}

void filtrOznacenych(Table& table, const QString& keyField, const QSet<QString>& marked) {
    table.setFilterCallback([keyField, marked](Table& t) {
        int i = t.fieldIndex(keyField);
        if (i < 0) return false;
        return marked.contains(OrizniVpravo(t.field(i).asString()));
    });
    table.setFiltered(true);
}

void zrusFiltrOznacenych(Table& table) {
    table.setFilterCallback({});
    table.setFiltered(false);
}

QString StavovyText(TableState state) {
    switch (state) {
    case TableState::Browse:
        return QStringLiteral("Prohlížení");
    case TableState::Edit:
        return QStringLiteral("Edit");
    case TableState::Insert:
        return QStringLiteral("Insert");
    default:
        return QStringLiteral("Jiný stav");
    }
}

int pripojStavovyText(Table& table, int panel,
                      std::function<void(int panel, const QString& text)> write) {
    write(panel, StavovyText(table.state()));
    return table.onStateChange.add(
        [panel, write = std::move(write)](Table& t) { write(panel, StavovyText(t.state())); });
}

void odpojStavovyText(Table& table, int id) {
    table.onStateChange.remove(id);
}

} // namespace brix
