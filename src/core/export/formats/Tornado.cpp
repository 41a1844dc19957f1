#include "export/formats/Formats.h"

#include "catalogue/NumberText.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"

#include <cmath>

namespace quv {

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
    // Attenuation below the maximum, as in the Planet file.
    AddAbsoluteCutTables(text, record, "", 3);
    return text.Take();
}

void ExportTornado(const std::string& path, const TQuvFile& record)
{
    CommitFile(ChangeFileExt(path, ".txt"), BuildTornado(path, record));
}

} // namespace quv
