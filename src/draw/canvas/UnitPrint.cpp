#include "canvas/UnitPrint.h"

#include "catalogue/NumberText.h"

#include <QPageLayout>
#include <QPrinter>

#include <stdexcept>

namespace quv {

TPrinterMetrics ReadPrinterMetrics(const QPrinter& printer)
{
    TPrinterMetrics m;
    const int dpi = printer.resolution();
    m.dpiX = dpi;
    m.dpiY = dpi;
    const QPageLayout layout = printer.pageLayout();
    const QRect full = layout.fullRectPixels(dpi);
    const QRect paint = layout.paintRectPixels(dpi);
    m.physicalWidth = full.width();
    // The painter's origin is the printable area's corner unless the printer prints full page.
    if (!printer.fullPage()) {
        m.offsetX = paint.left() - full.left();
        m.offsetY = paint.top() - full.top();
    }
    return m;
}

void TUnitPrint::SetupForPrinter(const TPrinterMetrics& printer, TCanvas* canvas)
{
    const double w = printer.physicalWidth;
    double scale = printer.dpiX / 100.0;
    // The sheet width cancels out; it is kept so results match the way the scale was always
    // computed. Without a sheet width the resolution alone gives the same scale.
    if (w > 0 && printer.dpiX > 0)
        scale = w / ((w / printer.dpiX) * 100);
    ScaleX = scale;
    ScaleY = scale;
    OffsetX = printer.offsetX;
    OffsetY = printer.offsetY;
    canvas_ = canvas;
}

void TUnitPrint::SetupForPrinter(const QPrinter& printer, TCanvas* canvas)
{
    SetupForPrinter(ReadPrinterMetrics(printer), canvas);
}

int TUnitPrint::DeviceX(double x) const
{
    return static_cast<int>(RoundHalfEven(x * ScaleX - OffsetX));
}

int TUnitPrint::DeviceY(double y) const
{
    return static_cast<int>(RoundHalfEven(y * ScaleY - OffsetY));
}

int TUnitPrint::LengthX(double v) const
{
    return static_cast<int>(RoundHalfEven(v * ScaleX));
}

int TUnitPrint::LengthY(double v) const
{
    return static_cast<int>(RoundHalfEven(v * ScaleY));
}

TCanvas& TUnitPrint::Target() const
{
    if (!canvas_)
        throw std::logic_error("TUnitPrint: no canvas");
    return *canvas_;
}

void TUnitPrint::MoveTo(double x, double y)
{
    Target().MoveTo(DeviceX(x), DeviceY(y));
}

void TUnitPrint::LineTo(double x, double y)
{
    Target().LineTo(DeviceX(x), DeviceY(y));
}

void TUnitPrint::Circle(double cx, double cy, double r)
{
    Target().Ellipse(DeviceX(cx - r), DeviceY(cy - r), DeviceX(cx + r), DeviceY(cy + r));
}

int AlignShift(int extent, int code)
{
    if (code == 1)
        return extent / 2;
    if (code == 2)
        return extent;
    return 0;
}

void TUnitPrint::TextAligned(const std::string& text, int h, int v, double x, double y)
{
    TCanvas& c = Target();
    const TSize size = c.TextExtent(text);
    c.TextOut(DeviceX(x) - AlignShift(size.cx, h), DeviceY(y) - AlignShift(size.cy, v), text);
}

} // namespace quv
