#include "export/formats/Formats.h"

#include "catalogue/NumberText.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"

#include <cmath>
#include <string>

namespace quv
{

std::string BuildPlanet(const std::string &path, const TQuvFile &record)
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
    std::string line;
    for (int cut = 0; cut < 2; ++cut) {
        text.Line(cut == 0 ? "HORIZONTAL 360" : "VERTICAL 360");
        for (int a = 0; a < 360; ++a) {
            line.clear();
            AppendInt(line, a);
            line += ' ';
            AppendAbsLevel(line, cut == 0 ? record.AzimuthAt(a) : record.ElevationAt(a), 3);
            text.Line(line);
        }
    }
    return text.Take();
}

void ExportPlanet(const std::string &path, const TQuvFile &record)
{
    CommitFile(ChangeFileExt(path, ".pln"), BuildPlanet(path, record));
}

} // namespace quv
