#include "export/formats/Formats.h"

#include "catalogue/NumberText.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"

#include <string>

namespace quv
{

namespace
{

void AddCellCadHeader(TTextBuilder &text, const TQuvFile &record, const std::string &date,
                      const std::string &width, std::string_view cut)
{
    text.Line("LCC");
    text.Line(date);
    text.Line("12:00");
    text.Line(record.Make);
    text.Line(record.PartNumber);
    text.Line(width);
    text.Line(cut);
    text.Line("0");
}

void AddCellCadPoint(TTextBuilder &text, std::string angle, double gain, std::string_view level)
{
    angle += ' ';
    angle += FormatZeroPadded(5, AddDb(gain, LevelValue(level)));
    text.Line(angle);
}

} // namespace

TCellCadFiles BuildCellCad(const std::string &, const TQuvFile &record, const TExportDate &today)
{
    // One date for both files, even across midnight.
    const std::string date = FormatExportDate(today, "mm-dd-yyyy");
    TTextBuilder hor, ver;
    hor.Reserve(368 * 14 + 256);
    ver.Reserve(368 * 14 + 256);
    AddCellCadHeader(hor, record, date, record.AzimuthBeamwidth, "H");
    const double gain = StrToFloat(record.GainDBi);
    for (int a = 0; a < 360; ++a)
        AddCellCadPoint(hor, Format("%.4d.0", {a}), gain, record.AzimuthAt(a));

    AddCellCadHeader(ver, record, date, record.ElevationBeamwidth, "V");
    // From 180 degrees down through the horizon to -179; -180 would repeat 180.
    for (int e = 180; e <= 360; ++e)
        AddCellCadPoint(ver, FormatZeroPadded(6, 360 - e), gain, record.ElevationAt(e));
    for (int e = 1; e < 180; ++e)
        AddCellCadPoint(ver, FormatZeroPadded(6, -e), gain, record.ElevationAt(e));
    return {hor.Take(), ver.Take()};
}

void ExportCellCad(const std::string &path, const TQuvFile &record)
{
    TCellCadFiles files = BuildCellCad(path, record, ExportToday());
    CommitFiles({{ChangeFileExt(path, ".hor"), std::move(files.hor)},
                 {ChangeFileExt(path, ".ver"), std::move(files.ver)}});
}

} // namespace quv
