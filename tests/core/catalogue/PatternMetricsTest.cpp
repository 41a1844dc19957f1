// Pattern metrics against cuts with known answers: a raised-cosine beam of known width anywhere
// on the circle (across the 0/360 seam too), a back lobe of known level, a four-element array
// with a known first sidelobe and null; and the datasheet checks on whole records.
#include "catalogue/PatternMetrics.h"

#include "catalogue/ElevationAngles.h"
#include "catalogue/NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

using namespace quv;

namespace {

constexpr double kPi = 3.14159265358979323846;
double Rad(double deg)
{
    return deg * kPi / 180.0;
}
double Db(double power)
{
    return 10.0 * std::log10(power);
}

// Signed difference a - b folded into -180..180.
double Offset(double a, double b)
{
    double d = std::fmod(a - b, 360.0);
    if (d > 180)
        d -= 360;
    if (d < -180)
        d += 360;
    return d;
}

TCutLevels Sample(const std::function<double(double)>& level)
{
    TCutLevels cut{};
    for (int i = 0; i <= 360; ++i)
        cut[static_cast<std::size_t>(i)] = level(i);
    return cut;
}

// Angle off the peak where a symmetric power function falls to `fraction`, by bisection.
double Crossing(const std::function<double(double)>& power, double fraction, double lo, double hi)
{
    const double target = power(lo) * fraction;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2;
        (power(mid) > target ? lo : hi) = mid;
    }
    return lo;
}

// Raised-cosine main beam ((1 + cos)/2)^n centred on `centre`, a back lobe that is exactly
// -backDb at centre + 180 and -worstDb at centre + 200, and a stronger lobe at centre + 220
// that lies outside the +-30 degree window of the worst front-to-back.
struct TSector {
    double centre;
    double n;
    double backDb;
    double worstDb;
    double MainPower(double off) const { return std::pow((1 + std::cos(Rad(off))) / 2, n); }
    double Level(double deg) const
    {
        const double off = Offset(deg, centre);
        const double behind = Offset(deg, centre + 180);
        double level = std::max(-45.0, Db(MainPower(off)));
        level = std::max(level, -backDb + (backDb - worstDb) *
                                              std::max(0.0, 1 - std::fabs(behind - 20) / 10));
        level = std::max(level, -15.0 * std::max(0.0, 1 - std::fabs(behind - 40) / 3) -
                                    45.0 * (std::fabs(behind - 40) >= 3));
        return level;
    }
};

TEST(PatternMetrics, TheWorstBackLobeCountsUpToExactly30DegreesOffTheBack)
{
    // Peak at 40, back at 220 30 dB down, one lobe 12 dB down at `lobe` degrees.
    const std::pair<int, double> cases[] = {{190, 12}, {250, 12}, {189, 30}, {251, 30}};
    for (const auto& [lobe, worst] : cases) {
        const TCutLevels cut = Sample([lobe = lobe](double d) {
            const int a = static_cast<int>(std::lround(d)) % 360;
            return a == 40 ? 0.0 : a == lobe ? -12.0 : a == 220 ? -30.0 : -40.0;
        });
        const TAzimuthMetrics m = MeasureAzimuth(cut);
        ASSERT_TRUE(m.frontToBackWorst);
        EXPECT_NEAR(*m.frontToBackWorst, worst, 1e-9) << "lobe at " << lobe;
        EXPECT_NEAR(m.frontToBack.value_or(0), 30, 1e-9);
    }
}

TEST(PatternMetrics, AzimuthBeamAnywhereOnTheCircleAndItsBackLobes)
{
    const TSector cases[] = {
        {0, 8.5, 28, 22},   // boresight on the seam, as the data files have it
        {350, 8.5, 30, 24}, // the beam straddles the seam off-centre
        {90, 40, 25, 20},   // narrow beam, back lobe across the seam
        {180, 4.2, 26, 19}, // wide beam, back lobe at 0 and 360
        {7, 2.5, 23, 23},
    };
    for (const TSector& s : cases) {
        SCOPED_TRACE("centre " + std::to_string(s.centre) + " n " + std::to_string(s.n));
        const auto power = [&](double off) { return s.MainPower(off); };
        const double bw3 = 2 * Crossing(power, std::pow(10.0, -0.3), 0, 179);
        const double bw10 = 2 * Crossing(power, 0.1, 0, 179);
        const TAzimuthMetrics m = MeasureAzimuth(Sample([&](double d) { return s.Level(d); }));
        ASSERT_TRUE(m.peakDirection && m.beamwidth3dB && m.beamwidth10dB && m.frontToBack &&
                    m.frontToBackWorst);
        EXPECT_DOUBLE_EQ(*m.peakDirection, s.centre);
        EXPECT_NEAR(*m.beamwidth3dB, bw3, 0.1);
        EXPECT_NEAR(*m.beamwidth10dB, bw10, 0.1);
        EXPECT_NEAR(*m.frontToBack, s.backDb, 1e-9);
        EXPECT_NEAR(*m.frontToBackWorst, s.worstDb, 1e-9);
    }
}

TEST(PatternMetrics, AzimuthMeasuresAgainstTheCutsOwnPeakAndOmniRipple)
{
    // A beam stored 2 dB low keeps its widths and ratios; the levels are relative to its peak.
    const TSector s{40, 8.5, 28, 22};
    const auto normal = MeasureAzimuth(Sample([&](double d) { return s.Level(d); }));
    const auto low = MeasureAzimuth(Sample([&](double d) { return s.Level(d) - 2; }));
    EXPECT_NEAR(*low.beamwidth3dB, *normal.beamwidth3dB, 1e-9);
    EXPECT_NEAR(*low.frontToBack, 28, 1e-9);

    // Omni: a 0.8 dB ripple that never falls 3 dB has no beamwidths.
    const auto omni =
        MeasureAzimuth(Sample([](double d) { return -0.4 * (1 + std::sin(Rad(3 * d))); }));
    ASSERT_TRUE(omni.ripple);
    EXPECT_NEAR(*omni.ripple, 0.8, 1e-9);
    EXPECT_FALSE(omni.beamwidth3dB);
    EXPECT_FALSE(omni.beamwidth10dB);

    // A flat elevation cut peaks everywhere: the horizon is its direction, not -90.
    const auto flat = MeasureElevation(Sample([](double) { return -1.0; }));
    EXPECT_DOUBLE_EQ(*flat.tilt, 0);
    EXPECT_FALSE(flat.beamwidth3dB);
}

// Four isotropic elements half a wavelength apart, phased for `tilt` (positive down), with a
// power floor `fill` that fills the nulls: first null where the phase reaches +-pi/2.
struct TArray {
    double tilt;
    double fill;
    bool mirrored; // an omni cut repeats its beam behind the mast
    double Psi(double deg) const { return kPi * (std::sin(Rad(deg)) - std::sin(Rad(tilt))); }
    double Power(double deg) const
    {
        const double psi = Psi(deg);
        const double af = std::fabs(std::sin(psi / 2)) < 1e-12
                              ? 1.0
                              : std::sin(2 * psi) / (4 * std::sin(psi / 2));
        return (af * af + fill) / (1 + fill);
    }
    double Level(double deg) const
    {
        const double off = Offset(deg, 0);
        if (std::fabs(off) <= 90)
            return std::max(-45.0, Db(Power(off)));
        return mirrored ? std::max(-45.0, Db(Power(off > 0 ? 180 - off : -180 - off))) : -40.0;
    }
};

TEST(PatternMetrics, ElevationTiltBeamSidelobeAndNullOfAnArray)
{
    const TArray cases[] = {
        {0, std::pow(10.0, -2.5), false},
        {6, 0.01, false},
        {6, 0.01, true},
        {-4, 0.01, false}, // uptilt
        {10, std::pow(10.0, -2.2), true},
    };
    for (const TArray& a : cases) {
        SCOPED_TRACE("tilt " + std::to_string(a.tilt) + (a.mirrored ? " mirrored" : ""));
        const auto up = [&](double off) { return a.Power(a.tilt - off); };
        const auto down = [&](double off) { return a.Power(a.tilt + off); };
        const double upper = Crossing(up, 0.5, 0, 29), lower = Crossing(down, 0.5, 0, 29);
        const double bw = upper + lower;
        // The upper sidelobe lies between the first and second upper nulls (phase -pi/2, -pi).
        double sidelobe = 0, best = 0;
        for (double d = -90; d <= a.tilt; d += 0.001) {
            const double psi = a.Psi(d);
            if (psi < -kPi / 2 && psi > -kPi && a.Power(d) > best) {
                best = a.Power(d);
                sidelobe = Db(best);
            }
        }
        // The array counts degrees below the horizon, a data file's cut above it.
        const TElevationMetrics m =
            MeasureElevation(Sample([&](double d) { return a.Level(DowntiltFromElevation(d)); }));
        ASSERT_TRUE(m.tilt && m.beamwidth3dB && m.upperSidelobe && m.nullFill);
        // The tilt is the centre of the half-power beam, a little below the peak of an array
        // tilted by phase.
        EXPECT_NEAR(*m.tilt, a.tilt + (lower - upper) / 2, 0.05);
        EXPECT_NEAR(*m.beamwidth3dB, bw, 0.15);
        EXPECT_NEAR(*m.upperSidelobe, sidelobe, 0.1);
        EXPECT_NEAR(*m.nullFill, Db(a.fill / (1 + a.fill)), 0.3);
    }
    // A wide beam whose top is flat within 0.2 dB over 10 degrees, its maximum 5 degrees up:
    // the tilt is where the beam is centred, not where the maximum happens to fall.
    const TElevationMetrics flat = MeasureElevation(Sample([](double i) {
        const double d = std::remainder(i, 360.0);
        return -6 * (d / 30) * (d / 30) + (std::fabs(d - 5) < 0.5 ? 0.2 : 0.0);
    }));
    ASSERT_TRUE(flat.tilt);
    EXPECT_NEAR(*flat.tilt, 0, 0.1);
}

TPatternCut CutOf(const std::function<std::string(int)>& text, int count = 361)
{
    TPatternCut cut;
    for (int i = 0; i < count; ++i)
        cut.Append(text(i));
    return cut;
}

TEST(PatternMetrics, LevelsThatAreNotNumbersMakeTheCutUnavailable)
{
    const auto good = CutLevels(CutOf([](int i) { return " -" + std::to_string(i % 7) + ".5 "; }));
    ASSERT_TRUE(good);
    EXPECT_DOUBLE_EQ((*good)[9], -2.5);
    const struct {
        const char* name;
        std::function<std::string(int)> text;
        int count;
    } bad[] = {
        {"a word", [](int i) { return i == 200 ? std::string("abc") : "-1"; }, 361},
        {"an empty text", [](int i) { return i == 360 ? std::string() : "-1"; }, 361},
        {"an infinite value", [](int i) { return i == 3 ? std::string("-1e999") : "-1"; }, 361},
        {"a decimal comma", [](int i) { return i == 0 ? std::string("-1,5") : "-1"; }, 361},
        {"too few levels", [](int) { return std::string("-1"); }, 360},
    };
    for (const auto& b : bad)
        EXPECT_FALSE(CutLevels(CutOf(b.text, b.count))) << b.name;
}

// A record loaded from data-file text: a sector beam of 65 degrees at boresight with a 28 dB back
// lobe and a four-element array tilted 6 degrees down; `edit` changes the header or the levels.
struct TRecordText {
    std::string header;
    std::function<std::string(int, double)> azimuth = [](int, double v) {
        return Format("%.2f", {v});
    };
};

std::unique_ptr<TQuvFile> LoadRecord(const TRecordText& spec)
{
    const TSector sector{0, 8.5, 28, 22};
    const TArray array{6, 0.003, false};
    std::string text = "[HEADER]\r\nPart Number=TEST-1\r\n" + spec.header + "\r\n[POINTS]\r\n";
    for (int k = 0; k <= 360; ++k) {
        const int index = (k - 180 + 360) % 360;
        text += std::to_string(k - 180) + "=" + spec.azimuth(k, sector.Level(index)) + "\r\n";
    }
    for (int k = 0; k <= 360; ++k)
        text += std::to_string(k - 180) + "=" +
                Format("%.2f", {array.Level(DowntiltFromElevation(k - 180))}) + "\r\n";
    auto record = std::make_unique<TQuvFile>();
    record->LoadFromBytes(text, "TEST-1.quv");
    return record;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const auto& line : lines)
        all += line + "\n";
    return all;
}

TEST(PatternMetrics, FindingsNameEachDatasheetValueBeyondItsTolerance)
{
    // The beam measures 65.0 wide (3 dB), 28 dB front-to-back, 6 degrees down, 22 elevation.
    const std::string ok = "Antenna Type=Panel\r\nAzimuth Beamwidth, deg=65\r\n"
                           "Front to Back Ratio, dB=28\r\nElectrical Downtilt, deg=6\r\n";
    const struct {
        const char* header;
        const char* expected; // empty: no finding
    } cases[] = {
        {"Azimuth Beamwidth, deg=65\r\nFront to Back Ratio, dB=28\r\nElectrical Downtilt, deg=6",
         ""},
        {"Azimuth Beamwidth, deg=90", "Azimuth Beamwidth, deg 90 differs from the measured 6"},
        {"Azimuth Beamwidth, deg=59", ""},
        {"Azimuth Beamwidth, deg=57", "Azimuth Beamwidth, deg 57 differs"},
        {"Azimuth Beamwidth, deg=N/A", ""},
        {"Front to Back Ratio, dB=24", "Front to Back Ratio, dB 24 differs from the measured 28.0"},
        {"Front to Back Ratio, dB=31", ""},
        {"Front to Back Ratio, dB=>20", ""}, // a floor the antenna beats by 8 dB
        {"Front to Back Ratio, dB=>32", "Front to Back Ratio, dB >32 differs"},
        {"Electrical Downtilt, deg=4",
         "Electrical Downtilt, deg 4 differs from the measured tilt 6."},
        {"Electrical Downtilt, deg=0-8", ""},
        {"Electrical Downtilt, deg=Variable 0-4", "Electrical Downtilt, deg Variable 0-4 differs"},
        {"Electrical Downtilt, deg=Variable", ""},
        {"Elevation Beamwidth, deg=30", "Elevation Beamwidth, deg 30 differs"},
        // An omni antenna has no azimuth beamwidth or front-to-back to hold against its cut.
        {"Antenna Type=Omni\r\nAzimuth Beamwidth, deg=360\r\nFront to Back Ratio, dB=0", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        const auto record = LoadRecord({std::string(c.header) + "\r\n"});
        const std::string findings = Joined(PatternFindings(*record));
        if (std::string(c.expected).empty())
            EXPECT_EQ(findings, "");
        else
            EXPECT_NE(findings.find(c.expected), std::string::npos) << findings;
    }
    EXPECT_EQ(Joined(PatternFindings(*LoadRecord({ok}))), "");
}

TEST(PatternMetrics, FindingsForSuspiciousCuts)
{
    const struct {
        const char* name;
        std::function<std::string(int, double)> level;
        const char* expected;
    } cases[] = {
        {"peak 0.4 dB high", [](int, double v) { return Format("%.2f", {v + 0.4}); }, ""},
        {"peak 0.6 dB low", [](int, double v) { return Format("%.2f", {v - 0.6}); },
         "azimuth peak is -0.60 dB, not within 0.5 dB of 0 dB"},
        {"a word", [](int k, double v) { return k == 270 ? "n/a" : Format("%.2f", {v}); },
         "azimuth level 'n/a' at index 90 is not a number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto record = LoadRecord({"Azimuth Beamwidth, deg=65\r\n", c.level});
        const std::string findings = Joined(PatternFindings(*record));
        if (std::string(c.expected).empty())
            EXPECT_EQ(findings, "");
        else
            EXPECT_NE(findings.find(c.expected), std::string::npos) << findings;
    }
    // Entries 0 and 360 of a record that was not loaded from a file.
    TQuvFile made;
    made.Azimuth = CutOf([](int i) { return i == 360 ? std::string("-0.5") : "0"; });
    made.Elevation = CutOf([](int) { return std::string("0"); });
    EXPECT_EQ(Joined(PatternFindings(made)),
              "azimuth levels at 0 and 360 degrees differ (0 and -0.5)\n");

    // The loaded record repeats one line at 0 and 360; the file's -180 and +180 lines are one
    // direction too, and only the file's bytes still hold both.
    std::string file = "[HEADER]\r\nPart Number=X\r\n\r\n[POINTS]\r\n";
    for (int k = 0; k < 722; ++k)
        file += std::to_string(k % 361 - 180) + "=" +
                (k == 0     ? "-20.00"
                 : k == 361 ? "-30"
                            : "-30.0") +
                "\r\n";
    EXPECT_EQ(Joined(SeamFindings(file)), "azimuth lines -180 and 180 differ (-20.00 and -30.0)\n");
    EXPECT_EQ(Joined(SeamFindings(file.substr(0, file.size() / 3))), "");

    // The unreadable cut has no metrics; the other cut still has.
    const auto record =
        LoadRecord({"", [](int k, double v) { return k == 5 ? "x" : Format("%.2f", {v}); }});
    const TRecordMetrics r = MeasureRecord(*record);
    EXPECT_FALSE(r.azimuth);
    ASSERT_TRUE(r.elevation);
    EXPECT_NEAR(*r.elevation->tilt, 6, 0.3);
}

} // namespace
