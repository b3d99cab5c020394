#include "zamestnanci.h"

#include "czech.h"
#include "datacis.h"
#include "entry_conflict.h"
#include "platform.h"
#include "prihlaseni.h"
#include "prikazy.h"
#include "storage_error.h"
#include "table.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace brix {

namespace {

const QString kOtazkaKonec = QStringLiteral("Chceš opravdu skončit bez záznamu?");

bool jeEnter(const QKeyEvent* k) {
    return (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
           k->modifiers() == Qt::NoModifier;
}

Table& zamestnanci(TDataCis& dm) {
    return TDataCis::sdilena(dm.TableZamest, QString::fromUtf16(kTabulkaZamest));
}

bool upravuje(const Table& t) {
    return t.state() == TableState::Insert || t.state() == TableState::Edit;
}

} // namespace

// ---- the entry form ------------------------------------------------------------------------

TFormulZamestVstup::TFormulZamestVstup(TDataCis& dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("FormulZamestVstup"));
    setWindowTitle(QStringLiteral("Zaměstnanec"));
    auto* l = new QVBoxLayout(this);
    PageControl = new QTabWidget(this);
    auto* stranka = new QWidget(PageControl);
    auto* f = new QFormLayout(stranka);
    EditPrijmeni = new EditBox(EditBox::Kind::Text, stranka);
    EditPrijmeni->setObjectName(QStringLiteral("EditPrijmeni"));
    EditPrijmeni->setMaxLength(20);
    EditPrijmeni->setHint(QStringLiteral("Příjmení zaměstnance/ dealera"));
    EditJmeno = new EditBox(EditBox::Kind::Text, stranka);
    EditJmeno->setObjectName(QStringLiteral("EditJmeno"));
    EditJmeno->setMaxLength(25);
    EditJmeno->setHint(QStringLiteral("Křestní jméno zaměstnance/ dealera"));
    EditNarozen = new EditBox(EditBox::Kind::Date, stranka);
    EditNarozen->setObjectName(QStringLiteral("EditNarozen"));
    EditNarozen->setHint(QStringLiteral("Datum narození zaměstnance / dealera"));
    EditProvize = new EditBox(EditBox::Kind::Number, stranka);
    EditProvize->setObjectName(QStringLiteral("EditProvize"));
    EditProvize->setDecimals(2);
    EditProvize->setRange(0, 100);
    EditProvize->setHint(QStringLiteral("Provize v % za prodej"));
    MemoPoznamka = new QPlainTextEdit(stranka);
    MemoPoznamka->setObjectName(QStringLiteral("MemoPoznamka"));
    MemoPoznamka->setStatusTip(QStringLiteral("Poznámka - libovolný text"));
    MemoPoznamka->setTabChangesFocus(true);
    EditHeslo = new QLineEdit(stranka);
    EditHeslo->setObjectName(QStringLiteral("EditHeslo"));
    EditHeslo->setEchoMode(QLineEdit::Password);
    EditHeslo->setMaxLength(20);
    EditHeslo->setStatusTip(
        QStringLiteral("Heslo je kódované, pod tímto se zaměstnanec přihlašuje do systému "));
    f->addRow(QStringLiteral("Příjmení"), EditPrijmeni);
    f->addRow(QStringLiteral("Jméno"), EditJmeno);
    f->addRow(QStringLiteral("Narození"), EditNarozen);
    f->addRow(QStringLiteral("Provize"), EditProvize);
    f->addRow(QStringLiteral("Poznámka"), MemoPoznamka);
    f->addRow(QStringLiteral("Heslo"), EditHeslo);
    PageControl->addTab(stranka, QStringLiteral("Vstup"));
    l->addWidget(PageControl);

    auto* tlacitka = new QHBoxLayout;
    tlacitka->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    auto* zrus = new QPushButton(QStringLiteral("&Zruš"), this);
    for (QPushButton* b : {ok, zrus}) {
        b->setAutoDefault(false);
        tlacitka->addWidget(b);
    }
    connect(ok, &QPushButton::clicked, this, &TFormulZamestVstup::ButtonOkClick);
    connect(zrus, &QPushButton::clicked, this, &TFormulZamestVstup::ButtonZrusClick);
    l->addLayout(tlacitka);
    StatusBar1 = new StatusBar(1, this);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->showHintsIn(0);
    l->addWidget(StatusBar1);

    for (QWidget* w : std::initializer_list<QWidget*>{
             EditPrijmeni->lineEdit(), EditJmeno->lineEdit(), EditNarozen->lineEdit(),
             EditProvize->lineEdit(), MemoPoznamka, EditHeslo})
        w->installEventFilter(this);
}

bool TFormulZamestVstup::ukladani() const {
    return dm_.TableZamest && upravuje(*dm_.TableZamest);
}

void TFormulZamestVstup::nacti() {
    Table& z = zamestnanci(dm_);
    const bool zaznam = z.hasRecord() || z.state() == TableState::Insert;
    auto hodnota = [&](const char* pole) {
        const int i = z.fieldIndex(QString::fromLatin1(pole));
        return zaznam && i >= 0 ? z.fieldValue(i) : QVariant();
    };
    EditPrijmeni->setValue(hodnota("PRIJMENI"));
    EditJmeno->setValue(hodnota("JMENO"));
    EditNarozen->setValue(hodnota("Narozen"));
    EditProvize->setValue(hodnota("PROVIZE"));
    MemoPoznamka->setPlainText(hodnota("Poznamka").toString());
    EditHeslo->clear();
    const bool novy = z.state() == TableState::Insert;
    puvodniPrijmeni_ = novy ? QString() : hodnota("PRIJMENI").toString();
    puvodniJmeno_ = novy ? QString() : hodnota("JMENO").toString();
    PageControl->setCurrentIndex(0);
    EditPrijmeni->lineEdit()->setFocus();
    stav_.take(this);
}

void TFormulZamestVstup::ButtonOkClick() {
    Table& z = zamestnanci(dm_);
    if (upravuje(z)) {
        for (EditBox* b : {EditPrijmeni, EditJmeno, EditNarozen, EditProvize})
            if (!b->check()) return;
        // The surname names the employee's rights and documents: it cannot be blank.
        const QString prijmeni = EditPrijmeni->text();
        if (prijmeni.trimmed().isEmpty()) {
            Platform::current().error(
                QStringLiteral("Zadejte příjmení zaměstnance, bez něj nelze záznam uložit."));
            EditPrijmeni->lineEdit()->setFocus();
            return;
        }
        const bool vlastni =
            !puvodniPrijmeni_.isEmpty() && JePrihlaseny(puvodniPrijmeni_, puvodniJmeno_);
        try {
            // Rights are kept by surname: taking one that carries rights grants them.
            if (auto odmitnuti = OdmitnutiPrijmeni(dm_, spravce_, prijmeni, puvodniPrijmeni_)) {
                Platform::current().error(*odmitnuti);
                EditPrijmeni->lineEdit()->setFocus();
                return;
            }
            const QString otazka = OtazkaJmenovcu(dm_, prijmeni, puvodniPrijmeni_);
            if (!otazka.isEmpty() && !Platform::current().askYesNo(otazka)) {
                EditPrijmeni->lineEdit()->setFocus();
                return;
            }
            z.field(QStringLiteral("PRIJMENI")).setValue(EditPrijmeni->value());
            z.field(QStringLiteral("JMENO")).setValue(EditJmeno->value());
            z.field(QStringLiteral("Narozen")).setValue(EditNarozen->value());
            z.field(QStringLiteral("PROVIZE")).setValue(EditProvize->value());
            const QString poznamka = MemoPoznamka->toPlainText();
            z.field(QStringLiteral("Poznamka"))
                .setValue(poznamka.isEmpty() ? QVariant() : QVariant(poznamka));
            bool hesloOdmitnuto = false;
            // Another copy's change of the record is not overwritten unasked.
            ConflictPolicy politika = ConflictPolicy::Detect;
            for (;;) {
                try {
                    EntrySave ulozeni(z, politika);
                    if (!UlozZamestnance(dm_, EditHeslo->text(), puvodniPrijmeni_,
                                         &hesloOdmitnuto)) {
                        if (hesloOdmitnuto) {
                            EditHeslo->setFocus();
                            EditHeslo->selectAll();
                        } else {
                            EditPrijmeni->lineEdit()->setFocus(); // the same surname and name
                        }
                        return;
                    }
                    break;
                } catch (const StorageError& e) {
                    if (!isEditConflict(e) || politika != ConflictPolicy::Detect) throw;
                    switch (askAboutConflict(z, e)) {
                    case ConflictChoice::SaveAsItIs:
                        politika = ConflictPolicy::Overwrite;
                        continue;
                    case ConflictChoice::Reload:
                        if (reloadEditedRecord(z))
                            nacti();
                        else
                            reject(); // gone, and let go
                        return;
                    case ConflictChoice::KeepEditing:
                        EditPrijmeni->lineEdit()->setFocus();
                        return;
                    }
                }
            }
        } catch (const StorageError& e) {
            Platform::current().error(e.message());
            EditPrijmeni->lineEdit()->setFocus();
            return;
        } catch (const Abort&) {
            EditPrijmeni->lineEdit()->setFocus();
            return;
        }
        // The logged-in employee renamed himself: the run follows.
        if (vlastni) {
            PrihlasenyUzivatel() = z.field(QStringLiteral("PRIJMENI")).asString();
            PrihlasenyJmeno() = z.field(QStringLiteral("JMENO")).asString();
        }
    }
    EditHeslo->clear();
    accept();
}

void TFormulZamestVstup::zrus() {
    try {
        if (ukladani()) dm_.TableZamest->cancel();
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
    }
    EditHeslo->clear();
}

void TFormulZamestVstup::ButtonZrusClick() {
    if (stav_.changed(this) && !Platform::current().askYesNo(kOtazkaKonec)) return;
    zrus();
    reject();
}

bool TFormulZamestVstup::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_F6 && k->modifiers() == Qt::NoModifier &&
            o == EditPrijmeni->lineEdit()) {
            ButtonOkClick();
            return true;
        }
        if (jeEnter(k) && o != MemoPoznamka) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void TFormulZamestVstup::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        ButtonZrusClick();
        return;
    }
    if (jeEnter(e)) return;
    QDialog::keyPressEvent(e);
}

// ---- the access rights -------------------------------------------------------------------

TFormulZamestPristup::TFormulZamestPristup(TDataCis& dm, QWidget* parent)
    : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("FormulZamestPristup"));
    setWindowTitle(QStringLiteral("Přístupy"));
    auto* l = new QVBoxLayout(this);
    for (const ModulPrava& m : ModulyPrav()) {
        auto* b = new QCheckBox(m.popisek, this);
        b->setObjectName(QStringLiteral("Check") + m.kod);
        l->addWidget(b);
        boxy_.insert(m.kod, b);
    }
    auto* tlacitka = new QHBoxLayout;
    tlacitka->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    auto* zrus = new QPushButton(QStringLiteral("&Zruš"), this);
    for (QPushButton* b : {ok, zrus}) {
        b->setAutoDefault(false);
        tlacitka->addWidget(b);
    }
    connect(ok, &QPushButton::clicked, this, &TFormulZamestPristup::ButtonOkClick);
    connect(zrus, &QPushButton::clicked, this, [this] {
        if (!stav_.changed(this) || Platform::current().askYesNo(kOtazkaKonec)) reject();
    });
    l->addLayout(tlacitka);
}

void TFormulZamestPristup::nacti() {
    for (QCheckBox* b : std::as_const(boxy_))
        b->setChecked(false);
    prijmeni_.clear();
    try {
        Table& z = zamestnanci(dm_);
        if (z.hasRecord()) prijmeni_ = z.field(QStringLiteral("PRIJMENI")).asString();
        for (const QString& kod : NactiPrava(dm_, prijmeni_))
            if (QCheckBox* b = boxy_.value(kod)) b->setChecked(true);
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
    }
    stav_.take(this);
}

void TFormulZamestPristup::ButtonOkClick() {
    if (prijmeni_.trimmed().isEmpty()) {
        reject();
        return;
    }
    QSet<QString> moduly;
    for (auto it = boxy_.cbegin(); it != boxy_.cend(); ++it)
        if (it.value()->isChecked()) moduly.insert(it.key());
    try {
        if (auto odmitnuti = OdmitnutiZmenyPrav(dm_, prijmeni_, moduly)) {
            Platform::current().error(*odmitnuti);
            if (QCheckBox* b = boxy_.value(kPravoSpravce)) b->setFocus();
            return;
        }
        UlozPrava(dm_, prijmeni_, moduly);
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return;
    } catch (const Abort&) {
        return;
    }
    accept();
}

void TFormulZamestPristup::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    nacti();
}

void TFormulZamestPristup::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        if (!stav_.changed(this) || Platform::current().askYesNo(kOtazkaKonec)) reject();
        return;
    }
    if (jeEnter(e)) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(e);
}

// ---- the register --------------------------------------------------------------------------

RegisterConfig TFormulZamestGrid::konfigurace() {
    RegisterConfig c;
    c.caption = QStringLiteral("Vstup zaměstnanců a dealerů");
    c.order = QStringLiteral("PRIJMENI;JMENO"); // the primary key: by surname, then name
    c.columns = {{QStringLiteral("PRIJMENI"), QStringLiteral("Příjmení"), 0},
                 {QStringLiteral("JMENO"), QStringLiteral("Jméno"), 0},
                 {QStringLiteral("Narozen"), QStringLiteral("Narození"), 0},
                 {QStringLiteral("PROVIZE"), QStringLiteral("Provize"), 0},
                 {QStringLiteral("Poznamka"), QStringLiteral("Poznámka"), 0}};
    c.searchItems = {{QStringLiteral("&Příjmení"), QStringLiteral("PRIJMENI")}};
    c.printItems = {
        {QStringLiteral("&Seznam zaměstnanců"), QStringLiteral("ciselnik\\ZamestSezn"), {}}};
    c.printManagerDirectory = QStringLiteral("Ciselnik\\");
    c.printManagerPrefix = QStringLiteral("PrZam_");
    return c;
}

TFormulZamestGrid::TFormulZamestGrid(TDataCis& dm, bool spravce, QWidget* parent)
    : RegisterForm(zamestnanci(dm), konfigurace(), parent), dm_(dm) {
    setObjectName(QStringLiteral("FormulZamestGrid"));
    MenuFunkce->setTitle(QStringLiteral("F&unkce"));
    MenuPristupy = new QAction(QStringLiteral("&Přístupy"), MenuFunkce);
    MenuFunkce->insertAction(MenuExport, MenuPristupy);
    MenuFunkce->menuAction()->setVisible(true);
    connect(MenuPristupy, &QAction::triggered, this, [this] { PristupyClick(); });
    vstup_ = new TFormulZamestVstup(dm, this);
    nastavSpravce(spravce);
}

void TFormulZamestGrid::nastavSpravce(bool spravce) {
    spravce_ = spravce;
    MenuPristupy->setEnabled(spravce);
    vstup_->nastavSpravce(spravce);
}

void TFormulZamestGrid::NovyClick() {
    if (entryShown() || !table().active()) return;
    if (auto odmitnuti = OdmitnutiNovehoZamestnance(spravce_)) {
        Platform::current().error(*odmitnuti);
        return;
    }
    RegisterForm::NovyClick();
}

void TFormulZamestGrid::OpravaClick() {
    Table& z = table();
    if (entryShown() || !z.active() || !z.hasRecord()) {
        RegisterForm::OpravaClick();
        return;
    }
    if (auto odmitnuti =
            OdmitnutiOpravyZamestnance(spravce_, z.field(QStringLiteral("PRIJMENI")).asString(),
                                       z.field(QStringLiteral("JMENO")).asString())) {
        Platform::current().error(*odmitnuti);
        return;
    }
    RegisterForm::OpravaClick();
}

void TFormulZamestGrid::SmazatClick() {
    Table& z = table();
    if (entryShown() || !z.active() || !z.hasRecord()) return;
    try {
        if (auto odmitnuti = OdmitnutiSmazaniZamestnance(
                dm_, spravce_, z.field(QStringLiteral("PRIJMENI")).asString(),
                z.field(QStringLiteral("JMENO")).asString())) {
            Platform::current().error(*odmitnuti);
            return;
        }
    } catch (const StorageError& e) {
        reportStorageError(e);
        return;
    }
    RegisterForm::SmazatClick();
}

void TFormulZamestGrid::openEntry() {
    vstup_->nacti();
    Platform::current().execModal(*vstup_);
    // Whatever the entry form left in edit is not saved.
    Table& z = table();
    try {
        if (upravuje(z)) z.cancel();
    } catch (const StorageError& e) {
        reportStorageError(e);
    }
    DbGrid1->syncToTable();
    DbGrid1->setFocus();
}

void TFormulZamestGrid::PristupyClick() {
    if (!MenuPristupy->isEnabled() || !table().hasRecord()) return;
    TFormulZamestPristup f(dm_, this);
    Platform::current().execModal(f);
}

} // namespace brix
