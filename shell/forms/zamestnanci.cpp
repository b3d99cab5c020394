#include "zamestnanci.h"

#include "czech.h"
#include "datacis.h"
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

const QString kOtazkaKonec = QStringLiteral("Chceš opravdu skončit bez záznamu");

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
    puvodniPrijmeni_ = z.state() == TableState::Insert ? QString() : hodnota("PRIJMENI").toString();
    PageControl->setCurrentIndex(0);
    EditPrijmeni->lineEdit()->setFocus();
}

void TFormulZamestVstup::ButtonOkClick() {
    Table& z = zamestnanci(dm_);
    if (upravuje(z)) {
        for (EditBox* b : {EditPrijmeni, EditJmeno, EditNarozen, EditProvize})
            if (!b->check()) return;
        // The surname names the employee's rights and documents: it cannot be blank.
        if (EditPrijmeni->text().trimmed().isEmpty()) {
            Platform::current().error(
                QStringLiteral("Zadejte příjmení zaměstnance, bez něj nelze záznam uložit."));
            EditPrijmeni->lineEdit()->setFocus();
            return;
        }
        try {
            z.field(QStringLiteral("PRIJMENI")).setValue(EditPrijmeni->value());
            z.field(QStringLiteral("JMENO")).setValue(EditJmeno->value());
            z.field(QStringLiteral("Narozen")).setValue(EditNarozen->value());
            z.field(QStringLiteral("PROVIZE")).setValue(EditProvize->value());
            const QString poznamka = MemoPoznamka->toPlainText();
            z.field(QStringLiteral("Poznamka"))
                .setValue(poznamka.isEmpty() ? QVariant() : QVariant(poznamka));
            if (!UlozZamestnance(dm_, EditHeslo->text(), puvodniPrijmeni_)) {
                EditHeslo->setFocus();
                return;
            }
        } catch (const StorageError& e) {
            Platform::current().error(e.message());
            return;
        } catch (const Abort&) {
            return;
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
        if (Platform::current().askYesNo(kOtazkaKonec)) ButtonZrusClick();
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
    connect(zrus, &QPushButton::clicked, this, &QDialog::reject);
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
        if (Platform::current().askYesNo(kOtazkaKonec)) reject();
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
    MenuPristupy->setEnabled(spravce);
    connect(MenuPristupy, &QAction::triggered, this, [this] { PristupyClick(); });
    vstup_ = new TFormulZamestVstup(dm, this);
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
