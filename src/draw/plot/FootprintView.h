// The footprint pictures: the level along boresight against distance (logarithmic axis, one
// trace per antenna in its plot colour, the maximum and the far 3 dB and 10 dB points marked),
// and the map of one antenna's level around the mast seen from above in fixed 3 dB colour steps.
// Drawn through the canvas for the window, PNG files and printed pages alike.
#pragma once

#include "canvas/Canvas.h"
#include "catalogue/Footprint.h"
#include "plot/Pattern3DView.h"
#include "plot/PolarPlotLib.h"

#include <QImage>

#include <string>
#include <vector>

namespace quv {

// The map's colour steps: 0 to -3 dB, -3 to -6, ... -27 to -30, and below -30.
inline constexpr int kFootprintSteps = 11;
inline constexpr double kFootprintStepDb = 3.0;
TColor FootprintStepColor(double level);

// "Height 30 m, mechanical tilt 2 deg", the bearing when off boresight, and on a second line
// what path loss the levels include: the free-space loss at the default slope, otherwise the
// slope itself.
std::string FootprintTitle(const TFootprintGeometry& geometry, double azimuth = 0);

// One antenna's boresight line for the plot.
struct TFootprintTrace {
    std::string name;
    TFootprintLine line;
};

// Axes from 10 m to 20 km and 0 to -40 dB; trace k in colours[k]; an empty line is skipped;
// a title of two lines is split at its line break.
void DrawFootprintLines(TCanvas& canvas, const TRect& rect,
                        const std::vector<TFootprintTrace>& traces, const TTraceColors& colours,
                        const std::string& title);

// The map square in `rect` with the mast, the boresight direction and the colour scale.
void DrawFootprintMap(TCanvas& canvas, const TRect& rect, const TFootprintMap& map,
                      const std::string& title);

// The map's parts on their own, for pages that lay out several maps: the coloured disc in
// `square` with the mast and the boresight, and the column of colour steps with their levels,
// `box` pixels per step, starting at (left, top).
void DrawFootprintSquare(TCanvas& canvas, const TRect& square, const TFootprintMap& map,
                         int textHeight);
// `labelEvery` labels every so many steps, for scales too short for a label per step.
void DrawFootprintScale(TCanvas& canvas, int left, int top, int box, int textHeight,
                        int labelEvery = 1);

// One entry of the lines' legend: a trace in its colour, or the key to the maximum's dot and to
// the ticks at the far 3 dB and 10 dB points.
struct TFootprintLegendItem {
    enum class TKind { Trace, Maximum, Ticks };
    TKind kind = TKind::Trace;
    int trace = 0; // the trace's index, for its colour
    TRect sample;  // where its line, dot or tick is drawn
    TPlacedText text;
};

// Where the parts of the lines' picture and of the map go, measured with the canvas's fonts: no
// label, scale or legend overlaps another or the plot, and all stay inside their rectangle. The
// legend sits below the plot, so it never covers a trace.
struct TFootprintLinesLayout {
    int textHeight = 0;
    std::vector<TPlacedText> title; // one per line
    TRect plot;
    std::vector<std::pair<int, TPlacedText>> levels;       // level in dB and its label
    std::vector<std::pair<double, TPlacedText>> distances; // metres and its label
    TPlacedText axis;
    TRect legend; // the frame around the items
    std::vector<TFootprintLegendItem> items;
};
TFootprintLinesLayout FootprintLinesLayout(TCanvas& canvas, const TRect& rect,
                                           const std::vector<TFootprintTrace>& traces,
                                           const std::string& title);

struct TFootprintMapLayout {
    int textHeight = 0;
    TPlacedText title;
    TRect square;
    TPlacedText radius;
    TRect scale; // the colour steps
    int box = 0;
    int labelEvery = 1;
    TPlacedText unit;
    std::vector<TPlacedText> levels;
};
TFootprintMapLayout FootprintMapLayout(TCanvas& canvas, const TRect& rect, double radius,
                                       const std::string& title);

// The two parts of the view: lines on the left, map on the right.
std::pair<TRect, TRect> FootprintViewSplit(const TRect& rect);

// Lines on the left, the map of one antenna on the right: the window's view, the PNG and the
// printed page.
void DrawFootprintView(TCanvas& canvas, const TRect& rect,
                       const std::vector<TFootprintTrace>& traces, const TFootprintMap& map,
                       const std::string& mapTitle, const std::string& title);

QImage FootprintImage(const std::vector<TFootprintTrace>& traces, const TFootprintMap& map,
                      const std::string& mapTitle, const std::string& title, int width, int height);

} // namespace quv
