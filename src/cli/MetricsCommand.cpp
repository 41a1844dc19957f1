#include "MetricsCommand.h"

#include "CliCommon.h"
#include "ListCommand.h"
#include "catalogue/Errors.h"
#include "catalogue/NumberText.h"
#include "catalogue/PatternMetrics.h"
#include "catalogue/QuvLib.h"
#include "catalogue/SharedLib.h"

#include <filesystem>
#include <iostream>
#include <optional>

namespace quv {

namespace {

const char* const kUsage =
    "usage: quvtool metrics [--catalogue DIR] [FILTER]\n"
    "FILTER: as for quvtool list (--category N | --range BEGIN END | --part PARTNUMBER |\n"
    "        --file NAME | ...);\n"
    "        without one, every antenna of the catalogue\n";

void Cell(std::string& line, const std::optional<double>& value)
{
    line += '\t';
    if (value)
        line += Format("%.1f", {*value});
}

void Cell(std::string& line, std::string_view text)
{
    line += '\t';
    for (char c : text)
        line += c == '\t' ? ' ' : c;
}

std::string BareName(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::string MetricsHeaderLine()
{
    return "Part Number\tAzimuth Peak, deg\tAzimuth Beamwidth 3 dB, deg\t"
           "Datasheet Azimuth Beamwidth, deg\tAzimuth Beamwidth 10 dB, deg\t"
           "Front to Back, dB\tDatasheet Front to Back, dB\tFront to Back 180+-30, dB\t"
           "Azimuth Ripple, dB\tTilt, deg\tDatasheet Electrical Downtilt, deg\t"
           "Elevation Beamwidth 3 dB, deg\tDatasheet Elevation Beamwidth, deg\t"
           "Upper Sidelobe, dB\tNull Fill, dB";
}

std::string MetricsRowLine(const TQuvFile& record)
{
    const TRecordMetrics m = MeasureRecord(record);
    const TAzimuthMetrics az = m.azimuth.value_or(TAzimuthMetrics{});
    const TElevationMetrics el = m.elevation.value_or(TElevationMetrics{});
    std::string line;
    for (char c : record.PartNumber)
        line += c == '\t' ? ' ' : c;
    // An omni antenna has no beam to point, measure across or behind; its ripple is what counts.
    Cell(line, m.omni ? std::nullopt : az.peakDirection);
    Cell(line, m.omni ? std::nullopt : az.beamwidth3dB);
    Cell(line, m.omni ? std::string_view() : std::string_view(record.AzimuthBeamwidth));
    Cell(line, m.omni ? std::nullopt : az.beamwidth10dB);
    Cell(line, m.omni ? std::nullopt : az.frontToBack);
    Cell(line, m.omni ? std::string_view() : std::string_view(record.FrontToBackRatio));
    Cell(line, m.omni ? std::nullopt : az.frontToBackWorst);
    Cell(line, m.omni ? az.ripple : std::nullopt);
    Cell(line, el.tilt);
    Cell(line, record.ElectricalDowntilt);
    Cell(line, el.beamwidth3dB);
    Cell(line, record.ElevationBeamwidth);
    Cell(line, el.upperSidelobe);
    Cell(line, el.nullFill);
    return line;
}

int ReportCatalogueFindings(const TCatalogue& catalogue, std::ostream& out)
{
    int count = 0;
    std::string bytes;
    for (const auto& item : catalogue.Catalogue) {
        const TQuvFile& record = *item.object;
        const std::string name = BareName(record.FileName);
        std::vector<std::string> findings;
        try {
            ReadWholeFile(record.FileName, bytes);
            findings = SeamFindings(bytes);
        } catch (const EQuvError& e) {
            findings.push_back(e.what());
        }
        for (std::string& f : PatternFindings(record))
            findings.push_back(std::move(f));
        for (const std::string& f : findings)
            out << name << ": " << f << "\n";
        count += static_cast<int>(findings.size());
    }
    return count;
}

int MetricsCommand(const std::vector<std::string>& args)
{
    const std::vector<TOptionSpec> specs =
        JoinSpecs({{CatalogueOptionSpec()}, FilterOptionSpecs()});
    TCommandOptions options("metrics", kUsage, specs, "quvtool metrics --match TD21");
    if (const auto exit = options.Parse(args))
        return *exit;
    const std::string folder = CatalogueFolder(options);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        std::cerr << "the catalogue folder " << folder << " does not exist\n";
        return 1;
    }
    TCatalogue catalogue;
    const TLoadReport report = catalogue.LoadFolder(folder);
    for (const auto& f : report.failures)
        std::cerr << f.name << ": " << f.message << "\n";
    const std::vector<std::string> filter = FilterWords(options);
    if (filter.empty()) {
        catalogue.MatchList.AddMany(std::vector<TQuvFileList::Item>(catalogue.Catalogue.begin(),
                                                                    catalogue.Catalogue.end()));
    } else {
        std::string error;
        const int result = ApplyFilterArgs(catalogue, filter, error);
        if (result == 2)
            return options.Fail(error);
        if (result == 1)
            std::cerr << error << "\n";
        if (result != 0)
            return result;
    }
    std::string text = MetricsHeaderLine() + "\n";
    for (const auto& item : catalogue.MatchList) {
        text += MetricsRowLine(*item.object);
        text += '\n';
    }
    std::cout << text;
    std::cout.flush();
    return std::cout ? 0 : 1;
}

} // namespace quv
