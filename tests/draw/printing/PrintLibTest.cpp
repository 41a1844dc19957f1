// The printed pages on a recording canvas behind the 600 dpi example printer (physical offsets 25
// and 30 pixels): device x = 600 x - 25, device y = 600 y - 30, halves to the even neighbour.
// Recorded text is fixed-pitch: half the font height per character.
#include "printing/PrintLib.h"
#include "catalogue/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

using namespace quv;
using Op = TRecordingCanvas::Op;

namespace {

const TPrinterMetrics kPrinter{600, 600, 5100, 25, 30};
constexpr int kTitleX = 950;      // 1.625 in
constexpr int kValueX = 2900;     // 4.875 in
constexpr double kRowStep = 82.5; // 8 pt line (66 px) plus a quarter of it

void FillCut(TPatternCut& cut, const char* level)
{
    for (int i = 0; i < 361; ++i)
        cut.Append(level);
}

// A two-port sector antenna with every value filled.
void FillSector(TQuvFile& r)
{
    r.PartNumber = "TD0765-14";
    r.Description = "Dual polarized sector panel";
    r.AntennaType = "Panel";
    r.BeginSubFrequency = "824";
    r.EndSubFrequency = "896";
    r.GainDBd = "14.0";
    r.GainDBi = "16.1";
    r.AzimuthBeamwidth = "65";
    r.ElevationBeamwidth = "11";
    r.FrontToBackRatio = "28";
    r.ReturnLoss = "17.7 (<1.3)";
    r.Impedance = "50";
    r.PortToPortIsolation = ">30";
    r.NumberOfConnectors = "2";
    r.Intermodulation = "<-150";
    r.PolarizationType = "Dual Slant +/-45";
    r.ElectricalDowntilt = "0";
    r.MaxInputPower = "500";
    r.LightningProtection = "DC Ground";
    r.ConnectorType = "7-16 DIN Female";
    r.ConnectorPosition = "Bottom";
    r.Dimensions = "1785 x 312 x 130";
    r.AntennaWeight = "15.1 (33.4)";
    r.RadomeColor = "Light Grey";
    r.RadomeMaterial = "ASA";
    r.SurvivalWindSpeed = "241 (150)";
    r.WindLoadFrontal = "982 (221)";
    r.WindLoadLateral = "307 (69)";
    r.WindLoadRear = "628 (141)";
    r.TemperatureRange = "-40 to +60";
    r.Humidity = "100";
    r.ShippingDimensions = "1935 x 412 x 230";
    r.ShippingWeight = "18.8 (41.4)";
    r.MountPartNumber = "TMK-1L";
    r.MountDescription = "Pipe mount kit";
    r.MountWeight = "3.9 (8.6)";
    r.PartNumberWithMount = "TD0765-14-M";
    r.ShippingDimensionsWithMount = "1985 x 472 x 310";
    r.ShippingWeightWithMount = "22.7 (50.0)";
    FillCut(r.Azimuth, "-3");
    FillCut(r.Elevation, "-10");
}

struct Page {
    TRecordingCanvas canvas;
    TPrint writer{kPrinter};
    Page() { writer.SetCanvas(&canvas); }

    std::vector<TRecordingCanvas::Call> Texts() const { return canvas.Of(Op::TextOut); }
    // The first text output of `text`; fails the test when there is none.
    TRecordingCanvas::Call Text(const std::string& text) const
    {
        for (const auto& c : canvas.calls)
            if ((c.op == Op::TextOut || c.op == Op::TextRotated) && c.text == text)
                return c;
        ADD_FAILURE() << "no text \"" << text << "\"";
        return {};
    }
    bool Has(const std::string& text) const
    {
        const auto texts = Texts();
        return std::any_of(texts.begin(), texts.end(),
                           [&](const auto& c) { return c.text == text; });
    }
    // Row titles in drawing order (blank lines left out).
    std::vector<std::string> Titles() const
    {
        std::vector<std::string> out;
        for (const auto& c : Texts())
            if (c.points[0].x == kTitleX && !c.text.empty())
                out.push_back(c.text);
        return out;
    }
    // The upper rule of each section heading, top to bottom.
    std::vector<int> HeadingRules() const
    {
        std::vector<int> ys;
        for (const auto& c : canvas.Of(Op::Line))
            ys.push_back(c.points[0].y);
        std::vector<int> upper;
        for (std::size_t i = 0; i < ys.size(); i += 2)
            upper.push_back(ys[i]);
        return upper;
    }
};

} // namespace

TEST(PrintedSheet, FrameSitsWhereTheSheetPlacesIt)
{
    TQuvFile r;
    FillSector(r);
    Page page;
    const double below = PrintSheetHeader(r, page.writer);

    const auto fills = page.canvas.Of(Op::FillRect);
    ASSERT_EQ(fills.size(), 4u); // band and three bars
    EXPECT_EQ(fills[0].rect, (TRect{388, 532, 688, 2408}));
    EXPECT_EQ(fills[0].brush.color, clBlue);
    EXPECT_EQ(fills[1].rect, (TRect{800, 532, 4475, 538}));
    EXPECT_EQ(fills[2].rect, (TRect{800, 645, 4475, 651}));
    EXPECT_EQ(fills[3].rect, (TRect{800, 5820, 4475, 5839}));
    for (std::size_t i = 1; i < fills.size(); ++i)
        EXPECT_EQ(fills[i].brush.color, clBlue);

    // 25 pt is 208 px high; nine characters 104 wide, centred on (528, 1470).
    const auto band = page.Text(std::string("Velmarix\x99"));
    EXPECT_EQ(band.op, Op::TextRotated);
    EXPECT_EQ(band.points[0], (TPoint{424, 1938}));
    EXPECT_EQ(band.font.name, "Arial Black");
    EXPECT_EQ(band.font.color, clWhite);
    EXPECT_EQ(band.brush.style, TBrushStyle::Clear);

    struct Expected {
        std::string text;
        TPoint at;
        int height;
        bool bold;
    };
    const Expected texts[] = {
        {"B a s e  S t a t i o n  A n t e n n a s", {800, 345}, -150, true},
        {"A N T E N N A  S P E C I F I C A T I O N S", {800, 539}, -100, true},
        {"ANTENNA MODEL:", {800, 708}, -100, true},
        {"TD0765-14", {1850, 708}, -100, true},
        {"Description:", {800, 870}, -83, false},
        {"Customer Support Center:", {800, 5858}, -58, true},
        {"This Specification Sheet is for reference only and is subject to change without notice.",
         {2150, 5858},
         -58,
         false},
    };
    for (const Expected& e : texts) {
        const auto call = page.Text(e.text);
        EXPECT_EQ(call.points.at(0), e.at) << e.text;
        EXPECT_EQ(call.font.height, e.height) << e.text;
        EXPECT_EQ(call.font.bold, e.bold) << e.text;
        EXPECT_EQ(call.font.name, "Arial") << e.text;
    }

    // Footer lines step by 58 px plus a quarter; the web address is the fourth, bold and blue.
    std::vector<TRecordingCanvas::Call> left;
    for (const auto& c : page.Texts())
        if (c.points[0].x == 800 && c.points[0].y >= 5858)
            left.push_back(c);
    ASSERT_EQ(left.size(), 4u);
    for (std::size_t i = 0; i < left.size(); ++i)
        EXPECT_NEAR(left[i].points[0].y, 5858 + 72.5 * i, 1.0);
    EXPECT_EQ(left[3].font.color, clBlue);
    EXPECT_TRUE(left[3].font.bold);
    EXPECT_EQ(left[2].font.color, clBlack);

    const auto logo = page.canvas.Of(Op::Image);
    ASSERT_EQ(logo.size(), 1u);
    EXPECT_EQ(logo[0].rect, (TRect{3612, 270, 4212, 468}));

    // One 10 pt line of description (83 px) in the column from 3.125 to 7.5 inches.
    EXPECT_EQ(page.Text(r.Description).points[0], (TPoint{1850, 870}));
    EXPECT_DOUBLE_EQ(below, 1.5 + 83.0 / 600);
}

TEST(PrintedSheet, RowsFollowTheCursorUnderEachHeading)
{
    TQuvFile r;
    FillSector(r);
    Page page;
    PrintSpecSheet(r, page.writer);

    const std::vector<std::string> electrical = {"Frequency Band, MHz",
                                                 "Gain, dBd (dBi)",
                                                 "Azimuth Beamwidth, degrees",
                                                 "Elevation Beamwidth, degrees",
                                                 "Front to Back Ratio, dB",
                                                 "Return Loss, dB (VSWR)",
                                                 "Impedance, ohms",
                                                 "Port to Port Isolation, dB",
                                                 "Intermodulation, dBc",
                                                 "Polarization Type",
                                                 "Electrical Downtilt, degrees",
                                                 "Maximum Input Power, watts",
                                                 "Lightning Protection",
                                                 "Connector Type",
                                                 "Connector Position",
                                                 "Number of Connectors"};
    const auto titles = page.Titles();
    ASSERT_GE(titles.size(), electrical.size());
    EXPECT_EQ(std::vector<std::string>(titles.begin(), titles.begin() + 16), electrical);

    // First heading: 0.125 below the description (1058 - 30); its lower rule 83 + 20 px lower.
    const auto lines = page.canvas.Of(Op::Line);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0].points[0], (TPoint{800, 1028}));
    EXPECT_EQ(lines[0].points[1], (TPoint{4475, 1028}));
    EXPECT_EQ(lines[1].points[0].y, 1131);
    EXPECT_EQ(lines[0].pen.width, 1);
    EXPECT_EQ(page.Text("Electrical Specifications").points[0], (TPoint{800, 1039}));

    // Rows start 0.125 below the lower rule and step by one 8 pt line and a quarter.
    const auto first = page.Text("Frequency Band, MHz");
    EXPECT_EQ(first.points[0], (TPoint{kTitleX, 1206}));
    EXPECT_EQ(first.font.height, -66);
    EXPECT_FALSE(first.font.bold);
    EXPECT_EQ(page.Text("824-896").points[0], (TPoint{kValueX, 1206}));
    EXPECT_EQ(page.Text("14.0 (16.1)").points[0].x, kValueX);
    EXPECT_NEAR(page.Text("Number of Connectors").points[0].y, 1206 + 15 * kRowStep, 1.0);

    // The next heading 0.1875 (112.5 px) below the last row's bottom.
    const int lastRow = page.Text("Number of Connectors").points[0].y;
    EXPECT_NEAR(lines[2].points[0].y, lastRow + 66 + 112.5, 1.0);

    // Fixed texts and the blank lines before the two mount notes.
    EXPECT_EQ(page.Text("ASA").points[0].x, kValueX);
    const int weight = page.Text("Mount Weight, kg (lb)").points[0].y;
    EXPECT_NEAR(page.Text("To include mounting hardware with antenna,").points[0].y,
                weight + 2 * kRowStep, 1.0);
    EXPECT_EQ(page.Text("TD0765-14-M").points[0].x, kValueX);
    EXPECT_NEAR(page.Text(" L x W x D, mm (in)").points[0].y,
                page.Text("order part number:").points[0].y + 3 * kRowStep, 1.0);
}

TEST(PrintedSheet, ConditionalRows)
{
    struct Case {
        const char* name;
        void (*change)(TQuvFile&);
        std::vector<std::string> present;
        std::vector<std::string> absent;
    };
    const Case cases[] = {
        {"omni in any case",
         [](TQuvFile& r) { r.AntennaType = "omni directional"; },
         {"Antenna Dimensions - L x Dia., mm (in)", "Shipping Dimensions - L x Dia., mm (in)",
          "Elevation Beamwidth, degrees", "Connector Type"},
         {"Azimuth Beamwidth, degrees", "Front to Back Ratio, dB", "Port to Port Isolation, dB",
          "Intermodulation, dBc", "Number of Connectors",
          "Antenna Dimensions - L x W x D, mm (in)"}},
        {"one connector",
         [](TQuvFile& r) { r.NumberOfConnectors = "1"; },
         {"Number of Connectors", "Azimuth Beamwidth, degrees"},
         {"Port to Port Isolation, dB"}},
        {"connector count not a number",
         [](TQuvFile& r) { r.NumberOfConnectors = "two"; },
         {"Number of Connectors"},
         {"Port to Port Isolation, dB"}},
        {"connector count with blanks",
         [](TQuvFile& r) { r.NumberOfConnectors = " 2 "; },
         {"Port to Port Isolation, dB"},
         {}},
        {"no isolation value",
         [](TQuvFile& r) { r.PortToPortIsolation.clear(); },
         {"Number of Connectors"},
         {"Port to Port Isolation, dB"}},
        {"no radome material",
         [](TQuvFile& r) { r.RadomeMaterial.clear(); },
         {"Radome Color"},
         {"Radome Material", "UV Protected Fiberglass"}},
        {"no mount notes",
         [](TQuvFile& r) {
             r.PartNumberWithMount.clear();
             r.ShippingDimensionsWithMount.clear();
         },
         {"Shipping Weight - mount with antenna, kg (lb)"},
         {"order part number:", " L x W x D, mm (in)"}},
    };
    for (const Case& c : cases) {
        TQuvFile r;
        FillSector(r);
        c.change(r);
        Page page;
        PrintSpecSheet(r, page.writer);
        for (const auto& t : c.present)
            EXPECT_TRUE(page.Has(t)) << c.name << ": " << t;
        for (const auto& t : c.absent)
            EXPECT_FALSE(page.Has(t)) << c.name << ": " << t;
    }

    // An empty record keeps only its "always" rows, titled and without values.
    TQuvFile empty;
    Page page;
    PrintSpecSheet(empty, page.writer);
    EXPECT_EQ(page.Titles(),
              (std::vector<std::string>{
                  "Frequency Band, MHz", "Gain, dBd (dBi)", "Azimuth Beamwidth, degrees",
                  "Elevation Beamwidth, degrees", "Front to Back Ratio, dB",
                  "Return Loss, dB (VSWR)", "Polarization Type", "Electrical Downtilt, degrees",
                  "Connector Type", "Antenna Dimensions - L x W x D, mm (in)",
                  "* Based on 100 mph (161 km/h)", "Mounting Bracket Part Number"}));
    // The shipping section drew no row: the next heading is 0.1875 below its lower rule.
    const auto lines = page.canvas.Of(Op::Line);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_NEAR(lines[8].points[0].y, lines[7].points[0].y + 112.5, 1.0);
}

TEST(PrintedSheet, LongDescriptionPushesTheBodyDown)
{
    TQuvFile shortOne, longOne;
    FillSector(shortOne);
    FillSector(longOne);
    // 62 characters fit the 4.375 inch column at 10 pt: this wraps onto three lines.
    longOne.Description = "Dual polarized sector panel antenna for the cellular band with "
                          "variable electrical downtilt, remote tilt ready, low passive "
                          "intermodulation and a UV stable radome";
    Page a, b;
    PrintSpecSheet(shortOne, a.writer);
    PrintSpecSheet(longOne, b.writer);
    const auto ra = a.HeadingRules();
    const auto rb = b.HeadingRules();
    ASSERT_EQ(ra.size(), 5u);
    ASSERT_EQ(rb.size(), 5u);
    for (std::size_t i = 0; i < ra.size(); ++i)
        EXPECT_NEAR(rb[i] - ra[i], 2 * 83, 1.0) << "heading " << i;
    int lines = 0;
    for (const auto& c : b.Texts())
        if (c.points[0].x == 1850 && c.points[0].y >= 870 && c.points[0].y < 1100) {
            EXPECT_EQ(c.points[0].y, 870 + 83 * lines++);
        }
    EXPECT_EQ(lines, 3);
}

// Every text of the sheet stays on the paper and off the footer, and nothing is cut short.
void ExpectNothingLostOrOverTheFooter(const TRecordingCanvas& canvas, const char* what)
{
    constexpr int kFooterBar = 5820;  // 9.75 in
    constexpr int kPaperRight = 5075; // 8.5 in
    for (const auto& c : canvas.Of(Op::TextOut)) {
        const int h = std::abs(c.font.height);
        const int right = c.points[0].x + static_cast<int>(c.text.size()) * ((h + 1) / 2);
        EXPECT_LE(right, kPaperRight) << what << ": " << c.text;
        if (c.points[0].y < kFooterBar) {
            EXPECT_LE(c.points[0].y + h, kFooterBar) << what << ": " << c.text;
        }
    }
    for (const auto& c : canvas.Of(Op::DrawText))
        EXPECT_FALSE(c.flags & dtEndEllipsis) << what << ": " << c.text;
}

TEST(PrintedSheet, ValueWiderThanItsColumnWrapsWithinIt)
{
    TQuvFile r;
    FillSector(r);
    // 2.625 in is 1575 px: 47 characters of 33 px fit a line. The words wrap onto two lines, the
    // unbroken run of 60 characters onto two more.
    r.ExtendedPatternDescription =
        "Patterns measured at 1920 MHz, 4 deg electrical downtilt, +45 deg port (gyp)";
    r.MountDescription = std::string(60, 'm');
    Page page;
    PrintSpecSheet(r, page.writer);
    ExpectNothingLostOrOverTheFooter(page.canvas, "wide values");

    const int y = page.Text("Extended Description").points[0].y;
    EXPECT_EQ(page.Text("Patterns measured at 1920 MHz, 4 deg electrical").points[0],
              (TPoint{kValueX, y}));
    EXPECT_EQ(page.Text("downtilt, +45 deg port (gyp)").points[0], (TPoint{kValueX, y + 66}));
    // The rows below move down by the extra line.
    EXPECT_NEAR(page.Text("Maximum Input Power, watts").points[0].y, y + 66 + kRowStep, 1.0);
    const int mount = page.Text("Mount Description").points[0].y;
    EXPECT_EQ(page.Text(std::string(47, 'm')).points[0], (TPoint{kValueX, mount}));
    EXPECT_EQ(page.Text(std::string(13, 'm')).points[0], (TPoint{kValueX, mount + 66}));
}

TEST(PrintedSheet, LongPartNumberShrinksThenWrapsWithinTheSheet)
{
    // The column from 3.125 to 7.5 in holds 52 characters at 12 pt, 65 at 9 pt, 78 at 8 pt.
    const std::tuple<std::size_t, int, std::size_t> cases[] = {
        {52, -100, 1}, {60, -83, 1}, {78, -66, 1}, {100, -66, 2}};
    for (const auto& [length, height, lines] : cases) {
        TQuvFile r;
        FillSector(r);
        r.PartNumber = std::string(length, 'P');
        Page page;
        PrintSpecSheet(r, page.writer);
        ExpectNothingLostOrOverTheFooter(page.canvas, r.PartNumber.c_str());
        std::string printed;
        int bottom = 0;
        std::size_t count = 0;
        for (const auto& t : page.Texts())
            if (t.points[0].x == 1850 && t.text[0] == 'P') {
                printed += t.text;
                ++count;
                EXPECT_EQ(t.font.height, height) << length;
                bottom = t.points[0].y - height;
            }
        EXPECT_EQ(printed, r.PartNumber);
        EXPECT_EQ(count, lines);
        EXPECT_GE(page.Text("Description:").points[0].y, bottom) << length;
    }
}

TEST(PrintedSheet, LongSheetContinuesOnSheetsThatRepeatTheFrame)
{
    TQuvFile r;
    FillSector(r);
    while (r.Description.size() < 1650)
        r.Description += " Dual polarized sector panel with remote electrical tilt.";
    r.Description.resize(1650);
    Page page;
    std::size_t sheetStart = 0;
    PrintSpecSheet(r, page.writer, [&] { sheetStart = page.canvas.calls.size(); });
    ASSERT_GT(sheetStart, 0u);
    ExpectNothingLostOrOverTheFooter(page.canvas, "long description");
    // The second sheet has the frame and footer, says it continues, and holds the last rows.
    Page second;
    second.canvas.calls.assign(page.canvas.calls.begin() + static_cast<std::ptrdiff_t>(sheetStart),
                               page.canvas.calls.end());
    for (const char* text : {"ANTENNA MODEL:", "TD0765-14 (continued)", "Customer Support Center:",
                             "Shipping Weight - mount with antenna, kg (lb)"})
        EXPECT_TRUE(second.Has(text)) << text;
    EXPECT_FALSE(second.Has("Description:"));
    // Every row once over the two sheets, as without a way to start a sheet.
    Page single;
    PrintSpecSheet(r, single.writer);
    EXPECT_EQ(single.Titles(), page.Titles());
}

TEST(PrintedSheet, ValuesComeFromTheRecordAndOmitMissingParts)
{
    const std::tuple<std::string, std::string, std::string> bands[] = {
        {"824", "896", "824-896"}, {"", "1990", "1990"}, {"1850", "", "1850"}};
    for (const auto& [begin, end, text] : bands)
        EXPECT_EQ(FrequencyBandText(begin, end), text);
    const std::tuple<std::string, std::string, std::string> gains[] = {
        {"14.0", "16.1", "14.0 (16.1)"}, {"16.0", "", "16.0"}, {"", "16.1", "(16.1)"}};
    for (const auto& [dBd, dBi, text] : gains)
        EXPECT_EQ(GainText(dBd, dBi), text);
    const std::pair<std::string, std::string> radomes[] = {
        {"UV stabilized ASA", "UV stabilized ASA"}, {" ", "UV Protected Fiberglass"}};
    for (const auto& [material, printed] : radomes) {
        TQuvFile r;
        FillSector(r);
        r.RadomeMaterial = material;
        Page page;
        PrintSpecSheet(r, page.writer);
        EXPECT_EQ(page.Text(printed).points[0].y, page.Text("Radome Material").points[0].y);
    }
}

TEST(PrintedSheet, PatternPageCarriesFrameAndBothPlots)
{
    TQuvFile r;
    FillSector(r);
    Page page;
    PrintPatternPage(r, page.writer, TPlotType::RelativePower);

    EXPECT_TRUE(page.Has("ANTENNA MODEL:"));
    EXPECT_TRUE(page.Has("Customer Support Center:"));
    EXPECT_FALSE(page.Has("Electrical Specifications"));
    EXPECT_TRUE(page.Titles().empty());

    // The black outer rings: diameter 2.625 in centred at (4.43, 3.75) and (4.43, 7.25).
    std::vector<TRect> outer;
    for (const auto& c : page.canvas.Of(Op::Ellipse))
        if (c.pen.color == clBlack)
            outer.push_back(c.rect);
    ASSERT_EQ(outer.size(), 2u);
    EXPECT_EQ(outer[0], (TRect{1846, 1432, 3420, 3008}));
    EXPECT_EQ(outer[1], (TRect{1846, 3532, 3420, 5108}));
    // One trace per cut, in the first trace colour.
    const auto traces = page.canvas.Of(Op::Polyline);
    ASSERT_EQ(traces.size(), 2u);
    EXPECT_EQ(traces[0].pen.color, TraceColors[0]);
    // -3 dB everywhere lies inside the azimuth ring, left of 3 o'clock on the centre line.
    EXPECT_EQ(traces[0].points[0].y, 2220);
    EXPECT_LT(traces[0].points[0].x, 3420);
    EXPECT_GT(traces[0].points[0].x, 2633);

    // A caption under each plot.
    r.MeasuredFrequency = "860";
    Page captioned;
    PrintPatternPage(r, captioned.writer, TPlotType::RelativeField);
    EXPECT_TRUE(captioned.Has("Azimuth, relative field, measured at 860 MHz"));
    EXPECT_GT(captioned.Text("Elevation, relative field, measured at 860 MHz").points[0].y, 5108);

    r.Elevation = TPatternCut();
    FillCut(r.Elevation, "n/a");
    Page broken;
    EXPECT_THROW(PrintPatternPage(r, broken.writer, TPlotType::RelativePower), EConvertError);
}

TEST(PrintedSheet, PlotsClearATallHeaderAndShrinkOrMoveOnlyWhenTheyMust)
{
    // Description lines; whether the plots keep their size; whether they move to a second sheet.
    const std::tuple<int, bool, bool> cases[] = {
        {1, true, false}, {6, true, false}, {14, false, false}, {40, true, true}};
    for (const auto& [lines, fullSize, secondSheet] : cases) {
        TQuvFile r;
        FillSector(r);
        r.Description.clear();
        for (int i = 0; i < lines; ++i)
            r.Description += std::string(60, 'd') + " ";
        Page page;
        std::size_t sheetStart = 0;
        PrintPatternPage(r, page.writer, TPlotType::RelativePower,
                         [&] { sheetStart = page.canvas.calls.size(); });
        EXPECT_EQ(sheetStart > 0, secondSheet) << lines;
        ExpectNothingLostOrOverTheFooter(page.canvas, "pattern page");
        std::vector<TRect> outer;
        for (const auto& e : page.canvas.Of(Op::Ellipse))
            if (e.pen.color == clBlack)
                outer.push_back(e.rect);
        ASSERT_EQ(outer.size(), 2u);
        EXPECT_EQ(outer[0].Width() == 1574, fullSize) << lines;
        // The azimuth labels, 1.1625 radii above its centre, clear the last description line
        // on their sheet; the plots' spacing scales with them.
        int headerBottom = 0;
        for (std::size_t i = sheetStart; i < page.canvas.calls.size(); ++i) {
            const auto& t = page.canvas.calls[i];
            if (t.op == Op::TextOut && t.points[0].x == 1850 && t.points[0].y < outer[0].top)
                headerBottom = std::max(headerBottom, t.points[0].y + 83);
        }
        EXPECT_GT(outer[0].top + outer[0].Width() * (1 - 1.1625) / 2, headerBottom) << lines;
        EXPECT_NEAR(outer[1].top - outer[0].top, 2100.0 * outer[0].Width() / 1574, 7.0);
    }
}

TEST(PrintedSheet, ConnectorCountReadsWholeNumbersOnly)
{
    const std::pair<const char*, int> cases[] = {
        {"2", 2},   {" 4 ", 4}, {"+3", 3}, {"-1", -1}, {"", 0},
        {"2.0", 0}, {"two", 0}, {"2x", 0}, {"-", 0},   {"99999999999", 0}};
    for (const auto& [text, count] : cases)
        EXPECT_EQ(ConnectorCount(text), count) << "'" << text << "'";
}
