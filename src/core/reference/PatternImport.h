// Turning another maker's pattern into a catalogue data file: the header values the file states,
// the ones it does not measured from its cuts, and both cuts relative to their peak at the data
// file's 1-degree lines (coarser steps interpolated linearly in dB). Import writes these files into
// a catalogue folder; conversion loads them into a record and hands it to a writer.
#pragma once

#include "catalogue/QuvFile.h"
#include "reference/PatternReaders.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace quv {

enum class TImportStyle {
    Catalogue, // the description names the source file and what was measured
    Convert,   // the description is the file's own, so a file converted to its format keeps it
};

struct TDataFileText {
    std::string partNumber; // the pattern's name: what the data file is called
    std::string bytes;      // the ".quv" text, CR LF lines
    std::vector<std::string> warnings;
};

// One data file per pattern of `data`. Throws EQuvError for a file whose cuts were cut short
// (a block holds fewer points than it announces, or leaves a gap wider than its step).
std::vector<TDataFileText> BuildDataFiles(const TPatternFileData& data, TImportStyle style);

// The records those data files would load into, built directly (what conversion hands to the
// writers).
struct TImportedRecord {
    std::unique_ptr<TQuvFile> record;
    std::vector<std::string> warnings;
};
std::vector<TImportedRecord> BuildRecords(const TPatternFileData& data, TImportStyle style);

// The record angle levels of a pattern's cuts on the data file's own index (Azimuth[j] and
// Elevation[j] hold the record angle 360 - j), peak at 0 dB.
struct TPatternLevels {
    std::array<double, 361> azimuth{}, elevation{};
    bool azimuthCoarse = false, elevationCoarse = false;
};
TPatternLevels DataIndexLevels(const TFilePattern& pattern);

} // namespace quv
