// "quvtool xref": ranks the catalogue against another maker's pattern file and prints one
// tab-separated row per candidate, best first.
#pragma once

#include <string>
#include <vector>

namespace quv {

// args are the words after "xref". Returns 0 on success (also when every antenna had to be a
// candidate, which is said on stderr), 1 when the file cannot be read, 2 on a usage error.
int XrefCommand(const std::vector<std::string>& args);

} // namespace quv
