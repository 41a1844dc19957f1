#include "plot/PolarPlotLib.h"

#include "catalogue/NumberText.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace quv {

const TTraceColors TraceColors{TColor{0, 0, 255}, TColor{255, 0, 0}, TColor{0, 128, 0},
                               TColor{255, 0, 255}};

double DbToField(double v)
{
    return std::pow(10.0, v / 20.0);
}

double PowerRadius(double v, double outerRadius)
{
    if (v < -40)
        v = -40;
    return outerRadius * (40 - std::fabs(v)) / 40;
}

double FieldRadius(double v, double outerRadius)
{
    return outerRadius * DbToField(v);
}

static double Radians(double degrees)
{
    return degrees * std::numbers::pi / 180;
}

double PolarX(double cx, double angle, double r)
{
    return cx + r * std::cos(Radians(angle));
}

double PolarY(double cy, double angle, double r)
{
    return cy - r * std::sin(Radians(angle));
}

int PlotDiameterForBox(int width, int height)
{
    const double m = std::min(width, height);
    return static_cast<int>(RoundHalfEven(m - 0.175 * m));
}

namespace {

struct TGridShape {
    int rings;
    double labelRings;  // label radius in ring steps
    double fontInRings; // label font height in ring steps
};

constexpr TGridShape kPowerGrid{8, 9, 0.6};
constexpr TGridShape kFieldGrid{10, 11, 0.75};

TColor GridColor(TCanvas& canvas, bool forPrinter)
{
    if (forPrinter) {
        // A printer that cannot show silver would drop the grid; draw it black there.
        const auto nearest = canvas.NearestColor(clSilver);
        if (!nearest || *nearest == clWhite)
            return clBlack;
    }
    return clSilver;
}

// Spokes, circles and angle labels; the level labels differ between the two grids.
double DrawGridFrame(TUnitPrint& mapper, TPoint centre, bool forPrinter, int spokeStep,
                     double diameter, const TGridShape& shape)
{
    TCanvas& canvas = *mapper.Canvas();
    const double s = diameter / 2 / shape.rings;
    const double outer = shape.rings * s;
    const double cx = centre.x;
    const double cy = centre.y;

    canvas.Font.name = "Arial";
    canvas.Pen.width = mapper.LengthX(1);
    canvas.Brush.style = TBrushStyle::Clear;
    const TColor grid = GridColor(canvas, forPrinter);
    canvas.Pen.color = grid;
    canvas.Font.height = mapper.LengthY(shape.fontInRings * s);

    const int spokes = 360 / spokeStep;
    for (int k = 1; k <= spokes; ++k) {
        mapper.MoveTo(cx, cy);
        mapper.LineTo(PolarX(cx, k * spokeStep, outer), PolarY(cy, k * spokeStep, outer));
    }
    for (int k = 1; k <= shape.rings; ++k) {
        canvas.Pen.color = k == shape.rings ? clBlack : grid;
        mapper.Circle(cx, cy, k * s);
    }
    const double labelRadius = shape.labelRings * s;
    for (int k = 0; k < spokes; ++k) {
        const int angle = k * spokeStep;
        mapper.TextAligned(std::to_string(angle), 1, 1, PolarX(cx, angle, labelRadius),
                           PolarY(cy, angle, labelRadius));
    }
    return s;
}

std::vector<TPoint> TracePoints(const TUnitPrint& mapper, const TPatternCut& cut, TPoint centre,
                                double outer, int rotation, bool power)
{
    std::vector<TPoint> points(cut.size());
    for (std::size_t i = 0; i < cut.size(); ++i) {
        const double v = StrToFloat(cut[i]);
        const double r = power ? PowerRadius(v, outer) : FieldRadius(v, outer);
        const double angle = static_cast<double>(i) + rotation;
        points[i] = mapper.ToDevice(PolarX(centre.x, angle, r), PolarY(centre.y, angle, r));
    }
    return points;
}

bool IsSinglePoint(const std::vector<TPoint>& points)
{
    for (const TPoint& p : points)
        if (p.x != points.front().x || p.y != points.front().y)
            return false;
    return !points.empty();
}

// A trace whose every level lies on one point (all at -40 dB and below) has no length, and a
// polyline of no length paints nothing; it is shown as a dot in the pen's and brush's colour.
void DrawDot(TCanvas& canvas, TPoint at)
{
    const int r = std::max(3, 2 * canvas.Pen.width);
    canvas.Ellipse(at.x - r, at.y - r, at.x + r + 1, at.y + r + 1);
}

void DrawTraces(TUnitPrint& mapper, const TQuvFileList& antennas, TPoint centre,
                const TTraceColors& colours, TPatternCutKind cut, const TRotationAngles& rotation,
                double outer, bool power)
{
    TCanvas& canvas = *mapper.Canvas();
    canvas.Pen.width = mapper.LengthX(1.75);
    // Colours and rotations exist for four positions; a longer list shows its first four.
    const int count = std::min(antennas.Count(), kMaxPlotTraces);
    for (int k = 0; k < count; ++k) {
        const TQuvFile* record = antennas.Objects(k);
        if (!record)
            continue;
        canvas.Pen.color = colours[static_cast<std::size_t>(k)];
        canvas.Brush.color = colours[static_cast<std::size_t>(k)];
        canvas.Brush.style = TBrushStyle::Solid;
        const bool azimuth = cut == TPatternCutKind::Azimuth;
        const int rho = azimuth ? rotation[static_cast<std::size_t>(k)] : 0;
        const TPatternCut& levels = azimuth ? record->Azimuth : record->Elevation;
        const std::vector<TPoint> points = TracePoints(mapper, levels, centre, outer, rho, power);
        if (IsSinglePoint(points))
            DrawDot(canvas, points.front());
        else
            canvas.Polyline(points);
    }
}

// The level of each ring above the centre. On a white ground the labels stay readable where a
// trace crosses them; the ground is used when they are drawn after the traces.
void DrawLevelLabels(TUnitPrint& mapper, TPoint centre, double s, bool power, bool onWhite)
{
    TCanvas& canvas = *mapper.Canvas();
    const TGridShape& shape = power ? kPowerGrid : kFieldGrid;
    canvas.Font.name = "Arial";
    canvas.Font.height = mapper.LengthY(shape.fontInRings * s);
    canvas.Brush.color = clWhite;
    canvas.Brush.style = onWhite ? TBrushStyle::Solid : TBrushStyle::Clear;
    for (int k = 1; k <= shape.rings; ++k) {
        // Integer arithmetic first, so the outermost label is "0" and not "-0".
        const std::string text = power ? Format("%3.0f", {static_cast<double>(-(40 - 5 * k))})
                                       : Format("%3.1f", {k / 10.0});
        mapper.TextCentredTop(text, centre.x, centre.y - k * s);
    }
    canvas.Brush.style = TBrushStyle::Clear;
}

// A printed plot puts its level labels over the traces, so "-35" reads on every antenna.
double DrawPlot(TUnitPrint& mapper, const TQuvFileList& antennas, TPoint centre, bool forPrinter,
                const TTraceColors& colours, TPatternCutKind cut, int spokeStep,
                const TRotationAngles& rotation, double diameter, bool power)
{
    const TGridShape& shape = power ? kPowerGrid : kFieldGrid;
    const double s = DrawGridFrame(mapper, centre, forPrinter, spokeStep, diameter, shape);
    if (!forPrinter)
        DrawLevelLabels(mapper, centre, s, power, false);
    DrawTraces(mapper, antennas, centre, colours, cut, rotation, shape.rings * s, power);
    if (forPrinter)
        DrawLevelLabels(mapper, centre, s, power, true);
    return s;
}

} // namespace

double DrawPowerGrid(TUnitPrint& mapper, TPoint centre, bool forPrinter, TPatternCutKind,
                     int spokeStep, double diameter)
{
    const double s = DrawGridFrame(mapper, centre, forPrinter, spokeStep, diameter, kPowerGrid);
    DrawLevelLabels(mapper, centre, s, true, false);
    return s;
}

double DrawFieldGrid(TUnitPrint& mapper, TPoint centre, bool forPrinter, TPatternCutKind,
                     int spokeStep, double diameter)
{
    const double s = DrawGridFrame(mapper, centre, forPrinter, spokeStep, diameter, kFieldGrid);
    DrawLevelLabels(mapper, centre, s, false, false);
    return s;
}

void DrawPowerPlot(TUnitPrint& mapper, const TQuvFileList& antennas, TPoint centre, bool forPrinter,
                   const TTraceColors& colours, TPatternCutKind cut, int spokeStep,
                   const TRotationAngles& rotation, double diameter)
{
    DrawPlot(mapper, antennas, centre, forPrinter, colours, cut, spokeStep, rotation, diameter,
             true);
}

void DrawFieldPlot(TUnitPrint& mapper, const TQuvFileList& antennas, TPoint centre, bool forPrinter,
                   const TTraceColors& colours, TPatternCutKind cut, int spokeStep,
                   const TRotationAngles& rotation, double diameter)
{
    DrawPlot(mapper, antennas, centre, forPrinter, colours, cut, spokeStep, rotation, diameter,
             false);
}

void DrawReferenceTrace(TUnitPrint& mapper, const TReferenceCut& levels, TPoint centre,
                        TPlotType plotType, double diameter)
{
    TCanvas& canvas = *mapper.Canvas();
    const double outer = diameter / 2;
    std::vector<TPoint> points(levels.size());
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const double r = plotType == TPlotType::RelativePower ? PowerRadius(levels[i], outer)
                                                              : FieldRadius(levels[i], outer);
        const double angle = static_cast<double>(i);
        points[i] = mapper.ToDevice(PolarX(centre.x, angle, r), PolarY(centre.y, angle, r));
    }
    canvas.Pen.width = mapper.LengthX(1.75);
    canvas.Pen.color = kReferenceTraceColor;
    canvas.Pen.style = TPenStyle::Dash;
    canvas.Polyline(points);
    canvas.Pen.style = TPenStyle::Solid;
}

void DrawPolarPlot(TUnitPrint& mapper, const TQuvFileList& antennas, TPoint centre, bool forPrinter,
                   const TTraceColors& colours, TPlotType plotType, TPatternCutKind cut,
                   int spokeStep, const TRotationAngles& rotation, double diameter,
                   const TReferencePattern* reference)
{
    if (plotType == TPlotType::RelativePower)
        DrawPowerPlot(mapper, antennas, centre, forPrinter, colours, cut, spokeStep, rotation,
                      diameter);
    else
        DrawFieldPlot(mapper, antennas, centre, forPrinter, colours, cut, spokeStep, rotation,
                      diameter);
    if (reference)
        DrawReferenceTrace(
            mapper, cut == TPatternCutKind::Azimuth ? reference->azimuth : reference->elevation,
            centre, plotType, diameter);
}

void DrawBoxPlot(TCanvas& canvas, int width, int height, const TQuvFileList& antennas,
                 TPlotType plotType, TPatternCutKind cut, const TRotationAngles& rotation,
                 const TReferencePattern* reference)
{
    TUnitPrint mapper;
    mapper.SetCanvas(&canvas);
    DrawPolarPlot(mapper, antennas, {width / 2, height / 2}, false, TraceColors, plotType, cut, 30,
                  rotation, PlotDiameterForBox(width, height), reference);
}

QImage PlotBoxImage(int width, int height, const TQuvFileList& antennas, TPlotType plotType,
                    TPatternCutKind cut, const TRotationAngles& rotation,
                    const TReferencePattern* reference)
{
    QImage image(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TQPainterCanvas canvas(&image);
        DrawBoxPlot(canvas, width, height, antennas, plotType, cut, rotation, reference);
    }
    return image;
}

static QImage PreviewImage(const TQuvFileList& list, TPlotType plotType, TPatternCutKind cut,
                           const TReferencePattern* reference)
{
    QImage image(170, 170, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TQPainterCanvas canvas(&image);
        TUnitPrint mapper;
        mapper.SetCanvas(&canvas);
        DrawPolarPlot(mapper, list, {85, 85}, false, TraceColors, plotType, cut, 90, kNoRotation,
                      140, reference);
    }
    return image;
}

void DrawQuickPreviewImages(const TQuvFile& record, TPlotType plotType, QImage& azimuth,
                            QImage& elevation, const TReferencePattern* reference)
{
    // A list of this record alone, so its trace takes the first colour.
    TQuvFileList list;
    list.Add(record.PartNumber, const_cast<TQuvFile*>(&record));
    azimuth = PreviewImage(list, plotType, TPatternCutKind::Azimuth, reference);
    elevation = PreviewImage(list, plotType, TPatternCutKind::Elevation, reference);
}

} // namespace quv
