// quvtool: the command-line companion of QUV Select. Each command loads the catalogue folder
// with the same core code as the window and prints or writes what the window would show.
#include "cli/CliCommon.h"
#include "cli/ExportCommand.h"
#include "cli/ListCommand.h"
#include "cli/PlotCommand.h"
#include "cli/Synth.h"

#include <iostream>
#include <string>
#include <vector>

static void PrintUsage(std::ostream& out = std::cerr)
{
    out << "usage: quvtool COMMAND [OPTIONS]\n"
                 "       quvtool --help | --version\n"
                 "commands:\n"
                 "  check [--catalogue DIR]                     load every data file, report failures\n"
                 "  synth --count N --seed S --out DIR          write a synthetic catalogue\n"
                 "  list [--catalogue DIR] FILTER               print the antenna list of a filter\n"
                 "  export [--catalogue DIR] --format NAME|INDEX --out DIR [FILTER]\n"
                 "                                              export every match into one folder\n"
                 "  show [--catalogue DIR] PARTNUMBER           print an antenna's specification grid\n"
                 "  plot [--catalogue DIR] --part P ... --cut azimuth|elevation [--field]\n"
                 "       [--size PIXELS] [--rotate A1,A2,...] --out FILE.png   draw a polar plot\n";
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintUsage();
        return 2;
    }
    const std::string command = argv[1];
    if (command == "--help" || command == "-h") {
        PrintUsage(std::cout);
        return 0;
    }
    if (command == "--version") {
        std::cout << "quvtool " QUV_VERSION "\n";
        return 0;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "check")
        return quv::CheckCommand(args);
    if (command == "plot")
        return quv::PlotCommand(args);
    if (command == "synth")
        return quv::SynthCommand(args);
    if (command == "list")
        return quv::ListCommand(args);
    if (command == "export")
        return quv::ExportCommand(args);
    if (command == "show")
        return quv::ShowCommand(args);
    PrintUsage();
    return 2;
}
