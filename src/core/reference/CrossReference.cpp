#include "reference/CrossReference.h"

#include "catalogue/NumberText.h"
#include "catalogue/PatternMetrics.h"

#include <algorithm>
#include <cmath>

namespace quv {

namespace {

std::optional<double> NumberOf(std::string_view text)
{
    double value = 0;
    if (TryStrToFloat(text, value))
        return value;
    return std::nullopt;
}

std::vector<float> Levels360(const TCutLevels& levels)
{
    return std::vector<float>(levels.begin(), levels.begin() + 360);
}

struct TRmsPair {
    double mainBeam = 0; // where either level is within the main beam's range of its peak
    double rest = 0;     // elsewhere, where either level is above the floor
};

// Root mean square of the difference in the main beam and in the rest above the floor.
TRmsPair RmsDifference(const TReferenceCut& reference, const std::vector<float>& candidate,
                       const TScoreWeights& weights)
{
    double sums[2] = {0, 0};
    int counts[2] = {0, 0};
    for (std::size_t j = 0; j < 360; ++j) {
        const double a = reference[j];
        const double b = candidate[j];
        const int region = a >= weights.mainBeamDb || b >= weights.mainBeamDb ? 0 : 1;
        if (region == 0 || a > weights.floorDb || b > weights.floorDb) {
            sums[region] += (a - b) * (a - b);
            ++counts[region];
        }
    }
    const auto rms = [&](int r) { return counts[r] > 0 ? std::sqrt(sums[r] / counts[r]) : 0.0; };
    return {rms(0), rms(1)};
}

// Adds the weighted difference of one measured value to the score; returns the difference.
std::optional<double> Compare(const std::optional<double>& candidate,
                              const std::optional<double>& reference, double weight,
                              double oneSided, double& score)
{
    if (candidate && reference) {
        const double difference = *candidate - *reference;
        score += weight * std::fabs(difference);
        return difference;
    }
    if (candidate.has_value() != reference.has_value())
        score += oneSided;
    return std::nullopt;
}

} // namespace

TCandidateTable::TCandidateTable(const TQuvFileList& catalogue)
{
    candidates_.reserve(static_cast<std::size_t>(catalogue.Count()));
    for (const auto& item : catalogue) {
        const TQuvFile* record = item.object;
        if (!record)
            continue;
        const std::optional<TCutLevels> azimuth = CutLevels(record->Azimuth);
        const std::optional<TCutLevels> elevation =
            azimuth ? CutLevels(record->Elevation) : std::nullopt;
        if (!azimuth || !elevation) {
            ++skipped_;
            continue;
        }
        TCandidate c;
        c.record = record;
        c.beginMHz = NumberOf(record->BeginFrequency);
        c.endMHz = NumberOf(record->EndFrequency);
        c.gainDBd = NumberOf(record->GainDBd);
        c.gainDBi = NumberOf(record->GainDBi);
        if (!c.gainDBi && c.gainDBd)
            c.gainDBi = *c.gainDBd + kDipoleGainDBi;
        const TAzimuthMetrics az = MeasureAzimuth(*azimuth);
        const TElevationMetrics el = MeasureElevation(*elevation);
        c.azimuthBeamwidth = az.beamwidth3dB;
        c.elevationBeamwidth = el.beamwidth3dB;
        c.tilt = el.tilt;
        c.azimuth = Levels360(*azimuth);
        c.elevation = Levels360(*elevation);
        candidates_.push_back(std::move(c));
    }
}

TReferenceMetrics MeasureReference(const TReferencePattern& reference)
{
    const TAzimuthMetrics az = MeasureAzimuth(reference.azimuth);
    const TElevationMetrics el = MeasureElevation(reference.elevation);
    return {az.beamwidth3dB, el.beamwidth3dB, el.tilt};
}

TCrossReference RankCandidates(const TReferencePattern& reference, const TCandidateTable& table,
                               const TScoreWeights& weights)
{
    TCrossReference result;
    result.skipped = table.Skipped();
    result.reference = MeasureReference(reference);

    const std::vector<TCandidate>& all = table.Candidates();
    std::vector<const TCandidate*> candidates;
    candidates.reserve(all.size());
    if (reference.frequencyMHz) {
        const double f = *reference.frequencyMHz;
        for (const TCandidate& c : all)
            if (c.beginMHz && c.endMHz && *c.beginMHz <= f && f <= *c.endMHz)
                candidates.push_back(&c);
        if (candidates.empty()) {
            result.allAntennas = true;
            result.note = "No antenna's band holds " + FloatToStrGeneral(f) +
                          " MHz: every antenna is a candidate.";
        }
    } else {
        result.allAntennas = true;
        result.note = "The file names no frequency: every antenna is a candidate.";
    }
    if (result.allAntennas)
        for (const TCandidate& c : all)
            candidates.push_back(&c);

    const TReferenceMetrics& ref = result.reference;
    result.ranked.reserve(candidates.size());
    for (const TCandidate* c : candidates) {
        TCandidateScore s;
        s.record = c->record;
        const TRmsPair az = RmsDifference(reference.azimuth, c->azimuth, weights);
        const TRmsPair el = RmsDifference(reference.elevation, c->elevation, weights);
        s.azimuthMainBeamRms = az.mainBeam;
        s.azimuthRms = az.rest;
        s.elevationMainBeamRms = el.mainBeam;
        s.elevationRms = el.rest;
        double score = weights.azimuthMainBeamRms * az.mainBeam + weights.azimuthRms * az.rest +
                       weights.elevationMainBeamRms * el.mainBeam + weights.elevationRms * el.rest;
        // A gain stated in dBd is compared with the catalogue's dBd value, so the two makers'
        // dipole factors never enter the difference.
        if (reference.gainDBd && c->gainDBd)
            s.gain = Compare(c->gainDBd, reference.gainDBd, weights.gain, weights.oneSided, score);
        else if (reference.gainDBi)
            s.gain = Compare(c->gainDBi, reference.gainDBi, weights.gain, weights.oneSided, score);
        s.azimuthBeamwidth = Compare(c->azimuthBeamwidth, ref.azimuthBeamwidth,
                                     weights.azimuthBeamwidth, weights.oneSided, score);
        s.elevationBeamwidth = Compare(c->elevationBeamwidth, ref.elevationBeamwidth,
                                       weights.elevationBeamwidth, weights.oneSided, score);
        s.tilt = Compare(c->tilt, ref.tilt, weights.tilt, weights.oneSided, score);
        s.score = score;
        result.ranked.push_back(s);
    }
    // Equal scores keep catalogue order.
    std::stable_sort(
        result.ranked.begin(), result.ranked.end(),
        [](const TCandidateScore& a, const TCandidateScore& b) { return a.score < b.score; });
    return result;
}

std::string ScoreText(double score)
{
    return Format("%.2f", {score});
}

} // namespace quv
