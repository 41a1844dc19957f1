// The 3D view of one antenna's pattern: the surface whose distance from the centre is the level
// (0 dB at the outer radius, -40 dB and below at the centre), coloured by level and shaded, seen
// from a chosen direction. The surface is rasterised into a bitmap with a depth buffer and drawn
// with the canvas's image call, then the axes and the colour scale go on top through the canvas,
// so the window, a PNG and the printed page show the same picture.
#pragma once

#include "canvas/Canvas.h"
#include "catalogue/Pattern3D.h"

#include <QImage>

#include <string>
#include <vector>

namespace quv {

// Where the eye is: azimuth clockwise from boresight and elevation above the horizon, degrees.
struct TViewAngle {
    double azimuth = 60.0; // from the front right, so the beam's reach shows
    double elevation = 20.0;
    friend bool operator==(const TViewAngle&, const TViewAngle&) = default;
};

// Mesh steps in degrees: the full picture, and the coarse one drawn while the view turns.
inline constexpr int kFullMeshStep = 2;
inline constexpr int kCoarseMeshStep = 6;

// Colour of a level (dB, 0 at the peak) on the scale shared by the 3D view and its legend.
TColor LevelColor(double level);

// The shaded surface alone on a white bitmap.
QImage RenderPatternSurface(const TPattern3D& pattern, int width, int height, TViewAngle view,
                            int meshStep = kFullMeshStep);

// A text placed on a view: `rect` is the box its extent fills; `cut` when it did not fit whole
// and is drawn into `rect` with an end ellipsis.
struct TPlacedText {
    TRect rect;
    std::string text;
    bool cut = false;
};
// `text` with its top-left corner at (x, y) in the canvas's font, cut to `maxWidth` when given.
TPlacedText PlaceText(TCanvas& canvas, int x, int y, const std::string& text, int maxWidth = -1);
void DrawPlacedText(TCanvas& canvas, const TPlacedText& placed);

// Where the parts of one 3D view go in `rect`, measured with the canvas's fonts: none of them
// overlap and all stay inside `rect`, from a thumbnail to a printed page. Small views take a
// smaller font (never below 8 pixels) and label every second or fourth colour box.
struct TPattern3DLayout {
    int textHeight = 0;
    TPlacedText title;
    TRect surface;                   // the square the surface bitmap fills
    TRect scale;                     // the colour boxes, one per 5 dB from 0 down to -40
    int box = 0;                     // height of one box
    TPlacedText unit;                // "dB" above the boxes
    std::vector<TPlacedText> levels; // "0", "-5"... beside the boxes' tops
};
TPattern3DLayout Pattern3DLayout(TCanvas& canvas, const TRect& rect, const std::string& title);

// The cells of `count` views side by side in `rect`: the columns and rows that give each
// surface the largest square.
std::vector<TRect> Pattern3DCells(const TRect& rect, int count);

// The whole view in `rect`: surface, boresight and up axes, colour scale and `title`.
void DrawPattern3DView(TCanvas& canvas, const TRect& rect, const TPattern3D& pattern,
                       TViewAngle view, const std::string& title, int meshStep = kFullMeshStep);

// The same on a new white bitmap (quvtool pattern3d).
QImage Pattern3DImage(const TPattern3D& pattern, int width, int height, TViewAngle view,
                      const std::string& title);

} // namespace quv
