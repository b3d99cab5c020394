#include "o_aplikaci.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef BRIX_VERSION
#define BRIX_VERSION "0.1"
#endif

namespace brix {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("O aplikaci"));
    auto* l = new QVBoxLayout(this);
    auto* nazev = new QLabel(QStringLiteral("Brix"), this);
    QFont f = nazev->font();
    f.setPointSize(f.pointSize() * 2);
    f.setBold(true);
    nazev->setFont(f);
    nazev->setAlignment(Qt::AlignCenter);
    l->addWidget(nazev);
    auto* popis = new QLabel(
        QStringLiteral("Sklad, doklady a objednávky obchodu\nVerze %1").arg(verze()), this);
    popis->setAlignment(Qt::AlignCenter);
    l->addWidget(popis);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    l->addWidget(OKButton, 0, Qt::AlignCenter);
    nastavSplash(false);
}

QString TAboutBox::verze() {
    return QStringLiteral(BRIX_VERSION);
}

void TAboutBox::nastavSplash(bool splash) {
    // Always a window of its own: clearing the splash flag alone would leave a child widget
    // drawn inside the main window.
    setWindowFlags(splash ? Qt::SplashScreen | Qt::FramelessWindowHint
                          : Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    OKButton->setVisible(!splash);
    setFixedSize(320, splash ? 180 : 240);
}

} // namespace brix
