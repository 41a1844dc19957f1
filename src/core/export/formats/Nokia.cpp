#include "export/formats/Formats.h"

#include "catalogue/TextFile.h"
#include "export/ExportLib.h"

namespace quv {

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
    AddAbsoluteCutTables(text, record, ".0", 1);
    return text.Take();
}

void ExportNokia(const std::string& path, const TQuvFile& record)
{
    CommitFile(ChangeFileExt(path, ".msi"), BuildNokia(path, record));
}

} // namespace quv
