#include "export/formats/Formats.h"

#include "catalogue/NumberText.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"

#include <string>
#include <vector>

namespace quv {

namespace {

void AddCellCadHeader(TTextBuilder& text, const TQuvFile& record, const std::string& date,
                      const std::string& width, std::string_view cut)
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

// The angle columns are the same in every file: formatted once.
const std::vector<std::string>& HorizontalAngles()
{
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> angles;
        for (int a = 0; a < 360; ++a)
            angles.push_back(Format("%.4d.0 ", {a}));
        return angles;
    }();
    return texts;
}

// For the angles 180 down to -179.
const std::vector<std::string>& VerticalAngles()
{
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> angles;
        for (int angle = 180; angle > -180; --angle)
            angles.push_back(FormatZeroPadded(6, angle) + " ");
        return angles;
    }();
    return texts;
}

void AddCellCadPoint(TTextBuilder& text, std::string& line, const std::string& angle,
                     const TLevelBase& gain, std::string_view level)
{
    line = angle;
    AppendZeroPaddedLevelSum(line, gain, level, 5);
    text.Line(line);
}

} // namespace

TCellCadFiles BuildCellCad(const std::string&, const TQuvFile& record, const TExportDate& today)
{
    // One date for both files, even across midnight.
    const std::string date = FormatExportDate(today, "mm-dd-yyyy");
    TTextBuilder hor, ver;
    hor.Reserve(368 * 14 + 256);
    ver.Reserve(368 * 14 + 256);
    AddCellCadHeader(hor, record, date, record.AzimuthBeamwidth, "H");
    const TLevelBase gain = LevelBase(record.GainDBi);
    std::string line;
    for (int a = 0; a < 360; ++a)
        AddCellCadPoint(hor, line, HorizontalAngles()[static_cast<std::size_t>(a)], gain,
                        record.AzimuthAt(a));

    AddCellCadHeader(ver, record, date, record.ElevationBeamwidth, "V");
    // From 180 degrees down through the horizon to -179; -180 would repeat 180.
    const auto& angles = VerticalAngles();
    for (int e = 180; e <= 360; ++e)
        AddCellCadPoint(ver, line, angles[static_cast<std::size_t>(e - 180)], gain,
                        record.ElevationAt(e));
    for (int e = 1; e < 180; ++e)
        AddCellCadPoint(ver, line, angles[static_cast<std::size_t>(180 + e)], gain,
                        record.ElevationAt(e));
    return {hor.Take(), ver.Take()};
}

void ExportCellCad(const std::string& path, const TQuvFile& record)
{
    TCellCadFiles files = BuildCellCad(path, record, ExportToday());
    CommitFiles({{ChangeFileExt(path, ".hor"), std::move(files.hor)},
                 {ChangeFileExt(path, ".ver"), std::move(files.ver)}});
}

} // namespace quv
