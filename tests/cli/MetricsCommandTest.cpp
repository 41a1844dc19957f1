// quvtool metrics and check --strict: the bundled catalogue measured against what its generator
// intended (the datasheet values it wrote and the tilt it measured at), and a crafted file whose
// datasheet contradicts its cut, through the real executable.
#include "MetricsCommand.h"

#include "catalogue/NumberText.h"
#include "catalogue/PatternMetrics.h"
#include "catalogue/QuvLib.h"
#include "support/RunCommand.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

using namespace quv;
namespace fs = std::filesystem;

namespace {

using ToolRun = quv::test::TCommandRun;

ToolRun Tool(const std::string& args)
{
    return quv::test::RunShell(std::string(QUV_TOOL_PATH) + " " + args + " 2>/dev/null");
}

std::vector<std::string> Cells(const std::string& line)
{
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (;;) {
        const auto tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return cells;
        start = tab + 1;
    }
}

// The generator states the beamwidths it fitted the cuts to; for a variable tilt it names the
// tilt it measured at in the extended description.
TEST(MetricsCommand, BundledCatalogueAgreesWithTheGeneratorsIntendedValues)
{
    TCatalogue catalogue;
    catalogue.LoadFolder(QUV_SAMPLE_CATALOGUE);
    ASSERT_GE(catalogue.Catalogue.Count(), 80);
    const std::regex measuredTilt("([0-9]+) deg electrical downtilt");
    int tiltsChecked = 0;
    for (const auto& item : catalogue.Catalogue) {
        const TQuvFile& record = *item.object;
        SCOPED_TRACE(record.FileName);
        const TRecordMetrics m = MeasureRecord(record);
        ASSERT_TRUE(m.azimuth && m.elevation);
        if (!IsOmni(record.AntennaType)) {
            ASSERT_TRUE(m.azimuth->beamwidth3dB);
            EXPECT_NEAR(*m.azimuth->beamwidth3dB, StrToFloat(record.AzimuthBeamwidth), 1.0);
            EXPECT_NEAR(*m.azimuth->peakDirection, 0, 1.0);
            EXPECT_NEAR(*m.azimuth->frontToBack, record.FrontToBackValue(),
                        record.FrontToBackRatio[0] == '>' ? 4.5 : 0.5);
        } else {
            EXPECT_FALSE(m.azimuth->beamwidth3dB);
            EXPECT_LT(*m.azimuth->ripple, 1.05);
        }
        ASSERT_TRUE(m.elevation->beamwidth3dB);
        EXPECT_NEAR(*m.elevation->beamwidth3dB, StrToFloat(record.ElevationBeamwidth), 1.0);
        std::smatch match;
        double intended = 0;
        if (TryStrToFloat(record.ElectricalDowntilt, intended) ||
            (std::regex_search(record.ExtendedPatternDescription, match, measuredTilt) &&
             TryStrToFloat(match[1].str(), intended))) {
            EXPECT_NEAR(*m.elevation->tilt, intended, 1.0);
            ++tiltsChecked;
        }
    }
    EXPECT_GE(tiltsChecked, 75);
}

TEST(MetricsCommand, PrintsAHeaderAndOneRowPerMatch)
{
    const ToolRun all = Tool("metrics --catalogue " QUV_SAMPLE_CATALOGUE);
    ASSERT_EQ(all.code, 0);
    const auto lines = quv::test::SplitLines(all.out);
    ASSERT_EQ(lines.size(), 81u);
    const auto header = Cells(lines[0]);
    ASSERT_EQ(header.size(), 15u);
    EXPECT_EQ(header[0], "Part Number");
    for (const auto& line : lines)
        EXPECT_EQ(Cells(line).size(), header.size()) << line;

    const ToolRun one = Tool("metrics --catalogue " QUV_SAMPLE_CATALOGUE " --part TP0833-17");
    ASSERT_EQ(one.code, 0);
    const auto rows = quv::test::SplitLines(one.out);
    ASSERT_EQ(rows.size(), 2u);
    const auto cells = Cells(rows[1]);
    EXPECT_EQ(cells[0], "TP0833-17");
    EXPECT_EQ(cells[1], "0.0");
    EXPECT_NEAR(StrToFloat(cells[2]), 33, 1.0); // measured beside the datasheet's "33"
    EXPECT_EQ(cells[3], "33");
    EXPECT_EQ(cells[6], ">30");

    // An omni antenna: no peak, beamwidth or front-to-back cells, a ripple below 1 dB.
    const auto omni =
        Cells(quv::test::SplitLines(
                  Tool("metrics --catalogue " QUV_SAMPLE_CATALOGUE " --part TO06-3").out)
                  .at(1));
    EXPECT_EQ(omni[1] + omni[2] + omni[3] + omni[4] + omni[5] + omni[6] + omni[7], "");
    EXPECT_LT(StrToFloat(omni[8]), 1.0);

    EXPECT_EQ(Tool("metrics --catalogue " QUV_SAMPLE_CATALOGUE " --bogus").code, 2);
    EXPECT_EQ(Tool("metrics --catalogue /nonexistent/quv").code, 1);
}

class StrictCheck : public ::testing::Test {
protected:
    // Copies a bundled file, replacing one text of it.
    void Copy(const std::string& name, const std::string& from, const std::string& to)
    {
        std::ifstream in(std::string(QUV_SAMPLE_CATALOGUE) + "/" + name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        std::string bytes = text.str();
        if (!from.empty()) {
            const auto at = bytes.find(from);
            ASSERT_NE(at, std::string::npos) << from;
            bytes.replace(at, from.size(), to);
        }
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    quv::test::TScratchDir scratch_{"quv_strict_"};
    fs::path dir_ = scratch_.Path();
};

TEST_F(StrictCheck, FlagsADatasheetBeamwidthOf90ForA65DegreeBeam)
{
    Copy("TP0865-14.quv", "Azimuth Beamwidth, deg=65", "Azimuth Beamwidth, deg=90");
    Copy("TP0833-17.quv", "", "");
    const ToolRun plain = Tool("check --catalogue " + dir_.string());
    EXPECT_EQ(plain.code, 0);
    EXPECT_EQ(plain.out, "2 loaded, 0 failed\n");

    const ToolRun strict = Tool("check --strict --catalogue " + dir_.string());
    EXPECT_EQ(strict.code, 1);
    const auto lines = quv::test::SplitLines(strict.out);
    ASSERT_EQ(lines.size(), 2u) << strict.out;
    EXPECT_TRUE(lines[0].starts_with("TP0865-14.quv: Azimuth Beamwidth, deg 90 differs from the "
                                     "measured 6"))
        << lines[0];
    EXPECT_EQ(lines[1], "2 loaded, 0 failed, 1 suspicious");
}

TEST_F(StrictCheck, PassesTheBundledCatalogueAndFlagsDifferingPlusMinus180Lines)
{
    EXPECT_EQ(Tool("check --strict --catalogue " QUV_SAMPLE_CATALOGUE).code, 0);
    // The file's -180 azimuth line is its first points line.
    Copy("TP0833-17.quv", "[POINTS]\r\n-180=-31.00", "[POINTS]\r\n-180=-20.00");
    const ToolRun run = Tool("check --strict --catalogue " + dir_.string());
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find("TP0833-17.quv: azimuth lines -180 and 180 differ (-20.00 and -31.00)"),
              std::string::npos)
        << run.out;
}

} // namespace
