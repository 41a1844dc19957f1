// Ranking the catalogue against a reference pattern: which of our antennas replaces another
// maker's. Candidates are the antennas whose band holds the reference's frequency; each is scored
// on its measured patterns, gain, half-power beamwidths and tilt, and the list is sorted best
// first. The catalogue's numbers are prepared once (TCandidateTable), so ranking is quick.
#pragma once

#include "catalogue/QuvLib.h"
#include "reference/PatternFile.h"

#include <optional>
#include <string>
#include <vector>

namespace quv {

// How much one unit of each difference adds to the score, in dB-equivalents. Written here only.
// A planner's equivalent is the antenna with the closest main beam: the main beam's shape, width
// and tilt carry most of the score, the rest of the pattern (side and back lobes) less.
struct TScoreWeights {
    // Root mean square of the level difference (dB) in the main beam: where either pattern is
    // within `mainBeamDb` of its peak. The horizontal beam decides coverage, so it counts in full.
    double azimuthMainBeamRms = 1.0;
    // The same outside the main beam, where either pattern is above `floorDb`: side and back
    // lobes decide interference, but a few dB there matter less than in the beam.
    double azimuthRms = 0.25;
    // Vertical cuts of long arrays are full of nulls and side lobes whose exact places move with
    // small tilt differences; the beamwidth and tilt terms below carry the main beam too.
    double elevationMainBeamRms = 0.5;
    double elevationRms = 0.125;
    // Gain (dB): a replacement should keep the link budget, 1 dB of gain weighs like 1 dB of shape.
    double gain = 1.0;
    // Half-power beamwidths (per degree): 10 degrees of horizontal beam or 4 degrees of the
    // much narrower vertical beam weigh like 1 dB.
    double azimuthBeamwidth = 0.1;
    double elevationBeamwidth = 0.25;
    // Tilt (per degree): 2 degrees move the cell edge about as much as 1 dB of gain.
    double tilt = 0.5;
    // A value measured on one side only (an omni against a sector, an unreadable gain text):
    // as much as a clearly different antenna, so it never ranks above a known close one.
    double oneSided = 5.0;
    // Levels below this do not count in the pattern difference (either pattern above it does).
    double floorDb = -20.0;
    // The main beam: within this of the pattern's peak (the peak is 0 dB in both).
    double mainBeamDb = -10.0;
};
inline constexpr TScoreWeights kScoreWeights{};

// The catalogue's numbers for one antenna, prepared once.
struct TCandidate {
    const TQuvFile* record = nullptr;
    std::optional<double> beginMHz, endMHz;
    std::optional<double> gainDBi, gainDBd;
    std::optional<double> azimuthBeamwidth, elevationBeamwidth, tilt;
    std::vector<float> azimuth, elevation; // 360 levels each, dB, data file index
};

class TCandidateTable {
public:
    // Reads every record of the list; records whose levels are not numbers are counted and left
    // out.
    explicit TCandidateTable(const TQuvFileList& catalogue);
    const std::vector<TCandidate>& Candidates() const { return candidates_; }
    int Skipped() const { return skipped_; }

private:
    std::vector<TCandidate> candidates_;
    int skipped_ = 0;
};

// Differences are candidate minus reference; empty when either side has no value.
struct TCandidateScore {
    const TQuvFile* record = nullptr;
    double score = 0;
    // Level differences (dB, root mean square) in the main beam, and outside it above the floor.
    double azimuthMainBeamRms = 0;
    double elevationMainBeamRms = 0;
    double azimuthRms = 0;
    double elevationRms = 0;
    std::optional<double> gain, azimuthBeamwidth, elevationBeamwidth, tilt;
};

struct TReferenceMetrics {
    std::optional<double> azimuthBeamwidth, elevationBeamwidth, tilt;
};

struct TCrossReference {
    std::vector<TCandidateScore> ranked; // best first
    TReferenceMetrics reference;
    // True when every antenna was a candidate because the file names no frequency or no band
    // holds it; `note` then says which.
    bool allAntennas = false;
    std::string note;
    int skipped = 0; // records left out because their levels are not numbers
};

TReferenceMetrics MeasureReference(const TReferencePattern& reference);

TCrossReference RankCandidates(const TReferencePattern& reference, const TCandidateTable& table,
                               const TScoreWeights& weights = kScoreWeights);

// Candidate's score formatted for lists and quvtool ("%.2f").
std::string ScoreText(double score);

} // namespace quv
