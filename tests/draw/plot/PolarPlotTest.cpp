// The pattern arithmetic and the renderer's geometry, recorded on a canvas without pixels.
#include "catalogue/Errors.h"
#include "plot/PolarPlotLib.h"
#include "support/GuiApp.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace quv;
using Op = TRecordingCanvas::Op;

namespace {

// A record whose two cuts hold level(i) at every index.
std::unique_ptr<TQuvFile> MakeRecord(const std::string& part,
                                     const std::function<std::string(int)>& level)
{
    auto record = std::make_unique<TQuvFile>();
    record->PartNumber = part;
    for (int i = 0; i <= 360; ++i) {
        record->Azimuth.Append(level(i));
        record->Elevation.Append(level(i));
    }
    return record;
}

std::string Zero(int)
{
    return "0";
}

struct TPlotFixture {
    TRecordingCanvas canvas;
    TUnitPrint unit;
    TQuvFileList list;
    std::vector<std::unique_ptr<TQuvFile>> records;

    TPlotFixture() { unit.SetCanvas(&canvas); }
    void Add(std::unique_ptr<TQuvFile> record)
    {
        list.Add(record->PartNumber, record.get());
        records.push_back(std::move(record));
    }
    void Draw(TPlotType type, TPatternCutKind cut, const TRotationAngles& rotation = kNoRotation,
              TPoint centre = {100, 100}, double diameter = 160, int step = 30)
    {
        DrawPolarPlot(unit, list, centre, false, TraceColors, type, cut, step, rotation, diameter);
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> out;
        for (const auto& c : canvas.Of(Op::TextOut))
            out.push_back(c.text);
        return out;
    }
};

} // namespace

TEST(PatternArithmetic, PowerRadiusClampsAtMinusFortyAndUsesTheMagnitude)
{
    EXPECT_DOUBLE_EQ(PowerRadius(0, 80), 80);
    EXPECT_DOUBLE_EQ(PowerRadius(-20, 80), 40);
    EXPECT_DOUBLE_EQ(PowerRadius(-40, 80), 0);
    EXPECT_DOUBLE_EQ(PowerRadius(-55, 80), 0);
    EXPECT_DOUBLE_EQ(PowerRadius(3, 80), PowerRadius(-3, 80));
    // No upper clamp: a large positive level goes through the centre to the other side.
    EXPECT_DOUBLE_EQ(PowerRadius(50, 80), -20);
}

TEST(PatternArithmetic, FieldRadiusIsTheUnclampedAmplitude)
{
    EXPECT_DOUBLE_EQ(FieldRadius(0, 100), 100);
    EXPECT_NEAR(FieldRadius(-6, 100), 50.12, 0.01);
    EXPECT_NEAR(FieldRadius(-20, 100), 10, 1e-9);
    EXPECT_NEAR(FieldRadius(-40, 100), 1, 1e-9);
    EXPECT_NEAR(FieldRadius(3, 100), 141.25, 0.01);
    EXPECT_NEAR(DbToField(-60), 0.001, 1e-12);
}

TEST(PatternArithmetic, AnglesRunCounterClockwiseFromThreeOClock)
{
    EXPECT_DOUBLE_EQ(PolarX(100, 0, 50), 150);
    EXPECT_NEAR(PolarY(100, 0, 50), 100, 1e-12);
    EXPECT_NEAR(PolarX(100, 90, 50), 100, 1e-12);
    EXPECT_DOUBLE_EQ(PolarY(100, 90, 50), 50); // y grows downwards: 90 is above the centre
    EXPECT_NEAR(PolarX(100, 180, 50), 50, 1e-12);
    EXPECT_NEAR(PolarY(100, 270, 50), 150, 1e-12);
    EXPECT_NEAR(PolarX(100, -90, 50), PolarX(100, 270, 50), 1e-12);
}

TEST(PolarPlot, BoxOf177By169)
{
    EXPECT_EQ(PlotDiameterForBox(177, 169), 139);
    EXPECT_EQ(PlotDiameterForBox(272, 150), 124); // 123.75
    TRecordingCanvas canvas;
    TQuvFileList empty;
    DrawBoxPlot(canvas, 177, 169, empty, TPlotType::RelativePower, TPatternCutKind::Azimuth,
                kNoRotation);

    // Power grid: ring step 139/16 = 8.6875, outer radius 69.5, labels on 78.1875.
    const auto circles = canvas.Of(Op::Ellipse);
    ASSERT_EQ(circles.size(), 8u);
    EXPECT_EQ(circles[0].rect, (TRect{79, 75, 97, 93})); // 79.3125 .. 96.6875
    EXPECT_EQ(circles[7].rect, (TRect{18, 14, 158, 154}));

    const auto spokes = canvas.Of(Op::Line);
    ASSERT_EQ(spokes.size(), 12u);
    for (const auto& s : spokes)
        EXPECT_EQ(s.points[0], (TPoint{88, 84}));
    EXPECT_EQ(spokes[2].points[1], (TPoint{88, 14}));   // 90 degrees, 14.5 to even
    EXPECT_EQ(spokes[11].points[1], (TPoint{158, 84})); // 360 degrees

    // Font height 0.6 s = 5.2 -> 5: characters 3 wide in the recording canvas.
    const auto texts = canvas.Of(Op::TextOut);
    ASSERT_EQ(texts.size(), 12u + 8u);
    EXPECT_EQ(texts[0].font.height, 5);
    EXPECT_EQ(texts[0].font.name, "Arial");
    EXPECT_EQ(texts[0].text, "0");
    EXPECT_EQ(texts[0].points[0], (TPoint{166 - 1, 84 - 2})); // 166.1875 on the right
    EXPECT_EQ(texts[3].text, "90");
    EXPECT_EQ(texts[3].points[0], (TPoint{88 - 3, 6 - 2})); // 5.8125 above
    EXPECT_EQ(texts[6].text, "180");
    EXPECT_EQ(texts[6].points[0], (TPoint{10 - 4, 84 - 2}));
    EXPECT_EQ(texts[9].text, "270");
    EXPECT_EQ(texts[9].points[0], (TPoint{88 - 4, 162 - 2}));
    // Level labels: a column on the centre line, each with its top on its circle.
    EXPECT_EQ(texts[12].text, "-35");
    EXPECT_EQ(texts[12].points[0], (TPoint{84, 75}));
    EXPECT_EQ(texts[19].text, "  0");
    EXPECT_EQ(texts[19].points[0], (TPoint{84, 14}));
}

TEST(PolarPlot, GridLabelsAndColours)
{
    TPlotFixture power;
    power.Draw(TPlotType::RelativePower, TPatternCutKind::Azimuth);
    const std::vector<std::string> powerTexts = power.Texts();
    const std::vector<std::string> powerLevels(powerTexts.begin() + 12, powerTexts.end());
    EXPECT_EQ(powerLevels,
              (std::vector<std::string>{"-35", "-30", "-25", "-20", "-15", "-10", " -5", "  0"}));
    const std::vector<std::string> angles(powerTexts.begin(), powerTexts.begin() + 12);
    EXPECT_EQ(angles, (std::vector<std::string>{"0", "30", "60", "90", "120", "150", "180", "210",
                                                "240", "270", "300", "330"}));

    TPlotFixture field;
    field.Draw(TPlotType::RelativeField, TPatternCutKind::Elevation);
    const auto fieldTexts = field.Texts();
    ASSERT_EQ(fieldTexts.size(), 12u + 10u);
    EXPECT_EQ(std::vector<std::string>(fieldTexts.begin() + 12, fieldTexts.end()),
              (std::vector<std::string>{"0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8",
                                        "0.9", "1.0"}));
    const auto fieldCircles = field.canvas.Of(Op::Ellipse);
    ASSERT_EQ(fieldCircles.size(), 10u);
    EXPECT_EQ(fieldCircles[9].rect, (TRect{20, 20, 180, 180}));
    EXPECT_EQ(fieldCircles[0].rect, (TRect{92, 92, 108, 108}));

    // On screen: silver spokes and inner circles, black outer circle, clear brush, 1-pixel pen.
    for (const auto& s : power.canvas.Of(Op::Line)) {
        EXPECT_EQ(s.pen.color, clSilver);
        EXPECT_EQ(s.pen.width, 1);
    }
    const auto circles = power.canvas.Of(Op::Ellipse);
    for (std::size_t k = 0; k + 1 < circles.size(); ++k)
        EXPECT_EQ(circles[k].pen.color, clSilver);
    EXPECT_EQ(circles.back().pen.color, clBlack);
    EXPECT_EQ(circles.back().brush.style, TBrushStyle::Clear);
}

TEST(PolarPlot, QuickPreviewStepShowsFourSpokesAndLabels)
{
    for (const TPlotType type : {TPlotType::RelativePower, TPlotType::RelativeField}) {
        TPlotFixture f;
        f.Draw(type, TPatternCutKind::Azimuth, kNoRotation, {85, 85}, 140, 90);
        EXPECT_EQ(f.canvas.Of(Op::Line).size(), 4u);
        const auto texts = f.Texts();
        ASSERT_GE(texts.size(), 4u);
        EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 4),
                  (std::vector<std::string>{"0", "90", "180", "270"}));
        EXPECT_EQ(f.canvas.Of(Op::TextOut)[0].font.height, 5);
        EXPECT_EQ(f.canvas.Of(Op::Ellipse).back().rect, (TRect{15, 15, 155, 155}));
    }
}

TEST(PolarPlot, PrinterGridTurnsBlackWhenSilverWouldVanish)
{
    auto gridColours = [](std::function<std::optional<TColor>(TColor)> nearest, bool forPrinter) {
        TRecordingCanvas canvas;
        canvas.NearestColorQuery = std::move(nearest);
        TUnitPrint unit;
        unit.SetCanvas(&canvas);
        TQuvFileList empty;
        DrawPolarPlot(unit, empty, {443, 375}, forPrinter, TraceColors, TPlotType::RelativePower,
                      TPatternCutKind::Azimuth, 10, kNoRotation, 262.5);
        std::vector<TColor> colours;
        for (const auto& c : canvas.calls)
            if (c.op == Op::Line || c.op == Op::Ellipse)
                colours.push_back(c.pen.color);
        EXPECT_EQ(colours.size(), 36u + 8u);
        return colours;
    };
    auto toWhite = [](TColor) -> std::optional<TColor> { return clWhite; };
    auto fails = [](TColor) -> std::optional<TColor> { return std::nullopt; };
    auto same = [](TColor c) -> std::optional<TColor> { return c; };

    for (const TColor c : gridColours(toWhite, true))
        EXPECT_EQ(c, clBlack);
    for (const TColor c : gridColours(fails, true))
        EXPECT_EQ(c, clBlack);
    const auto colourPrinter = gridColours(same, true);
    EXPECT_EQ(colourPrinter.front(), clSilver);
    EXPECT_EQ(colourPrinter.back(), clBlack);
    // The screen never asks: silver even where the device would show white.
    const auto screen = gridColours(toWhite, false);
    EXPECT_EQ(screen.front(), clSilver);
    EXPECT_EQ(screen[screen.size() - 2], clSilver);
}

TEST(PolarPlot, TracesPlacePointsByAngleAndRotation)
{
    TPlotFixture f;
    f.Add(MakeRecord("A", Zero));
    f.Add(MakeRecord("B", Zero));
    f.Draw(TPlotType::RelativePower, TPatternCutKind::Azimuth, {0, 90, 0, 0});

    const auto traces = f.canvas.Of(Op::Polyline);
    ASSERT_EQ(traces.size(), 2u);
    ASSERT_EQ(traces[0].points.size(), 361u);
    // 0 dB on the outer ring (radius 80 around (100, 100)).
    EXPECT_EQ(traces[0].points[0], (TPoint{180, 100}));
    EXPECT_EQ(traces[0].points[90], (TPoint{100, 20}));
    EXPECT_EQ(traces[0].points[180], (TPoint{20, 100}));
    EXPECT_EQ(traces[0].points[270], (TPoint{100, 180}));
    EXPECT_EQ(traces[0].points[360], traces[0].points[0]);
    // Rotation +90 turns the second trace a quarter counter-clockwise.
    EXPECT_EQ(traces[1].points[0], (TPoint{100, 20}));
    EXPECT_EQ(traces[1].points[270], (TPoint{180, 100}));
    EXPECT_EQ(traces[0].pen.width, 2); // 1.75 rounded

    // Elevation traces never rotate.
    TPlotFixture e;
    e.Add(MakeRecord("A", Zero));
    e.Draw(TPlotType::RelativePower, TPatternCutKind::Elevation, {90, 90, 90, 90});
    EXPECT_EQ(e.canvas.Of(Op::Polyline)[0].points[0], (TPoint{180, 100}));

    // Levels: -20 dB halfway out in power, -20 dB at a tenth in field, +3 dB outside the ring.
    TPlotFixture levels;
    levels.Add(MakeRecord("L", [](int i) { return i == 0 ? " -20 " : i == 90 ? "-55" : "3"; }));
    levels.Draw(TPlotType::RelativePower, TPatternCutKind::Azimuth);
    const auto p = levels.canvas.Of(Op::Polyline)[0].points;
    EXPECT_EQ(p[0], (TPoint{140, 100}));
    EXPECT_EQ(p[90], (TPoint{100, 100}));
    EXPECT_EQ(p[180], (TPoint{26, 100})); // 3 dB reads as 3 below: 74
    levels.canvas.calls.clear();
    levels.Draw(TPlotType::RelativeField, TPatternCutKind::Azimuth);
    const auto q = levels.canvas.Of(Op::Polyline)[0].points;
    EXPECT_EQ(q[0], (TPoint{108, 100}));
    EXPECT_EQ(q[180], (TPoint{-13, 100})); // 80 * 1.4125 = 113.0
}

TEST(PolarPlot, CompositeColoursInOrderAndAtMostFourTraces)
{
    TPlotFixture f;
    for (const char* part : {"A", "B", "C", "D", "E"})
        f.Add(MakeRecord(part, Zero));
    f.Draw(TPlotType::RelativeField, TPatternCutKind::Azimuth);
    const auto traces = f.canvas.Of(Op::Polyline);
    ASSERT_EQ(traces.size(), 4u);
    const std::vector<TColor> expected{{0, 0, 255}, {255, 0, 0}, {0, 128, 0}, {255, 0, 255}};
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(traces[k].pen.color, expected[k]);
        EXPECT_EQ(traces[k].brush.color, expected[k]);
    }
}

TEST(PolarPlot, BadLevelStopsThePlotAfterTheGrid)
{
    TPlotFixture f;
    f.Add(MakeRecord("A", Zero));
    f.Add(MakeRecord("B", [](int i) { return i == 200 ? "1,5" : "0"; }));
    f.Add(MakeRecord("C", Zero));
    try {
        f.Draw(TPlotType::RelativePower, TPatternCutKind::Azimuth);
        FAIL() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'1,5' is not a valid floating point value");
    }
    EXPECT_EQ(f.canvas.Of(Op::Ellipse).size(), 8u);
    EXPECT_EQ(f.canvas.Of(Op::Polyline).size(), 1u); // neither the bad trace nor the ones after it
}

TEST(PolarPlot, PrinterScaleUsesHundredthsOfAnInch)
{
    TRecordingCanvas canvas;
    TUnitPrint unit;
    unit.SetupForPrinter(TPrinterMetrics{600, 600, 5100, 25, 30}, &canvas);
    TPlotFixture f;
    f.Add(MakeRecord("A", Zero));
    DrawPolarPlot(unit, f.list, {443, 375}, true, TraceColors, TPlotType::RelativePower,
                  TPatternCutKind::Azimuth, 10, kNoRotation, 262.5);
    const auto circles = canvas.Of(Op::Ellipse);
    ASSERT_EQ(circles.size(), 8u);
    EXPECT_EQ(circles[0].pen.width, 6);
    // Outer radius 131.25: 443 + 131.25 = 574.25 -> 3445.5 - 25 -> 3420 (to even).
    EXPECT_EQ(circles[7].rect.right, 3420);
    const auto trace = canvas.Of(Op::Polyline);
    ASSERT_EQ(trace.size(), 1u);
    EXPECT_EQ(trace[0].pen.width, 10);
    EXPECT_EQ(trace[0].points[0], (TPoint{3420, 2220}));
}

TEST(QuickPreview, DrawsBothCutsAndKeepsAnUnfinishedImage)
{
    test::EnsureGuiApp();
    const auto good = MakeRecord("GOOD", Zero);
    QImage azimuth, elevation;
    DrawQuickPreviewImages(*good, TPlotType::RelativePower, azimuth, elevation);
    ASSERT_EQ(azimuth.size(), QSize(170, 170));
    ASSERT_EQ(elevation.size(), QSize(170, 170));
    // A 0 dB ring on radius 70 around (85, 85), in the first trace colour.
    EXPECT_EQ(azimuth.pixelColor(155, 85), QColor(0, 0, 255));
    EXPECT_EQ(elevation.pixelColor(85, 15), QColor(0, 0, 255));
    EXPECT_EQ(azimuth.pixelColor(2, 2), QColor(Qt::white));

    auto bad = MakeRecord("BAD", Zero);
    bad->Elevation = TPatternCut();
    for (int i = 0; i <= 360; ++i)
        bad->Elevation.Append(i == 5 ? "x" : "-40");
    QImage before = elevation;
    EXPECT_THROW(DrawQuickPreviewImages(*bad, TPlotType::RelativePower, azimuth, elevation),
                 EConvertError);
    EXPECT_EQ(elevation, before);
}
