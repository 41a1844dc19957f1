// TIA/EIA, ".dap": the NSMA content with "KEYWORD,value" lines and "PCDATA," points, 771 lines.
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"

#include <string>

namespace quv {

std::string BuildTiaEia(const std::string& path, const TQuvFile& record);
void ExportTiaEia(const std::string& path, const TQuvFile& record, TExportRun& run);
extern const TFileFormat kTiaEiaFormat;

} // namespace quv
