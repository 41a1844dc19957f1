#include "reference/PatternFile.h"

#include "reference/PatternFormat.h"
#include "reference/PatternReaders.h"

#include <algorithm>

namespace quv {

namespace {

// The data file's index j holds the record angle (360 - j) mod 360 (AzimuthAt reads backwards).
TReferenceCut ToDataIndex(const TPatternCutPoints& cut)
{
    const TResampledCut resampled = ResampleCut(cut);
    TReferenceCut levels{};
    for (int j = 0; j < 360; ++j)
        levels[static_cast<std::size_t>(j)] =
            resampled.levels[static_cast<std::size_t>((360 - j) % 360)];
    levels[360] = levels[0];
    const double peak = *std::max_element(levels.begin(), levels.end());
    for (double& v : levels)
        v -= peak;
    return levels;
}

TReferencePattern ToReference(const TPatternFileData& data)
{
    const TFilePattern& p = data.patterns.front();
    TReferencePattern ref;
    ref.fileName = data.fileName;
    ref.format = data.format;
    ref.name = p.name;
    ref.maker = p.maker;
    if (p.measuredMHz)
        ref.frequencyMHz = *p.measuredMHz;
    else if (p.lowMHz && p.highMHz)
        ref.frequencyMHz = (*p.lowMHz + *p.highMHz) / 2;
    if (p.gainDBi)
        ref.gainDBi = *p.gainDBi;
    if (p.gainDBd)
        ref.gainDBd = *p.gainDBd;
    ref.azimuth = ToDataIndex(p.azimuth);
    ref.elevation = ToDataIndex(p.elevation);
    for (const TReadNote& note : data.notes)
        ref.warnings.push_back(note.text);
    return ref;
}

} // namespace

TReferencePattern ReadPatternBytes(std::string_view bytes, const std::string& fileName)
{
    return ToReference(ReadPatternData(bytes, fileName));
}

TReferencePattern ReadPatternFile(const std::string& path)
{
    return ToReference(ReadPatternDataFile(path));
}

std::string_view PatternFormatName(const TFileFormat* format)
{
    return format ? format->LogName() : std::string_view();
}

} // namespace quv
