#include "talivzoom.h"

#include "platform.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace brix::report {

// The report's page (grey outline) and the sheets it goes on (blue), to scale.
class SheetDrawing : public QWidget {
public:
    explicit SheetDrawing(QWidget* parent) : QWidget(parent) { setMinimumSize(220, 180); }
    void show(const QSizeF& page, const QSizeF& sheet, const SheetPlan& plan) {
        page_ = page;
        sheet_ = sheet;
        plan_ = plan;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        if (page_.isEmpty() || sheet_.isEmpty()) return;
        const double k = plan_.percent / 100.0;
        // Everything drawn in the report's units, fitted to the widget.
        double w = page_.width() * k, h = page_.height() * k;
        if (plan_.mode == OversizeMode::Tile && plan_.columns > 0) {
            w = std::max(w, (plan_.columns - 1) * plan_.stepX + sheet_.width());
            h = std::max(h, (plan_.rows - 1) * plan_.stepY + sheet_.height());
        } else {
            w = std::max(w, sheet_.width());
            h = std::max(h, sheet_.height());
        }
        const double f = std::min((width() - 10) / w, (height() - 10) / h);
        p.translate(5, 5);
        p.scale(f, f);
        p.setRenderHint(QPainter::Antialiasing);
        // The sheets first, the page's outline over them.
        p.setBrush(QColor(210, 225, 255, 150));
        p.setPen(QPen(QColor(0, 0, 160), 0));
        const int cols = plan_.mode == OversizeMode::Tile ? plan_.columns : 1;
        const int rows = plan_.mode == OversizeMode::Tile ? plan_.rows : 1;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                p.drawRect(
                    QRectF(c * plan_.stepX, r * plan_.stepY, sheet_.width(), sheet_.height()));
        QPen outline(QColor(60, 60, 60), 2);
        outline.setCosmetic(true);
        p.setPen(outline);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(0, 0, page_.width() * k, page_.height() * k));
    }

private:
    QSizeF page_, sheet_;
    SheetPlan plan_;
};

namespace {

QString sizeText(const QSizeF& s) {
    return QStringLiteral("%1 x %2").arg(qRound(s.width())).arg(qRound(s.height()));
}

} // namespace

TFormTalivReportZoom::TFormTalivReportZoom(int printerIndex, const PageSetup& page, QWidget* parent)
    : QDialog(parent), printer_(printerIndex), page_(page) {
    setObjectName(QStringLiteral("FormTalivReportZoom"));
    setWindowTitle(QStringLiteral("Taliv - možnosti tisku"));
    auto* main = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* sizes = new QGridLayout;
    sizes->addWidget(new QLabel(QStringLiteral("Formát tiskové sestavy:"), this), 0, 0);
    LabelSestava = new QLabel(this);
    LabelSestava->setObjectName(QStringLiteral("LabelSestava"));
    sizes->addWidget(LabelSestava, 0, 1);
    sizes->addWidget(new QLabel(QStringLiteral("Formát média v tiskárně:"), this), 1, 0);
    LabelMedium = new QLabel(this);
    LabelMedium->setObjectName(QStringLiteral("LabelMedium"));
    sizes->addWidget(LabelMedium, 1, 1);
    left->addLayout(sizes);
    auto* options = new QGroupBox(QStringLiteral("Možnosti tisku:"), this);
    auto* o = new QGridLayout(options);
    RadioOriznout = new QRadioButton(QStringLiteral("Oříznout tiskovou sestavu"), options);
    RadioZmensit = new QRadioButton(QStringLiteral("Zmenšit měřítko tisku"), options);
    RadioListy = new QRadioButton(QStringLiteral("Tisknout na více listů"), options);
    LabelMeritko = new QLabel(options);
    LabelMeritko->setObjectName(QStringLiteral("LabelMeritko"));
    o->addWidget(RadioOriznout, 0, 0);
    o->addWidget(RadioZmensit, 1, 0);
    o->addWidget(LabelMeritko, 1, 1);
    o->addWidget(RadioListy, 2, 0);
    RadioZmensit->setChecked(true);
    left->addWidget(options);
    drawing_ = new SheetDrawing(this);
    left->addWidget(drawing_, 1);
    main->addLayout(left, 1);

    auto* buttons = new QVBoxLayout;
    ButtonTisknout = new QPushButton(QStringLiteral("Tisknout"), this);
    ButtonTisknout->setDefault(true);
    ButtonStorno = new QPushButton(QStringLiteral("Storno"), this);
    ButtonOtocit = new QPushButton(QStringLiteral("Otočit médium v tiskárně"), this);
    ButtonTiskarna = new QPushButton(QStringLiteral("Tiskárna..."), this);
    for (QPushButton* b : {ButtonTisknout, ButtonStorno, ButtonOtocit, ButtonTiskarna}) {
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(b->text()) + 32);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    main->addLayout(buttons);

    for (QRadioButton* r : {RadioOriznout, RadioZmensit, RadioListy})
        connect(r, &QRadioButton::toggled, this, [this] { refresh(); });
    connect(ButtonTisknout, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonStorno, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonOtocit, &QPushButton::clicked, this, [this] {
        Platform& ui = Platform::current();
        ui.setPrinterLandscape(printer_, !ui.printerDetails(printer_).landscape);
        refresh();
    });
    connect(ButtonTiskarna, &QPushButton::clicked, this, [this] {
        if (Platform::current().printerProperties(printer_)) refresh();
    });
    refresh();
}

void TFormTalivReportZoom::refresh() {
    sheet_ = Platform::current().printerDetails(printer_).paper;
    const QSizeF page = reportPaper(page_);
    LabelSestava->setText(sizeText(page));
    LabelMedium->setText(sizeText(sheet_));
    LabelMeritko->setText(QStringLiteral("%1 %").arg(reducedPercent(page, sheet_)));
    // Tiling needs room on the sheet between the margins.
    const SheetPlan tile = planSheets(OversizeMode::Tile, page, sheet_, reportMargins(page_));
    const bool canTile = tile.columns > 0;
    RadioListy->setEnabled(canTile);
    if (!canTile && RadioListy->isChecked()) RadioZmensit->setChecked(true);
    drawing_->show(page, sheet_, plan());
}

OversizeMode TFormTalivReportZoom::mode() const {
    if (RadioOriznout->isChecked()) return OversizeMode::Cut;
    if (RadioListy->isChecked() && RadioListy->isEnabled()) return OversizeMode::Tile;
    return OversizeMode::Reduce;
}

SheetPlan TFormTalivReportZoom::plan() const {
    return planSheets(mode(), reportPaper(page_), sheet_, reportMargins(page_));
}

OversizeChooser zoomDialogChooser(QWidget* parent) {
    return [parent](const OversizeQuestion& q) -> std::optional<SheetPlan> {
        TFormTalivReportZoom dlg(q.printerIndex, q.page, parent);
        if (Platform::current().execModal(dlg) != QDialog::Accepted) return std::nullopt;
        return dlg.plan();
    };
}

void installPrintingWithDialogs(TSestava& report, QWidget* parent) {
    installPrinting(report, PrintHooks{zoomDialogChooser(parent)});
}

} // namespace brix::report
