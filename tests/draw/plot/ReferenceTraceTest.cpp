// The reference pattern's trace on the recording canvas: drawn last, dashed and dark grey, over
// an unchanged antenna plot, and nothing at all without a reference.
#include "plot/PolarPlotLib.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quv;
using Op = TRecordingCanvas::Op;

namespace {

TEST(ReferenceTrace, IsDrawnLastDashedOverTheUnchangedPlot)
{
    auto record = std::make_unique<TQuvFile>();
    record->PartNumber = "A";
    for (int i = 0; i <= 360; ++i) {
        record->Azimuth.Append("-3");
        record->Elevation.Append("-3");
    }
    TQuvFileList list;
    list.Add("A", record.get());
    // 0 dB at index 0, -20 dB at index 90, -10 dB elsewhere.
    TReferencePattern reference;
    reference.azimuth.fill(-10);
    reference.azimuth[0] = reference.azimuth[360] = 0;
    reference.azimuth[90] = -20;
    reference.elevation.fill(-40);

    const struct {
        TPlotType type;
        double radiusAt90; // of the outer radius 100
    } cases[] = {{TPlotType::RelativePower, 50}, {TPlotType::RelativeField, 10}};
    for (const auto& c : cases) {
        TRecordingCanvas plain, overlaid;
        TUnitPrint a, b;
        a.SetCanvas(&plain);
        b.SetCanvas(&overlaid);
        DrawPolarPlot(a, list, {150, 150}, false, TraceColors, c.type, TPatternCutKind::Azimuth, 30,
                      {45, 0, 0, 0}, 200);
        DrawPolarPlot(b, list, {150, 150}, false, TraceColors, c.type, TPatternCutKind::Azimuth, 30,
                      {45, 0, 0, 0}, 200, &reference);
        ASSERT_EQ(overlaid.calls.size(), plain.calls.size() + 1);
        for (std::size_t i = 0; i < plain.calls.size(); ++i) {
            EXPECT_EQ(overlaid.calls[i].points, plain.calls[i].points) << i;
            EXPECT_EQ(overlaid.calls[i].pen, plain.calls[i].pen) << i;
        }
        const auto& trace = overlaid.calls.back();
        EXPECT_EQ(trace.op, Op::Polyline);
        EXPECT_EQ(trace.pen.color, kReferenceTraceColor);
        EXPECT_EQ(trace.pen.style, TPenStyle::Dash);
        EXPECT_EQ(trace.pen.width, 2);
        ASSERT_EQ(trace.points.size(), 361u);
        // Not rotated with the antenna: index 0 at 3 o'clock on the outer ring, 90 straight up.
        EXPECT_EQ(trace.points[0], (TPoint{250, 150}));
        EXPECT_EQ(trace.points[90], (TPoint{150, static_cast<int>(150 - c.radiusAt90)}));
        EXPECT_EQ(overlaid.Pen.style, TPenStyle::Solid);
    }

    // The elevation plot takes the elevation cut: -40 dB everywhere lies on the centre.
    TRecordingCanvas canvas;
    TUnitPrint unit;
    unit.SetCanvas(&canvas);
    DrawPolarPlot(unit, TQuvFileList(), {100, 100}, false, TraceColors, TPlotType::RelativePower,
                  TPatternCutKind::Elevation, 30, kNoRotation, 100, &reference);
    for (const TPoint& p : canvas.calls.back().points)
        EXPECT_EQ(p, (TPoint{100, 100}));
}

} // namespace
