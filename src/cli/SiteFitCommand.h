// "quvtool sitefit": ranks the catalogue for a site (mast height, cell radius, sector) and prints
// the best antennas with their recommended mechanical tilt as a table; --csv writes every
// antenna, those that could not be ranked last with the reason.
#pragma once

#include <string>
#include <vector>

namespace quv {

// args are the words after "sitefit". Returns 0 on success, 1 when the catalogue folder holds no
// data file or the CSV file cannot be written, 2 on bad usage or an impossible site (nothing is
// written then).
int SiteFitCommand(const std::vector<std::string>& args);

} // namespace quv
