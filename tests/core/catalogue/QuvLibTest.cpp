#include "catalogue/QuvLib.h"
#include "catalogue/Errors.h"
#include "catalogue/TextFile.h"
#include "support/TestRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace quv;
namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder()
    {
        path_ = fs::temp_directory_path() /
                ("quvlib-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    std::string Str() const { return path_.string(); }
    void Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(path_ / name, std::ios::binary) << text;
    }

private:
    fs::path path_;
    static inline int counter_ = 0;
};

std::vector<std::string> Texts(const TQuvFileList& list)
{
    std::vector<std::string> out;
    for (const auto& item : list)
        out.push_back(item.text);
    return out;
}

struct CatalogueReset : ::testing::Test {
    TCatalogue catalogue;
};

} // namespace

TEST(QuvFileListOrder, LocaleOrderIgnoringCaseWithLaterEqualsFirst)
{
    TQuvFile a, b, c, d, e;
    TQuvFileList list(true);
    list.Add("TQ-20", &a);
    list.Add("tq-100", &b);
    list.Add("TQ-100", &c); // equal ignoring case: goes before the one already there
    list.Add("AB-5", &d);
    list.Add("tq-100", &e);
    EXPECT_EQ(Texts(list),
              (std::vector<std::string>{"AB-5", "tq-100", "TQ-100", "tq-100", "TQ-20"}));
    EXPECT_EQ(list.Objects(1), &e);
    EXPECT_EQ(list.Objects(2), &c);
    EXPECT_EQ(list.Objects(3), &b);
    EXPECT_THROW(list.Objects(5), EListError);
    EXPECT_THROW(list.Strings(-1), EListError);

    // Adding many at once leaves exactly the same order as adding one by one.
    TQuvFileList bulk(true);
    bulk.AddMany({{"TQ-20", &a}, {"tq-100", &b}, {"TQ-100", &c}, {"AB-5", &d}, {"tq-100", &e}});
    EXPECT_EQ(Texts(bulk), Texts(list));
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_EQ(bulk.Objects(i), list.Objects(i));

    TQuvFileList unsorted;
    unsorted.Add("Z", &a);
    unsorted.Add("A", &b);
    EXPECT_EQ(Texts(unsorted), (std::vector<std::string>{"Z", "A"}));
}

TEST_F(CatalogueReset, FolderScanLoadsGoodFilesAndReportsEachFailure)
{
    TempFolder dir;
    dir.Write("one.quv", quvtest::MakeQuvText("Part Number=TQ-7"));
    dir.Write("two.QUV", quvtest::MakeQuvText("Part Number=TQ-7"));
    dir.Write("short.quv", quvtest::MakeQuvText("Part Number=TQ-8", 700));
    dir.Write("shorter.quv", quvtest::MakeQuvText("Part Number=TQ-8", 180));
    dir.Write("other.txt", quvtest::MakeQuvText("Part Number=TQ-9"));
    fs::create_directory(fs::path(dir.Str()) / "folder.quv");

    int calls = 0, lastTotal = 0;
    const TLoadReport report = catalogue.LoadFolder(dir.Str(), [&](int done, int total) {
        ++calls;
        lastTotal = total;
        EXPECT_EQ(done, calls);
    });
    EXPECT_EQ(report.fileCount, 4);
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(lastTotal, 4);
    EXPECT_EQ(report.loaded, 2);
    // The report names the cut that is short and what it holds, not the list position.
    ASSERT_EQ(report.failures.size(), 2u);
    EXPECT_EQ(report.failures[0].name, "short.quv");
    EXPECT_EQ(report.failures[0].message, "the elevation cut holds 339 of 361 points");
    EXPECT_EQ(report.failures[1].name, "shorter.quv");
    EXPECT_EQ(report.failures[1].message, "the azimuth cut holds 179 of 361 points");
    ASSERT_EQ(catalogue.Catalogue.Count(), 2);
    EXPECT_EQ(catalogue.Catalogue.Strings(0), "TQ-7");
    EXPECT_EQ(catalogue.Catalogue.Strings(1), "TQ-7");
    EXPECT_NE(catalogue.Catalogue.Objects(0), catalogue.Catalogue.Objects(1));

    catalogue.FreeRecords();
    EXPECT_EQ(catalogue.Catalogue.Count(), 0);
    const TLoadReport none = catalogue.LoadFolder(dir.Str() + "/missing");
    EXPECT_EQ(none.fileCount, 0);
    EXPECT_TRUE(none.failures.empty());
}

TEST(ListFilesMask, MatchesFilesOnlyIgnoringCase)
{
    TempFolder dir;
    dir.Write("a.quv", "x");
    dir.Write(".hidden.quv", "x");
    dir.Write("b.quvx", "x");
    fs::create_directory(fs::path(dir.Str()) / "c.quv");
    std::vector<std::string> names;
    ListFiles(dir.Str() + "/*.QUV", names);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden.quv", "a.quv"}));
    names.clear();
    ListFiles(dir.Str() + "/*.none", names);
    EXPECT_TRUE(names.empty());
}

TEST(SortNumericTextsOrder, NumericNotTextual)
{
    std::vector<std::string> t{"870", "806", "1710", "824.5", "0.00005", "0"};
    SortNumericTexts(t, 0, 5);
    EXPECT_EQ(t, (std::vector<std::string>{"0", "0.00005", "806", "824.5", "870", "1710"}));
    std::vector<std::string> part{"9", "3", "1", "2"};
    SortNumericTexts(part, 1, 3);
    EXPECT_EQ(part, (std::vector<std::string>{"9", "1", "2", "3"}));
    SortNumericTexts(part, 2, 1); // empty range left alone
    std::vector<std::string> bad{"1", "x"};
    EXPECT_THROW(SortNumericTexts(bad, 0, 1), EConvertError);
}

TEST(CommitFileWrites, AllOrNothing)
{
    TWrittenFiles written;
    TempFolder dir;
    const std::string target = dir.Str() + "/out.txt";
    TTextBuilder text;
    text.Line("a");
    text.Line("b\xB0");
    CommitFile(target, text.Bytes(), written);
    std::ifstream in(target, std::ios::binary);
    const std::string got((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(got, "a\r\nb\xB0\r\n");

    // A second file that cannot be written leaves the first target untouched and no temporaries.
    EXPECT_THROW(CommitFiles({{target, "new"}, {dir.Str() + "/missing/x.txt", "y"}}, written),
                 EQuvError);
    std::ifstream again(target, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), {}), got);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.Str()))
        ++entries;
    EXPECT_EQ(entries, 1);

    EXPECT_THROW(CommitFile(dir.Str() + "/gone/x.txt", "y", written), EFCreateError);

    // A write-protected file is not replaced behind the user's back, nor is a folder.
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_THROW(CommitFile(target, "new", written), EFCreateError);
    std::ifstream kept(target, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(kept)), {}), got);
    fs::create_directory(dir.Str() + "/sub");
    EXPECT_THROW(CommitFile(dir.Str() + "/sub", "new", written), EFCreateError);
    EXPECT_TRUE(IsSafeFileName("TQ-7.pln"));
    EXPECT_FALSE(IsSafeFileName("a/b.pln"));
    EXPECT_FALSE(IsSafeFileName(".."));
    EXPECT_FALSE(IsSafeFileName(""));
}
