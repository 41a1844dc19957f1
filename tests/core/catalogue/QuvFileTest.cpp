#include "catalogue/QuvFile.h"
#include "catalogue/Errors.h"
#include "catalogue/SharedLib.h"
#include "support/TestRecords.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

using namespace quv;
using quvtest::MakeQuvText;

namespace {

std::unique_ptr<TQuvFile> Load(const std::string& text)
{
    auto record = std::make_unique<TQuvFile>();
    record->LoadFromBytes(text, "mem.quv");
    return record;
}

} // namespace

TEST(QuvFileSections, FoundByWholeLineIgnoringCaseButNotWithBlanks)
{
    const std::string lower = "[header]\nPart Number=TQ-1\n\n[points]\n" +
                              MakeQuvText("").substr(MakeQuvText("").find("-180="));
    EXPECT_EQ(Load(lower)->PartNumber, "TQ-1");

    std::string trailing = MakeQuvText("Part Number=TQ-2");
    trailing.replace(trailing.find("[HEADER]"), 8, "[HEADER] ");
    EXPECT_EQ(Load(trailing)->PartNumber, "");
}

TEST(QuvFileHeader, FirstKeyWinsValueKeptWholeAndUntrimmed)
{
    const auto holder = Load(MakeQuvText("Gain, dBd=14.0\r\ngain, DBD=15.0\r\n"
                                         "Description=Panel = 65 deg =x \r\n"
                                         "Part Number =TQ-9\r\nAntenna Type= Omni"));
    const TQuvFile& r = *holder;
    EXPECT_EQ(r.GainDBd, "14.0");
    EXPECT_EQ(r.Description, "Panel = 65 deg =x ");
    EXPECT_EQ(r.PartNumber, ""); // a blank before "=" is part of the key
    EXPECT_EQ(r.AntennaType, " Omni");
    EXPECT_EQ(r.GainDBi, "");
    EXPECT_EQ(r.Make, "Tavrin Corporation");
    EXPECT_EQ(r.FileName, "mem.quv");
}

// A file a modern editor saved as UTF-8 reads as the letters it holds; what Windows-1252 cannot
// hold becomes "?" and is counted. A Windows-1252 file is kept byte for byte.
TEST(QuvFileHeader, Utf8FilesReadAsTheirLetters)
{
    const auto utf8 = Load(MakeQuvText("Description=f\xC3\xBCr \xC2\xB1"
                                       "45\xC2\xB0 \xE2\x89\xA4 "
                                       "\xE2\x82\xAC"));
    EXPECT_EQ(utf8->Description, "f\xFCr \xB1"
                                 "45\xB0 ? \x80");
    EXPECT_EQ(utf8->Utf8Replaced, 1);
    const auto latin = Load(MakeQuvText("Description=f\xFCr \xB1"
                                        "45\xB0 \xC3\xBC"));
    EXPECT_EQ(latin->Description, "f\xFCr \xB1"
                                  "45\xB0 \xC3\xBC");
    EXPECT_EQ(latin->Utf8Replaced, 0);
}

TEST(QuvFileHeader, EveryKeyFillsItsOwnField)
{
    std::string header;
    for (const auto& k : HeaderKeys())
        header += std::string(k.key) + "=v:" + std::string(k.key) + "\r\n";
    header.pop_back();
    header.pop_back();
    const auto holder = Load(MakeQuvText(header));
    const TQuvFile& r = *holder;
    ASSERT_EQ(HeaderKeys().size(), 46u);
    for (const auto& k : HeaderKeys())
        EXPECT_EQ(r.*k.field, "v:" + std::string(k.key));
}

TEST(QuvFileHeader, HeaderRunningIntoPointsStillLoads)
{
    // MakeQuvText puts no blank line between the sections.
    const std::string text = MakeQuvText("Part Number=TQ-3");
    const auto holder = Load(text);
    const TQuvFile& r = *holder;
    EXPECT_EQ(r.PartNumber, "TQ-3");
    EXPECT_EQ(r.Azimuth.size(), 361u);
}

TEST(QuvFilePoints, CutsAreReorderedFromTheFileAngles)
{
    const auto holder = Load(MakeQuvText("Part Number=X"));
    const TQuvFile& r = *holder;
    ASSERT_EQ(r.Azimuth.size(), 361u);
    ASSERT_EQ(r.Elevation.size(), 361u);
    EXPECT_EQ(r.Azimuth[0], "-180.5");   // position 180, angle 0
    EXPECT_EQ(r.Azimuth[180], "-360.5"); // position 360
    EXPECT_EQ(r.Azimuth[181], "-1.5");   // position 1, angle -179
    EXPECT_EQ(r.Azimuth[360], "-180.5");
    EXPECT_EQ(r.Elevation[0], "-541.5");
    EXPECT_EQ(r.Elevation[180], "-721.5");
    EXPECT_EQ(r.Elevation[181], "-362.5");
    EXPECT_EQ(r.Elevation[360], "-541.5");
    EXPECT_EQ(r.AzimuthAt(0), "-180.5");
    EXPECT_EQ(r.AzimuthAt(360), "-180.5");
    EXPECT_EQ(r.AzimuthAt(1), "-179.5"); // angle -1
    EXPECT_EQ(r.AzimuthAt(90), r.Azimuth[270]);
    EXPECT_EQ(r.ElevationAt(1), "-540.5");
    EXPECT_THROW(r.AzimuthAt(361), EListError);
}

TEST(QuvFilePoints, ExactlyEnoughLoadsOneShortFailsWithTheMissingPosition)
{
    EXPECT_NO_THROW(Load(MakeQuvText("", 722)));
    EXPECT_NO_THROW(Load(MakeQuvText("", 800)));
    try {
        Load(MakeQuvText("", 721));
        FAIL() << "no error for 721 points";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (721)");
    }
    // A blank line inside the points ends the section early.
    std::string gap = MakeQuvText("");
    gap.insert(gap.find("100=-280.5"), "\r\n");
    EXPECT_THROW(Load(gap), EListError);
    try {
        Load("[HEADER]\r\nPart Number=X\r\n");
        FAIL() << "no error without points";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (180)");
    }
}

TEST(QuvFilePoints, LinesWithoutEqualsAreTakenWholeAndOtherLineEndsWork)
{
    std::string text = "[POINTS]\n";
    for (int k = 0; k < 722; ++k)
        text +=
            (k == 180 ? std::string("  -3.25") : "a=" + std::to_string(k)) + (k % 2 ? "\r" : "\n");
    const auto holder = Load(text);
    const TQuvFile& r = *holder;
    EXPECT_EQ(r.Azimuth[0], "  -3.25");
    EXPECT_EQ(r.Azimuth[1], "181");
    // A NUL byte ends the text.
    std::string nul = MakeQuvText("Part Number=X");
    nul.insert(nul.find("[POINTS]"), std::string(1, '\0'));
    EXPECT_THROW(Load(nul), EListError);
}

TEST(QuvFileValues, FrontToBackAndLength)
{
    TQuvFile r;
    r.FrontToBackRatio = "  >28";
    EXPECT_DOUBLE_EQ(r.FrontToBackValue(), 28.0);
    r.FrontToBackRatio = "> 30";
    EXPECT_DOUBLE_EQ(r.FrontToBackValue(), 30.0);
    r.FrontToBackRatio = "high";
    try {
        r.FrontToBackValue();
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'high' is not a valid floating point value");
    }
    r.Length = "1295 (51.0)";
    EXPECT_DOUBLE_EQ(r.LengthValue(), 1295.0);
    r.Length = "1295";
    EXPECT_THROW(r.LengthValue(), EConvertError);
}

TEST(QuvFileLoad, MissingFileRaisesTheOpenErrorWithThePath)
{
    TQuvFile r;
    try {
        r.LoadFromFile("/nonexistent/a.quv");
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_STREQ(e.what(), "Cannot open file /nonexistent/a.quv");
    }
    EXPECT_TRUE(r.PartNumber.empty());
    EXPECT_TRUE(r.Azimuth.empty());
}

TEST(SharedLibText, SectionAndTextAfter)
{
    const std::string text = "x\n[A]\n\nnext\n\nnot taken";
    TLines lines = SplitLines(text), section{"keep"};
    ExtractSection("[B]", lines, section);
    EXPECT_EQ(section, TLines{"keep"}); // absent section leaves the target alone
    ExtractSection("[a]", lines, section);
    // The line after the section line is always taken, even blank, and the section runs on.
    EXPECT_EQ(section, (TLines{"", "next"}));
    const std::string last = "x\n[A]";
    lines = SplitLines(last);
    ExtractSection("[A]", lines, section);
    EXPECT_TRUE(section.empty());
    EXPECT_EQ(TextAfter("a=b=c", '='), "b=c");
    EXPECT_EQ(TextAfter("abc", '='), "abc");
}

TEST(QuvFilePoints, BothCutsCloseAtThreeHundredSixtyDegrees)
{
    const auto holder = Load(MakeQuvText("Part Number=X"));
    const TQuvFile& r = *holder;
    struct Row {
        std::string_view (TQuvFile::*at)(int) const;
        const char* name;
    };
    for (const Row& row :
         {Row{&TQuvFile::AzimuthAt, "azimuth"}, Row{&TQuvFile::ElevationAt, "elevation"}}) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ((r.*row.at)(360), (r.*row.at)(0));
        EXPECT_NE((r.*row.at)(359), (r.*row.at)(0));
        EXPECT_THROW((r.*row.at)(361), EListError);
        EXPECT_THROW((r.*row.at)(-1), EListError);
    }
    EXPECT_EQ(r.ElevationAt(360), "-541.5");
}
