// Reading other makers' pattern files: our own Planet, NSMA and TIA/EIA files read back to the
// decimals written, hand-written vendor-style variants, and malformed files each giving its
// message with the file and line.
#include "reference/PatternFile.h"

#include "catalogue/ElevationAngles.h"
#include "catalogue/NumberText.h"
#include "catalogue/PatternMetrics.h"
#include "catalogue/QuvLib.h"
#include "support/AllFormats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace quv {
namespace {

// A Planet-style block of `count` points from `first` in steps of `step` degrees.
std::string Block(const std::string& keyword, double first, double step, int count,
                  const std::function<double(double)>& level, const std::string& eol = "\r\n")
{
    std::string text = keyword + " " + std::to_string(count) + eol;
    for (int k = 0; k < count; ++k) {
        const double a = first + k * step;
        text += FloatToStrGeneral(a) + " " + Format("%.2f", {level(a)}) + eol;
    }
    return text;
}

double Flat(double)
{
    return 0;
}

std::unique_ptr<TQuvFile> SampleRecord(const std::string& name)
{
    return LoadQuvFile(std::string(QUV_SAMPLE_CATALOGUE) + "/" + name);
}

TEST(PatternFileReader, OwnWritersReadBackToTheWrittenDecimals)
{
    struct Case {
        const char* format;
        std::string (*build)(const std::string&, const TQuvFile&);
        test::TRow detected;
        double tolerance; // half a unit of the last written decimal
    };
    const Case cases[] = {
        {"Planet", BuildPlanet, test::TRow::Planet, 0.0005},
        {"NSMA", BuildNsma, test::TRow::Nsma, 0.005},
        {"TIA/EIA", BuildTiaEia, test::TRow::TiaEia, 0.005},
    };
    for (const char* file : {"TD0865-14.quv", "TD1865-17.quv", "TD0865-17XD.quv"}) {
        const auto record = SampleRecord(file);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.format) + " " + file);
            const TReferencePattern ref = ReadPatternBytes(c.build("/x/out", *record), "out");
            EXPECT_EQ(ref.format, test::FormatAt(c.detected));
            EXPECT_EQ(*ref.frequencyMHz, StrToFloat(record->MeasuredFrequency));
            for (std::size_t j = 0; j <= 360; ++j) {
                // The reader's index is the data file's index, so no angle arithmetic here.
                EXPECT_NEAR(ref.azimuth[j], StrToFloat(record->Azimuth[j]), c.tolerance) << j;
                EXPECT_NEAR(ref.elevation[j], StrToFloat(record->Elevation[j]), c.tolerance) << j;
            }
            EXPECT_TRUE(ref.warnings.empty());
        }
        // Planet states dBd, the NSMA family dBi; each as the catalogue has it.
        const TReferencePattern pln = ReadPatternBytes(BuildPlanet("/x/out", *record), "out");
        EXPECT_EQ(*pln.gainDBd, StrToFloat(record->GainDBd));
        EXPECT_EQ(pln.maker, record->PartNumber); // our Planet writer puts the model under MAKE
        const TReferencePattern dap = ReadPatternBytes(BuildNsma("/x/out", *record), "out");
        EXPECT_EQ(*dap.gainDBi, StrToFloat(record->GainDBi));
        EXPECT_FALSE(dap.gainDBd);
        EXPECT_EQ(dap.name, record->PartNumber);
        EXPECT_EQ(dap.maker, "Tavrin Corporation");
    }
}

// The file counts clockwise, the data files the other way: file angle 90 is data index 270.
TEST(PatternFileReader, MapsAnAsymmetricPatternOntoTheDataFileIndex)
{
    auto level = [](double a) { return a == 0 ? 0.0 : a == 90 ? 10.0 : a == 180 ? 20.0 : 30.0; };
    const std::string text =
        "NAME ASYM\r\n" + Block("HORIZONTAL", 0, 90, 4, level) + Block("VERTICAL", 0, 90, 4, level);
    const TReferencePattern ref = ReadPatternBytes(text, "asym.pln");
    EXPECT_DOUBLE_EQ(ref.azimuth[0], 0);
    EXPECT_DOUBLE_EQ(ref.azimuth[270], -10);
    EXPECT_DOUBLE_EQ(ref.azimuth[180], -20);
    EXPECT_DOUBLE_EQ(ref.azimuth[90], -30);
    EXPECT_DOUBLE_EQ(ref.azimuth[360], 0);
    // Index 45 is file angle 315, halfway between 270 (30 dB down) and 360 (the peak).
    EXPECT_DOUBLE_EQ(ref.azimuth[45], -15);
    // Index 300 is file angle 60, two thirds of the way from 0 to 90.
    EXPECT_NEAR(ref.azimuth[300], -20.0 / 3, 1e-12);
    EXPECT_DOUBLE_EQ(ref.elevation[270], -10);
    EXPECT_EQ(ref.name, "ASYM");
}

// A maker's file puts a downtilted beam at small positive VERTICAL angles. An asymmetric cut (a
// strong lobe 5 degrees above the horizon, a weak one below the beam) must read back as a beam
// below the horizon, with its tilt as the header states and the lobe above it.
TEST(PatternFileReader, AMakersDowntiltReadsBackBelowTheHorizon)
{
    auto vertical = [](double a) {
        const double e = a > 180 ? a - 360 : a; // degrees below the horizon
        if (std::fabs(e - 10) <= 4)
            return 3.0 * (e - 10) * (e - 10) / 16;
        return e == -5 ? 12.0 : e == 40 ? 22.0 : 30.0;
    };
    const std::string text = "NAME TILTED\r\nELECTRICAL_TILT 10\r\n" +
                             Block("HORIZONTAL", 0, 1, 360, Flat) +
                             Block("VERTICAL", 0, 1, 360, vertical);
    const TReferencePattern ref = ReadPatternBytes(text, "tilted.msi");
    const TElevationMetrics m = MeasureElevation(ref.elevation);
    ASSERT_TRUE(m.tilt && m.upperSidelobe);
    EXPECT_DOUBLE_EQ(*m.tilt, 10);
    EXPECT_NEAR(*m.upperSidelobe, -12, 1e-9);
    // The file's line 5 degrees above the horizon, and the accessor's angle 10 below it.
    EXPECT_DOUBLE_EQ(ref.elevation[FileLineFromElevation(5)], -12);
    EXPECT_DOUBLE_EQ(ref.elevation[360 - AccessorAngleFromElevation(-10)], 0);
}

TEST(PatternFileReader, ReadsVendorStyleVariants)
{
    // Peak at file angle 30 in both cuts; 1 dB per degree away from it, up to 25 dB.
    auto lobe = [](double a) {
        double d = std::fabs(std::fmod(a - 30 + 540, 360.0) - 180);
        return std::min(25.0, d);
    };
    struct Case {
        const char* what;
        std::string text;
        test::TRow format;
        std::optional<double> frequency, gainDBi, gainDBd;
        const char* name;
        const char* maker;
    };
    const std::string cr = "\r";
    const Case cases[] = {
        {"lower-case keywords, tabs, CR lines, gain in dBi",
         "name\tVX-65-17\rmake\tOther Maker\rfrequency\t1850\rgain\t17.1 dBi\rtilt\tELECTRICAL\r" +
             Block("horizontal", 0, 1, 360, lobe, cr) + Block("vertical", 0, 1, 360, lobe, cr),
         test::TRow::Planet, 1850, 17.1, std::nullopt, "VX-65-17", "Other Maker"},
        {"half-degree steps from -180, gain without unit is dBd, LF lines",
         "NAME HALF\nGAIN 15.0\nFREQUENCY 880 MHz\nPOLARIZATION +45\nCOMMENT x\n" +
             Block("HORIZONTAL", -180, 0.5, 720, lobe, "\n") +
             Block("VERTICAL", -180, 0.5, 720, lobe, "\n"),
         test::TRow::Planet, 880, 15.0 + kDipoleGainDBi, 15.0, "HALF", ""},
        {"NSMA vendor: PATCUT, POLARI with a cross-polar cut, NUPOINTS/NUMPTS, FSTLST, no PCDATA",
         [&] {
             std::string t = "REVNUM:,NSMA WG16.99.050\r\nANTMAN:,Other Maker\r\nMODNUM:,OM-900\r\n"
                             "LOWFRQ:,870\r\nHGHFRQ:,960\r\nGUNITS:,DBD/DBR\r\nMDGAIN:,14.5\r\n"
                             "PATTYP:,typical\r\n";
             for (const char* cut : {"AZ", "EL"}) {
                 // The cross-polar cut comes first and must be passed over.
                 t += std::string("PATCUT:,") + cut + "\r\nPOLARI:,V/H\r\nNUMPTS:,4\r\n";
                 for (int a : {0, 90, 180, 270})
                     t += std::to_string(a) + ",-40,\r\n";
                 t += std::string("PATCUT:,") + cut +
                      "\r\nPOLARI:,V/V\r\nNUPOINTS:,360\r\n"
                      "FSTLST:,-179,180\r\n";
                 for (int a = -179; a <= 180; ++a)
                     t += std::to_string(a) + ".0, " + Format("%.2f", {-lobe(a)}) + "\r\n";
             }
             return t + "ENDFIL:,EOF\r\n";
         }(),
         test::TRow::Nsma, 915, 14.5 + kDipoleGainDBi, 14.5, "OM-900", "Other Maker"},
        {"TIA/EIA-804-B with PCDATA lines",
         [&] {
             std::string t = "REVNUM,TIA/EIA-804-B\nANTMAN,Other Maker\nMODNUM,OM-1900\n"
                             "PATFRE,1940\nGUNITS,DBI/DBR\nMDGAIN,18.0\n";
             for (const char* cut : {"AZ", "EL"}) {
                 t += std::string("PATCUT,") + cut + "\nPOLARI,V/V\nNUPOIN,360\nFSTLST,0,359\n";
                 for (int a = 0; a < 360; ++a)
                     t += "PCDATA," + std::to_string(a) + ".00," + Format("%.2f", {-lobe(a)}) +
                          ",\n";
             }
             return t + "ENDFIL,EOF\n";
         }(),
         test::TRow::TiaEia, 1940, 18.0, std::nullopt, "OM-1900", "Other Maker"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TReferencePattern ref = ReadPatternBytes(c.text, "vendor.txt");
        EXPECT_EQ(ref.format, test::FormatAt(c.format));
        EXPECT_EQ(ref.frequencyMHz, c.frequency);
        ASSERT_TRUE(ref.gainDBi);
        EXPECT_NEAR(*ref.gainDBi, *c.gainDBi, 1e-9);
        EXPECT_EQ(ref.gainDBd, c.gainDBd);
        EXPECT_EQ(ref.name, c.name);
        EXPECT_EQ(ref.maker, c.maker);
        EXPECT_TRUE(ref.warnings.empty()) << ref.warnings.front();
        // File angle 30 (the peak) is data index 330; 1 dB per degree on either side.
        for (const TReferenceCut* cut : {&ref.azimuth, &ref.elevation}) {
            EXPECT_NEAR((*cut)[330], 0, 1e-9);
            EXPECT_NEAR((*cut)[340], -10, 1e-9); // file angle 20
            EXPECT_NEAR((*cut)[320], -10, 1e-9); // file angle 40
            EXPECT_NEAR((*cut)[150], -25, 1e-9);
        }
    }
}

TEST(PatternFileReader, NormalisesThePeakAndKeepsNsmaSigns)
{
    // Levels 3 dB above the nominal maximum become the 0 dB peak.
    std::string t = "REVNUM:,NSMA\r\nPATCUT:,AZ\r\n0,3,\r\n90,-7,\r\n180,-17,\r\n270,-7,\r\n"
                    "PATCUT:,EL\r\n0,0,\r\n180,-10,\r\n";
    const TReferencePattern ref = ReadPatternBytes(t, "n.dap");
    EXPECT_DOUBLE_EQ(ref.azimuth[0], 0);
    EXPECT_DOUBLE_EQ(ref.azimuth[90], -10);
    EXPECT_DOUBLE_EQ(ref.azimuth[180], -20);
    EXPECT_DOUBLE_EQ(ref.elevation[90], -5);
    EXPECT_FALSE(ref.frequencyMHz);
    EXPECT_FALSE(ref.gainDBi);
    EXPECT_EQ(ref.name, "n"); // no MODNUM: the file's base name

    // All-positive NSMA levels are read as written, with a warning.
    const TReferencePattern positive = ReadPatternBytes(
        "PATCUT:,AZ\r\n0,0,\r\n180,20,\r\nPATCUT:,EL\r\n0,0,\r\n180,-20,\r\n", "p.dap");
    EXPECT_DOUBLE_EQ(positive.azimuth[180], 0);
    ASSERT_EQ(positive.warnings.size(), 1u);
    EXPECT_NE(positive.warnings[0].find("every level of the AZ cut is positive"),
              std::string::npos);

    // A frequency that is not a number is passed over with a warning, not guessed.
    const TReferencePattern odd =
        ReadPatternBytes("FREQUENCY n/a\nGAIN high\n" + Block("HORIZONTAL", 0, 90, 4, Flat, "\n") +
                             Block("VERTICAL", 0, 90, 4, Flat, "\n"),
                         "odd.pln");
    EXPECT_FALSE(odd.frequencyMHz);
    EXPECT_FALSE(odd.gainDBi);
    EXPECT_EQ(odd.warnings, (std::vector<std::string>{"line 1: frequency 'n/a' is not a number",
                                                      "line 2: gain 'high' is not a number"}));
}

TEST(PatternFileReader, MalformedFilesGiveTheirMessage)
{
    const std::string h = Block("HORIZONTAL", 0, 1, 360, Flat);
    const std::string v = Block("VERTICAL", 0, 1, 360, Flat);
    std::string badLevel = "NAME X\r\n" + h + v;
    badLevel.replace(badLevel.find("\r\n9 0.00\r\n") + 2, 6, "9 abc");
    std::string truncated = "NAME X\r\n" + h.substr(0, h.find("180 0.00")) + v;
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {badLevel, "bad: line 12: level 'abc' is not a number"},
        {"NAME X\r\n" + h, "bad: no VERTICAL block found"},
        {"NAME X\r\n" + v, "bad: no HORIZONTAL block found"},
        {"NAME X\r\nGAIN 15\r\n", "bad: no pattern data found"},
        {"", "bad: no pattern data found"},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0", 12), "bad: no pattern data found"},
        {"HORIZONTAL 360\r\nx 1\r\n", "bad: line 2: angle 'x' is not a number"},
        {"HORIZONTAL lots\r\n", "bad: line 1: point count 'lots' is not a whole number from 1 "
                                "to 100000"},
        {"HORIZONTAL 99999999999\r\n", "bad: line 1: point count '99999999999' is not a whole "
                                       "number from 1 to 100000"},
        {"HORIZONTAL 2\r\n0 0\r\n400 3\r\n", "bad: line 3: angle '400' lies outside -360..360"},
        {"HORIZONTAL 2\r\n0 0\r\n360 3\r\n" + v,
         "bad: line 1: the HORIZONTAL block holds fewer than two distinct angles"},
        {"HORIZONTAL 1\r\n0 0\r\n1 0\r\n", "bad: line 3: pattern data outside a HORIZONTAL or "
                                           "VERTICAL block"},
        {h + h, "bad: line 362: a second HORIZONTAL block"},
        {"HORIZONTAL 2\r\n0\r\n", "bad: line 2: expected an angle and a level, found '0'"},
        {"REVNUM:,NSMA\r\n0.00,-1.00,\r\n", "bad: line 2: pattern data before any PATCUT line"},
        {"PATCUT:,AZ\r\nNUPOIN:,360\r\n0,0,\r\n1,0,\r\nPATCUT:,EL\r\n0,0,\r\n",
         "bad: line 1: the AZ cut holds 2 of the 360 points it announces"},
        {"PATCUT:,AZ\r\nNUPOIN:,1\r\n0,0,\r\n1,0,\r\n",
         "bad: line 1: the AZ cut holds 2 points but announces 1"},
        {"PATCUT:,AZ\r\n0,0,\r\n1,-1,\r\n", "bad: no elevation cut (PATCUT EL) found"},
        {"PATCUT:,XY\r\n", "bad: line 1: cut 'XY' is neither AZ nor EL"},
        {"PATCUT:,AZ\r\n0,0,\r\n1,1e999,\r\n", "bad: line 3: level '1e999' is not a number"},
        {"PATCUT:,AZ\r\n0,1e300,\r\n1,-1e300,\r\n",
         "bad: line 2: level '1e300' lies outside -1000..1000 dB"},
        {"PATCUT:,AZ\r\n0,0,\r\n1,-1000.5,\r\n",
         "bad: line 3: level '-1000.5' lies outside -1000..1000 dB"},
        {"PATCUT:,EL\r\nPCDATA,5\r\n", "bad: line 2: expected an angle and a level, found "
                                       "'PCDATA,5'"},
        {"PATCUT:,EL\r\n", "bad: line 1: the EL cut holds no points"},
    };
    for (const auto& c : cases) {
        try {
            ReadPatternBytes(c.text, "bad");
            ADD_FAILURE() << "no error for: " << c.message;
        } catch (const EPatternFileError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
    EXPECT_THROW(ReadPatternFile("/nonexistent/ref.pln"), EFOpenError);
    // A truncated block is read as far as it goes, with a warning.
    EXPECT_EQ(ReadPatternBytes(truncated, "t").warnings,
              std::vector<std::string>{
                  "line 2: the HORIZONTAL block holds 180 of the 360 points it announces"});
}

} // namespace
} // namespace quv
