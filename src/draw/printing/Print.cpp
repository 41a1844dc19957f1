#include "printing/Print.h"

#include "catalogue/NumberText.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace quv {

TPrint::TPrint(const QPrinter* printer) : printer_(printer)
{
    RefreshMetrics();
}

TPrint::TPrint(const TPrinterMetrics& metrics)
{
    RefreshMetrics(metrics);
}

void TPrint::RefreshMetrics()
{
    if (printer_)
        RefreshMetrics(ReadPrinterMetrics(*printer_));
}

void TPrint::RefreshMetrics(const TPrinterMetrics& metrics)
{
    ResolutionX = metrics.dpiX;
    ResolutionY = metrics.dpiY;
    OffsetX = metrics.offsetX;
    OffsetY = metrics.offsetY;
}

int TPrint::DeviceX(double x) const
{
    return static_cast<int>(RoundHalfEven(ResolutionX * x - OffsetX));
}

int TPrint::DeviceY(double y) const
{
    return static_cast<int>(RoundHalfEven(ResolutionY * y - OffsetY));
}

int TPrint::LengthX(double v) const
{
    return static_cast<int>(RoundHalfEven(ResolutionX * v));
}

int TPrint::LengthY(double v) const
{
    return static_cast<int>(RoundHalfEven(ResolutionY * v));
}

double TPrint::PixelsToInchesY(double p) const
{
    return p / ResolutionY;
}

int TPrint::PointsToFontHeight(double points) const
{
    return static_cast<int>(std::trunc(-points * ResolutionY / 72));
}

TInchRect TPrint::MakeRect(double left, double top, double right, double bottom)
{
    return {left, top, right, bottom};
}

TInchRect TPrint::MakeRectWH(double left, double top, double width, double height)
{
    return {left, top, left + width, top + height};
}

TRect TPrint::ToDeviceRect(const TInchRect& r) const
{
    return {DeviceX(r.left), DeviceY(r.top), DeviceX(r.right), DeviceY(r.bottom)};
}

TCanvas& TPrint::Target() const
{
    if (!canvas_)
        throw std::logic_error("TPrint: no canvas");
    return *canvas_;
}

void TPrint::MoveTo(double x, double y)
{
    Target().MoveTo(DeviceX(x), DeviceY(y));
}

void TPrint::LineTo(double x, double y)
{
    Target().LineTo(DeviceX(x), DeviceY(y));
}

void TPrint::Line(double x1, double y1, double x2, double y2)
{
    MoveTo(x1, y1);
    LineTo(x2, y2);
}

void TPrint::FillInchRect(const TInchRect& r)
{
    Target().FillRect(ToDeviceRect(r));
}

void TPrint::Bar(TColor colour, double left, double top, double width, double height)
{
    TCanvas& c = Target();
    const TBrush saved = c.Brush;
    c.Brush.color = colour;
    c.Brush.style = TBrushStyle::Solid;
    const int t = DeviceY(top);
    const int l = DeviceX(left);
    c.FillRect({l, t, l + LengthX(width), t + LengthY(height)});
    c.Brush = saved;
}

double TPrint::TextAt(const std::string& text, double x, double y)
{
    TCanvas& c = Target();
    c.TextOut(DeviceX(x), DeviceY(y), text);
    return y + static_cast<double>(std::abs(c.Font.height)) / ResolutionY;
}

void TPrint::TextAligned(const std::string& text, int h, int v, double x, double y)
{
    TCanvas& c = Target();
    const TSize size = c.TextExtent(text);
    c.TextOut(DeviceX(x) - AlignShift(size.cx, h), DeviceY(y) - AlignShift(size.cy, v), text);
}

void TPrint::VerticalText(const std::string& text, int v, int h, double x, double y)
{
    TCanvas& c = Target();
    const TSize size = c.TextExtent(text);
    c.TextOutRotated(DeviceX(x) - AlignShift(size.cy, v), DeviceY(y) + AlignShift(size.cx, h),
                     text);
}

int TPrint::DrawTextIn(const TInchRect& r, const std::string& text, unsigned flags)
{
    TRect device = ToDeviceRect(r);
    return Target().DrawText(text, device, flags);
}

double TPrint::WrapText(const std::string& text, double x, double y, double width)
{
    TCanvas& c = Target();
    const double lineHeight = static_cast<double>(std::abs(c.Font.height)) / ResolutionY;
    TRect measure = ToDeviceRect(MakeRect(x, y, x + width, y + lineHeight));
    const int h = c.DrawText(text, measure, dtWordBreak | dtCalcRect);
    const double bottom = y + h / static_cast<double>(ResolutionY);
    TRect target = ToDeviceRect(MakeRect(x, y, x + width, bottom));
    c.DrawText(text, target, dtWordBreak);
    return bottom;
}

void TPrint::StretchBitmap(const TInchRect& r, const QImage& bitmap)
{
    Target().StretchImage(ToDeviceRect(r), bitmap);
}

void TPrint::SetLineCursor(double x, double y, double gap)
{
    LineX = x;
    LineY = y;
    LineGap = gap;
}

double TPrint::WriteLine(const std::string& text)
{
    const double bottom = TextAt(text, LineX, LineY);
    LineY = bottom + LineGap;
    return bottom;
}

void TPrint::SetRowCursor(double titleX, double valueX, double y, double gap)
{
    RowTitleX = titleX;
    RowValueX = valueX;
    RowY = y;
    RowGap = gap;
}

double TPrint::TextPair(const std::string& title, const std::string& value, double titleX,
                        double valueX, double y)
{
    TextAt(title, titleX, y);
    return TextAt(value, valueX, y);
}

double TPrint::WriteRow(const std::string& title, const std::string& value)
{
    const double bottom = TextPair(title, value, RowTitleX, RowValueX, RowY);
    RowY = bottom + RowGap;
    return bottom;
}

} // namespace quv
