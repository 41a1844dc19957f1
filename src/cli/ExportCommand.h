// quvtool export: the window's export of all matches without the window.
#pragma once

#include <string>
#include <vector>

namespace quv {

// export [--catalogue DIR] --format NAME|INDEX --out DIR [FILTER]. Exports every match (the
// whole catalogue without FILTER) like "Export Antenna Matches"; prints the error log to stderr
// and returns 1 when an antenna failed, 2 for a usage error, 0 when every file was written.
int ExportCommand(const std::vector<std::string>& args);

} // namespace quv
