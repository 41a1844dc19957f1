// Every quvtool command reads its options the same way (--help, one-line refusals, exit codes),
// and the commands that take --part can pick each record of a part number that several data
// files share. Through the real executable on the bundled sample catalogue.
#include "support/RunCommand.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

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

        // An unknown option and a missing value: one line naming the command, then the usage,
        // which is where --help's explanation of the options begins.
        for (const std::string bad : {" --bogus", " --catalogue"}) {
            const TCommandRun refused = Tool(c + bad);
            EXPECT_EQ(refused.code, 2) << c << bad;
            EXPECT_EQ(refused.out, "") << c << bad;
            EXPECT_EQ(refused.err.rfind("quvtool " + c + ": ", 0), 0u) << c << bad;
            const std::string rest = refused.err.substr(refused.err.find('\n') + 1);
            EXPECT_EQ(help.out.rfind(rest + "options:\n", 0), 0u) << c << bad;
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

TEST(ToolOptions, EveryCommandHelpExplainsEachOptionOfItsUsageAndGivesAWorkingExample)
{
    if (!std::filesystem::exists(QUV_TOOL_PATH))
        GTEST_SKIP() << "quvtool is not built";
    // Each command, and one option whose explanation must state its default or unit.
    const std::vector<std::array<std::string, 3>> commands = {
        {"check", "--json", "one JSON object per file"},
        {"import", "--replace", "kept by default"},
        {"convert", "--date", "(default today)"},
        {"synth", "--seed", "(default 1)"},
        {"list", "--catalogue", "(default: QUV beside quvtool"},
        {"show", "--file", "data file"},
        {"metrics", "--gain", "G2 dBd"},
        {"plot", "--size", "pixels, 16 to 10000 (default 400)"},
        {"pattern3d", "--view", "(default 60,20)"},
        {"footprint", "--height", "in m, above zero (default 30)"},
        {"xref", "--top", "(default: every candidate)"},
        {"sitefit", "--tilt-range", "(default 0 10)"},
        {"export", "--date", "(default today)"},
        {"print", "--radius", "with --job space:"},
        {"summary", "--layout", "36-column"},
    };
    for (const auto& [c, option, says] : commands) {
        SCOPED_TRACE(c);
        const TCommandRun help = Tool(c + " --help");
        EXPECT_EQ(help.code, 0);
        EXPECT_EQ(help.err, "");
        const std::size_t options = help.out.find("\noptions:\n");
        ASSERT_NE(options, std::string::npos) << help.out;
        const std::string usage = help.out.substr(0, options);

        // Each option's explanation: its line and the indented lines that continue it.
        std::map<std::string, std::string> explained;
        std::string last, example;
        std::istringstream lines(help.out.substr(options + 10));
        for (std::string line; std::getline(lines, line);) {
            EXPECT_LE(line.size(), 79u) << line;
            if (line.rfind("example: ", 0) == 0) {
                example = line;
                continue;
            }
            if (line.rfind("  --", 0) == 0)
                last = line.substr(2, line.find(' ', 2) - 2);
            explained[last] += std::regex_replace(line, std::regex(" +"), " ");
        }
        const std::regex name("--[a-z][a-z-]*[a-z]");
        for (auto it = std::sregex_iterator(usage.begin(), usage.end(), name);
             it != std::sregex_iterator(); ++it)
            EXPECT_TRUE(explained.count(it->str())) << it->str() << " is not explained";
        EXPECT_NE(explained[option].find(says), std::string::npos) << explained[option];

        // The example is a line of this command, on parts the sample catalogue holds.
        EXPECT_EQ(example.rfind("example: quvtool " + c + " ", 0), 0u) << example;
        std::istringstream words(example);
        std::vector<std::string> w{std::istream_iterator<std::string>(words), {}};
        for (std::size_t i = 3; i < w.size(); ++i) {
            if (w[i - 1] == "--part" || (c == "show" && i == 3)) {
                EXPECT_EQ(Tool("show --part " + w[i] + kCatalogue).code, 0) << w[i];
            }
        }
    }
}

TEST(ToolOptions, StrayWordsAreRefusedAndRepeatedOptionsTakeTheLastValue)
{
    if (!std::filesystem::exists(QUV_TOOL_PATH))
        GTEST_SKIP() << "quvtool is not built";
    const quv::test::TScratchDir scratch("quv_options_");
    const std::string dir = scratch.Str() + "/";
    // synth reads no catalogue.
    const auto Run = [](const std::string& args) {
        return Tool(args.rfind("synth ", 0) == 0 ? args : args + kCatalogue);
    };

    // A word no option takes is refused before anything is written; a pair takes two words.
    const std::vector<std::array<std::string, 3>> stray = {
        {"plot --part TD1965-17 B --cut azimuth --out " + dir + "p.png", "B", "p.png"},
        {"footprint --part TD0765-14 --csv " + dir + "f.csv extra", "extra", "f.csv"},
        {"sitefit --height 30 --radius 1000 --tilt-range 0 5 7 --csv " + dir + "s.csv", "7",
         "s.csv"},
        {"summary --layout quv extra --out " + dir + "quv.dat", "extra", "quv.dat"},
        {"synth --count 2 --out " + dir + "synth more", "more", "synth"},
        {"list --part TD1965-17 TD1865-17", "TD1865-17", "none"},
    };
    for (const auto& [args, word, target] : stray) {
        const TCommandRun run = Run(args);
        EXPECT_EQ(run.code, 2) << args;
        EXPECT_EQ(run.out, "") << args;
        EXPECT_EQ(FirstLine(run.err),
                  "quvtool " + args.substr(0, args.find(' ')) + ": unexpected argument: " + word);
        EXPECT_FALSE(std::filesystem::exists(dir + target)) << args;
    }
    // Two different filters are not one repeated: refused, naming both.
    EXPECT_EQ(FirstLine(Run("list --match TD0 --category 3").err),
              "quvtool list: one filter at a time: --match and --category");

    // Given twice, an option means its last value: the output is that of the last value alone
    // and not that of the first.
    const std::vector<std::array<std::string, 3>> repeated = {
        {"footprint --part TD0765-14 --height 10 --height 60",
         "footprint --part TD0765-14 --height 60", "footprint --part TD0765-14 --height 10"},
        {"sitefit --radius 1000 --top 3 --height 10 --height 60",
         "sitefit --radius 1000 --top 3 --height 60", "sitefit --radius 1000 --top 3 --height 10"},
        {"sitefit --height 30 --radius 1000 --top 3 --tilt-range 0 10 --tilt-range 2 4",
         "sitefit --height 30 --radius 1000 --top 3 --tilt-range 2 4",
         "sitefit --height 30 --radius 1000 --top 3 --tilt-range 0 10"},
        {"list --match TD0 --match TO1", "list --match TO1", "list --match TD0"},
        {"list --multi --pol Vertical --freq 806 960 --pol Dual",
         "list --multi --freq 806 960 --pol Dual", "list --multi --freq 806 960 --pol Vertical"},
        {"show --file TD2165-18.quv --file TD2165-18_2.quv", "show --file TD2165-18_2.quv",
         "show --file TD2165-18.quv"},
    };
    const auto Output = [&Run](const std::string& args) {
        const TCommandRun r = Run(args);
        return std::to_string(r.code) + "\n" + r.out + r.err;
    };
    for (const auto& [twice, last, first] : repeated) {
        const std::string output = Output(twice);
        EXPECT_EQ(output, Output(last)) << twice;
        EXPECT_NE(output, Output(first)) << twice;
    }

    // A repeated output names the file written: only the last one is.
    for (const auto& [args, written, notWritten] : std::vector<std::array<std::string, 3>>{
             {"plot --part TD1965-17 --cut azimuth --out " + dir + "a.png --out " + dir + "b.png",
              "b.png", "a.png"},
             {"summary --layout quv --out " + dir + "a.dat --out " + dir + "b.dat", "b.dat",
              "a.dat"},
             {"synth --count 2 --out " + dir + "first --out " + dir + "second", "second",
              "first"}}) {
        EXPECT_EQ(Run(args).code, 0) << args;
        EXPECT_TRUE(std::filesystem::exists(dir + written)) << args;
        EXPECT_FALSE(std::filesystem::exists(dir + notWritten)) << args;
    }
}
