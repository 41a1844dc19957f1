#include "reference/PatternBatch.h"

#include "support/ExportFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace quv;
namespace fs = std::filesystem;
using quv::test::WriteBytes;

TEST(RemoveImportedFiles, DeletesOnlyDataFilesOfTheUsersFolder)
{
    quv::test::TempFolder root;
    const std::string user = root / "user/", program = root / "program/";
    fs::create_directories(user + "folder.quv");
    fs::create_directories(program);
    for (const char* name : {"a.QUV", "notes.txt"})
        WriteBytes(user + name, "x");
    WriteBytes(program + "own.quv", "x");
    fs::create_symlink(program + "own.quv", user + "link.quv");
    const std::string refused = ": not a data file of the user's catalogue; refused";
    const std::vector<std::string> expected{program + "own.quv" + refused,
                                            user + "../program/own.quv" + refused,
                                            user + "link.quv" + refused,
                                            user + "notes.txt" + refused,
                                            user + "folder.quv: not a regular file",
                                            user + "gone.quv: the file does not exist"};
    std::vector<std::string> paths{user + "a.QUV"};
    for (const std::string& e : expected)
        paths.push_back(e.substr(0, e.find(": ")));

    std::vector<std::string> problems;
    for (const TFileProblem& p : RemoveImportedFiles(paths, user))
        problems.push_back(p.path + ": " + p.reason);
    EXPECT_EQ(problems, expected);
    EXPECT_FALSE(fs::exists(user + "a.QUV"));
    EXPECT_TRUE(fs::exists(program + "own.quv") && fs::is_symlink(user + "link.quv"));
    EXPECT_EQ(RemoveImportedFiles({user + "notes.txt"}, "").size(), 1u) << "no folder, no deletion";
}

// Two patterns of one file whose names make one file name keep a file each.
TEST(ImportPatternFiles, PatternsOfOneFileNeverShareATarget)
{
    quv::test::TempFolder root;
    std::string nsma = "REVNUM:,NSMA WG16.99.050\r\nMODNUM:,DX-65\r\nGUNITS:,DBD/DBR\r\n";
    for (const char* level : {"-3", "-9"})
        for (const char* plane : {"AZ", "EL"}) {
            nsma += std::string("PATCUT:,") + plane + "\r\nPOLARI:,V/V\r\n";
            for (int a = 0; a < 360; ++a)
                nsma += std::to_string(a) + "," + (a == 0 ? "0" : level) + ",\r\n";
        }
    WriteBytes(root / "dx.dap", nsma);
    const TBatchReport report = ImportPatternFiles({root / "dx.dap"}, root / "out", false);
    ASSERT_EQ(report.Failed(), 0) << report.items[0].error;
    const std::vector<std::string> expected{root / "out/DX-65_V.quv", root / "out/DX-65_V_2.quv"};
    EXPECT_EQ(report.items[0].targets, expected);
    EXPECT_NE(quv::test::ReadBytes(expected[0]), quv::test::ReadBytes(expected[1]));
}
