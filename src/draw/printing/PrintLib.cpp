#include "printing/PrintLib.h"

#include "catalogue/Errors.h"
#include "catalogue/Footprint.h"
#include "catalogue/NumberText.h"
#include "plot/FootprintView.h"
#include "plot/Pattern3DView.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace quv {

namespace {

// The page frame's fixed places (inches from the sheet's corner).
constexpr double kLeft = 1.375;      // left edge of titles, bars, headings and footer
constexpr double kValueLeft = 3.125; // model number and description column
constexpr double kRight = 7.5;       // right end of bars and rules
constexpr double kRuleWidth = kRight - kLeft;
constexpr double kFooterTop = 9.8125;
constexpr double kModelY = 1.3125; // centre of the model line
constexpr double kDescriptionTop = 1.5;

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

// The step from one wrapped line to the next in the current font: the font's whole line, so
// descenders and the next line's capitals never meet.
double LineStep(TPrint& w)
{
    const int cell = std::max(w.Canvas()->TextExtent("Ag").cy, std::abs(w.Canvas()->Font.height));
    return w.PixelsToInchesY(cell);
}

// Where the next line goes down a sheet: when it would reach the footer, a continuation sheet is
// started and the line goes below its model line.
class TSheetFlow {
public:
    TSheetFlow(const TQuvFile& r, TPrint& w, const TNewPage& newPage)
        : r_(r), w_(w), newPage_(newPage)
    {}
    // The y at which `height` inches can be drawn, wanted at `y`.
    double Room(double y, double height)
    {
        // An item taller than a whole sheet is drawn where the fresh sheet's body begins.
        if (!newPage_ || y + height <= kBodyBottom || y <= freshTop_)
            return y;
        TCanvas& c = *w_.Canvas();
        const TFont font = c.Font;
        const TPen pen = c.Pen;
        const TBrush brush = c.Brush;
        newPage_();
        freshTop_ = PrintContinuationHeader(r_, w_) + 0.125;
        c.Font = font;
        c.Pen = pen;
        c.Brush = brush;
        return freshTop_;
    }

private:
    const TQuvFile& r_;
    TPrint& w_;
    const TNewPage& newPage_;
    double freshTop_ = -1;
};

// Lines of `text` at x from y down, each taking `step`; returns the bottom of the last line.
double FlowLines(TPrint& w, TSheetFlow& flow, const std::vector<std::string>& lines, double x,
                 double y)
{
    const double lineHeight = w.PixelsToInchesY(std::abs(w.Canvas()->Font.height));
    const double step = LineStep(w);
    double bottom = y;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double at = flow.Room(i == 0 ? y : bottom - lineHeight + step, lineHeight);
        bottom = w.TextAt(lines[i], x, at);
    }
    return bottom;
}

// Rows of one section under the row cursor, remembering the bottom of the last drawn row.
class TSectionRows {
public:
    TSectionRows(TPrint& w, TSheetFlow& flow, double headingBottom, double gap)
        : w_(w), flow_(flow), bottom_(headingBottom)
    {
        w_.SetRowCursor(1.625, 4.875, headingBottom + 0.125, gap);
    }
    void Row(const std::string& title, const std::string& value)
    {
        TCanvas& c = *w_.Canvas();
        const double lineHeight = w_.PixelsToInchesY(std::abs(c.Font.height));
        w_.RowY = flow_.Room(w_.RowY, lineHeight);
        const int column = w_.DeviceX(kRight) - w_.DeviceX(w_.RowValueX);
        if (c.TextExtent(value).cx <= column) {
            bottom_ = w_.WriteRow(title, value);
            return;
        }
        // A datasheet loses nothing: a value wider than its column wraps within it, and the
        // rows below move down by the lines it takes.
        const double y = w_.RowY;
        w_.TextAt(title, w_.RowTitleX, y);
        bottom_ = FlowLines(w_, flow_, BreakLines(c, value, column), w_.RowValueX, y);
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
    TSheetFlow& flow_;
    double bottom_;
};

// A heading with room below it for its first row, on this sheet or the next.
double FlowHeading(TPrint& w, TSheetFlow& flow, const std::string& text, double y)
{
    const int h10 = std::abs(w.PointsToFontHeight(10));
    const double needed = w.PixelsToInchesY(h10 + h10 / 4) + 0.125 +
                          w.PixelsToInchesY(std::abs(w.Canvas()->Font.height));
    return PrintSectionHeading(w, text, kLeft, flow.Room(y, needed));
}

// The part number on the model line, 12 pt bold when it fits the column, smaller down to 8 pt,
// then wrapped. Returns the bottom of the part number.
double PrintModelLine(TPrint& w, const std::string& text)
{
    TCanvas& c = *w.Canvas();
    const int column = w.DeviceX(kRight) - w.DeviceX(kValueLeft);
    double points = 12;
    while (points > 8 && c.TextExtent(text).cx > column)
        c.Font.height = w.PointsToFontHeight(--points);
    const double lineHeight = w.PixelsToInchesY(std::abs(c.Font.height));
    if (c.TextExtent(text).cx <= column) {
        w.TextAligned(text, 0, 1, kValueLeft, kModelY);
        return kModelY + lineHeight / 2;
    }
    const std::vector<std::string> lines = BreakLines(c, text, column);
    double y = kModelY - lineHeight / 2;
    double bottom = y;
    const double step = LineStep(w);
    for (const std::string& line : lines) {
        bottom = w.TextAt(line, kValueLeft, y);
        y += step;
    }
    return bottom;
}

// Band, titles, logo, bars and model line; returns the y below the model line.
double PrintFrameTop(const std::string& model, TPrint& w)
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
    w.TextAligned("ANTENNA MODEL:", 0, 1, kLeft, kModelY);
    return PrintModelLine(w, model);
}

void PrintFooter(TPrint& w)
{
    TCanvas& c = *w.Canvas();
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
}

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

double PrintSheetHeader(const TQuvFile& record, TPrint& w, const TNewPage& newPage)
{
    const double modelBottom = PrintFrameTop(record.PartNumber, w);
    PrintFooter(w);

    SetFont(w, "Arial", 10, false);
    const double top = std::max(kDescriptionTop, modelBottom + 0.0625);
    w.TextAt("Description:", kLeft, top);
    const int column = w.DeviceX(kRight) - w.DeviceX(kValueLeft);
    TSheetFlow flow(record, w, newPage);
    const std::vector<std::string> lines = BreakLines(*w.Canvas(), record.Description, column);
    if (lines.empty())
        return top + w.PixelsToInchesY(std::abs(w.Canvas()->Font.height));
    return FlowLines(w, flow, lines, kValueLeft, top);
}

double PrintContinuationHeader(const TQuvFile& record, TPrint& w)
{
    const double modelBottom = PrintFrameTop(record.PartNumber + " (continued)", w);
    PrintFooter(w);
    return std::max(modelBottom, kDescriptionTop);
}

std::vector<std::string> BreakLines(TCanvas& canvas, const std::string& text, int width)
{
    std::vector<std::string> lines;
    std::string line;
    const auto fits = [&](const std::string& t) { return canvas.TextExtent(t).cx <= width; };
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '\r' || text[pos] == '\n') {
            lines.push_back(line);
            line.clear();
            pos += text.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
            continue;
        }
        std::size_t end = text.find_first_of(" \r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        std::string word = text.substr(pos, end - pos);
        pos = end < text.size() && text[end] == ' ' ? end + 1 : end;
        const std::string joined = line.empty() ? word : line + " " + word;
        if (fits(joined)) {
            line = joined;
            continue;
        }
        if (!line.empty())
            lines.push_back(line);
        line.clear();
        // A word wider than the whole column goes over as many lines as it needs.
        while (!word.empty() && !fits(word)) {
            std::size_t n = 1;
            while (n < word.size() && fits(word.substr(0, n + 1)))
                ++n;
            lines.push_back(word.substr(0, n));
            word.erase(0, n);
        }
        line = word;
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::string FrequencyBandText(const std::string& begin, const std::string& end)
{
    if (begin.empty() || end.empty())
        return begin + end;
    return begin + "-" + end;
}

std::string GainText(const std::string& dBd, const std::string& dBi)
{
    if (dBi.empty())
        return dBd;
    return dBd.empty() ? "(" + dBi + ")" : dBd + " (" + dBi + ")";
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

void PrintSpecBody(const TQuvFile& r, TPrint& w, double y, const TNewPage& newPage)
{
    TCanvas& c = *w.Canvas();
    c.Brush.style = TBrushStyle::Clear;
    SetFont(w, "Arial", 8, false);
    const double gap = QuarterLine(w);
    const bool omni = IsOmni(r.AntennaType);
    TSheetFlow flow(r, w, newPage);

    TSectionRows el(w, flow, FlowHeading(w, flow, "Electrical Specifications", y + 0.125), gap);
    el.Row("Frequency Band, MHz", FrequencyBandText(r.BeginSubFrequency, r.EndSubFrequency));
    el.Row("Gain, dBd (dBi)", GainText(r.GainDBd, r.GainDBi));
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

    TSectionRows me(w, flow, FlowHeading(w, flow, "Mechanical Specifications", el.NextHeading()),
                    gap);
    me.Row(omni ? "Antenna Dimensions - L x Dia., mm (in)"
                : "Antenna Dimensions - L x W x D, mm (in)",
           r.Dimensions);
    me.RowIf(!r.AntennaWeight.empty(), "Antenna Weight, kg (lb)", r.AntennaWeight);
    me.RowIf(!r.RadomeColor.empty(), "Radome Color", r.RadomeColor);
    // The record's material; the fixed text only stands in for a value of blanks.
    const bool blankMaterial = r.RadomeMaterial.find_first_not_of(' ') == std::string::npos;
    me.RowIf(!r.RadomeMaterial.empty(), "Radome Material",
             blankMaterial ? std::string("UV Protected Fiberglass") : r.RadomeMaterial);

    TSectionRows en(w, flow, FlowHeading(w, flow, "Environmental Specifications", me.NextHeading()),
                    gap);
    en.RowIf(!r.SurvivalWindSpeed.empty(), "Survival Wind Speed, km/h (mph)", r.SurvivalWindSpeed);
    en.RowIf(!r.WindLoadFrontal.empty(), "Wind Load - Frontal, N (lbf)*", r.WindLoadFrontal);
    en.RowIf(!r.WindLoadLateral.empty(), "Wind Load - Lateral, N (lbf)*", r.WindLoadLateral);
    en.RowIf(!r.WindLoadRear.empty(), "Wind Load - Rear, N (lbf)*", r.WindLoadRear);
    en.RowIf(!r.TemperatureRange.empty(), "Temperature Range, degrees C", r.TemperatureRange);
    en.RowIf(!r.Humidity.empty(), "Humidity, %", r.Humidity);
    en.Row("* Based on 100 mph (161 km/h)", "");

    TSectionRows sh(w, flow, FlowHeading(w, flow, "Shipping Specifications", en.NextHeading()),
                    gap);
    sh.RowIf(!r.ShippingDimensions.empty(),
             omni ? "Shipping Dimensions - L x Dia., mm (in)"
                  : "Shipping Dimensions - L x W x D, mm (in)",
             r.ShippingDimensions);
    sh.RowIf(!r.ShippingWeight.empty(), "Shipping Weight, kg (lb)", r.ShippingWeight);

    TSectionRows mo(
        w, flow, FlowHeading(w, flow, "Mounting Hardware Specifications", sh.NextHeading()), gap);
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

void PrintSpecSheet(const TQuvFile& record, TPrint& writer, const TNewPage& newPage)
{
    PrintSpecBody(record, writer, PrintSheetHeader(record, writer, newPage), newPage);
}

std::string PlotCaption(const TQuvFile& record, TPatternCutKind cut, TPlotType plotType)
{
    std::string text = cut == TPatternCutKind::Azimuth ? "Azimuth" : "Elevation";
    text += plotType == TPlotType::RelativePower ? ", relative power in dB" : ", relative field";
    if (!record.MeasuredFrequency.empty())
        text += ", measured at " + record.MeasuredFrequency + " MHz";
    return text;
}

namespace {

// The printed plots: diameter 2.625 in, centres 3.5 in apart, the azimuth plot at y 3.75 unless
// the header reaches lower. The angle labels reach 1.1625 radii from the centre.
constexpr double kPlotRadius = 1.3125;
constexpr double kPlotStep = 3.5;
constexpr double kAzimuthY = 3.75;
constexpr double kPlotX = 4.43;
constexpr double kLabelReach = 1.1625 * kPlotRadius;
constexpr double kCaptionGap = 0.0625;
constexpr double kCaptionPoints = 9;
// Below this the grid labels become hard to read; the plots move to a continuation sheet then.
constexpr double kMinPlotScale = 0.6;

struct TPlotPlace {
    double azimuthY;
    double scale;
};

// Where the plots go below a header ending at `top`, shrunk only when they would reach the footer.
std::optional<TPlotPlace> PlacePlots(double top, double captionHeight)
{
    const double clearTop = top + 0.125;
    const double full = 2 * kLabelReach + kPlotStep + kCaptionGap + captionHeight;
    const double azimuthY = std::max(kAzimuthY, clearTop + kLabelReach);
    if (azimuthY - kLabelReach + full <= kBodyBottom)
        return TPlotPlace{azimuthY, 1.0};
    const double scale =
        (kBodyBottom - clearTop - kCaptionGap - captionHeight) / (2 * kLabelReach + kPlotStep);
    if (scale < kMinPlotScale)
        return std::nullopt;
    return TPlotPlace{clearTop + kLabelReach * scale, scale};
}

} // namespace

void PrintPatternPage(const TQuvFile& record, TPrint& writer, TPlotType plotType,
                      const TNewPage& newPage)
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
    const double top = PrintSheetHeader(record, writer, newPage);

    TCanvas& c = *writer.Canvas();
    SetFont(writer, "Arial", kCaptionPoints, false);
    const double captionHeight = writer.PixelsToInchesY(std::abs(c.Font.height));
    std::optional<TPlotPlace> place = PlacePlots(top, captionHeight);
    if (!place && newPage) {
        newPage();
        place = PlacePlots(PrintContinuationHeader(record, writer), captionHeight);
    }
    if (!place)
        place = TPlotPlace{kAzimuthY, 1.0};

    const double ys[] = {place->azimuthY, place->azimuthY + kPlotStep * place->scale};
    const TPatternCutKind cuts[] = {TPatternCutKind::Azimuth, TPatternCutKind::Elevation};
    for (int i = 0; i < 2; ++i) {
        const TPoint centre{static_cast<int>(RoundHalfEven(kPlotX * 100)),
                            static_cast<int>(RoundHalfEven(ys[i] * 100))};
        DrawPolarPlot(mapper, antennas, centre, true, TraceColors, plotType, cuts[i], 10,
                      kNoRotation, 2 * kPlotRadius * 100 * place->scale);
        SetFont(writer, "Arial", kCaptionPoints, false);
        c.Brush.style = TBrushStyle::Clear;
        writer.TextAligned(PlotCaption(record, cuts[i], plotType), 1, 0, kPlotX,
                           ys[i] + kLabelReach * place->scale + kCaptionGap);
    }
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
                      FootprintTitle(geometry));
}

void PrintAntennaPages(const TQuvFile& record, TPrint& writer, TPrintJob job,
                       const std::function<void()>& newPage, TPlotType plotType)
{
    if (job == TPrintJob::SpaceOnly) {
        PrintSpacePage(record, writer);
        return;
    }
    if (job != TPrintJob::PatternsOnly)
        PrintSpecSheet(record, writer, newPage);
    if (job == TPrintJob::Both && newPage)
        newPage();
    if (job != TPrintJob::SpecsOnly)
        PrintPatternPage(record, writer, plotType, newPage);
}

} // namespace quv
