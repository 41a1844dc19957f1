// The two catalogue summary layouts on records built for their column rules; expected rows are
// put together by hand from the column tables.
#include "export/Summary.h"
#include "catalogue/Errors.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

using namespace quv;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Lines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::size_t Fields(const std::string& line)
{
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), '|')) + 1;
}

struct Records {
    std::unique_ptr<TQuvFile> panel = std::make_unique<TQuvFile>();
    std::unique_ptr<TQuvFile> omni = std::make_unique<TQuvFile>();
    TQuvFileList list; // in the order added, as the catalogue's part-number order would be

    Records()
    {
        TQuvFile& r = *panel;
        r.BeginFrequency = "806";
        r.EndFrequency = "896";
        r.PartNumber = "P1";
        r.PatternFileName = "p1.quv";
        r.GainDBd = "14.0";
        r.GainDBi = "16.1";
        r.AzimuthBeamwidth = "65";
        r.ElevationBeamwidth = "11";
        r.PolarizationType = "+/-45 Slant";
        r.Intermodulation = "<-150";
        r.ElectricalDowntilt = "2";
        r.Impedance = " 50";
        r.ReturnLoss = "17.7 (<1.3)";
        r.FrontToBackRatio = ">28";
        r.MaxInputPower = "500";
        r.LightningProtection = "DC Ground";
        r.ConnectorType = "7-16 DIN Female";
        r.Dimensions = "1785 x 312";
        r.FlatPlateArea = "0.56 (6.0)";
        r.AntennaWeight = "15.1 (33.4)";
        r.RadomeMaterial = "ASA";
        r.RadomeColor = "Grey";
        r.SurvivalWindSpeed = "241 (150)";
        r.WindLoadFrontal = "982 (221)";
        r.WindLoadLateral = "307 (69)";
        r.WindLoadRear = "628 (141)";
        r.TemperatureRange = "-40 to +60";
        r.Humidity = "100";
        r.Description = "Sector panel";
        r.AntennaType = "Panel";
        r.MountPartNumber = "TMK-1";
        // Values that no layout writes.
        r.ShippingWeight = "18.8";
        r.Make = "Maker";

        TQuvFile& o = *omni;
        o.PartNumber = "O2";
        o.PolarizationType = "slant";
        o.ConnectorType = "N Female";
        o.AntennaType = "omni directional";
        o.MountPartNumber = "OMK-2";
        o.Description = "a|b"; // shifts the columns after it: nothing guards against it

        list.Add(r.PartNumber, panel.get());
        list.Add(o.PartNumber, omni.get());
    }
};

} // namespace

TEST(SummaryFiles, QuvDatRowsAndHeaders)
{
    Records records;
    const auto lines = Lines(BuildSummary(TSummaryLayout::QuvDat, records.list));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(Fields(lines[0]), 36u);
    EXPECT_EQ(Fields(lines[1]), 36u);
    EXPECT_EQ(lines[0].substr(0, 32), "BegFreq|EndFreq|PartNum|PatFile|");
    EXPECT_NE(lines[1].find("|Dimensions, L x W x D,  mm (in)|"), std::string::npos);
    EXPECT_NE(lines[1].find("|Wind Load, Back, N (lbf) |Bending Moment"), std::string::npos);
    EXPECT_EQ(lines[1].substr(lines[1].size() - 25), "|Description|Antenna Type");

    EXPECT_EQ(lines[2], "806|896|P1|P1_p1.quv|14.0|16.1|65|11|+/-45 Slant|<-150|2| 50|"
                        "17.7 (<1.3)|>28|500|DC Ground|7-16 DIN Female|1785 x 312|0.56 (6.0)|"
                        "15.1 (33.4)|ASA|Grey|241 (150)|982 (221)||307 (69)|628 (141)||"
                        "-40 to +60|100||||806-896|Sector panel|Panel");
    EXPECT_EQ(lines[3], "||O2|O2_||||"
                        "|slant"
                        "|||||||"
                        "|N Female" +
                            std::string(16, '|') + "|-|a|b|omni directional");
}

TEST(SummaryFiles, AntennaDatPlacesMountsAndFlagsByKind)
{
    Records records;
    const auto lines = Lines(BuildSummary(TSummaryLayout::AntennaDat, records.list));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(Fields(lines[0]), 40u);
    EXPECT_NE(lines[0].find("|Dimensions, L x W x D, mm (in)|"), std::string::npos);
    EXPECT_NE(lines[0].find("|Wind Load, Back, N (lbf)|Temperature"), std::string::npos);
    EXPECT_EQ(lines[0].substr(lines[0].size() - 41), "|Connector type|Pattern Type|Polarization");

    // Panel: mount in the tilt column, DIN 1, pattern type 1, slant 1.
    EXPECT_EQ(lines[1], "806|896|P1||Sector panel|||16.1|14.0|65|+/-45 Slant|<-150|2| 50|"
                        "17.7 (<1.3)|>28|500|DC Ground|7-16 DIN Female|1785 x 312|15.1 (33.4)|"
                        "ASA|Grey|241 (150)|982 (221)|307 (69)|628 (141)|-40 to +60|100|"
                        "508347||||TMK-1||||1|1|1");
    // Omni: mount in the omni column, N connector 0, pattern type 0, lower-case slant 1.
    EXPECT_EQ(lines[2], "||O2||a|b||"
                        "|||"
                        "|slant"
                        "|||||||"
                        "|N Female" +
                            std::string(10, '|') + "|508347|||||" + "|OMK-2||0|0|1");

    // The other connector and polarisation texts.
    records.panel->ConnectorType = "7-16 din";
    records.panel->PolarizationType = "Vertical";
    const auto again = Lines(BuildSummary(TSummaryLayout::AntennaDat, records.list));
    EXPECT_EQ(again[1].substr(again[1].size() - 6), "|1|1|0");
}

TEST(SummaryFiles, EmptyCatalogueAndCommittedFile)
{
    const TQuvFileList none;
    const std::string quv = BuildSummary(TSummaryLayout::QuvDat, none);
    const std::string antenna = BuildSummary(TSummaryLayout::AntennaDat, none);
    EXPECT_EQ(Lines(quv).size(), 2u);
    EXPECT_EQ(Lines(antenna).size(), 1u);
    EXPECT_EQ(quv.substr(quv.size() - 2), "\r\n");

    const quv::test::TScratchDir scratch("quv_summary_");
    const fs::path& dir = scratch.Path();
    Records records;
    // The name is used exactly as given: no extension is added.
    const fs::path target = dir / "antenna";
    CreateSummaryFile(TSummaryLayout::AntennaDat, records.list, target.string());
    std::ifstream in(target, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(written, BuildSummary(TSummaryLayout::AntennaDat, records.list));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 1);

    EXPECT_THROW(CreateSummaryFile(TSummaryLayout::QuvDat, records.list,
                                   (dir / "missing" / "quv.dat").string()),
                 EFCreateError);
}
