#include "vstup_dat.h"

#include "dialogs/filter_forms.h"
#include "platform.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWindowStateChangeEvent>

namespace brix {

namespace {

// One literal of the filter language spanning the whole text: 'abc', "a""b", 12, -1.5.
bool isSingleLiteral(const QString& t) {
    if (t.size() >= 2 && (t.front() == QLatin1Char('\'') || t.front() == QLatin1Char('"')) &&
        t.back() == t.front()) {
        const QChar q = t.front();
        for (int i = 1; i < t.size() - 1; ++i) {
            if (t[i] != q) continue;
            if (i + 1 < t.size() - 1 && t[i + 1] == q)
                ++i;
            else
                return false;
        }
        return true;
    }
    bool ok = false;
    t.toDouble(&ok);
    return ok;
}

QString doubled(QString v, QChar q) {
    v.replace(q, QString(2, q));
    return v;
}

} // namespace

RegisterConfig TFrmVstupDat::makeConfig(const QString& caption, const QList<PolozkaTagu>& hledej,
                                        const QList<PolozkaTagu>& rozsah) {
    RegisterConfig c;
    c.caption = caption;
    for (const PolozkaTagu& p : hledej)
        c.searchItems.push_back({p.caption, QString()});
    c.searchFirstColumn = true;
    c.noFilterItem = true;
    c.filterItem = true;
    for (const PolozkaTagu& p : rozsah) {
        RangeItem r;
        r.caption = p.caption;
        r.kind = RangeItem::Kind::Fixed;
        c.rangeItems.push_back(r);
    }
    c.printManagerPrefix = prefixTisku();
    c.printManagerDirectory.clear();
    c.filterDisplay = FilterDisplay::Expression;
    c.entryNavigator = true;
    c.f6Saves = false;
    c.sourceName = QStringLiteral("DS_Hlavni");
    return c;
}

TFrmVstupDat::TFrmVstupDat(Table& table, const QString& caption, QList<PolozkaTagu> hledej,
                           QList<PolozkaTagu> rozsah, QWidget* parent)
    : RegisterForm(table, makeConfig(caption, hledej, rozsah), parent), hledej_(std::move(hledej)),
      rozsah_(std::move(rozsah)) {
    setObjectName(QStringLiteral("FrmVstupDat"));
    DS_Hlavni.name = QStringLiteral("DS_Hlavni");
    DS_Hlavni.table = &table;
    MenuIndex = MainMenu->addMenu(QStringLiteral("&Index"));
    addBrowseMenu(MenuIndex);
    hooks().filterDialog = [this](RegisterForm&) {
        spustFiltr(this, *DS_Hlavni.table, DS_Hlavni.name);
    };
}

QString TFrmVstupDat::NazevHledanePolozky(int tag) const {
    if (tag == 1) return QStringLiteral("Neni zmenen nazev hledaci polozky");
    return QString();
}

QString TFrmVstupDat::PrefixFiltru(int tag) const {
    if (tag == 1) return QStringLiteral("Definujte Nazev");
    return QString();
}

QString TFrmVstupDat::searchFieldOfItem(int item) const {
    if (item < 0 || item >= hledej_.size()) return QString();
    return NazevHledanePolozky(hledej_[item].tag);
}

QString TFrmVstupDat::hodnotaRozsahu(int tag, const QString& typed) {
    switch (tag) {
    case 1:
    case 2:
        return typed.isEmpty() ? QString() : doubled(typed, QLatin1Char('"')) + QLatin1Char('"');
    case 3:
        return QStringLiteral(" 0");
    case 5:
        return typed.isEmpty()
                   ? QString()
                   : QLatin1Char('\'') + doubled(typed, QLatin1Char('\'')) + QLatin1Char('\'');
    default: {
        const QString t = typed.trimmed();
        if (t.isEmpty()) return QString();
        if (isSingleLiteral(t)) return typed;
        QString n = t;
        n.replace(QLatin1Char(','), QLatin1Char('.'));
        if (isSingleLiteral(n)) return n; // a number with a decimal comma
        return QLatin1Char('\'') + doubled(typed, QLatin1Char('\'')) + QLatin1Char('\'');
    }
    }
}

void TFrmVstupDat::rozsahItem(int item) {
    if (item < 0 || item >= rozsah_.size()) return;
    const int tag = rozsah_[item].tag;
    const QString prefix = PrefixFiltru(tag);
    // The filter is off first: a cancelled question leaves the table unfiltered.
    applyFilter(QString());
    QString typed;
    if (tag != 3 &&
        !askValue(QStringLiteral("Zadejte položku ") + prefix, QStringLiteral("Dotaz"), typed))
        return;
    const QString value = hodnotaRozsahu(tag, typed);
    if (value.isEmpty()) return;
    applyFilter(prefix + value);
}

bool TFrmVstupDat::setDataSource(const DataSource* source) {
    external_ = source;
    return checkDataSource(source);
}

void TFrmVstupDat::changeEvent(QEvent* event) {
    RegisterForm::changeEvent(event);
    // Minimising the form minimises the whole application.
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != this && w->isVisible() && !(w->windowState() & Qt::WindowMinimized))
                w->showMinimized();
    }
}

} // namespace brix
