#include "formul_firma.h"

#include "datacis.h"
#include "firmy.h"
#include "platform.h"
#include "table_rules.h"
#include "util/nastaveni.h"
#include "util/text_utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
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

const QString kOtazkaKonec = QStringLiteral("Chceš opravdu skončit bez záznamu");

RegisterConfig konfigurace() {
    RegisterConfig c;
    c.caption = QStringLiteral("Firmy");
    c.order = QStringLiteral("Zkr_nazev");
    c.columns = {{"Cis_firmy", "Číslo firmy", 0},
                 {"Zkr_nazev", "Zkrác.název", 0},
                 {"Nazev", "Název", 0},
                 {"Mesto", "Město", 0},
                 {"ICO", "IČO", 0},
                 {"DIC", "DIČ", 0},
                 {"Cis_obor", "Obor", 0},
                 {"PSC", "PSČ", 0},
                 {"Ulice", "Ulice", 0},
                 {"Jmeno", "Název2", 0},
                 {"Platce_DPH", "Plátce DPH", 0},
                 {"Tlf1", "Telefon1", 0},
                 {"Tlf2", "Telefon2", 0},
                 {"Tlf3", "Telefon3", 0},
                 {"Kontakt1", "Kontakt1", 0},
                 {"Kontakt2", "Kontakt2", 0},
                 {"Kontakt3", "Kontakt3", 0},
                 {"Fax", "Fax", 0},
                 {"PC_Skonto", "Skonto", 0},
                 {"Cinnost", "Činnost", 0},
                 {"Dealer", "Dealer", 0},
                 {"Druh", "Druh", 0},
                 {"Ozn_nap", "Účetní náp.", 0},
                 {"Zpus_platby", "Způsob platby", 0},
                 {"Zast_dodavek", "Zastav.dod.", 0},
                 {"Max_dluh", "Max.Dluh", 0},
                 {"Oblast", "Oblast", 0},
                 {"Stav_Dluhu", "Stav dluhu", 0},
                 {"Mail_Box", "Mail box", 0},
                 {"Uc_jednotka", "Účet.jednotka", 0},
                 {"Hosp_smlouva", "Hosp.smlouva", 0},
                 {"Bank_Ucet", "Bank.účet", 0},
                 {"Bank_Kod", "Kód", 0}};
    c.markRows = true;
    c.searchItems = {{QStringLiteral("&Zkrácený název"), QStringLiteral("Zkr_Nazev")},
                     {QStringLiteral("&Název firmy"), QStringLiteral("Nazev")},
                     {QStringLiteral("&Firma-číslo"), QStringLiteral("Cis_Firmy")},
                     {QStringLiteral("&Město"), QStringLiteral("Mesto")},
                     {QStringLiteral("&IČO"), QStringLiteral("ICO")}};
    c.sortMenuCaption = QStringLiteral("Tří&dění");
    c.sortItems = {{QStringLiteral("&Název"), QStringLiteral("Nazev")},
                   {QStringLiteral("&Císlo firmy"), QStringLiteral("Cis_Firmy")},
                   {QStringLiteral("&Zkrác.název"), QStringLiteral("Zkr_nazev")},
                   {QStringLiteral("&IČO"), QStringLiteral("ICO")},
                   {QStringLiteral("&Město"), QStringLiteral("Mesto")}};
    // Answered by the form itself (rozsahItem).
    c.rangeItems = {{QStringLiteral("&Název"), {}, RangeItem::Kind::Fixed, {}, {}},
                    {QStringLiteral("&Město"), {}, RangeItem::Kind::Fixed, {}, {}},
                    {QStringLiteral("Označené věty"), {}, RangeItem::Kind::Fixed, {}, {}}};
    c.printItems = {{QStringLiteral("&Seznam firem"), QStringLiteral("ciselnik\\Firmy"), {}},
                    {QStringLiteral("&Vizitky"), QStringLiteral("ciselnik\\FirVizitky"), {}}};
    c.printManagerPrefix = QStringLiteral("PrFi");
    c.f6Saves = false; // only in the boxes that say so
    c.entryNavigator = true;
    c.checkBeforeSave = [](RegisterForm& r) {
        if (PlatneCisloFirmy(r.table().field(QStringLiteral("Cis_firmy")).value())) return true;
        Platform::current().error(QString::fromUtf16(kCisloFirmyMimoRozsah));
        if (QWidget* b = r.binding().box(QStringLiteral("Cis_firmy")))
            if (auto* e = qobject_cast<EditBox*>(b)) e->lineEdit()->setFocus();
        return false;
    };
    return c;
}

// The order labels of "Tří&dění", in the order of its items.
const QStringList kPopisyPoradi = {QStringLiteral("Nazev"), QStringLiteral("Cis_Firmy"),
                                   QStringLiteral("Zkr_Nazev"), QStringLiteral("IČO"),
                                   QStringLiteral("Město")};

} // namespace

TFormulFirma::TFormulFirma(TDataCis& dm, QWidget* parent)
    : RegisterForm(TDataCis::sdilena(dm.TableFir, QStringLiteral("Ciselnik\\Firmy")), konfigurace(),
                   parent),
      dm_(dm), zapisy_(TDataCis::sdilena(dm.TableFir_Zapis, QStringLiteral("Ciselnik\\Fir_Zapis"))),
      zapisyBinding_(zapisy_) {
    setObjectName(QStringLiteral("TFormulFirma"));
    watch_ = new BoxWatch(this);
    watch_->setActive([this] {
        return entryShown() &&
               (table().state() == TableState::Edit || table().state() == TableState::Insert);
    });

    // The order label beside the search column's.
    if (auto* row = qobject_cast<QHBoxLayout*>(TabSheetBrowse->layout()->itemAt(0)->layout())) {
        row->insertWidget(1, new QLabel(QStringLiteral("Třídění"), TabSheetBrowse));
        LabelIndex = new QLabel(TabSheetBrowse);
        LabelIndex->setObjectName(QStringLiteral("LabelIndex"));
        row->addWidget(LabelIndex);
    }
    StatusBar1->setPanelCount(3);

    MenuNazevObsahuje = MenuHledej->addAction(QStringLiteral("Název obsahuje"));
    connect(MenuNazevObsahuje, &QAction::triggered, this, [this] { NazevObsahujeClick(); });
    // "&Filtr" last, after the ranges.
    MenuRozsah->removeAction(MenuFiltr);
    MenuRozsah->addAction(MenuFiltr);
    MenuOznaceneVety = rangeActions.value(2);
    MenuZapisy = new QAction(QStringLiteral("&Zápisy"), this);
    MenuFunkce->insertAction(MenuExport, MenuZapisy);
    MenuExport->setText(QStringLiteral("Export"));
    connect(MenuZapisy, &QAction::triggered, this, [this] { ZapisyClick(); });
    for (int i = 0; i < sortActions.size(); ++i)
        connect(sortActions[i], &QAction::triggered, this,
                [this, i] { ukazPoradi(kPopisyPoradi.value(i)); });

    vytvorVstup();
    vytvorZapisy();
    resize(1100, 620);
}

TFormulFirma::~TFormulFirma() {
    if (NavigatorZapisy) NavigatorZapisy->setTarget(nullptr);
}

EditBox* TFormulFirma::box(const QString& pole) const {
    return qobject_cast<EditBox*>(boxy_.value(pole.toUpper()));
}

QComboBox* TFormulFirma::seznam(const QString& pole) const {
    return qobject_cast<QComboBox*>(boxy_.value(pole.toUpper()));
}

// ---- the entry page -------------------------------------------------------------------------

void TFormulFirma::vytvorVstup() {
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
    auto zaskrtnuti = [&](QFormLayout* f, const char* nazev, const QString& popisek,
                          const QString& napoveda) {
        auto* c = new QCheckBox(popisek, page);
        c->setObjectName(QStringLiteral("Check") + QString::fromLatin1(nazev));
        c->setStatusTip(napoveda);
        f->addRow(QString(), c);
        bindWidget(QString::fromLatin1(nazev), c);
        boxy_.insert(QString::fromLatin1(nazev).toUpper(), c);
        return c;
    };
    auto seznamBox = [&](QFormLayout* f, const char* nazev, const QString& popisek,
                         const QString& napoveda, bool editovatelny) {
        auto* c = new QComboBox(page);
        c->setObjectName(QStringLiteral("Combo") + QString::fromLatin1(nazev));
        c->setEditable(editovatelny);
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

    QFormLayout* firma = skupina(QStringLiteral("Firma"), 0);
    EditBox* cislo =
        pole(firma, "Cis_firmy", QStringLiteral("Číslo firmy"),
             QStringLiteral("Jedinečné číslo firmy v rozsahu 1 - 9999999 (F6 - uložit)"));
    EditBox* zkratka =
        pole(firma, "Zkr_nazev", QStringLiteral("Zkrác.název"),
             QStringLiteral("Zkrácený název pro rychlé hledání - povinné (F6 - uložit)"));
    pole(firma, "Nazev", QStringLiteral("Název"), QStringLiteral("Název firmy, jak je zapsána"));
    pole(firma, "Jmeno", QStringLiteral("Název2"), QStringLiteral("Obchodní jméno firmy"));
    pole(firma, "Ulice", QStringLiteral("Ulice"), QStringLiteral("Ulice sídla firmy"));
    pole(firma, "Mesto", QStringLiteral("Město"), QStringLiteral("Město sídla firmy"));
    pole(firma, "PSC", QStringLiteral("PSČ"), QStringLiteral("Poštovní směrovací číslo"));
    EditBox* ico = pole(firma, "ICO", QStringLiteral("IČO"),
                        QStringLiteral("Identifikační číslo organizace (F6 - uložit)"));
    EditBox* dic = pole(firma, "DIC", QStringLiteral("DIČ"),
                        QStringLiteral("Daňové identifikační číslo (F6 - uložit)"));
    zaskrtnuti(firma, "Platce_DPH", QStringLiteral("Plátce DPH"),
               QStringLiteral("Zaškrtnuto - firma je plátcem DPH"));
    zaskrtnuti(firma, "Uc_jednotka", QStringLiteral("Účet.jednotka"),
               QStringLiteral("Zaškrtnuto - zboží jde do sídla firmy, jinak do provozovny se "
                              "stejným IČO"));
    QComboBox* druh =
        seznamBox(firma, "Druh", QStringLiteral("Druh"),
                  QStringLiteral("D - dodavatel, O - odběratel, P - potenciální zákazník"), false);
    druh->addItems({QString(), QStringLiteral("D"), QStringLiteral("O"), QStringLiteral("P")});
    QComboBox* oblast = seznamBox(firma, "Oblast", QStringLiteral("Oblast"),
                                  QStringLiteral("Oblast ze seznamu oblastí"), true);
    pole(firma, "Cinnost", QStringLiteral("Činnost"), QStringLiteral("Hlavní činnost firmy"));

    QFormLayout* spojeni = skupina(QStringLiteral("Spojení"), 1);
    pole(spojeni, "Tlf1", QStringLiteral("Telefon1"), QStringLiteral("Hlavní telefon"));
    pole(spojeni, "Kontakt1", QStringLiteral("Kontakt1"), QStringLiteral("Kontaktní osoba"));
    pole(spojeni, "Tlf2", QStringLiteral("Telefon2"), QStringLiteral("Další telefon"));
    pole(spojeni, "Kontakt2", QStringLiteral("Kontakt2"), QStringLiteral("Další kontaktní osoba"));
    pole(spojeni, "Tlf3", QStringLiteral("Telefon3"), QStringLiteral("Další telefon"));
    pole(spojeni, "Kontakt3", QStringLiteral("Kontakt3"), QStringLiteral("Další kontaktní osoba"));
    pole(spojeni, "Fax", QStringLiteral("Fax"), QStringLiteral("Číslo faxu"));
    pole(spojeni, "Mail_Box", QStringLiteral("Mail box"),
         QStringLiteral("Adresa elektronické pošty"));
    pole(spojeni, "Bank_Ucet", QStringLiteral("Bank.účet"),
         QStringLiteral("Číslo bankovního účtu"));
    pole(spojeni, "Bank_Kod", QStringLiteral("Kód"), QStringLiteral("Kód banky"));

    QFormLayout* obchod = skupina(QStringLiteral("Obchod"), 2);
    QComboBox* skonto = seznamBox(obchod, "PC_Skonto", QStringLiteral("Skonto"),
                                  QStringLiteral("Platební podmínky (F3 - výběr)"), false);
    QComboBox* obor = seznamBox(
        obchod, "Cis_obor", QStringLiteral("Obor"),
        QStringLiteral("Obor činnosti 1 - 20, určuje sloupec rabatu - povinné (F3 - výběr)"),
        false);
    QComboBox* dealer = seznamBox(
        obchod, "Dealer", QStringLiteral("Dealer"),
        QStringLiteral("Příjmení odpovědného zaměstnance nebo dealera (F3 - výběr, F6 - uložit)"),
        true);
    EditBox* mena =
        pole(obchod, "Kod_Meny", QStringLiteral("Měna"),
             QStringLiteral("Měna firmy, prázdná pro tuzemské firmy (F3 - výběr, F6 - uložit)"));
    mena->setChooser(true);
    mena->chooserButton()->setEnabled(false);
    connect(mena->lineEdit(), &QLineEdit::textChanged, this, [mena](const QString& t) {
        mena->chooserButton()->setEnabled(!t.trimmed().isEmpty());
    });
    connect(mena, &EditBox::chooserRequested, this, [this] { VyberMenu(); });
    pole(obchod, "Zpus_platby", QStringLiteral("Způsob platby"),
         QStringLiteral("Způsob platby firmy"));
    pole(obchod, "Max_dluh", QStringLiteral("Max.Dluh"), QStringLiteral("Maximální výše dluhu"));
    LabelStavDluhu = new QLabel(page);
    LabelStavDluhu->setObjectName(QStringLiteral("LabelStav_Dluhu"));
    obchod->addRow(QStringLiteral("Stav dluhu"), LabelStavDluhu);
    binding().add(QStringLiteral("Stav_Dluhu"), LabelStavDluhu);
    zaskrtnuti(obchod, "Zast_dodavek", QStringLiteral("Zastav.dod."),
               QStringLiteral("Zaškrtnuto - dodávky jsou zastaveny, doklady firmy nelze uzavřít"));
    pole(obchod, "Ozn_nap", QStringLiteral("Účetní náp."),
         QStringLiteral("Účetní nápověda pro přenos do účetnictví"));
    pole(obchod, "Var_TiskDL", QStringLiteral("Var.DL"),
         QStringLiteral("Varianta tisku dodacích listů firmy"));
    pole(obchod, "Var_TiskFa", QStringLiteral("Var.Fa"),
         QStringLiteral("Varianta tisku faktur firmy"));

    auto* dole = new QHBoxLayout;
    auto* poznamka = new QPlainTextEdit(page);
    poznamka->setObjectName(QStringLiteral("MemoPoznamka"));
    poznamka->setStatusTip(QStringLiteral("Poznámka - libovolný text (F6 - uložit)"));
    poznamka->setTabChangesFocus(true);
    poznamka->setMaximumHeight(90);
    bindWidget(QStringLiteral("Poznamka"), poznamka);
    boxy_.insert(QStringLiteral("POZNAMKA"), poznamka);
    dole->addWidget(new QLabel(QStringLiteral("Poznámka"), page));
    dole->addWidget(poznamka, 1);
    auto* schranka = new QVBoxLayout;
    ButtonKopiruj = new QPushButton(QStringLiteral("&C"), page);
    ButtonKopiruj->setStatusTip(QStringLiteral("Vlož do schránky"));
    ButtonKopiruj->setToolTip(QStringLiteral("Vlož do schránky"));
    ButtonVloz = new QPushButton(QStringLiteral("&V"), page);
    ButtonVloz->setStatusTip(QStringLiteral("Vlož ze schránky"));
    ButtonVloz->setToolTip(QStringLiteral("Vlož ze schránky"));
    for (QPushButton* b : {ButtonKopiruj, ButtonVloz}) {
        b->setAutoDefault(false);
        b->setMaximumWidth(40);
        schranka->addWidget(b);
    }
    dole->addLayout(schranka);
    grid->addLayout(dole, 1, 0, 1, 3);
    connect(ButtonKopiruj, &QPushButton::clicked, this, [this] { SchrankaKopirujClick(); });
    connect(ButtonVloz, &QPushButton::clicked, this, [this] { SchrankaVlozClick(); });

    setFirstEntryWidget(cislo->lineEdit());
    for (QWidget* w :
         {static_cast<QWidget*>(cislo->lineEdit()), static_cast<QWidget*>(zkratka->lineEdit()),
          static_cast<QWidget*>(ico->lineEdit()), static_cast<QWidget*>(dic->lineEdit()),
          static_cast<QWidget*>(mena->lineEdit()), static_cast<QWidget*>(dealer),
          static_cast<QWidget*>(dealer->lineEdit()), static_cast<QWidget*>(poznamka)})
        w->setProperty("brixF6", true);

    watch_->onF3(skonto, [this] { VyberSkonto(); });
    watch_->onF3(obor, [this] { VyberObor(); });
    watch_->onF3(dealer, [this] { VyberDealer(); });
    watch_->onLeave(mena->lineEdit(), [this] { ExitMena(); });
    watch_->onLeave(oblast, [this] { ExitOblast(); });

    if (Navigator1) Navigator1->setVisibleActions({Navigator::Prior, Navigator::Next});
}

void TFormulFirma::naplnSeznamy() {
    Database& db = table().database();
    auto nacti = [&](QComboBox* combo, const QString& adresa, const QString& klic,
                     const QStringList& popis) {
        if (!combo || !db.findTable(adresa)) return;
        const QString text = combo->currentText();
        combo->clear();
        if (!combo->isEditable()) combo->addItem(QString(), QString());
        Table t(db, adresa);
        t.open();
        if (!popis.isEmpty() && popis.front() == QLatin1String("PRIJMENI"))
            t.setIndexFieldNames(QStringLiteral("PRIJMENI;JMENO"));
        for (t.first(); !t.eof() && t.hasRecord(); t.next()) {
            const QString k = OrizniVpravo(t.field(klic).asString());
            QStringList casti;
            for (const QString& p : popis)
                casti << OrizniVpravo(t.field(p).asString());
            const QString ukaz = popis.front() == klic
                                     ? casti.join(QLatin1Char(' '))
                                     : k + QStringLiteral(" - ") + casti.join(QLatin1Char(' '));
            combo->addItem(ukaz, k);
        }
        combo->setCurrentText(text);
    };
    nacti(seznam(QStringLiteral("PC_Skonto")), QStringLiteral("Ciselnik\\Skonto"),
          QStringLiteral("PC_skonto"), {QStringLiteral("Popis")});
    nacti(seznam(QStringLiteral("Cis_obor")), QStringLiteral("Ciselnik\\obor"),
          QStringLiteral("Cis_obor"), {QStringLiteral("Popis")});
    nacti(seznam(QStringLiteral("Dealer")), QStringLiteral("Ciselnik\\Zamest"),
          QStringLiteral("PRIJMENI"), {QStringLiteral("PRIJMENI"), QStringLiteral("JMENO")});
    if (QComboBox* o = seznam(QStringLiteral("Oblast"))) {
        o->clear();
        o->addItems(oblasti_);
    }
}

// ---- opening and closing --------------------------------------------------------------------

void TFormulFirma::otevri(Table* t) {
    if (t && !t->active()) {
        t->open();
        otevrene_ << t;
    }
}

void TFormulFirma::openRegister() {
    const QString koren = table().database().root();
    otevrene_.clear();
    try {
        for (Table* t : {dm_.TableZeme, dm_.TableSkonto, dm_.TableZamest, dm_.TableObor})
            otevri(t);
        if (!zapisy_.active()) zapisy_.open();
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
    }
    oblasti_ = nactiOblasti(koren);
    // A missing file starts the numbering at 1 without a word.
    nabizene_ = std::max(1, nactiDalsiCisloFirmy(koren).value_or(1));
    naplnSeznamy();
    RegisterForm::openRegister();
    if (!chooserMode() && table().active()) {
        table().last();
        DbGrid1->syncToTable();
        ukazPoradi(QStringLiteral("ZkrNazevF"));
    }
}

void TFormulFirma::closeRegister() {
    if (!isOpen()) return;
    if (zapisy_.state() == TableState::Edit || zapisy_.state() == TableState::Insert)
        zapisy_.cancel();
    if (!chooserMode() && table().active()) zrusFiltrOznacenych(table());
    RegisterForm::closeRegister();
    try {
        zapisy_.close();
        for (Table* t : otevrene_)
            if (t->active()) t->close();
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
    }
    otevrene_.clear();
    const QString koren = table().database().root();
    ulozOblasti(koren, oblasti_);
    ulozDalsiCisloFirmy(koren, int(nabizene_));
}

bool TFormulFirma::VyberFirmu(const QString& text) {
    Table& t = table();
    try {
        if (!t.active()) t.open();
        t.setIndexName(QStringLiteral("NazevF"));
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return false;
    }
    setChooserMode(true, text, QStringLiteral("Nazev"));
    ukazPoradi(QStringLiteral("Nazev")); // the chooser's order, by name
    const int r = showRegister();
    setChooserMode(false);
    return r == QDialog::Accepted;
}

void TFormulFirma::ukazPoradi(const QString& popis) {
    if (LabelIndex) LabelIndex->setText(popis);
}

// ---- commands -------------------------------------------------------------------------------

void TFormulFirma::NovyClick() {
    if (entryShown() || !table().active()) return;
    try {
        nabizene_ = DalsiCisloFirmy(table(), nabizene_);
    } catch (const StorageError& e) {
        reportStorageError(e);
        return;
    }
    RegisterForm::NovyClick();
    if (table().state() != TableState::Insert) return;
    table().field(QStringLiteral("Cis_firmy")).setInteger(nabizene_);
    loadEntry();
}

void TFormulFirma::SmazatClick() {
    if (entryShown() || !table().active() || !table().hasRecord()) return;
    if (refusedAsUsed()) return; // a partner named by documents or products stays
    if (!Platform::current().askYesNo(config().deleteQuestion)) return;
    try {
        SmazFirmu(table(), zapisy_);
    } catch (const StorageError& e) {
        reportStorageError(e);
    } catch (const Abort&) {
        // the table's handler has said why
    }
    DbGrid1->syncToTable();
}

void TFormulFirma::rozsahItem(int item) {
    switch (item) {
    case 0:
        RozsahNazevClick();
        break;
    case 1:
        RozsahMestoClick();
        break;
    case 2:
        OznaceneVetyClick();
        break;
    default:
        RegisterForm::rozsahItem(item);
    }
}

void TFormulFirma::NazevObsahujeClick() {
    QString text;
    if (!askValue(QStringLiteral("Dotaz - bez zadání nehledat"),
                  QStringLiteral("Zadejte část názvu"), text))
        return;
    text = text.trimmed();
    if (text.isEmpty() || !table().active()) return;
    bool nalezeno = false;
    try {
        nalezeno = NazevObsahuje(table(), text);
    } catch (const StorageError& e) {
        reportStorageError(e);
        return;
    }
    DbGrid1->syncToTable();
    if (!nalezeno)
        Platform::current().information(QStringLiteral("Nenalezen žádný záznam"),
                                        QStringLiteral("Info"));
}

void TFormulFirma::RozsahNazevClick() {
    if (!table().active()) return;
    zrusFiltrOznacenych(table());
    applyFilter(QString());
    StatusBar1->setPanelText(2, QString());
    try {
        table().cancelRange();
        QString odpoved;
        const bool ok =
            askValue(QStringLiteral("Rozsah"), QStringLiteral("Zadej název firmy"), odpoved);
        RozsahNazvuFirem(table(), ok ? odpoved : QString());
        ukazPoradi(QStringLiteral("Nazev"));
    } catch (const StorageError& e) {
        reportStorageError(e);
    }
    DbGrid1->gridModel()->reload();
    DbGrid1->syncToTable();
}

void TFormulFirma::RozsahMestoClick() {
    if (!table().active()) return;
    zrusFiltrOznacenych(table());
    StatusBar1->setPanelText(2, QString());
    try {
        table().cancelRange();
    } catch (const StorageError& e) {
        reportStorageError(e);
    }
    QString odpoved;
    if (!askValue(QStringLiteral("Rozsah"), QStringLiteral("Zadej město"), odpoved)) return;
    // The answer is a literal of the filter language: "*" after it compares the beginning.
    const FieldDef& mesto = table().fieldDef(table().fieldIndex(QStringLiteral("Mesto")));
    const QString vyraz = QStringLiteral("Mesto = ") + filterLiteral(mesto, odpoved, true);
    try {
        table().setFiltered(false);
        table().setFilter(vyraz);
        table().setFiltered(true);
    } catch (const StorageError&) {
        table().setFiltered(false);
        Platform::current().information(QStringLiteral("Chyba v zadání filtru"));
    }
    showFilterState();
    DbGrid1->gridModel()->reload();
    DbGrid1->syncToTable();
}

void TFormulFirma::OznaceneVetyClick() {
    if (!table().active()) return;
    filterMarkedRecords(QStringLiteral("Cis_firmy"));
    showFilterState();
    StatusBar1->setPanelText(2, QStringLiteral("Filtr : Označené věty"));
    DbGrid1->gridModel()->reload();
    DbGrid1->syncToTable();
}

// ---- look-ups of the entry page -------------------------------------------------------------

void TFormulFirma::VyberSkonto() {
    if (!vybery_.skonto || !dm_.TableSkonto || !vybery_.skonto()) return;
    const QString k = OrizniVpravo(dm_.TableSkonto->field(QStringLiteral("PC_Skonto")).asString());
    QComboBox* c = seznam(QStringLiteral("PC_Skonto"));
    c->setCurrentIndex(c->findData(k));
    c->setFocus();
}

void TFormulFirma::VyberObor() {
    if (!vybery_.obor || !dm_.TableObor || !vybery_.obor()) return;
    const QString k = OrizniVpravo(dm_.TableObor->field(QStringLiteral("Cis_Obor")).asString());
    QComboBox* c = seznam(QStringLiteral("Cis_obor"));
    c->setCurrentIndex(c->findData(k));
    c->setFocus();
}

void TFormulFirma::VyberDealer() {
    if (!vybery_.zamestnanec || !dm_.TableZamest || !vybery_.zamestnanec()) return;
    const QString p = OrizniVpravo(dm_.TableZamest->field(QStringLiteral("PRIJMENI")).asString());
    QComboBox* c = seznam(QStringLiteral("Dealer"));
    const int i = c->findData(p);
    if (i >= 0)
        c->setCurrentIndex(i);
    else
        c->setCurrentText(p);
    c->setFocus();
}

void TFormulFirma::VyberMenu() {
    EditBox* mena = box(QStringLiteral("Kod_Meny"));
    if (!vybery_.mena || !dm_.TableZeme) return;
    if (vybery_.mena(mena->text().trimmed()))
        mena->setText(OrizniVpravo(dm_.TableZeme->field(QStringLiteral("KOD_Meny")).asString()));
    mena->lineEdit()->setFocus();
}

void TFormulFirma::ExitMena() {
    const QString kod = box(QStringLiteral("Kod_Meny"))->text().trimmed();
    if (kod.isEmpty() || ExistujeMena(table().database(), kod)) return;
    VyberMenu();
}

void TFormulFirma::ExitOblast() {
    QComboBox* c = seznam(QStringLiteral("Oblast"));
    const QString o = c->currentText().trimmed();
    if (o.isEmpty() || oblasti_.contains(o)) return;
    if (!Platform::current().askYesNo(QStringLiteral("Položka ještě neexistuje, vytvořit ?")))
        return;
    oblasti_ << o;
    c->addItem(o);
    c->setCurrentText(o);
}

void TFormulFirma::SchrankaKopirujClick() {
    if (!table().hasRecord() && table().state() != TableState::Insert) return;
    if (!storeEntry()) return; // what is typed counts, as the record shows it
    const SchrankaFirmy f = SchrankaFirmy::zFirmy(table());
    Platform::current().setClipboard(
        TextSchrankyFirmy(f), QString::fromLatin1(kFormatSchrankyFirmy), ZaznamSchrankyFirmy(f));
}

void TFormulFirma::SchrankaVlozClick() {
    if (table().state() != TableState::Edit && table().state() != TableState::Insert) return;
    Platform& p = Platform::current();
    const QString format = QString::fromLatin1(kFormatSchrankyFirmy);
    if (!p.clipboardHasFormat(format)) return;
    const std::optional<SchrankaFirmy> f = CtiSchrankuFirmy(p.clipboardData(format));
    if (!f) return;
    if (!storeEntry()) return; // the other boxes keep what was typed
    f->doFirmy(table());
    // Only the nine boxes take the pasted values; the rest show what they showed.
    for (const char* pole :
         {"Nazev", "Jmeno", "Ulice", "Mesto", "Tlf1", "Fax", "PSC", "ICO", "DIC"})
        box(QString::fromLatin1(pole))
            ->setText(table().field(QString::fromLatin1(pole)).asString());
}

// ---- the notes page -------------------------------------------------------------------------

void TFormulFirma::vytvorZapisy() {
    TabSheetZapisy = new QWidget;
    TabSheetZapisy->setObjectName(QStringLiteral("TabSheetZapisy"));
    auto* l = new QVBoxLayout(TabSheetZapisy);
    LabelFirma = new QLabel(TabSheetZapisy);
    LabelFirma->setObjectName(QStringLiteral("LabelFirma"));
    l->addWidget(LabelFirma);
    GridZapisy = new DataGrid(TabSheetZapisy);
    GridZapisy->setObjectName(QStringLiteral("GridZapisy"));
    GridZapisy->setTable(&zapisy_);
    GridZapisy->setColumns(
        {{"Datum", "Datum", 0}, {"Ucastnici", "Účastníci", 0}, {"Popis", "Popis", 0}});
    l->addWidget(GridZapisy, 1);
    auto* f = new QFormLayout;
    auto pole = [&](const char* nazev, const QString& napoveda) {
        EditBox* b = FieldBinding::makeEditBox(
            zapisy_.fieldDef(zapisy_.fieldIndex(QString::fromLatin1(nazev))), TabSheetZapisy);
        b->setHint(napoveda);
        b->lineEdit()->installEventFilter(this);
        zapisyBinding_.add(QString::fromLatin1(nazev), b);
        return b;
    };
    EditDatum = pole("Datum", QStringLiteral("Datum schůzky"));
    EditUcastnici = pole("Ucastnici", QStringLiteral("Účastníci schůzky"));
    EditPopis = pole("Popis", QStringLiteral("Předmět schůzky"));
    auto* memo = new QPlainTextEdit(TabSheetZapisy);
    memo->setObjectName(QStringLiteral("MemoZapis"));
    memo->setTabChangesFocus(true);
    memo->setMaximumHeight(100);
    memo->installEventFilter(this);
    zapisyBinding_.add(QStringLiteral("Poznamka"), memo);
    MemoZapis = memo;
    f->addRow(QStringLiteral("Datum"), EditDatum);
    f->addRow(QStringLiteral("Účastníci"), EditUcastnici);
    f->addRow(QStringLiteral("Popis"), EditPopis);
    f->addRow(QStringLiteral("Poznámka"), memo);
    l->addLayout(f);
    auto* tlacitka = new QHBoxLayout;
    NavigatorZapisy = new Navigator(TabSheetZapisy);
    NavigatorZapisy->setObjectName(QStringLiteral("NavigatorZapisy"));
    zapisyTarget_ = makeTableNavigatorTarget(zapisy_);
    NavigatorZapisy->setTarget(zapisyTarget_.get());
    NavigatorZapisy->setConfirmRemove(false);
    NavigatorZapisy->setBeforeAction([this](Navigator::Action a) {
        if (a == Navigator::Remove)
            return Platform::current().askYesNo(QStringLiteral("Chceš opravdu smazat položku"));
        if (a == Navigator::Post) return ulozZapis();
        return true;
    });
    connect(NavigatorZapisy, &Navigator::actionDone, this, [this](Navigator::Action a) {
        if (a == Navigator::Insert)
            zapisy_.field(QStringLiteral("Datum")).setDate(QDate::currentDate());
        stavZapisu();
        if (a == Navigator::Insert || a == Navigator::Edit) EditDatum->lineEdit()->setFocus();
    });
    tlacitka->addWidget(NavigatorZapisy);
    tlacitka->addStretch(1);
    ButtonKonec = new QPushButton(QStringLiteral("&Konec"), TabSheetZapisy);
    ButtonKonec->setAutoDefault(false);
    tlacitka->addWidget(ButtonKonec);
    l->addLayout(tlacitka);
    connect(ButtonKonec, &QPushButton::clicked, this, [this] { KonecZapisuClick(); });
    connect(GridZapisy->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { stavZapisu(); });
    PageControl1->addWidget(TabSheetZapisy);
    NavigatorZapisy->setEnabled(false);
}

bool TFormulFirma::zapisyShown() const {
    return PageControl1->currentWidget() == TabSheetZapisy;
}

void TFormulFirma::stavZapisu() {
    const bool edituje =
        zapisy_.state() == TableState::Edit || zapisy_.state() == TableState::Insert;
    zapisyBinding_.load();
    for (EditBox* b : {EditDatum, EditUcastnici, EditPopis})
        b->setReadOnly(!edituje);
    qobject_cast<QPlainTextEdit*>(MemoZapis)->setReadOnly(!edituje);
    GridZapisy->setEnabled(!edituje);
    if (!edituje) GridZapisy->syncToTable();
}

bool TFormulFirma::ulozZapis() {
    if (zapisy_.state() != TableState::Edit && zapisy_.state() != TableState::Insert) return true;
    try {
        return zapisyBinding_.store();
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return false;
    }
}

void TFormulFirma::ZapisyClick() {
    if (entryShown() || !table().active() || !table().hasRecord()) return;
    try {
        if (!zapisy_.active()) zapisy_.open();
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return;
    }
    LabelFirma->setText(QStringLiteral("Firma : ") +
                        table().field(QStringLiteral("Nazev")).asString());
    GridZapisy->gridModel()->reload();
    PageControl1->setCurrentWidget(TabSheetZapisy);
    setBrowseMenusEnabled(false);
    NavigatorZapisy->setEnabled(true);
    stavZapisu();
    GridZapisy->setFocus();
}

void TFormulFirma::KonecZapisuClick() {
    if (zapisy_.state() == TableState::Edit || zapisy_.state() == TableState::Insert) {
        if (!ulozZapis()) return;
        try {
            zapisy_.post();
        } catch (const StorageError& e) {
            Platform::current().error(e.message());
            return;
        } catch (const Abort&) {
            return;
        }
    }
    NavigatorZapisy->setEnabled(false);
    showBrowsePage();
}

void TFormulFirma::zrusZapisAKonec() {
    zapisy_.cancel();
    NavigatorZapisy->setEnabled(false);
    showBrowsePage();
}

bool TFormulFirma::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        const bool plain = k->modifiers() == Qt::NoModifier;
        if (zapisyShown() && plain && k->key() == Qt::Key_Escape) {
            if (Platform::current().askYesNo(kOtazkaKonec)) zrusZapisAKonec();
            return true;
        }
        if (entryShown() && plain && k->key() == Qt::Key_F6 &&
            watched->property("brixF6").toBool()) {
            ButtonOkClick();
            return true;
        }
    }
    return RegisterForm::eventFilter(watched, event);
}

} // namespace brix
