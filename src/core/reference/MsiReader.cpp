// The keyword files of the MSI family (Planet, Tornado, Siemens, Nokia, vendors' ".msi") and
// Odyssey, which shares the layout with tab separators and points numbered 1 to 360.
#include "catalogue/NumberText.h"
#include "catalogue/QuvFile.h"
#include "catalogue/SharedLib.h"
#include "reference/PatternConventions.h"
#include "reference/ReaderSupport.h"

#include <algorithm>
#include <cmath>

namespace quv {

namespace {

const std::vector<std::string_view>& MsiKeywords()
{
    static const std::vector<std::string_view> words{
        "NAME",     "MAKE",     "FREQUENCY",    "H_WIDTH",     "V_WIDTH",        "FRONT_TO_BACK",
        "GAIN",     "TILT",     "POLARIZATION", "COMMENT",     "COMMENTS",       "HORIZONTAL",
        "VERTICAL", "FILENAME", "BEAM_WIDTH",   "ANTENNATYPE", "ELECTRICAL_TILT"};
    return words;
}

// "NAME", "name", "AntennaType:" alike.
std::string Keyword(std::string_view word)
{
    std::string k = UpperCase(word);
    if (!k.empty() && k.back() == ':')
        k.pop_back();
    return k;
}

bool IsMsiKeyword(std::string_view word)
{
    // Points start with a digit or a sign; only words may be keywords.
    const char c = word.front();
    if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.')
        return false;
    const std::string k = Keyword(word);
    const auto& words = MsiKeywords();
    return std::find(words.begin(), words.end(), k) != words.end();
}

// "GAIN 15", "GAIN 15 dBd", "GAIN 17.1 dBi", "GAIN 17.1dBi": dBd unless it says dBi.
void ReadGain(TReaderBase& reader, TFilePattern& pattern, std::size_t line, std::string_view value)
{
    std::string text(value);
    const std::string upper = UpperCase(text);
    bool dbi = false;
    for (const char* unit : {"DBI", "DBD"}) {
        const std::size_t at = upper.rfind(unit);
        if (at != std::string::npos && at + 3 == upper.size()) {
            dbi = std::string_view(unit) == "DBI";
            text.resize(at);
            break;
        }
    }
    double number = 0;
    if (!TryStrToFloat(text, number)) {
        reader.Warn(line, "gain " + Quote(value) + " is not a number");
        return;
    }
    const TStated stated{number, std::string(TrimControl(text))};
    if (dbi)
        pattern.gainDBi = stated;
    else
        SetGainDBd(pattern, stated);
}

} // namespace

void ReadMsi(TReaderBase& reader, TPatternFileData& data)
{
    const bool odyssey = data.format == TPatternFileFormat::Odyssey;
    TFilePattern pattern;
    pattern.azimuth.title = "HORIZONTAL block";
    pattern.elevation.title = "VERTICAL block";
    bool horizontal = false, vertical = false;
    std::string fileNameKeyword, makeKeyword;
    bool named = false;
    const auto& lines = reader.Lines();
    std::size_t i = 0;
    while (i < lines.size()) {
        const std::size_t lineNo = i + 1;
        const std::string_view line = lines[i++];
        const std::vector<std::string_view> words = Words(line);
        if (words.empty())
            continue;
        const std::string keyword = Keyword(words.front());
        const std::string_view value = RestAfterWord(line, words.front());
        if (keyword == "HORIZONTAL" || keyword == "VERTICAL") {
            const bool az = keyword == "HORIZONTAL";
            TPatternCutPoints& cut = az ? pattern.azimuth : pattern.elevation;
            bool& seen = az ? horizontal : vertical;
            if (seen)
                reader.FailAt(lineNo, "a second " + cut.title);
            if (words.size() < 2)
                reader.FailAt(lineNo, keyword + " needs the number of points");
            seen = true;
            cut.headerLine = lineNo;
            const long announced = reader.Count(lineNo, words[1]);
            cut.points.reserve(static_cast<std::size_t>(announced));
            const TAngleMap map = odyssey && az ? conventions::Negated : conventions::Same;
            // The block is the next `announced` data lines; a keyword line ends it early.
            std::string_view point[2];
            while (i < lines.size() && static_cast<long>(cut.points.size()) < announced) {
                const std::size_t words = FirstWords(lines[i], point);
                if (words == 0) {
                    ++i;
                    continue;
                }
                if (IsMsiKeyword(point[0]))
                    break;
                if (words < 2)
                    reader.FailAt(i + 1, "expected an angle and a level, found " + Quote(lines[i]));
                reader.AddPoint(cut, i + 1, point[0], point[1], map);
                ++i;
            }
            const long held = static_cast<long>(cut.points.size());
            if (held > 0 && held < announced)
                reader.Warn(lineNo,
                            "the " + cut.title + " holds " + std::to_string(held) + " of the " +
                                std::to_string(announced) + " points it announces",
                            "missing-angle");
            reader.CloseCut(cut, -1);
            continue;
        }
        double number = 0;
        if (TryStrToFloat(words.front(), number))
            reader.FailAt(lineNo, "pattern data outside a HORIZONTAL or VERTICAL block");
        if (keyword == "NAME" || keyword == "ANTENNATYPE") {
            pattern.name = std::string(value);
            named = true;
        } else if (keyword == "FILENAME") {
            fileNameKeyword = std::string(value);
        } else if (keyword == "MAKE") {
            makeKeyword = std::string(value);
        } else if (keyword == "FREQUENCY") {
            pattern.measuredMHz = StatedValue(value);
            if (!pattern.measuredMHz && !value.empty())
                reader.Warn(lineNo, "frequency " + Quote(value) + " is not a number");
        } else if (keyword == "GAIN") {
            ReadGain(reader, pattern, lineNo, value);
        } else if (keyword == "H_WIDTH" || keyword == "BEAM_WIDTH") {
            pattern.azimuthBeamwidth = StatedValue(value);
        } else if (keyword == "V_WIDTH") {
            pattern.elevationBeamwidth = StatedValue(value);
        } else if (keyword == "FRONT_TO_BACK") {
            pattern.frontToBack = StatedValue(value);
        } else if (keyword == "TILT" || keyword == "ELECTRICAL_TILT") {
            if (UpperCase(value).starts_with("MECH"))
                pattern.mechanicalTilt = true;
            else if (const TStated tilt = StatedValue(value))
                pattern.tilt = tilt;
        } else if (keyword == "POLARIZATION") {
            pattern.polarisation = std::string(value);
        } else if (keyword == "COMMENT" || keyword == "COMMENTS") {
            pattern.description = std::string(value);
        }
    }
    if (!horizontal && !vertical)
        reader.Fail("no pattern data found");
    if (!horizontal)
        reader.Fail("no HORIZONTAL block found");
    if (!vertical)
        reader.Fail("no VERTICAL block found");

    // The program's own Planet and Tornado files name the target (part number, "_", pattern
    // file) under FILENAME or NAME and put the part number under MAKE; its Siemens file writes
    // "Tavrin-" before the part number. Other makers name the model under NAME and themselves
    // under MAKE.
    const std::string target = named ? pattern.name : fileNameKeyword;
    const std::string tavrin = std::string(kMakerName.substr(0, kMakerName.find(' '))) + "-";
    if (!makeKeyword.empty() && (target == makeKeyword || target.starts_with(makeKeyword + "_"))) {
        pattern.name = makeKeyword;
    } else if (data.format == TPatternFileFormat::Siemens && makeKeyword.starts_with(tavrin)) {
        pattern.name = makeKeyword.substr(tavrin.size());
        pattern.maker = kMakerName;
    } else {
        pattern.name = target;
        pattern.maker = makeKeyword;
    }
    // Levels are attenuations below the maximum, written without a sign by most tools and with
    // a minus by some: the magnitude is what they mean.
    for (TPatternCutPoints* cut : {&pattern.azimuth, &pattern.elevation})
        for (TPatternPoint& p : cut->points)
            p.level = -std::fabs(p.level);
    reader.NameFromFile(pattern);
    data.patterns.push_back(std::move(pattern));
}

} // namespace quv
