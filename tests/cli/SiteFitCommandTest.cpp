// quvtool sitefit on the sample catalogue and on a small catalogue built in code: the table and
// the CSV agree and keep coverage first, the slope and the site move the choice as planners
// expect, antennas that cannot be ranked come last with the reason, and bad input writes nothing.
#include "SiteFitCommand.h"
#include "catalogue/NumberText.h"

#include "support/CommandFixture.h"
#include "support/RunCommand.h"
#include "support/TestAntennas.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace quv;
using namespace quvtest;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Fields(const std::string& line, char sep)
{
    std::vector<std::string> items;
    std::stringstream s(line);
    for (std::string item; std::getline(s, item, sep);)
        items.push_back(item);
    if (!line.empty() && line.back() == sep)
        items.emplace_back();
    return items;
}

std::vector<std::string> CsvLines(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

struct SiteFitCommandTest : test::TCommandFixture {
    SiteFitCommandTest() : TCommandFixture("quv_sitefit_") {}
    int Run(std::vector<std::string> args, std::string& out, std::string& err,
            const std::string& catalogue = QUV_SAMPLE_CATALOGUE)
    {
        args.insert(args.begin(), {"--catalogue", catalogue});
        return Capture(SiteFitCommand, args, out, err);
    }
    // The table's rows as words: rank, part number, then the figures.
    std::vector<std::vector<std::string>> Rows(const std::string& out)
    {
        std::vector<std::vector<std::string>> rows;
        for (const std::string& line : test::SplitLines(out)) {
            std::stringstream words(line);
            std::vector<std::string> row;
            for (std::string w; words >> w;)
                row.push_back(w);
            if (!row.empty() && IsNumber(row[0]))
                rows.push_back(row);
        }
        return rows;
    }
};

} // namespace

TEST_F(SiteFitCommandTest, TableAndCsvRankTheSampleCatalogueCoverageFirst)
{
    const fs::path csv = dir / "site.csv";
    std::string out, err;
    ASSERT_EQ(
        Run({"--height", "30", "--radius", "1000", "--top", "5", "--csv", csv.string()}, out, err),
        0)
        << err;
    EXPECT_EQ(err, "");
    const auto rows = Rows(out);
    ASSERT_EQ(rows.size(), 5u);
    const auto lines = CsvLines(csv);
    catalogue.LoadFolder(QUV_SAMPLE_CATALOGUE);
    ASSERT_EQ(lines.size(), 1u + static_cast<std::size_t>(catalogue.Catalogue.Count()));
    EXPECT_EQ(lines[0], "rank,part number,data file,cell level dB,margin dB,meets margin,"
                        "mechanical tilt deg,electrical tilt deg,total tilt deg,spill level dB,"
                        "gain dBi,note");
    bool meeting = true;
    double previous = 1e9;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto f = Fields(lines[i], ',');
        ASSERT_EQ(f.size(), 12u) << lines[i];
        EXPECT_EQ(f[0], std::to_string(i));
        const double cell = StrToFloat(f[3]), margin = StrToFloat(f[4]);
        const double mechanical = StrToFloat(f[6]), electrical = StrToFloat(f[7]);
        EXPECT_NEAR(StrToFloat(f[8]), mechanical + electrical, 0.051);
        EXPECT_NEAR(StrToFloat(f[9]), cell - margin, 0.011);
        EXPECT_GE(mechanical, 0.0);
        EXPECT_LE(mechanical, 10.0);
        // Every antenna that keeps 6 dB comes before any that does not; among them, by level.
        EXPECT_EQ(f[5] == "yes", margin >= 6.0 - 0.005) << lines[i];
        if (f[5] == "yes") {
            ASSERT_TRUE(meeting) << lines[i];
            EXPECT_LE(cell, previous + 1e-9);
            previous = cell;
        }
        meeting = f[5] == "yes";
        if (i <= rows.size()) {
            EXPECT_EQ(rows[i - 1][0], f[0]);
            EXPECT_EQ(rows[i - 1][1], f[1]);
            EXPECT_EQ(rows[i - 1][4], f[5]);
        }
    }

    // A band keeps only the antennas whose band covers it.
    ASSERT_EQ(
        Run({"--height", "30", "--radius", "1000", "--band", "1850", "1990", "--csv", csv.string()},
            out, err),
        0)
        << err;
    const auto banded = CsvLines(csv);
    ASSERT_GT(banded.size(), 1u);
    ASSERT_LT(banded.size(), lines.size());
    for (std::size_t i = 1; i < banded.size(); ++i) {
        const std::string file = Fields(banded[i], ',')[2];
        const TQuvFile* r = nullptr;
        for (const auto& item : catalogue.Catalogue)
            if (fs::path(item.object->FileName).filename() == file)
                r = item.object;
        ASSERT_NE(r, nullptr) << file;
        EXPECT_LE(StrToFloat(r->BeginFrequency), 1850.0);
        EXPECT_GE(StrToFloat(r->EndFrequency), 1990.0);
    }
}

TEST_F(SiteFitCommandTest, TownSitesTiltMoreThanRuralOnesAndTheSlopeMovesTheFigures)
{
    // Tab-free table: the first row's words are rank, part, cell, margin, meets, mechanical,
    // electrical, total, spill, gain.
    const auto first = [&](std::vector<std::string> args) {
        std::string out, err;
        EXPECT_EQ(Run(args, out, err), 0) << err;
        const auto rows = Rows(out);
        EXPECT_FALSE(rows.empty());
        return rows.empty() ? std::vector<std::string>(10, "0") : rows.front();
    };
    const auto urban = first({"--height", "25", "--radius", "400", "--slope", "35"});
    const auto rural = first({"--height", "40", "--radius", "5000", "--slope", "35"});
    EXPECT_EQ(urban[4], "yes");
    EXPECT_EQ(rural[4], "yes");
    EXPECT_GT(StrToFloat(urban[7]), StrToFloat(rural[7]))
        << "urban " << urban[1] << " " << urban[7] << ", rural " << rural[1] << " " << rural[7];

    const auto free = first({"--height", "30", "--radius", "1000"});
    const auto town = first({"--height", "30", "--radius", "1000", "--slope", "35"});
    // 15 dB more per decade from a 1 km slant range on: some 45 dB lower at the cell's rim,
    // and a wider margin, since the level falls faster from the rim to the area beyond.
    EXPECT_LT(StrToFloat(town[2]), StrToFloat(free[2]) - 30);
    EXPECT_GT(StrToFloat(town[3]), StrToFloat(free[3]));
}

TEST_F(SiteFitCommandTest, AntennasThatCannotBeRankedComeLastWithTheReason)
{
    const fs::path folder = dir / "QUV";
    const auto beam = [](double, double e) {
        return std::max(-12.0 * std::pow((e + 2) / 3, 2), -30.0);
    };
    const std::string points = PointsSection(CutsFromTruth(beam));
    std::string broken = points;
    broken.replace(broken.find("=", broken.find("\r\n-90=")), 1, "=abc");
    Write("QUV/A.quv", "[HEADER]\r\nPart Number=GOOD\r\nGain, dBi=15\r\n" + points);
    Write("QUV/B.quv", "[HEADER]\r\nPart Number=GAINLESS\r\n" + points);
    Write("QUV/C.quv", "[HEADER]\r\nPart Number=BROKEN\r\nGain, dBd=13\r\n" + broken);
    const fs::path csv = dir / "out.csv";
    std::string out, err;
    ASSERT_EQ(Run({"--height", "30", "--radius", "1000", "--csv", csv.string()}, out, err,
                  folder.string()),
              0)
        << err;
    const auto lines = test::SplitLines(out);
    ASSERT_EQ(lines.size(), 5u) << out;
    EXPECT_EQ(Rows(out).size(), 1u);
    EXPECT_EQ(lines[2], "not ranked:");
    EXPECT_EQ(lines[3], "  BROKEN (C.quv): the azimuth level 'abc0.00' is not a number");
    EXPECT_EQ(lines[4], "  GAINLESS (B.quv): no gain stated (neither dBi nor dBd is a number)");
    const auto rows = CsvLines(csv);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].substr(0, 9), "1,GOOD,A.");
    EXPECT_EQ(rows[2], ",BROKEN,C.quv,,,,,,,,,the azimuth level 'abc0.00' is not a number");
    EXPECT_EQ(rows[3].substr(0, 24), ",GAINLESS,B.quv,,,,,,,,,");

    // A folder without data files is an error, not an empty ranking.
    fs::create_directories(dir / "empty");
    EXPECT_EQ(Run({"--height", "30", "--radius", "1000"}, out, err, (dir / "empty").string()), 1);
    EXPECT_NE(err.find("no data file"), std::string::npos);
}

TEST_F(SiteFitCommandTest, BadInputIsRefusedWithOneLineAndNothingIsWritten)
{
    const fs::path csv = dir / "kept.csv";
    Write("kept.csv", "older");
    const struct {
        std::vector<std::string> args;
        std::string line;
    } cases[] = {
        {{"--radius", "1000"}, "--height is required"},
        {{"--height", "30"}, "--radius is required"},
        {{"--height", "0", "--radius", "1000"}, "the height must be a number of metres above zero"},
        {{"--height", "30", "--radius", "-1"}, "the radius must be a number of metres above zero"},
        {{"--height", "30", "--radius", "1e3x"}, "--radius: '1e3x' is not a number"},
        {{"--height", "30", "--radius", "1000", "--sector", "0"},
         "the sector must be a number of degrees from 1 to 360"},
        {{"--height", "30", "--radius", "1000", "--sector", "400"},
         "the sector must be a number of degrees from 1 to 360"},
        {{"--height", "30", "--radius", "1000", "--tilt-range", "8", "2"},
         "the tilt range is reversed: its minimum is above its maximum"},
        {{"--height", "30", "--radius", "1000", "--slope", "0"},
         "the slope must be a number of dB per decade above zero"},
        {{"--height", "30", "--radius", "1000", "--slope", "-20"},
         "the slope must be a number of dB per decade above zero"},
        {{"--height", "30", "--radius", "1000", "--min-margin", "-3"},
         "the minimum margin must be a number of dB, zero or more"},
        {{"--height", "30", "--radius", "1000", "--band", "2000", "1800"},
         "--band must be BEGIN END in MHz, BEGIN above zero and not above END"},
        {{"--height", "30", "--radius", "1000", "--top", "0"},
         "--top must be a whole number from 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--csv", csv.string()});
        std::string out, err;
        EXPECT_EQ(Run(args, out, err), 2);
        EXPECT_EQ(out, "");
        EXPECT_EQ(test::SplitLines(err).front(), "quvtool sitefit: " + c.line);
        std::ifstream in(csv, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "older");
    }
}
