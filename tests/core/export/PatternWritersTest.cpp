// The NetPlan, EDX, QEDesign, CDMA, PathPro, Odyssey and Nokia writers against their line rules.
// The pattern record gives every level its own value, so a cut read in the wrong sense, shifted
// by one or taken from the other list fails: AzimuthAt(a) is -(1 + a/10) and ElevationAt(a) is
// -(41 + a/10), in tenths (AzimuthAt(123) is -13.3). Expected lines are worked out by hand from
// that rule and the format's rules, never taken from the writers' own output.
#include "support/AllFormats.h"

#include "catalogue/Errors.h"
#include "export/ExportLib.h"
#include "support/ExportFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

namespace quv {
namespace {

namespace fs = std::filesystem;
using test::BaseHeader;
using test::CrLfLines;
using test::MakeRecord;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

std::string Tenths(int t)
{
    return std::to_string(t / 10) + "." + std::to_string(t % 10);
}
std::string AzimuthLevel(int a)
{
    return "-" + Tenths(10 + a);
}
std::string ElevationLevel(int a)
{
    return "-" + Tenths(410 + a);
}

std::map<std::string, std::string> FullHeader()
{
    auto header = BaseHeader();
    header["Impedance, ohms"] = "50";
    header["Lightning Protection"] = "DC Ground";
    header["Radome Material"] = "Fiberglass";
    header["Flat Plate Area, sq.m (sq.ft)"] = "0.35 (3.8)";
    header["Survival Wind Speed, km/h (mph)"] = "200 (124)";
    return header;
}

std::unique_ptr<TQuvFile> DistinctRecord()
{
    return MakeRecord(FullHeader(), AzimuthLevel, ElevationLevel);
}

// One writer as the table tests see it: the bytes of each file it makes, in order.
struct TWriter {
    std::string name;
    std::vector<std::string> extensions;
    std::function<std::vector<std::string>(const std::string&, const TQuvFile&)> build;
    TExportWriter exporter;
    int formatIndex;
    std::vector<std::size_t> lineCounts; // per file
};

std::vector<TWriter> Writers()
{
    const auto one = [](std::string (*build)(const std::string&, const TQuvFile&)) {
        return [build](const std::string& path, const TQuvFile& record) {
            return std::vector<std::string>{build(path, record)};
        };
    };
    return {
        {"NetPlan",
         {".h", ".v"},
         [](const std::string& path, const TQuvFile& record) {
             auto files = BuildNetPlan(path, record);
             return std::vector<std::string>{files.horizontal, files.vertical};
         },
         &ExportNetPlan,
         5,
         {43, 43}},
        {"EDX", {".edx"}, one(&BuildEdx), &ExportEdx, 9, {727}},
        {"QEDesign", {".txt"}, one(&BuildQeDesign), &ExportQeDesign, 10, {746}},
        {"CDMA", {".txt"}, one(&BuildCdma), &ExportCdma, 11, {746}},
        {"PathPro", {".ant"}, one(&BuildPathPro), &ExportPathPro, 14, {735}},
        {"Odyssey", {".txt"}, one(&BuildOdyssey), &ExportOdyssey, 15, {727}},
        {"Nokia", {".msi"}, one(&BuildNokia), &ExportNokia, 17, {727}},
    };
}

struct TLineCheck {
    std::string writer;
    std::size_t file; // 0, or 1 for NetPlan's ".v"
    std::size_t line; // from 0
    std::string text;
};

// Headers, literals and the first, a middle and the last point of every cut, plus the lines
// either side of the places where a cut wraps or changes list.
const std::vector<TLineCheck>& LineChecks()
{
    static const std::vector<TLineCheck> checks = {
        // NetPlan ".h": the stored azimuth list 0..359, which is AzimuthAt(0), then 359 down to 1.
        {"NetPlan", 0, 0, "# Tavrin ABC123"},
        {"NetPlan", 0, 1, "Name = ABC123"},
        {"NetPlan", 0, 2, "Number of Points = 360"},
        {"NetPlan", 0, 3, "Start Ang. = 0.00"},
        {"NetPlan", 0, 4, "Range = 40.00000"},
        {"NetPlan", 0, 5, "Increment = 1.0"},
        {"NetPlan", 0, 6, "Orientation = Horizontal"},
        {"NetPlan", 0, 7, " -1.00 -36.90 -36.80 -36.70 -36.60 -36.50 -36.40 -36.30 -36.20 -36.10"},
        {"NetPlan", 0, 25, "-19.00 -18.90 -18.80 -18.70 -18.60 -18.50 -18.40 -18.30 -18.20 -18.10"},
        {"NetPlan", 0, 42, " -2.00  -1.90  -1.80  -1.70  -1.60  -1.50  -1.40  -1.30  -1.20  -1.10"},
        // NetPlan ".v": ElevationAt(180..359), then ElevationAt(0..179).
        {"NetPlan", 1, 0, "# Tavrin ABC123"},
        {"NetPlan", 1, 6, "Orientation = Vertical"},
        {"NetPlan", 1, 7, "-59.00 -59.10 -59.20 -59.30 -59.40 -59.50 -59.60 -59.70 -59.80 -59.90"},
        {"NetPlan", 1, 24, "-76.00 -76.10 -76.20 -76.30 -76.40 -76.50 -76.60 -76.70 -76.80 -76.90"},
        {"NetPlan", 1, 25, "-41.00 -41.10 -41.20 -41.30 -41.40 -41.50 -41.60 -41.70 -41.80 -41.90"},
        {"NetPlan", 1, 42, "-58.00 -58.10 -58.20 -58.30 -58.40 -58.50 -58.60 -58.70 -58.80 -58.90"},
        // EDX
        {"EDX", 0, 0, "'ABC123',18,2"},
        {"EDX", 0, 1, "0,-1.000"},
        {"EDX", 0, 181, "180,-19.000"},
        {"EDX", 0, 360, "359,-36.900"},
        {"EDX", 0, 361, "999"},
        {"EDX", 0, 362, "2,181"},
        {"EDX", 0, 363, "0"},
        {"EDX", 0, 364, "90,-68.000"},
        {"EDX", 0, 409, "45,-72.500"},
        {"EDX", 0, 453, "1,-76.900"},
        {"EDX", 0, 454, "0,-41.000"},
        {"EDX", 0, 455, "-1,-41.100"},
        {"EDX", 0, 544, "-90,-50.000"},
        {"EDX", 0, 545, "181"},
        {"EDX", 0, 546, "90,-68.000"},
        {"EDX", 0, 591, "45,-63.500"},
        {"EDX", 0, 636, "0,-59.000"},
        {"EDX", 0, 637, "-1,-58.900"},
        {"EDX", 0, 726, "-90,-50.000"},
        // QEDesign
        {"QEDesign", 0, 0, "Tavrin Corporation\t## manufacturer (REQ)"},
        {"QEDesign", 0, 1, "ABC123\t## model (REQ)"},
        {"QEDesign", 0, 2, "15.9\t## maximum antenna gain (dBd) (REQ)"},
        {"QEDesign", 0, 3, "65\t## horizontal beamwidth (deg) (REQ)"},
        {"QEDesign", 0, 4, "6.5\t## vertical beamwidth (deg) (REQ)"},
        {"QEDesign", 0, 5, "25.00\t## front-to-back ratio (dB) (OPT)"},
        {"QEDesign", 0, 6, "1850\t## minimum operating frequency (MHz) (REQ)"},
        {"QEDesign", 0, 7, "1990\t## maximum operating frequency (MHz) (REQ)"},
        {"QEDesign", 0, 8, "500\t## maximum input power (W) (OPT)"},
        {"QEDesign", 0, 9, "50\t## input impedance (Ohms) (OPT)"},
        {"QEDesign", 0, 10, "1.30:1\t## voltage standing wave ratio (OPT)"},
        {"QEDesign", 0, 11, "12.5 \t## weight (kg) (OPT)"},
        {"QEDesign", 0, 12, "0.35\t## wind area (sq m) (OPT)"},
        {"QEDesign", 0, 13, "200 \t## max wind speed (kph) (OPT)"},
        {"QEDesign", 0, 14, "Vertical\t## polarization (OPT)"},
        {"QEDesign", 0, 15, "6\t## downtilt (OPT)"},
        {"QEDesign", 0, 16, "DC Ground\t## lightning protection (OPT)"},
        {"QEDesign", 0, 17, "7-16 DIN\t## connector type (OPT)"},
        {"QEDesign", 0, 18, "258\t## height (cm) (OPT)"},
        {"QEDesign", 0, 19, "\t## width (cm) (OPT)"},
        {"QEDesign", 0, 20, "\t## depth (cm) (OPT)"},
        {"QEDesign", 0, 21, "Fiberglass\t## radome type (OPT)"},
        {"QEDesign", 0, 22, ""},
        {"QEDesign", 0, 23, "## Horizontal Radiation Pattern ##"},
        {"QEDesign", 0, 24, "0.00\t-1.00"},
        {"QEDesign", 0, 204, "180.00\t-19.00"},
        {"QEDesign", 0, 383, "359.00\t-36.90"},
        {"QEDesign", 0, 384, ""},
        {"QEDesign", 0, 385, "## Vertical Radiation Pattern ##"},
        {"QEDesign", 0, 386, "-179.00\t-58.90"},
        {"QEDesign", 0, 475, "-90.00\t-50.00"},
        {"QEDesign", 0, 564, "-1.00\t-41.10"},
        {"QEDesign", 0, 565, "0.00\t-41.00"},
        {"QEDesign", 0, 566, "1.00\t-76.90"},
        {"QEDesign", 0, 655, "90.00\t-68.00"},
        {"QEDesign", 0, 745, "180.00\t-59.00"},
        // CDMA: the gain line; the rest is compared with QEDesign below.
        {"CDMA", 0, 2, "18\t## maximum antenna gain (dBi) (REQ)"},
        {"CDMA", 0, 565, "0.00\t-41.00"},
        // PathPro
        {"PathPro", 0, 0, "::ANTENNA"},
        {"PathPro", 0, 1, "::HEADER"},
        {"PathPro", 0, 2, "dBd"},
        {"PathPro", 0, 3, "6"},
        {"PathPro", 0, 4, "25.00"},
        {"PathPro", 0, 5, "65"},
        {"PathPro", 0, 6, "6.5"},
        {"PathPro", 0, 7, "1990"},
        {"PathPro", 0, 8, "1850"},
        {"PathPro", 0, 9, "15.9"},
        {"PathPro", 0, 10, "ABC123"},
        {"PathPro", 0, 11, "Tavrin Corporation"},
        {"PathPro", 0, 12, "2.58"},
        {"PathPro", 0, 13, "::HORIZONTAL\t360"},
        {"PathPro", 0, 14, "0\t-1.00"},
        {"PathPro", 0, 194, "180\t-19.00"},
        {"PathPro", 0, 373, "359\t-36.90"},
        {"PathPro", 0, 374, "::VERTICAL\t360"},
        // The stored elevation list: entry j is ElevationAt(360 - j).
        {"PathPro", 0, 375, "-180\t-59.00"},
        {"PathPro", 0, 376, "-179\t-58.90"},
        {"PathPro", 0, 465, "-90\t-50.00"},
        {"PathPro", 0, 554, "-1\t-41.10"},
        {"PathPro", 0, 555, "0\t-41.00"},
        {"PathPro", 0, 556, "1\t-76.90"},
        {"PathPro", 0, 645, "90\t-68.00"},
        {"PathPro", 0, 734, "179\t-59.10"},
        // Odyssey: the stored azimuth list 1..360 (entry i is AzimuthAt(360 - i)), ElevationAt(i).
        {"Odyssey", 0, 0, "NAME\tABC123"},
        {"Odyssey", 0, 1, "FREQUENCY\t1850"},
        {"Odyssey", 0, 2, "BEAM_WIDTH\t65"},
        {"Odyssey", 0, 3, "GAIN\t18 dBi"},
        {"Odyssey", 0, 4, "TILT\tELECTRICAL"},
        {"Odyssey", 0, 5, "HORIZONTAL\t360"},
        {"Odyssey", 0, 6, "1\t36.900"},
        {"Odyssey", 0, 95, "90\t28.000"},
        {"Odyssey", 0, 185, "180\t19.000"},
        {"Odyssey", 0, 364, "359\t1.100"},
        {"Odyssey", 0, 365, "360\t1.000"},
        {"Odyssey", 0, 366, "VERTICAL\t360"},
        {"Odyssey", 0, 367, "1\t41.100"},
        {"Odyssey", 0, 456, "90\t50.000"},
        {"Odyssey", 0, 725, "359\t76.900"},
        {"Odyssey", 0, 726, "360\t41.000"},
        // Nokia
        {"Nokia", 0, 0, "AntennaType: ABC123"},
        {"Nokia", 0, 1, "FREQUENCY 1850"},
        {"Nokia", 0, 2, "GAIN 15.9 dBd"},
        {"Nokia", 0, 3, "TILT ELECTRICAL"},
        {"Nokia", 0, 4, "COMMENT DATE:"},
        {"Nokia", 0, 5, "HORIZONTAL 360"},
        {"Nokia", 0, 6, "0.0 1.0"},
        {"Nokia", 0, 186, "180.0 19.0"},
        {"Nokia", 0, 365, "359.0 36.9"},
        {"Nokia", 0, 366, "VERTICAL 360"},
        {"Nokia", 0, 367, "0.0 41.0"},
        {"Nokia", 0, 547, "180.0 59.0"},
        {"Nokia", 0, 726, "359.0 76.9"},
    };
    return checks;
}

TEST(PatternWriters, LineCountsHeadersAndCutPointsFollowTheirRules)
{
    const auto record = DistinctRecord();
    std::map<std::string, std::vector<std::vector<std::string>>> files;
    for (const auto& w : Writers()) {
        for (const auto& bytes : w.build("/out/ABC123_P45", *record)) {
            files[w.name].push_back(CrLfLines(bytes));
            // CrLfLines marks a line without CR LF; none may be missing, the last included.
            EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << w.name;
        }
        ASSERT_EQ(files[w.name].size(), w.lineCounts.size()) << w.name;
        for (std::size_t f = 0; f < files[w.name].size(); ++f)
            EXPECT_EQ(files[w.name][f].size(), w.lineCounts[f]) << w.name << " file " << f;
    }
    for (const auto& c : LineChecks()) {
        const auto& lines = files.at(c.writer).at(c.file);
        ASSERT_LT(c.line, lines.size()) << c.writer;
        EXPECT_EQ(lines[c.line], c.text)
            << c.writer << " file " << c.file << " line " << c.line + 1;
    }
}

TEST(PatternWriters, CdmaDiffersFromQeDesignInTheGainLineOnly)
{
    const auto record = DistinctRecord();
    auto qe = CrLfLines(BuildQeDesign("x", *record));
    auto cdma = CrLfLines(BuildCdma("x", *record));
    ASSERT_EQ(qe.size(), cdma.size());
    EXPECT_NE(qe[2], cdma[2]);
    qe[2] = cdma[2];
    EXPECT_EQ(qe, cdma);
}

TEST(PatternWriters, LevelsKeepOrDropTheirSignAndRoundHalvesAwayFromZero)
{
    // AzimuthAt(0..4) hold these texts; the rest are 0.
    const std::vector<std::string> texts = {"-12.5", "1.5", "-0.125", "-7.25", "0"};
    const auto record = MakeRecord(FullHeader(), [&](int a) {
        return a < 5 ? texts[static_cast<std::size_t>(a)] : std::string("0");
    });
    const auto edx = CrLfLines(BuildEdx("x", *record));
    EXPECT_EQ(edx[1], "0,-12.500");
    EXPECT_EQ(edx[2], "1,1.500");
    EXPECT_EQ(edx[3], "2,-0.125");
    EXPECT_EQ(edx[5], "4,0.000");
    const auto qe = CrLfLines(BuildQeDesign("x", *record));
    EXPECT_EQ(qe[24], "0.00\t-12.50");
    EXPECT_EQ(qe[26], "2.00\t-0.13");
    EXPECT_EQ(qe[27], "3.00\t-7.25");
    const auto pathPro = CrLfLines(BuildPathPro("x", *record));
    EXPECT_EQ(pathPro[15], "1\t1.50");
    EXPECT_EQ(pathPro[16], "2\t-0.13");
    const auto nokia = CrLfLines(BuildNokia("x", *record));
    EXPECT_EQ(nokia[6], "0.0 12.5");
    EXPECT_EQ(nokia[7], "1.0 1.5");
    EXPECT_EQ(nokia[8], "2.0 0.1");
    EXPECT_EQ(nokia[9], "3.0 7.3");
    EXPECT_EQ(nokia[10], "4.0 0.0");
    // Odyssey reads the stored list: its point 360 is AzimuthAt(0), point 359 AzimuthAt(1).
    const auto odyssey = CrLfLines(BuildOdyssey("x", *record));
    EXPECT_EQ(odyssey[365], "360\t12.500");
    EXPECT_EQ(odyssey[364], "359\t1.500");
    EXPECT_EQ(odyssey[363], "358\t0.125");

    // NetPlan: "%6.2f" pads to six characters and never cuts a wider value.
    const std::vector<std::string> netPlan = {"0", "-40", "-123.456", "-3.1", "-1"};
    const auto wide = MakeRecord(FullHeader(), [&](int a) {
        // The stored list entry k is AzimuthAt(360 - k).
        const int k = (360 - a) % 360;
        return k < 5 ? netPlan[static_cast<std::size_t>(k)] : std::string("-1");
    });
    EXPECT_EQ(CrLfLines(BuildNetPlan("x", *wide).horizontal)[7],
              "  0.00 -40.00 -123.46  -3.10  -1.00  -1.00  -1.00  -1.00  -1.00  -1.00");
}

TEST(PatternWriters, HeaderValueRules)
{
    const auto build = [](const std::string& key, const std::string& value,
                          std::string (*writer)(const std::string&, const TQuvFile&)) {
        auto header = FullHeader();
        header[key] = value;
        return CrLfLines(writer("x", *MakeRecord(header)));
    };
    const auto netPlanName = [](const std::string& part) {
        auto header = FullHeader();
        header["Part Number"] = part;
        return CrLfLines(BuildNetPlan("x", *MakeRecord(header)).vertical)[1];
    };
    EXPECT_EQ(netPlanName("AB-123-XYZ-45"), "Name = AB123XYZ45");
    EXPECT_EQ(netPlanName("AB-123-XYZ-456"), "Name = AB123XYZ45");
    EXPECT_EQ(netPlanName("X-1"), "Name = X1");

    EXPECT_EQ(build("Part Number", "O'K", BuildEdx)[0], "'O''K',18,2");
    EXPECT_EQ(build("Gain, dBi", "", BuildEdx)[0], "'ABC123',,2");
    EXPECT_EQ(build("Gain, dBi", "", BuildOdyssey)[3], "GAIN\t dBi");
    EXPECT_EQ(build("Gain, dBd", "n/a", BuildQeDesign)[2],
              "n/a\t## maximum antenna gain (dBd) (REQ)");

    struct Case {
        std::string key, value;
        std::size_t line; // QEDesign line from 0
        std::string expected;
    };
    const std::vector<Case> qe = {
        {"Front to Back Ratio, dB", "-28", 5, "28.00"},
        {"Return Loss, dB (VSWR)", ">14 (<1.5)", 10, "1.50:1"},
        {"Return Loss, dB (VSWR)", "17.7", 10, "17.7"},
        {"Antenna Weight, kg (lb)", "12.5", 11, ""},
        {"Flat Plate Area, sq.m (sq.ft)", "0.5 (5.4)", 12, "0.50"},
        {"Flat Plate Area, sq.m (sq.ft)", "0.35", 12, ""},
        {"Flat Plate Area, sq.m (sq.ft)", "n/a (x)", 12, "n/a "},
        {"Survival Wind Speed, km/h (mph)", "", 13, ""},
        {"Electrical Downtilt, deg", "N/A", 15, ""},
        {"Electrical Downtilt, deg", "", 15, ""},
        {"Electrical Downtilt, deg", "2", 15, "2"},
        {"Length, mm (in)", "1295 (51.0)", 18, "129.5"},
        {"Length, mm (in)", "1300 (51.2)", 18, "130"},
    };
    for (const auto& c : qe) {
        const std::string line = build(c.key, c.value, BuildQeDesign)[c.line];
        EXPECT_EQ(line.substr(0, line.find('\t')), c.expected) << c.key << "=" << c.value;
    }
    EXPECT_EQ(build("Electrical Downtilt, deg", "N/A", BuildPathPro)[3], "");
    EXPECT_EQ(build("Electrical Downtilt, deg", "", BuildPathPro).size(), 735u);
    EXPECT_EQ(build("Length, mm (in)", "1295 (51.0)", BuildPathPro)[12], "1.29"); // 1.2949999...

    struct Tilt {
        std::string type, tilt;
        bool mechanical;
    };
    const std::vector<Tilt> tilts = {
        {"Sector", "0", true},       {"Sector", "0.0", true}, {"Sector", "2", false},
        {"Sector", "N/A", false},    {"Sector", "", false},   {"OMNI", "0", false},
        {"Dual omni", "0.0", false},
    };
    for (const auto& t : tilts) {
        auto header = FullHeader();
        header["Antenna Type"] = t.type;
        header["Electrical Downtilt, deg"] = t.tilt;
        const auto record = MakeRecord(header);
        EXPECT_EQ(CrLfLines(BuildOdyssey("x", *record))[4],
                  t.mechanical ? "TILT\tMECHANICAL" : "TILT\tELECTRICAL")
            << t.type << "/" << t.tilt;
        EXPECT_EQ(CrLfLines(BuildNokia("x", *record))[3],
                  t.mechanical ? "TILT MECHANICAL" : "TILT ELECTRICAL")
            << t.type << "/" << t.tilt;
    }
}

TEST(PatternWriters, ValuesThatMustBeNumbersRaiseConversionErrors)
{
    const std::vector<std::pair<std::string, std::string>> faults = {
        {"Front to Back Ratio, dB", ""},
        {"Front to Back Ratio, dB", "high"},
        {"Length, mm (in)", "2580"},
        {"Length, mm (in)", "long (5)"},
    };
    for (const auto& [key, value] : faults) {
        auto header = FullHeader();
        header[key] = value;
        const auto record = MakeRecord(header);
        EXPECT_THROW(BuildQeDesign("x", *record), EConvertError) << key << "=" << value;
        EXPECT_THROW(BuildCdma("x", *record), EConvertError) << key << "=" << value;
        EXPECT_THROW(BuildPathPro("x", *record), EConvertError) << key << "=" << value;
        // The header of these formats converts nothing.
        EXPECT_NO_THROW(BuildNetPlan("x", *record)) << key << "=" << value;
        EXPECT_NO_THROW(BuildEdx("x", *record)) << key << "=" << value;
        EXPECT_NO_THROW(BuildOdyssey("x", *record)) << key << "=" << value;
        EXPECT_NO_THROW(BuildNokia("x", *record)) << key << "=" << value;
    }
    for (const std::string vswr : {"17.7 (<x.y)", "17.7 )1.3(", "17.7 ()", "17.7 (<)"}) {
        auto header = FullHeader();
        header["Return Loss, dB (VSWR)"] = vswr;
        EXPECT_THROW(BuildQeDesign("x", *MakeRecord(header)), EConvertError) << vswr;
    }
    // A bad level in either cut, wherever each writer reads it.
    for (int cut = 0; cut < 2; ++cut) {
        for (int angle : {0, 90, 180, 300}) {
            const auto bad = [&](int a) { return a == angle ? std::string("abc") : "-1"; };
            const auto good = [](int) { return std::string("-1"); };
            const auto record = cut == 0 ? MakeRecord(FullHeader(), bad, good)
                                         : MakeRecord(FullHeader(), good, bad);
            for (const auto& w : Writers())
                EXPECT_THROW(w.build("x", *record), EConvertError)
                    << w.name << " cut " << cut << " angle " << angle;
        }
    }
}

TEST(PatternWriters, ExportCommitsUnderTheFormatExtensionsThroughTheFormatTable)
{
    TExportRun run{ExportToday()};
    const auto record = DistinctRecord();
    for (const auto& w : Writers()) {
        TempFolder dir;
        // The table row calls this writer: the files carry its extensions and its bytes.
        std::string error;
        TryWriteExportFile(dir / "AB.5", *record, w.formatIndex, run, error);
        EXPECT_EQ(error, "") << w.name;
        EXPECT_EQ(ExportFormats()[static_cast<std::size_t>(w.formatIndex)].writer, w.exporter);
        const auto expected = w.build(dir / "AB.5", *record);
        std::vector<std::string> names;
        for (std::size_t f = 0; f < w.extensions.size(); ++f) {
            names.push_back("AB" + w.extensions[f]);
            EXPECT_EQ(ReadBytes(dir / names.back()), expected[f]) << w.name;
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(dir.Names(), names) << w.name;
    }
}

TEST(PatternWriters, AFailureLeavesNoFileAndKeepsAnOlderOne)
{
    TExportRun run{ExportToday()};
    // The bad level sits in the elevation cut, which every writer reads last: a writer that
    // wrote as it went would already have written the rest (NetPlan its whole ".h" file).
    const auto bad = MakeRecord(FullHeader(), AzimuthLevel,
                                [](int a) { return a == 200 ? std::string("x") : "-1"; });
    for (const auto& w : Writers()) {
        TempFolder fresh;
        EXPECT_THROW(w.exporter(fresh / "AB", *bad, run), EConvertError) << w.name;
        EXPECT_EQ(fresh.Names(), std::vector<std::string>{}) << w.name;

        TempFolder old;
        for (const auto& ext : w.extensions)
            WriteBytes(old / ("AB" + ext), "older " + ext);
        EXPECT_THROW(w.exporter(old / "AB", *bad, run), EConvertError) << w.name;
        for (const auto& ext : w.extensions)
            EXPECT_EQ(ReadBytes(old / ("AB" + ext)), "older " + ext) << w.name;
        EXPECT_EQ(old.Names().size(), w.extensions.size()) << w.name;
    }
}

TEST(PatternWriters, NetPlanWritesBothFilesOrNeither)
{
    TExportRun run{ExportToday()};
    const auto record = DistinctRecord();
    TempFolder dir;
    // A folder where the ".v" file should go cannot be replaced: no new ".h" may appear.
    fs::create_directory(dir / "AB.v");
    EXPECT_THROW(ExportNetPlan(dir / "AB", *record, run), EQuvError);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"AB.v"});

    // An older pair is replaced as a pair.
    fs::remove(dir / "AB.v");
    WriteBytes(dir / "AB.h", "old h");
    WriteBytes(dir / "AB.v", "old v");
    ExportNetPlan(dir / "AB", *record, run);
    const auto files = BuildNetPlan(dir / "AB", *record);
    EXPECT_EQ(ReadBytes(dir / "AB.h"), files.horizontal);
    EXPECT_EQ(ReadBytes(dir / "AB.v"), files.vertical);
}

} // namespace
} // namespace quv
