#pragma once
// The about box with the product name and version; at start-up it serves as the splash.

#include <QDialog>

class QPushButton;

namespace brix {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    static QString verze();
    // Splash: no border, no OK button, 180 pixels high; back: dialog border, OK, 240 high.
    void nastavSplash(bool splash);

    QPushButton* OKButton = nullptr;
};

} // namespace brix
