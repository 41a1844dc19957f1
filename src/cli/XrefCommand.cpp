#include "XrefCommand.h"

#include "CliCommon.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvLib.h"
#include "reference/CrossReference.h"

#include <cmath>
#include <iostream>
#include <optional>

namespace quv {

namespace {

constexpr const char* kUsage = "usage: quvtool xref [--catalogue DIR] --reference FILE [--top N]\n";

std::string Difference(const std::optional<double>& value)
{
    return value ? Format("%+.1f", {*value}) : std::string("-");
}

} // namespace

int XrefCommand(const std::vector<std::string>& args)
{
    TCommandOptions options(
        "xref", kUsage,
        {CatalogueOptionSpec(),
         {"reference", 1, "FILE",
          "another maker's pattern file (Planet/MSI text, NSMA or TIA/EIA) to rank against; "
          "required"},
         {"top", 1, "N", "print only the best N rows (default: every candidate)"}},
        "quvtool xref --reference other-maker.msi --top 5");
    if (const auto exit = options.Parse(args))
        return *exit;
    const std::string folder = CatalogueFolder(options);
    const std::string referencePath = options.Value("reference");
    long top = -1;
    if (options.IsSet("top")) {
        double n = 0;
        if (!TryStrToFloat(options.Value("top"), n) || n != std::floor(n) || n < 1 || n > 1e9)
            return options.Fail("--top must be a whole number from 1");
        top = static_cast<long>(n);
    }
    if (referencePath.empty())
        return options.Fail("--reference is required");

    TReferencePattern reference;
    try {
        reference = ReadPatternFile(referencePath);
    } catch (const EQuvError& e) {
        std::cerr << "quvtool xref: " << e.what() << "\n";
        return 1;
    }
    for (const std::string& w : reference.warnings)
        std::cerr << "quvtool xref: " << referencePath << ": " << w << "\n";

    TCatalogue catalogue;
    catalogue.LoadFolder(folder);
    const TCandidateTable table(catalogue.Catalogue);
    const TCrossReference result = RankCandidates(reference, table);
    if (result.allAntennas)
        std::cerr << "quvtool xref: " << result.note << "\n";
    if (result.skipped > 0)
        std::cerr << "quvtool xref: " << result.skipped
                  << " antenna(s) left out: pattern levels that are not numbers\n";

    std::cout << "rank\tpart number\tscore\tazimuth main beam rms dB"
                 "\televation main beam rms dB\tazimuth rms dB\televation rms dB\tgain dB"
                 "\tazimuth beamwidth deg\televation beamwidth deg\ttilt deg\n";
    long rank = 0;
    for (const TCandidateScore& s : result.ranked) {
        if (top >= 0 && rank >= top)
            break;
        ++rank;
        std::cout << rank << '\t' << s.record->PartNumber << '\t' << ScoreText(s.score) << '\t'
                  << Format("%.2f", {s.azimuthMainBeamRms}) << '\t'
                  << Format("%.2f", {s.elevationMainBeamRms}) << '\t'
                  << Format("%.2f", {s.azimuthRms}) << '\t' << Format("%.2f", {s.elevationRms})
                  << '\t' << Difference(s.gain) << '\t' << Difference(s.azimuthBeamwidth) << '\t'
                  << Difference(s.elevationBeamwidth) << '\t' << Difference(s.tilt) << '\n';
    }
    return 0;
}

} // namespace quv
