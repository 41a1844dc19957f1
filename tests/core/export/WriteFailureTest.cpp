// Writes that fail after the temporary file exists: a file-size limit, a full file system, a
// name the rename refuses, and a second target of a pair that may not be replaced. Each leaves
// the targets as they were, no temporary behind, and tells the user which file failed and why.
#include "catalogue/Errors.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "support/ExportFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace quv {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// Files larger than `bytes` cannot be written while this lives; the signal the limit raises is
// ignored so that write() reports EFBIG instead of ending the test.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

std::string Message(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EQuvError& e) {
        return e.what();
    }
    return "no error";
}

TEST(FailedWrites, AWriteCutShortLeavesTheTargetsAndNoTemporary)
{
    TWrittenFiles written;
    TempFolder dir;
    const std::string old = "old contents\r\n";
    const std::string big(4096, 'x');
    const std::string a = dir / "a.txt", b = dir / "b.txt";
    struct Row {
        const char* name;
        std::function<void()> commit;
        std::string failing; // the file the message names
    };
    const Row rows[] = {
        {"one file", [&] { CommitFile(a, big, written); }, a},
        {"first of two",
         [&] {
             CommitFiles({{a, big}, {b, "small"}}, written);
         },
         a},
        {"second of two",
         [&] {
             CommitFiles({{a, "small"}, {b, big}}, written);
         },
         b},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteBytes(a, old);
        WriteBytes(b, old);
        std::string message;
        {
            const FileSizeLimit limit(1000);
            message = Message(row.commit);
        }
        EXPECT_EQ(message, "Cannot write file " + row.failing + ": File too large");
        EXPECT_EQ(ReadBytes(a), old);
        EXPECT_EQ(ReadBytes(b), old);
        EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.txt", "b.txt"}));
    }
    // Within the limit the same calls succeed.
    const FileSizeLimit limit(1000);
    CommitFiles({{a, "1"}, {b, "2"}}, written);
    EXPECT_EQ(ReadBytes(a) + ReadBytes(b), "12");
}

TEST(FailedWrites, ARefusedRenameLeavesNoTemporary)
{
    TWrittenFiles written;
    TempFolder dir;
    const std::string tooLong = dir / std::string(300, 'n');
    EXPECT_EQ(Message([&] { CommitFile(tooLong, "x", written); }),
              "Cannot write file " + tooLong + ": File name too long");
    EXPECT_TRUE(dir.Names().empty());

    // A pair whose second name cannot exist is refused before the first is replaced.
    WriteBytes(dir / "first.h", "old");
    EXPECT_EQ(Message([&] {
                  CommitFiles({{dir / "first.h", "new"}, {tooLong, "x"}}, written);
              }),
              "Cannot create file " + tooLong + ": File name too long");
    EXPECT_EQ(ReadBytes(dir / "first.h"), "old");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"first.h"});
}

TEST(FailedWrites, ASecondTargetThatMayNotBeReplacedStopsThePairBeforeTheFirst)
{
    TWrittenFiles written;
    TempFolder dir;
    const std::string first = dir / "AB.hor", second = dir / "AB.ver";
    struct Row {
        const char* name;
        std::function<void()> protect;
        std::function<void()> undo;
        const char* reason;
    };
    const Row rows[] = {
        {"write-protected file",
         [&] {
             WriteBytes(second, "kept");
             fs::permissions(second, fs::perms::owner_read);
         },
         [&] {
             fs::permissions(second, fs::perms::owner_all);
             fs::remove(second);
         },
         ": Permission denied"},
        {"folder", [&] { fs::create_directory(second); }, [&] { fs::remove(second); },
         ": Is a directory"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteBytes(first, "old first");
        row.protect();
        EXPECT_EQ(Message([&] {
                      CommitFiles({{first, "new first"}, {second, "new second"}}, written);
                  }),
                  "Cannot create file " + second + row.reason);
        EXPECT_EQ(ReadBytes(first), "old first");
        EXPECT_EQ(dir.Names(), (std::vector<std::string>{"AB.hor", "AB.ver"}));
        row.undo();
    }
}

TEST(FailedWrites, TheErrorLogNamesTheAntennaTheFileAndTheReason)
{
    TempFolder dir;
    const auto record = test::MakeRecord();
    TQuvFileList list;
    list.Add(record->PartNumber, record.get());
    const std::string target = dir / "ABC123_P45.pln";
    const std::string tail =
        "\r\n\r\nExport to Planet\r\n0 out of 1 files were successfully exported\r\n";
    auto expected = [&](const std::string& reason) {
        return "Error 1\r\nAn error occured while attempting to save \"ABC123\" to \"" +
               dir.Path() + "/ABC123_P45.pln\".\r\nWith message, \"" + reason + "\"." + tail;
    };

    // A write cut short after the temporary file was made.
    {
        const FileSizeLimit limit(1000);
        const auto report = ExportAllMatches(list, dir.Path(), 0, ExportToday());
        EXPECT_EQ(LogBytes(report.log),
                  expected("Cannot write file " + target + ": File too large"));
    }
    EXPECT_TRUE(dir.Names().empty());

    // An existing target the user write-protected.
    WriteBytes(target, "kept");
    fs::permissions(target, fs::perms::owner_read);
    const auto report = ExportAllMatches(list, dir.Path(), 0, ExportToday());
    EXPECT_EQ(LogBytes(report.log),
              expected("Cannot create file " + target + ": Permission denied"));
    EXPECT_EQ(ReadBytes(target), "kept");
    fs::permissions(target, fs::perms::owner_all);

    // A folder that is gone: the system says why.
    const std::string gone = dir / "gone";
    EXPECT_NE(
        LogBytes(ExportAllMatches(list, gone, 0, ExportToday()).log)
            .find("Cannot create file " + gone + "/ABC123_P45.pln: No such file or directory"),
        std::string::npos);

    // The message box of "Export Selected Antennas" for the same failure.
    std::string message;
    {
        const FileSizeLimit limit(1000);
        EXPECT_FALSE(WriteExportFile(dir / "X", *record, 0, ExportToday(), message));
    }
    EXPECT_EQ(message,
              "Unable to save \"" + dir / "X" + "\".\r\rDrive may not be ready or is read-only.");
}

TEST(RefusedNames, EachRefusalSaysWhyTheNameCannotBeUsed)
{
    TExportRun run{ExportToday()};
    TempFolder dir;
    struct Row {
        const char* partNumber;
        const char* patternFile;
        std::string why;
    };
    const Row rows[] = {
        {"AB\\1", "P45",
         "holds a backslash, which planning tools on other systems read as a folder separator"},
        {"AB", "sub\\P1",
         "holds a backslash, which planning tools on other systems read as a folder separator"},
        {"../AB", "P45", "would leave the destination folder"},
        {"AB", "sub/P1", "would leave the destination folder"},
        {"..\\AB", "x/y", "would leave the destination folder"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.partNumber);
        auto header = test::BaseHeader();
        header["Part Number"] = row.partNumber;
        header["Pattern File Name"] = row.patternFile;
        const auto record = test::MakeRecord(header);
        const std::string name = std::string(row.partNumber) + "_" + row.patternFile;
        std::string error;
        TryExportMatch(dir.Path(), *record, 0, run, error);
        EXPECT_EQ(error, "An error occured while attempting to save \"" +
                             std::string(row.partNumber) + "\" to \"" + dir / name +
                             ".pln\".\rWith message, \"The file name \"" + name + "\" " + row.why +
                             "\".");
    }
    EXPECT_TRUE(dir.Names().empty());
}

// A small file system of its own, mounted where the caller may (root); skipped elsewhere.
class SmallFileSystem {
public:
    SmallFileSystem()
    {
        if (::geteuid() == 0 &&
            ::mount("tmpfs", folder_.Path().c_str(), "tmpfs", 0, "size=64k") == 0)
            mounted_ = true;
    }
    ~SmallFileSystem()
    {
        if (mounted_)
            ::umount2(folder_.Path().c_str(), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }
    const TempFolder& Dir() const { return folder_; }

    // Fills every free block with one file.
    void Fill()
    {
        std::FILE* f = std::fopen((folder_ / "filler").c_str(), "wb");
        const std::string block(4096, 'f');
        while (std::fwrite(block.data(), 1, block.size(), f) == block.size() &&
               std::fflush(f) == 0) {
        }
        std::fclose(f);
    }

private:
    TempFolder folder_;
    bool mounted_ = false;
};

TEST(FailedWrites, AFullFileSystemFailsTheAntennaAndKeepsTheOlderFile)
{
    TExportRun run{ExportToday()};
    SmallFileSystem fsys;
    if (!fsys.Mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    const TempFolder& dir = fsys.Dir();
    const auto record = test::MakeRecord();
    const std::string target = dir / "AB.pln";
    WriteBytes(target, "older");
    fsys.Fill();

    std::string error;
    TryWriteExportFile(dir / "AB", *record, 0, run, error);
    EXPECT_EQ(error, "An error occured while attempting to save \"ABC123\" to \"" + target +
                         "\".\rWith message, \"Cannot write file " + target +
                         ": No space left on device\".");
    EXPECT_EQ(ReadBytes(target), "older");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"AB.pln", "filler"}));

    // With room again the same export replaces it, and is flushed without complaint.
    fs::remove(dir / "filler");
    std::string message;
    EXPECT_TRUE(WriteExportFile(dir / "AB", *record, 0, ExportToday(), message)) << message;
    EXPECT_NE(ReadBytes(target), "older");
}

TEST(DurableWrites, AFlushCoversWhatWasWrittenAndForgetsIt)
{
    TWrittenFiles written;
    TempFolder dir;
    CommitFile(dir / "a.txt", "a", written);
    CommitFiles({{dir / "b.txt", "b"}, {dir / "c.txt", "c"}}, written);
    EXPECT_NO_THROW(written.Flush());
    EXPECT_NO_THROW(written.Flush()); // nothing pending

    // Files written into a folder that is gone before the flush do not fail a later command.
    {
        TempFolder gone;
        CommitFile(gone / "x.txt", "x", written);
    }
    CommitFileDurably(dir / "d.txt", "d");
    EXPECT_EQ(ReadBytes(dir / "d.txt"), "d");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt", "d.txt"}));
}

} // namespace
} // namespace quv
