#include "hlavni_okno.h"

#include "platform.h"
#include "prikazy.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

namespace brix {

namespace {
const QString kPripravujeSe = QStringLiteral("Připravuje se");
} // namespace

TFormMenu::TFormMenu(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("FormMenu"));
    setWindowTitle(vychoziTitulek());

    auto* stred = new QWidget(this);
    auto* svisle = new QVBoxLayout(stred);
    auto* panel = new QHBoxLayout;
    panel->addWidget(new QLabel(QStringLiteral("Produkt :"), stred));
    LabelProdukt = new QLabel(QStringLiteral("Brix"), stred);
    QFont f = LabelProdukt->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    LabelProdukt->setFont(f);
    panel->addWidget(LabelProdukt);
    panel->addStretch();
    svisle->addLayout(panel);
    ProgressBar = new QProgressBar(stred);
    ProgressBar->setVisible(false);
    svisle->addWidget(ProgressBar);
    setCentralWidget(stred);

    QHash<QString, QMenu*> menu;
    for (const PrikazMenu& p : PrikazyMenu()) {
        QAction* a = nullptr;
        if (p.text.isEmpty()) {
            a = menuBar()->addAction(p.skupina);
        } else {
            QMenu*& m = menu[p.skupina];
            if (!m) {
                m = menuBar()->addMenu(p.skupina);
                m->setToolTipsVisible(true);
            }
            a = m->addAction(p.text);
        }
        a->setObjectName(p.id);
        if (!p.zkratka.isEmpty()) a->setShortcut(QKeySequence(p.zkratka));
        a->setVisible(!p.skryty);
        const QString id = p.id;
        connect(a, &QAction::triggered, this, [this, id] { spustPrikaz(id); });
        akce_.insert(p.id, a);
        if (p.pravo.isEmpty()) povoleno_.insert(p.id);
        obnov(p.id);
    }

    auto stav = [this](const char* jmeno) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(jmeno));
        l->setTextFormat(Qt::PlainText);
        statusBar()->addWidget(l);
        return l;
    };
    LabelUzivatel = stav("LabelUzivatel");
    LabelFirma = stav("LabelFirma");
    LabelKoren = stav("LabelKoren");
    statusBar()->setSizeGripEnabled(false);

    // Small, but the whole menu shows: no menu hides behind the overflow button.
    setMinimumWidth(menuBar()->sizeHint().width() + 8);
    resize(std::max(420, minimumWidth()), sizeHint().height());
}

void TFormMenu::zobrazStav(const QString& uzivatel, const QString& firma, const QString& koren) {
    LabelUzivatel->setText(QStringLiteral("Uživatel: ") + uzivatel);
    LabelFirma->setText(QStringLiteral("Firma: ") + firma);
    LabelKoren->setText(QStringLiteral("Data: ") + QDir::toNativeSeparators(koren));
    LabelFirma->setVisible(!firma.trimmed().isEmpty());
    LabelKoren->setToolTip(QDir::toNativeSeparators(koren));
    // The status line may be wider than the menu: the window grows to show it, within the
    // screen (a long path of the data root is shortened in the middle, whole in its tip).
    int potreba = 24;
    for (QLabel* l : {LabelUzivatel, LabelFirma, LabelKoren})
        if (!l->isHidden()) potreba += l->fontMetrics().horizontalAdvance(l->text()) + 16;
    const int nejvic = screen() ? screen()->availableGeometry().width() * 3 / 4 : 1000;
    if (potreba > nejvic) {
        const QString cesta = QDir::toNativeSeparators(koren);
        const int zbyva = LabelKoren->fontMetrics().horizontalAdvance(cesta) - (potreba - nejvic);
        LabelKoren->setText(
            QStringLiteral("Data: ") +
            LabelKoren->fontMetrics().elidedText(cesta, Qt::ElideMiddle, std::max(zbyva, 80)));
        potreba = nejvic;
    }
    resize(std::max(width(), potreba), height());
}

void TFormMenu::closeEvent(QCloseEvent* e) {
    rememberFormGeometry(*this);
    QMainWindow::closeEvent(e);
}

void TFormMenu::nastavObsluhu(const QString& id, std::function<void()> obsluha) {
    if (!akce_.contains(id)) return;
    obsluhy_.insert(id, std::move(obsluha));
    obnov(id);
}

void TFormMenu::povolPrava(const QSet<QString>& moduly) {
    for (const QString& id : PrikazyPovolenePravy(moduly)) {
        povoleno_.insert(id);
        obnov(id);
    }
}

bool TFormMenu::povolenoPravem(const QString& id) const {
    return povoleno_.contains(id);
}

bool TFormMenu::pouzitelny(const QString& id) const {
    return povoleno_.contains(id) && obsluhy_.contains(id);
}

void TFormMenu::spustPrikaz(const QString& id) {
    if (!povoleno_.contains(id)) return;
    if (!obsluhy_.contains(id)) {
        Platform::current().information(kPripravujeSe);
        return;
    }
    const auto obsluha = obsluhy_.value(id); // a copy: the handler may rewire commands
    obsluha();
}

void TFormMenu::obnov(const QString& id) {
    QAction* a = akce_.value(id);
    if (!a) return;
    const bool postaven = obsluhy_.contains(id);
    a->setEnabled(povoleno_.contains(id));
    a->setToolTip(postaven ? QString() : kPripravujeSe);
}

} // namespace brix
