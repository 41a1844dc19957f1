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

// Weighted bilinear assumes the main beam lies in the horizontal plane (its weights treat the
// horizon as the elevation cut's strongest level); with the beam tilted its cross weights vanish
// near the peak and the beam smears, while horizontal projection keeps the tilted beam's shape.
// The measured tilt's sign does not matter here, only whether there is one.
T3DMethod ResolveMethod(T3DMethod requested, const TPatternCuts& cuts)
{
    if (requested != T3DMethod::Auto)
        return requested;
    const auto tilt = MeasureElevation(cuts.elevation).tilt;
    return tilt && *tilt != 0 ? T3DMethod::Projection : T3DMethod::Bilinear;
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
    TPattern3D p;
    p.method_ = method;
    p.levels_.resize(static_cast<std::size_t>(TPattern3D::kAzimuths * TPattern3D::kElevations));
    for (int e = 0; e < TPattern3D::kElevations; ++e) {
        const auto ei = static_cast<std::size_t>(e);
        float* row = &p.levels_[ei * TPattern3D::kAzimuths];
        for (int a = 0; a < TPattern3D::kAzimuths; ++a) {
            const auto ai = static_cast<std::size_t>(a);
            const bool behind = a > 90 && a < 270;
            const double h = az[ai];
            double g = 0;
            switch (method) {
            case T3DMethod::Auto:
            case T3DMethod::Summing:
                g = h + (behind ? back[ei] : front[ei]);
                break;
            case T3DMethod::Bilinear: {
                // Cross weights: the azimuth cut's change counts where the elevation cut is
                // close to its horizon level and the other way round. Each hemisphere measures
                // from its own cut (boresight in front, the back direction behind), where one
                // weight is zero, so both cuts come out exactly.
                const double base = behind ? az[180] : 0.0;
                const double da = h - base;
                const double dv = behind ? back[ei] : front[ei];
                const double hor = std::pow(10.0, -std::fabs(da) / 10.0);
                const double vert = std::pow(10.0, -std::fabs(dv) / 10.0);
                const double w1 = vert * (1.0 - hor);
                const double w2 = hor * (1.0 - vert);
                g = base + (w1 + w2 > 1e-12 ? (da * w1 + dv * w2) / (w1 + w2) : da + dv);
                break;
            }
            case T3DMethod::Projection: {
                // The azimuth cut carried to every elevation, corrected by the elevation cut's
                // loss there, taken from the front and the back cut in proportion to the angle
                // from boresight.
                const double off = (a <= 180 ? a : 360 - a) / 180.0;
                g = h + (1.0 - off) * front[ei] + off * back[ei];
                break;
            }
            }
            row[a] = static_cast<float>(g + frontHorizon);
        }
    }
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
