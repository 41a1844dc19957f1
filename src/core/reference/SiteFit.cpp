#include "reference/SiteFit.h"

#include "catalogue/NumberText.h"
#include "catalogue/Pattern3D.h"
#include "catalogue/PatternMetrics.h"
#include "catalogue/TextFile.h"
#include "reference/PatternFile.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <exception>
#include <limits>
#include <numbers>
#include <thread>

namespace quv {

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

// The cell is sampled from 5 % of its radius outwards: nearer in, every antenna delivers far
// more than it needs and the samples would only dilute the edge. Log-spaced distances give the
// near and far parts of the cell the same number of rings; the area weights below restore
// their true shares.
constexpr int kCellRings = 100;
constexpr double kCellInner = 0.05;
// Beyond: the neighbouring cells' own area, from where their servers start to dominate (1.5 R)
// to where our signal no longer matters to them (3 R).
constexpr int kBeyondRings = 50;
constexpr double kBeyondInner = 1.5, kBeyondOuter = 3.0;
// The cell level is what 95 % of the cell's area gets at least: the weakest 5 % are the patches
// a planner fills with another site anyway, and a minimum would let one null decide. The spill
// level is what the strongest 5 % of the area beyond receives: the interference a neighbour
// actually notices, not the average that the far, harmless parts would pull down.
constexpr double kCellShare = 0.05;
constexpr double kSpillShare = 0.95;

std::vector<double> LogSteps(double first, double last, int count)
{
    std::vector<double> steps;
    for (int i = 0; i < count; ++i)
        steps.push_back(first * std::pow(last / first, static_cast<double>(i) / (count - 1)));
    return steps;
}

// The padded grid's row: the 360 azimuths and azimuth 0 again.
constexpr std::size_t kRow = TPattern3D::kAzimuths + 1;

// Why a record's cuts cannot be numbers, or empty when they can.
std::string PatternProblem(const TQuvFile& record)
{
    for (const auto& [cut, name] :
         {std::pair{&record.Azimuth, "azimuth"}, std::pair{&record.Elevation, "elevation"}}) {
        if (cut->size() < 361)
            return std::string("the ") + name + " cut holds " + std::to_string(cut->size()) +
                   " of 361 levels";
        for (std::size_t i = 0; i < 361; ++i) {
            double v = 0;
            if (!TryStrToFloat((*cut)[i], v) || !std::isfinite(v))
                return std::string("the ") + name + " level '" + std::string((*cut)[i]) +
                       "' is not a number";
        }
    }
    return {};
}

// One record's place in the ranking, or why it has none.
struct TOutcome {
    std::optional<TSiteEntry> entry;
    std::string reason;
};

TOutcome FitRecord(const TSiteGrid& grid, const TQuvFile& record, TSiteGrid::TScratch& scratch)
{
    TOutcome outcome;
    const std::string problem = PatternProblem(record);
    const auto gain = StatedGainDBi(record);
    if (!problem.empty() || !gain) {
        outcome.reason = problem;
        if (!gain)
            outcome.reason += std::string(problem.empty() ? "" : "; ") +
                              "no gain stated (neither dBi nor dBd is a number)";
        return outcome;
    }
    const auto cuts = CutsOf(record);
    if (!cuts) {
        outcome.reason = "the pattern levels are not numbers";
        return outcome;
    }
    const TPattern3D pattern = BuildPattern3D(*cuts, T3DMethod::Auto);
    const TPatternFit fit = FitPattern(grid, pattern, *gain, scratch);
    TSiteEntry entry;
    entry.record = &record;
    entry.gainDBi = *gain;
    entry.figures = fit.chosen;
    entry.meetsMargin = fit.meetsMargin;
    entry.electricalTilt = MeasureElevation(cuts->elevation).tilt;
    outcome.entry = entry;
    return outcome;
}

// Coverage first: every antenna that keeps the margin ranks before any that does not, whatever
// its level; among those, the stronger cell wins. Those that cannot keep it follow by how close
// they come.
bool RanksBefore(const TSiteEntry& a, const TSiteEntry& b)
{
    if (a.meetsMargin != b.meetsMargin)
        return a.meetsMargin;
    const double am = a.figures.Margin(), bm = b.figures.Margin();
    if (a.meetsMargin) {
        if (a.figures.cellLevel != b.figures.cellLevel)
            return a.figures.cellLevel > b.figures.cellLevel;
        return am > bm;
    }
    if (am != bm)
        return am > bm;
    return a.figures.cellLevel > b.figures.cellLevel;
}

} // namespace

std::string ScenarioProblem(const TSiteScenario& s)
{
    const auto bad = [](double v) { return !std::isfinite(v); };
    if (bad(s.height) || s.height <= 0)
        return "the height must be a number of metres above zero";
    if (bad(s.radius) || s.radius <= 0)
        return "the radius must be a number of metres above zero";
    if (bad(s.sector) || s.sector < 1 || s.sector > 360)
        return "the sector must be a number of degrees from 1 to 360";
    if (bad(s.tiltMin) || bad(s.tiltMax) || s.tiltMin < -kSiteTiltLimit ||
        s.tiltMax > kSiteTiltLimit)
        return "the tilt range must lie within -" + FloatToStrGeneral(kSiteTiltLimit) + " to " +
               FloatToStrGeneral(kSiteTiltLimit) + " degrees";
    if (s.tiltMin > s.tiltMax)
        return "the tilt range is reversed: its minimum is above its maximum";
    if (bad(s.minMargin) || s.minMargin < 0)
        return "the minimum margin must be a number of dB, zero or more";
    if (bad(s.slope) || s.slope <= 0)
        return "the slope must be a number of dB per decade above zero";
    return {};
}

std::string ScenarioText(const TSiteScenario& s)
{
    const auto n = [](double v) { return FloatToStrGeneral(v); };
    return "mast " + n(s.height) + " m, cell radius " + n(s.radius) + " m, sector " + n(s.sector) +
           " deg, mechanical tilts " + n(s.tiltMin) + " to " + n(s.tiltMax) +
           " deg, minimum margin " + n(s.minMargin) + " dB, path loss " + n(s.slope) +
           " dB per decade";
}

TSiteGrid::TSiteGrid(const TSiteScenario& scenario) : scenario_(scenario)
{
    for (int k = 0;; ++k) {
        const double tilt = scenario.tiltMin + k * kSiteTiltStep;
        if (tilt >= scenario.tiltMax - 1e-9)
            break;
        tilts_.push_back(tilt);
    }
    tilts_.push_back(scenario.tiltMax);

    cellDistances_ = LogSteps(kCellInner * scenario.radius, scenario.radius, kCellRings);
    beyondDistances_ =
        LogSteps(kBeyondInner * scenario.radius, kBeyondOuter * scenario.radius, kBeyondRings);
    // One-degree steps across the sector, both edges included; a whole circle has no edges, so
    // its last step would repeat the first.
    const int steps = std::max(1, static_cast<int>(std::lround(scenario.sector)));
    if (scenario.sector >= 360) {
        for (int j = 0; j < 360; ++j)
            azimuths_.push_back(j - 180.0);
    } else {
        for (int j = 0; j <= steps; ++j)
            azimuths_.push_back(-scenario.sector / 2 + scenario.sector * j / steps);
    }

    // A ring at distance d stands for the ground between its neighbours, whose spacing grows
    // with d in log steps: its area is proportional to d * d.
    const auto rings = [&](const std::vector<double>& distances, std::vector<double>& loss,
                           std::vector<double>& weight) {
        for (const double d : distances) {
            loss.push_back(scenario.slope / 20.0 *
                           (10.0 * std::log10(d * d + scenario.height * scenario.height)));
            weight.push_back(d * d);
        }
    };
    rings(cellDistances_, cellLoss_, cellWeight_);
    rings(beyondDistances_, beyondLoss_, beyondWeight_);

    // The directions as the footprint finds them (GroundLevel): the mast's view of the point,
    // turned up by the tilt, then TPattern3D::Gain's grid corner and fractions.
    const auto sample = [&](double tilt, double d, double phi) {
        const double c = std::cos(tilt * kRadians), s = std::sin(tilt * kRadians);
        const double north = d * std::cos(phi * kRadians);
        const double east = d * std::sin(phi * kRadians);
        const double inv =
            1.0 / std::sqrt(north * north + east * east + scenario.height * scenario.height);
        const double x = north * inv, y = east * inv, z = -scenario.height * inv;
        const double xa = x * c - z * s;
        const double za = x * s + z * c;
        double azimuth = std::atan2(y, xa) / kRadians;
        if (azimuth < 0)
            azimuth += 360;
        const double elevation =
            std::clamp(std::atan2(za, std::sqrt(y * y + xa * xa)) / kRadians, -90.0, 90.0);
        const int a = std::min(static_cast<int>(std::floor(azimuth)), 359);
        const int e = std::min(static_cast<int>(std::floor(elevation)), 89);
        const auto fraction = [](double f) {
            return static_cast<std::uint16_t>(std::clamp(std::floor(f * 65536.0), 0.0, 65535.0));
        };
        // Column 360 of the padded grid repeats column 0, so a corner at 359 needs no wrap.
        return TSample{static_cast<std::uint32_t>(static_cast<std::size_t>(e + 90) * kRow +
                                                  static_cast<std::size_t>(a)),
                       fraction(azimuth - a), fraction(elevation - e)};
    };
    for (const auto& [distances, samples] : {std::pair{&cellDistances_, &cellSamples_},
                                             std::pair{&beyondDistances_, &beyondSamples_}}) {
        samples->reserve(tilts_.size() * distances->size() * azimuths_.size());
        for (const double tilt : tilts_)
            for (const double d : *distances)
                for (const double phi : azimuths_)
                    samples->push_back(sample(tilt, d, phi));
    }
}

void TSiteGrid::Prepare(const TPattern3D& pattern, TScratch& scratch) const
{
    const std::vector<float>& levels = pattern.Levels();
    scratch.grid.resize(TPattern3D::kElevations * kRow);
    for (std::size_t e = 0; e < TPattern3D::kElevations; ++e) {
        const float* from = levels.data() + e * TPattern3D::kAzimuths;
        float* to = scratch.grid.data() + e * kRow;
        std::copy(from, from + TPattern3D::kAzimuths, to);
        to[TPattern3D::kAzimuths] = from[0];
    }
    scratch.lowest = *std::min_element(levels.begin(), levels.end());
    scratch.highest = *std::max_element(levels.begin(), levels.end());
}

// The area-weighted quantile of one region at one tilt: the smallest level whose cumulative
// weight (levels in ascending order) reaches the region's share of the total. Linear time, in
// one pass over the samples: each level goes into a histogram bin as it is worked out (the
// interpolated levels cannot leave the grid's own range, so the bins are known beforehand),
// and only the bin that holds the quantile is sorted. A catalogue asks this millions of times.
double TSiteGrid::RegionLevel(std::size_t tiltIndex, bool beyond, TScratch& scratch) const
{
    const std::vector<double>& loss = beyond ? beyondLoss_ : cellLoss_;
    const std::vector<double>& weight = beyond ? beyondWeight_ : cellWeight_;
    const std::size_t perRing = azimuths_.size(), count = loss.size() * perRing;
    const TSample* sample = (beyond ? beyondSamples_ : cellSamples_).data() + tiltIndex * count;
    const float* grid = scratch.grid.data();
    const auto [nearLoss, farLoss] = std::minmax_element(loss.begin(), loss.end());
    const float lo = static_cast<float>(scratch.lowest - *farLoss);
    const float hi = static_cast<float>(scratch.highest - *nearLoss);
    constexpr int kBins = 512;
    const float scale = hi > lo ? kBins / (hi - lo) : 0.0f;
    // Four histograms taken in turn: neighbouring samples often share a bin, and one histogram
    // would make every addition wait for the one before.
    std::array<std::array<double, kBins>, 4> histograms{};
    scratch.levels.resize(count);
    scratch.bins.resize(count);
    float* out = scratch.levels.data();
    std::uint16_t* bins = scratch.bins.data();
    double total = 0;
    // Single precision: a level is good to 1e-5 dB this way, and the loop runs billions of times
    // for a large catalogue.
    for (std::size_t i = 0; i < loss.size(); ++i) {
        const auto ring = static_cast<float>(loss[i]);
        const double w = weight[i];
        total += w * static_cast<double>(perRing);
        for (std::size_t j = 0; j < perRing; ++j, ++sample, ++out, ++bins) {
            const float* c = grid + sample->corner;
            const float fa = sample->fa * (1.0f / 65536.0f);
            const float fe = sample->fe * (1.0f / 65536.0f);
            const float lower = c[0] + fa * (c[1] - c[0]);
            const float upper = c[kRow] + fa * (c[kRow + 1] - c[kRow]);
            const float level = lower + fe * (upper - lower) - ring;
            // Clamped, the bins still keep the levels' order, which is all the search needs.
            const int b = std::clamp(static_cast<int>((level - lo) * scale), 0, kBins - 1);
            *out = level;
            *bins = static_cast<std::uint16_t>(b);
            histograms[j & 3][static_cast<std::size_t>(b)] += w;
        }
    }
    const double target = (beyond ? kSpillShare : kCellShare) * total;
    double below = 0;
    int found = 0;
    for (; found < kBins - 1; ++found) {
        const auto f = static_cast<std::size_t>(found);
        const double inBin =
            histograms[0][f] + histograms[1][f] + histograms[2][f] + histograms[3][f];
        if (below + inBin >= target)
            break;
        below += inBin;
    }
    scratch.bin.clear();
    for (std::size_t i = 0, k = 0; i < loss.size(); ++i)
        for (std::size_t j = 0; j < perRing; ++j, ++k)
            if (scratch.bins[k] == found)
                scratch.bin.emplace_back(scratch.levels[k], weight[i]);
    std::sort(scratch.bin.begin(), scratch.bin.end());
    for (const auto& [level, w] : scratch.bin) {
        below += w;
        if (below >= target)
            return level;
    }
    // Only rounding in the sums can get here: the bin's largest level is the answer then.
    return scratch.bin.empty() ? hi : scratch.bin.back().first;
}

TTiltFigures TSiteGrid::Evaluate(const TPattern3D& pattern, double gainDBi, std::size_t tiltIndex,
                                 TScratch& scratch) const
{
    Prepare(pattern, scratch);
    TTiltFigures figures;
    figures.tilt = tilts_[tiltIndex];
    // The gain shifts every level alike, so it is added to the quantiles, not to each level.
    figures.cellLevel = gainDBi + RegionLevel(tiltIndex, false, scratch);
    figures.spillLevel = gainDBi + RegionLevel(tiltIndex, true, scratch);
    return figures;
}

TTiltFigures TSiteGrid::Evaluate(const TPattern3D& pattern, double gainDBi,
                                 std::size_t tiltIndex) const
{
    TScratch scratch;
    return Evaluate(pattern, gainDBi, tiltIndex, scratch);
}

// Ranking by margin alone rewards over-tilting: a beam pushed into the ground near the mast
// spills least of all, and a 5 km rural cell came out at 7 degrees of total tilt. Taking the
// strongest cell among the tilts that keep the minimum margin lands near the planners' own rule
// (the upper half-power edge near the cell edge).
TPatternFit FitPattern(const TSiteGrid& grid, const TPattern3D& pattern, double gainDBi,
                       TSiteGrid::TScratch& scratch)
{
    grid.Prepare(pattern, scratch);
    const std::vector<double>& tilts = grid.Tilts();
    std::vector<double> cells;
    for (std::size_t t = 0; t < tilts.size(); ++t)
        cells.push_back(gainDBi + grid.RegionLevel(t, false, scratch));
    // The spill is needed only down to the first tilt, strongest cell first, that keeps the
    // margin: no weaker cell can be chosen after it. That saves most of a third of the work.
    std::vector<std::size_t> order(tilts.size());
    for (std::size_t t = 0; t < order.size(); ++t)
        order[t] = t;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return cells[a] > cells[b]; });
    TPatternFit fit;
    const double minimum = grid.Scenario().minMargin;
    for (const std::size_t t : order) {
        const TTiltFigures f{tilts[t], cells[t], gainDBi + grid.RegionLevel(t, true, scratch)};
        fit.tilts.push_back(f);
        if (f.Margin() >= minimum) {
            fit.chosen = f;
            fit.meetsMargin = true;
            break;
        }
    }
    std::sort(fit.tilts.begin(), fit.tilts.end(),
              [](const TTiltFigures& a, const TTiltFigures& b) { return a.tilt < b.tilt; });
    if (!fit.meetsMargin) {
        fit.chosen = fit.tilts.front();
        for (const TTiltFigures& f : fit.tilts)
            if (f.Margin() > fit.chosen.Margin())
                fit.chosen = f;
    }
    return fit;
}

TPatternFit FitPattern(const TSiteGrid& grid, const TPattern3D& pattern, double gainDBi)
{
    TSiteGrid::TScratch scratch;
    return FitPattern(grid, pattern, gainDBi, scratch);
}

std::optional<double> StatedGainDBi(const TQuvFile& record)
{
    double value = 0;
    if (TryStrToFloat(record.GainDBi, value) && std::isfinite(value))
        return value;
    if (TryStrToFloat(record.GainDBd, value) && std::isfinite(value))
        return value + kDipoleGainDBi;
    return std::nullopt;
}

TSiteRanking RankSite(const TQuvFileList& list, const TSiteScenario& scenario,
                      const std::function<void(int done, int total)>& progress)
{
    TSiteRanking ranking;
    ranking.scenario = scenario;
    const TSiteGrid grid(scenario);
    const int total = list.Count();
    std::vector<TOutcome> outcomes(static_cast<std::size_t>(total));
    std::atomic<int> next{0}, done{0};
    // Each worker takes the next record until none is left; the calling thread works too and is
    // the only one that reports progress, so a window can paint its bar from the callback.
    const auto work = [&](bool reports) {
        TSiteGrid::TScratch scratch;
        for (int i = next++; i < total; i = next++) {
            const TQuvFile* record = list.Objects(i);
            if (record)
                outcomes[static_cast<std::size_t>(i)] = FitRecord(grid, *record, scratch);
            const int finished = ++done;
            if (reports && progress)
                progress(finished, total);
        }
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const int helpers = std::min(static_cast<int>(cores) - 1, total / 4);
    std::vector<std::thread> threads;
    std::vector<std::exception_ptr> failures(static_cast<std::size_t>(std::max(helpers, 0)));
    for (int h = 0; h < helpers; ++h)
        threads.emplace_back([&, h] {
            try {
                work(false);
            } catch (...) {
                failures[static_cast<std::size_t>(h)] = std::current_exception();
                next = total; // the others stop at their next record
            }
        });
    std::exception_ptr own;
    try {
        work(true);
    } catch (...) {
        own = std::current_exception();
        next = total;
    }
    for (std::thread& t : threads)
        t.join();
    if (own)
        std::rethrow_exception(own);
    for (const auto& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
    if (progress)
        progress(total, total);

    for (int i = 0; i < total; ++i) {
        TOutcome& o = outcomes[static_cast<std::size_t>(i)];
        if (o.entry)
            ranking.ranked.push_back(*o.entry);
        else if (const TQuvFile* record = list.Objects(i))
            ranking.leftOut.push_back({record, std::move(o.reason)});
    }
    std::stable_sort(ranking.ranked.begin(), ranking.ranked.end(), RanksBefore);
    return ranking;
}

std::string DataFileName(const TQuvFile& record)
{
    const std::size_t slash = record.FileName.find_last_of("/\\");
    return slash == std::string::npos ? record.FileName : record.FileName.substr(slash + 1);
}

namespace {

// A field as RFC 4180 wants it: quoted, with doubled quotes, when it holds a comma, a quote or a
// line break (part numbers are the maker's text and may).
std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

} // namespace

std::string SiteFitCsv(const TSiteRanking& ranking)
{
    TTextBuilder text;
    text.Line("rank,part number,data file,cell level dB,margin dB,meets margin,"
              "mechanical tilt deg,electrical tilt deg,total tilt deg,spill level dB,gain dBi,"
              "note");
    const auto tilt = [](const std::optional<double>& value) {
        return value ? Format("%.1f", {*value}) : std::string();
    };
    int rank = 0;
    for (const TSiteEntry& e : ranking.ranked) {
        const TTiltFigures& f = e.figures;
        text.Line(std::to_string(++rank) + "," + CsvField(e.record->PartNumber) + "," +
                  CsvField(DataFileName(*e.record)) + "," + Format("%.2f", {f.cellLevel}) + "," +
                  Format("%.2f", {f.Margin()}) + "," + (e.meetsMargin ? "yes" : "no") + "," +
                  Format("%.1f", {f.tilt}) + "," + tilt(e.electricalTilt) + "," +
                  tilt(e.TotalTilt()) + "," + Format("%.2f", {f.spillLevel}) + "," +
                  Format("%.2f", {e.gainDBi}) + ",");
    }
    for (const TSiteLeftOut& l : ranking.leftOut)
        text.Line("," + CsvField(l.record->PartNumber) + "," + CsvField(DataFileName(*l.record)) +
                  ",,,,,,,,," + CsvField(l.reason));
    return text.Take();
}

} // namespace quv
