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

int XrefCommand(const std::vector<std::string>& argsIn)
{
    std::vector<std::string> args = argsIn;
    std::string folder, error, referencePath;
    long top = -1;
    bool ok = TakeCatalogueOption(args, folder, error);
    for (std::size_t i = 0; ok && i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a != "--reference" && a != "--top") || i + 1 >= args.size()) {
            error = a == "--reference" || a == "--top" ? a + " needs a value"
                                                       : "unexpected argument: " + a;
            ok = false;
            break;
        }
        const std::string& v = args[++i];
        if (a == "--reference") {
            referencePath = v;
        } else {
            double n = 0;
            if (!TryStrToFloat(v, n) || n != std::floor(n) || n < 1 || n > 1e9) {
                error = "--top must be a whole number from 1";
                ok = false;
            }
            top = static_cast<long>(n);
        }
    }
    if (ok && referencePath.empty()) {
        error = "--reference is required";
        ok = false;
    }
    if (!ok) {
        std::cerr << error << "\n" << kUsage;
        return 2;
    }

    TReferencePattern reference;
    try {
        reference = ReadPatternFile(referencePath);
    } catch (const EQuvError& e) {
        std::cerr << "quvtool xref: " << e.what() << "\n";
        return 1;
    }
    for (const std::string& w : reference.warnings)
        std::cerr << "quvtool xref: " << referencePath << ": " << w << "\n";

    LoadCatalogueFolder(folder);
    const TCandidateTable table(Catalogue);
    const TCrossReference result = RankCandidates(reference, table);
    if (result.allAntennas)
        std::cerr << "quvtool xref: " << result.note << "\n";
    if (result.skipped > 0)
        std::cerr << "quvtool xref: " << result.skipped
                  << " antenna(s) left out: pattern levels that are not numbers\n";

    std::cout << "rank\tpart number\tscore\tazimuth rms dB\televation rms dB\tgain dB"
                 "\tazimuth beamwidth deg\televation beamwidth deg\ttilt deg\n";
    long rank = 0;
    for (const TCandidateScore& s : result.ranked) {
        if (top >= 0 && rank >= top)
            break;
        ++rank;
        std::cout << rank << '\t' << s.record->PartNumber << '\t' << ScoreText(s.score) << '\t'
                  << Format("%.2f", {s.azimuthRms}) << '\t' << Format("%.2f", {s.elevationRms})
                  << '\t' << Difference(s.gain) << '\t' << Difference(s.azimuthBeamwidth) << '\t'
                  << Difference(s.elevationBeamwidth) << '\t' << Difference(s.tilt) << '\n';
    }
    return 0;
}

} // namespace quv
