#include "CheckCommand.h"

#include "CliCommon.h"
#include "MetricsCommand.h"
#include "PatternCommands.h"
#include "catalogue/QuvLib.h"

#include <iostream>

namespace quv {

int CheckCommand(const std::vector<std::string>& args)
{
    TCommandOptions options(
        "check",
        "usage: quvtool check [--strict] [--catalogue DIR]\n"
        "       quvtool check --strict [--json] FILE...\n",
        {{"strict", 0, "",
          "also report suspicious cuts and datasheet values; with FILE..., check those pattern "
          "files of other makers instead of the catalogue"},
         {"json", 0, "", "with --strict FILE...: one JSON object per file instead of lines"},
         CatalogueOptionSpec()},
        "quvtool check --strict", true);
    if (const auto exit = options.Parse(args))
        return *exit;
    const bool strict = options.IsSet("strict");
    const bool json = options.IsSet("json");
    const std::vector<std::string>& files = options.Positional();
    // Pattern files are checked strictly and instead of a catalogue folder.
    if (!files.empty() && (!strict || options.IsSet("catalogue")))
        return options.Fail("unexpected argument: " + files.front());
    if (json && files.empty())
        return options.Fail("--json needs pattern files");
    if (!files.empty())
        return CheckPatternFilesCommand(files, json);
    TCatalogue catalogue;
    const TLoadReport report = catalogue.LoadFolder(CatalogueFolder(options));
    for (const auto& f : report.failures)
        std::cout << f.name << ": " << f.message << "\n";
    const int findings = strict ? ReportCatalogueFindings(catalogue, std::cout) : 0;
    std::cout << report.loaded << " loaded, " << report.failures.size() << " failed";
    if (strict)
        std::cout << ", " << findings << " suspicious";
    std::cout << "\n";
    return report.failures.empty() && findings == 0 ? 0 : 1;
}

} // namespace quv
