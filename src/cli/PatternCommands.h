// quvtool import, convert and check on other makers' pattern files.
#pragma once

#include <string>
#include <vector>

namespace quv {

// import --out DIR [--replace] FILE_OR_FOLDER...: one data file per pattern; one line per file,
// then a count. Returns 1 when any file failed, 2 for a usage error.
int ImportCommand(const std::vector<std::string>& args);

// convert --format NAME|INDEX --out DIR [--date YYYY-MM-DD] FILE_OR_FOLDER...
int ConvertCommand(const std::vector<std::string>& args);

// check --strict [--json] FILE...: the findings of each pattern file. Returns 1 when any file
// failed or has a finding.
int CheckPatternFilesCommand(const std::vector<std::string>& files, bool json);

} // namespace quv
