// quvtool check: loads every data file of a catalogue folder and reports the ones that fail, with
// --strict also the suspicious cuts and datasheet values; or checks other makers' pattern files.
#pragma once

#include <string>
#include <vector>

namespace quv {

// check [--strict] [--catalogue DIR] | check --strict [--json] FILE... Returns 0 when every file
// loaded without a finding, 1 otherwise, 2 for a usage error.
int CheckCommand(const std::vector<std::string>& args);

} // namespace quv
