#include "cisla_uctu_form.h"

#include "cisla_uctu.h"
#include "datacis.h"
#include "editbox.h"
#include "export/export_dialog.h"
#include "platform.h"
#include "statusbar.h"
#include "storage_error.h"
#include "table.h"
#include "util/nastaveni.h"
#include "vstup/tisk_seznamu.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace brix {

TFormulCisUctu::TFormulCisUctu(TDataCis& dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("FormulCisUctu"));
    setWindowTitle(QStringLiteral("První čísla účtů"));
    auto* l = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    QMenu* tisk = menu->addMenu(QStringLiteral("&Tisk"));
    tisk->setToolTipsVisible(true);
    MenuTiskSeznam = tisk->addAction(QStringLiteral("&Seznam čísel účtů"));
    connect(MenuTiskSeznam, &QAction::triggered, this, [this] {
        try {
            if (!dm_.TableCisUctu) return;
            if (!dm_.TableCisUctu->active()) dm_.TableCisUctu->open();
            TiskniSeznam(*dm_.TableCisUctu, sablonaSeznamu());
        } catch (const StorageError& e) {
            Platform::current().error(e.message());
        }
    });
    QMenu* funkce = menu->addMenu(QStringLiteral("&Funkce"));
    MenuExport = funkce->addAction(QStringLiteral("&Export"));
    connect(MenuExport, &QAction::triggered, this, [this] {
        try {
            if (!dm_.TableCisUctu) return;
            if (!dm_.TableCisUctu->active()) dm_.TableCisUctu->open();
            TFormulExportDat dlg(this);
            if (dlg.setMaster(dm_.TableCisUctu)) Platform::current().execModal(dlg);
        } catch (const StorageError& e) {
            Platform::current().error(e.message());
        }
    });
    l->setMenuBar(menu);

    auto* stranky = new QTabWidget(this);
    auto* vstup = new QWidget(stranky);
    auto* f = new QFormLayout(vstup);
    for (const RadaUctu& r : RadyPrvnichCisel()) {
        auto* e = new EditBox(EditBox::Kind::Integer, vstup);
        e->setObjectName(r.pole);
        // A document is numbered from 1 at least.
        e->setRange(1, 2147483647.0);
        e->setHint(r.napoveda);
        f->addRow(r.popisek, e);
        pole_.insert(r.typ, e);
    }
    stranky->addTab(vstup, QStringLiteral("Vstup"));
    l->addWidget(stranky);

    auto* tlacitka = new QDialogButtonBox(this);
    QPushButton* ok = tlacitka->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    tlacitka->addButton(QStringLiteral("&Zruš"), QDialogButtonBox::RejectRole);
    connect(ok, &QPushButton::clicked, this, &TFormulCisUctu::ButtonOkClick);
    connect(tlacitka, &QDialogButtonBox::rejected, this, &QDialog::reject);
    l->addWidget(tlacitka);
    status_ = new StatusBar(1, this);
    status_->showHintsIn(0);
    l->addWidget(status_);
}

void TFormulCisUctu::nactiCisla() {
    try {
        const QMap<QString, qint64> cisla = NactiPrvniCisla(dm_);
        for (auto it = cisla.cbegin(); it != cisla.cend(); ++it)
            if (EditBox* e = pole_.value(it.key())) e->setText(QString::number(it.value()));
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
    }
}

void TFormulCisUctu::ButtonOkClick() {
    QMap<QString, qint64> cisla;
    for (const RadaUctu& r : RadyPrvnichCisel()) {
        EditBox* e = pole_.value(r.typ);
        // Nothing is written while a number is missing or wrong; its box gets the focus.
        if (e->isBlank()) {
            Platform::current().error(
                QStringLiteral("Zadejte první číslo pro %1 (nejméně 1).").arg(r.popisek));
            e->lineEdit()->setFocus();
            return;
        }
        if (!e->check()) return;
        cisla.insert(r.typ, *e->integerValue());
    }
    try {
        UlozPrvniCisla(dm_, cisla);
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return;
    } catch (const Abort&) {
        if (dm_.TableCisUctu) dm_.TableCisUctu->cancel();
        return;
    }
    accept();
}

QString TFormulCisUctu::sablonaSeznamu() {
    return nastaveniProgramu().ZnTisk ? QStringLiteral("ciselnik\\CisUctuSeznZ.pts")
                                      : QStringLiteral("ciselnik\\CisUctuSezn.pts");
}

void TFormulCisUctu::hideEvent(QHideEvent* e) {
    QDialog::hideEvent(e);
    try {
        if (dm_.TableCisUctu && dm_.TableCisUctu->active()) {
            if (dm_.TableCisUctu->state() != TableState::Browse) dm_.TableCisUctu->cancel();
            dm_.TableCisUctu->close();
        }
    } catch (const StorageError&) {
    }
}

void TFormulCisUctu::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    nactiCisla();
    if (EditBox* dl = pole_.value(QStringLiteral("DL"))) dl->lineEdit()->setFocus();
    stav_.take(this);
}

void TFormulCisUctu::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        // Nothing typed: nothing to ask.
        if (!stav_.changed(this) ||
            Platform::current().askYesNo(QStringLiteral("Chceš opravdu skončit bez záznamu ?")))
            reject();
        return;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(e);
}

} // namespace brix
