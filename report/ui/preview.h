#pragma once
// The preview window "Prohlížení sestavy před tiskem" (`TFormSestP`): the prepared pages of a
// report, one at a time, as the whole sheet on a grey desk at one of eleven zooms, drawn by the
// renderer; moving between pages (the page keys too), printing through the print dialog,
// saving to files, searching the text, the application's custom command and, when the
// designer opened it, the way back to the designer.
//
// Its result is 1 when "Zavřít náhled" closes it, 0 for any other close ("Oprava předlohy...",
// Escape, the window's close button). Every box and dialog goes through the platform layer.

#include "previewsearch.h"
#include "sestava.h"

#include <QDialog>

#include <array>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QScrollArea;
class QToolBar;

namespace brix::report {

struct TPrintDialogTyp;
class RunState;

// The zooms in per cent, and the index of the one nearest to a percentage.
const std::array<int, 11>& previewZooms();
int nearestZoomIndex(int percent);

// The desk with the sheet of the current page: the paper (turned for landscape) at the zoom,
// the page's elements at the margins, drawn straight from the page model when painted (only
// the part the window shows), a search hit marked.
class PreviewSheet : public QWidget {
    Q_OBJECT
public:
    explicit PreviewSheet(QWidget* parent = nullptr);

    void setPages(const TSestVystup* output, const PageSetup& page);
    void setPage(int index);
    void setScale(double scale);
    double scale() const { return scale_; }
    // A rectangle of the page (report units from the printable area) marked; empty: none.
    void setMark(const QRectF& rect);
    // The sheet and the mark in the widget's pixels.
    QRect sheetRect() const;
    QRect markRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TSestVystup* output_ = nullptr;
    PageSetup page_;
    int index_ = 0;
    double scale_ = 1.0;
    QRectF mark_;
};

class TFormSestP : public QDialog {
    Q_OBJECT
public:
    TFormSestP(TSestava& report, const PreviewRequest& request = {}, QWidget* parent = nullptr);
    ~TFormSestP() override;

    TSestava& report() const { return report_; }
    int pageCount() const;
    int currentPage() const { return current_; } // from 0
    void setCurrentPage(int index);              // limited to the pages
    int zoom() const;                            // per cent
    void setZoomIndex(int index);
    bool fromDesigner() const { return fromDesigner_; }
    const TextHit& lastHit() const { return hit_; }

    // --- commands --------------------------------------------------------------------------
    void ZavritClick();
    void OpravaClick();
    void TiskClick();
    void VlastniClick();
    void PrvniClick();
    void PredchoziClick();
    void DalsiClick();
    void PosledniClick();
    void StrankaClick();
    void HledatClick();
    void HledatDalsiClick();
    void UlozClick(int kind); // a PreviewSave

    // The page the answer of "Zobrazit stránku ..." shows: 0 or less the first, past the last
    // the last; -1 when the text is not a whole number (nothing changes).
    static int pageOfAnswer(const QString& answer, int pageCount);

    QAction* ActionZavrit = nullptr;
    QAction* ActionOprava = nullptr;
    QAction* ActionTisk = nullptr;
    QAction* ActionVlastni = nullptr;
    QAction* ActionPrvni = nullptr;
    QAction* ActionPredchozi = nullptr;
    QAction* ActionDalsi = nullptr;
    QAction* ActionPosledni = nullptr;
    QAction* ActionStranka = nullptr;
    QAction* ActionHledat = nullptr;
    QAction* ActionHledatDalsi = nullptr;
    QMenu* MenuUlozit = nullptr;
    QList<QAction*> SaveActions; // in the order of PreviewSave
    QList<QAction*> ZoomActions;
    QComboBox* ComboZoom = nullptr;
    QToolBar* ToolBar = nullptr;
    QScrollArea* ScrollBox = nullptr;
    PreviewSheet* Sheet = nullptr;
    QLabel* PanelAktualni = nullptr;
    QLabel* PanelCelkem = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void showPages();
    void updateState();
    void search(bool next);
    void takeFocusBack();
    // Shows the template the print dialog chose; false when its run failed (the pages stay).
    bool previewOther(const TPrintDialogTyp& settings);

    TSestava& report_;
    bool fromDesigner_ = false;
    int current_ = 0;
    int zoomIndex_ = 6;
    QString searchText_;
    TextHit hit_;
    // The template the window was opened with, while it shows another the print dialog chose.
    std::unique_ptr<RunState> opened_;
};

// Opens the preview of the report's prepared pages through the platform; gives its result.
int showPreviewWindow(TSestava& report, const PreviewRequest& request);

} // namespace brix::report
