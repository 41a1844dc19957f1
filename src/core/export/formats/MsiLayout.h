// The MSI keyword layout ("NAME x", "FREQUENCY 1850", "HORIZONTAL 360" and a block of
// "angle level" points per cut) that several formats write with small differences of header and
// angle convention, and that makers write in many variants (keywords in any case, tabs, coarse
// steps, extra keywords). The formats of this layout read through ReadMsiLayout with their own
// options and score a file with the signs collected here.
#pragma once

#include "catalogue/QuvFile.h"
#include "catalogue/TextFile.h"
#include "reference/PatternFormat.h"
#include "reference/PatternReaders.h"

#include <optional>
#include <string_view>

namespace quv {

struct TMsiOptions {
    TAngleConvention azimuth;
    TAngleConvention elevation;
};

// What the program writes before a part number under MAKE where the header has no other place
// for the maker ("Tavrin-"): reading it back finds the program's own antenna.
std::string OwnMakePrefix();

// Reads the layout; levels are attenuations (their magnitude is what they mean).
void ReadMsiLayout(TReaderBase& reader, TPatternFileData& data, const TMsiOptions& options);
// The layout with azimuth and elevation counted as the record counts them.
void ReadMsiPlain(TReaderBase& file, TReaderBase* companion, TPatternFileData& data);

// What detection sees of the layout.
struct TMsiSigns {
    int keywordLines = 0; // lines opening with a keyword of the layout
    bool blocks = false;  // a HORIZONTAL or VERTICAL line
    bool fileNameKey = false, namesComments = false, polarisationPrefix = false,
         antennaType = false, beamWidth = false;
    // The angle of the first point of the HORIZONTAL block, when there is one.
    std::optional<double> firstAzimuthAngle;
    // The score every format of the layout starts from: 0 without a block.
    int Base() const;
    // The points start at 0, as the layout numbers them (a file numbered from 1 is another's).
    bool ZeroBased() const { return firstAzimuthAngle && *firstAzimuthAngle == 0; }
};
TMsiSigns MsiSigns(const TFormatProbe& probe);

// What a variant's own header line adds to the layout's base score. A file that carries the lines
// of several variants goes to the highest (AntennaType: over FILENAME over POL_ over COMMENTS),
// and only points numbered from 1 make the numbered variant.
inline constexpr int kMsiAntennaTypeScore = 50;
inline constexpr int kMsiFileNameScore = 40;
inline constexpr int kMsiPolarisationScore = 35;
inline constexpr int kMsiCommentsScore = 30;
inline constexpr int kMsiZeroBasedScore = 30;
inline constexpr int kMsiNumberedFromOneScore = 50;

// A zero-based variant's score: the layout's base, `markerScore` when the file carries the
// variant's own line (`marker`), the points numbered from 0, and its extensions.
int MsiVariantScore(const TFormatProbe& probe, bool TMsiSigns::*marker, int markerScore,
                    std::string_view extensions);

// Writer side. The tilt line's rule: mechanical only for a non-omni antenna whose electrical
// downtilt is the number 0.
bool IsMechanicalTilt(const TQuvFile& record);

// The two level tables: "HORIZONTAL 360" or "VERTICAL 360", then for a = 0..359 the angle,
// `angleSuffix`, a blank and the level's absolute value (`decimals`), at the record angle the
// conventions give for a.
void AddAbsoluteCutTables(TTextBuilder& text, const TQuvFile& record, std::string_view angleSuffix,
                          int decimals, const TAngleConvention& azimuth,
                          const TAngleConvention& elevation);

} // namespace quv
