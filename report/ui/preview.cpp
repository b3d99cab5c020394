#include "preview.h"

#include "paper.h"
#include "platform.h"
#include "previewfiles.h"
#include "previewprint.h"
#include "printdialog.h"
#include "render.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace brix::report {

namespace {

// The desk around the sheet, in pixels.
constexpr int kDesk = 16;
constexpr int kShadow = 4;
const QColor kDeskColor(128, 128, 128);

const QString kZoomHint = QStringLiteral("Zobrazení v měřítku [%]");

struct SaveCommand {
    PreviewSave kind;
    const char16_t* caption;
};
// "Uložit do souboru": the Part's commands and the PDF file.
constexpr SaveCommand kSaveCommands[] = {
    {PreviewSave::Text, u"Textový soubor..."},
    {PreviewSave::Rtf, u"Soubor ve formátu RTF..."},
    {PreviewSave::Pdf, u"Soubor ve formátu PDF..."},
    {PreviewSave::MetafilePage, u"Aktuální stránku jako EMF/WMF..."},
    {PreviewSave::MetafilePages, u"Všechny stránky jako EMF/WMF..."},
    {PreviewSave::HtmlPage, u"Aktuální stránku jako HTML..."},
    {PreviewSave::HtmlPages, u"Všechny stránky jako HTML..."},
};

QIcon standardIcon(QStyle::StandardPixmap pixmap, const char* theme = nullptr) {
    const QIcon fallback = QApplication::style()->standardIcon(pixmap);
    return theme ? QIcon::fromTheme(QLatin1String(theme), fallback) : fallback;
}

// The style has no printer among its pictures: a drawn one where the desktop theme has none.
QIcon printerIcon() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 3, 14, 10)); // the paper going in
    p.setBrush(QColor(150, 150, 155));
    p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2); // the body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 19, 16, 10)); // the printed sheet
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawLine(QPointF(11, 23), QPointF(21, 23));
    p.drawLine(QPointF(11, 26), QPointF(19, 26));
    p.end();
    return QIcon::fromTheme(QStringLiteral("document-print"), QIcon(pm));
}

} // namespace

const std::array<int, 11>& previewZooms() {
    static const std::array<int, 11> zooms{32, 40, 50, 64, 75, 83, 100, 120, 150, 200, 300};
    return zooms;
}

int nearestZoomIndex(int percent) {
    const auto& z = previewZooms();
    int best = 0;
    for (int i = 1; i < int(z.size()); ++i)
        if (std::abs(z[size_t(i)] - percent) < std::abs(z[size_t(best)] - percent)) best = i;
    return best;
}

// ---- the sheet ----------------------------------------------------------------------------

PreviewSheet::PreviewSheet(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PreviewSheet"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewSheet::setPages(const TSestVystup* output, const PageSetup& page) {
    output_ = output;
    page_ = page;
    updateGeometry();
    update();
}

void PreviewSheet::setPage(int index) {
    index_ = index;
    mark_ = QRectF();
    update();
}

void PreviewSheet::setScale(double scale) {
    scale_ = scale;
    updateGeometry();
    update();
}

void PreviewSheet::setMark(const QRectF& rect) {
    mark_ = rect;
    update();
}

QSize PreviewSheet::sizeHint() const {
    const QSizeF paper = reportPaper(page_);
    return QSize(int(std::lround(paper.width() * scale_)) + 2 * kDesk + kShadow,
                 int(std::lround(paper.height() * scale_)) + 2 * kDesk + kShadow);
}

QRect PreviewSheet::sheetRect() const {
    const QSizeF paper = reportPaper(page_);
    const int w = int(std::lround(paper.width() * scale_));
    const int h = int(std::lround(paper.height() * scale_));
    // Centred across a desk wider than the sheet, at the top of a taller one.
    const int x = std::max(kDesk, (width() - w - kShadow) / 2);
    return QRect(x, kDesk, w, h);
}

QRect PreviewSheet::markRect() const {
    if (mark_.isEmpty()) return QRect();
    const QRect sheet = sheetRect();
    const QPointF origin(sheet.left() + page_.marginLeft * scale_,
                         sheet.top() + page_.marginTop * scale_);
    const QRectF r(origin + mark_.topLeft() * scale_, mark_.size() * scale_);
    return r.toAlignedRect().adjusted(-1, -1, 1, 1);
}

void PreviewSheet::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect sheet = sheetRect();
    // Every pixel once: the desk around the sheet, its shadow, the white sheet.
    const QRect shown = event->rect();
    for (const QRect& r : QRegion(shown).subtracted(QRegion(sheet)))
        p.fillRect(r, kDeskColor);
    p.fillRect(QRect(sheet.left() + kShadow, sheet.bottom() + 1, sheet.width(), kShadow) & shown,
               QColor(64, 64, 64));
    p.fillRect(QRect(sheet.right() + 1, sheet.top() + kShadow, kShadow, sheet.height()) & shown,
               QColor(64, 64, 64));
    p.fillRect(sheet & shown, Qt::white);
    if (!output_ || index_ < 0 || index_ >= output_->pageCount()) return;
    p.save();
    p.setClipRect(sheet & event->rect());
    // The renderer's origin is the printable area: the sheet moved by the margins.
    p.translate(sheet.left() + std::lround(page_.marginLeft * scale_),
                sheet.top() + std::lround(page_.marginTop * scale_));
    renderPage(p, *output_, index_, scale_);
    p.restore();
    const QRect mark = markRect();
    if (!mark.isEmpty()) {
        p.fillRect(mark, QColor(255, 230, 0, 110));
        p.setPen(QColor(230, 120, 0));
        p.drawRect(mark.adjusted(0, 0, -1, -1));
    }
}

// ---- the window ---------------------------------------------------------------------------

TFormSestP::TFormSestP(TSestava& report, const PreviewRequest& request, QWidget* parent)
    : QDialog(parent), report_(report), fromDesigner_(request.fromDesigner),
      zoomIndex_(nearestZoomIndex(request.zoom)) {
    setObjectName(QStringLiteral("FormSestP"));
    setWindowTitle(QStringLiteral("Prohlížení sestavy před tiskem"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);

    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    buildActions();
    buildMenus();
    buildToolBar();
    l->addWidget(ToolBar);

    ScrollBox = new QScrollArea(this);
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    ScrollBox->setWidgetResizable(true);
    ScrollBox->setBackgroundRole(QPalette::Dark);
    ScrollBox->setFocusPolicy(Qt::StrongFocus);
    Sheet = new PreviewSheet;
    ScrollBox->setWidget(Sheet);
    l->addWidget(ScrollBox, 1);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    PanelAktualni = new QLabel(status);
    PanelAktualni->setObjectName(QStringLiteral("PanelAktualni"));
    PanelCelkem = new QLabel(status);
    PanelCelkem->setObjectName(QStringLiteral("PanelCelkem"));
    status->addWidget(PanelAktualni);
    status->addWidget(PanelCelkem);
    l->addWidget(status);

    Sheet->setScale(previewZooms()[size_t(zoomIndex_)] / 100.0);
    showPages();

    // The window's place: as asked, else most of the screen.
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, 1024, 768);
    switch (request.position) {
    case PreviewRequest::Position::Designed:
        if (!request.rect.isEmpty()) setGeometry(request.rect);
        break;
    case PreviewRequest::Position::ScreenCenter:
        if (!request.rect.isEmpty()) resize(request.rect.size());
        move(screen.center() - rect().center());
        break;
    case PreviewRequest::Position::Default:
        resize(std::min(screen.width(), 1000), std::min(screen.height(), screen.height() * 9 / 10));
        break;
    }
    if (request.state == PreviewRequest::State::Maximized)
        setWindowState(Qt::WindowMaximized);
    else if (request.state == PreviewRequest::State::Minimized)
        setWindowState(Qt::WindowMinimized);
}

TFormSestP::~TFormSestP() = default;

void TFormSestP::buildActions() {
    auto make = [this](const QString& caption, const QString& hint, QStyle::StandardPixmap icon,
                       const char* theme, auto slot) {
        auto* a = new QAction(standardIcon(icon, theme), caption, this);
        a->setToolTip(hint);
        a->setStatusTip(hint);
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
        return a;
    };
    ActionZavrit = make(QStringLiteral("Zavřít náhled"),
                        fromDesigner_ ? QStringLiteral("Ukončit opravu předlohy")
                                      : QStringLiteral("Zavřít náhled"),
                        QStyle::SP_DialogCloseButton, "window-close", &TFormSestP::ZavritClick);
    ActionOprava =
        make(QStringLiteral("Oprava předlohy..."), QStringLiteral("Návrat k opravě předlohy..."),
             QStyle::SP_FileDialogDetailedView, "document-edit", &TFormSestP::OpravaClick);
    ActionOprava->setVisible(fromDesigner_);
    ActionOprava->setEnabled(fromDesigner_);
    ActionTisk = make(QStringLiteral("Tisk náhledu..."), QStringLiteral("Tisk náhledu..."),
                      QStyle::SP_DialogSaveButton, nullptr, &TFormSestP::TiskClick);
    ActionTisk->setIcon(printerIcon());
    ActionVlastni = make(report_.PreviewCustomCaption, report_.PreviewCustomCaption,
                         QStyle::SP_CommandLink, nullptr, &TFormSestP::VlastniClick);
    ActionVlastni->setVisible(bool(report_.OnPreviewCustomEvent));
    ActionPrvni = make(QStringLiteral("První stránka"), QStringLiteral("První stránka"),
                       QStyle::SP_MediaSkipBackward, "go-first", &TFormSestP::PrvniClick);
    ActionPrvni->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Home));
    ActionPredchozi = make(QStringLiteral("Předchozí stránka"), QStringLiteral("Předchozí stránka"),
                           QStyle::SP_ArrowBack, "go-previous", &TFormSestP::PredchoziClick);
    ActionPredchozi->setShortcut(QKeySequence(Qt::Key_PageUp));
    ActionDalsi = make(QStringLiteral("Následující stránka"), QStringLiteral("Následující stránka"),
                       QStyle::SP_ArrowForward, "go-next", &TFormSestP::DalsiClick);
    ActionDalsi->setShortcut(QKeySequence(Qt::Key_PageDown));
    ActionPosledni = make(QStringLiteral("Poslední stránka"), QStringLiteral("Poslední stránka"),
                          QStyle::SP_MediaSkipForward, "go-last", &TFormSestP::PosledniClick);
    ActionPosledni->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_End));
    ActionStranka =
        make(QStringLiteral("Zobrazit stránku ..."), QStringLiteral("Zobrazit stránku ..."),
             QStyle::SP_FileDialogListView, "go-jump", &TFormSestP::StrankaClick);
    ActionHledat = make(QStringLiteral("Hledat v textu..."), QStringLiteral("Hledat v textu..."),
                        QStyle::SP_FileDialogContentsView, "edit-find", &TFormSestP::HledatClick);
    ActionHledat->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    ActionHledatDalsi =
        make(QStringLiteral("Hledat další"), QStringLiteral("Hledat další"),
             QStyle::SP_FileDialogContentsView, nullptr, &TFormSestP::HledatDalsiClick);
    ActionHledatDalsi->setShortcut(QKeySequence(Qt::Key_F3));
    for (QAction* a : {ActionPrvni, ActionPredchozi, ActionDalsi, ActionPosledni, ActionHledat,
                       ActionHledatDalsi})
        a->setShortcutContext(Qt::WindowShortcut);

    auto* zooms = new QActionGroup(this);
    for (int i = 0; i < int(previewZooms().size()); ++i) {
        auto* a = new QAction(QStringLiteral("%1 %").arg(previewZooms()[size_t(i)]), this);
        a->setCheckable(true);
        a->setToolTip(kZoomHint);
        a->setStatusTip(kZoomHint);
        zooms->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { setZoomIndex(i); });
        ZoomActions << a;
    }
    for (const SaveCommand& c : kSaveCommands) {
        auto* a = new QAction(QString::fromUtf16(c.caption), this);
        a->setStatusTip(a->text());
        const int kind = int(c.kind);
        connect(a, &QAction::triggered, this, [this, kind] { UlozClick(kind); });
        SaveActions << a;
    }
}

void TFormSestP::buildMenus() {
    auto* bar = new QMenuBar(this);
    QMenu* soubor = bar->addMenu(QStringLiteral("&Soubor"));
    soubor->addAction(ActionTisk);
    MenuUlozit = soubor->addMenu(QStringLiteral("Uložit do souboru"));
    MenuUlozit->setIcon(standardIcon(QStyle::SP_DialogSaveButton, "document-save"));
    MenuUlozit->addActions(SaveActions);
    soubor->addSeparator();
    soubor->addAction(ActionVlastni);
    soubor->addAction(ActionOprava);
    soubor->addSeparator();
    soubor->addAction(ActionZavrit);
    QMenu* strana = bar->addMenu(QStringLiteral("S&tránka"));
    strana->addActions({ActionPrvni, ActionPredchozi, ActionDalsi, ActionPosledni});
    strana->addSeparator();
    strana->addAction(ActionStranka);
    strana->addSeparator();
    strana->addActions({ActionHledat, ActionHledatDalsi});
    QMenu* meritko = bar->addMenu(QStringLiteral("&Měřítko"));
    meritko->setToolTipsVisible(true);
    meritko->addActions(ZoomActions);
    layout()->setMenuBar(bar);
}

void TFormSestP::buildToolBar() {
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setIconSize(QSize(20, 20));
    auto addWithText = [this](QAction* a) {
        ToolBar->addAction(a);
        if (auto* b = qobject_cast<QToolButton*>(ToolBar->widgetForAction(a)))
            b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    };
    addWithText(ActionZavrit);
    addWithText(ActionOprava);
    ToolBar->addSeparator();
    addWithText(ActionTisk);
    auto* save = new QToolButton(ToolBar);
    save->setObjectName(QStringLiteral("ButtonUlozit"));
    save->setText(QStringLiteral("Uložit do souboru"));
    save->setToolTip(QStringLiteral("Uložit do souboru"));
    save->setIcon(standardIcon(QStyle::SP_DialogSaveButton, "document-save"));
    save->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    save->setMenu(MenuUlozit);
    save->setPopupMode(QToolButton::InstantPopup);
    ToolBar->addWidget(save);
    addWithText(ActionVlastni);
    ToolBar->addSeparator();
    ToolBar->addActions({ActionPrvni, ActionPredchozi, ActionDalsi, ActionPosledni});
    ToolBar->addAction(ActionStranka);
    ToolBar->addSeparator();
    ComboZoom = new QComboBox(ToolBar);
    ComboZoom->setObjectName(QStringLiteral("ComboZoom"));
    ComboZoom->setToolTip(kZoomHint);
    ComboZoom->setStatusTip(kZoomHint);
    ComboZoom->setFocusPolicy(Qt::ClickFocus);
    for (QAction* a : ZoomActions)
        ComboZoom->addItem(a->text());
    connect(ComboZoom, &QComboBox::activated, this, &TFormSestP::setZoomIndex);
    ToolBar->addWidget(ComboZoom);
    ToolBar->addSeparator();
    ToolBar->addAction(ActionHledat);
}

void TFormSestP::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ScrollBox->setFocus();
}

int TFormSestP::pageCount() const {
    return report_.output.pageCount();
}

void TFormSestP::showPages() {
    Sheet->setPages(&report_.output, report_.definition.page);
    current_ = std::clamp(current_, 0, std::max(0, pageCount() - 1));
    hit_ = TextHit();
    Sheet->setPage(current_);
    updateState();
}

void TFormSestP::updateState() {
    const int n = pageCount();
    PanelAktualni->setText(QStringLiteral("Aktuální stránka: %1").arg(n ? current_ + 1 : 0));
    PanelCelkem->setText(QStringLiteral("Celkem stran: %1").arg(n));
    ActionPrvni->setEnabled(current_ > 0);
    ActionPredchozi->setEnabled(current_ > 0);
    ActionDalsi->setEnabled(current_ + 1 < n);
    ActionPosledni->setEnabled(current_ + 1 < n);
    ZoomActions[zoomIndex_]->setChecked(true);
    ComboZoom->setCurrentIndex(zoomIndex_);
}

void TFormSestP::setCurrentPage(int index) {
    index = std::clamp(index, 0, std::max(0, pageCount() - 1));
    if (index != current_) {
        current_ = index;
        Sheet->setPage(index);
        ScrollBox->verticalScrollBar()->setValue(0);
    }
    updateState();
}

int TFormSestP::zoom() const {
    return previewZooms()[size_t(zoomIndex_)];
}

void TFormSestP::setZoomIndex(int index) {
    if (index < 0 || index >= int(previewZooms().size())) return;
    zoomIndex_ = index;
    Sheet->setScale(zoom() / 100.0);
    updateState();
}

// ---- commands -------------------------------------------------------------------------------

void TFormSestP::ZavritClick() {
    done(1);
}

void TFormSestP::OpravaClick() {
    if (fromDesigner_) done(0);
}

void TFormSestP::VlastniClick() {
    if (!report_.OnPreviewCustomEvent) return;
    report_.OnPreviewCustomEvent(report_, current_);
    showPages();
}

void TFormSestP::PrvniClick() {
    setCurrentPage(0);
}

void TFormSestP::PredchoziClick() {
    setCurrentPage(current_ - 1);
}

void TFormSestP::DalsiClick() {
    setCurrentPage(current_ + 1);
}

void TFormSestP::PosledniClick() {
    setCurrentPage(pageCount() - 1);
}

int TFormSestP::pageOfAnswer(const QString& answer, int pageCount) {
    bool ok = false;
    const qlonglong n = answer.trimmed().toLongLong(&ok);
    if (!ok) return -1;
    return int(std::clamp<qlonglong>(n, 1, std::max(1, pageCount))) - 1;
}

void TFormSestP::StrankaClick() {
    QString value = QString::number(current_ + 1);
    if (!Platform::current().inputQuery(QStringLiteral("Výběr stránky"),
                                        QStringLiteral("Stránka číslo:"), value))
        return;
    const int page = pageOfAnswer(value, pageCount());
    if (page >= 0) setCurrentPage(page);
    takeFocusBack();
}

void TFormSestP::takeFocusBack() {
    // The page keys go on working after a box has closed.
    activateWindow();
    ScrollBox->setFocus();
}

void TFormSestP::search(bool next) {
    const TextHit* after = next && hit_.found() ? &hit_ : nullptr;
    const TextHit hit = findText(report_.output, searchText_, current_, after);
    if (!hit.found()) {
        hit_ = TextHit();
        Sheet->setMark(QRectF());
        Platform::current().information(QStringLiteral("Hledaný text nebyl nalezen"),
                                        QStringLiteral("Informace"));
        takeFocusBack();
        return;
    }
    takeFocusBack();
    setCurrentPage(hit.page);
    hit_ = hit;
    Sheet->setMark(hit.rect);
    const QRect mark = Sheet->markRect();
    ScrollBox->ensureVisible(mark.center().x(), mark.center().y(), mark.width() / 2 + 40,
                             mark.height() / 2 + 40);
}

void TFormSestP::HledatClick() {
    QString value = searchText_;
    if (!Platform::current().inputQuery(QStringLiteral("Hledání"), QStringLiteral("Hledaný text:"),
                                        value) ||
        value.isEmpty())
        return;
    searchText_ = value;
    search(false);
}

void TFormSestP::HledatDalsiClick() {
    if (searchText_.isEmpty()) {
        HledatClick();
        return;
    }
    search(true);
}

void TFormSestP::UlozClick(int kind) {
    const auto k = PreviewSave(kind);
    const PreviewSaveFormat format = previewSaveFormat(k);
    Platform& ui = Platform::current();
    QString file = ui.saveFileName(QStringLiteral("Výběr souboru"), report_.templateDirectory(),
                                   format.filter);
    if (file.isEmpty()) return;
    file = withDefaultExtension(file, format.extension);
    BusyCursor busy;
    if (!savePreview(report_, k, file, current_))
        ui.error(QStringLiteral("Výstupní soubor se nepodařilo uložit."));
}

void TFormSestP::TiskClick() {
    Platform& ui = Platform::current();
    if (ui.printers().isEmpty()) {
        ui.warning(QStringLiteral("V systému není nainstalovaná žádná tiskárna."),
                   QStringLiteral("Varování"));
        return;
    }
    TSestPrintDlg dialog(report_, this);
    const int answer = ui.execModal(dialog);
    if (answer == TSestPrintDlg::PreviewResult) {
        previewOther(dialog.settings());
        return;
    }
    if (answer != QDialog::Accepted) return;
    const int result = printFromPreview(report_, dialog.settings(), current_);
    showPages();
    // A failed run has said why; a cancel needs no word; the printer layer only answers (and
    // a component without one cannot print at all).
    if (result == seOutput || result == seNotReady)
        ui.error(QStringLiteral("Sestavu se nepodařilo vytisknout."));
    else if (result == seNoPrinter)
        ui.warning(QStringLiteral("V systému není nainstalovaná žádná tiskárna."),
                   QStringLiteral("Varování"));
}

bool TFormSestP::previewOther(const TPrintDialogTyp& settings) {
    if (!needsOwnRun(report_, settings)) return true;
    // The template the window opened with comes back when it closes; the one shown before is
    // left for the new one.
    auto shown = std::make_unique<RunState>(report_);
    shown->apply(settings.templateFile, settings.oneRecord);
    const int result = report_.Prepare();
    if (result != seOk) {
        shown.reset(); // the pages shown before
        showPages();
        return false;
    }
    if (!opened_) {
        opened_ = std::move(shown);
        opened_->keepPages();
    } else {
        // Only the template the window opened with is put back; this run's pages stay.
        shown->forget();
    }
    current_ = 0;
    showPages();
    return true;
}

int showPreviewWindow(TSestava& report, const PreviewRequest& request) {
    TFormSestP window(report, request, QApplication::activeWindow());
    return Platform::current().execModal(window) == 1 ? 1 : 0;
}

} // namespace brix::report
