// Ranking the catalogue for a site: which antenna, at which mechanical tilt, covers a sector of
// a given radius from a mast of a given height best while spilling least into the cells beyond.
// The figure of merit is defined once, here (SiteGrid and FitPattern); the command, the page and
// the printed page only show its results. Pure arithmetic over the 3D pattern and the footprint's
// ground geometry; ranking a large catalogue uses every core of the machine.
#pragma once

#include "catalogue/Footprint.h"
#include "catalogue/QuvLib.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quv {

// The site the planner asks about. Angles in degrees, distances in metres.
struct TSiteScenario {
    double height = 30.0;                 // of the antenna above flat ground
    double radius = 1000;                 // of the cell
    double sector = 120.0;                // width of the served sector, centred on the boresight
    double tiltMin = 0.0, tiltMax = 10.0; // mechanical tilts tried, positive down
    double minMargin = 6.0;               // dB between cell level and spill level to qualify
    double slope = kFreeSpaceSlope;       // path loss, dB per decade of slant range
};

// "mast 30 m, cell radius 1000 m, sector 120 deg, mechanical tilts 0 to 10 deg, minimum margin
// 6 dB, path loss 20 dB per decade": the site in words, for tables and printed pages.
std::string ScenarioText(const TSiteScenario& scenario);

// Tilts are tried this far apart, from tiltMin up to tiltMax (which is always tried).
inline constexpr double kSiteTiltStep = 0.5;
// Mechanical tilts beyond this either way are not a mounting anyone uses; the bound also keeps
// the precomputed sample directions to a few tens of megabytes.
inline constexpr double kSiteTiltLimit = 45.0;

// Empty when the scenario can be evaluated; otherwise one line saying what is wrong with it, in
// the command line's terms (height, radius, sector, tilt range, margin, slope).
std::string ScenarioProblem(const TSiteScenario& scenario);

// One tilt's figures, levels in dB (gain included).
struct TTiltFigures {
    double tilt = 0;       // mechanical, degrees down
    double cellLevel = 0;  // what 95 % of the cell's area receives at least
    double spillLevel = 0; // what the strongest 5 % of the area beyond receives
    double Margin() const { return cellLevel - spillLevel; }
};

struct TPatternFit;

// The ground samples of a scenario, with the pattern-grid direction of each one at every tilt
// worked out once: evaluating an antenna is then table look-ups and sums. Building it needs a
// sound scenario (ScenarioProblem empty).
class TSiteGrid {
public:
    explicit TSiteGrid(const TSiteScenario& scenario);

    const TSiteScenario& Scenario() const { return scenario_; }
    const std::vector<double>& Tilts() const { return tilts_; }
    const std::vector<double>& CellDistances() const { return cellDistances_; }
    const std::vector<double>& BeyondDistances() const { return beyondDistances_; }
    const std::vector<double>& Azimuths() const { return azimuths_; } // clockwise from boresight

    // Working memory, kept by the caller so that a catalogue's thousands of evaluations
    // allocate it once.
    struct TScratch {
        std::vector<float> grid; // the pattern with azimuth 0 repeated as 360: no look-up wraps
        std::vector<float> levels;
        std::vector<std::uint16_t> bins;
        std::vector<std::pair<float, double>> bin; // level, weight
        float lowest = 0, highest = 0;             // the grid's range
    };
    // The figures of `pattern` (relative levels, as built) with `gainDBi` at Tilts()[tiltIndex].
    TTiltFigures Evaluate(const TPattern3D& pattern, double gainDBi, std::size_t tiltIndex,
                          TScratch& scratch) const;
    TTiltFigures Evaluate(const TPattern3D& pattern, double gainDBi, std::size_t tiltIndex) const;

private:
    friend TPatternFit FitPattern(const TSiteGrid&, const TPattern3D&, double, TScratch&);
    // A ground point's direction in the padded pattern grid: the lower grid corner and the
    // fractions towards the next azimuth and elevation, in 1/65536 (finer than any level needs).
    struct TSample {
        std::uint32_t corner;
        std::uint16_t fa, fe;
    };
    void Prepare(const TPattern3D& pattern, TScratch& scratch) const;
    // The cell's (or, `beyond`, the spill's) quantile at one tilt, without the gain, from the
    // grid Prepare made.
    double RegionLevel(std::size_t tiltIndex, bool beyond, TScratch& scratch) const;

    TSiteScenario scenario_;
    std::vector<double> tilts_, cellDistances_, beyondDistances_, azimuths_;
    std::vector<double> cellLoss_, beyondLoss_; // path loss per distance, dB
    std::vector<double> cellWeight_, beyondWeight_;
    // [tilt][ring][azimuth], rings from the mast outwards.
    std::vector<TSample> cellSamples_, beyondSamples_;
};

// The choice among the tilts.
struct TPatternFit {
    // The tilts whose spill had to be worked out, in tilt order: every tilt whose cell is
    // stronger than the chosen one's (none of them keeps the margin), and the chosen one; every
    // tilt when none keeps it.
    std::vector<TTiltFigures> tilts;
    // The recommended tilt's figures: among the tilts whose margin reaches the minimum, the one
    // with the highest cell level; when none reaches it, the one with the best margin. Ties go
    // to the smaller tilt.
    TTiltFigures chosen;
    bool meetsMargin = false;
};
TPatternFit FitPattern(const TSiteGrid& grid, const TPattern3D& pattern, double gainDBi,
                       TSiteGrid::TScratch& scratch);
TPatternFit FitPattern(const TSiteGrid& grid, const TPattern3D& pattern, double gainDBi);

// One ranked antenna.
struct TSiteEntry {
    const TQuvFile* record = nullptr;
    double gainDBi = 0;
    TTiltFigures figures; // at the recommended tilt
    bool meetsMargin = false;
    // Of the pattern as measured by the metrics, so a variable-tilt antenna has one too.
    std::optional<double> electricalTilt;
    std::optional<double> TotalTilt() const
    {
        return electricalTilt ? std::optional<double>(*electricalTilt + figures.tilt)
                              : std::nullopt;
    }
};

// An antenna that could not be ranked, with the reason in words.
struct TSiteLeftOut {
    const TQuvFile* record = nullptr;
    std::string reason;
};

struct TSiteRanking {
    TSiteScenario scenario;
    // Those meeting the margin by cell level, then the others by margin; best first.
    std::vector<TSiteEntry> ranked;
    std::vector<TSiteLeftOut> leftOut; // in list order
};

// The gain a record states in dBi, or its dBd gain plus a dipole's; nothing when neither is a
// number.
std::optional<double> StatedGainDBi(const TQuvFile& record);

// Ranks every record of `list` for the scenario (which must be sound). `progress` (may be empty)
// is called on the calling thread now and then with the number of records done and the total.
TSiteRanking RankSite(const TQuvFileList& list, const TSiteScenario& scenario,
                      const std::function<void(int done, int total)>& progress = {});

// The ranking as comma-separated text: a header, every ranked antenna best first, then those
// left out with empty figures and the reason in the last column. Levels in dB with two
// decimals, tilts in degrees with one; lines end in CR LF.
std::string SiteFitCsv(const TSiteRanking& ranking);

// The data file's own name, without its folder.
std::string DataFileName(const TQuvFile& record);

} // namespace quv
