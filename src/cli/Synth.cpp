// Synthetic catalogue: curated coverage models first (every application category of the filters,
// shared part numbers with sub-bands, variable downtilt), then random models. Each model gets a
// sector or omni azimuth cut and an N-element array elevation cut fitted to its stated beamwidths.
#include "Synth.h"

#include "CliCommon.h"
#include "catalogue/ElevationAngles.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <stdexcept>
#include <string_view>

namespace quv {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFloorDb = -45.0;

// Raw mt19937 output only: the standard distributions' results vary between libraries.
class Rng {
public:
    explicit Rng(std::mt19937& engine) : engine_(engine) {}
    double Unit() { return static_cast<double>(engine_()) / 4294967296.0; }
    double Uniform(double lo, double hi) { return lo + (hi - lo) * Unit(); }
    int Int(int lo, int hi)
    {
        return lo + static_cast<int>(engine_() % static_cast<std::uint32_t>(hi - lo + 1));
    }
    bool Chance(double p) { return Unit() < p; }
    template <typename T, std::size_t N> const T& Pick(const std::array<T, N>& items)
    {
        return items[static_cast<std::size_t>(Int(0, static_cast<int>(N) - 1))];
    }

private:
    std::mt19937& engine_;
};

// Fixed decimals with halves away from zero on the scaled value; never "-0.00".
std::string Fixed(double value, int decimals)
{
    long long scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    long long n = std::llround(value * static_cast<double>(scale));
    const bool negative = n < 0;
    if (negative)
        n = -n;
    std::string text = std::to_string(n / scale);
    if (decimals > 0) {
        std::string frac = std::to_string(n % scale);
        text += "." + std::string(static_cast<std::size_t>(decimals) - frac.size(), '0') + frac;
    }
    return negative ? "-" + text : text;
}

std::string Int(double value)
{
    return std::to_string(std::llround(value));
}
std::string Inches(double mm)
{
    return Fixed(mm / 25.4, 1);
}
std::string Pounds(double kg)
{
    return Fixed(kg * 2.20462, 1);
}

enum class Kind { Sector, Omni };
enum class Pol { Vertical, DualSlant, Slant, DualVH };

struct Band {
    int beg;
    int end;
    const char* code; // part-number band code
};

// One model as the catalogue states it; the patterns are fitted to these values.
struct Model {
    std::string partNumber;
    Band band;
    int subBeg = 0;
    int subEnd = 0;
    Kind kind = Kind::Sector;
    Pol pol = Pol::Vertical;
    int azBw = 65;            // 360 for omni
    double elBw = 10;         // degrees
    std::string tiltText;     // "Electrical Downtilt, deg" as written
    int patternTilt = 0;      // tilt of the measured elevation cut
    int frontToBack = 25;     // stated, dB
    bool fbAsMinimum = false; // written ">25"
    double actualFb = 25;     // level below the peak at 180 degrees in the patterns
    double gainDbd = 0;
};

std::string PolText(Pol pol)
{
    switch (pol) {
    case Pol::Vertical:
        return "Vertical";
    case Pol::DualSlant:
        return "Dual Slant +/-45";
    case Pol::Slant:
        return "Slant 45";
    case Pol::DualVH:
        return "Dual Vertical/Horizontal";
    }
    return "Vertical";
}

bool IsDualPort(Pol pol)
{
    return pol == Pol::DualSlant || pol == Pol::DualVH;
}

// Directivity estimates turned into a catalogue gain in half-dB steps.
double GainFor(Kind kind, int azBw, double elBw, double jitter)
{
    const double dbi = kind == Kind::Omni ? 10.0 * std::log10(100.0 / elBw)
                                          : 10.0 * std::log10(29000.0 / (azBw * elBw));
    return std::round((dbi - 2.15 + jitter) * 2.0) / 2.0;
}

// ---- Patterns ------------------------------------------------------------------------------

double Smoothstep(double x)
{
    if (x <= 0)
        return 0;
    if (x >= 1)
        return 1;
    return x * x * (3 - 2 * x);
}

struct Ripple {
    std::array<double, 4> amp{};
    std::array<int, 4> freq{};
    std::array<double, 4> phase{};
    double At(double deg) const
    {
        double sum = 0;
        for (std::size_t i = 0; i < amp.size(); ++i)
            sum += amp[i] * std::sin(freq[i] * deg * kPi / 180.0 + phase[i]);
        return sum;
    }
};

Ripple MakeRipple(Rng& rng, double amplitude, int minFreq, int maxFreq)
{
    Ripple r;
    for (std::size_t i = 0; i < r.amp.size(); ++i) {
        r.amp[i] = amplitude * rng.Uniform(0.3, 1.0) / 4.0; // peak sum about `amplitude`
        r.freq[i] = rng.Int(minFreq, maxFreq);
        r.phase[i] = rng.Uniform(0, 2 * kPi);
    }
    return r;
}

// Sector azimuth power: Gaussian main beam, a broad shoulder that vanishes at the back, and a
// back lobe whose level at 180 degrees is exactly the front-to-back ratio.
struct SectorAzimuth {
    double w = 30; // main-beam width parameter
    double shoulder = 0.04;
    double shoulderK = 2;
    double back = 0.003;
    double backWidth = 30;
    double Power(double deg) const
    {
        const double a = std::fabs(deg);
        // Powers of the (1 + cos) / 2 window keep the front lobes out of the back, so the back lobe
        // stays the strongest feature behind the antenna even for wide beams.
        const double window = (1 + std::cos(a * kPi / 180.0)) / 2;
        const double main = std::pow(10.0, -0.3 * (a / w) * (a / w)) * window * window;
        const double sh = shoulder *
                          std::pow(10.0, -0.3 * (a / (w * shoulderK)) * (a / (w * shoulderK))) *
                          window * window * window;
        const double b = (180 - a) / backWidth;
        return main + sh + back * std::pow(10.0, -0.3 * b * b);
    }
    double HalfPowerWidth() const
    {
        const double half = Power(0) / 2;
        double lo = 0, hi = 179;
        for (int i = 0; i < 40; ++i) {
            const double mid = (lo + hi) / 2;
            (Power(mid) > half ? lo : hi) = mid;
        }
        return 2 * lo;
    }
};

std::array<double, 361> AzimuthCut(const Model& m, Rng& rng)
{
    std::array<double, 361> level{};
    if (m.kind == Kind::Omni) {
        const Ripple r = MakeRipple(rng, 1.0, 1, 4);
        double hi = -1e9, lo = 1e9;
        for (int k = 0; k <= 360; ++k) {
            level[k] = r.At(k - 180);
            hi = std::max(hi, level[k]);
            lo = std::min(lo, level[k]);
        }
        const double spread = rng.Uniform(0.4, 1.0); // peak-to-peak in dB
        for (double& v : level)
            v = (v - hi) * spread / std::max(hi - lo, 1e-9);
        return level;
    }
    SectorAzimuth az;
    az.shoulder = std::pow(10.0, -rng.Uniform(12, 17) / 10);
    az.shoulderK = rng.Uniform(1.7, 2.3);
    az.backWidth = rng.Uniform(22, 40);
    const double target = m.azBw;
    double lo = target / 6, hi = 2 * target;
    for (int i = 0; i < 40; ++i) {
        az.w = (lo + hi) / 2;
        az.back = 0; // the back lobe does not reach the half-power points
        (az.HalfPowerWidth() < target ? lo : hi) = az.w;
    }
    az.w = (lo + hi) / 2;
    // Back lobe set so that the level at 180 degrees is exactly the front-to-back ratio.
    const double peak = az.Power(0);
    const double wanted = std::pow(10.0, -m.actualFb / 10.0) * peak;
    az.back = std::max(wanted - az.Power(180), 0.2 * wanted);
    const Ripple r = MakeRipple(rng, rng.Uniform(0.6, 1.6), 3, 13);
    for (int k = 0; k <= 360; ++k) {
        const double deg = k - 180;
        const double a = std::fabs(deg);
        // No ripple inside the main beam (keeps the HPBW) nor at the back (keeps F/B).
        const double env =
            Smoothstep((a - 0.6 * target) / (0.4 * target)) * Smoothstep((170 - a) / 40);
        level[k] = 10 * std::log10(az.Power(deg) / peak) + env * r.At(deg);
    }
    return level;
}

// Vertical array: N elements at spacing d wavelengths with a parabolic taper, phased for the
// tilt; elevation angle positive below the horizon, |angle| > 90 is behind the antenna.
struct ElevationModel {
    int n = 8;
    double d = 0.8;
    double taper = 0.2;
    double tilt = 0;
    bool omni = false;
    double back = 0.003; // element level behind a panel (front-to-back)
    double fill = 1e-3;  // null fill
    double Element(double deg) const
    {
        const double c = std::cos(deg * kPi / 180.0);
        if (omni)
            return 0.02 + 0.98 * c * c;
        const double front = c > 0 ? c * c * (1 + c) / 2 : 0.0;
        return back + (1 - back) * front;
    }
    double ArrayFactor(double deg) const
    {
        const double psi =
            2 * kPi * d * (std::sin(deg * kPi / 180.0) - std::sin(tilt * kPi / 180.0));
        // Sum of w_k cos/sin(k psi) with the Chebyshev recurrence, centred on the array middle.
        const double cp = std::cos(psi), sp = std::sin(psi);
        double re = 0, im = 0, wsum = 0;
        double ck = 1, sk = 0;
        for (int k = 0; k < n; ++k) {
            const double x = n > 1 ? (2.0 * k - (n - 1)) / (n - 1) : 0.0;
            const double w = 1 - taper * x * x;
            re += w * ck;
            im += w * sk;
            wsum += w;
            const double c2 = ck * cp - sk * sp;
            sk = sk * cp + ck * sp;
            ck = c2;
        }
        return (re * re + im * im) / (wsum * wsum);
    }
    double omniBack = 1; // a mast or clamp makes the rear half of an omni cut slightly weaker
    double Power(double deg) const
    {
        const double p = Element(deg) * (ArrayFactor(deg) + fill);
        return omni && std::fabs(deg) > 90 ? p * omniBack : p;
    }
    double PeakAngle() const
    {
        double best = tilt, bestP = -1;
        for (double a = tilt - 4; a <= tilt + 4; a += 0.1) {
            const double p = Power(a);
            if (p > bestP) {
                bestP = p;
                best = a;
            }
        }
        return best;
    }
    double Edge(double peakDeg, double half, double dir) const
    {
        const double step = 0.25;
        double a = peakDeg;
        while (Power(a + dir * step) > half && std::fabs(a - peakDeg) < 90)
            a += dir * step;
        double lo = a, hi = a + dir * step; // Power(lo) > half >= Power(hi)
        for (int i = 0; i < 20; ++i) {
            const double mid = (lo + hi) / 2;
            (Power(mid) > half ? lo : hi) = mid;
        }
        return lo;
    }
    double HalfPowerWidth() const
    {
        const double peak = PeakAngle();
        const double half = Power(peak) / 2;
        return Edge(peak, half, 1) - Edge(peak, half, -1);
    }
};

std::array<double, 361> ElevationCut(const Model& m, Rng& rng)
{
    ElevationModel el;
    el.omni = m.kind == Kind::Omni;
    el.tilt = m.patternTilt;
    el.taper = rng.Uniform(0.15, 0.6);
    el.back = std::pow(10.0, -m.actualFb / 10.0);
    el.fill = std::pow(10.0, -rng.Uniform(27, 36) / 10);
    el.omniBack = std::pow(10.0, -rng.Uniform(0.1, 0.4) / 10);
    const double target = m.elBw;
    // Spacing at most 0.85 wavelength keeps grating lobes out of sight for tilts up to 10.
    el.n = std::max(2, static_cast<int>(std::ceil(58.0 / (0.85 * target))));
    for (int attempt = 0; attempt < 40; ++attempt) {
        el.d = 0.85;
        const double narrowest = el.HalfPowerWidth();
        el.d = 0.35;
        const double widest = el.HalfPowerWidth();
        if (narrowest > target) {
            ++el.n;
            continue;
        }
        if (widest < target && el.n > 2) {
            --el.n;
            continue;
        }
        break;
    }
    double lo = 0.35, hi = 0.85;
    for (int i = 0; i < 22; ++i) {
        el.d = (lo + hi) / 2;
        (el.HalfPowerWidth() > target ? lo : hi) = el.d;
    }
    el.d = (lo + hi) / 2;
    std::array<double, 361> power{};
    double peak = 0;
    for (int k = 0; k <= 360; ++k) {
        power[k] = el.Power(k - 180);
        peak = std::max(peak, power[k]);
    }
    const Ripple r = MakeRipple(rng, rng.Uniform(0.3, 0.9), 5, 17);
    std::array<double, 361> level{};
    for (int k = 0; k <= 360; ++k) {
        const int deg = k - 180;
        double off = std::fabs(deg - m.patternTilt);
        if (el.omni) // the omni cut has the same beam mirrored behind the mast
            off = std::min(off, std::fabs(std::fabs(deg) - (180 - m.patternTilt)));
        const double env = Smoothstep((off - 0.8 * target) / (0.6 * target));
        level[k] = 10 * std::log10(power[k] / peak) + env * r.At(k - 180);
    }
    // The model counts degrees below the horizon, a data file above it: line e holds the model's
    // level at -e. -180 and +180 are one direction and keep the model's +180 level.
    level[0] = level[360];
    std::array<double, 361> fileLevel{};
    for (int k = 0; k <= 360; ++k)
        fileLevel[k] = level[static_cast<std::size_t>(180 + DowntiltFromElevation(k - 180))];
    return fileLevel;
}

// ---- Models --------------------------------------------------------------------------------

constexpr Band kSmr{806, 869, "06"};
constexpr Band kCell{824, 896, "07"};
constexpr Band kCell894{824, 894, "07"};
constexpr Band kWide800{806, 960, "08"};
constexpr Band kCellGsm{824, 960, "05"};
constexpr Band kGsm{870, 960, "09"};
constexpr Band kEgsm{880, 960, "0E"};
constexpr Band kDcs{1710, 1880, "18"};
constexpr Band kPcs{1850, 1990, "19"};
constexpr Band kDcsPcs{1710, 1990, "17"};
constexpr Band kWideHigh{1710, 2170, "21"};
constexpr Band kUmts{1920, 2170, "20"};
constexpr Band kWcs{2300, 2485, "24"};
constexpr Band kIsm{2400, 2485, "25"};

struct Curated {
    const char* partNumber;
    Band band;
    int subBeg, subEnd; // 0: the whole band
    Kind kind;
    Pol pol;
    int azBw;
    double elBw;
    const char* tilt;
    int patternTilt;
    int frontToBack;
    bool fbAsMinimum;
};

constexpr Kind S = Kind::Sector;
constexpr Kind O = Kind::Omni;
constexpr Pol V = Pol::Vertical;
constexpr Pol DS = Pol::DualSlant;
constexpr Pol SL = Pol::Slant;
constexpr Pol VH = Pol::DualVH;

// The coverage set: each of the 20 application categories matches at least two of these.
constexpr Curated kCurated[] = {
    // 806-960 MHz single polarised sectors (categories 0, 2, 4, 6, 8)
    {"TP0865-14", kWide800, 0, 0, S, V, 65, 11, "0", 0, 28, false},
    {"TP0865-16", kWide800, 806, 869, S, V, 68, 8.5, "0", 0, 27, false},
    {"TP0865-16", kWide800, 870, 960, S, V, 63, 7.5, "0", 0, 29, false},
    {"TP0890-13T2", kWide800, 0, 0, S, V, 90, 12, "2", 2, 25, true},
    {"TP0865-15T6", kWide800, 0, 0, S, V, 65, 9, "6", 6, 26, false},
    {"TP0833-17", kWide800, 0, 0, S, V, 33, 11, "0", 0, 30, true},
    {"TP0865-14XD", kWide800, 0, 0, S, V, 65, 11, "Variable 0-10", 4, 27, false},
    {"TP0865-12", kWide800, 0, 0, S, V, 65, 16, "0", 0, 25, false},
    // 806-869 SMR sectors and omnis (categories 1, 2)
    {"TP0665-13", kSmr, 0, 0, S, V, 65, 13, "0", 0, 25, true},
    {"TP0690-11T2", kSmr, 0, 0, S, V, 90, 14, "2", 2, 24, false},
    {"TO06-3", kSmr, 0, 0, O, V, 360, 30, "0", 0, 0, false},
    {"TO06-9", kSmr, 0, 0, O, V, 360, 8, "0", 0, 0, false},
    // 824-896 cellular (categories 3, 4, 5)
    {"TP0765-13", kCell, 0, 0, S, V, 65, 13, "0", 0, 27, false},
    {"TP0790-12T2", kCell, 0, 0, S, V, 90, 12, "2", 2, 25, true},
    {"TP0705-15T6", kCell894, 0, 0, S, V, 105, 6.5, "6", 6, 24, false},
    {"TO07-6", kCell, 0, 0, O, V, 360, 16, "0", 0, 0, false},
    {"TO07-10T2", kCell, 0, 0, O, V, 360, 6.5, "2", 2, 0, false},
    {"TD0765-14", kCell, 0, 0, S, DS, 65, 11, "0", 0, 28, false},
    {"TD0765-15T6", kCell894, 0, 0, S, DS, 65, 9, "6", 6, 25, true},
    {"TS0765-13", kCell894, 0, 0, S, SL, 65, 13, "2", 2, 25, false},
    // 824-960 and 870-960 (categories 6, 7, 8, 9)
    {"TP0565-14", kCellGsm, 0, 0, S, V, 65, 11, "0", 0, 26, false},
    {"TP0590-14T2", kCellGsm, 0, 0, S, V, 90, 9, "2", 2, 25, true},
    {"TP0965-15", kGsm, 0, 0, S, V, 65, 9, "0", 0, 28, false},
    {"TP0990-13T2", kGsm, 0, 0, S, V, 90, 11, "2", 2, 25, false},
    {"TP0E65-15T6", kEgsm, 0, 0, S, V, 65, 9, "6", 6, 27, false},
    {"TO09-8", kGsm, 0, 0, O, V, 360, 9.5, "0", 0, 0, false},
    {"TO09-11", kGsm, 0, 0, O, V, 360, 5, "0", 0, 0, false},
    {"TO08-7", kWide800, 0, 0, O, V, 360, 12, "0", 0, 0, false},
    {"TD0865-14", kWide800, 0, 0, S, DS, 65, 11, "0", 0, 27, false},
    {"TD0865-14XD", kWide800, 0, 0, S, DS, 65, 11, "0-8", 2, 25, true},
    {"TD0965-15", kGsm, 0, 0, S, DS, 65, 9, "0", 0, 28, false},
    {"TD0990-13T6", kGsm, 0, 0, S, VH, 90, 10, "6", 6, 25, false},
    {"TS0965-14", kGsm, 0, 0, S, SL, 65, 11, "0", 0, 26, false},
    // 1710-1880 DCS (categories 10, 12)
    {"TO18-8", kDcs, 0, 0, O, V, 360, 10, "0", 0, 0, false},
    {"TO18-10T2", kDcs, 0, 0, O, V, 360, 6.5, "2", 2, 0, false},
    {"TP1865-17", kDcs, 0, 0, S, V, 65, 7, "0", 0, 30, false},
    {"TD1865-17", kDcs, 0, 0, S, DS, 65, 7, "0", 0, 28, false},
    {"TD1890-15T2", kDcs, 0, 0, S, DS, 90, 7.5, "2", 2, 25, true},
    // 1850-1990 PCS (categories 13, 14)
    {"TO19-8", kPcs, 0, 0, O, V, 360, 9.5, "0", 0, 0, false},
    {"TO19-11", kPcs, 0, 0, O, V, 360, 5, "2", 2, 0, false},
    {"TP1933-19", kPcs, 0, 0, S, V, 33, 9, "0", 0, 30, true},
    {"TD1965-17", kPcs, 0, 0, S, DS, 65, 7, "0", 0, 28, false},
    {"TD1965-17XD", kPcs, 0, 0, S, DS, 65, 7, "0-8", 4, 27, false},
    {"TS1965-16", kPcs, 0, 0, S, SL, 65, 8, "6", 6, 25, false},
    {"TD1990-15T6", kPcs, 0, 0, S, VH, 90, 7.5, "6", 6, 25, true},
    // 1710-1990 (categories 11, 15), with the variable azimuth beamwidth model
    {"TP1765-16", kDcsPcs, 0, 0, S, V, 65, 8, "0", 0, 27, false},
    {"TP1790-15T2", kDcsPcs, 0, 0, S, V, 90, 7, "2", 2, 25, true},
    {"TP1765-18T6", kDcsPcs, 0, 0, S, V, 65, 5.5, "6", 6, 29, false},
    {"TP1790-15XD", kDcsPcs, 0, 0, S, V, 90, 7, "Variable 0-10", 5, 25, false},
    {"TP-PCS-XAZ17", kDcsPcs, 1710, 1880, S, V, 65, 7, "2", 2, 27, false},
    {"TP-PCS-XAZ17", kDcsPcs, 1850, 1990, S, V, 65, 6.5, "2", 2, 28, false},
    {"TP-PCS-XAZ17", kDcsPcs, 1850, 1990, S, V, 90, 6.5, "2", 2, 25, false},
    // 1710-2170 wideband (categories 10 to 17)
    {"TP2165-17", kWideHigh, 0, 0, S, V, 65, 7, "0", 0, 28, false},
    {"TP2190-16T6", kWideHigh, 0, 0, S, V, 90, 6.5, "6", 6, 25, false},
    {"TP2133-20", kWideHigh, 0, 0, S, V, 33, 7, "2", 2, 30, true},
    {"TD2165-18", kWideHigh, 1710, 1880, S, DS, 67, 6.5, "2", 2, 28, false},
    {"TD2165-18", kWideHigh, 1920, 2170, S, DS, 63, 5.5, "2", 2, 30, false},
    {"TD2165-18XD", kWideHigh, 0, 0, S, DS, 65, 6, "Variable 0-10", 6, 26, false},
    {"TD2190-16T6", kWideHigh, 0, 0, S, DS, 90, 6.5, "6", 6, 25, true},
    {"TD2165-15", kWideHigh, 0, 0, S, VH, 65, 12, "0", 0, 25, false},
    {"TS2165-17", kWideHigh, 0, 0, S, SL, 65, 7, "0", 0, 26, false},
    {"TO21-9", kWideHigh, 0, 0, O, V, 360, 7.5, "0", 0, 0, false},
    {"TO21-6", kWideHigh, 0, 0, O, V, 360, 15, "0", 0, 0, false},
    {"TD2065-18", kUmts, 0, 0, S, DS, 65, 6, "2", 2, 30, true},
    {"TP2090-16", kUmts, 0, 0, S, V, 90, 6.5, "0", 0, 25, false},
    // 2300-2485 (category 18)
    {"TO24-8", kWcs, 0, 0, O, V, 360, 9, "0", 0, 0, false},
    {"TO24-10", kWcs, 0, 0, O, V, 360, 6.5, "0", 0, 0, false},
    {"TO24-12T2", kWcs, 0, 0, O, V, 360, 4, "2", 2, 0, false},
    {"TP2465-15", kWcs, 0, 0, S, V, 65, 10, "0", 0, 26, false},
    {"TO25-6", kIsm, 0, 0, O, V, 360, 15, "0", 0, 0, false},
    {"TP2590-14T2", kIsm, 0, 0, S, V, 90, 10, "2", 2, 25, true},
    // Further variety
    {"TP0812-19", kWide800, 0, 0, S, V, 120, 4, "0", 0, 22, false},
    {"TP1812-16", kDcs, 0, 0, S, V, 120, 6, "2", 2, 23, false},
    {"TD0865-17XD", kWide800, 0, 0, S, DS, 65, 6.5, "0-8", 4, 28, false},
    {"TD1765-17T2", kDcsPcs, 0, 0, S, DS, 65, 7, "2", 2, 27, false},
    {"TO06-6T2", kSmr, 0, 0, O, V, 360, 14, "2", 2, 0, false},
    {"TO09-5", kGsm, 0, 0, O, V, 360, 18, "0", 0, 0, false},
    {"TO19-6", kPcs, 0, 0, O, V, 360, 15, "0", 0, 0, false},
    {"TP0745-17", kCell, 0, 0, S, V, 45, 9, "0", 0, 28, false},
    {"TP0965-16XD", kGsm, 0, 0, S, V, 65, 8, "0-8", 2, 26, true},
};

constexpr int kCuratedCount = static_cast<int>(std::size(kCurated));

Model FromCurated(const Curated& c)
{
    Model m;
    m.partNumber = c.partNumber;
    m.band = c.band;
    m.subBeg = c.subBeg ? c.subBeg : c.band.beg;
    m.subEnd = c.subEnd ? c.subEnd : c.band.end;
    m.kind = c.kind;
    m.pol = c.pol;
    m.azBw = c.kind == Kind::Omni ? 360 : c.azBw;
    m.elBw = c.elBw;
    m.tiltText = c.tilt;
    m.patternTilt = c.patternTilt;
    m.frontToBack = c.kind == Kind::Omni ? 0 : c.frontToBack;
    m.fbAsMinimum = c.fbAsMinimum;
    return m;
}

constexpr std::array<Band, 14> kBands{kSmr, kCell, kCell894, kWide800,  kCellGsm, kGsm, kEgsm,
                                      kDcs, kPcs,  kDcsPcs,  kWideHigh, kUmts,    kWcs, kIsm};

Model RandomModel(Rng& rng)
{
    Model m;
    m.band = rng.Pick(kBands);
    m.subBeg = m.band.beg;
    m.subEnd = m.band.end;
    m.kind = rng.Chance(0.2) ? Kind::Omni : Kind::Sector;
    const bool high = m.band.beg > 1000;
    if (m.kind == Kind::Omni) {
        m.pol = Pol::Vertical;
        m.azBw = 360;
        m.elBw = std::round(rng.Uniform(4, 30) * 2) / 2;
        m.frontToBack = 0;
    } else {
        static constexpr std::array<Pol, 5> pols{Pol::Vertical, Pol::Vertical, Pol::DualSlant,
                                                 Pol::DualVH, Pol::Slant};
        static constexpr std::array<int, 7> widths{33, 45, 65, 65, 65, 90, 105};
        m.pol = rng.Pick(pols);
        m.azBw = rng.Pick(widths);
        m.elBw = std::round(rng.Uniform(high ? 5 : 6, high ? 14 : 20) * 2) / 2;
        m.frontToBack = m.azBw >= 90 ? rng.Int(22, 28) : rng.Int(25, 32);
        m.fbAsMinimum = rng.Chance(0.3);
    }
    const int roll = rng.Int(0, 9);
    std::string suffix;
    if (roll < 5) {
        m.tiltText = "0";
    } else if (roll < 8) {
        m.patternTilt = roll == 5 ? 2 : (roll == 6 ? 4 : 6);
        m.tiltText = std::to_string(m.patternTilt);
        suffix = "T" + m.tiltText;
    } else {
        m.patternTilt = rng.Int(0, 8);
        m.tiltText = rng.Chance(0.5) ? "0-8" : "Variable 0-10";
        suffix = "XD";
    }
    if (m.kind == Kind::Omni && suffix == "XD") {
        m.tiltText = "0";
        m.patternTilt = 0;
        suffix.clear();
    }
    m.gainDbd = GainFor(m.kind, m.azBw, m.elBw, rng.Uniform(-0.4, 0.4));
    const char* prefix = m.kind == Kind::Omni     ? "TO"
                         : m.pol == Pol::Vertical ? "TP"
                         : m.pol == Pol::Slant    ? "TS"
                                                  : "TD";
    std::string code = prefix + std::string(m.band.code);
    if (m.kind == Kind::Sector)
        code += m.azBw < 100 ? std::to_string(m.azBw) : (m.azBw == 105 ? "05" : "12");
    m.partNumber = code + "-" + Int(m.gainDbd) + suffix;
    if (suffix != "XD" && rng.Chance(0.3)) // XD must stay last (variable downtilt test)
        m.partNumber += "-" + std::string(1, static_cast<char>('A' + rng.Int(0, 5)));
    return m;
}

// ---- Data file -----------------------------------------------------------------------------

void AddLine(std::string& out, std::string_view key, std::string_view value)
{
    out.append(key);
    out += '=';
    out.append(value);
    out += "\r\n";
}

std::string BuildFile(const Model& m, const std::string& patternFile, Rng& rng)
{
    const bool omni = m.kind == Kind::Omni;
    const double centreMhz = (m.band.beg + m.band.end) / 2.0;
    const double lambdaMm = 299792.458 / centreMhz;
    const int measured = static_cast<int>(std::lround((m.subBeg + m.subEnd) / 20.0) * 10);
    const double gainDbd = m.gainDbd;
    const long long dbdTenths = std::llround(gainDbd * 10);
    const std::string dbi = Fixed(static_cast<double>((dbdTenths * 10 + 215) / 10) / 10.0, 1);

    // Mechanical values from the aperture the beamwidths imply.
    const double lengthMm = std::round((52.0 * lambdaMm / m.elBw + rng.Uniform(60, 160)) / 5) * 5;
    const double widthMm = omni ? std::round(rng.Uniform(40, 90))
                                : std::round(lambdaMm * 52.0 / m.azBw + rng.Uniform(20, 50));
    const double depthMm = omni ? widthMm : std::round(rng.Uniform(60, 150));
    const double weightKg =
        omni ? 1.0 + lengthMm / 1000 * rng.Uniform(1.5, 2.5)
             : 2.0 + lengthMm / 1000 * (widthMm / 1000 * 18 + rng.Uniform(1.5, 3));
    const double mountKg = rng.Uniform(1.8, 5.5);
    const double areaM2 = lengthMm * widthMm / 1e6;
    const double frontalN = 1470 * areaM2 * (omni ? 0.9 : 1.2);
    const double lateralN = 1470 * lengthMm * depthMm / 1e6 * 0.9;
    const double rearN = frontalN * rng.Uniform(0.6, 0.85);
    const double shipKg = weightKg + rng.Uniform(2, 5);
    const double shipMountKg = shipKg + mountKg;
    const int survival = rng.Chance(0.5) ? 200 : 241;
    static constexpr std::array<const char*, 3> returnLoss{"17.7 (<1.3)", "14.0 (<1.5)",
                                                           "19.1 (<1.25)"};

    auto dims3 = [](double l, double w, double d) {
        return Int(l) + " x " + Int(w) + " x " + Int(d) + " (" + Inches(l) + " x " + Inches(w) +
               " x " + Inches(d) + ")";
    };
    auto kgLb = [](double kg) { return Fixed(kg, 1) + " (" + Pounds(kg) + ")"; };
    auto nLbf = [](double n) { return Int(n) + " (" + Int(n * 0.224809) + ")"; };

    const std::string band = std::to_string(m.band.beg) + "-" + std::to_string(m.band.end) + " MHz";
    std::string description;
    if (omni) {
        description =
            "Omnidirectional collinear antenna, " + band + ", " + Fixed(gainDbd, 1) + " dBd";
    } else {
        description = std::string(m.pol == Pol::Vertical ? "Single polarized"
                                  : m.pol == Pol::Slant  ? "Slant polarized"
                                                         : "Dual polarized") +
                      " sector panel, " + band + ", " + std::to_string(m.azBw) + " deg, " +
                      Fixed(gainDbd, 1) + " dBd";
    }
    if (m.tiltText.size() > 2)
        description += ", variable electrical downtilt " +
                       m.tiltText.substr(m.tiltText.find_first_of("0123456789")) + " deg";
    else if (m.tiltText != "0")
        description += ", " + m.tiltText + " deg electrical downtilt";
    std::string extended;
    if (!rng.Chance(0.15))
        extended = "Patterns measured at " + std::to_string(measured) + " MHz, " +
                   std::to_string(m.patternTilt) + " deg electrical downtilt" +
                   (IsDualPort(m.pol) ? ", +45 deg port" : "");
    std::string mountPn = std::string(omni ? "TMC-" : "TMK-") + (m.band.beg > 1000 ? "2" : "1") +
                          (lengthMm > 1600 ? "L" : "S");
    const std::string mountDescription =
        omni ? "Side-arm clamp kit for 50-115 mm (2.0-4.5 in) OD pipe"
             : "Pipe mount kit with 0-12 deg mechanical tilt, 50-115 mm (2.0-4.5 in) OD pipe";

    std::string out;
    out.reserve(16384);
    out += "[HEADER]\r\n";
    AddLine(out, "Beginning Frequency, MHz", std::to_string(m.band.beg));
    AddLine(out, "Ending Frequency, MHz", std::to_string(m.band.end));
    AddLine(out, "Antenna Type", omni ? "Omni" : "Panel");
    AddLine(out, "Gain, dBd", Fixed(gainDbd, 1));
    AddLine(out, "Gain, dBi", dbi);
    AddLine(out, "Electrical Downtilt, deg", m.tiltText);
    AddLine(out, "Connector Type",
            m.band.beg > 1000 && !IsDualPort(m.pol) && rng.Chance(0.4) ? "N Female"
                                                                       : "7-16 DIN Female");
    AddLine(out, "Polarization Type", PolText(m.pol));
    AddLine(out, "Front to Back Ratio, dB",
            (m.fbAsMinimum ? ">" : "") + std::to_string(m.frontToBack));
    AddLine(out, "Measured Frequency", std::to_string(measured));
    AddLine(out, "Description", description);
    AddLine(out, "Intermodulation, dBc", omni ? "<-140" : "<-150");
    AddLine(out, "Impedance, ohms", "50");
    AddLine(out, "Return Loss, dB (VSWR)", rng.Pick(returnLoss));
    AddLine(out, "Max Input Power, watts",
            m.band.beg > 1000 ? (IsDualPort(m.pol) ? "250" : "300") : "500");
    AddLine(out, "Lightning Protection", "DC Ground");
    AddLine(out, "Length, mm (in)", Int(lengthMm) + " (" + Inches(lengthMm) + ")");
    AddLine(out, "Flat Plate Area, sq.m (sq.ft)",
            Fixed(areaM2, 2) + " (" + Fixed(areaM2 * 10.7639, 1) + ")");
    AddLine(out, "Antenna Weight, kg (lb)", kgLb(weightKg));
    AddLine(out, "Radome Material", omni ? "Fiberglass" : "UV stabilized ASA");
    AddLine(out, "Radome Color", omni ? "White" : "Light Grey");
    AddLine(out, "Temperature Range, C", "-40 to +60");
    AddLine(out, "Wind Load, Frontal, N (lbf)", nLbf(frontalN));
    AddLine(out, "Wind Load, Lateral, N (lbf)", nLbf(lateralN));
    AddLine(out, "Humidity, %", "100");
    AddLine(out, "Number of Connectors", IsDualPort(m.pol) ? "2" : "1");
    AddLine(out, "Elevation Beamwidth, deg", Fixed(m.elBw, m.elBw == std::floor(m.elBw) ? 0 : 1));
    AddLine(out, "Shipping Weight with Mount, kg (lb)", kgLb(shipMountKg));
    AddLine(out, "Wind Load, Rear, N (lbf)", nLbf(rearN));
    AddLine(out, "Shipping Dimensions with Mount, L x W x D, mm (in)",
            dims3(lengthMm + 200, widthMm + 160, depthMm + 180));
    AddLine(out, "Connector Position", "Bottom");
    AddLine(out, "Mount Weight, kg (lb)", kgLb(mountKg));
    AddLine(out, "Shipping Dimensions, L x W x D, mm (in)",
            dims3(lengthMm + 150, widthMm + 100, depthMm + 100));
    AddLine(out, "Mount Description", mountDescription);
    AddLine(out, "Survival Wind Speed, km/h (mph)", survival == 200 ? "200 (124)" : "241 (150)");
    AddLine(out, "Part Number", m.partNumber);
    AddLine(out, "Azimuth Beamwidth, deg", std::to_string(m.azBw));
    AddLine(out, "Port to Port Isolation, dB", IsDualPort(m.pol) ? ">30" : "N/A");
    AddLine(out, "Pattern File Name", patternFile);
    AddLine(out, "Part Number with Mount", m.partNumber + "-M");
    AddLine(out, "Shipping Weight, kg (lb)", kgLb(shipKg));
    AddLine(out, "Mount Part Number", mountPn);
    AddLine(out, "Antenna Dimensions, L x W x D, mm (in)",
            omni ? Int(lengthMm) + " x " + Int(widthMm) + " (" + Inches(lengthMm) + " x " +
                       Inches(widthMm) + ")"
                 : dims3(lengthMm, widthMm, depthMm));
    AddLine(out, "Ending Sub-Frequency, MHz", std::to_string(m.subEnd));
    AddLine(out, "Beginning Sub-Frequency, MHz", std::to_string(m.subBeg));
    AddLine(out, "Extended Pattern Description", extended);
    out += "\r\n[POINTS]\r\n";

    const auto azimuth = AzimuthCut(m, rng);
    const auto elevation = ElevationCut(m, rng);
    for (const auto* cut : {&azimuth, &elevation}) {
        for (int k = 0; k <= 360; ++k) {
            // -180 and +180 are one direction: write the same level for both.
            const double v = std::max(kFloorDb, (*cut)[k == 0 ? 360 : k]);
            std::string level = Fixed(v, 2);
            if (level == "-0.00")
                level = "0.00";
            AddLine(out, std::to_string(k - 180), level);
        }
    }
    return out;
}

std::string SafeName(const std::string& partNumber)
{
    std::string name;
    for (char c : partNumber)
        name += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '_';
    return name.empty() ? "ANTENNA" : name;
}

} // namespace

void WriteSyntheticCatalogue(int count, std::uint32_t seed, const std::string& outDir)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(fs::path(outDir), ec);
    if (ec || !fs::is_directory(fs::path(outDir)))
        throw std::runtime_error("Cannot create folder " + outDir +
                                 (ec ? ": " + ec.message() : ""));

    std::map<std::string, int> used; // file names already written
    for (int i = 0; i < count; ++i) {
        // One engine per record so a record does not depend on how much randomness others used.
        std::seed_seq seq{seed, static_cast<std::uint32_t>(i), 0x51A7u};
        std::mt19937 engine(seq);
        Rng rng(engine);
        Model m;
        if (i < kCuratedCount) {
            m = FromCurated(kCurated[i]);
            m.gainDbd = GainFor(m.kind, m.azBw, m.elBw, rng.Uniform(-0.3, 0.3));
        } else {
            m = RandomModel(rng);
        }
        m.actualFb = m.frontToBack + (m.fbAsMinimum ? rng.Int(1, 4) : 0);
        const std::string base = SafeName(m.partNumber);
        const int n = ++used[base];
        const std::string fileName =
            base + (n > 1 ? "_" + std::to_string(n) : std::string()) + ".quv";
        char serial[16];
        std::snprintf(serial, sizeof serial, "%04d", i + 1);
        const std::string patternFile = "TQ" + std::string(serial) + "-" + Int(m.gainDbd) + ".quv";
        const std::string bytes = BuildFile(m, patternFile, rng);

        const fs::path path = fs::path(outDir) / fileName;
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        if (!file)
            throw std::runtime_error("Cannot create file " + path.string());
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file)
            throw std::runtime_error("Cannot write file " + path.string());
    }
}

int SynthCommand(const std::vector<std::string>& args)
{
    TCommandOptions options(
        "synth",
        "usage: quvtool synth --count N --seed S --out DIR\n"
        "  writes N synthetic antenna data files (.quv) into DIR; the same "
        "seed gives the same files\n",
        {{"count", 1, "N", "how many data files to write, 0 to 10000000; required"},
         {"seed", 1, "S", "the random seed, 0 to 4294967295 (default 1)"},
         {"out", 1, "DIR", "the folder written into, made when missing; required"}},
        "quvtool synth --count 200 --seed 7 --out synthetic/");
    if (const auto exit = options.Parse(args))
        return *exit;
    const auto usage = [&options] { return options.Fail("--count N and --out DIR are needed"); };
    long long count = -1, seed = 1;
    auto number = [](const std::string& text, long long& value) {
        if (text.empty() || text.size() > 12)
            return false;
        for (char c : text)
            if (c < '0' || c > '9')
                return false;
        value = std::stoll(text);
        return true;
    };
    if (options.IsSet("count") && (!number(options.Value("count"), count) || count > 10000000))
        return options.Fail("--count must be a whole number up to 10000000");
    if (options.IsSet("seed") && (!number(options.Value("seed"), seed) || seed > 0xFFFFFFFFLL))
        return options.Fail("--seed must be a whole number up to 4294967295");
    const std::string out = options.Value("out");
    if (count < 0 || out.empty())
        return usage();
    try {
        WriteSyntheticCatalogue(static_cast<int>(count), static_cast<std::uint32_t>(seed), out);
    } catch (const std::exception& e) {
        std::cerr << "quvtool synth: " << e.what() << "\n";
        return 1;
    }
    std::cout << "Wrote " << count << " antenna data files to " << out << "\n";
    return 0;
}

} // namespace quv
