#include "reference/PatternBatch.h"

#include "support/ExportFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace quv;
namespace fs = std::filesystem;

TEST(RemoveImportedFiles, DeletesOnlyDataFilesOfTheUsersFolder)
{
    quv::test::TempFolder root;
    const std::string user = root / "user/", program = root / "program/";
    fs::create_directories(user);
    fs::create_directories(program);
    for (const std::string& path :
         {user + "a.quv", user + "b.QUV", user + "notes.txt", program + "own.quv"})
        quv::test::WriteBytes(path, "x");
    fs::create_symlink(program + "own.quv", user + "link.quv");
    fs::create_directory(user + "folder.quv");
    const std::string refused = "not a data file of the user's catalogue; refused";
    const std::vector<TFileProblem> expected{{program + "own.quv", refused},
                                             {user + "../program/own.quv", refused},
                                             {user + "link.quv", refused},
                                             {user + "notes.txt", refused},
                                             {user + "folder.quv", "not a regular file"},
                                             {user + "gone.quv", "the file does not exist"}};
    std::vector<std::string> paths{user + "a.quv", user + "b.QUV"};
    for (const TFileProblem& p : expected)
        paths.push_back(p.path);

    const std::vector<TFileProblem> problems = RemoveImportedFiles(paths, user);
    ASSERT_EQ(problems.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(problems[i].path + ": " + problems[i].reason,
                  expected[i].path + ": " + expected[i].reason);
    EXPECT_FALSE(fs::exists(user + "a.quv") || fs::exists(user + "b.QUV"));
    EXPECT_TRUE(fs::exists(program + "own.quv") && fs::is_symlink(user + "link.quv") &&
                fs::exists(user + "notes.txt"));
    // Without a folder nothing is deleted.
    EXPECT_EQ(RemoveImportedFiles({user + "notes.txt"}, "").size(), 1u);
}

// Two patterns of one file that end up with one name each keep a file of their own.
TEST(ImportPatternFiles, PatternsOfOneFileNeverShareATarget)
{
    quv::test::TempFolder root;
    std::string nsma = "REVNUM:,NSMA WG16.99.050\r\nMODNUM:,DX-65\r\nGUNITS:,DBD/DBR\r\n"
                       "MDGAIN:,15.0\r\n";
    for (const char* level : {"-3", "-9"})
        for (const char* plane : {"AZ", "EL"}) {
            nsma += std::string("PATCUT:,") + plane + "\r\nPOLARI:,V/V\r\n";
            for (int a = 0; a < 360; ++a)
                nsma += std::to_string(a) + "," + (a == 0 ? "0" : level) + ",\r\n";
        }
    quv::test::WriteBytes(root / "dx.dap", nsma);

    const TBatchReport report = ImportPatternFiles({root / "dx.dap"}, root / "out", false);
    ASSERT_EQ(report.Failed(), 0) << report.items[0].error;
    const std::vector<std::string> expected{root / "out/DX-65_V.quv", root / "out/DX-65_V_2.quv"};
    EXPECT_EQ(report.items[0].targets, expected);
    EXPECT_NE(quv::test::ReadBytes(expected[0]), quv::test::ReadBytes(expected[1]));
}
