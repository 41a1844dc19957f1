// Maps a coordinate system of "units" onto a canvas with one scale and an offset: scale 1 for
// bitmaps and paint boxes, 100 units per inch on a printer page. Every coordinate rounds to the
// nearest device pixel with halves to the even neighbour.
#pragma once

#include "canvas/Canvas.h"

#include <string>

class QPrinter;

namespace quv {

// What the drawing classes need to know about a printer.
struct TPrinterMetrics {
    int dpiX = 600;
    int dpiY = 600;
    int physicalWidth = 0; // whole sheet, device pixels
    int offsetX = 0;       // printable area's offset from the sheet's corner, device pixels
    int offsetY = 0;
};

// Reads the metrics of a printer: its resolution, sheet width and printable-area offsets.
TPrinterMetrics ReadPrinterMetrics(const QPrinter& printer);

class TUnitPrint {
public:
    double ScaleX = 1.0;
    double ScaleY = 1.0;
    double OffsetX = 0.0;
    double OffsetY = 0.0;

    void SetCanvas(TCanvas* canvas) { canvas_ = canvas; }
    TCanvas* Canvas() const { return canvas_; }

    // One unit becomes 1/100 inch on the printer's sheet; `canvas` is the printer's canvas.
    void SetupForPrinter(const TPrinterMetrics& printer, TCanvas* canvas);
    void SetupForPrinter(const QPrinter& printer, TCanvas* canvas);

    int DeviceX(double x) const;
    int DeviceY(double y) const;
    TPoint ToDevice(double x, double y) const { return {DeviceX(x), DeviceY(y)}; }
    int LengthX(double v) const;
    int LengthY(double v) const;

    // The drawing calls need a canvas (SetCanvas or SetupForPrinter).
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void Circle(double cx, double cy, double r);
    // h and v: 0 the point is the text's left/top, 1 its centre, 2 its right/bottom.
    void TextAligned(const std::string& text, int h, int v, double x, double y);
    void TextCentredTop(const std::string& text, double x, double y)
    {
        TextAligned(text, 1, 0, x, y);
    }

private:
    TCanvas& Target() const;
    TCanvas* canvas_ = nullptr;
};

// The part of a text's extent that alignment code `code` (0, 1, 2) moves the text back by.
int AlignShift(int extent, int code);

} // namespace quv
