// The 3D pattern against antennas whose true pattern is known everywhere, and the footprint
// against the geometry of flat ground: an isotropic antenna, a pencil beam, a mechanical tilt.
#include "catalogue/Pattern3D.h"
#include "catalogue/Footprint.h"
#include "catalogue/QuvFile.h"

#include "support/TestAntennas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

using namespace quv;
using namespace quvtest;

namespace {

const std::vector<T3DMethod> kMethods{T3DMethod::Summing, T3DMethod::Bilinear,
                                      T3DMethod::Projection};

double Tilted6(double a, double e)
{
    return ArrayElementTruth(a, e, 6.0);
}

} // namespace

TEST(Pattern3D, AnalyticAntennasAreRebuiltWithinTheMeasuredErrors)
{
    // Limits a little above the figures the benchmark prints (the README's table); auto within
    // 0.15 dB of the best method on each antenna is the promise made to planners, and the
    // published weighting within 1.45 dB on the first five.
    struct Case {
        const char* panel;
        double summing, bilinear, projection;
    };
    const std::vector<Case> cases{
        {"8 elements, 6 down", 0.1, 1.45, 0.85},
        {"8 elements, no tilt", 0.1, 1.45, 1.0},
        {"4 columns, 2 down", 0.15, 1.45, 0.45},
        {"8 elements, 2 down, 30 dB back", 0.1, 1.45, 0.1},
        {"12 elements, 10 down", 0.1, 1.45, 4.0},
        {"4 elements, 3 down, 90 deg", 0.25, 1.45, 2.1},
        {"6 elements, 8 down, 120 deg, 15 dB back", 0.2, 1.2, 0.15},
        {"8 elements tapered, 14 down, 45 deg", 0.15, 1.45, 1.05},
        {"4 elements, no tilt, 90 deg, 10 dB back", 0.4, 1.3, 0.2},
    };
    for (const Case& c : cases) {
        const auto panel =
            std::find_if(AnalyticPanels().begin(), AnalyticPanels().end(),
                         [&c](const TPanel& p) { return p.name == std::string(c.panel); });
        ASSERT_NE(panel, AnalyticPanels().end()) << c.panel;
        SCOPED_TRACE(c.panel);
        const auto truth = [&panel](double a, double e) { return PanelTruth(*panel, a, e); };
        const TPatternCuts cuts = CutsFromTruth(truth);
        double best = 1e9;
        for (const auto& [method, limit] : {std::pair{T3DMethod::Summing, c.summing},
                                            {T3DMethod::Bilinear, c.bilinear},
                                            {T3DMethod::Projection, c.projection}}) {
            const double error = MeanErrorNearPeak(BuildPattern3D(cuts, method), truth);
            EXPECT_LE(error, limit) << MethodName(method);
            best = std::min(best, error);
        }
        EXPECT_LE(MeanErrorNearPeak(BuildPattern3D(cuts, T3DMethod::Auto), truth), best + 0.15);
    }
    // The whole measured set, so that a new antenna in the benchmark is held to the same promise.
    for (const TPanel& panel : AnalyticPanels()) {
        const auto truth = [&panel](double a, double e) { return PanelTruth(panel, a, e); };
        const TPatternCuts cuts = CutsFromTruth(truth);
        double best = 1e9;
        for (const T3DMethod m : kMethods)
            best = std::min(best, MeanErrorNearPeak(BuildPattern3D(cuts, m), truth));
        EXPECT_LE(MeanErrorNearPeak(BuildPattern3D(cuts, T3DMethod::Auto), truth), best + 0.15)
            << panel.name;
    }
}

TEST(Pattern3D, NoMethodStepsAcrossTheSidesOnTheSampleAntennas)
{
    // Front and back elevation cuts meet at the zenith and nadir; where the rebuilt pattern
    // hands over from one to the other, at azimuth 90 and 270, a step larger than the steps
    // beside it by more than 1 dB is a seam the antenna does not have. Nor may any level fall
    // below the deepest level the cuts measured.
    for (const char* part : {"TD0765-14", "TD1765-17T2", "TD0765-15T6", "TD1990-15T6"}) {
        TQuvFile record;
        record.LoadFromFile(std::string(QUV_SAMPLE_CATALOGUE) + "/" + part + ".quv");
        const auto cuts = CutsOf(record);
        ASSERT_TRUE(cuts) << part;
        // The azimuth cut as the grid holds it: shifted to the elevation cut's front horizon.
        const double onHorizon = cuts->ElevationAbove(0) - cuts->AzimuthClockwise(0);
        double deepest = 0;
        for (int i = 0; i < 360; ++i)
            deepest =
                std::min({deepest, cuts->AzimuthClockwise(i) + onHorizon, cuts->ElevationAbove(i)});
        for (const T3DMethod method : kMethods) {
            SCOPED_TRACE(std::string(part) + " " + std::string(MethodName(method)));
            const TPattern3D p = BuildPattern3D(*cuts, method);
            const auto step = [&p](int a, int e) { return std::fabs(p.At(a + 1, e) - p.At(a, e)); };
            for (int e = -90; e <= 90; ++e)
                for (const int side : {90, 269}) {
                    const double beside = std::max(step(side - 1, e), step(side + 1, e));
                    EXPECT_LE(step(side, e), beside + 1.0)
                        << "azimuth " << side << ", elevation " << e;
                }
            const float lowest = *std::min_element(p.Levels().begin(), p.Levels().end());
            // The grid is relative to its own peak; the front horizon is the cut's level there.
            const double shift = cuts->ElevationAbove(0) - p.At(0, 0);
            EXPECT_GE(lowest + shift, deepest - 0.01);
        }
    }
}

TEST(Pattern3D, EveryMethodReproducesTheCuts)
{
    // Lopsided in azimuth and with a back lobe of its own shape, so that a mirrored or shifted
    // reading of either cut shows.
    const auto truth = [](double a, double e) {
        const double back = a > 90 && a < 270 ? -3.0 * std::sin(Rad(e)) : 0.0;
        return Tilted6(a, e) + 1.5 * std::sin(Rad(a)) * std::cos(Rad(e)) + back;
    };
    const TPatternCuts cuts = CutsFromTruth(truth);
    for (const T3DMethod method : kMethods) {
        SCOPED_TRACE(std::string(MethodName(method)));
        const TPattern3D p = BuildPattern3D(cuts, method);
        const double shift = cuts.ElevationAbove(0) - cuts.AzimuthClockwise(0);
        // The published weighting measures the elevation cut from its peak, so on this tilted
        // beam it keeps the azimuth cut's shape through the beam rather than on the horizon.
        for (int a = 0; a < 360 && method != T3DMethod::Bilinear; ++a)
            ASSERT_NEAR(p.At(a, 0) - p.At(0, 0),
                        cuts.AzimuthClockwise(a) + shift - cuts.ElevationAbove(0), 1e-4)
                << a;
        for (int e = -90; e <= 90; ++e) {
            ASSERT_NEAR(p.At(0, e) - p.At(0, 0), cuts.ElevationAbove(e) - cuts.ElevationAbove(0),
                        1e-4)
                << e;
            ASSERT_NEAR(p.At(180, e) - p.At(180, 0),
                        cuts.ElevationAbove(180 - e) - cuts.ElevationAbove(180), 1e-4)
                << e;
        }
        // Relative to the peak, which here is on the elevation cut: a downtilted beam peaks at
        // a negative elevation.
        for (int e = -90; e <= 90; ++e)
            EXPECT_LE(p.At(0, e), p.At(0, -6)) << e;
        EXPECT_LT(p.At(0, 6), p.At(0, -6) - 10.0);
    }
}

TEST(Footprint, IsotropicAntennaFollowsTheSlantRange)
{
    const TPattern3D iso =
        BuildPattern3D(CutsFromTruth([](double, double) { return 0.0; }), T3DMethod::Auto);
    for (const double tilt : {0.0, 8.0})
        for (const double azimuth : {0.0, 45.0, 200.0})
            for (const double d : {1.0, 30.0, 1234.5, 20000.0}) {
                const TFootprintGeometry g{30.0, tilt};
                EXPECT_NEAR(GroundLevel(iso, g, azimuth, d),
                            -20.0 * std::log10(std::sqrt(d * d + 900.0)), 1e-9);
            }
    // 3 dB further away than the nearest point the slant range has grown by 10^(3/20).
    const TFootprintLine line = FootprintAlong(iso, {30.0, 0.0});
    EXPECT_DOUBLE_EQ(line.maximumDistance, kFootprintNearest);
    EXPECT_NEAR(std::hypot(*line.far3dB, 30.0), std::hypot(10.0, 30.0) * std::pow(10, 0.15), 0.5);
}

TEST(Footprint, PencilBeamLandsWhereItsTiltPointsElectricallyOrMechanically)
{
    for (const double height : {20.0, 30.0, 60.0})
        for (const int tilt : {3, 6, 10}) {
            SCOPED_TRACE(std::to_string(height) + " m, " + std::to_string(tilt) + " degrees");
            const double expected = height / std::tan(Rad(tilt));
            const auto electrical = [tilt](double a, double e) { return PencilTruth(a, e, tilt); };
            const TPattern3D p = BuildPattern3D(CutsFromTruth(electrical), T3DMethod::Auto);
            const TFootprintLine line = FootprintAlong(p, {height, 0.0});
            EXPECT_NEAR(line.maximumDistance, expected, 0.05 * expected);
            EXPECT_GT(line.far10dB.value_or(0), line.far3dB.value_or(1e9));
            // The same beam built flat and tilted down on the mast.
            const auto flat = [](double a, double e) { return PencilTruth(a, e, 0.0); };
            const TPattern3D q = BuildPattern3D(CutsFromTruth(flat), T3DMethod::Auto);
            EXPECT_NEAR(FootprintAlong(q, {height, double(tilt)}).maximumDistance, expected,
                        0.05 * expected);
        }
}

TEST(Footprint, MechanicalTiltTurnsThePatternAndSparesTheSides)
{
    const TPattern3D p = BuildPattern3D(CutsFromTruth(Tilted6), T3DMethod::Auto);
    for (const double tilt : {-10.0, 5.0, 15.0}) {
        // The axis of the turn is the horizontal line 90 degrees off boresight.
        EXPECT_NEAR(p.GainTilted(90, 0, tilt), p.Gain(90, 0), 1e-9);
        EXPECT_NEAR(p.GainTilted(270, 0, tilt), p.Gain(270, 0), 1e-9);
        // Straight ahead the beam moves down by the tilt, not sideways.
        EXPECT_NEAR(p.GainTilted(0, -6 - tilt, tilt), p.Gain(0, -6), 1e-6);
        // Far out to the side the ground level hardly changes; ahead it does.
        const TFootprintGeometry flat{30, 0}, tilted{30, tilt};
        EXPECT_NEAR(GroundLevel(p, tilted, 90, 20000), GroundLevel(p, flat, 90, 20000), 0.05);
        EXPECT_GT(std::fabs(GroundLevel(p, tilted, 0, 285) - GroundLevel(p, flat, 0, 285)), 1.0);
    }
}

TEST(Footprint, MapIsSeenFromAboveWithBoresightUp)
{
    const TPattern3D p = BuildPattern3D(
        CutsFromTruth([](double a, double e) { return PencilTruth(a, e, 6); }), T3DMethod::Auto);
    const TFootprintMap map = FootprintMap(p, {30, 0}, 1000, 200);
    ASSERT_EQ(map.levels.size(), 200u * 200u);
    const auto at = [&](int row, int col) { return map.levels[std::size_t(row * 200 + col)]; };
    int bestRow = 0, bestCol = 0;
    for (int r = 0; r < 200; ++r)
        for (int c = 0; c < 200; ++c)
            if (at(r, c) > at(bestRow, bestCol))
                bestRow = r, bestCol = c;
    EXPECT_FLOAT_EQ(at(bestRow, bestCol), 0.0f);
    // Cells are 10 m; the beam lands 285 m ahead of the mast, which is at the centre.
    EXPECT_TRUE(bestCol == 99 || bestCol == 100);
    EXPECT_NEAR(1000 - (bestRow + 0.5) * 10, 30 / std::tan(Rad(6)), 15);
    // Behind the mast the level is far lower; left and right mirror each other.
    EXPECT_LT(at(199 - bestRow, bestCol), -25.0f);
    EXPECT_NEAR(at(bestRow, 40), at(bestRow, 159), 1e-3);
}

TEST(Pattern3D, MechanicalTiltMovesThePeakByTheTilt)
{
    // A beam 6 degrees down electrically, turned further down (or up) on the mast.
    const TPattern3D p = BuildPattern3D(CutsFromTruth(Tilted6), T3DMethod::Summing);
    for (const int tilt : {4, -4, 10, 0}) {
        const TPattern3D mounted = p.Tilted(tilt);
        const auto peak = std::max_element(mounted.Levels().begin(), mounted.Levels().end());
        const auto index = static_cast<int>(peak - mounted.Levels().begin());
        EXPECT_EQ(index % TPattern3D::kAzimuths, 0) << tilt;
        EXPECT_EQ(index / TPattern3D::kAzimuths - 90, -6 - tilt) << tilt;
        EXPECT_FLOAT_EQ(*peak, 0.0f);
        EXPECT_EQ(mounted.Method(), T3DMethod::Summing);
    }
}

TEST(Footprint, OffBoresightAndAtAnySlopeAgreesWithTheGrid)
{
    // The far -10 dB point found independently: the grid's gain towards each ground point
    // minus the path loss, on a fine logarithmic walk outwards from the mast.
    TQuvFile record;
    record.LoadFromFile(std::string(QUV_SAMPLE_CATALOGUE) + "/TD0765-14.quv");
    const auto cuts = CutsOf(record);
    ASSERT_TRUE(cuts);
    struct Case {
        T3DMethod method;
        double azimuth, height, slope, tilt;
    };
    const std::vector<Case> cases{
        {T3DMethod::Summing, 60, 30, 20, 0},    {T3DMethod::Auto, 60, 30, 20, 0},
        {T3DMethod::Summing, 300, 30, 20, 0},   {T3DMethod::Summing, 60, 30, 37.6, 0},
        {T3DMethod::Projection, 30, 45, 35, 3}, {T3DMethod::Bilinear, 0, 30, 20, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(MethodName(c.method)) + " azimuth " + std::to_string(c.azimuth) +
                     " slope " + std::to_string(c.slope));
        const TPattern3D p = BuildPattern3D(*cuts, c.method);
        std::vector<std::pair<double, double>> walk; // distance, level
        for (double d = 10; d <= 20000; d *= 1.002) {
            const double below = std::atan2(c.height, d) * 180 / std::numbers::pi;
            walk.emplace_back(d, p.GainTilted(c.azimuth, -below, c.tilt) -
                                     c.slope * std::log10(std::hypot(d, c.height)));
        }
        const auto top = std::max_element(walk.begin(), walk.end(),
                                          [](auto& x, auto& y) { return x.second < y.second; });
        const auto far =
            std::find_if(top, walk.end(), [&top](auto& x) { return x.second <= top->second - 10; });
        ASSERT_NE(far, walk.end());
        const TFootprintLine line = FootprintAlong(p, {c.height, c.tilt, c.slope}, c.azimuth);
        EXPECT_NEAR(line.maximumDistance, top->first, 0.02 * top->first);
        ASSERT_TRUE(line.far10dB);
        EXPECT_NEAR(*line.far10dB, far->first, 0.05 * far->first);
    }
    // A steeper slope pulls the far edge in.
    const TPattern3D p = BuildPattern3D(*cuts, T3DMethod::Auto);
    EXPECT_LT(*FootprintAlong(p, {30, 0, 40}, 60).far10dB,
              *FootprintAlong(p, {30, 0, 20}, 60).far10dB);
}
