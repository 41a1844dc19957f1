#include "ListCommand.h"

#include "CliCommon.h"
#include "catalogue/Filters.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvLib.h"
#include "catalogue/SharedLib.h"

#include <charconv>
#include <iostream>

namespace quv {

namespace {

const char* const kListUsage =
    "usage: quvtool list [--catalogue DIR] FILTER\n"
    "FILTER: --category N | --range BEGIN END | --part PARTNUMBER | --match TEXT |\n"
    "        --multi [--freq B E] [--gain G1 G2] [--pol Single|Dual] [--tilt VALUE|Variable]\n";
const char* const kShowUsage = "usage: quvtool show [--catalogue DIR] PARTNUMBER\n";

bool ParseCategory(const std::string& text, int& index)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), index);
    return ec == std::errc() && end == text.data() + text.size() && index >= 0 &&
           index < kCategoryCount;
}

int ParseMulti(const std::vector<std::string>& args, std::size_t i, std::string& error)
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
    RunMultiSearch(search);
    return 0;
}

// Loads the catalogue named by the arguments (removing --catalogue), failures to stderr.
bool LoadForCommand(std::vector<std::string>& args, std::string& error)
{
    std::string folder;
    if (!TakeCatalogueOption(args, folder, error))
        return false;
    FreeCatalogueRecords();
    const TLoadReport report = LoadCatalogueFolder(folder);
    for (const auto& f : report.failures)
        std::cerr << f.name << ": " << f.message << "\n";
    return true;
}

} // namespace

int ApplyFilterArgs(std::vector<std::string> args, std::string& error)
{
    error.clear();
    if (args.empty()) {
        error = "a filter is needed";
        return 2;
    }
    const std::string option = args[0];
    if (option == "--multi")
        return ParseMulti(args, 1, error);

    std::size_t values = option == "--range" ? 2 : 1;
    if (option != "--category" && option != "--range" && option != "--part" &&
        option != "--match") {
        error = "unknown filter: " + option;
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
        ApplyCategory(index);
    } else if (option == "--range") {
        double b = 0, e = 0;
        if (!TryStrToFloat(args[1], b) || !TryStrToFloat(args[2], e)) {
            error = "the range needs two numbers";
            return 2;
        }
        error = ApplyFrequencyRange(b, e);
        if (!error.empty())
            return 1;
    } else if (option == "--part") {
        ApplyPartNumber(args[1]);
    } else {
        FindClosestMatch(args[1]);
    }
    return 0;
}

int ListCommand(const std::vector<std::string>& argsIn)
{
    std::vector<std::string> args = argsIn;
    std::string error;
    if (!LoadForCommand(args, error)) {
        std::cerr << error << "\n" << kListUsage;
        return 2;
    }
    const int result = ApplyFilterArgs(args, error);
    if (result == 2)
        std::cerr << error << "\n" << kListUsage;
    else if (result == 1)
        std::cerr << error << "\n";
    if (result != 0)
        return result;
    for (const std::string& text : AntennaItemTexts(MatchList))
        std::cout << text << "\n";
    return 0;
}

int ShowCommand(const std::vector<std::string>& argsIn)
{
    std::vector<std::string> args = argsIn;
    std::string error;
    if (!LoadForCommand(args, error) || args.size() != 1) {
        std::cerr << (error.empty() ? std::string("one part number is needed") : error) << "\n"
                  << kShowUsage;
        return 2;
    }
    // Like the command-line part number of the window: found without regard to case, then the
    // first record of that exact part number.
    for (const auto& item : Catalogue) {
        if (SameTextIgnoringCase(item.object->PartNumber, args[0])) {
            std::cout << CopySpecsText(SpecificationRows(*item.object));
            return 0;
        }
    }
    std::cerr << "unknown part number: " << args[0] << "\n";
    return 1;
}

} // namespace quv
