#include "PatternCommands.h"

#include "CliCommon.h"
#include "catalogue/Errors.h"
#include "catalogue/TextFile.h"
#include "export/ExportClock.h"
#include "export/ExportLib.h"
#include "reference/PatternBatch.h"
#include "reference/PatternChecks.h"

#include <filesystem>
#include <iostream>

namespace quv {

namespace {

constexpr const char* kImportUsage =
    "usage: quvtool import --out DIR [--replace] FILE_OR_FOLDER...\n";
std::string ConvertUsage()
{
    return "usage: quvtool convert --format NAME|INDEX --out DIR [--date YYYY-MM-DD] "
           "FILE_OR_FOLDER...\n" +
           FormatNameUsage();
}

// Messages may carry the log's carriage returns; one line each here.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

// A folder (tree) that held no file at all: saying "0 imported" would read as success.
int NoPatternFiles()
{
    std::cerr << "no pattern file found in the folders named\n";
    return 1;
}

int PrintReport(const TBatchReport& report, const char* done)
{
    for (const TBatchItem& item : report.items) {
        if (!item.error.empty()) {
            std::cout << "failed " << OneLine(item.error) << "\n";
            continue;
        }
        std::cout << done << " " << item.source << " ->";
        for (const std::string& t : item.targets)
            std::cout << " " << t;
        std::cout << "\n";
        for (const std::string& w : item.warnings)
            std::cerr << item.source << ": " << OneLine(w) << "\n";
    }
    const int failed = report.Failed();
    std::cout << report.Succeeded() << " " << done << ", " << failed << " failed\n";
    return failed == 0 ? 0 : 1;
}

} // namespace

int ImportCommand(const std::vector<std::string>& args)
{
    TCommandOptions options(
        "import", kImportUsage,
        {{"out", 1, "DIR", "the folder the data files (PARTNUMBER.quv) are written into"},
         {"replace", 0, "", "replace a data file of the same name (kept by default)"}},
        "quvtool import --out ~/QUV other-maker/", true);
    if (const auto exit = options.Parse(args))
        return *exit;
    const std::string out = options.Value("out");
    if (out.empty())
        return options.Fail("--out is needed");
    if (options.Positional().empty())
        return options.Fail("no pattern file named");
    const std::vector<std::string> files = CollectPatternFiles(options.Positional());
    if (files.empty())
        return NoPatternFiles();
    return PrintReport(ImportPatternFiles(files, out, options.IsSet("replace")), "imported");
}

int ConvertCommand(const std::vector<std::string>& args)
{
    TCommandOptions options(
        "convert", ConvertUsage(),
        {{"format", 1, "NAME|INDEX", "the export format, by name in any letter case or by index"},
         {"out", 1, "DIR", "the existing folder the files are written into"},
         {"date", 1, "YYYY-MM-DD", "the day written into dated files (default today)"}},
        "quvtool convert --format nsma --out converted/ other-maker/", true);
    if (const auto exit = options.Parse(args))
        return *exit;
    const std::string formatText = options.Value("format"), out = options.Value("out");
    const std::string dateText = options.Value("date");
    TExportDate today = ExportToday();
    if (!dateText.empty() && !ParseIsoDate(dateText, today))
        return options.Fail("--date needs a calendar day as YYYY-MM-DD: " + dateText);
    const int formatIndex = FindExportFormat(formatText);
    if (formatIndex < 0)
        return options.Fail(formatText.empty() ? "--format is needed"
                                               : "unknown format: " + formatText);
    if (out.empty())
        return options.Fail("--out is needed");
    std::error_code ec;
    if (!std::filesystem::is_directory(out, ec))
        return options.Fail("the folder " + out + " does not exist");
    if (options.Positional().empty())
        return options.Fail("no pattern file named");
    const std::vector<std::string> files = CollectPatternFiles(options.Positional());
    if (files.empty())
        return NoPatternFiles();
    return PrintReport(ConvertPatternFiles(files, out, formatIndex, today), "converted");
}

int CheckPatternFilesCommand(const std::vector<std::string>& files, bool json)
{
    int bad = 0, findings = 0;
    const std::vector<std::string> found = CollectPatternFiles(files);
    if (found.empty())
        return NoPatternFiles();
    for (const std::string& path : found) {
        const TPatternFileCheck check = CheckPatternFile(path);
        bad += !check.error.empty() || !check.findings.empty();
        findings += static_cast<int>(check.findings.size());
        if (json) {
            std::cout << PatternCheckJson(check) << "\n";
            continue;
        }
        if (!check.error.empty())
            std::cout << check.error << "\n";
        for (const TPatternFinding& f : check.findings)
            if (f.kind != TFindingKind::NotANumber || check.error.empty())
                std::cout << path << ": " << FindingKindName(f.kind) << ": " << f.message << "\n";
        for (const TPatternFinding& n : check.notes)
            std::cout << path << ": note: " << FindingKindName(n.kind) << ": " << n.message << "\n";
    }
    if (!json)
        std::cout << findings << " findings in " << bad << " files\n";
    return bad == 0 ? 0 : 1;
}

} // namespace quv
