// The pattern window: azimuth and elevation plots of the plot list side by side, with a context
// menu for the plot type, azimuth rotations, the legend, clipboard copies, printing and closing.
// It lives for the whole run and is shown modally by the main window.
#pragma once

#include "catalogue/QuvLib.h"
#include "plot/PolarPlotLib.h"

#include <QDialog>
#include <QWidget>

#include <set>
#include <string>

class QAction;
class QLabel;
class QMenu;

namespace quv {

class IPrompt;
class TfrmPattern;
class TSpaceView;

// A paint box that asks the pattern window to draw its cut on every paint.
class TPlotBox : public QWidget {
public:
    TPlotBox(TfrmPattern* form, TPatternCutKind cut);
    TPatternCutKind Cut() const { return cut_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TfrmPattern* form_;
    TPatternCutKind cut_;
};

class TfrmPattern : public QDialog {
    Q_OBJECT
public:
    // `plotList` is the list the window plots (the main window's PlotList); it must outlive the
    // window.
    TfrmPattern(IPrompt& prompt, QWidget* parent, const TQuvFileList& plotList);

    // Shows the window modally through the prompt.
    int Execute();

    TRotationAngles RotationAngles = kNoRotation;
    // What the plots show; the main window hands its own over each time it shows the window.
    TPlotType PlotType = TPlotType::RelativePower;
    // Another maker's pattern drawn dashed over the antennas while the main window has one open.
    const TReferencePattern* Reference = nullptr;

    QWidget* pnlHeader;
    QLabel* lblCaption;
    QLabel* lblHint;
    QLabel* lblStatus;
    TPlotBox* imgAzimuth;
    TPlotBox* imgElevation;
    QMenu* popmnuPatterns;
    QAction* mnuRelativePower;
    QAction* mnuRelativeField;
    QAction* mnuRotate;
    QAction* mnuLegend;
    QMenu* mnuCopyToClipboard;
    QAction* Azimuth1;
    QAction* Elevation1;
    QAction* Print1;
    QAction* mnuClose;
    // The views: the two polar plots, the antenna in 3D, its footprint on the ground.
    QAction* mnuPolarView;
    QAction* mnu3DView;
    QAction* mnuFootprintView;
    TSpaceView* pnlSpace;

    // The plot of one box on its own canvas; conversion errors are reported once per showing.
    void PaintPlot(TPlotBox& box, TCanvas& canvas);
    // The box's plot on a new white bitmap of its size. Throws what the renderer throws.
    QImage PlotImage(const TPlotBox& box) const;
    void CopyPlotToClipboard(TPlotBox& box);

    void mnuRelativePowerClick();
    void mnuRelativeFieldClick();
    void mnuRotateClick();
    void ShowLegend();
    void popmnuPatternsPopup();

signals:
    // Runs the main window's plot type command (its plot type and its menu's check marks).
    void plotTypeChosen(quv::TPlotType plotType);
    // Runs the main window's print command.
    void printRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void FormResize();
    void SyncOuterSize();
    void ChoosePlotType(TPlotType plotType);
    void ShowView(QAction* view);
    void ReportDrawError(const std::string& message);

    IPrompt& prompt_;
    const TQuvFileList& plotList_;
    std::set<std::string> reported_;
    bool sizedOnce_ = false;
    // The opening size waits for the window manager's frame until the user sizes the window.
    bool openingSize_ = false;
    QSize requestedSize_;
    QSize frame_{-1, -1};
};

} // namespace quv
