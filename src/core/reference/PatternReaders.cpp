#include "reference/PatternReaders.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "reference/PatternFormat.h"
#include "reference/ReaderSupport.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace quv {

namespace {

std::string Extension(const std::string& fileName)
{
    const std::size_t slash = fileName.find_last_of('/');
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return LowerCase(std::string_view(fileName).substr(dot));
}

// ".h .v" as "\".h\"/\".v\"".
std::string QuotedExtensions(const TFileFormat& format)
{
    std::string text;
    for (std::string_view ext : Words(format.exportAs.extensions))
        text += (text.empty() ? "\"" : "/\"") + std::string(ext) + "\"";
    return text;
}

// Every format scores the file; the best wins. A tie between formats that read the file alike
// (one reader) goes to the first in the list; a tie between readers that would read it differently
// is refused, as either answer could mirror or shift the pattern.
const TFileFormat& Detect(const TReaderBase& reader, const std::string& fileName)
{
    const TFormatProbe probe = MakeFormatProbe(reader.Lines(), fileName);
    const TFileFormat* best = nullptr;
    const TFileFormat* rival = nullptr;
    int bestScore = 0;
    for (const TFileFormat* format : FileFormats()) {
        const int score = format->detect(probe);
        if (score > bestScore) {
            best = format;
            rival = nullptr;
            bestScore = score;
        } else if (score == bestScore && best && !rival && format->read != best->read) {
            rival = format;
        }
    }
    if (!best)
        reader.Fail("no pattern data found");
    if (rival)
        reader.Fail("the file could be read as " + best->DisplayName() + " or as " +
                    rival->DisplayName() + ", which read it differently");
    return *best;
}

// Every cut needs two directions to interpolate between.
void CheckDistinctAngles(const TReaderBase& reader, const TPatternCutPoints& cut)
{
    if (cut.points.empty())
        reader.Fail("the " + cut.title + " holds no points");
    const double first = std::fmod(std::fmod(cut.points.front().angle, 360.0) + 360.0, 360.0);
    for (const TPatternPoint& p : cut.points) {
        const double a = std::fmod(std::fmod(p.angle, 360.0) + 360.0, 360.0);
        if (std::fabs(a - first) > 1e-9 && std::fabs(std::fabs(a - first) - 360) > 1e-9)
            return;
    }
    reader.FailAt(cut.headerLine, "the " + cut.title + " holds fewer than two distinct angles");
}

void TakeNotes(TReaderBase& reader, TPatternFileData& data)
{
    for (TReadNote& note : reader.Notes())
        data.notes.push_back(std::move(note));
    reader.Notes().clear();
}

} // namespace

TPatternFileData ReadPatternData(std::string_view bytes, const std::string& fileName,
                                 std::string_view companion)
{
    TReaderBase reader(bytes, fileName);
    TPatternFileData data;
    data.fileName = fileName;
    const TFileFormat& format = Detect(reader, fileName);
    data.format = &format;
    if (format.twoFiles) {
        const std::string partnerName = CompanionFileName(fileName);
        if (companion.empty())
            reader.Fail("the other file of the pair (" +
                        (partnerName.empty() ? QuotedExtensions(format) : partnerName) +
                        ") is missing");
        TReaderBase partner(companion, partnerName.empty() ? fileName : partnerName);
        format.read(reader, &partner, data);
        TakeNotes(partner, data);
    } else {
        format.read(reader, nullptr, data);
    }
    TakeNotes(reader, data);
    for (const TFilePattern& p : data.patterns) {
        CheckDistinctAngles(reader, p.azimuth);
        CheckDistinctAngles(reader, p.elevation);
    }
    return data;
}

std::string CompanionFileName(const std::string& path)
{
    const std::string ext = Extension(path);
    if (ext.empty())
        return {};
    const std::string stem = path.substr(0, path.size() - ext.size());
    const bool upper = ext != std::string_view(path).substr(path.size() - ext.size());
    // A two-file format writes its two extensions, one file per cut.
    for (const TFileFormat* format : FileFormats()) {
        if (!format->twoFiles)
            continue;
        const std::vector<std::string_view> pair = Words(format->exportAs.extensions);
        if (pair.size() != 2 || (ext != pair[0] && ext != pair[1]))
            continue;
        const std::string_view other = ext == pair[0] ? pair[1] : pair[0];
        return stem + (upper ? UpperCase(other) : std::string(other));
    }
    return {};
}

TPatternFileData ReadPatternDataFile(const std::string& path)
{
    std::string bytes, companion;
    ReadWholeFile(path, bytes);
    const std::string partner = CompanionFileName(path);
    std::error_code ec;
    if (!partner.empty() && std::filesystem::is_regular_file(partner, ec))
        ReadWholeFile(partner, companion);
    return ReadPatternData(bytes, path, companion);
}

std::optional<TPatternFileData> TryReadPatternFile(const std::string& path, std::string& error)
{
    error.clear();
    try {
        return ReadPatternDataFile(path);
    } catch (const std::exception& e) {
        error = e.what();
    }
    return std::nullopt;
}

TResampledCut ResampleCut(const TPatternCutPoints& cut)
{
    // Most files hold every whole degree: those need no sorting and no interpolation.
    TResampledCut result;
    std::array<bool, 360> held{};
    std::size_t filled = 0;
    for (const TPatternPoint& p : cut.points) {
        const double a = std::fmod(p.angle, 360.0);
        const double whole = std::floor(a);
        if (whole != a)
            break;
        const auto index = static_cast<std::size_t>(a < 0 ? whole + 360 : whole);
        if (index < 360 && !held[index]) {
            held[index] = true;
            result.levels[index] = p.level;
            ++filled;
        }
    }
    if (filled == 360)
        return result;

    struct TPoint {
        double angle, level;
    };
    std::vector<TPoint> points;
    points.reserve(cut.points.size());
    for (const TPatternPoint& p : cut.points) {
        double a = std::fmod(p.angle, 360.0);
        if (a < 0)
            a += 360;
        if (a >= 360)
            a = 0;
        points.push_back({a, p.level});
    }
    // The first of several points at one angle counts (a closing 360 repeats 0).
    std::stable_sort(points.begin(), points.end(),
                     [](const TPoint& a, const TPoint& b) { return a.angle < b.angle; });
    points.erase(std::unique(points.begin(), points.end(),
                             [](const TPoint& a, const TPoint& b) { return a.angle == b.angle; }),
                 points.end());
    if (points.empty())
        return result;
    for (int j = 0; j < 360; ++j) {
        const double angle = j;
        const auto upper = std::lower_bound(points.begin(), points.end(), angle,
                                            [](const TPoint& p, double a) { return p.angle < a; });
        if (upper != points.end() && std::fabs(upper->angle - angle) < 1e-9) {
            result.levels[static_cast<std::size_t>(j)] = upper->level;
            continue;
        }
        result.coarse = true;
        TPoint before = upper == points.begin() ? points.back() : *(upper - 1);
        TPoint after = upper == points.end() ? points.front() : *upper;
        if (upper == points.begin())
            before.angle -= 360;
        if (upper == points.end())
            after.angle += 360;
        const double span = after.angle - before.angle;
        const double t = span > 0 ? (angle - before.angle) / span : 0;
        result.levels[static_cast<std::size_t>(j)] =
            before.level + t * (after.level - before.level);
    }
    return result;
}

} // namespace quv
