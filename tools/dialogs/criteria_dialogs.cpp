#include "criteria_dialogs.h"

#include "editbox.h"
#include "filter_db.h"
#include "platform.h"
#include "table.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace brix {

namespace {

bool isEnter(const QKeyEvent* key) {
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

QDialogButtonBox* okZrus(QDialog* dialog, QPushButton** ok, QPushButton** zrus) {
    auto* box = new QDialogButtonBox(dialog);
    *ok = box->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    *zrus = box->addButton(QStringLiteral("&Zruš"), QDialogButtonBox::RejectRole);
    (*ok)->setObjectName(QStringLiteral("ButtonOk"));
    (*zrus)->setObjectName(QStringLiteral("ButtonZrus"));
    QObject::connect(*zrus, &QPushButton::clicked, dialog, &QDialog::reject);
    return box;
}

// The item's field as the user sees it; nullopt when the item has no such field.
std::optional<QString> fieldText(const RecordSource& item, const char* name) {
    int i = item.fieldIndex(QLatin1String(name));
    if (i < 0) return std::nullopt;
    return displayText(item.fieldValue(i), item.fieldDef(i).kind);
}

bool beginsWith(const RecordSource& item, const char* field, const QString& entry) {
    auto v = fieldText(item, field);
    return v && v->startsWith(entry, Qt::CaseSensitive);
}

bool equals(const RecordSource& item, const char* field, const QString& entry) {
    auto v = fieldText(item, field);
    return v && *v == entry;
}

} // namespace

// ---------------------------------------------------------------- item criteria

bool KriteriaPolozky::empty() const {
    return objCis.isEmpty() && cisVyr.isEmpty() && ko1.isEmpty() && ko2.isEmpty() &&
           nazev.isEmpty() && druhPol.isEmpty() && vynSkup.isEmpty();
}

VynosovaSkupina vynosovaSkupinaZTabulky(Table& vyrobky) {
    auto cursor = std::make_shared<Table>(vyrobky.database(), vyrobky.def().address());
    return [cursor](const QString& objCis) -> std::optional<QString> {
        if (!cursor->active()) cursor->open();
        if (!cursor->hasField(QStringLiteral("PC_Vynskup"))) return std::nullopt;
        if (!cursor->locate(QStringLiteral("OBJCIS"), {objCis})) return std::nullopt;
        return cursor->field(QStringLiteral("PC_Vynskup")).asString();
    };
}

bool polozkaVyhovuje(const KriteriaPolozky& k, const RecordSource& polozka,
                     const VynosovaSkupina& vynosovaSkupina) {
    if (!k.objCis.isEmpty() && !beginsWith(polozka, "ObjCis", k.objCis)) return false;
    if (!k.cisVyr.isEmpty() && !equals(polozka, "Cis_Vyr", k.cisVyr)) return false;
    if (!k.ko1.isEmpty() && !beginsWith(polozka, "Kod_Ozn1", k.ko1)) return false;
    if (!k.ko2.isEmpty() && !beginsWith(polozka, "Kod_Ozn2", k.ko2)) return false;
    if (!k.nazev.isEmpty() && !beginsWith(polozka, "Nazev", k.nazev)) return false;
    if (!k.druhPol.isEmpty() && !beginsWith(polozka, "Druh_Pol", k.druhPol)) return false;
    if (!k.vynSkup.isEmpty()) {
        if (!vynosovaSkupina) return false;
        auto objCis = fieldText(polozka, "ObjCis");
        if (!objCis) return false;
        auto group = vynosovaSkupina(*objCis);
        if (!group || *group != k.vynSkup) return false;
    }
    return true;
}

TFormulUctyHledejPol::TFormulUctyHledejPol(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormulUctyHledejPol"));
    setWindowTitle(QStringLiteral("Hledání položky účtu"));
    auto* lay = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto add = [&](const QString& label, const QString& name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->installEventFilter(this);
        form->addRow(label, e);
        edits_ << e;
        return e;
    };
    EditObjCis = add(QStringLiteral("Obj.číslo"), QStringLiteral("EditObjCis"));
    EditCisVyr = add(QStringLiteral("Číslo výr."), QStringLiteral("EditCisVyr"));
    EditKO1 = add(QStringLiteral("Kód.označ.1"), QStringLiteral("EditKO1"));
    EditKO2 = add(QStringLiteral("Kód.označ.2"), QStringLiteral("EditKO2"));
    EditNazev = add(QStringLiteral("Název"), QStringLiteral("EditNazev"));
    EditDruh_Pol = add(QStringLiteral("Druh_Pol"), QStringLiteral("EditDruh_Pol"));
    EditVynSkup = add(QStringLiteral("Výnos.skup."), QStringLiteral("EditVynSkup"));
    lay->addLayout(form);
    lay->addWidget(okZrus(this, &ButtonOk, &ButtonZrus));
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    // Order codes are upper case: what is typed is shown and matched so.
    connect(EditObjCis, &QLineEdit::textEdited, this, [this](const QString& text) {
        QString upper = text.toUpper();
        if (upper == text) return;
        int pos = EditObjCis->cursorPosition();
        EditObjCis->setText(upper);
        EditObjCis->setCursorPosition(pos);
    });
}

KriteriaPolozky TFormulUctyHledejPol::kriteria() const {
    return {EditObjCis->text().toUpper(),
            EditCisVyr->text(),
            EditKO1->text(),
            EditKO2->text(),
            EditNazev->text(),
            EditDruh_Pol->text(),
            EditVynSkup->text()};
}

bool TFormulUctyHledejPol::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        int i = edits_.indexOf(qobject_cast<QLineEdit*>(watched));
        if (i >= 0 && isEnter(key)) {
            if (i + 1 < edits_.size())
                edits_[i + 1]->setFocus(Qt::TabFocusReason);
            else
                ButtonOk->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (i >= 0 && key->key() == Qt::Key_Escape) {
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------- price range

TFormulFiltrCena::TFormulFiltrCena(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormulFiltrCena"));
    setWindowTitle(QStringLiteral("Rozsah ceny"));
    auto* lay = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    EditCenaOd = new EditBox(EditBox::Kind::Number, this);
    EditCenaDo = new EditBox(EditBox::Kind::Number, this);
    EditCenaOd->setObjectName(QStringLiteral("EditCenaOd"));
    EditCenaDo->setObjectName(QStringLiteral("EditCenaDo"));
    for (EditBox* e : {EditCenaOd, EditCenaDo}) {
        e->lineEdit()->setAlignment(Qt::AlignRight);
        e->setCheckOnLeave(false); // checked on "&OK"
    }
    form->addRow(QStringLiteral("Cena od"), EditCenaOd);
    form->addRow(QStringLiteral("do"), EditCenaDo);
    lay->addLayout(form);
    lay->addWidget(okZrus(this, &ButtonOk, &ButtonZrus));
    ButtonOk->setDefault(true);
    connect(ButtonOk, &QPushButton::clicked, this, [this] { ButtonOkClick(); });
}

void TFormulFiltrCena::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    EditCenaOd->lineEdit()->setFocus(Qt::OtherFocusReason);
}

QString TFormulFiltrCena::cenaOd() const {
    return EditCenaOd->text();
}

QString TFormulFiltrCena::cenaDo() const {
    return EditCenaDo->text();
}

QString TFormulFiltrCena::filtr(const QString& field) const {
    auto bound = [](const EditBox* e) {
        auto v = e->numberValue();
        return v ? QString::number(*v, 'f', 4) : QString();
    };
    return filtr::rangeExpression(field, bound(EditCenaOd), bound(EditCenaDo));
}

void TFormulFiltrCena::ButtonOkClick() {
    if (!EditCenaOd->check() || !EditCenaDo->check()) return;
    accept();
}

// ---------------------------------------------------------------- period

namespace {

struct Obdobi {
    QString od = QStringLiteral("01.01.2002");
    QString do_ = QStringLiteral("31.12.2002");
};

Obdobi& posledniObdobi() {
    static Obdobi o;
    return o;
}

} // namespace

void TFormulVyrFiltrTiskS::zapomenObdobi() {
    posledniObdobi() = Obdobi();
}

TFormulVyrFiltrTiskS::TFormulVyrFiltrTiskS(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormulVyrFiltrTiskS"));
    setWindowTitle(QStringLiteral("Období"));
    auto* lay = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    EditDatumOd = new EditBox(EditBox::Kind::Date, this);
    EditDatumDo = new EditBox(EditBox::Kind::Date, this);
    EditDatumOd->setObjectName(QStringLiteral("EditDatumOd"));
    EditDatumDo->setObjectName(QStringLiteral("EditDatumDo"));
    for (EditBox* e : {EditDatumOd, EditDatumDo}) {
        e->setCheckOnLeave(false); // checked on "&OK"
        e->lineEdit()->installEventFilter(this);
    }
    EditDatumOd->setText(posledniObdobi().od);
    EditDatumDo->setText(posledniObdobi().do_);
    form->addRow(QStringLiteral("Datum od"), EditDatumOd);
    form->addRow(QStringLiteral("do"), EditDatumDo);
    lay->addLayout(form);
    lay->addWidget(okZrus(this, &ButtonOk, &ButtonZrus));
    ButtonOk->setAutoDefault(true);
    connect(ButtonOk, &QPushButton::clicked, this, [this] { ButtonOkClick(); });
}

QString TFormulVyrFiltrTiskS::datumOd() const {
    return EditDatumOd->text();
}

QString TFormulVyrFiltrTiskS::datumDo() const {
    return EditDatumDo->text();
}

std::optional<QDate> TFormulVyrFiltrTiskS::od() const {
    return EditDatumOd->dateValue();
}

std::optional<QDate> TFormulVyrFiltrTiskS::doDne() const {
    return EditDatumDo->dateValue();
}

QString TFormulVyrFiltrTiskS::filtr(const QString& field) const {
    auto bound = [](const std::optional<QDate>& d) {
        return d ? EditBox::formatDate(*d) : QString();
    };
    return filtr::rangeExpression(field, bound(od()), bound(doDne()));
}

void TFormulVyrFiltrTiskS::ButtonOkClick() {
    if (!EditDatumOd->check() || !EditDatumDo->check()) return;
    posledniObdobi() = {EditDatumOd->text(), EditDatumDo->text()};
    accept();
}

bool TFormulVyrFiltrTiskS::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        (watched == EditDatumOd->lineEdit() || watched == EditDatumDo->lineEdit())) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isEnter(key)) {
            if (watched == EditDatumOd->lineEdit())
                EditDatumDo->lineEdit()->setFocus(Qt::TabFocusReason);
            else
                ButtonOk->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool zadejObdobi(QWidget* parent, QString* od, QString* do_) {
    TFormulVyrFiltrTiskS dialog(parent);
    if (Platform::current().execModal(dialog) != QDialog::Accepted) return false;
    if (od) *od = dialog.datumOd();
    if (do_) *do_ = dialog.datumDo();
    return true;
}

bool zadejCenu(QWidget* parent, QString* od, QString* do_) {
    TFormulFiltrCena dialog(parent);
    if (Platform::current().execModal(dialog) != QDialog::Accepted) return false;
    if (od) *od = dialog.cenaOd();
    if (do_) *do_ = dialog.cenaDo();
    return true;
}

} // namespace brix
