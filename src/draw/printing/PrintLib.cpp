#include "printing/PrintLib.h"

#include "catalogue/Errors.h"
#include "catalogue/Footprint.h"
#include "catalogue/NumberText.h"
#include "plot/FootprintView.h"
#include "plot/Pattern3DView.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdlib>

namespace quv {

namespace {

// The page frame's fixed places (inches from the sheet's corner).
constexpr double kLeft = 1.375;      // left edge of titles, bars, headings and footer
constexpr double kValueLeft = 3.125; // model number and description column
constexpr double kRight = 7.5;       // right end of bars and rules
constexpr double kRuleWidth = kRight - kLeft;
constexpr double kFooterTop = 9.8125;

// The footer's contact lines. Neutral texts of our own: the numbers are of the reserved
// fictional range and the address is of a reserved domain.
constexpr const char* kSupportTitle = "Customer Support Center:";
constexpr const char* kSupportPhone = "Telephone: +1 800 555 0100";
constexpr const char* kSupportFax = "Fax: +1 800 555 0101";
constexpr const char* kSupportWeb = "www.tavrin.example";
constexpr const char* kReferenceNote =
    "This Specification Sheet is for reference only and is subject to change without notice.";
constexpr const char* kCopyright = "Copyright \xA9 2026 Tavrin Corporation. All rights reserved.";

void SetFont(TPrint& w, const char* name, double points, bool bold, TColor color = clBlack)
{
    TFont& f = w.Canvas()->Font;
    f.name = name;
    f.height = w.PointsToFontHeight(points);
    f.bold = bold;
    f.italic = false;
    f.underline = false;
    f.color = color;
}

// One quarter of the current font's line height, in inches.
double QuarterLine(const TPrint& w)
{
    return w.PixelsToInchesY(std::abs(w.Canvas()->Font.height)) / 4;
}

// Rows of one section under the row cursor, remembering the bottom of the last drawn row.
class TSectionRows {
public:
    TSectionRows(TPrint& w, double headingBottom, double gap) : w_(w), bottom_(headingBottom)
    {
        w_.SetRowCursor(1.625, 4.875, headingBottom + 0.125, gap);
    }
    void Row(const std::string& title, const std::string& value)
    {
        TCanvas& c = *w_.Canvas();
        const int column = w_.DeviceX(kRight) - w_.DeviceX(w_.RowValueX);
        if (c.TextExtent(value).cx <= column) {
            bottom_ = w_.WriteRow(title, value);
            return;
        }
        // A value wider than its column would run off the sheet unnoticed; it ends at the rule's
        // end with an ellipsis instead, so the reader sees it was shortened.
        const double y = w_.RowY;
        bottom_ = w_.TextAt(title, w_.RowTitleX, y);
        w_.DrawTextIn(TPrint::MakeRect(w_.RowValueX, y, kRight, bottom_), value,
                      dtSingleLine | dtEndEllipsis | dtNoPrefix);
        w_.RowY = bottom_ + w_.RowGap;
    }
    void RowIf(bool drawn, const std::string& title, const std::string& value)
    {
        if (drawn)
            Row(title, value);
    }
    // Where the next heading starts.
    double NextHeading() const { return bottom_ + 0.1875; }

private:
    TPrint& w_;
    double bottom_;
};

} // namespace

int ConnectorCount(const std::string& text)
{
    // Blanks around the digits are tolerated; anything else is not a count.
    std::size_t i = 0, end = text.size();
    while (i < end && text[i] == ' ')
        ++i;
    while (end > i && text[end - 1] == ' ')
        --end;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == end)
        return 0;
    long long value = 0;
    for (; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return 0;
        value = value * 10 + (text[i] - '0');
        if (value > 1'000'000'000)
            return 0;
    }
    return static_cast<int>(negative ? -value : value);
}

QImage LogoImage()
{
    // A lightning flash on a blue disc sending waves to the right; shapes only, so it needs no
    // fonts.
    QImage image(600, 198, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    QLinearGradient disc(0, 10, 0, 188);
    disc.setColorAt(0, QColor(40, 90, 230));
    disc.setColorAt(1, QColor(0, 0, 150));
    p.setBrush(disc);
    p.drawEllipse(QRectF(10, 10, 178, 178));
    QPainterPath flash;
    flash.moveTo(118, 22);
    flash.lineTo(58, 108);
    flash.lineTo(96, 108);
    flash.lineTo(76, 176);
    flash.lineTo(140, 84);
    flash.lineTo(102, 84);
    flash.closeSubpath();
    p.setBrush(QColor(255, 196, 0));
    p.drawPath(flash);
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < 4; ++k) {
        QPen wave(k % 2 ? QColor(255, 196, 0) : QColor(0, 0, 170), 16, Qt::SolidLine, Qt::RoundCap);
        p.setPen(wave);
        const double r = 60 + 55 * k;
        p.drawArc(QRectF(99 + 60 - r, 99 - r, 2 * r, 2 * r), -40 * 16, 80 * 16);
    }
    return image;
}

void DrawLogo(TPrint& writer, const TInchRect& rect)
{
    writer.StretchBitmap(rect, LogoImage());
}

double PrintSheetHeader(const TQuvFile& record, TPrint& w)
{
    TCanvas& c = *w.Canvas();
    c.Brush.color = clBlue;
    c.Brush.style = TBrushStyle::Solid;
    w.FillInchRect(TPrint::MakeRectWH(0.6875, 0.9375, 0.5, 3.125));

    c.Brush.style = TBrushStyle::Clear;
    SetFont(w, "Arial Black", 25, false, clWhite);
    w.VerticalText(kProductLine, 1, 1, 0.921875, 2.5);

    SetFont(w, "Arial", 18, true);
    w.TextAligned("B a s e  S t a t i o n  A n t e n n a s", 0, 1, kLeft, 0.75);

    DrawLogo(w, TPrint::MakeRectWH(6.0625, 0.5, 1.0, 0.33));

    w.Bar(clBlue, kLeft, 0.9375, kRuleWidth, 0.01);
    w.Bar(clBlue, kLeft, 1.125, kRuleWidth, 0.01);

    SetFont(w, "Arial", 12, true);
    w.TextAligned("A N T E N N A  S P E C I F I C A T I O N S", 0, 1, kLeft, 1.03125);
    w.TextAligned("ANTENNA MODEL:", 0, 1, kLeft, 1.3125);
    w.TextAligned(record.PartNumber, 0, 1, kValueLeft, 1.3125);

    SetFont(w, "Arial", 10, false);
    w.TextAt("Description:", kLeft, 1.5);
    const double below = w.WrapText(record.Description, kValueLeft, 1.5, kRight - kValueLeft);

    w.Bar(clBlue, kLeft, 9.75, kRuleWidth, 0.03125);

    SetFont(w, "Arial", 7, true);
    const double gap = QuarterLine(w);
    w.SetLineCursor(kLeft, kFooterTop, gap);
    w.WriteLine(kSupportTitle);
    c.Font.bold = false;
    w.WriteLine(kSupportPhone);
    w.WriteLine(kSupportFax);
    c.Font.bold = true;
    c.Font.color = clBlue;
    w.WriteLine(kSupportWeb);
    c.Font.bold = false;
    c.Font.color = clBlack;
    w.SetLineCursor(3.625, kFooterTop, gap);
    w.WriteLine(kReferenceNote);
    w.WriteLine(kCopyright);
    return below;
}

double PrintSectionHeading(TPrint& w, const std::string& text, double x, double y)
{
    TCanvas& c = *w.Canvas();
    c.Pen.color = clBlack;
    c.Pen.width = w.LengthY(0.002);
    const bool bold = c.Font.bold;
    const int height = c.Font.height;
    c.Font.bold = true;
    c.Font.height = w.PointsToFontHeight(10);

    const int h = std::abs(c.Font.height);
    w.Line(x, y, kRight, y);
    const double y2 = y + w.PixelsToInchesY(h + h / 4);
    w.Line(x, y2, kRight, y2);
    w.TextAligned(text, 0, 1, x, (y + y2) / 2);

    c.Font.bold = bold;
    c.Font.height = height;
    return y2;
}

void PrintSpecBody(const TQuvFile& r, TPrint& w, double y)
{
    TCanvas& c = *w.Canvas();
    c.Brush.style = TBrushStyle::Clear;
    SetFont(w, "Arial", 8, false);
    const double gap = QuarterLine(w);
    const bool omni = IsOmni(r.AntennaType);

    TSectionRows el(w, PrintSectionHeading(w, "Electrical Specifications", kLeft, y + 0.125), gap);
    el.Row("Frequency Band, MHz", r.BeginSubFrequency + "-" + r.EndSubFrequency);
    el.Row("Gain, dBd (dBi)", r.GainDBd + " (" + r.GainDBi + ")");
    el.RowIf(!omni, "Azimuth Beamwidth, degrees", r.AzimuthBeamwidth);
    el.Row("Elevation Beamwidth, degrees", r.ElevationBeamwidth);
    el.RowIf(!omni, "Front to Back Ratio, dB", r.FrontToBackRatio);
    el.Row("Return Loss, dB (VSWR)", r.ReturnLoss);
    el.RowIf(!r.Impedance.empty(), "Impedance, ohms", r.Impedance);
    el.RowIf(!omni && !r.PortToPortIsolation.empty() && ConnectorCount(r.NumberOfConnectors) > 1,
             "Port to Port Isolation, dB", r.PortToPortIsolation);
    el.RowIf(!omni && !r.Intermodulation.empty(), "Intermodulation, dBc", r.Intermodulation);
    el.Row("Polarization Type", r.PolarizationType);
    el.Row("Electrical Downtilt, degrees", r.ElectricalDowntilt);
    el.RowIf(!r.ExtendedPatternDescription.empty(), "Extended Description",
             r.ExtendedPatternDescription);
    el.RowIf(!r.MaxInputPower.empty(), "Maximum Input Power, watts", r.MaxInputPower);
    el.RowIf(!r.LightningProtection.empty(), "Lightning Protection", r.LightningProtection);
    el.Row("Connector Type", r.ConnectorType);
    el.RowIf(!r.ConnectorPosition.empty(), "Connector Position", r.ConnectorPosition);
    el.RowIf(!omni && !r.NumberOfConnectors.empty(), "Number of Connectors", r.NumberOfConnectors);

    TSectionRows me(w, PrintSectionHeading(w, "Mechanical Specifications", kLeft, el.NextHeading()),
                    gap);
    me.Row(omni ? "Antenna Dimensions - L x Dia., mm (in)"
                : "Antenna Dimensions - L x W x D, mm (in)",
           r.Dimensions);
    me.RowIf(!r.AntennaWeight.empty(), "Antenna Weight, kg (lb)", r.AntennaWeight);
    me.RowIf(!r.RadomeColor.empty(), "Radome Color", r.RadomeColor);
    me.RowIf(!r.RadomeMaterial.empty(), "Radome Material", "UV Protected Fiberglass");

    TSectionRows en(
        w, PrintSectionHeading(w, "Environmental Specifications", kLeft, me.NextHeading()), gap);
    en.RowIf(!r.SurvivalWindSpeed.empty(), "Survival Wind Speed, km/h (mph)", r.SurvivalWindSpeed);
    en.RowIf(!r.WindLoadFrontal.empty(), "Wind Load - Frontal, N (lbf)*", r.WindLoadFrontal);
    en.RowIf(!r.WindLoadLateral.empty(), "Wind Load - Lateral, N (lbf)*", r.WindLoadLateral);
    en.RowIf(!r.WindLoadRear.empty(), "Wind Load - Rear, N (lbf)*", r.WindLoadRear);
    en.RowIf(!r.TemperatureRange.empty(), "Temperature Range, degrees C", r.TemperatureRange);
    en.RowIf(!r.Humidity.empty(), "Humidity, %", r.Humidity);
    en.Row("* Based on 100 mph (161 km/h)", "");

    TSectionRows sh(w, PrintSectionHeading(w, "Shipping Specifications", kLeft, en.NextHeading()),
                    gap);
    sh.RowIf(!r.ShippingDimensions.empty(),
             omni ? "Shipping Dimensions - L x Dia., mm (in)"
                  : "Shipping Dimensions - L x W x D, mm (in)",
             r.ShippingDimensions);
    sh.RowIf(!r.ShippingWeight.empty(), "Shipping Weight, kg (lb)", r.ShippingWeight);

    TSectionRows mo(
        w, PrintSectionHeading(w, "Mounting Hardware Specifications", kLeft, sh.NextHeading()),
        gap);
    mo.Row("Mounting Bracket Part Number", r.MountPartNumber);
    mo.RowIf(!r.MountDescription.empty(), "Mount Description", r.MountDescription);
    mo.RowIf(!r.MountWeight.empty(), "Mount Weight, kg (lb)", r.MountWeight);
    if (!r.PartNumberWithMount.empty()) {
        mo.Row("", "");
        mo.Row("To include mounting hardware with antenna,", r.PartNumberWithMount);
        mo.Row("order part number:", "");
    }
    if (!r.ShippingDimensionsWithMount.empty()) {
        mo.Row("", "");
        mo.Row("Shipping Dimensions - mount with antenna -", r.ShippingDimensionsWithMount);
        mo.Row(" L x W x D, mm (in)", "");
    }
    mo.RowIf(!r.ShippingWeightWithMount.empty(), "Shipping Weight - mount with antenna, kg (lb)",
             r.ShippingWeightWithMount);
}

void PrintSpecSheet(const TQuvFile& record, TPrint& writer)
{
    PrintSpecBody(record, writer, PrintSheetHeader(record, writer));
}

void PrintPatternPage(const TQuvFile& record, TPrint& writer, TPlotType plotType)
{
    TPrinterMetrics metrics;
    metrics.dpiX = writer.ResolutionX;
    metrics.dpiY = writer.ResolutionY;
    metrics.offsetX = writer.OffsetX;
    metrics.offsetY = writer.OffsetY;
    TUnitPrint mapper;
    mapper.SetupForPrinter(metrics, writer.Canvas());
    // The plot only reads the record through the list.
    TQuvFileList antennas;
    antennas.Add(record.PartNumber, const_cast<TQuvFile*>(&record));
    PrintSheetHeader(record, writer);
    DrawPolarPlot(mapper, antennas, {443, 375}, true, TraceColors, plotType,
                  TPatternCutKind::Azimuth, 10, kNoRotation, 262.5);
    DrawPolarPlot(mapper, antennas, {443, 725}, true, TraceColors, plotType,
                  TPatternCutKind::Elevation, 10, kNoRotation, 262.5);
}

void PrintSpacePage(const TQuvFile& record, TPrint& writer)
{
    const auto cuts = CutsOf(record);
    if (!cuts) {
        for (const TPatternCut* cut : {&record.Azimuth, &record.Elevation})
            for (std::size_t i = 0; i < cut->size(); ++i)
                if (!IsNumber((*cut)[i]))
                    throw EConvertError::NotAFloat((*cut)[i]);
        throw EListError(
            static_cast<int>(std::min(record.Azimuth.size(), record.Elevation.size())));
    }
    const TPattern3D pattern = BuildPattern3D(*cuts, T3DMethod::Auto);
    const double top = std::max(2.5, PrintSheetHeader(record, writer) + 0.2);
    TCanvas& canvas = *writer.Canvas();
    DrawPattern3DView(canvas, writer.ToDeviceRect(TPrint::MakeRect(1.375, top, 7.5, 6.2)), pattern,
                      {},
                      record.PartNumber + "  (" + std::string(MethodName(pattern.Method())) + ")");
    const TFootprintGeometry geometry;
    DrawFootprintView(canvas, writer.ToDeviceRect(TPrint::MakeRect(0.75, 6.35, 7.75, 9.7)),
                      {{record.PartNumber, FootprintAlong(pattern, geometry)}},
                      FootprintMap(pattern, geometry, 2000, 400), record.PartNumber,
                      "Height 30 m, no mechanical tilt");
}

void PrintAntennaPages(const TQuvFile& record, TPrint& writer, TPrintJob job,
                       const std::function<void()>& newPage, TPlotType plotType)
{
    if (job == TPrintJob::SpaceOnly) {
        PrintSpacePage(record, writer);
        return;
    }
    if (job != TPrintJob::PatternsOnly)
        PrintSpecSheet(record, writer);
    if (job == TPrintJob::Both && newPage)
        newPage();
    if (job != TPrintJob::SpecsOnly)
        PrintPatternPage(record, writer, plotType);
}

} // namespace quv
