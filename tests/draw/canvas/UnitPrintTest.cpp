// Unit mappers on the 600 dpi example printer (physical offsets 25 and 30 pixels) and on a
// recording canvas, whose text is fixed-pitch: half the font height per character.
#include "canvas/UnitPrint.h"
#include "printing/Print.h"

#include <gtest/gtest.h>

using namespace quv;

namespace {

const TPrinterMetrics kExamplePrinter{600, 600, 5100, 25, 30};

} // namespace

TEST(UnitPrint, PrinterScaleAndHalfEvenRounding)
{
    TRecordingCanvas canvas;
    TUnitPrint unit;
    EXPECT_EQ(unit.DeviceX(10.5), 10); // scale 1 until set up; 10.5 rounds to even
    EXPECT_EQ(unit.DeviceY(11.5), 12);

    unit.SetupForPrinter(kExamplePrinter, &canvas);
    EXPECT_DOUBLE_EQ(unit.ScaleX, 6.0);
    EXPECT_DOUBLE_EQ(unit.ScaleY, 6.0);
    EXPECT_EQ(unit.Canvas(), &canvas);
    EXPECT_EQ(unit.DeviceX(443), 2633);
    EXPECT_EQ(unit.DeviceY(375), 2220);
    EXPECT_EQ(unit.LengthX(1.75), 10); // 10.5
    EXPECT_EQ(unit.LengthX(2.25), 14); // 13.5
    EXPECT_EQ(unit.LengthY(1), 6);
    EXPECT_EQ(unit.ToDevice(100, 100), (TPoint{575, 570}));

    // A printer that reports no sheet width must not turn every coordinate into garbage.
    TUnitPrint noSheet;
    noSheet.SetupForPrinter(TPrinterMetrics{600, 600, 0, 25, 30}, &canvas);
    EXPECT_DOUBLE_EQ(noSheet.ScaleX, 6.0);
    EXPECT_EQ(noSheet.DeviceX(443), 2633);
}

TEST(UnitPrint, CircleAndAlignedText)
{
    TRecordingCanvas canvas;
    canvas.Font.height = 10; // characters 5 wide, 10 high
    TUnitPrint unit;
    unit.SetCanvas(&canvas);

    unit.Circle(88, 84, 69.5);
    unit.TextAligned("abcd", 1, 1, 50, 50);
    unit.TextAligned("abcd", 2, 2, 50, 50);
    unit.TextAligned("abcd", 7, 0, 50, 50); // unknown code acts as 0
    unit.TextCentredTop("abc", 50, 50);     // 15 wide: half is 7

    ASSERT_EQ(canvas.calls.size(), 5u);
    EXPECT_EQ(canvas.calls[0].rect, (TRect{18, 14, 158, 154})); // 18.5, 14.5, 157.5, 153.5
    EXPECT_EQ(canvas.calls[1].points[0], (TPoint{40, 45}));
    EXPECT_EQ(canvas.calls[2].points[0], (TPoint{30, 40}));
    EXPECT_EQ(canvas.calls[3].points[0], (TPoint{50, 50}));
    EXPECT_EQ(canvas.calls[4].points[0], (TPoint{43, 50}));
}

TEST(Print, InchesToPrinterPixels)
{
    TPrint print(kExamplePrinter);
    EXPECT_EQ(print.DeviceX(1.375), 800);
    EXPECT_EQ(print.DeviceY(0.75), 420);
    EXPECT_EQ(print.PointsToFontHeight(10), -83);
    EXPECT_EQ(print.PointsToFontHeight(8), -66); // 66.67 truncated, not rounded
    EXPECT_DOUBLE_EQ(print.PixelsToInchesY(300), 0.5);
    const TInchRect r = TPrint::MakeRectWH(1, 2, 0.5, 0.25);
    EXPECT_EQ(print.ToDeviceRect(r), (TRect{575, 1170, 875, 1320}));

    print.RefreshMetrics(TPrinterMetrics{300, 300, 2550, 0, 0});
    EXPECT_EQ(print.DeviceX(1.375), 412); // 412.5 to even
    EXPECT_EQ(print.LengthX(0.125), 38);  // 37.5 to even
    EXPECT_EQ(print.LengthY(0.375), 112); // 112.5 to even
}

TEST(Print, BarRestoresTheBrush)
{
    TRecordingCanvas canvas;
    canvas.Brush = {TColor{255, 0, 0}, TBrushStyle::Clear};
    TPrint print(kExamplePrinter);
    print.SetCanvas(&canvas);

    print.Bar(TColor{0, 0, 255}, 1, 1, 0.5, 0.25);

    ASSERT_EQ(canvas.calls.size(), 1u);
    const auto& fill = canvas.calls[0];
    EXPECT_EQ(fill.op, TRecordingCanvas::Op::FillRect);
    EXPECT_EQ(fill.rect, (TRect{575, 570, 875, 720}));
    EXPECT_EQ(fill.brush.color, (TColor{0, 0, 255}));
    EXPECT_EQ(fill.brush.style, TBrushStyle::Solid);
    EXPECT_EQ(canvas.Brush.color, (TColor{255, 0, 0}));
    EXPECT_EQ(canvas.Brush.style, TBrushStyle::Clear);
}

TEST(Print, TextPlacementAndCursors)
{
    TRecordingCanvas canvas;
    canvas.Font.height = -83;
    TPrint print(kExamplePrinter);
    print.SetCanvas(&canvas);

    const double next = print.TextAt("x", 1, 2);
    EXPECT_DOUBLE_EQ(next, 2 + 83.0 / 600);

    print.SetLineCursor(1, 2, 0.1);
    EXPECT_DOUBLE_EQ(print.WriteLine("first"), 2 + 83.0 / 600);
    EXPECT_DOUBLE_EQ(print.LineY, 2 + 83.0 / 600 + 0.1);
    print.WriteLine("second");

    print.SetRowCursor(0.5, 2.5, 3, 0.05);
    EXPECT_DOUBLE_EQ(print.WriteRow("Title", "Value"), 3 + 83.0 / 600);
    EXPECT_DOUBLE_EQ(print.RowY, 3 + 83.0 / 600 + 0.05);

    const auto texts = canvas.Of(TRecordingCanvas::Op::TextOut);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[1].points[0], (TPoint{575, 1170}));
    EXPECT_EQ(texts[2].points[0].y, print.DeviceY(2 + 83.0 / 600 + 0.1));
    EXPECT_EQ(texts[3].points[0], (TPoint{275, 1770}));
    EXPECT_EQ(texts[4].points[0], (TPoint{1475, 1770}));
    EXPECT_EQ(texts[4].text, "Value");

    // Rotated text centred on the point: back by half the height, down by half the width.
    canvas.calls.clear();
    canvas.Font.height = 10;
    print.VerticalText("abcd", 1, 1, 1, 1);
    print.VerticalText("abcd", 2, 0, 1, 1);
    const auto rotated = canvas.Of(TRecordingCanvas::Op::TextRotated);
    ASSERT_EQ(rotated.size(), 2u);
    EXPECT_EQ(rotated[0].points[0], (TPoint{575 - 5, 570 + 10}));
    EXPECT_EQ(rotated[1].points[0], (TPoint{575 - 10, 570}));
}

TEST(Print, WrapTextDrawsEveryLineAndReturnsTheYBelow)
{
    TRecordingCanvas canvas;
    canvas.Font.height = 10; // 5 pixels a character: 20 per inch at 100 dpi
    TPrint print(TPrinterMetrics{100, 100, 850, 0, 0});
    print.SetCanvas(&canvas);

    const double bottom = print.WrapText("aaaa bbbb cccc dddd eeee ffff", 1, 2, 1);

    EXPECT_DOUBLE_EQ(bottom, 2.2); // two lines of 10 pixels
    const auto draws = canvas.Of(TRecordingCanvas::Op::DrawText);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_TRUE(draws[0].flags & dtCalcRect);
    EXPECT_EQ(draws[1].flags, static_cast<unsigned>(dtWordBreak));
    EXPECT_EQ(draws[1].rect, (TRect{100, 200, 200, 220}));
}
