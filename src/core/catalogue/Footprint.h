// Where an antenna's beam lands on flat ground: the relative received level at a ground point is
// the 3D pattern's gain towards it minus the path loss, `slope` dB per decade of slant range (20
// is free space), for a mast height and a mechanical downtilt (a rotation of the whole pattern).
// Pure arithmetic; the footprint view, its printout and `quvtool footprint` read these results.
#pragma once

#include "catalogue/Pattern3D.h"

#include <optional>
#include <vector>

namespace quv {

// Free space; planners often use 35 to 40 for urban ground level.
inline constexpr double kFreeSpaceSlope = 20.0;

struct TFootprintGeometry {
    double height = 30.0;           // metres above the ground, > 0
    double mechanicalTilt = 0.0;    // degrees, positive down
    double slope = kFreeSpaceSlope; // path loss, dB per decade of slant range, >= 0
};

// The distances the boresight line covers, metres.
inline constexpr double kFootprintNearest = 10.0;
inline constexpr double kFootprintFarthest = 20000.0;

// Level at the ground point `distance` metres away, `azimuth` degrees clockwise from boresight,
// in dB: gain towards it minus `slope` log10 of the slant range in metres (not normalised).
double GroundLevel(const TPattern3D& pattern, const TFootprintGeometry& geometry, double azimuth,
                   double distance);

struct TFootprintLine {
    std::vector<double> distances; // metres, logarithmic steps from nearest to farthest
    std::vector<double> levels;    // dB relative to the line's maximum
    double maximumDistance = 0;
    // Where the level falls 3 and 10 dB below the maximum beyond it; nothing when it never
    // does within the line.
    std::optional<double> far3dB, far10dB;
};

// The line along one azimuth, `stepsPerDecade` points per decade of distance.
TFootprintLine FootprintAlong(const TPattern3D& pattern, const TFootprintGeometry& geometry,
                              double azimuth = 0.0, int stepsPerDecade = 200);

// The level around the mast seen from above, boresight up, `cells` x `cells` squares covering
// -radius..radius both ways; row 0 is the top. dB relative to the map's maximum; no cells for a
// count below one.
struct TFootprintMap {
    int cells = 0;
    double radius = 0;
    std::vector<float> levels; // [row * cells + column]
};

TFootprintMap FootprintMap(const TPattern3D& pattern, const TFootprintGeometry& geometry,
                           double radius, int cells);

} // namespace quv
