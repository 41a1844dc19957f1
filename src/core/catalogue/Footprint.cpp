#include "catalogue/Footprint.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
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

// The map evaluates these for every cell in plain arithmetic: in a process that has drawn with
// Qt, every call into the maths library costs some 200 ns on this machine (ten times a cell).
// atan2 within 0.001 degrees:
double FastAtan2(double y, double x)
{
    const double ax = std::fabs(x), ay = std::fabs(y);
    const double big = std::max(ax, ay);
    if (big == 0)
        return 0;
    const double t = std::min(ax, ay) / big;
    const double t2 = t * t;
    double a =
        t * (0.9998660 + t2 * (-0.3302995 + t2 * (0.1801410 + t2 * (-0.0851330 + t2 * 0.0208351))));
    if (ay > ax)
        a = std::numbers::pi / 2 - a;
    if (x < 0)
        a = std::numbers::pi - a;
    return y < 0 ? -a : a;
}

// 10 log10(v) for v > 0 within 1e-5 dB: the exponent from the bits, the mantissa's logarithm
// from its series in (m - 1) / (m + 1).
double FastPowerDb(double v)
{
    const auto bits = std::bit_cast<std::uint64_t>(v);
    const int exponent = static_cast<int>((bits >> 52) & 0x7ff) - 1023;
    const double m = std::bit_cast<double>((bits & 0xfffffffffffffULL) | 0x3ff0000000000000ULL);
    const double t = (m - 1) / (m + 1), t2 = t * t;
    const double log2m =
        2.8853900817779268 * t * (1 + t2 * (1.0 / 3 + t2 * (0.2 + t2 * (1.0 / 7 + t2 / 9))));
    return 3.0102999566398120 * (exponent + log2m);
}

// The level at the ground point `north` and `east` metres from the mast. Works on the direction
// vector rather than angles: a map evaluates this for every cell, and each trigonometric call
// saved is a millisecond there. The tilt turns the direction up, as TPattern3D::GainTilted does.
struct TGround {
    const TPattern3D& pattern;
    double height, cosTilt, sinTilt;
    double lossPerDb; // path loss per dB of squared slant range: slope / 20

    TGround(const TPattern3D& p, const TFootprintGeometry& g)
        : pattern(p), height(g.height), cosTilt(std::cos(g.mechanicalTilt / kDegrees)),
          sinTilt(std::sin(g.mechanicalTilt / kDegrees)), lossPerDb(g.slope / 20.0)
    {}

    // Fast: the approximations above, for maps; otherwise the library's exact functions.
    template <bool Fast> double Level(double north, double east) const
    {
        const double slant2 = north * north + east * east + height * height;
        const double inv = 1.0 / std::sqrt(slant2);
        const double x = north * inv, y = east * inv, z = -height * inv;
        const double xa = x * cosTilt - z * sinTilt;
        const double za = x * sinTilt + z * cosTilt;
        // asin(za) from the horizontal part of the turned direction.
        const double horizontal = std::sqrt(y * y + xa * xa);
        const double azimuth = (Fast ? FastAtan2(y, xa) : std::atan2(y, xa)) * kDegrees;
        const double elevation =
            (Fast ? FastAtan2(za, horizontal) : std::atan2(za, horizontal)) * kDegrees;
        return pattern.Gain(azimuth < 0 ? azimuth + 360 : azimuth, elevation) -
               lossPerDb * (Fast ? FastPowerDb(slant2) : 10.0 * std::log10(slant2));
    }
};

} // namespace

double GroundLevel(const TPattern3D& pattern, const TFootprintGeometry& geometry, double azimuth,
                   double distance)
{
    return TGround(pattern, geometry)
        .Level<false>(distance * std::cos(azimuth / kDegrees),
                      distance * std::sin(azimuth / kDegrees));
}

TFootprintLine FootprintAlong(const TPattern3D& pattern, const TFootprintGeometry& geometry,
                              double azimuth, int stepsPerDecade)
{
    TFootprintLine line;
    const double first = std::log10(kFootprintNearest);
    const double last = std::log10(kFootprintFarthest);
    const int steps = static_cast<int>(std::ceil((last - first) * std::max(1, stepsPerDecade)));
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
    if (cells <= 0)
        return map;
    map.levels.resize(static_cast<std::size_t>(cells) * static_cast<std::size_t>(cells));
    const double cell = 2.0 * radius / cells;
    const TGround ground(pattern, geometry);
    for (int r = 0; r < cells; ++r) {
        const double north = radius - (r + 0.5) * cell;
        for (int c = 0; c < cells; ++c) {
            const double east = (c + 0.5) * cell - radius;
            map.levels[static_cast<std::size_t>(r * cells + c)] =
                static_cast<float>(ground.Level<true>(north, east));
        }
    }
    const float top = *std::max_element(map.levels.begin(), map.levels.end());
    for (float& level : map.levels)
        level -= top;
    return map;
}

} // namespace quv
