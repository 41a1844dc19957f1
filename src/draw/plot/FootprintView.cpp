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

namespace {

int TextHeightFootprint(int height)
{
    // A printed page's share of the height; small windows shrink the text with the picture.
    return std::max(8, std::min(std::max(11, height / 28), height / 14));
}

// The legend's row: its items from `left`, wrapped at `right`, one row below another from `top`.
int FlowLegend(TCanvas& canvas, std::vector<TFootprintLegendItem>& items,
               const std::vector<std::string>& texts, int left, int right, int top, int th)
{
    const int sampleWidth = 2 * th;
    const int rowHeight = canvas.TextExtent("0").cy + th / 4;
    int x = left, y = top;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int textWidth = canvas.TextExtent(texts[i]).cx;
        const int width = sampleWidth + th / 3 + textWidth;
        if (x > left && x + width > right) {
            x = left;
            y += rowHeight;
        }
        const int textLeft = x + sampleWidth + th / 3;
        items[i].sample = {x, y, x + sampleWidth, y + rowHeight - th / 4};
        items[i].text = PlaceText(canvas, textLeft, y, texts[i], std::max(0, right - textLeft));
        x = items[i].text.rect.right + th;
    }
    return items.empty() ? top : y + rowHeight;
}

} // namespace

std::pair<TRect, TRect> FootprintViewSplit(const TRect& rect)
{
    const int split = rect.left + rect.Width() * 3 / 5;
    return {{rect.left, rect.top, split, rect.bottom},
            {split + rect.Width() / 40, rect.top, rect.right, rect.bottom}};
}

TFootprintLinesLayout FootprintLinesLayout(TCanvas& canvas, const TRect& rect,
                                           const std::vector<TFootprintTrace>& traces,
                                           const std::string& title)
{
    TFootprintLinesLayout layout;
    const int th = TextHeightFootprint(rect.Height());
    layout.textHeight = th;
    UseFont(canvas, th);
    const int plotLeft = rect.left + 4 * th, plotRight = rect.right - th;

    // Two title lines over the plot; the maximum's dot reaches above the plot's top.
    const std::size_t lineBreak = title.find('\n');
    int titleBottom = rect.top;
    for (const std::string& line :
         {title.substr(0, lineBreak),
          lineBreak == std::string::npos ? std::string() : title.substr(lineBreak + 1)}) {
        if (line.empty())
            continue;
        const int y = rect.top + th / 3 + static_cast<int>(layout.title.size()) * th * 6 / 5;
        layout.title.push_back(
            PlaceText(canvas, plotLeft, y, line, std::max(0, rect.right - plotLeft)));
        titleBottom = layout.title.back().rect.bottom;
    }
    const int dot = th / 3 + 1;
    const int plotTop = std::max(rect.top + 3 * th, titleBottom + dot + 1);

    // The legend: each antenna with its maximum's distance, then the key to the marks; where it
    // would leave the plot too little height, the antennas' names only.
    const int lineHeight = canvas.TextExtent("0").cy;
    const int legendLeft = rect.left + th / 2, legendRight = rect.right - th / 4;
    int plotBottom = plotTop + 1;
    for (const bool withMaximum : {true, false}) {
        layout.items.clear();
        std::vector<std::string> texts;
        for (std::size_t k = 0; k < traces.size() && k < TraceColors.size(); ++k) {
            if (traces[k].line.levels.empty())
                continue;
            layout.items.push_back(
                {TFootprintLegendItem::TKind::Trace, static_cast<int>(k), {}, {}});
            texts.push_back(withMaximum ? traces[k].name + "  max " +
                                              DistanceText(Round(traces[k].line.maximumDistance))
                                        : traces[k].name);
        }
        if (!layout.items.empty()) {
            layout.items.push_back({TFootprintLegendItem::TKind::Maximum, 0, {}, {}});
            texts.emplace_back("maximum");
            layout.items.push_back({TFootprintLegendItem::TKind::Ticks, 0, {}, {}});
            texts.emplace_back("far -3 and -10 dB points");
        }
        // Flowed once to learn its height, then again at its place at the bottom.
        const int legendHeight =
            FlowLegend(canvas, layout.items, texts, legendLeft, legendRight, 0, th);
        const int legendTop = rect.bottom - legendHeight - th / 4;
        FlowLegend(canvas, layout.items, texts, legendLeft, legendRight, legendTop, th);
        layout.legend =
            layout.items.empty()
                ? TRect{legendLeft, rect.bottom, legendLeft, rect.bottom}
                : TRect{rect.left + th / 4, legendTop - th / 8, legendRight, rect.bottom - th / 8};
        // Distance labels and the axis caption between the plot and the legend.
        const int captionTop = layout.legend.top - lineHeight - th / 4;
        plotBottom = std::max(plotTop + 1, captionTop - th / 3 - lineHeight - th / 6);
        if (plotBottom - plotTop >= rect.Height() * 2 / 5)
            break;
    }
    layout.plot = {plotLeft, plotTop, plotRight, plotBottom};
    const std::string axis = "distance from the mast, relative level dB";
    const int axisWidth = canvas.TextExtent(axis).cx;
    const int axisLeft = std::max(rect.left + th / 4, plotRight - axisWidth);
    layout.axis = PlaceText(canvas, axisLeft, plotBottom + lineHeight + th / 3 + th / 6, axis,
                            rect.right - axisLeft);

    const double logNear = std::log10(kFootprintNearest);
    const double logFar = std::log10(kFootprintFarthest);
    const auto x = [&](double d) {
        return plotLeft +
               Round((std::log10(d) - logNear) / (logFar - logNear) * (plotRight - plotLeft));
    };
    int labelsEnd = rect.left;
    for (double d = 10; d <= kFootprintFarthest; d *= 10) {
        // Centred under its line, but the first starts at the axis: centred, it ran into the
        // level labels' "-40". One that would touch its neighbour is left out.
        const std::string label = DistanceText(d);
        const int width = canvas.TextExtent(label).cx;
        const int left = std::max(plotLeft, x(d) - width / 2);
        if (left < labelsEnd + th / 2 || left + width > rect.right)
            continue;
        layout.distances.push_back({d, PlaceText(canvas, left, plotBottom + th / 3, label)});
        labelsEnd = left + width;
    }
    // A label every 5 dB while they fit, else every 10 or 20.
    const int span = plotBottom - plotTop;
    int step = 5;
    while (step < 40 && span * step / 40 < lineHeight)
        step *= 2;
    for (int level = 0; level <= 40; level += step) {
        const std::string label = Format("%d", {-level});
        const int y = plotTop + Round(level / kLevelSpan * span);
        layout.levels.push_back(
            {level, PlaceText(canvas, plotLeft - canvas.TextExtent(label).cx - th / 3, y - th / 2,
                              label)});
    }
    return layout;
}

void DrawFootprintLines(TCanvas& canvas, const TRect& rect,
                        const std::vector<TFootprintTrace>& traces, const TTraceColors& colours,
                        const std::string& title)
{
    const TFootprintLinesLayout layout = FootprintLinesLayout(canvas, rect, traces, title);
    const int th = layout.textHeight;
    const TRect& plot = layout.plot;
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
        }
    for (int level = 0; level <= 40; level += 5) {
        canvas.MoveTo(plot.left, y(-level));
        canvas.LineTo(plot.right, y(-level));
    }
    for (const auto& [d, label] : layout.distances)
        DrawPlacedText(canvas, label);
    for (const auto& [level, label] : layout.levels)
        DrawPlacedText(canvas, label);
    canvas.Pen = TPen{clBlack, 1, TPenStyle::Solid};
    canvas.MoveTo(plot.left, plot.top);
    canvas.LineTo(plot.left, plot.bottom);
    canvas.LineTo(plot.right, plot.bottom);
    for (const TPlacedText& line : layout.title)
        DrawPlacedText(canvas, line);
    DrawPlacedText(canvas, layout.axis);

    const int pen = std::max(2, th / 6);
    const int r = th / 3 + 1;
    // The maximum as a dot, the far 3 and 10 dB points as ticks across the trace.
    const auto dot = [&](int cx, int cy) {
        canvas.Ellipse(cx - r, cy - r, cx + r + 1, cy + r + 1);
    };
    const auto tick = [&](int cx, int cy) {
        canvas.MoveTo(cx, cy - th / 2);
        canvas.LineTo(cx, cy + th / 2 + 1);
    };
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
        canvas.Brush = TBrush{colour, TBrushStyle::Solid};
        dot(x(line.maximumDistance), y(0));
        for (const auto& [edge, below] : {std::pair{line.far3dB, 3.0}, {line.far10dB, 10.0}})
            if (edge)
                tick(x(*edge), y(-below));
    }

    if (!layout.items.empty()) {
        canvas.Brush = TBrush{clWhite, TBrushStyle::Solid};
        canvas.FillRect(layout.legend);
    }
    for (const TFootprintLegendItem& item : layout.items) {
        const TRect& s = item.sample;
        const int cy = (s.top + s.bottom) / 2;
        const TColor colour =
            item.kind == TFootprintLegendItem::TKind::Trace ? colours[item.trace] : clBlack;
        canvas.Pen = TPen{colour, pen, TPenStyle::Solid};
        canvas.Brush = TBrush{colour, TBrushStyle::Solid};
        switch (item.kind) {
        case TFootprintLegendItem::TKind::Trace:
            canvas.MoveTo(s.left, cy);
            canvas.LineTo(s.right, cy);
            break;
        case TFootprintLegendItem::TKind::Maximum:
            dot((s.left + s.right) / 2, cy);
            break;
        case TFootprintLegendItem::TKind::Ticks:
            canvas.Pen = TPen{clSilver, pen, TPenStyle::Solid};
            canvas.MoveTo(s.left, cy);
            canvas.LineTo(s.right, cy);
            canvas.Pen = TPen{colour, pen, TPenStyle::Solid};
            tick((s.left + s.right) / 2, cy);
            break;
        }
        UseFont(canvas, th, colour);
        DrawPlacedText(canvas, item.text);
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

void DrawFootprintScale(TCanvas& canvas, int left, int top, int box, int textHeight, int labelEvery)
{
    const int th = textHeight;
    UseFont(canvas, th);
    for (int k = 0; k < kFootprintSteps; ++k) {
        const int y = top + k * box;
        canvas.Brush = TBrush{FootprintStepColor(-kFootprintStepDb * k - 1), TBrushStyle::Solid};
        canvas.FillRect({left, y, left + th, y + box});
        canvas.Brush.style = TBrushStyle::Clear;
        if (k % std::max(1, labelEvery) == 0)
            canvas.TextOut(left + th + th / 3, y - th / 2, Format("%d", {-3 * k}));
    }
}

TFootprintMapLayout FootprintMapLayout(TCanvas& canvas, const TRect& rect, double radius,
                                       const std::string& title)
{
    TFootprintMapLayout layout;
    const int th = TextHeightFootprint(rect.Height());
    layout.textHeight = th;
    UseFont(canvas, th);
    const int lineHeight = canvas.TextExtent("0").cy;
    const int scaleWidth = 5 * th;
    // The radius line under the square stays inside the view.
    const int side = std::max(
        1, std::min(rect.Width() - scaleWidth, rect.Height() - 2 * th - th / 4 - lineHeight));
    layout.square = {rect.left, rect.top + 2 * th, rect.left + side, rect.top + 2 * th + side};
    const int boxLeft = layout.square.right + th;
    layout.unit = PlaceText(canvas, boxLeft, rect.top + th / 3, "dB");
    layout.title = PlaceText(canvas, layout.square.left, rect.top + th / 3, title,
                             std::max(0, boxLeft - th / 2 - layout.square.left));
    layout.radius = PlaceText(canvas, layout.square.left, layout.square.bottom + th / 4,
                              "radius " + DistanceText(radius), rect.right - layout.square.left);
    layout.box = std::max(4, side / (kFootprintSteps + 1));
    layout.scale = {boxLeft, layout.square.top, boxLeft + th,
                    layout.square.top + kFootprintSteps * layout.box};
    while (layout.labelEvery < kFootprintSteps && layout.labelEvery * layout.box < lineHeight)
        ++layout.labelEvery;
    for (int k = 0; k < kFootprintSteps; k += layout.labelEvery)
        layout.levels.push_back(PlaceText(canvas, boxLeft + th + th / 3,
                                          layout.square.top + k * layout.box - th / 2,
                                          Format("%d", {-3 * k})));
    return layout;
}

void DrawFootprintMap(TCanvas& canvas, const TRect& rect, const TFootprintMap& map,
                      const std::string& title)
{
    const TFootprintMapLayout layout = FootprintMapLayout(canvas, rect, map.radius, title);
    const int th = layout.textHeight;
    DrawFootprintSquare(canvas, layout.square, map, th);
    DrawPlacedText(canvas, layout.title);
    DrawPlacedText(canvas, layout.radius);
    DrawFootprintScale(canvas, layout.scale.left, layout.scale.top, layout.box, th,
                       layout.labelEvery);
    DrawPlacedText(canvas, layout.unit);
}

void DrawFootprintView(TCanvas& canvas, const TRect& rect,
                       const std::vector<TFootprintTrace>& traces, const TFootprintMap& map,
                       const std::string& mapTitle, const std::string& title)
{
    const auto [lines, mapRect] = FootprintViewSplit(rect);
    DrawFootprintLines(canvas, lines, traces, TraceColors, title);
    DrawFootprintMap(canvas, mapRect, map, mapTitle);
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
