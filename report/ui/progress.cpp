#include "progress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace brix::report {

namespace {

const QString kText = QStringLiteral("Připravuji tisk položky číslo: ");
// Events are processed at most this often while a run reports.
constexpr qint64 kEventIntervalMs = 25;

} // namespace

TFormPrubehTisku::TFormPrubehTisku(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormPrubehTisku"));
    setWindowTitle(QStringLiteral("Informace"));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(windowFlags() & ~Qt::WindowCloseButtonHint);
    auto* l = new QVBoxLayout(this);
    LabelText = new QLabel(kText + QStringLiteral("1"), this);
    LabelText->setObjectName(QStringLiteral("LabelText"));
    // Room for a long record number, so that the window does not grow while it counts.
    LabelText->setMinimumWidth(LabelText->fontMetrics().horizontalAdvance(kText + "0000000") + 8);
    l->addWidget(LabelText);
    auto* b = new QHBoxLayout;
    b->addStretch();
    ButtonPrerusit = new QPushButton(QStringLiteral("Přerušit"), this);
    ButtonPrerusit->setObjectName(QStringLiteral("ButtonPrerusit"));
    b->addWidget(ButtonPrerusit);
    b->addStretch();
    l->addLayout(b);
    connect(ButtonPrerusit, &QPushButton::clicked, this, [this] { cancelled_ = true; });
}

void TFormPrubehTisku::showRecord() {
    LabelText->setText(kText + QString::number(record_));
}

bool TFormPrubehTisku::progress(int record) {
    if (record > 0) record_ = record;
    if (!sinceEvents_.isValid() || sinceEvents_.elapsed() >= kEventIntervalMs) {
        showRecord();
        QApplication::processEvents();
        sinceEvents_.restart();
    }
    return !cancelled_;
}

void TFormPrubehTisku::closeEvent(QCloseEvent* event) {
    // Only the end of the run closes the window; closing it otherwise cancels.
    cancelled_ = true;
    event->ignore();
}

void TFormPrubehTisku::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cancelled_ = true;
        return;
    }
    QDialog::keyPressEvent(event);
}

std::unique_ptr<ProgressWindow> showProgressWindow(TSestava&) {
    // Without a parent: the window lives only as long as the preparation, whoever owns the
    // window the user started it from.
    QWidget* over = QApplication::activeWindow();
    auto window = std::make_unique<TFormPrubehTisku>();
    window->adjustSize();
    if (over) window->move(over->geometry().center() - window->rect().center());
    window->show();
    window->raise();
    QApplication::processEvents();
    return window;
}

} // namespace brix::report
