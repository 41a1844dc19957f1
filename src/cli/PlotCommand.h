// "quvtool plot": the pattern window's plot of up to four antennas, drawn by the same renderer on
// a white bitmap of a square paint box and saved as PNG.
#pragma once

#include <string>
#include <vector>

namespace quv {

// args are the words after "plot". Returns 0 on success, 1 when an antenna is unknown, its
// points are not numbers or the file cannot be written, 2 on a usage error.
int PlotCommand(const std::vector<std::string>& args);

} // namespace quv
