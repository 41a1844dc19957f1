// quvtool export: the export of all matches from the command line, on a small catalogue written
// into a temporary folder.
#include "ExportCommand.h"

#include "catalogue/QuvLib.h"
#include "support/ExportFixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace quv {
namespace {

namespace fs = std::filesystem;

class ExportCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "quvexportcli-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        cat_ = root_ + "/QUV";
        out_ = root_ + "/out";
        fs::create_directories(cat_);
        fs::create_directories(out_);
        auto header = test::BaseHeader();
        Write("a.quv", header);
        header["Part Number"] = "XYZ9";
        header["Pattern File Name"] = "Q1";
        header["Measured Frequency"] = "900";
        Write("b.quv", header);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    void Write(const std::string& name, const std::map<std::string, std::string>& header)
    {
        std::ofstream(cat_ + "/" + name, std::ios::binary) << test::QuvText(header);
    }
    int Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--catalogue", cat_});
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int status = ExportCommand(args);
        stdout_ = testing::internal::GetCapturedStdout();
        stderr_ = testing::internal::GetCapturedStderr();
        return status;
    }
    std::vector<std::string> OutNames() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(out_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string root_, cat_, out_, stdout_, stderr_;
};

TEST_F(ExportCommandTest, ExportsEveryAntennaByFormatNameOrIndex)
{
    EXPECT_EQ(Run({"--format", "TIA/eia", "--out", out_}), 0);
    EXPECT_EQ(OutNames(), (std::vector<std::string>{"ABC123_P45.dap", "XYZ9_Q1.dap"}));
    EXPECT_EQ(stdout_, "Antenna files were exported successfully to directory \"" + out_ + "\".\n");
    EXPECT_EQ(stderr_, "");

    EXPECT_EQ(Run({"--format", "16", "--out", out_ + "/"}), 0);
    EXPECT_TRUE(fs::exists(out_ + "/XYZ9_Q1.dat"));

    // A filter narrows the matches exactly as quvtool list does.
    fs::remove_all(out_);
    fs::create_directories(out_);
    EXPECT_EQ(Run({"--format", "planet", "--out", out_, "--match", "xyz"}), 0);
    EXPECT_EQ(OutNames(), std::vector<std::string>{"XYZ9_Q1.pln"});
}

TEST_F(ExportCommandTest, FailuresPrintTheErrorLogAndExitOne)
{
    auto header = test::BaseHeader();
    header["Part Number"] = "BAD";
    header["Gain, dBi"] = "";
    Write("c.quv", header);
    EXPECT_EQ(Run({"--format", "nsma", "--out", out_}), 1);
    EXPECT_EQ(stdout_, "");
    EXPECT_EQ(stderr_,
              "Error 1\nAn error occured while attempting to save \"BAD\" to \"" + out_ +
                  "/BAD_P45.dap\".\rWith message, \"'' is not a valid floating point value\".\n"
                  "\nExport to NSMA\n2 out of 3 files were successfully exported\n");
    EXPECT_EQ(OutNames(), (std::vector<std::string>{"ABC123_P45.dap", "XYZ9_Q1.dap"}));

    // Every row of the format list writes its files: the two good antennas in each of the 18
    // (the broken one fails only the formats that read its empty value).
    for (int format = 0; format < 18; ++format) {
        fs::remove_all(out_);
        fs::create_directories(out_);
        Run({"--format", std::to_string(format), "--out", out_});
        EXPECT_EQ(stderr_.find("ABC123"), std::string::npos) << format << ": " << stderr_;
        EXPECT_EQ(stderr_.find("XYZ9"), std::string::npos) << format << ": " << stderr_;
        std::size_t good = 0;
        for (const std::string& name : OutNames())
            good += name.starts_with("ABC123_P45.") || name.starts_with("XYZ9_Q1.");
        EXPECT_EQ(good, format == 5 || format == 8 ? 4u : 2u) << format; // NetPlan, CellCAD: pairs
    }
}

TEST_F(ExportCommandTest, RefusesBadArguments)
{
    EXPECT_EQ(Run({"--out", out_}), 2);
    EXPECT_EQ(Run({"--format", "18", "--out", out_}), 2);
    EXPECT_EQ(Run({"--format", "gif", "--out", out_}), 2);
    EXPECT_EQ(Run({"--format", "planet"}), 2);
    EXPECT_EQ(Run({"--format", "planet", "--out", root_ + "/missing"}), 2);
    EXPECT_EQ(Run({"--format", "planet", "--out", out_, "--nonsense"}), 2);
    EXPECT_TRUE(OutNames().empty());
    EXPECT_FALSE(fs::exists(root_ + "/missing"));

    // A catalogue folder that is not there is an error, not a successful export of nothing.
    fs::rename(cat_, root_ + "/moved");
    EXPECT_EQ(Run({"--format", "planet", "--out", out_}), 2);
    EXPECT_EQ(stdout_, "");
    EXPECT_NE(stderr_.find("the catalogue folder " + cat_ + " does not exist"), std::string::npos);
}

TEST_F(ExportCommandTest, DateOptionFixesTheDayOfDatedFiles)
{
    const auto read = [&](const std::string& name) {
        std::ifstream in(out_ + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(Run({"--format", "wizard", "--date", "2031-11-05", "--out", out_}), 0);
    const std::string first = read("ABC123_P45.apf");
    EXPECT_TRUE(first.starts_with("A|TECC|NONTECC|1.00|2031-11-05|APF|1.00|Tavrin|\r\n"));
    EXPECT_EQ(Run({"--format", "1", "--out", out_, "--date", "2031-11-05"}), 0);
    EXPECT_EQ(read("ABC123_P45.apf"), first);
    EXPECT_EQ(Run({"--format", "cellcad", "--date", "2031-11-05", "--out", out_}), 0);
    EXPECT_TRUE(read("XYZ9_Q1.ver").starts_with("LCC\r\n11-05-2031\r\n"));

    fs::remove_all(out_);
    fs::create_directories(out_);
    for (const std::string bad : {"2031-02-29", "05.11.2031", "tomorrow"}) {
        EXPECT_EQ(Run({"--format", "wizard", "--date", bad, "--out", out_}), 2) << bad;
        EXPECT_NE(stderr_.find("--date needs a calendar day as YYYY-MM-DD: " + bad),
                  std::string::npos);
    }
    EXPECT_EQ(Run({"--format", "wizard", "--out", out_, "--date"}), 2);
    EXPECT_TRUE(OutNames().empty());
}

TEST_F(ExportCommandTest, AFilterThatMatchesNothingIsNotASuccess)
{
    for (const std::vector<std::string>& filter :
         {std::vector<std::string>{"--match", "nothing-like-it"},
          {"--part", "abc123"},
          {"--category", "1"}}) {
        SCOPED_TRACE(filter[0]);
        std::vector<std::string> args{"--format", "planet", "--out", out_};
        args.insert(args.end(), filter.begin(), filter.end());
        EXPECT_EQ(Run(args), 1);
        EXPECT_EQ(stdout_, "");
        EXPECT_EQ(stderr_, "No antenna matched; nothing was exported to " + out_ + "\n");
        EXPECT_TRUE(OutNames().empty());
    }
}

TEST_F(ExportCommandTest, TheToolDispatchesTheCommand)
{
    const std::string command = std::string(QUV_TOOL_PATH) + " export --catalogue " + cat_ +
                                " --format 0 --out " + out_ + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(OutNames(), (std::vector<std::string>{"ABC123_P45.pln", "XYZ9_Q1.pln"}));
}

} // namespace
} // namespace quv
