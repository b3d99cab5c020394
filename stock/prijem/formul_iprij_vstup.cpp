// The handlers of the receipt entry form: what each box, key and button does with the entry
// controller and the closing holder. The pages themselves are built in formul_iprij_stranky.cpp.
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

using doklad::RizeniDokladu;

bool upravovana(const Table& t) {
    return t.state() == TableState::Edit || t.state() == TableState::Insert;
}

QString textCastky(Decimal d) {
    return d.toString(2);
}

} // namespace

TFormulIPrijVstup::TFormulIPrijVstup(doklad::RizeniDokladu& rizeni,
                                     sklad::TFormulIPrijUzavri& uzavreni, QWidget* parent)
    : QDialog(parent), r_(rizeni), uzavreni_(uzavreni), hlavicka_(rizeni.hlavicka()),
      polozka_(rizeni.polozky()), cilHlavicky_(makeTableNavigatorTarget(rizeni.hlavicka())),
      cilPolozek_(makeTableNavigatorTarget(rizeni.polozky())) {
    setObjectName(QStringLiteral("TFormulIPrijVstup"));
    setWindowTitle(QStringLiteral("Intení příjem zboží"));
    auto* l = new QVBoxLayout(this);
    PageControl = new QStackedWidget(this);
    l->addWidget(PageControl);
    stavbaHlavicky();
    stavbaPolozek();
}

TFormulIPrijVstup::~TFormulIPrijVstup() = default;

QString TFormulIPrijVstup::poleKlice() const {
    const QString k = r_.nastaveni().HlKlicVyr.trimmed();
    return k.isEmpty() ? QStringLiteral("CIS_VYR") : k;
}

// ---- boxes and records -------------------------------------------------------------------------

void TFormulIPrijVstup::nactiHlavicku() {
    hlavicka_.load();
    Table& h = r_.hlavicka();
    EditHlavicka->setPlainText(QString::fromUtf8(h.field(QStringLiteral("Hlavicka")).asBytes()));
    EditCisUctu->setReadOnly(!r_.cisloEditovatelne());
    ComboDruh->setEnabled(r_.cisloEditovatelne());
    zvyrazniPopisDruhu();
    ukazSoucty();
    StatusBar1->showState(1, cilHlavicky_->state());
}

bool TFormulIPrijVstup::ulozHlavickuZBoxu() {
    Table& h = r_.hlavicka();
    if (!upravovana(h)) {
        // Back from the items page the header was saved with them: a change edits it again.
        if (r_.uzavren() || !hlavicka_.modified()) return true;
        h.edit();
    }
    try {
        if (!hlavicka_.store()) return false;
        const QByteArray text = EditHlavicka->toPlainText().toUtf8();
        if (text != h.field(QStringLiteral("Hlavicka")).asBytes())
            h.field(QStringLiteral("Hlavicka"))
                .setValue(text.isEmpty() ? QVariant() : QVariant(text));
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return false;
    }
    return true;
}

void TFormulIPrijVstup::nactiPolozku() {
    Table& p = r_.polozky();
    polozka_.load();
    const bool ma = p.hasRecord() || p.state() == TableState::Insert;
    auto castka = [&](const char* pole) {
        return ma ? textCastky(sklad::castkaPole(p, QString::fromLatin1(pole))) : QString();
    };
    EditPorCis->setText(ma ? QString::number(sklad::cisloPole(p, QStringLiteral("PorCis")))
                           : QString());
    const QString klic = sklad::textPole(p, poleKlice());
    EditVyrobek->setText(ma && klic != QLatin1String("0") ? klic : QString());
    EditMnozstvi->setText(castka("Mnozstvi"));
    EditCenaZobr->setText(castka("Cena_Zobr"));
    EditRabat->setText(castka("Rabat"));
    EditCenaSkl->setText(castka("Cena_Skl"));
    ukazSoucty();
    ukazRezim();
}

bool TFormulIPrijVstup::ulozPolozkuZBoxu() {
    if (!upravovana(r_.polozky())) return true;
    try {
        return polozka_.store();
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return false;
    }
}

doklad::PoleVstupu TFormulIPrijVstup::pole() const {
    return {EditMnozstvi->text(), EditCenaZobr->text(), EditRabat->text(), EditCenaSkl->text()};
}

void TFormulIPrijVstup::ukazSoucty() {
    Table& h = r_.hlavicka();
    LabelSklCenaC->setText(textCastky(sklad::castkaPole(h, QStringLiteral("Cena_SklCelk"))));
    LabelZobrCenaC->setText(textCastky(sklad::castkaPole(h, QStringLiteral("Cena_ZobrCelk"))));
}

void TFormulIPrijVstup::ukazDisponibilni() {
    LabelDisponMn->setText(textCastky(r_.SpoctiDisponMn()));
}

// The item boxes open as the item's mode allows.
void TFormulIPrijVstup::ukazRezim() {
    Table& p = r_.polozky();
    const RizeniDokladu::Rezim rezim =
        upravovana(p) ? r_.rezim() : RizeniDokladu::Rezim::Prohlizeni;
    const bool nova = rezim == RizeniDokladu::Rezim::Nova;
    const bool oprava = rezim == RizeniDokladu::Rezim::Oprava;
    const bool maVyrobek = sklad::cisloPole(p, QStringLiteral("Cis_Vyr")) != 0;
    const bool podleCisla = poleKlice().compare(QLatin1String("CIS_VYR"), Qt::CaseInsensitive) == 0;
    const bool prohlizeni = !nova && !oprava;
    EditPorCis->setReadOnly(!prohlizeni);
    EditVyrobek->setReadOnly(!nova);
    ButtonHledejVyr->setEnabled(nova);
    EditNazevPol->setReadOnly(!(nova || (oprava && !podleCisla)));
    const bool otevrene = oprava || (nova && maVyrobek);
    for (EditBox* b :
         {EditMnozstvi, EditMJ, EditKodOzn1, EditKodOzn2, EditCenaZobr, EditRabat, EditCenaSkl})
        b->setReadOnly(!otevrene);
    ComboSkladPol->setEnabled(otevrene);
    for (QPushButton* b : {ButtonNovaPol, ButtonSmazatPol, ButtonOpravPol, ButtonPrecisluj,
                           ButtonHlavicka, ButtonUzavreniPol, ButtonOkPol})
        b->setEnabled(prohlizeni);
    ButtonSmazatPol->setEnabled(!r_.uzavren() && (prohlizeni || nova));
    ButtonNovaPol->setEnabled(prohlizeni && !r_.uzavren());
    ButtonOpravPol->setEnabled(prohlizeni && !r_.uzavren());
    ButtonUlozPol->setEnabled(!prohlizeni);
    ButtonZrusPol->setEnabled(!prohlizeni);
    GridPolozky->setEnabled(prohlizeni);
    StatusBar2->showState(1, cilPolozek_->state());
    StatusBar2->setPanelText(2, nova     ? QStringLiteral(" Pol:nový")
                                : oprava ? QStringLiteral(" Pol:opr.")
                                         : QStringLiteral(" Pol:zákaz"));
}

void TFormulIPrijVstup::nactiDruhy() {
    const QString aktualni = ComboDruh->currentText();
    ComboDruh->clear();
    Table druhy(r_.dm().database(), QStringLiteral("Ciselnik\\Druhy_uctu"));
    druhy.setIndexName(QString());
    druhy.open();
    druhy.setRange({r_.vlastnosti().typUctu}, {r_.vlastnosti().typUctu});
    for (druhy.first(); !druhy.eof() && druhy.hasRecord(); druhy.next())
        ComboDruh->addItem(druhy.field(QStringLiteral("Druh")).asString());
    ComboDruh->setCurrentText(aktualni);
}

void TFormulIPrijVstup::zvyrazniPopisDruhu() {
    Table druhy(r_.dm().database(), QStringLiteral("Ciselnik\\Druhy_uctu"));
    druhy.setIndexName(QString());
    druhy.open();
    const bool nalezen = druhy.findKey({r_.vlastnosti().typUctu, ComboDruh->currentText()});
    LabelPopisDruhu->setText(nalezen ? druhy.field(QStringLiteral("Popis")).asString() : QString());
}

void TFormulIPrijVstup::nactiZamestnance() {
    const QString aktualni = ComboVystavil->currentText();
    ComboVystavil->clear();
    Table z(r_.dm().database(), QStringLiteral("Ciselnik\\Zamest"));
    z.open();
    for (z.first(); !z.eof() && z.hasRecord(); z.next())
        ComboVystavil->addItem(z.field(QStringLiteral("Prijmeni")).asString());
    ComboVystavil->setCurrentText(aktualni);
}

void TFormulIPrijVstup::nactiSklady() {
    ComboSkladPol->clear();
    Table s(r_.dm().database(), QStringLiteral("Ciselnik\\Sklady"));
    s.open();
    for (s.first(); !s.eof() && s.hasRecord(); s.next())
        ComboSkladPol->addItem(s.field(QStringLiteral("Cis_Sklad")).asString());
}

// ---- opening -----------------------------------------------------------------------------------

void TFormulIPrijVstup::otevri(Stranka stranka) {
    rusi_ = zavira_ = uzavreno_ = false;
    nactiDruhy();
    nactiZamestnance();
    nactiSklady();
    nactiHlavicku();
    // On activation the rounding of the header's kind is loaded (a new header's on its number).
    if (!r_.cisloEditovatelne()) r_.NastavZaokrouhleni();
    nactiHlavicku();
    nactiPolozku();
    PageControl->setCurrentWidget(stranka == Stranka::Hlavicka ? TabSheetHlavicka
                                                               : TabSheetPolozky);
    if (stranka == Stranka::Hlavicka)
        (r_.cisloEditovatelne() ? EditCisUctu : EditDatVystaveni)->lineEdit()->setFocus();
    else
        EditPorCis->lineEdit()->setFocus();
}

TFormulIPrijVstup::Stranka TFormulIPrijVstup::stranka() const {
    return PageControl->currentWidget() == TabSheetHlavicka ? Stranka::Hlavicka : Stranka::Polozky;
}

// ---- header page -------------------------------------------------------------------------------

void TFormulIPrijVstup::ExitCisUctu() {
    if (rusi_ || r_.hlavicka().state() != TableState::Insert || !r_.cisloEditovatelne()) return;
    if (!ulozHlavickuZBoxu()) return;
    const bool ok = r_.NovaHlavicka();
    nactiHlavicku();
    if (!ok) EditCisUctu->lineEdit()->setFocus();
}

void TFormulIPrijVstup::ExitDruh() {
    if (rusi_ || !upravovana(r_.hlavicka())) return;
    if (!ulozHlavickuZBoxu()) return;
    const bool ok = r_.NastavZaokrouhleni();
    hlavicka_.load();
    zvyrazniPopisDruhu();
    if (!ok) {
        ComboDruh->setFocus();
        ComboDruh->showPopup();
    }
}

void TFormulIPrijVstup::PrenosSkladu() {
    if (rusi_ || r_.uzavren()) return;
    Table& h = r_.hlavicka();
    if (!upravovana(h)) h.edit();
    if (!ulozHlavickuZBoxu()) return;
    TDataCis& dm = r_.dm();
    Table sklady(dm.database(), QStringLiteral("Ciselnik\\Sklady"));
    sklady.open();
    LocateOptions o;
    o.caseInsensitive = true;
    const QString kod = EditNaSklad->text().trimmed();
    if (!sklady.locate(QStringLiteral("Cis_Sklad"), {kod}, o)) {
        if (vybery_.sklad && vybery_.sklad(kod) && dm.TableSklady)
            h.field(QStringLiteral("Cis_Sklad"))
                .setString(dm.TableSklady->field(QStringLiteral("Cis_Sklad")).asString());
        hlavicka_.load();
        EditNaSklad->lineEdit()->setFocus();
        return;
    }
    const QString druhCeny = sklad::textPole(h, QStringLiteral("Druh_Ceny"));
    const int obor = int(sklad::cisloPole(h, QStringLiteral("Cis_Obor")));
    const std::pair<const char*, const char*> pole[] = {
        {"Cis_Sklad", "Cis_Sklad"}, {"Nazev", "Nazev"}, {"Ulice", "ulice"}, {"PSC", "PSC"},
        {"Mesto", "Mesto"},         {"Telefon", "tlf"}};
    for (const auto& [cil, zdroj] : pole)
        if (sklady.fieldIndex(QString::fromLatin1(zdroj)) >= 0)
            h.field(QString::fromLatin1(cil))
                .setValue(sklady.fieldValue(sklady.fieldIndex(QString::fromLatin1(zdroj))));
    // A warehouse without a price type of its own leaves the header's.
    const QString druhSkladu = sklad::textPole(sklady, QStringLiteral("Druh_Ceny"));
    if (!druhSkladu.isEmpty()) h.field(QStringLiteral("Druh_Ceny")).setString(druhSkladu);
    hlavicka_.load();
    const bool maPolozky = r_.dalsiPorCis() > 1;
    const QString otazka =
        QStringLiteral("Přenášený sklad má jiný obor, než byl dosud zadán. Chcete přepočítat "
                       "ceny všech položek podle nového oboru ?");
    // Every item of the receipt, each through `krok` (false stops the walk).
    auto kazdaPolozka = [this, &h](const std::function<bool()>& krok) {
        Table& p = r_.polozky();
        std::vector<int> cisla;
        for (p.first(); !p.eof() && p.hasRecord(); p.next())
            cisla.push_back(int(sklad::cisloPole(p, QStringLiteral("PorCis"))));
        const qint64 cis = sklad::cisloPole(h, QStringLiteral("CIS_UCTU"));
        for (int c : cisla)
            if (p.findKey({cis, c}) && !krok()) break;
        nactiHlavicku();
        nactiPolozku();
    };
    if (sklad::textPole(h, QStringLiteral("Druh_Ceny")) != druhCeny && maPolozky &&
        Platform::current().askYesNo(otazka)) {
        // Every item looked up again by its product key and saved with its new prices.
        kazdaPolozka([this] {
            Table& p = r_.polozky();
            if (!r_.OpravPolozku()) return true;
            if (!r_.NactiVyrobek(sklad::textPole(p, poleKlice()), true)) {
                r_.ZrusPolozku();
                return true;
            }
            return r_.ClickUlozPol(
                {sklad::castkaPole(p, QStringLiteral("Mnozstvi")).toShortString(),
                 sklad::castkaPole(p, QStringLiteral("Cena_Zobr")).toShortString(),
                 sklad::castkaPole(p, QStringLiteral("Rabat")).toShortString(),
                 sklad::castkaPole(p, QStringLiteral("Cena_Skl")).toShortString()});
        });
    }
    const QString dc = sklad::textPole(h, QStringLiteral("Druh_Ceny")).toUpper();
    if (dc == QLatin1String("VO") || dc == QLatin1String("MO")) {
        if (!upravovana(h)) h.edit();
        h.field(QStringLiteral("Cis_Obor"))
            .setValue(sklady.fieldValue(sklady.fieldIndex(QStringLiteral("cis_Obor"))));
        hlavicka_.load();
        if (maPolozky && int(sklad::cisloPole(h, QStringLiteral("Cis_Obor"))) != obor &&
            Platform::current().askYesNo(otazka))
            // Every item's display price by the rebate of the new branch.
            kazdaPolozka([this] {
                r_.PrecenPodleOboru();
                return true;
            });
    }
}

bool TFormulIPrijVstup::ulozDoklad() {
    if (!ulozHlavickuZBoxu() || !ulozPolozkuZBoxu()) return false;
    const bool ok = r_.UlozDoklad();
    nactiHlavicku();
    nactiPolozku();
    return ok;
}

void TFormulIPrijVstup::ButtonPolozkyClick() {
    if (!ulozDoklad()) return;
    // The items page shows the header's items and keeps the header in edit for its totals.
    if (!r_.uzavren() && r_.hlavicka().state() == TableState::Browse) r_.hlavicka().edit();
    nactiPolozku();
    PageControl->setCurrentWidget(TabSheetPolozky);
    EditPorCis->setText(QString::number(r_.dalsiPorCis()));
    EditPorCis->lineEdit()->setFocus();
}

void TFormulIPrijVstup::ButtonOkClick() {
    if (!ulozDoklad()) return;
    accept();
}

void TFormulIPrijVstup::ButtonZrusClick() {
    reject();
}

void TFormulIPrijVstup::ClickUzavriDoklad() {
    if (!ulozHlavickuZBoxu() || !ulozPolozkuZBoxu()) return;
    if (r_.cisloEditovatelne() && !r_.NovaHlavicka()) {
        Platform::current().information(doklad::texty::NelzeUlozit);
        nactiHlavicku();
        return;
    }
    if (!r_.UlozDoklad()) return;
    const int cislo = int(sklad::cisloPole(r_.hlavicka(), QStringLiteral("CIS_UCTU")));
    uzavreni_.UzavriPrijemku(cislo);
    // What the closing wrote is shown by the shared cursors.
    r_.hlavicka().refresh();
    r_.polozky().refresh();
    uzavreno_ = true;
    accept();
}

// ---- items page --------------------------------------------------------------------------------

void TFormulIPrijVstup::EnterPorCis() {
    if (r_.uzavren()) return;
    if (!ulozPolozkuZBoxu()) return;
    const auto v = r_.KeyPressPorCis(int(EditPorCis->text().trimmed().toInt()));
    nactiPolozku();
    if (v == RizeniDokladu::PorCisVysledek::Oprava) {
        ukazDisponibilni();
        EditMnozstvi->lineEdit()->setFocus();
    } else if (v == RizeniDokladu::PorCisVysledek::Nova) {
        EditVyrobek->lineEdit()->setFocus();
    } else {
        EditPorCis->lineEdit()->setFocus();
    }
}

void TFormulIPrijVstup::ExitVyrobek() {
    if (rusi_ || r_.rezim() != RizeniDokladu::Rezim::Nova || !upravovana(r_.polozky())) return;
    if (EditVyrobek->text().trimmed().isEmpty()) return;
    // Leaving the box again with the product already in the item keeps the item as it is.
    if (sklad::cisloPole(r_.polozky(), QStringLiteral("Cis_Vyr")) != 0 &&
        sklad::textPole(r_.polozky(), poleKlice()) == EditVyrobek->text().trimmed())
        return;
    if (!r_.NactiVyrobek(EditVyrobek->text().trimmed(), true)) {
        EditVyrobek->lineEdit()->setFocus();
        return;
    }
    nactiPolozku();
    ukazDisponibilni();
    EditMnozstvi->lineEdit()->setFocus();
}

void TFormulIPrijVstup::ExitNazev() {
    if (rusi_ || r_.rezim() != RizeniDokladu::Rezim::Nova || !upravovana(r_.polozky())) return;
    if (poleKlice().compare(QLatin1String("CIS_VYR"), Qt::CaseInsensitive) != 0) return;
    if (sklad::cisloPole(r_.polozky(), QStringLiteral("Cis_Vyr")) != 0) return;
    if (EditNazevPol->text().trimmed().isEmpty()) return;
    if (!r_.NactiVyrobek(EditNazevPol->text().trimmed(), false)) {
        EditNazevPol->lineEdit()->setFocus();
        return;
    }
    nactiPolozku();
    ukazDisponibilni();
    EditMnozstvi->lineEdit()->setFocus();
}

void TFormulIPrijVstup::VyberVyrobku() {
    if (r_.rezim() != RizeniDokladu::Rezim::Nova || !upravovana(r_.polozky())) return;
    // The chooser opens with the typed text when no product has it.
    if (!r_.NactiVyrobek(EditVyrobek->text().trimmed(), true)) return;
    nactiPolozku();
    ukazDisponibilni();
    EditMnozstvi->lineEdit()->setFocus();
}

void TFormulIPrijVstup::EnterMnozstvi() {
    if (!upravovana(r_.polozky())) return;
    if (!ulozPolozkuZBoxu()) return;
    r_.opustenoMnozstvi(pole());
    if (!r_.ClickUlozPol(pole())) {
        nactiPolozku();
        return;
    }
    r_.VlozPolozku(r_.dalsiPorCis());
    nactiPolozku();
    EditVyrobek->lineEdit()->setFocus();
}

void TFormulIPrijVstup::ExitMnozstvi() {
    if (rusi_ || !upravovana(r_.polozky())) return;
    r_.opustenoMnozstvi(pole());
    ukazDisponibilni();
    nactiPolozku();
}

void TFormulIPrijVstup::ExitCenaZobr() {
    if (rusi_ || !upravovana(r_.polozky())) return;
    r_.opustenaCenaZobr(pole());
    nactiPolozku();
}

void TFormulIPrijVstup::ExitRabat() {
    if (rusi_ || !upravovana(r_.polozky())) return;
    r_.opustenyRabat(pole());
    nactiPolozku();
}

void TFormulIPrijVstup::ExitCenaSkl() {
    if (rusi_ || !upravovana(r_.polozky())) return;
    r_.opustenaCenaSkl(pole());
    nactiPolozku();
}

void TFormulIPrijVstup::ClickNovaPol() {
    if (r_.uzavren() || !ulozPolozkuZBoxu()) return;
    r_.VlozPolozku(r_.dalsiPorCis());
    nactiPolozku();
    EditVyrobek->lineEdit()->setFocus();
}

void TFormulIPrijVstup::ClickOpravPol() {
    if (!r_.OpravPolozku()) return;
    nactiPolozku();
    ukazDisponibilni();
    EditMnozstvi->lineEdit()->setFocus();
}

void TFormulIPrijVstup::ClickUlozPol() {
    if (!ulozPolozkuZBoxu()) return;
    r_.ClickUlozPol(pole());
    nactiPolozku();
    EditPorCis->lineEdit()->setFocus();
}

void TFormulIPrijVstup::ClickSmazatPol() {
    if (r_.uzavren()) return;
    r_.ClickSmazatPol();
    nactiPolozku();
}

void TFormulIPrijVstup::ClickZrusPol() {
    r_.ZrusPolozku();
    nactiPolozku();
}

void TFormulIPrijVstup::ButtonPrecislujClick() {
    r_.ButtonPrecislujClick();
    nactiPolozku();
}

void TFormulIPrijVstup::ButtonHlavickaClick() {
    if (upravovana(r_.polozky()) && !ulozDoklad()) return;
    if (!r_.uzavren() && r_.hlavicka().state() == TableState::Browse) r_.hlavicka().edit();
    nactiHlavicku();
    PageControl->setCurrentWidget(TabSheetHlavicka);
    EditDatVystaveni->lineEdit()->setFocus();
}

// ---- leaving -----------------------------------------------------------------------------------

void TFormulIPrijVstup::done(int result) {
    if (zavira_) return;
    zavira_ = true;
    const bool zrusit = result != QDialog::Accepted;
    rusi_ = zrusit;
    if (!uzavreno_ && !r_.FormDeactivate(zrusit)) {
        // The user stays in the form.
        zavira_ = rusi_ = false;
        return;
    }
    QDialog::done(result);
    zavira_ = false;
}

bool TFormulIPrijVstup::eventFilter(QObject* watched, QEvent* event) {
    auto jeBox = [watched](QWidget* w) {
        if (auto* b = qobject_cast<EditBox*>(w)) return watched == b->lineEdit();
        return watched == w;
    };
    if (event->type() == QEvent::FocusIn) {
        if (jeBox(EditPorCis) && !upravovana(r_.polozky()) && !r_.uzavren())
            EditPorCis->setText(QString::number(r_.dalsiPorCis()));
        else if (jeBox(EditMnozstvi))
            r_.vstupDoMnozstvi();
    } else if (event->type() == QEvent::FocusOut && !rusi_ && !zavira_ && isVisible()) {
        if (jeBox(EditCisUctu))
            ExitCisUctu();
        else if (jeBox(EditNaSklad))
            PrenosSkladu();
        else if (jeBox(EditVyrobek))
            ExitVyrobek();
        else if (jeBox(EditNazevPol))
            ExitNazev();
        else if (jeBox(EditMnozstvi))
            ExitMnozstvi();
        else if (jeBox(EditCenaZobr))
            ExitCenaZobr();
        else if (jeBox(EditRabat))
            ExitRabat();
        else if (jeBox(EditCenaSkl))
            ExitCenaSkl();
    } else if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_F3) {
            if (jeBox(EditVyrobek)) {
                VyberVyrobku();
                return true;
            }
            if (jeBox(ComboDruh) || watched == ComboDruh->lineEdit()) {
                if (vybery_.druh && vybery_.druh(ComboDruh->currentText()) &&
                    r_.dm().TableDruhUctu) {
                    ComboDruh->setCurrentText(
                        r_.dm().TableDruhUctu->field(QStringLiteral("Druh")).asString());
                    ExitDruh();
                }
                return true;
            }
            if (jeBox(ComboVystavil) || watched == ComboVystavil->lineEdit()) {
                if (vybery_.zamestnanec && vybery_.zamestnanec(ComboVystavil->currentText()) &&
                    r_.dm().TableZamest)
                    ComboVystavil->setCurrentText(
                        r_.dm().TableZamest->field(QStringLiteral("Prijmeni")).asString());
                return true;
            }
        }
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            if (jeBox(EditPorCis)) {
                EnterPorCis();
                return true;
            }
            if (jeBox(EditMnozstvi)) {
                EnterMnozstvi();
                return true;
            }
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormulIPrijVstup::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        reject();
        return;
    case Qt::Key_F6:
        ButtonOkClick();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        focusNextChild();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

} // namespace brix
