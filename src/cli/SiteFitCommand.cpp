#include "SiteFitCommand.h"

#include "CliCommon.h"
#include "catalogue/Errors.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvLib.h"
#include "catalogue/TextFile.h"
#include "reference/SiteFit.h"

#include <cmath>
#include <iostream>
#include <optional>

namespace quv {

namespace {

constexpr const char* kUsage =
    "usage: quvtool sitefit [--catalogue DIR] --height H --radius R [--sector DEG]\n"
    "                       [--tilt-range MIN MAX] [--min-margin M] [--slope S]\n"
    "                       [--band BEGIN END] [--top N] [--csv FILE]\n"
    "  H, R: metres; DEG: sector width, 1 to 360 (120); MIN MAX: mechanical tilts tried,\n"
    "  degrees down (0 10); M: dB the cell level must exceed the spill level by (6);\n"
    "  S: path loss in dB per decade of distance (20); BEGIN END: MHz the band must cover;\n"
    "  N: rows printed (10).\n";

// The number an option holds; nullopt after a usage message when it is not one.
std::optional<double> NumberOption(const std::string& text, const std::string& name,
                                   const TCommandOptions& options, int& exit)
{
    double value = 0;
    if (TryStrToFloat(text, value) && std::isfinite(value))
        return value;
    exit = options.Fail("--" + name + ": '" + text + "' is not a number");
    return std::nullopt;
}

// A single-frequency antenna is "covered" when the band holds its frequency, as the frequency
// filters have it; any other must cover the whole band.
bool InBand(const TQuvFile& record, double low, double high)
{
    double begin = 0, end = 0;
    if (!TryStrToFloat(record.BeginFrequency, begin) || !TryStrToFloat(record.EndFrequency, end))
        return false;
    if (begin == end)
        return low <= begin && begin <= high;
    return begin <= low && end >= high;
}

std::string Optional(const std::optional<double>& value)
{
    return value ? Format("%.1f", {*value}) : std::string("-");
}

} // namespace

int SiteFitCommand(const std::vector<std::string>& args)
{
    const TSiteScenario site;
    const auto text = [](double value) { return FloatToStrGeneral(value); };
    TCommandOptions options(
        "sitefit", kUsage,
        {CatalogueOptionSpec(),
         {"height", 1, "H", "mast height above flat ground in m, above zero; required"},
         {"radius", 1, "R", "cell radius in m, above zero; required"},
         {"sector", 1, "DEG",
          "width of the served sector in degrees, 1 to 360 (default " + text(site.sector) + ")"},
         {"tilt-range", 2, "MIN MAX",
          "mechanical tilts tried, degrees down in " + text(kSiteTiltStep) +
              "-degree steps, within -45 to 45 (default " + text(site.tiltMin) + " " +
              text(site.tiltMax) + ")"},
         {"min-margin", 1, "M",
          "dB the cell level must exceed the spill level by (default " + text(site.minMargin) +
              ")"},
         {"slope", 1, "S",
          "path loss in dB per decade of slant range, above zero (default " + text(site.slope) +
              ": free space; 35 is usual in towns)"},
         {"band", 2, "BEGIN END",
          "only the antennas whose band covers BEGIN to END MHz (default: every antenna)"},
         {"top", 1, "N", "rows printed (default 10)"},
         {"csv", 1, "FILE", "every antenna's figures, ranked, those not ranked last"}},
        "quvtool sitefit --height 30 --radius 1000 --band 1920 2170 --top 5");
    if (const auto exit = options.Parse(args))
        return *exit;
    if (!options.IsSet("height"))
        return options.Fail("--height is required");
    if (!options.IsSet("radius"))
        return options.Fail("--radius is required");

    TSiteScenario scenario;
    int exit = 0;
    const auto number = [&](const std::string& name, double& target, std::size_t word = 1) {
        if (!options.IsSet(name))
            return true;
        const auto values = options.Values(name);
        const auto v = NumberOption(values[values.size() - word], name, options, exit);
        if (v)
            target = *v;
        return v.has_value();
    };
    std::optional<std::pair<double, double>> band;
    double bandLow = 0, bandHigh = 0, top = 10;
    if (!number("height", scenario.height) || !number("radius", scenario.radius) ||
        !number("sector", scenario.sector) || !number("tilt-range", scenario.tiltMin, 2) ||
        !number("tilt-range", scenario.tiltMax) || !number("min-margin", scenario.minMargin) ||
        !number("slope", scenario.slope) || !number("band", bandLow, 2) ||
        !number("band", bandHigh) || !number("top", top))
        return exit;
    if (const std::string problem = ScenarioProblem(scenario); !problem.empty())
        return options.Fail(problem);
    if (options.IsSet("band")) {
        if (bandLow <= 0 || bandLow > bandHigh)
            return options.Fail("--band must be BEGIN END in MHz, BEGIN above zero and not "
                                "above END");
        band = std::pair{bandLow, bandHigh};
    }
    if (top != std::floor(top) || top < 1 || top > 1e9)
        return options.Fail("--top must be a whole number from 1");
    const std::string csv = options.Value("csv");

    const std::string folder = CatalogueFolder(options);
    TCatalogue catalogue;
    const TLoadReport report = catalogue.LoadFolder(folder);
    for (const TLoadFailure& f : report.failures)
        std::cerr << "quvtool sitefit: " << f.name << ": " << f.message << "\n";
    if (report.fileCount == 0) {
        std::cerr << "quvtool sitefit: no data file in " << folder << "\n";
        return 1;
    }
    TQuvFileList candidates;
    for (const auto& item : catalogue.Catalogue)
        if (!band || InBand(*item.object, band->first, band->second))
            candidates.Add(item.text, item.object);
    if (band && candidates.Empty())
        std::cerr << "quvtool sitefit: no antenna's band covers " << FloatToStrGeneral(band->first)
                  << "-" << FloatToStrGeneral(band->second) << " MHz\n";

    const TSiteRanking ranking = RankSite(candidates, scenario);
    if (!csv.empty()) {
        try {
            TWrittenFiles written;
            CommitFile(csv, SiteFitCsv(ranking), written);
            written.Flush();
        } catch (const EQuvError& e) {
            std::cerr << "quvtool sitefit: " << e.what() << "\n";
            return 1;
        }
    }

    std::cout << "rank  part number          cell dB  margin dB  meets  mech. tilt  "
                 "elec. tilt  total tilt  spill dB  gain dBi  data file\n";
    long rank = 0;
    for (const TSiteEntry& e : ranking.ranked) {
        if (rank >= static_cast<long>(top))
            break;
        ++rank;
        const TTiltFigures& f = e.figures;
        std::string part = e.record->PartNumber;
        if (part.size() < 19)
            part.resize(19, ' ');
        std::cout << Format("%4d", {static_cast<int>(rank)}) << "  " << part
                  << Format("%9.1f", {f.cellLevel}) << Format("%11.1f", {f.Margin()})
                  << (e.meetsMargin ? "    yes" : "     no") << Format("%12.1f", {f.tilt})
                  << Format("%12s", {Optional(e.electricalTilt)})
                  << Format("%12s", {Optional(e.TotalTilt())}) << Format("%10.1f", {f.spillLevel})
                  << Format("%10.1f", {e.gainDBi}) << "  " << DataFileName(*e.record) << "\n";
    }
    if (!ranking.leftOut.empty()) {
        std::cout << "not ranked:\n";
        for (const TSiteLeftOut& l : ranking.leftOut)
            std::cout << "  " << l.record->PartNumber << " (" << DataFileName(*l.record)
                      << "): " << l.reason << "\n";
    }
    return 0;
}

} // namespace quv
