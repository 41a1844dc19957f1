// Formats whose levels are gains (the antenna's gain plus the relative level): WIZARD, CE4 and
// PDF ("|KEY|value|" lines and pipe tables), GRANET and CelPlan. The reader removes the gain the
// header states; without one, the highest level stands for it.
#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "reference/PatternConventions.h"
#include "reference/ReaderSupport.h"

#include <algorithm>

namespace quv {

namespace {

// Removes `gain` from every level, or the highest level when the file states no gain.
void RemoveGain(TFilePattern& pattern, const TStated& gain)
{
    const double reference = gain ? *gain : HighestLevel(pattern);
    ShiftLevels(pattern.azimuth, -reference);
    ShiftLevels(pattern.elevation, -reference);
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

void ReadPipeTables(TReaderBase& reader, TPatternFileData& data)
{
    TFilePattern pattern;
    pattern.azimuth.title = "HORIZ table";
    pattern.azimuth.formatStep = 5;
    pattern.elevation.title = "VERT tables";
    TPatternCutPoints* open = nullptr;
    long announced = -1;
    std::size_t openStart = 0;
    TAngleMap map = conventions::Same;
    int block = 0;
    auto close = [&] {
        if (open && announced >= 0 &&
            static_cast<long>(open->points.size()) - static_cast<long>(openStart) < announced)
            reader.Warn(open->headerLine,
                        "a table of the " + open->title + " holds fewer points than it announces",
                        "missing-angle");
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
            map = back ? conventions::PipeBackHalf : conventions::Same;
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
        // WIZARD: the azimuth cut lies over the gain at the horizon, which the front elevation
        // table holds at its angle 0.
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
        // CE4 and PDF state no gain: their highest level is the gain, in the flag's unit.
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

void ReadGranet(TReaderBase& reader, TPatternFileData& data)
{
    TFilePattern pattern;
    pattern.azimuth.title = "horizontal cut";
    pattern.elevation.title = "vertical cut";
    TPatternCutPoints* open = nullptr;
    TAngleMap map = conventions::Same;
    const auto& lines = reader.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t lineNo = i + 1;
        const std::vector<std::string_view> words = Words(lines[i]);
        if (words.empty())
            continue;
        double number = 0;
        if (TryStrToFloat(words[0], number)) {
            if (!open)
                reader.FailAt(lineNo, "pattern data before the horizontal or vertical line");
            if (words.size() < 2)
                reader.FailAt(lineNo, "expected an angle and a level, found " + Quote(lines[i]));
            reader.AddPoint(*open, lineNo, words[0], words[1], map);
            continue;
        }
        const std::string key = LowerCase(words[0]);
        const std::string_view value = RestAfterWord(lines[i], words[0]);
        if (key == "horizontal" || key == "vertical") {
            open = key == "horizontal" ? &pattern.azimuth : &pattern.elevation;
            open->headerLine = lineNo;
            map = key == "horizontal" ? conventions::Negated : conventions::GranetVertical;
        } else if (key == "model_number") {
            pattern.name = std::string(value);
        } else if (key == "manufacturer") {
            pattern.maker = std::string(value);
        } else if (key == "gain") {
            SetStatedGain(pattern, value);
        } else if (key == "h_beamwidth") {
            pattern.azimuthBeamwidth = StatedValue(value);
        } else if (key == "v_beamwidth") {
            pattern.elevationBeamwidth = StatedValue(value);
        } else if (key == "front_to_back") {
            pattern.frontToBack = StatedValue(value);
        } else if (key == "lobe_tilt") {
            pattern.tilt = StatedValue(value);
        } else if (key == "meas_freq") {
            pattern.measuredMHz = StatedValue(value);
        } else if (key == "description") {
            pattern.description = std::string(value);
        } else if (key == "polarization") {
            pattern.polarisation = std::string(value);
        } else if (key == "length") {
            pattern.lengthMetres = StatedValue(value).text;
        } else if (key == "wind_area") {
            const std::vector<std::string_view> w = Words(value);
            if (!w.empty())
                KeepText(pattern, "Flat Plate Area, sq.m (sq.ft)", w.front(), " ");
        }
    }
    if (pattern.azimuth.headerLine == 0 && pattern.elevation.headerLine == 0)
        reader.Fail("no pattern data found");
    if (pattern.azimuth.headerLine == 0)
        reader.Fail("no horizontal cut found");
    if (pattern.elevation.headerLine == 0)
        reader.Fail("no vertical cut found");
    reader.CloseCut(pattern.azimuth, -1);
    reader.CloseCut(pattern.elevation, -1);
    RemoveGain(pattern, pattern.gainDBd ? pattern.gainDBd : pattern.gainDBi);
    reader.NameFromFile(pattern);
    data.patterns.push_back(std::move(pattern));
}

void ReadCelPlan(TReaderBase& reader, TPatternFileData& data)
{
    TFilePattern pattern;
    pattern.azimuth.title = "Azm table";
    pattern.elevation.title = "Elv table";
    TPatternCutPoints* open = nullptr;
    const auto& lines = reader.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t lineNo = i + 1;
        const std::vector<std::string_view> words = Words(lines[i]);
        if (words.empty())
            continue;
        double number = 0;
        if (TryStrToFloat(words[0], number)) {
            if (!open)
                reader.FailAt(lineNo, "pattern data before the Azm or Elv line");
            if (words.size() < 2)
                reader.FailAt(lineNo, "expected an angle and a level, found " + Quote(lines[i]));
            reader.AddPoint(*open, lineNo, words[0], words[1], conventions::Same);
            continue;
        }
        const std::string key = LowerCase(words[0]);
        const std::string_view value = RestAfterWord(lines[i], words[0]);
        if (key == "azm" || key == "elv") {
            open = key == "azm" ? &pattern.azimuth : &pattern.elevation;
            open->headerLine = lineNo;
        } else if (key == "mod:") {
            pattern.name = std::string(value);
        } else if (key == "man:") {
            pattern.maker = std::string(value);
        } else if (key == "dsc:") {
            pattern.description = std::string(value);
        } else if (key == "ngn:") {
            SetStatedGain(pattern, value);
        } else if (key == "hbw:") {
            pattern.azimuthBeamwidth = StatedValue(value);
        } else if (key == "vbw:") {
            pattern.elevationBeamwidth = StatedValue(value);
        } else if (key == "mnf:") {
            pattern.lowMHz = StatedValue(value);
        } else if (key == "mxf:") {
            pattern.highMHz = StatedValue(value);
        } else if (key == "siz:") {
            pattern.lengthMetres = StatedValue(value).text;
        }
    }
    if (!pattern.azimuth.headerLine && !pattern.elevation.headerLine)
        reader.Fail("no pattern data found");
    if (!pattern.azimuth.headerLine)
        reader.Fail("no Azm table found");
    if (!pattern.elevation.headerLine)
        reader.Fail("no Elv table found");
    reader.CloseCut(pattern.azimuth, -1);
    reader.CloseCut(pattern.elevation, -1);
    RemoveGain(pattern, pattern.gainDBd ? pattern.gainDBd : pattern.gainDBi);
    reader.NameFromFile(pattern);
    data.patterns.push_back(std::move(pattern));
}

} // namespace quv
