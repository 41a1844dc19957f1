// The pattern window's "3D" and "Footprint" views: the plotted antennas in space, with the mast
// height, mechanical tilt, method, path-loss slope and map radius as controls. The 3D views (one
// per antenna, side by side) turn together with the mouse and the arrow keys (Home resets them) and
// draw a coarse mesh while they turn. Both pictures come from the same drawing code as the PNG
// files and printed pages.
#pragma once

#include "catalogue/Footprint.h"
#include "catalogue/QuvLib.h"
#include "plot/FootprintView.h"
#include "plot/Pattern3DView.h"
#include "printing/PrintLib.h"

#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <map>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QLabel;

namespace quv {

class TSpaceView;

// The paint box of the space view; it hands paints, the mouse and keys to the view.
class TSpaceBox : public QWidget {
public:
    explicit TSpaceBox(TSpaceView* view);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TSpaceView* view_;
    QPoint lastPos_;
};

class TSpaceView : public QWidget {
public:
    enum class TMode { Pattern3D, Footprint };

    TSpaceView(const TQuvFileList& plotList, QWidget* parent);

    void SetMode(TMode mode);
    TMode Mode() const { return mode_; }
    // Refills the antenna choice from the plot list.
    void Refresh();

    // The picture of the current mode on any canvas of that size.
    void Paint(TCanvas& canvas, int width, int height);

    // Turning: a drag by (dx, dy) pixels, a key (arrows turn, Home resets); true when handled.
    void BeginDrag();
    void Drag(int dx, int dy);
    void EndDrag();
    bool TurnKey(int key);

    TViewAngle View() const { return view_; }
    // The mesh step the next paint uses: coarse while turning.
    int MeshStep() const { return turning_ ? kCoarseMeshStep : kFullMeshStep; }

    TFootprintGeometry Geometry() const;
    T3DMethod Method() const;
    // Height, tilt, slope, method and radius as the printed 3D and footprint page takes them.
    TSpacePageSettings PrintSettings() const;

    QComboBox* cbxAntenna;
    QComboBox* cbxMethod;
    QDoubleSpinBox* spnHeight;
    QDoubleSpinBox* spnMechanicalTilt;
    QDoubleSpinBox* spnSlope;
    QDoubleSpinBox* spnRadius;
    QLabel* lblHint;
    TSpaceBox* imgSpace;
    QWidget* pnlControls;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The controls in one row when the view is wide enough for all of them, else in two.
    void ArrangeControls();
    // The antenna's pattern by the chosen method, or nothing when its levels are not numbers.
    const TPattern3D* PatternOf(const TQuvFile* record);
    void Settle();

    const TQuvFileList& plotList_;
    TMode mode_ = TMode::Pattern3D;
    TViewAngle view_;
    bool turning_ = false;
    QTimer settle_;
    std::vector<std::pair<QWidget*, QWidget*>> labelled_; // label and control
    int rows_ = 0;
    std::map<std::pair<const TQuvFile*, int>, std::optional<TPattern3D>> patterns_;
};

} // namespace quv
