#include "plot/SiteFitView.h"

#include "catalogue/NumberText.h"
#include "catalogue/Pattern3D.h"
#include "plot/FootprintView.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quv {

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

// The cell's outline: its rim at the cell radius and, dashed, where the area beyond begins;
// the sector's edges unless it is a whole circle. Boresight is up, azimuth clockwise.
void DrawCellOutline(TCanvas& canvas, const TRect& square, const TSiteScenario& scenario,
                     double mapRadius, int penWidth)
{
    const double cx = (square.left + square.right) / 2.0, cy = (square.top + square.bottom) / 2.0;
    const double perMetre = square.Width() / 2.0 / mapRadius;
    const double half = std::min(scenario.sector, 360.0) / 2;
    const auto at = [&](double azimuth, double metres) {
        return TPoint{
            static_cast<int>(std::lround(cx + std::sin(azimuth * kRadians) * metres * perMetre)),
            static_cast<int>(std::lround(cy - std::cos(azimuth * kRadians) * metres * perMetre))};
    };
    const auto arc = [&](double metres) {
        std::vector<TPoint> points;
        const int steps = std::max(2, static_cast<int>(std::ceil(half)));
        for (int k = 0; k <= steps; ++k)
            points.push_back(at(-half + 2 * half * k / steps, metres));
        canvas.Polyline(points);
    };
    canvas.Brush.style = TBrushStyle::Clear;
    canvas.Pen = TPen{clBlack, penWidth, TPenStyle::Solid};
    arc(scenario.radius);
    if (half < 180) {
        for (const double edge : {-half, half}) {
            const TPoint p = at(edge, scenario.radius);
            canvas.MoveTo(static_cast<int>(std::lround(cx)), static_cast<int>(std::lround(cy)));
            canvas.LineTo(p.x, p.y);
        }
    }
    canvas.Pen = TPen{clBlack, penWidth, TPenStyle::Dash};
    arc(1.5 * scenario.radius);
    canvas.Pen.style = TPenStyle::Solid;
}

} // namespace

TSiteMapPanel SiteMapPanel(const TSiteEntry& entry, const TSiteScenario& scenario,
                           const std::string& caption, int cells)
{
    TSiteMapPanel panel;
    panel.title = caption + entry.record->PartNumber;
    panel.subtitle = "tilt " + Format("%.1f", {entry.figures.tilt}) + " deg, cell " +
                     Format("%.1f", {entry.figures.cellLevel}) + " dB, margin " +
                     Format("%.1f", {entry.figures.Margin()}) + " dB";
    if (const auto cuts = CutsOf(*entry.record)) {
        const TPattern3D pattern = BuildPattern3D(*cuts, T3DMethod::Auto);
        const TFootprintGeometry geometry{scenario.height, entry.figures.tilt, scenario.slope};
        panel.map = FootprintMap(pattern, geometry, kSiteMapSpan * scenario.radius, cells);
    }
    return panel;
}

void DrawSiteFitMaps(TCanvas& canvas, const TRect& rect, const std::vector<TSiteMapPanel>& panels,
                     const TSiteScenario& scenario, int columns)
{
    if (panels.empty() || columns < 1)
        return;
    const int rows = (static_cast<int>(panels.size()) + columns - 1) / columns;
    // The subtitle (some 45 characters) must fit its column.
    const int th =
        std::max(9, std::min(rect.Width() / (columns * 30), rect.Height() / (rows * 16)));
    const int scaleWidth = 4 * th;
    const int cellWidth = (rect.Width() - scaleWidth) / columns;
    const int cellHeight = rect.Height() / rows;
    // Below the two lines of text, with half a line to spare at the bottom.
    const int side = std::max(1, std::min(cellWidth - th / 2, cellHeight - 3 * th - th / 2));
    const int scaleTop = rect.top + 5 * th / 2;
    for (std::size_t k = 0; k < panels.size(); ++k) {
        const int column = static_cast<int>(k) % columns, row = static_cast<int>(k) / columns;
        const int left = rect.left + column * cellWidth;
        const int top = rect.top + row * cellHeight;
        const TRect square{left, top + 5 * th / 2, left + side, top + 5 * th / 2 + side};
        const TSiteMapPanel& panel = panels[k];
        DrawFootprintSquare(canvas, square, panel.map, th);
        if (panel.map.cells > 0)
            DrawCellOutline(canvas, square, scenario, panel.map.radius, std::max(1, th / 6));
        canvas.Font.bold = true;
        canvas.TextOut(left, top, panel.title);
        canvas.Font.bold = false;
        canvas.TextOut(left, top + 6 * th / 5, panel.subtitle);
    }
    const int scaleLeft = rect.left + columns * cellWidth + th / 2;
    DrawFootprintScale(canvas, scaleLeft, scaleTop,
                       std::max(4, std::min(side, rect.Height() - 4 * th) / (kFootprintSteps + 1)),
                       th);
    canvas.TextOut(scaleLeft, rect.top + th / 3, "dB");
}

QImage SiteFitMapsImage(const std::vector<TSiteMapPanel>& panels, const TSiteScenario& scenario,
                        int columns, int width, int height)
{
    QImage image(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TQPainterCanvas canvas(&image);
        DrawSiteFitMaps(canvas, {0, 0, image.width(), image.height()}, panels, scenario, columns);
    }
    return image;
}

} // namespace quv
