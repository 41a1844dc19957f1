#include "plot/FootprintView.h"

#include "catalogue/NumberText.h"
#include "plot/Pattern3DView.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace quv {

namespace {

constexpr double kLevelSpan = 40.0; // dB shown below each line's maximum

void UseFont(TCanvas& canvas, int height, TColor colour = clBlack)
{
    canvas.Font.name = "Arial";
    canvas.Font.height = -std::max(8, height);
    canvas.Font.color = colour;
    canvas.Font.bold = false;
    canvas.Brush.style = TBrushStyle::Clear;
}

std::string DistanceText(double metres)
{
    if (metres >= 1000)
        return FloatToStrGeneral(metres / 1000) + " km";
    return FloatToStrGeneral(metres) + " m";
}

int Round(double v)
{
    return static_cast<int>(std::lround(v));
}

} // namespace

TColor FootprintStepColor(double level)
{
    // The 3D view's scale at the middle of each step, so one dB has one hue on the printed page's
    // two pictures; below the last step, the 3D view's floor.
    const int k =
        std::clamp(static_cast<int>(std::floor(-level / kFootprintStepDb)), 0, kFootprintSteps - 1);
    if (k == kFootprintSteps - 1)
        return LevelColor(-40.0);
    return LevelColor(-kFootprintStepDb * (k + 0.5));
}

std::string FootprintTitle(const TFootprintGeometry& geometry, double azimuth)
{
    std::string title = "Height " + FloatToStrGeneral(geometry.height) + " m, mechanical tilt " +
                        FloatToStrGeneral(geometry.mechanicalTilt) + " deg";
    if (azimuth != 0)
        title += ", azimuth " + FloatToStrGeneral(azimuth) + " deg";
    if (geometry.slope == kFreeSpaceSlope)
        return title + "\nfree-space loss included";
    return title + "\npath loss " + FloatToStrGeneral(geometry.slope) + " dB/decade included";
}

void DrawFootprintLines(TCanvas& canvas, const TRect& rect,
                        const std::vector<TFootprintTrace>& traces, const TTraceColors& colours,
                        const std::string& title)
{
    const int th = std::max(11, rect.Height() / 28);
    // Room above the plot for a title of two lines.
    const TRect plot{rect.left + 4 * th, rect.top + 3 * th, rect.right - th, rect.bottom - 3 * th};
    const double logNear = std::log10(kFootprintNearest);
    const double logFar = std::log10(kFootprintFarthest);
    const auto x = [&](double d) {
        return plot.left + Round((std::log10(d) - logNear) / (logFar - logNear) * plot.Width());
    };
    const auto y = [&](double level) {
        return plot.top + Round(std::clamp(-level, 0.0, kLevelSpan) / kLevelSpan * plot.Height());
    };

    UseFont(canvas, th);
    canvas.Pen = TPen{clSilver, 1, TPenStyle::Solid};
    for (double decade = 10; decade <= 10000; decade *= 10)
        for (const int k : {1, 2, 5}) {
            const double d = decade * k;
            if (d > kFootprintFarthest)
                break;
            canvas.MoveTo(x(d), plot.top);
            canvas.LineTo(x(d), plot.bottom);
            if (k == 1) {
                // Centred under its line, but the first starts at the axis: centred, it ran
                // into the level labels' "-40".
                const std::string label = DistanceText(d);
                const int half = canvas.TextExtent(label).cx / 2;
                canvas.TextOut(std::max(plot.left, x(d) - half), plot.bottom + th / 3, label);
            }
        }
    for (int level = 0; level <= 40; level += 5) {
        canvas.MoveTo(plot.left, y(-level));
        canvas.LineTo(plot.right, y(-level));
        const std::string label = Format("%d", {-level});
        canvas.TextOut(plot.left - canvas.TextExtent(label).cx - th / 3, y(-level) - th / 2, label);
    }
    canvas.Pen = TPen{clBlack, 1, TPenStyle::Solid};
    canvas.MoveTo(plot.left, plot.top);
    canvas.LineTo(plot.left, plot.bottom);
    canvas.LineTo(plot.right, plot.bottom);
    const std::size_t lineBreak = title.find('\n');
    canvas.TextOut(plot.left, rect.top + th / 3, title.substr(0, lineBreak));
    if (lineBreak != std::string::npos)
        canvas.TextOut(plot.left, rect.top + th / 3 + th * 6 / 5, title.substr(lineBreak + 1));
    const std::string axis = "distance from the mast, relative level dB";
    canvas.TextOut(plot.right - canvas.TextExtent(axis).cx, plot.bottom + 3 * th / 2, axis);

    const int pen = std::max(2, th / 6);
    for (std::size_t k = 0; k < traces.size() && k < colours.size(); ++k) {
        const TFootprintLine& line = traces[k].line;
        if (line.levels.empty())
            continue;
        const TColor colour = colours[k];
        std::vector<TPoint> points;
        points.reserve(line.distances.size());
        for (std::size_t i = 0; i < line.distances.size(); ++i)
            points.push_back({x(line.distances[i]), y(line.levels[i])});
        canvas.Pen = TPen{colour, pen, TPenStyle::Solid};
        canvas.Polyline(points);
        // The maximum as a dot, the far 3 and 10 dB points as ticks across the trace.
        canvas.Brush = TBrush{colour, TBrushStyle::Solid};
        const int r = th / 3 + 1;
        const int mx = x(line.maximumDistance), my = y(0);
        canvas.Ellipse(mx - r, my - r, mx + r + 1, my + r + 1);
        for (const auto& [edge, below] : {std::pair{line.far3dB, 3.0}, {line.far10dB, 10.0}}) {
            if (!edge)
                continue;
            canvas.MoveTo(x(*edge), y(-below) - th / 2);
            canvas.LineTo(x(*edge), y(-below) + th / 2 + 1);
        }
    }
    // The legend last, on white, bottom left (near the mast the lines rarely fall 30 dB below
    // their maximum): drawn under the traces it was crossed by them.
    std::vector<std::string> legends;
    int legendWidth = 0;
    for (std::size_t k = 0; k < traces.size() && k < colours.size(); ++k) {
        if (traces[k].line.levels.empty()) {
            legends.emplace_back();
            continue;
        }
        legends.push_back(traces[k].name + "  max " +
                          DistanceText(Round(traces[k].line.maximumDistance)));
        legendWidth = std::max(legendWidth, canvas.TextExtent(legends.back()).cx);
    }
    const int rowHeight = th * 5 / 4;
    const int legendTop = plot.bottom - (static_cast<int>(legends.size()) + 1) * rowHeight;
    if (legendWidth > 0) {
        canvas.Brush = TBrush{clWhite, TBrushStyle::Solid};
        canvas.FillRect({plot.left + th / 4, legendTop - th / 4, plot.left + th + legendWidth,
                         legendTop + static_cast<int>(legends.size()) * rowHeight + th / 4});
    }
    for (std::size_t k = 0; k < legends.size(); ++k) {
        if (legends[k].empty())
            continue;
        UseFont(canvas, th, colours[k]);
        canvas.TextOut(plot.left + th / 2, legendTop + static_cast<int>(k) * rowHeight, legends[k]);
    }
    canvas.Font.color = clBlack;
}

void DrawFootprintSquare(TCanvas& canvas, const TRect& square, const TFootprintMap& map,
                         int textHeight)
{
    const int th = textHeight;
    if (map.cells > 0) {
        QImage bitmap(map.cells, map.cells, QImage::Format_RGB32);
        for (int r = 0; r < map.cells; ++r) {
            auto* line = reinterpret_cast<QRgb*>(bitmap.scanLine(r));
            for (int c = 0; c < map.cells; ++c) {
                const TColor colour =
                    FootprintStepColor(map.levels[static_cast<std::size_t>(r * map.cells + c)]);
                line[c] = qRgb(colour.r, colour.g, colour.b);
            }
        }
        canvas.StretchImage(square, bitmap);
    }
    UseFont(canvas, th);
    canvas.Pen = TPen{clBlack, std::max(1, th / 8), TPenStyle::Solid};
    canvas.Brush.style = TBrushStyle::Clear;
    canvas.Ellipse(square.left, square.top, square.right, square.bottom);
    const int cx = (square.left + square.right) / 2, cy = (square.top + square.bottom) / 2;
    canvas.MoveTo(cx - th / 2, cy);
    canvas.LineTo(cx + th / 2 + 1, cy);
    canvas.MoveTo(cx, cy + th / 2);
    canvas.LineTo(cx, square.top + th);
    canvas.TextOut(cx + th / 4, square.top + th / 4, "Boresight");
}

void DrawFootprintScale(TCanvas& canvas, int left, int top, int box, int textHeight)
{
    const int th = textHeight;
    UseFont(canvas, th);
    for (int k = 0; k < kFootprintSteps; ++k) {
        const int y = top + k * box;
        canvas.Brush = TBrush{FootprintStepColor(-kFootprintStepDb * k - 1), TBrushStyle::Solid};
        canvas.FillRect({left, y, left + th, y + box});
        canvas.Brush.style = TBrushStyle::Clear;
        canvas.TextOut(left + th + th / 3, y - th / 2, Format("%d", {-3 * k}));
    }
}

void DrawFootprintMap(TCanvas& canvas, const TRect& rect, const TFootprintMap& map,
                      const std::string& title)
{
    const int th = std::max(11, rect.Height() / 28);
    const int scaleWidth = 5 * th;
    const int side = std::max(1, std::min(rect.Width() - scaleWidth, rect.Height() - 3 * th));
    const TRect square{rect.left, rect.top + 2 * th, rect.left + side, rect.top + 2 * th + side};
    DrawFootprintSquare(canvas, square, map, th);
    canvas.TextOut(square.left, rect.top + th / 3, title);
    const std::string radius = "radius " + DistanceText(map.radius);
    canvas.TextOut(square.left, square.bottom + th / 4, radius);

    const int boxLeft = square.right + th;
    DrawFootprintScale(canvas, boxLeft, square.top, std::max(4, side / (kFootprintSteps + 1)), th);
    canvas.TextOut(boxLeft, rect.top + th / 3, "dB");
}

void DrawFootprintView(TCanvas& canvas, const TRect& rect,
                       const std::vector<TFootprintTrace>& traces, const TFootprintMap& map,
                       const std::string& mapTitle, const std::string& title)
{
    const int split = rect.left + rect.Width() * 3 / 5;
    DrawFootprintLines(canvas, {rect.left, rect.top, split, rect.bottom}, traces, TraceColors,
                       title);
    DrawFootprintMap(canvas, {split + rect.Width() / 40, rect.top, rect.right, rect.bottom}, map,
                     mapTitle);
}

QImage FootprintImage(const std::vector<TFootprintTrace>& traces, const TFootprintMap& map,
                      const std::string& mapTitle, const std::string& title, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TQPainterCanvas canvas(&image);
        DrawFootprintView(canvas, {0, 0, width, height}, traces, map, mapTitle, title);
    }
    return image;
}

} // namespace quv
