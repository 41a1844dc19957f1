#include "catalogue/PatternMetrics.h"

#include "catalogue/ElevationAngles.h"
#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace quv {

namespace {

// Level in any direction: indexes wrap round the 0/360 seam; index 360 is never read, so a cut
// whose two 0-degree entries differ still measures from one of them.
double At(const TCutLevels& cut, int index)
{
    return cut[static_cast<std::size_t>(((index % 360) + 360) % 360)];
}

int PeakIndex(const TCutLevels& cut, int from, int to)
{
    int best = from;
    for (int i = from + 1; i <= to; ++i)
        if (At(cut, i) > At(cut, best))
            best = i;
    return best;
}

// Distance in degrees from the peak to where the level first falls below `threshold`, walking in
// direction `dir` (+1 or -1); linear between the 1-degree points.
std::optional<double> EdgeDistance(const TCutLevels& cut, int peak, double threshold, int dir,
                                   int maxSteps)
{
    for (int s = 1; s <= maxSteps; ++s) {
        const double a = At(cut, peak + dir * (s - 1));
        const double b = At(cut, peak + dir * s);
        if (b < threshold)
            return (s - 1) + (a - threshold) / (a - b);
    }
    return std::nullopt;
}

std::optional<double> Beamwidth(const TCutLevels& cut, int peak, double below, int maxSteps)
{
    const double threshold = At(cut, peak) - below;
    const auto right = EdgeDistance(cut, peak, threshold, +1, maxSteps);
    const auto left = EdgeDistance(cut, peak, threshold, -1, maxSteps);
    if (!right || !left)
        return std::nullopt;
    return *right + *left;
}

// Steps from the peak to the first local minimum lower than 3 dB below the peak (so a ripple
// on the main beam's shoulder is not taken for the null), walking in `dir` at most `maxSteps`.
std::optional<int> FirstNull(const TCutLevels& cut, int peak, int dir, int maxSteps)
{
    const double limit = At(cut, peak) - 3.0;
    for (int s = 1; s < maxSteps; ++s) {
        const double here = At(cut, peak + dir * s);
        if (here < limit && here <= At(cut, peak + dir * (s - 1)) &&
            At(cut, peak + dir * (s + 1)) > here)
            return s;
    }
    return std::nullopt;
}

std::string Number1(double value)
{
    return Format("%.1f", {value});
}

std::string Trimmed(std::string_view text)
{
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos)
        return {};
    const auto end = text.find_last_not_of(" \t");
    return std::string(text.substr(begin, end - begin + 1));
}

// The whole text as a number, else its first blank-separated word ("65 (typ)" is 65).
std::optional<double> LeadingNumber(std::string_view text)
{
    const std::string t = Trimmed(text);
    double value = 0;
    if (TryStrToFloat(t, value) && std::isfinite(value))
        return value;
    const auto blank = t.find(' ');
    if (blank != std::string::npos && TryStrToFloat(t.substr(0, blank), value) &&
        std::isfinite(value))
        return value;
    return std::nullopt;
}

const char* CutName(bool azimuth)
{
    return azimuth ? "azimuth" : "elevation";
}

void CutFindings(const TPatternCut& cut, bool azimuth, std::vector<std::string>& findings)
{
    const std::string name = CutName(azimuth);
    if (cut.size() < 361) {
        findings.push_back(name + " cut holds " + std::to_string(cut.size()) +
                           " levels, 361 needed");
        return;
    }
    for (std::size_t i = 0; i <= 360; ++i) {
        double value = 0;
        if (!TryStrToFloat(cut[i], value) || !std::isfinite(value)) {
            findings.push_back(name + " level '" + std::string(cut[i]) + "' at index " +
                               std::to_string(i) + " is not a number");
            return;
        }
    }
    const TCutLevels levels = *CutLevels(cut);
    const double peak = PeakLevel(levels);
    if (std::fabs(peak) > 0.5)
        findings.push_back(name + " peak is " + Format("%.2f", {peak}) +
                           " dB, not within 0.5 dB of 0 dB");
    if (levels[0] != levels[360])
        findings.push_back(name + " levels at 0 and 360 degrees differ (" + std::string(cut[0]) +
                           " and " + std::string(cut[360]) + ")");
}

void BeamwidthFinding(const char* key, const std::string& text, std::optional<double> stated,
                      std::optional<double> measured, const char* cutName,
                      std::vector<std::string>& findings)
{
    if (!stated)
        return;
    if (!measured)
        findings.push_back(std::string(key) + " " + text + ": the " + cutName +
                           " cut has no half-power beamwidth");
    else if (BeamwidthDiffers(*stated, *measured))
        findings.push_back(std::string(key) + " " + text + " differs from the measured " +
                           Number1(*measured) + " by more than 10 %");
}

} // namespace

std::optional<TCutLevels> CutLevels(const TPatternCut& cut)
{
    if (cut.size() < 361)
        return std::nullopt;
    TCutLevels levels{};
    for (std::size_t i = 0; i <= 360; ++i)
        if (!TryStrToFloat(cut[i], levels[i]) || !std::isfinite(levels[i]))
            return std::nullopt;
    return levels;
}

double PeakLevel(const TCutLevels& cut)
{
    return At(cut, PeakIndex(cut, 0, 359));
}

TAzimuthMetrics MeasureAzimuth(const TCutLevels& cut)
{
    TAzimuthMetrics m;
    const int peak = PeakIndex(cut, 0, 359);
    const double top = At(cut, peak);
    m.peakDirection = peak;
    m.beamwidth3dB = Beamwidth(cut, peak, 3.0, 180);
    m.beamwidth10dB = Beamwidth(cut, peak, 10.0, 180);
    m.frontToBack = top - At(cut, peak + 180);
    double worst = At(cut, peak + 150);
    for (int k = 151; k <= 210; ++k)
        worst = std::max(worst, At(cut, peak + k));
    m.frontToBackWorst = top - worst;
    double low = top;
    for (int i = 0; i < 360; ++i)
        low = std::min(low, At(cut, i));
    m.ripple = top - low;
    return m;
}

TElevationMetrics MeasureElevation(const TCutLevels& cut)
{
    TElevationMetrics m;
    // The main beam is looked for in front of the antenna only (an omni cut repeats it behind),
    // from the horizon outwards, so of equal maxima the one nearest the horizon counts (below it
    // first). `peak` is a file angle, positive above the horizon.
    int peak = 0;
    for (int s = 1; s <= 90; ++s)
        for (const int i : {-s, s})
            if (At(cut, i) > At(cut, peak))
                peak = i;
    const double top = At(cut, peak);
    // A datasheet's tilt is the centre of the half-power beam: the maximum of a flat-topped beam
    // can fall anywhere on its top.
    const auto up = EdgeDistance(cut, peak, top - 3.0, +1, 90);
    const auto down = EdgeDistance(cut, peak, top - 3.0, -1, 90);
    m.tilt = DowntiltFromElevation(up && down ? peak + (*up - *down) / 2 : double(peak));
    m.beamwidth3dB = Beamwidth(cut, peak, 3.0, 90);
    // Walks stay in front of the antenna (-90..+90); up is towards larger file angles.
    const int stepsUp = 90 - peak;
    const int stepsDown = peak + 90;
    if (const auto null = FirstNull(cut, peak, +1, stepsUp)) {
        // The sidelobe is the first local maximum beyond the upper null.
        for (int s = *null + 1; s < stepsUp; ++s) {
            const double here = At(cut, peak + s);
            if (here >= At(cut, peak + s - 1) && At(cut, peak + s + 1) < here) {
                m.upperSidelobe = here - top;
                break;
            }
        }
    }
    if (const auto null = FirstNull(cut, peak, -1, stepsDown))
        m.nullFill = At(cut, peak - *null) - top;
    return m;
}

TDatasheetValues ReadDatasheet(const TQuvFile& record)
{
    TDatasheetValues d;
    const bool omni = IsOmni(record.AntennaType);
    if (!omni) {
        d.azimuthBeamwidth = LeadingNumber(record.AzimuthBeamwidth);
        try {
            const double fb = record.FrontToBackValue();
            if (std::isfinite(fb)) {
                d.frontToBack = fb;
                d.frontToBackAtLeast = Trimmed(record.FrontToBackRatio).starts_with('>');
            }
        } catch (const std::exception&) {
            // A text that is not a number states nothing to compare with.
        }
    }
    d.elevationBeamwidth = LeadingNumber(record.ElevationBeamwidth);

    // A fixed tilt ("6"), or a range as the last word ("0-8", "Variable 0-10").
    std::string tilt = Trimmed(record.ElectricalDowntilt);
    double low = 0, high = 0;
    if (TryStrToFloat(tilt, low) && std::isfinite(low)) {
        d.tiltLow = d.tiltHigh = low;
    } else {
        const auto blank = tilt.find_last_of(' ');
        if (blank != std::string::npos)
            tilt = tilt.substr(blank + 1);
        const auto dash = tilt.find('-', 1);
        if (dash != std::string::npos && TryStrToFloat(tilt.substr(0, dash), low) &&
            TryStrToFloat(tilt.substr(dash + 1), high) && std::isfinite(low) &&
            std::isfinite(high) && low <= high) {
            d.tiltLow = low;
            d.tiltHigh = high;
        }
    }
    return d;
}

bool BeamwidthDiffers(double stated, double measured)
{
    return std::fabs(stated - measured) > kBeamwidthTolerance * measured;
}

bool FrontToBackDiffers(double stated, bool atLeast, double measured)
{
    // ">25" promises at least 25 dB: a better antenna does not contradict it.
    if (atLeast)
        return measured < stated - kFrontToBackToleranceDb;
    return std::fabs(stated - measured) > kFrontToBackToleranceDb;
}

bool TiltDiffers(double low, double high, double measured)
{
    return measured < low - kTiltToleranceDeg || measured > high + kTiltToleranceDeg;
}

TRecordMetrics MeasureRecord(const TQuvFile& record)
{
    TRecordMetrics r;
    r.omni = IsOmni(record.AntennaType);
    if (const auto levels = CutLevels(record.Azimuth))
        r.azimuth = MeasureAzimuth(*levels);
    if (const auto levels = CutLevels(record.Elevation))
        r.elevation = MeasureElevation(*levels);
    r.datasheet = ReadDatasheet(record);
    return r;
}

std::vector<std::string> PatternFindings(const TQuvFile& record)
{
    std::vector<std::string> findings;
    if (record.Utf8Replaced > 0)
        findings.push_back(std::to_string(record.Utf8Replaced) +
                           " characters of this UTF-8 file have no Windows-1252 form and read "
                           "as \"?\"");
    CutFindings(record.Azimuth, true, findings);
    CutFindings(record.Elevation, false, findings);
    const TRecordMetrics r = MeasureRecord(record);
    const TDatasheetValues& d = r.datasheet;
    if (r.azimuth) {
        BeamwidthFinding("Azimuth Beamwidth, deg", record.AzimuthBeamwidth, d.azimuthBeamwidth,
                         r.azimuth->beamwidth3dB, "azimuth", findings);
        if (d.frontToBack && r.azimuth->frontToBack &&
            FrontToBackDiffers(*d.frontToBack, d.frontToBackAtLeast, *r.azimuth->frontToBack))
            findings.push_back("Front to Back Ratio, dB " + record.FrontToBackRatio +
                               " differs from the measured " + Number1(*r.azimuth->frontToBack) +
                               " by more than 3 dB");
    }
    if (r.elevation) {
        BeamwidthFinding("Elevation Beamwidth, deg", record.ElevationBeamwidth,
                         d.elevationBeamwidth, r.elevation->beamwidth3dB, "elevation", findings);
        if (d.tiltLow && r.elevation->tilt &&
            TiltDiffers(*d.tiltLow, *d.tiltHigh, *r.elevation->tilt))
            findings.push_back("Electrical Downtilt, deg " + record.ElectricalDowntilt +
                               " differs from the measured tilt " + Number1(*r.elevation->tilt) +
                               " by more than 1 degree");
    }
    return findings;
}

std::vector<std::string> SeamFindings(std::string_view fileBytes)
{
    std::vector<std::string> findings;
    const TLines lines = SplitLines(fileBytes);
    TLines points;
    ExtractSection("[POINTS]", lines, points);
    for (const std::size_t first : {std::size_t{0}, std::size_t{361}}) {
        if (first + 360 >= points.size())
            break;
        const std::string_view a = TextAfter(points[first], '=');
        const std::string_view b = TextAfter(points[first + 360], '=');
        double x = 0, y = 0;
        const bool same = (TryStrToFloat(a, x) && TryStrToFloat(b, y)) ? x == y : a == b;
        if (!same)
            findings.push_back(std::string(CutName(first == 0)) + " lines -180 and 180 differ (" +
                               std::string(a) + " and " + std::string(b) + ")");
    }
    return findings;
}

} // namespace quv
