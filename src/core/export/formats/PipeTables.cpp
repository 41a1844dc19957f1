#include "export/formats/PipeTables.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "reference/PatternConventions.h"
#include "reference/ReaderSupport.h"

#include <algorithm>

namespace quv {

namespace {

double BackHalf(double x)
{
    return 180 - x;
}

// "824-896 MHz" or "860 MHz".
void ReadFrequency(TFilePattern& pattern, std::string_view value)
{
    const std::size_t dash = value.find('-', 1);
    if (dash == std::string_view::npos) {
        pattern.measuredMHz = StatedValue(value);
        return;
    }
    pattern.lowMHz = StatedValue(value.substr(0, dash));
    pattern.highMHz = StatedValue(value.substr(dash + 1));
}

} // namespace

const TAngleConvention kPipeAngles[3] = {conventions::kSameAzimuth,
                                         conventions::kSameElevation,
                                         {"elevation, back half", BackHalf, BackHalf}};

void ReadPipeTables(TReaderBase& reader, TReaderBase*, TPatternFileData& data)
{
    TFilePattern pattern;
    pattern.azimuth.title = "HORIZ table";
    pattern.azimuth.formatStep = 5;
    pattern.elevation.title = "VERT tables";
    TPatternCutPoints* open = nullptr;
    long announced = -1;
    std::size_t openStart = 0;
    TAngleMap map = kPipeAngles[0].toRecord;
    int block = 0;
    auto close = [&] {
        if (open && announced >= 0 &&
            static_cast<long>(open->points.size()) - static_cast<long>(openStart) < announced)
            reader.Warn(open->headerLine,
                        "a table of the " + open->title + " holds fewer points than it announces",
                        TFindingKind::MissingAngle);
        open = nullptr;
    };
    TStated maxGain;
    bool gainInDBi = false;
    const auto& lines = reader.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t lineNo = i + 1;
        const std::string_view line = TrimControl(lines[i]);
        if (line.empty() || line.find('|') == std::string_view::npos)
            continue;
        const std::vector<std::string_view> f = SplitTrimmed(line, '|');
        if (f.size() < 3)
            continue;
        const std::string key = UpperCase(f[1]);
        double number = 0;
        if (TryStrToFloat(f[1], number)) {
            if (!open)
                reader.FailAt(lineNo, "pattern data before any HORIZ or VERT line");
            reader.AddPoint(*open, lineNo, f[1], f[2], map, block);
            continue;
        }
        if (key == "HORIZ" || key == "VERT") {
            close();
            const bool back = key == "VERT" && f[2] == "180";
            open = key == "HORIZ" ? &pattern.azimuth : &pattern.elevation;
            if (open->headerLine == 0)
                open->headerLine = lineNo;
            openStart = open->points.size();
            announced = f.size() > 3 && !f[3].empty() ? reader.Count(lineNo, f[3]) : -1;
            map = key == "HORIZ" ? kPipeAngles[0].toRecord
                  : back         ? kPipeAngles[2].toRecord
                                 : kPipeAngles[1].toRecord;
            ++block;
            continue;
        }
        const std::string_view value = f[2];
        if (key == "MFR" || key == "MANUF")
            pattern.maker = std::string(value);
        else if (key == "MODEL")
            pattern.name = std::string(value);
        else if (key == "DESC" || key == "DESCR") {
            // Between the second and the last bar, blanks included.
            const std::string_view raw = lines[i];
            const std::size_t start = raw.find('|', raw.find('|') + 1) + 1;
            const std::size_t end = raw.rfind('|');
            pattern.description = std::string(raw.substr(start, end > start ? end - start : 0));
        } else if (key == "FREQ")
            ReadFrequency(pattern, value);
        else if (key == "POLARIZATION")
            pattern.polarisation = std::string(value);
        else if (key == "HBEAM" || key == "HORIZ BEAM WIDTH")
            pattern.azimuthBeamwidth = StatedValue(value);
        else if (key == "VBEAM" || key == "VERT BEAM WIDTH")
            pattern.elevationBeamwidth = StatedValue(value);
        else if (key == "HORIZ OFFSET")
            pattern.tilt = StatedValue(value);
        else if (key == "MAXGAIN")
            maxGain = StatedValue(value);
        else if (key == "DBD/DBI FLAG")
            gainInDBi = UpperCase(value) == "DBI";
        else if (key == "LENGTH")
            if (const TStated feet = StatedValue(value))
                pattern.lengthMetres = FloatToStrGeneral(*feet * 12 / 0.03937 / 1000);
    }
    close();
    if (pattern.azimuth.points.empty() && pattern.elevation.points.empty())
        reader.Fail("no pattern data found");
    reader.CloseCut(pattern.azimuth, -1);
    reader.CloseCut(pattern.elevation, -1);

    if (maxGain) {
        // The azimuth cut lies over the gain at the horizon, which the front elevation table
        // holds at its angle 0.
        SetGainDBd(pattern, maxGain);
        double horizon = *maxGain;
        for (const TPatternPoint& p : pattern.elevation.points)
            if (p.block == pattern.elevation.points.front().block && p.fileAngle == 0) {
                horizon = p.level;
                break;
            }
        ShiftLevels(pattern.azimuth, -horizon);
        ShiftLevels(pattern.elevation, -*maxGain);
    } else {
        // No gain stated: the highest level is the gain, in the flag's unit.
        const TStated gain = StatedNumber(HighestLevel(pattern));
        if (gainInDBi)
            pattern.gainDBi = gain;
        else
            SetGainDBd(pattern, gain);
        RemoveGain(pattern, gain);
        reader.Warn(0, "the gain is taken from the highest level");
    }
    reader.NameFromFile(pattern);
    data.patterns.push_back(std::move(pattern));
}

TPipeSigns PipeSigns(const TFormatProbe& probe)
{
    TPipeSigns signs;
    for (std::string_view line : probe.textLines) {
        if (line.starts_with("|HORIZ|") || line.starts_with("|VERT|") ||
            line.starts_with("|MODEL|"))
            signs.tables = true;
        if (line.starts_with("|MAXGAIN|") || line.starts_with("A|"))
            signs.maxGain = true;
    }
    return signs;
}

void AddPipeLevelTables(TTextBuilder& text, const TQuvFile& record, const TLevelBase& azimuthBase,
                        const TLevelBase& elevationBase, bool spaced)
{
    // The angle texts are the same in every file: formatted once, for -90..359.
    static const std::vector<std::string> angles = [] {
        std::vector<std::string> texts;
        for (int angle = -90; angle < 360; ++angle)
            texts.push_back(Format("|%3d|", {angle}));
        return texts;
    }();
    std::string line;
    const auto add = [&](int angle, const TLevelBase& base, std::string_view level) {
        line = angles[static_cast<std::size_t>(angle + 90)];
        AppendLevelSum(line, base, level, 3);
        line += '|';
        text.Line(line);
    };
    text.Line("|HORIZ|0|72|");
    for (int a = 0; a < 360; a += 5)
        add(a, azimuthBase, conventions::AzimuthLevel(record, kPipeAngles[0], a));
    if (spaced)
        text.Line("");
    text.Line("|VERT|0|181|");
    for (int t = -90; t <= 90; ++t)
        add(t, elevationBase, conventions::ElevationLevel(record, kPipeAngles[1], t));
    if (spaced)
        text.Line("");
    text.Line("|VERT|180|181|");
    for (int t = -90; t <= 90; ++t)
        add(t, elevationBase, conventions::ElevationLevel(record, kPipeAngles[2], t));
}

} // namespace quv
