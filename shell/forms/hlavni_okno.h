#pragma once
// The main window: the product panel, the hidden progress bar of the statistics and the main
// menu built from the table of commands. A command is usable when its form is wired and, for a
// command bound to a right, once the login has granted that right.

#include <QHash>
#include <QMainWindow>
#include <QSet>

#include <functional>

class QAction;
class QProgressBar;
class QLabel;

namespace brix {

class TFormMenu : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormMenu(QWidget* parent = nullptr);

    static QString vychoziTitulek() { return QStringLiteral("Brix"); }

    // Gives the command its handler; a command without one shows "Připravuje se".
    void nastavObsluhu(const QString& id, std::function<void()> obsluha);
    // Enables the commands of the granted module codes (never disables one).
    void povolPrava(const QSet<QString>& moduly);

    QAction* akce(const QString& id) const { return akce_.value(id); }
    // The command's right has been granted (or it needs none), whether or not its form exists.
    bool povolenoPravem(const QString& id) const;
    // The command can be used now.
    bool pouzitelny(const QString& id) const;
    // Runs a command as its menu item would (nothing when it is not usable).
    void spustPrikaz(const QString& id);

    QProgressBar* ProgressBar = nullptr;
    QLabel* LabelProdukt = nullptr;

private:
    void obnov(const QString& id);

    QHash<QString, QAction*> akce_;
    QHash<QString, std::function<void()>> obsluhy_;
    QSet<QString> povoleno_;
};

} // namespace brix
