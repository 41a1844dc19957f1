// Inches on the printed sheet to printer pixels, plus the text, rule, bar and bitmap helpers and
// the two writing cursors of the specification sheet. Inches count from the sheet's corner; the
// printer's unprintable margin is subtracted on the way to device pixels.
#pragma once

#include "canvas/UnitPrint.h"

#include <string>

class QImage;
class QPrinter;

namespace quv {

struct TInchRect {
    double left = 0, top = 0, right = 0, bottom = 0;
};

class TPrint {
public:
    // Reads the printer's metrics now and again on RefreshMetrics.
    explicit TPrint(const QPrinter* printer);
    explicit TPrint(const TPrinterMetrics& metrics);

    int ResolutionX = 0;
    int ResolutionY = 0;
    int OffsetX = 0;
    int OffsetY = 0;

    void RefreshMetrics();
    void RefreshMetrics(const TPrinterMetrics& metrics);

    void SetCanvas(TCanvas* canvas) { canvas_ = canvas; }
    TCanvas* Canvas() const { return canvas_; }

    int DeviceX(double x) const;
    int DeviceY(double y) const;
    int LengthX(double v) const;
    int LengthY(double v) const;
    double PixelsToInchesY(double p) const;
    int PointsToFontHeight(double points) const;

    static TInchRect MakeRect(double left, double top, double right, double bottom);
    static TInchRect MakeRectWH(double left, double top, double width, double height);
    TRect ToDeviceRect(const TInchRect& r) const;

    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void Line(double x1, double y1, double x2, double y2);
    void FillInchRect(const TInchRect& r);
    // A solid bar in `colour`; the brush is left as it was.
    void Bar(TColor colour, double left, double top, double width, double height);

    // Text with its top-left corner at the point; returns the y of the next line.
    double TextAt(const std::string& text, double x, double y);
    void TextAligned(const std::string& text, int h, int v, double x, double y);
    // Text turned a quarter counter-clockwise; codes 1 and 1 centre it on the point.
    void VerticalText(const std::string& text, int v, int h, double x, double y);
    // Returns the height of the drawn (or, with dtCalcRect, measured) text in pixels.
    int DrawTextIn(const TInchRect& r, const std::string& text, unsigned flags);
    // Word-wrapped text in `width` inches; returns the y below it.
    double WrapText(const std::string& text, double x, double y, double width);
    void StretchBitmap(const TInchRect& r, const QImage& bitmap);

    void SetLineCursor(double x, double y, double gap);
    double WriteLine(const std::string& text);

    void SetRowCursor(double titleX, double valueX, double y, double gap);
    double TextPair(const std::string& title, const std::string& value, double titleX,
                    double valueX, double y);
    double WriteRow(const std::string& title, const std::string& value);

    double LineX = 0, LineY = 0, LineGap = 0;
    double RowTitleX = 0, RowValueX = 0, RowY = 0, RowGap = 0;

private:
    TCanvas& Target() const;
    const QPrinter* printer_ = nullptr;
    TCanvas* canvas_ = nullptr;
};

} // namespace quv
