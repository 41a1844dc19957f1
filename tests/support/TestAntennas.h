// Antennas whose true pattern is known in every direction, for the 3D and footprint tests and the
// benchmark: their cuts are taken from the true pattern exactly as a measurement would take them.
// Directions: azimuth clockwise from boresight, elevation positive above the horizon, degrees.
#pragma once

#include "catalogue/Pattern3D.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace quvtest {

using TTruePattern = std::function<double(double azimuth, double elevation)>; // dB

inline double Rad(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

// Eight isotropic elements stacked at half a wavelength, phased to tilt the beam down by
// `downtilt` degrees, times an element of 65 degrees half-power beamwidth on the horizon. The
// element is cos^n of half the angle off boresight, so it is smooth all round and does not fall
// apart into an azimuth and an elevation factor: no method can be exact on it.
inline double ArrayElementTruth(double azimuth, double elevation, double downtilt = 6.0)
{
    constexpr int n = 8;
    const double psi =
        std::numbers::pi * (std::sin(Rad(elevation)) + std::sin(Rad(downtilt))); // kd = pi
    const double half = std::sin(psi / 2);
    const double af =
        std::fabs(half) < 1e-12 ? 1.0 : std::sin(n * psi / 2) / (n * half); // field, 1 at peak
    const double cosOff = std::cos(Rad(elevation)) * std::cos(Rad(azimuth));
    // ((1 + cos 32.5) / 2)^m = 1/2 gives m for 65 degrees.
    const double m = std::log(0.5) / std::log((1 + std::cos(Rad(32.5))) / 2);
    const double element = std::pow((1 + cosOff) / 2, m);
    return 10 * std::log10(std::max(af * af * element, 1e-6)); // floor at -60 dB
}

// A panel built as planners meet them: `rows` isotropic elements stacked half a wavelength
// apart and phased `downtilt` degrees down, optionally with a cosine-on-pedestal amplitude taper,
// times `columns` side by side `columnSpacing` wavelengths apart, times an element of
// `elementWidth` degrees half-power beamwidth whose radiation behind is held `frontToBack` dB
// below its peak (0: the element alone, which falls to nothing straight behind).
struct TPanel {
    const char* name;
    int rows = 8;
    double downtilt = 0;
    int columns = 1;
    double columnSpacing = 0.5;
    double elementWidth = 65;
    bool tapered = false;
    double frontToBack = 0;
};

inline double PanelTruth(const TPanel& panel, double azimuth, double elevation)
{
    // Field of a uniform or tapered line of n elements at phase step psi, 1 at psi = 0.
    const auto line = [](int n, double psi, bool tapered) {
        double re = 0, im = 0, sum = 0;
        for (int k = 0; k < n; ++k) {
            const double u = n > 1 ? (2.0 * k - (n - 1)) / (n - 1) : 0.0; // -1..1
            const double w = tapered ? 0.3 + 0.7 * std::cos(std::numbers::pi / 2 * u) : 1.0;
            re += w * std::cos(k * psi);
            im += w * std::sin(k * psi);
            sum += w;
        }
        return (re * re + im * im) / (sum * sum);
    };
    const double vertical = line(
        panel.rows, std::numbers::pi * (std::sin(Rad(elevation)) + std::sin(Rad(panel.downtilt))),
        panel.tapered);
    const double across = std::cos(Rad(elevation)) * std::sin(Rad(azimuth));
    const double horizontal =
        line(panel.columns, 2 * std::numbers::pi * panel.columnSpacing * across, false);
    const double cosOff = std::cos(Rad(elevation)) * std::cos(Rad(azimuth));
    const double m = std::log(0.5) / std::log((1 + std::cos(Rad(panel.elementWidth / 2))) / 2);
    double element = std::pow((1 + cosOff) / 2, m);
    if (panel.frontToBack > 0)
        element += std::pow(10.0, -panel.frontToBack / 10);
    return 10 * std::log10(std::max(vertical * horizontal * element, 1e-6)); // floor at -60 dB
}

// The analytic antennas every method is measured on: the first five are the ones the methods
// were first compared on, the rest widen the range (beamwidths, tilts, tapers, back lobes).
inline const std::vector<TPanel>& AnalyticPanels()
{
    static const std::vector<TPanel> panels{
        {"8 elements, 6 down", 8, 6},
        {"8 elements, no tilt", 8, 0},
        {"4 columns, 2 down", 8, 2, 4, 0.35},
        {"8 elements, 2 down, 30 dB back", 8, 2, 1, 0.5, 65, false, 30},
        {"12 elements, 10 down", 12, 10},
        {"16 elements, no tilt", 16, 0},
        {"4 elements, 3 down, 90 deg", 4, 3, 1, 0.5, 90},
        {"6 elements, 8 down, 120 deg, 15 dB back", 6, 8, 1, 0.5, 120, false, 15},
        {"10 elements tapered, 4 down", 10, 4, 1, 0.5, 65, true},
        {"2 columns, 0 down, 20 dB back", 8, 0, 2, 0.5, 65, false, 20},
        {"8 elements tapered, 14 down, 45 deg", 8, 14, 1, 0.5, 45, true},
        {"4 elements, no tilt, 90 deg, 10 dB back", 4, 0, 1, 0.5, 90, false, 10},
        {"6 elements, 5 down, 3 columns, 12 dB back", 6, 5, 3, 0.5, 65, false, 12},
    };
    return panels;
}

// A beam `verticalWidth` degrees wide (half power) peaking `downtilt` degrees below the horizon,
// 65 degrees wide in azimuth, 30 dB down behind.
inline double PencilTruth(double azimuth, double elevation, double downtilt,
                          double verticalWidth = 1.0)
{
    const double v = -12.0 * std::pow((elevation + downtilt) / verticalWidth, 2);
    const double a = -12.0 * std::pow(azimuth > 180 ? 360 - azimuth : azimuth, 2) / (65.0 * 65.0);
    return std::max(v + a, -30.0);
}

// The two cuts of a true pattern, each relative to its own peak as data files store them.
inline quv::TPatternCuts CutsFromTruth(const TTruePattern& truth)
{
    quv::TPatternCuts cuts;
    for (int i = 0; i < 360; ++i) {
        // Azimuth index i runs counter-clockwise: i degrees anticlockwise is 360 - i clockwise.
        cuts.azimuth[static_cast<std::size_t>(i)] = truth((360 - i) % 360, 0.0);
        // Elevation line i is i degrees above the front horizon, over the top to behind.
        cuts.elevation[static_cast<std::size_t>(i)] = i <= 90   ? truth(0, i)
                                                      : i < 270 ? truth(180, 180 - i)
                                                                : truth(0, i - 360);
    }
    for (auto* cut : {&cuts.azimuth, &cuts.elevation}) {
        const double peak = *std::max_element(cut->begin(), cut->begin() + 360);
        for (int i = 0; i < 360; ++i)
            (*cut)[static_cast<std::size_t>(i)] -= peak;
        (*cut)[360] = (*cut)[0];
    }
    return cuts;
}

// Mean absolute difference between a rebuilt pattern and the truth over the grid directions
// where the truth is within 20 dB of its peak.
inline double MeanErrorNearPeak(const quv::TPattern3D& pattern, const TTruePattern& truth)
{
    std::vector<double> exact;
    double peak = -1e9;
    for (int e = -90; e <= 90; ++e)
        for (int a = 0; a < 360; ++a)
            peak = std::max(peak, exact.emplace_back(truth(a, e)));
    double sum = 0;
    int count = 0;
    std::size_t k = 0;
    for (int e = -90; e <= 90; ++e)
        for (int a = 0; a < 360; ++a, ++k)
            if (exact[k] - peak >= -20.0) {
                sum += std::fabs(pattern.At(a, e) - (exact[k] - peak));
                ++count;
            }
    return sum / count;
}

// The [POINTS] section of a data file holding these cuts, levels with two decimals.
inline std::string PointsSection(const quv::TPatternCuts& cuts)
{
    std::string text = "[POINTS]\r\n";
    for (const auto* cut : {&cuts.azimuth, &cuts.elevation})
        for (int p = 0; p <= 360; ++p) {
            // Position p holds the file angle p - 180, which is list index (p + 180) mod 360.
            char level[32];
            std::snprintf(level, sizeof level, "%.2f",
                          (*cut)[static_cast<std::size_t>((p + 180) % 360)]);
            text += std::to_string(p - 180) + "=" + level + "\r\n";
        }
    return text;
}

} // namespace quvtest
