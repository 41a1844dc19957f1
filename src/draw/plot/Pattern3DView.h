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

// The whole view in `rect`: surface, boresight and up axes, colour scale and `title`.
void DrawPattern3DView(TCanvas& canvas, const TRect& rect, const TPattern3D& pattern,
                       TViewAngle view, const std::string& title, int meshStep = kFullMeshStep);

// The same on a new white bitmap (quvtool pattern3d).
QImage Pattern3DImage(const TPattern3D& pattern, int width, int height, TViewAngle view,
                      const std::string& title);

} // namespace quv
