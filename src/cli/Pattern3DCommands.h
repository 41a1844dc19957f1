// "quvtool pattern3d" and "quvtool footprint": an antenna's pattern in every direction (CSV in
// the grid simulators import, PNG of the 3D view) and where its beam lands on flat ground from a
// mast (CSV of level against distance per antenna, PNG of the lines and the map).
#pragma once

#include <string>
#include <vector>

namespace quv {

// args are the words after the command. Both return 0 on success; 1 when a part is unknown, its
// levels are not numbers or a file cannot be written (nothing is written then); 2 on a usage
// error.
int Pattern3DCommand(const std::vector<std::string>& args);
int FootprintCommand(const std::vector<std::string>& args);

} // namespace quv
