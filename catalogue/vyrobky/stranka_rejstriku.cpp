#include "stranka_rejstriku.h"

#include "datacis.h"
#include "datagrid.h"
#include "dialogs/filter_forms.h"
#include "formul_vyrobky.h"
#include "platform.h"
#include "rejstrik_vyrobku.h"
#include "statusbar.h"
#include "storage_error.h"
#include "util/text_utils.h"
#include "vyrobky.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTreeWidget>

namespace brix {

namespace {

// The status-bar panel of the filter.
constexpr int kPanelFiltru = 1;

void pridejUzly(QTreeWidgetItem* rodic, const UzelStromu& u) {
    for (const UzelStromu& d : u.deti) {
        auto* i = new QTreeWidgetItem(rodic, QStringList{d.text});
        i->setData(0, Qt::UserRole, d.filtr);
        pridejUzly(i, d);
    }
}

} // namespace

RejstrikVyrobku::RejstrikVyrobku(TFormulVyrobky& form, TDataCis& dm)
    : QObject(&form), f_(form), dm_(dm) {
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
        connect(f_.MenuBezFiltru, &QAction::triggered, this, [this] {
            f_.bezFiltruClick();
            ukazFiltr();
            obnov();
        });
    }
    MenuOznacene = new QAction(QStringLiteral("&Označené věty"), this);
    f_.MenuRozsah->insertAction(prvni, MenuOznacene);
    connect(MenuOznacene, &QAction::triggered, this, [this] { OznaceneVetyClick(); });

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
    if (zapniRozsah(&f_, f_.table(), podminka)) filtr::applyPartialOption(f_.table(), !prefix);
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
    Table& vyr = f_.table();
    if (!vyr.active()) return;
    QSet<QString> klice;
    {
        Table t(vyr.database(), vyr.def().address());
        t.open();
        for (qint64 b : f_.DbGrid1->markedBookmarks())
            if (t.gotoBookmark(b))
                klice.insert(OrizniVpravo(t.field(QStringLiteral("Cis_vyr")).asString()));
    }
    try {
        vyr.setFiltered(false);
        vyr.setFilter(QString());
        dm_.filtrOznacenych(vyr, QStringLiteral("Cis_vyr"), klice);
    } catch (const StorageError& e) {
        f_.reportStorageError(e);
    }
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
    const std::vector<qint64> cisla = KliceVyrobku(vyr);
    const qint64 aktualni = vyr.hasRecord() ? vyr.field(QStringLiteral("Cis_vyr")).asInteger() : 0;
    const VysledekZmeny v = HromadnaZmenaKodu(dm_.database(), cisla, kod);
    if (!v.ok) Platform::current().error(v.chyba);
    vyr.refresh();
    if (aktualni) vyr.locate(QStringLiteral("Cis_vyr"), {aktualni});
    obnov();
}

void RejstrikVyrobku::PrepocetDPHClick() {
    if (!Platform::current().askYesNo(QString::fromUtf16(kOtazkaDPH))) return;
    Table& vyr = f_.table();
    if (!vyr.active()) return;
    VysledekDPH v;
    {
        BusyCursor cekej;
        const std::vector<qint64> cisla = KliceVyrobku(vyr);
        const qint64 aktualni =
            vyr.hasRecord() ? vyr.field(QStringLiteral("Cis_vyr")).asInteger() : 0;
        v = PrepocetDPH(dm_.database(), cisla);
        vyr.refresh();
        if (aktualni) vyr.locate(QStringLiteral("Cis_vyr"), {aktualni});
    }
    obnov();
    if (!v.ok) {
        Platform::current().error(v.chyba);
        return;
    }
    if (!ZapisLogDPH(dm_.database().root(), v.radkyLogu))
        Platform::current().error(QStringLiteral("Soubor Vyr_NC.log nelze zapsat"));
    Platform::current().warning(QString::fromUtf16(kZmenaDPHDokoncena));
}

void RejstrikVyrobku::PoOtevreni() {
    if (f_.chooserMode()) {
        Strom->hide();
        return;
    }
    f_.setSearchField(QStringLiteral("ObjCis"));
    StromSkupin(false);
}

void RejstrikVyrobku::ExportClick() {
    f_.exportClick();
}

} // namespace brix
