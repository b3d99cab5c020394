#include "formul_var_vyr_ks.h"

#include "datacis.h"
#include "platform.h"
#include "storage_error.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace brix {

TFormulVarVyrKS::TFormulVarVyrKS(TDataCis& dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("TFormulVarVyrKS"));
    setWindowTitle(QStringLiteral("KS variant"));
    auto* l = new QVBoxLayout(this);
    Oblast = new QScrollArea(this);
    Oblast->setWidgetResizable(true);
    l->addWidget(Oblast, 1);
    auto* tlacitka = new QHBoxLayout;
    tlacitka->addStretch(1);
    ButtonOk = new QPushButton(QStringLiteral("&Ok"), this);
    ButtonZrus = new QPushButton(QStringLiteral("&Zruš"), this);
    for (QPushButton* b : {ButtonOk, ButtonZrus}) {
        b->setAutoDefault(false);
        tlacitka->addWidget(b);
    }
    l->addLayout(tlacitka);
    connect(ButtonOk, &QPushButton::clicked, this, [this] { OkClick(); });
    connect(ButtonZrus, &QPushButton::clicked, this, [this] { ZrusClick(); });
    resize(460, 420);
}

bool TFormulVarVyrKS::PripojZdroj(const DataSource* zdroj) {
    pripojen_ = checkDataSource(zdroj, true);
    if (pripojen_) zdroj_ = *zdroj;
    return pripojen_;
}

void TFormulVarVyrKS::zrusRadky() {
    boxy.clear();
    skladLabels.clear();
    radky_.clear();
    delete Oblast->takeWidget();
    obsah_ = nullptr;
    mrizka_ = nullptr;
}

void TFormulVarVyrKS::nacti() {
    zrusRadky();
    celkem_ = Decimal();
    obsah_ = new QWidget;
    mrizka_ = new QGridLayout(obsah_);
    mrizka_->setVerticalSpacing(0);
    const char* titulky[] = {"Varianta1", "Varianta2", "Sklad.zás.", "Množství"};
    for (int i = 0; i < 4; ++i)
        mrizka_->addWidget(new QLabel(QString::fromUtf8(titulky[i]), obsah_), 0, i);
    Oblast->setWidget(obsah_);
    if (!pripojen_) return;
    Table* vyr = dm_.TableVyr;
    if (vyr && vyr->active() && vyr->hasRecord() &&
        vyr->field(QStringLiteral("Cis_vyr")).asInteger() != polozka_.cisVyr) {
        Platform::current().error(
            QStringLiteral("Číslo výrobku varianty není shodné s výrobkem, seznam nebude načten"));
        ButtonZrus->setFocus();
        return;
    }
    try {
        radky_ = NactiRadkyVariant(dm_.database(), zdroj_.table->def().address(), polozka_);
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
    }
    int r = 1;
    for (const RadekVarianty& v : radky_) {
        mrizka_->addWidget(new QLabel(v.varianta1, obsah_), r, 0);
        mrizka_->addWidget(new QLabel(v.varianta2, obsah_), r, 1);
        auto* s = new QLabel(v.sklad.toString(2), obsah_);
        s->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        mrizka_->addWidget(s, r, 2);
        skladLabels << s;
        auto* b = new QLineEdit(v.mnozstvi, obsah_);
        b->setFixedHeight(18);
        b->installEventFilter(this);
        mrizka_->addWidget(b, r, 3);
        boxy << b;
        ++r;
    }
    mrizka_->setRowStretch(r, 1);
    if (!boxy.isEmpty())
        boxy.first()->setFocus();
    else
        ButtonZrus->setFocus();
}

Decimal TFormulVarVyrKS::spoctiCelkem() const {
    Decimal s;
    for (const QLineEdit* b : boxy)
        s += MnozstviVarianty(b->text());
    return s;
}

void TFormulVarVyrKS::OkClick() {
    if (!pripojen_) {
        celkem_ = Decimal();
        reject();
        return;
    }
    std::vector<ZadaniVarianty> zadani;
    for (int i = 0; i < boxy.size() && i < int(radky_.size()); ++i)
        zadani.push_back(
            {radky_[size_t(i)].varianta1, radky_[size_t(i)].varianta2, boxy[i]->text()});
    const VysledekVariant v =
        UlozVariantyPolozky(dm_.database(), zdroj_.table->def().address(), polozka_, zadani);
    if (!v.ok) {
        // Nothing was saved; the typed amounts stay for another try or "&Zruš".
        Platform::current().error(v.chyba);
        return;
    }
    celkem_ = v.celkem;
    if (zdroj_.table->active()) zdroj_.table->refresh();
    accept();
}

void TFormulVarVyrKS::ZrusClick() {
    celkem_ = Decimal();
    reject();
}

void TFormulVarVyrKS::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    nacti();
}

void TFormulVarVyrKS::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Platform::current().beep();
        if (Platform::current().askYesNo(QStringLiteral("Chceš opravdu skončit bez záznamu"))) {
            celkem_ = Decimal();
            reject();
        }
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OkClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFormulVarVyrKS::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Escape || k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            keyPressEvent(k);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormulVarVyrKS::done(int result) {
    QDialog::done(result);
    zrusRadky();
}

} // namespace brix
