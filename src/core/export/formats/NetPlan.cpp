#include "export/formats/NetPlan.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "reference/PatternConventions.h"
#include "reference/ReaderSupport.h"

namespace quv {

namespace {

// The vertical file starts at the back: its angle k is the record angle k + 180.
double Vertical(double k)
{
    return k + 180;
}
double FromVertical(double a)
{
    return a - 180;
}

// The horizontal file takes the data file's stored order, the other way round from the record.
constexpr TAngleConvention kAngles[] = {conventions::kStoredAzimuth,
                                        {"elevation", Vertical, FromVertical}};

int Detect(const TFormatProbe& probe)
{
    for (std::string_view line : probe.textLines) {
        const std::string lower = LowerCase(line.substr(0, 24));
        if (lower.starts_with("orientation =") || lower.starts_with("number of points ="))
            return 500 + (probe.ExtensionIn(".h .v") ? kExtensionScore : 0);
    }
    return 0;
}

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
                        vertical ? kAngles[1].toRecord : kAngles[0].toRecord);
    }
    if (announced >= 0 && static_cast<long>(levels.size()) < announced)
        reader.Warn(file.cut.headerLine,
                    "the file holds " + std::to_string(levels.size()) + " of the " +
                        std::to_string(announced) + " levels it announces",
                    TFindingKind::MissingAngle);
    return file;
}

void Read(TReaderBase& first, TReaderBase* companion, TPatternFileData& data)
{
    TNetPlanFile a = ReadNetPlanFile(first);
    TNetPlanFile b = ReadNetPlanFile(*companion);
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

// The seven header lines, then the 360 levels ten to a line, each "%6.2f" and joined by a blank.
template <typename LevelAt>
std::string NetPlanFile(const TQuvFile& record, std::string_view orientation, LevelAt levelAt)
{
    TTextBuilder text;
    text.Reserve(43 * 72 + 256);
    text.Line("# Tavrin " + record.PartNumber);
    text.Line("Name = " + RemoveDashes(record.PartNumber).substr(0, 10));
    text.Line("Number of Points = 360");
    text.Line("Start Ang. = 0.00");
    text.Line("Range = 40.00000");
    text.Line("Increment = 1.0");
    text.Line("Orientation = " + std::string(orientation));
    std::string line;
    for (int k = 0; k < 360; ++k) {
        if (k % 10 != 0)
            line += ' ';
        const std::size_t start = line.size();
        AppendSignedLevel(line, levelAt(k), 2);
        const std::size_t width = line.size() - start;
        if (width < 6)
            line.insert(start, 6 - width, ' ');
        if (k % 10 == 9) {
            text.Line(line);
            line.clear();
        }
    }
    return text.Take();
}

} // namespace

TNetPlanFiles BuildNetPlan(const std::string&, const TQuvFile& record)
{
    TNetPlanFiles files;
    files.horizontal = NetPlanFile(record, "Horizontal", [&](int k) {
        return conventions::AzimuthLevel(record, kAngles[0], k);
    });
    files.vertical = NetPlanFile(record, "Vertical", [&](int k) {
        return conventions::ElevationLevel(record, kAngles[1], k);
    });
    return files;
}

void ExportNetPlan(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    TNetPlanFiles files = BuildNetPlan(path, record);
    run.Commit({{ChangeFileExt(path, ".h"), std::move(files.horizontal)},
                {ChangeFileExt(path, ".v"), std::move(files.vertical)}});
}

const TFileFormat kNetPlanFormat{
    {"<b>NetPlan</b> format - Motorola ", "NetPlan", ".h .v", &ExportNetPlan},
    ".h .v",
    "netplan",
    &Detect,
    &Read,
    kAngles,
    TLevelConvention::RelativeLevel,
    true};

} // namespace quv
