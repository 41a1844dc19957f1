// Pattern arithmetic and the one polar plot renderer used by the pattern window, the clipboard
// copies, the quick preview, printed pages and quvtool plot. Stored levels (dB text, 0 at the
// maximum) become radii here; the grid and traces go through a TUnitPrint onto any canvas.
#pragma once

#include "canvas/UnitPrint.h"
#include "catalogue/QuvFile.h"
#include "catalogue/QuvLib.h"
#include "reference/PatternFile.h"

#include <QImage>

#include <array>

namespace quv {

// Each window or command that draws keeps its own plot type and hands it to the plots.
enum class TPlotType { RelativePower, RelativeField };

enum class TPatternCutKind { Azimuth, Elevation };

// Trace colour of each plot list position: blue, red, green, fuchsia.
using TTraceColors = std::array<TColor, 4>;
extern const TTraceColors TraceColors;

// Rotation in whole degrees of each plot list position's azimuth trace.
using TRotationAngles = std::array<int, 4>;
inline constexpr TRotationAngles kNoRotation{0, 0, 0, 0};

// The largest number of antennas one plot shows.
inline constexpr int kMaxPlotTraces = 4;

double DbToField(double v);
// Radius of a level v (dB) in the power plot of outer radius R: 0 dB on the outer ring, -40 dB
// and below at the centre, the magnitude of v counts.
double PowerRadius(double v, double outerRadius);
// Radius in the field plot: R times the field ratio, unclamped.
double FieldRadius(double v, double outerRadius);
// Plot angle in degrees, counter-clockwise from 3 o'clock, y growing downwards.
double PolarX(double cx, double angle, double r);
double PolarY(double cy, double angle, double r);

// m - 0.175 m rounded, m the smaller side: the plot diameter for a paint box.
int PlotDiameterForBox(int width, int height);

// The grids; each returns its ring step.
double DrawPowerGrid(TUnitPrint& mapper, TPoint centre, bool forPrinter, TPatternCutKind cut,
                     int spokeStep, double diameter);
double DrawFieldGrid(TUnitPrint& mapper, TPoint centre, bool forPrinter, TPatternCutKind cut,
                     int spokeStep, double diameter);

// Grid, then one trace per antenna in list order. Throws EConvertError when a level text is not
// a number; what was drawn before stays.
void DrawPowerPlot(TUnitPrint& mapper, const TQuvFileList& antennas, TPoint centre, bool forPrinter,
                   const TTraceColors& colours, TPatternCutKind cut, int spokeStep,
                   const TRotationAngles& rotation, double diameter);
void DrawFieldPlot(TUnitPrint& mapper, const TQuvFileList& antennas, TPoint centre, bool forPrinter,
                   const TTraceColors& colours, TPatternCutKind cut, int spokeStep,
                   const TRotationAngles& rotation, double diameter);
// With a reference pattern open, its cut is drawn last as a dashed dark-grey trace over the
// antennas (never rotated); without one the plot is exactly the antennas' plot.
void DrawPolarPlot(TUnitPrint& mapper, const TQuvFileList& antennas, TPoint centre, bool forPrinter,
                   const TTraceColors& colours, TPlotType plotType, TPatternCutKind cut,
                   int spokeStep, const TRotationAngles& rotation, double diameter,
                   const TReferencePattern* reference = nullptr);

// The reference pattern's trace colour; the legend names it in the same colour.
inline constexpr TColor kReferenceTraceColor{64, 64, 64};

// The reference's cut as one dashed polyline on a plot of that diameter (both grids put 0 dB on
// the radius diameter / 2). Leaves the pen solid again.
void DrawReferenceTrace(TUnitPrint& mapper, const TReferenceCut& levels, TPoint centre,
                        TPlotType plotType, double diameter);

// The pattern window's paint of a box of that size (centre, diameter, spoke step 30) on the
// given canvas at scale 1.
void DrawBoxPlot(TCanvas& canvas, int width, int height, const TQuvFileList& antennas,
                 TPlotType plotType, TPatternCutKind cut, const TRotationAngles& rotation,
                 const TReferencePattern* reference = nullptr);

// The same on a new white bitmap of that size (clipboard copies, quvtool plot).
QImage PlotBoxImage(int width, int height, const TQuvFileList& antennas, TPlotType plotType,
                    TPatternCutKind cut, const TRotationAngles& rotation,
                    const TReferencePattern* reference = nullptr);

// The quick preview's two 170 x 170 plots of one record (azimuth, elevation) of that plot type.
// Throws the conversion error when a level text is not a number; the images are only replaced
// when their drawing completed.
void DrawQuickPreviewImages(const TQuvFile& record, TPlotType plotType, QImage& azimuth,
                            QImage& elevation, const TReferencePattern* reference = nullptr);

} // namespace quv
