#include "catalogue/UserFolders.h"

#include "export/ExportLib.h"
#include "support/ExportFixture.h"
#include "support/FileFlags.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <linux/fs.h>
#include <optional>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace quv;
namespace fs = std::filesystem;

namespace {

// Sets an environment variable for one scope and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Makes `folder` unwritable for this process: permissions for a user, the immutable flag for root.
bool MakeReadOnly(const std::string& folder)
{
    const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(folder, write, fs::perm_options::remove);
    return ::access(folder.c_str(), W_OK) != 0 || test::SetImmutable(folder, true);
}

void Undo(const std::string& folder)
{
    test::SetImmutable(folder, false);
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
}

} // namespace

TEST(UserFolders, CatalogueFallsBackToTheUserFolderOnlyWhenTheProgramFolderHasNoDataFile)
{
    test::TempFolder t;
    const std::string full = t / "full", full2 = t / "full2", empty = t / "empty",
                      other = t / "other", dirOnly = t / "dironly", missing = t / "missing";
    for (const auto& f : {full, full2, empty, other, dirOnly})
        fs::create_directories(f);
    std::ofstream(full + "/a.quv") << "x";
    std::ofstream(full2 + "/b.quv") << "x";
    std::ofstream(other + "/notes.txt") << "x";
    fs::create_directories(dirOnly + "/folder.quv"); // a folder named like a data file is none

    struct Case {
        std::string beside, user, expected;
    } cases[] = {
        {full, full2, full + "/"},    // the program's own catalogue always wins
        {full + "/", "", full + "/"}, // no user folder at all
        {empty, full, full + "/"},    // a maker's update dropped in by the user
        {missing, full, full + "/"},  // no "QUV" beside the program
        {other, full2, full2 + "/"},  // only files of other kinds beside the program
        {dirOnly, full, full + "/"},  //
        {empty, other, empty + "/"},  // neither has data: the message names the program's folder
        {missing, dirOnly, missing + "/"}, {missing, "", missing + "/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseCatalogueFolder(c.beside, c.user), c.expected)
            << "beside " << c.beside << ", user " << c.user;
    EXPECT_TRUE(HasDataFiles(full));
    EXPECT_FALSE(HasDataFiles(dirOnly));
    EXPECT_FALSE(HasDataFiles(""));
}

TEST(UserFolders, SettingsStayBesideAWritableProgramAndMoveToTheUserOtherwise)
{
    test::TempFolder t;
    const std::string program = t / "program", config = t / "config/QUV Select";
    fs::create_directories(program);

    EXPECT_EQ(ChooseSettingsFolder(program, config), program + "/");
    EXPECT_FALSE(fs::exists(config)) << "nothing is created for a writable program folder";
    EXPECT_EQ(ChooseSettingsFolder(t / "missing", config), config + "/");
    EXPECT_TRUE(fs::is_directory(config)) << "the user's folder is made ready for the first write";
    // Packages own /usr; even root must not leave a settings file there.
    EXPECT_EQ(ChooseSettingsFolder("/usr/lib/quvselect/", config), config + "/");
    EXPECT_EQ(ChooseSettingsFolder("/usr", config), config + "/");
    EXPECT_EQ(ChooseSettingsFolder(t / "missing", ""), t / "missing/")
        << "with no user folder there is nowhere better";

    // A read-only program folder: the remembered export folder survives two runs in the user's
    // folder, and nothing is written beside the program.
    const std::string readOnly = t / "readonly";
    fs::create_directories(readOnly);
    if (!MakeReadOnly(readOnly)) {
        Undo(readOnly);
        GTEST_SKIP() << "cannot make a folder read-only here";
    }
    const std::string first = ChooseSettingsFolder(readOnly, config);
    EXPECT_EQ(first, config + "/");
    EXPECT_NO_THROW(WriteExportFolder(first, "/data/export/"));
    EXPECT_EQ(ReadExportFolder(ChooseSettingsFolder(readOnly, config)), "/data/export/");
    EXPECT_FALSE(fs::exists(readOnly + "/quvselect.ini"));
    Undo(readOnly);
}

TEST(UserFolders, UserFoldersFollowTheDesktopsDataAndConfigHomes)
{
    {
        const ScopedEnv data("XDG_DATA_HOME", "/srv/home/u/data");
        const ScopedEnv conf("XDG_CONFIG_HOME", "/srv/home/u/conf");
        EXPECT_EQ(UserCatalogueFolder(), "/srv/home/u/data/QUV Select/QUV/");
        EXPECT_EQ(UserConfigFolder(), "/srv/home/u/conf/QUV Select/");
    }
    {
        const ScopedEnv home("HOME", "/srv/home/v");
        const ScopedEnv data("XDG_DATA_HOME", "");
        const ScopedEnv conf("XDG_CONFIG_HOME", "");
        EXPECT_EQ(UserCatalogueFolder(), "/srv/home/v/.local/share/QUV Select/QUV/");
        EXPECT_EQ(UserConfigFolder(), "/srv/home/v/.config/QUV Select/");
    }
}
