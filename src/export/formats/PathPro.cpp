#include "export/formats/Formats.h"

#include "catalogue/NumberText.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"

#include <cmath>

namespace quv
{

namespace
{

void AddPoint(TTextBuilder &text, std::string &line, int angle, std::string_view level)
{
    line.clear();
    if (angle < 0) {
        line += '-';
        angle = -angle;
    }
    AppendInt(line, angle);
    line += '\t';
    AppendSignedLevel(line, level, 2);
    text.Line(line);
}

} // namespace

std::string BuildPathPro(const std::string &, const TQuvFile &record)
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
        AddPoint(text, line, a, record.AzimuthAt(a));
    // The vertical cut reads the stored list, so each angle carries the data file's own level
    // for it: -180 (the stored +180) up to 179.
    text.Line("::VERTICAL\t360");
    for (int j = 180; j <= 360; ++j)
        AddPoint(text, line, j - 360, record.Elevation[static_cast<std::size_t>(j)]);
    for (int j = 1; j <= 179; ++j)
        AddPoint(text, line, j, record.Elevation[static_cast<std::size_t>(j)]);
    return text.Take();
}

void ExportPathPro(const std::string &path, const TQuvFile &record)
{
    CommitFile(ChangeFileExt(path, ".ant"), BuildPathPro(path, record));
}

} // namespace quv
