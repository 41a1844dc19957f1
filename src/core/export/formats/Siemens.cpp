#include "export/formats/Siemens.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "export/formats/MsiLayout.h"
#include "reference/PatternConventions.h"

#include <cmath>

namespace quv {

namespace {

constexpr TAngleConvention kAngles[] = {conventions::kSameAzimuth, conventions::kSameElevation};

int Detect(const TFormatProbe& probe)
{
    return MsiVariantScore(probe, &TMsiSigns::polarisationPrefix, kMsiPolarisationScore, ".dat");
}

} // namespace

std::string BuildSiemens(const std::string& path, const TQuvFile& record)
{
    TTextBuilder text;
    text.Reserve(732 * 11 + 512 + record.Description.size());
    text.Line("NAME " + TargetBaseName(path));
    text.Line("MAKE " + OwnMakePrefix() + record.PartNumber);
    text.Line("FREQUENCY " + record.MeasuredFrequency);
    text.Line("H_WIDTH " + record.AzimuthBeamwidth);
    text.Line("V_WIDTH " + record.ElevationBeamwidth);
    text.Line("FRONT_TO_BACK " + Format("%.2f", {std::fabs(record.FrontToBackValue())}));
    text.Line("GAIN " + record.GainDBd + " dBd");
    text.Line(IsMechanicalTilt(record) ? "TILT MECHANICAL" : "TILT ELECTRICAL");
    const bool vertical = TextContains("vert", record.PolarizationType) ||
                          TextContains("slant", record.PolarizationType);
    text.Line(vertical ? "POLARIZATION POL_V" : "POLARIZATION POL_H");
    text.Line("COMMENT " + record.Description);
    AddAbsoluteCutTables(text, record, ".0", 1, kAngles[0], kAngles[1]);
    return text.Take();
}

void ExportSiemens(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    run.Commit({{ChangeFileExt(path, ".dat"), BuildSiemens(path, record)}});
}

const TFileFormat kSiemensFormat{{"<b>Siemens</b> format", "Siemens", ".dat", &ExportSiemens},
                                 ".dat",
                                 "msi",
                                 &Detect,
                                 &ReadMsiPlain,
                                 kAngles,
                                 TLevelConvention::Attenuation};

} // namespace quv
