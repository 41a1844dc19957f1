#include "export/formats/Nokia.h"

#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "export/formats/MsiLayout.h"
#include "reference/PatternConventions.h"

namespace quv {

namespace {

constexpr TAngleConvention kAngles[] = {conventions::kSameAzimuth, conventions::kSameElevation};

int Detect(const TFormatProbe& probe)
{
    return MsiVariantScore(probe, &TMsiSigns::antennaType, kMsiAntennaTypeScore, ".msi");
}

} // namespace

std::string BuildNokia(const std::string&, const TQuvFile& record)
{
    TTextBuilder text;
    text.Reserve(727 * 11 + 256);
    // The header names the antenna by its part number, not by its "Antenna Type" value.
    text.Line("AntennaType: " + record.PartNumber);
    text.Line("FREQUENCY " + record.MeasuredFrequency);
    text.Line("GAIN " + record.GainDBd + " dBd");
    text.Line(IsMechanicalTilt(record) ? "TILT MECHANICAL" : "TILT ELECTRICAL");
    text.Line("COMMENT DATE:");
    AddAbsoluteCutTables(text, record, ".0", 1, kAngles[0], kAngles[1]);
    return text.Take();
}

void ExportNokia(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    run.Commit({{ChangeFileExt(path, ".msi"), BuildNokia(path, record)}});
}

const TFileFormat kNokiaFormat{{"<b>Nokia</b> format", "Nokia", ".msi", &ExportNokia},
                               ".msi",
                               "msi",
                               &Detect,
                               &ReadMsiPlain,
                               kAngles,
                               TLevelConvention::Attenuation};

} // namespace quv
