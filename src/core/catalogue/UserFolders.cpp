#include "catalogue/UserFolders.h"

#include "catalogue/QuvLib.h"

// QtCore only for QStandardPaths: the user's folders as the desktop defines them (XDG variables
// and their defaults), the same for the window and quvtool.
#include <QStandardPaths>
#include <QString>

#include <filesystem>
#include <unistd.h>
#include <vector>

namespace quv {

namespace {

constexpr const char* kApplicationName = "QUV Select";

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

// Generic locations plus the application name equal the App locations of a program with no
// organisation name, and do not depend on which program set its name first.
std::string AppFolder(QStandardPaths::StandardLocation generic)
{
    const QString base = QStandardPaths::writableLocation(generic);
    if (base.isEmpty())
        return {};
    return WithSlash(base.toStdString()) + kApplicationName + "/";
}

bool UnderUsr(const std::string& folder)
{
    std::error_code ec;
    std::string path = std::filesystem::weakly_canonical(folder, ec).string();
    if (ec)
        path = folder;
    return path == "/usr" || path.rfind("/usr/", 0) == 0;
}

} // namespace

std::string UserCatalogueFolder()
{
    const std::string data = AppFolder(QStandardPaths::GenericDataLocation);
    return data.empty() ? data : data + "QUV/";
}

std::string UserConfigFolder()
{
    return AppFolder(QStandardPaths::GenericConfigLocation);
}

bool HasDataFiles(const std::string& folder)
{
    if (folder.empty())
        return false;
    std::vector<std::string> names;
    ListFiles(WithSlash(folder) + "*.quv", names);
    return !names.empty();
}

std::string ChooseCatalogueFolder(const std::string& beside, const std::string& user)
{
    if (!HasDataFiles(beside) && HasDataFiles(user))
        return WithSlash(user);
    return WithSlash(beside);
}

std::string ChooseSettingsFolder(const std::string& programFolder, const std::string& userConfig)
{
    const std::string program = WithSlash(programFolder);
    const bool writable = !program.empty() && access(program.c_str(), W_OK) == 0;
    if ((writable && !UnderUsr(program)) || userConfig.empty())
        return program;
    std::error_code ec;
    // A failure shows later, when the write names the settings file it could not create.
    std::filesystem::create_directories(userConfig, ec);
    return WithSlash(userConfig);
}

} // namespace quv
