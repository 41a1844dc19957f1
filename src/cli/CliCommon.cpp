#include "CliCommon.h"

#include "MetricsCommand.h"
#include "PatternCommands.h"
#include "catalogue/QuvLib.h"
#include "catalogue/UserFolders.h"

#include <QGuiApplication>

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace quv {

std::string DefaultCatalogueFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return "QUV/";
    return AntennaFolder(exe.parent_path().string());
}

bool TakeCatalogueOption(std::vector<std::string>& args, std::string& folder, std::string& error)
{
    // The same choice as the window: the user's catalogue when the one beside us holds no file.
    folder = ChooseCatalogueFolder(DefaultCatalogueFolder(), UserCatalogueFolder());
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--catalogue")
            continue;
        if (i + 1 >= args.size()) {
            error = "--catalogue needs a folder";
            return false;
        }
        folder = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        break;
    }
    return true;
}

bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value,
                std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != name)
            continue;
        if (i + 1 >= args.size()) {
            error = name + " needs a value";
            return false;
        }
        value = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        return true;
    }
    return true;
}

int LoadCatalogueForTool(const std::string& folder, bool reportFailures)
{
    const TLoadReport report = LoadCatalogueFolder(folder);
    if (reportFailures)
        for (const auto& f : report.failures)
            std::cout << f.name << ": " << f.message << "\n";
    return static_cast<int>(report.failures.size());
}

int CheckCommand(const std::vector<std::string>& argsIn)
{
    std::vector<std::string> args = argsIn;
    const bool strict = std::erase(args, std::string("--strict")) > 0;
    const bool json = std::erase(args, std::string("--json")) > 0;
    std::string folder, error;
    const bool catalogueGiven =
        std::find(args.begin(), args.end(), std::string("--catalogue")) != args.end();
    if (!TakeCatalogueOption(args, folder, error) ||
        (!args.empty() && (!strict || catalogueGiven)) || (json && args.empty())) {
        std::cerr << (!error.empty() ? error
                      : args.empty() ? std::string("--json needs pattern files")
                                     : "unexpected argument: " + args.front())
                  << "\n"
                  << "usage: quvtool check [--strict] [--catalogue DIR]\n"
                     "       quvtool check --strict [--json] FILE...\n";
        return 2;
    }
    if (!args.empty())
        return CheckPatternFilesCommand(args, json);
    const TLoadReport report = LoadCatalogueFolder(folder);
    for (const auto& f : report.failures)
        std::cout << f.name << ": " << f.message << "\n";
    const int findings = strict ? ReportCatalogueFindings(std::cout) : 0;
    std::cout << report.loaded << " loaded, " << report.failures.size() << " failed";
    if (strict)
        std::cout << ", " << findings << " suspicious";
    std::cout << "\n";
    return report.failures.empty() && findings == 0 ? 0 : 1;
}

TQuvFile* FindPart(const std::string& part)
{
    for (const auto& item : Catalogue)
        if (item.text == part)
            return item.object;
    return nullptr;
}

void EnsureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quvtool";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends; destroying Qt from static destructors is not safe.
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

} // namespace quv
