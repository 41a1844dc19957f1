// Every quvtool command reads its options the same way (--help, one-line refusals, exit codes),
// and the commands that take --part can pick each record of a part number that several data
// files share. Through the real executable on the bundled sample catalogue.
#include "support/RunCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace {

using quv::test::RunShell;
using quv::test::TCommandRun;

const std::string kCatalogue = std::string(" --catalogue ") + QUV_SAMPLE_CATALOGUE;

TCommandRun Tool(const std::string& args)
{
    return RunShell(std::string(QUV_TOOL_PATH) + " " + args);
}

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

} // namespace

TEST(ToolOptions, EveryCommandExplainsItselfAndRefusesBadUsageInOneLine)
{
    if (!std::filesystem::exists(QUV_TOOL_PATH))
        GTEST_SKIP() << "quvtool is not built";
    const char* commands[] = {"check", "synth", "list", "show",    "metrics",
                              "plot",  "print", "xref", "summary", "export"};
    for (const std::string c : commands) {
        const TCommandRun help = Tool(c + " --help");
        EXPECT_EQ(help.code, 0) << c;
        EXPECT_EQ(help.out.rfind("usage: quvtool " + c, 0), 0u) << c << ": " << help.out;
        EXPECT_EQ(help.err, "") << c;

        // An unknown option and a missing value: one line naming the command, then the usage.
        for (const std::string bad : {" --bogus", " --catalogue"}) {
            const TCommandRun refused = Tool(c + bad);
            EXPECT_EQ(refused.code, 2) << c << bad;
            EXPECT_EQ(refused.out, "") << c << bad;
            EXPECT_EQ(refused.err.rfind("quvtool " + c + ": ", 0), 0u) << c << bad;
            const std::string rest = refused.err.substr(refused.err.find('\n') + 1);
            EXPECT_EQ(rest, help.out) << c << bad;
        }
    }
    // A refusal's own message ends its line before the usage; a pair needs both its words.
    EXPECT_EQ(FirstLine(Tool("export --format tia_eia --out /tmp" + kCatalogue).err),
              "quvtool export: unknown format: tia_eia");
    EXPECT_EQ(FirstLine(Tool("list" + kCatalogue + " --range 824.00").err),
              "quvtool list: --range needs 2 values");
}

TEST(ToolOptions, SharedPartNumbersArePickedByFileOrListText)
{
    if (!std::filesystem::exists(QUV_TOOL_PATH))
        GTEST_SKIP() << "quvtool is not built";
    const TCommandRun list = Tool("list --part TP-PCS-XAZ17" + kCatalogue);
    std::set<std::string> grids;
    std::size_t start = 0;
    for (std::size_t end; (end = list.out.find('\n', start)) != std::string::npos;
         start = end + 1) {
        const std::string item = list.out.substr(start, end - start);
        // The list's text picks that one record, in the list filter and in show alike.
        EXPECT_EQ(Tool("list --part '" + item + "'" + kCatalogue).out, "TP-PCS-XAZ17\n") << item;
        const TCommandRun show = Tool("show '" + item + "'" + kCatalogue);
        EXPECT_EQ(show.err, "") << item;
        grids.insert(show.out);
    }
    EXPECT_EQ(grids.size(), 3u);

    // Each data file picks its own record, and the plain part number the first, with a note.
    std::set<std::string> byFile;
    for (const char* file : {"TP-PCS-XAZ17.quv", "TP-PCS-XAZ17_2.quv", "TP-PCS-XAZ17_3.quv"}) {
        const TCommandRun show = Tool(std::string("show --file ") + file + kCatalogue);
        EXPECT_EQ(show.code, 0) << file;
        byFile.insert(show.out);
    }
    EXPECT_EQ(byFile, grids);
    const TCommandRun plain = Tool("show TP-PCS-XAZ17" + kCatalogue);
    EXPECT_EQ(plain.code, 0);
    EXPECT_EQ(plain.out, Tool("show --file TP-PCS-XAZ17_2.quv" + kCatalogue).out);
    for (const char* named : {"TP-PCS-XAZ17.quv", "TP-PCS-XAZ17_3.quv", "--file"})
        EXPECT_NE(plain.err.find(named), std::string::npos) << plain.err;
    EXPECT_EQ(Tool("show --file NOSUCH.quv" + kCatalogue).code, 1);
}
