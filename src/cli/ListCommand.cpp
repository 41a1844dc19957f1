#include "ListCommand.h"

#include "CliCommon.h"
#include "catalogue/Filters.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvLib.h"
#include "catalogue/SharedLib.h"

#include <algorithm>
#include <charconv>
#include <iostream>

namespace quv {

namespace {

const char* const kListUsage =
    "usage: quvtool list [--catalogue DIR] FILTER\n"
    "FILTER: --category N | --range BEGIN END | --part PARTNUMBER | --match TEXT |\n"
    "        --file NAME |\n"
    "        --multi [--freq B E] [--gain G1 G2] [--pol Single|Dual] [--tilt VALUE|Variable]\n";
const char* const kShowUsage =
    "usage: quvtool show [--catalogue DIR] PARTNUMBER | --part PARTNUMBER | --file NAME\n"
    "  PARTNUMBER: a part number, or the list's text of a record that shares one;\n"
    "  NAME: the data file's name in the catalogue folder\n";

bool ParseCategory(const std::string& text, int& index)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), index);
    return ec == std::errc() && end == text.data() + text.size() && index >= 0 &&
           index < kCategoryCount;
}

int ParseMulti(TCatalogue& catalogue, const std::vector<std::string>& args, std::size_t i,
               std::string& error)
{
    TMultiSearch search;
    auto need = [&](std::size_t count) {
        if (i + count < args.size())
            return true;
        error = args[i] + " needs " + std::to_string(count) + " value(s)";
        return false;
    };
    for (; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--freq") {
            if (!need(2))
                return 2;
            search.frequency = true;
            search.begRange = args[i + 1];
            search.endRange = args[i + 2];
            i += 2;
        } else if (option == "--gain") {
            if (!need(2))
                return 2;
            search.gain = true;
            search.begGain = args[i + 1];
            search.endGain = args[i + 2];
            i += 2;
        } else if (option == "--pol") {
            if (!need(1))
                return 2;
            search.polarization = true;
            search.polarizationItem = args[++i];
        } else if (option == "--tilt") {
            if (!need(1))
                return 2;
            search.downtilt = true;
            search.downtiltItem = args[++i];
        } else {
            error = "unknown multi search option: " + option;
            return 2;
        }
    }
    RunMultiSearch(catalogue, search);
    return 0;
}

// Loads the catalogue named by the options, failures to stderr.
void LoadForCommand(TCatalogue& catalogue, const TCommandOptions& options)
{
    const TLoadReport report = catalogue.LoadFolder(CatalogueFolder(options));
    for (const auto& f : report.failures)
        std::cerr << f.name << ": " << f.message << "\n";
}

} // namespace

int ApplyFilterArgs(TCatalogue& catalogue, std::vector<std::string> args, std::string& error)
{
    error.clear();
    if (args.empty()) {
        error = "a filter is needed";
        return 2;
    }
    const std::string option = args[0];
    if (option == "--multi")
        return ParseMulti(catalogue, args, 1, error);

    std::size_t values = option == "--range" ? 2 : 1;
    if (option != "--category" && option != "--range" && option != "--part" &&
        option != "--match" && option != "--file") {
        error = "unknown filter: " + option;
        return 2;
    }
    if (args.size() > values + 1 && args[values + 1].rfind("--", 0) == 0) {
        error = "one filter at a time: " + option + " and " + args[values + 1];
        return 2;
    }
    if (args.size() != values + 1) {
        error = option + " needs " + std::to_string(values) + " value(s)";
        return 2;
    }
    if (option == "--category") {
        int index = 0;
        if (!ParseCategory(args[1], index)) {
            error = "category must be a number from 0 to " + std::to_string(kCategoryCount - 1);
            return 2;
        }
        ApplyCategory(catalogue, index);
    } else if (option == "--range") {
        double b = 0, e = 0;
        if (!TryStrToFloat(args[1], b) || !TryStrToFloat(args[2], e)) {
            error = "the range needs two numbers";
            return 2;
        }
        error = ApplyFrequencyRange(catalogue, b, e);
        if (!error.empty())
            return 1;
    } else if (option == "--part") {
        ApplyPartNumber(catalogue, args[1]);
        const TPartPick pick =
            catalogue.MatchList.Empty() ? PickPart(catalogue, args[1]) : TPartPick{};
        if (pick.record)
            catalogue.MatchList.Add(pick.record->PartNumber, pick.record);
    } else if (option == "--file") {
        catalogue.MatchList.Clear();
        TQuvFile* record = PickFile(catalogue, args[1]);
        if (!record) {
            error = "no data file " + args[1] + " in the catalogue";
            return 1;
        }
        catalogue.MatchList.Add(record->PartNumber, record);
    } else {
        FindClosestMatch(catalogue, args[1]);
    }
    return 0;
}

std::vector<TOptionSpec> FilterOptionSpecs()
{
    return {
        {"category", 1, "N",
         "the antennas of application category N, 0 to " + std::to_string(kCategoryCount - 1) +
             ", as the window's Application page lists them"},
        {"range", 2, "BEGIN END",
         "a frequency range in MHz as the window's lists show it, for example 806.00 960.00"},
        {"part", 1, "P",
         "exactly that part number, or the one antenna whose list text (of a shared part number) "
         "is given"},
        {"match", 1, "TEXT", "part numbers beginning with TEXT, in any letter case"},
        {"file", 1, "NAME", "the one antenna loaded from that data file of the catalogue folder"},
        {"multi", 0, "",
         "the multi search: every antenna that passes the criteria given after it (all without "
         "one)"},
        {"freq", 2, "B E", "with --multi: the band in MHz, as --range takes it"},
        {"gain", 2, "G1 G2", "with --multi: a gain from G1 to G2 dBd, 1 dB either side counted"},
        {"pol", 1, "Single|Dual", "with --multi: the polarisation"},
        {"tilt", 1, "VALUE|Variable",
         "with --multi: that electrical downtilt in degrees, or a variable one"}};
}

std::vector<std::string> FilterWords(const TCommandOptions& options)
{
    const std::vector<TOptionSpec> specs = FilterOptionSpecs();
    // A filter option given twice means its last value, as any other option: each one once, in
    // the place it was first given.
    std::vector<const TCommandOptions::TGiven*> filters;
    for (const auto& given : options.Given()) {
        const bool filter = std::any_of(specs.begin(), specs.end(),
                                        [&](const TOptionSpec& s) { return s.name == given.name; });
        if (!filter)
            continue;
        const auto same = std::find_if(filters.begin(), filters.end(),
                                       [&](const auto* f) { return f->name == given.name; });
        if (same == filters.end())
            filters.push_back(&given);
        else
            *same = &given;
    }
    std::vector<std::string> words;
    for (const TCommandOptions::TGiven* given : filters) {
        words.push_back("--" + given->name);
        words.insert(words.end(), given->values.begin(), given->values.end());
    }
    return words;
}

int ListCommand(const std::vector<std::string>& args)
{
    const std::vector<TOptionSpec> specs =
        JoinSpecs({{CatalogueOptionSpec()}, FilterOptionSpecs()});
    TCommandOptions options("list", kListUsage, specs,
                            "quvtool list --multi --freq 1710 1880 --pol Dual");
    if (const auto exit = options.Parse(args))
        return *exit;
    TCatalogue catalogue;
    LoadForCommand(catalogue, options);
    std::string error;
    const int result = ApplyFilterArgs(catalogue, FilterWords(options), error);
    if (result == 2)
        return options.Fail(error);
    if (result == 1)
        std::cerr << error << "\n";
    if (result != 0)
        return result;
    for (const std::string& text : AntennaItemTexts(catalogue.MatchList))
        std::cout << text << "\n";
    return 0;
}

int ShowCommand(const std::vector<std::string>& args)
{
    TCommandOptions options(
        "show", kShowUsage,
        {CatalogueOptionSpec(),
         {"part", 1, "PARTNUMBER",
          "the antenna, as PARTNUMBER without the option: a part number in any letter case, or "
          "the list's text of one record of a shared part number"},
         {"file", 1, "NAME", "the antenna loaded from that data file of the catalogue folder"}},
        "quvtool show TD1965-17", true);
    if (const auto exit = options.Parse(args))
        return *exit;
    std::vector<std::string> parts = options.Positional();
    if (options.IsSet("part"))
        parts.push_back(options.Value("part"));
    if (parts.size() + (options.IsSet("file") ? 1 : 0) != 1)
        return options.Fail("one part number or one --file is needed");
    TCatalogue catalogue;
    LoadForCommand(catalogue, options);
    if (options.IsSet("file")) {
        const TQuvFile* record = PickFile(catalogue, options.Value("file"));
        if (!record) {
            std::cerr << "no data file " << options.Value("file") << " in the catalogue\n";
            return 1;
        }
        std::cout << CopySpecsText(SpecificationRows(*record));
        return 0;
    }
    // Like the command-line part number of the window: found without regard to case, then the
    // first record of that exact part number.
    const TPartPick pick = PickPart(catalogue, parts[0], true);
    if (!pick.record) {
        std::cerr << "unknown part number: " << parts[0] << "\n";
        return 1;
    }
    if (!pick.note.empty())
        std::cerr << "quvtool show: " << pick.note << "\n";
    std::cout << CopySpecsText(SpecificationRows(*pick.record));
    return 0;
}

} // namespace quv
