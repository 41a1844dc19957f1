#include "export/formats/Formats.h"

#include "catalogue/NumberText.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"

#include <cmath>
#include <string>

namespace quv {

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
    AddAbsoluteCutTables(text, record, "", 3);
    return text.Take();
}

void ExportPlanet(const std::string& path, const TQuvFile& record)
{
    CommitFile(ChangeFileExt(path, ".pln"), BuildPlanet(path, record));
}

} // namespace quv
