// Pattern metrics measured from a record's cuts (beamwidths, front-to-back, tilt, sidelobes), and
// their comparison with the values the datasheet states. Plain functions over numbers; the
// pattern window's metrics table, `quvtool metrics` and `quvtool check --strict` all use these.
//
// Angle conventions of the data files (the sample catalogue's generator writes them this way):
// - A cut's index is the file's angle in whole degrees, 0..360; index 360 repeats index 0, and
//   indexes 181..359 are the file's angles -179..-1.
// - Azimuth: index 0 is the panel's boresight. The index grows counter-clockwise as the plots draw
//   it (the export accessors AzimuthAt read it the other way). Directions are reported as indexes
//   0..359.
// - Elevation (catalogue/ElevationAngles.h): index 0 is the horizon in front of the antenna;
//   indexes 1..90 (positive file angles) are ABOVE the horizon and 270..359 (-90..-1) below it, so
//   a downtilted beam peaks at a small negative file angle; 91..269 lie behind the antenna. Tilt
//   is reported positive down.
#pragma once

#include "catalogue/QuvFile.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quv {

// One cut as numbers, levels in dB as stored (0 at the pattern maximum), index = degrees.
using TCutLevels = std::array<double, 361>;

// nullopt when the cut holds fewer than 361 levels or a level is not a (finite) number.
std::optional<TCutLevels> CutLevels(const TPatternCut& cut);

// All metrics are relative to the cut's own maximum, so a cut stored with its peak at -1 dB
// still measures the right widths.
struct TAzimuthMetrics {
    std::optional<double> peakDirection; // degrees, 0..359
    std::optional<double> beamwidth3dB, beamwidth10dB;
    std::optional<double> frontToBack;      // dB, positive, at exactly peak + 180
    std::optional<double> frontToBackWorst; // dB, positive, worst over 180 +- 30 from the peak
    std::optional<double> ripple;           // dB, max - min (meaningful for omni antennas)
};

struct TElevationMetrics {
    std::optional<double> tilt; // degrees below the horizon (positive = down)
    std::optional<double> beamwidth3dB;
    std::optional<double> upperSidelobe; // first upper sidelobe, dB relative to the peak
    std::optional<double> nullFill;      // first null below the main beam, dB relative to the peak
};

TAzimuthMetrics MeasureAzimuth(const TCutLevels& cut);
TElevationMetrics MeasureElevation(const TCutLevels& cut);

// The maximum level of a cut over its 360 distinct directions.
double PeakLevel(const TCutLevels& cut);

// Tolerances between a datasheet value and the measured one.
inline constexpr double kBeamwidthTolerance = 0.10; // fraction of the measured beamwidth
inline constexpr double kFrontToBackToleranceDb = 3.0;
inline constexpr double kTiltToleranceDeg = 1.0;

// The datasheet values that can be measured, read from the record's texts; a value that is not
// a number is absent (an omni antenna's azimuth beamwidth and front-to-back are ignored).
struct TDatasheetValues {
    std::optional<double> azimuthBeamwidth;
    std::optional<double> elevationBeamwidth;
    std::optional<double> frontToBack;
    bool frontToBackAtLeast = false; // written ">25": a floor, not a value
    // A fixed tilt has low == high; a variable one ("0-8", "Variable 0-10") is its range.
    std::optional<double> tiltLow, tiltHigh;
};
TDatasheetValues ReadDatasheet(const TQuvFile& record);

// True when the stated value lies outside the tolerance of the measured one.
bool BeamwidthDiffers(double stated, double measured);
bool FrontToBackDiffers(double stated, bool atLeast, double measured);
bool TiltDiffers(double low, double high, double measured);

// Everything measured and stated about one record. A cut whose levels are not all numbers has
// no metrics.
struct TRecordMetrics {
    bool omni = false;
    std::optional<TAzimuthMetrics> azimuth;
    std::optional<TElevationMetrics> elevation;
    TDatasheetValues datasheet;
};
TRecordMetrics MeasureRecord(const TQuvFile& record);

// What a catalogue maker should look at before shipping a file: unreadable levels, a peak not
// within 0.5 dB of 0 dB, 0 and 360 entries that differ, and datasheet values beyond the
// tolerance of the measured ones. One message per finding, without the record's name.
std::vector<std::string> PatternFindings(const TQuvFile& record);

// The record keeps one line per direction, so the data file's -180 and +180 lines (one direction
// written twice) are compared in the file's own bytes: one message per cut where they differ.
std::vector<std::string> SeamFindings(std::string_view fileBytes);

} // namespace quv
