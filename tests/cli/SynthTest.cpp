// The synthetic catalogue: deterministic bytes, complete well-formed data files, patterns that
// match their stated beamwidths and front-to-back ratio, and the coverage the bundled set needs.
#include "Synth.h"

#include "catalogue/PatternMetrics.h"
#include "catalogue/QuvFile.h"
#include "reference/PatternFile.h"
#include "support/AllFormats.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const kKeys[46] = {"Beginning Frequency, MHz",
                               "Ending Frequency, MHz",
                               "Antenna Type",
                               "Gain, dBd",
                               "Gain, dBi",
                               "Electrical Downtilt, deg",
                               "Connector Type",
                               "Polarization Type",
                               "Front to Back Ratio, dB",
                               "Measured Frequency",
                               "Description",
                               "Intermodulation, dBc",
                               "Impedance, ohms",
                               "Return Loss, dB (VSWR)",
                               "Max Input Power, watts",
                               "Lightning Protection",
                               "Length, mm (in)",
                               "Flat Plate Area, sq.m (sq.ft)",
                               "Antenna Weight, kg (lb)",
                               "Radome Material",
                               "Radome Color",
                               "Temperature Range, C",
                               "Wind Load, Frontal, N (lbf)",
                               "Wind Load, Lateral, N (lbf)",
                               "Humidity, %",
                               "Number of Connectors",
                               "Elevation Beamwidth, deg",
                               "Shipping Weight with Mount, kg (lb)",
                               "Wind Load, Rear, N (lbf)",
                               "Shipping Dimensions with Mount, L x W x D, mm (in)",
                               "Connector Position",
                               "Mount Weight, kg (lb)",
                               "Shipping Dimensions, L x W x D, mm (in)",
                               "Mount Description",
                               "Survival Wind Speed, km/h (mph)",
                               "Part Number",
                               "Azimuth Beamwidth, deg",
                               "Port to Port Isolation, dB",
                               "Pattern File Name",
                               "Part Number with Mount",
                               "Shipping Weight, kg (lb)",
                               "Mount Part Number",
                               "Antenna Dimensions, L x W x D, mm (in)",
                               "Ending Sub-Frequency, MHz",
                               "Beginning Sub-Frequency, MHz",
                               "Extended Pattern Description"};

struct Parsed {
    std::string name;
    std::map<std::string, std::string> header;
    std::vector<double> azimuth;   // angles -180..180
    std::vector<double> elevation; // angles -180..180
    std::vector<std::string> problems;
};

// A folder the synthetic catalogue is written into, unique to the run.
class TempDir {
public:
    explicit TempDir(const std::string& tag) : scratch_("quv_synth_" + tag + "_") {}
    std::string str() const { return scratch_.Str(); }
    const fs::path& path() const { return scratch_.Path(); }

private:
    quv::test::TScratchDir scratch_;
};

std::string ReadBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool ParseNumber(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

Parsed Parse(const fs::path& p)
{
    Parsed r;
    r.name = p.filename().string();
    const std::string bytes = ReadBytes(p);
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", pos);
        if (end == std::string::npos) {
            r.problems.push_back("last line does not end in CR LF");
            break;
        }
        const std::string line = bytes.substr(pos, end - pos);
        if (line.find('\n') != std::string::npos || line.find('\r') != std::string::npos)
            r.problems.push_back("bare CR or LF");
        lines.push_back(line);
        pos = end + 2;
    }
    if (lines.empty() || lines[0] != "[HEADER]") {
        r.problems.push_back("no [HEADER] first");
        return r;
    }
    std::size_t i = 1;
    for (; i < lines.size() && !lines[i].empty(); ++i) {
        const std::size_t eq = lines[i].find('=');
        if (eq == std::string::npos) {
            r.problems.push_back("header line without =");
            continue;
        }
        r.header.emplace(lines[i].substr(0, eq), lines[i].substr(eq + 1));
    }
    if (i + 1 >= lines.size() || lines[i + 1] != "[POINTS]") {
        r.problems.push_back("no blank line and [POINTS] after the header");
        return r;
    }
    const std::size_t first = i + 2;
    if (lines.size() - first != 722) {
        r.problems.push_back("points lines: " + std::to_string(lines.size() - first));
        return r;
    }
    for (std::size_t k = 0; k < 722; ++k) {
        const std::string& line = lines[first + k];
        const std::size_t eq = line.find('=');
        double angle = 0, level = 0;
        if (eq == std::string::npos || !ParseNumber(line.substr(0, eq), angle) ||
            !ParseNumber(line.substr(eq + 1), level)) {
            r.problems.push_back("bad points line " + line);
            continue;
        }
        if (angle != static_cast<double>(k % 361) - 180)
            r.problems.push_back("angle out of order: " + line);
        const std::string text = line.substr(eq + 1);
        const std::size_t dot = text.find('.');
        if (dot == std::string::npos || text.size() - dot - 1 < 1 || text.size() - dot - 1 > 2)
            r.problems.push_back("level not written with one or two decimals: " + text);
        (k < 361 ? r.azimuth : r.elevation).push_back(level);
    }
    return r;
}

std::vector<Parsed> ParseAll(const fs::path& dir)
{
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(dir))
        files.push_back(e.path());
    std::sort(files.begin(), files.end());
    std::vector<Parsed> all;
    for (const auto& f : files)
        all.push_back(Parse(f));
    return all;
}

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

double Num(const Parsed& p, const std::string& key)
{
    double v = 0;
    EXPECT_TRUE(ParseNumber(p.header.at(key), v))
        << p.name << ": " << key << "=" << p.header.at(key);
    return v;
}

bool IsOmni(const Parsed& p)
{
    return Upper(p.header.at("Antenna Type")).find("OMNI") != std::string::npos;
}

std::string PolClass(const Parsed& p)
{
    const std::string t = Upper(p.header.at("Polarization Type"));
    return t.find("DUAL") != std::string::npos || t.find("SLANT") != std::string::npos ? "DUAL"
                                                                                       : "SINGLE";
}

bool IsVariableTilt(const std::string& partNumber)
{
    return partNumber.size() >= 2 && Upper(partNumber.substr(partNumber.size() - 2)) == "XD";
}

// Half-power width of the beam around the cut's maximum, by linear interpolation between degrees.
double HalfPowerWidth(const std::vector<double>& cut, int& peakAngle)
{
    int peak = 180;
    for (int k = 1; k <= 360; ++k)
        if (cut[k] > cut[peak] || (cut[k] == cut[peak] && std::abs(k - 180) < std::abs(peak - 180)))
            peak = k;
    peakAngle = peak - 180;
    auto edge = [&](int dir) {
        int k = peak;
        while (cut[(k + dir + 361) % 361] > -3)
            k += dir;
        const double a = cut[(k + 361) % 361], b = cut[(k + dir + 361) % 361];
        return (k - 180) + dir * (a + 3) / (a - b);
    };
    return edge(1) - edge(-1);
}

struct Category {
    double low, high;
    const char* pol;
    bool omni;
};

const Category kCategories[19] = {
    {806, 960, "SINGLE", false},   {806, 869, "SINGLE", true},   {806, 869, "SINGLE", false},
    {824, 894, "SINGLE", true},    {824, 894, "SINGLE", false},  {824, 894, "DUAL", false},
    {824, 960, "SINGLE", false},   {870, 960, "SINGLE", true},   {870, 960, "SINGLE", false},
    {870, 960, "DUAL", false},     {1710, 1880, "SINGLE", true}, {1710, 1990, "SINGLE", false},
    {1710, 1880, "DUAL", false},   {1850, 1990, "SINGLE", true}, {1850, 1990, "DUAL", false},
    {1710, 1990, "SINGLE", false}, {1710, 2170, "DUAL", false},  {1710, 2170, "SINGLE", false},
    {2300, 2485, "SINGLE", true}};

} // namespace

TEST(Synth, SameSeedGivesSameBytesAndOtherSeedDiffers)
{
    TempDir a("a"), b("b"), c("c");
    quv::WriteSyntheticCatalogue(100, 42, a.str());
    quv::WriteSyntheticCatalogue(100, 42, b.str());
    quv::WriteSyntheticCatalogue(100, 43, c.str());
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(a.path()))
        names.push_back(e.path().filename().string());
    ASSERT_EQ(names.size(), 100u);
    int differing = 0;
    for (const auto& n : names) {
        ASSERT_TRUE(fs::exists(b.path() / n)) << n;
        EXPECT_EQ(ReadBytes(a.path() / n), ReadBytes(b.path() / n)) << n;
        if (!fs::exists(c.path() / n) || ReadBytes(c.path() / n) != ReadBytes(a.path() / n))
            ++differing;
    }
    EXPECT_GT(differing, 50);
}

TEST(Synth, EveryFileIsCompleteAndPatternsMatchStatedValues)
{
    TempDir dir("check");
    quv::WriteSyntheticCatalogue(300, 5, dir.str()); // curated set plus random records
    const auto all = ParseAll(dir.path());
    ASSERT_EQ(all.size(), 300u);
    std::set<std::string> patternFiles;
    for (const auto& p : all) {
        SCOPED_TRACE(p.name);
        ASSERT_TRUE(p.problems.empty()) << p.problems.front();
        for (const char* key : kKeys)
            EXPECT_TRUE(p.header.count(key)) << "missing " << key;
        ASSERT_EQ(p.header.size(), 46u);
        ASSERT_EQ(p.azimuth.size(), 361u);
        ASSERT_EQ(p.elevation.size(), 361u);
        EXPECT_EQ(p.name.find('/'), std::string::npos);
        EXPECT_TRUE(patternFiles.insert(p.header.at("Pattern File Name")).second)
            << "pattern file name reused";

        for (const char* key :
             {"Beginning Frequency, MHz", "Ending Frequency, MHz", "Gain, dBd", "Gain, dBi",
              "Measured Frequency", "Azimuth Beamwidth, deg", "Elevation Beamwidth, deg",
              "Beginning Sub-Frequency, MHz", "Ending Sub-Frequency, MHz"})
            Num(p, key);
        EXPECT_NEAR(Num(p, "Gain, dBi") - Num(p, "Gain, dBd"), 2.15, 0.051);
        EXPECT_LE(Num(p, "Beginning Frequency, MHz"), Num(p, "Beginning Sub-Frequency, MHz"));
        EXPECT_GE(Num(p, "Ending Frequency, MHz"), Num(p, "Ending Sub-Frequency, MHz"));
        const std::string& length = p.header.at("Length, mm (in)");
        double mm = 0;
        ASSERT_NE(length.find(' '), std::string::npos);
        EXPECT_TRUE(ParseNumber(length.substr(0, length.find(' ')), mm));
        EXPECT_NEAR(mm / 25.4, std::atof(length.substr(length.find('(') + 1).c_str()), 0.06);

        for (const auto* cut : {&p.azimuth, &p.elevation}) {
            EXPECT_DOUBLE_EQ(*std::max_element(cut->begin(), cut->end()), 0.0);
            EXPECT_GE(*std::min_element(cut->begin(), cut->end()), -45.0);
            EXPECT_EQ(cut->front(), cut->back()) << "-180 and +180 differ";
        }

        int peak = 0;
        const double elWidth = HalfPowerWidth(p.elevation, peak);
        EXPECT_NEAR(elWidth, Num(p, "Elevation Beamwidth, deg"), 1.0);
        double tilt = 0;
        if (ParseNumber(p.header.at("Electrical Downtilt, deg"), tilt))
            // A data file counts elevation angles up from the horizon: a downtilt peaks below.
            EXPECT_EQ(peak, -static_cast<int>(tilt)) << "elevation peak not at the stated downtilt";
        else
            EXPECT_TRUE(IsVariableTilt(p.header.at("Part Number")));

        if (IsOmni(p)) {
            const auto [lo, hi] = std::minmax_element(p.azimuth.begin(), p.azimuth.end());
            EXPECT_LE(*hi - *lo, 1.05) << "omni azimuth not within about 1 dB";
        } else {
            const double azWidth = HalfPowerWidth(p.azimuth, peak);
            EXPECT_NEAR(azWidth, Num(p, "Azimuth Beamwidth, deg"), 1.0);
            EXPECT_EQ(peak, 0);
            std::string fb = p.header.at("Front to Back Ratio, dB");
            const bool atLeast = !fb.empty() && fb[0] == '>';
            double ratio = 0;
            ASSERT_TRUE(ParseNumber(atLeast ? fb.substr(1) : fb, ratio));
            const double back = p.azimuth[0]; // angle +-180
            if (atLeast) {
                EXPECT_LE(back, -ratio);
                EXPECT_GE(back, -ratio - 6);
            } else {
                EXPECT_NEAR(back, -ratio, 0.02);
            }
            // Nothing behind the antenna is stronger than the stated ratio allows by much.
            for (int k = 0; k <= 360; ++k) {
                if (std::abs(k - 180) > 150) {
                    EXPECT_LE(p.azimuth[k], -ratio + 1.0) << "angle " << k - 180;
                }
            }
        }
    }
}

// Every antenna with a stated downtilt T points T degrees below the horizon in every path: the
// generated cut, the measured tilt, the strict check, the Planet export (strongest VERTICAL line)
// and that export read back as another maker's file.
TEST(Synth, ADowntiltedAntennaPointsBelowTheHorizonEverywhere)
{
    TempDir dir("tilt");
    quv::WriteSyntheticCatalogue(80, 1, dir.str());
    int tilted = 0;
    for (const auto& e : fs::directory_iterator(dir.path())) {
        SCOPED_TRACE(e.path().filename().string());
        quv::TQuvFile record;
        record.LoadFromFile(e.path().string());
        double tilt = 0;
        if (!ParseNumber(record.ElectricalDowntilt, tilt) || tilt == 0)
            continue;
        ++tilted;
        const quv::TRecordMetrics m = quv::MeasureRecord(record);
        ASSERT_TRUE(m.elevation && m.elevation->tilt);
        // The half-power centre, within a quarter degree of the peak the tilt was made at.
        EXPECT_NEAR(*m.elevation->tilt, tilt, 0.25);
        for (const auto& finding : quv::PatternFindings(record))
            EXPECT_EQ(finding.find("Downtilt"), std::string::npos) << finding;

        const std::string planet = quv::BuildPlanet("x.msi", record);
        const auto vertical = planet.find("VERTICAL 360");
        ASSERT_NE(vertical, std::string::npos);
        std::istringstream lines(planet.substr(vertical));
        std::string line;
        std::getline(lines, line);
        int best = -1;
        double bestLoss = 1e9;
        for (int a = 0; a < 360 && std::getline(lines, line); ++a) {
            std::istringstream words(line);
            double angle = 0, loss = 0;
            words >> angle >> loss;
            if (loss < bestLoss) {
                bestLoss = loss;
                best = static_cast<int>(angle);
            }
        }
        EXPECT_EQ(best, static_cast<int>(tilt)) << "strongest VERTICAL line";
        const auto back = quv::ReadPatternBytes(planet, "x.msi");
        EXPECT_NEAR(*quv::MeasureElevation(back.elevation).tilt, tilt, 0.25);
    }
    EXPECT_GE(tilted, 5);
}

TEST(Synth, BundledSetCoversEveryCategoryAndListCase)
{
    TempDir dir("bundle");
    quv::WriteSyntheticCatalogue(80, 1, dir.str());
    const auto all = ParseAll(dir.path());
    ASSERT_EQ(all.size(), 80u);

    for (int c = 0; c < 19; ++c) {
        const Category& cat = kCategories[c];
        int matches = 0;
        for (const auto& p : all)
            if (Num(p, "Beginning Frequency, MHz") <= cat.low &&
                Num(p, "Ending Frequency, MHz") >= cat.high && PolClass(p) == cat.pol &&
                IsOmni(p) == cat.omni)
                ++matches;
        EXPECT_GE(matches, 2) << "category " << c;
    }
    int variable = 0, omni = 0, sector = 0;
    std::set<std::string> pols, tilts;
    std::map<std::string, std::vector<const Parsed*>> byPart;
    for (const auto& p : all) {
        const std::string& pn = p.header.at("Part Number");
        variable += IsVariableTilt(pn);
        (IsOmni(p) ? omni : sector) += 1;
        const std::string pol = Upper(p.header.at("Polarization Type"));
        pols.insert(pol.find("DUAL") != std::string::npos    ? "dual"
                    : pol.find("SLANT") != std::string::npos ? "slant"
                                                             : "single");
        tilts.insert(p.header.at("Electrical Downtilt, deg"));
        byPart[pn].push_back(&p);
    }
    EXPECT_GE(variable, 2) << "category 19";
    EXPECT_GE(omni, 10);
    EXPECT_GE(sector, 10);
    EXPECT_EQ(pols, (std::set<std::string>{"single", "dual", "slant"}));
    for (const char* t : {"0", "2", "6"})
        EXPECT_TRUE(tilts.count(t)) << "downtilt " << t;
    EXPECT_TRUE(std::any_of(tilts.begin(), tilts.end(), [](const std::string& t) {
        double v;
        return !ParseNumber(t, v);
    }));

    int subBandPairs = 0;
    bool xazPair = false;
    for (const auto& [pn, records] : byPart) {
        std::set<std::string> bands;
        for (const Parsed* r : records)
            bands.insert(r->header.at("Beginning Sub-Frequency, MHz") + "-" +
                         r->header.at("Ending Sub-Frequency, MHz"));
        if (bands.size() >= 2) {
            ++subBandPairs;
            xazPair = xazPair || Upper(pn).find("PCS-XAZ") != std::string::npos;
        }
    }
    EXPECT_GE(subBandPairs, 2);
    EXPECT_TRUE(xazPair);
}

TEST(Synth, CommandReportsUsageAndFailures)
{
    EXPECT_EQ(quv::SynthCommand({}), 2);
    EXPECT_EQ(quv::SynthCommand({"--count", "x", "--out", "d"}), 2);
    EXPECT_EQ(quv::SynthCommand({"--count", "3", "--seed"}), 2);
    EXPECT_EQ(quv::SynthCommand({"--bogus", "1", "--out", "d"}), 2);

    TempDir dir("cmd");
    EXPECT_EQ(quv::SynthCommand({"--count", "3", "--seed", "9", "--out", dir.str()}), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);

    // A regular file where the folder should be: failure, and the message names the path.
    const fs::path blocker = dir.path() / "blocker";
    std::ofstream(blocker) << "x";
    EXPECT_EQ(quv::SynthCommand({"--count", "1", "--out", (blocker / "sub").string()}), 1);
    try {
        quv::WriteSyntheticCatalogue(1, 1, (blocker / "sub").string());
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find((blocker / "sub").string()), std::string::npos)
            << e.what();
    }
}
