#include "catalogue/Pattern3D.h"

#include "catalogue/ElevationAngles.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quv {

namespace {

int Wrap360(int degrees)
{
    return ((degrees % 360) + 360) % 360;
}

// Weighted bilinear: the cross-weighted interpolation of F. Gil, A. R. Claro, J. M. Ferreira,
// C. Pardelinha and L. M. Correia, "A 3D interpolation method for base-station-antenna radiation
// patterns", IEEE Antennas and Propagation Magazine 43(2), 2001, with their k = 2. `da` and `dv`
// are the losses along the azimuth and the elevation cut; each counts where the other cut is
// still near its reference, and the weights are normalised by their k-norm, not their sum.
double CrossWeighted(double da, double dv)
{
    constexpr double k = 2.0;
    const double hor = std::pow(10.0, -std::fabs(da) / (10.0 * k));
    const double vert = std::pow(10.0, -std::fabs(dv) / (10.0 * k));
    const double w1 = vert * (1.0 - hor);
    const double w2 = hor * (1.0 - vert);
    const double norm = std::sqrt(w1 * w1 + w2 * w2); // (w1^k + w2^k)^(1/k)
    return norm > 1e-12 ? (da * w1 + dv * w2) / norm : da + dv;
}

} // namespace

std::optional<T3DMethod> MethodFromName(std::string_view name)
{
    for (const T3DMethod m :
         {T3DMethod::Auto, T3DMethod::Summing, T3DMethod::Bilinear, T3DMethod::Projection})
        if (MethodName(m) == name)
            return m;
    return std::nullopt;
}

std::string_view MethodName(T3DMethod method)
{
    switch (method) {
    case T3DMethod::Auto:
        return "auto";
    case T3DMethod::Summing:
        return "summing";
    case T3DMethod::Bilinear:
        return "bilinear";
    case T3DMethod::Projection:
        return "projection";
    }
    return "auto";
}

// The plots draw the azimuth index counter-clockwise as seen from above, so clockwise from
// boresight is the export accessor's direction: AzimuthAt(a) = Azimuth[360 - a].
double TPatternCuts::AzimuthClockwise(int degrees) const
{
    return azimuth[static_cast<std::size_t>(Wrap360(360 - Wrap360(degrees)))];
}

double TPatternCuts::ElevationAbove(int degrees) const
{
    return elevation[static_cast<std::size_t>(FileLineFromElevation(degrees))];
}

std::optional<TPatternCuts> CutsOf(const TQuvFile& record)
{
    const auto azimuth = CutLevels(record.Azimuth);
    const auto elevation = CutLevels(record.Elevation);
    if (!azimuth || !elevation)
        return std::nullopt;
    return TPatternCuts{*azimuth, *elevation};
}

// Chosen by measurement on analytic antennas whose every direction is known (bench/space, the
// README's table). Summing came within 0.15 dB of the best method on every antenna, tilted or
// not, wide or narrow, except where the back lobe comes within about 15 dB of boresight: there
// the sides mix front and back, and projection, which hands over from the front cut to the back
// one all the way round, does best. Bilinear never won.
constexpr double kStrongBackLobe = 18.0; // dB, front to back

T3DMethod ResolveMethod(T3DMethod requested, const TPatternCuts& cuts)
{
    if (requested != T3DMethod::Auto)
        return requested;
    const double frontToBack = cuts.AzimuthClockwise(0) - cuts.AzimuthClockwise(180);
    return frontToBack < kStrongBackLobe ? T3DMethod::Projection : T3DMethod::Summing;
}

TPattern3D BuildPattern3D(const TPatternCuts& cuts, T3DMethod requested)
{
    const T3DMethod method = ResolveMethod(requested, cuts);

    // Losses along each cut relative to the point where the cuts meet: azimuth from boresight on
    // the horizon, elevation from the front horizon (front) and from the back horizon (back).
    std::array<double, 360> az{}, front{}, back{};
    const double frontHorizon = cuts.ElevationAbove(0);
    const double backHorizon = cuts.ElevationAbove(180);
    const double boresight = cuts.AzimuthClockwise(0);
    for (int a = 0; a < 360; ++a)
        az[static_cast<std::size_t>(a)] = cuts.AzimuthClockwise(a) - boresight;
    for (int e = -90; e <= 90; ++e) {
        front[static_cast<std::size_t>(e + 90)] = cuts.ElevationAbove(e) - frontHorizon;
        back[static_cast<std::size_t>(e + 90)] = cuts.ElevationAbove(180 - e) - backHorizon;
    }
    // The published weighting measures the elevation cut from its own peak: from the horizon,
    // a tilted beam's peak would count as a loss as large as the tilt's.
    const double frontPeak = *std::max_element(front.begin(), front.begin() + 181);
    // No rebuilt level lies below the deepest level either cut measured: adding two deep
    // losses gives depths no measurement supports.
    double lowest = 0;
    for (int i = 0; i < 360; ++i)
        lowest = std::min(
            {lowest, az[static_cast<std::size_t>(i)] + frontHorizon, cuts.ElevationAbove(i)});
    TPattern3D p;
    p.method_ = method;
    p.levels_.resize(static_cast<std::size_t>(TPattern3D::kAzimuths * TPattern3D::kElevations));
    for (int e = 0; e < TPattern3D::kElevations; ++e) {
        const auto ei = static_cast<std::size_t>(e);
        float* row = &p.levels_[ei * TPattern3D::kAzimuths];
        for (int a = 0; a < TPattern3D::kAzimuths; ++a) {
            const auto ai = static_cast<std::size_t>(a);
            const double h = az[ai];
            const int off = a <= 180 ? a : 360 - a; // degrees from boresight, either side
            double g = 0;
            if (method == T3DMethod::Projection) {
                // The azimuth cut carried to every elevation, corrected by the elevation cut's
                // loss there, taken from the front and the back cut in proportion to the angle
                // from boresight.
                const double t = off / 180.0;
                g = h + (1.0 - t) * front[ei] + t * back[ei];
            } else {
                // Each method measures the front hemisphere from the front cut and the direction
                // behind from the back cut. Across the side the two hand over linearly from 90
                // to 180 degrees off boresight: the cuts describe the same zenith and nadir
                // with different reference levels, and switching at 90 degrees left seams of
                // the whole front-to-back ratio there.
                const double inFront = method == T3DMethod::Bilinear
                                           ? frontPeak + CrossWeighted(h, front[ei] - frontPeak)
                                           : h + front[ei];
                if (off <= 90) {
                    g = inFront;
                } else {
                    const double base = az[180];
                    const double behind =
                        base + (method == T3DMethod::Bilinear ? CrossWeighted(h - base, back[ei])
                                                              : h - base + back[ei]);
                    const double t = (off - 90) / 90.0;
                    g = (1.0 - t) * inFront + t * behind;
                }
            }
            row[a] = static_cast<float>(std::max(g + frontHorizon, lowest));
        }
    }
    const float peak = *std::max_element(p.levels_.begin(), p.levels_.end());
    for (float& level : p.levels_)
        level -= peak;
    return p;
}

TPattern3D TPattern3D::Tilted(double downtilt) const
{
    if (downtilt == 0)
        return *this;
    TPattern3D p;
    p.method_ = method_;
    p.levels_.resize(levels_.size());
    for (int e = 0; e < kElevations; ++e)
        for (int a = 0; a < kAzimuths; ++a)
            p.levels_[static_cast<std::size_t>(e * kAzimuths + a)] =
                static_cast<float>(GainTilted(a, e - 90, downtilt));
    const float peak = *std::max_element(p.levels_.begin(), p.levels_.end());
    for (float& level : p.levels_)
        level -= peak;
    return p;
}

double TPattern3D::At(int azimuth, int elevation) const
{
    const int e = std::clamp(elevation, -90, 90) + 90;
    return levels_[static_cast<std::size_t>(e * kAzimuths + Wrap360(azimuth))];
}

double TPattern3D::Gain(double azimuth, double elevation) const
{
    // Floors by conversion: a library floor call is slow in a process that has drawn with Qt.
    elevation = std::clamp(elevation, -90.0, 90.0);
    int a = static_cast<int>(azimuth);
    a -= a > azimuth ? 1 : 0;
    int e = static_cast<int>(elevation);
    e -= e > elevation ? 1 : 0;
    e = std::min(e, 89);
    const double fa = azimuth - a;
    const double fe = elevation - e;
    return (1 - fe) * ((1 - fa) * At(a, e) + fa * At(a + 1, e)) +
           fe * ((1 - fa) * At(a, e + 1) + fa * At(a + 1, e + 1));
}

double TPattern3D::GainTilted(double azimuth, double elevation, double downtilt) const
{
    if (downtilt == 0)
        return Gain(azimuth, elevation);
    constexpr double rad = std::numbers::pi / 180.0;
    // x forward along the untilted boresight, y to the right, z up; the tilted antenna sees a
    // direction turned up by the tilt.
    const double ce = std::cos(elevation * rad);
    const double x = ce * std::cos(azimuth * rad);
    const double y = ce * std::sin(azimuth * rad);
    const double z = std::sin(elevation * rad);
    const double c = std::cos(downtilt * rad);
    const double s = std::sin(downtilt * rad);
    const double xa = x * c - z * s;
    const double za = x * s + z * c;
    const double az = std::atan2(y, xa) / rad;
    const double el = std::asin(std::clamp(za, -1.0, 1.0)) / rad;
    return Gain(az < 0 ? az + 360 : az, el);
}

} // namespace quv
