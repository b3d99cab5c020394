#pragma once
// The main window: the product panel, the hidden progress bar of the statistics, the main menu
// built from the table of commands and a status line with the logged-in employee, the own
// company and the data root. A command bound to a right is enabled once the login has granted
// it; a command whose form is not built yet says "Připravuje se" when chosen. The window is wide
// enough for its whole menu and opens where it was left on this machine.

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

    // Gives the command its handler; a command without one says "Připravuje se" when chosen.
    void nastavObsluhu(const QString& id, std::function<void()> obsluha);
    // The status line: who works, for which company, on which data root.
    void zobrazStav(const QString& uzivatel, const QString& firma, const QString& koren);
    // Enables the commands of the granted module codes (never disables one).
    void povolPrava(const QSet<QString>& moduly);

    QAction* akce(const QString& id) const { return akce_.value(id); }
    // The command's right has been granted (or it needs none), whether or not its form exists.
    bool povolenoPravem(const QString& id) const;
    // The command can be used now (its right is granted and its form is built).
    bool pouzitelny(const QString& id) const;
    bool postaven(const QString& id) const { return obsluhy_.contains(id); }
    // Runs a command as its menu item would: nothing without its right, "Připravuje se" when
    // its form is not built yet.
    void spustPrikaz(const QString& id);

    QProgressBar* ProgressBar = nullptr;
    QLabel* LabelProdukt = nullptr;
    QLabel* LabelUzivatel = nullptr;
    QLabel* LabelFirma = nullptr;
    QLabel* LabelKoren = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void obnov(const QString& id);

    QHash<QString, QAction*> akce_;
    QHash<QString, std::function<void()>> obsluhy_;
    QSet<QString> povoleno_;
};

} // namespace brix
