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

constexpr const char* kExportUsage =
    "usage: quvtool export [--catalogue DIR] --format NAME|INDEX --out DIR [--date YYYY-MM-DD]\n"
    "                      [FILTER]\n"
    "  NAME: a log name of the format list in any case (planet, nsma, tia/eia, siemens...)\n"
    "  or its index 0 to 17; FILTER as for quvtool list (all antennas without one);\n"
    "  --date: the day written into dated files instead of today\n";

int Usage(const std::string& error)
{
    std::cerr << error << "\n" << kExportUsage;
    return 2;
}

} // namespace

int ExportCommand(const std::vector<std::string>& argsIn)
{
    std::vector<std::string> args = argsIn;
    std::string catalogue, formatText, out, dateText, error;
    if (!TakeCatalogueOption(args, catalogue, error) ||
        !TakeOption(args, "--format", formatText, error) ||
        !TakeOption(args, "--out", out, error) || !TakeOption(args, "--date", dateText, error))
        return Usage(error);
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
    if (!std::filesystem::is_directory(catalogue, ec))
        return Usage("the catalogue folder " + catalogue + " does not exist");

    const TLoadReport loaded = LoadCatalogueFolder(catalogue);
    for (const auto& f : loaded.failures)
        std::cerr << f.name << ": " << f.message << "\n";

    if (args.empty()) {
        MatchList.Clear();
        std::vector<TQuvFileList::Item> all(Catalogue.begin(), Catalogue.end());
        MatchList.AddMany(std::move(all));
    } else {
        const int result = ApplyFilterArgs(args, error);
        if (result == 2)
            return Usage(error);
        if (result != 0) {
            std::cerr << error << "\n";
            return result;
        }
    }

    // Exporting nothing is not a success: a mistyped filter would otherwise look like one.
    if (MatchList.Empty()) {
        std::cerr << "No antenna matched; nothing was exported to " << out << "\n";
        return 1;
    }

    // Every file of the run carries the one day, given or today, even across midnight.
    FixExportToday(today);
    struct ReleaseClock {
        ~ReleaseClock() { FixExportToday(std::nullopt); }
    } releaseClock;

    const bool terminal = ::isatty(STDERR_FILENO) != 0;
    const int total = MatchList.Count();
    int shownPercent = -1;
    const TExportAllReport report = ExportAllMatches(MatchList, out, formatIndex, [&](int done) {
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
