#include "catalogue/Footprint.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quv {

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

// The first distance beyond the maximum where the level falls `below` dB under it, linear
// between the samples in log distance.
std::optional<double> FarEdge(const TFootprintLine& line, std::size_t peak, double below)
{
    for (std::size_t i = peak + 1; i < line.levels.size(); ++i) {
        if (line.levels[i] <= -below) {
            const double l0 = line.levels[i - 1], l1 = line.levels[i];
            const double f = l0 == l1 ? 0.0 : (l0 + below) / (l0 - l1);
            const double d0 = std::log10(line.distances[i - 1]);
            const double d1 = std::log10(line.distances[i]);
            return std::pow(10.0, d0 + f * (d1 - d0));
        }
    }
    return std::nullopt;
}

} // namespace

double GroundLevel(const TPattern3D& pattern, const TFootprintGeometry& geometry, double azimuth,
                   double distance)
{
    const double elevation = -std::atan2(geometry.height, distance) * kDegrees;
    const double slant = std::hypot(distance, geometry.height);
    return pattern.GainTilted(azimuth, elevation, geometry.mechanicalTilt) -
           20.0 * std::log10(slant);
}

TFootprintLine FootprintAlong(const TPattern3D& pattern, const TFootprintGeometry& geometry,
                              double azimuth, int stepsPerDecade)
{
    TFootprintLine line;
    const double first = std::log10(kFootprintNearest);
    const double last = std::log10(kFootprintFarthest);
    const int steps = static_cast<int>(std::ceil((last - first) * stepsPerDecade));
    for (int i = 0; i <= steps; ++i) {
        const double d = std::pow(10.0, first + (last - first) * i / steps);
        line.distances.push_back(d);
        line.levels.push_back(GroundLevel(pattern, geometry, azimuth, d));
    }
    const auto peakAt = std::max_element(line.levels.begin(), line.levels.end());
    const auto peak = static_cast<std::size_t>(peakAt - line.levels.begin());
    const double top = *peakAt;
    for (double& level : line.levels)
        level -= top;
    line.maximumDistance = line.distances[peak];
    line.far3dB = FarEdge(line, peak, 3.0);
    line.far10dB = FarEdge(line, peak, 10.0);
    return line;
}

TFootprintMap FootprintMap(const TPattern3D& pattern, const TFootprintGeometry& geometry,
                           double radius, int cells)
{
    TFootprintMap map;
    map.cells = cells;
    map.radius = radius;
    map.levels.resize(static_cast<std::size_t>(cells) * static_cast<std::size_t>(cells));
    const double cell = 2.0 * radius / cells;
    for (int r = 0; r < cells; ++r) {
        const double north = radius - (r + 0.5) * cell;
        for (int c = 0; c < cells; ++c) {
            const double east = (c + 0.5) * cell - radius;
            const double bearing = std::atan2(east, north) * kDegrees;
            const double level = GroundLevel(
                pattern, geometry, bearing < 0 ? bearing + 360 : bearing, std::hypot(east, north));
            map.levels[static_cast<std::size_t>(r * cells + c)] = static_cast<float>(level);
        }
    }
    const float top = *std::max_element(map.levels.begin(), map.levels.end());
    for (float& level : map.levels)
        level -= top;
    return map;
}

} // namespace quv
