// quvtool print and quvtool summary, in-process, on the bundled sample catalogue. The printed PDF
// is read back with poppler's pdftotext and pdfinfo (installed by the set-up script).
#include "PrintCommand.h"
#include "catalogue/QuvLib.h"
#include "printing/PrintJob.h"
#include "support/RunCommand.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

using namespace quv;
namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

std::string Capture(const std::string& command)
{
    return quv::test::RunShell(command).out;
}

bool HavePoppler()
{
    return std::system(
               "command -v pdftotext >/dev/null 2>&1 && command -v pdfinfo >/dev/null 2>&1") == 0;
}

// Page texts of a PDF (pdftotext ends each page with a form feed).
std::vector<std::string> PageTexts(const fs::path& pdf)
{
    const std::string text = Capture("pdftotext -enc UTF-8 '" + pdf.string() + "' -");
    std::vector<std::string> pages;
    std::size_t start = 0, end;
    while ((end = text.find('\f', start)) != std::string::npos) {
        pages.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pages;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

struct ToolTest : ::testing::Test {
    quv::test::TScratchDir scratch{"quv_print_"};
    fs::path dir = scratch.Path();
    int Run(int (*command)(const std::vector<std::string>&), std::vector<std::string> args,
            std::string* errors = nullptr)
    {
        args.insert(args.begin(), {"--catalogue", QUV_SAMPLE_CATALOGUE});
        ::testing::internal::CaptureStderr();
        const int status = command(args);
        const std::string err = ::testing::internal::GetCapturedStderr();
        if (errors)
            *errors = err;
        return status;
    }
};

} // namespace

TEST_F(ToolTest, PrintsSheetsAndPatternPagesOfOmniAndSectorAntennas)
{
    const fs::path pdf = dir / "sheets.pdf";
    ASSERT_EQ(Run(PrintCommand, {"--part", "TO06-3", "--part", "TD0765-14", "--pdf", pdf.string()}),
              0);
    const std::string bytes = ReadFile(pdf);
    ASSERT_EQ(bytes.substr(0, 5), "%PDF-");
    if (!HavePoppler())
        GTEST_SKIP() << "pdftotext/pdfinfo missing: run scripts/install-deps.sh";

    const std::string info = Capture("pdfinfo '" + pdf.string() + "'");
    EXPECT_TRUE(Contains(info, "Pages:           4")) << info;
    EXPECT_TRUE(Contains(info, "612 x 792 pts (letter)")) << info;

    const auto pages = PageTexts(pdf);
    ASSERT_EQ(pages.size(), 4u);
    for (const auto& page : pages) {
        EXPECT_TRUE(Contains(page, "Base Station Antennas")) << page;
        EXPECT_TRUE(Contains(page, "ANTENNA MODEL:"));
        EXPECT_TRUE(Contains(page, "Customer Support Center:"));
        EXPECT_TRUE(Contains(page, "This Specification Sheet is for reference only"));
    }
    // Omni sheet, its pattern page, then the sector antenna's two pages.
    EXPECT_TRUE(Contains(pages[0], "TO06-3"));
    EXPECT_TRUE(Contains(pages[0], "Antenna Dimensions - L x Dia., mm (in)"));
    // The record's radome material, not a fixed text.
    EXPECT_TRUE(Contains(pages[0], "Radome Material"));
    EXPECT_TRUE(Contains(pages[0], "Fiberglass"));
    EXPECT_FALSE(Contains(pages[0], "UV Protected Fiberglass"));
    EXPECT_FALSE(Contains(pages[0], "Azimuth Beamwidth"));
    EXPECT_FALSE(Contains(pages[1], "Electrical Specifications"));
    EXPECT_TRUE(Contains(pages[1], "TO06-3"));
    EXPECT_TRUE(Contains(pages[2], "TD0765-14"));
    EXPECT_TRUE(Contains(pages[2], "Port to Port Isolation, dB"));
    EXPECT_TRUE(Contains(pages[2], "Mounting Hardware Specifications"));
    EXPECT_FALSE(Contains(pages[3], "Mounting Hardware Specifications"));

    ASSERT_EQ(
        Run(PrintCommand, {"--part", "TD0765-14", "--job", "patterns", "--pdf", pdf.string()}), 0);
    EXPECT_TRUE(Contains(Capture("pdfinfo '" + pdf.string() + "'"), "Pages:           1"));
}

TEST_F(ToolTest, WholeSampleCataloguePrintsWithNothingCutShort)
{
    std::vector<std::string> args;
    for (const auto& entry : fs::directory_iterator(QUV_SAMPLE_CATALOGUE)) {
        std::ifstream in(entry.path(), std::ios::binary);
        for (std::string line; std::getline(in, line);)
            if (line.rfind("Part Number=", 0) == 0) {
                args.insert(args.end(), {"--part", line.substr(12, line.find('\r') - 12)});
                break;
            }
    }
    const fs::path pdf = dir / "all.pdf";
    args.insert(args.end(), {"--job", "specs", "--pdf", pdf.string()});
    ASSERT_EQ(Run(PrintCommand, args), 0);
    if (!HavePoppler())
        GTEST_SKIP() << "pdftotext missing: run scripts/install-deps.sh";
    std::string text = Capture("pdftotext -enc UTF-8 '" + pdf.string() + "' -");
    EXPECT_FALSE(Contains(text, "\xE2\x80\xA6")); // no ellipsis anywhere
    std::replace(text.begin(), text.end(), '\n', ' ');
    // Every mount description printed to its last words.
    std::size_t ends = 0;
    for (std::size_t at = text.find("OD pipe"); at != std::string::npos;
         at = text.find("OD pipe", at + 1))
        ++ends;
    EXPECT_EQ(ends, args.size() / 2 - 2);

    // Every data file's datasheet keeps to one sheet.
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(QUV_SAMPLE_CATALOGUE))
        files.insert(files.end(), {"--file", entry.path().filename().string()});
    files.insert(files.end(), {"--job", "specs", "--pdf", pdf.string()});
    ASSERT_EQ(Run(PrintCommand, files), 0);
    EXPECT_TRUE(Contains(Capture("pdfinfo '" + pdf.string() + "'"),
                         "Pages:           " + std::to_string(files.size() / 2 - 2)));
}

TEST_F(ToolTest, SpacePageTakesTheFootprintOptions)
{
    const fs::path pdf = dir / "space.pdf";
    ASSERT_EQ(Run(PrintCommand, {"--part", "TD0765-14", "--job", "space", "--method", "summing",
                                 "--height", "45", "--mechanical-tilt", "4", "--radius", "5000",
                                 "--slope", "35", "--pdf", pdf.string()}),
              0);
    if (!HavePoppler())
        GTEST_SKIP() << "pdftotext missing: run scripts/install-deps.sh";
    const auto pages = PageTexts(pdf);
    ASSERT_EQ(pages.size(), 1u);
    for (const char* text : {"3D PATTERN AND GROUND FOOTPRINT",
                             "Frequency:", "Electrical Tilt:", "Height 45 m, mechanical tilt 4 deg",
                             "35 dB/decade", "Map, radius 5000 m", "3D pattern (summing)"})
        EXPECT_TRUE(Contains(pages[0], text)) << text;

    const std::vector<std::vector<std::string>> refused{
        {"--method", "guess"},       {"--height", "0"},  {"--height", "x"},
        {"--mechanical-tilt", "91"}, {"--radius", "-5"}, {"--slope", "101"}};
    for (auto args : refused) {
        args.insert(args.end(), {"--part", "TD0765-14", "--job", "space", "--pdf",
                                 (dir / "refused.pdf").string()});
        EXPECT_EQ(Run(PrintCommand, args), 2) << args[0] << " " << args[1];
    }
    EXPECT_FALSE(fs::exists(dir / "refused.pdf"));
}

TEST_F(ToolTest, PrintFailuresNameThePartAndKeepTheOldFile)
{
    const fs::path pdf = dir / "keep.pdf";
    std::ofstream(pdf, std::ios::binary) << "old";
    std::string errors;
    EXPECT_EQ(
        Run(PrintCommand, {"--part", "TO06-3", "--part", "NOSUCH", "--pdf", pdf.string()}, &errors),
        1);
    EXPECT_TRUE(Contains(errors, "NOSUCH")) << errors;
    EXPECT_EQ(ReadFile(pdf), "old");

    const std::vector<std::vector<std::string>> bad{
        {"--pdf", pdf.string()},
        {"--part", "TO06-3"},
        {"--part", "TO06-3", "--job", "all", "--pdf", pdf.string()},
        {"--part", "TO06-3", "--pdf"},
        {"--part", "TO06-3", "--pdf", pdf.string(), "--extra", "x"},
    };
    for (const auto& args : bad)
        EXPECT_EQ(Run(PrintCommand, args), 2) << args.back();
    EXPECT_EQ(ReadFile(pdf), "old");
    // The pages are drawn beside the target, so a temporary folder that cannot take them does
    // not matter; only the complete file replaces the old one, and no scratch file is left.
    const char* tmp = std::getenv("TMPDIR");
    const std::string saved = tmp ? tmp : "";
    ::setenv("TMPDIR", (dir / "no-such-folder").c_str(), 1);
    EXPECT_EQ(Run(PrintCommand, {"--part", "TO06-3", "--pdf", pdf.string()}), 0);
    tmp ? ::setenv("TMPDIR", saved.c_str(), 1) : ::unsetenv("TMPDIR");
    const std::string printed = ReadFile(pdf);
    EXPECT_TRUE(IsCompletePdf(printed));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    // What a full disk leaves: a file cut short, or with its cross reference table missing.
    EXPECT_FALSE(IsCompletePdf(printed.substr(0, printed.size() / 2)));
    std::string noTable = printed;
    noTable.replace(noTable.rfind("xref\n"), 4, "xxxx");
    EXPECT_FALSE(IsCompletePdf(noTable));
}

TEST_F(ToolTest, DatedPrintsAreTheSameBytesRunAfterRun)
{
    // Each run is its own process: the font order of the PDF follows a seed taken once a run.
    // The leak checker's tracer is left out of these child processes: it cannot stop the world
    // in every environment (a chroot), and the print path's leaks are checked in-process.
    const auto print = [&](const std::string& name) {
        const fs::path pdf = dir / name;
        const auto run = quv::test::RunShell(
            std::string("ASAN_OPTIONS=detect_leaks=0 '") + QUV_TOOL_PATH + "' print --catalogue '" +
            QUV_SAMPLE_CATALOGUE + "' --part TD0765-14 --part TO06-3 --date 2026-01-02 --pdf '" +
            pdf.string() + "'");
        EXPECT_EQ(run.code, 0) << run.err;
        return ReadFile(pdf);
    };
    const std::string first = print("first.pdf");
    const std::string second = print("second.pdf");
    EXPECT_TRUE(IsCompletePdf(first));
    EXPECT_TRUE(Contains(first, "/CreationDate (D:20260102000000Z)"));
    EXPECT_TRUE(first == second) << "the two prints differ";

    const fs::path pdf = dir / "refused.pdf";
    for (const char* day : {"2026-02-30", "2026-1-2", "tomorrow", ""})
        EXPECT_EQ(Run(PrintCommand, {"--part", "TO06-3", "--date", day, "--pdf", pdf.string()}), 2)
            << day;
    EXPECT_FALSE(fs::exists(pdf));

    // The stamp replaces the writer's date in place, so the cross reference stays valid.
    const std::string stamp = "D:20260102000000Z";
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"<< /CreationDate (D:20991231235959Z) >>", "<< /CreationDate (" + stamp + ") >>", true},
        {"<< /Producer (Qt) >>", "<< /Producer (Qt) >>", false},
        {"<< /CreationDate (D:2099123123595Z) >>", "<< /CreationDate (D:2099123123595Z) >>", false},
    };
    for (const auto& [pdfText, expected, stamped] : cases) {
        std::string bytes = pdfText;
        EXPECT_EQ(SetPdfCreationDate(bytes, stamp), stamped) << pdfText;
        EXPECT_EQ(bytes, expected);
    }
    std::string bytes = std::get<0>(cases[0]);
    EXPECT_FALSE(SetPdfCreationDate(bytes, "D:2026-01-02"));
    EXPECT_EQ(bytes, std::get<0>(cases[0]));
}

TEST_F(ToolTest, SummaryWritesEitherLayout)
{
    const fs::path quv = dir / "quv.dat";
    const fs::path antenna = dir / "antenna.dat";
    ASSERT_EQ(Run(SummaryCommand, {"--layout", "quv", "--out", quv.string()}), 0);
    ASSERT_EQ(Run(SummaryCommand, {"--layout", "antenna", "--out", antenna.string()}), 0);
    const int records = static_cast<int>(
        std::distance(fs::directory_iterator(QUV_SAMPLE_CATALOGUE), fs::directory_iterator{}));
    const std::string q = ReadFile(quv);
    const std::string a = ReadFile(antenna);
    EXPECT_EQ(std::count(q.begin(), q.end(), '\n'), records + 2);
    EXPECT_EQ(std::count(q.begin(), q.end(), '\r'), records + 2);
    EXPECT_EQ(std::count(a.begin(), a.end(), '\n'), records + 1);
    EXPECT_EQ(q.substr(0, 8), "BegFreq|");
    EXPECT_EQ(a.substr(0, 26), "Beginning Frequency (MHz)|");

    std::string errors;
    EXPECT_EQ(
        Run(SummaryCommand, {"--layout", "quv", "--out", (dir / "no" / "x").string()}, &errors), 1);
    EXPECT_TRUE(Contains(errors, "Cannot create file")) << errors;
    EXPECT_EQ(Run(SummaryCommand, {"--layout", "other", "--out", quv.string()}), 2);
    EXPECT_EQ(Run(SummaryCommand, {"--layout", "quv"}), 2);
}
