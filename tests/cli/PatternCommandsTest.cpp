// quvtool import, convert and check --strict on pattern files, called in-process: the sample
// catalogue exported, imported and loaded again; every format converted back to its own bytes;
// files made to show each finding kind.
#include "PatternCommands.h"
#include "CheckCommand.h"
#include "CliCommon.h"
#include "catalogue/NumberText.h"
#include "catalogue/PatternMetrics.h"
#include "catalogue/QuvLib.h"
#include "catalogue/SharedLib.h"
#include "export/ExportClock.h"
#include "export/ExportLib.h"
#include "reference/PatternImport.h"
#include "support/AllFormats.h"
#include "support/CommandFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

using namespace quv;
namespace fs = std::filesystem;

namespace {

struct PatternCommandsTest : test::TCommandFixture {
    PatternCommandsTest() : TCommandFixture("quv_patterns_") {}
    std::string Read(const fs::path& path)
    {
        std::string bytes;
        ReadWholeFile(path.string(), bytes);
        return bytes;
    }
    int Run(int (*command)(const std::vector<std::string>&), const std::vector<std::string>& args,
            std::string& out, std::string& err)
    {
        return Capture(command, args, out, err);
    }
    // Every sample antenna exported in one format into a folder of its own.
    std::string ExportSamples(int format)
    {
        const std::string folder = (dir / ("fmt" + std::to_string(format))).string();
        fs::create_directories(folder);
        TExportRun run{TExportDate{2024, 3, 7, '/'}};
        for (const auto& item : catalogue.Catalogue) {
            std::string error;
            TryExportMatch(folder, *item.object, format, run, error);
            EXPECT_EQ(error, "");
        }
        return folder;
    }
};

TEST_F(PatternCommandsTest, ImportedFilesLoadAsTheAntennasTheyCameFrom)
{
    catalogue.LoadFolder(QUV_SAMPLE_CATALOGUE);
    const std::string planet = ExportSamples(0);
    Write("fmt0/broken.pln", "NAME X\r\nHORIZONTAL 2\r\n0 0\r\n1 abc\r\n");
    const std::string out = (dir / "imported").string();
    std::string stdoutText, stderrText;
    EXPECT_EQ(Run(ImportCommand, {"--out", out, planet}, stdoutText, stderrText), 1);
    const std::string count = std::to_string(catalogue.Catalogue.Count()) + " imported, 1 failed\n";
    EXPECT_TRUE(stdoutText.ends_with(count)) << stdoutText;
    EXPECT_NE(stdoutText.find("failed " + planet +
                              "/broken.pln: line 4: level 'abc' is not a "
                              "number\n"),
              std::string::npos);

    // Each original against the data file made of its Planet file.
    std::vector<std::unique_ptr<TQuvFile>> originals;
    for (const auto& item : catalogue.Catalogue)
        originals.push_back(LoadQuvFile(item.object->FileName));
    catalogue.FreeRecords();
    const TLoadReport loaded = catalogue.LoadFolder(out);
    EXPECT_TRUE(loaded.failures.empty());
    EXPECT_EQ(loaded.loaded, static_cast<int>(originals.size()));
    for (const auto& original : originals) {
        // The data file made of this pattern's Planet file, among several of one part number.
        const std::string from =
            original->PartNumber + "_" + ChangeFileExt(original->PatternFileName, ".quv");
        const TQuvFile* imported = nullptr;
        for (const auto& item : catalogue.Catalogue)
            if (item.object->PatternFileName == from)
                imported = item.object;
        ASSERT_NE(imported, nullptr) << from;
        EXPECT_EQ(imported->PartNumber, original->PartNumber);
        EXPECT_EQ(imported->GainDBd, original->GainDBd) << from;
        EXPECT_NE(imported->ExtendedPatternDescription.find("(Planet)"), std::string::npos);
        for (std::size_t j = 0; j <= 360; ++j) {
            EXPECT_NEAR(StrToFloat(imported->Azimuth[j]), StrToFloat(original->Azimuth[j]), 1e-9);
            EXPECT_NEAR(StrToFloat(imported->Elevation[j]), StrToFloat(original->Elevation[j]),
                        1e-9);
        }
    }

    // An existing file is kept unless --replace is given.
    EXPECT_EQ(Run(ImportCommand, {"--out", out, planet}, stdoutText, stderrText), 1);
    EXPECT_NE(stdoutText.find("exists; --replace overwrites it"), std::string::npos);
    EXPECT_TRUE(
        stdoutText.ends_with("0 imported, " + std::to_string(originals.size() + 1) + " failed\n"));
    fs::remove(planet + "/broken.pln");
    EXPECT_EQ(Run(ImportCommand, {"--replace", "--out", out, planet}, stdoutText, stderrText), 0);
}

// A file this program wrote, converted back to its own format, keeps its bytes.
TEST_F(PatternCommandsTest, ConvertingAFileToItsOwnFormatKeepsItsBytes)
{
    catalogue.LoadFolder(QUV_SAMPLE_CATALOGUE);
    std::string out, err;
    for (int format = 0; format < kExportFormatCount; ++format) {
        SCOPED_TRACE(FormatLogName(format));
        const std::string folder = ExportSamples(format);
        const std::string back = (dir / ("back" + std::to_string(format))).string();
        fs::create_directories(back);
        EXPECT_EQ(
            Run(ConvertCommand,
                {"--format", std::to_string(format), "--out", back, "--date", "2024-03-07", folder},
                out, err),
            0)
            << out << err;
        int files = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            ++files;
            EXPECT_EQ(Read(entry.path()), Read(fs::path(back) / entry.path().filename()))
                << entry.path();
        }
        EXPECT_GE(files, catalogue.Catalogue.Count());
    }
    // The EDX header declares relative dB.
    const std::string edx = Read(fs::directory_iterator(dir / "back9")->path());
    EXPECT_TRUE(edx.substr(0, edx.find('\r')).ends_with(",2"));

    EXPECT_EQ(Run(ConvertCommand, {"--format", "nope", "--out", dir.string(), "x"}, out, err), 2);
    EXPECT_EQ(Run(ConvertCommand,
                  {"--format", "nsma", "--out", dir.string(), (dir / "missing.pln").string()}, out,
                  err),
              1);
    EXPECT_NE(out.find("Cannot open file"), std::string::npos);
}

// An MSI file of a 65-degree sector beam and a 7-degree elevation beam, the azimuth cut
// `azFloor` dB below the maximum at its best.
std::string MsiFile(const std::string& header, double azPeak, double elPeak, int step = 1,
                    double azFloor = 0)
{
    auto beam = [](double off, double width) {
        return std::min(30.0, 12 * std::pow(off / width, 2));
    };
    std::string text = header;
    text += "HORIZONTAL " + std::to_string(360 / step) + "\r\n";
    for (int a = 0; a < 360; a += step)
        text += std::to_string(a) + " " +
                Format("%.2f", {azFloor + beam(std::remainder(a - azPeak, 360.0), 65)}) + "\r\n";
    text += "VERTICAL 360\r\n";
    for (int a = 0; a < 360; ++a)
        text += std::to_string(a) + " " +
                Format("%.2f", {beam(std::remainder(a - elPeak, 360.0), 7)}) + "\r\n";
    return text;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST_F(PatternCommandsTest, CheckReportsEachFindingKindOnAFileMadeToShowIt)
{
    const std::string head = "NAME X-65\r\nGAIN 15 dBd\r\nH_WIDTH 65\r\nV_WIDTH 7\r\n"
                             "FRONT_TO_BACK 30\r\n";
    // The tilt sign the metrics measure for a beam at VERTICAL 5, stated the other way round.
    TPatternFileData probe = ReadPatternData(MsiFile(head, 0, 5), "probe.pln");
    const double measured =
        *MeasureElevation(DataIndexLevels(probe.patterns.front()).elevation).tilt;
    const std::string wrongTilt = "ELECTRICAL_TILT " + Format("%.0f", {-measured}) + "\r\n";
    const std::string clean = MsiFile(head, 0, 0);
    const std::string seam = Replaced(clean, "HORIZONTAL 360\r\n", "HORIZONTAL 361\r\n-180 5\r\n");
    const std::string duplicate =
        Replaced(clean, "HORIZONTAL 360\r\n", "HORIZONTAL 361\r\n0 0\r\n");
    const std::string order = Replaced(clean, "\r\n1 0.00\r\n2 0.01", "\r\n2 0.01\r\n1 0.00");
    std::string missing = clean;
    missing.erase(missing.find("\r\n100 "), missing.find("\r\n121 ") - missing.find("\r\n100 "));
    const std::string notNumber = Replaced(clean, "\r\n7 0.14", "\r\n7 x.14");
    const std::string edx = "'E',16,1\r\n0,0\r\n180,-20\r\n999\r\n1,3\r\n0\r\n90,-30\r\n"
                            "0,0\r\n-90,-30\r\n";
    const struct {
        const char* kind;
        std::string text;
    } cases[] = {
        {"tilt-sign", MsiFile(head + wrongTilt, 0, 5)},
        {"azimuth-origin", MsiFile(head, 90, 0)},
        {"steered-beam", MsiFile(head, 30, 0)},
        {"steps", MsiFile(head, 0, 0, 2)},
        {"missing-angle", missing},
        {"duplicate-angle", duplicate},
        {"angle-order", order},
        {"peak-not-zero", MsiFile(head, 0, 0, 1, 3)},
        {"seam", seam},
        {"beamwidth", MsiFile("NAME B\r\nH_WIDTH 90\r\n", 0, 0)},
        {"front-to-back", MsiFile("NAME B\r\nFRONT_TO_BACK 45\r\n", 0, 0)},
        {"missing-name", MsiFile("GAIN 15\r\n", 0, 0)},
        {"not-a-number", notNumber},
        {"field-or-db", edx},
    };
    std::vector<std::string> args{"--strict", "--json"};
    for (const auto& c : cases)
        args.push_back(Write(std::string(c.kind) + (c.text == edx ? ".edx" : ".pln"), c.text));
    std::string out, err;
    EXPECT_EQ(Run(CheckCommand, args, out, err), 1);
    std::vector<std::string> lines;
    for (std::string_view line : SplitLines(out))
        lines.emplace_back(line);
    ASSERT_EQ(lines.size(), std::size(cases));
    // A beam steered 30 degrees off boresight by design is a note that fails nothing.
    EXPECT_EQ(Run(CheckCommand, {"--strict", args[4]}, out, err), 0);
    EXPECT_NE(out.find(": note: steered-beam: the azimuth peak lies 3"), std::string::npos) << out;
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        EXPECT_TRUE(lines[k].starts_with("{\"name\":\"" + args[k + 2] + "\",\"format\":"))
            << lines[k];
        EXPECT_NE(lines[k].find(std::string("{\"kind\":\"") + cases[k].kind + "\""),
                  std::string::npos)
            << lines[k];
    }
    // The clean file shows none.
    EXPECT_EQ(Run(CheckCommand, {"--strict", Write("clean.pln", clean)}, out, err), 0);
    EXPECT_EQ(out, "0 findings in 0 files\n");
}

TEST_F(PatternCommandsTest, ExportedSampleCatalogueShowsNoFindingInAnyFormat)
{
    catalogue.LoadFolder(QUV_SAMPLE_CATALOGUE);
    std::vector<std::string> args{"--strict"};
    for (int format = 0; format < kExportFormatCount; ++format)
        args.push_back(ExportSamples(format));
    std::string out, err;
    EXPECT_EQ(Run(CheckCommand, args, out, err), 0) << out.substr(0, 2000);
    EXPECT_EQ(out, "0 findings in 0 files\n");
}

} // namespace

// Makers' libraries as they come: folders below are searched; a block cut short, or one that
// leaves a gap, is refused with nothing written; the band, a negative front-to-back and a part
// number with "/" come through as the file states them.
TEST_F(PatternCommandsTest, MakerLibrariesImportWholeFilesAndRefuseCutShortOnes)
{
    const std::string head = "NAME OM 59/7\r\nMAKE Other Maker\r\nFREQUENCY 1800\r\n"
                             "FREQUENCY_BAND 1710 - 1920\r\nGAIN 17 dBi\r\n"
                             "FRONT_TO_BACK -30.1\r\n";
    const std::string whole = MsiFile(head, 0, 0);
    const std::string cut = whole.substr(0, whole.find("\r\n301 ", whole.find("VERTICAL")) + 2);
    std::string gap =
        whole.substr(0, whole.find("\r\n300 ") + 2) + whole.substr(whole.find("VERTICAL"));
    gap.replace(gap.find("HORIZONTAL 360"), 14, "HORIZONTAL 300");
    const fs::path lib = dir / "lib";
    fs::create_directories(lib / "a" / "deep");
    fs::create_directories(lib / "b");
    std::ofstream(lib / "a" / "deep" / "whole.msi", std::ios::binary) << whole;
    std::ofstream(lib / "b" / "cut.msi", std::ios::binary) << cut;
    std::ofstream(lib / "b" / "gap.msi", std::ios::binary) << gap;

    const fs::path out = dir / "imported";
    std::string o, e;
    EXPECT_EQ(Run(ImportCommand, {"--out", out.string(), lib.string()}, o, e), 1);
    EXPECT_NE(o.find("1 imported, 2 failed"), std::string::npos) << o;
    EXPECT_NE(o.find("the VERTICAL block holds 301 of the 360 points it announces; the file is"),
              std::string::npos)
        << o;
    EXPECT_NE(o.find("gap.msi: the HORIZONTAL block holds 300 points and no level from 299 to "
                     "360 degrees"),
              std::string::npos)
        << o;
    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(out))
        written.push_back(entry.path().filename().string());
    EXPECT_EQ(written, std::vector<std::string>{"OM 59_7.quv"});
    TQuvFile record;
    record.LoadFromFile((out / "OM 59_7.quv").string());
    EXPECT_EQ(record.PartNumber, "OM 59/7");
    EXPECT_EQ(record.BeginFrequency + "-" + record.EndFrequency, "1710-1920");
    EXPECT_EQ(record.FrontToBackRatio, "30.1");

    // Convert refuses the cut file too, and writes nothing of it.
    const fs::path converted = dir / "converted";
    fs::create_directories(converted);
    EXPECT_EQ(Run(ConvertCommand,
                  {"--format", "planet", "--out", converted.string(), (lib / "b").string()}, o, e),
              1);
    EXPECT_NE(o.find("0 converted, 2 failed"), std::string::npos) << o;
    EXPECT_TRUE(fs::is_empty(converted));

    // A tree without a single file is not "0 imported".
    fs::create_directories(dir / "empty" / "sub");
    EXPECT_EQ(Run(ImportCommand, {"--out", out.string(), (dir / "empty").string()}, o, e), 1);
    EXPECT_NE(e.find("no pattern file found"), std::string::npos) << e;
}

// A file of two patterns is converted whole or not at all: when its second target cannot be
// written, its first is not left behind.
TEST_F(PatternCommandsTest, ConvertCommitsAllTargetsOfASourceOrNone)
{
    std::string nsma = "REVNUM:,NSMA WG16.99.050\r\nMODNUM:,DX-65\r\nGUNITS:,DBD/DBR\r\n"
                       "MDGAIN:,15.0\r\nLOWFRQ:,1710\r\nHGHFRQ:,1880\r\n";
    for (const char* pol : {"+45/+45", "-45/-45"})
        for (const char* plane : {"AZ", "EL"}) {
            nsma += std::string("PATCUT:,") + plane + "\r\nPOLARI:," + pol + "\r\n";
            for (int a = 0; a < 360; ++a)
                nsma += std::to_string(a) + "," +
                        Format("%.1f", {-std::min(30.0, std::fabs(std::remainder(a, 360.0)) / 3)}) +
                        "\r\n";
        }
    std::ofstream(dir / "dx.dap", std::ios::binary) << nsma;
    const fs::path out = dir / "out";
    fs::create_directories(out / "dx_2.pln"); // a folder where the second file must go
    std::string o, e;
    EXPECT_EQ(Run(ConvertCommand,
                  {"--format", "planet", "--out", out.string(), (dir / "dx.dap").string()}, o, e),
              1);
    EXPECT_FALSE(fs::exists(out / "dx_1.pln"));
    fs::remove(out / "dx_2.pln");
    EXPECT_EQ(Run(ConvertCommand,
                  {"--format", "planet", "--out", out.string(), (dir / "dx.dap").string()}, o, e),
              0)
        << o << e;
    // Numbered from 1, one file per pattern, nothing else.
    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(out))
        written.insert(entry.path().filename().string());
    EXPECT_EQ(written, (std::set<std::string>{"dx_1.pln", "dx_2.pln"}));
}

// What a planner meets importing other makers' files: one half of a pair names the pair, the
// description stays the maker's own, and odd bytes in a name still make valid JSON.
TEST_F(PatternCommandsTest, ImportTakesPairsDescriptionsAndNamesAsTheyAre)
{
    catalogue.LoadFolder(QUV_SAMPLE_CATALOGUE);
    // A copy of its own: the catalogue's records are freed below.
    const auto copy = LoadQuvFile(catalogue.Catalogue.Objects(0)->FileName);
    const TQuvFile& original = *copy;
    const fs::path pair = dir / "pair";
    fs::create_directories(pair);
    TExportRun run{TExportDate{2024, 3, 7, '/'}};
    std::string error;
    TryWriteExportFile((pair / "X").string(), original, static_cast<int>(test::TRow::NetPlan), run,
                       error);
    ASSERT_EQ(error, "");
    const fs::path out = dir / "imported";
    std::string o, e;
    EXPECT_EQ(Run(ImportCommand, {"--out", out.string(), (pair / "X.v").string()}, o, e), 0)
        << o << e;
    EXPECT_TRUE(o.ends_with("1 imported, 0 failed\n")) << o;
    catalogue.FreeRecords();
    ASSERT_EQ(catalogue.LoadFolder(out.string()).loaded, 1);
    const TQuvFile& imported = *catalogue.Catalogue.Objects(0);
    for (std::size_t j = 0; j <= 360; j += 15) {
        EXPECT_NEAR(StrToFloat(imported.Azimuth[j]), StrToFloat(original.Azimuth[j]), 0.06);
        EXPECT_NEAR(StrToFloat(imported.Elevation[j]), StrToFloat(original.Elevation[j]), 0.06);
    }

    // Another maker's description is kept as written; who made it is told elsewhere.
    const std::string other =
        Write("other.pln",
              MsiFile("NAME OM-65\r\nMAKE Other Maker\r\nCOMMENT Dual band panel\r\n", 0, 0));
    EXPECT_EQ(Run(ImportCommand, {"--replace", "--out", out.string(), other}, o, e), 0) << o << e;
    TQuvFile described;
    described.LoadFromFile((out / "OM-65.quv").string());
    EXPECT_EQ(described.Description, "Dual band panel");
    EXPECT_NE(described.ExtendedPatternDescription.find("Other Maker"), std::string::npos);

    // A file name in the system code page ("tilt 6\xB0") is JSON's \u00b0, never a raw byte.
    const std::string degree = Write("tilt 6\xB0.pln", MsiFile("NAME D\r\n", 0, 0));
    EXPECT_EQ(Run(CheckCommand, {"--strict", "--json", degree}, o, e), 0) << e;
    std::string lower = o;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(lower.find("tilt 6\\u00b0.pln\""), std::string::npos) << o;
    EXPECT_EQ(std::count_if(o.begin(), o.end(), [](char c) { return c & 0x80; }), 0) << o;
}
