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
// The 3D view of the 3D and footprint page ends here and is never shorter than this (inches):
// its title line takes a little, the picture keeps 3 inches. The footprint's legend names the
// antenna in at most this many characters.
constexpr double kSpaceViewBottom = 6.2;
constexpr double kSpaceViewMin = 3.25;
constexpr std::size_t kSpaceLegendChars = 24;
// A part number shrinks no further than this before it breaks between characters.
constexpr double kSmallestModelPoints = 4;
// A sheet that would spill onto a second one has its row pitch tightened down to this share (in
// per cent) of the full pitch; below it the rows grow hard to tell apart.
constexpr int kTightestPitchPercent = 85;

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

// Draws nothing and measures with the canvas it stands in for: a sheet is laid out on it first
// to learn how many sheets it takes.
class TMeasuringCanvas : public TCanvas {
public:
    explicit TMeasuringCanvas(TCanvas& real) : real_(real)
    {
        Pen = real.Pen;
        Brush = real.Brush;
        Font = real.Font;
    }
    void Polyline(const std::vector<TPoint>&) override {}
    void Ellipse(int, int, int, int) override {}
    void FillRect(const TRect&) override {}
    void TextOut(int, int, const std::string&) override {}
    TSize TextExtent(const std::string& text) override
    {
        const TFont saved = real_.Font;
        real_.Font = Font;
        const TSize size = real_.TextExtent(text);
        real_.Font = saved;
        return size;
    }
    int DrawText(const std::string& text, TRect& rect, unsigned flags) override
    {
        const TFont saved = real_.Font;
        real_.Font = Font;
        const int height = real_.DrawText(text, rect, flags | dtCalcRect);
        real_.Font = saved;
        return height;
    }
    void TextOutRotated(int, int, const std::string&) override {}
    void StretchImage(const TRect&, const QImage&) override {}
    std::optional<TColor> NearestColor(TColor color) override { return real_.NearestColor(color); }

protected:
    void DrawLine(TPoint, TPoint) override {}

private:
    TCanvas& real_;
};

// Where the next line goes down a sheet: when it would reach the footer, a continuation sheet is
// started and the line goes below its model line, under the open section's heading repeated.
class TSheetFlow {
public:
    TSheetFlow(const TQuvFile& r, TPrint& w, const TNewPage& newPage, int sheets = 1)
        : r_(r), w_(w), newPage_(newPage), sheets_(sheets)
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
        ++sheet_;
        // Only a datasheet laid out beforehand knows its count; other pages are not numbered.
        const int count = sheets_ > 1 ? std::max(sheets_, sheet_) : 1;
        freshTop_ = PrintContinuationHeader(r_, w_, sheet_, count) + 0.125;
        c.Font = font;
        c.Pen = pen;
        c.Brush = brush;
        if (!section_.empty()) {
            freshTop_ =
                PrintSectionHeading(w_, section_ + " (continued)", kLeft, freshTop_) + firstRowGap_;
            c.Pen = pen;
        }
        return freshTop_;
    }
    // The section whose heading a continuation repeats; empty between sections.
    void OpenSection(const std::string& heading, double firstRowGap)
    {
        section_ = heading;
        firstRowGap_ = firstRowGap;
    }
    int Sheet() const { return sheet_; }
    int Sheets() const { return sheets_; }

private:
    const TQuvFile& r_;
    TPrint& w_;
    const TNewPage& newPage_;
    int sheet_ = 1;
    int sheets_ = 1;
    double freshTop_ = -1;
    std::string section_;
    double firstRowGap_ = 0.125;
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
// `pitch` below 1 tightens the row pitch and the spaces around headings of a sheet that would
// otherwise spill onto a second one.
class TSectionRows {
public:
    TSectionRows(TPrint& w, TSheetFlow& flow, double headingBottom, double gap, double pitch)
        : w_(w), flow_(flow), bottom_(headingBottom)
    {
        const double lineHeight = w.PixelsToInchesY(std::abs(w.Canvas()->Font.height));
        w_.SetRowCursor(1.625, 4.875, headingBottom + 0.125 * pitch,
                        pitch == 1.0 ? gap : pitch * (lineHeight + gap) - lineHeight);
    }
    void Row(const std::string& title, const std::string& value)
    {
        TCanvas& c = *w_.Canvas();
        const double lineHeight = w_.PixelsToInchesY(std::abs(c.Font.height));
        const int column = w_.DeviceX(kRight) - w_.DeviceX(w_.RowValueX);
        if (c.TextExtent(value).cx <= column) {
            w_.RowY = flow_.Room(w_.RowY, lineHeight);
            bottom_ = w_.WriteRow(title, value);
            return;
        }
        // A datasheet loses nothing: a value wider than its column wraps within it, and the
        // rows below move down by the lines it takes. The row moves to the next sheet whole.
        const std::vector<std::string> lines = BreakLines(c, value, column);
        const double y =
            flow_.Room(w_.RowY, lineHeight + LineStep(w_) * static_cast<double>(lines.size() - 1));
        w_.TextAt(title, w_.RowTitleX, y);
        bottom_ = FlowLines(w_, flow_, lines, w_.RowValueX, y);
        w_.RowY = bottom_ + w_.RowGap;
    }
    // Where the next heading starts.
    double NextHeading(double pitch) const { return bottom_ + 0.1875 * pitch; }

private:
    TPrint& w_;
    TSheetFlow& flow_;
    double bottom_;
};

// A heading with room below it for its first row, on this sheet or the next.
double FlowHeading(TPrint& w, TSheetFlow& flow, const std::string& text, double y, double pitch)
{
    const int h10 = std::abs(w.PointsToFontHeight(10));
    const double needed = w.PixelsToInchesY(h10 + h10 / 4) + 0.125 * pitch +
                          w.PixelsToInchesY(std::abs(w.Canvas()->Font.height));
    flow.OpenSection("", 0);
    const double bottom = PrintSectionHeading(w, text, kLeft, flow.Room(y, needed));
    flow.OpenSection(text, 0.125 * pitch);
    return bottom;
}

// Pieces of a part number between the places a reader expects a break: after a hyphen and after
// a blank. Joined again they give the text.
std::vector<std::string> PartNumberPieces(const std::string& text)
{
    std::vector<std::string> pieces;
    std::string piece;
    for (char ch : text) {
        piece += ch;
        if (ch == '-' || ch == ' ') {
            pieces.push_back(piece);
            piece.clear();
        }
    }
    if (!piece.empty())
        pieces.push_back(piece);
    return pieces;
}

std::string TrimTrailingBlanks(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// The part number on the model line, 12 pt bold when it fits the column, smaller down to 8 pt,
// then broken after a hyphen or at a blank; a part number that cannot break there shrinks
// further, so an order code is never cut inside a run of letters and digits. Returns the bottom
// of the part number.
double PrintModelLine(TPrint& w, const std::string& text)
{
    TCanvas& c = *w.Canvas();
    const int column = w.DeviceX(kRight) - w.DeviceX(kValueLeft);
    std::vector<std::string> lines = BreakPartNumber(c, text, column);
    const bool blank = text.find_first_not_of(' ') == std::string::npos;
    for (double points = 12; !blank && (lines.empty() || (lines.size() > 1 && points > 8));) {
        if (points <= kSmallestModelPoints) {
            // Smaller than this is unreadable: the last resort breaks between characters.
            lines = BreakLines(c, text, column);
            break;
        }
        points -= points > 8 ? 1 : 0.5;
        c.Font.height = w.PointsToFontHeight(points);
        lines = BreakPartNumber(c, text, column);
    }
    const double lineHeight = w.PixelsToInchesY(std::abs(c.Font.height));
    if (lines.size() <= 1) {
        w.TextAligned(text, 0, 1, kValueLeft, kModelY);
        return kModelY + lineHeight / 2;
    }
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
double PrintFrameTop(const std::string& model, TPrint& w,
                     const char* title = "A N T E N N A  S P E C I F I C A T I O N S")
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
    w.TextAligned(title, 0, 1, kLeft, 1.03125);
    w.TextAligned("ANTENNA MODEL:", 0, 1, kLeft, kModelY);
    return PrintModelLine(w, model);
}

// `sheet` of `sheets` is said only on a datasheet of more than one sheet.
void PrintFooter(TPrint& w, int sheet = 1, int sheets = 1)
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
    const double copyrightY = w.LineY;
    w.WriteLine(kCopyright);
    if (sheets > 1) {
        c.Font.bold = true;
        const std::string where =
            "Sheet " + std::to_string(sheet) + " of " + std::to_string(sheets);
        w.TextAligned(where, 2, 0, kRight, copyrightY);
        c.Font.bold = false;
    }
}

// At most `count` lines; when lines are dropped the last kept one ends in `mark`, words giving
// way to it as needed.
std::vector<std::string> CutLines(TCanvas& c, std::vector<std::string> lines, std::size_t count,
                                  const std::string& mark, int width)
{
    if (lines.size() <= count || count == 0)
        return lines;
    lines.resize(count);
    std::string& last = lines.back();
    while (!last.empty() && c.TextExtent(last + mark).cx > width) {
        const std::size_t blank = last.find_last_of(' ');
        last.erase(blank == std::string::npos ? last.size() - 1 : blank);
    }
    last += mark;
    return lines;
}

// The page frame of a first sheet; the description flows on continuation sheets through `flow`,
// or, with `descriptionLines`, is cut to that many lines.
double PrintFirstFrame(const TQuvFile& record, TPrint& w, TSheetFlow& flow, const char* title,
                       std::size_t descriptionLines = 0)
{
    const double modelBottom = PrintFrameTop(record.PartNumber, w, title);
    PrintFooter(w, 1, flow.Sheets());

    SetFont(w, "Arial", 10, false);
    const double top = std::max(kDescriptionTop, modelBottom + 0.0625);
    w.TextAt("Description:", kLeft, top);
    const int column = w.DeviceX(kRight) - w.DeviceX(kValueLeft);
    const std::vector<std::string> lines =
        CutLines(*w.Canvas(), BreakLines(*w.Canvas(), record.Description, column), descriptionLines,
                 " \x85 full text on the datasheet", column);
    if (lines.empty())
        return top + w.PixelsToInchesY(std::abs(w.Canvas()->Font.height));
    return FlowLines(w, flow, lines, kValueLeft, top);
}

void PrintBody(const TQuvFile& r, TPrint& w, TSheetFlow& flow, double y, double pitch)
{
    TCanvas& c = *w.Canvas();
    c.Brush.style = TBrushStyle::Clear;
    SetFont(w, "Arial", 8, false);
    const double gap = QuarterLine(w);
    double next = y + 0.125 * pitch;
    for (const TSpecSection& section : SpecSections(r)) {
        TSectionRows rows(w, flow, FlowHeading(w, flow, section.heading, next, pitch), gap, pitch);
        for (const TSpecRow& row : section.rows)
            rows.Row(row.title, row.value);
        next = rows.NextHeading(pitch);
    }
    flow.OpenSection("", 0);
}

// The whole datasheet with the row pitch scaled by `pitch`, saying it has `sheets` sheets.
void PrintSpecSheetAt(const TQuvFile& record, TPrint& w, const TNewPage& newPage, double pitch,
                      int sheets)
{
    TSheetFlow flow(record, w, newPage, sheets);
    const double y = PrintFirstFrame(record, w, flow, "A N T E N N A  S P E C I F I C A T I O N S");
    PrintBody(record, w, flow, y, pitch);
}

// How many sheets the datasheet takes at `pitch`, laid out without drawing.
int SheetsAt(const TQuvFile& record, TPrint& w, double pitch)
{
    TCanvas* real = w.Canvas();
    TMeasuringCanvas measure(*real);
    int sheets = 1;
    const TNewPage count = [&sheets] { ++sheets; };
    w.SetCanvas(&measure);
    try {
        PrintSpecSheetAt(record, w, count, pitch, 1);
    } catch (...) {
        w.SetCanvas(real);
        throw;
    }
    w.SetCanvas(real);
    return sheets;
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
    TSheetFlow flow(record, w, newPage);
    return PrintFirstFrame(record, w, flow, "A N T E N N A  S P E C I F I C A T I O N S");
}

double PrintContinuationHeader(const TQuvFile& record, TPrint& w, int sheet, int sheets)
{
    const double modelBottom = PrintFrameTop(record.PartNumber + " (continued)", w);
    PrintFooter(w, sheet, sheets);
    return std::max(modelBottom, kDescriptionTop);
}

std::vector<std::string> BreakPartNumber(TCanvas& canvas, const std::string& text, int width)
{
    std::vector<std::string> lines;
    std::string line;
    const auto fits = [&](const std::string& t) {
        return canvas.TextExtent(TrimTrailingBlanks(t)).cx <= width;
    };
    for (const std::string& piece : PartNumberPieces(text)) {
        if (fits(line + piece)) {
            line += piece;
            continue;
        }
        if (!fits(piece))
            return {};
        if (!TrimTrailingBlanks(line).empty())
            lines.push_back(TrimTrailingBlanks(line));
        line = piece;
    }
    if (!TrimTrailingBlanks(line).empty())
        lines.push_back(TrimTrailingBlanks(line));
    return lines;
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

std::vector<TSpecSection> SpecSections(const TQuvFile& r)
{
    const bool omni = IsOmni(r.AntennaType);
    std::vector<TSpecSection> sections;
    TSpecSection* open = nullptr;
    const auto section = [&](const char* heading) {
        open = &sections.emplace_back();
        open->heading = heading;
    };
    const auto row = [&](const std::string& title, const std::string& value) {
        open->rows.push_back({title, value});
    };
    const auto rowIf = [&](bool drawn, const std::string& title, const std::string& value) {
        if (drawn)
            row(title, value);
    };

    section("Electrical Specifications");
    row("Frequency Band, MHz", FrequencyBandText(r.BeginSubFrequency, r.EndSubFrequency));
    row("Gain, dBd (dBi)", GainText(r.GainDBd, r.GainDBi));
    rowIf(!omni, "Azimuth Beamwidth, degrees", r.AzimuthBeamwidth);
    row("Elevation Beamwidth, degrees", r.ElevationBeamwidth);
    rowIf(!omni, "Front to Back Ratio, dB", r.FrontToBackRatio);
    row("Return Loss, dB (VSWR)", r.ReturnLoss);
    rowIf(!r.Impedance.empty(), "Impedance, ohms", r.Impedance);
    rowIf(!omni && !r.PortToPortIsolation.empty() && ConnectorCount(r.NumberOfConnectors) > 1,
          "Port to Port Isolation, dB", r.PortToPortIsolation);
    rowIf(!omni && !r.Intermodulation.empty(), "Intermodulation, dBc", r.Intermodulation);
    row("Polarization Type", r.PolarizationType);
    row("Electrical Downtilt, degrees", r.ElectricalDowntilt);
    rowIf(!r.ExtendedPatternDescription.empty(), "Extended Description",
          r.ExtendedPatternDescription);
    rowIf(!r.MaxInputPower.empty(), "Maximum Input Power, watts", r.MaxInputPower);
    rowIf(!r.LightningProtection.empty(), "Lightning Protection", r.LightningProtection);
    row("Connector Type", r.ConnectorType);
    rowIf(!r.ConnectorPosition.empty(), "Connector Position", r.ConnectorPosition);
    rowIf(!omni && !r.NumberOfConnectors.empty(), "Number of Connectors", r.NumberOfConnectors);

    section("Mechanical Specifications");
    row(omni ? "Antenna Dimensions - L x Dia., mm (in)" : "Antenna Dimensions - L x W x D, mm (in)",
        r.Dimensions);
    rowIf(!r.AntennaWeight.empty(), "Antenna Weight, kg (lb)", r.AntennaWeight);
    rowIf(!r.RadomeColor.empty(), "Radome Color", r.RadomeColor);
    // The record's own material; a value of blanks is as empty as any other.
    const bool blankMaterial = r.RadomeMaterial.find_first_not_of(' ') == std::string::npos;
    rowIf(!blankMaterial, "Radome Material", r.RadomeMaterial);

    section("Environmental Specifications");
    rowIf(!r.SurvivalWindSpeed.empty(), "Survival Wind Speed, km/h (mph)", r.SurvivalWindSpeed);
    rowIf(!r.WindLoadFrontal.empty(), "Wind Load - Frontal, N (lbf)*", r.WindLoadFrontal);
    rowIf(!r.WindLoadLateral.empty(), "Wind Load - Lateral, N (lbf)*", r.WindLoadLateral);
    rowIf(!r.WindLoadRear.empty(), "Wind Load - Rear, N (lbf)*", r.WindLoadRear);
    rowIf(!r.TemperatureRange.empty(), "Temperature Range, degrees C", r.TemperatureRange);
    rowIf(!r.Humidity.empty(), "Humidity, %", r.Humidity);
    row("* Based on 100 mph (161 km/h)", "");

    section("Shipping Specifications");
    rowIf(!r.ShippingDimensions.empty(),
          omni ? "Shipping Dimensions - L x Dia., mm (in)"
               : "Shipping Dimensions - L x W x D, mm (in)",
          r.ShippingDimensions);
    rowIf(!r.ShippingWeight.empty(), "Shipping Weight, kg (lb)", r.ShippingWeight);

    section("Mounting Hardware Specifications");
    row("Mounting Bracket Part Number", r.MountPartNumber);
    rowIf(!r.MountDescription.empty(), "Mount Description", r.MountDescription);
    rowIf(!r.MountWeight.empty(), "Mount Weight, kg (lb)", r.MountWeight);
    if (!r.PartNumberWithMount.empty()) {
        row("", "");
        row("To include mounting hardware with antenna,", r.PartNumberWithMount);
        row("order part number:", "");
    }
    if (!r.ShippingDimensionsWithMount.empty()) {
        row("", "");
        row("Shipping Dimensions - mount with antenna -", r.ShippingDimensionsWithMount);
        row(" L x W x D, mm (in)", "");
    }
    rowIf(!r.ShippingWeightWithMount.empty(), "Shipping Weight - mount with antenna, kg (lb)",
          r.ShippingWeightWithMount);

    // A section with nothing to say is left out rather than printed as a lone heading.
    std::erase_if(sections, [](const TSpecSection& s) {
        return std::all_of(s.rows.begin(), s.rows.end(),
                           [](const TSpecRow& row) { return row.value.empty(); });
    });
    return sections;
}

void PrintSpecBody(const TQuvFile& r, TPrint& w, double y, const TNewPage& newPage)
{
    TSheetFlow flow(r, w, newPage);
    PrintBody(r, w, flow, y, 1.0);
}

void PrintSpecSheet(const TQuvFile& record, TPrint& writer, const TNewPage& newPage)
{
    // A sheet that would spill by a few rows is fitted on its sheet with a tighter row pitch
    // before anything continues; a sheet that fits keeps the full pitch.
    double pitch = 1.0;
    int sheets = SheetsAt(record, writer, 1.0);
    for (int percent = 99; sheets > 1 && percent >= kTightestPitchPercent; --percent)
        if (SheetsAt(record, writer, percent / 100.0) == 1) {
            pitch = percent / 100.0;
            sheets = 1;
        }
    PrintSpecSheetAt(record, writer, newPage, sheets > 1 ? 1.0 : pitch, newPage ? sheets : 1);
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
// A caption wider than its plot shrinks down to this size, then wraps.
constexpr double kSmallestCaptionPoints = 7;
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

// The caption centred on x under a plot, no wider than `width` inches.
void PrintCaption(TPrint& w, const std::string& text, double x, double top, double width)
{
    TCanvas& c = *w.Canvas();
    const int room = w.LengthX(width);
    double points = kCaptionPoints;
    SetFont(w, "Arial", points, false);
    while (points > kSmallestCaptionPoints && c.TextExtent(text).cx > room)
        SetFont(w, "Arial", --points, false);
    c.Brush.style = TBrushStyle::Clear;
    const std::vector<std::string> lines =
        c.TextExtent(text).cx <= room ? std::vector<std::string>{text} : BreakLines(c, text, room);
    double y = top;
    for (const std::string& line : lines) {
        w.TextAligned(line, 1, 0, x, y);
        y += LineStep(w);
    }
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
        PrintCaption(writer, PlotCaption(record, cuts[i], plotType), kPlotX,
                     ys[i] + kLabelReach * place->scale + kCaptionGap,
                     2 * kLabelReach * place->scale);
    }
}

void PrintSpacePage(const TQuvFile& record, TPrint& writer, const TSpacePageSettings& settings)
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
    const TPattern3D pattern = BuildPattern3D(*cuts, settings.method);
    TSheetFlow flow(record, writer, {});
    double y = PrintFirstFrame(record, writer, flow, "3D PATTERN AND GROUND FOOTPRINT", 3);
    // What a planner checks first: which band and which electrical tilt these pictures show.
    const std::string band = FrequencyBandText(record.BeginSubFrequency, record.EndSubFrequency);
    const std::pair<const char*, std::string> facts[] = {
        {"Frequency:", band.empty() ? std::string() : band + " MHz"},
        {"Electrical Tilt:",
         record.ElectricalDowntilt.empty() ? std::string() : record.ElectricalDowntilt + " deg"}};
    y += 0.0625;
    for (const auto& [title, value] : facts) {
        writer.TextAt(title, kLeft, y);
        y = writer.TextAt(value, kValueLeft, y);
    }
    // The 3D view keeps at least 3 inches whatever the header holds (its description is cut).
    const double top = std::min(std::max(2.5, y + 0.2), kSpaceViewBottom - kSpaceViewMin);
    TCanvas& canvas = *writer.Canvas();
    DrawPattern3DView(canvas, writer.ToDeviceRect(TPrint::MakeRect(kLeft, top, kRight, 6.2)),
                      pattern, {},
                      "3D pattern (" + std::string(MethodName(pattern.Method())) + ")");
    // The part number is on the model line; the legend names the antenna short enough to stay
    // inside its box.
    std::string name = record.PartNumber;
    if (name.size() > kSpaceLegendChars)
        name = name.substr(0, kSpaceLegendChars - 1) + "\x85";
    DrawFootprintView(canvas, writer.ToDeviceRect(TPrint::MakeRect(0.75, 6.35, 7.75, 9.7)),
                      {{name, FootprintAlong(pattern, settings.geometry)}},
                      FootprintMap(pattern, settings.geometry, settings.radius, 400),
                      "Map, radius " + FloatToStrGeneral(settings.radius) + " m",
                      FootprintTitle(settings.geometry));
}

void PrintAntennaPages(const TQuvFile& record, TPrint& writer, TPrintJob job,
                       const std::function<void()>& newPage, TPlotType plotType,
                       const TSpacePageSettings& space)
{
    if (job == TPrintJob::SpaceOnly) {
        PrintSpacePage(record, writer, space);
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
