#include "reference/PatternChecks.h"

#include "catalogue/NumberText.h"
#include "catalogue/PatternMetrics.h"
#include "reference/PatternImport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quv {

namespace {

double Reduced(double angle)
{
    double a = std::fmod(angle, 360.0);
    if (a < 0)
        a += 360;
    return a >= 360 ? 0 : a;
}

std::string Degrees(double value)
{
    return FloatToStrGeneral(std::round(value * 100) / 100);
}

void CheckAngles(const TPatternCutPoints& cut, const char* cutName,
                 std::vector<TPatternFinding>& out)
{
    const std::string name = cutName;
    // Order and duplicates within each block, in the file's own angles; blocks are runs of
    // points with one block number.
    bool duplicate = false, disordered = false, seam = false;
    std::vector<std::pair<double, double>> sorted; // (file angle, level) of one block
    for (std::size_t begin = 0; begin < cut.points.size();) {
        std::size_t end = begin;
        int rising = 0, falling = 0;
        while (end < cut.points.size() && cut.points[end].block == cut.points[begin].block) {
            if (end > begin) {
                const TPatternPoint& here = cut.points[end];
                const double d = here.fileAngle - cut.points[end - 1].fileAngle;
                rising += d > 0;
                falling += d < 0;
                if (d == 0 && !duplicate) {
                    duplicate = true;
                    out.push_back({TFindingKind::DuplicateAngle,
                                   "the " + name + " cut holds the angle " +
                                       Degrees(here.fileAngle) + " twice (line " +
                                       std::to_string(here.line) + ")"});
                }
            }
            ++end;
        }
        if (rising > 0 && falling > 0 && !disordered) {
            disordered = true;
            out.push_back({TFindingKind::AngleOrder,
                           "the angles of the " + name + " cut neither rise nor fall throughout"});
        }
        // One direction written twice (-180 and 180, 0 and 360) must carry one level.
        sorted.clear();
        for (std::size_t k = begin; k < end; ++k)
            sorted.emplace_back(cut.points[k].fileAngle, cut.points[k].level);
        std::sort(sorted.begin(), sorted.end());
        for (const auto& [angle, level] : sorted) {
            if (seam || angle + 360 > sorted.back().first)
                break;
            const auto other =
                std::lower_bound(sorted.begin(), sorted.end(), std::make_pair(angle + 360, -1e300));
            if (other != sorted.end() && other->first == angle + 360 &&
                std::fabs(level - other->second) > 1) {
                seam = true;
                out.push_back(
                    {TFindingKind::Seam, "the " + name + " cut's angles " + Degrees(angle) +
                                             " and " + Degrees(other->first) + " differ by " +
                                             Degrees(std::fabs(level - other->second)) + " dB"});
            }
        }
        begin = end;
    }
    // Steps and gaps on the circle of record angles.
    std::vector<double> angles;
    for (const TPatternPoint& p : cut.points)
        angles.push_back(Reduced(p.angle));
    std::sort(angles.begin(), angles.end());
    angles.erase(std::unique(angles.begin(), angles.end(),
                             [](double a, double b) { return std::fabs(a - b) < 1e-9; }),
                 angles.end());
    if (angles.size() < 2)
        return;
    double smallest = 360, largest = 0, from = 0;
    for (std::size_t k = 0; k < angles.size(); ++k) {
        const double next = k + 1 < angles.size() ? angles[k + 1] : angles[0] + 360;
        const double gap = next - angles[k];
        smallest = std::min(smallest, gap);
        if (gap > largest) {
            largest = gap;
            from = angles[k];
        }
    }
    if (std::fabs(smallest - cut.formatStep) > 1e-6)
        out.push_back({TFindingKind::Steps, "the " + name + " cut runs in " + Degrees(smallest) +
                                                "-degree steps; resampled to 1 degree"});
    if (largest > smallest + 1e-6)
        out.push_back({TFindingKind::MissingAngle,
                       "the " + name + " cut has no level from " + Degrees(from) + " to " +
                           Degrees(Reduced(from + largest)) + " degrees"});
}

double PeakOf(const TPatternCutPoints& cut)
{
    double top = -1e300;
    for (const TPatternPoint& p : cut.points)
        top = std::max(top, p.level);
    return top;
}

void CheckPattern(const TFilePattern& p, std::vector<TPatternFinding>& out)
{
    if (p.nameFromFileName)
        out.push_back(
            {TFindingKind::MissingName, "the file names no antenna; its file name stands in"});
    CheckAngles(p.azimuth, "azimuth", out);
    CheckAngles(p.elevation, "elevation", out);
    for (const auto* cut : {&p.azimuth, &p.elevation}) {
        const double peak = PeakOf(*cut);
        if (std::fabs(peak) > 0.5)
            out.push_back({TFindingKind::PeakNotZero,
                           "the strongest level of the " +
                               std::string(cut == &p.azimuth ? "azimuth" : "elevation") +
                               " cut is " + Degrees(peak) + " dB, not 0"});
    }
    const TPatternLevels levels = DataIndexLevels(p);
    const TAzimuthMetrics az = MeasureAzimuth(levels.azimuth);
    const TElevationMetrics el = MeasureElevation(levels.elevation);
    const bool omni =
        (p.azimuthBeamwidth && *p.azimuthBeamwidth >= 300) || (az.ripple && *az.ripple < 6);
    if (p.tilt && el.tilt && *p.tilt * *el.tilt < 0)
        out.push_back({TFindingKind::TiltSign, "the stated tilt " + Degrees(*p.tilt) +
                                                   " and the measured tilt " + Degrees(*el.tilt) +
                                                   " have opposite signs"});
    if (!omni && az.peakDirection) {
        // Twin-beam and steered antennas put their peak 25 to 35 degrees off boresight by
        // design; only a peak further off says the cut was measured from the back or the side.
        const double off = std::fabs(std::remainder(*az.peakDirection, 360.0));
        if (off > 45)
            out.push_back({TFindingKind::AzimuthOrigin,
                           "the azimuth peak lies " + Degrees(off) + " degrees from 0"});
        else if (off > 10)
            out.push_back(
                {TFindingKind::SteeredBeam, "the azimuth peak lies " + Degrees(off) +
                                                " degrees from 0: a beam steered off boresight"});
    }
    if (!omni && p.azimuthBeamwidth && az.beamwidth3dB &&
        BeamwidthDiffers(*p.azimuthBeamwidth, *az.beamwidth3dB))
        out.push_back({TFindingKind::Beamwidth,
                       "the stated azimuth beamwidth " + p.azimuthBeamwidth.text +
                           " differs from the measured " + Degrees(*az.beamwidth3dB)});
    if (p.elevationBeamwidth && el.beamwidth3dB &&
        BeamwidthDiffers(*p.elevationBeamwidth, *el.beamwidth3dB))
        out.push_back({TFindingKind::Beamwidth,
                       "the stated elevation beamwidth " + p.elevationBeamwidth.text +
                           " differs from the measured " + Degrees(*el.beamwidth3dB)});
    // Makers state the ratio they guarantee: a better antenna does not contradict it.
    if (!omni && p.frontToBack && az.frontToBack &&
        FrontToBackDiffers(*p.frontToBack, true, *az.frontToBack))
        out.push_back({TFindingKind::FrontToBack,
                       "the stated front-to-back ratio " + p.frontToBack.text +
                           " differs from the measured " + Degrees(*az.frontToBack)});
}

void AppendJsonString(std::string& out, std::string_view text)
{
    // Windows-1252's 0x80..0x9F; the rest of the upper half is Latin-1.
    static const unsigned short upper[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    out += '"';
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        unsigned code = c;
        if (c >= 0x80 && c < 0xA0)
            code = upper[c - 0x80];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c >= 0x80) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", code);
            out += buffer;
        } else {
            out += ch;
        }
    }
    out += '"';
}

} // namespace

std::vector<TPatternFinding> CheckPatternData(const TPatternFileData& data)
{
    std::vector<TPatternFinding> findings;
    for (const TReadNote& note : data.notes)
        if (note.kind)
            findings.push_back({*note.kind, note.text});
    for (const TFilePattern& p : data.patterns) {
        std::vector<TPatternFinding> own;
        CheckPattern(p, own);
        for (TPatternFinding& f : own) {
            if (data.patterns.size() > 1)
                f.message = p.name + ": " + f.message;
            findings.push_back(std::move(f));
        }
    }
    return findings;
}

TPatternFileCheck CheckPatternFile(const std::string& path)
{
    TPatternFileCheck check;
    check.fileName = path;
    try {
        const TPatternFileData data = ReadPatternDataFile(path);
        check.format = std::string(PatternFormatName(data.format));
        check.antenna = data.patterns.front().name;
        for (TPatternFinding& f : CheckPatternData(data))
            (IsInformational(f.kind) ? check.notes : check.findings).push_back(std::move(f));
    } catch (const EPatternFileError& e) {
        check.error = e.what();
        if (e.Kind() == TFindingKind::NotANumber)
            check.findings.push_back({TFindingKind::NotANumber, e.what()});
    } catch (const std::exception& e) {
        check.error = e.what();
    }
    return check;
}

namespace {

// ,"key":[{"kind":...,"message":...},...]
void AppendFindingList(std::string& out, std::string_view key,
                       const std::vector<TPatternFinding>& list)
{
    out += ",\"" + std::string(key) + "\":[";
    for (std::size_t k = 0; k < list.size(); ++k) {
        out += k ? ",{\"kind\":" : "{\"kind\":";
        AppendJsonString(out, FindingKindName(list[k].kind));
        out += ",\"message\":";
        AppendJsonString(out, list[k].message);
        out += '}';
    }
    out += ']';
}

} // namespace

std::string PatternCheckJson(const TPatternFileCheck& check)
{
    std::string out = "{\"name\":";
    AppendJsonString(out, check.fileName);
    out += ",\"format\":";
    AppendJsonString(out, check.format);
    out += ",\"antenna\":";
    AppendJsonString(out, check.antenna);
    if (!check.error.empty()) {
        out += ",\"error\":";
        AppendJsonString(out, check.error);
    }
    AppendFindingList(out, "findings", check.findings);
    // Only files with notes carry the key, so the lines of other files stay as they were.
    if (!check.notes.empty())
        AppendFindingList(out, "notes", check.notes);
    out += '}';
    return out;
}

} // namespace quv
