#include "nastaveni_form.h"

#include "platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace brix {

namespace {
// The lines of the own-company file that have a fixed shape.
constexpr int kRadekPSC = 4;
constexpr int kRadekICO = 5;
} // namespace

TFormulNastaveni::TFormulNastaveni(const QString& datovyKoren, QWidget* parent)
    : QDialog(parent), koren_(datovyKoren) {
    setObjectName(QStringLiteral("FormulNastaveni"));
    setWindowTitle(QStringLiteral("Nastavení proměnných"));
    auto* l = new QVBoxLayout(this);

    auto* klic = new QGroupBox(QStringLiteral("Hlavní hledání dle :"), this);
    auto* kl = new QHBoxLayout(klic);
    RadioCislaVyrobku = new QRadioButton(QStringLiteral("Čísla výrobku"), klic);
    RadioObjCisla = new QRadioButton(QStringLiteral("Objednacího čísla"), klic);
    kl->addWidget(RadioCislaVyrobku);
    kl->addWidget(RadioObjCisla);
    l->addWidget(klic);

    auto box = [this, l](const char* text) {
        auto* c = new QCheckBox(QString::fromUtf8(text), this);
        l->addWidget(c);
        return c;
    };
    CheckVarTisku = box("Varianta tisku účtů dle tohoto nastavení");
    CheckVarTisku->setToolTip(QStringLiteral("Zaškrtnuto-ignoruje nastavení tohoto formuláře"));
    CheckKontrolaSkladu = box("Kontrola skladu před pohybem");
    CheckZahrMeny = box("Použití zahraničních měn");
    CheckPoklZasuvka = box("Pokl.zásuvka");
    CheckVyrSQL = box("Hledání výrobků- rychlý formulář");
    CheckZnTisk = box("Znakový tisk");
    CheckPrecislovani = box("Automatické přečíslování");
    CheckTiskObr = box("Při uzavření účtu tisk na obrazovku");
    CheckKomplet = box("Komplet-přesný výpočet ceny");
    CheckKomplet->setToolTip(QStringLiteral("x-výpošet dle součtu komponent, - cena dle výrobku"));
    CheckPrenosUzivatele = box("Přenos uživatele do DL a FAV");

    auto* f = new QFormLayout;
    auto edit = [this, f](const char* text) {
        auto* e = new QLineEdit(this);
        f->addRow(QString::fromUtf8(text), e);
        return e;
    };
    EditZaokrCen = edit("Zaokrouhlení cen");
    EditZaokrSklKar = edit("Zaokrouhlení sklad.karet");
    EditDLVar = edit("Varianta tisku DL");
    EditFaVVar = edit("Varianta tisku FaV");
    auto kopie = [this, f](const char* text) {
        auto* e = new EditBox(EditBox::Kind::Integer, this);
        e->setRange(1, 999);
        f->addRow(QString::fromUtf8(text), e);
        return e;
    };
    EditFaVPocet = kopie("Počet kopií FaV");
    EditDLPocet = kopie("Počet kopií DL");
    EditPoklOVar = edit("Varianta tisku pokl.dokl.");
    EditSazbyDPH = edit("Sazby DPH");
    EditSazbyDPH->setToolTip(QStringLiteral("Platné sazby DPH v procentech, první je výchozí "
                                            "sazba nového výrobku (např. 21, 12, 0)"));
    ComboTiskarna = new QComboBox(this);
    ComboTiskarna->addItems(Platform::current().printerNames());
    f->addRow(QStringLiteral("Přednastavená tiskárna"), ComboTiskarna);
    l->addLayout(f);

    auto* tlacitka = new QDialogButtonBox(this);
    QPushButton* ok = tlacitka->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    tlacitka->addButton(QStringLiteral("&Zruš"), QDialogButtonBox::RejectRole);
    connect(ok, &QPushButton::clicked, this, &TFormulNastaveni::ButtonOkClick);
    connect(tlacitka, &QDialogButtonBox::rejected, this, &QDialog::reject);
    l->addWidget(tlacitka);

    PoleNastaveni p = poleNastaveni(nastaveniProgramu());
    stav_ = nactiNastaveni(koren_, nastaveniProgramu(), &p);
    zobrazPole(p);
}

void TFormulNastaveni::zobrazPole(const PoleNastaveni& p) {
    RadioCislaVyrobku->setChecked(p.cislaVyrobku);
    RadioObjCisla->setChecked(!p.cislaVyrobku);
    CheckVarTisku->setChecked(p.VARTISKUCTUNASTAV);
    CheckKontrolaSkladu->setChecked(p.OkKontrolaSkladu);
    CheckZahrMeny->setChecked(p.ZahrMeny);
    CheckPoklZasuvka->setChecked(p.PoklZasuvka);
    CheckVyrSQL->setChecked(p.OkVyrSQL);
    CheckZnTisk->setChecked(p.ZnTisk);
    CheckPrecislovani->setChecked(p.AutPrecislPol);
    CheckTiskObr->setChecked(p.UzFaTiskObr);
    CheckKomplet->setChecked(p.MBCenaPol);
    CheckPrenosUzivatele->setChecked(p.PRENOSUZIVATEL);
    EditZaokrCen->setText(p.ZaokrCen);
    EditZaokrSklKar->setText(p.Zaokr_SklKar);
    EditDLVar->setText(p.DLVar);
    EditFaVVar->setText(p.FaVVar);
    EditFaVPocet->setText(p.FAV_POCET_TISKU);
    EditDLPocet->setText(p.DL_POCET_TISKU);
    EditPoklOVar->setText(p.PoklOVar);
    EditSazbyDPH->setText(p.SazbyDPH);
    tiskarna_ = p.Tiskarna;
    ComboTiskarna->setCurrentIndex(
        p.Tiskarna >= 0 && p.Tiskarna < ComboTiskarna->count() ? p.Tiskarna : -1);
}

PoleNastaveni TFormulNastaveni::pole() const {
    PoleNastaveni p;
    p.cislaVyrobku = RadioCislaVyrobku->isChecked();
    p.VARTISKUCTUNASTAV = CheckVarTisku->isChecked();
    p.OkKontrolaSkladu = CheckKontrolaSkladu->isChecked();
    p.ZahrMeny = CheckZahrMeny->isChecked();
    p.PoklZasuvka = CheckPoklZasuvka->isChecked();
    p.OkVyrSQL = CheckVyrSQL->isChecked();
    p.ZnTisk = CheckZnTisk->isChecked();
    p.AutPrecislPol = CheckPrecislovani->isChecked();
    p.UzFaTiskObr = CheckTiskObr->isChecked();
    p.MBCenaPol = CheckKomplet->isChecked();
    p.PRENOSUZIVATEL = CheckPrenosUzivatele->isChecked();
    p.ZaokrCen = EditZaokrCen->text();
    p.Zaokr_SklKar = EditZaokrSklKar->text();
    p.DLVar = EditDLVar->text();
    p.FaVVar = EditFaVVar->text();
    p.FAV_POCET_TISKU = EditFaVPocet->text();
    p.DL_POCET_TISKU = EditDLPocet->text();
    p.PoklOVar = EditPoklOVar->text();
    p.SazbyDPH = EditSazbyDPH->text();
    p.Tiskarna = ComboTiskarna->currentIndex() >= 0 ? ComboTiskarna->currentIndex() : tiskarna_;
    return p;
}

void TFormulNastaveni::ButtonOkClick() {
    for (EditBox* e : {EditFaVPocet, EditDLPocet}) {
        if (e->isBlank()) {
            Platform::current().error(QStringLiteral("Zadejte počet kopií (nejméně 1)."));
            e->lineEdit()->setFocus();
            return;
        }
        if (!e->check()) return;
    }
    if (ulozNastaveni(koren_, pole(), nastaveniProgramu())) accept();
}

TFormulUdajeFirmy::TFormulUdajeFirmy(const QString& datovyKoren, QWidget* parent)
    : QDialog(parent), koren_(datovyKoren) {
    setObjectName(QStringLiteral("FormulUdajeFirmy"));
    setWindowTitle(QStringLiteral("Nastavení firmy"));
    auto* l = new QVBoxLayout(this);
    auto* f = new QFormLayout;
    const QStringList popisky = UdajeFirmy::popisky();
    for (int i = 0; i < UdajeFirmy::kPocetRadku; ++i) {
        auto* e = new EditBox(EditBox::Kind::Text, this);
        if (i == kRadekPSC) e->setFormat(EditBox::Format::Psc);
        if (i == kRadekICO) e->setFormat(EditBox::Format::Ico);
        // Names and addresses are printed on every document: room for them whole.
        if (i != kRadekPSC && i != kRadekICO)
            e->lineEdit()->setMinimumWidth(e->lineEdit()->fontMetrics().averageCharWidth() * 40);
        e->lineEdit()->installEventFilter(this);
        if (i == UdajeFirmy::kPocetRadku - 1)
            e->setToolTip(QStringLiteral("živnostenský list/obch.rejstřík"));
        f->addRow(popisky.value(i), e);
        Pole.push_back(e);
    }
    l->addLayout(f);
    auto* tlacitka = new QDialogButtonBox(this);
    QPushButton* ok = tlacitka->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    tlacitka->addButton(QStringLiteral("&Zruš"), QDialogButtonBox::RejectRole);
    connect(ok, &QPushButton::clicked, this, &TFormulUdajeFirmy::ButtonOkClick);
    connect(tlacitka, &QDialogButtonBox::rejected, this, &QDialog::reject);
    l->addWidget(tlacitka);
    nacti();
}

void TFormulUdajeFirmy::nacti() {
    UdajeFirmy u;
    if (nactiUdajeFirmy(koren_, u) == StavNacteni::Chybi)
        Platform::current().error(
            QStringLiteral("Soubor %1 nelze otevřít.").arg(QString::fromUtf16(kSouborUdajuFirmy)));
    udajeFirmy() = u;
    const QStringList r = u.radky();
    for (int i = 0; i < Pole.size(); ++i)
        Pole[i]->setText(r.value(i));
}

UdajeFirmy TFormulUdajeFirmy::udaje() const {
    QStringList r;
    for (EditBox* e : Pole)
        r << e->text();
    return UdajeFirmy::zRadku(r);
}

void TFormulUdajeFirmy::ButtonOkClick() {
    for (EditBox* e : Pole)
        if (!e->check()) return;
    const UdajeFirmy u = udaje();
    if (!ulozUdajeFirmy(koren_, u)) return;
    udajeFirmy() = u;
    accept();
}

bool TFormulUdajeFirmy::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

} // namespace brix
