// The 18 readers against the 18 writers: every sample antenna and an asymmetric pattern written
// in each format and read back land on the record's own angles; vendor variants; malformed and
// truncated files give messages, never a crash.
#include "reference/PatternReaders.h"

#include "catalogue/NumberText.h"
#include "catalogue/QuvLib.h"
#include "catalogue/SharedLib.h"
#include "export/ExportLib.h"
#include "support/AllFormats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace quv {
namespace {

using F = test::TRow;

const TExportDate kDay{2024, 3, 7, '/'};

struct TBuilt {
    std::string name, bytes, companion;
};

// The file(s) a format's writer makes for `record`, named as the writer would name them.
TBuilt BuildFormat(int index, const TQuvFile& record)
{
    const std::string path = "/x/out";
    const std::string ext =
        std::string(ExportFormats()[static_cast<std::size_t>(index)].extensions);
    const std::string name = ChangeFileExt(path, ext.substr(0, ext.find(' ')));
    switch (static_cast<F>(index)) {
    case F::Planet:
        return {name, BuildPlanet(path, record), {}};
    case F::Wizard:
        return {name, BuildWizard(path, record, kDay), {}};
    case F::Granet:
        return {name, BuildGranet(path, record, kDay), {}};
    case F::Ce4:
    case F::Pdf:
        return {name, BuildCe4(path, record, kDay), {}};
    case F::NetPlan: {
        TNetPlanFiles files = BuildNetPlan(path, record);
        return {name, files.horizontal, files.vertical};
    }
    case F::CelPlan:
        return {name, BuildCelPlan(path, record), {}};
    case F::Tornado:
        return {name, BuildTornado(path, record), {}};
    case F::CellCad: {
        TCellCadFiles files = BuildCellCad(path, record, kDay);
        return {name, files.hor, files.ver};
    }
    case F::Edx:
        return {name, BuildEdx(path, record), {}};
    case F::QeDesign:
        return {name, BuildQeDesign(path, record), {}};
    case F::Cdma:
        return {name, BuildCdma(path, record), {}};
    case F::Nsma:
        return {name, BuildNsma(path, record), {}};
    case F::TiaEia:
        return {name, BuildTiaEia(path, record), {}};
    case F::PathPro:
        return {name, BuildPathPro(path, record), {}};
    case F::Odyssey:
        return {name, BuildOdyssey(path, record), {}};
    case F::Siemens:
        return {name, BuildSiemens(path, record), {}};
    case F::Nokia:
        return {name, BuildNokia(path, record), {}};
    }
    return {};
}

// Every point lies on the record's level at its angle; every multiple of 5 degrees is held.
void ExpectCut(const TPatternCutPoints& cut, const std::function<std::string_view(int)>& at,
               const char* what)
{
    bool held[72] = {};
    for (const TPatternPoint& p : cut.points) {
        const double rounded = std::round(p.angle);
        ASSERT_NEAR(p.angle, rounded, 1e-9) << what << " line " << p.line;
        const int a = ((static_cast<int>(rounded) % 360) + 360) % 360;
        EXPECT_NEAR(p.level, StrToFloat(at(a)), 0.051)
            << what << " angle " << a << " line " << p.line;
        if (a % 5 == 0)
            held[a / 5] = true;
    }
    for (int k = 0; k < 72; ++k)
        EXPECT_TRUE(held[k]) << what << " holds no level at " << k * 5;
}

void ExpectRoundTrip(const TQuvFile& record, const std::string& label)
{
    for (int index = 0; index < kExportFormatCount; ++index) {
        SCOPED_TRACE(label + " in " + FormatLogName(index));
        const TBuilt built = BuildFormat(index, record);
        const TPatternFileData data = ReadPatternData(built.bytes, built.name, built.companion);
        EXPECT_EQ(FileFormatIndex(*data.format), index);
        ASSERT_EQ(data.patterns.size(), 1u);
        const TFilePattern& p = data.patterns.front();
        ExpectCut(
            p.azimuth, [&](int a) { return record.AzimuthAt(a); }, "azimuth");
        ExpectCut(
            p.elevation, [&](int a) { return record.ElevationAt(a); }, "elevation");
        // The gain in the unit the format carries; NetPlan has none, and CE4, PDF and CellCAD
        // only as their highest level, rounded as the levels are.
        const bool fromLevels = index == static_cast<int>(F::CellCad);
        EXPECT_EQ(static_cast<bool>(p.gainDBi), index != static_cast<int>(F::NetPlan));
        if (p.gainDBd) {
            EXPECT_NEAR(*p.gainDBd, StrToFloat(record.GainDBd), 0.01);
        } else if (p.gainDBi) {
            EXPECT_NEAR(*p.gainDBi, StrToFloat(record.GainDBi), fromLevels ? 0.051 : 0.01);
        }
    }
}

TEST(PatternReaders, EverySampleAntennaReadsBackInEveryFormat)
{
    int records = 0;
    for (const auto& entry : std::filesystem::directory_iterator(QUV_SAMPLE_CATALOGUE)) {
        const auto record = LoadQuvFile(entry.path().string());
        ExpectRoundTrip(*record, entry.path().filename().string());
        ++records;
    }
    EXPECT_GT(records, 10);
}

// A pattern that falls 0.1 dB per degree all the way round: any mirrored, shifted or turned cut
// puts a wrong level on some angle, so only each format's true convention passes.
TEST(PatternReaders, AsymmetricPatternKeepsEveryAngleInEveryFormat)
{
    std::string text = "[HEADER]\r\nPart Number=ASYM-1\r\nGain, dBd=14.0\r\nGain, dBi=16.1\r\n"
                       "Measured Frequency=860\r\nAzimuth Beamwidth, deg=65\r\n"
                       "Elevation Beamwidth, deg=7\r\nFront to Back Ratio, dB=25\r\n"
                       "Length, mm (in)=1300 (51.2)\r\nElectrical Downtilt, deg=0\r\n"
                       "Antenna Type=Panel\r\nPolarization Type=Vertical\r\n"
                       "Beginning Sub-Frequency, MHz=824\r\nEnding Sub-Frequency, MHz=896\r\n"
                       "Return Loss, dB (VSWR)=17.7 (<1.3)\r\nAntenna Weight, kg (lb)=15 (33)\r\n"
                       "Flat Plate Area, sq.m (sq.ft)=0.5 (5.4)\r\n\r\n[POINTS]\r\n";
    for (int cut = 0; cut < 2; ++cut)
        for (int t = -180; t <= 180; ++t) {
            const int step = ((t + (cut == 0 ? 179 : 90)) % 360 + 360) % 360;
            text += std::to_string(t) + "=" + Format("%.1f", {-step / 10.0}) + "\r\n";
        }
    TQuvFile record;
    record.LoadFromBytes(text, "asym.quv");
    // The level 1 degree below the horizon is 0.1 dB over the one at the horizon: the record
    // itself runs the way the test means it to.
    ASSERT_EQ(record.ElevationAt(0), "-9.0");
    ASSERT_EQ(record.ElevationAt(1), "-8.9");
    ExpectRoundTrip(record, "asymmetric");
}

std::string Lines(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    return text;
}

TEST(PatternReaders, ReadsVendorVariants)
{
    // NSMA with two slant polarisations and their cross-polar cuts: one pattern per co-polar pair.
    std::string nsma = "REVNUM:,NSMA WG16.99.050\r\nMODNUM:,DX-65\r\nGUNITS:,DBD/DBR\r\n"
                       "MDGAIN:,15.0\r\n";
    for (const char* pol : {"+45/+45", "+45/-45", "-45/-45"})
        for (const char* plane : {"AZ", "EL"}) {
            nsma += std::string("PATCUT:,") + plane + "\r\nPOLARI:," + pol + "\r\n";
            for (int a = 0; a < 360; a += 90)
                nsma += std::to_string(a) + "," +
                        (a == 0          ? "0"
                         : pol[0] == '-' ? "-7"
                                         : "-9") +
                        ",\r\n";
        }
    const TPatternFileData two = ReadPatternData(nsma, "dx.dap");
    ASSERT_EQ(two.patterns.size(), 2u);
    EXPECT_EQ(two.patterns[0].name, "DX-65_+45");
    EXPECT_EQ(two.patterns[1].name, "DX-65_-45");
    EXPECT_EQ(two.patterns[1].elevation.points[1].level, -7);
    EXPECT_DOUBLE_EQ(*two.patterns[0].gainDBi, 17.15);

    // EDX with relative field levels, an unquoted name and four slices; 90 and 270 are skipped.
    std::string edx = "VX-1,16.0,1\r\n0,1\r\n90,0.5\r\n180,0.1\r\n270,0.5\r\n999\r\n4,3\r\n";
    for (int slice : {0, 90, 180, 270})
        edx += std::to_string(slice) + "\r\n90,0.01\r\n0,1\r\n-90,0.1\r\n";
    const TPatternFileData field = ReadPatternData(edx, "vx.edx");
    EXPECT_EQ(field.format, test::FormatAt(F::Edx));
    const TFilePattern& p = field.patterns.front();
    EXPECT_EQ(p.name, "VX-1");
    EXPECT_NEAR(p.azimuth.points[1].level, -6.0206, 1e-4);
    ASSERT_EQ(p.elevation.points.size(), 6u);
    // Front slice 90 (straight up) is 90 degrees above the horizon; back slice -90 is below.
    EXPECT_EQ(p.elevation.points[0].angle, -90);
    EXPECT_EQ(p.elevation.points[5].angle, 90);
    EXPECT_NEAR(p.elevation.points[0].level, -40, 1e-9);

    // MSI at 5-degree steps without a NAME: the file name, interpolated levels.
    std::string msi = "MAKE Other\r\nGAIN 17.1 dBi\r\nhorizontal 72\r\n";
    for (int a = 0; a < 360; a += 5)
        msi += std::to_string(a) + "\t" + std::to_string(a == 0 ? 0 : 10) + "\r\n";
    msi += "VERTICAL 4\r\n-180 20\r\n-90 20\r\n0 0\r\n90 20\r\n";
    const TPatternFileData coarse = ReadPatternData(msi, "/v/Model-X.msi");
    EXPECT_EQ(coarse.patterns.front().name, "Model-X");
    EXPECT_TRUE(coarse.patterns.front().nameFromFileName);
    const TResampledCut az = ResampleCut(coarse.patterns.front().azimuth);
    EXPECT_TRUE(az.coarse);
    EXPECT_NEAR(az.levels[2], -4, 1e-9);
    EXPECT_NEAR(az.levels[358], -4, 1e-9);
    const TResampledCut el = ResampleCut(coarse.patterns.front().elevation);
    EXPECT_NEAR(el.levels[45], -10, 1e-9);
    EXPECT_NEAR(el.levels[315], -10, 1e-9); // -45, between -90 and 0
}

TEST(PatternReaders, MalformedFilesNameTheFileAndLine)
{
    const struct {
        std::string text, name, companion, message;
    } cases[] = {
        {Lines({"'A',1,2", "0,0", "1,x"}), "bad.edx", "", "bad.edx: line 3: level 'x' is not"},
        {Lines({"'A',1,7", "0,0", "999"}), "bad.edx", "", "bad.edx: line 1: pattern key '7'"},
        {Lines({"'A',1,2", "0,0", "1,0", "999"}), "bad.edx", "",
         "bad.edx: no vertical slices follow"},
        {Lines({"|MODEL|X|", "|  0|-1|"}), "bad.ce4", "", "bad.ce4: line 2: pattern data before"},
        {Lines({"model_number X", "horizontal", "0"}), "bad.pat", "",
         "bad.pat: line 3: expected an angle and a level"},
        {Lines({"[CelPlan DT ANT]", "Azm\tGain", "0\t1"}), "bad.ant", "",
         "bad.ant: no Elv table found"},
        {Lines({"::HEADER", "dBd", "::HORIZONTAL\t3", "0\t0"}), "bad.ant", "",
         "bad.ant: no ::VERTICAL block found"},
        {Lines({"Name = X", "Orientation = Horizontal", "0 -1"}), "bad.h", "",
         "bad.h: the other file of the pair (bad.v) is missing"},
        {Lines({"Name = X", "Orientation = Horizontal", "0 -1 zz"}), "bad.h",
         Lines({"Orientation = Vertical", "0 -1"}), "bad.h: line 3: level 'zz' is not"},
        {Lines({"LCC", "d", "t", "m", "p", "65", "H", "0", "0000.0"}), "bad.hor",
         Lines({"LCC", "d", "t", "m", "p", "7", "V", "0", "0 1", "1 1"}),
         "bad.hor: line 9: expected an angle and a level"},
        {Lines(
             {"1.0\t## manufacturer", "## Horizontal Radiation Pattern ##", "0.00\t0", "1.00\t-1"}),
         "bad.txt", "", "bad.txt: no vertical radiation pattern found"},
    };
    for (const auto& c : cases) {
        try {
            ReadPatternData(c.text, c.name, c.companion);
            ADD_FAILURE() << "no error for: " << c.message;
        } catch (const EPatternFileError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, c.message.size()), c.message);
        }
    }
    std::string error;
    EXPECT_FALSE(TryReadPatternFile("/nonexistent/x.pln", error));
    EXPECT_EQ(error, "Cannot open file /nonexistent/x.pln");
}

// Every prefix of every format's file either reads or gives a message: never a crash or a
// different exception.
TEST(PatternReaders, TruncatedFilesNeverCrash)
{
    const auto record = LoadQuvFile(std::string(QUV_SAMPLE_CATALOGUE) + "/TD0865-14.quv");
    for (int index = 0; index < kExportFormatCount; ++index) {
        const TBuilt built = BuildFormat(index, *record);
        for (std::size_t cut = 0; cut < built.bytes.size(); cut += 97) {
            try {
                ReadPatternData(built.bytes.substr(0, cut), built.name,
                                built.companion.substr(0, built.companion.size() - cut / 2));
            } catch (const EPatternFileError&) {
            }
        }
    }
}

// Each format scores its own writer's file above every other format's score, so detection never
// depends on the list's order for the program's own files; the conventions' two directions are
// each other's inverse.
TEST(FormatDescriptors, EachDetectsItsOwnOutputAboveEveryOtherFormat)
{
    const auto record = LoadQuvFile(std::string(QUV_SAMPLE_CATALOGUE) + "/TD1765-17T2.quv");
    const auto& formats = FileFormats();
    for (int own = 0; own < kExportFormatCount; ++own) {
        SCOPED_TRACE(FormatLogName(own));
        const TBuilt built = BuildFormat(own, *record);
        const std::vector<std::string_view> lines = SplitLines(built.bytes);
        const TFormatProbe probe = MakeFormatProbe(lines, built.name);
        const int ownScore = formats[static_cast<std::size_t>(own)]->detect(probe);
        EXPECT_GT(ownScore, 0);
        for (int other = 0; other < kExportFormatCount; ++other) {
            if (other != own) {
                EXPECT_LT(formats[static_cast<std::size_t>(other)]->detect(probe), ownScore)
                    << FormatLogName(other);
            }
        }
        for (const TAngleConvention& c : formats[static_cast<std::size_t>(own)]->angles)
            for (int x = -360; x <= 360; ++x)
                ASSERT_EQ(c.toFile(c.toRecord(x)), x) << c.cut;
    }
}

// Makers' files: the content decides, not the first keyword and not the extension.
TEST(FormatDescriptors, MakerVariantsAreToldByTheirContent)
{
    // An azimuth with its beam 30 degrees off boresight: a mirrored reading puts it at 30.
    const auto block = [](const char* keyword, int first) {
        std::string text = std::string(keyword) + "\t360\r\n";
        for (int k = 0; k < 360; ++k) {
            const int off = std::abs(((k - 330) % 360 + 540) % 360 - 180);
            text += std::to_string(k + first) + "\t" + std::to_string(std::min(off, 40)) + "\r\n";
        }
        return text;
    };
    const std::string tabbedMsi = "NAME\tVX-2\r\nMAKE\tOther Maker\r\nFREQUENCY\t1850\r\n"
                                  "BEAM_WIDTH\t40\r\nGAIN\t17.5 dBi\r\nTILT\tELECTRICAL\r\n" +
                                  block("HORIZONTAL", 0) + block("VERTICAL", 0);
    const std::string numbered = "NAME\tVX-2\r\nFREQUENCY\t1850\r\nBEAM_WIDTH\t40\r\n"
                                 "GAIN\t17.5 dBi\r\n" +
                                 block("HORIZONTAL", 1) + block("VERTICAL", 1);
    const std::string mixedCase = "Name VX-3\r\nFrequency 900\r\nGain 15 dBd\r\n" +
                                  block("Horizontal", 0) + block("Vertical", 0);
    const auto record = LoadQuvFile(std::string(QUV_SAMPLE_CATALOGUE) + "/TD0865-14.quv");
    const struct {
        const char* what;
        std::string text, name, format;
        double peakRecordAngle; // where the azimuth's strongest point lands; -1 to skip
    } cases[] = {
        {"tab-separated MSI with BEAM_WIDTH", tabbedMsi, "vx.msi", "Planet", 330},
        {"the same named .txt", tabbedMsi, "vx.txt", "Planet", 330},
        // Numbered from 1 and counted the other way round: the point numbered 331 is at -331.
        {"points numbered 1 to 360", numbered, "vx.txt", "Odyssey", 29},
        {"mixed-case keywords", mixedCase, "vx.pln", "Planet", 330},
        {"a keyword file named .dat", BuildPlanet("/x/a", *record), "a.dat", "Planet", -1},
        {"a POL_ file named .pln", BuildSiemens("/x/a", *record), "a.pln", "Siemens", -1},
        {"a numbered file named .pln", BuildOdyssey("/x/a", *record), "a.pln", "Odyssey", -1},
        {"NSMA named .txt", BuildNsma("/x/a", *record), "a.txt", "NSMA", -1},
        {"GRANET named .txt", BuildGranet("/x/a", *record, kDay), "a.txt", "Granet", -1},
        {"a dBd QEDesign file named .dap", BuildQeDesign("/x/a", *record), "a.dap", "QEDesign", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TPatternFileData data = ReadPatternData(c.text, c.name);
        EXPECT_EQ(PatternFormatName(data.format), c.format);
        if (c.peakRecordAngle < 0)
            continue;
        const auto& points = data.patterns.front().azimuth.points;
        const auto peak = std::min_element(points.begin(), points.end(),
                                           [](const TPatternPoint& a, const TPatternPoint& b) {
                                               return std::fabs(a.level) < std::fabs(b.level);
                                           });
        EXPECT_EQ(std::fmod(peak->angle + 720, 360), c.peakRecordAngle);
    }
    // A Nokia header over points numbered from 1: two readings that disagree, so neither.
    const std::string ambiguous =
        "AntennaType: VX-4\r\nFREQUENCY 900\r\n" + block("HORIZONTAL", 1) + block("VERTICAL", 1);
    try {
        ReadPatternData(ambiguous, "vx.dat");
        ADD_FAILURE() << "an ambiguous file was read";
    } catch (const EPatternFileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "vx.dat: the file could be read as Odyssey or as Nokia, which read it "
                  "differently");
    }
}

// One gain reader: the same text means the same gain in every keyword format.
TEST(FormatDescriptors, GainWithItsUnitReadsAlikeInEveryKeywordFormat)
{
    const auto record = LoadQuvFile(std::string(QUV_SAMPLE_CATALOGUE) + "/TD0865-14.quv");
    const struct {
        std::string_view text;
        std::optional<double> dbi, dbd; // dBi is derived from a dBd gain
    } gains[] = {
        {"15.5 dBi typical", 15.5, std::nullopt}, {"15.5", 15.5 + kDipoleGainDBi, 15.5},
        {"15.5dBd", 15.5 + kDipoleGainDBi, 15.5}, {"15.5 DBI", 15.5, std::nullopt},
        {"17.1dBi (typ.)", 17.1, std::nullopt},   {"+14 dbd nominal", 14 + kDipoleGainDBi, 14},
        {"high", std::nullopt, std::nullopt},
    };
    const struct {
        const char* format;
        std::string bytes, name, keyword;
    } files[] = {
        {"Planet", BuildPlanet("/x/a", *record), "a.pln", "GAIN "},
        {"GRANET", BuildGranet("/x/a", *record, kDay), "a.pat", "gain "},
        {"CelPlan", BuildCelPlan("/x/a", *record), "a.ant", "Ngn:\t"},
    };
    for (const auto& f : files)
        for (const auto& g : gains) {
            SCOPED_TRACE(std::string(f.format) + ": " + std::string(g.text));
            std::string bytes = f.bytes;
            const std::size_t line = bytes.find("\r\n" + f.keyword);
            ASSERT_NE(line, std::string::npos);
            const std::size_t end = bytes.find("\r\n", line + 2);
            bytes.replace(line + 2, end - line - 2, f.keyword + std::string(g.text));
            const TPatternFileData data = ReadPatternData(bytes, f.name);
            const TFilePattern& p = data.patterns.front();
            EXPECT_EQ(p.gainDBi.value, g.dbi);
            EXPECT_EQ(p.gainDBd.value, g.dbd);
            if (!g.dbi) {
                ASSERT_FALSE(data.notes.empty());
                EXPECT_NE(data.notes.front().text.find("gain 'high' is not a number"),
                          std::string::npos);
            }
        }
}

// The same levels and units in the spellings makers use read the same: a sign on an MSI
// attenuation, GUNITS in any letter case.
TEST(PatternReaders, SpellingsOfLevelsAndUnitsReadAlike)
{
    auto msi = [](const char* sign) {
        std::string text = "NAME S-65\r\nGAIN 15 dBd\r\nHORIZONTAL 360\r\n";
        for (int a = 0; a < 360; ++a)
            text += std::to_string(a) + " " + (a == 0 ? "" : sign) +
                    Format("%.1f", {std::min(30.0, std::fabs(std::remainder(a, 360.0)) / 3)}) +
                    "\r\n";
        text += "VERTICAL 360\r\n";
        for (int a = 0; a < 360; ++a)
            text += std::to_string(a) + " " + (a == 0 ? "" : sign) +
                    Format("%.1f", {std::min(25.0, std::fabs(std::remainder(a - 6, 360.0)))}) +
                    "\r\n";
        return text;
    };
    const TFilePattern bare = ReadPatternData(msi(""), "s.pln").patterns.front();
    const TFilePattern signed_ = ReadPatternData(msi("-"), "s.pln").patterns.front();
    ASSERT_EQ(bare.azimuth.points.size(), signed_.azimuth.points.size());
    for (std::size_t k = 0; k < bare.azimuth.points.size(); ++k) {
        EXPECT_EQ(signed_.azimuth.points[k].level, bare.azimuth.points[k].level) << k;
        EXPECT_LE(signed_.azimuth.points[k].level, 0) << k; // an attenuation, never a gain
        EXPECT_EQ(signed_.elevation.points[k].level, bare.elevation.points[k].level) << k;
    }

    for (const char* units : {"DBD/DBR", "dbd/dbr", "dBd/dBr", "Dbd/DBr"}) {
        SCOPED_TRACE(units);
        std::string nsma = std::string("REVNUM:,NSMA WG16.99.050\r\nMODNUM:,DX-65\r\nGUNITS:,") +
                           units + "\r\nMDGAIN:,15.0\r\n";
        for (const char* plane : {"AZ", "EL"}) {
            nsma += std::string("PATCUT:,") + plane + "\r\nPOLARI:,V/V\r\n";
            for (int a = 0; a < 360; a += 90)
                nsma += std::to_string(a) + (a == 0 ? ",0,\r\n" : ",-10,\r\n");
        }
        const TFilePattern p = ReadPatternData(nsma, "dx.dap").patterns.front();
        ASSERT_TRUE(p.gainDBd);
        EXPECT_DOUBLE_EQ(*p.gainDBd, 15.0);
        EXPECT_DOUBLE_EQ(*p.gainDBi, 15.0 + kDipoleGainDBi);
    }
}

} // namespace
} // namespace quv
