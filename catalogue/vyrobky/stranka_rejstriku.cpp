#include "stranka_rejstriku.h"

#include "datacis.h"
#include "datagrid.h"
#include "dialogs/filter_forms.h"
#include "formul_vyrobky.h"
#include "grid_model.h"
#include "platform.h"
#include "rejstrik_vyrobku.h"
#include "sestava.h"
#include "statusbar.h"
#include "storage_error.h"
#include "util/nastaveni.h"
#include "util/text_utils.h"
#include "vstup/tisk_seznamu.h"
#include "vstup/vstup_dat.h"
#include "vyrobky.h"

#include <QBoxLayout>
#include <QDate>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace brix {

namespace {

// The status-bar panels: the hint of the focused control, the filter.
constexpr int kPanelNapovedy = 0;
constexpr int kPanelFiltru = 2;

// The captions of the columns that do not show their field name, whatever layout placed them.
const QHash<QString, QString>& popiskySloupcu() {
    static const QHash<QString, QString> p = {
        {QStringLiteral("PC_VYNSKUP"), QStringLiteral("VS")},
        {QStringLiteral("DRUHMN"), QStringLiteral("MJ")},
        {QStringLiteral("DISPONMN"), QStringLiteral("Množství")}};
    return p;
}

// Amounts of money in the grid: always two places ("297,50").
bool jePenezni(const QString& pole) {
    static const QStringList penize = {QStringLiteral("PC_ZAKL"),   QStringLiteral("MO_CENA"),
                                       QStringLiteral("SKLZAS_KC"), QStringLiteral("NC_NETTO"),
                                       QStringLiteral("PC_MIN"),    QStringLiteral("NC_ZAHR")};
    return penize.contains(pole.toUpper());
}

class PenezniSloupec : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale& locale) const override {
        const QString t = value.toString();
        if (t.isEmpty()) return t;
        const std::optional<Decimal> d = Decimal::parse(t);
        return d ? d->toString(2) : QStyledItemDelegate::displayText(value, locale);
    }
};

void pridejUzly(QTreeWidgetItem* rodic, const UzelStromu& u) {
    for (const UzelStromu& d : u.deti) {
        auto* i = new QTreeWidgetItem(rodic, QStringList{d.text});
        i->setData(0, Qt::UserRole, d.filtr);
        pridejUzly(i, d);
    }
}

} // namespace

RejstrikVyrobku::RejstrikVyrobku(TFormulVyrobky& form, TDataCis& dm)
    : QObject(&form), f_(form), dm_(dm), vyrobky_(&form.table()) {
    f_.setNotFound(NotFoundAction::Question, QStringLiteral("Neexistující výrobek pro hledání"));
    // The tree beside the grid, hidden until asked for.
    Strom = new QTreeWidget(f_.TabSheetBrowse);
    Strom->setObjectName(QStringLiteral("StromSkupin"));
    Strom->setHeaderHidden(true);
    Strom->hide();
    if (auto* l = qobject_cast<QBoxLayout*>(f_.TabSheetBrowse->layout())) {
        const int i = l->indexOf(f_.DbGrid1);
        auto* rozdeleni = new QSplitter(f_.TabSheetBrowse);
        l->insertWidget(i, rozdeleni, 1);
        rozdeleni->addWidget(Strom);
        rozdeleni->addWidget(f_.DbGrid1);
        rozdeleni->setStretchFactor(1, 1);
    }
    connect(Strom, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* i) { KliknutiStromu(i); });

    if (f_.MenuHledej) {
        f_.MenuHledej->addSeparator();
        connect(f_.MenuHledej->addAction(QStringLiteral("&Strom kódových označení")),
                &QAction::triggered, this, [this] { StromSkupin(true); });
        connect(f_.MenuHledej->addAction(QStringLiteral("S&trom výnosových skupin")),
                &QAction::triggered, this, [this] { StromSkupin(false); });
        connect(f_.MenuHledej->addAction(QStringLiteral("&Bez stromu")), &QAction::triggered, this,
                [this] { BezStromu(); });
    }

    if (!f_.MenuRozsah) {
        f_.MenuRozsah = f_.MainMenu->addMenu(QStringLiteral("&Rozsah"));
        f_.addBrowseMenu(f_.MenuRozsah);
    }
    QAction* prvni = f_.MenuRozsah->actions().value(0);
    const auto rozsah = [&](const QString& popis, const QString& pole, bool textove, bool sDo,
                            bool prefix) {
        auto* a = new QAction(popis, this);
        f_.MenuRozsah->insertAction(prvni, a);
        connect(a, &QAction::triggered, this,
                [this, pole, textove, sDo, prefix] { RozsahVyrobku(pole, textove, sDo, prefix); });
    };
    const QString klic = KlicVyrobku();
    const bool dleCisla = klic.compare(QLatin1String("Cis_vyr"), Qt::CaseInsensitive) == 0;
    rozsah(QStringLiteral("&") + klic, klic, !dleCisla, false, true);
    rozsah(QStringLiteral("&Kódové označ. 1"), QStringLiteral("KOD_OZN1"), true, false, true);
    rozsah(QStringLiteral("&Název"), QStringLiteral("NAZEV"), true, false, true);
    rozsah(QStringLiteral("&Výnos.skupina"), QStringLiteral("PC_VYNSKUP"), false, true, false);
    MenuDodavatel = new QAction(QStringLiteral("&Dodavatel"), this);
    f_.MenuRozsah->insertAction(prvni, MenuDodavatel);
    connect(MenuDodavatel, &QAction::triggered, this, [this] { DodavatelClick(); });
    if (!f_.MenuBezFiltru) {
        f_.MenuBezFiltru = new QAction(QStringLiteral("&Bez filtru"), this);
        f_.MenuRozsah->insertAction(prvni, f_.MenuBezFiltru);
        connect(f_.MenuBezFiltru, &QAction::triggered, this, [this] { f_.bezFiltruClick(); });
    }
    // After the register's own handler: the filter panel cleared, the grid re-read.
    connect(f_.MenuBezFiltru, &QAction::triggered, this, [this] {
        ukazFiltr();
        obnov();
    });
    MenuOznacene = new QAction(QStringLiteral("&Označené věty"), this);
    f_.MenuRozsah->insertAction(prvni, MenuOznacene);
    connect(MenuOznacene, &QAction::triggered, this, [this] { OznaceneVetyClick(); });

    // The order's name beside the search column; each item of "Tří&dění" names its order.
    LabelIndex = new QLabel(f_.TabSheetBrowse);
    LabelIndex->setObjectName(QStringLiteral("LabelIndex"));
    if (QWidget* p = f_.LabelTrideni->parentWidget())
        if (auto* radek = qobject_cast<QBoxLayout*>(p->layout()))
            for (int i = 0; i < radek->count(); ++i)
                if (auto* r = qobject_cast<QBoxLayout*>(radek->itemAt(i)->layout());
                    r && r->indexOf(f_.LabelTrideni) >= 0) {
                    r->insertWidget(r->indexOf(f_.LabelTrideni) + 1,
                                    new QLabel(QStringLiteral("Index"), f_.TabSheetBrowse));
                    r->insertWidget(r->indexOf(f_.LabelTrideni) + 2, LabelIndex);
                }
    {
        const QString klicPole = KlicVyrobku();
        const QStringList nazvy = {QStringLiteral("Kod_Ozn1;Kod_Ozn2;Nazev"), klicPole,
                                   QStringLiteral("Nazev"), QStringLiteral("Výnos.skupina")};
        for (int i = 0; i < f_.sortActions.size() && i < nazvy.size(); ++i)
            connect(f_.sortActions[i], &QAction::triggered, this,
                    [this, n = nazvy[i]] { LabelIndex->setText(n); });
    }

    // F3 in the grid opens "&Hledej" (on the entry page F3 opens the choosers).
    f_.DbGrid1->installEventFilter(this);

    MenuKopieKodu = new QAction(QStringLiteral("&Kopie posl.Kod Ozn"), this);
    MenuKopieKodu->setShortcut(Qt::Key_F4);
    MenuKopieKodu->setShortcutContext(Qt::WindowShortcut);
    MenuHromadnaZmena = new QAction(QStringLiteral("&Hromadná změna kod.ozn"), this);
    MenuPrepocetDPH = new QAction(QStringLiteral("Přepočet DPH a MO ceny 19%"), this);
    for (QAction* a : {MenuKopieKodu, MenuHromadnaZmena, MenuPrepocetDPH})
        f_.MenuFunkce->addAction(a);
    connect(MenuKopieKodu, &QAction::triggered, this, [this] { KopieKoduClick(); });
    connect(MenuHromadnaZmena, &QAction::triggered, this, [this] { HromadnaZmenaClick(); });
    connect(MenuPrepocetDPH, &QAction::triggered, this, [this] { PrepocetDPHClick(); });

    MenuPohyby = new QAction(QStringLiteral("Pohyby &sklad.karty"), this);
    f_.MenuFunkce->insertAction(f_.MenuFunkce->actions().value(0), MenuPohyby);
    connect(MenuPohyby, &QAction::triggered, this, [this] { PohybyClick(); });
    MenuZasoby = new QAction(QStringLiteral("Zobrazit skladové zásoby"), this);
    MenuZasoby->setCheckable(true);
    f_.MenuFunkce->addAction(MenuZasoby);
    connect(MenuZasoby, &QAction::triggered, this, [this](bool on) { ZasobyClick(on); });

    if (!f_.MenuTisk) {
        f_.MenuTisk = new QMenu(QStringLiteral("&Tisk"), &f_);
        f_.MainMenu->insertMenu(f_.MenuFunkce->menuAction(), f_.MenuTisk);
        f_.addBrowseMenu(f_.MenuTisk);
    }
    MenuCarovyKod = new QAction(QStringLiteral("Čárový kód"), this);
    f_.MenuTisk->insertAction(f_.MenuTisk->actions().value(0), MenuCarovyKod);
    connect(MenuCarovyKod, &QAction::triggered, this, [this] { CarovyKodClick(); });
    MenuTiskovySpravce = f_.MenuTisk->addAction(QStringLiteral("&Tiskový správce"));
    connect(MenuTiskovySpravce, &QAction::triggered, this, [this] { TiskovySpravceClick(); });

    // The stock levels of the current product under the grid, hidden until asked for.
    GridZasoby = new DataGrid(f_.TabSheetBrowse);
    GridZasoby->setObjectName(QStringLiteral("GridZasoby"));
    GridZasoby->hide();
    connect(GridZasoby, &QObject::destroyed, this, [this] { GridZasoby = nullptr; });
    if (auto* l = qobject_cast<QBoxLayout*>(f_.TabSheetBrowse->layout())) {
        const int i = Strom->parentWidget() ? l->indexOf(Strom->parentWidget()) : -1;
        l->insertWidget(i + 1, GridZasoby);
    }
    // The detail cursor follows the products; it goes when they are closed.
    zavreniVyrobku_ = f_.table().beforeClose.add([this](Table&) { skryjZasoby(); });
    f_.hooks().exportTable = [this, predchozi = f_.hooks().exportTable](RegisterForm& r) {
        dm_.ExportDodavatele = true;
        try {
            if (predchozi)
                predchozi(r);
            else if (RegisterHooks::global().exportTable)
                RegisterHooks::global().exportTable(r);
            else
                Platform::current().error(QStringLiteral("Export dat není k dispozici"));
        } catch (...) {
            dm_.ExportDodavatele = false;
            throw;
        }
        dm_.ExportDodavatele = false;
    };
}

RejstrikVyrobku::~RejstrikVyrobku() {
    // The form's widgets are gone by now; the shared products outlive it.
    vyrobky_->beforeClose.remove(zavreniVyrobku_);
    if (zasoby_) zasoby_->setMaster(nullptr, QString(), QString());
}

bool RejstrikVyrobku::eventFilter(QObject* watched, QEvent* event) {
    if (watched == f_.DbGrid1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F3 && f_.MenuHledej) {
        f_.MenuHledej->popup(f_.DbGrid1->mapToGlobal(QPoint(0, 0)));
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void RejstrikVyrobku::ukazFiltr() {
    Table& t = f_.table();
    f_.StatusBar1->setPanelText(kPanelFiltru, t.active() && t.filtered() && !t.filter().isEmpty()
                                                  ? QStringLiteral("Filtr :") + t.filter()
                                                  : QString());
}

void RejstrikVyrobku::obnov() {
    if (f_.DbGrid1->gridModel()) f_.DbGrid1->gridModel()->reload();
    f_.DbGrid1->syncToTable();
}

void RejstrikVyrobku::RozsahVyrobku(const QString& pole, bool textove, bool sDo, bool prefix) {
    f_.StatusBar1->setPanelText(kPanelFiltru, QString());
    const QString vyzva = QStringLiteral("Zadej položku ") + pole;
    QString od;
    if (!Platform::current().inputQuery(QStringLiteral("Rozsah"), vyzva, od)) return;
    std::optional<QString> doHodnota;
    if (sDo) {
        QString d;
        if (!Platform::current().inputQuery(QStringLiteral("Rozsah do"), vyzva, d)) return;
        doHodnota = d;
    }
    const QString podminka = PodminkaRozsahu(pole, textove, od, doHodnota, prefix);
    // The join gives a filter with partial compares; an exact range switches them off (a prefix
    // range would only read the whole filter again).
    if (zapniRozsah(&f_, f_.table(), podminka) && !prefix)
        filtr::applyPartialOption(f_.table(), true);
    ukazFiltr();
    obnov();
}

void RejstrikVyrobku::DodavatelClick() {
    f_.StatusBar1->setPanelText(kPanelFiltru, QString());
    f_.table().setFiltered(false);
    QString text;
    if (!Platform::current().inputQuery(QStringLiteral("Filtr"),
                                        QStringLiteral("Zadej číslo dodavatele/název"), text) ||
        text.trimmed().isEmpty()) {
        obnov();
        return;
    }
    const std::optional<qint64> firma = DodavatelFiltru(dm_.database(), text);
    if (!firma) {
        Platform::current().information(QString::fromUtf16(kFirmaNenalezena));
        obnov();
        return;
    }
    zapniRozsah(&f_, f_.table(), PodminkaDodavatele(*firma));
    ukazFiltr();
    obnov();
}

void RejstrikVyrobku::OznaceneVetyClick() {
    if (!f_.table().active()) return;
    f_.filterMarkedRecords(QStringLiteral("Cis_vyr"));
    f_.StatusBar1->setPanelText(kPanelFiltru, QStringLiteral("Filtr : Označené věty"));
    obnov();
}

void RejstrikVyrobku::StromSkupin(bool kody) {
    Strom->clear();
    try {
        const UzelStromu koren =
            kody ? StromKodovychOznaceni(dm_.database()) : StromVynosovychSkupin(dm_.database());
        auto* vse = new QTreeWidgetItem(Strom, QStringList{koren.text});
        vse->setData(0, Qt::UserRole, QString());
        pridejUzly(vse, koren);
        vse->setExpanded(true);
    } catch (const StorageError& e) {
        f_.reportStorageError(e);
    }
    Strom->show();
}

void RejstrikVyrobku::BezStromu() {
    Strom->hide();
    f_.DbGrid1->setFocus();
}

void RejstrikVyrobku::KliknutiStromu(QTreeWidgetItem* uzel) {
    if (!uzel) return;
    const QString filtr = uzel->data(0, Qt::UserRole).toString();
    f_.applyFilter(filtr);
    ukazFiltr();
    obnov();
}

void RejstrikVyrobku::KopieKoduClick() {
    Table& vyr = f_.table();
    if (!vyr.active() || !vyr.hasRecord()) return;
    try {
        if (vyr.state() == TableState::Browse) vyr.edit();
        vyr.field(QStringLiteral("Kod_Ozn1")).setString(dm_.PoslKodOzn1);
        vyr.post();
    } catch (const StorageError& e) {
        if (vyr.state() != TableState::Browse) vyr.cancel();
        f_.reportStorageError(e);
    }
    obnov();
}

void RejstrikVyrobku::HromadnaZmenaClick() {
    QString kod;
    if (!Platform::current().inputQuery(QStringLiteral("Kódové označení-rozkopírovat dle filtru"),
                                        QStringLiteral("Zadej hromadně kódové označení"), kod) ||
        kod.isEmpty())
        return;
    Table& vyr = f_.table();
    if (!vyr.active()) return;
    BusyCursor cekej;
    const Pozice kde = pozice(); // before the keys are read: that walk moves the components
    const std::vector<qint64> cisla = KliceVyrobku(vyr);
    const VysledekZmeny v = HromadnaZmenaKodu(dm_.database(), cisla, kod);
    if (!v.ok) Platform::current().error(v.chyba);
    obnovPozici(kde);
}

RejstrikVyrobku::Pozice RejstrikVyrobku::pozice() const {
    Pozice p;
    Table& vyr = f_.table();
    if (vyr.active() && vyr.hasRecord())
        p.vyrobek = vyr.field(QStringLiteral("Cis_vyr")).asInteger();
    Table* k = dm_.TableVyrKomp;
    if (k && k->active() && k->hasRecord())
        p.komponenta = k->field(QStringLiteral("KCisVyr")).asInteger();
    return p;
}

void RejstrikVyrobku::obnovPozici(const Pozice& p) {
    Table& vyr = f_.table();
    try {
        vyr.refresh();
        if (p.vyrobek) vyr.locate(QStringLiteral("Cis_vyr"), {p.vyrobek});
        // The grid shows the product first: its move puts the components on their first.
        obnov();
        Table* k = dm_.TableVyrKomp;
        if (p.komponenta && k && k->active()) {
            k->refresh();
            k->locate(QStringLiteral("KCisVyr"), {p.komponenta});
        }
    } catch (const StorageError& e) {
        f_.reportStorageError(e);
    }
}

void RejstrikVyrobku::PrepocetDPHClick() {
    if (!Platform::current().askYesNo(QString::fromUtf16(kOtazkaDPH))) return;
    Table& vyr = f_.table();
    if (!vyr.active()) return;
    VysledekDPH v;
    {
        BusyCursor cekej;
        const Pozice kde = pozice();
        const std::vector<qint64> cisla = KliceVyrobku(vyr);
        v = PrepocetDPH(dm_.database(), cisla);
        obnovPozici(kde);
    }
    if (!v.ok) {
        Platform::current().error(v.chyba);
        return;
    }
    if (!ZapisLogDPH(dm_.database().root(), v.radkyLogu))
        Platform::current().error(QStringLiteral("Soubor Vyr_NC.log nelze zapsat"));
    Platform::current().warning(QString::fromUtf16(kZmenaDPHDokoncena));
}

void RejstrikVyrobku::upravSloupce() {
    GridModel* m = f_.DbGrid1->gridModel();
    if (!m) return;
    QList<GridColumn> sloupce = m->columns();
    bool zmena = false;
    for (GridColumn& c : sloupce) {
        const auto p = popiskySloupcu().constFind(c.field.toUpper());
        if (p != popiskySloupcu().cend() && c.title != *p) {
            c.title = *p;
            zmena = true;
        }
    }
    if (zmena) f_.DbGrid1->setColumns(sloupce);
    for (int i = 0; i < m->columnCount(); ++i) {
        QAbstractItemDelegate* d = f_.DbGrid1->itemDelegateForColumn(i);
        if (jePenezni(m->columns()[i].field)) {
            if (!d) f_.DbGrid1->setItemDelegateForColumn(i, new PenezniSloupec(f_.DbGrid1));
        } else if (d) {
            f_.DbGrid1->setItemDelegateForColumn(i, nullptr);
            d->deleteLater();
        }
    }
}

void RejstrikVyrobku::PoOtevreni() {
    upravSloupce();
    f_.StatusBar1->showHintsIn(kPanelNapovedy);
    if (f_.chooserMode()) {
        Strom->hide();
        return;
    }
    f_.setSearchField(QStringLiteral("ObjCis"));
    LabelIndex->setText(nastaveniProgramu().hledaniDleCislaVyrobku()
                            ? QStringLiteral("Kod_Ozn1;Kod_Ozn2;Nazev")
                            : KlicVyrobku());
    StromSkupin(false);
    if (MenuZasoby->isChecked()) ukazZasoby(75);
}

void RejstrikVyrobku::PohybyClick() {
    Table& vyr = f_.table();
    if (!vyr.active() || !vyr.hasRecord()) return;
    const qint64 cislo = vyr.field(QStringLiteral("Cis_vyr")).asInteger();
    try {
        Table pohyby(dm_.database(), QStringLiteral("Sklady\\SklPol"));
        pohyby.setIndexName(QStringLiteral("CisVyr"));
        pohyby.open();
        pohyby.setRange({cislo, QVariant()}, {cislo, QDate(2100, 12, 31)});
        {
            TFrmVstupDat karta(pohyby, QStringLiteral("FormSklPol"), {}, {}, &f_);
            karta.setObjectName(QStringLiteral("SkladovaKarta"));
            // Only looked at: the range is the card's, nothing is entered or deleted.
            karta.setSelectionMode(true);
            // The ledger browser's columns (the first, hidden, keeps the direction at hand).
            QList<GridColumn> sloupce;
            for (const char* pole : {"P_V", "Cis_Vyr", "Druh_Uctu", "Cis_Uctu", "PorCis", "P_V",
                                     "Dat_Plneni", "Mnozstvi", "PCena", "SklCena", "Cis_Sklad"})
                sloupce.push_back({QString::fromLatin1(pole), {}, sloupce.isEmpty() ? -1 : 0});
            karta.DbGrid1->setColumns(sloupce);
            for (QAction* a : {karta.MenuNovy, karta.MenuOprava, karta.MenuSmazat})
                if (a) {
                    a->setEnabled(false);
                    a->setVisible(false);
                }
            karta.showRegister();
        }
        pohyby.close();
    } catch (const StorageError& e) {
        f_.reportStorageError(e);
    }
}

void RejstrikVyrobku::ZasobyClick(bool ukaz) {
    MenuZasoby->setChecked(ukaz);
    if (ukaz)
        ukazZasoby(65);
    else
        skryjZasoby();
}

void RejstrikVyrobku::ukazZasoby(int vyska) {
    try {
        if (!zasoby_) {
            zasoby_ = std::make_unique<Table>(dm_.database(), QStringLiteral("Sklady\\SklZas"));
            zasoby_->setIndexName(QStringLiteral("CisVyr"));
        }
        zasoby_->setMaster(&f_.table(), QStringLiteral("Cis_vyr"), QStringLiteral("Cis_Vyr"));
        if (!zasoby_->active()) zasoby_->open();
        if (GridZasoby->table() != zasoby_.get()) {
            GridZasoby->setTable(zasoby_.get());
            GridZasoby->setColumns({{QStringLiteral("Cis_Vyr"), {}, 0},
                                    {QStringLiteral("Cis_Sklad"), {}, 0},
                                    {QStringLiteral("SklZas_ks"), {}, 0},
                                    {QStringLiteral("SklZas_kc"), {}, 0},
                                    {QStringLiteral("Objednano"), {}, 0},
                                    {QStringLiteral("Posl_Zmena"), {}, 0}});
            GridZasoby->setItemDelegateForColumn(3, new PenezniSloupec(GridZasoby));
        } else if (GridZasoby->gridModel()) {
            GridZasoby->gridModel()->reload();
        }
    } catch (const StorageError& e) {
        f_.reportStorageError(e);
        return;
    }
    GridZasoby->setFixedHeight(vyska);
    GridZasoby->show();
}

void RejstrikVyrobku::skryjZasoby() {
    if (GridZasoby) {
        GridZasoby->hide();
        GridZasoby->setTable(nullptr);
    }
    if (!zasoby_) return;
    zasoby_->setMaster(nullptr, QString(), QString());
    if (zasoby_->active()) zasoby_->close();
}

void NastavNalepky(report::TSestava& sestava, const QString& korenDat, const QStringList& hodnoty,
                   int pocet) {
    sestava.DataSource = nullptr;
    sestava.Parametry = udajeFirmy().radky();
    sestava.ReportDirIgnore = false;
    sestava.setReportDir(korenDat);
    sestava.programDir = korenDat;
    sestava.setReportName(CestaSablony(korenDat, QStringLiteral("ciselnik\\Car_Kod.pts")));
    sestava.SetFieldNames(
        {QStringLiteral("EAN13"), QStringLiteral("Nazev"), QStringLiteral("MO_Cena")});
    sestava.SetFieldLabels(
        {QStringLiteral("EAN13"), QStringLiteral("Název"), QStringLiteral("Cena MO")});
    // Steps 1 to N, every one the same product.
    auto krok = std::make_shared<int>(0);
    sestava.OnStepData = [krok, pocet](report::TSestavaD&, report::TStepDir smer) {
        switch (smer) {
        case report::sdFirst:
            *krok = 1;
            break;
        case report::sdLast:
            *krok = pocet;
            break;
        case report::sdNext:
            ++*krok;
            break;
        case report::sdPrior:
            --*krok;
            break;
        }
        if (*krok > pocet) return report::TStepResult(report::srEnd);
        if (*krok < 1) return report::TStepResult(report::srBegin);
        return report::TStepResult(0);
    };
    sestava.OnGetData = [hodnoty](report::TSestavaD& s) { s.values = hodnoty; };
}

void RejstrikVyrobku::CarovyKodClick() {
    Table& vyr = f_.table();
    if (!vyr.active() || !vyr.hasRecord()) return;
    const QString ean = vyr.field(QStringLiteral("EAN13")).asString().trimmed();
    if (ean.isEmpty()) {
        Platform::current().information(QString::fromUtf16(kBezEAN13));
        return;
    }
    QString text = QStringLiteral("48");
    if (!Platform::current().inputQuery(QStringLiteral("Počet nálepek :"), QStringLiteral("Dotaz"),
                                        text))
        return;
    const std::optional<int> pocet = PocetNalepek(text);
    if (!pocet) return;
    const Field cena = vyr.field(QStringLiteral("MO_Cena"));
    const QStringList hodnoty{ean, OrizniVpravo(vyr.field(QStringLiteral("Nazev")).asString()),
                              cena.isNull() ? QString()
                                            : Decimal::fromDouble(cena.asFloat()).toString(2)};
    report::TSestava sestava;
    NastavNalepky(sestava, dm_.database().root(), hodnoty, *pocet);
    bool ohlaseno = false;
    sestava.OnError = [&ohlaseno](report::TSestava&, int kod) {
        if (!ohlaseno) ohlaseno = OhlasChybuSestavy(kod, QStringLiteral("ciselnik\\Car_Kod.pts"));
        return true;
    };
    if (sestava.LoadTemplate(false) != report::seOk) return;
    if (TiskniNalepky)
        TiskniNalepky(sestava);
    else
        sestava.PrintPreview();
}

void RejstrikVyrobku::TiskovySpravceClick() {
    f_.openPrintManager(QStringLiteral("Ciselnik\\"), QStringLiteral("PrVy"));
}

void RejstrikVyrobku::ExportClick() {
    f_.exportClick();
}

} // namespace brix
