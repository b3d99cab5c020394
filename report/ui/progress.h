#pragma once
// The progress window of a report preparation (caption "Informace"): "Připravuji tisk položky
// číslo: " with the record the run has reached, and "Přerušit", which cancels the run (its
// result 3). It keeps the program responsive: pending events are processed while the run
// reports, at most every few milliseconds so that a long run is not slowed down.

#include "sestava.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QPushButton;

namespace brix::report {

class TFormPrubehTisku : public QDialog, public ProgressWindow {
    Q_OBJECT
public:
    explicit TFormPrubehTisku(QWidget* parent = nullptr);

    bool progress(int record) override;
    bool cancelledByUser() const { return cancelled_; }
    int record() const { return record_; }

    QLabel* LabelText = nullptr;
    QPushButton* ButtonPrerusit = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showRecord();
    QElapsedTimer sinceEvents_;
    int record_ = 0;
    bool cancelled_ = false;
};

// The window for one preparation of the component, shown at once.
std::unique_ptr<ProgressWindow> showProgressWindow(TSestava& report);

} // namespace brix::report
