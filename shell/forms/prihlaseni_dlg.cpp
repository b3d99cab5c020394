#include "prihlaseni_dlg.h"

#include "datacis.h"
#include "migration/migration_dialog.h"
#include "platform.h"
#include "prihlaseni.h"
#include "storage_error.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace brix {

TPasswordDlg::TPasswordDlg(TDataCis& dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("PasswordDlg"));
    setWindowTitle(QStringLiteral("Heslo"));
    auto* l = new QVBoxLayout(this);
    l->addWidget(new QLabel(QStringLiteral("Zadej heslo"), this));
    Password = new QLineEdit(this);
    Password->setEchoMode(QLineEdit::Password);
    l->addWidget(Password);
    auto* tlacitka = new QDialogButtonBox(this);
    QPushButton* ok = tlacitka->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    tlacitka->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TPasswordDlg::OKBtnClick);
    connect(tlacitka, &QDialogButtonBox::rejected, this, &QDialog::reject);
    l->addWidget(tlacitka);
    Password->setFocus();
}

void TPasswordDlg::OKBtnClick() {
    try {
        const std::optional<QString> kdo = NajdiZamestnancePodleHesla(dm_, Password->text());
        if (!kdo) {
            Platform::current().error(QStringLiteral("Zadané heslo neexistuje"));
            Password->setFocus();
            Password->selectAll();
            return;
        }
        prijmeni_ = *kdo;
        moduly_ = NactiPrava(dm_, prijmeni_);
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return;
    } catch (const Abort&) {
        return; // a storage rule refused the record and said why
    }
    PrihlasenyUzivatel() = prijmeni_;
    accept();
}

TFormulPrvniStart::TFormulPrvniStart(TDataCis& dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("FormulPrvniStart"));
    setWindowTitle(QStringLiteral("První spuštění"));
    auto* l = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("V datech zatím není žádný zaměstnanec. Zadejte "
                                           "příjmení a heslo správce, který dostane všechna "
                                           "práva a pod nímž se pak přihlásíte."),
                            this);
    text->setWordWrap(true);
    l->addWidget(text);
    auto* f = new QFormLayout;
    EditPrijmeni = new QLineEdit(QStringLiteral("SPRAVCE"), this);
    EditPrijmeni->setMaxLength(20);
    EditHeslo = new QLineEdit(this);
    EditHeslo->setEchoMode(QLineEdit::Password);
    EditHesloZnovu = new QLineEdit(this);
    EditHesloZnovu->setEchoMode(QLineEdit::Password);
    f->addRow(QStringLiteral("Příjmení správce"), EditPrijmeni);
    f->addRow(QStringLiteral("Heslo"), EditHeslo);
    f->addRow(QStringLiteral("Heslo znovu"), EditHesloZnovu);
    l->addLayout(f);
    // Instead of a new administrator: the data of the old program, employees included.
    ButtonPrevod = new QPushButton(QStringLiteral("Převést data ze staré datové složky…"), this);
    ButtonPrevod->setAutoDefault(false);
    connect(ButtonPrevod, &QPushButton::clicked, this, &TFormulPrvniStart::ButtonPrevodClick);
    l->addWidget(ButtonPrevod);
    auto* tlacitka = new QDialogButtonBox(this);
    QPushButton* ok = tlacitka->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    tlacitka->addButton(QStringLiteral("&Zruš"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TFormulPrvniStart::ButtonOkClick);
    connect(tlacitka, &QDialogButtonBox::rejected, this, &QDialog::reject);
    l->addWidget(tlacitka);
    EditHeslo->setFocus();
}

void TFormulPrvniStart::ButtonPrevodClick() {
    if (!runMigrationDialog(dm_.database(), this)) return;
    ButtonPrevod->setEnabled(false); // the root now holds data: offered once
    if (MaZamestnance(dm_)) accept();
}

void TFormulPrvniStart::ButtonOkClick() {
    try {
        if (VytvorSpravce(dm_, EditPrijmeni->text(), EditHeslo->text(), EditHesloZnovu->text()))
            accept();
        else
            EditHeslo->setFocus();
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
    } catch (const Abort&) {
    }
}

} // namespace brix
