// The export engine without widgets: dispatch through the format table, target names, failure
// texts, the export-all log and summary, all-or-nothing writes, and the settings file.
#include "export/ExportLib.h"

#include "catalogue/Errors.h"
#include "catalogue/NumberText.h"
#include "catalogue/TextFile.h"
#include "support/ExportFixture.h"
#include "support/FileFlags.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <linux/fs.h>
#include <random>
#include <sstream>
#include <sys/ioctl.h>
#include <unistd.h>

namespace quv {
namespace {

namespace fs = std::filesystem;
using test::BaseHeader;
using test::MakeRecord;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

TEST(ExportFormatTable, HoldsTheEighteenFormatsInListOrder)
{
    const auto& formats = ExportFormats();
    ASSERT_EQ(formats.size(), 18u);
    const std::vector<std::string> logNames = {
        "Planet",  "Wizard",  "Granet",  "CE4",     "PDF",      "NetPlan",
        "CelPlan", "Tornado", "CellCad", "EDX",     "QEDesign", "CDMA",
        "NSMA",    "TIA/EIA", "PathPro", "Odyssey", "Siemens",  "Nokia"};
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(FormatLogName(i), logNames[static_cast<std::size_t>(i)]);
    EXPECT_EQ(FormatLogName(-1), "");
    EXPECT_EQ(FormatLogName(18), "");
    EXPECT_EQ(formats[0].caption, "<b>Planet</b> format - Mobile Systems International");
    EXPECT_EQ(formats[5].caption, "<b>NetPlan</b> format - Motorola ");
    EXPECT_EQ(formats[13].caption, "<b>TIA/EIA</b> format");

    EXPECT_EQ(FindExportFormat("planet"), 0);
    EXPECT_EQ(FindExportFormat("tia/eia"), 13);
    EXPECT_EQ(FindExportFormat("cellcad"), 8);
    EXPECT_EQ(FindExportFormat("17"), 17);
    EXPECT_EQ(FindExportFormat("0"), 0);
    EXPECT_EQ(FindExportFormat("18"), -1);
    EXPECT_EQ(FindExportFormat("-1"), -1);
    EXPECT_EQ(FindExportFormat("Planet format"), -1);
    EXPECT_EQ(FindExportFormat(""), -1);
}

TEST(ExportFormatTable, CaptionsAreCutIntoWordsWithTheWholeTaggedWordBold)
{
    using W = std::vector<std::pair<std::string, bool>>;
    const auto words = [](std::string_view caption) {
        W out;
        for (const auto& w : SplitMarkedText(caption))
            out.emplace_back(w.text, w.bold);
        return out;
    };
    EXPECT_EQ(words("<b>CE4</b> format - Lucent RF Tools"), (W{{"CE4", true},
                                                               {"format", false},
                                                               {"-", false},
                                                               {"Lucent", false},
                                                               {"RF", false},
                                                               {"Tools", false}}));
    // The trailing blank of the NetPlan caption adds nothing after the last word.
    EXPECT_EQ(words("<b>NetPlan</b> format - Motorola "),
              (W{{"NetPlan", true}, {"format", false}, {"-", false}, {"Motorola", false}}));
    EXPECT_EQ(words("<b>TIA/EIA</b> format"), (W{{"TIA/EIA", true}, {"format", false}}));
    // Tags spanning a blank or followed by more text are drawn as they stand.
    EXPECT_EQ(words("<b>two words</b>"), (W{{"<b>two", false}, {"words</b>", false}}));
    EXPECT_EQ(words("<b>x</b>y z"), (W{{"<b>x</b>y", false}, {"z", false}}));
    EXPECT_EQ(words("a  b"), (W{{"a", false}, {"", false}, {"b", false}}));
}

TEST(ExportTargets, ExtensionAndMatchPathRules)
{
    EXPECT_EQ(ChangeFileExt("/x/AB12_P7", ".pln"), "/x/AB12_P7.pln");
    EXPECT_EQ(ChangeFileExt("/x/AB.5", ".pln"), "/x/AB.pln");
    EXPECT_EQ(ChangeFileExt("/x.d/AB", ".dat"),
              "/x.d/AB.dat"); // a dot in the folder is not an extension
    EXPECT_EQ(TargetBaseName("/out/DB844.txt"), "DB844");

    auto header = BaseHeader();
    const auto record = MakeRecord(header);
    EXPECT_EQ(MatchTargetPath("/data/export", *record), "/data/export/ABC123_P45");
    EXPECT_EQ(MatchTargetPath("/data/export/", *record), "/data/export/ABC123_P45");
}

TEST(ExportWriters, CommitUnderTheFormatExtensionAndReplaceWithoutQuestion)
{
    TExportRun run{ExportToday()};
    TempFolder dir;
    const auto record = MakeRecord();
    std::string error;
    TryWriteExportFile(dir / "AB12_P7", *record, 0, run, error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(ReadBytes(dir / "AB12_P7.pln").substr(0, 18), "FILENAME AB12_P7\r\n");

    // NSMA and TIA/EIA share ".dap": the later export replaces the earlier file.
    TryWriteExportFile(dir / "same", *record, 12, run, error);
    EXPECT_EQ(ReadBytes(dir / "same.dap").substr(0, 8), "REVNUM:,");
    TryWriteExportFile(dir / "same", *record, 13, run, error);
    EXPECT_EQ(ReadBytes(dir / "same.dap").substr(0, 7), "REVNUM,");

    TryWriteExportFile(dir / "AB.5", *record, 16, run, error);
    EXPECT_EQ(ReadBytes(dir / "AB.dat").substr(0, 9), "NAME AB\r\n");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"AB.dat", "AB12_P7.pln", "same.dap"}));
}

TEST(ExportWriters, FailuresLeaveNoPartialFileAndNoClobberedFile)
{
    TExportRun run{ExportToday()};
    TempFolder dir;
    const std::string older = "older file\r\n";
    auto header = BaseHeader();
    header["Gain, dBi"] = ""; // NSMA needs it as a number halfway through the header
    const auto bad = MakeRecord(header);
    const auto good = MakeRecord();

    for (int format : {0, 12, 13, 16}) {
        WriteBytes(dir / "keep.pln", older);
        WriteBytes(dir / "keep.dap", older);
        WriteBytes(dir / "keep.dat", older);
        auto levels =
            MakeRecord(BaseHeader(), [](int a) { return a == 359 ? std::string("x") : "0"; });
        std::string error;
        TryWriteExportFile(dir / "keep", *levels, format, run, error);
        EXPECT_NE(error.find("'x' is not a valid floating point value"), std::string::npos)
            << format;
        if (format == 12 || format == 13) {
            TryWriteExportFile(dir / "keep", *bad, format, run, error);
            EXPECT_NE(error, "");
        }
        for (const char* name : {"keep.pln", "keep.dap", "keep.dat"})
            EXPECT_EQ(ReadBytes(dir / name), older) << format << " " << name;
        EXPECT_EQ(dir.Names().size(), 3u) << "no temporary file left behind";
    }

    // A folder that vanished before writing, and a "folder" that is a regular file.
    std::string error;
    const std::string gone = dir / "gone";
    fs::create_directory(gone);
    fs::remove(gone);
    TryWriteExportFile(gone + "/AB", *good, 0, run, error);
    EXPECT_NE(error, "");
    EXPECT_FALSE(fs::exists(gone));
    WriteBytes(dir / "plainfile", "x");
    TryWriteExportFile(dir / "plainfile/AB", *good, 0, run, error);
    EXPECT_NE(error, "");
    EXPECT_EQ(ReadBytes(dir / "plainfile"), "x");

    // A read-only folder. Root writes past permission bits, so there the folder is made
    // immutable instead, where the file system allows it.
    const std::string ro = dir / "ro";
    fs::create_directory(ro);
    WriteBytes(ro + "/AB.pln", older);
    const bool asRoot = ::geteuid() == 0;
    if (!asRoot)
        fs::permissions(ro, fs::perms::owner_read | fs::perms::owner_exec);
    if (!asRoot || test::SetImmutable(ro, true)) {
        TryWriteExportFile(ro + "/AB", *good, 0, run, error);
        EXPECT_NE(error, "");
        std::string message;
        EXPECT_FALSE(WriteExportFile(ro + "/AB", *good, 12, ExportToday(), message));
        EXPECT_EQ(message,
                  "Unable to save \"" + ro + "/AB\".\r\rDrive may not be ready or is read-only.");
        if (asRoot)
            test::SetImmutable(ro, false);
        else
            fs::permissions(ro, fs::perms::owner_all);
        EXPECT_EQ(ReadBytes(ro + "/AB.pln"), older);
        EXPECT_EQ(std::distance(fs::directory_iterator(ro), fs::directory_iterator()), 1);
    }
}

TEST(ExportMessages, ChosenAntennaFailuresAreToldApartByType)
{
    TExportRun run{ExportToday()};
    TempFolder dir;
    const auto good = MakeRecord();
    std::string message;
    const std::string missing = dir / "missing/ABC";
    EXPECT_FALSE(WriteExportFile(missing, *good, 0, ExportToday(), message));
    EXPECT_EQ(message,
              "Unable to save \"" + missing + "\".\r\rDrive may not be ready or is read-only.");

    auto header = BaseHeader();
    header["Front to Back Ratio, dB"] = "N/A";
    const std::string target = dir / "ABC.txt";
    EXPECT_FALSE(WriteExportFile(target, *MakeRecord(header), 0, ExportToday(), message));
    EXPECT_EQ(message, "An error occured while trying to save \"" + target +
                           "\".\r\rWith message, \"'N/A' is not a valid floating point value\".");
    EXPECT_FALSE(fs::exists(dir / "ABC.pln"));

    EXPECT_TRUE(WriteExportFile(target, *good, 0, ExportToday(), message));
    EXPECT_EQ(message, "");
    EXPECT_TRUE(fs::exists(dir / "ABC.pln"));

    // An index outside the format list fails clearly instead of reporting success.
    std::string error;
    TryWriteExportFile(dir / "W", *good, 18, run, error);
    EXPECT_NE(error, "");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"ABC.pln"});
}

TEST(ExportAllMatches, LogsEachFailureAndEndsWithTheSummary)
{
    TempFolder dir;
    auto good1 = MakeRecord();
    auto header = BaseHeader();
    header["Part Number"] = "BAD1";
    header["Front to Back Ratio, dB"] = "";
    auto bad1 = MakeRecord(header);
    header["Part Number"] = "BAD2";
    auto bad2 = MakeRecord(header);
    header = BaseHeader();
    header["Part Number"] = "DEF";
    auto good2 = MakeRecord(header);

    TQuvFileList list;
    list.Add("ABC123", good1.get());
    list.Add("BAD1", bad1.get());
    list.Add("DEF", good2.get());
    list.Add("BAD2", bad2.get());
    std::vector<int> steps;
    const std::string folder = dir.Path();
    const auto report =
        ExportAllMatches(list, folder, 0, ExportToday(), [&](int done) { steps.push_back(done); });
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(report.matches, 4);
    EXPECT_EQ(report.failures, 2);
    const std::string with = "\".\rWith message, \"'' is not a valid floating point value\".";
    const std::vector<std::string> log = {
        "Error 1",
        "An error occured while attempting to save \"BAD1\" to \"" + folder + "/BAD1_P45.pln" +
            with,
        "",
        "Error 2",
        "An error occured while attempting to save \"BAD2\" to \"" + folder + "/BAD2_P45.pln" +
            with,
        "",
        "Export to Planet",
        "2 out of 4 files were successfully exported"};
    EXPECT_EQ(report.log, log);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"ABC123_P45.pln", "DEF_P45.pln"}));

    // Every antenna failing, a folder typed with a trailing "/", duplicates overwritten.
    TQuvFileList bad;
    bad.Add("BAD1", bad1.get());
    bad.Add("BAD2", bad2.get());
    const auto allBad = ExportAllMatches(bad, folder + "/", 13, ExportToday());
    EXPECT_EQ(allBad.log.back(), "0 out of 2 files were successfully exported");
    EXPECT_EQ(allBad.log[allBad.log.size() - 2], "Export to TIA/EIA");
    EXPECT_NE(allBad.log[1].find("\"" + folder + "/BAD1_P45.dap\""), std::string::npos);

    TQuvFileList twice;
    twice.Add("ABC123", good1.get());
    twice.Add("ABC123", good1.get());
    const auto ok = ExportAllMatches(twice, folder, 16, ExportToday());
    EXPECT_EQ(ok.failures, 0);
    EXPECT_TRUE(ok.log.empty());
    EXPECT_EQ(ExportSuccessMessage(folder + "/"),
              "Antenna files were exported successfully to directory \"" + folder + "/\".");
}

TEST(ExportAllMatches, RefusesATargetNameThatWouldLeaveTheFolder)
{
    TempFolder dir;
    fs::create_directory(dir / "out");
    auto header = BaseHeader();
    header["Part Number"] = "../ESC";
    auto escaping = MakeRecord(header);
    header["Part Number"] = "AB";
    header["Pattern File Name"] = "sub/P1";
    auto nested = MakeRecord(header);
    TQuvFileList list;
    list.Add("../ESC", escaping.get());
    list.Add("AB", nested.get());
    const auto report = ExportAllMatches(list, dir / "out", 0, ExportToday());
    EXPECT_EQ(report.failures, 2);
    EXPECT_NE(report.log[1].find("would leave the destination folder"), std::string::npos);
    EXPECT_EQ(report.log[1].rfind("An error occured while attempting to save \"../ESC\" to ", 0),
              0u);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"out"});
    EXPECT_TRUE(fs::is_empty(dir / "out"));
}

TEST(LevelText, CopiedDigitsAgreeWithTheNumberRuleAndUnusualTextsStillConvert)
{
    // The copy of plain decimal texts must give what the number rule gives for every shape,
    // including the ones that have to be rounded or converted instead.
    std::vector<std::string> texts = {
        "0",         "-0",         "-0.00",       "7",           "-7.25",
        "12.3456",   "-12.34",     "1.5",         "-3.25",       "-3.125",
        "2.675",     "0.05",       "-0.005",      "100",         "-999.99",
        "1234.5",    "-1234.567",  "007.5",       " -3.2",       "-3.2 ",
        "+4.5",      "1e2",        "-22.00",      "5.",          "-3.250",
        " -3.25",    "+3.25",      "1e-1",        "3.",          ".5",
        "-.5",       "-0.001",     "999999.9995", "-999999.999", "1000000",
        "0.0049999", "-0.0050001", "99.995",      "-999.995",    "",
        " ",         "-",          "1.2.3",       "--1"};
    texts.push_back(std::string(40, '9') + ".5");
    texts.push_back("-0." + std::string(40, '0') + "5");
    texts.push_back("1" + std::string(30, '0'));
    // Every sign, integer and fraction shape around the copy's limits, and random plain texts.
    const std::vector<std::string> signs = {"", "-", "+"};
    const std::vector<std::string> ints = {"0",      "00",      "5",   "9",    "10",
                                           "99",     "100",     "999", "1000", "99999",
                                           "999999", "1000000", "012", "-",    ""};
    const std::vector<std::string> fracs = {"",      ".",     ".0",    ".5",    ".05", ".25",
                                            ".125",  ".005",  ".995",  ".9995", ".00", ".000",
                                            ".0000", ".4999", ".9999", ".0001", "e0",  "E-2"};
    for (const auto& sign : signs)
        for (const auto& i : ints)
            for (const auto& f : fracs)
                texts.push_back(sign + i + f);
    std::mt19937 random(12345);
    for (int k = 0; k < 20000; ++k) {
        std::string t = random() % 2 ? "-" : "";
        const int intDigits = 1 + static_cast<int>(random() % 7);
        const int fracDigits = static_cast<int>(random() % 5);
        for (int d = 0; d < intDigits; ++d)
            t += static_cast<char>('0' + random() % 10);
        if (fracDigits > 0)
            t += '.';
        for (int d = 0; d < fracDigits; ++d)
            t += static_cast<char>('0' + random() % 10);
        texts.push_back(t);
    }
    int compared = 0;
    for (const auto& t : texts) {
        double v = 0;
        if (!TryStrToFloat(t, v)) {
            std::string out;
            EXPECT_THROW(AppendAbsLevel(out, t, 3), EConvertError) << t;
            EXPECT_THROW(AppendSignedLevel52(out, t), EConvertError) << t;
            continue;
        }
        ++compared;
        for (const char* pattern : {"%.0f", "%.1f", "%.2f", "%.3f"}) {
            std::string fast;
            AppendAbsLevel(fast, t, pattern[2] - '0');
            ASSERT_EQ(fast, Format(pattern, {std::fabs(v)})) << t << " " << pattern;
        }
        std::string signedText;
        AppendSignedLevel52(signedText, t);
        ASSERT_EQ(signedText, FormatFixed(v, 5, 2)) << t;
        for (const char* pattern : {"%.0f", "%.1f", "%.2f", "%.3f"}) {
            std::string signedFixed;
            AppendSignedLevel(signedFixed, t, pattern[2] - '0');
            ASSERT_EQ(signedFixed, Format(pattern, {v})) << t << " " << pattern;
        }
    }
    EXPECT_GT(compared, 20000);
    // Hand-checked spot values of the rules themselves.
    std::string s;
    AppendAbsLevel(s, "-12.3456", 3);
    s += '|';
    AppendAbsLevel(s, "-3.25", 1);
    s += '|';
    AppendSignedLevel52(s, "-3.125");
    s += '|';
    AppendSignedLevel52(s, "-3.1");
    EXPECT_EQ(s, "12.346|3.3|-3.13|-3.10");
    s.clear();
    AppendSignedLevel(s, "-0.125", 2);
    s += '|';
    AppendSignedLevel(s, "-0", 2);
    s += '|';
    AppendSignedLevel(s, "-3.1", 3);
    s += '|';
    // Fewer decimals than the text: a carry into a new digit; a text tie that the double is under.
    AppendAbsLevel(s, "-9.96", 1);
    s += '|';
    AppendAbsLevel(s, "0.35", 1);
    s += '|';
    AppendAbsLevel(s, "-12.346", 0);
    EXPECT_EQ(s, "-0.13|0.00|-3.100|10.0|0.3|12");
    std::string bad;
    EXPECT_THROW(AppendAbsLevel(bad, "abc", 3), EConvertError);
    EXPECT_THROW(AppendSignedLevel52(bad, ""), EConvertError);
    EXPECT_THROW(AppendSignedLevel(bad, "abc", 2), EConvertError);
}

TEST(ErrorLogFile, SavedLinesEndInCrLfAndANameWithoutExtensionGetsTxt)
{
    // Each sentence of a message on a line of its own, "\r\r" an empty line between.
    EXPECT_EQ(LogBytes({"Error 1", "a\rb\r\rc", ""}), "Error 1\r\na\r\nb\r\n\r\nc\r\n\r\n");
    EXPECT_EQ(ErrorLogFileName("/x/errors"), "/x/errors.txt");
    EXPECT_EQ(ErrorLogFileName("/x/errors.log"), "/x/errors.log");
    EXPECT_EQ(ErrorLogFileName("/x.y/errors"), "/x.y/errors.txt");
}

TEST(SettingsFile, RemembersTheExportFolderAndKeepsTheRest)
{
    TempFolder dir;
    const std::string program = dir.Path() + "/";
    EXPECT_EQ(ReadExportFolder(program), "");

    WriteExportFolder(program, "/data/export/");
    EXPECT_EQ(ReadBytes(dir / "quvselect.ini"), "[EXPORTALL]\r\npath=/data/export/\r\n");
    EXPECT_EQ(ReadExportFolder(program), "/data/export/");

    WriteBytes(dir / "quvselect.ini",
               "[Other]\r\npath=no\r\n\r\n[exportall]\r\nPATH=/old\r\nx=1\r\n");
    EXPECT_EQ(ReadExportFolder(program), "/old");
    WriteExportFolder(program, "/new");
    EXPECT_EQ(ReadBytes(dir / "quvselect.ini"),
              "[Other]\r\npath=no\r\n\r\n[exportall]\r\npath=/new\r\nx=1\r\n");

    WriteBytes(dir / "quvselect.ini", "[Other]\r\na=1\r\n");
    EXPECT_EQ(ReadExportFolder(program), "");
    WriteExportFolder(program, "/z");
    EXPECT_EQ(ReadExportFolder(program), "/z");

    try {
        WriteExportFolder(dir / "nofolder", "/z");
        FAIL() << "writing into a missing folder must fail";
    } catch (const EQuvError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + dir / "nofolder/quvselect.ini");
    }
}

} // namespace
} // namespace quv
