#include "formul_vyrobky.h"

#include "datacis.h"
#include "number_series.h"
#include "platform.h"
#include "precisluj.h"
#include "stranka_rejstriku.h"
#include "util/nastaveni.h"
#include "util/text_utils.h"
#include "vyrobky.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace brix {

namespace {

const QString kOtazkaNovaPolozka = QStringLiteral("Položka ještě neexistuje, vytvořit ?");

bool dleCisla() {
    return nastaveniProgramu().hledaniDleCislaVyrobku();
}

RegisterConfig konfigurace() {
    const bool cislo = dleCisla();
    RegisterConfig c;
    c.caption = QStringLiteral("Výrobky");
    c.order = cislo ? QStringLiteral("Kod_Ozn1;Kod_Ozn2;Nazev") : QStringLiteral("ObjCis");
    // The key column not searched is hidden; the other shows the key.
    c.columns = {{"Posl_Zmena", "Posl_Zmena", -1},
                 {"ObjCis", "ObjCis", cislo ? -1 : 12},
                 {"Cis_vyr", "Cis_vyr", cislo ? 10 : -1},
                 {"PC_Vynskup", "VS", 4},
                 {"Nazev", "Nazev", 0},
                 {"PC_Zakl", "PC_Zakl", 10},
                 {"DruhMn", "MJ", 5},
                 {"SklZas_Ks", "SklZas_Ks", 10},
                 {"MO_Cena", "MO_Cena", 10},
                 {"CenaZa", "CenaZa", 7},
                 {"DisponMn", "Množství", 10},
                 {"SklZas_Kc", "SklZas_Kc", 11},
                 {"Rezervace", "Rezervace", 9},
                 {"Kod_Ozn1", "Kod_Ozn1", 0},
                 {"Objednano", "Objednano", 9},
                 {"DPH", "DPH", 5},
                 {"MinZas", "MinZas", 7},
                 {"Druh_Pol", "Druh_Pol", 4},
                 {"Cis_RabSkp", "Cis_RabSkp", 6},
                 {"Cis_Firmy", "Cis_Firmy", 8},
                 {"Dat_Zmen", "Dat_Zmen", 16},
                 {"NC_Netto", "NC_Netto", 10},
                 {"Kod_Ozn2", "Kod_Ozn2", 0},
                 {"Vaha", "Vaha", 7},
                 {"Baleni_dod", "Baleni_dod", 0}};
    c.layoutFile = QStringLiteral("Ciselnik\\Vyrobky_Grid.csv");
    c.markRows = true;
    const QString klic = KlicVyrobku();
    c.searchItems = {{QStringLiteral("&") + klic, klic},
                     {QStringLiteral("&Kódové označ.1"), QStringLiteral("Kod_Ozn1")},
                     {QStringLiteral("&Název"), QStringLiteral("Nazev")},
                     {QStringLiteral("&Výnos.skupina"), QStringLiteral("PC_VynSkup")}};
    c.sortMenuCaption = QStringLiteral("Tří&dění");
    c.sortItems = {{QStringLiteral("&Kódové označení"), QStringLiteral("Kod_Ozn1;Kod_Ozn2;Nazev")},
                   {QStringLiteral("&") + klic, klic},
                   {QStringLiteral("&Název výrobku"), QStringLiteral("Nazev")},
                   {QStringLiteral("&Výnosová skupina"), QStringLiteral("PC_Vynskup")}};
    c.entryNavigator = true;
    return c;
}

// The text of a price in its box: two places (three for the excise, none for the pack factor),
// four when the value has them, so that nothing of a stored value is lost by showing it.
QString textCeny(const std::optional<Decimal>& v, PoleCeny p) {
    if (!v) return {};
    if (p == PoleCeny::Faktor_Bal) return QString::number(v->truncated());
    const int min = p == PoleCeny::Spotr_Dan ? 3 : 2;
    const int mist = v->raw() % 100 != 0 ? 4 : min;
    return v->toString(std::max(mist, min));
}

std::optional<Decimal> hodnotaTextu(const QString& text) {
    return Decimal::parse(text.trimmed());
}

QWidget* fokusBoxu(QWidget* w) {
    if (auto* e = qobject_cast<EditBox*>(w)) return e->lineEdit();
    return w;
}

} // namespace

TFormulVyrobky::TFormulVyrobky(TDataCis& dm, QWidget* parent)
    : RegisterForm(TDataCis::sdilena(dm.TableVyr, QStringLiteral("Ciselnik\\Vyrobky")),
                   konfigurace(), parent),
      dm_(dm) {
    setObjectName(QStringLiteral("TFormulVyrobky"));
    watch_ = new BoxWatch(this);
    watch_->setActive([this] {
        return entryShown() &&
               (table().state() == TableState::Edit || table().state() == TableState::Insert);
    });
    setPrevod({});
    vytvorRegistr();
    new RejstrikVyrobku(*this, dm_); // the register page's own commands
    vytvorVstup();
    vytvorKomplet();
    vytvorVarianty();
    vytvorCenik();
    vytvorKontrolu();
    vytvorPoznamku();
    StatusBar1->setPanelCount(3);
    StatusBar1->setPanelText(0, QStringLiteral("Formulář výrobky"));
    resize(1280, 700);
}

TFormulVyrobky::~TFormulVyrobky() {
    for (Navigator* n : {NavigatorKomplet, NavigatorVarianty})
        if (n) n->setTarget(nullptr);
}

void TFormulVyrobky::setPrevod(std::function<Decimal(const QString&, Decimal, const QDate&)> p) {
    prevod_ = std::move(p);
    Database& db = table().database();
    ceny_ = std::make_unique<CenyVyrobku>(
        ZdrojeCenZDat(
            db,
            [this](const QString& mena, Decimal castka, const QDate& den) {
                return prevod_ ? prevod_(mena, castka, den) : Decimal();
            },
            [](const QString& otazka) { return Platform::current().askYesNo(otazka); }),
        nastaveniProgramu().ZaokrCen, nastaveniProgramu().SazbyDPH);
}

QWidget* TFormulVyrobky::box(const QString& pole) const {
    return boxy_.value(pole.toUpper());
}
EditBox* TFormulVyrobky::edit(const QString& pole) const {
    return qobject_cast<EditBox*>(box(pole));
}
QComboBox* TFormulVyrobky::seznam(const QString& pole) const {
    return qobject_cast<QComboBox*>(box(pole));
}

bool TFormulVyrobky::stranka(QWidget* w) const {
    return PageControl1->currentWidget() == w;
}

// ---- the register page ----------------------------------------------------------------------

void TFormulVyrobky::vytvorRegistr() {
    MenuPolozky = new QMenu(QStringLiteral("&Položky"), this);
    MainMenu->insertMenu(MenuFunkce->menuAction(), MenuPolozky);
    MenuKomplet = MenuPolozky->addAction(QStringLiteral("&Komplet"));
    MenuVarianty = MenuPolozky->addAction(QStringLiteral("&Varianty"));
    MenuCenik = MenuPolozky->addAction(QStringLiteral("Zákaznický ceník"));
    connect(MenuKomplet, &QAction::triggered, this, [this] { KompletClick(); });
    connect(MenuVarianty, &QAction::triggered, this, [this] { VariantyClick(); });
    connect(MenuCenik, &QAction::triggered, this, [this] { CenikClick(); });
    addBrowseMenu(MenuPolozky);
    MenuPrecislovani = new QAction(QStringLiteral("&Přečíslování výrobku"), this);
    MenuFunkce->insertAction(MenuExport, MenuPrecislovani);
    connect(MenuPrecislovani, &QAction::triggered, this, [this] { PrecislovaniClick(); });
}

void TFormulVyrobky::openRegister() {
    otevrene_.clear();
    const bool varianty = nastaveniTabulky().VERZETEXTIL;
    try {
        for (Table* t :
             {dm_.TableVyrKomp, dm_.TableSklady, dm_.TableFir, dm_.TableSklZas, dm_.TableCisUctu,
              dm_.TableRabSkup, dm_.TableZeme, dm_.TableClo, dm_.TableKodOzn1, dm_.TableKodOzn2,
              dm_.TableVynSkup, dm_.TableCis_Rada, varianty ? dm_.TableVyrVar : nullptr})
            if (t && !t->active()) {
                t->open();
                otevrene_ << t;
            }
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
    }
    MenuVarianty->setEnabled(varianty);
    MenuVarianty->setVisible(varianty);
    const QString koren = table().database().root();
    jednotky_ = nactiSeznam(koren, kSouborDruhMn);
    baleni_ = nactiSeznam(koren, kSouborObjMn);
    // The settings of the run: the price step and the VAT rates as they are now.
    setPrevod(prevod_);
    naplnSeznamy();
    RegisterForm::openRegister();
    StatusBar1->setPanelText(0, QStringLiteral("Formulář výrobky"));
    if (auto* r = findChild<RejstrikVyrobku*>()) r->PoOtevreni();
}

void TFormulVyrobky::closeRegister() {
    if (!isOpen()) return;
    zavriCenik();
    for (Table* t : {dm_.TableVyrKomp, dm_.TableVyrVar})
        if (t && (t->state() == TableState::Edit || t->state() == TableState::Insert)) t->cancel();
    try {
        if (!chooserMode() && table().active()) {
            if (table().state() != TableState::Browse) table().cancel();
            table().setFiltered(false);
            table().setIndexFieldNames(QStringLiteral("Kod_Ozn1;Kod_Ozn2;Nazev"));
        }
    } catch (const StorageError& e) {
        reportStorageError(e);
    }
    RegisterForm::closeRegister();
    try {
        for (Table* t : otevrene_)
            if (t->active()) t->close();
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
    }
    otevrene_.clear();
    const QString koren = table().database().root();
    ulozSeznam(koren, kSouborDruhMn, jednotky_);
    ulozSeznam(koren, kSouborObjMn, baleni_);
}

void TFormulVyrobky::naplnSeznamy() {
    Database& db = table().database();
    auto nacti = [&](QComboBox* c, const QString& adresa, const QString& pole,
                     const QStringList& navic = {}) {
        if (!c) return;
        const QString text = c->currentText();
        c->clear();
        c->addItems(navic);
        if (db.findTable(adresa)) {
            Table t(db, adresa);
            t.open();
            t.setIndexName(QString());
            for (t.first(); !t.eof() && t.hasRecord(); t.next())
                c->addItem(OrizniVpravo(t.field(pole).asString()));
        }
        c->setCurrentText(text);
    };
    nacti(seznam(QStringLiteral("Kod_Ozn1")), QStringLiteral("Ciselnik\\Kod_Ozn1"),
          QStringLiteral("Kod_Ozn1"), {QString()});
    nacti(seznam(QStringLiteral("Cis_Rada")), QStringLiteral("Ciselnik\\Cis_rada"),
          QStringLiteral("Cis_Rada"), {QString()});
    if (QComboBox* dph = seznam(QStringLiteral("DPH"))) {
        dph->clear();
        for (const Decimal& s : nastaveniProgramu().SazbyDPH)
            dph->addItem(s.toShortString());
    }
    if (QComboBox* mj = seznam(QStringLiteral("DruhMn"))) {
        mj->clear();
        mj->addItems(jednotky_);
    }
    if (QComboBox* obj = seznam(QStringLiteral("Obj_Mn"))) {
        obj->clear();
        obj->addItems(baleni_);
    }
}

// ---- the entry page -------------------------------------------------------------------------

void TFormulVyrobky::vytvorVstup() {
    const NastaveniProgramu& n = nastaveniProgramu();
    auto* page = new QWidget(entryArea());
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    entryArea()->layout()->addWidget(page);
    auto skupina = [&](const QString& nadpis, int sloupec) {
        auto* g = new QGroupBox(nadpis, page);
        auto* f = new QFormLayout(g);
        f->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        grid->addWidget(g, 0, sloupec);
        return f;
    };
    auto pole = [&](QFormLayout* f, const char* nazev, const QString& popisek,
                    const QString& napoveda) {
        EditBox* b = fieldBox(QString::fromLatin1(nazev), napoveda, page);
        f->addRow(popisek, b);
        boxy_.insert(QString::fromLatin1(nazev).toUpper(), b);
        return b;
    };
    auto seznamBox = [&](QFormLayout* f, const char* nazev, const QString& popisek,
                         const QString& napoveda, bool editovatelny, const QStringList& polozky) {
        auto* c = new QComboBox(page);
        c->setObjectName(QStringLiteral("Combo") + QString::fromLatin1(nazev));
        c->setEditable(editovatelny);
        c->addItems(polozky);
        c->setStatusTip(napoveda);
        if (QLineEdit* e = c->lineEdit()) {
            e->setStatusTip(napoveda);
            const Field fld = table().field(QString::fromLatin1(nazev));
            if (fld.kind() == FieldKind::Text) e->setMaxLength(fld.size());
        }
        f->addRow(popisek, c);
        bindWidget(QString::fromLatin1(nazev), c);
        boxy_.insert(QString::fromLatin1(nazev).toUpper(), c);
        return c;
    };
    auto cenovy = [&](QWidget* w, PoleCeny p) {
        QWidget* f = fokusBoxu(w);
        cenoveBoxy_.insert(f, p);
        if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit()) {
            cenoveBoxy_.insert(c->lineEdit(), p);
            c->lineEdit()->installEventFilter(this);
            connect(c, &QComboBox::currentTextChanged, this, [this, p] {
                if (!ukazuji_) psaniCeny(p);
            });
        }
        if (auto* e = qobject_cast<EditBox*>(w))
            connect(e, &EditBox::textEdited, this, [this, p] {
                if (!ukazuji_) psaniCeny(p);
            });
        f->installEventFilter(this);
        watch_->onLeave(f == w ? w : f, [this, p] { odchodCeny(p); });
    };

    // -- the product
    QFormLayout* vyr = skupina(QStringLiteral("Výrobek"), 0);
    EditBox* cislo = pole(vyr, "Cis_vyr", QStringLiteral("Číslo výrobku"),
                          QString::fromUtf16(kCisloVyrobkuVRozsahu));
    QComboBox* rada = seznamBox(vyr, "Cis_Rada", QStringLiteral("Řada"),
                                QStringLiteral("Číselná řada určuje automaticky číslo výrobku, "
                                               "F3 = Hledej"),
                                true, {});
    pole(vyr, "ObjCis", QStringLiteral("Obj.číslo"), QStringLiteral("Objednací číslo výrobku"));
    pole(vyr, "Nazev", QStringLiteral("Název"), QStringLiteral("Název výrobku na 40 znaků"));
    pole(vyr, "NazCizJaz", QStringLiteral("Cizí jazyk"),
         QStringLiteral("Název výrobku v cizím jazyce"));
    pole(vyr, "EAN13", QStringLiteral("EAN13"),
         QStringLiteral("Čárový kód - možné při použití snímače"));
    QComboBox* ko1 =
        seznamBox(vyr, "Kod_Ozn1", QStringLiteral("Kód.označ.1"),
                  QStringLiteral("Kódové označení 1 ze seznamu (F3 - výběr)"), true, {});
    EditBox* ko2 = pole(vyr, "Kod_Ozn2", QStringLiteral("Kód.označ.2"),
                        QStringLiteral("Kódové označení 2 (F3 - výběr)"));
    ko2->setChooser(true);
    if (dleCisla()) {
        pole(vyr, "Kod_Ozn3", QStringLiteral("Kód.označ.3"),
             QStringLiteral("Kódové označení 3 - libovolný text"));
    } else {
        // Under the order-code key the designation-3 box shows the order code.
        auto* l = new QLabel(page);
        l->setObjectName(QStringLiteral("LabelObjCis"));
        vyr->addRow(QStringLiteral("Kód.označ.3"), l);
        binding().add(QStringLiteral("ObjCis"), l);
    }
    seznamBox(vyr, "Druh_Pol", QStringLiteral("Druh pol."),
              QStringLiteral("S-skladová,N-neskladová"), false,
              {QStringLiteral("S"), QStringLiteral("N")});
    QComboBox* komplet = seznamBox(vyr, "Druh_Komplet", QStringLiteral("Komplet"),
                                   QStringLiteral("Prázdné - běžný výrobek, K - komplet, S - sada"),
                                   true, {QString(), QStringLiteral("K"), QStringLiteral("S")});
    EditDodavatel = new EditBox(EditBox::Kind::Text, page);
    EditDodavatel->setObjectName(QStringLiteral("EditDodavatel"));
    EditDodavatel->setMaxLength(40);
    EditDodavatel->setHint(QStringLiteral("Zadejte název dodavatele (F3 - Hledej)"));
    EditDodavatel->setChooser(true);
    EditDodavatel->lineEdit()->installEventFilter(this);
    auto* dodavatel = new QHBoxLayout;
    dodavatel->addWidget(EditDodavatel, 1);
    EditBox* cisFirmy =
        fieldBox(QStringLiteral("Cis_Firmy"), QStringLiteral("Číslo dodavatele"), page);
    cisFirmy->setReadOnly(true);
    boxy_.insert(QStringLiteral("CIS_FIRMY"), cisFirmy);
    dodavatel->addWidget(cisFirmy);
    vyr->addRow(QStringLiteral("Dodavatel"), dodavatel);
    pole(vyr, "Obj_Cis_Dod", QStringLiteral("Obj.čís.dod"),
         QStringLiteral("Objednací číslo výrobku u dodavatele"));
    LabelStavSkladu = new QLabel(page);
    LabelStavSkladu->setObjectName(QStringLiteral("LabelStavSkladu"));
    vyr->addRow(QStringLiteral("Stav skladu"), LabelStavSkladu);

    // -- packs, rates and groups
    QFormLayout* bal = skupina(QStringLiteral("Balení a zařazení"), 1);
    QComboBox* mj = seznamBox(bal, "DruhMn", QStringLiteral("MJ"),
                              QStringLiteral("Skladová měrná jednotka"), true, {});
    QComboBox* objMn =
        seznamBox(bal, "Obj_Mn", QStringLiteral("Druh bal.dod."),
                  QStringLiteral("Druh balení dodavatele, prázdné - skladové jednotky"), true, {});
    pole(bal, "Baleni_dod", QStringLiteral("Bal.dod."), QStringLiteral("Balení dodavatele"));
    EditBox* cenaZa = pole(bal, "CenaZa", QStringLiteral("Cena za"),
                           QStringLiteral("Za jaké množství jsou prodejní ceny"));
    EditBox* faktor = pole(bal, "Faktor_Bal", QStringLiteral("Faktor bal."),
                           QStringLiteral("Za jaké sklad.množství je určena NC"));
    QComboBox* dph =
        seznamBox(bal, "DPH", QStringLiteral("DPH"), QStringLiteral("Sazba DPH v %"), true, {});
    EditBox* rab = pole(bal, "Cis_RabSkp", QStringLiteral("Rabatní skup."),
                        QStringLiteral("Rabatní skupina výrobku (F3 - výběr)"));
    rab->setChooser(true);
    EditBox* vyn = pole(bal, "PC_Vynskup", QStringLiteral("Výnos.skup."),
                        QStringLiteral("Výnosová skupina výrobku (F3 - výběr)"));
    vyn->setChooser(true);
    pole(bal, "Vaha", QStringLiteral("Váha"), QStringLiteral("Hmotnost jednotky"));
    pole(bal, "MinZas", QStringLiteral("Min.zásoba"),
         QStringLiteral("Doporučená minimální zásoba"));
    pole(bal, "SKP", QStringLiteral("SKP"), QStringLiteral("Kód produkce"));
    EditBox* objem = pole(bal, "Objem", QStringLiteral("Objem (l)"),
                          QStringLiteral("Objem v litrech - podíl jednotky sazby spotřební daně"));
    EditBox* dan = pole(bal, "Spotr_Dan", QStringLiteral("Spotř.daň"),
                        QStringLiteral("Sazba spotřební daně (na jednotku objemu)"));
    EditBox* mena = nullptr;
    EditBox* ncZahr = nullptr;
    EditBox* celSaz = nullptr;
    if (n.ZahrMeny) {
        mena = pole(bal, "Kod_Meny", QStringLiteral("Měna"),
                    QStringLiteral("Měna zahraniční nákupní ceny (F3 - výběr)"));
        mena->setChooser(true);
        ncZahr = pole(bal, "NC_Zahr", QStringLiteral("NC zahraniční"),
                      QStringLiteral("Nákupní cena v zahraniční měně"));
        if (!dleCisla()) {
            celSaz = pole(bal, "Cis_CelSaz", QStringLiteral("Celní saz."),
                          QStringLiteral("Číslo celního sazebníku (F3 - výběr)"));
            celSaz->setChooser(true);
        }
    }

    // -- prices
    QFormLayout* cen = skupina(QStringLiteral("Ceny"), 2);
    EditBox* nc = pole(cen, "NC_Netto", QStringLiteral("NC netto bez DPH"),
                       QStringLiteral("Nákupní cena bez DPH za faktor balení"));
    EditBox* minMarze = pole(cen, "Min_Marze", QStringLiteral("Min.marže"),
                             QStringLiteral("Minimální přirážka v % při nejvyšších slevách"));
    EditBox* pcMin = pole(cen, "PC_Min", QStringLiteral("Minimální PC bez DPH"),
                          QStringLiteral("Nejnižší prodejní cena bez DPH, kterou nelze podkročit"));
    EditBox* kalk = pole(cen, "Kalk_Prir", QStringLiteral("Marže VO"),
                         QStringLiteral("Přirážka velkoobchodní ceny k nákupní ceně v %"));
    EditBox* vo = pole(cen, "PC_Zakl", QStringLiteral("VO cena bez DPH"),
                       QStringLiteral("Velkoobchodní základní cena bez DPH a slev"));
    EditBox* moMarze = pole(cen, "MO_Marze", QStringLiteral("Přirážka v % k NC na MO"),
                            QStringLiteral("Přirážka maloobchodní ceny k nákupní ceně v %"));
    EditBox* mo = pole(cen, "MO_Cena", QStringLiteral("MO cena vč.DPH"),
                       QStringLiteral("Maloobchodní cena včetně DPH"));
    LabelMarzeZMO = new QLabel(page);
    LabelMarzeZMO->setObjectName(QStringLiteral("LabelMarzeZMO"));
    LabelMarzeZMO->setStatusTip(QStringLiteral("Zisk jako podíl z maloobchodní ceny bez DPH"));
    cen->addRow(QStringLiteral("Marže z MO %"), LabelMarzeZMO);

    // -- rebates
    QFormLayout* sl = skupina(QStringLiteral("Slevy"), 3);
    pole(sl, "NC_MnRab1", QStringLiteral("Sleva nad množství NC"),
         QStringLiteral("Množství, nad které dodavatel poskytuje další slevu"));
    pole(sl, "NC_Rab1", QStringLiteral("Sleva (%)"), QStringLiteral("Další sleva dodavatele v %"));
    pole(sl, "PC_MnRab1", QStringLiteral("PC-Sleva nad množství 1"),
         QStringLiteral("Množství, od kterého platí sleva 1 (0 - bez množstevních slev)"));
    EditBox* rab1 =
        pole(sl, "PC_Rab1", QStringLiteral("Sleva 1(%)"), QStringLiteral("Množstevní sleva 1 v %"));
    pole(sl, "Pc_MnRab2", QStringLiteral("Množství 2"),
         QStringLiteral("Množství, od kterého platí sleva 2"));
    EditBox* rab2 =
        pole(sl, "PC_Rab2", QStringLiteral("Sleva 2(%)"), QStringLiteral("Množstevní sleva 2 v %"));
    pole(sl, "PC_MnRab3", QStringLiteral("Množství 3"),
         QStringLiteral("Množství, od kterého platí sleva 3"));
    EditBox* rab3 = pole(sl, "PC_Rab3", QStringLiteral("Sleva 3 (%)"),
                         QStringLiteral("Množstevní sleva 3 v %"));

    // -- commands
    auto* tlacitka = new QHBoxLayout;
    ButtonPrepocetPC = new QPushButton(QStringLiteral("Přepočet PC"), page);
    ButtonPrepocetPC->setStatusTip(QStringLiteral(
        "Provede automatický výpočet PC tak, aby PC po nejvyšších slevách byla rovna Minimální PC "
        "bez DPH"));
    ButtonKontrolaCen = new QPushButton(QStringLiteral("&Kontrola cen"), page);
    ButtonKontrolaCen->setStatusTip(
        QStringLiteral("Provede porovnání nejnižší PC a PC po nejvyšších slevách"));
    ButtonPoznamka = new QPushButton(QStringLiteral("Po&známka"), page);
    ButtonPoznamka->setStatusTip(QStringLiteral("Poznámka a obrázek výrobku"));
    for (QPushButton* b : {ButtonPrepocetPC, ButtonKontrolaCen, ButtonPoznamka}) {
        b->setAutoDefault(false);
        tlacitka->addWidget(b);
    }
    tlacitka->addStretch(1);
    grid->addLayout(tlacitka, 1, 0, 1, 4);
    connect(ButtonPrepocetPC, &QPushButton::clicked, this, [this] { ClickPrepocetPC(); });
    connect(ButtonKontrolaCen, &QPushButton::clicked, this, [this] { ClickKontrolaCen(); });
    connect(ButtonPoznamka, &QPushButton::clicked, this, [this] { PoznamkaClick(); });
    if (Navigator1) {
        Navigator1->setVisibleActions({Navigator::Prior, Navigator::Next});
        Navigator1->setStatusTip(QStringLiteral("Pohyb po databázi předchozí/další"));
        Navigator1->setToolTip(QStringLiteral("Pohyb po databázi předchozí/další"));
    }

    // -- the price engine's boxes and the leaving rules
    cenovy(nc, PoleCeny::NC_Netto);
    cenovy(minMarze, PoleCeny::Min_Marze);
    cenovy(pcMin, PoleCeny::PC_Min);
    cenovy(kalk, PoleCeny::Kalk_Prir);
    cenovy(vo, PoleCeny::PC_Zakl);
    cenovy(moMarze, PoleCeny::MO_Marze);
    cenovy(mo, PoleCeny::MO_Cena);
    cenovy(dph, PoleCeny::DPH);
    cenovy(faktor, PoleCeny::Faktor_Bal);
    cenovy(cenaZa, PoleCeny::CenaZa);
    cenovy(rab1, PoleCeny::PC_Rab1);
    cenovy(rab2, PoleCeny::PC_Rab2);
    cenovy(rab3, PoleCeny::PC_Rab3);
    cenovy(objem, PoleCeny::Objem);
    cenovy(dan, PoleCeny::Spotr_Dan);
    if (ncZahr) cenovy(ncZahr, PoleCeny::NC_Zahr);
    watch_->onLeave(cislo->lineEdit(), [this] { ExitCisVyr(); });
    watch_->onLeave(rada, [this] { ExitCisRada(); });
    watch_->onF3(rada, [rada] { rada->showPopup(); });
    watch_->onLeave(rab->lineEdit(), [this] { ExitRabSkup(); });
    watch_->onLeave(vyn->lineEdit(), [this] { ExitVynSkup(); });
    watch_->onLeave(EditDodavatel->lineEdit(), [this] { ExitDodavatel(); });
    watch_->onLeave(mj, [this, mj] { ExitJednotka(mj); });
    watch_->onLeave(objMn, [this, objMn] { ExitJednotka(objMn); });
    watch_->onLeave(komplet, [this] { ExitKomplet(); });
    connect(EditDodavatel, &EditBox::chooserRequested, this, [this] { VyberDodavatele(); });
    connect(rab, &EditBox::chooserRequested, this, [this, rab] {
        if (vybery_.rabSkup && vybery_.rabSkup(rab->text()) && dm_.TableRabSkup)
            rab->setText(dm_.TableRabSkup->field(QStringLiteral("Cis_RabSkup")).asString());
        rab->lineEdit()->setFocus();
    });
    connect(vyn, &EditBox::chooserRequested, this, [this, vyn] {
        if (vybery_.vynSkup && vybery_.vynSkup(vyn->text()) && dm_.TableVynSkup)
            vyn->setText(dm_.TableVynSkup->field(QStringLiteral("PC_VynSkup")).asString());
        vyn->lineEdit()->setFocus();
    });
    watch_->onF3(ko1, [this, ko1] {
        if (vybery_.kodOzn1 && vybery_.kodOzn1(ko1->currentText()) && dm_.TableKodOzn1)
            ko1->setCurrentText(dm_.TableKodOzn1->field(QStringLiteral("Kod_Ozn1")).asString());
        ko1->setFocus();
    });
    connect(ko2, &EditBox::chooserRequested, this, [this, ko2] {
        if (vybery_.kodOzn2 && vybery_.kodOzn2(ko2->text()) && dm_.TableKodOzn2)
            ko2->setText(dm_.TableKodOzn2->field(QStringLiteral("Kod_Ozn2")).asString());
        ko2->lineEdit()->setFocus();
    });
    if (mena) {
        watch_->onLeave(mena->lineEdit(), [this] { ExitKodMeny(); });
        connect(mena, &EditBox::chooserRequested, this, [this, mena] {
            if (vybery_.mena && vybery_.mena(mena->text()) && dm_.TableZeme)
                mena->setText(dm_.TableZeme->field(QStringLiteral("KOD_Meny")).asString());
            ceny_->setKodMeny(mena->text());
            mena->lineEdit()->setFocus();
        });
    }
    if (celSaz) {
        watch_->onLeave(celSaz->lineEdit(), [this] { ExitCelniSazba(); });
        connect(celSaz, &EditBox::chooserRequested, this, [this, celSaz] {
            if (vybery_.celSaz && vybery_.celSaz(celSaz->text()) && dm_.TableClo)
                celSaz->setText(dm_.TableClo->field(QStringLiteral("Cis_celsaz")).asString());
            ceny_->setCelniSazba(celSaz->text());
            celSaz->lineEdit()->setFocus();
        });
    }
    setFirstEntryWidget(edit(QStringLiteral("Nazev"))->lineEdit());
}

void TFormulVyrobky::ukazCeny() {
    ukazuji_ = true;
    QWidget* fokus = QApplication::focusWidget();
    for (auto it = cenoveBoxy_.constBegin(); it != cenoveBoxy_.constEnd(); ++it) {
        const QString text = textCeny(ceny_->hodnota(it.value()), it.value());
        // The box being typed into keeps the user's spelling of its value ("297,5" as typed);
        // every other price box shows the value in its format ("297,50"). The VAT rate keeps
        // the spelling of its list ("21").
        const bool formatuj = it.key() != fokus && it.value() != PoleCeny::DPH;
        if (auto* e = qobject_cast<QLineEdit*>(it.key())) {
            // The line of an edit box or of the VAT combo box.
            const bool jina = hodnotaTextu(e->text()) != hodnotaTextu(text) ||
                              e->text().trimmed().isEmpty() != text.isEmpty();
            if (jina || (formatuj && e->text() != text)) e->setText(text);
        } else if (auto* c = qobject_cast<QComboBox*>(it.key())) {
            if (hodnotaTextu(c->currentText()) != hodnotaTextu(text)) c->setCurrentText(text);
        }
    }
    ukazuji_ = false;
    LabelMarzeZMO->setText(ceny_->marzeZMO().toString(2));
}

std::optional<PoleCeny> TFormulVyrobky::poleSFokusem() const {
    QWidget* f = QApplication::focusWidget();
    if (f && cenoveBoxy_.contains(f)) return cenoveBoxy_.value(f);
    return std::nullopt;
}

bool TFormulVyrobky::reakce(const ReakceCen& r) {
    Platform& p = Platform::current();
    if (r.pip) p.beep();
    if (!r.zprava.isEmpty()) {
        const QString titulek = r.titulek.isEmpty() ? caption::Chyba : r.titulek;
        if (titulek == caption::Chyba)
            p.error(r.zprava);
        else
            p.information(r.zprava, titulek);
    }
    if (r.fokus) {
        const QString nazev = nazevPoleCeny(*r.fokus);
        if (QWidget* w = box(nazev)) {
            QWidget* f = fokusBoxu(w);
            if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit()) f = c->lineEdit();
            f->setFocus();
            if (r.vybrat)
                if (auto* e = qobject_cast<QLineEdit*>(f)) e->selectAll();
        }
    }
    return !r.odmitnuto;
}

void TFormulVyrobky::vstupCeny(PoleCeny p) {
    reakce(ceny_->vstup(p));
}

void TFormulVyrobky::psaniCeny(PoleCeny p) {
    QWidget* w = box(nazevPoleCeny(p));
    QString text;
    if (auto* e = qobject_cast<EditBox*>(w))
        text = e->text();
    else if (auto* c = qobject_cast<QComboBox*>(w))
        text = c->currentText();
    ceny_->psani(p, hodnotaTextu(text));
}

void TFormulVyrobky::odchodCeny(PoleCeny p) {
    const ReakceCen r = ceny_->odchod(p);
    ukazCeny();
    reakce(r);
}

void TFormulVyrobky::loadEntry() {
    ukazuji_ = true;
    RegisterForm::loadEntry();
    ukazuji_ = false;
    Table& t = table();
    const bool zaznam = t.hasRecord() || t.state() == TableState::Insert;
    for (int i = 0; i < kPocetPoliCeny; ++i) {
        const PoleCeny p = PoleCeny(i);
        const int f = t.fieldIndex(nazevPoleCeny(p));
        ceny_->nastav(p, zaznam && f >= 0 && !t.field(f).isNull()
                             ? std::optional<Decimal>(t.field(f).asDecimal())
                             : std::nullopt);
    }
    auto text = [&](const char* pole) {
        return zaznam ? t.field(QString::fromLatin1(pole)).asString() : QString();
    };
    ceny_->setKodMeny(text("Kod_Meny"));
    ceny_->setCelniSazba(text("Cis_CelSaz"));
    const QVariant skupina = zaznam ? t.field(QStringLiteral("Cis_RabSkp")).value() : QVariant();
    ceny_->setRabatovaSkupina(skupina.isNull() ? std::nullopt
                                               : std::optional<int>(skupina.toInt()));
    ukazCeny();
    ukazDodavatele(zaznam);
    ukazObrazek();
    binding().keepAsLoaded();
    obrazekZmenen_ = false;
}

void TFormulVyrobky::ukazDodavatele(bool zprava) {
    const std::optional<qlonglong> cislo = edit(QStringLiteral("Cis_Firmy"))->integerValue();
    std::optional<QString> nazev;
    if (cislo) nazev = NazevFirmy(table().database(), *cislo);
    EditDodavatel->setText(nazev.value_or(QString()));
    // A product without a supplier yet (a new one) is not reported.
    if (zprava && cislo && !nazev)
        Platform::current().information(QStringLiteral("Nenalezen dodavatel"));
}

void TFormulVyrobky::openEntry() {
    Table& t = table();
    const bool novy = t.state() == TableState::Insert;
    loadEntry();
    edit(QStringLiteral("Cis_vyr"))->setEnabled(novy);
    seznam(QStringLiteral("Cis_Rada"))->setEnabled(novy);
    radaCisla_.clear();
    if (novy) {
        LabelStavSkladu->clear();
    } else {
        // The total over every warehouse: a stock row of the warehouse "" rarely exists.
        LabelStavSkladu->setText(
            t.field(QStringLiteral("SklZas_Ks")).isNull()
                ? QString()
                : t.field(QStringLiteral("SklZas_Ks")).asDecimal().toString(2));
    }
    showEntryPage();
    if (novy) seznam(QStringLiteral("Cis_Rada"))->setFocus();
}

void TFormulVyrobky::NovyClick() {
    if (entryShown() || !table().active()) return;
    Table& t = table();
    try {
        t.insert();
        // A new product takes the first valid VAT rate and the first number series.
        const QVector<Decimal>& sazby = nastaveniProgramu().SazbyDPH;
        if (!sazby.isEmpty()) t.field(QStringLiteral("DPH")).setDecimal(sazby.front());
        if (const TableDef* rady = t.database().findTable(QStringLiteral("Ciselnik\\Cis_rada"))) {
            Table r(t.database(), rady->address());
            r.open();
            r.setIndexName(QString());
            r.first();
            if (r.hasRecord())
                t.field(QStringLiteral("Cis_Rada"))
                    .setString(r.field(QStringLiteral("Cis_Rada")).asString());
        }
    } catch (const StorageError& e) {
        reportStorageError(e);
        return;
    } catch (const Abort&) {
        return;
    }
    openEntry();
}

void TFormulVyrobky::OpravaClick() {
    RegisterForm::OpravaClick();
}

void TFormulVyrobky::cancelEntry() {
    for (Table* d : {dm_.TableVyrKomp, dm_.TableVyrVar})
        if (d && (d->state() == TableState::Edit || d->state() == TableState::Insert)) d->cancel();
    zavriCenik();
    RegisterForm::cancelEntry();
}

bool TFormulVyrobky::saveEntry() {
    Table& t = table();
    if (t.state() != TableState::Edit && t.state() != TableState::Insert) return true;
    const ReakceCen r = ceny_->kontrolaUlozeni(poleSFokusem());
    ukazCeny();
    if (!reakce(r)) return false;
    if (t.state() == TableState::Insert) {
        const std::optional<qlonglong> n = edit(QStringLiteral("Cis_vyr"))->integerValue();
        if (n && (*n < 1 || *n > 9999999)) {
            Platform::current().error(QString::fromUtf16(kCisloVyrobkuVRozsahu));
            edit(QStringLiteral("Cis_vyr"))->lineEdit()->setFocus();
            return false;
        }
    }
    // A product reached and left unchanged is not stamped nor posted.
    if (t.state() == TableState::Edit && !binding().modified() && !obrazekZmenen_) {
        t.cancel();
        return true;
    }
    if (!storeEntry()) return false;
    try {
        t.field(QStringLiteral("Dat_Zmen")).setDateTime(QDateTime::currentDateTime());
    } catch (const StorageError& e) {
        reportStorageError(e);
        return false;
    }
    // Another copy's change of the product meanwhile is told, as in every register.
    if (!postEntry()) return false;
    obrazekZmenen_ = false;
    return true;
}

// ---- the leaving rules of the other boxes ----------------------------------------------------

void TFormulVyrobky::ExitCisVyr() {
    EditBox* cislo = edit(QStringLiteral("Cis_vyr"));
    if (table().state() != TableState::Insert || !cislo->isEnabled()) return;
    const QString text = cislo->text().trimmed();
    if (text.isEmpty()) return;
    const std::optional<qlonglong> n = cislo->integerValue();
    if (!n || *n < 1 || *n > 9999999) {
        Platform::current().error(QString::fromUtf16(kCisloVyrobkuVRozsahu));
        cislo->lineEdit()->setFocus();
        return;
    }
    edit(QStringLiteral("ObjCis"))->setText(QString::number(*n));
    cislo->setEnabled(false);
    seznam(QStringLiteral("Cis_Rada"))->setEnabled(false);
    if (QComboBox* ko1 = seznam(QStringLiteral("Kod_Ozn1"))) ko1->setFocus();
}

void TFormulVyrobky::ExitCisRada() {
    EditBox* cislo = edit(QStringLiteral("Cis_vyr"));
    QComboBox* rada = seznam(QStringLiteral("Cis_Rada"));
    if (table().state() != TableState::Insert || !cislo->isEnabled()) return;
    const QString r = rada->currentText().trimmed();
    if (r.isEmpty() || (r == radaCisla_ && !cislo->text().trimmed().isEmpty())) return;
    if (!dm_.TableCis_Rada) return;
    try {
        if (!dm_.TableCis_Rada->active()) dm_.TableCis_Rada->open();
        const int n = CisloZRady(*dm_.TableCis_Rada, table(), r);
        if (n <= 0) return;
        cislo->setText(QString::number(n));
        radaCisla_ = r;
    } catch (const StorageError& e) {
        reportStorageError(e);
    } catch (const Abort&) {
    }
}

void TFormulVyrobky::ExitKodMeny() {
    EditBox* mena = edit(QStringLiteral("Kod_Meny"));
    if (!mena) return;
    const QString kod = mena->text().trimmed();
    if (kod.isEmpty()) {
        ceny_->setKodMeny(QString());
        edit(QStringLiteral("NC_Netto"))->lineEdit()->setFocus();
        return;
    }
    if (const std::optional<QString> k = MenaDleKodu(table().database(), kod)) {
        ceny_->setKodMeny(*k);
        return;
    }
    if (vybery_.mena && vybery_.mena(kod) && dm_.TableZeme)
        mena->setText(dm_.TableZeme->field(QStringLiteral("KOD_Meny")).asString());
    ceny_->setKodMeny(mena->text());
    mena->lineEdit()->setFocus();
}

void TFormulVyrobky::ExitCelniSazba() {
    EditBox* saz = edit(QStringLiteral("Cis_CelSaz"));
    if (!saz) return;
    ceny_->setCelniSazba(saz->text());
    if (saz->text().trimmed().isEmpty()) return;
    if (!ceny_->odchodCelniSazby()) {
        if (vybery_.celSaz && vybery_.celSaz(saz->text()) && dm_.TableClo) {
            saz->setText(dm_.TableClo->field(QStringLiteral("Cis_celsaz")).asString());
            ceny_->setCelniSazba(saz->text());
            ceny_->odchodCelniSazby();
        }
        saz->lineEdit()->setFocus();
    }
    ukazCeny();
}

void TFormulVyrobky::ExitRabSkup() {
    EditBox* rab = edit(QStringLiteral("Cis_RabSkp"));
    const std::optional<qlonglong> n = rab->integerValue();
    if (rab->text().trimmed().isEmpty()) {
        ceny_->setRabatovaSkupina(std::nullopt);
        return;
    }
    if (!n || !ExistujeZaznam(table().database(), QStringLiteral("Ciselnik\\RabSkup"),
                              QStringLiteral("Cis_RabSkup"), *n)) {
        if (vybery_.rabSkup && vybery_.rabSkup(rab->text()) && dm_.TableRabSkup)
            rab->setText(dm_.TableRabSkup->field(QStringLiteral("Cis_RabSkup")).asString());
        rab->lineEdit()->setFocus();
    }
    const std::optional<qlonglong> skupina = rab->integerValue();
    ceny_->setRabatovaSkupina(skupina ? std::optional<int>(int(*skupina)) : std::nullopt);
}

void TFormulVyrobky::ExitVynSkup() {
    EditBox* vyn = edit(QStringLiteral("PC_Vynskup"));
    if (vyn->text().trimmed().isEmpty()) return;
    const std::optional<qlonglong> n = vyn->integerValue();
    if (n && ExistujeZaznam(table().database(), QStringLiteral("Ciselnik\\VynSkup"),
                            QStringLiteral("PC_VynSkup"), *n))
        return;
    if (vybery_.vynSkup && vybery_.vynSkup(vyn->text()) && dm_.TableVynSkup)
        vyn->setText(dm_.TableVynSkup->field(QStringLiteral("PC_VynSkup")).asString());
    vyn->lineEdit()->setFocus();
}

void TFormulVyrobky::ExitDodavatel() {
    const QString nazev = EditDodavatel->text().trimmed();
    if (nazev.isEmpty()) { // a supplier is required
        EditDodavatel->lineEdit()->setFocus();
        return;
    }
    if (const std::optional<qint64> n = FirmaDleNazvu(table().database(), nazev)) {
        edit(QStringLiteral("Cis_Firmy"))->setText(QString::number(*n));
        return;
    }
    VyberDodavatele();
}

void TFormulVyrobky::VyberDodavatele() {
    if (vybery_.firma && vybery_.firma(EditDodavatel->text().trimmed()) && dm_.TableFir &&
        dm_.TableFir->hasRecord()) {
        edit(QStringLiteral("Cis_Firmy"))
            ->setText(dm_.TableFir->field(QStringLiteral("Cis_firmy")).asString());
        EditDodavatel->setText(dm_.TableFir->field(QStringLiteral("Nazev")).asString());
    }
    EditDodavatel->lineEdit()->setFocus();
}

void TFormulVyrobky::ExitJednotka(QComboBox* c) {
    QStringList& seznamJednotek = c == seznam(QStringLiteral("DruhMn")) ? jednotky_ : baleni_;
    const QString j = c->currentText().trimmed();
    if (j.isEmpty() || seznamJednotek.contains(j)) return;
    if (!Platform::current().askYesNo(kOtazkaNovaPolozka)) return;
    seznamJednotek << j;
    c->addItem(j);
    c->setCurrentText(j);
}

void TFormulVyrobky::ExitKomplet() {
    const QString k = seznam(QStringLiteral("Druh_Komplet"))->currentText().trimmed();
    if (k.isEmpty() || k == QLatin1String("K") || k == QLatin1String("S")) return;
    Platform::current().beep();
    Platform::current().error(QString::fromUtf16(kPolozkaZeSeznamu));
}

// ---- commands of the entry page --------------------------------------------------------------

void TFormulVyrobky::ClickPrepocetPC() {
    if (table().state() != TableState::Edit && table().state() != TableState::Insert) return;
    const ReakceCen r = ceny_->PrepocetPC();
    ukazCeny();
    reakce(r);
}

void TFormulVyrobky::PrecislovaniClick() {
    if (entryShown() || !table().active() || !table().hasRecord()) return;
    Platform& p = Platform::current();
    if (!p.askYesNo(QString::fromUtf16(kOtazkaPrecislovat))) return;
    QString odpoved = table().field(QStringLiteral("Cis_vyr")).asString();
    if (!askValue(QString::fromUtf16(kNoveCisloVyrobku), QString::fromUtf16(kNoveCisloVyrobku),
                  odpoved))
        return;
    VysledekPrecislovani v;
    {
        BusyCursor busy;
        v = PrecislujVyrobek(table(), odpoved);
    }
    if (!v.zprava.isEmpty()) {
        if (v.titulek == caption::Chyba || v.titulek.isEmpty())
            p.error(v.zprava);
        else
            p.warning(v.zprava, v.titulek);
    }
    DbGrid1->gridModel()->reload();
    DbGrid1->syncToTable();
}

bool TFormulVyrobky::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && entryShown() && !ukazuji_) {
        if (auto* w = qobject_cast<QWidget*>(watched); w && cenoveBoxy_.contains(w)) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
                !watch_->running())
                vstupCeny(cenoveBoxy_.value(w));
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        const bool plain = k->modifiers() == Qt::NoModifier || k->modifiers() == Qt::KeypadModifier;
        const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
        if (plain && k->key() == Qt::Key_Escape &&
            (stranka(TabSheetKomplet) || stranka(TabSheetVarianty) || stranka(TabSheetCenik))) {
            const bool vMrizce = watched == GridKomplet || watched == GridVarianty;
            if (vMrizce || Platform::current().askYesNo(config().escapeQuestion)) {
                for (Table* d : {dm_.TableVyrKomp, dm_.TableVyrVar, dm_.TCenik_ZAK})
                    if (d && d->active() &&
                        (d->state() == TableState::Edit || d->state() == TableState::Insert))
                        d->cancel();
                zavriCenik();
                showBrowsePage();
            }
            return true;
        }
        if (plain && enter && EditKlicKomponenty && watched == EditKlicKomponenty->lineEdit()) {
            KlicKomponentyEnter();
            return true;
        }
        if (plain && (enter || k->key() == Qt::Key_Tab) && EditCenikFirma &&
            watched == EditCenikFirma->lineEdit()) {
            FirmaCenyEnter();
            return true;
        }
    }
    return RegisterForm::eventFilter(watched, event);
}

} // namespace brix
