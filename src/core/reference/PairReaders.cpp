// The two-file formats: NetPlan (".h" and ".v", a "key = value" header and levels ten to a line)
// and CellCAD (".hor" and ".ver", eight header lines and angle/gain columns). Each file holds one
// cut; the pair makes one pattern.
#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "reference/PatternConventions.h"
#include "reference/ReaderSupport.h"

namespace quv {

namespace {

struct TNetPlanFile {
    std::string name, comment, orientation;
    TPatternCutPoints cut;
};

TNetPlanFile ReadNetPlanFile(TReaderBase& reader)
{
    TNetPlanFile file;
    file.cut.title = "level table";
    double start = 0, increment = 1;
    long announced = -1;
    std::vector<std::pair<std::size_t, std::string_view>> levels;
    const auto& lines = reader.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t lineNo = i + 1;
        const std::string_view line = TrimControl(lines[i]);
        if (line.empty())
            continue;
        if (line.front() == '#') {
            file.comment = std::string(TrimControl(line.substr(1)));
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            if (file.cut.headerLine == 0)
                file.cut.headerLine = lineNo;
            for (std::string_view w : Words(line))
                levels.push_back({lineNo, w});
            continue;
        }
        const std::string key = LowerCase(TrimControl(line.substr(0, eq)));
        const std::string_view value = TrimControl(line.substr(eq + 1));
        if (key == "name")
            file.name = std::string(value);
        else if (key == "number of points")
            announced = reader.Count(lineNo, value);
        else if (key.starts_with("start ang"))
            start = reader.Number(lineNo, value, "start angle");
        else if (key == "increment")
            increment = reader.Number(lineNo, value, "increment");
        else if (key == "orientation")
            file.orientation = LowerCase(value);
    }
    if (levels.empty())
        reader.Fail("no pattern data found");
    if (increment <= 0 || increment > 360)
        reader.Fail("increment " + FloatToStrGeneral(increment) + " lies outside 0..360");
    file.cut.formatStep = increment;
    const bool vertical = file.orientation.starts_with("v");
    for (std::size_t k = 0; k < levels.size(); ++k) {
        const std::string angle = FloatToStrGeneral(start + static_cast<double>(k) * increment);
        reader.AddPoint(file.cut, levels[k].first, angle, levels[k].second,
                        vertical ? conventions::NetPlanVertical : conventions::Negated);
    }
    if (announced >= 0 && static_cast<long>(levels.size()) < announced)
        reader.Warn(file.cut.headerLine,
                    "the file holds " + std::to_string(levels.size()) + " of the " +
                        std::to_string(announced) + " levels it announces",
                    "missing-angle");
    return file;
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
                        file.cut == "V" ? conventions::AboveHorizon : conventions::Same);
    }
    reader.CloseCut(file.points, -1);
    return file;
}

} // namespace

void ReadNetPlan(TReaderBase& first, TReaderBase& second, TPatternFileData& data)
{
    TNetPlanFile a = ReadNetPlanFile(first);
    TNetPlanFile b = ReadNetPlanFile(second);
    if (a.orientation.starts_with("v") && !b.orientation.starts_with("v"))
        std::swap(a, b);
    if (a.orientation.starts_with("v") ||
        (!b.orientation.empty() && !b.orientation.starts_with("v")))
        first.Fail("the pair holds no horizontal and vertical file");
    TFilePattern pattern;
    pattern.azimuth = std::move(a.cut);
    pattern.elevation = std::move(b.cut);
    pattern.name = a.name;
    // The program's own files name the whole part number in the comment ("# Tavrin PN") and cut
    // it short under Name: the longer one wins when it is the same name.
    const std::vector<std::string_view> words = Words(a.comment);
    if (words.size() == 2 && RemoveDashes(std::string(words[1])).substr(0, 10) == a.name) {
        pattern.maker = std::string(words[0]);
        pattern.name = std::string(words[1]);
    }
    first.NameFromFile(pattern);
    data.patterns.push_back(std::move(pattern));
}

void ReadCellCad(TReaderBase& first, TReaderBase& second, TPatternFileData& data)
{
    TCellCadFile a = ReadCellCadFile(first);
    TCellCadFile b = ReadCellCadFile(second);
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

} // namespace quv
