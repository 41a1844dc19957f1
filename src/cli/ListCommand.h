// quvtool list and show: the antenna list and the specification grid of the window, as text.
#pragma once

#include "CliCommon.h"
#include "catalogue/QuvLib.h"

#include <string>
#include <vector>

namespace quv {

// Parses one FILTER of `quvtool list` (--category N | --range B E | --part P | --match T |
// --multi [--freq B E] [--gain G1 G2] [--pol Single|Dual] [--tilt VALUE|Variable]) and fills the
// catalogue's MatchList from its loaded Catalogue. Returns 0 when applied, 1 for a refused
// frequency range
// (`error` holds the window's message), 2 for a usage error (`error` says what is wrong).
// "--file NAME" keeps the one record of that data file; "--part" also takes the list's item text
// of a record sharing its part number.
int ApplyFilterArgs(TCatalogue& catalogue, std::vector<std::string> args, std::string& error);

// The FILTER options for TCommandOptions, and the filter's words as given, to hand to
// ApplyFilterArgs.
std::vector<TOptionSpec> FilterOptionSpecs();
std::vector<std::string> FilterWords(const TCommandOptions& options);

int ListCommand(const std::vector<std::string>& args);
int ShowCommand(const std::vector<std::string>& args);

} // namespace quv
