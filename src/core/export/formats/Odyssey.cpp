#include "export/formats/Formats.h"

#include "catalogue/TextFile.h"
#include "export/ExportLib.h"

namespace quv {

std::string BuildOdyssey(const std::string&, const TQuvFile& record)
{
    TTextBuilder text;
    text.Reserve(727 * 11 + 256);
    text.Line("NAME\t" + record.PartNumber);
    text.Line("FREQUENCY\t" + record.MeasuredFrequency);
    text.Line("BEAM_WIDTH\t" + record.AzimuthBeamwidth);
    text.Line("GAIN\t" + record.GainDBi + " dBi");
    text.Line(IsMechanicalTilt(record) ? "TILT\tMECHANICAL" : "TILT\tELECTRICAL");
    // Points 1 to 360 as attenuation; the horizontal cut reads the stored list, the vertical
    // one goes through ElevationAt, so the two run in opposite senses.
    std::string line;
    for (int cut = 0; cut < 2; ++cut) {
        text.Line(cut == 0 ? "HORIZONTAL\t360" : "VERTICAL\t360");
        for (int i = 1; i <= 360; ++i) {
            line.clear();
            AppendInt(line, i);
            line += '\t';
            AppendAbsLevel(
                line,
                cut == 0 ? record.Azimuth[static_cast<std::size_t>(i)] : record.ElevationAt(i), 3);
            text.Line(line);
        }
    }
    return text.Take();
}

void ExportOdyssey(const std::string& path, const TQuvFile& record)
{
    CommitFile(ChangeFileExt(path, ".txt"), BuildOdyssey(path, record));
}

} // namespace quv
