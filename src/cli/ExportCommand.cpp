#include "ExportCommand.h"

#include "CliCommon.h"
#include "ListCommand.h"
#include "catalogue/QuvLib.h"
#include "export/ExportClock.h"
#include "export/ExportLib.h"

#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace quv {

namespace {

std::string ExportUsage()
{
    return "usage: quvtool export [--catalogue DIR] --format NAME|INDEX --out DIR [--date "
           "YYYY-MM-DD]\n"
           "                      [FILTER]\n" +
           FormatNameUsage() +
           "  FILTER as for quvtool list (all antennas without one);\n"
           "  --date: the day written into dated files instead of today\n";
}

} // namespace

int ExportCommand(const std::vector<std::string>& args)
{
    const std::vector<TOptionSpec> specs = JoinSpecs(
        {{CatalogueOptionSpec(),
          {"format", 1, "NAME|INDEX", "the export format, by name in any letter case or by index"},
          {"out", 1, "DIR", "the existing folder the files are written into"},
          {"date", 1, "YYYY-MM-DD", "the day written into dated files (default today)"}},
         FilterOptionSpecs()});
    TCommandOptions options("export", ExportUsage(), specs,
                            "quvtool export --format nsma --out ~/export --multi --pol Dual");
    if (const auto exit = options.Parse(args))
        return *exit;
    const std::string catalogueFolder = CatalogueFolder(options);
    const std::string formatText = options.Value("format");
    const std::string out = options.Value("out");
    const std::string dateText = options.Value("date");
    const std::vector<std::string> filter = FilterWords(options);
    std::string error;
    const auto Usage = [&options](const std::string& line) { return options.Fail(line); };
    TExportDate today = ExportToday();
    if (!dateText.empty() && !ParseIsoDate(dateText, today))
        return Usage("--date needs a calendar day as YYYY-MM-DD: " + dateText);
    if (formatText.empty())
        return Usage("--format is needed");
    if (out.empty())
        return Usage("--out is needed");
    const int formatIndex = FindExportFormat(formatText);
    if (formatIndex < 0)
        return Usage("unknown format: " + formatText);
    std::error_code ec;
    if (!std::filesystem::is_directory(out, ec))
        return Usage("the folder " + out + " does not exist");
    // A mistyped catalogue folder would otherwise export nothing and report success.
    if (!std::filesystem::is_directory(catalogueFolder, ec))
        return Usage("the catalogue folder " + catalogueFolder + " does not exist");

    TCatalogue catalogue;
    const TLoadReport loaded = catalogue.LoadFolder(catalogueFolder);
    for (const auto& f : loaded.failures)
        std::cerr << f.name << ": " << f.message << "\n";
    const TQuvFileList& matches = catalogue.MatchList;

    if (filter.empty()) {
        std::vector<TQuvFileList::Item> all(catalogue.Catalogue.begin(), catalogue.Catalogue.end());
        catalogue.MatchList.AddMany(std::move(all));
    } else {
        const int result = ApplyFilterArgs(catalogue, filter, error);
        if (result == 2)
            return Usage(error);
        if (result != 0) {
            std::cerr << error << "\n";
            return result;
        }
    }

    // Exporting nothing is not a success: a mistyped filter would otherwise look like one.
    if (matches.Empty()) {
        std::cerr << "No antenna matched; nothing was exported to " << out << "\n";
        return 1;
    }

    const bool terminal = ::isatty(STDERR_FILENO) != 0;
    const int total = matches.Count();
    int shownPercent = -1;
    // Every file of the run carries the one day, given or today, even across midnight.
    const TExportAllReport report =
        ExportAllMatches(matches, out, formatIndex, today, [&](int done) {
            const int percent = total > 0 ? done * 100 / total : 100;
            if (terminal && percent != shownPercent) {
                shownPercent = percent;
                std::cerr << "\rexported " << done << " of " << total << std::flush;
            }
        });
    if (terminal && total > 0)
        std::cerr << "\n";

    if (report.failures == 0) {
        std::cout << ExportSuccessMessage(out) << "\n";
        return 0;
    }
    for (std::string line : report.log) {
        // The log keeps its carriage returns; on a terminal they would overwrite the line.
        if (terminal)
            for (char& c : line)
                if (c == '\r')
                    c = '\n';
        std::cerr << line << "\n";
    }
    return 1;
}

} // namespace quv
