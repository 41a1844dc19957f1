// The four writers against their line rules. Expected lines are spelled out by hand or derived
// with integer arithmetic from the fixture's levels (see ExportFixture.h), never produced by the
// number formatter under test.
#include "support/AllFormats.h"

#include "catalogue/Errors.h"
#include "support/ExportFixture.h"

#include <gtest/gtest.h>

namespace quv {
namespace {

using test::BaseHeader;
using test::CrLfLines;
using test::MakeRecord;

std::string N(int a, int mod)
{
    return std::to_string(a % mod);
}

std::vector<std::string> Slice(const std::vector<std::string>& lines, std::size_t first,
                               std::size_t count)
{
    return {lines.begin() + static_cast<long>(first),
            lines.begin() + static_cast<long>(first + count)};
}

TEST(PlanetWriter, WritesHeaderAndBothCutsAsAttenuationIn730CrLfLines)
{
    const auto record = MakeRecord();
    const auto lines = CrLfLines(BuildPlanet("/out/ABC123_P45", *record));
    ASSERT_EQ(lines.size(), 730u);
    const std::vector<std::string> header = {
        "FILENAME ABC123_P45", "MAKE ABC123",   "FREQUENCY 1850",  "H_WIDTH 65",    "V_WIDTH 6.5",
        "FRONT_TO_BACK 25.00", "GAIN 15.9 dBd", "TILT ELECTRICAL", "HORIZONTAL 360"};
    EXPECT_EQ(Slice(lines, 0, 9), header);
    EXPECT_EQ(lines[369], "VERTICAL 360");
    for (int a = 0; a < 360; ++a) {
        const auto i = static_cast<std::size_t>(a);
        EXPECT_EQ(lines[9 + i], std::to_string(a) + " " + N(a, 40) + ".250") << a;
        EXPECT_EQ(lines[370 + i], std::to_string(a) + " " + N(a, 20) + ".125") << a;
    }
    EXPECT_EQ(lines[368].substr(0, 4), "359 ");
}

TEST(PlanetWriter, LevelsLoseTheirSignAndKeepThreeDecimals)
{
    const auto record = MakeRecord(BaseHeader(), [](int a) {
        return a == 1 ? std::string("-12.3456") : a == 2 ? std::string("1.5") : std::string("0");
    });
    const auto lines = CrLfLines(BuildPlanet("AB", *record));
    EXPECT_EQ(lines[9], "0 0.000");
    EXPECT_EQ(lines[10], "1 12.346");
    EXPECT_EQ(lines[11], "2 1.500");
}

TEST(PlanetAndSiemensWriters, TiltIsMechanicalOnlyForANonOmniAntennaWithZeroDowntilt)
{
    struct Case {
        std::string type, tilt, expected;
    };
    const std::vector<Case> cases = {
        {"Sector", "0", "TILT MECHANICAL"},      {"Sector", "0.0", "TILT MECHANICAL"},
        {"Sector", "", "TILT ELECTRICAL"},       {"Sector", "N/A", "TILT ELECTRICAL"},
        {"Sector", "2", "TILT ELECTRICAL"},      {"omni", "0", "TILT ELECTRICAL"},
        {"Dual OMNI", "0.0", "TILT ELECTRICAL"},
    };
    for (const auto& c : cases) {
        auto header = BaseHeader();
        header["Antenna Type"] = c.type;
        header["Electrical Downtilt, deg"] = c.tilt;
        const auto record = MakeRecord(header);
        EXPECT_EQ(CrLfLines(BuildPlanet("x", *record))[7], c.expected) << c.type << "/" << c.tilt;
        EXPECT_EQ(CrLfLines(BuildSiemens("x", *record))[7], c.expected) << c.type << "/" << c.tilt;
    }
}

TEST(SiemensWriter, WritesHeaderAndOneDecimalCutsIn732CrLfLines)
{
    const auto record = MakeRecord();
    const std::string bytes = BuildSiemens("/out/ABC123_P45", *record);
    const auto lines = CrLfLines(bytes);
    ASSERT_EQ(lines.size(), 732u);
    const std::vector<std::string> header = {
        "NAME ABC123_P45",    "MAKE Tavrin-ABC123",          "FREQUENCY 1850", "H_WIDTH 65",
        "V_WIDTH 6.5",        "FRONT_TO_BACK 25.00",         "GAIN 15.9 dBd",  "TILT ELECTRICAL",
        "POLARIZATION POL_V", "COMMENT 65\xB0 sector panel", "HORIZONTAL 360"};
    EXPECT_EQ(Slice(lines, 0, 11), header);
    EXPECT_EQ(lines[371], "VERTICAL 360");
    for (int a = 0; a < 360; ++a) {
        const auto i = static_cast<std::size_t>(a);
        // n.25 rounds away from zero to n.3; n.125 to n.1.
        EXPECT_EQ(lines[11 + i], std::to_string(a) + ".0 " + N(a, 40) + ".3") << a;
        EXPECT_EQ(lines[372 + i], std::to_string(a) + ".0 " + N(a, 20) + ".1") << a;
    }
    EXPECT_NE(bytes.find("COMMENT 65\xB0 sector"), std::string::npos) << "degree byte kept as 0xB0";
}

TEST(SiemensWriter, NamePolarisationMakeAndLevelRules)
{
    const auto pol = [](const std::string& value) {
        auto header = BaseHeader();
        header["Polarization Type"] = value;
        return CrLfLines(BuildSiemens("x", *MakeRecord(header)))[8];
    };
    EXPECT_EQ(pol("Horizontal"), "POLARIZATION POL_H");
    EXPECT_EQ(pol(""), "POLARIZATION POL_H");
    EXPECT_EQ(pol("VERT"), "POLARIZATION POL_V");
    EXPECT_EQ(pol("+/-45 Slant"), "POLARIZATION POL_V");
    EXPECT_EQ(pol("Dual slant 45"), "POLARIZATION POL_V");

    auto header = BaseHeader();
    header["Part Number"] = "";
    const auto record = MakeRecord(header, [](int a) {
        return a == 0 ? std::string("-12.34") : a == 1 ? std::string("-3.25") : std::string("0");
    });
    const auto lines = CrLfLines(BuildSiemens("/x/DB844.txt", *record));
    EXPECT_EQ(lines[0], "NAME DB844");
    EXPECT_EQ(lines[1], "MAKE Tavrin-");
    EXPECT_EQ(lines[11], "0.0 12.3");
    EXPECT_EQ(lines[12], "1.0 3.3");
    EXPECT_EQ(lines[13], "2.0 0.0");
}

// The NSMA lines of the fixture record, spelled out from the format's table.
std::vector<std::string> NsmaHeader()
{
    return {"REVNUM:,NSMA WG16.99.050",
            "REVDAT:,19990520",
            "COMNT1:,",
            "COMNT2:,",
            "ANTMAN:,Tavrin Corporation",
            "MODNUM:,ABC123",
            "PATNUM:,P45",
            "FILNUM:,01/01",
            "FEDORN:,",
            "DESCR1:,65\xB0 sector panel",
            "DESCR2:,",
            "DESCR3:,",
            "DESCR4:,",
            "DESCR5:,",
            "DTDATA:,",
            "LOWFRQ:,1850",
            "HGHFRQ:,1990",
            "GUNITS:,DBI/DBR",
            "LWGAIN:,",
            "MDGAIN:,18.0",
            "HGGAIN:,",
            "AZWIDT:,65.0",
            "ELWIDT:,6.5",
            "CONTYP:,7-16 DIN",
            "ATVSWR:, 1.30",
            "FRTOBA:,25.00",
            "ELTILT:,6.0",
            "RADCTR:,",
            "POTOPO:,",
            "MAXPOW:,500",
            "ANTLEN:,2.58",
            "ANTWID:,",
            "ANTDEP:,",
            "ANTWGT:,12.5",
            "FIELD1:,",
            "FIELD2:,",
            "FIELD3:,",
            "FIELD4:,",
            "FIELD5:,",
            "PATTYP:,typical",
            "NOFREQ:,1",
            "PATFRE:,1850",
            "NUMCUT:,2",
            "PATCUT:,AZ",
            "POLARI:,V/V",
            "NUPOIN:,360",
            "FSTLST:,0,+359"};
}

TEST(NsmaWriter, WritesTheKeywordFileIn772CrLfLines)
{
    const auto record = MakeRecord();
    const auto lines = CrLfLines(BuildNsma("/out/ABC123_P45", *record));
    ASSERT_EQ(lines.size(), 772u);
    EXPECT_EQ(Slice(lines, 0, 47), NsmaHeader());
    const std::vector<std::string> elevationHeader = {"PATCUT:,EL", "POLARI:,V/V", "NUPOIN:,360",
                                                      "FSTLST:,0,+359"};
    EXPECT_EQ(Slice(lines, 407, 4), elevationHeader);
    for (int a = 0; a < 360; ++a) {
        const auto i = static_cast<std::size_t>(a);
        const std::string angle = std::to_string(a) + ".00,";
        EXPECT_EQ(lines[47 + i], angle + "-" + N(a, 40) + ".25,") << a;
        EXPECT_EQ(lines[411 + i], angle + "-" + N(a, 20) + ".13,") << a; // -n.125 away from zero
    }
    EXPECT_EQ(lines[771], "ENDFIL:,EOF");
}

TEST(TiaEiaWriter, WritesTheNsmaContentWithItsOwnPunctuationIn771CrLfLines)
{
    const auto record = MakeRecord();
    const auto lines = CrLfLines(BuildTiaEia("/out/ABC123_P45", *record));
    ASSERT_EQ(lines.size(), 771u);
    // Same values as NSMA: ":," becomes ",", other revision lines, no FILNUM, FEDORN after HGGAIN.
    std::vector<std::string> expected;
    for (auto line : NsmaHeader()) {
        line.replace(line.find(":,"), 2, ",");
        if (line.rfind("FILNUM", 0) == 0 || line.rfind("FEDORN", 0) == 0)
            continue;
        expected.push_back(line);
        if (line == "HGGAIN,")
            expected.push_back("FEDORN,");
    }
    expected[0] = "REVNUM,TIA/EIA IS-2330-0";
    expected[1] = "REVDAT,20000720";
    ASSERT_EQ(expected.size(), 46u);
    EXPECT_EQ(Slice(lines, 0, 46), expected);
    EXPECT_EQ(lines[19], "FEDORN,");
    const std::vector<std::string> elevationHeader = {"PATCUT,EL", "POLARI,V/V", "NUPOIN,360",
                                                      "FSTLST,0,+359"};
    EXPECT_EQ(Slice(lines, 406, 4), elevationHeader);
    for (int a = 0; a < 360; ++a) {
        const auto i = static_cast<std::size_t>(a);
        const std::string angle = "PCDATA," + std::to_string(a) + ".00,";
        EXPECT_EQ(lines[46 + i], angle + "-" + N(a, 40) + ".25,") << a;
        EXPECT_EQ(lines[410 + i], angle + "-" + N(a, 20) + ".13,") << a;
    }
    EXPECT_EQ(lines[770], "ENDFIL,EOF");
}

TEST(NsmaAndTiaEiaWriters, ValueRules)
{
    auto header = BaseHeader();
    header["Electrical Downtilt, deg"] = "0";
    header["Description"] = std::string(60, 'a') + std::string(40, 'b');
    header["Polarization Type"] = "Slant";
    header["Return Loss, dB (VSWR)"] = "17.7";
    header["Antenna Weight, kg (lb)"] = "9 (19.8)";
    header["Length, mm (in)"] = "1295 (51.0)";
    header["Gain, dBi"] = "17.25";
    const auto record =
        MakeRecord(header, [](int a) { return a == 7 ? std::string("-3.25") : std::string("0"); });
    const auto nsma = CrLfLines(BuildNsma("x", *record));
    const auto tia = CrLfLines(BuildTiaEia("x", *record));
    EXPECT_EQ(nsma[26], "ELTILT:,0.0");
    EXPECT_EQ(tia[25], "ELTILT,0.0");
    EXPECT_EQ(nsma[9], "DESCR1:," + std::string(60, 'a') + std::string(20, 'b'));
    EXPECT_EQ(nsma[10], "DESCR2:,");
    EXPECT_EQ(tia[7], "DESCR1," + std::string(60, 'a') + std::string(20, 'b'));
    EXPECT_EQ(nsma[44], "POLARI:,SLR/SLR");
    EXPECT_EQ(nsma[408], "POLARI:,SLR/SLR");
    EXPECT_EQ(tia[43], "POLARI,SLR/SLR");
    EXPECT_EQ(tia[407], "POLARI,SLR/SLR");
    EXPECT_EQ(nsma[24], "ATVSWR:,17.7");
    EXPECT_EQ(nsma[33], "ANTWGT:,9.0");
    EXPECT_EQ(nsma[30], "ANTLEN:,1.29"); // 1295 * 0.001 is 1.29499999999999993 as a double
    EXPECT_EQ(nsma[19], "MDGAIN:,17.3"); // an exact half goes away from zero
    EXPECT_EQ(nsma[47], "0.00,0.00,");
    EXPECT_EQ(nsma[54], "7.00,-3.25,");
    EXPECT_EQ(tia[53], "PCDATA,7.00,-3.25,");

    for (const std::string tilt : {"N/A", ""}) {
        header["Electrical Downtilt, deg"] = tilt;
        header["Antenna Weight, kg (lb)"] = "";
        header["Polarization Type"] = "Dual Slant";
        const auto r = MakeRecord(header);
        const auto n = CrLfLines(BuildNsma("x", *r));
        EXPECT_EQ(n[26], "ELTILT:,");
        EXPECT_EQ(n[33], "ANTWGT:,");
        EXPECT_EQ(n[44], "POLARI:,V/V");
        EXPECT_EQ(CrLfLines(BuildTiaEia("x", *r))[32], "ANTWGT,");
    }
}

TEST(Writers, ValuesThatMustBeNumbersRaiseConversionErrors)
{
    const std::vector<std::pair<std::string, std::string>> nsmaFaults = {
        {"Gain, dBi", ""},
        {"Azimuth Beamwidth, deg", "wide"},
        {"Elevation Beamwidth, deg", ""},
        {"Return Loss, dB (VSWR)", "17.7 (<x.y)"},
        {"Return Loss, dB (VSWR)", "17.7 )1.3("},
        {"Front to Back Ratio, dB", ""},
        {"Length, mm (in)", "2580"},
        {"Antenna Weight, kg (lb)", "12.5"},
        {"Antenna Weight, kg (lb)", "heavy (27)"},
    };
    for (const auto& [key, value] : nsmaFaults) {
        auto header = BaseHeader();
        header[key] = value;
        const auto record = MakeRecord(header);
        EXPECT_THROW(BuildNsma("x", *record), EConvertError) << key << "=" << value;
        EXPECT_THROW(BuildTiaEia("x", *record), EConvertError) << key << "=" << value;
    }
    auto header = BaseHeader();
    header["Front to Back Ratio, dB"] = "N/A";
    EXPECT_THROW(BuildPlanet("x", *MakeRecord(header)), EConvertError);
    EXPECT_THROW(BuildSiemens("x", *MakeRecord(header)), EConvertError);

    const auto badLevel = MakeRecord(BaseHeader(), test::DefaultAzimuth, [](int a) {
        return a == 300 ? std::string("abc") : std::string("0");
    });
    EXPECT_THROW(BuildPlanet("x", *badLevel), EConvertError);
    EXPECT_THROW(BuildSiemens("x", *badLevel), EConvertError);
    EXPECT_THROW(BuildNsma("x", *badLevel), EConvertError);
    EXPECT_THROW(BuildTiaEia("x", *badLevel), EConvertError);
}

} // namespace
} // namespace quv
