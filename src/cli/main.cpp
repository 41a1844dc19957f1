// quvtool: the command-line companion of QUV Select. Each command loads the catalogue folder
// with the same core code as the window and prints or writes what the window would show.
#include "CheckCommand.h"
#include "ExportCommand.h"
#include "ListCommand.h"
#include "MetricsCommand.h"
#include "Pattern3DCommands.h"
#include "PatternCommands.h"
#include "PlotCommand.h"
#include "PrintCommand.h"
#include "SiteFitCommand.h"
#include "Synth.h"
#include "XrefCommand.h"

#include <iostream>
#include <string>
#include <vector>

static void PrintUsage(std::ostream& out = std::cerr)
{
    out << "usage: quvtool COMMAND [OPTIONS]\n"
           "       quvtool --help | --version\n"
           "commands:\n"
           "  check [--catalogue DIR]                     load every data file, report failures\n"
           "  check --strict [--catalogue DIR]            also report suspicious cuts and "
           "datasheet values\n"
           "  check --strict [--json] FILE...             check other makers' pattern files\n"
           "  import --out DIR [--replace] FILE_OR_FOLDER...\n"
           "                                              pattern files into catalogue data "
           "files\n"
           "  convert --format NAME|INDEX --out DIR [--date YYYY-MM-DD] FILE_OR_FOLDER...\n"
           "                                              pattern files into an export format\n"
           "  synth --count N --seed S --out DIR          write a synthetic catalogue\n"
           "  list [--catalogue DIR] FILTER               print the antenna list of a filter\n"
           "  export [--catalogue DIR] --format NAME|INDEX --out DIR [--date YYYY-MM-DD]\n"
           "         [FILTER]\n"
           "                                              export every match into one folder\n"
           "  show [--catalogue DIR] PARTNUMBER | --file NAME\n"
           "                                              print an antenna's specification grid\n"
           "  metrics [--catalogue DIR] [FILTER]          pattern metrics beside the datasheet, "
           "tab-separated\n"
           "  plot [--catalogue DIR] --part P ... [--file NAME ...] --cut azimuth|elevation\n"
           "       [--field] [--size PIXELS] [--rotate A1,A2,...] [--reference FILE]\n"
           "       --out FILE.png\n"
           "                                              draw a polar plot\n"
           "  pattern3d [--catalogue DIR] --part P | --file NAME\n"
           "       [--method auto|summing|bilinear|projection] [--mechanical-tilt M]\n"
           "       [--csv FILE] [--png FILE] [--size PIXELS] [--view AZ,EL]\n"
           "                                              the pattern in every direction\n"
           "  footprint [--catalogue DIR] --part P ... [--file NAME ...] [--height H]\n"
           "       [--method auto|summing|bilinear|projection] [--mechanical-tilt M]\n"
           "       [--azimuth A] [--radius R] [--slope DB_PER_DECADE] [--csv FILE] [--png FILE]\n"
           "                                              where the beam lands on the ground\n"
           "  print [--catalogue DIR] --part P ... [--file NAME ...]\n"
           "        [--job both|specs|patterns|space] [--date YYYY-MM-DD]\n"
           "        [--method auto|summing|bilinear|projection] [--height H]\n"
           "        [--mechanical-tilt M] [--radius R] [--slope DB_PER_DECADE] --pdf FILE.pdf\n"
           "                                              print sheets and pattern pages\n"
           "  summary [--catalogue DIR] --layout quv|antenna --out FILE\n"
           "                                              write a catalogue summary file\n"
           "  xref [--catalogue DIR] --reference FILE [--top N]\n"
           "                                              rank the antennas like another maker's\n"
           "  sitefit [--catalogue DIR] --height H --radius R [--sector DEG]\n"
           "          [--tilt-range MIN MAX] [--min-margin M] [--slope S] [--band BEGIN END]\n"
           "          [--top N] [--csv FILE]\n"
           "                                              rank the antennas for a site\n"
           "FILTER: --category N | --range BEGIN END | --part P | --match TEXT | --file NAME |\n"
           "        --multi [--freq B E] [--gain G1 G2] [--pol Single|Dual] [--tilt "
           "VALUE|Variable]\n"
           "P: a part number, or the list's text of a record that shares one; NAME: a data file's\n"
           "name in the catalogue folder. quvtool COMMAND --help shows a command's usage.\n";
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
    if (command == "import")
        return quv::ImportCommand(args);
    if (command == "convert")
        return quv::ConvertCommand(args);
    if (command == "plot")
        return quv::PlotCommand(args);
    if (command == "pattern3d")
        return quv::Pattern3DCommand(args);
    if (command == "footprint")
        return quv::FootprintCommand(args);
    if (command == "synth")
        return quv::SynthCommand(args);
    if (command == "list")
        return quv::ListCommand(args);
    if (command == "export")
        return quv::ExportCommand(args);
    if (command == "xref")
        return quv::XrefCommand(args);
    if (command == "sitefit")
        return quv::SiteFitCommand(args);
    if (command == "show")
        return quv::ShowCommand(args);
    if (command == "print")
        return quv::PrintCommand(args);
    if (command == "summary")
        return quv::SummaryCommand(args);
    if (command == "metrics")
        return quv::MetricsCommand(args);
    PrintUsage();
    return 2;
}
