// The two pages of the receipt entry form built: their boxes, grid, buttons and status bars,
// and the events that reach the form's handlers. What the handlers do is in
// formul_iprij_vstup.cpp.
#include "formul_iprij_vstup.h"

#include "datacis.h"
#include "datagrid.h"
#include "editbox.h"
#include "grid_model.h"
#include "platform.h"
#include "register.h"
#include "statusbar.h"
#include "table.h"
#include "util/text_utils.h"
#include "uzavreni.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace brix {

namespace {

// The quantity column of the item grid is bold.
class TucnySloupec : public QStyledItemDelegate {
public:
    TucnySloupec(int sloupec, QObject* parent) : QStyledItemDelegate(parent), sloupec_(sloupec) {}

protected:
    void initStyleOption(QStyleOptionViewItem* o, const QModelIndex& i) const override {
        QStyledItemDelegate::initStyleOption(o, i);
        if (i.column() == sloupec_) o->font.setBold(true);
    }

private:
    int sloupec_;
};

QPushButton* tlacitko(const QString& text, QWidget* parent, QLayout* layout) {
    auto* b = new QPushButton(text, parent);
    b->setAutoDefault(false);
    layout->addWidget(b);
    return b;
}

EditBox* box(const FieldDef& f, QWidget* parent, const QString& hint) {
    EditBox* b = FieldBinding::makeEditBox(f, parent);
    b->setHint(hint);
    return b;
}

} // namespace

void TFormulIPrijVstup::stavbaHlavicky() {
    Table& h = r_.hlavicka();
    TabSheetHlavicka = new QWidget(PageControl);
    PageControl->addWidget(TabSheetHlavicka);
    auto* v = new QVBoxLayout(TabSheetHlavicka);
    auto* f = new QFormLayout;
    v->addLayout(f);
    auto pole = [&](const char* nazev, const QString& popisek, const QString& hint) {
        const FieldDef& def = h.fieldDef(h.fieldIndex(QString::fromLatin1(nazev)));
        EditBox* b = box(def, TabSheetHlavicka, hint);
        // The dates of the header are days: their time of day is not entered.
        if (def.kind == FieldKind::Timestamp) b->setKind(EditBox::Kind::Date);
        hlavicka_.add(QString::fromLatin1(nazev), b);
        if (!popisek.isEmpty()) f->addRow(popisek, b);
        return b;
    };
    EditCisUctu = pole("CIS_UCTU", QStringLiteral("Číslo účtu"), QStringLiteral("Číslo účtu"));
    auto* druh = new QHBoxLayout;
    ComboDruh = new QComboBox(TabSheetHlavicka);
    ComboDruh->setEditable(true);
    ComboDruh->setStatusTip(QStringLiteral("Druh účtu, F3 seznam druhů"));
    LabelPopisDruhu = new QLabel(TabSheetHlavicka);
    druh->addWidget(ComboDruh);
    druh->addWidget(LabelPopisDruhu, 1);
    f->addRow(QStringLiteral("Druh"), druh);
    hlavicka_.add(QStringLiteral("DRUH"), ComboDruh);
    ComboVystavil = new QComboBox(TabSheetHlavicka);
    ComboVystavil->setEditable(true);
    ComboVystavil->setStatusTip(QStringLiteral("Vystavil, F3 seznam zaměstnanců"));
    f->addRow(QStringLiteral("Vystavil"), ComboVystavil);
    hlavicka_.add(QStringLiteral("Vystavil"), ComboVystavil);
    EditDatVystaveni =
        pole("Dat_Vystaveni", QStringLiteral("Vystavení"), QStringLiteral("Datum vystavení"));
    EditDatPlneni =
        pole("Dat_Plneni", QStringLiteral("Datum plnění"), QStringLiteral("Datum příjmu na sklad"));
    EditNaSklad = pole("Cis_Sklad", QStringLiteral("Na sklad"), QStringLiteral("Přijímací sklad"));
    EditNaSklad->setChooser(true);
    EditNazev = pole("Nazev", QStringLiteral("Název"), QStringLiteral("Název skladu"));
    EditUlice = pole("Ulice", QStringLiteral("Ulice"), QStringLiteral("Ulice skladu"));
    auto* mesto = new QHBoxLayout;
    EditPSC = pole("PSC", QString(), QStringLiteral("PSČ skladu"));
    EditMesto = pole("Mesto", QString(), QStringLiteral("Město skladu"));
    mesto->addWidget(EditPSC);
    mesto->addWidget(EditMesto, 1);
    f->addRow(QStringLiteral("PSČ / Město"), mesto);
    EditTelefon = pole("Telefon", QStringLiteral("Telefon"), QStringLiteral("Telefon skladu"));
    EditVarSymbol =
        pole("Var_Symbol", QStringLiteral("Var.symbol"), QStringLiteral("Variabilní symbol"));
    EditZakazka = pole("Zakazka", QStringLiteral("Zakázka"), QStringLiteral("Číslo zakázky"));
    EditOdkaz = pole("Odkaz", QStringLiteral("Odkaz"), QStringLiteral("Odkaz na jiný doklad"));
    EditOznObj =
        pole("Ozn_Obj", QStringLiteral("Ozn..objednávky"), QStringLiteral("Označení objednávky"));
    ComboDruhCeny = new QComboBox(TabSheetHlavicka);
    ComboDruhCeny->addItems(
        {QStringLiteral("IP"), QStringLiteral("MO"), QStringLiteral("NC"), QStringLiteral("VO")});
    f->addRow(QStringLiteral("Druh ceny"), ComboDruhCeny);
    hlavicka_.add(QStringLiteral("Druh_Ceny"), ComboDruhCeny);
    EditHlavicka = new QTextEdit(TabSheetHlavicka);
    f->addRow(QStringLiteral("Hlavička"), EditHlavicka);

    auto* tl = new QHBoxLayout;
    v->addLayout(tl);
    ButtonUzavreni = tlacitko(QStringLiteral("&Uzavření"), TabSheetHlavicka, tl);
    ButtonPolozky = tlacitko(QStringLiteral("&Položky"), TabSheetHlavicka, tl);
    ButtonOk = tlacitko(QStringLiteral("&Ok"), TabSheetHlavicka, tl);
    ButtonZrus = tlacitko(QStringLiteral("&Zruš"), TabSheetHlavicka, tl);
    StatusBar1 = new StatusBar(2, TabSheetHlavicka);
    StatusBar1->showHintsIn(0);
    v->addWidget(StatusBar1);

    connect(ButtonUzavreni, &QPushButton::clicked, this, [this] { ClickUzavriDoklad(); });
    connect(ButtonPolozky, &QPushButton::clicked, this, [this] { ButtonPolozkyClick(); });
    connect(ButtonOk, &QPushButton::clicked, this, [this] { ButtonOkClick(); });
    connect(ButtonZrus, &QPushButton::clicked, this, [this] { ButtonZrusClick(); });
    connect(ComboDruh, &QComboBox::activated, this, [this] { ExitDruh(); });
    connect(EditNaSklad, &EditBox::chooserRequested, this, [this] {
        if (vybery_.sklad && vybery_.sklad(EditNaSklad->text()) && r_.dm().TableSklady)
            EditNaSklad->setText(
                r_.dm().TableSklady->field(QStringLiteral("Cis_Sklad")).asString());
    });
    for (QWidget* w : {static_cast<QWidget*>(EditCisUctu->lineEdit()),
                       static_cast<QWidget*>(EditNaSklad->lineEdit()),
                       static_cast<QWidget*>(ComboDruh), static_cast<QWidget*>(ComboVystavil)})
        w->installEventFilter(this);
    for (QLineEdit* e : TabSheetHlavicka->findChildren<QLineEdit*>())
        e->installEventFilter(this);
}

void TFormulIPrijVstup::stavbaPolozek() {
    Table& p = r_.polozky();
    TabSheetPolozky = new QWidget(PageControl);
    PageControl->addWidget(TabSheetPolozky);
    auto* v = new QVBoxLayout(TabSheetPolozky);
    auto* g = new QGridLayout;
    v->addLayout(g);
    auto def = [&](const QString& nazev) { return p.fieldDef(p.fieldIndex(nazev)); };
    int radek = 0;
    auto pridej = [&](const QString& popisek, QWidget* w, int sloupec = 0) {
        g->addWidget(new QLabel(popisek, TabSheetPolozky), radek, sloupec * 2);
        g->addWidget(w, radek, sloupec * 2 + 1);
    };
    EditPorCis = box(def(QStringLiteral("PorCis")), TabSheetPolozky,
                     QStringLiteral("Pořadové číslo položky, Enter otevře položku"));
    pridej(QStringLiteral("Poř.číslo"), EditPorCis);
    ++radek;
    const QString klic = poleKlice();
    const bool podleCisla = klic.compare(QLatin1String("CIS_VYR"), Qt::CaseInsensitive) == 0;
    EditVyrobek = box(def(podleCisla ? QStringLiteral("Cis_Vyr") : klic), TabSheetPolozky,
                      QStringLiteral("Výrobek, F3 hledání"));
    EditVyrobek->setKind(EditBox::Kind::Text);
    ButtonHledejVyr = new QPushButton(QStringLiteral("...."), TabSheetPolozky);
    ButtonHledejVyr->setAutoDefault(false);
    auto* vyr = new QHBoxLayout;
    vyr->addWidget(EditVyrobek, 1);
    vyr->addWidget(ButtonHledejVyr);
    LabelVyrobek = new QLabel(podleCisla ? QStringLiteral("Čís.výr.") : klic, TabSheetPolozky);
    g->addWidget(LabelVyrobek, radek, 0);
    g->addLayout(vyr, radek, 1);
    EditNazevPol =
        box(def(QStringLiteral("Nazev")), TabSheetPolozky, QStringLiteral("Název výrobku"));
    pridej(QStringLiteral("Název"), EditNazevPol, 1);
    ++radek;
    EditKodOzn1 =
        box(def(QStringLiteral("Kod_Ozn1")), TabSheetPolozky, QStringLiteral("Kódové označení 1"));
    pridej(QStringLiteral("Kod_Ozn1"), EditKodOzn1);
    EditKodOzn2 =
        box(def(QStringLiteral("Kod_Ozn2")), TabSheetPolozky, QStringLiteral("Kódové označení 2"));
    pridej(QStringLiteral("Kod_Ozn2"), EditKodOzn2, 1);
    ++radek;
    ComboSkladPol = new QComboBox(TabSheetPolozky);
    ComboSkladPol->setEditable(true);
    ComboSkladPol->setStatusTip(QStringLiteral("Sklad položky"));
    pridej(QStringLiteral("Sklad"), ComboSkladPol);
    EditMJ = box(def(QStringLiteral("DruhMn")), TabSheetPolozky, QStringLiteral("Měrná jednotka"));
    pridej(QStringLiteral("MJ"), EditMJ, 1);
    ++radek;
    EditMnozstvi = box(def(QStringLiteral("Mnozstvi")), TabSheetPolozky,
                       QStringLiteral("Množství, Enter ukončí položku"));
    pridej(QStringLiteral("Množství"), EditMnozstvi);
    LabelDisponMn = new QLabel(TabSheetPolozky);
    pridej(QStringLiteral("Disponibilní množství"), LabelDisponMn, 1);
    ++radek;
    EditCenaZobr =
        box(def(QStringLiteral("Cena_Zobr")), TabSheetPolozky, QStringLiteral("Zobrazovaná cena"));
    pridej(QStringLiteral("Zobr.cena"), EditCenaZobr);
    EditRabat =
        box(def(QStringLiteral("Rabat")), TabSheetPolozky, QStringLiteral("Rabat v procentech"));
    pridej(QStringLiteral("Rabat"), EditRabat, 1);
    ++radek;
    EditCenaSkl = box(def(QStringLiteral("Cena_Skl")), TabSheetPolozky,
                      QStringLiteral("Za jakou skladovou cenu bude výrobek oficiálně přijímán"));
    pridej(QStringLiteral("Sklad.cena"), EditCenaSkl);
    ++radek;
    LabelSklCenaC = new QLabel(TabSheetPolozky);
    pridej(QStringLiteral("Skl.cena C"), LabelSklCenaC);
    LabelZobrCenaC = new QLabel(TabSheetPolozky);
    pridej(QStringLiteral("Zobr.cena C"), LabelZobrCenaC, 1);
    // The price and rebate boxes are skipped by Tab.
    for (EditBox* b : {EditCenaZobr, EditRabat, EditCenaSkl})
        b->lineEdit()->setFocusPolicy(Qt::ClickFocus);

    polozka_.add(QStringLiteral("Nazev"), EditNazevPol);
    polozka_.add(QStringLiteral("Kod_Ozn1"), EditKodOzn1);
    polozka_.add(QStringLiteral("Kod_Ozn2"), EditKodOzn2);
    polozka_.add(QStringLiteral("Cis_Sklad"), ComboSkladPol);
    polozka_.add(QStringLiteral("DruhMn"), EditMJ);

    GridPolozky = new DataGrid(TabSheetPolozky);
    GridPolozky->setTable(&p);
    QList<GridColumn> sloupce = {{QStringLiteral("PorCis"), QString(), 0},
                                 {QStringLiteral("ObjCis"), QString(), 0},
                                 {QStringLiteral("Cis_Vyr"), QString(), 0},
                                 {QStringLiteral("Kod_Ozn1"), QString(), 0},
                                 {QStringLiteral("Nazev"), QString(), 0},
                                 {QStringLiteral("DruhMn"), QStringLiteral("MJ"), 0},
                                 {QStringLiteral("Mnozstvi"), QString(), 0},
                                 {QStringLiteral("Cena_Zobr"), QString(), 0},
                                 {QStringLiteral("Cena_ZobrC"), QString(), 0},
                                 {QStringLiteral("CIS_UCTU"), QString(), 0},
                                 {QStringLiteral("Stav"), QString(), 0},
                                 {QStringLiteral("Cena_Skl"), QString(), 0},
                                 {QStringLiteral("Cena_SklC"), QString(), 0}};
    if (!podleCisla) {
        // Products known by their order code: the number and first code are hidden.
        sloupce[1].width = 94 / 7;
        sloupce[2].width = -1;
        sloupce[3].width = -1;
    }
    GridPolozky->setColumns(sloupce);
    GridPolozky->setItemDelegate(new TucnySloupec(6, GridPolozky));
    v->addWidget(GridPolozky, 1);

    auto* nav = new QHBoxLayout;
    v->addLayout(nav);
    ButtonNovaPol = tlacitko(QStringLiteral("&Nový"), TabSheetPolozky, nav);
    ButtonSmazatPol = tlacitko(QStringLiteral("&Smazat"), TabSheetPolozky, nav);
    ButtonOpravPol = tlacitko(QStringLiteral("Opravit"), TabSheetPolozky, nav);
    ButtonUlozPol = tlacitko(QStringLiteral("U&ložit"), TabSheetPolozky, nav);
    ButtonZrusPol = tlacitko(QStringLiteral("&Zruš"), TabSheetPolozky, nav);
    auto* tl = new QHBoxLayout;
    v->addLayout(tl);
    ButtonPrecisluj = tlacitko(QStringLiteral("&Přečíslování"), TabSheetPolozky, tl);
    ButtonHlavicka = tlacitko(QStringLiteral("&Hlavička"), TabSheetPolozky, tl);
    ButtonUzavreniPol = tlacitko(QStringLiteral("&Uzavření"), TabSheetPolozky, tl);
    ButtonOkPol = tlacitko(QStringLiteral("&Ok"), TabSheetPolozky, tl);
    StatusBar2 = new StatusBar(3, TabSheetPolozky);
    StatusBar2->showHintsIn(0);
    v->addWidget(StatusBar2);

    connect(ButtonNovaPol, &QPushButton::clicked, this, [this] { ClickNovaPol(); });
    connect(ButtonSmazatPol, &QPushButton::clicked, this, [this] { ClickSmazatPol(); });
    connect(ButtonOpravPol, &QPushButton::clicked, this, [this] { ClickOpravPol(); });
    connect(ButtonUlozPol, &QPushButton::clicked, this, [this] { ClickUlozPol(); });
    connect(ButtonZrusPol, &QPushButton::clicked, this, [this] { ClickZrusPol(); });
    connect(ButtonPrecisluj, &QPushButton::clicked, this, [this] { ButtonPrecislujClick(); });
    connect(ButtonHlavicka, &QPushButton::clicked, this, [this] { ButtonHlavickaClick(); });
    connect(ButtonUzavreniPol, &QPushButton::clicked, this, [this] { ClickUzavriDoklad(); });
    connect(ButtonOkPol, &QPushButton::clicked, this, [this] { ButtonOkClick(); });
    connect(ButtonHledejVyr, &QPushButton::clicked, this, [this] { VyberVyrobku(); });
    connect(GridPolozky, &DataGrid::recordActivated, this, [this] {
        // A closed receipt's items are only looked at.
        if (!r_.uzavren()) ClickOpravPol();
    });
    for (QLineEdit* e : TabSheetPolozky->findChildren<QLineEdit*>())
        e->installEventFilter(this);
}

} // namespace brix
