#include "export/formats/Planet.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "export/formats/MsiLayout.h"
#include "reference/PatternConventions.h"

#include <cmath>
#include <string>

namespace quv {

namespace {

constexpr TAngleConvention kAngles[] = {conventions::kSameAzimuth, conventions::kSameElevation};

// The layout's reference form: a file without any variant's own line is named as this one, whatever
// its extension says.
constexpr int kReferenceFormScore = 2 * kExtensionScore;

int Detect(const TFormatProbe& probe)
{
    const int score =
        MsiVariantScore(probe, &TMsiSigns::fileNameKey, kMsiFileNameScore, ".pln .msi");
    return score == 0 ? 0 : score + kReferenceFormScore;
}

} // namespace

std::string BuildPlanet(const std::string& path, const TQuvFile& record)
{
    TTextBuilder text;
    text.Reserve(730 * 12 + 512);
    text.Line("FILENAME " + TargetBaseName(path));
    text.Line("MAKE " + record.PartNumber);
    text.Line("FREQUENCY " + record.MeasuredFrequency);
    text.Line("H_WIDTH " + record.AzimuthBeamwidth);
    text.Line("V_WIDTH " + record.ElevationBeamwidth);
    text.Line("FRONT_TO_BACK " + Format("%.2f", {std::fabs(record.FrontToBackValue())}));
    text.Line("GAIN " + record.GainDBd + " dBd");
    text.Line(IsMechanicalTilt(record) ? "TILT MECHANICAL" : "TILT ELECTRICAL");
    // Levels are written as attenuation below the maximum, so the sign is dropped.
    AddAbsoluteCutTables(text, record, "", 3, kAngles[0], kAngles[1]);
    return text.Take();
}

void ExportPlanet(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    run.Commit({{ChangeFileExt(path, ".pln"), BuildPlanet(path, record)}});
}

const TFileFormat kPlanetFormat{
    {"<b>Planet</b> format - Mobile Systems International", "Planet", ".pln", &ExportPlanet},
    ".pln .msi",
    "msi",
    &Detect,
    &ReadMsiPlain,
    kAngles,
    TLevelConvention::Attenuation};

} // namespace quv
