#include "formul_iprij_grid.h"

#include "ceny_datacis.h"
#include "datacis.h"
#include "datagrid.h"
#include "dialogs/criteria_dialogs.h"
#include "export/export_dialog.h"
#include "platform.h"
#include "pravidla_dokladu.h"
#include "prijem.h"
#include "report_source.h"
#include "statusbar.h"
#include "table.h"
#include "util/nastaveni.h"
#include "uzavreni.h"
#include "vstup/tisk_seznamu.h"
#include "vyber_vyrobku.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStyledItemDelegate>

namespace brix {

namespace {

const QString kVarovani = QStringLiteral("Varování");
const QString kUpozorneni = QStringLiteral("Upozornění");

// Rows of open receipts are drawn in dark red unless selected or focused.
class OtevreneCervene : public QStyledItemDelegate {
public:
    OtevreneCervene(DataGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

protected:
    void initStyleOption(QStyleOptionViewItem* o, const QModelIndex& i) const override {
        QStyledItemDelegate::initStyleOption(o, i);
        if (o->state & (QStyle::State_Selected | QStyle::State_HasFocus)) return;
        GridModel* m = grid_->gridModel();
        const int sloupec = m ? m->columnOfField(QStringLiteral("STAV")) : -1;
        if (sloupec < 0) return;
        if (m->index(i.row(), sloupec).data().toString().trimmed() == QLatin1String("0"))
            o->palette.setColor(QPalette::Text, QColor(0x80, 0, 0));
    }

private:
    DataGrid* grid_;
};

RegisterConfig nastaveniRegistru() {
    RegisterConfig c;
    c.caption = QStringLiteral("Interní příjem zboží na sklad");
    c.order = QStringLiteral("Cis_Uctu");
    c.columns = {{QStringLiteral("Paticka"), QString(), -1},
                 {QStringLiteral("CIS_UCTU"), QString(), 0},
                 {QStringLiteral("DRUH"), QString(), 0},
                 {QStringLiteral("STAV"), QString(), 0},
                 {QStringLiteral("Vystavil"), QString(), 0},
                 {QStringLiteral("Cena_ZobrCelk"), QString(), 0},
                 {QStringLiteral("Var_Symbol"), QString(), 0},
                 {QStringLiteral("Dat_Vystaveni"), QString(), 0},
                 {QStringLiteral("Dat_Plneni"), QString(), 0},
                 {QStringLiteral("Dat_Uct"), QString(), 0},
                 {QStringLiteral("Prenos"), QString(), 0},
                 {QStringLiteral("Ozn_Obj"), QString(), 0},
                 {QStringLiteral("Zakazka"), QString(), 0},
                 {QStringLiteral("Cis_Doklad"), QString(), 0},
                 {QStringLiteral("Odkaz"), QString(), 0},
                 {QStringLiteral("Hlavicka"), QString(), 0},
                 {QStringLiteral("Cena_SklCelk"), QString(), 0},
                 {QStringLiteral("Druh_Ceny"), QString(), 0}};
    c.lockedColumns = 2;
    c.searchItems = {{QStringLiteral("&Císlo účtu"), QStringLiteral("CIS_UCTU")},
                     {QStringLiteral("C&elková cena"), QStringLiteral("Cena_ZobrCelk")},
                     {QStringLiteral("&Datum vystavení"), QStringLiteral("Dat_Vystaveni")}};
    c.sortMenuCaption = QStringLiteral("Tří&dění");
    c.sortItems = {{QStringLiteral("&Číslo účtu"), QStringLiteral("Cis_Uctu")},
                   {QStringLiteral("&Cena zobrazovaná"), QStringLiteral("Cena_ZobrCelk")},
                   {QStringLiteral("&Datum vystavení"), QStringLiteral("Dat_Vystaveni")}};
    c.printManagerDirectory = QStringLiteral("Int_Ucty\\Prijem\\");
    c.printManagerPrefix = QStringLiteral("PrHlPrij_");
    c.refuseUsedRecords = false;
    return c;
}

const QStringList kPoradi = {QStringLiteral("Cis_Uctu"), QStringLiteral("Cena zobrazovaná"),
                             QStringLiteral("Datum vystavení")};

} // namespace

const QString TFormulIPrijGrid::kSablonaPrijmu = QStringLiteral("int_ucty\\Prijem\\tisk_prij");
const QString TFormulIPrijGrid::kSablonaSeznamu = QStringLiteral("int_ucty\\prijem\\Sezn_prij");
const QString TFormulIPrijGrid::kSablonaPolozek = QStringLiteral("ext_ucty\\dodlisty\\tisk_PolDL2");

TFormulIPrijGrid::TFormulIPrijGrid(TDataCis& dm, VyberVyrobku& vyber,
                                   std::function<QString()> uzivatel, QWidget* parent)
    : RegisterForm(TDataCis::sdilena(dm.TableHlaPrij, sklad::RodinaDokladu::prijemka().hlavicka),
                   nastaveniRegistru(), parent),
      dm_(dm), uzivatel_(std::move(uzivatel)), ceny_(std::make_unique<CenyDataCis>(dm)) {
    setObjectName(QStringLiteral("TFormulIPrijGrid"));
    const sklad::NastaveniPohybu posilani = sklad::NastaveniPohybuBehu();
    rizeni_ = std::make_unique<doklad::RizeniDokladu>(dm, doklad::VlastnostiDokladu::prijemka(),
                                                      *ceny_, vyber, nastaveniProgramu(), posilani);
    uzavreni_ = std::make_unique<sklad::TFormulIPrijUzavri>(dm, posilani);
    vstup_ = std::make_unique<TFormulIPrijVstup>(*rizeni_, *uzavreni_, this);
    DbGrid1->setItemDelegate(new OtevreneCervene(DbGrid1));

    // "&Položky" and "&Uzavři" stand after "&Smazat".
    QAction* poSmazat = nullptr;
    const QList<QAction*> menu = MainMenu->actions();
    for (int i = 0; i + 1 < menu.size(); ++i)
        if (menu[i] == MenuSmazat) poSmazat = menu[i + 1];
    MenuPolozky = new QAction(QStringLiteral("&Položky"), this);
    MenuUzavri = new QAction(QStringLiteral("&Uzavři"), this);
    MainMenu->insertAction(poSmazat, MenuPolozky);
    MainMenu->insertAction(poSmazat, MenuUzavri);
    MainMenu->removeAction(MenuSmazat);
    MainMenu->insertAction(MenuPolozky, MenuSmazat);
    connect(MenuPolozky, &QAction::triggered, this, [this] { MenuClickPolozky(); });
    connect(MenuUzavri, &QAction::triggered, this, [this] { MenuUzavi1Click(); });
    addBrowseAction(MenuPolozky);
    addBrowseAction(MenuUzavri);

    MenuRozsahCisUctu = MenuRozsah->addAction(QStringLiteral("&Císlo účtu"));
    MenuRozsahDatum = MenuRozsah->addAction(QStringLiteral("&Datum_Vystav"));
    MenuRozsahVystavil = MenuRozsah->addAction(QStringLiteral("&Vystavil - filtr"));
    // "&Filtr" (the filter database) comes last.
    MenuRozsah->removeAction(MenuFiltr);
    MenuRozsah->addAction(MenuFiltr);
    connect(MenuRozsahCisUctu, &QAction::triggered, this, [this] { MenuClickRozsahCisUctu(); });
    connect(MenuRozsahDatum, &QAction::triggered, this, [this] { DatumVystav1Click(); });
    connect(MenuRozsahVystavil, &QAction::triggered, this, [this] { MenuRozsahVystavil1Click(); });

    MenuTiskPrijem = new QAction(QStringLiteral("&Příjem zboží"), this);
    MenuTiskSeznam = new QAction(QStringLiteral("&Seznam příjmů"), this);
    MenuTiskPolozky = new QAction(QStringLiteral("P&oložek účtů"), this);
    MenuTisk->insertActions(MenuTiskovySpravce, {MenuTiskPrijem, MenuTiskSeznam, MenuTiskPolozky});
    connect(MenuTiskPrijem, &QAction::triggered, this, [this] { Dodaclist1Click(); });
    connect(MenuTiskSeznam, &QAction::triggered, this, [this] { SeznamDL1Click(); });
    connect(MenuTiskPolozky, &QAction::triggered, this, [this] { MenuTiskPolUctyClick(); });

    MenuFunkce->setTitle(QStringLiteral("F&unkce"));
    MenuImport = MenuFunkce->addAction(QStringLiteral("&Import"));
    MenuStorno = MenuFunkce->addAction(QStringLiteral("Storno dokladu"));
    MenuPridatDPH = MenuFunkce->addAction(QStringLiteral("Přidat k ceně DPH"));
    connect(MenuImport, &QAction::triggered, this, [this] { Import1Click(); });
    connect(MenuStorno, &QAction::triggered, this, [this] { Stornodokladu1Click(); });
    connect(MenuPridatDPH, &QAction::triggered, this, [this] { PidatkcenDPH1Click(); });
    // "Tří&dění" comes last.
    if (MenuTrideni) {
        MainMenu->removeAction(MenuTrideni->menuAction());
        MainMenu->addAction(MenuTrideni->menuAction());
        for (int i = 0; i < sortActions.size(); ++i)
            connect(sortActions[i], &QAction::triggered, this,
                    [this, i] { LabelPoradi->setText(kPoradi.value(i)); });
    }
    LabelPoradi = new QLabel(kPoradi.first(), this);
    StatusBar1->setPanelCount(std::max(2, StatusBar1->panelCount()));
    StatusBar1->setPanelText(1, kPoradi.first());
}

TFormulIPrijGrid::~TFormulIPrijGrid() = default;

// ---- opening and closing -----------------------------------------------------------------------

void TFormulIPrijGrid::openRegister() {
    RegisterForm::openRegister();
    if (chooserMode()) return;
    try {
        for (Table* t : {dm_.TablePolPrij, dm_.TablePolVarPrij, dm_.TableFir, dm_.TableStred,
                         dm_.TableVyr, dm_.TableSklady, dm_.TableSklZas, dm_.TableCisUctu,
                         dm_.TableDruhUctu, dm_.TableZamest})
            if (t && !t->active()) t->open();
    } catch (const StorageError& e) {
        reportStorageError(e);
    }
    rizeni_->setVychoziDruh(rizeni_->prvniDruh());
    LabelPoradi->setText(kPoradi.first());
    StatusBar1->setPanelText(1, kPoradi.first());
    table().last();
    DbGrid1->syncToTable();
}

void TFormulIPrijGrid::closeRegister() {
    RegisterForm::closeRegister();
}

void TFormulIPrijGrid::obnov() {
    try {
        table().refresh();
        if (dm_.TablePolPrij && dm_.TablePolPrij->active()) dm_.TablePolPrij->refresh();
    } catch (const StorageError& e) {
        reportStorageError(e);
    }
    DbGrid1->gridModel()->reload();
    DbGrid1->syncToTable();
}

void TFormulIPrijGrid::otevriVstup(TFormulIPrijVstup::Stranka stranka) {
    vstup_->otevri(stranka);
    Platform::current().execModal(*vstup_);
    obnov();
}

// ---- commands ----------------------------------------------------------------------------------

void TFormulIPrijGrid::ClickNovyZaznam() {
    if (!table().active()) return;
    try {
        rizeni_->ZalozHlavicku(uzivatel_ ? uzivatel_() : QString());
    } catch (const StorageError& e) {
        reportStorageError(e);
        return;
    }
    otevriVstup(TFormulIPrijVstup::Stranka::Hlavicka);
}

void TFormulIPrijGrid::Oprava1Click() {
    if (!table().active() || !table().hasRecord()) {
        Platform::current().beep();
        return;
    }
    if (rizeni_->uzavren()) {
        Platform::current().warning(doklad::texty::UzavrenyUcet, kVarovani);
        return;
    }
    rizeni_->setCisloEditovatelne(false);
    table().edit();
    otevriVstup(TFormulIPrijVstup::Stranka::Hlavicka);
}

void TFormulIPrijGrid::MenuClickPolozky() {
    if (!table().active() || !table().hasRecord()) return;
    rizeni_->setCisloEditovatelne(false);
    if (rizeni_->uzavren())
        Platform::current().warning(
            QStringLiteral("Uzavřený účet nelze editovat, budete pouze prohlížet"), kUpozorneni);
    else
        table().edit();
    otevriVstup(TFormulIPrijVstup::Stranka::Polozky);
}

void TFormulIPrijGrid::Smazat1Click() {
    if (!table().active() || !table().hasRecord()) return;
    if (rizeni_->uzavren()) {
        Platform::current().warning(QStringLiteral("Nelze smazat uzavřený účet"), kVarovani);
        return;
    }
    if (!Platform::current().askYesNo(config().deleteQuestion)) return;
    // The header's rules delete its items first, each giving back its reservation.
    try {
        Database::Transaction tr(dm_.database());
        table().remove();
        tr.commit();
    } catch (const StorageError& e) {
        table().cancel();
        reportStorageError(e);
    } catch (const Abort&) {
        // settled by the table's handler
    }
    obnov();
}

void TFormulIPrijGrid::MenuUzavi1Click() {
    if (!table().active() || !table().hasRecord()) return;
    uzavreni_->UzavriPrijemku(int(sklad::cisloPole(table(), QStringLiteral("CIS_UCTU"))));
    obnov();
}

void TFormulIPrijGrid::MenuClickRozsahCisUctu() {
    QString cislo;
    if (!askValue(QStringLiteral("Rozsah"), QStringLiteral("Zadej číslo účtu"), cislo)) return;
    try {
        table().setIndexFieldNames(QStringLiteral("Cis_uctu"));
        table().cancelRange();
        if (!cislo.trimmed().isEmpty()) {
            bool ok = false;
            const qlonglong n = cislo.trimmed().toLongLong(&ok);
            if (!ok) {
                Platform::current().error(
                    QStringLiteral("Hodnota \"%1\" není číslo").arg(cislo.trimmed()));
            } else {
                table().setRange({n}, {n});
            }
        }
    } catch (const StorageError& e) {
        reportStorageError(e);
    }
    obnov();
}

void TFormulIPrijGrid::DatumVystav1Click() {
    applyFilter(QString());
    QString od, do_;
    if (!zadejObdobi(this, &od, &do_)) return;
    const FieldDef& f = table().fieldDef(table().fieldIndex(QStringLiteral("Dat_Vystaveni")));
    QStringList podminky;
    bool ok = true;
    if (!od.trimmed().isEmpty())
        podminky << QStringLiteral("Dat_Vystaveni >=") + filterLiteral(f, od, false, &ok);
    bool ok2 = true;
    if (!do_.trimmed().isEmpty())
        podminky << QStringLiteral("Dat_Vystaveni <=") + filterLiteral(f, do_, false, &ok2);
    if (!ok || !ok2) return;
    // The period's two conditions are joined without a blank before "and".
    applyFilter(podminky.join(QStringLiteral("and ")));
}

void TFormulIPrijGrid::MenuRozsahVystavil1Click() {
    applyFilter(QString());
    QString jmeno;
    if (!askValue(QStringLiteral("Rozsah"), QStringLiteral("Zadej jméno"), jmeno)) return;
    if (jmeno.trimmed().isEmpty()) return;
    const FieldDef& f = table().fieldDef(table().fieldIndex(QStringLiteral("Vystavil")));
    FilterOptions o;
    o.caseInsensitive = true;
    table().setFilterOptions(o);
    applyFilter(QStringLiteral("Vystavil =") + filterLiteral(f, jmeno, true));
}

void TFormulIPrijGrid::tiskni(Table& tabulka, const QString& sablona, Table* detail, bool jeden) {
    TiskSeznamu tisk(tabulka, sablona + ZnTiskPripona() + QStringLiteral(".pts"));
    tisk.sestava().Popis = QStringLiteral("Tisk DL");
    tisk.sestava().TiskJedenZaznam = jeden;
    std::unique_ptr<TableReportSource> zdrojPolozek;
    std::unique_ptr<report::TSestDetail> polozky;
    if (detail) {
        zdrojPolozek = std::make_unique<TableReportSource>(*detail);
        polozky = std::make_unique<report::TSestDetail>();
        polozky->DataSource = zdrojPolozek.get();
        polozky->setMasterSestava(&tisk.sestava());
    }
    tisk.nahled();
}

void TFormulIPrijGrid::Dodaclist1Click() {
    if (!table().active() || !table().hasRecord()) return;
    tiskni(table(), kSablonaPrijmu, dm_.TablePolPrij, true);
}

void TFormulIPrijGrid::SeznamDL1Click() {
    if (!table().active()) return;
    const Table::Bookmark b = table().hasRecord() ? table().bookmark() : 0;
    tiskni(table(), kSablonaSeznamu, nullptr, false);
    if (b) table().gotoBookmark(b);
    DbGrid1->syncToTable();
}

void TFormulIPrijGrid::MenuTiskPolUctyClick() {
    if (!table().active()) return;
    TFormulUctyHledejPol kriteria(this);
    if (Platform::current().execModal(kriteria) != QDialog::Accepted) return;
    const QString klic = nastaveniProgramu().HlKlicVyr.trimmed().isEmpty()
                             ? QStringLiteral("CIS_VYR")
                             : nastaveniProgramu().HlKlicVyr.trimmed();
    const std::vector<sklad::RadekPolozkyUctu> radky =
        sklad::PolozkyUctu(dm_, table(), kriteria.kriteria(), klic);
    // The work table goes with `prac` whatever the print does.
    sklad::PracovniTabulka prac(dm_.database().root());
    if (!prac.zapis(radky, klic)) {
        Platform::current().error(prac.chyba());
        return;
    }
    report::ListBridge data;
    QString chyba;
    std::unique_ptr<formats::TableReader> cteni =
        formats::openTable(prac.cesta(), QString(), &chyba);
    if (!cteni) {
        Platform::current().error(chyba);
        return;
    }
    for (const formats::FieldDef& f : cteni->fields()) {
        const int typ = f.kind == formats::FieldKind::Text    ? report::ftString
                        : f.kind == formats::FieldKind::Date  ? report::ftDate
                        : f.kind == formats::FieldKind::Long  ? report::ftInteger
                        : f.kind == formats::FieldKind::Money ? report::ftCurrency
                                                              : report::ftFloat;
        data.columns.push_back({f.name, typ, f.name});
    }
    formats::Record z;
    while (cteni->next(&z)) {
        std::vector<report::TCalcType> radek;
        for (int i = 0; i < z.size(); ++i) {
            const QVariant& v = z[i];
            if (data.columns[size_t(i)].type == report::ftString)
                radek.push_back(report::TCalcType::ofText(v.toString(), 0, v.isNull()));
            else if (data.columns[size_t(i)].type == report::ftDate)
                radek.push_back(report::TCalcType::ofText(
                    v.toDate().toString(QStringLiteral("dd.MM.yyyy")), 0, v.isNull()));
            else
                radek.push_back(report::TCalcType::ofNumber(
                    v.toDouble(), QString::number(v.toDouble()), v.isNull()));
        }
        data.rows.push_back(std::move(radek));
    }
    cteni.reset();
    report::TSestava s;
    NastavSestavuRegistru(s, table(), &data);
    s.setReportName(CestaSablony(dm_.database().root(),
                                 kSablonaPolozek + ZnTiskPripona() + QStringLiteral(".pts")));
    s.OnError = [](report::TSestava& r, int kod) {
        OhlasChybuSestavy(kod, r.ReportName());
        return true;
    };
    if (s.LoadTemplate(false) == report::seOk) s.PrintPreview();
}

void TFormulIPrijGrid::Export1Click() {
    TFormulExportDat e(this);
    if (!e.setMaster(&table())) return;
    e.setDetail(dm_.TablePolPrij);
    Platform::current().execModal(e);
}

void TFormulIPrijGrid::Import1Click() {
    const QString filtr = QStringLiteral("Paradox (*.db);;DBase (*.dbf)");
    Platform& ui = Platform::current();
    const QString hlavicky = ui.openFileName(QStringLiteral("Hlavička"), QString(), filtr);
    if (hlavicky.isEmpty()) return;
    const QString polozky = ui.openFileName(QStringLiteral("Položky"), QString(), filtr);
    if (polozky.isEmpty()) return;
    sklad::VysledekImportu v;
    try {
        v = sklad::ImportPrijemek(dm_, hlavicky, polozky, rizeni_->vychoziDruh());
    } catch (const StorageError& e) {
        reportStorageError(e);
    } catch (const Abort&) {
    }
    if (!v.chyba.isEmpty()) ui.error(v.chyba);
    obnov();
}

void TFormulIPrijGrid::Stornodokladu1Click() {
    if (!table().active() || !table().hasRecord()) return;
    if (!rizeni_->uzavren()) {
        Platform::current().warning(
            QStringLiteral("Tento účet není uzavřen, storno nebude provedeno"), kUpozorneni);
        return;
    }
    if (!Platform::current().askYesNo(
            QStringLiteral("Chceš opravdu stornovat pohyby a opravovat příjem zboží ?")))
        return;
    uzavreni_->StornoPrijemky(int(sklad::cisloPole(table(), QStringLiteral("CIS_UCTU"))));
    obnov();
}

void TFormulIPrijGrid::PidatkcenDPH1Click() {
    if (!table().active() || !table().hasRecord()) return;
    if (rizeni_->uzavren()) {
        Platform::current().warning(doklad::texty::UzavrenyUcet, kVarovani);
        return;
    }
    if (!Platform::current().askYesNo(QStringLiteral("Chcete přidat DPH k ceně příjmu?"))) return;
    rizeni_->PridejDPH();
    obnov();
}

} // namespace brix
