// The gain of an antenna in every direction, rebuilt from its two measured cuts, on a 1-degree
// grid of azimuth 0..359 (clockwise from boresight, seen from above) and elevation -90..90
// (positive above the horizon, so a downtilted beam peaks at a negative elevation), in dB
// relative to the grid's peak. Pure arithmetic over numbers; the 3D view, the footprint and
// `quvtool pattern3d` all read the grid built here.
//
// Every method reproduces the elevation cut at azimuth 0 exactly and at azimuth 180 in shape;
// summing and projection reproduce the azimuth cut on the horizon exactly too (shifted to the
// elevation cut's level at the front horizon), weighted bilinear only for a beam on the horizon.
// Front and back hand over continuously across the sides, and no level falls below the deepest
// level either cut measured.
#pragma once

#include "catalogue/PatternMetrics.h"
#include "catalogue/QuvFile.h"

#include <optional>
#include <string_view>
#include <vector>

namespace quv {

enum class T3DMethod { Auto, Summing, Bilinear, Projection };

// "auto", "summing", "bilinear", "projection"; nullopt for any other name.
std::optional<T3DMethod> MethodFromName(std::string_view name);
std::string_view MethodName(T3DMethod method);

// The two cuts of one antenna as numbers, indexed as the record stores them.
struct TPatternCuts {
    TCutLevels azimuth{};
    TCutLevels elevation{};

    // Level at `degrees` clockwise from boresight on the horizon (AzimuthAt's direction).
    double AzimuthClockwise(int degrees) const;
    // Level at `degrees` above the front horizon, continuing over the top: 90 is the zenith,
    // 180 the horizon behind, 270 the nadir.
    double ElevationAbove(int degrees) const;
};

// nullopt when a cut is short or holds a level that is not a number.
std::optional<TPatternCuts> CutsOf(const TQuvFile& record);

// The method Auto stands for with these cuts: chosen by measurement on analytic antennas.
T3DMethod ResolveMethod(T3DMethod requested, const TPatternCuts& cuts);

class TPattern3D {
public:
    static constexpr int kAzimuths = 360;
    static constexpr int kElevations = 181;

    // Level at whole degrees: azimuth wraps, elevation -90..90.
    double At(int azimuth, int elevation) const;
    // Level in any direction, interpolated between the four surrounding grid points.
    double Gain(double azimuth, double elevation) const;
    // The same after the antenna is tilted down mechanically by `downtilt` degrees: the whole
    // pattern turns about the horizontal axis across the boresight.
    double GainTilted(double azimuth, double elevation, double downtilt) const;

    // The grid of the antenna as mounted `downtilt` degrees down (GainTilted at every grid
    // direction), relative to its own peak: what a simulator needs when the mast tilts it.
    TPattern3D Tilted(double downtilt) const;

    T3DMethod Method() const { return method_; }
    const std::vector<float>& Levels() const { return levels_; }

private:
    friend TPattern3D BuildPattern3D(const TPatternCuts& cuts, T3DMethod method);
    std::vector<float> levels_; // [elevation + 90][azimuth]
    T3DMethod method_ = T3DMethod::Summing;
};

TPattern3D BuildPattern3D(const TPatternCuts& cuts, T3DMethod method);

} // namespace quv
