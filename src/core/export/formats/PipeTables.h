// The pipe-table layout: "|KEY|value|" header lines, then a "|HORIZ|0|72|" table of the azimuth
// every 5 degrees and two "|VERT|...|181|" tables of the elevation's front and back halves, each
// point "|angle|level|" with the level a gain. The formats of this layout read through
// ReadPipeTables and write their tables with AddPipeLevelTables.
#pragma once

#include "catalogue/QuvFile.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"
#include "reference/PatternReaders.h"

namespace quv {

// Azimuth as the record counts it; the front elevation table's angles count down from the
// horizon as the record does; the back table ("|VERT|180|") runs from over the back (-90) through
// the back horizon (0) to below it, so its angle x is the record angle 180 - x.
extern const TAngleConvention kPipeAngles[3];

// Reads the layout. With a "|MAXGAIN|" line the gain is that value and the azimuth lies over the
// gain at the horizon; without one the highest level is the gain, in the "DBD/DBI Flag" unit.
void ReadPipeTables(TReaderBase& file, TReaderBase* companion, TPatternFileData& data);

// What detection sees of the layout.
struct TPipeSigns {
    bool tables = false;  // a "|HORIZ|", "|VERT|" or "|MODEL|" line
    bool maxGain = false; // a "|MAXGAIN|" or "A|" line: the azimuth over the horizon's gain
};
TPipeSigns PipeSigns(const TFormatProbe& probe);
// The layout's score before a variant's own lines; far above any keyword count.
inline constexpr int kPipeScore = 800;

// The three level tables, each line "|" angle "|" level "|" with the angle right-aligned in 3
// and the level "%1.3f" of a base plus the stored level: "|HORIZ|0|72|" and azimuth angles
// 0, 5, ..., 355 over `azimuthBase`; "|VERT|0|181|" and the front half, angles -90..90;
// "|VERT|180|181|" and the back half, angles -90..90; both over `elevationBase`. `spaced` puts
// an empty line before each "|VERT|" line.
void AddPipeLevelTables(TTextBuilder& text, const TQuvFile& record, const TLevelBase& azimuthBase,
                        const TLevelBase& elevationBase, bool spaced);

} // namespace quv
