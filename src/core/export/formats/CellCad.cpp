#include "export/formats/CellCad.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "reference/PatternConventions.h"
#include "reference/ReaderSupport.h"

#include <string>
#include <vector>

namespace quv {

namespace {

// Levels are gains in dBi; the vertical file counts its angles up from the horizon.
constexpr TAngleConvention kAngles[] = {conventions::kSameAzimuth,
                                        conventions::kElevationAboveHorizon};

// The head line only this format writes.
int Detect(const TFormatProbe& probe)
{
    return probe.head == "LCC" ? kHeadScore : 0;
}

struct TCellCadFile {
    std::string make, part, width, cut;
    TPatternCutPoints points;
};

TCellCadFile ReadCellCadFile(TReaderBase& reader)
{
    const auto& lines = reader.Lines();
    if (lines.size() < 9)
        reader.Fail("no pattern data found");
    TCellCadFile file;
    file.make = std::string(TrimControl(lines[3]));
    file.part = std::string(TrimControl(lines[4]));
    file.width = std::string(TrimControl(lines[5]));
    file.cut = UpperCase(TrimControl(lines[6]));
    file.points.title = file.cut == "V" ? "vertical file" : "horizontal file";
    file.points.headerLine = 7;
    for (std::size_t i = 8; i < lines.size(); ++i) {
        const std::vector<std::string_view> w = Words(lines[i]);
        if (w.empty())
            continue;
        if (w.size() < 2)
            reader.FailAt(i + 1, "expected an angle and a level, found " + Quote(lines[i]));
        reader.AddPoint(file.points, i + 1, w[0], w[1],
                        file.cut == "V" ? kAngles[1].toRecord : kAngles[0].toRecord);
    }
    reader.CloseCut(file.points, -1);
    return file;
}

void Read(TReaderBase& first, TReaderBase* companion, TPatternFileData& data)
{
    TCellCadFile a = ReadCellCadFile(first);
    TCellCadFile b = ReadCellCadFile(*companion);
    if (a.cut == "V")
        std::swap(a, b);
    if (a.cut == "V" || b.cut != "V")
        first.Fail("the pair holds no horizontal (H) and vertical (V) file");
    TFilePattern pattern;
    pattern.maker = a.make;
    pattern.name = a.part;
    pattern.azimuthBeamwidth = StatedValue(a.width);
    pattern.elevationBeamwidth = StatedValue(b.width);
    pattern.azimuth = std::move(a.points);
    pattern.elevation = std::move(b.points);
    // Levels are gains in dBi and the header states none: the highest level is the gain.
    const double gain = HighestLevel(pattern);
    pattern.gainDBi = StatedNumber(gain);
    ShiftLevels(pattern.azimuth, -gain);
    ShiftLevels(pattern.elevation, -gain);
    first.Warn(0, "the gain is taken from the highest level");
    first.NameFromFile(pattern);
    data.patterns.push_back(std::move(pattern));
}

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
                        conventions::AzimuthLevel(record, kAngles[0], a));

    AddCellCadHeader(ver, record, date, record.ElevationBeamwidth, "V");
    // From 180 degrees down through the horizon to -179; -180 would repeat 180.
    const auto& angles = VerticalAngles();
    for (int angle = 180; angle > -180; --angle)
        AddCellCadPoint(ver, line, angles[static_cast<std::size_t>(180 - angle)], gain,
                        conventions::ElevationLevel(record, kAngles[1], angle));
    return {hor.Take(), ver.Take()};
}

void ExportCellCad(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    TCellCadFiles files = BuildCellCad(path, record, run.today);
    run.Commit({{ChangeFileExt(path, ".hor"), std::move(files.hor)},
                {ChangeFileExt(path, ".ver"), std::move(files.ver)}});
}

const TFileFormat kCellCadFormat{{"<b>CellCAD</b> format", "CellCad", ".hor .ver", &ExportCellCad},
                                 ".hor .ver",
                                 "cellcad",
                                 &Detect,
                                 &Read,
                                 kAngles,
                                 TLevelConvention::GainPlusLevel,
                                 true};

} // namespace quv
