// The WIZARD, GRANET, CE4/PDF, CelPlan, Tornado and CellCAD writers against their line rules.
// The record's levels are all distinct (azimuth -(a/10), elevation -(a/10 + 40) at accessor
// angle a) and the gains have two decimals, so a reversed, shifted or swapped cut, an off-by-one
// at 0/180/360 or a lost gain shows. Every expected line is worked out by hand from the rules.
#include "support/AllFormats.h"

#include "catalogue/Errors.h"
#include "catalogue/NumberText.h"
#include "export/ExportClock.h"
#include "export/ExportLib.h"
#include "support/ExportFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

namespace quv {
namespace {

namespace fs = std::filesystem;
using test::CrLfLines;
using test::TempFolder;

std::string Tenths(int tenths)
{
    return "-" + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::unique_ptr<TQuvFile> DistinctRecord(const std::map<std::string, std::string>& changes = {})
{
    auto header = test::BaseHeader();
    header["Gain, dBd"] = "15.93";
    header["Gain, dBi"] = "18.07";
    for (const auto& [key, value] : changes)
        header[key] = value;
    return test::MakeRecord(
        header, [](int a) { return Tenths(a); }, [](int a) { return Tenths(a + 400); });
}

const std::string kPath = "/out/ABC123_P45";
const TExportDate kDay{2024, 3, 7, '/'};

struct TWriterCase {
    std::string name;
    std::string bytes;
    std::size_t count;
    std::vector<std::string> header;                       // lines 1, 2, ...
    std::vector<std::pair<std::size_t, std::string>> more; // line number (from 1), text
};

TEST(DatedAndGainWriters, HeaderAndFirstMiddleLastPointOfEachCut)
{
    const auto record = DistinctRecord();
    const TCellCadFiles cellCad = BuildCellCad(kPath, *record, kDay);
    const std::vector<TWriterCase> cases = {
        // Azimuth over the horizon gain 15.93 - 40.0; elevation halves over the gain.
        {"WIZARD",
         BuildWizard(kPath, *record, kDay),
         454,
         {"A|TECC|NONTECC|1.00|2024-03-07|APF|1.00|Tavrin|", "|MFR|Tavrin Corporation|",
          "|MODEL|ABC123|", "|FILE|ABC123_P45|", "|DESC|65\xB0 sector panel|", "|FCC ID|none|",
          "|LENGTH|8.5|", "|DATE|2024-03-07|", "|MFR ID|none|", "|FREQ|1850 MHz|",
          "|POLARIZATION|Vertical|", "|HBEAM|65|", "|VBEAM|6.5|", "|MAXGAIN|15.93|", "|MINGAIN||",
          "|HORIZ|0|72|", "|  0|-24.070|", "|  5|-24.570|"},
         {{53, "|180|-42.070|"},
          {88, "|355|-59.570|"},
          {89, ""},
          {90, "|VERT|0|181|"},
          {91, "|-90|-51.070|"},
          {180, "| -1|-59.970|"},
          {181, "|  0|-24.070|"},
          {182, "|  1|-24.170|"},
          {271, "| 90|-33.070|"},
          {272, ""},
          {273, "|VERT|180|181|"},
          {274, "|-90|-51.070|"},
          {364, "|  0|-42.070|"},
          {365, "|  1|-41.970|"},
          {454, "| 90|-33.070|"}}},
        {"GRANET",
         BuildGranet(kPath, *record, kDay),
         741,
         {"model_number ABC123", "manufacturer Tavrin Corporation", "gain 15.9 dBd",
          "h_beamwidth 65.0 degrees", "v_beamwidth 6.5 degrees", "front_to_back 25.00 dB",
          "length 2.58 meters", "lobe_tilt 6.0 degrees", "wind_area ", "source 1",
          "date 03/07/2024", "meas_freq 1850.00 MHz", "description 65\xB0 sector panel",
          "polarization Vertical", "sectored", "", "horizontal", "unequal unsymmetrical",
          "-180 -2.070"},
         {{198, "-1 15.830"},
          {199, "0 15.930"},
          {200, "1 -19.970"},
          {378, "179 -2.170"},
          {379, ""},
          {380, "vertical"},
          {381, "unequal unsymmetrical"},
          {382, "-180 -33.070"},
          {472, "-90 -24.070"},
          {473, "-89 -59.970"},
          {562, "0 -51.070"},
          {741, "179 -33.170"}}},
        {"CE4",
         BuildCe4(kPath, *record, kDay),
         451,
         {"|MANUF|Tavrin Corporation|", "|MODEL|ABC123|", "|FILE|ABC123_P45|",
          "|DESCR|65\xB0 sector panel|", "|FCC ID|Null|", "|REVERSE ID|Null|", "|DATE|2024-03-07|",
          "|MFR ID|Null|", "|FREQ|1850-1990 MHz|", "|DBD/DBI Flag|dBd|", "|POLARIZATION|Vertical|",
          "|HORIZ BEAM WIDTH|65|", "|VERT BEAM WIDTH|6.5|", "|HORIZ OFFSET|6|", "|HORIZ|0|72|",
          "|  0|15.930|"},
         {{52, "|180|-2.070|"},
          {87, "|355|-19.570|"},
          {88, "|VERT|0|181|"},
          {89, "|-90|-51.070|"},
          {178, "| -1|-59.970|"},
          {179, "|  0|-24.070|"},
          {269, "| 90|-33.070|"},
          {270, "|VERT|180|181|"},
          {271, "|-90|-51.070|"},
          {361, "|  0|-42.070|"},
          {451, "| 90|-33.070|"}}},
        {"CelPlan",
         BuildCelPlan(kPath, *record),
         734,
         {"[CelPlan DT ANT]", "Mod:\tABC123", "Man:\tTavrin Corporation", "Dig:\tCelPlan",
          "Dsc:\t65\xB0 sector panel", "Ngn:\t15.9 dBd", "Hbw:\t65.0\xB0", "Vbw:\t6.5\xB0",
          "Mnf:\t1850.0 MHz", "Mxf:\t1990.0 MHz", "Siz:\t2.58 m", "Inc:\t1.0\xB0", "Azm\tGain",
          "  0\t15.93"},
         {{59, " 45\t11.43"},
          {194, "180\t-2.07"},
          {373, "359\t-19.97"},
          {374, "Elv\tGain"},
          {375, "  0\t-24.07"},
          {555, "180\t-42.07"},
          {734, "359\t-59.97"}}},
        {"Tornado",
         BuildTornado(kPath, *record),
         732,
         {"NAME ABC123_P45", "MAKE ABC123", "FREQUENCY 1850", "H_WIDTH 65", "V_WIDTH 6.5",
          "FRONT_TO_BACK 25.00", "GAIN 15.93 dBd", "TILT ELECTRICAL", "POLARIZATION Vertical",
          "COMMENTS 65\xB0 sector panel", "HORIZONTAL 360", "0 0.000"},
         {{192, "180 18.000"},
          {371, "359 35.900"},
          {372, "VERTICAL 360"},
          {373, "0 40.000"},
          {553, "180 58.000"},
          {732, "359 75.900"}}},
        // Levels over the dBi gain 18.07, one decimal, zero-filled after the sign.
        {"CellCAD .hor",
         cellCad.hor,
         368,
         {"LCC", "03-07-2024", "12:00", "Tavrin Corporation", "ABC123", "65", "H", "0",
          "0000.0 018.1"},
         {{189, "0180.0 000.1"}, {194, "0185.0 -00.4"}, {368, "0359.0 -17.8"}}},
        {"CellCAD .ver",
         cellCad.ver,
         368,
         {"LCC", "03-07-2024", "12:00", "Tavrin Corporation", "ABC123", "6.5", "V", "0",
          "0180.0 -39.9"},
         {{99, "0090.0 -48.9"},
          {188, "0001.0 -57.8"},
          {189, "0000.0 -21.9"},
          {190, "-001.0 -22.0"},
          {279, "-090.0 -30.9"},
          {368, "-179.0 -39.8"}}},
    };
    for (const auto& c : cases) {
        const auto lines = CrLfLines(c.bytes);
        EXPECT_EQ(lines.size(), c.count) << c.name;
        auto expected = c.more;
        for (std::size_t i = 0; i < c.header.size(); ++i)
            expected.emplace_back(i + 1, c.header[i]);
        for (const auto& [number, text] : expected) {
            ASSERT_LE(number, lines.size()) << c.name;
            EXPECT_EQ(lines[number - 1], text) << c.name << " line " << number;
        }
    }
}

TEST(DatedAndGainWriters, ValueRulesOfTheWorkedExamples)
{
    using TBuild = std::function<std::string(const TQuvFile&)>;
    const TBuild wizard = [](const TQuvFile& r) { return BuildWizard(kPath, r, kDay); };
    const TBuild granet = [](const TQuvFile& r) { return BuildGranet(kPath, r, kDay); };
    const TBuild ce4 = [](const TQuvFile& r) { return BuildCe4(kPath, r, kDay); };
    const TBuild celPlan = [](const TQuvFile& r) { return BuildCelPlan(kPath, r); };
    const TBuild tornado = [](const TQuvFile& r) { return BuildTornado(kPath, r); };
    const std::string longText = std::string(10, 'x') + " DEGREE" + std::string(70, 'y');
    struct Case {
        TBuild build;
        std::map<std::string, std::string> changes;
        std::size_t line;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {wizard, {{"Length, mm (in)", "1295 (51.0)"}}, 7, "|LENGTH|4.2|"},
        {wizard, {{"Description", "Panel, 65 Degree, 17 dBd"}}, 5, "|DESC|Panel, 65\xB0, 17 dBd|"},
        {wizard, {{"Description", "65 degrees"}}, 5, "|DESC|65\xB0s|"},
        {wizard, {{"Description", "Panel, 65 degree"}}, 5, "|DESC|Panel, 65\xB0|"},
        {wizard,
         {{"Description", longText}},
         5,
         "|DESC|xxxxxxxxxx\xB0" + std::string(59, 'y') + "|"},
        {wizard, {{"Polarization Type", "Dual Slant +/-45"}}, 11, "|POLARIZATION|Vertical|"},
        {wizard, {{"Polarization Type", "horiz"}}, 11, "|POLARIZATION|Horizontal|"},
        {wizard, {{"Polarization Type", "Horizontal"}}, 11, "|POLARIZATION|Horizontal|"},
        {granet, {{"Antenna Type", "  Omni "}}, 15, "omnidirectional"},
        {granet, {{"Antenna Type", "Omni Directional"}}, 15, "sectored"},
        {granet, {{"Electrical Downtilt, deg", "2"}}, 8, "lobe_tilt 2.0 degrees"},
        {granet, {{"Electrical Downtilt, deg", "N/A"}}, 8, "lobe_tilt "},
        {granet,
         {{"Flat Plate Area, sq.m (sq.ft)", "0.25 (2.7)"}},
         9,
         "wind_area 0.25 square meters"},
        {granet, {{"Flat Plate Area, sq.m (sq.ft)", "0.25"}}, 9, "wind_area  square meters"},
        {granet, {{"Length, mm (in)", "1400 (55.1)"}}, 7, "length 1.40 meters"},
        {ce4,
         {{"Beginning Sub-Frequency, MHz", ""}, {"Ending Sub-Frequency, MHz", ""}},
         9,
         "|FREQ|- MHz|"},
        {ce4, {{"Electrical Downtilt, deg", "N/A"}}, 14, "|HORIZ OFFSET||"},
        {celPlan, {{"Gain, dBd", "14.27"}}, 6, "Ngn:\t14.3 dBd"},
        {celPlan, {{"Gain, dBd", "14.27"}}, 17, "  3\t13.97"}, // the level adds the full gain
        {celPlan, {{"Length, mm (in)", "1400 (55.1)"}}, 11, "Siz:\t1.40 m"},
        {tornado, {{"Polarization Type", ""}}, 9, "POLARIZATION "},
        {tornado, {{"Description", ""}}, 10, "COMMENTS "},
    };
    for (const auto& c : cases) {
        const auto lines = CrLfLines(c.build(*DistinctRecord(c.changes)));
        EXPECT_EQ(lines.at(c.line - 1), c.expected) << c.changes.begin()->second;
    }

    // Single levels of the worked examples.
    auto header = test::BaseHeader();
    header["Gain, dBd"] = "15";
    const auto wizardRecord = test::MakeRecord(
        header, [](int a) { return std::string(a == 90 ? "-3" : "0"); },
        [](int e) { return std::string(e == 0 ? "-0.5" : "0"); });
    EXPECT_EQ(CrLfLines(wizard(*wizardRecord))[16 + 18], "| 90|11.500|");
    header["Gain, dBd"] = "17.0";
    const auto granetRecord =
        test::MakeRecord(header, [](int a) { return std::string(a == 10 ? "-3" : "0"); });
    EXPECT_EQ(CrLfLines(granet(*granetRecord))[18 + 170], "-10 14.000");
    header["Gain, dBd"] = "15.5";
    const auto ce4Record =
        test::MakeRecord(header, [](int a) { return std::string(a == 180 ? "-10" : "0"); });
    EXPECT_EQ(CrLfLines(ce4(*ce4Record))[51], "|180|5.500|");
}

TEST(DatedAndGainWriters, TornadoRepeatsThePlanetValuesAndPatternLines)
{
    const auto record = DistinctRecord({{"Electrical Downtilt, deg", "0"}});
    const auto planet = CrLfLines(BuildPlanet(kPath, *record));
    const auto tornado = CrLfLines(BuildTornado(kPath, *record));
    ASSERT_EQ(planet.size() + 2, tornado.size());
    EXPECT_EQ(tornado[7], "TILT MECHANICAL");
    EXPECT_TRUE(std::equal(planet.begin() + 1, planet.begin() + 8, tornado.begin() + 1));
    EXPECT_TRUE(std::equal(planet.begin() + 8, planet.end(), tornado.begin() + 10));
}

TEST(DatedAndGainWriters, ValuesThatMustBeNumbersRaiseConversionErrors)
{
    using TBuild = std::function<void(const TQuvFile&)>;
    const std::vector<std::pair<std::string, TBuild>> writers = {
        {"WIZARD", [](const TQuvFile& r) { BuildWizard(kPath, r, kDay); }},
        {"GRANET", [](const TQuvFile& r) { BuildGranet(kPath, r, kDay); }},
        {"CE4", [](const TQuvFile& r) { BuildCe4(kPath, r, kDay); }},
        {"CelPlan", [](const TQuvFile& r) { BuildCelPlan(kPath, r); }},
        {"Tornado", [](const TQuvFile& r) { BuildTornado(kPath, r); }},
        {"CellCAD", [](const TQuvFile& r) { BuildCellCad(kPath, r, kDay); }},
    };
    const std::map<std::string, std::vector<std::pair<std::string, std::string>>> faults = {
        {"WIZARD", {{"Gain, dBd", ""}, {"Length, mm (in)", "1295"}}},
        {"GRANET",
         {{"Gain, dBd", "x"}, {"Measured Frequency", "1850-1990"}, {"Azimuth Beamwidth, deg", ""}}},
        {"CE4", {{"Gain, dBd", "N/A"}}},
        {"CelPlan", {{"Beginning Sub-Frequency, MHz", ""}, {"Length, mm (in)", "1400"}}},
        {"Tornado", {{"Front to Back Ratio, dB", "N/A"}}},
        {"CellCAD", {{"Gain, dBi", ""}}},
    };
    // Elevation 100 lies in every writer's tables (the back half of WIZARD and CE4, the lower
    // half of CellCAD's vertical file).
    const auto badLevel = test::MakeRecord(test::BaseHeader(), test::DefaultAzimuth, [](int e) {
        return e == 100 ? std::string("abc") : std::string("0");
    });
    for (const auto& [name, build] : writers) {
        EXPECT_THROW(build(*badLevel), EConvertError) << name;
        for (const auto& [key, value] : faults.at(name))
            EXPECT_THROW(build(*DistinctRecord({{key, value}})), EConvertError)
                << name << " " << key << "=" << value;
    }
}

TEST(DatedAndGainWriters, ExportsDispatchCommitUnderTheFixedClockOrLeaveNothing)
{
    struct Case {
        int index;
        std::vector<std::string> names;
        std::size_t dateLine; // in the first file; 0 for none
        std::string date;
    };
    const std::vector<Case> cases = {
        {1, {"T.apf"}, 8, "|DATE|2031-11-05|"},
        {2, {"T.pat"}, 11, "date 11.05.2031"},
        {3, {"T.ce4"}, 7, "|DATE|2031-11-05|"},
        {4, {"T.pdf"}, 7, "|DATE|2031-11-05|"},
        {6, {"T.ant"}, 0, ""},
        {7, {"T.txt"}, 0, ""},
        {8, {"T.hor", "T.ver"}, 2, "11-05-2031"},
    };
    TExportRun run{TExportDate{2031, 11, 5, '.'}};
    const auto good = DistinctRecord();
    const auto bad = test::MakeRecord(test::BaseHeader(), test::DefaultAzimuth, [](int e) {
        return e == 100 ? std::string("abc") : std::string("0");
    });
    for (const auto& c : cases) {
        TempFolder dir;
        CallExportWriter(dir / "T.x", *good, c.index, run);
        EXPECT_EQ(dir.Names(), c.names) << c.index;
        if (c.dateLine > 0) {
            EXPECT_EQ(CrLfLines(dir.Read(c.names[0])).at(c.dateLine - 1), c.date) << c.index;
        }
        if (c.index == 8) {
            EXPECT_EQ(CrLfLines(dir.Read("T.ver"))[1], c.date);
        }

        // A level that is not a number leaves the older files untouched and adds nothing; for
        // CellCAD the failure is in the vertical file, after the horizontal one was built.
        for (const auto& name : c.names)
            std::ofstream(dir / name, std::ios::binary) << "old";
        EXPECT_THROW(CallExportWriter(dir / "T", *bad, c.index, run), EConvertError) << c.index;
        EXPECT_EQ(dir.Names(), c.names) << c.index;
        for (const auto& name : c.names)
            EXPECT_EQ(dir.Read(name), "old") << name;
        TempFolder empty;
        EXPECT_THROW(CallExportWriter(empty / "T", *bad, c.index, run), EConvertError);
        EXPECT_TRUE(empty.Names().empty()) << c.index;
    }

    // CE4 and PDF are one file under two extensions.
    TempFolder dir;
    ExportCe4(dir / "A", *good, run);
    ExportPdf(dir / "A", *good, run);
    EXPECT_EQ(dir.Read("A.ce4"), dir.Read("A.pdf"));
}

TEST(ExportClock, ParsesCalendarDaysAndFormatsDatePatterns)
{
    const std::vector<std::pair<std::string, bool>> texts = {
        {"2024-02-29", true},  {"2023-02-29", false}, {"2000-02-29", true},   {"1900-02-29", false},
        {"2024-12-31", true},  {"2024-13-01", false}, {"2024-00-10", false},  {"2024-04-31", false},
        {"2024-1-01", false},  {"24-01-01", false},   {"2024-01-01x", false}, {"2024/01/01", false},
        {"0000-01-01", false}, {"", false},
    };
    for (const auto& [text, valid] : texts) {
        TExportDate date{1999, 9, 9, '.'};
        EXPECT_EQ(ParseIsoDate(text, date), valid) << text;
        if (!valid) {
            EXPECT_EQ(date.year * 10000 + date.month * 100 + date.day, 19990909) << text;
        }
    }
    TExportDate date{1999, 9, 9, '.'};
    ASSERT_TRUE(ParseIsoDate("0987-06-05", date));
    EXPECT_EQ(date.separator, '.');
    EXPECT_EQ(FormatExportDate(date, "yyyy-mm-dd"), "0987-06-05");
    EXPECT_EQ(FormatExportDate(date, "mm/dd/yyyy"), "06.05.0987");
    EXPECT_EQ(FormatExportDate(date, "mm-dd-yyyy"), "06-05-0987");

    const std::vector<std::pair<std::string, char>> formats = {
        {"%m/%d/%y", '/'}, {"%d.%m.%Y", '.'},  {"%Y-%m-%d", '-'}, {"%-d. %m. %Y", '.'},
        {"%e %b %Y", '/'}, {"%Ey\xE5%m", '/'}, {"", '/'},
    };
    for (const auto& [format, separator] : formats)
        EXPECT_EQ(DateSeparatorOf(format), separator) << format;

    EXPECT_GE(ExportToday().year, 2024);
}

TEST(ExportLevelSums, MatchTheGeneralFormatterForEveryTextAndHalf)
{
    std::vector<std::string> texts = {"0",     "-0",    "-0.0",  "15.93",          "-3",     "2",
                                      "0.675", "-0.05", "0.05",  "-12.5",          "1e1",    " 3",
                                      "-.5",   "5.",    "+1.25", "-999999.999999", "1234567"};
    std::mt19937 random(2024);
    for (int k = 0; k < 4000; ++k) {
        std::string t = random() % 2 ? "-" : "";
        t += std::to_string(random() % (k % 3 == 0 ? 1000 : 100));
        const int decimals = static_cast<int>(random() % 5);
        if (decimals > 0)
            t += '.';
        for (int d = 0; d < decimals; ++d)
            t += static_cast<char>('0' + random() % 10);
        texts.push_back(t);
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string &b = texts[i], &l = texts[(i * 7919 + 13) % texts.size()];
        double base = 0, level = 0;
        if (!TryStrToFloat(b, base) || !TryStrToFloat(l, level))
            continue;
        const double sum = AddDb(base, level);
        for (int decimals = 1; decimals <= 3; ++decimals) {
            std::string fast;
            AppendLevelSum(fast, LevelBase(b), l, decimals);
            ASSERT_EQ(fast, Format("%1." + std::to_string(decimals) + "f", {sum})) << b << " " << l;
        }
        std::string padded;
        AppendZeroPaddedLevelSum(padded, LevelBase(b), l, 5);
        ASSERT_EQ(padded, FormatZeroPadded(5, sum)) << b << " " << l;
        // Three terms, as the WIZARD azimuth table adds them.
        std::string three;
        AppendLevelSum(three, AddLevel(LevelBase(b), l), b, 3);
        ASSERT_EQ(three, Format("%1.3f", {AddDb(sum, base)})) << b << " " << l;
    }
    // Hand-checked: halves go away from zero; a double just below the half decides for itself.
    std::string s;
    AppendLevelSum(s, LevelBase("15"), "-3.25", 1);
    s += '|';
    AppendLevelSum(s, LevelBase("0"), "2.675", 2); // 2.67499999999999982 as a double
    s += '|';
    AppendZeroPaddedLevelSum(s, LevelBase("18"), "-18.43", 5);
    EXPECT_EQ(s, "11.8|2.67|-00.4");
    std::string bad;
    EXPECT_THROW(AppendLevelSum(bad, LevelBase("1"), "abc", 3), EConvertError);
    EXPECT_THROW(LevelBase(""), EConvertError);
}

} // namespace
} // namespace quv
