#include "export/formats/Tornado.h"

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
    return MsiVariantScore(probe, &TMsiSigns::namesComments, kMsiCommentsScore, ".txt");
}

} // namespace

std::string BuildTornado(const std::string& path, const TQuvFile& record)
{
    TTextBuilder text;
    text.Reserve(732 * 12 + 512 + record.Description.size());
    text.Line("NAME " + TargetBaseName(path));
    text.Line("MAKE " + record.PartNumber);
    text.Line("FREQUENCY " + record.MeasuredFrequency);
    text.Line("H_WIDTH " + record.AzimuthBeamwidth);
    text.Line("V_WIDTH " + record.ElevationBeamwidth);
    text.Line("FRONT_TO_BACK " + Format("%.2f", {std::fabs(record.FrontToBackValue())}));
    text.Line("GAIN " + record.GainDBd + " dBd");
    text.Line(IsMechanicalTilt(record) ? "TILT MECHANICAL" : "TILT ELECTRICAL");
    text.Line("POLARIZATION " + record.PolarizationType);
    text.Line("COMMENTS " + record.Description);
    AddAbsoluteCutTables(text, record, "", 3, kAngles[0], kAngles[1]);
    return text.Take();
}

void ExportTornado(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    run.Commit({{ChangeFileExt(path, ".txt"), BuildTornado(path, record)}});
}

const TFileFormat kTornadoFormat{{"<b>Tornado</b> format", "Tornado", ".txt", &ExportTornado},
                                 ".txt",
                                 "msi",
                                 &Detect,
                                 &ReadMsiPlain,
                                 kAngles,
                                 TLevelConvention::Attenuation};

} // namespace quv
