// quvtool list and show: the shared filter-argument parser in process, and the commands' exit
// codes and output bytes through the real executable.
#include "ListCommand.h"

#include "catalogue/QuvLib.h"
#include "support/RunCommand.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace quv;

namespace {

const std::string kFolder = QUV_TEST_DATA "/window/QUV";

using ToolRun = quv::test::TCommandRun;

ToolRun Tool(const std::string& args)
{
    return quv::test::RunShell(std::string(QUV_TOOL_PATH) + " " + args);
}

class ListShowTest : public ::testing::Test {
protected:
    void SetUp() override { catalogue.LoadFolder(kFolder); }

    std::vector<std::string> Matches() const
    {
        std::vector<std::string> texts;
        for (const auto& item : catalogue.MatchList)
            texts.push_back(item.object->PartNumber);
        return texts;
    }

    TCatalogue catalogue;
};

} // namespace

TEST_F(ListShowTest, FilterArgumentsApplyOrExplainTheProblem)
{
    std::string error;
    EXPECT_EQ(ApplyFilterArgs(catalogue, {"--category", "19"}, error), 0);
    EXPECT_EQ(catalogue.MatchList.Count(), 2);
    EXPECT_EQ(ApplyFilterArgs(catalogue, {"--part", "TP1990-17"}, error), 0);
    EXPECT_EQ(catalogue.MatchList.Count(), 2);
    EXPECT_EQ(ApplyFilterArgs(catalogue, {"--part", "tp1990-17"}, error), 0);
    EXPECT_EQ(catalogue.MatchList.Count(), 0) << "the part number is compared exactly";
    EXPECT_EQ(ApplyFilterArgs(catalogue, {"--match", "tp1990"}, error), 0);
    EXPECT_EQ(catalogue.MatchList.Count(), 2);

    EXPECT_EQ(ApplyFilterArgs(catalogue, {"--range", "894.00", "824.00"}, error), 1);
    EXPECT_EQ(error, "\"Beginning Frequency\" cannot be greater than \"Ending Frequency\"");
    EXPECT_TRUE(catalogue.MatchList.Empty());
    EXPECT_EQ(ApplyFilterArgs(catalogue, {"--range", "824.00", "894.00"}, error), 0);
    EXPECT_EQ(catalogue.MatchList.Count(), 3);

    EXPECT_EQ(ApplyFilterArgs(catalogue, {"--multi"}, error), 0);
    EXPECT_EQ(catalogue.MatchList.Count(), 11);
    EXPECT_EQ(
        ApplyFilterArgs(catalogue, {"--multi", "--gain", "14.00", "15.00", "--pol", "Dual"}, error),
        0);
    EXPECT_EQ(Matches(), std::vector<std::string>{"td1865-16xd"});
    EXPECT_EQ(ApplyFilterArgs(catalogue, {"--multi", "--tilt", "Variable", "--freq", "806", "960"},
                              error),
              0);
    EXPECT_EQ(Matches(), std::vector<std::string>{"TD0865-14XD"});

    for (const std::vector<std::string>& bad : {std::vector<std::string>{},
                                                {"--category"},
                                                {"--category", "20"},
                                                {"--category", "x"},
                                                {"--range", "806"},
                                                {"--range", "a", "b"},
                                                {"--part", "A", "B"},
                                                {"--multi", "--gain", "1"},
                                                {"--multi", "--pol"},
                                                {"--multi", "--colour", "red"},
                                                {"--sideways"}}) {
        error.clear();
        EXPECT_EQ(ApplyFilterArgs(catalogue, bad, error), 2) << (bad.empty() ? "" : bad.front());
        EXPECT_FALSE(error.empty());
    }
}

TEST_F(ListShowTest, CommandsPrintListsAndGridsWithTheirExitCodes)
{
    if (!std::filesystem::exists(QUV_TOOL_PATH))
        GTEST_SKIP() << "quvtool is not built";
    ToolRun list = Tool("list --catalogue " + kFolder + " --match tpc");
    EXPECT_EQ(list.code, 0);
    EXPECT_EQ(list.out, "TPCS-XAZ-18, 1850-1990 MHz, 33 Deg. AZ BW\n"
                        "TPCS-XAZ-18, 1850-1990 MHz, 90 Deg. AZ BW\n");
    EXPECT_NE(list.err.find("short.quv"), std::string::npos) << "load failures go to stderr";

    ToolRun refused = Tool("list --catalogue " + kFolder + " --range 894.00 894.00");
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("\"Beginning Frequency\" cannot be equal to \"Ending Frequency\""),
              std::string::npos);

    EXPECT_EQ(Tool("list --catalogue " + kFolder).code, 2);
    EXPECT_EQ(Tool("list --catalogue").code, 2);

    ToolRun show = Tool("show --catalogue " + kFolder + " ts0865-13");
    EXPECT_EQ(show.code, 0);
    EXPECT_EQ(show.out.rfind("Antenna Model\tTS0865-13\r\nDescription\tVertical panel antenna, "
                             "806-960 MHz\r\nElectrical Specifications\t\r\n"
                             "Frequency Band, MHz:\t806-960\r\nGain, dBd (dBi)\t13.0 (15.1)\r\n",
                             0),
              0u);
    EXPECT_NE(show.out.find("\r\nMounting Bracket Part Number\tTMK-1\r\n"), std::string::npos);
    EXPECT_EQ(Tool("show --catalogue " + kFolder + " NOPE").code, 1);
    EXPECT_EQ(Tool("show --catalogue " + kFolder).code, 2);
}
