// The 3D view and the footprint pictures, drawn offscreen and on the recording canvas, checked
// for what a planner reads from them: where the beam is, which colour means what, where the
// markers sit.
#include "catalogue/Errors.h"
#include "plot/FootprintView.h"
#include "plot/Pattern3DView.h"
#include "printing/PrintLib.h"

#include "support/GuiApp.h"
#include "support/TestAntennas.h"

#include <QColor>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace quv;
using namespace quvtest;

namespace {

TPattern3D Tilted()
{
    return BuildPattern3D(CutsFromTruth([](double a, double e) { return PencilTruth(a, e, 6, 8); }),
                          T3DMethod::Auto);
}

bool IsWhite(const QColor& c)
{
    return c == QColor(Qt::white);
}

std::vector<std::string> Texts(const TRecordingCanvas& canvas)
{
    std::vector<std::string> texts;
    for (const auto& call : canvas.Of(TRecordingCanvas::Op::TextOut))
        texts.push_back(call.text);
    return texts;
}

bool Has(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

} // namespace

TEST(Pattern3DView, SurfaceShowsTheBeamWhereTheViewPutsIt)
{
    const TPattern3D p = Tilted();
    // From the front the main lobe faces the eye: the centre is the peak's red.
    const QImage front = RenderPatternSurface(p, 200, 200, {0, 0});
    const QColor centre = front.pixelColor(100, 100);
    EXPECT_GT(centre.red(), 150);
    EXPECT_LT(centre.blue(), 60);
    EXPECT_TRUE(IsWhite(front.pixelColor(2, 2)));

    // From the right-hand side boresight points to the right of the picture, tipped down by the
    // tilt; the back lobe (30 dB down) is short.
    const QImage side = RenderPatternSurface(p, 200, 200, {90, 0});
    const double scale = 0.45 * 200;
    const int tipX = 100 + static_cast<int>(0.85 * scale * std::cos(Rad(6)));
    const int tipY = 100 + static_cast<int>(0.85 * scale * std::sin(Rad(6)));
    EXPECT_FALSE(IsWhite(side.pixelColor(tipX, tipY)));
    EXPECT_TRUE(IsWhite(side.pixelColor(200 - tipX, tipY)));
    // Turning the view turns the picture; the coarse mesh draws the same beam.
    EXPECT_NE(side, front);
    EXPECT_FALSE(IsWhite(
        RenderPatternSurface(p, 200, 200, {90, 0}, kCoarseMeshStep).pixelColor(tipX, tipY)));

    // The scale runs from the peak's red down to blue.
    TRecordingCanvas canvas;
    DrawPattern3DView(canvas, {10, 20, 410, 420}, p, {}, "PART-1");
    EXPECT_EQ(canvas.Of(TRecordingCanvas::Op::Image).size(), 1u);
    for (const char* t : {"PART-1", "Boresight", "Up", "0", "-40"})
        EXPECT_TRUE(Has(Texts(canvas), t)) << t;
    const auto boxes = canvas.Of(TRecordingCanvas::Op::FillRect);
    ASSERT_EQ(boxes.size(), 8u);
    EXPECT_GT(boxes.front().brush.color.r, 200);
    EXPECT_GT(boxes.back().brush.color.b, 200);
}

TEST(FootprintView, LinesAndMapCarryTheirMarkersAndScales)
{
    // Fixed 3 dB steps: the boundaries fall on multiples of 3, everything below -30 is one step.
    EXPECT_EQ(FootprintStepColor(-0.1), FootprintStepColor(-2.9));
    EXPECT_NE(FootprintStepColor(-2.9), FootprintStepColor(-3.1));
    EXPECT_EQ(FootprintStepColor(-31), FootprintStepColor(-90));
    EXPECT_NE(FootprintStepColor(-29), FootprintStepColor(-31));

    const TPattern3D p = Tilted();
    const TPattern3D iso =
        BuildPattern3D(CutsFromTruth([](double, double) { return 0.0; }), T3DMethod::Auto);
    const std::vector<TFootprintTrace> traces{{"TILT", FootprintAlong(p, {30, 0})},
                                              {"ISO", FootprintAlong(iso, {30, 0})}};
    TRecordingCanvas lines;
    DrawFootprintLines(lines, {0, 0, 600, 400}, traces, TraceColors, "30 m");
    const auto polylines = lines.Of(TRecordingCanvas::Op::Polyline);
    ASSERT_EQ(polylines.size(), 2u);
    EXPECT_EQ(polylines[0].pen.color, TraceColors[0]);
    EXPECT_EQ(polylines[1].pen.color, TraceColors[1]);
    // The maximum's dot sits on the trace's highest point, at the top of the level axis.
    const auto dots = lines.Of(TRecordingCanvas::Op::Ellipse);
    ASSERT_EQ(dots.size(), 3u); // one per trace, then the legend's key
    const auto top = std::min_element(polylines[0].points.begin(), polylines[0].points.end(),
                                      [](TPoint a, TPoint b) { return a.y < b.y; });
    EXPECT_NEAR((dots[0].rect.left + dots[0].rect.right) / 2.0, top->x, 1.5);
    EXPECT_NEAR((dots[0].rect.top + dots[0].rect.bottom) / 2.0, top->y, 1.5);
    for (const char* t : {"10 m", "1 km", "10 km", "-40", "30 m"})
        EXPECT_TRUE(Has(Texts(lines), t)) << t;

    TRecordingCanvas map;
    DrawFootprintMap(map, {0, 0, 400, 400}, FootprintMap(p, {30, 0}, 1000, 100), "TILT");
    EXPECT_EQ(map.Of(TRecordingCanvas::Op::Image).size(), 1u);
    const auto boxes = map.Of(TRecordingCanvas::Op::FillRect);
    ASSERT_EQ(boxes.size(), std::size_t(kFootprintSteps));
    EXPECT_EQ(boxes.back().brush.color, FootprintStepColor(-31));
    for (const char* t : {"TILT", "Boresight", "radius 1 km", "-30"})
        EXPECT_TRUE(Has(Texts(map), t)) << t;

    quv::test::EnsureGuiApp();
    // Offscreen: the strongest step lies ahead of the mast (up), none of it behind.
    const QImage image =
        FootprintImage(traces, FootprintMap(p, {30, 0}, 1000, 200), "TILT", "30 m", 1000, 560);
    const TColor peak = FootprintStepColor(0);
    const QColor red(peak.r, peak.g, peak.b);
    // The map square is 275 pixels from (625, 40): the mast at y 177.
    int ahead = 0, behind = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 620; x < image.width(); ++x)
            if (image.pixelColor(x, y) == red)
                (y < 177 ? ahead : behind)++;
    EXPECT_GT(ahead, 0);
    EXPECT_EQ(behind, 0);
}

TEST(SpacePage, PrintsTheFrameTheThreeDViewAndTheFootprint)
{
    TQuvFile record;
    record.LoadFromBytes("[HEADER]\r\nPart Number=TILT\r\n\r\n" +
                             PointsSection(CutsFromTruth(
                                 [](double a, double e) { return PencilTruth(a, e, 6, 8); })),
                         "TILT.quv");
    TPrint writer(TPrinterMetrics{600, 600, 5100, 0, 0});
    TRecordingCanvas canvas;
    writer.SetCanvas(&canvas);
    PrintAntennaPages(
        record, writer, TPrintJob::SpaceOnly, [] { FAIL() << "one page only"; },
        TPlotType::RelativePower);
    // The logo, the 3D surface and the map, on one sheet.
    const auto images = canvas.Of(TRecordingCanvas::Op::Image);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_LE(images.back().rect.bottom, 11 * 600);
    EXPECT_EQ(canvas.Of(TRecordingCanvas::Op::Polyline).size(), 1u);
    EXPECT_TRUE(Has(Texts(canvas), "free-space loss included"));

    record.Elevation.Clear();
    for (int i = 0; i <= 360; ++i)
        record.Elevation.Append(i == 7 ? "x" : "0");
    EXPECT_THROW(PrintSpacePage(record, writer), EConvertError);
}

namespace {

// The box each text call covers, in the font it was drawn with.
std::vector<std::pair<std::string, TRect>> TextBoxes(const TRecordingCanvas& canvas)
{
    std::vector<std::pair<std::string, TRect>> boxes;
    const int w = canvas.CharWidth();
    for (const auto& call : canvas.Of(TRecordingCanvas::Op::TextOut)) {
        const TPoint at = call.points.front();
        boxes.push_back({call.text,
                         {at.x, at.y, at.x + w * static_cast<int>(call.text.size()),
                          at.y + std::abs(call.font.height)}});
    }
    return boxes;
}

bool Overlap(const TRect& a, const TRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

TEST(SpaceViews, LabelsStayClearOfEachOtherAndOfTheScales)
{
    // The 3D view from all round: the axis labels never run under the colour scale or the title.
    const TPattern3D p = Tilted();
    for (int azimuth = 0; azimuth < 360; azimuth += 15)
        for (const int elevation : {-60, 0, 20, 80}) {
            SCOPED_TRACE(std::to_string(azimuth) + "," + std::to_string(elevation));
            TRecordingCanvas canvas;
            const TRect rect{0, 0, 600, 600};
            DrawPattern3DView(canvas, rect, p, {double(azimuth), double(elevation)}, "PART-1");
            const auto boxes = TextBoxes(canvas);
            const int scaleLeft = canvas.Of(TRecordingCanvas::Op::FillRect).front().rect.left;
            for (const auto& [text, box] : boxes) {
                if (text != "Boresight" && text != "Up")
                    continue;
                EXPECT_LE(box.right, scaleLeft) << text;
                EXPECT_GE(box.left, rect.left) << text;
                for (const auto& [other, otherBox] : boxes) {
                    if (other == "PART-1" || other == "dB") {
                        EXPECT_FALSE(Overlap(box, otherBox)) << text << " / " << other;
                    }
                }
            }
        }

    // The footprint lines on the window's, the PNG's and the printed page's proportions: no two
    // labels meet (the nearest distance against the lowest level was the corner that did), and
    // the legend is drawn on white after the traces, so no trace runs through it.
    const TPattern3D iso =
        BuildPattern3D(CutsFromTruth([](double, double) { return 0.0; }), T3DMethod::Auto);
    const std::vector<TFootprintTrace> traces{{"TILT", FootprintAlong(p, {30, 0})},
                                              {"ISO", FootprintAlong(iso, {30, 0})}};
    for (const TRect rect :
         {TRect{0, 0, 600, 560}, TRect{0, 0, 360, 300}, TRect{0, 0, 4200, 2010}}) {
        SCOPED_TRACE(std::to_string(rect.Width()) + " x " + std::to_string(rect.Height()));
        TRecordingCanvas canvas;
        DrawFootprintLines(canvas, rect, traces, TraceColors, FootprintTitle({30, 2, 20}));
        const auto boxes = TextBoxes(canvas);
        for (std::size_t i = 0; i < boxes.size(); ++i)
            for (std::size_t j = i + 1; j < boxes.size(); ++j)
                EXPECT_FALSE(Overlap(boxes[i].second, boxes[j].second))
                    << boxes[i].first << " / " << boxes[j].first;
        EXPECT_TRUE(Has(Texts(canvas), "free-space loss included"));
        const auto& calls = canvas.calls;
        const auto lastTrace = std::find_if(calls.rbegin(), calls.rend(), [](const auto& c) {
            return c.op == TRecordingCanvas::Op::Polyline;
        });
        const auto white = std::find_if(calls.rbegin(), lastTrace, [](const auto& c) {
            return c.op == TRecordingCanvas::Op::FillRect && c.brush.color == clWhite;
        });
        ASSERT_NE(white, lastTrace) << "no white legend box after the traces";
        for (const auto& [text, box] : boxes)
            if (text.find("  max ") != std::string::npos) {
                EXPECT_GE(box.left, white->rect.left);
                EXPECT_LE(box.right, white->rect.right);
                EXPECT_GE(box.top, white->rect.top);
                EXPECT_LE(box.bottom, white->rect.bottom);
            }
    }
    // The title says what path loss the levels include.
    EXPECT_EQ(FootprintTitle({30, 2, 20}, 60),
              "Height 30 m, mechanical tilt 2 deg, azimuth 60 deg\nfree-space loss included");
    EXPECT_EQ(FootprintTitle({45, 0, 37.5}),
              "Height 45 m, mechanical tilt 0 deg\npath loss 37.5 dB/decade included");
}

namespace {

// Every pair of named boxes apart, each inside `bounds`.
void ExpectApart(const std::vector<std::pair<std::string, TRect>>& boxes, const TRect& bounds)
{
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const TRect& a = boxes[i].second;
        EXPECT_TRUE(a.left >= bounds.left && a.top >= bounds.top && a.right <= bounds.right &&
                    a.bottom <= bounds.bottom)
            << boxes[i].first << " leaves the view";
        for (std::size_t j = i + 1; j < boxes.size(); ++j)
            EXPECT_FALSE(Overlap(a, boxes[j].second)) << boxes[i].first << " / " << boxes[j].first;
    }
}

} // namespace

TEST(SpaceViews, LayoutsKeepTheirPartsApartFromAThumbnailToAPrintedPage)
{
    quv::test::EnsureGuiApp();
    QImage image(10, 10, QImage::Format_RGB32);
    TQPainterCanvas canvas(&image); // the fonts' real metrics
    const TPattern3D p = Tilted();
    const std::vector<TFootprintTrace> traces{{"TD0765-15T6", FootprintAlong(p, {30, 0})},
                                              {"TD0865-14", FootprintAlong(p, {60, 0})},
                                              {"AP17-1880/065", FootprintAlong(p, {20, 0})},
                                              {"TILT", FootprintAlong(p, {45, 4})}};
    // The window's smallest picture, its opening size, a maximised window, the printed page; a
    // 3D view also in a quarter of the smallest.
    for (const TRect rect : {TRect{0, 0, 476, 125}, TRect{0, 0, 568, 230}, TRect{0, 0, 1260, 850},
                             TRect{0, 0, 4200, 2010}}) {
        SCOPED_TRACE(std::to_string(rect.Width()) + " x " + std::to_string(rect.Height()));
        const TPattern3DLayout view = Pattern3DLayout(canvas, rect, "TD0765-15T6  (Summing)");
        std::vector<std::pair<std::string, TRect>> boxes{{"title", view.title.rect},
                                                         {"dB", view.unit.rect},
                                                         {"surface", view.surface},
                                                         {"scale", view.scale}};
        for (const TPlacedText& level : view.levels)
            boxes.push_back({level.text, level.rect});
        ExpectApart(boxes, rect);
        EXPECT_EQ(view.levels.back().text, "-40");

        const auto [linesRect, mapRect] = FootprintViewSplit(rect);
        const TFootprintLinesLayout lines =
            FootprintLinesLayout(canvas, linesRect, traces, FootprintTitle({30, 2, 37.5}));
        // The maximum's dot reaches above the plot's top.
        const int dot = lines.textHeight / 3 + 1;
        boxes = {
            {"plot", {lines.plot.left, lines.plot.top - dot, lines.plot.right, lines.plot.bottom}},
            {"axis", lines.axis.rect}};
        for (const TPlacedText& line : lines.title)
            boxes.push_back({line.text, line.rect});
        for (const auto& [level, label] : lines.levels)
            boxes.push_back({label.text, label.rect});
        for (const auto& [distance, label] : lines.distances)
            boxes.push_back({label.text, label.rect});
        for (const TFootprintLegendItem& item : lines.items) {
            boxes.push_back({item.text.text + " sample", item.sample});
            boxes.push_back({item.text.text, item.text.rect});
        }
        // Every antenna and both marks are explained; the plot keeps a usable height.
        ASSERT_EQ(lines.items.size(), traces.size() + 2);
        EXPECT_EQ(lines.items[traces.size() + 1].kind, TFootprintLegendItem::TKind::Ticks);
        EXPECT_GE(lines.plot.Height(), 2 * lines.textHeight);
        EXPECT_EQ(lines.levels.back().first, 40);

        const TFootprintMapLayout map = FootprintMapLayout(canvas, mapRect, 2000, "TD0765-15T6");
        for (const auto& part :
             std::vector<std::pair<std::string, TRect>>{{"map title", map.title.rect},
                                                        {"map dB", map.unit.rect},
                                                        {"map", map.square},
                                                        {"radius", map.radius.rect},
                                                        {"steps", map.scale}})
            boxes.push_back(part);
        for (const TPlacedText& level : map.levels)
            boxes.push_back({"map " + level.text, level.rect});
        ExpectApart(boxes, rect);
    }
    const TPattern3DLayout quarter = Pattern3DLayout(canvas, {0, 0, 238, 60}, "TD0765-15T6");
    ExpectApart({{"title", quarter.title.rect},
                 {"surface", quarter.surface},
                 {"scale", quarter.scale},
                 {"-40", quarter.levels.back().rect}},
                {0, 0, 238, 60});
    // Space to spare leaves every text whole and every level labelled.
    const TPattern3DLayout large = Pattern3DLayout(canvas, {0, 0, 1260, 850}, "TD0765-15T6");
    EXPECT_FALSE(large.title.cut);
    EXPECT_EQ(large.levels.size(), 9u);
}

TEST(SpaceViews, CellsGiveEveryThreeDViewTheLargestSquare)
{
    const auto shape = [](const std::vector<TRect>& cells) {
        return std::to_string(cells.front().Width()) + "x" + std::to_string(cells.front().Height());
    };
    // Four antennas: in a row on a wide strip, two by two on a square.
    EXPECT_EQ(shape(Pattern3DCells({0, 0, 1200, 200}, 4)), "300x200");
    EXPECT_EQ(shape(Pattern3DCells({0, 0, 800, 800}, 4)), "400x400");
    EXPECT_EQ(shape(Pattern3DCells({0, 0, 400, 900}, 3)), "400x300");
    const std::vector<TRect> cells = Pattern3DCells({10, 20, 810, 420}, 3);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[2].left, 10 + 2 * 266);
    EXPECT_TRUE(Pattern3DCells({0, 0, 100, 100}, 0).empty());
}
