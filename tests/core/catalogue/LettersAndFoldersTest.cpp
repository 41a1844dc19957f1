// Letter case in the code page, the numeric sort at any magnitude, and finding the antenna folder
// whatever its letter case.
#include "catalogue/CaseFold.h"
#include "catalogue/Filters.h"
#include "catalogue/QuvLib.h"
#include "catalogue/SharedLib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdlib.h>

using namespace quv;

namespace {

namespace fs = std::filesystem;
using V = std::vector<std::string>;

class CodePageCase : public ::testing::Test {
protected:
    TCatalogue catalogue;

    void Load(const V& partNumbers)
    {
        std::vector<TQuvFileList::Item> items;
        for (const auto& pn : partNumbers) {
            auto record = std::make_unique<TQuvFile>();
            record->PartNumber = pn;
            TQuvFile* kept = catalogue.AdoptRecord(std::move(record));
            items.push_back({pn, kept});
        }
        catalogue.Catalogue.AddMany(std::move(items));
    }
    V Matches() const
    {
        V texts;
        for (const auto& item : catalogue.MatchList)
            texts.push_back(item.object->PartNumber);
        return texts;
    }
};

TEST(CaseFolding, FoldsTheCodePagesLettersAndNothingElse)
{
    struct Row {
        const char* upper;
        const char* lower;
    };
    // A-Z, the accented capitals, and the four capitals of 0x80-0x9F with their small letters.
    const Row pairs[] = {{"A", "a"},       {"Z", "z"},       {"\xC0", "\xE0"}, {"\xC9", "\xE9"},
                         {"\xD6", "\xF6"}, {"\xD8", "\xF8"}, {"\xDE", "\xFE"}, {"\x8A", "\x9A"},
                         {"\x8C", "\x9C"}, {"\x8E", "\x9E"}, {"\x9F", "\xFF"}};
    for (const Row& row : pairs) {
        SCOPED_TRACE(testing::Message() << std::hex << +static_cast<unsigned char>(row.upper[0]));
        EXPECT_EQ(FoldCase(row.upper), row.lower);
        EXPECT_EQ(FoldCase(row.lower), row.lower);
        EXPECT_TRUE(SameTextIgnoringCase(row.upper, row.lower));
    }
    // Not letter pairs: the multiplication and division signs, sharp s, micro, digits, "@", "[".
    for (const char* kept : {"\xD7", "\xF7", "\xDF", "\xB5", "\xB0", "0", "@", "[", "`", "{"})
        EXPECT_EQ(FoldCase(kept), kept) << +static_cast<unsigned char>(kept[0]);
    EXPECT_FALSE(SameTextIgnoringCase("\xD7", "\xF7"));
    EXPECT_FALSE(SameTextIgnoringCase("@", "`"));
    EXPECT_FALSE(SameTextIgnoringCase("\xC9X-1", "EX-1"));
}

TEST_F(CodePageCase, OnePartNumberInAnyCaseEverywhere)
{
    // Loaded in this order; equal part numbers sit together, the later one first.
    Load({"\xC9X-1", "ZZ-9", "\xE9x-1", "AB-2", "\xE9X-1"});
    ASSERT_EQ(catalogue.Catalogue.Count(), 5);
    V order;
    for (const auto& item : catalogue.Catalogue)
        order.push_back(item.text);
    // Where the run sits among the others is the locale's choice.
    const auto run = std::find(order.begin(), order.end(), "\xE9X-1");
    ASSERT_LE(run - order.begin(), 2);
    EXPECT_EQ(V(run, run + 3), (V{"\xE9X-1", "\xE9x-1", "\xC9X-1"}));
    EXPECT_EQ(CompareTextLocale("\xC9X-1", "\xE9x-1"), 0);
    EXPECT_NE(CompareTextLocale("\xC9X-1", "EX-1"), 0);

    // The part number list keeps one entry (the first met); the command line and the closest
    // match find it from any case.
    V expected;
    for (const auto& text : order)
        if (text != "\xE9x-1" && text != "\xC9X-1")
            expected.push_back(text);
    EXPECT_EQ(PartNumberList(catalogue), expected);
    int found = 0;
    for (const auto& pn : PartNumberList(catalogue))
        found += SameTextIgnoringCase(pn, "\xE9x-1") ? 1 : 0;
    EXPECT_EQ(found, 1);
    FindClosestMatch(catalogue, "\xE9x");
    EXPECT_EQ(Matches().size(), 3u);
    FindClosestMatch(catalogue, "\xC9");
    EXPECT_EQ(Matches().size(), 3u);
    FindClosestMatch(catalogue, "E");
    EXPECT_TRUE(catalogue.MatchList.Empty());
}

TEST_F(CodePageCase, OrderAddedOneByOneEqualsOrderAddedTogether)
{
    const V texts = {"\x8A"
                     "a",
                     "\x9A"
                     "A",
                     "sa",
                     "Sb",
                     "\xC6Z",
                     "\xE6z",
                     "STRASSE",
                     "STRA\xDF"
                     "E",
                     "ab",
                     "AB",
                     "\xC0",
                     "\xE0",
                     "a"};
    Load(texts);
    TQuvFileList single(true);
    for (const auto& text : texts)
        single.Add(text, nullptr);
    ASSERT_EQ(single.Count(), catalogue.Catalogue.Count());
    for (int i = 0; i < single.Count(); ++i)
        EXPECT_EQ(single.Strings(i), catalogue.Catalogue.Strings(i)) << i;
    // Neighbours compare as the fold says: equal exactly when they fold alike.
    for (int i = 0; i + 1 < catalogue.Catalogue.Count(); ++i) {
        const std::string& a = catalogue.Catalogue.Strings(i);
        const std::string& b = catalogue.Catalogue.Strings(i + 1);
        EXPECT_LE(CompareTextLocale(a, b), 0) << i;
        EXPECT_EQ(CompareTextLocale(a, b) == 0, FoldCase(a) == FoldCase(b)) << i;
    }
}

TEST(SortNumericTextsOrder, ValuesOfAnyMagnitudeSortByValue)
{
    V texts{"5e19",  "2e15",   "-5e19", "9.3e14",  "-2e15",  "1e300",
            "1e308", "-1e308", "0",     "1.5e305", "9.2e14", "1e19"};
    SortNumericTexts(texts, 0, static_cast<int>(texts.size()) - 1);
    EXPECT_EQ(texts, (V{"-1e308", "-5e19", "-2e15", "0", "9.2e14", "9.3e14", "2e15", "1e19", "5e19",
                        "1e300", "1.5e305", "1e308"}));
    // The 0.0001 resolution still holds for ordinary values: 1.00001 and 1 are equal.
    V close{"1.00001", "0.9", "1"};
    SortNumericTexts(close, 0, 2);
    EXPECT_EQ(close.front(), "0.9");
}

class AntennaFolderLookup : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "quvfolder-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    std::string root_;
};

TEST_F(AntennaFolderLookup, FindsTheFolderInAnyLetterCase)
{
    struct Row {
        V folders; // made beside the program
        V files;   // plain files made beside the program
        const char* expected;
    };
    const Row rows[] = {
        {{}, {}, "QUV"}, // none: the usual name, for the message
        {{"quv"}, {}, "quv"},
        {{"Quv"}, {}, "Quv"},
        {{"quv", "QUV"}, {}, "QUV"}, // the usual name first
        {{"qUv", "quV"}, {}, "qUv"}, // otherwise the first by name
        {{}, {"quv"}, "QUV"},        // a plain file is not the folder
        {{"quvx", "qu"}, {}, "QUV"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        const std::string program = root_ + "/" + std::to_string(&row - rows);
        fs::create_directories(program);
        for (const auto& f : row.folders)
            fs::create_directory(program + "/" + f);
        for (const auto& f : row.files)
            std::ofstream(program + "/" + f) << "x";
        EXPECT_EQ(AntennaFolder(program), program + "/" + row.expected + "/");
        EXPECT_EQ(AntennaFolder(program + "/"), program + "/" + row.expected + "/");
    }
}

} // namespace
