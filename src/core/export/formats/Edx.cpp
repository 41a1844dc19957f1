#include "export/formats/Edx.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "reference/PatternConventions.h"
#include "reference/ReaderSupport.h"

#include <cmath>

namespace quv {

namespace {

// The back slice counts up from the back horizon: its angle x lies 180 + x below the front one.
double BackSlice(double x)
{
    return 180 + x;
}
double FromBackSlice(double a)
{
    return a - 180;
}

// Slices count their angles up from their horizon.
constexpr TAngleConvention kAngles[] = {conventions::kSameAzimuth,
                                        conventions::kElevationAboveHorizon,
                                        {"elevation, back slice", BackSlice, FromBackSlice}};

// Only this format opens with a quoted model; a bare "999" line ends its azimuth cut, which
// counts a little where no other format's lines are found.
int Detect(const TFormatProbe& probe)
{
    if (probe.head.starts_with("'"))
        return kHeadScore;
    for (std::string_view line : *probe.lines)
        if (TrimControl(line) == "999")
            return 5 + (probe.ExtensionIn(".edx") ? kExtensionScore : 0);
    return 0;
}

// The quoted model of the header line ('O''K' is O'K); `rest` receives the text after it.
std::string EdxName(std::string_view line, std::string_view& rest)
{
    line = TrimControl(line);
    if (line.empty() || line.front() != '\'') {
        const std::size_t comma = line.find(',');
        rest = comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
        return std::string(TrimControl(line.substr(0, comma)));
    }
    std::string name;
    std::size_t i = 1;
    while (i < line.size()) {
        if (line[i] == '\'') {
            if (i + 1 < line.size() && line[i + 1] == '\'') {
                name += '\'';
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        name += line[i++];
    }
    rest = line.substr(i);
    if (!rest.empty() && rest.front() == ',')
        rest.remove_prefix(1);
    return name;
}

void Read(TReaderBase& reader, TReaderBase*, TPatternFileData& data)
{
    const auto& lines = reader.Lines();
    std::size_t i = 0;
    while (i < lines.size() && TrimControl(lines[i]).empty())
        ++i;
    if (i == lines.size())
        reader.Fail("no pattern data found");
    TFilePattern pattern;
    pattern.azimuth.title = "azimuth cut";
    pattern.elevation.title = "vertical slices";
    std::string_view rest;
    pattern.name = EdxName(lines[i], rest);
    const std::vector<std::string_view> head = Fields(rest);
    pattern.gainDBi = StatedValue(head.empty() ? std::string_view() : head[0]);
    const std::size_t headLine = i + 1;
    // "1" relative field strength, "2" relative dB; a file without the key is taken as dB.
    const std::string_view key = head.size() > 1 ? head[1] : std::string_view("2");
    const bool field = key == "1";
    if (!field && key != "2")
        reader.FailAt(headLine, "pattern key " + Quote(key) + " is neither 1 nor 2");
    ++i;

    pattern.azimuth.headerLine = headLine;
    for (; i < lines.size(); ++i) {
        const std::string_view line = TrimControl(lines[i]);
        if (line.empty())
            continue;
        if (line == "999")
            break;
        const std::vector<std::string_view> c = Columns(line);
        if (c.size() < 2)
            reader.FailAt(i + 1, "expected an angle and a level, found " + Quote(line));
        reader.AddPoint(pattern.azimuth, i + 1, c[0], c[1], kAngles[0].toRecord);
    }
    if (i >= lines.size())
        reader.Fail("no \"999\" line ends the azimuth cut");
    ++i;
    while (i < lines.size() && TrimControl(lines[i]).empty())
        ++i;
    if (i >= lines.size())
        reader.Fail("no vertical slices follow the azimuth cut");
    const std::vector<std::string_view> counts = Columns(TrimControl(lines[i]));
    if (counts.size() < 2)
        reader.FailAt(i + 1,
                      "expected the number of slices and of points, found " + Quote(lines[i]));
    const long slices = reader.Count(i + 1, counts[0]);
    const long points = reader.Count(i + 1, counts[1]);
    pattern.elevation.headerLine = i + 1;
    ++i;
    bool front = false;
    for (long s = 0; s < slices; ++s) {
        while (i < lines.size() && TrimControl(lines[i]).empty())
            ++i;
        if (i >= lines.size()) {
            reader.Warn(pattern.elevation.headerLine,
                        "the file holds " + std::to_string(s) + " of its " +
                            std::to_string(slices) + " slices",
                        TFindingKind::MissingAngle);
            break;
        }
        const double slice = reader.Number(i + 1, TrimControl(lines[i]), "slice angle");
        ++i;
        // The slice over the front and the one over the back; the program's own files label
        // the back slice 181.
        const bool isFront = slice == 0 || slice == 360;
        const bool isBack = slice == 180 || slice == 181;
        TPatternCutPoints discard;
        discard.title = "slice";
        TPatternCutPoints& target = isFront || isBack ? pattern.elevation : discard;
        front = front || isFront;
        const TAngleMap map = isFront ? kAngles[1].toRecord : kAngles[2].toRecord;
        for (long p = 0; p < points && i < lines.size(); ++i) {
            const std::string_view line = TrimControl(lines[i]);
            if (line.empty())
                continue;
            const std::vector<std::string_view> c = Columns(line);
            if (c.size() < 2)
                reader.FailAt(i + 1, "expected an angle and a level, found " + Quote(line));
            reader.AddPoint(target, i + 1, c[0], c[1], map, isFront ? 1 : 2);
            ++p;
        }
    }
    reader.CloseCut(pattern.azimuth, -1);
    if (!front)
        reader.Fail("no vertical slice at 0 degrees");
    reader.CloseCut(pattern.elevation, -1);

    bool negative = false, positive = false;
    for (TPatternCutPoints* cut : {&pattern.azimuth, &pattern.elevation})
        for (const TPatternPoint& p : cut->points) {
            negative = negative || p.level < 0;
            positive = positive || p.level > 0;
        }
    if (field && negative) {
        // Files of older writers declare field strength and hold dB: read what they hold.
        reader.Warn(headLine, "pattern key 1 (relative field) with negative levels; read as dB",
                    TFindingKind::FieldOrDb);
    } else if (field) {
        for (TPatternCutPoints* cut : {&pattern.azimuth, &pattern.elevation})
            for (TPatternPoint& p : cut->points)
                p.level = p.level > 0 ? 20 * std::log10(p.level) : -200;
    } else if (positive) {
        reader.Warn(headLine, "pattern key 2 (relative dB) with positive levels",
                    TFindingKind::FieldOrDb);
    }
    reader.NameFromFile(pattern);
    data.patterns.push_back(std::move(pattern));
}

} // namespace

std::string BuildEdx(const std::string&, const TQuvFile& record)
{
    TTextBuilder text;
    text.Reserve(727 * 12 + 256);
    std::string quoted = "'";
    for (char c : record.PartNumber) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    quoted += '\'';
    // "2": the levels are relative dB ("1" would declare relative field strength).
    text.Line(quoted + "," + record.GainDBi + ",2");
    std::string line;
    for (int a = 0; a < 360; ++a)
        AddAnglePoint(text, line, a, ",", conventions::AzimuthLevel(record, kAngles[0], a), 3);
    text.Line("999");
    text.Line("2,181");
    // Front cut: from 90 degrees up through the horizon in front down to -90.
    text.Line("0");
    for (int x = 90; x >= -90; --x)
        AddAnglePoint(text, line, x, ",", conventions::ElevationLevel(record, kAngles[1], x), 3);
    // Back cut: the other half of the elevation circle, 90 over the back down to -90.
    text.Line("181");
    for (int x = 90; x >= -90; --x)
        AddAnglePoint(text, line, x, ",", conventions::ElevationLevel(record, kAngles[2], x), 3);
    return text.Take();
}

void ExportEdx(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    run.Commit({{ChangeFileExt(path, ".edx"), BuildEdx(path, record)}});
}

const TFileFormat kEdxFormat{{"<b>EDX</b> format", "EDX", ".edx", &ExportEdx},
                             ".edx",
                             "edx",
                             &Detect,
                             &Read,
                             kAngles,
                             TLevelConvention::RelativeLevel};

} // namespace quv
