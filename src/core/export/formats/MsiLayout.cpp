#include "export/formats/MsiLayout.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "export/ExportLib.h"
#include "reference/PatternConventions.h"
#include "reference/ReaderSupport.h"

#include <algorithm>
#include <cmath>

namespace quv {

namespace {

const std::vector<std::string_view>& MsiKeywords()
{
    static const std::vector<std::string_view> words{
        "NAME",     "MAKE",     "FREQUENCY",    "H_WIDTH",     "V_WIDTH",         "FRONT_TO_BACK",
        "GAIN",     "TILT",     "POLARIZATION", "COMMENT",     "COMMENTS",        "HORIZONTAL",
        "VERTICAL", "FILENAME", "BEAM_WIDTH",   "ANTENNATYPE", "ELECTRICAL_TILT", "FREQUENCY_BAND"};
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

} // namespace

void ReadMsiLayout(TReaderBase& reader, TPatternFileData& data, const TMsiOptions& options)
{
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
            const TAngleMap map = az ? options.azimuth.toRecord : options.elevation.toRecord;
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
                            TFindingKind::MissingAngle);
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
        } else if (keyword == "FREQUENCY_BAND") {
            // "1710 - 1920", "1710-1920 MHz": the band the antenna serves.
            const std::size_t dash = value.find('-', 1);
            const TStated low = StatedValue(value.substr(0, dash));
            const TStated high =
                dash == std::string_view::npos ? TStated{} : StatedValue(value.substr(dash + 1));
            if (low && high && *low <= *high) {
                pattern.lowMHz = low;
                pattern.highMHz = high;
            } else if (!value.empty()) {
                reader.Warn(lineNo, "frequency band " + Quote(value) + " is not two numbers");
            }
        } else if (keyword == "GAIN") {
            ReadStatedGain(reader, pattern, lineNo, value, TGainUnit::DBd);
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

    // The program's own files name the target (part number, "_", pattern file) under FILENAME or
    // NAME and put the part number under MAKE, or the maker's prefix and the part number; other
    // makers name the model under NAME and themselves under MAKE.
    const std::string target = named ? pattern.name : fileNameKeyword;
    if (!makeKeyword.empty() && (target == makeKeyword || target.starts_with(makeKeyword + "_"))) {
        pattern.name = makeKeyword;
    } else if (makeKeyword.starts_with(OwnMakePrefix())) {
        pattern.name = makeKeyword.substr(OwnMakePrefix().size());
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

void ReadMsiPlain(TReaderBase& file, TReaderBase*, TPatternFileData& data)
{
    ReadMsiLayout(file, data, {conventions::kSameAzimuth, conventions::kSameElevation});
}

std::string OwnMakePrefix()
{
    return std::string(kMakerName.substr(0, kMakerName.find(' '))) + "-";
}

int TMsiSigns::Base() const
{
    return blocks ? kKeywordScore * std::min(keywordLines, kMaxKeywordLines) : 0;
}

TMsiSigns MsiSigns(const TFormatProbe& probe)
{
    TMsiSigns signs;
    std::string_view words[2];
    for (std::string_view line : probe.textLines) {
        const std::size_t count = FirstWords(line, words);
        if (count == 0 || !IsMsiKeyword(words[0]))
            continue;
        ++signs.keywordLines;
        const std::string k = Keyword(words[0]);
        signs.blocks = signs.blocks || k == "HORIZONTAL" || k == "VERTICAL";
        signs.fileNameKey = signs.fileNameKey || k == "FILENAME";
        signs.namesComments = signs.namesComments || k == "COMMENTS";
        signs.antennaType = signs.antennaType || k == "ANTENNATYPE";
        signs.beamWidth = signs.beamWidth || k == "BEAM_WIDTH";
        signs.polarisationPrefix =
            signs.polarisationPrefix ||
            (k == "POLARIZATION" && count > 1 && UpperCase(words[1]).starts_with("POL_"));
    }
    // The first point after the HORIZONTAL line.
    const auto& lines = *probe.lines;
    for (std::size_t i = 0; i < lines.size() && !signs.firstAzimuthAngle; ++i) {
        if (FirstWords(lines[i], words) == 0 || Keyword(words[0]) != "HORIZONTAL")
            continue;
        for (std::size_t j = i + 1; j < lines.size(); ++j) {
            if (FirstWords(lines[j], words) == 0)
                continue;
            double angle = 0;
            if (TryStrToFloat(words[0], angle))
                signs.firstAzimuthAngle = angle;
            break;
        }
    }
    return signs;
}

int MsiVariantScore(const TFormatProbe& probe, bool TMsiSigns::*marker, int markerScore,
                    std::string_view extensions)
{
    const TMsiSigns signs = MsiSigns(probe);
    if (signs.Base() == 0)
        return 0;
    return signs.Base() + (signs.*marker ? markerScore : 0) +
           (signs.ZeroBased() ? kMsiZeroBasedScore : 0) +
           (probe.ExtensionIn(extensions) ? kExtensionScore : 0);
}

bool IsMechanicalTilt(const TQuvFile& record)
{
    if (IsOmni(record.AntennaType))
        return false;
    double tilt = 0;
    if (!TryStrToFloat(record.ElectricalDowntilt, tilt))
        return false;
    return tilt == 0;
}

void AddAbsoluteCutTables(TTextBuilder& text, const TQuvFile& record, std::string_view angleSuffix,
                          int decimals, const TAngleConvention& azimuth,
                          const TAngleConvention& elevation)
{
    std::string line;
    for (int cut = 0; cut < 2; ++cut) {
        text.Line(cut == 0 ? "HORIZONTAL 360" : "VERTICAL 360");
        for (int a = 0; a < 360; ++a) {
            line.clear();
            AppendInt(line, a);
            line += angleSuffix;
            line += ' ';
            AppendAbsLevel(line,
                           cut == 0 ? conventions::AzimuthLevel(record, azimuth, a)
                                    : conventions::ElevationLevel(record, elevation, a),
                           decimals);
            text.Line(line);
        }
    }
}

} // namespace quv
