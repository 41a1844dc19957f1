// The site ranking against hand computations: an isotropic antenna, whose levels follow from the
// distances alone; a pencil beam, whose best tilt is known from the geometry; the figures against
// the footprint's own ground levels sorted by area; coverage before containment; the refusals.
#include "reference/SiteFit.h"

#include "catalogue/Footprint.h"
#include "catalogue/Pattern3D.h"
#include "catalogue/QuvFile.h"

#include "support/TestAntennas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

using namespace quv;
using namespace quvtest;

namespace {

double SlantLoss(double slope, double distance, double height)
{
    return slope * std::log10(std::sqrt(distance * distance + height * height));
}

TPattern3D PatternOf(const TTruePattern& truth)
{
    return BuildPattern3D(CutsFromTruth(truth), T3DMethod::Auto);
}

// The quantile written out the slow, obvious way: sort every sample, walk up the cumulative
// area until `share` of it is reached.
double SortedQuantile(std::vector<std::pair<double, double>> samples, double share)
{
    std::sort(samples.begin(), samples.end());
    double total = 0;
    for (const auto& s : samples)
        total += s.second;
    double sum = 0;
    for (const auto& [level, weight] : samples) {
        sum += weight;
        if (sum >= share * total)
            return level;
    }
    return samples.back().first;
}

// Cell and spill levels from the footprint's GroundLevel over the rings and azimuths as the
// ranking defines them, written out here again from the definition.
std::pair<double, double> BruteForce(const TPattern3D& pattern, const TSiteScenario& s, double tilt,
                                     double gain)
{
    const TFootprintGeometry geometry{s.height, tilt, s.slope};
    const int steps = static_cast<int>(std::lround(s.sector));
    std::vector<double> azimuths;
    for (int j = 0; j <= steps; ++j)
        if (s.sector < 360 || j < steps)
            azimuths.push_back(-s.sector / 2 + s.sector * j / steps);
    const auto ring = [&](double first, double last, int count) {
        std::vector<std::pair<double, double>> samples;
        for (int i = 0; i < count; ++i) {
            const double d = first * std::pow(last / first, i / (count - 1.0));
            for (const double a : azimuths)
                samples.emplace_back(gain + GroundLevel(pattern, geometry, a < 0 ? a + 360 : a, d),
                                     d * d);
        }
        return samples;
    };
    return {SortedQuantile(ring(0.05 * s.radius, s.radius, 100), 0.05),
            SortedQuantile(ring(1.5 * s.radius, 3 * s.radius, 50), 0.95)};
}

// A record with these cuts and header lines, as a data file would give it.
std::unique_ptr<TQuvFile> Record(const std::string& part, const std::string& gainLines,
                                 const TTruePattern& truth)
{
    auto record = std::make_unique<TQuvFile>();
    record->LoadFromBytes("[HEADER]\r\nPart Number=" + part + "\r\n" + gainLines + "\r\n" +
                              PointsSection(CutsFromTruth(truth)),
                          "/cat/" + part + ".quv");
    return record;
}

} // namespace

TEST(SiteFit, IsotropicLevelsFollowFromTheDistancesAlone)
{
    // Equal levels in every direction: the weakest 5 % of the cell's area is its outer rim. The
    // rings lie at 0.05 R * 20^(i/99), so ring i's weight is proportional to r^i with
    // r = 400^(1/99); the outermost ring alone holds (r^100 - r^99) / (r^100 - 1) = 5.9 % of the
    // area, so the cell level is the level at R. Beyond, the rings lie at 1.5 R * 2^(i/49) with
    // weights q^i, q = 4^(1/49); the five nearest rings hold (q^5 - 1) / (q^50 - 1) = 4.9 % of
    // the area and six hold 5.9 %, so the strongest 5 % end at ring 5.
    const double spillRing = 1.5 * std::pow(2.0, 5.0 / 49);
    const TPattern3D isotropic = PatternOf([](double, double) { return 0.0; });
    const struct {
        double height, radius, sector, slope, gain;
    } cases[] = {{30, 1000, 120, 20, 0},
                 {25, 400, 65, 35, 11.5},
                 {40, 5000, 360, 35, 2.15},
                 {10, 50, 1, 20, -3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.radius);
        TSiteScenario s;
        s.height = c.height;
        s.radius = c.radius;
        s.sector = c.sector;
        s.slope = c.slope;
        const TSiteGrid grid(s);
        const double cell = c.gain - SlantLoss(c.slope, c.radius, c.height);
        const double spill = c.gain - SlantLoss(c.slope, spillRing * c.radius, c.height);
        // The tilt cannot matter to an antenna that has no direction.
        for (const std::size_t t : {std::size_t{0}, grid.Tilts().size() - 1}) {
            const TTiltFigures f = grid.Evaluate(isotropic, c.gain, t);
            // Single-precision levels: good to 1e-5 dB.
            EXPECT_NEAR(f.cellLevel, cell, 1e-4);
            EXPECT_NEAR(f.spillLevel, spill, 1e-4);
        }
        EXPECT_EQ(grid.Azimuths().size(), c.sector >= 360 ? 360u : c.sector + 1);
        EXPECT_DOUBLE_EQ(grid.Azimuths().front(), c.sector >= 360 ? -180 : -c.sector / 2);
    }
}

TEST(SiteFit, FiguresAgreeWithTheFootprintsGroundLevelsSortedByArea)
{
    const TPanel panels[] = {AnalyticPanels()[0], AnalyticPanels()[7], AnalyticPanels()[9]};
    const struct {
        double height, radius, sector, slope, tilt;
    } cases[] = {{30, 1000, 120, 20, 0}, {25, 400, 65, 35, 3.5}, {40, 5000, 360, 35, 1}};
    for (const TPanel& panel : panels) {
        const TPattern3D pattern =
            PatternOf([&](double a, double e) { return PanelTruth(panel, a, e); });
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(panel.name) + ", radius " + std::to_string(c.radius));
            TSiteScenario s;
            s.height = c.height;
            s.radius = c.radius;
            s.sector = c.sector;
            s.slope = c.slope;
            s.tiltMin = s.tiltMax = c.tilt;
            const TSiteGrid grid(s);
            ASSERT_EQ(grid.Tilts(), std::vector<double>{c.tilt});
            const TTiltFigures f = grid.Evaluate(pattern, 17.0, 0);
            const auto [cell, spill] = BruteForce(pattern, s, c.tilt, 17.0);
            EXPECT_NEAR(f.cellLevel, cell, 0.01);
            EXPECT_NEAR(f.spillLevel, spill, 0.01);
        }
    }
}

TEST(SiteFit, PencilBeamIsTiltedOntoTheOuterPartOfTheCell)
{
    // A beam 4 degrees high on the horizon, the same all round (so the sector cannot decide),
    // 20 dB down away from it. Tilted too little it spills beyond the cell; too much, the cell's
    // rim falls out of it. The strongest cell that keeps the margin has the beam's centre land
    // in the cell's outer part, inside the rim.
    const TPattern3D pencil =
        PatternOf([](double, double e) { return std::max(-12.0 * std::pow(e / 4, 2), -20.0); });
    const struct {
        double height, radius, slope;
    } cases[] = {{30, 1000, 35}, {25, 400, 35}, {40, 5000, 35}, {30, 1000, 30}, {50, 3000, 40}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.radius);
        TSiteScenario s;
        s.height = c.height;
        s.radius = c.radius;
        s.slope = c.slope;
        const TSiteGrid grid(s);
        const TPatternFit fit = FitPattern(grid, pencil, 15.0);
        ASSERT_TRUE(fit.meetsMargin);
        ASSERT_GT(fit.chosen.tilt, 0.0);
        const double lands = c.height / std::tan(fit.chosen.tilt * std::numbers::pi / 180);
        EXPECT_GE(lands, 0.6 * c.radius);
        EXPECT_LE(lands, c.radius);
        EXPECT_GE(fit.chosen.Margin(), s.minMargin);
        // Every tilt evaluated on its own: none that keeps the margin gives a stronger cell.
        ASSERT_EQ(grid.Tilts().size(), 21u);
        for (std::size_t t = 0; t < grid.Tilts().size(); ++t) {
            const TTiltFigures f = grid.Evaluate(pencil, 15.0, t);
            if (f.Margin() >= s.minMargin) {
                EXPECT_LE(f.cellLevel, fit.chosen.cellLevel) << f.tilt;
            }
        }
    }
}

TEST(SiteFit, CoverageComesFirstAndUnrankableAntennasAreListedWithTheReason)
{
    // The omni is 8 dB stronger than the shaped beam but cannot keep 6 dB between cell and
    // spill at slope 20: an isotropic antenna keeps only 20 log10 of the ratio of the slant
    // ranges to the cell's rim and to the spill's ring 5 (1.61 R), 4.1 dB. The weak omni keeps as
    // little, 6 dB weaker. The beam peaks 2 degrees down, falls fast above and as cosec^2 below
    // (the shape that holds the level across the cell), keeps the margin and ranks first.
    const auto omni = [](double, double) { return 0.0; };
    const auto beam = [](double, double e) {
        if (e > -2)
            return std::max(-12.0 * std::pow((e + 2) / 1.5, 2), -30.0);
        const double rad = std::numbers::pi / 180;
        return std::max(-20 * std::log10(std::sin(-e * rad) / std::sin(2 * rad)), -30.0);
    };
    auto strong = Record("STRONG", "Gain, dBi=20.0", omni);
    auto weak = Record("WEAK", "Gain, dBd=11.85", omni);
    auto contained = Record("CONTAINED", "Gain, dBi=12", beam);
    auto noGain = Record("NOGAIN", "Gain, dBi=n/a", beam);
    std::string bytes =
        "[HEADER]\r\nPart Number=BROKEN\r\nGain, dBi=12\r\n" + PointsSection(CutsFromTruth(beam));
    const std::size_t line = bytes.find("\r\n-170=") + 2;
    bytes.replace(line, bytes.find("\r\n", line) - line, "-170=x");
    TQuvFile broken;
    broken.LoadFromBytes(bytes, "/cat/BROKEN.quv");

    TQuvFileList list;
    for (TQuvFile* r : {strong.get(), noGain.get(), weak.get(), &broken, contained.get()})
        list.Add(r->PartNumber, r);
    const struct {
        double minMargin;
        std::vector<std::string> order;
        std::vector<bool> meets;
    } cases[] = {{6, {"CONTAINED", "STRONG", "WEAK"}, {true, false, false}},
                 {0, {"STRONG", "WEAK", "CONTAINED"}, {true, true, true}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.minMargin);
        TSiteScenario s;
        s.minMargin = c.minMargin;
        std::vector<int> seen;
        const TSiteRanking r =
            RankSite(list, s, [&](int done, int total) { seen.push_back(done * 100 + total); });
        ASSERT_EQ(r.ranked.size(), c.order.size());
        for (std::size_t i = 0; i < c.order.size(); ++i) {
            EXPECT_EQ(r.ranked[i].record->PartNumber, c.order[i]);
            EXPECT_EQ(r.ranked[i].meetsMargin, c.meets[i]);
        }
        EXPECT_EQ(seen.back(), 505);
        ASSERT_EQ(r.leftOut.size(), 2u);
        EXPECT_EQ(r.leftOut[0].record->PartNumber, "NOGAIN");
        EXPECT_EQ(r.leftOut[0].reason, "no gain stated (neither dBi nor dBd is a number)");
        EXPECT_EQ(r.leftOut[1].record->PartNumber, "BROKEN");
        EXPECT_EQ(r.leftOut[1].reason, "the azimuth level 'x' is not a number");
    }

    // dBd is turned into dBi; an omni has no best tilt, so the first one tried stands.
    TSiteScenario s;
    s.tiltMin = 2;
    const TSiteRanking r = RankSite(list, s);
    const TSiteEntry& w = r.ranked[2];
    EXPECT_NEAR(w.gainDBi, 14.0, 1e-12);
    EXPECT_EQ(w.figures.tilt, 2.0);
    EXPECT_NEAR(r.ranked[1].figures.cellLevel - w.figures.cellLevel, 6.0, 1e-4);
    // The panel's electrical tilt is measured from its cut, and adds to the mechanical one.
    ASSERT_TRUE(r.ranked[0].electricalTilt.has_value());
    EXPECT_NEAR(*r.ranked[0].electricalTilt, 2.0, 0.6);
    EXPECT_NEAR(*r.ranked[0].TotalTilt(), *r.ranked[0].electricalTilt + r.ranked[0].figures.tilt,
                1e-12);

    const std::string csv = SiteFitCsv(r);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "rank,part number,data file,cell level dB,margin dB,meets margin,mechanical tilt "
              "deg,electrical tilt deg,total tilt deg,spill level dB,gain dBi,note");
    EXPECT_NE(csv.find("\r\n3,WEAK,WEAK.quv,"), std::string::npos);
    EXPECT_NE(csv.find(",no,2.0,"), std::string::npos);
    EXPECT_NE(csv.find(",14.00,\r\n"), std::string::npos);
    EXPECT_NE(csv.find("\r\n,BROKEN,BROKEN.quv,,,,,,,,,the azimuth level 'x' is not a number\r\n"),
              std::string::npos);
}

TEST(SiteFit, RefusesSitesThatCannotBeEvaluatedAndTriesEveryTiltOfTheRange)
{
    const struct {
        void (*change)(TSiteScenario&);
        std::string problem;
    } cases[] = {
        {[](TSiteScenario&) {}, ""},
        {[](TSiteScenario& s) { s.height = 0; },
         "the height must be a number of metres above zero"},
        {[](TSiteScenario& s) { s.radius = -5; },
         "the radius must be a number of metres above zero"},
        {[](TSiteScenario& s) { s.radius = NAN; },
         "the radius must be a number of metres above zero"},
        {[](TSiteScenario& s) { s.sector = 0.5; },
         "the sector must be a number of degrees from 1 to 360"},
        {[](TSiteScenario& s) { s.sector = 361; },
         "the sector must be a number of degrees from 1 to 360"},
        {[](TSiteScenario& s) { s.tiltMin = 5, s.tiltMax = 4; },
         "the tilt range is reversed: its minimum is above its maximum"},
        {[](TSiteScenario& s) { s.tiltMax = 50; },
         "the tilt range must lie within -45 to 45 degrees"},
        {[](TSiteScenario& s) { s.slope = 0; },
         "the slope must be a number of dB per decade above zero"},
        {[](TSiteScenario& s) { s.minMargin = -1; },
         "the minimum margin must be a number of dB, zero or more"},
    };
    for (const auto& c : cases) {
        TSiteScenario s;
        c.change(s);
        EXPECT_EQ(ScenarioProblem(s), c.problem);
    }

    const struct {
        double low, high;
        std::vector<double> tilts;
    } ranges[] = {{2, 2, {2}}, {1.2, 3, {1.2, 1.7, 2.2, 2.7, 3}}, {-1, 0.5, {-1, -0.5, 0, 0.5}}};
    for (const auto& r : ranges) {
        TSiteScenario s;
        s.tiltMin = r.low;
        s.tiltMax = r.high;
        const TSiteGrid grid(s);
        ASSERT_EQ(grid.Tilts().size(), r.tilts.size());
        for (std::size_t i = 0; i < r.tilts.size(); ++i)
            EXPECT_NEAR(grid.Tilts()[i], r.tilts[i], 1e-12);
    }
}
