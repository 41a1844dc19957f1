// Ranking the catalogue against a reference: each antenna finds itself first from its own
// exported file, the band decides the candidates, broken records are left out, and the score's
// components say what differs.
#include "reference/CrossReference.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "support/AllFormats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

namespace quv {
namespace {

// The sample catalogue in a list of our own (the program-wide lists stay untouched).
struct TSample {
    std::vector<std::unique_ptr<TQuvFile>> records;
    TQuvFileList list{true};

    TSample()
    {
        for (const auto& entry : std::filesystem::directory_iterator(QUV_SAMPLE_CATALOGUE)) {
            records.push_back(LoadQuvFile(entry.path().string()));
            list.Add(records.back()->PartNumber, records.back().get());
        }
    }
    const TQuvFile* Find(const std::string& fileName) const
    {
        for (const auto& r : records)
            if (r->FileName.ends_with("/" + fileName))
                return r.get();
        return nullptr;
    }
};

const TSample& Sample()
{
    static const TSample sample;
    return sample;
}

TEST(CrossReference, EveryAntennaRanksFirstForItsOwnExportedFile)
{
    const TCandidateTable table(Sample().list);
    ASSERT_EQ(table.Skipped(), 0);
    ASSERT_EQ(table.Candidates().size(), Sample().records.size());
    const struct {
        const char* format;
        std::string (*build)(const std::string&, const TQuvFile&);
    } writers[] = {{"Planet", BuildPlanet}, {"NSMA", BuildNsma}, {"TIA/EIA", BuildTiaEia}};
    for (const auto& record : Sample().records) {
        for (const auto& w : writers) {
            SCOPED_TRACE(std::string(w.format) + " " + record->FileName);
            const TReferencePattern ref = ReadPatternBytes(w.build("/x/ref", *record), "ref");
            const TCrossReference result = RankCandidates(ref, table);
            ASSERT_FALSE(result.ranked.empty());
            EXPECT_EQ(result.ranked.front().record, record.get());
            EXPECT_FALSE(result.allAntennas);
            const TCandidateScore& best = result.ranked.front();
            EXPECT_LT(best.azimuthRms, 0.005);
            EXPECT_LT(best.elevationRms, 0.005);
            EXPECT_NEAR(best.gain.value_or(99), 0, 1e-9);
            // The runner-up differs in something a planner would notice.
            if (result.ranked.size() > 1) {
                EXPECT_GT(result.ranked[1].score, best.score + 0.05);
            }
        }
    }
}

TEST(CrossReference, TheBandDecidesTheCandidates)
{
    const TCandidateTable table(Sample().list);
    const TQuvFile* pcs = Sample().Find("TD1865-17.quv");
    ASSERT_NE(pcs, nullptr);
    TReferencePattern ref = ReadPatternBytes(BuildPlanet("/x/ref", *pcs), "ref");

    const struct {
        std::optional<double> frequency;
        bool all;
        std::string note;
    } cases[] = {
        {1940, false, ""},
        {880, false, ""},
        {960, false, ""}, // a band's upper edge is in the band
        {std::nullopt, true, "The file names no frequency: every antenna is a candidate."},
        {5800, true, "No antenna's band holds 5800 MHz: every antenna is a candidate."},
    };
    for (const auto& c : cases) {
        ref.frequencyMHz = c.frequency;
        const TCrossReference result = RankCandidates(ref, table);
        EXPECT_EQ(result.allAntennas, c.all);
        EXPECT_EQ(result.note, c.note);
        std::size_t inBand = 0;
        for (const TCandidate& cand : table.Candidates())
            if (c.frequency && *cand.beginMHz <= *c.frequency && *c.frequency <= *cand.endMHz)
                ++inBand;
        EXPECT_EQ(result.ranked.size(), c.all ? table.Candidates().size() : inBand);
        for (const TCandidateScore& s : result.ranked) {
            if (!c.all) {
                EXPECT_LE(StrToFloat(s.record->BeginFrequency), *c.frequency);
                EXPECT_GE(StrToFloat(s.record->EndFrequency), *c.frequency);
            }
        }
        for (std::size_t i = 1; i < result.ranked.size(); ++i)
            EXPECT_LE(result.ranked[i - 1].score, result.ranked[i].score);
    }
}

TEST(CrossReference, ComponentsAreCandidateMinusReferenceAndBrokenRecordsAreSkipped)
{
    const TQuvFile* source = Sample().Find("TD0865-14.quv");
    ASSERT_NE(source, nullptr);
    std::string bytes;
    ReadWholeFile(source->FileName, bytes);

    // The same antenna three times: as it is, 2 dB stronger, and with one level unreadable.
    TQuvFile same, stronger, broken;
    same.LoadFromBytes(bytes, "same.quv");
    std::string strongerBytes = bytes;
    strongerBytes.replace(strongerBytes.find("Gain, dBd=13.5"), 14, "Gain, dBd=15.5");
    stronger.LoadFromBytes(strongerBytes, "stronger.quv");
    std::string brokenBytes = bytes;
    brokenBytes.replace(brokenBytes.find("\n10="), 4, "\n10=abc\n11=");
    broken.LoadFromBytes(brokenBytes, "broken.quv");

    TQuvFileList list;
    list.Add("stronger", &stronger);
    list.Add("broken", &broken);
    list.Add("same", &same);
    const TCandidateTable table(list);
    EXPECT_EQ(table.Skipped(), 1);

    const TReferencePattern ref = ReadPatternBytes(BuildNsma("/x/ref", *source), "ref");
    const TCrossReference result = RankCandidates(ref, table);
    ASSERT_EQ(result.ranked.size(), 2u);
    EXPECT_EQ(result.skipped, 1);
    // The NSMA file states dBi (15.6) and the stronger record's dBi text is unchanged: a tie,
    // kept in catalogue order. The difference shows where the file states dBd.
    EXPECT_EQ(result.ranked[0].record, &stronger);
    EXPECT_EQ(result.ranked[1].record, &same);
    EXPECT_NEAR(*result.ranked[0].gain, 0, 1e-9);
    EXPECT_DOUBLE_EQ(result.ranked[0].score, result.ranked[1].score);
    const TReferencePattern pln = ReadPatternBytes(BuildPlanet("/x/ref", *source), "ref");
    const TCrossReference byDbd = RankCandidates(pln, table);
    EXPECT_EQ(byDbd.ranked[0].record, &same);
    EXPECT_NEAR(*byDbd.ranked[1].gain, 2.0, 1e-9);
    EXPECT_NEAR(byDbd.ranked[1].score - byDbd.ranked[0].score, 2.0 * kScoreWeights.gain, 1e-9);
    // Same patterns: the same measured widths and tilt, all differences zero.
    for (const TCandidateScore& s : byDbd.ranked) {
        EXPECT_NEAR(s.azimuthBeamwidth.value_or(99), 0, 1e-9);
        EXPECT_NEAR(s.elevationBeamwidth.value_or(99), 0, 1e-9);
        EXPECT_NEAR(s.tilt.value_or(99), 0, 1e-9);
    }

    // A reference that states no gain compares none; one a candidate lacks costs the one-sided
    // penalty.
    TReferencePattern noGain = pln;
    noGain.gainDBd.reset();
    noGain.gainDBi.reset();
    const TCrossReference without = RankCandidates(noGain, table);
    EXPECT_FALSE(without.ranked[0].gain);
    EXPECT_NEAR(without.ranked[0].score, byDbd.ranked[0].score, 1e-9);
    same.GainDBd = "n/a";
    same.GainDBi = "";
    const TCandidateTable table2(list);
    const TCrossReference oneSided = RankCandidates(pln, table2);
    EXPECT_EQ(oneSided.ranked[0].record, &stronger);
    EXPECT_NEAR(oneSided.ranked[1].score, byDbd.ranked[0].score + kScoreWeights.oneSided, 1e-9);
}

// Another maker's narrow panel as its MSI file gives it: a 30-degree horizontal beam with busy
// side and back lobes 16 to 30 dB down, a 7-degree vertical beam, gain in "dbd".
std::string NarrowMakerReference(double azimuthPeak = 0)
{
    const auto attenuation = [](double d, double beamwidth) {
        d = std::fabs(std::remainder(d, 360.0));
        const double beam = 12 * (d / beamwidth) * (d / beamwidth);
        if (d <= 1.2 * beamwidth)
            return beam;
        return std::min(beam, 16 + 7 * std::fabs(std::sin(d * 3.14159265 / 23)) + d / 18);
    };
    std::string text = "NAME OM-30-18\nMAKE Other Maker\nFREQUENCY 902\nGAIN 18.5 dbd\n"
                       "TILT ELECTRICAL\nHORIZONTAL 360\n";
    for (int a = 0; a < 360; ++a)
        text += std::to_string(a) + " " + Format("%.2f", {attenuation(a - azimuthPeak, 30)}) + "\n";
    text += "VERTICAL 360\n";
    for (int a = 0; a < 360; ++a)
        text += std::to_string(a) + " " + Format("%.2f", {attenuation(a, 7)}) + "\n";
    return text;
}

TEST(CrossReference, TheClosestMainBeamRanksFirst)
{
    const TReferencePattern ref = ReadPatternBytes(NarrowMakerReference(), "om.msi");
    ASSERT_TRUE(ref.gainDBd);
    EXPECT_DOUBLE_EQ(*ref.gainDBd, 18.5);
    const TCandidateTable table(Sample().list);
    const TCrossReference result = RankCandidates(ref, table);
    ASSERT_GE(result.ranked.size(), 4u);
    // The catalogue's only narrow panel of the band, before every 63 to 65 degree one.
    EXPECT_TRUE(result.ranked.front().record->FileName.ends_with("/TP0833-17.quv"));
    const TCandidateScore& best = result.ranked.front();
    EXPECT_LT(std::fabs(best.azimuthBeamwidth.value_or(99)), 6);
    EXPECT_LT(best.azimuthMainBeamRms, result.ranked[1].azimuthMainBeamRms);
}

// Main beams pointing apart share no angle where both are strong; the region where either is
// strong still counts every such angle, so the difference shows in full.
TEST(CrossReference, MainBeamsThatDoNotOverlapDifferInFull)
{
    const TCandidateTable table(Sample().list);
    const TCrossReference facing =
        RankCandidates(ReadPatternBytes(NarrowMakerReference(), "om.msi"), table);
    const TCrossReference away =
        RankCandidates(ReadPatternBytes(NarrowMakerReference(180), "om.msi"), table);
    ASSERT_EQ(facing.ranked.size(), away.ranked.size());
    ASSERT_FALSE(away.ranked.empty());
    for (const TCandidateScore& turned : away.ranked) {
        SCOPED_TRACE(turned.record->FileName);
        const auto same = std::find_if(facing.ranked.begin(), facing.ranked.end(),
                                       [&](const auto& s) { return s.record == turned.record; });
        ASSERT_NE(same, facing.ranked.end());
        EXPECT_GT(turned.azimuthMainBeamRms, 10);
        if (same->azimuthMainBeamRms < 5) { // a panel much like the reference when facing it
            EXPECT_GT(turned.azimuthMainBeamRms, same->azimuthMainBeamRms + 5);
        }
        // The elevation cuts still agree exactly as before.
        EXPECT_DOUBLE_EQ(turned.elevationMainBeamRms, same->elevationMainBeamRms);
    }
}

TEST(CrossReference, EachWeightScalesItsOwnComponent)
{
    const TReferencePattern ref = ReadPatternBytes(NarrowMakerReference(), "om.msi");
    const TCandidateTable table(Sample().list);
    const TCrossReference base = RankCandidates(ref, table);
    // Doubling one weight adds its own component once more to a score, and nothing else.
    const std::pair<double TScoreWeights::*, double TCandidateScore::*> parts[] = {
        {&TScoreWeights::azimuthMainBeamRms, &TCandidateScore::azimuthMainBeamRms},
        {&TScoreWeights::elevationMainBeamRms, &TCandidateScore::elevationMainBeamRms},
        {&TScoreWeights::azimuthRms, &TCandidateScore::azimuthRms},
        {&TScoreWeights::elevationRms, &TCandidateScore::elevationRms}};
    for (const auto& [weight, component] : parts) {
        TScoreWeights weights = kScoreWeights;
        weights.*weight *= 2;
        const TCandidateScore& first = base.ranked.front();
        const TCrossReference changed = RankCandidates(ref, table, weights);
        const auto same = std::find_if(changed.ranked.begin(), changed.ranked.end(),
                                       [&](const auto& s) { return s.record == first.record; });
        ASSERT_NE(same, changed.ranked.end());
        EXPECT_NEAR(same->score - first.score, kScoreWeights.*weight * first.*component, 1e-9);
    }
}

} // namespace
} // namespace quv
