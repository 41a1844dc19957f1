// GRANET, ".pat": keyword header, both cuts from -180 to 179 degrees in dBd, 741 lines. Dated:
// "today" is an argument, so building stays pure.
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"

#include <string>

namespace quv {

std::string BuildGranet(const std::string& path, const TQuvFile& record, const TExportDate& today);
void ExportGranet(const std::string& path, const TQuvFile& record, TExportRun& run);
extern const TFileFormat kGranetFormat;

} // namespace quv
