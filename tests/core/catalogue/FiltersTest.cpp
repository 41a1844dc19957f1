#include "catalogue/Filters.h"

#include "catalogue/QuvLib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace quv;

namespace {

struct Fields {
    std::string pn, beg = "806", end = "960", type = "Panel", pol = "Vertical", gain = "13.0",
                    tilt = "0";
};

class FiltersTest : public ::testing::Test {
protected:
    TCatalogue catalogue;

    TQuvFile* Add(const Fields& s)
    {
        auto record = std::make_unique<TQuvFile>();
        record->PartNumber = s.pn;
        record->BeginFrequency = s.beg;
        record->EndFrequency = s.end;
        record->AntennaType = s.type;
        record->PolarizationType = s.pol;
        record->GainDBd = s.gain;
        record->ElectricalDowntilt = s.tilt;
        TQuvFile* kept = catalogue.AdoptRecord(std::move(record));
        catalogue.Catalogue.Add(kept->PartNumber, kept);
        return kept;
    }

    std::vector<std::string> Matches() const
    {
        std::vector<std::string> texts;
        for (const auto& item : catalogue.MatchList)
            texts.push_back(item.object->PartNumber);
        return texts;
    }
};

using V = std::vector<std::string>;

} // namespace

TEST_F(FiltersTest, CategoryNeedsTheWholeBandAndBothClasses)
{
    Add({.pn = "A-WIDE"});                               // 806-960 single sector
    Add({.pn = "B-NARROW", .beg = "824", .end = "880"}); // does not cover 894
    Add({.pn = "C-SLANT", .pol = "Slant +/-45"});        // slant alone is dual here
    Add({.pn = "D-OMNI", .type = "Collinear omni"});
    Add({.pn = "E-BAD", .beg = "n/a"}); // skipped, no error
    Add({.pn = "F-BADEND", .end = ""});

    ApplyCategory(catalogue, 4); // 824-894 single sector
    EXPECT_EQ(Matches(), V{"A-WIDE"});
    ApplyCategory(catalogue, 5); // 824-894 dual sector
    EXPECT_EQ(Matches(), V{"C-SLANT"});
    ApplyCategory(catalogue, 3); // 824-894 single omni
    EXPECT_EQ(Matches(), V{"D-OMNI"});
    ApplyCategory(catalogue, -1);
    EXPECT_TRUE(catalogue.MatchList.Empty());

    EXPECT_EQ(CategoryNames().size(), 20u);
    EXPECT_EQ(CategoryNames()[15],
              "1710-1990 MHz PCS Single Polarized Variable Azimuth Beamwidth Sector");
    const CategoryFilter& c11 = CategoryFilterAt(11);
    const CategoryFilter& c15 = CategoryFilterAt(15);
    EXPECT_EQ(c15.LowMHz, c11.LowMHz);
    EXPECT_EQ(c15.HighMHz, c11.HighMHz);
    EXPECT_EQ(c15.Polarization, c11.Polarization);
    EXPECT_EQ(c15.Kind, c11.Kind);
}

TEST_F(FiltersTest, VariableDowntiltCategoryTakesXdEndingsInEitherCase)
{
    Add({.pn = "TD0865-14XD"});
    Add({.pn = "td1865-16xd"});
    Add({.pn = "TD0865-14XDM"});
    Add({.pn = "D"}); // too short to end in XD
    Add({.pn = "XD-1"});
    ApplyCategory(catalogue, kVariableDowntiltCategory);
    EXPECT_EQ(Matches(), (V{"TD0865-14XD", "td1865-16xd"}));
}

TEST_F(FiltersTest, FrequencyRangeRefusesReversedAndEqualValues)
{
    Add({.pn = "A", .beg = "806", .end = "960"});
    Add({.pn = "B", .beg = "824", .end = "894"});
    Add({.pn = "C", .beg = "x", .end = "960"});

    EXPECT_EQ(ApplyFrequencyRange(catalogue, 824.0, 894.0), "");
    EXPECT_EQ(Matches(), (V{"A", "B"}));
    EXPECT_EQ(ApplyFrequencyRange(catalogue, 806.0, 894.0), "");
    EXPECT_EQ(Matches(), V{"A"});

    EXPECT_EQ(ApplyFrequencyRange(catalogue, 894.0, 824.0),
              "\"Beginning Frequency\" cannot be greater than \"Ending Frequency\"");
    EXPECT_TRUE(catalogue.MatchList.Empty());
    ApplyFrequencyRange(catalogue, 824.0, 894.0);
    EXPECT_EQ(ApplyFrequencyRange(catalogue, 806.0, 806.0),
              "\"Beginning Frequency\" cannot be equal to \"Ending Frequency\"");
    EXPECT_TRUE(catalogue.MatchList.Empty());
    ApplyFrequencyRange(catalogue, 824.0, 894.0);
    EXPECT_EQ(ApplyFrequencyRange(catalogue, std::nullopt, 894.0), "");
    EXPECT_TRUE(catalogue.MatchList.Empty());
}

TEST_F(FiltersTest, PartNumberIsExactButClosestMatchIgnoresCase)
{
    Add({.pn = "TP1990-17"});
    Add({.pn = "tp1990-17"});
    Add({.pn = "TP1"});
    Add({.pn = "TS0865"});

    ApplyPartNumber(catalogue, std::string_view("TP1990-17"));
    EXPECT_EQ(Matches(), V{"TP1990-17"});
    ApplyPartNumber(catalogue, std::nullopt);
    EXPECT_TRUE(catalogue.MatchList.Empty());

    FindClosestMatch(catalogue, "tp1");
    EXPECT_EQ(Matches().size(), 3u);
    FindClosestMatch(catalogue, "TP199");
    EXPECT_EQ(Matches().size(), 2u);
    FindClosestMatch(catalogue, "tp1990-17-longer"); // longer than every part number
    EXPECT_TRUE(catalogue.MatchList.Empty());
    FindClosestMatch(catalogue, "tp1");
    FindClosestMatch(catalogue, "");
    EXPECT_TRUE(catalogue.MatchList.Empty());
}

TEST_F(FiltersTest, MultiSearchCriteriaCombine)
{
    Add({.pn = "G13", .gain = "13.0"});
    Add({.pn = "G16", .pol = "Dual Slant", .gain = "16.0"});
    Add({.pn = "G12.9", .pol = "Slant +/-45", .gain = "12.9"});
    Add({.pn = "GBAD", .gain = "high"});

    TMultiSearch none;
    RunMultiSearch(catalogue, none);
    EXPECT_EQ(Matches().size(), 4u) << "nothing checked lists the whole catalogue";

    // 14.00 to 15.00 widened by 1 dB at each end: 13.0 and 16.0 pass, 12.9 does not.
    TMultiSearch gain;
    gain.gain = true;
    gain.begGain = "14.00 (16.20)";
    gain.endGain = "15.00 (17.20)";
    RunMultiSearch(catalogue, gain);
    EXPECT_EQ(Matches(), (V{"G13", "G16"}));
    gain.begGain = "25.00 (27.20)"; // reversed beyond the widening
    gain.endGain = "0.00 (2.20)";
    RunMultiSearch(catalogue, gain);
    EXPECT_TRUE(catalogue.MatchList.Empty());
    gain.endGain.reset();
    RunMultiSearch(catalogue, gain);
    EXPECT_TRUE(catalogue.MatchList.Empty());

    TMultiSearch pol;
    pol.polarization = true;
    RunMultiSearch(catalogue, pol);
    EXPECT_TRUE(catalogue.MatchList.Empty()) << "checked with nothing chosen matches nothing";
    pol.polarizationItem = "Dual";
    RunMultiSearch(catalogue, pol);
    EXPECT_EQ(Matches(), V{"G16"}) << "slant alone is not dual in the multi search";
    pol.polarizationItem = "Single";
    RunMultiSearch(catalogue, pol);
    EXPECT_TRUE(catalogue.MatchList.Empty());

    TMultiSearch both = gain;
    both.begGain = "14.00 (16.20)";
    both.endGain = "15.00 (17.20)";
    both.polarization = true;
    both.polarizationItem = "Dual";
    RunMultiSearch(catalogue, both);
    EXPECT_EQ(Matches(), V{"G16"});
}

TEST_F(FiltersTest, MultiSearchFrequencyAndDowntilt)
{
    Add({.pn = "T0", .tilt = "0"});
    Add({.pn = "T6", .beg = "824", .end = "894", .tilt = "6"});
    Add({.pn = "TV-XD", .tilt = "0-8"});
    Add({.pn = "TBAD", .beg = "", .tilt = ""});

    TMultiSearch tilt;
    tilt.downtilt = true;
    tilt.downtiltItem = "6.00";
    RunMultiSearch(catalogue, tilt);
    EXPECT_EQ(Matches(), V{"T6"});
    tilt.downtiltItem = "0.00";
    RunMultiSearch(catalogue, tilt);
    EXPECT_EQ(Matches(), V{"T0"});
    tilt.downtiltItem = "Variable";
    RunMultiSearch(catalogue, tilt);
    EXPECT_EQ(Matches(), V{"TV-XD"});

    TMultiSearch freq;
    freq.frequency = true;
    freq.begRange = "824.00";
    freq.endRange = "894.00";
    RunMultiSearch(catalogue, freq);
    EXPECT_EQ(Matches(), (V{"T0", "T6", "TV-XD"}));
    freq.endRange = "824.00"; // refused silently
    RunMultiSearch(catalogue, freq);
    EXPECT_TRUE(catalogue.MatchList.Empty());

    // An antenna measured at one frequency is found by any range that holds it, never by one
    // that does not; a real band still has to cover the range.
    Add({.pn = "ONE", .beg = "1850", .end = "1850"});
    freq.begRange = "0.00";
    freq.endRange = "10000.00";
    RunMultiSearch(catalogue, freq);
    EXPECT_EQ(Matches(), V{"ONE"});
    freq.begRange = "1850.00";
    freq.endRange = "1990.00";
    RunMultiSearch(catalogue, freq);
    EXPECT_EQ(Matches(), V{"ONE"});
    freq.begRange = "1851.00";
    RunMultiSearch(catalogue, freq);
    EXPECT_TRUE(catalogue.MatchList.Empty());
    ApplyFrequencyRange(catalogue, 800, 2000);
    EXPECT_EQ(Matches(), V{"ONE"});
}

TEST_F(FiltersTest, ValueListsAreDistinctNumbersInNumericOrder)
{
    Add({.pn = "b", .beg = "870", .tilt = "2"});
    Add({.pn = "a", .beg = "806", .tilt = "0-8"});
    Add({.pn = "B", .beg = "1710", .tilt = "0"});
    Add({.pn = "c", .beg = "806.0"});
    Add({.pn = "d", .beg = "806"});
    Add({.pn = "e", .beg = "n/a"});

    // 806 and 806.0 are different texts, so both stay; "n/a" is not a number.
    EXPECT_EQ(BeginFrequencyList(catalogue), (V{"806.00", "806.00", "870.00", "1710.00"}));
    EXPECT_EQ(DowntiltList(catalogue), (V{"0.00", "2.00", "Variable"}));
    // Distinct without regard to case, the first met (catalogue order) kept.
    const V parts = PartNumberList(catalogue);
    EXPECT_EQ(parts.size(), 5u);
    EXPECT_EQ(std::count(parts.begin(), parts.end(), "B") +
                  std::count(parts.begin(), parts.end(), "b"),
              1);

    const V gains = GainList();
    ASSERT_EQ(gains.size(), 26u);
    EXPECT_EQ(gains.front(), "0.00 (2.20)");
    EXPECT_EQ(gains[14], "14.00 (16.20)");
    EXPECT_EQ(gains.back(), "25.00 (27.20)");
}

TEST_F(FiltersTest, ItemTextsDecorateOnlyPartNumbersSharedWithANeighbour)
{
    TQuvFileList list;
    auto make = [&](const char* pn, const char* sb, const char* se, const char* bw) {
        TQuvFile* r = Add({.pn = pn});
        r->BeginSubFrequency = sb;
        r->EndSubFrequency = se;
        r->AzimuthBeamwidth = bw;
        list.Add(pn, r);
    };
    make("TP1990-17", "1710", "1880", "65");
    make("TP1990-17", "1850", "1990", "65");
    make("TP1990-18", "1710", "1990", "65");
    make("tpcs-xaz-18", "1850", "1990", "33");
    make("tpcs-xaz-18", "1850", "1990", "90");
    make("TPCS-XAZ-18", "1850", "1990", "45"); // differs in case from its neighbour
    EXPECT_EQ(AntennaItemTexts(list),
              (V{"TP1990-17, 1710-1880 MHz", "TP1990-17, 1850-1990 MHz", "TP1990-18",
                 "tpcs-xaz-18, 1850-1990 MHz, 33 Deg. AZ BW",
                 "tpcs-xaz-18, 1850-1990 MHz, 90 Deg. AZ BW", "TPCS-XAZ-18"}));
}

TEST_F(FiltersTest, SpecificationRowsFollowTheRecordKind)
{
    TQuvFile sector;
    sector.PartNumber = "TD0865-14";
    sector.Description = "Dual panel";
    sector.AntennaType = "Panel";
    sector.BeginSubFrequency = "806";
    sector.EndSubFrequency = "960";
    sector.GainDBd = "14.0";
    sector.GainDBi = "16.1";
    sector.PortToPortIsolation = ">30";
    sector.NumberOfConnectors = "2";
    sector.Intermodulation = "<-150";
    sector.Impedance = " \t";
    sector.MountPartNumber = "TMK-1";

    auto titles = [](const std::vector<TSpecRow>& rows) {
        V t;
        for (const auto& r : rows)
            t.push_back(r.title);
        return t;
    };
    auto has = [&](const std::vector<TSpecRow>& rows, const std::string& title) {
        const V t = titles(rows);
        return std::find(t.begin(), t.end(), title) != t.end();
    };

    std::vector<TSpecRow> rows = SpecificationRows(sector);
    ASSERT_GE(rows.size(), 6u);
    EXPECT_EQ(rows[0].title, "Antenna Model");
    EXPECT_EQ(rows[0].value, "TD0865-14");
    EXPECT_EQ(rows[2].title, "Electrical Specifications");
    EXPECT_EQ(rows[2].value, "");
    EXPECT_EQ(rows[3].value, "806-960");
    EXPECT_EQ(rows[4].value, "14.0 (16.1)");
    EXPECT_TRUE(has(rows, "  Port to Port Isolation, dB"));
    EXPECT_TRUE(has(rows, "  Number of Connectors"));
    EXPECT_FALSE(has(rows, "  Impedance, ohms")) << "blanks and control characters are not filled";
    EXPECT_TRUE(has(rows, "  Antenna Dimensions, L x W x D, mm (inches)"));
    EXPECT_EQ(rows.back().title, "  Mounting Bracket Part Number");

    for (const char* connectors : {"", "1", "2x"}) {
        sector.NumberOfConnectors = connectors;
        EXPECT_FALSE(has(SpecificationRows(sector), "  Port to Port Isolation, dB")) << connectors;
    }

    sector.AntennaType = "Collinear OMNI";
    sector.NumberOfConnectors = "2";
    rows = SpecificationRows(sector);
    for (const char* title :
         {"  Azimuth Beamwidth, degrees", "  Front to Back Ratio, (dB)",
          "  Port to Port Isolation, dB", "  Intermodulation, dBc", "  Number of Connectors"})
        EXPECT_FALSE(has(rows, title)) << title;
    EXPECT_TRUE(has(rows, "  Antenna Dimensions, L x Dia., mm (inches)"));

    const std::string copied = CopySpecsText({{"Antenna Model", "X 1"},
                                              {"Electrical Specifications", ""},
                                              {"  Gain, dBd (dBi)", " 14 (16) "}});
    EXPECT_EQ(
        copied,
        "Antenna Model\tX 1\r\nElectrical Specifications\t\r\nGain, dBd (dBi)\t 14 (16) \r\n");
    EXPECT_EQ(JoinLinesCrLf({"a", "b"}), "a\r\nb\r\n");
    EXPECT_EQ(JoinLinesCrLf({}), "");
}
