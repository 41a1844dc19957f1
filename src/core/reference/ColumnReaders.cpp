// Formats of relative levels in angle/level columns after a short header: EDX (quoted name line,
// azimuth up to "999", then vertical slices), QEDesign and CDMA ("value<TAB>## comment" header)
// and PathPro ("::HEADER" of unlabelled values).
#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "reference/PatternConventions.h"
#include "reference/ReaderSupport.h"

#include <cmath>

namespace quv {

namespace {

// A line of two numbers split at commas, tabs or blanks.
std::vector<std::string_view> Columns(std::string_view line)
{
    if (line.find(',') != std::string_view::npos)
        return Fields(line);
    return Words(line);
}

// The quoted model of an EDX header line ('O''K' is O'K); `rest` receives the text after it.
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

} // namespace

void ReadEdx(TReaderBase& reader, TPatternFileData& data)
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
        reader.AddPoint(pattern.azimuth, i + 1, c[0], c[1], conventions::Same);
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
                        "missing-angle");
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
        const TAngleMap map = isFront ? conventions::AboveHorizon : conventions::EdxBackSlice;
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
                    "field-or-db");
    } else if (field) {
        for (TPatternCutPoints* cut : {&pattern.azimuth, &pattern.elevation})
            for (TPatternPoint& p : cut->points)
                p.level = p.level > 0 ? 20 * std::log10(p.level) : -200;
    } else if (positive) {
        reader.Warn(headLine, "pattern key 2 (relative dB) with positive levels", "field-or-db");
    }
    reader.NameFromFile(pattern);
    data.patterns.push_back(std::move(pattern));
}

void ReadQeDesign(TReaderBase& reader, TPatternFileData& data)
{
    TFilePattern pattern;
    pattern.azimuth.title = "Horizontal Radiation Pattern";
    pattern.elevation.title = "Vertical Radiation Pattern";
    TPatternCutPoints* open = nullptr;
    TAngleMap map = conventions::Same;
    const auto& lines = reader.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t lineNo = i + 1;
        const std::string_view line = TrimControl(lines[i]);
        if (line.empty())
            continue;
        const std::size_t hash = line.find("##");
        if (hash == std::string_view::npos) {
            if (!open)
                reader.FailAt(lineNo, "pattern data before a radiation pattern line");
            const std::vector<std::string_view> c = Columns(line);
            if (c.size() < 2)
                reader.FailAt(lineNo, "expected an angle and a level, found " + Quote(line));
            reader.AddPoint(*open, lineNo, c[0], c[1], map);
            continue;
        }
        const std::string comment = LowerCase(line.substr(hash));
        const std::string_view value = TrimControl(line.substr(0, hash));
        if (comment.find("horizontal radiation pattern") != std::string::npos) {
            open = &pattern.azimuth;
            open->headerLine = lineNo;
            map = conventions::Same;
        } else if (comment.find("vertical radiation pattern") != std::string::npos) {
            open = &pattern.elevation;
            open->headerLine = lineNo;
            map = conventions::AboveHorizon;
        } else if (comment.find("manufacturer") != std::string::npos) {
            pattern.maker = std::string(value);
        } else if (comment.find("model") != std::string::npos) {
            pattern.name = std::string(value);
        } else if (comment.find("gain") != std::string::npos) {
            if (comment.find("dbi") != std::string::npos)
                pattern.gainDBi = StatedValue(value);
            else
                SetGainDBd(pattern, StatedValue(value));
        } else if (comment.find("horizontal beamwidth") != std::string::npos) {
            pattern.azimuthBeamwidth = StatedValue(value);
        } else if (comment.find("vertical beamwidth") != std::string::npos) {
            pattern.elevationBeamwidth = StatedValue(value);
        } else if (comment.find("front-to-back") != std::string::npos) {
            pattern.frontToBack = StatedValue(value);
        } else if (comment.find("minimum operating frequency") != std::string::npos) {
            pattern.lowMHz = StatedValue(value);
        } else if (comment.find("maximum operating frequency") != std::string::npos) {
            pattern.highMHz = StatedValue(value);
        } else if (comment.find("polarization") != std::string::npos) {
            pattern.polarisation = std::string(value);
        } else if (comment.find("downtilt") != std::string::npos) {
            pattern.tilt = StatedValue(value);
        } else if (comment.find("maximum input power") != std::string::npos) {
            KeepText(pattern, "Max Input Power, watts", value);
        } else if (comment.find("input impedance") != std::string::npos) {
            KeepText(pattern, "Impedance, ohms", value);
        } else if (comment.find("voltage standing wave ratio") != std::string::npos) {
            // "1.30:1" is the ratio the return loss text carries in brackets.
            if (!value.empty())
                KeepText(pattern, "Return Loss, dB (VSWR)",
                         "(<" + std::string(value.substr(0, value.find(':'))) + ")");
        } else if (comment.find("weight (kg)") != std::string::npos) {
            KeepText(pattern, "Antenna Weight, kg (lb)", value, " ");
        } else if (comment.find("wind area") != std::string::npos) {
            KeepText(pattern, "Flat Plate Area, sq.m (sq.ft)", value, " ");
        } else if (comment.find("max wind speed") != std::string::npos) {
            KeepText(pattern, "Survival Wind Speed, km/h (mph)", value, " ");
        } else if (comment.find("lightning protection") != std::string::npos) {
            KeepText(pattern, "Lightning Protection", value);
        } else if (comment.find("connector type") != std::string::npos) {
            KeepText(pattern, "Connector Type", value);
        } else if (comment.find("radome type") != std::string::npos) {
            KeepText(pattern, "Radome Material", value);
        } else if (comment.find("height (cm)") != std::string::npos) {
            if (const TStated cm = StatedValue(value))
                pattern.lengthMetres = FloatToStrGeneral(*cm / 100);
        }
    }
    if (!pattern.azimuth.headerLine && !pattern.elevation.headerLine)
        reader.Fail("no pattern data found");
    if (!pattern.azimuth.headerLine)
        reader.Fail("no horizontal radiation pattern found");
    if (!pattern.elevation.headerLine)
        reader.Fail("no vertical radiation pattern found");
    reader.CloseCut(pattern.azimuth, -1);
    reader.CloseCut(pattern.elevation, -1);
    reader.NameFromFile(pattern);
    data.patterns.push_back(std::move(pattern));
}

void ReadPathPro(TReaderBase& reader, TPatternFileData& data)
{
    TFilePattern pattern;
    pattern.azimuth.title = "::HORIZONTAL block";
    pattern.elevation.title = "::VERTICAL block";
    TPatternCutPoints* open = nullptr;
    TAngleMap map = conventions::Same;
    std::vector<std::string_view> header;
    bool inHeader = false;
    std::vector<long> announced(2, -1);
    const auto& lines = reader.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t lineNo = i + 1;
        const std::string_view line = TrimControl(lines[i]);
        if (line.starts_with("::")) {
            const std::vector<std::string_view> w = Words(line);
            const std::string key = UpperCase(w.front());
            inHeader = key == "::HEADER";
            open = nullptr;
            if (key == "::HORIZONTAL" || key == "::VERTICAL") {
                const bool az = key == "::HORIZONTAL";
                open = az ? &pattern.azimuth : &pattern.elevation;
                open->headerLine = lineNo;
                map = az ? conventions::Same : conventions::AboveHorizon;
                if (w.size() > 1)
                    announced[az ? 0 : 1] = reader.Count(lineNo, w[1]);
            }
            continue;
        }
        if (inHeader) {
            header.push_back(line);
            continue;
        }
        if (line.empty())
            continue;
        if (!open)
            reader.FailAt(lineNo, "pattern data outside a ::HORIZONTAL or ::VERTICAL block");
        const std::vector<std::string_view> c = Columns(line);
        if (c.size() < 2)
            reader.FailAt(lineNo, "expected an angle and a level, found " + Quote(line));
        reader.AddPoint(*open, lineNo, c[0], c[1], map);
    }
    if (!pattern.azimuth.headerLine && !pattern.elevation.headerLine)
        reader.Fail("no pattern data found");
    if (!pattern.azimuth.headerLine)
        reader.Fail("no ::HORIZONTAL block found");
    if (!pattern.elevation.headerLine)
        reader.Fail("no ::VERTICAL block found");
    reader.CloseCut(pattern.azimuth, announced[0]);
    reader.CloseCut(pattern.elevation, announced[1]);
    // The header's values in their fixed order: units, tilt, front-to-back, beamwidths, upper
    // and lower frequency, gain, model, maker, length in metres.
    header.resize(std::max<std::size_t>(header.size(), 11));
    const bool dbi = UpperCase(header[0]) == "DBI";
    pattern.tilt = StatedValue(header[1]);
    pattern.frontToBack = StatedValue(header[2]);
    pattern.azimuthBeamwidth = StatedValue(header[3]);
    pattern.elevationBeamwidth = StatedValue(header[4]);
    pattern.highMHz = StatedValue(header[5]);
    pattern.lowMHz = StatedValue(header[6]);
    if (dbi)
        pattern.gainDBi = StatedValue(header[7]);
    else
        SetGainDBd(pattern, StatedValue(header[7]));
    pattern.name = std::string(header[8]);
    pattern.maker = std::string(header[9]);
    pattern.lengthMetres = std::string(header[10]);
    reader.NameFromFile(pattern);
    data.patterns.push_back(std::move(pattern));
}

} // namespace quv
