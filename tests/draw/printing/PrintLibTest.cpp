// The printed pages on a recording canvas behind the 600 dpi example printer (physical offsets 25
// and 30 pixels): device x = 600 x - 25, device y = 600 y - 30, halves to the even neighbour.
// Recorded text is fixed-pitch: half the font height per character.
#include "printing/PrintLib.h"
#include "catalogue/Errors.h"
#include "plot/FootprintView.h"
#include "plot/Pattern3DView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>
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

    // A section keeps its "always" rows, titled and without values, while one value speaks.
    TQuvFile sparse;
    sparse.GainDBd = "2.1";
    sparse.MountPartNumber = "TMK-1";
    Page page;
    PrintSpecSheet(sparse, page.writer);
    EXPECT_EQ(page.Titles(),
              (std::vector<std::string>{
                  "Frequency Band, MHz", "Gain, dBd (dBi)", "Azimuth Beamwidth, degrees",
                  "Elevation Beamwidth, degrees", "Front to Back Ratio, dB",
                  "Return Loss, dB (VSWR)", "Polarization Type", "Electrical Downtilt, degrees",
                  "Connector Type", "Mounting Bracket Part Number"}));
}

TEST(PrintedSheet, SectionsWithoutAnyValueAreLeftOut)
{
    struct Case {
        const char* name;
        void (*change)(TQuvFile&);
        std::vector<std::string> headings;
    };
    const Case cases[] = {
        {"every value",
         [](TQuvFile&) {},
         {"Electrical Specifications", "Mechanical Specifications", "Environmental Specifications",
          "Shipping Specifications", "Mounting Hardware Specifications"}},
        {"no shipping values",
         [](TQuvFile& r) {
             r.ShippingDimensions.clear();
             r.ShippingWeight.clear();
         },
         {"Electrical Specifications", "Mechanical Specifications", "Environmental Specifications",
          "Mounting Hardware Specifications"}},
        {"only the wind note left",
         [](TQuvFile& r) {
             r.SurvivalWindSpeed = r.WindLoadFrontal = r.WindLoadLateral = r.WindLoadRear = "";
             r.TemperatureRange = r.Humidity = "";
         },
         {"Electrical Specifications", "Mechanical Specifications", "Shipping Specifications",
          "Mounting Hardware Specifications"}},
        {"mechanical values of blanks only",
         [](TQuvFile& r) {
             r.Dimensions = r.AntennaWeight = r.RadomeColor = "";
             r.RadomeMaterial = "   ";
         },
         {"Electrical Specifications", "Environmental Specifications", "Shipping Specifications",
          "Mounting Hardware Specifications"}},
        {"no mount values",
         [](TQuvFile& r) {
             r.MountPartNumber = r.MountDescription = r.MountWeight = "";
             r.PartNumberWithMount = r.ShippingDimensionsWithMount = "";
             r.ShippingWeightWithMount = "";
         },
         {"Electrical Specifications", "Mechanical Specifications", "Environmental Specifications",
          "Shipping Specifications"}},
    };
    for (const Case& c : cases) {
        TQuvFile r;
        FillSector(r);
        c.change(r);
        std::vector<std::string> headings;
        for (const TSpecSection& section : SpecSections(r))
            headings.push_back(section.heading);
        EXPECT_EQ(headings, c.headings) << c.name;
        // The sheet prints exactly those headings, each between its two rules.
        Page page;
        PrintSpecSheet(r, page.writer);
        std::vector<std::string> printed;
        for (const auto& t : page.Texts())
            if (t.text.ends_with("Specifications"))
                printed.push_back(t.text);
        EXPECT_EQ(printed, c.headings) << c.name;
        EXPECT_EQ(page.canvas.Of(Op::Line).size(), 2 * c.headings.size()) << c.name;
    }

    // A record without any value prints its frame and no section at all.
    TQuvFile empty;
    Page page;
    PrintSpecSheet(empty, page.writer);
    EXPECT_TRUE(page.Titles().empty());
    EXPECT_TRUE(page.canvas.Of(Op::Line).empty());
    EXPECT_TRUE(page.Has("Customer Support Center:"));
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

TEST(PrintedSheet, LongPartNumberShrinksAndBreaksOnlyWhereAReaderExpects)
{
    // The column from 3.125 to 7.5 in holds 52 characters at 12 pt, 65 at 9 pt, 78 at 8 pt and
    // 105 at 6 pt. A run without hyphen or blank cannot break: it shrinks until it fits.
    const std::tuple<std::size_t, int, std::size_t> cases[] = {
        {52, -100, 1}, {60, -83, 1}, {78, -66, 1}, {100, -50, 1}};
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

TEST(PrintedSheet, PartNumbersBreakAfterAHyphenOrAtABlank)
{
    // Recorded text is 5 px a character at height 10.
    const std::tuple<std::string, int, std::vector<std::string>> cases[] = {
        {"TD0765-14", 100, {"TD0765-14"}},
        {"ABCDEFGH-1234-XY", 50, {"ABCDEFGH-", "1234-XY"}},
        {"AB-CD-EF-GH", 30, {"AB-CD-", "EF-GH"}},
        {"AB CD EF", 25, {"AB CD", "EF"}},
        {"ABCDEFGHIJKL", 50, {}},
        {"AB-CDEFGHIJKLMN", 50, {}},
        {"", 50, {}},
    };
    for (const auto& [text, width, lines] : cases) {
        TRecordingCanvas canvas;
        canvas.Font.height = -10;
        EXPECT_EQ(BreakPartNumber(canvas, text, width), lines) << text;
    }

    // On the sheet: 8 pt holds 78 characters; this order code breaks after its last hyphen that
    // keeps the first line within the column, and no line ends inside a run of letters.
    TQuvFile r;
    FillSector(r);
    r.PartNumber = std::string(60, 'A') + "-" + std::string(30, 'B') + "-C";
    Page page;
    PrintSpecSheet(r, page.writer);
    EXPECT_EQ(page.Text(std::string(60, 'A') + "-").font.height, -66);
    EXPECT_EQ(page.Text(std::string(30, 'B') + "-C").points[0].x, 1850);
    ExpectNothingLostOrOverTheFooter(page.canvas, "hyphenated part number");
}

// A description of `length` characters made of words.
std::string Words(std::size_t length)
{
    std::string text;
    while (text.size() < length)
        text += " Dual polarized sector panel with remote electrical tilt.";
    text.erase(0, 1);
    text.resize(length);
    return text;
}

// The calls of each sheet of a datasheet printed with a way to start sheets.
struct Sheets {
    Page page;
    std::vector<std::size_t> starts{0};
    explicit Sheets(const TQuvFile& r)
    {
        PrintSpecSheet(r, page.writer, [this] { starts.push_back(page.canvas.calls.size()); });
    }
    std::size_t Count() const { return starts.size(); }
    std::vector<TRecordingCanvas::Call> Of(std::size_t sheet) const
    {
        const auto& calls = page.canvas.calls;
        const std::size_t end = sheet + 1 < starts.size() ? starts[sheet + 1] : calls.size();
        return {calls.begin() + static_cast<std::ptrdiff_t>(starts[sheet]),
                calls.begin() + static_cast<std::ptrdiff_t>(end)};
    }
    // The sheet that holds the first output of `text`.
    std::size_t SheetOf(const std::string& text) const
    {
        for (std::size_t k = 0; k < Count(); ++k)
            for (const auto& c : Of(k))
                if (c.op == Op::TextOut && c.text == text)
                    return k;
        ADD_FAILURE() << "no text \"" << text << "\"";
        return 0;
    }
};

bool IsHeading(const TRecordingCanvas::Call& c)
{
    return c.op == Op::TextOut && c.points[0].x == 800 && c.font.bold && c.font.height == -83 &&
           c.text.find("Specifications") != std::string::npos;
}

TEST(PrintedSheet, LongDescriptionsContinueUnderTheirHeadingAndNeverOverTheFooter)
{
    TQuvFile plain;
    FillSector(plain);
    Page reference;
    PrintSpecSheet(plain, reference.writer);
    for (std::size_t length = 1400; length <= 2400; length += 25) {
        TQuvFile r;
        FillSector(r);
        r.Description = Words(length);
        // A value of two lines, which must stay with its title.
        r.MountDescription = std::string(60, 'm');
        const Sheets sheets(r);
        const std::string what = std::to_string(length) + " characters";
        ExpectNothingLostOrOverTheFooter(sheets.page.canvas, what.c_str());
        // Every row once, in order, and the wrapped value on its title's sheet.
        EXPECT_EQ(sheets.page.Titles(), reference.Titles()) << what;
        const std::size_t mount = sheets.SheetOf("Mount Description");
        EXPECT_EQ(sheets.SheetOf(std::string(47, 'm')), mount) << what;
        EXPECT_EQ(sheets.SheetOf(std::string(13, 'm')), mount) << what;
        const std::size_t n = sheets.Count();
        for (std::size_t k = 0; k < n; ++k) {
            const auto calls = sheets.Of(k);
            const std::string where = "Sheet " + std::to_string(k + 1) + " of " + std::to_string(n);
            EXPECT_EQ(std::any_of(calls.begin(), calls.end(),
                                  [&](const auto& c) { return c.text == where; }),
                      n > 1)
                << what << ": " << where;
            if (k == 0)
                continue;
            EXPECT_EQ(sheets.SheetOf("TD0765-14 (continued)"), 1u) << what;
            // A continuation sheet's body opens with a heading: the next section's, or the
            // heading of the section it goes on with, followed by "(continued)".
            const auto body = std::find_if(calls.begin(), calls.end(), [](const auto& c) {
                return IsHeading(c) || (c.op == Op::TextOut && c.points[0].x == kTitleX);
            });
            ASSERT_NE(body, calls.end()) << what;
            ASSERT_TRUE(IsHeading(*body)) << what << ": " << body->text;
            std::string last;
            for (const auto& c : sheets.Of(k - 1))
                if (IsHeading(c))
                    last = c.text.substr(0, c.text.find(" (continued)"));
            if (body->text.ends_with(" (continued)"))
                EXPECT_EQ(body->text, last + " (continued)") << what;
            else
                EXPECT_NE(body->text, last) << what;
        }
    }
    // 2,000 characters take two sheets, the second going on under a repeated heading.
    TQuvFile r;
    FillSector(r);
    r.Description = Words(2000);
    const Sheets sheets(r);
    ASSERT_EQ(sheets.Count(), 2u);
    const auto second = sheets.Of(1);
    const auto heading = std::find_if(second.begin(), second.end(), IsHeading);
    ASSERT_NE(heading, second.end());
    EXPECT_TRUE(heading->text.ends_with(" (continued)")) << heading->text;
    EXPECT_EQ(sheets.SheetOf("Sheet 1 of 2"), 0u);
    EXPECT_EQ(sheets.SheetOf("Sheet 2 of 2"), 1u);
    EXPECT_FALSE(std::any_of(second.begin(), second.end(),
                             [](const auto& c) { return c.text == "Description:"; }));
}

TEST(PrintedSheet, SheetThatWouldSpillByAFewRowsKeepsToOneWithATighterPitch)
{
    // The row pitch of each printed sheet: the steps between rows of one section.
    const auto pitches = [](const Page& page) {
        std::vector<int> ys;
        for (const auto& c : page.Texts())
            if (c.points[0].x == kTitleX && c.font.height == -66)
                ys.push_back(c.points[0].y);
        std::set<int> steps;
        for (std::size_t i = 1; i < ys.size(); ++i)
            if (ys[i] > ys[i - 1] && ys[i] - ys[i - 1] < 100)
                steps.insert(ys[i] - ys[i - 1]);
        return steps;
    };
    int tightened = 0;
    for (std::size_t length = 0; length <= 1400; length += 25) {
        TQuvFile r;
        FillSector(r);
        r.Description = Words(length);
        const Sheets sheets(r);
        const auto steps = pitches(sheets.page);
        ASSERT_FALSE(steps.empty());
        const std::string what = std::to_string(length) + " characters";
        if (sheets.Count() > 1) {
            // Continued sheets keep the full pitch.
            EXPECT_EQ(*steps.begin(), 82) << what;
            continue;
        }
        ExpectNothingLostOrOverTheFooter(sheets.page.canvas, what.c_str());
        if (*steps.begin() >= 82)
            EXPECT_LE(*steps.rbegin(), 83) << what; // the full pitch, 82.5 px
        else {
            ++tightened;
            // Never tighter than 85 % of it.
            EXPECT_GE(*steps.begin(), 70) << what;
        }
    }
    EXPECT_GT(tightened, 0);
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
    // The material is the record's own; blanks are as empty as nothing, and no material is
    // made up for them.
    const std::pair<std::string, std::string> radomes[] = {
        {"UV stabilized ASA", "UV stabilized ASA"}, {" ", ""}, {"    ", ""}, {"", ""}};
    for (const auto& [material, printed] : radomes) {
        TQuvFile r;
        FillSector(r);
        r.RadomeMaterial = material;
        Page page;
        PrintSpecSheet(r, page.writer);
        EXPECT_FALSE(page.Has("UV Protected Fiberglass")) << '"' << material << '"';
        EXPECT_EQ(page.Has("Radome Material"), !printed.empty()) << '"' << material << '"';
        if (!printed.empty()) {
            EXPECT_EQ(page.Text(printed).points[0].y, page.Text("Radome Material").points[0].y);
        }
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

TEST(PrintedSheet, PrintedPlotsPutLevelLabelsOverTheTracesAndCaptionsWithinThePlot)
{
    TQuvFile r;
    FillSector(r);
    // Printed: the ring labels come after the traces, each on its own white ground.
    for (const TPlotType type : {TPlotType::RelativePower, TPlotType::RelativeField}) {
        Page page;
        PrintPatternPage(r, page.writer, type);
        const char* label = type == TPlotType::RelativePower ? "-35" : "0.5";
        std::size_t lastTrace = 0, labels = 0;
        for (std::size_t i = 0; i < page.canvas.calls.size(); ++i) {
            const auto& c = page.canvas.calls[i];
            if (c.op == Op::Polyline)
                lastTrace = i;
            if (c.op == Op::TextOut && c.text == label) {
                ++labels;
                EXPECT_GT(i, lastTrace) << label;
                EXPECT_EQ(c.brush.style, TBrushStyle::Solid) << label;
                EXPECT_EQ(c.brush.color, clWhite) << label;
            }
        }
        EXPECT_EQ(labels, 2u) << label; // one on each plot
    }
    // On screen the grid stays under the traces, without a ground.
    TRecordingCanvas screen;
    TQuvFileList list;
    list.Add(r.PartNumber, &r);
    DrawBoxPlot(screen, 300, 300, list, TPlotType::RelativePower, TPatternCutKind::Azimuth,
                kNoRotation);
    std::size_t trace = 0, label = 0;
    for (std::size_t i = 0; i < screen.calls.size(); ++i) {
        if (screen.calls[i].op == Op::Polyline)
            trace = i;
        if (screen.calls[i].op == Op::TextOut && screen.calls[i].text == "-35") {
            label = i;
            EXPECT_EQ(screen.calls[i].brush.style, TBrushStyle::Clear);
        }
    }
    EXPECT_LT(label, trace);

    // Captions: the plot with its angle labels is 2 x 1.1625 x 1.3125 in (1831 px) wide: 48
    // characters at 9 pt, 55 at 8 pt, 63 at 7 pt. A wider caption shrinks to 7 pt, then wraps;
    // none leaves its plot.
    const std::tuple<std::string, int, std::size_t> captions[] = {
        {"", -75, 1},
        {"1920", -66, 1},
        {"824, 860 and 894", -58, 1},
        {"824, 860 and 894 (mean of three)", -58, 2},
    };
    for (const auto& [frequency, height, count] : captions) {
        r.MeasuredFrequency = frequency;
        Page page;
        PrintPatternPage(r, page.writer, TPlotType::RelativePower);
        // The azimuth caption lies between its plot and the elevation plot's labels.
        std::string caption;
        std::size_t lines = 0;
        for (const auto& c : page.Texts())
            if (c.points[0].y > 3100 && c.points[0].y < 3330) {
                ++lines;
                caption += (caption.empty() ? "" : " ") + c.text;
                EXPECT_EQ(c.font.height, height) << c.text;
                const int width = static_cast<int>(c.text.size()) * ((-height + 1) / 2);
                EXPECT_GE(c.points[0].x, 2633 - 1831 / 2) << c.text;
                EXPECT_LE(c.points[0].x + width, 2633 + 1831 / 2 + 1) << c.text;
            }
        EXPECT_EQ(lines, count) << frequency;
        EXPECT_EQ(caption, PlotCaption(r, TPatternCutKind::Azimuth, TPlotType::RelativePower));
    }
}

TEST(PrintedSheet, SpacePageSaysWhatItShowsAndKeepsItsViewWhateverTheDescription)
{
    struct Case {
        std::size_t description;
        std::string part;
        TSpacePageSettings settings;
        std::vector<std::string> texts;
    };
    TSpacePageSettings tall;
    tall.geometry.height = 45;
    tall.geometry.mechanicalTilt = 4;
    tall.method = T3DMethod::Summing;
    tall.radius = 5000;
    const Case cases[] = {
        {27, "TD0765-14", {}, {"Height 30 m, mechanical tilt 0 deg", "Map, radius 2000 m"}},
        {2000,
         "TD0765-14",
         tall,
         {"Height 45 m, mechanical tilt 4 deg", "Map, radius 5000 m", "3D pattern (summing)"}},
        {2000, "TD0765-14-" + std::string(40, 'X') + "-" + std::string(40, 'Y'), {}, {}},
    };
    for (const Case& c : cases) {
        TQuvFile r;
        FillSector(r);
        r.Description = Words(c.description);
        r.PartNumber = c.part;
        r.ElectricalDowntilt = "6";
        Page page;
        PrintSpacePage(r, page.writer, c.settings);
        const std::string what = std::to_string(c.description) + " " + c.part;
        EXPECT_TRUE(page.Has("3D PATTERN AND GROUND FOOTPRINT")) << what;
        EXPECT_FALSE(page.Has("A N T E N N A  S P E C I F I C A T I O N S")) << what;
        EXPECT_EQ(page.Text("824-896 MHz").points[0].y, page.Text("Frequency:").points[0].y);
        EXPECT_EQ(page.Text("6 deg").points[0].y, page.Text("Electrical Tilt:").points[0].y);
        for (const std::string& text : c.texts)
            EXPECT_TRUE(page.Has(text)) << what << ": " << text;
        // At most three lines of description, the last saying where the rest is.
        std::vector<std::string> lines;
        for (const auto& t : page.Texts())
            if (t.points[0].x == 1850 && t.font.height == -83 && t.points[0].y < 1500)
                lines.push_back(t.text);
        ASSERT_FALSE(lines.empty());
        EXPECT_LE(lines.size(), 5u) << what; // with the frequency and tilt
        if (c.description > 200) {
            EXPECT_TRUE(lines[2].ends_with(" \x85 full text on the datasheet")) << lines[2];
        }
        // The 3D picture keeps a square of at least 3 inches (1800 px) below the header.
        std::optional<TRect> view;
        for (const auto& image : page.canvas.Of(Op::Image))
            if (image.rect.top > 900 && !view)
                view = image.rect;
        ASSERT_TRUE(view) << what;
        EXPECT_GE(view->Width(), 1800) << what;
        EXPECT_GE(view->Height(), 1800) << what;
        for (const auto& t : page.Texts())
            if (t.points[0].y < view->top && t.points[0].x >= 800) {
                EXPECT_LE(t.points[0].y + std::abs(t.font.height), view->top + 60) << t.text;
            }
        // Every text on the paper (8.5 in is 5075 px).
        for (const auto& t : page.Texts()) {
            const int right = t.points[0].x +
                              static_cast<int>(t.text.size()) * ((std::abs(t.font.height) + 1) / 2);
            EXPECT_GE(t.points[0].x, -25) << what << ": " << t.text;
            EXPECT_LE(right, 5075) << what << ": " << t.text;
        }
    }
    // One colour scale: the map's step shows the 3D view's colour of the step's middle level.
    const std::pair<double, double> levels[] = {{-0.5, -1.5}, {-4, -4.5},   {-10, -10.5},
                                                {-20, -19.5}, {-29, -28.5}, {-50, -40}};
    for (const auto& [level, middle] : levels)
        EXPECT_EQ(FootprintStepColor(level), LevelColor(middle)) << level;
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
        // Only a datasheet numbers its sheets.
        const auto texts = page.Texts();
        EXPECT_FALSE(std::any_of(texts.begin(), texts.end(),
                                 [](const auto& c) { return c.text.starts_with("Sheet "); }));
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
