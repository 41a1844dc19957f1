#include "export/formats/Formats.h"

#include "catalogue/NumberText.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"

#include <cmath>

namespace quv {

std::string BuildPathPro(const std::string&, const TQuvFile& record)
{
    TTextBuilder text;
    text.Reserve(735 * 10 + 512);
    text.Line("::ANTENNA");
    text.Line("::HEADER");
    text.Line("dBd");
    text.Line(IsNumber(record.ElectricalDowntilt) ? record.ElectricalDowntilt : std::string());
    text.Line(Format("%.2f", {std::fabs(record.FrontToBackValue())}));
    text.Line(record.AzimuthBeamwidth);
    text.Line(record.ElevationBeamwidth);
    // The header's order puts the upper frequency first.
    text.Line(record.EndSubFrequency);
    text.Line(record.BeginSubFrequency);
    text.Line(record.GainDBd);
    text.Line(record.PartNumber);
    text.Line(kMakerName);
    text.Line(Format("%1.2f", {record.LengthValue() * 0.001}));

    std::string line;
    text.Line("::HORIZONTAL\t360");
    for (int a = 0; a < 360; ++a)
        AddAnglePoint(text, line, a, "\t", record.AzimuthAt(a), 2);
    // The vertical cut reads the stored list, so each angle carries the data file's own level
    // for it: -180 (the stored +180) up to 179.
    text.Line("::VERTICAL\t360");
    for (int j = 180; j <= 360; ++j)
        AddAnglePoint(text, line, j - 360, "\t", record.Elevation[static_cast<std::size_t>(j)], 2);
    for (int j = 1; j <= 179; ++j)
        AddAnglePoint(text, line, j, "\t", record.Elevation[static_cast<std::size_t>(j)], 2);
    return text.Take();
}

void ExportPathPro(const std::string& path, const TQuvFile& record)
{
    CommitFile(ChangeFileExt(path, ".ant"), BuildPathPro(path, record));
}

} // namespace quv
