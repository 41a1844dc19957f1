#include "reference/PatternImport.h"

#include "catalogue/Errors.h"
#include "catalogue/NumberText.h"
#include "catalogue/PatternMetrics.h"
#include "catalogue/SharedLib.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace quv {

namespace {

// Levels keep three decimals, as many as any format writes, without trailing zeros: the text
// FloatToStrGeneral gives for the rounded value, built from whole thousandths because an import
// writes 722 of them per antenna.
void AppendLevelText(std::string& out, double level)
{
    long long n = std::llround(level * 1000);
    if (n < 0) {
        out += '-';
        n = -n;
    }
    char whole[24];
    const auto end = std::to_chars(whole, whole + sizeof whole, n / 1000).ptr;
    out.append(whole, end);
    int fraction = static_cast<int>(n % 1000);
    if (fraction == 0)
        return;
    char digits[4] = {static_cast<char>('0' + fraction / 100),
                      static_cast<char>('0' + fraction / 10 % 10),
                      static_cast<char>('0' + fraction % 10), 0};
    int length = 3;
    while (digits[length - 1] == '0')
        --length;
    out += '.';
    out.append(digits, static_cast<std::size_t>(length));
}

std::string Rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    return FloatToStrGeneral(rounded == 0 ? 0.0 : rounded);
}

// A header value stays on its line whatever the file held.
std::string OneLine(std::string_view text)
{
    std::string out(TrimControl(text));
    for (char& c : out)
        if (static_cast<unsigned char>(c) < ' ')
            c = ' ';
    return out;
}

std::string BaseName(const std::string& path)
{
    return path.substr(path.find_last_of('/') + 1);
}

std::string PolarisationText(std::string_view stated)
{
    // The planning tools' codes become the catalogue's words; any other text is kept.
    const std::string upper = UpperCase(TrimControl(stated));
    if (upper == "V/V" || upper == "V" || upper == "POL_V")
        return "Vertical";
    if (upper == "H/H" || upper == "H" || upper == "POL_H")
        return "Horizontal";
    if (upper == "SLR/SLR" || upper == "+45/+45" || upper == "-45/-45" || upper == "+45" ||
        upper == "-45")
        return "Slant";
    return OneLine(stated);
}

std::string FormatName(const TFileFormat* format)
{
    return std::string(PatternFormatName(format));
}

// The record's header texts from what the file states, the rest measured from `levels`; the
// record's cuts are left alone.
void FillHeader(TQuvFile& r, const TPatternFileData& data, const TFilePattern& p,
                const TPatternLevels& levels, TImportStyle style,
                std::vector<std::string>& warnings)
{
    const std::string source = BaseName(data.fileName);
    for (const TReadNote& note : data.notes)
        warnings.push_back(note.text);
    if (levels.azimuthCoarse || levels.elevationCoarse) {
        const char* which = !levels.elevationCoarse ? "the azimuth cut has"
                            : !levels.azimuthCoarse ? "the elevation cut has"
                                                    : "both cuts have";
        warnings.push_back(std::string(which) +
                           " no level at every degree; the levels between the file's "
                           "points are interpolated linearly in dB");
    }
    const TAzimuthMetrics az = MeasureAzimuth(levels.azimuth);
    const TElevationMetrics el = MeasureElevation(levels.elevation);
    const bool omni = (p.azimuthBeamwidth && *p.azimuthBeamwidth >= 300) ||
                      (!p.azimuthBeamwidth && az.ripple && *az.ripple < 6);
    std::vector<std::string> measured;
    auto statedOr = [&](const TStated& stated, std::optional<double> value, int decimals,
                        const char* what) {
        if (stated)
            return stated.text;
        if (!value)
            return std::string();
        measured.push_back(what);
        return Rounded(*value, decimals);
    };

    r.PartNumber = OneLine(p.name);
    const TStated& low = p.lowMHz ? p.lowMHz : p.measuredMHz;
    const TStated& high = p.highMHz ? p.highMHz : p.measuredMHz;
    r.BeginFrequency = r.BeginSubFrequency = low.text;
    r.EndFrequency = r.EndSubFrequency = high.text;
    r.MeasuredFrequency = p.measuredMHz ? p.measuredMHz.text
                          : low && high ? Rounded((*low + *high) / 2, 1)
                                        : std::string();
    r.AntennaType = omni ? "Omni" : "Panel";
    if (p.gainDBd) {
        r.GainDBd = p.gainDBd.text;
        r.GainDBi = Rounded(*p.gainDBd + kDipoleGainDBi, 2);
    } else if (p.gainDBi) {
        r.GainDBi = p.gainDBi.text;
        r.GainDBd = Rounded(*p.gainDBi - kDipoleGainDBi, 2);
    } else {
        warnings.push_back("the file states no gain; the gain is left empty");
    }
    // A converted file keeps the tilt it states and nothing else, so the writers put no
    // measured value where the source had none.
    if (p.mechanicalTilt && !p.tilt)
        r.ElectricalDowntilt = "0";
    else if (style == TImportStyle::Convert)
        r.ElectricalDowntilt = p.tilt.text;
    else
        r.ElectricalDowntilt = statedOr(p.tilt, el.tilt, 0, "tilt");
    r.PolarizationType = PolarisationText(p.polarisation);
    r.AzimuthBeamwidth = omni && !p.azimuthBeamwidth ? std::string("360")
                                                     : statedOr(p.azimuthBeamwidth, az.beamwidth3dB,
                                                                1, "azimuth beamwidth");
    r.ElevationBeamwidth =
        statedOr(p.elevationBeamwidth, el.beamwidth3dB, 1, "elevation beamwidth");
    // A ratio is a magnitude; some makers write it with a minus sign.
    TStated frontToBack = p.frontToBack;
    if (frontToBack && *frontToBack < 0) {
        frontToBack.value = -*frontToBack;
        frontToBack.text = std::string(TrimControl(frontToBack.text).substr(1));
    }
    r.FrontToBackRatio = statedOr(frontToBack, az.frontToBack, 1, "front-to-back");
    double metres = 0;
    if (!TryStrToFloat(p.lengthMetres, metres) || metres < 0) {
        // Most writers state a length; 0 says "unknown" without failing them.
        metres = 0;
        warnings.push_back("the file states no length; 0 mm is written");
    }
    r.Length =
        Format("%.0f", {metres * 1000}) + " (" + Format("%.1f", {metres * 1000 / 25.4}) + ")";
    if (r.MeasuredFrequency.empty())
        warnings.push_back("the file states no frequency");
    std::string base = source;
    const std::size_t dot = base.rfind('.');
    if (dot != std::string::npos && dot > 0)
        base.resize(dot);
    r.PatternFileName = OneLine(base) + ".quv";
    for (const auto& [key, value] : p.recordTexts)
        for (const THeaderKey& k : HeaderKeys())
            if (k.key == key)
                r.*k.field = OneLine(value) + (value.ends_with(' ') ? " " : "");
    if (style == TImportStyle::Convert) {
        r.Description = p.description;
        for (char& c : r.Description)
            if (static_cast<unsigned char>(c) < ' ')
                c = ' ';
    } else {
        // The description is the maker's own text; where it came from, who made it and what
        // was measured from it go to the pattern description, so the sheet still says so.
        const std::string imported =
            "Imported from " + OneLine(source) + " (" + FormatName(data.format) + ")";
        const std::string own = TrimControl(p.description).empty() ? "" : OneLine(p.description);
        r.Description = own.empty() ? imported : own;
        std::string extended =
            "Patterns imported from " + OneLine(source) + " (" + FormatName(data.format) + ")";
        if (!p.maker.empty() && p.maker != kMakerName)
            extended += ", made by " + OneLine(p.maker);
        extended += ", levels relative to the peak of each cut";
        if (!measured.empty()) {
            extended += "; measured from the pattern: ";
            for (std::size_t k = 0; k < measured.size(); ++k)
                extended += (k ? ", " : "") + measured[k];
        }
        r.ExtendedPatternDescription = extended;
    }
}

std::string DataFileText(const TQuvFile& r, const TPatternLevels& levels)
{
    std::string text;
    text.reserve(722 * 14 + 2048);
    text += "[HEADER]\r\n";
    for (const THeaderKey& key : HeaderKeys()) {
        text += key.key;
        text += '=';
        text += r.*key.field;
        text += "\r\n";
    }
    text += "\r\n[POINTS]\r\n";
    static const std::vector<std::string> angles = [] {
        std::vector<std::string> texts;
        for (int t = -180; t <= 180; ++t)
            texts.push_back(std::to_string(t) + "=");
        return texts;
    }();
    for (const auto* cut : {&levels.azimuth, &levels.elevation})
        for (int t = -180; t <= 180; ++t) {
            text += angles[static_cast<std::size_t>(t + 180)];
            AppendLevelText(text, (*cut)[static_cast<std::size_t>((t + 360) % 360)]);
            text += "\r\n";
        }
    return text;
}

// A cut cut short is refused rather than interpolated into a whole-looking record: the reader
// noted that a block holds fewer points than it announces, or the points leave a gap wider than
// the cut's own step. A format whose native step is coarser (or irregular) is interpolated
// within five of its typical steps.
void CheckComplete(const TPatternFileData& data)
{
    for (const TReadNote& note : data.notes)
        if (note.kind == TFindingKind::MissingAngle)
            throw EQuvError(note.text + "; the file is incomplete");
    for (const TFilePattern& p : data.patterns)
        for (const TPatternCutPoints* cut : {&p.azimuth, &p.elevation}) {
            std::vector<double> angles;
            for (const TPatternPoint& point : cut->points) {
                const double a = std::fmod(std::fmod(point.angle, 360.0) + 360.0, 360.0);
                angles.push_back(a >= 360 - 1e-9 ? 0 : a);
            }
            std::sort(angles.begin(), angles.end());
            angles.erase(std::unique(angles.begin(), angles.end(),
                                     [](double a, double b) { return b - a < 1e-9; }),
                         angles.end());
            if (angles.size() < 2)
                continue;
            std::vector<double> steps;
            for (std::size_t k = 1; k < angles.size(); ++k)
                steps.push_back(angles[k] - angles[k - 1]);
            steps.push_back(angles.front() + 360 - angles.back());
            std::vector<double> sorted = steps;
            std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
            const double typical = sorted[sorted.size() / 2];
            const double allowed = std::max(cut->formatStep, 5 * typical) + 1e-6;
            for (std::size_t k = 0; k < steps.size(); ++k)
                if (steps[k] > allowed) {
                    const double from = angles[k];
                    const double to = k + 1 < angles.size() ? angles[k + 1] : angles.front() + 360;
                    throw EQuvError(
                        "the " + cut->title + " holds " + std::to_string(cut->points.size()) +
                        " points and no level from " + FloatToStrGeneral(from) + " to " +
                        FloatToStrGeneral(to) + " degrees; the file is incomplete");
                }
        }
}

} // namespace

TPatternLevels DataIndexLevels(const TFilePattern& pattern)
{
    TPatternLevels out;
    const TResampledCut az = ResampleCut(pattern.azimuth);
    const TResampledCut el = ResampleCut(pattern.elevation);
    out.azimuthCoarse = az.coarse;
    out.elevationCoarse = el.coarse;
    for (int j = 0; j <= 360; ++j) {
        const auto a = static_cast<std::size_t>((360 - j) % 360);
        out.azimuth[static_cast<std::size_t>(j)] = az.levels[a];
        out.elevation[static_cast<std::size_t>(j)] = el.levels[a];
    }
    for (auto* cut : {&out.azimuth, &out.elevation}) {
        const double peak = *std::max_element(cut->begin(), cut->end());
        for (double& v : *cut)
            v -= peak;
    }
    return out;
}

std::vector<TDataFileText> BuildDataFiles(const TPatternFileData& data, TImportStyle style)
{
    CheckComplete(data);
    std::vector<TDataFileText> files;
    for (const TFilePattern& p : data.patterns) {
        TDataFileText file;
        const TPatternLevels levels = DataIndexLevels(p);
        TQuvFile r;
        FillHeader(r, data, p, levels, style, file.warnings);
        file.partNumber = r.PartNumber;
        file.bytes = DataFileText(r, levels);
        files.push_back(std::move(file));
    }
    return files;
}

std::vector<TImportedRecord> BuildRecords(const TPatternFileData& data, TImportStyle style)
{
    CheckComplete(data);
    std::vector<TImportedRecord> records;
    std::string text;
    for (const TFilePattern& p : data.patterns) {
        TImportedRecord imported;
        imported.record = std::make_unique<TQuvFile>();
        TQuvFile& r = *imported.record;
        const TPatternLevels levels = DataIndexLevels(p);
        FillHeader(r, data, p, levels, style, imported.warnings);
        // What loading the data file would give, without writing and splitting its text.
        r.FileName = r.PartNumber + ".quv";
        r.Make = kMakerName;
        for (auto [cut, list] :
             {std::pair{&levels.azimuth, &r.Azimuth}, std::pair{&levels.elevation, &r.Elevation}}) {
            list->Reserve(361, 361 * 8);
            for (double level : *cut) {
                text.clear();
                AppendLevelText(text, level);
                list->Append(text);
            }
        }
        records.push_back(std::move(imported));
    }
    return records;
}

} // namespace quv
