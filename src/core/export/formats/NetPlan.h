// NetPlan, ".h" and ".v": a "key = value" header and ten "%6.2f" levels to a line, 43 lines each.
// Both files are committed together or not at all.
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"

#include <string>

namespace quv {

struct TNetPlanFiles {
    std::string horizontal; // ".h"
    std::string vertical;   // ".v"
};
TNetPlanFiles BuildNetPlan(const std::string& path, const TQuvFile& record);
void ExportNetPlan(const std::string& path, const TQuvFile& record, TExportRun& run);
extern const TFileFormat kNetPlanFormat;

} // namespace quv
