// The pages of the product form besides the register and the entry page: the recipe
// ("&Komplet") and the variants (detail records with their navigator), the customer prices,
// the price check and the note with the picture. Each page is shown by a command and returns to
// the register (the recipe, the variants, the prices) or to the entry page (the price check,
// the note).
#include "datacis.h"
#include "formul_vyrobky.h"
#include "platform.h"
#include "util/nastaveni.h"
#include "vyrobky.h"

#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace brix {

namespace {

bool upravuje(const Table* t) {
    return t && (t->state() == TableState::Edit || t->state() == TableState::Insert);
}

// The navigator captions of the detail pages.
void popiskyNavigatoru(Navigator* n) {
    n->setCaption(Navigator::First, QStringLiteral("&První"));
    n->setCaption(Navigator::Prior, QStringLiteral("Předch"));
    n->setCaption(Navigator::Next, QStringLiteral("&Další"));
    n->setCaption(Navigator::Last, QStringLiteral("Posled"));
    n->setCaption(Navigator::Insert, QStringLiteral("&Nová"));
    n->setCaption(Navigator::Remove, QStringLiteral("&Smazat"));
    n->setCaption(Navigator::Edit, QStringLiteral("O&pravit"));
    n->setCaption(Navigator::Post, QStringLiteral("U&ložit"));
    n->setCaption(Navigator::Cancel, QStringLiteral("&Zruš"));
    n->setCaption(Navigator::Refresh, QStringLiteral("Obnovit"));
}

} // namespace

void TFormulVyrobky::ukazStranku(QWidget* s) {
    if (!stranka(TabSheetCenik) || s != TabSheetCenik) zavriCenik();
    PageControl1->setCurrentWidget(s);
    setBrowseMenusEnabled(false);
}

// ---- the recipe -----------------------------------------------------------------------------

void TFormulVyrobky::vytvorKomplet() {
    Table& komp = TDataCis::sdilena(dm_.TableVyrKomp, QStringLiteral("Ciselnik\\Vyr_Komp"));
    const bool cislo = nastaveniProgramu().hledaniDleCislaVyrobku();
    const QString klic = cislo ? QStringLiteral("KCisVyr") : QStringLiteral("KObjCis");
    const QString nazevKlice = cislo ? QStringLiteral("CisVyr") : QStringLiteral("ObjCis");
    TabSheetKomplet = new QWidget;
    TabSheetKomplet->setObjectName(QStringLiteral("TabSheetKomplet"));
    auto* l = new QVBoxLayout(TabSheetKomplet);
    GridKomplet = new DataGrid(TabSheetKomplet);
    GridKomplet->setObjectName(QStringLiteral("GridKomplet"));
    GridKomplet->setTable(&komp);
    GridKomplet->setColumns({{"Cis_Vyr", "Cis_Vyr", 10},
                             {klic, QStringLiteral("Komp.") + nazevKlice, 15},
                             {"KNazev", "Komp.Nazev", 0},
                             {"KStand_Mn", "Komp.Množství", 12},
                             {"KStand_PC", "Komp.Stand_PC", 12}});
    GridKomplet->installEventFilter(this);
    l->addWidget(GridKomplet, 1);
    komponenty_ = new FieldBinding(komp);
    auto* f = new QFormLayout;
    auto pole = [&](const QString& nazev, const QString& napoveda) {
        EditBox* b =
            FieldBinding::makeEditBox(komp.fieldDef(komp.fieldIndex(nazev)), TabSheetKomplet);
        b->setHint(napoveda);
        b->lineEdit()->installEventFilter(this);
        komponenty_->add(nazev, b);
        return b;
    };
    EditKlicKomponenty = pole(klic, QStringLiteral("Klíč komponenty, Enter - vyhledání výrobku"));
    EditKNazev = pole(QStringLiteral("KNazev"), QStringLiteral("Název komponenty"));
    EditKStand_Mn = pole(QStringLiteral("KStand_Mn"),
                         QStringLiteral("Standardní množství komponenty na jednotku výrobku"));
    EditKStand_PC = pole(QStringLiteral("KStand_PC"),
                         QStringLiteral("Standardní jednotková cena komponenty"));
    f->addRow(nazevKlice, EditKlicKomponenty);
    f->addRow(QStringLiteral("Název"), EditKNazev);
    f->addRow(QStringLiteral("Množství"), EditKStand_Mn);
    f->addRow(QStringLiteral("Stand.cena"), EditKStand_PC);
    l->addLayout(f);
    auto* dole = new QHBoxLayout;
    NavigatorKomplet = new Navigator(TabSheetKomplet);
    NavigatorKomplet->setObjectName(QStringLiteral("NavigatorKomplet"));
    popiskyNavigatoru(NavigatorKomplet);
    cile_.push_back(makeTableNavigatorTarget(komp));
    NavigatorKomplet->setTarget(cile_.back().get());
    NavigatorKomplet->setBeforeAction([this](Navigator::Action a) {
        if (a == Navigator::Post) return ulozKomponentu();
        return true;
    });
    connect(NavigatorKomplet, &Navigator::actionDone, this, [this](Navigator::Action a) {
        stavKomponent();
        if (a == Navigator::Insert) {
            EditKlicKomponenty->setEnabled(true);
            EditKlicKomponenty->lineEdit()->setFocus();
        } else if (a == Navigator::Edit) {
            EditKlicKomponenty->setEnabled(false);
            EditKNazev->lineEdit()->setFocus();
        }
    });
    connect(GridKomplet, &DataGrid::recordActivated, this, [this] {
        if (NavigatorKomplet->trigger(Navigator::Edit)) EditKNazev->lineEdit()->setFocus();
    });
    dole->addWidget(NavigatorKomplet);
    dole->addStretch(1);
    auto* navrat = new QPushButton(QStringLiteral("Ná&vrat"), TabSheetKomplet);
    navrat->setAutoDefault(false);
    connect(navrat, &QPushButton::clicked, this, [this] { NavratClick(); });
    dole->addWidget(navrat);
    l->addLayout(dole);
    PageControl1->addWidget(TabSheetKomplet);
}

void TFormulVyrobky::stavKomponent() {
    Table* komp = dm_.TableVyrKomp;
    komponenty_->load();
    const bool edituje = upravuje(komp);
    const bool vklada = komp && komp->state() == TableState::Insert;
    EditKlicKomponenty->setEnabled(vklada);
    for (EditBox* b : {EditKNazev, EditKStand_Mn, EditKStand_PC})
        b->setEnabled(edituje && !vklada);
    GridKomplet->setEnabled(!edituje);
    if (!edituje) GridKomplet->syncToTable();
}

bool TFormulVyrobky::ulozKomponentu() {
    try {
        return komponenty_->store();
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return false;
    }
}

void TFormulVyrobky::KompletClick() {
    if (entryShown() || !table().hasRecord() || !dm_.TableVyrKomp) return;
    try {
        if (!dm_.TableVyrKomp->active()) dm_.TableVyrKomp->open();
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return;
    }
    GridKomplet->gridModel()->reload();
    ukazStranku(TabSheetKomplet);
    stavKomponent();
    GridKomplet->setFocus();
}

void TFormulVyrobky::KlicKomponentyEnter() {
    Table* komp = dm_.TableVyrKomp;
    if (!upravuje(komp)) return;
    const QString text = EditKlicKomponenty->text().trimmed();
    const std::optional<Komponenta> k = NajdiKomponentu(table().database(), KlicVyrobku(), text);
    if (!k) {
        // The quick search, with the typed key; its choice goes into the key box, which keeps
        // the focus (Enter looks it up).
        const std::optional<QString> vybrany =
            vybery_.rychleHledani ? vybery_.rychleHledani(text) : std::nullopt;
        if (vybrany)
            EditKlicKomponenty->setText(*vybrany);
        else
            Platform::current().information(
                QStringLiteral("Nenalezen výrobek, hledej nebo zadej znovu"));
        EditKlicKomponenty->lineEdit()->setFocus();
        return;
    }
    try {
        komp->field(QStringLiteral("KCisVyr")).setInteger(k->cisVyr);
        komp->field(QStringLiteral("KObjCis")).setString(k->objCis);
        komp->field(QStringLiteral("KStand_PC")).setDecimal(k->pcZakl);
        komp->field(QStringLiteral("KNazev")).setString(k->nazev);
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return;
    }
    const QString mnozstvi = EditKStand_Mn->text();
    komponenty_->load();
    if (!mnozstvi.isEmpty()) EditKStand_Mn->setText(mnozstvi);
    EditKlicKomponenty->setEnabled(false);
    for (EditBox* b : {EditKNazev, EditKStand_Mn, EditKStand_PC})
        b->setEnabled(true);
    EditKNazev->lineEdit()->setFocus();
}

void TFormulVyrobky::NavratClick() {
    // A pending component or variant is saved, as "U&ložit" would.
    Navigator* n = stranka(TabSheetVarianty) ? NavigatorVarianty : NavigatorKomplet;
    Table* t = stranka(TabSheetVarianty) ? dm_.TableVyrVar : dm_.TableVyrKomp;
    if (upravuje(t) && !n->trigger(Navigator::Post)) return;
    if (upravuje(t)) return; // refused by the storage rules; still in edit
    showBrowsePage();
}

// ---- the variants -----------------------------------------------------------------------------

void TFormulVyrobky::vytvorVarianty() {
    if (!dm_.TableVyrVar) return;
    Table& var = *dm_.TableVyrVar;
    TabSheetVarianty = new QWidget;
    TabSheetVarianty->setObjectName(QStringLiteral("TabSheetVarianty"));
    auto* l = new QVBoxLayout(TabSheetVarianty);
    GridVarianty = new DataGrid(TabSheetVarianty);
    GridVarianty->setObjectName(QStringLiteral("GridVarianty"));
    GridVarianty->setTable(&var);
    GridVarianty->setColumns({{"Varianta1", "Varianta1", 0},
                              {"Varianta2", "Varianta2", 0},
                              {"SklZas_ks", "SklZas_ks", 12}});
    GridVarianty->installEventFilter(this);
    l->addWidget(GridVarianty, 1);
    varianty_ = new FieldBinding(var);
    auto* f = new QFormLayout;
    EditBox* prvni = nullptr;
    for (const char* nazev : {"Varianta1", "Varianta2", "SklZas_ks"}) {
        EditBox* b = FieldBinding::makeEditBox(
            var.fieldDef(var.fieldIndex(QString::fromLatin1(nazev))), TabSheetVarianty);
        b->lineEdit()->installEventFilter(this);
        varianty_->add(QString::fromLatin1(nazev), b);
        f->addRow(QString::fromLatin1(nazev), b);
        if (!prvni) prvni = b;
    }
    l->addLayout(f);
    auto* dole = new QHBoxLayout;
    NavigatorVarianty = new Navigator(TabSheetVarianty);
    NavigatorVarianty->setObjectName(QStringLiteral("NavigatorVarianty"));
    popiskyNavigatoru(NavigatorVarianty);
    NavigatorVarianty->setCaption(Navigator::Edit, QStringLiteral("Opravit"));
    NavigatorVarianty->setCaption(Navigator::Post, QStringLiteral("&Uložit"));
    cile_.push_back(makeTableNavigatorTarget(var));
    NavigatorVarianty->setTarget(cile_.back().get());
    NavigatorVarianty->setBeforeAction([this](Navigator::Action a) {
        if (a != Navigator::Post) return true;
        try {
            return varianty_->store();
        } catch (const StorageError& e) {
            Platform::current().error(e.message());
            return false;
        }
    });
    connect(NavigatorVarianty, &Navigator::actionDone, this, [this, prvni](Navigator::Action a) {
        varianty_->load();
        GridVarianty->setEnabled(!upravuje(dm_.TableVyrVar));
        if (a == Navigator::Insert || a == Navigator::Edit) prvni->lineEdit()->setFocus();
    });
    dole->addWidget(NavigatorVarianty);
    dole->addStretch(1);
    auto* navrat = new QPushButton(QStringLiteral("Ná&vrat"), TabSheetVarianty);
    navrat->setAutoDefault(false);
    connect(navrat, &QPushButton::clicked, this, [this] { NavratClick(); });
    dole->addWidget(navrat);
    l->addLayout(dole);
    PageControl1->addWidget(TabSheetVarianty);
}

void TFormulVyrobky::VariantyClick() {
    // Without VERZETEXTIL the variants are not kept and their table is not opened.
    if (!nastaveniTabulky().VERZETEXTIL || !TabSheetVarianty || entryShown() ||
        !table().hasRecord())
        return;
    try {
        if (!dm_.TableVyrVar->active()) dm_.TableVyrVar->open();
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return;
    }
    GridVarianty->gridModel()->reload();
    ukazStranku(TabSheetVarianty);
    varianty_->load();
    GridVarianty->setFocus();
}

// ---- the customer prices ----------------------------------------------------------------------

void TFormulVyrobky::vytvorCenik() {
    if (!dm_.TCenik_ZAK) return;
    Table& cenik = *dm_.TCenik_ZAK;
    TabSheetCenik = new QWidget;
    TabSheetCenik->setObjectName(QStringLiteral("TabSheetCenik"));
    auto* l = new QVBoxLayout(TabSheetCenik);
    GridCenik = new DataGrid(TabSheetCenik);
    GridCenik->setObjectName(QStringLiteral("GridCenik"));
    GridCenik->setTable(&cenik);
    GridCenik->setColumns({{"Cis_Firmy", "Cis_Firmy", 10},
                           {"NazevF", "NazevF", 0},
                           {"PC_ZAKL", "PC_ZAKL", 12},
                           {"PC_ZAKLC", "PC_ZAKLC", 12}});
    GridCenik->installEventFilter(this);
    l->addWidget(GridCenik, 1);
    cenik_ = new FieldBinding(cenik);
    auto pole = [&](const char* nazev, const QString& napoveda) {
        EditBox* b = FieldBinding::makeEditBox(
            cenik.fieldDef(cenik.fieldIndex(QString::fromLatin1(nazev))), TabSheetCenik);
        b->setHint(napoveda);
        b->lineEdit()->installEventFilter(this);
        cenik_->add(QString::fromLatin1(nazev), b);
        // Typing into a price shown puts it into edit.
        connect(b, &EditBox::textEdited, this, [this] {
            Table* c = dm_.TCenik_ZAK;
            if (c && c->active() && c->state() == TableState::Browse && c->hasRecord()) {
                try {
                    c->edit();
                } catch (const StorageError& e) {
                    Platform::current().error(e.message());
                }
            }
        });
        return b;
    };
    EditCenikFirma = pole("Cis_Firmy", QStringLiteral("Číslo zákazníka (F3 - výběr)"));
    EditCenikFirma->setChooser(true);
    connect(EditCenikFirma, &EditBox::chooserRequested, this, [this] {
        if (vybery_.firma && vybery_.firma(QString()) && dm_.TableFir) {
            Table* c = dm_.TCenik_ZAK;
            if (c && c->state() == TableState::Browse && c->hasRecord()) c->edit();
            EditCenikFirma->setText(dm_.TableFir->field(QStringLiteral("CIS_Firmy")).asString());
        }
        EditCenikFirma->lineEdit()->setFocus();
    });
    EditCenikPC = pole("PC_ZAKL", QStringLiteral("Dohodnutá základní cena v Kč"));
    EditCenikPCC = pole("PC_ZAKLC", QStringLiteral("Dohodnutá základní cena v cizí měně"));
    auto* f = new QFormLayout;
    f->addRow(QStringLiteral("Zákazník"), EditCenikFirma);
    f->addRow(QStringLiteral("Cena"), EditCenikPC);
    f->addRow(QStringLiteral("Cena cizí"), EditCenikPCC);
    l->addLayout(f);
    auto* dole = new QHBoxLayout;
    ButtonZpet = new QPushButton(QStringLiteral("Zpět"), TabSheetCenik);
    ButtonNovaCena = new QPushButton(QStringLiteral("Nová cena"), TabSheetCenik);
    ButtonUlozitCenu = new QPushButton(QStringLiteral("Uložit cenu"), TabSheetCenik);
    ButtonSmazatCenu = new QPushButton(QStringLiteral("Smazat cenu"), TabSheetCenik);
    for (QPushButton* b : {ButtonNovaCena, ButtonUlozitCenu, ButtonSmazatCenu, ButtonZpet}) {
        b->setAutoDefault(false);
        dole->addWidget(b);
    }
    dole->addStretch(1);
    l->addLayout(dole);
    connect(ButtonZpet, &QPushButton::clicked, this, [this] { ZpetClick(); });
    connect(ButtonNovaCena, &QPushButton::clicked, this, [this] { NovaCenaClick(); });
    connect(ButtonUlozitCenu, &QPushButton::clicked, this, [this] { UlozitCenuClick(); });
    connect(ButtonSmazatCenu, &QPushButton::clicked, this, [this] { SmazatCenuClick(); });
    connect(GridCenik->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { stavCeniku(); });
    PageControl1->addWidget(TabSheetCenik);
}

void TFormulVyrobky::stavCeniku() {
    if (!dm_.TCenik_ZAK || !dm_.TCenik_ZAK->active()) return;
    if (!upravuje(dm_.TCenik_ZAK)) cenik_->load();
}

void TFormulVyrobky::CenikClick() {
    if (!dm_.TCenik_ZAK || entryShown() || !table().hasRecord()) return;
    try {
        if (!dm_.TCenik_ZAK->active()) dm_.TCenik_ZAK->open();
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return;
    }
    GridCenik->gridModel()->reload();
    ukazStranku(TabSheetCenik);
    cenik_->load();
    GridCenik->setFocus();
}

void TFormulVyrobky::zavriCenik() {
    Table* c = dm_.TCenik_ZAK;
    if (!c || !c->active()) return;
    if (upravuje(c)) c->cancel();
    c->close();
}

void TFormulVyrobky::NovaCenaClick() {
    Table* c = dm_.TCenik_ZAK;
    if (!c || !c->active() || !UlozitCenuClick()) return;
    try {
        c->insert(); // the product's number comes with the link and the data module
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return;
    }
    cenik_->load();
    GridCenik->setEnabled(false);
    EditCenikFirma->lineEdit()->setFocus();
}

bool TFormulVyrobky::UlozitCenuClick() {
    Table* c = dm_.TCenik_ZAK;
    if (!upravuje(c)) return true;
    try {
        if (!cenik_->store()) return false;
        const QVariant firma = c->field(QStringLiteral("Cis_Firmy")).value();
        const qint64 vyr = c->field(QStringLiteral("Cis_Vyr")).asInteger();
        if (!firma.isNull() &&
            ExistujeCenaZakaznika(c->database(), vyr, firma.toLongLong(),
                                  c->state() == TableState::Edit ? c->bookmark() : 0)) {
            Platform::current().error(QString::fromUtf16(kCenaZakaznikaExistuje));
            EditCenikFirma->lineEdit()->setFocus();
            return false;
        }
        c->post();
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return false;
    } catch (const Abort&) {
        return false;
    }
    GridCenik->setEnabled(true);
    GridCenik->syncToTable();
    cenik_->load();
    return true;
}

void TFormulVyrobky::SmazatCenuClick() {
    Table* c = dm_.TCenik_ZAK;
    if (!c || !c->active()) return;
    try {
        if (upravuje(c) && c->state() == TableState::Insert)
            c->cancel();
        else if (c->hasRecord())
            c->remove(); // as written: without a question
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
    } catch (const Abort&) {
    }
    GridCenik->setEnabled(true);
    GridCenik->syncToTable();
    cenik_->load();
}

void TFormulVyrobky::ZpetClick() {
    if (!UlozitCenuClick()) return; // a price being written is not dropped
    zavriCenik();
    showBrowsePage();
}

void TFormulVyrobky::FirmaCenyEnter() {
    // New and edited rows alike: the firm must exist, else its chooser opens.
    Table* c = dm_.TCenik_ZAK;
    if (upravuje(c)) {
        const std::optional<qlonglong> n = EditCenikFirma->integerValue();
        if (!n || !ExistujeZaznam(table().database(), QStringLiteral("Ciselnik\\Firmy"),
                                  QStringLiteral("Cis_firmy"), *n)) {
            if (vybery_.firma && vybery_.firma(QString()) && dm_.TableFir)
                EditCenikFirma->setText(
                    dm_.TableFir->field(QStringLiteral("CIS_Firmy")).asString());
            EditCenikFirma->lineEdit()->setFocus();
            return;
        }
    }
    EditCenikPC->lineEdit()->setFocus(); // the key is turned into Tab
}

// ---- the price check --------------------------------------------------------------------------

void TFormulVyrobky::vytvorKontrolu() {
    TabSheetKontrola = new QWidget;
    TabSheetKontrola->setObjectName(QStringLiteral("TabSheetKontrola"));
    auto* l = new QVBoxLayout(TabSheetKontrola);
    auto* g = new QGridLayout;
    g->addWidget(new QLabel(QStringLiteral("Velkoobchod"), TabSheetKontrola), 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Maloobchod"), TabSheetKontrola), 0, 3);
    const QStringList vo = {QStringLiteral("VO cena bez DPH"), QStringLiteral("Max.rabat"),
                            QStringLiteral("Max.mn.rabat"), QStringLiteral("Nejnižší PC"),
                            QStringLiteral("Zadaná min.PC")};
    const QStringList mo = {QStringLiteral("MO cena bez DPH"), QStringLiteral("Max.rabat"),
                            QStringLiteral("Max.mn.rabat"), QStringLiteral("Nejnižší PC"),
                            QStringLiteral("Zadaná min.PC")};
    for (int r = 0; r < 5; ++r) {
        g->addWidget(new QLabel(vo[r], TabSheetKontrola), r + 1, 0);
        g->addWidget(new QLabel(mo[r], TabSheetKontrola), r + 1, 2);
        for (int s = 0; s < 2; ++s) {
            LabelKontrola[r][s] = new QLabel(TabSheetKontrola);
            LabelKontrola[r][s]->setObjectName(QStringLiteral("LabelKontrola%1%2").arg(r).arg(s));
            LabelKontrola[r][s]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            LabelKontrola[r][s]->setMinimumWidth(110);
            g->addWidget(LabelKontrola[r][s], r + 1, 1 + 2 * s);
        }
    }
    l->addLayout(g);
    l->addStretch(1);
    ButtonKontrolaOk = new QPushButton(QStringLiteral("&OK"), TabSheetKontrola);
    ButtonKontrolaOk->setAutoDefault(false);
    connect(ButtonKontrolaOk, &QPushButton::clicked, this, [this] { showEntryPage(); });
    auto* dole = new QHBoxLayout;
    dole->addStretch(1);
    dole->addWidget(ButtonKontrolaOk);
    l->addLayout(dole);
    PageControl1->addWidget(TabSheetKontrola);
}

void TFormulVyrobky::ClickKontrolaCen() {
    const KontrolaCen k = ceny_->ClickKontrolaCen();
    const Decimal hodnoty[5][2] = {{k.voCena, k.moCena},
                                   {k.maxRabat, k.maxRabat},
                                   {k.maxMnRabat, k.maxMnRabat},
                                   {k.nejnizsiVO, k.nejnizsiMO},
                                   {k.zadanaMinPC, k.zadanaMinPC}};
    for (int r = 0; r < 5; ++r)
        for (int s = 0; s < 2; ++s) {
            LabelKontrola[r][s]->setText(hodnoty[r][s].toString(2));
            LabelKontrola[r][s]->setStyleSheet(QString());
        }
    // A lowest price below the minimum one in red.
    if (k.voPodMinimem) LabelKontrola[3][0]->setStyleSheet(QStringLiteral("color: red"));
    if (k.moPodMinimem) LabelKontrola[3][1]->setStyleSheet(QStringLiteral("color: red"));
    PageControl1->setCurrentWidget(TabSheetKontrola);
    ButtonKontrolaOk->setFocus();
}

// ---- the note and the picture -----------------------------------------------------------------

void TFormulVyrobky::vytvorPoznamku() {
    TabSheetPoznamka = new QWidget;
    TabSheetPoznamka->setObjectName(QStringLiteral("TabSheetPoznamka"));
    auto* l = new QVBoxLayout(TabSheetPoznamka);
    MemoPoznamka = new QPlainTextEdit(TabSheetPoznamka);
    MemoPoznamka->setObjectName(QStringLiteral("MemoPoznamka"));
    MemoPoznamka->setStatusTip(QStringLiteral("Poznámka - libovolný text"));
    MemoPoznamka->setMaximumHeight(140);
    bindWidget(QStringLiteral("Poznamka"), MemoPoznamka);
    l->addWidget(new QLabel(QStringLiteral("Poznámka"), TabSheetPoznamka));
    l->addWidget(MemoPoznamka);
    auto* obal = new QScrollArea(TabSheetPoznamka);
    Obrazek = new QLabel;
    Obrazek->setObjectName(QStringLiteral("Obrazek"));
    Obrazek->setAlignment(Qt::AlignCenter);
    obal->setWidget(Obrazek);
    l->addWidget(obal, 1);
    auto* dole = new QHBoxLayout;
    ButtonNactiObrazek = new QPushButton(QStringLiteral("&Načti obrázek"), TabSheetPoznamka);
    ButtonKonecPoznamky = new QPushButton(QStringLiteral("&Konec"), TabSheetPoznamka);
    for (QPushButton* b : {ButtonNactiObrazek, ButtonKonecPoznamky}) {
        b->setAutoDefault(false);
        dole->addWidget(b);
    }
    dole->addStretch(1);
    l->addLayout(dole);
    connect(ButtonNactiObrazek, &QPushButton::clicked, this, [this] { NactiObrazekClick(); });
    connect(ButtonKonecPoznamky, &QPushButton::clicked, this, [this] { KonecPoznamkyClick(); });
    PageControl1->addWidget(TabSheetPoznamka);
}

void TFormulVyrobky::PoznamkaClick() {
    PageControl1->setCurrentWidget(TabSheetPoznamka);
    MemoPoznamka->setFocus();
}

void TFormulVyrobky::KonecPoznamkyClick() {
    showEntryPage();
}

void TFormulVyrobky::ukazObrazek() {
    Table& t = table();
    const bool zaznam = t.hasRecord() || t.state() == TableState::Insert;
    const QByteArray data = zaznam ? t.field(QStringLiteral("Obrazek")).asBytes() : QByteArray();
    Obrazek->clear();
    if (data.isEmpty()) {
        Obrazek->resize(0, 0);
        return;
    }
    QPixmap p;
    if (JeMetasoubor(data)) {
        Obrazek->setText(QStringLiteral("Metasoubor (EMF/WMF) - uložen, náhled nelze zobrazit"));
    } else if (p.loadFromData(data)) {
        Obrazek->setPixmap(p);
    } else {
        Obrazek->setText(QStringLiteral("Obrázek nelze zobrazit"));
    }
    Obrazek->adjustSize(); // the picture box takes the picture's size
}

void TFormulVyrobky::NactiObrazekClick() {
    Table& t = table();
    if (t.state() != TableState::Edit && t.state() != TableState::Insert) return;
    // The file dialog never changes the program's directory: table paths are the data root's.
    const QString cesta = Platform::current().openFileName(
        QStringLiteral("Načti obrázek"), t.database().root(),
        QStringLiteral("All (*.bmp *.ico *.emf *.wmf);;Bitmaps (*.bmp);;Icons (*.ico);;"
                       "Enhanced Metafiles (*.emf);;Metafiles (*.wmf)"));
    if (cesta.isEmpty()) return;
    QFile f(cesta);
    if (!f.open(QIODevice::ReadOnly)) {
        Platform::current().error(QStringLiteral("Soubor %1 nelze otevřít").arg(cesta));
        return;
    }
    try {
        t.field(QStringLiteral("Obrazek")).setValue(f.readAll());
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return;
    }
    obrazekZmenen_ = true;
    ukazObrazek();
}

} // namespace brix
